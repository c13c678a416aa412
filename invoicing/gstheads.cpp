#include "gstheads.h"

#include <QMap>

GstHeads gstHeads(const QList<TaxedAmount> &lines, bool igstCustomer)
{
    QMap<double, Money> taxableByRate;
    GstHeads heads;
    for (const TaxedAmount &line : lines) {
        taxableByRate[line.taxPercent] += line.amount;
        heads.taxable += line.amount;
    }
    for (auto it = taxableByRate.cbegin(); it != taxableByRate.cend(); ++it) {
        RateHeads rate;
        rate.percent = it.key();
        rate.taxable = it.value();
        const Decimal percent = Decimal::fromStored(rate.percent);
        if (igstCustomer) {
            rate.igst = Money::percentOf(rate.taxable, percent, 100);
        } else {
            rate.cgst = Money::percentOf(rate.taxable, percent, 200);
            rate.sgst = rate.cgst;
        }
        heads.cgst += rate.cgst;
        heads.sgst += rate.sgst;
        heads.igst += rate.igst;
        heads.rates.append(rate);
    }
    return heads;
}

QString taxDetailsText(const GstHeads &heads, bool igstCustomer)
{
    QString text;
    for (const RateHeads &rate : heads.rates) {
        const Money tax = rate.tax();
        if (tax.isZero()) // within 0.005 of zero; a negative tax is listed
            continue;
        const QString percent = QString::number(rate.percent, 'f', 0);
        if (igstCustomer)
            text += QStringLiteral("%1% - %2\n").arg(percent, tax.text());
        else
            text += QStringLiteral("%1% - %2 + %3 = %4\n").arg(percent, rate.cgst.text(), rate.sgst.text(), tax.text());
    }
    // The rates left out add nothing: the total is the fields' CGST + SGST + IGST.
    return text + QStringLiteral("Total Tax = ") + heads.tax().text();
}
