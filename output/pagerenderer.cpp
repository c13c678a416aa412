#include "pagerenderer.h"

#include "desktop.h"
#include "renderjob.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>

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

// Past a second of drawing, a dialog with the pages drawn of the pages
// expected, and Cancel.
class RenderProgress : public QObject
{
public:
    RenderProgress(QWidget *parent, RenderJob &job, const QString &title, WaitCursor &cursor, HeldInput &input)
        : m_parent(parent)
        , m_job(job)
        , m_title(title)
        , m_cursor(cursor)
        , m_input(input)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &RenderProgress::show);
        connect(&job, &RenderJob::progressed, this, &RenderProgress::update);
        m_timer.start(1000);
    }
    ~RenderProgress() override
    {
        if (m_dialog)
            m_dialog->deleteLater();
    }

private:
    void show()
    {
        if (m_job.isFinished() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        m_dialog = new QProgressDialog(m_parent);
        m_dialog->setWindowTitle(m_title);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setMinimumWidth(420);
        connect(m_dialog, &QProgressDialog::canceled, &m_job, &RenderJob::cancel);
        m_input.allow(m_dialog);
        update();
        m_cursor.restore(); // the dialog says the program is busy, and Cancel is to be clicked
        m_dialog->show();
    }

    void update()
    {
        if (!m_dialog)
            return;
        const int done = m_job.pagesDone();
        const int expected = qMax(done, m_job.pagesExpected());
        m_dialog->setMaximum(qMax(1, expected));
        m_dialog->setValue(done);
        m_dialog->setLabelText(QStringLiteral("Drawing the pages for printing: %1 of %2").arg(done).arg(expected));
    }

    QWidget *m_parent;
    RenderJob &m_job;
    QString m_title;
    WaitCursor &m_cursor;
    HeldInput &m_input;
    QTimer m_timer;
    QPointer<QProgressDialog> m_dialog;
};

void showMessage(QWidget *parent, const RenderMessage &message, const QString &detail = QString())
{
    if (!message.text.isEmpty())
        Desktop::critical(parent, message.title, message.text + detail);
}

// The use's failure message followed by why: the tool's error text where the
// use shows it as it stands, else on a line of its own.
void showFailure(QWidget *parent, const PageRenderProfile &profile, const RenderFailure &failure)
{
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

} // namespace

bool renderHtmlToPages(QWidget *parent, const QString &html, const PageRenderProfile &profile)
{
    return renderHtmlToPages(parent, QStringList{html}, profile);
}

bool renderHtmlToPages(QWidget *parent, const QStringList &pagesHtml, const PageRenderProfile &profile)
{
    QString tool = locateTool(Desktop::applicationFolder());
    if (tool.isEmpty()) {
        if (profile.tool == RenderTool::ApplicationFolder) {
            showMessage(parent, profile.toolMissing);
            return false;
        }
        tool = toolFileName(); // left to the program search; failing to start is a failed run
    }

    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, profile);
    WaitCursor waiting;

    // A tool built without its patched Qt ignores "--zoom"; the page itself
    // is zoomed then, so the picture looks as the document means it to.
    const double zoom = requestedZoom(profile.toolArguments);
    const double cssZoom = zoom != 1.0 && !toolHonoursZoom(tool) ? zoom : 1.0;

    // This render's own folder: another render at the same moment, in this
    // copy of the program or another, has its own.
    QTemporaryDir folder(Desktop::temporaryFolder() + QStringLiteral("/print_XXXXXX"));
    std::shared_ptr<PagePictures> pages;
    {
        RenderJob job(profile, tool, folder.path(), printer.pageRect(QPrinter::DevicePixel).toRect().size());
        if (!folder.isValid() || !job.write(pagesHtml, cssZoom)) {
            waiting.restore();
            showFailure(parent, profile, job.failure().value_or(RenderFailure{QString(), QString(), true}));
            return false;
        }
        {
            HeldInput input;
            RenderProgress progress(parent, job, profile.previewTitle, waiting, input);
            QEventLoop loop;
            QObject::connect(&job, &RenderJob::finished, &loop, &QEventLoop::quit);
            job.start();
            if (!job.isFinished())
                loop.exec();
        }
        waiting.restore();
        if (job.wasCancelled())
            return false;
        if (job.failure()) {
            showFailure(parent, profile, *job.failure());
            return false;
        }
        pages = job.pages();
    }

    const PagePaintHandler handler = profile.paintHandler ? profile.paintHandler : PagePaintHandler(previewPaint);
    Desktop::printPreview(
        parent, &printer, profile.previewTitle, [pages, handler](QPrinter *p) { handler(p, *pages); },
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
    p.orientation = QPageLayout::Landscape;
    p.htmlNotWritten = {QStringLiteral("Error"), QStringLiteral("Unable to create temporary HTML file.")};
    return p;
}

PageRenderProfile paymentPendingStatement()
{
    return receivablesStatement(QStringLiteral("payment_pending.html"), QStringLiteral("payment_pending.png"),
                                {QStringLiteral("--width"), QStringLiteral("2480"), QStringLiteral("--zoom"),
                                 QStringLiteral("2.0")},
                                QStringLiteral("Payment Pending Statement"));
}

PageRenderProfile customerPaymentStatement()
{
    return receivablesStatement(QStringLiteral("supplier_payment.html"), QStringLiteral("supplier_payment.png"),
                                {QStringLiteral("--width"), QStringLiteral("2480")},
                                QStringLiteral("Supplier Payment Statement"));
}

} // namespace RenderProfiles
