#include "slovencina.h"

#include <QHash>
#include <QVector>

namespace {

// Primary weights of the Slovak alphabet; "ch" is one letter that follows "h".
const QString kAbeceda = QStringLiteral("aáäbcčdďeéfghXiíjklĺľmnňoóôpqrŕsštťuúvwxyýzž");
const int kChMiesto = static_cast<int>(kAbeceda.indexOf(QLatin1Char('X')));

const QHash<QChar, int>& Vahy()
{
    static const QHash<QChar, int> vahy = [] {
        QHash<QChar, int> h;
        for (int i = 0; i < kAbeceda.size(); ++i)
            if (i != kChMiesto)
                h.insert(kAbeceda.at(i), 1000 + i * 10);
        return h;
    }();
    return vahy;
}

int VahaZnaku(QChar c)
{
    const QChar lower = c.toLower();
    const auto& vahy = Vahy();
    const auto it = vahy.constFind(lower);
    if (it != vahy.constEnd())
        return *it;
    if (lower.isDigit())
        return 500 + lower.digitValue();
    if (lower.isSpace())
        return 1;
    // Letters outside the Slovak alphabet (ö, ü, ř, ...) sort right after their base letter.
    const QString decomposed = lower.decomposition();
    if (!decomposed.isEmpty()) {
        const auto base = vahy.constFind(decomposed.at(0));
        if (base != vahy.constEnd())
            return *base + 5;
    }
    if (lower.isLetter())
        return 100000 + lower.unicode();
    // Punctuation sorts before digits and letters, in code point order.
    return 2 + lower.unicode() % 400;
}

QVector<int> Kluc(QStringView s)
{
    QVector<int> key;
    key.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i).toLower();
        if (c == QLatin1Char('c') && i + 1 < s.size() && s.at(i + 1).toLower() == QLatin1Char('h')) {
            key.append(1000 + kChMiesto * 10);
            ++i;
            continue;
        }
        key.append(VahaZnaku(c));
    }
    return key;
}

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

int PorovnajSlovensky(QStringView a, QStringView b)
{
    const QVector<int> ka = Kluc(a);
    const QVector<int> kb = Kluc(b);
    const qsizetype n = qMin(ka.size(), kb.size());
    for (qsizetype i = 0; i < n; ++i)
        if (ka.at(i) != kb.at(i))
            return ka.at(i) < kb.at(i) ? -1 : 1;
    if (ka.size() != kb.size())
        return ka.size() < kb.size() ? -1 : 1;
    // Same letters: the order of code points reversed puts lower case first; equal keys then mean
    // equal texts, so the order is total.
    const int raw = a.compare(b, Qt::CaseSensitive);
    return raw < 0 ? 1 : (raw > 0 ? -1 : 0);
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
