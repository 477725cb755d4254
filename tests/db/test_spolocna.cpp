// Several officials on one server season at once: nobody's change is silently overwritten, the others'
// changes reach an open window, each committee is held to its part by the server itself, and every
// change is logged with who made it and what the row held before.

#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CSezonaNaServeri.h"
#include "db/historia.h"
#include "db/kody.h"
#include "pomocnik.h"
#include "results/prepocet.h"
#include "results/vysledky.h"
#include "server.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <poll.h>
#include <thread>

namespace {

const CPolickaVysledku Score(const char* home, const char* away)
{
    return {QString::fromLatin1(home), QString::fromLatin1(away), QString(), QString(), QString()};
}

// The standings of a competition as text, club by club.
QString Standings(CDatabaza& db, int competition)
{
    QString out;
    CPrikaz rows(
        db,
        QStringLiteral("select IDklubu, zapasy, vyhry, remizy, prehry, skore1, skore2, body from tbody "
                       "where skupina=? order by IDklubu"),
        {competition});
    while (rows.Step()) {
        for (int i = 0; i < rows.ColumnCount(); ++i)
            out += rows.Text(i) + QLatin1Char(' ');
        out += QLatin1Char('\n');
    }
    return out;
}

// The standings of the first competition as the server has them are those a recalculation gives.
void ExpectStandingsOfARecalculation(CDatabaza& db)
{
    const QString typed = Standings(db, 1);
    RecalculateCompetition(db, 1);
    EXPECT_EQ(typed, Standings(db, 1));
}

// The home side's goals of a match as the copy holds them.
int HomeGoals(CDatabaza& db, int match)
{
    return db.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt();
}

QVector<int> UnplayedMatches(CDatabaza& db, int competition)
{
    QVector<int> ids;
    CPrikaz rows(
        db,
        QStringLiteral("select ID from tzapasy where skupina=? and body1=? and klub1<>0 and klub2<>0 "
                       "order by ID"),
        {competition, kBezVysledku});
    while (rows.Step())
        ids << static_cast<int>(rows.Int64(0));
    return ids;
}

int Program(const QStringList& arguments, QString* out = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(MIRAK_EXECUTABLE), arguments);
    p.waitForFinished(120000);
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode();
}

class Shared : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        ASSERT_TRUE(SharedServer().Problem().isEmpty()) << SharedServer().Problem().toStdString();
        m_address = UploadedForTest(NewDemoSeason(QStringLiteral("demo.mdb"), 2, 8, 12));
        m_season = ParseServerAddress(m_address).season;
    }
    QString m_address;
    QString m_season;
};

// Two officials with the season open, each in a window of her own.
class TwoOfficials : public Shared
{
protected:
    void SetUp() override
    {
        Shared::SetUp();
        m_first.Open(m_address);
        m_second.Open(m_address);
    }
    CDatabaza m_first;
    CDatabaza m_second;
};

} // namespace

