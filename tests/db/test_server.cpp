// A season on a PostgreSQL server: put there from a file and made a file again without a loss, every
// list the same as the file's, writes that reach the server whole or not at all, and every fault
// said in Slovak. Each test program starts a throwaway cluster of its own (tests/db/server.h).

#include "cli/vystupy.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CSezonaNaServeri.h"
#include "db/kody.h"
#include "db/zalohy.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"
#include "results/prepocet.h"
#include "results/vysledky.h"
#include "server.h"

#include <QFile>
#include <QProcess>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every table of the season as text, row by row in key order, with the counters and the tables'
// definitions: what must come back from the server as it went there.
std::string Contents(CDatabaza& db)
{
    QString out;
    CPrikaz tables(db,
                   QStringLiteral("select name, sql from sqlite_master where sql is not null order by name"));
    QStringList names;
    while (tables.Step()) {
        out += tables.Text(1) + QLatin1Char('\n');
        if (tables.Text(1).startsWith(QLatin1String("CREATE TABLE")))
            names << tables.Text(0);
    }
    for (const QString& name : names) {
        CPrikaz rows(db, QStringLiteral("select * from \"%1\" order by rowid").arg(name));
        while (rows.Step()) {
            QStringList cells;
            for (int i = 0; i < rows.ColumnCount(); ++i) {
                const QVariant v = rows.Value(i);
                cells << (v.isNull() ? QStringLiteral("NULL")
                                     : QString::fromLatin1(v.typeName()) + QLatin1Char(':') + v.toString());
            }
            out += name + QLatin1Char('|') + cells.join(QLatin1Char('|')) + QLatin1Char('\n');
        }
    }
    return out.toStdString();
}

// What a list shows, prints and exports, as text.
std::string ListText(CDatabaza& db, const QString& list, const CVyber& v)
{
    const CVystupZoznamu& output = Outputs().value(list);
    QString out;
    if (output.page)
        if (const auto page = output.page(db, v))
            out += page->Text() + QString::fromUtf8(page->CsvText());
    const auto printout = output.printout(db, v);
    for (const CZaznamovaPlocha& page : RecordPages(*printout))
        for (const auto& t : page.Texts())
            out += QStringLiteral("%1,%2 %3\n").arg(t.rect.x()).arg(t.rect.y()).arg(t.text);
    return out.toStdString();
}

class Server : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        ASSERT_TRUE(SharedServer().Problem().isEmpty()) << SharedServer().Problem().toStdString();
    }
    // A season name of this test's own.
    QString Season(const char* suffix = "") const
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return QString::fromLatin1(info->name()).left(50) + QLatin1String(suffix);
    }
    // The demo season of that size put onto the server; its file stays at Path("demo.mdb").
    QString Uploaded(int competitions = 2, int clubs = 8, int players = 12)
    {
        const QString file = NewDemoSeason(QStringLiteral("demo.mdb"), competitions, clubs, players);
        CDatabaza db;
        db.Open(file);
        const QString address = SharedServer().Address(Season());
        db.UploadTo(address);
        return address;
    }
};

