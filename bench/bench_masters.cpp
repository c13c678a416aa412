// Opening and searching the customer and item masters over 5,000 customers
// and 50,000 items. Prints the time of each step.

#include "app/resources.h"
#include "sales/customermaster.h"
#include "sales/itemmaster.h"
#include "sales/salesschema.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

const int Customers = 5000;
const int ItemsPerCustomer = 10;

void fillDatabase()
{
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    QSqlQuery customer;
    customer.prepare("INSERT INTO customers (customer_name, address_line1, gst_no, customer_type, phone) "
                     "VALUES (:name, :address, :gst, :type, :phone)");
    QSqlQuery item;
    item.prepare("INSERT INTO items (customer_id, item_code, item_name, drawing_no, uom, rate_wo_tax, tax_percent) "
                 "VALUES (:cid, :code, :name, :drawing, 'NOS', :rate, 18)");
    for (int c = 1; c <= Customers; ++c) {
        customer.bindValue(":name", QString("CUSTOMER %1 ENGINEERING").arg(c, 5, 10, QChar('0')));
        customer.bindValue(":address", QString("%1 Industrial Estate").arg(c));
        customer.bindValue(":gst", QString("33ABCDE%1Z5").arg(c, 5, 10, QChar('0')));
        customer.bindValue(":type", c % 3 ? "Local Customer" : "IGST Customer");
        customer.bindValue(":phone", QString("98400%1").arg(c, 5, 10, QChar('0')));
        customer.exec();
        for (int i = 1; i <= ItemsPerCustomer; ++i) {
            item.bindValue(":cid", c);
            item.bindValue(":code", QString("IT-%1-%2").arg(c).arg(i));
            item.bindValue(":name", QString("FLANGE %1 SIZE %2").arg(c).arg(i));
            item.bindValue(":drawing", QString("DRG-%1").arg(c * 10 + i));
            item.bindValue(":rate", 10.5 + i);
            item.exec();
        }
    }
    db.commit();
}

double timed(const char *what, const std::function<void()> &step, const std::function<int()> &rows)
{
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("%-48s %9.1f ms  (%d rows)\n", what, ms, rows());
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initKestrovaResources();

    QTemporaryDir dir;
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
    db.setDatabaseName(dir.path() + "/MorvelCoats.db");
    if (!db.open()) {
        std::printf("cannot open the database\n");
        return 1;
    }
    createSalesTables();
    QElapsedTimer fill;
    fill.start();
    fillDatabase();
    std::printf("%d customers and %d items written in %.0f ms\n\n", Customers, Customers * ItemsPerCustomer,
                fill.nsecsElapsed() / 1e6);

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
        timed("Item master: type \"f\" (matches every item)", [&] { text->setText("f"); }, table);
        timed("Item master: type \"it-42\"", [&] { text->setText("it-42"); }, table);
        timed("Item master: type \"it-4217-1\"", [&] { text->setText("it-4217-1"); }, table);
        timed("Item master: clear the search text", [&] { text->clear(); }, table);
        timed("Item master: shown again (customer list refilled)", [&] { form->hide(); form->show(); }, table);
        delete form;
    }
    return 0;
}
