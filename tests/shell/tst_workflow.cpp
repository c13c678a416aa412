// The job-work chain as an office user walks it, through the real windows:
// log in, open the sales window, add a customer and an item, record material
// received, turn it into a delivery challan, save and print the challan, and
// see it in the despatch report and the customer's lists.

#include "support/appwalk.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "jobwork/deliverychallanlist.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/generatedc.h"
#include "jobwork/inwardentry.h"
#include "sales/customermaster.h"
#include "sales/itemmaster.h"
#include "sales/saleswindow.h"
#include "shell/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

namespace {

void choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    if (index < 0)
        qFatal("no entry %s", qPrintable(text));
    combo->setCurrentIndex(index);
}

QString single(const QString &sql)
{
    QSqlQuery q;
    return q.exec(sql) && q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}

} // namespace

class TestWorkflow : public QObject
{
    Q_OBJECT

private slots:
    void materialInChallanOut();
};

void TestWorkflow::materialInChallanOut()
{
    if (QStandardPaths::findExecutable("wkhtmltoimage").isEmpty())
        QSKIP("wkhtmltoimage is not installed");

    TestEnvironment env;
    auto *main = new MainWindow;
    SalesWindow *sales = logInToSales(main);
    QVERIFY(sales);
    QCOMPARE(g_currentFY, QStringLiteral("26-27"));

    // Masters.
    trigger(sales, "actionCustomer_Master");
    auto *customers = onlyWindow<CustomerMaster>();
    child<QLineEdit>(customers, "customerName_edit")->setText("Shah & Sons, Vapi");
    child<QLineEdit>(customers, "gstEdit")->setText("24AABCS1234F1Z5");
    click(customers, "add_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));

    trigger(sales, "actionItem_Master");
    auto *items = onlyWindow<itemmaster>();
    choose(child<QComboBox>(items, "searchCombo"), "SHAH & SONS, VAPI");
    child<QLineEdit>(items, "codeEdit")->setText("FL-50");
    child<QLineEdit>(items, "nameEdit")->setText("Flange 50 mm");
    child<QLineEdit>(items, "rate_edit")->setText("12.5");
    choose(child<QComboBox>(items, "uom_combo"), "KGS");
    click(items, "add_btn");
    QCOMPARE(env.desktop.lastShown(), QStringLiteral("Success|Item added successfully!"));

    // Material received.
    trigger(sales, "actionCreate_Inward");
    auto *inward = onlyWindow<inwardentry>();
    QCOMPARE(child<QLineEdit>(inward, "inwnoEdit")->text(), QStringLiteral("1/26-27"));
    choose(child<QComboBox>(inward, "company_combo"), "SHAH & SONS, VAPI");
    child<QLineEdit>(inward, "dcnoEdit")->setText("CDC-9");
    QLineEdit *search = child<QLineEdit>(inward, "search_combo");
    search->setText("fl-5");
    QTest::keyClick(search, Qt::Key_Down);
    QTest::keyClick(search, Qt::Key_Return);
    child<QLineEdit>(inward, "qtyEdit")->setText("12.5");
    click(inward, "add_btn");
    click(inward, "save_btn");
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Success"));
    QCOMPARE(single("SELECT inward_no_full || ' ' || inward_qty || ' ' || dc_no FROM inward_entries"),
             QStringLiteral("1/26-27 12.5 CDC-9"));

    // The pending line becomes a challan.
    trigger(sales, "actionCreate_Delivery_Challan");
    auto *generation = onlyWindow<generateDC>();
    QTableWidget *pending = child<QTableWidget>(generation, "gen_dc_table");
    QCOMPARE(pending->rowCount(), 1);
    QCOMPARE(rowTexts(pending, 0).mid(2), QStringList({"1/26-27", QDate::currentDate().toString("dd-MM-yyyy"), "CDC-9",
                                                      QDate::currentDate().toString("dd-MM-yyyy"), "",
                                                      "SHAH & SONS, VAPI", "12.500", "Pending"}));
    pending->cellWidget(0, 0)->findChild<QCheckBox *>()->click();
    click(generation, "proced_del_btn");
    auto *challan = onlyWindow<deliveryChallanList>();
    QTableWidget *lines = child<QTableWidget>(challan, "qtyEditing_Table");
    QCOMPARE(lines->rowCount(), 1);
    QCOMPARE(tableCell(lines, 0, 7), QStringLiteral("12.500"));
    lines->item(0, 7)->setText("10");

    env.desktop.clear();
    click(challan, "save_btn");
    QCOMPARE(env.desktop.messages.first().text, QStringLiteral("Delivery Challan 1/26-27 saved successfully!"));
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews.first().title, QStringLiteral("DC Preview - 1"));
    QCOMPARE(env.desktop.previews.first().pageCount, 1);
    QCOMPARE(single("SELECT delivery_no_full || ' ' || delivery_qty || ' ' || inward_no FROM delivery_entries"),
             QStringLiteral("1/26-27 10.0 1"));

    // What is left shows as partly delivered, and the despatch report agrees.
    generation->hide();
    generation->show();
    QCOMPARE(rowTexts(pending, 0).mid(8), QStringList({"2.500", "Partial"}));
    trigger(sales, "actionDespatch_Details");
    auto *despatch = onlyWindow<despatchdetails>();
    QTableWidget *report = child<QTableWidget>(despatch, "despatch_details_table");
    QCOMPARE(report->rowCount(), 1);
    QCOMPARE(rowTexts(report, 0).mid(8),
             QStringList({"1/26-27", "12.500", "10.000", "2.500"}));
}

QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"
