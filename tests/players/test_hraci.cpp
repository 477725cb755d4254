// The player register, transfers with their history rows, the search, and the scorers and cards of
// a side of a match.

#include "db/CZaznamy.h"
#include "db/kody.h"
#include "output/CZaznamovaPlocha.h"
#include "players/hraci.h"
#include "pomocnik.h"
#include "results/strelcidialog.h"

#include <gtest/gtest.h>

namespace {

class Players : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
        m_a = AddClub(Db(), m_competition, QStringLiteral("Slovan"), 1);
        m_b = AddClub(Db(), m_competition, QStringLiteral("Inter"), 2);
    }
    CDatabaza& Db() { return m_doc.Database(); }
    int Player(int club, const QString& meno, const QString& priezvisko, const QString& rc = QString())
    {
        return SavePlayer(Db(), 0, club, {meno, priezvisko, rc, QString(), QString(), QString()});
    }
    int m_competition = 0, m_a = 0, m_b = 0;
};

TEST_F(Players, AClubListsItsCurrentPlayersAndABlankRow)
{
    CZoznam empty = PlayerList(Db(), m_a);
    ASSERT_EQ(empty.RowCount(), 1);
    EXPECT_EQ(empty.rows.at(0).id, 0);

    const int jan = Player(m_a, QStringLiteral("Ján"), QStringLiteral("Novák"));
    CZaznamy rs(Db());
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {jan});
    EXPECT_EQ(rs.GetText(QStringLiteral("RC")), QStringLiteral(" "));
    EXPECT_TRUE(JeZiadnyDatum(rs.GetDate(QStringLiteral("od"))));
    EXPECT_EQ(rs.GetInt(QStringLiteral("IDold")), 0);
    Db().Execute(
        QStringLiteral(
            "insert into thraci (meno, priezvisko, IDklubu, IDold) values ('Starý', 'Záznam', ?, ?)"),
        {m_a, jan});
    const CZoznam list = PlayerList(Db(), m_a);
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.Text(0, 2), QStringLiteral("Novák"));
    EXPECT_EQ(list.Text(0, 4), QString());
    EXPECT_EQ(list.rows.last().id, 0);
}

TEST_F(Players, TheDialogsValuesAreCheckedInOrder)
{
    CUdajeHraca v{QString(), QStringLiteral("Novák"), QString(), QString(), QString(), QString()};
    EXPECT_EQ(ValidatePlayer(v)->message, kZadajteMeno);
    v.meno = QStringLiteral("Ján");
    v.priezvisko.clear();
    EXPECT_EQ(ValidatePlayer(v)->message, kZadajtePriezvisko);
    v.priezvisko = QStringLiteral("Novák");
    v.od = QStringLiteral("31.2.2012");
    EXPECT_EQ(ValidatePlayer(v)->message,
              QStringLiteral(
                  "Nesprávne zadaný dátum v poli „Hráč je v klube na hosťovaní do“: „31.2.2012“ nie je deň "
                  "kalendára. Napíšte ho napríklad ako 3.8.2026, alebo pole nechajte prázdne, ak taký "
                  "dátum hráč nemá."));
    EXPECT_EQ(ValidatePlayer(v)->field, 3);
    v.od.clear();
    v.doDatum = QStringLiteral("x");
    EXPECT_TRUE(ValidatePlayer(v)->message.contains(kPoleZakaz));
    v.od = QStringLiteral("30. 6. 2012");
    v.doDatum = kBezDatumuText;
    EXPECT_FALSE(ValidatePlayer(v));
    const int id = SavePlayer(Db(), 0, m_a, v);
    const CZoznam list = PlayerList(Db(), m_a);
    EXPECT_EQ(list.Text(0, 4), DatumTextom(QDateTime(QDate(2012, 6, 30), QTime(0, 0))));
    EXPECT_EQ(list.Text(0, 5), QString());
    EXPECT_GT(id, 0);
}

TEST_F(Players, ALoanDateReadsBackTheSameInALocaleOfTwoDigitYears)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QStringLiteral("cs_CZ")));
    CUdajeHraca v{QStringLiteral("Ján"),      QStringLiteral("Novák"),    QString(),
                  QStringLiteral("30.06.25"), QStringLiteral("1.7.2026"), QString()};
    ASSERT_FALSE(ValidatePlayer(v));
    const int id = SavePlayer(Db(), 0, m_a, v);
    // Edited again from what the list shows, as the window does.
    for (int round = 0; round < 2; ++round) {
        const CZoznam list = PlayerList(Db(), m_a);
        EXPECT_EQ(list.Text(0, 4), QStringLiteral("30.06.2025"));
        const CUdajeHraca shown{list.Text(0, 1), list.Text(0, 2), list.Text(0, 3),
                                list.Text(0, 4), list.Text(0, 5), list.Text(0, 6)};
        ASSERT_FALSE(ValidatePlayer(shown));
        SavePlayer(Db(), id, m_a, shown);
    }
    EXPECT_EQ(Db().Value(QStringLiteral("select od from thraci where ID=?"), {id}).toString().left(10),
              QStringLiteral("2025-06-30"));
    EXPECT_EQ(Db().Value(QStringLiteral("select do from thraci where ID=?"), {id}).toString().left(10),
              QStringLiteral("2026-07-01"));
    QLocale::setDefault(previous);
}

