// The invoicing chain as an office user walks it, through the real windows:
// from the sales window, tick a delivered challan in invoice generation and
// proceed, save and print the invoice, find it in the invoice list and its
// GST statement, record a payment with TDS, see it in the payment history
// and delete it again, and read the receivable on the sales dashboard, which
// shows it once refreshed.

#include "support/appwalk.h"
#include "support/files.h"
#include "support/invoicedata.h"
#include "support/invoicefirm.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"
#include "support/tickcells.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "invoicing/generatinvoices.h"
#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/paymentfollowup.h"
#include "invoicing/paymentstatement.h"
#include "sales/saleswindow.h"
#include "shell/mainwindow.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

using namespace testdata;

namespace {

QString receivable(const SalesWindow *sales)
{
    return child<QLabel>(sales, "lbl_receivable")->text();
}

// Shows where the walk is (for a person looking on); saves a picture of the
// window when KESTROVA_WALK_SHOTS names a folder.
void look(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("KESTROVA_WALK_SHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(50);
    window->grab().save(folder + "/" + name + ".png");
}

} // namespace

class TestInvoiceWorkflow : public QObject
{
    Q_OBJECT

private slots:
    void challanToPaidInvoice();
};

void TestInvoiceWorkflow::challanToPaidInvoice()
{
    if (QStandardPaths::findExecutable("wkhtmltoimage").isEmpty())
        QSKIP("wkhtmltoimage is not installed");

    TestEnvironment env;
    auto *main = new MainWindow;
    SalesWindow *sales = logInToSales(main);
    QVERIFY(sales);

    // Delivered and not yet billed: challan 1/26-27 of Acme (1000.00 at 18 %,
    // 500.00 at 5 %) and 2/26-27 of Beta.
    setCompany("Pravo Works", "Plot 7", "Bhosari", "9800000000", "a@pravo.in", "27PRAVO0000P1Z5", "SBI 1234");
    addInvoiceFirm();
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 0.00"));
    look(sales, "01-sales");

    // Invoice generation lists both challans as pending; tick Acme's and proceed.
    trigger(sales, "actionGenerate_Invoice");
    auto *generation = onlyWindow<generatInvoices>();
    QTableWidget *challans = child<QTableWidget>(generation, "gen_invoice_table");
    QCOMPARE(columnTexts(challans, 2), QStringList({"2/26-27", "1/26-27"}));
    const int acme = int(columnTexts(challans, 2).indexOf("1/26-27"));
    clickTickBox(challans, acme);
    challans->setCurrentCell(acme, 2);
    look(generation, "02-generation");
    click(generation, "proceed_inv_btn");

    auto *form = onlyWindow<invoicesandlist>();
    QTableWidget *lines = child<QTableWidget>(form, "invoice_table");
    QCOMPARE(columnTexts(lines, 2), QStringList({"A-18", "B-5"}));
    QCOMPARE(child<QLineEdit>(form, "netTotalEdit")->text(), QStringLiteral("1705.00"));
    look(form, "03-form");

    env.desktop.clear();
    click(form, "save_btn");
    QCOMPARE(env.desktop.lastShown(), QStringLiteral("Success|Invoice 1/26-27 saved!"));
    QCOMPARE(rows("SELECT invoice_no_full, fy_name, printf('%.2f', grand_total), remarks FROM invoices"),
             QStringList({"1/26-27|26-27|1705.00|PO-77"}));
    QCOMPARE(columnTexts(child<QTableWidget>(form, "viewing_table"), 1), QStringList({"1/26-27"}));

    // Print what was just saved: one page, the real renderer.
    env.desktop.clear();
    click(form, "print_btn");
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews.first().pageCount, 1);
    look(form, "04-form-saved");
    form->close();

    // The generation list, still open, offers the billed challan until Show.
    QVERIFY(generation->isVisible());
    QCOMPARE(columnTexts(challans, 2), QStringList({"2/26-27", "1/26-27"}));
    click(generation, "show_btn");
    QCOMPARE(columnTexts(challans, 2), QStringList({"2/26-27"}));