TEST_F(TwoOfficials, TheSameMatchTypedInTwoWindowsIsRefusedToTheSecondNamingWhoAndDifferentMatchesBothStay)
{
    CDatabaza& first = m_first;
    CDatabaza& second = m_second;
    const QVector<int> matches = UnplayedMatches(first, 1);
    ASSERT_GE(matches.size(), 2);

    // Both read the match before either typed.
    first.MarkReading();
    second.MarkReading();
    EnterResult(first, 1, matches[0], Score("2", "1"), kDomaci);
    try {
        EnterResult(second, 1, matches[0], Score("3", "0"), kDomaci);
        ADD_FAILURE() << "the second window overwrote the first's score";
    } catch (const CChybaDatabazy& e) {
        const QString text = e.UserText();
        EXPECT_TRUE(text.contains(QStringLiteral("mirak"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("zápas"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("góly domácich: 2"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("zadajte ju znova"))) << text.toStdString();
    }
    // Her window shows what the match holds now, and the server kept the first score.
    EXPECT_EQ(second.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {matches[0]}).toInt(), 2);
    EXPECT_EQ(SharedServer().Psql(QStringLiteral("select body1 from \"%1\".tzapasy where \"ID\" = %2")
                                      .arg(m_season)
                                      .arg(matches[0])),
              QStringLiteral("2"));
    // Typed again, deliberately, it goes through.
    EnterResult(second, 1, matches[0], Score("3", "0"), kDomaci);
    first.Refresh();
    EXPECT_EQ(first.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {matches[0]}).toInt(), 3);

    // Different matches of one round: both kept, and the standings are a recalculation's.
    first.MarkReading();
    second.MarkReading();
    EnterResult(first, 1, matches[1], Score("1", "1"), kDomaci);
    EnterResult(second, 1, matches[2], Score("0", "4"), kDomaci);
    CDatabaza fresh;
    fresh.Open(m_address);
    EXPECT_EQ(fresh.Value(QStringLiteral("select body2 from tzapasy where ID=?"), {matches[1]}).toInt(), 1);
    EXPECT_EQ(fresh.Value(QStringLiteral("select body2 from tzapasy where ID=?"), {matches[2]}).toInt(), 4);
    ExpectStandingsOfARecalculation(fresh);
}

TEST_F(TwoOfficials, ScoresTypedInOneCompetitionWhileAnotherTypesInAnotherKeepBothAndEveryCopyTakesAllIn)
{
    CDatabaza& first = m_first;
    CDatabaza& second = m_second;
    const QVector<int> one = UnplayedMatches(first, 1);
    const QVector<int> two = UnplayedMatches(first, 2);
    ASSERT_GE(one.size(), 2);
    ASSERT_GE(two.size(), 1);

    // The second types in the first competition; the first, whose copy has not taken it in, types in
    // the second: both stay, and the first's copy still takes in the other's score.
    EnterResult(second, 1, one[0], Score("4", "0"), kDomaci);
    first.MarkReading();
    EnterResult(first, 2, two[0], Score("2", "2"), kDomaci);
    EXPECT_EQ(HomeGoals(first, one[0]), kBezVysledku);
    first.Refresh();
    EXPECT_EQ(HomeGoals(first, one[0]), 4);
    second.Refresh();
    EXPECT_EQ(HomeGoals(second, two[0]), 2);

    // The first types a match of a club whose match the second has just changed, without having seen
    // it: that club's standings are counted on the other's score too.
    EnterResult(second, 1, one[1], Score("0", "5"), kDomaci);
    const int sameClub =
        first
            .Value(
                QStringLiteral("select min(ID) from tzapasy where skupina=1 and body1=? and ID<>? and "
                               "(klub1 in (select klub1 from tzapasy where ID=?) or klub2 in (select klub1 "
                               "from tzapasy where ID=?))"),
                {kBezVysledku, one[1], one[1], one[1]})
            .toInt();
    ASSERT_GT(sameClub, 0);
    first.MarkReading();
    EnterResult(first, 1, sameClub, Score("1", "0"), kDomaci);
    EXPECT_EQ(HomeGoals(first, one[1]), 0);

    // A match of other clubs of that competition is not held up by the other's next score: the copy
    // writes it without taking that score in first.
    EnterResult(second, 1, one[2], Score("2", "3"), kDomaci);
    const QString clubsOf =
        QStringLiteral("(select klub1 from tzapasy where ID in (?, ?) union select klub2 from "
                       "tzapasy where ID in (?, ?))");
    const int otherClubs =
        first
            .Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and body1=? and klub1>0 and "
                                  "klub2>0 and klub1 not in %1 and klub2 not in %1")
                       .arg(clubsOf),
                   {kBezVysledku, one[2], sameClub, one[2], sameClub, one[2], sameClub, one[2], sameClub})
            .toInt();
    ASSERT_GT(otherClubs, 0);
    first.MarkReading();
    EnterResult(first, 1, otherClubs, Score("3", "3"), kDomaci);
    EXPECT_EQ(HomeGoals(first, one[2]), kBezVysledku);
    CDatabaza fresh;
    fresh.Open(m_address);
    EXPECT_EQ(HomeGoals(fresh, one[2]), 2);
    EXPECT_EQ(HomeGoals(fresh, otherClubs), 3);
    EXPECT_EQ(HomeGoals(fresh, one[0]), 4);
    EXPECT_EQ(HomeGoals(fresh, one[1]), 0);
    EXPECT_EQ(HomeGoals(fresh, sameClub), 1);
    EXPECT_EQ(HomeGoals(fresh, two[0]), 2);
    const QString secondCompetition = Standings(fresh, 2);
    ExpectStandingsOfARecalculation(fresh);
    RecalculateCompetition(fresh, 2);
    EXPECT_EQ(secondCompetition, Standings(fresh, 2));
}

TEST_F(TwoOfficials, AWriteKeptToTwoClubsThatChangesAnotherClubsMatchTakesTheOthersChangesInFirst)
{
    CDatabaza& first = m_first;
    CDatabaza& second = m_second;
    const QVector<int> one = UnplayedMatches(first, 1);
    ASSERT_GE(one.size(), 1);
    const int mine = one[0];
    // A match of the competition of neither of her clubs, which another has just scored.
    const int theirs =
        first
            .Value(QStringLiteral("select min(z.ID) from tzapasy z, tzapasy m where m.ID=? and z.skupina=1 "
                                  "and z.body1=? and z.klub1>0 and z.klub2>0 and z.klub1 not in (m.klub1, "
                                  "m.klub2) and z.klub2 not in (m.klub1, m.klub2)"),
                   {mine, kBezVysledku})
            .toInt();
    ASSERT_GT(theirs, 0);
    EnterResult(second, 1, theirs, Score("3", "1"), kDomaci);

    // Her write says it keeps to her match's two clubs, yet also changes the other match: the server's
    // check of her clubs would not see the other's score, so the copy takes it in before her write.
    CRozsahZapisu scope{1,
                        {QStringLiteral("tzapasy")},
                        {},
                        {},
                        {{QStringLiteral("tzapasy"), {QStringLiteral("klub1"), QStringLiteral("klub2")}}}};
    scope.clubs << first.Value(QStringLiteral("select klub1 from tzapasy where ID=?"), {mine}).toInt()
                << first.Value(QStringLiteral("select klub2 from tzapasy where ID=?"), {mine}).toInt();
    first.MarkReading();
    first.WriteInScope(scope, [&] {
        first.Execute(QStringLiteral("update tzapasy set poznamka2=? where ID in (?, ?)"),
                      {QStringLiteral("overené"), mine, theirs});
    });
    EXPECT_EQ(HomeGoals(first, theirs), 3);
    CDatabaza fresh;
    fresh.Open(m_address);
    EXPECT_EQ(HomeGoals(fresh, theirs), 3);
    EXPECT_EQ(fresh
                  .Value(QStringLiteral("select count(*) from tzapasy where poznamka2=?"),
                         {QStringLiteral("overené")})
                  .toInt(),
              2);
}

