#pragma once
// The company database: which file, opening it, and the shell's own tables.

#include <QString>

namespace CompanyDb {

extern const char *const DefaultKey; // "MorvelCoats"

// Reads the company key from folder/company.cfg (trimmed). A missing file is
// created holding the default key; an empty or blank file gives the default key
// and is left as it is.
QString readCompanyKey(const QString &folder);

// Opens folder/key.db as the default QSQLITE connection. On failure returns
// false and gives the driver's error text.
bool openDatabase(const QString &folder, const QString &key, QString *error);

// Creates and seeds the core tables: users, financial years, module switches
// and the company record. Safe to run at every start.
void createCoreSchema();

} // namespace CompanyDb
