#pragma once
// The printed delivery challan: each A4 sheet holds two identical copies of
// the challan, one above the other, with up to twelve lines a sheet. Built as
// HTML from values, rendered to a picture and shown in a print preview.

#include "core/companyinfo.h"
#include "jobwork/challanstore.h"

#include <QString>
#include <QStringList>

class QWidget;

// Lines a printed page holds.
constexpr int ChallanLinesPerPage = 12;

// What one copy of the challan shows besides its lines. The logo texts are
// HTML ("<img .../>" or "&nbsp;"); every other value is plain text.
struct ChallanCopyData
{
    QString leftLogoHtml;
    CompanyInfo company;
    QString rightLogoHtml;
    QString customerName;
    QString address1;
    QString address2;
    QString gstNo;
    QString phone;
    QString fullNumber;
    QString date; // "dd/MM/yyyy"
    QString sacCode;
    QString remarks;
};

// The copy data of a saved challan, with the company record and the logos.
ChallanCopyData challanCopyData(const ChallanPrintData &challan);

// The item rows of a page, numbered from `firstSerial`.
QString buildChallanItemRows(const QList<ChallanPrintLine> &lines, int firstSerial);

// Line breaks in the filler row of a page holding `linesOnPage` lines.
int challanFillerBreaks(int linesOnPage);

// One copy of the challan with the page's item rows and its filler row.
QString buildChallanHeaderHtml(const ChallanCopyData &copy, const QString &itemRowsHtml, int fillerBreaks);

// The whole challan as one document, its pages separated by page breaks.
QString buildChallanDocument(const ChallanCopyData &copy, const QList<ChallanPrintLine> &lines);

// Each printed page of such a document as a document of its own (both copies
// of its lines): the document cut at its page breaks.
QStringList buildChallanPages(const QString &document);

// The whole HTML of a saved challan; empty, after a warning, when there is no
// challan of that number and year.
QString buildChallanHtml(int number, const QString &fy, QWidget *parent = nullptr);

// Renders the document buildChallanHtml gives and shows it in the print
// preview: one picture per printed page.
void printChallan(QWidget *parent, int number, const QString &fy);
