// The sales dashboard on a heavy year: the heavy year's invoices with half of
// them paid (partly with TDS). Times each figure's statement, the sales
// window built with its dashboard and a refresh, each held to 1.5 x the
// page's statements + 100 ms, and the WhatsApp summary.
//
//   bench_dashboard

#include "core/financialyear.h"
#include "sales/salesdashboard.h"
#include "sales/saleswindow.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "widgets/dashboard.h"

#include <QApplication>
#include <QSqlQuery>

#include <cstdio>
#include <memory>

namespace {

// Pays every second invoice: most in full, every tenth one with TDS and a
// part left open, dated a month after the invoice.
int payHalfTheInvoices()
{
    QSqlQuery q;
    if (!q.exec("INSERT INTO invoice_payments (payment_ref, payment_date, customer_id, invoice_no, paid_amount, "
                "tds_amount, chq_ref, remarks, fy_name, pay_mode) "
                "SELECT 'PAY' || invoice_id, date(invoice_date, '+30 days'), customer_id, invoice_no, "
                "CASE WHEN invoice_id % 10 = 0 THEN grand_total * 0.5 ELSE grand_total END, "
                "CASE WHEN invoice_id % 10 = 0 THEN grand_total * 0.02 ELSE 0 END, '', '', fy_name, 'NEFT' "
                "FROM invoices WHERE invoice_id % 2 = 0"))
        qFatal("payments: %s", qPrintable(q.lastQuery()));
    return q.numRowsAffected();
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s\n", qPrintable(fillData().summary()));
    std::printf("%s payments\n\n", qPrintable(countText(payHalfTheInvoices())));

    const QString fy = g_currentFY;
    printFigure("invoice count", msOf([&] { salesInvoiceCount(fy); }));
    printFigure("year value", msOf([&] { salesYearValue(fy); }));
    printFigure("amount receivable", msOf([&] { salesReceivable(fy); }));
    printFigure("unpaid over 60 days", msOf([&] { salesUnpaidOver60Days(fy); }));
    printFigure("overdue customers", msOf([&] { salesOverdueCustomers(fy); }));
    printFigure("top customers", msOf([&] { salesTopCustomers(fy); }));
    printFigure("best payers", msOf([&] { salesBestPayers(fy); }));
    printFigure("monthly bars", msOf([&] { monthlyValues(salesChart(fy)); }));

    // The page's statements: its cards (this and last month's value among
    // them) and its bars.
    const QDate today = QDate::currentDate();
    const double statements = bestMsOf(
        [&] {
            salesInvoiceCount(fy);
            salesYearValue(fy);
            salesInvoiceValue(fy, salesMonthStart(today), today);
            salesInvoiceValue(fy, salesLastMonthStart(today), salesLastMonthEnd(today));
            salesReceivable(fy);
            salesUnpaidOver60Days(fy);
            salesOverdueCustomers(fy);
            salesTopCustomers(fy);
            salesBestPayers(fy);
            monthlyValues(salesChart(fy));
        },
        3);
    std::unique_ptr<SalesWindow> window;
    printAgainstStatements("sales window with its dashboard, built and filled", statements, msOf([&] {
                               window = std::make_unique<SalesWindow>();
                               QApplication::processEvents();
                           }),
                           0);
    printAgainstStatements("dashboard refresh", statements, bestMsOf([&] {
                               window->refreshDashboard();
                               QApplication::processEvents();
                           }, 3),
                           0);
    printFigure("WhatsApp summary text", msOf([&] {
                    salesSummaryText("Bench Works", QDate::currentDate(),
                                     loadSalesSummary(fy, QDate::currentDate()));
                }));
    return printLimitVerdict() ? 0 : 1;
}
