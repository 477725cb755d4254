// The command line, run as a user's script would run it: the real executable, its output and exit
// status, and files that match what the window writes.

#include "cli/CPrikazovyRiadok.h"
#include "competition/generator.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/kody.h"
#include "db/subory.h"
#include "db/udajesezony.h"
#include "discipline/karty.h"
#include "output/kodovanie.h"
#include "pomocnik.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct CBeh
{
    int status;
    QString out;
    QString err;
};

CBeh Program(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(MIRAK_EXECUTABLE), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        return {-1, {}, QStringLiteral("did not finish")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CommandLine : public SeasonTest
{
};

TEST_F(CommandLine, MakesANewSeasonAndReportsOnIt)
{
    const QString path = Path(QStringLiteral("nova.mdb"));
    CBeh r = Program({QStringLiteral("--new-season"), path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = Program({QStringLiteral("--new-season"), path});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("už existuje")));
    EXPECT_EQ(Program({QStringLiteral("--new-season"), Path(QStringLiteral("x.txt"))}).status, 1);

    r = Program({QStringLiteral("--info"), path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines,
              (QStringList{"sezona: ", "kraj: ", "zvaz: ", "sutaze: 0", "kluby: 0", "hraci: 0", "zapasy: 0",
                           "vysledky: 0", "goly: 0", "zlte: 0", "cervene: 0", "rozhodcovia: 0", "delegati: 0",
                           "nominacie: 0", "nominacie_bez_zapasu: 0"}));
    EXPECT_EQ(Program({QStringLiteral("--info"), Path(QStringLiteral("niet.mdb"))}).status, 2);
    EXPECT_EQ(Program({QStringLiteral("--info")}).status, 1);
    EXPECT_EQ(Program({QStringLiteral("--info"), path, QStringLiteral("--nezname")}).status, 1);
}

TEST_F(CommandLine, RecalculatesResultsWrittenByAnotherToolIntoTheTable)
{
    const QString path = NewSeason();
    int competition = 0;
    {
        CDatabaza db;
        db.Open(path);
        competition = AddCompetition(db, QStringLiteral("I. trieda"));
        const int a = AddClub(db, competition, QStringLiteral("Slovan"), 1);
        const int b = AddClub(db, competition, QStringLiteral("Inter"), 2);
        AddMatch(db, competition, 1, a, b, 3, 1);
    }
    EXPECT_EQ(
        Program({QStringLiteral("--recalculate"), path, QStringLiteral("--sutaz"), QStringLiteral("99")})
            .status,
        2);
    const CBeh r = Program({QStringLiteral("--recalculate"), path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString page = Path(QStringLiteral("tabulka.html"));
    ASSERT_EQ(Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                       page, QStringLiteral("--sutaz"), QString::number(competition)})
                  .status,
              0);
    const QByteArray html = Contents(page);
    EXPECT_TRUE(html.contains("po 1. kole"));
    // Slovan first, with three points.
    const qsizetype slovan = html.indexOf("Slovan");
    ASSERT_GT(slovan, 0);
    EXPECT_LT(slovan, html.indexOf("Inter"));
    EXPECT_TRUE(html.mid(slovan).contains("nowrap>3 : 1</td>"));
}

TEST(CommandLineParser, UnknownOptionsAreUsageErrorsAndQtOptionsAreLeftToTheWindow)
{
    using M = CPrikazovyRiadok::CRezim;
    const QString program = QStringLiteral("agenda-mirak");
    EXPECT_EQ(CPrikazovyRiadok::Mode({program}), M::Okno);
    EXPECT_EQ(CPrikazovyRiadok::Mode({program, QStringLiteral("s.mdb")}), M::Okno);
    EXPECT_EQ(CPrikazovyRiadok::Mode(
                  {program, QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("s.mdb")}),
              M::Okno);
    EXPECT_EQ(CPrikazovyRiadok::WindowSeason(
                  {program, QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("s.mdb")}),
              QStringLiteral("s.mdb"));
    // An option the program does not know never opens the window on the file.
    EXPECT_EQ(CPrikazovyRiadok::Mode({program, QStringLiteral("--publikuj"), QStringLiteral("s.mdb")}),
              M::Konzola);
    EXPECT_EQ(CPrikazovyRiadok::Mode({program, QStringLiteral("a.mdb"), QStringLiteral("b.mdb")}),
              M::Konzola);
    EXPECT_EQ(CPrikazovyRiadok::Mode({program, QStringLiteral("--sutaz"), QStringLiteral("1")}), M::Konzola);

    CBeh r = Program({QStringLiteral("--nezname"), QStringLiteral("s.mdb")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nezname"))) << r.err.toStdString();
    r = Program({QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("--export"))) << r.out.toStdString();
    r = Program({QStringLiteral("--version")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("2.09.7"))) << r.out.toStdString();
    EXPECT_EQ(Program({QStringLiteral("--info"), QStringLiteral("--export"), QStringLiteral("kluby"),
                       QStringLiteral("s.mdb"), QStringLiteral("-o"), QStringLiteral("x.html")})
                  .status,
              1);
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("kluby"), QStringLiteral("s.mdb")}).status,
              1);
}

TEST(CommandLineParser, TheHelpAndTheErrorsOfTheParserAreSlovak)
{
    CBeh r = Program({QStringLiteral("--help")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("Použitie:"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Zobrazí verziu programu."))) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("Displays"))) << r.out.toStdString();
    r = Program({QStringLiteral("--export"), QStringLiteral("kluby"), QStringLiteral("s.mdb"),
                 QStringLiteral("--sutaz")});
    EXPECT_TRUE(r.err.contains(QStringLiteral("Za '--sutaz' chýba hodnota."))) << r.err.toStdString();
}

TEST(Installation, TheTemplateAndTheHelpStandBesideTheProgram)
{
    const QDir folder = QFileInfo(QStringLiteral(MIRAK_EXECUTABLE)).absoluteDir();
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("rpt/nominacie.rpt"))));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("docs/napoveda.html"))));
}

