// A season from its first day to the next: results that count only whole, a club that withdraws,
// ties decided by the matches among the tied clubs, nominations that go with their matches, the
// next season made from this one, birth numbers and the marks' average.

#include "competition/generator.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/nastaveniasezony.h"
#include "db/novasezona.h"
#include "db/schema.h"
#include "db/server.h"
#include "discipline/karty.h"
#include "officials/nominacie.h"
#include "officials/rozhodcovia.h"
#include "officials/znamky.h"
#include "output/CZaznamovaPlocha.h"
#include "players/hraci.h"
#include "pomocnik.h"
#include "results/odstupenieklubu.h"
#include "results/prepocet.h"
#include "results/strelci.h"
#include "results/tabulka.h"
#include "results/vysledky.h"

#include <gtest/gtest.h>

namespace {

// Each test on a season file and on a season on a PostgreSQL server.
class Lifecycle : public SeasonTest, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        if (GetParam()) {
            ASSERT_TRUE(SharedServer().Problem().isEmpty()) << SharedServer().Problem().toStdString();
            ASSERT_TRUE(m_doc.OpenSeasonFile(UploadedForTest(NewSeason())))
                << m_user.messages.join(QLatin1Char('\n')).toStdString();
        } else {
            OpenNew();
        }
        m_competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
        for (const char* name : {"Slovan", "Inter", "Tatran", "Lokomotíva"})
            m_clubs << AddClub(Db(), m_competition, QString::fromUtf8(name),
                               static_cast<int>(m_clubs.size()) + 1);
    }
    CDatabaza& Db() { return m_doc.Database(); }
    int Match(int round, int home, int away, int h = kBezVysledku, int a = kBezVysledku, int day = 0)
    {
        const int id = AddMatch(Db(), m_competition, round, home, away, h, a);
        Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"),
                     {QDateTime(QDate(2024, 8, 3).addDays(7 * (round - 1) + day), QTime(17, 0)), id});
        return id;
    }
    // "name points" of the table, top to bottom.
    QStringList Table()
    {
        RecalculateCompetition(Db(), m_competition);
        QStringList out;
        const CZoznam list = StandingsList(Db(), m_competition);
        for (const CRiadokZoznamu& r : list.rows)
            out << QStringLiteral("%1 %2").arg(r.Cell(1), r.Cell(7));
        return out;
    }
    int Slovan() const { return m_clubs.at(0); }
    int Inter() const { return m_clubs.at(1); }
    int Tatran() const { return m_clubs.at(2); }
    int Lokomotiva() const { return m_clubs.at(3); }
    int m_competition = 0;
    QVector<int> m_clubs;
};

