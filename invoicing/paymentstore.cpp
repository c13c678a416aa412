#include "paymentstore.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/listfilter.h"
#include "core/listformat.h"
#include "core/storedsum.h"
#include "core/typednumber.h"
#include "invoicing/invoicecorrections.h"
#include "invoicing/invoiceliststore.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace {

// What has been settled on each invoice, summed once over all payment rows
// rather than once per listed invoice; then the invoice's stored columns,
// from which the list takes what it shows of it.
const char *const PendingSql =
    "SELECT c.customer_name, IFNULL(p.settled, 0) AS settled, %1 "
    "FROM invoices v JOIN customers c ON v.customer_id = c.customer_id "
    "LEFT JOIN (SELECT invoice_no, fy_name, " SETTLED_SUM " AS settled FROM invoice_payments "
    "GROUP BY invoice_no, fy_name) p ON p.invoice_no = v.invoice_no AND p.fy_name = v.fy_name "
    "WHERE (v.is_deleted IS NULL OR v.is_deleted = 0) ";

// Each payment's total summed once per reference, joined to its rows; then
// the payment row's stored columns, from which the list takes what it shows
// of it.
const char *const HistorySql =
    "SELECT v.invoice_no_full, v.invoice_date, c.customer_name, v.grand_total, t.total, %1 "
    "FROM invoice_payments p JOIN invoices v ON p.invoice_no = v.invoice_no AND p.fy_name = v.fy_name "
    "JOIN customers c ON p.customer_id = c.customer_id "
    "LEFT JOIN (SELECT payment_ref, " SETTLED_SUM " AS total FROM invoice_payments "
    "WHERE payment_ref IS NOT NULL AND payment_ref <> '' GROUP BY payment_ref) t ON t.payment_ref = p.payment_ref "
    "WHERE 1=1 ";

// An invoice row with what has been settled on it.
const char *const InvoiceStillOpen =
    "SELECT v.grand_total, (SELECT " SETTLED_SUM " FROM invoice_payments p "
    "WHERE p.invoice_no = v.invoice_no AND p.fy_name = v.fy_name) "
    "FROM invoices v WHERE v.invoice_id = :id";

const char *const InsertPayment =
    "INSERT INTO invoice_payments (payment_ref, payment_date, customer_id, invoice_no, paid_amount, tds_amount, "
    "chq_ref, remarks, pay_mode, fy_name) VALUES (:ref, :date, :cid, :inv, :paid, :tds, :chq, :rem, :mode, :fy)";

Decimal maxOf(const Decimal &a, const Decimal &b)
{
    return a < b ? b : a;
}

Decimal minOf(const Decimal &a, const Decimal &b)
{
    return a < b ? a : b;
}

// A reference free in the table, from `at` on, a second at a time.
bool freeReference(const QDateTime &at, QString *reference, QString *error)
{
    QSqlQuery q;
    for (QDateTime t = at;; t = t.addSecs(1)) {
        const QString candidate = paymentReference(t);
        if (!execBound(q, QStringLiteral("SELECT 1 FROM invoice_payments WHERE payment_ref = :ref LIMIT 1"),
                       {{":ref", candidate}}, error))
            return false;
        if (!q.next()) {
            *reference = candidate;
            return true;
        }
    }
}

// Whether what is open on the share's invoice now covers the share within
// 0.005 (the list reads the balance and the payments of its rows in two
// statements).
bool shareStillOpen(const PaymentShare &share, bool *open, QString *error)
{
    // Exactly, a grand total or payments stored beyond what Decimal holds too.
    std::optional<StoredTotal> balance;
    const auto readRow = [&](const QSqlQuery &q) {
        balance = storedBalance(q.value(0).toDouble()) - storedTotal(q.value(1));
    };
    if (!forEachStoredSumRow(QString::fromLatin1(InvoiceStillOpen),
                             {{":id", share.invoiceId}}, readRow,
                             [&] { balance.reset(); }, error))
        return false;
    if (!balance || !balance->isValid()) {
        *open = false;
        return true;
    }
    StoredTotal covered = *balance;
    covered += SettledBalance;
    StoredTotal taken;
    taken += share.paid + share.tds;
    *open = !(taken > covered);
    return true;
}

} // namespace

bool balanceIsOwed(const Decimal &balance)
{
    return balance > SettledBalance;
}

bool balanceIsOwed(const StoredTotal &balance)
{
    StoredTotal settled;
    settled += SettledBalance;
    return balance > settled;
}

std::optional<int> daysSince(const QString &stored, const QDate &to)
{
    const QDate date = storedDate(stored);
    if (!date.isValid() || !to.isValid())
        return std::nullopt;
    return static_cast<int>(date.daysTo(to));
}

