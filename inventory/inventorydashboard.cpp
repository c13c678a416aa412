#include "inventorydashboard.h"

#include "core/money.h"
#include "widgets/dashboard.h"
#include "widgets/tablefill.h"
#include "inventory/stockwatch.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *cardTable(const QString &objectName, const QStringList &headers, int rowHeight, int headerPx,
                        const QString &styleSheet, QWidget *card)
{
    auto *table = new QTableWidget(0, 3, card);
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(headers);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(rowHeight);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setStyleSheet(styleSheet);
    // The narrow columns keep room for their bold headings even when no row
    // gives them a width.
    QFont headerFont = table->font();
    headerFont.setPixelSize(headerPx);
    headerFont.setBold(true);
    const QFontMetrics metrics(headerFont);
    table->horizontalHeader()->setMinimumSectionSize(
        qMax(metrics.horizontalAdvance(headers.at(1)), metrics.horizontalAdvance(headers.at(2))) + 10);
    return table;
}

QFrame *divider(const QString &styleSheet, QWidget *card)
{
    auto *line = new QFrame(card);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(styleSheet);
    return line;
}

QTableWidgetItem *colouredItem(const QString &text, const QString &colour, Qt::Alignment alignment)
{
    auto *item = new QTableWidgetItem(text);
    if (!colour.isEmpty())
        item->setForeground(QColor(colour));
    item->setTextAlignment(alignment);
    return item;
}

// The rows of a card, filled at once; a row whose first cell spans the three
// columns is a heading (bold on grey) or the all-clear line.
class CardFill
{
public:
    CardFill(QTableWidget *table, int rows)
        : m_table(table)
        , m_fill(table, rows)
    {
    }

    void line(int row, const QString &first, QTableWidgetItem *second, QTableWidgetItem *third)
    {
        m_fill.add(row, 0, first);
        m_fill.add(row, 1, second);
        m_fill.add(row, 2, third);
    }

    void heading(int row, const QString &text)
    {
        QTableWidgetItem *item = m_fill.add(row, 0, text);
        QFont font = item->font();
        font.setWeight(QFont::Bold);
        item->setFont(font);
        item->setBackground(QColor(QStringLiteral("#f0f0f0")));
        m_spans << row;
    }

    void allClear(int row, const QString &text)
    {
        QTableWidgetItem *item = m_fill.add(row, 0, text);
        item->setForeground(QColor(QStringLiteral("#27ae60")));
        item->setTextAlignment(Qt::AlignCenter);
        m_spans << row;
    }

    void finish()
    {
        m_fill.finish();
        for (int row : m_spans)
            m_table->setSpan(row, 0, 1, 3);
    }

private:
    QTableWidget *m_table;
    TableFill m_fill;
    QList<int> m_spans;
};

QTableWidget *emptiedTable(QWidget *root, const QString &tableName)
{
    auto *table = root ? root->findChild<QTableWidget *>(tableName) : nullptr;
    if (table)
        table->clearSpans();
    return table;
}

} // namespace

QList<DashboardCategory> dashboardCategories()
{
    return {
        {"Raw Material", "#0078d4", "lbl_inv_rawmat", "lbl_inv_raw_supp", "Raw Material — Material Request Details", "📦"},
        {"Critical Spare", "#e74c3c", "lbl_inv_critspare", "lbl_inv_crit_supp", "Critical Spare - Material Request Details", "⚠"},
        {"Safety", "#27ae60", "lbl_inv_stat", "lbl_inv_safety_supp", "Safety — Material Request Details", "🦺"},
        {"Packing", "#8e44ad", "lbl_inv_packing", "lbl_inv_packing_supp", "Packing — Material Request Details", "📦"},
        {"Hardware", "#e67e22", "lbl_inv_hardware", "lbl_inv_hardware_supp", "Hardware — Material Request Details", "🔧"},
    };
}

