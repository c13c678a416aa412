// The page renderer with a stand-in for wkhtmltoimage in the application
// folder: what it is given, what each use shows when it fails, and how the
// pictures reach the printed pages.

#include "support/recordingdesktop.h"
#include "support/standintool.h"

#include "app/pagerenderer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>

namespace {

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

// The printable area of the profile's printer, in device pixels.
QSize printablePage(const PageRenderProfile &profile)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (profile.orientation)
        printer.setPageOrientation(*profile.orientation);
    printer.setPageMargins(QMarginsF(profile.marginMm, profile.marginMm, profile.marginMm, profile.marginMm),
                           QPageLayout::Millimeter);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return printer.pageRect(QPrinter::DevicePixel).toRect().size();
}

// Runs with an empty program search path, so that only the application
// folder can hold the tool.
class NoToolOnPath
{
public:
    NoToolOnPath() : m_saved(qgetenv("PATH")) { qputenv("PATH", m_empty.path().toUtf8()); }
    ~NoToolOnPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
    QTemporaryDir m_empty;
};

} // namespace

class TestPageRenderer : public QObject
{
    Q_OBJECT

private slots:
    void challanRunsTheToolAsDescribed();
    void patchedToolKeepsItsOwnZoom();
    void failureShowsTheToolsErrorOutput();
    void successTestsOfTheUses();
    void missingToolForEachUse();
    void htmlFileThatCannotBeWritten();
    void perPageLeavesOutAPageThatFailed();
    void slicedPictureFillsAsManyPagesAsItNeeds();
    void toolRunningPastTheLimitIsEnded();
    void preparedHtml();
    void toolLookupAndArguments();
};

void TestPageRenderer::challanRunsTheToolAsDescribed()
{
    TestEnvironment env;
    const QString temp = env.desktop.tempFolder;
    StandInTool tool(env.folder());
    tool.setSource(QSize(2480, 3508));

    const QString html = QStringLiteral("<html><head><style>* { font-family: 'Times New Roman', serif; }</style>"
                                        "</head><body>DELIVERY CHALLAN Ramesh &amp; Co ₹</body></html>");
    QVERIFY(renderHtmlToPages(nullptr, html, RenderProfiles::deliveryChallan(7)));

    QCOMPARE(tool.runs().size(), 1);
    const QStringList args = tool.runs().first();
    QCOMPARE(args.size(), 10);
    QCOMPARE(args.mid(0, 8), (QStringList{"--enable-local-file-access", "--disable-smart-width", "--width", "2480",
                                         "--zoom", "2.5", "--quality", "100"}));
    QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(temp) + "/challan_\\w{6}\\.html$")
                 .match(args.at(8))
                 .hasMatch(),
             qPrintable(args.at(8)));
    QCOMPARE(args.at(9), temp + "/challan_preview.png");

    // The page reaches the tool as UTF-8, declared so, and zoomed through its
    // style because this build ignores --zoom.
    const QString given = tool.htmlOfRun(1);
    QVERIFY(given.contains("<head><meta charset=\"utf-8\"><style>html { zoom: 2.5; }</style><style>* {"));
    QVERIFY(given.contains("Ramesh &amp; Co ₹"));

    QCOMPARE(env.desktop.messages.size(), 0);
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews.first().title, QStringLiteral("DC Preview - 7"));
    QCOMPARE(env.desktop.previews.first().orientation, QPageLayout::Portrait);
    QCOMPARE(env.desktop.previews.first().pageCount, 1);

    // Neither the picture nor the temporary HTML file stays behind.
    QVERIFY(!QFile::exists(temp + "/challan_preview.png"));
    QCOMPARE(filesIn(temp, "challan_*.html"), QStringList());
}

