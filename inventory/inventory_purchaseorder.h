#pragma once
// The material request form: a supplier's stock items with their balances,
// from which the ticked lines with their order quantities are saved as one
// numbered request and sent to the supplier by WhatsApp or printed as a
// purchase order.

#include <QList>
#include <QWidget>

class QPrinter;
struct RequestLineInput;
class TickColumn;

QT_BEGIN_NAMESPACE
namespace Ui {
class inventory_purchaseorder;
}
QT_END_NAMESPACE

class inventory_purchaseorder : public QWidget
{
    Q_OBJECT

public:
    explicit inventory_purchaseorder(QWidget *parent = nullptr);
    ~inventory_purchaseorder() override;

    void createTable();
    void loadSupplierCombo();
    void loadSupplierItems(const QString &supplier);
    // The number the next request gets; "" (with the driver's text in
    // `error`) when the lines cannot be counted. A save takes it inside its
    // write transaction.
    QString generatePONumber(QString *error = nullptr);
    // A logo of the purchase order ("left" or "right") fitted into a box
    // `width` wide and 120 high, as a data URI; "" when there is none.
    QString logoDataUri(const QString &side, int width);
    // Saves the ticked lines as one request: the number of lines saved, or -1
    // when a check refused them or the save failed (a message says which).
    int saveMaterialRequest();

private slots:
    void on_supplier_combo_currentTextChanged(const QString &supplier);
    void on_search_itemEdit_textChanged(const QString &text);
    void on_reset_btn_clicked();
    void on_close_btn_clicked();
    void on_whatsapp_btn_clicked();
    void on_print_btn_clicked();

private:
    void setupTable();
    // The ticked rows' lines, top down.
    QList<RequestLineInput> tickedLines() const;
    // The supplier phone of a row: what its box's "supplier_phone" property
    // holds, kept for the row in its tick item.
    QString rowPhone(int row) const;
    QString keptPhone(int row) const;
    // The print preview's paint handler: lays the purchase order out on the
    // printer's pages.
    void printDocument(QPrinter *printer);

    Ui::inventory_purchaseorder *ui;
    TickColumn *ticks;
    QString printedHtml; // the purchase order the preview prints
};
