#include "pagerenderer.h"

#include "desktop.h"
#include "renderjob.h"

#include "core/readconnection.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <climits>

#include <memory>

namespace {

using namespace RenderPlatform;

// The wait cursor while the document is drawn, taken down before anything
// is shown.
class WaitCursor
{
public:
    WaitCursor()
        : m_shown(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_shown)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() { restore(); }
    void restore()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
        m_shown = false;
    }

private:
    bool m_shown;
};

// While a document is drawn the windows keep painting, but what the user
// does to them waits: a click on Print again, or closing the window that
// printed, would act in the middle of this print. The progress dialog alone
// takes input.
class HeldInput : public QObject
{
public:
    HeldInput() { qApp->installEventFilter(this); }
    ~HeldInput() override { qApp->removeEventFilter(this); }
    void allow(QWidget *dialog) { m_allowed = dialog; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::Close:
            break;
        default:
            return false;
        }
        if (event->type() == QEvent::Close && !event->spontaneous())
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (m_allowed && widget && (widget == m_allowed || m_allowed->isAncestorOf(widget)))
            return false;
        if (!widget && watched->isWindowType() && m_allowed && static_cast<QObject *>(m_allowed->windowHandle()) == watched)
            return false;
        return true;
    }

private:
    QPointer<QWidget> m_allowed;
};

// From shortly after the click until the pictures are drawn, a dialog that
// says what is being done, counts the pages drawn, and has Cancel.
class RenderProgress : public QObject
{
public:
    RenderProgress(QWidget *parent, const QString &title, WaitCursor &cursor, HeldInput &input,
                   std::function<void()> cancel)
        : m_parent(parent)
        , m_title(title)
        , m_cursor(cursor)
        , m_input(input)
        , m_cancel(std::move(cancel))
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &RenderProgress::show);
        m_timer.start(kProgressAfterMs);
    }
    ~RenderProgress() override { close(); }

    // The pictures are drawn from now on.
    void drawing(const RenderJob &job)
    {
        m_job = &job;
        connect(&job, &RenderJob::progressed, this, &RenderProgress::update);
        update();
    }

    // Gone at once: nothing shows behind what comes next.
    void close()
    {
        m_timer.stop();
        if (m_dialog) {
            m_dialog->disconnect(this);
            m_dialog->hide();
            delete m_dialog;
        }
    }

private:
    static constexpr int kProgressAfterMs = 700;
    static constexpr int kSteps = 1000;

    void show()
    {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        m_dialog = new QProgressDialog(m_parent);
        m_dialog->setWindowTitle(m_title);
        // Not modal: a modal one would turn the event loop at every step it
        // counts; the windows behind it take no input meanwhile (HeldInput).
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(INT_MAX);
        m_dialog->setMinimumWidth(420);
        connect(m_dialog, &QProgressDialog::canceled, this, [this] { m_cancel(); });
        m_input.allow(m_dialog);
        update();
        m_cursor.restore(); // the dialog says the program is busy, and Cancel is to be clicked
        m_dialog->show();
    }

    void update()
    {
        if (!m_dialog)
            return;
        // The label first: the dialog never shows without one.
        if (!m_job) {
            m_dialog->setLabelText(QStringLiteral("Reading the document for printing..."));
            m_dialog->setRange(0, 0); // no measure yet
            return;
        }
        const int done = m_job->pagesDone();
        const int total = m_job->pageCount();
        m_dialog->setLabelText(total > 0 ? QStringLiteral("Drawing the pages for printing: %1 of %2").arg(done).arg(total)
                                         : QStringLiteral("Drawing the pages for printing: %1 %2 drawn")
                                               .arg(done)
                                               .arg(done == 1 ? QStringLiteral("page") : QStringLiteral("pages")));
        m_dialog->setRange(0, kSteps);
        m_dialog->setValue(qBound(0, int(m_job->drawnShare() * kSteps), kSteps));
    }

    QWidget *m_parent;
    QString m_title;
    WaitCursor &m_cursor;
    HeldInput &m_input;
    std::function<void()> m_cancel;
    const RenderJob *m_job = nullptr;
    QTimer m_timer;
    QPointer<QProgressDialog> m_dialog;
};

// Runs `work` on a thread of its own while the event loop turns, until it
// has ended.
void runAside(const std::function<void()> &work)
{
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create(work));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
}

void showMessage(QWidget *parent, const RenderMessage &message, const QString &detail = QString())
{
    if (!message.text.isEmpty())
        Desktop::critical(parent, message.title, message.text + detail);
}

