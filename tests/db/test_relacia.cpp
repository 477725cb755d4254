// The session: opening season files (old and new, good and bad), the upgrade, backup, save-as and
// compaction, and the state it keeps for the views.

#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/schema.h"
#include "pomocnik.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

int Count(CDatabaza& db, const QString& table)
{
    return db.Value(QStringLiteral("select count(*) from %1").arg(table)).toInt();
}

int CountIn(const QString& path, const QString& table)
{
    CDatabaza db;
    db.Open(path);
    return Count(db, table);
}

// A season file as an older version or another tool wrote it: `tzapasy` without the half-time
// columns and the schedule note, no indexes, and NULL in IDold.
QString OldSeason(const QString& path)
{
    QStringList statements;
    for (const QString& s : NewSeasonStatements()) {
        if (s.startsWith(QStringLiteral("CREATE INDEX")))
            continue;
        if (s.startsWith(QStringLiteral("CREATE TABLE tzapasy")))
            statements << QStringLiteral(
                "CREATE TABLE tzapasy (ID INTEGER PRIMARY KEY AUTOINCREMENT, skupina INTEGER, "
                "kolo INTEGER, klub1 INTEGER, klub2 INTEGER, los1 INTEGER, los2 INTEGER, "
                "cas TEXT, body1 INTEGER, body2 INTEGER, poznamka TEXT)");
        else
            statements << QString(s).replace(QStringLiteral("IDold INTEGER NOT NULL DEFAULT 0"),
                                             QStringLiteral("IDold INTEGER"));
    }
    for (int i = 1; i <= 3; ++i)
        statements << QStringLiteral("INSERT INTO tzapasy (skupina, kolo, klub1, klub2, body1, body2) "
                                     "VALUES (1, %1, 1, 2, 2, 1)")
                          .arg(i);
    statements << QStringLiteral("INSERT INTO thraci (meno, IDklubu, IDold) VALUES ('Starý', 1, NULL)");
    CDatabaza::CreateFile(path, statements);
    return path;
}

class SessionTest : public SeasonTest
{
};

TEST_F(SessionTest, OpeningAnOlderSeasonAddsTheMissingColumnsOnceWithNoHalfTimeEntered)
{
    const QString path = OldSeason(Path(QStringLiteral("stara.mdb")));
    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join('\n').toStdString();
    EXPECT_TRUE(m_user.messages.isEmpty());
    CDatabaza& db = m_doc.Database();
    const QStringList columns = db.ColumnNames(QStringLiteral("tzapasy"));
    EXPECT_TRUE(columns.contains(QStringLiteral("polcas1")));
    EXPECT_TRUE(columns.contains(QStringLiteral("polcas2")));
    EXPECT_TRUE(columns.contains(QStringLiteral("poznamka2")));
    EXPECT_EQ(
        db.Value(QStringLiteral("select count(*) from tzapasy where polcas1=100 and polcas2=100")).toInt(),
        3);
    // Matches added afterwards read "not entered" too.
    AddMatch(db, 1, 4, 1, 2);
    EXPECT_EQ(db.Value(QStringLiteral("select polcas1 from tzapasy where kolo=4")).toInt(), 100);
    const int version = db.Value(QStringLiteral("PRAGMA schema_version")).toInt();
    db.Execute(QStringLiteral("update tzapasy set polcas1=1 where kolo=1"));

    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    CDatabaza& again = m_doc.Database();
    EXPECT_EQ(again.Value(QStringLiteral("PRAGMA schema_version")).toInt(), version);
    EXPECT_EQ(again.Value(QStringLiteral("select polcas1 from tzapasy where kolo=1")).toInt(), 1);
    EXPECT_EQ(again.ColumnNames(QStringLiteral("tzapasy")).size(), columns.size());
}

TEST_F(SessionTest, ExtensionIsCheckedWithoutCaseAndARefusedFileKeepsThePreviousOneOpen)
{
    const QString upper = NewSeason(QStringLiteral("SEZONA.MDB"));
    ASSERT_TRUE(m_doc.OpenSeasonFile(upper));
    EXPECT_TRUE(m_doc.IsDatabaseOpen());

    QFile bak(Path(QStringLiteral("x.bak")));
    ASSERT_TRUE(QFile::copy(upper, bak.fileName()));
    EXPECT_FALSE(m_doc.OpenSeasonFile(bak.fileName()));
    EXPECT_EQ(m_user.messages.value(0), QStringLiteral("Program nepodporuje daný typ súboru"));
    EXPECT_TRUE(m_doc.IsDatabaseOpen());
    EXPECT_TRUE(QFileInfo(m_doc.FilePath()).fileName() == QStringLiteral("SEZONA.MDB"));
    EXPECT_NO_THROW(m_doc.Database().Value(QStringLiteral("select count(*) from tkluby")));
}

