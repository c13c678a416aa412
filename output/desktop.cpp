#include "desktop.h"

#include "wholefile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QGuiApplication>
#include <QPaintEngine>
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
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&paint, &preview](QPrinter *p) {
            // The pages on screen are drawn through the preview's own picture
            // engine; any other request is the user's Print.
            if (p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Picture)
                paint(p);
            else
                Desktop::printPages(&preview, p, paint);
        });
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

DesktopHandler *systemHandler() { return &g_qtDesktop; }

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

void printPages(QWidget *parent, QPrinter *printer, const std::function<void(QPrinter *)> &paint)
{
    const QString path = printer->outputFileName();
    if (printer->outputFormat() != QPrinter::PdfFormat || path.isEmpty()) {
        paint(printer);
        return;
    }
    QString reason;
    if (!WholeFile::printPdf(printer, paint, &reason))
        warning(parent, QStringLiteral("Error"),
                QStringLiteral("The PDF file could not be saved:\n%1\n%2").arg(path, reason));
}

bool openUrl(const QUrl &url) { return handler()->openUrl(url); }

bool openFile(const QString &path) { return handler()->openUrl(QUrl::fromLocalFile(path)); }

QString applicationFolder() { return handler()->applicationFolder(); }

QString temporaryFolder() { return handler()->temporaryFolder(); }

} // namespace Desktop
