// Snapshots of the season before commands that delete data, kept for the user to go back to.

#include "competition/generator.h"
#include "competition/kluby.h"
#include "db/zalohy.h"
#include "pomocnik.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

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

// Snapshot files as the program names them, made without the store: only their names and sizes count.
void PlantSnapshot(const QString& seasonPath, const QDateTime& when, qint64 size)
{
    QDir().mkpath(SnapshotFolder(seasonPath));
    QFile f(QDir(SnapshotFolder(seasonPath))
                .filePath(when.toString(QStringLiteral("yyyy-MM-dd HHmmss-zzz")) +
                          QStringLiteral(" - Amnestia.mdb")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(size));
}

TEST_F(Snapshots, TwoHundredDaysOfUseThinToDaysWeeksAndMonths)
{
    const QString season = m_doc.FilePath();
    const QDateTime first(QDate(2025, 6, 1), QTime(20, 0));
    for (int day = 0; day < 200; ++day)
        PlantSnapshot(season, first.addDays(day), 1000);
    const QDateTime now = first.addDays(199).addSecs(3600);
    PruneSnapshots(season, now, kNajviacZalohMB * 1024 * 1024);
    const QVector<CZaloha> kept = ListSnapshots(season);

    // The newest twenty, then one a week to three months back, then one a month.
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(kept.at(i).when, first.addDays(199 - i));
    QSet<QString> weeks, months;
    for (int i = 20; i < kept.size(); ++i) {
        const QDate day = kept.at(i).when.date();
        const qint64 age = day.daysTo(now.date());
        ASSERT_GT(age, 14);
        if (age <= 92) {
            int year = 0;
            const int week = day.weekNumber(&year);
            EXPECT_FALSE(weeks.contains(QStringLiteral("%1-%2").arg(year).arg(week)))
                << day.toString().toStdString();
            weeks.insert(QStringLiteral("%1-%2").arg(year).arg(week));
            // The newest of its week: the next day is in the next week or among the newest twenty.
            EXPECT_TRUE(day.dayOfWeek() == 7 || day.addDays(1).daysTo(now.date()) < 20)
                << day.toString().toStdString();
        } else {
            EXPECT_FALSE(months.contains(day.toString(QStringLiteral("yyyy-MM"))))
                << day.toString().toStdString();
            months.insert(day.toString(QStringLiteral("yyyy-MM")));
            // The newest of its month that is that old.
            EXPECT_TRUE(day.day() == day.daysInMonth() || day.addDays(1).daysTo(now.date()) <= 92)
                << day.toString().toStdString();
        }
    }
    // June to mid-September were over three months old: one a month; the weeks after: one each.
    EXPECT_EQ(months.size(), 4);
    EXPECT_GE(weeks.size(), 9);
    EXPECT_LE(kept.size(), 20 + 11 + 4);
    EXPECT_EQ(kept.last().when.date(), QDate(2025, 6, 30));
}

TEST_F(Snapshots, TheFolderStaysUnderItsSizeLimitOldestFirstButTheNewestStays)
{
    const QString season = m_doc.FilePath();
    const QDateTime first(QDate(2025, 9, 1), QTime(8, 0));
    const qint64 mb = 1024 * 1024;
    for (int i = 0; i < 15; ++i)
        PlantSnapshot(season, first.addSecs(60 * i), mb);
    PruneSnapshots(season, first.addSecs(3600), 10 * mb);
    QVector<CZaloha> kept = ListSnapshots(season);
    ASSERT_EQ(kept.size(), 10);
    EXPECT_EQ(kept.first().when, first.addSecs(60 * 14));
    EXPECT_EQ(kept.last().when, first.addSecs(60 * 5));

    // A snapshot larger than the whole limit is still the one to go back to.
    PlantSnapshot(season, first.addSecs(7200), 12 * mb);
    PruneSnapshots(season, first.addSecs(7200), 10 * mb);
    kept = ListSnapshots(season);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept.first().when, first.addSecs(7200));

    // The window's snapshots keep to the limit the session was given.
    m_doc.SetSnapshotLimit(mb);
    PlantSnapshot(season, first.addSecs(9000), mb / 2);
    ASSERT_TRUE(m_doc.Snapshot(QStringLiteral("Amnestia")));
    kept = ListSnapshots(season);
    qint64 total = 0;
    for (const CZaloha& z : kept)
        total += QFileInfo(z.path).size();
    EXPECT_LE(total, mb);
    EXPECT_EQ(kept.first().command, QStringLiteral("Amnestia"));
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