TEST_P(Lifecycle, AResultCountsOnlyWholeAndAByeTakesNone)
{
    const int match = Match(1, Slovan(), Inter());
    // Half typed: played by nobody, marked in the list.
    EnterResult(Db(), m_competition, match, {QStringLiteral("2"), {}, {}, {}, {}}, kDomaci);
    EXPECT_EQ(Table(), (QStringList{"Slovan 0", "Inter 0", "Tatran 0", "Lokomotíva 0"}));
    EXPECT_EQ(ResultsList(Db(), m_competition, 1).Text(0, kVysledokStav), kNeuplnyVysledok);
    EnterResult(Db(), m_competition, match, {QStringLiteral("2"), QStringLiteral("0"), {}, {}, {}}, kHostia);
    EXPECT_EQ(Table().first(), QStringLiteral("Slovan 3"));
    EXPECT_EQ(MatchRemark(Db(), match), QString());

    // A bye refuses a score; a score another tool left against it counts for nobody.
    const int bye = Match(2, Tatran(), 0);
    EXPECT_THROW(EnterResult(Db(), m_competition, bye, {QStringLiteral("1"), QStringLiteral("1"), {}, {}, {}},
                             kDomaci),
                 CChybaDatabazy);
    EXPECT_EQ(Db().Value(QStringLiteral("select body1 from tzapasy where ID=?"), {bye}).toInt(),
              kBezVysledku);
    Db().Execute(QStringLiteral("update tzapasy set body1=1, body2=1 where ID=?"), {bye});
    EXPECT_EQ(Table(), (QStringList{"Slovan 3", "Tatran 0", "Lokomotíva 0", "Inter 0"}));
    // Nor does it make its round played, nor its goals count.
    EXPECT_EQ(LastPlayedRound(Db(), m_competition), 1);
    Db().Execute(
        QStringLiteral("insert into thraci (meno, priezvisko, IDklubu) values ('Peter', 'Voľný', ?)"),
        {Tatran()});
    Db().Execute(
        QStringLiteral("insert into tgoly (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?,?,?,2,?)"),
        {bye, Db().LastInsertId(), Tatran(), m_competition});

    // A result cleared for a replay: its scorers count nowhere and the list says they are left.
    Db().Execute(QStringLiteral("insert into thraci (meno, priezvisko, IDklubu) values ('Ján', 'Novák', ?)"),
                 {Slovan()});
    const int novak = static_cast<int>(Db().LastInsertId());
    Db().Execute(
        QStringLiteral("insert into tgoly (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?,?,?,1,?)"),
        {match, novak, Slovan(), m_competition});
    EXPECT_EQ(TopScorersList(Db(), m_competition).RowCount(), 1);
    EXPECT_EQ(TopScorersList(Db(), m_competition).Text(0, 1).contains(QStringLiteral("Voľný")), false);
    EnterResult(Db(), m_competition, match, {{}, {}, {}, {}, {}}, kDomaci);
    EXPECT_EQ(TopScorersList(Db(), m_competition).RowCount(), 0);
    EXPECT_EQ(MatchRemark(Db(), match), kGolyBezVysledku);
}

TEST_P(Lifecycle, AWithdrawnClubLosesWhatItDoesNotPlayAndStandsLast)
{
    Match(1, Slovan(), Inter(), 0, 3);
    Match(1, Tatran(), Lokomotiva(), 1, 1);
    const int second = Match(2, Inter(), Tatran(), 2, 2);
    const int played = Match(2, Lokomotiva(), Slovan(), 0, 1);
    const int third = Match(3, Slovan(), Tatran());
    Match(3, Inter(), Lokomotiva());
    const QStringList before = Table();
    EXPECT_EQ(before.first(), QStringLiteral("Inter 4"));

    // Slovan withdraws before round 3: its two results stand, round 3 is its forfeit.
    WithdrawClub(Db(), Slovan(), QDate(2024, 8, 17), false);
    // Tatran: 1:1, 2:2 and 3:0 over Slovan.
    EXPECT_EQ(Table(), (QStringList{"Tatran 5", "Inter 4", "Lokomotíva 1", "Slovan (odstúpil) 3"}));
    // A score typed afterwards for that match, its two clubs recounted, is still its forfeit.
    EnterResult(Db(), m_competition, third, {QStringLiteral("4"), QStringLiteral("0"), {}, {}, {}}, kDomaci);
    EXPECT_EQ(Table(), (QStringList{"Tatran 5", "Inter 4", "Lokomotíva 1", "Slovan (odstúpil) 3"}));
    EnterResult(Db(), m_competition, third, {{}, {}, {}, {}, {}}, kDomaci);
    EXPECT_EQ(ResultsList(Db(), m_competition, 3).Text(0, kVysledokStav), QStringLiteral("Slovan odstúpil"));
    // The page, its spreadsheet and the print say so of round 3 alone, never of a bye.
    const int bye = Match(3, 0, Slovan());
    const CMyExport page = ExportResults(Db(), m_competition, kVsetkyKola);
    EXPECT_EQ(page.Text().count(QStringLiteral("Slovan odstúpil")), 1);
    const QString csv = QString::fromUtf8(page.CsvText());
    EXPECT_EQ(csv.count(QStringLiteral("Slovan odstúpil")), 1);
    EXPECT_TRUE(csv.contains(QStringLiteral("3;2024-08-17;17:00;Slovan;Tatran;;;;Slovan odstúpil")))
        << csv.toStdString();
    EXPECT_EQ(ResultsList(Db(), m_competition, 3)
                  .Text(ResultsList(Db(), m_competition, 3).FindRow(bye), kVysledokStav),
              QString());
    CTlacVysledkov print(Db(), m_competition, kVsetkyKola);
    int printed = 0;
    for (const CZaznamovaPlocha& paper : RecordPages(print))
        for (const CZaznamovaPlocha::Zaznam& text : paper.Texts())
            printed += text.text.count(QStringLiteral("odstúpil"));
    EXPECT_EQ(printed, 1);
    // Its remaining fixture takes no nominations.
    for (const CNominacia& n : Nominations(Db(), kVsetkyZapasy))
        EXPECT_NE(n.matchId, third);
    const QVector<CNominacia> rows = Nominations(Db(), kVsetkyZapasy);
    EXPECT_TRUE(
        std::any_of(rows.begin(), rows.end(), [&](const CNominacia& n) { return n.matchId == played; }));

    // Annulled, its results count for nobody: Inter loses the win over Slovan, Lokomotíva its loss.
    WithdrawClub(Db(), Slovan(), QDate(2024, 8, 17), true);
    const QStringList annulled = Table();
    EXPECT_EQ(annulled.last(), QStringLiteral("Slovan (odstúpil) 0"));
    EXPECT_TRUE(annulled.contains(QStringLiteral("Inter 1")));
    EXPECT_TRUE(annulled.contains(QStringLiteral("Lokomotíva 1")));
    EXPECT_EQ(ResultsList(Db(), m_competition, 1).Text(0, kVysledokStav),
              QStringLiteral("anulovaný (Slovan odstúpil)"));

    // Cancelled: everything as typed again.
    CancelWithdrawal(Db(), Slovan());
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(Db().Value(QStringLiteral("select body1 from tzapasy where ID=?"), {second}).toInt(), 2);
}

