// The invoice store: numbering, challan balances, totals with the GST split,
// the quantity check, saving, the generation list and bins.

#include "support/salesdata.h"
#include "support/testenvironment.h"

#include "invoicing/generationstore.h"
#include "invoicing/invoicecorrections.h"
#include "invoicing/invoicestore.h"

#include <QDate>
#include <QTest>

using namespace testdata;

namespace {

// The invoice rewritten by `invoice`, as a form that loaded it now would.
InvoiceWriteOutcome replaceAsLoaded(const InvoiceWrite &invoice)
{
    LoadedInvoice loaded;
    QString error;
    if (loadInvoice(invoice.number, invoice.fy, &loaded, &error) != LoadResult::Loaded)
        qFatal("invoice %d not loaded: %s", invoice.number, qPrintable(error));
    return replaceInvoice(invoice, loaded.read);
}

// Challan `no` of year `fy` as the generation list reads it now, to be binned.
InvoiceBinTarget asListed(int no, const QString &fy)
{
    QList<InvoiceChallanRow> rows;
    QString error;
    queryInvoiceChallans(-1, "26-27", PendingFilter::All, &rows, &error);
    for (const InvoiceChallanRow &row : rows) {
        if (row.deliveryNo == no && row.fy == fy)
            return {no, fy, row.customerId, row.fullNumber, row.taken};
    }
    qFatal("challan %d not listed: %s", no, qPrintable(error));
}

} // namespace

Q_DECLARE_METATYPE(QtyCheck)

