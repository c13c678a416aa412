#include "itemstore.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "core/money.h"
#include "core/typednumber.h"
#include "masterdb.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>


namespace {

// Every column of an item as stored, in the list's order.
const RowSource ItemSource{QStringLiteral("items"),
                           QStringLiteral("item_id"),
                           {QStringLiteral("item_id"), QStringLiteral("customer_id"), QStringLiteral("item_code"),
                            QStringLiteral("item_name"), QStringLiteral("drawing_no"), QStringLiteral("uom"),
                            QStringLiteral("rate_wo_tax"), QStringLiteral("tax_percent")},
                           QString()};

QVariantMap fieldValues(const ItemFields &f)
{
    return {{":cid", f.customerId}, {":code", f.code},  {":name", f.name},      {":drawing", f.drawingNo},
            {":uom", f.uom},        {":rate", f.rate}, {":tax", f.taxPercent}};
}

// Whether another item than `excludeId` (-1: none) of the customer has the
// code in any letter case; a query that fails finds none.
bool itemCodeTaken(int customerId, const QString &code, int excludeId)
{
    QSqlQuery q;
    if (excludeId < 0) {
        q.prepare("SELECT item_id FROM items WHERE customer_id = :cid AND UPPER(item_code) = :code");
    } else {
        q.prepare("SELECT item_id FROM items WHERE customer_id = :cid AND UPPER(item_code) = :code AND item_id != :id");
        q.bindValue(":id", excludeId);
    }
    q.bindValue(":cid", customerId);
    q.bindValue(":code", code.trimmed().toUpper());
    return q.exec() && q.next();
}

// False, with a plain reason in `error`, when the customer was deleted
// meanwhile (an item of it would show in no list), or with the driver's text.
bool customerStillStored(int customerId, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, "SELECT 1 FROM customers WHERE customer_id = :cid", {{":cid", customerId}}, error))
        return false;
    if (!q.next()) {
        *error = rowGoneText("The chosen customer", true);
        return false;
    }
    return true;
}

// Runs `sql` with the item's fields (and `id`) while the `listed` rows are
// as loaded, the item's customer is still stored and no item of it but
// `excludeId` has the code.
MasterWrite writeItem(const ItemFields &fields, int excludeId, QString *error, const QList<LoadedRow> &listed,
                      const QString &sql)
{
    return writeMasterRow(
        listed,
        [&](bool *duplicate, QString *failure) {
            if (!customerStillStored(fields.customerId, failure))
                return false;
            *duplicate = !fields.code.isEmpty() && itemCodeTaken(fields.customerId, fields.code, excludeId);
            QVariantMap values = fieldValues(fields);
            if (excludeId >= 0)
                values.insert(":id", excludeId);
            QSqlQuery q;
            return !*duplicate && execBound(q, sql, values, failure);
        },
        error);
}

} // namespace

ItemFields storedItemFields(ItemFields f)
{
    f.code = f.code.trimmed().toUpper();
    f.name = f.name.trimmed().toUpper();
    f.drawingNo = f.drawingNo.trimmed().toUpper();
    return f;
}

QList<ItemRow> findItems(int customerId, const QString &search)
{
    // The item's stored columns (read once, kept as their digest), then the
    // customer's name.
    QString sql = QStringLiteral("SELECT ") + ItemSource.columnList(QStringLiteral("i"))
                  + QStringLiteral(", c.customer_name FROM items i JOIN customers c ON i.customer_id = c.customer_id "
                                   "WHERE 1=1 ");
    QVariantMap values;
    if (customerId > 0) {
        sql += "AND i.customer_id = :customer_id ";
        values.insert(QStringLiteral(":customer_id"), customerId);
    }
    if (!search.isEmpty()) {
        sql += "AND (i.item_code LIKE :search OR i.item_name LIKE :search) ";
        values.insert(QStringLiteral(":search"), "%" + search + "%");
    }
    sql += "ORDER BY c.customer_name, i.item_code, i.item_name ASC";

    QList<ItemRow> rows;
    const int columns = int(ItemSource.columns.size());
    forEachRow(sql, values, [&](const StatementRow &q) {
        ItemRow r;
        r.id = q.integer(0);
        r.code = q.text(2);
        r.name = q.text(3);
        r.drawingNo = q.text(4);
        r.uom = q.text(5);
        r.rate = q.real(6);
        r.taxPercent = q.real(7);
        r.customerName = q.text(8);
        r.stored = StoredRow::of(q, 0, columns);
        rows.append(r);
    });
    return rows;
}

QString itemRowName(const ItemRow &row)
{
    return QStringLiteral("Item ") + shortRowName(row.code.isEmpty() ? row.name : row.code);
}

MasterWrite insertItem(const ItemFields &fields, QString *error)
{
    return writeItem(fields, -1, error, {},
                     "INSERT INTO items (customer_id, item_code, item_name, drawing_no, uom, rate_wo_tax, "
                     "tax_percent) VALUES (:cid, :code, :name, :drawing, :uom, :rate, :tax)");
}

MasterWrite updateItem(const ItemRow &loaded, const ItemFields &fields, QString *error)
{
    // The item moves to the chosen customer. After a refusal the form
    // leaves the edit with what was typed still in the fields.
    return writeItem(fields, loaded.id, error,
                     {masterUpdateRow(ItemSource, loaded.id, loaded.stored, itemRowName(loaded), "item")},
                     "UPDATE items SET customer_id = :cid, item_code = :code, item_name = :name, "
                     "drawing_no = :drawing, uom = :uom, rate_wo_tax = :rate, tax_percent = :tax WHERE item_id = :id");
}

bool deleteItem(const ItemRow &loaded, QString *error)
{
    // Documents may have come to name the item since the form looked.
    const int id = loaded.id;
    return deleteMasterRow(ItemSource, id, loaded.stored, itemRowName(loaded), "item",
                           "DELETE FROM items WHERE item_id = :id", [id] { return itemDeletionRefusal(id); }, error);
}

QString itemDeletionRefusal(int id)
{
    // Document lines join their item: deleting it would drop them from lists and prints.
    const QStringList uses = documentsUsing("item_id", id,
                                            {{"inward_entries", "Inward Entries"},
                                             {"delivery_entries", "Delivery Challans"},
                                             {"invoice_items", "Invoices"},
                                             {"bins", "Bins"}});
    return uses.isEmpty() ? QString() : stillUsedText("This item", uses);
}

bool parseRate(const QString &text, double *rate)
{
    // A rate beyond the money bound is no rate.
    const TypedNumber typed = readTypedNumber(text);
    if (typed.isNotANumber() || typedNumberTooLarge(text, FigureKind::Money))
        return false;
    if (rate)
        *rate = typed.value;
    return true;
}

double taxPercentFromText(const QString &text)
{
    QString digits = text;
    digits.remove(' ').remove('%');
    return digits.toDouble();
}

QString rateText(double rate)
{
    return threeDecimalText(rate);
}

QString taxText(double taxPercent)
{
    return QString::number(taxPercent, 'f', 0) + " %";
}
