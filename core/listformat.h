#pragma once
// How the lists show stored values.

#include <QDate>
#include <QHash>
#include <QString>

#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>

// A quantity with three decimals, rounded from the decimal it was stored as,
// half away from zero: 12.5 gives "12.500", 2.0005 gives "2.001".
QString quantityText(double qty);

// A stored amount with two decimals and no grouping: 1250 gives "1250.00",
// 2.445 gives "2.45" (the decimal it was stored from, rounded half away from
// zero; see money.h), never "-0.00".
QString amountText(double amount);

// A stored "yyyy-MM-dd" date as "dd-MM-yyyy"; any other text as stored.
QString storedDateText(const QString &stored);

// The date of a stored "yyyy-MM-dd" text; invalid for any other text. Read
// by hand: a list of thousands of rows would spend most of its time in the
// general date parser.
QDate storedDate(const QString &stored);

// The texts of values that repeat down a list (dates, quantities, names):
// each distinct value's text is made once and then shared by every cell
// that shows it (making a date or number text costs several allocations; a
// shared text costs none). Doubles are told apart by their bits, so 0 and
// -0 keep their own texts. Use one for a fill, not for the program's life.
template<class Value>
class RepeatedTexts
{
public:
    explicit RepeatedTexts(std::function<QString(Value)> make) : m_make(std::move(make)) {}

    QString operator()(const Value &value)
    {
        const auto key = keyOf(value);
        const auto found = m_texts.constFind(key);
        if (found != m_texts.cend())
            return *found;
        const QString text = m_make(value);
        m_texts.insert(key, text);
        return text;
    }

private:
    static quint64 keyOf(double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }
    template<class Other>
    static const Other &keyOf(const Other &value)
    {
        return value;
    }
    using Key = std::decay_t<decltype(keyOf(std::declval<Value>()))>;

    std::function<QString(Value)> m_make;
    QHash<Key, QString> m_texts;
};
