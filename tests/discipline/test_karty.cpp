// Yellow-card suspensions, the red-card register, the stop list and the amnesty.

#include "db/CZaznamy.h"
#include "db/kody.h"
#include "discipline/karty.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"
#include "results/strelci.h"

#include <gtest/gtest.h>

namespace {

const QVector<int> kPravidlo = {4, 8, 12, 16};

class Registers : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
        m_a = AddClub(Db(), m_competition, QStringLiteral("Slovan"), 1);
        m_b = AddClub(Db(), m_competition, QStringLiteral("Inter"), 2);
        for (int r = 1; r <= 8; ++r) {
            const int match = AddMatch(Db(), m_competition, r, m_a, m_b);
            Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"),
                         {QDateTime(QDate(2011, 8, 1).addDays(7 * r), QTime(17, 0)), match});
        }
    }
    CDatabaza& Db() { return m_doc.Database(); }
    int Player(int club, const QString& name, const QString& rc = QStringLiteral("900101/0001"))
    {
        Db().Execute(
            QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu) values ('X', ?, ?, ?)"),
            {name, rc, club});
        return static_cast<int>(Db().LastInsertId());
    }
    void Card(const char* table, int player, int club, int round)
    {
        Db().Execute(QStringLiteral("insert into %1 (IDhraca, IDklubu, kolo, skupina) values (?,?,?,?)")
                         .arg(QLatin1String(table)),
                     {player, club, round, m_competition});
    }
    int m_competition = 0, m_a = 0, m_b = 0;
};

TEST_F(Registers, OneClubOrAllClubsWithTheirRoundColumns)
{
    const int jan = Player(m_a, QStringLiteral("Novák"));
    for (int r : {1, 2, 3, 4})
        Card("tzkarty", jan, m_a, r);
    const CZoznam one = CardRegister(Db(), m_competition, m_a, CDruhKariet::Zlte, kPravidlo);
    ASSERT_EQ(one.ColumnCount(), 2 + 8 + 1);
    EXPECT_EQ(one.columns.at(2).header, QStringLiteral("1"));
    EXPECT_EQ(one.columns.last().header, QStringLiteral("Spolu"));
    ASSERT_EQ(one.RowCount(), 1);
    EXPECT_EQ(one.Text(0, 1), QStringLiteral("X Novák"));
    EXPECT_EQ(one.Text(0, 2 + 4), QStringLiteral("X"));
    EXPECT_EQ(one.Text(0, 2 + 5), QStringLiteral("-"));
    EXPECT_EQ(one.Text(0, 10), QStringLiteral("4"));

    const CZoznam clean = CardRegister(Db(), m_competition, m_b, CDruhKariet::Zlte, kPravidlo);
    ASSERT_EQ(clean.RowCount(), 1);
    EXPECT_EQ(clean.Text(0, 0), QStringLiteral("-"));
    EXPECT_EQ(clean.Text(0, 1), QStringLiteral("čistý register"));

    const CZoznam all = CardRegister(Db(), m_competition, kVsetkyKluby, CDruhKariet::Zlte, kPravidlo);
    ASSERT_EQ(all.RowCount(), 6);
    EXPECT_EQ(all.Text(0, 1), QString());
    EXPECT_EQ(all.Text(1, 1), QStringLiteral("Slovan"));
    EXPECT_EQ(all.Text(4, 1), QStringLiteral("Inter"));
    EXPECT_EQ(all.Text(5, 1), QStringLiteral("čistý register"));
    const QString html = ExportCards(Db(), m_competition, kVsetkyKlubyText, CDruhKariet::Zlte, all).Text();
    EXPECT_EQ(html.count(QStringLiteral("<table")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("<h2>Inter</h2>")));
}

