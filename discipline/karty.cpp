#include "karty.h"

#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "output/CTabulka.h"

#include <QSet>

QString CardTable(CDruhKariet kind)
{
    return kind == CDruhKariet::Zlte ? QStringLiteral("tzkarty") : QStringLiteral("tckarty");
}

QVector<int> RoundColumns(CDatabaza& db, int competition)
{
    QVector<int> rounds;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select kolo from tzapasy where skupina=? order by cas, ID"), {competition});
    int previous = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int kolo = rs.GetInt(QStringLiteral("kolo"));
        if (kolo != previous)
            rounds.append(kolo);
        previous = kolo;
    }
    return rounds;
}

QVector<CPolozkaKlubuKariet> CardClubItems(CDatabaza& db, int competition)
{
    QVector<CPolozkaKlubuKariet> items;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where skupina=?"), {competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        items.append({rs.GetInt(QStringLiteral("ID")), rs.GetText(QStringLiteral("nazov"))});
    items.append({kVsetkyKluby, kVsetkyKlubyText});
    return items;
}

QVector<CStlpecHraca> WalkPlayer(const QVector<int>& roundColumns, const QHash<int, int>& cardsByRound,
                                 const QVector<int>& thresholds)
{
    QVector<CStlpecHraca> out;
    out.reserve(roundColumns.size());
    int total = 0, lastTriggered = 0, pending = 0;
    QSet<int> counted;
    for (int round : roundColumns) {
        CStlpecHraca column;
        // A round with a second column (a postponed match) counts its cards once, in its first column.
        if (!counted.contains(round)) {
            column.cards = cardsByRound.value(round);
            counted.insert(round);
        }
        total += column.cards;
        if (pending > 0) {
            --pending;
            column.suspended = true;
        }
        const int k = static_cast<int>(thresholds.indexOf(total));
        if (k >= 0 && total != lastTriggered) {
            lastTriggered = total;
            pending = k + 1;
        }
        out.append(column);
    }
    return out;
}

QString CardRegisterTitle(CDatabaza& db, int competition, CDruhKariet kind)
{
    return QStringLiteral("%1 - %2").arg(kind == CDruhKariet::Zlte ? QStringLiteral("Žlté karty")
                                                                   : QStringLiteral("Červené karty"),
                                         CompetitionName(db, competition));
}

namespace {

struct CHracKariet
{
    int id;
    QString name;
    QString rc;
    int total;
};

QVector<CHracKariet> CardedPlayers(CDatabaza& db, int club, CDruhKariet kind)
{
    QVector<CHracKariet> out;
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "SELECT thraci.ID,thraci.meno,thraci.priezvisko,thraci.RC,Count(%1.IDhraca) as pocet FROM "
                "thraci,%1 WHERE thraci.ID=%1.IDhraca and thraci.IDklubu=? GROUP BY thraci.ID,thraci.meno,"
                "thraci.priezvisko,%1.IDhraca,thraci.RC ORDER BY Count(%1.IDhraca) DESC")
                .arg(CardTable(kind)),
            {club});
    for (; !rs.IsEOF(); rs.MoveNext())
        out.append({rs.GetInt(QStringLiteral("ID")),
                    QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                                rs.GetText(QStringLiteral("priezvisko"))),
                    rs.GetText(QStringLiteral("RC")), rs.GetInt(QStringLiteral("pocet"))});
    return out;
}

QHash<int, int> CardsByRound(CDatabaza& db, int player, CDruhKariet kind)
{
    QHash<int, int> cards;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select kolo, count(ID) as pocet from %1 where IDhraca=? group by kolo")
                .arg(CardTable(kind)),
            {player});
    for (; !rs.IsEOF(); rs.MoveNext())
        cards.insert(rs.GetInt(QStringLiteral("kolo")), rs.GetInt(QStringLiteral("pocet")));
    return cards;
}

