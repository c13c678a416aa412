#pragma once
// Every top-level window and form of the program, opened the way its user
// opens it: the main window as the program starts it, the module windows
// from its buttons after login, the forms from the module windows' menus and
// buttons, the forms that generation and follow-up open, and the main
// window's two dialogs.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class MainWindow;
class QAbstractButton;
class QMainWindow;
class QRect;
class QWidget;
class TestEnvironment;

// Gets a window while it is open (a dialog while its own event loop runs).
using LookAtWindow = std::function<void(QWidget *window)>;

struct ProgramWindow
{
    QString name;
    std::function<void(MainWindow *main, TestEnvironment &env, const LookAtWindow &look)> open;
};

// The main window as the program starts it (fitted to its screen, then
// shown), logged in. The database holds a customer with a pending inward
// entry and an issued challan, so generation has something to proceed with.
MainWindow *startProgram(TestEnvironment &env);

QList<ProgramWindow> everyProgramWindow();

// The module window that the main window's button shows.
QMainWindow *moduleWindow(MainWindow *main, const char *button);

// What of `window` cannot be used: each button and field (those in the cells
// of a list scroll with the list) that cannot be scrolled wholly into view, as
// far as the window shows at once, or that a click at its middle misses; each
// with the reason.
QStringList unusableControls(QWidget *window);

// Scrolls `part` of `widget` (in the widget's coordinates) into view through
// every scroll area it lies in; then tells why it does not show whole on the
// screen, or nothing when it does.
QString unreachablePart(QWidget *window, QWidget *widget, const QRect &part);

// Scrolls the button into view and clicks it with the mouse where it shows,
// through whatever widget is there; false when it does not show.
bool clickAsUser(QWidget *window, QAbstractButton *button);
