#include "csv.h"

#include "db/slovencina.h"
#include "kodovanie.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// A cell a spreadsheet would take for a formula ("=HYPERLINK(...)" in a club's name) is written with
// an apostrophe before it, which spreadsheets show as text; reading takes the apostrophe off again.
bool LooksLikeFormula(const QString& text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.at(0);
    if (first == QLatin1Char('=') || first == QLatin1Char('@'))
        return true;
    if (first == QLatin1Char('+') || first == QLatin1Char('-'))
        return text.size() > 1 && !text.at(1).isDigit() && !text.at(1).isSpace() &&
               text.at(1) != QLatin1Char(',');
    return false;
}

// "2 : 0", "(1 : 0)", "k : 3": a pair as the lists show it.
const QRegularExpression& PairPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\(?)(\\d+|k) : (\\d+|k)(\\)?)$"));
    return pattern;
}

QString CsvText(QString text)
{
    if (const QRegularExpressionMatch pair = PairPattern().match(text); pair.hasMatch())
        text = pair.captured(1) + CsvDvojica(pair.captured(2), pair.captured(3)) + pair.captured(4);
    if (LooksLikeFormula(text))
        text.prepend(QLatin1Char('\''));
    const bool quoted = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                        text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quoted)
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString Decode(const QByteArray& bytes)
{
    if (bytes.startsWith(kBom))
        return QString::fromUtf8(bytes.mid(kBom.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: what a spreadsheet saves on a Slovak Windows.
    return ZWindows1250(bytes);
}

// The separator the first row uses: a semicolon, else a comma, else a tab (quoted text not counted).
QChar Separator(const QString& text)
{
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tabs;
    }
    if (semicolons > 0)
        return QLatin1Char(';');
    if (commas > 0)
        return QLatin1Char(',');
    return tabs > 0 ? QLatin1Char('\t') : QLatin1Char(';');
}

} // namespace

QString CsvDvojica(const QString& first, const QString& second)
{
    return first + QChar(0x2013) + second;
}

QByteArray CsvBytes(const QVector<QStringList>& rows)
{
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        cells.reserve(row.size());
        for (const QString& cell : row)
            cells << CsvText(cell);
        text += cells.join(QLatin1Char(';'));
        text += QStringLiteral("\r\n");
    }
    return kBom + text.toUtf8();
}

CCsvSubor ReadCsv(const QByteArray& bytes)
{
    CCsvSubor file;
    const QString text = Decode(bytes);
    const QChar separator = Separator(text);
    int line = 1;
    CRiadokCsv row{{}, 1};
    QString cell;
    bool quoted = false;    // inside quotes
    bool wasQuoted = false; // the cell began with a quote
    int quoteLine = 0;
    const auto endCell = [&] {
        if (cell.size() > 1 && cell.at(0) == QLatin1Char('\'') && LooksLikeFormula(cell.mid(1)))
            cell.remove(0, 1);
        row.cells << cell;
        cell.clear();
        wasQuoted = false;
    };
    const auto endRow = [&] {
        endCell();
        bool empty = true;
        for (const QString& c : row.cells)
            empty = empty && c.trimmed().isEmpty();
        if (!empty)
            file.rows << row;
        row = CRiadokCsv{{}, line};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
                continue;
            }
            if (c == QLatin1Char('\n') ||
                (c == QLatin1Char('\r') && (i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('\n'))))
                ++line;
            cell += c;
            continue;
        }
        if (c == QLatin1Char('"') && cell.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == separator) {
            endCell();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++line;
            endRow();
        } else {
            cell += c;
        }
    }
    if (quoted) {
        file.error = QStringLiteral("Riadok %1: úvodzovky sa do konca súboru nezatvárajú.").arg(quoteLine);
        file.rows.clear();
        return file;
    }
    endRow();
    if (file.rows.isEmpty())
        file.error = QStringLiteral("Súbor je prázdny.");
    return file;
}

namespace {
QString HeaderKey(const QString& text)
{
    QString key = BezDiakritiky(text).toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QLatin1Char('.'));
    key.remove(QLatin1Char('_'));
    return key;
}
} // namespace

int CsvColumn(const QStringList& header, const QStringList& names)
{
    for (const QString& name : names) {
        const QString wanted = HeaderKey(name);
        for (int c = 0; c < header.size(); ++c)
            if (HeaderKey(header.at(c)) == wanted)
                return c;
    }
    return -1;
}

QString CsvCell(const CRiadokCsv& row, int column)
{
    return column < 0 ? QString() : row.cells.value(column).trimmed();
}
