#pragma once
// The external tool wkhtmltoimage on this platform: where it is, what it is
// given, what it says when it fails, and how its pictures are read.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QProcess;

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
// Asks the tool once for each path and build of it.
bool toolHonoursZoom(const QString &toolPath);

// The HTML as the tool gets it: with <meta charset="utf-8"> when it declares
// no character set, for a zoom other than 1 a style that zooms the page, and,
// for a page set in Times New Roman, a stand-in of the same widths (Liberation
// Serif, Tinos) where that font is not installed.
QString prepareHtml(const QString &html, double cssZoom);

// How one run of the tool ended.
struct ToolRun
{
    bool started = true;
    bool finished = false;      // ended by itself within the limit
    bool stoppedBySignal = false;
    int exitCode = -1;          // the signal's number when stopped by one
    QString errorOutput;

    bool exitedCleanly() const { return finished && !stoppedBySignal && exitCode == 0; }
};
// The outcome of a process that has ended, failed to start or was ended at
// its limit (`finished` false).
ToolRun toolRunOf(QProcess &process, bool finished);

// The tool's error output without its progress report (the "Loading page",
// "Rendering" and "Done" lines and the percentage bars) and without the
// toolkit's notes about the environment; empty when nothing else is left.
QString toolErrorText(const QString &errorOutput);

// Why a run gave no picture, in a sentence: not started, past the limit,
// stopped by a signal, or the exit code.
QString runFailureReason(const ToolRun &run, int timeLimitMs);
// Why a run that ended well gave nothing to print: its picture is missing or
// cannot be read.
QString noPictureReason();

// The time limit of one run: the use's limit, and 10 seconds more for every
// megabyte of HTML.
int timeLimitFor(int baseMs, qint64 htmlBytes);

// The tool paints nothing below a height of 32767 pixels of one picture: a
// document taller than that is drawn in bands of this many rows, each run
// asking for one row more to learn whether the page goes on ("--crop-y" top
// "--crop-h" bandRows + 1).
constexpr int bandRows = 32000;
QStringList bandArguments(int band);

// Tool runs at a time: one for each core.
int parallelRuns();

// The width the tool draws at: "--width" among the options, else its
// default of 1024 pixels.
int requestedWidth(const QStringList &extra);
// What a run drawing a picture of `width` by `rows` pixels holds of it.
qint64 pictureBytes(int width, int rows);
// Tool runs at a time for runs of `bytesPerRun` each: as many as fit in
// `budgetBytes`, at most `cores`, at least one.
int runsWithin(qint64 budgetBytes, qint64 bytesPerRun, int cores);

// Where a picture goes on a page: scaled to the page width, at the top. A
// picture that would then run past the bottom is scaled down to the page
// height instead and centred, so that nothing of it is cut off.
QRect pictureTarget(const QSize &image, const QSize &page);

// Loads a rendered picture whatever its size (far above the image reader's
// default allocation limit for a long document). Given without an alpha
// channel (Format_RGB32): the tool paints every pixel opaque, and the print
// preview draws such a picture without a copy of its own.
QImage loadPicture(const QString &path);
// The size of the picture at `path` without reading its pixels.
QSize pictureSize(const QString &path);

} // namespace RenderPlatform
