#include "challanstore.h"

#include "core/boundquery.h"
#include "core/readconnection.h"
#include "core/financialyear.h"
#include "core/listfilter.h"
#include "core/listedrow.h"
#include "core/storedsum.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>

namespace {

const char *const InsertLine =
    "INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, "
    "item_id, delivery_qty, sac_code, remarks, fy_name, is_deleted) "
    "VALUES (:no, :no_full, :date, :inward, :cid, :iid, :qty, :sac, :remarks, :fy, 0)";

const char *const DeleteLines = "DELETE FROM delivery_entries WHERE delivery_no = :no AND fy_name = :fy";

// Every stored column of a challan line, in the table's order.
const RowSource ChallanLineRow{QStringLiteral("delivery_entries"),
                               QStringLiteral("delivery_id"),
                               {QStringLiteral("delivery_id"), QStringLiteral("delivery_no"),
                                QStringLiteral("delivery_no_full"), QStringLiteral("delivery_date"),
                                QStringLiteral("inward_no"), QStringLiteral("customer_id"), QStringLiteral("item_id"),
                                QStringLiteral("dc_no"), QStringLiteral("delivery_qty"), QStringLiteral("remarks"),
                                QStringLiteral("fy_name"), QStringLiteral("is_deleted"), QStringLiteral("sac_code")},
                               QString()};

// The challan's lines, every column, by delivery_id: what a loaded challan
// expects to find when it is updated or deleted.
QString challanLines()
{
    return QStringLiteral("SELECT ") + ChallanLineRow.columnList()
           + QStringLiteral(" FROM delivery_entries WHERE delivery_no = :no AND fy_name = :fy ORDER BY delivery_id");
}

// The challan's lines as they were loaded.
LoadedRow challanAsLoaded(int number, const QString &fy, const StoredRow &asLoaded)
{
    return LoadedRow(challanLines(), {{":no", number}, {":fy", fy}}, asLoaded,
                     QStringLiteral("DC ") + fullDocumentNumber(number, fy));
}

// The received, delivered and binned quantities of the inward line whose
// number, item and year the three SQL expressions give, as three STORED_LIST
// columns (read by lineStateAt): every list, form and re-read of a balance
// works it out with this same text. Delivered leaves out the lines of the
// challan numbered `exceptNumber` (an SQL expression; empty: none).
QString lineStateColumns(const QString &no, const QString &item, const QString &fy, const QString &exceptNumber)
{
    const auto sameLine = [&](const QString &alias) {
        return QString("%1.inward_no = %2 AND %1.item_id = %3 AND %1.fy_name = %4").arg(alias, no, item, fy);
    };
    QString delivered = QStringLiteral("(SELECT " STORED_LIST("ls_d.delivery_qty") " FROM delivery_entries ls_d WHERE ")
                        + sameLine(QStringLiteral("ls_d"))
                        + QStringLiteral(" AND (ls_d.is_deleted IS NULL OR ls_d.is_deleted = 0)");
    if (!exceptNumber.isEmpty())
        delivered += QStringLiteral(" AND ls_d.delivery_no != ") + exceptNumber;
    return QStringLiteral("(SELECT " STORED_LIST("ls_e.inward_qty") " FROM inward_entries ls_e WHERE ")
           + sameLine(QStringLiteral("ls_e")) + QStringLiteral(" AND (ls_e.is_deleted IS NULL OR ls_e.is_deleted = 0)), ")
           + delivered + QStringLiteral("), (SELECT " STORED_LIST("ls_b.binned_qty") " FROM bins ls_b WHERE ")
           + sameLine(QStringLiteral("ls_b")) + QStringLiteral(" AND ls_b.bin_type = 'DC')");
}

// The state lineStateColumns gives, from its first column on.
InwardLineState lineStateAt(const StatementRow &row, int first)
{
    InwardLineState state;
    state.live = !row.value(first).isNull();
    state.received = fromStoredList(row.value(first));
    state.delivered = fromStoredList(row.value(first + 1));
    state.binned = fromStoredList(row.value(first + 2));
    return state;
}

// A column of the inward line a challan line (alias d) delivers from: the
// inward entry of the same number, item and year.
QString inwardColumn(const QString &column)
{
    return QString("(SELECT e.%1 FROM inward_entries e WHERE e.inward_no = d.inward_no "
                   "AND e.item_id = d.item_id AND e.fy_name = d.fy_name)")
        .arg(column);
}

// A floating-point difference of stored quantities that should be zero.
const Decimal Residue(1, 9);

// Lines with a quantity of 0 or less (or none) are not written.
bool writesLine(const ChallanLineWrite &line)
{
    return line.qty > 0 && std::isfinite(line.qty);
}

// Inserts the lines with a quantity above 0; counts them in `written`.
bool insertLines(const ChallanWrite &challan, int *written, QString *error)
{
    *written = 0;
    QSqlQuery q;
    q.prepare(InsertLine);
    for (const ChallanLineWrite &line : challan.lines) {
        if (!writesLine(line))
            continue;
        q.bindValue(":no", challan.number);
        q.bindValue(":no_full", fullDocumentNumber(challan.number, challan.fy));
        q.bindValue(":date", challan.date);
        q.bindValue(":inward", line.inwardNo);
        q.bindValue(":cid", challan.customerId);
        q.bindValue(":iid", line.itemId);
        q.bindValue(":qty", line.qty);
        q.bindValue(":sac", challan.sacCode);
        q.bindValue(":remarks", challan.remarks);
        q.bindValue(":fy", challan.fy);
        if (!q.exec()) {
            *error = q.lastError().text();
            return false;
        }
        ++*written;
    }
    return true;
}

// "Inward No 2/26-27, AX-102: ..." for a line whose inward line is no longer
// as the form showed it.
QString lineChangedText(int inwardNo, const QString &fy, const QString &itemCode, const InwardLineState &shown,
                        const InwardLineState &now)
{
    const QString balanceNow = now.live ? threeDecimalText(now.balance()) + QStringLiteral(" now")
                                        : QStringLiteral("no live inward line now");
    return QStringLiteral("Inward No %1, %2: the form showed a balance of %3; it is %4. The line was issued, "
                          "binned, changed or cancelled meanwhile, perhaps in another window.")
        .arg(fullDocumentNumber(inwardNo, fy), itemCode, threeDecimalText(shown.balance()), balanceNow);
}

// What the lines of a challan may deliver beyond an inward line's balance:
// half of the last of the three decimals a quantity is shown with (a balance
// of 0.7735 is proposed as 0.774).
const Decimal QtyTolerance(5, 4);

// "Inward No 1/26-27, AX-101: ..." for an inward line that the challan's
// lines, added up, would issue beyond its balance.
QString beyondBalanceText(int inwardNo, const QString &fy, const QString &itemCode, int lines, const Decimal &qty,
                          const InwardLineState &now)
{
    const QString written = lines > 1 ? QStringLiteral("the %1 lines of this DC that draw on it deliver %2 together")
                                            .arg(lines)
                                            .arg(threeDecimalText(qty))
                                      : QStringLiteral("this DC delivers %1 of it").arg(threeDecimalText(qty));
    return QStringLiteral("Inward No %1, %2: %3, but only %4 is left to deliver (received %5, delivered %6, "
                          "binned %7).")
        .arg(fullDocumentNumber(inwardNo, fy), itemCode, written, threeDecimalText(qMax(Decimal(), now.balance())),
             threeDecimalText(now.received), threeDecimalText(now.delivered), threeDecimalText(now.binned));
}

// Reads again, inside the write transaction, the inward line of every line
// that is written and names each one no longer as the form showed it
// (`refusals`). Then adds up, per inward line (number, item and year: all
// stored rows of one item in one entry are one line, as every balance counts
// them), every line of the challan that draws on it, and names each inward
// line the total would take beyond its balance (`beyond`). When `replacing`
// the challan's own stored lines are left out of what was delivered, as when
// it was loaded.
bool checkShownLines(const ChallanWrite &challan, bool replacing, QStringList *refusals, QStringList *beyond,
                     QString *error)
{
    const QString sql = QStringLiteral("SELECT i.item_code, ")
                        + lineStateColumns(QStringLiteral(":no"), QStringLiteral(":iid"), QStringLiteral(":fy"),
                                           replacing ? QStringLiteral(":except") : QString())
                        + QStringLiteral(" FROM (SELECT 1) one LEFT JOIN items i ON i.item_id = :iid");
    struct Drawn
    {
        QString itemCode;
        InwardLineState now;
        Decimal qty;
        int lines = 0;
    };
    QList<QPair<int, int>> order; // inward number, item: in the order of the challan's lines
    QHash<QPair<int, int>, Drawn> drawn;
    for (const ChallanLineWrite &line : challan.lines) {
        if (!writesLine(line))
            continue;
        const QPair<int, int> key(line.inwardNo, line.itemId);
        if (!drawn.contains(key)) {
            Drawn read;
            if (!forEachRow(sql,
                            {{":no", line.inwardNo}, {":iid", line.itemId}, {":fy", challan.fy},
                             {":except", challan.number}},
                            [&](const StatementRow &q) {
                                read.itemCode = q.text(0);
                                read.now = lineStateAt(q, 1);
                            },
                            error))
                return false;
            drawn.insert(key, read);
            order.append(key);
        }
        Drawn &d = drawn[key];
        if (line.shown != d.now)
            refusals->append(lineChangedText(line.inwardNo, challan.fy, d.itemCode, line.shown, d.now));
        d.qty = d.qty + Decimal::fromStored(line.qty);
        ++d.lines;
    }
    for (const QPair<int, int> &key : order) {
        const Drawn &d = drawn.value(key);
        if (d.qty > d.now.balance() + QtyTolerance)
            beyond->append(beyondBalanceText(key.first, challan.fy, d.itemCode, d.lines, d.qty, d.now));
    }
    return true;
}

// Names each item whose live invoices changed since the challan was loaded.
QStringList billingChangedText(const ChallanWrite &challan, const ChallanBilling &loaded, const ChallanBilling &now)
{
    const QString dc = QStringLiteral("DC ") + fullDocumentNumber(challan.number, challan.fy);
    QList<int> items = loaded.keys();
    for (int item : now.keys())
        if (!items.contains(item))
            items.append(item);
    QStringList refusals;
    for (int item : items) {
        const ChallanBilled then = loaded.value(item);
        const ChallanBilled billed = now.value(item);
        if (then == billed)
            continue;
        refusals << QStringLiteral("%1, %2: invoices billed %3 of it when it was loaded and bill %4 now%5; it was "
                                   "invoiced or an invoice cancelled meanwhile, perhaps in another window.")
                        .arg(dc, billed.itemCode.isEmpty() ? then.itemCode : billed.itemCode,
                             threeDecimalText(then.qty), threeDecimalText(billed.qty),
                             billed.invoices.isEmpty()
                                 ? QString()
                                 : QStringLiteral(" (invoice ") + billed.invoices.join(", ") + QLatin1Char(')'));
    }
    return refusals;
}

// Names each item whose new lines carry less than its invoices bill.
QStringList belowBilledText(const ChallanWrite &challan, const ChallanBilling &billing)
{
    QStringList refusals;
    for (auto it = billing.cbegin(); it != billing.cend(); ++it) {
        Decimal carried;
        for (const ChallanLineWrite &line : challan.lines)
            if (line.itemId == it.key() && writesLine(line))
                carried = carried + Decimal::fromStored(line.qty);
        if (carried < it->qty)
            refusals << QStringLiteral("DC %1, %2: invoice %3 bills %4 of it; the DC cannot carry less. Type at "
                                       "least %4, or cancel the invoice first.")
                            .arg(fullDocumentNumber(challan.number, challan.fy), it->itemCode,
                                 it->invoices.join(", "), threeDecimalText(it->qty));
    }
    return refusals;
}

// Runs `work` through the write step, with the challan's lines as loaded in
// `rows` (none for a new challan): commits when it wrote lines, else rolls
// back. Lines refused are named alone, not what they would issue beyond a
// balance.
template<class Work>
WriteOutcome writeChallan(const QList<LoadedRow> &rows, WriteOutcome *outcome, Work work)
{
    int written = 0;
    bool nothingWritten = false;
    const RowWrite write = writeLoadedRows(rows, [&](QString *error) {
        if (!work(&written, error))
            return false;
        nothingWritten = written == 0;
        return !nothingWritten;
    });
    outcome->result = write.ok() ? WriteResult::Written
                      : nothingWritten ? WriteResult::NothingToWrite
                                       : WriteResult::Failed;
    outcome->changed = write.result == ListedWrite::Stale;
    if (write.result == ListedWrite::Failed)
        outcome->error = write.error;
    if (!outcome->refusals.isEmpty())
        outcome->beyondBalance.clear();
    return *outcome;
}

} // namespace

