#include "karty.h"

#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "output/CQtPlocha.h"
#include "output/CTabulka.h"

#include "db/schema.h"
#include "db/slovencina.h"
#include "discipline/stopky.h"

#include <QCollator>

#include <algorithm>

QString CardTable(CDruhKariet kind)
{
    return kind == CDruhKariet::Zlte ? QStringLiteral("tzkarty") : QStringLiteral("tckarty");
}

int CStlpceKol::ColumnOfCard(int match, int round) const
{
    const auto it = matchColumn.constFind(match);
    if (it != matchColumn.constEnd())
        return *it;
    return firstColumn.value(round, -1);
}

CStlpceKol RoundColumns(CDatabaza& db, int competition)
{
    CStlpceKol columns;
    CPrikaz q(db, QStringLiteral("select ID, kolo from tzapasy where skupina=? order by cas, ID"),
              {competition});
    int previous = 0;
    while (q.Step()) {
        // A match without a round (another tool's text) stands in no column.
        const std::optional<int> round = KoloZUlozenia(q.Value(1));
        if (!round)
            continue;
        if (*round != previous) {
            columns.rounds.append(*round);
            if (!columns.firstColumn.contains(*round))
                columns.firstColumn.insert(*round, static_cast<int>(columns.rounds.size()) - 1);
        }
        previous = *round;
        columns.matchColumn.insert(static_cast<int>(q.Int64(0)), static_cast<int>(columns.rounds.size()) - 1);
    }
    return columns;
}

QVector<CPolozkaKlubu> CardClubItems(CDatabaza& db, int competition)
{
    QVector<CPolozkaKlubu> items = CompetitionClubs(db, competition);
    items.append({kVsetkyKluby, kVsetkyKlubyText});
    return items;
}

QVector<const CKartyHraca*> CKartySutaze::OfClub(int club) const
{
    QVector<const CKartyHraca*> out;
    for (const CKartyHraca& p : players)
        if (p.club == club)
            out.append(&p);
    return out;
}

CKartySutaze ReadCards(CDatabaza& db, int competition, CDruhKariet kind, const QVector<int>& thresholds)
{
    return ReadCards(db, CDisciplinaSutaze(db, competition, thresholds), competition, kind);
}

CKartySutaze ReadCards(CDatabaza& db, const CDisciplinaSutaze& discipline, int competition, CDruhKariet kind)
{
    CKartySutaze cards;
    cards.columns = RoundColumns(db, competition);
    const int columnCount = static_cast<int>(cards.columns.rounds.size());
    const bool yellow = kind == CDruhKariet::Zlte;
    for (const CDisciplinaSutaze::CHrac& h : discipline.Players()) {
        const QVector<CKartaVCase>& given = yellow ? h.yellow : h.red;
        const int withoutTime = yellow ? h.yellowWithoutTime : h.redWithoutTime;
        if (given.isEmpty() && withoutTime == 0)
            continue;
        CKartyHraca p;
        p.id = h.id;
        p.name = QStringLiteral("%1 %2").arg(h.meno, h.priezvisko);
        p.rc = h.rc;
        p.club = h.club;
        p.perColumn.fill(0, columnCount);
        p.forgivenPerColumn.fill(0, columnCount);
        p.missed.fill(false, columnCount);
        for (const CKartaVCase& card : given) {
            const int column = cards.columns.ColumnOfCard(card.match, card.round);
            if (column < 0)
                continue;
            if (yellow && h.yellowWalk.forgiven.contains(card.id))
                ++p.forgivenPerColumn[column];
            else
                ++p.perColumn[column];
        }
        p.total = (yellow ? h.yellowWalk.counted : static_cast<int>(given.size())) + withoutTime;
        if (yellow)
            for (const CZmeskanyZapas& stop : h.yellowWalk.stops)
                if (const int column = cards.columns.matchColumn.value(stop.match, -1); column >= 0)
                    p.missed[column] = true;
        cards.players.append(p);
    }
    const QCollator order = SlovakCollator();
    std::stable_sort(cards.players.begin(), cards.players.end(),
                     [&order](const CKartyHraca& x, const CKartyHraca& y) {
                         if (x.total != y.total)
                             return x.total > y.total;
                         return order.compare(x.name, y.name) < 0;
                     });
    return cards;
}

