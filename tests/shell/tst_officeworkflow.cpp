// The office's day as a user walks it from the main window: a supplier's
// credit bill entered and paid (the dashboard, the payment form and the
// statement each see what the step before wrote), a stock item moved and
// requested from its supplier and found in the request list and the monthly
// report, an expense and a salary entry.

#include "support/materialrequestdata.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "expenses/expenseswindow.h"
#include "inventory/inventory_polist.h"
#include "inventory/inventory_purchaseorder.h"
#include "inventory/inventory_stockreport.h"
#include "inventory/inventorywindow.h"
#include "inventory/stockentry.h"
#include "purchase/paymententryform.h"
#include "purchase/purchasepaymentstatement.h"
#include "purchase/purchasewindow.h"
#include "salary/salarywindow.h"
#include "shell/mainwindow.h"
#include "widgets/tickcolumn.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

template<class W>
W *onlyWindow()
{
    const QList<W *> windows = topLevelWindows<W>();
    if (windows.size() != 1)
        qFatal("expected one %s, found %d", W::staticMetaObject.className(), int(windows.size()));
    return windows.first();
}

void trigger(QWidget *window, const char *action)
{
    child<QAction>(window, action)->trigger();
}

QString single(const QString &sql)
{
    QSqlQuery q;
    return q.exec(sql) && q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}

MainWindow *logIn()
{
    auto *main = new MainWindow;
    main->show();
    child<QLineEdit>(main, "usernameEdit")->setText("pravo");
    child<QLineEdit>(main, "passwordEdit")->setText("pravo");
    click(main, "submit_btn");
    return main;
}

// Runs `work` on the modal dialog that `open` shows.
void withModalDialog(const std::function<void()> &open, const std::function<void(QDialog *)> &work)
{
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            work(dialog);
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    open();
}

void enterBill(PurchaseWindow *w, const QString &billNo, const QString &supplier, const QDate &date,
               const QString &base, const QString &cgst9)
{
    child<QLineEdit>(w, "billnoEdit")->setText(billNo);
    child<QLineEdit>(w, "companyEdit")->setText(supplier);
    child<QDateEdit>(w, "dateEdit")->setDate(date);
    child<QRadioButton>(w, "creditradio_btn")->setChecked(true);
    QTableWidget *row = child<QTableWidget>(w, "entering_table");
    row->item(0, 0)->setText("Resin");
    row->item(0, 2)->setText(base);
    row->item(0, 7)->setText(cgst9);
    row->item(0, 8)->setText(cgst9);
    click(w, "save_btn");
}

// Pays the one unpaid bill of `supplier` in a payment form.
void pay(paymententryform *form, const QString &supplier, const QString &billNo, const QString &amount)
{
    child<QComboBox>(form, "companypaytable_combo")->setCurrentText(supplier);
    QTableWidget *unpaid = child<QTableWidget>(form, "listof_bills");
    if (unpaid->rowCount() != 1 || tableCell(unpaid, 0, 1) != billNo)
        qFatal("%s is not the one unpaid bill of %s", qPrintable(billNo), qPrintable(supplier));
    qobject_cast<QCheckBox *>(unpaid->cellWidget(0, 0))->setChecked(true);
    child<QLineEdit>(form, "amountEdit")->setText(amount);
    child<QLineEdit>(form, "refEdit")->setText("UTR 55");
    click(form, "paid_btn");
}

} // namespace

class TestOfficeWorkflow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }
    void cleanup() { closeDefaultDatabase(); }
    void purchaseBillToPayment();
    void stockToRequestAndReport();
    void expenseAndSalary();
};

