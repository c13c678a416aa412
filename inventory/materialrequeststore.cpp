#include "materialrequeststore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listedrow.h"
#include "core/listformat.h"
#include "core/money.h"
#include "core/transaction.h"
#include "core/typednumber.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// Every column of a request line as stored, in the table's order.
const RowSource RequestLines{QStringLiteral("purchase_orders"),
                             QStringLiteral("po_id"),
                             {QStringLiteral("po_id"), QStringLiteral("po_number"), QStringLiteral("po_date"),
                              QStringLiteral("supplier_name"), QStringLiteral("supplier_phone"),
                              QStringLiteral("item_name"), QStringLiteral("category"), QStringLiteral("order_qty"),
                              QStringLiteral("uom"), QStringLiteral("status")},
                             QString()};

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
    QString sql = QStringLiteral("SELECT ") + RequestLines.columnList()
                  + QStringLiteral(" FROM purchase_orders WHERE po_date >= :from AND po_date <= :to ");
    QVariantMap values{{":from", from}, {":to", to}};
    if (supplier) {
        sql += QStringLiteral("AND supplier_name = :sup ");
        values.insert(":sup", *supplier);
    }
    sql += QStringLiteral("ORDER BY po_date DESC, po_number ASC");

    rows->clear();
    const int count = int(RequestLines.columns.size());
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            RequestListRow row;
            row.poId = q.integer(0);
            row.poNumber = q.text(1);
            row.poDate = q.text(2);
            row.supplierName = q.text(3);
            row.itemName = q.text(5);
            row.category = q.text(6);
            row.orderQty = q.real(7);
            row.uom = q.text(8);
            row.status = q.text(9);
            row.stored = StoredRow::of(q, 0, count);
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

namespace {

// How a refusal names a ticked line: its number and item as listed.
QString requestLineName(const RequestLineKey &key)
{
    return QStringLiteral("PO Number %1, item '%2'").arg(key.poNumber, shortRowName(key.itemName));
}

} // namespace

int updateRequestStatus(const QList<RequestLineKey> &keys, const QString &status, QString *error, bool *refused)
{
    if (refused)
        *refused = false;
    if (keys.isEmpty())
        return 0;
    // Each ticked line compared, then written by its own row: the rows
    // compared are the rows changed.
    QList<LoadedRow> lines;
    QList<QPair<QString, QVariantMap>> statements;
    for (const RequestLineKey &key : keys) {
        LoadedRow line(RequestLines, key.poId, key.loaded, requestLineName(key));
        line.changedText = requestChangedText(key);
        lines.append(line);
        statements.append({QStringLiteral("UPDATE purchase_orders SET status = :status WHERE po_id = :id"),
                           {{":status", status}, {":id", key.poId}}});
    }
    const RowWrite outcome = writeLoadedRows(lines, statements);
    if (refused)
        *refused = outcome.result == ListedWrite::Stale;
    return outcome.ok(error) ? int(keys.size()) : -1;
}

QString requestChangedText(const RequestLineKey &key)
{
    const QString line = requestLineName(key);
    const QString shown = key.shownStatus.isEmpty() ? line : line + QStringLiteral(" (listed as %1)").arg(key.shownStatus);
    return rowChangedText(shown, QString(), QStringLiteral("Nothing was updated."));
}
