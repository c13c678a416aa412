// The invoicing windows on a heavy two-year file (15,000 challans, 10,000
// invoices, no indexes beyond the schema's): the invoice generation window
// opening on its challan list, the invoice form opening on its mini list of
// every invoice, and an invoice form loading a challan of 50 lines, each
// against the time of its statements alone.
//
//   bench_invoicing            the figures
//   bench_invoicing --as-given also the generation list statement with one
//                              subquery per challan line (about 44 s)

#include "core/financialyear.h"
#include "core/storedsum.h"
#include "invoicing/generatinvoices.h"
#include "invoicing/generationstore.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/invoicestore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyinvoices.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QTableWidget>

#include <cstdio>

namespace {

const int LongChallan = 90000;

void timeGeneration()
{
    std::printf(" invoice generation:\n");
    QList<InvoiceChallanRow> rows;
    QString error;
    const double statement = bestMsOf(
        [&] {
            if (!queryInvoiceChallans(-1, g_currentFY, PendingFilter::Open, &rows, &error))
                qFatal("challan list: %s", qPrintable(error));
        },
        5);
    generatInvoices *window = nullptr;
    const double opened = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("gen_invoice_table");
    QVariantMap values;
    const QString sql =
        storedSumStatement(invoiceChallansStatement(-1, g_currentFY, &values), StoredSumRun::Integers);
    printAgainstStatements("  window built, filled and shown (pending rows)", statement, opened, list->rowCount(),
                           ListStatement(sql, values));
    printScrolled(list, "  ");
    delete window;
}

void timeMiniList()
{
    std::printf(" invoice form from the menu:\n");
    QList<MiniListRow> rows;
    QString error;
    const double statement = bestMsOf(
        [&] {
            if (!queryInvoiceMiniList(-1, QString(), QString(), g_currentFY, &rows, &error))
                qFatal("invoice mini list: %s", qPrintable(error));
        },
        5);
    invoicesandlist *form = nullptr;
    const double opened = bestOpeningMs(&form);
    auto *list = form->findChild<QTableWidget *>("viewing_table");
    QVariantMap values;
    const QString sql = invoiceMiniListStatement(-1, QString(), QString(), g_currentFY, &values);
    printAgainstStatements("  form opening on its mini list", statement, opened, list->rowCount(),
                           ListStatement(sql, values));
    printScrolled(list, "  ");
    delete form;
}

void timeForm()
{
    std::printf(" invoice form with a challan of 50 lines:\n");
    QList<MiniListRow> listRows;
    BillableLines billable;
    QString error;
    const double statements = bestMsOf(
        [&] {
            if (!queryInvoiceMiniList(-1, QString(), QString(), g_currentFY, &listRows, &error))
                qFatal("invoice mini list: %s", qPrintable(error));
            InvoiceCustomer customer;
            readInvoiceCustomer(1, &customer);
            nextInvoiceNumber(g_currentFY);
            billable = billableChallanLines({LongChallan}, g_currentFY);
        },
        5);
    QWidget *form = nullptr;
    const double opened = bestOpeningMs(
        [] {
            auto *made = new invoicesandlist();
            made->setDeliveryData({LongChallan}, 1, QString(), g_currentFY);
            return made;
        },
        &form);
    QVariantMap values;
    const QString listStatement = invoiceMiniListStatement(-1, QString(), QString(), g_currentFY, &values);
    printAgainstStatements(QString("  form opening (mini list of %1, %2 lines billable)")
                               .arg(countText(listRows.size()), countText(billable.lines.size())),
                           statements, opened, form->findChild<QTableWidget *>("invoice_table")->rowCount(),
                           ListStatement(listStatement, values));
    delete form;
}

// The list statement as first written: a subquery per challan line.
void timeAsGiven()
{
    const QString sql =
        "SELECT d.delivery_no, d.delivery_no_full, d.delivery_date, c.customer_name, SUM(d.delivery_qty) AS "
        "delivered_qty, IFNULL((SELECT SUM(ii.invoiced_qty)   FROM invoice_items ii   JOIN invoices inv ON "
        "ii.invoice_id = inv.invoice_id   WHERE ii.delivery_no = d.delivery_no   AND ii.fy_name = d.fy_name   AND "
        "(inv.is_deleted IS NULL   OR inv.is_deleted = 0)), 0) + IFNULL((SELECT SUM(b.binned_qty)   FROM bins b   "
        "WHERE b.delivery_no = d.delivery_no   AND b.bin_type = 'INVOICE'   AND b.fy_name = d.fy_name), 0) AS "
        "invoiced_qty, d.fy_name FROM delivery_entries d JOIN customers c ON d.customer_id = c.customer_id WHERE "
        "(d.is_deleted IS NULL OR d.is_deleted = 0) GROUP BY d.delivery_no, d.delivery_no_full, d.delivery_date, "
        "c.customer_name, d.fy_name ORDER BY CASE WHEN d.fy_name = :fy THEN 0 ELSE 1 END ASC, d.fy_name DESC, "
        "d.delivery_no DESC";
    int rows = 0;
    printTimed("  challan list, one subquery per challan line", [&] { rows = countRows(sql, {{":fy", "26-27"}}); },
               [&] { return rowsText(rows); });
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    const DataSize size = heavyInvoicingYears();
    std::printf("two years: %s\n", qPrintable(fillData(size).summary()));
    addLongChallan(size, LongChallan, "26-27", 50);
    timeGeneration();
    timeMiniList();
    timeForm();
    if (app.hasOption("--as-given"))
        timeAsGiven();
    printLimitVerdict();
    return 0;
}
