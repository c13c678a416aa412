#pragma once
// The fonts a window shows under the application's own style sheet.

#include <QString>
#include <QStringList>

class QWidget;

// Adds the blocks the main window appends to the application's style sheet,
// and the combo pop-up styling, for as long as it lives; puts the earlier
// sheet back after.
class ApplicationStyleInTest
{
public:
    ApplicationStyleInTest();
    ~ApplicationStyleInTest();

private:
    QString m_earlier;
};

// "class object" of every widget of `window` that shows text in a family
// other than `family`: labels and buttons with text, line edits, combo boxes
// and their pop-up lists, spin and date boxes, item views and their headings.
// The widgets named in `givenNoFont`, and all inside them, are left out: the
// designer form gives them no font.
QStringList widgetsNotShowing(const QWidget *window, const QString &family, const QStringList &givenNoFont = {});