QString ageColour(int days)
{
    if (days > 90)
        return QStringLiteral("#f8d7da");
    if (days > 60)
        return QStringLiteral("#fff3cd");
    return QString();
}

QString pendingInvoicesStatement(const PaymentFilter &filter, QVariantMap *values)
{
    *values = {{QStringLiteral(":fy"), filter.currentFy}};
    return QString::fromLatin1(PendingSql).arg(InvoiceRowSource.columnList(QStringLiteral("v")))
           + customerPeriodConditions({filter.customerId, filter.from, filter.to}, QStringLiteral("v"),
                                      QStringLiteral("invoice_date"), values)
           + QStringLiteral("ORDER BY ") + fyFirstOrder(QStringLiteral("v"))
           + QStringLiteral(", v.invoice_date ASC, v.invoice_no ASC");
}

bool queryPendingInvoices(const PaymentFilter &filter, QList<PendingInvoice> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = pendingInvoicesStatement(filter, &values);
    const int first = 2; // after the customer's name and the settled sum
    const int invoiceColumns = int(InvoiceRowSource.columns.size());
    const auto at = [&](const char *column) { return columnAt(InvoiceRowSource.columns, column, first); };
    const int no = at("invoice_no"), full = at("invoice_no_full"), date = at("invoice_date"),
              grandTotal = at("grand_total"), fy = at("fy_name"), customer = at("customer_id"),
              id = at("invoice_id");
    ListedInvoicePayments payments;
    const bool read = forEachStoredSumRow(
        sql, values,
        [&](const StatementRow &q) {
            PendingInvoice row;
            row.invoiceNo = q.integer(no);
            row.invoiceNoFull = q.text(full);
            row.invoiceDate = q.text(date);
            row.customerName = q.text(0);
            row.grandTotal = q.real(grandTotal);
            row.settled = storedTotal(q.value(1));
            row.fy = q.text(fy);
            row.customerId = q.integer(customer);
            row.invoiceId = q.integer(id);
            if (balanceIsOwed(row.balanceTotal())) {
                row.stored = StoredRow::of(q, first, invoiceColumns);
                payments.addInvoice(row.invoiceId, int(rows->size()));
                rows->append(std::move(row));
            }
        },
        [&] {
            rows->clear();
            payments = ListedInvoicePayments();
        },
        error);
    if (read && payments.read([&](int index) { return &(*rows)[index].stored; }, error))
        return true;
    rows->clear();
    return false;
}

QList<PaymentShare> splitPayment(const QList<PaymentTarget> &targets, const Decimal &paid, const Decimal &tds)
{
    QList<PaymentShare> shares;
    const Decimal zero;
    Decimal paidLeft = paid;
    Decimal tdsLeft = tds;
    Decimal paidUsed;  // exact sums of the parts so far
    Decimal bothUsed;
    Money paidRecorded; // the shares so far
    Money bothRecorded;
    for (const PaymentTarget &target : targets) {
        if (paidLeft + tdsLeft <= SettledBalance)
            break;
        const Decimal balance = target.balance.toDecimal();
        const Decimal paidPart = maxOf(zero, minOf(paidLeft, balance));
        const Decimal tdsPart = maxOf(zero, minOf(tdsLeft, balance - paidPart));
        if (paidPart + tdsPart > SettledBalance) {
            paidUsed = paidUsed + paidPart;
            bothUsed = bothUsed + paidPart + tdsPart;
            const Money paidShare = paidUsed.toMoney() - paidRecorded;
            const Money bothShare = bothUsed.toMoney() - bothRecorded;
            shares.append(
                {target.invoiceNo, target.fy, paidShare, bothShare - paidShare, target.invoiceId, target.listed});
            paidRecorded += paidShare;
            bothRecorded += bothShare;
        }
        paidLeft = paidLeft - paidPart;
        tdsLeft = tdsLeft - tdsPart;
    }
    return shares;
}