TEST_F(Server, ASeasonPutOnTheServerAndMadeAFileAgainKeepsEveryTableRowValueAndCounter)
{
    const QString address = Uploaded();
    CDatabaza file;
    file.Open(Path(QStringLiteral("demo.mdb")));
    CDatabaza server;
    server.Open(address);
    EXPECT_TRUE(server.IsServer());
    EXPECT_EQ(Contents(server), Contents(file));
    server.CopyTo(Path(QStringLiteral("zo-servera.mdb")));
    CDatabaza back;
    back.Open(Path(QStringLiteral("zo-servera.mdb")));
    EXPECT_EQ(Contents(back), Contents(file));
    EXPECT_TRUE(back.QuickCheck().isEmpty());

    // NULL and empty text, a blob, a float and long text of a table of the program's own come back as
    // they were.
    file.Execute(
        QStringLiteral("create table tvlastna (ID INTEGER PRIMARY KEY AUTOINCREMENT, t TEXT, b BLOB, "
                       "r REAL)"));
    file.Execute(QStringLiteral("insert into tvlastna (t, b, r) values (NULL, ?, 0.1), ('', NULL, 7.25), (?, "
                                "NULL, NULL)"),
                 {QByteArray("\0\x01\xff\\\t", 5),
                  QString(QStringLiteral("riadok\n\ttab \\ ľščťžýáíé ")).repeated(300)});
    // Many such rows, with escapes, NULLs and blobs among them, as one table's copy.
    file.Execute(
        QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 150) "
                       "insert into tvlastna (t, b, r) select case when i % 3 then ? || i end, "
                       "case when i % 2 then ? end, i * 0.1 from n"),
        {QStringLiteral("\\\t\r\n č"), QByteArray("\\\0\n", 3)});
    file.UploadTo(SharedServer().Address(Season("2")));
    CDatabaza second;
    second.Open(SharedServer().Address(Season("2")));
    EXPECT_EQ(Contents(second), Contents(file));

    // A season that is there already is not replaced.
    try {
        file.UploadTo(address);
        ADD_FAILURE() << "uploaded over an existing season";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("už je"))) << e.UserText().toStdString();
    }
}

TEST_F(Server, ARowTheCopyCannotTakeIsToldWithItsTableAndTheSeasonOpensOnceItIsMended)
{
    const QString address = Uploaded();
    CDatabaza file;
    file.Open(Path(QStringLiteral("demo.mdb")));
    // A match in the middle of the table set by hand on the server to what the season's own table does
    // not take (there, the column takes anything).
    const int match =
        file.Value(QStringLiteral("select ID from tzapasy order by ID limit 1 offset 40")).toInt();
    const int competition =
        file.Value(QStringLiteral("select skupina from tzapasy where ID=?"), {match}).toInt();
    const QString set = QStringLiteral("update \"%1\".tzapasy set skupina = %2 where \"ID\" = %3");
    SharedServer().Psql(set.arg(Season(), QStringLiteral("null")).arg(match));
    try {
        CDatabaza db;
        db.Open(address);
        ADD_FAILURE() << "opened a season with a row its table does not take";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("Riadky tabuľky tzapasy zo servera sa nepodarilo "
                                                         "prevziať")))
            << e.UserText().toStdString();
    }
    SharedServer().Psql(set.arg(Season(), QString::number(competition)).arg(match));
    CDatabaza server;
    server.Open(address);
    EXPECT_EQ(Contents(server), Contents(file));

    // The same row taken in by an open season whose table the log says changed whole: the refresh is
    // refused, the copy stays as it was, and the connection goes on to the next refresh once the row
    // is mended.
    const QString whole =
        QStringLiteral("insert into \"%1\".mirak_zmeny (tabulka, kluc) values ('tzapasy', null)")
            .arg(Season());
    SharedServer().Psql(set.arg(Season(), QStringLiteral("null")).arg(match) + QLatin1Char(';') + whole);
    try {
        server.Refresh();
        ADD_FAILURE() << "took in a row its table does not take";
    } catch (const CChybaDatabazy& e) {
        EXPECT_TRUE(e.UserText().contains(QStringLiteral("tzapasy"))) << e.UserText().toStdString();
    }
    EXPECT_EQ(Contents(server), Contents(file));
    SharedServer().Psql(set.arg(Season(), QString::number(competition)).arg(match) + QLatin1Char(';') +
                        QStringLiteral("update \"%1\".tzapasy set poznamka2 = 'opravené' where \"ID\" = %2")
                            .arg(Season())
                            .arg(match) +
                        QLatin1Char(';') + whole);
    server.Refresh();
    EXPECT_EQ(server.Value(QStringLiteral("select poznamka2 from tzapasy where ID=?"), {match}).toString(),
              QStringLiteral("opravené"));
    EXPECT_EQ(server.Value(QStringLiteral("select count(*) from tzapasy")),
              file.Value(QStringLiteral("select count(*) from tzapasy")));
}

