// The job-work reports: inward history and despatch details, their lists,
// colours, totals and CSV files.

#include "support/files.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/financialyear.h"
#include "app/formstyle.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/inwardhistory.h"
#include "jobwork/jobworkreports.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

namespace {

ReportFilter wholeYear()
{
    ReportFilter f;
    f.from = "2026-04-01";
    f.to = "2027-03-31";
    f.fy = "26-27";
    return f;
}

// Puts a report window's period on the year 26-27 and reloads it.
void showYear(QWidget *window)
{
    child<QDateEdit>(window, "fromdateEdit")->setDate(QDate(2026, 4, 1));
    child<QDateEdit>(window, "todateEdit")->setDate(QDate(2027, 3, 31));
    click(window, "show_btn");
}

// A report window of the given kind with the name of its table.
struct Report
{
    QWidget *window;
    const char *table;
};

Report openReport(const QString &kind)
{
    if (kind == "history")
        return {new inwardHistory, "inward_history_table"};
    return {new despatchdetails, "despatch_details_table"};
}

} // namespace

using namespace testdata;

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }

    void inwardHistoryListsLiveLinesOfThePeriod();
    void inwardHistoryFilters();
    void inwardHistoryWindow();
    void inwardHistoryExport();
    void exportRefusals_data();
    void exportRefusals();

    void despatchCountsLiveChallansOfTheSameYear();
    void despatchAgreesWithPerLineSums();
    void despatchColoursAtTheThreshold();
    void despatchDetailsWindowAndExport();
    void brokenQueryIsReported();
};

void TestReports::inwardHistoryListsLiveLinesOfThePeriod()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int shah = addCustomer("SHAH, SONS");
    const int bolt = addItem(shah, "B-10", "BOLT");
    const int nut = addItem(shah, "A-20", "NUT");
    addInward({1, "26-27", shah, bolt, 5, "2026-04-10"});
    addInward({1, "26-27", shah, nut, 2, "2026-04-10", "DC-1", "", "PO-9"});   // no customer date
    addInward({2, "26-27", shah, bolt, 7, "2026-05-01", "DC-2", "28/04/2026"}); // date as typed
    addInward(Inward{3, "26-27", shah, bolt, 100, "2026-05-02", "DC-3", "2026-05-01", "PO-9"}.cancelled()); // cancelled
    addInward({9, "25-26", shah, nut, 1, "2026-04-20"});                       // earlier year, in the period
    addInward({4, "26-27", shah, nut, 50, "2027-04-01"});                      // after the period

    QList<InwardHistoryRow> rows;
    QString error;
    QVERIFY(queryInwardHistory(wholeYear(), &rows, &error));
    QStringList order;
    for (const InwardHistoryRow &row : rows)
        order << row.line.inwardNoFull + " " + row.line.itemCode;
    // This year first by number descending and item code ascending, then the
    // earlier year; the cancelled entry 3 is not listed.
    QCOMPARE(order, QStringList({"2/26-27 B-10", "1/26-27 A-20", "1/26-27 B-10", "9/25-26 A-20"}));
    QCOMPARE(quantityText(inwardHistoryTotal(rows)), QStringLiteral("15.000"));

    QCOMPARE(inwardHistoryCells(rows.at(0)),
             QStringList({"2/26-27", "01-05-2026", "DC-2", "28/04/2026", "PO-1", "SHAH, SONS", "B-10", "BOLT",
                          "7.000"}));
    QCOMPARE(inwardHistoryCells(rows.at(1)).at(3), QString());

    // From after To lists nothing.
    ReportFilter reversed = wholeYear();
    reversed.from = "2027-01-01";
    reversed.to = "2026-12-31";
    QVERIFY(queryInwardHistory(reversed, &rows, &error));
    QVERIFY(rows.isEmpty());
    QCOMPARE(quantityText(inwardHistoryTotal(rows)), QStringLiteral("0.000"));
}

