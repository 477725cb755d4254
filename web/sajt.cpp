#include "sajt.h"

#include "nahravanie.h"

#include "competition/CZapas.h"
#include "competition/kalendar.h"
#include "competition/kluby.h"
#include "competition/odstupenie.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/nastaveniasezony.h"
#include "db/schema.h"
#include "db/slovencina.h"
#include "discipline/karty.h"
#include "discipline/nesmuhrat.h"
#include "discipline/stopky.h"
#include "officials/nominacie.h"
#include "results/strelci.h"
#include "results/tabulka.h"
#include "results/vysledky.h"
#include "web/stranka.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

struct COdkaz
{
    QString file;
    QString label;
};

// A match without a day: postponed when the others of its round have one, else not given a day yet.
const QString kOdlozenyBezTerminu = QStringLiteral("odložený, termín neurčený");
const QString kTerminNeurceny = QStringLiteral("termín neurčený");
const QString kKlubyWebu = QStringLiteral("kluby.html");

QString OfficialFile(int official)
{
    return QStringLiteral("rozhodca-%1.html").arg(official);
}

QString DayOf(const CZapas& z)
{
    return JeZiadnyDatum(z.kickOff) ? QString() : DenTextom(z.kickOff.date());
}

// A match that can be next: unplayed, between two clubs, with a day.
bool IsComing(const CZapas& z)
{
    return z.homeClub != 0 && z.awayClub != 0 && !MaVysledok(z.homeScore, z.awayScore) &&
           !JeZiadnyDatum(z.kickOff);
}

QString Score(const CZapas& z)
{
    if (!MaVysledok(z.homeScore, z.awayScore))
        return {};
    // A reader does not know the print's "k": a forfeit reads as the score it counts for.
    if (z.homeScore == kKontumacia || z.awayScore == kKontumacia)
        return QStringLiteral("%1:%2 kont.")
            .arg(z.homeScore == kKontumacia ? 0 : kKontumacneGoly)
            .arg(z.awayScore == kKontumacia ? 0 : kKontumacneGoly);
    return QStringLiteral("%1:%2").arg(SkoreTextom(z.homeScore), SkoreTextom(z.awayScore));
}

QString HalfTime(const CZapas& z)
{
    if (z.homeHalfTime == kBezVysledku || z.awayHalfTime == kBezVysledku)
        return {};
    return QStringLiteral("(%1:%2)").arg(PolcasTextom(z.homeHalfTime), PolcasTextom(z.awayHalfTime));
}

QString Note(const QString& text)
{
    return text == QStringLiteral(" ") ? QString() : text.trimmed();
}

// The site's navigation: the association and the season's clubs, the competition, the lists of where the
// reader is.
QString Navigation(const QString& association, const COdkaz& competition, const QVector<COdkaz>& lists,
                   const QString& current)
{
    QString html = QStringLiteral("<nav><ul><li class=\"cesta\">%1</li>")
                       .arg(CStrankaWebu::Link(QStringLiteral("index.html"), association));
    html += current == kKlubyWebu ? QStringLiteral("<li><b>Všetky kluby</b></li>")
                                  : QStringLiteral("<li>%1</li>")
                                        .arg(CStrankaWebu::Link(kKlubyWebu, QStringLiteral("Všetky kluby")));
    if (!competition.file.isEmpty())
        html += QStringLiteral("<li class=\"cesta\">%1</li>")
                    .arg(CStrankaWebu::Link(competition.file, competition.label));
    html += QStringLiteral("</ul>");
    if (!lists.isEmpty()) {
        html += QStringLiteral("<ul>");
        for (const COdkaz& l : lists)
            html += l.file == current
                        ? QStringLiteral("<li><b>%1</b></li>").arg(CStrankaWebu::Escape(l.label))
                        : QStringLiteral("<li>%1</li>").arg(CStrankaWebu::Link(l.file, l.label));
        html += QStringLiteral("</ul>");
    }
    return html + QStringLiteral("</nav>");
}

QString Webcal(const QString& site, const QString& file)
{
    QString url = site + QLatin1Char('/') + file;
    const qsizetype scheme = url.indexOf(QStringLiteral("://"));
    return QStringLiteral("webcal") + (scheme >= 0 ? url.mid(scheme) : QStringLiteral("://") + url);
}

// Everything the pages of one competition show, read once.
struct CSutazWebu
{
    CSutaz competition;
    QVector<CPolozkaKlubu> clubs;
    QVector<QVector<CZapas>> rounds;
    CZoznam standings;
    QStringList tieNotes;
    QVector<QPair<int, QString>> sanctions; // club, "−3 b. (DK 10/2025)"
    std::optional<int> next;
    std::optional<int> latest;
    QString file(const char* list) const { return CompetitionPageFile(competition.id, QLatin1String(list)); }
    QString calendarFile() const { return QStringLiteral("sutaz-%1.ics").arg(competition.id); }
};

struct COficial
{
    int id = 0;
    QString name;
    int funkcia = 0;
    int competition = 0;
};

} // namespace

namespace {

// Hands each file on as soon as it is made, its time put in: a site is never whole in memory.
class CVydajWebu
{
public:
    CVydajWebu(const CPrijemcaWebu& take, const QDateTime& stamp) : m_take(take), m_stamp(stamp) {}
    void Add(CSuborWebu file)
    {
        if (!m_error.isEmpty())
            return;
        StampFile(file, m_stamp);
        m_error = m_take(file);
    }
    QString m_error;

private:
    const CPrijemcaWebu& m_take;
    QDateTime m_stamp;
};

} // namespace

