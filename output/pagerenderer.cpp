#include "pagerenderer.h"

#include "desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>

#include <cmath>
#include <functional>
#include <memory>

namespace RenderPlatform {

QString toolFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("wkhtmltoimage.exe");
#else
    return QStringLiteral("wkhtmltoimage");
#endif
}

QString locateTool(const QString &applicationFolder)
{
    const QFileInfo local(applicationFolder + QLatin1Char('/') + toolFileName());
    if (local.isFile() && local.isExecutable())
        return local.absoluteFilePath();
    return QStandardPaths::findExecutable(QStringLiteral("wkhtmltoimage"));
}

QStringList toolArguments(const QStringList &extra, const QString &htmlPath, const QString &imagePath)
{
    QStringList args{QStringLiteral("--enable-local-file-access")};
    args << extra;
    args << QStringLiteral("--quality") << QStringLiteral("100");
    args << QDir::toNativeSeparators(htmlPath) << QDir::toNativeSeparators(imagePath);
    return args;
}

double requestedZoom(const QStringList &extra)
{
    const int at = extra.indexOf(QStringLiteral("--zoom"));
    if (at < 0 || at + 1 >= extra.size())
        return 1.0;
    bool ok = false;
    const double zoom = extra.at(at + 1).toDouble(&ok);
    return ok && zoom > 0 ? zoom : 1.0;
}

bool reportsPatchedQt(const QString &versionText)
{
    return versionText.contains(QStringLiteral("with patched qt"), Qt::CaseInsensitive);
}

bool toolHonoursZoom(const QString &toolPath)
{
    QProcess process;
    process.start(toolPath, {QStringLiteral("--version")});
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
        return false;
    }
    return reportsPatchedQt(QString::fromUtf8(process.readAllStandardOutput())
                            + QString::fromUtf8(process.readAllStandardError()));
}

