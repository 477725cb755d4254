// The week's publishing: spreadsheets imported all or nothing, and the season's site written whole,
// with every link leading to a page and foreign files kept.

#include "app/publikovanie.h"
#include "app/vystupy.h"
#include "competition/kluby.h"
#include "db/CDatabaza.h"
#include "players/hraci.h"
#include "pomocnik.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class Publishing : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        m_season = NewDemoSeason(QStringLiteral("demo.mdb"), 2, 6, 12);
        ASSERT_TRUE(m_doc.OpenSeasonFile(m_season));
    }
    CDatabaza& Db() { return m_doc.Database(); }
    int Count(const QString& sql, const QVariantList& params = {}) { return Db().Value(sql, params).toInt(); }
    QString m_season;
};

TEST_F(Publishing, AClubListExportedToCsvImportsIntoAnotherCompetitionAndABadRowRefusesTheWholeFile)
{
    CVyber v;
    v.competition = 1;
    const QByteArray csv = Outputs().value(QStringLiteral("kluby")).page(Db(), v)->CsvText();
    const int other = AddCompetition(Db(), QStringLiteral("Nová súťaž"));
    const CVysledokDovozu done = ImportClubs(Db(), other, csv);
    EXPECT_TRUE(done.error.isEmpty()) << done.error.toStdString();
    EXPECT_EQ(done.count, 6);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tkluby where skupina=?"), {other}), 6);
    EXPECT_EQ(
        Count(QStringLiteral("select count(*) from tkluby a, tkluby b where a.skupina=1 and b.skupina=? and "
                             "a.nazov=b.nazov and a.vylosovanie=b.vylosovanie and a.kontakt1=b.kontakt1"),
              {other}),
        6);
    // Twice is refused: the competition has those clubs.
    const CVysledokDovozu again = ImportClubs(Db(), other, csv);
    EXPECT_TRUE(again.error.startsWith(QStringLiteral("Riadok 2: klub"))) << again.error.toStdString();
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tkluby where skupina=?"), {other}), 6);
    // A drawn number that is not a number on line 3: nothing of the file is stored.
    const int third = AddCompetition(Db(), QStringLiteral("Tretia"));
    const CVysledokDovozu bad = ImportClubs(Db(), third, "Los;Názov klubu\r\n1;Slovan\r\nx;Inter\r\n");
    EXPECT_EQ(bad.error, QStringLiteral("Riadok 3: vylosované číslo „x“ nie je celé číslo od 0 vyššie."));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from tkluby where skupina=?"), {third}), 0);
    EXPECT_EQ(ImportClubs(Db(), third, "Los;Kontakt 1\r\n1;x\r\n").count, 0);
}