void AddClubRows(CDatabaza& db, CZoznam& list, int club, CDruhKariet kind, const QVector<int>& rounds,
                 const QVector<int>& thresholds)
{
    const int columns = list.ColumnCount();
    const QVector<CHracKariet> players = CardedPlayers(db, club, kind);
    if (players.isEmpty()) {
        QStringList cells(columns, QString());
        cells[0] = QStringLiteral("-");
        cells[1] = QStringLiteral("čistý register");
        list.AddRow(cells, 0);
        return;
    }
    const QVector<int> noRule;
    int n = 0;
    for (const CHracKariet& p : players) {
        QStringList cells(columns, QString());
        cells[0] = QString::number(++n);
        cells[1] = p.name;
        cells[columns - 1] = QString::number(p.total);
        const QVector<CStlpecHraca> walk =
            WalkPlayer(rounds, CardsByRound(db, p.id, kind), kind == CDruhKariet::Zlte ? thresholds : noRule);
        for (int i = 0; i < walk.size(); ++i) {
            const int cards = walk.at(i).cards;
            QString cell = cards == 0 ? QStringLiteral("-") : QString::number(cards);
            if (walk.at(i).suspended)
                cell = cards == 0 ? QStringLiteral("X") : QStringLiteral("X%1").arg(cards);
            cells[2 + i] = cell;
        }
        list.AddRow(cells, p.id);
    }
}

} // namespace

CZoznam CardRegister(CDatabaza& db, int competition, int club, CDruhKariet kind,
                     const QVector<int>& thresholds)
{
    const QVector<int> rounds = RoundColumns(db, competition);
    CZoznam list;
    list.AddColumn(QStringLiteral("#"), Zarovnanie::Vlavo, 20);
    list.AddColumn(QStringLiteral("Meno"), Zarovnanie::Vlavo, 150);
    for (int r : rounds)
        list.AddColumn(QString::number(r), Zarovnanie::Stred, 25);
    list.AddColumn(QStringLiteral("Spolu"), Zarovnanie::Stred, 50);
    if (club != kVsetkyKluby) {
        if (club != 0)
            AddClubRows(db, list, club, kind, rounds, thresholds);
        return list;
    }
    // Every club of the competition, however many.
    for (const CPolozkaKlubuKariet& c : CardClubItems(db, competition)) {
        if (c.id == kVsetkyKluby)
            continue;
        list.AddRow(QStringList(list.ColumnCount(), QString()), 0);
        QStringList title(list.ColumnCount(), QString());
        title[1] = c.nazov;
        list.AddRow(title, 0);
        AddClubRows(db, list, c.id, kind, rounds, thresholds);
    }
    return list;
}

QVector<CHracStop> StopList(CDatabaza& db, int competition, int round, const QVector<int>& thresholds)
{
    const QVector<int> rounds = RoundColumns(db, competition);
    QVector<CHracStop> entries;
    int index = 0;
    for (const CPolozkaKlubuKariet& c : CardClubItems(db, competition)) {
        if (c.id == kVsetkyKluby)
            continue;
        for (const CHracKariet& p : CardedPlayers(db, c.id, CDruhKariet::Zlte)) {
            const QVector<CStlpecHraca> walk =
                WalkPlayer(rounds, CardsByRound(db, p.id, CDruhKariet::Zlte), thresholds);
            for (int i = 0; i < walk.size(); ++i)
                if (walk.at(i).suspended && rounds.at(i) == round) {
                    entries.append({index, c.nazov, p.name, p.rc, QString::number(p.total)});
                    break;
                }
        }
        ++index;
    }
    return entries;
}

CTlacStopu::CTlacStopu(CDatabaza& db, int round, QVector<CHracStop> entries, QString clubName)
    : m_db(db), m_round(round), m_clubName(std::move(clubName))
{
    int previousClub = -1;
    int number = 0;
    for (const CHracStop& e : entries) {
        if (e.clubIndex != previousClub) {
            m_lines.append({true, {e.club}});
            previousClub = e.clubIndex;
            number = 0;
        }
        m_lines.append({false, {QStringLiteral("%1.").arg(++number), e.name, e.rc, e.total}});
    }
}

int CTlacStopu::PageCount()
{
    return std::max(1, (static_cast<int>(m_lines.size()) + kRiadkovNaStranu - 1) / kRiadkovNaStranu);
}

