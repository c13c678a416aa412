#pragma once
// Conventions the module forms share: the blue header band, the customer
// combos and the right-click menu that loads a saved document back into its
// form. The style sheet and the list colours are in formstyle.h.

#include <QString>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPoint;
class QTableWidget;
class QWidget;

// Gives a form's header band its look: the band in rgb(3, 105, 161), the
// title in white "Times New Roman" 22 pt bold, centred, and the images
// app_icon (left) and developer_logo (right) at 100 x 100, scaled to their labels.
void setupFormHeader(QGroupBox *band, QLabel *title, QLabel *leftImage, QLabel *rightImage);

// Refills a customer combo with signals blocked: first `firstEntry` with the
// data -1, then every customer by name with its customer_id as data. With
// `restorePrevious` the customer chosen before stays chosen when it is still
// listed; otherwise the first entry is chosen. A failing query leaves only the
// first entry.
void loadCustomerCombo(QComboBox *combo, const QString &firstEntry, bool restorePrevious = false);

// The customer id of the combo's chosen entry; below 1 means no customer.
int chosenCustomerId(const QComboBox *combo);

// Shows a one-entry menu at `globalPos` and tells whether the entry was chosen.
// The entry shows `entryText` exactly as given ("&" included).
using LoadBackChooser = bool (*)(QWidget *parent, const QPoint &globalPos, const QString &entryText);

// The chooser loadBackContextMenu uses; tests put their own in its place.
extern LoadBackChooser g_loadBackChooser;

// The right-click menu of a document list. `pos` is the request's position in
// the list's viewport. Takes the row under it (none: nothing happens), reads
// the document number from the hidden column 0 (0 when it is not a number) and
// the financial year after the first "/" of the full number in column 1, runs
// `preCheck` on the row when given (false: no menu), and offers `entryText`;
// when that is chosen, `load` gets the number and the year.
void loadBackContextMenu(QTableWidget *list, const QPoint &pos, const QString &entryText,
                         const std::function<bool(int row)> &preCheck,
                         const std::function<void(int number, const QString &fy)> &load);

// Lists reload on every show. A form that loaded them while it was built skips
// that reload on its first show: true on every show but the first.
inline bool reloadOnShow(bool *shownBefore)
{
    const bool again = *shownBefore;
    *shownBefore = true;
    return again;
}
