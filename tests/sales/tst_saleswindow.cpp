#include "support/formfonts.h"
#include "support/invoicedata.h"
#include "support/paymentdata.h"
#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/tablefonts.h"
#include "support/widgets.h"

#include "sales/saleswindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSqlDatabase>
#include <QTableWidget>
#include <QtTest>

namespace {

void trigger(SalesWindow &window, const QString &action)
{
    child<QAction>(&window, action.toLatin1().constData())->trigger();
}

} // namespace

class TestSalesWindow : public QObject
{
    Q_OBJECT

private slots:
    void buildsTheSchemaAndShowsMaximised()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        SalesWindow window;
        QVERIFY(window.windowState() & Qt::WindowMaximized);
        QCOMPARE(testdata::rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name != 'sqlite_sequence' "
                                "ORDER BY name"),
                 QStringList({"bins", "customers", "delivery_entries", "invoice_items", "invoice_payments",
                              "invoices", "inward_entries", "items"}));
        QVERIFY(env.desktop.messages.isEmpty());
    }

    // The schema is the window's own operation: run again it makes a missing
    // table and sweeps lines of a removed invoice.
    void createSalesTablesIsAMember()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        SalesWindow window;
        testdata::exec("DROP TABLE bins");
        testdata::exec("INSERT INTO invoice_items (invoice_id) VALUES (99)");
        window.createSalesTables();
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM sqlite_master WHERE name = 'bins'"), 1);
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM invoice_items"), 0);
    }

    // Filled at construction, then only by its Refresh: an invoice and a
    // payment written meanwhile, or showing the window again, leave it as it was.
    void dashboardWaitsForItsRefresh()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        SalesWindow window;
        auto *invoices = child<QLabel>(&window, "lbl_invoice");
        auto *receivable = child<QLabel>(&window, "lbl_receivable");
        QCOMPARE(invoices->text(), QString("0 nos"));
        const int acme = testdata::addCustomer("ACME");
        testdata::addStoredInvoice({1, "26-27", testdata::daysAgo(3), acme, 1000, 90, 90, 0, 1180});
        testdata::addPaymentRow({"PAY1", testdata::daysAgo(1), acme, 1, "26-27", 180});
        window.hide();
        window.show();
        QCOMPARE(invoices->text(), QString("0 nos"));
        QCOMPARE(receivable->text(), QString("Rs. 0.00"));
        buttonWithText(&window, "⟳ Refresh")->click();
        QCOMPARE(invoices->text(), QString("1 nos"));
        QCOMPARE(receivable->text(), QString("Rs. 1000.00")); // 1180.00 less 180.00 paid
    }

    void withoutDatabaseSaysSoAndKeepsItsMenu()
    {
        TestEnvironment env;
        // A database that cannot be opened: its folder does not exist.
        QSqlDatabase::addDatabase("QSQLITE").setDatabaseName(env.folder() + "/missing/folder/x.db");
        SalesWindow window;
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.lastShown(), QString("DB Error|Database connection not available!"));
        QVERIFY(window.isVisible());
        QCOMPARE(window.menuBar()->actions().size(), 5);
    }

    void menuHoldsTwelveEntriesInOrder()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        SalesWindow window;

        QStringList menus, entries;
        for (QAction *menuAction : window.menuBar()->actions()) {
            menus << menuAction->text();
            for (QAction *a : menuAction->menu()->actions())
                entries << a->text();
        }
        QCOMPARE(menus, QStringList({"Master", "Inward", "Delivery", "Invoice", "Payment"}));
        QCOMPARE(entries, QStringList({"Customer Master", "Item Master", "New Inward Entry", "View Inward History",
                                       "New Delivery Challan", "View Delivery History", "Despatch Details",
                                       "Generate Invoice", "Invoice Form", "View Invoices", "Payment Followup",
                                       "Payment History"}));
    }

    // Each entry whose form exists opens one parentless window, kept while it
    // is open and built anew once it was closed.
    void builtEntriesOpenKeptForms_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::newRow("customer master") << "actionCustomer_Master" << "Customer Master - Kestrova App";
        QTest::newRow("item master") << "actionItem_Master" << "Item Master - Kestrova App";
        QTest::newRow("inward entry") << "actionCreate_Inward" << "Inward Entry - Kestrova App";
        QTest::newRow("dc generation") << "actionCreate_Delivery_Challan"
                                       << "Generate Delivery Challan - Kestrova App";
        QTest::newRow("challan list") << "actionView_Delivery_Challan_History"
                                      << "Delivery Challan - Kestrova App";
        QTest::newRow("inward history") << "actionView_Inward" << "Inward History - Kestrova App";
        QTest::newRow("despatch details") << "actionDespatch_Details" << "Despatch Details - Kestrova App";
        QTest::newRow("invoice list") << "actionView_Invoice_List" << "Invoice GST List - Kestrova App";
    }

    void builtEntriesOpenKeptForms()
    {
        QFETCH(QString, action);
        QFETCH(QString, title);
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        auto *window = new SalesWindow;
        auto windowsTitled = [&title] {
            QList<QWidget *> found;
            for (QWidget *w : topLevelWindows<QWidget>())
                if (w->windowTitle() == title && w->isVisible())
                    found << w;
            return found;
        };
        trigger(*window, action);
        QCOMPARE(windowsTitled().size(), 1);
        QPointer<QWidget> first = windowsTitled().first();
        trigger(*window, action);
        QCOMPARE(windowsTitled(), QList<QWidget *>{first.data()});
        first->close();
        trigger(*window, action);
        QVERIFY(first.isNull());
        QCOMPARE(windowsTitled().size(), 1);

        // The form has no parent: it outlives the sales window.
        delete window;
        QCOMPARE(windowsTitled().size(), 1);
    }

    // Under the application's style sheet the masters, the inward entry and
    // the challan form show their designer form's type on every text, list
    // headings and combo pop-ups included, and no heading is cut in it.
    void formsShowTheirDesignerFont_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::newRow("customer master") << "actionCustomer_Master" << "Customer Master - Kestrova App";
        QTest::newRow("item master") << "actionItem_Master" << "Item Master - Kestrova App";
        QTest::newRow("inward entry") << "actionCreate_Inward" << "Inward Entry - Kestrova App";
        QTest::newRow("challan list") << "actionView_Delivery_Challan_History"
                                      << "Delivery Challan - Kestrova App";
    }

    void formsShowTheirDesignerFont()
    {
        QFETCH(QString, action);
        QFETCH(QString, title);
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        ApplicationStyleInTest style;
        SalesWindow window;
        testdata::addCustomer("SRI VENKATESWARA PRECISION ENGINEERING WORKS");
        trigger(window, action);
        QWidget *form = nullptr;
        for (QWidget *w : topLevelWindows<QWidget>())
            if (w->windowTitle() == title && w->isVisible())
                form = w;
        QVERIFY(form);
        const QStringList wrong = widgetsNotShowing(form, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));

        for (QTableWidget *table : form->findChildren<QTableWidget *>()) {
            QCOMPARE(tablePartsWithOtherFont(table), QStringList());
            QCOMPARE(cutHeaderSections(table), QStringList());
        }
    }
};

QTEST_MAIN(TestSalesWindow)
#include "tst_saleswindow.moc"
