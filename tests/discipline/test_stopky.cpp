// Who misses which match: yellow-card stops served in the club's own matches, amnesties, red cards,
// bans, and the list "Kto nesmie hrať" with its page, spreadsheet and printout.

#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/novasezona.h"
#include "discipline/karty.h"
#include "discipline/nesmuhrat.h"
#include "discipline/stopky.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"

#include <gtest/gtest.h>

namespace {

const QVector<int> kPravidlo = {4, 8, 12, 16};

// Three clubs and a bye, a round a week from Saturday 3 August 2024 at 17:00.
class Discipline : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
        m_a = AddClub(Db(), m_competition, QStringLiteral("Slovan"), 1);
        m_b = AddClub(Db(), m_competition, QStringLiteral("Inter"), 2);
        m_c = AddClub(Db(), m_competition, QStringLiteral("Tatran"), 3);
    }
    CDatabaza& Db() { return m_doc.Database(); }
    static QDateTime Round(int round, int extraDays = 0)
    {
        return QDateTime(QDate(2024, 8, 3).addDays(7 * (round - 1) + extraDays), QTime(17, 0));
    }
    int Match(int round, int home, int away, const QDateTime& when)
    {
        const int id = AddMatch(Db(), m_competition, round, home, away);
        Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {when, id});
        return id;
    }
    int Match(int round, int home, int away) { return Match(round, home, away, Round(round)); }
    int Player(int club, const QString& surname)
    {
        Db().Execute(QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu) values ('Ján', ?, "
                                    "'900101/1234', ?)"),
                     {surname, club});
        return static_cast<int>(Db().LastInsertId());
    }
    void Card(const char* table, int player, int match)
    {
        Db().Execute(
            QStringLiteral("insert into %1 (IDzapasu, IDhraca, IDklubu, kolo, skupina) select ID, ?, "
                           "?, kolo, skupina from tzapasy where ID=?")
                .arg(QLatin1String(table)),
            {player, Db().Value(QStringLiteral("select IDklubu from thraci where ID=?"), {player}), match});
    }
    void Yellow(int player, int match) { Card("tzkarty", player, match); }
    // The players on the list of a round: "surname: reasons".
    QStringList MayNotPlay(int round, int club = kVsetkyKluby)
    {
        QStringList out;
        for (const CNesmieHrat& r : PlayersWhoMayNotPlay(Db(), m_competition, round, club, kPravidlo))
            out << QStringLiteral("%1: %2").arg(r.priezvisko, r.reasons.join(QStringLiteral(", ")));
        return out;
    }
    QStringList StopNames(int round)
    {
        QStringList out;
        for (const CHracStop& s : StopList(Db(), m_competition, round, kPravidlo))
            out << s.name;
        return out;
    }
    // The rounds whose lists name the player for yellow cards, 1..last.
    QVector<int> StopRounds(int last)
    {
        QVector<int> rounds;
        for (int r = 1; r <= last; ++r)
            if (!StopNames(r).isEmpty())
                rounds << r;
        return rounds;
    }
    int m_competition = 0, m_a = 0, m_b = 0, m_c = 0;
};

TEST_F(Discipline, AStopIsServedInTheClubsNextMatchNotInItsBye)
{
    // Slovan plays rounds 1-4, has a bye in round 5 and plays again in round 6.
    QVector<int> slovan;
    for (int r = 1; r <= 4; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    Match(5, m_a, 0);
    Match(5, m_b, m_c);
    slovan << Match(6, m_b, m_a);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int i = 0; i < 4; ++i)
        Yellow(novak, slovan.at(i));
    EXPECT_TRUE(StopNames(5).isEmpty());
    EXPECT_EQ(StopNames(6), QStringList{QStringLiteral("Ján Novák")});
    EXPECT_EQ(MayNotPlay(6), QStringList{QStringLiteral("Novák: ŽK (4.)")});
    EXPECT_TRUE(MayNotPlay(5).isEmpty());

    // The register marks the match he misses, never the bye.
    const CZoznam list = CardRegister(Db(), m_competition, m_a, CDruhKariet::Zlte, kPravidlo);
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.rows.at(0).cells.mid(2).join(QLatin1Char(' ')), QStringLiteral("1 1 1 1 - X 4"));
}

