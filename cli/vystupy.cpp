#include "vystupy.h"

#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/subory.h"
#include "discipline/karty.h"
#include "discipline/nesmuhrat.h"
#include "officials/nominacie.h"
#include "officials/rozhodcovia.h"
#include "officials/znamky.h"
#include "output/CReportGenerator.h"
#include "players/hraci.h"
#include "results/strelci.h"
#include "results/tabulka.h"
#include "results/vysledky.h"

namespace {

// The nominations print through their report template, filled for the selection.
class CTlacNominaciiCli : public CTlacovina
{
public:
    CTlacNominaciiCli(CDatabaza& db, const QString& day)
    {
        if (!m_report.LoadTemplate(FileBesideProgram(kSablonaNominacii)))
            throw CChybaDatabazy(m_report.LastError());
        m_report.SetLandscape(true);
        FillNominationReport(m_report, db, Nominations(db, day));
    }
    int PageCount() override { return m_report.LayoutPages(); }
    void DrawPage(CPlocha& surface, int page) override { m_report.DrawPage(surface, page); }
    bool Landscape() const override { return true; }

private:
    CReportGenerator m_report;
};

} // namespace

QString CardClubText(CDatabaza& db, int club)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select nazov from tkluby where ID=?"), {club});
    return rs.IsEOF() ? kVsetkyKlubyText : rs.GetText(QStringLiteral("nazov"));
}

namespace {

CVystupZoznamu Cards(CDruhKariet kind)
{
    CVystupZoznamu o{false,
                     [kind](CDatabaza& db, const CVyber& v) {
                         return std::make_unique<CTlacKariet>(
                             db, v.competition, v.club, kind,
                             CardRegister(db, v.competition, v.club, kind, v.thresholds));
                     },
                     [kind](CDatabaza& db, const CVyber& v) {
                         return std::optional<CMyExport>(
                             ExportCards(db, v.competition, CardClubText(db, v.club), kind,
                                         CardRegister(db, v.competition, v.club, kind, v.thresholds)));
                     }};
    o.usesClub = true;
    return o;
}

} // namespace

