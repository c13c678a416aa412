#pragma once
// What a material request says to its supplier: the WhatsApp text, the
// printed purchase order, and the printed list of request lines. Plain text
// and HTML built from values; every value is HTML-escaped in the documents
// (the list's cells by the list form, as it reads them).

#include "core/companyinfo.h"

#include <QList>
#include <QString>
#include <QStringList>

// One ticked line as the request form shows it.
struct RequestDocumentLine
{
    QString category;
    QString itemName;
    QString qtyText; // as typed
    QString uom;
};

// "Dear <supplier>,\n\nPlease supply the following items:\n\n1) <item> - <qty>
// <unit>\n...\nThank you.\n<company>".
QString materialRequestMessage(const QString &supplier, const QList<RequestDocumentLine> &lines,
                               const QString &companyName);

// The company block shared by both documents: left logo, name in upper case,
// address, phone, e-mail, GSTIN, right logo, then the title row.
QString requestDocumentHeader(const CompanyInfo &company, const QString &leftLogoCell,
                              const QString &rightLogoCell, const QString &title);

// The one-page purchase order to `supplier`, dated `dateText` ("dd/MM/yyyy").
QString purchaseOrderHtml(const CompanyInfo &company, const QString &leftLogoCell, const QString &rightLogoCell,
                          const QString &supplier, const QString &dateText, const QList<RequestDocumentLine> &lines);

// The request list document of the given rows, each the eight list texts
// (number, date, supplier, item, category, quantity, unit, status) already
// HTML-escaped.
QString requestListHtml(const CompanyInfo &company, const QString &leftLogoCell, const QString &rightLogoCell,
                        const QList<QStringList> &rows);
