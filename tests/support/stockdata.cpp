#include "stockdata.h"

#include "support/widgets.h"

#include "core/money.h"
#include "widgets/formconventions.h"
#include "inventory/inventoryschema.h"
#include "inventory/stockentry.h"
#include "inventory/stockstore.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {

void setCombo(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(text.isEmpty() ? 0 : combo->findText(text));
}

// Runs `work` on the modal dialog that `open` shows.
void withModalDialog(const std::function<void()> &open, const std::function<void(QDialog *)> &work)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        work(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    open();
    if (!seen)
        QApplication::processEvents(); // let a timer that found no dialog run
}

} // namespace

int addStock(const QString &category, const QString &supplier, const QString &name, double opening,
             double minimum, const QString &uom, const QString &phone)
{
    const StockWriteOutcome outcome =
        addStockItem({category, supplier, phone, name, uom, minimum}, Decimal::fromStored(opening), storedToday());
    if (outcome.result != StockWrite::Done)
        qFatal("cannot add %s: %s", qPrintable(name), qPrintable(outcome.error));
    return outcome.itemId;
}

QString storedToday()
{
    return QDate::currentDate().toString("yyyy-MM-dd");
}

StockForm::StockForm()
{
    if (!env.openDatabase())
        qFatal("cannot open the database");
    createStockTables();
    form = new inventory_stockentry;
    form->show();
    list = child<QTableWidget>(form, "inventory_stock");
}

StockForm::~StockForm()
{
    delete form;
}

void StockForm::fillEntry(const QString &category, const QString &supplier, const QString &item,
                          const QString &opening, const QString &uom, const QString &minimum, const QString &phone)
{
    setCombo(child<QComboBox>(form, "category_combo"), category);
    child<QLineEdit>(form, "sup_nameEdit")->setText(supplier);
    child<QLineEdit>(form, "sup_phoneEdit")->setText(phone);
    child<QLineEdit>(form, "itemEdit")->setText(item);
    child<QLineEdit>(form, "open_stockEdit")->setText(opening);
    child<QLineEdit>(form, "min_stockEdit")->setText(minimum);
    setCombo(child<QComboBox>(form, "uomEdit"), uom);
}

void StockForm::clickAdd()
{
    click(form, "add_btn");
}

int StockForm::rowOf(int itemId) const
{
    for (int row = 0; row < list->rowCount(); ++row) {
        if (list->item(row, 0)->text().toInt() == itemId)
            return row;
    }
    return -1;
}

void StockForm::clickRow(int itemId)
{
    const int row = rowOf(itemId);
    if (row < 0)
        qFatal("item %d is not listed", itemId);
    const QRect cell = list->visualItemRect(list->item(row, 4));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

void StockForm::reload()
{
    child<QLineEdit>(form, "search_itemEdit")->setText("x");
    child<QLineEdit>(form, "search_itemEdit")->clear();
}

void StockForm::adjust(int itemId, const std::function<void(QDialog *)> &work)
{
    clickRow(itemId);
    withModalDialog([this] { click(form, "update_btn"); }, work);
}

bool StockForm::move(int itemId, bool addition, const QString &quantity, const QDate &date)
{
    bool stayedOpen = false;
    adjust(itemId, [&](QDialog *dialog) {
        for (QRadioButton *radio : dialog->findChildren<QRadioButton *>()) {
            if (radio->text() == (addition ? "Addition (+)" : "Reduction (-)"))
                radio->setChecked(true);
        }
        child<QLineEdit>(dialog, "quantityEdit")->setText(quantity);
        child<QDateEdit>(dialog, "dateEdit")->setDate(date);
        buttonWithText(dialog, "Save")->click();
        stayedOpen = dialog->isVisible();
    });
    return stayedOpen;
}

QStringList StockForm::history(int row, const std::function<void(QDialog *)> &work)
{
    LoadBackMenus &menus = recordLoadBackMenus();
    const QPoint pos = row < list->rowCount() ? list->visualItemRect(list->item(row, 4)).center()
                                              : QPoint(5, list->viewport()->height() - 2);
    withModalDialog([&] { emit list->customContextMenuRequested(pos); }, work);
    return menus.entries;
}

QStringList StockForm::takeMessages()
{
    QStringList shown;
    for (const RecordingDesktop::Message &m : env.desktop.messages)
        shown << m.title + "|" + m.text;
    env.desktop.messages.clear();
    return shown;
}
