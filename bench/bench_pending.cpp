// Heavy years for delivery challan generation. Times the pending list (the
// grouped query alone, with each filter) and the window opening on it, then
// closing balances to bins.
//
//   one year:  10,000 inward entries of two lines (20,000 inward lines),
//              15,000 challans of two lines (30,000 challan lines)
//   two years: 20,000 inward entries of three lines (60,000 inward lines),
//              15,000 challans of three lines, 5,000 bins
//
//   bench_pending            the figures
//   bench_pending --as-given also the list statement with two subqueries per
//                            inward line, on the one-year data (slow)

#include "app/financialyear.h"
#include "app/resources.h"
#include "jobwork/generatedc.h"
#include "jobwork/inwardstore.h"
#include "jobwork/pendingstore.h"
#include "sales/salesschema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const int Customers = 300;
const int ItemsPerCustomer = 10;

struct Volume
{
    const char *name;
    int entriesPerYear;
    int linesPerEntry;
    QStringList years;
    int challans; // one line per line of the entry they send back
    int bins;     // two per entry, from the last entry backwards
};

void exec(QSqlQuery &q)
{
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastQuery()));
}

struct EntryRef
{
    int no;
    QString fy;
    int customer;
    int firstItem;
};

void fill(const Volume &v)
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery q;
    q.prepare("INSERT INTO customers (customer_name) VALUES (:name)");
    for (int c = 1; c <= Customers; ++c) {
        q.bindValue(":name", QString("CUSTOMER %1 PVT LTD").arg(c, 3, 10, QChar('0')));
        exec(q);
    }
    q.prepare("INSERT INTO items (customer_id, item_code, item_name, uom) VALUES (:c, :code, :name, 'NOS')");
    for (int c = 1; c <= Customers; ++c) {
        for (int i = 1; i <= ItemsPerCustomer; ++i) {
            q.bindValue(":c", c);
            q.bindValue(":code", QString("C%1-I%2").arg(c).arg(i));
            q.bindValue(":name", QString("PART %1, GRADE %2").arg(i).arg(c % 7));
            exec(q);
        }
    }

    // Entry n of a year belongs to customer n % 300 and carries consecutive
    // items of that customer; one entry in 97 is cancelled.
    QList<EntryRef> entries;
    q.prepare("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
              "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) "
              "VALUES (:no, :full, :date, :c, :i, :dc, :date, :po, :date, :qty, '', :fy, :del)");
    for (const QString &fy : v.years) {
        const QDate first(2000 + fy.left(2).toInt(), 4, 1);
        for (int n = 1; n <= v.entriesPerYear; ++n) {
            const int customer = n % Customers + 1;
            const int firstItem = (customer - 1) * ItemsPerCustomer + 1;
            entries.append({n, fy, customer, firstItem});
            for (int line = 0; line < v.linesPerEntry; ++line) {
                q.bindValue(":no", n);
                q.bindValue(":full", fullDocumentNumber(n, fy));
                q.bindValue(":date", first.addDays(n * 364 / v.entriesPerYear).toString("yyyy-MM-dd"));
                q.bindValue(":c", customer);
                q.bindValue(":i", firstItem + (n + line) % ItemsPerCustomer);
                q.bindValue(":dc", QString("CDC/%1").arg(n));
                q.bindValue(":po", QString("PO-%1").arg(customer));
                q.bindValue(":qty", 100.0);
                q.bindValue(":fy", fy);
                q.bindValue(":del", n % 97 == 0 ? 1 : 0);
                exec(q);
            }
        }
    }

    // Challan k sends back every line of entry k (wrapping round): two in
    // three the whole quantity, one in three 40 of each line.
    q.prepare("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, "
              "item_id, delivery_qty, remarks, fy_name, is_deleted, sac_code) "
              "VALUES (:no, :full, '2026-06-01', :in, :c, :i, :qty, '', :fy, 0, '998873')");
    QHash<QString, int> challanNo;
    for (int k = 0; k < v.challans; ++k) {
        const EntryRef &e = entries.at(k % entries.size());
        const int no = ++challanNo[e.fy];
        for (int line = 0; line < v.linesPerEntry; ++line) {
            q.bindValue(":no", no);
            q.bindValue(":full", fullDocumentNumber(no, e.fy));
            q.bindValue(":in", e.no);
            q.bindValue(":c", e.customer);
            q.bindValue(":i", e.firstItem + (e.no + line) % ItemsPerCustomer);
            q.bindValue(":qty", k % 3 == 2 ? 40.0 : 100.0);
            q.bindValue(":fy", e.fy);
            exec(q);
        }
    }

    // The last entries have two of their lines closed to bins each.
    q.prepare("INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
              "VALUES ('2026-07-01', 'DC', :in, :i, :c, 100, :fy)");
    for (int j = 0; j < v.bins; ++j) {
        const EntryRef &e = entries.at(entries.size() - 1 - j / 2);
        q.bindValue(":in", e.no);
        q.bindValue(":i", e.firstItem + (e.no + j % 2) % ItemsPerCustomer);
        q.bindValue(":c", e.customer);
        q.bindValue(":fy", e.fy);
        exec(q);
    }
    db.commit();
}

