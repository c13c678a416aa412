#pragma once
// Stock items, movements and material request lines written straight into
// the inventory tables (every value bound) for the material request, stock
// report and dashboard tests. A failing statement stops the test program.

#include <QString>

class QTableWidget;
class TestEnvironment;
class TickColumn;

namespace stockdata {

// Opens the environment's database with the core tables and the three
// inventory tables.
bool openInventoryDatabase(TestEnvironment &env);

// Row 1 of company_settings.
void setCompany(const QString &name, const QString &phone = QString(), const QString &address1 = "Plot 4",
                const QString &address2 = "GIDC");

struct StockItem
{
    QString category = "Raw Material";
    QString supplier = "SHAH TRADERS";
    QString name = "Steel rod";
    double balance = 10;
    QString uom = "kgs";
    QString phone = QString();
    double minStock = 0;
};

// Returns the item_id.
int addStockItem(const StockItem &item);

struct Movement
{
    int itemId = 1;
    QString date = "2026-03-10";
    QString type = "Addition";
    double qty = 1;
    QString itemName = "Steel rod";
    QString category = "Raw Material";
    QString supplier = "SHAH TRADERS";
};

void addMovement(const Movement &movement);

struct RequestLine
{
    QString number = "MR/26-27/001";
    QString date = "2026-12-01";
    QString supplier = "SHAH TRADERS";
    QString item = "Steel rod";
    QString category = "Raw Material";
    double qty = 1;
    QString uom = "kgs";
    QString status = "Open";
    QString phone = QString();
};

void addRequestLine(const RequestLine &line);

// The tick column of a list; stops the test program when it has none.
TickColumn *ticks(QTableWidget *table);

} // namespace stockdata
