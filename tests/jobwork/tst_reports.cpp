// The job-work reports: inward history and despatch details, their lists,
// colours, totals and CSV files.

#include "support/files.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/financialyear.h"
#include "app/formstyle.h"
#include "app/keptwindow.h"
#include "jobwork/despatchdetails.h"
#include "jobwork/inwardhistory.h"
#include "jobwork/jobworkreports.h"
#include "sales/salesschema.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
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
template<class W>
void showYear(W *window)
{
    window->template findChild<QDateEdit *>("fromdateEdit")->setDate(QDate(2026, 4, 1));
    window->template findChild<QDateEdit *>("todateEdit")->setDate(QDate(2027, 3, 31));
    QTest::mouseClick(window->template findChild<QPushButton *>("show_btn"), Qt::LeftButton);
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
    void inwardHistoryExportRefusals();

    void despatchCountsLiveChallansOfTheSameYear();
    void despatchAgreesWithPerLineSums();
    void despatchColoursAtTheThreshold();
    void despatchDetailsWindowAndExport();
    void despatchExportRefusals();
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

    QPointer<inwardHistory> kept;
    inwardHistory *w = openKeptWindow(kept, KeptForm::Rebuilt);
    QVERIFY(w && !w->parent());
    QCOMPARE(w->windowTitle(), QStringLiteral("Inward History - Kestrova App"));
    QCOMPARE(w->styleSheet(), formStyleSheet());
    auto *table = w->findChild<QTableWidget *>("inward_history_table");
    auto *combo = w->findChild<QComboBox *>("company_combo");
    auto *total = w->findChild<QLineEdit *>("total_qtyEdit");
    auto *search = w->findChild<QLineEdit *>("searchEdit");
    QCOMPARE(table->columnCount(), 9);
    QCOMPARE(table->horizontalHeaderItem(8)->text(), QStringLiteral("Qty Received"));
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(7), QHeaderView::Stretch);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(total->isReadOnly());
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("-- All Companies --"));
    QCOMPARE(combo->itemData(0).toInt(), -1);

    showYear(w);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(total->text(), QStringLiteral("3.250"));
    QCOMPARE(tableCell(table, 1, 8), QStringLiteral("1.250"));
    QCOMPARE(table->item(1, 8)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));

    // Choosing a customer waits for Show; a search edit reloads at once.
    combo->setCurrentIndex(combo->findText("BETA"));
    QCOMPARE(table->rowCount(), 2);
    QTest::mouseClick(w->findChild<QPushButton *>("show_btn"), Qt::LeftButton);
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
    QTest::mouseClick(w->findChild<QPushButton *>("reset_btn"), Qt::LeftButton);
    QVERIFY(search->text().isEmpty());
    QCOMPARE(w->findChild<QDateEdit *>("fromdateEdit")->date(), defaultPeriodStart());
    QCOMPARE(w->findChild<QDateEdit *>("todateEdit")->date(), QDate::currentDate());

    // Closed, it is built anew on the next opening.
    QTest::mouseClick(w->findChild<QPushButton *>("close_btn"), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    inwardHistory *again = openKeptWindow(kept, KeptForm::Rebuilt);
    QVERIFY(again && again->isVisible());
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
    auto *search = w.findChild<QLineEdit *>("searchEdit");
    search->setText("S-1");
    QCOMPARE(w.findChild<QTableWidget *>("inward_history_table")->rowCount(), 1);

    const QString path = env.folder() + "/inward.csv";
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older, longer file that must go away completely\n");
    old.close();
    env.desktop.saveFileAnswers.enqueue(path);
    QTest::mouseClick(w.findChild<QPushButton *>("print_list_btn"), Qt::LeftButton);

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
    QTest::mouseClick(w.findChild<QPushButton *>("print_list_btn"), Qt::LeftButton);
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

void TestReports::inwardHistoryExportRefusals()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    addInward({1, "26-27", c, addItem(c, "P-1", "PIN"), 1, "2026-04-10"});

    inwardHistory w;
    auto *exportButton = w.findChild<QPushButton *>("print_list_btn");
    auto *search = w.findChild<QLineEdit *>("searchEdit");
    showYear(&w);

    // An empty list: a warning and no dialog.
    search->setText("nothing like it");
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Export"));
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("No data to export!"));
    QVERIFY(env.desktop.fileDialogCaptions.isEmpty());
    search->clear();

    // A cancelled dialog writes and shows nothing.
    env.desktop.clear();
    env.desktop.saveFileAnswers.enqueue(QString());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(env.desktop.fileDialogCaptions.size(), 1);
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QCOMPARE(QDir(env.folder()).entryList({"*.csv"}), QStringList());

    // A file that cannot be written ends silently.
    const QString unwritable = env.folder() + "/no such folder/inward.csv";
    env.desktop.saveFileAnswers.enqueue(unwritable);
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QVERIFY(!QFile::exists(unwritable));
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

    addChallanLine({5, "26-27", 7, c, gear, 40});
    addChallanLine({3, "26-27", 7, c, gear, 60});
    addChallanLine({3, "26-27", 7, c, pin, 4});
    addChallanLine(ChallanLine{4, "26-27", 7, c, pin, 1}.deleted(1));          // not live
    addChallanLine(ChallanLine{6, "26-27", 7, c, pin, 2}.deleted(QVariant())); // NULL counts as live
    addChallanLine({2, "25-26", 7, c, gear, 5});            // the other year's inward 7
    // A bin closes no balance in this report.
    QSqlQuery q;
    QVERIFY(q.exec("INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
                   "VALUES ('2026-05-01', 'DC', 7, " + QString::number(pin) + ", " + QString::number(c)
                   + ", 4, '26-27')"));

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
                addChallanLine(ChallanLine{challan + k % 2, lineFy, n, c, items[i], 1.5 * (k + 1)}.deleted(deleted));
            }
            challan += 2;
        }
    }
    QSqlQuery q;
    // A challan line without a quantity, and an inward line of a database
    // made before financial years were written.
    QVERIFY(q.exec("UPDATE delivery_entries SET delivery_qty = NULL WHERE delivery_id = 3"));
    QVERIFY(q.exec("UPDATE inward_entries SET fy_name = NULL WHERE inward_id = 5"));

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
    QCOMPARE(balanceColor(0.004), StatusColor::Done);
    QCOMPARE(balanceColor(0.005), StatusColor::Done);
    QCOMPARE(balanceColor(0.006), StatusColor::Partial);
    QCOMPARE(balanceColor(-2.0), StatusColor::Done);
    QCOMPARE(StatusColor::Done, QColor("#d4edda"));
    QCOMPARE(StatusColor::Partial, QColor("#fff3cd"));

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
            addChallanLine({no, "26-27", no, c, item, line.sent});
        ++no;
    }

    despatchdetails w;
    showYear(&w);
    auto *table = w.findChild<QTableWidget *>("despatch_details_table");
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
    addChallanLine({3, "26-27", 7, c, gear, 60});
    addChallanLine({5, "26-27", 7, c, gear, 40});

    QPointer<despatchdetails> kept;
    despatchdetails *w = openKeptWindow(kept, KeptForm::Rebuilt);
    QVERIFY(w && !w->parent());
    QCOMPARE(w->windowTitle(), QStringLiteral("Despatch Details - Kestrova App"));
    auto *table = w->findChild<QTableWidget *>("despatch_details_table");
    QCOMPARE(table->columnCount(), 12);
    QCOMPARE(table->horizontalHeaderItem(10)->text(), QStringLiteral("Despatched\nQty"));
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(6), QHeaderView::Stretch);
    QVERIFY(w->findChild<QLineEdit *>("tot_bal_qtyEdit")->isReadOnly());

    showYear(w);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(tableCell(table, 0, 8), QStringLiteral("3/26-27,5/26-27"));
    QCOMPARE(table->item(0, 11)->background().color(), QColor("#d4edda"));
    QCOMPARE(w->findChild<QLineEdit *>("tot_rec_qtyEdit")->text(), QStringLiteral("100.000"));
    QCOMPARE(w->findChild<QLineEdit *>("tot_des_qtyEdit")->text(), QStringLiteral("100.000"));
    QCOMPARE(w->findChild<QLineEdit *>("tot_bal_qtyEdit")->text(), QStringLiteral("0.000"));

    const QString path = env.folder() + "/despatch.csv";
    env.desktop.saveFileAnswers.enqueue(path);
    QTest::mouseClick(w->findChild<QPushButton *>("print_list_btn"), Qt::LeftButton);
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

