#pragma once
// A prepared statement the data generators run once per row, with positional
// values; any failure stops the program.

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>

class PreparedInsert
{
public:
    explicit PreparedInsert(const char *sql)
    {
        if (!m_query.prepare(QString::fromLatin1(sql)))
            qFatal("cannot prepare %s: %s", sql, qPrintable(m_query.lastError().text()));
    }
    void run(const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values.at(i));
        if (!m_query.exec())
            qFatal("%s: %s", qPrintable(m_query.lastQuery()), qPrintable(m_query.lastError().text()));
    }
    QVariant lastId() const { return m_query.lastInsertId(); }

private:
    QSqlQuery m_query;
};

// The number of entries of a fixed array.
template<class T, int N>
constexpr int countOf(const T (&)[N])
{
    return N;
}
