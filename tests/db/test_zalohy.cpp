// Snapshots of the season before commands that delete data, kept for the user to go back to.

#include "competition/generator.h"
#include "competition/kluby.h"
#include "db/zalohy.h"
#include "pomocnik.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class Snapshots : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
        m_club = AddClub(m_doc.Database(), m_competition, QStringLiteral("Slovan"), 1);
    }
    int Clubs(CDatabaza& db) { return db.Value(QStringLiteral("select count(*) from tkluby")).toInt(); }
    int m_competition = 0;
    int m_club = 0;
};

TEST_F(Snapshots, ACommandThatDeletesKeepsTheSeasonAsItWasAndItCanBeOpenedAgain)
{
    ASSERT_TRUE(RemoveClub(m_doc, m_club));
    EXPECT_EQ(Clubs(m_doc.Database()), 0);
    const QVector<CZaloha> snapshots = ListSnapshots(m_doc.FilePath());
    ASSERT_EQ(snapshots.size(), 1);
    EXPECT_EQ(snapshots.first().command, QStringLiteral("Odstránenie klubu"));
    EXPECT_EQ(QFileInfo(snapshots.first().path).dir().dirName(), QStringLiteral("sezona.zalohy"));
    // Restored as a new season file; the open season is not touched.
    const QString restored = Path(QStringLiteral("obnovena.mdb"));
    RestoreSnapshot(snapshots.first().path, restored);
    {
        CTestovaciPouzivatel user;
        CLigaroDoc other(user);
        ASSERT_TRUE(other.OpenSeasonFile(restored));
        EXPECT_EQ(Clubs(other.Database()), 1);
    }
    EXPECT_EQ(Clubs(m_doc.Database()), 0);
}

TEST_F(Snapshots, ACommandWhoseSnapshotCannotBeWrittenIsNotRun)
{
    // Something that is not a folder stands where the snapshots go.
    QFile blocker(SnapshotFolder(m_doc.FilePath()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(RemoveClub(m_doc, m_club));
    EXPECT_EQ(Clubs(m_doc.Database()), 1);
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("nevykonal")))
        << m_user.messages.last().toStdString();
}

TEST_F(Snapshots, TwentyAreKeptAndOneADayBeyondThem)
{
    const QDateTime start(QDate(2025, 9, 1), QTime(8, 0));
    // Ten days, three snapshots a day.
    for (int day = 0; day < 10; ++day)
        for (int i = 0; i < 3; ++i)
            TakeSnapshot(m_doc.Database(), m_doc.FilePath(), QStringLiteral("Amnestia"),
                         start.addDays(day).addSecs(3600 * i));
    const QVector<CZaloha> kept = ListSnapshots(m_doc.FilePath());
    // The newest twenty are the last six days and two of the fourth; the three days before keep one.
    ASSERT_EQ(kept.size(), 20 + 3);
    EXPECT_EQ(kept.first().when, start.addDays(9).addSecs(7200));
    for (int i = 20; i < kept.size(); ++i)
        EXPECT_EQ(kept.at(i).when.time(), QTime(10, 0)) << i; // the newest of its day
    EXPECT_EQ(kept.last().when.date(), start.date());
}

TEST_F(Snapshots, TheFirstOpeningOfADayAndAReplacedFixtureListAreKept)
{
    m_doc.SetDailySnapshots(true);
    ASSERT_TRUE(m_doc.OpenSeasonFile(m_doc.FilePath()));
    ASSERT_TRUE(m_doc.OpenSeasonFile(m_doc.FilePath()));
    ASSERT_EQ(ListSnapshots(m_doc.FilePath()).size(), 1);
    EXPECT_EQ(ListSnapshots(m_doc.FilePath()).first().command, kZalohaOtvorenie);

    for (int i = 2; i <= 4; ++i)
        AddClub(m_doc.Database(), m_competition, QStringLiteral("Klub %1").arg(i), i);
    const CParametreGenerovania p =
        CParametreGenerovania::Defaults(DoubleRoundCount(m_doc.Database(), m_competition), QDate(2025, 1, 1));
    // The first fixture list replaces nothing; the second replaces the first and its results.
    ASSERT_TRUE(GenerateFixtures(m_doc, m_competition, p));
    EXPECT_EQ(ListSnapshots(m_doc.FilePath()).size(), 1);
    ASSERT_TRUE(GenerateFixtures(m_doc, m_competition, p));
    EXPECT_EQ(ListSnapshots(m_doc.FilePath()).first().command, QStringLiteral("Vytvoriť súťaž"));
    EXPECT_TRUE(ClearCompetitionCommand(m_doc, m_competition));
    EXPECT_EQ(ListSnapshots(m_doc.FilePath()).first().command, QStringLiteral("Vymazať súťaže"));
}

} // namespace
