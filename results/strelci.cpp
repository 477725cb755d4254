#include "strelci.h"

#include "competition/odstupenie.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/schema.h"
#include "db/slovencina.h"
#include "output/CTabulka.h"
#include "tabulka.h"

#include <QHash>

#include <algorithm>

QString TopScorersTitle(CDatabaza& db, int competition)
{
    return QStringLiteral("Najlepší strelci - %1").arg(CompetitionName(db, competition));
}

QVector<CStlpecZoznamu> TopScorersColumns()
{
    return {{QStringLiteral("#"), Zarovnanie::Stred, 30},
            {QStringLiteral("Hráč"), Zarovnanie::Vlavo, 150},
            {QStringLiteral("Klub"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Góly"), Zarovnanie::Stred, 40}};
}

CZoznam TopScorersList(CDatabaza& db, int competition)
{
    CZoznam list;
    list.columns = TopScorersColumns();
    // The goals scored in the competition's matches, whatever club the scorer plays for now: a player
    // who moved to another competition keeps his goals here and brings none there. The club shown is
    // his present one while it plays here, else the one he last scored for here. Own goals do not
    // count for anybody, nor do goals of a match without a full result (a result cleared for a replay)
    // or of a match annulled by a club's withdrawal.
    struct CStrelec
    {
        int player = 0;
        QString name;
        QString surname;
        int presentClub = 0;
        int goals = 0;
        int lastClub = 0;
        QString lastKickOff;
        qint64 lastGoal = 0;
    };
    QVector<CStrelec> scorers;
    QHash<int, int> index;
    CPrikaz q(db,
              QStringLiteral(
                  "select tgoly.IDhraca, tgoly.IDklubu, tgoly.ID, tzapasy.cas, thraci.meno, "
                  "thraci.priezvisko, thraci.IDklubu, tzapasy.klub1, tzapasy.klub2 from tgoly join thraci on "
                  "thraci.ID=tgoly.IDhraca join tzapasy on tzapasy.ID=tgoly.IDzapasu where tgoly.skupina=? "
                  "and ifnull(thraci.RC,'')<>? and %1 and %2")
                  .arg(SqlMaVysledok(), SqlMedziKlubmi()),
              {competition, kRcVlastnyGol});
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    const auto annulled = [&withdrawals](qint64 club) {
        const auto w = withdrawals.constFind(static_cast<int>(club));
        return w != withdrawals.constEnd() && w->annul;
    };
    while (q.Step()) {
        if (annulled(q.Int64(7)) || annulled(q.Int64(8)))
            continue;
        const int player = static_cast<int>(q.Int64(0));
        auto it = index.constFind(player);
        if (it == index.constEnd()) {
            it = index.insert(player, static_cast<int>(scorers.size()));
            CStrelec fresh;
            fresh.player = player;
            fresh.name = LimitedText(q.Text(4), QStringLiteral("meno"));
            fresh.surname = LimitedText(q.Text(5), QStringLiteral("priezvisko"));
            fresh.presentClub = static_cast<int>(q.Int64(6));
            scorers.append(fresh);
        }
        CStrelec& s = scorers[*it];
        ++s.goals;
        const QString kickOff = q.Text(3);
        const qint64 goal = q.Int64(2);
        if (s.lastClub == 0 || kickOff > s.lastKickOff || (kickOff == s.lastKickOff && goal > s.lastGoal)) {
            s.lastClub = static_cast<int>(q.Int64(1));
            s.lastKickOff = kickOff;
            s.lastGoal = goal;
        }
    }
    QHash<int, QString> clubs;
    CPrikaz c(db, QStringLiteral("select ID, nazov from tkluby where skupina=?"), {competition});
    while (c.Step())
        clubs.insert(static_cast<int>(c.Int64(0)), LimitedText(c.Text(1), QStringLiteral("nazov")));
    const CMenaKlubov allClubs(db);
    QCollator order = SlovakCollator();
    std::stable_sort(scorers.begin(), scorers.end(), [&order](const CStrelec& x, const CStrelec& y) {
        if (x.goals != y.goals)
            return x.goals > y.goals;
        if (const int bySurname = order.compare(x.surname, y.surname))
            return bySurname < 0;
        return order.compare(x.name, y.name) < 0;
    });
    int position = 0;
    for (const CStrelec& s : scorers) {
        const QString club =
            clubs.contains(s.presentClub) ? clubs.value(s.presentClub) : allClubs.Name(s.lastClub);
        list.AddRow({QString::number(++position), QStringLiteral("%1 %2").arg(s.name, s.surname), club,
                     QString::number(s.goals)},
                    s.player);
    }
    return list;
}

CTlacStrelcov::CTlacStrelcov(CDatabaza& db, int competition)
    : m_db(db), m_competition(competition), m_list(TopScorersList(db, competition))
{
}

CTlacenaTabulka CTlacStrelcov::Table()
{
    // A rank shared by several scorers ("12.-15.") never wraps, a name and a club do.
    CTlacenaTabulka table;
    QVector<CTlacenaTabulka::CStlpec> columns;
    for (int c = 0; c < m_list.ColumnCount(); ++c)
        columns.append({m_list.columns.at(c).header, c == 0 || c == 3 ? Zarovnanie::Stred : Zarovnanie::Vlavo,
                        c == 1 || c == 2, c < 2});
    table.SetColumns(columns);
    // Fifty scorers a page under the header, as the list has always been printed.
    table.SetRowsPerPage(50, true);
    for (int r = 0; r < m_list.RowCount(); ++r)
        table.AddRow({CTlacenaTabulka::CDruh::Udaje, m_list.rows.at(r).cells});
    return table;
}

void CTlacStrelcov::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    if (m_competition != 0)
        t.TitleLine(TopScorersTitle(m_db, m_competition));
    if (season.exists) {
        t.SeasonLine(season.SeasonLine());
        t.RuledLine(season.AssociationLine());
    }
}

QString CTlacStrelcov::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}

std::optional<CMyExport> ExportTopScorers(CDatabaza& db, int competition)
{
    const CZoznam list = TopScorersList(db, competition);
    if (list.RowCount() == 0)
        return std::nullopt;
    const QString title = AfterLastPlayedRound(db, competition, TopScorersTitle(db, competition));
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), title, season.SeasonLine());
    page.BeginTable(4, QString());
    for (int c = 0; c < list.ColumnCount(); ++c)
        page.HeadCell(c, list.columns.at(c).header, list.columns.at(c).alignment, list.columns.at(c).width);
    for (const CRiadokZoznamu& row : list.rows)
        for (int c = 0; c < list.ColumnCount(); ++c)
            page.Cell(c, row.Cell(c), list.columns.at(c).alignment);
    page.EndTable();
    page.EndPage();
    return page;
}

QString CTlacStrelcov::FileTitle() const
{
    return ListFileTitle(QStringLiteral("strelci"), CompetitionName(m_db, m_competition));
}