class TestInvoiceStore : public QObject
{
    Q_OBJECT

private:
    TestEnvironment *env = nullptr;
    int customer = 0;
    int itemA = 0;
    int itemB = 0;

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openSalesDatabase(*env));
        customer = addCustomer("Acme");
        itemA = addItem(customer, "A", "Bracket", "NOS", 100, 18);
        itemB = addItem(customer, "B", "Plate", "KGS", 50, 5);
    }

    void cleanup()
    {
        delete env;
        env = nullptr;
    }

    void proposedNumber_data()
    {
        QTest::addColumn<QList<int>>("used");
        QTest::addColumn<int>("proposed");
        QTest::newRow("gap at 4") << QList<int>{1, 2, 3, 5} << 4;
        QTest::newRow("none") << QList<int>{} << 1;
    }

    void proposedNumber()
    {
        QFETCH(QList<int>, used);
        QFETCH(int, proposed);
        for (int no : used)
            addInvoice({no, "26-27"});
        // Other years do not count; a cancelled invoice keeps its number.
        addInvoice({proposed, "25-26"});
        QCOMPARE(nextInvoiceNumber("26-27"), proposed);
        addInvoice({proposed, "26-27", "2026-07-01", customer, 10, 1});
        QVERIFY(nextInvoiceNumber("26-27") != proposed);
    }

    void totals_data()
    {
        QTest::addColumn<QList<double>>("amountsAndRates"); // pairs
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("fields"); // taxable, half, igst, net
        QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("words");

        QTest::newRow("local, two rates") << QList<double>{1000, 18, 500, 5} << "Local Customer"
                                          << QStringList{"1500.00", "102.50", "0.00", "1705"}
                                          << "5% - 12.50 + 12.50 = 25.00\n18% - 90.00 + 90.00 = 180.00\nTotal Tax = 205.00"
                                          << "One Thousand Seven Hundred Five Rupees Only";
        QTest::newRow("IGST customer") << QList<double>{1000, 18, 500, 5} << "IGST Customer"
                                       << QStringList{"1500.00", "0.00", "205.00", "1705"}
                                       << "5% - 25.00\n18% - 180.00\nTotal Tax = 205.00"
                                       << "One Thousand Seven Hundred Five Rupees Only";
        QTest::newRow("type with a trailing blank is local")
            << QList<double>{1000, 18} << "IGST Customer " << QStringList{"1000.00", "90.00", "0.00", "1180"}
            << "18% - 90.00 + 90.00 = 180.00\nTotal Tax = 180.00" << "One Thousand One Hundred Eighty Rupees Only";
        QTest::newRow("same rate summed") << QList<double>{100, 18, 200, 18} << "Local Customer"
                                          << QStringList{"300.00", "27.00", "0.00", "354"}
                                          << "18% - 27.00 + 27.00 = 54.00\nTotal Tax = 54.00"
                                          << "Three Hundred Fifty Four Rupees Only";
        // 35273.50 x 9 % = 3174.615: each half rounded once, the tax their sum.
        QTest::newRow("halves rounded per rate") << QList<double>{35273.5, 18} << "Local Customer"
                                                 << QStringList{"35273.50", "3174.62", "0.00", "41623"}
                                                 << "18% - 3174.62 + 3174.62 = 6349.24\nTotal Tax = 6349.24"
                                                 << "Forty One Thousand Six Hundred Twenty Three Rupees Only";
        // Two rates whose halves round up: 0.025 + 0.285, the net from the rounded heads.
        QTest::newRow("each rate rounded") << QList<double>{0.5, 5, 3.17, 18} << "Local Customer"
                                           << QStringList{"3.67", "0.30", "0.00", "4"}
                                           << "5% - 0.01 + 0.01 = 0.02\n18% - 0.29 + 0.29 = 0.58\nTotal Tax = 0.60"
                                           << "Four Rupees Only";
        QTest::newRow("1704.50 rounds up") << QList<double>{1704.5, 0} << "Local Customer"
                                           << QStringList{"1704.50", "0.00", "0.00", "1705"} << "Total Tax = 0.00"
                                           << "One Thousand Seven Hundred Five Rupees Only";
        // 1000.15 + 704.35 is 1704.4999999999998 as a double: meant as .50.
        QTest::newRow("a half lost in the sum") << QList<double>{1000.15, 0, 704.35, 0} << "Local Customer"
                                                << QStringList{"1704.50", "0.00", "0.00", "1705"} << "Total Tax = 0.00"
                                                << "One Thousand Seven Hundred Five Rupees Only";
        QTest::newRow("negative net away from zero") << QList<double>{-1704.5, 0} << "Local Customer"
                                                     << QStringList{"-1704.50", "0.00", "0.00", "-1705"}
                                                     << "Total Tax = 0.00"
                                                     << "Minus One Thousand Seven Hundred Five Rupees Only";
        // 28 % of 35,714,285,714.29 is 10,000,000,000.0012, near the 10^11 bound.
        QTest::newRow("IGST 28 % near the bound")
            << QList<double>{35714285714.29, 28} << "IGST Customer"
            << QStringList{"35714285714.29", "0.00", "10000000000.00", "45714285714"}
            << "28% - 10000000000.00\nTotal Tax = 10000000000.00"
            << "Four Thousand Five Hundred Seventy One Crore Forty Two Lakh Eighty Five Thousand Seven Hundred "
               "Fourteen Rupees Only";
        QTest::newRow("no lines") << QList<double>{} << "Local Customer" << QStringList{"0.00", "0.00", "0.00", "0"}
                                  << "Total Tax = 0.00" << "Zero Rupees Only";
    }

    void totals()
    {
        QFETCH(QList<double>, amountsAndRates);
        QFETCH(QString, type);
        QFETCH(QStringList, fields);
        QFETCH(QString, details);
        QFETCH(QString, words);
        QList<TaxedAmount> rows;
        for (int i = 0; i + 1 < amountsAndRates.size(); i += 2)
            rows.append({Money::fromStored(amountsAndRates.at(i)), amountsAndRates.at(i + 1)});
        const InvoiceTotals t = computeInvoiceTotals(rows, isIgstCustomer(type));
        QCOMPARE(t.sgst, t.cgst);
        QCOMPARE((QStringList{t.taxable.text(), t.cgst.text(), t.igst.text(), QString::number(t.net)}),
                 fields);
        QCOMPARE(t.taxDetails, details);
        QCOMPARE(t.words, words);
    }

    void typedQuantity_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QtyCheck>("check");
        QTest::addColumn<double>("qty");
        QTest::newRow("within") << "7.5" << QtyCheck::Accepted << 7.5;
        QTest::newRow("the balance") << "10" << QtyCheck::Accepted << 10.0;
        QTest::newRow("above") << "12" << QtyCheck::Exceeds << 10.0;
        QTest::newRow("empty") << "" << QtyCheck::Accepted << 0.0;
        QTest::newRow("negative") << "-1" << QtyCheck::Refused << 0.0;
        QTest::newRow("text") << "abc" << QtyCheck::Refused << 0.0;
        QTest::newRow("nan") << "nan" << QtyCheck::Refused << 0.0;
        QTest::newRow("overflow") << "1e309" << QtyCheck::Refused << 0.0;
    }

    void typedQuantity()
    {
        QFETCH(QString, typed);
        QFETCH(QtyCheck, check);
        QFETCH(double, qty);
        const QtyEdit edit = checkInvoiceQty(typed, 10);
        QCOMPARE(edit.check, check);
        QCOMPARE(edit.qty, qty);
    }

    void numberText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("full") << "12/26-27" << 12;
        QTest::newRow("number alone") << " 12 " << 12;
        QTest::newRow("negative") << "-4/26-27" << 0;
        QTest::newRow("beyond 32 bits") << "4294967297/26-27" << 0;
    }

    void numberText()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(invoiceNumberFromText(text), number);
    }

    void balancesFillLinesInOrder()
    {
        // Challan 5 of 26-27: two lines of A (60, 40), one of B, a deleted line of B.
        addDelivery({5, "26-27", 1, customer, itemA, 60});
        addDelivery({5, "26-27", 1, customer, itemA, 40});
        addDelivery({5, "26-27", 1, customer, itemB, 20});
        addDelivery(Delivery{5, "26-27", 1, customer, itemB, 99}.deleted());
        const int live = addInvoice({1, "26-27"});
        addInvoiceLine(live, 5, itemA, "26-27", 50);
        addInvoiceBin(5, "26-27", itemA, 20);
        // Not counted: a cancelled invoice, a line of the same number in another
        // year and a bin of another challan.
        addInvoiceLine(addInvoice({2, "26-27", "2026-07-01", customer, 1, 1}), 5, itemB, "26-27", 20);
        addInvoiceLine(addInvoice({1, "25-26"}), 5, itemB, "25-26", 20);
        addInvoiceBin(6, "26-27", itemB, 20);

        QList<ChallanLineBalance> lines;
        QString error;
        QVERIFY(challanLineBalances(5, "26-27", &lines, &error));
        QStringList seen;
        for (const ChallanLineBalance &l : lines)
            seen << QString("%1 %2/%3/%4").arg(l.itemCode).arg(l.delivered).arg(l.consumed).arg(l.balance);
        QCOMPARE(seen, QStringList({"A 60/60/0", "A 40/10/30", "B 20/0/20"}));
    }

    void billableLinesAndPoNumbers()
    {
        for (const auto &[no, po] : {std::pair{1, "A1"}, {2, "A1"}, {3, "B2"}, {4, "A"}}) {
            Inward in{no, "26-27", customer, itemA, 10};
            in.poNo = po;
            addInward(in);
            addDelivery({7, "26-27", no, customer, itemA, 1});
        }
        // Challan 8: 0.00005 left on one line, 0.0002 on the other.
        addDelivery({8, "26-27", 9, customer, itemA, 1});
        addDelivery({8, "26-27", 9, customer, itemB, 1});
        const int inv = addInvoice({1, "26-27"});
        addInvoiceLine(inv, 8, itemA, "26-27", 0.99995);
        addInvoiceLine(inv, 8, itemB, "26-27", 0.9998);

        const BillableLines billable = billableChallanLines({8, 7}, "26-27");
        QCOMPARE(billable.poNumbers, QString("A1, B2"));
        QStringList seen;
        for (const InvoiceFormLine &l : billable.lines)
            seen << QString("%1 %2 %3 %4 %5").arg(l.deliveryNo).arg(l.itemCode).arg(l.qty, 0, 'f', 4).arg(l.rate).arg(l.taxPercent);
        QCOMPARE(seen, QStringList({"8 B 0.0002 50 5", "7 A 1.0000 100 18", "7 A 1.0000 100 18", "7 A 1.0000 100 18",
                                    "7 A 1.0000 100 18"}));
    }

    void saveWritesTheLinesWithTheirChallansYear()
    {
        addDelivery({3, "25-26", 1, customer, itemA, 10});
        addDelivery({4, "26-27", 1, customer, itemB, 10});
        InvoiceWrite invoice;
        invoice.number = 12;
        invoice.fy = "26-27";
        invoice.date = "2026-08-14";
        invoice.customerId = customer;
        invoice.subTotal = Money::fromRupees(1500);
        invoice.cgst = Money::fromPaise(10250);
        invoice.sgst = Money::fromPaise(10250);
        invoice.grandTotal = Money::fromRupees(1705);
        invoice.remarks = "A1, B2";
        invoice.lines = {{3, "25-26", itemA, 10, 100, Money::fromRupees(1000), 18},
                         {4, "26-27", itemB, 0, 50, Money(), 5},
                         {4, "26-27", itemB, 10, 50, Money::fromRupees(500), 5}};
        const InvoiceWriteOutcome outcome = saveInvoice(invoice);
        QCOMPARE(outcome.result, WriteResult::Written);
        QCOMPARE(rows("SELECT invoice_no, invoice_no_full, invoice_date, customer_id, sub_total, cgst_amount, sgst_amount, "
                      "igst_amount, grand_total, remarks, fy_name, is_deleted, is_abstract, abstract_content FROM invoices"),
                 QStringList({QString("12|12/26-27|2026-08-14|%1|1500|102.5|102.5|0|1705|A1, B2|26-27|0|0|").arg(customer)}));
        QCOMPARE(rows("SELECT delivery_no, item_id, invoiced_qty, rate, amount, tax_percent, fy_name FROM invoice_items "
                      "ORDER BY inv_item_id"),
                 QStringList({QString("3|%1|10|100|1000|18|25-26").arg(itemA), QString("4|%1|10|50|500|5|26-27").arg(itemB)}));
    }

    void saveIsAllOrNothing()
    {
        addDelivery({1, "26-27", 1, customer, itemA, 2});
        addDelivery({1, "26-27", 1, customer, itemB, 2});
        InvoiceWrite invoice;
        invoice.number = 3;
        invoice.fy = "26-27";
        invoice.customerId = customer;
        invoice.lines = {{1, "26-27", itemA, 0, 100, Money(), 18},
                         {1, "26-27", itemB, -2, 50, Money::fromRupees(-100), 5}};
        QCOMPARE(saveInvoice(invoice).result, WriteResult::NothingToWrite);
        QCOMPARE(count("SELECT COUNT(*) FROM invoices"), 0);

        // A replace that fails keeps the stored invoice and its lines.
        invoice.lines = {{1, "26-27", itemA, 1, 100, Money::fromRupees(100), 18}};
        QCOMPARE(saveInvoice(invoice).result, WriteResult::Written);
        exec("CREATE TRIGGER no_a BEFORE INSERT ON invoice_items BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
        invoice.lines = {{1, "26-27", itemA, 2, 100, Money::fromRupees(200), 18}};
        QCOMPARE(replaceAsLoaded(invoice).result, WriteResult::Failed);
        QCOMPARE(rows("SELECT invoiced_qty FROM invoice_items"), QStringList({"1"}));
    }

    void saveChecksWhatIsOpen_data()
    {
        QTest::addColumn<QList<double>>("qty"); // lines of item A on challan 5/26-27
        QTest::addColumn<QString>("refused");   // the balance named; empty: written
        QTest::newRow("all that is open") << QList<double>{0.2} << "";
        QTest::newRow("two lines share it") << QList<double>{0.1, 0.1004} << "";
        QTest::newRow("above by more than 0.0005") << QList<double>{0.1, 0.1006} << "0.100";
        QTest::newRow("first line above") << QList<double>{0.25} << "0.200";
    }

    // Challan 5/26-27 delivered 0.1 + 0.2 of A; a live invoice billed 0.05 and a
    // bin closed 0.05, so 0.2 is open. A cancelled invoice, another year's line
    // and the invoice being rewritten do not count.
    void saveChecksWhatIsOpen()
    {
        QFETCH(QList<double>, qty);
        QFETCH(QString, refused);
        addDelivery({5, "26-27", 1, customer, itemA, 0.1});
        addDelivery({5, "26-27", 1, customer, itemA, 0.2});
        addInvoiceLine(addInvoice({1, "26-27"}), 5, itemA, "26-27", 0.05);
        addInvoiceBin(5, "26-27", itemA, 0.05);
        addInvoiceLine(addInvoice({2, "26-27", "2026-07-01", customer, 1, 1}), 5, itemA, "26-27", 0.3);
        addInvoiceLine(addInvoice({3, "25-26"}), 5, itemA, "25-26", 0.3);
        addInvoiceLine(addInvoice({7, "26-27"}), 5, itemA, "26-27", 0.2);
        const QStringList before = rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items");

        InvoiceWrite invoice;
        invoice.number = 7;
        invoice.fy = "26-27";
        invoice.customerId = customer;
        for (double q : qty)
            invoice.lines.append({5, "26-27", itemA, q, 100, Money::fromStored(q * 100), 18});
        // Invoice 7 rewritten over its own 0.2; a new invoice 8 finds nothing open.
        const InvoiceWriteOutcome replaced = replaceAsLoaded(invoice);
        invoice.number = 8;
        const InvoiceWriteOutcome saved = saveInvoice(invoice);
        QCOMPARE(saved.result, WriteResult::Failed);
        QVERIFY(saved.overBalance);
        QCOMPARE(saved.error, QString("DC 5/26-27, item A: invoice qty cannot exceed uninvoiced balance (0.000)!\n"
                                      "Another invoice has billed it meanwhile."));
        if (refused.isEmpty()) {
            QCOMPARE(replaced.result, WriteResult::Written);
            QCOMPARE(count("SELECT COUNT(*) FROM invoice_items"), 3 + qty.size());
            return;
        }
        QCOMPARE(replaced.result, WriteResult::Failed);
        QVERIFY(replaced.overBalance);
        QCOMPARE(replaced.error, "DC 5/26-27, item A: invoice qty cannot exceed uninvoiced balance (" + refused
                                     + ")!\nAnother invoice has billed it meanwhile.");
        QCOMPARE(rows("SELECT * FROM invoices") + rows("SELECT * FROM invoice_items"), before);
    }

    void generationStatuses()
    {
        // 10: nothing invoiced; 11: 1.999 of 2; 12: 0.1 + 0.2 + 0.3 invoiced in
        // one line of 0.6; 13: invoiced only by a cancelled invoice; 14: of 25-26,
        // invoiced by a line carrying 26-27; 15: binned whole.
        addDelivery({10, "26-27", 1, customer, itemA, 5});
        addDelivery({11, "26-27", 1, customer, itemA, 2});
        addDelivery({12, "26-27", 1, customer, itemA, 0.1});
        addDelivery({12, "26-27", 1, customer, itemB, 0.2});
        addDelivery({12, "26-27", 1, customer, itemA, 0.3});
        addDelivery({13, "26-27", 1, customer, itemA, 4});
        addDelivery({14, "25-26", 1, customer, itemA, 4});
        addDelivery({15, "25-26", 1, customer, itemA, 4});
        const int live = addInvoice({1, "26-27"});
        addInvoiceLine(live, 11, itemA, "26-27", 1.999);
        addInvoiceLine(live, 12, itemA, "26-27", 0.6); // 0.1 + 0.2 + 0.3 is 0.6000000000000001
        addInvoiceLine(addInvoice({2, "26-27", "2026-07-01", customer, 1, 1}), 13, itemA, "26-27", 4);
        addInvoiceLine(live, 14, itemA, "26-27", 4);
        addInvoiceBin(15, "25-26", itemA, 4);

        QList<InvoiceChallanRow> list;
        QString error;
        QVERIFY(queryInvoiceChallans(-1, "26-27", PendingFilter::All, &list, &error));
        QStringList seen;
        for (const InvoiceChallanRow &r : list)
            seen << r.fullNumber + " " + statusText(r.status());
        QCOMPARE(seen, QStringList({"13/26-27 Pending", "12/26-27 Issued", "11/26-27 Partial", "10/26-27 Pending",
                                    "15/25-26 Issued", "14/25-26 Pending"}));
        QVERIFY(queryInvoiceChallans(-1, "26-27", PendingFilter::Open, &list, &error));
        QCOMPARE(list.size(), 4);
    }

    // Balances are exact decimals: 1.0735 delivered less 0.3 invoiced is
    // 0.7735, "0.774" half away from zero (the binary 0.7734999999999999
    // showed "0.773"), in the lines to bill, the quantity check and its
    // warning, the bins and the list. 10 less 9.9995 is no more than 0.0005
    // (not 0.0005000000000006): Issued.
    void balancesAreExactDecimals()
    {
        addDelivery({30, "26-27", 1, customer, itemA, 1.0735});
        addDelivery({31, "26-27", 1, customer, itemA, 10});
        const int inv = addInvoice({1, "26-27"});
        addInvoiceLine(inv, 30, itemA, "26-27", 0.3);
        addInvoiceLine(inv, 31, itemA, "26-27", 9.9995);

        const BillableLines billable = billableChallanLines({30}, "26-27");
        QCOMPARE(billable.lines.size(), 1);
        QCOMPARE(threeDecimalText(billable.lines.at(0).qty), QString("0.774"));
        QCOMPARE(billable.lines.at(0).amount.text(), QString("77.40")); // 0.774 x 100
        const double balance = billable.lines.at(0).balance;
        QCOMPARE(checkInvoiceQty("0.7735", balance).check, QtyCheck::Accepted);
        QCOMPARE(checkInvoiceQty("0.77350000000000000001", balance).check, QtyCheck::Exceeds);
        QCOMPARE(checkInvoiceQty("1e300", balance).check, QtyCheck::Exceeds);
        QCOMPARE(checkInvoiceQty("1000000000", 1e9).check, QtyCheck::Exceeds);
        QCOMPARE(checkInvoiceQty("999999999.9995", 1e9).check, QtyCheck::Exceeds);
        QCOMPARE(checkInvoiceQty("999999999.999", 999999999.999).check, QtyCheck::Accepted);
        QCOMPARE(qtyExceedsText(balance), QString("Invoice qty cannot exceed uninvoiced balance (0.774)!"));

        QList<InvoiceChallanRow> list;
        QString error;
        QVERIFY(queryInvoiceChallans(-1, "26-27", PendingFilter::All, &list, &error));
        QCOMPARE(list.size(), 2);
        QCOMPARE(statusText(list.at(0).status()), QString("Issued")); // 31
        QCOMPARE(statusText(list.at(1).status()), QString("Partial"));

        QVERIFY(binInvoiceBalances({asListed(30, "26-27")}, QDate(2026, 9, 1)).ok);
        QCOMPARE(value("SELECT binned_qty FROM bins").toDouble(), 0.7735);
        QVERIFY(queryInvoiceChallans(-1, "26-27", PendingFilter::Open, &list, &error));
        QVERIFY(list.isEmpty());
    }

    void binsCloseWhatIsOpen()
    {
        // 20: 100 delivered, 60 invoiced; 21: 10 + 5 of A with 12 invoiced;
        // 22: 0.004 open; 23 of 25-26: nothing invoiced.
        addDelivery({20, "26-27", 3, customer, itemA, 100});
        addDelivery({21, "26-27", 3, customer, itemA, 10});
        addDelivery({21, "26-27", 4, customer, itemA, 5});
        addDelivery({22, "26-27", 3, customer, itemB, 1});
        addDelivery({23, "25-26", 5, customer, itemB, 2});
        const int inv = addInvoice({1, "26-27"});
        addInvoiceLine(inv, 20, itemA, "26-27", 60);
        addInvoiceLine(inv, 21, itemA, "26-27", 12);
        addInvoiceLine(inv, 22, itemB, "26-27", 0.996);

        const BinOutcome outcome = binInvoiceBalances(
            {asListed(20, "26-27"), asListed(21, "26-27"), asListed(22, "26-27"), asListed(23, "25-26")},
            QDate(2026, 9, 1));
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(outcome.written, 3);
        QCOMPARE(rows("SELECT bin_date, bin_type, delivery_no, inward_no, item_id, customer_id, binned_qty, fy_name "
                      "FROM bins ORDER BY bin_id"),
                 QStringList({QString("2026-09-01|INVOICE|20|3|%1|%2|40|26-27").arg(itemA).arg(customer),
                              QString("2026-09-01|INVOICE|21|4|%1|%2|3|26-27").arg(itemA).arg(customer),
                              QString("2026-09-01|INVOICE|23|5|%1|%2|2|25-26").arg(itemB).arg(customer)}));
        QList<InvoiceChallanRow> list;
        QString error;
        // 0.004 stays open in the list (above the quantities' precision) but is
        // too little to bin.
        QVERIFY(queryInvoiceChallans(-1, "26-27", PendingFilter::Open, &list, &error));
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.first().deliveryNo, 22);
        // Binned again: nothing is open, nothing written.
        QCOMPARE(binInvoiceBalances({asListed(20, "26-27")}, QDate(2026, 9, 2)).written, 0);

        // A failing insert writes none of the click's bins.
        addDelivery({24, "26-27", 3, customer, itemA, 1});
        addDelivery({25, "26-27", 3, customer, itemB, 1});
        exec("CREATE TRIGGER no_b BEFORE INSERT ON bins WHEN NEW.item_id = " + QString::number(itemB)
             + " BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
        const BinOutcome failed = binInvoiceBalances({asListed(24, "26-27"), asListed(25, "26-27")}, QDate(2026, 9, 3));
        QVERIFY(!failed.ok);
        QVERIFY(failed.error.contains("refused by test"));
        QCOMPARE(count("SELECT COUNT(*) FROM bins"), 3);
    }
};

QTEST_MAIN(TestInvoiceStore)
#include "tst_invoicestore.moc"
