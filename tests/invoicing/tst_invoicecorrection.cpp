// The invoice form's mini list: load back, update, cancel, delete and print
// of a saved invoice, each by the row's number and year.

#include "support/invoicefirm.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "invoicing/invoicesandlist.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

using namespace testdata;

class TestInvoiceCorrection : public QObject
{
    Q_OBJECT

private:
    QTableWidget *miniList() const { return child<QTableWidget>(form, "viewing_table"); }
    QTableWidget *items() const { return child<QTableWidget>(form, "invoice_table"); }
    // Right-clicks the list row showing `fullNumber` and chooses "↩ Load Back".
    void loadBack(const QString &fullNumber)
    {
        const int row = columnTexts(miniList(), 1).indexOf(fullNumber);
        QVERIFY2(row >= 0, qPrintable(fullNumber));
        const QPoint pos = miniList()->visualItemRect(miniList()->item(row, 1)).center();
        QMetaObject::invokeMethod(form, "onInvoiceListContextMenu", Q_ARG(QPoint, pos));
    }
    // A saved invoice billing `qty` of item A-18 of challan 1/26-27 (or of `challan`).
    int savedInvoice(int no, const QString &fy, double qty, int challan = 1, const QString &challanFy = "26-27")
    {
        const int id = addInvoice({no, fy, "2026-08-01", firm.local, qty * 118});
        addInvoiceLine(id, challan, firm.rate18, challanFy, qty);
        return id;
    }

