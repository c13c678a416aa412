// A printed document from the click to its preview: composed off the
// window's thread, its progress dialog gone before the preview, Cancel at
// any moment, a document too long refused as soon as its length is known,
// and no more tool runs at once than the memory budget holds.

#include "support/printtools.h"
#include "support/standintool.h"
#include "support/testenvironment.h"

#include "core/companyinfo.h"
#include "core/readconnection.h"
#include "output/pagerenderer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <array>
#include <optional>

namespace {

QProgressDialog *shownProgress()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QProgressDialog *>(window); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// Stands in for the desktop while it lives, noting when a preview shows
// whether a progress dialog still shows and what lies in the temporary folder.
class PreviewWatch : public RecordingDesktop
{
public:
    QList<bool> progressShown;
    QList<QStringList> filesShown;
    RecordingDesktop &before;
    explicit PreviewWatch(TestEnvironment &env) : before(env.desktop)
    {
        appFolder = env.folder();
        tempFolder = env.desktop.tempFolder;
        Desktop::setHandler(this);
    }
    ~PreviewWatch() override { Desktop::setHandler(&before); }
    void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) override
    {
        QApplication::processEvents(); // what was only hidden or deleted later shows its last state
        progressShown << (shownProgress() != nullptr);
        filesShown << printLeftovers(tempFolder);
        RecordingDesktop::printPreview(parent, printer, title, paint, flags);
    }
};

// Watches the progress dialog while a print runs, every 20 ms the event loop
// turns: when it first shows, each label it shows, and Cancel clicked when
// asked.
struct ProgressWatch
{
    QElapsedTimer clock;
    int turns = 0;
    qint64 shownAfterMs = -1;
    QStringList labels;
    const bool cancel;
    QTimer timer;

    explicit ProgressWatch(bool clickCancel = false) : cancel(clickCancel)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++turns;
            if (QProgressDialog *dialog = shownProgress()) {
                if (shownAfterMs < 0)
                    shownAfterMs = clock.elapsed();
                if (labels.isEmpty() || labels.last() != dialog->labelText())
                    labels << dialog->labelText();
                if (cancel)
                    QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
            }
        });
        clock.start();
        timer.start(20);
    }
};

ComposedDocument pages(const QStringList &html)
{
    return {html, std::nullopt, {}};
}

QString tableOfRows(int rows)
{
    QString html = "<html><head></head><body><table>";
    for (int i = 1; i <= rows; ++i)
        html += QString("<tr><td>%1/26-27</td><td>Customer %1</td></tr>").arg(i);
    return html + "</table></body></html>";
}

const QString slowCopy = "sleep %1; cp \"$dir/source.png\" \"$img\"";

} // namespace

class TestComposedPrint : public QObject
{
    Q_OBJECT

    std::optional<TestEnvironment> env;

private slots:
    void init() { env.emplace(); }
    void cleanup() { env.reset(); }

    // Composed off the window's thread while the window keeps answering; the
    // dialog shows within a second, labelled from its first moment, and is
    // gone before the preview, and nothing of the render is on disk then,
    // composed or cut into pages.
    void slowDocumentAnswersFromTheClick()
    {
        PreviewWatch watch(*env);
        StandInTool tool(env->folder(), slowCopy.arg(0.8));
        ProgressWatch progress;
        bool offTheWindowsThread = false;
        QVERIFY(renderComposedPages(nullptr, RenderProfiles::taxInvoice(3), [&] {
            offTheWindowsThread = QThread::currentThread() != qApp->thread();
            QThread::msleep(1200); // a long read
            return pages({"<p>one</p>", "<p>two</p>"});
        }));
        QVERIFY(offTheWindowsThread);
        QVERIFY2(progress.turns >= 50, qPrintable(QString::number(progress.turns)));
        QVERIFY2(progress.shownAfterMs >= 0 && progress.shownAfterMs < 1000, qPrintable(QString::number(progress.shownAfterMs)));
        QCOMPARE(progress.labels.value(0), QString("Reading the document for printing..."));
        QVERIFY2(progress.labels.contains("Drawing the pages for printing: 0 of 2"), qPrintable(progress.labels.join('|')));
        QCOMPARE(watch.previews.value(0).pageCount, 2);

        StandInTool quicker(env->folder(), slowCopy.arg(0.3));
        QVERIFY(renderHtmlToPages(nullptr, tableOfRows(200), RenderProfiles::paymentPendingStatement()));
        QCOMPARE(watch.filesShown, (QList<QStringList>{{}, {}}));
        QCOMPARE(watch.progressShown, (QList<bool>{false, false}));
    }

