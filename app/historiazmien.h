#pragma once

#include "db/historia.h"

#include <QDialog>

class CLigaroDoc;
class CMyListCtrl;
class QCheckBox;
class QComboBox;
class QDateEdit;

// "Zobraziť → História zmien": who changed what on a shared season, when, and what it held before;
// of the whole season, of the match or the player she has chosen. Saved as a CSV table on request.
class CHistoriaZmien : public QDialog
{
    Q_OBJECT
public:
    // `match` and `player`: the ones chosen in the window (0: none), offered as what to list.
    CHistoriaZmien(CLigaroDoc& doc, int match, int player, QWidget* parent = nullptr);

    CMyListCtrl* List() const { return m_list; }
    QComboBox* Scope() const { return m_scope; }
    // The rows listed now.
    const QVector<CRiadokHistorie>& Rows() const { return m_rows; }
    void Load();

private:
    void SaveCsv();

    CLigaroDoc& m_doc;
    QComboBox* m_scope;
    QCheckBox* m_fromDay;
    QDateEdit* m_since;
    CMyListCtrl* m_list;
    QVector<CRiadokHistorie> m_rows;
};
