// The invoice main list and its GST statement over a heavy year (10,000
// invoices of 300 customers). Times the list statement alone, the window
// opening and its Show over the whole year, and the CSV export, each beside
// the statement with their ratio (the fastest of five runs each).

#include "core/financialyear.h"
#include "invoicing/invoicegstmainlist.h"
#include "invoicing/invoiceliststore.h"
#include "support/benchlimit.h"
#include "support/benchrun.h"
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

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication app(argc, argv);
    TestEnvironment env;
    openBenchDatabase(env);
    DataSize size = heavyYear();
    size.invoicesPerYear = 10000;
    std::printf("%s\n\n", qPrintable(fillData(size).summary()));

    QList<InvoiceListRow> rows;
    QString error;
    const double statementMs = bestMsOf([&] {
        if (!queryInvoiceList(wholeYear(), &rows, &error))
            qFatal("invoice list: %s", qPrintable(error));
    }, 5);

    // The window opens on the default period; Show here is over the whole year.
    InvoiceListFilter opening = wholeYear();
    opening.from = defaultPeriodStart().toString("yyyy-MM-dd");
    opening.to = QDate::currentDate().toString("yyyy-MM-dd");
    const double openingMs = bestMsOf([&] { queryInvoiceList(opening, &rows, &error); }, 5);
    QVariantMap openingValues;
    const QString openingSql = invoiceListStatement(opening, &openingValues);
    QVariantMap yearValues;
    const ListStatement year(invoiceListStatement(wholeYear(), &yearValues), yearValues);

    invoiceGSTmainList *window = nullptr;
    const double openMs = bestOpeningMs(&window);
    auto *list = window->findChild<QTableWidget *>("invoice_list");
    printAgainstStatements("window built and shown, this year", openingMs, openMs, list->rowCount(),
                           ListStatement(openingSql, openingValues));

    window->findChild<QDateEdit *>("fromdateEdit")->setDate(QDate(2026, 4, 1));
    window->findChild<QDateEdit *>("todateEdit")->setDate(QDate(2027, 3, 31));
    const double showMs = bestClickMs(window, "show_btn");
    printAgainstStatements("Show, whole year", statementMs, showMs, list->rowCount(), year);

    printScrolled(list);

    const QString path = env.folder() + "/GST_Statement_26-27.csv";
    env.desktop.saveFileAnswers.enqueue(path);
    const double exportMs = msOf([&] { window->findChild<QPushButton *>("print_statement")->click(); });
    printAgainstStatements(QString("GST statement export (%1 bytes)").arg(countText(QFileInfo(path).size())),
                           statementMs, exportMs, list->rowCount(), year);

    printMessages(env);
    delete window;
    printLimitVerdict();
    return 0;
}
