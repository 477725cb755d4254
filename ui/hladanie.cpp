#include "hladanie.h"

#include "db/slovencina.h"
#include "ui/CMyListCtrl.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

CZoznamNaHladanie ZoznamNaHladanie(CMyListCtrl* list, int column)
{
    CZoznamNaHladanie z;
    z.widget = list;
    z.rows = [list] { return list->rowCount(); };
    z.text = [list, column](int row) { return list->CellText(row, column); };
    z.hide = [list](int row, bool hidden) { list->setRowHidden(row, hidden); };
    z.hidden = [list](int row) { return list->isRowHidden(row); };
    z.select = [list](int row) {
        if (row < 0)
            list->clearSelection();
        else
            list->SelectRow(row);
    };
    z.selected = [list] { return list->SelectedRow(); };
    return z;
}

CZoznamNaHladanie ZoznamNaHladanie(QListWidget* list)
{
    CZoznamNaHladanie z;
    z.widget = list;
    z.rows = [list] { return list->count(); };
    z.text = [list](int row) { return list->item(row)->text(); };
    z.hide = [list](int row, bool hidden) { list->item(row)->setHidden(hidden); };
    z.hidden = [list](int row) { return list->item(row)->isHidden(); };
    z.select = [list](int row) {
        if (row < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(row);
        }
    };
    z.selected = [list] {
        const QList<QListWidgetItem*> chosen = list->selectedItems();
        return chosen.isEmpty() ? -1 : list->row(chosen.first());
    };
    return z;
}

CHladanieMena::CHladanieMena(QLineEdit* search, CZoznamNaHladanie list, QLabel* none, QObject* parent)
    : QObject(parent), m_search(search), m_list(std::move(list)), m_none(none)
{
    m_none->setText(kNiktoNezodpoveda);
    m_none->hide();
    connect(m_search, &QLineEdit::textChanged, this, &CHladanieMena::Narrow);
    m_search->installEventFilter(this);
    m_list.widget->installEventFilter(this);
    m_search->setFocus();
}

void CHladanieMena::Narrow()
{
    const QString text = m_search->text().trimmed();
    int first = -1;
    for (int r = 0; r < m_list.rows(); ++r) {
        const bool shown = text.isEmpty() || MatchesWordStart(m_list.text(r), text);
        m_list.hide(r, !shown);
        if (shown && first < 0)
            first = r;
    }
    m_none->setVisible(first < 0);
    // With nothing typed the list stays as it was chosen (the official nominated now, say); a search
    // chooses its first match, and a search that matches nobody chooses nobody.
    if (!text.isEmpty() || first < 0)
        m_list.select(text.isEmpty() ? -1 : first);
}

bool CHladanieMena::HasChoice() const
{
    const int row = m_list.selected();
    return row >= 0 && !m_list.hidden(row);
}

void CHladanieMena::Move(int step)
{
    for (int r = m_list.selected() + step; r >= 0 && r < m_list.rows(); r += step)
        if (!m_list.hidden(r)) {
            m_list.select(r);
            return;
        }
}

bool CHladanieMena::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_list.widget) {
        // Letters typed into the list search by any word, as the field does, never by the first letter.
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_search->setFocus();
            m_search->insert(text);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (HasChoice())
                emit Taken();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (HasChoice())
            emit Taken();
        return true;
    case Qt::Key_Down:
        Move(1);
        return true;
    case Qt::Key_Up:
        Move(-1);
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