TEST_F(Server, EveryListIsTheFilesAndAScoreTypedOnTheServerGivesTheSameStandings)
{
    const QString address = Uploaded(2, 10, 14);
    CDatabaza file;
    file.Open(Path(QStringLiteral("demo.mdb")));
    CDatabaza server;
    server.Open(address);
    int compared = 0;
    for (int competition = 1; competition <= 2; ++competition)
        for (auto it = Outputs().constBegin(); it != Outputs().constEnd(); ++it) {
            CVyber v;
            v.competition = competition;
            v.thresholds = {4, 8, 12, 16};
            if (it.key() == QStringLiteral("zk-stop"))
                v.round = 10;
            EXPECT_EQ(ListText(server, it.key(), v), ListText(file, it.key(), v)) << it.key().toStdString();
            ++compared;
        }
    EXPECT_EQ(compared, 2 * Outputs().size());

    // The same score typed into both: the standings of both stay equal, and the server has it.
    const int match =
        file.Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and body1=?"), {kBezVysledku})
            .toInt();
    ASSERT_GT(match, 0);
    const CPolickaVysledku typed{QStringLiteral("4"), QStringLiteral("1"), QString(), QString(), QString()};
    EnterResult(file, 1, match, typed, kDomaci);
    EnterResult(server, 1, match, typed, kDomaci);
    CVyber v;
    v.competition = 1;
    EXPECT_EQ(ListText(server, QStringLiteral("tabulka"), v), ListText(file, QStringLiteral("tabulka"), v));
    CDatabaza fresh;
    fresh.Open(address);
    EXPECT_EQ(Contents(fresh), Contents(file));
}

TEST_F(Server, ASeasonNamedWithPercentSignsAndQuotesIsWrittenReadAndSeenAsAnyOther)
{
    // The name is in every statement the program sends: "%1" in it must stay itself, a quote must not
    // end anything.
    const QString file = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 8, 12);
    const QString address = SharedServer().Address(QStringLiteral("jar %1%2 \"o'\" %12 %9"));
    CDatabaza db;
    db.Open(file);
    // A table of a converted season keeps the name it had, signs and all.
    db.Execute(QStringLiteral("create table \"t%1 %2\" (ID INTEGER PRIMARY KEY AUTOINCREMENT, t TEXT)"));
    db.Execute(QStringLiteral("insert into \"t%1 %2\" (t) values ('%3')"));
    db.UploadTo(address);
    CDatabaza server;
    server.Open(address);
    CDatabaza other;
    other.Open(address);
    EXPECT_EQ(Contents(server), Contents(db));

    // A typed score (checked against its clubs), a recalculation (the season's lock) and new rows of two
    // tables (their counters): on the server, in the other window and in the file alike.
    const int match =
        db.Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and body1=?"), {kBezVysledku})
            .toInt();
    ASSERT_GT(match, 0);
    const CPolickaVysledku typed{QStringLiteral("2"), QStringLiteral("2"), QString(), QString(), QString()};
    for (CDatabaza* d : {&db, &server}) {
        EnterResult(*d, 1, match, typed, kDomaci);
        RecalculateCompetition(*d, 2);
        d->Execute(QStringLiteral("insert into tsutaze (nazov) values ('Pohár %1')"));
        d->Execute(QStringLiteral("insert into \"t%1 %2\" (t) values ('%4')"));
    }
    other.Refresh();
    EXPECT_EQ(Contents(other), Contents(db));
    server.CopyTo(Path(QStringLiteral("zo-servera.mdb")));
    CDatabaza back;
    back.Open(Path(QStringLiteral("zo-servera.mdb")));
    EXPECT_EQ(Contents(back), Contents(db));
}