std::optional<PaymentRefusal> checkPayment(const PaymentInput &input)
{
    const QString error = QStringLiteral("Error");
    if (input.tickedRows < 1)
        return PaymentRefusal{error, QStringLiteral("Select at least one invoice!")};

    const TypedNumber paidTyped = readTypedNumber(input.paidText);
    const TypedNumber tdsTyped = readTypedNumber(input.tdsText);
    const std::optional<Decimal> paidExact = boundedFigure(input.paidText, FigureKind::Money);
    const std::optional<Decimal> tdsExact = boundedFigure(input.tdsText, FigureKind::Money);
    const std::pair<const char *, QString> figures[] = {{"Paid Amount", input.paidText}, {"TDS Amount", input.tdsText}};
    for (const auto &[field, text] : figures) {
        if (const QString tooLarge = typedFigureTooLarge(QLatin1String(field), text, FigureKind::Money);
            !tooLarge.isEmpty())
            return PaymentRefusal{figureTooLargeTitle(), tooLarge};
    }
    if (paidTyped.isNotANumber() || paidTyped.value < 0 || (paidTyped.isNumber() && !paidExact))
        return PaymentRefusal{error, QStringLiteral("Please enter a valid Paid Amount!")};
    if (tdsTyped.isNotANumber() || tdsTyped.value < 0 || (tdsTyped.isNumber() && !tdsExact))
        return PaymentRefusal{error, QStringLiteral("Please enter a valid TDS Amount!")};

    // The selected total may pass what a Decimal holds: compared with the
    // typed amounts exactly, as a total.
    const StoredTotal &selected = input.selected;
    const Decimal paid = paidExact.value_or(Decimal());
    const Decimal tds = tdsExact.value_or(Decimal());
    if (!(paid + tds).isValid())
        return PaymentRefusal{error, QStringLiteral("Please enter a valid TDS Amount!")};
    const auto text = [](const Decimal &amount) { return amount.toMoney().text(); };
    StoredTotal tolerance;
    tolerance += SettledBalance;
    StoredTotal paidTotal;
    paidTotal += paid;
    if (paidTotal > selected + tolerance)
        return PaymentRefusal{QStringLiteral("Excess Payment"),
                              QStringLiteral("Paid amount (%1) cannot exceed selected total (%2)!\n"
                                             "Remaining balance should go to TDS field.")
                                  .arg(text(paid), selected.text())};
    StoredTotal mismatch = paidTotal - selected;
    mismatch += tds;
    if (mismatch > tolerance || mismatch < -tolerance)
        return PaymentRefusal{QStringLiteral("Amount Mismatch"),
                              QStringLiteral("Paid + TDS must equal selected total!\n\n"
                                             "Selected Total : %1\n"
                                             "Paid Amount    : %2\n"
                                             "TDS Amount     : %3\n"
                                             "Current Total  : %4\n\n"
                                             "Expected TDS   : %5")
                                  .arg(selected.text(), text(paid), text(tds), text(paid + tds),
                                       (selected - paidTotal).text())};
    for (int id : input.customerIds) {
        if (id != input.customerIds.first())
            return PaymentRefusal{error, QStringLiteral("Select invoices of ONE customer only!")};
    }
    return std::nullopt;
}

QString paymentReference(const QDateTime &at)
{
    return QStringLiteral("PAY") + at.toString(QStringLiteral("yyyyMMddhhmmss"));
}

PaymentOutcome recordPayment(const PaymentEntry &entry, const QDateTime &at)
{
    PaymentOutcome outcome;
    int written = 0;
    QString reference;
    QList<LoadedRow> invoices;
    for (const PaymentShare &share : entry.shares)
        invoices.append(LoadedRow(InvoiceRowSource, share.invoiceId, share.listed,
                                  QStringLiteral("Invoice No ") + fullDocumentNumber(share.invoiceNo, share.fy)));
    const RowWrite write = writeLoadedRows(invoices, [&](QString *error) {
        for (const PaymentShare &share : entry.shares) {
            bool open = false;
            if (!shareStillOpen(share, &open, error))
                return false;
            if (!open) {
                outcome.stale = share;
                return false;
            }
        }
        if (!freeReference(at, &reference, error))
            return false;
        QSqlQuery insert;
        for (const PaymentShare &share : entry.shares) {
            const QVariantMap values{{":ref", reference},
                                     {":date", entry.date.toString(QStringLiteral("yyyy-MM-dd"))},
                                     {":cid", entry.customerId},
                                     {":inv", share.invoiceNo},
                                     {":paid", share.paid.toDouble()},
                                     {":tds", share.tds.toDouble()},
                                     {":chq", entry.chequeRef.trimmed()},
                                     {":rem", entry.remarks.trimmed()},
                                     {":mode", entry.mode},
                                     {":fy", share.fy}};
            if (!execBound(insert, InsertPayment, values, error))
                return false;
            ++written;
        }
        return true;
    });
    if (write.result == ListedWrite::Stale)
        outcome.stale = entry.shares.at(write.staleRow);
    else
        outcome.error = write.error;
    outcome.ok = write.ok();
    if (outcome.ok) {
        outcome.reference = reference;
        outcome.written = written;
    }
    return outcome;
}

QString paymentHistoryStatement(const PaymentFilter &filter, QVariantMap *values)
{
    *values = {{QStringLiteral(":fy"), filter.currentFy}};
    return QString::fromLatin1(HistorySql).arg(InvoicePaymentRowSource.columnList(QStringLiteral("p")))
           + customerPeriodConditions({filter.customerId, filter.from, filter.to}, QStringLiteral("p"),
                                      QStringLiteral("payment_date"), values)
           + QStringLiteral("ORDER BY ") + fyFirstOrder(QStringLiteral("p"))
           + QStringLiteral(", p.payment_date DESC, p.payment_ref ASC, p.pay_id ASC");
}