TEST_F(Players, APlayerWithGoalsOrCardsStays)
{
    const int jan = Player(m_a, QStringLiteral("Ján"), QStringLiteral("Novák"));
    Db().Execute(QStringLiteral("insert into tzkarty (IDhraca) values (?)"), {jan});
    Db().Execute(QStringLiteral("insert into tgoly (IDhraca) values (?)"), {jan});
    EXPECT_FALSE(RemovePlayer(m_doc, jan));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("strelcom gólov")));
    Db().Execute(QStringLiteral("delete from tgoly"));
    EXPECT_FALSE(RemovePlayer(m_doc, jan));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("žltú kartu")));
    Db().Execute(QStringLiteral("delete from tzkarty"));
    m_user.answers = {false, true};
    EXPECT_FALSE(RemovePlayer(m_doc, jan));
    EXPECT_TRUE(RemovePlayer(m_doc, jan));
    EXPECT_EQ(PlayerList(Db(), m_a).RowCount(), 1);
}

TEST_F(Players, TransfersLeaveOneHistoryRowAndKeepTheGoals)
{
    const int jan =
        Player(m_a, QStringLiteral("Ján"), QStringLiteral("Novák"), QStringLiteral("900101/1234"));
    SavePlayerNote(Db(), jan, QStringLiteral("hosťuje"));
    Db().Execute(QStringLiteral("insert into tgoly (IDhraca, IDklubu) values (?, ?)"), {jan, m_a});
    EXPECT_EQ(TransferPlayer(m_doc, jan, 0), CVysledokPrestupu::ZiadnyKlub);
    EXPECT_EQ(TransferPlayer(m_doc, jan, m_a), CVysledokPrestupu::UzTamHra);
    EXPECT_EQ(PresentClub(Db(), jan), QStringLiteral("Slovan"));
    // The clubs to move to come by drawn number, whatever order they were entered in.
    AddClub(Db(), m_competition, QStringLiteral("Nulté"), 0);
    const auto clubs = CompetitionClubs(Db(), m_competition);
    ASSERT_EQ(clubs.size(), 3);
    EXPECT_EQ(clubs.at(0).nazov, QStringLiteral("Nulté"));
    EXPECT_EQ(clubs.at(2).nazov, QStringLiteral("Inter"));
    ASSERT_EQ(TransferPlayer(m_doc, jan, m_b), CVysledokPrestupu::Prestupil);
    EXPECT_EQ(PresentClub(Db(), jan), QStringLiteral("Inter"));
    EXPECT_EQ(PlayerList(Db(), m_a).RowCount(), 1);
    EXPECT_EQ(PlayerList(Db(), m_b).rows.at(0).id, jan);
    EXPECT_EQ(Db().Value(QStringLiteral("select IDhraca from tgoly")).toInt(), jan);
    EXPECT_EQ(
        Db().Value(QStringLiteral("select count(*) from thraci where IDold=? and IDklubu=?"), {jan, m_a})
            .toInt(),
        1);
    EXPECT_EQ(Db().Value(QStringLiteral("select pozn from thraci where IDold=?"), {jan}).toString(),
              QStringLiteral("hosťuje"));

    // Back to the first club, chosen from the history row: the question, then one history row (for B).
    const int history = Db().Value(QStringLiteral("select ID from thraci where IDold=?"), {jan}).toInt();
    EXPECT_EQ(LivePlayer(Db(), history), jan);
    m_user.answers = {false, true};
    EXPECT_EQ(TransferPlayer(m_doc, history, m_a), CVysledokPrestupu::Nepotvrdeny);
    EXPECT_EQ(TransferPlayer(m_doc, history, m_a), CVysledokPrestupu::Prestupil);
    EXPECT_EQ(m_user.questions.last(), kNavrat);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from thraci where IDold=?"), {jan}).toInt(), 1);
    EXPECT_EQ(Db().Value(QStringLiteral("select IDklubu from thraci where IDold=?"), {jan}).toInt(), m_b);
    EXPECT_EQ(Db().Value(QStringLiteral("select IDklubu from thraci where ID=?"), {jan}).toInt(), m_a);
}

