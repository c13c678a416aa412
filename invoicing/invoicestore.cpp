#include "invoicestore.h"

#include "amountinwords.h"
#include "invoicecorrections.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listfilter.h"
#include "core/transaction.h"
#include "core/typednumber.h"
#include "core/listformat.h"

#include <QDebug>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {

// The live lines of one challan with their item and the PO number of the
// inward entry they came from.
const char *const ChallanLines =
    "SELECT d.item_id, d.inward_no, d.delivery_no_full, d.delivery_date, i.item_code, i.item_name, d.sac_code, "
    "d.delivery_qty, i.uom, i.rate_wo_tax, i.tax_percent, "
    "(SELECT e.po_no FROM inward_entries e WHERE e.inward_no = d.inward_no AND e.item_id = d.item_id "
    "AND e.fy_name = d.fy_name ORDER BY e.inward_id LIMIT 1), i.item_id IS NOT NULL "
    "FROM delivery_entries d LEFT JOIN items i ON d.item_id = i.item_id "
    "WHERE d.delivery_no = :no AND d.fy_name = :fy AND (d.is_deleted IS NULL OR d.is_deleted = 0) "
    "ORDER BY d.delivery_id";

// Of one challan: what live invoices billed and "INVOICE" bins closed, one
// row each, summed per item as exact decimals by the caller (a sum of REAL
// values in SQL is binary: 0.1 + 0.2 is 0.30000000000000004). The
// invoice row :xid is left out (no invoice has id -1).
const char *const ConsumedPerItem =
    "SELECT ii.item_id, ii.invoiced_qty FROM invoice_items ii "
    "JOIN invoices v ON ii.invoice_id = v.invoice_id "
    "WHERE ii.delivery_no = :no AND ii.fy_name = :fy AND (v.is_deleted IS NULL OR v.is_deleted = 0) "
    "AND v.invoice_id IS NOT :xid "
    "UNION ALL SELECT b.item_id, b.binned_qty FROM bins b "
    "WHERE b.delivery_no = :no2 AND b.fy_name = :fy2 AND b.bin_type = 'INVOICE'";

const char *const InsertInvoice =
    "INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, sub_total, cgst_amount, "
    "sgst_amount, igst_amount, grand_total, remarks, fy_name, is_deleted, is_abstract, abstract_content) "
    "VALUES (:no, :nofull, :date, :cid, :sub, :cgst, :sgst, :igst, :net, :rem, :fy, 0, :isabstract, :abscontent)";

const char *const InsertLine =
    "INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, rate, amount, tax_percent, fy_name) "
    "VALUES (:iid, :dno, :item, :qty, :rate, :amt, :tax, :fy)";

// An invoice row left out of what has been billed (the one being
// rewritten); id -1 leaves out none.
struct LeftOut
{
    int invoiceId = -1;
};

// What a line may bill over what the database leaves open: half of the
// last of the three decimals a quantity is shown with.
const Decimal QtyTolerance(5, 4);
const Decimal NoQuantity;

// Per item: what was taken of a challan, exactly.
using TakenPerItem = QMap<int, Decimal>;

