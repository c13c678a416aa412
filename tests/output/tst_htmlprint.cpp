// Rich-text printing: the preview profiles and the PDF profile.

#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/testenvironment.h"

#include "output/htmlprint.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Width and height of the first page in points, from pdfinfo.
QSizeF pdfPageSize(const QString &path)
{
    QProcess proc;
    proc.start("pdfinfo", {path});
    proc.waitForFinished(10000);
    const QString info = QString::fromUtf8(proc.readAllStandardOutput());
    const QRegularExpressionMatch m =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

const QString kReport = QStringLiteral("<html><body><h2 style='text-align:center;'>Expenses Report</h2>"
                                       "<table border='1'><tr><td>1</td><td>Tea &amp; snacks</td>"
                                       "<td align='right'>250.00</td></tr></table></body></html>");

// Whether anything is drawn on the last two points above the foot of a page.
bool drawnAtFoot(const QString &pdf, int page)
{
    QTemporaryDir scratch;
    const QString n = QString::number(page);
    QProcess::execute("pdftoppm", {"-r", "72", "-gray", "-singlefile", "-f", n, "-l", n, pdf, scratch.path() + "/p"});
    const QImage picture(scratch.path() + "/p.pgm");
    for (int y = picture.height() - 2; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 200)
                return true;
    return picture.isNull();
}

// A request as the inventory forms print it: sizes in device pixels of a
// 600 dpi page, a heading, numbered lines in padded cells, a closing line.
QString requestDocument(int lines)
{
    QString html = "<html><body style='font-size:72px;'><p style='font-size:150px;'>MORVEL COATS</p>"
                   "<table width='100%' border='1' cellpadding='10'>";
    for (int n = 1; n <= lines; ++n)
        html += QString("<tr><td>%1</td><td>Steel rod %1</td><td align='right'>%1.00</td></tr>").arg(n);
    return html + "</table><p>Authorised Signatory</p></body></html>";
}

} // namespace

class TestHtmlPrint : public QObject
{
    Q_OBJECT

private slots:
    void pdfProfileWritesALandscapePdf();
    void pdfThatCannotBeWrittenIsNotReportedSaved();
    void pdfCutShortKeepsTheEarlierFile();
    void previewProfiles();
    void previewPagesHoldTheDocumentAlone_data();
    void previewPagesHoldTheDocumentAlone();
};

void TestHtmlPrint::pdfProfileWritesALandscapePdf()
{
    TestEnvironment env;
    const QString path = env.folder() + "/expenses_report.pdf";
    QVERIFY(writeFile(path, "an earlier report, replaced"));
    env.desktop.saveFileAnswers.enqueue(path);
    QCOMPARE(printHtmlDocument(nullptr, kReport, HtmlPrintProfiles::expensesReport()), HtmlPrintResult::Saved);

    QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Save PDF"});
    QCOMPARE(env.desktop.fileDialogDirs, QStringList{"expenses_report.pdf"});
    QCOMPARE(env.desktop.fileDialogFilters, QStringList{"PDF file(*.pdf)"});
    const QSizeF page = pdfPageSize(path);
    QVERIFY2(page.width() > page.height(), qPrintable(QString("%1 x %2").arg(page.width()).arg(page.height())));
    const QString text = pdfText(path);
    QVERIFY2(text.contains("Expenses Report") && text.contains("Tea & snacks"), qPrintable(text));
    QCOMPARE(env.desktop.lastShown(), "Success|PDF saved to:\n" + path);
    QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});
}

void TestHtmlPrint::pdfThatCannotBeWrittenIsNotReportedSaved()
{
    TestEnvironment env;
    const QString path = env.folder() + "/missing folder/expenses_report.pdf";
    env.desktop.saveFileAnswers.enqueue(path);
    QCOMPARE(printHtmlDocument(nullptr, kReport, HtmlPrintProfiles::expensesReport()), HtmlPrintResult::NotSaved);
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastShown(), "Error|The PDF file could not be written:\n" + path + "\nNo such file or directory");
    QVERIFY(env.desktop.openedUrls.isEmpty());

    // A cancelled dialog writes and says nothing.
    env.desktop.clear();
    QCOMPARE(printHtmlDocument(nullptr, kReport, HtmlPrintProfiles::expensesReport()), HtmlPrintResult::Cancelled);
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY(QDir(env.folder()).entryList({"*.pdf"}, QDir::Files).isEmpty());
}

