#pragma once
// The company's two logo files, embedded into the HTML of printed documents.

#include <QString>

// "left_logo.png" or "right_logo.png" (side "left" or "right") from the
// application folder, scaled into a box of the given size keeping its aspect
// ratio, as a "data:image/png;base64,..." URI. Empty when the file is missing
// or is not a readable image.
QString logoDataUri(const QString &side, int boxWidth, int boxHeight);

// The logo as "<img src='...'/>", or "&nbsp;" when there is none.
QString logoImageHtml(const QString &side, int boxWidth, int boxHeight);
// The same for a data URI already read (empty: no logo).
QString logoCellHtml(const QString &dataUri);