// A write in a scope goes as statements the connection prepared once, with its values beside them.
TEST_F(TwoOfficials, WritesInAScopeKeepEveryValueWholeAndGoOnAfterARefusalAndAServerRestart)
{
    CDatabaza& first = m_first;
    CDatabaza& second = m_second;
    const QVector<int> matches = UnplayedMatches(first, 1);
    ASSERT_GE(matches.size(), 4);
    const auto clubsScope = [&](int match) {
        CRozsahZapisu scope{
            1,
            {QStringLiteral("tzapasy")},
            {},
            {},
            {{QStringLiteral("tzapasy"), {QStringLiteral("klub1"), QStringLiteral("klub2")}}}};
        scope.clubs << first.Value(QStringLiteral("select klub1 from tzapasy where ID=?"), {match}).toInt()
                    << first.Value(QStringLiteral("select klub2 from tzapasy where ID=?"), {match}).toInt();
        return scope;
    };
    const auto fresh = [&](const QString& sql, int match) {
        CDatabaza db;
        db.Open(m_address);
        return db.Value(sql, {match});
    };
    EnterResult(first, 1, matches[0], Score("2", "1"), kDomaci);

    // Text that would end a statement or name a value of its own, and a NULL, as the user's notes.
    const QString awkward = QStringLiteral("'; delete from tzapasy; -- $1 $2 \\x00 \\ Ďurčo \"o'\" ;");
    first.MarkReading();
    first.WriteInScope(clubsScope(matches[1]), [&] {
        first.Execute(QStringLiteral("update tzapasy set poznamka=?, poznamka2=null where ID=?"),
                      {awkward, matches[1]});
    });
    EXPECT_EQ(fresh(QStringLiteral("select poznamka from tzapasy where ID=?"), matches[1]).toString(),
              awkward);
    EXPECT_TRUE(fresh(QStringLiteral("select poznamka2 from tzapasy where ID=?"), matches[1]).isNull());
    EXPECT_EQ(fresh(QStringLiteral("select count(*) from tzapasy where skupina=?"), 1).toInt(),
              first.Value(QStringLiteral("select count(*) from tzapasy where skupina=1")).toInt());

    // Refused by the server's check in the middle of the trip (another typed the match since she
    // read it): told, and her next score goes through on the same connection.
    first.MarkReading();
    EnterResult(second, 1, matches[2], Score("5", "0"), kDomaci);
    try {
        EnterResult(first, 1, matches[2], Score("0", "5"), kDomaci);
        ADD_FAILURE() << "her score went over the other's";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("medzitým zmenil"))) << e.UserText().toStdString();
    }
    // The same score elsewhere takes the statements the refused trip would have prepared after the check.
    first.MarkReading();
    EnterResult(first, 1, matches[3], Score("0", "5"), kDomaci);
    EXPECT_EQ(fresh(QStringLiteral("select body2 from tzapasy where ID=?"), matches[3]).toInt(), 5);
    EXPECT_EQ(fresh(QStringLiteral("select body1 from tzapasy where ID=?"), matches[2]).toInt(), 5);

    // The server restarted: the window's next look at the server finds the connection broken and says
    // so; the score typed then goes through at once on a new connection, which has none of the former
    // one's statements.
    SharedServer().Stop();
    ASSERT_TRUE(SharedServer().Start()) << SharedServer().Problem().toStdString();
    try {
        first.Refresh();
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("prerušilo"))) << e.UserText().toStdString();
    }
    first.MarkReading();
    EnterResult(first, 1, matches[3], Score("4", "4"), kDomaci);
    EXPECT_EQ(fresh(QStringLiteral("select body1 from tzapasy where ID=?"), matches[3]).toInt(), 4);
    // The other window's connection broke as well: told once, it takes the score in on a new one.
    try {
        second.Refresh();
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("prerušilo"))) << e.UserText().toStdString();
    }
    second.Refresh();
    EXPECT_EQ(HomeGoals(second, matches[3]), 4);
    ExpectStandingsOfARecalculation(first);
}

