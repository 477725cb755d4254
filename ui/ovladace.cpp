#include "ovladace.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QIcon>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>

void WideEnoughForTitle(QDialog* dialog)
{
    const int title = dialog->fontMetrics().horizontalAdvance(dialog->windowTitle());
    const int bar = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog) * 4;
    dialog->setMinimumWidth(std::max(dialog->minimumWidth(), title * 5 / 4 + bar));
}

void ResizeWithinScreen(QDialog* dialog, QSize wanted)
{
    if (!wanted.isValid())
        wanted = dialog->sizeHint();
    QScreen* screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // The window manager's title bar and frame come on top of the dialog's own size.
        const int bar = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
        const QSize room = screen->availableGeometry().size() - QSize(24, bar + 40);
        wanted = wanted.boundedTo(room).expandedTo(dialog->minimumSizeHint().boundedTo(room));
    }
    dialog->resize(wanted);
}

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

QIcon PlayedIcon(QWidget* widget)
{
    return widget->style()->standardIcon(QStyle::SP_DialogApplyButton);
}

void AddChooserItem(QComboBox* chooser, const QString& text, const QVariant& data, bool played)
{
    if (played) {
        chooser->addItem(PlayedIcon(chooser), text, data);
        chooser->setItemData(chooser->count() - 1, kOdohraneKolo, Qt::ToolTipRole);
    } else {
        chooser->addItem(text, data);
    }
}
