// The material request form: numbering, saving the ticked lines as one
// request, the WhatsApp message to the supplier and the printed purchase order.

#include "support/formfonts.h"
#include "support/inventorytest.h"
#include "support/materialrequestdata.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "widgets/tickcolumn.h"

#include "inventory/inventory_purchaseorder.h"
#include "inventory/materialrequeststore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace stockdata;
using testdata::count;
using testdata::exec;
using testdata::rows;

namespace {

const QString Supplier = "SHAH TRADERS";

// Seven stored lines of earlier requests.
void addSevenLines()
{
    for (int i = 1; i <= 7; ++i)
        addRequestLine({QString("MR/24-25/%1").arg(i, 3, 10, QChar('0')), "2025-01-10", "OLD", "Item " + QString::number(i)});
}

RequestLineInput line(const QString &item, const QString &qty, const QString &phone = QString())
{
    return {"Raw Material", item, qty, "kgs", phone};
}

// The form with the supplier chosen; its item list.
QTableWidget *chooseSupplier(inventory_purchaseorder *form, const QString &supplier = Supplier)
{
    child<QComboBox>(form, "supplier_combo")->setCurrentText(supplier);
    return child<QTableWidget>(form, "inventory_stock");
}

// Ticks row `row` with the order quantity typed as `qty`.
void order(QTableWidget *table, int row, const QString &qty)
{
    ticks(table)->setTicked(row, true);
    table->item(row, 6)->setText(qty);
}

} // namespace

class TestMaterialRequest : public InventoryTest
{
    Q_OBJECT

private slots:
    void requestNumbersCountStoredLines()
    {
        addSevenLines();

        const QDate may15(2025, 5, 15);
        RequestSaveOutcome first = saveMaterialRequestLines(
            Supplier, {line("Rod", "5", "9876543210"), line("Bolt", "2.5", "1111111111"), line("Nut", "1")}, may15);
        QCOMPARE(first.saved, 3);
        QCOMPARE(first.number, QString("MR/25-26/008"));
        // Every line under the one number, dated that day, "Open", with the
        // phone of the first ticked line.
        QCOMPARE(rows("SELECT po_number, po_date, supplier_name, supplier_phone, item_name, order_qty, status "
                      "FROM purchase_orders WHERE po_id > 7 ORDER BY po_id"),
                 QStringList({"MR/25-26/008|2025-05-15|SHAH TRADERS|9876543210|Rod|5|Open",
                              "MR/25-26/008|2025-05-15|SHAH TRADERS|9876543210|Bolt|2.5|Open",
                              "MR/25-26/008|2025-05-15|SHAH TRADERS|9876543210|Nut|1|Open"}));
        QCOMPARE(saveMaterialRequestLines(Supplier, {line("Rod", "1")}, may15).number, QString("MR/25-26/011"));

        // The year label turns on 1 April.
        QString number;
        QVERIFY(nextMaterialRequestNumber(QDate(2026, 3, 31), &number, nullptr));
        QCOMPARE(number, QString("MR/25-26/012"));
        QVERIFY(nextMaterialRequestNumber(QDate(2026, 4, 1), &number, nullptr));
        QCOMPARE(number, QString("MR/26-27/012"));
    }

    void failedSaveWritesNothing()
    {
        // A line the database refuses half way: the lines before it go too.
        exec("CREATE TRIGGER refuse BEFORE INSERT ON purchase_orders WHEN NEW.item_name = 'BAD' "
             "BEGIN SELECT RAISE(ABORT, 'line refused'); END");
        RequestSaveOutcome outcome = saveMaterialRequestLines(Supplier, {line("Rod", "5"), line("BAD", "1")},
                                                              QDate(2026, 5, 1));
        QCOMPARE(outcome.saved, -1);
        QVERIFY2(outcome.error.contains("line refused"), qPrintable(outcome.error));
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_orders"), 0);

        // Lines that cannot be counted give no number at all, never a second 001.
        exec("DROP TABLE purchase_orders");
        QString number, error;
        QVERIFY(!nextMaterialRequestNumber(QDate(2026, 5, 1), &number, &error));
        QVERIFY2(error.contains("no such table"), qPrintable(error));
        outcome = saveMaterialRequestLines(Supplier, {line("Rod", "5")}, QDate(2026, 5, 1));
        QCOMPARE(outcome.saved, -1);
        QVERIFY(!outcome.error.isEmpty());
    }

    void refusedQuantityBlocksTheSave_data()
    {
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("shown");
        const QString missing = "Error|Please enter order qty for all selected items!";
        const QString tooLarge = "Figure Too Large|Order Qty is too large: at most 999,999,999.999 (quantity)";
        QTest::newRow("zero") << "0" << missing;
        QTest::newRow("empty") << "" << missing;
        QTest::newRow("letters") << "abc" << missing;
        QTest::newRow("negative") << "-2" << missing;
        QTest::newRow("NaN") << "nan" << missing;
        QTest::newRow("infinity") << "inf" << missing;
        QTest::newRow("overflow") << "1e309" << tooLarge;
        QTest::newRow("too large to sum") << "1e15" << tooLarge;
        QTest::newRow("at the quantity bound") << "1000000000" << tooLarge;
        QTest::newRow("rounds to the bound") << "999999999.9995" << tooLarge;
        QTest::newRow("just over the bound") << "1000000000.001" << tooLarge;
    }

