// The delivery challan generation window: the list with its statuses and
// filters, ticks kept to one customer, the hand-over to a new challan form,
// and Bin with its question and messages.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/financialyear.h"
#include "jobwork/deliverychallanlist.h"
#include "jobwork/generatedc.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QTableWidget>
#include <QSqlQuery>
#include <QtTest>

using namespace testdata;

namespace {

generateDC *openWindow()
{
    auto *window = new generateDC();
    window->show();
    return window;
}

QTableWidget *list(generateDC *w)
{
    return child<QTableWidget>(w, "gen_dc_table");
}

QCheckBox *box(generateDC *w, int row)
{
    QWidget *cell = list(w)->cellWidget(row, 0);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}

QString cell(generateDC *w, int row, int column)
{
    return tableCell(list(w), row, column);
}

// The "Inward No" column top down.
QStringList shown(generateDC *w)
{
    return columnTexts(list(w), 2);
}

int rowOf(generateDC *w, const QString &fullNumber)
{
    return int(shown(w).indexOf(fullNumber));
}

void tick(generateDC *w, const QString &fullNumber)
{
    const int row = rowOf(w, fullNumber);
    QVERIFY2(row >= 0, qPrintable(fullNumber));
    box(w, row)->click();
}

QList<deliveryChallanList *> challanForms()
{
    return topLevelWindows<deliveryChallanList>();
}

// (inward no, item code, qty) of each line of a challan form.
QStringList formLines(deliveryChallanList *form)
{
    auto *table = child<QTableWidget>(form, "qtyEditing_Table");
    QStringList lines;
    for (int r = 0; r < table->rowCount(); ++r)
        lines << table->item(r, 9)->text() + " " + table->item(r, 4)->text() + " " + table->item(r, 7)->text();
    return lines;
}

// Customers ACME and BOLT WORKS with entries of the current and an earlier year:
//   ACME 1/26-27: A 10 (challan 4), B 5 (bin 1)   Partial, balance 10
//   ACME 2/26-27: A 3                              Pending
//   ACME 3/26-27: A 2 (challan 2)                  Issued
//   BOLT 4/26-27: P 8                              Pending
//   ACME 5/25-26: A 6 (challan 1 of 25-26)         Partial
struct Firm
{
    int acme = 0;
    int bolt = 0;
    int a = 0;
    int b = 0;
    int p = 0;
};

Firm fillFirm()
{
    Firm f;
    f.acme = addCustomer("ACME");
    f.bolt = addCustomer("BOLT WORKS");
    f.a = addItem(f.acme, "A1", "BRACKET");
    f.b = addItem(f.acme, "B1", "FLANGE");
    f.p = addItem(f.bolt, "P1", "PIPE");
    addInward({1, "26-27", f.acme, f.a, 10, "2026-05-03", "CDC-7", "2026-05-01", "PO-77", "urgent"});
    addInward({1, "26-27", f.acme, f.b, 5, "2026-05-03", "CDC-7", "2026-05-01", "PO-77"});
    addInward({2, "26-27", f.acme, f.a, 3});
    addInward({3, "26-27", f.acme, f.a, 2});
    addInward({4, "26-27", f.bolt, f.p, 8});
    addInward({5, "25-26", f.acme, f.a, 6});
    addDelivery({1, "26-27", 1, f.acme, f.a, 4});
    addBin(1, "26-27", f.b, 1);
    addDelivery({2, "26-27", 3, f.acme, f.a, 2});
    addDelivery({1, "25-26", 5, f.acme, f.a, 1});
    return f;
}

} // namespace

class TestGenerateDc : public QObject
{
    Q_OBJECT

private slots:
    void init() { g_currentFY = "26-27"; }
    void listShowsBalancesAndStatuses();
    void radioButtonsAndFiltersChooseTheRows();
    void previewShowsTheRowsOwnEntry();
    void ticksKeepToOneCustomer();
    void ticksOfALongListSurviveScrolling();
    void proceedOpensAFormWithTheTickedBalances();
    void proceedRefusals();
    void binRefusesAnIssuedRow();
    void binClosesTheRestAfterTheQuestion();
};

