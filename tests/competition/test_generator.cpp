// The fixture generator: the Berger tables, the kick-off chains, the passes of the four modes and
// what generation and clearing do to the season file.

#include "competition/generator.h"
#include "db/CZaznamy.h"
#include "db/kody.h"
#include "pomocnik.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

QString Round(int slotCount, int round)
{
    QStringList pairs;
    for (int k = 0; k < slotCount / 2; ++k)
        pairs << QStringLiteral("%1-%2")
                     .arg(PairSlot(round, k, 0, slotCount))
                     .arg(PairSlot(round, k, 1, slotCount));
    return pairs.join(QStringLiteral(", "));
}

TEST(Berger, TablesForFourAndSixSlots)
{
    EXPECT_EQ(Round(6, 0), QStringLiteral("1-6, 2-5, 3-4"));
    EXPECT_EQ(Round(6, 1), QStringLiteral("6-4, 5-3, 1-2"));
    EXPECT_EQ(Round(6, 2), QStringLiteral("2-6, 3-1, 4-5"));
    EXPECT_EQ(Round(6, 3), QStringLiteral("6-5, 1-4, 2-3"));
    EXPECT_EQ(Round(6, 4), QStringLiteral("3-6, 4-2, 5-1"));
    EXPECT_EQ(Round(4, 0), QStringLiteral("1-4, 2-3"));
    EXPECT_EQ(Round(4, 1), QStringLiteral("4-3, 1-2"));
    EXPECT_EQ(Round(4, 2), QStringLiteral("2-4, 3-1"));
    EXPECT_EQ(PairSlot(0, 0, 0, 5), 0);
    EXPECT_EQ(PairSlot(0, 0, 0, 2), 0);
}

TEST(Berger, EveryPassPairsEveryTwoSlotsOnceAndEverySlotPlaysOnceARound)
{
    for (int n = 4; n <= 30; n += 2) {
        QSet<QPair<int, int>> pairs;
        for (int r = 0; r < n - 1; ++r) {
            QSet<int> playing;
            for (int k = 0; k < n / 2; ++k) {
                const int a = PairSlot(r, k, 0, n), b = PairSlot(r, k, 1, n);
                ASSERT_TRUE(a >= 1 && a <= n && b >= 1 && b <= n && a != b) << n << " " << r << " " << k;
                playing << a << b;
                pairs << qMakePair(std::min(a, b), std::max(a, b));
            }
            EXPECT_EQ(playing.size(), n) << "slots " << n << " round " << r;
        }
        EXPECT_EQ(pairs.size(), n * (n - 1) / 2) << "slots " << n;
    }
}

QStringList Chain(CRetazVykopov chain, int rounds, bool spring)
{
    QStringList out;
    chain.SetMarks();
    for (int i = 0; i < rounds; ++i) {
        out << chain.Value().toString(QStringLiteral("d.M. HH:mm"));
        if (spring)
            chain.SpringStep();
        else
            chain.AutumnStep();
    }
    return out;
}

TEST(KickOff, TheAutumnChainMovesEarlierAndTheSpringChainLater)
{
    EXPECT_EQ(Chain(CRetazVykopov(QDateTime(QDate(2011, 8, 1), QTime(17, 0)), 30), 13, false),
              (QStringList{"1.8. 17:00", "8.8. 17:00", "15.8. 17:00", "22.8. 16:30", "29.8. 16:30",
                           "5.9. 16:00", "12.9. 16:00", "19.9. 15:30", "26.9. 15:30", "3.10. 15:00",
                           "10.10. 15:00", "17.10. 14:30", "24.10. 14:30"}));
    EXPECT_EQ(Chain(CRetazVykopov(QDateTime(QDate(2012, 3, 13), QTime(14, 30)), 30), 13, true),
              (QStringList{"13.3. 14:30", "20.3. 15:00", "27.3. 15:00", "3.4. 15:30", "10.4. 15:30",
                           "17.4. 16:00", "24.4. 16:00", "1.5. 16:00", "8.5. 16:30", "15.5. 16:30",
                           "22.5. 17:00", "29.5. 17:00", "5.6. 17:00"}));
    EXPECT_EQ(Chain(CRetazVykopov(QDateTime(QDate(2012, 3, 13), QTime(16, 45)), 30), 6, true),
              (QStringList{"13.3. 16:45", "20.3. 17:15", "27.3. 17:15", "3.4. 17:15", "10.4. 17:15",
                           "17.4. 17:15"}));
}

