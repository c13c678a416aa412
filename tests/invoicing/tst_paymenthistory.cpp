// Payment history: payments grouped under their totals (once, even across
// two years), paid days and their average, deleting payment rows, and the
// printed payment statement.

#include "support/paymentdata.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/testenvironment.h"
#include "support/tickcells.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "invoicing/paymentstatement.h"
#include "invoicing/paymentstore.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace testdata;

namespace {

enum { Acme = 1, Bolt = 2 };

struct Window
{
    paymentStatement *w = new paymentStatement; // deleted by the test environment
    QTableWidget *list = child<QTableWidget>(w, "paid_state_table");

    Window()
    {
        w->show();
        child<QDateEdit>(w, "fromdateEdit")->setDate(QDate::currentDate().addYears(-2));
        click("show_btn");
    }
    // Invoice, paid amount, paid date, mode and paid days of each row.
    QStringList shown() const
    {
        QStringList out;
        for (int r = 0; r < list->rowCount(); ++r)
            out << QStringList{tableCell(list, r, 2), tableCell(list, r, 6), tableCell(list, r, 7),
                               tableCell(list, r, 8), tableCell(list, r, 9)}.join("|");
        return out;
    }
    void tick(int row) const { clickTickBox(list, row); }
    QString field(const char *name) const { return child<QLineEdit>(w, name)->text(); }
    void click(const char *name) const { ::click(w, name); }
    // Shows the payments of one day, `daysBack` days ago.
    void showDay(int daysBack) const
    {
        for (const char *edit : {"fromdateEdit", "todateEdit"})
            child<QDateEdit>(w, edit)->setDate(QDate::currentDate().addDays(-daysBack));
        click("show_btn");
    }
};

QString shownDate(int daysBack)
{
    return QDate::currentDate().addDays(-daysBack).toString("dd-MM-yyyy");
}

} // namespace

class TestPaymentHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    // Three payments: one over three invoices (paid 0, 10 and 21 days after
    // them), one over invoices of two years, one without a reference.
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QVERIFY(openWithAcmeAndBolt(*env));
        addInvoice({1, "26-27", daysAgo(26), Acme, 100});
        addInvoice({2, "26-27", daysAgo(15), Acme, 50});
        addInvoice({3, "26-27", daysAgo(5), Acme, 30});
        addInvoice({4, "26-27", daysAgo(13), Acme, 40});
        addInvoice({5, "25-26", daysAgo(303), Acme, 70});
        addInvoice({7, "26-27", daysAgo(61), Bolt, 250});
        const QString one = "PAY20260901100000", two = "PAY20260902100000";
        addPaymentRow({one, daysAgo(5), Acme, 1, "26-27", 100, 0, "NEFT", "first"});
        addPaymentRow({one, daysAgo(5), Acme, 2, "26-27", 20, 30, "NEFT", "first"});
        addPaymentRow({one, daysAgo(5), Acme, 3, "26-27", 0, 30, "NEFT", "first"});
        addPaymentRow({two, daysAgo(3), Acme, 5, "25-26", 70, 0, "UPI", "two years"});
        addPaymentRow({two, daysAgo(3), Acme, 4, "26-27", 40, 0, "UPI", "two years"});
        addPaymentRow({"", daysAgo(1), Bolt, 7, "26-27", 150, 50, "Cheque", "cheque & <bounced>"});
    }
    void cleanup() { env.reset(); }

    void paymentsAreGroupedAndCountedOnce()
    {
        Window w;
        QCOMPARE(w.shown(), QStringList({"7/26-27|200.00|" + shownDate(1) + "|Cheque|60",
                                         "4/26-27|110.00|" + shownDate(3) + "|UPI|10",
                                         "5/25-26||||300",
                                         "1/26-27|180.00|" + shownDate(5) + "|NEFT|21",
                                         "2/26-27||||10",
                                         "3/26-27||||0"}));
        QCOMPARE(rowTexts(w.list, 1).mid(3), QStringList({shownDate(13), "ACME", "40.00", "110.00", shownDate(3),
                                                          "UPI", "10", "two years"}));
        // No heading is cut, bold as it is while a row is selected.
        QHeaderView *header = w.list->horizontalHeader();
        for (int c = 0; c < w.list->columnCount(); ++c)
            QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c) || w.list->isColumnHidden(c),
                     qPrintable(w.list->horizontalHeaderItem(c)->text()));
        QCOMPARE(w.field("tot_paid_amtEdit"), QString("490.00"));
        QCOMPARE(w.field("tot_inv_amtEdit"), QString("540.00"));
        // 401 days over the five rows paid after at least a day.
        QCOMPARE(w.field("avg_paid_days"), QString("80.2 days"));
        QCOMPARE(child<QLineEdit>(w.w, "avg_paid_days")->styleSheet(),
                 QString("background-color: #fff3cd; color: black;"));

        // One payment of the period: 10 and 21 days average 15.5.
        w.showDay(5);
        QCOMPARE(w.list->rowCount(), 3);
        QCOMPARE(w.field("avg_paid_days"), QString("15.5 days"));
        QCOMPARE(child<QLineEdit>(w.w, "avg_paid_days")->styleSheet(),
                 QString("background-color: #d4edda; color: black;"));
        QCOMPARE(averageDaysStyle(90.1), QString("background-color: #f8d7da; color: black;"));
    }

    void deletingRowsMakesTheirInvoicesPending()
    {
        Window w;
        w.click("delete_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Select at least one payment record!"));

        w.tick(4); // 2/26-27 of the three-invoice payment
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        w.click("delete_btn");
        const auto &shown = env->desktop.messages;
        QCOMPARE(shown.at(shown.size() - 2).title + "|" + shown.at(shown.size() - 2).text,
                 QString("Confirm Delete|Delete 1 payment record(s)?\n\n"
                         "The invoice(s) will show as PENDING again in Payment Follow Up."));
        QCOMPARE(env->desktop.lastShown(), QString("Deleted|Payment record(s) deleted! Invoice(s) pending again."));
        QCOMPARE(rows("SELECT invoice_no FROM invoice_payments WHERE payment_ref = 'PAY20260901100000'"),
                 QStringList({"1", "3"}));
        QCOMPARE(w.shown().mid(3), QStringList({"1/26-27|130.00|" + shownDate(5) + "|NEFT|21", "3/26-27||||0"}));
    }

    void failedDeleteKeepsEveryRow()
    {
        exec("CREATE TRIGGER refuse BEFORE DELETE ON invoice_payments WHEN OLD.invoice_no = 3 "
             "BEGIN SELECT RAISE(ABORT, 'payments are locked'); END");
        Window w;
        w.tick(3);
        w.tick(5);
        w.click("delete_btn");
        QCOMPARE(env->desktop.lastMessage().title, QString("Error"));
        QVERIFY(env->desktop.lastMessage().text.contains("payments are locked"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments"), 6);
    }

    // Another copy deleted or changed one of the ticked rows since the list
    // was read: nothing is deleted, the other copy's row stays, no success.
    void rowChangedMeanwhileDeletesNothing_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("kept"); // the payments of invoices 1 and 2
        const QString set = "UPDATE invoice_payments SET %1 WHERE invoice_no = 2";
        const QString changed = "was changed or deleted meanwhile, perhaps in another window.";
        QTest::newRow("deleted") << "DELETE FROM invoice_payments WHERE invoice_no = 2"
                                 << "no longer exists; it may have been deleted in another window." << QStringList{"1  NEFT"};
        QTest::newRow("cheque ref") << set.arg("chq_ref = 'CHQ-9'") << changed << QStringList{"1  NEFT", "2 CHQ-9 NEFT"};
        QTest::newRow("mode") << set.arg("pay_mode = 'UPI'") << changed << QStringList{"1  NEFT", "2  UPI"};
    }
    void rowChangedMeanwhileDeletesNothing()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QString, how);
        QFETCH(QStringList, kept);
        Window w;
        w.tick(3);
        w.tick(4);
        writeAsOtherCopy(meanwhile);
        w.click("delete_btn");
        QCOMPARE(env->desktop.lastShown(), "Error|The payment record of Invoice No 2/26-27 " + how + " Nothing was deleted.");
        QCOMPARE(rows("SELECT invoice_no || ' ' || chq_ref || ' ' || pay_mode FROM invoice_payments "
                      "WHERE invoice_no <= 2 ORDER BY pay_id"), kept);
    }

    void statementPrintsOneBlockPerPayment()
    {
        Window w;
        StandInTool tool(env->folder());
        w.click("print_state_btn");
        QCOMPARE(env->desktop.previews.size(), 1);
        const QString html = tool.htmlGiven().last();

        const QStringList parts{
            "<div class='doc-title'>SUPPLIER PAYMENT STATEMENT</div>",
            "<td class='left' style='width:22%;'>BOLT &amp; SONS &lt;PVT&gt;</td>",
            "<td class='left' rowspan='1' style='width:10%;'>cheque &amp; &lt;bounced&gt;</td>",
            "<td class='right nowrap' rowspan='2' style='width:11%;'>110.00</td>",
            "<td class='right nowrap' rowspan='3' style='width:11%;'>180.00</td><td class='center nowrap' "
            "rowspan='3' style='width:11%;'>" + shownDate(5) + "</td><td class='center nowrap' rowspan='3' "
            "style='width:8%;'>NEFT</td><td class='center bold' style='width:7%;'>21</td><td class='left' "
            "rowspan='3' style='width:10%;'>first</td></tr>",
            "<tr><td class='center nowrap' style='width:10%;'>2/26-27</td><td class='center nowrap' style='width:10%;'>"
            + shownDate(15) + "</td><td class='left' style='width:22%;'>ACME</td><td class='right nowrap' "
            "style='width:11%;'>50.00</td><td class='center bold' style='width:7%;'>10</td></tr>",
            "Grand Total:</td><td class='right' style='font-size:32px;'>540.00</td>"
            "<td class='right' style='font-size:32px; color:#008000;'>490.00</td>",
            // (60 + 10 + 300 + 21 + 10 + 0) / 6 = 66.8
            "Average Paid Days:</td><td class='center' style='font-size:32px; color:#004085;'>67 Days</td>"};
        for (const QString &part : parts)
            QVERIFY2(html.contains(part), qPrintable(part));
        QCOMPARE(html.count("<tr>"), 6 + 2); // the rows, the company and the column headers

        // Days 0, 10 and 21 print as an average of 10.
        w.showDay(5);
        w.click("print_state_btn");
        QVERIFY(tool.htmlGiven().last().contains("color:#004085;'>10 Days</td>"));

        child<QDateEdit>(w.w, "todateEdit")->setDate(QDate::currentDate().addYears(-3));
        w.click("show_btn");
        w.click("print_state_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Print|No data to print!"));
        QCOMPARE(env->desktop.previews.size(), 2);
    }
};

QTEST_MAIN(TestPaymentHistory)
#include "tst_paymenthistory.moc"
