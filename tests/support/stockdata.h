#pragma once
// The stock register under test: a stock entry form on a fresh database, its
// entry fields filled and its list worked as a user does, and the Update Stock
// dialog answered.

#include "support/testenvironment.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QTableWidget;
class inventory_stockentry;

// An item registered with the store (not through the form), dated today;
// returns its item_id.
int addStock(const QString &category, const QString &supplier, const QString &name, double opening,
             double minimum = 0, const QString &uom = "nos", const QString &phone = QString());

// Today as stored, "yyyy-MM-dd".
QString storedToday();

// A shown stock entry form; the environment's database holds the stock tables.
struct StockForm
{
    StockForm();
    ~StockForm();

    TestEnvironment env;
    inventory_stockentry *form = nullptr;
    QTableWidget *list = nullptr;

    // Fills the entry fields (an empty category or unit: "-- Select --").
    void fillEntry(const QString &category, const QString &supplier, const QString &item, const QString &opening,
                   const QString &uom, const QString &minimum = QString(), const QString &phone = QString());
    void clickAdd();

    // The list row showing the item, or -1.
    int rowOf(int itemId) const;
    // Clicks the row of the item in the list (current row; enables Stock Adjusting).
    void clickRow(int itemId);
    void reload();

    // Opens the Update Stock dialog for the item; `work` gets it while it is
    // open. A dialog still open after `work` is cancelled.
    void adjust(int itemId, const std::function<void(QDialog *)> &work);
    // Records a movement through the dialog: its radio, quantity and date, then
    // Save. Whether the dialog stayed open (a refusal keeps it).
    bool move(int itemId, bool addition, const QString &quantity, const QDate &date = QDate::currentDate());

    // Opens the history of the list row through its context menu; `work` gets
    // the dialog while it is open (nothing is called when no dialog opens).
    // Returns the menu entries offered.
    QStringList history(int row, const std::function<void(QDialog *)> &work);

    // "title|text" of the message boxes shown since the last call.
    QStringList takeMessages();
};
