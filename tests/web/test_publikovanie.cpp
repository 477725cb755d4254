// The week's publishing: spreadsheets imported all or nothing and exported one match per row, and the
// season's site as its readers use it on phones, its calendars, and the folder it goes into.

#include "cli/vystupy.h"
#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/nastaveniasezony.h"
#include "discipline/nesmuhrat.h"
#include "output/csv.h"
#include "players/hraci.h"
#include "pomocnik.h"
#include "results/tabulka.h"
#include "results/vysledky.h"
#include "web/sajt.h"
#include "web/stranka.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

class Publishing : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        m_season = OpenSmallDemo();
        ASSERT_FALSE(m_season.isEmpty());
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
    // A name longer than the register keeps, a name over two lines, a header pasted in twice, a file of
    // two encodings: refused by line, nothing stored.
    refused(head + "Ján;" + QByteArray(300, 'x') + ";;;\r\n",
            QStringLiteral("Riadok 2: text v stĺpci „Priezvisko“ má 300 znakov, uloží sa ich najviac 255."));
    refused(head + "\"Ján\nPeter\";Nový;;;\r\n",
            QStringLiteral("Riadok 2: text v stĺpci „Meno“ má viac riadkov; patrí doň jeden."));
    EXPECT_TRUE(ImportPlayers(Db(), club, head + "Ján;Nový;;;\r\n" + head + "Eva;Stará;;;\r\n")
                    .error.startsWith(QStringLiteral("Riadok 3: opakuje sa hlavička")));
    EXPECT_TRUE(ImportPlayers(Db(), club,
                              head + QStringLiteral("Ľuboš;Nový;;;\r\n").toUtf8() + "J\xE1n;Star\xFD;;;\r\n")
                    .error.startsWith(QStringLiteral("Riadok 3: text nie je v kódovaní UTF-8")));
    EXPECT_EQ(Count(QStringLiteral("select count(*) from thraci where IDklubu=?"), {club}), before);
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

// Every page of the site, by name.
QHash<QString, QString> Pages(const QVector<CSuborWebu>& files)
{
    QHash<QString, QString> pages;
    for (const CSuborWebu& f : files)
        if (f.name.endsWith(QStringLiteral(".html")))
            pages.insert(f.name, QString::fromUtf8(f.bytes));
    return pages;
}

QByteArray FileOf(const QVector<CSuborWebu>& files, const QString& name)
{
    for (const CSuborWebu& f : files)
        if (f.name == name)
            return f.bytes;
    return {};
}

// The events of a calendar: UID -> the event's lines.
QHash<QString, QStringList> Events(const QByteArray& ics)
{
    QHash<QString, QStringList> events;
    const QString text = QString::fromUtf8(ics).replace(QStringLiteral("\r\n "), QString());
    for (const QString& block : text.split(QStringLiteral("BEGIN:VEVENT\r\n")).mid(1)) {
        const QStringList lines = block.left(block.indexOf(QStringLiteral("END:VEVENT")))
                                      .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (const QString& l : lines)
            if (l.startsWith(QStringLiteral("UID:")))
                events.insert(l.mid(4), lines);
    }
    return events;
}

QString Property(const QStringList& event, const QString& name)
{
    for (const QString& l : event)
        if (l.startsWith(name + QLatin1Char(':')))
            return l.mid(name.size() + 1);
    return {};
}

TEST_F(Publishing, EveryPageIsUtf8ForPhonesWithTheSiteNavigationAndEveryLinkLeadsSomewhere)
{
    const QVector<CSuborWebu> files = SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc());
    const QHash<QString, QString> pages = Pages(files);
    ASSERT_GT(pages.size(), 20);
    QSet<QString> names;
    for (const CSuborWebu& f : files)
        names.insert(f.name);
    EXPECT_TRUE(names.contains(kStylWebu));
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    static const QRegularExpression th(QStringLiteral("<th(?=[ >])(?![^>]*scope=)"));
    int links = 0;
    for (auto p = pages.constBegin(); p != pages.constEnd(); ++p) {
        const std::string page = p.key().toStdString();
        const QString& html = p.value();
        // Standards mode, UTF-8 said in the page itself, a phone's width, one style sheet, no scripts.
        EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"sk\">"))) << page;
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << page;
        EXPECT_TRUE(html.contains(
            QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">")))
            << page;
        EXPECT_EQ(html.count(QStringLiteral("<link ")), 1) << page;
        EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive)) << page;
        EXPECT_FALSE(html.contains(QStringLiteral("src="))) << page;
        EXPECT_FALSE(th.match(html).hasMatch()) << page;
        EXPECT_EQ(QString::fromUtf8(html.toUtf8()), html);
        EXPECT_TRUE(html.contains(QStringLiteral("<nav><ul><li class=\"cesta\"><a href=\"index.html\">")))
            << page;
        EXPECT_TRUE(html.contains(
            QRegularExpression(QStringLiteral("Aktualizované \\d{1,2}\\. \\d{1,2}\\. \\d{4} \\d\\d:\\d\\d"))))
            << page;
        EXPECT_LT(html.toUtf8().size(), 1024 * 1024) << page;
        // A link names a file of the site, and its anchor is on that page.
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            if (link == kStylWebu)
                continue;
            const QString file = link.section(QLatin1Char('#'), 0, 0);
            const QString anchor = link.section(QLatin1Char('#'), 1);
            EXPECT_TRUE(names.contains(file.isEmpty() ? p.key() : file))
                << page << " -> " << link.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(pages.value(file.isEmpty() ? p.key() : file)
                                .contains(QStringLiteral("id=\"%1\"").arg(anchor)))
                    << page << " -> " << link.toStdString();
            }
            ++links;
        }
    }
    EXPECT_GT(links, 300);
    // Every club, every official and every competition's lists have their pages.
    for (const char* table : {"tkluby", "trozhodci"}) {
        CPrikaz q(Db(), QStringLiteral("select ID from %1").arg(QLatin1String(table)));
        while (q.Step())
            EXPECT_TRUE(pages.contains(
                QStringLiteral("%1-%2.html")
                    .arg(QLatin1String(table) == QStringLiteral("tkluby") ? "klub" : "rozhodca")
                    .arg(q.Int64(0))));
    }
    for (const char* list : {"tabulka", "vysledky", "rozpis", "strelci", "nesmu-hrat", "kluby", "zk", "ck"})
        EXPECT_TRUE(pages.contains(QStringLiteral("sutaz-2-%1.html").arg(QLatin1String(list)))) << list;
}