const QHash<QString, CVystupZoznamu>& Outputs()
{
    static const QHash<QString, CVystupZoznamu> outputs = [] {
        QHash<QString, CVystupZoznamu> out;
        out.insert(
            QStringLiteral("kluby"),
            {false,
             [](CDatabaza& db, const CVyber& v) { return std::make_unique<CTlacKlubov>(db, v.competition); },
             [](CDatabaza& db, const CVyber& v) {
                 return std::optional<CMyExport>(ExportClubs(db, v.competition));
             }});
        // One club's matches alone when a club is named.
        out.insert(QStringLiteral("rozpis"),
                   {true,
                    [](CDatabaza& db, const CVyber& v) {
                        auto printout = std::make_unique<CTlacRozpisu>(db, v.competition, v.round);
                        printout->SetClub(v.club);
                        return printout;
                    },
                    [](CDatabaza& db, const CVyber& v) {
                        return std::optional<CMyExport>(ExportSchedule(db, v.competition, v.round, v.club));
                    },
                    true, true});
        out.insert(QStringLiteral("vysledky"),
                   {true,
                    [](CDatabaza& db, const CVyber& v) {
                        auto printout = std::make_unique<CTlacVysledkov>(db, v.competition, v.round);
                        printout->SetClub(v.club);
                        return printout;
                    },
                    [](CDatabaza& db, const CVyber& v) {
                        return std::optional<CMyExport>(ExportResults(db, v.competition, v.round, v.club));
                    },
                    true, true});
        out.insert(
            QStringLiteral("tabulka"),
            {false,
             [](CDatabaza& db, const CVyber& v) { return std::make_unique<CTlacTabulky>(db, v.competition); },
             [](CDatabaza& db, const CVyber& v) { return ExportStandings(db, v.competition); }});
        out.insert(QStringLiteral("strelci"),
                   {false,
                    [](CDatabaza& db, const CVyber& v) {
                        return std::make_unique<CTlacStrelcov>(db, v.competition);
                    },
                    [](CDatabaza& db, const CVyber& v) { return ExportTopScorers(db, v.competition); }});
        out.insert(QStringLiteral("zk"), Cards(CDruhKariet::Zlte));
        out.insert(QStringLiteral("ck"), Cards(CDruhKariet::Cervene));
        out.insert(
            QStringLiteral("zk-stop"),
            {true,
             [](CDatabaza& db, const CVyber& v) {
                 // One club: its own players under its name, not every club's.
                 QVector<CHracStop> entries = StopList(db, v.competition, v.round, v.thresholds);
                 if (v.club != kVsetkyKluby) {
                     const QString name = CardClubText(db, v.club);
                     QVector<CHracStop> own;
                     for (const CHracStop& e : entries)
                         if (e.club == name)
                             own.append(e);
                     entries = own;
                 }
                 return std::make_unique<CTlacStopu>(db, v.competition, v.round, std::move(entries),
                                                     v.club == kVsetkyKluby ? QString()
                                                                            : CardClubText(db, v.club));
             },
             [](CDatabaza& db, const CVyber& v) {
                 return std::optional<CMyExport>(ExportStopList(db, v.competition, v.round, v.thresholds));
             },
             true, true});
        // Without a round: the round being played.
        const auto roundOf = [](CDatabaza& db, const CVyber& v) {
            return v.round == kVsetkyKola ? CurrentRound(db, v.competition) : v.round;
        };
        out.insert(QStringLiteral("nesmu-hrat"),
                   {true,
                    [roundOf](CDatabaza& db, const CVyber& v) {
                        const int round = roundOf(db, v);
                        return std::make_unique<CTlacNesmuHrat>(
                            db, v.competition, round,
                            MayNotPlayList(db, v.competition, round, v.club, v.thresholds));
                    },
                    [roundOf](CDatabaza& db, const CVyber& v) {
                        return std::optional<CMyExport>(
                            ExportMayNotPlay(db, v.competition, roundOf(db, v), v.club, v.thresholds, true));
                    },
                    true, true});
        const auto officials = [](const CRegister& reg) {
            CVystupZoznamu o;
            o.perCompetition = false;
            o.printout = [&reg](CDatabaza& db, const CVyber&) {
                return std::make_unique<CTlacSupisky>(db, reg);
            };
            o.page = [&reg](CDatabaza& db, const CVyber&) {
                return std::optional<CMyExport>(ExportOfficials(db, reg));
            };
            return o;
        };
        out.insert(QStringLiteral("rozhodcovia"), officials(CRegister::Referees()));
        out.insert(QStringLiteral("delegati"), officials(CRegister::Delegates()));
        CVystupZoznamu marks;
        marks.perCompetition = false;
        marks.printout = [](CDatabaza& db, const CVyber&) {
            return std::make_unique<CTlacZnamok>(db, MarkStatistics(db, TestMarkCounts(db)));
        };
        out.insert(QStringLiteral("znamky"), marks);
        CVystupZoznamu nominations;
        nominations.perCompetition = false;
        nominations.printout = [](CDatabaza& db, const CVyber& v) {
            return std::make_unique<CTlacNominaciiCli>(db, v.day);
        };
        nominations.page = [](CDatabaza& db, const CVyber& v) {
            return std::optional<CMyExport>(ExportNominations(db, Nominations(db, v.day)));
        };
        nominations.usesDay = true;
        out.insert(QStringLiteral("nominacie"), nominations);
        out.insert(QStringLiteral("hraci"),
                   {false,
                    [](CDatabaza& db, const CVyber& v) -> std::unique_ptr<CTlacovina> {
                        if (v.club != kVsetkyKluby)
                            return std::make_unique<CTlacHracov>(db, v.competition, v.club);
                        // Without a club: every club's register, each from a new page.
                        std::vector<std::unique_ptr<CTlacovina>> parts;
                        for (const CPolozkaKlubu& c : CompetitionClubs(db, v.competition))
                            parts.push_back(std::make_unique<CTlacHracov>(db, v.competition, c.id));
                        return std::make_unique<CTlacZaSebou>(std::move(parts),
                                                              QStringLiteral("Zoznam hráčov"));
                    },
                    [](CDatabaza& db, const CVyber& v) {
                        return std::optional<CMyExport>(ExportPlayers(db, v.competition, v.club));
                    },
                    true, true});
        return out;
    }();
    return outputs;
}
