#include "dashboard.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace {

// The body of a list card, scrolling where its entries outgrow the card. It
// asks for no more height than its minimum: the row of list cards takes its
// share of the page and the chart and the figures keep theirs, however long
// the lists are.
class CardList : public QScrollArea
{
public:
    QSize sizeHint() const override
    {
        return QSize(QScrollArea::sizeHint().width(), minimumSizeHint().height());
    }
};

QFont withPixelSize(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    return font;
}

// The width of the text's widest line, or with `words` of its widest word.
int widestPart(const QFont &font, const QString &text, bool words)
{
    const QFontMetrics metrics(font);
    const QStringList parts = words ? text.simplified().split(QLatin1Char(' ')) : text.split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString &part : parts)
        widest = qMax(widest, metrics.horizontalAdvance(part));
    return widest;
}

} // namespace

CardHeading::CardHeading(const QString &text, const QString &style, int pixelSize, int lineHeight, QWidget *parent)
    : QLabel(text, parent), m_style(style), m_pixelSize(pixelSize), m_shownSize(pixelSize), m_lineHeight(lineHeight)
{
    setWordWrap(true);
    setMinimumWidth(1);
    setMinimumHeight(m_lineHeight);
    setStyleSheet(m_style.arg(m_pixelSize));
}

void CardHeading::showText(const QString &text)
{
    setText(text);
    fit();
}

QSize CardHeading::sizeHint() const
{
    const QMargins m = contentsMargins();
    const int width = widestPart(withPixelSize(font(), m_pixelSize), text(), false) + m.left() + m.right()
                      + 2 * margin() + 1;
    return QSize(width, heightForWidth(width));
}

bool CardHeading::hasHeightForWidth() const
{
    // The heading sets its own height for its width (below): a card, and the
    // page around it, measured height-for-width could not be squeezed below
    // its preferred height on a small screen.
    return false;
}

void CardHeading::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fit();
}

void CardHeading::fit()
{
    const int available = contentsRect().width() - 2 * margin() - 1;
    const QFont full = withPixelSize(font(), m_pixelSize);
    const auto widest = [this](int pixelSize, bool words) {
        return widestPart(withPixelSize(font(), pixelSize), text(), words);
    };
    const int needed = widest(m_pixelSize, false);
    int size = m_pixelSize;
    if (needed > available && needed > 0) {
        const int least = (m_pixelSize * 3 + 3) / 4;
        size = qMax(least, m_pixelSize * available / needed);
        // Glyphs do not grow exactly with the size: the line is measured again.
        while (size > least && widest(size, false) > available)
            --size;
        // Wrapped between words, the widest word must fit on its line.
        while (available > 0 && size > 1 && widest(size, false) > available && widest(size, true) > available)
            --size;
    }
    if (size != m_shownSize) {
        m_shownSize = size;
        setStyleSheet(m_style.arg(size));
    }
    // Stepped down, the heading keeps the height of its full-size lines, so
    // the card's divider stays level with its neighbours'; wrapped, it is as
    // tall as its lines.
    int least = m_lineHeight;
    if (size != m_pixelSize) {
        // Measured in the shown size itself: the style sheet's font may not
        // have reached the label yet.
        const int lines = QFontMetrics(withPixelSize(font(), size))
                              .boundingRect(QRect(0, 0, qMax(1, available), QWIDGETSIZE_MAX),
                                            int(alignment()) | Qt::TextWordWrap, text())
                              .height();
        const int fullLines =
            QFontMetrics(full).boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), 0, text()).height();
        const QMargins m = contentsMargins();
        least = qMax(least, qMax(fullLines, lines) + m.top() + m.bottom());
    }
    if (least != minimumHeight())
        setMinimumHeight(least);
}

QList<DashboardMonth> fiscalYearMonths(const QString &fy)
{
    static const char *const labels[] = {"Apr", "May", "Jun", "Jul", "Aug", "Sep",
                                         "Oct", "Nov", "Dec", "Jan", "Feb", "Mar"};
    const QString head = fy.size() < 3 ? fy : fy.left(2);
    const int firstYear = 2000 + head.toInt(); // toInt gives 0 for no number
    QList<DashboardMonth> months;
    for (int i = 0; i < 12; ++i) {
        const int month = (i + 3) % 12 + 1;
        const int year = i < 9 ? firstYear : firstYear + 1;
        const QDate from(year, month, 1);
        months << DashboardMonth{QString::fromLatin1(labels[i]), from, from.addMonths(1).addDays(-1)};
    }
    return months;
}