TEST_F(Publishing, EveryClubNameLeadsToTheClubsPageAndTheSeasonsClubsAreOnePageInSlovakOrder)
{
    // Two clubs whose order only the Slovak alphabet tells (ch after h, č after c).
    Db().Execute(
        QStringLiteral("update tkluby set nazov='Chrenovec' where ID=(select min(ID) from tkluby where "
                       "skupina=1)"));
    Db().Execute(QStringLiteral("update tkluby set nazov='Čadca' where ID=(select max(ID) from tkluby where "
                                "skupina=2)"));
    const QHash<QString, QString> pages =
        Pages(SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc()));
    QHash<int, QString> clubs;
    CPrikaz q(Db(), QStringLiteral("select ID, nazov from tkluby"));
    while (q.Step())
        clubs.insert(static_cast<int>(q.Int64(0)), q.Text(1));
    ASSERT_GT(clubs.size(), 10);
    int linked = 0;
    for (auto p = pages.constBegin(); p != pages.constEnd(); ++p) {
        const QString& html = p.value();
        EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"kluby.html\">Všetky kluby</a>")) ||
                    p.key() == QStringLiteral("kluby.html"))
            << p.key().toStdString();
        for (auto c = clubs.constBegin(); c != clubs.constEnd(); ++c) {
            const QString name = CStrankaWebu::Escape(c.value());
            // A cell, a caption or a group's heading that names a club is its link.
            for (const QString& bare :
                 {QStringLiteral("<td>%1<").arg(name), QStringLiteral("<caption>%1<").arg(name),
                  QStringLiteral("class=\"skupina\">%1<").arg(name)})
                EXPECT_FALSE(html.contains(bare)) << p.key().toStdString() << " " << bare.toStdString();
            linked += static_cast<int>(
                html.count(QStringLiteral("<a href=\"klub-%1.html\">%2</a>").arg(c.key()).arg(name)));
        }
    }
    EXPECT_GT(linked, 1000);
    // Nor within a cell's text (a match "Domáci – Hostia" is two links).
    static const QRegularExpression link(QStringLiteral("<a [^>]*>[^<]*</a>"));
    for (auto p = pages.constBegin(); p != pages.constEnd(); ++p) {
        const QString text = QString(p.value()).remove(link);
        for (const QString& cell : text.split(QStringLiteral("<td")).mid(1))
            for (const QString& name : std::as_const(clubs))
                EXPECT_FALSE(
                    cell.left(cell.indexOf(QStringLiteral("<t"))).contains(CStrankaWebu::Escape(name)))
                    << p.key().toStdString() << " " << cell.left(120).toStdString();
    }
    // The season's clubs: every one, in Slovak order, each with its competition.
    const QString all = pages.value(QStringLiteral("kluby.html"));
    QVector<qsizetype> at;
    for (auto c = clubs.constBegin(); c != clubs.constEnd(); ++c) {
        EXPECT_EQ(all.count(QStringLiteral("href=\"klub-%1.html\"").arg(c.key())), 1)
            << c.value().toStdString();
    }
    const qsizetype c = all.indexOf(QStringLiteral(">Čadca<")),
                    h = all.indexOf(QStringLiteral(">Chrenovec<"));
    ASSERT_GE(c, 0);
    ASSERT_GE(h, 0);
    EXPECT_LT(c, h);
    EXPECT_TRUE(all.contains(QStringLiteral("<a href=\"sutaz-2-tabulka.html\">")));
}

