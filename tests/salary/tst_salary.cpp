// The salary window: the entry row with its live gross and net, the list of
// all entries or one month with editing in place, the CSV statement and the
// salary slip through the renderer.

#include "support/files.h"
#include "support/formfonts.h"
#include "support/notoolonpath.h"
#include "support/printtools.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/tablelook.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "output/pagerenderer.h"
#include "salary/salarystore.h"
#include "salary/salarywindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QCompleter>
#include <QSqlQuery>
#include <QStringListModel>
#include <QTableWidget>
#include <QtTest>

namespace {

// How a refused Update goes on: the edits stay, Edit Cancel and Show reload.
const QString WayOn = " Your changes stay in the list: press Edit Cancel, then Show to list the entries as they are "
                      "now, and edit them again.";

struct Form
{
    SalaryWindow *w = new SalaryWindow; // deleted by the test environment
    QTableWidget *input = child<QTableWidget>(w, "input_table");
    QTableWidget *list = child<QTableWidget>(w, "emp_salary_table");
    QLineEdit *name = child<QLineEdit>(w, "nameEdit");

    Form() { w->show(); }
    void type(int col, const QString &text) { input->setItem(0, col, new QTableWidgetItem(text)); }
    // Name, then figures by input column.
    void enter(const QString &employee, const QList<QPair<int, QString>> &cells)
    {
        name->setText(employee);
        for (const auto &[col, text] : cells)
            type(col, text);
    }
    // Chooses the month and presses Show.
    void show(const QString &monthName, int year)
    {
        child<QComboBox>(w, "month_combo")->setCurrentText(monthName);
        QComboBox *years = child<QComboBox>(w, "year_combo");
        years->setCurrentIndex(years->findData(year));
        click(w, "show_btn");
    }
    void tick(int row) { list->cellWidget(row, 0)->findChild<QCheckBox *>()->setChecked(true); }
    void edit(int row, int col, const QString &text) { list->item(row, col)->setText(text); }
    int id(int row) const { return list->item(row, 1)->data(Qt::UserRole).toInt(); }
};

// The example of a month's entry: 26 days, OT 2, night 1, 500 a day, tea 100,
// incentive 250, weekly advance 1000.
const QList<QPair<int, QString>> RaviFigures{{2, "26"}, {3, "2"}, {4, "1"}, {5, "500"}, {6, "100"},
                                             {9, "250"}, {11, "1000"}};

// Writes one entry straight into the table.
void store(const QString &name, const QString &date, double days, double rate, const QString &remarks = QString())
{
    SalaryEntry e;
    e.name = name;
    e.date = date;
    e.figures.dayShift = Decimal::fromStored(days);
    e.figures.salaryPerDay = Decimal::fromStored(rate);
    e.figures.weekAdvance = Decimal::whole(100);
    e.gross = grossSalary(e.figures).toMoney();
    e.total = netSalary(e.figures).toMoney();
    e.remarks = remarks;
    QString error;
    if (!addSalary(e, &error))
        qFatal("salary entry: %s", qPrintable(error));
}

QStringList storedRow(int slno)
{
    return testdata::rows(QString("SELECT name, date, day_shift, ot_details, night_details, salary_day, tea_cash, "
                                  "night_cash, sunday_cash, incentive, gross_total, week_adv, extra_adv, late_fine, "
                                  "total_sal, remarks FROM salary WHERE slno = %1").arg(slno))
        .value(0)
        .split('|');
}

const QString Today = QDate::currentDate().toString("yyyy-MM-dd");

// A fresh application folder whose database holds the salary table.
struct SalaryEnvironment : TestEnvironment
{
    SalaryEnvironment()
    {
        if (!openDatabase())
            qFatal("cannot open the test database");
        createSalaryTable();
    }
};

} // namespace

