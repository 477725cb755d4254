// The standings rows against two references on random seasons: the fourteen counts the standings
// were always computed with (seasons without a forfeit or a half-typed score), and a match-by-match
// count of the rules with forfeits (any season). Values another tool may leave in a score (texts, 999,
// -1, 150, fractions) count as no result; a match with one score alone counts nowhere.

#include "competition/rozpis.h"
#include "db/CChybaDatabazy.h"
#include "db/kody.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"
#include "results/prepocet.h"
#include "results/tabulka.h"
#include "results/vysledky.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

struct CRiadok
{
    int zapasy = 0, vyhry = 0, remizy = 0, prehry = 0, skore1 = 0, skore2 = 0, body = 0, plusb = 0;
    bool operator==(const CRiadok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const CRiadok& r)
{
    return os << r.zapasy << "/" << r.vyhry << "/" << r.remizy << "/" << r.prehry << " " << r.skore1 << ":"
              << r.skore2 << " " << r.body << "b " << r.plusb;
}

// The fourteen queries, word for word as the standings were first computed.
const char* const kStrnastDotazov[] = {
    "select count(ID) as p from tzapasy where  body1<>100 and (klub1=%1 or klub2=%1)",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and body2<>100 and "
    "((klub1=%1 and body1>body2) or (klub2=%1 and body2>body1))",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and (klub1=%1 or "
    "klub2=%1) and body1=body2",
    "select count(ID) as p from tzapasy where  body1<>100 and ((klub1=%1 and (body1<body2 or body1=200)) or "
    "(klub2=%1 and (body2<body1 or body2=200)))",
    "select sum(body1) as p from tzapasy where  body1<>200 and body1<>100 and klub1=%1",
    "select sum(body2) as p from tzapasy where  body2<>200 and body2<>100 and klub2=%1",
    "select Sum(body2) as p from tzapasy where  body2<>200 and body2<>100 and klub1=%1",
    "select Sum(body1) as p from tzapasy where  body1<>200 and body1<>100 and klub2=%1",
    "select Sum(body1) as p from tzapasy where  body1=200 and klub1=%1",
    "select Sum(body2) as p from tzapasy where  body2=200 and klub2=%1",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and klub1=%1 and "
    "body1=body2",
    "select count(ID) as p from tzapasy where  (body1<>100 and klub1=%1 and body1<body2) or (body1=200 and "
    "klub1=%1)",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and klub2=%1 and "
    "body1=body2",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and klub2=%1 and "
    "body1<body2",
};

CRiadok FourteenQueries(CDatabaza& db, int club, int penalty)
{
    int p[14];
    for (int i = 0; i < 14; ++i) {
        const QVariant v = db.Value(QString::fromLatin1(kStrnastDotazov[i]).arg(club));
        p[i] = v.isNull() ? 0 : static_cast<int>(v.toDouble());
    }
    CRiadok r;
    r.zapasy = p[0];
    r.vyhry = p[1];
    r.remizy = p[2];
    r.prehry = p[3];
    r.skore1 = p[4] + p[5];
    r.skore2 = p[6] + p[7] + (p[8] / 200) * 3 + (p[9] / 200) * 3;
    r.plusb = 3 * p[13] + p[12] - 3 * p[11] - 2 * p[10];
    r.body = 3 * r.vyhry + r.remizy - penalty;
    return r;
}

struct CZapasReferencie
{
    int home, away;
    QVariant h, a; // as stored
};

// The rules, one match at a time, read straight from their description.
CRiadok MatchByMatch(const QVector<CZapasReferencie>& matches, int club, int penalty)
{
    CRiadok r;
    for (const CZapasReferencie& m : matches) {
        for (const bool home : {true, false}) {
            if ((home ? m.home : m.away) != club)
                continue;
            const int h = SkoreZUlozenia(m.h), a = SkoreZUlozenia(m.a);
            const int own = home ? h : a, other = home ? a : h;
            if (h == 200 || a == 200) {
                ++r.zapasy;
                if (own == 200) { // lost 0:3, whatever the other side did
                    ++r.prehry;
                    r.skore2 += 3;
                    if (home)
                        r.plusb -= 3;
                } else { // won 3:0
                    ++r.vyhry;
                    r.skore1 += 3;
                    if (!home)
                        r.plusb += 3;
                }
                continue;
            }
            // Without a forfeit: a match counts once both scores are in.
            if (h == 100 || a == 100)
                continue;
            r.skore1 += own;
            r.skore2 += other;
            ++r.zapasy;
            if (own > other)
                ++r.vyhry;
            else if (own == other)
                ++r.remizy;
            else
                ++r.prehry;
            if (home && h < a)
                r.plusb -= 3;
            if (home && h == a)
                r.plusb -= 2;
            if (!home && h < a)
                r.plusb += 3;
            if (!home && h == a)
                r.plusb += 1;
        }
    }
    r.body = 3 * r.vyhry + r.remizy - penalty;
    return r;
}

class Standings : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
    }
    CDatabaza& Db() { return m_doc.Database(); }
    CRiadok Stored(int club, int competition)
    {
        CPrikaz q(
            Db(),
            QStringLiteral("select zapasy, vyhry, remizy, prehry, skore1, skore2, body, plusb from tbody "
                           "where IDklubu=? and skupina=?"),
            {club, competition});
        if (!q.Step())
            return {-1, -1, -1, -1, -1, -1, -1, -1};
        return {int(q.Int64(0)), int(q.Int64(1)), int(q.Int64(2)), int(q.Int64(3)),
                int(q.Int64(4)), int(q.Int64(5)), int(q.Int64(6)), int(q.Int64(7))};
    }