void TestReports::inwardHistoryFilters()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int a = addCustomer("ALPHA");
    const int b = addCustomer("BETA");
    addInward({1, "26-27", a, addItem(a, "AB-1", "FLANGE"), 1, "2026-04-10"});
    addInward({2, "26-27", a, addItem(a, "X-2", "Cabinet"), 2, "2026-04-11"});
    addInward({3, "26-27", b, addItem(b, "Y-3", "SHAFT"), 3, "2026-04-12"});
    addInward({4, "26-27", b, addItem(b, "Z-4", "50%_OFF"), 4, "2026-04-13"});

    auto listed = [](const ReportFilter &f) {
        QList<InwardHistoryRow> rows;
        QString error;
        if (!queryInwardHistory(f, &rows, &error))
            return QStringList{"failed: " + error};
        QStringList numbers;
        for (const InwardHistoryRow &row : rows)
            numbers << row.line.inwardNoFull;
        return numbers;
    };

    ReportFilter f = wholeYear();
    QCOMPARE(listed(f).size(), 4);
    f.customerId = b;
    QCOMPARE(listed(f), QStringList({"4/26-27", "3/26-27"}));
    f.customerId = -1;
    f.search = "ab"; // code AB-1 and name Cabinet
    QCOMPARE(listed(f), QStringList({"2/26-27", "1/26-27"}));
    f.search = "   ";
    QCOMPARE(listed(f).size(), 4);
    f.search = "' OR 1=1 --"; // bound, never part of the statement
    QVERIFY(listed(f).isEmpty());
}

void TestReports::inwardHistoryWindow()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int a = addCustomer("ALPHA");
    const int b = addCustomer("BETA");
    addInward({1, "26-27", a, addItem(a, "P-1", "PIN"), 1.25, "2026-04-10"});
    addInward({2, "26-27", b, addItem(b, "Q-1", "PLATE"), 2, "2026-04-11"});

    auto *w = new inwardHistory;
    w->show();
    QCOMPARE(w->windowTitle(), QStringLiteral("Inward History - Kestrova App"));
    QCOMPARE(w->styleSheet(), formStyleSheet());
    auto *table = child<QTableWidget>(w, "inward_history_table");
    auto *combo = child<QComboBox>(w, "company_combo");
    auto *total = child<QLineEdit>(w, "total_qtyEdit");
    auto *search = child<QLineEdit>(w, "searchEdit");
    QCOMPARE(table->horizontalHeaderItem(8)->text(), QStringLiteral("Qty Received"));
    QCOMPARE(combo->itemText(0), QStringLiteral("-- All Companies --"));

    showYear(w);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(total->text(), QStringLiteral("3.250"));
    QCOMPARE(tableCell(table, 1, 8), QStringLiteral("1.250"));

    // Choosing a customer waits for Show; a search edit reloads at once.
    combo->setCurrentIndex(combo->findText("BETA"));
    QCOMPARE(table->rowCount(), 2);
    click(w, "show_btn");
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(total->text(), QStringLiteral("2.000"));
    search->setText("pin");
    QCOMPARE(table->rowCount(), 0);
    QCOMPARE(total->text(), QStringLiteral("0.000"));

    // Showing the window again returns the customer filter to all companies
    // and keeps the period and the search text.
    w->hide();
    w->show();
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(search->text(), QStringLiteral("pin"));
    QCOMPARE(table->rowCount(), 1);

    // Reset: every customer, the default period, no search text.
    click(w, "reset_btn");
    QVERIFY(search->text().isEmpty());
    QCOMPARE(child<QDateEdit>(w, "fromdateEdit")->date(), defaultPeriodStart());
    QCOMPARE(child<QDateEdit>(w, "todateEdit")->date(), QDate::currentDate());
}

