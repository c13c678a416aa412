// Inward entry with a large book: 20,000 inward entries of three lines each
// (60,000 rows) over two financial years, 100 customers with 20 items each,
// and 10,000 delivery challan lines drawing on them. Times the inward form
// opening with the whole list, the list filtered by customer and by period,
// a save, a load-back with its update, and the single-entry queries with and
// without their indexes.

#include "support/recordingdesktop.h"
#include "app/financialyear.h"
#include "app/resources.h"
#include "jobwork/inwardentry.h"
#include "jobwork/inwardstore.h"
#include "sales/salesschema.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QKeyEvent>

#include <cstdio>
#include <functional>

namespace {

const int Customers = 100;
const int ItemsPerCustomer = 20;
const int EntriesPerYear = 10000; // three lines each
const int ChallanLines = 10000;

QString messageTitles(const RecordingDesktop &desktop)
{
    QStringList titles;
    for (const auto &m : desktop.messages)
        titles << m.title;
    return titles.join(", ");
}

void fill()
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery q;
    q.prepare("INSERT INTO customers (customer_id, customer_name) VALUES (?, ?)");
    for (int c = 1; c <= Customers; ++c) {
        q.addBindValue(c);
        q.addBindValue(QString("CUSTOMER %1").arg(c, 3, 10, QChar('0')));
        q.exec();
    }
    q.prepare("INSERT INTO items (item_id, customer_id, item_code, item_name, uom) VALUES (?, ?, ?, ?, 'NOS')");
    for (int c = 1; c <= Customers; ++c) {
        for (int i = 1; i <= ItemsPerCustomer; ++i) {
            const int id = (c - 1) * ItemsPerCustomer + i;
            q.addBindValue(id);
            q.addBindValue(c);
            q.addBindValue(QString("C%1-I%2").arg(c).arg(i));
            q.addBindValue(QString("PART %1 OF CUSTOMER %2").arg(i).arg(c));
            q.exec();
        }
    }
    q.prepare("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
              "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
              "?, ?, ?, ?, 0)");
    const QList<QPair<QString, QDate>> years{{"25-26", QDate(2025, 4, 1)}, {"26-27", QDate(2026, 4, 1)}};
    for (const auto &year : years) {
        for (int n = 1; n <= EntriesPerYear; ++n) {
            const int customer = 1 + n % Customers;
            const QString date = year.second.addDays(n * 364 / EntriesPerYear).toString("yyyy-MM-dd");
            for (int line = 0; line < 3; ++line) {
                for (const QVariant &v :
                     QVariantList{n, fullDocumentNumber(n, year.first), date, customer,
                                  (customer - 1) * ItemsPerCustomer + 1 + (n + line) % ItemsPerCustomer,
                                  QString("DC-%1").arg(n), date, QString("PO-%1").arg(n), date, 10.0 + line,
                                  QString("remark %1").arg(n), year.first})
                    q.addBindValue(v);
                q.exec();
            }
        }
    }
    q.prepare("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, "
              "item_id, delivery_qty, fy_name, is_deleted) VALUES (?, ?, '2026-06-01', ?, 1, 1, 1.0, '26-27', 0)");
    for (int d = 1; d <= ChallanLines; ++d) {
        q.addBindValue(d);
        q.addBindValue(fullDocumentNumber(d, "26-27"));
        q.addBindValue(d);
        q.exec();
    }
    db.commit();
}

double msOf(const std::function<void()> &work, int runs = 1)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return timer.nsecsElapsed() / 1e6 / runs;
}

