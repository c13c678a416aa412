#pragma once
// The module dashboard page shared by the sales, purchase and inventory
// windows: a header row (title, stretch, "📱 WhatsApp Alert", "⟳ Refresh"), a
// framed bar chart of twelve months beside a column of cards, and a bottom row
// of cards. The page keeps no pointers: a refresh finds the chart holder and
// every card label again by object name.

#include <QDate>
#include <QLabel>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

class QChartView;
class QFrame;
class QWidget;

// One bar of the chart: its label and the days it sums, both inclusive.
struct DashboardMonth
{
    QString label;
    QDate from;
    QDate to;
};

// How the value axis is scaled above the largest bar.
enum class DashboardAxis {
    Amounts, // 0 to 1.2 x largest + 1, labels "%.0f"
    Counts,  // 0 to largest + 2, labels "%d"
};

// The layout values that make a page one module's dashboard.
struct DashboardPage
{
    QString objectName;   // of the page widget; empty leaves it unnamed
    QString styleSheet;   // of the page widget; empty leaves it unset
    QString title;
    QString chartCaption;
    QString chartCaptionStyle = QStringLiteral("font-size:14px; font-weight:bold; color:#333; padding:5px;");
    QString holderName;   // object name of the chart holder
    int chartFrameMinimumHeight = 200;
    std::optional<int> chartFrameMargin;  // nullopt: the toolkit's default
    int cardColumnSpacing = 8;
    std::optional<int> cardColumnMargin;  // nullopt: the toolkit's default
    int bottomRowStretch = 2;
};

// The chart: what each bar sums and how the axis is drawn.
struct DashboardChart
{
    QString holderName;
    QString barSetName;
    QList<DashboardMonth> months;
    // Run once per month with :from and :to ("yyyy-MM-dd") and `binds`; the
    // first column of its row is the bar, no row or a failure gives 0.
    QString monthSql;
    QVariantMap binds;
    DashboardAxis axis = DashboardAxis::Amounts;
    int viewMinimumHeight = 0; // 0: none
};

// Font sizes of the cards, which differ between dashboards.
struct DashboardCardStyle
{
    int statTitlePx = 20;
    int statValuePx = 15;
    int listIconPx = 18;
};

// A card's heading or figure is read whole on one line: where the card is
// narrower than the line (a small screen, a long heading, a large figure) the
// text steps its font down to fit, to no less than three quarters of its size;
// below that it wraps onto more lines between words, and where a word is
// still wider than the card, the font steps down further until every word
// fits. It is never cut off. A text of several lines fits its widest line.
class CardHeading : public QLabel
{
public:
    // `style` holds the heading's style sheet with %1 for its font size in
    // px; `lineHeight` is the least height the heading keeps (0: its line's).
    CardHeading(const QString &text, const QString &style, int pixelSize, int lineHeight = 0,
                QWidget *parent = nullptr);

    // Writes a new text and fits it to the present width.
    void showText(const QString &text);

    // The width of the heading's widest line at its full size.
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    QString m_style;
    int m_pixelSize;
    int m_shownSize;
    int m_lineHeight;
};

// April to March of a financial year "26-27" (first year 2000 + the number of
// its first two characters, 2000 when that is no number), labels "Apr".."Mar".
QList<DashboardMonth> fiscalYearMonths(const QString &fy);
// The first day of the month of `day`; the first and the last day of the
// month before it (the cards' "this month" and "last month").
QDate monthStart(const QDate &day);
QDate previousMonthStart(const QDate &day);
QDate previousMonthEnd(const QDate &day);
// The twelve months up to the month of `today`, oldest first, labels "MMM yy".
QList<DashboardMonth> lastTwelveMonths(const QDate &today);
// The top of the value axis for the largest bar.
double axisMaximum(DashboardAxis axis, double largest);
QString axisLabelFormat(DashboardAxis axis);
// The distance between ticks when the axis ticks at whole numbers (every
// count axis, and an amount axis too short for its own four steps to read
// apart); 0 leaves the axis its own evenly spaced ticks.
double wholeTickInterval(DashboardAxis axis, double largest);

// Runs the month query once per month and returns the bars.
QList<double> monthlyValues(const DashboardChart &chart);

// A stat card: title and a value label named `objectName` showing "--"; both
// fit the card's width as a CardHeading does.
QFrame *makeStatCard(const QString &title, const QString &objectName, const QString &colour,
                     const DashboardCardStyle &style = {});
// A list card: icon, title, divider and a body label named `objectName`
// showing "Loading...", which scrolls inside the card where its entries are
// taller than the card.
QFrame *makeListCard(const QString &title, const QString &objectName, const QString &colour,
                     const QString &icon, const DashboardCardStyle &style = {});

// Lays the dashboard out on `page` (which must have no layout yet); the page
// takes over the cards. The header buttons run the two functions.
void buildDashboard(QWidget *page, const DashboardPage &layout, const QList<QWidget *> &cardColumn,
                    const QList<QWidget *> &bottomRow, const std::function<void()> &sendWhatsAppAlert,
                    const std::function<void()> &refresh);

// A chart view of the bars, ready to go into the holder.
QChartView *makeMonthlyChartView(const DashboardChart &chart, const QList<double> &values);

// Puts a fresh chart under `root` (the previous view is deleted), then lets
// the dashboard rewrite its cards.
void refreshDashboard(QWidget *root, const DashboardChart &chart,
                      const std::function<void(QWidget *root)> &fillCards);

// Writes a card label found by object name under `root` (a card's figure is
// fitted to its width); a missing label is skipped.
void setDashboardLabel(QWidget *root, const QString &objectName, const QString &text);

// A ranked list: one `lineFormat` per row, %1 the rank from 1 and %2, %3, ...
// the row's texts (substituted once, so a name holding "%3" stays as it is);
// `emptyText` when there is no row.
QString rankedLines(const QString &lineFormat, const QList<QStringList> &rows,
                    const QString &emptyText = QString());
