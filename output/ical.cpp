#include "ical.h"

namespace {

const QString kZona = QStringLiteral("Europe/Bratislava");

QDate LastSunday(int year, int month)
{
    QDate day(year, month, QDate(year, month, 1).daysInMonth());
    return day.addDays(-(day.dayOfWeek() % 7));
}

// Without QDateTime::toString or a format string: a season's calendars write this a hundred thousand
// times.
QString UtcText(const QDateTime& utc)
{
    const QDate d = utc.date();
    const QTime t = utc.time();
    char text[16];
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = static_cast<char>('0' + value % 10);
    };
    put(0, d.year(), 4);
    put(4, d.month(), 2);
    put(6, d.day(), 2);
    text[8] = 'T';
    put(9, t.hour(), 2);
    put(11, t.minute(), 2);
    put(13, t.second(), 2);
    text[15] = 'Z';
    return QString::fromLatin1(text, 16);
}

// A duration as the format writes it: whole hours as hours.
QString DurationText(int minutes)
{
    return minutes % 60 == 0 ? QStringLiteral("PT%1H").arg(minutes / 60)
                             : QStringLiteral("PT%1M").arg(minutes);
}

} // namespace

QDateTime BratislavaToUtc(const QDateTime& wallClock)
{
    // Central European time as the rules stand since 1996: summer time from 1:00 UTC on the last Sunday
    // of March to 1:00 UTC on the last Sunday of October. The rule is the file's, not the machine's
    // time-zone data, which a fresh machine may not have.
    const QDateTime clock(wallClock.date(), wallClock.time(), Qt::UTC);
    const int year = clock.date().year();
    const QDateTime summerFrom(LastSunday(year, 3), QTime(1, 0), Qt::UTC);
    const QDateTime summerTo(LastSunday(year, 10), QTime(1, 0), Qt::UTC);
    const QDateTime winter = clock.addSecs(-3600);
    return winter >= summerFrom && winter < summerTo ? clock.addSecs(-7200) : winter;
}

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
    const QString dtstamp = UtcText(stamp.toUTC());
    for (const CUdalost& e : events) {
        line(QStringLiteral("BEGIN:VEVENT"));
        line(QStringLiteral("UID:") + e.uid);
        // An event's stamp is its revision's time: a calendar republished unchanged is the same file.
        line(QStringLiteral("DTSTAMP:") +
             (e.lastModified.isValid() ? UtcText(e.lastModified.toUTC()) : dtstamp));
        // An event as first published says nothing of its revisions: 0 is the format's own default, and
        // the lines cost a season's calendars megabytes.
        if (e.sequence > 0)
            line(QStringLiteral("SEQUENCE:%1").arg(e.sequence));
        if (e.sequence > 0 && e.lastModified.isValid())
            line(QStringLiteral("LAST-MODIFIED:") + UtcText(e.lastModified.toUTC()));
        // A revised event says it stands, so that a calendar that had it cancelled takes it back.
        if (e.cancelled)
            line(QStringLiteral("STATUS:CANCELLED"));
        else if (e.sequence > 0)
            line(QStringLiteral("STATUS:CONFIRMED"));
        if (e.allDay) {
            line(QStringLiteral("DTSTART;VALUE=DATE:") + e.start.date().toString(QStringLiteral("yyyyMMdd")));
            line(QStringLiteral("DURATION:P1D"));
        } else {
            line(QStringLiteral("DTSTART:") + UtcText(BratislavaToUtc(e.start)));
            line(QStringLiteral("DURATION:") + DurationText(e.minutes));
        }
        line(QStringLiteral("SUMMARY:") + IcalText(e.summary));
        if (!e.description.isEmpty())
            line(QStringLiteral("DESCRIPTION:") + IcalText(e.description));
        if (!e.url.isEmpty())
            line(QStringLiteral("URL:") + e.url);
        line(QStringLiteral("END:VEVENT"));
    }
    line(QStringLiteral("END:VCALENDAR"));
    return out;
}
