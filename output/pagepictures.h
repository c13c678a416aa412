#pragma once
// The pictures of a rendered document, one per printed page, and the print
// preview's paint handlers that draw them.
//
// The preview keeps every page it draws in memory: when the pages together
// would take more than previewBudgetBytes, each page is kept packed for the
// paper and the preview gets a copy at a lower resolution.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

class QPrinter;

class PagePictures
{
public:
    // The preview's pages together stay below this.
    static constexpr qint64 previewBudgetBytes = qint64(512) << 20;

    // One page as kept: whole, or packed beside a smaller copy for the preview.
    struct Page
    {
        QSize size;
        QImage whole;       // null when packed
        QByteArray packed;  // the pixels, compressed
        QImage preview;     // null: the whole page
        double previewScale = 1.0;
    };

    // The scale of the preview's copies for pages of `bytes` in all.
    static double previewScaleFor(qint64 bytes);
    // Keeps `picture` (Format_RGB32) for a preview at `previewScale`; may run
    // on any thread.
    static Page keep(const QImage &picture, double previewScale);

    void set(int index, const Page &page);
    // The page count becomes `count`, pages beyond it going.
    void resize(int count);
    int count() const { return int(m_pages.size()); }
    QSize size(int index) const { return m_pages.at(index).size; }
    // The page at full resolution, for the paper.
    QImage page(int index) const;
    // The page as the preview draws it.
    QImage previewPage(int index) const;
    // Bytes of every page at full resolution, and of what the preview draws.
    qint64 pixelBytes() const;
    qint64 previewBytes() const;
    // Smaller preview copies, where the pages turned out more than expected,
    // until the preview's pages fit its budget.
    void fitPreviewBudget(int threads);

private:
    QList<Page> m_pages;
};

// The preview's paint handlers. Each draws every page on its own printed
// page, with smooth scaling, at the top and at the page width (a page taller
// than the paper is scaled down to fit it, RenderPlatform::pictureTarget).
// The screen preview gets the preview's copies; the paper, a printer or a
// PDF file, the whole pages.
// The delivery challan, the salary slip, the supplier payment receipt and the
// supplier payment statement.
void previewPaint(QPrinter *printer, const PagePictures &pages);
// The payment pending statement and the customer payment statement.
void paintStatementPages(QPrinter *printer, const PagePictures &pages);
// The tax invoice.
void paintInvoicePages(const PagePictures &pages, QPrinter *printer);