QFrame *createStockCard(const QString &title, const QString &objectName, const QString &colour)
{
    // The card's widgets are made on it: each moved onto it later would take
    // its style sheet again.
    auto *card = new QFrame;
    card->setStyleSheet(QStringLiteral("QFrame { background:white; border-radius:6px; border:1.5px solid %1; }").arg(colour));
    auto *layout = new QVBoxLayout(card);
    layout->setSpacing(2);
    layout->setContentsMargins(6, 6, 6, 6);

    // The title steps its font down, then wraps, where the column is narrow.
    auto *titleLabel = new CardHeading(
        title, QStringLiteral("font-size:%1px; color:") + colour + QStringLiteral("; font-weight:bold; border:none;"), 15,
        20, card);
    titleLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(titleLabel);
    layout->addWidget(divider(QStringLiteral("background:%1; border:none; max-height:1px;").arg(colour), card));
    layout->addWidget(cardTable(objectName, {"Item", "Balance", "Min"}, 22, 15,
                                QStringLiteral("QTableWidget { border:none; font-size:15px; }"
                                               "QHeaderView::section { background:%1; color:white; font-size:15px; "
                                               "font-weight:bold; border:none; padding:2px; min-height:22px; }")
                                    .arg(colour),
                                card));
    return card;
}

QFrame *createRequestCard(const QString &title, const QString &objectName, const QString &colour,
                          const QString &icon)
{
    auto *card = new QFrame;
    card->setStyleSheet(QStringLiteral("QFrame { background:white; border-radius:10px; border:2px solid %1; }").arg(colour));
    auto *layout = new QVBoxLayout(card);
    layout->setSpacing(2);
    layout->setContentsMargins(6, 6, 6, 6);

    auto *titleRow = new QHBoxLayout;
    auto *iconLabel = new QLabel(icon, card);
    iconLabel->setFixedHeight(20);
    iconLabel->setStyleSheet(QStringLiteral("font-size:14px; color:%1; border:none;").arg(colour));
    // Five request cards share the page's width: on a small screen the title
    // steps its font down, then wraps, rather than widen the page past it.
    auto *titleLabel = new CardHeading(
        title, QStringLiteral("font-size:%1px; font-weight:bold; color:") + colour + QStringLiteral("; border:none;"), 13,
        20, card);
    titleRow->addWidget(iconLabel);
    titleRow->addWidget(titleLabel);
    titleRow->addStretch();
    layout->addLayout(titleRow);

    QFrame *line = divider(QStringLiteral("background:%1; border:none;").arg(colour), card);
    line->setFixedHeight(1);
    layout->addWidget(line);
    layout->addWidget(cardTable(objectName, {"Supplier / Item", "Qty", "Date"}, 20, 13,
                                QStringLiteral("QTableWidget { border:none; font-size:14px; }"
                                               "QHeaderView::section { background:%1; color:white; font-size:13px; "
                                               "font-weight:bold; border:none; padding:2px; min-height:20px; }")
                                    .arg(colour),
                                card));
    return card;
}

void buildInventoryDashboard(QMainWindow *window, const std::function<void()> &sendAlert,
                             const std::function<void()> &refresh)
{
    auto *page = new QWidget(window);
    window->setCentralWidget(page);

    DashboardPage layout;
    layout.title = QStringLiteral("Inventory Dashboard");
    layout.chartCaption = QStringLiteral("Monthly Material Requests — Last 12 Months");
    layout.chartCaptionStyle = QStringLiteral("font-size:13px; font-weight:bold; color:#333; padding:2px;");
    layout.holderName = QStringLiteral("invChartHolder");
    layout.chartFrameMinimumHeight = 180;
    layout.chartFrameMargin = 6;
    layout.cardColumnSpacing = 4;
    layout.cardColumnMargin = 0;
    layout.bottomRowStretch = 1;

    const QList<DashboardCategory> categories = dashboardCategories();
    QList<QWidget *> stockCards;
    for (const DashboardCategory &c : categories)
        stockCards << createStockCard(c.category, c.lowStockTable, c.colour);
    // The request row puts Critical Spare first.
    QList<QWidget *> requestCards;
    for (int i : {1, 0, 2, 3, 4}) {
        const DashboardCategory &c = categories.at(i);
        requestCards << createRequestCard(c.requestTitle, c.requestTable, c.colour, c.icon);
    }
    buildDashboard(page, layout, stockCards, requestCards, sendAlert, refresh);
}