void TestReports::inwardHistoryExport()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int shah = addCustomer("SHAH, SONS");
    const int quoted = addCustomer("A \"B\" C, LTD");
    const int plain = addCustomer("SAY \"HI\" CO");
    addInward({1, "26-27", shah, addItem(shah, "S-1", "SLEEVE"), 12.5, "2026-04-10"});
    addInward({2, "26-27", quoted, addItem(quoted, "Q-1", "ROD"), 1, "2026-04-11"});
    addInward({3, "26-27", plain, addItem(plain, "H-1", "HUB"), 2, "2026-04-12"});
    addInward(Inward{4, "26-27", shah, addItem(shah, "X-1", "CANCELLED"), 99, "2026-04-13"}.cancelled());

    inwardHistory w;
    showYear(&w);
    // Only the "SHAH, SONS" line first.
    auto *search = child<QLineEdit>(&w, "searchEdit");
    search->setText("S-1");
    QCOMPARE(child<QTableWidget>(&w, "inward_history_table")->rowCount(), 1);

    const QString path = env.folder() + "/inward.csv";
    QVERIFY(writeFile(path, "an older, longer file that must go away completely\n"));
    env.desktop.saveFileAnswers.enqueue(path);
    click(&w, "print_list_btn");

    QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Export Inward History"});
    QCOMPARE(env.desktop.fileDialogDirs, QStringList{"Inward_History_26-27.csv"});
    QCOMPARE(env.desktop.fileDialogFilters, QStringList{"CSV Files (*.csv)"});
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

    const QByteArray bytes = fileBytes(path);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes).split('\n');
    QCOMPARE(lines, QStringList({"Inward No,Inward Date,DC No,DC Date,PO No,Customer Name,Item Code,Item Name,Qty",
                                 "1/26-27,10-04-2026,CDC-1,01-05-2026,PO-1,\"SHAH, SONS\",S-1,SLEEVE,12.500",
                                 ",,,,,,,Total,12.500", ""}));

    // Every live line: each name reads back as stored, the cancelled line is
    // neither written nor counted.
    search->clear();
    env.desktop.saveFileAnswers.enqueue(path);
    click(&w, "print_list_btn");
    const QList<QStringList> read = readCsv(QString::fromUtf8(fileBytes(path)));
    QCOMPARE(read.size(), 5);
    QStringList names;
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(read.at(i).size(), 9);
        names << read.at(i).at(5);
    }
    QCOMPARE(names, QStringList({"SAY \"HI\" CO", "A \"B\" C, LTD", "SHAH, SONS"}));
    QCOMPARE(read.last(), QStringList({"", "", "", "", "", "", "", "Total", "15.500"}));
}

void TestReports::exportRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("unwritable"); // what a file that cannot be written shows
    QTest::newRow("inward history") << "history" << QString();
    QTest::newRow("despatch details") << "despatch" << "Error|Could not save file!";
}

void TestReports::exportRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, unwritable);
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    addInward({1, "26-27", c, addItem(c, "P-1", "PIN"), 1, "2026-04-10"});
    const Report report = openReport(kind);

    // An empty list (From after To): a warning and no dialog.
    child<QDateEdit>(report.window, "fromdateEdit")->setDate(QDate(2027, 1, 1));
    child<QDateEdit>(report.window, "todateEdit")->setDate(QDate(2026, 12, 31));
    click(report.window, "show_btn");
    QCOMPARE(child<QTableWidget>(report.window, report.table)->rowCount(), 0);
    click(report.window, "print_list_btn");
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.lastShown(), QString("Export|No data to export!"));
    QVERIFY(env.desktop.fileDialogCaptions.isEmpty());

    // A cancelled dialog writes and shows nothing.
    showYear(report.window);
    env.desktop.clear();
    env.desktop.saveFileAnswers.enqueue(QString());
    click(report.window, "print_list_btn");
    QCOMPARE(env.desktop.fileDialogCaptions.size(), 1);
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(QDir(env.folder()).entryList({"*.csv"}), QStringList());

    const QString path = env.folder() + "/no such folder/report.csv";
    env.desktop.saveFileAnswers.enqueue(path);
    click(report.window, "print_list_btn");
    QCOMPARE(env.desktop.lastShown(), unwritable);
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestReports::despatchCountsLiveChallansOfTheSameYear()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    const int gear = addItem(c, "G-1", "GEAR", "KGS");
    const int pin = addItem(c, "P-1", "PIN");
    addInward({7, "26-27", c, gear, 100, "2026-04-10"});
    addInward({7, "26-27", c, pin, 10, "2026-04-10"});
    addInward(Inward{8, "26-27", c, gear, 30, "2026-04-11", "DC-8", "2026-04-09", "PO-1"}.cancelled()); // cancelled
    addInward({7, "25-26", c, gear, 5, "2026-04-02"});

    addDelivery({5, "26-27", 7, c, gear, 40});
    addDelivery({3, "26-27", 7, c, gear, 60});
    addDelivery({3, "26-27", 7, c, pin, 4});
    addDelivery(Delivery{4, "26-27", 7, c, pin, 1}.deleted(1));          // not live
    addDelivery(Delivery{6, "26-27", 7, c, pin, 2}.deleted(QVariant())); // NULL counts as live
    addDelivery({2, "25-26", 7, c, gear, 5});            // the other year's inward 7
    // A bin closes no balance in this report.
    addBin(7, "26-27", pin, 4, "DC", c);

    QList<DespatchRow> rows;
    QString error;
    QVERIFY(queryDespatchDetails(wholeYear(), &rows, &error));
    QCOMPARE(rows.size(), 3);

    QCOMPARE(despatchCells(rows.at(0)),
             QStringList({"7/26-27", "10-04-2026", "CDC-1", "01-05-2026", "PO-1", "G-1", "GEAR", "KGS",
                          "3/26-27,5/26-27", "100.000", "100.000", "0.000"}));
    QCOMPARE(despatchCells(rows.at(1)).mid(8),
             QStringList({"3/26-27,6/26-27", "10.000", "6.000", "4.000"}));
    QCOMPARE(despatchCells(rows.at(2)).mid(0, 1), QStringList{"7/25-26"});
    QCOMPARE(despatchCells(rows.at(2)).mid(8), QStringList({"2/25-26", "5.000", "5.000", "0.000"}));

    const DespatchTotals totals = despatchTotals(rows);
    QCOMPARE(quantityText(totals.received), QStringLiteral("115.000"));
    QCOMPARE(quantityText(totals.despatched), QStringLiteral("111.000"));
    QCOMPARE(quantityText(totals.balance), QStringLiteral("4.000"));

    // A line with no challan shows nothing sent back.
    addInward({9, "26-27", c, pin, 3, "2026-04-12"});
    QVERIFY(queryDespatchDetails(wholeYear(), &rows, &error));
    QCOMPARE(despatchCells(rows.at(0)).mid(8), QStringList({"", "3.000", "0.000", "3.000"}));

    QCOMPARE(sortedChallanList("10/26-27,9/26-27,2/25-26"), QStringLiteral("2/25-26,9/26-27,10/26-27"));
}

