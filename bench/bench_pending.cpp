// Heavy years for delivery challan generation and the challan list. Times the
// pending list (the grouped query alone, with each filter) and the window
// opening on it, closing balances to bins, and the delivery challan form
// opening on its list of the year's challans.
//
//   one year:  the heavy year (10,000 inward entries of two lines, 15,000
//              challans drawing on them, 400 bins)
//   two years: the heavy year twice over, three lines to an entry (60,000
//              inward lines), 15,000 challans and 2,500 bins in each year
//
//   bench_pending            the figures
//   bench_pending --as-given also the list statement with two subqueries per
//                            inward line, on the one-year data

#include "core/financialyear.h"
#include "core/storedsum.h"
#include "jobwork/challanstore.h"
#include "jobwork/deliverychallanlist.h"
#include "jobwork/generatedc.h"
#include "jobwork/pendingstore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <cstdio>

namespace {

double timeQuery(const PendingQuery &query, QList<PendingRow> *rows)
{
    QString error;
    return msOf([&] {
        if (!queryPendingInwards(query, rows, &error))
            qFatal("pending list: %s", qPrintable(error));
    });
}

QString statusCounts(const QList<PendingRow> &rows)
{
    int counts[3] = {0, 0, 0};
    for (const PendingRow &row : rows)
        ++counts[static_cast<int>(row.status())];
    return QString("%1: %2 pending, %3 partial, %4 issued")
        .arg(rowsText(rows.size()), countText(counts[0]), countText(counts[1]), countText(counts[2]));
}

void timeQueries(const char *heading)
{
    std::printf(" %s\n", heading);
    QList<PendingRow> rows;
    PendingQuery query;
    query.currentFy = "26-27";
    query.filter = PendingFilter::All;
    double ms = timeQuery(query, &rows);
    printFigure("  list, all rows", ms, statusCounts(rows));
    query.filter = PendingFilter::Open;
    ms = timeQuery(query, &rows);
    printFigure("  list, pending rows", ms, rowsText(rows.size()));
    query.customerId = 17;
    ms = timeQuery(query, &rows);
    printFigure("  list, pending rows of one customer", ms, rowsText(rows.size()));
    query.customerId = -1;
    query.itemText = "grade 3";
    ms = timeQuery(query, &rows);
    printFigure("  list, pending rows, item filter \"grade 3\"", ms, rowsText(rows.size()));
}

void timeWindow()
{
    generateDC *window = nullptr;
    QTableWidget *list = nullptr;
    const auto listRows = [&] { return rowsText(list->rowCount()); };
    printTimed(
        "  window built and filled",
        [&] {
            window = new generateDC();
            list = window->findChild<QTableWidget *>("gen_dc_table");
        },
        listRows);
    printFigure("  window shown", msOf([&] {
                    window->show();
                    QApplication::processEvents();
                }));
    printTimed(
        "  radio \"All\"",
        [&] {
            window->findChild<QRadioButton *>("radio_all")->click();
            QApplication::processEvents();
        },
        listRows);
    // Against the statement: the list refilled with every row, three times.
    const double windowMs = bestClickMs(window, "radio_all", 5, [&] {
        window->findChild<QRadioButton *>("radio_issued")->setChecked(true);
        settle();
    });
    QList<PendingRow> rows;
    PendingQuery all;
    all.currentFy = "26-27";
    all.filter = PendingFilter::All;
    QString error;
    QVariantMap values;
    const QString allSql = storedSumStatement(pendingStatement(all, &values), StoredSumRun::Integers);
    printAgainstStatements("  pending list, all rows, fastest of 5",
                           bestMsOf([&] { queryPendingInwards(all, &rows, &error); }, 5), windowMs,
                           list->rowCount(), ListStatement(allSql, values));
    printScrolled(list, "  ");
    printTimed(
        "  shown again (combo and list reloaded)",
        [&] {
            window->hide();
            window->show();
            QApplication::processEvents();
        },
        listRows);
    delete window;
}

void timeChallanList()
{
    deliveryChallanList *form = nullptr;
    QTableWidget *list = nullptr;
    const auto listRows = [&] { return rowsText(list->rowCount()); };
    printTimed(
        "  challan form built and shown with its list",
        [&] {
            form = new deliveryChallanList();
            list = form->findChild<QTableWidget *>("dc_list_table");
            form->show();
            QApplication::processEvents();
        },
        listRows);
    printTimed(
        "  challan list, Show",
        [&] {
            form->findChild<QPushButton *>("show_btn")->click();
            QApplication::processEvents();
        },
        listRows);
    const double windowMs = bestClickMs(form, "reset_btn");
    QVariantMap values;
    const QString wholeList =
        storedSumStatement(challanListStatement(-1, QString(), QString(), "26-27", &values), StoredSumRun::Integers);
    printAgainstStatements("  challan list, whole list (Reset), fastest of 5",
                           bestMsOf([] { challanList(-1, QString(), QString(), "26-27"); }, 5), windowMs,
                           list->rowCount(), ListStatement(wholeList, values));
    delete form;
}

void timeBins()
{
    QList<PendingRow> rows;
    PendingQuery query;
    query.currentFy = "26-27";
    query.filter = PendingFilter::Open;
    timeQuery(query, &rows);
    QList<BinTarget> targets;
    for (int i = 0; i < 10 && i < rows.size(); ++i)
        targets.append(binTargetOf(rows.at(i)));
    BinOutcome outcome;
    printTimed("  bin 10 entries", [&] { outcome = binPendingBalances(targets, QDate::currentDate()); },
               [&] { return QString("%1 bins rows written").arg(countText(outcome.written)); });
}

// The list statement with a subquery per inward line for each figure.
void timeAsGiven()
{
    const QString sql =
        "SELECT e.inward_no, e.inward_no_full, e.inward_date, e.dc_no, e.dc_date, e.po_no, c.customer_name, "
        "SUM(e.inward_qty) AS total_inward_qty, e.customer_id, IFNULL((SELECT SUM(d.delivery_qty)   FROM "
        "delivery_entries d   WHERE d.inward_no = e.inward_no   AND d.fy_name = e.fy_name   AND (d.is_deleted IS "
        "NULL OR d.is_deleted = 0)), 0) + IFNULL((SELECT SUM(b.binned_qty)   FROM bins b   WHERE b.inward_no = "
        "e.inward_no   AND b.bin_type = 'DC'   AND b.fy_name = e.fy_name), 0) AS delivered FROM inward_entries e "
        "JOIN customers c ON e.customer_id = c.customer_id WHERE (e.is_deleted IS NULL OR e.is_deleted = 0) "
        "GROUP BY e.inward_no, e.fy_name ORDER BY CASE WHEN e.fy_name = :fy THEN 0 ELSE 1 END ASC, e.fy_name DESC, "
        "e.inward_no DESC";
    int rows = 0;
    printTimed("  list, two subqueries per inward line", [&] { rows = countRows(sql, {{":fy", "26-27"}}); },
               [&] { return rowsText(rows); });
}

void run(const char *name, const DataSize &size, bool asGiven)
{
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s: %s\n", name, qPrintable(fillData(size).summary()));
    timeQueries("pending list query:");
    if (asGiven)
        timeAsGiven();
    timeWindow();
    timeChallanList();
    timeBins();
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    const bool asGiven = app.hasOption("--as-given");
    run("one heavy year", heavyYear(), asGiven);
    run("two years", twoHeavyYears(), false);
    printLimitVerdict();
    return 0;
}
