#include "pagepictures.h"

#include "rendertool.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QThread>
#include <QThreadPool>

#include <cmath>
#include <cstring>
#include <deque>
#include <future>

namespace {

// A page packed quickly rather than small: each row the same as the one
// above is marked instead of kept (most rows of a page of text), and the
// other rows are compressed at the fastest level. A page of text packs to a
// few hundred kilobytes.
QByteArray pack(const QImage &picture)
{
    const int height = picture.height();
    const qsizetype line = qsizetype(picture.width()) * 4;
    QByteArray rows(height, '\0');
    rows.reserve(height + line * height);
    for (int y = 0; y < height; ++y) {
        const char *row = reinterpret_cast<const char *>(picture.constScanLine(y));
        if (y > 0 && std::memcmp(row, picture.constScanLine(y - 1), size_t(line)) == 0)
            rows[y] = 1;
        else
            rows.append(row, line);
    }
    return qCompress(rows, 1);
}

QImage unpack(const QByteArray &packed, const QSize &size)
{
    const QByteArray rows = qUncompress(packed);
    QImage picture(size, QImage::Format_RGB32);
    const qsizetype line = qsizetype(size.width()) * 4;
    if (picture.isNull() || rows.size() < size.height())
        return QImage();
    qsizetype at = size.height();
    for (int y = 0; y < size.height(); ++y) {
        if (rows.at(y) == 1 && y > 0) {
            std::memcpy(picture.scanLine(y), picture.constScanLine(y - 1), size_t(line));
            continue;
        }
        if (at + line > rows.size())
            return QImage();
        std::memcpy(picture.scanLine(y), rows.constData() + at, size_t(line));
        at += line;
    }
    return picture;
}

qint64 bytesOf(const QImage &picture)
{
    return picture.isNull() ? 0 : qint64(picture.width()) * picture.height() * 4;
}

QImage scaled(const QImage &picture, double scale)
{
    return picture.scaled(qMax(1, int(picture.width() * scale)), qMax(1, int(picture.height() * scale)),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void paintPictures(QPrinter *printer, const PagePictures &pages)
{
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize page = printer->pageRect(QPrinter::DevicePixel).toRect().size();
    // Drawn for the screen rather than sent to paper or a file.
    const bool preview = painter.paintEngine()->type() == QPaintEngine::Picture;

    // The paper's pages are unpacked a few ahead, on other threads.
    std::deque<std::future<QImage>> ahead;
    int requested = 0;
    const int depth = qMax(1, QThread::idealThreadCount());
    for (int i = 0; i < pages.count(); ++i) {
        QImage image;
        if (preview) {
            image = pages.previewPage(i);
        } else {
            while (requested < pages.count() && requested < i + depth) {
                ahead.push_back(std::async(std::launch::async, [&pages, index = requested] { return pages.page(index); }));
                ++requested;
            }
            image = ahead.front().get();
            ahead.pop_front();
        }
        if (i > 0)
            printer->newPage();
        if (!image.isNull())
            painter.drawImage(RenderPlatform::pictureTarget(pages.size(i), page), image);
    }
}

} // namespace

double PagePictures::previewScaleFor(qint64 bytes)
{
    // A tenth to spare: the pages of a long document are counted while it
    // is drawn, and copies made again at the end cost time.
    const double room = 0.9 * double(previewBudgetBytes);
    return double(bytes) > room ? std::sqrt(room / double(bytes)) : 1.0;
}

PagePictures::Page PagePictures::keep(const QImage &picture, double previewScale)
{
    Page page;
    page.size = picture.size();
    if (previewScale >= 1.0) {
        page.whole = picture;
        return page;
    }
    page.packed = pack(picture);
    page.preview = scaled(picture, previewScale);
    page.previewScale = previewScale;
    return page;
}

void PagePictures::set(int index, const Page &page)
{
    if (index >= m_pages.size())
        m_pages.resize(index + 1);
    m_pages[index] = page;
}

void PagePictures::resize(int count)
{
    m_pages.resize(count);
}

QImage PagePictures::page(int index) const
{
    const Page &p = m_pages.at(index);
    return p.packed.isEmpty() ? p.whole : unpack(p.packed, p.size);
}

QImage PagePictures::previewPage(int index) const
{
    const Page &p = m_pages.at(index);
    return p.preview.isNull() ? p.whole : p.preview;
}

qint64 PagePictures::pixelBytes() const
{
    qint64 bytes = 0;
    for (const Page &p : m_pages)
        bytes += qint64(p.size.width()) * p.size.height() * 4;
    return bytes;
}

qint64 PagePictures::previewBytes() const
{
    qint64 bytes = 0;
    for (const Page &p : m_pages)
        bytes += bytesOf(p.preview.isNull() ? p.whole : p.preview);
    return bytes;
}

void PagePictures::fitPreviewBudget(int threads)
{
    if (previewBytes() <= previewBudgetBytes)
        return;
    const double scale = std::sqrt(double(previewBudgetBytes) / double(pixelBytes()));
    QThreadPool pool;
    pool.setMaxThreadCount(qMax(1, threads));
    for (Page &p : m_pages) {
        if (p.previewScale <= scale)
            continue;
        pool.start([&p, scale] {
            if (p.packed.isEmpty())
                p.packed = pack(p.whole);
            const QImage source = p.preview.isNull() ? p.whole : p.preview;
            p.preview = scaled(source, scale / p.previewScale);
            p.whole = QImage();
            p.previewScale = scale;
        });
    }
    pool.waitForDone();
}

void previewPaint(QPrinter *printer, const PagePictures &pages)
{
    paintPictures(printer, pages);
}

void paintStatementPages(QPrinter *printer, const PagePictures &pages)
{
    paintPictures(printer, pages);
}

void paintInvoicePages(const PagePictures &pages, QPrinter *printer)
{
    paintPictures(printer, pages);
}