TEST_F(Discipline, AnotherClubsPostponedMatchServesNothingTheClubsOwnServesAtItsNewDate)
{
    // Round 4's Inter – Tatran is played on Wednesday 4 September, after round 5.
    const int r1 = Match(1, m_a, m_b), r2 = Match(2, m_a, m_c), r3 = Match(3, m_b, m_a);
    Match(4, m_a, 0);
    const int postponed = Match(4, m_b, m_c, Round(5, 4));
    const int r5 = Match(5, m_c, m_a);
    Match(6, m_a, m_b);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int m : {r1, r2, r3, r3})
        Yellow(novak, m);
    const int kral = Player(m_c, QStringLiteral("Kráľ"));
    for (int m : {r2, r2, r5, r5})
        Yellow(kral, m);
    // Slovan's player misses Slovan's next match (round 5), not the other clubs' postponed one;
    // Tatran's misses Tatran's own postponed match, listed with round 4 at its new date.
    EXPECT_EQ(MayNotPlay(4), QStringList{QStringLiteral("Kráľ: ŽK (4.)")});
    EXPECT_EQ(MayNotPlay(5), QStringList{QStringLiteral("Novák: ŽK (4.)")});
    EXPECT_TRUE(MayNotPlay(6).isEmpty());
    const auto rows = PlayersWhoMayNotPlay(Db(), m_competition, 4, kVsetkyKluby, kPravidlo);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().match, postponed);
    EXPECT_EQ(rows.first().kickOff.date(), QDate(2024, 9, 4));
    EXPECT_EQ(rows.first().clubName, QStringLiteral("Tatran"));
    EXPECT_EQ(StopNames(4), QStringList{QStringLiteral("Ján Kráľ")});
}

TEST_F(Discipline, TheSecondThresholdMissesTwoMatchesAndAThresholdReplacesWhatIsPending)
{
    QVector<int> slovan;
    for (int r = 1; r <= 14; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    // Cards in rounds 1-4 (stop in 5), then 6-9 (eight: stops in 10 and 11).
    for (int r : {1, 2, 3, 4, 6, 7, 8, 9})
        Yellow(novak, slovan.at(r - 1));
    EXPECT_EQ(StopRounds(14), (QVector<int>{5, 10, 11}));

    // Rule 1,2,3: a card in round 1 (one match), another in round 2 while that is pending (two
    // matches from there, replacing the rest), and the pending round is not served twice.
    const int svec = Player(m_a, QStringLiteral("Švec"));
    Yellow(svec, slovan.at(0));
    Yellow(svec, slovan.at(1));
    QVector<int> missed;
    for (const CNesmieHrat& r : [&] {
             QVector<CNesmieHrat> all;
             for (int round = 1; round <= 14; ++round)
                 all += PlayersWhoMayNotPlay(Db(), m_competition, round, m_a, {1, 2, 3});
             return all;
         }())
        if (r.priezvisko == QStringLiteral("Švec"))
            missed << slovan.indexOf(r.match) + 1;
    EXPECT_EQ(missed, (QVector<int>{2, 3, 4}));
}

TEST_F(Discipline, TwoCardsInOneMatchReachTheThresholdTheyPass)
{
    QVector<int> slovan;
    for (int r = 1; r <= 5; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r : {1, 2, 3, 3})
        Yellow(novak, slovan.at(r - 1));
    Yellow(novak, slovan.at(2));
    // 1, 2, then 3 → 5 in round 3: the fourth card of that match reached 4.
    EXPECT_EQ(StopRounds(5), (QVector<int>{4}));
}

TEST_F(Discipline, AnUndatedMatchServesNothingUntilItIsDated)
{
    QVector<int> slovan;
    for (int r = 1; r <= 6; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {ZiadnyDatum(), slovan.at(4)});
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r = 1; r <= 4; ++r)
        Yellow(novak, slovan.at(r - 1));
    EXPECT_EQ(StopRounds(6), (QVector<int>{6}));
    Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {Round(5), slovan.at(4)});
    EXPECT_EQ(StopRounds(6), (QVector<int>{5}));
}

