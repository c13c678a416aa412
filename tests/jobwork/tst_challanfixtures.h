#pragma once
// Rows for the delivery challan tests, written straight into the sales tables,
// and a stand-in for wkhtmltoimage that keeps the HTML it was given.

#include "app/companydb.h"
#include "app/pagerenderer.h"
#include "sales/salesschema.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtTest>

namespace fixture {

inline void exec(QSqlQuery &q)
{
    if (!q.exec())
        qFatal("fixture statement failed: %s: %s", qPrintable(q.lastQuery()), qPrintable(q.lastError().text()));
}

inline void exec(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql))
        qFatal("fixture statement failed: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

inline void createTables()
{
    CompanyDb::createCoreSchema();
    createSalesTables();
}

inline int addCustomer(const QString &name, const QString &address1 = QString(), const QString &address2 = QString(),
                       const QString &gst = QString(), const QString &phone = QString())
{
    QSqlQuery q;
    q.prepare("INSERT INTO customers (customer_name, address_line1, address_line2, customer_type, gst_no, phone) "
              "VALUES (:n, :a1, :a2, 'Local Customer', :g, :p)");
    q.bindValue(":n", name);
    q.bindValue(":a1", address1);
    q.bindValue(":a2", address2);
    q.bindValue(":g", gst);
    q.bindValue(":p", phone);
    exec(q);
    return q.lastInsertId().toInt();
}

inline int addItem(int customerId, const QString &code, const QString &name, const QString &uom = "NOS")
{
    QSqlQuery q;
    q.prepare("INSERT INTO items (customer_id, item_code, item_name, uom, rate_wo_tax, tax_percent) "
              "VALUES (:c, :code, :name, :uom, 10, 18)");
    q.bindValue(":c", customerId);
    q.bindValue(":code", code);
    q.bindValue(":name", name);
    q.bindValue(":uom", uom);
    exec(q);
    return q.lastInsertId().toInt();
}

struct Inward
{
    Inward(int no, const QString &fy, int customerId, int itemId, double qty, const QString &dcNo = "CDC-1",
           const QString &dcDate = "2026-05-01", const QString &poNo = "PO-1", const QString &remarks = QString(),
           const QString &inwardDate = "2026-05-02")
        : no(no), fy(fy), customerId(customerId), itemId(itemId), qty(qty), dcNo(dcNo), dcDate(dcDate), poNo(poNo),
          remarks(remarks), inwardDate(inwardDate)
    {
    }
    int no;
    QString fy;
    int customerId;
    int itemId;
    double qty;
    QString dcNo;
    QString dcDate;
    QString poNo;
    QString remarks;
    QString inwardDate;
    int isDeleted = 0;
};

inline void addInward(const Inward &in)
{
    QSqlQuery q;
    q.prepare("INSERT INTO inward_entries (inward_no, inward_no_full, inward_date, customer_id, item_id, dc_no, "
              "dc_date, po_no, po_date, inward_qty, remarks, fy_name, is_deleted) VALUES (:no, :full, :date, :c, :i, "
              ":dc, :dcd, :po, :pod, :q, :r, :fy, :del)");
    q.bindValue(":no", in.no);
    q.bindValue(":full", QString("%1/%2").arg(in.no).arg(in.fy));
    q.bindValue(":date", in.inwardDate);
    q.bindValue(":c", in.customerId);
    q.bindValue(":i", in.itemId);
    q.bindValue(":dc", in.dcNo);
    q.bindValue(":dcd", in.dcDate);
    q.bindValue(":po", in.poNo);
    q.bindValue(":pod", in.dcDate);
    q.bindValue(":q", in.qty);
    q.bindValue(":r", in.remarks);
    q.bindValue(":fy", in.fy);
    q.bindValue(":del", in.isDeleted);
    exec(q);
}

// A challan line as an older database may hold it: the full number as typed.
inline void addDelivery(int no, const QString &fy, int inwardNo, int customerId, int itemId, double qty,
                        const QString &full = QString(), const QString &date = "2026-06-01",
                        const QString &remarks = QString())
{
    QSqlQuery q;
    q.prepare("INSERT INTO delivery_entries (delivery_no, delivery_no_full, delivery_date, inward_no, customer_id, "
              "item_id, delivery_qty, sac_code, remarks, fy_name, is_deleted) VALUES (:no, :full, :date, :in, :c, :i, "
              ":q, '998873', :r, :fy, 0)");
    q.bindValue(":no", no);
    q.bindValue(":full", full.isNull() ? QString("%1/%2").arg(no).arg(fy) : full);
    q.bindValue(":date", date);
    q.bindValue(":in", inwardNo);
    q.bindValue(":c", customerId);
    q.bindValue(":i", itemId);
    q.bindValue(":q", qty);
    q.bindValue(":r", remarks);
    q.bindValue(":fy", fy);
    exec(q);
}

inline void addBin(int inwardNo, const QString &fy, int itemId, double qty, const QString &type = "DC")
{
    QSqlQuery q;
    q.prepare("INSERT INTO bins (bin_date, bin_type, inward_no, item_id, customer_id, binned_qty, fy_name) "
              "VALUES ('2026-07-01', :t, :in, :i, 1, :q, :fy)");
    q.bindValue(":t", type);
    q.bindValue(":in", inwardNo);
    q.bindValue(":i", itemId);
    q.bindValue(":q", qty);
    q.bindValue(":fy", fy);
    exec(q);
}

// An invoice billing one line of a challan.
inline void addInvoice(int invoiceNo, const QString &fy, int deliveryNo, int itemId, int isDeleted)
{
    QSqlQuery q;
    q.prepare("INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, grand_total, fy_name, "
              "is_deleted) VALUES (:no, :full, '2026-07-01', 1, 100, :fy, :del)");
    q.bindValue(":no", invoiceNo);
    q.bindValue(":full", QString("%1/%2").arg(invoiceNo).arg(fy));
    q.bindValue(":fy", fy);
    q.bindValue(":del", isDeleted);
    exec(q);
    const int invoiceId = q.lastInsertId().toInt();
    QSqlQuery line;
    line.prepare("INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, rate, amount, "
                 "tax_percent, fy_name) VALUES (:id, :dn, :i, 1, 10, 10, 18, :fy)");
    line.bindValue(":id", invoiceId);
    line.bindValue(":dn", deliveryNo);
    line.bindValue(":i", itemId);
    line.bindValue(":fy", fy);
    exec(line);
}

inline int count(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql) || !q.next())
        qFatal("count failed: %s", qPrintable(sql));
    return q.value(0).toInt();
}