QString CardRegisterTitle(CDatabaza& db, int competition, CDruhKariet kind)
{
    return QStringLiteral("%1 - %2").arg(kind == CDruhKariet::Zlte ? QStringLiteral("Žlté karty")
                                                                   : QStringLiteral("Červené karty"),
                                         CompetitionName(db, competition));
}

namespace {

void AddClubRows(CZoznam& list, const CKartySutaze& cards, int club)
{
    const int columns = list.ColumnCount();
    const QVector<const CKartyHraca*> players = cards.OfClub(club);
    if (players.isEmpty()) {
        QStringList cells(columns, QString());
        cells[0] = QStringLiteral("-");
        cells[1] = QStringLiteral("čistý register");
        list.AddRow(cells, 0);
        return;
    }
    int n = 0;
    for (const CKartyHraca* p : players) {
        QStringList cells(columns, QString());
        cells[0] = QString::number(++n);
        cells[1] = p->name;
        cells[columns - 1] = QString::number(p->total);
        for (int i = 0; i < p->perColumn.size(); ++i) {
            const int count = p->perColumn.at(i);
            QString cell;
            if (p->missed.at(i))
                cell = count == 0 ? QStringLiteral("X") : QStringLiteral("X%1").arg(count);
            else if (count > 0 || p->forgivenPerColumn.at(i) == 0)
                cell = count == 0 ? QStringLiteral("-") : QString::number(count);
            if (p->forgivenPerColumn.at(i) > 0)
                cell += QStringLiteral("(%1)").arg(p->forgivenPerColumn.at(i));
            cells[2 + i] = cell;
        }
        list.AddRow(cells, p->id);
    }
}

} // namespace

CZoznam CardRegister(CDatabaza& db, int competition, int club, CDruhKariet kind,
                     const QVector<int>& thresholds)
{
    return CardRegister(db, CDisciplinaSutaze(db, competition, thresholds), competition, club, kind);
}

CZoznam CardRegister(CDatabaza& db, const CDisciplinaSutaze& discipline, int competition, int club,
                     CDruhKariet kind)
{
    const CKartySutaze cards = ReadCards(db, discipline, competition, kind);
    CZoznam list;
    list.AddColumn(QStringLiteral("#"), Zarovnanie::Vlavo, 20);
    list.AddColumn(QStringLiteral("Meno"), Zarovnanie::Vlavo, 150);
    for (int r : cards.columns.rounds)
        list.AddColumn(QString::number(r), Zarovnanie::Stred, 25);
    list.AddColumn(QStringLiteral("Spolu"), Zarovnanie::Stred, 50);
    if (club != kVsetkyKluby) {
        if (club != 0)
            AddClubRows(list, cards, club);
        return list;
    }
    // Every club of the competition, however many.
    for (const CPolozkaKlubu& c : CardClubItems(db, competition)) {
        if (c.id == kVsetkyKluby)
            continue;
        list.AddRow(QStringList(list.ColumnCount(), QString()), 0);
        QStringList title(list.ColumnCount(), QString());
        title[1] = c.nazov;
        list.AddRow(title, 0);
        AddClubRows(list, cards, c.id);
    }
    return list;
}