TEST_F(SessionTest, FilesThatAreNoSeasonAreRefusedWithAClearMessageAndNothingLost)
{
    OpenNew();
    AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));

    QFile junk(Path(QStringLiteral("junk.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(5000, 'x'));
    junk.close();
    EXPECT_FALSE(m_doc.OpenSeasonFile(junk.fileName()));
    ASSERT_EQ(m_user.messages.size(), 1);
    EXPECT_TRUE(m_user.messages.at(0).contains(QStringLiteral("nie je to databáza")));

    CDatabaza::CreateFile(Path(QStringLiteral("ina.mdb")),
                          {QStringLiteral("CREATE TABLE tkluby (ID INTEGER)")});
    EXPECT_FALSE(m_doc.OpenSeasonFile(Path(QStringLiteral("ina.mdb"))));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("chýba v ňom tabuľka")));

    EXPECT_FALSE(m_doc.OpenSeasonFile(Path(QStringLiteral("nie-je.mdb"))));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("neexistuje")));

    // The season that was open is still open, with its data.
    EXPECT_TRUE(m_doc.IsDatabaseOpen());
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("sezona.mdb"));
    EXPECT_EQ(Count(m_doc.Database(), QStringLiteral("tsutaze")), 1);
    EXPECT_EQ(QFileInfo(junk.fileName()).size(), 5000);
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(SessionTest, ARefusedFileStaysByteForByteAsItWas)
{
    OpenNew();
    const auto refused = [&](const QString& path, const QString& says) {
        const QByteArray before = Bytes(path);
        const qsizetype messages = m_user.messages.size();
        EXPECT_FALSE(m_doc.OpenSeasonFile(path)) << path.toStdString();
        ASSERT_GT(m_user.messages.size(), messages);
        EXPECT_TRUE(m_user.messages.last().contains(says)) << m_user.messages.last().toStdString();
        EXPECT_EQ(Bytes(path), before) << path.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-journal")));
        // The season that was open stays open.
        EXPECT_TRUE(m_doc.IsDatabaseOpen());
    };
    for (int size : {0, 1, 100}) {
        const QString path = Path(QStringLiteral("kratky%1.mdb").arg(size));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'S'));
        f.close();
        refused(path, QStringLiteral("nie je to databáza"));
    }
    // A file without a column the program needs, and without an index yet: no index is written.
    const auto without = [&](const QString& name, const QString& table, const QString& column) {
        const QString path = NewSeason(name);
        CDatabaza db;
        db.Open(path);
        db.Execute(QStringLiteral("DROP INDEX IF EXISTS ix_tkluby_skupina"));
        for (const QString& index : IndexStatements())
            db.Execute(QStringLiteral("DROP INDEX IF EXISTS %1").arg(index.section(QLatin1Char(' '), 5, 5)));
        db.Execute(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column));
        db.Close();
        return path;
    };
    refused(without(QStringLiteral("bez-body1.mdb"), QStringLiteral("tzapasy"), QStringLiteral("body1")),
            QStringLiteral("v tabuľke tzapasy chýba stĺpec body1"));
    refused(without(QStringLiteral("bez-nazvu.mdb"), QStringLiteral("tkluby"), QStringLiteral("nazov")),
            QStringLiteral("v tabuľke tkluby chýba stĺpec nazov"));

    // Damaged pages: refused with the hint to use the last backup.
    const QString damaged = NewDemoSeason(QStringLiteral("poskodena.mdb"), 1, 6, 11);
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 page = 4096;
        for (qint64 at = 6 * page; at + page < f.size() && at < 40 * page; at += 5 * page) {
            f.seek(at + 8);
            f.write(QByteArray(300, '\x5a'));
        }
    }
    refused(damaged, QStringLiteral("poškodený"));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("zálohy")));
}

