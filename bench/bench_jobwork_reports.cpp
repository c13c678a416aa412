// The job-work reports over the heavy year (300 customers with 10 items
// each, 10,000 inward entries of two lines, 15,000 challans drawing on them)
// and over two heavy years (three lines to an entry). Times the inward
// history and the despatch details: the queries alone, the windows loading
// the whole year against their statements, and the CSV export of each.
//
//   bench_jobwork_reports            the figures
//   bench_jobwork_reports --as-given also the despatch statement with two
//                                    subqueries per inward line

#include "core/financialyear.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/inwardhistory.h"
#include "jobwork/jobworkreportstore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>

#include <functional>

#include <cstdio>

namespace {

ReportFilter year()
{
    ReportFilter f;
    f.from = "2026-04-01";
    f.to = "2027-03-31";
    f.fy = "26-27";
    return f;
}

// The filter a report window opens with (and goes back to on Reset).
ReportFilter defaultPeriod()
{
    ReportFilter f;
    f.from = defaultPeriodStart().toString("yyyy-MM-dd");
    f.to = QDate::currentDate().toString("yyyy-MM-dd");
    f.fy = "26-27";
    return f;
}

// Times the report window W against the floor of its statement: built and
// shown, Show over the whole year (again, and after another period), Reset
// after another period, and the export of its list to `csvName` in the
// application folder. `statement` runs the window's query alone through Qt;
// `sql` gives the statement text of a filter and its values.
template<class W>
void timeReportWindow(const QString &name, const char *table, TestEnvironment &env, const QString &csvName,
                      const std::function<void(const ReportFilter &)> &statement,
                      const std::function<QString(const ReportFilter &, QVariantMap *)> &sql)
{
    const auto floorOf = [&](const ReportFilter &f) {
        QVariantMap values;
        const QString text = storedSumStatement(sql(f, &values), StoredSumRun::Integers);
        return ListStatement(text, values);
    };
    const auto qtMs = [&](const ReportFilter &f) { return bestMsOf([&] { statement(f); }, 5); };
    W *window = nullptr;
    const double openMs = bestOpeningMs(&window);
    auto *list = window->template findChild<QTableWidget *>(table);
    printAgainstStatements(name + ", open (default period), fastest of 5", qtMs(defaultPeriod()), openMs,
                           list->rowCount(), floorOf(defaultPeriod()));

    auto *from = window->template findChild<QDateEdit *>("fromdateEdit");
    auto *to = window->template findChild<QDateEdit *>("todateEdit");
    auto *show = window->template findChild<QPushButton *>("show_btn");
    from->setDate(QDate(2026, 4, 1));
    to->setDate(QDate(2027, 3, 31));
    const double windowMs = bestClickMs(window, "show_btn");
    const double statementMs = qtMs(year());
    printAgainstStatements(name + ", Show, whole year again, fastest of 5", statementMs, windowMs,
                           list->rowCount(), floorOf(year()));
    // The same, each time from the list of another period (other rows in place).
    const auto otherPeriod = [&] {
        from->setDate(QDate(2026, 10, 1));
        show->click();
        QApplication::processEvents();
    };
    const double afterOtherMs = bestMsOf(
        [&] {
            from->setDate(QDate(2026, 4, 1));
            show->click();
            QApplication::processEvents();
        },
        5, otherPeriod);
    printAgainstStatements(name + ", Show, whole year after Oct-Mar", statementMs, afterOtherMs, list->rowCount(),
                           floorOf(year()));
    const double resetMs = bestClickMs(window, "reset_btn", 5, [&] {
        to->setDate(QDate(2027, 3, 31));
        otherPeriod();
    });
    printAgainstStatements(name + ", Reset after Oct-Mar, fastest of 5", qtMs(defaultPeriod()), resetMs,
                           list->rowCount(), floorOf(defaultPeriod()));
    const QString path = env.folder() + "/" + csvName;
    env.desktop.saveFileAnswers.enqueue(path);
    printTimed(
        name + " export", [&] { window->template findChild<QPushButton *>("print_list_btn")->click(); },
        [&] { return QString("%1 bytes").arg(countText(QFileInfo(path).size())); });
    delete window;
}

// The despatch statement with a subquery per inward line for each figure;
// returns the rows it gave.
int asGivenDespatch()
{
    const QString sql =
        "SELECT e.inward_no, e.inward_no_full, e.inward_date, e.dc_no, e.dc_date, e.po_no, i.item_code, "
        "i.item_name, i.uom, e.inward_qty, e.item_id, IFNULL((SELECT SUM(d.delivery_qty) FROM delivery_entries d "
        "WHERE d.inward_no = e.inward_no AND d.item_id = e.item_id AND d.fy_name = e.fy_name "
        "AND (d.is_deleted IS NULL OR d.is_deleted = 0)), 0) AS despatched, "
        "IFNULL((SELECT GROUP_CONCAT(DISTINCT d2.delivery_no_full) FROM delivery_entries d2 "
        "WHERE d2.inward_no = e.inward_no AND d2.item_id = e.item_id AND d2.fy_name = e.fy_name "
        "AND (d2.is_deleted IS NULL OR d2.is_deleted = 0)), '') AS our_dcs "
        "FROM inward_entries e JOIN customers c ON e.customer_id = c.customer_id "
        "JOIN items i ON e.item_id = i.item_id WHERE (e.is_deleted IS NULL OR e.is_deleted = 0) "
        "AND e.inward_date >= :from AND e.inward_date <= :to "
        "ORDER BY CASE WHEN e.fy_name = :fy THEN 0 ELSE 1 END ASC, e.fy_name DESC, e.inward_no DESC, "
        "i.item_code ASC";
    return countRows(sql, {{":fy", "26-27"}, {":from", "2026-04-01"}, {":to", "2027-03-31"}});
}

void run(const char *name, const DataSize &size, bool asGiven)
{
    TestEnvironment env;
    openBenchDatabase(env);
    std::printf("%s: %s\n\n", name, qPrintable(fillData(size).summary()));

    QList<InwardHistoryRow> history;
    QList<DespatchRow> despatch;
    QString error;
    printTimed("inward history query, whole year", [&] { queryInwardHistory(year(), &history, &error); },
               [&] { return rowsText(history.size()); });
    printTimed("despatch details query, whole year", [&] { queryDespatchDetails(year(), &despatch, &error); },
               [&] { return rowsText(despatch.size()); });
    ReportFilter one = year();
    one.customerId = 42;
    one.search = "grade";
    printTimed("despatch details query, one customer and a search", [&] { queryDespatchDetails(one, &despatch, &error); },
               [&] { return rowsText(despatch.size()); });

    timeReportWindow<inwardHistory>(
        "inward history", "inward_history_table", env, "Inward_History_26-27.csv",
        [&](const ReportFilter &f) { queryInwardHistory(f, &history, &error); }, inwardHistoryStatement);
    timeReportWindow<despatchdetails>(
        "despatch details", "despatch_details_table", env, "Despatch_Details_26-27.csv",
        [&](const ReportFilter &f) { queryDespatchDetails(f, &despatch, &error); }, despatchDetailsStatement);

    if (asGiven) {
        int rows = 0;
        printTimed("despatch details, two subqueries per inward line", [&] { rows = asGivenDespatch(); },
                   [&] { return rowsText(rows); });
    }
    printMessages(env);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const bool asGiven = app.hasOption("--as-given");
    run("one heavy year", heavyYear(), asGiven);
    run("two heavy years", twoHeavyYears(), false);
    printLimitVerdict();
    return 0;
}