TEST(KickOff, HoursAreReadStrictly)
{
    EXPECT_EQ(ParseHour(QStringLiteral("17:00")), QTime(17, 0));
    EXPECT_EQ(ParseHour(QStringLiteral("9,5")), QTime(9, 5));
    EXPECT_EQ(ParseHour(QStringLiteral("00:00")), QTime(0, 0));
    for (const char* bad : {"24:00", "17:60", "17.00", "17", ":30", "17:300", "ab:cd", ""})
        EXPECT_FALSE(ParseHour(QString::fromLatin1(bad))) << bad;
}

CParametreGenerovania Params(int rounds, int mode, const QString& startHour = QStringLiteral("17:00"),
                             const QString& returnHour = QStringLiteral("14:30"))
{
    CParametreGenerovania p = CParametreGenerovania::Defaults(rounds, QDate(2011, 6, 1));
    p.mode = mode;
    p.startHour = startHour;
    p.returnHour = returnHour;
    return p;
}

QVector<int> SlotTable(int clubs)
{
    QVector<int> t(clubs + 1, 0);
    for (int i = 1; i <= clubs; ++i)
        t[i] = 100 + i;
    return t;
}

TEST(Plan, FourteenClubsTwoPassesFollowTheWorkedExample)
{
    const auto p = Params(26, kDvojkolovo);
    const auto rows = PlanFixtures(SlotTable(14), 14, p, QTime(17, 0), QTime(14, 30));
    ASSERT_EQ(rows.size(), 26 * 7);
    EXPECT_EQ(rows.at(0).cas, QDateTime(QDate(2011, 8, 1), QTime(17, 0)));
    EXPECT_EQ(rows.at(3 * 7).cas, QDateTime(QDate(2011, 8, 22), QTime(16, 30)));
    EXPECT_EQ(rows.at(12 * 7).cas, QDateTime(QDate(2011, 10, 24), QTime(14, 30)));
    // The return pass starts on the return date, home and away swapped.
    EXPECT_EQ(rows.at(13 * 7).kolo, 14);
    EXPECT_EQ(rows.at(13 * 7).cas, QDateTime(QDate(2012, 3, 13), QTime(14, 30)));
    EXPECT_EQ(rows.at(13 * 7).los1, rows.at(0).los2);
    EXPECT_EQ(rows.at(13 * 7).los2, rows.at(0).los1);
    EXPECT_EQ(rows.at(13 * 7).klub1, 100 + rows.at(0).los2);
}

TEST(Plan, AMidnightHourKeepsEveryKickOffOfItsChainAtTheFirstTime)
{
    const auto rows = PlanFixtures(SlotTable(10), 10, Params(18, kDvojkolovo, QStringLiteral("00:00")),
                                   QTime(0, 0), QTime(14, 30));
    for (const auto& z : rows) {
        EXPECT_EQ(z.cas.time(), z.kolo <= 9 ? QTime(0, 0) : QTime(14, 30)) << z.kolo;
    }
}

TEST(Plan, ThreeClubsPlayWithAByeEveryRound)
{
    const auto rows = PlanFixtures(SlotTable(3), 3, Params(6, kDvojkolovo), QTime(17, 0), QTime(14, 30));
    ASSERT_EQ(rows.size(), 12);
    for (int round = 1; round <= 6; ++round) {
        int byes = 0;
        for (const auto& z : rows)
            if (z.kolo == round && (z.klub1 == 0 || z.klub2 == 0))
                ++byes;
        EXPECT_EQ(byes, 1) << round;
    }
}

TEST(Plan, SixteenClubsOverThirtyFourRoundsHaveTwoEmptySlots)
{
    const auto rows = PlanFixtures(SlotTable(16), 16, Params(34, kDvojkolovo), QTime(17, 0), QTime(14, 30));
    ASSERT_EQ(rows.size(), 34 * 9);
    const auto round = [&](int kolo) {
        QVector<CGenerovanyZapas> out;
        for (const auto& z : rows)
            if (z.kolo == kolo)
                out << z;
        return out;
    };
    const auto r16 = round(16);
    ASSERT_EQ(r16.size(), 9);
    EXPECT_EQ(r16.at(0).los1, 18);
    EXPECT_EQ(r16.at(0).los2, 17);
    EXPECT_EQ(r16.at(0).klub1, 0);
    EXPECT_EQ(r16.at(0).klub2, 0);
    const auto r33 = round(33);
    EXPECT_EQ(r33.at(0).los1, 17);
    EXPECT_EQ(r33.at(0).los2, 18);
    // Every other round: two clubs have a bye.
    for (int k : {1, 5, 17, 20}) {
        int byes = 0;
        for (const auto& z : round(k))
            byes += (z.klub1 == 0) + (z.klub2 == 0);
        EXPECT_EQ(byes, 2) << k;
    }
}

