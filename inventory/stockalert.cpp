#include "stockalert.h"

#include "core/money.h"
#include "output/desktop.h"
#include "output/whatsapp.h"
#include "inventory/inventoryschema.h"
#include "inventory/stockwatch.h"

QString stockAlertMessage(const CompanyInfo &company, const QDate &today)
{
    QString sections;
    for (const QString &category : stockCategories()) {
        QString low;
        for (const LowStockItem &item : lowStockItems(category))
            low += QStringLiteral("* %1 - Bal:%2 Min:%3 %4\n")
                       .arg(item.itemName, storedDecimalText(item.balance, 2), storedDecimalText(item.minStock, 2),
                            item.uom);
        QString open;
        QString lastSupplier;
        for (const OpenRequestLine &line : openRequestLines(category, OpenRequestOrder::BySupplier)) {
            if (line.supplier != lastSupplier) {
                open += QStringLiteral("  📦 ") + line.supplier + QLatin1Char('\n');
                lastSupplier = line.supplier;
            }
            open += QStringLiteral("    • %1 - %2 %3 (%4)\n")
                        .arg(line.itemName, storedDecimalText(line.orderQty, 0), line.uom, line.shortDate());
        }
        if (low.isEmpty() && open.isEmpty())
            continue;
        sections += QStringLiteral("📂 ") + category + QStringLiteral("\n───────────────\n");
        if (!low.isEmpty())
            sections += QStringLiteral("🔴 Low Stock:\n") + low;
        if (!open.isEmpty())
            sections += QStringLiteral("📋 Open Requests:\n") + open;
        sections += QLatin1Char('\n');
    }
    if (sections.isEmpty())
        return QString();
    return QStringLiteral("🚨 Stock & Material Request Alert\n") + company.name + QLatin1Char('\n')
           + today.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char('\n') + sections
           + QStringLiteral("Please arrange urgently.");
}

void sendStockAlert(QWidget *parent)
{
    const CompanyInfo company = loadCompanyInfo();
    const QString message = stockAlertMessage(company, QDate::currentDate());
    if (message.isEmpty()) {
        Desktop::information(parent, QStringLiteral("Stock Alert"),
                             QStringLiteral("✅ All stock OK and no open requests!"));
        return;
    }
    openWhatsAppMessage(WhatsAppLink::WebSend, normalizeIndianPhone(company.phone), message);
}
