// A damaged season is never taken for a sound one: a command that writes many rows checks the file
// first, an engine error that says the file is damaged is told as such at any moment, and what the
// program remembers of the file is forgotten then. Seasons in folders reached through links and the
// leftovers of killed runs beside a season.

#include "competition/kluby.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/kontroly.h"
#include "db/schema.h"
#include "db/subory.h"
#include "db/zalohy.h"
#include "players/hraci.h"
#include "pomocnik.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray Hash(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                       : QByteArray();
}

// Changes `count` bytes of the file at `offset` in place.
void Patch(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray BigEndian(quint32 v)
{
    return QByteArray(1, char(v >> 24)) + char((v >> 16) & 0xff) + char((v >> 8) & 0xff) + char(v & 0xff);
}

class Damage : public SeasonTest
{
protected:
    // A season with pages on the engine's free list (a table dropped), whose free list is then damaged:
    // the header says it holds more pages than it does.
    QString SeasonWithDamagedFreeList()
    {
        const QString path = NewDemoSeason(QStringLiteral("volne.mdb"), 1, 6, 11);
        quint32 free = 0;
        {
            CDatabaza db;
            db.Open(path);
            db.Execute(QStringLiteral("CREATE TABLE tnavyse (a TEXT)"));
            for (int i = 0; i < 200; ++i)
                db.Execute(QStringLiteral("INSERT INTO tnavyse VALUES (?)"),
                           {QString(500, QLatin1Char('x'))});
            db.Execute(QStringLiteral("DROP TABLE tnavyse"));
            free = db.Value(QStringLiteral("PRAGMA freelist_count")).toUInt();
        }
        EXPECT_GT(free, 10u);
        Patch(path, 36, BigEndian(free + 7));
        return path;
    }
};

TEST_F(Damage, AJobThatWritesManyRowsChecksAFileOpenedWithoutTheCheckAndWritesNothingIntoADamagedOne)
{
    const QString path = SeasonWithDamagedFreeList();
    // Opened the way an unchanged file is opened: on its remembered state, without the engine's check.
    m_doc.SetIntegrityCheck(false);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join('\n').toStdString();
    CDatabaza& db = m_doc.Database();
    EXPECT_FALSE(db.CheckedClean());
    const int club = db.Value(QStringLiteral("select min(ID) from tkluby")).toInt();
    const int players = db.Value(QStringLiteral("select count(*) from thraci")).toInt();
    const int clubs = db.Value(QStringLiteral("select count(*) from tkluby")).toInt();

    QByteArray csv = "Meno;Priezvisko;RČ\r\n";
    for (int i = 0; i < 1499; ++i)
        csv += QStringLiteral("Ján;Hráč%1;\r\n").arg(i).toUtf8();
    try {
        ImportPlayers(db, club, csv);
        ADD_FAILURE() << "an import into a damaged season was done";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.Sentence().contains(QStringLiteral("je poškodený"))) << e.UserText().toStdString();
        EXPECT_TRUE(e.Sentence().contains(QStringLiteral("Obnovte ho zo zálohy")))
            << e.UserText().toStdString();
    }
    EXPECT_THROW(ImportClubs(db, 1, "Názov\r\nNový klub\r\n"), CChybaDatabazy);
    // A command that snapshots first is not run either, and no snapshot of the damage is taken.
    EXPECT_FALSE(m_doc.Snapshot(QStringLiteral("Vymazať súťaže")));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("je poškodený")));
    EXPECT_TRUE(ListSnapshots(path).isEmpty());
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from thraci")).toInt(), players);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tkluby")).toInt(), clubs);
    m_doc.CloseSeason();

    // Opened with the check, it is refused at once.
    m_doc.SetIntegrityCheck(true);
    EXPECT_FALSE(m_doc.OpenSeasonFile(path));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("je poškodený")));
}

