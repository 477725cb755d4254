#include "tabulka.h"

#include "competition/kluby.h"
#include "competition/odstupenie.h"
#include "competition/sutaze.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/nastaveniasezony.h"
#include "db/schema.h"
#include "output/CQtPlocha.h"
#include "output/CTabulka.h"
#include "prepocet.h"

#include <QSet>

#include <tuple>

#include <algorithm>

namespace {

struct CRiadokTabulky
{
    int club;
    QString nazov;
    qint64 zapasy, vyhry, remizy, prehry, skore1, skore2, body, plusb;
    int draw = 0;
    bool withdrawn = false;
};

struct CPoradieTabulky
{
    QVector<CRiadokTabulky> rows;
    QStringList notes; // which rule decided each tie, under the table
};

QString ClubList(const QStringList& names)
{
    if (names.size() < 2)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" a ") + names.last();
}

// The mutual-matches rule among clubs level on points: points, goal difference and goals in the
// matches among them; a part of the group still level is compared again on the matches among its own
// clubs; clubs that those matches cannot part are ordered by overall goal difference, goals, wins and
// drawn number.
class CVzajomneZapasy
{
public:
    CVzajomneZapasy(const QVector<CZapasNaPocitanie>& matches, const QHash<int, COdstupenie>& withdrawals)
    {
        for (const CZapasNaPocitanie& m : matches)
            if (const auto score = CountedScore(m, withdrawals))
                m_counted.append({m.home, m.away, score->first, score->second});
    }

    // Orders `group` (indexes into rows) and notes what decided it: for two clubs the rule that parted
    // them, for three or more the rule that parted each neighbouring pair.
    QVector<int> Order(const QVector<int>& group, const QVector<CRiadokTabulky>& rows,
                       QStringList& notes) const
    {
        if (group.size() < 2)
            return group;
        QHash<QPair<int, int>, QString> parted;
        const QVector<int> order = Ordered(group, rows, parted);
        QStringList rules;
        for (int i = 0; i + 1 < order.size(); ++i)
            rules << parted.value({order.at(i), order.at(i + 1)});
        if (order.size() == 2) {
            notes << QStringLiteral("O poradí %1 %2 %3.")
                         .arg(Names(order, rows),
                              rules.first() == kVzajomne ? QStringLiteral("rozhodli")
                                                         : QStringLiteral("rozhodol"),
                              rules.first());
        } else {
            QStringList pairs;
            for (int i = 0; i + 1 < order.size(); ++i)
                pairs << QStringLiteral("%1 – %2 %3")
                             .arg(rows.at(order.at(i)).nazov, rows.at(order.at(i + 1)).nazov, rules.at(i));
            notes << QStringLiteral("O poradí %1 rozhodli: %2.")
                         .arg(Names(order, rows), pairs.join(QStringLiteral("; ")));
        }
        return order;
    }

private:
    struct CVysledok
    {
        int home, away, h, a;
    };
    static inline const QString kVzajomne = QStringLiteral("vzájomné zápasy");

    QVector<int> Ordered(const QVector<int>& group, const QVector<CRiadokTabulky>& rows,
                         QHash<QPair<int, int>, QString>& parted) const
    {
        if (group.size() < 2)
            return group;
        QSet<int> clubs;
        for (const int i : group)
            clubs.insert(rows.at(i).club);
        QHash<int, CPocty> mini;
        for (const CVysledok& m : m_counted)
            if (clubs.contains(m.home) && clubs.contains(m.away)) {
                AddMatch(mini[m.home], true, m.h, m.a);
                AddMatch(mini[m.away], false, m.h, m.a);
            }
        const auto key = [&](int i) {
            const CPocty& c = mini.value(rows.at(i).club);
            return std::make_tuple(StandingsPoints(c, 0), c.skore1 - c.skore2, c.skore1);
        };
        QVector<int> sorted = group;
        std::stable_sort(sorted.begin(), sorted.end(), [&](int x, int y) { return key(x) > key(y); });
        if (key(sorted.first()) == key(sorted.last()))
            return Overall(sorted, rows, parted);
        // Parts of the group still level are compared again among their own clubs.
        QVector<int> out;
        for (int from = 0; from < sorted.size();) {
            int to = from + 1;
            while (to < sorted.size() && key(sorted.at(to)) == key(sorted.at(from)))
                ++to;
            const QVector<int> part = Ordered(sorted.mid(from, to - from), rows, parted);
            if (!out.isEmpty())
                parted.insert({out.last(), part.first()}, kVzajomne);
            out += part;
            from = to;
        }
        return out;
    }