QDate monthStart(const QDate &day)
{
    return QDate(day.year(), day.month(), 1);
}

QDate previousMonthStart(const QDate &day)
{
    return monthStart(day).addMonths(-1);
}

QDate previousMonthEnd(const QDate &day)
{
    return monthStart(day).addDays(-1);
}

QList<DashboardMonth> lastTwelveMonths(const QDate &today)
{
    QList<DashboardMonth> months;
    for (int k = -11; k <= 0; ++k) {
        const QDate m = today.addMonths(k);
        const QDate from(m.year(), m.month(), 1);
        months << DashboardMonth{m.toString(QStringLiteral("MMM yy")), from,
                                 from.addMonths(1).addDays(-1)};
    }
    return months;
}

double axisMaximum(DashboardAxis axis, double largest)
{
    return axis == DashboardAxis::Amounts ? largest * 1.2 + 1 : largest + 2;
}

double wholeTickInterval(DashboardAxis axis, double largest)
{
    const double top = axisMaximum(axis, largest);
    if (axis == DashboardAxis::Counts)
        return qMax(1.0, std::ceil(top / 10));
    // The axis's own ticks split it in four; closer than one rupee apart they
    // would round to the same whole-number label ("1, 1, 1, 0, 0" on an empty
    // year), so a small axis ticks at every whole rupee instead.
    const QValueAxis plain;
    return top / (plain.tickCount() - 1) < 1 ? 1.0 : 0.0;
}

QString axisLabelFormat(DashboardAxis axis)
{
    return axis == DashboardAxis::Amounts ? QStringLiteral("%.0f") : QStringLiteral("%d");
}

QList<double> monthlyValues(const DashboardChart &chart)
{
    QList<double> values;
    QSqlQuery q;
    q.prepare(chart.monthSql);
    for (const DashboardMonth &month : chart.months) {
        for (auto it = chart.binds.constBegin(); it != chart.binds.constEnd(); ++it)
            q.bindValue(it.key(), it.value());
        q.bindValue(QStringLiteral(":from"), month.from.toString(Qt::ISODate));
        q.bindValue(QStringLiteral(":to"), month.to.toString(Qt::ISODate));
        double value = 0;
        if (q.exec() && q.next())
            value = q.value(0).toDouble();
        values << value;
    }
    return values;
}

QFrame *makeStatCard(const QString &title, const QString &objectName, const QString &colour,
                     const DashboardCardStyle &style)
{
    auto *card = new QFrame;
    card->setStyleSheet(QStringLiteral("QFrame { background:white; border-radius:8px; border:2px solid %1; padding:5px; }")
                            .arg(colour));
    auto *layout = new QVBoxLayout(card);
    layout->setSpacing(2);

    auto *titleLabel = new CardHeading(title, QStringLiteral("font-size:%1px; color:#555; font-weight:bold; border:none;"),
                                       style.statTitlePx);
    titleLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(titleLabel);

    auto *value = new CardHeading(QStringLiteral("--"),
                                  QStringLiteral("font-size:%1px; font-weight:bold; color:") + colour
                                      + QStringLiteral("; border:none;"),
                                  style.statValuePx);
    value->setObjectName(objectName);
    value->setAlignment(Qt::AlignCenter);
    layout->addWidget(value);
    return card;
}