TEST(Plan, FourPassesNumberTheRoundsOnAndThreePassesTurnToSpringAtThreeQuarters)
{
    const auto four = PlanFixtures(SlotTable(6), 6, Params(10, kStvorkolovo), QTime(17, 0), QTime(14, 30));
    ASSERT_EQ(four.size(), 4 * 5 * 3);
    EXPECT_EQ(four.first().kolo, 1);
    EXPECT_EQ(four.last().kolo, 20);
    // Passes 1 and 2 on the start chain, 3 and 4 on the return chain.
    EXPECT_EQ(four.at(9 * 3).cas.date().year(), 2011);
    EXPECT_EQ(four.at(10 * 3).cas.date(), QDate(2012, 3, 13));
    EXPECT_EQ(four.at(5 * 3).los1, four.at(0).los2);

    const auto one = PlanFixtures(SlotTable(6), 6, Params(10, kJednokolovo), QTime(17, 0), QTime(14, 30));
    EXPECT_EQ(one.last().kolo, 5);

    // 8 clubs, rounds chosen 14: the spring part begins at round 14*3/4+1 = 11.
    const auto three = PlanFixtures(SlotTable(8), 8, Params(14, kTrojkolovo), QTime(17, 0), QTime(14, 30));
    ASSERT_EQ(three.size(), 3 * 7 * 4);
    const auto kickOff = [&](int kolo) {
        for (const auto& z : three)
            if (z.kolo == kolo)
                return z.cas;
        return QDateTime();
    };
    EXPECT_EQ(kickOff(10).date().year(), 2011);
    EXPECT_EQ(kickOff(11), QDateTime(QDate(2012, 3, 13), QTime(14, 30)));
    EXPECT_EQ(kickOff(12), QDateTime(QDate(2012, 3, 20), QTime(15, 0)));
    // The third pass goes on from the spring chain with the autumn rule.
    EXPECT_GT(kickOff(15), kickOff(14));
    // A smaller rounds value brings the switch forward (to the first round of the second pass)
    // without shortening the list.
    const auto early = PlanFixtures(SlotTable(8), 8, Params(6, kTrojkolovo), QTime(17, 0), QTime(14, 30));
    EXPECT_EQ(early.size(), three.size());
    for (const auto& z : early) {
        if (z.kolo == 7) {
            EXPECT_EQ(z.cas.date().year(), 2011);
        }
        if (z.kolo == 8) {
            EXPECT_EQ(z.cas.date(), QDate(2012, 3, 13));
        }
    }
}

TEST(Plan, NineteenClubsGetAFullFixtureList)
{
    EXPECT_EQ(RoundsList(38).first(), 38);
    EXPECT_EQ(RoundsList(34).size(), 8);
    const auto rows = PlanFixtures(SlotTable(19), 19, Params(38, kDvojkolovo), QTime(17, 0), QTime(14, 30));
    ASSERT_EQ(rows.size(), 38 * 10);
    QSet<QPair<int, int>> meetings;
    for (const auto& z : rows)
        if (z.klub1 && z.klub2)
            meetings << qMakePair(z.klub1, z.klub2);
    EXPECT_EQ(meetings.size(), 19 * 18);
}

class Generation : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
        m_other = AddCompetition(m_doc.Database(), QStringLiteral("II. trieda"));
    }
    int Count(const QString& sql) { return m_doc.Database().Value(sql).toInt(); }
    void AddClubs(int competition, int n)
    {
        for (int i = 1; i <= n; ++i)
            AddClub(m_doc.Database(), competition, QStringLiteral("Klub %1").arg(i), i);
    }
    void AddResultsAndCards(int competition)
    {
        CDatabaza& db = m_doc.Database();
        const int match = AddMatch(db, competition, 1, 1, 2, 2, 1);
        for (const char* t : {"tgoly", "tzkarty", "tckarty"})
            db.Execute(QStringLiteral(
                           "insert into %1 (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?,1,1,1,?)")
                           .arg(QLatin1String(t)),
                       {match, competition});
        db.Execute(QStringLiteral("insert into tbody (IDklubu, skupina, body) values (1, ?, 3)"),
                   {competition});
    }
    int m_competition = 0;
    int m_other = 0;
};

