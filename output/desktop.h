#pragma once
// The one door to everything that blocks or leaves the program: message boxes,
// file and text dialogs, the print preview, opening URLs and files, and the
// folders the program works in. The program uses the real Qt dialogs; a test
// installs its own DesktopHandler that answers and records instead.

#include <QMessageBox>
#include <QString>
#include <QUrl>
#include <functional>

class QPrinter;
class QWidget;

class DesktopHandler
{
public:
    virtual ~DesktopHandler() = default;

    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                                const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption,
                                 const QString &dir, const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &caption,
                                 const QString &dir, const QString &filter) = 0;
    // Returns false when the user cancelled.
    virtual bool textInput(QWidget *parent, const QString &title, const QString &label,
                           bool password, QString *text) = 0;
    // Shows a maximised print preview for the printer; `paint` draws the
    // document on it. Non-empty `flags` replace the dialog's window flags.
    virtual void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                              const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
    virtual QString applicationFolder() = 0;
    virtual QString temporaryFolder() = 0;
};

namespace Desktop {

// Replaces the handler (nullptr restores the real desktop). Not owned.
void setHandler(DesktopHandler *handler);
DesktopHandler *handler();
// The real desktop, whatever handler is installed.
DesktopHandler *systemHandler();

QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                     QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir = QString(),
                        const QString &filter = QString());
QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir = QString(),
                        const QString &filter = QString());
bool getText(QWidget *parent, const QString &title, const QString &label, bool password, QString *text);

void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                  const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags = {});
// What a print preview's Print does with the pages once the user has chosen
// where they go. A PDF file is whole or not written: when it cannot be, the
// chosen file keeps what it held, nothing is left beside it and a warning box
// gives the reason. A printer gets the pages as they are painted.
void printPages(QWidget *parent, QPrinter *printer, const std::function<void(QPrinter *)> &paint);

bool openUrl(const QUrl &url);
bool openFile(const QString &path);

// The folder the program keeps its data in (the folder of the executable).
QString applicationFolder();
// The folder for documents rendered on the way to the printer.
QString temporaryFolder();

} // namespace Desktop
