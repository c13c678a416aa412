// The page renderer with a stand-in for wkhtmltoimage in the application
// folder (found before the installed tool): what it is given, what each use
// shows when it fails, and how the pictures reach the printed pages.

#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/printtools.h"
#include "support/standintool.h"
#include "support/testenvironment.h"

#include "output/pagerenderer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

const QString failSecondPage = "case \"$img\" in *_1.png) exit 1;; esac\ncp \"$dir/source.png\" \"$img\"";
const QString exit1 = "\nwkhtmltoimage ended with exit code 1.";
const QString noPicture = "\nwkhtmltoimage wrote no picture that can be read.";


// Notes whether the wait cursor shows when the renderer asks for its
// folder (the tool runs then) and when it shows a box or the preview.
class CursorWatch : public RecordingDesktop
{
public:
    QStringList seen;
    QString temporaryFolder() override { return note("folder"); }
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        return note("message"), RecordingDesktop::message(parent, icon, title, text, buttons, defaultButton);
    }
    void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) override
    {
        note("preview"), RecordingDesktop::printPreview(parent, printer, title, paint, flags);
    }
    QString note(const QString &what)
    {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        seen << what + (cursor && cursor->shape() == Qt::WaitCursor ? " waiting" : "");
        return tempFolder;
    }
};


// A table of `rows` rows as the statements print them.
QString tableOfRows(int rows)
{
    QString html = "<html><head><style>table { width: 100%; border-collapse: collapse; } td { border: 1px solid #000; "
                   "padding: 4px; }</style></head><body><table>";
    for (int i = 1; i <= rows; ++i)
        html += QString("<tr><td>%1/26-27</td><td>Customer %1</td><td>1,234.50</td></tr>").arg(i);
    return html + "</table></body></html>";
}

} // namespace

class TestPageRenderer : public QObject
{
    Q_OBJECT

    std::optional<TestEnvironment> env; // fresh for every test

private slots:
    void init() { env.emplace(); }
    void cleanup() { env.reset(); }

    void challanRunsTheToolAsDescribed()
    {
        const QString temp = env->desktop.tempFolder;
        StandInTool tool(env->folder());
        QVERIFY(renderHtmlToPages(nullptr, "<html><head><style>* {}</style></head><body>Ramesh &amp; Co ₹</body></html>",
                                  RenderProfiles::deliveryChallan(7)));

        QCOMPARE(tool.runs().size(), 1);
        QStringList args = tool.runs().first();
        // The files of one render lie in a folder of its own in the temporary folder.
        const QString folder = QFileInfo(args.value(13)).path();
        QVERIFY2(folder.startsWith(temp + "/print_"), qPrintable(folder));
        QVERIFY2(args.value(12).startsWith(folder + "/challan_") && args.value(12).endsWith(".html"), qPrintable(args.value(12)));
        args[12] = "<html>";
        // The first band of rows; a page that fits it needs no other run.
        QCOMPARE(args, (QStringList{"--enable-local-file-access", "--disable-smart-width", "--width", "2480", "--zoom",
                                    "2.5", "--crop-y", "0", "--crop-h", "32001", "--quality", "100", "<html>",
                                    folder + "/challan_preview.png"}));
        // The page reaches the tool as UTF-8, declared so, and zoomed through its
        // style because this build ignores --zoom.
        QVERIFY(tool.htmlOfRun(1).contains(
            "<head><meta charset=\"utf-8\"><style>html { zoom: 2.5; }</style><style>* {}</style></head>"
            "<body>Ramesh &amp; Co ₹</body>"));
        QCOMPARE(env->desktop.previews.size(), 1);
        QCOMPARE(env->desktop.previews.first().title, QStringLiteral("DC Preview - 7"));
        // Neither the picture nor the HTML file stays behind, nor their folder.
        QCOMPARE(printLeftovers(temp), QStringList());
    }

