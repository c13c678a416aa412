// A failing payments look-up and a failing cancel inside the caller's
// transaction. (The invoice form's and the main list's tests show cancel,
// delete and the payments refusal themselves.)

#include "support/salesdata.h"
#include "support/testenvironment.h"

#include "core/transaction.h"
#include "invoicing/invoicecorrections.h"

#include <QTest>

using namespace testdata;

class TestInvoiceCorrections : public QObject
{
    Q_OBJECT

private:
    TestEnvironment *env = nullptr;

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openSalesDatabase(*env));
        // Invoice 4 in two years, each with two lines.
        const int live26 = addInvoice({4, "26-27"});
        addInvoiceLine(live26, 10, 1, "26-27");
        addInvoiceLine(live26, 11, 1, "26-27");
        const int live25 = addInvoice({4, "25-26"});
        addInvoiceLine(live25, 10, 1, "25-26");
        addInvoiceLine(live25, 12, 2, "25-26");
    }

    void cleanup()
    {
        delete env;
        env = nullptr;
    }

    void failuresReportTheDriversText()
    {
        exec("DROP TABLE invoice_payments");
        bool has = false;
        QString error;
        QVERIFY(!invoiceHasPayments(4, "26-27", &has, &error));
        QVERIFY(error.contains("invoice_payments"));

        // A failing statement inside the caller's transaction leaves every row.
        exec("CREATE TRIGGER no_cancel BEFORE UPDATE ON invoices BEGIN SELECT RAISE(ABORT, 'locked by test'); END");
        error.clear();
        QVERIFY(!runInTransaction([](QString *e) { return cancelInvoiceRows(4, "26-27", e); }, &error));
        QVERIFY(error.contains("locked by test"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_items"), 4);
        QCOMPARE(count("SELECT COUNT(*) FROM invoices WHERE is_deleted = 1"), 0);
    }
};

QTEST_MAIN(TestInvoiceCorrections)
#include "tst_invoicecorrections.moc"
