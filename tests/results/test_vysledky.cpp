// Results, the standings recalculated from them, the standings table and the top scorers.

#include "db/CChybaDatabazy.h"
#include "db/CZaznamy.h"
#include "db/kody.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"
#include "results/prepocet.h"
#include "results/strelci.h"
#include "results/tabulka.h"
#include "results/vysledky.h"

#include <gtest/gtest.h>

namespace {

class Results : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        CDatabaza& db = m_doc.Database();
        m_competition = AddCompetition(db, QStringLiteral("I. trieda"));
        for (int i = 1; i <= 4; ++i)
            m_clubs << AddClub(db, m_competition, QStringLiteral("Klub %1").arg(i), i);
    }
    CDatabaza& Db() { return m_doc.Database(); }
    struct CRiadok
    {
        int zapasy, vyhry, remizy, prehry, skore1, skore2, body, plusb;
        bool operator==(const CRiadok&) const = default;
    };
    CRiadok Row(int club)
    {
        CZaznamy rs(Db());
        rs.Open(QStringLiteral("select * from tbody where IDklubu=? and skupina=?"), {club, m_competition});
        if (rs.IsEOF())
            return {-1, -1, -1, -1, -1, -1, -1, -1};
        return {rs.GetInt(QStringLiteral("zapasy")), rs.GetInt(QStringLiteral("vyhry")),
                rs.GetInt(QStringLiteral("remizy")), rs.GetInt(QStringLiteral("prehry")),
                rs.GetInt(QStringLiteral("skore1")), rs.GetInt(QStringLiteral("skore2")),
                rs.GetInt(QStringLiteral("body")),   rs.GetInt(QStringLiteral("plusb"))};
    }
    void Recalculate(int club) { RecalculateClub(Db(), m_competition, club); }
    int m_competition = 0;
    QVector<int> m_clubs;
};

TEST_F(Results, AClubsRowIsCountedFromAllItsResults)
{
    const int a = m_clubs.at(0), b = m_clubs.at(1), c = m_clubs.at(2), d = m_clubs.at(3);
    Recalculate(a);
    EXPECT_EQ(Row(a), (CRiadok{0, 0, 0, 0, 0, 0, 0, 0}));
    AddMatch(Db(), m_competition, 1, a, b, 2, 1); // home win
    AddMatch(Db(), m_competition, 2, c, a, 1, 1); // away draw
    AddMatch(Db(), m_competition, 3, a, d, 0, 3); // home loss
    AddMatch(Db(), m_competition, 4, b, a, 0, 2); // away win
    AddMatch(Db(), m_competition, 5, a, c);       // not played
    Recalculate(a);
    // 3 + 1 - 3 - 0 in the plus/minus points.
    EXPECT_EQ(Row(a), (CRiadok{4, 2, 1, 1, 5, 5, 7, 1}));
    Db().Execute(QStringLiteral("update tbody set btrest=3 where IDklubu=?"), {a});
    Recalculate(a);
    EXPECT_EQ(Row(a).body, 4);
    EXPECT_EQ(Row(a).plusb, 1);
}

TEST_F(Results, AForfeitLosesZeroThreeAndItsOpponentWinsThreeZero)
{
    const int a = m_clubs.at(0), b = m_clubs.at(1);
    // The home side did not turn up; the away field is still empty.
    const int match = AddMatch(Db(), m_competition, 1, a, b, kKontumacia, kBezVysledku);
    Recalculate(a);
    Recalculate(b);
    EXPECT_EQ(Row(a), (CRiadok{1, 0, 0, 1, 0, 3, 0, -3}));
    // An ordinary away win: three points, 3:0, +3.
    EXPECT_EQ(Row(b), (CRiadok{1, 1, 0, 0, 3, 0, 3, 3}));

    // Whatever the winner's own field holds, the result is 3:0.
    for (int typed : {3, 0, 7}) {
        Db().Execute(QStringLiteral("update tzapasy set body2=? where ID=?"), {typed, match});
        Recalculate(a);
        Recalculate(b);
        EXPECT_EQ(Row(a), (CRiadok{1, 0, 0, 1, 0, 3, 0, -3})) << typed;
        EXPECT_EQ(Row(b), (CRiadok{1, 1, 0, 0, 3, 0, 3, 3})) << typed;
    }

    // The away side forfeits and the home field is empty: the match counts as played, a home win.
    Db().Execute(QStringLiteral("update tzapasy set body1=100, body2=200 where ID=?"), {match});
    Recalculate(a);
    Recalculate(b);
    EXPECT_EQ(Row(a), (CRiadok{1, 1, 0, 0, 3, 0, 3, 0}));
    EXPECT_EQ(Row(b), (CRiadok{1, 0, 0, 1, 0, 3, 0, 0}));
    EXPECT_EQ(StandingsTitle(Db(), m_competition), QStringLiteral("Výsledná tabuľka - I. trieda po 1. kole"));

    // Both forfeit: both lose 0:3, the home side -3 as a home loss.
    Db().Execute(QStringLiteral("update tzapasy set body1=200 where ID=?"), {match});
    Recalculate(a);
    Recalculate(b);
    EXPECT_EQ(Row(a), (CRiadok{1, 0, 0, 1, 0, 3, 0, -3}));
    EXPECT_EQ(Row(b), (CRiadok{1, 0, 0, 1, 0, 3, 0, 0}));

    // The list and its page show what was typed.
    Db().Execute(QStringLiteral("update tzapasy set body1=200, body2=3 where ID=?"), {match});
    EXPECT_EQ(ResultsList(Db(), m_competition, 1).Text(0, kVysledokDomaci), QStringLiteral("k"));
    EXPECT_TRUE(ExportResults(Db(), m_competition, 1).Text().contains(QStringLiteral(">k : 3</td>")));
}

