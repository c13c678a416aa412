#pragma once
// The colours the job-work and invoicing lists give a row's status: what is
// still to be sent back on an inward entry, and a despatch line's balance.

#include "pendingstore.h"

#include <QColor>

QColor statusColor(PendingStatus status);
// Partial for a balance still open (balanceIsOpen), else Done.
QColor balanceColor(double balance);
