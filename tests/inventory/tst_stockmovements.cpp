#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/stockdata.h"
#include "support/widgets.h"

#include "core/money.h"
#include "inventory/inventoryschema.h"
#include "inventory/stockentry.h"
#include "inventory/stockstore.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <random>

using testdata::exec;
using testdata::rows;

namespace {

// additions|reductions|balance|last_updated of the item.
QString totals(int itemId)
{
    return rows(QString("SELECT stock_addition, stock_reduction, balance_stock, last_updated FROM inventory_items "
                        "WHERE item_id = %1")
                    .arg(itemId))
        .value(0);
}

QStringList movementsAfterOpening()
{
    return rows("SELECT item_id, item_name, category, supplier_name, trans_date, trans_type, quantity, remarks "
                "FROM inventory_transactions WHERE trans_type <> 'Opening Stock' ORDER BY trans_id");
}

// An item with opening 20 and additions 10: the list shows additions 10.00 and balance 30.00.
int boltAt30()
{
    const int id = addStock("Hardware", "ACME TOOLS", "Hex Bolt", 20, 5);
    exec(QString("UPDATE inventory_items SET stock_addition = 10, balance_stock = 30 WHERE item_id = %1").arg(id));
    return id;
}

} // namespace

class TestStockMovements : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }

    void additionAndReductionChangeTotalsAndLogOneRow()
    {
        StockForm f;
        const int bolt = boltAt30();
        f.reload();

        f.move(bolt, true, "5");
        QCOMPARE(f.takeMessages(), QStringList{"Success|Stock updated successfully!"});
        QCOMPARE(totals(bolt), "15|0|35|" + storedToday());
        QCOMPARE(movementsAfterOpening(),
                 QStringList{QString("%1|Hex Bolt|Hardware|ACME TOOLS|%2|Addition|5|").arg(bolt).arg(storedToday())});

        // A reduction of the whole balance is accepted and leaves 0.
        f.move(bolt, false, "35");
        QCOMPARE(f.takeMessages(), QStringList{"Success|Stock updated successfully!"});
        QCOMPARE(totals(bolt), "15|35|0|" + storedToday());

        // A movement dated in the past dates the item and the row.
        f.move(bolt, true, "2.5", QDate(2024, 12, 1));
        QCOMPARE(totals(bolt), "17.5|35|2.5|2024-12-01");
        QCOMPARE(movementsAfterOpening().last().section('|', 4, 4), QString("2024-12-01"));
    }

    void refusedQuantitiesWriteNothing_data()
    {
        QTest::addColumn<bool>("addition");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("message");
        const QString invalid = "Error|Please enter a valid quantity!";
        const QString tooLarge = "Figure Too Large|Quantity is too large: at most 999,999,999.999 (quantity)";
        QTest::newRow("above the balance") << false << "30.01" << "Error|Reduction cannot exceed balance stock!";
        QTest::newRow("zero") << true << "0" << invalid;
        QTest::newRow("negative") << true << "-3" << invalid;
        QTest::newRow("empty") << false << "  " << invalid;
        QTest::newRow("text") << true << "five" << invalid;
        QTest::newRow("NaN") << true << "nan" << invalid;
        QTest::newRow("infinity") << true << "inf" << invalid;
        QTest::newRow("overflow") << true << "1e309" << invalid;
        QTest::newRow("total overflows") << true << "1.7e308" << tooLarge;
        QTest::newRow("too large") << true << "1e300" << tooLarge;
        QTest::newRow("total reaches 10^15") << true << "999999999999970" << tooLarge;
        QTest::newRow("at the quantity bound") << true << "1000000000" << tooLarge;
        QTest::newRow("just over the bound") << true << "1000000000.001" << tooLarge;
        // 30 in the list: 999,999,970 more is 10^9, past the balance's bound.
        const QString pastBound = "Figure Too Large|Quantity is too large: the balance would pass "
                                  "999,999,999.999 (quantity)";
        QTest::newRow("total reaches the bound") << true << "999999970" << pastBound;
        QTest::newRow("total rounds to the bound") << true << "999999969.9995" << pastBound;
        QTest::newRow("largest balance and a thousandth") << true << "0.001" << pastBound;
        // Additions of 9,000,000,000,000: one more thousandth is more than a
        // REAL keeps to the thousandth.
        QTest::newRow("totals past exact thousandths")
            << true << "0.001"
            << "Figure Too Large|The running totals of item 'Hex Bolt' are too large to keep exactly to the "
               "thousandth. Nothing was saved.";
    }

    void refusedQuantitiesWriteNothing()
    {
        QFETCH(bool, addition);
        QFETCH(QString, quantity);
        QFETCH(QString, message);
        StockForm f;
        const int bolt = boltAt30();
        if (QByteArray(QTest::currentDataTag()) == "total overflows")
            exec("UPDATE inventory_items SET stock_addition = 1.7e308, balance_stock = 1.7e308");
        if (QByteArray(QTest::currentDataTag()) == "largest balance and a thousandth")
            exec("UPDATE inventory_items SET balance_stock = 999999999.999");
        if (QByteArray(QTest::currentDataTag()) == "totals past exact thousandths")
            exec("UPDATE inventory_items SET stock_addition = 9e12");
        // 30 in the list: 999,999,999,999,970 more is ten crore crore.

        f.reload();
        const QString before = totals(bolt);
        QVERIFY(f.move(bolt, addition, quantity));
        QCOMPARE(f.takeMessages(), QStringList{message});
        QCOMPARE(totals(bolt), before);
        QVERIFY(movementsAfterOpening().isEmpty());
    }

    // The list shows each figure from its stored decimal, half away from
    // zero (1.005 is 1.01, 2.675 is 2.68); a movement starts from the stored
    // figures and sums exactly (0.1 + 0.2 is 0.3).
    void figuresShowAndSumAsDecimals()
    {
        StockForm f;
        const int film = addStock("Packing", "BOXWELL", "Film", 1.005, 2.675);
        f.reload();
        const int row = f.rowOf(film);
        QCOMPARE(f.list->item(row, 5)->text(), QString("1.01"));
        QCOMPARE(f.list->item(row, 6)->text(), QString("2.68"));
        QCOMPARE(f.list->item(row, 9)->text(), QString("1.01"));
        // 1.01 shown, 1.005 on hand.
        f.move(film, false, "1.01");
        QCOMPARE(f.takeMessages(), QStringList{"Error|Reduction cannot exceed balance stock!"});
        f.move(film, false, "1.005");
        QCOMPARE(f.takeMessages(), QStringList{"Success|Stock updated successfully!"});
        f.move(film, true, "0.1");
        f.move(film, true, "0.2");
        QCOMPARE(totals(film), "0.3|1.005|0.3|" + storedToday());
        f.move(film, true, "2.675");
        f.history(f.rowOf(film), [&](QDialog *d) {
            QCOMPARE(d->findChild<QTableWidget *>()->item(0, 2)->text(), QString("2.68"));
        });
    }

    // Thousandths the list does not show are neither lost nor invented, and
    // an item at the largest quantity can still be reduced; a typed quantity
    // is rounded once to the thousandth from all of its digits.
    void movementsKeepEveryThousandth()
    {
        StockForm f;
        const int film = addStock("Packing", "BOXWELL", "Film", 10.005);
        const int sheet = addStock("Raw Material", "STEELCO", "Sheet", 999999999.999);
        const int glove = addStock("Safety", "GUARD", "Gloves", 0.001);
        f.reload();

        f.move(film, false, "1");
        f.move(film, true, "0.004");
        f.move(film, true, "0.004");
        QCOMPARE(totals(film), "0.008|1|9.013|" + storedToday());

        f.move(sheet, false, "1");
        QCOMPARE(totals(sheet), "0|1|999999998.999|" + storedToday());

        f.move(glove, true, "999999999.998");
        QCOMPARE(totals(glove), "999999999.998|0|999999999.999|" + storedToday());
        f.move(glove, false, "1");
        f.move(glove, false, "999999998.99849999999999");
        QCOMPARE(totals(glove), "999999999.998|999999999.998|0.001|" + storedToday());
        QCOMPARE(f.takeMessages(), QStringList(7, "Success|Stock updated successfully!"));
    }

    // Totals another program summed as REALs (0.1 + 0.2 is stored as
    // 0.30000000000000004) are read to the thousandth, as a typed quantity
    // is: the item moves again, and its totals are written back exact.
    void storedSumsOfTenthsMoveAgain_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("addition");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("after");
        QTest::newRow("addition") << "stock_addition = 0.1 + 0.2, balance_stock = 0.1 + 0.2" << true << "1"
                                  << "1.3|0|1.3";
        QTest::newRow("whole balance reduced") << "stock_addition = 0.1 + 0.2, balance_stock = 0.1 + 0.2" << false
                                               << "0.3" << "0.3|0.3|0";
        QTest::newRow("reductions summed") << "stock_addition = 1, stock_reduction = 0.1 + 0.2, balance_stock = 0.7"
                                           << false << "0.7" << "1|1|0";
    }
    void storedSumsOfTenthsMoveAgain()
    {
        QFETCH(QString, stored);
        QFETCH(bool, addition);
        QFETCH(QString, quantity);
        QFETCH(QString, after);
        StockForm f;
        const int point3 = addStock("Packing", "BOXWELL", "POINT3", 0);
        exec(QString("UPDATE inventory_items SET %1 WHERE item_id = %2").arg(stored).arg(point3));
        QVERIFY(totals(point3).contains("0.30000000000000004"));
        f.reload();
        QVERIFY(!f.move(point3, addition, quantity));
        QCOMPARE(f.takeMessages(), QStringList{"Success|Stock updated successfully!"});
        QCOMPARE(totals(point3), after + "|" + storedToday());
    }

    void twoOpenFormsLoseNoMovement()
    {
        StockForm f;
        const int bolt = boltAt30();
        f.reload();

        // The other form adds 5; this form still shows 30 and reduces 10.
        QVERIFY(recordStockMovement(bolt, Movement::Addition, 5, storedToday()).result == MovementResult::Recorded);
        QCOMPARE(f.list->item(f.rowOf(bolt), 9)->text(), QString("30.00"));
        f.move(bolt, false, "10");
        QCOMPARE(totals(bolt), "15|10|25|" + storedToday());

        // The other form, showing 30, reduces 27: more than is left.
        QVERIFY(recordStockMovement(bolt, Movement::Reduction, 27, storedToday()).result ==
                MovementResult::ExceedsBalance);
        QCOMPARE(totals(bolt), "15|10|25|" + storedToday());
        QCOMPARE(rows("SELECT trans_type, quantity FROM inventory_transactions ORDER BY trans_id"),
                 QStringList({"Opening Stock|20", "Addition|5", "Reduction|10"}));
    }

    void balanceIsOpeningPlusAdditionsLessReductions()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        createStockTables();
        const int item = addStock("Packing", "BOXWELL", "Film", 0.305);
        std::mt19937 rng(7);
        for (int i = 0; i < 300; ++i) {
            const double qty = (1 + rng() % 7000) / 1000.0; // 0.001 ... 7.0
            const Movement kind = rng() % 2 ? Movement::Addition : Movement::Reduction;
            const MovementResult result = recordStockMovement(item, kind, qty, storedToday()).result;
            QVERIFY(result == MovementResult::Recorded || result == MovementResult::ExceedsBalance);
        }
        const QStringList figures =
            rows(QString("SELECT opening_stock, stock_addition, stock_reduction, balance_stock FROM inventory_items "
                         "WHERE item_id = %1")
                     .arg(item))
                .value(0)
                .split('|');
        const auto figure = [&](int i) { return *Decimal::fromText(figures.at(i)); };
        QCOMPARE((figure(0) + figure(1) - figure(2)).text(6), figure(3).text(6));
        QVERIFY(!(figure(3) < Decimal()));
    }

    void failedMovementInsertKeepsTheTotals()
    {
        StockForm f;
        const int bolt = boltAt30();
        f.reload();
        exec("CREATE TRIGGER no_log BEFORE INSERT ON inventory_transactions BEGIN SELECT RAISE(ABORT, 'log is full'); END");
        QVERIFY(f.move(bolt, true, "5"));
        const QStringList shown = f.takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith("Error|") && shown.first().contains("log is full"), qPrintable(shown.first()));
        QCOMPARE(totals(bolt), "10|0|30|" + storedToday());
    }

    void historyShowsTheTenLastEnteredNewestFirst()
    {
        StockForm f;
        const int bolt = addStock("Hardware", "ACME", "Hex Bolt <M10>", 50);
        const int nut = addStock("Hardware", "ACME", "Nut", 8);
        for (int i = 1; i <= 11; ++i)
            recordStockMovement(bolt, i % 3 ? Movement::Addition : Movement::Reduction, i,
                                QDate(2026, 5, 12 - i).toString("yyyy-MM-dd"));
        f.reload();

        QStringList shown;
        QString title;
        QString heading;
        bool closedByEsc = false;
        const QStringList menus = f.history(f.rowOf(bolt), [&](QDialog *dialog) {
            title = dialog->windowTitle();
            heading = dialog->findChildren<QLabel *>().value(0)->text();
            auto *table = child<QTableWidget>(dialog, "historyTable");
            for (int r = 0; r < table->rowCount(); ++r)
                shown << rowTexts(table, r).join('|') + "|" + table->item(r, 1)->foreground().color().name();
            // Esc on the list closes the dialog.
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Escape);
            closedByEsc = !dialog->isVisible();
        });
        QVERIFY(closedByEsc);
        QCOMPARE(menus, QStringList{"View History"});
        QCOMPARE(title, QString::fromUtf8("Transaction History \u2014 Hex Bolt <M10>"));
        QCOMPARE(heading, QString("<b>Last 10 Transactions for: Hex Bolt &lt;M10&gt;</b>"));
        QCOMPARE(shown, QStringList({"01-05-2026|Addition|11.00|#27ae60", "02-05-2026|Addition|10.00|#27ae60",
                                     "03-05-2026|Reduction|9.00|#e74c3c", "04-05-2026|Addition|8.00|#27ae60",
                                     "05-05-2026|Addition|7.00|#27ae60", "06-05-2026|Reduction|6.00|#e74c3c",
                                     "07-05-2026|Addition|5.00|#27ae60", "08-05-2026|Addition|4.00|#27ae60",
                                     "09-05-2026|Reduction|3.00|#e74c3c", "10-05-2026|Addition|2.00|#27ae60"}));

        shown.clear();
        exec(QString("DELETE FROM inventory_transactions WHERE item_id = %1").arg(nut));
        f.history(f.rowOf(nut), [&](QDialog *dialog) { shown << tableCell(child<QTableWidget>(dialog, "historyTable"), 0, 0); });
        QCOMPARE(shown, QStringList({"No transactions found"}));

        // Below the last row: no menu, no dialog.
        bool opened = false;
        QVERIFY(f.history(f.list->rowCount(), [&](QDialog *) { opened = true; }).isEmpty());
        QVERIFY(!opened);
    }
};

QTEST_MAIN(TestStockMovements)
#include "tst_stockmovements.moc"