QFrame *makeListCard(const QString &title, const QString &objectName, const QString &colour,
                     const QString &icon, const DashboardCardStyle &style)
{
    auto *card = new QFrame;
    card->setStyleSheet(QStringLiteral("QFrame { background:white; border-radius:10px; border:2px solid %1; }")
                            .arg(colour));
    auto *layout = new QVBoxLayout(card);
    layout->setSpacing(4);
    layout->setContentsMargins(8, 8, 8, 8);

    auto *header = new QHBoxLayout;
    auto *iconLabel = new QLabel(icon);
    iconLabel->setStyleSheet(QStringLiteral("font-size:%1px; color:%2; border:none;")
                                 .arg(style.listIconPx)
                                 .arg(colour));
    auto *titleLabel = new CardHeading(
        title, QStringLiteral("font-size:%1px; font-weight:bold; color:") + colour + QStringLiteral("; border:none;"), 20);
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->addWidget(iconLabel);
    header->addWidget(titleLabel, 1);
    layout->addLayout(header);

    auto *divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setStyleSheet(QStringLiteral("background:%1; border:none; max-height:2px;").arg(colour));
    layout->addWidget(divider);

    auto *body = new QLabel(QStringLiteral("Loading..."));
    body->setObjectName(objectName);
    body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body->setWordWrap(false);
    body->setStyleSheet(QStringLiteral("font-size:20px; color:#333; padding:4px; border:none;"));
    // The list scrolls inside the card where its entries outgrow it, down and
    // across (a long name is read whole), so the card, and with it the window,
    // never grows past the screen with its data. Tab reaches it and the arrow
    // keys scroll it.
    auto *list = new CardList;
    list->setObjectName(objectName + QStringLiteral("_scroll"));
    list->setStyleSheet(QStringLiteral("QScrollArea { background:transparent; border:none; }"));
    list->setFrameShape(QFrame::NoFrame);
    list->setFocusPolicy(Qt::StrongFocus);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setWidgetResizable(true);
    list->setWidget(body);
    list->viewport()->setAutoFillBackground(false);
    layout->addWidget(list, 1);
    layout->addStretch();
    return card;
}

void buildDashboard(QWidget *page, const DashboardPage &layout, const QList<QWidget *> &cardColumn,
                    const QList<QWidget *> &bottomRow, const std::function<void()> &sendWhatsAppAlert,
                    const std::function<void()> &refresh)
{
    if (!layout.objectName.isEmpty())
        page->setObjectName(layout.objectName);
    if (!layout.styleSheet.isEmpty())
        page->setStyleSheet(layout.styleSheet);

    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setSpacing(10);
    pageLayout->setContentsMargins(15, 10, 15, 10);

    // Header row: title, stretch, WhatsApp, Refresh.
    auto *header = new QHBoxLayout;
    auto *title = new QLabel(layout.title);
    title->setStyleSheet(QStringLiteral("font-size:18px; font-weight:bold; color:#1a1a1a;"));
    auto *whatsApp = new QPushButton(QStringLiteral("📱 WhatsApp Alert"));
    whatsApp->setFixedSize(140, 35);
    whatsApp->setStyleSheet(QStringLiteral("QPushButton { background:#25D366; color:white; border-radius:5px; font-size:13px; }"
                                           "QPushButton:hover { background:#128C7E; }"));
    auto *refreshButton = new QPushButton(QStringLiteral("⟳ Refresh"));
    refreshButton->setFixedSize(100, 35);
    refreshButton->setStyleSheet(QStringLiteral("QPushButton { background:#0078d4; color:white; border-radius:5px; font-size:13px; }"
                                                "QPushButton:hover { background:#005fa3; }"));
    header->addWidget(title);
    header->addStretch();
    header->addWidget(whatsApp);
    header->addWidget(refreshButton);
    pageLayout->addLayout(header, 0);
    QObject::connect(whatsApp, &QPushButton::clicked, page, [sendWhatsAppAlert] {
        if (sendWhatsAppAlert)
            sendWhatsAppAlert();
    });
    QObject::connect(refreshButton, &QPushButton::clicked, page, [refresh] {
        if (refresh)
            refresh();
    });

    // Middle row: the chart frame and the card column.
    auto *middle = new QHBoxLayout;
    middle->setSpacing(10);
    auto *chartFrame = new QFrame;
    chartFrame->setObjectName(QStringLiteral("chartFrame"));
    chartFrame->setStyleSheet(QStringLiteral("QFrame { background:white; border-radius:8px; border:1px solid #ddd; }"));
    chartFrame->setMinimumHeight(layout.chartFrameMinimumHeight);
    auto *frameLayout = new QVBoxLayout(chartFrame);
    if (layout.chartFrameMargin) {
        const int m = *layout.chartFrameMargin;
        frameLayout->setContentsMargins(m, m, m, m);
    }
    auto *caption = new QLabel(layout.chartCaption);
    caption->setAlignment(Qt::AlignCenter);
    caption->setStyleSheet(layout.chartCaptionStyle);
    frameLayout->addWidget(caption);
    auto *holder = new QWidget;
    holder->setObjectName(layout.holderName);
    auto *holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(holder, 1);
    middle->addWidget(chartFrame, 3);

    auto *column = new QFrame;
    column->setStyleSheet(QStringLiteral("QFrame { background:transparent; border:none; }"));
    auto *columnLayout = new QVBoxLayout(column);
    columnLayout->setSpacing(layout.cardColumnSpacing);
    if (layout.cardColumnMargin) {
        const int m = *layout.cardColumnMargin;
        columnLayout->setContentsMargins(m, m, m, m);
    }
    for (QWidget *card : cardColumn)
        columnLayout->addWidget(card);
    middle->addWidget(column, 1);
    pageLayout->addLayout(middle, 3);

    // Bottom row: the list cards, equally wide.
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    for (QWidget *card : bottomRow)
        bottom->addWidget(card, 1);
    pageLayout->addLayout(bottom, layout.bottomRowStretch);
}

