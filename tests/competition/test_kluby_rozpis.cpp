// The clubs list and the match schedule as the views, the printouts and the pages show them.

#include "competition/generator.h"
#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "db/CZaznamy.h"
#include "db/kody.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"

#include <gtest/gtest.h>

namespace {

class Clubs : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    }
    int m_competition = 0;
};

TEST_F(Clubs, AreListedByDrawNumberWithABlankRowToAddTo)
{
    CDatabaza& db = m_doc.Database();
    AddClub(db, m_competition, QStringLiteral("Tri"), 3);
    AddClub(db, m_competition, QStringLiteral("Jeden"), 1);
    AddClub(db, m_competition, QStringLiteral("Bez čísla"), 0);
    AddClub(db, m_competition, QStringLiteral("Dva"), 2);
    AddClub(db, AddCompetition(db, QStringLiteral("Iná")), QStringLiteral("Cudzí"), 1);
    const CZoznam list = ClubList(db, m_competition);
    ASSERT_EQ(list.RowCount(), 5);
    QStringList names;
    for (const auto& r : list.rows)
        names << r.Cell(1);
    EXPECT_EQ(names, (QStringList{"Bez čísla", "Jeden", "Dva", "Tri", ""}));
    EXPECT_EQ(list.Text(0, 0), QStringLiteral("1"));
    EXPECT_EQ(list.Text(0, 4), QString());
    EXPECT_EQ(list.Text(1, 4), QStringLiteral("1"));
    EXPECT_EQ(list.rows.last().id, 0);
    EXPECT_EQ(ClubListTitle(db, m_competition), QStringLiteral("Zoznam klubov - I. trieda"));

    const CZoznam empty = ClubList(db, AddCompetition(db, QStringLiteral("Prázdna")));
    ASSERT_EQ(empty.RowCount(), 1);
    EXPECT_EQ(empty.rows.at(0).id, 0);
}

TEST_F(Clubs, TheBlankRowAddsAClubAndAnEmptyDrawNumberKeepsTheStoredOne)
{
    CDatabaza& db = m_doc.Database();
    const int id = SaveClub(
        db, 0, m_competition,
        {QStringLiteral("Slovan"), QStringLiteral("Ján"), {}, QStringLiteral("4"), QStringLiteral("pozn")});
    ASSERT_GT(id, 0);
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
    EXPECT_EQ(rs.GetInt(QStringLiteral("skupina")), m_competition);
    EXPECT_EQ(rs.GetInt(QStringLiteral("vylosovanie")), 4);
    EXPECT_EQ(SaveClub(db, id, m_competition, {QStringLiteral("Slovan B"), {}, {}, QString(), QString()}),
              id);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
    EXPECT_EQ(rs.GetText(QStringLiteral("nazov")), QStringLiteral("Slovan B"));
    EXPECT_EQ(rs.GetInt(QStringLiteral("vylosovanie")), 4);
    EXPECT_TRUE(IsValidDrawNumber(QStringLiteral(" 12 ")));
    EXPECT_FALSE(IsValidDrawNumber(QStringLiteral("12a")));
    EXPECT_FALSE(IsValidDrawNumber(QStringLiteral("-1")));

    SaveClubNote(db, id, QString(300, QLatin1Char('x')));
    EXPECT_EQ(ClubNote(db, id).size(), kMaxPoznamkaKlubu);
}

TEST_F(Clubs, AClubPlayingAnyMatchCannotBeRemoved)
{
    CDatabaza& db = m_doc.Database();
    const int home = AddClub(db, m_competition, QStringLiteral("Domáci"), 1);
    const int away = AddClub(db, m_competition, QStringLiteral("Hostia"), 2);
    const int free = AddClub(db, m_competition, QStringLiteral("Voľný"), 3);
    AddMatch(db, m_competition, 1, home, away);
    for (int id : {home, away}) {
        EXPECT_FALSE(RemoveClub(m_doc, id));
        EXPECT_EQ(m_user.messages.last(), kKlubJeAktivny);
    }
    EXPECT_TRUE(m_user.questions.isEmpty());
    m_user.answers = {false, true};
    EXPECT_FALSE(RemoveClub(m_doc, free));
    EXPECT_TRUE(RemoveClub(m_doc, free));
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tkluby")).toInt(), 2);
}

