// Payment follow-up: the outstanding balances with their ages, a payment with
// TDS split over the ticked invoices, the refusals that write nothing, and
// the printed pending statement.

#include "support/formfonts.h"
#include "support/notoolonpath.h"
#include "support/paymentdata.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/testenvironment.h"
#include "support/tickcells.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "invoicing/invoicecorrections.h"
#include "invoicing/paymentfollowup.h"
#include "invoicing/paymentstatement.h"
#include "invoicing/paymentstore.h"
#include "sales/saleswindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace testdata;

namespace {

enum { Acme = 1, Bolt = 2, AcmeTwin = 3 };

struct Window
{
    paymentFollowUp *w = new paymentFollowUp; // deleted by the test environment
    QTableWidget *list = child<QTableWidget>(w, "payment_pending_table");

    Window()
    {
        w->show();
        // A period that holds every invoice of the tests, whatever today is.
        child<QDateEdit>(w, "fromdateEdit")->setDate(QDate::currentDate().addYears(-2));
        click("show_btn");
    }
    QStringList shown() const { return columnTexts(list, 2); }
    int rowOf(const QString &fullNumber) const { return int(shown().indexOf(fullNumber)); }
    void tick(const QString &fullNumber) const { clickTickBox(list, rowOf(fullNumber)); }
    QLineEdit *edit(const char *name) const { return child<QLineEdit>(w, name); }
    void click(const char *name) const { ::click(w, name); }
    // Ticks the invoices, types the amounts and clicks "Selected as Paid".
    void pay(const QStringList &invoices, const QString &paid, const QString &tds) const
    {
        for (const QString &invoice : invoices)
            tick(invoice);
        edit("paid_amountEdit")->setText(paid);
        edit("tds_amountEdit")->setText(tds);
        click("paid_btn");
    }
};

QStringList paymentRows()
{
    return rows("SELECT invoice_no, fy_name, printf('%.2f', paid_amount), printf('%.2f', tds_amount), customer_id, "
                "pay_mode, chq_ref, remarks, payment_date FROM invoice_payments ORDER BY pay_id");
}

} // namespace

