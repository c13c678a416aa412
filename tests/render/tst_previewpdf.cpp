// A print preview printed to a PDF file: whole, or the chosen file as it was,
// nothing beside it and a warning with the reason, whichever printing road
// drew the preview.

#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/recordingdesktop.h"
#include "support/standintool.h"

#include "app/htmlprint.h"
#include "app/pagerenderer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

const QString kOrder = QStringLiteral("<html><body><h2>PURCHASE ORDER</h2><p>Bolt M8 &amp; nut</p></body></html>");
const QByteArray kEarlier = QByteArrayLiteral("%PDF-1.4 the earlier statement");

enum Road { SlicedStatement, PerPageInvoice, SingleSlip, RichTextList };

bool showPreview(Road road)
{
    const QString html = "<html><body>Ramesh &amp; Co</body></html>";
    switch (road) {
    case SlicedStatement:
        return renderHtmlToPages(nullptr, html, RenderProfiles::paymentPendingStatement());
    case PerPageInvoice:
        return renderHtmlToPages(nullptr, QStringList{html, html}, RenderProfiles::taxInvoice(4));
    case SingleSlip:
        return renderHtmlToPages(nullptr, html, RenderProfiles::salarySlip("Suresh"));
    case RichTextList:
        return printHtmlDocument(nullptr, kOrder, HtmlPrintProfiles::materialRequestList())
               == HtmlPrintResult::PreviewClosed;
    }
    return false;
}

bool pdftotextReads(const QString &path)
{
    QProcess proc;
    proc.start("pdftotext", {path, "-"});
    return proc.waitForFinished(20000) && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
}

QString notSaved(const QString &path, const QString &reason)
{
    return "Error|The PDF file could not be saved:\n" + path + "\n" + reason;
}

const QString kCutShort = QStringLiteral("The file could not be written to its end.");

// Answers the real dialogs as a user does: Print in the preview, the file in
// the print dialog, Yes to replacing it where it asks. Each answer is posted: a dialog it
// opens runs its own loop, in which this timer must keep firing.
class PreviewUser : public QObject
{
public:
    explicit PreviewUser(const QString &file) : m_file(file)
    {
        connect(&m_timer, &QTimer::timeout, this, &PreviewUser::act);
        m_timer.start(50);
    }
    bool printed = false;

private:
    template<class T>
    static T *shown()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
                return t;
        }
        return nullptr;
    }

    void act()
    {
        if (auto *box = shown<QMessageBox>()) { // a print dialog asking to replace the file
            QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Yes); }, Qt::QueuedConnection);
        } else if (auto *dialog = shown<QPrintDialog>()) {
            if (auto *name = dialog->findChild<QLineEdit *>("filename"))
                name->setText(m_file);
            QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
        } else if (auto *preview = shown<QPrintPreviewDialog>()) {
            // A preview still open long after its Print is given up.
            if (printed && ++m_waits > 200) {
                preview->reject();
                return;
            }
            for (QAction *action : preview->findChildren<QAction *>()) {
                if (!printed && action->text() == QLatin1String("Print")) {
                    printed = true;
                    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
                    return;
                }
            }
        }
    }
    int m_waits = 0;
    QString m_file;
    QTimer m_timer;
};

} // namespace

class TestPreviewPdf : public QObject
{
    Q_OBJECT

private slots:
    void previewPrintedToAFile_data();
    void previewPrintedToAFile();
    void realPreviewDialogPrintsWholeOrNothing();
};

void TestPreviewPdf::previewPrintedToAFile_data()
{
    QTest::addColumn<int>("road");
    QTest::newRow("statement, one tall picture") << int(SlicedStatement);
    QTest::newRow("invoice, a picture per page") << int(PerPageInvoice);
    QTest::newRow("salary slip, one picture") << int(SingleSlip);
    QTest::newRow("material request list, rich text") << int(RichTextList);
}

void TestPreviewPdf::previewPrintedToAFile()
{
    QFETCH(int, road);
    TestEnvironment env;
    StandInTool tool(env.folder());
    const QString out = QDir(env.folder()).filePath("out");
    QVERIFY(QDir().mkpath(out));
    const QString path = out + "/statement.pdf";
    QVERIFY(writeFile(path, kEarlier));

    // A disk that fills up on the way, and a device that takes nothing: the
    // earlier file stays as it was, nothing is left beside it, and the
    // warning says why.
    env.desktop.printFileSizeLimit = 1024;
    env.desktop.printFileAnswers << path << "/dev/full";
    QVERIFY(showPreview(Road(road)));
    QVERIFY(showPreview(Road(road)));
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(env.desktop.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.messages.at(0).title + "|" + env.desktop.messages.at(0).text, notSaved(path, kCutShort));
    QCOMPARE(env.desktop.lastShown(), notSaved("/dev/full", "/dev/full is not a regular file"));
    QCOMPARE(fileBytes(path), kEarlier);
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"statement.pdf"});
    QVERIFY(!QFileInfo("/dev/full").isFile());

    // With room on the disk the whole document replaces it, silently.
    env.desktop.clear();
    env.desktop.printFileSizeLimit = 0;
    env.desktop.printFileAnswers << path;
    QVERIFY(showPreview(Road(road)));
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"statement.pdf"});
    QVERIFY(fileBytes(path).startsWith("%PDF-"));
    QVERIFY(pdftotextReads(path));
    if (road == RichTextList)
        QVERIFY2(pdfText(path).contains("Bolt M8 & nut"), qPrintable(pdfText(path)));
    // The preview itself was drawn as before.
    QCOMPARE(env.desktop.previews.size(), 1);
    QVERIFY(env.desktop.previews.first().pageCount >= 1);
}

// The program's own preview dialog: its Print, to a file chosen in the print
// dialog, takes the same way.
void TestPreviewPdf::realPreviewDialogPrintsWholeOrNothing()
{
    TestEnvironment env;
    env.desktop.realPreviews = true;
    const QString path = env.folder() + "/order list.pdf";
    {
        PreviewUser user(path);
        QVERIFY(showPreview(RichTextList));
        QVERIFY(user.printed);
    }
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY2(pdfText(path).contains("Bolt M8 & nut"), qPrintable(pdfText(path)));
    const QByteArray whole = fileBytes(path);
    const QStringList before = QDir(env.folder()).entryList(QDir::Files | QDir::Hidden);

    {
        FileSizeLimit fullDisk(1024);
        PreviewUser user(path);
        QVERIFY(showPreview(RichTextList));
        QVERIFY(user.printed);
    }
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastShown(), notSaved(path, kCutShort));
    QCOMPARE(fileBytes(path), whole);
    QCOMPARE(QDir(env.folder()).entryList(QDir::Files | QDir::Hidden), before);
}

QTEST_MAIN(TestPreviewPdf)
#include "tst_previewpdf.moc"