TEST_F(Clubs, PrintAndPageShowTheClubsUnderTheSeasonHeader)
{
    CDatabaza& db = m_doc.Database();
    db.Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2011/2012', 'Kraj', 'Zväz')"));
    AddClub(db, m_competition, QStringLiteral("A & B"), 1);
    AddClub(db, m_competition, QStringLiteral("Bez čísla"), 0);
    CTlacKlubov printout(db, m_competition);
    const auto pages = RecordPages(printout);
    ASSERT_EQ(pages.size(), 1);
    const auto& page = pages.first();
    EXPECT_NE(page.FindText(QStringLiteral("Zoznam klubov - I. trieda")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Sezóna - 2011/2012")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Kraj - Zväz")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("A & B")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Stránka 1/1")), nullptr);
    EXPECT_EQ(page.FindText(QStringLiteral("Los"))->rect.x() <
                  page.FindText(QStringLiteral("Názov klubu"))->rect.x(),
              true);

    const QString html = ExportClubs(db, m_competition).Text();
    EXPECT_TRUE(html.contains(QStringLiteral("<title>Zoznam klubov - I. trieda</title>")));
    EXPECT_TRUE(html.contains(QStringLiteral("align=\"left\" nowrap>A &amp; B</td>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<td style=\"WIDTH: 20px\" vAlign=\"middle\" align=\"center\"><strong>Los")));
    // A club without a number has an empty (&nbsp;) number cell.
    EXPECT_TRUE(html.contains(QStringLiteral("align=\"center\" nowrap>&nbsp;</td>\r\n<td vAlign=\"middle\" "
                                             "align=\"left\" nowrap>Bez čísla")));

    // A competition without clubs prints only the header row.
    const int empty = AddCompetition(db, QStringLiteral("Prázdna"));
    CTlacKlubov none(db, empty);
    const auto paper = RecordPages(none);
    ASSERT_EQ(paper.size(), 1);
    EXPECT_NE(paper.first().FindText(QStringLiteral("Los")), nullptr);
    EXPECT_NE(paper.first().FindText(QStringLiteral("Názov klubu")), nullptr);
    EXPECT_NE(paper.first().FindText(QStringLiteral("Zoznam klubov - Prázdna")), nullptr);
}

class Schedule : public Clubs
{
protected:
    void Generate(int clubs, int rounds, int mode = kDvojkolovo)
    {
        for (int i = 1; i <= clubs; ++i)
            m_clubs << AddClub(m_doc.Database(), m_competition, QStringLiteral("Klub %1").arg(i), i);
        CParametreGenerovania p = CParametreGenerovania::Defaults(rounds, QDate(2011, 6, 1));
        p.mode = mode;
        ASSERT_TRUE(GenerateFixtures(m_doc, m_competition, p));
    }
    int FirstMatch(int round)
    {
        return m_doc.Database()
            .Value(QStringLiteral("select min(ID) from tzapasy where kolo=?"), {round})
            .toInt();
    }
    QVector<int> m_clubs;
};

TEST_F(Schedule, AllRoundsAreSeparatedAndNumberedFromOneEach)
{
    Generate(4, 6);
    CDatabaza& db = m_doc.Database();
    const auto items = RoundItems(db, m_competition);
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items.first().text, QStringLiteral("1. kolo"));
    EXPECT_EQ(items.last().text, QStringLiteral("Všetky kolá"));
    EXPECT_EQ(items.last().round, kVsetkyKola);

    const CZoznam all = ScheduleList(db, m_competition, kVsetkyKola);
    ASSERT_EQ(all.RowCount(), 6 * 2 + 5);
    EXPECT_EQ(all.Text(0, 0), QStringLiteral("1. kolo"));
    EXPECT_EQ(all.Text(0, 1), QStringLiteral("1"));
    EXPECT_EQ(all.Text(1, 0), QString());
    EXPECT_EQ(all.Text(1, 1), QStringLiteral("2"));
    EXPECT_EQ(all.rows.at(2).id, 0);
    EXPECT_EQ(all.Text(2, 2), QString());
    EXPECT_EQ(all.Text(3, 0), QStringLiteral("2. kolo"));
    EXPECT_EQ(all.Text(3, 1), QStringLiteral("1"));
    EXPECT_EQ(all.Text(0, kStlpecCas), QStringLiteral("17:00"));

    const CZoznam one = ScheduleList(db, m_competition, 2);
    ASSERT_EQ(one.RowCount(), 2);
    EXPECT_EQ(one.Text(0, 0), QStringLiteral("2. kolo"));
    EXPECT_EQ(ScheduleTitle(db, m_competition), QStringLiteral("Rozpis zápasov - I. trieda"));
}

