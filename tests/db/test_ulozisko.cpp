// The store: a new season file, the cursor's moves, reads and writes, and the Jet forms of the
// query text (dates, Like, Slovak order); each test on a file and on a PostgreSQL server.

#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/kody.h"
#include "db/schema.h"
#include "pomocnik.h"
#include "server.h"

#include <gtest/gtest.h>

namespace {

class StoreTest : public SeasonTest, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        if (!GetParam()) {
            m_db.Open(NewSeason());
            return;
        }
        ASSERT_TRUE(SharedServer().Problem().isEmpty()) << SharedServer().Problem().toStdString();
        m_db.Open(UploadedForTest(NewSeason()));
    }
    QStringList Column(const QString& sql, const QString& column, const QVariantList& params = {})
    {
        QStringList values;
        CZaznamy rs(m_db);
        rs.Open(sql, params);
        for (; !rs.IsEOF(); rs.MoveNext())
            values << rs.GetText(column);
        return values;
    }
    CDatabaza m_db;
};

TEST_P(StoreTest, NewSeasonFileHoldsTheTwelveTablesTheEmptyPasswordAndTheOwnGoalPlayer)
{
    for (const QString& t : SeasonTables())
        EXPECT_TRUE(m_db.TableExists(t)) << t.toStdString();
    for (const QString& t : OwnTables())
        EXPECT_TRUE(m_db.TableExists(t)) << t.toStdString();
    EXPECT_EQ(m_db.TableCount(), SeasonTables().size() + OwnTables().size());
    EXPECT_EQ(m_db.Value(QStringLiteral("select count(*) from tsezona")).toInt(), 0);
    EXPECT_EQ(m_db.Value(QStringLiteral("select count(*) from theslo")).toInt(), 1);
    EXPECT_EQ(m_db.Value(QStringLiteral("select heslo from theslo")).toString(), QString());

    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from thraci where RC='vg'"));
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.GetText(QStringLiteral("meno")), QStringLiteral("Vlastný"));
    EXPECT_EQ(rs.GetText(QStringLiteral("priezvisko")), QStringLiteral("gól"));
    EXPECT_EQ(rs.GetInt(QStringLiteral("IDklubu")), 0);
    EXPECT_EQ(rs.GetRecordCount(), 1);
}

TEST_P(StoreTest, NewRowsGetTheDefaultsOtherModulesRelyOn)
{
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from tzapasy"));
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("skupina"), 1);
    rs.Update();
    rs.Open(QStringLiteral("select * from tzapasy"));
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetInt(QStringLiteral("body1")), kBezVysledku);
    EXPECT_EQ(rs.GetInt(QStringLiteral("body2")), kBezVysledku);
    EXPECT_EQ(rs.GetInt(QStringLiteral("polcas1")), kBezVysledku);
    EXPECT_EQ(rs.GetInt(QStringLiteral("polcas2")), kBezVysledku);
    EXPECT_EQ(rs.GetInt(QStringLiteral("kolo")), 0);
    EXPECT_EQ(rs.GetText(QStringLiteral("poznamka2")), QString());
    EXPECT_TRUE(JeZiadnyDatum(rs.GetDate(QStringLiteral("cas"))));

    rs.Open(QStringLiteral("select * from thraci"));
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("meno"), QStringLiteral("Ján"));
    rs.Update();
    const qint64 id = rs.LastInsertId();
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {id});
    EXPECT_EQ(rs.GetInt(QStringLiteral("IDold")), 0);
    EXPECT_TRUE(JeZiadnyDatum(rs.GetDate(QStringLiteral("od"))));
    EXPECT_TRUE(JeZiadnyDatum(rs.GetDate(QStringLiteral("do"))));
}

TEST_P(StoreTest, CursorMovesAndCountsAsTheViewsIterate)
{
    for (int i = 1; i <= 3; ++i)
        AddCompetition(m_db, QStringLiteral("Súťaž %1").arg(i));
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from tsutaze order by ID"));
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_EQ(rs.GetAbsolutePosition(), 0);
    rs.MoveLast();
    EXPECT_EQ(rs.GetAbsolutePosition() + 1, 3);
    rs.MoveFirst();
    QStringList names;
    for (int i = 0; i < 3; ++i, rs.MoveNext())
        names << rs.GetText(QStringLiteral("nazov"));
    EXPECT_EQ(names, (QStringList{"Súťaž 1", "Súťaž 2", "Súťaž 3"}));
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.GetAbsolutePosition(), -1);
    EXPECT_THROW(rs.GetText(QStringLiteral("nazov")), CChybaDatabazy);
    rs.MovePrev();
    EXPECT_EQ(rs.GetText(QStringLiteral("nazov")), QStringLiteral("Súťaž 3"));

    EXPECT_EQ(rs.GetFieldCount(), 2);
    EXPECT_EQ(rs.GetFieldName(0), QStringLiteral("ID"));
    EXPECT_EQ(rs.GetFieldName(1), QStringLiteral("nazov"));
    EXPECT_THROW(rs.GetFieldValue(QStringLiteral("neexistuje")), CChybaDatabazy);

    // An empty result has neither a first nor a last row, and moving to the last is no error.
    rs.Open(QStringLiteral("select * from tkluby"));
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_TRUE(rs.IsBOF());
    rs.MoveLast();
    EXPECT_EQ(rs.GetAbsolutePosition(), -1);
}

