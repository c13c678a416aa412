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

#include <numeric>

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

struct PdfWord
{
    QString text;
    QRectF box; // in points, from the page's top left
};

// The words of each page of a PDF file, in reading order (pdftotext -bbox).
QList<QList<PdfWord>> pdfWords(const QString &path)
{
    QProcess proc;
    proc.start("pdftotext", {"-bbox", path, "-"});
    proc.waitForFinished(20000);
    static const QRegularExpression tag("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                        "yMax=\"([\\d.]+)\">([^<]*)</word>");
    QList<QList<PdfWord>> pages;
    for (const QRegularExpressionMatch &m : tag.globalMatch(QString::fromUtf8(proc.readAllStandardOutput()))) {
        if (m.captured(1).isEmpty())
            pages.append(QList<PdfWord>());
        else if (!pages.isEmpty())
            pages.last().append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return pages;
}

// How far down page `page` (from 1) anything is drawn, in points (one pixel
// of a 72 dpi picture each); 0 for a blank page.
double inkBottom(const QString &pdf, int page)
{
    QTemporaryDir scratch;
    const QString root = scratch.path() + "/page";
    const QString n = QString::number(page);
    if (QProcess::execute("pdftoppm", {"-r", "72", "-gray", "-singlefile", "-f", n, "-l", n, pdf, root}) != 0)
        return -1;
    const QImage picture(root + ".pgm");
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(picture.pixel(x, y)) < 200)
                return y + 1;
        }
    }
    return 0;
}

// A document built as the inventory forms build their purchase order and
// material request list: sizes in device pixels of a 600 dpi page, a company
// header, a table of numbered lines with padded cells, then a closing text.
QString requestDocument(bool list, int lines)
{
    const QString header =
        "<html><head><style>* { font-family: 'Times New Roman', serif; }</style></head>"
        "<body style='font-size:72px;'><table width='100%' border='1' cellspacing='0' cellpadding='10' "
        "style='border-collapse:collapse;'><tr><td width='15%'>&nbsp;</td><td width='55%' align='center'>"
        "<span style='font-size:150px; font-weight:bold;'>MORVEL COATS</span><br>"
        "<span style='font-size:55px;'>Plot 4, GIDC</span></td><td width='30%'>&nbsp;</td></tr>"
        "<tr><td colspan='3' align='center'><span style='font-size:100px; font-weight:bold;'>%1</span></td></tr>"
        "</table><table width='100%' border='1' cellspacing='0' cellpadding='10' "
        "style='border-collapse:collapse; margin-top:20px;'><tr>%2</tr>";
    QString html = header.arg(list ? "PURCHASE ORDER LIST" : "PURCHASE ORDER",
                              list ? "<th>PO Number</th><th>PO Date</th><th>Supplier</th><th>Item Name</th>"
                                     "<th>Category</th><th>Qty</th><th>UOM</th><th>Status</th>"
                                   : "<th>S.No</th><th>Category</th><th>Item Name</th><th>Order Qty</th><th>UOM</th>");
    for (int n = 1; n <= lines; ++n) {
        const QString item = QString("Steel rod %1").arg(n, 3, 10, QChar('0'));
        html += list ? QString("<tr><td>MR/26-27/%1</td><td>08-12-2026</td><td>SHAH TRADERS</td><td>%2</td>"
                               "<td>Hardware</td><td align='right'>%1.00</td><td>kgs</td><td>Open</td></tr>")
                           .arg(n).arg(item)
                     : QString("<tr><td>%1</td><td>Hardware</td><td>%2</td><td align='right'>%1</td><td>kgs</td></tr>")
                           .arg(n).arg(item);
    }
    html += list ? "</table><table width='100%' cellpadding='8' style='margin-top:50px;'><tr><td align='center' "
                   "style='font-size:40px; color:#888;'>Generated by <b>Kestrova</b> Management Software</td></tr>"
                 : "</table><table width='100%' style='margin-top:200px;'><tr><td width='60%'>&nbsp;</td>"
                   "<td width='40%' align='center'>____________<br><b>Authorised Signatory</b><br>"
                   "<b>For MORVEL COATS</b></td></tr>";
    return html + "</table></body></html>";
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

// The purchase order and the material request list keep their page: each
// page holds the document's own text at the printer's scale and nothing
// more (no page number under its last line), a long one runs on to further
// pages with every line once, in order, and nothing is cut at a page edge.
void TestHtmlPrint::previewPagesHoldTheDocumentAlone_data()
{
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("lastWord");
    QTest::newRow("purchase order") << false << 3 << "COATS";
    QTest::newRow("purchase order of many lines") << false << 40 << "COATS";
    QTest::newRow("material request list") << true << 3 << "Software";
    QTest::newRow("material request list of many lines") << true << 60 << "Software";
}

void TestHtmlPrint::previewPagesHoldTheDocumentAlone()
{
    QFETCH(bool, list);
    QFETCH(int, lines);
    QFETCH(QString, lastWord);
    TestEnvironment env;
    const HtmlPrintProfile profile =
        list ? HtmlPrintProfiles::materialRequestList() : HtmlPrintProfiles::purchaseOrder();
    QCOMPARE(printHtmlDocument(nullptr, requestDocument(list, lines), profile), HtmlPrintResult::PreviewClosed);
    const QString pdf = env.desktop.previews.at(0).pdfPath;
    const QList<QList<PdfWord>> pages = pdfWords(pdf);
    QCOMPARE(pages.size(), env.desktop.previews.at(0).pageCount);
    QVERIFY2(lines > 10 ? pages.size() > 1 : pages.size() == 1, qPrintable(QString::number(pages.size())));

    QList<int> printedLines;
    static const QRegularExpression line("Steel rod (\\d+)");
    for (const QRegularExpressionMatch &m : line.globalMatch(pdfText(pdf)))
        printedLines << m.captured(1).toInt();
    QList<int> allLines(lines);
    std::iota(allLines.begin(), allLines.end(), 1);
    QCOMPARE(printedLines, allLines);

    // Nothing runs off the foot of a page; the document's last word ends
    // the text, and nothing is drawn below it.
    const double pageHeight = pdfPageSize(pdf).height();
    for (int p = 1; p <= pages.size(); ++p) {
        const double ink = inkBottom(pdf, p);
        QVERIFY2(ink > 0 && ink < pageHeight - 2, qPrintable(QString("page %1 drawn down to %2").arg(p).arg(ink)));
    }
    QVERIFY(!pages.last().isEmpty());
    const PdfWord last = pages.last().last();
    QCOMPARE(last.text, lastWord);
    const double inkEnd = inkBottom(pdf, int(pages.size()));
    QVERIFY2(inkEnd <= last.box.bottom() + 2,
             qPrintable(QString("drawn down to %1, last line ends at %2").arg(inkEnd).arg(last.box.bottom())));

    // A 72 px line is 72/600 inch (8.64 points) high, its cells padded by
    // 10 px of 96 dpi scaled to the printer as well.
    QList<QRectF> rods;
    for (const PdfWord &word : pages.first()) {
        if (word.text == "rod")
            rods << word.box;
    }
    QVERIFY(rods.size() >= 2);
    const double height = rods.at(0).height(), pitch = rods.at(1).top() - rods.at(0).top();
    QVERIFY2(height > 8.64 && height < 8.64 * 1.25, qPrintable(QString::number(height)));
    QVERIFY2(pitch > 8.64 + 2 * 10 * 72 / 96.0, qPrintable(QString::number(pitch)));
}

QTEST_MAIN(TestHtmlPrint)
#include "tst_htmlprint.moc"
