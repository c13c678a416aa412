#include "listformat.h"

#include "core/money.h"

#include <QDate>

QString quantityText(double qty)
{
    return threeDecimalText(qty);
}

QString amountText(double amount)
{
    return moneyText(amount);
}

QDate storedDate(const QString &stored)
{
    if (stored.size() != 10 || stored.at(4) != '-' || stored.at(7) != '-')
        return QDate();
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (stored.at(i) < '0' || stored.at(i) > '9')
            return QDate();
    }
    const QStringView text(stored);
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
}

QString storedDateText(const QString &stored)
{
    if (!storedDate(stored).isValid())
        return stored;
    return stored.mid(8, 2) + QLatin1Char('-') + stored.mid(5, 2) + QLatin1Char('-') + stored.left(4);
}
