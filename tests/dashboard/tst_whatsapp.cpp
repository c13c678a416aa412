#include "support/recordingdesktop.h"

#include "app/whatsapp.h"

#include <QUrlQuery>
#include <QtTest>

class TestWhatsApp : public QObject
{
    Q_OBJECT

private slots:
    void normalizeIndianPhone_data();
    void normalizeIndianPhone();
    void webSendCarriesPhoneAndText();
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
    QTest::newRow("short") << "12345" << "12345";
    QTest::newRow("short with 0") << "012345" << "12345";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("no digits") << "n/a" << "";
}

void TestWhatsApp::normalizeIndianPhone()
{
    QFETCH(QString, phone);
    QFETCH(QString, normalised);
    QCOMPARE(::normalizeIndianPhone(phone), normalised);
}

void TestWhatsApp::webSendCarriesPhoneAndText()
{
    TestEnvironment env;
    openWhatsAppMessage(WhatsAppLink::WebSend, "919876543210", "Total : Rs.10.00\nBye");
    QCOMPARE(env.desktop.openedUrls.size(), 1);
    const QUrl url = env.desktop.openedUrls.first();
    QCOMPARE(url.scheme(), QString("https"));
    QCOMPARE(url.host(), QString("web.whatsapp.com"));
    QCOMPARE(url.path(), QString("/send"));
    const QString encoded = url.toString(QUrl::FullyEncoded);
    QVERIFY2(encoded.contains("?phone=919876543210&text="), qPrintable(encoded));
    const QUrlQuery query(url);
    QCOMPARE(query.queryItems(QUrl::FullyDecoded).first().first, QString("phone"));
    QCOMPARE(query.queryItemValue("text", QUrl::FullyDecoded), QString("Total : Rs.10.00\nBye"));
}

void TestWhatsApp::messageSurvivesBothForms_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("plus") << "A+B = 2+2";
    QTest::newRow("ampersand and equals") << "Sales & Receivable a=b&c=d";
    QTest::newRow("percent") << "100% done %41 %zz";
    QTest::newRow("percent sequence only") << "save 5%2B now %41";
    QTest::newRow("line breaks") << "line1\nline2\n\nline4";
    QTest::newRow("emoji and symbols") << "🚨 Stock ─── • ₹ 📦";
    QTest::newRow("hash and question") << "#1? yes/no";
}

void TestWhatsApp::messageSurvivesBothForms()
{
    QFETCH(QString, message);
    const QUrl web = whatsAppUrl(WhatsAppLink::WebSend, "919876543210", message);
    QVERIFY(web.isValid());
    // What the browser sends is the fully encoded link; read it back as a server would.
    const QUrl webSent(web.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    QCOMPARE(QUrlQuery(webSent).queryItemValue("text", QUrl::FullyDecoded), message);
    QVERIFY(!webSent.query(QUrl::FullyEncoded).contains('+'));

    const QUrl chat = whatsAppUrl(WhatsAppLink::ClickToChat, "9876543210", message);
    QVERIFY(chat.isValid());
    const QUrl chatSent(chat.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    QCOMPARE(QUrlQuery(chatSent).queryItemValue("text", QUrl::FullyDecoded), message);
    QVERIFY(!chatSent.query(QUrl::FullyEncoded).contains('+'));
}

void TestWhatsApp::clickToChatUsesTheNormalisedNumber_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain ten digits") << "9876543210";
    QTest::newRow("leading 0") << "09876543210";
    QTest::newRow("+91 with blanks") << "+91 98765 43210";
    QTest::newRow("91 and dashes") << "91-98765-43210";
}

void TestWhatsApp::clickToChatUsesTheNormalisedNumber()
{
    QFETCH(QString, stored);
    TestEnvironment env;
    openWhatsAppMessage(WhatsAppLink::ClickToChat, stored, "Hi");
    QCOMPARE(env.desktop.openedUrls.size(), 1);
    QCOMPARE(env.desktop.openedUrls.first().toString(QUrl::FullyEncoded),
             QString("https://wa.me/919876543210?text=Hi"));
}

QTEST_MAIN(TestWhatsApp)
#include "tst_whatsapp.moc"
