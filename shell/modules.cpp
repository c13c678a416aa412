#include "modulefactory.h"

#include "expenses/expenseswindow.h"
#include "inventory/inventorywindow.h"
#include "purchase/purchasewindow.h"
#include "salary/salarywindow.h"
#include "sales/saleswindow.h"

void registerModuleWindows()
{
    ModuleWindowFactory f;
    f.sales = [](QWidget *parent) -> QMainWindow * { return new SalesWindow(parent); };
    f.purchase = [](QWidget *parent) -> QMainWindow * { return new PurchaseWindow(parent); };
    f.expenses = [](QWidget *parent) -> QMainWindow * { return new ExpensesWindow(parent); };
    f.salary = [](QWidget *parent) -> QMainWindow * { return new SalaryWindow(parent); };
    f.inventory = [](QWidget *parent) -> QMainWindow * { return new InventoryWindow(parent); };
    setModuleWindowFactory(f);
}
