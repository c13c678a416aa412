#include "stockwatch.h"

#include "core/boundquery.h"

#include <QDate>

#include <algorithm>

QList<LowStockItem> lowStockItems(const QString &category)
{
    QList<LowStockItem> items;
    if (!forEachRow(QStringLiteral("SELECT item_name, balance_stock, min_stock, uom FROM inventory_items "
                                   "WHERE category = :cat AND min_stock > 0 AND balance_stock <= min_stock "
                                   "ORDER BY item_name ASC"),
                    {{QStringLiteral(":cat"), category}},
                    [&](const StatementRow &q) { items << LowStockItem{q.text(0), q.real(1), q.real(2), q.text(3)}; }))
        items.clear();
    return items;
}

QString OpenRequestLine::shortDate() const
{
    // A valid date as the program stores it is rewritten from its digits (a
    // format's parser costs microseconds, and a card lists thousands);
    // anything else is left to the parser.
    const auto digits = [this](std::initializer_list<int> at) {
        return std::all_of(at.begin(), at.end(), [this](int i) { return poDate.at(i) >= '0' && poDate.at(i) <= '9'; });
    };
    if (poDate.size() == 10 && poDate.at(4) == '-' && poDate.at(7) == '-' && digits({0, 1, 2, 3, 5, 6, 8, 9})
        && QDate(poDate.left(4).toInt(), poDate.mid(5, 2).toInt(), poDate.mid(8, 2).toInt()).isValid())
        return poDate.mid(8, 2) + QLatin1Char('/') + poDate.mid(5, 2) + QLatin1Char('/') + poDate.mid(2, 2);
    const QDate date = QDate::fromString(poDate, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yy")) : QString();
}

QList<OpenRequestLine> openRequestLines(const QString &category, OpenRequestOrder order)
{
    QList<OpenRequestLine> lines;
    const QString orderBy = order == OpenRequestOrder::BySupplierNewestFirst
                                ? QStringLiteral("ORDER BY supplier_name ASC, po_date DESC")
                                : QStringLiteral("ORDER BY supplier_name ASC");
    if (!forEachRow(QStringLiteral("SELECT supplier_name, item_name, order_qty, uom, po_date FROM purchase_orders "
                                   "WHERE category = :cat AND status = 'Open' ")
                        + orderBy,
                    {{QStringLiteral(":cat"), category}}, [&](const StatementRow &q) {
                        lines << OpenRequestLine{q.text(0), q.text(1), q.real(2), q.text(3), q.text(4)};
                    }))
        lines.clear();
    return lines;
}