TEST_F(Server, TheServersSlovakOrderAndScoreRuleAreTheFiles)
{
    const QString address = Uploaded(4, 14, 20);
    CDatabaza db;
    db.Open(address);
    // Names where the order is Slovak's own: ch after h, accents second, case last.
    for (const char* name : {"Chrenovec", "Hrádok", "Cífer", "Čachtice", "čierna Voda", "Ďurďové", "Ľubotice",
                             "Šaľa", "Žihárec", "Ábelová", "Abrahám", "chtelnica", "Ihrište", "Zálesie"})
        db.Execute(QStringLiteral("insert into tkluby (nazov, skupina) values (?, 1)"),
                   {QString::fromUtf8(name)});
    QStringList program;
    CPrikaz clubs(db, QStringLiteral("select nazov from tkluby order by nazov"));
    while (clubs.Step())
        program << clubs.Text(0);
    CPrikaz players(db, QStringLiteral("select priezvisko from thraci order by priezvisko"));
    while (players.Step())
        program << players.Text(0);
    const QString server = SharedServer().Psql(
        QStringLiteral("select nazov from \"%1\".tkluby order by nazov collate \"%1\".slovak, \"ID\"; select "
                       "priezvisko from \"%1\".thraci order by priezvisko collate \"%1\".slovak, \"ID\"")
            .arg(Season()));
    EXPECT_EQ(server.toStdString(), program.join(QLatin1Char('\n')).toStdString());
    const QString scores = SharedServer().Psql(
        QStringLiteral(
            "select string_agg(\"%1\".mirak_skore(v)::text, ',' order by v) from unnest(array[-1, 0, 7, "
            "99, 100, 150, 200, 201]) v")
            .arg(Season()));
    EXPECT_EQ(scores, QStringLiteral("100,0,7,99,100,100,200,100"));
}

TEST_F(Server, AWriteOfOneWindowReachesAnotherAndAWholeCommandCommitsWhole)
{
    const QString address = Uploaded();
    CDatabaza first;
    first.Open(address);
    CDatabaza second;
    second.Open(address);
    first.Execute(QStringLiteral("update tkluby set nazov=? where ID=1"), {QStringLiteral("FK Nové meno")});
    second.Refresh();
    EXPECT_EQ(second.Value(QStringLiteral("select nazov from tkluby where ID=1")).toString(),
              QStringLiteral("FK Nové meno"));

    // A write is computed from what the other committed: the IDs never meet.
    first.Execute(QStringLiteral("insert into tsutaze (nazov) values ('Prvá')"));
    const qint64 a = first.LastInsertId();
    second.Execute(QStringLiteral("insert into tsutaze (nazov) values ('Druhá')"));
    const qint64 b = second.LastInsertId();
    EXPECT_NE(a, b);
    first.Refresh();
    EXPECT_EQ(Contents(first), Contents(second));

    // A command that fails half-way leaves nothing of itself, on the server too.
    const std::string before = Contents(first);
    try {
        CTransakcia t(first, CTransakcia::kHromadna);
        first.Execute(QStringLiteral("delete from tgoly"));
        RecalculateCompetition(first, 1);
        first.Execute(QStringLiteral("insert into nikde values (1)"));
        t.Commit();
        ADD_FAILURE() << "the command went through";
    } catch (const CChybaDatabazy&) {
    }
    EXPECT_EQ(Contents(first), before);
    CDatabaza fresh;
    fresh.Open(address);
    EXPECT_EQ(Contents(fresh), before);
}

TEST_F(Server, ACopyKeptOnThisComputerTakesInWhatChangedAndASeasonMadeAnewIsReadWhole)
{
    const QString address = Uploaded();
    {
        CDatabaza db;
        db.Open(address);
    }
    // A change by another client, outside the program: the server's log has it all the same.
    SharedServer().Psql(
        QStringLiteral("update \"%1\".tkluby set nazov = 'FK Zvonku' where \"ID\" = 2").arg(Season()));
    {
        CDatabaza db;
        db.Open(address);
        EXPECT_EQ(db.Value(QStringLiteral("select nazov from tkluby where ID=2")).toString(),
                  QStringLiteral("FK Zvonku"));
    }
    // The season made anew under the same name is not the copy kept of the old one.
    SharedServer().Psql(QStringLiteral("drop schema \"%1\" cascade").arg(Season()));
    CDatabaza file;
    file.Open(Path(QStringLiteral("demo.mdb")));
    file.Execute(QStringLiteral("update tkluby set nazov='FK Nový' where ID=3"));
    file.UploadTo(address);
    CDatabaza again;
    again.Open(address);
    EXPECT_EQ(Contents(again), Contents(file));
}