// What the program remembers of a file it has checked: only a file as it was then skips the engine's
// full check, and anything that changes it - here only its time - brings the full check back.
TEST_F(SessionTest, ARestoredCopyWithItsTimesKeptIsCheckedInFullAgain)
{
    const QString path = NewDemoSeason(QStringLiteral("kontrola.mdb"), 1, 6, 11);
    int root = 0;
    int pageSize = 0;
    {
        CDatabaza db;
        db.Open(path);
        db.Execute(QStringLiteral("CREATE TABLE tpokus (a TEXT)"));
        db.Execute(QStringLiteral("CREATE INDEX ix_pokus ON tpokus(a)"));
        for (int i = 0; i < 20; ++i)
            db.Execute(QStringLiteral("INSERT INTO tpokus VALUES ('pokus-riadok-%1')")
                           .arg(i, 2, 10, QLatin1Char('0')));
        root = db.Value(QStringLiteral("select rootpage from sqlite_master where name='ix_pokus'")).toInt();
        pageSize = db.Value(QStringLiteral("PRAGMA page_size")).toInt();
    }
    ASSERT_GT(root, 1);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join('\n').toStdString();
    OpenNew(QStringLiteral("ina.mdb"));

    // A damaged copy put back over the season the way cp -p, tar -xp or rsync -t do it: the same
    // inode, the same size, the modification time as it was. Only the change time tells.
    struct stat before = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    QByteArray bytes;
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    const qsizetype at = bytes.indexOf("pokus-riadok-07", qint64(root - 1) * pageSize);
    ASSERT_GE(at, 0);
    bytes[at + 13] = '9';
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    struct stat after = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    EXPECT_FALSE(m_doc.OpenSeasonFile(path));
    ASSERT_FALSE(m_user.messages.isEmpty());
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("je poškodený")))
        << m_user.messages.last().toStdString();
    EXPECT_FALSE(m_user.messages.last().contains(QStringLiteral("odmietla")));
    // Refused once, it stays refused: the damage is not forgotten by a second try.
    EXPECT_FALSE(m_doc.OpenSeasonFile(path));
}

TEST_F(SessionTest, ASeasonWithoutClubsOpensAndOpeningLogsOut)
{
    OpenNew();
    EXPECT_TRUE(m_doc.IsDatabaseOpen());
    EXPECT_TRUE(m_user.messages.isEmpty());
    EXPECT_EQ(m_doc.SqlText(), QStringLiteral("select * from tkluby"));
    m_doc.SetEditAccess(true);
    ASSERT_TRUE(m_doc.OpenSeasonFile(m_doc.FilePath()));
    EXPECT_FALSE(m_doc.HasEditAccess());
    EXPECT_EQ(m_doc.StopRounds(), (QVector<int>{4, 8, 12, 16, 20, 24}));
}

TEST_F(SessionTest, BackupProposesTheDatedNameCopiesEverythingAndStaysOnTheOriginal)
{
    OpenNew();
    m_doc.SetToday([] { return QDate(2011, 3, 5); });
    CDatabaza& db = m_doc.Database();
    const int competition = AddCompetition(db, QStringLiteral("I. trieda"));
    AddClub(db, competition, QStringLiteral("Slovan"), 1);
    m_doc.SetEditAccess(true);

    m_user.fileNames.push_back(Path(QStringLiteral("zaloha")));
    m_doc.BackupSeason();
    ASSERT_EQ(m_user.proposedPaths.size(), 1);
    EXPECT_EQ(QFileInfo(m_user.proposedPaths.at(0)).fileName(), QStringLiteral("Názov Mirak_5_3_2011.mdb"));
    EXPECT_TRUE(m_user.messages.isEmpty()) << m_user.messages.join('\n').toStdString();
    const QString copy = Path(QStringLiteral("zaloha.mdb"));
    ASSERT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(CountIn(copy, QStringLiteral("tsutaze")), 1);
    EXPECT_EQ(CountIn(copy, QStringLiteral("tkluby")), 1);
    EXPECT_EQ(CountIn(copy, QStringLiteral("thraci")), 1);

    EXPECT_TRUE(m_doc.IsDatabaseOpen());
    EXPECT_TRUE(m_doc.HasEditAccess());
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("sezona.mdb"));
    AddClub(m_doc.Database(), competition, QStringLiteral("Inter"), 2);
    EXPECT_EQ(CountIn(copy, QStringLiteral("tkluby")), 1);

    // The association's name, once set, leads the proposal; a name fit only for a folder is made
    // fit for a file.
    db.Execute(QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2011', 'Kraj', 'ObFZ A/B')"));
    EXPECT_EQ(m_doc.ProposedBackupName(), QStringLiteral("ObFZ A_B_5_3_2011.mdb"));
}

