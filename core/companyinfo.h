#pragma once
// The company header record printed on every document, and the module switches.

#include <QString>

struct CompanyInfo
{
    QString name;
    QString address1;
    QString address2;
    QString phone;
    QString email;
    QString gstNo;
};

// The built-in company: its name, two address lines, nothing else.
CompanyInfo builtInCompanyInfo();

// Row 1 of company_settings as stored; the built-in company when it is missing.
CompanyInfo loadCompanyInfo();

// True when the module is switched on (is_enabled = 1) or has no row.
bool isModuleEnabled(const QString &moduleName);
