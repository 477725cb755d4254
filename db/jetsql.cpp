#include "jetsql.h"

#include "CChybaDatabazy.h"
#include "kody.h"
#include "schema.h"

#include <QRegularExpression>

namespace {

// Reads "M-D-YYYY" or "M/D/YYYY" with an optional " H:MM[:SS]".
QString DateLiteral(const QString& inner)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{1,2})[-/](\\d{1,2})[-/](\\d{4})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = re.match(inner);
    if (m.hasMatch()) {
        const QDate day(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (day.isValid() && time.isValid())
            return QLatin1Char('\'') + DatumNaUlozenie(CasSezony(day, time)) + QLatin1Char('\'');
    }
    throw CChybaDatabazy(QStringLiteral("Dotaz obsahuje neplatný dátum #%1#.").arg(inner));
}

// Copy of the text in which string literals, quoted names and everything inside parentheses are
// blanked out, so that keywords and commas found in it are those of the statement's top level.
QString TopLevelMask(const QString& sql)
{
    QString mask = sql;
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            mask[i] = QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            quote = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            mask[i] = QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('(')) {
            ++depth;
            mask[i] = QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char(')')) {
            --depth;
            mask[i] = QLatin1Char(' ');
            continue;
        }
        if (depth > 0)
            mask[i] = QLatin1Char(' ');
    }
    return mask;
}

QString SlovakOrderBy(const QString& sql)
{
    const QString mask = TopLevelMask(sql);
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    qsizetype start = -1;
    qsizetype clauseStart = -1;
    for (auto it = orderBy.globalMatch(mask); it.hasNext();) {
        const auto m = it.next();
        start = m.capturedStart();
        clauseStart = m.capturedEnd();
    }
    if (start < 0)
        return sql;
    static const QRegularExpression limit(QStringLiteral("\\blimit\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    qsizetype clauseEnd = sql.size();
    const auto lm = limit.match(mask, clauseStart);
    if (lm.hasMatch())
        clauseEnd = lm.capturedStart();

    static const QRegularExpression term(
        QStringLiteral("^(\\s*)((?:[A-Za-z_]\\w*\\.)?([A-Za-z_]\\w*))(\\s+(?:asc|desc))?(\\s*)$"),
        QRegularExpression::CaseInsensitiveOption);
    QString result = sql.left(clauseStart);
    qsizetype pieceStart = clauseStart;
    for (qsizetype i = clauseStart; i <= clauseEnd; ++i) {
        if (i < clauseEnd && mask.at(i) != QLatin1Char(','))
            continue;
        const QString piece = sql.mid(pieceStart, i - pieceStart);
        const auto m = term.match(piece);
        if (m.hasMatch() && IsTextColumn(m.captured(3)))
            result += m.captured(1) + m.captured(2) + QStringLiteral(" COLLATE ") +
                      QLatin1String(kSlovakCollation) + m.captured(4) + m.captured(5);
        else
            result += piece;
        if (i < clauseEnd)
            result += QLatin1Char(',');
        pieceStart = i + 1;
    }
    result += sql.mid(clauseEnd);
    return result;
}

} // namespace

QString TranslateJetSql(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            out += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
            continue;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype end = sql.indexOf(QLatin1Char('#'), i + 1);
            if (end < 0)
                throw CChybaDatabazy(QStringLiteral("Dotaz obsahuje neukončený dátum."));
            out += DateLiteral(sql.mid(i + 1, end - i - 1));
            i = end;
            continue;
        }
        out += c;
    }
    return SlovakOrderBy(out);
}