TEST_F(SessionTest, BackupNeverOverwritesTheOpenSeasonAndReportsAFailedCopy)
{
    OpenNew();
    AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    const qint64 size = QFileInfo(m_doc.FilePath()).size();

    QDir(m_dir.path()).mkdir(QStringLiteral("sub"));
    m_user.fileNames = {Path(QStringLiteral("sub/../sezona.mdb")), Path(QStringLiteral("sezona"))};
    m_doc.BackupSeason();
    m_doc.BackupSeason();
    ASSERT_EQ(m_user.messages.size(), 2);
    EXPECT_TRUE(m_user.messages.at(0).contains(QStringLiteral("nemôže prepísať otvorenú sezónu")));
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).size(), size);
    EXPECT_EQ(Count(m_doc.Database(), QStringLiteral("tsutaze")), 1);

    m_user.fileNames = {Path(QStringLiteral("chyba/niet/takeho.mdb"))};
    m_doc.BackupSeason();
    ASSERT_EQ(m_user.messages.size(), 3);
    EXPECT_TRUE(m_user.messages.at(2).startsWith(QStringLiteral("Zálohu sa nepodarilo vytvoriť.")));

    // Cancelling the dialog does nothing.
    m_doc.BackupSeason();
    EXPECT_EQ(m_user.messages.size(), 3);
}

TEST_F(SessionTest, CompactionWritesANewFileAndRefusesTheOpenOne)
{
    OpenNew();
    CDatabaza& db = m_doc.Database();
    const int competition = AddCompetition(db, QStringLiteral("I. trieda"));
    for (int i = 0; i < 50; ++i)
        AddClub(db, competition, QStringLiteral("Klub %1").arg(i), i);
    db.Execute(QStringLiteral("delete from tkluby where vylosovanie>=10"));

    m_user.fileNames = {Path(QStringLiteral("zhutnena"))};
    m_doc.CompactSeason();
    EXPECT_TRUE(m_user.messages.isEmpty()) << m_user.messages.join('\n').toStdString();
    EXPECT_EQ(CountIn(Path(QStringLiteral("zhutnena.mdb")), QStringLiteral("tkluby")), 10);
    EXPECT_EQ(CountIn(Path(QStringLiteral("zhutnena.mdb")), QStringLiteral("thraci")), 1);
    EXPECT_TRUE(m_doc.IsDatabaseOpen());
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("sezona.mdb"));

    const QString refused =
        QStringLiteral("Cieľový súbor už exituje. Pre zhutnený súbor musíte napísať nový názov "
                       "súboru. Zopakujte postup!");
    m_user.fileNames = {m_doc.FilePath(), Path(QStringLiteral("sezona"))};
    m_doc.CompactSeason();
    m_doc.CompactSeason();
    EXPECT_EQ(m_user.messages, (QStringList{refused, refused}));
    EXPECT_EQ(Count(m_doc.Database(), QStringLiteral("tkluby")), 10);

    // A link to the open file is the open file.
    const QString link = Path(QStringLiteral("odkaz.mdb"));
    ASSERT_TRUE(QFile::link(m_doc.FilePath(), link));
    m_user.fileNames = {link};
    m_doc.CompactSeason();
    EXPECT_EQ(m_user.messages.size(), 3);
    EXPECT_EQ(Count(m_doc.Database(), QStringLiteral("tkluby")), 10);
}

TEST_F(SessionTest, SaveAsGoesOnWithTheCopyAndLeavesTheOriginalAsItWas)
{
    OpenNew();
    const QString original = m_doc.FilePath();
    AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    m_doc.SetEditAccess(true);
    EXPECT_TRUE(m_doc.SaveSeasonAs(original));
    EXPECT_EQ(m_doc.FilePath(), original);

    ASSERT_TRUE(m_doc.SaveSeasonAs(Path(QStringLiteral("kopia.mdb"))));
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("kopia.mdb"));
    EXPECT_TRUE(m_doc.HasEditAccess());
    AddCompetition(m_doc.Database(), QStringLiteral("II. trieda"));
    m_doc.CloseSeason();
    EXPECT_FALSE(m_doc.IsDatabaseOpen());
    EXPECT_EQ(CountIn(original, QStringLiteral("tsutaze")), 1);
    EXPECT_EQ(CountIn(Path(QStringLiteral("kopia.mdb")), QStringLiteral("tsutaze")), 2);
}