TEST_P(Lifecycle, TiesAreDecidedByTheMatchesAmongTheTiedClubsOnceTheCompetitionIsOver)
{
    // Two pairs end level on points; in each pair the match between them decides, not the overall goal
    // difference the overall chain goes by.
    Match(1, Slovan(), Inter(), 1, 0);
    Match(1, Tatran(), Lokomotiva(), 5, 0);
    Match(2, Inter(), Tatran(), 3, 0);
    Match(2, Lokomotiva(), Slovan(), 1, 0);
    Match(3, Tatran(), Slovan(), 0, 1);
    const int last = Match(3, Inter(), Lokomotiva());
    // Slovan 6 (1:0, 0:1, 1:0), Inter 3, Tatran 3 (5:0), Lokomotíva 3 before the last match.
    SetMutualMatchesDecideTies(Db(), true);
    EXPECT_TRUE(StandingsNotes(Db(), m_competition).isEmpty()); // not over yet: the overall chain
    EnterResult(Db(), m_competition, last, {QStringLiteral("0"), QStringLiteral("1"), {}, {}, {}}, kHostia);
    // Now: Slovan 6, Lokomotíva 6 (won 1:0 over Slovan), Tatran 3, Inter 3 (Inter beat Tatran 3:0).
    SetMutualMatchesDecideTies(Db(), false);
    EXPECT_EQ(Table(), (QStringList{"Slovan 6", "Lokomotíva 6", "Tatran 3", "Inter 3"}));
    SetMutualMatchesDecideTies(Db(), true);
    EXPECT_EQ(Table(), (QStringList{"Lokomotíva 6", "Slovan 6", "Inter 3", "Tatran 3"}));
    EXPECT_EQ(StandingsNotes(Db(), m_competition),
              (QStringList{QStringLiteral("O poradí Lokomotíva a Slovan rozhodli vzájomné zápasy."),
                           QStringLiteral("O poradí Inter a Tatran rozhodli vzájomné zápasy.")}));
    EXPECT_TRUE(ExportStandings(Db(), m_competition)
                    ->Text()
                    .contains(QStringLiteral("O poradí Lokomotíva a Slovan rozhodli vzájomné zápasy.")));
}

