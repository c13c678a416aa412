#include "pagecutter.h"

#include <QPainter>

#include <cstring>
#include <optional>

namespace PageCutting {

namespace {

// A rule is at most this many rows thick; anything thicker is a bar.
int maxRuleRows(int width)
{
    return qMax(3, width / 200);
}

bool sameAsAbove(const QImage &picture, int y)
{
    return y > 0
           && std::memcmp(picture.constScanLine(y), picture.constScanLine(y - 1),
                          size_t(picture.width()) * sizeof(QRgb))
                  == 0;
}

bool isUniform(const QImage &picture, int y)
{
    const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    for (int x = 1; x < picture.width(); ++x)
        if (row[x] != row[0])
            return false;
    return true;
}

} // namespace

bool isRule(const QImage &picture, int y)
{
    const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    const int allowed = picture.width() / 20; // light pixels a rule may have
    int light = 0;
    for (int x = 0; x < picture.width(); ++x)
        if (qGray(row[x]) >= 128 && ++light > allowed)
            return false;
    return true;
}

int pageRows(int imageWidth, const QSize &page)
{
    if (imageWidth <= 0 || page.isEmpty())
        return 0;
    return qMax(1, int(page.height() / (double(page.width()) / imageWidth)));
}

Cut cutPage(const QImage &picture, int top, int rows)
{
    const int limit = qMin(top + rows, picture.height());
    const int lowQuarter = limit - rows / 4;
    const int lowHalf = limit - rows / 2;
    const int thickest = maxRuleRows(picture.width());

    std::optional<Cut> blank; // the lowest run of rows alike
    std::optional<Cut> gap;   // the lowest rule or run of one colour
    int y = limit - 1;
    while (y > top && !gap) {
        if (isRule(picture, y)) {
            int end = y + 1;
            while (end < picture.height() && end <= limit && isRule(picture, end) && sameAsAbove(picture, end))
                ++end;
            int start = y;
            while (start > top && isRule(picture, start - 1) && sameAsAbove(picture, start))
                --start;
            if (end <= limit && end - start <= thickest && start > top)
                gap = Cut{end, start};
            y = start - 1;
            continue;
        }
        if (isUniform(picture, y)) {
            int end = y + 1;
            while (end < limit && isUniform(picture, end) && sameAsAbove(picture, end))
                ++end;
            gap = Cut{end, end};
            break;
        }
        if (!blank && sameAsAbove(picture, y)) {
            int end = y + 1;
            while (end < limit && sameAsAbove(picture, end))
                ++end;
            int start = y - 1;
            while (start > top && sameAsAbove(picture, start))
                --start;
            // A few rows alike: a glyph's stem may run as long in one line.
            if (end - start >= 3)
                blank = Cut{end, end};
            y = start - 1;
            continue;
        }
        --y;
    }
    if (gap && gap->end >= lowQuarter)
        return *gap;
    if (blank && blank->end >= lowHalf)
        return *blank;
    if (blank && (!gap || blank->end > gap->end))
        return *blank;
    if (gap)
        return *gap;
    return Cut{limit, limit};
}

int joinedHeight(const QImage &part)
{
    const int height = part.height();
    if (height < 2 || !isRule(part, height - 1))
        return height;
    int start = height - 1;
    while (start > 0 && sameAsAbove(part, start))
        --start;
    return height - start <= maxRuleRows(part.width()) && start > 0 ? start : height;
}

} // namespace PageCutting

namespace {

// Rows [top, top + rows) of `picture` as a picture that shares its pixels,
// keeping them while it lives.
QImage rowsOf(const QImage &picture, int top, int rows)
{
    auto *owner = new QImage(picture);
    return QImage(
        owner->constScanLine(top), owner->width(), rows, owner->bytesPerLine(), owner->format(),
        [](void *kept) { delete static_cast<QImage *>(kept); }, owner);
}

// Rows from `top` of `upper` followed by the first `rows` rows of `lower`.
QImage joinedRows(const QImage &upper, int top, const QImage &lower, int rows)
{
    const int kept = upper.height() - top;
    QImage joined(upper.width(), kept + rows, QImage::Format_RGB32);
    const size_t line = size_t(joined.width()) * sizeof(QRgb);
    for (int y = 0; y < kept; ++y)
        std::memcpy(joined.scanLine(y), upper.constScanLine(top + y), line);
    for (int y = 0; y < rows; ++y)
        std::memcpy(joined.scanLine(kept + y), lower.constScanLine(y), line);
    return joined;
}

} // namespace

PageCutter::PageCutter(const QSize &page)
    : m_page(page)
{
}

void PageCutter::add(const QImage &piece)
{
    if (piece.isNull() || piece.height() == 0)
        return;
    QImage rows = piece.format() == QImage::Format_RGB32 ? piece : piece.convertToFormat(QImage::Format_RGB32);
    if (m_pageRows == 0)
        m_pageRows = PageCutting::pageRows(rows.width(), m_page);
    if (!m_rest.isNull() && rows.width() != m_rest.width())
        rows = rows.scaledToWidth(m_rest.width(), Qt::SmoothTransformation);

    // The page begun before this piece: its rows and enough of the piece's
    // to find where it ends.
    int top = 0;
    while (!m_rest.isNull()) {
        const int restRows = m_rest.height() - m_top;
        const int taken = qMin(rows.height(), m_pageRows + 1);
        const QImage joined = joinedRows(m_rest, m_top, rows, taken);
        if (joined.height() <= m_pageRows) {
            m_rest = joined; // the whole piece, and still no page
            m_top = 0;
            return;
        }
        const PageCutting::Cut cut = PageCutting::cutPage(joined, 0, m_pageRows);
        m_ready.append(rowsOf(joined, 0, cut.end));
        if (cut.next < restRows) {
            m_top += cut.next;
            continue;
        }
        top = cut.next - restRows;
        m_rest = QImage();
        m_top = 0;
    }

    // The pages within the piece share its pixels.
    while (rows.height() - top > m_pageRows) {
        const PageCutting::Cut cut = PageCutting::cutPage(rows, top, m_pageRows);
        m_ready.append(rowsOf(rows, top, cut.end - top));
        top = cut.next;
    }
    m_rest = rows.copy(0, top, rows.width(), rows.height() - top);
    m_top = 0;
}

void PageCutter::finish()
{
    if (!m_rest.isNull() && m_rest.height() > m_top)
        m_ready.append(m_rest.copy(0, m_top, m_rest.width(), m_rest.height() - m_top));
    m_rest = QImage();
    m_top = 0;
}

QList<QImage> PageCutter::takePages()
{
    QList<QImage> pages;
    pages.swap(m_ready);
    return pages;
}