void CTlacStopu::DrawPage(CPlocha& surface, int page)
{
    CTabulka t(surface);
    t.SetLeftMargin(500);
    t.SetCellFontHeight(150);
    t.AddColumn(QStringLiteral("10."), Zarovnanie::Vlavo);
    t.AddColumn(QStringLiteral(" Meno Priezvisko   "), Zarovnanie::Vlavo);
    t.AddColumn(QStringLiteral(" 123456/7890 "), Zarovnanie::Stred);
    t.AddColumn(QStringLiteral(" 71 "), Zarovnanie::Stred);
    const CHlavicka season = CHlavicka::Read(m_db);
    t.RuledLine(QStringLiteral("Zoznam hráčov, ktorý majú automatický stop za ŽK v %1.kole").arg(m_round));
    t.HeadingLine(season.SeasonLine(), 1);
    if (!m_clubName.isEmpty())
        t.HeadingLine(m_clubName, 0);
    if (m_lines.isEmpty()) {
        t.SetBorders(false, false, false, false);
        t.GridCellEx(0, 0, QStringLiteral("V %1.kole nestojí žiadny hráč").arg(m_round), Zarovnanie::Vlavo,
                     400, false);
    }
    const int first = (page - 1) * kRiadkovNaStranu;
    const int last = std::min(static_cast<int>(m_lines.size()), page * kRiadkovNaStranu);
    for (int i = first; i < last; ++i) {
        const CRiadok& line = m_lines.at(i);
        const int row = i - first;
        if (line.clubLine) {
            t.SetBorders(false, false, false, false);
            t.GridCellEx(row, 0, line.cells.at(0), Zarovnanie::Vlavo, 700, false);
            continue;
        }
        for (int c = 0; c < line.cells.size(); ++c)
            t.GridCellEx(row, c, line.cells.at(c), c >= 2 ? Zarovnanie::Stred : Zarovnanie::Vlavo, 400);
    }
    t.PageFoot(season.AssociationLine(), page, PageCount());
}

CTlacKariet::CTlacKariet(CDatabaza& db, int competition, int club, CDruhKariet kind, CZoznam list)
    : m_db(db), m_competition(competition), m_club(club), m_kind(kind), m_list(std::move(list))
{
}

QString CTlacKariet::DocumentName() const
{
    return m_kind == CDruhKariet::Zlte ? QStringLiteral("Žlté karty") : QStringLiteral("Červené karty");
}

int CTlacKariet::PageCount()
{
    return CTabulka::GroupedPageCount(m_list);
}

void CTlacKariet::DrawPage(CPlocha& surface, int page)
{
    CTabulka t(surface);
    const bool yellow = m_kind == CDruhKariet::Zlte;
    if (yellow) {
        t.SetLeftMargin(500);
        t.SetCellFontHeight(120);
    }
    const QString kind = yellow ? QStringLiteral("Žlté karty") : QStringLiteral("Červené karty");
    const QString competition = CompetitionName(m_db, m_competition);
    QString club;
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from tkluby where skupina=? and ID=?"), {m_competition, m_club});
    if (!rs.IsEOF())
        club = rs.GetText(QStringLiteral("nazov"));
    if (!club.isEmpty())
        t.TitleLine(QStringLiteral("%1 - %2 (%3)").arg(kind, club, competition));
    else if (yellow)
        t.TitleLine(QStringLiteral("%1 - %2").arg(kind, competition));
    else
        t.TitleLine(QStringLiteral("%1 - (%2)").arg(kind, competition));
    const CHlavicka season = CHlavicka::Read(m_db);
    if (season.exists) {
        t.SeasonLine(season.SeasonLine());
        t.RuledLine(season.AssociationLine());
    }
    t.PrintList(page, m_list);
    t.PageFoot(season.AssociationLine(), page, PageCount());
}

CMyExport ExportCards(CDatabaza& db, int competition, const QString& clubText, CDruhKariet kind,
                      const CZoznam& list)
{
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), CardRegisterTitle(db, competition, kind), season.SeasonLine());
    page.ExportList(list, clubText);
    page.EndPage();
    return page;
}

void AmnestyAll(CDatabaza& db)
{
    db.Execute(QStringLiteral("delete from tzkarty"));
}

void AmnestyCount(CDatabaza& db, int count)
{
    if (count <= 0)
        return;
    // Each player's oldest cards go first: the rows in the order they were entered.
    QVector<int> doomed;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("SELECT * FROM tzkarty ORDER BY IDhraca, ID"));
    int previous = 0, counter = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int player = rs.GetInt(QStringLiteral("IDhraca"));
        if (player != previous)
            counter = 0;
        previous = player;
        if (counter < count)
            doomed.append(rs.GetInt(QStringLiteral("ID")));
        ++counter;
    }
    rs.Close();
    CTransakcia transaction(db);
    CPrikaz remove(db, QStringLiteral("delete from tzkarty where ID=?"));
    for (int id : doomed)
        remove.Execute({id});
    transaction.Commit();
}

QString AmnestyCountMessage(int count)
{
    return QStringLiteral("Každému hráčovi boli vymazané ŽK v počte: %1 ").arg(count);
}
