// What the screen shows: every window usable on a 1366 x 768 screen, the
// highlighted entry of combo pop-ups, menu entries with "&", and header
// labels given as a blank.

#include "support/appwalk.h"
#include "support/headlessscreen.h"
#include "support/paymentdata.h"
#include "support/programwindows.h"
#include "support/salesdata.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "inventory/inventorydashboard.h"
#include "jobwork/generatedc.h"
#include "jobwork/inwardentry.h"
#include "sales/itemmaster.h"
#include "shell/mainwindow.h"
#include "widgets/formconventions.h"
#include "widgets/screenfit.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
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

// Ten customers, each with an invoice 90 days old, partly paid.
void addTenOverdueCustomers()
{
    for (int i = 1; i <= 10; ++i) {
        const int customer = addCustomer(QString("CUSTOMER %1 ENGINEERING WORKS").arg(i));
        addInvoice({100 + i, g_currentFY, daysAgo(90), customer, 10000.0 * i});
        addPayment(100 + i, g_currentFY, daysAgo(90 - i), 1000);
    }
}

// Why the window's frame or a button of it cannot be used, a figure is cut,
// or the last line of a dashboard card's list cannot be scrolled into view.
QStringList unusableDashboard(QWidget *window)
{
    QStringList found;
    if (!window->isMaximized() || !window->screen()->availableGeometry().contains(window->frameGeometry()))
        found << "not maximised within the screen";
    found << unusableControls(window);
    for (const char *name : {"lbl_invoice", "lbl_month_sales", "lbl_fy_value", "lbl_receivable"}) {
        const QLabel *figure = child<QLabel>(window, name);
        if (figure->height() < figure->minimumSizeHint().height())
            found << QString("%1 cut to %2 px").arg(name).arg(figure->height());
    }
    for (const char *name : {"lbl_unpaid", "lbl_overdue", "lbl_topcust", "lbl_bestpay"}) {
        auto *body = child<QLabel>(window, name);
        const QStringList lines = body->text().trimmed().split('\n');
        const QFontMetrics metrics(body->font());
        const QRect text = body->contentsRect();
        // The start of the last line and the far end of the widest one can be
        // scrolled into view: a long name is read whole.
        int widest = 0;
        for (const QString &line : lines)
            widest = qMax(widest, metrics.horizontalAdvance(line));
        const int lastTop = text.top() + (lines.size() - 1) * metrics.lineSpacing();
        const QRect last(text.left(), lastTop, qMin(text.width(), metrics.horizontalAdvance(lines.last())),
                         metrics.height());
        const QRect farEnd(text.left() + widest - 20, lastTop, 20, metrics.height());
        for (const QRect &part : {last, farEnd}) {
            const QString why = unreachablePart(window, body, part);
            if (!why.isEmpty())
                found << QString("%1 \"%2\": %3").arg(name, lines.last(), why);
        }
    }
    return found;
}

// Whether the whole widget shows in its window.
bool shownWhole(QWidget *widget)
{
    QCoreApplication::processEvents();
    return widget->visibleRegion().boundingRect() == widget->rect();
}

// Whether the label's text fits in it whole, in the font it is drawn in.
bool textFitsWhole(const QLabel *label)
{
    const QRect box = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, box.width(), 1000), flags, label->text());
    return needed.width() <= box.width() && needed.height() <= box.height();
}

} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    MainWindow *main = nullptr;

    void startWithCustomers()
    {
        main = new MainWindow; // the application's style and combo pop-ups
        main->show();
        createTables();
        addCustomer("ACME FORGINGS");
        addCustomer("BHARAT CASTINGS");
        addCustomer("CHAWLA & SONS");
    }