// The grouped pass gives, line for line, what summing each inward line's
// challan lines by itself gives, odd rows included.
void TestReports::despatchAgreesWithPerLineSums()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    QList<int> items;
    for (int i = 0; i < 3; ++i)
        items << addItem(c, QString("I-%1").arg(i), "PART");
    int challan = 1;
    for (int n = 1; n <= 12; ++n) {
        const QString fy = n % 4 == 0 ? "25-26" : "26-27";
        for (int i = 0; i < 3; ++i) {
            addInward({n, fy, c, items[i], 10.0 * n + i, "2026-05-01"});
            for (int k = 0; k < (n + i) % 4; ++k) {
                const QVariant deleted = k == 2 ? QVariant(1) : (k == 1 ? QVariant() : QVariant(0));
                const QString lineFy = k == 3 ? "27-28" : fy;
                addDelivery(Delivery{challan + k % 2, lineFy, n, c, items[i], 1.5 * (k + 1)}.deleted(deleted));
            }
            challan += 2;
        }
    }
    // A challan line without a quantity, and an inward line of a database
    // made before financial years were written.
    exec("UPDATE delivery_entries SET delivery_qty = NULL WHERE delivery_id = 3");
    exec("UPDATE inward_entries SET fy_name = NULL WHERE inward_id = 5");

    QList<DespatchRow> rows;
    QString error;
    ReportFilter f = wholeYear();
    f.from = "2026-01-01";
    QVERIFY(queryDespatchDetails(f, &rows, &error));
    QCOMPARE(rows.size(), 36);
    QSqlQuery each;
    QVERIFY(each.prepare("SELECT IFNULL(SUM(delivery_qty), 0), IFNULL(GROUP_CONCAT(DISTINCT delivery_no_full), '') "
                         "FROM delivery_entries d JOIN inward_entries e ON d.inward_no = e.inward_no "
                         "AND d.item_id = e.item_id AND d.fy_name = e.fy_name "
                         "WHERE e.inward_no_full = :full AND e.item_id = :item "
                         "AND (d.is_deleted IS NULL OR d.is_deleted = 0)"));
    int withChallans = 0;
    for (const DespatchRow &row : rows) {
        each.bindValue(":full", row.line.inwardNoFull);
        each.bindValue(":item", row.itemId);
        QVERIFY(each.exec() && each.next());
        QCOMPARE(row.despatched, each.value(0).toDouble());
        QCOMPARE(row.ourDcs, sortedChallanList(each.value(1).toString()));
        withChallans += row.ourDcs.isEmpty() ? 0 : 1;
    }
    QVERIFY(withChallans > 10);
}