QVector<CHracStop> StopList(CDatabaza& db, int competition, int round, const QVector<int>& thresholds)
{
    const CDisciplinaSutaze discipline(db, competition, thresholds);
    QHash<int, QVector<const CDisciplinaSutaze::CHrac*>> byClub;
    for (const CDisciplinaSutaze::CHrac& p : discipline.Players())
        for (const CZmeskanyZapas& stop : p.yellowWalk.stops) {
            const CZapasVCase* m = discipline.Match(stop.match);
            if (m && m->round == round) {
                byClub[p.club].append(&p);
                break;
            }
        }
    QVector<CHracStop> entries;
    int index = 0;
    const QCollator order = SlovakCollator();
    for (const CPolozkaKlubu& c : CompetitionClubs(db, competition)) {
        QVector<const CDisciplinaSutaze::CHrac*> players = byClub.value(c.id);
        // Most cards first, as the register lists them.
        std::stable_sort(players.begin(), players.end(), [&order](const auto* x, const auto* y) {
            const int cx = x->yellowWalk.counted + x->yellowWithoutTime;
            const int cy = y->yellowWalk.counted + y->yellowWithoutTime;
            if (cx != cy)
                return cx > cy;
            return order.compare(x->meno + QLatin1Char(' ') + x->priezvisko,
                                 y->meno + QLatin1Char(' ') + y->priezvisko) < 0;
        });
        for (const auto* p : players)
            entries.append({index, c.nazov, QStringLiteral("%1 %2").arg(p->meno, p->priezvisko), p->rc,
                            QString::number(p->yellowWalk.counted + p->yellowWithoutTime)});
        ++index;
    }
    return entries;
}

CMyExport ExportStopList(CDatabaza& db, int competition, int round, const QVector<int>& thresholds)
{
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(),
                   QStringLiteral("Hráči, ktorí majú automatický stop za ŽK v %1. kole").arg(round),
                   QStringLiteral("%1 – %2").arg(CompetitionName(db, competition), season.SeasonLine()));
    const QVector<CHracStop> entries = StopList(db, competition, round, thresholds);
    if (entries.isEmpty()) {
        page.BeginTable(1, QString());
        page.Cell(0, QStringLiteral("V %1. kole nestojí žiadny hráč.").arg(round), Zarovnanie::Vlavo);
        page.EndTable();
    }
    int previousClub = -1;
    int number = 0;
    for (const CHracStop& e : entries) {
        if (e.clubIndex != previousClub) {
            if (previousClub != -1)
                page.EndTable();
            page.BeginTable(3, e.club);
            page.HeadCell(0, QStringLiteral("#"), Zarovnanie::Stred, 20);
            page.HeadCell(1, QStringLiteral("Hráč"), Zarovnanie::Vlavo, 250);
            page.HeadCell(2, QStringLiteral("Žlté karty"), Zarovnanie::Stred, 80);
            previousClub = e.clubIndex;
            number = 0;
        }
        page.Cell(0, QString::number(++number), Zarovnanie::Stred);
        page.Cell(1, e.name, Zarovnanie::Vlavo);
        page.Cell(2, e.total, Zarovnanie::Stred);
    }
    if (previousClub != -1)
        page.EndTable();
    page.EndPage();
    return page;
}

CTlacStopu::CTlacStopu(CDatabaza& db, int competition, int round, QVector<CHracStop> entries,
                       QString clubName)
    : m_db(db), m_competition(competition), m_round(round), m_clubName(std::move(clubName)),
      m_entries(std::move(entries))
{
}

CTlacenaTabulka CTlacStopu::Table()
{
    // Each club under its name (again on a page it goes on to), no row of column headers.
    CTlacenaTabulka table;
    table.SetColumns({{QStringLiteral("#"), Zarovnanie::Vlavo, false, true},
                      {QStringLiteral("Meno"), Zarovnanie::Vlavo, true, true},
                      {QStringLiteral("Rodné číslo"), Zarovnanie::Stred, false},
                      {QStringLiteral("Spolu"), Zarovnanie::Stred, false}});
    table.HideHeader();
    table.SetContinuedMark(QString::fromUtf8(kPokracovanie));
    table.SetLinesPerPage(kRiadkovNaStranu);
    int club = -1, number = 0;
    for (const CHracStop& e : m_entries) {
        if (e.clubIndex != club) {
            table.AddRow({CTlacenaTabulka::CDruh::Nadpis, {e.club}, 700});
            club = e.clubIndex;
            number = 0;
        }
        table.AddRow(
            {CTlacenaTabulka::CDruh::Udaje, {QStringLiteral("%1.").arg(++number), e.name, e.rc, e.total}});
    }
    return table;
}