    // View Invoices: the row with its GST split, and the GST statement.
    trigger(sales, "actionView_Invoice_List");
    auto *list = onlyWindow<invoiceGSTmainList>();
    QTableWidget *invoices = child<QTableWidget>(list, "invoice_list");
    QCOMPARE(rowTexts(invoices, 0).mid(2), QStringList({"1/26-27", QDate::currentDate().toString("dd-MM-yyyy"),
                                                        "Acme Local", "27AAAAA0000A1Z5", "1500.00", "102.50",
                                                        "102.50", "0.00", "205.00", "1705.00"}));
    look(list, "05-invoice-list");
    const QString csvPath = env.desktop.appFolder + "/gst.csv";
    env.desktop.saveFileAnswers.enqueue(csvPath);
    click(list, "print_statement");
    const QList<QStringList> csv = readCsv(QString::fromUtf8(fileBytes(csvPath)));
    bool csvHasInvoice = false;
    for (const QStringList &line : csv)
        csvHasInvoice = csvHasInvoice || (line.contains("1/26-27") && line.contains("Acme Local"));
    QVERIFY2(csvHasInvoice, fileBytes(csvPath).constData());

    // The sales dashboard behind shows the invoice once refreshed.
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 0.00"));
    buttonWithText(sales, "⟳ Refresh")->click();
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 1705.00"));
    QCOMPARE(child<QLabel>(sales, "lbl_invoice")->text(), QStringLiteral("1 nos"));

    // Payment follow-up: 1700.00 paid with 5.00 TDS settles the invoice.
    trigger(sales, "actionPayment_Pending_Details");
    auto *followUp = onlyWindow<paymentFollowUp>();
    QTableWidget *pending = child<QTableWidget>(followUp, "payment_pending_table");
    QCOMPARE(columnTexts(pending, 2), QStringList({"1/26-27"}));
    QCOMPARE(tableCell(pending, 0, 5), QStringLiteral("1705.00"));
    clickTickBox(pending, 0);
    child<QLineEdit>(followUp, "paid_amountEdit")->setText("1700");
    child<QLineEdit>(followUp, "tds_amountEdit")->setText("5");
    child<QLineEdit>(followUp, "chq_refEdit")->setText("CHQ-11");
    look(followUp, "06-followup");
    env.desktop.clear();
    click(followUp, "paid_btn");
    QCOMPARE(env.desktop.lastShown(), QStringLiteral("Success|Payment recorded successfully!"));
    QCOMPARE(rows("SELECT invoice_no, fy_name, printf('%.2f', paid_amount), printf('%.2f', tds_amount), chq_ref "
                  "FROM invoice_payments"),
             QStringList({"1|26-27|1700.00|5.00|CHQ-11"}));
    QCOMPARE(pending->rowCount(), 0);
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 1705.00"));
    buttonWithText(sales, "⟳ Refresh")->click();
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 0.00"));

    // Payment history shows it; deleting it makes the invoice pending again.
    trigger(sales, "actionPayment_History");
    auto *history = onlyWindow<paymentStatement>();
    QTableWidget *paid = child<QTableWidget>(history, "paid_state_table");
    QCOMPARE(paid->rowCount(), 1);
    QCOMPARE(rowTexts(paid, 0).mid(2, 6), QStringList({"1/26-27", QDate::currentDate().toString("dd-MM-yyyy"),
                                                       "Acme Local", "1705.00", "1705.00",
                                                       QDate::currentDate().toString("dd-MM-yyyy")}));
    look(history, "07-history");
    clickTickBox(paid, 0);
    env.desktop.clear();
    env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
    click(history, "delete_btn");
    QCOMPARE(paid->rowCount(), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments"), 0);

    // The follow-up, still open beside it, has the invoice back at its Show.
    QVERIFY(followUp->isVisible());
    QCOMPARE(pending->rowCount(), 0);
    click(followUp, "show_btn");
    QCOMPARE(columnTexts(pending, 2), QStringList({"1/26-27"}));
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 0.00"));
    buttonWithText(sales, "⟳ Refresh")->click();
    QCOMPARE(receivable(sales), QStringLiteral("Rs. 1705.00"));
    look(sales, "08-sales");
}

QTEST_MAIN(TestInvoiceWorkflow)
#include "tst_invoiceworkflow.moc"
