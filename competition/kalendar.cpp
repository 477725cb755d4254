#include "kalendar.h"

#include "competition/CZapas.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"

#include <QCryptographicHash>

namespace {

// Tells this season's matches from another's in a calendar that holds both: the association and the
// season, as the season's record names them.
QString SeasonKey(CDatabaza& db)
{
    const CHlavicka h = CHlavicka::Read(db);
    const QByteArray hash =
        QCryptographicHash::hash((h.zvaz + QLatin1Char('/') + h.nazov).toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex().left(12));
}

QString ResultText(const CZapas& z)
{
    if (!MaVysledok(z.homeScore, z.awayScore))
        return {};
    QString text = QStringLiteral("Výsledok %1 : %2").arg(SkoreTextom(z.homeScore), SkoreTextom(z.awayScore));
    if (z.homeHalfTime != kBezVysledku && z.awayHalfTime != kBezVysledku)
        text += QStringLiteral(" (%1 : %2)").arg(PolcasTextom(z.homeHalfTime), PolcasTextom(z.awayHalfTime));
    return text;
}

} // namespace

QVector<CUdalost> MatchEvents(CDatabaza& db, int competition, int club)
{
    const QString key = SeasonKey(db);
    const CMenaKlubov names(db);
    const QHash<int, QString> competitions = CompetitionNames(db);

    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where (?=0 or skupina=?) and (?=0 or klub1=? or klub2=?) "
                           "and klub1<>0 and klub2<>0 order by cas, ID"),
            {competition, competition, club, club, club});
    QVector<CUdalost> events;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const CZapas z = CZapas::FromRow(rs);
        if (JeZiadnyDatum(z.kickOff))
            continue;
        CUdalost e;
        e.uid = QStringLiteral("zapas-%1-%2@agenda-mirak").arg(z.id).arg(key);
        e.start = z.kickOff;
        e.allDay = z.timeText.isEmpty();
        const QString home = names.Name(z.homeClub);
        e.summary = QStringLiteral("%1 – %2").arg(home, names.Name(z.awayClub));
        e.location = home;
        QStringList description = {QStringLiteral("%1, %2. kolo")
                                       .arg(competitions.value(rs.GetInt(QStringLiteral("skupina"))))
                                       .arg(z.round)};
        if (!ResultText(z).isEmpty())
            description << ResultText(z);
        if (!z.scheduleNote.trimmed().isEmpty())
            description << z.scheduleNote.trimmed();
        if (!z.note.trimmed().isEmpty())
            description << z.note.trimmed();
        e.description = description.join(QLatin1Char('\n'));
        events << e;
    }
    return events;
}

QString CalendarTitle(CDatabaza& db, int competition, int club)
{
    if (club != 0)
        return QStringLiteral("%1 – zápasy").arg(CMenaKlubov(db).Name(club));
    if (competition != 0)
        return CompetitionName(db, competition);
    return QStringLiteral("Sezóna %1").arg(CHlavicka::Read(db).nazov);
}

QByteArray MatchCalendar(CDatabaza& db, int competition, int club, const QDateTime& stamp)
{
    return CalendarBytes(CalendarTitle(db, competition, club), MatchEvents(db, competition, club), stamp);
}