QString MakeSite(CDatabaza& db, const QVector<int>& thresholds, const QDateTime& stamp,
                 const CPrijemcaWebu& take, const CPriebehWebu& progress, bool* stopped)
{
    if (stopped)
        *stopped = false;
    const CHlavicka season = CHlavicka::Read(db);
    const QString association = season.zvaz.isEmpty() ? QStringLiteral("Prehľad sezóny") : season.zvaz;
    const QDateTime local = stamp.toLocalTime();
    // Each page says when its own content last changed: the time goes in when the site is written.
    const QString updated = kZnackaAktualizacie;
    const QString site = SiteAddress(db);
    const bool contacts = PublishClubContacts(db);
    const QString seasonId = SeasonIdentifier(db);
    const CMenaKlubov names(db);
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    const QVector<CSutaz> competitionList = ReadCompetitions(db);
    const QDate today = local.date();

    CVydajWebu files(take, stamp);
    int done = 0;
    const int total = static_cast<int>(competitionList.size()) + 2;
    const auto step = [&] { return files.m_error.isEmpty() && (!progress || progress(++done, total)); };
    const auto stop = [&] {
        if (stopped)
            *stopped = files.m_error.isEmpty();
        return files.m_error;
    };
    CRevizieKalendara revisions(db, stamp);
    const auto calendar = [&](const QString& name, const QString& title, const QVector<CUdalost>& events) {
        files.Add({name, CalendarBytes(title, events, stamp)});
    };

    const auto offMatch = [&](const CZapas& z) {
        for (const int club : {z.homeClub, z.awayClub}) {
            const auto w = withdrawals.constFind(club);
            if (w != withdrawals.constEnd() &&
                MatchIsOff(*w, z.kickOff, MaVysledok(z.homeScore, z.awayScore)))
                return true;
        }
        return false;
    };

    // Competitions first: the first page shows what they hold.
    QVector<CSutazWebu> competitions;
    QHash<int, const CZapas*> matchById;
    QHash<int, QString> competitionName;
    for (const CSutaz& s : competitionList) {
        competitionName.insert(s.id, s.nazov);
        CSutazWebu c;
        c.competition = s;
        c.clubs = CompetitionClubs(db, s.id);
        c.rounds = MatchesByRound(db, s.id, kVsetkyKola);
        c.standings = StandingsList(db, s.id);
        c.tieNotes = StandingsNotes(db, s.id);
        CPrikaz q(db,
                  QStringLiteral(
                      "select tkluby.nazov, tbody.btrest, tbody.trest, tkluby.ID from tbody join tkluby on "
                      "tkluby.ID=tbody.IDklubu "
                      "where tbody.skupina=? and (ifnull(tbody.trest,'')<>'' or ifnull(tbody.btrest,0)<>0) "
                      "order by tkluby.vylosovanie, tkluby.ID"),
                  {s.id});
        while (q.Step()) {
            const qint64 points = CeleCisloZUlozenia(q.Value(1)).value_or(0);
            QString text = points != 0 ? QStringLiteral("−%1 b.").arg(points) : QString();
            const QString reason = q.Text(2).trimmed();
            if (!reason.isEmpty())
                text = text.isEmpty() ? reason : QStringLiteral("%1 (%2)").arg(text, reason);
            c.sanctions.append({static_cast<int>(q.Int64(3)), text});
        }
        // The next round is the first with a match to come that has a day: a match postponed without
        // one does not hold the site's reader in a round played weeks ago.
        for (const QVector<CZapas>& round : c.rounds)
            if (std::any_of(round.cbegin(), round.cend(),
                            [&](const CZapas& z) { return IsComing(z) && !offMatch(z); })) {
                c.next = round.first().round;
                break;
            }
        c.latest = LastPlayedRound(db, s.id);
        competitions.append(c);
    }
    // Every club of the season has a page, which its name links to wherever the site shows it.
    QSet<int> clubPages;
    for (const CSutazWebu& c : competitions)
        for (const CPolozkaKlubu& k : c.clubs)
            clubPages.insert(k.id);
    const auto club = [&](int id) {
        return clubPages.contains(id) ? CStrankaWebu::Link(ClubPageFile(id), names.Name(id))
                                      : CStrankaWebu::Escape(names.Name(id));
    };
    // A match's day, or why an unplayed one has none.
    QHash<int, QString> withoutDay;
    for (const CSutazWebu& c : competitions)
        for (const QVector<CZapas>& round : c.rounds) {
            const bool dated = std::any_of(round.cbegin(), round.cend(),
                                           [](const CZapas& z) { return !JeZiadnyDatum(z.kickOff); });
            for (const CZapas& z : round)
                if (JeZiadnyDatum(z.kickOff) && z.homeClub != 0 && z.awayClub != 0 &&
                    !MaVysledok(z.homeScore, z.awayScore))
                    withoutDay.insert(z.id, dated ? kOdlozenyBezTerminu : kTerminNeurceny);
        }
    const auto dayText = [&](const CZapas& z) { return withoutDay.value(z.id, DayOf(z)); };
    // A match's event reads the same in every calendar it is in, so that its revision is one.
    QHash<int, QString> competitionOfMatch;
    for (const CSutazWebu& c : competitions)
        for (const QVector<CZapas>& round : c.rounds)
            for (const CZapas& z : round) {
                matchById.insert(z.id, &z);
                competitionOfMatch.insert(z.id, c.competition.nazov);
            }
    // Each match's event made and its revision applied once; a calendar adds its own link.
    // A match without a day that no calendar had yet has no event.
    QHash<int, std::optional<CUdalost>> eventOfMatch;
    const auto matchEvent = [&](const CZapas& z, const QString& url) {
        auto it = eventOfMatch.find(z.id);
        if (it == eventOfMatch.end()) {
            CUdalost e = MatchEvent(z, competitionOfMatch.value(z.id), names, seasonId, {});
            it = eventOfMatch.insert(z.id, revisions.Apply(e) ? std::optional<CUdalost>(e) : std::nullopt);
        }
        std::optional<CUdalost> e = *it;
        if (e)
            e->url = url;
        return e;
    };

    const auto listsOf = [](const CSutazWebu& c) {
        return QVector<COdkaz>{{c.file("tabulka"), QStringLiteral("Tabuľka")},
                               {c.file("vysledky"), QStringLiteral("Výsledky")},
                               {c.file("rozpis"), QStringLiteral("Rozpis")},
                               {c.file("strelci"), QStringLiteral("Strelci")},
                               {c.file("nesmu-hrat"), QStringLiteral("Kto nesmie hrať")},
                               {c.file("kluby"), QStringLiteral("Kluby")},
                               {c.file("zk"), QStringLiteral("Žlté karty")},
                               {c.file("ck"), QStringLiteral("Červené karty")},
                               {c.calendarFile(), QStringLiteral("Kalendár")}};
    };

    for (const CSutazWebu& c : competitions) {
        const int id = c.competition.id;
        const QVector<COdkaz> lists = listsOf(c);
        const COdkaz here{c.file("tabulka"), c.competition.nazov};
        const auto page = [&](const char* list, const QString& title) {
            return CStrankaWebu(title, Navigation(association, here, lists, c.file(list)), updated);
        };

        // The lists that name a club by its name alone (the scorers, the registers) link it by the name,
        // which is one club's within a competition.
        QHash<QString, int> clubOfName;
        for (const CPolozkaKlubu& k : c.clubs)
            clubOfName.insert(names.Name(k.id), k.id);
        const auto clubByName = [&](const QString& name) {
            const auto it = clubOfName.constFind(name);
            return it == clubOfName.constEnd() ? CStrankaWebu::Escape(name) : club(*it);
        };

        // Cards and stops, read once for the three lists that show them.
        const CDisciplinaSutaze discipline(db, id, thresholds);

        // Standings, what decided ties, and each point deduction with its reason.
        {
            // The site's own title: the print's "Výsledná tabuľka" would call a table half way final.
            bool every = !c.rounds.isEmpty();
            for (const QVector<CZapas>& round : c.rounds)
                for (const CZapas& z : round)
                    if (names.IsClub(z.homeClub) && names.IsClub(z.awayClub) &&
                        !MaVysledok(z.homeScore, z.awayScore))
                        every = false;
            const QString title =
                every ? QStringLiteral("Konečná tabuľka - %1").arg(c.competition.nazov)
                : c.latest
                    ? QStringLiteral("Tabuľka po %1. kole - %2").arg(*c.latest).arg(c.competition.nazov)
                    : QStringLiteral("Tabuľka - %1").arg(c.competition.nazov);
            CStrankaWebu p = page("tabulka", title);
            // The points beside the matches: on a phone the columns after them are in the table's scroll.
            QVector<QStringList> rows;
            const auto e = [](const QString& text) { return CStrankaWebu::Escape(text); };
            for (const CRiadokZoznamu& r : c.standings.rows)
                rows << QStringList{
                    e(r.Cell(0)), club(r.id),
                    e(r.Cell(2)), e(r.Cell(7)),
                    e(r.Cell(3)), e(r.Cell(4)),
                    e(r.Cell(5)), e(r.Cell(6).replace(QStringLiteral(" : "), QStringLiteral(":"))),
                    e(r.Cell(8))};
            p.TableHtml({QStringLiteral("#"), QStringLiteral("Klub"), QStringLiteral("Z"),
                         QStringLiteral("Body"), QStringLiteral("V"), QStringLiteral("R"),
                         QStringLiteral("P"), QStringLiteral("Skóre"), QStringLiteral("+/-")},
                        rows, kTabTabulka);
            for (const QString& note : c.tieNotes)
                p.Paragraph(note, QStringLiteral("poznamka"));
            if (!c.sanctions.isEmpty()) {
                p.Heading(2, QStringLiteral("Tresty"));
                QString list = QStringLiteral("<ul class=\"poznamka\">");
                for (const auto& [id, text] : c.sanctions)
                    list += QStringLiteral("<li>%1: %2</li>").arg(club(id), CStrankaWebu::Escape(text));
                p.Raw(list + QStringLiteral("</ul>\n"));
            }
            files.Add({c.file("tabulka"), p.Bytes()});
        }

        // Fixtures and results, an anchor per round. The fixtures start at the next round, the rounds
        // played after them; the results jump to the last round played.
        for (const bool results : {false, true}) {
            const char* list = results ? "vysledky" : "rozpis";
            CStrankaWebu p =
                page(list, results ? ResultsTitle(db, id)
                                   : QStringLiteral("Rozpis zápasov - %1").arg(c.competition.nazov));
            if (c.rounds.isEmpty())
                p.Paragraph(kRozpisEsteNie);
            if (results && c.latest)
                p.ParagraphHtml(QStringLiteral("<a href=\"#%1\">Posledné odohrané kolo – %2. kolo</a>")
                                    .arg(RoundAnchor(*c.latest))
                                    .arg(*c.latest));
            const auto played = [&](const QVector<CZapas>& round) {
                return !results && c.next && round.first().round < *c.next;
            };
            QVector<const QVector<CZapas>*> order;
            for (const QVector<CZapas>& round : c.rounds)
                if (!played(round))
                    order << &round;
            for (const QVector<CZapas>& round : c.rounds)
                if (played(round))
                    order << &round;
            bool playedHeading = false;
            for (const QVector<CZapas>* round : order) {
                if (played(*round) && !playedHeading) {
                    p.Heading(2, QStringLiteral("Odohrané kolá"));
                    playedHeading = true;
                }
                const auto dated = std::find_if(round->cbegin(), round->cend(),
                                                [](const CZapas& z) { return !JeZiadnyDatum(z.kickOff); });
                const int number = round->first().round;
                p.Heading(playedHeading ? 3 : 2,
                          dated == round->cend()
                              ? QStringLiteral("%1. kolo").arg(number)
                              : QStringLiteral("%1. kolo – %2").arg(number).arg(DayOf(*dated)),
                          RoundAnchor(number));
                QVector<QStringList> rows;
                for (const CZapas& z : *round) {
                    const bool bye = !names.IsClub(z.homeClub) || !names.IsClub(z.awayClub);
                    QString note = results ? Note(z.note) : Note(z.scheduleNote);
                    if (offMatch(z))
                        note = note.isEmpty() ? kOdstupilText
                                              : QStringLiteral("%1; %2").arg(kOdstupilText, note);
                    const QString e = CStrankaWebu::Escape(results || !bye ? note : QString());
                    if (results)
                        rows << QStringList{club(z.homeClub), club(z.awayClub),
                                            CStrankaWebu::Escape(bye ? QString() : Score(z)),
                                            CStrankaWebu::Escape(bye ? QString() : HalfTime(z)), e};
                    else
                        rows << QStringList{CStrankaWebu::Escape(dayText(z)),
                                            CStrankaWebu::Escape(bye ? QString() : z.timeText),
                                            club(z.homeClub), club(z.awayClub), e};
                }
                if (results)
                    p.TableHtml({QStringLiteral("Domáci"), QStringLiteral("Hostia"),
                                 QStringLiteral("Výsledok"), QStringLiteral("Polčas"),
                                 QStringLiteral("Poznámka")},
                                rows, kTabVysledky);
                else
                    p.TableHtml({QStringLiteral("Dátum"), QStringLiteral("Čas"), QStringLiteral("Domáci"),
                                 QStringLiteral("Hostia"), QStringLiteral("Poznámka")},
                                rows, kTabRozpis);
            }
            files.Add({c.file(list), p.Bytes()});
        }

        // Top scorers.
        {
            CStrankaWebu p =
                page("strelci", QStringLiteral("Najlepší strelci - %1").arg(c.competition.nazov));
            const CZoznam scorers = TopScorersList(db, id);
            QVector<QStringList> rows;
            for (const CRiadokZoznamu& r : scorers.rows) {
                QStringList cells;
                for (const QString& cell : r.cells)
                    cells << CStrankaWebu::Escape(cell);
                if (cells.size() > 2)
                    cells[2] = clubByName(r.Cell(2));
                rows << cells;
            }
            if (rows.isEmpty())
                p.Paragraph(QStringLiteral("Zatiaľ nepadol žiadny gól."));
            else
                p.TableHtml({QStringLiteral("#"), QStringLiteral("Hráč"), QStringLiteral("Klub"),
                             QStringLiteral("Góly")},
                            rows, kTabStrelci);
            files.Add({c.file("strelci"), p.Bytes()});
        }

        // Who may not play in the next round, without birth numbers.
        {
            const int round = c.rounds.isEmpty() ? 0 : c.next.value_or(CurrentRound(db, id));
            CStrankaWebu p = page("nesmu-hrat", MayNotPlayTitle(db, id, round));
            const QVector<CNesmieHrat> rows = round > 0
                                                  ? PlayersWhoMayNotPlay(db, discipline, round, kVsetkyKluby)
                                                  : QVector<CNesmieHrat>();
            if (rows.isEmpty())
                p.Paragraph(NobodyText(round));
            int clubNow = -1;
            QVector<QStringList> table;
            const auto flush = [&] {
                if (!table.isEmpty())
                    p.TableHtml({QStringLiteral("Hráč"), QStringLiteral("Dôvod"), QStringLiteral("Zápas"),
                                 QStringLiteral("Dátum")},
                                table, kTabNesmuHrat, club(clubNow));
                table.clear();
            };
            for (const CNesmieHrat& r : rows) {
                if (r.club != clubNow) {
                    flush();
                    clubNow = r.club;
                }
                table << QStringList{
                    CStrankaWebu::Escape(QStringLiteral("%1 %2").arg(r.meno, r.priezvisko)),
                    CStrankaWebu::Escape(r.reasons.join(QStringLiteral(", "))),
                    matchById.contains(r.match)
                        ? QStringLiteral("%1 – %2").arg(club(matchById.value(r.match)->homeClub),
                                                        club(matchById.value(r.match)->awayClub))
                        : CStrankaWebu::Escape(r.matchText),
                    CStrankaWebu::Escape(r.kickOff.isValid() && !JeZiadnyDatum(r.kickOff)
                                             ? DenTextom(r.kickOff.date())
                                             : QString())};
            }
            flush();
            files.Add({c.file("nesmu-hrat"), p.Bytes()});
        }

        // The clubs, with their contacts only where the association publishes them.
        {
            CStrankaWebu p = page("kluby", ClubListTitle(db, id));
            QVector<QStringList> rows;
            const CZoznam list = ClubList(db, id);
            for (const CRiadokZoznamu& r : list.rows) {
                if (r.id == 0)
                    continue;
                QStringList row = {club(r.id)};
                if (contacts)
                    row << CStrankaWebu::Escape(r.Cell(2)) << CStrankaWebu::Escape(r.Cell(3));
                rows << row;
            }
            QStringList header = {QStringLiteral("Klub")};
            if (contacts)
                header << QStringLiteral("Kontakt 1") << QStringLiteral("Kontakt 2");
            p.TableHtml(header, rows);
            files.Add({c.file("kluby"), p.Bytes()});
        }

        // The card registers, a table per club.
        for (const CDruhKariet kind : {CDruhKariet::Zlte, CDruhKariet::Cervene}) {
            const char* list = kind == CDruhKariet::Zlte ? "zk" : "ck";
            CStrankaWebu p = page(list, CardRegisterTitle(db, id, kind));
            const CZoznam reg = CardRegister(db, discipline, id, kVsetkyKluby, kind);
            QStringList header;
            for (const CStlpecZoznamu& col : reg.columns)
                header << col.header;
            // One table for the register, a heading row per club; a round without cards is an empty
            // cell, which is the bulk of a season's register.
            QVector<QPair<QString, QVector<QStringList>>> groups;
            for (const CRiadokZoznamu& r : reg.rows) {
                if (r.Cell(0).isEmpty() && r.Cell(1).isEmpty())
                    continue;
                if (r.Cell(0).isEmpty()) {
                    groups.append({clubByName(r.Cell(1)), {}});
                    continue;
                }
                if (groups.isEmpty())
                    groups.append({QString(), {}});
                QStringList cells = r.cells;
                for (QString& cell : cells)
                    if (cell == QStringLiteral("-"))
                        cell.clear();
                groups.last().second << cells;
            }
            p.GroupedTable(header, groups, kTabKarty, 2);
            if (kind == CDruhKariet::Zlte)
                p.Paragraph(
                    QStringLiteral(
                        "X: zápas, ktorý hráč vynechá za žlté karty; (1): karta odpustená amnestiou."),
                    QStringLiteral("poznamka"));
            files.Add({c.file(list), p.Bytes()});
        }

        // The competition's calendar and each club's page with its own.
        QVector<CUdalost> events;
        QHash<int, QVector<const CZapas*>> matchesOf;
        QVector<const CZapas*> inOrder;
        for (const QVector<CZapas>& round : c.rounds)
            for (const CZapas& z : round)
                inOrder << &z;
        std::stable_sort(inOrder.begin(), inOrder.end(), [](const CZapas* a, const CZapas* b) {
            if (a->kickOff != b->kickOff)
                return a->kickOff < b->kickOff;
            return a->id < b->id;
        });
        for (const CZapas* z : inOrder) {
            matchesOf[z->homeClub] << z;
            if (z->awayClub != z->homeClub)
                matchesOf[z->awayClub] << z;
            if (!names.IsClub(z->homeClub) || !names.IsClub(z->awayClub))
                continue;
            if (const std::optional<CUdalost> e =
                    matchEvent(*z, site.isEmpty() ? QString() : RoundLink(site, id, z->round)))
                events << *e;
        }
        calendar(c.calendarFile(), c.competition.nazov, events);
        QHash<int, QString> place;
        for (const CRiadokZoznamu& r : c.standings.rows)
            place.insert(
                r.id, QStringLiteral("%1. miesto, %2 b. (%3 zápasov)").arg(r.Cell(0), r.Cell(7), r.Cell(2)));
        for (const CPolozkaKlubu& k : c.clubs) {
            const QString file = ClubPageFile(k.id);
            const QString ics = QStringLiteral("klub-%1.ics").arg(k.id);
            QVector<COdkaz> clubLists = lists;
            clubLists << COdkaz{ics, QStringLiteral("Kalendár klubu")};
            CStrankaWebu p(k.nazov, Navigation(association, here, clubLists, file), updated);
            const QVector<const CZapas*> own = matchesOf.value(k.id);
            const CZapas* next = nullptr;
            for (const CZapas* z : own)
                if (!next && IsComing(*z) && !offMatch(*z))
                    next = z;
            if (next)
                p.ParagraphHtml(QStringLiteral("<b>Najbližší zápas:</b> %1. kolo, %2 %3 – %4 : %5")
                                    .arg(next->round)
                                    .arg(CStrankaWebu::Escape(DayOf(*next)),
                                         CStrankaWebu::Escape(next->timeText), club(next->homeClub),
                                         club(next->awayClub)));
            else if (std::any_of(own.cbegin(), own.cend(), [&](const CZapas* z) {
                         return withoutDay.contains(z->id) && !offMatch(*z);
                     }))
                p.Paragraph(QStringLiteral("Najbližší zápas klubu zatiaľ nemá termín."));
            else
                p.Paragraph(QStringLiteral("Klub už nemá čo odohrať."));
            if (place.contains(k.id))
                p.ParagraphHtml(QStringLiteral("<b>V tabuľke:</b> %1 – %2")
                                    .arg(CStrankaWebu::Escape(place.value(k.id)),
                                         CStrankaWebu::Link(c.file("tabulka"), QStringLiteral("tabuľka"))));
            // What is to come first, in its order (those without a day last); then what was played, the
            // latest first.
            QVector<const CZapas*> coming, past;
            for (const CZapas* z : own) {
                const bool bye = !names.IsClub(z->homeClub) || !names.IsClub(z->awayClub);
                const bool toCome = !MaVysledok(z->homeScore, z->awayScore) && !offMatch(*z) &&
                                    (!bye || (c.next && z->round >= *c.next));
                (toCome ? coming : past) << z;
            }
            std::stable_partition(coming.begin(), coming.end(),
                                  [](const CZapas* z) { return !JeZiadnyDatum(z->kickOff); });
            std::reverse(past.begin(), past.end());
            const QStringList header = {QStringLiteral("Kolo"),   QStringLiteral("Dátum"),
                                        QStringLiteral("Čas"),    QStringLiteral("Domáci"),
                                        QStringLiteral("Hostia"), QStringLiteral("Výsledok")};
            for (const bool toCome : {true, false}) {
                QVector<QStringList> rows;
                for (const CZapas* z : toCome ? coming : past) {
                    const bool bye = !names.IsClub(z->homeClub) || !names.IsClub(z->awayClub);
                    rows << QStringList{
                        QString::number(z->round),
                        CStrankaWebu::Escape(dayText(*z)),
                        CStrankaWebu::Escape(bye ? QString() : z->timeText),
                        club(z->homeClub),
                        club(z->awayClub),
                        CStrankaWebu::Escape(bye ? QString() : (offMatch(*z) ? kOdstupilText : Score(*z)))};
                }
                if (rows.isEmpty())
                    continue;
                p.Heading(2,
                          toCome ? QStringLiteral("Nasledujúce zápasy") : QStringLiteral("Odohrané zápasy"));
                p.TableHtml(header, rows, kTabKlub);
            }
            QVector<CUdalost> own_events;
            for (const CZapas* z : own)
                if (names.IsClub(z->homeClub) && names.IsClub(z->awayClub))
                    if (const std::optional<CUdalost> e = matchEvent(
                            *z, site.isEmpty() ? QString() : QStringLiteral("%1/%2").arg(site, file)))
                        own_events << *e;
            files.Add({file, p.Bytes()});
            calendar(ics, QStringLiteral("%1 – zápasy").arg(k.nazov), own_events);
        }
        if (!step())
            return stop();
    }

    // Every club of the season in Slovak order, with the competition it plays in.
    {
        CStrankaWebu p(season.nazov.isEmpty() ? QStringLiteral("Kluby")
                                              : QStringLiteral("Kluby v sezóne %1").arg(season.nazov),
                       Navigation(association, {}, {}, kKlubyWebu), updated);
        QVector<QPair<int, const CSutazWebu*>> all;
        for (const CSutazWebu& c : competitions)
            for (const CPolozkaKlubu& k : c.clubs)
                all.append({k.id, &c});
        std::stable_sort(all.begin(), all.end(), [&](const auto& a, const auto& b) {
            return PorovnajSlovensky(names.Name(a.first), names.Name(b.first)) < 0;
        });
        QVector<QStringList> rows;
        for (const auto& [id, c] : all)
            rows << QStringList{club(id), CStrankaWebu::Link(c->file("tabulka"), c->competition.nazov)};
        if (rows.isEmpty())
            p.Paragraph(QStringLiteral("Sezóna zatiaľ nemá žiadny klub."));
        else
            p.TableHtml({QStringLiteral("Klub"), QStringLiteral("Súťaž")}, rows);
        files.Add({kKlubyWebu, p.Bytes()});
    }

    // The committee: nominations by month (upcoming first), a page and a calendar per official.
    // In the lists' order (surname, name, and the ID for namesakes), so that the same season makes the
    // same pages and the same list of them every time.
    QHash<int, COficial> officials;
    QVector<int> officialOrder;
    {
        CPrikaz q(db, QStringLiteral("select ID, meno, priezvisko, funkcia, skupina from trozhodci order by "
                                     "priezvisko, meno, ID"));
        while (q.Step()) {
            COficial o;
            o.id = static_cast<int>(q.Int64(0));
            o.name = QStringLiteral("%1 %2")
                         .arg(LimitedText(q.Text(1), QStringLiteral("meno")),
                              LimitedText(q.Text(2), QStringLiteral("priezvisko")))
                         .trimmed();
            o.funkcia = static_cast<int>(q.Int64(3));
            o.competition = static_cast<int>(q.Int64(4));
            officials.insert(o.id, o);
            officialOrder << o.id;
        }
    }
    const QVector<COdkaz> committeeLists = {
        {QStringLiteral("nominacie.html"), QStringLiteral("Nominácie")},
        {QStringLiteral("rozhodcovia.html"), QStringLiteral("Rozhodcovia")},
        {QStringLiteral("delegati.html"), QStringLiteral("Delegáti")}};
    const COdkaz committee{QStringLiteral("nominacie.html"), QStringLiteral("Komisia rozhodcov")};
    const QVector<CNominacia> nominations = Nominations(db, kVsetkyZapasy);
    // Full names, as two officials may share an initial and a surname; each has his own page, which
    // the lists of referees and delegates link to.
    const auto officialCell = [&](const CNominacia& n, int f) {
        const auto o = officials.constFind(n.officials[f]);
        return n.officials[f] == 0 || o == officials.constEnd()
                   ? QString()
                   : CStrankaWebu::Link(OfficialFile(o->id), o->name);
    };
    const QStringList nominationHeader = {
        QStringLiteral("Dátum"),  QStringLiteral("Čas"),    QStringLiteral("Súťaž"),
        QStringLiteral("Domáci"), QStringLiteral("Hostia"), QStringLiteral("HR"),
        QStringLiteral("AR1"),    QStringLiteral("AR2"),    QStringLiteral("DZ")};
    const auto nominationRow = [&](const CNominacia& n) {
        const CZapas* z = matchById.value(n.matchId);
        const auto e = [](const QString& text) { return CStrankaWebu::Escape(text); };
        return QStringList{e(z ? dayText(*z) : n.date),
                           e(n.time),
                           e(n.competition),
                           z ? club(z->homeClub) : e(n.home),
                           z ? club(z->awayClub) : e(n.away),
                           officialCell(n, 0),
                           officialCell(n, 1),
                           officialCell(n, 2),
                           officialCell(n, 3)};
    };
    const auto dayOf = [&](const CNominacia& n) {
        const CZapas* z = matchById.value(n.matchId);
        return z && !JeZiadnyDatum(z->kickOff) ? z->kickOff.date() : QDate();
    };
    // By month; a month that would make too large a page goes over two or more.
    QMap<QString, QVector<const CNominacia*>> byMonth;
    for (const CNominacia& n : nominations) {
        const QDate d = dayOf(n);
        byMonth[d.isValid() ? d.toString(QStringLiteral("yyyy-MM")) : QStringLiteral("bez-datumu")] << &n;
    }
    struct CMesiac
    {
        QString key;
        QString label;
        QString file;
        bool upcoming;
    };
    QVector<CMesiac> months;
    static const QStringList kMesiace = {
        QStringLiteral("január"),  QStringLiteral("február"),  QStringLiteral("marec"),
        QStringLiteral("apríl"),   QStringLiteral("máj"),      QStringLiteral("jún"),
        QStringLiteral("júl"),     QStringLiteral("august"),   QStringLiteral("september"),
        QStringLiteral("október"), QStringLiteral("november"), QStringLiteral("december")};
    for (auto it = byMonth.constBegin(); it != byMonth.constEnd(); ++it) {
        const QDate first = QDate::fromString(it.key() + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
        const QString label =
            first.isValid() ? QStringLiteral("%1 %2").arg(kMesiace.at(first.month() - 1)).arg(first.year())
                            : QStringLiteral("bez dátumu");
        const bool upcoming = first.isValid() && first.addMonths(1) > today;
        // This month's page too has the matches to come first.
        QVector<const CNominacia*> inMonth = it.value();
        std::stable_partition(inMonth.begin(), inMonth.end(),
                              [&](const CNominacia* n) { return dayOf(*n) >= today; });
        QVector<QStringList> rows;
        for (const CNominacia* n : inMonth)
            rows << nominationRow(*n);
        // Parts of a page's size.
        qsizetype bytes = 0;
        for (const QStringList& r : rows)
            bytes += r.join(QString()).size() + 120;
        const int parts = static_cast<int>(
            std::max<qsizetype>(1, (bytes * 2 + kNajvacsiaStranaWebu - 1) / kNajvacsiaStranaWebu));
        const int perPart = static_cast<int>((rows.size() + parts - 1) / parts);
        for (int part = 0; part < parts; ++part) {
            const QString file = parts == 1
                                     ? QStringLiteral("nominacie-%1.html").arg(it.key())
                                     : QStringLiteral("nominacie-%1-%2.html").arg(it.key()).arg(part + 1);
            const QString partLabel =
                parts == 1 ? label : QStringLiteral("%1 (%2. časť)").arg(label).arg(part + 1);
            CStrankaWebu p(QStringLiteral("Nominácie – %1").arg(partLabel),
                           Navigation(association, committee, committeeLists, file), updated);
            p.TableHtml(nominationHeader, rows.mid(part * perPart, perPart), kTabNominacie);
            files.Add({file, p.Bytes()});
            months.append({it.key(), partLabel, file, upcoming});
        }
    }
    {
        CStrankaWebu p(QStringLiteral("Nominácie rozhodcov v sezóne %1").arg(season.nazov),
                       Navigation(association, committee, committeeLists, QStringLiteral("nominacie.html")),
                       updated);
        QString upcoming, past;
        for (const CMesiac& m : months)
            (m.upcoming ? upcoming : past) +=
                QStringLiteral("<li>%1</li>").arg(CStrankaWebu::Link(m.file, m.label));
        QStringList pastItems;
        for (const CMesiac& m : months)
            if (!m.upcoming)
                pastItems.prepend(QStringLiteral("<li>%1</li>").arg(CStrankaWebu::Link(m.file, m.label)));
        if (!upcoming.isEmpty()) {
            p.Heading(2, QStringLiteral("Nasledujúce"));
            p.Raw(QStringLiteral("<ul>%1</ul>\n").arg(upcoming));
        }
        if (!pastItems.isEmpty()) {
            p.Heading(2, QStringLiteral("Odohrané"));
            p.Raw(QStringLiteral("<ul>%1</ul>\n").arg(pastItems.join(QString())));
        }
        if (months.isEmpty())
            p.Paragraph(QStringLiteral("Zatiaľ nie je žiadna nominácia."));
        files.Add({QStringLiteral("nominacie.html"), p.Bytes()});
    }
    // Each official: the matches he is nominated to, upcoming first, and their calendar.
    QHash<int, QVector<QPair<const CNominacia*, int>>> ofOfficial;
    for (const CNominacia& n : nominations)
        for (int f = 0; f < 4; ++f)
            if (n.officials[f] != 0)
                ofOfficial[n.officials[f]] << QPair<const CNominacia*, int>(&n, f);
    for (const int id : std::as_const(officialOrder)) {
        const COficial& o = officials[id];
        const QString file = OfficialFile(o.id);
        const QString ics = QStringLiteral("rozhodca-%1.ics").arg(o.id);
        QVector<COdkaz> lists = committeeLists;
        lists << COdkaz{ics, QStringLiteral("Kalendár")};
        CStrankaWebu p(o.name, Navigation(association, committee, lists, file), updated);
        QVector<QPair<const CNominacia*, int>> mine = ofOfficial.value(o.id);
        // A match to come without a day yet is still to come, after those that have one.
        const auto toCome = [&](const CNominacia& n) {
            return dayOf(n) >= today || withoutDay.contains(n.matchId);
        };
        std::stable_sort(mine.begin(), mine.end(), [&](const auto& a, const auto& b) {
            const QDate x = dayOf(*a.first), y = dayOf(*b.first);
            const bool ux = toCome(*a.first), uy = toCome(*b.first);
            if (ux != uy)
                return ux;
            if (x.isValid() != y.isValid())
                return x.isValid();
            return ux ? x < y : x > y;
        });
        QVector<QStringList> upcoming, past;
        QVector<CUdalost> events;
        for (const auto& [n, f] : mine) {
            const CZapas* z = matchById.value(n->matchId);
            const auto e = [](const QString& text) { return CStrankaWebu::Escape(text); };
            const QStringList row = {e(z ? dayText(*z) : QString()),     e(n->time),
                                     e(kSkratkyFunkcii.value(f)),        e(n->competition),
                                     z ? club(z->homeClub) : e(n->home), z ? club(z->awayClub) : e(n->away)};
            (toCome(*n) ? upcoming : past) << row;
            if (z)
                if (std::optional<CUdalost> e = matchEvent(
                        *z, site.isEmpty() ? QString() : QStringLiteral("%1/%2").arg(site, file))) {
                    e->summary = QStringLiteral("%1: %2").arg(kSkratkyFunkcii.value(f), e->summary);
                    events << *e;
                }
        }
        const QStringList header = {QStringLiteral("Dátum"),   QStringLiteral("Čas"),
                                    QStringLiteral("Funkcia"), QStringLiteral("Súťaž"),
                                    QStringLiteral("Domáci"),  QStringLiteral("Hostia")};
        if (upcoming.isEmpty() && past.isEmpty())
            p.Paragraph(QStringLiteral("Zatiaľ bez nominácie."));
        if (!upcoming.isEmpty()) {
            p.Heading(2, QStringLiteral("Nasledujúce zápasy"));
            p.TableHtml(header, upcoming, kTabOficial);
        }
        if (!past.isEmpty()) {
            p.Heading(2, QStringLiteral("Odohrané zápasy"));
            p.TableHtml(header, past, kTabOficial);
        }
        files.Add({file, p.Bytes()});
        files.Add({ics, CalendarBytes(QStringLiteral("%1 – nominácie").arg(o.name), events, stamp)});
    }
    for (const bool referees : {true, false}) {
        const QString file = referees ? QStringLiteral("rozhodcovia.html") : QStringLiteral("delegati.html");
        CStrankaWebu p(referees ? QStringLiteral("Zoznam rozhodcov") : QStringLiteral("Zoznam delegátov"),
                       Navigation(association, committee, committeeLists, file), updated);
        QVector<QStringList> rows;
        QVector<COficial> list;
        for (const int id : std::as_const(officialOrder))
            if ((officials[id].funkcia == kFunkciaDelegat) != referees)
                list << officials[id];
        for (const COficial& o : list)
            rows << QStringList{CStrankaWebu::Link(OfficialFile(o.id), o.name),
                                CStrankaWebu::Escape(competitionName.value(o.competition))};
        p.TableHtml({QStringLiteral("Meno"), QStringLiteral("Zaradenie")}, rows);
        files.Add({file, p.Bytes()});
    }
    if (!step())
        return stop();

    // The first page: per competition its next fixtures and its latest results.
    {
        CStrankaWebu p(season.SeasonLine().isEmpty()
                           ? association
                           : QStringLiteral("%1 – %2").arg(association, season.SeasonLine()),
                       Navigation(association, {}, {}, QStringLiteral("index.html")), updated);
        // Where each competition begins on this page: an association's first page is long on a phone.
        if (competitions.size() > 1) {
            QStringList contents;
            for (const CSutazWebu& c : competitions)
                contents << CStrankaWebu::Link(QStringLiteral("#sutaz-%1").arg(c.competition.id),
                                               c.competition.nazov);
            contents << CStrankaWebu::Link(QStringLiteral("#komisia"), QStringLiteral("Komisia rozhodcov"));
            p.Raw(QStringLiteral("<nav class=\"obsah\"><ul><li>%1</li></ul></nav>\n")
                      .arg(contents.join(QStringLiteral("</li><li>"))));
        }
        for (const CSutazWebu& c : competitions) {
            p.Heading(2, c.competition.nazov, QStringLiteral("sutaz-%1").arg(c.competition.id));
            QStringList links;
            for (const COdkaz& l : listsOf(c))
                links << CStrankaWebu::Link(l.file, l.label);
            if (!site.isEmpty())
                links << QStringLiteral("<a href=\"%1\">Kalendár do telefónu</a>")
                             .arg(CStrankaWebu::Escape(Webcal(site, c.calendarFile())));
            p.Raw(QStringLiteral("<nav><ul><li>%1</li></ul></nav>\n")
                      .arg(links.join(QStringLiteral("</li><li>"))));
            const auto roundOf = [&](int round) -> const QVector<CZapas>* {
                for (const QVector<CZapas>& r : c.rounds)
                    if (r.first().round == round)
                        return &r;
                return nullptr;
            };
            // The next round above the last results: what a reader looks for first.
            if (c.next)
                if (const QVector<CZapas>* r = roundOf(*c.next)) {
                    QVector<QStringList> rows;
                    for (const CZapas& z : *r)
                        if (z.homeClub != 0 && z.awayClub != 0 && !MaVysledok(z.homeScore, z.awayScore))
                            rows << QStringList{
                                CStrankaWebu::Escape(dayText(z)),
                                CStrankaWebu::Escape(offMatch(z) ? kOdstupilText : z.timeText),
                                club(z.homeClub), club(z.awayClub)};
                    p.TableHtml(
                        {QStringLiteral("Dátum"), QStringLiteral("Čas"), QStringLiteral("Domáci"),
                         QStringLiteral("Hostia")},
                        rows, kTabRozpis,
                        CStrankaWebu::Escape(QStringLiteral("Najbližšie kolo: %1. kolo").arg(*c.next)));
                }
            if (c.latest)
                if (const QVector<CZapas>* r = roundOf(*c.latest)) {
                    QVector<QStringList> rows;
                    for (const CZapas& z : *r)
                        if (z.homeClub != 0 && z.awayClub != 0)
                            rows << QStringList{club(z.homeClub), CStrankaWebu::Escape(Score(z)),
                                                club(z.awayClub)};
                    p.TableHtml(
                        {QStringLiteral("Domáci"), QStringLiteral("Výsledok"), QStringLiteral("Hostia")},
                        rows, kTabPrehlad,
                        CStrankaWebu::Escape(QStringLiteral("Výsledky %1. kola").arg(*c.latest)));
                }
        }
        p.Heading(2, QStringLiteral("Komisia rozhodcov"), QStringLiteral("komisia"));
        QStringList links;
        for (const COdkaz& l : committeeLists)
            links << CStrankaWebu::Link(l.file, l.label);
        p.Raw(
            QStringLiteral("<nav><ul><li>%1</li></ul></nav>\n").arg(links.join(QStringLiteral("</li><li>"))));
        files.Add({QStringLiteral("index.html"), p.Bytes()});
    }
    files.Add({kStylWebu, SiteStyleSheet()});
    if (!step())
        return stop();
    revisions.Save();
    return {};
}

QVector<CSuborWebu> SiteFiles(CDatabaza& db, const QVector<int>& thresholds, const QDateTime& stamp,
                              const CPriebehWebu& progress)
{
    QVector<CSuborWebu> files;
    bool stopped = false;
    MakeSite(
        db, thresholds, stamp,
        [&](CSuborWebu& f) {
            files.append(std::move(f));
            return QString();
        },
        progress, &stopped);
    if (stopped)
        return {};
    // The first page first, as it is uploaded last.
    std::stable_partition(files.begin(), files.end(),
                          [](const CSuborWebu& f) { return f.name == QLatin1String("index.html"); });
    return files;
}

QString PublishSeason(CDatabaza& db, const QVector<int>& thresholds, const QString& folder,
                      const QString& seasonPath, const QDateTime& stamp, const CPriebehZverejnenia& progress,
                      bool* stopped, QStringList* leftAlone, int* written)
{
    if (stopped)
        *stopped = false;
    if (leftAlone)
        leftAlone->clear();
    if (written)
        *written = 0;
    // A season that may only be read keeps no revisions (CRevizieKalendara::Save writes none).
    std::optional<CTransakcia> transaction;
    if (!db.IsReadOnly())
        transaction.emplace(db);
    // The pages go where they are published one by one as they are made: straight to the association's
    // host those that changed since the list the host keeps, or into the folder.
    const bool upload = IsUploadAddress(folder);
    std::optional<CNahravanieWebu> host;
    std::optional<CZapisWebu> local;
    QString error;
    if (upload) {
        host.emplace(CCielNahratia{folder, {}, {}});
        error = host->Begin();
    } else {
        local.emplace();
        error = local->Begin(folder, seasonPath);
    }
    if (!error.isEmpty())
        return error;
    bool cut = false;
    error = MakeSite(
        db, thresholds, stamp, [&](CSuborWebu& f) { return upload ? host->Add(f) : local->Add(f); },
        [&](int done, int total) {
            cut = progress && !progress(QStringLiteral("Zapisuje sa web..."), done, total);
            return !cut;
        },
        &cut);
    if (stopped)
        *stopped = cut;
    if (cut)
        return upload ? QStringLiteral("Zverejnenie webu bolo prerušené; na serveri zostal, aký bol.")
                      : QStringLiteral("Zápis webu bol prerušený; web v priečinku zostal, aký bol.");
    if (!error.isEmpty())
        return error;
    if (upload) {
        const CVysledokNahratia sent = host->Finish([&](int done, int total) {
            cut =
                progress && !progress(QStringLiteral("Nahráva sa web: %1 z %2 súborov").arg(done).arg(total),
                                      done, total);
            return !cut;
        });
        if (stopped)
            *stopped = cut;
        error = sent.error;
        if (written)
            *written = sent.uploaded;
        if (leftAlone)
            *leftAlone = sent.leftAlone;
    } else {
        error = local->Finish(leftAlone, written);
    }
    if (error.isEmpty() && transaction)
        transaction->Commit();
    return error;
}

QString LeftAloneText(const QStringList& leftAlone)
{
    return QStringLiteral("Tieto súbory webu niekto zmenil po poslednom zverejnení; program ich nechal, ako "
                          "sú, a neprepísal ich: %1. Ak ich má program znova písať, zmažte ich.")
        .arg(leftAlone.join(QStringLiteral(", ")));
}
