#include "reportform.h"

#include "formconventions.h"
#include "core/financialyear.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

void setupReportTable(QTableWidget *table, int stretchedColumn)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    QHeaderView *header = table->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(stretchedColumn, QHeaderView::Stretch);
}

void setupReportFilters(QDateEdit *from, QDateEdit *to)
{
    from->setCalendarPopup(true);
    to->setCalendarPopup(true);
    from->setDate(defaultPeriodStart());
    to->setDate(QDate::currentDate());
}

ReportFilter readReportFilter(const QComboBox *customer, const QDateEdit *from, const QDateEdit *to,
                              const QLineEdit *search)
{
    ReportFilter filter;
    filter.customerId = chosenCustomerId(customer);
    filter.from = from->date().toString(QStringLiteral("yyyy-MM-dd"));
    filter.to = to->date().toString(QStringLiteral("yyyy-MM-dd"));
    filter.search = search->text().trimmed();
    filter.fy = g_currentFY;
    return filter;
}

void resetReportFilters(QComboBox *customer, QDateEdit *from, QDateEdit *to, QLineEdit *search)
{
    customer->setCurrentIndex(0);
    setupReportFilters(from, to);
    search->clear();
}