// The live lines of challan `deliveryNo` of year `fy` in stored order, with
// nothing consumed yet, and per item what live invoices (but `leftOut`) and
// "INVOICE" bins took of the challan.
bool readChallan(int deliveryNo, const QString &fy, const LeftOut &leftOut, QList<ChallanLineBalance> *lines,
                 TakenPerItem *taken, QString *error)
{
    lines->clear();
    taken->clear();
    QSqlQuery consumedQuery;
    if (!execBound(consumedQuery, ConsumedPerItem,
                   {{":no", deliveryNo},
                    {":fy", fy},
                    {":xid", leftOut.invoiceId},
                    {":no2", deliveryNo},
                    {":fy2", fy}},
                   error))
        return false;
    while (consumedQuery.next()) {
        Decimal &sum = (*taken)[consumedQuery.value(0).toInt()];
        sum = sum + Decimal::fromStored(consumedQuery.value(1).toDouble());
    }

    QSqlQuery q;
    q.setForwardOnly(true);
    if (!execBound(q, ChallanLines, {{":no", deliveryNo}, {":fy", fy}}, error))
        return false;
    while (q.next()) {
        ChallanLineBalance line;
        line.itemId = q.value(0).toInt();
        line.inwardNo = q.value(1).toInt();
        line.deliveryNoFull = q.value(2).toString();
        line.deliveryDate = q.value(3).toString();
        line.itemCode = q.value(4).toString();
        line.itemName = q.value(5).toString();
        line.sacCode = q.value(6).toString();
        line.delivered = q.value(7).toDouble();
        line.uom = q.value(8).toString();
        line.rate = q.value(9).toDouble();
        line.taxPercent = q.value(10).toDouble();
        line.poNo = q.value(11).toString();
        line.hasItem = q.value(12).toBool();
        lines->append(line);
    }
    return true;
}

// What was taken of each item fills the challan's lines of that item in
// stored order: each line absorbs the smaller of what is left for the item
// and its delivered quantity. `kept` (empty, or one entry per line) is what a
// loaded invoice bills on a line: what the others took fills the rest of
// every line first and reaches a kept quantity only when the item has no
// other room left.
//
// Exact decimals throughout; the doubles of the lines are the nearest ones to
// them, which read back as the same decimals (Decimal::fromStored).
void fillLineByLine(QList<ChallanLineBalance> *lines, TakenPerItem taken, const QList<double> &kept)
{
    const int passes = kept.isEmpty() ? 1 : 2;
    QList<Decimal> consumed(lines->size());
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < lines->size(); ++i) {
            const ChallanLineBalance &line = lines->at(i);
            const Decimal keep = pass == 0 && !kept.isEmpty() ? Decimal::fromStored(kept.at(i)) : Decimal();
            const Decimal room = qMax(NoQuantity, Decimal::fromStored(line.delivered) - keep - consumed.at(i));
            Decimal &left = taken[line.itemId];
            const Decimal used = qMax(NoQuantity, qMin(left, room));
            consumed[i] = consumed.at(i) + used;
            left = left - used;
        }
    }
    for (int i = 0; i < lines->size(); ++i) {
        ChallanLineBalance &line = (*lines)[i];
        line.consumed = consumed.at(i).toDouble();
        // Exactly, however large: a challan line stored at 10^15 or more keeps
        // its balance (its room above counts as more than any bill).
        line.balanceTotal = storedBalance(line.delivered, {consumed.at(i)});
        line.balance = line.balanceTotal.toDouble();
    }
}

// What a challan carries of an item: every line of it, billed or not.
Decimal carriedOfItem(const QList<ChallanLineBalance> &lines, int itemId)
{
    Decimal carried;
    for (const ChallanLineBalance &line : lines)
        if (line.itemId == itemId)
            carried = carried + Decimal::fromStored(line.delivered);
    return carried;
}

// What a challan carries of an item now, what is open of it, and what live
// invoices (but the one being rewritten) and "INVOICE" bins have taken of it.
struct ItemOnChallan
{
    StoredTotal open; // exactly, a challan stored beyond what Decimal holds too
    Decimal delivered;
    Decimal taken;
};

