// Cutting a document's picture into pages without cutting a line of text,
// and drawing a long document in parts whose pictures join into the whole:
// on pictures drawn here and on pictures the installed wkhtmltoimage makes.

#include "support/printtools.h"
#include "support/testenvironment.h"

#include "output/documentparts.h"
#include "output/pagecutter.h"
#include "output/rendertool.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstring>

namespace {

bool rowsEqual(const QImage &a, int ya, const QImage &b, int yb)
{
    return a.width() == b.width()
           && std::memcmp(a.constScanLine(ya), b.constScanLine(yb), size_t(a.width()) * 4) == 0;
}

bool isUniformRow(const QImage &picture, int y)
{
    const QRgb *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    return std::all_of(row, row + picture.width(), [row](QRgb p) { return p == row[0]; });
}

// A white page 200 wide with a border down each side, "text" (random dark
// pixels) on the given rows and rules (two black rows) on the given rows.
QImage drawnPage(int height, const QList<QPair<int, int>> &text, const QList<int> &rules)
{
    QImage picture(200, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 2, height, Qt::black);
    painter.fillRect(198, 0, 2, height, Qt::black);
    QRandomGenerator random(7);
    for (const auto &[from, to] : text)
        for (int y = from; y < to; ++y)
            for (int x = 10; x < 190; x += 3)
                if (random.bounded(3) == 0)
                    painter.fillRect(x, y, 1, 1, Qt::black);
    for (int y : rules)
        painter.fillRect(0, y, 200, 2, Qt::black);
    return picture;
}

// The pages one under the other, each after the first without the rows it
// repeats of the page before (the rule that ends one page and opens the next).
QImage joined(const QList<QImage> &pages)
{
    QList<QImage> pieces;
    for (int i = 0; i < pages.size(); ++i) {
        const QImage &page = pages.at(i), &before = pages.value(i - 1);
        int skip = 0; // the longest run of rows that ends the page before and opens this one
        for (int n = i > 0 ? qMin(before.height(), page.height()) : 0; n > 0 && skip == 0; --n) {
            bool same = PageCutting::isRule(page, 0);
            for (int y = 0; y < n && same; ++y)
                same = rowsEqual(before, before.height() - n + y, page, y);
            skip = same ? n : 0;
        }
        pieces.append(page.copy(0, skip, page.width(), page.height() - skip));
    }
    return stacked(pieces);
}

QList<QImage> cutIntoPages(const QImage &picture, int pageRows, int pieceRows)
{
    PageCutter cutter(QSize(picture.width(), pageRows));
    for (int y = 0; y < picture.height(); y += pieceRows)
        cutter.add(picture.copy(0, y, picture.width(), qMin(pieceRows, picture.height() - y)));
    cutter.finish();
    return cutter.takePages();
}

// The statements' look: a table of fixed columns with a head and a foot,
// shaded rows, in parts or whole.
QString statementHtml(int rows, bool spans)
{
    QString html = QStringLiteral(
        "<!DOCTYPE html><html><head><meta charset='utf-8'><style>"
        "html, body { width: 100%; margin: 0; padding: 0; font-family: 'Times New Roman', serif; font-size: 15px; }"
        " table { width: 100%; border-collapse: collapse; table-layout: fixed; margin: 0; }"
        " .company-table { border: 1.5px solid #000; border-bottom: none; }"
        " .data-table { border: 1.5px solid #000; border-top: 1px solid #000; }"
        " th, td { border: 1px solid #000; padding: 5px 7px; box-sizing: border-box; word-wrap: break-word; "
        "vertical-align: middle; } th { background-color: #eeeeee; }"
        "</style></head><body><table class='company-table'><tr><td style='text-align:center'>MORVEL COATS"
        "<br>Plot 12, MIDC</td></tr></table><table class='data-table'><thead><tr>"
        "<th style='width:15%;'>Invoice No</th><th style='width:45%;'>Customer Name</th>"
        "<th style='width:25%;'>Amount</th><th style='width:15%;'>Paid</th></tr></thead><tbody>");
    for (int i = 1; i <= rows;) {
        const int block = spans ? 1 + i % 3 : 1;
        for (int r = 0; r < block && i <= rows; ++r, ++i) {
            html += QStringLiteral("<tr style='%1'><td style='width:15%;'>%2/26-27</td><td style='width:45%;'>"
                                   "Customer %3 Textiles Pvt Ltd%4</td><td style='width:25%;'>12,345.67</td>")
                        .arg(i % 7 == 0 ? "background-color:#fff3cd;" : "")
                        .arg(i)
                        .arg(i % 40)
                        .arg(i % 11 == 0 ? " and Sons, Ichalkaranji Road Works" : "");
            if (r == 0)
                html += QStringLiteral("<td rowspan='%1' style='width:15%;'>%2.00</td>").arg(block).arg(i * 10);
            html += QStringLiteral("</tr>");
        }
    }
    return html + QStringLiteral("</tbody><tfoot><tr><td colspan='2'>Grand Total:</td><td>Rs. 99.00</td><td></td>"
                                 "</tr></tfoot></table></body></html>");
}

// The receipt's look: columns as wide as their heads say, a table with a
// margin above it, in a page of a least height with a spacer.
QString receiptHtml(int rows)
{
    QString html = QStringLiteral(
        "<!DOCTYPE html><html><head><style>html, body { height: 100%; margin: 0; padding: 0; "
        "font-family: 'Times New Roman', serif; font-size: 11pt; } .page { display: -webkit-box; "
        "-webkit-box-orient: vertical; min-height: 270mm; box-sizing: border-box; } .spacer { -webkit-box-flex: 1; }"
        " table { width: 100%; border-collapse: collapse; }</style></head><body><div class='page'>"
        "<table style='border:1px solid #000;'><tr><td>PAYMENT RECEIPT</td></tr></table>"
        "<table style='border:1px solid #000; margin-top:15px;'><tr><th style='width:33%; padding:8px; "
        "border:1px solid #000;'>Bill No</th><th style='width:33%; padding:8px; border:1px solid #000;'>Bill Date"
        "</th><th style='width:33%; padding:8px; border:1px solid #000;'>Bill Amount (Rs.)</th></tr>");
    for (int i = 1; i <= rows; ++i)
        html += QStringLiteral("<tr><td style='padding:6px; border:1px solid #000;'>B-%1</td><td style='padding:6px; "
                               "border:1px solid #000;'>01-04-2026</td><td style='text-align:right; padding:6px; "
                               "border:1px solid #000;'>%2.50</td></tr>")
                    .arg(i)
                    .arg(i * 3);
    return html + QStringLiteral("<tr><td colspan='2' style='padding:8px; border:1px solid #000;'>Total Bill Amount"
                                 "</td><td style='padding:8px; border:1px solid #000;'>1.00</td></tr></table>"
                                 "<div class='spacer'></div><table><tr><td>Authorised Signatory</td></tr></table>"
                                 "</div></body></html>");
}

} // namespace

