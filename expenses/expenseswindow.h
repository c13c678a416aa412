#pragma once

#include <QMainWindow>

QT_BEGIN_NAMESPACE
namespace Ui {
class ExpensesWindow;
}
QT_END_NAMESPACE

// Expense entries by date and heading.
class ExpensesWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ExpensesWindow(QWidget *parent = nullptr);
    ~ExpensesWindow() override;

private:
    Ui::ExpensesWindow *ui;
};
