// Inward entry with a large book: the heavy year's data over two financial
// years with three lines to an entry (20,000 inward entries, 60,000 rows, and
// the challans drawing on them). Times the inward form opening with the whole
// list, the list filtered by customer and by period, a save, a load-back with
// its update, and the single-entry queries with and without their indexes.
//
//   bench_inward

#include "core/financialyear.h"
#include "jobwork/inwardentry.h"
#include "jobwork/inwardstore.h"
#include "sales/salesschema.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>

#include <cstdio>

namespace {

QString messageTitles(const RecordingDesktop &desktop)
{
    QStringList titles;
    for (const auto &m : desktop.messages)
        titles << m.title;
    return titles.join(", ");
}

// Drops the indexes the sales schema makes for the lookups of one entry.
void dropInwardIndexes()
{
    QSqlQuery q;
    q.exec("DROP INDEX IF EXISTS idx_inward_entries_fy_no");
    q.exec("DROP INDEX IF EXISTS idx_delivery_entries_fy_inward");
}

void press(QWidget *w, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

template<class W>
W *child(QWidget &form, const char *name)
{
    return form.findChild<W *>(name);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "default.debug=false");
    BenchApplication app(argc, argv);
    TestEnvironment env;
    RecordingDesktop &desktop = env.desktop;
    openBenchDatabase(env);
    const DataSize size = twoHeavyYears();
    std::printf("%s\n", qPrintable(fillData(size).summary()));
    g_currentFY = "26-27";

    const auto singleEntryQueries = [] {
        printFigure("  next inward number", msOf([] { nextInwardFullNumber("26-27"); }, 20));
        printFigure("  load one entry back (header and lines)", msOf([] { loadInward(4321, "25-26"); }, 20));
        printFigure("  challans using one entry", msOf([] {
                        QStringList challans;
                        challansUsingInward(4321, "26-27", &challans, nullptr);
                    }, 20));
        printFigure("  delivered items of one entry", msOf([] { deliveredItems(4321, "26-27"); }, 20));
        QList<InwardListRow> rows;
        const double ms = msOf([&] { rows = inwardListRows(-1, QString(), QString(), "26-27"); }, 5);
        printFigure("  list query, whole book", ms, QString("%1 entries").arg(countText(rows.size())));
    };
    std::printf("\nWithout the inward indexes:\n");
    dropInwardIndexes();
    singleEntryQueries();
    createSalesTables();
    std::printf("\nWith the inward indexes:\n");
    singleEntryQueries();
    QList<InwardListRow> rows;
    double ms = msOf([&] { rows = inwardListRows(17, QString(), QString(), "26-27"); }, 5);
    printFigure("  list query, one customer", ms, QString("%1 entries").arg(countText(rows.size())));
    ms = msOf([&] { rows = inwardListRows(-1, "2026-05-01", "2026-05-31", "26-27"); }, 5);
    printFigure("  list query, one month", ms, QString("%1 entries").arg(countText(rows.size())));

    std::printf("\nThe form:\n");
    QVariantMap values;
    const QString wholeList = inwardListStatement(-1, QString(), QString(), "26-27", &values);
    const double wholeListMs = bestMsOf([] { inwardListRows(-1, QString(), QString(), "26-27"); }, 5);
    {
        QWidget *opened = nullptr;
        const double openMs = bestOpeningMs([] { return new inwardentry; }, &opened);
        printAgainstStatements("  open (built, shown, whole list), fastest of 5", wholeListMs, openMs,
                               opened->findChild<QTableWidget *>("inward_list_table")->rowCount(),
                               ListStatement(wholeList, values));
        delete opened;
    }
    inwardentry *form = nullptr;
    printFigure("  construct", msOf([&] { form = new inwardentry; }));
    QTableWidget *list = child<QTableWidget>(*form, "inward_list_table");
    const auto listRows = [&] { return rowsText(list->rowCount()); };
    const auto click = [&](const char *button) { return [&form, button] { child<QPushButton>(*form, button)->click(); }; };
    printTimed("  show (combos, number, whole list)", [&] { form->show(); }, listRows);
    // A Show against its own statement, as the form binds it.
    const auto timeShow = [&](const QString &what, int customerId, const QString &from, const QString &to) {
        QVariantMap bound;
        const QString sql = inwardListStatement(customerId, from, to, "26-27", &bound);
        const double statementMs = bestMsOf([&] { inwardListRows(customerId, from, to, "26-27"); }, 5);
        const double shownMs = msOf([&] {
            click("show_btn")();
            settle();
        });
        printAgainstStatements(what, statementMs, shownMs, list->rowCount(), ListStatement(sql, bound));
    };
    QComboBox *filter = child<QComboBox>(*form, "company_combo_2");
    filter->setCurrentIndex(filter->findData(17));
    const QString from = child<QDateEdit>(*form, "fromdateEdit_2")->date().toString("yyyy-MM-dd");
    const QString to = child<QDateEdit>(*form, "todateEdit_2")->date().toString("yyyy-MM-dd");
    timeShow("  Show, one customer", 17, from, to);
    filter->setCurrentIndex(0);
    child<QDateEdit>(*form, "fromdateEdit_2")->setDate(QDate(2026, 5, 1));
    child<QDateEdit>(*form, "todateEdit_2")->setDate(QDate(2026, 5, 31));
    timeShow("  Show, one month", -1, "2026-05-01", "2026-05-31");
    printTimed("  Reset (whole list again)", click("reset_btn"), listRows);
    // Each Reset from the month's list, as after a Show.
    const double windowMs = bestClickMs(form, "reset_btn", 5, [&] {
        child<QDateEdit>(*form, "fromdateEdit_2")->setDate(QDate(2026, 5, 1));
        child<QDateEdit>(*form, "todateEdit_2")->setDate(QDate(2026, 5, 31));
        click("show_btn")();
        settle();
    });
    printAgainstStatements("  whole list (Reset after one month), fastest of 5", wholeListMs, windowMs, list->rowCount(),
                           ListStatement(wholeList, values));

    QComboBox *customer = child<QComboBox>(*form, "company_combo");
    customer->setCurrentIndex(customer->findData(17));
    QLineEdit *search = child<QLineEdit>(*form, "search_combo");
    printFigure("  item search popup (one keystroke)", msOf([&] { search->setText("grade"); }));
    for (int index : {3, 4, 5}) {
        search->setText(itemCode(17, index));
        press(search, Qt::Key_Down);
        press(search, Qt::Key_Return);
        child<QLineEdit>(*form, "qtyEdit")->setText("5");
        child<QPushButton>(*form, "add_btn")->click();
    }
    printTimed("  Save, three lines, then clear, number and whole list", click("save_btn"), listRows);
    std::printf("  (saved as %s)\n", qPrintable(desktop.lastMessage().title));

    InwardHeader h;
    h.number = nextInwardNumber("26-27");
    h.fullNumber = fullDocumentNumber(h.number, "26-27");
    h.fy = "26-27";
    h.inwardDate = h.dcDate = h.poDate = "2026-06-02";
    h.customerId = 17;
    printFigure("  the write alone (one transaction, three rows)", msOf([&] {
                    saveInward(h, {{itemId(size, 17, 1), 1}, {itemId(size, 17, 2), 2}, {itemId(size, 17, 3), 3}});
                }));

    printFigure("  load back of the newest entry",
                msOf([&] { form->loadInwardForEdit(list->item(0, 0)->text().toInt(), "26-27"); }));
    printTimed("  Update (check, rewrite, clear, whole list)", click("update_btn"), listRows);
    std::printf("  (answered %s)\n", qPrintable(messageTitles(desktop)));

    delete form;
    printLimitVerdict();
    return 0;
}