// The use's failure message followed by why: the tool's error text where the
// use shows it as it stands, else on a line of its own. A document too long
// to print is no failure of the tool: a warning says what to do.
void showFailure(QWidget *parent, const PageRenderProfile &profile, const RenderFailure &failure)
{
    if (failure.tooLongPages > 0) {
        Desktop::warning(parent, QStringLiteral("Print"),
                         QStringLiteral("%1 is too long to print: it would fill about %2 pages, more than the %3 "
                                        "one print can hold.\n%4")
                             .arg(profile.documentName)
                             .arg(failure.tooLongPages)
                             .arg(profile.pageLimit)
                             .arg(profile.tooLongAdvice));
        return;
    }
    const RenderMessage &message =
        failure.htmlNotWritten && !profile.htmlNotWritten.text.isEmpty() ? profile.htmlNotWritten : profile.failure;
    if (profile.failureShowsErrorOutput && !failure.errorText.isEmpty()) {
        showMessage(parent, message, failure.errorText);
        return;
    }
    const QString why = failure.errorText.isEmpty() ? failure.reason : failure.errorText.trimmed();
    const bool onItsLine = message.text.endsWith(QLatin1Char('\n')) || why.isEmpty();
    showMessage(parent, message, (onItsLine ? QString() : QStringLiteral("\n")) + why);
}

void setUpPrinter(QPrinter &printer, const PageRenderProfile &profile)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (profile.orientation)
        printer.setPageOrientation(*profile.orientation);
    const qreal m = profile.marginMm;
    printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

// How far a document got on its way to the preview.
struct Drawn
{
    enum Outcome { Cancelled, Nothing, ToolMissing, Failed, Pages };
    Outcome outcome = Cancelled;
    PageRenderProfile profile;
    RenderMessage refusal;
    RenderFailure failure;
    std::shared_ptr<PagePictures> pages;
};

// Composes the document and draws its pages; the files of the render are
// gone when it returns.
Drawn drawDocument(QWidget *parent, const PageRenderProfile &given, const DocumentComposer &compose, QPrinter &printer,
                   WaitCursor &waiting)
{
    Drawn drawn;
    drawn.profile = given;
    const QString temporaryFolder = Desktop::temporaryFolder();
    const QString applicationFolder = Desktop::applicationFolder();
    const QString database = defaultDatabaseFile();

    HeldInput input;
    const auto stop = std::make_shared<std::atomic<bool>>(false);
    RenderJob *job = nullptr;
    bool drawing = false;
    RenderProgress progress(parent, given.previewTitle, waiting, input, [&] {
        *stop = true;
        if (job && drawing)
            job->cancel();
        else if (job)
            job->requestStop();
    });

    // The rows are read and the document composed on a thread of its own,
    // over a connection of its own.
    ComposedDocument composed;
    runAside([&] {
        const ReadConnection connection(database, stop);
        composed = compose();
    });
    if (*stop)
        return drawn;
    if (composed.pagesHtml.isEmpty()) {
        drawn.outcome = Drawn::Nothing;
        drawn.refusal = composed.refusal;
        return drawn;
    }
    if (composed.profile)
        drawn.profile = *composed.profile;
    const PageRenderProfile &profile = drawn.profile;

    QString tool = locateTool(applicationFolder);
    if (tool.isEmpty()) {
        if (profile.tool == RenderTool::ApplicationFolder) {
            drawn.outcome = Drawn::ToolMissing;
            return drawn;
        }
        tool = toolFileName(); // left to the program search; failing to start is a failed run
    }
    setUpPrinter(printer, profile);

    // This render's own folder: another render at the same moment, in this
    // copy of the program or another, has its own.
    QTemporaryDir folder(temporaryFolder + QStringLiteral("/print_XXXXXX"));
    RenderJob render(profile, tool, folder.path(), printer.pageRect(QPrinter::DevicePixel).toRect().size());
    job = &render;
    bool written = false;
    if (folder.isValid()) {
        runAside([&] {
            // A tool built without its patched Qt ignores "--zoom"; the page
            // itself is zoomed then, so the picture looks as the document
            // means it to.
            const double zoom = requestedZoom(profile.toolArguments);
            const double cssZoom = zoom != 1.0 && !toolHonoursZoom(tool) ? zoom : 1.0;
            written = render.write(composed.pagesHtml, cssZoom);
        });
    }
    if (*stop)
        return drawn;
    if (!written) {
        drawn.outcome = Drawn::Failed;
        drawn.failure = render.failure().value_or(RenderFailure{QString(), QString(), true, 0});
        return drawn;
    }

    drawing = true;
    progress.drawing(render);
    QEventLoop loop;
    QObject::connect(&render, &RenderJob::finished, &loop, &QEventLoop::quit);
    render.start();
    if (!render.isFinished())
        loop.exec();
    progress.close();
    if (render.wasCancelled())
        return drawn;
    if (render.failure()) {
        drawn.outcome = Drawn::Failed;
        drawn.failure = *render.failure();
        return drawn;
    }
    drawn.outcome = Drawn::Pages;
    drawn.pages = render.pages();
    return drawn;
}

} // namespace

