#include "companydb.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

namespace CompanyDb {

const char *const DefaultKey = "MorvelCoats";

QString readCompanyKey(const QString &folder)
{
    QString key = QString::fromLatin1(DefaultKey);
    QFile cfg(folder + "/company.cfg");
    if (cfg.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&cfg);
        const QString text = in.readAll().trimmed();
        if (!text.isEmpty())
            key = text;
        cfg.close();
    } else if (cfg.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&cfg);
        out << DefaultKey;
        cfg.close();
    }
    return key;
}

bool openDatabase(const QString &folder, const QString &key, QString *error)
{
    QSqlDatabase db = QSqlDatabase::contains(QSqlDatabase::defaultConnection)
                          ? QSqlDatabase::database(QSqlDatabase::defaultConnection, false)
                          : QSqlDatabase::addDatabase("QSQLITE");
    if (db.isOpen())
        db.close();
    db.setDatabaseName(folder + "/" + key + ".db");
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    return true;
}

void createCoreSchema()
{
    QSqlQuery q;
    q.exec("CREATE TABLE IF NOT EXISTS users (id INTEGER PRIMARY KEY AUTOINCREMENT, username TEXT UNIQUE, password TEXT)");
    // The default login is seeded only into an empty table: once the user has
    // changed the credentials the well-known default must not come back.
    q.exec("INSERT INTO users (username, password) SELECT 'pravo', 'pravo' WHERE NOT EXISTS (SELECT 1 FROM users)");
    q.exec("CREATE TABLE IF NOT EXISTS financial_years (fy_id INTEGER PRIMARY KEY AUTOINCREMENT, fy_name TEXT UNIQUE, is_active INTEGER DEFAULT 0, is_released INTEGER DEFAULT 1)");
    q.exec("INSERT OR IGNORE INTO financial_years (fy_name, is_active, is_released) VALUES ('26-27', 1, 1)");
    q.exec("CREATE TABLE IF NOT EXISTS modules (module_name TEXT PRIMARY KEY, is_enabled INTEGER DEFAULT 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('expenses', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('purchase', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('sales', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('salary', 1)");
    q.exec("INSERT OR IGNORE INTO modules (module_name, is_enabled) VALUES ('inventory', 1)");
    q.exec("CREATE TABLE IF NOT EXISTS company_settings (id INTEGER PRIMARY KEY, company_name TEXT, address_line1 TEXT, address_line2 TEXT, phone TEXT, email TEXT, gst_no TEXT)");
    q.exec("ALTER TABLE company_settings ADD COLUMN bank_details TEXT");
    q.exec("INSERT OR IGNORE INTO company_settings (id, company_name, address_line1, address_line2, phone, email, gst_no) VALUES (1, 'Your Company Name', 'Address Line 1', 'Address Line 2', '', '', '')");
}

} // namespace CompanyDb
