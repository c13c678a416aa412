#pragma once
// Printed documents drawn as pictures: a document's HTML is written to a file,
// the external tool wkhtmltoimage turns it into a PNG of a fixed pixel width,
// and the pictures are shown in a maximised print preview on a
// high-resolution A4 printer, from which the user prints.
//
// renderHtmlToPages does this once for every document; a document describes
// its use in a PageRenderProfile (the ready-made profiles are in
// RenderProfiles) and supplies only its HTML, or, through
// renderComposedPages, the function that reads and composes it.

#include "pagepictures.h"
#include "rendertool.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

// Where the tool comes from.
enum class RenderTool {
    ApplicationFolder, // must be found; a missing tool is reported with the profile's message
    ByName,            // started by its bare name, without a check beforehand
};

// The name of the HTML file the tool reads.
enum class RenderHtmlFile {
    Temporary, // made from a name template ("..._XXXXXX.html")
    Fixed,     // the name as it stands
};

// When a run counts as rendered. Every test also requires that the tool ended
// within the time limit, and a picture that can be read is needed to print.
enum class RenderSuccess {
    ImageExists,              // the image file exists afterwards
    ExitCodeZeroAndImage,     // exit code 0 and the image file exists
    FinishedWithExitCodeZero, // exit code 0
};

// How the pictures reach the printed pages.
enum class RenderPaint {
    PerPage, // one HTML document and one picture per printed page
    Cut,     // one document, its picture cut into pages where no text is cut
};

// A critical message box; an empty text shows nothing.
struct RenderMessage
{
    QString title = QStringLiteral("Error");
    QString text;
};

// Draws the pages in the preview (and on paper when the user prints).
using PagePaintHandler = std::function<void(QPrinter *, const PagePictures &)>;

struct PageRenderProfile
{
    RenderTool tool = RenderTool::ApplicationFolder;
    RenderMessage toolMissing;

    RenderHtmlFile htmlFile = RenderHtmlFile::Temporary;
    QString htmlName;             // file name (template) in the render's folder
    RenderMessage htmlNotWritten; // empty: the failure message is shown instead

    QString imageName;            // file name in the render's folder; per-page: holds "%1", the page index from 0

    QStringList toolArguments;    // the options between "--enable-local-file-access" and "--quality" "100"
    int timeLimitMs = 10000;      // for each run; the tool is ended when it runs longer
    RenderSuccess success = RenderSuccess::ExitCodeZeroAndImage;
    RenderMessage failure;
    bool failureShowsErrorOutput = false; // the tool's error output follows the failure text

    // A longer document is refused as too long to print, as soon as its
    // length is known, with what to do instead.
    int pageLimit = 1000;
    QString documentName = QStringLiteral("The document"); // "... is too long to print"
    QString tooLongAdvice = QStringLiteral("Print a shorter period or fewer rows.");

    RenderPaint paint = RenderPaint::Cut;
    PagePaintHandler paintHandler = previewPaint;
    std::optional<QPageLayout::Orientation> orientation; // none: the printer's default
    qreal marginMm = 10;          // all four sides
    QString previewTitle;

    // Where copies of the tool's pictures go before the render's folder is
    // removed, to look at them; empty: nowhere.
    QString keepPicturesIn;
};

// Renders the document and shows the preview (blocks until it is closed), or
// shows the profile's failure message with the reason. Returns true when the
// preview was shown.
//
// Each render works in a folder of its own in the temporary folder, removed
// before the preview shows. The tool runs several times at once, each run
// drawing one page (per-page) or a part of the document's rows; meanwhile the
// window keeps answering (user input waits), the wait cursor shows, and
// within a second a progress dialog counts the pages drawn (of the pages the
// preview will have, where that is known), whose Cancel ends the render
// without a preview or a message. The dialog is gone before the preview or a
// message shows.
bool renderHtmlToPages(QWidget *parent, const QString &html, const PageRenderProfile &profile);
// One HTML document per printed page for the per-page mode; the cut mode
// renders the first.
bool renderHtmlToPages(QWidget *parent, const QStringList &pagesHtml, const PageRenderProfile &profile);

// A document as its composer gives it: its HTML (one document, or one per
// printed page for the per-page mode), or nothing and why.
struct ComposedDocument
{
    QStringList pagesHtml;
    // The profile, where the document settles it itself (a delivery challan
    // of several pages prints page by page).
    std::optional<PageRenderProfile> profile;
    // No pages: shown as a warning; no text, nothing is shown.
    RenderMessage refusal;
};
// Reads what the document shows and composes its HTML. Runs on a thread of
// its own: it reads the database through readingDatabase()
// (core/readconnection.h), a read-only connection of that thread, and
// touches no widget.
using DocumentComposer = std::function<ComposedDocument()>;

// As renderHtmlToPages, from the click on: the document is read and composed
// off the window's thread, under the same progress dialog, and Cancel at any
// point shows nothing.
bool renderComposedPages(QWidget *parent, const PageRenderProfile &profile, const DocumentComposer &compose);

// The uses of the renderer.
namespace RenderProfiles {
PageRenderProfile taxInvoice(int invoiceNo);
PageRenderProfile deliveryChallan(int challanNo);
PageRenderProfile salarySlip(const QString &employeeName);
PageRenderProfile paymentReceipt();
PageRenderProfile supplierStatement();
PageRenderProfile paymentPendingStatement();
PageRenderProfile customerPaymentStatement();
} // namespace RenderProfiles
