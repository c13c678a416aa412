#include "statuscolors.h"

#include "widgets/formstyle.h"

QColor statusColor(PendingStatus status)
{
    switch (status) {
    case PendingStatus::Pending:
        return StatusColor::Pending;
    case PendingStatus::Partial:
        return StatusColor::Partial;
    case PendingStatus::Issued:
        break;
    }
    return StatusColor::Done;
}

QColor balanceColor(double balance)
{
    return balanceIsOpen(balance) ? StatusColor::Partial : StatusColor::Done;
}