    static QString Names(const QVector<int>& group, const QVector<CRiadokTabulky>& rows)
    {
        QStringList names;
        for (const int i : group)
            names << rows.at(i).nazov;
        return ClubList(names);
    }

    // Clubs the mutual matches cannot part: overall goal difference, goals, wins, drawn number.
    static QVector<int> Overall(QVector<int> group, const QVector<CRiadokTabulky>& rows,
                                QHash<QPair<int, int>, QString>& parted)
    {
        const auto key = [&](int i) {
            const CRiadokTabulky& r = rows.at(i);
            return std::make_tuple(r.skore1 - r.skore2, r.skore1, r.vyhry, -r.draw);
        };
        std::stable_sort(group.begin(), group.end(), [&](int x, int y) { return key(x) > key(y); });
        for (int i = 0; i + 1 < group.size(); ++i) {
            const CRiadokTabulky& a = rows.at(group.at(i));
            const CRiadokTabulky& b = rows.at(group.at(i + 1));
            QString rule = QStringLiteral("vylosované číslo");
            if (a.skore1 - a.skore2 != b.skore1 - b.skore2)
                rule = QStringLiteral("celkový rozdiel skóre");
            else if (a.skore1 != b.skore1)
                rule = QStringLiteral("celkový počet strelených gólov");
            else if (a.vyhry != b.vyhry)
                rule = QStringLiteral("počet víťazstiev");
            parted.insert({group.at(i), group.at(i + 1)}, rule);
        }
        return group;
    }

    QVector<CVysledok> m_counted;
};

// Every club of the competition with its standings row; a club that has none yet (no result so far)
// stands with zeros. Should a file hold two rows of one club, the first counts. A withdrawn club stands
// last, whatever its points.
CPoradieTabulky Standings(CDatabaza& db, int competition)
{
    CPoradieTabulky out;
    QVector<CRiadokTabulky>& rows = out.rows;
    CPrikaz q(db,
              QStringLiteral(
                  "select tkluby.ID, tkluby.nazov, tbody.zapasy, tbody.vyhry, tbody.remizy, "
                  "tbody.prehry, tbody.skore1, tbody.skore2, tbody.body, tbody.plusb, tkluby.vylosovanie "
                  "from tkluby left join tbody on tbody.rowid=(select min(rowid) from tbody where "
                  "tbody.IDklubu=tkluby.ID and tbody.skupina=?1) where tkluby.skupina=?1 order by ") +
                  StandingsOrder(),
              {competition});
    const auto number = [&q](int column) { return CeleCisloZUlozenia(q.Value(column)).value_or(0); };
    while (q.Step())
        rows.append({static_cast<int>(q.Int64(0)), LimitedText(q.Text(1), QStringLiteral("nazov")), number(2),
                     number(3), number(4), number(5), number(6), number(7), number(8), number(9),
                     static_cast<int>(number(10)), false});
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    for (CRiadokTabulky& r : rows)
        r.withdrawn = withdrawals.contains(r.club);

    if (MutualMatchesDecideTies(db)) {
        const QVector<CZapasNaPocitanie> matches = CompetitionMatches(db, competition, withdrawals);
        // The rule applies once the competition is over: every match between two clubs has its full
        // result (or is annulled). Until then the overall chain orders the table.
        bool over = !matches.isEmpty();
        for (const CZapasNaPocitanie& m : matches) {
            if (m.bye || CountedScore(m, withdrawals))
                continue;
            const auto annulled = [&](int club) {
                const auto w = withdrawals.constFind(club);
                return w != withdrawals.constEnd() && w->annul;
            };
            over = over && (annulled(m.home) || annulled(m.away));
        }
        if (over) {
            const CVzajomneZapasy mutual(matches, withdrawals);
            QVector<int> order;
            for (int from = 0; from < rows.size();) {
                int to = from + 1;
                while (to < rows.size() && rows.at(to).body == rows.at(from).body)
                    ++to;
                QVector<int> group;
                for (int i = from; i < to; ++i)
                    if (!rows.at(i).withdrawn)
                        group << i;
                order += mutual.Order(group, rows, out.notes);
                for (int i = from; i < to; ++i)
                    if (rows.at(i).withdrawn)
                        order << i;
                from = to;
            }
            QVector<CRiadokTabulky> sorted;
            for (const int i : order)
                sorted << rows.at(i);
            rows = sorted;
        }
    }
    std::stable_partition(rows.begin(), rows.end(), [](const CRiadokTabulky& r) { return !r.withdrawn; });
    for (CRiadokTabulky& r : rows)
        if (r.withdrawn)
            r.nazov += QStringLiteral(" (%1)").arg(kOdstupilText);
    return out;
}