void appendRemark(QString &collected, const QString &remark)
{
    const QString text = remark.trimmed();
    if (text.isEmpty() || collected.contains(text))
        return;
    if (!collected.isEmpty())
        collected += " | ";
    collected += text;
}

PendingInward loadPendingInwardLines(const QList<int> &inwardNos, int customerId, const QString &fy)
{
    PendingInward pending;
    const QString sql = QStringLiteral("SELECT e.item_id, i.item_code, i.item_name, i.uom, e.dc_no, e.dc_date, e.po_no, "
                                       "e.remarks, ")
                        + lineStateColumns(QStringLiteral("e.inward_no"), QStringLiteral("e.item_id"),
                                           QStringLiteral("e.fy_name"), QString())
                        + QStringLiteral(" FROM inward_entries e LEFT JOIN items i ON e.item_id = i.item_id "
                                         "WHERE e.inward_no = :no AND e.fy_name = :fy AND e.customer_id = :cid "
                                         "AND (e.is_deleted IS NULL OR e.is_deleted = 0) ORDER BY e.inward_id");
    // Two stored rows of one item in one entry are one inward line: its
    // balance counts both, so it is offered once.
    QSet<QPair<int, int>> offered;
    for (int inwardNo : inwardNos) {
        bool found = false;
        bool open = false;
        const bool read = forEachRow(sql, {{":no", inwardNo}, {":fy", fy}, {":cid", customerId}},
                                     [&](const StatementRow &q) {
            found = true;
            if (offered.contains({inwardNo, q.integer(0)})) {
                open = true; // offered already, with what is left of it
                return;
            }
            ChallanLine line;
            line.state = lineStateAt(q, 8);
            // Exactly: an inward 3.0005 less 1 sent back is 2.0005, not 2.0004999999999997.
            const Decimal exact = line.state.balance();
            if (exact <= Residue)
                return;
            open = true;
            offered.insert({inwardNo, q.integer(0)});
            line.itemId = q.integer(0);
            line.inwardNo = inwardNo;
            line.itemCode = q.text(1);
            line.itemName = q.text(2);
            line.uom = q.text(3);
            line.dcNo = q.text(4);
            line.dcDate = q.text(5);
            line.poNo = q.text(6);
            line.remarks = q.text(7);
            line.qty = exact.toDouble();
            pending.lines.append(line);
            appendRemark(pending.remarks, line.remarks);
        }, &pending.error);
        if (!read)
            return pending;
        if (!found)
            pending.notFound.append(inwardNo);
        else if (!open)
            pending.nothingLeft.append(inwardNo);
    }
    return pending;
}

