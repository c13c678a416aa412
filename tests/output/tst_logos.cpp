// The logos embedded into printed documents, and the escaping of values.

#include "support/files.h"
#include "support/testenvironment.h"

#include "output/htmlescape.h"
#include "output/logos.h"

#include <QImage>
#include <QTest>

namespace {

QImage decodeDataUri(const QString &uri)
{
    const QString prefix = "data:image/png;base64,";
    return uri.startsWith(prefix) ? QImage::fromData(QByteArray::fromBase64(uri.mid(prefix.size()).toLatin1()), "PNG")
                                  : QImage();
}

} // namespace

class TestLogos : public QObject
{
    Q_OBJECT

private slots:
    void logoIsScaledIntoItsBox();
    void missingOrBrokenLogoGivesNothing();
    void valuesAreEscaped();
};

void TestLogos::logoIsScaledIntoItsBox()
{
    TestEnvironment env;
    QImage wide(400, 100, QImage::Format_ARGB32);
    wide.fill(Qt::darkBlue);
    QVERIFY(wide.save(env.folder() + "/left_logo.png"));

    const QString left = logoDataUri("left", 80, 80);
    QCOMPARE(decodeDataUri(left).size(), QSize(80, 20));
    QCOMPARE(decodeDataUri(left).pixelColor(40, 10), QColor(Qt::darkBlue));
    QCOMPARE(logoImageHtml("left", 80, 80), "<img src='" + left + "'/>");
}

void TestLogos::missingOrBrokenLogoGivesNothing()
{
    TestEnvironment env;
    QCOMPARE(logoImageHtml("left", 80, 80), QStringLiteral("&nbsp;"));
    QVERIFY(writeFile(env.folder() + "/left_logo.png", "this is no picture"));
    QCOMPARE(logoDataUri("left", 80, 80), QString());
    QCOMPARE(logoImageHtml("left", 80, 80), QStringLiteral("&nbsp;"));
}

void TestLogos::valuesAreEscaped()
{
    QCOMPARE(htmlEscaped("Ramesh & Sons <Unit 2> \"A\" 'B'"),
             QStringLiteral("Ramesh &amp; Sons &lt;Unit 2&gt; &quot;A&quot; &#39;B&#39;"));
    QCOMPARE(htmlEscaped("ROD 12MM ₹"), QStringLiteral("ROD 12MM ₹"));
}

QTEST_MAIN(TestLogos)
#include "tst_logos.moc"
