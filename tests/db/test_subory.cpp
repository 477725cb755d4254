// Files the program writes beside the user's: temporaries that are its own and nobody else's, the
// leftovers of killed runs, and a full disk said as such.

#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/subory.h"
#include "pomocnik.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class Files : public SeasonTest
{
protected:
    QByteArray Contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void Write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(Files, TemporariesAreTheProgramsOwnAndNothingIsWrittenThroughALink)
{
    const QString target = Path(QStringLiteral("stranka.html"));
    const QString a = TemporaryBeside(target);
    const QString b = TemporaryBeside(target);
    EXPECT_NE(a, b);
    for (const QString& t : {a, b}) {
        const QFileInfo info(t);
        EXPECT_TRUE(info.isFile() && !info.isSymLink() && info.size() == 0) << t.toStdString();
        EXPECT_TRUE(info.fileName().startsWith(QStringLiteral(".stranka.html."))) << t.toStdString();
    }
    const QString folder = TemporaryFolderBeside(target);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A link planted where a file is to be written: refused, and what it points to stays as it was.
    const QString victim = Path(QStringLiteral("cudzi.txt"));
    Write(victim, "nedotknuté");
    const QString link = Path(QStringLiteral(".stranka.html.1.0badcafe.tmp"));
    ASSERT_TRUE(QFile::link(victim, link));
    EXPECT_THROW(WriteFileBytes(link, "prepísané", target, false, true), CChybaDatabazy);
    EXPECT_THROW(WriteFileBytes(link, "prepísané", target, true, true), CChybaDatabazy);
    EXPECT_EQ(Contents(victim), QByteArray("nedotknuté"));
    // A season made where a link stands takes the link's place; what it pointed to stays.
    const QString season = Path(QStringLiteral("sezona-odkaz.mdb"));
    ASSERT_TRUE(QFile::link(victim, season));
    CDatabaza::CreateFile(season, {QStringLiteral("CREATE TABLE t (a)")});
    EXPECT_FALSE(QFileInfo(season).isSymLink());
    EXPECT_EQ(Contents(victim), QByteArray("nedotknuté"));

    // What the program writes reaches its file whole.
    WriteWholeFile(target, "<p>ok</p>");
    EXPECT_EQ(Contents(target), QByteArray("<p>ok</p>"));
}

TEST_F(Files, LeftoversOfAKilledRunGoWithTheirJournalsButNeverASeasonsOwnJournal)
{
    // A run of the program, killed while it wrote its temporary season and the engine's journal of it.
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(child.waitForStarted());
    const QString base = Path(QStringLiteral(".nova.mdb.%1.0badcafe.tmp").arg(child.processId()));
    const QStringList leftovers = {base, base + QStringLiteral("-journal"), base + QStringLiteral("-wal"),
                                   base + QStringLiteral("-shm")};
    for (const QString& f : leftovers)
        Write(f, "pol sezóny");
    // A season's own journal, which the engine needs to roll the season back.
    const QString journal = Path(QStringLiteral("sezona.mdb-journal"));
    Write(journal, "hot");
    // A link named like a leftover: the link may go, what it points to never.
    const QString victim = Path(QStringLiteral("cudzi.txt"));
    Write(victim, "nedotknuté");
    ASSERT_TRUE(QFile::link(victim, Path(QStringLiteral(".x.mdb.999999999.0badf00d.tmp-journal"))));

    // While the run lives, its files are its own.
    WriteWholeFile(Path(QStringLiteral("a.html")), "a");
    for (const QString& f : leftovers)
        EXPECT_TRUE(QFileInfo::exists(f)) << f.toStdString();

    child.kill();
    child.waitForFinished();
    WriteWholeFile(Path(QStringLiteral("b.html")), "b");
    for (const QString& f : leftovers)
        EXPECT_FALSE(QFileInfo::exists(f)) << f.toStdString();
    EXPECT_EQ(Contents(journal), QByteArray("hot"));
    EXPECT_EQ(Contents(victim), QByteArray("nedotknuté"));
}

TEST_F(Files, AFullDiskIsSaidSoNamingTheFileAndNothingIsHalfWritten)
{
    // The system's own full device: every write fails for lack of space.
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        try {
            WriteFileBytes(QStringLiteral("/dev/full"), QByteArray(100000, 'x'),
                           QStringLiteral("/web/rozpis.html"), false, true);
            ADD_FAILURE() << "a write to a full disk succeeded";
        } catch (const CChybaDatabazy& e) {
            EXPECT_TRUE(e.Sentence().startsWith(QStringLiteral("Na disku nie je dosť miesta: súbor "
                                                               "/web/rozpis.html")))
                << e.UserText().toStdString();
        }
    }
    // Any other failure names the file and what could not be done with it.
    try {
        WriteWholeFile(Path(QStringLiteral("chyba/rozpis.html")), "x");
        ADD_FAILURE() << "a write into a missing folder succeeded";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.Sentence().contains(QStringLiteral("rozpis.html sa nepodarilo zapísať")))
            << e.UserText().toStdString();
    }

    // The season's file that cannot grow: the store says the disk is full, and the transaction that
    // did not fit is not half in the season.
    const QString path = NewSeason();
    CDatabaza db;
    db.Open(path);
    db.PrepareForWriting();
    const int clubs = db.Value(QStringLiteral("select count(*) from tkluby")).toInt();
    const int pages = db.Value(QStringLiteral("PRAGMA page_count")).toInt();
    db.Execute(QStringLiteral("PRAGMA max_page_count=%1").arg(pages + 2));
    try {
        CTransakcia transaction(db);
        for (int i = 0; i < 200; ++i)
            db.Execute(QStringLiteral("insert into tkluby (nazov, skupina) values (?, 1)"),
                       {QString(2000, QLatin1Char('a' + i % 26))});
        transaction.Commit();
        ADD_FAILURE() << "the season grew past its limit";
    } catch (const CChybaDatabazy& e) {
        EXPECT_EQ(e.Sentence(), DiskFullMessage(path)) << e.UserText().toStdString();
    }
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tkluby")).toInt(), clubs);
}

} // namespace
