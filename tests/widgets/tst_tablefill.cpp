// The fast table fill shows exactly what a plain fill shows: texts, colours,
// alignment, data, column widths sized to contents and sorted order.

#include "core/listformat.h"
#include "widgets/tablefill.h"

#include "support/widgets.h"

#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <cmath>

namespace {

// Texts of varied widths, some repeated, as a list has; a later fill (`round`
// 1) shows longer texts and other colours.
QString cellText(int r, int c, int round)
{
    const QString text =
        c == 1 ? QString("Customer %1").arg(QString(r % 7 + 1, QChar('W'))) : QString::number(r * (c + 3) % 991);
    return round == 0 ? text : text + QString(r % 3, QChar('x')) + "9";
}

QColor cellColour(int r, int round)
{
    return QColor((r + round) % 2 ? "#f8d7da" : "#d4edda");
}

QTableWidget *newTable()
{
    auto *t = new QTableWidget;
    t->setColumnCount(4);
    t->setHorizontalHeaderLabels({"No", "Name", "Qty", "Note"});
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    t->setStyleSheet("QTableWidget { font-family: 'Times New Roman'; font-size: 13px; }");
    t->resize(700, 300);
    t->show();
    return t;
}

// The quantity column is right-aligned, coloured and carries data.
void dressCell(QTableWidgetItem *item, int r, int c, int round)
{
    if (c != 2)
        return;
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setBackground(cellColour(r, round));
    item->setData(Qt::UserRole, r + round);
}

void plainFill(QTableWidget *t, int rows, int round = 0)
{
    t->setRowCount(0);
    t->setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(cellText(r, c, round));
            t->setItem(r, c, item);
            dressCell(item, r, c, round);
        }
}

void fastFill(QTableWidget *t, int rows, TableFill::Items items = TableFill::Items::New, int round = 0)
{
    TableFill fill(t, rows, items);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 4; ++c)
            dressCell(fill.add(r, c, cellText(r, c, round)), r, c, round);
}

QStringList describe(const QTableWidget *t)
{
    QStringList out;
    out << QString("current %1, selected %2, scrolled to %3")
               .arg(t->currentRow())
               .arg(t->selectionModel()->selectedRows().size())
               .arg(t->verticalScrollBar()->value());
    for (int c = 0; c < t->columnCount(); ++c)
        out << QString("width %1 = %2").arg(c).arg(t->columnWidth(c));
    for (int r = 0; r < t->rowCount(); ++r)
        for (int c = 0; c < t->columnCount(); ++c) {
            const QTableWidgetItem *i = t->item(r, c);
            out << (i ? QString("%1|%2|%3|%4")
                            .arg(i->text())
                            .arg(int(i->textAlignment()))
                            .arg(i->background().color().name())
                            .arg(i->data(Qt::UserRole).toString())
                      : QString("-"));
        }
    return out;
}

} // namespace

class TestTableFill : public QObject
{
    Q_OBJECT

private slots:
    void sameAsPlainFill_data();
    void sameAsPlainFill();
    void wrappedRowHeightsFollowTheColumnWidth();
    void sortedTableSortsOnce();
    void fillEmitsNoCellSignals();
    void cellsOutsideAreDropped();
    void keptSizesFollowAStyleChange();
    void keysAsOnAPlainTable_data();
    void keysAsOnAPlainTable();
    void repeatedTextsAreMadeOnce();
    void repeatedCellsAreMadeOnceAndCopied();
    void cellsRepeatingTheOneAboveAreCopied();
};

void TestTableFill::sameAsPlainFill_data()
{
    QTest::addColumn<int>("firstRows");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("kept");
    for (bool kept : {false, true}) {
        const char *how = kept ? "items kept: " : "new items: ";
        QTest::addRow("%sempty table, a long list", how) << 0 << 3000 << kept;
        QTest::addRow("%srefill, as many rows", how) << 3000 << 3000 << kept;
        QTest::addRow("%srefill, fewer rows", how) << 3000 << 40 << kept;
        QTest::addRow("%srefill, more rows", how) << 40 << 3000 << kept;
        QTest::addRow("%srefill to nothing", how) << 40 << 0 << kept;
    }
}

