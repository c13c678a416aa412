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
class QProcess;
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

    // A longer document is refused as too long to draw: the preview keeps
    // every page in memory.
    int pageLimit = 1000;

    RenderPaint paint = RenderPaint::Single;
    std::optional<QPageLayout::Orientation> orientation; // none: the printer's default
    qreal marginMm = 10;        // all four sides
    QString previewTitle;
};

// Renders the document and shows the preview (blocks until it is closed), or
// shows the profile's failure message with the reason. Returns true when the
// preview was shown. The wait cursor shows while the tool runs.
//
// The single and sliced modes draw the picture in bands (the tool paints
// nothing below a certain height of one picture), several runs at a time,
// and cut it into page-high pictures: one picture taller than a page prints
// on as many pages as it fills, each at the page width.
bool renderHtmlToPages(QWidget *parent, const QString &html, const PageRenderProfile &profile);
// One HTML document per printed page for the per-page mode; the single and
// sliced modes render the first.
bool renderHtmlToPages(QWidget *parent, const QStringList &pagesHtml, const PageRenderProfile &profile);

// The pictures of a rendered document, one per printed page, each at most a
// page high. A long document keeps them compressed and reads one at a time.
class PagePictures
{
public:
    void append(const QImage &page);
    // Kept as PNG, compressed on `threads` threads meanwhile; finish() waits.
    void appendCompressed(const QList<QImage> &pages, int threads);
    int count() const { return int(m_pages.size()); }
    QImage page(int index) const;
    // The bytes of every page held as pixels.
    qint64 pixelBytes() const;

private:
    struct Page
    {
        QImage image;
        QByteArray png;
        QSize size;
    };
    QList<Page> m_pages;
    QList<QImage> m_previewCopies; // made by the first preview, shared by later ones
    double m_previewScale = 0;
    friend void paintPages(QPrinter *printer, PagePictures &pages);
};

// The preview's paint handlers. Each draws with smooth scaling into the
// printer's page rectangle, a picture at the top of its page scaled to the
// page width.
// One picture per page, each after the first on a new page, scaled down when
// it would run past the bottom (RenderPlatform::pictureTarget): the tax invoice.
void paintInvoicePages(const QList<QImage> &pages, QPrinter *printer);
// The page-high pictures of a single or sliced document, one per page. The
// preview, which keeps every page it draws in memory, gets them at a lower
// resolution when the whole would exceed RenderPlatform::previewBudgetBytes;
// the paper always gets them whole.
void paintPages(QPrinter *printer, PagePictures &pages);

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
    bool started = true;
    bool finished = false; // ended by itself within the limit
    bool exitedCleanly = false; // finished with exit code 0
    int exitCode = -1;
    QString errorOutput;
};
// Runs the tool, waiting at most the limit; a tool still running then is ended.
ToolRun runTool(const QString &toolPath, const QStringList &arguments, int timeLimitMs);
// Waits for a started tool as runTool does.
ToolRun waitForTool(QProcess &process, int waitMs);

// The tool's error output without its progress report (the "Loading page",
// "Rendering" and "Done" lines and the percentage bars) and without the
// toolkit's notes about the environment; empty when nothing else is left.
QString toolErrorText(const QString &errorOutput);

// The time limit of one run: the use's limit, and 10 seconds more for every
// megabyte of HTML, since the tool lays the whole document out on every run.
int timeLimitFor(int baseMs, qint64 htmlBytes);

// The tool paints nothing below a height of 32767 pixels of one picture, and
// the painter draws no picture that tall: a document is drawn in bands of
// this many rows, each run asking for one row more to learn whether the page
// goes on ("--crop-y" top "--crop-h" bandRows + 1).
constexpr int bandRows = 32000;
QStringList bandArguments(int band);

// Tool runs at a time while a long document is drawn in bands.
int parallelRuns();

// The preview keeps the pictures of all pages in memory; beyond this it
// gets them at a lower resolution.
constexpr qint64 previewBudgetBytes = qint64(1) << 30;

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
// The rows of a picture `imageWidth` wide that fill one page.
int stripRows(int imageWidth, const QSize &page);

// Loads a rendered picture whatever its size: a statement of a few hundred
// rows is one picture far above the image reader's default allocation limit,
// which would otherwise leave its preview blank. Given without an alpha
// channel (Format_RGB32), which the preview draws without copying.
QImage loadPicture(const QString &path);

} // namespace RenderPlatform