// "DC 1/26-27, item A-18: ...": the item by its code (its id when it has no
// row), and why less is open than the form showed: the challan carries less
// of the item than when the form read it (lowered or deleted meanwhile), or
// another invoice billed it. Without what the form read, a challan of which
// nothing was taken can only have been lowered.
QString overOpenBalanceText(const InvoiceLineWrite &line, const ItemOnChallan &now)
{
    QString item = QString::number(line.itemId);
    QSqlQuery code;
    if (execBound(code, QStringLiteral("SELECT item_code FROM items WHERE item_id = :id"), {{":id", line.itemId}})
        && code.next())
        item = code.value(0).toString();
    const QString dc = fullDocumentNumber(line.deliveryNo, line.deliveryFy);
    const bool lowered = line.shownCarried >= 0 ? now.delivered < Decimal::fromStored(line.shownCarried)
                                                : now.taken <= NoQuantity;
    QString why = QStringLiteral("Another invoice has billed it meanwhile.");
    if (now.delivered <= NoQuantity)
        why = QStringLiteral("DC %1 was changed or deleted meanwhile, perhaps in another window: it no longer "
                             "carries item %2.")
                  .arg(dc, item);
    else if (lowered)
        why = QStringLiteral("DC %1 was changed or deleted meanwhile, perhaps in another window: it now carries %2 "
                             "of item %3.")
                  .arg(dc, threeDecimalText(now.delivered), item);
    return QStringLiteral("DC %1, item %2: invoice qty cannot exceed uninvoiced balance (%3)!\n")
               .arg(dc, item, (now.open < StoredTotal() ? StoredTotal() : now.open).text(3))
           + why;
}

// Checks the lines with a quantity above 0 against what the database leaves
// open now (another form may have billed the same challans since this one was
// filled): the lines of one challan and item, in order, share what the
// challan has open of the item. Run inside the write's transaction.
bool checkOpenBalances(const QList<InvoiceLineWrite> &lines, const LeftOut &leftOut, InvoiceWriteOutcome *outcome,
                       QString *error)
{
    // Per challan and year: item -> what is open of it, with what it carries and what was taken.
    QMap<QPair<int, QString>, QMap<int, ItemOnChallan>> open;
    for (const InvoiceLineWrite &line : lines) {
        if (!(line.qty > 0))
            continue;
        const QPair<int, QString> challan(line.deliveryNo, line.deliveryFy);
        if (!open.contains(challan)) {
            QList<ChallanLineBalance> challanLines;
            TakenPerItem taken;
            if (!readChallan(line.deliveryNo, line.deliveryFy, leftOut, &challanLines, &taken, error))
                return false;
            QMap<int, ItemOnChallan> &items = open[challan];
            for (auto it = taken.cbegin(); it != taken.cend(); ++it)
                items[it.key()].taken = it.value();
            fillLineByLine(&challanLines, taken, {});
            for (const ChallanLineBalance &l : challanLines) {
                ItemOnChallan &item = items[l.itemId];
                item.open += l.balanceTotal;
            }
            for (auto item = items.begin(); item != items.end(); ++item)
                item->delivered = carriedOfItem(challanLines, item.key());
        }
        ItemOnChallan &item = open[challan][line.itemId];
        const Decimal qty = Decimal::fromStored(line.qty);
        StoredTotal billed;
        billed += qty;
        StoredTotal room = item.open;
        room += QtyTolerance;
        if (billed > room) {
            outcome->overBalance = true;
            *error = overOpenBalanceText(line, item);
            return false;
        }
        item.open += -qty;
    }
    return true;
}

bool insertLines(int invoiceId, const QList<InvoiceLineWrite> &lines, InvoiceWriteOutcome *outcome, int *written)
{
    QSqlQuery insert;
    for (int i = 0; i < lines.size(); ++i) {
        const InvoiceLineWrite &line = lines.at(i);
        if (!(line.qty > 0))
            continue;
        if (!execBound(insert, InsertLine,
                       {{":iid", invoiceId},
                        {":dno", line.deliveryNo},
                        {":item", line.itemId},
                        {":qty", line.qty},
                        {":rate", line.rate},
                        {":amt", line.amount.toDouble()},
                        {":tax", line.taxPercent},
                        {":fy", line.deliveryFy}},
                       &outcome->error)) {
            outcome->failedRow = i + 1;
            return false;
        }
        qDebug() << "Invoice line" << i + 1 << "challan" << line.deliveryNo << line.deliveryFy << "item" << line.itemId
                 << "qty" << line.qty << "rate" << line.rate << "amount" << line.amount.text();
        ++*written;
    }
    return true;
}