    void refusedQuantityBlocksTheSave()
    {
        QFETCH(QString, qty);
        QFETCH(QString, shown);
        addStockItem({"Hardware", Supplier, "Bolt", 5, "nos", "9876543210"});
        addStockItem({"Hardware", Supplier, "Rod", 5, "kgs", "9876543210"});

        auto *form = new inventory_purchaseorder;
        QTableWidget *table = chooseSupplier(form);
        order(table, 0, "4");
        order(table, 1, qty);
        click(form, "whatsapp_btn");
        QCOMPARE(env->desktop.lastShown(), shown);
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_orders"), 0);
        QVERIFY(env->desktop.openedUrls.isEmpty());
    }

    // Each row's check box carries its item's phone, and a request reads the
    // phone from the box of its first ticked row.
    void checkBoxesCarryThePhone()
    {
        addStockItem({"Hardware", Supplier, "Bolt", 5, "nos"});
        addStockItem({"Hardware", Supplier, "Rod", 5, "kgs", "9876543210"});
        auto *form = new inventory_purchaseorder;
        QTableWidget *table = chooseSupplier(form);
        QCOMPARE(ticks(table)->checkBox(0)->property("supplier_phone").toString(), QString());
        QCOMPARE(ticks(table)->checkBox(1)->property("supplier_phone").toString(), QString("9876543210"));
        ticks(table)->checkBox(1)->setProperty("supplier_phone", "9000000001");
        order(table, 1, "2");
        click(form, "whatsapp_btn");
        QCOMPARE(rows("SELECT item_name, supplier_phone FROM purchase_orders"), QStringList({"Rod|9000000001"}));
        QVERIFY(env->desktop.openedUrls.last().toEncoded().startsWith("https://wa.me/919000000001?"));
    }

    void whatsAppMessageGoesToTheFirstPhone()
    {
        setCompany("Morvel Coats");
        addStockItem({"Hardware", Supplier, "Bolt", 5, "nos"});
        addStockItem({"Hardware", Supplier, "Nut+Washer", 5, "nos", "9876543210"});
        addStockItem({"Hardware", Supplier, "Rod", 5, "kgs", "9876543210"});

        auto *form = new inventory_purchaseorder;
        QTableWidget *table = chooseSupplier(form);
        order(table, 0, "100");
        order(table, 2, "5.50");
        click(form, "whatsapp_btn");

        // The first ticked line has no phone: the message goes to the next
        // one's, while the saved lines carry the first line's empty phone.
        QCOMPARE(rows("SELECT item_name, order_qty, supplier_phone FROM purchase_orders ORDER BY po_id"),
                 QStringList({"Bolt|100|", "Rod|5.5|"}));
        const QString message = "Dear SHAH TRADERS,\n\nPlease supply the following items:\n\n"
                                "1) Bolt - 100 nos\n2) Rod - 5.50 kgs\n\nThank you.\nMorvel Coats";
        QCOMPARE(env->desktop.openedUrls.last().toEncoded(),
                 "https://wa.me/919876543210?text=" + QUrl::toPercentEncoding(message));
        QCOMPARE(env->desktop.lastShown(), QString("Success|PO saved and WhatsApp opened!"));

        // A "+" in the text is encoded, so it does not arrive as a blank.
        ticks(table)->setTicked(0, false);
        ticks(table)->setTicked(2, false);
        order(table, 1, "+3");
        click(form, "whatsapp_btn");
        QVERIFY(env->desktop.openedUrls.last().toEncoded().contains("1%29%20Nut%2BWasher%20-%20%2B3%20nos"));
    }

    void nothingTickedAndMissingPhone()
    {
        addStockItem({"Hardware", Supplier, "Bolt", 0.01, "nos"});
        addStockItem({"Hardware", Supplier, "Rod", 0, "kgs"});
        auto *form = new inventory_purchaseorder;
        QTableWidget *table = chooseSupplier(form);
        click(form, "whatsapp_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Please select at least one item!"));

        // Without a phone the request is saved, then the warning comes.
        order(table, 0, "3");
        click(form, "whatsapp_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString("WhatsApp|Supplier phone number not found!\nPlease add phone in Stock Entry."));
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_orders"), 1);
        QVERIFY(env->desktop.openedUrls.isEmpty());
    }

    void printedPurchaseOrder()
    {
        setCompany("Morvel & Sons", "02612345678");
        addStockItem({"Hardware", "A & B <TRADERS>", "Bolt <M8> & nut", 5, "nos"});

        auto *form = new inventory_purchaseorder;
        order(chooseSupplier(form, "A & B <TRADERS>"), 0, "12");
        click(form, "print_btn");
        QCOMPARE(count("SELECT COUNT(*) FROM purchase_orders"), 1);
        QCOMPARE(env->desktop.lastShown(), QString("Success|Purchase Order saved and printed!"));
        // Names print as typed, never as markup.
        const QString text = pdfText(env->desktop.previews.at(0).pdfPath).simplified();
        for (const QString &shown : QStringList{"MORVEL & SONS", "PURCHASE ORDER", "A & B <TRADERS>", "Bolt <M8> & nut",
                                     "Authorised Signatory", QDate::currentDate().toString("dd/MM/yyyy")})
            QVERIFY2(text.contains(shown), qPrintable(shown + " not in: " + text));
    }

    // Under the application's style sheet the form keeps its type: the item
    // list's headings, the supplier combo and its pop-up included.
    void formShowsItsFont()
    {
        ApplicationStyleInTest style;
        addStockItem({});
        auto *form = new inventory_purchaseorder;
        QCOMPARE(chooseSupplier(form)->rowCount(), 1);
        form->show();
        const QStringList wrong = widgetsNotShowing(form, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }
};

QTEST_MAIN(TestMaterialRequest)
#include "tst_materialrequest.moc"
