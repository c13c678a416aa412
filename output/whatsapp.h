#pragma once
// Handing a short text to WhatsApp: a web link opened in the default browser.
// Nothing comes back from WhatsApp.

#include <QString>
#include <QUrl>

// The two kinds of link.
enum class WhatsAppLink {
    WebSend,     // web.whatsapp.com/send?phone=..&text=..; phone already normalised
    ClickToChat, // wa.me/<number>?text=..; phone as stored
};

// The digits of a phone, one leading "0" dropped, "91" put in front of a
// ten-digit number: "098765 43210" and "+91 98765-43210" give "919876543210";
// other lengths stay digits only.
QString normalizeIndianPhone(const QString &phone);

// The link that carries `message` to `phone`. Every character of the message
// survives the trip ("+", "&", "=", "%", line breaks, emoji).
QUrl whatsAppUrl(WhatsAppLink form, const QString &phone, const QString &message);

// Opens the link with the desktop's URL handler; nothing is reported.
void openWhatsAppMessage(WhatsAppLink form, const QString &phone, const QString &message);
