// A heavy year for the job-work reports: 300 customers with 10 items each,
// 20,000 inward lines (10,000 inward entries of two lines) and 30,000
// delivery challan lines (15,000 challans of two lines). Times the inward
// history and the despatch details: the queries alone, the windows loading
// the whole year, and the CSV export of each.
//
//   bench_jobwork_reports            the figures
//   bench_jobwork_reports --as-given also the despatch statement with two
//                                    subqueries per inward line (minutes)

#include "support/recordingdesktop.h"
#include "app/financialyear.h"
#include "app/resources.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/inwardhistory.h"
#include "jobwork/jobworkreports.h"
#include "sales/salesschema.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

const int Customers = 300;
const int ItemsPerCustomer = 10;
const int InwardEntries = 10000; // two lines each
const int Challans = 15000;      // two lines each

void exec(QSqlQuery &q)
{
    if (!q.exec())
        qFatal("%s", qPrintable(q.lastQuery()));
}

void fillYear()
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

    // Inward entry n belongs to customer n % 300 and carries two of its items.
    q.prepare("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
              "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) "
              "VALUES (:no, :full, :date, :c, :i, :dc, :date, :po, :date, :qty, '', '26-27', :del)");
    const QDate first(2026, 4, 1);
    for (int n = 1; n <= InwardEntries; ++n) {
        const int customer = n % Customers + 1;
        const QString date = first.addDays(n * 364 / InwardEntries).toString("yyyy-MM-dd");
        for (int line = 0; line < 2; ++line) {
            q.bindValue(":no", n);
            q.bindValue(":full", fullDocumentNumber(n, "26-27"));
            q.bindValue(":date", date);
            q.bindValue(":c", customer);
            q.bindValue(":i", (customer - 1) * ItemsPerCustomer + (n + line) % ItemsPerCustomer + 1);
            q.bindValue(":dc", QString("CDC/%1").arg(n));
            q.bindValue(":po", QString("PO-%1").arg(customer));
            q.bindValue(":qty", 100.0 + n % 50);
            q.bindValue(":del", n % 97 == 0 ? 1 : 0);
            exec(q);
        }
    }

    // Challan k sends back part of both lines of inward entry k % 10,000; the
    // first 5,000 entries get two challans, so 30,000 challan lines in all.
    QSqlQuery lines;
    lines.setForwardOnly(true);
    if (!lines.exec("SELECT inward_no, customer_id, item_id FROM inward_entries ORDER BY inward_id"))
        qFatal("inward lines");
    QList<QList<int>> inward;
    while (lines.next())
        inward.append({lines.value(0).toInt(), lines.value(1).toInt(), lines.value(2).toInt()});
    q.prepare("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, "
              "item_id, delivery_qty, remarks, fy_name, is_deleted, sac_code) "
              "VALUES (:no, :full, :date, :in, :c, :i, :qty, '', '26-27', 0, '998873')");
    for (int k = 1; k <= Challans; ++k) {
        const int entry = (k - 1) % InwardEntries; // 0-based inward entry
        for (int line = 0; line < 2; ++line) {
            const QList<int> &in = inward.at(entry * 2 + line);
            q.bindValue(":no", k);
            q.bindValue(":full", fullDocumentNumber(k, "26-27"));
            q.bindValue(":date", first.addDays(k * 364 / Challans).toString("yyyy-MM-dd"));
            q.bindValue(":in", in.at(0));
            q.bindValue(":c", in.at(1));
            q.bindValue(":i", in.at(2));
            q.bindValue(":qty", 40.0 + line);
            exec(q);
        }
    }
    db.commit();
}

ReportFilter year()
{
    ReportFilter f;
    f.from = "2026-04-01";
    f.to = "2027-03-31";
    f.fy = "26-27";
    return f;
}

void print(const char *what, qint64 ms, const QString &extra = QString())
{
    std::printf("%-58s %8lld ms  %s\n", what, static_cast<long long>(ms), qPrintable(extra));
    std::fflush(stdout);
}

