#include "CSutazeView.h"

#include "competition/sutaze.h"
#include "db/CLigaroDoc.h"
#include "ui/CMyStatic.h"

#include <QAction>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kPredvolenyNadpis = QStringLiteral("Súťaže:");
}

CSutazeView::CSutazeView(CLigaroDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_title(new CMyStatic(kPredvolenyNadpis, this)),
      m_tree(new QTreeWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    m_title->setContentsMargins(4, 0, 4, 0);
    // A long association name wraps rather than widening the pane.
    m_title->setWordWrap(true);
    layout->addWidget(m_title);
    layout->addWidget(m_tree, 1);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setExpandsOnDoubleClick(true);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { PickItem(item); });
    connect(m_tree, &QTreeWidget::itemChanged, this, &CSutazeView::OnItemChanged);
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, &CSutazeView::ShowContextMenu);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
}

QString CSutazeView::ToolTipAt(const QPoint& position) const
{
    const QModelIndex index = m_tree->indexAt(position);
    return index.isValid() && !FitsInTree(index) ? index.data().toString() : QString();
}

bool CSutazeView::FitsInTree(const QModelIndex& index) const
{
    const QRect shown = m_tree->visualRect(index).intersected(m_tree->viewport()->rect());
    // The item view keeps a margin of the focus frame and one pixel on each side of the text.
    const int margin = (m_tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_tree) + 1) * 2;
    return m_tree->fontMetrics().horizontalAdvance(index.data().toString()) <= shown.width() - margin;
}

