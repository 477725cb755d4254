#include "ical.h"

namespace {

const QString kZona = QStringLiteral("Europe/Bratislava");

// Central European time as the rules stand since 1996: summer time from the last Sunday of March to the
// last Sunday of October.
const char* const kVTimezone[] = {"BEGIN:VTIMEZONE",
                                  "TZID:Europe/Bratislava",
                                  "X-LIC-LOCATION:Europe/Bratislava",
                                  "BEGIN:DAYLIGHT",
                                  "TZOFFSETFROM:+0100",
                                  "TZOFFSETTO:+0200",
                                  "TZNAME:CEST",
                                  "DTSTART:19700329T020000",
                                  "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
                                  "END:DAYLIGHT",
                                  "BEGIN:STANDARD",
                                  "TZOFFSETFROM:+0200",
                                  "TZOFFSETTO:+0100",
                                  "TZNAME:CET",
                                  "DTSTART:19701025T030000",
                                  "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU",
                                  "END:STANDARD",
                                  "END:VTIMEZONE"};

QString LocalTime(const QDateTime& wallClock)
{
    return wallClock.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
}

} // namespace

QString IcalText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(',')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else if (c.unicode() < 0x20 && c != QLatin1Char('\t')) {
            // Other control characters are not allowed in a text value.
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray FoldedLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray out;
    qsizetype start = 0;
    int limit = 75; // the first line; a continuation line's leading blank counts in its 75
    while (bytes.size() - start > limit) {
        qsizetype end = start + limit;
        // Back to the first byte of a character.
        while (end > start && (static_cast<unsigned char>(bytes.at(end)) & 0xC0) == 0x80)
            --end;
        out += bytes.mid(start, end - start);
        out += "\r\n ";
        start = end;
        limit = 74;
    }
    out += bytes.mid(start);
    out += "\r\n";
    return out;
}

QByteArray CalendarBytes(const QString& name, const QVector<CUdalost>& events, const QDateTime& stamp)
{
    QByteArray out;
    const auto line = [&out](const QString& text) { out += FoldedLine(text); };
    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QStringLiteral("PRODID:-//Agenda Mirak//Agenda Mirak %1//SK").arg(QStringLiteral(MIRAK_VERSION)));
    line(QStringLiteral("CALSCALE:GREGORIAN"));
    line(QStringLiteral("METHOD:PUBLISH"));
    line(QStringLiteral("X-WR-CALNAME:") + IcalText(name));
    line(QStringLiteral("X-WR-TIMEZONE:") + kZona);
    for (const char* text : kVTimezone)
        line(QString::fromLatin1(text));
    const QString dtstamp = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (const CUdalost& e : events) {
        line(QStringLiteral("BEGIN:VEVENT"));
        line(QStringLiteral("UID:") + e.uid);
        line(QStringLiteral("DTSTAMP:") + dtstamp);
        if (e.allDay) {
            line(QStringLiteral("DTSTART;VALUE=DATE:") + e.start.date().toString(QStringLiteral("yyyyMMdd")));
            line(QStringLiteral("DTEND;VALUE=DATE:") +
                 e.start.date().addDays(1).toString(QStringLiteral("yyyyMMdd")));
        } else {
            line(QStringLiteral("DTSTART;TZID=%1:%2").arg(kZona, LocalTime(e.start)));
            line(QStringLiteral("DTEND;TZID=%1:%2").arg(kZona, LocalTime(e.start.addSecs(60LL * e.minutes))));
        }
        line(QStringLiteral("SUMMARY:") + IcalText(e.summary));
        if (!e.location.isEmpty())
            line(QStringLiteral("LOCATION:") + IcalText(e.location));
        if (!e.description.isEmpty())
            line(QStringLiteral("DESCRIPTION:") + IcalText(e.description));
        line(QStringLiteral("END:VEVENT"));
    }
    line(QStringLiteral("END:VCALENDAR"));
    return out;
}
