#include "purchasestore.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "core/listformat.h"
#include "core/storedsum.h"
#include "core/typednumber.h"

#include <QDate>
#include <QDebug>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char *const TaxColumnNames[PurchaseTaxColumns] = {"cgst2_5", "sgst2_5", "cgst6",  "sgst6",
                                                        "cgst9",   "sgst9",   "cgst14", "sgst14"};

// Every column of a payment record, in the table's order: what a bill's
// payments are compared by.
const QStringList &paymentColumns()
{
    static const QStringList columns{QStringLiteral("payment_id"),   QStringLiteral("bill_id"),
                                     QStringLiteral("payment_date"), QStringLiteral("paid_amount"),
                                     QStringLiteral("reference_no"), QStringLiteral("mode_of_payment"),
                                     QStringLiteral("payment_ref")};
    return columns;
}

bool tableExists(const QString &name)
{
    QSqlQuery q;
    return execBound(q, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name=:name"),
                     {{QStringLiteral(":name"), name}})
           && q.next();
}

bool columnExists(const QString &table, const QString &column)
{
    QSqlQuery q;
    if (!q.exec(QStringLiteral("PRAGMA table_info(") + table + QLatin1Char(')')))
        return false;
    while (q.next()) {
        if (q.value(1).toString() == column)
            return true;
    }
    return false;
}

// Columns 2 to 19 of a bill bound by their own names.
QVariantMap billValues(const PurchaseBill &bill)
{
    QVariantMap v{
        {QStringLiteral(":bill_no"), bill.billNo},
        {QStringLiteral(":bill_date"), bill.billDate},
        {QStringLiteral(":company_name"), bill.companyName},
        {QStringLiteral(":gst_no"), bill.gstNo},
        {QStringLiteral(":type"), bill.type},
        {QStringLiteral(":description"), bill.description},
        {QStringLiteral(":quantity"), bill.quantity},
        {QStringLiteral(":base_amount"), bill.baseAmount.toDouble()},
        {QStringLiteral(":bill_total"), bill.billTotal.toDouble()},
        {QStringLiteral(":hsn_code"), bill.hsnCode},
    };
    for (int i = 0; i < PurchaseTaxColumns; ++i)
        v.insert(QLatin1Char(':') + QLatin1String(TaxColumnNames[i]), bill.taxes[i].toDouble());
    return v;
}

// A bill from its row as stored, in purchaseBillSource()'s columns.
PurchaseBill billFromStored(const StatementRow &v, int columns)
{
    PurchaseBill b;
    b.billId = v.integer(0);
    b.billNo = v.text(1);
    b.billDate = v.text(2);
    b.companyName = v.text(3);
    b.gstNo = v.text(4);
    b.type = v.text(5);
    b.description = v.text(6);
    b.quantity = v.text(7);
    b.baseAmount = Money::fromStored(v.real(8));
    for (int i = 0; i < PurchaseTaxColumns; ++i)
        b.taxes[i] = Money::fromStored(v.real(9 + i));
    b.billTotal = Money::fromStored(v.real(17));
    b.hsnCode = v.text(18);
    b.stored = StoredRow::of(v, 0, columns);
    return b;
}

QString taxCellText(Money value)
{
    return value > Money() ? value.text() : QString();
}

} // namespace

const RowSource &purchaseBillSource()
{
    // Every column of the bill: the nineteen the list shows (bill_id to
    // hsn_code, in the table's order), then payment_status; and its payments.
    static const RowSource source{
        QStringLiteral("purchase_bills"),
        QStringLiteral("bill_id"),
        {QStringLiteral("bill_id"), QStringLiteral("bill_no"), QStringLiteral("bill_date"),
         QStringLiteral("company_name"), QStringLiteral("gst_no"), QStringLiteral("type"),
         QStringLiteral("description"), QStringLiteral("quantity"), QStringLiteral("base_amount"),
         QStringLiteral("cgst2_5"), QStringLiteral("sgst2_5"), QStringLiteral("cgst6"), QStringLiteral("sgst6"),
         QStringLiteral("cgst9"), QStringLiteral("sgst9"), QStringLiteral("cgst14"), QStringLiteral("sgst14"),
         QStringLiteral("bill_total"), QStringLiteral("hsn_code"), QStringLiteral("payment_status")},
        QStringLiteral("SELECT ") + paymentColumns().join(QStringLiteral(", "))
            + QStringLiteral(" FROM payment_records WHERE bill_id = :key ORDER BY payment_id")};
    return source;
}