    // A random season of one competition; `forfeits` lets "k" into the scores, `foreign` values that
    // other tools leave (texts, 999, -1, 150, fractions, NULL).
    QVector<CZapasReferencie> RandomSeason(QRandomGenerator& random, int competition,
                                           const QVector<int>& clubs, bool forfeits, bool foreign,
                                           bool halves = true)
    {
        QVector<CZapasReferencie> matches;
        const auto score = [&]() -> QVariant {
            const int pick = random.bounded(100);
            if (forfeits && pick < 6)
                return kKontumacia;
            if (pick < 18)
                return kBezVysledku;
            if (foreign && pick < 26) {
                const QVariantList odd = {QStringLiteral("x"), QStringLiteral("3"), 999, -1, 150, 2.5};
                return odd.at(random.bounded(int(odd.size())));
            }
            return random.bounded(7);
        };
        const int count = 10 + random.bounded(40);
        for (int i = 0; i < count; ++i) {
            const int home = clubs.at(random.bounded(int(clubs.size())));
            int away = clubs.at(random.bounded(int(clubs.size())));
            while (away == home)
                away = clubs.at(random.bounded(int(clubs.size())));
            QVariant h = score(), a = score();
            if (!halves && (h == QVariant(kBezVysledku) || a == QVariant(kBezVysledku)))
                h = a = kBezVysledku;
            Db().Execute(
                QStringLiteral("insert into tzapasy (skupina, kolo, klub1, klub2, body1, body2) values "
                               "(?,?,?,?,?,?)"),
                {competition, 1 + i / 4, home, away, h, a});
            // The reference reads what the store kept (a text "3" becomes the number 3).
            CPrikaz stored(Db(), QStringLiteral("select body1, body2 from tzapasy where ID=?"),
                           {Db().LastInsertId()});
            stored.Step();
            matches.append({home, away, stored.Value(0), stored.Value(1)});
        }
        return matches;
    }
};

