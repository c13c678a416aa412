#include "financialyear.h"

#include <QSqlQuery>
#include <QVariant>

QString g_currentFY = QStringLiteral("26-27");

int lowestFreeNumber(const QList<int> &usedAscending)
{
    int candidate = 1;
    for (int n : usedAscending) {
        if (candidate < n)
            break;
        candidate = n + 1;
    }
    return candidate;
}

int lowestFreeNumber(const QString &sql, const QString &fy)
{
    QSqlQuery q;
    q.prepare(sql);
    if (sql.contains(":fy"))
        q.bindValue(":fy", fy);
    QList<int> used;
    if (q.exec()) {
        while (q.next())
            used.append(q.value(0).toInt());
    }
    return lowestFreeNumber(used);
}

int nextInwardNumber(const QString &fy)
{
    QSqlQuery q;
    q.prepare("SELECT MAX(CAST(SUBSTR(inward_no_full, 1, INSTR(inward_no_full, '/') - 1) AS INTEGER)) "
              "FROM inward_entries WHERE fy_name = :fy");
    q.bindValue(":fy", fy);
    if (q.exec() && q.next() && !q.value(0).isNull())
        return q.value(0).toInt() + 1;
    return 1;
}

QString fullDocumentNumber(int number, const QString &fy)
{
    return QString::number(number) + "/" + fy;
}

QString financialYearLabel(const QDate &date)
{
    const int start = date.month() >= 4 ? date.year() : date.year() - 1;
    return QString("%1-%2")
        .arg(start % 100, 2, 10, QChar('0'))
        .arg((start + 1) % 100, 2, 10, QChar('0'));
}

QString materialRequestNumber(int existingLines, const QDate &date)
{
    return QString("MR/%1/%2")
        .arg(financialYearLabel(date))
        .arg(existingLines + 1, 3, 10, QChar('0'));
}

QDate defaultPeriodStart(const QDate &today)
{
    const int year = today.month() >= 4 ? today.year() : today.year() - 1;
    return QDate(year, 4, 1);
}

QString fyFirstOrder(const QString &alias)
{
    return QString("CASE WHEN %1.fy_name = :fy THEN 0 ELSE 1 END ASC, %1.fy_name DESC").arg(alias);
}
