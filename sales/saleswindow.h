#pragma once

#include <QMainWindow>

QT_BEGIN_NAMESPACE
namespace Ui {
class SalesWindow;
}
QT_END_NAMESPACE

// Sales, job work and invoicing.
class SalesWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit SalesWindow(QWidget *parent = nullptr);
    ~SalesWindow() override;

private:
    Ui::SalesWindow *ui;
};
