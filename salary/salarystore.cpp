#include "salarystore.h"

#include "core/boundquery.h"
#include "core/listedrow.h"
#include "core/listformat.h"
#include "core/typednumber.h"
#include "core/storedsum.h"
#include "output/htmlescape.h"

#include <QDate>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

// A listed row: the stored columns the list reads and shows, and reads
// again before it writes the row.
const RowSource ListedSalary{QStringLiteral("salary"),
                             QStringLiteral("slno"),
                             {QStringLiteral("slno"), QStringLiteral("name"), QStringLiteral("date"),
                              QStringLiteral("day_shift"), QStringLiteral("ot_details"),
                              QStringLiteral("night_details"), QStringLiteral("salary_day"),
                              QStringLiteral("tea_cash"), QStringLiteral("night_cash"), QStringLiteral("sunday_cash"),
                              QStringLiteral("incentive"), QStringLiteral("gross_total"), QStringLiteral("week_adv"),
                              QStringLiteral("extra_adv"), QStringLiteral("late_fine"), QStringLiteral("total_sal"),
                              QStringLiteral("remarks")},
                             {}};
const int SalaryColumnCount = int(ListedSalary.columns.size());
// The list's statement reads them once: what it shows is what it keeps.
const QString SelectColumns = QStringLiteral("SELECT ") + ListedSalary.columnList() + QStringLiteral(" FROM salary");

bool select(const QString &sql, const QVariantMap &values, QList<SalaryRecord> *records, QString *error)
{
    records->clear();
    const bool ok = forEachRow(
        sql, values,
        [&](const StatementRow &q) {
            SalaryRecord &r = records->emplaceBack(); // made in place: a record is large
            r.slno = q.integer(0);
            SalaryEntry &e = r.entry;
            e.name = q.text(1);
            e.date = q.text(2);
            const int columns[] = {3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14};
            for (int i = 0; i < 11; ++i)
                e.figures[i] = Decimal::fromStored(q.real(columns[i])); // NULL gives 0
            e.gross = Money::fromStored(q.real(11));
            e.total = Money::fromStored(q.real(15));
            e.remarks = q.text(16);
            r.stored = StoredRow::of(q, 0, SalaryColumnCount);
        },
        error);
    if (!ok)
        records->clear();
    return ok;
}

QVariantMap entryValues(const SalaryEntry &e)
{
    const SalaryFigures &f = e.figures;
    return {{QStringLiteral(":name"), e.name},
            {QStringLiteral(":date"), e.date},
            {QStringLiteral(":day"), f.dayShift.toDouble()},
            {QStringLiteral(":ot"), f.ot.toDouble()},
            {QStringLiteral(":night"), f.night.toDouble()},
            {QStringLiteral(":sal"), f.salaryPerDay.toDouble()},
            {QStringLiteral(":tea"), f.teaCash.toDouble()},
            {QStringLiteral(":ncash"), f.nightCash.toDouble()},
            {QStringLiteral(":sun"), f.sundayCash.toDouble()},
            {QStringLiteral(":inc"), f.incentive.toDouble()},
            {QStringLiteral(":gross"), e.gross.toDouble()},
            {QStringLiteral(":wadv"), f.weekAdvance.toDouble()},
            {QStringLiteral(":eadv"), f.extraAdvance.toDouble()},
            {QStringLiteral(":fine"), f.lateFine.toDouble()},
            {QStringLiteral(":total"), e.total.toDouble()},
            {QStringLiteral(":rem"), e.remarks}};
}