TEST_F(Discipline, AStopFollowsAPlayerWhoMovedWithinTheCompetition)
{
    QVector<int> slovan;
    for (int r = 1; r <= 4; ++r) {
        slovan << Match(r, m_a, m_b);
        Match(r, m_c, 0);
    }
    Match(5, m_b, m_c);
    Match(5, m_a, 0);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r = 1; r <= 4; ++r)
        Yellow(novak, slovan.at(r - 1));
    // Slovan has no match after round 4: the stop stands nowhere while he plays for Slovan.
    EXPECT_TRUE(MayNotPlay(5).isEmpty());
    // Moved to Tatran, he misses Tatran's next match.
    Db().Execute(QStringLiteral("update thraci set IDklubu=? where ID=?"), {m_c, novak});
    EXPECT_EQ(MayNotPlay(5), QStringList{QStringLiteral("Novák: ŽK (4.)")});
    EXPECT_TRUE(MayNotPlay(5, m_a).isEmpty());
    EXPECT_EQ(MayNotPlay(5, m_c).size(), 1);
    // Moved out of the competition's clubs: on no list of it.
    const int other = AddCompetition(Db(), QStringLiteral("Pohár"));
    Db().Execute(QStringLiteral("update thraci set IDklubu=? where ID=?"),
                 {AddClub(Db(), other, QStringLiteral("Sokol"), 1), novak});
    EXPECT_TRUE(MayNotPlay(5).isEmpty());
}

TEST_F(Discipline, AnAmnestyNeitherCreatesNorErasesAStop)
{
    QVector<int> slovan;
    for (int r = 1; r <= 9; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    // Cards in rounds 1-4 and 6, one card forgiven before round 7: the stop of round 5 stays, no new
    // one appears in round 7.
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r : {1, 2, 3, 4, 6})
        Yellow(novak, slovan.at(r - 1));
    // Cards in rounds 3-6, one forgiven before round 7: the stop of round 7 earned in round 6 stays.
    const int svec = Player(m_a, QStringLiteral("Švec"));
    for (int r : {3, 4, 5, 6})
        Yellow(svec, slovan.at(r - 1));
    const auto before = [&] {
        QStringList all;
        for (int r = 1; r <= 9; ++r)
            all << QStringLiteral("%1=%2").arg(r).arg(StopNames(r).join(QLatin1Char('+')));
        return all;
    }();
    Amnesty(Db(), Round(7).date(), 0, false, 1);
    QStringList after;
    for (int r = 1; r <= 9; ++r)
        after << QStringLiteral("%1=%2").arg(r).arg(StopNames(r).join(QLatin1Char('+')));
    EXPECT_EQ(after, before);
    EXPECT_EQ(StopNames(5), QStringList{QStringLiteral("Ján Novák")});
    EXPECT_EQ(StopNames(7), QStringList{QStringLiteral("Ján Švec")});

    // The forgiven card counts toward nothing later: Švec has three that count, so his next card
    // (round 8) brings the count to 4 again, a new card reaching the threshold: a stop in round 9.
    Yellow(svec, slovan.at(7));
    EXPECT_EQ(StopNames(9), QStringList{QStringLiteral("Ján Švec")});
    // Everything forgiven before round 9: no new card, nothing changes for round 9's stop.
    Amnesty(Db(), Round(9).date(), m_competition, true, 0);
    EXPECT_EQ(StopNames(9), QStringList{QStringLiteral("Ján Švec")});

    // The register shows the forgiven cards in brackets and counts only the rest.
    const CZoznam list = CardRegister(Db(), m_competition, m_a, CDruhKariet::Zlte, kPravidlo);
    const int row = list.FindRow(novak);
    ASSERT_GE(row, 0);
    EXPECT_EQ(list.Text(row, 2), QStringLiteral("(1)"));
    EXPECT_EQ(list.Text(row, 2 + 4), QStringLiteral("X"));
    EXPECT_EQ(list.Text(row, 2 + 5), QStringLiteral("(1)"));
    EXPECT_EQ(list.Text(row, list.ColumnCount() - 1), QStringLiteral("0"));
    EXPECT_EQ(AmnestyCountMessage(2),
              QStringLiteral("Každému hráčovi boli vymazané ŽK v počte: 2 v každej súťaži"));
}

