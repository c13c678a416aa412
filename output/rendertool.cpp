#include "rendertool.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <climits>
#include <cmath>

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
    // The answer of a tool stays the same while its file does: asked once.
    static QMutex lock;
    static QHash<QString, bool> answers;
    const QFileInfo file(toolPath);
    const QString key = file.absoluteFilePath() + QLatin1Char('|')
                        + QString::number(file.lastModified().toMSecsSinceEpoch()) + QLatin1Char('|')
                        + QString::number(file.size());
    {
        QMutexLocker locked(&lock);
        if (file.exists() && answers.contains(key))
            return answers.value(key);
    }
    QProcess process;
    process.start(toolPath, {QStringLiteral("--version")});
    bool honours = false;
    if (process.waitForFinished(5000)) {
        honours = reportsPatchedQt(QString::fromUtf8(process.readAllStandardOutput())
                                   + QString::fromUtf8(process.readAllStandardError()));
    } else {
        process.kill();
        process.waitForFinished(2000);
        return false;
    }
    QMutexLocker locked(&lock);
    if (file.exists())
        answers.insert(key, honours);
    return honours;
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

ToolRun toolRunOf(QProcess &process, bool finished)
{
    ToolRun run;
    run.started = process.error() != QProcess::FailedToStart;
    run.finished = finished && run.started;
    if (run.finished) {
        run.stoppedBySignal = process.exitStatus() == QProcess::CrashExit;
        // A process stopped by a signal gives the signal's number.
        run.exitCode = process.exitCode();
    }
    run.errorOutput = QString::fromUtf8(process.readAllStandardError());
    return run;
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

QString runFailureReason(const ToolRun &run, int timeLimitMs)
{
    if (!run.started)
        return QStringLiteral("wkhtmltoimage could not be started.");
    if (!run.finished)
        return QStringLiteral("wkhtmltoimage did not finish within %1 seconds.")
            .arg(QString::number(timeLimitMs / 1000.0, 'g', 4));
    if (run.stoppedBySignal)
        return QStringLiteral("wkhtmltoimage was stopped (signal %1).").arg(run.exitCode);
    if (run.exitCode != 0)
        return QStringLiteral("wkhtmltoimage ended with exit code %1.").arg(run.exitCode);
    return noPictureReason();
}

QString noPictureReason()
{
    return QStringLiteral("wkhtmltoimage wrote no picture that can be read.");
}

int timeLimitFor(int baseMs, qint64 htmlBytes)
{
    return int(qBound(qint64(INT_MIN), qint64(baseMs) + htmlBytes / 100, qint64(INT_MAX)));
}

QStringList bandArguments(int band)
{
    return {QStringLiteral("--crop-y"), QString::number(qint64(band) * bandRows), QStringLiteral("--crop-h"),
            QString::number(bandRows + 1)};
}

int parallelRuns()
{
    return qMax(1, QThread::idealThreadCount());
}

int requestedWidth(const QStringList &extra)
{
    const int at = extra.indexOf(QStringLiteral("--width"));
    const int width = at >= 0 ? extra.value(at + 1).toInt() : 0;
    return width > 0 ? width : 1024;
}

qint64 pictureBytes(int width, int rows)
{
    return qint64(qMax(0, width)) * qMax(0, rows) * 4;
}

int runsWithin(qint64 budgetBytes, qint64 bytesPerRun, int cores)
{
    const qint64 fit = bytesPerRun > 0 ? budgetBytes / bytesPerRun : cores;
    return int(qBound(qint64(1), fit, qint64(qMax(1, cores))));
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

namespace {

// The image reader's allocation limit lifted while any rendered picture is
// read, on whichever thread; restored when the last such read ends.
class UnlimitedReading
{
public:
    UnlimitedReading()
    {
        QMutexLocker locked(&s_lock);
        if (s_readers++ == 0) {
            s_limitMb = QImageReader::allocationLimit();
            QImageReader::setAllocationLimit(0);
        }
    }
    ~UnlimitedReading()
    {
        QMutexLocker locked(&s_lock);
        if (--s_readers == 0)
            QImageReader::setAllocationLimit(s_limitMb);
    }

private:
    static QMutex s_lock;
    static int s_readers;
    static int s_limitMb;
};
QMutex UnlimitedReading::s_lock;
int UnlimitedReading::s_readers = 0;
int UnlimitedReading::s_limitMb = 0;

} // namespace

QImage loadPicture(const QString &path)
{
    QImage picture;
    {
        const UnlimitedReading unlimited;
        picture = QImageReader(path).read();
    }
    if (picture.hasAlphaChannel() || picture.format() != QImage::Format_RGB32)
        picture.convertTo(QImage::Format_RGB32);
    return picture;
}

QSize pictureSize(const QString &path)
{
    QImageReader reader(path);
    return reader.size();
}

} // namespace RenderPlatform
