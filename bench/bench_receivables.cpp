// Receivables on two heavy years (5,000 invoices in each, 20,000 payment
// rows): the payment follow-up list and the payment history, each timed as
// its statements alone and as the window opening, Show and Reset, with the
// ratio and the limit of 1.5 x the statements + 100 ms (the fastest of five
// runs each).
//
//   bench_receivables            the figures
//   bench_receivables --as-given also the statements that sum the payments
//                                once per listed row

#include "core/financialyear.h"
#include "invoicing/invoiceliststore.h"
#include "invoicing/paymentfollowup.h"
#include "invoicing/paymentstatement.h"
#include "invoicing/paymentstore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavypayments.h"
#include "support/shellfloor.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDateEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>

#include <cstdio>

namespace {

// Both years whole.
const QDate WideFrom(2025, 4, 1);
const QDate WideTo(2027, 3, 31);

PaymentFilter filterOf(const QDate &from, const QDate &to)
{
    return {from.toString("yyyy-MM-dd"), to.toString("yyyy-MM-dd"), -1, "26-27"};
}

// Times a receivables window against the floor of its statements: its rows,
// and, when `keepsPayments`, the payments it keeps of its invoices.
template<class Window, class Query, class Statement>
void timeWindow(const char *name, const char *tableName, const Query &query, const Statement &statement,
                bool keepsPayments)
{
    const auto listed = [&](const PaymentFilter &filter) {
        QVariantMap values;
        const QString text = storedSumStatement(statement(filter, &values), StoredSumRun::Integers);
        QList<ListStatement> statements{ListStatement(text, values)};
        if (keepsPayments)
            statements << ListStatement(ListedInvoicePayments::statement());
        return statements;
    };
    std::printf(" %s\n", name);
    const double openStatement = bestMsOf([&] { query(filterOf(defaultPeriodStart(), QDate::currentDate())); }, 5);
    const double wideStatement = bestMsOf([&] { query(filterOf(WideFrom, WideTo)); }, 5);

    Window *window = nullptr;
    const double opened = bestOpeningMs(&window);
    auto *table = window->template findChild<QTableWidget *>(tableName);
    printAgainstStatements("  window opened and shown, default period", openStatement, opened, table->rowCount(),
                           listed(filterOf(defaultPeriodStart(), QDate::currentDate())));

    const auto bothYears = [&] {
        window->template findChild<QDateEdit *>("fromdateEdit")->setDate(WideFrom);
        window->template findChild<QDateEdit *>("todateEdit")->setDate(WideTo);
    };
    bothYears();
    const double shown = bestClickMs(window, "show_btn");
    printAgainstStatements("  Show, both years", wideStatement, shown, table->rowCount(), listed(filterOf(WideFrom, WideTo)));
    printScrolled(table, "  ");
    const double reset = bestClickMs(window, "reset_btn", 5, [&] {
        bothYears();
        window->template findChild<QPushButton *>("show_btn")->click();
        settle();
    });
    printAgainstStatements("  Reset after both years", openStatement, reset, table->rowCount(),
                           listed(filterOf(defaultPeriodStart(), QDate::currentDate())));
    delete window;
}

int pendingRows(const PaymentFilter &filter)
{
    QList<PendingInvoice> rows;
    QString error;
    if (!queryPendingInvoices(filter, &rows, &error))
        qFatal("pending: %s", qPrintable(error));
    return rows.size();
}

int historyRows(const PaymentFilter &filter)
{
    QList<PaymentHistoryRow> rows;
    QString error;
    if (!queryPaymentHistory(filter, &rows, &error))
        qFatal("history: %s", qPrintable(error));
    return rows.size();
}

// The follow-up statement with a subquery per invoice, and the history's
// statement followed by one sum per listed payment.
void timeAsGiven()
{
    std::printf(" as given, both years\n");
    const QVariantMap values{{":from", WideFrom.toString("yyyy-MM-dd")},
                             {":to", WideTo.toString("yyyy-MM-dd")},
                             {":fy", "26-27"}};
    int rows = 0;
    printTimed(
        "  follow-up, a subquery per invoice",
        [&] {
            rows = countRows(
                "SELECT v.invoice_no, v.invoice_no_full, v.invoice_date, c.customer_name, v.grand_total, "
                "IFNULL((SELECT SUM(p.paid_amount + p.tds_amount)   FROM invoice_payments p   WHERE p.invoice_no = "
                "v.invoice_no   AND p.fy_name = v.fy_name), 0) AS settled, v.fy_name FROM invoices v JOIN customers c "
                "ON v.customer_id = c.customer_id WHERE v.is_deleted = 0 AND v.invoice_date >= :from AND "
                "v.invoice_date <= :to ORDER BY CASE WHEN v.fy_name = :fy THEN 0 ELSE 1 END ASC, v.fy_name DESC, "
                "v.invoice_date ASC, v.invoice_no ASC",
                values);
        },
        [&] { return rowsText(rows); });
    printTimed(
        "  history, a sum per payment",
        [&] {
            QSqlQuery list;
            list.prepare("SELECT p.payment_ref FROM invoice_payments p JOIN invoices v ON p.invoice_no = v.invoice_no "
                         "AND p.fy_name = v.fy_name JOIN customers c ON p.customer_id = c.customer_id WHERE "
                         "p.payment_date >= :from AND p.payment_date <= :to ORDER BY CASE WHEN p.fy_name = :fy THEN 0 "
                         "ELSE 1 END ASC, p.fy_name DESC, p.payment_date DESC, p.payment_ref ASC, p.pay_id ASC");
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                list.bindValue(it.key(), it.value());
            list.exec();
            QSqlQuery sum;
            sum.prepare("SELECT SUM(paid_amount + tds_amount) FROM invoice_payments WHERE payment_ref = :ref");
            QString previous;
            rows = 0;
            while (list.next()) {
                ++rows;
                const QString ref = list.value(0).toString();
                if (ref == previous)
                    continue;
                previous = ref;
                sum.bindValue(":ref", ref);
                sum.exec();
                sum.next();
            }
        },
        [&] { return rowsText(rows); });
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("two heavy years: %s\n", qPrintable(fillData(heavyReceivablesYears()).summary()));
    std::printf("  %s\n", qPrintable(fillPayments().summary()));
    if (app.hasOption("--as-given"))
        timeAsGiven();
    timeWindow<paymentFollowUp>("payment follow-up", "payment_pending_table", pendingRows, pendingInvoicesStatement,
                                true);
    timeWindow<paymentStatement>("payment history", "paid_state_table", historyRows, paymentHistoryStatement, false);
    printLimitVerdict();
    return 0;
}