TEST_F(Players, TheSearchFindsByBeginningsAcrossClubsHistoryIncluded)
{
    const int jan =
        Player(m_a, QStringLiteral("Ján"), QStringLiteral("Novák"), QStringLiteral("900101/1234"));
    Player(m_b, QStringLiteral("Peter"), QStringLiteral("Nováček"));
    Player(m_b, QStringLiteral("Jozef"), QStringLiteral("Kováč"));
    EXPECT_EQ(SearchPlayers(Db(), {}, QStringLiteral("Nov"), {}).RowCount(), 2);
    EXPECT_EQ(SearchPlayers(Db(), QStringLiteral("j"), {}, {}).RowCount(), 2);
    // Typed without accents or in capitals, as on a keyboard without Slovak letters.
    EXPECT_EQ(SearchPlayers(Db(), QStringLiteral("JAN"), QStringLiteral("novak"), {}).RowCount(), 1);
    EXPECT_EQ(SearchPlayers(Db(), {}, QStringLiteral("kovac"), {}).RowCount(), 1);
    EXPECT_EQ(SearchPlayers(Db(), {}, QStringLiteral("Nováč"), {}).RowCount(), 1);
    EXPECT_EQ(SearchPlayers(Db(), {}, {}, QStringLiteral("900101/1234")).RowCount(), 1);
    EXPECT_EQ(SearchPlayers(Db(), {}, {}, QStringLiteral("900101")).RowCount(), 0);
    EXPECT_EQ(SearchPlayers(Db(), {}, QStringLiteral("x'; drop table thraci; --"), {}).RowCount(), 0);
    EXPECT_EQ(SearchPlayers(Db(), {}, {}, {}).RowCount(), 3); // the own-goal player has no club
    TransferPlayer(m_doc, jan, m_b);
    const CZoznam found = SearchPlayers(Db(), {}, {}, QStringLiteral("900101/1234"));
    ASSERT_EQ(found.RowCount(), 2);
    EXPECT_EQ(found.Text(0, 4) == QStringLiteral("Slovan") || found.Text(1, 4) == QStringLiteral("Slovan"),
              true);
}

TEST_F(Players, PrintingTakesAsManyPagesAsTheClubNeeds)
{
    for (int i = 0; i < 55; ++i)
        Player(m_a, QStringLiteral("Hráč"), QStringLiteral("Číslo %1").arg(i));
    CTlacHracov printout(Db(), m_competition, m_a);
    ASSERT_EQ(printout.PageCount(), 2);
    const auto pages = RecordPages(printout);
    // Every player once, on as many pages as the paper takes.
    for (int i = 0; i < 55; ++i) {
        const QString name = QStringLiteral("Hráč Číslo %1").arg(i);
        EXPECT_EQ((pages.at(0).FindText(name) ? 1 : 0) + (pages.at(1).FindText(name) ? 1 : 0), 1) << i;
    }
    EXPECT_NE(pages.at(0).FindText(QStringLiteral("Zoznam hráčov - Slovan (I. trieda)")), nullptr);
    const QString html = ExportPlayers(Db(), m_competition, m_a).Text();
    EXPECT_TRUE(html.contains(QStringLiteral("nowrap>Hráč Číslo 0</td>")));
}

TEST_F(Players, ASidesScorersAreLimitedByItsGoalsAndReplacedWhole)
{
    const int jan = Player(m_a, QStringLiteral("Ján"), QStringLiteral("Novák"));
    const int peter = Player(m_a, QStringLiteral("Peter"), QStringLiteral("Adam"));
    const int match = AddMatch(Db(), m_competition, 3, m_a, m_b, 2, 0);
    const CStranaZapasu home = ReadSide(Db(), match, kDomaci);
    EXPECT_EQ(home.club, m_a);
    EXPECT_EQ(home.score, 2);
    EXPECT_EQ(home.round, 3);
    EXPECT_EQ(home.match, QStringLiteral(" Slovan - Inter"));

    const CZoznam players = ChoosablePlayers(Db(), m_a);
    ASSERT_EQ(players.RowCount(), 3);
    EXPECT_EQ(players.Text(0, 0), QStringLiteral("Peter Adam"));
    EXPECT_EQ(players.Text(2, 0), kVlastnyGol);
    EXPECT_TRUE(IsOwnGoalPlayer(Db(), players.rows.at(2).id));
    EXPECT_EQ(ChoosablePlayers(Db(), m_b).RowCount(), 0);

    EXPECT_TRUE(ScorerFits(home, 1));
    EXPECT_FALSE(ScorerFits(home, 2));
    EXPECT_TRUE(MissingScorers(home, 1));
    EXPECT_FALSE(MissingScorers(ReadSide(Db(), AddMatch(Db(), m_competition, 4, m_a, m_b), kDomaci), 0));

    SaveSide(Db(), m_competition, home, {jan, jan}, {peter}, {});
    EXPECT_EQ(
        Db().Value(QStringLiteral("select count(*) from tgoly where IDzapasu=? and IDhraca=? and kolo=3 and "
                                  "skupina=?"),
                   {match, jan, m_competition})
            .toInt(),
        2);
    SaveSide(Db(), m_competition, home, {}, {}, {});
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tgoly")).toInt(), 0);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tzkarty")).toInt(), 0);
}

} // namespace
