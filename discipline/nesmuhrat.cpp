#include "nesmuhrat.h"

#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/schema.h"
#include "db/slovencina.h"
#include "discipline/stopky.h"
#include "output/CQtPlocha.h"
#include "output/CTabulka.h"

#include <QCollator>

#include <algorithm>

namespace {

QString KickOffText(const QDateTime& kickOff)
{
    if (!kickOff.isValid())
        return {};
    const QString time = CasTextom(kickOff);
    return time.isEmpty() ? DenTextom(kickOff.date()) : DenTextom(kickOff.date()) + QLatin1Char(' ') + time;
}

} // namespace

QString BanReason(const QDate& until)
{
    return QStringLiteral("Zákaz činnosti do %1").arg(DenTextom(until));
}

QVector<CNesmieHrat> PlayersWhoMayNotPlay(CDatabaza& db, int competition, int round, int club,
                                          const QVector<int>& thresholds)
{
    return PlayersWhoMayNotPlay(db, CDisciplinaSutaze(db, competition, thresholds), round, club);
}

QVector<CNesmieHrat> PlayersWhoMayNotPlay(CDatabaza& db, const CDisciplinaSutaze& discipline, int round,
                                          int club)
{
    const int competition = discipline.Competition();
    const CMenaKlubov names(db);
    // The clubs' matches of the round, each once: a club may play twice in a round another tool wrote.
    QHash<int, QVector<const CZapasVCase*>> matchesOf;
    for (const CZapasVCase& m : discipline.Matches())
        if (m.round == round && m.Serves())
            for (const int side : {m.home, m.away})
                if (discipline.Clubs().contains(side))
                    matchesOf[side].append(&m);

    QHash<QPair<int, int>, int> rowOf; // (player, match) -> row
    QVector<CNesmieHrat> rows;
    const auto row = [&](int player, int playerClub, const QString& meno, const QString& priezvisko,
                         const QString& rc, const CZapasVCase& m) -> CNesmieHrat& {
        const QPair<int, int> key(player, m.id);
        auto it = rowOf.constFind(key);
        if (it == rowOf.constEnd()) {
            CNesmieHrat r;
            r.club = playerClub;
            r.player = player;
            r.meno = meno;
            r.priezvisko = priezvisko;
            r.rc = rc;
            r.match = m.id;
            r.matchText = QStringLiteral("%1 – %2").arg(names.Name(m.home), names.Name(m.away));
            r.kickOff = m.kickOff;
            it = rowOf.insert(key, static_cast<int>(rows.size()));
            rows.append(r);
        }
        return rows[*it];
    };
    const auto wanted = [&](int playerClub) { return club == kVsetkyKluby || playerClub == club; };

    for (const CDisciplinaSutaze::CHrac& p : discipline.Players()) {
        if (!wanted(p.club))
            continue;
        const auto add = [&](const QVector<CZmeskanyZapas>& stops, bool yellow) {
            for (const CZmeskanyZapas& s : stops) {
                const CZapasVCase* m = discipline.Match(s.match);
                if (!m || m->round != round)
                    continue;
                row(p.id, p.club, p.meno, p.priezvisko, p.rc, *m)
                    .reasons.append(yellow ? YellowCardReason(s.cause) : RedCardReason(s.cause));
            }
        };
        add(p.yellowWalk.stops, true);
        add(p.redStops, false);
    }
    for (const CDisciplinaSutaze::CPrenesenyHrac& p : discipline.Carried()) {
        if (!wanted(p.club))
            continue;
        for (const CZmeskanyZapas& s : p.stops)
            if (const CZapasVCase* m = discipline.Match(s.match); m && m->round == round)
                row(p.id, p.club, p.meno, p.priezvisko, p.rc, *m).reasons.append(CarriedReason(p.season));
    }

    // Bans of the player register: the day itself included. A ban date that is no date at all (one
    // another tool wrote as 30 February) bans nobody.
    CPrikaz q(db,
              QStringLiteral("select ID, meno, priezvisko, RC, IDklubu, \"do\" from thraci where "
                             "ifnull(IDold,0)=0 and IDklubu in (select ID from tkluby where skupina=?) and "
                             "\"do\">?"),
              {competition, DatumNaUlozenie(ZiadnyDatum())});
    while (q.Step()) {
        const int playerClub = static_cast<int>(q.Int64(4));
        if (!wanted(playerClub))
            continue;
        const QDateTime until = DatumZUlozenia(q.Text(5));
        if (JeZiadnyDatum(until))
            continue;
        for (const CZapasVCase* m : matchesOf.value(playerClub))
            if (m->kickOff.date() <= until.date())
                row(static_cast<int>(q.Int64(0)), playerClub, LimitedText(q.Text(1), QStringLiteral("meno")),
                    LimitedText(q.Text(2), QStringLiteral("priezvisko")),
                    LimitedText(q.Text(3), QStringLiteral("RC")), *m)
                    .reasons.append(BanReason(until.date()));
    }

    // Clubs by drawn number, players by surname and first name.
    QHash<int, int> clubOrder;
    for (const CPolozkaKlubu& c : CompetitionClubs(db, competition)) {
        clubOrder.insert(c.id, static_cast<int>(clubOrder.size()));
        for (CNesmieHrat& r : rows)
            if (r.club == c.id)
                r.clubName = c.nazov;
    }
    const QCollator order = SlovakCollator();
    std::stable_sort(rows.begin(), rows.end(), [&](const CNesmieHrat& a, const CNesmieHrat& b) {
        if (a.club != b.club)
            return clubOrder.value(a.club) < clubOrder.value(b.club);
        if (const int c = order.compare(a.priezvisko, b.priezvisko); c != 0)
            return c < 0;
        if (const int c = order.compare(a.meno, b.meno); c != 0)
            return c < 0;
        return a.kickOff < b.kickOff;
    });
    return rows;
}