void TestReports::despatchColoursAtTheThreshold()
{
    QCOMPARE(balanceColor(0.005), StatusColor::Done); // exactly at the threshold

    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    const struct
    {
        QString code;
        double received;
        double sent;
        QString colour;
    } lines[] = {{"A", 10.0, 9.996, "#d4edda"},  // 0.004 left
                 {"B", 10.0, 9.994, "#fff3cd"},  // 0.006 left
                 {"C", 10.0, 12.0, "#d4edda"},   // more sent than received
                 {"D", 10.0, 0.0, "#fff3cd"}};   // nothing sent
    int no = 1;
    for (const auto &line : lines) {
        const int item = addItem(c, line.code, "PART " + line.code);
        addInward({no, "26-27", c, item, line.received, "2026-04-10"});
        if (line.sent > 0)
            addDelivery({no, "26-27", no, c, item, line.sent});
        ++no;
    }

    despatchdetails w;
    showYear(&w);
    auto *table = child<QTableWidget>(&w, "despatch_details_table");
    QCOMPARE(table->rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        const auto &line = lines[3 - r]; // inward numbers descending
        QCOMPARE(tableCell(table, r, 5), line.code);
        QCOMPARE(table->item(r, 11)->background().color(), QColor(line.colour));
    }
    QCOMPARE(tableCell(table, 0, 11), QStringLiteral("10.000"));
    QCOMPARE(tableCell(table, 1, 11), QStringLiteral("-2.000"));
}

void TestReports::despatchDetailsWindowAndExport()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    const int gear = addItem(c, "G-1", "GEAR", "KGS");
    addInward({7, "26-27", c, gear, 100, "2026-04-10"});
    addDelivery({3, "26-27", 7, c, gear, 60});
    addDelivery({5, "26-27", 7, c, gear, 40});

    auto *w = new despatchdetails;
    QCOMPARE(w->windowTitle(), QStringLiteral("Despatch Details - Kestrova App"));
    auto *table = child<QTableWidget>(w, "despatch_details_table");
    QCOMPARE(table->horizontalHeaderItem(10)->text(), QStringLiteral("Despatched\nQty"));

    showYear(w);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(tableCell(table, 0, 8), QStringLiteral("3/26-27,5/26-27"));
    QCOMPARE(table->item(0, 11)->background().color(), QColor("#d4edda"));
    QCOMPARE(child<QLineEdit>(w, "tot_rec_qtyEdit")->text() + " " + child<QLineEdit>(w, "tot_des_qtyEdit")->text()
                 + " " + child<QLineEdit>(w, "tot_bal_qtyEdit")->text(),
             QStringLiteral("100.000 100.000 0.000"));

    const QString path = env.folder() + "/despatch.csv";
    env.desktop.saveFileAnswers.enqueue(path);
    click(w, "print_list_btn");
    QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Export Despatch Details"});
    QCOMPARE(env.desktop.fileDialogDirs, QStringList{"Despatch_Details_26-27.csv"});
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

    const QByteArray bytes = fileBytes(path);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes).split('\n'),
             QStringList({"Inward No,Inward Date,DC No,DC Date,PO No,Item Code,Item Name,UOM,Our DCs,"
                          "Received Qty,Despatched Qty,Balance Qty",
                          "7/26-27,10-04-2026,CDC-1,01-05-2026,PO-1,G-1,GEAR,KGS,\"3/26-27,5/26-27\","
                          "100.000,100.000,0.000",
                          ",,,,,,,,Total,100.000,100.000,0.000", ""}));
}

void TestReports::brokenQueryIsReported()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase()); // no sales tables

    inwardHistory history;
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Query Error"));
    QVERIFY(!env.desktop.lastMessage().text.isEmpty());
    QCOMPARE(child<QTableWidget>(&history, "inward_history_table")->rowCount(), 0);

    env.desktop.clear();
    despatchdetails despatch;
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Query Error"));
    QCOMPARE(child<QTableWidget>(&despatch, "despatch_details_table")->rowCount(), 0);
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