// Inserts the head row and its lines; the caller runs it in a transaction.
bool insertInvoice(const InvoiceWrite &invoice, InvoiceWriteOutcome *outcome, QString *error)
{
    QSqlQuery head;
    if (!execBound(head, InsertInvoice,
                   {{":no", invoice.number},
                    {":nofull", fullDocumentNumber(invoice.number, invoice.fy)},
                    {":date", invoice.date},
                    {":cid", invoice.customerId},
                    {":sub", invoice.subTotal.toDouble()},
                    {":cgst", invoice.cgst.toDouble()},
                    {":sgst", invoice.sgst.toDouble()},
                    {":igst", invoice.igst.toDouble()},
                    {":net", invoice.grandTotal.toDouble()},
                    {":rem", invoice.remarks},
                    {":fy", invoice.fy},
                    {":isabstract", invoice.isAbstract ? 1 : 0},
                    {":abscontent", invoice.abstractContent}},
                   error))
        return false;
    const int invoiceId = head.lastInsertId().toInt();
    if (invoiceId < 1) {
        outcome->noInvoiceId = true;
        *error = QStringLiteral("Failed to retrieve Invoice ID.");
        return false;
    }
    int written = 0;
    if (!insertLines(invoiceId, invoice.lines, outcome, &written)) {
        *error = outcome->error;
        return false;
    }
    qDebug() << "Invoice" << invoice.number << invoice.fy << "lines written:" << written;
    if (written == 0) {
        outcome->result = WriteResult::NothingToWrite;
        error->clear();
        return false;
    }
    return true;
}

InvoiceWriteOutcome finish(bool committed, InvoiceWriteOutcome outcome, const QString &error)
{
    if (committed) {
        outcome.result = WriteResult::Written;
        outcome.error.clear();
    } else if (outcome.result != WriteResult::NothingToWrite) {
        outcome.result = WriteResult::Failed;
        outcome.error = error;
    }
    return outcome;
}

} // namespace

bool readInvoiceCustomer(int customerId, InvoiceCustomer *customer)
{
    QSqlQuery q;
    if (!execBound(q,
                   QStringLiteral("SELECT customer_name, address_line1, address_line2, gst_no, phone, email, "
                                  "customer_type, vendor_id FROM customers WHERE customer_id = :id"),
                   {{":id", customerId}})
        || !q.next())
        return false;
    customer->name = q.value(0).toString();
    customer->address1 = q.value(1).toString();
    customer->address2 = q.value(2).toString();
    customer->gstNo = q.value(3).toString();
    customer->phone = q.value(4).toString();
    customer->email = q.value(5).toString();
    customer->type = q.value(6).toString();
    customer->vendorId = q.value(7).toString();
    return true;
}

bool isIgstCustomer(const QString &customerType)
{
    return customerType == QLatin1String("IGST Customer");
}

int nextInvoiceNumber(const QString &fy)
{
    return lowestFreeNumber(
        QStringLiteral("SELECT invoice_no FROM invoices WHERE fy_name = :fy GROUP BY invoice_no ORDER BY invoice_no ASC"),
        fy);
}

bool balanceIsBillable(double balance)
{
    static const Decimal billable(1, 4);
    return Decimal::fromStored(balance) > billable;
}

bool challanLineBalances(int deliveryNo, const QString &fy, QList<ChallanLineBalance> *lines, QString *error)
{
    TakenPerItem taken;
    if (!readChallan(deliveryNo, fy, LeftOut(), lines, &taken, error))
        return false;
    fillLineByLine(lines, taken, {});
    return true;
}