TEST_F(TwoOfficials, AnotherCommitteesWorkTakenInDoesNotHoldUpTheSecretarysScores)
{
    CDatabaza& secretary = m_first;
    CDatabaza& committee = m_second;
    const QVector<int> one = UnplayedMatches(secretary, 1);
    const QVector<int> two = UnplayedMatches(secretary, 2);
    ASSERT_GE(one.size(), 1);
    ASSERT_GE(two.size(), 1);
    // A player's note (a row of no competition) changed by another, and taken in by her window.
    committee.Execute(QStringLiteral("update thraci set pozn=? where ID=(select min(ID) from thraci)"),
                      {QStringLiteral("preradený")});
    secretary.Refresh();
    // Her next score still goes without taking in first what came since: another's score elsewhere.
    EnterResult(committee, 2, two[0], Score("1", "2"), kDomaci);
    secretary.MarkReading();
    EnterResult(secretary, 1, one[0], Score("2", "0"), kDomaci);
    EXPECT_EQ(HomeGoals(secretary, two[0]), kBezVysledku);
    CDatabaza fresh;
    fresh.Open(m_address);
    EXPECT_EQ(HomeGoals(fresh, one[0]), 2);
    EXPECT_EQ(HomeGoals(fresh, two[0]), 1);
    ExpectStandingsOfARecalculation(fresh);
}

TEST_F(Shared, TwoOfficialsTypingResultsInParallelGiveTheStandingsOfOneAfterTheOther)
{
    CDatabaza probe;
    probe.Open(m_address);
    const QVector<int> matches = UnplayedMatches(probe, 1);
    ASSERT_GE(matches.size(), 12);
    std::atomic<int> refused{0};
    const auto official = [&](int start) {
        CDatabaza db;
        db.Open(m_address);
        for (int i = start; i < 12; i += 2) {
            try {
                db.MarkReading();
                EnterResult(db, 1, matches[i], Score(i % 3 == 0 ? "2" : "0", i % 4 == 0 ? "1" : "3"),
                            kDomaci);
            } catch (const CChybaDatabazy&) {
                ++refused;
            }
        }
    };
    std::thread a(official, 0);
    std::thread b(official, 1);
    a.join();
    b.join();
    EXPECT_EQ(refused, 0);
    CDatabaza fresh;
    fresh.Open(m_address);
    EXPECT_EQ(UnplayedMatches(fresh, 1).size(), matches.size() - 12);
    ExpectStandingsOfARecalculation(fresh);
}

