#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <QVector>

class QComboBox;
class QDialog;
class QPlainTextEdit;
struct CPolozkaKola;

// Small pieces the dialogs and views share.

// OK and Cancel ("Zrušiť" from the catalogue), wired to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
// Keeps a note at most `limit` characters long, as the store's note columns are.
void LimitPlainText(QPlainTextEdit* edit, int limit);
// Fills a round selector and selects `round`; when that round is gone, the first item is selected
// and `round` becomes its round. Returns whether `round` changed.
bool FillRoundSelector(QComboBox* selector, const QVector<CPolozkaKola>& items, int& round);