void TestGenerateDc::listShowsBalancesAndStatuses()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    fillFirm();
    generateDC *w = openWindow();
    QCOMPARE(w->windowTitle(), QString("Generate Delivery Challan - Kestrova App"));
    QVERIFY(child<QRadioButton>(w, "radio_pending")->isChecked());
    QVERIFY(list(w)->isColumnHidden(1));

    QCOMPARE(shown(w), QStringList({"4/26-27", "2/26-27", "1/26-27", "5/25-26"}));
    const int row = rowOf(w, "1/26-27");
    // 15 received less a challan of 4 and a bin of 1.
    QCOMPARE(rowTexts(list(w), row).mid(1),
             QStringList({"1", "1/26-27", "03-05-2026", "CDC-7", "01-05-2026", "PO-77", "ACME", "10.000", "Partial"}));
    QCOMPARE(list(w)->item(row, 9)->background().color(), QColor("#fff3cd"));
    QCOMPARE(box(w, row)->property("inwardNo").toInt(), 1);
    QCOMPARE(box(w, row)->property("customerName").toString(), QString("ACME"));
    QCOMPARE(cell(w, rowOf(w, "2/26-27"), 9), QString("Pending"));
    QCOMPARE(list(w)->item(rowOf(w, "2/26-27"), 9)->background().color(), QColor("#f8d7da"));
    QCOMPARE(cell(w, rowOf(w, "5/25-26"), 8), QString("5.000"));
    for (int r = 0; r < list(w)->rowCount(); ++r)
        QVERIFY(box(w, r)->isEnabled());
}

void TestGenerateDc::radioButtonsAndFiltersChooseTheRows()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Firm f = fillFirm();
    generateDC *w = openWindow();

    click(w, "radio_issued");
    QCOMPARE(shown(w), QStringList({"3/26-27"}));
    QCOMPARE(cell(w, 0, 8), QString("0.000"));
    QCOMPARE(list(w)->item(0, 9)->background().color(), QColor("#d4edda"));
    QVERIFY(!box(w, 0)->isEnabled());

    click(w, "radio_all");
    QCOMPARE(shown(w), QStringList({"4/26-27", "3/26-27", "2/26-27", "1/26-27", "5/25-26"}));

    auto *combo = child<QComboBox>(w, "company_combo");
    QCOMPARE(combo->itemText(0), QString("-- All Companies --"));
    combo->setCurrentIndex(combo->findData(f.bolt));
    QCOMPARE(shown(w), QStringList({"4/26-27"}));
    combo->setCurrentIndex(0);

    child<QLineEdit>(w, "filter_codeEdit")->setText("flan");
    QCOMPARE(shown(w), QStringList({"1/26-27"}));
    child<QLineEdit>(w, "filter_codeEdit")->clear();

    click(w, "radio_pending");
    QCOMPARE(shown(w), QStringList({"4/26-27", "2/26-27", "1/26-27", "5/25-26"}));

    // Show reads what was written meanwhile.
    addDelivery({3, "26-27", 2, f.acme, f.a, 3});
    click(w, "show_btn");
    QCOMPARE(shown(w), QStringList({"4/26-27", "1/26-27", "5/25-26"}));
    QVERIFY(env.desktop.messages.isEmpty());

    // Shown again, the customers are read anew and the first entry is chosen.
    combo->setCurrentIndex(combo->findData(f.bolt));
    addCustomer("CARBON CO");
    w->hide();
    w->show();
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->count(), 4);
    QCOMPARE(list(w)->rowCount(), 3);
}

void TestGenerateDc::previewShowsTheRowsOwnEntry()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Firm f = fillFirm();
    const int z = addItem(f.acme, "Z9", "ZINC PLATE");
    addInward({1, "25-26", f.acme, z, 4}); // the same number in the earlier year
    generateDC *w = openWindow();
    auto *display = child<QTableWidget>(w, "display_table");

    list(w)->setCurrentCell(rowOf(w, "1/26-27"), 2);
    QCOMPARE(display->rowCount(), 2);
    QCOMPARE(rowTexts(display, 0), QStringList({"A1", "BRACKET", "10.000", "NOS", "urgent"}));
    QCOMPARE(display->item(1, 0)->text(), QString("B1"));

    list(w)->setCurrentCell(rowOf(w, "1/25-26"), 2);
    QCOMPARE(display->rowCount(), 1);
    QCOMPARE(display->item(0, 0)->text(), QString("Z9"));
}

