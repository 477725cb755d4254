#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// Calendars in the iCalendar format that phones and mail programs import: one event per match, in
// the association's time zone (Europe/Bratislava, with its rules written into the file), lines ended
// by CR LF and folded at 75 octets, texts escaped as the format wants.
struct CUdalost
{
    QString uid;         // the same for the same match in every export
    QDateTime start;     // wall-clock time in Bratislava
    bool allDay = false; // the day is known, the hour not
    int minutes = 120;
    QString summary;
    QString location;
    QString description;
};

// `stamp` is when the file is made (DTSTAMP, in UTC).
QByteArray CalendarBytes(const QString& name, const QVector<CUdalost>& events, const QDateTime& stamp);

// A text value with "\", ";", "," and line breaks escaped.
QString IcalText(const QString& text);
// One content line folded so that no line is longer than 75 octets (a UTF-8 character is never split),
// each ended by CR LF.
QByteArray FoldedLine(const QString& line);