class TestPageCutter : public QObject
{
    Q_OBJECT

private slots:
    void pageRowsAreThePageAtThePicturesWidth()
    {
        QCOMPARE(PageCutting::pageRows(500, QSize(1000, 700)), 350);
        // A landscape A4 page less 10 mm margins (277 by 190 mm), 2480 wide.
        QCOMPARE(PageCutting::pageRows(2480, QSize(13087, 8976)), 1700);
        QCOMPARE(PageCutting::pageRows(0, QSize(1000, 700)), 0);
    }

    void cut_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("next");
        // Pages of 425 rows from the top, whose end lies in the text on rows
        // 410 to 440. Rows of text 30 high between rules.
        const QList<QPair<int, int>> rows{{10, 40}, {110, 140}, {210, 240}, {310, 340}, {410, 440}, {510, 540}};
        // The rule at 400 closes the page and opens the next.
        QTest::newRow("rule") << drawnPage(600, rows, {100, 200, 300, 400, 500}) << 402 << 400;
        // Without rules: at the end of the rows alike below the text above.
        QTest::newRow("between lines") << drawnPage(600, rows, {}) << 410 << 410;
        // A rule that would run past the page's end is no place.
        QTest::newRow("rule across the end") << drawnPage(600, rows, {100, 200, 300, 424}) << 410 << 410;
        // A bar thicker than a rule is none: the rows alike above it are.
        QImage bar = drawnPage(600, rows, {});
        QPainter(&bar).fillRect(0, 380, 200, 40, Qt::black);
        QTest::newRow("bar") << bar << 380 << 380;
        // Text all the way: the page's height.
        QTest::newRow("no place") << drawnPage(600, {{0, 600}}, {}) << 425 << 425;
        // A gap of one colour all across (no borders there) in the lowest quarter.
        QImage gap = drawnPage(600, {{0, 390}, {420, 600}}, {});
        QPainter(&gap).fillRect(0, 390, 200, 30, Qt::white);
        QTest::newRow("gap") << gap << 420 << 420;
    }

    void cut()
    {
        QFETCH(QImage, picture);
        const PageCutting::Cut cut = PageCutting::cutPage(picture, 0, 425);
        QTEST(cut.end, "end");
        QTEST(cut.next, "next");
    }

    void joinDropsTheBorderThatClosesAPart_data()
    {
        QTest::addColumn<QImage>("part");
        QTest::addColumn<int>("height");
        QImage bordered = drawnPage(300, {{10, 40}}, {});
        QPainter(&bordered).fillRect(0, 297, 200, 3, Qt::black);
        QTest::newRow("closing border") << bordered << 297;
        QTest::newRow("no border") << drawnPage(300, {{10, 40}}, {}) << 300;
        QImage bar = drawnPage(300, {{10, 40}}, {});
        QPainter(&bar).fillRect(0, 260, 200, 40, Qt::black);
        QTest::newRow("a bar") << bar << 300;
    }

    void joinDropsTheBorderThatClosesAPart()
    {
        QFETCH(QImage, part);
        QTEST(PageCutting::joinedHeight(part), "height");
    }

    void piecesGiveThePagesTheWholeGives()
    {
        QList<QPair<int, int>> text;
        QList<int> rules;
        for (int y = 0; y < 3000; y += 100) {
            text.append({y + 10, y + 40});
            rules.append(y + 95);
        }
        const QImage picture = drawnPage(3000, text, rules);
        const QList<QImage> whole = cutIntoPages(picture, 450, 3000);
        QCOMPARE(cutIntoPages(picture, 450, 77), whole);
        QCOMPARE(cutIntoPages(picture, 450, 1000), whole);
        QVERIFY(whole.size() >= 7);
        for (const QImage &page : whole)
            QVERIFY(page.height() <= 450);
        QCOMPARE(joined(whole), picture);
    }

    void groupsKeepSpannedRowsTogether()
    {
        // Rows 2 to 4 are one group (a cell spans three rows), as are 5 and 6.
        const QString html = "<html><body><table><tr><td>1</td></tr><tr><td rowspan='3'>2</td></tr><tr><td>3</td></tr>"
                             "<tr><td>4</td></tr><tr><td rowspan=\"2\">5</td><td>x</td></tr><tr><td>6</td></tr>"
                             "<tr><td>7</td></tr></table></body></html>";
        const DocumentParts parts(html);
        QCOMPARE(parts.groups(), 4);
        QVERIFY(parts.part(1, 2).contains("<td>3</td></tr><tr><td>4</td></tr></table>"));
        QVERIFY(!parts.part(1, 2).contains("<td>1</td>") && !parts.part(1, 2).contains(">5</td>"));
        QCOMPARE(parts.part(0, 4), html);
        // A document without a table of two rows or more is drawn whole.
        for (const QString &whole : {QString("<html><body><p>Salary slip</p></body></html>"),
                                     QString("<html><body><table><tr><td>one row</td></tr></table></body></html>")})
            QCOMPARE(DocumentParts(whole).part(0, 1), whole);
    }

    void partsCarryTheHeadTheColumnsAndTheEnd()
    {
        const QString html = statementHtml(40, false);
        const DocumentParts parts(html);
        QCOMPARE(parts.groups(), 40);

        const QString first = parts.part(0, 10);
        QVERIFY(first.contains("MORVEL COATS") && first.contains("<table class='data-table' data-part=\"bottom\"><thead>"));
        QVERIFY(first.contains(">10/26-27<") && !first.contains(">11/26-27<") && !first.contains("Grand Total"));
        QVERIFY(first.endsWith("</tbody></table></body></html>"));

        const QString middle = parts.part(10, 20);
        QVERIFY(middle.startsWith("<!DOCTYPE html><html><head><meta charset='utf-8'><style>"));
        QVERIFY(middle.contains("<body data-part=\"top bottom\"><table class='data-table' data-part=\"top bottom\">"
                                "<colgroup><col style=\"width:15%\"><col style=\"width:45%\"><col style=\"width:25%\">"
                                "<col style=\"width:15%\"></colgroup><tbody data-part=\"top bottom\"><tr style=''>"
                                "<td style='width:15%;'>11/26-27</td>"));
        QVERIFY(!middle.contains("MORVEL") && !middle.contains("<thead>") && !middle.contains(">21/26-27<"));

        const QString last = parts.part(20, 40);
        QVERIFY(last.contains("<tbody data-part=\"top\"><tr") && last.endsWith(html.mid(html.indexOf("</tbody>"))));
    }

    // Pictures the tool draws, cut into pages: a table whose rows lie across
    // every page's height begins and ends every page on a rule between two
    // rows; text without borders ends a page in a row of one colour between
    // two lines (a glyph would show in it). Every row lies whole on one page.
    void realPicturesAreCutBetweenRows_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("pageRows");
        QTest::addColumn<bool>("ruled");
        QTest::newRow("table rows across every page's end")
            << statementHtml(60, true) << QStringList{"--width", "2480", "--zoom", "2.0"} << 1000 << true;
        QString text = "<html><body style='font-family: serif; font-size: 14pt;'>";
        for (int i = 1; i <= 60; ++i)
            text += QString("<p>Remark %1: material received in good condition, inspected and stored in bin %1; "
                            "the rejection, if any, is to be reported within fifteen days.</p>")
                        .arg(i);
        QTest::newRow("text") << text + "</body></html>" << QStringList{"--width", "1240"} << 700 << false;
    }

    void realPicturesAreCutBetweenRows()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, arguments);
        QFETCH(int, pageRows);
        QFETCH(bool, ruled);
        TestEnvironment env;
        SKIP_WITHOUT_INSTALLED_TOOL();
        const QImage picture = toolPicture(html, arguments, env.desktop.tempFolder);
        QVERIFY(!picture.isNull());
        // Cut at the page's height, every page would cut a row of the table.
        for (int y = pageRows; ruled && y < picture.height(); y += pageRows)
            QVERIFY(!PageCutting::isRule(picture, y - 1) && !PageCutting::isRule(picture, y));

        const QList<QImage> pages = cutIntoPages(picture, pageRows, 2300);
        QVERIFY(pages.size() >= picture.height() / pageRows);
        for (int i = 0; i < pages.size(); ++i) {
            const QImage &page = pages.at(i);
            const int last = page.height() - 1;
            QVERIFY(page.height() <= pageRows);
            if (i + 1 < pages.size())
                QVERIFY2(ruled ? PageCutting::isRule(page, last) && PageCutting::isRule(pages.at(i + 1), 0)
                               : isUniformRow(page, last),
                         qPrintable(QString("page %1").arg(i + 1)));
        }
        QCOMPARE(joined(pages), picture);
    }

    void realPartsJoinIntoTheWhole_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QList<int>>("starts");
        QTest::newRow("statement, zoom 2") << statementHtml(90, false) << QStringList{"--width", "2480", "--zoom", "2.0"}
                                           << QList<int>{0, 23, 46, 69};
        QTest::newRow("spanned rows, no zoom") << statementHtml(90, true) << QStringList{"--width", "2480"}
                                               << QList<int>{0, 15, 30};
        QTest::newRow("receipt, columns by their heads")
            << receiptHtml(90) << QStringList{"--disable-smart-width", "--width", "1240", "--zoom", "1.5"}
            << QList<int>{0, 30, 60};
    }

    // A long document drawn in parts, the pictures joined where the parts join,
    // is the picture of the whole document, row for row.
    void realPartsJoinIntoTheWhole()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, arguments);
        QFETCH(QList<int>, starts);
        TestEnvironment env;
        SKIP_WITHOUT_INSTALLED_TOOL();
        const QImage whole = toolPicture(html, arguments, env.desktop.tempFolder);
        QVERIFY(!whole.isNull());
        QCOMPARE(toolPartsPicture(html, starts, arguments, env.desktop.tempFolder), whole);
    }
};

QTEST_MAIN(TestPageCutter)
#include "tst_pagecutter.moc"
