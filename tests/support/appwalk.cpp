#include "appwalk.h"

#include "shell/mainwindow.h"
#include "sales/saleswindow.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>

SalesWindow *logInToSales(MainWindow *main)
{
    main->show();
    child<QLineEdit>(main, "usernameEdit")->setText("pravo");
    child<QLineEdit>(main, "passwordEdit")->setText("pravo");
    click(main, "submit_btn");
    child<QToolButton>(main, "sales_btn")->click();
    auto *sales = main->findChild<SalesWindow *>();
    return sales && sales->isVisible() ? sales : nullptr;
}

void trigger(QWidget *window, const char *action)
{
    child<QAction>(window, action)->trigger();
}
