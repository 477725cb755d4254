#include "vysledky.h"

#include "competition/CZapas.h"
#include "competition/kluby.h"
#include "competition/odstupenie.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/schema.h"
#include "output/CTabulka.h"
#include "prepocet.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

QString ResultsTitle(CDatabaza& db, int competition, int club)
{
    return QStringLiteral("Výsledky zápasov - %1").arg(CompetitionWithClub(db, competition, club));
}

QVector<CStlpecZoznamu> ResultsColumns()
{
    return {{QStringLiteral("Kolo"), Zarovnanie::Stred, 45},
            {QStringLiteral("#"), Zarovnanie::Vlavo, 20},
            {QStringLiteral("Domáci"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Hostia"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Skóre"), Zarovnanie::Stred, 40},
            {QStringLiteral("Skóre"), Zarovnanie::Stred, 40},
            {QStringLiteral("Polčas"), Zarovnanie::Stred, 40},
            {QStringLiteral("Polčas"), Zarovnanie::Stred, 40},
            {QStringLiteral("Dátum"), Zarovnanie::Vlavo, 70},
            {QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Stav"), Zarovnanie::Vlavo, 150}};
}

namespace {

// A note with a remark after it.
QString WithRemark(const QString& note, const QString& remark)
{
    if (remark.isEmpty())
        return note;
    return note.isEmpty() ? remark : QStringLiteral("%1; %2").arg(note, remark);
}

// What the remarks of a competition's matches rest on, read once.
class CStavZapasov
{
public:
    CStavZapasov(CDatabaza& db, const QString& matchCondition, int value) : m_withdrawals(ReadWithdrawals(db))
    {
        const QString entries = QStringLiteral("select IDzapasu from %1 where IDzapasu in (select ID from "
                                               "tzapasy where %2)");
        for (const char* table : {"tgoly", "tzkarty", "tckarty"}) {
            CPrikaz q(db, entries.arg(QLatin1String(table), matchCondition), {value});
            while (q.Step())
                m_withEntries.insert(static_cast<int>(q.Int64(0)));
        }
    }
    QString Remark(const CZapas& z, const CMenaKlubov& names) const
    {
        if (const QString withdrawn = WithdrawalRemark(m_withdrawals, z, names); !withdrawn.isEmpty())
            return withdrawn;
        const bool full = MaVysledok(z.homeScore, z.awayScore);
        if (!full && (z.homeScore != kBezVysledku || z.awayScore != kBezVysledku))
            return kNeuplnyVysledok;
        if (!full && m_withEntries.contains(z.id))
            return kGolyBezVysledku;
        return {};
    }

private:
    QHash<int, COdstupenie> m_withdrawals;
    QSet<int> m_withEntries;
};

} // namespace

CZoznam ResultsList(CDatabaza& db, int competition, int round)
{
    const CStavZapasov state(db, QStringLiteral("skupina=?1"), competition);
    return MatchesByRound(db, competition, round, ResultsColumns(),
                          [&state](const CZapas& z, const CMenaKlubov& names) {
                              return QStringList{names.Name(z.homeClub),
                                                 names.Name(z.awayClub),
                                                 SkoreTextom(z.homeScore),
                                                 SkoreTextom(z.awayScore),
                                                 PolcasTextom(z.homeHalfTime),
                                                 PolcasTextom(z.awayHalfTime),
                                                 z.dateText,
                                                 z.note,
                                                 state.Remark(z, names)};
                          });
}

QString MatchRemark(CDatabaza& db, int matchId)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return {};
    const CStavZapasov state(db, QStringLiteral("ID=?1"), matchId);
    return state.Remark(CZapas::FromRow(rs), CMenaKlubov(db));
}

std::optional<CPolickaVysledku> ResultFields(CDatabaza& db, int matchId)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return std::nullopt;
    const CZapas z = CZapas::FromRow(rs);
    return CPolickaVysledku{SkoreTextom(z.homeScore), SkoreTextom(z.awayScore), PolcasTextom(z.homeHalfTime),
                            PolcasTextom(z.awayHalfTime), z.note == QStringLiteral(" ") ? QString() : z.note};
}

namespace {
CPrecitaneSkore ReadNumber(const QString& text)
{
    const auto n = CisloNaZaciatku(text);
    if (!n || *n < 0 || *n > 100)
        return {kBezVysledku, true};
    return {*n, false};
}
} // namespace

CPrecitaneSkore ReadScore(const QString& text)
{
    if (text.isEmpty())
        return {kBezVysledku, false};
    if (text == kKontumaciaText)
        return {kKontumacia, false};
    return ReadNumber(text);
}

