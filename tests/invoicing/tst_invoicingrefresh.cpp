// The invoice main list and the payment follow-up keep the rows they read
// while the invoice form saves or cancels: they read again only at their own
// points (Show here). A row cancelled in the form meanwhile is refused when
// it is acted on, and nothing is written; so is the form's Update of an
// invoice paid since it was loaded.

#include "support/invoicedata.h"
#include "support/invoicefirm.h"
#include "support/paymentdata.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"
#include "support/tickcells.h"
#include "support/widgets.h"

#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/paymentfollowup.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

// A list window shown over the last two years; its table.
QTableWidget *openList(QWidget *w, const char *table)
{
    w->show();
    child<QDateEdit>(w, "fromdateEdit")->setDate(QDate::currentDate().addYears(-2));
    click(w, "show_btn");
    return child<QTableWidget>(w, table);
}

// Invoice 7/26-27 of Acme, 1180.00, nothing paid; the two lists open on it.
struct Setting
{
    InvoiceFirm firm = addInvoiceFirm(); // challans 1 and 2 of 26-27, nothing billed
    int invoice = addStoredInvoice({7, "26-27", daysAgo(3), firm.local, 1000, 90, 90, 0, 1180});
    invoiceGSTmainList *main = new invoiceGSTmainList; // deleted by the test environment
    paymentFollowUp *followUp = new paymentFollowUp;
    QTableWidget *mainRows = openList(main, "invoice_list");
    QTableWidget *followRows = openList(followUp, "payment_pending_table");
};

// Bill Cancel of invoice 7/26-27 in an invoice form.
void cancelInForm(TestEnvironment &env)
{
    auto *form = new invoicesandlist;
    form->show();
    form->loadInvoiceBack(7, "26-27");
    env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
    click(form, "bill_cancel_btn");
    QCOMPARE(count("SELECT is_deleted FROM invoices WHERE invoice_no = 7"), 1);
}

} // namespace

class TestInvoicingRefresh : public QObject
{
    Q_OBJECT

private slots:
    void listsKeepTheirRowsUntilTheirOwnReload()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        Setting s;
        // In the form: invoice 8/26-27 saved from challan 1, then 7/26-27 cancelled.
        invoicesandlist form;
        form.setDeliveryData({1}, s.firm.local, "Acme Local", "26-27");
        child<QLineEdit>(&form, "invnoEdit")->setText("8/26-27");
        click(&form, "save_btn");
        cancelInForm(env);
        QCOMPARE(columnTexts(s.mainRows, 2), QStringList({"7/26-27"}));
        QCOMPARE(columnTexts(s.followRows, 2), QStringList({"7/26-27"}));

        click(s.main, "show_btn");
        QCOMPARE(columnTexts(s.mainRows, 2), QStringList({"8/26-27", "7/26-27"}));
        click(s.followUp, "show_btn");
        QCOMPARE(columnTexts(s.followRows, 2), QStringList({"8/26-27"}));
    }

    void cancelledInTheFormIsRefusedByTheOpenLists()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        Setting s;
        cancelInForm(env);
        clickTickBox(s.followRows, 0);
        child<QLineEdit>(s.followUp, "paid_amountEdit")->setText("1180");
        click(s.followUp, "paid_btn");
        QCOMPARE(env.desktop.lastShown(), QString("Error|Invoice No 7/26-27 was paid, changed, cancelled or deleted "
                                                  "meanwhile, perhaps in another window. Nothing was recorded; the "
                                                  "list has been reloaded."));

        // Delete would free the number of a cancelled invoice.
        clickTickBox(s.mainRows, 0);
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(s.main, "delete_btn");
        QCOMPARE(env.desktop.lastShown(),
                 QString("Error|Invoice No 7/26-27 was paid, changed, cancelled or deleted meanwhile, perhaps in another "
                         "window. Nothing was deleted; the list has been reloaded."));
        QCOMPARE(rows("SELECT invoice_id, is_deleted FROM invoices"), QStringList({QString::number(s.invoice) + "|1"}));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_payments"), 0);
    }

    // Invoice 7/26-27 (10 of A-18, 1180.00) is loaded in the form, then paid
    // in full in the follow-up: Update with the quantity halved stores
    // nothing. Loaded again after the payment, the invoice is updated.
    void paidSinceLoadIsNotRewritten()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        Setting s;
        addStoredLine(s.invoice, {1, s.firm.rate18, 10, 100, 1000, 18});
        invoicesandlist form;
        QTableWidget *items = child<QTableWidget>(&form, "invoice_table");
        form.loadInvoiceBack(7, "26-27");
        clickTickBox(s.followRows, 0);
        child<QLineEdit>(s.followUp, "paid_amountEdit")->setText("1180");
        click(s.followUp, "paid_btn");
        const QStringList stored = rows("SELECT * FROM invoices, invoice_items, invoice_payments");
        QCOMPARE(stored.size(), 1); // paid
        items->item(0, 5)->setText("5");
        click(&form, "update_btn");
        QVERIFY(env.desktop.lastShown().startsWith("Error|Invoice No 7/26-27 was paid, changed, cancelled or deleted "
                                                   "meanwhile, perhaps in another window. Nothing was saved.\n\n"));
        QCOMPARE(rows("SELECT * FROM invoices, invoice_items, invoice_payments"), stored);

        form.loadInvoiceBack(7, "26-27");
        items->item(0, 5)->setText("5");
        click(&form, "update_btn");
        QCOMPARE(rows("SELECT grand_total FROM invoices"), QStringList({"590"}));
    }
};

QTEST_MAIN(TestInvoicingRefresh)
#include "tst_invoicingrefresh.moc"
