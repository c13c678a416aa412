#pragma once
// The GST of an invoice, per tax rate: each rate's taxable amount is the sum
// of its line amounts; a same-state customer pays CGST and SGST of half the
// rate each, an "IGST Customer" IGST of the whole rate, each head rounded
// once to paise. The invoice's heads are the sums of the rates' heads, so
// what the form shows, what is stored and what is printed add up:
//
//     18% on 376.50: CGST 33.89 + SGST 33.89 = 67.78, net 444 (round-off -0.28)
//
// The net is taxable + tax rounded once to whole rupees, half away from zero.

#include "core/money.h"

#include <QList>
#include <QString>

// A line's amount with its tax percent.
struct TaxedAmount
{
    Money amount;
    double taxPercent = 0;
};

// The heads of one tax rate.
struct RateHeads
{
    double percent = 0;
    Money taxable;
    Money cgst;
    Money sgst;
    Money igst;

    Money tax() const { return cgst + sgst + igst; }
};

struct GstHeads
{
    QList<RateHeads> rates; // ascending percent
    Money taxable;
    Money cgst;
    Money sgst;
    Money igst;

    Money tax() const { return cgst + sgst + igst; }
    // taxable + tax in whole rupees, half away from zero.
    qint64 net() const { return (taxable + tax()).roundedToRupees(); }
    // net - (taxable + tax): negative when rounded down.
    Money roundOff() const { return Money::fromRupees(net()) - (taxable + tax()); }
};

GstHeads gstHeads(const QList<TaxedAmount> &lines, bool igstCustomer);

// The form's tax details: per rate whose tax is not within 0.005 of zero
// (a negative one too), ascending, "18% - 33.89 + 33.89 = 67.78\n"
// ("18% - 67.78\n" for an IGST customer), then "Total Tax = " and the
// invoice's CGST + SGST + IGST, which is the sum of the lines shown.
QString taxDetailsText(const GstHeads &heads, bool igstCustomer);