void TestPageRenderer::patchedToolKeepsItsOwnZoom()
{
    TestEnvironment env;
    StandInTool tool(env.folder(), StandInTool::copySource, StandInTool::patchedVersion);
    tool.setSource(QSize(248, 350));
    QVERIFY(renderHtmlToPages(nullptr, "<html><head></head><body>x</body></html>",
                              RenderProfiles::deliveryChallan(1)));
    const QString given = tool.htmlOfRun(1);
    QVERIFY(given.contains("<meta charset=\"utf-8\">"));
    QVERIFY(!given.contains("zoom"));
    QVERIFY(tool.runs().first().contains("--zoom"));
}

void TestPageRenderer::failureShowsTheToolsErrorOutput()
{
    TestEnvironment env;
    const QString temp = env.desktop.tempFolder;
    StandInTool tool(env.folder(), "echo 'Error: page could not be loaded' >&2; exit 1");

    // A picture left by an earlier run must not pass for this one.
    QImage(10, 10, QImage::Format_RGB32).save(temp + "/challan_preview.png");
    QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(3)));

    QCOMPARE(env.desktop.messages.size(), 1);
    const auto m = env.desktop.messages.first();
    QCOMPARE(m.icon, QMessageBox::Critical);
    QCOMPARE(m.title, QStringLiteral("Error"));
    QCOMPARE(m.text, QStringLiteral("Image generation failed!\nError: page could not be loaded\n"));
    QCOMPARE(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(env.desktop.previews.size(), 0);
    QVERIFY(!QFile::exists(temp + "/challan_preview.png"));

    // The statements name the tool's output too.
    env.desktop.clear();
    QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::paymentPendingStatement()));
    QCOMPARE(env.desktop.lastShown(), QString("Error|wkhtmltoimage failed:\nError: page could not be loaded\n"));
}

void TestPageRenderer::successTestsOfTheUses()
{
    TestEnvironment env;
    const QString temp = env.desktop.tempFolder;

    {
        // Exit code 0 but no picture: the salary slip fails.
        StandInTool tool(env.folder(), "exit 0");
        QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::salarySlip("Anil")));
        QCOMPARE(env.desktop.lastShown(), QString("Error|Failed to render salary slip preview."));
    }
    {
        // A picture but exit code 1: the receipt fails, the challan (which
        // looks only for the picture) previews.
        env.desktop.clear();
        StandInTool tool(env.folder(), "cp \"$dir/source.png\" \"$img\"; exit 1");
        tool.setSource(QSize(124, 175));
        QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::paymentReceipt()));
        QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Failed to render receipt image."));
        QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::supplierStatement()));
        QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Failed to render statement preview."));
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(2)));
        QCOMPARE(env.desktop.previews.size(), 1);
    }
    {
        // Both: the single-page uses preview with their own titles and pages.
        env.desktop.clear();
        StandInTool tool(env.folder());
        tool.setSource(QSize(124, 175));
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::salarySlip("Anil Kumar")));
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::paymentReceipt()));
        QVERIFY(renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::supplierStatement()));
        QCOMPARE(env.desktop.messages.size(), 0);
        QCOMPARE(env.desktop.previews.size(), 3);
        QCOMPARE(env.desktop.previews.at(0).title, QStringLiteral("Salary Slip - Anil Kumar"));
        QCOMPARE(env.desktop.previews.at(1).title, QStringLiteral("Print Preview - Payment Receipt"));
        QCOMPARE(env.desktop.previews.at(2).title, QStringLiteral("Supplier Payment Statement"));
        QCOMPARE(env.desktop.previews.at(2).orientation, QPageLayout::Landscape);
        // Fixed picture names stay for the next print; temporary HTML goes.
        QVERIFY(QFile::exists(temp + "/salary_slip.png"));
        QVERIFY(QFile::exists(temp + "/receipt_preview.png"));
        QVERIFY(QFile::exists(temp + "/supplier_statement.png"));
        QCOMPARE(filesIn(temp, "*.html"), QStringList());
        const QList<QStringList> runs = tool.runs();
        QCOMPARE(runs.at(0).mid(1, 3), (QStringList{"--disable-smart-width", "--width", "1800"}));
        QCOMPARE(runs.at(1).mid(1, 5), (QStringList{"--disable-smart-width", "--width", "1240", "--zoom", "1.5"}));
        QCOMPARE(runs.at(2).mid(1, 3), (QStringList{"--disable-smart-width", "--width", "2200"}));
        QVERIFY(tool.htmlOfRun(2).contains("zoom: 1.5"));
    }
}