QStringList Cells(qint64 position, const CRiadokTabulky& r)
{
    return {QString::number(position),
            r.nazov,
            QString::number(r.zapasy),
            QString::number(r.vyhry),
            QString::number(r.remizy),
            QString::number(r.prehry),
            QStringLiteral("%1 : %2").arg(r.skore1).arg(r.skore2),
            QString::number(r.body),
            QString::number(r.plusb)};
}

const QStringList kHlavicka = {QStringLiteral("#"),     QStringLiteral("Klub"), QStringLiteral("Z"),
                               QStringLiteral("V"),     QStringLiteral("R"),    QStringLiteral("P"),
                               QStringLiteral("Skóre"), QStringLiteral("Body"), QStringLiteral(" + , - ")};

} // namespace

QString StandingsOrder()
{
    // Points, goal difference, goals scored, wins, plus/minus points, matches played; clubs equal in
    // all of them by drawn number.
    return QStringLiteral(
        "ifnull(tbody.body,0) desc, ifnull(tbody.skore1,0)-ifnull(tbody.skore2,0) desc, "
        "ifnull(tbody.skore1,0) "
        "desc, ifnull(tbody.vyhry,0) desc, ifnull(tbody.plusb,0) desc, ifnull(tbody.zapasy,0) desc, "
        "tkluby.vylosovanie, tkluby.ID");
}

std::optional<int> LastPlayedRound(CDatabaza& db, int competition)
{
    // A score another tool stored on a bye row is no match played.
    CPrikaz q(db,
              QStringLiteral("select kolo from tzapasy where skupina=? and %1 and %2")
                  .arg(SqlMaVysledok(), SqlMedziKlubmi()),
              {competition});
    std::optional<int> last;
    while (q.Step())
        if (const auto round = KoloZUlozenia(q.Value(0)); round && (!last || *round > *last))
            last = round;
    return last;
}

QString AfterLastPlayedRound(CDatabaza& db, int competition, const QString& title)
{
    if (const auto round = LastPlayedRound(db, competition))
        return QStringLiteral("%1 po %2. kole").arg(title, QString::number(*round));
    return title;
}

QString StandingsTitle(CDatabaza& db, int competition)
{
    return AfterLastPlayedRound(
        db, competition, QStringLiteral("Výsledná tabuľka - %1").arg(CompetitionName(db, competition)));
}

QString CTlacTabulky::FileTitle() const
{
    QString detail;
    if (const auto round = LastPlayedRound(m_db, m_competition))
        detail = QStringLiteral("po %1. kole").arg(*round);
    return ListFileTitle(QStringLiteral("tabulka"), CompetitionName(m_db, m_competition), detail);
}

QVector<CStlpecZoznamu> StandingsColumns()
{
    return {{kHlavicka.at(0), Zarovnanie::Stred, 20}, {kHlavicka.at(1), Zarovnanie::Vlavo, 200},
            {kHlavicka.at(2), Zarovnanie::Stred, 40}, {kHlavicka.at(3), Zarovnanie::Stred, 40},
            {kHlavicka.at(4), Zarovnanie::Stred, 40}, {kHlavicka.at(5), Zarovnanie::Stred, 40},
            {kHlavicka.at(6), Zarovnanie::Stred, 80}, {kHlavicka.at(7), Zarovnanie::Stred, 80},
            {kHlavicka.at(8), Zarovnanie::Stred, 80}};
}

