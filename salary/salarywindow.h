#pragma once

#include <QMainWindow>

QT_BEGIN_NAMESPACE
namespace Ui {
class SalaryWindow;
}
QT_END_NAMESPACE

// Employee salary entries and salary slips.
class SalaryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SalaryWindow(QWidget *parent = nullptr);
    ~SalaryWindow() override;

private:
    Ui::SalaryWindow *ui;
};
