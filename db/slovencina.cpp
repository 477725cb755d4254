#include "slovencina.h"

#include <QLocale>

namespace {

bool RovnakyZnak(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// Matches a [...] class at pattern position p against c; returns the position after the class,
// or -1 when the class is not closed (then "[" stands for itself).
qsizetype TriedaZnakov(QStringView pattern, qsizetype p, QChar c, bool& matched)
{
    qsizetype i = p + 1;
    bool negate = false;
    if (i < pattern.size() && pattern.at(i) == QLatin1Char('!')) {
        negate = true;
        ++i;
    }
    bool hit = false;
    bool first = true;
    while (i < pattern.size() && (first || pattern.at(i) != QLatin1Char(']'))) {
        first = false;
        const QChar lo = pattern.at(i);
        if (i + 2 < pattern.size() && pattern.at(i + 1) == QLatin1Char('-') &&
            pattern.at(i + 2) != QLatin1Char(']')) {
            const QChar hi = pattern.at(i + 2);
            const QChar cf = c.toCaseFolded();
            if ((cf >= lo.toCaseFolded() && cf <= hi.toCaseFolded()) || (c >= lo && c <= hi))
                hit = true;
            i += 3;
        } else {
            if (RovnakyZnak(lo, c))
                hit = true;
            ++i;
        }
    }
    if (i >= pattern.size())
        return -1;
    matched = negate ? !hit : hit;
    return i + 1;
}

} // namespace

QCollator SlovakCollator()
{
    QCollator collator{QLocale(QLocale::Slovak, QLocale::Slovakia)};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

int PorovnajSlovensky(QStringView a, QStringView b)
{
    static const QCollator collator = SlovakCollator();
    const int order = collator.compare(a, b);
    if (order != 0)
        return order < 0 ? -1 : 1;
    // Texts the collation cannot tell apart (other spellings of one letter) still come in a fixed
    // order, so that the order is total.
    const int raw = a.compare(b, Qt::CaseSensitive);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

QString BezDiakritiky(QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toCaseFolded();
    return out;
}

bool MatchesWordStart(QStringView name, QStringView query)
{
    const QString q = BezDiakritiky(query).trimmed();
    if (q.isEmpty())
        return true;
    const QString n = BezDiakritiky(name);
    for (qsizetype i = 0; i + q.size() <= n.size(); ++i) {
        const bool wordStart = i == 0 || n.at(i - 1).isSpace() || n.at(i - 1) == QLatin1Char('-');
        if (wordStart && QStringView(n).mid(i).startsWith(q))
            return true;
    }
    return false;
}

bool JetLike(QStringView pattern, QStringView value)
{
    // Iterative matching with backtracking to the last "*", linear in practice.
    qsizetype p = 0, v = 0;
    qsizetype starP = -1, starV = 0;
    while (v < value.size()) {
        if (p < pattern.size()) {
            const QChar pc = pattern.at(p);
            const QChar vc = value.at(v);
            if (pc == QLatin1Char('*')) {
                starP = p++;
                starV = v;
                continue;
            }
            if (pc == QLatin1Char('?')) {
                ++p;
                ++v;
                continue;
            }
            if (pc == QLatin1Char('#')) {
                if (vc.isDigit()) {
                    ++p;
                    ++v;
                    continue;
                }
            } else if (pc == QLatin1Char('[')) {
                bool matched = false;
                const qsizetype next = TriedaZnakov(pattern, p, vc, matched);
                if (next < 0) {
                    if (vc == pc) {
                        ++p;
                        ++v;
                        continue;
                    }
                } else if (matched) {
                    p = next;
                    ++v;
                    continue;
                }
            } else if (RovnakyZnak(pc, vc)) {
                ++p;
                ++v;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        v = ++starV;
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}