CPrecitaneSkore ReadHalfTime(const QString& text)
{
    if (text.isEmpty())
        return {kBezVysledku, false};
    return ReadNumber(text);
}

CPolickoSkore ReadScoreField(const QString& text, bool halfTime)
{
    static const QRegularExpression pair(
        QStringLiteral("^\\s*(\\d{1,3}|[kK])\\s*(?:[:\\-]|\\s)\\s*(\\d{1,3}|[kK])\\s*$"));
    static const QRegularExpression begun(
        QStringLiteral("^\\s*(\\d{1,3}|[kK])\\s*[:\\-]\\s*$|^\\s*(\\d{1,3}|[kK])\\s+$"));
    // One side's goals: a whole number the store takes, or a forfeit where there can be one.
    const auto oneSide = [halfTime](const QString& t) {
        if (t.isEmpty())
            return true;
        if (t.compare(kKontumaciaText, Qt::CaseInsensitive) == 0)
            return !halfTime;
        bool ok = false;
        const int n = t.toInt(&ok);
        return ok && t.size() <= 3 &&
               std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c.isDigit(); }) && n >= 0 && n <= 100;
    };
    CPolickoSkore field;
    if (const QRegularExpressionMatch m = pair.match(text); m.hasMatch()) {
        field.druh = CPolickoSkore::Druh::Dvojica;
        field.first = m.captured(1).toLower();
        field.second = m.captured(2).toLower();
        if (!oneSide(field.first) || !oneSide(field.second))
            field.druh = CPolickoSkore::Druh::Chybne;
    } else if (begun.match(text).hasMatch()) {
        field.druh = CPolickoSkore::Druh::Nedokoncene;
    } else if (!oneSide(text)) {
        field.druh = CPolickoSkore::Druh::Chybne;
    }
    return field;
}

CPolickaVysledku EnterResult(CDatabaza& db, int competition, int matchId, const CPolickaVysledku& typed,
                             CStrana changedSide)
{
    const CPrecitaneSkore home = ReadScore(typed.home);
    const CPrecitaneSkore away = ReadScore(typed.away);
    const CPrecitaneSkore homeHalf = ReadHalfTime(typed.homeHalf);
    const CPrecitaneSkore awayHalf = ReadHalfTime(typed.awayHalf);
    CPolickaVysledku shown = typed;
    if (home.emptied)
        shown.home.clear();
    if (away.emptied)
        shown.away.clear();
    if (homeHalf.emptied)
        shown.homeHalf.clear();
    if (awayHalf.emptied)
        shown.awayHalf.clear();

    // A free slot plays no match: a score typed against it would count for the real club. Clearing
    // what another tool wrote there is allowed.
    const bool cleared = home.value == kBezVysledku && away.value == kBezVysledku &&
                         homeHalf.value == kBezVysledku && awayHalf.value == kBezVysledku;
    if (!cleared && MatchIsBye(db, matchId))
        throw CChybaDatabazy(kVolnoBezVysledku);
    // The score and its clubs' standings read and change only the competition's matches and standings
    // of its two clubs, and the withdrawals: others typing other clubs' matches meanwhile, in this
    // competition or another, do not hold it up.
    CRozsahZapisu scope{competition,
                        {QStringLiteral("tzapasy"), QStringLiteral("tbody"), QStringLiteral("tkluby")},
                        {kTabulkaOdstupeni},
                        {},
                        {{QStringLiteral("tzapasy"), {QStringLiteral("klub1"), QStringLiteral("klub2")}},
                         {QStringLiteral("tbody"), {QStringLiteral("IDklubu")}},
                         {QStringLiteral("tkluby"), {QStringLiteral("ID")}}}};
    {
        CPrikaz clubs(db, QStringLiteral("select klub1, klub2 from tzapasy where ID=?"), {matchId});
        if (clubs.Step())
            for (int side : {0, 1})
                if (const int club = static_cast<int>(clubs.Int64(side)); club != 0)
                    scope.clubs << club;
    }
    db.WriteInScope(scope, [&] {
        CZaznamy rs(db);
        rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
        if (rs.IsEOF())
            return;
        const int home1 = rs.GetInt(QStringLiteral("klub1"));
        const int away2 = rs.GetInt(QStringLiteral("klub2"));
        rs.Edit();
        rs.SetFieldValue(QStringLiteral("body1"), home.value);
        rs.SetFieldValue(QStringLiteral("body2"), away.value);
        rs.SetFieldValue(QStringLiteral("polcas1"), homeHalf.value);
        rs.SetFieldValue(QStringLiteral("polcas2"), awayHalf.value);
        rs.Update();
        if (changedSide != kZiadnaStrana) {
            QVector<int> clubs;
            for (int club : {home1, away2})
                if (club != 0 && !clubs.contains(club))
                    clubs << club;
            RecalculateClubs(db, competition, clubs);
        }
    });
    return shown;
}

