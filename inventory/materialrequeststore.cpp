#include "materialrequeststore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "core/transaction.h"
#include "core/typednumber.h"
#include "widgets/listformat.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QSqlQuery>

namespace {

QStringList distinctNames(const QString &sql)
{
    QStringList names;
    QSqlQuery q;
    if (q.exec(sql)) {
        while (q.next())
            names << q.value(0).toString();
    }
    return names;
}

} // namespace

QStringList stockItemSuppliers()
{
    return distinctNames(QStringLiteral("SELECT DISTINCT supplier_name FROM inventory_items ORDER BY supplier_name ASC"));
}

QList<SupplierItem> supplierItems(const QString &supplier)
{
    QList<SupplierItem> items;
    QSqlQuery q;
    if (!execBound(q,
                   QStringLiteral("SELECT category, supplier_name, supplier_phone, item_name, balance_stock, uom "
                                  "FROM inventory_items WHERE supplier_name = :sup ORDER BY item_name ASC"),
                   {{":sup", supplier}}))
        return items;
    while (q.next()) {
        SupplierItem item;
        item.category = q.value(0).toString();
        item.supplierName = q.value(1).toString();
        item.supplierPhone = q.value(2).toString();
        item.itemName = q.value(3).toString();
        item.balance = q.value(4).toDouble();
        item.uom = q.value(5).toString();
        items << item;
    }
    return items;
}

RequestCheck checkRequestLines(const QList<RequestLineInput> &lines)
{
    if (lines.isEmpty())
        return RequestCheck::NothingTicked;
    for (const RequestLineInput &line : lines) {
        if (!typedFigureTooLarge(QString(), line.qtyText, FigureKind::Quantity).isEmpty())
            return RequestCheck::QtyTooLarge;
        if (!(readTypedNumber(line.qtyText).valueOr(0) > 0))
            return RequestCheck::MissingQty;
    }
    return RequestCheck::Ok;
}

QString requestCheckText(RequestCheck check)
{
    switch (check) {
    case RequestCheck::NothingTicked:
        return QStringLiteral("Please select at least one item!");
    case RequestCheck::MissingQty:
        return QStringLiteral("Please enter order qty for all selected items!");
    case RequestCheck::QtyTooLarge:
        return figureTooLargeText(QStringLiteral("Order Qty"), FigureKind::Quantity);
    case RequestCheck::Ok:
        break;
    }
    return QString();
}

bool nextMaterialRequestNumber(const QDate &date, QString *number, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, QStringLiteral("SELECT COUNT(*) FROM purchase_orders"), {}, error))
        return false;
    const int lines = q.next() ? q.value(0).toInt() : 0;
    *number = materialRequestNumber(lines, date);
    return true;
}

RequestSaveOutcome saveMaterialRequestLines(const QString &supplier, const QList<RequestLineInput> &lines,
                                            const QDate &date, const RequestNumberSource &numberSource)
{
    RequestSaveOutcome outcome;
    if (lines.isEmpty())
        return outcome;
    const QString phone = lines.first().supplierPhone;
    const QString day = date.toString(QStringLiteral("yyyy-MM-dd"));
    QString number;
    // Counted and written in one transaction, so the number cannot be taken twice.
    const bool written = runInTransaction(
        [&](QString *error) {
            if (numberSource)
                number = numberSource(error);
            else if (!nextMaterialRequestNumber(date, &number, error))
                return false;
            if (number.isEmpty()) {
                if (error->isEmpty())
                    *error = QStringLiteral("No request number could be taken.");
                return false;
            }
            QSqlQuery q;
            for (const RequestLineInput &line : lines) {
                if (!execBound(q,
                               QStringLiteral("INSERT INTO purchase_orders (po_number, po_date, supplier_name, "
                                              "supplier_phone, item_name, category, order_qty, uom, status) "
                                              "VALUES (:po, :date, :sup, :phone, :item, :cat, :qty, :uom, 'Open')"),
                               {{":po", number},
                                {":date", day},
                                {":sup", supplier},
                                {":phone", phone},
                                {":item", line.itemName},
                                {":cat", line.category},
                                {":qty", readTypedNumber(line.qtyText).valueOr(0)},
                                {":uom", line.uom}},
                               error))
                    return false;
            }
            return true;
        },
        &outcome.error);
    if (written) {
        outcome.saved = lines.size();
        outcome.number = number;
    }
    return outcome;
}

QStringList requestSuppliers()
{
    return distinctNames(QStringLiteral("SELECT DISTINCT supplier_name FROM purchase_orders ORDER BY supplier_name ASC"));
}