TEST_F(Registers, RedCardsAreCountedPerRoundWithoutARule)
{
    const int jan = Player(m_a, QStringLiteral("Novák"));
    Card("tckarty", jan, m_a, 5);
    Card("tckarty", jan, m_a, 5);
    const CZoznam list = CardRegister(Db(), m_competition, m_a, CDruhKariet::Cervene, kPravidlo);
    EXPECT_EQ(list.Text(0, 2 + 4), QStringLiteral("2"));
    EXPECT_EQ(list.Text(0, 10), QStringLiteral("2"));
    EXPECT_FALSE(list.rows.at(0).cells.mid(2).join(QString()).contains(QLatin1Char('X')));
    EXPECT_EQ(CardRegisterTitle(Db(), m_competition, CDruhKariet::Cervene),
              QStringLiteral("Červené karty - I. trieda"));

    CTlacKariet printout(Db(), m_competition, kVsetkyKluby, CDruhKariet::Cervene,
                         CardRegister(Db(), m_competition, kVsetkyKluby, CDruhKariet::Cervene, kPravidlo));
    EXPECT_NE(RecordPages(printout).first().FindText(QStringLiteral("Červené karty - (I. trieda)")), nullptr);
    CTlacKariet one(Db(), m_competition, m_a, CDruhKariet::Zlte, CZoznam());
    EXPECT_NE(RecordPages(one).first().FindText(QStringLiteral("Žlté karty - Slovan (I. trieda)")), nullptr);
}

TEST_F(Registers, TheStopListTakesEveryClubAndPrintsThirtyLinesAPage)
{
    // Thirty players in Slovan reach 4 cards in round 4 and sit out round 5; one in Inter as well.
    for (int i = 0; i < 30; ++i) {
        const int p = Player(m_a, QStringLiteral("Hráč %1").arg(i));
        for (int r : {1, 2, 3, 4})
            Card("tzkarty", p, m_a, r);
    }
    const int inter = Player(m_b, QStringLiteral("Cudzí"), QStringLiteral("880808/8888"));
    for (int r : {1, 2, 3, 4})
        Card("tzkarty", inter, m_b, r);
    Player(m_b, QStringLiteral("Bez kariet"));

    const QVector<CHracStop> stop = StopList(Db(), m_competition, 5, kPravidlo);
    ASSERT_EQ(stop.size(), 31);
    EXPECT_EQ(stop.last().club, QStringLiteral("Inter"));
    EXPECT_EQ(stop.last().rc, QStringLiteral("880808/8888"));
    EXPECT_EQ(stop.last().total, QStringLiteral("4"));
    EXPECT_TRUE(StopList(Db(), m_competition, 6, kPravidlo).isEmpty());

    // 31 players and 2 club lines, 30 lines a page: Slovan's name and 29 players on the first page, its
    // name again with the thirtieth on the second, then Inter. Numbers of two digits print whole.
    CTlacStopu printout(Db(), m_competition, 5, stop, QString());
    ASSERT_EQ(printout.PageCount(), 2);
    const auto pages = RecordPages(printout);
    EXPECT_NE(
        pages.at(0).FindText(QStringLiteral("Zoznam hráčov, ktorý majú automatický stop za ŽK v 5.kole")),
        nullptr);
    EXPECT_NE(pages.at(0).FindText(QStringLiteral("I. trieda – 5. kolo")), nullptr);
    EXPECT_NE(pages.at(0).FindText(QStringLiteral("29.")), nullptr);
    EXPECT_EQ(pages.at(0).FindText(QStringLiteral("30.")), nullptr);
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("30.")), nullptr);
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("Slovan (pokračovanie)")), nullptr);
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("Inter")), nullptr);
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("Stránka 2/2")), nullptr);

    CTlacStopu none(Db(), m_competition, 6, {}, QStringLiteral("Slovan"));
    const auto empty = RecordPages(none).first();
    EXPECT_NE(empty.FindText(QStringLiteral("V 6.kole nestojí žiadny hráč")), nullptr);
    EXPECT_NE(empty.FindText(QStringLiteral("I. trieda – 6. kolo – Slovan")), nullptr);
}

