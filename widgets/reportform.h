#pragma once
// What the report windows share: the filter they read from their widgets
// (customer, period, search text), its default period, and how their tables
// are set up.

#include "core/listfilter.h"

#include <QString>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTableWidget;

// How both report windows set up and fill their tables: plain text items,
// whole rows selected, nothing editable, headers sized to their contents
// but for the stretched column.
void setupReportTable(QTableWidget *table, int stretchedColumn);

// Both report windows' filters: the period opens on defaultPeriodStart and
// ends today, both with a calendar pop-up.
void setupReportFilters(QDateEdit *from, QDateEdit *to);
// The filter as the widgets stand, for the current financial year.
ReportFilter readReportFilter(const QComboBox *customer, const QDateEdit *from, const QDateEdit *to,
                              const QLineEdit *search);
// Back to every customer, the default period and no search text.
void resetReportFilters(QComboBox *customer, QDateEdit *from, QDateEdit *to, QLineEdit *search);
