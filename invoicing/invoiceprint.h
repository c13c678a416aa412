#pragma once
// Printing one saved tax invoice.

#include <QString>

class QWidget;

// Prints invoice `invoiceNo` of year `fyName` with the copy label
// ("Original for recipient" or "Duplicate for transporter") through a
// maximised print preview over `parent`; blocks until it is closed.
void printInvoice(int invoiceNo, const QString &copyLabel, const QString &fyName, QWidget *parent);