void TestGenerateDc::ticksKeepToOneCustomer()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    fillFirm();
    generateDC *w = openWindow();
    click(w, "radio_all");
    const int bolt = rowOf(w, "4/26-27");
    const int issued = rowOf(w, "3/26-27");
    QVERIFY(!box(w, issued)->isEnabled());

    tick(w, "2/26-27");
    QVERIFY(!box(w, bolt)->isEnabled());
    QVERIFY(box(w, issued)->isEnabled()); // the chosen customer's issued row
    QVERIFY(box(w, rowOf(w, "5/25-26"))->isEnabled());

    // A second customer's row cannot be ticked.
    box(w, bolt)->click();
    QVERIFY(!box(w, bolt)->isChecked());

    tick(w, "2/26-27"); // untick the last box
    for (int r = 0; r < list(w)->rowCount(); ++r)
        QVERIFY(box(w, r)->isEnabled());

    // Any reload clears the ticks.
    tick(w, "4/26-27");
    QVERIFY(!box(w, rowOf(w, "2/26-27"))->isEnabled());
    click(w, "show_btn");
    for (int r = 0; r < list(w)->rowCount(); ++r)
        QVERIFY(!box(w, r)->isChecked());
}

void TestGenerateDc::ticksOfALongListSurviveScrolling()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int acme = addCustomer("ACME");
    const int bolt = addCustomer("BOLT WORKS");
    const int a = addItem(acme, "A1", "BRACKET");
    const int p = addItem(bolt, "P1", "PIPE");
    QSqlDatabase::database().transaction();
    for (int n = 1; n <= 600; ++n)
        addInward({n, "26-27", acme, a, double(n)});
    QSqlDatabase::database().commit();
    addInward({601, "26-27", bolt, p, 5});
    generateDC *w = openWindow();
    QTableWidget *table = list(w);
    QCOMPARE(table->rowCount(), 601);
    QCOMPARE(cell(w, 0, 7), QString("BOLT WORKS"));

    tick(w, "600/26-27");
    QVERIFY(!box(w, 0)->isEnabled());
    table->scrollToBottom();
    QVERIFY(!box(w, 0)); // far above the view
    QCOMPARE(cell(w, 600, 2), QString("1/26-27"));
    QVERIFY(box(w, 600)->isEnabled());
    box(w, 600)->click();

    table->scrollToTop();
    QVERIFY(!box(w, 0)->isEnabled());
    QVERIFY(box(w, 1)->isChecked());
    QVERIFY(!box(w, 600));

    click(w, "proced_del_btn");
    QCOMPARE(challanForms().size(), 1);
    QCOMPARE(formLines(challanForms().first()), QStringList({"600 A1 600.000", "1 A1 1.000"}));

    // Unticking both frees every row again, on screen or not.
    box(w, 1)->click();
    QVERIFY(!box(w, 0)->isEnabled());
    table->scrollToBottom();
    box(w, 600)->click();
    table->scrollToTop();
    QVERIFY(box(w, 0)->isEnabled());
}

void TestGenerateDc::proceedOpensAFormWithTheTickedBalances()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const Firm f = fillFirm();
    addInward({6, "26-27", f.acme, f.b, 9}); // not ticked
    generateDC *w = openWindow();
    tick(w, "2/26-27");
    tick(w, "1/26-27");

    click(w, "proced_del_btn");
    QVERIFY(env.desktop.messages.isEmpty());
    QList<deliveryChallanList *> forms = challanForms();
    QCOMPARE(forms.size(), 1);
    deliveryChallanList *form = forms.first();
    QVERIFY(form->isVisible());
    QVERIFY(!form->parent());
    QCOMPARE(child<QLineEdit>(form, "companyNameEdit")->text(), QString("ACME"));
    // Entry 1 lends what is left after its challan and its bin, entry 2 all of it.
    QCOMPARE(formLines(form), QStringList({"2 A1 3.000", "1 A1 6.000", "1 B1 4.000"}));

    // Every press opens another form; the list stays as it was.
    click(w, "proced_del_btn");
    QCOMPARE(challanForms().size(), 2);
    QVERIFY(box(w, rowOf(w, "1/26-27"))->isChecked());
}