TEST_F(Publishing, PlayersImportAllOrNothing)
{
    const int club = Db().Value(QStringLiteral("select min(ID) from tkluby where skupina=2")).toInt();
    const int before = Count(QStringLiteral("select count(*) from thraci where IDklubu=?"), {club});
    const auto refused = [&](const QByteArray& file, const QString& error) {
        const CVysledokDovozu r = ImportPlayers(Db(), club, file);
        EXPECT_EQ(r.error, error);
        EXPECT_EQ(Count(QStringLiteral("select count(*) from thraci where IDklubu=?"), {club}), before);
    };
    const QByteArray head = "Meno;Priezvisko;r. č.;Hráč hosťuje do;Zákaz činnosti do\r\n";
    refused(head + "Ján;Nový;;;\r\n;Bez mena;;;\r\n", QStringLiteral("Riadok 3: chýba meno hráča."));
    refused(head + "Ján;;;;\r\n", QStringLiteral("Riadok 2: chýba priezvisko hráča."));
    refused(head + "Ján;Nový;;31.2.2026;\r\n",
            QStringLiteral("Riadok 2: „31.2.2026“ v stĺpci „Hráč hosťuje do“ nie je dátum."));
    refused(head + "Ján;Nový;;;\r\nJÁN;nový;;;\r\n",
            QStringLiteral("Riadok 3: hráč JÁN nový je už na riadku 2."));
    refused(
        "Meno hráča;r. č.\r\nJán Nový;\r\n",
        QStringLiteral("Prvý riadok súboru má meno a priezvisko v jednom stĺpci „Meno hráča“; rozdeľte ho na "
                       "stĺpce „Meno“ a „Priezvisko“."));
    // The club's own export comes back as "already in the club".
    CVyber v;
    v.competition = 2;
    v.club = club;
    const QByteArray own = Outputs().value(QStringLiteral("hraci")).page(Db(), v)->CsvText();
    EXPECT_TRUE(ImportPlayers(Db(), club, own).error.contains(QStringLiteral("už v klube je")));
    // A birth number that is none is refused with its reason.
    refused(
        head + "Ján;Nový;010101/0001;;\r\n",
        QStringLiteral("Riadok 2: Rodné číslo „010101/0001“: nesedí kontrolná číslica (desaťmiestne rodné "
                       "číslo je deliteľné 11)."));
    const CVysledokDovozu ok = ImportPlayers(Db(), club, head + "Ján;Nový;010101/0008;1. 8. 2026;\r\n");
    EXPECT_EQ(ok.count, 1);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from thraci where IDklubu=?"), {club}), before + 1);
}

TEST_F(Publishing, TheSiteIsWrittenWholeEveryLinkLeadsToAPageAndForeignFilesStay)
{
    const QString site = Path(QStringLiteral("web"));
    QDir().mkpath(site + QStringLiteral("/obrazky"));
    QFile logo(site + QStringLiteral("/obrazky/logo.png"));
    ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
    logo.write("PNG");
    logo.close();
    const QVector<CSuborWebu> files = SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc());
    ASSERT_TRUE(PublishSite(files, site, m_season).isEmpty());
    const QDir dir(site);
    EXPECT_TRUE(QFile::exists(site + QStringLiteral("/obrazky/logo.png")));
    EXPECT_TRUE(QFile::exists(site + QStringLiteral("/index.html")));
    // Every link of every page names a file of the site.
    static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)\""));
    int links = 0;
    for (const QString& page : dir.entryList({QStringLiteral("*.html")})) {
        QFile f(dir.filePath(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromLatin1(f.readAll());
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(dir.exists(target)) << page.toStdString() << " -> " << target.toStdString();
            ++links;
        }
    }
    EXPECT_GT(links, 100);
    // A published list is its export with the line of links.
    CVyber v;
    v.competition = 1;
    const QByteArray exported = Outputs().value(QStringLiteral("tabulka")).page(Db(), v)->CopyText();
    QFile standings(dir.filePath(QStringLiteral("sutaz-1-tabulka.html")));
    ASSERT_TRUE(standings.open(QIODevice::ReadOnly));
    QByteArray published = standings.readAll();
    const qsizetype nav = published.indexOf("<div>\r\n<p>") + 7;
    published.remove(nav, published.indexOf("</p>\r\n", nav) + 6 - nav);
    EXPECT_EQ(published, exported);

    // A file of the site's name that the program did not write is not overwritten; nothing changes.
    QFile::remove(dir.filePath(kZoznamWebu));
    EXPECT_TRUE(PublishSite(files, site, m_season).contains(QStringLiteral("nezapísal tento program")));
    EXPECT_TRUE(QFile::exists(site + QStringLiteral("/index.html")));
    // A folder with a season in it is not a site's folder.
    const QString beside = Path(QStringLiteral("sezony"));
    QDir().mkpath(beside);
    QFile::copy(m_season, beside + QStringLiteral("/stara.mdb"));
    EXPECT_TRUE(PublishSite(files, beside, m_season).contains(QStringLiteral("databáza")));
    EXPECT_EQ(QDir(beside).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(
        QDir(Path(QString())).entryList({QStringLiteral(".*.tmp")}, QDir::AllEntries | QDir::Hidden).size(),
        0);
}

} // namespace
