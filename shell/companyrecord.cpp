#include "companyrecord.h"

#include "core/boundquery.h"
#include "output/desktop.h"

#include <QSqlQuery>
#include <QVariant>

bool readCompanyRecord(CompanyInfo *info)
{
    QSqlQuery q;
    if (!q.exec("SELECT company_name, address_line1, address_line2, phone, email, gst_no FROM company_settings WHERE id = 1")
        || !q.next())
        return false;
    info->name = q.value(0).toString();
    info->address1 = q.value(1).toString();
    info->address2 = q.value(2).toString();
    info->phone = q.value(3).toString();
    info->email = q.value(4).toString();
    info->gstNo = q.value(5).toString();
    return true;
}

bool saveCompanyRecord(const CompanyInfo &info, QString *error)
{
    const QVariantMap values{{":company_name", info.name}, {":address1", info.address1},
                             {":address2", info.address2}, {":phone", info.phone},
                             {":email", info.email},       {":gst_no", info.gstNo}};
    QSqlQuery q;
    if (!execBound(q,
                   "UPDATE company_settings SET company_name = :company_name, address_line1 = :address1, "
                   "address_line2 = :address2, phone = :phone, email = :email, gst_no = :gst_no WHERE id = 1",
                   values, error))
        return false;
    if (q.numRowsAffected() > 0)
        return true;
    // Row 1 was removed; an update of no row would save nothing.
    return execBound(q,
                     "INSERT INTO company_settings (id, company_name, address_line1, address_line2, phone, email, "
                     "gst_no) VALUES (1, :company_name, :address1, :address2, :phone, :email, :gst_no)",
                     values, error);
}

bool saveCompanyRecordReporting(QWidget *parent, const CompanyInfo &info)
{
    if (info.name.isEmpty()) {
        Desktop::warning(parent, "Error", "Company name cannot be empty!");
        return false;
    }
    QString error;
    if (!saveCompanyRecord(info, &error)) {
        Desktop::warning(parent, "Error", "Failed to save: " + error);
        return false;
    }
    return true;
}

CompanyInfo trimmedCompanyInfo(const CompanyInfo &info)
{
    return {info.name.trimmed(),  info.address1.trimmed(), info.address2.trimmed(),
            info.phone.trimmed(), info.email.trimmed(),    info.gstNo.trimmed()};
}
