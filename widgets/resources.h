#pragma once
// Registers the images compiled into the program (safe to call more than once).
void initKestrovaResources();

// Resource path of one of the compiled-in images, e.g. imagePath("sales").
#include <QString>
QString imagePath(const QString &name);