void TestTableFill::sameAsPlainFill()
{
    QFETCH(int, firstRows);
    QFETCH(int, rows);
    QFETCH(bool, kept);
    const TableFill::Items items = kept ? TableFill::Items::Kept : TableFill::Items::New;
    std::unique_ptr<QTableWidget> plain(newTable());
    std::unique_ptr<QTableWidget> fast(newTable());
    plainFill(plain.get(), firstRows);
    fastFill(fast.get(), firstRows, items);
    QCoreApplication::processEvents();
    // The user picked a row and scrolled down; the new texts are longer.
    for (QTableWidget *t : {plain.get(), fast.get()}) {
        if (firstRows > 20) {
            t->selectRow(17);
            t->verticalScrollBar()->setValue(t->verticalScrollBar()->maximum() / 2);
        }
    }
    QCoreApplication::processEvents();
    plainFill(plain.get(), rows, 1);
    fastFill(fast.get(), rows, items, 1);
    QCoreApplication::processEvents();
    QCOMPARE(fast->rowCount(), rows);
    // Once both are laid out (a plain fill may take a moment for its scroll bar).
    QTRY_COMPARE(describe(fast.get()), describe(plain.get()));
    QVERIFY(fast->updatesEnabled());
}

void TestTableFill::wrappedRowHeightsFollowTheColumnWidth()
{
    std::unique_ptr<QTableWidget> plain(newTable());
    std::unique_ptr<QTableWidget> fast(newTable());
    for (QTableWidget *t : {plain.get(), fast.get()}) {
        t->setWordWrap(true);
        t->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        t->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        t->setColumnWidth(1, 300);
    }
    const QString longText = "a remark long enough to wrap onto a second line in a narrow column";
    plain->setRowCount(1);
    plain->setItem(0, 1, new QTableWidgetItem(longText));
    {
        TableFill fill(fast.get(), 1);
        fill.add(0, 1, longText);
    }
    QCoreApplication::processEvents();
    QCOMPARE(fast->rowHeight(0), plain->rowHeight(0));
    for (QTableWidget *t : {plain.get(), fast.get()}) {
        t->setColumnWidth(1, 60);
        t->resizeRowsToContents();
    }
    QVERIFY(plain->rowHeight(0) > 40);
    QCOMPARE(fast->rowHeight(0), plain->rowHeight(0));
}

void TestTableFill::sortedTableSortsOnce()
{
    std::unique_ptr<QTableWidget> t(newTable());
    t->setSortingEnabled(true);
    t->sortByColumn(1, Qt::DescendingOrder);
    TableFill fill(t.get(), 3);
    fill.add(0, 1, "b");
    fill.add(1, 1, "c");
    fill.add(2, 1, "a");
    fill.add(0, 0, "row b");
    fill.finish();
    QVERIFY(t->isSortingEnabled());
    QCOMPARE(QStringList({t->item(0, 1)->text(), t->item(1, 1)->text(), t->item(1, 0)->text(), t->item(2, 1)->text()}),
             QStringList({"c", "b", "row b", "a"}));
}

void TestTableFill::fillEmitsNoCellSignals()
{
    std::unique_ptr<QTableWidget> t(newTable());
    QSignalSpy changed(t.get(), &QTableWidget::itemChanged);
    fastFill(t.get(), 50);
    fastFill(t.get(), 50, TableFill::Items::Kept, 1);
    QCOMPARE(changed.count(), 0);
    // Later edits are heard as usual.
    t->item(3, 2)->setText("7");
    QCOMPARE(changed.count(), 1);
}

void TestTableFill::cellsOutsideAreDropped()
{
    std::unique_ptr<QTableWidget> t(newTable());
    TableFill fill(t.get(), 2);
    fill.add(2, 0, "no such row")->setBackground(Qt::red);
    fill.add(0, 4, "no such column");
    fill.add(1, 1, "kept");
    fill.finish();
    fill.add(0, 0, "after the end");
    QCOMPARE(t->rowCount(), 2);
    QCOMPARE(t->item(1, 1)->text(), QString("kept"));
    QVERIFY(!t->item(0, 0));
}

