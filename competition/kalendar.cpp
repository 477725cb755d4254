#include "kalendar.h"

#include "competition/CZapas.h"
#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/nastaveniasezony.h"
#include "db/schema.h"
#include "db/subory.h"

#include <QCryptographicHash>

#include <optional>

namespace {

QString ResultText(const CZapas& z)
{
    if (!MaVysledok(z.homeScore, z.awayScore))
        return {};
    QString text = QStringLiteral("Výsledok %1 : %2").arg(SkoreTextom(z.homeScore), SkoreTextom(z.awayScore));
    if (z.homeHalfTime != kBezVysledku && z.awayHalfTime != kBezVysledku)
        text += QStringLiteral(" (%1 : %2)").arg(PolcasTextom(z.homeHalfTime), PolcasTextom(z.awayHalfTime));
    return text;
}

// What an event shows, reduced to a short text that changes when any of it does.
QString Fingerprint(const CUdalost& e)
{
    // The link is not what the event shows: the same match links to its club's page in one calendar and
    // to its competition's in another.
    QString all =
        QStringList{e.summary, e.start.toString(Qt::ISODate), e.allDay ? QStringLiteral("1") : QString(),
                    QString::number(e.minutes), e.description}
            .join(QChar(0x1f));
    // Added only when it is so, so that the revisions of every other event stay as they were.
    if (e.cancelled)
        all += QChar(0x1f) + QStringLiteral("zrušené");
    return QString::fromLatin1(QCryptographicHash::hash(all.toUtf8(), QCryptographicHash::Sha1).toHex());
}

// The start an event was last published with: a day alone for a whole-day event.
QString StartText(const CUdalost& e)
{
    return e.allDay ? e.start.date().toString(Qt::ISODate) : DatumNaUlozenie(e.start);
}

} // namespace

CRevizieKalendara::CRevizieKalendara(CDatabaza& db, const QDateTime& now) : m_db(db), m_now(now.toUTC())
{
    m_stored = db.TableExists(kTabulkaKalendara);
    if (!m_stored)
        return;
    m_storesStart = db.ColumnNames(kTabulkaKalendara).contains(kKalendarZaciatok, Qt::CaseInsensitive);
    CPrikaz q(db, QStringLiteral("select IDzapasu, odtlacok, sekvencia, zmena, %2 from %1")
                      .arg(kTabulkaKalendara, m_storesStart ? kKalendarZaciatok : QStringLiteral("''")));
    while (q.Step()) {
        QDateTime changed = QDateTime::fromString(q.Text(3), Qt::ISODate);
        changed.setTimeSpec(Qt::UTC);
        CRevizia r;
        r.fingerprint = q.Text(1);
        r.sequence = static_cast<int>(q.Int64(2));
        r.changed = changed;
        r.start = q.Text(4);
        m_revisions.insert(static_cast<int>(q.Int64(0)), r);
    }
}

bool CRevizieKalendara::Apply(CUdalost& e)
{
    auto it = m_revisions.find(e.match);
    if (JeZiadnyDatum(e.start)) {
        // A match that lost its day stays where the calendars had it (cancelled, as MatchEvent says when
        // it is unplayed); one that never had a day is in none.
        if (it == m_revisions.end() || it->start.isEmpty())
            return false;
        e.allDay = it->start.size() == 10;
        e.start = DatumZUlozenia(it->start);
    }
    // A match is in several calendars of one publishing, each time the same event.
    if (it != m_revisions.end() && it->seen) {
        e.sequence = it->sequence;
        e.lastModified = it->changed;
        return true;
    }
    const QString fingerprint = Fingerprint(e);
    const QString start = StartText(e);
    if (it == m_revisions.end()) {
        CRevizia r;
        r.fingerprint = fingerprint;
        r.changed = m_now;
        r.dirty = true;
        r.start = start;
        it = m_revisions.insert(e.match, r);
    } else {
        if (it->fingerprint != fingerprint) {
            it->fingerprint = fingerprint;
            ++it->sequence;
            it->changed = m_now;
            it->dirty = true;
        }
        if (m_storesStart && it->start != start) {
            it->start = start;
            it->dirty = true;
        }
    }
    it->seen = true;
    e.sequence = it->sequence;
    e.lastModified = it->changed;
    return true;
}

void CRevizieKalendara::Apply(QVector<CUdalost>& events)
{
    QVector<CUdalost> kept;
    kept.reserve(events.size());
    for (CUdalost& e : events)
        if (Apply(e))
            kept.append(std::move(e));
    events = std::move(kept);
}

