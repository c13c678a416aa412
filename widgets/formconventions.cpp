#include "formconventions.h"

#include "resources.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSqlQuery>
#include <QTableWidget>

namespace {

void setHeaderImage(QLabel *label, const QString &name)
{
    if (!label)
        return;
    label->setFixedSize(100, 100);
    label->setPixmap(QPixmap(imagePath(name)));
    label->setScaledContents(true);
    label->setStyleSheet(QString());
}

bool popupChooser(QWidget *parent, const QPoint &globalPos, const QString &entryText)
{
    QMenu menu(parent);
    // A menu takes "&" for a shortcut mark; doubled, it shows as written.
    QAction *entry = menu.addAction(QString(entryText).replace(QLatin1Char('&'), QLatin1String("&&")));
    return menu.exec(globalPos) == entry;
}

} // namespace

LoadBackChooser g_loadBackChooser = popupChooser;

void setupFormHeader(QGroupBox *band, QLabel *title, QLabel *leftImage, QLabel *rightImage)
{
    if (band)
        band->setStyleSheet(QStringLiteral("background-color: rgb(3, 105, 161);"));
    if (title) {
        QFont font(QStringLiteral("Times New Roman"), 22);
        font.setBold(true);
        title->setFont(font);
        title->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);\n"));
        title->setAlignment(Qt::AlignCenter);
    }
    setHeaderImage(leftImage, QStringLiteral("app_icon"));
    setHeaderImage(rightImage, QStringLiteral("developer_logo"));
}

void loadCustomerCombo(QComboBox *combo, const QString &firstEntry, bool restorePrevious)
{
    const QSignalBlocker blocker(combo);
    const int previous = restorePrevious ? combo->currentData().toInt() : 0;

    combo->clear();
    combo->addItem(firstEntry, -1);
    QSqlQuery q;
    if (q.exec(QStringLiteral("SELECT customer_id, customer_name FROM customers ORDER BY customer_name ASC"))) {
        while (q.next())
            combo->addItem(q.value(1).toString(), q.value(0).toInt());
    }

    if (restorePrevious && previous > 0) {
        const int index = combo->findData(previous);
        if (index >= 0)
            combo->setCurrentIndex(index);
    }
}

int chosenCustomerId(const QComboBox *combo)
{
    return combo->currentData().toInt();
}

void loadBackContextMenu(QTableWidget *list, const QPoint &pos, const QString &entryText,
                         const std::function<bool(int row)> &preCheck,
                         const std::function<void(int number, const QString &fy)> &load)
{
    const QTableWidgetItem *item = list->itemAt(pos);
    if (!item)
        return;
    const int row = item->row();

    const QTableWidgetItem *numberItem = list->item(row, 0);
    const QTableWidgetItem *fullItem = list->item(row, 1);
    const int number = numberItem ? numberItem->text().toInt() : 0;
    const QString full = fullItem ? fullItem->text() : QString();
    const int slash = full.indexOf('/');
    const QString fy = slash >= 0 ? full.mid(slash + 1) : QString();

    if (preCheck && !preCheck(row))
        return;
    if (g_loadBackChooser(list, list->viewport()->mapToGlobal(pos), entryText) && load)
        load(number, fy);
}
