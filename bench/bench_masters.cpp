// Opening and searching the customer and item masters over 5,000 customers
// and 50,000 items (the heavy year's data with that many customers, and no
// documents). Prints the time of each step.
//
//   bench_masters

#include "sales/customermaster.h"
#include "sales/itemmaster.h"
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

// Runs a step, lets the window take its posted events, prints the time and
// the rows the table then shows.
void timed(const char *what, const std::function<void()> &step, const std::function<int()> &rows)
{
    printTimed(
        what,
        [&] {
            step();
            QApplication::processEvents();
        },
        [&] { return rowsText(rows()); });
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    DataSize size = heavyYear();
    size.customers = 5000;
    size.itemsPerCustomer = 10;
    size.years.clear();
    std::printf("%s\n\n", qPrintable(fillData(size).summary()));

    {
        CustomerMaster *form = nullptr;
        auto table = [&] { return form->findChild<QTableWidget *>("customerTable")->rowCount(); };
        timed("Customer master: open and show", [&] { form = new CustomerMaster; form->show(); }, table);
        auto *search = form->findChild<QComboBox *>("searchCombo");
        timed("Customer master: search one name", [&] { search->setCurrentIndex(2500); }, table);
        timed("Customer master: back to all customers", [&] { search->setCurrentIndex(0); }, table);
        delete form;
    }
    {
        itemmaster *form = nullptr;
        auto table = [&] { return form->findChild<QTableWidget *>("item_table")->rowCount(); };
        timed("Item master: open and show", [&] { form = new itemmaster; form->show(); }, table);
        auto *customers = form->findChild<QComboBox *>("searchCombo");
        auto *text = form->findChild<QLineEdit *>("searchLineEdit");
        timed("Item master: choose one customer", [&] { customers->setCurrentIndex(2500); }, table);
        timed("Item master: back to every customer", [&] { customers->setCurrentIndex(0); }, table);
        timed("Item master: type \"g\" (matches every item)", [&] { text->setText("g"); }, table);
        timed("Item master: type \"c42\"", [&] { text->setText("c42"); }, table);
        timed("Item master: type \"c4217-i1\"", [&] { text->setText("c4217-i1"); }, table);
        timed("Item master: clear the search text", [&] { text->clear(); }, table);
        timed("Item master: shown again (customer list refilled)", [&] { form->hide(); form->show(); }, table);
        delete form;
    }
    return 0;
}
