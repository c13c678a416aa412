// The invoice main list: rows, order and colours, totals of the live
// invoices, the customer filter, batch print, cancel and delete (all or
// nothing, delete refused with payments), and the GST statement CSV.

#include "support/files.h"
#include "support/formfonts.h"
#include "support/invoicedata.h"
#include "support/salesdata.h"
#include "support/secondconnection.h"
#include "support/standintool.h"
#include "support/tablefonts.h"
#include "support/testenvironment.h"
#include "support/widgets.h"

#include "core/financialyear.h"
#include "core/listformat.h"
#include "invoicing/invoicegstmainlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

using namespace testdata;

namespace {

const QString Period = "2025-04-01..2027-03-31";

QTableWidget *list(invoiceGSTmainList *w)
{
    return child<QTableWidget>(w, "invoice_list");
}

QCheckBox *tickBox(invoiceGSTmainList *w, int row)
{
    QWidget *cell = list(w)->cellWidget(row, 0);
    return cell ? cell->findChild<QCheckBox *>() : nullptr;
}

void tick(invoiceGSTmainList *w, const QList<int> &rows)
{
    for (int r : rows) {
        QCheckBox *box = tickBox(w, r);
        QVERIFY(box && box->isEnabled());
        box->setChecked(true);
    }
}

QStringList totals(invoiceGSTmainList *w)
{
    QStringList texts;
    for (const char *name : {"tot_base_lbl", "tot_cgst_lbl", "tot_sgst_lbl", "tot_igst_lbl", "tot_tax_lbl",
                             "tot_net_lbl"})
        texts << child<QLabel>(w, name)->text();
    return texts;
}

QComboBox *combo(invoiceGSTmainList *w)
{
    return child<QComboBox>(w, "company_combo");
}

QStringList invoiceRows()
{
    return rows("SELECT invoice_no, fy_name, is_deleted, (SELECT COUNT(*) FROM invoice_items ii "
                "WHERE ii.invoice_id = v.invoice_id) FROM invoices v ORDER BY fy_name, invoice_no");
}

} // namespace

class TestInvoiceMainList : public QObject
{
    Q_OBJECT

    TestEnvironment *env = nullptr;
    int alpha = 0;
    int beta = 0;
    int item = 0;

    // The list over both years.
    invoiceGSTmainList *openList()
    {
        auto *w = new invoiceGSTmainList;
        w->show();
        child<QDateEdit>(w, "fromdateEdit")->setDate(QDate(2025, 4, 1));
        child<QDateEdit>(w, "todateEdit")->setDate(QDate(2027, 3, 31));
        click(w, "show_btn");
        return w;
    }

    int addWithLine(const StoredInvoice &invoice)
    {
        const int id = addStoredInvoice(invoice);
        addStoredLine(id, {1, item, 10, 100, invoice.subTotal, 18, invoice.fy});
        return id;
    }

private slots:
    void init()
    {
        env = new TestEnvironment;
        QVERIFY(openSalesDatabase(*env));
        g_currentFY = "26-27";
        alpha = addCustomer("ALPHA");
        beta = addCustomer("BETA, \"Pune\"", {"", "", "27BBB", "", "IGST Customer"});
        item = addItem(alpha, "B-1", "Bolt");
        setCompany("Morvel Coats", "Plot 12, MIDC", "Pune 411026", "020-555", "info@morvel.in", "27AAAAA0000A1Z5", "");
        // 1/26-27 live, 2/26-27 cancelled, 1/25-26 live IGST, one outside the period.
        addWithLine({1, "26-27", "2026-07-01", alpha, 1500, 102.5, 102.5, 0, 1705});
        addStoredInvoice({2, "26-27", "2026-07-05", beta, 1000, 90, 90, 0, 1180, "", 1});
        addWithLine({1, "25-26", "2026-03-10", beta, 200, 0, 0, 36, 236});
        addWithLine({4, "24-25", "2025-03-01", alpha, 50, 4.5, 4.5, 0, 59});
    }

