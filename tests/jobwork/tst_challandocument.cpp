// The printed delivery challan: its HTML (pages, copies, filler rows, values
// escaped), and its rendering through the stand-in and the installed tool.
// Set KESTROVA_KEEP_CHALLAN to a file name to keep the rendered picture.

#include "support/files.h"
#include "support/salesdata.h"
#include "support/standintool.h"
#include "support/testenvironment.h"

#include "jobwork/challandocument.h"
#include "output/pagerenderer.h"

#include <QtTest>

using namespace testdata;

namespace {

ChallanCopyData sampleCopy()
{
    return {"&nbsp;", {"Morvel Coats", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5"},
            "&nbsp;", "ACME FORGINGS", "12 Mill Road", "Pune", "27ABCDE1234F1Z5", "9800000000", "5/26-27",
            "03/06/2026", "998873", QString()};
}

QList<ChallanPrintLine> sampleLines(int count)
{
    QList<ChallanPrintLine> lines;
    for (int i = 1; i <= count; ++i)
        lines.append({"21/04/2026", "PO-7", "CDC-9", QString("A%1").arg(i), QString("PART %1").arg(i), "KGS", 12.5});
    return lines;
}

QString serialCell(int serial)
{
    return QString("<tr><td style='border-right:1px solid #000; padding:4px; font-size:12pt;' align='center'>%1</td>")
        .arg(serial);
}

// The filler row's first cell with exactly `breaks` line breaks.
QString fillerCell(int breaks)
{
    return QString("align='center'>") + QString("<br>").repeated(breaks) + "</td>";
}

// A challan of `lines` lines of 12.5 KGS, number 5 of year 26-27, stored by
// an older version with another year in its text.
void addChallan(int lines)
{
    const int c = addCustomer("ACME FORGINGS", {"12 Mill Road", "Pune", "27ABCDE1234F1Z5", "9800000000"});
    for (int i = 1; i <= lines; ++i) {
        const int item = addItem(c, QString("A%1").arg(i), QString("PART %1").arg(i), "KGS");
        addInward({2, "26-27", c, item, 100, "2026-04-21", "CDC-9", "2026-04-20", "PO-7"});
        addDelivery({5, "26-27", 2, c, item, 12.5, "2026-06-03", "handle with care", "5/25-26"});
    }
}

} // namespace

class TestChallanDocument : public QObject
{
    Q_OBJECT

private slots:
    void threeLinesGiveOneSheetWithTwoCopies()
    {
        const QString html = buildChallanDocument(sampleCopy(), sampleLines(3));
        QCOMPARE(buildChallanPages(html), QStringList({html}));
        QCOMPARE(html.count("DELIVERY CHALLAN"), 2);
        QCOMPARE(html.count("height:40px;"), 1); // between the copies
        QCOMPARE(html.count(serialCell(3)), 2);
        QCOMPARE(html.count(serialCell(4)), 0);
        QCOMPARE(html.count(fillerCell(11)), 2);
        QCOMPARE(html.count(">12.50 KGS</td></tr>"), 6);
        QVERIFY(html.contains("<b>NO.: </b>5/26-27"));
        QVERIFY(html.contains("To, M/s <b>ACME FORGINGS</b>"));
        QVERIFY(html.contains("Phone : 020-555 &nbsp; e-mail : info@morvel.in"));
    }

    void thirteenLinesGiveTwoPages()
    {
        const QStringList pages = buildChallanPages(buildChallanDocument(sampleCopy(), sampleLines(13)));
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[0].count(serialCell(12)), 2);
        QCOMPARE(pages[0].count(fillerCell(2)), 2);
        QCOMPARE(pages[0].count("height:30px;"), 0);
        QCOMPARE(pages[1].count(serialCell(13)), 2);
        QCOMPARE(pages[1].count(fillerCell(13)), 2);
        QCOMPARE(pages[1].count("<td style='height:30px;'>&nbsp;</td>"), 1); // a spacer above a later page
        // The whole document is the pages with a page break between them.
        const QString html = buildChallanDocument(sampleCopy(), sampleLines(13));
        const QString bodyStart = "<body style='font-size:14pt;'>";
        const int start = html.indexOf(bodyStart) + bodyStart.size();
        QCOMPARE(pages[0].chopped(QString("</body></html>").size()) + "<div style='page-break-after:always;'></div>"
                     + pages[1].mid(start),
                 html);
    }

    void fullAndEmptyPages()
    {
        const auto pages = [](int lines) {
            return buildChallanPages(buildChallanDocument(sampleCopy(), sampleLines(lines)));
        };
        QCOMPARE(pages(12).size(), 1);
        QCOMPARE(pages(24).size(), 2);
        QCOMPARE(pages(25).size(), 3);
        const QStringList empty = pages(0);
        QCOMPARE(empty.size(), 1);
        QCOMPARE(empty[0].count(fillerCell(14)), 2);
    }

