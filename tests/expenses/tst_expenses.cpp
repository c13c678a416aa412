// The expenses window: entry, correction and deletion with their serial
// numbers, the period list and its total, the PDF report and the CSV export.

#include "support/files.h"
#include "support/formfonts.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/tablelook.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "expenses/expensestore.h"
#include "expenses/expenseswindow.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

namespace {

struct Form
{
    ExpensesWindow *w = new ExpensesWindow; // deleted by the test environment
    QTableWidget *list = child<QTableWidget>(w, "tableWidget");
    QLabel *serial = child<QLabel>(w, "lblslno");
    QLabel *total = child<QLabel>(w, "labletotal");
    QDateEdit *date = child<QDateEdit>(w, "dateEdit");
    QDateEdit *from = child<QDateEdit>(w, "fromDate");
    QDateEdit *to = child<QDateEdit>(w, "toDate");

    void enter(const QDate &day, const QString &heading, const QString &details, const QString &amount)
    {
        date->setDate(day);
        child<QLineEdit>(w, "heading")->setText(heading);
        child<QLineEdit>(w, "details")->setText(details);
        child<QLineEdit>(w, "amount")->setText(amount);
    }
    void add(const QDate &day, const QString &heading, const QString &details, const QString &amount)
    {
        enter(day, heading, details, amount);
        click(w, "add_btn");
    }
    void period(const QDate &a, const QDate &b)
    {
        from->setDate(a);
        to->setDate(b);
    }
    void select(int row) { list->setCurrentCell(row, 1); }
    // Three expenses on 1, 2 and 3 May 2026.
    void addThree(const QString &firstHeading, const QString &secondHeading, const QString &secondDetails);
};

// The stored rows as "slno|date|heading|details|amount".
QStringList stored()
{
    QStringList rows;
    QSqlQuery q("SELECT slno, date, heading, details, amount, typeof(amount) FROM expenses ORDER BY slno");
    while (q.next()) {
        rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString(), q.value(5).toString() + ":" + q.value(4).toString()}
                    .join('|');
    }
    return rows;
}

// A fresh application folder with its database open.
struct OpenEnvironment : TestEnvironment
{
    OpenEnvironment()
    {
        if (!openDatabase())
            qFatal("cannot open the test database");
        createExpensesTable();
    }
};

const QDate May1(2026, 5, 1), May2(2026, 5, 2), May3(2026, 5, 3);

// How a refused Update tells the user to go on.
const QString UpdateChangedWayOn =
    "What you typed stays in the fields: press Show or Reset to list the expense as it is now, then select it and "
    "press Edit to load it in place of what you typed; or press Add to save what you typed as a new expense.";
const QString UpdateGoneWayOn = "What you typed stays in the fields: press Add to save it as a new expense.";

// A click and typing as the system delivers them: to the window, where an
// open suggestion list takes them first.
void clickOn(QWidget *target)
{
    QWidget *window = target->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, target->mapTo(window, target->rect().center()));
}
void type(QWidget *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}

void Form::addThree(const QString &firstHeading, const QString &secondHeading, const QString &secondDetails)
{
    add(May1, firstHeading, "", "120");
    add(May2, secondHeading, secondDetails, "1500.5");
    add(May3, "Courier", "later", "80");
}

} // namespace

