#include "prepocet.h"

#include "competition/CZapas.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/kody.h"

namespace {

// The fourteen counts and sums, as the standings have always been computed; a sum over no rows is 0.
// Every "?" is the club.
const char* const kDotazy[] = {
    "select count(ID) as p from tzapasy where  body1<>100 and (klub1=? or klub2=?)",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and body2<>100 and "
    "((klub1=? and body1>body2) or (klub2=? and body2>body1))",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and (klub1=? or "
    "klub2=?) "
    "and body1=body2",
    "select count(ID) as p from tzapasy where  body1<>100 and ((klub1=? and (body1<body2 or body1=200)) or "
    "(klub2=? and (body2<body1 or body2=200)))",
    "select sum(body1) as p from tzapasy where  body1<>200 and body1<>100 and klub1=?",
    "select sum(body2) as p from tzapasy where  body2<>200 and body2<>100 and klub2=?",
    "select Sum(body2) as p from tzapasy where  body2<>200 and body2<>100 and klub1=?",
    "select Sum(body1) as p from tzapasy where  body1<>200 and body1<>100 and klub2=?",
    "select Sum(body1) as p from tzapasy where  body1=200 and klub1=?",
    "select Sum(body2) as p from tzapasy where  body2=200 and klub2=?",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and klub1=? and "
    "body1=body2",
    "select count(ID) as p from tzapasy where  (body1<>100 and klub1=? and body1<body2) or (body1=200 and "
    "klub1=?)",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and klub2=? and "
    "body1=body2",
    "select count(ID) as p from tzapasy where  body1<>200 and body2<>200 and body1<>100 and klub2=? and "
    "body1<body2",
};

int Result(CDatabaza& db, int index, int club)
{
    const QString sql = QString::fromLatin1(kDotazy[index]);
    QVariantList params;
    for (int i = 0; i < sql.count(QLatin1Char('?')); ++i)
        params << club;
    const QVariant v = db.Value(sql, params);
    // Sums come back as numbers that may not be whole; they are cut to integers.
    return v.isNull() ? 0 : static_cast<int>(v.toDouble());
}

} // namespace

void RecalculateClub(CDatabaza& db, int competition, int club)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tbody where IDklubu=? and skupina=?"), {club, competition});
    if (rs.IsEOF()) {
        rs.AddNew();
        rs.SetFieldValue(QStringLiteral("IDklubu"), club);
        rs.SetFieldValue(QStringLiteral("skupina"), competition);
        rs.Update();
    }
    int p[14];
    for (int i = 0; i < 14; ++i)
        p[i] = Result(db, i, club);
    const int forfeitsHome = (p[8] / kKontumacia) * 3;
    const int forfeitsAway = (p[9] / kKontumacia) * 3;
    const int zapasy = p[0], vyhry = p[1], remizy = p[2], prehry = p[3];
    const int skore1 = p[4] + p[5];
    const int skore2 = p[6] + p[7] + forfeitsHome + forfeitsAway;
    const int plusb = 3 * p[13] + p[12] - 3 * p[11] - 2 * p[10];

    rs.Open(QStringLiteral("select * from tbody where IDklubu=? and skupina=?"), {club, competition});
    if (rs.IsEOF())
        return;
    const int btrest = rs.GetInt(QStringLiteral("btrest"));
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("zapasy"), zapasy);
    rs.SetFieldValue(QStringLiteral("vyhry"), vyhry);
    rs.SetFieldValue(QStringLiteral("remizy"), remizy);
    rs.SetFieldValue(QStringLiteral("prehry"), prehry);
    rs.SetFieldValue(QStringLiteral("skore1"), skore1);
    rs.SetFieldValue(QStringLiteral("skore2"), skore2);
    rs.SetFieldValue(QStringLiteral("body"), 3 * vyhry + remizy - btrest);
    rs.SetFieldValue(QStringLiteral("plusb"), plusb);
    rs.Update();
}

void RecalculateCompetition(CDatabaza& db, int competition)
{
    QVector<int> clubs;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where skupina=?"), {competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        clubs.append(rs.GetInt(QStringLiteral("ID")));
    rs.Close();
    CTransakcia transaction(db);
    for (int club : clubs)
        RecalculateClub(db, competition, club);
    transaction.Commit();
}
