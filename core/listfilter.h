#pragma once
// The customer and period filter that the lists of the sales chain share:
// the conditions a list's statement puts after its WHERE, and their values.

#include <QString>
#include <QVariantMap>

// A list's rows of one customer (customerId above 0; anything else means
// every customer) dated from..to ("yyyy-MM-dd", both included; an empty
// text means no bound).
struct CustomerPeriod
{
    int customerId = -1;
    QString from;
    QString to;
};

// "AND <alias>.customer_id = :cid " when a customer is chosen, then
// "AND <alias>.<dateColumn> >= :from " and "AND <alias>.<dateColumn> <= :to "
// for the bounds given; each value put into `values` under its name. Dates
// compare as their "yyyy-MM-dd" texts.
QString customerPeriodConditions(const CustomerPeriod &filter, const QString &alias, const QString &dateColumn,
                                 QVariantMap *values);

// What a report lists: its lines dated from..to ("yyyy-MM-dd", both
// included), of one customer when customerId is above 0, of items whose code
// or name holds `search` (any case; blank means every item). Lines of `fy`
// come first, then the other years by name descending.
struct ReportFilter
{
    QString from;
    QString to;
    int customerId = -1;
    QString search;
    QString fy;
};