TEST_P(StoreTest, ReadsEachKindOfColumnAsItsType)
{
    m_db.Execute(QStringLiteral("insert into trozhodci (meno, znamka, funkcia) values ('Peter', ?, 1)"),
                 {7.5f});
    m_db.Execute(QStringLiteral("insert into thraci (meno, od) values ('Ján', '2011-03-05 17:30:00')"));
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from trozhodci"));
    EXPECT_EQ(rs.GetFieldValue(QStringLiteral("funkcia")).typeId(), QMetaType::Int);
    EXPECT_EQ(rs.GetFieldValue(QStringLiteral("znamka")).typeId(), QMetaType::Double);
    EXPECT_FLOAT_EQ(rs.GetSingle(QStringLiteral("znamka")), 7.5f);
    EXPECT_EQ(rs.GetFieldValue(QStringLiteral("meno")).typeId(), QMetaType::QString);
    rs.Open(QStringLiteral("select * from thraci where meno='Ján'"));
    EXPECT_EQ(rs.GetFieldValue(QStringLiteral("od")).typeId(), QMetaType::QDateTime);
    EXPECT_EQ(rs.GetDate(QStringLiteral("od")), QDateTime(QDate(2011, 3, 5), QTime(17, 30)));
    // Sums over no rows are empty and read as 0.
    rs.Open(QStringLiteral("select sum(body1) as p from tzapasy"));
    EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("p")).isNull());
    EXPECT_EQ(rs.GetInt(QStringLiteral("p")), 0);
}

TEST_P(StoreTest, EditAddAndDeleteWriteThroughTheCursor)
{
    const int a = AddCompetition(m_db, QStringLiteral("A"));
    AddCompetition(m_db, QStringLiteral("B"));
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from tsutaze where ID=?"), {a});
    ASSERT_TRUE(rs.CanUpdate());
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("nazov"), QStringLiteral("I. trieda"));
    rs.Update();
    EXPECT_EQ(rs.GetText(QStringLiteral("nazov")), QStringLiteral("I. trieda"));
    EXPECT_EQ(Column(QStringLiteral("select * from tsutaze order by ID"), QStringLiteral("nazov")),
              (QStringList{"I. trieda", "B"}));

    rs.Open(QStringLiteral("select * from tsutaze"));
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("nazov"), QStringLiteral("C"));
    rs.Update();
    EXPECT_GT(rs.LastInsertId(), a);

    // Deleting row by row while walking, as the clearing of a competition does.
    rs.Open(QStringLiteral("select * from tsutaze"));
    for (; !rs.IsEOF(); rs.MoveNext())
        rs.Delete();
    EXPECT_EQ(m_db.Value(QStringLiteral("select count(*) from tsutaze")).toInt(), 0);

    // IDs are never given again: a new row does not take over references of a deleted one.
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("nazov"), QStringLiteral("D"));
    rs.Update();
    EXPECT_GT(rs.LastInsertId(), a + 2);
}

TEST_P(StoreTest, GroupedAndJoinedQueriesCannotBeWritten)
{
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select count(ID) as p from tzapasy"));
    EXPECT_FALSE(rs.CanUpdate());
    EXPECT_THROW(rs.Edit(), CChybaDatabazy);
    rs.Open(QStringLiteral("select tkluby.nazov from tkluby, tsutaze where tkluby.skupina=tsutaze.ID"));
    EXPECT_FALSE(rs.CanUpdate());
    rs.Open(QStringLiteral("select body1, body2 from tzapasy where ID=1"));
    EXPECT_TRUE(rs.CanUpdate());
}

TEST_P(StoreTest, DateLiteralsSelectTheRightRowsAtBothEdgesOfADay)
{
    const QStringList times = {"2011-03-04 23:59:59", "2011-03-05 00:00:00", "2011-03-05 14:30:00",
                               "2011-03-05 23:59:59", "2011-03-06 00:00:00"};
    for (const QString& t : times)
        m_db.Execute(QStringLiteral("insert into tzapasy (cas, poznamka) values (?, ?)"), {t, t});
    const QString day = QStringLiteral("select * from tzapasy where tzapasy.cas>=#03-05-2011 00:00:00# and "
                                       "tzapasy.cas<#03-05-2011 23:59:59# order by ID");
    EXPECT_EQ(Column(day, QStringLiteral("poznamka")),
              (QStringList{"2011-03-05 00:00:00", "2011-03-05 14:30:00"}));
    EXPECT_EQ(Column(QStringLiteral("select * from tzapasy where cas=#3-5-2011# order by ID"),
                     QStringLiteral("poznamka")),
              (QStringList{"2011-03-05 00:00:00"}));
    EXPECT_EQ(Column(QStringLiteral("select * from tzapasy where cas>#03-05-2011 13:30:00# and "
                                    "cas<#03-05-2011 15:30:00#"),
                     QStringLiteral("poznamka")),
              (QStringList{"2011-03-05 14:30:00"}));
    // A "#" inside a text is a character, not a date.
    EXPECT_EQ(Column(QStringLiteral("select '#1#' as p"), QStringLiteral("p")), (QStringList{"#1#"}));
    EXPECT_THROW(Column(QStringLiteral("select * from tzapasy where cas<#13-45-2011#"), QStringLiteral("ID")),
                 CChybaDatabazy);
}

