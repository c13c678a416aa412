#include "headlessscreen.h"

#include <QByteArray>
#include <QTemporaryFile>

void useHeadlessScreen(const QSize &size)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.startsWith("offscreen"))
        return;
    // The platform reads its screens from a file named in its options; the
    // file lives as long as the program.
    static QTemporaryFile config(QDir::tempPath() + "/kestrova-screen-XXXXXX.json");
    if (!config.open())
        qFatal("cannot write the screen configuration");
    config.write(QStringLiteral("{ \"screens\": [ { \"name\": \"screen\", \"x\": 0, \"y\": 0, \"width\": %1, "
                                "\"height\": %2, \"logicalDpi\": 96 } ] }\n")
                     .arg(size.width())
                     .arg(size.height())
                     .toUtf8());
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}
