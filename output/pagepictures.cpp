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

QByteArray pack(const QImage &picture)
{
    // Quick rather than small: a page of text still packs to a few hundred
    // kilobytes.
    return qCompress(reinterpret_cast<const uchar *>(picture.constBits()), int(picture.sizeInBytes()), 1);
}

QImage unpack(const QByteArray &packed, const QSize &size)
{
    const QByteArray bytes = qUncompress(packed);
    QImage picture(size, QImage::Format_RGB32);
    if (picture.isNull() || bytes.size() != picture.sizeInBytes())
        return QImage();
    std::memcpy(picture.bits(), bytes.constData(), size_t(bytes.size()));
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
    return bytes > previewBudgetBytes ? std::sqrt(double(previewBudgetBytes) / double(bytes)) : 1.0;
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
    const double scale = previewScaleFor(pixelBytes());
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