TEST_F(CommandLine, AFileInUseIsRefused)
{
    OpenNew();
    // Asking whether the open season is a database must not let go of it.
    EXPECT_FALSE(OutputRefusal(m_doc.FilePath()).isEmpty());
    const CBeh r = Program({QStringLiteral("--info"), m_doc.FilePath()});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("iný program"))) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("locked"))) << r.err.toStdString();
}

TEST_F(CommandLine, GeneratesExportsAndPrintsLikeTheWindow)
{
    const QString path = NewSeason();
    int competition = 0;
    {
        CDatabaza db;
        db.Open(path);
        db.Execute(
            QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2011/2012', 'Kraj', 'Zväz')"));
        competition = AddCompetition(db, QStringLiteral("I. trieda"));
        for (int i = 1; i <= 6; ++i)
            AddClub(db, competition, QStringLiteral("Klub %1").arg(i), i);
    }
    const QString id = QString::number(competition);
    CBeh r = Program({QStringLiteral("--generate"), path, QStringLiteral("--sutaz"), id,
                      QStringLiteral("--hour"), QStringLiteral("17:60")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(kZlaHodinaZaciatku));
    r = Program({QStringLiteral("--generate"), path, QStringLiteral("--sutaz"), id, QStringLiteral("--mode"),
                 QStringLiteral("1"), QStringLiteral("--start"), QStringLiteral("08-06-2011")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(
        Program({QStringLiteral("--generate"), path, QStringLiteral("--sutaz"), QStringLiteral("77")}).status,
        2);
    EXPECT_EQ(Program({QStringLiteral("--generate"), path, QStringLiteral("--sutaz"), id,
                       QStringLiteral("--mode"), QStringLiteral("5")})
                  .status,
              1);

    const QString page = Path(QStringLiteral("rozpis.html"));
    r = Program({QStringLiteral("--export"), QStringLiteral("rozpis"), path, QStringLiteral("-o"), page,
                 QStringLiteral("--sutaz"), id});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString club = Path(QStringLiteral("kluby.pdf"));
    r = Program({QStringLiteral("--print"), QStringLiteral("kluby"), path, QStringLiteral("-o"), club,
                 QStringLiteral("--sutaz"), id});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(Contents(club).startsWith("%PDF"));
    const QString round = Path(QStringLiteral("kolo.pdf"));
    EXPECT_EQ(Program({QStringLiteral("--print"), QStringLiteral("rozpis"), path, QStringLiteral("-o"), round,
                       QStringLiteral("--sutaz"), id, QStringLiteral("--kolo"), QStringLiteral("3")})
                  .status,
              0);
    EXPECT_TRUE(Contents(round).startsWith("%PDF"));
    EXPECT_EQ(Program({QStringLiteral("--print"), QStringLiteral("rozpis"), path, QStringLiteral("-o"), round,
                       QStringLiteral("--sutaz"), id, QStringLiteral("--kolo"), QStringLiteral("9")})
                  .status,
              2);
    // Nobody has played yet: every club stands in the table with zeros.
    const QString standings = Path(QStringLiteral("tabulka.html"));
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                       standings, QStringLiteral("--sutaz"), id})
                  .status,
              0);
    EXPECT_EQ(Contents(standings).count("nowrap>0 : 0</td>"), 6);
    // The stop list is a page too (for the published site); nobody stands in round 1.
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("zk-stop"), path, QStringLiteral("-o"),
                       Path(QStringLiteral("x.html")), QStringLiteral("--sutaz"), id,
                       QStringLiteral("--kolo"), QStringLiteral("1")})
                  .status,
              0);
    EXPECT_TRUE(
        ZWindows1250(Contents(Path(QStringLiteral("x.html")))).contains(QStringLiteral("V 1. kole nestojí")));
    const QString stop = Path(QStringLiteral("stop.pdf"));
    EXPECT_EQ(Program({QStringLiteral("--print"), QStringLiteral("zk-stop"), path, QStringLiteral("-o"), stop,
                       QStringLiteral("--sutaz"), id, QStringLiteral("--kolo"), QStringLiteral("2")})
                  .status,
              0);
    EXPECT_TRUE(Contents(stop).startsWith("%PDF"));
    const QString cards = Path(QStringLiteral("zk.html"));
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("zk"), path, QStringLiteral("-o"), cards,
                       QStringLiteral("--sutaz"), id})
                  .status,
              0);
    EXPECT_TRUE(Contents(cards).contains("<h2>Klub 1</h2>"));
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("zk"), path, QStringLiteral("-o"), cards,
                       QStringLiteral("--sutaz"), id, QStringLiteral("--klub"), QStringLiteral("999")})
                  .status,
              2);
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("nieco"), path, QStringLiteral("-o"), page})
                  .status,
              1);

    // The same bytes as the window's export, and the fixture list as the window would have made it.
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    EXPECT_EQ(Contents(page), ExportSchedule(m_doc.Database(), competition, kVsetkyKola).CopyText());
    EXPECT_EQ(m_doc.Database().Value(QStringLiteral("select count(*) from tzapasy")).toInt(), 5 * 3);
    EXPECT_EQ(m_doc.Database().Value(QStringLiteral("select min(cas) from tzapasy")).toString(),
              QStringLiteral("2011-08-06 17:00:00"));
}