TEST_F(Standings, WithoutForfeitsEveryRowIsWhatTheFourteenQueriesGive)
{
    QRandomGenerator random(8);
    for (int season = 0; season < 25; ++season) {
        const int competition = AddCompetition(Db(), QStringLiteral("S%1").arg(season));
        QVector<int> clubs;
        for (int c = 0; c < 3 + random.bounded(8); ++c)
            clubs << AddClub(Db(), competition, QStringLiteral("K%1").arg(c), c + 1);
        const auto matches = RandomSeason(random, competition, clubs, false, false, false);
        QHash<int, int> penalties;
        for (int club : clubs)
            if (random.bounded(4) == 0) {
                penalties[club] = random.bounded(6);
                Db().Execute(QStringLiteral("insert into tbody (IDklubu, skupina, btrest) values (?,?,?)"),
                             {club, competition, penalties[club]});
            }
        // One club by itself, the rest with the whole competition.
        RecalculateClub(Db(), competition, clubs.first());
        EXPECT_EQ(Stored(clubs.first(), competition),
                  FourteenQueries(Db(), clubs.first(), penalties.value(clubs.first())))
            << "season " << season;
        RecalculateCompetition(Db(), competition);
        for (int club : clubs) {
            const CRiadok expected = FourteenQueries(Db(), club, penalties.value(club));
            EXPECT_EQ(Stored(club, competition), expected) << "season " << season << " club " << club;
            EXPECT_EQ(MatchByMatch(matches, club, penalties.value(club)), expected)
                << "season " << season << " club " << club;
        }
    }
}

TEST_F(Standings, WithForfeitsAndForeignValuesEveryRowFollowsTheRulesMatchByMatch)
{
    QRandomGenerator random(88);
    for (int season = 0; season < 25; ++season) {
        const int competition = AddCompetition(Db(), QStringLiteral("S%1").arg(season));
        QVector<int> clubs;
        for (int c = 0; c < 3 + random.bounded(8); ++c)
            clubs << AddClub(Db(), competition, QStringLiteral("K%1").arg(c), c + 1);
        const auto matches = RandomSeason(random, competition, clubs, true, season % 2 == 1);
        RecalculateCompetition(Db(), competition);
        for (int club : clubs) {
            EXPECT_EQ(Stored(club, competition), MatchByMatch(matches, club, 0))
                << "season " << season << " club " << club;
            RecalculateClub(Db(), competition, club);
            EXPECT_EQ(Stored(club, competition), MatchByMatch(matches, club, 0))
                << "season " << season << " club " << club;
        }
    }
}

TEST_F(Standings, EveryClubStandsInTheTableFromTheFirstResultOn)
{
    const int competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
    QVector<int> clubs;
    for (int c = 1; c <= 14; ++c)
        clubs << AddClub(Db(), competition, QStringLiteral("Klub %1").arg(c), 15 - c);
    EXPECT_EQ(StandingsList(Db(), competition).RowCount(), 14);
    const int match = AddMatch(Db(), competition, 1, clubs.at(0), clubs.at(1), 2, 0);
    RecalculateClub(Db(), competition, clubs.at(0));
    RecalculateClub(Db(), competition, clubs.at(1));
    const CZoznam list = StandingsList(Db(), competition);
    ASSERT_EQ(list.RowCount(), 14);
    EXPECT_EQ(list.Text(0, 1), QStringLiteral("Klub 1"));
    EXPECT_EQ(list.Text(13, 1), QStringLiteral("Klub 2"));
    // The twelve clubs without a result stand by drawn number: Klub 14 has number 1.
    EXPECT_EQ(list.Text(1, 1), QStringLiteral("Klub 14"));
    EXPECT_EQ(list.Text(1, 6), QStringLiteral("0 : 0"));
    EXPECT_EQ(ExportStandings(Db(), competition)->Text().count(QStringLiteral("<tr>")), 15);
    (void)match;
}

TEST_F(Standings, PenaltyPointsThatDoNotFitAreRefusedNamingTheClub)
{
    const int competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
    const int a = AddClub(Db(), competition, QStringLiteral("Slovan"), 1);
    const int b = AddClub(Db(), competition, QStringLiteral("Inter"), 2);
    AddMatch(Db(), competition, 1, a, b, 1, 0);
    RecalculateCompetition(Db(), competition);
    for (const QVariant& bad :
         {QVariant(3000000000LL), QVariant(QStringLiteral("veľa")), QVariant(-2147483648LL)}) {
        Db().Execute(QStringLiteral("update tbody set btrest=? where IDklubu=?"), {bad, b});
        try {
            RecalculateCompetition(Db(), competition);
            ADD_FAILURE() << "accepted " << bad.toString().toStdString();
        } catch (const CChybaDatabazy& e) {
            EXPECT_TRUE(e.Sentence().contains(QStringLiteral("Inter"))) << e.Sentence().toStdString();
        }
        // Nothing was written: Slovan keeps its row as it was.
        EXPECT_EQ(Stored(a, competition).body, 3);
    }
}

