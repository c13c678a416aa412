// The delivery challan generation window: the list with its statuses and
// filters, ticks kept to one customer, the hand-over to a new challan form,
// and Bin with its question and messages.

#include "support/formfonts.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"
#include "support/tickcells.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "jobwork/deliverychallanlist.h"
#include "jobwork/generatedc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace testdata;

namespace {

// The window, shown, with its list read through the "Inward No" column.
struct Window
{
    generateDC *w = new generateDC; // deleted by the test environment
    QTableWidget *list = child<QTableWidget>(w, "gen_dc_table");

    Window() { w->show(); }
    QStringList shown() const { return columnTexts(list, 2); }
    int rowOf(const QString &fullNumber) const { return int(shown().indexOf(fullNumber)); }
    QString cell(int row, int column) const { return tableCell(list, row, column); }
    QCheckBox *box(int row) const { return tickBox(list, row); }
    QCheckBox *box(const QString &fullNumber) const { return box(rowOf(fullNumber)); }
    void tick(const QString &fullNumber) const { box(fullNumber)->click(); }
    void click(const char *name) const { ::click(w, name); }
};

// Bin's refusal of an entry no longer as the list showed it.
QString refusedText(const QString &entry)
{
    return "Error|Inward No " + entry + " was issued, binned, cancelled or changed meanwhile, perhaps in another "
           "window. Nothing was binned.\n\nPress Show to list the entries as they are now, then tick the ones "
           "still pending.";
}

// (inward no, item code, qty) of each line of each open challan form.
QStringList formLines()
{
    QStringList lines;
    for (deliveryChallanList *form : topLevelWindows<deliveryChallanList>()) {
        auto *table = child<QTableWidget>(form, "qtyEditing_Table");
        for (int r = 0; r < table->rowCount(); ++r)
            lines << table->item(r, 9)->text() + " " + table->item(r, 4)->text() + " " + table->item(r, 7)->text();
    }
    return lines;
}

// Customers ACME (1) and BOLT WORKS (2) with entries of the current and an earlier year:
//   ACME 1/26-27: A 10 (challan 4), B 5 (bin 1)   Partial, balance 10
//   ACME 2/26-27: A 3                              Pending
//   ACME 3/26-27: A 2 (challan 2)                  Issued
//   BOLT 4/26-27: P 8                              Pending
//   ACME 5/25-26: A 6 (challan 1 of 25-26)         Partial
enum { Acme = 1, Bolt = 2, A = 1, B = 2, P = 3 };

bool openWithFirm(TestEnvironment &env)
{
    if (!openSalesDatabase(env))
        return false;
    addCustomer("ACME");
    addCustomer("BOLT WORKS");
    addItem(Acme, "A1", "BRACKET");
    addItem(Acme, "B1", "FLANGE");
    addItem(Bolt, "P1", "PIPE");
    addInward({1, "26-27", Acme, A, 10, "2026-05-03", "CDC-7", "2026-05-01", "PO-77", "urgent"});
    addInward({1, "26-27", Acme, B, 5, "2026-05-03", "CDC-7", "2026-05-01", "PO-77"});
    addInward({2, "26-27", Acme, A, 3});
    addInward({3, "26-27", Acme, A, 2});
    addInward({4, "26-27", Bolt, P, 8});
    addInward({5, "25-26", Acme, A, 6});
    addDelivery({1, "26-27", 1, Acme, A, 4});
    addBin(1, "26-27", B, 1);
    addDelivery({2, "26-27", 3, Acme, A, 2});
    addDelivery({1, "25-26", 5, Acme, A, 1});
    return true;
}

} // namespace