void TestPageRenderer::missingToolForEachUse()
{
    TestEnvironment env;
    NoToolOnPath noPath;
    QVERIFY(RenderPlatform::locateTool(env.folder()).isEmpty());

    struct Use
    {
        PageRenderProfile profile;
        QString title;
        QString text;
    };
    const QList<Use> uses = {
        {RenderProfiles::taxInvoice(1), "Error", "wkhtmltoimage.exe not found!"},
        {RenderProfiles::deliveryChallan(1), "Error", "wkhtmltoimage.exe not found in app folder!"},
        {RenderProfiles::salarySlip("A"), "Missing Executable",
         "wkhtmltoimage.exe not found in application directory!"},
        {RenderProfiles::paymentReceipt(), "Missing Executable", "wkhtmltoimage.exe not found in app folder!"},
        {RenderProfiles::supplierStatement(), "Missing Executable",
         "wkhtmltoimage.exe not found in application directory!"},
        // The statements start the tool by name unchecked: it fails to run.
        {RenderProfiles::paymentPendingStatement(), "Error", "wkhtmltoimage failed:\n"},
        {RenderProfiles::customerPaymentStatement(), "Error", "wkhtmltoimage failed:\n"},
    };
    for (const Use &use : uses) {
        env.desktop.clear();
        QVERIFY(!renderHtmlToPages(nullptr, QStringList{"<html></html>"}, use.profile));
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.messages.first().icon, QMessageBox::Critical);
        QCOMPARE(env.desktop.messages.first().title, use.title);
        QCOMPARE(env.desktop.messages.first().text, use.text);
        QCOMPARE(env.desktop.previews.size(), 0);
    }
    // The checked uses wrote nothing on the way; the statements wrote their
    // fixed HTML files before the tool failed to start.
    QCOMPARE(filesIn(env.desktop.tempFolder, "*.html"),
             (QStringList{"payment_pending.html", "supplier_payment.html"}));
}

void TestPageRenderer::htmlFileThatCannotBeWritten()
{
    TestEnvironment env;
    StandInTool tool(env.folder());
    tool.setSource(QSize(124, 175));
    env.desktop.tempFolder = env.folder() + "/no/such/folder";

    QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::deliveryChallan(1)));
    QCOMPARE(env.desktop.lastShown(), QString("Error|Cannot create temp HTML file!"));
    QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::paymentPendingStatement()));
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Unable to create temporary HTML file."));

    // The salary slip says nothing, and shows no earlier slip either.
    env.desktop.clear();
    QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", RenderProfiles::salarySlip("A")));
    QCOMPARE(env.desktop.messages.size(), 0);
    QCOMPARE(env.desktop.previews.size(), 0);
    QCOMPARE(tool.runs().size(), 0);
}