TEST_F(Results, TypedScoresAreStoredByTheirCodesAndRecalculateBothClubs)
{
    const int a = m_clubs.at(0), b = m_clubs.at(1);
    const int match = AddMatch(Db(), m_competition, 1, a, b);
    CPolickaVysledku typed{QStringLiteral("3"), QString(), QString(), QString(), QString()};
    CPolickaVysledku shown = EnterResult(Db(), m_competition, match, typed, kDomaci);
    EXPECT_EQ(shown.home, QStringLiteral("3"));
    EXPECT_EQ(Db().Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 3);
    EXPECT_EQ(Db().Value(QStringLiteral("select body2 from tzapasy where ID=?"), {match}).toInt(), 100);
    // Half a result counts for nobody until the away score is in.
    EXPECT_EQ(Row(a), (CRiadok{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Row(b).zapasy, 0);

    typed.away = QStringLiteral("1");
    EnterResult(Db(), m_competition, match, typed, kHostia);
    EXPECT_EQ(Row(b), (CRiadok{1, 0, 0, 1, 1, 3, 0, 0}));
    // The home club's row is right at once, not only after its own field changes again.
    EXPECT_EQ(Row(a), (CRiadok{1, 1, 0, 0, 3, 1, 3, 0}));
    // Half-time scores do not touch the standings.
    Db().Execute(QStringLiteral("update tbody set body=99 where IDklubu=?"), {a});
    typed.homeHalf = QStringLiteral("1");
    EnterResult(Db(), m_competition, match, typed, kZiadnaStrana);
    EXPECT_EQ(Row(a).body, 99);
    Recalculate(a);

    typed.home = QStringLiteral("k");
    EnterResult(Db(), m_competition, match, typed, kDomaci);
    EXPECT_EQ(Db().Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 200);
    EXPECT_EQ(ResultsList(Db(), m_competition, 1).Text(0, kVysledokDomaci), QStringLiteral("k"));

    for (const char* bad : {"101", "-1", "x"}) {
        typed.home = QString::fromLatin1(bad);
        shown = EnterResult(Db(), m_competition, match, typed, kDomaci);
        EXPECT_EQ(shown.home, QString()) << bad;
        EXPECT_EQ(Db().Value(QStringLiteral("select body1 from tzapasy where ID=?"), {match}).toInt(), 100)
            << bad;
    }
    typed.home = QStringLiteral("100");
    shown = EnterResult(Db(), m_competition, match, typed, kDomaci);
    EXPECT_EQ(shown.home, QStringLiteral("100"));
    EXPECT_EQ(ResultFields(Db(), match)->home, QString());

    typed = {QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("k"), QString()};
    shown = EnterResult(Db(), m_competition, match, typed, kZiadnaStrana);
    EXPECT_EQ(shown.awayHalf, QString());
    EXPECT_EQ(ResultFields(Db(), match)->homeHalf, QStringLiteral("1"));
    EXPECT_EQ(ResultFields(Db(), match)->awayHalf, QString());

    EXPECT_EQ(SaveResultNote(Db(), match, QString()), QStringLiteral(" "));
    EXPECT_EQ(ResultFields(Db(), match)->note, QString());
    // A separator row has no match: nothing is written.
    EnterResult(Db(), m_competition, 0, typed, kDomaci);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzapasy")).toInt(), 1);
}

TEST_F(Results, PrintAndPageShowScoresHalfTimesAndScorers)
{
    const int a = m_clubs.at(0), b = m_clubs.at(1);
    Db().Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2011/2012', 'Kraj', 'Zväz')"));
    const int match = AddMatch(Db(), m_competition, 1, a, b, kKontumacia, 3);
    Db().Execute(QStringLiteral("insert into thraci (meno, priezvisko, IDklubu) values ('Ján', 'Novák', ?)"),
                 {b});
    const int novak = static_cast<int>(Db().LastInsertId());
    Db().Execute(
        QStringLiteral("insert into thraci (meno, priezvisko, IDklubu) values ('Peter', 'Malý <b>', ?)"),
        {b});
    const int maly = static_cast<int>(Db().LastInsertId());
    for (int player : {novak, novak, maly})
        Db().Execute(QStringLiteral(
                         "insert into tgoly (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?,?,?,1,?)"),
                     {match, player, b, m_competition});
    CTlacVysledkov printout(Db(), m_competition, 1);
    const auto page = RecordPages(printout).first();
    EXPECT_NE(page.FindText(QStringLiteral("k : 3")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral(" : ")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Výsledky zápasov - I. trieda")), nullptr);

    const QString html = ExportResults(Db(), m_competition, kVsetkyKola).Text();
    EXPECT_TRUE(html.contains(QStringLiteral("nowrap>Ján Novák 2<br />Peter Malý &lt;b&gt; <br /></td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<h2>Výsledky zápasov v sezóne - 2011/2012</h2>")));

    const CZoznam scorers = Entries(Db(), match, b, kStrelci);
    ASSERT_EQ(scorers.RowCount(), 3);
    EXPECT_EQ(scorers.Text(1, 1), QStringLiteral("Ján Novák"));
    EXPECT_EQ(scorers.rows.at(2).id, maly);
    EXPECT_EQ(Entries(Db(), match, a, kStrelci).RowCount(), 0);
    Db().Execute(
        QStringLiteral(
            "insert into tzkarty (IDzapasu, IDhraca, IDklubu, kolo, skupina) values (?, 9999, ?, 1, ?)"),
        {match, a, m_competition});
    const CZoznam cards = Entries(Db(), match, a, kZlteKarty);
    ASSERT_EQ(cards.RowCount(), 1);
    EXPECT_EQ(cards.Text(0, 1), QString());
}

TEST_F(Results, StandingsFollowTheTieBreaksAndTheTitleTheLastFullResult)
{
    const int a = m_clubs.at(0), b = m_clubs.at(1), c = m_clubs.at(2), d = m_clubs.at(3);
    const auto row = [this](int club, int body, int s1, int s2, int vyhry, int plusb, int zapasy) {
        Db().Execute(
            QStringLiteral("insert into tbody (IDklubu, skupina, body, skore1, skore2, vyhry, plusb, zapasy) "
                           "values (?,?,?,?,?,?,?,?)"),
            {club, m_competition, body, s1, s2, vyhry, plusb, zapasy});
    };
    row(a, 3, 2, 2, 1, 0, 2); // difference 0
    row(b, 3, 3, 2, 1, 0, 2); // difference +1
    row(c, 3, 4, 3, 1, 0, 2); // difference +1, more goals
    row(d, 0, 0, 1, 0, 0, 1); // below, with a negative difference
    CZoznam list = StandingsList(Db(), m_competition);
    QStringList order;
    for (const auto& r : list.rows)
        order << r.Cell(1);
    EXPECT_EQ(order, (QStringList{"Klub 3", "Klub 2", "Klub 1", "Klub 4"}));
    EXPECT_EQ(list.Text(0, 0), QStringLiteral("1"));
    EXPECT_EQ(list.Text(3, 0), QStringLiteral("4"));
    EXPECT_EQ(list.Text(0, 6), QStringLiteral("4 : 3"));

    EXPECT_EQ(StandingsTitle(Db(), m_competition), QStringLiteral("Výsledná tabuľka - I. trieda"));
    AddMatch(Db(), m_competition, 2, a, b, 1, 0);
    AddMatch(Db(), m_competition, 5, c, d, 2, kBezVysledku);
    EXPECT_EQ(StandingsTitle(Db(), m_competition), QStringLiteral("Výsledná tabuľka - I. trieda po 2. kole"));
}

TEST_F(Results, SanctionsAreKeptPerClubAndPenaltyPointsRecalculate)
{
    const int a = m_clubs.at(0), b = m_clubs.at(1);
    AddMatch(Db(), m_competition, 1, a, b, 2, 0);
    RecalculateCompetition(Db(), m_competition);
    EXPECT_EQ(Row(a).body, 3);
    SaveSanctionText(Db(), m_competition, a, QStringLiteral("Pokuta 50 €"));
    SaveSanctionPoints(Db(), m_competition, a, QStringLiteral("3"));
    EXPECT_EQ(ClubSanction(Db(), m_competition, a).points, 3);
    EXPECT_EQ(ClubSanction(Db(), m_competition, a).text, QStringLiteral("Pokuta 50 €"));
    EXPECT_EQ(Row(a).body, 0);
    SaveSanctionPoints(Db(), m_competition, a, QString());
    EXPECT_EQ(Row(a).body, 3);
    EXPECT_THROW(SaveSanctionPoints(Db(), m_competition, a, QStringLiteral("99999999999")), CChybaDatabazy);
    EXPECT_EQ(Row(a).body, 3);
    // A club without a result yet gets its row with the sanction, counted from its results.
    const int c = m_clubs.at(2);
    SaveSanctionPoints(Db(), m_competition, c, QStringLiteral("2"));
    EXPECT_EQ(Row(c), (CRiadok{0, 0, 0, 0, 0, 0, -2, 0}));
    SaveSanctionText(Db(), m_competition, c, QString());

    Db().Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2011/2012', 'Kraj', 'Zväz')"));
    CTlacTabulky printout(Db(), m_competition);
    const auto page = RecordPages(printout).first();
    EXPECT_NE(page.FindText(QStringLiteral("Klub 1:")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Pokuta 50 €")), nullptr);
    EXPECT_EQ(page.FindText(QStringLiteral("Klub 2:")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Výsledná tabuľka - I. trieda po 1. kole")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Stránka 1/1")), nullptr);

    const auto html = ExportStandings(Db(), m_competition);
    ASSERT_TRUE(html);
    EXPECT_FALSE(html->Text().contains(QStringLiteral("Pokuta")));
    EXPECT_TRUE(html->Text().contains(QStringLiteral("<strong> + , - </strong>")));
    const int empty = AddCompetition(Db(), QStringLiteral("Prázdna"));
    EXPECT_FALSE(ExportStandings(Db(), empty));
}

TEST_F(Results, TopScorersAreCountedPerPlayerAndPrintFiftyAPage)
{
    const int a = m_clubs.at(0);
    const int other = AddCompetition(Db(), QStringLiteral("Iná"));
    const int foreign = AddClub(Db(), other, QStringLiteral("Cudzí"), 1);
    const auto player = [this](int club, const QString& name) {
        Db().Execute(QStringLiteral("insert into thraci (meno, priezvisko, IDklubu) values ('X', ?, ?)"),
                     {name, club});
        return static_cast<int>(Db().LastInsertId());
    };
    const int played = AddMatch(Db(), m_competition, 1, a, m_clubs.at(1), 60, 60);
    const int playedThere = AddMatch(Db(), other, 1, foreign, foreign, 9, 0);
    const auto goals = [&](int player, int n) {
        const bool there =
            Db().Value(QStringLiteral("select IDklubu from thraci where ID=?"), {player}).toInt() == foreign;
        for (int i = 0; i < n; ++i)
            Db().Execute(QStringLiteral("insert into tgoly (IDzapasu, IDhraca, skupina) values (?, ?, ?)"),
                         {there ? playedThere : played, player, there ? other : m_competition});
    };
    EXPECT_EQ(TopScorersList(Db(), m_competition).RowCount(), 0);
    EXPECT_FALSE(ExportTopScorers(Db(), m_competition));
    goals(player(a, QStringLiteral("Dvaja")), 2);
    goals(player(a, QStringLiteral("Traja")), 3);
    goals(player(a, QStringLiteral("TiežDvaja")), 2);
    goals(player(foreign, QStringLiteral("Cudzinec")), 9);
    const CZoznam list = TopScorersList(Db(), m_competition);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Text(0, 1), QStringLiteral("X Traja"));
    EXPECT_EQ(list.Text(0, 3), QStringLiteral("3"));
    EXPECT_EQ(list.Text(1, 0), QStringLiteral("2"));
    EXPECT_EQ(list.Text(2, 0), QStringLiteral("3"));
    EXPECT_EQ(list.Text(2, 3), QStringLiteral("2"));

    for (int i = 0; i < 48; ++i)
        goals(player(m_clubs.at(1), QStringLiteral("Hráč %1").arg(i)), 1);
    CTlacStrelcov printout(Db(), m_competition);
    ASSERT_EQ(printout.PageCount(), 2);
    const auto pages = RecordPages(printout);
    EXPECT_NE(pages.at(0).FindText(QStringLiteral("50")), nullptr);
    EXPECT_EQ(pages.at(0).FindText(QStringLiteral("51")), nullptr);
    // The second page starts with the header row again, then position 51 on the next grid row.
    const auto* header = pages.at(1).FindText(QStringLiteral("Hráč"));
    const auto* last = pages.at(1).FindText(QStringLiteral("51"));
    ASSERT_NE(header, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_GT(last->rect.y() + last->rect.height(), header->rect.y() + header->rect.height());
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("Stránka 2/2")), nullptr);
}

} // namespace
