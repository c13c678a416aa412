#pragma once
// Documents printed through Qt's rich-text layout: a print preview on an A4
// printer, or a PDF file the user names. No external program is involved.

#include <QPageLayout>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

struct HtmlPrintProfile
{
    enum class Mode { Preview, Pdf };
    Mode mode = Mode::Preview;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    bool pageSizeA4 = true;     // false: the printer's default page size

    // Default font of the rich-text document; an empty family keeps Qt's.
    QString fontFamily;
    int fontPointSize = 0;

    // Preview
    QString previewTitle;

    // PDF: the save dialog, and what follows a written file. The path is
    // appended to both message texts.
    QString saveCaption;
    QString saveFileName;
    QString saveFilter;
    QString savedTitle;
    QString savedText;          // empty: no message
    bool openSavedFile = false;
    QString notSavedTitle = QStringLiteral("Error");
    QString notSavedText = QStringLiteral("The PDF file could not be written:\n");
};

enum class HtmlPrintResult {
    PreviewClosed, // the preview was shown and closed (printed or not)
    Cancelled,     // no file chosen
    Saved,         // the PDF file exists and holds the document
    NotSaved,      // a file was chosen but nothing was written
};

// Prints the HTML as the profile says; every dialog is parented to `parent`.
// A preview's pages are painted by paintHtmlDocument.
HtmlPrintResult printHtmlDocument(QWidget *parent, const QString &html, const HtmlPrintProfile &profile);
// The preview of a form that paints its pages with its own handler, which
// holds the document and lays it out with paintHtmlDocument.
HtmlPrintResult printHtmlDocument(QWidget *parent, const HtmlPrintProfile &profile,
                                  const std::function<void(QPrinter *)> &paint);

// A preview's paint handler: lays the HTML out afresh on the printer's pages
// (so a page set up anew in the preview reflows the text) in a rich-text
// document with the profile's default font, and prints it page by page as
// laid out, adding nothing of its own.
void paintHtmlDocument(QPrinter *printer, const QString &html, const HtmlPrintProfile &profile);

// The warning text of a printout refused because a total of its rows cannot
// be formed (titled "Error"; nothing is printed or saved).
QString totalTooLargeToPrintText();

// The uses.
namespace HtmlPrintProfiles {
HtmlPrintProfile materialRequestList(); // "Purchase Order List", landscape
HtmlPrintProfile purchaseOrder();       // "Purchase Order", portrait
HtmlPrintProfile expensesReport();      // "expenses_report.pdf", landscape PDF
} // namespace HtmlPrintProfiles
