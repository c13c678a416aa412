// Long documents printed through the installed wkhtmltoimage.
//
// The payment pending and the customer payment statement of 100, 2,000 and
// 10,001 rows: one plain call of the tool on the whole document (its HTML as
// the program gives it to the tool), then the program's time from the HTML
// to a finished print preview (the real preview dialog, its pages drawn)
// and the pages it fills. Then, in a process of its own, a tax invoice of
// 2,000 lines to its finished preview, with the process's peak memory.
// Then the documents the windows print from the database, each timed from
// the call its button makes: to the progress dialog, to the preview, and
// the longest the event loop waited meanwhile (a delivery challan and an
// invoice of 10,001 lines, an invoice of 2,000, a supplier payment receipt
// of 10,001 bills).
//
//   bench_longprint                  every figure
//   bench_longprint --invoice        the invoice alone
//   bench_longprint --documents      the documents from the database alone
//   bench_longprint --payment        the supplier payment of 10,001 bills alone
//   bench_longprint --no-plain       without the plain calls (minutes at 10,001 rows)
//   bench_longprint --rows N         the statements of N rows alone

#include "invoicing/invoiceprint.h"
#include "invoicing/receivablestatements.h"
#include "jobwork/challandocument.h"
#include "output/pagerenderer.h"
#include "purchase/receiptprint.h"
#include "support/benchrun.h"
#include "support/invoicedata.h"
#include "support/purchasedata.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

// Shows the real print preview, draws its pages and closes it: the time to
// a finished preview.
class PreviewDesktop : public RecordingDesktop
{
public:
    int pages = 0;
    std::function<void()> shown; // called as the preview opens

    void printPreview(QWidget *parent, QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint, Qt::WindowFlags flags) override
    {
        if (shown)
            shown();
        QPrintPreviewDialog dialog(printer, parent, flags);
        dialog.setWindowTitle(title);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, paint);
        QTimer::singleShot(0, &dialog, [this, &dialog] {
            if (auto *widget = dialog.findChild<QPrintPreviewWidget *>())
                pages = widget->pageCount();
            dialog.accept();
        });
        dialog.exec();
    }
};

struct Statement
{
    const char *name;
    QString html;
    PageRenderProfile profile;
};

QString pendingHtml(int count)
{
    QList<PendingStatementRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QStringLiteral("%1/26-27").arg(i), QStringLiteral("01-04-2026"),
                     QStringLiteral("Customer %1 Textiles Pvt Ltd").arg(i % 400), QStringLiteral("12345.67"),
                     QString::number(i % 150)});
    StatementHead head;
    head.fy = QStringLiteral("26-27");
    head.from = QDate(2026, 4, 1);
    head.to = QDate(2027, 3, 31);
    head.leftLogoHtml = head.rightLogoHtml = QStringLiteral("&nbsp;");
    return pendingStatementHtml(head, rows);
}

// Payments of one to three invoices each, as the history lists them.
QString customerHtml(int count)
{
    QList<PaymentStatementRow> rows;
    for (int i = 1; i <= count; ++i) {
        const bool opens = i % 3 != 2;
        rows.append({QStringLiteral("%1/26-27").arg(i), QStringLiteral("01-04-2026"),
                     QStringLiteral("Customer %1 Textiles Pvt Ltd").arg(i % 400), QStringLiteral("12345.67"),
                     opens ? QStringLiteral("20000.00") : QString(), opens ? QStringLiteral("15-05-2026") : QString(),
                     opens ? QStringLiteral("NEFT") : QString(), QString::number(i % 90),
                     opens ? QStringLiteral("UTR 88%1").arg(i) : QString()});
    }
    StatementHead head;
    head.fy = QStringLiteral("26-27");
    head.from = QDate(2026, 4, 1);
    head.to = QDate(2027, 3, 31);
    head.leftLogoHtml = head.rightLogoHtml = QStringLiteral("&nbsp;");
    return paymentStatementHtml(head, rows, QString(), QStringLiteral("1.00"));
}

// One call of the tool on the whole document, as the program prepares it.
double plainCallMs(const QString &tool, const QString &html, const QStringList &extra)
{
    QTemporaryDir folder;
    const double zoom = RenderPlatform::requestedZoom(extra);
    const double cssZoom = zoom != 1.0 && !RenderPlatform::toolHonoursZoom(tool) ? zoom : 1.0;
    QFile file(folder.path() + "/whole.html");
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write(RenderPlatform::prepareHtml(html, cssZoom).toUtf8());
    file.close();
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(tool, RenderPlatform::toolArguments(extra, file.fileName(), folder.path() + "/whole.png"));
    process.waitForFinished(-1);
    return double(clock.elapsed());
}

// The process's peak resident memory (VmHWM, of this program image alone).
long peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong() / 1024;
    return -1;
}

// A print timed from the call its button makes.
struct ClickTimes
{
    qint64 dialogMs = -1;  // to the progress dialog showing
    qint64 previewMs = -1; // to the preview opening
    qint64 longestWaitMs = 0; // the longest the event loop did not turn before the preview
};

