#include "support/testenvironment.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "widgets/formconventions.h"
#include "widgets/formstyle.h"

#include <QComboBox>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

LoadBackMenus *g_menus = nullptr;

// A list with a hidden number column and the full number beside it.
void fillList(QTableWidget &list, const QList<QStringList> &rows)
{
    list.setColumnCount(3);
    list.setRowCount(0);
    for (const QStringList &cells : rows) {
        const int row = list.rowCount();
        list.insertRow(row);
        for (int c = 0; c < cells.size(); ++c) {
            if (!cells[c].isNull())
                list.setItem(row, c, new QTableWidgetItem(cells[c]));
        }
    }
    list.setColumnHidden(0, true);
    list.resize(600, 300);
    list.show();
}

QPoint cellPoint(const QTableWidget &list, int row, int column)
{
    return list.visualRect(list.model()->index(row, column)).center();
}

} // namespace

class TestFormConventions : public QObject
{
    Q_OBJECT

private slots:
    void init() { g_menus = &recordLoadBackMenus(); }

    void styleSheetIsTheSharedText()
    {
        const QString expected =
            "/* 1. Main Window / Container Background (Light Blue) */\n"
            "QMainWindow, QDialog, #centralwidget {\n"
            "    background-color: #eaf4ff; \n"
            "}\n\n"
            "/* 2. Top Header Panel (Dark Blue Area) */\n"
            "#header_panel, #top_bar {\n"
            "    background-color: #005a9c;\n"
            "}\n\n"
            "/* 3. Normal Button State */\n"
            "QPushButton {\n"
            "    background-color: #0073b7; \n"
            "    color: white;\n"
            "    border: none;\n"
            "    border-radius: 4px;\n"
            "    padding: 6px 16px;\n"
            "    font-weight: bold;\n"
            "}\n\n"
            "/* 4. Hover State: Keeps it vibrant blue instead of turning dull white */\n"
            "QPushButton:hover {\n"
            "    background-color: #008be3; \n"
            "}\n\n"
            "/* 5. Pressed State: Visual feedback when clicked */\n"
            "QPushButton:pressed {\n"
            "    background-color: #004b78; \n"
            "}";
        QCOMPARE(formStyleSheet(), expected);
    }

    // Customers by name after the caller's entry (data -1), filled without
    // signals; only a restoring combo keeps its choice.
    void customerCombos()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        QComboBox combo;
        int changes = 0;
        connect(&combo, &QComboBox::currentIndexChanged, this, [&] { ++changes; });
        loadCustomerCombo(&combo, "-- All Companies --");
        QCOMPARE(comboTexts(&combo), QStringList({"-- All Companies --"}));
        QCOMPARE(chosenCustomerId(&combo), -1);

        addCustomer("ZETA WORKS");
        addCustomer("ALPHA FORGE");
        loadCustomerCombo(&combo, "-- Select Company --", true);
        QCOMPARE(comboTexts(&combo), QStringList({"-- Select Company --", "ALPHA FORGE", "ZETA WORKS"}));
        QCOMPARE(combo.itemData(2).toInt(), 1);
        QCOMPARE(changes, 0);

        combo.setCurrentIndex(2);
        addCustomer("AARDVARK");
        loadCustomerCombo(&combo, "-- Select Company --", true);
        QCOMPARE(combo.currentText(), QString("ZETA WORKS"));
        loadCustomerCombo(&combo, "-- All Companies --");
        QCOMPARE(chosenCustomerId(&combo), -1);
    }

    // Number from the hidden column 0, year after the first "/" of column 1;
    // no menu off the rows or when the pre-check refuses; a dismissed menu loads nothing.
    void loadBackMenu()
    {
        TestEnvironment env;
        QTableWidget list;
        fillList(list, {{"7", "7/26-27", "x"}, {"12", "12/25-26/B", "y"}, {QString(), "5", "z"}});
        QList<QPair<int, QString>> loads;
        auto load = [&](int number, const QString &fy) { loads.append({number, fy}); };
        auto hasNumber = [&](int row) { return list.item(row, 0) != nullptr; };

        loadBackContextMenu(&list, cellPoint(list, 0, 2), "↩ Load Back", hasNumber, load);
        loadBackContextMenu(&list, cellPoint(list, 1, 1), "↩ Load Back", hasNumber, load);
        loadBackContextMenu(&list, cellPoint(list, 2, 1), "↩ Load Back", hasNumber, load);
        loadBackContextMenu(&list, QPoint(590, 290), "↩ Load Back", hasNumber, load);
        QCOMPARE(g_menus->entries, QStringList({"↩ Load Back", "↩ Load Back"}));
        QCOMPARE(g_menus->positions.first(), list.viewport()->mapToGlobal(cellPoint(list, 0, 2)));
        QCOMPARE(loads, (QList<QPair<int, QString>>{{7, "26-27"}, {12, "25-26/B"}}));

        g_menus->choose = false;
        loadBackContextMenu(&list, cellPoint(list, 0, 1), "↩ Load Back", {}, load);
        QCOMPARE(loads.size(), 2);
    }
};

QTEST_MAIN(TestFormConventions)
#include "tst_formconventions.moc"
