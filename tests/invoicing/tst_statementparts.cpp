// The receivables statements as the renderer draws a long one: in parts of
// rows, each drawn by the installed wkhtmltoimage, whose pictures joined are
// the picture of the whole statement, row for row.

#include "support/printtools.h"
#include "support/testenvironment.h"

#include "invoicing/receivablestatements.h"
#include "output/documentparts.h"
#include "output/pagerenderer.h"

#include <QTest>

namespace {

const StatementHead Head{{"R&D <Works>", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5"},
                         "&nbsp;", "&nbsp;", "26-27", QDate(2026, 4, 1), QDate(2027, 3, 31)};

QString pendingHtml(int count)
{
    QList<PendingStatementRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QString("%1/26-27").arg(i), "01-04-2026",
                     i % 9 == 0 ? "Shree Lakshmi Narasimha Engineering Works and Fabricators, Bhosari Industrial Estate"
                                : QString("Customer %1 Textiles").arg(i),
                     "12345.67", QString::number(i % 150)});
    return pendingStatementHtml(Head, rows);
}

QString paymentHtml(int count)
{
    QList<PaymentStatementRow> rows;
    for (int i = 1; i <= count; ++i) {
        const bool opens = i % 3 != 2;
        rows.append({QString("%1/26-27").arg(i), "01-04-2026", QString("Customer %1 Textiles").arg(i), "100.00",
                     opens ? "250.00" : "", opens ? "15-05-2026" : "", opens ? "NEFT" : "", QString::number(i % 90),
                     opens ? "cheque & <bounced>" : ""});
    }
    return paymentStatementHtml(Head, rows, "", "1.00");
}

} // namespace

class TestStatementParts : public QObject
{
    Q_OBJECT

private slots:
    void partsJoinIntoTheWholeStatement_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<PageRenderProfile>("profile");
        QTest::addColumn<int>("groups");
        QTest::newRow("payment pending statement") << pendingHtml(120) << RenderProfiles::paymentPendingStatement()
                                                   << 120;
        // A payment of several invoices is one group: its cells span its rows.
        QTest::newRow("customer payment statement") << paymentHtml(120) << RenderProfiles::customerPaymentStatement()
                                                    << 80;
    }

    void partsJoinIntoTheWholeStatement()
    {
        QFETCH(QString, html);
        QFETCH(PageRenderProfile, profile);
        TestEnvironment env;
        SKIP_WITHOUT_INSTALLED_TOOL();
        const QStringList arguments = profile.toolArguments;
        const QImage whole = toolPicture(html, arguments, env.desktop.tempFolder);
        QVERIFY(!whole.isNull());
        QTEST(DocumentParts(RenderPlatform::prepareHtml(html, installedToolCssZoom(arguments))).groups(), "groups");
        QCOMPARE(toolPartsPicture(html, {0, 25, 50}, arguments, env.desktop.tempFolder), whole);
    }
};

QTEST_MAIN(TestStatementParts)
#include "tst_statementparts.moc"
