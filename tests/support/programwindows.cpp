#include "programwindows.h"

#include "appwalk.h"
#include "salesdata.h"
#include "testenvironment.h"
#include "tickcells.h"

#include "core/financialyear.h"
#include "shell/mainwindow.h"
#include "widgets/screenfit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QList<QWidget *> shownWindows()
{
    QList<QWidget *> shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            shown << w;
    }
    return shown;
}

// Does `act`, then hands over the one window it showed.
void lookAtNewWindow(const std::function<void()> &act, const LookAtWindow &look)
{
    const QList<QWidget *> before = shownWindows();
    act();
    QApplication::processEvents();
    QList<QWidget *> opened;
    for (QWidget *w : shownWindows()) {
        if (!before.contains(w))
            opened << w;
    }
    if (opened.size() != 1)
        qFatal("expected one window to open, found %d", int(opened.size()));
    look(opened.first());
}

// Does `act`, which runs a dialog, and hands the dialog over while it runs.
void lookAtDialog(const std::function<void()> &act, const LookAtWindow &look)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            seen = true;
            look(dialog);
            dialog->close();
        }
    });
    act();
    if (!seen)
        qFatal("no dialog opened");
}


ProgramWindow module(const QString &name, const char *button)
{
    return {name, [button](MainWindow *main, TestEnvironment &, const LookAtWindow &look) {
                look(moduleWindow(main, button));
            }};
}

ProgramWindow menuForm(const QString &name, const char *button, const char *action)
{
    return {name, [button, action](MainWindow *main, TestEnvironment &, const LookAtWindow &look) {
                QMainWindow *module = moduleWindow(main, button);
                lookAtNewWindow([&] { trigger(module, action); }, look);
            }};
}

// A form that another form opens: `form` is opened from the sales menu, its
// first list row ticked, then `button` pressed.
ProgramWindow passedOnForm(const QString &name, const char *action, const char *list, const char *button)
{
    return {name, [action, list, button](MainWindow *main, TestEnvironment &, const LookAtWindow &look) {
                QMainWindow *sales = moduleWindow(main, "sales_btn");
                QWidget *opener = nullptr;
                lookAtNewWindow([&] { trigger(sales, action); }, [&](QWidget *w) { opener = w; });
                if (list)
                    clickTickBox(child<QTableWidget>(opener, list), 0);
                lookAtNewWindow([&] { click(opener, button); }, look);
            }};
}

// The buttons and fields of a window; those in the cells of a list scroll
// with the list.
QList<QWidget *> controlsOf(QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        bool inList = false;
        for (QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
            inList = inList || qobject_cast<QAbstractItemView *>(p);
        const QWidget *parent = w->parentWidget();
        const bool ownLineEdit = qobject_cast<QLineEdit *>(w) && !qobject_cast<const QComboBox *>(parent)
                                 && !qobject_cast<const QAbstractSpinBox *>(parent);
        if (!inList
            && (qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w)
                || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QAbstractItemView *>(w) || ownLineEdit))
            controls << w;
    }
    return controls;
}

// Scrolls `part` of `widget` (in its own coordinates) into view through every
// scroll area it lies in, the innermost first; returns the room the areas
// show at once.
QSize scrollPartIntoView(QWidget *window, QWidget *widget, const QRect &part)
{
    QCoreApplication::processEvents(); // layouts settle
    QSize room = window->size();
    for (QWidget *p = widget->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (auto *area = qobject_cast<QScrollArea *>(p)) {
            // The whole part, where the area's own rule shows a field's cursor only.
            const QRect rect(widget->mapTo(area->widget(), part.topLeft()), part.size());
            area->ensureVisible(rect.center().x(), rect.center().y(), rect.width() / 2, rect.height() / 2);
        }
        if (auto *area = qobject_cast<QAbstractScrollArea *>(p))
            room = room.boundedTo(area->viewport()->size());
    }
    QCoreApplication::processEvents();
    return room;
}

