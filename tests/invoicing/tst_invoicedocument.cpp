// The printed tax invoice: the page HTML of a saved invoice (values escaped,
// tax rows per rate, rounding, pages of 22 lines, abstract and empty
// invoices), and its printing through the stand-in and the installed tool.
// Set KESTROVA_KEEP_INVOICE to a folder to keep the real pictures there.

#include "support/invoicedata.h"
#include "support/printtools.h"
#include "support/salesdata.h"
#include "support/standintool.h"
#include "support/testenvironment.h"

#include "invoicing/invoicedocument.h"
#include "invoicing/invoiceprint.h"
#include "output/pagerenderer.h"

#include <QImage>
#include <QRegularExpression>
#include <QtTest>

using namespace testdata;

namespace {

// The page's text as it reads: tags dropped, white space collapsed.
QString pageText(const QString &html)
{
    static const QRegularExpression tag("<[^>]*>");
    return QString(html).replace(tag, " ").simplified();
}

int fillerRows(const QString &html)
{
    return html.count("<tr style='height:7mm;'>");
}

int itemRows(const QString &html)
{
    return html.count("<tr><td align='center' style='padding:4px; border-right:1px solid #000;'>");
}

InvoicePrintData sampleInvoice(int lines)
{
    InvoicePrintData invoice;
    invoice.invoiceNoFull = "7/26-27";
    invoice.invoiceDate = "01/07/2026";
    invoice.customerName = "ALPHA";
    invoice.customerType = "Local Customer";
    for (int i = 1; i <= lines; ++i)
        invoice.lines.append({"-", "-", QString("C%1").arg(i), QString("PART %1").arg(i), "", "NOS", 1, 100,
                              Money::fromRupees(100), 18});
    invoice.subTotal = Money::fromRupees(100 * lines);
    invoice.cgst = invoice.sgst = Money::fromRupees(9 * lines);
    return invoice;
}

const QString Original = "Original for recipient";

} // namespace

class TestInvoiceDocument : public QObject
{
    Q_OBJECT

    TestEnvironment *env = nullptr;
    int alpha = 0;

