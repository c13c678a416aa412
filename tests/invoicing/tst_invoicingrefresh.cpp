// A change written in one invoicing window: generation, the invoice form's list
// and the payment history wait for their own Show; the invoice list and the
// payment follow-up, whose Cancel, Delete and payment act on their rows as
// listed, rebuild at once, so a cancelled invoice is neither deleted nor paid.

#include "support/invoicedata.h"
#include "support/invoicefirm.h"
#include "support/paymentdata.h"
#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/tickcells.h"
#include "support/widgets.h"

#include "invoicing/generatinvoices.h"
#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoicesandlist.h"
#include "invoicing/invoicingrefresh.h"
#include "invoicing/paymentfollowup.h"
#include "invoicing/paymentstatement.h"

#include <QCheckBox>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

// Opens the window named by a row below.
QWidget *openList(const QString &window)
{
    const QHash<QString, std::function<QWidget *()>> windows{{"generation", [] { return new generatInvoices; }},
                                                             {"invoice form", [] { return new invoicesandlist; }},
                                                             {"payment history", [] { return new paymentStatement; }},
                                                             {"invoice list", [] { return new invoiceGSTmainList; }},
                                                             {"payment follow-up", [] { return new paymentFollowUp; }}};
    QWidget *w = windows.value(window)();
    w->show();
    return w;
}

} // namespace

class TestInvoicingRefresh : public QObject
{
    Q_OBJECT

private slots:
    void listWaitsForItsOwnReload_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("followsOthers");
        QTest::newRow("generation") << "gen_invoice_table" << false;
        QTest::newRow("invoice form") << "viewing_table" << false;
        QTest::newRow("payment history") << "paid_state_table" << false;
        QTest::newRow("invoice list") << "invoice_list" << true;
        QTest::newRow("payment follow-up") << "payment_pending_table" << true;
    }

    void listWaitsForItsOwnReload()
    {
        QFETCH(QString, table);
        QFETCH(bool, followsOthers);
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const InvoiceFirm firm = addInvoiceFirm(); // challans 1 and 2 of 26-27, nothing billed
        QWidget *list = openList(QTest::currentDataTag());
        auto *rows = child<QTableWidget>(list, table.toLatin1().constData());
        const int before = rows->rowCount();

        // Elsewhere: a third challan, an invoice and a part payment of it.
        addDelivery({3, "26-27", 1, firm.local, firm.rate18, 5});
        addStoredInvoice({7, "26-27", daysAgo(3), firm.local, 1000, 90, 90, 0, 1180});
        addPaymentRow({"PAY1", daysAgo(1), firm.local, 7, "26-27", 180});
        QWidget other;
        refreshShownInvoicingLists(&other);
        QCOMPARE(rows->rowCount(), followsOthers ? before + 1 : before);

        click(list, "show_btn");
        QCOMPARE(rows->rowCount(), before + 1);
    }

    void cancelledInvoiceLeavesTheActingLists()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        const InvoiceFirm firm = addInvoiceFirm();
        addStoredInvoice({7, "26-27", daysAgo(3), firm.local, 1000, 90, 90, 0, 1180});
        auto *followUp = child<QTableWidget>(openList("payment follow-up"), "payment_pending_table");
        auto *invoices = child<QTableWidget>(openList("invoice list"), "invoice_list");
        QCOMPARE(followUp->rowCount(), 1);
        QVERIFY(tickBox(invoices, 0)->isEnabled());

        auto *form = static_cast<invoicesandlist *>(openList("invoice form"));
        form->loadInvoiceBack(7, "26-27");
        env.desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(form, "bill_cancel_btn");
        QCOMPARE(count("SELECT is_deleted FROM invoices"), 1);
        // Nothing left to pay, and its box in the invoice list can no longer be ticked for Delete.
        QCOMPARE(followUp->rowCount(), 0);
        QVERIFY(!tickBox(invoices, 0)->isEnabled());
    }
};

QTEST_MAIN(TestInvoicingRefresh)
#include "tst_invoicingrefresh.moc"