bool CSutazeView::eventFilter(QObject* watched, QEvent* event)
{
    // While a name is being edited, its keys go to the editor, not here.
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QTreeWidgetItem* item = m_tree->currentItem();
        if (item && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (item->childCount() > 0)
                item->setExpanded(!item->isExpanded());
            else
                PickItem(item);
            return true;
        }
        if (item && key->key() == Qt::Key_F2 && m_doc.HasEditAccess()) {
            RenameCommand(item);
            return true;
        }
    }
    if (watched == m_tree->viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (!text.isEmpty())
            QToolTip::showText(help->globalPos(), text, m_tree->viewport(),
                               m_tree->visualRect(m_tree->indexAt(help->pos())));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString CSutazeView::Title() const
{
    return m_title->text();
}

void CSutazeView::Clear()
{
    m_building = true;
    m_tree->clear();
    m_building = false;
}

void CSutazeView::RebuildTree()
{
    m_building = true;
    m_tree->clear();
    m_building = false;
    if (!m_doc.IsDatabaseOpen())
        return;
    m_doc.Run([this] {
        m_building = true;
        CDatabaza& db = m_doc.Database();
        const QString title = TreeTitle(db);
        if (!title.isEmpty())
            m_title->setText(title);
        const auto item = [](QTreeWidgetItem* parent, const QString& text, int data, Druh druh) {
            auto* it = new QTreeWidgetItem(parent, {text});
            it->setData(0, kData, data);
            it->setData(0, kDruh, druh);
            return it;
        };
        auto* competitions = new QTreeWidgetItem(m_tree, {kKorenSutazi});
        competitions->setData(0, kData, 0);
        competitions->setData(0, kDruh, kKoren);
        QTreeWidgetItem* selected = nullptr;
        for (const CSutaz& s : ReadCompetitions(db)) {
            QTreeWidgetItem* c = item(competitions, s.nazov, s.id, kSutazPolozka);
            c->setFlags(c->flags() | Qt::ItemIsEditable);
            for (const int v : CompetitionViews()) {
                QTreeWidgetItem* leaf = item(c, ViewTitles().at(v), v, kList);
                // After a player search the tree points at the players of the found player's competition.
                if (v == 1 && m_doc.SearchPending() == 1 && s.id == m_doc.CurrentCompetition()) {
                    selected = leaf;
                    m_doc.SetSearchPending(100);
                } else if (!selected && s.id == m_doc.CurrentCompetition() && v == m_doc.CurrentViewIndex()) {
                    // The list shown is the tree's current item.
                    selected = leaf;
                }
            }
            c->setExpanded(s.id == m_doc.CurrentCompetition());
        }
        auto* committee = new QTreeWidgetItem(m_tree, {kKorenKomisie});
        committee->setData(0, kData, 0);
        committee->setData(0, kDruh, kKoren);
        for (const int v : CommitteeViews()) {
            QTreeWidgetItem* leaf = item(committee, ViewTitles().at(v), v, kList);
            if (!selected && v == m_doc.CurrentViewIndex())
                selected = leaf;
        }
        competitions->setExpanded(true);
        committee->setExpanded(true);
        if (selected)
            m_tree->setCurrentItem(selected);
        m_building = false;
    });
    m_building = false;
}

void CSutazeView::PickItem(QTreeWidgetItem* item)
{
    if (!item || item->childCount() > 0 || item->data(0, kDruh).toInt() != kList)
        return;
    const int competition = item->parent() ? item->parent()->data(0, kData).toInt() : 0;
    const int view = item->data(0, kData).toInt();
    m_doc.Run([&] { PickList(m_doc, competition, view); });
}

void CSutazeView::AddCompetitionCommand()
{
    if (m_doc.Run([this] { AddCompetition(m_doc.Database()); }))
        RebuildTree();
}

void CSutazeView::RenameCommand(QTreeWidgetItem* item)
{
    if (item && item->data(0, kDruh).toInt() == kSutazPolozka) {
        item->setData(0, Qt::UserRole + 2, item->text(0));
        m_tree->editItem(item, 0);
    }
}

void CSutazeView::OnItemChanged(QTreeWidgetItem* item, int)
{
    if (m_building || !item || item->data(0, kDruh).toInt() != kSutazPolozka)
        return;
    const int id = item->data(0, kData).toInt();
    const QString name = item->text(0);
    bool written = false;
    m_doc.Run([&] { written = RenameCompetition(m_doc.Database(), id, name); });
    if (!written) {
        // Nothing was written: the item shows the name the competition still has.
        m_building = true;
        m_doc.Run([&] { item->setText(0, CompetitionName(m_doc.Database(), id)); });
        m_building = false;
    }
}

void CSutazeView::RemoveCommand(QTreeWidgetItem* item)
{
    if (!item || item->data(0, kDruh).toInt() != kSutazPolozka)
        return;
    const int id = item->data(0, kData).toInt();
    bool removed = false;
    m_doc.Run([&] { removed = RemoveCompetition(m_doc, id); });
    if (removed)
        RebuildTree();
}

QList<QAction*> CSutazeView::ContextActions(QTreeWidgetItem* item)
{
    if (!m_doc.HasEditAccess() || !m_doc.IsDatabaseOpen())
        return {};
    const bool competition = item && item->data(0, kDruh).toInt() == kSutazPolozka;
    auto* add = new QAction(QStringLiteral("Pridať súťaž"), this);
    auto* rename = new QAction(QStringLiteral("Upraviť názov"), this);
    auto* remove = new QAction(QStringLiteral("Odstrániť"), this);
    rename->setEnabled(competition);
    remove->setEnabled(competition);
    connect(add, &QAction::triggered, this, &CSutazeView::AddCompetitionCommand);
    connect(rename, &QAction::triggered, this, [this, item] { RenameCommand(item); });
    connect(remove, &QAction::triggered, this, [this, item] { RemoveCommand(item); });
    return {add, rename, remove};
}

void CSutazeView::ShowContextMenu(const QPoint& position)
{
    QTreeWidgetItem* item = m_tree->itemAt(position);
    const QList<QAction*> actions = ContextActions(item);
    if (actions.isEmpty())
        return;
    if (item)
        m_tree->setCurrentItem(item);
    QMenu menu(QStringLiteral("Úpravy"), this);
    menu.addActions(actions);
    menu.exec(m_tree->viewport()->mapToGlobal(position));
    qDeleteAll(actions);
}
