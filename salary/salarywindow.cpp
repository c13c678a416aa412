#include "salarywindow.h"
#include "ui_salarywindow.h"

SalaryWindow::SalaryWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::SalaryWindow)
{
    ui->setupUi(this);

}

SalaryWindow::~SalaryWindow()
{
    delete ui;
}
