#include "resources.h"

#include <QtGlobal>

void initKestrovaResources()
{
    Q_INIT_RESOURCE(resources);
}

QString imagePath(const QString &name)
{
    return QStringLiteral(":/new/prefix1/build/Desktop_Qt_6_8_3_MinGW_64_bit_Release/release/") + name + ".png";
}
