#pragma once
// Files the program writes for the user (exports, printed PDFs, backups) are
// whole or absent: each is written under a temporary name in the folder of the
// chosen file and renamed over the chosen name only once it is complete. A
// write that fails leaves the chosen name holding what it held before, or
// nothing.

#include <QString>

#include <functional>

class QPrinter;

namespace WholeFile {

// Writes `text` to `path` as UTF-8 without byte-order mark, in text mode (the
// platform's line ends), replacing an existing file. False, with the reason,
// when anything could not be written.
bool writeText(const QString &path, const QString &text, QString *error = nullptr);
// The same for bytes written as they are (an image).
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// A temporary file beside `target` for a writer that needs a file name of its
// own (the PDF printer, SQLite). The file exists, empty, from construction on;
// commit() renames it over the target; if it is never committed it is removed
// when the object goes. An existing target that is not a regular file (a
// folder, a device) is never replaced: the object is then not valid.
class Pending
{
public:
    explicit Pending(const QString &target);
    ~Pending();
    Pending(const Pending &) = delete;
    Pending &operator=(const Pending &) = delete;

    bool isValid() const { return !m_temporary.isEmpty(); }
    QString temporaryPath() const { return m_temporary; }
    QString target() const { return m_target; }
    // Why no temporary file could be made, or why the last commit failed.
    QString errorString() const { return m_error; }

    // Renames the temporary file over the target; false with errorString()
    // set when that fails, in which case the temporary file is removed.
    bool commit();

private:
    QString m_target;
    QString m_temporary;
    QString m_error;
};

// Prints `paint` on `printer` into the PDF file the printer names as its
// output file, under a temporary name beside it, and renames that over the
// chosen name only when the printer reported no error and the file is whole
// (it ends with its cross-reference table and end-of-file marker where they
// say). False, with the reason, when it is not: the chosen name then holds
// what it held before and nothing is left beside it. The printer names the
// chosen file again afterwards.
bool printPdf(QPrinter *printer, const std::function<void(QPrinter *)> &paint, QString *error = nullptr);

// Where the system limits the size of the files a process writes (ulimit -f),
// a write past the limit would end the program (SIGXFSZ). After this call it
// fails instead, as on a full disk, and each writer reports it as such. The
// program calls it first thing as it starts.
void failWritesPastSizeLimit();

} // namespace WholeFile
