#include "pagerenderer.h"

#include "desktop.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>

#include <climits>
#include <cmath>
#include <deque>
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

ToolRun waitForTool(QProcess &process, int waitMs)
{
    ToolRun run;
    run.finished = process.waitForFinished(waitMs);
    run.started = process.error() != QProcess::FailedToStart;
    if (!run.finished && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(3000);
    }
    run.exitCode = run.finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.exitedCleanly = run.finished && run.exitCode == 0;
    run.errorOutput = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ToolRun runTool(const QString &toolPath, const QStringList &arguments, int timeLimitMs)
{
    QProcess process;
    process.start(toolPath, arguments, QIODevice::ReadWrite);
    return waitForTool(process, timeLimitMs);
}

QString toolErrorText(const QString &errorOutput)
{
    static const QRegularExpression progress(
        QStringLiteral("^\\s*(\\[[=> ]*\\]\\s*\\d+%|(Loading page|Loading headers and footers|Counting pages|"
                       "Resolving links|Printing pages|Rendering|Done)\\b.*|QStandardPaths: .*)\\s*$"));
    QStringList kept;
    for (const QString &line : errorOutput.split(QLatin1Char('\n'))) {
        QStringList parts;
        for (const QString &part : line.split(QLatin1Char('\r')))
            if (!part.trimmed().isEmpty() && !progress.match(part).hasMatch())
                parts << part;
        // A failing tool may repeat one line a million times: each line is
        // given once, and a message holds at most twenty of them.
        const QString text = parts.join(QLatin1Char(' '));
        if (!parts.isEmpty() && !kept.contains(text) && kept.size() < 20)
            kept << text;
    }
    return kept.isEmpty() ? QString() : kept.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int timeLimitFor(int baseMs, qint64 htmlBytes)
{
    return int(qMin<qint64>(qint64(baseMs) + htmlBytes / 100, INT_MAX));
}

QStringList bandArguments(int band)
{
    return {QStringLiteral("--crop-y"), QString::number(qint64(band) * bandRows), QStringLiteral("--crop-h"),
            QString::number(bandRows + 1)};
}

int parallelRuns()
{
    return qBound(1, QThread::idealThreadCount() / 2, 3);
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
    const int stripHeight = stripRows(image.width(), page);
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

int stripRows(int imageWidth, const QSize &page)
{
    if (imageWidth <= 0 || page.isEmpty())
        return 0;
    return int(page.height() / (double(page.width()) / imageWidth));
}

QImage loadPicture(const QString &path)
{
    const int limitMb = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(0);
    QImageReader reader(path);
    QImage picture = reader.read();
    QImageReader::setAllocationLimit(limitMb);
    // The tool writes RGBA, every pixel it paints opaque. Kept without the
    // alpha channel, the print preview draws the picture as it is; with it,
    // the preview holds a copy of every page beside ours.
    if (picture.hasAlphaChannel())
        picture.convertTo(QImage::Format_RGB32);
    return picture;
}

} // namespace RenderPlatform

namespace {

using namespace RenderPlatform;

// The wait cursor while the tool runs, taken down before anything is shown.
class WaitCursor
{
public:
    WaitCursor()
        : m_shown(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_shown)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() { restore(); }
    void restore()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
        m_shown = false;
    }

private:
    bool m_shown;
};

// Why a document could not be drawn: the tool's error text (progress left
// out), else a reason of our own.
struct Failure
{
    QString errorText;
    QString reason;
};

QString secondsText(int ms)
{
    return QString::number(ms / 1000.0, 'g', 4);
}

Failure failureOf(const ToolRun &run, int timeLimitMs)
{
    if (!run.started)
        return {QString(), QStringLiteral("wkhtmltoimage could not be started.")};
    if (!run.finished)
        return {QString(), QStringLiteral("wkhtmltoimage did not finish within %1 seconds.").arg(secondsText(timeLimitMs))};
    const QString text = toolErrorText(run.errorOutput);
    if (!text.isEmpty() || run.exitedCleanly)
        return {text, QStringLiteral("wkhtmltoimage wrote no picture that can be read.")};
    return {QString(), QStringLiteral("wkhtmltoimage ended with exit code %1.").arg(run.exitCode)};
}

void showMessage(QWidget *parent, const RenderMessage &message, const QString &detail = QString())
{
    if (!message.text.isEmpty())
        Desktop::critical(parent, message.title, message.text + detail);
}

// The use's failure message followed by why: the tool's error text where
// the use shows it as it stands, else on a line of its own.
void showFailure(QWidget *parent, const PageRenderProfile &profile, const Failure &failure)
{
    if (profile.failureShowsErrorOutput && !failure.errorText.isEmpty()) {
        showMessage(parent, profile.failure, failure.errorText);
        return;
    }
    const QString why = failure.errorText.isEmpty() ? failure.reason : failure.errorText.trimmed();
    const bool onItsLine = profile.failure.text.endsWith(QLatin1Char('\n')) || why.isEmpty();
    showMessage(parent, profile.failure, (onItsLine ? QString() : QStringLiteral("\n")) + why);
}

// The HTML file the tool reads, where the profile says; it stays while the
// object lives (a temporary one is removed with it).
class HtmlFile
{
public:
    HtmlFile(const QString &html, double cssZoom, const PageRenderProfile &profile)
    {
        const QString htmlPath = Desktop::temporaryFolder() + QLatin1Char('/') + profile.htmlName;
        const QByteArray prepared = prepareHtml(html, cssZoom).toUtf8();
        m_bytes = prepared.size();
        if (profile.htmlFile == RenderHtmlFile::Temporary) {
            m_temporary = std::make_unique<QTemporaryFile>(htmlPath);
            if (!m_temporary->open())
                return;
            m_temporary->write(prepared);
            m_temporary->flush();
            m_path = m_temporary->fileName();
            m_temporary->close();
        } else {
            QFile file(htmlPath);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
                return;
            file.write(prepared);
            m_path = htmlPath;
        }
    }
    bool written() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    qint64 bytes() const { return m_bytes; }

private:
    std::unique_ptr<QTemporaryFile> m_temporary;
    QString m_path;
    qint64 m_bytes = 0;
};

bool passes(const ToolRun &run, const QString &imagePath, RenderSuccess success)
{
    switch (success) {
    case RenderSuccess::ImageExists:
        return run.finished && QFileInfo::exists(imagePath);
    case RenderSuccess::ExitCodeZeroAndImage:
        return run.exitedCleanly && QFileInfo::exists(imagePath);
    case RenderSuccess::FinishedWithExitCodeZero:
        return run.exitedCleanly;
    }
    return false;
}

// Cuts the bands of a tall picture, in order, into page-high pictures.
class PageCutter
{
public:
    PageCutter(const QSize &page, PagePictures &pages, bool compress)
        : m_page(page)
        , m_pages(pages)
        , m_compress(compress)
    {
    }

    // The first `rows` rows of the band continue the picture.
    void add(const QImage &band, int rows)
    {
        if (m_rows <= 0)
            m_rows = qMax(1, stripRows(band.width(), m_page));
        QList<QImage> full;
        int y = 0;
        if (!m_carry.isNull()) {
            y = qMin(m_rows - m_carry.height(), rows);
            QImage joined(band.width(), m_carry.height() + y, band.format());
            QPainter painter(&joined);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, m_carry);
            painter.drawImage(QPoint(0, m_carry.height()), band, QRect(0, 0, band.width(), y));
            painter.end();
            m_carry = joined;
            if (m_carry.height() == m_rows) {
                full.append(m_carry);
                m_carry = QImage();
            }
        }
        for (; rows - y >= m_rows; y += m_rows) {
            // The compressed pages are done with before the band goes: they
            // may look into its rows instead of copying them.
            full.append(m_compress ? QImage(band.constScanLine(y), band.width(), m_rows, band.bytesPerLine(),
                                            band.format())
                                   : band.copy(0, y, band.width(), m_rows));
        }
        if (y < rows)
            m_carry = band.copy(0, y, band.width(), rows - y);
        deliver(full);
    }

    void finish()
    {
        if (!m_carry.isNull())
            deliver({m_carry});
        m_carry = QImage();
    }

    // Pages so far, the one begun included.
    int count() const { return m_pages.count() + (m_carry.isNull() ? 0 : 1); }

private:
    void deliver(const QList<QImage> &full)
    {
        if (m_compress) {
            m_pages.appendCompressed(full, parallelRuns());
        } else {
            for (const QImage &page : full)
                m_pages.append(page);
        }
    }

    QSize m_page;
    PagePictures &m_pages;
    bool m_compress;
    int m_rows = 0;
    QImage m_carry;
};

// One run of the tool on a band, started and not yet waited for.
struct BandRun
{
    int band = 0;
    QString imagePath;
    std::unique_ptr<QProcess> process;
    QElapsedTimer clock;
};

void endRun(BandRun &run)
{
    if (run.process->state() != QProcess::NotRunning) {
        run.process->kill();
        run.process->waitForFinished(3000);
    }
    QFile::remove(run.imagePath);
}

// The bands after the first of a document that goes on past it, several runs
// at a time; a band comes back shorter than asked for at the end of the
// page. Runs started past the end are ended.
std::optional<Failure> renderLaterBands(const QString &tool, const QStringList &extra, const HtmlFile &html,
                                        const QString &imageStem, int timeLimitMs, int pageLimit,
                                        PageCutter &cutter)
{
    std::deque<BandRun> running;
    int next = 1;
    const auto fail = [&running](const Failure &failure) {
        for (BandRun &run : running)
            endRun(run);
        return std::optional<Failure>(failure);
    };
    for (;;) {
        while (int(running.size()) < parallelRuns()) {
            BandRun run;
            run.band = next++;
            run.imagePath = imageStem + QStringLiteral("_band%1.png").arg(run.band);
            QFile::remove(run.imagePath);
            run.process = std::make_unique<QProcess>();
            run.process->start(tool, toolArguments(extra + bandArguments(run.band), html.path(), run.imagePath),
                               QIODevice::ReadWrite);
            run.clock.start();
            running.push_back(std::move(run));
        }
        BandRun &run = running.front();
        const ToolRun result = waitForTool(*run.process, int(qMax<qint64>(0, timeLimitMs - run.clock.elapsed())));
        const QImage band = result.exitedCleanly ? loadPicture(run.imagePath) : QImage();
        QFile::remove(run.imagePath);
        if (band.isNull())
            return fail(failureOf(result, timeLimitMs));
        const bool last = band.height() <= bandRows;
        cutter.add(band, qMin(band.height(), bandRows));
        running.pop_front();
        if (cutter.count() > pageLimit)
            return fail({QString(), QString()});
        if (last) {
            for (BandRun &rest : running)
                endRun(rest);
            return std::nullopt;
        }
    }
}

QString tooLongText(int pageLimit)
{
    return QStringLiteral("The document is too long to draw: it needs more than %1 pages.").arg(pageLimit);
}

// The single and sliced modes: the picture drawn band by band and cut into
// page-high pictures for `page`.
std::optional<Failure> renderPagePictures(const QString &html, const QString &tool, double cssZoom,
                                          const PageRenderProfile &profile, const QSize &page,
                                          PagePictures &pages, bool *htmlNotWritten)
{
    const HtmlFile file(html, cssZoom, profile);
    if (!file.written()) {
        *htmlNotWritten = true;
        return Failure{};
    }
    const QString imagePath = Desktop::temporaryFolder() + QLatin1Char('/') + profile.imageName;
    if (profile.removeImage || profile.removeStaleImage)
        QFile::remove(imagePath);
    const int limit = timeLimitFor(profile.timeLimitMs, file.bytes());
    const ToolRun run = runTool(tool, toolArguments(profile.toolArguments + bandArguments(0), file.path(), imagePath),
                                limit);
    const QImage first = passes(run, imagePath, profile.success) ? loadPicture(imagePath) : QImage();
    const bool goesOn = first.height() > bandRows;
    if (first.isNull() || goesOn || profile.removeImage)
        QFile::remove(imagePath); // a long document's top alone is no picture of it
    if (first.isNull())
        return failureOf(run, limit);

    PageCutter cutter(page, pages, goesOn);
    cutter.add(first, qMin(first.height(), bandRows));
    if (goesOn && cutter.count() <= profile.pageLimit) {
        const QFileInfo image(imagePath);
        const std::optional<Failure> failure =
            renderLaterBands(tool, profile.toolArguments, file, image.path() + QLatin1Char('/') + image.completeBaseName(),
                             limit, profile.pageLimit, cutter);
        if (failure)
            return failure->reason.isEmpty() && failure->errorText.isEmpty()
                       ? Failure{QString(), tooLongText(profile.pageLimit)}
                       : failure;
    }
    cutter.finish();
    if (pages.count() > profile.pageLimit)
        return Failure{QString(), tooLongText(profile.pageLimit)};
    return std::nullopt;
}

enum class PageResult { HtmlNotWritten, Failed, Rendered };

struct PageOutcome
{
    PageResult result = PageResult::Failed;
    ToolRun run;
    int timeLimitMs = 0;
};

// Writes one HTML document of a per-page document, runs the tool on it and
// applies the profile's success test.
PageOutcome renderPage(const QString &html, const QString &imagePath, const QString &toolPath,
                       double cssZoom, const PageRenderProfile &profile)
{
    const HtmlFile file(html, cssZoom, profile);
    if (!file.written())
        return {PageResult::HtmlNotWritten, ToolRun(), 0};
    if (profile.removeImage || profile.removeStaleImage)
        QFile::remove(imagePath);
    const int limit = timeLimitFor(profile.timeLimitMs, file.bytes());
    const ToolRun run = runTool(toolPath, toolArguments(profile.toolArguments, file.path(), imagePath), limit);
    return {passes(run, imagePath, profile.success) ? PageResult::Rendered : PageResult::Failed, run, limit};
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

QPrinter *a4Printer(QPrinter &printer, const PageRenderProfile &profile)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (profile.orientation)
        printer.setPageOrientation(*profile.orientation);
    const qreal m = profile.marginMm;
    printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    return &printer;
}

} // namespace

