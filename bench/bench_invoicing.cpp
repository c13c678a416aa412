// The invoicing windows on a heavy two-year file (15,000 challans, 10,000
// invoices, no indexes beyond the schema's): the invoice generation window
// opening on its challan list, and an invoice form loading a challan of 50
// lines, each against the time of its statements alone.
//
//   bench_invoicing            the figures
//   bench_invoicing --as-given also the generation list statement with one
//                              subquery per challan line (about 44 s)

#include "support/heavyinvoices.h"
#include "support/recordingdesktop.h"
#include "app/financialyear.h"
#include "invoicing/generationstore.h"
#include "invoicing/generatinvoices.h"
#include "invoicing/invoicegstlist.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/invoicestore.h"

#include <QApplication>
#include <QTableWidget>

#include <cstdio>

namespace {

const int LongChallan = 90000;

void printRatio(const QString &what, double statements, double window)
{
    const double limit = 1.5 * statements + 100;
    std::printf("%-62s %9.2f    window %.1f ms, statements %.1f ms: %s the limit 1.5 x statements + 100 ms = %.1f ms\n",
                qPrintable(what + ": ratio"), window / statements, window, statements,
                window <= limit ? "within" : "ABOVE", limit);
    std::fflush(stdout);
}

void timeGeneration()
{
    std::printf(" invoice generation:\n");
    QList<InvoiceChallanRow> rows;
    QString error;
    const double statement = msOf(
        [&] {
            if (!queryInvoiceChallans(-1, g_currentFY, PendingFilter::Open, &rows, &error))
                qFatal("challan list: %s", qPrintable(error));
        },
        3);
    printFigure("  challan list statement alone (pending rows)", statement, rowsText(rows.size()));

    generatInvoices *window = nullptr;
    QTableWidget *list = nullptr;
    const double opened = msOf([&] {
        window = new generatInvoices();
        list = window->findChild<QTableWidget *>("gen_invoice_table");
        window->show();
        QApplication::processEvents();
    });
    printFigure("  window built, filled and shown", opened, rowsText(list->rowCount()));
    printRatio("  window opening", statement, opened);
    printFigure("  scrolled to the bottom and back", msOf([&] {
                    list->scrollToBottom();
                    QApplication::processEvents();
                    list->scrollToTop();
                    QApplication::processEvents();
                }));
    delete window;
}

void timeForm()
{
    std::printf(" invoice form with a challan of 50 lines:\n");
    QList<InvoiceListRow> listRows;
    BillableLines billable;
    QString error;
    const double statements = msOf(
        [&] {
            if (!queryInvoiceList({-1, QString(), QString(), g_currentFY}, &listRows, &error))
                qFatal("invoice list: %s", qPrintable(error));
            InvoiceCustomer customer;
            readInvoiceCustomer(1, &customer);
            nextInvoiceNumber(g_currentFY);
            billable = billableChallanLines({LongChallan}, g_currentFY);
        },
        3);
    printFigure("  statements alone (mini list, customer, number, lines)", statements,
                QString("%1 listed, %2 lines").arg(countText(listRows.size()), countText(billable.lines.size())));

    invoicesandlist *form = nullptr;
    const double opened = msOf([&] {
        form = new invoicesandlist();
        form->setDeliveryData({LongChallan}, 1, QString(), g_currentFY);
        form->show();
        QApplication::processEvents();
    });
    printFigure("  form built, filled and shown", opened,
                QString("%1 lines").arg(form->findChild<QTableWidget *>("invoice_table")->rowCount()));
    printRatio("  form opening", statements, opened);
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_currentFY = "26-27";
    TestEnvironment env;
    if (!env.openDatabase())
        qFatal("cannot open the database");
    const DataSize size = heavyInvoicingYears();
    std::printf("two years: %s\n", qPrintable(fillData(size).summary()));
    addLongChallan(size, LongChallan, "26-27", 50);
    timeGeneration();
    timeForm();
    if (app.arguments().contains("--as-given"))
        timeAsGiven();
    return 0;
}