    TestEnvironment *env = nullptr;
    InvoiceFirm firm;
    invoicesandlist *form = nullptr;

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openInvoiceFirm(*env, &firm));
        recordLoadBackMenus();
    }

    void cleanup()
    {
        delete form;
        form = nullptr;
        delete env;
        env = nullptr;
    }

    void listOrderAndColours()
    {
        savedInvoice(9, "25-26", 1);
        savedInvoice(2, "26-27", 1);
        savedInvoice(5, "26-27", 1);
        addInvoice({3, "26-27", "2026-04-10", firm.interstate, 50, 1});
        form = new invoicesandlist;
        QCOMPARE(columnTexts(miniList(), 1), QStringList({"5/26-27", "3/26-27", "2/26-27", "9/25-26"}));
        QCOMPARE(rowTexts(miniList(), 1), QStringList({"3", "3/26-27", "10-04-2026", "Beta Interstate", "50.00"}));
        QCOMPARE(miniList()->item(1, 3)->foreground().color(), QColor(150, 150, 150));
        QCOMPARE(miniList()->item(1, 4)->background().color(), QColor(230, 230, 230));

        // Show applies the period (both ends inclusive); Reset shows every date again.
        child<QDateEdit>(form, "fromdateEdit")->setDate(QDate(2026, 4, 10));
        child<QDateEdit>(form, "todateEdit")->setDate(QDate(2026, 4, 10));
        click(form, "show_btn");
        QCOMPARE(columnTexts(miniList(), 1), QStringList({"3/26-27"}));
        click(form, "reset_btn");
        QCOMPARE(miniList()->rowCount(), 4);

        // A cancelled invoice is not loaded.
        loadBack("3/26-27");
        QCOMPARE(env->desktop.lastShown(), QString("Cancelled|This invoice is cancelled — cannot load."));
        QCOMPARE(child<QLineEdit>(form, "invnoEdit")->text(), QString());
    }

    void loadBackBalances()
    {
        // Challan 1/26-27 delivered 10 of A-18. Loaded: 4/26-27 with 3. Others:
        // 4/25-26 with 2 (same number, other year), an invoice whose flag is NULL
        // with 1, a line of challan 1 of 25-26 and a cancelled invoice's line.
        savedInvoice(4, "26-27", 3);
        savedInvoice(4, "25-26", 2);
        const int nullFlag = savedInvoice(6, "26-27", 1);
        exec("UPDATE invoices SET is_deleted = NULL WHERE invoice_id = " + QString::number(nullFlag));
        savedInvoice(7, "26-27", 4, 1, "25-26");
        const int cancelled = savedInvoice(8, "26-27", 4);
        exec("UPDATE invoices SET is_deleted = 1 WHERE invoice_id = " + QString::number(cancelled));
        addInvoiceBin(1, "26-27", firm.rate18, 0.5);
        exec("UPDATE invoices SET remarks = 'PO-77', is_abstract = 0 WHERE invoice_no = 4 AND fy_name = '26-27'");

        form = new invoicesandlist;
        loadBack("4/26-27");
        QCOMPARE(rowTexts(items(), 0), QStringList({"1/26-27", "01-06-2026", "A-18", "Anodised bracket", "998873", "3.000",
                                                    "NOS", "10.000", "30.00", QString::number(firm.rate18), "1", "6.500"}));
        QCOMPARE(child<QLineEdit>(form, "customerNameEdit")->text(), QString("Acme Local"));
        QCOMPARE(child<QLineEdit>(form, "cpoEdit")->text(), QString("PO-77"));
        QCOMPARE(child<QLineEdit>(form, "netTotalEdit")->text(), QString("35.00"));

        items()->item(0, 5)->setText("7");
        QCOMPARE(env->desktop.lastShown(), QString("Qty Exceeds|Invoice qty cannot exceed uninvoiced balance (6.500)!"));
    }

    void loadBackTwoLinesOfOneItem_data()
    {
        QTest::addColumn<QList<double>>("delivered"); // A-18 lines of challan 3/26-27
        QTest::addColumn<double>("other");            // A-18 billed by invoice 5/26-27 (0: none)
        QTest::addColumn<QList<double>>("loaded");    // A-18 lines of 4/26-27
        QTest::addColumn<QStringList>("balances");
        const QList<double> tenAndFive{10, 5};
        QTest::newRow("both lines") << tenAndFive << 0.0 << QList<double>{10, 5} << QStringList{"10.000", "5.000"};
        QTest::newRow("another took 3") << tenAndFive << 3.0 << QList<double>{7, 5} << QStringList{"7.000", "5.000"};
        QTest::newRow("second line alone") << tenAndFive << 10.0 << QList<double>{5} << QStringList{"5.000"};
        QTest::newRow("on the line that holds it") << QList<double>{2, 10} << 2.0 << QList<double>{10}
                                                   << QStringList{"10.000"};
    }

    // A challan with two lines of A-18: each loaded line may bill its own line's
    // balance, never the item's whole quantity.
    void loadBackTwoLinesOfOneItem()
    {
        QFETCH(QList<double>, delivered);
        QFETCH(double, other);
        QFETCH(QList<double>, loaded);
        QFETCH(QStringList, balances);
        for (double qty : delivered)
            addDelivery({3, "26-27", 1, firm.local, firm.rate18, qty});
        const int id = addInvoice({4, "26-27", "2026-08-01", firm.local});
        for (double qty : loaded)
            addInvoiceLine(id, 3, firm.rate18, "26-27", qty);
        if (other > 0)
            savedInvoice(5, "26-27", other, 3);

        form = new invoicesandlist;
        loadBack("4/26-27");
        QCOMPARE(columnTexts(items(), 11), balances);
        const int last = items()->rowCount() - 1;
        items()->item(last, 5)->setText("15");
        QCOMPARE(env->desktop.lastShown(),
                 "Qty Exceeds|Invoice qty cannot exceed uninvoiced balance (" + balances.last() + ")!");
    }

    // A loaded invoice raised to what another invoice billed meanwhile is refused
    // at Update, and the stored invoice stays as it was.
    void updateRefusedWhenBilledMeanwhile()
    {
        savedInvoice(4, "26-27", 4);
        form = new invoicesandlist;
        loadBack("4/26-27");
        QCOMPARE(tableCell(items(), 0, 11), QString("10.000"));
        savedInvoice(5, "26-27", 6);
        items()->item(0, 5)->setText("10");
        click(form, "update_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|DC 1/26-27, item A-18: invoice qty cannot exceed uninvoiced "
                                                   "balance (4.000)!\nAnother invoice has billed it meanwhile."));
        QCOMPARE(rows("SELECT v.invoice_no, ii.invoiced_qty FROM invoice_items ii JOIN invoices v "
                      "ON v.invoice_id = ii.invoice_id ORDER BY v.invoice_no"),
                 QStringList({"4|4", "5|6"}));

        // Its own quantity is no obstacle: 4 again is written.
        items()->item(0, 5)->setText("4");
        click(form, "update_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 4/26-27 updated!"));
    }

    void updateKeepsNumberAndYear()
    {
        // An invoice of 25-26 billing a 25-26 challan, and 4/26-27 left alone.
        addDelivery({3, "25-26", 1, firm.local, firm.rate18, 10});
        const int old = savedInvoice(4, "25-26", 2, 3, "25-26");
        savedInvoice(4, "26-27", 1);
        addPayment(4, "25-26", "2026-03-01", 100);
        form = new invoicesandlist;
        loadBack("4/25-26");
        items()->item(0, 5)->setText("5");
        child<QLineEdit>(form, "invnoEdit")->setText("99/27-28"); // typed text does not move the invoice
        click(form, "update_btn");

        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 4/25-26 updated!"));
        QCOMPARE(rows("SELECT invoice_no, invoice_no_full, fy_name, sub_total, grand_total FROM invoices "
                      "ORDER BY fy_name"),
                 QStringList({"4|4/25-26|25-26|50|59", "4|4/26-27|26-27||118"}));
        QVERIFY(value("SELECT invoice_id FROM invoices WHERE fy_name = '25-26'").toInt() != old);
        QCOMPARE(rows("SELECT v.fy_name, ii.delivery_no, ii.invoiced_qty, ii.fy_name FROM invoice_items ii "
                      "JOIN invoices v ON v.invoice_id = ii.invoice_id ORDER BY v.fy_name"),
                 QStringList({"25-26|3|5|25-26", "26-27|1|1|26-27"}));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments WHERE invoice_no = 4 AND fy_name = '25-26'"), 1);
        // Back to the empty form, list reloaded.
        QCOMPARE(items()->rowCount(), 0);
        QCOMPARE(miniList()->rowCount(), 2);

        // Every quantity 0: refused, the stored invoice unchanged.
        loadBack("4/25-26");
        items()->item(0, 5)->setText("0");
        click(form, "update_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|At least one item must have qty!"));
        QCOMPARE(rows("SELECT invoiced_qty FROM invoice_items ii JOIN invoices v ON v.invoice_id = ii.invoice_id "
                      "WHERE v.fy_name = '25-26'"),
                 QStringList({"5"}));
    }

    void updateOfAnAbstractInvoiceKeepsItsLines()
    {
        savedInvoice(4, "26-27", 3);
        form = new invoicesandlist;
        loadBack("4/26-27");
        child<QCheckBox>(form, "abstract_checkbox")->setChecked(true);
        child<QTextEdit>(form, "abstract_invoiceEdit")->setPlainText("   ");
        click(form, "update_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Please enter details in abstract field!"));

        child<QTextEdit>(form, "abstract_invoiceEdit")->setPlainText(" Coating of 3 brackets ");
        click(form, "update_btn");
        QCOMPARE(rows("SELECT is_abstract, abstract_content FROM invoices"), QStringList({"1|Coating of 3 brackets"}));
        QCOMPARE(rows("SELECT delivery_no, invoiced_qty, fy_name FROM invoice_items"), QStringList({"1|3|26-27"}));
    }

    void cancelKeepsTheNumberUsed()
    {
        savedInvoice(1, "26-27", 3);
        savedInvoice(2, "26-27", 2);
        form = new invoicesandlist;
        loadBack("1/26-27");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "bill_cancel_btn");
        QCOMPARE(env->desktop.messages.at(env->desktop.messages.size() - 2).text,
                 QString("Cancel Invoice No 1?\n\nThe invoiced quantities will return to the DCs and become available for "
                         "re-invoicing."));
        QCOMPARE(env->desktop.lastShown(), QString("Cancelled|Invoice cancelled! DC quantities released for re-invoicing."));
        QCOMPARE(rows("SELECT invoice_no, is_deleted FROM invoices ORDER BY invoice_no"), QStringList({"1|1", "2|0"}));
        QCOMPARE(rows("SELECT invoiced_qty FROM invoice_items"), QStringList({"2"}));

        // The number stays used; the challan offers what the invoice held.
        delete form;
        form = new invoicesandlist;
        form->setDeliveryData({1}, firm.local, QString(), "26-27");
        QCOMPARE(child<QLineEdit>(form, "invnoEdit")->text(), QString("3/26-27"));
        QCOMPARE(tableCell(items(), 0, 5), QString("8.000"));
    }

    void deleteFreesTheNumber()
    {
        savedInvoice(1, "26-27", 3);
        savedInvoice(2, "26-27", 2);
        savedInvoice(1, "25-26", 1);
        form = new invoicesandlist;
        click(form, "delete_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Load an invoice first (right-click → Load Back)!"));

        loadBack("1/26-27");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "delete_btn");
        QCOMPARE(env->desktop.messages.at(env->desktop.messages.size() - 2).text,
                 QString("Permanently delete Invoice 1/26-27?\n\n\u2022 The invoice number becomes available for reuse\n"
                         "\u2022 The DC quantities return for re-invoicing"));
        QCOMPARE(env->desktop.lastShown(), QString("Deleted|Invoice deleted! Number available for reuse."));
        QCOMPARE(rows("SELECT invoice_no, fy_name FROM invoices ORDER BY invoice_id"), QStringList({"2|26-27", "1|25-26"}));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_items"), 2);

        // The next invoice takes the freed number.
        delete form;
        form = new invoicesandlist;
        form->setDeliveryData({1}, firm.local, QString(), "26-27");
        QCOMPARE(child<QLineEdit>(form, "invnoEdit")->text(), QString("1/26-27"));
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
    }

    void deleteRefusedWithPayments()
    {
        savedInvoice(1, "26-27", 3);
        addPayment(1, "26-27", "2026-09-01", 300, 0, firm.local);
        form = new invoicesandlist;
        loadBack("1/26-27");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "delete_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString("Error|Invoice 1/26-27 has payments recorded against it.\n"
                         "Delete its payments first (Payment History), or cancel the invoice instead."));
        QCOMPARE(count("SELECT COUNT(*) FROM invoices") + count("SELECT COUNT(*) FROM invoice_items"), 2);

        // A failing step is named and rolls the delete back.
        savedInvoice(2, "26-27", 1);
        form->loadInvoiceList(-1, QString(), QString());
        exec("CREATE TRIGGER keep_lines BEFORE DELETE ON invoice_items BEGIN SELECT RAISE(ABORT, 'locked by test'); END");
        loadBack("2/26-27");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "delete_btn");
        QVERIFY(env->desktop.lastShown().startsWith("Error|Failed to delete items: locked by test"));
        exec("DROP TRIGGER keep_lines");
        exec("CREATE TRIGGER keep_head BEFORE DELETE ON invoices BEGIN SELECT RAISE(ABORT, 'locked by test'); END");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "delete_btn");
        QVERIFY(env->desktop.lastShown().startsWith("Error|Failed to delete invoice: locked by test"));
        exec("DROP TRIGGER keep_head");
        QCOMPARE(count("SELECT COUNT(*) FROM invoices") + count("SELECT COUNT(*) FROM invoice_items"), 4);
        loadBack("1/26-27");

        // Cancel is not refused.
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "bill_cancel_btn");
        QCOMPARE(rows("SELECT is_deleted FROM invoices ORDER BY invoice_no"), QStringList({"1", "0"}));
    }

    void staleFormChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("elsewhere"); // what a second form clicked on 5/26-27, or "paid"
        QTest::addColumn<QByteArray>("button");
        for (const char *button : {"update_btn", "bill_cancel_btn", "delete_btn"})
            QTest::newRow(button) << QByteArray("delete_btn") << QByteArray(button);
        QTest::newRow("updated elsewhere") << QByteArray("update_btn") << QByteArray("update_btn");
        QTest::newRow("cancelled elsewhere") << QByteArray("bill_cancel_btn") << QByteArray("update_btn");
        QTest::newRow("update of one paid") << QByteArray("paid") << QByteArray("update_btn");
        QTest::newRow("cancel of one paid") << QByteArray("paid") << QByteArray("bill_cancel_btn");
        QTest::newRow("delete of one paid") << QByteArray("paid") << QByteArray("delete_btn");
    }

    // Invoice 5/26-27 is loaded back; then a second form deletes it and saves
    // a new invoice under the freed number (or rewrites or cancels it), or the
    // other copy pays it. The first form's Update, Bill Cancel or Delete names
    // the invoice, leaves every row as it is and keeps what the form shows,
    // typed quantities included; Show and a Load Back then let the user go on
    // with the invoice as it is now.
    void staleFormChangesNothing()
    {
        QFETCH(QByteArray, elsewhere);
        QFETCH(QByteArray, button);
        const int loaded = savedInvoice(5, "26-27", 3);
        form = new invoicesandlist;
        loadBack("5/26-27");
        invoicesandlist other;
        other.loadInvoiceBack(5, "26-27");
        env->desktop.messageAnswers << QMessageBox::Yes << QMessageBox::Yes;
        if (elsewhere == "paid")
            writeAsOtherCopy("INSERT INTO invoice_payments (invoice_no, fy_name, paid_amount) VALUES (5, '26-27', 354)");
        else
            click(&other, elsewhere.constData());
        if (elsewhere == "delete_btn") {
            other.setDeliveryData({1}, firm.local, QString(), "26-27");
            child<QLineEdit>(&other, "invnoEdit")->setText("5/26-27");
            click(&other, "save_btn");
            QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 5/26-27 saved!"));
        }
        QCOMPARE(count("SELECT COUNT(*) FROM invoices WHERE is_deleted = 0 AND invoice_id = " + QString::number(loaded)),
                 elsewhere == "paid" ? 1 : 0); // the loaded row is gone or no longer live, or paid
        const QStringList stored = rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items")
                                   + rows("SELECT * FROM invoice_payments");

        items()->item(0, 5)->setText("2");
        env->desktop.messageAnswers << QMessageBox::Yes;
        click(form, button.constData());
        const QString nothing = button == "update_btn" ? "saved." : button == "delete_btn" ? "deleted." : "cancelled.";
        QCOMPARE(env->desktop.lastShown(),
                 "Error|Invoice No 5/26-27 was paid, changed, cancelled or deleted meanwhile, perhaps in another "
                 "window. Nothing was "
                     + nothing
                     + "\n\nThe form keeps what it shows. Press Show to list the invoices as they are now, then load "
                       "the invoice back (right-click \u2192 \u21a9 Load Back).");
        QCOMPARE(rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items")
                     + rows("SELECT * FROM invoice_payments"),
                 stored);
        QCOMPARE(tableCell(items(), 0, 5), QString("2"));
        QVERIFY(child<QAbstractButton>(form, button.constData())->isEnabled());

        // Going on: the invoice as it is now, loaded back from the list shown anew.
        click(form, "show_btn");
        loadBack("5/26-27");
        if (value("SELECT is_deleted FROM invoices WHERE invoice_no = 5").toInt() == 1) {
            QCOMPARE(env->desktop.lastShown(), QString("Cancelled|This invoice is cancelled — cannot load."));
            return;
        }
        items()->item(0, 5)->setText("2");
        click(form, "update_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 5/26-27 updated!"));
    }

    void printTakesTheLoadedInvoice()
    {
        StandInTool tool(env->folder());
        form = new invoicesandlist;
        click(form, "print_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Load or save an invoice first!"));

        savedInvoice(4, "25-26", 2);
        savedInvoice(4, "26-27", 1);
        form->loadInvoiceList(-1, QString(), QString());
        loadBack("4/25-26");
        click(form, "print_btn");
        QCOMPARE(env->desktop.previews.size(), 1);
        QCOMPARE(env->desktop.previews.first().title, QString("Invoice - 4"));
        QVERIFY(tool.htmlGiven().first().contains("4/25-26"));

        // After the update of the older year's invoice the box shows 4/25-26, and
        // Print takes that invoice, not 4 of the current year.
        click(form, "update_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 4/25-26 updated!"));
        click(form, "print_btn");
        QCOMPARE(tool.htmlGiven().size(), 2);
        QVERIFY(tool.htmlGiven().last().contains("4/25-26"));
        QVERIFY(!tool.htmlGiven().last().contains("4/26-27"));
    }
};

QTEST_MAIN(TestInvoiceCorrection)
#include "tst_invoicecorrection.moc"