QString billRowName(const QString &billNo)
{
    return QStringLiteral("Bill No ") + shortRowName(billNo);
}

QString listedBillPaymentsStatement(const QString &billWhere)
{
    // bill_id is the second of the payment's columns.
    return QStringLiteral("SELECT ") + paymentColumns().join(QStringLiteral(", "))
           + QStringLiteral(" FROM payment_records WHERE bill_id IN (SELECT bill_id FROM purchase_bills ") + billWhere
           + QStringLiteral(") ORDER BY bill_id, payment_id");
}

bool readListedBillPayments(const QString &paymentsSql, const QVariantMap &values,
                            const QHash<int, StoredRow *> &rows, QString *error)
{
    // Read after the bills: a payment recorded in between is among them while
    // the bill's own columns still show it unpaid, so that such a bill is
    // refused, never taken for unchanged.
    const int count = int(paymentColumns().size());
    int billId = 0;
    StoredRow *row = nullptr;
    return forEachRow(
        paymentsSql, values,
        [&](const StatementRow &payment) {
            // A bill's payments come one after another.
            if (const int id = payment.integer(1); id != billId || !row) {
                billId = id;
                row = rows.value(id);
            }
            if (row)
                row->addDependent(payment, 0, count);
        },
        error);
}

void initPaymentTables()
{
    QSqlQuery q;
    if (!q.exec(QStringLiteral("ALTER TABLE purchase_bills ADD COLUMN payment_status TEXT DEFAULT 'Unpaid'")))
        qDebug() << "Alter table result:" << q.lastError().text();
    q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS payment_records (payment_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                          "bill_id INTEGER, payment_date TEXT, paid_amount REAL, reference_no TEXT, "
                          "mode_of_payment TEXT)"));
    // The receipt number of the payment a record belongs to; records written
    // before it existed keep NULL.
    if (!columnExists(QStringLiteral("payment_records"), QStringLiteral("payment_ref")))
        q.exec(QStringLiteral("ALTER TABLE payment_records ADD COLUMN payment_ref TEXT"));
}

void initPurchaseTables()
{
    QSqlQuery q;
    q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS db_version (module TEXT PRIMARY KEY, version INTEGER)"));

    int version = 0;
    if (q.exec(QStringLiteral("SELECT version FROM db_version WHERE module = 'purchase'")) && q.next())
        version = q.value(0).toInt();

    if (version <= 1) {
        qDebug() << "Migrating purchase module from version" << version << "to 2";
        if (tableExists(QStringLiteral("purchase_bills")))
            q.exec(QStringLiteral("ALTER TABLE purchase_bills RENAME TO purchase_bills_v1_backup"));
        if (tableExists(QStringLiteral("purchase_items")))
            q.exec(QStringLiteral("ALTER TABLE purchase_items RENAME TO purchase_items_v1_backup"));
        q.exec(QStringLiteral("INSERT OR REPLACE INTO db_version (module, version) VALUES ('purchase', 2)"));
    }

    q.exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS purchase_bills (bill_id INTEGER PRIMARY KEY AUTOINCREMENT, bill_no TEXT, "
        "bill_date TEXT, company_name TEXT, gst_no TEXT, type TEXT, description TEXT, quantity TEXT, "
        "base_amount REAL, cgst2_5 REAL, sgst2_5 REAL, cgst6 REAL, sgst6 REAL, cgst9 REAL, sgst9 REAL, "
        "cgst14 REAL, sgst14 REAL, bill_total REAL, hsn_code TEXT)"));
    // The period lists, the duplicate check and the supplier lists look bills
    // up by date and by supplier.
    q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS idx_purchase_bills_date ON purchase_bills (bill_date)"));
    q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS idx_purchase_bills_company ON purchase_bills (company_name)"));

    // Only when something is missing, so that opening the window writes no
    // "Alter table result:" line every time.
    if (!columnExists(QStringLiteral("purchase_bills"), QStringLiteral("payment_status"))
        || !columnExists(QStringLiteral("payment_records"), QStringLiteral("payment_ref")))
        initPaymentTables();
}

