// A printed document from the click to its preview: read and composed off
// the window's thread, the progress dialog within a second and gone before
// the preview, Cancel at any moment, a document too long refused as soon as
// its length is known, nothing of the render on disk while the preview
// shows, and no more tool runs at once than the memory budget holds.

#include "support/printtools.h"
#include "support/standintool.h"
#include "support/testenvironment.h"

#include "core/companyinfo.h"
#include "core/readconnection.h"
#include "output/pagerenderer.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <optional>

namespace {

QProgressDialog *shownProgress()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QProgressDialog *>(window);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Every file and folder under `folder`, by path within it, but the
// recording desktop's previews.
QStringList everythingIn(const QString &folder)
{
    QStringList found;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next().mid(folder.size() + 1);
        if (!(path.startsWith("preview_") && path.endsWith(".pdf")))
            found << path;
    }
    found.sort();
    return found;
}

// Notes, when the preview shows, whether a progress dialog still shows and
// what of the render lies in the temporary folder.
class PreviewWatch : public RecordingDesktop
{
public:
    QList<bool> progressShown;
    QList<QStringList> filesShown;
    void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) override
    {
        QApplication::processEvents(); // what was only hidden or deleted later shows its last state
        progressShown << (shownProgress() != nullptr);
        filesShown << everythingIn(tempFolder);
        RecordingDesktop::printPreview(parent, printer, title, paint, flags);
    }
};

// Watches the progress dialog while a print runs: when it first shows (from
// the start), its first label, and Cancel clicked when asked.
struct ProgressWatch
{
    QElapsedTimer clock;
    qint64 shownAfterMs = -1;
    QStringList labels;
    bool cancel = false;
    QTimer timer;

    ProgressWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QProgressDialog *dialog = shownProgress();
            if (!dialog)
                return;
            if (shownAfterMs < 0)
                shownAfterMs = clock.elapsed();
            if (labels.isEmpty() || labels.last() != dialog->labelText())
                labels << dialog->labelText();
            if (cancel)
                QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
        });
        clock.start();
        timer.start(20);
    }
};

ComposedDocument pages(const QStringList &html)
{
    ComposedDocument document;
    document.pagesHtml = html;
    return document;
}

// A statement of `rows` rows.
QString tableOfRows(int rows)
{
    QString html = "<html><head></head><body><table>";
    for (int i = 1; i <= rows; ++i)
        html += QString("<tr><td>%1/26-27</td><td>Customer %1</td></tr>").arg(i);
    return html + "</table></body></html>";
}

// The most runs of the stand-in tool at one moment, from the "+" and "-"
// each wrote to `log` as it began and ended.
int mostAtOnce(const QString &log)
{
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int running = 0, most = 0;
    for (const char c : file.readAll()) {
        running += c == '+' ? 1 : c == '-' ? -1 : 0;
        most = qMax(most, running);
    }
    return most;
}

} // namespace

class TestComposedPrint : public QObject
{
    Q_OBJECT

    std::optional<TestEnvironment> env;

private slots:
    void init() { env.emplace(); }
    void cleanup() { env.reset(); }