QString NobodyText(int round)
{
    if (round <= 0)
        return kRozpisEsteNie;
    return QStringLiteral("V %1. kole nemá zákaz hrať žiadny hráč.").arg(round);
}

QString MayNotPlayTitle(CDatabaza& db, int competition, int round)
{
    const QString name = CompetitionName(db, competition);
    if (round <= 0)
        return QStringLiteral("%1 - %2").arg(kNesmuHratText, name);
    return QStringLiteral("%1 - %2 - %3. kolo").arg(kNesmuHratText, name, QString::number(round));
}

CZoznam MayNotPlayList(CDatabaza& db, int competition, int round, int club, const QVector<int>& thresholds)
{
    CZoznam list;
    list.AddColumn(QStringLiteral("#"), Zarovnanie::Vlavo, 25);
    list.AddColumn(QStringLiteral("Meno"), Zarovnanie::Vlavo, 170);
    list.AddColumn(QStringLiteral("Rodné číslo"), Zarovnanie::Stred, 90);
    list.AddColumn(QStringLiteral("Dôvod"), Zarovnanie::Vlavo, 170);
    list.AddColumn(QStringLiteral("Zápas"), Zarovnanie::Vlavo, 300);
    list.AddColumn(QStringLiteral("Dátum"), Zarovnanie::Vlavo, 120);
    const QVector<CNesmieHrat> rows = PlayersWhoMayNotPlay(db, competition, round, club, thresholds);
    const auto entry = [&list](const CNesmieHrat& r, int n) {
        list.AddRow({QString::number(n), QStringLiteral("%1 %2").arg(r.priezvisko, r.meno), r.rc,
                     r.reasons.join(QStringLiteral(", ")), r.matchText, KickOffText(r.kickOff)},
                    r.player);
    };
    if (club != kVsetkyKluby) {
        int n = 0;
        for (const CNesmieHrat& r : rows)
            entry(r, ++n);
        return list;
    }
    // The clubs that have someone, each under its name; a round without anyone says so.
    if (rows.isEmpty()) {
        QStringList none(list.ColumnCount(), QString());
        none[0] = QStringLiteral("-");
        none[1] = NobodyText(round);
        list.AddRow(none, 0);
        return list;
    }
    int shown = -1;
    int n = 0;
    for (const CNesmieHrat& r : rows) {
        if (r.club != shown) {
            list.AddRow(QStringList(list.ColumnCount(), QString()), 0);
            QStringList title(list.ColumnCount(), QString());
            title[1] = r.clubName;
            list.AddRow(title, 0);
            shown = r.club;
            n = 0;
        }
        entry(r, ++n);
    }
    return list;
}

