#include "heavyyear.h"
#include "preparedinsert.h"

#include "core/financialyear.h"
#include "sales/salesschema.h"

#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

const std::uint32_t Seed = 20260401;

// The newest share of each year's live entries that nothing has been sent
// back against yet, one in so many entries cancelled, and one in so many
// sent-back entries whose last challan leaves part of each line behind.
const double StillPendingShare = 0.03;
const int OneInCancelled = 100;
const int OneInPartial = 8;
const int MostChallansPerEntry = 6;

const char *const SacCode = "998873";

const char *const NameWords[] = {"SRI BALAJI", "LAKSHMI", "MURUGAN", "SAKTHI", "VINAYAKA", "KAVERI",
                                 "ANNAI", "SELVAM", "RAJA", "AMBIKA", "SREE RAM", "KUMARAN",
                                 "GANESH", "VELAN", "PRIYA", "SENTHIL", "ARUNA", "DEEPAM",
                                 "JAYAM", "NATARAJ", "PONNI", "SIVA", "THIRU", "VIJAY"};
const char *const TradeWords[] = {"ENGINEERING", "PRECISION", "AUTO COMPONENTS", "FORGINGS",
                                  "CASTINGS", "TOOLS", "INDUSTRIES", "FABRICATORS",
                                  "HYDRAULICS", "MACHINE WORKS", "METALS", "PUMPS",
                                  "VALVES", "GEARS", "SPRINGS", "FASTENERS"};
const char *const FirmWords[] = {"PVT LTD", "WORKS", "& CO", "ENTERPRISES", "LLP", "INDIA PVT LTD"};
const char *const Streets[] = {"SIDCO Industrial Estate", "Avinashi Road", "Mettupalayam Road", "GST Road",
                               "Trichy Road", "Sathy Road", "Ambattur Industrial Estate", "Thudiyalur Main Road"};
struct City
{
    const char *name;
    const char *state; // GST state code
    int pin;
};
// Five local cities, then the other states' (IGST) ones.
const City Cities[] = {{"Coimbatore", "33", 641021}, {"Chennai", "33", 600058}, {"Hosur", "33", 635126},
                       {"Tiruppur", "33", 641604},   {"Salem", "33", 636005},   {"Bengaluru", "29", 560058},
                       {"Kochi", "32", 682030},      {"Pune", "27", 411018}};
const int LocalCities = 5;
const char *const Parts[] = {"FLANGE", "SHAFT", "BUSH", "GEAR BLANK", "HOUSING", "END COVER", "BRACKET",
                             "PULLEY", "SPROCKET", "VALVE BODY", "PISTON", "SLEEVE", "COUPLING", "PIN",
                             "LEVER", "HUB", "SPACER", "ROLLER", "NOZZLE", "MANIFOLD"};
const char *const Remarks[] = {"URGENT", "REWORK LOT", "SAMPLE LOT", "AGAINST REJECTION", "PART SUPPLY"};

class Random
{
public:
    // A whole number from 0 to n - 1.
    int below(int n) { return n <= 1 ? 0 : static_cast<int>(m_engine() % static_cast<std::uint32_t>(n)); }
    bool oneIn(int n) { return below(n) == 0; }
    QChar letter() { return QChar('A' + below(26)); }
    QString digits(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar('0' + below(10));
        return s;
    }

private:
    std::mt19937 m_engine{Seed};
};

struct Customer
{
    bool igst = false;
};

struct Item
{
    double rate = 0;
    double taxPercent = 0;
};

struct Entry
{
    int no = 0;
    QDate date;
    int customer = 0;
    QVector<int> items;
    QVector<double> received;
    QVector<double> left; // received less what challans and bins took
    QDate lastChallan;
    bool partial = false;
};

struct Challan
{
    const Entry *entry = nullptr;
    QDate date;
    QVector<double> qty; // per line of the entry; 0 = line not on this challan
    int no = 0;
};

using Insert = PreparedInsert;

QString stored(const QDate &date)
{
    return date.toString("yyyy-MM-dd");
}

double money(double value)
{
    return std::round(value * 100) / 100;
}

class Generator
{
public:
    explicit Generator(const DataSize &size) : m_size(size) {}