void PagePictures::append(const QImage &page)
{
    m_pages.append({page, QByteArray(), page.size()});
}

void PagePictures::appendCompressed(const QList<QImage> &pages, int threads)
{
    QList<QByteArray> encoded(pages.size());
    QByteArray *out = encoded.data();
    QThreadPool pool;
    pool.setMaxThreadCount(qMax(1, threads));
    for (int i = 0; i < pages.size(); ++i) {
        const QImage page = pages.at(i);
        pool.start([page, target = out + i] {
            QBuffer buffer(target);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "png");
            writer.setQuality(80); // quick, and a page of text still packs small
            writer.write(page);
        });
    }
    pool.waitForDone();
    for (int i = 0; i < pages.size(); ++i)
        m_pages.append({QImage(), encoded.at(i), pages.at(i).size()});
}

QImage PagePictures::page(int index) const
{
    const Page &page = m_pages.at(index);
    return page.png.isEmpty() ? page.image : QImage::fromData(page.png, "PNG");
}

qint64 PagePictures::pixelBytes() const
{
    qint64 bytes = 0;
    for (const Page &page : m_pages)
        bytes += qint64(page.size.width()) * page.size.height() * 4;
    return bytes;
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

void paintPages(QPrinter *printer, PagePictures &pages)
{
    PagePainter p(printer);
    if (!p.painter.isActive())
        return;
    // Recorded for the screen rather than sent to paper or a file.
    const bool preview = p.painter.paintEngine()->type() == QPaintEngine::Picture;
    const qint64 bytes = pages.pixelBytes();
    const double scale = preview && bytes > previewBudgetBytes ? std::sqrt(double(previewBudgetBytes) / bytes) : 1.0;
    if (scale < 1.0 && pages.m_previewScale != scale) {
        pages.m_previewCopies.clear();
        pages.m_previewScale = scale;
    }
    for (int i = 0; i < pages.count(); ++i) {
        if (i > 0)
            printer->newPage();
        const QSize size = pages.m_pages.at(i).size;
        QImage image;
        if (scale < 1.0) {
            if (pages.m_previewCopies.size() <= i)
                pages.m_previewCopies.append(
                    pages.page(i).scaledToWidth(qMax(1, int(size.width() * scale)), Qt::SmoothTransformation));
            image = pages.m_previewCopies.at(i);
        } else {
            image = pages.page(i);
        }
        if (!image.isNull())
            p.painter.drawImage(pictureTarget(size, p.page.size()), image);
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

    QPrinter printer(QPrinter::HighResolution);
    a4Printer(printer, profile);
    WaitCursor waiting;

    // A tool built without its patched Qt ignores "--zoom"; the page itself
    // is zoomed then, so the picture looks as the document means it to.
    const double zoom = requestedZoom(profile.toolArguments);
    const double cssZoom = zoom != 1.0 && !toolHonoursZoom(tool) ? zoom : 1.0;

    std::function<void(QPrinter *)> paint;
    if (profile.paint == RenderPaint::PerPage) {
        QList<QImage> images;
        PageOutcome lastFailure;
        bool pageMissing = false;
        for (int i = 0; i < pagesHtml.size(); ++i) {
            const QString imagePath = Desktop::temporaryFolder() + QLatin1Char('/') + profile.imageName.arg(i);
            const PageOutcome outcome = renderPage(pagesHtml.at(i), imagePath, tool, cssZoom, profile);
            // A picture that does not decode would print as a blank page.
            const QImage image = outcome.result == PageResult::Rendered ? loadPicture(imagePath) : QImage();
            if (!image.isNull())
                images.append(image);
            else
                pageMissing = true;
            if (outcome.result != PageResult::HtmlNotWritten && image.isNull())
                lastFailure = outcome;
            if (profile.removeImage)
                QFile::remove(imagePath);
        }
        if (images.isEmpty() || (pageMissing && profile.everyPageRequired)) {
            waiting.restore();
            showFailure(parent, profile,
                        lastFailure.timeLimitMs > 0 ? failureOf(lastFailure.run, lastFailure.timeLimitMs) : Failure{});
            return false;
        }
        paint = [images](QPrinter *p) { paintInvoicePages(images, p); };
    } else {
        auto pages = std::make_shared<PagePictures>();
        bool htmlNotWritten = false;
        const std::optional<Failure> failure =
            renderPagePictures(pagesHtml.value(0), tool, cssZoom, profile,
                               printer.pageRect(QPrinter::DevicePixel).toRect().size(), *pages, &htmlNotWritten);
        waiting.restore();
        if (htmlNotWritten) {
            showMessage(parent, profile.htmlNotWritten);
            return false;
        }
        if (failure) {
            showFailure(parent, profile, *failure);
            return false;
        }
        paint = [pages](QPrinter *p) { paintPages(p, *pages); };
    }
    waiting.restore();

    Desktop::printPreview(parent, &printer, profile.previewTitle, paint,
                          Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                              | Qt::WindowCloseButtonHint);
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
