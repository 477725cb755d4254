// Yellow-card suspensions, the red-card register, the stop list and the amnesty.

#include "db/CZaznamy.h"
#include "db/kody.h"
#include "discipline/karty.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"

#include <gtest/gtest.h>

namespace {

const QVector<int> kPravidlo = {4, 8, 12, 16};

QString Cells(const QVector<CStlpecHraca>& walk)
{
    QStringList out;
    for (const auto& c : walk)
        out << (c.suspended ? QStringLiteral("X%1").arg(c.cards) : QString::number(c.cards));
    return out.join(QLatin1Char(' '));
}

QVector<int> Rounds(int n)
{
    QVector<int> r;
    for (int i = 1; i <= n; ++i)
        r << i;
    return r;
}

TEST(Suspension, AThresholdReachedExactlySuspendsForItsPosition)
{
    QHash<int, int> cards{{1, 1}, {2, 1}, {3, 1}, {4, 1}};
    EXPECT_EQ(Cells(WalkPlayer(Rounds(7), cards, kPravidlo)), QStringLiteral("1 1 1 1 X0 0 0"));
    // Eight cards after round 9: the two following rounds.
    cards = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}};
    EXPECT_EQ(Cells(WalkPlayer(Rounds(12), cards, kPravidlo)), QStringLiteral("1 1 1 1 X0 1 1 1 1 X0 X0 0"));
    // Two cards in one round jump over 4: nothing.
    cards = {{1, 1}, {2, 1}, {3, 1}, {4, 2}};
    EXPECT_EQ(Cells(WalkPlayer(Rounds(6), cards, kPravidlo)), QStringLiteral("1 1 1 2 0 0"));
    // A card in the round he sits out shows as X1; a threshold reached while a stop is still pending
    // replaces what is left of it (three rounds, not one plus three).
    const QVector<int> rule = {1, 2, 3};
    cards = {{1, 2}, {2, 1}};
    EXPECT_EQ(Cells(WalkPlayer(Rounds(6), cards, rule)), QStringLiteral("2 X1 X0 X0 X0 0"));
    // A round with a second column counts its cards once.
    cards = {{1, 2}, {2, 2}};
    EXPECT_EQ(Cells(WalkPlayer({1, 2, 1, 3}, cards, kPravidlo)), QStringLiteral("2 2 X0 0"));
}

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

    // 31 players and 2 club lines: lines 0..29 on the first page, the rest on the second.
    CTlacStopu printout(Db(), 5, stop, QString());
    ASSERT_EQ(printout.PageCount(), 2);
    const auto pages = RecordPages(printout);
    EXPECT_NE(
        pages.at(0).FindText(QStringLiteral("Zoznam hráčov, ktorý majú automatický stop za ŽK v 5.kole")),
        nullptr);
    EXPECT_NE(pages.at(0).FindText(QStringLiteral("29.")), nullptr);
    EXPECT_EQ(pages.at(0).FindText(QStringLiteral("30.")), nullptr);
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("30.")), nullptr);
    EXPECT_NE(pages.at(1).FindText(QStringLiteral("Inter")), nullptr);

    CTlacStopu none(Db(), 6, {}, QStringLiteral("Slovan"));
    const auto empty = RecordPages(none).first();
    EXPECT_NE(empty.FindText(QStringLiteral("V 6.kole nestojí žiadny hráč")), nullptr);
    EXPECT_NE(empty.FindText(QStringLiteral("Slovan")), nullptr);
}

TEST_F(Registers, TheAmnestyClearsAllOrANumberPerPlayer)
{
    const int five = Player(m_a, QStringLiteral("Päť"));
    const int one = Player(m_b, QStringLiteral("Jedna"));
    for (int r = 1; r <= 5; ++r)
        Card("tzkarty", five, m_a, r);
    Card("tzkarty", one, m_b, 1);
    Card("tckarty", one, m_b, 1);
    AmnestyCount(Db(), 0);
    AmnestyCount(Db(), -3);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzkarty")).toInt(), 6);
    AmnestyCount(Db(), 2);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzkarty where IDhraca=?"), {five}).toInt(), 3);
    EXPECT_EQ(Db().Value(QStringLiteral("select min(kolo) from tzkarty where IDhraca=?"), {five}).toInt(), 3);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzkarty where IDhraca=?"), {one}).toInt(), 0);
    EXPECT_EQ(AmnestyCountMessage(2), QStringLiteral("Každému hráčovi boli vymazané ŽK v počte: 2 "));
    AmnestyAll(Db());
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzkarty")).toInt(), 0);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tckarty")).toInt(), 1);
}

} // namespace
