#pragma once

#include <QWidget>

class CLigaroDoc;
class CMyStatic;
class QTreeWidget;
class QTreeWidgetItem;
class QModelIndex;
class QPoint;

// The left pane: the competitions of the season with the eight lists under each, and the four lists
// of the referees' and delegates' committee. A double click or Enter on a list shows it; with edit
// access the context menu adds, renames (also F2) and removes competitions. A name the pane is too
// narrow for shows whole as a tool tip.
class CSutazeView : public QWidget
{
    Q_OBJECT
public:
    explicit CSutazeView(CLigaroDoc& doc, QWidget* parent = nullptr);

    void RebuildTree();
    void Clear();
    QTreeWidget* Tree() const { return m_tree; }
    QString Title() const;

    enum Rola { kData = Qt::UserRole, kDruh = Qt::UserRole + 1 };
    enum Druh { kKoren = 0, kSutazPolozka = 1, kList = 2 };

    // What the double click and the context menu do, callable on an item.
    void PickItem(QTreeWidgetItem* item);
    void AddCompetitionCommand();
    void RenameCommand(QTreeWidgetItem* item);
    void RemoveCommand(QTreeWidgetItem* item);
    // The whole text of the item at a point of the tree's viewport when the pane is too narrow for it;
    // empty when it shows whole.
    QString ToolTipAt(const QPoint& position) const;
    // The context menu's actions at an item (nullptr: on no item); empty without edit access.
    QList<QAction*> ContextActions(QTreeWidgetItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnItemChanged(QTreeWidgetItem* item, int column);
    bool FitsInTree(const QModelIndex& index) const;
    void ShowContextMenu(const QPoint& position);

    CLigaroDoc& m_doc;
    CMyStatic* m_title;
    QTreeWidget* m_tree;
    bool m_building = false;
};
