#include "desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace {

class QtDesktop : public DesktopHandler
{
public:
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        QMessageBox box(icon, title, text, buttons, parent);
        if (defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }

    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }

    bool textInput(QWidget *parent, const QString &title, const QString &label, bool password,
                   QString *text) override
    {
        bool ok = false;
        const QString value = QInputDialog::getText(parent, title, label,
                                                    password ? QLineEdit::Password : QLineEdit::Normal,
                                                    text ? *text : QString(), &ok);
        if (ok && text)
            *text = value;
        return ok;
    }

    void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) override
    {
        QPrintPreviewDialog preview(printer, parent, flags);
        if (!title.isEmpty())
            preview.setWindowTitle(title);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                         [&paint](QPrinter *p) { paint(p); });
        // The whole screen also where no window manager maximises it.
        if (QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
            preview.setGeometry(screen->availableGeometry());
        preview.setWindowState(Qt::WindowMaximized);
        preview.exec();
    }

    bool openUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }

    QString applicationFolder() override { return QCoreApplication::applicationDirPath(); }

    QString temporaryFolder() override { return QDir::tempPath(); }
};

QtDesktop g_qtDesktop;
DesktopHandler *g_handler = nullptr;

} // namespace

namespace Desktop {

void setHandler(DesktopHandler *h) { g_handler = h; }

DesktopHandler *handler() { return g_handler ? g_handler : &g_qtDesktop; }

QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    return handler()->message(parent, QMessageBox::Information, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    return handler()->message(parent, QMessageBox::Warning, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton)
{
    return handler()->message(parent, QMessageBox::Critical, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton)
{
    return handler()->message(parent, QMessageBox::Question, title, text, buttons, defaultButton);
}

QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return handler()->saveFileName(parent, caption, dir, filter);
}

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return handler()->openFileName(parent, caption, dir, filter);
}

bool getText(QWidget *parent, const QString &title, const QString &label, bool password, QString *text)
{
    return handler()->textInput(parent, title, label, password, text);
}

void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                  const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags)
{
    handler()->printPreview(parent, printer, title, paint, flags);
}

bool openUrl(const QUrl &url) { return handler()->openUrl(url); }

bool openFile(const QString &path) { return handler()->openUrl(QUrl::fromLocalFile(path)); }

QString applicationFolder() { return handler()->applicationFolder(); }

QString temporaryFolder() { return handler()->temporaryFolder(); }

} // namespace Desktop
