// Sums of stored figures on the dashboards and the grouped lists, past what
// 64-bit millionths hold: many rows of the largest accepted figure, and a
// value beyond it written into the file by another program.

#include "support/purchaseenvironment.h"
#include "support/salesdata.h"

#include "core/boundquery.h"
#include "core/financialyear.h"
#include "core/storedsum.h"
#include "invoicing/generationstore.h"
#include "invoicing/paymentstore.h"
#include "jobwork/challanstore.h"
#include "jobwork/jobworkreportstore.h"
#include "jobwork/pendingstore.h"
#include "purchase/purchasedashboard.h"
#include "sales/salesdashboard.h"
#include "widgets/dashboard.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <array>
#include <limits>

using namespace testdata;

namespace {

struct Environment : PurchaseEnvironment
{
    Environment() { g_currentFY = "26-27"; createTables(); }
};

QStringList names(const QList<SalesCustomerAmount> &rows)
{
    QStringList out;
    for (const SalesCustomerAmount &r : rows)
        out << r.name + " " + r.amount.text();
    return out;
}

} // namespace

class TestStoredSums : public QObject
{
    Q_OBJECT

private slots:
    void totalsAreWrittenExactly_data()
    {
        QTest::addColumn<qint64>("micros");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("half a paisa up") << qint64(1005000) << 2 << "1.01";
        QTest::newRow("half a paisa down") << qint64(-1005000) << 2 << "-1.01";
        QTest::newRow("less than half") << qint64(-4999) << 2 << "0.00";
        QTest::newRow("quantity") << qint64(1234500) << 3 << "1.235";
        QTest::newRow("whole") << qint64(2500000) << 0 << "3";
    }

    void totalsAreWrittenExactly()
    {
        QFETCH(qint64, micros);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(StoredTotal::fromMicros(micros).text(decimals), text);
    }

    // Figures added in memory: 10,001 x 99,999,999,999.99 =
    // 1,000,099,999,999,899.99, past what Money holds; digits beyond the
    // millionths count exactly (0.0049996 is 0.00, not the 0.01 of its
    // millionths); an invalid figure or a sum past 128 bits gives no total.
    void figuresAddedToATotal()
    {
        StoredTotal largest;
        for (int i = 0; i < 10001; ++i)
            largest += Money::fromPaise(9999999999999);
        QCOMPARE(largest.text(), QString("1000099999999899.99"));
        QVERIFY(!largest.toMoney().isValid());
        StoredTotal more = largest;
        more += Money::fromPaise(1);
        QCOMPARE(more.text(), QString("1000099999999900.00"));

        const auto total = [](const QStringList &figures) {
            StoredTotal t;
            for (const QString &f : figures)
                t += *Decimal::fromText(f);
            return t;
        };
        QCOMPARE(total({"0.0049996"}).text(), QString("0.00"));
        QCOMPARE(total({"0.0049994", "0.0000006"}).text(), QString("0.01"));
        QCOMPARE(total({"1.0000005"}).text(6), QString("1.000001"));
        QCOMPARE(total({"-1.0000005", "0.0000001"}).text(6), QString("-1.000000"));
        QCOMPARE(total({"0.0049996", "0.0049996"}).toDecimal(), *Decimal::fromText("0.0099992"));
        QVERIFY(total({"0.0050001"}) > total({"0.005"}));
        QVERIFY(total({"0.0000001", "-0.0000001"}) == StoredTotal());

        StoredTotal invalid = largest;
        invalid += Money::fromPaise(std::numeric_limits<qint64>::max());
        QVERIFY(!invalid.isValid() && invalid.text().isEmpty());
        StoredTotal past = StoredTotal::fromMicros(std::numeric_limits<__int128>::max() - 1);
        QVERIFY(past.isValid());
        past += Money::fromPaise(1);
        QVERIFY(!past.isValid());
    }

