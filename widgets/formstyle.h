#pragma once
// The look shared by the module forms.

#include <QColor>
#include <QString>

class QWidget;

// The style sheet the module forms set on their top-level widget.
QString formStyleSheet();

// The same sheet with the light background line the material request form adds
// to its first block.
QString formStyleSheetWithBackground();

// Sets formStyleSheet() on a form built from its designer form and keeps the
// form's font on every widget that was given none of its own. Without this a
// style sheet on the form, or on a group box inside it, puts the platform's
// font back on the widgets below it.
void applyFormStyleSheet(QWidget *form);

// The same with another sheet (formStyleSheetWithBackground, for one).
void applyFormStyleSheet(QWidget *form, const QString &styleSheet);

// Gives every widget of a designer form that was given no font of its own
// its parent's font, as it would take it without style sheets. For a form
// whose designer form carries a style sheet of its own: call it right after
// setupUi, before the form is first shown.
void keepFormFonts(QWidget *form);

// Row and cell colours of the lists.
namespace StatusColor {
inline const QColor Pending{QStringLiteral("#f8d7da")}; // nothing done yet
inline const QColor Partial{QStringLiteral("#fff3cd")}; // a balance still open
inline const QColor Done{QStringLiteral("#d4edda")};    // nothing left open
} // namespace StatusColor
