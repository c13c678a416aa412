#include "support/formfonts.h"
#include "support/secondconnection.h"
#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/stockdata.h"
#include "support/widgets.h"

#include "inventory/inventorywindow.h"
#include "inventory/stockentry.h"
#include "inventory/stockstore.h"
#include "widgets/formstyle.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using testdata::exec;
using testdata::rows;

namespace {

const char *const ItemColumns = "category, supplier_name, supplier_phone, item_name, opening_stock, stock_addition, "
                                "stock_reduction, balance_stock, uom, last_updated, min_stock";
const char *const MovementColumns = "item_id, item_name, category, supplier_name, trans_date, trans_type, quantity, "
                                    "remarks";

QStringList items()
{
    return rows(QString("SELECT %1 FROM inventory_items ORDER BY item_id").arg(ItemColumns));
}

QStringList movements()
{
    return rows(QString("SELECT %1 FROM inventory_transactions ORDER BY trans_id").arg(MovementColumns));
}

// Selects item `id`, presses Edit and types `typed` as its name.
void editItem(StockForm &f, int id, const QString &typed)
{
    f.clickRow(id);
    click(f.form, "edit_btn");
    child<QLineEdit>(f.form, "itemEdit")->setText(typed);
}

// Renames item `id` in edit mode while another copy writes `otherCopy`;
// what Update then shows.
QStringList renameWhileOtherCopyWrites(StockForm &f, int id, const QString &typed, const QString &otherCopy)
{
    editItem(f, id, typed);
    f.takeMessages();
    writeAsOtherCopy(otherCopy.arg(id));
    click(f.form, "updatenew_btn");
    return f.takeMessages();
}

// What a refused Update and a refused Delete add to the reason.
const QString EditAdvice = "\n\nPress Reset to list the items as they are now, then select the item and press "
                           "Edit again; what you typed stays in the fields until then. EditCancel leaves edit mode.";
const QString DeleteAdvice = "\n\nPress Reset to list the items as they are now, then select the item again.";

QStringList schema()
{
    return rows("SELECT name, sql FROM sqlite_master ORDER BY name");
}

} // namespace

