#pragma once

#include <QMainWindow>

QT_BEGIN_NAMESPACE
namespace Ui {
class PurchaseWindow;
}
QT_END_NAMESPACE

// Purchase bills, supplier payments and the purchase dashboard.
class PurchaseWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PurchaseWindow(QWidget *parent = nullptr);
    ~PurchaseWindow() override;

private:
    Ui::PurchaseWindow *ui;
};