void TestOfficeWorkflow::purchaseBillToPayment()
{
    if (QStandardPaths::findExecutable("wkhtmltoimage").isEmpty())
        QSKIP("wkhtmltoimage is not installed");
    TestEnvironment env;
    MainWindow *main = logIn();
    child<QToolButton>(main, "purchase_btn")->click();
    auto *purchase = main->findChild<PurchaseWindow *>();
    QVERIFY(purchase && purchase->isVisible());

    const QDate billDate = QDate::currentDate().addDays(-10);
    trigger(purchase, "actionPurchase_Entry");
    enterBill(purchase, "PB-1", "Shah Traders", billDate, "1000", "90");
    QCOMPARE(env.desktop.lastShown(), QString("Saved|Bill entry recorded successfully!"));

    // Back on the dashboard the bill is owed.
    click(purchase, "close_btn");
    QCOMPARE(child<QLabel>(purchase, "lbl_pur_unpaidbills")->text(), QString("1 bills"));
    QCOMPARE(child<QLabel>(purchase, "lbl_pur_debt")->text(), QString("Rs. 1180.00"));

    // Paid from the Payment menu's form while the dashboard stays in view: the
    // receipt is printed; the dashboard counts the bill until its Refresh.
    trigger(purchase, "actionPayment_Entry");
    auto *payment = onlyWindow<paymententryform>();
    QVERIFY(purchase->isVisible());
    env.desktop.clear();
    pay(payment, "Shah Traders", "PB-1", "1180");
    QCOMPARE(env.desktop.previews.size(), 1);
    QCOMPARE(env.desktop.previews.first().pageCount, 1); // the real renderer's receipt fits one page
    QCOMPARE(single("SELECT payment_status FROM purchase_bills"), QString("Paid"));
    QCOMPARE(single("SELECT COUNT(*) || ' ' || SUM(paid_amount) FROM payment_records"), QString("1 1180.0"));
    QCOMPARE(child<QLabel>(purchase, "lbl_pur_unpaidbills")->text(), QString("1 bills"));
    buttonWithText(purchase, "⟳ Refresh")->click();
    QCOMPARE(child<QLabel>(purchase, "lbl_pur_unpaidbills")->text(), QString("0 bills"));
    payment->close();

    // The entry page's payment form is kept: opened again, it is as it was
    // left, its suppliers those it listed when built; its payment reaches the
    // dashboard.
    trigger(purchase, "actionPurchase_Entry");
    enterBill(purchase, "MM-7", "Mehta Metals", billDate, "500", "45");
    click(purchase, "payment_entry_btn");
    auto *kept = purchase->findChild<paymententryform *>();
    QVERIFY(kept && kept->isVisible() && !purchase->isVisible());
    click(kept, "back_purchase_btn");
    QVERIFY(purchase->isVisible() && !kept->isVisible());
    enterBill(purchase, "PP-3", "Patel Paints", billDate, "200", "18");
    click(purchase, "payment_entry_btn");
    QCOMPARE(purchase->findChildren<paymententryform *>().size(), 1);
    const QStringList suppliers = comboTexts(child<QComboBox>(kept, "companypaytable_combo"));
    QVERIFY(suppliers.contains("Mehta Metals") && !suppliers.contains("Patel Paints"));
    pay(kept, "Mehta Metals", "MM-7", "590");
    click(kept, "back_purchase_btn");
    click(purchase, "close_btn");
    QCOMPARE(child<QLabel>(purchase, "lbl_pur_unpaidbills")->text(), QString("1 bills"));
    QCOMPARE(child<QLabel>(purchase, "lbl_pur_debt")->text(), QString("Rs. 236.00"));

    // The statement shows the payment beside its bill.
    trigger(purchase, "actionPayment_Statement");
    auto *statement = onlyWindow<purchasepaymentstatement>();
    child<QComboBox>(statement, "companystate_combo")->setCurrentText("Shah Traders");
    child<QDateEdit>(statement, "dateEdit")->setDate(billDate.addDays(-1));
    child<QDateEdit>(statement, "dateEdit_2")->setDate(QDate::currentDate());
    click(statement, "show_btn");
    QCOMPARE(child<QLineEdit>(statement, "tot_amtEdit")->text(), QString("1180.00"));
    QCOMPARE(child<QLineEdit>(statement, "paid_amtEdit")->text(), QString("1180.00"));

    // Closed and opened again from the main window: the same window.
    purchase->close();
    child<QToolButton>(main, "purchase_btn")->click();
    QCOMPARE(main->findChildren<PurchaseWindow *>().size(), 1);
    QVERIFY(purchase->isVisible());
}