TEST_F(Damage, ASoundFileOpenedWithoutTheCheckIsCheckedOnceBeforeTheFirstBigWrite)
{
    const QString path = NewDemoSeason(QStringLiteral("zdrava.mdb"), 1, 6, 11);
    m_doc.SetIntegrityCheck(false);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    CDatabaza& db = m_doc.Database();
    EXPECT_FALSE(db.CheckedClean());
    const int club = db.Value(QStringLiteral("select min(ID) from tkluby")).toInt();
    const CVysledokDovozu r = ImportPlayers(db, club, "Meno;Priezvisko\r\nJán;Nový\r\n");
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.count, 1);
    EXPECT_TRUE(db.CheckedClean());
}

TEST_F(Damage, AnEngineErrorThatSaysTheFileIsDamagedIsToldSoAndTheFileIsForgottenAsChecked)
{
    const QString path = NewDemoSeason(QStringLiteral("zle.mdb"), 1, 6, 11);
    int root = 0, pageSize = 0;
    {
        CDatabaza db;
        db.Open(path);
        root = db.Value(QStringLiteral("select rootpage from sqlite_master where name='tzapasy'")).toInt();
        pageSize = db.Value(QStringLiteral("PRAGMA page_size")).toInt();
    }
    ASSERT_GT(root, 1);
    // The matches' table page is no page of any kind the engine knows.
    Patch(path, qint64(root - 1) * pageSize, QByteArray(1, '\x01'));

    m_doc.SetIntegrityCheck(false);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join('\n').toStdString();
    // As if this computer had vouched for the file.
    RememberCleanCheck(m_doc.Database());
    ASSERT_TRUE(UnchangedSinceCleanCheck(m_doc.Database()));
    m_user.messages.clear();
    EXPECT_FALSE(
        m_doc.Run([&] { m_doc.Database().Value(QStringLiteral("select max(poznamka) from tzapasy")); }));
    ASSERT_EQ(m_user.messages.size(), 1);
    EXPECT_TRUE(m_user.messages.first().contains(QStringLiteral("je poškodený")))
        << m_user.messages.first().toStdString();
    EXPECT_FALSE(m_user.messages.first().contains(QStringLiteral("odmietla")));
    EXPECT_FALSE(UnchangedSinceCleanCheck(m_doc.Database()));
    m_doc.CloseSeason();
    m_doc.SetIntegrityCheck(true);
    EXPECT_FALSE(m_doc.OpenSeasonFile(path));
}

TEST_F(Damage, AFileOpenedWithoutTheCheckAndWrittenIsNotRememberedAsChecked)
{
    const QString path = NewDemoSeason(QStringLiteral("zapis.mdb"), 1, 6, 11);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    m_doc.CloseSeason();
    // Unchanged: opened on its remembered state.
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    EXPECT_FALSE(m_doc.Database().CheckedClean());
    m_doc.Database().Execute(QStringLiteral("update tkluby set pozn='x'"));
    m_doc.CloseSeason();
    // Written by the program on the strength of the remembered state alone: checked in full next time.
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    EXPECT_TRUE(m_doc.Database().CheckedClean());
    m_doc.Database().Execute(QStringLiteral("update tkluby set pozn='y'"));
    m_doc.CloseSeason();
    // Checked in this session and written: remembered as it was left.
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    EXPECT_FALSE(m_doc.Database().CheckedClean());
}

