// The invoice main list and its GST statement over a heavy year (10,000
// invoices of 300 customers, most of them paid in one to three payment
// rows: 20,000 payment rows). Times the list's statements alone, the window
// opening, its Show over the whole year and its Reset after it, and the CSV
// export, each beside the floor of the statements the window runs (its rows,
// and the payments it keeps of them) with their ratio (the fastest of five
// runs each).

#include "core/financialyear.h"
#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoiceliststore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
#include "support/heavypayments.h"
#include "support/heavyyear.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>

#include <cstdio>

namespace {

InvoiceListFilter wholeYear()
{
    InvoiceListFilter filter;
    filter.from = "2026-04-01";
    filter.to = "2027-03-31";
    filter.currentFy = "26-27";
    return filter;
}

// The window opens on the default period, and goes back to it on Reset.
InvoiceListFilter defaultPeriod()
{
    InvoiceListFilter filter = wholeYear();
    filter.from = defaultPeriodStart().toString("yyyy-MM-dd");
    filter.to = QDate::currentDate().toString("yyyy-MM-dd");
    return filter;
}

// The statements the window runs for a filter.
QList<ListStatement> statementsOf(const InvoiceListFilter &filter)
{
    QVariantMap values;
    const QString rows = invoiceListStatement(filter, &values);
    return {ListStatement(rows, values), ListStatement(ListedInvoicePayments::statement())};
}

double queryMs(const InvoiceListFilter &filter)
{
    QList<InvoiceListRow> rows;
    QString error;
    return bestMsOf(
        [&] {
            if (!queryInvoiceList(filter, &rows, &error))
                qFatal("invoice list: %s", qPrintable(error));
        },
        5);
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    DataSize size = heavyYear();
    size.invoicesPerYear = 10000;
    std::printf("%s\n", qPrintable(fillData(size).summary()));
    std::printf("%s\n\n", qPrintable(fillPayments().summary()));

    const double yearMs = queryMs(wholeYear());
    const double openingMs = queryMs(defaultPeriod());

    invoiceGSTmainList *window = nullptr;
    const double openMs = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("invoice_list");
    printAgainstStatements("window built and shown, this year", openingMs, openMs, list->rowCount(),
                           statementsOf(defaultPeriod()));

    auto *from = window->findChild<QDateEdit *>("fromdateEdit");
    auto *to = window->findChild<QDateEdit *>("todateEdit");
    const auto wholeYearShown = [&] {
        from->setDate(QDate(2026, 4, 1));
        to->setDate(QDate(2027, 3, 31));
        window->findChild<QPushButton *>("show_btn")->click();
        settle();
    };
    wholeYearShown();
    const double showMs = bestClickMs(window, "show_btn");
    printAgainstStatements("Show, whole year", yearMs, showMs, list->rowCount(), statementsOf(wholeYear()));

    const double resetMs = bestClickMs(window, "reset_btn", 5, wholeYearShown);
    printAgainstStatements("Reset after the whole year", openingMs, resetMs, list->rowCount(),
                           statementsOf(defaultPeriod()));

    wholeYearShown();
    printScrolled(list);

    const QString path = env.folder() + "/GST_Statement_26-27.csv";
    env.desktop.saveFileAnswers.enqueue(path);
    const double exportMs = msOf([&] { window->findChild<QPushButton *>("print_statement")->click(); });
    printAgainstStatements(QString("GST statement export (%1 bytes)").arg(countText(QFileInfo(path).size())),
                           yearMs, exportMs, list->rowCount(), statementsOf(wholeYear()));

    printMessages(env);
    delete window;
    printLimitVerdict();
    return 0;
}