void TestPageRenderer::perPageLeavesOutAPageThatFailed()
{
    TestEnvironment env;
    const QString temp = env.desktop.tempFolder;
    {
        StandInTool tool(env.folder(), "case \"$img\" in *_1.png) exit 1;; esac\ncp \"$dir/source.png\" \"$img\"");
        tool.setSource(QSize(248, 350));
        QVERIFY(renderHtmlToPages(nullptr, QStringList{"<p>one</p>", "<p>two</p>", "<p>three</p>"},
                                  RenderProfiles::taxInvoice(12)));
        QCOMPARE(env.desktop.messages.size(), 0);
        QCOMPARE(env.desktop.previews.size(), 1);
        QCOMPARE(env.desktop.previews.first().title, QStringLiteral("Invoice - 12"));
        QCOMPARE(env.desktop.previews.first().pageCount, 2);

        const QList<QStringList> runs = tool.runs();
        QCOMPARE(runs.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(runs.at(i).last(), QStringLiteral("%1/invoice_page_%2.png").arg(temp).arg(i));
        QVERIFY(tool.htmlOfRun(2).contains("<p>two</p>"));
        QCOMPARE(filesIn(temp, "invoice_*"), QStringList());
    }
    {
        env.desktop.clear();
        StandInTool tool(env.folder(), "exit 0");
        QVERIFY(!renderHtmlToPages(nullptr, QStringList{"<p>one</p>", "<p>two</p>"}, RenderProfiles::taxInvoice(12)));
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.lastShown(), QString("Error|Failed to generate invoice!"));
        QCOMPARE(env.desktop.previews.size(), 0);
    }
    {
        // A document that needs every page (a long challan) does not print
        // with one missing: it fails as a whole.
        env.desktop.clear();
        StandInTool tool(env.folder(), "case \"$img\" in *_1.png) exit 1;; esac\ncp \"$dir/source.png\" \"$img\"");
        tool.setSource(QSize(248, 350));
        PageRenderProfile profile = RenderProfiles::deliveryChallan(7);
        profile.paint = RenderPaint::PerPage;
        profile.everyPageRequired = true;
        profile.imageName = QStringLiteral("challan_preview_%1.png");
        QVERIFY(!renderHtmlToPages(nullptr, QStringList{"<p>one</p>", "<p>two</p>"}, profile));
        QCOMPARE(env.desktop.previews.size(), 0);
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.lastMessage().text, RenderProfiles::deliveryChallan(7).failure.text);
        QCOMPARE(filesIn(temp, "challan_*"), QStringList());
    }
}

void TestPageRenderer::slicedPictureFillsAsManyPagesAsItNeeds()
{
    // The arithmetic: a picture exactly two strips tall gives two strips, the
    // second taking the rest from the top of its page.
    const QSize page(1000, 700);
    const QList<RenderPlatform::Strip> two = RenderPlatform::stripsForPages(QSize(500, 700), page);
    QCOMPARE(two.size(), 2);
    QCOMPARE(two.at(0).source, QRect(0, 0, 500, 350));
    QCOMPARE(two.at(1).source, QRect(0, 350, 500, 350));
    QCOMPARE(two.at(1).target, QRect(0, 0, 1000, 700));
    const QList<RenderPlatform::Strip> three = RenderPlatform::stripsForPages(QSize(500, 701), page);
    QCOMPARE(three.size(), 3);
    QCOMPARE(three.at(2).source, QRect(0, 700, 500, 1));
    QCOMPARE(three.at(2).target, QRect(0, 0, 1000, 2));
    QVERIFY(RenderPlatform::stripsForPages(QSize(), page).isEmpty());
    QCOMPARE(RenderPlatform::pictureTarget(QSize(2480, 1000), 9000), QRect(0, 0, 9000, 3629));

    // End to end with the payment pending statement.
    TestEnvironment env;
    const QString temp = env.desktop.tempFolder;
    StandInTool tool(env.folder());
    const PageRenderProfile profile = RenderProfiles::paymentPendingStatement();
    const QSize printable = printablePage(profile);
    const int stripHeight = int(printable.height() / (double(printable.width()) / 2480));

    tool.setSource(QSize(2480, stripHeight * 19 / 10));
    QVERIFY(renderHtmlToPages(nullptr, "<html><body>Pending</body></html>", profile));
    tool.setSource(QSize(2480, stripHeight * 9 / 10));
    QVERIFY(renderHtmlToPages(nullptr, "<html><body>Pending</body></html>", profile));

    QCOMPARE(env.desktop.previews.size(), 2);
    QCOMPARE(env.desktop.previews.at(0).pageCount, 2);
    QCOMPARE(env.desktop.previews.at(1).pageCount, 1);
    QCOMPARE(env.desktop.previews.at(0).title, QStringLiteral("Payment Pending Statement"));
    QCOMPARE(env.desktop.previews.at(0).orientation, QPageLayout::Landscape);
    QCOMPARE(tool.runs().first(), (QStringList{"--enable-local-file-access", "--width", "2480", "--zoom", "2.0",
                                              "--quality", "100", temp + "/payment_pending.html",
                                              temp + "/payment_pending.png"}));
    // The statement's files keep their names and stay.
    QFile html(temp + "/payment_pending.html");
    QVERIFY(html.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("<body>Pending</body>"));
    QVERIFY(QFile::exists(temp + "/payment_pending.png"));
}

