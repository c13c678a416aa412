#include "receiptprint.h"

#include "output/logos.h"
#include "output/pagerenderer.h"

void printPaymentReceipt(QWidget *parent, PaymentReceipt receipt, const QList<int> &billIds)
{
    renderComposedPages(parent, RenderProfiles::paymentReceipt(), [receipt, billIds]() mutable {
        receipt.company = loadCompanyInfo();
        receipt.leftLogoHtml = logoImageHtml(QStringLiteral("left"), 120, 80);
        receipt.rightLogoHtml = logoImageHtml(QStringLiteral("right"), 150, 80);
        receipt.bills = receiptBills(billIds);
        ComposedDocument document;
        document.pagesHtml = QStringList{paymentReceiptHtml(receipt)};
        return document;
    });
}
