// The installed wkhtmltoimage draws a challan-sized page as the A4 documents
// expect: 2480 pixels wide, laid out 992 wide, with legible text. (The
// challan document test keeps a real challan picture to look at.)

#include "support/testenvironment.h"

#include "output/pagerenderer.h"

#include <QImage>
#include <QTest>

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
        "<div style='padding-top:10px;'>HHHH</div></body></html>");
    PageRenderProfile profile = RenderProfiles::deliveryChallan(9);
    profile.keepPicturesIn = env.desktop.tempFolder; // to look at
    QVERIFY(renderHtmlToPages(nullptr, html, profile));
    const QImage image(env.desktop.tempFolder + "/challan_preview.png");
    QCOMPARE(image.width(), 2480);
    const auto isDark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 128; };

    // The 992 pixel bar spans the picture: the page is laid out 992 wide.
    int darkInBar = 0;
    for (int x = 0; x < image.width(); ++x)
        darkInBar += isDark(x, 10) ? 1 : 0;
    QVERIFY2(darkInBar > image.width() * 97 / 100, qPrintable(QString::number(darkInBar)));

    // The letters under it are about 2.5 times their screen height (a 14 pt
    // capital is some 12 pixels on screen).
    int top = -1;
    int bottom = -1;
    for (int y = 60; y < image.height() && bottom < 0; ++y) {
        bool dark = false;
        for (int x = 0; x < 600 && !dark; ++x)
            dark = isDark(x, y);
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