TEST_F(Discipline, TheAmnestyTakesEachPlayersOldestCardsInEachCompetitionOrOnlyInOne)
{
    QVector<int> slovan;
    for (int r = 1; r <= 8; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r : {1, 2, 3})
        Yellow(novak, slovan.at(r - 1));
    // Two forgiven in another competition only: nothing here.
    const int other = AddCompetition(Db(), QStringLiteral("Pohár"));
    Amnesty(Db(), Round(4).date(), other, false, 2);
    Amnesty(Db(), Round(4).date(), 0, false, 0);
    Amnesty(Db(), Round(4).date(), 0, false, -3);
    Yellow(novak, slovan.at(3));
    EXPECT_EQ(StopRounds(8), (QVector<int>{5}));
    // Two forgiven here before round 4: the fourth card makes two.
    Amnesty(Db(), Round(4).date(), m_competition, false, 2);
    EXPECT_TRUE(StopRounds(8).isEmpty());
    EXPECT_EQ(CardRegister(Db(), m_competition, m_a, CDruhKariet::Zlte, kPravidlo).Text(0, 2 + 8),
              QStringLiteral("2"));
    EXPECT_EQ(AmnestyCountFromText(QStringLiteral("x")), std::nullopt);
    EXPECT_EQ(AmnestyCountFromText(QString()), std::nullopt);
    EXPECT_EQ(AmnestyCountFromText(QStringLiteral(" 2 ")), 2);
}

