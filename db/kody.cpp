#include "kody.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

QDateTime CasSezony(const QDate& day, const QTime& time)
{
    return QDateTime(day, time, Qt::UTC);
}

QDateTime ZiadnyDatum()
{
    return CasSezony(QDate(1900, 1, 1));
}

bool JeZiadnyDatum(const QDateTime& value)
{
    return !value.isValid() || value.date() == QDate(1900, 1, 1);
}

QString DatumNaUlozenie(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime DatumZUlozenia(const QString& text)
{
    // The stored form is read by hand: it is read for every match of every list, and the general
    // parser is many times slower.
    if (text.size() == 19 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-') &&
        text.at(10) == QLatin1Char(' ') && text.at(13) == QLatin1Char(':') &&
        text.at(16) == QLatin1Char(':')) {
        const auto number = [&text](int from, int length) {
            int v = 0;
            for (int i = from; i < from + length; ++i) {
                const int d = text.at(i).digitValue();
                if (d < 0 || d > 9)
                    return -1;
                v = v * 10 + d;
            }
            return v;
        };
        const QDate day(number(0, 4), number(5, 2), number(8, 2));
        const QTime time(number(11, 2), number(14, 2), number(17, 2));
        if (day.isValid() && time.isValid())
            return CasSezony(day, time);
    }
    const QString t = text.trimmed();
    const QDate day = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return {};
    const QString rest = t.mid(10).trimmed();
    if (rest.isEmpty())
        return CasSezony(day);
    for (const char* form : {"HH:mm:ss", "HH:mm", "H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(rest, QString::fromLatin1(form));
        if (time.isValid())
            return CasSezony(day, time);
    }
    return {};
}

QString FormatDatumu()
{
    // A short date of two-digit years (Czech, German, English) would read back a hundred years off.
    static const QRegularExpression years(QStringLiteral("y+"));
    return QLocale().dateFormat(QLocale::ShortFormat).replace(years, QStringLiteral("yyyy"));
}

QString DatumTextom(const QDate& day)
{
    return QLocale().toString(day, FormatDatumu());
}

QString DatumTextom(const QDateTime& value)
{
    if (JeZiadnyDatum(value))
        return {};
    return DatumTextom(value.date());
}

QString DenTextom(const QDate& day)
{
    return day.isValid() ? QStringLiteral("%1. %2. %3").arg(day.day()).arg(day.month()).arg(day.year())
                         : QString();
}

QDate DatumZTextu(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    // Slovak users type dates with dots, with or without blanks and leading zeros, whatever the
    // system's locale is. A text of that form is never read any other way, so that 31.2.2024 is
    // refused rather than taken for another day.
    static const QRegularExpression dots(
        QStringLiteral(R"(^(\d{1,2})\s*\.\s*(\d{1,2})\s*\.\s*(\d{4}|\d{2})\s*\.?$)"));
    if (const QRegularExpressionMatch m = dots.match(t); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.capturedLength(3) == 2)
            year += kPrvyRokDvojcifernych;
        return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
    }
    if (const QDate iso = QDate::fromString(t, Qt::ISODate); iso.isValid())
        return iso;
    const QLocale locale;
    for (const QString& format :
         {FormatDatumu(), locale.dateFormat(QLocale::ShortFormat), locale.dateFormat(QLocale::LongFormat)}) {
        const QDate d = locale.toDate(t, format);
        if (!d.isValid())
            continue;
        if (format.contains(QStringLiteral("yyyy")))
            return d;
        const QDate shifted(kPrvyRokDvojcifernych + d.year() % 100, d.month(), d.day());
        if (shifted.isValid())
            return shifted;
    }
    return {};
}

QString CasTextom(const QDateTime& value)
{
    const QTime t = value.time();
    if (t.hour() == 0 && t.minute() == 0)
        return {};
    return CasPolicko(value);
}

QString CasPolicko(const QDateTime& value)
{
    const QTime t = value.time();
    return QStringLiteral("%1:%2")
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'));
}

std::optional<int> CisloNaZaciatku(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    const qsizetype digits = i;
    while (i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'))
        ++i;
    if (i == digits)
        return std::nullopt;
    bool ok = false;
    const qlonglong v = text.mid(start, i - start).toLongLong(&ok);
    if (!ok || v > INT_MAX || v < INT_MIN)
        return std::nullopt;
    return static_cast<int>(v);
}

QString SkoreTextom(int score)
{
    if (score == kBezVysledku)
        return {};
    if (score == kKontumacia)
        return kKontumaciaText;
    return QString::number(score);
}

QString PolcasTextom(int score)
{
    return score == kBezVysledku ? QString() : QString::number(score);
}

QString ZnamkaTextom(double mark)
{
    if (mark < 1)
        return {};
    const float single = static_cast<float>(mark);
    if (single == static_cast<float>(static_cast<int>(single)))
        return QString::number(static_cast<int>(single));
    return QString::number(static_cast<double>(single), 'f', 1);
}

float ZnamkaZTextu(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // "%f": the longest number at the start; the rest is ignored.
    int end = 0;
    bool dot = false, digits = false;
    if (end < t.size() && (t.at(end) == QLatin1Char('-') || t.at(end) == QLatin1Char('+')))
        ++end;
    while (end < t.size() && (t.at(end).isDigit() || (t.at(end) == QLatin1Char('.') && !dot))) {
        if (t.at(end) == QLatin1Char('.'))
            dot = true;
        else
            digits = true;
        ++end;
    }
    if (!digits)
        return 0;
    return t.left(end).toFloat();
}

std::optional<qint64> CeleCisloZUlozenia(const QVariant& stored)
{
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::UShort:
        return stored.toLongLong();
    case QMetaType::Double: {
        const double d = stored.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
            return static_cast<qint64>(d);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

int SkoreZUlozenia(const QVariant& stored)
{
    const auto n = CeleCisloZUlozenia(stored);
    if (!n)
        return kBezVysledku;
    if ((*n >= 0 && *n <= 99) || *n == kBezVysledku || *n == kKontumacia)
        return static_cast<int>(*n);
    return kBezVysledku;
}

int PolcasZUlozenia(const QVariant& stored)
{
    const auto n = CeleCisloZUlozenia(stored);
    return n && *n >= 0 && *n <= 99 ? static_cast<int>(*n) : kBezVysledku;
}

std::optional<int> KoloZUlozenia(const QVariant& stored)
{
    const auto n = CeleCisloZUlozenia(stored);
    if (n && *n >= 1 && *n <= INT_MAX)
        return static_cast<int>(*n);
    return std::nullopt;
}

QString SqlMedziKlubmi()
{
    return QStringLiteral(
        "(tzapasy.klub1 in (select ID from tkluby) and tzapasy.klub2 in (select ID from tkluby))");
}

QString SqlMaVysledok()
{
    const QString home = QStringLiteral("%1(tzapasy.body1)").arg(QLatin1String(kSqlSkore));
    const QString away = QStringLiteral("%1(tzapasy.body2)").arg(QLatin1String(kSqlSkore));
    return QStringLiteral("((%1<>%3 and %2<>%3) or %1=%4 or %2=%4)")
        .arg(home, away)
        .arg(kBezVysledku)
        .arg(kKontumacia);
}

int ZnamkaVDesatinach(float mark)
{
    return static_cast<int>(std::lround(static_cast<double>(mark) * 10.0));
}

QString SqlNominaciaMaZapas()
{
    return QStringLiteral("tnominacie.IDzapasu in (select ID from tzapasy)");
}