bool renderHtmlToPages(QWidget *parent, const QString &html, const PageRenderProfile &profile)
{
    return renderHtmlToPages(parent, QStringList{html}, profile);
}

bool renderHtmlToPages(QWidget *parent, const QStringList &pagesHtml, const PageRenderProfile &profile)
{
    return renderComposedPages(parent, profile, [pagesHtml] {
        ComposedDocument document;
        document.pagesHtml = pagesHtml;
        return document;
    });
}

bool renderComposedPages(QWidget *parent, const PageRenderProfile &profile, const DocumentComposer &compose)
{
    QPrinter printer(QPrinter::HighResolution);
    Drawn drawn;
    {
        WaitCursor waiting;
        drawn = drawDocument(parent, profile, compose, printer, waiting);
    }
    switch (drawn.outcome) {
    case Drawn::Cancelled:
        return false;
    case Drawn::Nothing:
        if (!drawn.refusal.text.isEmpty())
            Desktop::warning(parent, drawn.refusal.title, drawn.refusal.text);
        return false;
    case Drawn::ToolMissing:
        showMessage(parent, drawn.profile.toolMissing);
        return false;
    case Drawn::Failed:
        showFailure(parent, drawn.profile, drawn.failure);
        return false;
    case Drawn::Pages:
        break;
    }

    const PagePaintHandler handler =
        drawn.profile.paintHandler ? drawn.profile.paintHandler : PagePaintHandler(previewPaint);
    Desktop::printPreview(
        parent, &printer, drawn.profile.previewTitle,
        [pages = drawn.pages, handler](QPrinter *p) { handler(p, *pages); },
        Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    return true;
}

namespace RenderProfiles {

namespace {

// The tax invoice and the delivery challan: portrait A4 drawn 2480 pixels
// wide, 15 seconds, the picture alone counts.
PageRenderProfile a4Document(const QString &missingText, const QString &htmlName, const QString &imageName,
                             const QString &failureText, const QString &title)
{
    PageRenderProfile p;
    p.toolMissing = {QStringLiteral("Error"), missingText};
    p.htmlName = htmlName;
    p.imageName = imageName;
    p.toolArguments = {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("2480"),
                       QStringLiteral("--zoom"), QStringLiteral("2.5")};
    p.timeLimitMs = 15000;
    p.success = RenderSuccess::ImageExists;
    p.failure = {QStringLiteral("Error"), failureText};
    p.paint = RenderPaint::Cut;
    p.paintHandler = previewPaint;
    p.orientation = QPageLayout::Portrait;
    p.marginMm = 5;
    p.previewTitle = title;
    return p;
}

// The statements printed from the receivables lists: the tool by name, a
// fixed HTML file name, one tall picture cut into landscape pages.
PageRenderProfile receivablesStatement(const QString &htmlName, const QString &imageName,
                                       const QStringList &arguments, const QString &title)
{
    PageRenderProfile p;
    p.tool = RenderTool::ByName;
    p.htmlFile = RenderHtmlFile::Fixed;
    p.htmlName = htmlName;
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    p.imageName = imageName;
    p.toolArguments = arguments;
    p.timeLimitMs = 10000;
    p.success = RenderSuccess::FinishedWithExitCodeZero;
    p.failure = {QStringLiteral("Error"), QStringLiteral("wkhtmltoimage failed:\n")};
    p.failureShowsErrorOutput = true;
    p.paint = RenderPaint::Cut;
    p.paintHandler = paintStatementPages;
    p.orientation = QPageLayout::Landscape;
    p.marginMm = 10;
    p.previewTitle = title;
    return p;
}

// The single-page documents of purchase and salary: the application
// folder's tool, exit code 0 and a picture, 10 mm margins.
PageRenderProfile singlePage(const QString &missingText, const QString &htmlName, const QString &imageName,
                             const QStringList &arguments, const QString &failureText, const QString &title)
{
    PageRenderProfile p;
    p.toolMissing = {QStringLiteral("Missing Executable"), missingText};
    p.htmlName = htmlName;
    p.imageName = imageName;
    p.toolArguments = arguments;
    p.timeLimitMs = 10000;
    p.success = RenderSuccess::ExitCodeZeroAndImage;
    p.failure = {QStringLiteral("Error"), failureText};
    p.paint = RenderPaint::Cut;
    p.paintHandler = previewPaint;
    p.marginMm = 10;
    p.previewTitle = title;
    return p;
}

} // namespace

PageRenderProfile taxInvoice(int invoiceNo)
{
    PageRenderProfile p = a4Document(QStringLiteral("wkhtmltoimage.exe not found!"),
                                     QStringLiteral("invoice_XXXXXX.html"), QStringLiteral("invoice_page_%1.png"),
                                     QStringLiteral("Failed to generate invoice!"),
                                     QStringLiteral("Invoice - ") + QString::number(invoiceNo));
    p.documentName = QStringLiteral("Invoice ") + QString::number(invoiceNo);
    p.tooLongAdvice = QStringLiteral("Bill its challans on several invoices of fewer lines.");
    p.paint = RenderPaint::PerPage; // every page must render: an invoice never prints with one missing
    p.paintHandler = [](QPrinter *printer, const PagePictures &pages) { paintInvoicePages(pages, printer); };
    return p;
}

PageRenderProfile deliveryChallan(int challanNo)
{
    PageRenderProfile p = a4Document(QStringLiteral("wkhtmltoimage.exe not found in app folder!"),
                                     QStringLiteral("challan_XXXXXX.html"), QStringLiteral("challan_preview.png"),
                                     QStringLiteral("Image generation failed!\n"),
                                     QStringLiteral("DC Preview - ") + QString::number(challanNo));
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Cannot create temp HTML file!")};
    p.failureShowsErrorOutput = true;
    p.documentName = QStringLiteral("Delivery challan ") + QString::number(challanNo);
    p.tooLongAdvice = QStringLiteral("Issue its lines on several challans of fewer lines.");
    return p;
}

PageRenderProfile salarySlip(const QString &employeeName)
{
    PageRenderProfile p = singlePage(
        QStringLiteral("wkhtmltoimage.exe not found in application directory!"),
        QStringLiteral("salary_XXXXXX.html"), QStringLiteral("salary_slip.png"),
        {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("1800")},
        QStringLiteral("Failed to render salary slip preview."), QStringLiteral("Salary Slip - ") + employeeName);
    p.orientation = QPageLayout::Portrait;
    p.htmlNotWritten = p.failure;
    p.documentName = QStringLiteral("The salary slip");
    return p;
}

PageRenderProfile paymentReceipt()
{
    PageRenderProfile p = singlePage(
        QStringLiteral("wkhtmltoimage.exe not found in app folder!"), QStringLiteral("receipt_XXXXXX.html"),
        QStringLiteral("receipt_preview.png"),
        {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("1240"),
         QStringLiteral("--zoom"), QStringLiteral("1.5")},
        QStringLiteral("Failed to render receipt image."), QStringLiteral("Print Preview - Payment Receipt"));
    p.documentName = QStringLiteral("The payment receipt");
    p.tooLongAdvice = QStringLiteral("Pay fewer bills at a time.");
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    return p;
}

PageRenderProfile supplierStatement()
{
    PageRenderProfile p = singlePage(
        QStringLiteral("wkhtmltoimage.exe not found in application directory!"),
        QStringLiteral("statement_XXXXXX.html"), QStringLiteral("supplier_statement.png"),
        {QStringLiteral("--disable-smart-width"), QStringLiteral("--width"), QStringLiteral("2200")},
        QStringLiteral("Failed to render statement preview."), QStringLiteral("Supplier Payment Statement"));
    p.documentName = QStringLiteral("The supplier payment statement");
    p.tooLongAdvice = QStringLiteral("Show a shorter period, and print again.");
    p.orientation = QPageLayout::Landscape;
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    return p;
}

PageRenderProfile paymentPendingStatement()
{
    PageRenderProfile p = receivablesStatement(QStringLiteral("payment_pending.html"), QStringLiteral("payment_pending.png"),
                                {QStringLiteral("--width"), QStringLiteral("2480"), QStringLiteral("--zoom"),
                                 QStringLiteral("2.0")},
                                QStringLiteral("Payment Pending Statement"));
    p.documentName = QStringLiteral("The payment pending statement");
    p.tooLongAdvice = QStringLiteral("Show a shorter period or one customer, and print again.");
    return p;
}

PageRenderProfile customerPaymentStatement()
{
    PageRenderProfile p = receivablesStatement(QStringLiteral("supplier_payment.html"), QStringLiteral("supplier_payment.png"),
                                {QStringLiteral("--width"), QStringLiteral("2480")},
                                QStringLiteral("Supplier Payment Statement"));
    p.documentName = QStringLiteral("The payment statement");
    p.tooLongAdvice = QStringLiteral("Show a shorter period or one customer, and print again.");
    return p;
}

} // namespace RenderProfiles