    FilledData run()
    {
        writeCustomersAndItems();
        for (const QString &fy : m_size.years)
            writeYear(fy);
        return m_filled;
    }

private:
    void writeCustomersAndItems()
    {
        Insert customer("INSERT INTO customers (customer_id, customer_name, address_line1, address_line2, "
                        "customer_type, gst_no, phone, email, vendor_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        Insert item("INSERT INTO items (item_id, customer_id, item_code, item_name, drawing_no, uom, rate_wo_tax, "
                    "tax_percent) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        m_customers.resize(m_size.customers + 1);
        m_items.resize(itemId(m_size, m_size.customers, m_size.itemsPerCustomer) + 1);
        for (int c = 1; c <= m_size.customers; ++c) {
            const int k = c - 1;
            QString name = QString("%1 %2 %3")
                               .arg(NameWords[k % countOf(NameWords)],
                                    TradeWords[k / countOf(NameWords) % countOf(TradeWords)],
                                    FirmWords[k / (countOf(NameWords) * countOf(TradeWords)) % countOf(FirmWords)]);
            const int round = k / (countOf(NameWords) * countOf(TradeWords) * countOf(FirmWords));
            if (round > 0)
                name += QString(" UNIT %1").arg(round + 1);
            const bool igst = m_random.oneIn(6);
            const City &city = Cities[igst ? LocalCities + m_random.below(countOf(Cities) - LocalCities)
                                           : m_random.below(LocalCities)];
            QString pan;
            for (int i = 0; i < 5; ++i)
                pan += m_random.letter();
            pan += m_random.digits(4) + m_random.letter();
            const QString gst = QString("%1%2%3Z%4").arg(city.state, pan).arg(1 + m_random.below(3)).arg(
                m_random.oneIn(2) ? QString(m_random.letter()) : m_random.digits(1));
            const QString email = m_random.oneIn(3)
                                      ? QString()
                                      : QString("%1.%2@gmail.com")
                                            .arg(QString(NameWords[k % countOf(NameWords)]).toLower().remove(' '))
                                            .arg(c);
            customer.run({c, name,
                          QString("%1, %2").arg(1 + m_random.below(400)).arg(Streets[m_random.below(countOf(Streets))]),
                          QString("%1 - %2").arg(city.name).arg(city.pin + m_random.below(20)),
                          igst ? "IGST Customer" : "Local Customer", gst, "9" + m_random.digits(9), email,
                          m_random.oneIn(2) ? QVariant(QString("V%1").arg(10000 + c)) : QVariant(QString())});
            m_customers[c].igst = igst;
            ++m_filled.customers;

            for (int i = 1; i <= m_size.itemsPerCustomer; ++i) {
                const int id = itemId(m_size, c, i);
                Item &it = m_items[id];
                it.rate = money(2.5 + m_random.below(2000) / 20.0);
                it.taxPercent = m_random.oneIn(10) ? 12 : 18;
                item.run({id, c, itemCode(c, i),
                          QString("%1 %2 MM, GRADE %3")
                              .arg(Parts[(k * 7 + i) % countOf(Parts)])
                              .arg(10 + 5 * m_random.below(60))
                              .arg(1 + m_random.below(7)),
                          QString("DRG-%1-%2 REV %3").arg(c).arg(i, 2, 10, QChar('0')).arg(QChar('A' + m_random.below(4))),
                          m_random.oneIn(8) ? "KGS" : "NOS", it.rate, it.taxPercent});
                ++m_filled.items;
            }
        }
    }

    void writeYear(const QString &fy)
    {
        const QDate first(2000 + fy.left(2).toInt(), 4, 1);
        const QDate last = first.addYears(1).addDays(-1);
        QVector<Entry> entries = writeInward(fy, first);
        QVector<Challan> challans = planChallans(entries, last);
        writeChallans(challans, fy);
        writeBins(entries, fy, last);
        writeInvoices(challans, fy, last);
    }

    // Entry n falls on day n of the year's spread, so numbers rise with the
    // dates; its lines are consecutive items of one customer.
    QVector<Entry> writeInward(const QString &fy, const QDate &first)
    {
        if (m_size.linesPerEntry > m_size.itemsPerCustomer)
            qFatal("an inward entry has at most one line per item of its customer");
        Insert line("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
                    "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        const int days = first.daysTo(first.addYears(1));
        const int entries = m_size.inwardEntriesPerYear;
        QVector<int> customerDcs(m_size.customers + 1, 0);
        QVector<Entry> live;
        for (int n = 1; n <= entries; ++n) {
            Entry e;
            e.no = n;
            e.date = first.addDays(static_cast<qint64>(n - 1) * days / entries);
            e.customer = 1 + m_random.below(m_size.customers);
            const bool cancelled = m_random.oneIn(OneInCancelled);
            const QString dcNo = QString("DC-%1").arg(++customerDcs[e.customer], 4, 10, QChar('0'));
            const QDate dcDate = e.date.addDays(-m_random.below(3));
            const QString remarks = m_random.oneIn(5) ? Remarks[m_random.below(countOf(Remarks))] : "";
            const int firstItem = m_random.below(m_size.itemsPerCustomer);
            for (int l = 0; l < m_size.linesPerEntry; ++l) {
                const int item = itemId(m_size, e.customer, 1 + (firstItem + l) % m_size.itemsPerCustomer);
                const double qty = (1 + m_random.below(40)) * (m_random.oneIn(10) ? 50 : 5);
                line.run({n, fullDocumentNumber(n, fy), stored(e.date), e.customer, item, dcNo, stored(dcDate),
                          QString("PO/%1/%2").arg(fy).arg(e.customer, 3, 10, QChar('0')), stored(first), qty, remarks,
                          fy, cancelled ? 1 : 0});
                e.items.append(item);
                e.received.append(qty);
                ++m_filled.inwardLines;
            }
            e.left = e.received;
            ++m_filled.inwardEntries;
            if (cancelled)
                ++m_filled.cancelledEntries;
            else
                live.append(e);
        }
        return live;
    }

    // The challans are spread evenly over the live entries but the newest
    // few; an entry's challans share out what came in, and on one entry in
    // OneInPartial the last of them sends back only half of its share.
    QVector<Challan> planChallans(QVector<Entry> &entries, const QDate &last)
    {
        const int served = entries.size() - static_cast<int>(std::lround(entries.size() * StillPendingShare));
        const qint64 wanted = served <= 0 ? 0 : std::min<qint64>(m_size.challansPerYear,
                                                                 static_cast<qint64>(served) * MostChallansPerEntry);
        QVector<Challan> challans;
        for (int i = 0; i < served; ++i) {
            Entry &e = entries[i];
            const int k = static_cast<int>((i + 1) * wanted / served - i * wanted / served);
            if (k == 0)
                continue;
            e.partial = m_random.oneIn(OneInPartial);
            for (int j = 0; j < k; ++j) {
                Challan c;
                c.entry = &e;
                c.date = std::min(e.date.addDays(1 + m_random.below(7) + 10 * j), last);
                for (int l = 0; l < e.received.size(); ++l) {
                    double share = j + 1 < k ? std::floor(e.received.at(l) / k) : e.left.at(l);
                    if (j + 1 == k && e.partial)
                        share = std::floor(share / 2);
                    c.qty.append(share);
                    e.left[l] -= share;
                }
                if (std::any_of(c.qty.cbegin(), c.qty.cend(), [](double q) { return q > 0; })) {
                    e.lastChallan = c.date;
                    challans.append(c);
                }
            }
        }
        std::stable_sort(challans.begin(), challans.end(),
                         [](const Challan &a, const Challan &b) { return a.date < b.date; });
        for (int i = 0; i < challans.size(); ++i)
            challans[i].no = i + 1;
        return challans;
    }

    void writeChallans(const QVector<Challan> &challans, const QString &fy)
    {
        Insert line("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, "
                    "customer_id, item_id, delivery_qty, sac_code, remarks, fy_name, is_deleted) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)");
        for (const Challan &c : challans) {
            for (int l = 0; l < c.qty.size(); ++l) {
                if (!(c.qty.at(l) > 0))
                    continue;
                line.run({c.no, fullDocumentNumber(c.no, fy), stored(c.date), c.entry->no, c.entry->customer,
                          c.entry->items.at(l), c.qty.at(l), SacCode, "", fy});
                ++m_filled.challanLines;
            }
            ++m_filled.challans;
        }
    }

    // What the partly sent-back entries left is closed, the oldest first.
    void writeBins(QVector<Entry> &entries, const QString &fy, const QDate &last)
    {
        Insert bin("INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
                   "VALUES (?, 'DC', ?, ?, ?, ?, ?)");
        int written = 0;
        for (Entry &e : entries) {
            if (!e.partial)
                continue;
            for (int l = 0; l < e.left.size() && written < m_size.binsPerYear; ++l) {
                if (!(e.left.at(l) > 0))
                    continue;
                bin.run({stored(std::min(e.lastChallan.addDays(30), last)), e.no, e.items.at(l), e.customer,
                         e.left.at(l), fy});
                e.left[l] = 0;
                ++written;
            }
            if (written == m_size.binsPerYear)
                break;
        }
        m_filled.bins += written;
    }

    // Invoice n bills challan n at the item's rate, CGST and SGST halves for
    // a local customer, IGST otherwise, the total rounded to whole rupees;
    // invoice dates follow the numbers.
    void writeInvoices(const QVector<Challan> &challans, const QString &fy, const QDate &last)
    {
        Insert invoice("INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, sub_total, "
                       "cgst_amount, sgst_amount, igst_amount, grand_total, remarks, fy_name, is_deleted, is_abstract, "
                       "abstract_content) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, '', ?, 0, 0, '')");
        Insert line("INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, rate, amount, "
                    "tax_percent, fy_name) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        const int invoices = std::min<int>(m_size.invoicesPerYear, challans.size());
        QDate date;
        for (int n = 1; n <= invoices; ++n) {
            const Challan &c = challans.at(n - 1);
            date = std::max(date, std::min(c.date.addDays(m_random.below(4)), last));
            double sub = 0;
            double tax = 0;
            for (int l = 0; l < c.qty.size(); ++l) {
                const Item &item = m_items.at(c.entry->items.at(l));
                const double amount = money(c.qty.at(l) * item.rate);
                sub += amount;
                tax += amount * item.taxPercent / 100;
            }
            tax = money(tax);
            const bool igst = m_customers.at(c.entry->customer).igst;
            const double half = money(tax / 2);
            invoice.run({n, fullDocumentNumber(n, fy), stored(date),
                         c.entry->customer, money(sub), igst ? 0.0 : half, igst ? 0.0 : tax - half, igst ? tax : 0.0,
                         std::round(sub + tax), fy});
            const QVariant id = invoice.lastId();
            for (int l = 0; l < c.qty.size(); ++l) {
                if (!(c.qty.at(l) > 0))
                    continue;
                const Item &item = m_items.at(c.entry->items.at(l));
                line.run({id, c.no, c.entry->items.at(l), c.qty.at(l), item.rate, money(c.qty.at(l) * item.rate),
                          item.taxPercent, fy});
                ++m_filled.invoiceLines;
            }
            ++m_filled.invoices;
        }
    }

    const DataSize m_size;
    Random m_random;
    QVector<Customer> m_customers; // by customer_id
    QVector<Item> m_items;         // by item_id
    FilledData m_filled;
};

} // namespace

DataSize heavyYear()
{
    return DataSize();
}

DataSize twoHeavyYears()
{
    DataSize size;
    size.years = QStringList{"25-26", "26-27"};
    size.linesPerEntry = 3;
    size.binsPerYear = 2500;
    return size;
}

int itemId(const DataSize &size, int customer, int index)
{
    return (customer - 1) * size.itemsPerCustomer + index;
}

QString itemCode(int customer, int index)
{
    return QString("C%1-I%2").arg(customer).arg(index);
}

FilledData fillData(const DataSize &size)
{
    QElapsedTimer timer;
    timer.start();
    createSalesTables();
    QSqlDatabase db = QSqlDatabase::database();
    if (!db.transaction())
        qFatal("cannot begin a transaction: %s", qPrintable(db.lastError().text()));
    FilledData filled = Generator(size).run();
    if (!db.commit())
        qFatal("cannot commit: %s", qPrintable(db.lastError().text()));
    filled.ms = timer.nsecsElapsed() / 1e6;
    return filled;
}

QString countText(int n)
{
    static const QLocale english(QLocale::English);
    return english.toString(n);
}

QString rowsText(int n)
{
    return countText(n) + (n == 1 ? " row" : " rows");
}

QString FilledData::summary() const
{
    QStringList parts{countText(customers) + " customers", countText(items) + " items"};
    if (inwardEntries > 0)
        parts << QString("%1 inward entries (%2 lines, %3 cancelled)")
                     .arg(countText(inwardEntries), countText(inwardLines), countText(cancelledEntries));
    if (challans > 0)
        parts << QString("%1 challans (%2 lines)").arg(countText(challans), countText(challanLines));
    if (bins > 0)
        parts << countText(bins) + " bins";
    if (invoices > 0)
        parts << QString("%1 invoices (%2 lines)").arg(countText(invoices), countText(invoiceLines));
    return parts.join(", ") + QString(", written in %1 ms").arg(ms, 0, 'f', 0);
}

int countRows(const QString &sql, const QVariantMap &values)
{
    QSqlQuery q;
    q.setForwardOnly(true);
    q.prepare(sql);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    int rows = 0;
    while (q.next())
        ++rows;
    return rows;
}

double msOf(const std::function<void()> &work, int runs)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return timer.nsecsElapsed() / 1e6 / runs;
}

double bestMsOf(const std::function<void()> &work, int runs, const std::function<void()> &prepare)
{
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (best < 0 || ms < best)
            best = ms;
    }
    return qMax(best, 0.0);
}

void printFigure(const QString &what, double ms, const QString &note)
{
    std::printf("%-62s %9.1f ms  %s\n", qPrintable(what), ms, qPrintable(note));
    std::fflush(stdout);
}

void printTimed(const QString &what, const std::function<void()> &work, const std::function<QString()> &after)
{
    const double ms = msOf(work);
    printFigure(what, ms, after());
}
