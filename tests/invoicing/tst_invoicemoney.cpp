// Invoice money to the paisa: the GST heads per rate add up, the net is
// rounded once, and one invoice shows the same figures on the form, in the
// stored row, in the main list, in the GST statement CSV and on the printed
// page. Worked cases through the windows, then random invoices checked
// against a reference in whole paise (through the windows for a few hundred,
// through the store and document functions for thousands).

#include "support/files.h"
#include "support/invoicedata.h"
#include "support/salesdata.h"
#include "support/standintool.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "invoicing/generatinvoices.h"
#include "invoicing/gstheads.h"
#include "invoicing/invoicedocument.h"
#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoiceliststore.h"
#include "invoicing/invoiceprint.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/invoicestore.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTextEdit>
#include <QtTest>

#include <map>
#include <tuple>

using namespace testdata;

namespace {

const QString Fy = "26-27";
const QString Original = "Original for recipient";
const QList<int> Rates = {0, 5, 12, 18, 28};

// Whole paise as two-decimal text.
QString paiseText(qint64 paise)
{
    const QString sign = paise < 0 ? "-" : "";
    const qint64 a = paise < 0 ? -paise : paise;
    return sign + QString("%1.%2").arg(a / 100).arg(a % 100, 2, 10, QChar('0'));
}

// a / b rounded half away from zero, for a >= 0 and b > 0.
qint64 halfUp(qint64 a, qint64 b)
{
    return (2 * a + b) / (2 * b);
}

QString pageText(const QString &html)
{
    static const QRegularExpression tag("<[^>]*>");
    return QString(html).replace(tag, " ").simplified();
}

// The reference: an invoice worked out in whole paise.
struct RefLine
{
    int itemIndex = 0; // the printed order: by item code
    qint64 milliQty = 0;
    qint64 ratePaise = 0;
    int percent = 0;
    qint64 amount() const { return halfUp(milliQty * ratePaise, 1000); }
};

struct RefHeads
{
    std::map<int, qint64> taxable; // per percent
    qint64 total = 0, cgst = 0, sgst = 0, igst = 0;
    std::map<int, qint64> head; // CGST (= SGST), or IGST, per percent
    qint64 tax() const { return cgst + sgst + igst; }
    qint64 netRupees() const { return halfUp(total + tax(), 100); }
};

RefHeads refHeads(const QList<RefLine> &lines, bool igst)
{
    RefHeads h;
    for (const RefLine &l : lines) {
        h.taxable[l.percent] += l.amount();
        h.total += l.amount();
    }
    for (const auto &[percent, taxable] : h.taxable) {
        const qint64 head = halfUp(taxable * percent, igst ? 100 : 200);
        h.head[percent] = head;
        if (igst)
            h.igst += head;
        else
            h.cgst += head, h.sgst += head;
    }
    return h;
}

// The printed totals block: Total Amount, the tax rows, round-off, Grand Total.
QString printedTotals(const RefHeads &page, bool igst, qint64 roundOff, qint64 grandTotal)
{
    QString text = "Total Amount (Rs.) " + paiseText(page.total);
    for (const auto &[percent, head] : page.head) {
        if (percent <= 0)
            continue;
        if (igst) {
            text += QString(" IGST @ %1 % %2").arg(QString::number(percent, 'f', 2), paiseText(head));
        } else {
            const QString half = QString::number(percent * 0.5, 'f', 2);
            text += QString(" CGST @ %1 % %2 SGST @ %1 % %2").arg(half, paiseText(head));
        }
    }
    return text + " Rounded Off (Rs.) " + paiseText(roundOff) + " Grand Total (Rs.) " + paiseText(grandTotal);
}

// What each printed page of an invoice must show.
QStringList printedPages(QList<RefLine> lines, bool igst)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const RefLine &a, const RefLine &b) { return a.itemIndex < b.itemIndex; });
    const RefHeads whole = refHeads(lines, igst);
    const qint64 net = whole.netRupees() * 100;
    QStringList pages;
    for (int from = 0; from < lines.size(); from += InvoiceLinesPerPage) {
        const RefHeads page = refHeads(lines.mid(from, InvoiceLinesPerPage), igst);
        const bool last = from + InvoiceLinesPerPage >= lines.size();
        pages << (last ? printedTotals(page, igst, net - whole.total - whole.tax(), net)
                       : printedTotals(page, igst, 0, page.total));
    }
    return pages;
}

// The six list and CSV figures: base, CGST, SGST, IGST, tax, net.
QStringList listFigures(const RefHeads &h)
{
    return {paiseText(h.total), paiseText(h.cgst), paiseText(h.sgst), paiseText(h.igst), paiseText(h.tax()),
            paiseText(h.netRupees() * 100)};
}