TEST_F(Publishing, AMatchPostponedWithoutADayIsNeverNextAndItsEventIsCancelledUntilItHasADayAgain)
{
    Db().Execute(QStringLiteral("update tzapasy set body1=?, body2=? where skupina=1 and kolo>=5"),
                 {kBezVysledku, kBezVysledku});
    const QString noDay = DatumNaUlozenie(ZiadnyDatum());
    const auto matchOf = [&](int round) {
        return Db()
            .Value(QStringLiteral(
                       "select min(ID) from tzapasy where skupina=1 and kolo=? and klub1<>0 and klub2<>0"),
                   {round})
            .toInt();
    };
    const int match = matchOf(5);
    const int home = Db().Value(QStringLiteral("select klub1 from tzapasy where ID=?"), {match}).toInt();
    // A match of round 6 has no day before its calendars ever had it: it is in none.
    const int never = matchOf(6);
    Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {noDay, never});
    const QDateTime first(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
    const auto uidOf = [](const QHash<QString, QStringList>& events, int id) {
        for (auto it = events.constBegin(); it != events.constEnd(); ++it)
            if (it.key().endsWith(QStringLiteral("-%1").arg(id)))
                return it.key();
        return QString();
    };
    QVector<CSuborWebu> files = SiteFiles(Db(), m_doc.StopRounds(), first);
    const QHash<QString, QStringList> before = Events(FileOf(files, QStringLiteral("sutaz-1.ics")));
    const QString uid = uidOf(before, match);
    ASSERT_FALSE(uid.isEmpty());
    EXPECT_TRUE(uidOf(before, never).isEmpty());
    const QString start = Property(before.value(uid), QStringLiteral("DTSTART"));
    ASSERT_FALSE(start.isEmpty());
    EXPECT_TRUE(Pages(files)
                    .value(QStringLiteral("sutaz-1-rozpis.html"))
                    .contains(QStringLiteral("odložený, termín neurčený")));

    // Postponed without a new day: the same event where it was, cancelled, its revision raised; the site
    // says so and the home club's next match is its next one with a day.
    Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {noDay, match});
    files = SiteFiles(Db(), m_doc.StopRounds(), first.addDays(7));
    for (const QString& calendar : {QStringLiteral("sutaz-1.ics"), QStringLiteral("klub-%1.ics").arg(home)}) {
        const QStringList e = Events(FileOf(files, calendar)).value(uid);
        EXPECT_EQ(Property(e, QStringLiteral("STATUS")), QStringLiteral("CANCELLED"))
            << calendar.toStdString();
        EXPECT_EQ(Property(e, QStringLiteral("SEQUENCE")), QStringLiteral("1")) << calendar.toStdString();
        EXPECT_EQ(Property(e, QStringLiteral("DTSTART")), start) << calendar.toStdString();
    }
    QHash<QString, QString> pages = Pages(files);
    const QString clubPage = pages.value(QStringLiteral("klub-%1.html").arg(home));
    EXPECT_FALSE(clubPage.contains(QStringLiteral("<b>Najbližší zápas:</b> 5. kolo")));
    EXPECT_TRUE(clubPage.contains(QStringLiteral("<b>Najbližší zápas:</b> 6. kolo")) ||
                clubPage.contains(QStringLiteral("<b>Najbližší zápas:</b> 7. kolo")));
    EXPECT_LT(clubPage.indexOf(QStringLiteral("Nasledujúce zápasy")),
              clubPage.indexOf(QStringLiteral("odložený, termín neurčený")));
    EXPECT_LT(clubPage.indexOf(QStringLiteral("odložený, termín neurčený")),
              clubPage.indexOf(QStringLiteral("Odohrané zápasy")));
    EXPECT_TRUE(pages.value(QStringLiteral("sutaz-1-rozpis.html"))
                    .contains(QStringLiteral("odložený, termín neurčený")));
    // Published again: nothing more to revise.
    EXPECT_EQ(Property(Events(FileOf(SiteFiles(Db(), m_doc.StopRounds(), first.addDays(8)),
                                     QStringLiteral("sutaz-1.ics")))
                           .value(uid),
                       QStringLiteral("SEQUENCE")),
              QStringLiteral("1"));

    // A new day: the same event, standing again, revised once more.
    Db().Execute(QStringLiteral("update tzapasy set cas='2026-05-20 17:00:00' where ID=?"), {match});
    const QStringList back =
        Events(FileOf(SiteFiles(Db(), m_doc.StopRounds(), first.addDays(14)), QStringLiteral("sutaz-1.ics")))
            .value(uid);
    EXPECT_EQ(Property(back, QStringLiteral("STATUS")), QStringLiteral("CONFIRMED"));
    EXPECT_EQ(Property(back, QStringLiteral("SEQUENCE")), QStringLiteral("2"));
    EXPECT_EQ(Property(back, QStringLiteral("DTSTART")), QStringLiteral("20260520T150000Z"));

    // Every match of a round without a day: the round is not next, nor is any of its matches.
    Db().Execute(QStringLiteral("update tzapasy set cas=? where skupina=1 and kolo=5"), {noDay});
    pages = Pages(SiteFiles(Db(), m_doc.StopRounds(), first.addDays(15)));
    EXPECT_FALSE(
        pages.value(QStringLiteral("index.html")).contains(QStringLiteral("Najbližšie kolo: 5. kolo")));
    EXPECT_TRUE(
        pages.value(QStringLiteral("sutaz-1-rozpis.html")).contains(QStringLiteral("termín neurčený")));
}