    // A stored figure of 10^15 or more (another program's) is beyond what
    // Money and Decimal hold: never 0. It is shown as stored, is invalid in
    // any sum a form checks, and a total adds it exactly:
    // 10,000,000,000,000,000 + 2.45 = 10,000,000,000,000,002.45.
    void outsizedStoredFiguresShowAndAddAsStored()
    {
        const Money amount = Money::fromStored(1e16);
        const Decimal qty = Decimal::fromStored(-1e16);
        QVERIFY(!amount.isValid() && amount.isOutsized() && !qty.isValid() && qty.isOutsized());
        QCOMPARE(qty.text(3), QString("-10000000000000000.000"));
        QCOMPARE(qty.toMoney().text(), QString("-10000000000000000.00"));
        QCOMPARE(storedDecimalText(1999999999999999.9, 0), QString("2000000000000000"));
        QCOMPARE(threeDecimalText(1e16), QString("10000000000000000.000"));
        QVERIFY(!(amount + Money::fromPaise(1)).isValid() && (amount + Money::fromPaise(1)).text().isEmpty());
        QVERIFY(!(qty + Decimal::whole(1)).isValid() && !qty.isZero() && qty.isNegative());

        StoredTotal total;
        total += amount;
        total += Money::fromStored(2.445);
        QCOMPARE(total.text(), QString("10000000000000002.45"));
        total += qty;
        QCOMPARE(total.text(), QString("2.45"));
        total += Decimal::fromStored(1e21); // no longer added exactly
        QVERIFY(!total.isValid());
        QVERIFY(!StoredTotal::ofStored(qInf()).isValid());
        QVERIFY(!storedTotal(QVariant(1e21)).isValid());
        QCOMPARE(storedTotal(QVariant(1e16)).text(), QString("10000000000000000.00"));
    }

    // A balance of a stored figure: exact as Decimal's own difference for
    // ordinary figures, and as stored beyond them, from either side.
    void balancesOfStoredFigures()
    {
        QCOMPARE(storedBalance(3.0005, {Decimal::whole(1)}).text(4), QString("2.0005"));
        QCOMPARE(storedBalance(10, {Decimal::fromStored(9.995), Decimal(5, 3)}).text(3), QString("0.000"));
        // 10^16 less 2.5 and 0.125: 9,999,999,999,999,997.375.
        QCOMPARE(storedBalance(1e16, {Decimal::fromStored(2.5), Decimal::fromStored(0.125)}).text(3),
                 QString("9999999999999997.375"));
        QCOMPARE(storedBalance(5, {Decimal::fromStored(1e16)}).text(2), QString("-9999999999999995.00"));
        QCOMPARE(storedBalance(1e16, {Decimal::fromStored(1e16)}).text(2), QString("0.00"));
        QVERIFY(!storedBalance(qInf()).isValid() && !storedBalance(1, {Decimal::fromStored(1e21)}).isValid());
        QCOMPARE(storedFigureTooLargeText("Inward No 9/26-27", "Inward Qty", "10000000000000000.000"),
                 QString("Inward No 9/26-27: Inward Qty 10000000000000000.000 is too large to work with: the "
                         "program works exactly only below 1,000,000,000,000,000."));
    }

    // The figure a list shows, read for an export's total: every digit below
    // 10^21; a larger number gives an invalid total, text that is no number
    // none.
    void listedFiguresReadToEveryDigit()
    {
        const auto read = [](const QString &text, bool plainOnly = false) {
            const std::optional<StoredTotal> f = listedFigure(text, plainOnly);
            return !f ? QString("none") : f->isValid() ? f->text(3) : QString("too large");
        };
        const QList<std::array<const char *, 2>> figures{
            {"10000000000000000.00", "10000000000000000.000"}, {" -123456789012345678.5 ", "-123456789012345678.500"},
            {"999999999999999999999.999999", "1000000000000000000000.000"}, {"1.5e16", "15000000000000000.000"},
            {"0.0049996", "0.005"}, {"1000000000000000000000", "too large"}, {"1e21", "too large"},
            {"1e309", "too large"}, {"Inf", "too large"}, {"10000000000000000.0000001", "too large"},
            {"", "none"}, {"  ", "none"}, {"nan", "none"}, {"10 kg", "none"}, {"1,000", "none"}};
        for (const auto &[text, expected] : figures)
            QCOMPARE(read(text), QString(expected));
        QCOMPARE(read("1.5e16", true), QString("none"));
        QCOMPARE(read("-Inf", true), QString("none"));
    }

