#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/formconventions.h"
#include "app/formstyle.h"
#include "app/resources.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSqlQuery>
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

    void headerBandCarriesTitleAndImages()
    {
        TestEnvironment env;
        QGroupBox band;
        QLabel title("Customer Master"), left, right;
        setupFormHeader(&band, &title, &left, &right);

        QCOMPARE(title.text(), QString("Customer Master"));
        QVERIFY(!left.pixmap().isNull());
        QCOMPARE(left.pixmap().toImage(), QPixmap(imagePath("app_icon")).toImage());
        QCOMPARE(right.pixmap().toImage(), QPixmap(imagePath("developer_logo")).toImage());
    }

    void customerComboFirstEntryAndOrder()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));

        QComboBox combo;
        int changes = 0;
        connect(&combo, &QComboBox::currentIndexChanged, this, [&] { ++changes; });

        loadCustomerCombo(&combo, "-- All Companies --");
        QCOMPARE(combo.count(), 1);
        QCOMPARE(combo.itemText(0), QString("-- All Companies --"));
        QCOMPARE(combo.itemData(0).toInt(), -1);
        QCOMPARE(chosenCustomerId(&combo), -1);

        addCustomer("ZETA WORKS");
        addCustomer("ALPHA FORGE");
        addCustomer("MIDWAY TOOLS");
        loadCustomerCombo(&combo, "-- Select Company --");
        QCOMPARE(comboTexts(&combo), QStringList({"-- Select Company --", "ALPHA FORGE", "MIDWAY TOOLS", "ZETA WORKS"}));
        QCOMPARE(combo.itemData(1).toInt(), 2);
        QCOMPARE(combo.itemData(3).toInt(), 1);
        QCOMPARE(changes, 0);
    }

    void customerComboRestoresOnlyWhenAsked()
    {
        TestEnvironment env;
        QVERIFY(openSalesDatabase(env));
        addCustomer("BETA");
        addCustomer("ALPHA");

        QComboBox combo;
        loadCustomerCombo(&combo, "-- Select Company --", true);
        combo.setCurrentIndex(combo.findData(1));
        addCustomer("AARDVARK");

        loadCustomerCombo(&combo, "-- Select Company --", true);
        QCOMPARE(chosenCustomerId(&combo), 1);
        QCOMPARE(combo.currentText(), QString("BETA"));

        loadCustomerCombo(&combo, "-- All Companies --");
        QCOMPARE(combo.currentIndex(), 0);
        QCOMPARE(chosenCustomerId(&combo), -1);

        // A chosen customer that is gone leaves the first entry chosen.
        combo.setCurrentIndex(combo.findData(2));
        exec("DELETE FROM customers WHERE customer_id = 2");
        loadCustomerCombo(&combo, "-- Select Company --", true);
        QCOMPARE(combo.currentIndex(), 0);
    }

    void loadBackReadsNumberAndYear()
    {
        TestEnvironment env;
        QTableWidget list;
        fillList(list, {{"7", "7/26-27", "x"}, {"12", "12/25-26/B", "y"}, {"abc", "5", "z"}});

        QList<QPair<int, QString>> loads;
        auto load = [&](int number, const QString &fy) { loads.append({number, fy}); };

        loadBackContextMenu(&list, cellPoint(list, 0, 2), "↩ Load Back", {}, load);
        QCOMPARE(g_menus->entries, QStringList{"↩ Load Back"});
        QCOMPARE(g_menus->positions.first(), list.viewport()->mapToGlobal(cellPoint(list, 0, 2)));
        loadBackContextMenu(&list, cellPoint(list, 1, 1), "↩ Load Back", {}, load);
        loadBackContextMenu(&list, cellPoint(list, 2, 1), "↩ Load Back", {}, load);

        QCOMPARE(loads.size(), 3);
        QCOMPARE(loads[0], qMakePair(7, QString("26-27")));
        QCOMPARE(loads[1], qMakePair(12, QString("25-26/B")));
        QCOMPARE(loads[2], qMakePair(0, QString()));
    }

    void loadBackMenuRefusals()
    {
        TestEnvironment env;
        QTableWidget list;
        fillList(list, {{"3", "3/26-27", "x"}, {QString(), "4/26-27", "y"}});
        int loads = 0;
        auto load = [&](int, const QString &) { ++loads; };

        // Empty part of the list: no menu.
        loadBackContextMenu(&list, QPoint(590, 290), "↩ Load Back", {}, load);
        QCOMPARE(g_menus->entries.size(), 0);

        // Dismissed menu: nothing loaded.
        g_menus->choose = false;
        loadBackContextMenu(&list, cellPoint(list, 0, 1), "↩ Load Back", {}, load);
        QCOMPARE(g_menus->entries.size(), 1);
        QCOMPARE(loads, 0);

        // A refusing pre-check: no menu; it is given the row under the pointer.
        g_menus->choose = true;
        QList<int> checked;
        auto refuseWithoutNumber = [&](int row) {
            checked.append(row);
            return list.item(row, 0) != nullptr;
        };
        loadBackContextMenu(&list, cellPoint(list, 1, 2), "↩ Load Back", refuseWithoutNumber, load);
        QCOMPARE(checked, QList<int>{1});
        QCOMPARE(g_menus->entries.size(), 1);
        loadBackContextMenu(&list, cellPoint(list, 0, 2), "↩ Load Back", refuseWithoutNumber, load);
        QCOMPARE(g_menus->entries.size(), 2);
        QCOMPARE(loads, 1);
    }
};

QTEST_MAIN(TestFormConventions)
#include "tst_formconventions.moc"