QChartView *makeMonthlyChartView(const DashboardChart &chart, const QList<double> &values)
{
    auto *set = new QBarSet(chart.barSetName);
    double largest = 0;
    for (double v : values) {
        *set << v;
        largest = qMax(largest, v);
    }
    set->setColor(QColor(QStringLiteral("#0078d4")));
    auto *series = new QBarSeries;
    series->append(set);

    auto *qchart = new QChart;
    qchart->addSeries(series);
    qchart->setTitle(QString());
    qchart->setAnimationOptions(QChart::SeriesAnimations);
    qchart->legend()->hide();

    QStringList labels;
    for (const DashboardMonth &month : chart.months)
        labels << month.label;
    auto *categories = new QBarCategoryAxis;
    categories->append(labels);
    qchart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);

    auto *valueAxis = new QValueAxis;
    valueAxis->setRange(0, axisMaximum(chart.axis, largest));
    valueAxis->setLabelFormat(axisLabelFormat(chart.axis));
    if (const double interval = wholeTickInterval(chart.axis, largest); interval > 0) {
        valueAxis->setTickType(QValueAxis::TicksDynamic);
        valueAxis->setTickAnchor(0);
        valueAxis->setTickInterval(interval);
    }
    qchart->addAxis(valueAxis, Qt::AlignLeft);
    series->attachAxis(valueAxis);

    auto *view = new QChartView(qchart);
    view->setRenderHint(QPainter::Antialiasing);
    if (chart.viewMinimumHeight > 0)
        view->setMinimumHeight(chart.viewMinimumHeight);
    return view;
}

void refreshDashboard(QWidget *root, const DashboardChart &chart,
                      const std::function<void(QWidget *root)> &fillCards)
{
    QChartView *view = makeMonthlyChartView(chart, monthlyValues(chart));
    QWidget *holder = root ? root->findChild<QWidget *>(chart.holderName) : nullptr;
    if (holder) {
        if (QLayout *old = holder->layout()) {
            while (QLayoutItem *item = old->takeAt(0)) {
                delete item->widget();
                delete item;
            }
        } else {
            new QVBoxLayout(holder);
        }
        holder->layout()->addWidget(view);
    } else {
        delete view;
    }
    if (fillCards && root)
        fillCards(root);
}

void setDashboardLabel(QWidget *root, const QString &objectName, const QString &text)
{
    if (!root)
        return;
    QLabel *label = root->findChild<QLabel *>(objectName);
    if (auto *fitted = dynamic_cast<CardHeading *>(label))
        fitted->showText(text);
    else if (label)
        label->setText(text);
}

QString rankedLines(const QString &lineFormat, const QList<QStringList> &rows, const QString &emptyText)
{
    if (rows.isEmpty())
        return emptyText;
    QString out;
    for (int r = 0; r < rows.size(); ++r) {
        QStringList args = rows.at(r);
        args.prepend(QString::number(r + 1));
        for (int i = 0; i < lineFormat.size(); ++i) {
            const QChar ch = lineFormat.at(i);
            if (ch == QLatin1Char('%') && i + 1 < lineFormat.size() && lineFormat.at(i + 1).isDigit()) {
                const int n = lineFormat.at(i + 1).digitValue();
                if (n >= 1 && n <= args.size()) {
                    out += args.at(n - 1);
                    ++i;
                    continue;
                }
            }
            out += ch;
        }
    }
    return out;
}
