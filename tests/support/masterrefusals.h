#pragma once
// What a master form (customers, items) says when its Update or Delete finds
// the row named `row` changed in another copy, or there deleted (`gone`).

#include <QString>

struct MasterRefusals
{
    QString update, remove;
};

inline MasterRefusals masterRefusals(const QString &row, const QString &thing, bool gone)
{
    const QString saved = " Nothing was saved.", typed = " What you typed stays in the fields: press ";
    if (gone) {
        const QString refusal =
            "Error|" + row + " no longer exists; it may have been deleted in another window." + saved;
        return {refusal + typed + "Add to save it as a new " + thing + ".", refusal};
    }
    const QString refusal = "Error|" + row + " was changed or deleted meanwhile, perhaps in another window." + saved;
    const QString reset = "Reset to list the " + thing + " as it is now, then select it and press ";
    return {refusal + typed + reset + "Edit to load it in place of what you typed.",
            refusal + " Press " + reset + "Delete again."};
}