bool queryPaymentHistory(const PaymentFilter &filter, QList<PaymentHistoryRow> *rows, QString *error)
{
    rows->clear();
    QVariantMap values;
    const QString sql = paymentHistoryStatement(filter, &values);
    const int first = 5; // after the invoice's, the customer's and the payment total's columns
    const int paymentColumns = int(InvoicePaymentRowSource.columns.size());
    const auto at = [&](const char *column) { return columnAt(InvoicePaymentRowSource.columns, column, first); };
    const int id = at("pay_id"), paid = at("paid_amount"), tds = at("tds_amount"), date = at("payment_date"),
              mode = at("pay_mode"), remarks = at("remarks"), reference = at("payment_ref"), fy = at("fy_name");
    // The payments in the order their first row comes, each with its rows.
    QList<PaymentHistoryRow> listed;
    QList<QList<int>> payments; // indexes into `listed`
    QHash<QString, int> paymentIndex;
    const auto readRow = [&](const StatementRow &q) {
        PaymentHistoryRow row;
        row.payId = q.integer(id);
        row.invoiceNoFull = q.text(0);
        row.invoiceDate = q.text(1);
        row.customerName = q.text(2);
        row.grandTotal = q.real(3);
        row.paid = q.real(paid);
        row.tds = q.real(tds);
        row.paymentDate = q.text(date);
        row.mode = q.text(mode);
        row.remarks = q.text(remarks);
        row.reference = q.text(reference);
        row.fy = q.text(fy);
        row.paidDays = daysSince(row.invoiceDate, storedDate(row.paymentDate)).value_or(0);
        row.stored = StoredRow::of(q, first, paymentColumns);
        const bool referenced = !row.reference.isEmpty();
        row.paymentTotal = referenced && !q.isNull(4)
                               ? storedTotal(q.value(4)).toMoney()
                               : (Decimal::fromStored(row.paid) + Decimal::fromStored(row.tds)).toMoney();

        const QString key = referenced ? row.reference : QStringLiteral("#") + QString::number(row.payId);
        const auto found = paymentIndex.constFind(key);
        if (found == paymentIndex.constEnd()) {
            row.opensPayment = true;
            paymentIndex.insert(key, int(payments.size()));
            payments.append(QList<int>{int(listed.size())});
        } else {
            payments[*found].append(int(listed.size()));
        }
        listed.append(std::move(row));
    };
    const auto restart = [&] {
        listed.clear();
        payments.clear();
        paymentIndex.clear();
    };
    if (!forEachStoredSumRow(sql, values, readRow, restart, error))
        return false;
    rows->reserve(listed.size());
    for (const QList<int> &payment : payments) {
        for (int i : payment)
            rows->append(std::move(listed[i]));
    }
    return true;
}

PaymentTotals paymentTotals(const QList<PaymentHistoryRow> &rows)
{
    PaymentTotals totals;
    QSet<QString> invoices;
    int dayRows = 0;
    long long days = 0;
    for (const PaymentHistoryRow &row : rows) {
        if (row.opensPayment)
            totals.paid += row.paymentTotal;
        const QString invoice = row.invoiceNoFull + QLatin1Char('|') + row.fy;
        if (!invoices.contains(invoice)) {
            invoices.insert(invoice);
            totals.invoices += Money::fromStored(row.grandTotal);
        }
        if (const int d = row.paidDays; d > 0) {
            days += d;
            ++dayRows;
        }
    }
    if (dayRows > 0)
        totals.averageDays = double(days) / dayRows;
    return totals;
}

QString averageDaysStyle(double average)
{
    if (average > 90)
        return QStringLiteral("background-color: #f8d7da; color: black;");
    if (average <= 60)
        return QStringLiteral("background-color: #d4edda; color: black;");
    return QStringLiteral("background-color: #fff3cd; color: black;");
}

bool deletePayments(const QList<ListedPayment> &payments, QString *error)
{
    QList<LoadedRow> rows;
    QList<QPair<QString, QVariantMap>> statements;
    for (const ListedPayment &payment : payments) {
        LoadedRow row(InvoicePaymentRowSource, payment.payId, payment.listed,
                      QStringLiteral("The payment record of Invoice No ") + payment.invoice);
        row.changedText = rowChangedText(row.name, QString(), QStringLiteral("Nothing was deleted."));
        row.goneText = rowGoneText(row.name) + QStringLiteral(" Nothing was deleted.");
        rows.append(row);
        statements.append({QStringLiteral("DELETE FROM invoice_payments WHERE pay_id = :id"), {{":id", payment.payId}}});
    }
    return writeLoadedRows(rows, statements).ok(error);
}
