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