bool queryRequestList(const std::optional<QString> &supplier, const QString &from, const QString &to,
                      QList<RequestListRow> *rows, QString *error)
{
    // Every column of the line: the list shows some, the check of a status
    // change compares them all.
    QString sql = QStringLiteral("SELECT t.* FROM purchase_orders t WHERE po_date >= :from AND po_date <= :to ");
    QVariantMap values{{":from", from}, {":to", to}};
    if (supplier) {
        sql += QStringLiteral("AND supplier_name = :sup ");
        values.insert(":sup", *supplier);
    }
    sql += QStringLiteral("ORDER BY po_date DESC, po_number ASC");

    rows->clear();
    // The table's columns, read once; the rows are read straight from SQLite,
    // a QSqlQuery's conversion of every column of thousands of rows costing
    // more than the statement.
    QSqlQuery columns;
    if (!execBound(columns, QStringLiteral("SELECT * FROM purchase_orders LIMIT 0"), {}, error))
        return false;
    const QSqlRecord record = columns.record();
    const int count = record.count();
    const int atId = record.indexOf(QStringLiteral("po_id"));
    if (atId < 0) {
        *error = QStringLiteral("no such column: po_id");
        return false;
    }
    int at[8];
    const char *const shown[8] = {"po_number", "po_date", "supplier_name", "item_name",
                                  "category",  "order_qty", "uom",        "status"};
    for (int i = 0; i < 8; ++i) {
        at[i] = record.indexOf(QLatin1String(shown[i]));
        if (at[i] < 0) {
            *error = QStringLiteral("no such column: %1").arg(QLatin1String(shown[i]));
            return false;
        }
    }
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            RequestListRow row;
            row.stored = storedRowOf(q, count);
            const QVariantList &c = row.stored.columns;
            row.poId = c.at(atId).toInt();
            row.poNumber = c.at(at[0]).toString();
            row.poDate = c.at(at[1]).toString();
            row.supplierName = c.at(at[2]).toString();
            row.itemName = c.at(at[3]).toString();
            row.category = c.at(at[4]).toString();
            row.orderQty = c.at(at[5]).toDouble();
            row.uom = c.at(at[6]).toString();
            row.status = c.at(at[7]).toString();
            rows->append(row);
        },
        error);
}

QString requestDateText(const QString &stored)
{
    const QString shown = storedDateText(stored);
    return shown == stored ? QString() : shown;
}

QString requestQtyText(double qty)
{
    return storedDecimalText(qty, 2);
}

QColor requestStatusColor(const QString &status)
{
    if (status == QLatin1String("Pending") || status == QLatin1String("Open"))
        return QColor(QStringLiteral("#fff3cd"));
    if (status == QLatin1String("Received"))
        return QColor(QStringLiteral("#d4edda"));
    if (status == QLatin1String("Partial Received"))
        return QColor(QStringLiteral("#cce5ff"));
    if (status == QLatin1String("Order Cancel"))
        return QColor(QStringLiteral("#f8d7da"));
    return QColor();
}

QStringList requestStatuses()
{
    return {QStringLiteral("Open"), QStringLiteral("Received"), QStringLiteral("Partial Received"),
            QStringLiteral("Order Cancel")};
}

int updateRequestStatus(const QList<RequestLineKey> &keys, const QString &status, QString *error)
{
    if (keys.isEmpty())
        return 0;
    const RowSource source{QStringLiteral("purchase_orders"), QStringLiteral("po_id"), QString()};
    const bool written = runInTransaction(
        [&](QString *err) {
            // Each ticked line compared, then written by its own row: the
            // rows compared are the rows changed.
            for (const RequestLineKey &key : keys) {
                StoredRow now;
                if (!readStoredRow(source, key.poId, &now, err))
                    return false;
                // A line gone is as much a change as a line changed.
                if (!key.loaded.found() || now != key.loaded) {
                    *err = requestChangedText(key);
                    return false;
                }
            }
            for (const RequestLineKey &key : keys) {
                if (!execListedRow(QStringLiteral("UPDATE purchase_orders SET status = :status WHERE po_id = :id"),
                                   {{":status", status}, {":id", key.poId}}, requestChangedText(key), err))
                    return false;
            }
            return true;
        },
        error);
    return written ? int(keys.size()) : -1;
}

QString requestChangedText(const RequestLineKey &key)
{
    const QString line = QStringLiteral("PO Number %1, item '%2'").arg(key.poNumber, key.itemName);
    const QString shown = key.shownStatus.isEmpty() ? line : line + QStringLiteral(" (listed as %1)").arg(key.shownStatus);
    return rowChangedText(shown, QString(), QStringLiteral("Nothing was updated."));
}