TEST_F(Shared, ThreeOfficialsTypingInTwoCompetitionsAtOnceLeaveEveryCopyAsTheServerHoldsIt)
{
    CDatabaza probe;
    probe.Open(m_address);
    const QVector<int> one = UnplayedMatches(probe, 1);
    const QVector<int> two = UnplayedMatches(probe, 2);
    ASSERT_GE(one.size(), 12);
    ASSERT_GE(two.size(), 12);
    std::atomic<int> refused{0};
    std::vector<std::unique_ptr<CDatabaza>> copies;
    for (int i = 0; i < 3; ++i) {
        copies.push_back(std::make_unique<CDatabaza>());
        copies.back()->Open(m_address);
    }
    // Each types in both competitions in turn, the three side by side, every fourth score after taking
    // in what the others committed, as a window does when told.
    const auto official = [&](int who) {
        CDatabaza& db = *copies.at(static_cast<size_t>(who));
        for (int i = who; i < 12; i += 3) {
            try {
                if (i % 4 == 0)
                    db.Refresh();
                db.MarkReading();
                const bool first = (i + who) % 2 == 0;
                EnterResult(db, first ? 1 : 2, first ? one[i] : two[i],
                            Score(i % 3 == 0 ? "2" : "0", i % 4 == 0 ? "1" : "3"), kDomaci);
            } catch (const CChybaDatabazy&) {
                ++refused;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int who = 0; who < 3; ++who)
        threads.emplace_back(official, who);
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(refused, 0);
    CDatabaza fresh;
    fresh.Open(m_address);
    const QString matches = QStringLiteral("select ID, body1, body2 from tzapasy order by ID");
    const auto all = [&](CDatabaza& db) {
        QString out;
        CPrikaz rows(db, matches);
        while (rows.Step())
            out += rows.Text(0) + QLatin1Char(':') + rows.Text(1) + QLatin1Char(':') + rows.Text(2) +
                   QLatin1Char(' ');
        return out + Standings(db, 1) + Standings(db, 2);
    };
    // Nothing any copy missed: each, having taken in the news, holds what the server holds.
    for (auto& copy : copies) {
        copy->Refresh();
        EXPECT_EQ(all(*copy), all(fresh));
    }
    const QString second = Standings(fresh, 2);
    ExpectStandingsOfARecalculation(fresh);
    RecalculateCompetition(fresh, 2);
    EXPECT_EQ(second, Standings(fresh, 2));
}

TEST_F(Shared, AnotherWindowsCommitReachesAnOpenWindowWithinASecondAndTheOthersAreCounted)
{
    CDatabaza first;
    first.Open(m_address);
    CDatabaza second;
    second.Open(m_address);
    second.FollowOthers();
    EXPECT_TRUE(second.OthersOpen().isEmpty());
    first.FollowOthers();
    EXPECT_EQ(second.OthersOpen(), QStringList{QStringLiteral("mirak")});
    // Taking the announcement of the first's arrival is no change of the season.
    second.TakeOthersChanges();

    const int match = UnplayedMatches(first, 1).first();
    QElapsedTimer clock;
    clock.start();
    EnterResult(first, 1, match, Score("5", "2"), kDomaci);
    pollfd watch{second.ServerSocket(), POLLIN, 0};
    ASSERT_EQ(::poll(&watch, 1, 1000), 1) << "no announcement within a second";
    EXPECT_TRUE(second.TakeOthersChanges());
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(second.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 5);
    // Its own commit is no news to a window.
    EnterResult(second, 1, match, Score("5", "3"), kDomaci);
    EXPECT_FALSE(second.TakeOthersChanges());
    // A change made by another client than this program is announced by the server itself.
    SharedServer().Psql(
        QStringLiteral("update \"%1\".tzapasy set poznamka2 = 'z inej aplikácie' where \"ID\" = %2")
            .arg(m_season)
            .arg(match));
    ASSERT_EQ(::poll(&watch, 1, 1000), 1) << "another client's change not announced within a second";
    EXPECT_TRUE(second.TakeOthersChanges());
    EXPECT_EQ(second.Value(QStringLiteral("select poznamka2 from tzapasy where ID=?"), {match}).toString(),
              QStringLiteral("z inej aplikácie"));
    first.Close();
    EXPECT_TRUE(second.OthersOpen().isEmpty());
}

TEST_F(Shared, ARoleGivenBeforeTheDatabaseHasTheProgramsRolesSaysHowToMakeThem)
{
    SharedServer().Psql(QStringLiteral("create database bez_rol"));
    QString address = SharedServer().DatabaseAddress();
    address = address.left(address.lastIndexOf(QLatin1Char('/'))) + QStringLiteral("/bez_rol");
    QString out;
    EXPECT_NE(Program({QStringLiteral("--grant"), QStringLiteral("citatel"), QStringLiteral("--login"),
                       QStringLiteral("mirak"), address},
                      &out),
              0);
    EXPECT_TRUE(out.contains(QStringLiteral("Roly programu v databáze bez_rol ešte nie sú: zriaďte ich "
                                            "najprv príkazom --server-setup")))
        << out.toStdString();
}

TEST_F(Shared, EachCommitteeIsRefusedWhatIsNotItsOwnByTheProgramAndByTheServer)
{
    for (const char* login : {"jana", "disc", "rozh", "cita", "nikto"})
        SharedServer().Psql(QStringLiteral("create role %1 login").arg(QLatin1String(login)));
    QString out;
    ASSERT_EQ(Program({QStringLiteral("--server-setup"), SharedServer().DatabaseAddress()}, &out), 0)
        << out.toStdString();
    // Idempotent.
    ASSERT_EQ(Program({QStringLiteral("--server-setup"), SharedServer().DatabaseAddress()}, &out), 0)
        << out.toStdString();
    ASSERT_EQ(Program({QStringLiteral("--grant"), QStringLiteral("sekretar"), QStringLiteral("--login"),
                       QStringLiteral("jana"), SharedServer().DatabaseAddress()},
                      &out),
              0)
        << out.toStdString();
    // The secretary gives the committees their roles; a committee cannot.
    const QString asJana = SharedServer().Address(m_season, QStringLiteral("jana"));
    const QString janaDatabase = asJana.left(asJana.indexOf(QLatin1Char('?')));
    for (const auto& [role, login] :
         {std::pair{"disciplinarna", "disc"}, {"rozhodcovia", "rozh"}, {"citatel", "cita"}})
        ASSERT_EQ(Program({QStringLiteral("--grant"), QLatin1String(role), QStringLiteral("--login"),
                           QLatin1String(login), janaDatabase},
                          &out),
                  0)
            << out.toStdString();
    const QString asDisc = SharedServer().Address(m_season, QStringLiteral("disc"));
    EXPECT_NE(Program({QStringLiteral("--grant"), QStringLiteral("sekretar"), QStringLiteral("--login"),
                       QStringLiteral("disc"), asDisc.left(asDisc.indexOf(QLatin1Char('?')))},
                      &out),
              0);
    EXPECT_TRUE(out.contains(QStringLiteral("sekretár"))) << out.toStdString();
    EXPECT_NE(Program({QStringLiteral("--grant"), QStringLiteral("kral"), QStringLiteral("--login"),
                       QStringLiteral("disc"), janaDatabase},
                      &out),
              0);

    CDatabaza secretary;
    secretary.Open(asJana);
    EXPECT_EQ(secretary.ServerRole(), CRola::kSekretar);
    const int match = UnplayedMatches(secretary, 1).first();
    EnterResult(secretary, 1, match, Score("1", "0"), kDomaci);

    CDatabaza discipline;
    discipline.Open(asDisc);
    EXPECT_EQ(discipline.ServerRole(), CRola::kDisciplinarna);
    EXPECT_FALSE(discipline.MayChange(CAgenda::kSekretariat));
    EXPECT_TRUE(discipline.MayChange(CAgenda::kDisciplina));
    EXPECT_EQ(
        NoRightMessage(QStringLiteral("disc"), CRola::kDisciplinarna, CAgenda::kSekretariat),
        QStringLiteral("Na zmenu výsledkov, zápasov, klubov a hráčov nemáte právo: prihlásený ako disc, rola "
                       "disciplinárna komisia."));
    // Its own: a yellow card and a point deduction; not a result, not a standings count.
    const int player =
        discipline.Value(QStringLiteral("select min(ID) from thraci where IDklubu > 0")).toInt();
    discipline.Execute(
        QStringLiteral("insert into tzkarty (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?, ?, "
                       "1, 1, 1)"),
        {match, player});
    discipline.Execute(
        QStringLiteral("update tbody set btrest=3, trest='za výtržnosti' where ID=(select min(ID) "
                       "from tbody)"));
    try {
        EnterResult(discipline, 1, match, Score("0", "0"), kDomaci);
        ADD_FAILURE() << "the disciplinary committee changed a result";
    } catch (const CChybaDatabazy& e) {
        EXPECT_EQ(e.Sentence(),
                  QStringLiteral("Na túto zmenu nemáte na serveri právo: prihlásený ako disc, rola "
                                 "disciplinárna komisia; zmena sa neuložila."));
    }
    EXPECT_THROW(discipline.Execute(QStringLiteral("update tbody set vyhry=99")), CChybaDatabazy);
    // Nothing half-written: the refused write left the copy as the server has it.
    EXPECT_EQ(discipline.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 1);
    // The server itself refuses a client that skips the program.
    const QString direct =
        QStringLiteral("update \"%1\".tzapasy set body1 = 9 where \"ID\" = %2").arg(m_season).arg(match);
    EXPECT_TRUE(
        SharedServer().Psql(direct, QStringLiteral("disc")).contains(QStringLiteral("permission denied")));
    EXPECT_TRUE(
        SharedServer().Psql(direct, QStringLiteral("rozh")).contains(QStringLiteral("permission denied")));
    EXPECT_TRUE(
        SharedServer().Psql(direct, QStringLiteral("cita")).contains(QStringLiteral("permission denied")));
    EXPECT_TRUE(
        SharedServer()
            .Psql(QStringLiteral("update \"%1\".tbody set vyhry = 9").arg(m_season), QStringLiteral("disc"))
            .contains(QStringLiteral("permission denied")));
    EXPECT_TRUE(
        SharedServer()
            .Psql(QStringLiteral("delete from \"%1\".mirak_zmeny").arg(m_season), QStringLiteral("disc"))
            .contains(QStringLiteral("permission denied")));
    EXPECT_TRUE(
        SharedServer()
            .Psql(QStringLiteral("update \"%1\".tzkarty set kolo = 2").arg(m_season), QStringLiteral("rozh"))
            .contains(QStringLiteral("permission denied")));
    EXPECT_EQ(SharedServer().Psql(direct, QStringLiteral("jana")), QString());

    CDatabaza referees;
    referees.Open(SharedServer().Address(m_season, QStringLiteral("rozh")));
    EXPECT_EQ(referees.ServerRole(), CRola::kRozhodcovia);
    referees.Execute(QStringLiteral("update trozhodci set mobil='0900 000 000' where ID=(select min(ID) from "
                                    "trozhodci)"));
    EXPECT_THROW(referees.Execute(QStringLiteral("delete from tzkarty")), CChybaDatabazy);

    CDatabaza reader;
    reader.Open(SharedServer().Address(m_season, QStringLiteral("cita")));
    EXPECT_EQ(reader.ServerRole(), CRola::kCitatel);
    for (CAgenda agenda : {CAgenda::kSekretariat, CAgenda::kDisciplina, CAgenda::kRozhodcovia})
        EXPECT_FALSE(reader.MayChange(agenda));
    EXPECT_EQ(reader.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 9);
    EXPECT_THROW(reader.Execute(QStringLiteral("update tsutaze set nazov='x'")), CChybaDatabazy);

    // A login without a role of the program does not read the season at all.
    CDatabaza nobody;
    EXPECT_THROW(nobody.Open(SharedServer().Address(m_season, QStringLiteral("nikto"))), CChybaDatabazy);
}

TEST_F(Shared, EveryChangeIsLoggedWithWhoWhenAndWhatTheRowHeldBefore)
{
    CDatabaza db;
    db.Open(m_address);
    const int match = UnplayedMatches(db, 1).first();
    EnterResult(db, 1, match, Score("2", "0"), kDomaci);
    // Another client, outside the program, is logged all the same.
    SharedServer().Psql(QStringLiteral("update \"%1\".tzapasy set poznamka = 'odložený' where \"ID\" = %2")
                            .arg(m_season)
                            .arg(match));

    const QVector<CZmenaNaServeri> log = db.History({}, QStringLiteral("tzapasy"), QString::number(match));
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].login, QStringLiteral("mirak"));
    EXPECT_EQ(log[0].operation, QLatin1Char('U'));
    EXPECT_EQ(log[0].before.value(QStringLiteral("body1")).toInt(), kBezVysledku);
    EXPECT_EQ(log[0].after.value(QStringLiteral("body1")).toInt(), 2);
    EXPECT_LT(qAbs(log[0].time.secsTo(QDateTime::currentDateTimeUtc())), 60);
    EXPECT_EQ(log[1].after.value(QStringLiteral("poznamka")).toString(), QStringLiteral("odložený"));

    const QVector<CRiadokHistorie> rows =
        HistoryRows(db, {{}, QStringLiteral("tzapasy"), QString::number(match)});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].what.startsWith(QStringLiteral("zápas "))) << rows[0].what.toStdString();
    EXPECT_EQ(rows[0].change, QStringLiteral("zmenený"));
    EXPECT_TRUE(rows[0].before.contains(QStringLiteral("góly domácich: bez výsledku")))
        << rows[0].before.toStdString();
    EXPECT_TRUE(rows[0].after.contains(QStringLiteral("góly domácich: 2"))) << rows[0].after.toStdString();
    // What the window offers to list it for: the whole season, the chosen match, the chosen player.
    const int player = db.Value(QStringLiteral("select min(ID) from thraci where IDklubu > 0")).toInt();
    const QVector<CRozsahHistorie> scopes = HistoryScopes(db, match, player);
    ASSERT_EQ(scopes.size(), 3);
    EXPECT_TRUE(scopes[0].selection.table.isEmpty());
    EXPECT_TRUE(scopes[1].text.startsWith(QStringLiteral("zápas "))) << scopes[1].text.toStdString();
    EXPECT_EQ(HistoryRows(db, scopes[1].selection).size(), 2);
    EXPECT_TRUE(scopes[2].text.startsWith(QStringLiteral("hráč "))) << scopes[2].text.toStdString();
    EXPECT_EQ(HistoryScopes(db, 999999, 0).size(), 1);
    // The standings the score moved are logged too, for the whole season's history.
    EXPECT_GT(db.History({}, QStringLiteral("tbody")).size(), 0);

    QString out;
    ASSERT_EQ(
        Program({QStringLiteral("--history"), m_address, QStringLiteral("-o"), Path(QStringLiteral("h.csv"))},
                &out),
        0)
        << out.toStdString();
    QFile csv(Path(QStringLiteral("h.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Čas;Prihlásenie;Čo;Zmena;Predtým;Potom")))
        << text.left(200).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("poznámka: odložený")));
    ASSERT_EQ(Program({QStringLiteral("--history"), m_address, QStringLiteral("-o"),
                       Path(QStringLiteral("z.csv")), QStringLiteral("--od"),
                       QDate::currentDate().addDays(2).toString(QStringLiteral("MM-dd-yyyy"))},
                      &out),
              0);
    EXPECT_TRUE(out.contains(QStringLiteral("Zmien: 0"))) << out.toStdString();
    EXPECT_NE(Program({QStringLiteral("--history"), Path(QStringLiteral("demo.mdb")), QStringLiteral("-o"),
                       Path(QStringLiteral("f.csv"))},
                      &out),
              0);
}