    void patchedToolKeepsItsOwnZoom()
    {
        StandInTool tool(env->folder(), StandInTool::copySource, StandInTool::patchedVersion);
        QVERIFY(renderHtmlToPages(nullptr, "<html><head></head><body>x</body></html>", RenderProfiles::deliveryChallan(1)));
        QCOMPARE(tool.htmlOfRun(1), QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>x</body></html>"));
        QVERIFY(tool.runs().first().contains("--zoom"));

        // A page that declares its character set keeps it; <header> is no head.
        const QString declared = "<html><HEAD><meta charset='utf-8'></HEAD><header>h</header></html>";
        QCOMPARE(RenderPlatform::prepareHtml(declared, 1.0), declared);
    }

    // Each use tells a failed run by its own test; the challan looks only for
    // the picture, so a picture with exit code 1 previews.
    void successTestsOfTheUses()
    {
        StandInTool tool(env->folder(), "cp \"$dir/source.png\" \"$img\"; exit 1");
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(2)));
        // Every page of an invoice rendered: one printed page each, under its title.
        StandInTool whole(env->folder());
        QVERIFY(renderHtmlToPages(nullptr, QStringList{"<p>one</p>", "<p>two</p>"}, RenderProfiles::taxInvoice(12)));
        QCOMPARE(env->desktop.previews.size(), 2);
        QCOMPARE(env->desktop.previews.last().title, QStringLiteral("Invoice - 12"));
        QCOMPARE(env->desktop.previews.last().pageCount, 2);
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());
    }

    void missingToolForEachUse()
    {
        NoToolOnPath noPath;
        const QList<QPair<PageRenderProfile, QString>> uses = {
            {RenderProfiles::taxInvoice(1), "Error|wkhtmltoimage.exe not found!"},
            {RenderProfiles::deliveryChallan(1), "Error|wkhtmltoimage.exe not found in app folder!"},
            {RenderProfiles::salarySlip("A"), "Missing Executable|wkhtmltoimage.exe not found in application directory!"},
            {RenderProfiles::paymentReceipt(), "Missing Executable|wkhtmltoimage.exe not found in app folder!"},
            {RenderProfiles::supplierStatement(),
             "Missing Executable|wkhtmltoimage.exe not found in application directory!"},
            // The statements start the tool by name unchecked: it fails to run.
            {RenderProfiles::customerPaymentStatement(), "Error|wkhtmltoimage failed:\nwkhtmltoimage could not be started."},
        };
        for (const auto &[profile, shown] : uses) {
            env->desktop.clear();
            QVERIFY(!renderHtmlToPages(nullptr, QStringList{"<html></html>"}, profile));
            QCOMPARE(env->desktop.messages.size(), 1);
            QCOMPARE(env->desktop.lastShown(), shown);
            QCOMPARE(env->desktop.previews.size(), 0);
        }
    }

    void htmlFileThatCannotBeWritten()
    {
        StandInTool tool(env->folder());
        env->desktop.tempFolder = env->folder() + "/no/such/folder";

        QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(1)));
        QCOMPARE(env->desktop.lastShown(), QString("Error|Cannot create temp HTML file!"));

        // The salary slip says it failed, and shows no earlier slip either.
        env->desktop.clear();
        QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::salarySlip("A")));
        QCOMPARE(env->desktop.lastShown(), QString("Error|Failed to render salary slip preview."));
        QCOMPARE(env->desktop.previews.size(), 0);
        QCOMPARE(tool.runs().size(), 0);
    }

    // A failed, stopped or overlong run, or a picture missing or undecodable (it
    // would print blank), fails the whole document: one box saying why (the
    // tool's own words where it gave them), no preview, no picture left, and a
    // picture of the same name that an earlier version left in the temporary
    // folder neither shown nor touched.
    void failedRunFailsTheDocument_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<PageRenderProfile>("profile");
        QTest::addColumn<QString>("shown");
        const QString picture = "cp \"$dir/source.png\" \"$img\"";
        const QStringList one{"<p>one</p>"}, two{"<p>one</p>", "<p>two</p>"};
        const PageRenderProfile invoice = RenderProfiles::taxInvoice(12);
        PageRenderProfile challan = RenderProfiles::deliveryChallan(7);
        challan.paint = RenderPaint::PerPage;
        challan.imageName = QStringLiteral("challan_preview_%1.png");
        const QString errorOutput = "echo 'Error: page could not be loaded' >&2; exit 1";
        QTest::newRow("challan, error output") << errorOutput << one << RenderProfiles::deliveryChallan(3)
                                               << "Error|Image generation failed!\nError: page could not be loaded\n";
        QTest::newRow("pending statement, error output")
            << errorOutput << one << RenderProfiles::paymentPendingStatement()
            << "Error|wkhtmltoimage failed:\nError: page could not be loaded\n";
        QTest::newRow("slip, no picture") << "exit 0" << one << RenderProfiles::salarySlip("Anil")
                                          << "Error|Failed to render salary slip preview." + noPicture;
        QTest::newRow("receipt, exit code 1") << picture + "; exit 1" << one << RenderProfiles::paymentReceipt()
                                              << "Error|Failed to render receipt image." + exit1;
        QTest::newRow("statement, exit code 1") << picture + "; exit 1" << one << RenderProfiles::supplierStatement()
                                                << "Error|Failed to render statement preview." + exit1;
        QTest::newRow("invoice, second page fails") << failSecondPage << (two + QStringList{"<p>three</p>"}) << invoice
                                                    << "Error|Failed to generate invoice!" + exit1;
        QTest::newRow("invoice, no picture") << "exit 0" << two << invoice
                                             << "Error|Failed to generate invoice!" + noPicture;
        QTest::newRow("invoice, second picture broken")
            << "case \"$img\" in *_1.png) echo broken > \"$img\";; *) " + picture + ";; esac" << two << invoice
            << "Error|Failed to generate invoice!" + noPicture;
        QTest::newRow("receipt, picture broken") << "echo broken > \"$img\"" << one << RenderProfiles::paymentReceipt()
                                                 << "Error|Failed to render receipt image." + noPicture;
        QTest::newRow("long challan, second page fails") << failSecondPage << two << challan
                                                         << "Error|Image generation failed!" + exit1;
        QTest::newRow("receipt, tool killed") << "kill -9 $$" << one << RenderProfiles::paymentReceipt()
                                              << "Error|Failed to render receipt image.\nwkhtmltoimage was stopped (signal 9).";
        PageRenderProfile limited = RenderProfiles::deliveryChallan(5);
        limited.timeLimitMs = 500; // the run is ended, not waited for
        QTest::newRow("challan, past the time limit")
            << picture + "; exec sleep 30" << one << limited
            << "Error|Image generation failed!\nwkhtmltoimage did not finish within 0.5 seconds.";
    }

    void failedRunFailsTheDocument()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, pages);
        QFETCH(PageRenderProfile, profile);
        StandInTool tool(env->folder(), script);
        QImage(10, 10, QImage::Format_RGB32).save(env->desktop.tempFolder + "/challan_preview.png");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!(pages.size() == 1 ? renderHtmlToPages(nullptr, pages.first(), profile)
                                    : renderHtmlToPages(nullptr, pages, profile)));
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        if (script == failSecondPage) { // the pages run together, the others ended as it fails
            const QList<QStringList> runs = tool.runs();
            QVERIFY(std::any_of(runs.begin(), runs.end(), [](const QStringList &run) { return run.last().endsWith("_1.png"); }));
        }
        QCOMPARE(env->desktop.messages.size(), 1);
        QCOMPARE(env->desktop.lastMessage().icon, QMessageBox::Critical);
        QTEST(env->desktop.lastShown(), "shown");
        QCOMPARE(env->desktop.previews.size(), 0);
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList{"challan_preview.png"});
    }

    void tallPictureIsScaledDownToItsPage_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QRect>("target");
        // On a page of 1000 x 1400: one that fits keeps the page width at the
        // top, as does one exactly as tall; a taller one fits the page height,
        // centred.
        QTest::newRow("fits") << QSize(2480, 3000) << QRect(0, 0, 1000, 1210);
        QTest::newRow("exactly") << QSize(2000, 2800) << QRect(0, 0, 1000, 1400);
        QTest::newRow("taller") << QSize(2480, 4368) << QRect(102, 0, 795, 1400);
    }

    void tallPictureIsScaledDownToItsPage()
    {
        QFETCH(QSize, image);
        QFETCH(QRect, target);
        QCOMPARE(RenderPlatform::pictureTarget(image, QSize(1000, 1400)), target);
    }

    void tallPicturePrintsItsBottom()
    {
        // A challan page 2480 x 4368 (a cell wrapped) runs on to a second page:
        // the dark band at its bottom (the signature) prints at full size.
        StandInTool tool(env->folder());
        QImage source(2480, 4368, QImage::Format_RGB32);
        source.fill(Qt::white);
        QPainter(&source).fillRect(0, 4168, 2480, 200, Qt::black);
        QVERIFY(source.save(env->folder() + "/source.png"));
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(4)));
        QCOMPARE(env->desktop.previews.size(), 1);
        QCOMPARE(env->desktop.previews.first().pageCount, 2);

        const QString prefix = env->desktop.tempFolder + "/printed";
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", "20", "-f", "2", "-l", "2", "-png", "-singlefile",
                                                env->desktop.previews.first().pdfPath, prefix}), 0);
        const QImage page(prefix + ".png");
        QVERIFY(!page.isNull());
        // Page 2 holds the last 4368 - 3558 rows: the band is about a quarter of
        // the picture's 810 rows there, spanning the page width.
        int darkRows = 0;
        for (int y = 0; y < page.height(); ++y)
            darkRows += qGray(page.pixel(page.width() / 2, y)) < 128 ? 1 : 0;
        const int bandRows = qRound(200.0 / 2480 * 200 / 297 * page.height());
        QVERIFY2(qAbs(darkRows - bandRows) <= 2, qPrintable(QString("%1 of %2").arg(darkRows).arg(bandRows)));
        QVERIFY(qGray(page.pixel(page.width() / 20, darkRows > 0 ? 30 : 0)) > 128);
    }

    void slicedPictureFillsAsManyPagesAsItNeeds()
    {
        // The payment pending statement on landscape A4 less 10 mm margins
        // (277 by 190 mm): a picture 2480 wide fills a page every 1701 rows.
        StandInTool tool(env->folder());
        tool.setSource(QSize(2480, 3300));
        QVERIFY(renderHtmlToPages(nullptr, "<html><body>Pending</body></html>", RenderProfiles::paymentPendingStatement()));
        tool.setSource(QSize(2480, 1650));
        QVERIFY(renderHtmlToPages(nullptr, "<html><body>Pending</body></html>", RenderProfiles::paymentPendingStatement()));
        QCOMPARE(env->desktop.previews.size(), 2);
        QCOMPARE(env->desktop.previews.at(0).pageCount, 2);
        QCOMPARE(env->desktop.previews.at(1).pageCount, 1);
        QCOMPARE(env->desktop.previews.at(0).title, QStringLiteral("Payment Pending Statement"));
    }

    void progressIsNoReason_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("reason");
        const QString progress = "Loading page (1/2)\n[>          ] 0%\r[=====>     ] 50%\r[==========] 100%\r"
                                 "Rendering (2/2)                                \n[>   ] 0%\r[====] 100%\rDone\n";
        QTest::newRow("progress alone") << progress << QString();
        QTest::newRow("an error among it") << "QStandardPaths: XDG_RUNTIME_DIR not set\n" + progress
                                                     + "Exit with code 1, due to unknown error.\n"
                                              << QString("Exit with code 1, due to unknown error.\n");
        QTest::newRow("error text as it stands") << "Error: page could not be loaded\n"
                                                 << QString("Error: page could not be loaded\n");
        const QString painter = "QPainter::begin: Paint device returned engine == 0\n";
        QString repeated, first20 = painter;
        for (int i = 0; i < 5000; ++i) {
            repeated += painter + "line " + QString::number(i) + "\n";
            first20 += i < 19 ? "line " + QString::number(i) + "\n" : QString();
        }
        QTest::newRow("a line repeated, many lines") << repeated << first20;
    }

    void progressIsNoReason()
    {
        QFETCH(QString, output);
        QTEST(RenderPlatform::toolErrorText(output), "reason");
    }

    void waitCursorOnlyWhileTheToolRuns()
    {
        CursorWatch watch;
        watch.appFolder = env->folder();
        Desktop::setHandler(&watch);
        StandInTool tool(env->folder());
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::supplierStatement()));
        StandInTool failing(env->folder(), "exit 1");
        QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::salarySlip("A")));
        Desktop::setHandler(&env->desktop);
        QCOMPARE(watch.seen.join(", "), QString("folder waiting, preview, folder waiting, message"));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void picturesReachThePreviewWithoutAlpha()
    {
        // The tool's RGBA picture, opaque as it paints it: a preview holds a
        // copy of every page of any other format than RGB32.
        QImage rgba(40, 30, QImage::Format_ARGB32);
        rgba.fill(qRgba(10, 120, 200, 255));
        const QString path = env->desktop.tempFolder + "/rgba.png";
        QVERIFY(rgba.save(path));
        const QImage loaded = RenderPlatform::loadPicture(path);
        QCOMPARE(loaded.format(), QImage::Format_RGB32);
        QCOMPARE(loaded.pixel(39, 29), qRgb(10, 120, 200));
    }

    // Cancel in the progress dialog, which shows within a second with the
    // pages drawn (no total while the statement is not cut to its end): every
    // run ends, nothing is shown, and the temporary folder is as it was.
    void cancelLeavesTheTemporaryFolderAsItWas()
    {
        const QString temp = env->desktop.tempFolder;
        QVERIFY(writeFile(temp + "/earlier.txt", "kept"));
        StandInTool tool(env->folder(), "echo $$ >> \"$dir/pids\"; cp \"$dir/source.png\" \"$img\"; exec sleep 30");

        QString label;
        bool waitCursor = true;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QProgressDialog *>(window);
                if (!dialog || !dialog->isVisible() || !label.isEmpty())
                    continue;
                label = dialog->labelText();
                waitCursor = QGuiApplication::overrideCursor() != nullptr;
                QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
            }
        });
        user.start(50);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!renderHtmlToPages(nullptr, tableOfRows(100), RenderProfiles::paymentPendingStatement()));
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(label, QString("Drawing the pages for printing: 0 pages drawn"));
        QVERIFY(!waitCursor); // the dialog shows instead
        QCOMPARE(env->desktop.messages.size(), 0);
        QCOMPARE(env->desktop.previews.size(), 0);
        QCOMPARE(printLeftovers(temp), QStringList{"earlier.txt"});
        const QStringList pids = QString::fromUtf8(fileBytes(env->folder() + "/pids")).split('\n', Qt::SkipEmptyParts);
        QVERIFY(!pids.isEmpty());
        for (const QString &pid : pids)
            QVERIFY2(!QFileInfo::exists("/proc/" + pid), qPrintable(pid));
    }

    // Each render has a folder of its own: a render started while another is
    // drawn (a second copy of the program printing the same document) shows its
    // picture, and the first its own.
    void twoRendersAtOneMomentEachShowTheirOwnPicture()
    {
        StandInTool tool(env->folder(), "if grep -q FIRST \"$html\"; then sleep 1; cp \"$dir/first.png\" \"$img\"; "
                                       "else cp \"$dir/second.png\" \"$img\"; fi");
        tool.setSource(QSize(248, 351), "first");
        tool.setSource(QSize(248, 120), "second");
        bool second = false;
        QTimer::singleShot(300, [&] {
            second = renderHtmlToPages(nullptr, "<html><body>SECOND</body></html>", RenderProfiles::deliveryChallan(2));
        });
        QVERIFY(renderHtmlToPages(nullptr, "<html><body>FIRST</body></html>", RenderProfiles::deliveryChallan(1)));
        QVERIFY(second);
        QCOMPARE(env->desktop.previews.size(), 2);
        QCOMPARE(env->desktop.previews.at(0).title, QStringLiteral("DC Preview - 2"));
        QCOMPARE(pdfPictureSizes(env->desktop.previews.at(0).pdfPath), QList<QSize>{QSize(248, 120)});
        QCOMPARE(env->desktop.previews.at(1).title, QStringLiteral("DC Preview - 1"));
        QCOMPARE(pdfPictureSizes(env->desktop.previews.at(1).pdfPath), QList<QSize>{QSize(248, 351)});
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());
    }

    // A disk that fills up while the HTML is written: the document is refused
    // with the reason instead of drawn cut short.
    void shortHtmlWriteIsRefused()
    {
        StandInTool tool(env->folder());
        const QString html = "<html><body>" + QString(4000, 'x') + "</body></html>";
        {
            FileSizeLimit fullDisk(1024);
            QVERIFY(!renderHtmlToPages(nullptr, html, RenderProfiles::paymentReceipt()));
        }
        const QString shown = env->desktop.lastShown();
        QVERIFY2(shown.startsWith("Error|Unable to create temporary HTML file.\nThe document could not be written whole to "
                                  + env->desktop.tempFolder + "/print_")
                     && shown.endsWith(": File too large"),
                 qPrintable(shown));
        QCOMPARE(tool.runs().size(), 0);
        QCOMPARE(env->desktop.previews.size(), 0);
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());
    }

    // While the tool runs the program keeps taking its events, but a click on
    // its windows waits for nothing: it is not acted on in the middle of a print.
    void userInputWaitsWhileTheDocumentIsDrawn()
    {
        StandInTool tool(env->folder(), "sleep 0.6; cp \"$dir/source.png\" \"$img\"");
        QPushButton button("Print");
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
        bool clickedMeanwhile = false;
        QTimer::singleShot(200, [&] {
            QTest::mouseClick(&button, Qt::LeftButton);
            clickedMeanwhile = true;
        });
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(1)));
        QVERIFY(clickedMeanwhile);
        QCOMPARE(clicks, 0);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }

    // A part whose picture runs past what one run draws is drawn again in two
    // halves, until each fits: every row is drawn once in the end.
    void partTooTallForOneRunIsHalved()
    {
        StandInTool tool(env->folder(), "if [ $(grep -o '<tr' \"$html\" | wc -l) -gt 10 ]; then cp \"$dir/tall.png\" \"$img\"; "
                                       "else cp \"$dir/source.png\" \"$img\"; fi");
        tool.setSource(QSize(200, RenderPlatform::bandRows + 1), "tall"); // taller than one run draws
        QVERIFY(renderHtmlToPages(nullptr, tableOfRows(40), RenderProfiles::deliveryChallan(1)));
        QCOMPARE(env->desktop.messages.size(), 0);
        int halved = 0, drawn = 0;
        for (const QString &html : tool.htmlGiven()) {
            const int rows = int(html.count("<tr"));
            if (rows > 10)
                ++halved;
            else
                drawn += rows;
        }
        QVERIFY(halved >= 1);
        QCOMPARE(drawn, 40);
        QCOMPARE(printLeftovers(env->desktop.tempFolder), QStringList());
    }

    // A document of no rows to part, taller than one run draws: the next run
    // draws on from the row the first ended at.
    void documentTallerThanOneRunIsDrawnInBands()
    {
        StandInTool tool(env->folder(), "case \"$*\" in *\"--crop-y 32000 \"*) cp \"$dir/source.png\" \"$img\";; "
                                       "*) cp \"$dir/tall.png\" \"$img\";; esac");
        tool.setSource(QSize(200, RenderPlatform::bandRows + 1), "tall");
        QVERIFY(renderHtmlToPages(nullptr, "<html><body>A long remark</body></html>", RenderProfiles::deliveryChallan(1)));
        QCOMPARE(env->desktop.messages.size(), 0);
        QCOMPARE(tool.runs().size(), 2);
        QCOMPARE(tool.runs().at(0).mid(6, 4), (QStringList{"--crop-y", "0", "--crop-h", "32001"}));
        QCOMPARE(tool.runs().at(1).mid(6, 4), (QStringList{"--crop-y", "32000", "--crop-h", "32001"}));
        // 32,000 rows 200 wide fill 112 portrait pages (287 of 200 mm), the band
        // after them one more.
        QCOMPARE(env->desktop.previews.value(0).pageCount, 113);
    }
};

QTEST_MAIN(TestPageRenderer)
#include "tst_pagerenderer.moc"
