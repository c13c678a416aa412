#include "invoiceprint.h"

#include "output/pagerenderer.h"
#include "invoicing/invoicedocument.h"

void printInvoice(int invoiceNo, const QString &copyLabel, const QString &fyName, QWidget *parent)
{
    const QStringList pages = buildInvoicePages(invoiceNo, copyLabel, fyName);
    if (pages.isEmpty())
        return; // no such invoice in that year: nothing to print
    renderHtmlToPages(parent, pages, RenderProfiles::taxInvoice(invoiceNo));
}
