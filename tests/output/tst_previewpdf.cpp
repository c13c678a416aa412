// A print preview printed to a PDF file: whole, or the chosen file as it was,
// nothing beside it and a warning with the reason, whichever printing road
// drew the preview.

#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/standintool.h"
#include "support/testenvironment.h"

#include "output/htmlprint.h"
#include "output/pagerenderer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QTimer>

namespace {

const QString kOrder = QStringLiteral("<html><body><p>Bolt M8 &amp; nut</p></body></html>");

// A statement drawn by the page renderer, or a list laid out as rich text.
bool showPreview(bool richText)
{
    return richText ? printHtmlDocument(nullptr, kOrder, HtmlPrintProfiles::materialRequestList())
                          == HtmlPrintResult::PreviewClosed
                    : renderHtmlToPages(nullptr, kOrder, RenderProfiles::paymentPendingStatement());
}

QString notSaved(const QString &path, const QString &reason)
{
    return "Error|The PDF file could not be saved:\n" + path + "\n" + reason;
}

const QString kCutShort = QStringLiteral("The file could not be written to its end.");

// Answers the real dialogs as a user does: Print in the preview, the PDF file
// in the print dialog, Yes where it asks to replace the file. Each answer is
// posted: the dialog it opens runs a loop in which this timer keeps firing.
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
    void act()
    {
        QWidget *top = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(top)) {
            QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Yes); }, Qt::QueuedConnection);
        } else if (auto *dialog = qobject_cast<QPrintDialog *>(top)) {
            auto *printers = dialog->findChild<QComboBox *>("printers");
            if (printers && printers->findText("Print to File (PDF)") >= 0)
                printers->setCurrentIndex(printers->findText("Print to File (PDF)"));
            dialog->findChild<QLineEdit *>("filename")->setText(m_file);
            QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
        } else if (auto *preview = qobject_cast<QPrintPreviewDialog *>(top); preview && !printed) {
            for (QAction *action : preview->findChildren<QAction *>()) {
                if (action->text() == QLatin1String("Print")) {
                    printed = true;
                    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
                }
            }
        }
    }
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
    QTest::addColumn<bool>("richText");
    QTest::newRow("statement") << false;
    QTest::newRow("material request list") << true;
}

void TestPreviewPdf::previewPrintedToAFile()
{
    QFETCH(bool, richText);
    TestEnvironment env;
    StandInTool tool(env.folder());
    const QString out = env.folder() + "/out", path = out + "/statement.pdf";
    QVERIFY(QDir().mkpath(out) && writeFile(path, "%PDF-1.4 earlier"));

    // A disk that fills up on the way (a file-size limit: the program goes on),
    // and a device that takes nothing.
    env.desktop.printFileSizeLimit = 1024;
    env.desktop.printFileAnswers << path << "/dev/full";
    QVERIFY(showPreview(richText) && showPreview(richText));
    QCOMPARE(env.desktop.messages.size(), 2);
    QCOMPARE(env.desktop.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(env.desktop.messages.at(0).title + "|" + env.desktop.messages.at(0).text, notSaved(path, kCutShort));
    QCOMPARE(env.desktop.lastShown(), notSaved("/dev/full", "/dev/full is not a regular file"));
    QCOMPARE(fileBytes(path), QByteArray("%PDF-1.4 earlier"));
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"statement.pdf"});

    // With room on the disk the whole document replaces it, silently.
    env.desktop.clear();
    env.desktop.printFileSizeLimit = 0;
    env.desktop.printFileAnswers << path;
    QVERIFY(showPreview(richText));
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{"statement.pdf"});
    QCOMPARE(pdfText(path).contains("Bolt M8 & nut"), richText); // the statement is a picture
    QVERIFY(fileBytes(path).trimmed().endsWith("%%EOF"));
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
        QVERIFY(showPreview(true));
        QVERIFY(user.printed);
    }
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY2(pdfText(path).contains("Bolt M8 & nut"), qPrintable(pdfText(path)));
    const QByteArray whole = fileBytes(path);
    const QStringList before = QDir(env.folder()).entryList(QDir::Files | QDir::Hidden);

    {
        FileSizeLimit fullDisk(1024);
        PreviewUser user(path);
        QVERIFY(showPreview(true));
        QVERIFY(user.printed);
    }
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(env.desktop.lastShown(), notSaved(path, kCutShort));
    QCOMPARE(fileBytes(path), whole);
    QCOMPARE(QDir(env.folder()).entryList(QDir::Files | QDir::Hidden), before);
}

QTEST_MAIN(TestPreviewPdf)
#include "tst_previewpdf.moc"
