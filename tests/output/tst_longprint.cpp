// Long documents through the installed wkhtmltoimage: a statement and a
// receipt of 2,000 rows print every row whole and their totals on as many
// pages as they fill, read back from the printed PDF; what cannot be drawn is
// refused with its reason before any preview.

#include "support/printtools.h"
#include "support/testenvironment.h"

#include "output/pagecutter.h"
#include "output/pagerenderer.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A table as the statements print it, `rows` lines, then the total line and
// under it a black bar that marks the end of the document.
QString longTable(int rows, int columns, const QString &fontSize)
{
    QString html = QStringLiteral("<html><head><style>html, body { margin: 0; padding: 0; font-family: 'Times New Roman', "
                                  "serif; font-size: %1; } table { width: 100%; border-collapse: collapse; "
                                  "table-layout: fixed; } td { border: 1px solid #000; padding: 4px; }</style></head>"
                                  "<body><table>")
                       .arg(fontSize);
    QString cells;
    for (int c = 1; c < columns; ++c)
        cells += QStringLiteral("<td>1,234.%1</td>").arg(c);
    for (int i = 1; i <= rows; ++i)
        html += QStringLiteral("<tr><td>%1/26-27</td>").arg(i) + cells + QStringLiteral("</tr>");
    return html + QStringLiteral("<tr><td colspan='%1'>Grand Total Pending</td></tr></table>"
                                 "<div style='height:60px; background:#000;'></div></body></html>")
                      .arg(columns);
}

struct PrintedPages
{
    int count = 0;
    QList<int> inkless;  // pages with nothing on them, from 1
    bool lastHasEndMark = false;
};

// The pages of the PDF at a low resolution: which carry nothing, and whether
// the last one holds the end mark (a band of rows dark across the page).
PrintedPages readBack(const QString &pdf, const QString &temporaryFolder)
{
    PrintedPages printed;
    const QTemporaryDir scratch(temporaryFolder + "/readback_XXXXXX");
    const QString folder = scratch.path();
    if (QProcess::execute("pdftoppm", {"-r", "15", "-gray", pdf, folder + "/page"}) != 0)
        return printed;
    const QStringList files = QDir(folder).entryList({"page-*.pgm"}, QDir::Files, QDir::Name);
    printed.count = int(files.size());
    for (int n = 0; n < files.size(); ++n) {
        const QImage page(folder + "/" + files.at(n));
        int darkRows = 0, darkestRun = 0, darkest = 255;
        for (int y = 0; y < page.height(); ++y) {
            int dark = 0;
            for (int x = 0; x < page.width(); ++x) {
                darkest = qMin(darkest, qGray(page.pixel(x, y)));
                dark += qGray(page.pixel(x, y)) < 80 ? 1 : 0;
            }
            darkRows = dark > page.width() * 8 / 10 ? darkRows + 1 : 0;
            darkestRun = qMax(darkestRun, darkRows);
        }
        if (darkest >= 200)
            printed.inkless << n + 1;
        printed.lastHasEndMark = darkestRun >= 3; // the last page's stays
    }
    return printed;
}

} // namespace

class TestLongPrint : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (QStandardPaths::findExecutable("wkhtmltoimage").isEmpty())
            QSKIP("wkhtmltoimage is not installed");
    }
    void longDocumentPrintsWhole_data();
    void longDocumentPrintsWhole();
    void documentThatCannotBeDrawnIsRefused();
};

void TestLongPrint::longDocumentPrintsWhole_data()
{
    QTest::addColumn<PageRenderProfile>("profile");
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("fewestPages");
    // 2,000 rows run to some 116,000 rows of picture (the pending statement)
    // and 89,000 (the receipt), far past the 32,767 the tool paints whole.
    QTest::newRow("pending statement, sliced") << RenderProfiles::paymentPendingStatement()
                                               << longTable(2000, 5, "15px") << 50;
    QTest::newRow("supplier receipt, one picture") << RenderProfiles::paymentReceipt()
                                                   << longTable(2000, 3, "11pt") << 40;
}

void TestLongPrint::longDocumentPrintsWhole()
{
    QFETCH(PageRenderProfile, profile);
    QFETCH(QString, html);
    QFETCH(int, fewestPages);
    TestEnvironment env;

    QVERIFY(renderHtmlToPages(nullptr, html, profile));
    QCOMPARE(env.desktop.messages.size(), 0);
    QCOMPARE(env.desktop.previews.size(), 1);
    const PrintedPages printed = readBack(env.desktop.previews.first().pdfPath, env.desktop.tempFolder);
    QCOMPARE(printed.count, env.desktop.previews.first().pageCount);
    QVERIFY2(printed.count >= fewestPages, qPrintable(QString::number(printed.count)));
    QCOMPARE(printed.inkless, QList<int>());
    QVERIFY(printed.lastHasEndMark);
    // Every page but the first begins on the rule between two rows, and every
    // page but the last ends on one: no row is cut.
    for (int page = 1; page <= printed.count; ++page) {
        const QImage picture = pdfPictures(env.desktop.previews.first().pdfPath, env.desktop.tempFolder, page).value(0);
        QVERIFY2(!picture.isNull() && (page == 1 || PageCutting::isRule(picture, 0))
                     && (page == printed.count || PageCutting::isRule(picture, picture.height() - 1)),
                 qPrintable(QString("page %1").arg(page)));
    }
    // Nothing of the render stays in the temporary folder.
    QCOMPARE(printLeftovers(env.desktop.tempFolder), QStringList());
}

void TestLongPrint::documentThatCannotBeDrawnIsRefused()
{
    TestEnvironment env;
    const QString html = longTable(2000, 5, "15px");

    PageRenderProfile profile = RenderProfiles::paymentPendingStatement();
    profile.pageLimit = 30;
    QVERIFY(!renderHtmlToPages(nullptr, html, profile));
    // Refused as soon as the first parts tell the length (its whole text is
    // checked with the stand-in tool).
    const QString refusal = env.desktop.lastShown();
    QVERIFY2(refusal.contains("more than the 30 one print can hold"), qPrintable(refusal));

    profile = RenderProfiles::paymentReceipt();
    profile.timeLimitMs = -html.toUtf8().size() / 100; // a limit of a millisecond for each part
    QVERIFY(!renderHtmlToPages(nullptr, html, profile));
    const QString shown = env.desktop.lastShown();
    QVERIFY2(shown.startsWith("Error|Failed to render receipt image.\nwkhtmltoimage did not finish within 0.0")
                 && shown.endsWith(" seconds."),
             qPrintable(shown));
    QCOMPARE(env.desktop.previews.size(), 0);
    QCOMPARE(printLeftovers(env.desktop.tempFolder), QStringList());
}

QTEST_MAIN(TestLongPrint)
#include "tst_longprint.moc"
