#include "heavystock.h"
#include "preparedinsert.h"

#include "heavyyear.h"
#include "core/financialyear.h"
#include "inventory/inventoryschema.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <cmath>
#include <random>

namespace {

const std::uint32_t Seed = 20260402;

const char *const Materials[] = {"MS SHEET", "GI WIRE", "HEX BOLT", "WASHER", "NITRILE GLOVES", "SAFETY SHOE",
                                 "CARTON BOX", "STRETCH FILM", "BEARING 6204", "V BELT", "GRINDING WHEEL",
                                 "CUTTING OIL", "PAINT PRIMER", "THINNER", "WELDING ROD", "DRILL BIT"};
const char *const Units[] = {"kgs", "ltrs", "nos", "sets", "pairs", "pcs", "box", "roll", "bundle", "meters"};
const char *const SupplierWords[] = {"SRI VINAYAKA", "O'BRIEN", "LAKSHMI", "KAVERI", "D'SOUZA", "ANNAI",
                                     "SELVAM", "GANESH", "PONNI", "NATARAJ"};
const char *const SupplierTrades[] = {"TRADERS", "HARDWARE", "SAFETY PRODUCTS", "PACKAGING", "STEELS", "AGENCIES"};

using Insert = PreparedInsert;

struct Item
{
    QString name;
    QString category;
    QString supplier;
    QString phone;
    QString uom;
    double opening = 0;
    double additions = 0;
    double reductions = 0;
    double balance = 0;
    double minimum = 0;
    QString lastUpdated;
};

double quarters(std::mt19937 &rng, int most)
{
    return (1 + static_cast<int>(rng() % static_cast<std::uint32_t>(most * 4))) / 4.0;
}

} // namespace

StockSize heavyStock()
{
    return StockSize();
}

QString stockItemName(int item)
{
    return QString("ITEM %1 %2").arg(item, 5, 10, QChar('0')).arg(Materials[item % countOf(Materials)]);
}

QString stockItemCategory(int item)
{
    return stockCategories().at((item - 1) % 5);
}

int stockItemSupplier(const StockSize &size, int item)
{
    return 1 + ((item - 1) / 5) % qMax(1, size.suppliers);
}

QString stockSupplierName(int supplier)
{
    const int words = countOf(SupplierWords);
    return QString("%1 %2 %3")
        .arg(SupplierWords[(supplier - 1) % words])
        .arg(SupplierTrades[((supplier - 1) / words) % countOf(SupplierTrades)])
        .arg(supplier);
}

FilledStock fillStock(const StockSize &size)
{
    QElapsedTimer timer;
    timer.start();
    createInventoryTables();
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction())
        qFatal("cannot begin a transaction: %s", qPrintable(db.lastError().text()));

    std::mt19937 rng(Seed);
    const QDate first = QDate::fromString(size.firstDay, "yyyy-MM-dd");
    const QString firstText = first.toString("yyyy-MM-dd");
    FilledStock filled;

    QVector<Item> items(size.items + 1);
    Insert movement("INSERT INTO inventory_transactions (item_id, item_name, category, supplier_name, trans_date, "
                    "trans_type, quantity, remarks) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 1; i <= size.items; ++i) {
        Item &item = items[i];
        const int supplier = stockItemSupplier(size, i);
        item.name = stockItemName(i);
        item.category = stockItemCategory(i);
        item.supplier = stockSupplierName(supplier);
        item.phone = supplier % 7 == 0 ? QString() : QString("98%1").arg(40000000 + supplier * 1237, 8, 10, QChar('0'));
        item.uom = Units[i % countOf(Units)];
        item.opening = i % 9 == 0 ? 0 : quarters(rng, 200);
        item.balance = item.opening;
        item.minimum = i % qMax(1, size.minimumShare) == 0 ? quarters(rng, 40) : 0;
        item.lastUpdated = firstText;
        movement.run({i, item.name, item.category, item.supplier, firstText, StockMovement::Opening, item.opening,
                      StockMovement::Opening});
        ++filled.movements;
    }

    // Additions and reductions in order of entry, their dates rising through the period.
    const int moves = qMax(0, size.movements - size.items);
    for (int m = 0; m < moves && size.items > 0; ++m) {
        const int id = 1 + static_cast<int>(rng() % static_cast<std::uint32_t>(size.items));
        Item &item = items[id];
        const QString date =
            first.addDays(static_cast<qint64>(m) * qMax(1, size.days) / qMax(1, moves)).toString("yyyy-MM-dd");
        double qty = quarters(rng, 50);
        const bool reduce = rng() % 5 < 2 && item.balance > 0;
        if (reduce) {
            qty = std::min(qty, item.balance);
            item.reductions += qty;
            item.balance -= qty;
            ++filled.reductions;
        } else {
            item.additions += qty;
            item.balance += qty;
            ++filled.additions;
        }
        item.lastUpdated = date;
        movement.run({id, item.name, item.category, item.supplier, date,
                      reduce ? StockMovement::Reduction : StockMovement::Addition, qty, QString("")});
        ++filled.movements;
    }

    Insert register_("INSERT INTO inventory_items (item_id, category, supplier_name, supplier_phone, item_name, "
                     "opening_stock, stock_addition, stock_reduction, balance_stock, uom, last_updated, min_stock) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 1; i <= size.items; ++i) {
        const Item &item = items.at(i);
        register_.run({i, item.category, item.supplier, item.phone, item.name, item.opening, item.additions,
                       item.reductions, item.balance, item.uom, item.lastUpdated, item.minimum});
        if (item.minimum > 0 && item.balance <= item.minimum)
            ++filled.lowItems;
    }
    filled.items = size.items;

    // Material requests: lines of one supplier's items, numbered per request.
    static const char *const Statuses[] = {"Open", "Open", "Received", "Partial Received", "Order Cancel"};
    Insert request("INSERT INTO purchase_orders (po_number, po_date, supplier_name, supplier_phone, item_name, "
                   "category, order_qty, uom, status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int number = 0;
    while (filled.requestLines < size.requestLines && size.items > 0) {
        ++number;
        const int lines = 1 + static_cast<int>(rng() % 5);
        const int start = 1 + static_cast<int>(rng() % static_cast<std::uint32_t>(size.items));
        const QDate day = first.addDays(static_cast<qint64>(filled.requestLines) * qMax(1, size.days) /
                                        qMax(1, size.requestLines));
        const QString po = QString("MR/%1/%2").arg(financialYearLabel(day)).arg(number, 3, 10, QChar('0'));
        for (int l = 0; l < lines && filled.requestLines < size.requestLines; ++l) {
            // Items 5 apart share a supplier.
            const int id = 1 + (start - 1 + 5 * l) % size.items;
            const Item &item = items.at(id);
            request.run({po, day.toString("yyyy-MM-dd"), item.supplier, item.phone, item.name, item.category,
                         quarters(rng, 100), item.uom, QString(Statuses[rng() % 5])});
            ++filled.requestLines;
        }
    }

    if (!db.commit())
        qFatal("cannot commit: %s", qPrintable(db.lastError().text()));
    filled.ms = timer.nsecsElapsed() / 1e6;
    return filled;
}

QString FilledStock::summary() const
{
    QString text = QString("%1 items (%2 at or below their minimum), %3 movements (%4 additions, %5 reductions)")
                       .arg(countText(items), countText(lowItems), countText(movements), countText(additions),
                            countText(reductions));
    if (requestLines > 0)
        text += QString(", %1 material request lines").arg(countText(requestLines));
    return text + QString(", written in %1 ms").arg(ms, 0, 'f', 0);
}
