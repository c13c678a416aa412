#pragma once
// The printed GST tax invoice: one HTML document per A4 page, each with the
// company header, the customer block, up to 22 item rows, the tax rows of the
// page, the totals, the amount in words and the bank details. Reading the
// saved invoice, cutting it into pages and writing a page's HTML are separate
// steps, each a plain function.

#include "core/companyinfo.h"
#include "core/money.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Item rows a printed page holds.
constexpr int InvoiceLinesPerPage = 22;

// Logo widths on the printed invoice, in pixels of the page.
constexpr int InvoiceLeftLogoWidth = 100;
constexpr int InvoiceRightLogoWidth = 140;

// One stored invoice line with what its challan adds.
struct InvoicePrintLine
{
    QString dcNoFull = QStringLiteral("-"); // the challan's full number; "-" when it is not found
    QString dcDate = QStringLiteral("-");   // the challan's date as "dd/MM/yy"; "-" when it is not found
    QString itemCode;
    QString itemName;
    QString sacCode;
    QString uom;
    double qty = 0;
    double rate = 0;
    Money amount;
    double taxPercent = 0;
};

// Taxable amount per tax percent, in ascending order of the percent.
using TaxableByRate = QMap<double, Money>;

// The values of one printed page. Every text is plain text but the four
// marked HTML.
struct InvoicePage
{
    QString invoiceNoFull;
    QString invoiceDate; // "dd/MM/yyyy"
    QString pageLabel;   // the copy label and "(Page x of y)"
    QString customerName;
    QString customerAddress1;
    QString customerAddress2;
    QString customerGstNo;
    QString vendorId; // "-" when blank
    QString poNo;     // "-" when blank
    QString customerPhone;
    QString customerEmail;
    QString customerType;
    Money totalAmount;
    Money grandTotal;
    Money roundOff;
    QString amountInWords;
    QString bankDetails;   // HTML: escaped, line breaks as "<br>"
    QString leftLogoHtml;  // HTML
    QString rightLogoHtml; // HTML
    CompanyInfo company;
    QString itemRowsHtml; // HTML: the page's item rows and fillers
    TaxableByRate taxableByRate;
};

// A saved invoice as the printout reads it.
struct InvoicePrintData
{
    QString invoiceNoFull;
    QString invoiceDate; // "dd/MM/yyyy"; empty when the stored date does not read
    QString customerName;
    QString customerAddress1;
    QString customerAddress2;
    QString customerGstNo;
    QString vendorId;
    QString poNo;
    QString customerPhone;
    QString customerEmail;
    QString customerType;
    Money subTotal;
    Money cgst;
    Money sgst;
    Money igst;
    bool isAbstract = false;
    QString abstractContent;
    QList<InvoicePrintLine> lines;   // ordered by challan number, then item code
    TaxableByRate abstractTaxable;   // abstract invoices: the taxable amounts of all their lines
    QString bankDetails;             // as stored
    CompanyInfo company;
};

// Reads invoice `invoiceNo` of year `fyName` with its lines (each matched to
// its challan line by number, item and year), the company record and the bank
// details. False when there is no such invoice or it cannot be read.
bool readInvoiceForPrint(int invoiceNo, const QString &fyName, InvoicePrintData *data);

// The pages of a read invoice: 22 lines a page with fillers, per-page sums and
// tax rows (the GST heads of the page's lines), the whole invoice's rounded
// total on the last page: its stored taxable and heads added up and rounded
// once to whole rupees, with the round-off that takes them there. One page
// for an abstract invoice and for one without lines.
QList<InvoicePage> invoicePages(const InvoicePrintData &invoice, const QString &copyLabel,
                                const QString &leftLogoHtml, const QString &rightLogoHtml);

// The item rows of some lines followed by fillers up to a full page.
QString invoiceItemRowsHtml(const QList<InvoicePrintLine> &lines);

// The page documents of a saved invoice, in page order; empty when there is
// no invoice of that number in that year.
QStringList buildInvoicePages(int invoiceNo, const QString &copyLabel, const QString &fyName);

// One page as a complete HTML document.
QString buildInvoicePageHtml(const InvoicePage &page);

// "<img src='file:...' width='n'/>" for side + "_logo.png" in the application
// folder, or "&nbsp;" when there is no such file.
QString logoHtml(const QString &side, int width);

// The first page of buildInvoicePages; empty when there is none.
QString generateInvoiceHtml(int invoiceNo, const QString &copyLabel, const QString &fyName);
