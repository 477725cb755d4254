#pragma once

#include "output/ical.h"

#include <QHash>

class CDatabaza;

// The season's matches in calendars. An event's UID comes from the season's identifier and the match,
// so that it stays the same however names are edited; its SEQUENCE and LAST-MODIFIED change only when
// what the event shows has changed, as the season keeps them from one publishing to the next.

// The revisions of the matches' events, read once; Apply fills events in, Save writes what changed
// (nothing for a file that may only be read). A match has one revision in every calendar: apply it to
// the match's own event, before a calendar words it its own way.
class CRevizieKalendara
{
public:
    CRevizieKalendara(CDatabaza& db, const QDateTime& now);
    // False for an event that is in no calendar: a match without a day that no calendar had yet.
    bool Apply(CUdalost& event);
    // Drops such events.
    void Apply(QVector<CUdalost>& events);
    void Save();

private:
    struct CRevizia
    {
        QString fingerprint;
        int sequence = 0;
        QDateTime changed;
        bool dirty = false;
        bool seen = false; // applied in this publishing
        QString start;     // as the calendars last had it (StartText)
    };
    CDatabaza& m_db;
    QDateTime m_now;
    bool m_stored = false;
    bool m_storesStart = false; // a season of an older version, read only, keeps no starts
    QHash<int, CRevizia> m_revisions;
};

class CMenaKlubov;
class CZapas;
// One match's event: `seasonId` names the season in its UID, `url` its page on the site (or nothing).
CUdalost MatchEvent(const CZapas& z, const QString& competitionName, const CMenaKlubov& names,
                    const QString& seasonId, const QString& url);

// Where an event links to on the association's site (nothing without the site's address).
enum class COdkazUdalosti { Sutaz, Klub };

// The published site's pages that events link to, one name each for the calendars and the site.
QString ClubPageFile(int club);
// A competition's list page ("rozpis", "tabulka", ...).
QString CompetitionPageFile(int competition, const QString& list);
// The place of a round on a competition's fixtures page.
QString RoundAnchor(int round);
// A match's round on its competition's fixtures page, under the site's address.
QString RoundLink(const QString& site, int competition, int round);

// The matches of one competition (0 for all) and of one club (0 for all). Byes are left out; a match
// without an hour is a whole-day event; one without a date has the no-date start until the revisions
// give it the start the calendars last had (CRevizieKalendara::Apply), or drop it.
QVector<CUdalost> MatchEvents(CDatabaza& db, int competition, int club,
                              COdkazUdalosti link = COdkazUdalosti::Sutaz);
// The calendar's name: the club, else the competition, else the season.
QString CalendarTitle(CDatabaza& db, int competition, int club);
// The calendar file, revisions applied and kept.
QByteArray MatchCalendar(CDatabaza& db, int competition, int club, const QDateTime& stamp);

// The calendar written into the file `path` (WriteWholeFile); the revisions stay in the season only
// with a calendar that was written. Throws CChybaDatabazy.
void WriteMatchCalendar(CDatabaza& db, const QString& path, int competition, int club,
                        const QDateTime& stamp);

inline const QString kFilterKalendara = QStringLiteral("Kalendár iCalendar (*.ics)");