void appendPoNumber(QString &collected, const QString &poNo)
{
    const QString po = poNo.trimmed();
    if (po.isEmpty() || collected.contains(po))
        return;
    if (!collected.isEmpty())
        collected += QStringLiteral(", ");
    collected += po;
}

BillableLines billableChallanLines(const QList<int> &deliveryNos, const QString &fy)
{
    BillableLines result;
    for (int deliveryNo : deliveryNos) {
        QList<ChallanLineBalance> lines;
        QString error;
        if (!challanLineBalances(deliveryNo, fy, &lines, &error)) {
            qDebug() << "Challan lines of" << deliveryNo << fy << "failed:" << error;
            continue;
        }
        for (const ChallanLineBalance &line : lines) {
            if (!line.hasItem || !balanceIsBillable(line.balance))
                continue;
            appendPoNumber(result.poNumbers, line.poNo);
            InvoiceFormLine row;
            row.deliveryNo = deliveryNo;
            row.deliveryFy = fy;
            row.deliveryNoFull = line.deliveryNoFull;
            row.deliveryDate = line.deliveryDate;
            row.itemId = line.itemId;
            row.itemCode = line.itemCode;
            row.itemName = line.itemName;
            row.sacCode = line.sacCode;
            row.uom = line.uom;
            row.qty = line.balance;
            row.rate = line.rate;
            row.amount = billableLineAmount(line.balance, line.rate);
            row.taxPercent = line.taxPercent;
            row.balance = line.balance;
            row.balanceTotal = line.balanceTotal;
            row.challanCarried = carriedOfItem(lines, line.itemId).toDouble();
            result.lines.append(row);
        }
    }
    return result;
}

Money billableLineAmount(double qty, double rate)
{
    return Money::product(threeDecimalValue(qty), threeDecimalValue(rate));
}

int invoiceLineTooLarge(const QList<TaxedAmount> &lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (!withinBound(lines.at(i).amount))
            return i;
    }
    return -1;
}

QString invoiceFiguresRefusal(const QList<TaxedAmount> &lines, bool igstCustomer)
{
    if (const int row = invoiceLineTooLarge(lines); row >= 0)
        return figureTooLargeText(QStringLiteral("Amount of row %1").arg(row + 1), FigureKind::Money);
    const GstHeads heads = gstHeads(lines, igstCustomer);
    const std::pair<Money, const char *> figures[] = {
        {heads.taxable, "Total Amount"},
        {heads.cgst, "CGST"},
        {heads.sgst, "SGST"},
        {heads.igst, "IGST"},
        {heads.taxable + heads.tax(), "Net Total"},
        {(heads.taxable + heads.tax()).roundedToWholeRupees(), "Net Total"}};
    for (const auto &[figure, name] : figures) {
        if (!withinBound(figure))
            return figureTooLargeText(QLatin1String(name), FigureKind::Money);
    }
    return QString();
}

InvoiceTotals computeInvoiceTotals(const QList<TaxedAmount> &rows, bool igstCustomer)
{
    const GstHeads heads = gstHeads(rows, igstCustomer);
    InvoiceTotals totals;
    totals.taxable = heads.taxable;
    totals.cgst = heads.cgst;
    totals.sgst = heads.sgst;
    totals.igst = heads.igst;
    totals.net = heads.net();
    totals.words = numberToWords(double(totals.net));
    totals.taxDetails = taxDetailsText(heads, igstCustomer);
    return totals;
}

QtyEdit checkInvoiceQty(const QString &typed, double balance)
{
    const TypedNumber n = readTypedNumber(typed);
    QtyEdit edit;
    if (n.isEmpty())
        return edit;
    if (n.isNotANumber() || n.value < 0) {
        edit.check = QtyCheck::Refused;
        return edit;
    }
    // Compared exactly; a number beyond the quantity bound is above any
    // balance.
    const std::optional<Decimal> qty = boundedFigure(typed, FigureKind::Quantity);
    if (!qty || *qty > Decimal::fromStored(balance)) {
        edit.check = QtyCheck::Exceeds;
        edit.qty = balance;
        return edit;
    }
    edit.qty = n.value;
    return edit;
}