int nextChallanNumber(const QString &fy)
{
    return lowestFreeNumber(
        "SELECT delivery_no FROM delivery_entries WHERE fy_name = :fy GROUP BY delivery_no ORDER BY delivery_no ASC",
        fy);
}

int challanNumberFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const int number = trimmed.left(trimmed.indexOf('/')).trimmed().toInt(&ok, 10);
    return ok ? number : 0;
}

bool challanExists(int number, const QString &fy, QString *error)
{
    QSqlQuery q;
    q.prepare("SELECT delivery_id FROM delivery_entries WHERE delivery_no = :no AND fy_name = :fy");
    q.bindValue(":no", number);
    q.bindValue(":fy", fy);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    return q.next();
}

WriteOutcome saveChallan(const ChallanWrite &challan)
{
    WriteOutcome outcome;
    return writeChallan({}, &outcome, [&](int *written, QString *error) {
        const bool exists = challanExists(challan.number, challan.fy, error);
        if (!error->isEmpty())
            return false;
        if (exists) {
            outcome.numberUsed = true;
            return false;
        }
        return checkShownLines(challan, false, &outcome.refusals, &outcome.beyondBalance, error)
               && outcome.refusals.isEmpty() && outcome.beyondBalance.isEmpty()
               && insertLines(challan, written, error);
    });
}