    void sumsOfAnyCountOfRows_data()
    {
        QTest::addColumn<QString>("values"); // "count x value" joined by ";"
        QTest::addColumn<QString>("sum");
        QTest::newRow("common case") << "3 x 2268.95;1 x -915.78" << "5891.07";
        QTest::newRow("92 largest: fits 64 bits") << "92 x 99999999999.99" << "9199999999999.08";
        QTest::newRow("93 largest: past 64 bits") << "93 x 99999999999.99" << "9299999999999.07";
        QTest::newRow("10001 largest: past ten crore crore") << "10001 x 99999999999.99" << "1000099999999899.99";
        QTest::newRow("negatives past 64 bits") << "100 x -99999999999.99;1 x 0.01" << "-9999999999998.99";
        QTest::newRow("one beyond the bound") << "1 x 10000000000000;1 x 0.05" << "10000000000000.05";
        QTest::newRow("quantities") << "10000 x 999999999.999" << "9999999999990.000";
    }

    void sumsOfAnyCountOfRows()
    {
        QFETCH(QString, values);
        QFETCH(QString, sum);
        Environment e;
        exec("CREATE TABLE figures (v REAL)");
        for (const QString &part : values.split(';')) {
            const QStringList countAndValue = part.split(" x ");
            exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                         "INSERT INTO figures SELECT %2 FROM n")
                     .arg(countAndValue[0], countAndValue[1]));
        }
        const int decimals = int(sum.size() - sum.indexOf('.') - 1);
        // Alone, and grouped and ordered by the sum: the same.
        for (const char *sql : {"SELECT " STORED_SUM("figures:v") " FROM figures",
                                "SELECT " STORED_SUM("figures:v") " AS s FROM figures GROUP BY 1 = 1 ORDER BY s DESC"}) {
            const auto total = firstStoredTotal(sql, {});
            QVERIFY(total);
            QCOMPARE(total->text(decimals), sum);
        }
    }

    void salesDashboardPastSixtyFourBits()
    {
        Environment e;
        const int big = addCustomer("Big Works");
        const int small = addCustomer("Small Works");
        const QString old = QDate::currentDate().addDays(-90).toString("yyyy-MM-dd");
        // 100 x 99,999,999,999.99 = 9,999,999,999,999.00 for Big Works, paid
        // 1,000.00 on one; Small Works 500.50, unpaid.
        QSqlDatabase::database().transaction();
        for (int no = 1; no <= 100; ++no)
            addInvoice({no, "26-27", old, big, 99999999999.99});
        addInvoice({101, "26-27", old, small, 500.50});
        addPayment(1, "26-27", old, 900, 100);
        QSqlDatabase::database().commit();
        QCOMPARE(salesYearValue("26-27")->text(), "10000000000499.50");
        QCOMPARE(salesReceivable("26-27")->text(), "9999999999499.50");
        QCOMPARE(salesUnpaidOver60Days("26-27")->text(), "9999999999499.50");
        QCOMPARE(names(salesTopCustomers("26-27")),
                 QStringList({"Big Works 9999999999999.00", "Small Works 500.50"}));
        QCOMPARE(names(salesOverdueCustomers("26-27")),
                 QStringList({"Big Works 9999999998999.00", "Small Works 500.50"}));
        // The chart's bar of the month, in rupees.
        QSqlQuery bar;
        QVERIFY(execBound(bar, salesChart("26-27").monthSql, {{":fy", "26-27"}, {":from", old}, {":to", old}}));
        QVERIFY(bar.next());
        QCOMPARE(bar.value(0).toDouble(), 10000000000499.50);

        // An invoice of 10,000,000,000,000 written by another program, paid
        // 9,999,999,999,999.50 in two rows: 0.50 still owed.
        addInvoice({102, "26-27", old, small, 10000000000000.0});
        addPayment(102, "26-27", old, 9999999999000.00, 0, small);
        addPayment(102, "26-27", old, 999.00, 0.50, small);
        exec("UPDATE invoice_payments SET payment_ref = 'R1' WHERE invoice_no = 102");
        const PaymentFilter filter{"2020-01-01", "2030-12-31", small, "26-27"};
        QList<PendingInvoice> pending;
        QString error;
        QVERIFY2(queryPendingInvoices(filter, &pending, &error), qPrintable(error));
        QCOMPARE(pending.size(), 2);
        QCOMPARE(pending.last().balance().text(2), "0.50");
        QList<PaymentHistoryRow> history;
        QVERIFY2(queryPaymentHistory(filter, &history, &error), qPrintable(error));
        QCOMPARE(history.size(), 2);
        QCOMPARE(history.first().paymentTotal.text(), "9999999999999.50");
    }

    void purchaseDashboardWithBillsBeyondTheBound()
    {
        Environment e;
        // Two bills of 10,000,000,000,000 written by another program, and one of
        // 0.01: 20,000,000,000,000.01 owed.
        addBill({"B1", isoDaysFromToday(-40), "Far Steel", "Credit", 10000000000000.0});
        addBill({"B2", isoDaysFromToday(-40), "Far Steel", "Credit", 10000000000000.0});
        addBill({"B3", isoDaysFromToday(0), "Near Paint", "Credit", 0.01});
        QCOMPARE(supplierDebt()->text(), "20000000000000.01");
        QCOMPARE(unpaidSuppliersText(unpaidSuppliers()),
                 "1) Far Steel\n    Rs. 20000000000000.00\n2) Near Paint\n    Rs. 0.01\n");
        QCOMPARE(overdueSuppliers().size(), 1);
        QCOMPARE(overdueSuppliers().first().amount.text(), "20000000000000.00");
        QCOMPARE(purchaseMonthSum(QDate::currentDate(), QDate::currentDate())->text(), "0.01");
    }

    void jobWorkListsPastSixtyFourBits()
    {
        Environment e;
        const int customer = addCustomer("Big Works");
        const int item = addItem(customer, "P1", "Plate");
        // Inward 1: 10,000 lines of 999,999,999.999 = 9,999,999,999,990 received;
        // challan 1 delivers 99,999,999,999,999 (written by another program) of it.
        QSqlDatabase::database().transaction();
        for (int i = 0; i < 10000; ++i)
            addInward({1, "26-27", customer, item, 999999999.999});
        addDelivery({1, "26-27", 1, customer, item, 99999999999999.0});
        addDelivery({1, "26-27", 1, customer, item, 0.001});
        QSqlDatabase::database().commit();
        QList<PendingRow> pending;
        QString error;
        QVERIFY2(queryPendingInwards({-1, {}, "26-27", PendingFilter::All}, &pending, &error), qPrintable(error));
        QCOMPARE(pending.size(), 1);
        QCOMPARE(pending[0].received, 9999999999990.0);
        QCOMPARE(pending[0].delivered, 99999999999999.001);

        QList<InvoiceChallanRow> challans;
        QVERIFY2(queryInvoiceChallans(-1, "26-27", PendingFilter::All, &challans, &error), qPrintable(error));
        QCOMPARE(challans.size(), 1);
        QCOMPARE(challans[0].delivered, 99999999999999.001);
        QCOMPARE(challanList(-1, QString(), QString(), "26-27").first().qty, 99999999999999.001);

        QList<DespatchRow> despatch;
        QVERIFY2(queryDespatchDetails({"2026-01-01", "2027-12-31", -1, {}, {}}, &despatch, &error), qPrintable(error));
        QCOMPARE(despatch.size(), 10000);
        QCOMPARE(despatch.first().despatched, 99999999999999.001);
    }

    void aValueNoFigureStopsWithItsTable()
    {
        Environment e;
        addBill({"B1", isoDaysFromToday(-1), "Odd", "Credit", 1e300});
        exec("CREATE TABLE figures (v REAL)");
        exec("INSERT INTO figures VALUES (1e300)");
        QString error;
        QVERIFY(!forEachStoredSumRow("SELECT " STORED_SUM("figures:v") " FROM figures", {}, [](const QSqlQuery &) {},
                                     [] {}, &error));
        QVERIFY2(error.contains("A figure stored in figures is too large to add: 1.0e+300"), qPrintable(error));
        QVERIFY(!supplierDebt());
        QVERIFY(topSuppliers().isEmpty());
    }
};

QTEST_MAIN(TestStoredSums)
#include "tst_storedsums.moc"