QString qtyExceedsText(double balance)
{
    return qtyExceedsText(threeDecimalText(balance));
}

QString qtyExceedsText(const QString &shownBalance)
{
    return QStringLiteral("Invoice qty cannot exceed uninvoiced balance (") + shownBalance + QStringLiteral(")!");
}

QString invoiceQtyRefusal(const QStringList &qtyTexts)
{
    for (int i = 0; i < qtyTexts.size(); ++i) {
        if (typedNumberTooLarge(qtyTexts.at(i), FigureKind::Quantity))
            return figureTooLargeText(QStringLiteral("Qty of row %1").arg(i + 1), FigureKind::Quantity);
    }
    return QString();
}

QString challanBalanceText(double balance, const StoredTotal &exact)
{
    if (storedValueOutsized(balance) && exact.isValid())
        return exact.text(3);
    return threeDecimalText(balance);
}

QString InvoiceFormLine::balanceText() const
{
    return challanBalanceText(balance, balanceTotal);
}

QString InvoiceFormLine::qtyText() const
{
    return qty == balance ? balanceText() : threeDecimalText(qty);
}

QString qtyRefusedText()
{
    return QStringLiteral("Invoice qty must be a number of 0 or more!");
}

int invoiceNumberFromText(const QString &text)
{
    bool ok = false;
    const qlonglong number = text.trimmed().section(QLatin1Char('/'), 0, 0).toLongLong(&ok, 10);
    if (!ok || number <= 0 || number > std::numeric_limits<int>::max())
        return 0;
    return int(number);
}

bool invoiceNumberUsed(int number, const QString &fy, bool *used, QString *error)
{
    QSqlQuery q;
    if (!execBound(q, QStringLiteral("SELECT invoice_id FROM invoices WHERE invoice_no = :no AND fy_name = :fy"),
                   {{":no", number}, {":fy", fy}}, error))
        return false;
    *used = q.next();
    return true;
}

InvoiceWriteOutcome saveInvoice(const InvoiceWrite &invoice)
{
    InvoiceWriteOutcome outcome;
    qDebug() << "Saving invoice" << invoice.number << "of" << invoice.fy << "in"
             << QSqlDatabase::database().databaseName();
    QString error;
    const bool committed =
        runInTransaction([&](QString *e) {
            bool used = false;
            if (!invoiceNumberUsed(invoice.number, invoice.fy, &used, e))
                return false;
            if (used) {
                outcome.numberUsed = true;
                *e = QStringLiteral("Invoice No already exists!");
                return false;
            }
            return checkOpenBalances(invoice.lines, LeftOut(), &outcome, e) && insertInvoice(invoice, &outcome, e);
        }, &error);
    qDebug() << "Invoice save committed:" << committed;
    return finish(committed, outcome, error);
}

InvoiceWriteOutcome replaceInvoice(const InvoiceWrite &invoice, const InvoiceAsRead &read)
{
    InvoiceWriteOutcome outcome;
    const RowWrite written = writeLoadedRows(
        invoiceAsLoaded(read, fullDocumentNumber(invoice.number, invoice.fy), QStringLiteral("Nothing was saved.")),
        [&](QString *e) {
            // The row compared, and no other stored under its number.
            return checkOpenBalances(invoice.lines, {read.invoiceId}, &outcome, e)
                   && deleteInvoiceRows(read.invoiceId, e) && insertInvoice(invoice, &outcome, e);
        });
    outcome.stale = written.result == ListedWrite::Stale;
    return finish(written.ok(), outcome, written.error);
}