TEST_F(Standings, ValuesOtherToolsLeaveReadAlikeInTheTableTheListThePageAndThePrint)
{
    // A fixture table as another tool writes it: no types, nothing required.
    Db().Execute(QStringLiteral("DROP TABLE tzapasy"));
    Db().Execute(
        QStringLiteral("CREATE TABLE tzapasy (ID INTEGER PRIMARY KEY AUTOINCREMENT, skupina, kolo, klub1, "
                       "klub2, los1, los2, cas, body1, body2, polcas1, polcas2, poznamka, poznamka2)"));
    const int competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
    const int a = AddClub(Db(), competition, QStringLiteral("Slovan"), 1);
    const int b = AddClub(Db(), competition, QStringLiteral("Inter"), 2);
    const auto match = [&](const QVariant& round, const QVariant& h, const QVariant& aw, const QVariant& hh,
                           const QVariant& ah) {
        Db().Execute(
            QStringLiteral("insert into tzapasy (skupina, kolo, klub1, klub2, cas, body1, body2, polcas1, "
                           "polcas2) values (?,?,?,?,'2011-08-06 17:00:00',?,?,?,?)"),
            {competition, round, a, b, h, aw, hh, ah});
    };
    match(1, QStringLiteral("x"), 0, QVariant(), QVariant()); // a text score: no result
    match(1, 999, 1, 150, -1);                                // out of range: no result
    match(2, -1, QStringLiteral("2"), 1, 0);                  // a negative number; a text, even "2"
    match(QStringLiteral("prvé"), 2, 0, 1, 0);                // a round that is no number
    match(3, 2, 1, QVariant(), 1);                            // an ordinary result, one half-time missing
    RecalculateCompetition(Db(), competition);
    // Two results count (the match without a round has one); a score against one that is no result
    // is half a result and counts nowhere.
    const CZoznam table = StandingsList(Db(), competition);
    ASSERT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Text(0, 1), QStringLiteral("Slovan"));
    EXPECT_EQ(table.Text(0, 2), QStringLiteral("2"));
    EXPECT_EQ(table.Text(0, 6), QStringLiteral("4 : 1"));
    EXPECT_EQ(StandingsTitle(Db(), competition), QStringLiteral("Výsledná tabuľka - I. trieda po 3. kole"));

    const CZoznam results = ResultsList(Db(), competition, kVsetkyKola);
    QStringList scores;
    for (const CRiadokZoznamu& r : results.rows)
        if (r.id != 0)
            scores << QStringLiteral("%1:%2 (%3:%4)")
                          .arg(r.Cell(kVysledokDomaci), r.Cell(kVysledokHostia), r.Cell(kPolcasDomaci),
                               r.Cell(kPolcasHostia));
    EXPECT_EQ(scores, (QStringList{":0 (:)", ":1 (:)", ": (1:0)", "2:0 (1:0)", "2:1 (:1)"}));
    EXPECT_EQ(ReadRounds(Db(), competition), (QVector<int>{1, 2, 3}));
    const QString page = ExportResults(Db(), competition, kVsetkyKola).Text();
    EXPECT_FALSE(page.contains(QStringLiteral("999")));
    EXPECT_FALSE(page.contains(QStringLiteral(">x :")));
    CTlacVysledkov printout(Db(), competition, kVsetkyKola);
    const auto pages = RecordPages(printout);
    ASSERT_FALSE(pages.isEmpty());
    EXPECT_EQ(pages.first().FindText(QStringLiteral("999 : 1")), nullptr);
    EXPECT_NE(pages.first().FindText(QStringLiteral(" : 1")), nullptr);
}

} // namespace
