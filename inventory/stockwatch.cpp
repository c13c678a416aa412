#include "stockwatch.h"

#include "core/boundquery.h"

#include <QDate>
#include <QSqlQuery>

QList<LowStockItem> lowStockItems(const QString &category)
{
    QList<LowStockItem> items;
    QSqlQuery q;
    if (!execBound(q,
                   QStringLiteral("SELECT item_name, balance_stock, min_stock, uom FROM inventory_items "
                                  "WHERE category = :cat AND min_stock > 0 AND balance_stock <= min_stock "
                                  "ORDER BY item_name ASC"),
                   {{":cat", category}}))
        return items;
    while (q.next())
        items << LowStockItem{q.value(0).toString(), q.value(1).toDouble(), q.value(2).toDouble(),
                              q.value(3).toString()};
    return items;
}

QString OpenRequestLine::shortDate() const
{
    const QDate date = QDate::fromString(poDate, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yy")) : QString();
}

QList<OpenRequestLine> openRequestLines(const QString &category, OpenRequestOrder order)
{
    QList<OpenRequestLine> lines;
    QSqlQuery q;
    const QString orderBy = order == OpenRequestOrder::BySupplierNewestFirst
                                ? QStringLiteral("ORDER BY supplier_name ASC, po_date DESC")
                                : QStringLiteral("ORDER BY supplier_name ASC");
    if (!execBound(q,
                   QStringLiteral("SELECT supplier_name, item_name, order_qty, uom, po_date FROM purchase_orders "
                                  "WHERE category = :cat AND status = 'Open' ")
                       + orderBy,
                   {{":cat", category}}))
        return lines;
    while (q.next())
        lines << OpenRequestLine{q.value(0).toString(), q.value(1).toString(), q.value(2).toDouble(),
                                 q.value(3).toString(), q.value(4).toString()};
    return lines;
}
