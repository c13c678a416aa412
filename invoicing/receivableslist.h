#pragma once
// What the two receivables windows (payment follow-up and payment history)
// share: the frame of the window, the list's look, and the customer and
// period filter. Both forms name these widgets alike: header_groupBox,
// header_label, left_icon_label, right_icon_label, company_combo,
// fromdateEdit and todateEdit.

#include "paymentstore.h"

#include <QList>
#include <QPair>
#include <QStringList>

class QTableWidget;
class QWidget;

// Title, size 1500 x 800, the header band, and the period from
// defaultPeriodStart to today with calendar pop-ups.
void setupReceivablesWindow(QWidget *form, const QString &title);

// Whole rows selected, nothing editable, alternating rows, no row numbers;
// fixed column widths (column, width), widened to fit their headings, but
// for the stretched column.
void setupReceivablesTable(QTableWidget *table, const QStringList &headers, const QList<int> &hiddenColumns,
                           const QList<QPair<int, int>> &widths, int stretchedColumn);

// The filter as the form's widgets stand, for the current financial year.
PaymentFilter receivablesFilter(const QWidget *form);
// Back to every customer and the default period.
void resetReceivablesFilter(QWidget *form);
