// The purchase window on a heavy year of bills: 20,000 supplier bills of 250
// suppliers over the last twelve months, most older credit bills paid. Times
// each list (all bills, one supplier, a period, a supplier's unpaid bills and
// its payment statement) beside its floor (its statements, the bills and
// then their payments, run by the sqlite3 shell on the same file), the dashboard beside its statements, and the
// opening of the window (dashboard, supplier lists and every bill) beside
// theirs. Each figure is the fastest of five runs.
//
//   bench_purchase

#include "core/boundquery.h"
#include "purchase/paymententryform.h"
#include "purchase/purchasedashboard.h"
#include "purchase/purchasepaymentstatement.h"
#include "purchase/purchasestore.h"
#include "purchase/purchasewindow.h"
#include "purchase/supplierpaymentstore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavypurchase.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"
#include "widgets/dashboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>

#include <cstdio>

namespace {

// A list's statements with the values its window binds: its bills, then
// their payments.
QList<ListStatement> listStatements(const BillListFilter &filter)
{
    const QVariantMap values = billListValues(filter);
    return {ListStatement(billListStatement(filter), values), ListStatement(billListPaymentsStatement(filter), values)};
}

// Runs a list's statements and reads every field of every row.
int statementAlone(const BillListFilter &filter)
{
    int rows = 0;
    bool bills = true;
    for (const ListStatement &statement : listStatements(filter)) {
        QSqlQuery q;
        q.setForwardOnly(true);
        if (!execBound(q, statement.sql, statement.named))
            qFatal("statement failed");
        const int columns = q.record().count();
        while (q.next()) {
            for (int c = 0; c < columns; ++c)
                q.value(c);
            rows += bills;
        }
        bills = false;
    }
    return rows;
}

// The dashboard's figures: its bars and cards.
void dashboardFigures(const QDate &today)
{
    for (const DashboardMonth &m : lastTwelveMonths(today))
        purchaseMonthSum(m.from, m.to);
    unpaidBillCount();
    supplierDebt();
    purchaseMonthSum(monthStart(today), today);
    topSuppliers();
    unpaidSuppliers();
    overdueSuppliers();
    purchaseMonthSum(previousMonthStart(today), previousMonthEnd(today));
}

// What the dashboard runs: its bars and cards.
QList<ListStatement> dashboardStatements(const QDate &today)
{
    QList<ListStatement> statements;
    for (const auto &[sql, values] : purchaseDashboardStatements(today))
        statements << ListStatement(sql, values);
    return statements;
}

const QList<ListStatement> SupplierStatements{
    ListStatement("SELECT DISTINCT company_name FROM purchase_bills ORDER BY company_name ASC"),
    ListStatement("SELECT DISTINCT company_name, gst_no FROM purchase_bills ")};


} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    initTestProgram();
    TestEnvironment env;
    openBenchDatabase(env);
    const double fillMs = msOf([] { std::printf("%s purchase bills\n", qPrintable(countText(fillPurchaseData()))); });
    printFigure("bills written", fillMs);
    std::printf("\n");

    const QDate today = QDate::currentDate();
    PurchaseWindow *window = nullptr;
    const double openStatements = bestMsOf(
        [&] {
            statementAlone({});
            loadSupplierLists();
            dashboardFigures(today);
        },
        5);
    const double open = bestOpeningMs(&window);
    printAgainstStatements("window opened (dashboard, supplier lists, all bills)", openStatements, open,
                           window->findChild<QTableWidget *>("main_table")->rowCount(),
                           dashboardStatements(today) + SupplierStatements + listStatements({}));

    int rows = 0;
    const double allStatement = bestMsOf([&] { rows = statementAlone({}); }, 5);
    const double allWindow = bestClickMs(window, "pushButton");
    printAgainstStatements("all bills (Reset)", allStatement, allWindow, rows, listStatements({}));

    const QString supplier = benchSupplierName(7);
    const double supplierStatement = bestMsOf([&] { rows = statementAlone({supplier, {}, {}, false}); }, 5);
    window->findChild<QComboBox *>("companyComboBox")->setCurrentText(supplier);
    const double supplierWindow = bestClickMs(window, "company_show");
    printAgainstStatements("one supplier (Filter)", supplierStatement, supplierWindow, rows,
                           listStatements({supplier, {}, {}, false}));

    window->findChild<QComboBox *>("companyComboBox")->setCurrentIndex(0);
    window->findChild<QDateEdit *>("fromdateEdit")->setDate(today.addYears(-1));
    window->findChild<QDateEdit *>("todateEdit")->setDate(today);
    const double yearStatement = bestMsOf(
        [&] { rows = statementAlone({QString(), today.addYears(-1).toString("yyyy-MM-dd"), today.toString("yyyy-MM-dd"), true}); }, 5);
    const double yearWindow = bestClickMs(window, "show_btn");
    printAgainstStatements("the year (Show)", yearStatement, yearWindow, rows,
                           listStatements({QString(), today.addYears(-1).toString("yyyy-MM-dd"), today.toString("yyyy-MM-dd"), true}));

    window->findChild<QDateEdit *>("fromdateEdit")->setDate(QDate(today.year(), today.month(), 1));
    const double monthStatement = bestMsOf(
        [&] { rows = statementAlone({QString(), QDate(today.year(), today.month(), 1).toString("yyyy-MM-dd"), today.toString("yyyy-MM-dd"), true}); }, 5);
    const double monthWindow = bestClickMs(window, "show_btn");
    printAgainstStatements("this month (Show)", monthStatement, monthWindow, rows,
                           listStatements({QString(), QDate(today.year(), today.month(), 1).toString("yyyy-MM-dd"), today.toString("yyyy-MM-dd"), true}));

    std::printf("\n");
    const double figures = bestMsOf([&] { dashboardFigures(today); }, 5);
    const double dashboardWindow = bestMsOf(
        [&] {
            window->refreshDashboard();
            QApplication::processEvents();
        },
        5);
    printAgainstStatements("dashboard", figures, dashboardWindow, 0, dashboardStatements(today));
    printFigure("WhatsApp alert figures", bestMsOf([&] { loadPurchaseSummary(today); }, 5));

    std::printf("\n");
    paymententryform payment;
    QList<UnpaidBill> unpaid;
    const double unpaidStatement = bestMsOf([&] { loadUnpaidBills(supplier, &unpaid, nullptr); }, 5);
    const double unpaidWindow = bestMsOf([&] { payment.loadUnpaidBills(supplier); }, 5);
    printAgainstStatements("unpaid bills of one supplier (payment entry)", unpaidStatement, unpaidWindow, unpaid.size());

    purchasepaymentstatement statement;
    const QString from = today.addYears(-1).toString("yyyy-MM-dd");
    const QString to = today.addDays(1).toString("yyyy-MM-dd");
    QList<StatementRecord> records;
    const double statementMs = bestMsOf([&] { loadSupplierStatement(supplier, from, to, &records, nullptr); }, 5);
    statement.findChild<QComboBox *>("companystate_combo")->setCurrentText(supplier);
    const double statementWindow = bestClickMs(&statement, "show_btn");
    printAgainstStatements("payments to one supplier (statement)", statementMs, statementWindow, records.size());
    delete window;
    return printLimitVerdict() ? 0 : 1;
}
