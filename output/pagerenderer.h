#pragma once
// Printed documents drawn as pictures: a document's HTML is written to a file
// in the temporary folder, the external tool wkhtmltoimage turns it into a PNG
// of a fixed pixel width, and the picture is shown in a maximised print
// preview on a high-resolution A4 printer, from which the user prints.
//
// renderHtmlToPages does this once for every document; a document describes
// its use in a PageRenderProfile (the ready-made profiles are in
// RenderProfiles) and supplies only its HTML.

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Where the tool comes from.
enum class RenderTool {
    ApplicationFolder, // must be found; a missing tool is reported with the profile's message
    ByName,            // started by its bare name, without a check beforehand
};

// The HTML file the tool reads, in the temporary folder.
enum class RenderHtmlFile {
    Temporary, // made from a name template ("..._XXXXXX.html"), removed when the call ends
    Fixed,     // a fixed name, overwritten by every call and left in place
};

// When a run counts as rendered. Every test also requires that the tool ended
// within the time limit.
enum class RenderSuccess {
    ImageExists,              // the image file exists afterwards
    ExitCodeZeroAndImage,     // exit code 0 and the image file exists
    FinishedWithExitCodeZero, // exit code 0
};

// How the picture reaches the printed pages.
enum class RenderPaint {
    PerPage, // one HTML document and one picture per printed page
    Single,  // one picture at the top of one page
    Sliced,  // one tall picture cut into page-high strips
};

// A critical message box; an empty text shows nothing.
struct RenderMessage
{
    QString title = QStringLiteral("Error");
    QString text;
};

struct PageRenderProfile
{
    RenderTool tool = RenderTool::ApplicationFolder;
    RenderMessage toolMissing;

    RenderHtmlFile htmlFile = RenderHtmlFile::Temporary;
    QString htmlName;           // file name (template) in the temporary folder
    RenderMessage htmlNotWritten; // empty: stop silently (per-page: that page is left out)

    QString imageName;          // file name in the temporary folder; per-page: holds "%1", the page index from 0
    bool removeImage = false;   // delete the image before the run and once it has been used
    bool removeStaleImage = false; // delete an earlier image before the run; the new one stays

    QStringList toolArguments;  // the options between "--enable-local-file-access" and "--quality" "100"
    int timeLimitMs = 10000;    // the tool is ended when it runs longer
    RenderSuccess success = RenderSuccess::ExitCodeZeroAndImage;
    RenderMessage failure;      // per-page: shown only when no page rendered
    bool everyPageRequired = false; // per-page: a page that fails fails the whole document
    bool failureShowsErrorOutput = false; // the tool's error output follows the failure text

    RenderPaint paint = RenderPaint::Single;
    std::optional<QPageLayout::Orientation> orientation; // none: the printer's default
    qreal marginMm = 10;        // all four sides
    QString previewTitle;
};

// Renders the document and shows the preview (blocks until it is closed), or
// shows the profile's failure message. Returns true when the preview was shown.
bool renderHtmlToPages(QWidget *parent, const QString &html, const PageRenderProfile &profile);
// One HTML document per printed page for the per-page mode; the single and
// sliced modes render the first.
bool renderHtmlToPages(QWidget *parent, const QStringList &pagesHtml, const PageRenderProfile &profile);

// The preview's paint handlers, one for each way the pictures reach the
// printed pages (RenderPaint). Each draws with smooth scaling into the
// printer's page rectangle, a picture at the top of its page scaled to the
// page width (RenderPlatform::pictureTarget).
// One picture on one page: the delivery challan, the salary slip, the supplier
// payment receipt and statement.
void previewPaint(QPrinter *printer, const QImage &image);
// One picture per page, each after the first on a new page: the tax invoice.
void paintInvoicePages(const QList<QImage> &pages, QPrinter *printer);
// The picture at `imagePath` cut into page-high strips, one strip per page:
// the receivables statements. A picture that cannot be loaded paints nothing.
void paintStatementPages(QPrinter *printer, const QString &imagePath);

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

// The tool on this platform, and the arithmetic of the painting.
namespace RenderPlatform {

// The tool's executable name: "wkhtmltoimage", "wkhtmltoimage.exe" on Windows.
QString toolFileName();

// The tool in the application folder when it is there, else the installed one
// found on the program search path; empty when there is neither.
QString locateTool(const QString &applicationFolder);

// "--enable-local-file-access", the extra options, "--quality", "100", the
// HTML path and the image path (both with native separators).
QStringList toolArguments(const QStringList &extra, const QString &htmlPath, const QString &imagePath);

// The factor given with "--zoom" among the options; 1 when there is none.
double requestedZoom(const QStringList &extra);

// True when the tool's "--version" text says it is built on its own patched
// Qt; only such a build honours "--zoom".
bool reportsPatchedQt(const QString &versionText);
bool toolHonoursZoom(const QString &toolPath);

// The HTML as the tool gets it: with <meta charset="utf-8"> when it declares
// no character set, for a zoom other than 1 a style that zooms the page, and,
// for a page set in Times New Roman, a stand-in of the same widths (Liberation
// Serif, Tinos) where that font is not installed.
QString prepareHtml(const QString &html, double cssZoom);

struct ToolRun
{
    bool finished = false; // ended by itself within the limit
    bool exitedCleanly = false; // finished with exit code 0
    QString errorOutput;
};
// Runs the tool, waiting at most the limit; a tool still running then is ended.
ToolRun runTool(const QString &toolPath, const QStringList &arguments, int timeLimitMs);

// Where a picture goes on a page: scaled to the page width, at the top. A
// picture that would then run past the bottom is scaled down to the page
// height instead and centred, so that nothing of it is cut off.
QRect pictureTarget(const QSize &image, const QSize &page);

// Strips of a tall picture, one per page: which rows of the picture and where
// on the page they are drawn.
struct Strip
{
    QRect source;
    QRect target;
};
QList<Strip> stripsForPages(const QSize &image, const QSize &page);

// Loads a rendered picture whatever its size: a statement of a few hundred
// rows is one picture far above the image reader's default allocation limit,
// which would otherwise leave its preview blank.
QImage loadPicture(const QString &path);

} // namespace RenderPlatform