CZoznam StandingsList(CDatabaza& db, int competition)
{
    CZoznam list;
    list.columns = StandingsColumns();
    int position = 0;
    for (const CRiadokTabulky& r : Standings(db, competition).rows)
        list.AddRow(Cells(++position, r), r.club);
    return list;
}

QStringList StandingsNotes(CDatabaza& db, int competition)
{
    return Standings(db, competition).notes;
}

CTrest ClubSanction(CDatabaza& db, int competition, int club)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tbody where IDklubu=? and skupina=?"), {club, competition});
    if (rs.IsEOF())
        return CTrest{};
    return CTrest{
        rs.GetText(QStringLiteral("trest")),
        static_cast<int>(std::clamp<qint64>(
            CeleCisloZUlozenia(rs.GetFieldValue(QStringLiteral("btrest"))).value_or(0), INT_MIN, INT_MAX))};
}

namespace {
// The club's standings row, made (counted from its results) when it has none yet: a sanction can be
// given before the club's first result.
void EnsureStandingsRow(CDatabaza& db, int competition, int club)
{
    if (db.Value(QStringLiteral("select count(*) from tbody where IDklubu=? and skupina=?"),
                 {club, competition})
            .toInt() == 0)
        RecalculateClub(db, competition, club);
}
} // namespace

void SaveSanctionText(CDatabaza& db, int competition, int club, const QString& text)
{
    CTransakcia transaction(db);
    EnsureStandingsRow(db, competition, club);
    db.Execute(QStringLiteral("update tbody set trest=? where IDklubu=? and skupina=?"),
               {text, club, competition});
    transaction.Commit();
}

void SaveSanctionPoints(CDatabaza& db, int competition, int club, const QString& text)
{
    const std::optional<int> points = CisloNaZaciatku(text);
    if (!points && !text.trimmed().isEmpty())
        throw CChybaDatabazy(kZleTrestneBody);
    CTransakcia transaction(db);
    EnsureStandingsRow(db, competition, club);
    db.Execute(QStringLiteral("update tbody set btrest=? where IDklubu=? and skupina=?"),
               {points.value_or(0), club, competition});
    RecalculateClub(db, competition, club);
    transaction.Commit();
}

int CTlacTabulky::DrawTable(CTabulka& t)
{
    m_table.DrawPage(t, 1);
    return t.LastLine();
}

void CTlacTabulky::Layout(CPlocha& surface)
{
    m_laidOut = true;
    m_notePages.clear();
    CTabulka t(surface);
    // The clubs in one table on the first page, each name whole (wrapped where it must be).
    m_table = CTlacenaTabulka();
    QVector<CTlacenaTabulka::CStlpec> columns;
    for (int c = 0; c < kHlavicka.size(); ++c)
        columns.append({kHlavicka.at(c), c == 1 ? Zarovnanie::Vlavo : Zarovnanie::Stred, c == 1, c < 2});
    m_table.SetColumns(columns);
    int position = 0;
    for (const CRiadokTabulky& r : Standings(m_db, m_competition).rows)
        m_table.AddRow({CTlacenaTabulka::CDruh::Udaje, Cells(++position, r)});
    m_table.Layout(t);
    int y = DrawTable(t);
    QVector<CRiadokPoznamky> lines;
    for (const QString& note : Standings(m_db, m_competition).notes) {
        const QStringList wrapped = t.WrapToWidth(note, t.TextRoom());
        for (int i = 0; i < wrapped.size(); ++i)
            lines.append({wrapped.at(i), i == 0 ? 400 : 300, 400, false});
    }
    CZaznamy rs(m_db);
    rs.Open(
        QStringLiteral("select tbody.body, tbody.trest, tbody.btrest, tbody.IDklubu, tkluby.ID, tkluby.nazov "
                       "from tbody, tkluby where tbody.skupina=? and tkluby.ID=tbody.IDklubu and "
                       "ifnull(tbody.trest,'')<>'' order by tbody.body desc, tkluby.vylosovanie, tkluby.ID"),
        {m_competition});
    for (; !rs.IsEOF(); rs.MoveNext()) {
        // The club's name, then the sanction whole: wrapped to the paper, its own line breaks kept.
        lines.append({QStringLiteral("%1:").arg(rs.GetText(QStringLiteral("nazov"))), 400, 400, true});
        const QStringList wrapped = t.WrapToWidth(rs.GetText(QStringLiteral("trest")), t.TextRoom());
        for (const QString& line : wrapped)
            lines.append({line, 300, 400, false});
    }
    const int height = t.TextLineHeight();
    const int bottom = t.FootTop();
    m_notePages.append(QVector<CRiadokPoznamky>());
    for (int i = 0; i < lines.size(); ++i) {
        // A club's name never stands alone at the foot of a page.
        int need = lines.at(i).gap + height;
        if (lines.at(i).keepWithNext && i + 1 < lines.size())
            need += lines.at(i + 1).gap + height;
        if (y + need > bottom && !m_notePages.last().isEmpty()) {
            m_notePages.append(QVector<CRiadokPoznamky>());
            y = CTabulka::kHornyOkrajMriezky - 300;
        }
        m_notePages.last().append(lines.at(i));
        y += lines.at(i).gap;
    }
}