ClickTimes timeClick(PreviewDesktop &desktop, const std::function<void()> &print)
{
    ClickTimes times;
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    QTimer turns;
    const auto turned = [&] {
        const qint64 now = clock.elapsed();
        times.longestWaitMs = qMax(times.longestWaitMs, now - lastTurn);
        lastTurn = now;
        if (times.dialogMs < 0) {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (qobject_cast<QProgressDialog *>(window) && window->isVisible())
                    times.dialogMs = now;
        }
    };
    QObject::connect(&turns, &QTimer::timeout, turned);
    desktop.shown = [&] {
        turned();
        times.previewMs = clock.elapsed();
        turns.stop();
    };
    clock.start();
    turns.start(5);
    print();
    desktop.shown = nullptr;
    return times;
}

void printClick(const char *what, const ClickTimes &times, const PreviewDesktop &desktop)
{
    std::printf("%-44s dialog after %5lld ms, preview after %7lld ms, longest wait of the event loop %5lld ms, "
                "%d pages%s\n",
                what, times.dialogMs, times.previewMs, times.longestWaitMs, desktop.pages,
                desktop.messages.isEmpty() ? "" : qPrintable(", shown: " + desktop.lastMessage().text));
    std::fflush(stdout);
}

struct Prepared
{
    TestEnvironment env;
    PreviewDesktop desktop;
    Prepared()
    {
        desktop.appFolder = env.folder();
        desktop.tempFolder = env.desktop.tempFolder;
    }
};

// An invoice of `lines` lines, number 9 of 26-27.
void storeInvoice(int lines)
{
    using namespace testdata;
    setCompany("Morvel Coats", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5",
               "State Bank of India\nA/c 1234");
    const int customer = addCustomer("Shree Lakshmi Narasimha Engineering Works");
    exec("BEGIN");
    const int invoice = addStoredInvoice({9, "26-27", "2026-07-01", customer, 100.0 * lines, 9.0 * lines,
                                          9.0 * lines, 0, 118.0 * lines});
    for (int i = 1; i <= lines; ++i) {
        const int item = addItem(customer, QStringLiteral("C%1").arg(i, 5, 10, QChar('0')),
                                 QStringLiteral("Shree Ganesh bracket %1").arg(i), "NOS", 100, 18);
        addDelivery({10 + i % 50, "26-27", 1, customer, item, 1, "2026-06-20"});
        addStoredLine(invoice, {10 + i % 50, item, 1, 100, 100, 18});
    }
    exec("COMMIT");
}

// Paid on 10,001 bills: the payment written, then the receipt printed.
void supplierPaymentOf10001Bills()
{
    using namespace testdata;
    {
        Prepared run;
        if (!openPurchaseDatabase(run.env))
            qFatal("cannot open the database");
        QList<int> ids;
        exec("BEGIN");
        for (int i = 1; i <= 10001; ++i)
            ids << addBill({QString("RT/%1").arg(i), "2026-04-01", "ACME", "Credit", 1180, "Unpaid", "Item", "1", 0});
        exec("COMMIT");
        SupplierPayment payment;
        for (int id : ids)
            payment.bills << listedBill(id);
        payment.date = "2026-07-01";
        payment.amount = Money::fromStored(11801180.0);
        payment.mode = "NEFT";
        payment.receiptNo = "RCT-260701120000";
        QElapsedTimer write;
        write.start();
        QString error;
        if (recordSupplierPayment(payment, &error) != PaymentWrite::Recorded)
            qFatal("payment not recorded: %s", qPrintable(error));
        std::printf("supplier payment of 10,001 bills: the payment written in %lld ms before the receipt\n",
                    write.elapsed());
        PaymentReceipt receipt;
        receipt.receiptNo = payment.receiptNo;
        receipt.date = "01-07-2026";
        receipt.supplier = "ACME";
        receipt.mode = "NEFT";
        receipt.billCount = int(ids.size());
        receipt.amountText = "11801180";
        Desktop::setHandler(&run.desktop);
        const ClickTimes times = timeClick(run.desktop, [&] { printPaymentReceipt(nullptr, receipt, ids); });
        printClick("supplier payment receipt, 10,001 bills (Paid)", times, run.desktop);
        Desktop::setHandler(&run.env.desktop);
    }
}