QString SaveResultNote(CDatabaza& db, int matchId, const QString& text)
{
    const QString stored = text.isEmpty() ? QStringLiteral(" ") : text;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {matchId});
    if (rs.IsEOF())
        return {};
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("poznamka"), stored);
    rs.Update();
    return stored;
}

QString CategoryTable(CKategoria category)
{
    switch (category) {
    case kZlteKarty:
        return QStringLiteral("tzkarty");
    case kCerveneKarty:
        return QStringLiteral("tckarty");
    default:
        return QStringLiteral("tgoly");
    }
}

QVector<CStlpecZoznamu> EntryColumns(CKategoria category)
{
    static const QStringList titles = {QStringLiteral("Strelci"), QStringLiteral("Žlté karty"),
                                       QStringLiteral("Červené karty")};
    return {{QStringLiteral("#"), Zarovnanie::Vlavo, 20}, {titles.at(category), Zarovnanie::Vlavo, 200}};
}

CZoznam Entries(CDatabaza& db, int matchId, int club, CKategoria category)
{
    CZoznam list;
    list.columns = EntryColumns(category);
    if (club == 0 || matchId == 0)
        return list;
    CZaznamy rs(db);
    rs.Open(
        QStringLiteral("select %1.ID, %1.IDhraca, thraci.meno, thraci.priezvisko from %1 left join thraci on "
                       "thraci.ID=%1.IDhraca where %1.IDzapasu=? and %1.IDklubu=? order by %1.ID")
            .arg(CategoryTable(category)),
        {matchId, club});
    int n = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        // A player who is not in the register leaves the name empty.
        const bool unknown = rs.GetFieldValue(QStringLiteral("meno")).isNull() &&
                             rs.GetFieldValue(QStringLiteral("priezvisko")).isNull();
        const QString name = unknown ? QString()
                                     : QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                                                   rs.GetText(QStringLiteral("priezvisko")));
        list.AddRow({QString::number(++n), name}, rs.GetInt(QStringLiteral("IDhraca")));
    }
    return list;
}

namespace {

QString Pair(const QString& a, const QString& b)
{
    return QStringLiteral("%1 : %2").arg(a, b);
}

// "%s %s %s<br />" per scorer of a side: name, and the number of goals when more than one.
QString ScorersHtml(CDatabaza& db, int matchId, int club)
{
    QString html;
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "select COUNT(tgoly.IDhraca) AS pocetgolov, thraci.meno, thraci.priezvisko from "
                "tgoly,thraci where tgoly.IDzapasu=? and tgoly.IDklubu=? and tgoly.IDhraca=thraci.ID group "
                "by tgoly.IDhraca,thraci.meno,thraci.priezvisko"),
            {matchId, club});
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int goals = rs.GetInt(QStringLiteral("pocetgolov"));
        html += QStringLiteral("%1 %2 %3<br />")
                    .arg(CMyExport::Escape(rs.GetText(QStringLiteral("meno"))),
                         CMyExport::Escape(rs.GetText(QStringLiteral("priezvisko"))),
                         goals > 1 ? QString::number(goals) : QString());
    }
    return html;
}

} // namespace

void CTlacVysledkov::Columns(CTabulka& t)
{
    // As wide on every page: measured on all clubs and notes of the competition.
    const QString club = CTabulka::Sample(QStringLiteral(" TJ Družstevník Šaštín-Stráže "),
                                          LongestClubName(m_db, m_competition));
    const QString note = m_db.Value(QStringLiteral("select poznamka from tzapasy where skupina=? "
                                                   "order by length(poznamka) desc limit 1"),
                                    {m_competition})
                             .toString();
    t.AddColumn(club, Zarovnanie::Vlavo);
    t.AddColumn(club, Zarovnanie::Vlavo);
    t.AddColumn(QStringLiteral(" Výsledok "), Zarovnanie::Stred);
    t.AddColumn(QStringLiteral(" Polčas "), Zarovnanie::Stred);
    // A note is wrapped within its row rather than widen the table off the paper.
    t.AddColumn(CTabulka::Sample(QStringLiteral(" Kontumacne                  "), note.left(30)),
                Zarovnanie::Vlavo);
}