Money billAmountSum(const PurchaseBill &bill)
{
    Money sum = bill.baseAmount;
    for (Money t : bill.taxes)
        sum += t;
    return sum;
}

Money roundedBillTotal(Money sum)
{
    return sum.roundedToWholeRupees(); // half away from zero
}

std::optional<bool> purchaseBillExists(const QString &billNo, const QString &billDate)
{
    QSqlQuery q;
    if (!execBound(q,
                   QStringLiteral("SELECT COUNT(*) FROM purchase_bills WHERE bill_no = :bill_no AND bill_date = :bill_date"),
                   {{QStringLiteral(":bill_no"), billNo}, {QStringLiteral(":bill_date"), billDate}})
        || !q.next())
        return std::nullopt;
    return q.value(0).toInt() >= 1;
}

bool insertPurchaseBill(const PurchaseBill &bill, QString *error)
{
    QSqlQuery q;
    return execBound(
        q,
        QStringLiteral("INSERT INTO purchase_bills (bill_no, bill_date, company_name, gst_no, type, description, "
                       "quantity, base_amount, cgst2_5, sgst2_5, cgst6, sgst6, cgst9, sgst9, cgst14, sgst14, "
                       "bill_total, hsn_code) VALUES (:bill_no, :bill_date, :company_name, :gst_no, :type, "
                       ":description, :quantity, :base_amount, :cgst2_5, :sgst2_5, :cgst6, :sgst6, :cgst9, :sgst9, "
                       ":cgst14, :sgst14, :bill_total, :hsn_code)"),
        billValues(bill), error);
}

namespace {

bool filtersSupplier(const BillListFilter &filter)
{
    return !filter.company.isEmpty() && filter.company != QLatin1String("All Companies");
}

bool filtersPeriod(const BillListFilter &filter)
{
    return filter.newestRecordFirst || (!filter.from.isEmpty() && !filter.to.isEmpty());
}

// The list's WHERE clause, with a blank after it.
QString billListWhere(const BillListFilter &filter)
{
    QString sql;
    if (filter.newestRecordFirst)
        sql += QStringLiteral("WHERE bill_date >= :from AND bill_date <= :to ");
    else {
        sql += QStringLiteral("WHERE 1=1 ");
        if (filtersPeriod(filter))
            sql += QStringLiteral("AND bill_date >= :from AND bill_date <= :to ");
    }
    if (filtersSupplier(filter))
        sql += QStringLiteral("AND company_name = :company ");
    return sql;
}

} // namespace

QString billListStatement(const BillListFilter &filter)
{
    return QStringLiteral("SELECT ") + purchaseBillSource().columnList() + QStringLiteral(" FROM purchase_bills ")
           + billListWhere(filter)
           + (filter.newestRecordFirst ? QStringLiteral("ORDER BY bill_id DESC") : QStringLiteral("ORDER BY bill_date DESC"));
}

QString billListPaymentsStatement(const BillListFilter &filter)
{
    return listedBillPaymentsStatement(billListWhere(filter));
}

QVariantMap billListValues(const BillListFilter &filter)
{
    QVariantMap values;
    if (filtersPeriod(filter)) {
        values.insert(QStringLiteral(":from"), filter.from);
        values.insert(QStringLiteral(":to"), filter.to);
    }
    if (filtersSupplier(filter))
        values.insert(QStringLiteral(":company"), filter.company);
    return values;
}