QString invoiceMiniListStatement(int customerId, const QString &from, const QString &to, const QString &currentFy,
                                 QVariantMap *values)
{
    *values = {{":fy", currentFy}};
    return QStringLiteral("SELECT v.invoice_no, v.invoice_no_full, v.invoice_date, c.customer_name, "
                          "v.grand_total, v.is_deleted, v.fy_name FROM invoices v "
                          "JOIN customers c ON v.customer_id = c.customer_id WHERE 1=1 ")
           + customerPeriodConditions({customerId, from, to}, QStringLiteral("v"), QStringLiteral("invoice_date"),
                                      values)
           + QStringLiteral("ORDER BY ") + fyFirstOrder(QStringLiteral("v")) + QStringLiteral(", v.invoice_no DESC");
}

bool queryInvoiceMiniList(int customerId, const QString &from, const QString &to, const QString &currentFy,
                          QList<MiniListRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = invoiceMiniListStatement(customerId, from, to, currentFy, &values);
    return forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            MiniListRow row;
            row.invoiceNo = q.integer(0);
            row.fullNumber = q.text(1);
            row.date = q.text(2);
            row.customerName = q.text(3);
            row.grandTotal = q.real(4);
            row.cancelled = q.integer(5) == 1;
            row.fy = q.text(6);
            rows->append(row);
        },
        error);
}