class TestStockRegister : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initTestProgram(); }

    void stockEntriesKeepsOneRegisterAndCreatesTablesOnce()
    {
        TestEnvironment env;
        QVERIFY(env.openDatabase());
        InventoryWindow window;
        QAction *entries = child<QAction>(&window, "actionStock_Entries");

        entries->trigger();
        const QStringList created = schema();
        QCOMPARE(rows("SELECT group_concat(name, ' ') FROM pragma_table_info('inventory_items')")
                     + rows("SELECT group_concat(name, ' ') FROM pragma_table_info('inventory_transactions')"),
                 QStringList({"item_id category supplier_name item_name opening_stock stock_addition stock_reduction "
                              "balance_stock uom last_updated supplier_phone min_stock",
                              "trans_id item_id item_name category supplier_name trans_date trans_type quantity "
                              "remarks"}));
        QPointer<inventory_stockentry> first = topLevelWindows<inventory_stockentry>().value(0);
        QVERIFY(first);
        child<QLineEdit>(first, "search_itemEdit")->setText("bolt");

        // Open and visible: raised, not rebuilt; closed: a fresh form, the schema as it was.
        entries->trigger();
        QCOMPARE(topLevelWindows<inventory_stockentry>().size(), 1);
        QCOMPARE(child<QLineEdit>(first, "search_itemEdit")->text(), QString("bolt"));
        first->close();
        entries->trigger();
        QVERIFY(first.isNull());
        const QList<inventory_stockentry *> forms = topLevelWindows<inventory_stockentry>();
        QCOMPARE(forms.size(), 1);
        QCOMPARE(schema(), created);
        delete forms.first();
    }

    void addStoresItemAndOpeningMovement_data()
    {
        QTest::addColumn<QString>("opening");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("storedMinimum");
        QTest::newRow("30") << "30" << 30.0 << "5" << "5";
        QTest::newRow("not a number counts as 0") << "abc" << 0.0 << "nan" << "0";
        QTest::newRow("minimum beyond a number counts as 0") << "12.5" << 12.5 << "1e309" << "0";
        QTest::newRow("rounded once to the thousandth") << "10.0004" << 10.0 << "0" << "0";
        QTest::newRow("half a thousandth rounds up") << "0.0005" << 0.001 << "0" << "0";
        QTest::newRow("just under the bounds") << "999999999.999" << 999999999.999 << "999999999.999"
                                               << "999999999.999";
    }

    void addStoresItemAndOpeningMovement()
    {
        QFETCH(QString, opening);
        QFETCH(double, stored);
        QFETCH(QString, minimum);
        QFETCH(QString, storedMinimum);
        StockForm f;
        f.fillEntry("Hardware", " acme tools ", " Hex Bolt ", opening, "nos", minimum, " 98765 43210 ");
        f.clickAdd();

        QCOMPARE(f.takeMessages(), QStringList{"Success|Item 'Hex Bolt' added successfully!"});
        const QString qty = QString::number(stored, 'g', 15);
        QCOMPARE(items(), QStringList{"Hardware|ACME TOOLS|98765 43210|Hex Bolt|" + qty + "|0|0|" + qty + "|nos|" +
                                      storedToday() + "|" + storedMinimum});
        QCOMPARE(movements(), QStringList{"1|Hex Bolt|Hardware|ACME TOOLS|" + storedToday() + "|Opening Stock|" + qty +
                                          "|Opening Stock"});
        QCOMPARE(rowTexts(f.list, 0).at(5), QString::number(stored, 'f', 2));
    }

    void addRefusesWithTheFirstMissingField_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("uom");
        QTest::addColumn<QString>("message");
        // A figure beyond its bound is refused under its own title.
        const QString openingTooLarge = "Opening Stock is too large: at most 999,999,999.999 (quantity)";
        QTest::newRow("category") << "" << "" << "" << "" << "Please select a category!";
        QTest::newRow("item") << "Safety" << "  " << "" << "" << "Please enter item name!";
        QTest::newRow("opening") << "Safety" << "Gloves" << " " << "" << "Please enter opening stock!";
        QTest::newRow("opening NaN") << "Safety" << "Gloves" << "nan" << "pairs" << "Please enter opening stock!";
        QTest::newRow("opening infinite") << "Safety" << "Gloves" << "-inf" << "pairs" << "Please enter opening stock!";
        QTest::newRow("opening overflow") << "Safety" << "Gloves" << "1e309" << "pairs" << openingTooLarge;
        QTest::newRow("opening too large") << "Safety" << "Gloves" << "1e15" << "pairs" << openingTooLarge;
        QTest::newRow("opening at the bound") << "Safety" << "Gloves" << "1000000000" << "pairs"
                                              << openingTooLarge;
        QTest::newRow("opening just over") << "Safety" << "Gloves" << "1000000000.001" << "pairs"
                                           << openingTooLarge;
        QTest::newRow("minimum at the bound") << "Safety" << "Gloves" << "4" << "pairs"
                                              << "Min Stock is too large: at most 999,999,999.999 (quantity)";
        QTest::newRow("unit") << "Safety" << "Gloves" << "4" << "" << "Please select UOM!";
    }

    void addRefusesWithTheFirstMissingField()
    {
        QFETCH(QString, category);
        QFETCH(QString, item);
        QFETCH(QString, opening);
        QFETCH(QString, uom);
        QFETCH(QString, message);
        StockForm f;
        f.fillEntry(category, "ACME", item, opening, uom);
        if (QByteArray(QTest::currentDataTag()) == "minimum at the bound")
            f.fillEntry(category, "ACME", item, opening, uom, "1e9");
        f.clickAdd();
        QCOMPARE(f.takeMessages(), QStringList{(message.contains("too large") ? "Figure Too Large|" : "Error|") + message});
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_items"), 0);
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_transactions"), 0);
    }

    void sameNameIsADuplicateOnlyInItsCategory()
    {
        StockForm f;
        f.fillEntry("Hardware", "acme", "Hex Bolt", "30", "nos");
        f.clickAdd();
        f.takeMessages();

        f.fillEntry("Hardware", "other", "hex bolt", "3", "nos");
        f.clickAdd();
        QCOMPARE(f.takeMessages(), QStringList{"Duplicate|Item 'hex bolt' already exists in Hardware!\n"
                                               "Use Stock Addition/Reduction to update."});
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_items"), 1);

        f.fillEntry("Safety", "other", "hex bolt", "3", "nos");
        f.clickAdd();
        QCOMPARE(f.takeMessages(), QStringList{"Success|Item 'hex bolt' added successfully!"});
        QCOMPARE(rows("SELECT category, item_name FROM inventory_items ORDER BY item_id"),
                 QStringList({"Hardware|Hex Bolt", "Safety|hex bolt"}));
    }

    void failedMovementInsertLeavesNoItem()
    {
        StockForm f;
        exec("CREATE TRIGGER no_log BEFORE INSERT ON inventory_transactions BEGIN SELECT RAISE(ABORT, 'log is full'); END");
        f.fillEntry("Packing", "boxwell", "Carton", "10", "box");
        f.clickAdd();
        const QStringList shown = f.takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith("Error|") && shown.first().contains("log is full"), qPrintable(shown.first()));
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_items"), 0);
    }

    void listFiltersAreBoundAndLowStockIsMarked()
    {
        StockForm f;
        const int gloves = addStock("Safety", "O'BRIEN SAFETY", "Gloves", 5, 5);
        const int shoes = addStock("Safety", "O'BRIEN SAFETY", "Safety Shoe", 0, 0);
        const int bolt = addStock("Hardware", "ACME TOOLS", "Hex Bolt", 30, 5);
        addStock("Hardware", "O BRIEN", "Nut", 8);
        f.reload();

        // Minimum reached: the minimum cell; nothing left: the balance cell.
        const QColor marked("#f8d7da");
        auto background = [&](int item, int column) { return f.list->item(f.rowOf(item), column)->background().color(); };
        QCOMPARE(QList<bool>({background(gloves, 6) == marked, background(gloves, 9) == marked,
                               background(shoes, 6) == marked, background(shoes, 9) == marked,
                               background(bolt, 6) == marked}),
                 QList<bool>({true, false, false, true, false}));

        auto *supplier = child<QLineEdit>(f.form, "search_supnameEdit");
        auto *item = child<QLineEdit>(f.form, "search_itemEdit");
        auto *category = child<QComboBox>(f.form, "search_category_combo");
        supplier->setText(" o'brien ");
        QCOMPARE(columnTexts(f.list, 4), QStringList({"Gloves", "Safety Shoe"}));
        item->setText("SHOE");
        QCOMPARE(columnTexts(f.list, 4), QStringList{"Safety Shoe"});
        item->clear();
        supplier->clear();
        category->setCurrentText("Hardware");
        QCOMPARE(columnTexts(f.list, 4), QStringList({"Hex Bolt", "Nut"}));
        item->setText("'; DELETE FROM inventory_items; --");
        QCOMPARE(f.list->rowCount(), 0);
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_items"), 4);
    }

    void updateUpperCasesTheNameAndRenamesItsMovements()
    {
        StockForm f;
        const int bolt = addStock("Hardware", "ACME", "Hex Bolt", 30, 5);
        addStock("Hardware", "ACME", "Nut", 8);
        exec("UPDATE inventory_items SET stock_addition = 10, balance_stock = 40");
        f.reload();
        f.clickRow(bolt);
        click(f.form, "edit_btn");
        f.takeMessages();
        QCOMPARE(child<QLineEdit>(f.form, "min_stockEdit")->text(), QString("5.00"));

        child<QComboBox>(f.form, "category_combo")->setCurrentText("Critical Spare");
        child<QLineEdit>(f.form, "sup_nameEdit")->setText(" bharat steels ");
        child<QLineEdit>(f.form, "itemEdit")->setText(" hex bolt m10 ");
        child<QLineEdit>(f.form, "min_stockEdit")->setText("7");
        click(f.form, "updatenew_btn");

        QCOMPARE(f.takeMessages(), QStringList{"Success|Item updated successfully!"});
        QCOMPARE(rows(QString("SELECT %1 FROM inventory_items WHERE item_id = %2").arg(ItemColumns).arg(bolt)),
                 QStringList{"Critical Spare|BHARAT STEELS||HEX BOLT M10|30|10|0|40|nos|" + storedToday() + "|7"});
        QCOMPARE(rows("SELECT item_id, item_name, category, supplier_name FROM inventory_transactions ORDER BY trans_id"),
                 QStringList({"1|HEX BOLT M10|Critical Spare|BHARAT STEELS", "2|Nut|Hardware|ACME"}));

        // An item deleted meanwhile by another copy is not reported as updated.
        QCOMPARE(renameWhileOtherCopyWrites(f, bolt, "typed name", "DELETE FROM inventory_items WHERE item_id = %1"),
                 QStringList{"Error|Item 'HEX BOLT M10' no longer exists; it may have been deleted in "
                             "another window. Nothing was saved." + EditAdvice});
        QCOMPARE(rows("SELECT item_name FROM inventory_transactions WHERE item_id = 1"), QStringList{"HEX BOLT M10"});
    }

    // The form's own movement in edit mode is no change meanwhile; another
    // window's is. After a refusal the form goes on.
    void editSavesAfterItsOwnMovementAndGoesOnAfterARefusal()
    {
        StockForm f;
        const int bolt = addStock("Hardware", "ACME", "Hex Bolt", 30);
        f.reload();
        editItem(f, bolt, "Hex Bolt M10");
        QVERIFY(!f.move(bolt, true, "5"));
        click(f.form, "updatenew_btn");
        QCOMPARE(f.takeMessages(), QStringList({"Edit Mode|Edit the fields and click Update to save changes.",
                                                "Success|Stock updated successfully!",
                                                "Success|Item updated successfully!"}));
        QCOMPARE(items(), QStringList{"Hardware|ACME||HEX BOLT M10|30|5|0|35|nos|" + storedToday() + "|0"});

        editItem(f, bolt, "Bolt typed");
        writeAsOtherCopy(QString("UPDATE inventory_items SET min_stock = 7 WHERE item_id = %1").arg(bolt));
        QVERIFY(!f.move(bolt, false, "1"));
        f.takeMessages();
        click(f.form, "updatenew_btn");
        QCOMPARE(f.takeMessages(),
                 QStringList{"Error|Item 'HEX BOLT M10' was changed or deleted meanwhile, perhaps in another window. "
                             "Nothing was saved." + EditAdvice});
        QVERIFY(child<QPushButton>(f.form, "updatenew_btn")->isEnabled());

        // EditCancel leaves edit mode; Reset lists the item as it is now, and
        // Edit loads it again and saves.
        click(f.form, "editcancel_btn");
        QVERIFY(child<QPushButton>(f.form, "add_btn")->isEnabled());
        QVERIFY(!child<QPushButton>(f.form, "updatenew_btn")->isEnabled());
        click(f.form, "reset_btn");
        editItem(f, bolt, "Bolt typed");
        click(f.form, "updatenew_btn");
        QCOMPARE(f.takeMessages().last(), QString("Success|Item updated successfully!"));
        QCOMPARE(items(), QStringList{"Hardware|ACME||BOLT TYPED|30|5|1|34|nos|" + storedToday() + "|7"});
    }

    void listAndPopupsShowTheFormFonts()
    {
        StockForm s;
        addStock("Hardware", "ACME TOOLS", "BOLT M12", 4, 5);
        s.reload();
        const QStringList wrong = widgetsNotShowing(s.form, "Times New Roman");
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        QCOMPARE(s.list->font().pointSize(), 11);
        QCOMPARE(s.list->horizontalHeader()->font().pointSize(), 11);
    }

    void deleteRemovesItemAndMovementsTogether()
    {
        StockForm f;
        const int bolt = addStock("Hardware", "ACME", "Hex Bolt", 30);
        const int nut = addStock("Hardware", "ACME", "Nut", 8);
        f.reload();

        // An item another copy changed (its minimum, a movement) is neither
        // renamed nor deleted; the typed name stays in edit mode.
        const QString changed = " was changed or deleted meanwhile, perhaps in another window. Nothing was saved.";
        QCOMPARE(renameWhileOtherCopyWrites(f, bolt, "Hex Bolt M10", "UPDATE inventory_items SET min_stock = 7 WHERE item_id = %1"),
                 QStringList{"Error|Item 'Hex Bolt'" + changed + EditAdvice});
        QCOMPARE(child<QLineEdit>(f.form, "itemEdit")->text(), QString("Hex Bolt M10"));
        recordStockMovement(nut, Movement::Addition, 2, storedToday()); // the other copy's movement
        f.clickRow(nut);
        click(f.form, "delete_btn");
        QCOMPARE(f.takeMessages().last(), "Error|Item 'Nut'" + changed + DeleteAdvice);
        QCOMPARE(items(), QStringList({"Hardware|ACME||Hex Bolt|30|0|0|30|nos|" + storedToday() + "|7",
                                       "Hardware|ACME||Nut|8|2|0|10|nos|" + storedToday() + "|0"}));
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_transactions"), 3);

        // A failing item delete keeps the movements too.
        f.reload();
        f.clickRow(bolt);
        exec("CREATE TRIGGER keep BEFORE DELETE ON inventory_items BEGIN SELECT RAISE(ABORT, 'item is locked'); END");
        click(f.form, "delete_btn");
        QStringList shown = f.takeMessages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.first(), QString("Confirm Delete|Delete item 'Hex Bolt'?\n"
                                        "This will also delete all transaction history for this item."));
        QVERIFY2(shown.last().startsWith("Error|") && shown.last().contains("item is locked"), qPrintable(shown.last()));
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_transactions"), 3);

        exec("DROP TRIGGER keep");
        click(f.form, "delete_btn");
        QCOMPARE(f.takeMessages().last(), QString("Success|Item 'Hex Bolt' deleted successfully!"));
        QCOMPARE(rows("SELECT item_id FROM inventory_items"), QStringList{QString::number(nut)});
        QCOMPARE(rows("SELECT item_id FROM inventory_transactions"), QStringList(2, QString::number(nut)));
        QCOMPARE(columnTexts(f.list, 4), QStringList{"Nut"});

        // Deleted meanwhile by another copy: not reported as deleted.
        f.clickRow(nut);
        writeAsOtherCopy(QString("DELETE FROM inventory_items WHERE item_id = %1").arg(nut));
        click(f.form, "delete_btn");
        QCOMPARE(f.takeMessages().last(), "Error|Item 'Nut' no longer exists; it may have been deleted in "
                                          "another window. Nothing was saved." + DeleteAdvice);
        QCOMPARE(testdata::count("SELECT COUNT(*) FROM inventory_transactions"), 2);
    }
};

QTEST_MAIN(TestStockRegister)
#include "tst_stockregister.moc"