    void valuesAreEscaped()
    {
        ChallanCopyData copy = sampleCopy();
        copy.company.name = "morvel & co";
        copy.customerName = "A&B <script>alert(1)</script>";
        copy.remarks = "O'Brien \"rush\"";
        QList<ChallanPrintLine> lines = sampleLines(1);
        lines[0].itemName = "<img src=x onerror=alert(1)>";
        const QString html = buildChallanDocument(copy, lines);

        QVERIFY(!html.contains("<script>") && !html.contains("<img src=x"));
        QVERIFY(html.contains("To, M/s <b>A&amp;B &lt;script&gt;alert(1)&lt;/script&gt;</b>"));
        QVERIFY(html.contains("&lt;img src=x onerror=alert(1)&gt;"));
        QVERIFY(html.contains("MORVEL &amp; CO"));
        QVERIFY(html.contains("<b>O&#39;Brien &quot;rush&quot;</b>"));
    }

    void htmlOfASavedChallan()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        addChallan(3);
        // A left logo that is no picture leaves its cell empty; the right one still shows.
        QVERIFY(writeFile(env.folder() + "/left_logo.png", "not a picture"));
        QImage logo(400, 100, QImage::Format_ARGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(env.folder() + "/right_logo.png"));

        QCOMPARE(buildChallanHtml(5, "25-26"), QString());
        QCOMPARE(env.desktop.lastShown(), QString("Error|Delivery Challan not found!"));

        const QString html = buildChallanHtml(5, "26-27");
        QCOMPARE(env.desktop.messages.size(), 1);
        // The challan's own number and year, whatever text was stored.
        QVERIFY(html.contains("<b>NO.: </b>5/26-27"));
        QVERIFY(html.contains("12 Mill Road"));
        QVERIFY(html.contains("<b>DC DATE: </b>03/06/2026"));
        QCOMPARE(html.count(">21/04/2026</td>"), 6); // the inward date of each line
        QVERIFY(html.contains("inform to us within 15 days<br><b>handle with care</b>"));
        QVERIFY(html.contains("<td width='20%' align='center'>&nbsp;</td>"));
        QVERIFY(html.contains("<td width='25%' align='center'><img src='data:image/png;base64,"));
    }

    // What is printed is the document buildChallanHtml gives, a longer
    // challan page by page, each on its own sheet.
    void printedChallanIsItsDocument_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("sheets");
        QTest::newRow("one page") << 3 << 1;
        QTest::newRow("two pages") << 13 << 2;
    }

    void printedChallanIsItsDocument()
    {
        QFETCH(int, lines);
        QFETCH(int, sheets);
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        StandInTool tool(env.folder());
        addChallan(lines);

        printChallan(nullptr, 5, "26-27");
        QCOMPARE(env.desktop.previews.size(), 1);
        QCOMPARE(env.desktop.previews[0].title, QString("DC Preview - 5"));
        QCOMPARE(env.desktop.previews[0].pageCount, sheets);
        // The pages as given, without what the renderer adds to their heads for the tool.
        QStringList printed = tool.htmlGiven();
        for (QString &page : printed) {
            const int head = page.indexOf("<head>") + 6;
            page.remove(head, page.indexOf("<style>* {") - head);
        }
        const QString document = buildChallanHtml(5, "26-27");
        QCOMPARE(printed, sheets == 1 ? QStringList{document} : buildChallanPages(document));
        // No picture is left behind.
        QCOMPARE(QDir(env.desktop.tempFolder).entryList({"challan_*.png"}), QStringList());
    }

    void installedToolRendersTheChallan()
    {
        TestEnvironment env;
        if (RenderPlatform::locateTool(env.folder()).isEmpty())
            QSKIP("wkhtmltoimage is not installed");
        QVERIFY(openSalesDatabase(env));
        addChallan(3);

        PageRenderProfile profile = RenderProfiles::deliveryChallan(5);
        profile.keepPicturesIn = env.desktop.tempFolder; // kept to look at
        QVERIFY(renderHtmlToPages(nullptr, buildChallanHtml(5, "26-27"), profile));
        QCOMPARE(env.desktop.messages.size(), 0);
        const QString path = env.desktop.tempFolder + "/challan_preview.png";
        const QImage image(path);
        QCOMPARE(image.width(), 2480);
        // Two copies of an A4-wide layout fit one A4 page (297 / 210 of the width).
        QVERIFY2(image.height() > 1400 && image.height() < 2480 * 297 / 210,
                 qPrintable(QString::number(image.height())));
        if (qEnvironmentVariableIsSet("KESTROVA_KEEP_CHALLAN")) {
            QFile::remove(qEnvironmentVariable("KESTROVA_KEEP_CHALLAN"));
            QFile::copy(path, qEnvironmentVariable("KESTROVA_KEEP_CHALLAN"));
        }
    }
};

QTEST_MAIN(TestChallanDocument)
#include "tst_challandocument.moc"
