#include "companyinfo.h"

#include "readconnection.h"

#include <QSqlQuery>
#include <QVariant>

CompanyInfo builtInCompanyInfo()
{
    CompanyInfo info;
    info.name = QStringLiteral("Morvel Coats");
    info.address1 = QStringLiteral("Plot No. 12, Industrial Estate");
    info.address2 = QStringLiteral("Coimbatore, Tamil Nadu");
    return info;
}

CompanyInfo loadCompanyInfo()
{
    CompanyInfo info = builtInCompanyInfo();

    QSqlQuery q(readingDatabase());
    if (q.exec("SELECT company_name, address_line1, address_line2, phone, email, gst_no FROM company_settings WHERE id = 1")
        && q.next()) {
        info.name = q.value(0).toString();
        info.address1 = q.value(1).toString();
        info.address2 = q.value(2).toString();
        info.phone = q.value(3).toString();
        info.email = q.value(4).toString();
        info.gstNo = q.value(5).toString();
    }
    return info;
}

bool isModuleEnabled(const QString &moduleName)
{
    QSqlQuery q;
    q.prepare("SELECT is_enabled FROM modules WHERE module_name = :name");
    q.bindValue(":name", moduleName);
    if (q.exec() && q.next())
        return q.value(0).toInt() == 1;
    return true;
}
