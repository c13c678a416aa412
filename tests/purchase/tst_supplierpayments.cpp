#include "support/files.h"
#include "support/notoolonpath.h"
#include "support/purchasedata.h"
#include "support/purchaseenvironment.h"
#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/widgets.h"

#include "core/companydb.h"
#include "purchase/paymententryform.h"
#include "purchase/purchasepaymentstatement.h"
#include "purchase/purchasewindow.h"
#include "purchase/supplierpaymentstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

QTableWidget *bills(paymententryform &form)
{
    return child<QTableWidget>(&form, "listof_bills");
}

void chooseSupplier(paymententryform &form, const QString &name)
{
    child<QComboBox>(&form, "companypaytable_combo")->setCurrentText(name);
}

void tick(paymententryform &form, int row)
{
    qobject_cast<QCheckBox *>(bills(form)->cellWidget(row, 0))->setChecked(true);
}

void pay(paymententryform &form, const QString &amount, const QString &reference = QString())
{
    child<QLineEdit>(&form, "amountEdit")->setText(amount);
    child<QLineEdit>(&form, "refEdit")->setText(reference);
    click(&form, "paid_btn");
}

QString refusedPayment(const QString &bill)
{
    return "Error|Bill No " + bill + " another window. Nothing was saved.\nThe list has been reloaded.";
}

QStringList statementRows(purchasepaymentstatement &w)
{
    const auto *t = child<QTableWidget>(&w, "statement_table");
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r)
        out << rowTexts(t, r).join('|');
    return out;
}

} // namespace

