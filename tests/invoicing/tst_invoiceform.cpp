// The invoice form: a new invoice from handed-over challans, its totals, the
// quantity check and Save.

#include "support/invoicefirm.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/invoicestore.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <memory>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

using namespace testdata;

class TestInvoiceForm : public QObject
{
    Q_OBJECT

private:
    invoicesandlist *newForm(const QList<int> &challans, int customerId, const QString &fy = "26-27")
    {
        delete form;
        form = new invoicesandlist;
        form->setDeliveryData(challans, customerId, "name from the list", fy);
        return form;
    }
    QString field(const char *name) const
    {
        if (auto *edit = form->findChild<QLineEdit *>(name))
            return edit->text();
        return child<QTextEdit>(form, name)->toPlainText();
    }
    QStringList totals() const
    {
        return {field("base_AmountEdit"), field("cgstEdit"), field("sgstEdit"), field("igstEdit"), field("netTotalEdit")};
    }
    // Each row as qty|amount, then the totals.
    QString tableState() const
    {
        auto *table = child<QTableWidget>(form, "invoice_table");
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r)
            rows << tableCell(table, r, 5) + "|" + tableCell(table, r, 8);
        return rows.join(" ") + " / " + totals().join(" ");
    }

    TestEnvironment *env = nullptr;
    InvoiceFirm firm;
    invoicesandlist *form = nullptr;

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openInvoiceFirm(*env, &firm));
    }

    void cleanup()
    {
        delete form;
        form = nullptr;
        delete env;
        env = nullptr;
    }

    void newInvoiceFromChallans()
    {
        for (int no : {1, 2, 3, 5})
            addInvoice({no, "26-27"});
        newForm({1}, firm.local);

        QCOMPARE(field("invnoEdit"), QString("4/26-27"));
        QCOMPARE((QStringList{field("customerNameEdit"), field("addressEdit"), field("gstEdit"), field("phoneEdit"),
                              field("cpoEdit")}),
                 (QStringList{"Acme Local", "12 Main Road, Pune", "27AAAAA0000A1Z5", "9876543210", "PO-77"}));
        auto *table = child<QTableWidget>(form, "invoice_table");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(rowTexts(table, 0), QStringList({"1/26-27", "01-06-2026", "A-18", "Anodised bracket", "998873", "10.000",
                                                  "NOS", "100.000", "1000.00", QString::number(firm.rate18), "1",
                                                  "10.000"}));
        QCOMPARE(totals(), QStringList({"1500.00", "102.50", "102.50", "0.00", "1705.00"}));
        QCOMPARE(field("rupeesEdit"), QString("One Thousand Seven Hundred Five Rupees Only"));

        // What an earlier invoice billed is not offered again.
        addInvoiceLine(addInvoice({6, "26-27", "2026-07-01", firm.local}), 1, firm.rate18, "26-27", 4);
        newForm({1}, firm.local);
        QCOMPARE(tableState(), QString("6.000|600.00 10.000|500.00 / 1100.00 66.50 66.50 0.00 1233.00"));
    }

    void igstCustomer()
    {
        addDelivery({2, "26-27", 2, firm.interstate, firm.rate5, 10});
        newForm({2}, firm.interstate);
        QCOMPARE(totals(), QStringList({"1500.00", "0.00", "0.00", "205.00", "1705.00"}));
    }

    void quantityEdits()
    {
        newForm({1}, firm.local);
        auto *table = child<QTableWidget>(form, "invoice_table");

        table->item(0, 5)->setText("12");
        QCOMPARE(env->desktop.lastShown(),
                 QString("Qty Exceeds|Invoice qty cannot exceed uninvoiced balance (10.000)!"));
        QCOMPARE(tableState(), QString("10.000|1000.00 10.000|500.00 / 1500.00 102.50 102.50 0.00 1705.00"));

        env->desktop.clear();
        table->item(0, 5)->setText("4.5");
        QCOMPARE(tableState(), QString("4.5|450.00 10.000|500.00 / 950.00 53.00 53.00 0.00 1056.00"));

        // A negative quantity, NaN and infinity are refused: the line bills nothing.
        for (const char *typed : {"-3", "nan", "inf", "abc"}) {
            env->desktop.clear();
            table->item(1, 5)->setText(typed);
            QCOMPARE(env->desktop.lastShown(), QString("Invalid Qty|Invoice qty must be a number of 0 or more!"));
            QCOMPARE(tableState(), QString("4.5|450.00 0.000|0.00 / 450.00 40.50 40.50 0.00 531.00"));
        }
    }

    // The abstract tick box on its blue band: a box of its own with a dark
    // tick beside white bold text; the text box below looks disabled until
    // the box is ticked.
    void abstractTickBoxIsDrawn()
    {
        form = new invoicesandlist;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        auto *box = child<QCheckBox>(form, "abstract_checkbox");
        auto *text = child<QTextEdit>(form, "abstract_invoiceEdit");
        QVERIFY(box->font().bold());
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        const QRect label = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        QVERIFY(!indicator.isEmpty() && !label.isEmpty());
        const QColor white(Qt::white);
        const auto textBoxFill = [&] {
            return text->viewport()->grab().toImage().pixelColor(text->viewport()->rect().center());
        };
        for (bool ticked : {false, true}) {
            box->setChecked(ticked);
            QCoreApplication::processEvents();
            // The box as drawn on its band.
            const QImage drawn = box->parentWidget()->grab(box->geometry()).toImage();
            const QColor band = drawn.pixelColor(drawn.width() - 2, drawn.height() / 2);
            // The text is drawn white.
            int whiteText = 0;
            for (int x = label.left(); x <= label.right(); ++x)
                for (int y = label.top(); y <= label.bottom(); ++y)
                    whiteText += drawn.pixelColor(x, y) == white;
            QVERIFY(whiteText > 20);
            // The box is filled (the band does not show through its middle),
            // framed in neither the band's nor the text's colour, and ticked
            // in a dark colour.
            int frame = 0, dark = 0;
            for (int x = indicator.left(); x <= indicator.right(); ++x)
                for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
                    const QColor c = drawn.pixelColor(x, y);
                    frame += c != band && c != white;
                    dark += c.lightness() < 96;
                }
            const QString state = ticked ? "ticked" : "unticked";
            QVERIFY2(drawn.pixelColor(indicator.center()) != band, qPrintable(state));
            QVERIFY2(frame >= indicator.width(), qPrintable(state));
            QVERIFY2(ticked ? dark >= indicator.width() : dark == 0, qPrintable(state));
            QCOMPARE(text->isEnabled(), ticked);
            QVERIFY2((textBoxFill() == white) == ticked, qPrintable(state));
        }
    }

    void saveWritesTheInvoice()
    {
        exec("INSERT OR REPLACE INTO company_settings (id, bank_details) VALUES (1, 'SBI 1234')");
        newForm({1}, firm.local);
        QCOMPARE(field("bank_detailsEdit"), QString("SBI 1234"));
        child<QTableWidget>(form, "invoice_table")->item(1, 5)->setText("0");
        child<QLineEdit>(form, "invnoEdit")->setText(" 7/26-27 ");
        click(form, "save_btn");

        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 7/26-27 saved!"));
        QCOMPARE(rows("SELECT invoice_no, invoice_no_full, customer_id, sub_total, cgst_amount, sgst_amount, igst_amount, "
                      "grand_total, remarks, fy_name, is_deleted, is_abstract, abstract_content FROM invoices"),
                 QStringList({QString("7|7/26-27|%1|1000|90|90|0|1180|PO-77|26-27|0|0|").arg(firm.local)}));
        QCOMPARE(rows("SELECT invoice_date = date('now') FROM invoices"), QStringList({"1"}));
        QCOMPARE(rows("SELECT delivery_no, item_id, invoiced_qty, rate, amount, tax_percent, fy_name FROM invoice_items"),
                 QStringList({QString("1|%1|10|100|1000|18|26-27").arg(firm.rate18)}));

        // Cleared, the number kept; the mini list shows the new invoice.
        QCOMPARE(child<QTableWidget>(form, "invoice_table")->rowCount(), 0);
        QCOMPARE(field("invnoEdit"), QString("7/26-27"));
        QCOMPARE(columnTexts(child<QTableWidget>(form, "viewing_table"), 1), QStringList({"7/26-27"}));
    }

    // A challan of 10^16 of A-18, written by another program, of which an
    // invoice billed 2.5: 9,999,999,999,999,997.5 is left, offered exactly.
    // Saved whole it is refused, naming the line; a quantity typed within the
    // bound bills exactly that.
    void challanStoredBeyondTheFormsOffersItsExactBalance()
    {
        addDelivery({3, "26-27", 1, firm.local, firm.rate18, 1e16});
        addInvoiceLine(addInvoice({6, "26-27", "2026-07-01", firm.local}), 3, firm.rate18, "26-27", 2.5);
        newForm({3}, firm.local);
        auto *table = child<QTableWidget>(form, "invoice_table");
        QCOMPARE(tableCell(table, 0, 5) + " " + tableCell(table, 0, 11),
                 QString("9999999999999997.500 9999999999999997.500"));
        const QStringList before = rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString("Figure Too Large|Qty of row 1 is too large: at most 999,999,999.999 (quantity)"));
        QCOMPARE(rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items"), before);

        table->item(0, 5)->setText("2e9"); // beyond the bound: cut to the balance, shown exactly
        QCOMPARE(env->desktop.lastShown(),
                 QString("Qty Exceeds|Invoice qty cannot exceed uninvoiced balance (9999999999999997.500)!"));
        QCOMPARE(tableCell(table, 0, 5), QString("9999999999999997.500"));
        table->item(0, 5)->setText("5");
        QCOMPARE(tableState(), QString("5|500.00 / 500.00 45.00 45.00 0.00 590.00"));
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
        QCOMPARE(rows("SELECT invoiced_qty, amount FROM invoice_items WHERE invoiced_qty <> 2.5 AND delivery_no = 3"),
                 QStringList({"5|500"}));

        // Written past the form, twice what is open is refused, named with
        // what is open exactly: 10^16 less 2.5 and 5.
        InvoiceWrite beyond;
        beyond.number = 9;
        beyond.fy = "26-27";
        beyond.customerId = firm.local;
        beyond.lines = {{3, "26-27", firm.rate18, 2e16, 100, Money::fromRupees(1), 18, -1}};
        const InvoiceWriteOutcome outcome = saveInvoice(beyond);
        QVERIFY(outcome.overBalance);
        QCOMPARE(outcome.error, QString("DC 3/26-27, item A-18: invoice qty cannot exceed uninvoiced balance "
                                        "(9999999999999992.500)!\nAnother invoice has billed it meanwhile."));
    }

    void challanOfAnEarlierYear()
    {
        addDelivery({9, "25-26", 1, firm.local, firm.rate18, 6});
        newForm({9}, firm.local, "25-26");
        QCOMPARE(field("invnoEdit"), QString("1/26-27"));
        click(form, "save_btn");
        QCOMPARE(rows("SELECT v.fy_name, ii.delivery_no, ii.invoiced_qty, ii.fy_name FROM invoice_items ii "
                      "JOIN invoices v ON v.invoice_id = ii.invoice_id"),
                 QStringList({"26-27|9|6|25-26"}));
        // Billed: offered no more.
        newForm({9}, firm.local, "25-26");
        QCOMPARE(child<QTableWidget>(form, "invoice_table")->rowCount(), 0);
    }

    void refusalsLeaveTheDatabase_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("qty"); // typed into both lines
        QTest::addColumn<bool>("emptyForm");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty form") << "5/26-27" << "" << true << "Error|No items to invoice!";
        QTest::newRow("not a number") << "abc/26-27" << "" << false << "Error|Invalid Invoice No!";
        QTest::newRow("zero") << "0/26-27" << "" << false << "Error|Invalid Invoice No!";
        QTest::newRow("empty number") << "" << "" << false << "Error|Invalid Invoice No!";
        QTest::newRow("used") << "2/26-27" << "" << false << "Duplicate|Invoice No already exists!";
        QTest::newRow("cancelled") << "3/26-27" << "" << false << "Duplicate|Invoice No already exists!";
        QTest::newRow("every qty 0") << "5/26-27" << "0" << false << "Error|At least one item must have qty!";
    }

    void refusalsLeaveTheDatabase()
    {
        QFETCH(QString, number);
        QFETCH(QString, qty);
        QFETCH(bool, emptyForm);
        QFETCH(QString, shown);
        addInvoice({2, "26-27"});
        addInvoice({3, "26-27", "2026-07-01", firm.local, 10, 1});
        addInvoice({5, "25-26"});
        const QStringList before = rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items");

        if (emptyForm) {
            delete form;
            form = new invoicesandlist;
        } else {
            newForm({1}, firm.local);
        }
        auto *table = child<QTableWidget>(form, "invoice_table");
        for (int r = 0; !qty.isEmpty() && r < table->rowCount(); ++r)
            table->item(r, 5)->setText(qty);
        child<QLineEdit>(form, "invnoEdit")->setText(number);
        const QString shownBefore = tableState();
        click(form, "save_btn");

        QCOMPARE(env->desktop.lastShown(), shown);
        QCOMPARE(rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items"), before);
        QCOMPARE(tableState(), shownBefore);
        QCOMPARE(field("invnoEdit"), number);
    }

    void failedSaveKeepsTheForm()
    {
        newForm({1}, firm.local);
        exec("CREATE TRIGGER no_b BEFORE INSERT ON invoice_items WHEN NEW.item_id = " + QString::number(firm.rate5)
             + " BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        const QString shownBefore = tableState();
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastMessage().title, QString("Error Saving Item Row 2"));
        QVERIFY(env->desktop.lastMessage().text.contains("disk full"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoices") + count("SELECT COUNT(*) FROM invoice_items"), 0);
        QCOMPARE(tableState(), shownBefore);

        // A commit that fails (a deferred constraint) is a failure too.
        exec("DROP TRIGGER no_b");
        exec("CREATE TABLE guard (invoice_id INTEGER REFERENCES invoices(invoice_id) DEFERRABLE INITIALLY DEFERRED)");
        exec("CREATE TRIGGER dangling AFTER INSERT ON invoices BEGIN INSERT INTO guard VALUES (-1); END");
        exec("PRAGMA foreign_keys = ON");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastMessage().title, QString("Error"));
        QVERIFY(env->desktop.lastMessage().text.contains("FOREIGN KEY"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoices") + count("SELECT COUNT(*) FROM invoice_items"), 0);
        QCOMPARE(tableState(), shownBefore);
    }

    void secondFormOfTheSameChallans_data()
    {
        QTest::addColumn<QString>("firstQty"); // of A-18 in the first form; its B-5 line bills 0
        QTest::addColumn<QString>("open");     // what the second form's A-18 line may then bill
        QTest::newRow("all billed") << "10" << "0.000";
        QTest::newRow("part billed") << "4" << "6.000";
    }

    // Two forms filled from one challan: the second offers what the first then
    // saves, and is refused at Save; nothing of it is written.
    void secondFormOfTheSameChallans()
    {
        QFETCH(QString, firstQty);
        QFETCH(QString, open);
        newForm({1}, firm.local);
        std::unique_ptr<invoicesandlist> second(new invoicesandlist);
        second->setDeliveryData({1}, firm.local, QString(), "26-27");

        auto *table = child<QTableWidget>(form, "invoice_table");
        table->item(0, 5)->setText(firstQty);
        table->item(1, 5)->setText("0");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
        const QStringList firstOnly = rows("SELECT v.invoice_no, ii.item_id, ii.invoiced_qty FROM invoice_items ii "
                                           "JOIN invoices v ON v.invoice_id = ii.invoice_id");
        QCOMPARE(firstOnly, QStringList({QString("1|%1|%2").arg(firm.rate18).arg(firstQty)}));

        // The second form still offers 10 + 10; under its own number it is refused.
        invoicesandlist *first = form;
        form = second.release();
        second.reset(first);
        child<QLineEdit>(form, "invnoEdit")->setText("2/26-27");
        const QString shownBefore = tableState();
        QCOMPARE(shownBefore, QString("10.000|1000.00 10.000|500.00 / 1500.00 102.50 102.50 0.00 1705.00"));
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(),
                 "Error|DC 1/26-27, item A-18: invoice qty cannot exceed uninvoiced balance (" + open
                     + ")!\nAnother invoice has billed it meanwhile.");
        QCOMPARE(count("SELECT COUNT(*) FROM invoices"), 1);
        QCOMPARE(rows("SELECT v.invoice_no, ii.item_id, ii.invoiced_qty FROM invoice_items ii "
                      "JOIN invoices v ON v.invoice_id = ii.invoice_id"),
                 firstOnly);
        QCOMPARE(tableState(), shownBefore);

        // What is still open can be billed.
        child<QTableWidget>(form, "invoice_table")->item(0, 5)->setText(open);
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 2/26-27 saved!"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_items ii JOIN invoices v ON v.invoice_id = ii.invoice_id "
                       "WHERE v.invoice_no = 2"),
                 open == "0.000" ? 1 : 2);
    }

    // Invoice 1 bills 3 of challan 1's 10 of A-18; a second form offers the
    // 7 left. Another copy lowers the challan's line to 5, then deletes the
    // challan, meanwhile: each refusal says what became of the challan, not
    // that another invoice billed it.
    void challanLoweredMeanwhileIsNamed()
    {
        addInvoiceLine(addInvoice({1, "26-27", "2026-07-01", firm.local}), 1, firm.rate18, "26-27", 3);
        newForm({1}, firm.local);
        child<QLineEdit>(form, "invnoEdit")->setText("2/26-27");
        QCOMPARE(tableCell(child<QTableWidget>(form, "invoice_table"), 0, 5), QString("7.000"));
        writeAsOtherCopy(QString("UPDATE delivery_entries SET delivery_qty = 5 WHERE delivery_no = 1 AND item_id = %1")
                             .arg(firm.rate18));
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString("Error|DC 1/26-27, item A-18: invoice qty cannot exceed uninvoiced balance (2.000)!\nDC "
                         "1/26-27 was changed or deleted meanwhile, perhaps in another window: it now carries 5.000 "
                         "of item A-18."));
        writeAsOtherCopy("DELETE FROM delivery_entries WHERE delivery_no = 1");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString("Error|DC 1/26-27, item A-18: invoice qty cannot exceed uninvoiced balance (0.000)!\nDC "
                         "1/26-27 was changed or deleted meanwhile, perhaps in another window: it no longer carries "
                         "item A-18."));
        QCOMPARE(count("SELECT COUNT(*) FROM invoices"), 1);
    }
};

QTEST_MAIN(TestInvoiceForm)
#include "tst_invoiceform.moc"