int CTlacTabulky::PageCount()
{
    if (!m_laidOut) {
        CMeraciaPlocha measure(PageSize());
        Layout(measure);
    }
    return static_cast<int>(m_notePages.size());
}

void CTlacTabulky::DrawPage(CPlocha& surface, int page)
{
    if (!m_laidOut)
        PageCount();
    CTabulka t(surface);
    const CHlavicka season = CHlavicka::Read(m_db);
    if (page == 1) {
        DrawTable(t);
    } else {
        // A page of sanctions that did not fit under the table: in the font they were wrapped in, so
        // that every line stands whole as on the first page.
        t.SetCellFontHeight(m_table.FontHeight());
        t.SetLastLine(CTabulka::kHornyOkrajMriezky - 300);
    }
    if (m_competition != 0)
        t.TitleLine(StandingsTitle(m_db, m_competition));
    if (season.exists) {
        t.SeasonLine(season.SeasonLine());
        t.RuledLine(season.AssociationLine());
    }
    for (const CRiadokPoznamky& line : m_notePages.value(page - 1))
        t.NoteLine(line.text, line.gap, line.weight);
    t.PageFoot(season.AssociationLine(), page, PageCount());
}

std::optional<CMyExport> ExportStandings(CDatabaza& db, int competition)
{
    const CPoradieTabulky standings = Standings(db, competition);
    const QVector<CRiadokTabulky>& rows = standings.rows;
    if (rows.isEmpty())
        return std::nullopt;
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), StandingsTitle(db, competition), season.SeasonLine());
    page.BeginTable(9, QString());
    const auto columns = StandingsColumns();
    for (int c = 0; c < columns.size(); ++c)
        page.HeadCell(c, columns.at(c).header, columns.at(c).alignment, columns.at(c).width);
    // The spreadsheet's score as the goals of each side, numbers it can sort by.
    QVector<QStringList> csv = {{kHlavicka.at(0), kHlavicka.at(1), kHlavicka.at(2), kHlavicka.at(3),
                                 kHlavicka.at(4), kHlavicka.at(5), QStringLiteral("Strelené góly"),
                                 QStringLiteral("Inkasované góly"), kHlavicka.at(7),
                                 QStringLiteral("Plus/mínus")}};
    int position = 0;
    for (const CRiadokTabulky& r : rows) {
        const QStringList cells = Cells(++position, r);
        for (int c = 0; c < cells.size(); ++c)
            page.Cell(c, cells.at(c), columns.at(c).alignment);
        QStringList row = cells;
        row.replace(6, QString::number(r.skore1));
        row.insert(7, QString::number(r.skore2));
        csv << row;
    }
    page.EndTable();
    page.SetCsvRows(csv);
    for (const QString& note : standings.notes)
        page.AppendRaw(QStringLiteral("<p>%1</p>\r\n").arg(CMyExport::Escape(note)));
    page.EndPage();
    return page;
}
