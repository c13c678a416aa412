#pragma once
// Running one statement with named values, keeping the driver's message.

#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

// Prepares sql on q, binds each value to its placeholder (":name") and runs it.
// On failure returns false and gives the driver's error text, the one of the
// prepare when the statement could not even be prepared (a missing table).
bool execBound(QSqlQuery &q, const QString &sql, const QVariantMap &values, QString *error = nullptr);
