#include "support/testenvironment.h"

#include "output/whatsapp.h"

#include <QUrlQuery>
#include <QtTest>

// The web-send link with the company phone is shown by the sales dashboard's
// WhatsApp summary.
class TestWhatsApp : public QObject
{
    Q_OBJECT

private slots:
    void normalizeIndianPhone_data();
    void normalizeIndianPhone();
    void messageSurvivesBothForms_data();
    void messageSurvivesBothForms();
    void clickToChatUsesTheNormalisedNumber_data();
    void clickToChatUsesTheNormalisedNumber();
};

void TestWhatsApp::normalizeIndianPhone_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("normalised");
    QTest::newRow("ten digits") << "9876543210" << "919876543210";
    QTest::newRow("0, space, ten digits") << "098765 43210" << "919876543210";
    QTest::newRow("dashes") << "98765-43210" << "919876543210";
    QTest::newRow("+91 prefix and hyphen") << "+91 98765-43210" << "919876543210";
    QTest::newRow("only one leading 0 dropped") << "0091 98765 43210" << "0919876543210";
    QTest::newRow("short with 0") << "012345" << "12345";
    QTest::newRow("no digits") << "n/a" << "";
}

void TestWhatsApp::normalizeIndianPhone()
{
    QFETCH(QString, phone);
    QFETCH(QString, normalised);
    QCOMPARE(::normalizeIndianPhone(phone), normalised);
}

void TestWhatsApp::messageSurvivesBothForms_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("plus") << "A+B = 2+2";
    QTest::newRow("ampersand and equals") << "Sales & Receivable a=b&c=d";
    QTest::newRow("percent") << "100% done %41 %zz save 5%2B";
    QTest::newRow("line breaks, emoji, hash") << "#1? 🚨 Stock ₹\n\nline4";
}

// Read back as a server reads the fully encoded link the browser sends.
void TestWhatsApp::messageSurvivesBothForms()
{
    QFETCH(QString, message);
    for (const QUrl &url : {whatsAppUrl(WhatsAppLink::WebSend, "919876543210", message),
                            whatsAppUrl(WhatsAppLink::ClickToChat, "9876543210", message)}) {
        const QUrl sent(url.toString(QUrl::FullyEncoded), QUrl::StrictMode);
        QVERIFY(sent.isValid());
        QCOMPARE(QUrlQuery(sent).queryItemValue("text", QUrl::FullyDecoded), message);
        QVERIFY(!sent.query(QUrl::FullyEncoded).contains('+'));
    }
}

void TestWhatsApp::clickToChatUsesTheNormalisedNumber_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain ten digits") << "9876543210";
    QTest::newRow("leading 0") << "09876543210";
    QTest::newRow("+91 with blanks") << "+91 98765 43210";
}

void TestWhatsApp::clickToChatUsesTheNormalisedNumber()
{
    QFETCH(QString, stored);
    TestEnvironment env;
    openWhatsAppMessage(WhatsAppLink::ClickToChat, stored, "Hi");
    QCOMPARE(env.desktop.openedUrls.size(), 1);
    QCOMPARE(env.desktop.openedUrls.first().toString(QUrl::FullyEncoded), QString("https://wa.me/919876543210?text=Hi"));
}

QTEST_MAIN(TestWhatsApp)
#include "tst_whatsapp.moc"
