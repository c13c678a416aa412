// The announcement of an invoicing change: the lists that follow it rebuild
// themselves when shown and not the window that made the change; a hidden
// list waits; a closed (deleted) list is forgotten; other listeners (the
// sales dashboard) hear every change.

#include "invoicing/invoicingrefresh.h"

#include <QTest>
#include <QWidget>

#include <memory>

class TestInvoicingRefresh : public QObject
{
    Q_OBJECT

private slots:
    void shownListsOtherThanTheChangerReload();
    void aDeletedListIsForgotten();
};

void TestInvoicingRefresh::shownListsOtherThanTheChangerReload()
{
    QWidget shown, hidden, changer;
    int shownLoads = 0, hiddenLoads = 0, changerLoads = 0, heard = 0;
    followInvoicingChanges(&shown, [&] { ++shownLoads; });
    followInvoicingChanges(&hidden, [&] { ++hiddenLoads; });
    followInvoicingChanges(&changer, [&] { ++changerLoads; });
    QObject listener;
    connect(invoicingNotifier(), &InvoicingNotifier::changed, &listener, [&] { ++heard; });
    shown.show();
    changer.show();

    refreshShownInvoicingLists(&changer);
    QCOMPARE(shownLoads, 1);
    QCOMPARE(hiddenLoads, 0);
    QCOMPARE(changerLoads, 0);
    QCOMPARE(heard, 1);

    // A change made by no window reaches every shown list.
    refreshShownInvoicingLists(nullptr);
    QCOMPARE(shownLoads, 2);
    QCOMPARE(changerLoads, 1);
    QCOMPARE(hiddenLoads, 0);
    QCOMPARE(heard, 2);

    // Once shown, the hidden list follows too; one closed again does not.
    hidden.show();
    shown.hide();
    refreshShownInvoicingLists(&changer);
    QCOMPARE(hiddenLoads, 1);
    QCOMPARE(shownLoads, 2);
    QCOMPARE(changerLoads, 1);
}

void TestInvoicingRefresh::aDeletedListIsForgotten()
{
    int loads = 0;
    auto list = std::make_unique<QWidget>();
    followInvoicingChanges(list.get(), [&] { ++loads; });
    list->show();
    refreshShownInvoicingLists(nullptr);
    QCOMPARE(loads, 1);
    list.reset();
    refreshShownInvoicingLists(nullptr);
    QCOMPARE(loads, 1);
}

QTEST_MAIN(TestInvoicingRefresh)
#include "tst_invoicingrefresh.moc"