TEST_F(Server, AClientKilledInTheMiddleOfACommandLeavesTheSeasonAsItWas)
{
    const QString address = Uploaded();
    CDatabaza reader;
    reader.Open(address);
    const std::string before = Contents(reader);
    reader.Close();
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        // The child has begun the server's transaction, holds the season's lock and has written half a
        // command when it is killed.
        try {
            CDatabaza db;
            db.Open(address);
            CTransakcia t(db, CTransakcia::kHromadna);
            db.Execute(QStringLiteral("delete from tzapasy"));
            db.Execute(QStringLiteral("delete from tbody"));
            (void)::write(pipe[1], "x", 1);
            ::pause();
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(pipe[1]);
    char c = 0;
    ASSERT_EQ(::read(pipe[0], &c, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipe[0]);
    CDatabaza after;
    after.Open(address);
    EXPECT_EQ(Contents(after), before);
    // The server let the season's lock go with the killed client: the next write goes through.
    after.Execute(QStringLiteral("update tkluby set nazov='FK Ďalší' where ID=1"));
    CDatabaza fresh;
    fresh.Open(address);
    EXPECT_EQ(fresh.Value(QStringLiteral("select nazov from tkluby where ID=1")).toString(),
              QStringLiteral("FK Ďalší"));
}

TEST_F(Server, TheServerStoppedWhileASeasonIsOpenIsToldAndNothingIsHalfWritten)
{
    const QString address = Uploaded();
    CLigaroDoc doc(m_user);
    ASSERT_TRUE(doc.OpenSeasonFile(address)) << m_user.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(doc.HasEditAccess());
    // Its snapshots go beside the user's settings, each a season file.
    ASSERT_TRUE(doc.Snapshot(QStringLiteral("Skúška")));
    const QVector<CZaloha> snapshots = ListSnapshots(doc.FilePath());
    ASSERT_EQ(snapshots.size(), 1);
    CDatabaza snapshot;
    snapshot.Open(snapshots.first().path);
    EXPECT_EQ(Contents(snapshot), Contents(doc.Database()));
    snapshot.Close();
    const std::string before = Contents(doc.Database());
    SharedServer().Stop();
    m_user.messages.clear();
    // The list is still read; the write is refused in Slovak and taken back.
    EXPECT_FALSE(
        doc.Run([&] { doc.Database().Execute(QStringLiteral("update tkluby set nazov='x' where ID=1")); }));
    ASSERT_EQ(m_user.messages.size(), 1);
    EXPECT_TRUE(m_user.messages.first().contains(QStringLiteral("nie je dostupný")) ||
                m_user.messages.first().contains(QStringLiteral("prerušilo")))
        << m_user.messages.first().toStdString();
    EXPECT_EQ(Contents(doc.Database()), before);
    ASSERT_TRUE(SharedServer().Start()) << SharedServer().Problem().toStdString();
    // Back again, the same window writes.
    EXPECT_TRUE(doc.Run([&] {
        doc.Database().Execute(QStringLiteral("update tkluby set nazov='FK Späť' where ID=1"));
    })) << m_user.messages.join(QLatin1Char('\n')).toStdString();
    CDatabaza fresh;
    fresh.Open(address);
    EXPECT_EQ(fresh.Value(QStringLiteral("select nazov from tkluby where ID=1")).toString(),
              QStringLiteral("FK Späť"));
}

TEST_F(Server, WrongAddressesMissingSeasonsNewerFormatsAndChangedTablesAreToldInSlovak)
{
    const auto refusal = [](const QString& address) {
        try {
            CDatabaza db;
            db.Open(address);
        } catch (const CChybaDatabazy& e) {
            return e.UserText();
        }
        return QString();
    };
    EXPECT_TRUE(refusal(QStringLiteral("postgresql://")).contains(QStringLiteral("nehovorí, ktorá sezóna")));
    EXPECT_TRUE(refusal(QStringLiteral("postgresql://mirak@%2Fneexistuje/mirak?sezona=a"))
                    .contains(QStringLiteral("Nepodarilo sa pripojiť k serveru")));
    const QString missing = refusal(SharedServer().Address(QStringLiteral("ziadna")));
    EXPECT_TRUE(missing.contains(QStringLiteral("Sezóna ziadna na serveri"))) << missing.toStdString();

    const QString address = Uploaded();
    SharedServer().Psql(
        QStringLiteral("update \"%1\".mirak_meta set hodnota='99' where kluc='verzia'").arg(Season()));
    const QString newer = refusal(address);
    EXPECT_TRUE(newer.contains(QStringLiteral("novší program")) && newer.contains(QStringLiteral("99")))
        << newer.toStdString();
    SharedServer().Psql(
        QStringLiteral("update \"%1\".mirak_meta set hodnota='1' where kluc='verzia'").arg(Season()));
    SharedServer().Psql(QStringLiteral("alter table \"%1\".tzapasy drop column poznamka2").arg(Season()));
    const QString changed = refusal(address);
    EXPECT_TRUE(changed.contains(QStringLiteral("tzapasy")) && changed.contains(QStringLiteral("poznamka2")))
        << changed.toStdString();
}

TEST_F(Server, TheCommandLineUploadsDownloadsAndRunsItsJobsOnAServerSeason)
{
    const QString file = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 8, 12);
    const auto run = [](const QStringList& arguments, QString* out = nullptr) {
        QProcess p;
        p.start(QStringLiteral(MIRAK_EXECUTABLE), arguments);
        p.waitForFinished(120000);
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitCode();
    };
    QString out;
    // Without a name in the address, the season takes the file's.
    ASSERT_EQ(
        run({QStringLiteral("--upload"), file, QStringLiteral("--server"), SharedServer().DatabaseAddress()},
            &out),
        0)
        << out.toStdString();
    const QString address = SharedServer().Address(QStringLiteral("demo"));
    EXPECT_TRUE(out.contains(QStringLiteral("sezona=demo"))) << out.toStdString();
    EXPECT_NE(run({QStringLiteral("--upload"), file, QStringLiteral("--server"), address}, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("už je"))) << out.toStdString();

    ASSERT_EQ(run({QStringLiteral("--export"), QStringLiteral("tabulka"), address, QStringLiteral("--sutaz"),
                   QStringLiteral("1"), QStringLiteral("-o"), Path(QStringLiteral("server.html"))}),
              0);
    ASSERT_EQ(run({QStringLiteral("--export"), QStringLiteral("tabulka"), file, QStringLiteral("--sutaz"),
                   QStringLiteral("1"), QStringLiteral("-o"), Path(QStringLiteral("subor.html"))}),
              0);
    QFile a(Path(QStringLiteral("server.html")));
    QFile b(Path(QStringLiteral("subor.html")));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    // The export's date line aside, the page is the file's.
    const auto withoutDate = [](QByteArray page) {
        return QString::fromUtf8(page).remove(
            QRegularExpression(QStringLiteral("\\d{1,2}\\. ?\\d{1,2}\\. ?\\d{4}[^<]*")));
    };
    EXPECT_EQ(withoutDate(a.readAll()), withoutDate(b.readAll()));

    EXPECT_EQ(run({QStringLiteral("--recalculate"), address}, &out), 0) << out.toStdString();
    ASSERT_EQ(
        run({QStringLiteral("--download"), address, QStringLiteral("-o"), Path(QStringLiteral("spat.mdb"))},
            &out),
        0)
        << out.toStdString();
    EXPECT_NE(
        run({QStringLiteral("--download"), address, QStringLiteral("-o"), Path(QStringLiteral("spat.mdb"))},
            &out),
        0);
    CDatabaza original;
    original.Open(file);
    RecalculateCompetition(original, 1);
    RecalculateCompetition(original, 2);
    CDatabaza back;
    back.Open(Path(QStringLiteral("spat.mdb")));
    EXPECT_EQ(Contents(back), Contents(original));
}

} // namespace
