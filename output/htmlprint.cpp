#include "htmlprint.h"

#include "desktop.h"
#include "wholefile.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPrinter>
#include <QTextDocument>

namespace {

const int PreviewDpi = 600;

void setDefaultFont(QTextDocument &document, const QString &family, int pointSize)
{
    if (!family.isEmpty())
        document.setDefaultFont(QFont(family, pointSize > 0 ? pointSize : -1));
}

HtmlPrintResult previewDocument(QWidget *parent, const HtmlPrintProfile &profile,
                                const std::function<void(QPrinter *)> &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    if (profile.pageSizeA4)
        printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(profile.orientation);
    Desktop::printPreview(parent, &printer, profile.previewTitle, paint);
    return HtmlPrintResult::PreviewClosed;
}

HtmlPrintResult writePdf(QWidget *parent, const QString &html, const HtmlPrintProfile &profile)
{
    const QString path =
        Desktop::getSaveFileName(parent, profile.saveCaption, profile.saveFileName, profile.saveFilter);
    if (path.isEmpty())
        return HtmlPrintResult::Cancelled;

    // Never reported as saved unless the printer finished a whole file; a
    // failed print leaves what the chosen name held before.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (profile.pageSizeA4)
        printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(profile.orientation);
    QString reason;
    const bool saved = WholeFile::printPdf(&printer, [&html, &profile](QPrinter *p) {
        QTextDocument document;
        setDefaultFont(document, profile.fontFamily, profile.fontPointSize);
        document.setHtml(html);
        document.print(p);
    }, &reason);
    if (!saved) {
        Desktop::critical(parent, profile.notSavedTitle, profile.notSavedText + path + QLatin1Char('\n') + reason);
        return HtmlPrintResult::NotSaved;
    }
    if (!profile.savedText.isEmpty())
        Desktop::information(parent, profile.savedTitle, profile.savedText + path);
    if (profile.openSavedFile)
        Desktop::openFile(path);
    return HtmlPrintResult::Saved;
}

} // namespace

QString totalTooLargeToPrintText()
{
    return QStringLiteral("A total of these rows is too large to be printed; nothing was printed.");
}

void paintHtmlDocument(QPrinter *printer, const QString &html, const HtmlPrintProfile &profile)
{
    // The documents give their sizes in device pixels of a 600 dpi page,
    // whatever resolution the preview's printer would otherwise take.
    printer->setResolution(PreviewDpi);
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    QTextDocument document;
    // Laid out on the printer itself: fonts, cell paddings and pictures take
    // the printer's resolution, and the pages print at the scale they were
    // laid out at.
    document.documentLayout()->setPaintDevice(printer);
    setDefaultFont(document, profile.fontFamily, profile.fontPointSize);
    // The text width before the page size: setting the width drops the page
    // height, and a document without one is printed as an unpaged copy with
    // margins and page numbers of the toolkit's own.
    document.setTextWidth(page.width());
    document.setPageSize(page.size());
    document.setHtml(html);
    document.print(printer);
}

HtmlPrintResult printHtmlDocument(QWidget *parent, const QString &html, const HtmlPrintProfile &profile)
{
    if (profile.mode == HtmlPrintProfile::Mode::Pdf)
        return writePdf(parent, html, profile);
    return previewDocument(parent, profile, [html, profile](QPrinter *p) { paintHtmlDocument(p, html, profile); });
}

HtmlPrintResult printHtmlDocument(QWidget *parent, const HtmlPrintProfile &profile,
                                  const std::function<void(QPrinter *)> &paint)
{
    return previewDocument(parent, profile, paint);
}

namespace HtmlPrintProfiles {

namespace {
HtmlPrintProfile timesPreview(QPageLayout::Orientation orientation, int pointSize, const QString &title)
{
    HtmlPrintProfile p;
    p.mode = HtmlPrintProfile::Mode::Preview;
    p.orientation = orientation;
    p.fontFamily = QStringLiteral("Times New Roman");
    p.fontPointSize = pointSize;
    p.previewTitle = title;
    return p;
}
} // namespace

HtmlPrintProfile materialRequestList()
{
    return timesPreview(QPageLayout::Landscape, 10, QStringLiteral("Purchase Order List"));
}

HtmlPrintProfile purchaseOrder()
{
    return timesPreview(QPageLayout::Portrait, 72, QStringLiteral("Purchase Order"));
}

HtmlPrintProfile expensesReport()
{
    HtmlPrintProfile p;
    p.mode = HtmlPrintProfile::Mode::Pdf;
    p.orientation = QPageLayout::Landscape;
    p.saveCaption = QStringLiteral("Save PDF");
    p.saveFileName = QStringLiteral("expenses_report.pdf");
    p.saveFilter = QStringLiteral("PDF file(*.pdf)");
    p.savedTitle = QStringLiteral("Success");
    p.savedText = QStringLiteral("PDF saved to:\n");
    p.openSavedFile = true;
    return p;
}

} // namespace HtmlPrintProfiles