TEST_F(Discipline, ARedCardMissesTheClubsNextMatchAndABanEveryMatchUpToItsDay)
{
    QVector<int> slovan;
    for (int r = 1; r <= 4; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    Match(5, m_a, 0);
    slovan << Match(6, m_b, m_a);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    Card("tckarty", novak, slovan.at(3));
    EXPECT_TRUE(MayNotPlay(5).isEmpty());
    EXPECT_EQ(MayNotPlay(6), QStringList{QStringLiteral("Novák: ČK (4. kolo)")});

    // A ban covers every match up to its day, the day included (Inter plays in rounds 1, 3 and 6;
    // a loan's end in `od` is no ban).
    const int svec = Player(m_b, QStringLiteral("Švec"));
    Db().Execute(QStringLiteral("update thraci set \"do\"=?, od=? where ID=?"),
                 {QDateTime(Round(3).date(), QTime()), QDateTime(QDate(2030, 1, 1), QTime()), svec});
    EXPECT_EQ(MayNotPlay(1), QStringList{QStringLiteral("Švec: Zákaz činnosti do 17. 8. 2024")});
    EXPECT_EQ(MayNotPlay(3), QStringList{QStringLiteral("Švec: Zákaz činnosti do 17. 8. 2024")});
    Db().Execute(QStringLiteral("update thraci set \"do\"=? where ID=?"),
                 {QDateTime(Round(3).date().addDays(-1), QTime()), svec});
    EXPECT_TRUE(MayNotPlay(3).isEmpty());
    Db().Execute(QStringLiteral("update thraci set \"do\"=? where ID=?"),
                 {QDateTime(Round(6).date(), QTime()), svec});
    // A red card and a ban for the same match stand in one row.
    Card("tckarty", svec, slovan.at(2));
    EXPECT_EQ(MayNotPlay(6),
              (QStringList{QStringLiteral("Novák: ČK (4. kolo)"),
                           QStringLiteral("Švec: ČK (3. kolo), Zákaz činnosti do 7. 9. 2024")}));

    // A ban date that is no day bans nobody; nothing breaks.
    Db().Execute(QStringLiteral("update thraci set \"do\"='2024-02-30 00:00:00' where ID=?"), {svec});
    EXPECT_EQ(MayNotPlay(6),
              (QStringList{QStringLiteral("Novák: ČK (4. kolo)"), QStringLiteral("Švec: ČK (3. kolo)")}));
}

TEST_F(Discipline, BadInputHasItsReading)
{
    QVector<int> slovan;
    for (int r = 1; r <= 6; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r = 1; r <= 4; ++r)
        Yellow(novak, slovan.at(r - 1));
    // A card whose match is gone stands at its round's first kick-off (here Tatran's bye).
    Match(3, m_c, 0);
    Db().Execute(QStringLiteral("delete from tzapasy where ID=?"), {slovan.at(2)});
    EXPECT_EQ(StopRounds(6), (QVector<int>{5}));
    // In a round that has no match any more it counts in the total but never reaches a threshold.
    Db().Execute(QStringLiteral("update tzkarty set kolo=77 where IDzapasu=?"), {slovan.at(2)});
    EXPECT_TRUE(StopRounds(6).isEmpty());
    const CZoznam list = CardRegister(Db(), m_competition, m_a, CDruhKariet::Zlte, kPravidlo);
    EXPECT_EQ(list.Text(0, list.ColumnCount() - 1), QStringLiteral("4"));

    // A rule without a count in it is the default; pieces that are not counts are passed over.
    EXPECT_EQ(CLigaroDoc::ParseStopRule(QStringLiteral("4,x,0,-2,8")), (QVector<int>{4, 8}));
    Db().Execute(QStringLiteral("insert into tsezona (stop) values ('štyri,osem')"));
    m_doc.LoadStopRounds();
    EXPECT_EQ(m_doc.StopRounds(), (QVector<int>{4, 8, 12, 16, 20, 24}));
}

TEST_F(Discipline, TheListAsPageSpreadsheetAndPrint)
{
    QVector<int> slovan;
    for (int r = 1; r <= 5; ++r)
        slovan << Match(r, m_a, r % 2 ? m_b : m_c);
    const int novak = Player(m_a, QStringLiteral("Novák"));
    for (int r = 1; r <= 4; ++r)
        Yellow(novak, slovan.at(r - 1));
    const CMyExport page = ExportMayNotPlay(Db(), m_competition, 5, kVsetkyKluby, kPravidlo, true);
    EXPECT_TRUE(page.Text().contains(QStringLiteral("<h2>Slovan</h2>")));
    EXPECT_TRUE(page.Text().contains(QStringLiteral("900101/1234")));
    const QString csv = QString::fromUtf8(page.CsvText());
    EXPECT_TRUE(csv.contains(QStringLiteral("Klub;Meno;Priezvisko;Rodné číslo;Dôvod;Zápas;Dátum")));
    EXPECT_TRUE(
        csv.contains(QStringLiteral("Slovan;Ján;Novák;900101/1234;ŽK (4.);Slovan – Inter;2024-08-31")));
    const CMyExport publicPage = ExportMayNotPlay(Db(), m_competition, 5, kVsetkyKluby, kPravidlo, false);
    EXPECT_FALSE(publicPage.Text().contains(QStringLiteral("900101/1234")));
    const QString none = ExportMayNotPlay(Db(), m_competition, 4, kVsetkyKluby, kPravidlo, true).Text();
    EXPECT_TRUE(none.contains(QStringLiteral("V 4. kole nemá zákaz hrať žiadny hráč.")));

    // The window's list: the clubs that have someone, each under its name.
    const CZoznam list = MayNotPlayList(Db(), m_competition, 5, kVsetkyKluby, kPravidlo);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Text(1, 1), QStringLiteral("Slovan"));
    EXPECT_EQ(list.Text(2, 1), QStringLiteral("Novák Ján"));
    EXPECT_EQ(list.Text(2, 3), QStringLiteral("ŽK (4.)"));
    EXPECT_EQ(MayNotPlayList(Db(), m_competition, 4, kVsetkyKluby, kPravidlo).Text(0, 1),
              QStringLiteral("V 4. kole nemá zákaz hrať žiadny hráč."));
    CTlacNesmuHrat printout(Db(), m_competition, 5, list);
    const auto pages = RecordPages(printout);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_NE(pages.first().FindText(QStringLiteral("Kto nesmie hrať - I. trieda - 5. kolo")), nullptr);
    EXPECT_NE(pages.first().FindText(QStringLiteral("Novák Ján")), nullptr);
}