class TestGenerateDc : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    void init()
    {
        g_currentFY = "26-27";
        env = std::make_unique<TestEnvironment>();
        QVERIFY(openWithFirm(*env));
    }
    void cleanup() { env.reset(); }

    void listShowsBalancesAndStatuses()
    {
        Window w;
        QCOMPARE(w.shown(), QStringList({"4/26-27", "2/26-27", "1/26-27", "5/25-26"}));
        const int row = w.rowOf("1/26-27");
        // 15 received less a challan of 4 and a bin of 1.
        QCOMPARE(rowTexts(w.list, row).mid(1), QStringList({"1", "1/26-27", "03-05-2026", "CDC-7", "01-05-2026",
                                                            "PO-77", "ACME", "10.000", "Partial"}));
        QCOMPARE(w.list->item(row, 9)->background().color(), QColor("#fff3cd"));
        QCOMPARE(w.cell(w.rowOf("2/26-27"), 9), QString("Pending"));
        QCOMPARE(w.list->item(w.rowOf("2/26-27"), 9)->background().color(), QColor("#f8d7da"));
        QCOMPARE(w.cell(w.rowOf("5/25-26"), 8), QString("5.000"));
    }

    void radioButtonsAndFiltersChooseTheRows()
    {
        Window w;
        w.click("radio_issued");
        QCOMPARE(w.shown(), QStringList({"3/26-27"}));
        QCOMPARE(w.list->item(0, 9)->background().color(), QColor("#d4edda"));
        QVERIFY(!w.box(0)->isEnabled());
        w.click("radio_all");
        QCOMPARE(w.shown(), QStringList({"4/26-27", "3/26-27", "2/26-27", "1/26-27", "5/25-26"}));

        auto *combo = child<QComboBox>(w.w, "company_combo");
        combo->setCurrentIndex(combo->findData(Bolt));
        QCOMPARE(w.shown(), QStringList({"4/26-27"}));
        combo->setCurrentIndex(0);
        // One matching line keeps the entry with all of its lines counted;
        // the text is bound, never part of the statement.
        auto *item = child<QLineEdit>(w.w, "filter_codeEdit");
        item->setText("flan");
        QCOMPARE(w.shown(), QStringList({"1/26-27"}));
        QCOMPARE(w.cell(0, 8), QString("10.000"));
        item->setText("x' OR '1'='1");
        QVERIFY(w.shown().isEmpty());
        item->clear();

        // Show reads what was written meanwhile.
        w.click("radio_pending");
        addDelivery({3, "26-27", 2, Acme, A, 3});
        w.click("show_btn");
        QCOMPARE(w.shown(), QStringList({"4/26-27", "1/26-27", "5/25-26"}));

        // Shown again, the customers are read anew and every customer is chosen.
        combo->setCurrentIndex(combo->findData(Bolt));
        addCustomer("CARBON CO");
        w.w->hide();
        w.w->show();
        QCOMPARE(comboTexts(combo).mid(2), QStringList({"BOLT WORKS", "CARBON CO"}));
        QCOMPARE(w.list->rowCount(), 3);
    }

    void previewShowsTheRowsOwnEntry()
    {
        addInward({1, "25-26", Acme, addItem(Acme, "Z9", "ZINC PLATE"), 4}); // the same number a year earlier
        Window w;
        auto *display = child<QTableWidget>(w.w, "display_table");
        w.list->setCurrentCell(w.rowOf("1/26-27"), 2);
        QCOMPARE(columnTexts(display, 0), QStringList({"A1", "B1"}));
        QCOMPARE(rowTexts(display, 0), QStringList({"A1", "BRACKET", "10.000", "NOS", "urgent"}));
        w.list->setCurrentCell(w.rowOf("1/25-26"), 2);
        QCOMPARE(columnTexts(display, 0), QStringList({"Z9"}));
    }

    void ticksKeepToOneCustomer()
    {
        Window w;
        w.click("radio_all");
        QVERIFY(!w.box("3/26-27")->isEnabled());
        w.tick("2/26-27");
        QVERIFY(!w.box("4/26-27")->isEnabled());
        QVERIFY(w.box("3/26-27")->isEnabled()); // the chosen customer's issued row
        QVERIFY(w.box("5/25-26")->isEnabled());

        // A second customer's row cannot be ticked.
        w.box("4/26-27")->click();
        QVERIFY(!w.box("4/26-27")->isChecked());

        w.tick("2/26-27"); // untick the last box
        QVERIFY(w.box("4/26-27")->isEnabled());

        // Any reload clears the ticks.
        w.tick("4/26-27");
        w.click("show_btn");
        QVERIFY(!w.box("4/26-27")->isChecked());
        QVERIFY(w.box("2/26-27")->isEnabled());
    }

    void ticksOfALongListSurviveScrolling()
    {
        // BOLT's 4/26-27 comes after ACME's 600 entries of the year.
        QSqlDatabase::database().transaction();
        for (int n = 11; n <= 610; ++n)
            addInward({n, "26-27", Acme, A, double(n)});
        QSqlDatabase::database().commit();
        Window w;
        QCOMPARE(w.cell(w.list->rowCount() - 4, 2), QString("4/26-27"));

        w.tick("610/26-27");
        const int bolt = w.list->rowCount() - 4;
        w.list->scrollToBottom();
        QVERIFY(!w.box(0)); // far above the view
        QVERIFY(!w.box(bolt)->isEnabled());
        w.box(bolt - 1)->click(); // 11/26-27

        w.list->scrollToTop();
        QVERIFY(w.box(0)->isChecked());
        w.click("proced_del_btn");
        QCOMPARE(formLines(), QStringList({"610 A1 610.000", "11 A1 11.000"}));

        // Unticking both frees every row again, on screen or not.
        w.box(0)->click();
        w.list->scrollToBottom();
        w.box(bolt - 1)->click();
        QVERIFY(w.box(bolt)->isEnabled());
        // A box made on scrolling carries its own row's customer and number.
        QCOMPARE(w.box(bolt)->property("customerName").toString(), QString("BOLT WORKS"));
        QCOMPARE(w.box(bolt)->property("inwardNo").toInt(), 4);
        QCOMPARE(w.box(bolt - 1)->property("customerName").toString(), QString("ACME"));
        QCOMPARE(w.box(bolt - 1)->property("inwardNo").toInt(), 11);
    }

    // Under the application's style sheet every text keeps the form's font.
    void windowShowsTheFormFont()
    {
        const ApplicationStyleInTest style;
        Window w;
        const QStringList wrong = widgetsNotShowing(w.w, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }

    void proceedOpensAFormWithTheTickedBalances()
    {
        addInward({6, "26-27", Acme, B, 9}); // not ticked
        Window w;
        w.tick("2/26-27");
        w.tick("1/26-27");
        w.click("proced_del_btn");
        QVERIFY(env->desktop.messages.isEmpty());
        const QList<deliveryChallanList *> forms = topLevelWindows<deliveryChallanList>();
        QCOMPARE(forms.size(), 1);
        QVERIFY(forms[0]->isVisible());
        QCOMPARE(child<QLineEdit>(forms[0], "companyNameEdit")->text(), QString("ACME"));
        // Entry 1 lends what is left after its challan and its bin, entry 2 all of it.
        QCOMPARE(formLines(), QStringList({"2 A1 3.000", "1 A1 6.000", "1 B1 4.000"}));

        // Every press opens another form; the ticks stay.
        w.click("proced_del_btn");
        QCOMPARE(topLevelWindows<deliveryChallanList>().size(), 2);
        QVERIFY(w.box("1/26-27")->isChecked());
    }

    void proceedRefusals()
    {
        Window w;
        w.click("proced_del_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Please select at least one DC using checkbox!"));

        // An earlier year's entry cannot go to the form, which works in the current year.
        w.tick("1/26-27");
        w.tick("5/25-26");
        w.click("proced_del_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Inward No 5/25-26 belongs to the financial year 25-26.\n"
                                                  "Delivery challans are made in the current financial year 26-27 "
                                                  "only.\n\nUntick it, or close its balance with Bin."));
        QVERIFY(topLevelWindows<deliveryChallanList>().isEmpty());

        // Logged in to that year, the same entry goes through.
        g_currentFY = "25-26";
        w.click("show_btn");
        w.tick("5/25-26");
        w.click("proced_del_btn");
        QCOMPARE(formLines(), QStringList({"5 A1 5.000"}));
    }

    // Another copy issues, bins or cancels the whole of a ticked entry
    // meanwhile: Proceed names it and opens no empty form.
    void proceedRefusesAnEntryWithNothingLeft_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::newRow("issued") << challanLineStatement(7, 2, 1, 3);
        QTest::newRow("binned") << dcBinStatement(2, 1, 3);
        QTest::newRow("cancelled") << "UPDATE inward_entries SET is_deleted = 1 WHERE inward_no = 2";
    }
    void proceedRefusesAnEntryWithNothingLeft()
    {
        QFETCH(QString, otherCopy);
        Window w;
        w.tick("1/26-27");
        w.tick("2/26-27");
        writeAsOtherCopy(otherCopy);
        w.click("proced_del_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString("Error|Nothing is left to deliver on Inward No 2/26-27: issued, binned or cancelled "
                         "meanwhile, perhaps in another window. No challan form was opened.\n\nPress Show to list "
                         "the entries as they are now, then tick the ones still pending."));
        QVERIFY(topLevelWindows<deliveryChallanList>().isEmpty());

        w.click("show_btn");
        QCOMPARE(w.rowOf("2/26-27"), -1);
        w.tick("1/26-27");
        w.click("proced_del_btn");
        QCOMPARE(formLines(), QStringList({"1 A1 6.000", "1 B1 4.000"}));
    }

    // An entry of 10^16 received, written by another program, less a challan
    // of 2.5: 9,999,999,999,999,997.5 left, shown exactly; a challan form or a
    // bin worked out from it is refused, naming the entry and the figure.
    void anEntryStoredBeyondTheFormsShowsItsBalanceAndIsRefused()
    {
        addInward({9, "26-27", Acme, A, 1e16});
        addDelivery({9, "26-27", 9, Acme, A, 2.5});
        Window w;
        const int row = w.rowOf("9/26-27");
        QCOMPARE(w.cell(row, 8) + " " + w.cell(row, 9), QString("9999999999999997.500 Partial"));
        const QString refused = "Figure Too Large|Inward No 9/26-27: Inward Qty 10000000000000000.000 is too large "
                                "to work with: the program works exactly only below 1,000,000,000,000,000.\n";
        w.tick("9/26-27");
        w.click("proced_del_btn");
        QCOMPARE(env->desktop.lastShown(), refused + "No challan form was opened.");
        QVERIFY(topLevelWindows<deliveryChallanList>().isEmpty());
        w.click("bin_btn"); // refused before the question
        QCOMPARE(env->desktop.lastShown(), refused + "Nothing was binned.");
        // The store refuses it too, with an open entry before it: nothing binned.
        QList<PendingRow> listed;
        QString error;
        QVERIFY(queryPendingInwards({-1, "", "26-27", PendingFilter::Open}, &listed, &error));
        QList<BinTarget> targets;
        for (const char *number : {"2/26-27", "9/26-27"}) // the open one first
            for (const PendingRow &entry : listed)
                if (entry.inwardNoFull == number)
                    targets << binTargetOf(entry);
        QCOMPARE(targets.size(), 2);
        const BinOutcome outcome = binPendingBalances(targets, QDate::currentDate());
        QCOMPARE("Figure Too Large|" + outcome.tooLarge + "\n", refused);
        QVERIFY(!outcome.ok && outcome.notPending.isEmpty());
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 1); // the fixture's own bin only
    }

    void binClosesTheRestAfterTheQuestion()
    {
        addInward({8, "26-27", Acme, A, 10});
        addDelivery({9, "26-27", 8, Acme, A, 4});
        Window w;
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Select at least one row to bin!"));

        w.click("radio_all");
        w.tick("2/26-27");
        w.tick("3/26-27"); // issued; enabled by the tick of its customer's row
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Row is already fully issued!"));
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 1); // the fixture's own bin only

        w.click("radio_pending");
        w.tick("8/26-27");
        env->desktop.messageAnswers.enqueue(QMessageBox::No);
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(),
                 QString::fromUtf8("Confirm Bin|Close pending balance for selected inward(s)?\n\n\u2022 Pending qty "
                                   "will be zeroed out\n\u2022 No invoice or DC numbers used\n\u2022 Inward entries "
                                   "stay unchanged\n\u2022 This cannot be undone"));
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 1);

        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Binned|Pending balance closed successfully!"));
        QCOMPARE(rows("SELECT bin_type, inward_no, item_id, customer_id, binned_qty, fy_name, bin_date FROM bins "
                      "WHERE inward_no = 8"),
                 QStringList{"DC|8|1|1|6|26-27|" + QDate::currentDate().toString("yyyy-MM-dd")});
        // The list was reloaded: the entry shows Issued.
        QCOMPARE(w.rowOf("8/26-27"), -1);
        w.click("radio_issued");
        QCOMPARE(w.cell(w.rowOf("8/26-27"), 9), QString("Issued"));

        // An earlier year's entry may be binned; it closes in its own year.
        w.click("radio_pending");
        w.tick("5/25-26");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        w.click("bin_btn");
        QCOMPARE(value("SELECT binned_qty FROM bins WHERE fy_name = '25-26'").toDouble(), 5.0);
    }

    // Another copy delivers or cancels a ticked entry meanwhile: Bin stores
    // nothing of the batch and names the entry.
    void binRefusesAnEntryNoLongerPending()
    {
        Window w;
        w.tick("1/26-27");
        w.tick("2/26-27");
        writeAsOtherCopy(challanLineStatement(7, 2, 1, 3));
        const QString refused = refusedText("2/26-27");
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), refused);
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 1); // the fixture's own bin only

        writeAsOtherCopy("DELETE FROM delivery_entries WHERE delivery_no = 7");
        writeAsOtherCopy("UPDATE inward_entries SET is_deleted = 1 WHERE inward_no = 2");
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), refused);
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 1);
    }

    // The entry is still open but its balance is no longer the listed 10:
    // nothing of the batch is binned, never more than the list showed; after
    // Show the balance as it is now is binned.
    void binRefusesABalanceChangedMeanwhile_data()
    {
        QTest::addColumn<QString>("otherCopy");
        QTest::addColumn<double>("balanceNow");
        QTest::newRow("challan cancelled") << "UPDATE delivery_entries SET is_deleted = 1 WHERE delivery_no = 1 AND fy_name = '26-27'"
                                           << 14.0;
        QTest::newRow("part delivered") << challanLineStatement(8, 1, 1, 2) << 8.0;
        QTest::newRow("binned in part") << dcBinStatement(1, 1, 3) << 7.0;
    }
    void binRefusesABalanceChangedMeanwhile()
    {
        QFETCH(QString, otherCopy);
        QFETCH(double, balanceNow);
        Window w;
        w.tick("2/26-27");
        w.tick("1/26-27");
        writeAsOtherCopy(otherCopy);
        const int binsListed = count("SELECT COUNT(*) FROM bins");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), refusedText("1/26-27"));
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), binsListed);

        w.click("show_btn");
        QCOMPARE(w.cell(w.rowOf("1/26-27"), 8), QString::number(balanceNow, 'f', 3));
        w.tick("1/26-27");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        w.click("bin_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Binned|Pending balance closed successfully!"));
        QCOMPARE(value("SELECT SUM(binned_qty) FROM bins WHERE bin_date = date('now', 'localtime') "
                       "AND inward_no = 1").toDouble(),
                 balanceNow);
    }
};

QTEST_MAIN(TestGenerateDc)
#include "tst_generatedc.moc"