// Four clubs, rounds a week apart; Slovan's round-3 match is played on the Wednesday after round 5.
class Postponed : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
        for (const char* name : {"Slovan", "Inter", "Tatran", "Lokomotíva"})
            m_clubs << AddClub(Db(), m_competition, QString::fromUtf8(name),
                               static_cast<int>(m_clubs.size()) + 1);
        const int a = m_clubs.at(0), b = m_clubs.at(1), c = m_clubs.at(2), d = m_clubs.at(3);
        const QVector<QPair<int, int>> pairs = {{a, b}, {c, d}, {a, c}, {b, d}, {a, d}, {b, c},
                                                {b, a}, {d, c}, {c, a}, {d, b}, {d, a}, {c, b}};
        for (int round = 1; round <= 6; ++round)
            for (int i = 0; i < 2; ++i) {
                const QPair<int, int> p = pairs.at((round - 1) * 2 + i);
                QDateTime when(QDate(2024, 8, 3).addDays(7 * (round - 1)), QTime(17, 0));
                if (round == 3 && p.first == a)
                    when = QDateTime(QDate(2024, 8, 3).addDays(7 * 4 + 4), QTime(17, 30));
                const int match = AddMatch(Db(), m_competition, round, p.first, p.second, 1, 1);
                Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {when, match});
                if (p.first == a || p.second == a)
                    m_slovanMatch[round] = match;
            }
        Db().Execute(QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu) values ('Ján', "
                                    "'Novák', '900101/1234', ?)"),
                     {a});
        m_player = static_cast<int>(Db().LastInsertId());
    }
    CDatabaza& Db() { return m_doc.Database(); }
    void Card(int round, int competition = 0)
    {
        Db().Execute(QStringLiteral("insert into tzkarty (IDzapasu, IDhraca, IDklubu, kolo, skupina) values "
                                    "(?,?,?,?,?)"),
                     {m_slovanMatch.value(round), m_player, m_clubs.at(0), round,
                      competition ? competition : m_competition});
    }
    int m_competition = 0;
    QVector<int> m_clubs;
    QHash<int, int> m_slovanMatch;
    int m_player = 0;
};

