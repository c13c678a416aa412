// A failing payments look-up and a failing cancel inside the caller's
// transaction, and cancel and delete writing the one invoice row they checked.
// (The invoice form's and the main list's tests show cancel, delete and the
// payments refusal themselves.)

#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"

#include "core/transaction.h"
#include "invoicing/invoicecorrections.h"
#include "invoicing/invoicestore.h"

#include <QTest>

using namespace testdata;

class TestInvoiceCorrections : public QObject
{
    Q_OBJECT

private:
    TestEnvironment *env = nullptr;
    int live26 = 0;

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openSalesDatabase(*env));
        // Invoice 4 in two years, each with two lines.
        live26 = addInvoice({4, "26-27"});
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
        QVERIFY(!runInTransaction([&](QString *e) { return cancelInvoiceRows(live26, e); }, &error));
        QVERIFY(error.contains("locked by test"));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_items"), 4);
        QCOMPARE(count("SELECT COUNT(*) FROM invoices WHERE is_deleted = 1"), 0);
    }

    // Another copy stores a second row of 4/26-27 after the form loaded the
    // first one: cancelling and then deleting the loaded invoice write its
    // row and lines alone; the second row, never checked, stays as it was.
    void cancelAndDeleteWriteTheRowTheyChecked()
    {
        LoadedInvoice loaded;
        QString error;
        QCOMPARE(loadInvoice(4, "26-27", &loaded, &error), LoadResult::Loaded);
        writeAsOtherCopy("INSERT INTO invoices (invoice_no, invoice_no_full, fy_name, grand_total, is_deleted) "
                         "VALUES (4, '4/26-27', '26-27', 55, 0);"
                         "INSERT INTO invoice_items (invoice_id, delivery_no, item_id, invoiced_qty, fy_name) "
                         "VALUES ((SELECT MAX(invoice_id) FROM invoices), 13, 1, 2, '26-27')");
        // Each 4/26-27 row: its total, whether cancelled, and its lines' challans.
        const QString stored = "SELECT v.grand_total, v.is_deleted, GROUP_CONCAT(i.delivery_no) FROM invoices v "
                               "LEFT JOIN invoice_items i ON i.invoice_id = v.invoice_id WHERE v.fy_name = '26-27' "
                               "GROUP BY v.invoice_id ORDER BY v.invoice_id";
        const QString second = "55|0|13";
        QCOMPARE(cancelLoadedInvoice(4, "26-27", loaded.read).result, CorrectionResult::Done);
        QCOMPARE(rows(stored).value(0).section('|', 1), QString("1|"));
        QCOMPARE(rows(stored).value(1), second);

        QCOMPARE(loadInvoice(4, "26-27", &loaded, &error), LoadResult::Loaded);
        QCOMPARE(deleteLoadedInvoice(4, "26-27", loaded.read).result, CorrectionResult::Done);
        QCOMPARE(rows(stored), QStringList{second});
        QCOMPARE(count("SELECT COUNT(*) FROM invoices WHERE fy_name = '25-26'"), 1);
    }
};

QTEST_MAIN(TestInvoiceCorrections)
#include "tst_invoicecorrections.moc"