// The measured sizes stay from fill to fill; a wider padding of the cells
// set between two fills of the same texts widens the columns as with a plain
// fill.
void TestTableFill::keptSizesFollowAStyleChange()
{
    std::unique_ptr<QTableWidget> plain(newTable());
    std::unique_ptr<QTableWidget> fast(newTable());
    const auto widths = [](const QTableWidget *t) { return describe(t).mid(1, t->columnCount()); };
    plainFill(plain.get(), 200);
    fastFill(fast.get(), 200, TableFill::Items::Kept);
    QCoreApplication::processEvents();
    QTRY_COMPARE(widths(fast.get()), widths(plain.get()));
    const int before = fast->columnWidth(1);
    for (QTableWidget *t : {plain.get(), fast.get()})
        t->setStyleSheet("QTableWidget { font-family: 'Times New Roman'; font-size: 13px; }"
                         "QTableWidget::item { padding: 0px 14px; }");
    plainFill(plain.get(), 200);
    fastFill(fast.get(), 200, TableFill::Items::Kept);
    QCoreApplication::processEvents();
    QTRY_COMPARE(widths(fast.get()), widths(plain.get()));
    QVERIFY(fast->columnWidth(1) > before);
}

namespace {

// What Qt logs while keys are given (warnings and worse).
QStringList *g_logged = nullptr;

void recordLogged(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg && type != QtInfoMsg && g_logged)
        g_logged->append(text);
}

} // namespace

void TestTableFill::keysAsOnAPlainTable_data()
{
    QTest::addColumn<bool>("editable");
    QTest::newRow("read-only rows") << false;
    QTest::newRow("editable cells") << true;
}

// A filled table in a dialog, between two fields, takes every key as a plain
// table does: the same current cell and focus after each key, Esc closes an
// open editor and then the dialog, and nothing is logged.
void TestTableFill::keysAsOnAPlainTable()
{
    QFETCH(bool, editable);
    QStringList logged;
    g_logged = &logged;
    const auto walk = [editable](bool filled) {
        QDialog dialog;
        auto *layout = new QVBoxLayout(&dialog);
        auto *before = new QLineEdit(&dialog);
        auto *table = new QTableWidget(2, 3, &dialog);
        auto *after = new QLineEdit(&dialog);
        before->setObjectName("before");
        table->setObjectName("table");
        after->setObjectName("after");
        layout->addWidget(before);
        layout->addWidget(table);
        layout->addWidget(after);
        if (!editable) {
            table->setEditTriggers(QAbstractItemView::NoEditTriggers);
            table->setSelectionBehavior(QAbstractItemView::SelectRows);
        }
        if (filled) {
            TableFill fill(table, 2);
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 3; ++c)
                    fill.add(r, c, QString("%1%2").arg(r).arg(c));
        } else {
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 3; ++c)
                    table->setItem(r, c, new QTableWidgetItem(QString("%1%2").arg(r).arg(c)));
        }
        dialog.show();
        dialog.activateWindow();
        if (!QTest::qWaitForWindowActive(&dialog))
            return QStringList{"dialog not active"};
        table->setFocus();
        table->setCurrentCell(0, 1);
        // From (0, 1): Tab, Backtab, the arrows and Return; in an editable
        // table a typed key opens the editor, Tab takes its text to the next
        // cell's editor and Esc closes that one. Then Tab round the table
        // (a table's Tab wraps from its last cell to its first), Ctrl+Tab,
        // Ctrl+Shift+Tab and Esc.
        using Key = QPair<int, Qt::KeyboardModifiers>;
        const Key tab{Qt::Key_Tab, {}}, backtab{Qt::Key_Backtab, Qt::ShiftModifier}, esc{Qt::Key_Escape, {}};
        QList<Key> keys{tab, backtab, {Qt::Key_Right, {}}, {Qt::Key_Down, {}}, {Qt::Key_Left, {}}, {Qt::Key_Up, {}},
                        {Qt::Key_Return, {}}};
        if (editable)
            keys << Key{Qt::Key_X, {}} << tab << Key{Qt::Key_Y, {}} << esc << backtab;
        keys << tab << tab << tab << tab << tab << Key{Qt::Key_Tab, Qt::ControlModifier}
             << Key{Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier} << esc;
        QStringList trace;
        // What the keys make Qt log (showing the dialog logs a note of the
        // headless platform's).
        const QtMessageHandler previous = qInstallMessageHandler(recordLogged);
        for (const auto &[key, modifiers] : keys) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &dialog, Qt::Key(key), modifiers);
            QCoreApplication::processEvents();
            focus = QApplication::focusWidget();
            trace << QString("%1: cell %2,%3, focus %4, %5")
                         .arg(QKeySequence(key).toString())
                         .arg(table->currentRow())
                         .arg(table->currentColumn())
                         .arg(!focus ? QString("none")
                              : focus->objectName().isEmpty() ? focus->metaObject()->className()
                                                              : focus->objectName())
                         .arg(dialog.isVisible() ? "open" : "closed");
        }
        qInstallMessageHandler(previous);
        trace << rowTexts(table, 0).join('|') + " " + rowTexts(table, 1).join('|');
        return trace;
    };
    const QStringList plain = walk(false);
    const QStringList filled = walk(true);
    g_logged = nullptr;
    QCOMPARE(filled, plain);
    QCOMPARE(plain.first(), QString("Tab: cell 0,2, focus table, open"));
    QVERIFY(plain.at(plain.size() - 2).endsWith("closed"));
    QCOMPARE(plain.last(), QString(editable ? "00|x|02 10|11|12" : "00|01|02 10|11|12"));
    QCOMPARE(logged.join("\n"), QString());
}