TEST_F(Generation, WritesTheWholeListAndReplacesEverythingHangingOnTheOldOne)
{
    AddClubs(m_competition, 3);
    AddClubs(m_other, 4);
    AddResultsAndCards(m_competition);
    AddResultsAndCards(m_other);
    ASSERT_TRUE(GenerateFixtures(m_doc, m_competition, Params(6, kDvojkolovo)));
    EXPECT_EQ(m_user.questions, (QStringList{kPotvrdenieGenerovania}));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=1")), 12);
    EXPECT_EQ(Count(QStringLiteral("select count(distinct kolo) from tzapasy where skupina=1")), 6);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=1 and (klub1=0 or klub2=0)")),
              6);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=1 and body1=100 and body2=100 "
                                   "and polcas1=100 and polcas2=100")),
              12);
    for (const char* t : {"tgoly", "tzkarty", "tckarty", "tbody"}) {
        EXPECT_EQ(Count(QStringLiteral("select count(*) from %1 where skupina=1").arg(QLatin1String(t))), 0)
            << t;
        EXPECT_EQ(Count(QStringLiteral("select count(*) from %1 where skupina=2").arg(QLatin1String(t))), 1)
            << t;
    }
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=2")), 1);

    // "Vymazať súťaže" asks, and on yes clears the competition alone.
    m_user.answers = {false, true};
    EXPECT_FALSE(ClearCompetitionCommand(m_doc, m_competition));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=1")), 12);
    EXPECT_TRUE(ClearCompetitionCommand(m_doc, m_competition));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=1")), 0);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=2")), 1);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tgoly where skupina=2")), 1);
}

TEST_F(Generation, RefusedInputChangesNothing)
{
    AddClubs(m_competition, 2);
    AddResultsAndCards(m_competition);
    EXPECT_FALSE(GenerateFixtures(m_doc, m_competition, Params(6, kDvojkolovo)));
    EXPECT_EQ(m_user.messages.last(), kMalyPocetKlubov);
    AddClub(m_doc.Database(), m_competition, QStringLiteral("Klub 3"), 3);

    const auto refused = [&](CParametreGenerovania p, const QString& message) {
        m_user.messages.clear();
        EXPECT_FALSE(GenerateFixtures(m_doc, m_competition, p));
        ASSERT_EQ(m_user.messages.size(), 1);
        EXPECT_TRUE(m_user.messages.at(0).startsWith(message.left(30)))
            << m_user.messages.at(0).toStdString();
    };
    refused(Params(6, kDvojkolovo, QStringLiteral("24:00")), kZlaHodinaZaciatku);
    refused(Params(6, kDvojkolovo, QStringLiteral("17:60")), kZlaHodinaZaciatku);
    refused(Params(6, kDvojkolovo, QStringLiteral("17.00")), kZlaHodinaZaciatku);
    refused(Params(6, kDvojkolovo, QStringLiteral("17:00"), QStringLiteral("25:00")), kZlaHodinaOdvety);
    CParametreGenerovania noDate = Params(6, kDvojkolovo);
    noDate.start = QDate();
    refused(noDate, kZlyDatumZaciatku);
    refused(Params(7, kDvojkolovo), kZlyPocetKol);
    EXPECT_TRUE(m_user.questions.isEmpty());

    // "No" at the question.
    m_user.answers = {false};
    EXPECT_FALSE(GenerateFixtures(m_doc, m_competition, Params(6, kDvojkolovo)));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy")), 1);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tgoly")), 1);
}

TEST_F(Generation, ClubsAreSlottedByTheirDrawNumbers)
{
    CDatabaza& db = m_doc.Database();
    const int a = AddClub(db, m_competition, QStringLiteral("A"), 1);
    AddClub(db, m_competition, QStringLiteral("B"), 2);
    const int c = AddClub(db, m_competition, QStringLiteral("C"), 2); // same number: read last, wins
    const int none = AddClub(db, m_competition, QStringLiteral("bez čísla"), 0);
    const int high = AddClub(db, m_competition, QStringLiteral("vysoké"), 40);
    EXPECT_EQ(DoubleRoundCount(db, m_competition), 10);
    ASSERT_TRUE(GenerateFixtures(m_doc, m_competition, Params(10, kJednokolovo)));
    EXPECT_GT(Count(QStringLiteral("select count(*) from tzapasy where klub1=%1 or klub2=%1").arg(a)), 0);
    EXPECT_GT(Count(QStringLiteral("select count(*) from tzapasy where klub1=%1 or klub2=%1").arg(c)), 0);
    for (int id : {none, high})
        EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where klub1=%1 or klub2=%1").arg(id)),
                  0);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tzapasy where skupina=1")), 5 * 3);
}

} // namespace
