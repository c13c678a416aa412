// The purchase window on a heavy year of bills: 20,000 supplier bills of 250
// suppliers over the last twelve months, most older credit bills paid. Times
// each list (all bills, one supplier, a period, a supplier's unpaid bills and
// its payment statement) beside its statement alone, the dashboard beside its
// statements, and the opening of the window.
//
//   bench_purchase

#include "support/heavypurchase.h"
#include "support/heavyyear.h"
#include "support/recordingdesktop.h"
#include "app/boundquery.h"
#include "app/dashboard.h"
#include "purchase/purchasedashboard.h"
#include "purchase/paymententryform.h"
#include "purchase/purchasepaymentstatement.h"
#include "purchase/purchasestore.h"
#include "purchase/supplierpayments.h"
#include "purchase/purchasewindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QSqlQuery>
#include <QTableWidget>

#include <cstdio>

namespace {

// Runs a list's statement and reads every field of every row.
int statementAlone(const BillListFilter &filter)
{
    QVariantMap values;
    if (filter.newestRecordFirst || (!filter.from.isEmpty() && !filter.to.isEmpty())) {
        values.insert(":from", filter.from);
        values.insert(":to", filter.to);
    }
    if (!filter.company.isEmpty() && filter.company != "All Companies")
        values.insert(":company", filter.company);
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!execBound(q, billListStatement(filter), values))
        qFatal("statement failed");
    int rows = 0;
    while (q.next()) {
        for (int c = 0; c < 19; ++c)
            q.value(c);
        ++rows;
    }
    return rows;
}

void click(QWidget &w, const char *name)
{
    w.findChild<QAbstractButton *>(name)->click();
    QApplication::processEvents();
}

void compare(const QString &what, double statement, int rows, double window)
{
    printFigure(what + " — statement alone", statement, rowsText(rows));
    printFigure(what + " — window", window,
                QString("ratio %1, allowed %2 ms").arg(window / statement, 0, 'f', 2).arg(1.5 * statement + 100, 0, 'f', 0));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initTestProgram();
    TestEnvironment env;
    if (!env.openDatabase())
        qFatal("cannot open the database");
    const double fillMs = msOf([] { std::printf("%s purchase bills\n", qPrintable(countText(fillPurchaseData()))); });
    printFigure("bills written", fillMs);
    std::printf("\n");

    PurchaseWindow *window = nullptr;
    printFigure("window opened (dashboard, supplier lists, all bills)", msOf([&] {
                    window = new PurchaseWindow;
                    QApplication::processEvents();
                }));

    int rows = 0;
    const double allStatement = msOf([&] { rows = statementAlone({}); }, 3);
    compare("all bills (Reset)", allStatement, rows, msOf([&] { click(*window, "pushButton"); }, 3));

    const QString supplier = benchSupplierName(7);
    const double supplierStatement = msOf([&] { rows = statementAlone({supplier, {}, {}, false}); }, 3);
    window->findChild<QComboBox *>("companyComboBox")->setCurrentText(supplier);
    compare("one supplier (Filter)", supplierStatement, rows, msOf([&] { click(*window, "company_show"); }, 3));

    const QDate today = QDate::currentDate();
    window->findChild<QComboBox *>("companyComboBox")->setCurrentIndex(0);
    window->findChild<QDateEdit *>("fromdateEdit")->setDate(today.addYears(-1));
    window->findChild<QDateEdit *>("todateEdit")->setDate(today);
    const double yearStatement = msOf(
        [&] { rows = statementAlone({QString(), today.addYears(-1).toString("yyyy-MM-dd"), today.toString("yyyy-MM-dd"), true}); }, 3);
    compare("the year (Show)", yearStatement, rows, msOf([&] { click(*window, "show_btn"); }, 3));

    window->findChild<QDateEdit *>("fromdateEdit")->setDate(QDate(today.year(), today.month(), 1));
    const double monthStatement = msOf(
        [&] { rows = statementAlone({QString(), QDate(today.year(), today.month(), 1).toString("yyyy-MM-dd"), today.toString("yyyy-MM-dd"), true}); }, 3);
    compare("this month (Show)", monthStatement, rows, msOf([&] { click(*window, "show_btn"); }, 3));

    std::printf("\n");
    const double figures = msOf(
        [&] {
            for (const DashboardMonth &m : lastTwelveMonths(today))
                purchaseMonthSum(m.from, m.to);
            unpaidBillCount();
            supplierDebt();
            purchaseMonthSum(monthStart(today), today);
            topSuppliers();
            unpaidSuppliers();
            overdueSuppliers();
            purchaseMonthSum(previousMonthStart(today), previousMonthEnd(today));
        },
        3);
    compare("dashboard", figures, 0, msOf([&] {
                window->refreshDashboard();
                QApplication::processEvents();
            }, 3));
    printFigure("WhatsApp alert figures", msOf([&] { loadPurchaseSummary(today); }, 3));

    std::printf("\n");
    paymententryform payment;
    QList<UnpaidBill> unpaid;
    const double unpaidStatement = msOf([&] { loadUnpaidBills(supplier, &unpaid, nullptr); }, 3);
    compare("unpaid bills of one supplier (payment entry)", unpaidStatement, unpaid.size(),
            msOf([&] { payment.loadUnpaidBills(supplier); }, 3));

    purchasepaymentstatement statement;
    const QString from = today.addYears(-1).toString("yyyy-MM-dd");
    const QString to = today.addDays(1).toString("yyyy-MM-dd");
    QList<StatementRecord> records;
    const double statementMs = msOf([&] { loadSupplierStatement(supplier, from, to, &records, nullptr); }, 3);
    statement.findChild<QComboBox *>("companystate_combo")->setCurrentText(supplier);
    compare("payments to one supplier (statement)", statementMs, records.size(),
            msOf([&] { click(statement, "show_btn"); }, 3));
    delete window;
    return 0;
}