StoredRow challanStoredLines(int number, const QString &fy)
{
    StoredRow lines;
    readStoredLines(challanLines(), {{":no", number}, {":fy", fy}}, &lines);
    return lines;
}

QString challanChangedText(const QString &fullNumber, const QString &nothingDone)
{
    return rowChangedText(QStringLiteral("DC ") + fullNumber, QString(), nothingDone);
}

bool readChallanBilling(int number, const QString &fy, ChallanBilling *billing, QString *error)
{
    ChallanBilling read;
    const bool ok = forEachRow(
        QStringLiteral("SELECT it.item_id, MAX(i.item_code), " STORED_LIST("it.invoiced_qty") ", "
                       "GROUP_CONCAT(DISTINCT v.invoice_no_full) FROM invoice_items it "
                       "JOIN invoices v ON it.invoice_id = v.invoice_id LEFT JOIN items i ON it.item_id = i.item_id "
                       "WHERE it.delivery_no = :no AND it.fy_name = :fy AND (v.is_deleted IS NULL OR v.is_deleted = 0) "
                       "GROUP BY it.item_id"),
        {{":no", number}, {":fy", fy}},
        [&](const StatementRow &q) {
            ChallanBilled &billed = read[q.integer(0)];
            billed.itemCode = q.text(1);
            billed.qty = fromStoredList(q.value(2));
            billed.invoices = q.text(3).split(QLatin1Char(','), Qt::SkipEmptyParts);
            billed.invoices.sort();
        },
        error);
    if (ok)
        *billing = read;
    return ok;
}