TEST_P(StoreTest, TextsRoundTripUnchanged)
{
    const QString text = QStringLiteral("O'Neil \"Čert\" 100% * ? _ ľščťžýáíéúäňô ĽŠČŤŽÝÁÍÉÚÄŇÔ 😀⚽ ;--");
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from tkluby"));
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("nazov"), text);
    rs.SetFieldValue(QStringLiteral("pozn"), text);
    rs.Update();
    rs.Open(QStringLiteral("select * from tkluby"));
    EXPECT_EQ(rs.GetText(QStringLiteral("nazov")), text);
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("kontakt1"), text);
    rs.Update();
    rs.Open(QStringLiteral("select * from tkluby where nazov=?"), {text});
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.GetText(QStringLiteral("kontakt1")), text);
}

TEST_P(StoreTest, LikeFollowsJetWildcardsAndIgnoresCase)
{
    for (const char* n : {"Novák", "Nováková", "novotný", "Kováč", "Šťastný", "100% Nov", "A*B"})
        m_db.Execute(QStringLiteral("insert into thraci (priezvisko) values (?)"), {QString::fromUtf8(n)});
    const auto like = [this](const QString& pattern) {
        return Column(QStringLiteral("select * from thraci where priezvisko Like ? order by ID"),
                      QStringLiteral("priezvisko"), {pattern});
    };
    EXPECT_EQ(like(QStringLiteral("Nov*")), (QStringList{"Novák", "Nováková", "novotný"}));
    EXPECT_EQ(like(QStringLiteral("šť*")), (QStringList{"Šťastný"}));
    EXPECT_EQ(like(QStringLiteral("Kov?č")), (QStringList{"Kováč"}));
    // "%" and "_" are plain characters in Jet's Like.
    EXPECT_EQ(like(QStringLiteral("100%*")), (QStringList{"100% Nov"}));
    EXPECT_TRUE(like(QStringLiteral("Nov%")).isEmpty());
    EXPECT_EQ(like(QStringLiteral("*[*]*")), (QStringList{"A*B"}));
    // Everyone but the three N's, the own-goal player "gól" included.
    EXPECT_EQ(like(QStringLiteral("[!N]*")).size(), 5);
    EXPECT_EQ(Column(QStringLiteral("select * from thraci where priezvisko Like 'Nováko*'"),
                     QStringLiteral("priezvisko")),
              (QStringList{"Nováková"}));
}

TEST_P(StoreTest, NamesSortInSlovakAlphabeticalOrder)
{
    const QStringList shuffled = {"Žilka",  "Chovanec", "Šimko", "ábel", "Cibula", "Hudák", "Zubo",
                                  "Čierny", "Adam",     "Sokol", "Ivan", "Ďurica", "Dorko", "Äbi"};
    for (const QString& n : shuffled)
        m_db.Execute(QStringLiteral("insert into trozhodci (priezvisko, meno) values (?, 'X')"), {n});
    EXPECT_EQ(Column(QStringLiteral("select * from trozhodci order by priezvisko, meno"),
                     QStringLiteral("priezvisko")),
              (QStringList{"ábel", "Adam", "Äbi", "Cibula", "Čierny", "Dorko", "Ďurica", "Hudák", "Chovanec",
                           "Ivan", "Sokol", "Šimko", "Zubo", "Žilka"}));
    // An acute accent is a second-level difference: it decides only between otherwise equal names.
    for (const QString& n : {QStringLiteral("Ádám"), QStringLiteral("adam")})
        m_db.Execute(QStringLiteral("insert into trozhodci (priezvisko, meno) values (?, 'X')"), {n});
    const QStringList all =
        Column(QStringLiteral("select * from trozhodci order by priezvisko"), QStringLiteral("priezvisko"));
    EXPECT_EQ(all.mid(1, 3), (QStringList{"adam", "Adam", "Ádám"}));
    EXPECT_EQ(Column(QStringLiteral("select * from trozhodci order by trozhodci.priezvisko desc"),
                     QStringLiteral("priezvisko"))
                  .first(),
              QStringLiteral("Žilka"));
}

INSTANTIATE_TEST_SUITE_P(Engines, StoreTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "server" : "subor";
                         });

} // namespace