TEST_P(Lifecycle, AThreeWayTieIsBrokenAmongItsOwnClubsThenOverall)
{
    // A beats B, B beats C, C beats A, all 1:0; each beats D 1:0, 2:0 and 3:0 in turn.
    Match(1, Slovan(), Inter(), 1, 0);
    Match(1, Tatran(), Lokomotiva(), 3, 0);
    Match(2, Inter(), Tatran(), 1, 0);
    Match(2, Lokomotiva(), Slovan(), 0, 1);
    Match(3, Tatran(), Slovan(), 1, 0);
    Match(3, Lokomotiva(), Inter(), 0, 2);
    SetMutualMatchesDecideTies(Db(), true);
    // Level among themselves (3 points, 1:1 each): the overall goal difference orders them.
    EXPECT_EQ(Table(), (QStringList{"Tatran 6", "Inter 6", "Slovan 6", "Lokomotíva 0"}));
    EXPECT_EQ(
        StandingsNotes(Db(), m_competition),
        QStringList{QStringLiteral("O poradí Tatran, Inter a Slovan rozhodli: Tatran – Inter celkový rozdiel "
                                   "skóre; Inter – Slovan celkový rozdiel skóre.")});
}

TEST_P(Lifecycle, NominationsGoWithTheirMatchesAndThoseLeftBehindCountNowhere)
{
    const int match = Match(1, Slovan(), Inter(), 1, 0);
    const int referee = SaveOfficial(
        Db(), CRegister::Referees(), 0,
        {QStringLiteral("Peter"), QStringLiteral("Sudca"), {}, {}, {}, {}, {}, {}, {}, m_competition});
    SetNomination(Db(), match, kNominaciaHR, referee);
    StoreMark(Db(), match, kNominaciaHR, QStringLiteral("8.2"));
    // Left behind by an older version: a nomination of a match that is gone.
    Db().Execute(
        QStringLiteral(
            "insert into tnominacie (IDzapasu, IDrozhodcu, funkcia, znamka) values (99999, ?, 1, 2)"),
        {referee});
    EXPECT_EQ(OrphanNominationCount(Db()), 1);
    EXPECT_EQ(MarkStatistics(Db(), false).Text(0, 4), QStringLiteral("8.2"));
    EXPECT_EQ(RemoveOrphanNominations(m_doc), 1);
    EXPECT_EQ(OrphanNominationCount(Db()), 0);
    // Clearing the competition takes its nominations with its matches.
    ClearCompetition(Db(), m_competition);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tnominacie")).toInt(), 0);
}

TEST_P(Lifecycle, TheMarksAverageIsExactInTenthsRoundedHalfUp)
{
    const int referee = SaveOfficial(
        Db(), CRegister::Referees(), 0,
        {QStringLiteral("Peter"), QStringLiteral("Sudca"), {}, {}, {}, {}, {}, {}, {}, m_competition});
    const int a = Match(1, Slovan(), Inter(), 1, 0), b = Match(2, Tatran(), Slovan(), 1, 0);
    SetNomination(Db(), a, kNominaciaHR, referee);
    SetNomination(Db(), b, kNominaciaHR, referee);
    StoreMark(Db(), a, kNominaciaHR, QStringLiteral("8,2"));
    StoreMark(Db(), b, kNominaciaHR, QStringLiteral("8,3"));
    CZoznam list = MarkStatistics(Db(), false);
    EXPECT_EQ(list.Text(0, 4), QStringLiteral("8.3"));
    EXPECT_EQ(list.rows.at(0).id, 83);
    StoreMark(Db(), a, kNominaciaHR, QStringLiteral("6.3"));
    StoreMark(Db(), b, kNominaciaHR, QStringLiteral("9.7"));
    list = MarkStatistics(Db(), false);
    EXPECT_EQ(list.Text(0, 4), QStringLiteral("8"));
    EXPECT_EQ(list.rows.at(0).id, 80);
}

