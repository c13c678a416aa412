#include "expenseswindow.h"
#include "ui_expenseswindow.h"

ExpensesWindow::ExpensesWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::ExpensesWindow)
{
    ui->setupUi(this);
    showMaximized();
}

ExpensesWindow::~ExpensesWindow()
{
    delete ui;
}
