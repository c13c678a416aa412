#pragma once
// A desktop that answers every dialog itself and keeps what was shown.

#include "output/desktop.h"

#include <QList>
#include <QPageLayout>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

class RecordingDesktop : public DesktopHandler
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    struct Preview
    {
        QString title;
        QString pdfPath; // the previewed pages, printed to this PDF
        QPageLayout::Orientation orientation;
        int pageCount = 0;
        QString printedTo; // the file the user printed the preview to; empty: closed unprinted
    };

    RecordingDesktop();
    ~RecordingDesktop() override;

    // Answers given in turn; when none is queued a message box answers with
    // its default button, else Ok, else Yes.
    QQueue<QMessageBox::StandardButton> messageAnswers;
    QQueue<QString> saveFileAnswers; // empty string = cancelled
    QQueue<QString> openFileAnswers;
    QQueue<QString> textAnswers;     // a null QString = cancelled
    // PDF files the shown previews are printed to in turn, as the preview's
    // Print does; none queued: the preview closes unprinted.
    QQueue<QString> printFileAnswers;
    // Above 0: while a preview prints to a file, no file may grow larger (a
    // disk that fills up).
    long printFileSizeLimit = 0;
    // The previews are the real print preview dialogs, for a test that drives them.
    bool realPreviews = false;

    QList<Message> messages;
    QList<Preview> previews;
    QList<QUrl> openedUrls;
    QStringList fileDialogCaptions;
    QStringList fileDialogFilters;
    QStringList fileDialogDirs;

    QString appFolder;
    QString tempFolder;

    Message lastMessage() const { return messages.isEmpty() ? Message{} : messages.last(); }
    // "title|text" of the last message box; empty when none was shown.
    QString lastShown() const { return messages.isEmpty() ? QString() : messages.last().title + "|" + messages.last().text; }
    void clear();

    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    bool textInput(QWidget *parent, const QString &title, const QString &label, bool password,
                   QString *text) override;
    void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) override;
    bool openUrl(const QUrl &url) override;
    QString applicationFolder() override { return appFolder; }
    QString temporaryFolder() override { return tempFolder; }

private:
    QTemporaryDir m_dir;
};

// Text of a PDF file as pdftotext -layout gives it.
QString pdfText(const QString &pdfPath);
