// The job-work reports: inward history and despatch details, their lists,
// colours, totals and CSV files.

#include "support/files.h"
#include "support/readonlyfolder.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/inwardhistory.h"
#include "jobwork/jobworkreportstore.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

const ReportFilter WholeYear{"2026-04-01", "2027-03-31", -1, QString(), "26-27"};

// Puts a report window's period on the year 26-27 and reloads it.
void showYear(QWidget *window)
{
    child<QDateEdit>(window, "fromdateEdit")->setDate(QDate(2026, 4, 1));
    child<QDateEdit>(window, "todateEdit")->setDate(QDate(2027, 3, 31));
    click(window, "show_btn");
}

QList<DespatchRow> despatchRows(const ReportFilter &filter = WholeYear)
{
    QList<DespatchRow> rows;
    QString error;
    if (!queryDespatchDetails(filter, &rows, &error))
        qFatal("despatch details failed: %s", qPrintable(error));
    return rows;
}

// The CSV file the window exports to `path`, split in lines.
QStringList exported(TestEnvironment &env, QWidget *window, const QString &path)
{
    env.desktop.saveFileAnswers.enqueue(path);
    click(window, "print_list_btn");
    return QString::fromUtf8(fileBytes(path)).split('\n');
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }
    void init() { g_currentFY = "26-27"; }

    void inwardHistoryListsLiveLinesOfThePeriod()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int shah = addCustomer("SHAH, SONS");
        const int bolt = addItem(shah, "B-10", "BOLT");
        const int nut = addItem(shah, "A-20", "NUT");
        addInward({1, "26-27", shah, bolt, 5, "2026-04-10"});
        addInward({1, "26-27", shah, nut, 2, "2026-04-10", "DC-1", "", "PO-9"});   // no customer date
        addInward({2, "26-27", shah, bolt, 7, "2026-05-01", "DC-2", "28/04/2026"}); // date as typed
        addInward(Inward{3, "26-27", shah, bolt, 100, "2026-05-02"}.cancelled());
        addInward({9, "25-26", shah, nut, 1, "2026-04-20"});                       // earlier year, in the period
        addInward({4, "26-27", shah, nut, 50, "2027-04-01"});                      // after the period

        QList<InwardHistoryRow> rows;
        QString error;
        QVERIFY(queryInwardHistory(WholeYear, &rows, &error));
        QStringList order;
        for (const InwardHistoryRow &row : rows)
            order << row.line.inwardNoFull + " " + row.line.itemCode;
        // This year first by number descending and item code ascending, then
        // the earlier year; the cancelled entry 3 is neither listed nor counted.
        QCOMPARE(order, QStringList({"2/26-27 B-10", "1/26-27 A-20", "1/26-27 B-10", "9/25-26 A-20"}));
        QCOMPARE(inwardHistoryTotal(rows).text(3), QStringLiteral("15.000"));
        // 10,001 lines of 999,999,999.999: 10,001,000,000,000 less 10.001,
        // past what a double holds to the thousandth.
        InwardHistoryRow largestLine;
        largestLine.line.qty = 999999999.999;
        const QList<InwardHistoryRow> largest(10001, largestLine);
        QCOMPARE(inwardHistoryTotal(largest).text(3), QStringLiteral("10000999999989.999"));
        QCOMPARE(inwardHistoryCells(rows.at(0)), QStringList({"2/26-27", "01-05-2026", "DC-2", "28/04/2026", "PO-1",
                                                              "SHAH, SONS", "B-10", "BOLT", "7.000"}));
        QCOMPARE(inwardHistoryCells(rows.at(1)).at(3), QString());
    }

    void textsShowAsStored()
    {
        // Names in any script and missing values, read by both reports.
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int c = addCustomer(QStringLiteral("ŚRĪ GAṆEŚA & Co"));
        const int bush = addItem(c, QStringLiteral("Ø-12"), QStringLiteral("बुश Ø12 – brass"), QStringLiteral("Nos."));
        addInward({5, "26-27", c, bush, 4, "2026-06-01", QString(), QString(), QStringLiteral("PO–7")});
        addDelivery({3, "26-27", 5, c, bush, 1});

        QList<InwardHistoryRow> rows;
        QString error;
        QVERIFY(queryInwardHistory(WholeYear, &rows, &error));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(inwardHistoryCells(rows.at(0)),
                 QStringList({"5/26-27", "01-06-2026", "", "", QStringLiteral("PO–7"), QStringLiteral("ŚRĪ GAṆEŚA & Co"),
                              QStringLiteral("Ø-12"), QStringLiteral("बुश Ø12 – brass"), "4.000"}));
        const QList<DespatchRow> despatch = despatchRows();
        QCOMPARE(despatch.size(), 1);
        QCOMPARE(despatchCells(despatch.at(0)),
                 QStringList({"5/26-27", "01-06-2026", "", "", QStringLiteral("PO–7"), QStringLiteral("Ø-12"),
                              QStringLiteral("बुश Ø12 – brass"), "Nos.", "3/26-27", "4.000", "1.000", "3.000"}));
    }

    void inwardHistoryWindow()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int a = addCustomer("ALPHA");
        const int b = addCustomer("BETA");
        addInward({1, "26-27", a, addItem(a, "P-1", "PIN"), 1.25, "2026-04-10"});
        addInward({2, "26-27", b, addItem(b, "Q-1", "Plate"), 2, "2026-04-11"});

        auto *w = new inwardHistory;
        w->show();
        auto *table = child<QTableWidget>(w, "inward_history_table");
        auto *combo = child<QComboBox>(w, "company_combo");
        auto *total = child<QLineEdit>(w, "total_qtyEdit");
        auto *search = child<QLineEdit>(w, "searchEdit");
        showYear(w);
        QCOMPARE(total->text(), QStringLiteral("3.250"));
        QCOMPARE(tableCell(table, 1, 8), QStringLiteral("1.250"));

        // A search edit reloads at once: item code or name in any case, the
        // text bound as a value.
        search->setText("q-");
        QCOMPARE(columnTexts(table, 0), QStringList{"2/26-27"});
        search->setText("PLATE");
        QCOMPARE(columnTexts(table, 0), QStringList{"2/26-27"});
        search->setText("' OR 1=1 --");
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(total->text(), QStringLiteral("0.000"));
        search->clear();

        // Choosing a customer waits for Show.
        combo->setCurrentIndex(combo->findText("BETA"));
        QCOMPARE(table->rowCount(), 2);
        click(w, "show_btn");
        QCOMPARE(total->text(), QStringLiteral("2.000"));
        search->setText("pin");
        QCOMPARE(table->rowCount(), 0);
        // Shown again: every customer, the same period and search text.
        w->hide();
        w->show();
        QCOMPARE(columnTexts(table, 0), QStringList{"1/26-27"});

        click(w, "reset_btn");
        QVERIFY(search->text().isEmpty());
        QCOMPARE(child<QDateEdit>(w, "fromdateEdit")->date(), defaultPeriodStart());
        QCOMPARE(child<QDateEdit>(w, "todateEdit")->date(), QDate::currentDate());
    }

    void inwardHistoryExport()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int shah = addCustomer("SHAH, SONS");
        const int quoted = addCustomer("A \"B\" C, LTD");
        const int plain = addCustomer("SAY \"HI\" CO");
        addInward({1, "26-27", shah, addItem(shah, "S-1", "SLEEVE"), 12.5, "2026-04-10"});
        addInward({2, "26-27", quoted, addItem(quoted, "Q-1", "ROD"), 1, "2026-04-11"});
        addInward({3, "26-27", plain, addItem(plain, "H-1", "HUB"), 2, "2026-04-12"});

        inwardHistory w;
        showYear(&w);
        auto *search = child<QLineEdit>(&w, "searchEdit");
        search->setText("S-1"); // the "SHAH, SONS" line only
        const QString path = env.folder() + "/inward.csv";
        QVERIFY(writeFile(path, "an older, longer file that must go away completely\n"));
        QCOMPARE(exported(env, &w, path),
                 QStringList({"Inward No,Inward Date,DC No,DC Date,PO No,Customer Name,Item Code,Item Name,Qty",
                              "1/26-27,10-04-2026,CDC-1,01-05-2026,PO-1,\"SHAH, SONS\",S-1,SLEEVE,12.500",
                              ",,,,,,,Total,12.500", ""}));
        QVERIFY(!fileBytes(path).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Export Inward History"});
        QCOMPARE(env.desktop.fileDialogDirs, QStringList{"Inward_History_26-27.csv"});
        QVERIFY(env.desktop.messages.isEmpty());
        QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

        // Every name reads back as stored.
        search->clear();
        exported(env, &w, path);
        const QList<QStringList> read = readCsv(QString::fromUtf8(fileBytes(path)));
        QStringList names;
        for (int i = 1; i <= 3; ++i)
            names << read.at(i).at(5) + " " + QString::number(read.at(i).size());
        QCOMPARE(names, QStringList({"SAY \"HI\" CO 9", "A \"B\" C, LTD 9", "SHAH, SONS 9"}));
    }

    void exportRefusals_data()
    {
        QTest::addColumn<bool>("history");
        QTest::newRow("inward history") << true;
        QTest::newRow("despatch details") << false;
    }

    // A file that cannot be written says why and leaves nothing behind; in a
    // folder that cannot be written in, the file that was there stays as it was.
    void exportRefusals()
    {
        QFETCH(bool, history);
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        addInward({1, "26-27", addCustomer("ALPHA"), addItem(1, "P-1", "PIN"), 1, "2026-04-10"});
        QWidget *w = history ? static_cast<QWidget *>(new inwardHistory) : new despatchdetails;

        // An empty list (From after To): a warning and no dialog.
        child<QDateEdit>(w, "fromdateEdit")->setDate(QDate(2027, 1, 1));
        child<QDateEdit>(w, "todateEdit")->setDate(QDate(2026, 12, 31));
        click(w, "show_btn");
        click(w, "print_list_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Export|No data to export!"));
        QVERIFY(env.desktop.fileDialogCaptions.isEmpty());

        // A cancelled dialog writes and shows nothing.
        showYear(w);
        env.desktop.clear();
        exported(env, w, QString());
        QVERIFY(env.desktop.messages.isEmpty());
        QCOMPARE(QDir(env.folder()).entryList({"*.csv"}), QStringList());

        exported(env, w, env.folder() + "/no such folder/report.csv");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Could not save file!\nNo such file or directory"));

        ReadOnlyFolder folder;
        const QString path = folder.path() + "/report.csv";
        QVERIFY(writeFile(path, "the export of last week\n"));
        folder.lock();
        exported(env, w, path);
        QCOMPARE(env.desktop.lastShown(), QString("Error|Could not save file!\nPermission denied"));
        QCOMPARE(fileBytes(path), QByteArray("the export of last week\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.csv"});
        QVERIFY(env.desktop.openedUrls.isEmpty());
    }

    // A quantity another program stored beyond what the program keeps
    // exactly shows, totals and exports as stored, never as 0:
    // 10,000,000,000,000,000 + 2.5 = 10,000,000,000,000,002.500 received;
    // less 4 despatched, 9,999,999,999,999,998.500 left.
    void aQuantityStoredBeyondDecimalShowsAndExportsAsStored()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int c = addCustomer("ALPHA");
        const int gear = addItem(c, "G-1", "GEAR", "KGS");
        addInward({7, "26-27", c, gear, 1e16, "2026-04-10"});
        addInward({8, "26-27", c, gear, 2.5, "2026-04-11"});
        addDelivery({3, "26-27", 7, c, gear, 4});

        inwardHistory history;
        showYear(&history);
        auto *table = child<QTableWidget>(&history, "inward_history_table");
        QCOMPARE(columnTexts(table, 8), QStringList({"2.500", "10000000000000000.000"}));
        QCOMPARE(child<QLineEdit>(&history, "total_qtyEdit")->text(), QString("10000000000000002.500"));
        const QStringList lines = exported(env, &history, env.folder() + "/inward.csv");
        QCOMPARE(lines.at(2), QString("7/26-27,10-04-2026,CDC-1,01-05-2026,PO-1,ALPHA,G-1,GEAR,10000000000000000.000"));
        QCOMPARE(lines.at(3), QString(",,,,,,,Total,10000000000000002.500"));

        auto *despatch = new despatchdetails;
        showYear(despatch);
        QCOMPARE(child<QLineEdit>(despatch, "tot_rec_qtyEdit")->text() + " "
                     + child<QLineEdit>(despatch, "tot_bal_qtyEdit")->text(),
                 QString("10000000000000002.500 9999999999999998.500"));
        const QStringList despatched = exported(env, despatch, env.folder() + "/despatch.csv");
        QVERIFY(despatched.at(2).endsWith(",10000000000000000.000,4.000,9999999999999996.000"));
        QCOMPARE(despatched.at(3), QString(",,,,,,,,Total,10000000000000002.500,4.000,9999999999999998.500"));

        // Beyond what a total adds up exactly: named before a file is asked for.
        exec("UPDATE inward_entries SET inward_qty = 1e21 WHERE inward_no = 7");
        showYear(&history);
        QCOMPARE(columnTexts(table, 8).last(), QString("1000000000000000000000.000"));
        click(&history, "print_list_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Figure Too Large|Inward No 7/26-27: Qty 1000000000000000000000.000 "
                                                  "is too large to be added up exactly; nothing was written."));
        QCOMPARE(env.desktop.fileDialogCaptions.size(), 2);
    }

    void despatchCountsLiveChallansOfTheSameYear()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int c = addCustomer("ALPHA");
        const int gear = addItem(c, "G-1", "GEAR", "KGS");
        const int pin = addItem(c, "P-1", "PIN");
        addInward({7, "26-27", c, gear, 100, "2026-04-10"});
        addInward({7, "26-27", c, pin, 10, "2026-04-10"});
        addInward(Inward{8, "26-27", c, gear, 30, "2026-04-11"}.cancelled());
        addInward({7, "25-26", c, gear, 5, "2026-04-02"});
        addInward({9, "26-27", c, pin, 3, "2026-04-12"});
        addDelivery({5, "26-27", 7, c, gear, 40});
        addDelivery({3, "26-27", 7, c, gear, 60});
        addDelivery({5, "26-27", 7, c, gear, 0}); // a second line of challan 5: named once
        addDelivery({3, "26-27", 7, c, pin, 4});
        addDelivery(Delivery{4, "26-27", 7, c, pin, 1}.deleted(1));          // not live
        addDelivery(Delivery{6, "26-27", 7, c, pin, 2}.deleted(QVariant())); // NULL counts as live
        addDelivery({2, "25-26", 7, c, gear, 5});                            // the other year's inward 7
        addBin(7, "26-27", pin, 4, "DC", c);                                 // closes no balance here

        const QList<DespatchRow> rows = despatchRows();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(despatchCells(rows.at(0)).mid(8), QStringList({"", "3.000", "0.000", "3.000"}));
        QCOMPARE(despatchCells(rows.at(1)), QStringList({"7/26-27", "10-04-2026", "CDC-1", "01-05-2026", "PO-1", "G-1",
                                                         "GEAR", "KGS", "3/26-27,5/26-27", "100.000", "100.000",
                                                         "0.000"}));
        QCOMPARE(despatchCells(rows.at(2)).mid(8), QStringList({"3/26-27,6/26-27", "10.000", "6.000", "4.000"}));
        QCOMPARE(despatchCells(rows.at(3)).mid(8), QStringList({"2/25-26", "5.000", "5.000", "0.000"}));
        const DespatchTotals totals = despatchTotals(rows);
        QCOMPARE(totals.received.text(3) + " " + totals.despatched.text(3) + " " + totals.balance.text(3),
                 QStringLiteral("118.000 111.000 7.000"));
        QCOMPARE(sortedChallanList("10/26-27,9/26-27,2/25-26"), QStringLiteral("2/25-26,9/26-27,10/26-27"));
        // In order already, and not quite: numbers equal as numbers, repeats, empty parts.
        QCOMPARE(sortedChallanList("2/25-26,9/26-27,10/26-27"), QStringLiteral("2/25-26,9/26-27,10/26-27"));
        QCOMPARE(sortedChallanList("9/26-27,09/26-27"), QStringLiteral("09/26-27,9/26-27"));
        QCOMPARE(sortedChallanList("9/26-27,10/26-27,9/26-27"), QStringLiteral("9/26-27,10/26-27"));
        QCOMPARE(sortedChallanList(",9/26-27,,10/26-27,"), QStringLiteral("9/26-27,10/26-27"));
    }

    void despatchColoursAtTheThreshold()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int c = addCustomer("ALPHA");
        // Inward n: 10 received; what was sent, and the balance colour.
        // (the first two both show "0.005": cells of one text, two colours)
        const QList<QPair<double, QString>> lines = {{9.9951, "#d4edda"}, // 0.0049 left
                                                     {9.9949, "#fff3cd"}, // 0.0051 left
                                                     {9.996, "#d4edda"},  // 0.004 left
                                                     {9.994, "#fff3cd"},  // 0.006 left
                                                     {12.0, "#d4edda"},   // more sent than received
                                                     {0.0, "#fff3cd"},    // nothing sent
                                                     {9.995, "#d4edda"}}; // 0.005 left, exactly
        for (int no = 1; no <= lines.size(); ++no) {
            const int item = addItem(c, QString("I-%1").arg(no), "PART");
            addInward({no, "26-27", c, item, 10, "2026-04-10"});
            if (lines[no - 1].first > 0)
                addDelivery({no, "26-27", no, c, item, lines[no - 1].first});
        }

        // Filled afresh (after a period of no rows), then in place.
        despatchdetails w;
        auto *table = child<QTableWidget>(&w, "despatch_details_table");
        child<QDateEdit>(&w, "fromdateEdit")->setDate(QDate(2027, 3, 1));
        click(&w, "show_btn");
        QCOMPARE(table->rowCount(), 0);
        for (int fill = 0; fill < 2; ++fill) {
            showYear(&w);
            QCOMPARE(table->rowCount(), 7);
            for (int r = 0; r < 7; ++r) // inward numbers descending
                QCOMPARE(table->item(r, 11)->background().color(), QColor(lines[6 - r].second));
            QCOMPARE(tableCell(table, 2, 11), QStringLiteral("-2.000"));
            QCOMPARE(tableCell(table, 0, 11), QStringLiteral("0.005"));
            QCOMPARE(tableCell(table, 5, 11), QStringLiteral("0.005"));
            QCOMPARE(tableCell(table, 6, 11), QStringLiteral("0.005"));
        }
    }

    void despatchDetailsWindowAndExport()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const int c = addCustomer("ALPHA");
        const int gear = addItem(c, "G-1", "GEAR", "KGS");
        addInward({7, "26-27", c, gear, 100, "2026-04-10"});
        addDelivery({3, "26-27", 7, c, gear, 60});
        addDelivery({5, "26-27", 7, c, gear, 40});

        auto *w = new despatchdetails;
        showYear(w);
        QCOMPARE(child<QLineEdit>(w, "tot_rec_qtyEdit")->text() + " " + child<QLineEdit>(w, "tot_des_qtyEdit")->text()
                     + " " + child<QLineEdit>(w, "tot_bal_qtyEdit")->text(),
                 QStringLiteral("100.000 100.000 0.000"));

        const QString path = env.folder() + "/despatch.csv";
        QCOMPARE(exported(env, w, path),
                 QStringList({"Inward No,Inward Date,DC No,DC Date,PO No,Item Code,Item Name,UOM,Our DCs,"
                              "Received Qty,Despatched Qty,Balance Qty",
                              "7/26-27,10-04-2026,CDC-1,01-05-2026,PO-1,G-1,GEAR,KGS,\"3/26-27,5/26-27\","
                              "100.000,100.000,0.000",
                              ",,,,,,,,Total,100.000,100.000,0.000", ""}));
        QVERIFY(!fileBytes(path).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Export Despatch Details"});
        QCOMPARE(env.desktop.fileDialogDirs, QStringList{"Despatch_Details_26-27.csv"});
        QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});
    }

    void brokenQueryIsReported()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase()); // no sales tables
        inwardHistory history;
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Query Error"));
        env.desktop.clear();
        despatchdetails despatch;
        QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Query Error"));
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