inline QVariant value(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

// A wkhtmltoimage in the application folder that copies each HTML file it is
// given to printed_N.html and answers with a small white picture.
inline void installStandInTool(const QString &appFolder)
{
    QImage image(QSize(248, 351), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.save(appFolder + "/source.png");
    const QString script = "#!/bin/sh\n"
                           "dir=\"$(dirname \"$0\")\"\n"
                           "if [ \"$1\" = \"--version\" ]; then echo 'wkhtmltoimage 0.12.6'; exit 0; fi\n"
                           "html=\"\"; img=\"\"\n"
                           "for a in \"$@\"; do html=\"$img\"; img=\"$a\"; done\n"
                           "n=$(ls \"$dir\" | grep -c '^printed_')\n"
                           "cp \"$html\" \"$dir/printed_$((n + 1)).html\"\n"
                           "cp \"$dir/source.png\" \"$img\"\n";
    QFile file(appFolder + "/" + RenderPlatform::toolFileName());
    file.open(QIODevice::WriteOnly);
    file.write(script.toUtf8());
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// The HTML the stand-in tool was given, in the order it was given.
inline QStringList printedHtml(const QString &appFolder)
{
    QStringList pages;
    for (int n = 1;; ++n) {
        QFile file(QString("%1/printed_%2.html").arg(appFolder).arg(n));
        if (!file.open(QIODevice::ReadOnly))
            return pages;
        pages << QString::fromUtf8(file.readAll());
    }
}

} // namespace fixture
