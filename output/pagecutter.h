#pragma once
// Cutting a tall picture of a document into page-high pictures without
// cutting a line of text: a page ends where no glyph crosses.
//
// Looking upward from the page's last row, a page ends
// - after a rule (a horizontal border dark across nearly the whole picture,
//   a few rows thick): the rule closes this page and opens the next, so a
//   table's rows keep their lines on both pages; or
// - after a run of rows of one colour all across (a gap between blocks);
// either when one lies in the lowest quarter of the page. Else it ends
// - after a run of rows each the same as the row above (the space between
//   two lines of text, where only vertical borders continue) in the lowest
//   half of the page; else at the highest such place found anywhere on the
//   page, and only a picture with no such row at all is cut at the page's
//   height.

#include <QImage>
#include <QList>
#include <QSize>

namespace PageCutting {

// The rows of a picture `imageWidth` wide that fill one page when it is drawn
// at the page's width.
int pageRows(int imageWidth, const QSize &page);

// Where a page ends and the next begins.
struct Cut
{
    int end = 0;  // the page holds the rows before this one
    int next = 0; // the first row of the next page (before `end` where a rule is on both)
};

// The page of `picture` that starts at row `top` and holds at most `rows`
// rows, when the picture goes on below them.
Cut cutPage(const QImage &picture, int top, int rows);

// The rows of a part of a longer picture that join the next part: the part
// without the border that closes its table, since the next part opens with
// its own (a rule as thick as the ones between its rows).
int joinedHeight(const QImage &part);

// Whether row `y` is a rule: nearly every pixel dark.
bool isRule(const QImage &picture, int y);

} // namespace PageCutting

// Cuts a picture that arrives in pieces, top to bottom, into page-high
// pictures as soon as each is complete. Pictures are Format_RGB32. Used by
// one thread at a time.
class PageCutter
{
public:
    explicit PageCutter(const QSize &page);

    // The next rows of the picture.
    void add(const QImage &piece);
    // No more rows: what is left is the last page.
    void finish();
    // The pages cut since the last call.
    QList<QImage> takePages();

private:
    QSize m_page;
    int m_pageRows = 0;
    QImage m_rest; // rows from m_top on are on no page yet
    int m_top = 0;
    QList<QImage> m_ready;
};