class TestSalary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }

    void entryRowComputesAndAdds()
    {
        SalaryEnvironment env;
        Form f;
        f.enter("  Ravi  ", RaviFigures);
        QCOMPARE(tableCell(f.input, 0, 10), QString("14850.00"));
        QCOMPARE(tableCell(f.input, 0, 14), QString("13850.00"));
        // A figure of no number counts 0.
        f.type(15, "first month");
        f.type(6, "nan");
        QCOMPARE(tableCell(f.input, 0, 10), QString("14750.00"));
        f.type(6, "100");

        click(f.w, "addBtnInTable");
        QCOMPARE(env.desktop.lastShown(), QString("Success|Salary entry added for Ravi!"));
        QCOMPARE(storedRow(1), QStringList({"Ravi", Today, "26", "2", "1", "500", "100", "0", "0", "250", "14850",
                                            "1000", "0", "0", "13850", "first month"}));
        // The row is empty again and the list shows the entry.
        QCOMPARE(f.name->text(), QString());
        QCOMPARE(f.list->rowCount(), 1);
        QCOMPARE(tableCell(f.list, 0, 11), QString("14850.00"));

        // The shown gross is stored; an unreadable date stores today; figures
        // spelled NaN or infinity store 0.
        f.enter("Anil", {{1, "31-02-2026"}, {2, "3"}, {5, "333.333"}, {7, "inf"}, {12, "-nan"}});
        QCOMPARE(tableCell(f.input, 0, 10), QString("1000.00"));
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(2).mid(0, 11), QStringList({"Anil", Today, "3", "0", "0", "333.333", "0", "0", "0", "0", "1000"}));
        QCOMPARE(storedRow(2).at(12), QString("0"));


        // The entries are dated today, so March 2026 has none (unless today is in it).
        if (QDate::currentDate().toString("yyyy-MM") != "2026-03") {
            f.show("March", 2026);
            QCOMPARE(env.desktop.lastShown(), QString("No Data|No salary data found for March 2026"));
            click(f.w, "reset_btn");
        }

        env.desktop.clear();
        f.name->setText("   ");
        click(f.w, "addBtnInTable");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Please enter Employee Name!"));
        QCOMPARE(f.list->rowCount(), 2);

        // Return adds only from Remarks (or the Add cell), not from a figure.
        f.enter("Kumar", {{2, "1"}, {5, "10"}});
        f.input->setCurrentCell(0, 5);
        QTest::keyClick(f.input, Qt::Key_Return);
        QCOMPARE(f.list->rowCount(), 2);
        f.input->setCurrentCell(0, 15);
        QTest::keyClick(f.input, Qt::Key_Enter);
        QCOMPARE(f.list->rowCount(), 3);
        QCOMPARE(env.desktop.lastShown(), QString("Success|Salary entry added for Kumar!"));
    }

    // Gross and total follow the formula exactly and are rounded once, half
    // away from zero, in their two-decimal text, which is what is stored:
    // 1 day at 1.005 is 1.01. An advance of 0.004 with no earnings is 0.00,
    // never "-0.00".
    void grossAndTotalRoundOnlyInTheirText()
    {
        SalaryEnvironment env;
        Form f;
        f.enter("Ravi", {{2, "1"}, {5, "1.005"}});
        QCOMPARE(tableCell(f.input, 0, 10), QString("1.01"));
        QCOMPARE(tableCell(f.input, 0, 14), QString("1.01"));
        // 1.005 - 0.005 = 1.000 exactly.
        f.type(11, "0.005");
        QCOMPARE(tableCell(f.input, 0, 14), QString("1.00"));
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(1), QStringList({"Ravi", Today, "1", "0", "0", "1.005", "0", "0", "0", "0", "1.01", "0.005",
                                            "0", "0", "1", ""}));

        f.enter("Anil", {{11, "0.004"}});
        QCOMPARE(tableCell(f.input, 0, 10), QString("0.00"));
        QCOMPARE(tableCell(f.input, 0, 14), QString("0.00"));
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(2).at(14), QString("0"));

        // Both dated today: Anil, then Ravi, every figure with two decimals.
        QCOMPARE(rowTexts(f.list, 0).mid(11, 5), QStringList({"0.00", "0.00", "0.00", "0.00", "0.00"}));
        QCOMPARE(rowTexts(f.list, 1).mid(3, 13), QStringList({"1.00", "0.00", "0.00", "1.01", "0.00", "0.00", "0.00",
                                                              "0.00", "1.01", "0.01", "0.00", "0.00", "1.00"}));
        // Edited in the list: 1 x 2.675 = 2.675 shows 2.68; less the advance
        // still shown as 0.01, which stands for the stored 0.005, 2.670 shows
        // 2.67. Update stores the shown gross and total and keeps the
        // untouched advance as stored.
        click(f.w, "edit_btn");
        f.edit(1, 6, "2.675");
        QCOMPARE(tableCell(f.list, 1, 11), QString("2.68"));
        QCOMPARE(tableCell(f.list, 1, 15), QString("2.67"));
        click(f.w, "update_btn");
        QCOMPARE(storedRow(1).mid(10, 5), QStringList({"2.68", "0.005", "0", "0", "2.67"}));
    }

    // A figure the user did not change keeps its stored decimal behind its
    // two-decimal text: 3 days at 2.675 is 8.025, gross 8.03, and an edit of
    // another figure computes from 2.675, not from the 2.68 shown.
    void untouchedListFiguresKeepTheirStoredDecimals()
    {
        SalaryEnvironment env;
        store("Ravi", "2026-03-15", 3, 2.675); // weekly advance 100
        Form f;
        QCOMPARE(rowTexts(f.list, 0).mid(6, 10), QStringList({"2.68", "0.00", "0.00", "0.00", "0.00", "8.03",
                                                              "100.00", "0.00", "0.00", "-91.98"}));
        click(f.w, "edit_btn");
        // Tea cash 1: 8.025 + 1 = 9.025 shows 9.03 (9.04 from 3 x 2.68).
        f.edit(0, 7, "1");
        QCOMPARE(tableCell(f.list, 0, 11), QString("9.03"));
        QCOMPARE(tableCell(f.list, 0, 15), QString("-90.98")); // -90.975
        f.edit(0, 7, "0");
        QCOMPARE(tableCell(f.list, 0, 11), QString("8.03"));
        // A changed rate counts as typed: 3 x 2.7 = 8.10.
        f.edit(0, 6, "2.7");
        QCOMPARE(tableCell(f.list, 0, 11), QString("8.10"));
        f.edit(0, 6, "2.68"); // the stored figure's text again
        QCOMPARE(tableCell(f.list, 0, 11), QString("8.03"));
        // 2.684 shows as 2.68 too, and stands for 2.684 until Edit Cancel.
        f.edit(0, 6, "2.684");
        QCOMPARE(tableCell(f.list, 0, 11), QString("8.05"));
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(f.w, "editCancel_btn");
        QCOMPARE(f.w->salaryCellValue(0, 6), Decimal(2675, 3));
        click(f.w, "edit_btn");
        click(f.w, "update_btn");
        QCOMPARE(storedRow(1).mid(2, 13), QStringList({"3", "0", "0", "2.675", "0", "0", "0", "0", "8.03", "100",
                                                       "0", "0", "-91.98"}));
        // A rate typed over a stored figure of 0 is read as typed.
        store("Bala", "2026-03-16", 2, 0);
        click(f.w, "reset_btn");
        click(f.w, "edit_btn");
        f.edit(0, 6, "1.005");
        QCOMPARE(tableCell(f.list, 0, 11), QString("2.01"));
    }

    // Typed list figures show, print and export with two decimals; the gross and Update take them exact.
    void typedListFiguresShowWithTwoDecimals()
    {
        SalaryEnvironment env;
        store("Arun", "2026-03-15", 22, 500); // gross 11000, weekly advance 100
        StandInTool tool(env.folder());
        Form f;
        click(f.w, "edit_btn");
        f.edit(0, 14, "50");  // late fine
        f.edit(0, 10, "2.675"); // incentive
        f.edit(0, 3, " 22.5 "); // day shifts
        QCOMPARE(rowTexts(f.list, 0).mid(3, 13), QStringList({"22.50", "0.00", "0.00", "500.00", "0.00", "0.00",
                                                              "0.00", "2.68", "11252.68", "100.00", "0.00", "50.00",
                                                              "11102.68"}));
        // 22.5 x 500 + 2.675 = 11252.675, less 150: 11102.675; both 0.005 up.
        f.tick(0);
        click(f.w, "print_pdf_btn");
        const QString html = tool.htmlOfRun(1);
        for (const char *shown : {"22.50</td>", "Rs. 2.68</td>", "Rs. 50.00</td>"})
            QVERIFY2(html.contains(shown), shown);

        const QString path = env.folder() + "/statement.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "print_state_btn");
        QCOMPARE(QString::fromUtf8(fileBytes(path)).split('\n').value(4),
                 QString("\"Arun\",15-03-2026,22.50,0.00,0.00,500.00,0.00,0.00,0.00,2.68,11252.68,100.00,0.00,50.00,"
                         "11102.68,\"\""));

        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 record(s) updated successfully!"));
        QCOMPARE(storedRow(1).mid(2, 13), QStringList({"22.5", "0", "0", "500", "0", "0", "0", "2.675", "11252.68",
                                                       "100", "0", "50", "11102.68"}));
        // Its own write is not refused when updated again without a reload.
        click(f.w, "edit_btn");
        f.edit(0, 16, "checked");
        f.edit(0, 7, "1");
        QCOMPARE(tableCell(f.list, 0, 11), QString("11253.68")); // 11253.675
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 record(s) updated successfully!"));
        QCOMPARE(storedRow(1).mid(6, 10), QStringList({"1", "0", "0", "2.675", "11253.68", "100", "0", "50",
                                                       "11103.68", "checked"}));
    }

    // Figures pasted with many decimals are rounded once, from all their
    // digits; a gross or total that does not fit is refused, nothing stored.
    void longFiguresRoundOnceAndTooLargeOnesAreRefused()
    {
        SalaryEnvironment env;
        Form f;
        // 1 x 1.00499999999999989 = 1.00 (not 1.005, then 1.01).
        f.enter("Ravi", {{2, "1"}, {5, "1.00499999999999989"}});
        QCOMPARE(tableCell(f.input, 0, 10), QString("1.00"));
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(1).at(10), QString("1"));
        // 100 - 0.00500000000000001 = 99.99499999999999999: 99.99.
        f.enter("Anil", {{2, "1"}, {5, "100"}, {11, "0.00500000000000001"}});
        QCOMPARE(tableCell(f.input, 0, 14), QString("99.99"));
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(2).at(14), QString("99.99"));
        // 26.123456789 x 5797025.890109891 = 151438355.344999999...: .34.
        f.enter("Kumar", {{2, "26.123456789"}, {5, "5797025.890109891"}});
        QCOMPARE(tableCell(f.input, 0, 10), QString("151438355.34"));
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(3).at(10), QString("151438355.34"));

        // 999,999,999 days at 99,999,999,999 a day; then a cash sum over 10^11.
        f.enter("Big", {{2, "999999999"}, {5, "99999999999"}});
        click(f.w, "addBtnInTable");
        const QString grossTooLarge = "Figure Too Large|Gross Total is too large: at most 99,999,999,999.99";
        QCOMPARE(env.desktop.lastShown(), grossTooLarge);
        f.enter("Big", {{2, "0"}, {5, "0"}, {6, "99999999999.99"}, {9, "1"}});
        click(f.w, "addBtnInTable");
        QCOMPARE(env.desktop.lastShown(), grossTooLarge);
        // A figure beyond its bound is refused, not taken as 0: shifts below
        // 10^9, money below 10^11 rupees.
        const QList<std::tuple<int, QString, QString>> beyond = {
            {2, "1000000000", "Day Shift"}, {3, "1e15", "OT"},           {5, "1e20", "Salary/Day"},
            {6, "-1e15", "Tea Cash"},       {12, "1e300", "Extra Adv"},  {13, "100000000000.01", "Late Fine"},
            {11, "99999999999.995", "Week Adv"}};
        f.enter("Big", {{2, "1"}, {5, "1"}, {6, "0"}, {9, "0"}});
        for (const auto &[col, text, field] : beyond) {
            f.enter("Big", {{col, text}});
            click(f.w, "addBtnInTable");
            const QString bound = col < 5 ? "999,999,999.999 (quantity)" : "99,999,999,999.99";
            QCOMPARE(env.desktop.lastShown(), "Figure Too Large|" + field + " is too large: at most " + bound);
            f.enter("Big", {{col, "0"}});
        }
        QCOMPARE(testdata::rows("SELECT COUNT(*) FROM salary"), QStringList{"3"});

        // The same in the list: Update writes no row.
        click(f.w, "edit_btn");
        f.edit(2, 3, "999999999");
        f.edit(2, 6, "99999999999");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), "Update Error|Ravi (" + QDate::currentDate().toString("dd-MM-yyyy")
                                                      + "): Gross Total is too large: at most 99,999,999,999.99");
        QCOMPARE(storedRow(1).at(10), QString("1"));

        // Just under the bounds, and text that is no number (0), are taken.
        click(f.w, "editCancel_btn");
        f.enter("Most", {{2, "999999999.999"}, {5, "0.0001"}, {12, "99999999999.99"}, {13, "abc"}});
        QCOMPARE(tableCell(f.input, 0, 14), QString("-99999899999.99")); // 99999.9999999 - 99999999999.99
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(4).at(12), QString("99999999999.99"));
        QCOMPARE(storedRow(4).at(14), QString("-99999899999.99"));
        // 13 x 9344.2149999999999999999999999 + 0.0000000000000000000012 =
        // 121474.7950000000000000000011987: every digit counts, 121474.80.
        f.enter("Long", {{2, "13"}, {5, "9344.2149999999999999999999999"}, {6, "0.0000000000000000000012"},
                         {12, "0"}});
        QCOMPARE(tableCell(f.input, 0, 10), QString("121474.80"));
    }

    // What is typed into a cell is part of the entry, whether Return or Add
    // ends the typing; Return adds only when the table itself has it.
    void typedCellsAreNeverDropped()
    {
        SalaryEnvironment env;
        Form f;
        f.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.w));
        // Types into cell `col` as a user does: the cell's editor opens and
        // takes the keys.
        const auto typeInto = [&](int col, const QString &text) -> QWidget * {
            f.input->setCurrentCell(0, col);
            f.input->edit(f.input->model()->index(0, col));
            auto *editor = qobject_cast<QLineEdit *>(f.input->indexWidget(f.input->model()->index(0, col)));
            if (!editor)
                qFatal("no editor in column %d", col);
            editor->selectAll();
            QTest::keyClicks(editor, text);
            return editor;
        };

        f.name->setText("Ravi");
        QWidget *remarks = typeInto(15, "rem4");
        QTest::keyClick(remarks, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor closes
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM salary"), 0);
        QCOMPARE(tableCell(f.input, 0, 15), QString("rem4"));
        // Return on the table itself adds, remarks included.
        f.input->setFocus();
        f.input->setCurrentCell(0, 15);
        QTest::keyClick(f.input, Qt::Key_Return);
        QCOMPARE(env.desktop.lastShown(), QString("Success|Salary entry added for Ravi!"));
        QCOMPARE(storedRow(1).at(15), QString("rem4"));

        // Every cell typed, each closed by Return; the last one still open
        // when Add is clicked.
        f.name->setText("Anil");
        const QList<QPair<int, QString>> typed{{1, "05-12-2026"}, {2, "20"}, {3, "1"},   {4, "2"},
                                               {5, "400"},        {6, "50"}, {7, "60"},  {8, "70"},
                                               {9, "80"},         {11, "90"}, {12, "10"}, {13, "5"}};
        for (const auto &[col, text] : typed) {
            QTest::keyClick(typeInto(col, text), Qt::Key_Return);
            QCoreApplication::processEvents();
        }
        typeInto(15, "paid in cash");
        click(f.w, "addBtnInTable");
        // (20 + 1 + 2) x 400 + 50 + 60 + 70 + 80 = 9460; less 90, 10 and 5 = 9355.
        QCOMPARE(storedRow(2), QStringList({"Anil", "2026-12-05", "20", "1", "2", "400", "50", "60", "70", "80",
                                            "9460", "90", "10", "5", "9355", "paid in cash"}));

        // An open figure cell counts too: its figure is in the stored gross.
        f.name->setText("Kumar");
        typeInto(2, "3");
        typeInto(5, "100");
        click(f.w, "addBtnInTable");
        QCOMPARE(storedRow(3).mid(0, 11), QStringList({"Kumar", Today, "3", "0", "0", "100", "0", "0", "0", "0", "300"}));

        // A remark longer than its column, its editor still open: a click at
        // the centre of "Add" as drawn reaches "Add" and stores it whole.
        f.name->setText("Suresh");
        const QString remark = "advance adjusted against Diwali bonus, rest paid in cash 126";
        QCOMPARE(remark.size(), 60);
        typeInto(15, remark);
        auto *add = child<QPushButton>(f.w, "addBtnInTable");
        QWidget *viewport = f.input->viewport();
        const QPoint centre = add->mapTo(viewport, add->rect().center());
        QWidget *hit = viewport->childAt(centre);
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(viewport, centre));
        QCOMPARE(env.desktop.lastShown(), QString("Success|Salary entry added for Suresh!"));
        QCOMPARE(storedRow(4).at(15), remark);

        // Tab from Remarks gives the focus to the row's Add: Return adds, once.
        f.name->setText("Mohan");
        f.input->setFocus();
        f.input->setCurrentCell(0, 15);
        QTest::keyClick(f.input, Qt::Key_Tab);
        QCOMPARE(f.input->currentColumn(), 16);
        QCOMPARE(QApplication::focusWidget(), add);
        QTest::keyClick(add, Qt::Key_Return);
        QCOMPARE(env.desktop.lastShown(), QString("Success|Salary entry added for Mohan!"));
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM salary"), 5);
    }

    // The window opens at its designed size: the entry row shows whole with
    // its Add button, and names show whole in the list. On a narrower window
    // the row's scroll bar comes below the row, not over it.
    void entryRowAndNamesShowWhole()
    {
        SalaryEnvironment env;
        store("Venkatasubramanian Ramakrishnan", Today, 26, 500);
        Form f;
        QVERIFY(QTest::qWaitForWindowExposed(f.w));
        QVERIFY(!f.w->isMaximized());
        QCOMPARE(f.w->size(), QSize(1500, 800));
        auto *add = child<QPushButton>(f.w, "addBtnInTable");
        QCOMPARE(add->visibleRegion().boundingRect(), add->rect());
        const int nameWidth = f.list->fontMetrics().horizontalAdvance("Venkatasubramanian Ramakrishnan");
        QVERIFY(f.list->columnWidth(1) > nameWidth);

        f.w->resize(1000, 800);
        QCoreApplication::processEvents();
        QVERIFY(f.input->horizontalScrollBar()->isVisible());
        const QRect row = f.input->visualRect(f.input->model()->index(0, 0));
        QVERIFY(row.bottom() < f.input->viewport()->height());
        QVERIFY(f.list->columnWidth(1) > nameWidth);
    }

    void listOrdersAndFiltersByMonth()
    {
        SalaryEnvironment env;
        store("Zeenat", "2026-03-01", 20, 400);
        store("Arun", "2026-03-15", 22, 500);
        store("Bala", "2026-03-15", 21, 450);
        store("Old form", "15-03-2026", 1, 1);
        QSqlQuery q;
        QVERIFY(q.exec("UPDATE salary SET gross_total = 1 WHERE name = 'Arun'")); // shown as stored
        Form f;
        // Newest date first as text, so the day-month-year date sorts last.
        QCOMPARE(columnTexts(f.list, 1), QStringList({"Arun", "Bala", "Zeenat", "Old form"}));
        QCOMPARE(columnTexts(f.list, 2), QStringList({"15-03-2026", "15-03-2026", "01-03-2026", "15-03-2026"}));
        QCOMPARE(tableCell(f.list, 0, 11), QString("1.00"));

        f.show("March", 2026);
        QCOMPARE(columnTexts(f.list, 1), QStringList({"Arun", "Bala", "Zeenat"}));
        f.show("April", 2026);
        QCOMPARE(f.list->rowCount(), 0);
        QCOMPARE(env.desktop.lastShown(), QString("No Data|No salary data found for April 2026"));

        // Show and Reset refill the list in place: ticks and look as in a
        // list filled afresh.
        f.show("March", 2026);
        f.tick(0);
        click(f.w, "reset_btn");
        QCOMPARE(f.list->rowCount(), 4);
        QVERIFY(!f.list->cellWidget(0, 0)->findChild<QCheckBox *>()->isChecked());
        Form fresh;
        QCOMPARE(tableLook(f.list), tableLook(fresh.list));
    }

    // The name completer offers the stored names of the opening's entries,
    // trimmed, none empty, in the order of their UTF-8 bytes, each stored
    // text once (so " Bala" and "Bala" give "Bala" twice); names stored later
    // only in a later window.
    void nameCompleterOffersTheStoredNames()
    {
        SalaryEnvironment env;
        for (const char *name : {"Zeenat", " Bala", "Bala", "arun", "Bala", "   ", "\U0001F600 Smile", "\uFF21nand",
                                 "\u00C9mile"})
            store(name, Today, 1, 1);
        QVERIFY(QSqlQuery().exec("INSERT INTO salary (name) VALUES (NULL)"));
        Form f;
        const auto offered = [&] { return qobject_cast<QStringListModel *>(f.name->completer()->model())->stringList(); };
        const QStringList names{"Bala", "Bala", "Zeenat", "arun", "\u00C9mile", "\uFF21nand", "\U0001F600 Smile"};
        QCOMPARE(offered(), names);
        store("Later", Today, 1, 1);
        click(f.w, "reset_btn");
        QCOMPARE(offered(), names);
    }

    void editingRecalculatesCancelsAndUpdates()
    {
        SalaryEnvironment env;
        store("Arun", "2026-03-15", 22, 500, "old");
        store("Bala", "2026-03-01", 20, 400);
        Form f;
        click(f.w, "edit_btn");

        // A figure recalculates its row; the name and the remarks do not.
        f.edit(0, 6, "600");
        QCOMPARE(tableCell(f.list, 0, 11), QString("13200.00"));
        QCOMPARE(tableCell(f.list, 0, 15), QString("13100.00"));
        // A cell showing what another row's cell shows changes alone.
        f.edit(0, 12, "150");
        QCOMPARE(tableCell(f.list, 1, 12), QString("100.00"));
        f.edit(0, 12, "100");
        f.edit(0, 11, "5"); // a gross typed by hand shows as the others do
        f.edit(0, 16, "new");
        f.edit(0, 1, "Arun K");
        QCOMPARE(tableCell(f.list, 0, 11), QString("5.00"));

        // Cancel puts the list back.
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(f.w, "editCancel_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Cancel Edit|Discard all changes?"));
        QCOMPARE(rowTexts(f.list, 0).mid(1), QStringList({"Arun", "15-03-2026", "22.00", "0.00", "0.00", "500.00",
                                                          "0.00", "0.00", "0.00", "0.00", "11000.00", "100.00",
                                                          "0.00", "0.00", "10900.00", "old"}));
        QCOMPARE(f.id(0), 1);

        // Update writes every listed row as shown.
        click(f.w, "edit_btn");
        f.edit(0, 6, "600");
        f.edit(0, 2, "16-03-2026");
        f.edit(1, 2, "next week");
        f.edit(1, 16, "  paid  ");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|2 record(s) updated successfully!"));
        QCOMPARE(storedRow(1), QStringList({"Arun", "2026-03-16", "22", "0", "0", "600", "0", "0", "0", "0", "13200",
                                            "100", "0", "0", "13100", "old"}));
        QCOMPARE(storedRow(2).at(1), QString("next week"));
        QCOMPARE(storedRow(2).at(15), QString("paid"));

        // All rows or none: a refused row leaves every record as it was.
        QSqlQuery q;
        QVERIFY(q.exec("CREATE TRIGGER no_bala BEFORE UPDATE ON salary WHEN NEW.name = 'Bala' "
                       "BEGIN SELECT RAISE(ABORT, 'Bala is locked'); END"));
        click(f.w, "edit_btn");
        f.edit(0, 3, "30");
        f.edit(1, 16, "checked");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastMessage().title, QString("Update Error"));
        QVERIFY(env.desktop.lastMessage().text.contains("Bala is locked"));
        QCOMPARE(storedRow(1).at(2), QString("22"));
        QVERIFY(child<QPushButton>(f.w, "update_btn")->isEnabled()); // still editing

        // So does a row deleted meanwhile in another copy.
        writeAsOtherCopy("DELETE FROM salary WHERE name = 'Bala'");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Update Error|The salary entry of Bala (next week) no longer exists; it may "
                                                  "have been deleted in another window. Nothing was saved." + WayOn));
        QCOMPARE(storedRow(1).at(2), QString("22"));
    }

    // Only the rows changed here are written and counted; a row both copies
    // changed stores nothing and keeps the edits.
    void updateStoresOnlyWhatThisListChanged()
    {
        SalaryEnvironment env;
        store("Arun", "2026-03-15", 22, 500);
        store("Bala", "2026-03-01", 20, 400);
        store("Chitra", "2026-03-10", 10, 300);
        QSqlQuery q; // a date of the old form, which Update writes year-first
        QVERIFY(q.exec("UPDATE salary SET date = '10-03-2026' WHERE name = 'Chitra'"));
        Form f; // Arun, Bala, Chitra
        click(f.w, "edit_btn");
        writeAsOtherCopy("UPDATE salary SET day_shift = 25, remarks = 'half day' WHERE name = 'Bala';"
                         "UPDATE salary SET late_fine = 50 WHERE name = 'Chitra'");
        f.edit(0, 6, "600");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 record(s) updated successfully!"));
        QCOMPARE(storedRow(1).at(5), QString("600"));
        QCOMPARE(testdata::rows("SELECT day_shift, remarks FROM salary WHERE slno = 2"), QStringList{"25|half day"});
        QCOMPARE(testdata::rows("SELECT date, late_fine FROM salary WHERE slno = 3"), QStringList{"10-03-2026|50"});

        // The list, not read again, takes its own writes for what it lists.
        click(f.w, "edit_btn");
        f.edit(0, 6, "700");
        click(f.w, "update_btn");
        QCOMPARE(storedRow(1).at(5), QString("700"));
        // An unchanged row is not written, not even to store its date year-first.
        click(f.w, "reset_btn");
        click(f.w, "edit_btn");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|0 record(s) updated successfully!"));
        QCOMPARE(testdata::rows("SELECT date, late_fine FROM salary WHERE slno = 3"), QStringList{"10-03-2026|50"});

        // Both copies change Bala, the other one while this Update waits.
        click(f.w, "edit_btn");
        f.edit(0, 6, "800");
        f.edit(1, 16, "advance cut");
        saveWhileOtherCopyWrites("UPDATE salary SET day_shift = 26 WHERE name = 'Bala'",
                                 [&] { click(f.w, "update_btn"); });
        QCOMPARE(env.desktop.lastShown(), QString("Update Error|The salary entry of Bala (01-03-2026) was changed or deleted "
                                                  "meanwhile, perhaps in another window. Nothing was saved." + WayOn));
        QCOMPARE(storedRow(1).at(5), QString("700"));
        QCOMPARE(testdata::rows("SELECT day_shift, remarks FROM salary WHERE slno = 2"), QStringList{"26|half day"});
        QCOMPARE(tableCell(f.list, 1, 16), QString("advance cut"));
    }

    void reloadLeavesEditModeSoCancelNeverMixesRecords()
    {
        SalaryEnvironment env;
        store("Arun", "2026-03-15", 22, 500);
        store("Bala", "2026-02-01", 20, 400);
        Form f;
        click(f.w, "edit_btn");
        f.show("February", 2026); // Bala alone, in row 0
        QCOMPARE(f.list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(columnTexts(f.list, 1), QStringList({"Bala"}));

        // Editing again snapshots the rows now shown.
        click(f.w, "edit_btn");
        f.edit(0, 1, "Bala R");
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(f.w, "editCancel_btn");
        QCOMPARE(columnTexts(f.list, 1), QStringList({"Bala"}));
        QCOMPARE(f.id(0), 2);

        click(f.w, "edit_btn");
        f.edit(0, 3, "21");
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Success|1 record(s) updated successfully!"));
        QCOMPARE(storedRow(2).at(10), QString("8400"));
        QCOMPARE(storedRow(1).at(2), QString("22")); // Arun was not listed
    }

    void statementExportsTheListedRows()
    {
        SalaryEnvironment env;
        store("Ravi \"RK\", Kumar", "2026-03-15", 26, 500, "said \"ok\"");
        store("Bala", "2026-04-01", 20, 400);
        // Name and remarks as stored, through the one field writer: no cell
        // runs as a formula.
        store(" -2+3", "2026-03-20", 1, 10, "=1+1 ");
        Form f;
        f.show("March", 2026);
        QCOMPARE(columnTexts(f.list, 1), QStringList({" -2+3", "Ravi \"RK\", Kumar"}));
        f.list->item(1, 12)->setText("abc"); // no number: written as is, counts 0 (the total follows)

        const QString path = env.folder() + "/statement.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "print_state_btn");
        QCOMPARE(env.desktop.fileDialogDirs.last(), QString("Salary_Report_March 2026.csv"));
        QCOMPARE(QString::fromUtf8(fileBytes(path)).split('\n'),
                 QStringList({"Salary Statement Report - Morvel Coats",
                              "Month Filter Range:,March, ,2026",
                              "",
                              "Employee Name,Date,Day Shift,OT Details,Night Details,Salary/Day,Tea Cash (+),"
                              "Night Cash (+),Sunday Cash (+),Incentive (+), Gross Total, Weekly Advance (-),"
                              "Extra Advance (-),Late Fine (-),Total Salary,Remarks",
                              "\" -2+3\",20-03-2026,1.00,0.00,0.00,10.00,0.00,0.00,0.00,0.00,10.00,100.00,0.00,"
                              "0.00,-90.00,\"'=1+1 \"",
                              "\"Ravi \"\"RK\"\", Kumar\",15-03-2026,26.00,0.00,0.00,500.00,0.00,0.00,0.00,0.00,"
                              "13000.00,abc,0.00,0.00,13000.00,\"said \"\"ok\"\"\"",
                              "",
                              "Grand Total:,,27.00,0.00,0.00,,0.00,0.00,0.00,0.00,13010.00,100.00,0.00,0.00,12910.00,",
                              ""}));
        QCOMPARE(env.desktop.lastShown(), "Success|Salary statements exported successfully to:\n" + path);
        QCOMPARE(env.desktop.openedUrls.last(), QUrl::fromLocalFile(path));

        // A file that cannot be written.
        click(f.w, "reset_btn");
        env.desktop.saveFileAnswers.enqueue(env.folder() + "/no/such/dir/s.csv");
        click(f.w, "print_state_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Could not create or write to file!\nNo such file or directory"));
    }

    // The statement writes the figures the list shows and adds them up
    // exactly, as every export does: a tea cash of 999,999,999,999,999.999,
    // typed beyond the bound, totals 1,000,000,000,000,000.00. Only a figure
    // no total can add up is refused, before the file is asked for, naming
    // the row (employee, a long name cut, and date) and the field; Update
    // still refuses a figure beyond the bound.
    void statementRefusesOnlyAFigureNoTotalAddsUp()
    {
        SalaryEnvironment env;
        store("Venkatasubramanian Ramakrishnan Iyer of Thiruvananthapuram", "2026-03-15", 22, 500);
        const QString row = QString("Venkatasubramanian Ramakrishnan Iyer of") + QChar(0x2026) + " (15-03-2026)";
        Form f;
        click(f.w, "edit_btn");
        f.edit(0, 7, "999999999999999.999"); // Gross and Total empty
        const QString path = env.folder() + "/statement.csv";
        env.desktop.saveFileAnswers.enqueue(path);
        click(f.w, "print_state_btn");
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(readCsv(lines.at(4)).value(0).value(6), QString("999999999999999.999"));
        QCOMPARE(lines.at(6), QString("Grand Total:,,22.00,0.00,0.00,,1000000000000000.00,0.00,0.00,0.00,0.00,100.00,"
                                      "0.00,0.00,0.00,"));

        // A gross typed beyond what a total adds up: refused, and by Update.
        const QByteArray written = fileBytes(path);
        f.edit(0, 7, "0");
        f.edit(0, 11, "1e21");
        click(f.w, "print_state_btn");
        QCOMPARE(env.desktop.lastShown(), "Figure Too Large|" + row
                                              + ": Gross Total 1e21 is too large to be added up exactly; nothing "
                                                "was written.");
        QCOMPARE(env.desktop.fileDialogDirs.size(), 1);
        QCOMPARE(fileBytes(path), written);
        click(f.w, "update_btn");
        QCOMPARE(env.desktop.lastShown(), "Update Error|" + row + ": Gross Total is too large: at most 99,999,999,999.99");
        QCOMPARE(storedRow(1).at(10), QString("11000"));
    }

    void slipOfTheFirstTickedRow()
    {
        SalaryEnvironment env;
        for (int i = 1; i <= 5; ++i)
            store(QString("Emp %1").arg(i), QString("2026-03-0%1").arg(i), 20 + i, 100 * i);
        QSqlQuery q;
        QVERIFY(q.exec("UPDATE salary SET name = 'A&B <x>', remarks = '' WHERE name = 'Emp 4'"));
        StandInTool tool(env.folder());
        Form f; // newest first: rows show Emp 5, A&B <x>, Emp 3, Emp 2, Emp 1

        click(f.w, "print_pdf_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Selection Error|Please check at least one employee checkbox to print their salary slip."));

        f.tick(4);
        f.tick(1);
        click(f.w, "print_pdf_btn");
        QCOMPARE(env.desktop.previews.size(), 1);
        QCOMPARE(env.desktop.previews.last().title, QString("Salary Slip - A&B <x>"));
        const QString html = tool.htmlOfRun(1);
        QVERIFY(html.contains("<td width='43%' style='font-size: 40px; font-weight: bold; padding: 18px 16px;'>"
                              "A&amp;B &lt;x&gt;</td>"));
        QVERIFY(!html.contains("Emp 1"));
        QVERIFY(html.contains("04-03-2026"));
        QVERIFY(html.contains("Rs. 400.00"));
        // Remarks present but empty print as an empty cell.
        QVERIFY(html.contains("font-style:italic; font-weight: bold;'></td>"));
        QCOMPARE(tool.runs().size(), 1);
        // The temporary HTML is gone.
        QCOMPARE(QDir(env.desktop.tempFolder).entryList({"salary_*.html"}).size(), 0);
    }

    void slipFailuresShowNoEarlierSlip()
    {
        SalaryEnvironment env;
        store("Arun", "2026-03-15", 22, 500);
        Form f;
        f.tick(0);
        {
            NoToolOnPath noPath;
            click(f.w, "print_pdf_btn");
            QCOMPARE(env.desktop.lastShown(),
                     QString("Missing Executable|wkhtmltoimage.exe not found in application directory!"));
        }
        const QString stale = env.desktop.tempFolder + "/salary_slip.png";
        {
            // The tool says it worked but draws nothing: the earlier slip is not shown.
            StandInTool tool(env.folder(), "exit 0");
            QImage(10, 10, QImage::Format_RGB32).save(stale);
            click(f.w, "print_pdf_btn");
            QCOMPARE(env.desktop.lastShown(),
                     QString("Error|Failed to render salary slip preview.\nwkhtmltoimage wrote no picture that can be read."));
            QVERIFY(QFile::exists(stale)); // not shown, not touched
        }
        {
            // No temporary HTML file: said, and nothing shown.
            StandInTool tool(env.folder());
            env.desktop.tempFolder = env.folder() + "/no/such/folder";
            env.desktop.clear();
            click(f.w, "print_pdf_btn");
            QCOMPARE(env.desktop.lastShown(), QString("Error|Failed to render salary slip preview."));
            QCOMPARE(env.desktop.previews.size(), 0);
        }
    }

    void realToolDrawsTheSlip()
    {
        SalaryEnvironment env;
        if (RenderPlatform::locateTool(env.folder()).isEmpty())
            QSKIP("wkhtmltoimage is not installed");
        store("Ravi", "2026-03-15", 26, 500, "cash");
        Form f;
        f.tick(0);
        click(f.w, "print_pdf_btn");
        QCOMPARE(env.desktop.previews.size(), 1);
        const QSize slip = pdfPictureSizes(env.desktop.previews.first().pdfPath).value(0);
        QCOMPARE(slip.width(), 1800);
        QVERIFY(slip.height() > 1800);
        QCOMPARE(QDir(env.desktop.tempFolder).entryList({"salary_*.html"}).size(), 0);
    }

    void slipHtmlEscapesAndUpperCasesTheCompany()
    {
        const CompanyInfo company{"acme & co", "1 Road", "Town", "98", "a@b.in", "GST9"};
        const QString html = salarySlipHtml(company, {"Ravi", "2026-03-15", {}, "-"}, "&nbsp;", "&nbsp;");
        QVERIFY(html.contains("<span style='font-size: 66px; font-weight: bold;'>ACME &amp; CO</span>"));
        QVERIFY(html.contains("<b>For ACME &amp; CO</b>"));
        QVERIFY(html.contains("font-style:italic; font-weight: bold;'>-</td>"));
    }

    // Under the application's style sheet the entry row (its Add button
    // included), the list and their headings keep the form's type.
    void windowShowsTheFormFont()
    {
        SalaryEnvironment env;
        ApplicationStyleInTest style;
        store("Ravi", Today, 26, 500, "cash");
        Form f;
        QCOMPARE(f.list->rowCount(), 1);
        const QStringList wrong = widgetsNotShowing(f.w, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }
};

QTEST_MAIN(TestSalary)
#include "tst_salary.moc"
