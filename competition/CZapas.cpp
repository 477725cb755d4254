#include "CZapas.h"

#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/kody.h"

#include <algorithm>

CZapas CZapas::FromRow(const CZaznamy& rs)
{
    CZapas z;
    z.id = rs.GetInt(QStringLiteral("ID"));
    // Values other tools left (a text, 999, nothing) read as no result, no half-time, no round.
    z.round = KoloZUlozenia(rs.GetFieldValue(QStringLiteral("kolo"))).value_or(0);
    z.homeClub = rs.GetInt(QStringLiteral("klub1"));
    z.awayClub = rs.GetInt(QStringLiteral("klub2"));
    z.homeDraw = rs.GetInt(QStringLiteral("los1"));
    z.awayDraw = rs.GetInt(QStringLiteral("los2"));
    z.homeScore = SkoreZUlozenia(rs.GetFieldValue(QStringLiteral("body1")));
    z.awayScore = SkoreZUlozenia(rs.GetFieldValue(QStringLiteral("body2")));
    z.homeHalfTime = PolcasZUlozenia(rs.GetFieldValue(QStringLiteral("polcas1")));
    z.awayHalfTime = PolcasZUlozenia(rs.GetFieldValue(QStringLiteral("polcas2")));
    z.kickOff = rs.GetDate(QStringLiteral("cas"));
    z.dateText = DatumTextom(z.kickOff);
    z.timeText = CasTextom(z.kickOff);
    z.note = rs.GetText(QStringLiteral("poznamka"));
    z.scheduleNote = rs.GetText(QStringLiteral("poznamka2"));
    return z;
}

QVector<CZapas> ReadMatches(CDatabaza& db, int competition, int round, int club)
{
    CZaznamy rs(db);
    if (round == kVsetkyKola)
        rs.Open(QStringLiteral("select * from tzapasy where skupina=? order by ID"), {competition});
    else
        rs.Open(QStringLiteral("select * from tzapasy where skupina=? and kolo=? order by ID"),
                {competition, round});
    QVector<CZapas> out;
    out.reserve(rs.GetRecordCount());
    for (; !rs.IsEOF(); rs.MoveNext()) {
        CZapas z = CZapas::FromRow(rs);
        if (club == kVsetkyKluby || z.homeClub == club || z.awayClub == club)
            out.append(std::move(z));
    }
    return out;
}

QPair<int, int> MatchClubs(CDatabaza& db, int match)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select klub1, klub2 from tzapasy where ID=?"), {match});
    if (rs.IsEOF())
        return {0, 0};
    return {rs.GetInt(QStringLiteral("klub1")), rs.GetInt(QStringLiteral("klub2"))};
}

bool MatchIsBye(CDatabaza& db, int match)
{
    return db.Value(QStringLiteral("select count(*) from tzapasy where ID=? and not ") + SqlMedziKlubmi(),
                    {match})
               .toInt() > 0;
}

QVector<int> ReadRounds(CDatabaza& db, int competition)
{
    QVector<int> rounds;
    CPrikaz q(db, QStringLiteral("select distinct kolo from tzapasy where skupina=? order by kolo"),
              {competition});
    while (q.Step())
        if (const std::optional<int> round = KoloZUlozenia(q.Value(0)))
            rounds.append(*round);
    std::sort(rounds.begin(), rounds.end());
    rounds.erase(std::unique(rounds.begin(), rounds.end()), rounds.end());
    return rounds;
}

QVector<QVector<CZapas>> MatchesByRound(CDatabaza& db, int competition, int round, int club)
{
    QVector<CZapas> matches = ReadMatches(db, competition, round, club);
    std::stable_sort(matches.begin(), matches.end(),
                     [](const CZapas& a, const CZapas& b) { return a.round < b.round; });
    QVector<QVector<CZapas>> groups;
    for (const CZapas& z : matches) {
        if (groups.isEmpty() || groups.last().first().round != z.round)
            groups.append(QVector<CZapas>());
        groups.last().append(z);
    }
    return groups;
}
