#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class CDatabaza;

// A cursor over the rows of one query, with the moves, reads and writes the views rely on. The rows
// are read when the cursor is opened. A query on one table without grouping or aggregates can be
// updated: Edit/AddNew, SetFieldValue and Update write the current (or new) row, Delete removes it.
// Every write is committed when it returns (unless a CTransakcia is open).
class CZaznamy
{
public:
    explicit CZaznamy(CDatabaza& db);

    void Open(const QString& sql, const QVariantList& params = {});
    void Close();
    bool IsOpen() const { return m_open; }

    bool IsEOF() const;
    bool IsBOF() const;
    void MoveFirst();
    void MoveNext();
    void MovePrev();
    void MoveLast();
    // Index of the current row from 0; -1 when there is none.
    int GetAbsolutePosition() const;
    int GetRecordCount() const { return static_cast<int>(m_rows.size()); }

    // The column of the current row: text, 32-bit integer, double or (date columns) QDateTime; a
    // null value for an empty column. Throws for an unknown column or when there is no current row.
    QVariant GetFieldValue(const QString& name) const;
    QString GetText(const QString& name) const;
    int GetInt(const QString& name) const;
    double GetDouble(const QString& name) const;
    float GetSingle(const QString& name) const;
    QDateTime GetDate(const QString& name) const;

    int GetFieldCount() const { return static_cast<int>(m_columns.size()); }
    QString GetFieldName(int index) const { return m_columns.value(index); }

    bool CanUpdate() const { return m_open && !m_table.isEmpty(); }
    void Edit();
    void AddNew();
    void SetFieldValue(const QString& name, const QVariant& value);
    void Update();
    void CancelUpdate();
    void Delete();
    // The ID the store gave the row written by the last AddNew/Update.
    qint64 LastInsertId() const { return m_lastInsertId; }

private:
    int ColumnIndex(QStringView name) const;
    void RequireCurrent() const;

    enum class Rezim { None, Edit, Add };
    CDatabaza& m_db;
    bool m_open = false;
    QString m_table;
    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
    QVector<qint64> m_rowIds;
    QVector<bool> m_deleted;
    int m_position = -1;
    Rezim m_mode = Rezim::None;
    QStringList m_pendingNames;
    QVariantList m_pendingValues;
    qint64 m_lastInsertId = 0;
};
