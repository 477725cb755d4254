#pragma once

#include <QDialogButtonBox>
#include <QSize>
#include <QString>
#include <QVector>

class QComboBox;
class QIcon;
class QWidget;
class QDialog;
class QPlainTextEdit;
class QVariant;

// Small pieces the dialogs and views share.

// A small dialog wide enough for its title in the window's title bar, with room for the bar's buttons.
void WideEnoughForTitle(QDialog* dialog);
// A dialog resized to `wanted` (its size hint when empty), but never beyond the screen it opens on: a
// 1366 × 768 screen shows it whole, its buttons included (its lists give up height first).
void ResizeWithinScreen(QDialog* dialog, QSize wanted = {});
// OK and Cancel ("Zrušiť" from the catalogue), wired to the dialog's accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
// Keeps a note at most `limit` characters long, as the store's note columns are.
void LimitPlainText(QPlainTextEdit* edit, int limit);
// The tick of a played round or a past day in a chooser, and what its tip says.
QIcon PlayedIcon(QWidget* widget);
inline const QString kOdohraneKolo = QStringLiteral("odohrané");
// Adds an item to a chooser of rounds or days: a played one with the tick and its tip.
void AddChooserItem(QComboBox* chooser, const QString& text, const QVariant& data, bool played);
