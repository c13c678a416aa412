#pragma once
// Values put into the HTML of printed documents.

#include <QString>

// The text with &, <, >, " and ' written as character entities, so that a
// name or remark prints as typed and never becomes markup.
QString htmlEscaped(const QString &text);