DashboardChart requestChart(const QDate &today)
{
    DashboardChart chart;
    chart.holderName = QStringLiteral("invChartHolder");
    chart.barSetName = QStringLiteral("Material Requests");
    chart.months = lastTwelveMonths(today);
    chart.monthSql = QStringLiteral("SELECT COUNT(DISTINCT po_number) FROM purchase_orders "
                                    "WHERE po_date >= :from AND po_date <= :to");
    chart.axis = DashboardAxis::Counts;
    chart.viewMinimumHeight = 200;
    return chart;
}

void loadInventoryDashboard(QWidget *root, const QDate &today)
{
    loadInventoryDashboard(
        root, today, [root](const QString &category, const QString &table) { loadLowStockCard(root, category, table); },
        [root](const QString &category, const QString &table) { loadRequestCard(root, category, table); });
}

void loadInventoryDashboard(QWidget *root, const QDate &today, const CardLoader &loadLowStock,
                            const CardLoader &loadRequest)
{
    refreshDashboard(root, requestChart(today), [&](QWidget *) {
        const QList<DashboardCategory> categories = dashboardCategories();
        for (const DashboardCategory &c : categories)
            loadRequest(c.category, c.requestTable);
        for (const DashboardCategory &c : categories)
            loadLowStock(c.category, c.lowStockTable);
    });
}

void loadLowStockCard(QWidget *root, const QString &category, const QString &tableName)
{
    QTableWidget *table = emptiedTable(root, tableName);
    if (!table)
        return;
    const QList<LowStockItem> items = lowStockItems(category);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    CardFill fill(table, qMax(1, int(items.size())));
    for (int r = 0; r < items.size(); ++r) {
        const LowStockItem &item = items.at(r);
        fill.line(r, item.itemName,
                  colouredItem(storedDecimalText(item.balance, 2) + QLatin1Char(' ') + item.uom,
                               QStringLiteral("#e74c3c"), right),
                  colouredItem(storedDecimalText(item.minStock, 2) + QLatin1Char(' ') + item.uom, QString(), right));
    }
    if (items.isEmpty())
        fill.allClear(0, QStringLiteral("✅ All stock OK"));
    fill.finish();
}

void loadRequestCard(QWidget *root, const QString &category, const QString &tableName)
{
    QTableWidget *table = emptiedTable(root, tableName);
    if (!table)
        return;
    const QList<OpenRequestLine> lines = openRequestLines(category, OpenRequestOrder::BySupplierNewestFirst);
    // A supplier's lines follow its heading.
    int rows = 0;
    QString lastSupplier;
    for (const OpenRequestLine &line : lines) {
        if (line.supplier != lastSupplier) {
            ++rows;
            lastSupplier = line.supplier;
        }
        ++rows;
    }
    CardFill fill(table, qMax(1, rows));
    int row = 0;
    lastSupplier.clear();
    // Thousands of lines share a few hundred quantities and dates: each such
    // cell is made, and its date read, once.
    RepeatedCells<QString> quantities, dates; // by the text, by the stored date
    for (const OpenRequestLine &line : lines) {
        if (line.supplier != lastSupplier) {
            fill.heading(row++, QStringLiteral("📦 ") + line.supplier);
            lastSupplier = line.supplier;
        }
        const QString quantity = storedDecimalText(line.orderQty, 0) + QLatin1Char(' ') + line.uom;
        fill.line(row++, QStringLiteral("  • ") + line.itemName, quantities.first(quantity, [&] {
            return colouredItem(quantity, QStringLiteral("#e74c3c"), Qt::AlignRight | Qt::AlignVCenter);
        }).clone(), dates.first(line.poDate, [&] {
            return colouredItem(line.shortDate(), QString(), Qt::AlignCenter);
        }).clone());
    }
    if (lines.isEmpty())
        fill.allClear(0, QStringLiteral("✅ No open requests"));
    fill.finish();
}
