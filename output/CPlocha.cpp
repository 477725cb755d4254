#include "CPlocha.h"

QString CPlocha::Elided(const QString& text, double room)
{
    if (TextWidth(text) <= room)
        return text;
    const QString ellipsis(QChar(0x2026));
    // The longest beginning that fits with the ellipsis after it.
    qsizetype low = 0, high = text.size() - 1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (TextWidth(text.left(middle).trimmed() + ellipsis) <= room)
            low = middle;
        else
            high = middle - 1;
    }
    return low > 0 ? text.left(low).trimmed() + ellipsis : ellipsis;
}

QStringList CPlocha::Wrapped(const QString& text, double room)
{
    QStringList lines;
    for (const QString& paragraph :
         QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'))) {
        // Most texts fit their room whole: measured once, not word by word.
        const QString whole = paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        if (TextWidth(whole) <= room) {
            lines << whole;
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (TextWidth(longer) <= room) {
                line = longer;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = word;
            while (line.size() > 1 && TextWidth(line) > room) {
                qsizetype fit = line.size() - 1;
                while (fit > 1 && TextWidth(line.left(fit)) > room)
                    --fit;
                // A double name breaks after its hyphen ("Šťastný-" / "Ďurovčík") where it can.
                const qsizetype hyphen = line.left(fit).lastIndexOf(QLatin1Char('-'));
                if (hyphen > 0)
                    fit = hyphen + 1;
                lines << line.left(fit);
                line = line.mid(fit);
            }
        }
        lines << line;
    }
    return lines;
}

QString ListFileTitle(const QString& key, const QString& competition, const QString& detail)
{
    QStringList parts = {key, competition, detail};
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

QString PdfFileName(const CTlacovina& printout)
{
    const QString decomposed = printout.FileTitle().normalized(QString::NormalizationForm_D);
    QString name;
    bool gap = false;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.unicode() < 128 && c.isLetterOrNumber()) {
            if (gap && !name.isEmpty())
                name += QLatin1Char('-');
            name += c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return (name.isEmpty() ? QStringLiteral("agenda-mirak") : name) + QStringLiteral(".pdf");
}
