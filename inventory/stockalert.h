#pragma once
// The stock alert: every low item and every open request line, category by
// category, as one WhatsApp message to the company's own phone.

#include "core/companyinfo.h"

#include <QDate>
#include <QString>

class QWidget;

// The message for the company on `today`; "" when nothing is low and no
// request line is open.
QString stockAlertMessage(const CompanyInfo &company, const QDate &today);

// Opens the message as a WhatsApp web-send link to the company's phone, or,
// when all is clear, says so in a "Stock Alert" box.
void sendStockAlert(QWidget *parent);