void TestReports::despatchExportRefusals()
{
    TestEnvironment env;
    QVERIFY(openSalesDatabase(env));
    const int c = addCustomer("ALPHA");
    addInward({1, "26-27", c, addItem(c, "P-1", "PIN"), 1, "2026-04-10"});

    despatchdetails w;
    auto *exportButton = w.findChild<QPushButton *>("print_list_btn");
    w.findChild<QDateEdit *>("fromdateEdit")->setDate(QDate(2027, 1, 1));
    w.findChild<QDateEdit *>("todateEdit")->setDate(QDate(2026, 12, 31));
    QTest::mouseClick(w.findChild<QPushButton *>("show_btn"), Qt::LeftButton);
    QCOMPARE(w.findChild<QLineEdit *>("tot_rec_qtyEdit")->text(), QStringLiteral("0.000"));
    QCOMPARE(w.findChild<QLineEdit *>("tot_bal_qtyEdit")->text(), QStringLiteral("0.000"));

    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Export"));
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("No data to export!"));
    QVERIFY(env.desktop.fileDialogCaptions.isEmpty());

    showYear(&w);
    env.desktop.clear();
    env.desktop.saveFileAnswers.enqueue(QString());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QCOMPARE(QDir(env.folder()).entryList({"*.csv"}), QStringList());

    const QString unwritable = env.folder() + "/no such folder/despatch.csv";
    env.desktop.saveFileAnswers.enqueue(unwritable);
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastMessage().icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Could not save file!"));
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QVERIFY(!QFile::exists(unwritable));
}

void TestReports::brokenQueryIsReported()
{
    TestEnvironment env;
    QVERIFY(env.openDatabase()); // no sales tables

    inwardHistory history;
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Query Error"));
    QVERIFY(!env.desktop.lastMessage().text.isEmpty());
    QCOMPARE(history.findChild<QTableWidget *>("inward_history_table")->rowCount(), 0);

    env.desktop.clear();
    despatchdetails despatch;
    QCOMPARE(env.desktop.lastMessage().title, QStringLiteral("Query Error"));
    QCOMPARE(despatch.findChild<QTableWidget *>("despatch_details_table")->rowCount(), 0);
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