void TestTableFill::repeatedTextsAreMadeOnce()
{
    int made = 0;
    RepeatedTexts<double> quantities([&](double q) {
        ++made;
        return QString::number(q, 'f', 3);
    });
    QCOMPARE(quantities(2.5), QStringLiteral("2.500"));
    QCOMPARE(quantities(2.5), QStringLiteral("2.500"));
    QCOMPARE(made, 1);
    // 0 and -0 compare equal, but each is made from its own value.
    RepeatedTexts<double> signs([&](double q) {
        ++made;
        return QString(std::signbit(q) ? "-" : "+");
    });
    QCOMPARE(signs(0.0), QStringLiteral("+"));
    QCOMPARE(signs(-0.0), QStringLiteral("-"));
    QCOMPARE(made, 3);

    RepeatedTexts<QString> upper([&](const QString &s) {
        ++made;
        return s.toUpper();
    });
    QCOMPARE(upper("ab"), QStringLiteral("AB"));
    QCOMPARE(upper("ab"), QStringLiteral("AB"));
    QCOMPARE(upper(QString()), QString());
    QCOMPARE(made, 5);
}

// Each key's cell is made once; its copies show its text and look, and one
// copy edited leaves the others as they were.
void TestTableFill::repeatedCellsAreMadeOnceAndCopied()
{
    int made = 0;
    QTableWidget t(2, 2);
    {
        RepeatedCells<std::pair<int, QString>> cells;
        const auto cell = [&](int column, const QString &text) {
            return cells.first({column, text}, [&] {
                ++made;
                auto *item = new QTableWidgetItem(text);
                item->setBackground(column ? Qt::red : Qt::green);
                return item;
            }).clone();
        };
        TableFill fill(&t, 2);
        for (int row : {0, 1})
            for (int column : {0, 1})
                fill.add(row, column, cell(column, "a"));
        QCOMPARE(made, 2);
    }
    t.item(0, 1)->setText("b");
    QCOMPARE(rowTexts(&t, 0) + rowTexts(&t, 1), QStringList({"a", "b", "a", "a"}));
    QCOMPARE(t.item(1, 0)->background(), QBrush(Qt::green));
    QCOMPARE(t.item(1, 1)->background(), QBrush(Qt::red));
}

// Only a cell of the text and look of the one just above it is a copy.
void TestTableFill::cellsRepeatingTheOneAboveAreCopied()
{
    QTableWidget t(5, 1);
    QStringList made;
    {
        CellsAbove above(1);
        TableFill fill(&t, 5);
        const QList<QPair<QString, int>> cells{{"a", 0}, {"a", 0}, {"a", 1}, {"b", 1}, {"a", 1}};
        for (int r = 0; r < cells.size(); ++r) {
            const auto &[text, look] = cells.at(r);
            fill.add(r, 0, above.item(0, text, look, [&] {
                made << text;
                auto *item = new QTableWidgetItem(text);
                item->setData(Qt::UserRole, look);
                return item;
            }));
        }
    }
    QCOMPARE(made, QStringList({"a", "a", "b", "a"}));
    QCOMPARE(columnTexts(&t, 0), QStringList({"a", "a", "a", "b", "a"}));
    QCOMPARE(t.item(1, 0)->data(Qt::UserRole), QVariant(0));
    QCOMPARE(t.item(2, 0)->data(Qt::UserRole), QVariant(1));
}

QTEST_MAIN(TestTableFill)
#include "tst_tablefill.moc"
