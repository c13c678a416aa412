// The customer and item masters over 5,000 customers and 50,000 items (the
// heavy year's data with that many customers, and no documents): opening,
// searching and listing everything again, each step against its floor (the
// statements the form runs by its description, run by the sqlite3 shell on
// the same file). The customer master is held to 1.5 x its floor + 100 ms,
// the item master on 50,000 items to 3 x its floor + 150 ms.
//
//   bench_masters

#include "sales/customermaster.h"
#include "sales/customerstore.h"
#include "sales/itemmaster.h"
#include "sales/itemstore.h"
#include "sales/salesschema.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <cstdio>
#include <functional>

namespace {

// The statements of the two forms as they are described; the forms read
// their stored columns beside these in the same statements.
const ListStatement CustomerNames("SELECT customer_name FROM customers ORDER BY customer_name ASC");
const QString CustomerColumns = "SELECT customer_id, customer_name, address_line1, address_line2, gst_no, "
                                "customer_type, phone, email FROM customers ";
const ListStatement EveryCustomer(CustomerColumns + "ORDER BY customer_name ASC");
ListStatement customerNamed(const QString &name)
{
    return ListStatement(CustomerColumns + "WHERE customer_name = :name ORDER BY customer_name ASC",
                         QVariantMap{{":name", name}});
}

const ListStatement CustomerCombo("SELECT customer_id, customer_name FROM customers ORDER BY customer_name ASC");
ListStatement itemList(int customerId, const QString &search)
{
    QString sql = "SELECT i.item_id, c.customer_name, i.item_code, i.item_name, i.drawing_no, i.uom, i.rate_wo_tax, "
                  "i.tax_percent FROM items i JOIN customers c ON i.customer_id = c.customer_id WHERE 1=1 ";
    QVariantMap values;
    if (customerId > 0) {
        sql += "AND i.customer_id = :customer_id ";
        values.insert(":customer_id", customerId);
    }
    if (!search.isEmpty()) {
        sql += "AND (i.item_code LIKE :search OR i.item_name LIKE :search) ";
        values.insert(":search", "%" + search + "%");
    }
    return ListStatement(sql + "ORDER BY c.customer_name, i.item_code, i.item_name ASC", values);
}

const int Runs = 5;

// The fastest of five runs of `step`, each after `prepare`, with the events
// it posted taken.
double bestStepMs(const std::function<void()> &step, const std::function<void()> &prepare)
{
    return bestMsOf(
        [&] {
            step();
            settle();
        },
        Runs,
        [&] {
            prepare();
            settle();
        });
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    // What showing each form costs without a row: the part of its time no
    // list can take off.
    createSalesTables();
    CustomerMaster *emptyCustomers = nullptr;
    itemmaster *emptyItems = nullptr;
    printFigure("Customer master: open with no customer", bestOpeningMs(&emptyCustomers, Runs));
    printFigure("Item master: open with no item", bestOpeningMs(&emptyItems, Runs));
    delete emptyCustomers;
    delete emptyItems;
    std::printf("\n");

    DataSize size = heavyYear();
    size.customers = 5000;
    size.itemsPerCustomer = 10;
    size.years.clear();
    std::printf("%s\n\n", qPrintable(fillData(size).summary()));

    {
        // The store's reads through Qt, as the form runs them.
        const double everyRead = bestMsOf([] { findCustomers(QString()); }, Runs);
        const double allRead = bestMsOf([] { customerNames(); findCustomers(QString()); }, Runs);
        const QString name = findCustomers(QString()).value(2499).name;
        const double oneRead = bestMsOf([&] { findCustomers(name); }, Runs);

        CustomerMaster *form = nullptr;
        const double open = bestOpeningMs(&form, Runs);
        auto *table = form->findChild<QTableWidget *>("customerTable");
        auto *search = form->findChild<QComboBox *>("searchCombo");
        printAgainstStatements("Customer master: open", allRead, open, table->rowCount(),
                               {CustomerNames, EveryCustomer});
        const double one = bestStepMs([&] { search->setCurrentIndex(2500); }, [&] { search->setCurrentIndex(0); });
        printAgainstStatements("Customer master: search one name", oneRead, one, table->rowCount(),
                               customerNamed(search->currentText()));
        const double back = bestStepMs([&] { search->setCurrentIndex(0); }, [&] { search->setCurrentIndex(2500); });
        printAgainstStatements("Customer master: back to all customers", everyRead, back, table->rowCount(),
                               EveryCustomer);
        delete form;
    }
    std::printf("\n");
    {
        const auto itemsRead = [](int customerId, const QString &search) {
            return bestMsOf([&] { findItems(customerId, search); }, Runs);
        };
        const double comboRead = bestMsOf([] { countRows(CustomerCombo.sql, {}); }, Runs);
        const double allRead = itemsRead(-1, QString());

        itemmaster *form = nullptr;
        const double open = bestOpeningMs(&form, Runs);
        auto *table = form->findChild<QTableWidget *>("item_table");
        auto *customers = form->findChild<QComboBox *>("searchCombo");
        auto *text = form->findChild<QLineEdit *>("searchLineEdit");
        const auto print = [&](const QString &what, double read, double window, const QList<ListStatement> &floor,
                               int rows = -1) {
            printAgainstStatements("Item master: " + what, read, window, rows < 0 ? table->rowCount() : rows, floor,
                                   3, 150);
        };
        print("open", comboRead + allRead, open, {CustomerCombo, itemList(-1, QString())});

        const int customer = customers->itemData(2500).toInt();
        print("choose one customer", itemsRead(customer, QString()),
              bestStepMs([&] { customers->setCurrentIndex(2500); }, [&] { customers->setCurrentIndex(0); }),
              {itemList(customer, QString())});
        print("back to every customer", allRead,
              bestStepMs([&] { customers->setCurrentIndex(0); }, [&] { customers->setCurrentIndex(2500); }),
              {itemList(-1, QString())});
        for (const QString &typed : {QString("g"), QString("c42"), QString("c4217-i1")}) {
            print("type \"" + typed + "\"", itemsRead(-1, typed),
                  bestStepMs([&] { text->setText(typed); }, [&] { text->clear(); }), {itemList(-1, typed)});
        }
        print("clear the search text", allRead, bestStepMs([&] { text->clear(); }, [&] { text->setText("c42"); }),
              {itemList(-1, QString())});
        print("shown again (customer list refilled)", comboRead,
              bestStepMs([&] { form->show(); }, [&] { form->hide(); }), {CustomerCombo}, customers->count());
        delete form;
    }
    return printLimitVerdict() ? 0 : 1;
}