class TestSupplierPayments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }
    void cleanup() { closeDefaultDatabase(); }

    // Only the supplier's unpaid credit bills, oldest first, with their age.
    void listsUnpaidCreditBillsWithTheirAge()
    {
        PurchaseEnvironment env;
        addBill({"B91", isoDaysFromToday(-91), "ACME", "CREDIT", 100});
        addBill({"B90", isoDaysFromToday(-90), "ACME", "credit", 200, QVariant()});
        addBill({"B61", isoDaysFromToday(-61), "ACME", "Credit", 300});
        addBill({"B60", isoDaysFromToday(-60), "ACME", "Credit", 400});
        addBill({"DMY", "15-03-2025", "ACME", "Credit", 50});
        addBill({"ODD", "March 5", "ACME", "Credit", 60});
        addBill({"CASH", isoDaysFromToday(-5), "ACME", "Cash", 500});
        addBill({"PAID", isoDaysFromToday(-5), "ACME", "Credit", 600, "Paid"});
        addBill({"OTHER", isoDaysFromToday(-5), "BETA", "Credit", 700});
        paymententryform form;
        QCOMPARE(comboTexts(child<QComboBox>(&form, "companypaytable_combo")),
                 QStringList({"-- Select Company --", "ACME", "BETA"}));
        chooseSupplier(form, "ACME");
        QTableWidget *t = bills(form);
        QCOMPARE(columnTexts(t, 1), QStringList({"DMY", "B91", "B90", "B61", "B60", "ODD"}));
        const int dmyAge = QDate(2025, 3, 15).daysTo(QDate::currentDate());
        QCOMPARE(columnTexts(t, 5), QStringList({QString::number(dmyAge) + " days", "91 days", "90 days", "61 days",
                                                 "60 days", "0 days"}));
        QCOMPARE(columnTexts(t, 2).last(), QString("March 5"));
        QCOMPARE(t->item(1, 5)->background().color(), QColor(Qt::red));
        QCOMPARE(t->item(2, 5)->background().color(), QColor(Qt::yellow));
        QCOMPARE(t->item(3, 5)->background().color(), QColor(Qt::yellow));
        QCOMPARE(t->item(4, 5)->background().style(), Qt::NoBrush);
        tick(form, 1);
        tick(form, 2);
        QCOMPARE(child<QLabel>(&form, "grandtotal_amt")->text(), QString("300.00"));
    }

    // One transaction: both bills paid, one record each with the whole amount
    // and the payment's receipt number; the receipt shows what was paid.
    void paysTickedBillsAndPrintsTheReceipt()
    {
        PurchaseEnvironment env;
        exec("UPDATE company_settings SET company_name = 'Morvel <Coats>' WHERE id = 1");
        addBill({"P1", "2026-04-01", "R&D Supplies", "Credit", 1000});
        addBill({"P2", "2026-04-02", "R&D Supplies", "Credit", 500});
        paymententryform form;
        chooseSupplier(form, "R&D Supplies");
        tick(form, 0);
        tick(form, 1);
        child<QDateEdit>(&form, "paymentdateEdit")->setDate(QDate(2026, 5, 10));
        StandInTool tool(env.folder());
        pay(form, " 1500 ");

        QCOMPARE(rows("SELECT bill_id, payment_date, paid_amount, reference_no, mode_of_payment FROM payment_records "
                      "ORDER BY payment_id"),
                 QStringList({"1|2026-05-10|1500||Neft", "2|2026-05-10|1500||Neft"}));
        QCOMPARE(rows("SELECT DISTINCT payment_status FROM purchase_bills"), QStringList{"Paid"});
        const QStringList refs = rows("SELECT DISTINCT payment_ref FROM payment_records");
        QCOMPARE(refs.size(), 1);
        QVERIFY2(QRegularExpression("^RCT-\\d{12}$").match(refs.first()).hasMatch(), qPrintable(refs.first()));

        QCOMPARE(env.desktop.previews.size(), 1);
        const QString html = tool.htmlOfRun(1);
        const QString value = "<td style='padding:8px; border:1px solid #000;'>";
        for (const QString &expected :
             QStringList{"MORVEL &lt;COATS&gt;", "<b>Receipt No:</b> " + refs.first(), "<b>Date:</b> 10-05-2026",
                         value + "R&amp;D Supplies</td>", value + "-</td>", value + "2</td>",
                         value + "<b>Rs. </b>1500/-</td>", ">P1</td>", ">01-04-2026</td>", ">1500.00</td>",
                         ">Rs. 1500/-</td>"})
            QVERIFY2(html.contains(expected), qPrintable(expected));
        // The paid bills are gone from the list.
        QCOMPARE(bills(form)->rowCount(), 0);
    }

    // Half a paisa rounds up as a decimal: the bill 1000595854.905 stored by
    // an older version is 1000595854.91 in the list, the grand total and the
    // receipt; 165.015 typed is recorded as 165.02, and a stored 165.015 is
    // shown as 165.02 by the statement.
    void halfPaisaAmountsRoundUpOnReceiptAndStatement()
    {
        PurchaseEnvironment env;
        addBill({"H1", "2026-04-01", "ACME", "Credit", 1000595854.905});
        paymententryform form;
        chooseSupplier(form, "ACME");
        QCOMPARE(tableCell(bills(form), 0, 4), QString("1000595854.91"));
        tick(form, 0);
        QCOMPARE(child<QLabel>(&form, "grandtotal_amt")->text(), QString("1000595854.91"));
        child<QDateEdit>(&form, "paymentdateEdit")->setDate(QDate(2026, 5, 10));
        StandInTool tool(env.folder());
        pay(form, "165.015");
        QCOMPARE(rows("SELECT paid_amount FROM payment_records"), QStringList{"165.02"});
        const QString html = tool.htmlOfRun(1);
        QVERIFY(html.contains(">1000595854.91</td></tr><tr style='font-weight:bold;'><td colspan='2'"));
        QVERIFY(html.contains(">Rs. 165.015/-</td>")); // the amount as typed
        // A pasted text is rounded once from all its digits: 250.00, not 250.01.
        addBill({"H2", "2026-04-02", "ACME", "Credit", 250});
        paymententryform second;
        chooseSupplier(second, "ACME");
        tick(second, 0);
        pay(second, "250.00499999999999999");
        QCOMPARE(rows("SELECT paid_amount FROM payment_records ORDER BY rowid"), QStringList({"165.02", "250"}));

        exec("UPDATE payment_records SET paid_amount = 165.015");
        purchasepaymentstatement w;
        child<QComboBox>(&w, "companystate_combo")->setCurrentText("ACME");
        child<QDateEdit>(&w, "dateEdit")->setDate(QDate(2026, 5, 1));
        child<QDateEdit>(&w, "dateEdit_2")->setDate(QDate(2026, 5, 31));
        click(&w, "show_btn");
        QCOMPARE(statementRows(w), QStringList{"H1|01-04-2026|ACME|1000595854.91|165.02|10-05-2026"});
        QCOMPARE(child<QLineEdit>(&w, "tot_amtEdit")->text(), QString("1000595854.91"));
        QCOMPARE(child<QLineEdit>(&w, "paid_amtEdit")->text(), QString("165.02"));
    }

    void refusesAPaymentWithoutBillsOrAmount_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("shown");
        const QString missing = "Error|Please enter paid amount!";
        const QString tooLarge = "Figure Too Large|Paid Amount is too large: at most 99,999,999,999.99";
        QTest::newRow("empty") << "" << missing;
        QTest::newRow("text") << "abc" << missing;
        QTest::newRow("nan") << "nan" << missing;
        QTest::newRow("infinity") << "inf" << missing;
        QTest::newRow("zero") << "0" << missing;
        QTest::newRow("negative") << "-5" << missing;
        QTest::newRow("too large") << "1000000000000000" << tooLarge;
        QTest::newRow("rounds to too large") << "999999999999999.995" << tooLarge;
        QTest::newRow("at the money bound") << "100000000000" << tooLarge;
        QTest::newRow("rounds to the bound") << "99999999999.995" << tooLarge;
        QTest::newRow("just over the bound") << "100000000000.01" << tooLarge;
    }

    void refusesAPaymentWithoutBillsOrAmount()
    {
        QFETCH(QString, amount);
        QFETCH(QString, shown);
        PurchaseEnvironment env;
        addBill({"P1", "2026-04-01", "ACME", "Credit", 1000});
        paymententryform form;
        chooseSupplier(form, "ACME");
        pay(form, "100");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Please select at least one bill!"));
        tick(form, 0);
        pay(form, amount);
        QCOMPARE(env.desktop.lastShown(), shown);
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 0);
        QCOMPARE(rows("SELECT payment_status FROM purchase_bills"), QStringList{"Unpaid"});
    }

    // A receipt that cannot be shown leaves the payment recorded once: the list
    // is reloaded for the ticked bills' supplier, even with the placeholder chosen.
    void aFailedReceiptCannotLeadToASecondPayment()
    {
        PurchaseEnvironment env;
        addBill({"P1", "2026-04-01", "ACME", "Credit", 1000});
        addBill({"P2", "2026-04-02", "ACME", "Credit", 200});
        paymententryform form;
        chooseSupplier(form, "ACME");
        child<QComboBox>(&form, "companypaytable_combo")->setCurrentIndex(0);
        QCOMPARE(bills(form)->rowCount(), 2); // the placeholder keeps the list
        tick(form, 0);
        {
            NoToolOnPath noTool;
            pay(form, "1000", "CHQ 12");
        }
        QCOMPARE(env.desktop.lastShown(), QString("Missing Executable|wkhtmltoimage.exe not found in app folder!"));
        QCOMPARE(rows("SELECT bill_id, reference_no FROM payment_records"), QStringList{"1|CHQ 12"});
        QCOMPARE(columnTexts(bills(form), 1), QStringList{"P2"});

        // A run that leaves no picture does not preview the previous receipt's.
        StandInTool tool(env.folder(), "exit 1");
        QVERIFY(writeFile(env.desktop.tempFolder + "/receipt_preview.png", "old"));
        tick(form, 0);
        pay(form, "200");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Error|Failed to render receipt image.\nwkhtmltoimage ended with exit code 1."));
        QCOMPARE(fileBytes(env.desktop.tempFolder + "/receipt_preview.png"), QByteArray("old")); // not shown, not touched
        QCOMPARE(env.desktop.previews.size(), 0);
        // Its HTML carried the supplier of the bills, escaped values and "-".
        const QString html = tool.htmlOfRun(1);
        QVERIFY(html.contains("<td style='padding:8px; border:1px solid #000;'>ACME</td>"));
        QVERIFY(html.contains(">-</td>"));

        // Without a temporary folder to write to, nothing is run.
        env.desktop.tempFolder = env.folder() + "/no/such/folder";
        addBill({"P3", "2026-04-03", "ACME", "Credit", 300});
        form.loadUnpaidBills("ACME");
        tick(form, 0);
        pay(form, "300");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Unable to create temporary HTML file."));
        QCOMPARE(tool.runs().size(), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 3);
    }

    // A bill paid in another form, deleted or changed meanwhile: the payment
    // is refused whole and the list shows what is stored.
    void aBillNoLongerUnpaidIsNotPaidAgain()
    {
        PurchaseEnvironment env;
        addBill({"P1", "2026-04-01", "ACME", "Credit", 1000});
        addBill({"P2", "2026-04-02", "ACME", "Credit", 200});
        paymententryform first, second;
        chooseSupplier(first, "ACME");
        chooseSupplier(second, "ACME");
        StandInTool tool(env.folder());
        tick(first, 0);
        pay(first, "1000");
        tick(second, 0);
        tick(second, 1);
        pay(second, "1200");
        QCOMPARE(env.desktop.lastShown(), refusedPayment("P1 was paid, changed or deleted meanwhile, perhaps in"));
        QCOMPARE(rows("SELECT bill_id, paid_amount FROM payment_records"), QStringList{"1|1000"});
        QCOMPARE(rows("SELECT payment_status FROM purchase_bills ORDER BY bill_id"), QStringList({"Paid", "Unpaid"}));
        QCOMPARE(columnTexts(bills(second), 1), QStringList{"P2"});

        exec("DELETE FROM purchase_bills WHERE bill_no = 'P2'");
        tick(second, 0);
        pay(second, "200");
        QCOMPARE(env.desktop.lastShown(), refusedPayment("P2 no longer exists; it may have been deleted in"));
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 1);
        QCOMPARE(bills(second)->rowCount(), 0);

        addBill({"S1", "2026-04-01", "ACME", "Credit", 100});
        addBill({"S2", "2026-04-02", "ACME", "Credit", 200});
        second.loadUnpaidBills("ACME");
        tick(second, 0);
        tick(second, 1);
        writeAsOtherCopy("UPDATE purchase_bills SET base_amount = 150, bill_total = 150 WHERE bill_no = 'S1'");
        pay(second, "300");
        QCOMPARE(env.desktop.lastShown(), refusedPayment("S1 was paid, changed or deleted meanwhile, perhaps in"));
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 1);
        QCOMPARE(rows("SELECT bill_total, payment_status FROM purchase_bills WHERE bill_no LIKE 'S%' ORDER BY bill_id"),
                 QStringList({"150|Unpaid", "200|Unpaid"}));
        QCOMPARE(columnTexts(bills(second), 4), QStringList({"150.00", "200.00"}));
    }

    // The form of "Proceed to Payment Entry" is kept: back from the purchase
    // window it shows its suppliers, ticks and fields as they were left, and a
    // bill paid elsewhere meanwhile is still refused at payment.
    void theKeptFormShowsAgainAsItWasLeft()
    {
        PurchaseEnvironment env;
        addBill({"P1", "2026-04-01", "ACME", "Credit", 700});
        addBill({"P2", "2026-04-02", "ACME", "Credit", 250.5});
        PurchaseWindow purchase;
        click(&purchase, "payment_entry_btn");
        auto *form = purchase.findChild<paymententryform *>();
        QVERIFY(form && form->isVisible());
        chooseSupplier(*form, "ACME");
        tick(*form, 0);
        child<QLineEdit>(form, "amountEdit")->setText("700");
        click(form, "back_purchase_btn");
        QVERIFY(purchase.isVisible() && !form->isVisible());

        addBill({"P3", "2026-04-03", "ACME", "Credit", 90});
        addBill({"N1", "2026-04-03", "NEWCO", "Credit", 100});
        click(&purchase, "payment_entry_btn");
        QCOMPARE(purchase.findChild<paymententryform *>(), form);
        QVERIFY(form->isVisible() && !purchase.isVisible());
        const auto *suppliers = child<QComboBox>(form, "companypaytable_combo");
        QCOMPARE(comboTexts(suppliers), QStringList({"-- Select Company --", "ACME"}));
        QCOMPARE(suppliers->currentText(), QString("ACME"));
        QCOMPARE(columnTexts(bills(*form), 1), QStringList({"P1", "P2"}));
        QVERIFY(qobject_cast<QCheckBox *>(bills(*form)->cellWidget(0, 0))->isChecked());
        QCOMPARE(child<QLineEdit>(form, "amountEdit")->text(), QString("700"));
        QCOMPARE(child<QLabel>(form, "grandtotal_amt")->text(), QString("700.00"));
        tick(*form, 1); // 700.00 + 250.50
        QCOMPARE(child<QLabel>(form, "grandtotal_amt")->text(), QString("950.50"));

        exec("UPDATE purchase_bills SET payment_status = 'Paid' WHERE bill_no = 'P1'");
        pay(*form, "950.50");
        QVERIFY(env.desktop.lastShown().startsWith("Error|Bill No P1 was paid, changed or deleted meanwhile"));
        QCOMPARE(count("SELECT COUNT(*) FROM payment_records"), 0);
    }

    void statementGroupsEachPaymentOnce()
    {
        PurchaseEnvironment env;
        const int b1 = addBill({"S1", "2026-04-01", "ACME", "Credit", 1000});
        const int b2 = addBill({"S2", "2026-04-02", "ACME", "Credit", 500});
        const int b3 = addBill({"S3", "2026-04-03", "ACME", "Credit", 700});
        const int b4 = addBill({"S4", "2026-04-04", "ACME", "Credit", 700});
        const int old1 = addBill({"O1", "2026-03-01", "ACME", "Credit", 80});
        const int old2 = addBill({"O2", "2026-03-02", "ACME", "Credit", 20});
        addBill({"X", "2026-03-02", "BETA", "Credit", 20});
        auto record = [](int bill, const QString &date, double paid, const QVariant &ref) {
            const SupplierPayment payment{{listedBill(bill)}, date, Money::fromStored(paid), "", "Neft", ref.toString()};
            QCOMPARE(recordSupplierPayment(payment, nullptr), PaymentWrite::Recorded);
            if (ref.isNull())
                exec(QString("UPDATE payment_records SET payment_ref = NULL WHERE bill_id = %1").arg(bill));
        };
        const SupplierPayment both{{listedBill(b1), listedBill(b2)}, "2026-05-01", Money::fromRupees(1500), "", "Neft", "RCT-260501100000"};
        QCOMPARE(recordSupplierPayment(both, nullptr), PaymentWrite::Recorded);
        record(b3, "2026-05-02", 700, "RCT-260502100000");
        record(b4, "2026-05-02", 700, "RCT-260502100001");
        record(old1, "2026-04-20", 100, QVariant()); // before payments carried their receipt number
        record(old2, "2026-04-20", 100, QVariant());
        record(7, "2026-05-02", 20, "RCT-1");

        purchasepaymentstatement w;
        click(&w, "show_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Please select a company!"));
        child<QComboBox>(&w, "companystate_combo")->setCurrentText("ACME");
        child<QDateEdit>(&w, "dateEdit")->setDate(QDate(2026, 4, 1));
        child<QDateEdit>(&w, "dateEdit_2")->setDate(QDate(2026, 5, 2));
        click(&w, "show_btn");
        QCOMPARE(statementRows(w), QStringList({"O1|01-03-2026|ACME|80.00|100.00|20-04-2026",
                                                "O2|02-03-2026|ACME|20.00||",
                                                "S1|01-04-2026|ACME|1000.00|1500.00|01-05-2026",
                                                "S2|02-04-2026|ACME|500.00||",
                                                "S3|03-04-2026|ACME|700.00|700.00|02-05-2026",
                                                "S4|04-04-2026|ACME|700.00|700.00|02-05-2026"}));
        QCOMPARE(child<QLineEdit>(&w, "tot_amtEdit")->text(), QString("3000.00"));
        QCOMPARE(child<QLineEdit>(&w, "paid_amtEdit")->text(), QString("3000.00"));

        // The printout escapes the cells and closes with the Grand Total row.
        StandInTool tool(env.folder());
        child<QTableWidget>(&w, "statement_table")->item(0, 0)->setText("O<1>&");
        click(&w, "statement_print_pdf");
        QCOMPARE(env.desktop.previews.size(), 1);
        const QString html = tool.htmlOfRun(1);
        QVERIFY(html.contains(">O&lt;1&gt;&amp;</td>"));
        QVERIFY(html.contains("Company: ACME &nbsp;&nbsp; From: 01/04/2026 &nbsp;&nbsp; To: 02/05/2026"));
        const QString total = "<td style='text-align:right; padding:10px; border:1px solid #000; font-size:26px;'>";
        QVERIFY(html.contains(">Grand Total</td>" + total + "3000.00</td>" + total + "3000.00</td>"));
        // O2 and S2 are the payment's further bills: the cell above has no bottom border.
        QCOMPARE(html.count("border-bottom: none;"), 4);

        // A period without payments.
        child<QDateEdit>(&w, "dateEdit_2")->setDate(QDate(2026, 4, 1));
        click(&w, "show_btn");
        QCOMPARE(env.desktop.lastShown(), QString("No Data|No payment records found for ACME"));
        click(&w, "statement_print_pdf");
        QCOMPARE(env.desktop.lastShown(), QString("Print|No data to print!"));
    }
};

QTEST_MAIN(TestSupplierPayments)
#include "tst_supplierpayments.moc"