void TestGenerateDc::proceedRefusals()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    fillFirm();
    generateDC *w = openWindow();

    click(w, "proced_del_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.lastShown(), QString("Error|Please select at least one DC using checkbox!"));

    // An earlier year's entry cannot go to the form, which works in the current year.
    tick(w, "1/26-27");
    tick(w, "5/25-26");
    click(w, "proced_del_btn");
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(env.desktop.lastMessage().title, QString("Error"));
    QVERIFY2(env.desktop.lastMessage().text.contains("5/25-26"), qPrintable(env.desktop.lastMessage().text));
    QVERIFY(env.desktop.lastMessage().text.contains("26-27"));
    QVERIFY(challanForms().isEmpty());

    // Logged in to that year, the same entry goes through.
    g_currentFY = "25-26";
    click(w, "show_btn");
    QCOMPARE(shown(w).first(), QString("5/25-26"));
    tick(w, "5/25-26");
    click(w, "proced_del_btn");
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(challanForms().size(), 1);
    QCOMPARE(formLines(challanForms().first()), QStringList({"5 A1 5.000"}));
}

void TestGenerateDc::binRefusesAnIssuedRow()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    fillFirm();
    generateDC *w = openWindow();

    click(w, "bin_btn");
    QCOMPARE(env.desktop.lastShown(), QString("Error|Select at least one row to bin!"));

    click(w, "radio_all");
    tick(w, "2/26-27");
    tick(w, "3/26-27"); // issued; enabled by the tick of its customer's row
    click(w, "bin_btn");
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.lastShown(), QString("Error|Row is already fully issued!"));
    QCOMPARE(count("SELECT COUNT(*) FROM bins"), 1); // the fixture's own bin only
}

void TestGenerateDc::binClosesTheRestAfterTheQuestion()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ACME");
    const int a = addItem(c, "A1", "BRACKET");
    addInward({8, "26-27", c, a, 10});
    addDelivery({1, "26-27", 8, c, a, 4});
    addInward({8, "25-26", c, a, 5}); // the same number in an earlier year stays open
    generateDC *w = openWindow();
    QCOMPARE(shown(w), QStringList({"8/26-27", "8/25-26"}));

    tick(w, "8/26-27");
    env.desktop.messageAnswers.enqueue(QMessageBox::No);
    click(w, "bin_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Question);
    QCOMPARE(env.desktop.lastShown(),
             QString::fromUtf8("Confirm Bin|Close pending balance for selected inward(s)?\n\n\u2022 Pending qty will be "
                               "zeroed out\n\u2022 No invoice or DC numbers used\n\u2022 Inward entries stay unchanged\n"
                               "\u2022 This cannot be undone"));
    QCOMPARE(env.desktop.lastMessage().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(count("SELECT COUNT(*) FROM bins"), 0);

    env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
    click(w, "bin_btn");
    QCOMPARE(env.desktop.messages.size(), 3);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Information);
    QCOMPARE(env.desktop.lastShown(), QString("Binned|Pending balance closed successfully!"));
    QCOMPARE(rows("SELECT bin_type, inward_no, item_id, customer_id, binned_qty, fy_name, bin_date, delivery_no FROM bins"),
             QStringList{QString("DC|8|%1|%2|6|26-27|%3|").arg(a).arg(c).arg(QDate::currentDate().toString("yyyy-MM-dd"))});

    // The list was reloaded: the entry left the pending list and shows Issued.
    QCOMPARE(shown(w), QStringList({"8/25-26"}));
    click(w, "radio_issued");
    QCOMPARE(shown(w), QStringList({"8/26-27"}));
    QCOMPARE(cell(w, 0, 9), QString("Issued"));

    // An earlier year's entry may be binned; it closes in its own year.
    click(w, "radio_pending");
    tick(w, "8/25-26");
    env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
    click(w, "bin_btn");
    QCOMPARE(env.desktop.lastMessage().title, QString("Binned"));
    QCOMPARE(value("SELECT binned_qty FROM bins WHERE fy_name = '25-26'").toDouble(), 5.0);
    QVERIFY(shown(w).isEmpty());
}

QTEST_MAIN(TestGenerateDc)
#include "tst_generatedc.moc"