TEST_F(Shared, ASeasonOfTheFormerFormatIsBroughtUpAtItsOpeningAndKeepsWorking)
{
    // A season uploaded by the program before the log had who and what: its log as it was then.
    SharedServer().Psql(
        QStringLiteral("alter table \"%1\".mirak_zmeny drop column predtym, drop column potom, drop "
                       "column klient, drop column operacia; update \"%1\".mirak_meta set hodnota = "
                       "'1' where kluc = 'verzia'")
            .arg(m_season));
    ForgetServerCopy(m_address);
    CDatabaza db;
    db.Open(m_address);
    EXPECT_EQ(
        SharedServer().Psql(
            QStringLiteral("select hodnota from \"%1\".mirak_meta where kluc = 'verzia'").arg(m_season)),
        QString::number(kVerziaServerovejSezony));
    const int match = UnplayedMatches(db, 1).first();
    EnterResult(db, 1, match, Score("1", "2"), kDomaci);
    EXPECT_EQ(db.History({}, QStringLiteral("tzapasy")).size(), 1);
}

TEST_F(Shared, ASeasonOfAFormerFormatScoresOpensForASecretaryAndTheSetupBringsItUp)
{
    // Format 2 had none of the server's checks of a write in a scope; format 3's check knew no clubs;
    // format 4 had no function for the copy's place.
    const auto former = [&](int format) {
        QString sql = QStringLiteral("drop function if exists \"%1\".mirak_miesto(bigint, text, bigint); ");
        if (format == 2)
            sql += QStringLiteral(
                "drop function if exists \"%1\".mirak_bez_cudzich(bigint, text, text, text[], text[], text); "
                "drop function \"%1\".mirak_bez_cudzich(bigint, text, text, text[], text[], text, text[], "
                "jsonb); ");
        if (format == 3)
            sql += QStringLiteral(
                "drop function if exists \"%1\".mirak_bez_cudzich(bigint, text, text, text[], text[], text); "
                "create function \"%1\".mirak_bez_cudzich(od bigint, ja text, sutaz text, tabulky text[], "
                "cele text[], ddl text) returns bigint language sql as $$ select "
                "\"%1\".mirak_bez_cudzich(od, ja, sutaz, tabulky, cele, ddl, null, null) $$; ");
        SharedServer().Psql((sql + QStringLiteral("update \"%1\".mirak_meta set hodnota = '%2' where kluc = "
                                                  "'verzia'"))
                                .arg(m_season)
                                .arg(format));
        ForgetServerCopy(m_address);
    };
    const auto version = [&] {
        return SharedServer().Psql(
            QStringLiteral("select hodnota from \"%1\".mirak_meta where kluc = 'verzia'").arg(m_season));
    };
    SharedServer().Psql(QStringLiteral("do $$ begin if not exists (select 1 from pg_roles where rolname = "
                                       "'kom') then create role kom login; end if; end $$"));
    const auto placeOwner = [&] {
        return SharedServer().Psql(
            QStringLiteral("select pg_get_userbyid(proowner) from pg_proc where oid = "
                           "to_regprocedure('\"%1\".mirak_miesto(bigint, text, bigint)')")
                .arg(m_season));
    };
    for (const int format : {2, 3, 4}) {
        SCOPED_TRACE(format);
        former(format);
        QString out;
        ASSERT_EQ(Program({QStringLiteral("--server-setup"), SharedServer().DatabaseAddress()}, &out), 0)
            << out.toStdString();
        EXPECT_EQ(version(), QString::number(kVerziaServerovejSezony));
        EXPECT_EQ(placeOwner(), QStringLiteral("mirak_sekretar"));
        GrantServerRole(SharedServer().DatabaseAddress(), QStringLiteral("kom"), CRola::kSekretar);

        // A secretary brings the last format up at its opening: what she adds belongs to the
        // secretaries.
        if (format == 4) {
            former(format);
            CDatabaza db;
            db.Open(SharedServer().Address(m_season, QStringLiteral("kom")));
            EXPECT_EQ(version(), QString::number(kVerziaServerovejSezony));
            EXPECT_EQ(placeOwner(), QStringLiteral("mirak_sekretar"));
            const int match = UnplayedMatches(db, 1).first();
            EnterResult(db, 1, match, Score("2", "2"), kDomaci);
            CDatabaza fresh;
            fresh.Open(SharedServer().Address(m_season, QStringLiteral("kom")));
            EXPECT_EQ(fresh.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(),
                      2);
        }

        // A secretary who may not replace the server's functions (the administrator owns them here)
        // cannot bring it up: she works on it as it is.
        former(format);
        SharedServer().Psql(
            QStringLiteral("alter function \"%1\".mirak_zaznamenaj() owner to mirak").arg(m_season));
        CDatabaza db;
        db.Open(SharedServer().Address(m_season, QStringLiteral("kom")));
        const int match = UnplayedMatches(db, 1).first();
        EnterResult(db, 1, match, Score("3", "1"), kDomaci);
        EXPECT_EQ(version(), QString::number(format));
        CDatabaza fresh;
        fresh.Open(SharedServer().Address(m_season, QStringLiteral("kom")));
        EXPECT_EQ(fresh.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 3);
        ExpectStandingsOfARecalculation(fresh);
    }
}

