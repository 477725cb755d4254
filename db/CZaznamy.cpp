#include "CZaznamy.h"

#include "CChybaDatabazy.h"
#include "CDatabaza.h"
#include "kody.h"
#include "schema.h"

#include <QRegularExpression>

namespace {

const QString kRowIdName = QStringLiteral("__mirak_rowid");

// "select LIST from TABLE [where ...] [order by ...]" on one table, without grouping, aggregates or
// DISTINCT: such a cursor can write its rows back. Returns the table, or an empty text.
QString UpdatableTable(const QString& sql, QString& selectList, QString& rest)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*select\\s+(.+?)\\s+from\\s+([A-Za-z_]\\w*)(\\s+(?:where|order)\\b.*)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression grouping(
        QStringLiteral(
            "\\b(group\\s+by|distinct|count\\s*\\(|sum\\s*\\(|avg\\s*\\(|min\\s*\\(|max\\s*\\(|union|join)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch() || grouping.match(sql).hasMatch())
        return {};
    selectList = m.captured(1);
    rest = m.captured(3);
    return m.captured(2);
}

QString Quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

CZaznamy::CZaznamy(CDatabaza& db) : m_db(db) {}

void CZaznamy::Open(const QString& sql, const QVariantList& params)
{
    Close();
    const CDatabaza::CFormaKurzora& form = m_db.CursorForm(sql, [&sql] {
        QString selectList, rest;
        const QString table = UpdatableTable(sql, selectList, rest);
        const QString text =
            table.isEmpty()
                ? sql
                : QStringLiteral("select rowid AS %1, %2 from %3%4").arg(kRowIdName, selectList, table, rest);
        return CDatabaza::CFormaKurzora{table, text};
    });
    const QString table = form.table;
    CPrikaz q(m_db, form.text, params);
    const int offset = table.isEmpty() ? 0 : 1;
    for (int i = offset; i < q.ColumnCount(); ++i)
        m_columns << q.ColumnName(i);
    while (q.Step()) {
        QVector<QVariant> row;
        row.reserve(m_columns.size());
        for (int i = offset; i < q.ColumnCount(); ++i)
            row.append(q.Value(i));
        m_rows.append(row);
        m_rowIds.append(offset ? q.Value(0).toLongLong() : 0);
        m_deleted.append(false);
    }
    m_table = table;
    m_open = true;
    m_position = m_rows.isEmpty() ? -1 : 0;
}

void CZaznamy::Close()
{
    m_open = false;
    m_table.clear();
    m_columns.clear();
    m_rows.clear();
    m_rowIds.clear();
    m_deleted.clear();
    m_position = -1;
    m_mode = Rezim::None;
    m_pendingNames.clear();
    m_pendingValues.clear();
}

bool CZaznamy::IsEOF() const
{
    return m_rows.isEmpty() || m_position >= m_rows.size();
}

bool CZaznamy::IsBOF() const
{
    return m_rows.isEmpty() || m_position < 0;
}

void CZaznamy::MoveFirst()
{
    m_position = m_rows.isEmpty() ? -1 : 0;
}

void CZaznamy::MoveNext()
{
    if (m_position < m_rows.size())
        ++m_position;
}

void CZaznamy::MovePrev()
{
    if (m_position >= 0)
        --m_position;
}

void CZaznamy::MoveLast()
{
    // A table without rows has no last row: the cursor simply stays empty.
    m_position = m_rows.isEmpty() ? -1 : static_cast<int>(m_rows.size()) - 1;
}

int CZaznamy::GetAbsolutePosition() const
{
    return (m_position >= 0 && m_position < m_rows.size()) ? m_position : -1;
}

int CZaznamy::ColumnIndex(QStringView name) const
{
    // The first of equal names wins, as a walk from the left finds it; names compare without case,
    // as the engine compares them. A query has few columns: a walk is quicker than any hashing.
    for (int i = 0; i < m_columns.size(); ++i)
        if (name.compare(m_columns.at(i), Qt::CaseInsensitive) == 0)
            return i;
    // "tabulka.stlpec" written in the query is reported by the engine as just "stlpec".
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        return ColumnIndex(name.mid(dot + 1));
    return -1;
}

void CZaznamy::RequireCurrent() const
{
    if (GetAbsolutePosition() < 0)
        throw CChybaDatabazy(QStringLiteral("Nie je vybraný žiadny záznam."));
    if (m_deleted.at(m_position))
        throw CChybaDatabazy(QStringLiteral("Záznam bol vymazaný."));
}

QVariant CZaznamy::GetFieldValue(const QString& name) const
{
    RequireCurrent();
    const int i = ColumnIndex(name);
    if (i < 0)
        throw CChybaDatabazy(QStringLiteral("Dotaz nevracia stĺpec %1.").arg(name));
    const QVariant& v = m_rows.at(m_position).at(i);
    if (!v.isNull() && IsDateColumn(m_columns.at(i)))
        return DatumZUlozenia(v.toString());
    return v;
}

QString CZaznamy::GetText(const QString& name) const
{
    const QVariant v = GetFieldValue(name);
    return v.isNull() ? QString() : LimitedText(v.toString(), name);
}

int CZaznamy::GetInt(const QString& name) const
{
    const QVariant v = GetFieldValue(name);
    if (v.typeId() == QMetaType::Double)
        return static_cast<int>(v.toDouble());
    return v.toInt();
}

double CZaznamy::GetDouble(const QString& name) const
{
    return GetFieldValue(name).toDouble();
}

float CZaznamy::GetSingle(const QString& name) const
{
    return static_cast<float>(GetFieldValue(name).toDouble());
}

QDateTime CZaznamy::GetDate(const QString& name) const
{
    const QVariant v = GetFieldValue(name);
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    const QDateTime d = DatumZUlozenia(v.toString());
    return d.isValid() ? d : ZiadnyDatum();
}

void CZaznamy::Edit()
{
    if (!CanUpdate())
        throw CChybaDatabazy(QStringLiteral("Tento dotaz sa nedá upravovať."));
    RequireCurrent();
    m_mode = Rezim::Edit;
    m_pendingNames.clear();
    m_pendingValues.clear();
}

void CZaznamy::AddNew()
{
    if (!CanUpdate())
        throw CChybaDatabazy(QStringLiteral("Do tohto dotazu sa nedá pridávať."));
    m_mode = Rezim::Add;
    m_pendingNames.clear();
    m_pendingValues.clear();
}

void CZaznamy::SetFieldValue(const QString& name, const QVariant& value)
{
    if (m_mode == Rezim::None)
        throw CChybaDatabazy(QStringLiteral("Záznam nie je v režime úprav."));
    const int existing = m_pendingNames.indexOf(name);
    if (existing >= 0) {
        m_pendingValues[existing] = value;
        return;
    }
    m_pendingNames << name;
    m_pendingValues << value;
}

void CZaznamy::CancelUpdate()
{
    m_mode = Rezim::None;
    m_pendingNames.clear();
    m_pendingValues.clear();
}

void CZaznamy::Update()
{
    if (m_mode == Rezim::None)
        throw CChybaDatabazy(QStringLiteral("Záznam nie je v režime úprav."));
    const Rezim mode = m_mode;
    const QStringList names = m_pendingNames;
    const QVariantList values = m_pendingValues;
    CancelUpdate();
    if (mode == Rezim::Edit) {
        if (names.isEmpty())
            return;
        QStringList sets;
        for (const QString& n : names)
            sets << Quoted(n) + QStringLiteral("=?");
        QVariantList params = values;
        params << m_rowIds.at(m_position);
        m_db.Execute(
            QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(m_table, sets.join(QLatin1Char(','))),
            params);
        for (int k = 0; k < names.size(); ++k) {
            const int i = ColumnIndex(names.at(k));
            if (i < 0)
                continue;
            QVariant stored = values.at(k);
            if (stored.typeId() == QMetaType::QDateTime)
                stored = DatumNaUlozenie(stored.toDateTime());
            m_rows[m_position][i] = stored;
        }
        return;
    }
    if (names.isEmpty()) {
        m_db.Execute(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table));
    } else {
        QStringList quoted, places;
        for (const QString& n : names) {
            quoted << Quoted(n);
            places << QStringLiteral("?");
        }
        m_db.Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(m_table, quoted.join(QLatin1Char(',')), places.join(QLatin1Char(','))),
                     values);
    }
    m_lastInsertId = m_db.LastInsertId();
}

void CZaznamy::Delete()
{
    if (!CanUpdate())
        throw CChybaDatabazy(QStringLiteral("Z tohto dotazu sa nedá mazať."));
    RequireCurrent();
    m_db.Execute(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(m_table), {m_rowIds.at(m_position)});
    m_deleted[m_position] = true;
}