// Whether writing `values` over the row `slno` would store anything other
// than what it holds: each value compared as the file keeps it.
bool changesStoredRow(int slno, const QVariantMap &values, bool *changes, QString *error)
{
    static const char *const Compared[][2] = {
        {"name", ":name"},         {"date", ":date"},         {"day_shift", ":day"},    {"ot_details", ":ot"},
        {"night_details", ":night"}, {"salary_day", ":sal"},  {"tea_cash", ":tea"},     {"night_cash", ":ncash"},
        {"sunday_cash", ":sun"},   {"incentive", ":inc"},     {"gross_total", ":gross"}, {"week_adv", ":wadv"},
        {"extra_adv", ":eadv"},    {"late_fine", ":fine"},    {"total_sal", ":total"},  {"remarks", ":rem"}};
    QStringList same;
    for (const auto &c : Compared)
        same << QLatin1String(c[0]) + QStringLiteral(" IS ") + QLatin1String(c[1]);
    QVariantMap bound = values;
    bound.insert(QStringLiteral(":id"), slno);
    QSqlQuery q;
    if (!execBound(q, QStringLiteral("SELECT COUNT(*) FROM salary WHERE slno = :id AND ") + same.join(" AND "),
                   bound, error))
        return false;
    *changes = !(q.next() && q.value(0).toInt() == 1);
    return true;
}

QDate parseDate(const QString &text, const QString &format)
{
    return text.size() == 10 ? QDate::fromString(text, format) : QDate();
}

} // namespace

namespace {

// The eleven figures in the order of the entry row and the list.
constexpr Decimal SalaryFigures::*FigureMembers[11] = {
    &SalaryFigures::dayShift,   &SalaryFigures::ot,          &SalaryFigures::night,
    &SalaryFigures::salaryPerDay, &SalaryFigures::teaCash,   &SalaryFigures::nightCash,
    &SalaryFigures::sundayCash, &SalaryFigures::incentive,   &SalaryFigures::weekAdvance,
    &SalaryFigures::extraAdvance, &SalaryFigures::lateFine};

// Their names in the refusals, and their kinds: shifts are counted as
// quantities, the rest is money.
const char *const FigureNames[11] = {"Day Shift",   "OT",        "Night",    "Salary/Day", "Tea Cash", "Night Cash",
                                     "Sunday Cash", "Incentive", "Week Adv", "Extra Adv",  "Late Fine"};
FigureKind figureKind(int field)
{
    return field < 3 ? FigureKind::Quantity : FigureKind::Money;
}

} // namespace

Decimal &SalaryFigures::operator[](int field)
{
    return this->*FigureMembers[field];
}

const Decimal &SalaryFigures::operator[](int field) const
{
    return this->*FigureMembers[field];
}

SalaryFigures SalaryFigures::fromTexts(const QStringList &texts)
{
    SalaryFigures f;
    for (int i = 0; i < 11; ++i)
        f[i] = salaryTypedFigure(texts.value(i), i);
    return f;
}

Decimal salaryTypedFigure(const QString &text, int field)
{
    // A number beyond its bound is kept as a figure that does not fit, which
    // the refusal names; a text that is no number counts as 0.
    if (typedNumberTooLarge(text, figureKind(field)))
        return Decimal::fromUnits(0, -1);
    return Decimal::fromText(text).value_or(Decimal());
}

Decimal salaryListFigure(const QString &text, const Decimal &shown, const Decimal &stored, int field)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty()) {
        if (shown.toMoney().text() == trimmed)
            return shown;
        if (stored.toMoney().text() == trimmed)
            return stored;
    }
    return salaryTypedFigure(trimmed, field);
}

Decimal grossSalary(const SalaryFigures &f)
{
    return (f.dayShift + f.ot + f.night) * f.salaryPerDay + f.teaCash + f.nightCash + f.sundayCash + f.incentive;
}

Decimal netSalary(const SalaryFigures &f)
{
    return grossSalary(f) - f.weekAdvance - f.extraAdvance - f.lateFine;
}