template<class W>
qint64 loadWholeYear(W *window)
{
    window->template findChild<QDateEdit *>("fromdateEdit")->setDate(QDate(2026, 4, 1));
    window->template findChild<QDateEdit *>("todateEdit")->setDate(QDate(2027, 3, 31));
    QElapsedTimer t;
    t.start();
    window->template findChild<QPushButton *>("show_btn")->click();
    QApplication::processEvents();
    return t.elapsed();
}

template<class W>
qint64 exportCsv(W *window, RecordingDesktop &desktop, const QString &path)
{
    desktop.saveFileAnswers.enqueue(path);
    QElapsedTimer t;
    t.start();
    window->template findChild<QPushButton *>("print_list_btn")->click();
    return t.elapsed();
}

// The despatch statement with a subquery per inward line for each figure.
qint64 asGivenDespatch(int *rowCount)
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
    QElapsedTimer t;
    t.start();
    QSqlQuery q;
    q.setForwardOnly(true);
    q.prepare(sql);
    q.bindValue(":fy", "26-27");
    q.bindValue(":from", "2026-04-01");
    q.bindValue(":to", "2027-03-31");
    if (!q.exec())
        qFatal("as given");
    *rowCount = 0;
    while (q.next())
        ++*rowCount;
    return t.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initKestrovaResources();
    const bool asGiven = app.arguments().contains("--as-given");

    QTemporaryDir dir;
    RecordingDesktop desktop;
    Desktop::setHandler(&desktop);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(dir.filePath("MorvelCoats.db"));
        if (!db.open())
            qFatal("database");
    }
    createSalesTables();

    QElapsedTimer t;
    t.start();
    fillYear();
    print("fill: 300 customers, 20,000 inward lines, 30,000 challan lines", t.elapsed());

    QList<InwardHistoryRow> history;
    QList<DespatchRow> despatch;
    QString error;
    t.restart();
    queryInwardHistory(year(), &history, &error);
    print("inward history query, whole year", t.elapsed(), QString("%1 rows").arg(history.size()));
    t.restart();
    queryDespatchDetails(year(), &despatch, &error);
    print("despatch details query, whole year", t.elapsed(), QString("%1 rows").arg(despatch.size()));

    ReportFilter one = year();
    one.customerId = 42;
    one.search = "grade";
    t.restart();
    queryDespatchDetails(one, &despatch, &error);
    print("despatch details query, one customer and a search", t.elapsed(),
          QString("%1 rows").arg(despatch.size()));

    {
        t.restart();
        inwardHistory window;
        window.show();
        QApplication::processEvents();
        print("inward history window: built and shown (loads twice)", t.elapsed());
        const qint64 load = loadWholeYear(&window);
        print("inward history window: Show, whole year", load,
              QString("%1 rows").arg(window.findChild<QTableWidget *>("inward_history_table")->rowCount()));
        const QString path = dir.filePath("Inward_History_26-27.csv");
        const qint64 written = exportCsv(&window, desktop, path);
        print("inward history export", written, QString("%1 bytes").arg(QFileInfo(path).size()));
    }
    {
        t.restart();
        despatchdetails window;
        window.show();
        QApplication::processEvents();
        print("despatch details window: built and shown (loads twice)", t.elapsed());
        const qint64 load = loadWholeYear(&window);
        print("despatch details window: Show, whole year", load,
              QString("%1 rows").arg(window.findChild<QTableWidget *>("despatch_details_table")->rowCount()));
        const QString path = dir.filePath("Despatch_Details_26-27.csv");
        const qint64 written = exportCsv(&window, desktop, path);
        print("despatch details export", written, QString("%1 bytes").arg(QFileInfo(path).size()));
    }

    if (asGiven) {
        int rows = 0;
        const qint64 ms = asGivenDespatch(&rows);
        print("despatch details, two subqueries per inward line", ms, QString("%1 rows").arg(rows));
    }
    for (const auto &m : desktop.messages)
        std::printf("message: %s: %s\n", qPrintable(m.title), qPrintable(m.text));

    Desktop::setHandler(nullptr);
    QSqlDatabase::database().close();
    return 0;
}
