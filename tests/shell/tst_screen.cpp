// What the screen shows: the highlighted entry of combo pop-ups, menu entries
// with "&", and header labels given as a blank.

#include "support/recordingdesktop.h"
#include "support/salesdata.h"
#include "support/widgets.h"

#include "app/formconventions.h"
#include "app/mainwindow.h"
#include "jobwork/generatedc.h"
#include "jobwork/inwardentry.h"
#include "sales/itemmaster.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace testdata;

namespace {

const QColor Highlight("#0078d4");

// Opens the combo's pop-up with entry `row` highlighted and tells how much of
// that row is the highlight colour and whether light (white) text is drawn
// on it.
struct PopupRow
{
    double highlighted = 0; // share of the row's pixels
    bool lightText = false;
};

PopupRow highlightedRow(QComboBox *combo, int row)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    view->setCurrentIndex(view->model()->index(row, 0));
    QCoreApplication::processEvents();
    const QImage image = view->viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect rect = view->visualRect(view->model()->index(row, 0)).intersected(view->viewport()->rect());
    PopupRow found;
    int total = 0;
    int blue = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(int(x * ratio), int(y * ratio));
            ++total;
            if (c == Highlight)
                ++blue;
            else if (c.lightness() > 200)
                found.lightText = true;
        }
    combo->hidePopup();
    found.highlighted = total ? double(blue) / total : 0;
    return found;
}

} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    MainWindow *main = nullptr;

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        main = new MainWindow; // the application's style and combo pop-ups
        main->show();
        createTables();
        addCustomer("ACME FORGINGS");
        addCustomer("BHARAT CASTINGS");
        addCustomer("CHAWLA & SONS");
    }
    void cleanup() { env.reset(); }

    // Combos whose own or parent style sheet sets a background.
    void comboPopupShowsTheHighlight_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("login: Finacial Year") << "login";
        QTest::newRow("inward entry: Select Company") << "inward";
        QTest::newRow("inward list: customer filter") << "inward list";
        QTest::newRow("item master: UOM") << "items";
    }
    void comboPopupShowsTheHighlight()
    {
        QFETCH(QString, where);
        QComboBox *combo = nullptr;
        if (where == "login") {
            exec("INSERT INTO financial_years (fy_name, is_active, is_released) VALUES ('25-26', 0, 1)");
            main->loadFinancialYears();
            combo = child<QComboBox>(main, "fy_combo");
        } else if (where == "items") {
            auto *form = new itemmaster;
            form->show();
            combo = child<QComboBox>(form, "uom_combo");
        } else {
            auto *form = new inwardentry;
            form->show();
            combo = child<QComboBox>(form, where == "inward" ? "company_combo" : "company_combo_2");
        }
        QVERIFY(combo->count() >= 2);
        const PopupRow row = highlightedRow(combo, 1);
        QVERIFY2(row.highlighted > 0.5, qPrintable(QString::number(row.highlighted)));
        QVERIFY(row.lightText);
    }

    void loadBackMenuShowsTheAmpersand()
    {
        QTableWidget list(1, 2);
        list.setItem(0, 0, new QTableWidgetItem("4"));
        list.setItem(0, 1, new QTableWidgetItem("4/26-27"));
        list.show();
        QString shown;
        QString mnemonic = "none looked at";
        QTimer::singleShot(0, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                const QString text = menu->actions().value(0)->text();
                mnemonic = QKeySequence::mnemonic(text).toString();
                shown = QString(text).replace("&&", "&");
                menu->close();
            }
        });
        loadBackContextMenu(&list, list.visualItemRect(list.item(0, 1)).center(), "↩ Load Back for View & Edit",
                            nullptr, nullptr);
        QCOMPARE(shown, QString("↩ Load Back for View & Edit"));
        QCOMPARE(mnemonic, QString());
    }

    void tickColumnIsHeadedByASpace()
    {
        generateDC form;
        const QTableWidget *list = child<QTableWidget>(&form, "gen_dc_table");
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QString(" "));
        QCOMPARE(list->model()->headerData(2, Qt::Horizontal).toString(), QString("Inward No"));
    }
};

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