bool loadPurchaseBills(const BillListFilter &filter, QList<PurchaseBill> *bills, QString *error)
{
    const QVariantMap values = billListValues(filter);
    bills->clear();
    const int columns = int(purchaseBillSource().columns.size());
    if (!forEachRow(
            billListStatement(filter), values,
            [&](const StatementRow &row) { bills->append(billFromStored(row, columns)); }, error)) {
        bills->clear();
        return false;
    }
    QHash<int, StoredRow *> rows;
    rows.reserve(bills->size());
    for (PurchaseBill &bill : *bills)
        rows.insert(bill.billId, &bill.stored);
    if (!readListedBillPayments(billListPaymentsStatement(filter), values, rows, error)) {
        bills->clear();
        return false;
    }
    return true;
}

QStringList billListCells(const PurchaseBill &bill)
{
    QStringList cells;
    cells.reserve(18);
    cells << bill.billNo << storedDateText(bill.billDate) << bill.companyName << bill.gstNo << bill.type
          << bill.description << bill.quantity << bill.baseAmount.text();
    for (Money t : bill.taxes)
        cells << taxCellText(t);
    cells << bill.billTotal.text() << bill.hsnCode;
    return cells;
}

std::optional<QString> storedBillDate(const QString &typed)
{
    QDate d = QDate::fromString(typed, QStringLiteral("dd-MM-yyyy"));
    if (!d.isValid())
        d = QDate::fromString(typed, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return std::nullopt;
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

bool updatePurchaseBill(const PurchaseBill &bill, const ListedBill &listed, StoredRow *written, QString *error)
{
    QVariantMap values = billValues(bill);
    values.insert(QStringLiteral(":bill_id"), bill.billId);
    LoadedRow row(purchaseBillSource(), bill.billId, listed.stored, billRowName(listed.billNo));
    // The edits stay in the list; the way on is the list's own buttons.
    row.changedWayOn = row.goneWayOn =
        QStringLiteral("Your changes stay in the list: press Edit Table to leave edit mode, which lists the bills as "
                       "they are now, then Edit Table again to edit them anew.");
    const RowWrite outcome = writeLoadedRows(
        {row},
        {{QStringLiteral("UPDATE purchase_bills SET bill_no = :bill_no, bill_date = :bill_date, "
                         "company_name = :company_name, gst_no = :gst_no, type = :type, "
                         "description = :description, quantity = :quantity, base_amount = :base_amount, "
                         "cgst2_5 = :cgst2_5, sgst2_5 = :sgst2_5, cgst6 = :cgst6, sgst6 = :sgst6, "
                         "cgst9 = :cgst9, sgst9 = :sgst9, cgst14 = :cgst14, sgst14 = :sgst14, "
                         "bill_total = :bill_total, hsn_code = :hsn_code WHERE bill_id = :bill_id"),
          values}});
    if (outcome.ok(error))
        *written = outcome.written;
    return outcome.ok();
}

bool deletePurchaseBill(int billId, const ListedBill &listed, QString *error)
{
    LoadedRow row(purchaseBillSource(), billId, listed.stored, billRowName(listed.billNo));
    row.goneWayOn = QStringLiteral("Press Show to list the bills as they are now.");
    row.changedWayOn = row.goneWayOn.chopped(1) + QStringLiteral(", then select the bill and press Delete bill no again.");
    return writeLoadedRows({row}, {{QStringLiteral("DELETE FROM purchase_bills WHERE bill_id = :bill_id"),
                                    {{QStringLiteral(":bill_id"), billId}}}})
        .ok(error);
}

SupplierLists loadSupplierLists()
{
    SupplierLists lists;
    QSqlQuery q;
    q.setForwardOnly(true);
    if (q.exec(QStringLiteral("SELECT DISTINCT company_name FROM purchase_bills ORDER BY company_name ASC"))) {
        while (q.next()) {
            const QString name = q.value(0).toString().trimmed();
            if (!name.isEmpty())
                lists.comboNames << name;
        }
    }
    if (q.exec(QStringLiteral("SELECT DISTINCT company_name, gst_no FROM purchase_bills "))) {
        QSet<QString> names, gsts;
        while (q.next()) {
            const QString name = q.value(0).toString().trimmed();
            const QString gst = q.value(1).toString().trimmed();
            if (!name.isEmpty() && !names.contains(name)) {
                names.insert(name);
                lists.completerNames << name;
            }
            if (!gst.isEmpty() && !gsts.contains(gst)) {
                gsts.insert(gst);
                lists.gstNumbers << gst;
            }
        }
    }
    return lists;
}

std::optional<SupplierDetails> latestSupplierDetails(const QString &company)
{
    QSqlQuery q;
    if (!execBound(q,
                   QStringLiteral("SELECT gst_no, type FROM purchase_bills WHERE company_name = :company "
                                  "ORDER BY bill_date DESC LIMIT 1"),
                   {{QStringLiteral(":company"), company}})
        || !q.next())
        return std::nullopt;
    return SupplierDetails{q.value(0).toString(), q.value(1).toString()};
}

QStringList purchaseReportTotals(const QList<QStringList> &rows)
{
    // The quantity is summed exactly and rounded once in its text; the
    // amounts are summed to the paisa; both however many rows there are.
    StoredTotal quantity;
    StoredTotal sums[10];
    for (const QStringList &row : rows) {
        for (int c = 6; c <= 16 && c < row.size(); ++c) {
            const std::optional<Decimal> cell = Decimal::fromPlainText(row.at(c));
            if (!cell) {
                // A stored figure beyond what Decimal holds, as the list shows it.
                if (const std::optional<StoredTotal> outsized = listedFigure(row.at(c), true))
                    (c == 6 ? quantity : sums[c - 7]) += *outsized;
                continue;
            }
            if (c == 6)
                quantity += *cell;
            else
                sums[c - 7] += cell->toMoney();
        }
    }
    QStringList fields(18);
    fields[0] = QStringLiteral("TOTAL");
    fields[6] = quantity.text();
    for (int c = 7; c <= 16; ++c)
        fields[c] = sums[c - 7].text();
    return fields;
}

CsvExportProfile purchaseReportProfile(const QString &from, const QString &to, const QString &company,
                                       const QStringList &headers, const QList<QStringList> &rows)
{
    CsvExportProfile p;
    p.caption = QStringLiteral("Save Purchase Report");
    p.defaultName = QStringLiteral("Purchase_Report_%1_to_%2.csv")
                        .arg(QString(from).replace(QLatin1Char('-'), QLatin1Char('_')),
                             QString(to).replace(QLatin1Char('-'), QLatin1Char('_')));
    // Every line field by field: a supplier or period holding a comma, a
    // quote or a line break stays one cell.
    const auto line = [](const QStringList &fields) { return csvJoined(fields); };
    p.titleLines = {line({QStringLiteral("PURCHASE REPORT")}),
                    line({QStringLiteral("Period: ") + from + QStringLiteral(" to ") + to}),
                    line({QStringLiteral("Company: ") + company}), QString()};
    p.header = line(headers);
    const QStringList totals = purchaseReportTotals(rows);
    p.totalLines = {QString(), line(totals)};
    // A total that cannot be formed has no text; the export names the cell
    // that cannot be added up.
    for (int c = 6; c <= 16; ++c) {
        p.totalsFormed = p.totalsFormed && !totals.at(c).isEmpty();
        p.figureColumns.insert(c, headers.value(c));
    }
    p.rowName = [](const QStringList &row) {
        const QString billNo = row.value(0).trimmed();
        return billNo.isEmpty() ? QString() : billRowName(billNo);
    };
    p.emptyMessage = CsvMessage{QMessageBox::Information, QStringLiteral("No Data"),
                                QStringLiteral("No data to export — click Show first!"), false};
    p.failureMessage = CsvMessage{QMessageBox::Critical, QStringLiteral("Error"), QStringLiteral("Could not create file!"),
                                  false};
    p.successMessage = CsvMessage{QMessageBox::Information, QStringLiteral("Success"),
                                  QStringLiteral("Report exported successfully!\n"), true};
    return p;
}