private slots:
    void initTestCase()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        if (screen != QSize(1366, 768))
            QSKIP(qPrintable(QString("the screen is %1x%2, not 1366x768").arg(screen.width()).arg(screen.height())));
    }
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    // Every window lies within the screen, windows that maximise still do,
    // and each button and field can be scrolled into view and clicked.
    void everyWindowIsUsable_data()
    {
        QTest::addColumn<int>("route");
        const QList<ProgramWindow> windows = everyProgramWindow();
        for (int i = 0; i < windows.size(); ++i)
            QTest::newRow(qPrintable(windows.at(i).name)) << i;
    }
    void everyWindowIsUsable()
    {
        QFETCH(int, route);
        MainWindow *program = startProgram(*env);
        bool looked = false;
        everyProgramWindow().at(route).open(program, *env, [&](QWidget *window) {
            looked = true;
            const QRect screen = window->screen()->availableGeometry();
            QVERIFY2(screen.contains(window->frameGeometry()),
                     qPrintable(QString("frame %1,%2 %3x%4").arg(window->frameGeometry().x())
                                    .arg(window->frameGeometry().y()).arg(window->frameGeometry().width())
                                    .arg(window->frameGeometry().height())));
            if (qobject_cast<QMainWindow *>(window) && window != program && !window->windowTitle().startsWith("Salary"))
                QVERIFY(window->isMaximized());

            // A window smaller than its minimum is squeezed (a window manager
            // keeps it larger than the screen instead).
            const QSize minimum = window->minimumSize();
            QVERIFY2(window->width() >= minimum.width() && window->height() >= minimum.height(),
                     qPrintable(QString("minimum %1x%2").arg(minimum.width()).arg(minimum.height())));
            const QStringList unusable = unusableControls(window);
            QVERIFY2(unusable.isEmpty(), qPrintable(unusable.join("\n")));
            // A real click lands on the button.
            QAbstractButton *close = buttonWithText(window, "Close");
            if (close && close->window() == window && close->isVisibleTo(window)) {
                QSignalSpy clicked(close, &QAbstractButton::clicked);
                QVERIFY(clickAsUser(window, close));
                QCOMPARE(clicked.count(), 1);
            }
        });
        QVERIFY(looked);
    }

    // The dashboard's cards list five customers each; filled before the
    // window is built or after, by its refresh, the window stays maximised
    // and every button and the last entry of every card can be reached.
    void salesDashboardWithItsDataFits_data()
    {
        QTest::addColumn<bool>("filledFirst");
        QTest::newRow("data before opening") << true;
        QTest::newRow("data after opening, refreshed") << false;
    }
    void salesDashboardWithItsDataFits()
    {
        QFETCH(bool, filledFirst);
        MainWindow *program = startProgram(*env);
        if (filledFirst)
            addTenOverdueCustomers();
        QMainWindow *sales = moduleWindow(program, "sales_btn");
        if (!filledFirst) {
            addTenOverdueCustomers();
            QVERIFY(clickAsUser(sales, buttonWithText(sales, "⟳ Refresh")));
        }
        QVERIFY(child<QLabel>(sales, "lbl_overdue")->text().contains("5) CUSTOMER"));
        QVERIFY(child<QLabel>(sales, "lbl_bestpay")->text().contains("5) CUSTOMER"));
        const QStringList unusable = unusableDashboard(sales);
        QVERIFY2(unusable.isEmpty(), qPrintable(unusable.join("\n")));
    }

    // The purchase dashboard is as wide as itself, not as its entry page.
    void purchaseDashboardScrollsNoSideways()
    {
        QMainWindow *purchase = moduleWindow(startProgram(*env), "purchase_btn");
        auto *area = child<QScrollArea>(purchase, "screenFitArea");
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
        trigger(purchase, "actionPurchase_Entry");
        QApplication::processEvents();
        QVERIFY(area->horizontalScrollBar()->maximum() > 0);
    }

    // The expenses form, used all day, shows every field and button without
    // scrolling sideways.
    void expensesFormFitsTheWidth()
    {
        QMainWindow *expenses = moduleWindow(startProgram(*env), "expenses_btn");
        QCoreApplication::processEvents();
        const auto *area = expenses->findChild<QScrollArea *>("screenFitArea");
        QVERIFY(!area || area->horizontalScrollBar()->maximum() == 0);
    }

    // The inventory dashboard's ten card titles share the screen's width: the
    // page does not scroll sideways and every title is read whole.
    void inventoryDashboardScrollsNoSideways()
    {
        QMainWindow *inventory = moduleWindow(startProgram(*env), "invent_cum_btn");
        QCoreApplication::processEvents();
        QVERIFY(inventory->screen()->availableGeometry().contains(inventory->frameGeometry()));
        const auto *area = inventory->findChild<QScrollArea *>("screenFitArea");
        QVERIFY(!area || area->horizontalScrollBar()->maximum() == 0);
        QStringList titles;
        for (const DashboardCategory &c : dashboardCategories())
            titles << c.category << c.requestTitle;
        for (QLabel *label : inventory->findChildren<QLabel *>()) {
            if (!titles.removeOne(label->text()))
                continue;
            QVERIFY2(textFitsWhole(label), qPrintable(label->text()));
            const QString why = unreachablePart(inventory, label, label->rect());
            QVERIFY2(why.isEmpty(), qPrintable(label->text() + ": " + why));
        }
        QVERIFY2(titles.isEmpty(), qPrintable(titles.join(", ")));
    }

    // A window that fits when it is built and whose content grows past the
    // screen afterwards keeps within the screen, its content scrolling.
    void contentGrownLaterScrolls_data()
    {
        QTest::addColumn<bool>("widgetsAdded");
        QTest::newRow("text written") << false;
        QTest::newRow("widgets added") << true;
    }
    void contentGrownLaterScrolls()
    {
        QFETCH(bool, widgetsAdded);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *text = new QLabel("First");
        layout->addWidget(text);
        layout->addWidget(new QPushButton("Last"));
        fitToScreen(&window);
        window.show();
        QApplication::processEvents();
        int tallest = 0;
        connect(window.windowHandle(), &QWindow::heightChanged, [&](int height) { tallest = qMax(tallest, height); });
        for (int i = 0; i < 60; ++i) {
            if (widgetsAdded)
                layout->addWidget(new QPushButton(QString("Row %1").arg(i)));
            else
                text->setText(text->text() + QString("\nRow %1").arg(i));
        }
        QApplication::processEvents(); // the rows show
        QTRY_VERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        QVERIFY(window.findChild<QScrollArea *>("screenFitArea"));
        // Written text is caught before the window grows; a widget shown lays
        // the window out at once, and it is brought back.
        if (!widgetsAdded)
            QVERIFY2(tallest <= window.screen()->availableGeometry().height(), qPrintable(QString::number(tallest)));
        const QStringList unusable = unusableControls(&window);
        QVERIFY2(unusable.isEmpty(), qPrintable(unusable.join("\n")));
    }

    // Where the content scrolls, Tab (and the program returning to a field)
    // scrolls the whole field into view; a click on a field held partly out
    // of view leaves the form where it is.
    void focusedFieldIsScrolledIntoView()
    {
        // A form wider than the screen: two fields side by side, a wide list.
        QMainWindow wide;
        auto *central = new QWidget;
        auto *rows = new QVBoxLayout(central);
        auto *fields = new QHBoxLayout;
        auto *details = new QLineEdit;
        auto *amount = new QLineEdit;
        details->setMinimumWidth(900);
        amount->setMinimumWidth(900);
        fields->addWidget(details);
        fields->addWidget(amount);
        rows->addLayout(fields);
        auto *list = new QTableWidget(3, 2);
        list->setMinimumWidth(2000);
        rows->addWidget(list);
        wide.setCentralWidget(central);
        fitToScreen(&wide);
        wide.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&wide));
        auto *area = child<QScrollArea>(&wide, "screenFitArea");
        details->setFocus();
        area->horizontalScrollBar()->setValue(0);
        QVERIFY(shownWhole(details) && !shownWhole(amount));
        QTest::keyClick(details, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), amount);
        QVERIFY(shownWhole(amount));
        details->setFocus();
        area->horizontalScrollBar()->setValue(0);
        QVERIFY(!shownWhole(amount));
        amount->setFocus();
        QVERIFY(shownWhole(amount));

        details->setFocus();
        area->horizontalScrollBar()->setValue(0);
        QVERIFY(!shownWhole(amount));
        QTest::mouseClick(amount, Qt::LeftButton, {}, QPoint(4, amount->height() / 2));
        QCOMPARE(QApplication::focusWidget(), amount);
        QCoreApplication::processEvents();
        QCOMPARE(area->horizontalScrollBar()->value(), 0);
        QVERIFY(!shownWhole(amount));
        // Nor does a click whose handling hands the focus to a field.
        details->setFocus();
        QPushButton handsOver("Hands over", area->widget());
        handsOver.setGeometry(details->geometry().translated(0, details->height() + 2));
        handsOver.show();
        connect(&handsOver, &QPushButton::clicked, amount, [amount] { amount->setFocus(); });
        QTest::mouseClick(&handsOver, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), amount);
        QCoreApplication::processEvents();
        QCOMPARE(area->horizontalScrollBar()->value(), 0);

        // A list wider than the view, clicked where it shows, stays put.
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        const int scrolled = area->horizontalScrollBar()->value();
        QVERIFY(list->width() > area->viewport()->width());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(list->viewport()->width() - 20, 5));
        QCOMPARE(QApplication::focusWidget(), list);
        QCoreApplication::processEvents();
        QCOMPARE(area->horizontalScrollBar()->value(), scrolled);
    }

    // The purchase entry row, wider than the view: a cell cut by the view's
    // edge is clicked and typed into, and the figures then typed into the
    // cells where the user saw them land in those cells (the form never moves
    // under the mouse).
    void typedFiguresLandInTheCellsClicked()
    {
        MainWindow *program = startProgram(*env);
        QMainWindow *purchase = moduleWindow(program, "purchase_btn");
        trigger(purchase, "actionPurchase_Entry");
        auto *area = child<QScrollArea>(purchase, "screenFitArea");
        auto *row = child<QTableWidget>(purchase, "entering_table");
        QWidget *view = area->viewport();
        QScrollBar *across = area->horizontalScrollBar();
        const auto cellInView = [&](int column) {
            const QRect cell = row->visualRect(row->model()->index(0, column));
            return QRect(row->viewport()->mapTo(view, cell.topLeft()), cell.size());
        };
        // The description cell cut by the view's left edge by 10 px.
        across->setValue(0);
        QCoreApplication::processEvents();
        across->setValue(cellInView(0).left() + 10);
        QVERIFY(cellInView(0).left() < 0 && cellInView(0).right() > 100);
        const int scrolled = across->value();
        QList<QPair<int, QPoint>> aims; // column, where the user clicks in the view
        for (const int column : {0, 2, 7, 8})
            aims << qMakePair(column, cellInView(column).center() + QPoint(column == 0 ? 40 : 0, 0));
        const QStringList typed{"Resin", "10000", "900", "900"};
        for (int i = 0; i < aims.size(); ++i) {
            const QPoint at = row->viewport()->mapFrom(view, aims.at(i).second);
            QTest::mouseClick(row->viewport(), Qt::LeftButton, {}, at);
            QTest::keyClick(row, typed.at(i).at(0).toLatin1());
            QWidget *editor = QApplication::focusWidget();
            QVERIFY(editor && editor != row);
            QTest::keyClicks(editor, typed.at(i).mid(1));
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
            QCOMPARE(across->value(), scrolled);
        }
        for (int i = 0; i < aims.size(); ++i)
            QCOMPARE(row->item(0, aims.at(i).first)->text(), typed.at(i));
        // 10000 + 900 + 900.
        QCOMPARE(row->item(0, 11)->text(), QString("11800.00"));
    }

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
        startWithCustomers();
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
        startWithCustomers();
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
        startWithCustomers();
        generateDC form;
        const QTableWidget *list = child<QTableWidget>(&form, "gen_dc_table");
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QString(" "));
        QCOMPARE(list->model()->headerData(2, Qt::Horizontal).toString(), QString("Inward No"));
    }
};

KESTROVA_TEST_MAIN_ON_SCREEN(TestScreen, 1366, 768)
#include "tst_screen.moc"