void CRevizieKalendara::Save()
{
    if (!m_stored || m_db.IsReadOnly())
        return;
    CTransakcia transaction(m_db);
    CPrikaz write(m_db,
                  m_storesStart
                      ? QStringLiteral("insert or replace into %1 (IDzapasu, odtlacok, sekvencia, zmena, %2) "
                                       "values (?,?,?,?,?)")
                            .arg(kTabulkaKalendara, kKalendarZaciatok)
                      : QStringLiteral("insert or replace into %1 (IDzapasu, odtlacok, sekvencia, zmena) "
                                       "values (?,?,?,?)")
                            .arg(kTabulkaKalendara));
    for (auto it = m_revisions.begin(); it != m_revisions.end(); ++it)
        if (it->dirty) {
            QVariantList values = {it.key(), it->fingerprint, it->sequence,
                                   it->changed.toString(Qt::ISODate)};
            if (m_storesStart)
                values << it->start;
            write.Execute(values);
            it->dirty = false;
        }
    transaction.Commit();
}

CUdalost MatchEvent(const CZapas& z, const QString& competitionName, const CMenaKlubov& names,
                    const QString& seasonId, const QString& url)
{
    CUdalost e;
    e.match = z.id;
    // The season's identifier is random: twelve of its digits tell seasons apart, and the UID is written
    // a hundred thousand times in a season's calendars.
    e.uid = QStringLiteral("%1-%2").arg(QString(seasonId).remove(QLatin1Char('-')).left(12)).arg(z.id);
    e.start = z.kickOff;
    e.allDay = z.timeText.isEmpty();
    e.cancelled = JeZiadnyDatum(z.kickOff) && !MaVysledok(z.homeScore, z.awayScore);
    const QString home = names.Name(z.homeClub);
    e.summary = QStringLiteral("%1 – %2").arg(home, names.Name(z.awayClub));
    QStringList description = {QStringLiteral("%1, %2. kolo").arg(competitionName, QString::number(z.round))};
    if (!ResultText(z).isEmpty())
        description << ResultText(z);
    if (!z.scheduleNote.trimmed().isEmpty())
        description << z.scheduleNote.trimmed();
    if (!z.note.trimmed().isEmpty())
        description << z.note.trimmed();
    e.description = description.join(QLatin1Char('\n'));
    e.url = url;
    return e;
}

QString ClubPageFile(int club)
{
    return QStringLiteral("klub-%1.html").arg(club);
}

QString CompetitionPageFile(int competition, const QString& list)
{
    return QStringLiteral("sutaz-%1-%2.html").arg(competition).arg(list);
}

QString RoundAnchor(int round)
{
    return QStringLiteral("kolo-%1").arg(round);
}

QString RoundLink(const QString& site, int competition, int round)
{
    return site + QLatin1Char('/') + CompetitionPageFile(competition, QStringLiteral("rozpis")) +
           QLatin1Char('#') + RoundAnchor(round);
}

QVector<CUdalost> MatchEvents(CDatabaza& db, int competition, int club, COdkazUdalosti link)
{
    const QString season = SeasonIdentifier(db);
    const QString site = SiteAddress(db);
    const CMenaKlubov names(db);
    const QHash<int, QString> competitions = CompetitionNames(db);

    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where (?=0 or skupina=?) and (?=0 or klub1=? or klub2=?) "
                           "and klub1<>0 and klub2<>0 order by cas, ID"),
            {competition, competition, club, club, club});
    QVector<CUdalost> events;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        // A match without a day is kept: the revisions know whether the calendars had it.
        const CZapas z = CZapas::FromRow(rs);
        const int competitionOf = rs.GetInt(QStringLiteral("skupina"));
        QString url;
        if (!site.isEmpty())
            url = link == COdkazUdalosti::Klub && club != 0 ? site + QLatin1Char('/') + ClubPageFile(club)
                                                            : RoundLink(site, competitionOf, z.round);
        events << MatchEvent(z, competitions.value(competitionOf), names, season, url);
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
    QVector<CUdalost> events =
        MatchEvents(db, competition, club, club != 0 ? COdkazUdalosti::Klub : COdkazUdalosti::Sutaz);
    CRevizieKalendara revisions(db, stamp);
    revisions.Apply(events);
    revisions.Save();
    return CalendarBytes(CalendarTitle(db, competition, club), events, stamp);
}

void WriteMatchCalendar(CDatabaza& db, const QString& path, int competition, int club, const QDateTime& stamp)
{
    std::optional<CTransakcia> transaction;
    if (!db.IsReadOnly())
        transaction.emplace(db);
    WriteWholeFile(path, MatchCalendar(db, competition, club, stamp));
    if (transaction)
        transaction->Commit();
}
