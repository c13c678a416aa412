#include "whatsapp.h"

#include "desktop.h"

#include <QRegularExpression>
#include <QUrlQuery>

namespace {

const char WebSendEndpoint[] = "https://web.whatsapp.com/send";
const char ClickToChatEndpoint[] = "https://wa.me/";

// Percent-encodes everything but letters, digits and "-._~". Left to the URL
// query's own rules a "+" would stay raw and arrive as a space.
QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QString normalizeIndianPhone(const QString &phone)
{
    static const QRegularExpression nonDigits(QStringLiteral("[^0-9]"));
    QString digits = phone;
    digits.remove(nonDigits);
    if (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.size() == 10)
        digits.prepend(QLatin1String("91"));
    return digits;
}

QUrl whatsAppUrl(WhatsAppLink form, const QString &phone, const QString &message)
{
    if (form == WhatsAppLink::WebSend) {
        QUrl url(QString::fromLatin1(WebSendEndpoint));
        QUrlQuery query;
        // Values handed over already encoded are kept as they are.
        query.addQueryItem(QStringLiteral("phone"), encoded(phone));
        query.addQueryItem(QStringLiteral("text"), encoded(message));
        url.setQuery(query);
        return url;
    }
    // The stored phone may carry a leading 0, blanks or the country code:
    // only the normalised number names the right chat.
    return QUrl(QString::fromLatin1(ClickToChatEndpoint) + normalizeIndianPhone(phone)
                    + QLatin1String("?text=") + encoded(message),
                QUrl::TolerantMode);
}

void openWhatsAppMessage(WhatsAppLink form, const QString &phone, const QString &message)
{
    Desktop::openUrl(whatsAppUrl(form, phone, message));
}
