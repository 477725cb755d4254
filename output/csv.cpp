#include "csv.h"

#include "db/slovencina.h"
#include "kodovanie.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const QByteArray kBomUtf16Le("\xFF\xFE");
const QByteArray kBomUtf16Be("\xFE\xFF");

// A cell a spreadsheet would run as a formula ("=HYPERLINK(...)", "+1+cmd|...", "@SUM", a cell that
// begins with a tab or a line end) is written with an apostrophe before it, which spreadsheets show as
// text; reading takes the apostrophe off again. A plain number ("-3", "+1", "2,5") stays a number, and
// a lone "-" (an empty cell of a register) stays as it is.
bool LooksLikeFormula(const QString& text)
{
    if (text.size() < 2)
        return text == QStringLiteral("=") || text == QStringLiteral("@");
    const QChar first = text.at(0);
    if (first == QLatin1Char('=') || first == QLatin1Char('@') || first == QLatin1Char('\t') ||
        first == QLatin1Char('\r'))
        return true;
    if (first == QLatin1Char('+') || first == QLatin1Char('-')) {
        static const QRegularExpression number(QStringLiteral("^[+-]\\d+([.,]\\d+)?$"));
        return !number.match(text).hasMatch();
    }
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

struct CText
{
    QString text;
    QString error;
};

QString FromUtf16(const QByteArray& bytes, QStringDecoder::Encoding encoding, QString& error)
{
    QStringDecoder decoder(encoding);
    QString text = decoder(bytes);
    if (decoder.hasError() || bytes.size() % 2 != 0)
        error = QStringLiteral("Súbor je v kódovaní UTF-16 (Unicode), ale nie je v ňom platný text.");
    return text;
}

// The encoding is decided for the whole file. A byte-order mark decides; without one the file is
// UTF-8 when all of it reads as UTF-8, UTF-16 when every other byte of its start is zero (a
// spreadsheet's "Unicode text" without a mark), else Windows-1250 - unless some lines are UTF-8 with
// letters beyond ASCII and others are not UTF-8 at all: text pasted together from two files, which no
// single encoding reads right.
CText Decode(const QByteArray& bytes)
{
    CText out;
    if (bytes.startsWith(kBom)) {
        out.text = QString::fromUtf8(bytes.mid(kBom.size()));
        return out;
    }
    if (bytes.startsWith(kBomUtf16Le)) {
        out.text = FromUtf16(bytes.mid(2), QStringDecoder::Utf16LE, out.error);
        return out;
    }
    if (bytes.startsWith(kBomUtf16Be)) {
        out.text = FromUtf16(bytes.mid(2), QStringDecoder::Utf16BE, out.error);
        return out;
    }
    if (bytes.size() >= 4 && bytes.size() % 2 == 0) {
        const qsizetype probe = std::min<qsizetype>(bytes.size(), 256);
        int zeroEven = 0, zeroOdd = 0;
        for (qsizetype i = 0; i < probe; ++i)
            (i % 2 == 0 ? zeroEven : zeroOdd) += bytes.at(i) == 0 ? 1 : 0;
        // Mostly zeros on one side (a letter beyond Latin-1 has its own high byte), none on the other.
        const int half = static_cast<int>(probe / 2);
        if (zeroOdd * 10 >= half * 7 && zeroEven * 20 <= half) {
            out.text = FromUtf16(bytes, QStringDecoder::Utf16LE, out.error);
            return out;
        }
        if (zeroEven * 10 >= half * 7 && zeroOdd * 20 <= half) {
            out.text = FromUtf16(bytes, QStringDecoder::Utf16BE, out.error);
            return out;
        }
    }
    {
        QStringDecoder utf8(QStringDecoder::Utf8);
        out.text = utf8(bytes);
        if (!utf8.hasError())
            return out;
    }
    int line = 1, firstNotUtf8 = 0;
    bool utf8Letters = false;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView piece(bytes.constData() + start, end - start);
        bool beyondAscii = false;
        for (const char c : piece)
            beyondAscii = beyondAscii || static_cast<unsigned char>(c) >= 0x80;
        if (beyondAscii) {
            QStringDecoder utf8(QStringDecoder::Utf8);
            // The decoder decodes when its result becomes a text.
            const QString decoded = utf8(piece);
            if (utf8.hasError()) {
                if (firstNotUtf8 == 0)
                    firstNotUtf8 = line;
            } else {
                utf8Letters = true;
            }
        }
        start = end + 1;
        ++line;
    }
    if (utf8Letters && firstNotUtf8 != 0) {
        out.text.clear();
        out.error =
            QStringLiteral("Riadok %1: text nie je v kódovaní UTF-8 ako iné riadky súboru; súbor mieša "
                           "kódovania (UTF-8 a Windows-1250) a jeho písmená by sa uložili pokazené. "
                           "Uložte ho v tabuľkovom procesore znova v jednom kódovaní.")
                .arg(firstNotUtf8);
        return out;
    }
    // Not UTF-8: what a spreadsheet saves on a Slovak Windows.
    out.text = ZWindows1250(bytes);
    return out;
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
    const CText decoded = Decode(bytes);
    if (!decoded.error.isEmpty()) {
        file.error = decoded.error;
        return file;
    }
    const QString& text = decoded.text;
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
        // No text holds control characters other than a tab and line ends: a file with a NUL or an
        // escape in it is no table, or a damaged one.
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') &&
             c != QLatin1Char('\n')) ||
            c.unicode() == 0x7F) {
            file.rows.clear();
            file.error =
                QStringLiteral("Riadok %1: v texte je riadiaci znak (kód %2), aký tabuľka nemá; súbor asi "
                               "nie je tabuľka CSV alebo je poškodený.")
                    .arg(line)
                    .arg(c.unicode(), 2, 16, QLatin1Char('0'));
            return file;
        }
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
            // No list has nearly so many fields: a row this wide is no table of ours, and reading it on
            // would only cost time.
            if (row.cells.size() + 1 >= kNajviacStlpcovCsv) {
                file.rows.clear();
                file.error =
                    QStringLiteral("Riadok %1: má viac ako %2 stĺpcov; taký súbor nie je zoznam klubov "
                                   "ani hráčov.")
                        .arg(row.line)
                        .arg(kNajviacStlpcovCsv);
                return file;
            }
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