TEST_F(Schedule, MidnightShowsNoTimeInTheListButInTheField)
{
    Generate(4, 6);
    CDatabaza& db = m_doc.Database();
    const int match = FirstMatch(1);
    ASSERT_EQ(ConfirmTime(db, match, QDate(2011, 8, 6), QStringLiteral("00:00"), false).matches.size(), 1);
    EXPECT_EQ(ScheduleList(db, m_competition, 1).Text(0, kStlpecCas), QString());
    EXPECT_EQ(MatchFields(db, match)->time, QStringLiteral("00:00"));
    EXPECT_EQ(MatchFields(db, match)->date, QDate(2011, 8, 6));
}

TEST_F(Schedule, AClearedNoteIsStoredAsABlankAndShownEmpty)
{
    Generate(4, 6);
    CDatabaza& db = m_doc.Database();
    const int match = FirstMatch(1);
    EXPECT_EQ(SaveScheduleNote(db, match, QStringLiteral("presunutý")), QStringLiteral("presunutý"));
    EXPECT_EQ(SaveScheduleNote(db, match, QString()), QStringLiteral(" "));
    EXPECT_EQ(db.Value(QStringLiteral("select poznamka2 from tzapasy where ID=?"), {match}).toString(),
              QStringLiteral(" "));
    EXPECT_EQ(MatchFields(db, match)->note, QString());
    EXPECT_EQ(ScheduleList(db, m_competition, 1).Text(0, kStlpecPoznamka), QStringLiteral(" "));
}

TEST_F(Schedule, TypedDrawNumbersRepairAPairingOrChangeNothing)
{
    Generate(4, 6);
    CDatabaza& db = m_doc.Database();
    const int match = FirstMatch(1);
    const auto bye = ApplyDrawNumbers(db, m_competition, match, QStringLiteral("1"), QStringLiteral("0"));
    ASSERT_TRUE(bye);
    EXPECT_EQ(bye->awayName, QStringLiteral("voľno"));
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {match});
    EXPECT_EQ(rs.GetInt(QStringLiteral("klub2")), 0);
    EXPECT_EQ(rs.GetInt(QStringLiteral("los2")), 0);
    EXPECT_EQ(rs.GetInt(QStringLiteral("klub1")), m_clubs.at(0));

    const auto pair = ApplyDrawNumbers(db, m_competition, match, QStringLiteral("3"), QStringLiteral("2"));
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->homeName, QStringLiteral("Klub 3"));
    // No club has 9; a half-typed number is no number: the match stays as it was.
    EXPECT_FALSE(ApplyDrawNumbers(db, m_competition, match, QStringLiteral("9"), QStringLiteral("2")));
    EXPECT_FALSE(ApplyDrawNumbers(db, m_competition, match, QString(), QStringLiteral("2")));
    rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {match});
    EXPECT_EQ(rs.GetInt(QStringLiteral("klub1")), m_clubs.at(2));
    EXPECT_EQ(rs.GetInt(QStringLiteral("klub2")), m_clubs.at(1));
}