TEST_P(Lifecycle, TheNextSeasonCarriesTheAssociationAndNothingOfThePlay)
{
    Db().Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz, stop, zapocitat) values ('2025/2026', "
                       "'Trnavský kraj', 'ObFZ', '3,6', 1)"));
    Db().Execute(QStringLiteral("update theslo set heslo='tajne'"));
    SetMutualMatchesDecideTies(Db(), true);
    const QString id = SeasonIdentifier(Db());
    const int match = Match(1, Slovan(), Inter(), 2, 1);
    Db().Execute(QStringLiteral("update tkluby set kontakt1='Ján, 0905' where ID=?"), {Slovan()});
    const int second = AddCompetition(Db(), QStringLiteral("II. trieda"));
    const int low = AddClub(Db(), second, QStringLiteral("Sokol"), 1);
    // A player, his transfer copy, a ban; an official with a test mark; nominations, cards, an amnesty.
    const int novak = SavePlayer(
        Db(), 0, Slovan(),
        {QStringLiteral("Ján"), QStringLiteral("Novák"), {}, {}, QStringLiteral("31.10.2025"), {}});
    Db().Execute(
        QStringLiteral("insert into thraci (meno, priezvisko, IDklubu, IDold) values ('Ján', 'Novák', ?, ?)"),
        {Inter(), novak});
    const int referee = SaveOfficial(Db(), CRegister::Referees(), 0,
                                     {QStringLiteral("Peter"),
                                      QStringLiteral("Sudca"),
                                      {},
                                      {},
                                      {},
                                      {},
                                      {},
                                      QStringLiteral("8.5"),
                                      {},
                                      m_competition});
    SetNomination(Db(), match, kNominaciaHR, referee);
    Db().Execute(
        QStringLiteral("insert into tzkarty (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?,?,?,1,?)"),
        {match, novak, Slovan(), m_competition});
    Amnesty(Db(), QDate(2025, 1, 1), 0, true, 0);
    WithdrawClub(Db(), Tatran(), QDate(2025, 1, 1), false);
    EXPECT_EQ(NextSeasonName(QStringLiteral("2025/2026")), QStringLiteral("2026/2027"));
    EXPECT_EQ(NextSeasonName(QStringLiteral("2025/26")), QStringLiteral("2026/27"));
    EXPECT_EQ(NextSeasonName(QStringLiteral("2099/00")), QStringLiteral("2100/01"));
    EXPECT_EQ(NextSeasonName(QStringLiteral("jeseň")), QStringLiteral("jeseň"));

    CPrenosSezony plan;
    plan.seasonName = NextSeasonName(QStringLiteral("2025/2026"));
    plan.keepTestMarks = false;
    plan.clubMoves.insert(Slovan(), 0);          // left out
    plan.clubMoves.insert(Lokomotiva(), second); // relegated
    const QString target = Path(QStringLiteral("nova.mdb"));
    CreateSeasonFrom(Db(), target, plan);
    EXPECT_THROW(CreateSeasonFrom(Db(), target, plan), CChybaDatabazy);

    CLigaroDoc next(m_user);
    ASSERT_TRUE(next.OpenSeasonFile(target));
    CDatabaza& n = next.Database();
    const CHlavicka h = CHlavicka::Read(n);
    EXPECT_EQ(h.nazov, QStringLiteral("2026/2027"));
    EXPECT_EQ(h.zvaz, QStringLiteral("ObFZ"));
    EXPECT_EQ(h.stop, QStringLiteral("3,6"));
    EXPECT_EQ(n.Value(QStringLiteral("select heslo from theslo")).toString(), QStringLiteral("tajne"));
    EXPECT_TRUE(MutualMatchesDecideTies(n));
    EXPECT_NE(SeasonIdentifier(n), id);
    EXPECT_EQ(n.Value(QStringLiteral("select count(*) from tkluby where ID=?"), {Slovan()}).toInt(), 0);
    EXPECT_EQ(n.Value(QStringLiteral("select skupina from tkluby where ID=?"), {Lokomotiva()}).toInt(),
              second);
    EXPECT_EQ(n.Value(QStringLiteral("select sum(vylosovanie) from tkluby")).toInt(), 0);
    EXPECT_EQ(n.Value(QStringLiteral("select count(*) from tkluby where ID=?"), {low}).toInt(), 1);
    // Slovan's player went with his club; the own-goal player is there.
    EXPECT_EQ(n.Value(QStringLiteral("select count(*) from thraci where RC<>'vg'")).toInt(), 0);
    EXPECT_EQ(n.Value(QStringLiteral("select count(*) from thraci where RC='vg'")).toInt(), 1);
    EXPECT_EQ(n.Value(QStringLiteral("select znamka from trozhodci where ID=?"), {referee}).toDouble(), 0.0);
    for (const char* table :
         {"tzapasy", "tgoly", "tzkarty", "tckarty", "tbody", "tnominacie", "tamnestie", "todstupenia"})
        EXPECT_EQ(n.Value(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toInt(), 0)
            << table;
    next.CloseSeason();

    // Kept: the player moves on with his club, loans and bans as they are, no transfer copy.
    plan.clubMoves.clear();
    plan.keepTestMarks = true;
    const QString kept = Path(QStringLiteral("nova2.mdb"));
    CreateSeasonFrom(Db(), kept, plan);
    ASSERT_TRUE(next.OpenSeasonFile(kept));
    EXPECT_EQ(
        next.Database().Value(QStringLiteral("select count(*) from thraci where priezvisko='Novák'")).toInt(),
        1);
    EXPECT_EQ(
        next.Database().Value(QStringLiteral("select \"do\" from thraci where ID=?"), {novak}).toString(),
        QStringLiteral("2025-10-31 00:00:00"));
    EXPECT_EQ(next.Database()
                  .Value(QStringLiteral("select kontakt1 from tkluby where ID=?"), {Slovan()})
                  .toString(),
              QStringLiteral("Ján, 0905"));
    EXPECT_FLOAT_EQ(next.Database().Value(QStringLiteral("select znamka from trozhodci")).toFloat(), 8.5f);
}