CMyExport ExportMayNotPlay(CDatabaza& db, int competition, int round, int club,
                           const QVector<int>& thresholds, bool birthNumbers)
{
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), MayNotPlayTitle(db, competition, round),
                   QStringLiteral("%1 – %2").arg(CompetitionName(db, competition), season.SeasonLine()));
    const QVector<CNesmieHrat> rows = PlayersWhoMayNotPlay(db, competition, round, club, thresholds);
    QVector<QStringList> csv;
    csv.append({QStringLiteral("Klub"), QStringLiteral("Meno"), QStringLiteral("Priezvisko"),
                QStringLiteral("Rodné číslo"), QStringLiteral("Dôvod"), QStringLiteral("Zápas"),
                QStringLiteral("Dátum"), QStringLiteral("Čas")});
    if (rows.isEmpty()) {
        page.BeginTable(1, QString());
        page.Cell(0, NobodyText(round), Zarovnanie::Vlavo);
        page.EndTable();
    }
    const int columns = birthNumbers ? 6 : 5;
    int previousClub = -1;
    int number = 0;
    for (const CNesmieHrat& r : rows) {
        if (r.club != previousClub) {
            if (previousClub != -1)
                page.EndTable();
            page.BeginTable(columns, r.clubName);
            int c = 0;
            page.HeadCell(c++, QStringLiteral("#"), Zarovnanie::Stred, 20);
            page.HeadCell(c++, QStringLiteral("Hráč"), Zarovnanie::Vlavo, 200);
            if (birthNumbers)
                page.HeadCell(c++, QStringLiteral("Rodné číslo"), Zarovnanie::Stred, 100);
            page.HeadCell(c++, QStringLiteral("Dôvod"), Zarovnanie::Vlavo, 180);
            page.HeadCell(c++, QStringLiteral("Zápas"), Zarovnanie::Vlavo, 250);
            page.HeadCell(c++, QStringLiteral("Dátum"), Zarovnanie::Vlavo, 110);
            previousClub = r.club;
            number = 0;
        }
        int c = 0;
        page.Cell(c++, QString::number(++number), Zarovnanie::Stred);
        page.Cell(c++, QStringLiteral("%1 %2").arg(r.meno, r.priezvisko), Zarovnanie::Vlavo);
        if (birthNumbers)
            page.Cell(c++, r.rc, Zarovnanie::Stred);
        page.Cell(c++, r.reasons.join(QStringLiteral(", ")), Zarovnanie::Vlavo);
        page.Cell(c++, r.matchText, Zarovnanie::Vlavo);
        page.Cell(c++, KickOffText(r.kickOff), Zarovnanie::Vlavo);
        csv.append({r.clubName, r.meno, r.priezvisko, birthNumbers ? r.rc.trimmed() : QString(),
                    r.reasons.join(QStringLiteral(", ")), r.matchText,
                    r.kickOff.date().toString(QStringLiteral("yyyy-MM-dd")), CasTextom(r.kickOff)});
    }
    if (previousClub != -1)
        page.EndTable();
    page.EndPage();
    page.SetCsvRows(csv);
    return page;
}

CTlacNesmuHrat::CTlacNesmuHrat(CDatabaza& db, int competition, int round, CZoznam list)
    : m_db(db), m_competition(competition), m_round(round), m_list(std::move(list))
{
}

void CTlacNesmuHrat::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.TitleLine(MayNotPlayTitle(m_db, m_competition, m_round));
    t.SeasonLine(season.SeasonLine());
    t.RuledLine(season.AssociationLine());
}

QString CTlacNesmuHrat::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}

QString CTlacNesmuHrat::FileTitle() const
{
    return ListFileTitle(QStringLiteral("nesmu-hrat"), CompetitionName(m_db, m_competition),
                         QStringLiteral("%1. kolo").arg(m_round));
}
