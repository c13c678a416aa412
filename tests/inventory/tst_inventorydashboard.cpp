// The inventory dashboard: the chart of material requests by month, the
// low-stock and open-request cards per category, and the stock alert message.

#include "support/materialrequestdata.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "inventory/inventory_polist.h"
#include "inventory/inventory_purchaseorder.h"
#include "inventory/inventory_stockreport.h"
#include "inventory/inventorydashboard.h"
#include "inventory/inventorywindow.h"
#include "inventory/stockwatch.h"
#include "output/whatsapp.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QtTest>

using namespace stockdata;

namespace {

QList<QChartView *> chartViews(QWidget *root)
{
    return root->findChild<QWidget *>("invChartHolder")->findChildren<QChartView *>();
}

// Each row of a card: its cells joined by "|", a spanning row as its one text.
QStringList cardRows(QWidget *root, const char *table)
{
    auto *t = child<QTableWidget>(root, table);
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r) {
        if (t->columnSpan(r, 0) == 3)
            out << tableCell(t, r, 0);
        else
            out << rowTexts(t, r).join('|');
    }
    return out;
}

} // namespace

class TestInventoryDashboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }

    void chartCountsRequestsOfTwelveMonths()
    {
        TestEnvironment env;
        QVERIFY(openInventoryDatabase(env));
        for (const QString &item : QStringList{"A", "B", "C", "D", "E"})
            addRequestLine({"MR/26-27/020", "2026-12-01", "S", item});
        for (int n = 1; n <= 4; ++n)
            addRequestLine({QString("MR/26-27/01%1").arg(n), "2026-11-30", "S"});
        addRequestLine({"MR/25-26/001", "2026-01-01", "S"});
        addRequestLine({"MR/25-26/000", "2025-12-31", "S"}); // thirteen months back

        auto *window = new InventoryWindow;
        loadInventoryDashboard(window, QDate(2026, 12, 7));
        QChart *chart = chartViews(window).at(0)->chart();
        auto *series = qobject_cast<QBarSeries *>(chart->series().at(0));
        QList<qreal> values;
        for (int i = 0; i < 12; ++i)
            values << series->barSets().at(0)->at(i);
        QCOMPARE(values, QList<qreal>({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 1}));
        auto *months = qobject_cast<QBarCategoryAxis *>(chart->axes(Qt::Horizontal).at(0));
        QCOMPARE(months->categories().first(), QString("Jan 26"));
        QCOMPARE(months->categories().last(), QString("Dec 26"));
        auto *counts = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).at(0));
        QCOMPARE(counts->max(), 6.0);
    }

    void cardsOfEachCategory()
    {
        TestEnvironment env;
        QVERIFY(openInventoryDatabase(env));
        addStockItem({"Raw Material", "S", "Zinc", 5, "kgs", {}, 5});     // at its minimum
        addStockItem({"Raw Material", "S", "Copper", 5.01, "kgs", {}, 5}); // above it
        addStockItem({"Raw Material", "S", "Alum", 0, "kgs", {}, 0});      // no minimum
        addStockItem({"raw material", "S", "Lead", 0, "kgs", {}, 5});      // other case
        addRequestLine({"MR/1", "2026-03-01", "SHAH", "Rod", "Hardware", 2, "kgs"});
        addRequestLine({"MR/2", "2026-03-05", "SHAH", "Bolt", "Hardware", 12.5, "nos"});
        addRequestLine({"MR/3", "2026-02-20", "SHAH", "Nut", "Hardware", 3, "nos"});
        addRequestLine({"MR/4", "05-03-2026", "", "Pin", "Hardware", 1, "nos"});
        addRequestLine({"MR/5", "2026-03-05", "SHAH", "Tape", "Hardware", 1, "nos", "Pending"});

        // The inventory window builds the page and fills it at once.
        auto *window = new InventoryWindow;
        QCOMPARE(cardRows(window, "lbl_inv_rawmat"), QStringList({"Zinc|5.00 kgs|5.00 kgs"}));
        QCOMPARE(cardRows(window, "lbl_inv_hardware_supp"),
                 QStringList({"  • Pin|1 nos|", "📦 SHAH", "  • Bolt|13 nos|05/03/26", "  • Rod|2 kgs|01/03/26",
                              "  • Nut|3 nos|20/02/26"}));
        QCOMPARE(cardRows(window, "lbl_inv_critspare"), QStringList({"✅ All stock OK"}));
        QCOMPARE(cardRows(window, "lbl_inv_raw_supp"), QStringList({"✅ No open requests"}));

        // Refresh twice: the cards rebuilt, one chart.
        testdata::exec("UPDATE inventory_items SET balance_stock = 9 WHERE item_name = 'Zinc'");
        auto *refresh = buttonWithText(window, "⟳ Refresh");
        refresh->click();
        refresh->click();
        QCOMPARE(cardRows(window, "lbl_inv_rawmat"), QStringList({"✅ All stock OK"}));
        QCOMPARE(chartViews(window).size(), 1);
    }

    // Closing a form leaves the page as it was; Refresh, or one card's own
    // refill, reads the tables again. The alert is the window's own slot.
    void refillsOnlyWhenAsked()
    {
        TestEnvironment env;
        QVERIFY(openInventoryDatabase(env));
        auto *window = new InventoryWindow;
        addStockItem({"Safety", "S", "Gloves", 0, "pairs", {}, 1});
        addRequestLine({"MR/1", "2026-12-01", "SHAH", "Rod", "Hardware", 2, "kgs"});
        for (const char *action : {"actionStock_Entries", "actionPO_Generation", "actionOrder_List_Status"}) {
            child<QAction>(window, action)->trigger();
            for (QWidget *form : QApplication::topLevelWidgets()) {
                if (form != window && form->isVisible())
                    form->close();
            }
            QCOMPARE(cardRows(window, "lbl_inv_stat"), QStringList({"✅ All stock OK"}));
            QCOMPARE(cardRows(window, "lbl_inv_hardware_supp"), QStringList({"✅ No open requests"}));
        }
        window->loadLowStockCard("Safety", "lbl_inv_stat");
        QCOMPARE(cardRows(window, "lbl_inv_stat"), QStringList({"Gloves|0.00 pairs|1.00 pairs"}));
        QCOMPARE(cardRows(window, "lbl_inv_hardware_supp"), QStringList({"✅ No open requests"}));
        window->loadRequestCard("Hardware", "lbl_inv_hardware_supp");
        QCOMPARE(cardRows(window, "lbl_inv_hardware_supp"), QStringList({"📦 SHAH", "  • Rod|2 kgs|01/12/26"}));
        QVERIFY(QMetaObject::invokeMethod(window, "sendWhatsAppAlert"));
        QCOMPARE(env.desktop.openedUrls.size(), 1);
    }

    void alertMessage()
    {
        TestEnvironment env;
        QVERIFY(openInventoryDatabase(env));
        setCompany("Morvel Coats", "098765 43210");
        // Figures from their decimals, half away from zero: 1.005 is 1.01.
        addStockItem({"Raw Material", "SHAH", "Steel rod", 1.005, "kgs", {}, 2.675});
        addStockItem({"Safety", "SHAH", "Gloves", 0, "pairs", {}, 1});
        addRequestLine({"MR/1", "2026-12-01", "SHAH TRADERS", "Steel rod", "Raw Material", 50, "kgs"});
        addRequestLine({"MR/2", "2026-12-02", "", "Spring", "Critical Spare", 12.5, "nos"});
        addRequestLine({"MR/2", "2026-12-02", "ACME", "Valve", "Critical Spare", 1, "nos"});

        auto *window = new InventoryWindow;
        QCOMPARE(cardRows(window, "lbl_inv_rawmat"), QStringList({"Steel rod|1.01 kgs|2.68 kgs"}));
        buttonWithText(window, "📱 WhatsApp Alert")->click();
        const QString today = QDate::currentDate().toString("dd/MM/yyyy");
        const QString message = "🚨 Stock & Material Request Alert\nMorvel Coats\n" + today + "\n"
                                "📂 Raw Material\n───────────────\n"
                                "🔴 Low Stock:\n* Steel rod - Bal:1.01 Min:2.68 kgs\n"
                                "📋 Open Requests:\n  📦 SHAH TRADERS\n    • Steel rod - 50 kgs (01/12/26)\n\n"
                                "📂 Critical Spare\n───────────────\n"
                                "📋 Open Requests:\n    • Spring - 13 nos (02/12/26)\n  📦 ACME\n    • Valve - 1 nos (02/12/26)\n\n"
                                "📂 Safety\n───────────────\n"
                                "🔴 Low Stock:\n* Gloves - Bal:0.00 Min:1.00 pairs\n\n"
                                "Please arrange urgently.";
        QCOMPARE(env.desktop.openedUrls, QList<QUrl>{whatsAppUrl(WhatsAppLink::WebSend, "919876543210", message)});
    }

    // A request's short date is "dd/MM/yy" of its stored "yyyy-MM-dd"; any
    // other text, or no such day, gives nothing.
    void shortDatesOfStoredDates()
    {
        const std::pair<const char *, const char *> dates[] = {
            {"2026-05-01", "01/05/26"}, {"2024-02-29", "29/02/24"}, {"2026-02-29", ""}, {"2026-13-01", ""},
            {"2026-5-01", ""}, {"", ""}, {" 2026-05-01", ""}, {"2026/05/01", ""}, {"2026-0\u0665-01", ""}};
        for (const auto &[stored, shown] : dates) {
            OpenRequestLine line;
            line.poDate = stored;
            QCOMPARE(line.shortDate(), QString(shown));
        }
    }

    void allClearShowsABox()
    {
        TestEnvironment env;
        // The tables do not exist yet: nothing is low, nothing open.
        QVERIFY(testdata::openSalesDatabase(env));
        auto *window = new InventoryWindow;
        QCOMPARE(cardRows(window, "lbl_inv_stat"), QStringList({"✅ All stock OK"}));
        buttonWithText(window, "📱 WhatsApp Alert")->click();
        QCOMPARE(env.desktop.lastShown(), QString("Stock Alert|✅ All stock OK and no open requests!"));
        QVERIFY(env.desktop.openedUrls.isEmpty());

        // The menu opens each form once, and a closed one anew.
        for (const char *action : {"actionPO_Generation", "actionOrder_List_Status", "actionStock_Report"}) {
            child<QAction>(window, action)->trigger();
            child<QAction>(window, action)->trigger();
        }
        QCOMPARE(topLevelWindows<inventory_purchaseorder>().size(), 1);
        QCOMPARE(topLevelWindows<inventory_polist>().size(), 1);
        QCOMPARE(topLevelWindows<inventory_stockreport>().size(), 1);
        QPointer<inventory_stockreport> report = topLevelWindows<inventory_stockreport>().at(0);
        report->close();
        child<QAction>(window, "actionStock_Report")->trigger();
        QVERIFY(!report);
        QCOMPARE(topLevelWindows<inventory_stockreport>().size(), 1);
    }
};

QTEST_MAIN(TestInventoryDashboard)
#include "tst_inventorydashboard.moc"