INSTANTIATE_TEST_SUITE_P(Engines, Lifecycle, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "server" : "subor";
                         });

TEST(BirthNumber, IsCheckedWhenTypedAndAStoredOneIsLeftAlone)
{
    for (const char* good :
         {"", " ", "900101/0007", "9001010007", "905101/0001", "530101/123", "045229/0003", "047229/0005"}) {
        EXPECT_EQ(BirthNumberProblem(QString::fromLatin1(good)), QString()) << good;
    }
    EXPECT_TRUE(BirthNumberProblem(QStringLiteral("900101/0001")).contains(QStringLiteral("deliteľné 11")));
    EXPECT_TRUE(BirthNumberProblem(QStringLiteral("901301/0001")).contains(QStringLiteral("mesiac 13")));
    EXPECT_TRUE(BirthNumberProblem(QStringLiteral("900230/0001")).contains(QStringLiteral("30. 2. 1990")));
    EXPECT_TRUE(BirthNumberProblem(QStringLiteral("900101/123")).contains(QStringLiteral("1954")));
    EXPECT_TRUE(BirthNumberProblem(QStringLiteral("90-01-01")).contains(QStringLiteral("RRMMDD/XXXX")));
    // The first nine digits leaving 10 with a last digit 0 is a birth number too.
    EXPECT_EQ(BirthNumberProblem(QStringLiteral("000101/0010")), QString());

    CUdajeHraca player{
        QStringLiteral("Ján"), QStringLiteral("Novák"), QStringLiteral("900101/0001"), {}, {}, {}};
    ASSERT_TRUE(ValidatePlayer(player));
    EXPECT_EQ(ValidatePlayer(player)->field, 2);
    EXPECT_FALSE(ValidatePlayer(player, QStringLiteral("900101/0001")));
}

} // namespace
