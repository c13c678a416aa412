// Closing the main window: its module windows go with it, the forms they
// opened (parentless) stay until closed themselves, and the program ends when
// the last of them is closed.

#include "support/testenvironment.h"
#include "support/widgets.h"

#include "sales/customermaster.h"
#include "sales/saleswindow.h"
#include "shell/mainwindow.h"

#include <QAction>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

MainWindow *loggedIn()
{
    auto *main = new MainWindow;
    main->show();
    child<QLineEdit>(main, "usernameEdit")->setText("pravo");
    child<QLineEdit>(main, "passwordEdit")->setText("pravo");
    click(main, "submit_btn");
    child<QToolButton>(main, "sales_btn")->click();
    return main;
}

// Runs the program's event loop, does `action` in it and tells whether the
// program then ends by itself (its last window closed) within a second.
bool programEnds(const std::function<void()> &action)
{
    QTimer::singleShot(0, action);
    QTimer guard; // gone with this call, so it cannot end a later loop
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); }); // leaves the windows open
    guard.start(1000);
    return QCoreApplication::exec() == 0;
}

} // namespace

class TestClosing : public QObject
{
    Q_OBJECT

private slots:
    void moduleWindowsGoWithTheMainWindow_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(QMessageBox::Yes);
        QTest::newRow("No") << int(QMessageBox::No);
    }
    void moduleWindowsGoWithTheMainWindow()
    {
        QFETCH(int, answer);
        TestEnvironment env;
        MainWindow *main = loggedIn();
        auto *sales = main->findChild<SalesWindow *>();
        QVERIFY(sales && sales->isVisible());

        env.desktop.messageAnswers.enqueue(QMessageBox::StandardButton(answer));
        QVERIFY(programEnds([main] { main->close(); }));
        QVERIFY(!main->isVisible());
        QVERIFY(!sales->isVisible());
    }

    void cancelKeepsEveryWindow()
    {
        TestEnvironment env;
        MainWindow *main = loggedIn();
        auto *sales = main->findChild<SalesWindow *>();
        env.desktop.messageAnswers.enqueue(QMessageBox::Cancel);
        QVERIFY(!main->close());
        QVERIFY(main->isVisible() && sales->isVisible());
    }

    void parentlessFormsStayUntilClosed()
    {
        TestEnvironment env;
        MainWindow *main = loggedIn();
        auto *sales = main->findChild<SalesWindow *>();
        child<QAction>(sales, "actionCustomer_Master")->trigger();
        const QList<CustomerMaster *> forms = topLevelWindows<CustomerMaster>();
        QCOMPARE(forms.size(), 1);
        CustomerMaster *form = forms.first();
        QVERIFY(form->isVisible());

        env.desktop.messageAnswers.enqueue(QMessageBox::No);
        QVERIFY(!programEnds([main] { main->close(); }));
        QVERIFY(!main->isVisible() && !sales->isVisible());
        QVERIFY(form->isVisible());

        QVERIFY(programEnds([form] { form->close(); }));
    }
};

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
