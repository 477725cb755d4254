#pragma once

#include <QWidget>

class CLigaroDoc;
class CMyStatic;
class QTreeWidget;
class QTreeWidgetItem;

// The left pane: the competitions of the season with the eight lists under each, and the four lists
// of the referees' and delegates' committee. A double click on a list shows it; with edit access the
// context menu adds, renames and removes competitions.
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
    // The context menu's actions at an item (nullptr: on no item); empty without edit access.
    QList<QAction*> ContextActions(QTreeWidgetItem* item);

private:
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void ShowContextMenu(const QPoint& position);

    CLigaroDoc& m_doc;
    CMyStatic* m_title;
    QTreeWidget* m_tree;
    bool m_building = false;
};
