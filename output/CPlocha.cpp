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