TEST_F(Publishing, ReadersFindTheNextRoundTheSanctionsAClubsPlaceAndNoPrivateData)
{
    // Round 5 of the first competition is still to be played.
    Db().Execute(QStringLiteral("update tzapasy set body1=?, body2=? where skupina=1 and kolo>=5"),
                 {kBezVysledku, kBezVysledku});
    Db().Execute(QStringLiteral(
        "update tbody set btrest=3, trest='DK 10/2025' where skupina=1 and IDklubu=(select min(ID) from "
        "tkluby where skupina=1)"));
    Db().Execute(QStringLiteral("update tkluby set kontakt1='0905 111 222' where skupina=1"));
    const QString club =
        Db().Value(QStringLiteral("select nazov from tkluby where skupina=1 order by ID limit 1")).toString();
    const int clubId = Db().Value(QStringLiteral("select min(ID) from tkluby where skupina=1")).toInt();
    QVector<CSuborWebu> files = SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc());
    QHash<QString, QString> pages = Pages(files);

    // The next round first: on the first page above the last results, on the fixtures page before the
    // rounds played.
    const QString index = pages.value(QStringLiteral("index.html"));
    const qsizetype next = index.indexOf(QStringLiteral("<caption>Najbližšie kolo: 5. kolo</caption>"));
    EXPECT_GE(next, 0);
    EXPECT_GT(index.indexOf(QStringLiteral("<caption>Výsledky 4. kola</caption>")), next);
    const QString fixtures = pages.value(QStringLiteral("sutaz-1-rozpis.html"));
    const qsizetype round5 = fixtures.indexOf(QStringLiteral("id=\"kolo-5\""));
    EXPECT_GE(round5, 0);
    EXPECT_LT(round5, fixtures.indexOf(QStringLiteral("Odohrané kolá")));
    EXPECT_LT(fixtures.indexOf(QStringLiteral("Odohrané kolá")),
              fixtures.indexOf(QStringLiteral("id=\"kolo-1\"")));
    EXPECT_TRUE(pages.value(QStringLiteral("sutaz-1-vysledky.html"))
                    .contains(QStringLiteral("<a href=\"#kolo-4\">")));
    EXPECT_TRUE(pages.value(QStringLiteral("sutaz-1-tabulka.html"))
                    .contains(QStringLiteral("<li><a href=\"klub-%1.html\">%2</a>: −3 b. (DK 10/2025)</li>")
                                  .arg(clubId)
                                  .arg(CStrankaWebu::Escape(club))));
    const QString clubPage = pages.value(QStringLiteral("klub-%1.html").arg(clubId));
    EXPECT_TRUE(clubPage.contains(QStringLiteral("<b>Najbližší zápas:</b> 5. kolo")));
    EXPECT_TRUE(clubPage.contains(QStringLiteral("<b>V tabuľke:</b> ")));
    EXPECT_LT(clubPage.indexOf(QStringLiteral("Najbližší zápas")),
              clubPage.indexOf(QStringLiteral("<table")));
    EXPECT_TRUE(pages.value(QStringLiteral("sutaz-1-nesmu-hrat.html")).contains(QStringLiteral("5. kolo")));
    // Birth numbers nowhere; contacts only when the season says so.
    CPrikaz rc(Db(), QStringLiteral("select RC from thraci where length(trim(RC))>4 union select RC from "
                                    "trozhodci where length(trim(RC))>4"));
    QStringList numbers;
    while (rc.Step())
        numbers << rc.Text(0);
    ASSERT_FALSE(numbers.isEmpty());
    for (const CSuborWebu& f : files)
        for (const QString& n : numbers)
            ASSERT_FALSE(f.bytes.contains(n.toUtf8())) << f.name.toStdString() << " " << n.toStdString();
    EXPECT_FALSE(pages.value(QStringLiteral("sutaz-1-kluby.html")).contains(QStringLiteral("0905 111 222")));
    SetPublishClubContacts(Db(), true);
    pages = Pages(SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc()));
    EXPECT_TRUE(pages.value(QStringLiteral("sutaz-1-kluby.html")).contains(QStringLiteral("0905 111 222")));

    // Officials by their full names, each with his own page; the nominations by month.
    CPrikaz o(Db(), QStringLiteral("select trozhodci.ID, meno, priezvisko from trozhodci join tnominacie on "
                                   "tnominacie.IDrozhodcu=trozhodci.ID limit 1"));
    ASSERT_TRUE(o.Step());
    const QString name = QStringLiteral("%1 %2").arg(o.Text(1), o.Text(2));
    EXPECT_TRUE(pages.value(QStringLiteral("rozhodca-%1.html").arg(o.Int64(0)))
                    .contains(QStringLiteral("<h1>%1</h1>").arg(name)));
    EXPECT_TRUE(
        pages.value(QStringLiteral("nominacie.html")).contains(QStringLiteral("href=\"nominacie-20")));
}

