#pragma once

#include <QMainWindow>

QT_BEGIN_NAMESPACE
namespace Ui {
class InventoryWindow;
}
QT_END_NAMESPACE

// Stock items, material requests and the inventory dashboard.
class InventoryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit InventoryWindow(QWidget *parent = nullptr);
    ~InventoryWindow() override;

private:
    Ui::InventoryWindow *ui;
};
