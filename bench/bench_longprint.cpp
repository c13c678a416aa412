// The payment pending statement printed at length through the installed
// wkhtmltoimage: the time from its HTML to the printed PDF (the preview's
// pages), for 2,000 and 10,001 pending invoices, and the pages it fills.
//
//   bench_longprint          the figures

#include "invoicing/receivablestatements.h"
#include "output/pagerenderer.h"
#include "support/benchrun.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    if (RenderPlatform::locateTool(env.folder()).isEmpty()) {
        std::printf("wkhtmltoimage is not installed\n");
        return 0;
    }
    for (const int count : {2000, 10001}) {
        QList<PendingStatementRow> rows;
        for (int i = 1; i <= count; ++i)
            rows.append({QStringLiteral("%1/26-27").arg(i), QStringLiteral("01-04-2026"),
                         QStringLiteral("Customer %1 Textiles Pvt Ltd").arg(i % 400), QStringLiteral("12345.67"),
                         QString::number(i % 150)});
        StatementHead head;
        head.fy = QStringLiteral("26-27");
        head.from = QDate(2026, 4, 1);
        head.to = QDate(2027, 3, 31);
        head.leftLogoHtml = head.rightLogoHtml = QStringLiteral("&nbsp;");
        const QString html = pendingStatementHtml(head, rows);
        env.desktop.clear();
        bool shown = false;
        const double ms = msOf([&] { shown = renderHtmlToPages(nullptr, html, RenderProfiles::paymentPendingStatement()); });
        std::printf("pending statement, %5d rows: %8.0f ms, %s, %d pages\n", count, ms,
                    shown ? "printed" : qPrintable("refused: " + env.desktop.lastMessage().text),
                    env.desktop.previews.isEmpty() ? 0 : env.desktop.previews.first().pageCount);
        std::fflush(stdout);
    }
    return 0;
}
