#include "shellfloor.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace {

const char *const Shell = "sqlite3";

QString literal(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        // Qt binds a double as REAL: keep it one in the text.
        QString text = QString::number(d, 'g', 17);
        if (std::isfinite(d) && !text.contains('.') && !text.contains('e'))
            text += ".0";
        return text;
    }
    default: {
        QString text = value.toString();
        text.replace('\'', QStringLiteral("''"));
        return '\'' + text + '\'';
    }
    }
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_';
}

// Runs the shell on `file` with `sql`; its output goes to `output` when
// given, else to the null device. Milliseconds from start to exit.
double runShell(const QString &file, const QString &sql, QByteArray *output = nullptr)
{
    QProcess shell;
    if (!output)
        shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start(Shell, {file, sql});
    if (!shell.waitForStarted(10000))
        qFatal("the %s shell could not be started (scripts/setup.sh installs it)", Shell);
    shell.waitForFinished(-1);
    const double ms = timer.nsecsElapsed() / 1e6;
    const QByteArray errors = shell.readAllStandardError();
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0 || !errors.isEmpty())
        qFatal("%s shell: %s\n%s", Shell, errors.constData(), qPrintable(sql));
    if (output)
        *output = shell.readAllStandardOutput();
    return ms;
}

int rowsByConnection(const ListStatement &statement)
{
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!q.prepare(statement.sql))
        qFatal("%s: %s", qPrintable(statement.sql), qPrintable(q.lastError().text()));
    for (auto it = statement.named.cbegin(); it != statement.named.cend(); ++it)
        q.bindValue(it.key().startsWith(':') ? it.key() : ':' + it.key(), it.value());
    for (int i = 0; i < statement.positional.size(); ++i)
        q.bindValue(i, statement.positional.at(i));
    if (!q.exec())
        qFatal("%s: %s", qPrintable(statement.sql), qPrintable(q.lastError().text()));
    int rows = 0;
    while (q.next())
        ++rows;
    return rows;
}

} // namespace

QString withLiterals(const ListStatement &statement)
{
    const QString &sql = statement.sql;
    QString out;
    out.reserve(sql.size() + 64);
    int positional = 0;
    int i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            // Quoted text or name, copied whole (a doubled quote stays inside).
            const QChar close = c == '[' ? QChar(']') : c;
            int end = i + 1;
            while (end < sql.size()) {
                if (sql.at(end) == close) {
                    if (close != ']' && end + 1 < sql.size() && sql.at(end + 1) == close) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            out += sql.mid(i, end + 1 - i);
            i = end + 1;
        } else if (c == '-' && i + 1 < sql.size() && sql.at(i + 1) == '-') {
            const int end = sql.indexOf('\n', i);
            out += end < 0 ? sql.mid(i) : sql.mid(i, end - i);
            i = end < 0 ? sql.size() : end;
        } else if (c == '/' && i + 1 < sql.size() && sql.at(i + 1) == '*') {
            const int end = sql.indexOf("*/", i + 2);
            out += end < 0 ? sql.mid(i) : sql.mid(i, end + 2 - i);
            i = end < 0 ? sql.size() : end + 2;
        } else if (c == '?') {
            if (positional >= statement.positional.size())
                qFatal("no value for binding %d of %s", positional + 1, qPrintable(sql));
            out += literal(statement.positional.at(positional++));
            ++i;
        } else if (c == ':' && i + 1 < sql.size() && isNameChar(sql.at(i + 1))) {
            int end = i + 1;
            while (end < sql.size() && isNameChar(sql.at(end)))
                ++end;
            const QString name = sql.mid(i, end - i);
            auto it = statement.named.constFind(name);
            if (it == statement.named.cend())
                it = statement.named.constFind(name.mid(1));
            if (it == statement.named.cend())
                qFatal("no value for %s in %s", qPrintable(name), qPrintable(sql));
            out += literal(it.value());
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

double shellFloorMs(const QList<ListStatement> &statements, int runs)
{
    const QString file = QSqlDatabase::database().databaseName();
    QStringList texts;
    for (const ListStatement &statement : statements) {
        QString sql = withLiterals(statement).trimmed();
        while (sql.endsWith(';'))
            sql.chop(1);
        // The shell must see what the window sees: the benchmark's writes committed.
        QByteArray counted;
        runShell(file, "SELECT count(*) FROM (" + sql + "\n)", &counted);
        const int expected = rowsByConnection(statement);
        if (counted.trimmed().toInt() != expected)
            qFatal("the %s shell counts %s rows where the benchmark's connection reads %d: are its writes committed?\n%s",
                   Shell, counted.trimmed().constData(), expected, qPrintable(sql));
        texts << sql;
    }
    // A window's statements run one after another in one shell, as on one
    // connection.
    const QString all = texts.join(QStringLiteral(";\n"));
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        const double ms = runShell(file, all);
        if (best < 0 || ms < best)
            best = ms;
    }
    return best;
}

double shellFloorMs(const ListStatement &statement, int runs)
{
    return shellFloorMs(QList<ListStatement>{statement}, runs);
}