TEST_F(Shared, TheAdministratorsScriptInTheDocsIsWhatTheProgramRunsAndRunsAsItStands)
{
    QFile doc(QStringLiteral(MIRAK_SOURCE_DIR "/docs/server-roly.sql"));
    // MIRAK_ZAPIS_DOKUMENTY=1 writes the script anew after the roles' rights changed.
    if (qEnvironmentVariableIsSet("MIRAK_ZAPIS_DOKUMENTY") &&
        doc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        doc.write(ServerSetupScript(QStringLiteral("SEZONA")).toUtf8());
        doc.close();
    }
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(doc.readAll());
    EXPECT_EQ(script.toStdString(), ServerSetupScript(QStringLiteral("SEZONA")).toStdString())
        << "docs/server-roly.sql is not what --server-setup runs: run this test with MIRAK_ZAPIS_DOKUMENTY=1";
    CDatabaza file;
    file.Open(Path(QStringLiteral("demo.mdb")));
    file.UploadTo(SharedServer().Address(QStringLiteral("SEZONA")));
    const QString out = SharedServer().Psql(script);
    EXPECT_FALSE(out.contains(QStringLiteral("ERROR"))) << out.toStdString();
    EXPECT_EQ(SharedServer().Psql(
                  QStringLiteral("select has_table_privilege('mirak_citatel', '\"SEZONA\".tzapasy', "
                                 "'select'), has_table_privilege('mirak_citatel', "
                                 "'\"SEZONA\".tzapasy', 'update')")),
              QStringLiteral("t|f"));
}
