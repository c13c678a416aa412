// The installed wkhtmltoimage draws a challan-sized page as the A4 documents
// expect: 2480 pixels wide, laid out 992 wide, with legible text.
// Set KESTROVA_KEEP_RENDER to a file name to keep the picture for a look.

#include "support/recordingdesktop.h"

#include "app/pagerenderer.h"

#include <QFile>
#include <QImage>
#include <QTest>

namespace {

bool isDark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace

class TestRealRenderer : public QObject
{
    Q_OBJECT

private slots:
    void rendersALegibleA4Picture();
};

void TestRealRenderer::rendersALegibleA4Picture()
{
    TestEnvironment env;
    if (RenderPlatform::locateTool(env.folder()).isEmpty())
        QSKIP("wkhtmltoimage is not installed");

    const QString html = QStringLiteral(
        "<html><head><style>* { font-family: 'Times New Roman', serif; }</style></head>"
        "<body style='font-size:14pt; margin:0;'>"
        "<div style='width:992px; height:20px; background:#000;'></div>"
        "<div style='padding-top:10px;'>HHHH</div>"
        "<table width='100%' style='border-collapse:collapse; border:3px solid #000;'><tr>"
        "<td style='padding:8px;'>To, M/s <b>Śrī Ramesh &amp; Sons</b><br>Plot 12, MIDC Bhosari, Pune</td>"
        "<td align='right' style='padding:8px;'>Amount ₹ 1,250.00<br>12.50 KGS</td></tr></table>"
        "</body></html>");
    PageRenderProfile profile = RenderProfiles::deliveryChallan(9);
    profile.removeImage = false; // kept to look at
    QVERIFY(renderHtmlToPages(nullptr, html, profile));
    QCOMPARE(env.desktop.messages.size(), 0);
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews.first().pageCount, 1);

    const QString path = env.desktop.tempFolder + "/challan_preview.png";
    const QImage image(path);
    QCOMPARE(image.width(), 2480);
    if (qEnvironmentVariableIsSet("KESTROVA_KEEP_RENDER")) {
        const QString keep = qEnvironmentVariable("KESTROVA_KEEP_RENDER");
        QFile::remove(keep);
        QFile::copy(path, keep);
    }

    // The 992 pixel bar spans the picture: the page is laid out 992 wide.
    int darkInBar = 0;
    for (int x = 0; x < image.width(); ++x)
        darkInBar += isDark(image, x, 10) ? 1 : 0;
    QVERIFY2(darkInBar > image.width() * 97 / 100, qPrintable(QString::number(darkInBar)));

    // The letters under it are about 2.5 times their screen height (a 14 pt
    // capital is some 12 pixels on screen).
    int top = -1;
    int bottom = -1;
    for (int y = 60; y < image.height() && bottom < 0; ++y) {
        bool dark = false;
        for (int x = 0; x < 600 && !dark; ++x)
            dark = isDark(image, x, y);
        if (dark && top < 0)
            top = y;
        else if (!dark && top >= 0)
            bottom = y;
    }
    QVERIFY(top > 0);
    QVERIFY2(bottom - top >= 25, qPrintable(QString("capital height %1").arg(bottom - top)));
}

QTEST_MAIN(TestRealRenderer)
#include "tst_realrenderer.moc"