    // Invoice `no` of 26-27 with `lines` lines of 100 at 18 % on challan 3.
    void addPlainInvoice(int no, int lines)
    {
        const int invoice = addStoredInvoice({no, "26-27", "2026-07-01", alpha, 100.0 * lines, 9.0 * lines,
                                              9.0 * lines, 0, 118.0 * lines});
        for (int i = 1; i <= lines; ++i) {
            const int item = addItem(alpha, QString("C%1").arg(i, 2, 10, QChar('0')),
                                     QString("Shree Ganesh bracket %1").arg(i), "NOS", 100, 18);
            addDelivery({3, "26-27", 1, alpha, item, 1, "2026-06-20"});
            addStoredLine(invoice, {3, item, 1, 100, 100, 18});
        }
    }

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openSalesDatabase(*env));
        alpha = addCustomer("A & B <Works>", {"12 Mill Road", "Bhosari, Pune", "27ABCDE1234F1Z5", "9800000000",
                                              "Local Customer", "", "  "});
        setCompany("Morvel Coats", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5",
                   "State Bank of India\nA/c 1234 <main>\nIFSC SBIN0001");
    }

    void cleanup()
    {
        delete env;
        env = nullptr;
    }

    void twoRateInvoicePage()
    {
        const int bolt = addItem(alpha, "B-1", "Bolt", "NOS", 100, 18);
        const int nut = addItem(alpha, "N-1", "Nut", "KGS", 50, 5);
        // Challan 1 of the year before, of the same items, is not this invoice's.
        addDelivery({1, "25-26", 1, alpha, bolt, 10, "2025-05-05"});
        addDelivery({1, "26-27", 1, alpha, bolt, 10, "2026-06-01"});
        addDelivery({1, "26-27", 1, alpha, nut, 10, "2026-06-01"});
        const int invoice = addStoredInvoice({1, "26-27", "2026-07-01", alpha, 1500, 102.5, 102.5, 0, 1705});
        addStoredLine(invoice, {1, bolt, 10, 100, 1000, 18});
        addStoredLine(invoice, {1, nut, 10, 50, 500, 5});

        const QStringList pages = buildInvoicePages(1, Original, "26-27");
        QCOMPARE(pages.size(), 1);
        QCOMPARE(generateInvoiceHtml(1, Original, "26-27"), pages.first());
        const QString html = pages.first();
        const QString text = pageText(html);
        QVERIFY2(text.contains("Total Amount (Rs.) 1500.00 CGST @ 2.50 % 12.50 SGST @ 2.50 % 12.50 "
                               "CGST @ 9.00 % 90.00 SGST @ 9.00 % 90.00 Rounded Off (Rs.) 0.00 "
                               "Grand Total (Rs.) 1705.00"),
                 qPrintable(text));
        QVERIFY(text.contains("Rupees in Words: One Thousand Seven Hundred Five Rupees Only"));
        QVERIFY(text.contains("Invoice No: 1/26-27 Invoice Date: 01/07/2026 Original for recipient (Page 1 of 1)"));
        QVERIFY(text.contains("1/26-27 - 01/06/26 B-1 Bolt 998873 10.00 NOS 100.000 1000.00"));
        QVERIFY(text.contains("1/26-27 - 01/06/26 N-1 Nut 998873 10.00 KGS 50.000 500.00"));
        QCOMPARE(itemRows(html), 2);
        // Values from the database are escaped; the bank details keep their lines.
        QVERIFY(html.contains("<b>M/s A &amp; B &lt;Works&gt;</b>"));
        QVERIFY(html.contains("State Bank of India<br>A/c 1234 &lt;main&gt;<br>IFSC SBIN0001"));
        QVERIFY(text.contains("MORVEL COATS Plot 12, MIDC, Pune 411026 Phone: 020-555 | Email: info@morvel.in "
                              "GSTIN: 27AAAAA0000A1Z5 TAX INVOICE"));
        QVERIFY(text.contains("Phone: 9800000000 Cust GST 27ABCDE1234F1Z5 Vendor ID - Cust Purchase Order No -"));

        // An invoice of another year, or none, gives no page.
        QCOMPARE(buildInvoicePages(1, Original, "25-26"), QStringList());
        QCOMPARE(buildInvoicePages(2, Original, "26-27"), QStringList());
    }

    void taxRowsByCustomerType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("rows");
        QTest::newRow("IGST") << "IGST Customer" << "Total Amount (Rs.) 1600.00 IGST @ 5.00 % 25.00 "
                                                     "IGST @ 18.00 % 180.00 Rounded Off";
        QTest::newRow("other case") << "igst customer" << "Total Amount (Rs.) 1600.00 CGST @ 2.50 % 12.50 "
                                                           "SGST @ 2.50 % 12.50 CGST @ 9.00 % 90.00 "
                                                           "SGST @ 9.00 % 90.00 Rounded Off";
    }

    void taxRowsByCustomerType()
    {
        QFETCH(QString, type);
        QFETCH(QString, rows);
        InvoicePrintData invoice = sampleInvoice(3);
        invoice.customerType = type;
        invoice.lines[0].taxPercent = 5;
        invoice.lines[0].amount = Money::fromRupees(500);
        invoice.lines[1].amount = Money::fromRupees(1000);
        invoice.lines[2].taxPercent = 0; // no tax row
        const QList<InvoicePage> pages = invoicePages(invoice, Original, "&nbsp;", "&nbsp;");
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pageText(buildInvoicePageHtml(pages.first())).contains(rows),
                 qPrintable(pageText(buildInvoicePageHtml(pages.first()))));
    }

    // Stored sub-total and halves: the grand total rounded half away from
    // zero, in whole paise (1704.3 + 0.1 + 0.1 adds up a hair below .50).
    void roundingOfTheStoredTotals_data()
    {
        QTest::addColumn<double>("subTotal");
        QTest::addColumn<double>("half");
        QTest::addColumn<double>("grandTotal");
        QTest::addColumn<QString>("roundOff");
        QTest::newRow("down") << 1000.0 << 25.20 << 1050.0 << "-0.40";
        QTest::newRow("half up") << 1704.3 << 0.1 << 1705.0 << "0.50";
        QTest::newRow("negative") << -10.0 << -0.25 << -11.0 << "-0.50";
    }

    void roundingOfTheStoredTotals()
    {
        QFETCH(double, subTotal);
        QFETCH(double, half);
        QFETCH(double, grandTotal);
        QFETCH(QString, roundOff);
        InvoicePrintData invoice = sampleInvoice(0);
        invoice.subTotal = Money::fromStored(subTotal);
        invoice.cgst = invoice.sgst = Money::fromStored(half);
        const InvoicePage page = invoicePages(invoice, Original, "&nbsp;", "&nbsp;").value(0);
        QCOMPARE(page.grandTotal, Money::fromStored(grandTotal));
        QCOMPARE(page.roundOff.text(), roundOff);
    }

    void twentyTwoLinesAPage()
    {
        const QList<InvoicePage> one = invoicePages(sampleInvoice(22), Original, "&nbsp;", "&nbsp;");
        QCOMPARE(one.size(), 1);
        QCOMPARE(itemRows(one[0].itemRowsHtml), 22);
        QCOMPARE(fillerRows(one[0].itemRowsHtml), 0);

        InvoicePrintData invoice = sampleInvoice(23);
        invoice.lines[22].amount = Money::fromRupees(50);
        invoice.subTotal = Money::fromRupees(2250);
        invoice.cgst = invoice.sgst = Money::fromPaise(20270); // total 2655.40
        const QList<InvoicePage> pages = invoicePages(invoice, Original, "&nbsp;", "&nbsp;");
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].pageLabel, Original + " (Page 1 of 2)");
        QCOMPARE(pages[1].pageLabel, Original + " (Page 2 of 2)");
        QCOMPARE(itemRows(pages[1].itemRowsHtml), 1);
        QCOMPARE(fillerRows(pages[1].itemRowsHtml), 21);
        // A page before the last stands for its own lines.
        const QString first = pageText(buildInvoicePageHtml(pages[0]));
        QVERIFY2(first.contains("Total Amount (Rs.) 2200.00 CGST @ 9.00 % 198.00 SGST @ 9.00 % 198.00 "
                                "Rounded Off (Rs.) 0.00 Grand Total (Rs.) 2200.00"),
                 qPrintable(first));
        QVERIFY(first.contains("Two Thousand Two Hundred Rupees Only"));
        // The last: its own lines and taxes, the whole invoice's rounded total.
        const QString last = pageText(buildInvoicePageHtml(pages[1]));
        QVERIFY2(last.contains("Total Amount (Rs.) 50.00 CGST @ 9.00 % 4.50 SGST @ 9.00 % 4.50 "
                               "Rounded Off (Rs.) -0.40 Grand Total (Rs.) 2655.00"),
                 qPrintable(last));
        QVERIFY(last.contains("Two Thousand Six Hundred Fifty Five Rupees Only"));
    }

    void singlePageInvoices()
    {
        // Abstract: its text in place of the lines, the taxes of all its lines.
        InvoicePrintData abstract = sampleInvoice(0);
        abstract.isAbstract = true;
        abstract.abstractContent = "Job work for May\nas per <PO>";
        abstract.subTotal = Money::fromRupees(1500);
        abstract.cgst = abstract.sgst = Money::fromPaise(10250);
        abstract.abstractTaxable = {{5, Money::fromRupees(500)}, {18, Money::fromRupees(1000)}};
        abstract.lines = sampleInvoice(30).lines; // not listed on an abstract invoice
        QList<InvoicePage> pages = invoicePages(abstract, Original, "&nbsp;", "&nbsp;");
        QCOMPARE(pages.size(), 1);
        QString html = buildInvoicePageHtml(pages[0]);
        QString text = pageText(html);
        QVERIFY(html.contains(">Job work for May<br>as per &lt;PO&gt;</td>"));
        QVERIFY2(text.contains("- - Job work for May as per &lt;PO&gt; - 1 - - 1500.00"), qPrintable(text));
        QCOMPARE(itemRows(html), 1);
        QVERIFY(text.contains("Total Amount (Rs.) 1500.00 CGST @ 2.50 % 12.50 SGST @ 2.50 % 12.50 "
                              "CGST @ 9.00 % 90.00 SGST @ 9.00 % 90.00 Rounded Off (Rs.) 0.00 Grand Total (Rs.) 1705.00"));
    }

    void readsAbstractAndCancelledInvoices()
    {
        const int item = addItem(alpha, "X", "Ring", "NOS", 100, 12);
        const int abstract = addStoredInvoice({5, "26-27", "2026-07-02", alpha, 1000, 60, 60, 0, 1120, "PO-77", 0, 1,
                                               "Coating charges"});
        addStoredLine(abstract, {9, item, 10, 100, 1000, 12});
        InvoicePrintData read;
        QVERIFY(readInvoiceForPrint(5, "26-27", &read));
        QCOMPARE(read.abstractTaxable, (TaxableByRate{{12, Money::fromRupees(1000)}}));
        QVERIFY(read.lines.isEmpty());

        // Cancelled, with a date that does not read: no lines left, the spacer
        // row and no tax rows, printed all the same.
        addStoredInvoice({6, "26-27", "not a date", alpha, 200, 18.25, 18.25, 0, 237, "", 1});
        const QString cancelledHtml = buildInvoicePages(6, Original, "26-27").value(0);
        QVERIFY(cancelledHtml.contains("height:100mm;"));
        QCOMPARE(itemRows(cancelledHtml), 0);
        const QString cancelled = pageText(cancelledHtml);
        QVERIFY(cancelled.contains("Invoice Date: Original for recipient (Page 1 of 1)"));
        QVERIFY(cancelled.contains("Total Amount (Rs.) 200.00 Rounded Off (Rs.) 0.50 Grand Total (Rs.) 237.00"));

        // A line whose challan is missing shows three hyphens.
        const int lone = addStoredInvoice({8, "26-27", "2026-07-02", alpha, 100, 9, 9, 0, 118});
        addStoredLine(lone, {99, item, 1, 100, 100, 18});
        QVERIFY(pageText(buildInvoicePages(8, Original, "26-27").value(0)).contains("- - - X Ring 1.00 NOS"));
    }

    void printsThroughTheRenderer()
    {
        addPlainInvoice(7, 23);
        const QString temp = env->desktop.tempFolder;
        {
            StandInTool tool(env->folder());
            printInvoice(7, Original, "26-27", nullptr);
            QCOMPARE(tool.runs().size(), 2);
            const QStringList args = tool.runs().at(1);
            QCOMPARE(args.mid(0, 8), (QStringList{"--enable-local-file-access", "--disable-smart-width", "--width",
                                                  "2480", "--zoom", "2.5", "--quality", "100"}));
            QVERIFY(args.value(9).startsWith(temp + "/print_") && args.value(9).endsWith("/invoice_page_1.png"));
            // UTF-8 declared, and zoomed by its style where the tool ignores --zoom.
            QVERIFY(tool.htmlOfRun(2).startsWith("<html><head><meta charset=\"utf-8\"><style>html { zoom: 2.5; }"));
            QVERIFY(tool.htmlOfRun(2).contains("(Page 2 of 2)"));
            QCOMPARE(env->desktop.previews.size(), 1);
            QCOMPARE(env->desktop.previews.first().pageCount, 2);
            QCOMPARE(filesIn(temp, "invoice_*"), QStringList());

            // No such invoice: nothing at all.
            printInvoice(70, Original, "26-27", nullptr);
            QCOMPARE(tool.runs().size(), 2);
            QCOMPARE(env->desktop.messages.size(), 0);
        }
        {
            StandInTool tool(env->folder(), "exit 0");
            printInvoice(7, Original, "26-27", nullptr);
            QCOMPARE(env->desktop.lastShown(),
                     QString("Error|Failed to generate invoice!\nwkhtmltoimage wrote no picture that can be read."));
            QCOMPARE(env->desktop.previews.size(), 1);
            QCOMPARE(filesIn(temp, "invoice_*"), QStringList());
        }
        {
            env->desktop.clear();
            QFile::remove(env->folder() + "/" + RenderPlatform::toolFileName());
            NoToolOnPath noPath;
            printInvoice(7, Original, "26-27", nullptr);
            QCOMPARE(env->desktop.lastShown(), QString("Error|wkhtmltoimage.exe not found!"));
            QCOMPARE(env->desktop.previews.size(), 0);
            QCOMPARE(filesIn(temp, "invoice_*"), QStringList());
        }
    }

    void realToolDrawsThreeA4Pages()
    {
        if (RenderPlatform::locateTool(env->folder()).isEmpty())
            QSKIP("wkhtmltoimage is not installed");
        addPlainInvoice(9, 50);
        // Two-digit challan numbers with their dates fill the first column.
        exec("UPDATE delivery_entries SET delivery_no = 10, delivery_no_full = '10/26-27', "
             "delivery_date = '2026-11-27'");
        exec("UPDATE invoice_items SET delivery_no = 10");
        // Two rates: every other line at 5 %.
        exec("UPDATE invoice_items SET tax_percent = 5 WHERE inv_item_id % 2 = 0");
        exec("UPDATE invoices SET cgst_amount = 287.5, sgst_amount = 287.5, grand_total = 5575");
        exec("UPDATE customers SET customer_name = 'Shree Lakshmi Narasimha Engineering Works'");
        setCompany("Morvel Coats", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5",
                   "State Bank of India\nUPI limit ₹ 1,00,000");
        QImage logo(300, 200, QImage::Format_RGB32);
        logo.fill(QColor("#005a9c"));
        QVERIFY(logo.save(env->folder() + "/left_logo.png"));
        logo.fill(QColor("#E52521"));
        QVERIFY(logo.save(env->folder() + "/right_logo.png"));
        PageRenderProfile profile = RenderProfiles::taxInvoice(9);
        profile.keepPicturesIn = env->desktop.tempFolder;
        const QStringList pages = buildInvoicePages(9, Original, "26-27");
        QCOMPARE(pages.size(), 3);
        QVERIFY(renderHtmlToPages(nullptr, pages, profile));
        QCOMPARE(env->desktop.previews.value(0).pageCount, 3);
        const QString keep = qEnvironmentVariable("KESTROVA_KEEP_INVOICE");
        if (!keep.isEmpty()) {
            QFile::remove(keep + "/invoice_preview.pdf");
            QFile::copy(env->desktop.previews.value(0).pdfPath, keep + "/invoice_preview.pdf");
        }
        for (int i = 0; i < 3; ++i) {
            const QString path = env->desktop.tempFolder + QString("/invoice_page_%1.png").arg(i);
            const QImage image(path);
            QCOMPARE(image.width(), 2480);
            // Set in the stand-in for Times New Roman, a page keeps to A4's
            // proportion and prints at full width.
            QVERIFY(image.height() > 2000 && image.height() <= 2480 * 297 / 210);
            if (!keep.isEmpty()) {
                const QString kept = QString("%1/invoice_page_%2.png").arg(keep).arg(i + 1);
                QFile::remove(kept);
                QFile::copy(path, kept);
            }
        }
    }
};

QTEST_MAIN(TestInvoiceDocument)
#include "tst_invoicedocument.moc"