QString storedFigures(const RefHeads &h)
{
    const auto real = [](qint64 paise) { return QString::number(double(paise) / 100.0, 'g', 15); };
    return QStringList{real(h.total), real(h.cgst), real(h.sgst), real(h.igst), real(h.netRupees() * 100)}.join('|');
}

QStringList storedRow(int invoiceNo)
{
    const QStringList row = rows(QString("SELECT sub_total, cgst_amount, sgst_amount, igst_amount, grand_total "
                                         "FROM invoices WHERE invoice_no = %1 AND fy_name = '%2'")
                                     .arg(invoiceNo)
                                     .arg(Fy));
    return row;
}

QString asStored(const QString &row)
{
    // SQLite prints 444.0 for a whole REAL; the reference prints 444.
    QStringList fields = row.split('|');
    for (QString &f : fields)
        f = QString::number(f.toDouble(), 'g', 15);
    return fields.join('|');
}

} // namespace

class TestInvoiceMoney : public QObject
{
    Q_OBJECT

    TestEnvironment *env = nullptr;
    int local = 0;
    int interstate = 0;

    QString field(QWidget *form, const char *name) const
    {
        if (auto *edit = form->findChild<QLineEdit *>(name))
            return edit->text();
        return child<QTextEdit>(form, name)->toPlainText();
    }

    QStringList formTotals(QWidget *form) const
    {
        return {field(form, "base_AmountEdit"), field(form, "cgstEdit"), field(form, "sgstEdit"),
                field(form, "igstEdit"), field(form, "netTotalEdit")};
    }

    invoiceGSTmainList *openList() const
    {
        auto *w = new invoiceGSTmainList;
        w->show();
        child<QDateEdit>(w, "fromdateEdit")->setDate(QDate(2020, 4, 1));
        child<QDateEdit>(w, "todateEdit")->setDate(QDate::currentDate().addYears(1));
        click(w, "show_btn");
        return w;
    }

    // The list rows by full number: base .. net.
    QHash<QString, QStringList> listRows(invoiceGSTmainList *w) const
    {
        auto *t = child<QTableWidget>(w, "invoice_list");
        QHash<QString, QStringList> shown;
        for (int r = 0; r < t->rowCount(); ++r)
            shown.insert(tableCell(t, r, 2), rowTexts(t, r).mid(6, 6));
        return shown;
    }

