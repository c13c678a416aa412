#pragma once
// What the inward entry tests share: the masters they work with and small
// database and widget look-ups.

#include "sales/salesschema.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>
#include <QVariant>
#include <QWidget>

namespace inwardtest {

inline void exec(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql))
        qFatal("failed: %s", qPrintable(sql));
}

// Each row of the result as its fields joined by "|".
inline QStringList rows(const QString &sql)
{
    QStringList out;
    QSqlQuery q(sql);
    while (q.next()) {
        QStringList fields;
        for (int c = 0; c < q.record().count(); ++c)
            fields << q.value(c).toString();
        out << fields.join("|");
    }
    return out;
}

// The sales tables with two customers; ACME's three items hold "ab" or "l" in
// several letter cases, one of them without a code.
inline void seedMasters()
{
    createSalesTables();
    exec("INSERT INTO customers (customer_id, customer_name) VALUES (1, 'ACME FORGE'), (2, 'BHARAT CASTINGS')");
    exec("INSERT INTO items (item_id, customer_id, item_code, item_name, uom) VALUES "
         "(1, 1, 'AB-100', 'ABLE BRACKET', 'NOS'), (2, 1, 'CD-200', 'COVER PLATE', 'KGS'), "
         "(3, 1, '', 'SLAB RING', 'NOS'), (4, 2, 'AB-900', 'OTHER FIRM PART', 'NOS')");
}

template<class W>
W *child(QWidget &form, const char *name)
{
    W *w = form.findChild<W *>(name);
    if (!w)
        qFatal("no widget %s", name);
    return w;
}

} // namespace inwardtest