WriteOutcome replaceChallan(const ChallanWrite &challan, const StoredRow &loadedRows,
                            const ChallanBilling &loadedBilling)
{
    WriteOutcome outcome;
    return writeChallan({challanAsLoaded(challan.number, challan.fy, loadedRows)}, &outcome,
                        [&](int *written, QString *error) {
        ChallanBilling billing;
        if (!readChallanBilling(challan.number, challan.fy, &billing, error)
            || !checkShownLines(challan, true, &outcome.refusals, &outcome.beyondBalance, error))
            return false;
        outcome.refusals << billingChangedText(challan, loadedBilling, billing);
        if (!outcome.refusals.isEmpty() || !outcome.beyondBalance.isEmpty())
            return false;
        outcome.belowBilled = belowBilledText(challan, billing);
        QSqlQuery del;
        return outcome.belowBilled.isEmpty()
               && execBound(del, DeleteLines, {{":no", challan.number}, {":fy", challan.fy}}, error)
               && insertLines(challan, written, error);
    });
}

DeleteOutcome deleteChallan(int number, const QString &fy, const StoredRow &loadedRows)
{
    DeleteOutcome outcome;
    const QVariantMap key{{":no", number}, {":fy", fy}};
    const RowWrite write = writeLoadedRows({challanAsLoaded(number, fy, loadedRows)}, [&](QString *error) {
        QSqlQuery q;
        if (!execBound(q,
                       "SELECT DISTINCT v.invoice_no_full FROM invoice_items it JOIN invoices v "
                       "ON it.invoice_id = v.invoice_id WHERE it.delivery_no = :no AND it.fy_name = :fy "
                       "AND (v.is_deleted IS NULL OR v.is_deleted = 0) ORDER BY v.invoice_no",
                       key, error))
            return false;
        while (q.next())
            outcome.invoices << q.value(0).toString();
        return outcome.invoices.isEmpty() && execBound(q, DeleteLines, key, error);
    });
    outcome.result = write.ok()                            ? DeleteResult::Deleted
                     : write.result == ListedWrite::Stale ? DeleteResult::Changed
                     : !outcome.invoices.isEmpty()        ? DeleteResult::Invoiced
                                                          : DeleteResult::Failed;
    if (outcome.result == DeleteResult::Failed)
        outcome.error = write.error;
    return outcome;
}

