// The receivables statements as the renderer draws a long one: in parts of
// rows, each drawn by the installed wkhtmltoimage, whose pictures joined are
// the picture of the whole statement, row for row.

#include "support/printtools.h"
#include "support/testenvironment.h"

#include "invoicing/receivablestatements.h"
#include "output/documentparts.h"
#include "output/pagecutter.h"
#include "output/pagerenderer.h"

#include <QStandardPaths>
#include <QTest>

#include <cstring>

namespace {

StatementHead head()
{
    StatementHead h;
    h.company = {"R&D <Works>", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5"};
    h.fy = "26-27";
    h.from = QDate(2026, 4, 1);
    h.to = QDate(2027, 3, 31);
    h.leftLogoHtml = h.rightLogoHtml = "&nbsp;";
    return h;
}

QString pendingHtml(int count)
{
    QList<PendingStatementRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QString("%1/26-27").arg(i), "01-04-2026",
                     i % 9 == 0 ? "Shree Lakshmi Narasimha Engineering Works and Fabricators, Bhosari Industrial Estate"
                                : QString("Customer %1 Textiles").arg(i),
                     "12345.67", QString::number(i % 150)});
    return pendingStatementHtml(head(), rows);
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
    return paymentStatementHtml(head(), rows, "", "1.00");
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
        if (QStandardPaths::findExecutable("wkhtmltoimage").isEmpty())
            QSKIP("wkhtmltoimage is not installed");
        const QStringList arguments = profile.toolArguments;
        const QImage whole = toolPicture(html, arguments, env.desktop.tempFolder);
        QVERIFY(!whole.isNull());

        const DocumentParts document(RenderPlatform::prepareHtml(html, installedToolCssZoom(arguments)));
        QTEST(document.groups(), "groups");
        QList<QImage> pictures;
        for (const auto &[first, end] : {std::pair{0, 25}, std::pair{25, 50}, std::pair{50, document.groups()}}) {
            QImage picture = toolPicture(document.part(first, end), arguments, env.desktop.tempFolder, true);
            QVERIFY(!picture.isNull());
            if (end < document.groups())
                picture = picture.copy(0, 0, picture.width(), PageCutting::joinedHeight(picture));
            pictures.append(picture);
        }
        int y = 0;
        for (const QImage &picture : pictures) {
            for (int r = 0; r < picture.height(); ++r, ++y)
                QVERIFY2(y < whole.height()
                             && std::memcmp(picture.constScanLine(r), whole.constScanLine(y), size_t(whole.width()) * 4) == 0,
                         qPrintable(QString("row %1").arg(y)));
        }
        QCOMPARE(y, whole.height());
    }
};

QTEST_MAIN(TestStatementParts)
#include "tst_statementparts.moc"