TEST_F(Postponed, ACardOfAPostponedMatchCountsWhenThatMatchIsPlayed)
{
    for (int round : {1, 2, 4, 3})
        Card(round);
    // Columns in the order of play: 1 2 3 4 5 3 6; the fourth card comes in the second column of
    // round 3, after round 5: he sits out round 6, not round 5.
    const CZoznam list = CardRegister(Db(), m_competition, m_clubs.at(0), CDruhKariet::Zlte, kPravidlo);
    QStringList headers;
    for (const CStlpecZoznamu& c : list.columns)
        headers << c.header;
    EXPECT_EQ(headers.mid(2, 7).join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5 3 6"));
    ASSERT_EQ(list.RowCount(), 1);
    EXPECT_EQ(list.rows.at(0).cells.mid(2).join(QLatin1Char(' ')), QStringLiteral("1 1 - 1 - 1 X 4"));
    EXPECT_TRUE(StopList(Db(), m_competition, 5, kPravidlo).isEmpty());
    const QVector<CHracStop> six = StopList(Db(), m_competition, 6, kPravidlo);
    ASSERT_EQ(six.size(), 1);
    EXPECT_EQ(six.first().name, QStringLiteral("Ján Novák"));
    EXPECT_EQ(six.first().total, QStringLiteral("4"));

    // A card whose match is not the competition's counts in the first column of its round.
    Db().Execute(QStringLiteral("update tzkarty set IDzapasu=99999 where kolo=3"));
    EXPECT_EQ(CardRegister(Db(), m_competition, m_clubs.at(0), CDruhKariet::Zlte, kPravidlo)
                  .rows.at(0)
                  .cells.mid(2)
                  .join(QLatin1Char(' ')),
              QStringLiteral("1 1 1 1 X - - 4"));
    EXPECT_EQ(StopList(Db(), m_competition, 5, kPravidlo).size(), 1);
}

TEST_F(Postponed, CardsAndGoalsStayInTheCompetitionWhereTheyWereGiven)
{
    for (int round : {1, 2, 4})
        Card(round);
    const int other = AddCompetition(Db(), QStringLiteral("II. trieda"));
    const int otherClub = AddClub(Db(), other, QStringLiteral("Družstevník"), 1);
    const int rival = AddClub(Db(), other, QStringLiteral("Sokol"), 2);
    QHash<int, int> otherMatch;
    for (int round = 1; round <= 6; ++round) {
        otherMatch[round] = AddMatch(Db(), other, round, otherClub, rival, 2, 0);
        Db().Execute(
            QStringLiteral("update tzapasy set cas=? where ID=?"),
            {QDateTime(QDate(2024, 8, 4).addDays(7 * (round - 1)), QTime(16, 0)), otherMatch[round]});
    }
    const auto goal = [&](int match, int club, int round, int competition) {
        Db().Execute(QStringLiteral("insert into tgoly (IDzapasu, IDhraca, IDklubu, kolo, skupina) values "
                                    "(?,?,?,?,?)"),
                     {match, m_player, club, round, competition});
    };
    goal(m_slovanMatch.value(1), m_clubs.at(0), 1, m_competition);
    goal(m_slovanMatch.value(2), m_clubs.at(0), 2, m_competition);

    // He moves to Družstevník of the other competition and gets a card and a goal there.
    Db().Execute(QStringLiteral("update thraci set IDklubu=? where ID=?"), {otherClub, m_player});
    Db().Execute(QStringLiteral("insert into tzkarty (IDzapasu, IDhraca, IDklubu, kolo, skupina) values "
                                "(?,?,?,5,?)"),
                 {otherMatch.value(5), m_player, otherClub, other});
    goal(otherMatch.value(5), otherClub, 5, other);

    // The new competition knows only what happened there: one card, no stop, one goal.
    const CZoznam there = CardRegister(Db(), other, otherClub, CDruhKariet::Zlte, kPravidlo);
    ASSERT_EQ(there.RowCount(), 1);
    EXPECT_EQ(there.rows.at(0).cells.mid(2).join(QLatin1Char(' ')), QStringLiteral("- - - - 1 - 1"));
    const CZoznam scorersThere = TopScorersList(Db(), other);
    ASSERT_EQ(scorersThere.RowCount(), 1);
    EXPECT_EQ(scorersThere.Text(0, 3), QStringLiteral("1"));
    EXPECT_EQ(scorersThere.Text(0, 2), QStringLiteral("Družstevník"));
    // The old one keeps his two goals, under the club he scored them for.
    const CZoznam scorersHere = TopScorersList(Db(), m_competition);
    ASSERT_EQ(scorersHere.RowCount(), 1);
    EXPECT_EQ(scorersHere.Text(0, 3), QStringLiteral("2"));
    EXPECT_EQ(scorersHere.Text(0, 2), QStringLiteral("Slovan"));
    // A fourth card in the new competition would not make a stop out of the old three.
    EXPECT_TRUE(StopList(Db(), other, 6, kPravidlo).isEmpty());

    // Moving back within a competition: everything follows him as before.
    Db().Execute(QStringLiteral("update thraci set IDklubu=? where ID=?"), {m_clubs.at(1), m_player});
    EXPECT_EQ(CardRegister(Db(), m_competition, m_clubs.at(1), CDruhKariet::Zlte, kPravidlo).Text(0, 7 + 2),
              QStringLiteral("3"));
    EXPECT_EQ(TopScorersList(Db(), m_competition).Text(0, 2), QStringLiteral("Inter"));
}

} // namespace