QString challanListStatement(int customerId, const QString &from, const QString &to, const QString &currentFy,
                             QVariantMap *values)
{
    QString sql = "SELECT d.delivery_no, d.delivery_no_full, d.delivery_date, c.customer_name, "
                  STORED_SUM("delivery_entries:d.delivery_qty") ", "
                  "MAX(d.remarks), d.fy_name FROM delivery_entries d LEFT JOIN customers c "
                  "ON d.customer_id = c.customer_id WHERE 1=1 ";
    *values = {{":fy", currentFy}};
    sql += customerPeriodConditions({customerId, from, to}, "d", "delivery_date", values);
    return sql + "GROUP BY d.delivery_no, d.fy_name ORDER BY " + fyFirstOrder("d") + ", d.delivery_no DESC";
}

QList<ChallanListRow> challanList(int customerId, const QString &from, const QString &to, const QString &currentFy,
                                  QString *error)
{
    QVariantMap values;
    const QString sql = challanListStatement(customerId, from, to, currentFy, &values);
    QList<ChallanListRow> rows;
    const auto readRow = [&](const QSqlQuery &q) {
        ChallanListRow row;
        row.number = q.value(0).toInt();
        row.fullNumber = q.value(1).toString();
        row.date = q.value(2).toString();
        row.customerName = q.value(3).toString();
        row.qty = storedTotal(q.value(4)).toDouble();
        row.remarks = q.value(5).toString();
        row.fy = q.value(6).toString();
        rows.append(row);
    };
    forEachStoredSumRow(sql, values, readRow, [&] { rows.clear(); }, error);
    return rows;
}

bool loadChallan(int number, const QString &fy, LoadedChallan *challan)
{
    // The lines with what the form shows of them, in one pass: what the form
    // shows is what Update and Delete compare (challanLines gives the same
    // columns in the same order).
    const int columns = int(ChallanLineRow.columns.size());
    LoadedChallan loaded;
    const bool read = forEachRow(
        QStringLiteral("SELECT ") + ChallanLineRow.columnList(QStringLiteral("d"))
            + QStringLiteral(", c.customer_name, i.item_code, i.item_name, i.uom, ")
            + lineStateColumns(QStringLiteral("d.inward_no"), QStringLiteral("d.item_id"), QStringLiteral("d.fy_name"),
                               QStringLiteral("d.delivery_no"))
            + QStringLiteral(", ") + inwardColumn("dc_no")
            + QStringLiteral(" AS c_dc_no, ") + inwardColumn("dc_date") + QStringLiteral(" AS c_dc_date, ")
            + inwardColumn("po_no")
            + QStringLiteral(" AS c_po_no FROM delivery_entries d LEFT JOIN customers c ON d.customer_id = c.customer_id "
                             "LEFT JOIN items i ON d.item_id = i.item_id "
                             "WHERE d.delivery_no = :no AND d.fy_name = :fy ORDER BY d.delivery_id"),
        {{":no", number}, {":fy", fy}},
        [&](const StatementRow &q) {
            if (!loaded.rows.found()) {
                loaded.fullNumber = q.text(2);
                loaded.date = q.text(3);
                loaded.customerId = q.integer(5);
                loaded.remarks = q.text(9);
                loaded.customerName = q.text(columns);
            }
            loaded.rows.addDependent(q, 0, columns);
            ChallanLine line;
            line.itemId = q.integer(6);
            line.inwardNo = q.integer(4);
            line.qty = q.real(8);
            line.itemCode = q.text(columns + 1);
            line.itemName = q.text(columns + 2);
            line.uom = q.text(columns + 3);
            line.state = lineStateAt(q, columns + 4);
            line.dcNo = q.text(columns + 7);
            line.dcDate = q.text(columns + 8);
            line.poNo = q.text(columns + 9);
            loaded.lines.append(line);
        });
    if (!read || !loaded.rows.found() || !readChallanBilling(number, fy, &loaded.billing))
        return false;
    *challan = loaded;
    return true;
}