QString CsvHeaderProblem(const CCsvSubor& file)
{
    if (file.rows.isEmpty())
        return {};
    const QStringList& header = file.rows.first().cells;
    QStringList keys;
    QSet<QString> seen;
    for (const QString& title : header) {
        const QString key = HeaderKey(title);
        if (!key.isEmpty() && seen.contains(key))
            return QStringLiteral("Stĺpec „%1“ je v prvom riadku súboru dvakrát; nechajte ho len raz.")
                .arg(title.trimmed());
        seen.insert(key);
        keys << key;
    }
    for (qsizetype r = 1; r < file.rows.size(); ++r) {
        const QStringList& cells = file.rows.at(r).cells;
        bool same = cells.size() >= header.size();
        for (qsizetype c = 0; same && c < header.size(); ++c)
            same = HeaderKey(cells.at(c)) == keys.at(c);
        if (same)
            return QStringLiteral(
                       "Riadok %1: opakuje sa hlavička súboru („%2“); súbor je asi zložený z dvoch. "
                       "Hlavička patrí len do prvého riadku.")
                .arg(file.rows.at(r).line)
                .arg(header.join(QStringLiteral("; ")));
    }
    return {};
}

QString CsvCellProblem(const QString& columnTitle, const QString& text, int limit, bool lines)
{
    if (!lines && (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))))
        return QStringLiteral("text v stĺpci „%1“ má viac riadkov; patrí doň jeden.")
            .arg(columnTitle.trimmed());
    if (text.size() > limit)
        return QStringLiteral("text v stĺpci „%1“ má %2 znakov, uloží sa ich najviac %3.")
            .arg(columnTitle.trimmed(), QString::number(text.size()), QString::number(limit));
    return {};
}

QString CsvCellsProblem(const QStringList& header, std::initializer_list<CPoleCsv> cells)
{
    for (const CPoleCsv& c : cells)
        if (QString problem = CsvCellProblem(header.value(c.column), c.text, c.limit, c.lines);
            !problem.isEmpty())
            return problem;
    return {};
}

CSuborNaDovoz ReadImportFile(const QString& path)
{
    CSuborNaDovoz out;
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists()) {
        out.error = QStringLiteral("Súbor %1 neexistuje.").arg(shown);
        return out;
    }
    if (!info.isFile()) {
        out.error =
            QStringLiteral("%1 nie je súbor s tabuľkou; import číta len obyčajný súbor CSV.").arg(shown);
        return out;
    }
    if (info.size() > kNajvacsiSuborCsv) {
        out.error = QStringLiteral("Súbor %1 má %2 MB; import prijme súbor najviac %3 MB.")
                        .arg(shown, QString::number((info.size() + 1024 * 1024 - 1) / (1024 * 1024)),
                             QString::number(kNajvacsiSuborCsv / (1024 * 1024)));
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = QStringLiteral("Súbor %1 sa nedá čítať: %2").arg(shown, file.errorString());
        return out;
    }
    // The size once more as it is read: a file that grows while it is read is not read on and on.
    out.bytes = file.read(kNajvacsiSuborCsv + 1);
    if (out.bytes.size() > kNajvacsiSuborCsv) {
        out.bytes.clear();
        out.error = QStringLiteral("Súbor %1 je väčší ako %2 MB; import ho neprijme.")
                        .arg(shown, QString::number(kNajvacsiSuborCsv / (1024 * 1024)));
    }
    return out;
}