TEST_F(CommandLine, AnOutputNeverReplacesASeason)
{
    const QString path = NewSeason();
    {
        CDatabaza db;
        db.Open(path);
        const int competition = AddCompetition(db, QStringLiteral("I. trieda"));
        AddClub(db, competition, QStringLiteral("Slovan"), 1);
    }
    const QByteArray season = Contents(path);
    QFile::link(path, Path(QStringLiteral("odkaz.mdb")));
    const QString dotted = QDir(m_dir.path()).filePath(QStringLiteral("./sezona.mdb"));
    for (const QString& output : {path, dotted, Path(QStringLiteral("odkaz.mdb"))})
        for (const char* job : {"--export", "--print"}) {
            const CBeh r =
                Program({QString::fromLatin1(job), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                         output, QStringLiteral("--sutaz"), QStringLiteral("1")});
            EXPECT_EQ(r.status, 2) << job << " " << output.toStdString();
            EXPECT_FALSE(r.err.isEmpty());
            EXPECT_EQ(Contents(path), season) << job << " " << output.toStdString();
        }
    // Any other season, and one that another window holds open, is refused as well.
    const QString other = NewSeason(QStringLiteral("ina.mdb"));
    const QByteArray otherBytes = Contents(other);
    CBeh r = Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                      other, QStringLiteral("--sutaz"), QStringLiteral("1")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("databáza"))) << r.err.toStdString();
    ASSERT_TRUE(m_doc.OpenSeasonFile(other));
    r = Program({QStringLiteral("--print"), QStringLiteral("kluby"), path, QStringLiteral("-o"), other,
                 QStringLiteral("--sutaz"), QStringLiteral("1")});
    EXPECT_EQ(r.status, 2);
    m_doc.CloseSeason();
    EXPECT_EQ(Contents(other), otherBytes);
    // An ordinary file is written as always.
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                       Path(QStringLiteral("tabulka.html")), QStringLiteral("--sutaz"), QStringLiteral("1")})
                  .status,
              0);
}