    void cleanup()
    {
        delete env;
        env = nullptr;
    }

    void listsThePeriodWithLiveTotals()
    {
        invoiceGSTmainList *w = openList();
        QTableWidget *t = list(w);
        QCOMPARE(t->rowCount(), 3);
        QCOMPARE(rowTexts(t, 0).mid(1), (QStringList{"2", "2/26-27", "05-07-2026", "BETA, \"Pune\"", "27BBB",
                                                     "1000.00", "90.00", "90.00", "0.00", "180.00", "1180.00"}));
        QCOMPARE(rowTexts(t, 1).mid(1), (QStringList{"1", "1/26-27", "01-07-2026", "ALPHA", "", "1500.00", "102.50",
                                                     "102.50", "0.00", "205.00", "1705.00"}));
        QCOMPARE(rowTexts(t, 2).mid(2, 2), (QStringList{"1/25-26", "10-03-2026"}));
        QCOMPARE(tableCell(t, 2, 10), QString("36.00"));

        // The cancelled invoice is grey, cannot be ticked and adds nothing.
        QCOMPARE(t->item(0, 4)->foreground().color(), QColor(150, 150, 150));
        QCOMPARE(t->item(0, 11)->background().color(), QColor(230, 230, 230));
        QVERIFY(!tickBox(w, 0)->isEnabled());
        QCOMPARE(totals(w), (QStringList{"1700.00", "102.50", "102.50", "36.00", "241.00", "1941.00"}));

        // One customer.
        auto *combo = child<QComboBox>(w, "company_combo");
        combo->setCurrentIndex(combo->findText("BETA, \"Pune\""));
        click(w, "show_btn");
        QCOMPARE(columnTexts(t, 2), (QStringList{"2/26-27", "1/25-26"}));
        QCOMPARE(totals(w), (QStringList{"200.00", "0.00", "0.00", "36.00", "36.00", "236.00"}));
    }

    void longTotalsAreShownWhole()
    {
        addStoredInvoice({5, "26-27", "2026-08-01", alpha, 123456789012.5, 0, 0, 0, 123456789012.5});
        invoiceGSTmainList *w = openList();
        QApplication::processEvents();
        auto *base = child<QLabel>(w, "tot_base_lbl");
        QCOMPARE(base->text(), QString("123456790712.50"));
        QVERIFY(base->contentsRect().width() >= base->fontMetrics().horizontalAdvance(base->text()));
    }

    // An IGST and a net stored beyond what Money holds (by another program)
    // show as stored, and every total and the statement add them exactly:
    // IGST 36.00 + 10,000,000,000,000,000.00 = 10,000,000,000,000,036.00,
    // tax 241.00 + 10^16 = 10,000,000,000,000,241.00, net 1941.00 +
    // 10,000,000,000,000,200.00 = 10,000,000,000,002,141.00.
    void figuresStoredBeyondMoneyShowAndAddAsStored()
    {
        addStoredInvoice({5, "26-27", "2026-08-01", beta, 200, 0, 0, 1e16, 10000000000000200.0});
        invoiceGSTmainList *w = openList();
        QTableWidget *t = list(w);
        QCOMPARE(rowTexts(t, 0).mid(6), (QStringList{"200.00", "0.00", "0.00", "10000000000000000.00",
                                                     "10000000000000000.00", "10000000000000200.00"}));
        const QStringList sums{"1900.00", "102.50", "102.50", "10000000000000036.00", "10000000000000241.00",
                               "10000000000002141.00"};
        QCOMPARE(totals(w), sums);

        const QString path = env->folder() + "/statement.csv";
        env->desktop.saveFileAnswers.enqueue(path);
        click(w, "print_statement");
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(lines.at(8), QString("1,5/26-27,01-08-2026,\"BETA, \"\"Pune\"\"\",27BBB,200.00,0.00,0.00,"
                                      "10000000000000000.00,10000000000000000.00,10000000000000200.00"));
        QCOMPARE(lines.at(12), "TOTAL,,,,," + sums.join(','));
    }

