#pragma once
// Printing the receipt of a supplier payment just recorded.

#include "purchase/supplierpaymentstore.h"

#include <QList>

class QWidget;

// Reads the paid bills `billIds` and the company record, composes the
// receipt (the other values as `receipt` gives them) and shows it in the
// print preview over `parent`; blocks until it is closed.
void printPaymentReceipt(QWidget *parent, PaymentReceipt receipt, const QList<int> &billIds);