TEST_F(Damage, ASeasonInAFolderReachedThroughALinkTakesItsSnapshotsAndLeftoversBesideItGo)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("skutocny")));
    const QString real = Path(QStringLiteral("skutocny/sezona.mdb"));
    CreateNewSeasonFile(real);
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("skutocny")), Path(QStringLiteral("odkaz"))));
    const QString linked = Path(QStringLiteral("odkaz/sezona.mdb"));

    // Leftovers of a killed run beside the season and among its snapshots.
    QProcess child;
    child.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(child.waitForStarted());
    ASSERT_TRUE(QDir().mkpath(SnapshotFolder(real)));
    const QStringList leftovers = {
        Path(QStringLiteral("skutocny/.sezona.mdb.%1.0badcafe.tmp").arg(child.processId())),
        Path(QStringLiteral("skutocny/.sezona.mdb.%1.0badcafe.tmp-journal").arg(child.processId())),
        QDir(SnapshotFolder(real)).filePath(QStringLiteral(".x.mdb.%1.0badcafe.tmp").arg(child.processId())),
        QDir(SnapshotFolder(real))
            .filePath(QStringLiteral(".x.mdb.%1.0badcafe.tmp-journal").arg(child.processId()))};
    for (const QString& f : leftovers) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("pol kópie");
    }
    child.kill();
    child.waitForFinished();

    ASSERT_TRUE(m_doc.OpenSeasonFile(linked)) << m_user.messages.join('\n').toStdString();
    for (const QString& f : leftovers)
        EXPECT_FALSE(QFileInfo::exists(f)) << f.toStdString();
    ASSERT_TRUE(m_doc.Snapshot(QStringLiteral("Amnestia"))) << m_user.messages.join('\n').toStdString();
    const QVector<CZaloha> snapshots = ListSnapshots(real);
    ASSERT_EQ(snapshots.size(), 1);
    EXPECT_EQ(snapshots.first().command, QStringLiteral("Amnestia"));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("odkaz"))).isSymLink());
}

TEST_F(Damage, ARestoreRefusesADamagedSnapshotAndWritesNothing)
{
    const QString path = NewDemoSeason(QStringLiteral("obnova.mdb"), 1, 6, 11);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    ASSERT_TRUE(m_doc.Snapshot(QStringLiteral("Vymazať súťaže")));
    const QString snapshot = ListSnapshots(path).first().path;
    m_doc.CloseSeason();
    int root = 0, pageSize = 0;
    {
        CDatabaza db;
        db.Open(snapshot);
        root = db.Value(QStringLiteral("select rootpage from sqlite_master where name='tkluby'")).toInt();
        pageSize = db.Value(QStringLiteral("PRAGMA page_size")).toInt();
    }
    Patch(snapshot, qint64(root - 1) * pageSize + 3, BigEndian(0xffffffffu).left(2));
    const QByteArray before = Hash(snapshot);
    const QString target = Path(QStringLiteral("obnovena.mdb"));
    try {
        RestoreSnapshot(snapshot, target);
        ADD_FAILURE() << "a damaged snapshot was restored";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.Sentence().contains(QStringLiteral("poškoden"))) << e.UserText().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(Hash(snapshot), before);
}

TEST_F(Damage, OutputsWriteAFileALinkPointsToAndRefuseWhatIsNoFile)
{
    const QString page = Path(QStringLiteral("stranka.html"));
    {
        QFile f(page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stará");
    }
    const QString link = Path(QStringLiteral("odkaz.html"));
    ASSERT_TRUE(QFile::link(page, link));
    WriteWholeFile(link, "nová");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("nová"));

    ASSERT_TRUE(QFile::link(Path(QStringLiteral("nikde.html")), Path(QStringLiteral("mrtvy.html"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("rura"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), Path(QStringLiteral("zariadenie"))));
    for (const QString& name :
         {QStringLiteral("mrtvy.html"), QStringLiteral("rura"), QStringLiteral("zariadenie"), QString()}) {
        const QString target = name.isEmpty() ? m_dir.path() : Path(name);
        EXPECT_FALSE(OutputRefusal(target).isEmpty()) << target.toStdString();
        EXPECT_THROW(WriteWholeFile(target, "x"), CChybaDatabazy) << target.toStdString();
    }
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("mrtvy.html"))).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("nikde.html"))));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("zariadenie"))).isSymLink());
    // A write that fails names the file asked for, in Slovak, never the hidden temporary.
    try {
        WriteWholeFile(Path(QStringLiteral("niet/stranka.html")), "x");
        ADD_FAILURE() << "a write into a missing folder succeeded";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("niet/stranka.html sa nepodarilo zapísať: priečinok "
                                                         "alebo súbor neexistuje")))
            << e.UserText().toStdString();
        EXPECT_FALSE(e.UserText().contains(QStringLiteral(".tmp")));
        EXPECT_FALSE(e.UserText().contains(QStringLiteral("No such file")));
    }
}

} // namespace