    // 10,001 invoices of the largest amount, 99,999,999,999.99 of base, IGST
    // and net each, pass ten crore crore: 10,001 x 99,999,999,999.99 =
    // 1,000,099,999,999,899.99 in every total but CGST and SGST, on screen
    // and in the statement.
    void totalsOfTenThousandLargestInvoices()
    {
        exec("DELETE FROM invoices");
        exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10001) "
                     "INSERT INTO invoices (invoice_no, invoice_no_full, invoice_date, customer_id, sub_total, "
                     "cgst_amount, sgst_amount, igst_amount, grand_total, fy_name, is_deleted) SELECT i, i || "
                     "'/26-27', '2026-08-01', %1, 99999999999.99, 0, 0, 99999999999.99, 99999999999.99, '26-27', 0 "
                     "FROM n").arg(alpha));
        const QString sum = "1000099999999899.99";
        const QStringList sums{sum, "0.00", "0.00", sum, sum, sum};
        invoiceGSTmainList *w = openList();
        QCOMPARE(totals(w), sums);

        const QString path = env->folder() + "/statement.csv";
        env->desktop.saveFileAnswers.enqueue(path);
        click(w, "print_statement");
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(lines.mid(lines.size() - 7, 5),
                 (QStringList{"TOTAL,,,,," + sums.join(','), "", "Total Invoices,10001", "Total Net Amount," + sum, ""}));
    }

    // With the scroll bar and without it, each total ends where its column ends.
    // Under the application's style the list, its headings and the totals
    // keep the form's serif type, and no heading is cut. (The filter's combo
    // and dates are given no font of their own.)
    void showsTheFormFont()
    {
        ApplicationStyleInTest style;
        invoiceGSTmainList *w = openList();
        const QStringList wrong =
            widgetsNotShowing(w, "Times New Roman", {"company_combo", "fromdateEdit", "todateEdit"});
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        QCOMPARE(cutHeaderSections(list(w)), QStringList());
    }

    void totalsSitUnderTheirColumns()
    {
        for (int no = 10; no < 60; ++no)
            addStoredInvoice({no, "26-27", "2026-08-01", alpha, 100, 9, 9, 0, 118});
        invoiceGSTmainList *w = openList();
        QTableWidget *t = list(w);
        for (const bool scrolls : {true, false}) {
            if (!scrolls) {
                combo(w)->setCurrentIndex(combo(w)->findText("BETA, \"Pune\""));
                click(w, "show_btn");
            }
            QApplication::processEvents();
            QTRY_COMPARE(t->verticalScrollBar()->isVisible(), scrolls);
            // The largest distance between a total's end and its column's.
            const auto offset = [&] {
                int worst = 0;
                int column = 6;
                for (const char *name : {"tot_base_lbl", "tot_cgst_lbl", "tot_sgst_lbl", "tot_igst_lbl",
                                         "tot_tax_lbl", "tot_net_lbl"}) {
                    auto *label = child<QLabel>(w, name);
                    const QPoint columnEnd(t->columnViewportPosition(column) + t->columnWidth(column), 0);
                    worst = qMax(worst, qAbs(t->viewport()->mapTo(w, columnEnd).x()
                                             - label->mapTo(w, QPoint(label->width(), 0)).x()));
                    ++column;
                }
                return worst;
            };
            QTRY_VERIFY2(offset() <= 2, qPrintable(QString("a total lies %1 pixels off its column").arg(offset())));
        }
    }

    // Amounts that lie a hair either side of half a paisa: each total is
    // the figure the list shows, and a sum of them adds those figures.
    void totalsAddTheShownFigures()
    {
        QList<InvoiceListRow> all;
        qint64 shownSum = 0;
        for (int i = -20000; i < 200000; i += 7) {
            InvoiceListRow row;
            row.subTotal = (2 * i + 1) / 200.0;
            const QString shown = amountText(row.subTotal);
            QCOMPARE(liveTotals({row}).base.text(), shown);
            shownSum += QString(shown).remove('.').toLongLong();
            all.append(row);
        }
        InvoiceListRow large;
        large.grandTotal = 98765432109.125;
        QCOMPARE(liveTotals({large}).net.text(), QString("98765432109.13"));
        QCOMPARE(liveTotals(all).base.toMoney(), Money::fromPaise(shownSum));
    }

    void cancelsEachUnderItsOwnYear()
    {
        addPayment(1, "25-26", "2026-03-20", 100); // listed paid, cancelled all the same
        invoiceGSTmainList *w = openList();
        // Nothing ticked: refused before any question.
        click(w, "print_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Select at least one invoice to print!"));
        click(w, "delete_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Error|Please select at least one invoice using checkbox!"));

        tick(w, {1, 2});
        env->desktop.clear();
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(w, "cancel_inv_btn");
        QCOMPARE(env->desktop.messages.first().text,
                 QString("Cancel invoice(s): 1, 1?\n\n\u2022 Stay in list marked CANCELLED\n\u2022 Numbers NOT reused\n"
                         "\u2022 DC quantities return for re-invoicing"));
        QCOMPARE(env->desktop.lastShown(), QString("Cancelled|2 invoice(s) cancelled!"));
        QCOMPARE(invoiceRows(), (QStringList{"4|24-25|0|1", "1|25-26|1|0", "1|26-27|1|0", "2|26-27|1|0"}));
        QCOMPARE(totals(w), (QStringList{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"}));
    }

    void batchesAreAllOrNothing()
    {
        // The second invoice's statement fails: the first is kept as it was.
        exec("CREATE TRIGGER refuse BEFORE UPDATE ON invoices WHEN OLD.fy_name = '25-26' "
             "BEGIN SELECT RAISE(ABORT, 'invoice is locked'); END");
        exec("CREATE TRIGGER refuse_delete BEFORE DELETE ON invoices WHEN OLD.fy_name = '25-26' "
             "BEGIN SELECT RAISE(ABORT, 'invoice is locked'); END");
        invoiceGSTmainList *w = openList();
        const QStringList before = invoiceRows();
        for (const char *button : {"cancel_inv_btn", "delete_btn"}) {
            tick(w, {1, 2});
            env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
            click(w, button);
            QCOMPARE(env->desktop.lastMessage().title, QString("Error"));
            QVERIFY2(env->desktop.lastMessage().text.contains("invoice is locked"),
                     qPrintable(env->desktop.lastMessage().text));
            QCOMPARE(invoiceRows(), before);
        }
    }

    void deleteIsRefusedWithPayments()
    {
        addPayment(1, "25-26", "2026-03-20", 100);
        invoiceGSTmainList *w = openList();
        tick(w, {1, 2});
        click(w, "delete_btn");
        QCOMPARE(env->desktop.messages.size(), 1); // no question asked
        QCOMPARE(env->desktop.lastShown(),
                 QString("Cannot Delete|Payments are recorded against invoice(s) 1/25-26.\n"
                         "Delete those payments first (Payment History); nothing was deleted."));
        QCOMPARE(invoiceRows().size(), 4);

        // Without payments (listed so) both go, lines and all; the numbers are free again.
        exec("DELETE FROM invoice_payments");
        click(w, "show_btn");
        tick(w, {1, 2});
        env->desktop.clear();
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(w, "delete_btn");
        QCOMPARE(env->desktop.messages.first().text,
                 QString("Permanently delete invoice(s): 1, 1?\n\n\u2022 Numbers become reusable\n"
                         "\u2022 DC quantities return for re-invoicing"));
        QCOMPARE(env->desktop.lastShown(), QString("Deleted|2 invoice(s) deleted!"));
        QCOMPARE(invoiceRows(), (QStringList{"4|24-25|0|1", "2|26-27|1|0"}));
        QCOMPARE(count("SELECT COUNT(*) FROM invoice_items"), 1);
        QCOMPARE(list(w)->rowCount(), 1);
    }

    // Rows 1/26-27 and 1/25-26 ticked; meanwhile another copy of the program
    // pays, cancels, deletes or rewrites 1/25-26 (as Update does: a new row),
    // or changes a column the list does not show. Nothing of the batch is
    // written, the warning names it.
    void ticksChangedMeanwhileChangeNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("stored");
        const QStringList unchanged{"4|24-25|0|1", "1|25-26|0|1", "1|26-27|0|1", "2|26-27|1|0"};
        QTest::newRow("delete of one cancelled")
            << "deleted"
            << "DELETE FROM invoice_items WHERE invoice_id = 3; UPDATE invoices SET is_deleted = 1 WHERE invoice_id = 3"
            << QStringList{"4|24-25|0|1", "1|25-26|1|0", "1|26-27|0|1", "2|26-27|1|0"};
        QTest::newRow("cancel of one paid")
            << "cancelled" << "INSERT INTO invoice_payments (invoice_no, fy_name, paid_amount) VALUES (1, '25-26', 236)"
            << unchanged;
        QTest::newRow("cancel of one deleted") << "cancelled" << "DELETE FROM invoices WHERE invoice_id = 3"
                                               << QStringList{"4|24-25|0|1", "1|26-27|0|1", "2|26-27|1|0"};
        QTest::newRow("delete of one rewritten")
            << "deleted"
            << "UPDATE invoice_items SET invoice_id = 9 WHERE invoice_id = 3; UPDATE invoices SET invoice_id = 9 "
               "WHERE invoice_id = 3"
            << unchanged;
        QTest::newRow("cancel of one with new remarks")
            << "cancelled" << "UPDATE invoices SET remarks = 'resent' WHERE invoice_id = 3" << unchanged;
    }
    void ticksChangedMeanwhileChangeNothing()
    {
        QFETCH(QString, action);
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, stored);
        invoiceGSTmainList *w = openList();
        tick(w, {1, 2});
        writeAsOtherCopy(meanwhile);
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(w, action == "deleted" ? "delete_btn" : "cancel_inv_btn");
        QCOMPARE(env->desktop.lastShown(), "Error|Invoice No 1/25-26 was paid, changed, cancelled or deleted meanwhile, "
                                           "perhaps in another window. Nothing was "
                                               + action + "; the list has been reloaded.");
        QCOMPARE(invoiceRows(), stored);
    }

    // Listed with its payments: refused once one of them is deleted
    // meanwhile; listed again, unchanged, cancelled with them.
    void invoiceListedWithPaymentsIsCancelledAsListed()
    {
        addPayment(1, "25-26", "2026-03-20", 100, 20);
        addPayment(1, "25-26", "2026-03-25", 50);
        addPayment(1, "26-27", "2026-07-02", 5); // another invoice's
        invoiceGSTmainList *w = openList();
        tick(w, {2});
        writeAsOtherCopy("DELETE FROM invoice_payments WHERE pay_id = 2");
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(w, "cancel_inv_btn");
        QVERIFY(env->desktop.lastShown().startsWith("Error|Invoice No 1/25-26 was paid, changed, cancelled or deleted"));
        tick(w, {2});
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(w, "cancel_inv_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Cancelled|1 invoice(s) cancelled!"));
        QCOMPARE(invoiceRows(), (QStringList{"4|24-25|0|1", "1|25-26|1|0", "1|26-27|0|1", "2|26-27|1|0"}));
    }

    // However another program stored the number and year of a payment, the
    // list keeps each invoice with the payments the write step reads again
    // for it: no listed invoice is refused for that.
    void listedPaymentsAreThoseReadAgain()
    {
        addStoredInvoice({1, "25-26", "2026-03-11", beta, 10, 0, 0, 0, 10}); // a second 1/25-26
        addPayment(1, "25-26", "2026-03-20", 100);
        exec("INSERT INTO invoice_payments (invoice_no, fy_name, paid_amount) VALUES (1.0, '26-27', 1), "
             "('1', '26-27', 2), ('x1', '26-27', 3), (1, '26-27 ', 4), (NULL, '26-27', 5), (4.5, '24-25', 6)");
        invoiceGSTmainList *w = openList();
        tick(w, {1, 2, 3}); // 2/26-27 is cancelled, 4/24-25 outside the period
        env->desktop.messageAnswers.enqueue(QMessageBox::Yes);
        click(w, "cancel_inv_btn");
        QCOMPARE(env->desktop.lastShown(), QString("Cancelled|3 invoice(s) cancelled!"));
    }

    void printsTheTickedCopies()
    {
        StandInTool tool(env->folder());
        invoiceGSTmainList *w = openList();
        child<QRadioButton>(w, "radio_dup_btn")->setChecked(true);
        tick(w, {1, 2});
        click(w, "print_btn");
        QCOMPARE(env->desktop.previews.size(), 2);
        const QStringList pages = tool.htmlGiven();
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains("1/26-27") && pages[0].contains("Duplicate for transporter (Page 1 of 1)"));
        QVERIFY(pages[1].contains("1/25-26") && pages[1].contains("IGST @ 18.00 %"));
    }

    void exportsTheGstStatement()
    {
        invoiceGSTmainList *w = openList();
        const QString path = env->folder() + "/statement.csv";
        env->desktop.saveFileAnswers.enqueue(path);
        click(w, "print_statement");
        QCOMPARE(env->desktop.fileDialogDirs, QStringList{"GST_Statement_26-27.csv"});
        QCOMPARE(env->desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});

        QStringList lines = QString::fromUtf8(fileBytes(path)).split('\n');
        QCOMPARE(lines.takeLast(), QString()); // the file ends with a line break
        const QString printed = lines.takeLast();
        QVERIFY2(QRegularExpression("^Printed on:,\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d [AP]M$").match(printed).hasMatch(),
                 qPrintable(printed));
        QCOMPARE(lines, (QStringList{
                            "MORVEL COATS",
                            "\"Plot 12, MIDC, Pune 411026\"",
                            "GSTIN: 27AAAAA0000A1Z5",
                            "GST INVOICE STATEMENT",
                            "Period: 01-04-2025 to 31-03-2027",
                            "Financial Year: 26-27",
                            "",
                            "S.No,Invoice No,Invoice Date,Customer Name,GST No,Base Amount,CGST,SGST,IGST,Tax Value,"
                            "Net Amount",
                            "1,2/26-27 (CANCELLED),05-07-2026,\"BETA, \"\"Pune\"\"\",27BBB,1000.00,90.00,90.00,0.00,"
                            "180.00,1180.00",
                            "2,1/26-27,01-07-2026,ALPHA,,1500.00,102.50,102.50,0.00,205.00,1705.00",
                            "3,1/25-26,10-03-2026,\"BETA, \"\"Pune\"\"\",27BBB,200.00,0.00,0.00,36.00,36.00,236.00",
                            "TOTAL,,,,,1700.00,102.50,102.50,36.00,241.00,1941.00",
                            "",
                            "Total Invoices,2",
                            "Total Net Amount,1941.00",
                            "",
                        }));

        // An empty list: refused before any file is asked for.
        env->desktop.clear();
        child<QDateEdit>(w, "fromdateEdit")->setDate(QDate(2030, 4, 1));
        click(w, "show_btn");
        click(w, "print_statement");
        QCOMPARE(env->desktop.lastShown(), QString("Error|No invoices to export!"));
        QCOMPARE(env->desktop.fileDialogCaptions, QStringList());
    }
};

QTEST_MAIN(TestInvoiceMainList)
#include "tst_invoicemainlist.moc"