QString salaryFiguresRefusal(const SalaryFigures &f)
{
    const auto refusal = [](const char *field, FigureKind kind) {
        return figureTooLargeText(QLatin1String(field), kind);
    };
    // The first field beyond its bound, then the first sum that passes it:
    // the shifts, the gross, the net.
    for (int i = 0; i < 11; ++i) {
        if (!withinBound(f[i], figureKind(i)))
            return refusal(FigureNames[i], figureKind(i));
    }
    const Decimal partShifts = f.dayShift + f.ot;
    const Decimal shifts = partShifts + f.night;
    if (!withinBound(partShifts, FigureKind::Quantity) || !withinBound(shifts, FigureKind::Quantity))
        return refusal("Day Shift + OT + Night", FigureKind::Quantity);
    const auto fits = [](const Decimal &sum) { return withinBound(sum, FigureKind::Money); };
    Decimal sum = shifts * f.salaryPerDay;
    bool grossFits = fits(sum);
    for (const Decimal &part : {f.teaCash, f.nightCash, f.sundayCash, f.incentive}) {
        sum = sum + part;
        grossFits = grossFits && fits(sum);
    }
    if (!grossFits)
        return refusal("Gross Total", FigureKind::Money);
    for (const Decimal &part : {f.weekAdvance, f.extraAdvance, f.lateFine}) {
        sum = sum - part;
        if (!fits(sum))
            return refusal("Total Sal", FigureKind::Money);
    }
    return QString();
}

void createSalaryTable()
{
    QSqlQuery q;
    q.exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS salary (slno INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, date TEXT, "
        "day_shift FLOAT, ot_details FLOAT, night_details FLOAT, salary_day FLOAT, tea_cash FLOAT, "
        "night_cash REAL, sunday_cash REAL, week_adv FLOAT, extra_adv FLOAT, late_fine FLOAT,total_sal REAL, "
        "remarks TEXT)"));
    q.exec(QStringLiteral("ALTER TABLE salary ADD COLUMN incentive REAL DEFAULT 0"));
    q.exec(QStringLiteral("ALTER TABLE salary ADD COLUMN gross_total REAL DEFAULT 0"));
}

bool addSalary(const SalaryEntry &entry, QString *error)
{
    QSqlQuery q;
    return execBound(q,
                     QStringLiteral("INSERT INTO salary (name, date, day_shift, ot_details, night_details, "
                                    "salary_day, tea_cash, night_cash, sunday_cash, incentive, gross_total, "
                                    "week_adv, extra_adv, late_fine, total_sal, remarks) VALUES (:name, :date, "
                                    ":day, :ot, :night, :sal, :tea, :ncash, :sun, :inc, :gross, :wadv, :eadv, "
                                    ":fine, :total, :rem)"),
                     entryValues(entry), error);
}

namespace {

// Whether `entry` holds what the list read of its row, as the list read it
// (a stored figure of more decimals than the list shows, or a NULL, as what
// the list made of it).
bool sameAsListed(const SalaryEntry &entry, const SalaryEntry &listed)
{
    if (entry.name != listed.name || entry.date != listed.date || entry.remarks != listed.remarks
        || entry.gross != listed.gross || entry.total != listed.total)
        return false;
    for (int i = 0; i < 11; ++i) {
        if (entry.figures[i] != listed.figures[i])
            return false;
    }
    return true;
}

} // namespace

QString salaryRowName(const QString &name, const QString &listDate)
{
    return shortRowName(name.trimmed()) + QStringLiteral(" (") + listDate + QLatin1Char(')');
}

bool updateListedSalary(SalaryRecord *listed, const SalaryEntry &entry, QString *error)
{
    // A row that would be written as the list read it is left as it is now
    // stored, unread.
    if (sameAsListed(entry, listed->entry))
        return true;
    QVariantMap values = entryValues(entry);
    bool changes = true;
    if (!changesStoredRow(listed->slno, values, &changes, error))
        return false;
    if (!changes)
        return true;
    LoadedRow row(ListedSalary, listed->slno, listed->stored,
                  QStringLiteral("The salary entry of ") + salaryRowName(entry.name, salaryDateText(entry.date)));
    // The edits stay in the list; the way on is the window's own buttons.
    row.changedWayOn = QStringLiteral("Your changes stay in the list: press Edit Cancel, then Show to list the "
                                      "entries as they are now, and edit them again.");
    row.goneWayOn = row.changedWayOn;
    values.insert(QStringLiteral(":id"), listed->slno);
    const RowWrite outcome = writeLoadedRows(
        {row}, {{QStringLiteral("UPDATE salary SET name = :name, date = :date, day_shift = :day, "
                                "ot_details = :ot, night_details = :night, salary_day = :sal, tea_cash = :tea, "
                                "night_cash = :ncash, sunday_cash = :sun, incentive = :inc, gross_total = :gross, "
                                "week_adv = :wadv, extra_adv = :eadv, late_fine = :fine, total_sal = :total, "
                                "remarks = :rem WHERE slno = :id"),
                 values}});
    if (!outcome.ok(error))
        return false;
    listed->entry = entry;
    listed->stored = outcome.written;
    return true;
}

