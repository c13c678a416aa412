#include "invoiceprint.h"

#include "output/pagerenderer.h"
#include "invoicing/invoicedocument.h"

void printInvoice(int invoiceNo, const QString &copyLabel, const QString &fyName, QWidget *parent)
{
    renderComposedPages(parent, RenderProfiles::taxInvoice(invoiceNo), [invoiceNo, copyLabel, fyName] {
        ComposedDocument document;
        // No such invoice in that year: no page, and nothing to print.
        document.pagesHtml = buildInvoicePages(invoiceNo, copyLabel, fyName);
        return document;
    });
}
