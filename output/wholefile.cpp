#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <csignal>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace WholeFile {

namespace {

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Puts what was written on the disk before the file takes the chosen name, so
// a power cut cannot leave the name on an empty file.
bool syncToDisk(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
#ifdef Q_OS_WIN
    // Best effort: without a descriptor the system writes the data out in its
    // own time.
    const int fd = file.handle();
    if (fd >= 0)
        _commit(fd);
    return true;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// A PDF file ends with "startxref", the offset of its cross-reference table
// and "%%EOF"; a file cut short by a full disk lacks them, and one that lost
// bytes on the way has no table where the offset says.
bool isWholePdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 32)
        return false;
    const qint64 tailSize = qMin<qint64>(file.size(), 1024);
    if (!file.seek(file.size() - tailSize))
        return false;
    const QByteArray tail = file.read(tailSize);
    static const QRegularExpression ending(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QRegularExpressionMatch match = ending.match(QString::fromLatin1(tail));
    if (!match.hasMatch())
        return false;
    bool ok = false;
    const qint64 table = match.captured(1).toLongLong(&ok);
    if (!ok || table <= 0 || table >= file.size() || !file.seek(table))
        return false;
    // A classic table, or a cross-reference stream's object.
    static const QRegularExpression tableStart(QStringLiteral("^(xref\\s|\\d+\\s+\\d+\\s+obj\\b)"));
    return tableStart.match(QString::fromLatin1(file.read(32))).hasMatch();
}

} // namespace

Pending::Pending(const QString &target)
{
    // A link keeps pointing at the file it names: the file behind it is replaced.
    const QFileInfo info(target);
    m_target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : target;

    std::error_code ec;
    const auto status = std::filesystem::status(fsPath(m_target), ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        m_error = QStringLiteral("%1 is not a regular file").arg(m_target);
        return;
    }

    const QFileInfo targetInfo(m_target);
    QTemporaryFile temporary(targetInfo.absolutePath() + QLatin1Char('/') + targetInfo.fileName()
                             + QStringLiteral(".XXXXXX.tmp"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) {
        m_error = temporary.errorString();
        return;
    }
    m_temporary = temporary.fileName();
    temporary.close();

    // The finished file gets the permissions the target has, or those of a
    // newly created file, not the private ones of a temporary file.
    const QFileDevice::Permissions permissions =
        targetInfo.exists() ? QFile::permissions(m_target)
                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                  | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(m_temporary, permissions);
}

Pending::~Pending()
{
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

bool Pending::commit()
{
    if (m_temporary.isEmpty())
        return false;
    if (!syncToDisk(m_temporary)) {
        m_error = QStringLiteral("%1 could not be written to the disk").arg(m_temporary);
        QFile::remove(m_temporary);
        m_temporary.clear();
        return false;
    }
    std::error_code ec;
    // Replaces an existing target in one step: there is no moment without it.
    std::filesystem::rename(fsPath(m_temporary), fsPath(m_target), ec);
    if (ec) {
        m_error = QString::fromLocal8Bit(ec.message().c_str());
        QFile::remove(m_temporary);
    }
    m_temporary.clear();
    return !ec;
}

namespace {

// Writes `bytes` whole through a Pending file, the file opened in `mode`;
// the reason of a failure is the system's ("No space left on device", "File
// too large", "Permission denied").
bool writeWhole(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode, QString *error)
{
    Pending pending(path);
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!pending.isValid())
        return fail(pending.errorString());

    QFile file(pending.temporaryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | mode))
        return fail(file.errorString());
    // A write cut short (a file-size limit) is tried again for the rest, which
    // then fails with the system's reason.
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return fail(file.errorString());
        written += n;
    }
    if (!file.flush())
        return fail(file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());

    if (!pending.commit())
        return fail(pending.errorString());
    return true;
}

} // namespace

bool writeText(const QString &path, const QString &text, QString *error)
{
    return writeWhole(path, text.toUtf8(), QIODevice::Text, error);
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    return writeWhole(path, bytes, QIODevice::NotOpen, error);
}

bool printPdf(QPrinter *printer, const std::function<void(QPrinter *)> &paint, QString *error)
{
    const QString path = printer->outputFileName();
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    Pending pending(path);
    if (!pending.isValid())
        return fail(pending.errorString());

    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pending.temporaryPath());
    paint(printer);
    const QPrinter::PrinterState state = printer->printerState();
    printer->setOutputFileName(path);

    if (state == QPrinter::Error)
        return fail(QStringLiteral("The printer reported an error."));
    if (state == QPrinter::Aborted)
        return fail(QStringLiteral("The printing was cancelled."));
    if (!isWholePdf(pending.temporaryPath())) {
        // Asked while the cut file still takes its room.
        const QStorageInfo disk(QFileInfo(pending.temporaryPath()).absolutePath());
        return fail(disk.isValid() && disk.bytesAvailable() < 1024 * 1024
                        ? QStringLiteral("The file could not be written to its end: the disk is full.")
                        : QStringLiteral("The file could not be written to its end."));
    }
    if (!pending.commit())
        return fail(pending.errorString());
    return true;
}

void failWritesPastSizeLimit()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace WholeFile