TEST_F(Schedule, AWholeRoundGetsTheSameKickOffAndABadTimeChangesNothing)
{
    Generate(6, 10);
    CDatabaza& db = m_doc.Database();
    const int match = FirstMatch(3);
    const CNovyVykop changed = ConfirmTime(db, match, QDate(2011, 9, 3), QStringLiteral("10.30"), true);
    EXPECT_EQ(changed.matches.size(), 3);
    EXPECT_EQ(changed.kickOff, QDateTime(QDate(2011, 9, 3), QTime(10, 30)));
    EXPECT_EQ(
        db.Value(QStringLiteral("select count(*) from tzapasy where kolo=3 and cas='2011-09-03 10:30:00'"))
            .toInt(),
        3);
    EXPECT_EQ(
        db.Value(QStringLiteral("select count(*) from tzapasy where cas='2011-09-03 10:30:00'")).toInt(), 3);

    EXPECT_TRUE(ConfirmTime(db, match, QDate(2011, 9, 4), QStringLiteral("desať"), false).matches.isEmpty());
    EXPECT_TRUE(ConfirmTime(db, match, QDate(2011, 9, 4), QStringLiteral("25:00"), false).matches.isEmpty());
    EXPECT_EQ(MatchFields(db, match)->date, QDate(2011, 9, 3));
    EXPECT_EQ(ParseKickOffTime(QStringLiteral(" 9h05")), QTime(9, 5));
}

TEST_F(Schedule, NineRoundsPrintOnThreePagesOfFourRounds)
{
    Generate(10, 18, kJednokolovo);
    CDatabaza& db = m_doc.Database();
    db.Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2011/2012', 'Kraj', 'Zväz')"));
    CTlacRozpisu all(db, m_competition, kVsetkyKola);
    const auto pages = RecordPages(all);
    ASSERT_EQ(pages.size(), 3);
    const auto headings = [](const CZaznamovaPlocha& page) {
        QStringList out;
        for (const auto& t : page.Texts())
            if (t.text.contains(QStringLiteral(". kolo (")))
                out << t.text.section(QLatin1Char('.'), 0, 0).trimmed();
        return out;
    };
    EXPECT_EQ(headings(pages.at(0)), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(headings(pages.at(1)), (QStringList{"5", "6", "7", "8"}));
    EXPECT_EQ(headings(pages.at(2)), (QStringList{"9"}));
    EXPECT_NE(pages.at(2).FindText(QStringLiteral("Stránka 3/3")), nullptr);
    EXPECT_NE(pages.at(0).FindText(QStringLiteral("Rozpis zápasov v sezóne 2011/2012")), nullptr);
    for (const auto& t : pages.at(0).Texts()) {
        if (t.text.contains(QStringLiteral(". kolo ("))) {
            EXPECT_EQ(t.font.weight, 700);
            EXPECT_TRUE(t.text.startsWith(QStringLiteral(" 1. kolo (")));
            break;
        }
    }

    CTlacRozpisu one(db, m_competition, 5);
    EXPECT_EQ(one.PageCount(), 1);
    EXPECT_EQ(headings(RecordPages(one).first()), (QStringList{"5"}));
}

TEST_F(Schedule, AByeIsPrintedAndExportedWithoutTimeAndNote)
{
    Generate(3, 6);
    CDatabaza& db = m_doc.Database();
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where kolo=1 and klub2=0"));
    ASSERT_FALSE(rs.IsEOF());
    const int bye = rs.GetInt(QStringLiteral("ID"));
    SaveScheduleNote(db, bye, QStringLiteral("nič"));
    CTlacRozpisu printout(db, m_competition, 1);
    const auto page = RecordPages(printout).first();
    const auto texts = page.Texts();
    int i = 0;
    while (i < texts.size() && texts.at(i).text != QStringLiteral("- voľno"))
        ++i;
    ASSERT_LT(i + 2, texts.size());
    EXPECT_EQ(texts.at(i + 1).text, QString());
    EXPECT_EQ(texts.at(i + 2).text, QString());

    const QString html = ExportSchedule(db, m_competition, kVsetkyKola).Text();
    EXPECT_EQ(html.count(QStringLiteral("<table")), 6);
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>I. trieda</h1>")));
    EXPECT_FALSE(html.contains(QStringLiteral("nič")));
    EXPECT_TRUE(html.contains(QStringLiteral(">voľno</td>")));
}

} // namespace
