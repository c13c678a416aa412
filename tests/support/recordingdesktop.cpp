#include "recordingdesktop.h"

#include "filesizelimit.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QWidget>

#include <optional>

RecordingDesktop::RecordingDesktop()
{
    appFolder = m_dir.path() + "/app";
    tempFolder = m_dir.path() + "/tmp";
    QDir().mkpath(appFolder);
    QDir().mkpath(tempFolder);
}

RecordingDesktop::~RecordingDesktop() = default;

void RecordingDesktop::clear()
{
    messages.clear();
    previews.clear();
    openedUrls.clear();
    fileDialogCaptions.clear();
    fileDialogFilters.clear();
    fileDialogDirs.clear();
}

QMessageBox::StandardButton RecordingDesktop::message(QWidget *, QMessageBox::Icon icon, const QString &title,
                                                      const QString &text, QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    messages.append({icon, title, text, buttons});
    if (!messageAnswers.isEmpty())
        return messageAnswers.dequeue();
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    if (buttons & QMessageBox::Ok)
        return QMessageBox::Ok;
    if (buttons & QMessageBox::Yes)
        return QMessageBox::Yes;
    return QMessageBox::NoButton;
}

QString RecordingDesktop::saveFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter)
{
    fileDialogCaptions << caption;
    fileDialogDirs << dir;
    fileDialogFilters << filter;
    return saveFileAnswers.isEmpty() ? QString() : saveFileAnswers.dequeue();
}

QString RecordingDesktop::openFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter)
{
    fileDialogCaptions << caption;
    fileDialogDirs << dir;
    fileDialogFilters << filter;
    return openFileAnswers.isEmpty() ? QString() : openFileAnswers.dequeue();
}

bool RecordingDesktop::textInput(QWidget *, const QString &title, const QString &label, bool, QString *text)
{
    messages.append({QMessageBox::NoIcon, title, label, QMessageBox::Ok | QMessageBox::Cancel});
    if (textAnswers.isEmpty())
        return false;
    const QString answer = textAnswers.dequeue();
    if (answer.isNull())
        return false;
    if (text)
        *text = answer;
    return true;
}

void RecordingDesktop::printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                                    const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags)
{
    if (realPreviews) {
        Desktop::systemHandler()->printPreview(parent, printer, title, paint, flags);
        return;
    }
    Preview p;
    p.title = title;
    p.pdfPath = QString("%1/preview_%2.pdf").arg(tempFolder).arg(previews.size() + 1);
    p.orientation = printer->pageLayout().orientation();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(p.pdfPath);
    paint(printer);
    const QString info = [&] {
        QProcess proc;
        proc.start("pdfinfo", {p.pdfPath});
        proc.waitForFinished(10000);
        return QString::fromUtf8(proc.readAllStandardOutput());
    }();
    for (const QString &line : info.split('\n')) {
        if (line.startsWith("Pages:"))
            p.pageCount = line.mid(6).trimmed().toInt();
    }
    if (!printFileAnswers.isEmpty()) {
        p.printedTo = printFileAnswers.dequeue();
        printer->setOutputFileName(p.printedTo);
        std::optional<FileSizeLimit> fullDisk;
        if (printFileSizeLimit > 0)
            fullDisk.emplace(printFileSizeLimit);
        Desktop::printPages(parent, printer, paint);
    }
    previews.append(p);
}

bool RecordingDesktop::openUrl(const QUrl &url)
{
    openedUrls.append(url);
    return true;
}

namespace {
// Nothing a test program does may reach the real home folder (backups look
// there): before main runs, home becomes a scratch folder of the program.
struct ScratchHome
{
    QTemporaryDir dir;
    ScratchHome()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        qunsetenv("USERPROFILE");
    }
} g_scratchHome;
} // namespace

QString pdfText(const QString &pdfPath)
{
    QProcess proc;
    proc.start("pdftotext", {"-layout", pdfPath, "-"});
    proc.waitForFinished(20000);
    return QString::fromUtf8(proc.readAllStandardOutput());
}