void TestOfficeWorkflow::stockToRequestAndReport()
{
    TestEnvironment env;
    MainWindow *main = logIn();
    child<QToolButton>(main, "invent_cum_btn")->click();
    auto *inventory = main->findChild<InventoryWindow *>();
    QVERIFY(inventory && inventory->isVisible());

    // The request list finds its table before any stock item or request exists.
    trigger(inventory, "actionOrder_List_Status");
    QCOMPARE(env.desktop.messages.size(), 0);
    onlyWindow<inventory_polist>()->close();

    trigger(inventory, "actionStock_Entries");
    auto *register_ = onlyWindow<inventory_stockentry>();
    child<QComboBox>(register_, "category_combo")->setCurrentText("Raw Material");
    child<QLineEdit>(register_, "sup_nameEdit")->setText("Shah Traders");
    child<QLineEdit>(register_, "sup_phoneEdit")->setText("9876543210");
    child<QLineEdit>(register_, "itemEdit")->setText("Zinc");
    child<QLineEdit>(register_, "open_stockEdit")->setText("20");
    child<QLineEdit>(register_, "min_stockEdit")->setText("10");
    child<QComboBox>(register_, "uomEdit")->setCurrentText("kgs");
    click(register_, "add_btn");
    QCOMPARE(single("SELECT supplier_name || ' ' || balance_stock FROM inventory_items"), QString("SHAH TRADERS 20.0"));

    // Fifteen kgs go out: the item falls below its minimum.
    QTableWidget *stock = child<QTableWidget>(register_, "inventory_stock");
    QCOMPARE(stock->rowCount(), 1);
    QTest::mouseClick(stock->viewport(), Qt::LeftButton, {}, stock->visualItemRect(stock->item(0, 4)).center());
    withModalDialog([&] { click(register_, "update_btn"); }, [](QDialog *dialog) {
        for (QRadioButton *radio : dialog->findChildren<QRadioButton *>()) {
            if (radio->text() == "Reduction (-)")
                radio->setChecked(true);
        }
        child<QLineEdit>(dialog, "quantityEdit")->setText("15");
        buttonWithText(dialog, "Save")->click();
    });
    QCOMPARE(single("SELECT balance_stock FROM inventory_items"), QString("5"));
    register_->close();

    // Back on the window, its dashboard warns of it once refreshed.
    QTableWidget *low = child<QTableWidget>(inventory, "lbl_inv_rawmat");
    QCOMPARE(tableCell(low, 0, 0), QString("✅ All stock OK"));
    buttonWithText(inventory, "⟳ Refresh")->click();
    QCOMPARE(tableCell(low, 0, 0).trimmed(), QString("Zinc"));

    // A request to the item's supplier.
    trigger(inventory, "actionPO_Generation");
    auto *request = onlyWindow<inventory_purchaseorder>();
    child<QComboBox>(request, "supplier_combo")->setCurrentText("SHAH TRADERS");
    QTableWidget *items = child<QTableWidget>(request, "inventory_stock");
    QCOMPARE(items->rowCount(), 1);
    stockdata::ticks(items)->setTicked(0, true);
    items->item(0, 6)->setText("25");
    env.desktop.clear();
    click(request, "whatsapp_btn");
    QCOMPARE(env.desktop.openedUrls.size(), 1);
    QVERIFY(env.desktop.openedUrls.first().toString().contains("919876543210"));
    QCOMPARE(single("SELECT item_name || ' ' || order_qty || ' ' || status FROM purchase_orders"), QString("Zinc 25.0 Open"));
    request->close();
    QTableWidget *openRequests = child<QTableWidget>(inventory, "lbl_inv_raw_supp");
    QCOMPARE(tableCell(openRequests, 0, 0), QString("✅ No open requests"));
    buttonWithText(inventory, "⟳ Refresh")->click();
    QCOMPARE(openRequests->rowCount(), 2);
    QCOMPARE(tableCell(openRequests, 1, 0).trimmed(), QString("• Zinc"));

    // The request list shows it open.
    trigger(inventory, "actionOrder_List_Status");
    auto *list = onlyWindow<inventory_polist>();
    QTableWidget *ordered = child<QTableWidget>(list, "ordered_list");
    QCOMPARE(ordered->rowCount(), 1);
    QCOMPARE(tableCell(ordered, 0, 4), QString("Zinc"));

    // The month's report shows the opening stock and the reduction.
    trigger(inventory, "actionStock_Report");
    auto *report = onlyWindow<inventory_stockreport>();
    child<QComboBox>(report, "month_combo")->setCurrentIndex(QDate::currentDate().month() - 1);
    child<QComboBox>(report, "year_combo")->setCurrentText(QString::number(QDate::currentDate().year()));
    click(report, "show_btn");
    QTableWidget *grid = child<QTableWidget>(report, "inventory_stockreport_2");
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(tableCell(grid, 0, 3), QString("Zinc"));
    QCOMPARE(tableCell(grid, 0, 4), QString("35"));
    QCOMPARE(tableCell(grid, 0, 4 + QDate::currentDate().day()), QString("20\n15"));

    // Closed and opened again: a new window, its dashboard read afresh.
    inventory->close();
    child<QToolButton>(main, "invent_cum_btn")->click();
    auto *again = main->findChild<InventoryWindow *>();
    QVERIFY(again && again->isVisible());
    QCOMPARE(main->findChildren<InventoryWindow *>().size(), 1);
    QCOMPARE(tableCell(child<QTableWidget>(again, "lbl_inv_rawmat"), 0, 0).trimmed(), QString("Zinc"));
}

void TestOfficeWorkflow::expenseAndSalary()
{
    TestEnvironment env;
    MainWindow *main = logIn();
    child<QToolButton>(main, "expenses_btn")->click();
    auto *expenses = main->findChild<ExpensesWindow *>();
    QVERIFY(expenses && expenses->isVisible());
    child<QLineEdit>(expenses, "heading")->setText("Courier");
    child<QLineEdit>(expenses, "details")->setText("Samples to Vapi");
    child<QLineEdit>(expenses, "amount")->setText("250");
    click(expenses, "add_btn");
    QCOMPARE(single("SELECT heading || ' ' || amount FROM expenses"), QString("Courier 250.0"));

    child<QToolButton>(main, "salary_slip_btn")->click();
    auto *salary = main->findChild<SalaryWindow *>();
    QVERIFY(salary && salary->isVisible());
    child<QLineEdit>(salary, "nameEdit")->setText("Ravi");
    QTableWidget *input = child<QTableWidget>(salary, "input_table");
    input->setItem(0, 2, new QTableWidgetItem("26"));
    input->setItem(0, 5, new QTableWidgetItem("500"));
    QCOMPARE(tableCell(input, 0, 10), QString("13000.00"));
    click(salary, "addBtnInTable");
    QCOMPARE(env.desktop.lastShown(), QString("Success|Salary entry added for Ravi!"));
}

QTEST_MAIN(TestOfficeWorkflow)
#include "tst_officeworkflow.moc"