    // The GST statement's rows by full number: base .. net, and its TOTAL line.
    QHash<QString, QStringList> csvRows(invoiceGSTmainList *w, QStringList *total) const
    {
        const QString path = env->folder() + "/gst.csv";
        QFile::remove(path);
        env->desktop.saveFileAnswers.enqueue(path);
        click(w, "print_statement");
        QHash<QString, QStringList> shown;
        for (const QStringList &line : readCsv(QString::fromUtf8(fileBytes(path)))) {
            if (line.size() == 11 && line.value(1).endsWith("/" + Fy))
                shown.insert(line.value(1), line.mid(5, 6));
            if (line.value(0) == "TOTAL")
                *total = line.mid(5, 6);
        }
        return shown;
    }

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openSalesDatabase(*env));
        g_currentFY = Fy;
        local = addCustomer("Acme Local", {"12 Main Road", "Pune", "27AAAAA0000A1Z5"});
        CustomerDetails other{"4 Ring Road", "Surat", "24BBBBB0000B1Z5"};
        other.type = "IGST Customer";
        interstate = addCustomer("Beta Interstate", other);
        setCompany("Morvel Coats", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5", "");
    }

    void cleanup()
    {
        delete env;
        env = nullptr;
    }

    // One line billed through the form and saved; the same figures in the
    // stored row, the main list, the CSV and on the printed page.
    void oneFigureEverywhere_data()
    {
        QTest::addColumn<double>("delivered");
        QTest::addColumn<QString>("typedQty"); // empty: the balance stays
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("igst");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QStringList>("figures"); // base, CGST, SGST, IGST, tax, net
        QTest::addColumn<QString>("roundOff");
        QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("words");

        // 376.50 x 9 % = 33.885: each half 33.89, not 33.88 of the rounded sum.
        QTest::newRow("376.50 at 18 %")
            << 1.0 << "" << 376.50 << 18 << false << "376.50"
            << QStringList{"376.50", "33.89", "33.89", "0.00", "67.78", "444.00"} << "-0.28"
            << "18% - 33.89 + 33.89 = 67.78\nTotal Tax = 67.78" << "Four Hundred Forty Four Rupees Only";
        // 958162.89 x 14 % = 134142.8046; 958162.89 + 268285.60 = 1226448.49.
        QTest::newRow("958,162.89 at 28 %")
            << 1.0 << "" << 958162.89 << 28 << false << "958162.89"
            << QStringList{"958162.89", "134142.80", "134142.80", "0.00", "268285.60", "1226448.00"} << "-0.49"
            << "28% - 134142.80 + 134142.80 = 268285.60\nTotal Tax = 268285.60"
            << "Twelve Lakh Twenty Six Thousand Four Hundred Forty Eight Rupees Only";
        // 142.625 x 7.64 = 1089.655 exactly: 1089.66; 9 % of it 98.0694.
        QTest::newRow("142.625 x 7.64 typed")
            << 200.0 << "142.625" << 7.64 << 18 << false << "1089.66"
            << QStringList{"1089.66", "98.07", "98.07", "0.00", "196.14", "1286.00"} << "0.20"
            << "18% - 98.07 + 98.07 = 196.14\nTotal Tax = 196.14" << "One Thousand Two Hundred Eighty Six Rupees Only";
        // 5 % of 25.90 = 1.295 exactly: 1.30.
        QTest::newRow("IGST 5 % of 25.90")
            << 1.0 << "" << 25.90 << 5 << true << "25.90"
            << QStringList{"25.90", "0.00", "0.00", "1.30", "1.30", "27.00"} << "-0.20" << "5% - 1.30\nTotal Tax = 1.30"
            << "Twenty Seven Rupees Only";
        // 3 x 33.335 = 100.005: 100.01; 6 % of it 6.0006.
        QTest::newRow("3 x 33.335 at 12 %")
            << 3.0 << "" << 33.335 << 12 << false << "100.01"
            << QStringList{"100.01", "6.00", "6.00", "0.00", "12.00", "112.00"} << "-0.01"
            << "12% - 6.00 + 6.00 = 12.00\nTotal Tax = 12.00" << "One Hundred Twelve Rupees Only";
        // 1.005 x 1 = 1.01 at no tax: no tax line.
        QTest::newRow("1.005 x 1 at 0 %") << 1.005 << "" << 1.0 << 0 << false << "1.01"
                                          << QStringList{"1.01", "0.00", "0.00", "0.00", "0.00", "1.00"} << "-0.01"
                                          << "Total Tax = 0.00" << "One Rupees Only";
    }

    void oneFigureEverywhere()
    {
        QFETCH(double, delivered);
        QFETCH(QString, typedQty);
        QFETCH(double, rate);
        QFETCH(int, percent);
        QFETCH(bool, igst);
        QFETCH(QString, amount);
        QFETCH(QStringList, figures);
        QFETCH(QString, roundOff);
        QFETCH(QString, details);
        QFETCH(QString, words);

        const int customer = igst ? interstate : local;
        const int item = addItem(customer, "P-1", "Plate", "NOS", rate, percent);
        addInward({1, Fy, customer, item, delivered});
        addDelivery({1, Fy, 1, customer, item, delivered});

        auto *form = new invoicesandlist;
        form->setDeliveryData({1}, customer, "from the list", Fy);
        auto *table = child<QTableWidget>(form, "invoice_table");
        if (!typedQty.isEmpty())
            table->item(0, 5)->setText(typedQty);
        QCOMPARE(tableCell(table, 0, 8), amount);
        QCOMPARE(formTotals(form), (QStringList{figures[0], figures[1], figures[2], figures[3], figures[5]}));
        QCOMPARE(field(form, "tax_detailsEdit"), details);
        QCOMPARE(field(form, "rupeesEdit"), words);
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
        delete form;

        // Stored as the two-decimal figures shown.
        // quote() gives the shortest text of a REAL: a two-decimal value reads back as written.
        QCOMPARE(rows("SELECT quote(amount) FROM invoice_items"), QStringList{QString::number(amount.toDouble(), 'g', 15)});
        QStringList stored;
        for (int i : {0, 1, 2, 3, 5})
            stored << QString::number(figures[i].toDouble(), 'g', 15);
        QCOMPARE(asStored(storedRow(1).value(0)), stored.join('|'));

        invoiceGSTmainList *list = openList();
        QCOMPARE(listRows(list).value("1/26-27"), figures);
        QStringList csvTotal;
        QCOMPARE(csvRows(list, &csvTotal).value("1/26-27"), figures);
        QCOMPARE(csvTotal, figures);

        StandInTool tool(env->folder());
        printInvoice(1, Original, Fy, nullptr);
        QCOMPARE(tool.htmlGiven().size(), 1);
        const QString page = pageText(tool.htmlGiven().first());
        QString rows = "Total Amount (Rs.) " + figures[0];
        if (percent > 0) {
            const QString p2 = QString::number(percent, 'f', 2), p1 = QString::number(percent * 0.5, 'f', 2);
            rows += igst ? QString(" IGST @ %1 % %2").arg(p2, figures[3])
                         : QString(" CGST @ %1 % %2 SGST @ %1 % %3").arg(p1, figures[1], figures[2]);
        }
        rows += " Rounded Off (Rs.) " + roundOff + " Grand Total (Rs.) " + figures[5];
        QVERIFY2(page.contains(rows), qPrintable(page));
        QVERIFY(page.contains(words));
    }

    // A line of an item with a negative rate lowers its rate's tax: the tax
    // details list it and add up to the fields. 1000.00 x 9 % = 90.00 and
    // -100.00 x 2.5 % = -2.50 each half: CGST = SGST = 87.50, tax 175.00,
    // net 900.00 + 175.00 = 1075.
    void negativeLineInTheTaxDetails_data()
    {
        QTest::addColumn<bool>("igst");
        QTest::addColumn<QStringList>("fields"); // base, CGST, SGST, IGST, net
        QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("printed");
        QTest::newRow("local") << false << QStringList{"900.00", "87.50", "87.50", "0.00", "1075.00"}
                               << "5% - -2.50 + -2.50 = -5.00\n18% - 90.00 + 90.00 = 180.00\nTotal Tax = 175.00"
                               << "CGST @ 2.50 % -2.50 SGST @ 2.50 % -2.50 CGST @ 9.00 % 90.00 SGST @ 9.00 % 90.00";
        QTest::newRow("IGST") << true << QStringList{"900.00", "0.00", "0.00", "175.00", "1075.00"}
                              << "5% - -5.00\n18% - 180.00\nTotal Tax = 175.00"
                              << "IGST @ 5.00 % -5.00 IGST @ 18.00 % 180.00";
    }

    void negativeLineInTheTaxDetails()
    {
        QFETCH(bool, igst);
        QFETCH(QStringList, fields);
        QFETCH(QString, details);
        QFETCH(QString, printed);
        const int customer = igst ? interstate : local;
        for (const auto &[code, rate, percent] : {std::tuple{"P-1", 1000.0, 18}, std::tuple{"P-2", -100.0, 5}}) {
            const int item = addItem(customer, code, "Plate", "NOS", rate, percent);
            addInward({1, Fy, customer, item, 1});
            addDelivery({1, Fy, 1, customer, item, 1});
        }
        auto *form = new invoicesandlist;
        form->setDeliveryData({1}, customer, "from the list", Fy);
        QCOMPARE(formTotals(form), fields);
        QCOMPARE(field(form, "tax_detailsEdit"), details);
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
        delete form;

        StandInTool tool(env->folder());
        printInvoice(1, Original, Fy, nullptr);
        const QString page = pageText(tool.htmlGiven().value(0));
        QVERIFY2(page.contains("Total Amount (Rs.) 900.00 " + printed + " Rounded Off (Rs.) 0.00 Grand Total (Rs.) 1075.00"),
                 qPrintable(page));
    }

    // A rate or challan quantity with a fourth decimal, from generation to
    // the printed page: its three-decimal text rounded half away from zero
    // from the decimal, and the amount that text times the other, once.
    void fourthDecimalsEverywhere_data()
    {
        QTest::addColumn<double>("delivered");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("igst");
        QTest::addColumn<QStringList>("shown");   // qty, rate, amount on the form
        QTest::addColumn<QStringList>("figures"); // base, CGST, SGST, IGST, tax, net
        QTest::addColumn<QString>("stored");      // qty|rate|amount
        QTest::addColumn<QString>("printed");     // qty (two decimals), UOM, rate, amount

        // 1000 x 1.235 = 1235.00; 9 % of it 111.15; 1235.00 + 222.30 = 1457.30.
        QTest::newRow("rate 1.2345") << 1000.0 << 1.2345 << 18 << false
                                     << QStringList{"1000.000", "1.235", "1235.00"}
                                     << QStringList{"1235.00", "111.15", "111.15", "0.00", "222.30", "1457.00"}
                                     << "1000.0|1.235|1235.0" << "1000.00 NOS 1.235 1235.00";
        // 2.001 x 1000 = 2001.00; 2.5 % of it 50.025: 50.03 each; 2101.06.
        QTest::newRow("quantity 2.0005") << 2.0005 << 1000.0 << 5 << false
                                         << QStringList{"2.001", "1000.000", "2001.00"}
                                         << QStringList{"2001.00", "50.03", "50.03", "0.00", "100.06", "2101.00"}
                                         << "2.001|1000.0|2001.0" << "2.00 NOS 1000.000 2001.00";
        // 1.001 x 1000.001 = 1001.001001: 1001.00; 12 % of it 120.12.
        QTest::newRow("both 1.0005 and 1000.0005") << 1.0005 << 1000.0005 << 12 << true
                                                   << QStringList{"1.001", "1000.001", "1001.00"}
                                                   << QStringList{"1001.00", "0.00", "0.00", "120.12", "120.12", "1121.00"}
                                                   << "1.001|1000.001|1001.0" << "1.00 NOS 1000.001 1001.00";
        // 4 x 0.013 = 0.052: 0.05, at no tax.
        QTest::newRow("rate 0.0125") << 4.0 << 0.0125 << 0 << false << QStringList{"4.000", "0.013", "0.05"}
                                     << QStringList{"0.05", "0.00", "0.00", "0.00", "0.00", "0.00"}
                                     << "4.0|0.013|0.05" << "4.00 NOS 0.013 0.05";
    }

    void fourthDecimalsEverywhere()
    {
        QFETCH(double, delivered);
        QFETCH(double, rate);
        QFETCH(int, percent);
        QFETCH(bool, igst);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, figures);
        QFETCH(QString, stored);
        QFETCH(QString, printed);

        const int customer = igst ? interstate : local;
        const int item = addItem(customer, "P-1", "Plate", "NOS", rate, percent);
        addInward({1, Fy, customer, item, delivered});
        addDelivery({1, Fy, 1, customer, item, delivered});

        // Generation lists the challan's quantity and the rate as the form will.
        generatInvoices generation;
        auto *challans = child<QTableWidget>(&generation, "gen_invoice_table");
        QCOMPARE(challans->rowCount(), 1);
        QCOMPARE(tableCell(challans, 0, 5), shown[0]);
        challans->setCurrentCell(0, 2);
        const QStringList viewed = rowTexts(child<QTableWidget>(&generation, "viewing_table"), 0);
        QCOMPARE((QStringList{viewed.value(2), viewed.value(4), viewed.value(6)}),
                 (QStringList{shown[0], shown[0], shown[1]}));
        challans->cellWidget(0, 0)->findChild<QCheckBox *>()->setChecked(true);
        click(&generation, "proceed_inv_btn");
        QCOMPARE(topLevelWindows<invoicesandlist>().size(), 1);
        invoicesandlist *form = topLevelWindows<invoicesandlist>().first();
        auto *table = child<QTableWidget>(form, "invoice_table");
        QCOMPARE((QStringList{tableCell(table, 0, 5), tableCell(table, 0, 7), tableCell(table, 0, 8)}), shown);
        QCOMPARE(formTotals(form), (QStringList{figures[0], figures[1], figures[2], figures[3], figures[5]}));
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
        delete form;

        QCOMPARE(rows("SELECT quote(invoiced_qty) || '|' || quote(rate) || '|' || quote(amount) FROM invoice_items"),
                 QStringList{stored});
        invoiceGSTmainList *list = openList();
        QCOMPARE(listRows(list).value("1/26-27"), figures);
        QStringList csvTotal;
        QCOMPARE(csvRows(list, &csvTotal).value("1/26-27"), figures);
        delete list;

        StandInTool tool(env->folder());
        printInvoice(1, Original, Fy, nullptr);
        QCOMPARE(tool.htmlGiven().size(), 1);
        const QString page = pageText(tool.htmlGiven().first());
        QVERIFY2(page.contains(printed), qPrintable(page));
        QVERIFY2(page.contains("Total Amount (Rs.) " + figures[0]), qPrintable(page));
    }

    // Pasted texts are rounded once from all their digits; a line or total
    // that does not fit is refused, with nothing stored.
    void longTextsAndFiguresTooLarge()
    {
        const int plate = addItem(local, "P-1", "Plate", "NOS", 1000, 18);
        const int huge = addItem(local, "H-1", "Hull", "NOS", 99999999999.99, 18);
        addInward({1, Fy, local, plate, 2});
        addInward({2, Fy, local, huge, 100});
        addDelivery({1, Fy, 1, local, plate, 2});
        addDelivery({2, Fy, 2, local, huge, 100});

        auto *form = new invoicesandlist;
        form->setDeliveryData({1, 2}, local, "from the list", Fy);
        auto *table = child<QTableWidget>(form, "invoice_table");
        QCOMPARE(columnTexts(table, 2), QStringList({"P-1", "H-1"}));
        // 100 x 99,999,999,999.99 is past 10^11 rupees: no save.
        const QString rowTooLarge("Figure Too Large|Amount of row 2 is too large: at most 99,999,999,999.99");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), rowTooLarge);
        QCOMPARE(rows("SELECT COUNT(*) FROM invoices"), QStringList{"0"});
        // A valid quantity typed on the first line: the warning resets the
        // second line, which is too large, and keeps what was typed.
        table->item(0, 5)->setText("1");
        QCOMPARE(env->desktop.lastShown(), rowTooLarge);
        QCOMPARE((QStringList{tableCell(table, 0, 5), tableCell(table, 0, 8)}), (QStringList{"1", "1000.00"}));
        QCOMPARE((QStringList{tableCell(table, 1, 5), tableCell(table, 1, 8)}), (QStringList{"0.000", "0.00"}));

        // 2 x 99,999,999,999.99 neither: the quantity is put back to 0.
        table->item(1, 5)->setText("2");
        QCOMPARE(env->desktop.lastShown(), rowTooLarge);
        QCOMPARE((QStringList{tableCell(table, 1, 5), tableCell(table, 1, 8)}), (QStringList{"0.000", "0.00"}));
        // 0.9 x 99,999,999,999.99 = 89,999,999,999.991 fits, but with the
        // 1000.00 of the first line and 18 % on both the total,
        // 90,000,000,999.99 + 2 x 8,100,000,090.00 = 106,200,001,179.99, does not.
        table->item(1, 5)->setText("0.9");
        QCOMPARE(env->desktop.lastShown(), QString("Figure Too Large|Net Total is too large: at most 99,999,999,999.99"));
        QCOMPARE(tableCell(table, 1, 5), QString("0.000"));
        // 0.8 x 99,999,999,999.99 = 79,999,999,999.992 and 1000.00: 9 % of
        // 80,000,000,999.99 is 7,200,000,089.9991, and the total 94,400,001,179.99.
        table->item(1, 5)->setText("0.8");
        QCOMPARE(tableCell(table, 1, 8), QString("79999999999.99"));
        QCOMPARE(formTotals(form), (QStringList{"80000000999.99", "7200000090.00", "7200000090.00", "0.00",
                                                "94400001180.00"}));
        table->item(1, 5)->setText("0");

        // 1.00000499999999999999 x 1000 = 1000.00499999999999999: 1000.00.
        table->item(0, 5)->setText("1.00000499999999999999");
        QCOMPARE(tableCell(table, 0, 8), QString("1000.00"));
        QCOMPARE(formTotals(form), (QStringList{"1000.00", "90.00", "90.00", "0.00", "1180.00"}));
        // A total overtyped beyond the money bound is refused by its caption.
        child<QLineEdit>(form, "sgstEdit")->setText("1e11");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Figure Too Large|SGST is too large: at most 99,999,999,999.99"));
        QCOMPARE(rows("SELECT COUNT(*) FROM invoices"), QStringList{"0"});
        // A total overtyped with a long text is stored rounded once: 90.00.
        child<QLineEdit>(form, "sgstEdit")->setText("90.00499999999999999");
        click(form, "save_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice 1/26-27 saved!"));
        delete form;
        QCOMPARE(asStored(storedRow(1).value(0)), QString("1000|90|90|0|1180"));
        QCOMPARE(rows("SELECT quote(amount) FROM invoice_items"), QStringList{"1000.0"});
    }

    // Random invoices through the windows: the form's figures, the stored
    // rows, the list, the CSV and the printed pages agree with the
    // reference and with each other.
    void randomInvoicesThroughTheWindows()
    {
        QRandomGenerator random(20261207);
        const int invoices = 200;
        struct Item
        {
            int id;
            qint64 ratePaise;
            int percent;
        };
        QList<Item> items;
        exec("BEGIN");
        for (int i = 0; i < 40; ++i) {
            const qint64 ratePaise = 1 + random.bounded(2000000);
            const int percent = Rates.at(random.bounded(Rates.size()));
            const int id = addItem(local, QString("I-%1").arg(i, 3, 10, QChar('0')), "Part", "NOS",
                                   ratePaise / 100.0, percent);
            items.append({id, ratePaise, percent});
            addInward({1, Fy, local, id, 1e9});
        }
        QList<QList<RefLine>> lines(invoices);
        QList<bool> igst(invoices);
        for (int n = 0; n < invoices; ++n) {
            igst[n] = random.bounded(2) == 1;
            // Mostly one page; one in ten over two.
            const int count = random.bounded(10) == 0 ? 23 + random.bounded(8) : 1 + random.bounded(12);
            QList<int> picked;
            while (picked.size() < count) {
                const int i = random.bounded(items.size());
                if (!picked.contains(i))
                    picked << i;
            }
            for (int i : picked) {
                const qint64 milli = 1 + random.bounded(999999);
                addDelivery({n + 1, Fy, 1, igst[n] ? interstate : local, items[i].id, milli / 1000.0});
                lines[n].append({i, milli, items[i].ratePaise, items[i].percent});
            }
        }
        exec("COMMIT");

        for (int n = 0; n < invoices; ++n) {
            const RefHeads h = refHeads(lines[n], igst[n]);
            auto *form = new invoicesandlist;
            form->setDeliveryData({n + 1}, igst[n] ? interstate : local, "", Fy);
            const QStringList expected{paiseText(h.total), paiseText(h.cgst), paiseText(h.sgst), paiseText(h.igst),
                                       paiseText(h.netRupees() * 100)};
            QCOMPARE(formTotals(form), expected);
            // The tax details: each rate's heads and their sum, then the sum of the lines.
            QString details;
            for (const auto &[percent, head] : h.head) {
                if (head == 0)
                    continue;
                details += igst[n] ? QString("%1% - %2\n").arg(percent).arg(paiseText(head))
                                   : QString("%1% - %2 + %2 = %3\n").arg(percent).arg(paiseText(head), paiseText(2 * head));
            }
            QCOMPARE(field(form, "tax_detailsEdit"), details + "Total Tax = " + paiseText(h.tax()));
            click(form, "save_btn");
            QCOMPARE(env->desktop.lastShown(), QString("Success|Invoice %1/26-27 saved!").arg(n + 1));
            delete form;
        }

        invoiceGSTmainList *list = openList();
        const QHash<QString, QStringList> listed = listRows(list);
        QStringList csvTotal;
        const QHash<QString, QStringList> exported = csvRows(list, &csvTotal);
        qint64 sums[6] = {};
        for (int n = 0; n < invoices; ++n) {
            const RefHeads h = refHeads(lines[n], igst[n]);
            const QString number = QString("%1/26-27").arg(n + 1);
            QCOMPARE(asStored(storedRow(n + 1).value(0)), storedFigures(h));
            QCOMPARE(listed.value(number), listFigures(h));
            QCOMPARE(exported.value(number), listFigures(h));
            const QStringList pages = buildInvoicePages(n + 1, Original, Fy);
            const QStringList expectedPages = printedPages(lines[n], igst[n]);
            QCOMPARE(pages.size(), expectedPages.size());
            for (int p = 0; p < pages.size(); ++p)
                QVERIFY2(pageText(pages[p]).contains(expectedPages[p]), qPrintable(number + ": " + expectedPages[p]));
            const qint64 each[6] = {h.total, h.cgst, h.sgst, h.igst, h.tax(), h.netRupees() * 100};
            for (int i = 0; i < 6; ++i)
                sums[i] += each[i];
        }
        QStringList total;
        for (qint64 s : sums)
            total << paiseText(s);
        QCOMPARE(csvTotal, total);
        QCOMPARE((QStringList{child<QLabel>(list, "tot_tax_lbl")->text(), child<QLabel>(list, "tot_net_lbl")->text()}),
                 (QStringList{total[4], total[5]}));

        // A few through the printer itself.
        StandInTool tool(env->folder());
        int printed = 0;
        for (int n = 0; n < invoices && printed < 3; ++n) {
            if (lines[n].size() <= InvoiceLinesPerPage)
                continue;
            const int before = tool.htmlGiven().size();
            printInvoice(n + 1, Original, Fy, nullptr);
            const QStringList given = tool.htmlGiven().mid(before);
            const QStringList expectedPages = printedPages(lines[n], igst[n]);
            QCOMPARE(given.size(), expectedPages.size());
            for (int p = 0; p < given.size(); ++p)
                QVERIFY(pageText(given[p]).contains(expectedPages[p]));
            ++printed;
        }
        QCOMPARE(printed, 3);
    }

    // Thousands of random invoices through the form's computation and the
    // printed pages; one in eight also saved, listed, exported and read back
    // for printing.
    void randomInvoicesThroughTheStore()
    {
        QRandomGenerator random(7031);
        const int invoices = 4000;
        const int savedEvery = 8;
        QList<QList<RefLine>> lines(invoices);
        QList<bool> igst(invoices);
        QList<int> itemIds;
        QList<int> percents;
        exec("BEGIN");
        for (int i = 0; i < 30; ++i) {
            percents << Rates.at(i % Rates.size());
            itemIds << addItem(local, QString("S-%1").arg(i, 3, 10, QChar('0')), "Part", "NOS", 1, percents.last());
        }
        for (int n = 0; n < invoices; ++n) {
            igst[n] = random.bounded(3) == 0;
            const int count = random.bounded(40) == 0 ? 23 + random.bounded(6) : 1 + random.bounded(8);
            QList<int> picked;
            while (picked.size() < count) {
                const int i = random.bounded(itemIds.size());
                if (!picked.contains(i))
                    picked << i;
            }
            for (int i : picked) {
                const qint64 milli = 1 + random.bounded(99999999);
                const qint64 rate = 1 + random.bounded(500000);
                if (n % savedEvery == 0)
                    addDelivery({n + 1, Fy, 1, local, itemIds[i], milli / 1000.0});
                lines[n].append({i, milli, rate, percents[i]});
            }
        }
        exec("COMMIT");

        for (int n = 0; n < invoices; ++n) {
            QList<TaxedAmount> taxed;
            InvoiceWrite write;
            write.number = n + 1;
            write.fy = Fy;
            write.date = "2026-07-01";
            write.customerId = igst[n] ? interstate : local;
            InvoicePrintData print;
            print.customerType = igst[n] ? "IGST Customer" : "Local Customer";
            for (const RefLine &l : lines[n]) {
                const double qty = l.milliQty / 1000.0, rate = l.ratePaise / 100.0;
                const Money amount = billableLineAmount(qty, rate);
                QCOMPARE(amount.paise(), l.amount());
                taxed.append({amount, double(l.percent)});
                write.lines.append({n + 1, Fy, itemIds[l.itemIndex], qty, rate, amount, double(l.percent)});
                InvoicePrintLine printed;
                printed.itemCode = QString("S-%1").arg(l.itemIndex, 3, 10, QChar('0'));
                printed.amount = amount;
                printed.taxPercent = l.percent;
                print.lines.append(printed);
            }
            const InvoiceTotals totals = computeInvoiceTotals(taxed, igst[n]);
            const RefHeads h = refHeads(lines[n], igst[n]);
            // Heads per rate add up to the invoice's, the net is rounded once.
            const GstHeads heads = gstHeads(taxed, igst[n]);
            Money perRate;
            for (const RateHeads &rate : heads.rates) {
                QCOMPARE(rate.cgst, rate.sgst);
                QCOMPARE(rate.tax().paise(), igst[n] ? h.head.at(int(rate.percent)) : 2 * h.head.at(int(rate.percent)));
                perRate += rate.tax();
            }
            QCOMPARE(perRate, totals.cgst + totals.sgst + totals.igst);
            QCOMPARE((QList<qint64>{totals.taxable.paise(), totals.cgst.paise(), totals.sgst.paise(),
                                    totals.igst.paise(), totals.net}),
                     (QList<qint64>{h.total, h.cgst, h.sgst, h.igst, h.netRupees()}));
            write.subTotal = print.subTotal = totals.taxable;
            write.cgst = print.cgst = totals.cgst;
            write.sgst = print.sgst = totals.sgst;
            write.igst = print.igst = totals.igst;
            write.grandTotal = Money::fromRupees(totals.net);

            // The printed pages of what is stored, in the printout's order.
            std::stable_sort(print.lines.begin(), print.lines.end(),
                             [](const InvoicePrintLine &a, const InvoicePrintLine &b) { return a.itemCode < b.itemCode; });
            const QList<InvoicePage> pages = invoicePages(print, Original, "", "");
            const QStringList expected = printedPages(lines[n], igst[n]);
            QCOMPARE(pages.size(), expected.size());
            QCOMPARE(pages.last().grandTotal, write.grandTotal);
            for (int p = 0; p < pages.size(); ++p)
                QVERIFY2(pageText(buildInvoicePageHtml(pages[p])).contains(expected[p]), qPrintable(expected[p]));

            if (n % savedEvery == 0)
                QCOMPARE(saveInvoice(write).result, WriteResult::Written);
        }

        InvoiceListFilter filter;
        filter.currentFy = Fy;
        QList<InvoiceListRow> listed;
        QString error;
        QVERIFY2(queryInvoiceList(filter, &listed, &error), qPrintable(error));
        QCOMPARE(listed.size(), (invoices + savedEvery - 1) / savedEvery);
        const QList<QStringList> csv = gstStatementRows(listed);
        qint64 net = 0;
        for (int r = 0; r < listed.size(); ++r) {
            const int n = listed[r].invoiceNo - 1;
            const RefHeads h = refHeads(lines[n], igst[n]);
            QCOMPARE(csv[r].mid(5, 6), listFigures(h));
            QCOMPARE(asStored(storedRow(n + 1).value(0)), storedFigures(h));
            net += h.netRupees() * 100;
            InvoicePrintData print;
            QVERIFY(readInvoiceForPrint(n + 1, Fy, &print));
            const QList<InvoicePage> pages = invoicePages(print, Original, "", "");
            const QStringList expected = printedPages(lines[n], igst[n]);
            QCOMPARE(pages.size(), expected.size());
            for (int p = 0; p < pages.size(); ++p)
                QVERIFY2(pageText(buildInvoicePageHtml(pages[p])).contains(expected[p]), qPrintable(expected[p]));
        }
        QCOMPARE(liveTotals(listed).net.toMoney().paise(), net);
    }
};

QTEST_MAIN(TestInvoiceMoney)
#include "tst_invoicemoney.moc"
