#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "sales/saleswindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

QStringList salesTables()
{
    QStringList names;
    QSqlQuery q("SELECT name FROM sqlite_master WHERE type = 'table' AND name != 'sqlite_sequence' ORDER BY name");
    while (q.next())
        names << q.value(0).toString();
    return names;
}

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
        QCOMPARE(window.windowTitle(), QString("Sales Module - Job Work Management"));
        QVERIFY(window.isVisible());
        QVERIFY(window.windowState() & Qt::WindowMaximized);
        const QStringList tables = salesTables();
        for (const char *table : {"bins", "customers", "delivery_entries", "invoice_items", "invoice_payments",
                                  "invoices", "inward_entries", "items"})
            QVERIFY2(tables.contains(table), table);
        QVERIFY(env.desktop.messages.isEmpty());

        // A second window over the same database changes nothing and says nothing.
        testdata::addCustomer("ACME");
        SalesWindow again;
        QSqlQuery count("SELECT COUNT(*) FROM customers");
        QVERIFY(count.next());
        QCOMPARE(count.value(0).toInt(), 1);
        QVERIFY(env.desktop.messages.isEmpty());
    }

    void withoutDatabaseSaysSoAndKeepsItsMenu()
    {
        TestEnvironment env;
        // A database that cannot be opened: its folder does not exist.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(env.folder() + "/missing/folder/x.db");
        SalesWindow window;
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(env.desktop.messages[0].title, QString("DB Error"));
        QCOMPARE(env.desktop.messages[0].text, QString("Database connection not available!"));
        QVERIFY(window.isVisible());
        auto *refresh = window.findChild<QPushButton *>("refresh_btn");
        QVERIFY(refresh);
        QCOMPARE(refresh->text(), QString("Refresh"));
        QCOMPARE(window.menuBar()->actions().size(), 5);
    }

    void menuHoldsTwelveEntriesInOrder()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        SalesWindow window;

        QStringList menus, entries;
        for (QAction *menuAction : window.menuBar()->actions()) {
            menus << menuAction->menu()->objectName() + "=" + menuAction->text();
            for (QAction *a : menuAction->menu()->actions())
                entries << a->objectName() + "=" + a->text();
        }
        QCOMPARE(menus, QStringList({"menuMaster=Master", "menuInward=Inward", "menuDelivery=Delivery",
                                     "menuInvoice=Invoice", "menuPayment=Payment"}));
        QCOMPARE(entries, QStringList({"actionCustomer_Master=Customer Master",
                                       "actionItem_Master=Item Master",
                                       "actionCreate_Inward=New Inward Entry",
                                       "actionView_Inward=View Inward History",
                                       "actionCreate_Delivery_Challan=New Delivery Challan",
                                       "actionView_Delivery_Challan_History=View Delivery History",
                                       "actionDespatch_Details=Despatch Details",
                                       "actionGenerate_Invoice=Generate Invoice",
                                       "actionInvoice_Form=Invoice Form",
                                       "actionView_Invoice_List=View Invoices",
                                       "actionPayment_Pending_Details=Payment Followup",
                                       "actionPayment_History=Payment History"}));
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
                if (w->windowTitle() == title)
                    found << w;
            return found;
        };
        trigger(*window, action);
        QCOMPARE(windowsTitled().size(), 1);
        QPointer<QWidget> first = windowsTitled().first();
        QVERIFY(first->isVisible());
        trigger(*window, action);
        QCOMPARE(windowsTitled(), QList<QWidget *>{first.data()});
        first->close();
        trigger(*window, action);
        QVERIFY(first.isNull());
        QCOMPARE(windowsTitled().size(), 1);
        QVERIFY(windowsTitled().first()->isVisible());

        // The form has no parent: it outlives the sales window.
        delete window;
        QCOMPARE(windowsTitled().size(), 1);
    }

    void laterEntriesOpenNothingYet()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        SalesWindow window;
        const int before = QApplication::topLevelWidgets().size();
        for (const char *action : {"actionGenerate_Invoice",
                                   "actionInvoice_Form", "actionView_Invoice_List", "actionPayment_Pending_Details",
                                   "actionPayment_History"})
            trigger(window, action);
        QCOMPARE(QApplication::topLevelWidgets().size(), before);
        QVERIFY(env.desktop.messages.isEmpty());
    }
};

QTEST_MAIN(TestSalesWindow)
#include "tst_saleswindow.moc"
