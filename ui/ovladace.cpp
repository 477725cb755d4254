#include "ovladace.h"

#include "competition/rozpis.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QTextCursor>

QDialogButtonBox* OkCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void LimitPlainText(QPlainTextEdit* edit, int limit)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit] {
        const QString text = edit->toPlainText();
        if (text.size() <= limit)
            return;
        QTextCursor cursor = edit->textCursor();
        const int position = std::min(cursor.position(), limit);
        edit->setPlainText(text.left(limit));
        cursor.setPosition(position);
        edit->setTextCursor(cursor);
    });
}

bool FillRoundSelector(QComboBox* selector, const QVector<CPolozkaKola>& items, int& round)
{
    selector->clear();
    for (const CPolozkaKola& item : items)
        selector->addItem(item.text, item.round);
    const int index = selector->findData(round);
    if (index >= 0) {
        selector->setCurrentIndex(index);
        return false;
    }
    if (selector->count() == 0)
        return false;
    selector->setCurrentIndex(0);
    round = selector->itemData(0).toInt();
    return true;
}