QString prepareHtml(const QString &html, double cssZoom)
{
    QString additions;
    static const QRegularExpression charsetMeta(QStringLiteral("<meta[^>]*charset"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (!html.contains(charsetMeta))
        additions += QStringLiteral("<meta charset=\"utf-8\">");
    if (cssZoom > 0 && std::abs(cssZoom - 1.0) > 1e-9)
        additions += QStringLiteral("<style>html { zoom: %1; }</style>").arg(QString::number(cssZoom));
    // The documents are set in Times New Roman. Where it is not installed the
    // tool falls back to a wider serif face, table cells wrap and a page
    // meant for A4 runs taller; a face of the same widths stands in then.
    static const QRegularExpression timesNewRoman(QStringLiteral("Times New Roman"),
                                                  QRegularExpression::CaseInsensitiveOption);
    if (html.contains(timesNewRoman))
        additions += QStringLiteral("<style>@font-face { font-family: 'Times New Roman'; "
                                    "src: local('Times New Roman'), local('Liberation Serif'), local('Tinos'); }"
                                    "</style>");
    if (additions.isEmpty())
        return html;

    QString result = html;
    static const QRegularExpression headTag(QStringLiteral("<head(\\s[^>]*)?>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression htmlTag(QStringLiteral("<html(\\s[^>]*)?>"),
                                            QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatch match = headTag.match(result);
    if (match.hasMatch())
        return result.insert(match.capturedEnd(), additions);
    match = htmlTag.match(result);
    if (match.hasMatch())
        return result.insert(match.capturedEnd(), QStringLiteral("<head>") + additions + QStringLiteral("</head>"));
    return QStringLiteral("<head>") + additions + QStringLiteral("</head>") + result;
}

ToolRun runTool(const QString &toolPath, const QStringList &arguments, int timeLimitMs)
{
    ToolRun run;
    QProcess process;
    process.start(toolPath, arguments, QIODevice::ReadWrite);
    run.finished = process.waitForFinished(timeLimitMs);
    if (!run.finished && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(3000);
    }
    run.exitedCleanly = run.finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    run.errorOutput = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QRect pictureTarget(const QSize &image, const QSize &page)
{
    if (image.isEmpty() || page.isEmpty())
        return QRect();
    // Scaled to the page width, the picture fills it: centred means at x = 0.
    const int height = qRound(double(image.height()) * page.width() / image.width());
    if (height <= page.height())
        return QRect(0, 0, page.width(), height);
    // Taller than the page (a table cell that wrapped to two lines): the
    // whole page, totals and signature included, rather than a cut bottom.
    const int width = qRound(double(image.width()) * page.height() / image.height());
    return QRect((page.width() - width) / 2, 0, width, page.height());
}

QList<Strip> stripsForPages(const QSize &image, const QSize &page)
{
    QList<Strip> strips;
    if (image.isEmpty() || page.isEmpty())
        return strips;
    const double scale = double(page.width()) / image.width();
    const int stripHeight = int(page.height() / scale);
    if (stripHeight <= 0)
        return strips;
    const int pages = (image.height() + stripHeight - 1) / stripHeight;
    for (int k = 0; k < pages; ++k) {
        const int rows = qMin(stripHeight, image.height() - k * stripHeight);
        strips.append({QRect(0, k * stripHeight, image.width(), rows),
                       QRect(0, 0, page.width(), int(rows * scale))});
    }
    return strips;
}

QImage loadPicture(const QString &path)
{
    const int limitMb = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    QImageReader reader(path);
    const QImage picture = reader.read();
    QImageReader::setAllocationLimit(limitMb);
    return picture;
}

} // namespace RenderPlatform

namespace {

using namespace RenderPlatform;

void showMessage(QWidget *parent, const RenderMessage &message, const QString &detail = QString())
{
    if (!message.text.isEmpty())
        Desktop::critical(parent, message.title, message.text + detail);
}

enum class PageResult { HtmlNotWritten, Failed, Rendered };

struct PageOutcome
{
    PageResult result = PageResult::Failed;
    QString errorOutput;
};

// Writes one HTML document where the profile says, runs the tool on it and
// applies the profile's success test.
PageOutcome renderPage(const QString &html, const QString &imagePath, const QString &toolPath,
                       double cssZoom, const PageRenderProfile &profile)
{
    const QString htmlPath = Desktop::temporaryFolder() + QLatin1Char('/') + profile.htmlName;
    const QString prepared = prepareHtml(html, cssZoom);

    std::unique_ptr<QTemporaryFile> temporary;
    QString writtenPath;
    if (profile.htmlFile == RenderHtmlFile::Temporary) {
        temporary = std::make_unique<QTemporaryFile>(htmlPath);
        if (!temporary->open())
            return {PageResult::HtmlNotWritten, QString()};
        temporary->write(prepared.toUtf8());
        temporary->flush();
        writtenPath = temporary->fileName();
        temporary->close();
    } else {
        QFile file(htmlPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return {PageResult::HtmlNotWritten, QString()};
        QTextStream out(&file);
        out.setEncoding(QStringConverter::Utf8);
        out << prepared;
        out.flush();
        writtenPath = htmlPath;
    }

    if (profile.removeImage || profile.removeStaleImage)
        QFile::remove(imagePath);

    const ToolRun run = runTool(toolPath, toolArguments(profile.toolArguments, writtenPath, imagePath),
                                profile.timeLimitMs);
    bool rendered = false;
    switch (profile.success) {
    case RenderSuccess::ImageExists:
        rendered = run.finished && QFileInfo::exists(imagePath);
        break;
    case RenderSuccess::ExitCodeZeroAndImage:
        rendered = run.exitedCleanly && QFileInfo::exists(imagePath);
        break;
    case RenderSuccess::FinishedWithExitCodeZero:
        rendered = run.exitedCleanly;
        break;
    }
    return {rendered ? PageResult::Rendered : PageResult::Failed, run.errorOutput};
}

// A painter on the printer with smooth drawing, and the page in whole device
// pixels.
struct PagePainter
{
    explicit PagePainter(QPrinter *printer)
        : painter(printer)
        , page(printer->pageRect(QPrinter::DevicePixel).toRect())
    {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }

    QPainter painter;
    QRect page;
};

void drawPicture(PagePainter &p, const QImage &image)
{
    if (!image.isNull())
        p.painter.drawImage(pictureTarget(image.size(), p.page.size()), image);
}

} // namespace

void previewPaint(QPrinter *printer, const QImage &image)
{
    PagePainter p(printer);
    if (p.painter.isActive())
        drawPicture(p, image);
}

void paintInvoicePages(const QList<QImage> &pages, QPrinter *printer)
{
    PagePainter p(printer);
    if (!p.painter.isActive())
        return;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            printer->newPage();
        drawPicture(p, pages.at(i));
    }
}

void paintStatementPages(QPrinter *printer, const QString &imagePath)
{
    const QImage image = loadPicture(imagePath);
    if (image.isNull())
        return;
    PagePainter p(printer);
    if (!p.painter.isActive())
        return;
    const QList<Strip> strips = stripsForPages(image.size(), p.page.size());
    for (int k = 0; k < strips.size(); ++k) {
        if (k > 0)
            printer->newPage();
        p.painter.drawImage(strips.at(k).target, image, strips.at(k).source);
    }
}

bool renderHtmlToPages(QWidget *parent, const QString &html, const PageRenderProfile &profile)
{
    return renderHtmlToPages(parent, QStringList{html}, profile);
}

bool renderHtmlToPages(QWidget *parent, const QStringList &pagesHtml, const PageRenderProfile &profile)
{
    QString tool = locateTool(Desktop::applicationFolder());
    if (tool.isEmpty()) {
        if (profile.tool == RenderTool::ApplicationFolder) {
            showMessage(parent, profile.toolMissing);
            return false;
        }
        tool = toolFileName(); // left to the program search; failing to start is a failed run
    }

    // A tool built without its patched Qt ignores "--zoom"; the page itself
    // is zoomed then, so the picture looks as the document means it to.
    const double zoom = requestedZoom(profile.toolArguments);
    const double cssZoom = zoom != 1.0 && !toolHonoursZoom(tool) ? zoom : 1.0;
    const QString temporaryFolder = Desktop::temporaryFolder();

    QList<QImage> images;
    QString singleImagePath;
    if (profile.paint == RenderPaint::PerPage) {
        QString lastError;
        bool pageMissing = false;
        for (int i = 0; i < pagesHtml.size(); ++i) {
            const QString imagePath = temporaryFolder + QLatin1Char('/') + profile.imageName.arg(i);
            const PageOutcome outcome = renderPage(pagesHtml.at(i), imagePath, tool, cssZoom, profile);
            // A picture that does not decode would print as a blank page.
            const QImage image = outcome.result == PageResult::Rendered ? loadPicture(imagePath) : QImage();
            if (!image.isNull())
                images.append(image);
            else
                pageMissing = true;
            if (outcome.result == PageResult::Failed)
                lastError = outcome.errorOutput;
            if (profile.removeImage)
                QFile::remove(imagePath);
        }
        if (images.isEmpty() || (pageMissing && profile.everyPageRequired)) {
            showMessage(parent, profile.failure, profile.failureShowsErrorOutput ? lastError : QString());
            return false;
        }
    } else {
        singleImagePath = temporaryFolder + QLatin1Char('/') + profile.imageName;
        const PageOutcome outcome = renderPage(pagesHtml.value(0), singleImagePath, tool, cssZoom, profile);
        if (outcome.result == PageResult::HtmlNotWritten) {
            showMessage(parent, profile.htmlNotWritten);
            return false;
        }
        const QImage image = outcome.result == PageResult::Rendered ? loadPicture(singleImagePath) : QImage();
        if (image.isNull()) {
            if (profile.removeImage)
                QFile::remove(singleImagePath);
            showMessage(parent, profile.failure,
                        profile.failureShowsErrorOutput ? outcome.errorOutput : QString());
            return false;
        }
        images.append(image);
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (profile.orientation)
        printer.setPageOrientation(*profile.orientation);
    const qreal m = profile.marginMm;
    printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);

    std::function<void(QPrinter *)> paint;
    switch (profile.paint) {
    case RenderPaint::PerPage:
        paint = [images](QPrinter *p) { paintInvoicePages(images, p); };
        break;
    case RenderPaint::Single:
        paint = [image = images.value(0)](QPrinter *p) { previewPaint(p, image); };
        break;
    case RenderPaint::Sliced:
        // The handler loads the picture itself, on every paint request.
        images.clear();
        paint = [singleImagePath](QPrinter *p) { paintStatementPages(p, singleImagePath); };
        break;
    }
    Desktop::printPreview(parent, &printer, profile.previewTitle, paint,
                          Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                              | Qt::WindowCloseButtonHint);

    if (profile.removeImage && !singleImagePath.isEmpty())
        QFile::remove(singleImagePath);
    return true;
}

namespace RenderProfiles {

namespace {

// The tax invoice and the delivery challan: portrait A4 drawn 2480 pixels
// wide, 15 seconds, the picture alone counts and is removed before and after.
PageRenderProfile a4Document(const QString &missingText, const QString &htmlName, const QString &imageName,
                             const QString &failureText, const QString &title)
{
    PageRenderProfile p;
    p.toolMissing = {QStringLiteral("Error"), missingText};
    p.htmlName = htmlName;
    p.imageName = imageName;
    p.removeImage = true;
    p.toolArguments = {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("2480"),
                       QStringLiteral("--zoom"), QStringLiteral("2.5")};
    p.timeLimitMs = 15000;
    p.success = RenderSuccess::ImageExists;
    p.failure = {QStringLiteral("Error"), failureText};
    p.paint = RenderPaint::Single;
    p.orientation = QPageLayout::Portrait;
    p.marginMm = 5;
    p.previewTitle = title;
    return p;
}

// The statements printed from the receivables lists: the tool by name, a
// fixed HTML file, one tall picture cut into landscape pages.
PageRenderProfile receivablesStatement(const QString &htmlName, const QString &imageName,
                                       const QStringList &arguments, const QString &title)
{
    PageRenderProfile p;
    p.tool = RenderTool::ByName;
    p.htmlFile = RenderHtmlFile::Fixed;
    p.htmlName = htmlName;
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    p.imageName = imageName;
    p.toolArguments = arguments;
    p.timeLimitMs = 10000;
    p.success = RenderSuccess::FinishedWithExitCodeZero;
    p.failure = {QStringLiteral("Error"), QStringLiteral("wkhtmltoimage failed:\n")};
    p.failureShowsErrorOutput = true;
    p.paint = RenderPaint::Sliced;
    p.orientation = QPageLayout::Landscape;
    p.marginMm = 10;
    p.previewTitle = title;
    return p;
}

// The single-page documents of purchase and salary: the application
// folder's tool, exit code 0 and a picture, 10 mm margins.
PageRenderProfile singlePage(const QString &missingText, const QString &htmlName, const QString &imageName,
                             const QStringList &arguments, const QString &failureText, const QString &title)
{
    PageRenderProfile p;
    p.toolMissing = {QStringLiteral("Missing Executable"), missingText};
    p.htmlName = htmlName;
    p.imageName = imageName;
    p.toolArguments = arguments;
    p.timeLimitMs = 10000;
    p.success = RenderSuccess::ExitCodeZeroAndImage;
    p.failure = {QStringLiteral("Error"), failureText};
    p.paint = RenderPaint::Single;
    p.marginMm = 10;
    p.previewTitle = title;
    return p;
}

} // namespace

PageRenderProfile taxInvoice(int invoiceNo)
{
    PageRenderProfile p = a4Document(QStringLiteral("wkhtmltoimage.exe not found!"),
                                     QStringLiteral("invoice_XXXXXX.html"), QStringLiteral("invoice_page_%1.png"),
                                     QStringLiteral("Failed to generate invoice!"),
                                     QStringLiteral("Invoice - ") + QString::number(invoiceNo));
    p.paint = RenderPaint::PerPage;
    p.everyPageRequired = true; // an invoice must not print with a page missing
    return p;
}

PageRenderProfile deliveryChallan(int challanNo)
{
    PageRenderProfile p = a4Document(QStringLiteral("wkhtmltoimage.exe not found in app folder!"),
                                     QStringLiteral("challan_XXXXXX.html"), QStringLiteral("challan_preview.png"),
                                     QStringLiteral("Image generation failed!\n"),
                                     QStringLiteral("DC Preview - ") + QString::number(challanNo));
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Cannot create temp HTML file!")};
    p.failureShowsErrorOutput = true;
    return p;
}

PageRenderProfile salarySlip(const QString &employeeName)
{
    PageRenderProfile p = singlePage(
        QStringLiteral("wkhtmltoimage.exe not found in application directory!"),
        QStringLiteral("salary_XXXXXX.html"), QStringLiteral("salary_slip.png"),
        {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("1800")},
        QStringLiteral("Failed to render salary slip preview."), QStringLiteral("Salary Slip - ") + employeeName);
    p.orientation = QPageLayout::Portrait;
    // An earlier slip (perhaps another employee's) never passes for this one.
    p.removeStaleImage = true;
    p.htmlNotWritten = p.failure;
    return p;
}

PageRenderProfile paymentReceipt()
{
    PageRenderProfile p = singlePage(
        QStringLiteral("wkhtmltoimage.exe not found in app folder!"), QStringLiteral("receipt_XXXXXX.html"),
        QStringLiteral("receipt_preview.png"),
        {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("1240"),
         QStringLiteral("--zoom"), QStringLiteral("1.5")},
        QStringLiteral("Failed to render receipt image."), QStringLiteral("Print Preview - Payment Receipt"));
    // A picture left from an earlier receipt is never shown as this one.
    p.removeImage = true;
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    return p;
}

PageRenderProfile supplierStatement()
{
    PageRenderProfile p = singlePage(
        QStringLiteral("wkhtmltoimage.exe not found in application directory!"),
        QStringLiteral("statement_XXXXXX.html"), QStringLiteral("supplier_statement.png"),
        {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("2200")},
        QStringLiteral("Failed to render statement preview."), QStringLiteral("Supplier Payment Statement"));
    p.orientation = QPageLayout::Landscape;
    p.removeImage = true;
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    return p;
}

PageRenderProfile paymentPendingStatement()
{
    return receivablesStatement(QStringLiteral("payment_pending.html"), QStringLiteral("payment_pending.png"),
                                {QStringLiteral("--width"), QStringLiteral("2480"), QStringLiteral("--zoom"),
                                 QStringLiteral("2.0")},
                                QStringLiteral("Payment Pending Statement"));
}

PageRenderProfile customerPaymentStatement()
{
    return receivablesStatement(QStringLiteral("supplier_payment.html"), QStringLiteral("supplier_payment.png"),
                                {QStringLiteral("--width"), QStringLiteral("2480")},
                                QStringLiteral("Supplier Payment Statement"));
}

} // namespace RenderProfiles