bool readChallanForPrint(int number, const QString &fy, ChallanPrintData *data)
{
    QSqlQuery head(readingDatabase());
    head.prepare("SELECT d.delivery_no_full, d.delivery_date, c.customer_name, c.address_line1, c.address_line2, "
                 "c.gst_no, c.phone, d.sac_code, d.remarks FROM delivery_entries d LEFT JOIN customers c "
                 "ON d.customer_id = c.customer_id WHERE d.delivery_no = :no AND d.fy_name = :fy LIMIT 1");
    head.bindValue(":no", number);
    head.bindValue(":fy", fy);
    if (!head.exec() || !head.next())
        return false;

    ChallanPrintData print;
    print.fullNumber = fullDocumentNumber(number, fy);
    const QDate date = QDate::fromString(head.value(1).toString(), "yyyy-MM-dd");
    print.date = date.isValid() ? date.toString("dd/MM/yyyy") : QString();
    print.customerName = head.value(2).toString();
    print.address1 = head.value(3).toString();
    print.address2 = head.value(4).toString();
    print.gstNo = head.value(5).toString();
    print.phone = head.value(6).toString();
    print.sacCode = head.value(7).toString();
    print.remarks = head.value(8).toString();

    QSqlQuery q(readingDatabase());
    q.prepare("SELECT e.po_no, e.dc_no, i.item_code, i.item_name, d.delivery_qty, i.uom, e.inward_date "
              "FROM delivery_entries d LEFT JOIN items i ON d.item_id = i.item_id "
              // One inward row per line, a live one first: two stored rows of one item in one
              // entry, or a cancelled row beside a live one, never print a line twice.
              "LEFT JOIN inward_entries e ON e.inward_id = (SELECT x.inward_id FROM inward_entries x "
              "WHERE x.inward_no = d.inward_no AND x.item_id = d.item_id AND x.fy_name = d.fy_name "
              "ORDER BY (x.is_deleted IS NULL OR x.is_deleted = 0) DESC, x.inward_id LIMIT 1) "
              "WHERE d.delivery_no = :no AND d.fy_name = :fy ORDER BY d.delivery_id");
    q.bindValue(":no", number);
    q.bindValue(":fy", fy);
    if (q.exec()) {
        while (q.next()) {
            ChallanPrintLine line;
            const QDate inwardDate = QDate::fromString(q.value(6).toString(), "yyyy-MM-dd");
            line.inwardDate = inwardDate.isValid() ? inwardDate.toString("dd/MM/yyyy") : QString();
            line.poNo = q.value(0).toString();
            line.dcNo = q.value(1).toString();
            line.itemCode = q.value(2).toString();
            line.itemName = q.value(3).toString();
            line.qty = q.value(4).toDouble();
            line.uom = q.value(5).toString();
            print.lines.append(line);
        }
    }
    *data = print;
    return true;
}