void TestPageRenderer::toolRunningPastTheLimitIsEnded()
{
    TestEnvironment env;
    StandInTool tool(env.folder(), "cp \"$dir/source.png\" \"$img\"; exec sleep 30");
    tool.setSource(QSize(124, 175));
    PageRenderProfile profile = RenderProfiles::deliveryChallan(5);
    profile.timeLimitMs = 500;

    QElapsedTimer timer;
    timer.start();
    QVERIFY(!renderHtmlToPages(nullptr, "<html></html>", profile));
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(env.desktop.lastMessage().text, QStringLiteral("Image generation failed!\n"));
    QCOMPARE(env.desktop.previews.size(), 0);
}

void TestPageRenderer::preparedHtml()
{
    using RenderPlatform::prepareHtml;
    QCOMPARE(prepareHtml("<html><head><title>t</title></head></html>", 1.0),
             QStringLiteral("<html><head><meta charset=\"utf-8\"><title>t</title></head></html>"));
    QCOMPARE(prepareHtml("<!DOCTYPE html><html lang='en'><body>x</body></html>", 2.0),
             QStringLiteral("<!DOCTYPE html><html lang='en'><head><meta charset=\"utf-8\">"
                            "<style>html { zoom: 2; }</style></head><body>x</body></html>"));
    // A page that declares its character set keeps it; <header> is no head.
    const QString declared = "<html><HEAD><meta charset='utf-8'></HEAD><header>h</header></html>";
    QCOMPARE(prepareHtml(declared, 1.0), declared);
    QCOMPARE(prepareHtml("<p>bare</p>", 1.0), QStringLiteral("<head><meta charset=\"utf-8\"></head><p>bare</p>"));

    QCOMPARE(RenderPlatform::requestedZoom({"--width", "2480", "--zoom", "2.5"}), 2.5);
    QCOMPARE(RenderPlatform::requestedZoom({"--width", "2480"}), 1.0);
    QCOMPARE(RenderPlatform::requestedZoom({"--zoom"}), 1.0);
    QVERIFY(RenderPlatform::reportsPatchedQt(StandInTool::patchedVersion));
    QVERIFY(!RenderPlatform::reportsPatchedQt(StandInTool::unpatchedVersion));
}

void TestPageRenderer::toolLookupAndArguments()
{
    TestEnvironment env;
    // The installed tool serves when the application folder has none...
    const QString installed = RenderPlatform::locateTool(env.folder());
    if (!installed.isEmpty())
        QVERIFY(!installed.startsWith(env.folder()));
    // ...and the application folder's comes first.
    StandInTool tool(env.folder());
    QCOMPARE(RenderPlatform::locateTool(env.folder()), env.folder() + "/" + RenderPlatform::toolFileName());
    QVERIFY(!RenderPlatform::toolHonoursZoom(RenderPlatform::locateTool(env.folder())));
}

QTEST_MAIN(TestPageRenderer)
#include "tst_pagerenderer.moc"
