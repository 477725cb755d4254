#include "pomocnik.h"

#include "app/ukazka.h"
#include "db/CDatabaza.h"
#include "db/schema.h"

#include <QLocale>

void SeasonTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    // The tests run with the C locale, where the program speaks Slovak.
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
}

QString SeasonTest::Path(const QString& name) const
{
    return m_dir.filePath(name);
}

QString SeasonTest::NewSeason(const QString& name)
{
    const QString path = Path(name);
    CreateNewSeasonFile(path);
    return path;
}

void SeasonTest::OpenNew(const QString& name)
{
    const QString path = NewSeason(name);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path)) << m_user.messages.join(QStringLiteral("\n")).toStdString();
}

QString SeasonTest::NewDemoSeason(const QString& name, int competitions, int clubs, int players)
{
    const QString path = Path(name);
    CParametreUkazky p;
    p.competitions = competitions;
    p.clubs = clubs;
    p.players = players;
    CreateDemoSeason(path, p);
    return path;
}

int AddCompetition(CDatabaza& db, const QString& name)
{
    db.Execute(QStringLiteral("insert into tsutaze (nazov) values (?)"), {name});
    return static_cast<int>(db.LastInsertId());
}

int AddClub(CDatabaza& db, int competition, const QString& name, int drawNumber)
{
    db.Execute(QStringLiteral("insert into tkluby (nazov, skupina, vylosovanie) values (?, ?, ?)"),
               {name, competition, drawNumber});
    return static_cast<int>(db.LastInsertId());
}

int AddMatch(CDatabaza& db, int competition, int round, int home, int away, int score1, int score2)
{
    db.Execute(QStringLiteral(
                   "insert into tzapasy (skupina, kolo, klub1, klub2, body1, body2) values (?,?,?,?,?,?)"),
               {competition, round, home, away, score1, score2});
    return static_cast<int>(db.LastInsertId());
}
