#include "companyrecord.h"

#include "core/boundquery.h"
#include "output/desktop.h"

#include <QSqlQuery>
#include <QVariant>

bool readCompanyRecord(CompanyRecord *record, QString *error)
{
    *record = CompanyRecord();
    // Every column the table has now: invoice_format comes with the first
    // user panel.
    QStringList columns;
    if (!forEachRow(QStringLiteral("SELECT name FROM pragma_table_info('company_settings')"), {},
                    [&columns](const StatementRow &r) { columns << r.text(0); }, error))
        return false;
    if (columns.isEmpty()) {
        // No such table: the driver says so.
        QSqlQuery q;
        execBound(q, QStringLiteral("SELECT id FROM company_settings"), {}, error);
        return false;
    }
    record->row.source = RowSource{QStringLiteral("company_settings"), QStringLiteral("id"), columns, QString()};
    record->row.key = 1;
    const auto at = [&columns](const char *name) { return int(columns.indexOf(QLatin1String(name))); };
    const int name = at("company_name"), address1 = at("address_line1"), address2 = at("address_line2"),
              phone = at("phone"), email = at("email"), gst = at("gst_no"), bank = at("bank_details"),
              format = at("invoice_format");
    return forEachRow(
        QStringLiteral("SELECT ") + record->row.source.columnList()
            + QStringLiteral(" FROM company_settings WHERE id = :key"),
        {{QStringLiteral(":key"), record->row.key}},
        [&](const StatementRow &r) {
            const auto text = [&r](int column) { return column < 0 ? QString() : r.text(column); };
            record->found = true;
            record->info = {text(name), text(address1), text(address2), text(phone), text(email), text(gst)};
            record->bankDetails = text(bank);
            record->invoiceFormat = text(format);
            record->row.stored = StoredRow::of(r, 0, int(columns.size()));
        },
        error);
}

QString companyRecordName()
{
    return QStringLiteral("The company record");
}

bool saveCompanyRecord(CompanyRecord *record, const CompanyInfo &info, const QString &wayOn, QString *error)
{
    const QVariantMap values{{":company_name", info.name}, {":address1", info.address1},
                             {":address2", info.address2}, {":phone", info.phone},
                             {":email", info.email},       {":gst_no", info.gstNo}};
    return writePanelRow(&record->row, companyRecordName(), wayOn, [&values](QString *failure) {
        QSqlQuery q;
        if (!execBound(q,
                       "UPDATE company_settings SET company_name = :company_name, address_line1 = :address1, "
                       "address_line2 = :address2, phone = :phone, email = :email, gst_no = :gst_no WHERE id = 1",
                       values, failure))
            return false;
        if (q.numRowsAffected() > 0)
            return true;
        // Row 1 is missing, as it was when read: an update of no row would
        // save nothing.
        return execBound(q,
                         "INSERT INTO company_settings (id, company_name, address_line1, address_line2, phone, email, "
                         "gst_no) VALUES (1, :company_name, :address1, :address2, :phone, :email, :gst_no)",
                         values, failure);
    }, error);
}

bool saveCompanyRecordReporting(QWidget *parent, CompanyRecord *record, const CompanyInfo &info,
                                const QString &wayOn)
{
    if (info.name.isEmpty()) {
        Desktop::warning(parent, "Error", "Company name cannot be empty!");
        return false;
    }
    QString error;
    if (!saveCompanyRecord(record, info, wayOn, &error)) {
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
