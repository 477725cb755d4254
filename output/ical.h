#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// Calendars in the iCalendar format that phones and mail programs import: one event per match, its
// start in UTC from the association's time (Europe/Bratislava), lines ended by CR LF and folded at 75
// octets, texts escaped as the format wants. A season's calendars hold a hundred thousand events, so an
// event carries nothing the format does not need.
struct CUdalost
{
    QString uid;         // the same for the same match in every export
    QDateTime start;     // wall-clock time in Bratislava
    bool allDay = false; // the day is known, the hour not
    int minutes = 120;
    QString summary;
    QString description;
    QString url;            // the event's page on the association's site, when it has one
    int sequence = 0;       // how many times what the event shows has changed
    QDateTime lastModified; // when it last changed (UTC); not written when unknown
    int match = 0;          // the match it stands for
    // Postponed without a new date: the event stays where it was, cancelled, until the match has a day.
    bool cancelled = false;
};

// `stamp` is when the file is made (DTSTAMP, in UTC).
QByteArray CalendarBytes(const QString& name, const QVector<CUdalost>& events, const QDateTime& stamp);

// The UTC time of a wall-clock time in Bratislava.
QDateTime BratislavaToUtc(const QDateTime& wallClock);

// A text value with "\", ";", "," and line breaks escaped.
QString IcalText(const QString& text);
// One content line folded so that no line is longer than 75 octets (a UTF-8 character is never split),
// each ended by CR LF.
QByteArray FoldedLine(const QString& line);
