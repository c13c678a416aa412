#include "companyrecord.h"

#include "core/boundquery.h"
#include "output/desktop.h"

#include <QSqlQuery>
#include <QVariant>

bool readCompanyRecord(CompanyRecord *record, QString *error)
{
    *record = CompanyRecord();
    // The columns the table has now: invoice_format comes with the first
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
    const QStringList details{"company_name", "address_line1", "address_line2", "phone", "email", "gst_no"};
    PanelRow *const rows[] = {&record->details, &record->bank, &record->format};
    const QStringList groups[] = {details, {"bank_details"}, {"invoice_format"}};
    QStringList read;
    for (int g = 0; g < 3; ++g) {
        for (const QString &c : groups[g]) {
            if (columns.contains(c))
                rows[g]->source.columns << c;
        }
        rows[g]->source.table = QStringLiteral("company_settings");
        rows[g]->source.keyColumn = QStringLiteral("id");
        rows[g]->key = 1;
        read << rows[g]->source.columns;
    }
    const auto at = [&read](const char *name) { return int(read.indexOf(QLatin1String(name))); };
    return forEachRow(
        QStringLiteral("SELECT ") + read.join(QStringLiteral(", ")) + QStringLiteral(" FROM company_settings WHERE id = 1"),
        {},
        [&](const StatementRow &r) {
            const auto text = [&r](int column) { return column < 0 ? QString() : r.text(column); };
            record->found = true;
            record->info = {text(at("company_name")), text(at("address_line1")), text(at("address_line2")),
                            text(at("phone")),        text(at("email")),         text(at("gst_no"))};
            record->bankDetails = text(at("bank_details"));
            record->invoiceFormat = text(at("invoice_format"));
            int first = 0;
            for (PanelRow *row : rows) {
                row->stored = StoredRow::of(r, first, int(row->source.columns.size()));
                first += int(row->source.columns.size());
            }
        },
        error);
}

QString companyRecordName()
{
    return QStringLiteral("The company record");
}

bool saveCompanyRecord(CompanyRecord *record, const CompanyInfo &info, const QString &wayOn, QString *error)
{
    // Row 1 missing, as it was when read, is created: an update of no row
    // would save nothing.
    return writePanelRow(&record->details, companyRecordName(), wayOn,
                         record->details.stored.found()
                             ? "UPDATE company_settings SET company_name = :company_name, address_line1 = :address1, "
                               "address_line2 = :address2, phone = :phone, email = :email, gst_no = :gst_no "
                               "WHERE id = 1"
                             : "INSERT INTO company_settings (id, company_name, address_line1, address_line2, phone, "
                               "email, gst_no) VALUES (1, :company_name, :address1, :address2, :phone, :email, :gst_no)",
                         {{":company_name", info.name},
                          {":address1", info.address1},
                          {":address2", info.address2},
                          {":phone", info.phone},
                          {":email", info.email},
                          {":gst_no", info.gstNo}},
                         error);
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