class TestExpenses : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }

    void serialNumbersFollowTheListAndTheKeyIsNeverReused()
    {
        OpenEnvironment env;
        Form f;
        QCOMPARE(f.serial->text(), QString("SI No: 1"));

        f.add(May1, "Tea", "office", "120");
        f.add(May2, "Diesel", "", "1500.5");
        f.add(May3, "Courier", "to Pune", "80");
        QCOMPARE(columnTexts(f.list, 0), QStringList({"1", "2", "3"}));
        QCOMPARE(f.serial->text(), QString("SI No: 4"));

        f.select(1);
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(f.w, "delete_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Confirm|Are you sure to delete record #2?"));
        QCOMPARE(columnTexts(f.list, 0), QStringList({"1", "2"}));
        QCOMPARE(f.list->item(1, 0)->data(Qt::UserRole).toInt(), 3);
        QCOMPARE(f.serial->text(), QString("SI No: 3"));
        QCOMPARE(f.total->text(), QString("Total Amount: 200.00"));

        f.add(May3, "Stationery", "", "45");
        QCOMPARE(stored().last(), QString("4|2026-05-03|Stationery||real:45"));
        QCOMPARE(rowTexts(f.list, 2), QStringList({"3", "03-05-2026", "Stationery", "", "45.00"}));

    }

    void completersOfferEarlierTextsAnywhereInside()
    {
        OpenEnvironment env;
        Form f;
        f.add(May1, "Diesel for generator", "Pump house", "10");
        f.add(May1, "Tea", "", "5");
        QCompleter *completer = child<QLineEdit>(f.w, "heading")->completer();
        QVERIFY(completer);
        completer->setCompletionPrefix("GENERAT");
        QCOMPARE(completer->completionCount(), 1);
        QCOMPARE(completer->currentCompletion(), QString("Diesel for generator"));
        f.add(May1, "Generator repair", "", "5");
        completer->setCompletionPrefix("generat");
        QCOMPARE(completer->completionCount(), 2);
    }

    void clicksPastOpenSuggestionsLandWhereAimed()
    {
        OpenEnvironment env;
        Form f;
        f.add(May1, "Electricity", "EB bill Oct", "5000");
        f.w->showNormal();
        f.w->resize(1366, 740); // the fields side by side, as on the office screen
        f.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.w));
        auto *heading = child<QLineEdit>(f.w, "heading"), *details = child<QLineEdit>(f.w, "details"),
             *amount = child<QLineEdit>(f.w, "amount");
        heading->setFocus();
        type(f.w, "Elec");
        QTRY_VERIFY(heading->completer()->popup()->isVisible());
        clickOn(amount);
        QTRY_VERIFY(amount->hasFocus());
        type(f.w, "5400");
        clickOn(details);
        QTRY_VERIFY(details->hasFocus());
        type(f.w, "EB bill");
        QTRY_VERIFY(details->completer()->popup()->isVisible());
        clickOn(child<QPushButton>(f.w, "add_btn")); // pressed through the list
        QTRY_COMPARE(stored().size(), 2);
        QCOMPARE(stored().last(), QString("2|2026-05-01|Elec|EB bill|real:5400"));

        // A suggestion is still chosen by a click on it.
        heading->setFocus();
        type(f.w, "Elec");
        QAbstractItemView *list = heading->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        const QModelIndex electricity =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, "Electricity").value(0);
        QTest::mouseClick(list->windowHandle(), Qt::LeftButton, {},
                          list->viewport()->mapTo(list, list->visualRect(electricity).center()));
        QTRY_COMPARE(heading->text(), QString("Electricity"));
    }

    void addAndUpdateCheckTheirFields()
    {
        OpenEnvironment env;
        Form f;
        f.add(May1, "", "no heading", "10");
        QCOMPARE(env.desktop.lastShown(), QString("Input Error|Heading cant be empty"));
        f.add(May1, "   ", "blanks are a heading", "abc"); // stray text counts as 0
        QCOMPARE(stored(), QStringList({"1|2026-05-01|   |blanks are a heading|real:0"}));

        for (const char *amount : {"nan", "inf", "-inf"}) {
            f.add(May2, "Power", "", amount);
            QCOMPARE(env.desktop.lastShown(), QString("Input Error|Amount must be a finite number"));
        }
        for (const char *amount : {"1e309", "999999999999999.99", "100000000000", "99999999999.995",
                                   "-100000000000.01", "1000000000000000"}) {
            f.add(May2, "Power", "", amount);
            QCOMPARE(env.desktop.lastShown(), QString("Figure Too Large|Amount is too large: at most 99,999,999,999.99"));
        }
        QCOMPARE(stored().size(), 1);
        QCOMPARE(child<QLineEdit>(f.w, "amount")->text(), QString("1000000000000000")); // kept for correction

        // Edit needs a chosen row, then loads it back.
        click(f.w, "edit_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Selection Error|Please select the row"));
        f.select(0);
        click(f.w, "edit_btn");
        QCOMPARE(f.serial->text(), QString("Editing SI No: 1"));
        QCOMPARE(child<QLineEdit>(f.w, "amount")->text(), QString("0.00"));

        f.enter(May3, "", "x", "5");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Input Error|Heding cant be Empty"));
        f.enter(May3, "Power", "bill", "inf");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Input Error|Amount must be a finite number"));
        QCOMPARE(f.serial->text(), QString("Editing SI No: 1")); // still editing

        // The amount is stored as a number, text as 0.
        f.enter(May3, "Power", "bill", "12 apples");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|Record updated successfully"));
        QCOMPARE(stored(), QStringList({"1|2026-05-03|Power|bill|real:0"}));
        f.select(0);
        click(f.w, "edit_btn");
        f.enter(May3, "Power", "bill", " 2450.75 ");
        click(f.w, "update_btn");
        QCOMPARE(stored(), QStringList({"1|2026-05-03|Power|bill|real:2450.75"}));
        QCOMPARE(f.serial->text(), QString("SI No: 2"));
        // A pasted text is rounded once from all its digits: 2.67, not 2.68.
        f.add(May3, "Tea", "", "2.67499999999999982");
        QCOMPARE(stored().value(1), QString("2|2026-05-03|Tea||real:2.67"));
    }

    // Refused naming the row and saying how to go on; what was typed stays.
    void anExpenseChangedInAnotherCopyIsNeitherUpdatedNorDeleted_data()
    {
        QTest::addColumn<QStringList>("otherCopy"); // to rows 3, 2 and 1 in turn
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("deleteWayOn");
        QTest::addColumn<QString>("updateWayOn");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("deleted") << QStringList(3, "DELETE FROM expenses WHERE slno = %1")
                                 << " no longer exists; it may have been deleted in another window. Nothing was saved."
                                 << "" << " " + UpdateGoneWayOn << QStringList();
        QTest::newRow("changed") << QStringList{"UPDATE expenses SET heading = 'Post' WHERE slno = %1",
                                                "UPDATE expenses SET amount = 777 WHERE slno = %1",
                                                "UPDATE expenses SET details = 'milk' WHERE slno = %1"}
                                 << " was changed or deleted meanwhile, perhaps in another window. Nothing was saved."
                                 << " Press Show or Reset to list the expense as it is now, then select it and press "
                                    "Delete again."
                                 << " " + UpdateChangedWayOn
                                 << QStringList({"1|2026-05-01|Tea|milk|real:120", "2|2026-05-02|Diesel|van|real:777",
                                                 "3|2026-05-03|Post|later|real:80"});
    }
    void anExpenseChangedInAnotherCopyIsNeitherUpdatedNorDeleted()
    {
        QFETCH(QStringList, otherCopy);
        QFETCH(QString, meanwhile);
        QFETCH(QString, deleteWayOn);
        QFETCH(QString, updateWayOn);
        OpenEnvironment env;
        Form f;
        f.addThree("Tea", "Diesel", "van");
        writeAsOtherCopy(otherCopy.at(0).arg(3));
        f.select(2);
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(f.w, "delete_btn");
        QCOMPARE(env.desktop.lastShown(), "Delete Error|Expense #3 (Courier)" + meanwhile + deleteWayOn);

        f.select(1);
        click(f.w, "edit_btn");
        writeAsOtherCopy(otherCopy.at(1).arg(2));
        child<QLineEdit>(f.w, "amount")->setText("1600");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), "Update Error|Expense #2 (Diesel)" + meanwhile + updateWayOn);
        QCOMPARE(child<QLineEdit>(f.w, "amount")->text(), QString("1600"));
        // The other copy holds the file while this one saves.
        f.select(0);
        click(f.w, "edit_btn");
        saveWhileOtherCopyWrites(otherCopy.at(2).arg(1), [&] { click(f.w, "update_btn"); });
        QCOMPARE(env.desktop.lastShown(), "Update Error|Expense #1 (Tea)" + meanwhile + updateWayOn);
        QTEST(stored(), "left");
    }

    // After Update was refused the window is back in entry with what was
    // typed: Add saves it as a new expense, and the row listed again by
    // Reset is loaded by Edit and updated as it now is.
    void afterARefusedUpdateTheFormGoesOn()
    {
        OpenEnvironment env;
        Form f;
        f.addThree("Tea", "Diesel", "van");
        f.select(1);
        click(f.w, "edit_btn");
        writeAsOtherCopy("UPDATE expenses SET heading = 'Van hire' WHERE slno = 2");
        f.enter(May3, "Diesel", "van, refilled", "1600");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Update Error"));
        QCOMPARE(f.serial->text(), QString("SI No: 4"));
        QVERIFY(!child<QPushButton>(f.w, "update_btn")->isEnabled());

        click(f.w, "add_btn"); // what was typed, all of it
        QCOMPARE(stored().value(3), QString("4|2026-05-03|Diesel|van, refilled|real:1600"));

        click(f.w, "reset");
        f.select(1);
        click(f.w, "edit_btn");
        QCOMPARE(child<QLineEdit>(f.w, "heading")->text(), QString("Van hire"));
        child<QLineEdit>(f.w, "amount")->setText("1550");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|Record updated successfully"));
        QCOMPARE(stored().value(1), QString("2|2026-05-02|Van hire|van|real:1550"));
    }

    void showListsThePeriodInclusively()
    {
        OpenEnvironment env;
        // Text that reached the amount column earlier counts as 0.
        QSqlQuery q;
        QVERIFY(q.exec("INSERT INTO expenses (date, heading, details, amount) VALUES "
                       "('2026-04-30', 'Rent', '', 9000), ('2026-05-01', 'Tea', '', 100.25), "
                       "('2026-05-03', 'Diesel', '', 'twelve'), ('2026-05-04', 'Fuel', '', 40), "
                       "('01/05/2026', 'Typed', '', 5)"));
        Form f;
        QCOMPARE(columnTexts(f.list, 1), QStringList({"30-04-2026", "01-05-2026", "03-05-2026", "04-05-2026", "01/05/2026"}));
        QCOMPARE(f.total->text(), QString("Total Amount: 9145.25"));

        f.period(May1, May3);
        click(f.w, "show");
        QCOMPARE(columnTexts(f.list, 2), QStringList({"Tea", "Diesel"}));
        QCOMPARE(columnTexts(f.list, 0), QStringList({"1", "2"}));
        QCOMPARE(columnTexts(f.list, 4), QStringList({"100.25", "0.00"}));
        QCOMPARE(f.total->text(), QString("Total Amount: 100.25"));

        f.period(May3, May1);
        click(f.w, "show");
        QCOMPARE(env.desktop.lastShown(), QString("Date Error|From Date cannot be greater than To Date!"));
        QCOMPARE(columnTexts(f.list, 2), QStringList({"Tea", "Diesel"}));

        f.period(QDate(2026, 6, 1), QDate(2026, 6, 30));
        click(f.w, "show");
        QCOMPARE(env.desktop.lastShown(), QString("No Data|No expenses found between\n2026-06-01 and 2026-06-30"));
        QCOMPARE(f.list->rowCount(), 0);
        QCOMPARE(f.total->text(), QString("Total Amount: 0.00"));

        // Reset lists everything again over the current month's period.
        click(f.w, "reset");
        QCOMPARE(f.list->rowCount(), 5);
    }

    void aRefilledListShowsWhatAFreshListShows()
    {
        OpenEnvironment env;
        QSqlQuery q;
        QVERIFY(q.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 120) "
                       "INSERT INTO expenses (date, heading, details, amount) "
                       "SELECT printf('2026-05-%02d', i % 28 + 1), 'Tea ' || i, '', i * 12.5 FROM n"));
        Form f;
        f.w->show();
        // Show one week, select a row, scroll down, then Reset.
        f.period(May1, QDate(2026, 5, 7));
        click(f.w, "show");
        QCOMPARE(f.list->rowCount(), 34);
        f.select(4);
        f.list->scrollToBottom();
        click(f.w, "reset");

        Form fresh;
        fresh.w->show();
        QCOMPARE(tableLook(f.list), tableLook(fresh.list));
    }

    void aWideAmountFarDownTheListIsShownWhole()
    {
        OpenEnvironment env;
        QSqlQuery q;
        QVERIFY(q.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                       "INSERT INTO expenses (date, heading, details, amount) SELECT '2026-05-01', 'Tea', '', 5 FROM n"));
        QVERIFY(q.exec("INSERT INTO expenses (date, heading, details, amount) VALUES "
                       "('2026-05-02', 'CNC machine advance', '', 1250000.5)"));
        Form f;
        f.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.w));
        const QFontMetrics metrics(f.list->font());
        QCOMPARE(f.list->item(300, 4)->text(), QString("1250000.50"));
        QVERIFY(f.list->columnWidth(4) > metrics.horizontalAdvance("1250000.50"));
        QVERIFY(f.list->columnWidth(0) > metrics.horizontalAdvance("301"));
    }

    void exportWritesThePeriodAsCsv()
    {
        OpenEnvironment env;
        Form f;
        f.addThree("Tea \"special\"", "Diesel, truck", "say \"hi\"");

        f.period(May1, May2);
        const QString path = env.folder() + "/out.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "excel_btn");
        QCOMPARE(env.desktop.fileDialogDirs.last(), QString("expenses_2026-05-01_to_2026-05-02.csv"));
        QCOMPARE(fileBytes(path), QByteArray("Expenses Report\n"
                                             "From:,2026-05-01,To:,2026-05-02\n"
                                             "\n"
                                             "SI No,Date,Heading,Details,Amount\n"
                                             "1,01-05-2026,\"Tea \"\"special\"\"\",\"\",120.00\n"
                                             "2,02-05-2026,\"Diesel, truck\",\"say \"\"hi\"\"\",1500.50\n"
                                             "\n"
                                             ",,,,Total Amount:,1620.50\n"));
        QCOMPARE(env.desktop.lastShown(), "Success|Excel file saved to:\n" + path);
        QCOMPARE(env.desktop.openedUrls.last(), QUrl::fromLocalFile(path));

        // An empty period leaves an existing file as it was.
        env.desktop.clear();
        QVERIFY(writeFile(path, "keep me\n"));
        f.period(QDate(2026, 6, 1), QDate(2026, 6, 2));
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "excel_btn");
        QCOMPARE(env.desktop.lastShown(), QString("No Data|No expenses found between\n2026-06-01 and 2026-06-02"));
        QCOMPARE(fileBytes(path), QByteArray("keep me\n"));
        QVERIFY(env.desktop.openedUrls.isEmpty());


        // A file that cannot be written is reported, not announced as saved.
        f.period(May1, May3);
        env.desktop.saveFileAnswers.enqueue(env.folder() + "/missing/folder/out.csv");
        click(f.w, "excel_btn");
        QCOMPARE(env.desktop.lastShown(), "File Error|Could not create file:\n" + env.folder()
                                              + "/missing/folder/out.csv\nNo such file or directory");
        if (QFile::exists("/dev/full")) {
            env.desktop.saveFileAnswers.enqueue("/dev/full");
            click(f.w, "excel_btn");
            QCOMPARE(env.desktop.lastShown(),
                     QString("File Error|Could not create file:\n/dev/full\n/dev/full is not a regular file"));
        }
    }

    // Half a paisa rounds up as the decimal typed or stored (1.005 is 1.01,
    // 0.125 is 0.13); less than half a paisa below zero is 0.00, never
    // "-0.00". The stored row, the list, the total and the file agree.
    void amountsAreKeptToThePaisa()
    {
        OpenEnvironment env;
        Form f;
        f.add(May1, "Tea", "", "1.005");
        f.add(May1, "Milk", "", "0.125");
        f.add(May2, "Refund", "", "-0.001");
        QCOMPARE(stored(), QStringList({"1|2026-05-01|Tea||real:1.01", "2|2026-05-01|Milk||real:0.13",
                                        "3|2026-05-02|Refund||real:0"}));
        QCOMPARE(columnTexts(f.list, 4), QStringList({"1.01", "0.13", "0.00"}));
        QCOMPARE(f.total->text(), QString("Total Amount: 1.14")); // 1.01 + 0.13 + 0.00

        // Corrected to 2.675: 2.68. A row stored by an older version with
        // -0.004 shows 0.00: 2.68 + 0.13 + 0.00 + 0.00 = 2.81.
        f.select(0);
        click(f.w, "edit_btn");
        QCOMPARE(child<QLineEdit>(f.w, "amount")->text(), QString("1.01"));
        child<QLineEdit>(f.w, "amount")->setText("2.675");
        click(f.w, "update_btn");
        testdata::exec(
            "INSERT INTO expenses (date, heading, details, amount) VALUES ('2026-05-02', 'Old', '', -0.004)");
        f.period(May1, May2);
        click(f.w, "show");
        QCOMPARE(columnTexts(f.list, 4), QStringList({"2.68", "0.13", "0.00", "0.00"}));
        QCOMPARE(f.total->text(), QString("Total Amount: 2.81"));

        const QString path = env.folder() + "/paise.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "excel_btn");
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(lines.mid(4), QStringList({"1,01-05-2026,\"Tea\",\"\",2.68", "2,01-05-2026,\"Milk\",\"\",0.13",
                                            "3,02-05-2026,\"Refund\",\"\",0.00", "4,02-05-2026,\"Old\",\"\",0.00", "",
                                            ",,,,Total Amount:,2.81", ""}));
    }

    // 10,001 expenses of the largest amount pass ten crore crore:
    // 10,001 x 99,999,999,999.99 = 1,000,099,999,999,899.99, on the list's
    // label and on the export's total line.
    void totalsOfTenThousandLargestAmounts()
    {
        OpenEnvironment env;
        testdata::exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10001) "
                       "INSERT INTO expenses (date, heading, details, amount) "
                       "SELECT '2026-05-01', 'Plant', '', 99999999999.99 FROM n");
        Form f;
        QCOMPARE(f.total->text(), QString("Total Amount: 1000099999999899.99"));
        const QString path = env.folder() + "/largest.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        f.period(May1, May1);
        click(f.w, "excel_btn");
        QVERIFY(fileBytes(path).endsWith("\n,,,,Total Amount:,1000099999999899.99\n"));
    }

    void reportPrintsTheListAsShown()
    {
        OpenEnvironment env;
        Form f;
        f.addThree("Tea <hot> & snacks", "Diesel", "truck");

        // No expense dated in the period: nothing is asked.
        f.period(QDate(2026, 6, 1), QDate(2026, 6, 2));
        click(f.w, "print_btn");
        QCOMPARE(env.desktop.lastShown(), QString("No Data|No expenses found between 2026-06-01 and 2026-06-02"));
        QVERIFY(env.desktop.fileDialogCaptions.isEmpty());

        f.period(May1, May2);
        click(f.w, "show");
        const QString path = env.folder() + "/report.pdf";
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "print_btn");
        QCOMPARE(env.desktop.fileDialogDirs.last(), QString("expenses_report.pdf"));
        QCOMPARE(env.desktop.lastShown(), "Success|PDF saved to:\n" + path);
        QVERIFY(fileBytes(path).startsWith("%PDF"));
        const QString text = pdfText(path);
        QVERIFY2(text.contains("Expenses Report"), qPrintable(text));
        QVERIFY2(text.contains("Tea <hot> & snacks"), qPrintable(text));
        QVERIFY(text.contains("02-05-2026"));
        QVERIFY(text.contains("1500.50"));
        QVERIFY(text.contains("Total Amount: 1620.50"));
        QVERIFY(!text.contains("Courier")); // only the listed rows
        QCOMPARE(env.desktop.openedUrls.last(), QUrl::fromLocalFile(path));

        // A PDF that cannot be written is reported, not announced as saved.
        env.desktop.clear();
        const QString nowhere = env.folder() + "/missing/folder/report.pdf";
        env.desktop.saveFileAnswers.enqueue(nowhere);
        click(f.w, "print_btn");
        QVERIFY(env.desktop.lastMessage().text.contains(nowhere + "\n")); // and the reason
        QVERIFY(env.desktop.openedUrls.isEmpty());
    }

    // Under the application's style sheet every text of the window, the
    // list's headings and the pop-ups of its combos included, keeps the
    // form's type: the form's own style sheet must not put the platform's back.
    void windowShowsTheFormFont()
    {
        OpenEnvironment env;
        ApplicationStyleInTest style;
        Form f;
        f.add(May1, "Tea", "office", "120");
        f.w->show();
        const QStringList wrong = widgetsNotShowing(f.w, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }
};

QTEST_MAIN(TestExpenses)
#include "tst_expenses.moc"