void documentsFromTheDatabase()
{
    using namespace testdata;
    for (const int lines : {2000, 10001}) {
        Prepared run;
        if (!openSalesDatabase(run.env))
            qFatal("cannot open the database");
        storeInvoice(lines);
        Desktop::setHandler(&run.desktop);
        const ClickTimes times =
            timeClick(run.desktop, [] { printInvoice(9, QStringLiteral("Original for recipient"), "26-27", nullptr); });
        printClick(qPrintable(QString("tax invoice, %1 lines (View Invoices Print)").arg(lines)), times, run.desktop);
        Desktop::setHandler(&run.env.desktop);
    }
    {
        Prepared run;
        if (!openSalesDatabase(run.env))
            qFatal("cannot open the database");
        const int customer = addCustomer("ACME FORGINGS", {"12 Mill Road", "Pune", "27ABCDE1234F1Z5", "9800000000"});
        exec("BEGIN");
        for (int i = 1; i <= 10001; ++i) {
            const int item = addItem(customer, QString("A%1").arg(i), QString("PART %1").arg(i), "KGS");
            addInward({2, "26-27", customer, item, 100, "2026-04-21", "CDC-9", "2026-04-20", "PO-7"});
            addDelivery({5, "26-27", 2, customer, item, 12.5, "2026-06-03"});
        }
        exec("COMMIT");
        Desktop::setHandler(&run.desktop);
        const ClickTimes times = timeClick(run.desktop, [] { printChallan(nullptr, 5, "26-27"); });
        printClick("delivery challan, 10,001 lines (History Print)", times, run.desktop);
        Desktop::setHandler(&run.env.desktop);
    }
    supplierPaymentOf10001Bills();
}

int printInvoiceOf2000Lines()
{
    using namespace testdata;
    TestEnvironment env;
    PreviewDesktop desktop;
    desktop.appFolder = env.folder();
    desktop.tempFolder = env.desktop.tempFolder;
    Desktop::setHandler(&desktop);
    if (!openSalesDatabase(env))
        qFatal("cannot open the database");
    const int lines = 2000;
    storeInvoice(lines);
    const long before = peakMegabytes();
    QElapsedTimer clock;
    clock.start();
    printInvoice(9, QStringLiteral("Original for recipient"), QStringLiteral("26-27"), nullptr);
    const double ms = double(clock.elapsed());
    std::printf("tax invoice, %d lines: %8.0f ms to the preview, %d pages, %s; peak memory %ld MB "
                "(%ld MB before printing)\n",
                lines, ms, desktop.pages,
                desktop.messages.isEmpty() ? "printed" : qPrintable("refused: " + desktop.lastMessage().text),
                peakMegabytes(), before);
    std::fflush(stdout);
    Desktop::setHandler(&env.desktop);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("wkhtmltoimage"));
    if (tool.isEmpty()) {
        std::printf("wkhtmltoimage is not installed\n");
        return 0;
    }
    if (app.hasOption(QStringLiteral("--invoice")))
        return printInvoiceOf2000Lines();
    if (app.hasOption(QStringLiteral("--payment"))) {
        supplierPaymentOf10001Bills();
        return 0;
    }
    if (app.hasOption(QStringLiteral("--documents"))) {
        documentsFromTheDatabase();
        return 0;
    }

    std::printf("cores: %d\n", QThread::idealThreadCount());
    const bool plain = !app.hasOption(QStringLiteral("--no-plain"));
    const int rowsAt = int(app.arguments().indexOf(QStringLiteral("--rows")));
    const QList<int> counts = rowsAt > 0 ? QList<int>{app.arguments().value(rowsAt + 1).toInt()}
                                         : QList<int>{100, 2000, 10001};
    for (const char *statement : {"pending statement", "customer statement"}) {
        const bool pending = QByteArray(statement) == "pending statement";
        double at2000 = 0;
        for (const int count : counts) {
            const QString html = pending ? pendingHtml(count) : customerHtml(count);
            const PageRenderProfile profile =
                pending ? RenderProfiles::paymentPendingStatement() : RenderProfiles::customerPaymentStatement();
            const double plainMs = plain ? plainCallMs(tool, html, profile.toolArguments) : 0;

            TestEnvironment env;
            PreviewDesktop desktop;
            desktop.appFolder = env.folder();
            desktop.tempFolder = env.desktop.tempFolder;
            Desktop::setHandler(&desktop);
            bool shown = false;
            QElapsedTimer clock;
            clock.start();
            shown = renderHtmlToPages(nullptr, html, profile);
            const double ms = double(clock.elapsed());
            Desktop::setHandler(&env.desktop);
            if (count == 2000)
                at2000 = ms;
            const QString against2000 =
                count == 10001 && at2000 > 0 ? QString("; %1 x the 2,000 rows").arg(ms / at2000, 0, 'f', 2) : QString();
            std::printf("%s, %5d rows: plain call %8.0f ms, program %8.0f ms (%.2f x the plain call%s), %s, %d pages, "
                        "peak memory so far %ld MB\n",
                        statement, count, plainMs, ms, plainMs > 0 ? ms / plainMs : 0.0, qPrintable(against2000),
                        shown ? "printed" : qPrintable("refused: " + desktop.lastMessage().text), desktop.pages,
                        peakMegabytes());
            std::fflush(stdout);
        }
    }

    // The invoice in a process of its own, for its own peak memory.
    if (rowsAt > 0)
        return 0;
    QProcess invoice;
    invoice.setProcessChannelMode(QProcess::ForwardedChannels);
    invoice.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--invoice")});
    invoice.waitForFinished(-1);
    documentsFromTheDatabase();
    return 0;
}