// A disk that fills up while the PDF is written, or a device that takes
// nothing: the chosen name keeps the earlier report, the error box shows and
// no "Success" follows, and nothing is left beside it.
void TestHtmlPrint::pdfCutShortKeepsTheEarlierFile()
{
    TestEnvironment env;
    const QString path = env.folder() + "/expenses_report.pdf";
    QVERIFY(writeFile(path, "%PDF-1.4 the earlier report"));
    const QString fresh = env.folder() + "/new_report.pdf";
    const QString cutShort = "The file could not be written to its end.";
    {
        FileSizeLimit fullDisk(1024);
        env.desktop.saveFileAnswers << path << fresh;
        QCOMPARE(printHtmlDocument(nullptr, kReport, HtmlPrintProfiles::expensesReport()), HtmlPrintResult::NotSaved);
        QCOMPARE(printHtmlDocument(nullptr, kReport, HtmlPrintProfiles::expensesReport()), HtmlPrintResult::NotSaved);
    }
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(env.desktop.messages.first().title + "|" + env.desktop.messages.first().text,
             "Error|The PDF file could not be written:\n" + path + "\n" + cutShort);
    QCOMPARE(env.desktop.lastShown(), "Error|The PDF file could not be written:\n" + fresh + "\n" + cutShort);
    QCOMPARE(fileBytes(path), QByteArray("%PDF-1.4 the earlier report"));
    QCOMPARE(QDir(env.folder()).entryList(QDir::Files), QStringList{"expenses_report.pdf"});
    QVERIFY(env.desktop.openedUrls.isEmpty());

    env.desktop.clear();
    env.desktop.saveFileAnswers << "/dev/full";
    QCOMPARE(printHtmlDocument(nullptr, kReport, HtmlPrintProfiles::expensesReport()), HtmlPrintResult::NotSaved);
    QCOMPARE(env.desktop.lastShown(), QString("Error|The PDF file could not be written:\n/dev/full\n/dev/full is not a regular file"));
    QVERIFY(QFileInfo::exists("/dev/full") && !QFileInfo("/dev/full").isFile());
}

void TestHtmlPrint::previewProfiles()
{
    TestEnvironment env;
    // Laid out on the printer's device pixels: the large sizes fit one page.
    const QString order = "<html><body style='font-size:72px;'><table width='100%' border='1'><tr>"
                          "<td><span style='font-size:150px; font-weight:bold;'>MORVEL COATS</span></td></tr>"
                          "</table><p>PURCHASE ORDER</p><p>Bolt M8 &amp; nut</p></body></html>";
    QCOMPARE(printHtmlDocument(nullptr, order, HtmlPrintProfiles::purchaseOrder()), HtmlPrintResult::PreviewClosed);
    QCOMPARE(printHtmlDocument(nullptr, order, HtmlPrintProfiles::materialRequestList()),
             HtmlPrintResult::PreviewClosed);

    QCOMPARE(env.desktop.previews.size(), 2);
    const auto portrait = env.desktop.previews.at(0);
    QCOMPARE(portrait.title, QStringLiteral("Purchase Order"));
    QCOMPARE(portrait.pageCount, 1);
    QVERIFY2(pdfText(portrait.pdfPath).contains("Bolt M8 & nut"), qPrintable(pdfText(portrait.pdfPath)));
    const auto landscape = env.desktop.previews.at(1);
    QCOMPARE(landscape.title, QStringLiteral("Purchase Order List"));
    QCOMPARE(landscape.orientation, QPageLayout::Landscape);
    QVERIFY(pdfText(landscape.pdfPath).contains("PURCHASE ORDER"));
}

// The purchase order and the material request list print the document
// alone: every line, at the printer's scale (a long one runs on to more
// pages), no page number of the toolkit's own below the last line and
// nothing cut at the foot of a page.
void TestHtmlPrint::previewPagesHoldTheDocumentAlone_data()
{
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("lines");
    QTest::newRow("purchase order") << false << 3;
    QTest::newRow("purchase order of many lines") << false << 60;
    QTest::newRow("material request list of many lines") << true << 60;
}

void TestHtmlPrint::previewPagesHoldTheDocumentAlone()
{
    QFETCH(bool, list);
    QFETCH(int, lines);
    TestEnvironment env;
    const HtmlPrintProfile profile =
        list ? HtmlPrintProfiles::materialRequestList() : HtmlPrintProfiles::purchaseOrder();
    QCOMPARE(printHtmlDocument(nullptr, requestDocument(lines), profile), HtmlPrintResult::PreviewClosed);
    const int pages = env.desktop.previews.at(0).pageCount;
    QVERIFY2(lines < 10 ? pages == 1 : pages > 1, qPrintable(QString::number(pages)));
    const QStringList words = pdfText(env.desktop.previews.at(0).pdfPath).split(QRegularExpression("\\s+"),
                                                                                 Qt::SkipEmptyParts);
    QCOMPARE(words.mid(words.size() - 2), QStringList({"Authorised", "Signatory"}));
    QCOMPARE(words.filter(QRegularExpression("^rod$")).size(), lines);
    for (int page = 1; page <= pages; ++page)
        QVERIFY2(!drawnAtFoot(env.desktop.previews.at(0).pdfPath, page), qPrintable(QString::number(page)));
}

QTEST_MAIN(TestHtmlPrint)
#include "tst_htmlprint.moc"