LoadResult loadInvoice(int number, const QString &fy, LoadedInvoice *invoice, QString *error)
{
    // The values shown come from the same rows as the digests kept.
    const QStringList &columns = InvoiceRowSource.columns;
    const auto column = [&columns](const char *name) { return columnAt(columns, name); };
    const int fullNumber = column("invoice_no_full"), date = column("invoice_date"),
              customer = column("customer_id"), remarks = column("remarks"), deleted = column("is_deleted"),
              isAbstract = column("is_abstract"), content = column("abstract_content"), id = column("invoice_id");
    *invoice = LoadedInvoice();
    bool found = false;
    if (!forEachRow(QStringLiteral("SELECT ") + InvoiceRowSource.columnList(QStringLiteral("v"))
                        + QStringLiteral(" FROM invoices v WHERE v.invoice_no = :invno AND v.fy_name = :fy LIMIT 1"),
                    {{":invno", number}, {":fy", fy}},
                    [&](const StatementRow &row) {
                        found = true;
                        invoice->read.invoiceId = row.integer(id);
                        invoice->read.row = StoredRow::of(row, 0, int(columns.size()));
                        invoice->fullNumber = row.text(fullNumber);
                        invoice->date = row.text(date);
                        invoice->customerId = row.integer(customer);
                        invoice->remarks = row.text(remarks);
                        invoice->cancelled = row.integer(deleted) == 1;
                        invoice->isAbstract = row.integer(isAbstract) == 1;
                        invoice->abstractContent = row.text(content);
                    },
                    error)) {
        qDebug() << "Head query failed:" << *error;
        return LoadResult::Failed;
    }
    if (!found) {
        qDebug() << "No invoice found for no:" << number;
        return LoadResult::NotFound;
    }
    if (invoice->cancelled)
        return LoadResult::Loaded;

    const QVariantMap key{{":key", invoice->read.invoiceId}};
    const int paymentColumns = int(InvoicePaymentRowSource.columns.size());
    if (!forEachRow(
            InvoiceRowSource.dependentsSql, key,
            [&](const StatementRow &row) { invoice->read.row.addDependent(row, 0, paymentColumns); }, error)) {
        qDebug() << "Invoice payments query failed:" << *error;
        return LoadResult::Failed;
    }

    const int lineColumns = int(InvoiceLineColumns.size());
    const auto lineColumn = [](const char *name) { return columnAt(InvoiceLineColumns, name); };
    const int item = lineColumn("item_id"), delivery = lineColumn("delivery_no"), qty = lineColumn("invoiced_qty"),
              rate = lineColumn("rate"), tax = lineColumn("tax_percent"), amount = lineColumn("amount"),
              lineFy = lineColumn("fy_name");
    if (!forEachRow(invoiceLinesStatement(QStringLiteral(", i.item_code, i.item_name, i.uom")),
                    {{":id", invoice->read.invoiceId}},
                    [&](const StatementRow &row) {
                        invoice->read.lines.addDependent(row, 0, lineColumns);
                        InvoiceFormLine line;
                        line.itemId = row.integer(item);
                        line.deliveryNo = row.integer(delivery);
                        line.qty = row.real(qty);
                        line.rate = row.real(rate);
                        line.taxPercent = row.real(tax);
                        line.amount = Money::fromStored(row.real(amount));
                        line.deliveryFy = row.text(lineFy);
                        if (line.deliveryFy.isEmpty())
                            line.deliveryFy = fy;
                        line.itemCode = row.text(lineColumns);
                        line.itemName = row.text(lineColumns + 1);
                        line.uom = row.text(lineColumns + 2);
                        invoice->lines.append(line);
                    },
                    error)) {
        qDebug() << "Items query failed:" << *error;
        return LoadResult::Failed;
    }

    // Each loaded line is laid on a line of its challan with its item: the
    // first one not taken yet that can hold its quantity, else the first one
    // not taken. What other live invoices and bins took fills the challan's
    // lines around the loaded quantities, line by line; a loaded line may
    // bill what is left of its own challan line.
    QMap<QPair<int, QString>, QList<int>> perChallan;
    for (int j = 0; j < invoice->lines.size(); ++j)
        perChallan[qMakePair(invoice->lines.at(j).deliveryNo, invoice->lines.at(j).deliveryFy)].append(j);
    for (auto it = perChallan.cbegin(); it != perChallan.cend(); ++it) {
        QList<ChallanLineBalance> challanLines;
        TakenPerItem taken;
        if (!readChallan(it.key().first, it.key().second, {invoice->read.invoiceId}, &challanLines, &taken, error)) {
            qDebug() << "Challan of invoice line failed:" << *error;
            return LoadResult::Failed;
        }
        QList<double> kept(challanLines.size(), 0.0);
        QList<bool> laid(challanLines.size(), false);
        QMap<int, int> laidOn; // invoice line -> challan line
        for (int j : it.value()) {
            InvoiceFormLine &line = invoice->lines[j];
            int firstOfItem = -1;
            int firstFree = -1;
            int fits = -1;
            for (int i = 0; i < challanLines.size() && fits < 0; ++i) {
                if (challanLines.at(i).itemId != line.itemId)
                    continue;
                if (firstOfItem < 0)
                    firstOfItem = i;
                if (laid.at(i))
                    continue;
                if (firstFree < 0)
                    firstFree = i;
                if (Decimal::fromStored(challanLines.at(i).delivered) + QtyTolerance >= Decimal::fromStored(line.qty))
                    fits = i;
            }
            const int on = fits >= 0 ? fits : firstFree;
            if (on >= 0) {
                laid[on] = true;
                kept[on] = qBound(0.0, line.qty, challanLines.at(on).delivered);
                laidOn.insert(j, on);
            }
            const int named = on >= 0 ? on : firstOfItem;
            if (named >= 0) {
                line.deliveryNoFull = challanLines.at(named).deliveryNoFull;
                line.deliveryDate = challanLines.at(named).deliveryDate;
                line.sacCode = challanLines.at(named).sacCode;
            }
        }
        fillLineByLine(&challanLines, taken, kept);
        // A line with no challan line of its own left has nothing more to bill.
        for (int j : it.value()) {
            InvoiceFormLine &line = invoice->lines[j];
            line.balance = laidOn.contains(j) ? challanLines.at(laidOn.value(j)).balance : 0;
            line.balanceTotal = laidOn.contains(j) ? challanLines.at(laidOn.value(j)).balanceTotal : StoredTotal();
            line.challanCarried = carriedOfItem(challanLines, line.itemId).toDouble();
        }
    }
    return LoadResult::Loaded;
}
