#include "receivableslist.h"

#include "core/financialyear.h"
#include "widgets/formconventions.h"
#include "widgets/reportform.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace {

template<class W>
W *named(const QWidget *form, const char *name)
{
    return form->findChild<W *>(QString::fromLatin1(name));
}

} // namespace

void setupReceivablesWindow(QWidget *form, const QString &title)
{
    form->setWindowTitle(title);
    form->resize(1500, 800);
    setupFormHeader(named<QGroupBox>(form, "header_groupBox"), named<QLabel>(form, "header_label"),
                    named<QLabel>(form, "left_icon_label"), named<QLabel>(form, "right_icon_label"));
    setupReportFilters(named<QDateEdit>(form, "fromdateEdit"), named<QDateEdit>(form, "todateEdit"));
}

void setupReceivablesTable(QTableWidget *table, const QStringList &headers, const QList<int> &hiddenColumns,
                           const QList<QPair<int, int>> &widths, int stretchedColumn)
{
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    for (int column : hiddenColumns)
        table->setColumnHidden(column, true);
    setupReportTable(table, stretchedColumn);
    // Fixed widths rather than sized to the contents, but never narrower than
    // the column's heading (drawn bold while a row is selected), which would
    // otherwise be cut.
    QHeaderView *header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(stretchedColumn, QHeaderView::Stretch);
    table->ensurePolished();
    header->ensurePolished();
    for (const auto &[column, width] : widths)
        table->setColumnWidth(column, qMax(width, header->sectionSizeHint(column)));
}

PaymentFilter receivablesFilter(const QWidget *form)
{
    PaymentFilter filter;
    filter.customerId = chosenCustomerId(named<QComboBox>(form, "company_combo"));
    filter.from = named<QDateEdit>(form, "fromdateEdit")->date().toString(QStringLiteral("yyyy-MM-dd"));
    filter.to = named<QDateEdit>(form, "todateEdit")->date().toString(QStringLiteral("yyyy-MM-dd"));
    filter.currentFy = g_currentFY;
    return filter;
}

void resetReceivablesFilter(QWidget *form)
{
    named<QComboBox>(form, "company_combo")->setCurrentIndex(0);
    setupReportFilters(named<QDateEdit>(form, "fromdateEdit"), named<QDateEdit>(form, "todateEdit"));
}
