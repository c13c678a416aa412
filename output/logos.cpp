#include "logos.h"

#include "desktop.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

QString logoDataUri(const QString &side, int boxWidth, int boxHeight)
{
    QFile file(Desktop::applicationFolder() + QLatin1Char('/') + side + QStringLiteral("_logo.png"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QImage image = QImage::fromData(file.readAll());
    if (image.isNull())
        return QString();

    const QImage scaled = image.scaled(boxWidth, boxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!scaled.save(&buffer, "PNG"))
        return QString();
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
}

QString logoImageHtml(const QString &side, int boxWidth, int boxHeight)
{
    return logoCellHtml(logoDataUri(side, boxWidth, boxHeight));
}

QString logoCellHtml(const QString &dataUri)
{
    return dataUri.isEmpty() ? QStringLiteral("&nbsp;")
                             : QStringLiteral("<img src='") + dataUri + QStringLiteral("'/>");
}