void CTlacVysledkov::Header(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.TitleLine(ResultsTitle(m_db, m_competition, m_club));
    t.SeasonLine(season.SeasonLine());
    t.RuledLine(season.AssociationLine());
}

void CTlacVysledkov::Heading(CTabulka& t, int row, const QString& title)
{
    static const QStringList header = {QStringLiteral("Domáci"), QStringLiteral("Hostia"),
                                       QStringLiteral("Výsledok"), QStringLiteral("Polčas"),
                                       QStringLiteral("Poznámka")};
    t.SetBorders(false, false, false, false);
    t.GridCellEx(row, 0, title, Zarovnanie::Vlavo, 700, false);
    for (int c = 0; c < header.size(); ++c)
        t.GridCellEx(row + 1, c, header.at(c), Alignment(c), 700);
}

CTlacVysledkov::CTlacVysledkov(CDatabaza& db, int competition, int round)
    : CTlacKol(db, competition, round), m_withdrawals(ReadWithdrawals(db))
{
}

QStringList CTlacVysledkov::Cells(const CZapas& z, const CZapas& first, const CMenaKlubov& names)
{
    // A match played on another day than its round says so beside its note, and so does a match a
    // withdrawn club does not play.
    QString note = z.note == QStringLiteral(" ") ? QString() : z.note.trimmed();
    const QString kickOff = KickOffCell(z, first);
    if (kickOff != z.timeText)
        note = note.isEmpty() ? QStringLiteral("hrané %1").arg(kickOff)
                              : QStringLiteral("hrané %1; %2").arg(kickOff, note);
    note = WithRemark(note, WithdrawalRemark(m_withdrawals, z, names));
    return {names.Name(z.homeClub), names.Name(z.awayClub),
            Pair(SkoreTextom(z.homeScore), SkoreTextom(z.awayScore)),
            Pair(PolcasTextom(z.homeHalfTime), PolcasTextom(z.awayHalfTime)), note};
}

Zarovnanie CTlacVysledkov::Alignment(int column) const
{
    return column >= 2 && column <= 3 ? Zarovnanie::Stred : Zarovnanie::Vlavo;
}

CMyExport ExportResults(CDatabaza& db, int competition, int round, int club)
{
    const QString season = QStringLiteral("Výsledky zápasov v sezóne - %1").arg(CHlavicka::Read(db).nazov);
    const QVector<CStlpecZoznamu> header = {{QStringLiteral("Domáci"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("Hostia"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("Výsledok"), Zarovnanie::Stred, 40},
                                            {QStringLiteral("Polčas"), Zarovnanie::Stred, 40},
                                            {QStringLiteral("Strelci domáci"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("Strelci hostia"), Zarovnanie::Vlavo, 200},
                                            {QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 200}};
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    CMyExport page = ExportByRound(
        db, competition, round, season, header,
        [&db, &withdrawals](CMyExport& page, const CZapas& z, const CMenaKlubov& names) {
            page.Cell(0, names.Name(z.homeClub), Zarovnanie::Vlavo);
            page.Cell(1, names.Name(z.awayClub), Zarovnanie::Vlavo);
            page.Cell(2, Pair(SkoreTextom(z.homeScore), SkoreTextom(z.awayScore)), Zarovnanie::Stred);
            page.Cell(3, Pair(PolcasTextom(z.homeHalfTime), PolcasTextom(z.awayHalfTime)), Zarovnanie::Stred);
            page.CellHtml(4, ScorersHtml(db, z.id, z.homeClub), Zarovnanie::Vlavo);
            page.CellHtml(5, ScorersHtml(db, z.id, z.awayClub), Zarovnanie::Vlavo);
            const QString remark = WithdrawalRemark(withdrawals, z, names);
            page.Cell(6, remark.isEmpty() ? z.note : WithRemark(z.note.trimmed(), remark), Zarovnanie::Vlavo);
        },
        club);
    const QVector<CZapas> matches = ReadMatches(db, competition, round, club);
    const CMenaKlubov names(db);
    QVector<QStringList> rows = MatchCsvRows(matches, names);
    // The first row is the header; the note is the last column.
    for (qsizetype i = 0; i < matches.size() && i + 1 < rows.size(); ++i)
        if (const QString remark = WithdrawalRemark(withdrawals, matches.at(i), names); !remark.isEmpty())
            rows[i + 1].last() = WithRemark(rows[i + 1].last(), remark);
    page.SetCsvRows(rows);
    return page;
}