TEST_F(Publishing, ACalendarEventKeepsItsUidAndCountsItsRevisionsOnlyWhenWhatItShowsChanges)
{
    const int match =
        Db().Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and klub1<>0 and klub2<>0"))
            .toInt();
    const auto home = Db().Value(QStringLiteral("select klub1 from tzapasy where ID=?"), {match}).toInt();
    const QDateTime first(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
    const QVector<CSuborWebu> before = SiteFiles(Db(), m_doc.StopRounds(), first);
    const QHash<QString, QStringList> events = Events(FileOf(before, QStringLiteral("sutaz-1.ics")));
    ASSERT_GT(events.size(), 10);
    QString uid;
    for (auto it = events.constBegin(); it != events.constEnd(); ++it)
        if (it.key().endsWith(QStringLiteral("-%1").arg(match)))
            uid = it.key();
    ASSERT_FALSE(uid.isEmpty());
    for (const QStringList& e : events)
        EXPECT_TRUE(Property(e, QStringLiteral("SEQUENCE")).isEmpty());

    // Published again unchanged: the same events, no revision.
    const QDateTime second = first.addDays(7);
    QHash<QString, QStringList> again =
        Events(FileOf(SiteFiles(Db(), m_doc.StopRounds(), second), QStringLiteral("sutaz-1.ics")));
    EXPECT_EQ(QSet<QString>(again.keyBegin(), again.keyEnd()),
              QSet<QString>(events.keyBegin(), events.keyEnd()));
    EXPECT_TRUE(Property(again.value(uid), QStringLiteral("SEQUENCE")).isEmpty());
    // Its stamp is its revision's time: the calendar republished unchanged is the same file.
    EXPECT_EQ(Property(again.value(uid), QStringLiteral("DTSTAMP")), QStringLiteral("20260301T100000Z"));
    EXPECT_EQ(FileOf(SiteFiles(Db(), m_doc.StopRounds(), second.addDays(1)), QStringLiteral("sutaz-1.ics")),
              FileOf(SiteFiles(Db(), m_doc.StopRounds(), second), QStringLiteral("sutaz-1.ics")));

    // The kick-off moves and the home club is renamed: the same UID, revision 1 then 2, with the time of
    // each change; other clubs' matches are as they were.
    Db().Execute(QStringLiteral("update tzapasy set cas='2026-04-04 17:30:00' where ID=?"), {match});
    SetSiteAddress(Db(), QStringLiteral("https://www.obfz.sk/web/"));
    const QDateTime third = second.addDays(7);
    const QVector<CSuborWebu> moved = SiteFiles(Db(), m_doc.StopRounds(), third);
    again = Events(FileOf(moved, QStringLiteral("sutaz-1.ics")));
    EXPECT_EQ(Property(again.value(uid), QStringLiteral("SEQUENCE")), QStringLiteral("1"));
    EXPECT_EQ(Property(again.value(uid), QStringLiteral("LAST-MODIFIED")),
              QStringLiteral("20260315T100000Z"));
    // 17:30 in Bratislava on a summer-time day.
    EXPECT_EQ(Property(again.value(uid), QStringLiteral("DTSTART")), QStringLiteral("20260404T153000Z"));
    EXPECT_EQ(Property(again.value(uid), QStringLiteral("URL")),
              QStringLiteral("https://www.obfz.sk/web/sutaz-1-rozpis.html#kolo-1"));
    // The club's calendar and the officials' say the same revision of the same match.
    const QStringList own = Events(FileOf(moved, QStringLiteral("klub-%1.ics").arg(home))).value(uid);
    EXPECT_EQ(Property(own, QStringLiteral("SEQUENCE")), QStringLiteral("1"));
    EXPECT_EQ(Property(own, QStringLiteral("URL")),
              QStringLiteral("https://www.obfz.sk/web/klub-%1.html").arg(home));
    const int official =
        Db().Value(QStringLiteral("select IDrozhodcu from tnominacie where IDzapasu=?"), {match}).toInt();
    ASSERT_NE(official, 0);
    EXPECT_EQ(Property(Events(FileOf(moved, QStringLiteral("rozhodca-%1.ics").arg(official))).value(uid),
                       QStringLiteral("SEQUENCE")),
              QStringLiteral("1"));
    int revised = 0;
    for (const QStringList& e : again)
        revised += Property(e, QStringLiteral("SEQUENCE")).isEmpty() ? 0 : 1;
    EXPECT_EQ(revised, 1);
    EXPECT_TRUE(Pages(moved)
                    .value(QStringLiteral("index.html"))
                    .contains(QStringLiteral("href=\"webcal://www.obfz.sk/web/sutaz-1.ics\"")));

    Db().Execute(QStringLiteral("update tkluby set nazov='Premenovaný klub' where ID=?"), {home});
    again =
        Events(FileOf(SiteFiles(Db(), m_doc.StopRounds(), third.addDays(1)), QStringLiteral("sutaz-1.ics")));
    EXPECT_EQ(Property(again.value(uid), QStringLiteral("SEQUENCE")), QStringLiteral("2"));
    EXPECT_TRUE(Property(again.value(uid), QStringLiteral("SUMMARY"))
                    .startsWith(QStringLiteral("Premenovaný klub – ")));
    // Written in the season: another session sees the same revisions.
    EXPECT_EQ(Db().Value(QStringLiteral("select sekvencia from tkalendar where IDzapasu=?"), {match}).toInt(),
              2);
    EXPECT_TRUE(SetSiteAddress(Db(), QStringLiteral("www.obfz.sk")).contains(QStringLiteral("https://")));
    EXPECT_EQ(SiteAddress(Db()), QStringLiteral("https://www.obfz.sk/web"));
}

TEST_F(Publishing, FixturesAndResultsGoToASpreadsheetOneMatchPerRowWithNumbersAndIsoDates)
{
    const int match =
        Db().Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and klub1<>0 and klub2<>0"))
            .toInt();
    Db().Execute(QStringLiteral("update tzapasy set body1=?, body2=3, polcas1=?, polcas2=?, cas='2025-08-09 "
                                "17:00:00' where ID=?"),
                 {kKontumacia, kBezVysledku, kBezVysledku, match});
    for (const char* list : {"rozpis", "vysledky"}) {
        CVyber v;
        v.competition = 1;
        const CCsvSubor csv = ReadCsv(Outputs().value(QLatin1String(list)).page(Db(), v)->CsvText());
        ASSERT_TRUE(csv.error.isEmpty());
        EXPECT_EQ(csv.rows.first().cells, kStlpceZapasovCsv) << list;
        const int matches =
            Db().Value(QStringLiteral("select count(*) from tzapasy where skupina=1")).toInt();
        EXPECT_EQ(csv.rows.size(), matches + 1) << list;
        bool forfeit = false;
        for (const CRiadokCsv& r : csv.rows.mid(1)) {
            ASSERT_EQ(r.cells.size(), kStlpceZapasovCsv.size());
            EXPECT_TRUE(r.cells.at(0).toInt() > 0);
            EXPECT_TRUE(r.cells.at(1).isEmpty() || QDate::fromString(r.cells.at(1), Qt::ISODate).isValid())
                << r.cells.at(1).toStdString();
            for (int c : {5, 6})
                EXPECT_TRUE(r.cells.at(c).isEmpty() || r.cells.at(c) == kKontumaciaText ||
                            r.cells.at(c).toInt() >= 0);
            EXPECT_TRUE(r.cells.at(7).isEmpty() || r.cells.at(7).contains(QChar(0x2013)))
                << r.cells.at(7).toStdString();
            forfeit = forfeit ||
                      (r.cells.at(1) == QStringLiteral("2025-08-09") && r.cells.at(5) == kKontumaciaText &&
                       r.cells.at(6) == QStringLiteral("3") && r.cells.at(7).isEmpty());
        }
        EXPECT_TRUE(forfeit) << list;
    }
    // No list's spreadsheet holds a score a spreadsheet would read as a time of day.
    static const QRegularExpression pair(QStringLiteral("(^|;)\"?\\(?\\d+ ?: ?\\d+\\)?\"?(;|\r)"));
    for (auto it = Outputs().constBegin(); it != Outputs().constEnd(); ++it) {
        if (!it->page)
            continue;
        CVyber v;
        v.competition = 1;
        v.round = it->usesRound ? 1 : kVsetkyKola;
        const std::optional<CMyExport> page = it->page(Db(), v);
        if (!page)
            continue;
        const QString text = QString::fromUtf8(page->CsvText());
        // Times of day ("17:00") are times.
        EXPECT_FALSE(QString(text)
                         .remove(QRegularExpression(QStringLiteral("(^|;)\\d\\d:\\d\\d(?=;|\r)")))
                         .contains(pair))
            << it.key().toStdString();
    }
    CVyber v;
    v.competition = 1;
    const CCsvSubor standings = ReadCsv(Outputs().value(QStringLiteral("tabulka")).page(Db(), v)->CsvText());
    EXPECT_EQ(standings.rows.first().cells.mid(6, 2),
              (QStringList{QStringLiteral("Strelené góly"), QStringLiteral("Inkasované góly")}));
}

TEST_F(Publishing, TheSiteGoesIntoItsOwnFolderOnlyAndLeavesEverythingElseThereAsItWas)
{
    const QVector<CSuborWebu> files = SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc());
    // A typed name of a folder that is not there yet is made.
    const QString site = Path(QStringLiteral("verejne/web"));
    ASSERT_TRUE(PublishSite(files, site, m_season).isEmpty());
    const QDir dir(site);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("index.html"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(kZoznamWebu)));

    // The site's own pictures, a folder with its own mode, a page's mode: kept as they are, not copied.
    QDir().mkpath(dir.filePath(QStringLiteral("obrazky")));
    QFile logo(dir.filePath(QStringLiteral("obrazky/logo.png")));
    ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
    logo.write("PNG");
    logo.close();
    QFile::setPermissions(dir.filePath(QStringLiteral("obrazky")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    QFile::setPermissions(site, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(dir.filePath(QStringLiteral("index.html")), readable);
    const qint64 logoInode =
        QFileInfo(dir.filePath(QStringLiteral("obrazky/logo.png"))).metadataChangeTime().toMSecsSinceEpoch();
    // A page of the last publishing that this one does not have goes.
    QFile manifest(dir.filePath(kZoznamWebu));
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write("klub-999.html\n");
    manifest.close();
    QFile gone(dir.filePath(QStringLiteral("klub-999.html")));
    ASSERT_TRUE(gone.open(QIODevice::WriteOnly));
    gone.close();

    QVector<CSuborWebu> next = files;
    next[0].bytes += "<!-- znova -->";
    ASSERT_EQ(next[0].name, QStringLiteral("index.html"));
    ASSERT_TRUE(PublishSite(next, site, m_season).isEmpty());
    QFile index(dir.filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    EXPECT_TRUE(index.readAll().endsWith("<!-- znova -->"));
    const QFileDevice::Permissions mode =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
        QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
        QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(dir.filePath(QStringLiteral("index.html"))) & mode, readable);
    EXPECT_EQ(QFile::permissions(site) & mode, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                   QFileDevice::ExeGroup);
    EXPECT_EQ(
        QFileInfo(dir.filePath(QStringLiteral("obrazky/logo.png"))).metadataChangeTime().toMSecsSinceEpoch(),
        logoInode);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("obrazky/logo.png"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("klub-999.html"))));
    EXPECT_EQ(dir.entryList({QStringLiteral(".*.tmp")}, QDir::AllEntries | QDir::Hidden).size(), 0);

    // Refused, and nothing changed: a folder with other things and no site in it, a page of the site's
    // name the program did not write, a season or another database in the folder, the season's folder.
    const QString documents = Path(QStringLiteral("dokumenty"));
    QDir().mkpath(documents);
    QFile letter(documents + QStringLiteral("/list.txt"));
    ASSERT_TRUE(letter.open(QIODevice::WriteOnly));
    letter.close();
    EXPECT_TRUE(PublishSite(files, documents, m_season).contains(QStringLiteral("nie je prázdny")));
    EXPECT_EQ(QDir(documents).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("list.txt")});

    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    const QByteArray names = manifest.readAll();
    manifest.close();
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write(QString::fromUtf8(names)
                       .remove(QRegularExpression(QStringLiteral("(^|\\n)rozhodcovia\\.html[^\\n]*")))
                       .toUtf8());
    manifest.close();
    EXPECT_TRUE(PublishSite(next, site, m_season).contains(QStringLiteral("nezapísal tento program")));

    const QString withSeason = Path(QStringLiteral("sezony"));
    QDir().mkpath(withSeason + QStringLiteral("/stare"));
    QFile::copy(m_season, withSeason + QStringLiteral("/stare/2019.mdb"));
    EXPECT_TRUE(PublishSite(files, withSeason, m_season).contains(QStringLiteral("nie je prázdny")));
    ASSERT_TRUE(manifest.open(QIODevice::WriteOnly));
    manifest.write(names);
    manifest.close();
    QFile::copy(m_season, dir.filePath(QStringLiteral("obrazky/kopia.mdb")));
    EXPECT_TRUE(PublishSite(files, site, m_season).contains(QStringLiteral("databáza")));
    EXPECT_TRUE(PublishSite(files, Path(QString()), m_season)
                    .contains(QStringLiteral("sezóna, z ktorej sa web robí")));
    EXPECT_EQ(
        QDir(Path(QString())).entryList({QStringLiteral(".*.tmp")}, QDir::AllEntries | QDir::Hidden).size(),
        0);
}