// The edit password guards the season on the command line as in the window: every job that changes
// it needs the password; reading, printing and publishing do not.
TEST_F(CommandLine, JobsThatChangeASeasonWithAPasswordNeedIt)
{
    const QString path = NewDemoSeason(QStringLiteral("heslo.mdb"), 1, 6, 11);
    {
        CDatabaza db;
        db.Open(path);
        StorePassword(db, QStringLiteral("tajné"));
        db.Execute(QStringLiteral("update tbody set body=body+7"));
    }
    const QByteArray before = Contents(path);
    const QList<QStringList> changing = {
        {QStringLiteral("--recalculate"), path},
        {QStringLiteral("--amnesty"), path, QStringLiteral("--sutaz"), QStringLiteral("1")},
        {QStringLiteral("--generate"), path, QStringLiteral("--sutaz"), QStringLiteral("1")},
        {QStringLiteral("--withdraw"), path, QStringLiteral("--klub"), QStringLiteral("1"),
         QStringLiteral("--datum"), QStringLiteral("10-01-2025")},
    };
    for (const QStringList& job : changing) {
        const CBeh r = Program(job);
        EXPECT_EQ(r.status, 2) << job.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Sezóna má heslo na úpravy"))) << r.err.toStdString();
    }
    CBeh r =
        Program({QStringLiteral("--recalculate"), path, QStringLiteral("--heslo"), QStringLiteral("zlé")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(kNespravneHeslo)) << r.err.toStdString();
    EXPECT_EQ(Contents(path), before);

    // Reading, printing and publishing need no password.
    EXPECT_EQ(Program({QStringLiteral("--info"), path}).status, 0);
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                       Path(QStringLiteral("t.html")), QStringLiteral("--sutaz"), QStringLiteral("1")})
                  .status,
              0);
    // With it the job runs.
    r = Program({QStringLiteral("--recalculate"), path, QStringLiteral("--heslo"), QStringLiteral("tajné")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_NE(Contents(path), before);
    // A season without a password is changed as before.
    const QString open = NewDemoSeason(QStringLiteral("bez-hesla.mdb"), 1, 6, 11);
    EXPECT_EQ(Program({QStringLiteral("--recalculate"), open}).status, 0);
}

TEST_F(CommandLine, ALeftOverTemporaryOfAKilledRunIsRemovedByTheNextWrite)
{
    // Written by a process that no longer runs (process IDs this high are never handed out here).
    const QString stale = Path(QStringLiteral(".nova.mdb.999999999.0badcafe.tmp"));
    const QString alive =
        Path(QStringLiteral(".nova.mdb.%1.00c0ffee.tmp").arg(QCoreApplication::applicationPid()));
    for (const QString& f : {stale, alive}) {
        QFile t(f);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write("half a season");
    }
    EXPECT_EQ(Program({QStringLiteral("--new-season"), Path(QStringLiteral("nova.mdb"))}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(stale));
    // A temporary of a program that still runs is left alone.
    EXPECT_TRUE(QFileInfo::exists(alive));
}

TEST_F(CommandLine, TheListOfWhoMayNotPlayAndTheAmnesty)
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 1, 10, 16);
    // Without --kolo: the round being played; the spreadsheet has its named columns.
    const QString csv = Path(QStringLiteral("nesmu.csv"));
    CBeh r = Program({QStringLiteral("--export"), QStringLiteral("nesmu-hrat"), path, QStringLiteral("-o"),
                      csv, QStringLiteral("--sutaz"), QStringLiteral("1")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString text = QString::fromUtf8(Contents(csv));
    EXPECT_TRUE(text.contains(QStringLiteral("Klub;Meno;Priezvisko;Rodné číslo;Dôvod;Zápas;Dátum")))
        << text.toStdString();
    r = Program({QStringLiteral("--print"), QStringLiteral("nesmu-hrat"), path, QStringLiteral("-o"),
                 Path(QStringLiteral("nesmu.pdf")), QStringLiteral("--sutaz"), QStringLiteral("1"),
                 QStringLiteral("--kolo"), QStringLiteral("3")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(Contents(Path(QStringLiteral("nesmu.pdf"))).startsWith("%PDF"));
    EXPECT_EQ(Program({QStringLiteral("--export"), QStringLiteral("nesmu-hrat"), path, QStringLiteral("-o"),
                       csv, QStringLiteral("--sutaz"), QStringLiteral("1"), QStringLiteral("--kolo"),
                       QStringLiteral("99")})
                  .status,
              2);

    // The amnesty: refused input changes nothing; a good one is recorded for the day it takes effect.
    EXPECT_EQ(
        Program({QStringLiteral("--amnesty"), path, QStringLiteral("--pocet"), QStringLiteral("0")}).status,
        1);
    EXPECT_EQ(
        Program({QStringLiteral("--amnesty"), path, QStringLiteral("--datum"), QStringLiteral("31-12-2024")})
            .status,
        1);
    r = Program({QStringLiteral("--amnesty"), path, QStringLiteral("--sutaz"), QStringLiteral("77")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Súťaž 77")));
    r = Program({QStringLiteral("--amnesty"), path, QStringLiteral("--sutaz"), QStringLiteral("1"),
                 QStringLiteral("--pocet"), QStringLiteral("2"), QStringLiteral("--datum"),
                 QStringLiteral("03-01-2025")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    // An amnesty of one competition does not say it was given in every one.
    EXPECT_TRUE(r.out.contains(AmnestyCountMessage(2, CompetitionName(m_doc.Database(), 1))))
        << r.out.toStdString();
    EXPECT_EQ(m_doc.Database().Value(QStringLiteral("select count(*) from tamnestie")).toInt(), 1);
    EXPECT_EQ(m_doc.Database()
                  .Value(QStringLiteral(
                      "select datum || '/' || pocet || '/' || skupina || '/' || vsetky from tamnestie"))
                  .toString(),
              QStringLiteral("2025-03-01 00:00:00/2/1/0"));
}

TEST_F(CommandLine, TheNextSeasonAndAWithdrawnClub)
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 6, 12);
    const QString next = Path(QStringLiteral("dalsia.mdb"));
    CBeh r = Program({QStringLiteral("--new-season"), next, QStringLiteral("--from"), path});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = Program({QStringLiteral("--info"), next});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("sezona: 2026/2027")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("kluby: 12")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("zapasy: 0")));
    EXPECT_EQ(Program({QStringLiteral("--new-season"), next, QStringLiteral("--from"), path}).status, 2);
    EXPECT_EQ(Program({QStringLiteral("--new-season"), Path(QStringLiteral("x.mdb")),
                       QStringLiteral("--from"), Path(QStringLiteral("niet.mdb"))})
                  .status,
              2);

    // A club withdraws: it stands last; without the day the command is refused.
    EXPECT_EQ(
        Program({QStringLiteral("--withdraw"), path, QStringLiteral("--klub"), QStringLiteral("1")}).status,
        1);
    EXPECT_EQ(Program({QStringLiteral("--withdraw"), path, QStringLiteral("--klub"), QStringLiteral("999"),
                       QStringLiteral("--datum"), QStringLiteral("10-01-2025")})
                  .status,
              2);
    r = Program({QStringLiteral("--withdraw"), path, QStringLiteral("--klub"), QStringLiteral("1"),
                 QStringLiteral("--datum"), QStringLiteral("10-01-2025"), QStringLiteral("--annul")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString table = Path(QStringLiteral("tabulka.csv"));
    ASSERT_EQ(Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("-o"),
                       table, QStringLiteral("--sutaz"), QStringLiteral("1")})
                  .status,
              0);
    QStringList rows = QString::fromUtf8(Contents(table)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(rows.last().contains(QStringLiteral("(odstúpil)"))) << rows.last().toStdString();
    EXPECT_EQ(Program({QStringLiteral("--withdraw"), path, QStringLiteral("--klub"), QStringLiteral("1"),
                       QStringLiteral("--zrusit")})
                  .status,
              0);
    EXPECT_EQ(Program({QStringLiteral("--withdraw"), path, QStringLiteral("--klub"), QStringLiteral("1"),
                       QStringLiteral("--zrusit")})
                  .status,
              2);
}

TEST_F(CommandLine, ConvertsASeasonKeptInTheJetFormat)
{
    const QString jet = Path(QStringLiteral("stara.mdb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(MIRAK_SOURCE_DIR "/tests/jet/subory/stara-schema-jet3.mdb"), jet));
    const QString target = Path(QStringLiteral("nova.mdb"));
    EXPECT_EQ(Program({QStringLiteral("--convert"), jet}).status, 1);
    EXPECT_EQ(
        Program({QStringLiteral("--convert"), jet, QStringLiteral("-o"), Path(QStringLiteral("nova.txt"))})
            .status,
        1);
    // A Jet file is no season the jobs can open: they say how to convert it.
    CBeh r = Program({QStringLiteral("--info"), jet});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--convert")));
    r = Program({QStringLiteral("--convert"), jet, QStringLiteral("-o"), target});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = Program({QStringLiteral("--info"), target});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("zapasy: 56")));
    r = Program({QStringLiteral("--convert"), jet, QStringLiteral("-o"), target});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("už existuje")));
    r = Program(
        {QStringLiteral("--convert"), target, QStringLiteral("-o"), Path(QStringLiteral("dalsia.mdb"))});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nezačína ako databáza Jet")));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("dalsia.mdb"))));
}

TEST_F(CommandLine, PrintedListsKeepEveryMatchAndEveryWordOnThePaper)
{
    const QString path = NewDemoSeason(QStringLiteral("tridsat.mdb"), 1, 30, 11);
    int matches = 0;
    {
        CDatabaza db;
        db.Open(path);
        matches = db.Value(QStringLiteral("select count(*) from tzapasy")).toInt();
    }
    for (const char* list : {"rozpis", "vysledky", "tabulka", "zk", "nominacie"}) {
        const QString pdf = Path(QStringLiteral("%1.pdf").arg(QLatin1String(list)));
        QStringList args = {QStringLiteral("--print"), QString::fromLatin1(list), path, QStringLiteral("-o"),
                            pdf};
        // The nominations are the whole season's.
        if (QLatin1String(list) != QLatin1String("nominacie"))
            args << QStringLiteral("--sutaz") << QStringLiteral("1");
        const CBeh r = Program(args);
        ASSERT_EQ(r.status, 0) << list << r.err.toStdString();
        const QVector<CStranaPdf> pages = PdfWords(pdf);
        ASSERT_FALSE(pages.isEmpty()) << list << ": pdftotext (poppler-utils) is needed";
        int dashes = 0;
        for (int p = 0; p < pages.size(); ++p) {
            const CStranaPdf& page = pages.at(p);
            const QRectF paper(QPointF(0, 0), page.size);
            for (int i = 0; i < page.words.size(); ++i) {
                const CSlovoPdf& w = page.words.at(i);
                EXPECT_TRUE(paper.contains(w.box))
                    << list << " page " << p + 1 << ": " << w.text.toStdString();
                for (int j = i + 1; j < page.words.size(); ++j) {
                    const QRectF overlap = w.box.intersected(page.words.at(j).box);
                    EXPECT_FALSE(overlap.width() > 0.5 && overlap.height() > 1.0)
                        << list << " page " << p + 1 << ": " << w.text.toStdString() << " over "
                        << page.words.at(j).text.toStdString();
                }
                dashes += w.text == QStringLiteral("-") ? 1 : 0;
            }
        }
        // Every match of the schedule: its away club after "- ".
        // (and the association's line "kraj - zväz" at the head and foot of each page).
        if (QLatin1String(list) == QLatin1String("rozpis")) {
            EXPECT_EQ(dashes - 2 * pages.size(), matches);
        }
    }
}

} // namespace

namespace {

TEST_F(CommandLine, OutputsGoThroughLinksToFilesAndNeverReplaceWhatIsNoFile)
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 1, 6, 11);
    const QStringList exportTable = {
        QStringLiteral("--export"), QStringLiteral("tabulka"), path,
        QStringLiteral("--sutaz"),  QStringLiteral("1"),       QStringLiteral("-o")};
    // The page a link stands for is written; the link stays a link.
    const QString page = Path(QStringLiteral("verejne.html"));
    {
        QFile f(page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stará");
    }
    const QString link = Path(QStringLiteral("tabulka.html"));
    ASSERT_TRUE(QFile::link(page, link));
    CBeh r = Program(exportTable + QStringList{link});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(Contents(page).contains("<table"));

    // A FIFO, a device, a folder, a link to nothing: refused at once, nothing replaced.
    const QString fifo = Path(QStringLiteral("rura.html"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = Path(QStringLiteral("zariadenie.html"));
    if (::geteuid() == 0)
        ASSERT_EQ(::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    else
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));
    const QString dangling = Path(QStringLiteral("mrtvy.ics"));
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("nikde.ics")), dangling));
    for (const QString& target : {fifo, device, m_dir.path(), dangling}) {
        for (const QStringList& job :
             {exportTable,
              QStringList{QStringLiteral("--print"), QStringLiteral("kluby"), path, QStringLiteral("--sutaz"),
                          QStringLiteral("1"), QStringLiteral("-o")},
              QStringList{QStringLiteral("--calendar"), path, QStringLiteral("-o")}}) {
            r = Program(job + QStringList{target});
            EXPECT_EQ(r.status, 2) << target.toStdString() << " " << job.first().toStdString();
            EXPECT_FALSE(r.err.isEmpty());
        }
    }
    struct stat st = {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::lstat(QFile::encodeName(device).constData(), &st), 0);
    EXPECT_TRUE(::geteuid() == 0 ? S_ISCHR(st.st_mode) : S_ISLNK(st.st_mode));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("nikde.ics"))));

    // A system error is said in Slovak and names the file asked for, its path cleaned.
    r = Program(exportTable + QStringList{m_dir.path() + QStringLiteral("/niet/..//niet/x.html")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("niet/x.html sa nepodarilo zapísať: priečinok alebo súbor "
                                              "neexistuje")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("//")));
}

