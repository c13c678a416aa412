#include "aboutbox.h"

#include "output/desktop.h"

#include <QStringList>

namespace {

QString versionParagraph(const QString &version, const QString &title, const QStringList &items)
{
    QString text = QStringLiteral("<p style='color:#555;'><b>%1</b> — %2").arg(version, title);
    for (const QString &item : items)
        text += QStringLiteral("<br>&nbsp;&nbsp;• ") + item;
    return text + QStringLiteral("</p>");
}

} // namespace

QString aboutText()
{
    return QStringLiteral("<h3><b>Kestrova</b></h3>"
                          "<hr>"
                          "<p><b>Version History:</b></p>")
           + versionParagraph("v1.0.0", "Initial Release",
                              {"Sales Management Module", "Purchase Management Module", "Expenses Tracking",
                               "Salary Management", "Developer Panel", "Backup System"})
           + versionParagraph("v1.1.0", "Framework Upgrade",
                              {"Upgraded from Qt 5.6.3 to Qt 6.8.3", "Improved performance and stability",
                               "Qt6 compatibility fixes"})
           + versionParagraph("v1.1.1", "Charts & Inventory",
                              {"Implemented Qt Charts (QChart)", "Sales Dashboard with bar chart",
                               "Purchase Dashboard", "Inventory Management Module",
                               "Stock Entry &amp; Material Request", "Stock Report (monthly ledger)"})
           + QStringLiteral("<hr>"
                            "<p><b>Current Version: 1.1.1</b></p>");
}

void showAboutBox(QWidget *parent)
{
    Desktop::information(parent, QStringLiteral("About Kestrova"), aboutText());
}