TEST_F(SessionTest, AFileTheSystemLetsUsOnlyReadOpensWithTheWarning)
{
    const QString path = NewSeason();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running with rights that ignore file permissions";
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    EXPECT_EQ(m_user.messages, (QStringList{"neda sa zapisovat"}));
    EXPECT_TRUE(m_doc.IsDatabaseOpen());
}

TEST_F(SessionTest, SearchResultMakesThePlayersClubAndCompetitionCurrent)
{
    OpenNew();
    CDatabaza& db = m_doc.Database();
    AddCompetition(db, QStringLiteral("I. trieda"));
    const int competition = AddCompetition(db, QStringLiteral("II. trieda"));
    const int club = AddClub(db, competition, QStringLiteral("Slovan"), 1);
    db.Execute(QStringLiteral("insert into thraci (meno, priezvisko, IDklubu) values ('Ján', 'Novák', ?)"),
               {club});
    const int player = static_cast<int>(db.LastInsertId());
    EXPECT_EQ(m_doc.FindCompetitionOfClub(club), competition);
    EXPECT_EQ(m_doc.FindCompetitionOfClub(9999), 0);

    m_doc.ApplySearchResult(player);
    EXPECT_EQ(m_doc.CurrentPlayer(), player);
    EXPECT_EQ(m_doc.CurrentClub(), club);
    EXPECT_EQ(m_doc.CurrentCompetition(), competition);
    EXPECT_EQ(m_doc.SearchPending(), 1);

    m_doc.SetSearchPending(100);
    m_doc.ApplySearchResult(9999);
    EXPECT_EQ(m_doc.SearchPending(), 100);
}

TEST_F(SessionTest, StopRuleReadsTheCardTotalsInOrder)
{
    EXPECT_EQ(CLigaroDoc::ParseStopRule(QStringLiteral("4,8,12,16")), (QVector<int>{4, 8, 12, 16}));
    EXPECT_EQ(CLigaroDoc::ParseStopRule(QStringLiteral("4,8,12,16,")), (QVector<int>{4, 8, 12, 16}));
    EXPECT_EQ(CLigaroDoc::ParseStopRule(QStringLiteral("3, 6,,x,9")), (QVector<int>{3, 6, 9}));
    EXPECT_TRUE(CLigaroDoc::ParseStopRule(QStringLiteral("5")).isEmpty());

    OpenNew();
    m_doc.Database().Execute(QStringLiteral("insert into tsezona (stop) values ('5,10')"));
    m_doc.LoadStopRounds();
    EXPECT_EQ(m_doc.StopRounds(), (QVector<int>{5, 10}));
    m_doc.Database().Execute(QStringLiteral("update tsezona set stop='7'"));
    m_doc.LoadStopRounds();
    EXPECT_EQ(m_doc.StopRounds(), (QVector<int>{4, 8, 12, 16, 20, 24}));
}

TEST_F(SessionTest, StoreErrorsInACommandReachTheUserAndEndOnlyThatCommand)
{
    OpenNew();
    const bool ok =
        m_doc.Run([this] { m_doc.Database().Execute(QStringLiteral("select * from neexistuje")); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(m_user.messages.size(), 1);
    EXPECT_TRUE(m_user.messages.at(0).contains(QStringLiteral("no such table")));
    EXPECT_TRUE(m_doc.IsDatabaseOpen());
    m_doc.CloseSeason();
    EXPECT_THROW(m_doc.Database(), CChybaDatabazy);
}

TEST_F(SessionTest, ACopyNeverReplacesASeasonAnotherWindowHoldsOpen)
{
    OpenNew();
    const QString held = NewSeason(QStringLiteral("inde.mdb"));
    const QByteArray before = Bytes(held);
    CDatabaza elsewhere; // another window of the program, working on that season
    elsewhere.Open(held);
    m_user.fileNames = {held, held};
    m_doc.BackupSeason();
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("iný program")))
        << m_user.messages.last().toStdString();
    EXPECT_FALSE(m_doc.SaveSeasonAs(held));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("iný program")));
    m_doc.CompactSeason();
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("iný program")));
    EXPECT_THROW(CreateNewSeasonFile(held), CChybaDatabazy);
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("sezona.mdb"));
    elsewhere.Close();
    EXPECT_EQ(Bytes(held), before);
    // Let go, it may be replaced.
    m_user.fileNames = {held};
    m_doc.BackupSeason();
    EXPECT_NE(Bytes(held), before);
}

} // namespace