void CTlacStopu::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.RuledLine(QStringLiteral("Zoznam hráčov, ktorý majú automatický stop za ŽK v %1.kole").arg(m_round));
    t.HeadingLine(season.SeasonLine(), 1);
    const QString competition = CompetitionName(m_db, m_competition);
    t.HeadingLine(
        m_clubName.isEmpty()
            ? QStringLiteral("%1 – %2. kolo").arg(competition, QString::number(m_round))
            : QStringLiteral("%1 – %2. kolo – %3").arg(competition, QString::number(m_round), m_clubName),
        0);
    if (m_entries.isEmpty()) {
        t.AddColumn(QStringLiteral(" V 100.kole nestojí žiadny hráč "), Zarovnanie::Vlavo);
        t.SetBorders(false, false, false, false);
        t.GridCellEx(0, 0, QStringLiteral("V %1.kole nestojí žiadny hráč").arg(m_round), Zarovnanie::Vlavo,
                     400, false);
    }
}

QString CTlacStopu::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}

CTlacKariet::CTlacKariet(CDatabaza& db, int competition, int club, CDruhKariet kind, CZoznam list)
    : m_db(db), m_competition(competition), m_club(club), m_kind(kind), m_list(std::move(list))
{
}

QString CTlacKariet::DocumentName() const
{
    return m_kind == CDruhKariet::Zlte ? QStringLiteral("Žlté karty") : QStringLiteral("Červené karty");
}

void CTlacKariet::Heading(CTabulka& t)
{
    const bool yellow = m_kind == CDruhKariet::Zlte;
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
}

QString CTlacKariet::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
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

void Amnesty(CDatabaza& db, const QDate& day, int competition, bool all, int count)
{
    if (!all && count < 1)
        return;
    // The record forgives cards all over the season: it goes only into a season that is sound.
    db.CheckBeforeBulkWrite();
    db.Execute(QStringLiteral("insert into %1 (datum, vsetky, pocet, skupina) values (?, ?, ?, ?)")
                   .arg(kTabulkaAmnestii),
               {DatumNaUlozenie(CasSezony(day)), all ? 1 : 0, all ? 0 : count, competition});
}

std::optional<int> AmnestyCountFromText(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

QString AmnestyAllMessage(const QString& competition)
{
    const QString done = QStringLiteral("ZK karty hráčov boli vymazané");
    return competition.isEmpty() ? done : done + QStringLiteral(" v súťaži %1").arg(competition);
}

QString AmnestyCountMessage(int count, const QString& competition)
{
    // The count holds in each competition apart, as the registers count cards.
    return QStringLiteral("Každému hráčovi boli vymazané ŽK v počte: %1 %2")
        .arg(count)
        .arg(competition.isEmpty() ? QStringLiteral("v každej súťaži")
                                   : QStringLiteral("v súťaži %1").arg(competition));
}

QString CTlacStopu::FileTitle() const
{
    return ListFileTitle(QStringLiteral("zk-stop"), CompetitionName(m_db, m_competition),
                         QStringLiteral("%1. kolo %2").arg(m_round).arg(m_clubName).trimmed());
}

QString CTlacKariet::FileTitle() const
{
    const QString club = m_club == kVsetkyKluby ? QString() : CMenaKlubov(m_db).Name(m_club);
    return ListFileTitle(m_kind == CDruhKariet::Zlte ? QStringLiteral("zk") : QStringLiteral("ck"),
                         CompetitionName(m_db, m_competition), club);
}
