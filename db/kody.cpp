#include "kody.h"

#include <QLocale>

QDateTime ZiadnyDatum()
{
    return QDateTime(QDate(1900, 1, 1), QTime(0, 0));
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
    const QString t = text.trimmed();
    QDateTime d = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (d.isValid())
        return d;
    d = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm"));
    if (d.isValid())
        return d;
    const QDate day = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    if (day.isValid())
        return QDateTime(day, QTime(0, 0));
    return {};
}

QString DatumTextom(const QDateTime& value)
{
    if (JeZiadnyDatum(value))
        return {};
    return QLocale().toString(value.date(), QLocale::ShortFormat);
}

QDate DatumZTextu(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDate d = QLocale().toDate(t, QLocale::ShortFormat);
    if (d.isValid())
        return d;
    d = QLocale().toDate(t, QLocale::LongFormat);
    if (d.isValid())
        return d;
    // Slovak users type dates with dots, with or without blanks, whatever the system locale is.
    QString compact = t;
    compact.remove(QLatin1Char(' '));
    for (const char* form : {"d.M.yyyy", "d.M.yy", "yyyy-MM-dd"}) {
        d = QDate::fromString(compact, QString::fromLatin1(form));
        if (d.isValid()) {
            if (d.year() < 1930 && QString::fromLatin1(form) == QStringLiteral("d.M.yy"))
                d = d.addYears(100);
            return d;
        }
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