TEST_F(Publishing, ARepublishWritesOnlyWhatChangedAndLeavesAPageSomebodyEditedAlone)
{
    const QString site = Path(QStringLiteral("web"));
    const QDateTime first(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
    QStringList left;
    int written = 0;
    ASSERT_TRUE(PublishSeason(Db(), m_doc.StopRounds(), site, m_season, first, {}, nullptr, &left, &written)
                    .isEmpty());
    const QDir dir(site);
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_GT(written, 50);
    EXPECT_EQ(written, files.size());
    // Every file dated back, so that any file written again shows.
    const QDateTime old(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const auto rewritten = [&] {
        QStringList names;
        for (const QString& name : dir.entryList(QDir::Files))
            if (QFileInfo(dir.filePath(name)).lastModified().toUTC() != old)
                names << name;
        return names;
    };
    const auto page = [&](const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };

    // A week later, nothing changed: nothing is written, the pages keep the day they last changed.
    ASSERT_TRUE(PublishSeason(Db(), m_doc.StopRounds(), site, m_season, first.addDays(7), {}, nullptr, &left,
                              &written)
                    .isEmpty());
    EXPECT_EQ(written, 0);
    EXPECT_EQ(rewritten(), QStringList());
    EXPECT_TRUE(page(QStringLiteral("index.html")).contains(UpdatedText(first)));

    // One result, published the same day: only the pages and calendars that show it are written, with
    // the new time. (Pages that list what is upcoming change with the day itself.)
    const int match =
        Db().Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and klub1<>0 and klub2<>0"))
            .toInt();
    EnterResult(Db(), 1, match, {QStringLiteral("3"), QStringLiteral("1"), {}, {}, {}}, kDomaci);
    const QDateTime third = first.addDays(7).addSecs(3600);
    ASSERT_TRUE(PublishSeason(Db(), m_doc.StopRounds(), site, m_season, third, {}, nullptr, &left, &written)
                    .isEmpty());
    const QStringList changed = rewritten();
    RecordProperty("zapisane_po_jednom_vysledku", static_cast<int>(changed.size()));
    EXPECT_GT(written, 0);
    // The competition's results, standings and calendar, the two clubs' and the match officials'
    // calendars, and the pages of the clubs whose place moved: 13 of 75.
    EXPECT_LE(changed.size(), 16) << changed.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(changed.contains(QStringLiteral("sutaz-1-vysledky.html")));
    EXPECT_TRUE(changed.contains(QStringLiteral("sutaz-1-tabulka.html")));
    EXPECT_FALSE(changed.contains(QStringLiteral("sutaz-2-tabulka.html")));
    EXPECT_FALSE(changed.contains(QStringLiteral("rozhodcovia.html")));
    EXPECT_TRUE(page(QStringLiteral("sutaz-1-tabulka.html")).contains(UpdatedText(third)));
    EXPECT_TRUE(page(QStringLiteral("sutaz-2-tabulka.html")).contains(UpdatedText(first)));

    // A page somebody edited by hand is his: left as it is and named, never overwritten or deleted.
    QFile edited(dir.filePath(QStringLiteral("sutaz-1-tabulka.html")));
    ASSERT_TRUE(edited.open(QIODevice::Append));
    edited.write("<!-- ručne -->");
    edited.close();
    EnterResult(Db(), 1, match, {QStringLiteral("4"), QStringLiteral("1"), {}, {}, {}}, kDomaci);
    ASSERT_TRUE(PublishSeason(Db(), m_doc.StopRounds(), site, m_season, third.addDays(1), {}, nullptr, &left,
                              &written)
                    .isEmpty());
    EXPECT_EQ(left, QStringList{QStringLiteral("sutaz-1-tabulka.html")});
    EXPECT_TRUE(page(QStringLiteral("sutaz-1-tabulka.html")).endsWith(QStringLiteral("<!-- ručne -->")));
    EXPECT_TRUE(page(QStringLiteral("sutaz-1-vysledky.html")).contains(QStringLiteral("4")));
    EXPECT_TRUE(LeftAloneText(left).contains(QStringLiteral("sutaz-1-tabulka.html")));

    // A list of the files that is not a file is refused, and nothing is written.
    const QString other = Path(QStringLiteral("iny-web"));
    QDir().mkpath(other + QLatin1Char('/') + kZoznamWebu);
    EXPECT_TRUE(PublishSeason(Db(), m_doc.StopRounds(), other, m_season, third)
                    .contains(QStringLiteral("nie je súbor")));
    EXPECT_EQ(QDir(other).entryList(QDir::Files).size(), 0);

    // The site's address from the season goes into pages only as an address that could be typed.
    ASSERT_TRUE(SetSiteAddress(Db(), QStringLiteral("javascript:alert(1)"))
                    .startsWith(QStringLiteral("Adresa webu")));
    SetSeasonSetting(Db(), kNastavenieAdresyWebu, QStringLiteral("https://x.sk/\"><script>"));
    EXPECT_EQ(SiteAddress(Db()), QString());
}

TEST_F(Publishing, TheSiteSaysWhatAReaderNeedsAForfeitAsItsScoreTheTableAfterItsRoundAndNoFixturesYet)
{
    const auto page = [&](const QString& name) {
        return QString::fromUtf8(
            FileOf(SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc()), name));
    };
    const int match =
        Db().Value(QStringLiteral("select min(ID) from tzapasy where skupina=1 and klub1<>0 and klub2<>0"))
            .toInt();
    Db().Execute(QStringLiteral("update tzapasy set body1=?, body2=? where ID=?"),
                 {kKontumacia, kBezVysledku, match});
    EXPECT_TRUE(page(QStringLiteral("sutaz-1-vysledky.html")).contains(QStringLiteral("0:3 kont.")));
    const QString table = page(QStringLiteral("sutaz-1-tabulka.html"));
    EXPECT_TRUE(table.contains(QStringLiteral("Tabuľka po "))) << table.left(400).toStdString();
    EXPECT_FALSE(table.contains(QStringLiteral("Výsledná tabuľka")));
    // Every match played: the final table.
    Db().Execute(QStringLiteral("update tzapasy set body1=1, body2=1 where skupina=1 and body1=?"),
                 {kBezVysledku});
    EXPECT_TRUE(page(QStringLiteral("sutaz-1-tabulka.html")).contains(QStringLiteral("Konečná tabuľka")));

    // A competition with its clubs and no fixtures yet.
    const int empty = AddCompetition(Db(), QStringLiteral("Prípravka"));
    AddClub(Db(), empty, QStringLiteral("FK Nový"), 1);
    AddClub(Db(), empty, QStringLiteral("TJ Druhý"), 2);
    for (const char* list : {"rozpis", "vysledky", "nesmu-hrat"}) {
        const QString text = page(QStringLiteral("sutaz-%1-%2.html").arg(empty).arg(QLatin1String(list)));
        EXPECT_TRUE(text.contains(QStringLiteral("Rozpis zápasov ešte nie je."))) << list;
        EXPECT_FALSE(text.contains(QStringLiteral("0. kol"))) << list;
    }
    // The window's list opens on the round being played: there is none yet.
    const int current = CurrentRound(Db(), empty);
    EXPECT_EQ(MayNotPlayTitle(Db(), empty, current), QStringLiteral("Kto nesmie hrať - Prípravka"));
    const CZoznam list = MayNotPlayList(Db(), empty, current, kVsetkyKluby, m_doc.StopRounds());
    ASSERT_EQ(list.rows.size(), 1);
    EXPECT_EQ(list.rows.first().Cell(1), QStringLiteral("Rozpis zápasov ešte nie je."));
}

TEST_F(Publishing, ANameWithPercentSignsStaysWholeInEveryTitlePageAndCalendar)
{
    // Titles are made of a name and a round: "%1" in the name is the name's, never the round's place.
    const QString name = QStringLiteral("Pohár %1 %2");
    Db().Execute(QStringLiteral("update tsutaze set nazov=? where ID=1"), {name});
    const std::optional<int> played = LastPlayedRound(Db(), 1);
    ASSERT_TRUE(played);
    const QString afterRound = QStringLiteral("%1 po %2. kole").arg(name, QString::number(*played));
    EXPECT_TRUE(StandingsTitle(Db(), 1).endsWith(afterRound)) << StandingsTitle(Db(), 1).toStdString();
    EXPECT_EQ(MayNotPlayTitle(Db(), 1, 2), QStringLiteral("Kto nesmie hrať - %1 - 2. kolo").arg(name));

    const QVector<CSuborWebu> files = SiteFiles(Db(), m_doc.StopRounds(), QDateTime::currentDateTimeUtc());
    const QString round = QString::fromUtf8(FileOf(files, QStringLiteral("sutaz-1-nesmu-hrat.html")));
    EXPECT_TRUE(round.contains(QStringLiteral("Kto nesmie hrať - %1 - ").arg(name))) << round.toStdString();
    EXPECT_TRUE(QString::fromUtf8(FileOf(files, QStringLiteral("sutaz-1-tabulka.html"))).contains(name));
    EXPECT_TRUE(QString::fromUtf8(FileOf(files, QStringLiteral("sutaz-1.ics")))
                    .contains(QStringLiteral("%1\\, 1. kolo").arg(name)));
}

} // namespace