// Scrolls `control` into view as far as the window can show it; then tells
// the point a click on it lands on (in window coordinates), or why none does.
QString scrollIntoView(QWidget *window, QWidget *control, QPoint *clickAt)
{
    const QSize room = scrollPartIntoView(window, control, control->rect());
    // A layout squeezed below its minimum shows strips of its controls.
    QSize minimum = control->minimumSizeHint().boundedTo(control->maximumSize());
    if (control->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
        minimum.setWidth(0);
    if (control->sizePolicy().verticalPolicy() == QSizePolicy::Ignored)
        minimum.setHeight(0);
    minimum = minimum.expandedTo(control->minimumSize());
    if (control->width() < minimum.width() - 1 || control->height() < minimum.height() - 1)
        return QString("squeezed to %1x%2 of %3x%4")
            .arg(control->width()).arg(control->height()).arg(minimum.width()).arg(minimum.height());
    const QRect shown = control->visibleRegion().boundingRect();
    const QSize whole = control->size().boundedTo(room);
    if (shown.width() < whole.width() - 1 || shown.height() < whole.height() - 1)
        return QString("shows %1x%2 of %3x%4").arg(shown.width()).arg(shown.height()).arg(whole.width()).arg(whole.height());
    *clickAt = control->mapTo(window, shown.center());
    QWidget *hit = window->childAt(*clickAt);
    if (hit != control && !control->isAncestorOf(hit))
        return "covered by " + (hit ? hit->objectName() + " " + hit->metaObject()->className() : QString("nothing"));
    if (!window->screen()->availableGeometry().contains(window->mapToGlobal(*clickAt)))
        return "off the screen";
    return QString();
}

QString describe(const QWidget *w)
{
    QString text;
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        text = " \"" + button->text() + "\"";
    return w->metaObject()->className() + (" " + w->objectName()) + text;
}

} // namespace

QMainWindow *moduleWindow(MainWindow *main, const char *button)
{
    child<QToolButton>(main, button)->click();
    QApplication::processEvents(); // the window system's answer to maximising
    QMainWindow *shown = nullptr;
    for (QMainWindow *w : main->findChildren<QMainWindow *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isVisible()) {
            if (shown)
                qFatal("more than one module window shown");
            shown = w;
        }
    }
    if (!shown)
        qFatal("module window of %s not shown", button);
    return shown;
}

MainWindow *startProgram(TestEnvironment &)
{
    auto *main = new MainWindow; // deleted with the environment
    fitToScreen(main);
    main->show();
    child<QLineEdit>(main, "usernameEdit")->setText("pravo");
    child<QLineEdit>(main, "passwordEdit")->setText("pravo");
    click(main, "submit_btn");

    using namespace testdata;
    createTables();
    const int customer = addCustomer("ACME FORGINGS");
    const int item = addItem(customer, "BR-10", "BRACKET");
    addInward({1, g_currentFY, customer, item, 10});
    addInward({2, g_currentFY, customer, item, 4});
    addDelivery({1, g_currentFY, 2, customer, item, 4});
    return main;
}