void report(const char *what, double ms)
{
    std::printf("%-62s %9.1f ms\n", what, ms);
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "default.debug=false");
    QApplication app(argc, argv);
    initKestrovaResources();
    RecordingDesktop desktop;
    Desktop::setHandler(&desktop);

    QTemporaryDir dir;
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
    db.setDatabaseName(dir.path() + "/bench.db");
    db.open();
    createSalesTables();
    report("fill 60,000 inward rows, 10,000 challan lines", msOf(fill));
    g_currentFY = "26-27";

    const auto singleEntryQueries = [] {
        report("  next inward number", msOf([] { nextInwardFullNumber("26-27"); }, 20));
        report("  load one entry back (header and lines)", msOf([] { loadInward(4321, "25-26"); }, 20));
        report("  challans using one entry", msOf([] { challansUsingInward(4321, "26-27"); }, 20));
        report("  delivered items of one entry", msOf([] { deliveredItems(4321, "26-27"); }, 20));
        report("  list query, whole book (20,000 entries)",
               msOf([] { inwardListRows(-1, QString(), QString(), "26-27"); }, 5));
    };
    std::printf("\nWithout the inward indexes:\n");
    singleEntryQueries();
    std::printf("\nWith the inward indexes:\n");
    singleEntryQueries();
    report("  list query, one customer (200 entries)",
           msOf([] { inwardListRows(17, QString(), QString(), "26-27"); }, 5));
    report("  list query, one month (about 1,700 entries)",
           msOf([] { inwardListRows(-1, "2026-05-01", "2026-05-31", "26-27"); }, 5));

    std::printf("\nThe form:\n");
    inwardentry *form = nullptr;
    report("  construct", msOf([&] { form = new inwardentry; }));
    report("  show (combos, number, whole list of 20,000 entries)", msOf([&] { form->show(); }));
    QComboBox *filter = child<QComboBox>(*form, "company_combo_2");
    filter->setCurrentIndex(filter->findData(17));
    report("  Show, one customer", msOf([&] { child<QPushButton>(*form, "show_btn")->click(); }));
    filter->setCurrentIndex(0);
    child<QDateEdit>(*form, "fromdateEdit_2")->setDate(QDate(2026, 5, 1));
    child<QDateEdit>(*form, "todateEdit_2")->setDate(QDate(2026, 5, 31));
    report("  Show, one month", msOf([&] { child<QPushButton>(*form, "show_btn")->click(); }));
    report("  Reset (whole list again)", msOf([&] { child<QPushButton>(*form, "reset_btn")->click(); }));

    QComboBox *customer = child<QComboBox>(*form, "company_combo");
    customer->setCurrentIndex(customer->findData(17));
    QLineEdit *search = child<QLineEdit>(*form, "search_combo");
    report("  item search popup (one keystroke)", msOf([&] { search->setText("part 1"); }));
    for (const char *code : {"C17-I3", "C17-I4", "C17-I5"}) {
        search->setText(code);
        press(search, Qt::Key_Down);
        press(search, Qt::Key_Return);
        child<QLineEdit>(*form, "qtyEdit")->setText("5");
        child<QPushButton>(*form, "add_btn")->click();
    }
    report("  Save, three lines, then clear, number and whole list",
           msOf([&] { child<QPushButton>(*form, "save_btn")->click(); }));
    std::printf("  (saved as %s)\n", qPrintable(desktop.lastMessage().title));

    InwardHeader h;
    h.number = nextInwardNumber("26-27");
    h.fullNumber = fullDocumentNumber(h.number, "26-27");
    h.fy = "26-27";
    h.inwardDate = h.dcDate = h.poDate = "2026-06-02";
    h.customerId = 17;
    report("  the write alone (one transaction, three rows)",
           msOf([&] { saveInward(h, {{321, 1}, {322, 2}, {323, 3}}); }));

    QTableWidget *list = child<QTableWidget>(*form, "inward_list_table");
    report("  load back of the newest entry",
           msOf([&] { form->loadInwardForEdit(list->item(0, 0)->text().toInt(), "26-27"); }));
    report("  Update (check, rewrite, clear, whole list)",
           msOf([&] { child<QPushButton>(*form, "update_btn")->click(); }));
    std::printf("  (answered %s)\n", qPrintable(messageTitles(desktop)));

    delete form;
    Desktop::setHandler(nullptr);
    return 0;
}