    // The composer runs on a thread of its own while the window keeps
    // answering; the dialog shows within a second, with a label from its
    // first moment, and is gone before the preview; nothing of the render is
    // on disk then.
    void slowDocumentAnswersFromTheClick()
    {
        PreviewWatch watch;
        watch.appFolder = env->folder();
        watch.tempFolder = env->desktop.tempFolder;
        Desktop::setHandler(&watch);
        StandInTool tool(env->folder(), "sleep 0.8; cp \"$dir/source.png\" \"$img\"");
        ProgressWatch progress;
        int ticks = 0;
        QTimer ticking;
        QObject::connect(&ticking, &QTimer::timeout, [&ticks] { ++ticks; });
        ticking.start(50);
        bool offTheWindowsThread = false;

        QVERIFY(renderComposedPages(nullptr, RenderProfiles::taxInvoice(3), [&] {
            offTheWindowsThread = QThread::currentThread() != qApp->thread();
            QThread::msleep(1200); // a long read
            return pages({"<p>one</p>", "<p>two</p>"});
        }));
        Desktop::setHandler(&env->desktop);

        QVERIFY(offTheWindowsThread);
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks))); // the event loop turned all along
        QVERIFY2(progress.shownAfterMs >= 0 && progress.shownAfterMs < 1000, qPrintable(QString::number(progress.shownAfterMs)));
        QCOMPARE(progress.labels.value(0), QString("Reading the document for printing..."));
        QVERIFY2(progress.labels.contains("Drawing the pages for printing: 0 of 2"), qPrintable(progress.labels.join('|')));
        QVERIFY(!progress.labels.contains(QString()));
        QCOMPARE(watch.previews.size(), 1);
        QCOMPARE(watch.previews.first().pageCount, 2);
        QCOMPARE(watch.progressShown, QList<bool>{false});
        QCOMPARE(watch.filesShown, QList<QStringList>{QStringList()});
    }

    // Cut into pages: the files go as soon as they are read, the folder before
    // the preview.
    void noRenderFileWhileThePreviewShows()
    {
        PreviewWatch watch;
        watch.appFolder = env->folder();
        watch.tempFolder = env->desktop.tempFolder;
        Desktop::setHandler(&watch);
        StandInTool tool(env->folder(), "sleep 0.3; cp \"$dir/source.png\" \"$img\"");
        QVERIFY(renderHtmlToPages(nullptr, tableOfRows(200), RenderProfiles::paymentPendingStatement()));
        QVERIFY(renderHtmlToPages(nullptr, "<html><body>slip</body></html>", RenderProfiles::salarySlip("Anil")));
        Desktop::setHandler(&env->desktop);
        QCOMPARE(watch.filesShown, (QList<QStringList>{QStringList(), QStringList()}));
        QCOMPARE(watch.progressShown, (QList<bool>{false, false}));
    }

    // Cancel while the document is still being read: nothing is drawn or
    // shown, and a statement running long on the reading connection stops.
    void cancelWhileReadingShowsNothing()
    {
        QVERIFY(env->openDatabase());
        StandInTool tool(env->folder());
        ProgressWatch progress;
        progress.cancel = true;
        bool stopped = false;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!renderComposedPages(nullptr, RenderProfiles::deliveryChallan(5), [&stopped] {
            QSqlQuery q(readingDatabase());
            // Minutes of counting, unless stopped.
            stopped = !q.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000000000) "
                              "SELECT COUNT(*) FROM n");
            return pages({"<html></html>"});
        }));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(stopped);
        QCOMPARE(progress.labels.value(0), QString("Reading the document for printing..."));
        QCOMPARE(env->desktop.messages.size(), 0);
        QCOMPARE(env->desktop.previews.size(), 0);
        QCOMPARE(tool.runs().size(), 0);
        QVERIFY(!shownProgress());
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());
    }

    // The composer reads the company file on its own read-only connection;
    // no page means nothing to print, with its refusal where it gives one.
    void composerReadsOnItsOwnConnection()
    {
        QVERIFY(env->openDatabase());
        QSqlQuery q;
        QVERIFY(q.exec("CREATE TABLE company_settings (id INTEGER PRIMARY KEY, company_name TEXT, address_line1 TEXT, "
                       "address_line2 TEXT, phone TEXT, email TEXT, gst_no TEXT)"));
        QVERIFY(q.exec("INSERT INTO company_settings VALUES (1, 'Shree Ganesh Coats', 'a', 'b', 'p', 'e', 'g')"));
        StandInTool tool(env->folder());
        QString name;
        bool written = true;
        QVERIFY(renderComposedPages(nullptr, RenderProfiles::salarySlip("A"), [&] {
            name = loadCompanyInfo().name;
            written = QSqlQuery(readingDatabase()).exec("UPDATE company_settings SET phone = 'x'");
            return pages({"<html><body>" + name + "</body></html>"});
        }));
        QCOMPARE(name, QString("Shree Ganesh Coats"));
        QVERIFY(!written); // read-only
        QVERIFY(tool.htmlOfRun(1).contains("Shree Ganesh Coats"));

        env->desktop.clear();
        QVERIFY(!renderComposedPages(nullptr, RenderProfiles::deliveryChallan(9), [] {
            ComposedDocument none;
            none.refusal = {"Error", "Delivery Challan not found!"};
            return none;
        }));
        QVERIFY(!renderComposedPages(nullptr, RenderProfiles::taxInvoice(9), [] { return ComposedDocument(); }));
        QCOMPARE(env->desktop.messages.size(), 1);
        QCOMPARE(env->desktop.lastShown(), QString("Error|Delivery Challan not found!"));
        QCOMPARE(env->desktop.lastMessage().icon, QMessageBox::Warning);
        QCOMPARE(tool.runs().size(), 1);
    }

    // Its first parts tell how long a statement is: one that needs more pages
    // than a print holds is refused then, before the other parts are drawn,
    // saying what to do; a document of a page each, before anything is drawn.
    void pageLimitRefusedBeforeThePartsAreDrawn()
    {
        StandInTool tool(env->folder(), "sleep 0.2; cp \"$dir/source.png\" \"$img\"");
        tool.setSource(QSize(2480, 4000)); // every part more than two landscape pages
        PageRenderProfile statement = RenderProfiles::paymentPendingStatement();
        statement.pageLimit = 20;
        QVERIFY(!renderHtmlToPages(nullptr, tableOfRows(2000), statement));
        QCOMPARE(env->desktop.messages.size(), 1);
        QCOMPARE(env->desktop.lastMessage().icon, QMessageBox::Warning);
        const QString shown = env->desktop.lastShown();
        QVERIFY2(shown.startsWith("Print|The payment pending statement is too long to print: it would fill about ")
                     && shown.endsWith(" pages, more than the 20 one print can hold.\n"
                                       "Show a shorter period or one customer, and print again."),
                 qPrintable(shown));
        QVERIFY2(tool.runs().size() < 20, qPrintable(QString::number(tool.runs().size()))); // of some 35 parts
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());

        env->desktop.clear();
        PageRenderProfile invoice = RenderProfiles::taxInvoice(4);
        invoice.pageLimit = 2;
        QVERIFY(!renderHtmlToPages(nullptr, QStringList{"<p>1</p>", "<p>2</p>", "<p>3</p>"}, invoice));
        QCOMPARE(env->desktop.lastShown(),
                 QString("Print|Invoice 4 is too long to print: it would fill about 3 pages, more than the 2 one print "
                         "can hold.\nBill its challans on several invoices of fewer lines."));
        QVERIFY(tool.runs().size() < 20);
        QCOMPARE(env->desktop.previews.size(), 0);
    }

    // The first part holds the document's head (company, title), the last
    // its foot: however tall, they tell nothing of how long the rows run,
    // and a statement that fits is printed.
    void tallHeadIsNoReasonToRefuse()
    {
        StandInTool tool(env->folder(), "if grep -q 'Company head' \"$html\"; then cp \"$dir/tall.png\" \"$img\"; "
                                       "else cp \"$dir/source.png\" \"$img\"; fi");
        tool.setSource(QSize(2480, 3400), "tall"); // two landscape pages
        tool.setSource(QSize(2480, 200));
        PageRenderProfile statement = RenderProfiles::paymentPendingStatement();
        statement.pageLimit = 10;
        QString html = tableOfRows(2000);
        html.replace("<body>", "<body><div>Company head</div>");
        QVERIFY(renderHtmlToPages(nullptr, html, statement));
        QCOMPARE(env->desktop.messages.size(), 0);
        QCOMPARE(env->desktop.previews.size(), 1);
        QVERIFY(env->desktop.previews.first().pageCount <= 10);
    }

    void runsWithinTheMemoryBudget_data()
    {
        QTest::addColumn<qint64>("perRun");
        QTest::addColumn<int>("cores");
        QTest::addColumn<int>("runs");
        const qint64 mb = qint64(1) << 20;
        QTest::newRow("small pictures: one run a core") << 30 * mb << 8 << 8;
        QTest::newRow("many cores, the budget holds") << 30 * mb << 64 << 17;
        QTest::newRow("tall pictures") << RenderPlatform::pictureBytes(2480, RenderPlatform::bandRows + 1) << 8 << 1;
        QTest::newRow("larger than the budget: still one") << 2048 * mb << 8 << 1;
        QTest::newRow("nothing known") << qint64(0) << 4 << 4;
    }

    void runsWithinTheMemoryBudget()
    {
        QFETCH(qint64, perRun);
        QFETCH(int, cores);
        QTEST(RenderPlatform::runsWithin(PagePictures::previewBudgetBytes, perRun, cores), "runs");
        QCOMPARE(RenderPlatform::requestedWidth({"--disable-smart-width", "--width", "2200"}), 2200);
        QCOMPARE(RenderPlatform::requestedWidth({"--zoom", "2"}), 1024);
    }

    // Pages too wide for two to be drawn at once within the budget are drawn
    // one after the other; A4 pages of the invoice's width run together.
    void wideRunsOneAtATime()
    {
        if (QThread::idealThreadCount() < 2)
            QSKIP("one core");
        StandInTool tool(env->folder(), "echo + >> \"$dir/running\"; sleep 0.4; cp \"$dir/source.png\" \"$img\"; "
                                       "echo - >> \"$dir/running\"");
        const QStringList four{"<p>1</p>", "<p>2</p>", "<p>3</p>", "<p>4</p>"};
        QVERIFY(renderHtmlToPages(nullptr, four, RenderProfiles::taxInvoice(1)));
        QVERIFY2(mostAtOnce(env->folder() + "/running") > 1, "A4 pages run together");

        QFile::remove(env->folder() + "/running");
        PageRenderProfile wide = RenderProfiles::taxInvoice(2);
        wide.toolArguments = {"--disable-smart-width", "--width", "12000"}; // some 800 MB a page
        QVERIFY(renderHtmlToPages(nullptr, four, wide));
        QCOMPARE(mostAtOnce(env->folder() + "/running"), 1);
        QCOMPARE(env->desktop.previews.size(), 2);
    }
};

QTEST_MAIN(TestComposedPrint)
#include "tst_composedprint.moc"
