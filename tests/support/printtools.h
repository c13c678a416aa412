#pragma once
// For the printed documents' tests: the files a print left in a folder, the
// pictures in a previewed PDF, the installed tool run directly, and
// (notoolonpath.h) runs without an installed rendering tool.

#include "notoolonpath.h"

#include <QDir>
#include <QImage>
#include <QList>
#include <QSize>
#include <QStandardPaths>
#include <QStringList>

// The files in `folder` whose names match `pattern` ("invoice_*").
inline QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

// What a print left in the temporary folder `folder` (files and folders,
// hidden ones too, by name): everything but the recording desktop's own
// previews ("preview_N.pdf").
inline QStringList printLeftovers(const QString &folder)
{
    QStringList left =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    left.removeIf([](const QString &name) { return name.startsWith("preview_") && name.endsWith(".pdf"); });
    return left;
}

// The sizes of the pictures a PDF file holds, in page order (pdfimages -list).
QList<QSize> pdfPictureSizes(const QString &pdfPath);
// The pictures of a PDF file, in page order, written to `folder` (pdfimages);
// of page `page` (from 1) alone when given.
QList<QImage> pdfPictures(const QString &pdfPath, const QString &folder, int page = 0);

// The zoom the renderer writes into a page's style for the installed tool
// given `extra` (1 where the tool honours "--zoom" itself).
double installedToolCssZoom(const QStringList &extra);
// The picture the installed wkhtmltoimage draws of `html` with the options
// `extra`, the HTML prepared as the renderer prepares it unless `prepared`;
// a null picture when it is not installed or fails.
QImage toolPicture(const QString &html, const QStringList &extra, const QString &folder, bool prepared = false);
// The pictures the installed tool draws of the parts of `html` (prepared as
// the renderer prepares it) from each of `starts` to the next, the last to
// the end, joined as the renderer joins them; null when a part fails.
QImage toolPartsPicture(const QString &html, const QList<int> &starts, const QStringList &extra, const QString &folder);
// RGB32 `pictures` one under the other, all as wide as the first.
QImage stacked(const QList<QImage> &pictures);

// Skips the test where wkhtmltoimage is not installed.
#define SKIP_WITHOUT_INSTALLED_TOOL()                                                                                 \
    if (QStandardPaths::findExecutable("wkhtmltoimage").isEmpty())                                                    \
    QSKIP("wkhtmltoimage is not installed")