// A suspension not served by the season's end is served in the club's first matches of the next one:
// a yellow-card stop earned in the last match, a red card of the last round; what was served already,
// and the cards' count, do not come over.
TEST_F(Discipline, SuspensionsNotServedByTheSeasonsEndAreCarriedIntoTheNextSeason)
{
    Db().Execute(QStringLiteral("insert into tsezona (nazov) values ('2024/2025')"));
    // Rounds 1-3: Slovan plays each; Tatran plays Inter in round 3.
    const int r1 = Match(1, m_a, m_b);
    const int r2 = Match(2, m_c, m_a);
    const int r3 = Match(3, m_a, m_b);
    Match(3, m_c, m_b, Round(3, 1));
    const int novak = Player(m_a, QStringLiteral("Novák"));
    const int kral = Player(m_a, QStringLiteral("Kráľ"));
    const int hruska = Player(m_a, QStringLiteral("Hruška"));
    // Novák: his 4th yellow card in the last match, nothing left to serve it.
    for (const int m : {r1, r2, r3, r3})
        Yellow(novak, m);
    // Kráľ: red in the last match; Hruška: 4 yellows by round 2, served in round 3.
    Card("tckarty", kral, r3);
    for (const int m : {r1, r1, r2, r2})
        Yellow(hruska, m);
    const QVector<CPrenesenyTrest> carried = SuspensionsToCarry(Db(), kPravidlo, QStringLiteral("2024/2025"));
    ASSERT_EQ(carried.size(), 2);
    EXPECT_EQ(carried.at(0).player, novak);
    EXPECT_EQ(carried.at(0).matches, 1);
    EXPECT_EQ(carried.at(0).cause, QStringLiteral("ŽK (4.)"));
    EXPECT_EQ(carried.at(1).player, kral);
    EXPECT_EQ(carried.at(1).kind, kTrestCervena);
    EXPECT_EQ(carried.at(1).cause, QStringLiteral("ČK (3. kolo)"));

    // The next season: the clubs and players come over with what they still owe.
    const QString next = Path(QStringLiteral("dalsia.mdb"));
    CPrenosSezony plan;
    plan.seasonName = QStringLiteral("2025/2026");
    plan.suspensions = carried;
    CreateSeasonFrom(Db(), next, plan);
    ASSERT_TRUE(m_doc.OpenSeasonFile(next));
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzkarty")).toInt(), 0);
    // Its first rounds: Slovan is free in the first, plays in the second and third.
    Match(1, m_b, m_c);
    Match(2, m_a, m_b);
    Match(3, m_c, m_a);
    EXPECT_EQ(MayNotPlay(1), QStringList());
    EXPECT_EQ(MayNotPlay(2), (QStringList{QStringLiteral("Kráľ: prenesený trest (2024/2025)"),
                                          QStringLiteral("Novák: prenesený trest (2024/2025)")}));
    EXPECT_EQ(MayNotPlay(3), QStringList());
    // Counted as this season's stops are: a new card count starts from nothing.
    EXPECT_TRUE(StopNames(2).isEmpty());
    m_doc.CloseSeason();

    // Left out when asked: nothing is carried.
    const QString without = Path(QStringLiteral("bez.mdb"));
    ASSERT_TRUE(m_doc.OpenSeasonFile(Path(QStringLiteral("sezona.mdb"))));
    plan.suspensions.clear();
    CreateSeasonFrom(Db(), without, plan);
    ASSERT_TRUE(m_doc.OpenSeasonFile(without));
    Match(2, m_a, m_b);
    EXPECT_EQ(MayNotPlay(2), QStringList());
}

} // namespace
