#pragma once

#include "output/ical.h"

class CDatabaza;

// The season's matches in a calendar: of one competition (0 for all) and of one club (0 for all).
// Byes and matches without a date are left out; a match without an hour is a whole-day event.
QVector<CUdalost> MatchEvents(CDatabaza& db, int competition, int club);
// The calendar's name: the club, else the competition, else the season.
QString CalendarTitle(CDatabaza& db, int competition, int club);
QByteArray MatchCalendar(CDatabaza& db, int competition, int club, const QDateTime& stamp);

inline const QString kFilterKalendara = QStringLiteral("Kalendár iCalendar (*.ics)");