QList<ProgramWindow> everyProgramWindow()
{
    return {
        {"main window", [](MainWindow *main, TestEnvironment &, const LookAtWindow &look) { look(main); }},
        module("sales window", "sales_btn"),
        module("purchase window", "purchase_btn"),
        module("expenses window", "expenses_btn"),
        module("salary window", "salary_slip_btn"),
        module("inventory window", "invent_cum_btn"),
        menuForm("customer master", "sales_btn", "actionCustomer_Master"),
        menuForm("item master", "sales_btn", "actionItem_Master"),
        menuForm("inward entry", "sales_btn", "actionCreate_Inward"),
        menuForm("inward list", "sales_btn", "actionView_Inward"),
        menuForm("delivery challan generation", "sales_btn", "actionCreate_Delivery_Challan"),
        menuForm("delivery challan list", "sales_btn", "actionView_Delivery_Challan_History"),
        menuForm("despatch details", "sales_btn", "actionDespatch_Details"),
        menuForm("invoice generation", "sales_btn", "actionGenerate_Invoice"),
        menuForm("invoice form", "sales_btn", "actionInvoice_Form"),
        menuForm("invoice list", "sales_btn", "actionView_Invoice_List"),
        menuForm("payment follow-up", "sales_btn", "actionPayment_Pending_Details"),
        menuForm("payment history", "sales_btn", "actionPayment_History"),
        passedOnForm("challan form from generation", "actionCreate_Delivery_Challan", "gen_dc_table",
                     "proced_del_btn"),
        passedOnForm("invoice form from generation", "actionGenerate_Invoice", "gen_invoice_table",
                     "proceed_inv_btn"),
        passedOnForm("payment history from follow-up", "actionPayment_Pending_Details", nullptr,
                     "goto_pay_state_btn"),
        menuForm("stock entry", "invent_cum_btn", "actionStock_Entries"),
        menuForm("stock report", "invent_cum_btn", "actionStock_Report"),
        menuForm("generate material request", "invent_cum_btn", "actionPO_Generation"),
        menuForm("material request list", "invent_cum_btn", "actionOrder_List_Status"),
        {"purchase entry page",
         [](MainWindow *main, TestEnvironment &, const LookAtWindow &look) {
             QMainWindow *purchase = moduleWindow(main, "purchase_btn");
             trigger(purchase, "actionPurchase_Entry");
             QApplication::processEvents();
             look(purchase);
         }},
        menuForm("payment entry (menu)", "purchase_btn", "actionPayment_Entry"),
        menuForm("payment statement", "purchase_btn", "actionPayment_Statement"),
        {"payment entry (purchase button)",
         [](MainWindow *main, TestEnvironment &, const LookAtWindow &look) {
             QMainWindow *purchase = moduleWindow(main, "purchase_btn");
             trigger(purchase, "actionPurchase_Entry");
             lookAtNewWindow([&] { click(purchase, "payment_entry_btn"); }, look);
         }},
        {"user panel",
         [](MainWindow *main, TestEnvironment &, const LookAtWindow &look) {
             lookAtDialog([&] { click(main, "settings_btn"); }, look);
         }},
        {"administration panel",
         [](MainWindow *main, TestEnvironment &env, const LookAtWindow &look) {
             env.desktop.textAnswers.enqueue("TELMO@PNL8316");
             lookAtDialog([&] { child<QPushButton>(main, "developer_btn")->click(); }, look);
         }},
    };
}

QString unreachablePart(QWidget *window, QWidget *widget, const QRect &part)
{
    if (!widget->rect().contains(part))
        return QString("lies outside its %1x%2 widget").arg(widget->width()).arg(widget->height());
    scrollPartIntoView(window, widget, part.adjusted(0, 0, 1, 1)); // the area's rule stops a pixel short
    const QRect shown = widget->visibleRegion().boundingRect();
    if (!shown.contains(part))
        return QString("shows %1x%2 of %3x%4").arg((shown & part).width()).arg((shown & part).height())
            .arg(part.width()).arg(part.height());
    const QRect onScreen(widget->mapToGlobal(part.topLeft()), part.size());
    if (!window->screen()->availableGeometry().contains(onScreen))
        return "off the screen";
    return QString();
}

QStringList unusableControls(QWidget *window)
{
    QStringList unusable;
    for (QWidget *control : controlsOf(window)) {
        QPoint at;
        const QString why = scrollIntoView(window, control, &at);
        if (!why.isEmpty())
            unusable << describe(control) + ": " + why;
    }
    return unusable;
}

bool clickAsUser(QWidget *window, QAbstractButton *button)
{
    QPoint at;
    if (!scrollIntoView(window, button, &at).isEmpty())
        return false;
    QWidget *hit = window->childAt(at);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(window, at));
    return true;
}