TEST_F(CommandLine, ASeasonInALinkedFolderTakesItsSnapshotsAndARefusedPublishLeavesItAsItWas)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("skutocny")));
    const QString real = NewDemoSeason(QStringLiteral("skutocny/demo.mdb"), 1, 6, 11);
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("skutocny")), Path(QStringLiteral("odkaz"))));
    const QString linked = Path(QStringLiteral("odkaz/demo.mdb"));
    CBeh r = Program(
        {QStringLiteral("--amnesty"), linked, QStringLiteral("--datum"), QStringLiteral("10-01-2025")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(Path(QStringLiteral("skutocny/demo.zalohy"))).entryList({QStringLiteral("*.mdb")}).size(),
              1);
    const QString next = Path(QStringLiteral("odkaz/dalsia.mdb"));
    r = Program({QStringLiteral("--new-season"), next, QStringLiteral("--from"), linked});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    // A folder that is somebody's: the publishing is refused and the season keeps no calendar revision.
    const QByteArray before = Contents(real);
    const QString documents = Path(QStringLiteral("dokumenty"));
    ASSERT_TRUE(QDir().mkpath(documents));
    {
        QFile f(QDir(documents).filePath(QStringLiteral("list.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("môj");
    }
    r = Program({QStringLiteral("--publish"), linked, QStringLiteral("-o"), documents});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Contents(real), before);
    r = Program({QStringLiteral("--publish"), linked, QStringLiteral("-o"), Path(QStringLiteral("web"))});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_NE(Contents(real), before);
}

TEST_F(CommandLine, AWithdrawalDayOutsideTheSeasonAndAReturnPartBeforeTheFirstAreRefused)
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 1, 6, 11);
    const QByteArray before = Contents(path);
    const QStringList withdraw = {QStringLiteral("--withdraw"), path, QStringLiteral("--klub"),
                                  QStringLiteral("1")};
    CBeh r = Program(withdraw + QStringList{QStringLiteral("--datum"), QStringLiteral("01-01-1990")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nie je v tejto sezóne"))) << r.err.toStdString();
    r = Program(withdraw + QStringList{QStringLiteral("--datum"), QStringLiteral("01-01-2099")});
    EXPECT_EQ(r.status, 2);
    r = Program(withdraw + QStringList{QStringLiteral("--zrusit"), QStringLiteral("--annul")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Contents(path), before);
    r = Program(withdraw + QStringList{QStringLiteral("--datum"), QStringLiteral("10-01-2025")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    r = Program(withdraw + QStringList{QStringLiteral("--datum"), QStringLiteral("11-01-2025")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("už odstúpil od 1. 10. 2025"))) << r.out.toStdString();

    const QByteArray generated = Contents(path);
    r = Program({QStringLiteral("--generate"), path, QStringLiteral("--sutaz"), QStringLiteral("1"),
                 QStringLiteral("--start"), QStringLiteral("08-01-2026"), QStringLiteral("--return"),
                 QStringLiteral("03-01-2026")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Odvetná časť nemôže začať skôr"))) << r.err.toStdString();
    EXPECT_EQ(Contents(path), generated);
}

TEST_F(CommandLine, ASpreadsheetWithTooManyColumnsIsRefusedNamingItsLine)
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 1, 6, 11);
    const QString csv = Path(QStringLiteral("siroky.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Meno;Priezvisko\r\n");
        QByteArray row = "Ján;Nový";
        for (int i = 0; i < 100000; ++i)
            row += ";x";
        f.write(row + "\r\n");
    }
    const CBeh r = Program(
        {QStringLiteral("--import-players"), path, QStringLiteral("--klub"), QStringLiteral("1"), csv});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Riadok 2: má viac ako 1000 stĺpcov"))) << r.err.toStdString();
}

} // namespace

namespace {

// The README's examples, run as a new user would run them after run.sh made the demo season.
TEST_F(CommandLine, TheReadmesExamplesRunAsWritten)
{
    QFile readme(QStringLiteral(MIRAK_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype marker = text.indexOf(QStringLiteral("<!-- priklady -->"));
    ASSERT_GE(marker, 0);
    const qsizetype start = text.indexOf(QStringLiteral("```sh\n"), marker);
    const qsizetype end = text.indexOf(QStringLiteral("```"), start + 6);
    ASSERT_GT(start, 0);
    ASSERT_GT(end, start);
    const QString script = text.mid(start + 6, end - start - 6);

    // The user's home with the demo season where run.sh puts it, and the program where it is built.
    const QString home = Path(QStringLiteral("domov"));
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/AgendaMirak")));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("build"))));
    ASSERT_TRUE(QFile::link(QStringLiteral(MIRAK_EXECUTABLE), Path(QStringLiteral("build/agenda-mirak"))));
    ASSERT_EQ(
        Program({QStringLiteral("--demo-season"), home + QStringLiteral("/AgendaMirak/ukazkova-sezona.mdb")})
            .status,
        0);
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    shell.setProcessEnvironment(env);
    shell.setWorkingDirectory(m_dir.path());
    shell.start(QStringLiteral("bash"), {QStringLiteral("-e"), QStringLiteral("-c"), script});
    ASSERT_TRUE(shell.waitForFinished(120000));
    EXPECT_EQ(shell.exitCode(), 0) << QString::fromUtf8(shell.readAllStandardError()).toStdString();
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("sutaz 1: "))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("klub "))) << out.toStdString();
    for (const char* file : {"tabulka.html", "vysledky.csv", "rozpis.pdf", "nesmu-hrat.pdf", "web/index.html",
                             "zapasy.ics", "dalsia-sezona.mdb"})
        EXPECT_TRUE(QFileInfo(Path(QString::fromLatin1(file))).size() > 0) << file;
}

TEST_F(CommandLine, OptionsAJobDoesNotUseAreRefusedByNameAndAClubsScheduleIsItsOwn)
{
    const QString path = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 6, 11);
    CBeh r = Program({QStringLiteral("--info"), path, QStringLiteral("-o"), Path(QStringLiteral("x.txt"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Voľba -o sa pri úlohe --info nepoužíva")))
        << r.err.toStdString();
    for (const char* view : {"kluby", "tabulka", "strelci"}) {
        r = Program({QStringLiteral("--export"), QString::fromLatin1(view), path, QStringLiteral("--sutaz"),
                     QStringLiteral("1"), QStringLiteral("--klub"), QStringLiteral("1"), QStringLiteral("-o"),
                     Path(QStringLiteral("x.html"))});
        EXPECT_EQ(r.status, 1) << view;
        EXPECT_TRUE(r.err.contains(QStringLiteral("--klub"))) << r.err.toStdString();
    }
    for (const char* view : {"nominacie", "znamky"}) {
        r = Program({QStringLiteral("--print"), QString::fromLatin1(view), path, QStringLiteral("--sutaz"),
                     QStringLiteral("1"), QStringLiteral("-o"), Path(QStringLiteral("x.pdf"))});
        EXPECT_EQ(r.status, 1) << view;
    }
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("x.html"))));
    // An unknown competition or club names the ones there are.
    r = Program({QStringLiteral("--export"), QStringLiteral("tabulka"), path, QStringLiteral("--sutaz"),
                 QStringLiteral("99"), QStringLiteral("-o"), Path(QStringLiteral("x.html"))});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Súťaže sezóny (--sutaz): 1 "))) << r.err.toStdString();
    r = Program({QStringLiteral("--export"), QStringLiteral("zk"), path, QStringLiteral("--sutaz"),
                 QStringLiteral("1"), QStringLiteral("--klub"), QStringLiteral("999"), QStringLiteral("-o"),
                 Path(QStringLiteral("x.html"))});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Kluby (--klub): "))) << r.err.toStdString();
    // --info names them.
    r = Program({QStringLiteral("--info"), path, QStringLiteral("--sutaz"), QStringLiteral("2")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral("\nklub ")), 6) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("sutaz 1: ")));

    // A club's schedule and results are its own matches alone, its name in the title.
    int club = 0;
    QString name;
    {
        CDatabaza db;
        db.Open(path);
        club = db.Value(QStringLiteral("select min(ID) from tkluby where skupina=1")).toInt();
        name = db.Value(QStringLiteral("select nazov from tkluby where ID=?"), {club}).toString();
    }
    for (const char* view : {"rozpis", "vysledky"}) {
        const QString csv = Path(QStringLiteral("%1.csv").arg(QString::fromLatin1(view)));
        r = Program({QStringLiteral("--export"), QString::fromLatin1(view), path, QStringLiteral("--sutaz"),
                     QStringLiteral("1"), QStringLiteral("--klub"), QString::number(club),
                     QStringLiteral("-o"), csv});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QStringList rows =
            QString::fromUtf8(Contents(csv)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_GT(rows.size(), 1);
        for (const QString& row : rows.mid(1))
            EXPECT_TRUE(row.contains(name)) << row.toStdString();
        const QString pdf = Path(QStringLiteral("%1.pdf").arg(QString::fromLatin1(view)));
        r = Program({QStringLiteral("--print"), QString::fromLatin1(view), path, QStringLiteral("--sutaz"),
                     QStringLiteral("1"), QStringLiteral("--klub"), QString::number(club),
                     QStringLiteral("-o"), pdf});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QString text = PdfText(pdf);
        if (!text.isEmpty()) {
            EXPECT_TRUE(text.contains(name)) << text.left(400).toStdString();
        }
    }
}

} // namespace