void print(const char *what, qint64 ms, const QString &extra = QString())
{
    std::printf("  %-52s %7lld ms  %s\n", what, static_cast<long long>(ms), qPrintable(extra));
    std::fflush(stdout);
}

qint64 timeQuery(const PendingQuery &query, QList<PendingRow> *rows)
{
    QString error;
    QElapsedTimer t;
    t.start();
    if (!queryPendingInwards(query, rows, &error))
        qFatal("pending list: %s", qPrintable(error));
    return t.elapsed();
}

QString statusCounts(const QList<PendingRow> &rows)
{
    int counts[3] = {0, 0, 0};
    for (const PendingRow &row : rows)
        ++counts[static_cast<int>(row.status())];
    return QString("%1 rows: %2 pending, %3 partial, %4 issued")
        .arg(rows.size())
        .arg(counts[0])
        .arg(counts[1])
        .arg(counts[2]);
}

void timeQueries(const char *heading)
{
    std::printf(" %s\n", heading);
    QList<PendingRow> rows;
    PendingQuery query;
    query.currentFy = "26-27";
    query.filter = PendingFilter::All;
    qint64 ms = timeQuery(query, &rows);
    print("list, all rows", ms, statusCounts(rows));
    query.filter = PendingFilter::Open;
    ms = timeQuery(query, &rows);
    print("list, pending rows", ms, QString("%1 rows").arg(rows.size()));
    query.customerId = 17;
    ms = timeQuery(query, &rows);
    print("list, pending rows of one customer", ms, QString("%1 rows").arg(rows.size()));
    query.customerId = -1;
    query.itemText = "grade 3";
    ms = timeQuery(query, &rows);
    print("list, pending rows, item filter \"grade 3\"", ms, QString("%1 rows").arg(rows.size()));
}

void timeWindow()
{
    QElapsedTimer t;
    t.start();
    auto *window = new generateDC();
    auto *list = window->findChild<QTableWidget *>("gen_dc_table");
    print("window built and filled", t.elapsed(), QString("%1 rows").arg(list->rowCount()));
    t.restart();
    window->show();
    QApplication::processEvents();
    print("window shown", t.elapsed());

    t.restart();
    window->findChild<QRadioButton *>("radio_all")->click();
    QApplication::processEvents();
    print("radio \"All\"", t.elapsed(), QString("%1 rows").arg(list->rowCount()));

    t.restart();
    list->scrollToBottom();
    QApplication::processEvents();
    list->scrollToTop();
    QApplication::processEvents();
    print("scrolled to the bottom and back", t.elapsed());

    t.restart();
    window->hide();
    window->show();
    QApplication::processEvents();
    print("shown again (combo and list reloaded)", t.elapsed(), QString("%1 rows").arg(list->rowCount()));
    delete window;
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
        targets.append({rows.at(i).inwardNo, rows.at(i).fy, rows.at(i).customerId});
    QElapsedTimer t;
    t.start();
    const BinOutcome outcome = binPendingBalances(targets, QDate::currentDate());
    print("bin 10 entries", t.elapsed(), QString("%1 bins rows written").arg(outcome.written));
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
    QElapsedTimer t;
    t.start();
    QSqlQuery q;
    q.setForwardOnly(true);
    q.prepare(sql);
    q.bindValue(":fy", "26-27");
    exec(q);
    int rows = 0;
    while (q.next())
        ++rows;
    print("list, two subqueries per inward line", t.elapsed(), QString("%1 rows").arg(rows));
}

void run(const Volume &v, bool asGiven)
{
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(dir.filePath("bench.db"));
        if (!db.open())
            qFatal("cannot open the database");
        createSalesTables();
        QElapsedTimer t;
        t.start();
        fill(v);
        std::printf("%s: %lld inward lines, %d challan lines, %d bins (filled in %lld ms)\n", v.name,
                    static_cast<long long>(v.entriesPerYear) * v.linesPerEntry * v.years.size(), v.challans * v.linesPerEntry,
                    v.bins, static_cast<long long>(t.elapsed()));

        timeQueries("pending list query:");
        if (asGiven)
            timeAsGiven();
        timeWindow();
        timeBins();
        db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    initKestrovaResources();
    g_currentFY = "26-27";
    const bool asGiven = app.arguments().contains("--as-given");
    run({"one heavy year", 10000, 2, {"26-27"}, 15000, 0}, asGiven);
    run({"two years", 10000, 3, {"25-26", "26-27"}, 15000, 5000}, false);
    return 0;
}