QString allSalariesStatement()
{
    return SelectColumns + QStringLiteral(" ORDER BY date DESC, name ASC");
}

QString monthSalariesStatement()
{
    return SelectColumns + QStringLiteral(" WHERE date LIKE :month ORDER BY name ASC");
}

bool allSalaries(QList<SalaryRecord> *records, QString *error)
{
    return select(allSalariesStatement(), {}, records, error);
}

bool salariesOfMonth(int year, int month, QList<SalaryRecord> *records, QString *error)
{
    return select(monthSalariesStatement(), {{QStringLiteral(":month"), salaryMonthPattern(year, month)}}, records,
                  error);
}

QString salaryMonthPattern(int year, int month)
{
    return QStringLiteral("%1-%2%").arg(year).arg(month, 2, 10, QLatin1Char('0'));
}

QStringList salaryEmployeeNames(const QList<SalaryRecord> &records)
{
    QSet<QString> seen;
    QList<QByteArray> stored;
    for (const SalaryRecord &record : records) {
        const QString &name = record.entry.name;
        if (!seen.contains(name)) {
            seen.insert(name);
            stored << name.toUtf8();
        }
    }
    std::sort(stored.begin(), stored.end()); // SQLite's BINARY order
    QStringList names;
    for (const QByteArray &bytes : std::as_const(stored)) {
        const QString name = QString::fromUtf8(bytes).trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QString salaryDateText(const QString &text)
{
    // A valid "dd-MM-yyyy" date is written back unchanged, so only the
    // year-first form needs converting.
    return storedDateText(text);
}

QString salaryStoredDate(const QString &listText)
{
    const QDate date = parseDate(listText, QStringLiteral("dd-MM-yyyy"));
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : listText;
}

QStringList salaryListTexts(const SalaryRecord &record)
{
    const SalaryEntry &e = record.entry;
    const SalaryFigures &f = e.figures;
    QStringList texts;
    texts.reserve(16);
    texts << e.name << salaryDateText(e.date);
    for (int i = 0; i < 8; ++i)
        texts << f[i].toMoney().text();
    texts << e.gross.text();
    for (int i = 8; i < 11; ++i)
        texts << f[i].toMoney().text();
    texts << e.total.text() << e.remarks;
    return texts;
}

bool salaryListRowEdited(const QStringList &texts, const SalaryFigures &figures, const SalaryRecord &listed)
{
    const QStringList shown = salaryListTexts(listed);
    for (int i = 0; i < shown.size(); ++i) {
        if (shown.at(i).trimmed() != texts.value(i))
            return true;
    }
    for (int i = 0; i < 11; ++i) {
        if (figures[i] != listed.entry.figures[i])
            return true;
    }
    return false;
}

SalaryEntry salaryEntryOfListRow(const QStringList &texts, const SalaryFigures &figures)
{
    SalaryEntry entry;
    entry.name = texts.value(0);
    entry.date = salaryStoredDate(texts.value(1));
    entry.figures = figures;
    entry.gross = Decimal::fromText(texts.value(10)).value_or(Decimal()).toMoney();
    entry.total = Decimal::fromText(texts.value(14)).value_or(Decimal()).toMoney();
    entry.remarks = texts.value(15);
    return entry;
}

QString salaryListRowRefusal(const QStringList &texts, const SalaryFigures &figures)
{
    QString refusal = salaryFiguresRefusal(figures);
    if (refusal.isEmpty())
        refusal = typedFigureTooLarge(QStringLiteral("Gross Total"), texts.value(10), FigureKind::Money);
    if (refusal.isEmpty())
        refusal = typedFigureTooLarge(QStringLiteral("Total Sal"), texts.value(14), FigureKind::Money);
    return refusal.isEmpty() ? QString() : salaryRowName(texts.value(0), texts.value(1)) + QStringLiteral(": ") + refusal;
}


CsvExportProfile salaryStatementProfile(const QString &monthName, int year, const QList<QStringList> &listRows)
{
    CsvExportProfile p;
    p.caption = QStringLiteral("Export Salary Report to Excel");
    p.defaultName = QStringLiteral("Salary_Report_") + monthName + QLatin1Char(' ') + QString::number(year)
                    + QStringLiteral(".csv");
    p.filter = QStringLiteral("Excel CSV Files (*.csv)");
    p.titleLines = {csvJoined({QStringLiteral("Salary Statement Report - Morvel Coats")}),
                    csvJoined({QStringLiteral("Month Filter Range:"), monthName, QStringLiteral(" "),
                             QString::number(year)}),
                    QString()};
    p.header = csvJoined({QStringLiteral("Employee Name"), QStringLiteral("Date"), QStringLiteral("Day Shift"),
                        QStringLiteral("OT Details"), QStringLiteral("Night Details"), QStringLiteral("Salary/Day"),
                        QStringLiteral("Tea Cash (+)"), QStringLiteral("Night Cash (+)"),
                        QStringLiteral("Sunday Cash (+)"), QStringLiteral("Incentive (+)"),
                        QStringLiteral(" Gross Total"), QStringLiteral(" Weekly Advance (-)"),
                        QStringLiteral("Extra Advance (-)"), QStringLiteral("Late Fine (-)"),
                        QStringLiteral("Total Salary"), QStringLiteral("Remarks")});
    p.alwaysQuoted = {0, 15};

    // Sums of every figure column but the day rate (fields 3 to 5 and 7 to
    // 15), exact however many rows there are, rounded once in their
    // two-decimal text; under the name, the date, the day rate and the
    // remarks the total line is empty.
    QStringList total{QStringLiteral("Grand Total:"), QString()};
    static const char *const TotalledNames[13] = {"Day Shift",  "OT",          "Night",     nullptr, "Tea Cash",
                                                  "Night Cash", "Sunday Cash", "Incentive", "Gross Total",
                                                  "Week Adv",   "Extra Adv",   "Late Fine", "Total Sal"};
    for (int field = 2; field <= 14; ++field) {
        StoredTotal sum;
        for (const QStringList &row : listRows) {
            if (const std::optional<StoredTotal> figure = listedFigure(row.value(field)))
                sum += *figure;
        }
        total << (field == 5 ? QString() : sum.text());
        if (field != 5) {
            p.totalsFormed = p.totalsFormed && sum.isValid();
            p.figureColumns.insert(field, QLatin1String(TotalledNames[field - 2]));
        }
    }
    p.rowName = [](const QStringList &row) { return salaryRowName(row.value(0), row.value(1)); };
    total << QString();
    p.totalLines = {QString(), csvJoined(total)};

    p.emptyMessage = CsvMessage{QMessageBox::Information, QStringLiteral("No Data"),
                                QStringLiteral("No data available \u2014 click Show first!"), false};
    p.failureMessage = CsvMessage{QMessageBox::Critical, QStringLiteral("Error"),
                                  QStringLiteral("Could not create or write to file!"), false};
    p.successMessage = CsvMessage{QMessageBox::Information, QStringLiteral("Success"),
                                  QStringLiteral("Salary statements exported successfully to:\n"), true};
    return p;
}

QList<QStringList> salaryStatementRows(const QList<QStringList> &listRows)
{
    QList<QStringList> rows = listRows;
    for (QStringList &row : rows) {
        if (row.size() > 1)
            row[1] = salaryDateText(row.at(1));
    }
    return rows;
}

QString salarySlipHtml(const CompanyInfo &company, const SalarySlipValues &values, const QString &leftLogoCell,
                       const QString &rightLogoCell)
{
    const QString companyName = htmlEscaped(company.name.toUpper());
    QString h;
    h += QStringLiteral(
        "<!DOCTYPE html><html><head><style>"
        "body { font-family: 'Times New Roman', serif; font-size: 28px; margin: 0; padding: 0; color: #000; "
        "text-align: center; }"
        ".page-container { width: 96%; margin: 0 auto; text-align: left; }"
        "table { width: 100%; border-collapse: collapse; margin: 0 auto; }"
        "th, td { padding: 18px 16px; text-align: left; }"
        ".details-table { width: 100%; margin: 30px auto 0 auto; border: 1px solid #000; }"
        ".details-table th { background-color: #f0f0f0; border: 1px solid #000; font-size: 30px; "
        "font-weight: bold; padding: 20px 16px; text-align: center; }"
        ".details-table td { border: 1px solid #000; font-size: 28px; }"
        "</style></head><body><div class='page-container'>");

    // Header: logos either side of the company block, then the title row.
    h += QStringLiteral("<table style='border: 1px solid #000; width: 100%; border-collapse: collapse; "
                        "margin: 0 auto;'><tr>"
                        "<td width='18%' align='center' valign='middle' style='padding:8px; "
                        "border-right: 1px solid #000; text-align:center;'>")
         + leftLogoCell
         + QStringLiteral("</td><td width='64%' align='center' valign='middle' style='padding:8px; "
                          "line-height: 1.3; text-align:center;'>"
                          "<span style='font-size: 66px; font-weight: bold;'>")
         + companyName + QStringLiteral("</span><br/><span style='font-size: 30px;'>")
         + htmlEscaped(company.address1) + QStringLiteral(", ") + htmlEscaped(company.address2)
         + QStringLiteral("</span><br/><span style='font-size: 30px;'>Phone : ") + htmlEscaped(company.phone)
         + QStringLiteral(" &nbsp;&nbsp; e-mail : ") + htmlEscaped(company.email)
         + QStringLiteral("</span><br/><span style='font-size: 30px; font-weight: bold;'>GSTIN: ")
         + htmlEscaped(company.gstNo)
         + QStringLiteral("</span></td><td width='18%' align='center' valign='middle' style='padding:8px; "
                          "border-left: 1px solid #000; text-align:center;'>")
         + rightLogoCell
         + QStringLiteral("</td></tr><tr><td colspan='3' align='center' style='padding:14px; "
                          "border-top: 1px solid #000; background-color: #f0f0f0; text-align:center;'>"
                          "<span style='font-size: 40px; font-weight: bold;'>SALARY SLIP</span></td></tr></table>");

    // Employee and date.
    h += QStringLiteral("<table style='margin: 25px auto 0 auto; width: 100%; border: 1px solid #000; "
                        "background-color: #fafafa;'><tr>"
                        "<td width='22%' style='font-size: 40px; padding: 18px 16px;'><b>Employee Name :</b></td>"
                        "<td width='43%' style='font-size: 40px; font-weight: bold; padding: 18px 16px;'>")
         + values.name
         + QStringLiteral("</td><td width='12%' align='right' style='font-size: 40px; padding: 18px 16px; "
                          "text-align:right;'><b>Date :</b></td>"
                          "<td width='23%' style='font-size: 40px; font-weight: bold; padding: 18px 16px; "
                          "text-align:center;'>")
         + salaryDateText(values.date) + QStringLiteral("</td></tr></table>");

    // Details: label, value, "Rs. " before money, the row's padding and colour.
    struct Detail
    {
        const char *label;
        bool money;
        const char *padding;
        const char *colour;
    };
    static const Detail details[13] = {
        {"Day Shift Attendance Count", false, "36px 18px", nullptr},
        {"Overtime (OT) Hours/Details", false, "26px 18px", nullptr},
        {"Night Shift Attendance Count", false, "26px 18px", nullptr},
        {"Salary Rs. per Shift", true, "26px 18px", nullptr},
        {"Tea Cash (+)", true, "26px 18px", nullptr},
        {"Night Shift Cash (+)", true, "26px 18px", nullptr},
        {"Sunday Working Cash (+)", true, "26px 18px", nullptr},
        {"Incentive (+)", true, "26px 18px", nullptr},
        {"Gross Total", true, "28px 18px", "#006600"},
        {"Weekly Advance Deductions (-)", true, "26px 18px", "#cc0000"},
        {"Extra Advance Deductions (-)", true, "26px 18px", "#cc0000"},
        {"General Deductions (-)", true, "26px 18px", "#cc0000"},
        {"NET PAYABLE SALARY AMOUNT", true, "30px 18px", "#006600"},
    };
    h += QStringLiteral("<table class='details-table'><thead><tr>"
                        "<th style='text-align:center; font-size: 40px;'>Salary Description Parameter</th>"
                        "<th style='text-align:center; width:35%; font-size: 40px;'>Value / Details</th>"
                        "</tr></thead><tbody>");
    for (int i = 0; i < 13; ++i) {
        const Detail &d = details[i];
        const QString padding = QLatin1String(d.padding);
        const QString value = (d.money ? QStringLiteral("Rs. ") : QString()) + values.figures.value(i);
        const bool net = i == 12;
        h += net ? QStringLiteral("<tr style='background-color:#eaf4ff; font-weight:bold;'>") : QStringLiteral("<tr>");
        h += QStringLiteral("<td style='font-size: 40px; padding: ") + padding
             + QStringLiteral("; font-weight: bold;'>") + QLatin1String(d.label) + QStringLiteral("</td>");
        if (net) {
            h += QStringLiteral("<td style='font-size: 50px; padding: 30px 18px; text-align:right; color:#006600; "
                                "font-weight: bold;'>");
        } else {
            h += QStringLiteral("<td style='font-size: 40px; padding: ") + padding
                 + QStringLiteral("; text-align:right; ")
                 + (d.colour ? QStringLiteral("color:") + QLatin1String(d.colour) + QStringLiteral("; ") : QString())
                 + QStringLiteral("font-weight: bold;'>");
        }
        h += value + QStringLiteral("</td></tr>");
    }
    h += QStringLiteral("<tr><td style='font-size: 40px; padding: 24px 18px; font-weight: bold;'>Remarks / Notes</td>"
                        "<td style='font-size: 40px; padding: 24px 18px; text-align:left; font-style:italic; "
                        "font-weight: bold;'>")
         + values.remarks + QStringLiteral("</td></tr></tbody></table>");

    // Signatures and footer.
    const QString line = QString(27, QLatin1Char('_'));
    h += QStringLiteral("<table style='width: 100%; margin: 150px auto 0 auto;'><tr>"
                        "<td width='50%' align='center' style='font-size: 28px; text-align: center;'>")
         + line + QStringLiteral("<br/><b>Employee Signature</b></td>"
                                 "<td width='50%' align='center' style='font-size: 28px; text-align: center;'>")
         + line + QStringLiteral("<br/><b>Authorised Signatory</b><br/><b>For ") + companyName
         + QStringLiteral("</b></td></tr></table>");
    h += QStringLiteral("<table style='width: 100%; margin: 80px auto 0 auto; border-top: 1px solid #ccc;'><tr>"
                        "<td align='center' style='font-size: 22px; color: #666; padding-top: 15px; "
                        "text-align: center;'>Generated by <b>Kestrova</b> Management Software</td></tr></table>");
    h += QStringLiteral("</div></body></html>");
    return h;
}
