#include "historia.h"

#include "CDatabaza.h"
#include "CSezonaNaServeri.h"
#include "kody.h"

#include <QJsonValue>

namespace {

QString Text(const QJsonValue& v)
{
    if (v.isDouble()) {
        const double d = v.toDouble();
        return d == static_cast<qint64>(d) ? QString::number(static_cast<qint64>(d)) : QString::number(d);
    }
    return v.toVariant().toString();
}

QString Field(const QJsonObject& row, const char* column)
{
    for (auto it = row.begin(); it != row.end(); ++it)
        if (it.key().compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
            return Text(it.value());
    return {};
}

QString Name(CDatabaza& db, const char* table, const QString& id)
{
    if (id.isEmpty())
        return {};
    const bool club = QString::fromLatin1(table) == QLatin1String("tkluby");
    CPrikaz row(
        db,
        club ? QStringLiteral("select nazov from tkluby where ID = ?")
             : QStringLiteral("select meno, priezvisko from %1 where ID = ?").arg(QLatin1String(table)),
        {id.toLongLong()});
    if (!row.Step())
        return QStringLiteral("č. %1").arg(id);
    return club ? row.Text(0) : QStringLiteral("%1 %2").arg(row.Text(0), row.Text(1));
}

QString Match(CDatabaza& db, const QString& id)
{
    CPrikaz match(db, QStringLiteral("select klub1, klub2, kolo from tzapasy where ID = ?"),
                  {id.toLongLong()});
    if (!match.Step())
        return QStringLiteral("zápas č. %1").arg(id);
    return QStringLiteral("zápas %1 – %2 (%3. kolo)")
        .arg(Name(db, "tkluby", match.Text(0)), Name(db, "tkluby", match.Text(1)), match.Text(2));
}

struct CStlpec
{
    const char* table;
    const char* column;
    const char* label;
};
const CStlpec kStlpce[] = {
    {"tzapasy", "body1", "góly domácich"},
    {"tzapasy", "body2", "góly hostí"},
    {"tzapasy", "polcas1", "polčas domácich"},
    {"tzapasy", "polcas2", "polčas hostí"},
    {"tzapasy", "cas", "termín"},
    {"tzapasy", "poznamka", "poznámka"},
    {"tzapasy", "poznamka2", "poznámka 2"},
    {"tzapasy", "klub1", "domáci"},
    {"tzapasy", "klub2", "hostia"},
    {"tnominacie", "IDrozhodcu", "rozhodca"},
    {"tnominacie", "znamka", "známka"},
    {"tnominacie", "funkcia", "funkcia"},
    {"tbody", "trest", "text trestu"},
    {"tbody", "btrest", "trestné body"},
    {"thraci", "IDklubu", "klub"},
    {"thraci", "pozn", "poznámka"},
};

QString Label(const QString& table, const QString& column)
{
    for (const CStlpec& s : kStlpce)
        if (table == QLatin1String(s.table) &&
            column.compare(QLatin1String(s.column), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(s.label);
    return column;
}

QString Value(const QString& table, const QString& column, const QJsonObject& row)
{
    const QString value = Field(row, column.toLatin1().constData());
    if (table == QLatin1String("tzapasy") && column.startsWith(QLatin1String("body"), Qt::CaseInsensitive)) {
        const QString score = SkoreTextom(value.toInt());
        return score.isEmpty() ? QStringLiteral("bez výsledku") : score;
    }
    if (table == QLatin1String("tzapasy") && column.startsWith(QLatin1String("polcas"), Qt::CaseInsensitive))
        return PolcasTextom(value.toInt());
    return value;
}

} // namespace

QString RowDescription(CDatabaza& db, const QString& table, const QJsonObject& row, const QString& key)
{
    const QString id = key.isEmpty() ? Field(row, "ID") : key;
    if (table == QLatin1String("tzapasy")) {
        const QString round = Field(row, "kolo");
        return QStringLiteral("zápas %1 – %2 (%3. kolo)")
            .arg(Name(db, "tkluby", Field(row, "klub1")), Name(db, "tkluby", Field(row, "klub2")), round);
    }
    if (table == QLatin1String("thraci"))
        return QStringLiteral("hráč %1 %2").arg(Field(row, "meno"), Field(row, "priezvisko"));
    if (table == QLatin1String("trozhodci"))
        return QStringLiteral("rozhodca %1 %2").arg(Field(row, "meno"), Field(row, "priezvisko"));
    if (table == QLatin1String("tkluby"))
        return QStringLiteral("klub %1").arg(Field(row, "nazov"));
    if (table == QLatin1String("tsutaze"))
        return QStringLiteral("súťaž %1").arg(Field(row, "nazov"));
    if (table == QLatin1String("tnominacie"))
        return QStringLiteral("nominácia (%1) na %2")
            .arg(Name(db, "trozhodci", Field(row, "IDrozhodcu")), Match(db, Field(row, "IDzapasu")));
    if (table == QLatin1String("tbody"))
        return QStringLiteral("riadok tabuľky klubu %1").arg(Name(db, "tkluby", Field(row, "IDklubu")));
    for (const auto& [t, what] :
         {std::pair{"tgoly", "gól"}, {"tzkarty", "žltá karta"}, {"tckarty", "červená karta"}})
        if (table == QLatin1String(t))
            return QStringLiteral("%1 hráča %2 (%3)")
                .arg(QString::fromUtf8(what), Name(db, "thraci", Field(row, "IDhraca")),
                     Match(db, Field(row, "IDzapasu")));
    return id.isEmpty() ? QStringLiteral("tabuľka %1").arg(table)
                        : QStringLiteral("záznam č. %1 tabuľky %2").arg(id, table);
}

QString ValuesText(const QString& table, const QJsonObject& row, const QStringList& columns)
{
    QStringList parts;
    for (const QString& c : columns)
        parts << QStringLiteral("%1: %2").arg(Label(table, c), Value(table, c, row));
    return parts.join(QStringLiteral(", "));
}

QString ConflictMessage(CDatabaza& db, const CKonfliktZmien& conflict)
{
    const CZmenaNaServeri& c = conflict.Change();
    const bool deleted = c.operation == QLatin1Char('D');
    const QJsonObject& row = deleted ? c.before : c.after;
    const QDateTime when = c.time.toLocalTime();
    QString text =
        QStringLiteral("Vaša zmena sa neuložila: %1 medzitým %2 %3 %4 o %5")
            .arg(RowDescription(db, c.table, row, c.key),
                 deleted ? QStringLiteral("zmazal(a)") : QStringLiteral("zmenil(a)"), c.login,
                 when.toString(QStringLiteral("d. M. yyyy")), when.toString(QStringLiteral("H:mm:ss")));
    if (!deleted)
        text += QStringLiteral("; teraz je %1").arg(ValuesText(c.table, row, conflict.Columns()));
    return text + QStringLiteral(". Ak ju chcete, zadajte ju znova.");
}

const QStringList& HistoryColumns()
{
    static const QStringList columns = {QStringLiteral("Čas"),     QStringLiteral("Prihlásenie"),
                                        QStringLiteral("Čo"),      QStringLiteral("Zmena"),
                                        QStringLiteral("Predtým"), QStringLiteral("Potom")};
    return columns;
}

QStringList HistoryCells(const CRiadokHistorie& row)
{
    return {row.time, row.login, row.what, row.change, row.before, row.after};
}

QVector<QStringList> HistoryTable(const QVector<CRiadokHistorie>& rows)
{
    QVector<QStringList> table{HistoryColumns()};
    for (const CRiadokHistorie& r : rows)
        table << HistoryCells(r);
    return table;
}

QVector<CRozsahHistorie> HistoryScopes(CDatabaza& db, int match, int player)
{
    QVector<CRozsahHistorie> scopes{{QStringLiteral("Celá sezóna"), {}}};
    if (match != 0 &&
        db.Value(QStringLiteral("select count(*) from tzapasy where ID=?"), {match}).toInt() > 0)
        scopes.push_back(
            {Match(db, QString::number(match)), {{}, QStringLiteral("tzapasy"), QString::number(match)}});
    if (player != 0 &&
        db.Value(QStringLiteral("select count(*) from thraci where ID=?"), {player}).toInt() > 0)
        scopes.push_back({QStringLiteral("hráč %1").arg(Name(db, "thraci", QString::number(player))),
                          {{}, QStringLiteral("thraci"), QString::number(player)}});
    return scopes;
}

QVector<CRiadokHistorie> HistoryRows(CDatabaza& db, const CVyberHistorie& selection)
{
    QVector<CRiadokHistorie> rows;
    for (const CZmenaNaServeri& c : db.History(selection.since, selection.table, selection.key)) {
        CRiadokHistorie r;
        r.time = c.time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
        r.login = c.login;
        r.what = RowDescription(db, c.table, c.operation == QLatin1Char('D') ? c.before : c.after, c.key);
        QStringList changed;
        if (c.operation == QLatin1Char('U')) {
            r.change = QStringLiteral("zmenený");
            for (auto it = c.after.begin(); it != c.after.end(); ++it)
                if (c.before.value(it.key()) != it.value())
                    changed << it.key();
        } else {
            r.change =
                c.operation == QLatin1Char('I') ? QStringLiteral("vložený") : QStringLiteral("zmazaný");
            changed = (c.operation == QLatin1Char('I') ? c.after : c.before).keys();
        }
        if (c.operation != QLatin1Char('I'))
            r.before = ValuesText(c.table, c.before, changed);
        if (c.operation != QLatin1Char('D'))
            r.after = ValuesText(c.table, c.after, changed);
        rows << r;
    }
    return rows;
}