    // Cancel while the document is still being read: nothing is drawn or
    // shown or left, and a statement running long on the reading connection
    // stops.
    void cancelWhileReadingShowsNothing()
    {
        QVERIFY(env->openDatabase());
        StandInTool tool(env->folder());
        ProgressWatch progress(true);
        bool stopped = false;
        QVERIFY(!renderComposedPages(nullptr, RenderProfiles::deliveryChallan(5), [&stopped] {
            // Minutes of counting, unless stopped.
            stopped = !QSqlQuery(readingDatabase()).exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                                         "FROM n WHERE i < 4000000000) SELECT COUNT(*) FROM n");
            return pages({"<html></html>"});
        }));
        QVERIFY2(progress.clock.elapsed() < 5000, qPrintable(QString::number(progress.clock.elapsed())));
        QVERIFY(stopped);
        QCOMPARE(progress.labels.value(0), QString("Reading the document for printing..."));
        QCOMPARE(env->desktop.messages.size() + env->desktop.previews.size() + tool.runs().size(), 0);
        QVERIFY(!shownProgress());
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());
    }

    // The composer reads on its own read-only connection; no page means
    // nothing to print, with the composer's refusal where it gives one.
    void composerReadsOnItsOwnConnection()
    {
        QVERIFY(env->openDatabase());
        QSqlQuery q;
        QVERIFY(q.exec("CREATE TABLE company_settings (id INTEGER PRIMARY KEY, company_name TEXT, address_line1 TEXT, "
                       "address_line2 TEXT, phone TEXT, email TEXT, gst_no TEXT)"));
        QVERIFY(q.exec("INSERT INTO company_settings VALUES (1, 'Shree Ganesh Coats', 'a', 'b', 'p', 'e', 'g')"));
        StandInTool tool(env->folder());
        bool written = true;
        QVERIFY(renderComposedPages(nullptr, RenderProfiles::salarySlip("A"), [&] {
            written = QSqlQuery(readingDatabase()).exec("UPDATE company_settings SET phone = 'x'");
            return pages({"<html><body>" + loadCompanyInfo().name + "</body></html>"});
        }));
        QVERIFY(!written);
        QVERIFY(tool.htmlOfRun(1).contains("Shree Ganesh Coats"));

        QVERIFY(!renderComposedPages(nullptr, RenderProfiles::deliveryChallan(9), [] {
            return ComposedDocument{{}, std::nullopt, {"Error", "Delivery Challan not found!"}};
        }));
        QVERIFY(!renderComposedPages(nullptr, RenderProfiles::taxInvoice(9), [] { return ComposedDocument(); }));
        QCOMPARE(env->desktop.messages.size(), 1);
        QCOMPARE(env->desktop.lastShown(), QString("Error|Delivery Challan not found!"));
        QCOMPARE(env->desktop.lastMessage().icon, QMessageBox::Warning);
        QCOMPARE(tool.runs().size(), 1);
    }

    // A statement's first parts tell its length: one needing more pages than
    // a print holds is refused then, saying what to do, before the other
    // parts are drawn; a document of a page each, before anything is drawn.
    // A tall head (company, title) tells nothing of how long the rows run.
    void pageLimitRefusedBeforeThePartsAreDrawn()
    {
        StandInTool tool(env->folder(), slowCopy.arg(0.2));
        tool.setSource(QSize(2480, 4000)); // every part more than two landscape pages
        PageRenderProfile statement = RenderProfiles::paymentPendingStatement();
        statement.pageLimit = 20;
        QVERIFY(!renderHtmlToPages(nullptr, tableOfRows(2000), statement));
        QCOMPARE(env->desktop.lastMessage().icon, QMessageBox::Warning);
        const QString shown = env->desktop.lastShown();
        QVERIFY2(shown.startsWith("Print|The payment pending statement is too long to print: it would fill about ")
                     && shown.endsWith(" pages, more than the 20 one print can hold.\n"
                                       "Show a shorter period or one customer, and print again."),
                 qPrintable(shown));
        QVERIFY2(tool.runs().size() < 20, qPrintable(QString::number(tool.runs().size()))); // of some 35 parts
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());

        PageRenderProfile invoice = RenderProfiles::taxInvoice(4);
        invoice.pageLimit = 2;
        QVERIFY(!renderHtmlToPages(nullptr, QStringList{"<p>1</p>", "<p>2</p>", "<p>3</p>"}, invoice));
        QCOMPARE(env->desktop.lastShown(),
                 QString("Print|Invoice 4 is too long to print: it would fill about 3 pages, more than the 2 one print "
                         "can hold.\nBill its challans on several invoices of fewer lines."));
        QVERIFY(tool.runs().size() < 20);
        QCOMPARE(env->desktop.messages.size(), 2);
        QCOMPARE(env->desktop.previews.size(), 0);

        StandInTool tall(env->folder(), "if grep -q 'Company head' \"$html\"; then cp \"$dir/tall.png\" \"$img\"; "
                                       "else cp \"$dir/source.png\" \"$img\"; fi");
        tall.setSource(QSize(2480, 3400), "tall"); // two landscape pages
        tall.setSource(QSize(2480, 200));
        statement.pageLimit = 10;
        const QString headed = tableOfRows(2000).replace("<body>", "<body><div>Company head</div>");
        QVERIFY(renderHtmlToPages(nullptr, headed, statement));
        QCOMPARE(env->desktop.messages.size(), 2);
        QVERIFY(env->desktop.previews.value(0).pageCount <= 10 && env->desktop.previews.size() == 1);
    }

    void runsWithinTheMemoryBudget()
    {
        const qint64 mb = qint64(1) << 20, tall = RenderPlatform::pictureBytes(2480, RenderPlatform::bandRows + 1);
        // Bytes a run, cores, runs at once: one a core while the budget holds,
        // never fewer than one, one a core when nothing is known.
        const QList<std::array<qint64, 3>> cases{
            {30 * mb, 8, 8}, {30 * mb, 64, 17}, {tall, 8, 1}, {2048 * mb, 8, 1}, {0, 4, 4}};
        for (const auto &[perRun, cores, runs] : cases)
            QCOMPARE(RenderPlatform::runsWithin(PagePictures::previewBudgetBytes, perRun, int(cores)), int(runs));
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
        // The most runs at one moment, from the "+" and "-" each wrote.
        const auto mostAtOnce = [this] {
            QFile file(env->folder() + "/running");
            int running = 0, most = 0;
            for (const char c : file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray())
                most = qMax(most, running += c == '+' ? 1 : c == '-' ? -1 : 0);
            QFile::remove(file.fileName());
            return most;
        };
        const QStringList four{"<p>1</p>", "<p>2</p>", "<p>3</p>", "<p>4</p>"};
        QVERIFY(renderHtmlToPages(nullptr, four, RenderProfiles::taxInvoice(1)));
        QVERIFY2(mostAtOnce() > 1, "A4 pages run together");
        PageRenderProfile wide = RenderProfiles::taxInvoice(2);
        wide.toolArguments = {"--disable-smart-width", "--width", "12000"}; // some 800 MB a page
        QVERIFY(renderHtmlToPages(nullptr, four, wide));
        QCOMPARE(mostAtOnce(), 1);
        QCOMPARE(env->desktop.previews.size(), 2);
    }
};

QTEST_MAIN(TestComposedPrint)
#include "tst_composedprint.moc"