class TestPaymentFollowUp : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QVERIFY(openWithAcmeAndBolt(*env));
        addCustomer("ACME");
    }
    void cleanup() { env.reset(); }

    // Balances above 0.005 stay; ages colour above 60 and 90 days; cancelled
    // invoices never show, a NULL flag is live.
    void listShowsOutstandingBalancesAndAges()
    {
        addInvoice({1, "26-27", daysAgo(60), Acme, 100});
        addInvoice({2, "26-27", daysAgo(61), Acme, 100});
        addPayment(2, "26-27", daysAgo(1), 90, 9.994, Acme);
        addInvoice({3, "26-27", daysAgo(61), Bolt, 50});
        addPayment(3, "26-27", daysAgo(1), 40, 9.995, Bolt); // 0.005 left: paid
        addInvoice({4, "26-27", daysAgo(90), Bolt, 70});
        addInvoice({5, "26-27", daysAgo(91), Bolt, 80.5});
        addInvoice({6, "26-27", daysAgo(5), Acme, 10, 1});
        addInvoice({7, "26-27", daysAgo(5), Acme, 20, QVariant()});
        addInvoice({9, "25-26", daysAgo(400), Acme, 30});

        Window w;
        QCOMPARE(w.shown(), QStringList({"5/26-27", "4/26-27", "2/26-27", "1/26-27", "7/26-27", "9/25-26"}));
        const QDate day91 = QDate::currentDate().addDays(-91);
        QCOMPARE(rowTexts(w.list, 0).mid(1), QStringList({"5", "5/26-27", day91.toString("dd-MM-yyyy"),
                                                          "BOLT & SONS <PVT>", "80.50", "91", "80.50"}));
        QCOMPARE(tableCell(w.list, w.rowOf("2/26-27"), 5), QString("0.01"));
        const QStringList colours{"#f8d7da", "#fff3cd", "#fff3cd", "", "", "#f8d7da"};
        for (int r = 0; r < colours.size(); ++r) {
            const QBrush background = w.list->item(r, 6)->background();
            QCOMPARE(background.style() == Qt::NoBrush ? QString() : background.color().name(), colours.at(r));
        }

        // The selection total follows the ticks.
        w.tick("5/26-27");
        w.tick("4/26-27");
        QCOMPARE(w.edit("total_amountEdit")->text(), QString("150.50"));
    }

    // Only the rows near the view carry a check box; a tick stays with its
    // row when the view scrolls away and back.
    void ticksOfALongListSurviveScrolling()
    {
        exec("BEGIN");
        for (int n = 1; n <= 600; ++n)
            addInvoice({n, "26-27", daysAgo(700 - n), Acme, 10});
        exec("COMMIT");
        Window w;
        QCOMPARE(w.list->rowCount(), 600);
        QVERIFY(!w.list->cellWidget(599, 0));
        w.tick("1/26-27");
        w.list->scrollToBottom();
        QApplication::processEvents();
        QVERIFY(!w.list->cellWidget(0, 0));
        w.tick("600/26-27");
        QCOMPARE(w.edit("total_amountEdit")->text(), QString("20.00"));
        w.list->scrollToTop();
        QApplication::processEvents();
        QVERIFY(tickBox(w.list, 0)->isChecked());
        w.pay({}, "20", "");
        QCOMPARE(rows("SELECT invoice_no FROM invoice_payments ORDER BY invoice_no"), QStringList({"1", "600"}));
    }

    // 100, 50 and 30 paid with 120 and TDS 60: the paid amount fills the
    // balances in list order, TDS the rest, under one reference. The year of
    // each row is its invoice's, even where the number holds no year.
    void paymentIsSplitOverTheTickedInvoices()
    {
        addInvoice({1, "26-27", daysAgo(30), Acme, 100});
        addInvoice({2, "26-27", daysAgo(20), Acme, 50});
        exec("INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, grand_total, fy_name, "
             "is_deleted) VALUES (3, '3', '" + daysAgo(10) + "', 1, 30, '26-27', 0)");
        addInvoice({4, "26-27", daysAgo(5), Acme, 40});

        Window w;
        w.edit("chq_refEdit")->setText("  UTR-778  ");
        w.edit("remarksEdit")->setText(" part of April ");
        child<QComboBox>(w.w, "mod_combo")->setCurrentText("NEFT");
        const QDate paidOn = QDate::currentDate().addDays(-2);
        child<QDateEdit>(w.w, "paid_dateEdit")->setDate(paidOn);
        w.pay({"1/26-27", "2/26-27", "3"}, "120", "60");

        QCOMPARE(env->desktop.messages[0].title + "|" + env->desktop.messages[0].text,
                 QString("Confirm Payment|Record payment for ACME?\n\nSelected Total : 180.00\n"
                         "Paid Amount    : 120.00\nTDS Amount     : 60.00"));
        QCOMPARE(env->desktop.lastShown(), QString("Success|Payment recorded successfully!"));
        const QString date = paidOn.toString("yyyy-MM-dd");
        QCOMPARE(paymentRows(), QStringList({"1|26-27|100.00|0.00|1|NEFT|UTR-778|part of April|" + date,
                                             "2|26-27|20.00|30.00|1|NEFT|UTR-778|part of April|" + date,
                                             "3|26-27|0.00|30.00|1|NEFT|UTR-778|part of April|" + date}));
        const QStringList refs = rows("SELECT DISTINCT payment_ref FROM invoice_payments");
        QCOMPARE(refs.size(), 1);
        QVERIFY2(QRegularExpression("^PAY\\d{14}$").match(refs.first()).hasMatch(), qPrintable(refs.first()));

        // Paid invoices leave the list.
        QCOMPARE(w.shown(), QStringList({"4/26-27"}));

        // A second payment in the same second takes the next free reference.
        const QDateTime at = QDateTime::fromString(refs.first().mid(3), "yyyyMMddhhmmss");
        StoredRow listed;
        QVERIFY(readStoredRow(InvoiceRowSource, 4, &listed));
        const PaymentOutcome again =
            recordPayment({Acme, paidOn, "", "", "Cash", {{4, "26-27", Money::fromRupees(40), Money(), 4, listed}}}, at);
        QVERIFY(again.ok);
        QCOMPARE(again.reference, paymentReference(at.addSecs(1)));
    }

    void refusalsWriteNothing_data()
    {
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<QString>("paid");
        QTest::addColumn<QString>("tds");
        QTest::addColumn<QString>("shown");

        const QStringList both{"1/26-27", "2/26-27"}; // 100 + 80 of ACME
        QTest::newRow("nothing ticked") << QStringList() << "10" << "" << "Error|Select at least one invoice!";
        QTest::newRow("mismatch") << both << "100" << "" << "Amount Mismatch|Paid + TDS must equal selected total!\n\n"
                                     "Selected Total : 180.00\nPaid Amount    : 100.00\nTDS Amount     : 0.00\n"
                                     "Current Total  : 100.00\n\nExpected TDS   : 80.00";
        QTest::newRow("excess") << both << "180.01" << "" << "Excess Payment|Paid amount (180.01) cannot exceed "
                                   "selected total (180.00)!\nRemaining balance should go to TDS field.";
        for (const char *bad : {"abc", "nan", "inf", "-5", "1,000"})
            QTest::addRow("paid %s", bad) << both << bad << "0" << "Error|Please enter a valid Paid Amount!";
        QTest::newRow("tds below zero") << both << "181" << "-1" << "Error|Please enter a valid TDS Amount!";
        // Long texts compared by all their digits: a hair over the 0.005.
        QTest::newRow("paid 20 decimals over") << both << "180.00500000000000000001" << ""
                                               << "Excess Payment|Paid amount (180.01) cannot exceed "
                                                  "selected total (180.00)!\nRemaining balance should go to TDS field.";
        QTest::newRow("tds 13 decimals over") << both << "100" << "80.0050000000001"
                                              << "Amount Mismatch|Paid + TDS must equal selected total!\n\n"
                                                 "Selected Total : 180.00\nPaid Amount    : 100.00\nTDS Amount     : 80.01\n"
                                                 "Current Total  : 180.01\n\nExpected TDS   : 80.00";
        // Each figure below 10^11 rupees, to the paisa.
        const QString paidTooLarge = "Figure Too Large|Paid Amount is too large: at most 99,999,999,999.99";
        const QString tdsTooLarge = "Figure Too Large|TDS Amount is too large: at most 99,999,999,999.99";
        QTest::newRow("paid 1e309") << both << "1e309" << "0" << paidTooLarge;
        QTest::newRow("paid at the bound") << QStringList{"5/26-27"} << "100000000000" << "1" << paidTooLarge;
        QTest::newRow("paid rounds to the bound") << QStringList{"5/26-27"} << "99999999999.995" << "" << paidTooLarge;
        QTest::newRow("TDS just over") << QStringList{"5/26-27"} << "1" << "100000000000.01" << tdsTooLarge;
        QTest::newRow("TDS 1e15") << QStringList{"5/26-27"} << "1" << "1e15" << tdsTooLarge;
        QTest::newRow("paid just under") << QStringList{"5/26-27"} << "99999999999.99" << "1"
                                         << "Amount Mismatch|Paid + TDS must equal selected total!\n\n"
                                            "Selected Total : 999999999999999.00\nPaid Amount    : 99999999999.99\n"
                                            "TDS Amount     : 1.00\nCurrent Total  : 100000000000.99\n\n"
                                            "Expected TDS   : 999899999999999.01";
        QTest::newRow("two customers") << QStringList{"1/26-27", "3/26-27"} << "150" << ""
                                       << "Error|Select invoices of ONE customer only!";
        QTest::newRow("two customers of one name") << QStringList{"1/26-27", "4/26-27"} << "110" << ""
                                                   << "Error|Select invoices of ONE customer only!";
    }
    void refusalsWriteNothing()
    {
        QFETCH(QStringList, ticked);
        QFETCH(QString, paid);
        QFETCH(QString, tds);
        QFETCH(QString, shown);
        addInvoice({1, "26-27", daysAgo(30), Acme, 100});
        addInvoice({2, "26-27", daysAgo(20), Acme, 80});
        addInvoice({3, "26-27", daysAgo(20), Bolt, 50});
        addInvoice({4, "26-27", daysAgo(20), AcmeTwin, 10});
        addInvoice({5, "26-27", daysAgo(20), Acme, 999999999999999});

        Window w;
        w.pay(ticked, paid, tds);
        QCOMPARE(env->desktop.messages.size(), 1);
        QCOMPARE(env->desktop.lastShown(), shown);
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments"), 0);
        QCOMPARE(w.shown().size(), 5);
    }

    // The 0.005 tolerances compare the typed decimals exactly: 63.195
    // against 63.19 passes as 100.005 against 100.00 does, and records the
    // balance. Shares are two-decimal values that add up to what was paid.
    void exactDecimalsAndShares()
    {
        addInvoice({1, "26-27", daysAgo(30), Acme, 63.19});
        addInvoice({2, "26-27", daysAgo(30), Bolt, 100});
        addInvoice({3, "26-27", daysAgo(20), Acme, 100.10});
        addInvoice({4, "26-27", daysAgo(10), Acme, 50.05});
        addInvoice({5, "26-27", daysAgo(5), Acme, 30.30});
        addInvoice({6, "26-27", daysAgo(5), Bolt, 0.61});
        addInvoice({7, "26-27", daysAgo(4), Bolt, 89.40});
        Window w;
        w.pay({"1/26-27"}, "63.195", "");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Payment recorded successfully!"));
        w.pay({"2/26-27"}, "100.005", "");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Payment recorded successfully!"));
        // 120.10 and TDS 60.35 over 100.10, 50.05 and 30.30: (100.10, 0),
        // (20.00, 30.05), (0, 30.30), not 20.000000000000014.
        w.pay({"3/26-27", "4/26-27", "5/26-27"}, "120.10", "60.35");
        // 0.61 and 89.40 paid with 90.005: 0.61 and 89.395 used, recorded
        // 0.61 and 89.40 (the last takes the remainder of 90.005 in paise).
        w.pay({"6/26-27", "7/26-27"}, "90.005", "");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Payment recorded successfully!"));
        QCOMPARE(rows("SELECT invoice_no, quote(paid_amount), quote(tds_amount) FROM invoice_payments ORDER BY pay_id"),
                 QStringList({"1|63.19|0.0", "2|100.0|0.0", "3|100.1|0.0", "4|20.0|30.05", "5|0.0|30.3", "6|0.61|0.0",
                              "7|89.4|0.0"}));
        QCOMPARE(rows("SELECT payment_ref IS NOT NULL, SUM(paid_amount) = 120.10, SUM(tds_amount) = 60.35 "
                      "FROM invoice_payments WHERE invoice_no IN (3, 4, 5)"),
                 QStringList({"1|1|1"}));
        QVERIFY(w.shown().isEmpty());
    }

    // Random payments with third decimals that pass the checks: every share
    // is of 0 or more and within its balance, the shares add up to the
    // selected total, and their paid parts to the paid amount in paise.
    void splitAddsUpToTheSelectedTotal()
    {
        QRandomGenerator random(4114);
        int accepted = 0;
        for (int run = 0; run < 3000; ++run) {
            QList<PaymentTarget> targets;
            qint64 selected = 0;
            for (int i = 0, n = 1 + random.bounded(5); i < n; ++i) {
                const qint64 balance = 1 + random.bounded(2000000);
                targets.append({i + 1, "26-27", Money::fromPaise(balance)});
                selected += balance;
            }
            // In thousandths: paid anywhere up to the total + 0.005, TDS the
            // rest give or take 0.005.
            const qint64 paid = random.bounded(selected * 10 + 6);
            const qint64 tds = qMax<qint64>(0, selected * 10 - paid + random.bounded(11) - 5);
            const QString paidText = QString::number(paid / 1000.0, 'f', 3);
            const QString tdsText = QString::number(tds / 1000.0, 'f', 3);
            PaymentInput input{int(targets.size()), {}, paidText, tdsText, {1}};
            input.selected += Money::fromPaise(selected);
            if (checkPayment(input))
                continue;
            ++accepted;
            const QList<PaymentShare> shares = splitPayment(targets, *Decimal::fromText(paidText), *Decimal::fromText(tdsText));
            Money both, paidShares;
            for (const PaymentShare &share : shares) {
                QVERIFY(share.paid >= Money() && share.tds >= Money());
                QVERIFY(share.paid + share.tds <= targets[share.invoiceNo - 1].balance);
                both += share.paid + share.tds;
                paidShares += share.paid;
            }
            QCOMPARE(both, Money::fromPaise(selected));
            QCOMPARE(paidShares, Decimal::fromText(paidText)->toMoney() < Money::fromPaise(selected)
                                     ? Decimal::fromText(paidText)->toMoney()
                                     : Money::fromPaise(selected));
        }
        QVERIFY(accepted > 2000);
    }

    // Within 0.005 the paid amount may pass the selected total; TDS alone pays.
    void tolerancesAndTdsOnly()
    {
        addInvoice({1, "26-27", daysAgo(30), Acme, 100});
        addInvoice({2, "26-27", daysAgo(30), Bolt, 60});
        Window w;
        w.pay({"1/26-27"}, "100.004", "");
        w.pay({"2/26-27"}, "", "60");
        QCOMPARE(rows("SELECT invoice_no, printf('%.3f', paid_amount), printf('%.2f', tds_amount), customer_id "
                      "FROM invoice_payments ORDER BY pay_id"),
                 QStringList({"1|100.000|0.00|1", "2|0.000|60.00|2"}));
        QVERIFY(w.shown().isEmpty());
    }

    // 10,001 invoices of the largest amount: the statement prints the total
    // 10,001 x 99,999,999,999.99 = 1,000,099,999,999,899.99, and a payment
    // against such a selection is compared with it exactly (99,999,999,999.99
    // paid leaves 999,999,999,999,900.00 of TDS expected), as against one
    // that just passes the bound, to beyond the millionth.
    void hugeSelectionsAreTotalledExactly()
    {
        exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10001) "
                     "INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, grand_total, "
                     "fy_name, is_deleted) SELECT i, i || '/26-27', '%1', %2, 99999999999.99, '26-27', 0 FROM n")
                 .arg(daysAgo(10)).arg(Acme));
        Window w;
        {
            StandInTool tool(env->folder()); // the document as given to the tool, its total in its last part
            w.click("print_pending_state_btn");
            QVERIFY(tool.htmlGiven().last().contains("color:#cc0000;'>Rs. 1000099999999899.99</td>"));
        }

        const auto check = [](int rows, const QString &balance, const QString &paid, const QString &tds) {
            PaymentInput input{rows, {}, paid, tds, {Acme}};
            for (int i = 0; i < rows; ++i)
                input.selected += *Money::fromText(balance);
            const auto refusal = checkPayment(input);
            return refusal ? refusal->title + "|" + refusal->text : QString();
        };
        QCOMPARE(check(10001, "99999999999.99", "99999999999.99", ""),
                 QString("Amount Mismatch|Paid + TDS must equal selected total!\n\nSelected Total : 1000099999999899.99\n"
                         "Paid Amount    : 99999999999.99\nTDS Amount     : 0.00\nCurrent Total  : 99999999999.99\n\n"
                         "Expected TDS   : 999999999999900.00"));
        // 2 x 50,000,000,000.00 = 100,000,000,000.00.
        QCOMPARE(check(2, "50000000000.00", "99999999999.99", "0.0149999"), QString());
        QVERIFY(check(2, "50000000000.00", "99999999999.99", "0.0150001").startsWith("Amount Mismatch|"));
    }

    // An invoice of 10^16, written by another program, paid 2.5: it owes
    // 9,999,999,999,999,997.50, shown and totalled exactly; a payment
    // against it is refused, naming the invoice and its balance.
    void invoiceStoredBeyondTheFormsShowsItsBalanceAndIsRefused()
    {
        addInvoice({1, "26-27", daysAgo(10), Acme, 1e16});
        addPayment(1, "26-27", daysAgo(1), 2, 0.5, Acme);
        addInvoice({2, "26-27", daysAgo(10), Acme, 100});
        Window w;
        QCOMPARE(tableCell(w.list, w.rowOf("1/26-27"), 5), QString("9999999999999997.50"));
        const QStringList before = paymentRows();
        w.pay({"1/26-27", "2/26-27"}, "100", "");
        // The balance and 100.00 ticked: 10,000,000,000,000,097.50.
        QCOMPARE(w.edit("total_amountEdit")->text(), QString("10000000000000097.50"));
        QCOMPARE(env->desktop.lastShown(),
                 QString("Figure Too Large|Invoice No 1/26-27: Balance 9999999999999997.50 is too large to work "
                         "with: the program works exactly only below 1,000,000,000,000,000.\nNothing was recorded."));
        QCOMPARE(paymentRows(), before);

        // Another of 10^16 paid 9,999,999,999,999,900 by another program:
        // 100.00 owed, paid exactly.
        addInvoice({3, "26-27", daysAgo(10), Acme, 1e16});
        addPayment(3, "26-27", daysAgo(1), 9999999999999900.0, 0, Acme);
        w.click("show_btn");
        QCOMPARE(tableCell(w.list, w.rowOf("3/26-27"), 5), QString("100.00"));
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        w.pay({"3/26-27"}, "90", "10");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Payment recorded successfully!"));
        QCOMPARE(rows("SELECT paid_amount, tds_amount FROM invoice_payments WHERE invoice_no = 3 AND paid_amount < 1000"),
                 QStringList({"90|10"}));
        QCOMPARE(w.rowOf("3/26-27"), -1); // settled
    }

    // A failing insert takes the whole payment back and shows the driver's text.
    void failedInsertRollsBackThePayment()
    {
        addInvoice({1, "26-27", daysAgo(30), Acme, 100});
        addInvoice({2, "26-27", daysAgo(20), Acme, 80});
        exec("CREATE TRIGGER refuse BEFORE INSERT ON invoice_payments WHEN NEW.invoice_no = 2 "
             "BEGIN SELECT RAISE(ABORT, 'payments are locked'); END");
        Window w;
        w.pay({"1/26-27", "2/26-27"}, "180", "");
        QCOMPARE(env->desktop.lastMessage().title, QString("Error"));
        QVERIFY2(env->desktop.lastMessage().text.contains("payments are locked"), qPrintable(env->desktop.lastShown()));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments"), 0);
    }

    // Between the listing and the payment of 1/26-27 (100.00) and 2/26-27
    // (50.00), another copy of the program pays (even 0.005), changes, cancels
    // or deletes 2/26-27 (its number perhaps taken again): refused by name,
    // nothing paid.
    void invoicesChangedMeanwhileAreRefused_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("stored"); // invoice and paid amount, the other copy's first
        QTest::addColumn<QStringList>("listed"); // after the refusal
        const QString payOf = "INSERT INTO invoice_payments (invoice_no, fy_name, paid_amount, tds_amount) "
                              "VALUES (2, '26-27', %1, 0)";
        const QStringList first{"1/26-27"}, both{"1/26-27", "2/26-27"};
        QTest::newRow("paid") << payOf.arg("0.01") << QStringList{"2|0.010"} << both;
        QTest::newRow("cancelled") << "UPDATE invoices SET is_deleted = 1 WHERE invoice_no = 2" << QStringList()
                                   << first;
        QTest::newRow("deleted") << "DELETE FROM invoices WHERE invoice_no = 2" << QStringList() << first;
        QTest::newRow("number taken again") << "UPDATE invoices SET invoice_id = 9 WHERE invoice_no = 2"
                                            << QStringList() << both;
        QTest::newRow("paid 0.005") << payOf.arg("0.005") << QStringList{"2|0.005"} << both;
        QTest::newRow("date") << "UPDATE invoices SET invoice_date = '" + daysAgo(19) + "' WHERE invoice_no = 2"
                              << QStringList() << both;
        QTest::newRow("remarks") << "UPDATE invoices SET remarks = 'resent' WHERE invoice_no = 2" << QStringList()
                                 << both;
    }
    void invoicesChangedMeanwhileAreRefused()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, listed);
        addInvoice({1, "26-27", daysAgo(30), Acme, 100});
        addInvoice({2, "26-27", daysAgo(20), Acme, 50});
        Window w;
        writeAsOtherCopy(meanwhile);
        w.pay({"1/26-27", "2/26-27"}, "150", "");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Invoice No 2/26-27 was paid, changed, cancelled or deleted "
                                                   "meanwhile, perhaps in another window. Nothing was recorded; "
                                                   "the list has been reloaded."));
        QCOMPARE(rows("SELECT invoice_no, printf('%.3f', paid_amount) FROM invoice_payments ORDER BY pay_id"), stored);
        QCOMPARE(w.shown(), listed);
    }

    // Listed with its payments: refused once one of them is deleted
    // meanwhile; listed again, unchanged, paid in full.
    void invoiceListedWithPaymentsIsPaidAsListed()
    {
        addInvoice({1, "26-27", daysAgo(30), Acme, 100});
        addInvoice({2, "26-27", daysAgo(20), Acme, 50});
        addInvoice({2, "25-26", daysAgo(400), Acme, 70});
        writeAsOtherCopy("INSERT INTO invoice_payments (payment_date, invoice_no, fy_name, paid_amount, tds_amount) "
                         "VALUES ('" + daysAgo(10) + "', 2, '26-27', 6, 4), ('" + daysAgo(300)
                         + "', 2, '25-26', 70, 0), ('" + daysAgo(5) + "', 2, '26-27', 1, 0)");
        Window w;
        QCOMPARE(w.shown(), (QStringList{"1/26-27", "2/26-27"}));
        writeAsOtherCopy("DELETE FROM invoice_payments WHERE pay_id = 3");
        w.pay({"2/26-27"}, "39", "");
        QVERIFY(env->desktop.lastShown().startsWith("Error|Invoice No 2/26-27 was paid, changed, cancelled or deleted"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments"), 2);
        w.pay({"2/26-27"}, "40", "");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Payment recorded successfully!"));
        QCOMPARE(w.shown(), QStringList{"1/26-27"});
    }

    void pendingStatementPrintsTheListedRows()
    {
        exec("UPDATE company_settings SET company_name = 'R&D <Works>' WHERE id = 1");
        addInvoice({1, "26-27", daysAgo(91), Bolt, 1000});
        addInvoice({2, "26-27", daysAgo(61), Acme, 200.25});
        addInvoice({3, "26-27", daysAgo(60), Acme, 100});
        Window w;
        StandInTool tool(env->folder());
        tool.setSource(QSize(2480, 1200)); // three rows fill less than a landscape page
        w.click("print_pending_state_btn");

        QCOMPARE(env->desktop.previews.size(), 1);
        const QString html = tool.htmlOfRun(1);
        const QStringList parts{"<div class='doc-title'>PAYMENT PENDING STATEMENT</div>",
                                    "Financial Year: 26-27",
                                    "<div class='company-title'>R&amp;D &lt;Works&gt;</div>",
                                    "<tr style='background-color:#f8d7da;'><td class='center' style='width:15%;'>1/26-27</td>",
                                    "<td class='left' style='width:40%;'>BOLT &amp; SONS &lt;PVT&gt;</td>",
                                    "<tr style='background-color:#fff3cd;'><td class='center' style='width:15%;'>2/26-27</td>",
                                    "<tr style=''><td class='center' style='width:15%;'>3/26-27</td>",
              "Grand Total Pending:</td><td class='right' style='font-size:16px; color:#cc0000;'>Rs. 1300.25</td>"};
        for (const QString &part : parts)
            QVERIFY2(html.contains(part), qPrintable(part));
        QCOMPARE(env->desktop.previews[0].pageCount, 1);

        // A filter that lists nothing prints nothing.
        child<QDateEdit>(w.w, "todateEdit")->setDate(QDate::currentDate().addYears(-3));
        w.click("show_btn");
        w.click("print_pending_state_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Print|No data to print!"));
        QCOMPARE(env->desktop.previews.size(), 1);
    }

    // Three hundred rows are one picture of some 18,000 pixels: every page of
    // it is previewed, none left blank.
    void aLongStatementPrintsOnEveryPage()
    {
        exec("BEGIN");
        for (int n = 1; n <= 300; ++n)
            addInvoice({n, "26-27", daysAgo(400 - n), Acme, double(1000 + n)});
        exec("COMMIT");
        Window().click("print_pending_state_btn");
        QVERIFY2(env->desktop.previews[0].pageCount >= 10, qPrintable(QString::number(env->desktop.previews[0].pageCount)));
    }

    void salesMenuOpensKeptWindows()
    {
        auto *sales = new SalesWindow;
        for (int i = 0; i < 2; ++i)
            child<QAction>(sales, "actionPayment_Pending_Details")->trigger();
        QCOMPARE(topLevelWindows<paymentFollowUp>().size(), 1);
        child<QAction>(sales, "actionPayment_History")->trigger();
        QCOMPARE(topLevelWindows<paymentStatement>().size(), 1);
        click(topLevelWindows<paymentFollowUp>().first(), "goto_pay_state_btn");
        QCOMPARE(topLevelWindows<paymentStatement>().size(), 2);
        delete sales;
    }

    // Under the application's own style sheet both windows keep the form's
    // font on every text they show, the pop-up of a combo included: the
    // form's style sheet must not put the platform's font back.
    void windowsShowTheFormFont()
    {
        const ApplicationStyleInTest style;
        addInvoice({1, "26-27", daysAgo(3), Acme, 100});
        addPaymentRow({"PAY1", daysAgo(1), Acme, 1, "26-27", 40});
        const QList<QWidget *> windows{new paymentFollowUp, new paymentStatement};
        for (QWidget *w : windows) {
            w->show();
            const QStringList wrong = widgetsNotShowing(w, "Times New Roman");
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        }
    }
};

QTEST_MAIN(TestPaymentFollowUp)
#include "tst_paymentfollowup.moc"
