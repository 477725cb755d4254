#include "CJetSubor.h"

#include "db/CChybaDatabazy.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

// libmdb's header opens a C block before it includes glib, whose C++ parts must come first.
#include <glib.h>
#include <mdbtools.h>

namespace {

// The row offsets of a data page carry flags in their top bits.
constexpr int kOffsetMask = 0x1fff;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

qint64 LittleEndian(const unsigned char* p, int bytes)
{
    quint64 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    // Sign-extended from the field's width.
    const int shift = 64 - 8 * bytes;
    return static_cast<qint64>(v << shift) >> shift;
}

// A Single as the decimal it was typed as: the shortest decimal that reads back as the same Single,
// when it has no more digits than a Single holds (8.3f is 8.3, not 8.30000019). A value no one typed
// (the largest Single, one too small to hold its digits) is kept as exactly what it is.
double SingleValue(float f)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, f);
    const QByteArray shortest(text, static_cast<int>(result.ptr - text));
    int digits = 0;
    bool leading = true;
    for (const char c : shortest) {
        if (c == 'e' || c == 'E')
            break;
        if (c < '0' || c > '9')
            continue;
        if (c == '0' && leading)
            continue;
        leading = false;
        ++digits;
    }
    const bool normal = f == 0.0f || std::fabs(f) >= std::numeric_limits<float>::min();
    return normal && digits <= std::numeric_limits<float>::digits10 + 1 ? shortest.toDouble()
                                                                        : static_cast<double>(f);
}

} // namespace

CDruhHodnoty KindOfColumn(int jetType)
{
    switch (jetType) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return CDruhHodnoty::Cele;
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
        return CDruhHodnoty::Desatinne;
    case MDB_DATETIME:
        return CDruhHodnoty::Datum;
    case MDB_OLE:
    case MDB_BINARY:
        return CDruhHodnoty::Bajty;
    default:
        return CDruhHodnoty::Text;
    }
}

QString JetDateText(double value)
{
    // Whole days from 30 December 1899; before it the day counts back while the fraction still runs
    // forward through the day (-1.25 is 29 December 1899, 6:00).
    double days = std::trunc(value);
    double fraction = std::fabs(value - days);
    qint64 seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += value < 0 ? -1 : 1;
    }
    const QDate day = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds));
    return QStringLiteral("%1 %2").arg(QStringLiteral("%1-%2-%3")
                                           .arg(day.year(), 4, 10, QLatin1Char('0'))
                                           .arg(day.month(), 2, 10, QLatin1Char('0'))
                                           .arg(day.day(), 2, 10, QLatin1Char('0')),
                                       time.toString(QStringLiteral("HH:mm:ss")));
}

QString LossText(const CStrataJet& loss)
{
    return loss.where.isEmpty() ? QStringLiteral("tabuľka %1: %2").arg(loss.table, loss.what)
                                : QStringLiteral("tabuľka %1, %2: %3").arg(loss.table, loss.where, loss.what);
}

struct CJetSubor::CStav
{
    MdbHandle* mdb = nullptr;
    QByteArray codePage; // the decoder of Jet 3 texts
    QByteArray file;     // the whole file, for following long values page by page
    int pageSize = 0;
    int rowCountOffset = 0;
};

namespace {

// Jet 3 names and texts are taken byte for byte from the library (it is told they are Latin-1, which
// maps every byte to itself) and decoded from the file's own code page here.
QString FromCodePage(const QByteArray& bytes, const QByteArray& codePage, bool* lossy = nullptr)
{
    QStringDecoder decoder(codePage.constData(), QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    // A byte the code page has no letter for comes out as a control character of the 0x80-0x9F block
    // (the code pages of Windows give all the others a letter there).
    const bool undefined = std::any_of(decoded.cbegin(), decoded.cend(),
                                       [](QChar ch) { return ch.unicode() >= 0x80 && ch.unicode() <= 0x9f; });
    if (lossy)
        *lossy = decoder.hasError() || undefined;
    return decoded;
}

QString NameOf(const char* name, bool jet3, const QByteArray& codePage)
{
    const QString utf8 = QString::fromUtf8(name);
    if (!jet3)
        return utf8;
    return FromCodePage(utf8.toLatin1(), codePage);
}

// Jet 4's texts: UCS-2, or its compressed form (FF FE, then runs of one-byte characters and of
// UCS-2 ones, a zero byte switching between them).
QString Jet4Text(const QByteArray& bytes)
{
    if (bytes.size() >= 2 && quint8(bytes.at(0)) == 0xff && quint8(bytes.at(1)) == 0xfe) {
        QString out;
        bool compressed = true;
        for (qsizetype i = 2; i < bytes.size();) {
            const quint8 b = quint8(bytes.at(i));
            if (b == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                out += QChar(b);
                ++i;
            } else if (i + 1 < bytes.size()) {
                out += QChar(char16_t(b | (quint8(bytes.at(i + 1)) << 8)));
                i += 2;
            } else {
                break;
            }
        }
        return out;
    }
    QString out;
    out.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        out += QChar(char16_t(quint8(bytes.at(i)) | (quint8(bytes.at(i + 1)) << 8)));
    return out;
}

quint32 Le32(const unsigned char* p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

quint16 Le16(const unsigned char* p)
{
    return quint16(p[0] | (p[1] << 8));
}

// IDs as the user reads them: "7, 12-15, 20".
QString IdRanges(QVector<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    QStringList parts;
    for (qsizetype i = 0; i < ids.size();) {
        qsizetype j = i;
        while (j + 1 < ids.size() && ids.at(j + 1) == ids.at(j) + 1)
            ++j;
        parts << (j == i ? QString::number(ids.at(i))
                         : QStringLiteral("%1–%2").arg(ids.at(i)).arg(ids.at(j)));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

CJetSubor::CJetSubor(const QString& path, QVector<CStrataJet>* losses)
    : m_losses(losses), m_stav(std::make_unique<CStav>()), m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 sa nedá čítať: %2").arg(Shown(path), file.errorString()));
    m_stav->file = file.readAll();
    file.close();
    const QByteArray head = m_stav->file.left(2048);
    if (head.size() < 2048 || head.mid(4, 15) != QByteArrayLiteral("Standard Jet DB")) {
        if (head.mid(4, 15) == QByteArrayLiteral("Standard ACE DB"))
            throw CChybaDatabazy(
                QStringLiteral("Súbor %1 je databáza Access 2007 alebo novšia (.accdb), nie sezóna "
                               "vo formáte Jet; previesť sa nedá.")
                    .arg(Shown(path)));
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 nie je sezóna vo formáte Jet (Access 97 alebo 2000): %2")
                .arg(Shown(path), head.isEmpty() ? QStringLiteral("je prázdny.")
                                                 : QStringLiteral("nezačína ako databáza Jet.")));
    }
    qputenv("MDB_JET3_CHARSET", "ISO-8859-1");
    m_stav->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_stav->mdb)
        throw CChybaDatabazy(QStringLiteral("Súbor %1 nie je čitateľná databáza Jet.").arg(Shown(path)));
    MdbHandle* mdb = m_stav->mdb;
    if (mdb->f->jet_version != MDB_VER_JET3 && mdb->f->jet_version != MDB_VER_JET4)
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 je v novšom formáte Access, nie Jet 3 ani Jet 4.").arg(Shown(path)));
    if (mdb->f->db_key != 0)
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 je zašifrovaný (kódovanie databázy v Accesse); program ho nevie "
                           "prečítať. Dešifrujte ho v Accesse a skúste to znova.")
                .arg(Shown(path)));
    const bool jet3 = mdb->f->jet_version == MDB_VER_JET3;
    const int codePage = mdb->f->code_page == 0 ? 1250 : mdb->f->code_page;
    m_stav->codePage = QByteArray("windows-") + QByteArray::number(codePage);
    if (jet3 && !QStringDecoder(m_stav->codePage.constData()).isValid())
        throw CChybaDatabazy(QStringLiteral("Súbor %1 má texty v kódovej stránke %2, ktorú program nepozná.")
                                 .arg(Shown(path), QString::number(codePage)));
    m_stav->pageSize = static_cast<int>(mdb->fmt->pg_size);
    m_stav->rowCountOffset = mdb->fmt->row_count_offset;
    // Without its catalogue nothing of the file can be found: there is nothing to save either.
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 je poškodený: nedá sa prečítať zoznam jeho tabuliek.").arg(Shown(path)));
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry))
            continue;
        const QString name = NameOf(entry->object_name, jet3, m_stav->codePage);
        MdbTableDef* def = mdb_read_table(entry);
        if (!def) {
            Lost(name, {},
                 QStringLiteral("tabuľka sa nedá prečítať (poškodená definícia); chýbajú všetky jej riadky"));
            m_unreadable << name;
            continue;
        }
        mdb_read_columns(def);
        CTabulkaJet table;
        table.name = name;
        table.libraryName = QByteArray(entry->object_name);
        table.rows = def->num_rows;
        for (unsigned c = 0; c < def->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
            table.columns.append({NameOf(col->name, jet3, m_stav->codePage), col->col_type, col->col_size,
                                  col->is_long_auto != 0});
        }
        // The counter of the table's AutoNumber stands in its definition page.
        if (mdb_read_pg(mdb, entry->table_pg) > 0)
            table.autoNumber = mdb_pg_get_int32(mdb, jet3 ? 16 : 20);
        mdb_free_tabledef(def);
        m_tables.append(table);
    }
}

CJetSubor::~CJetSubor()
{
    if (m_stav->mdb)
        mdb_close(m_stav->mdb);
}

int CJetSubor::Version() const
{
    return m_stav->mdb->f->jet_version == MDB_VER_JET3 ? 3 : 4;
}

const CTabulkaJet* CJetSubor::Table(const QString& name) const
{
    for (const CTabulkaJet& t : m_tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

void CJetSubor::Lost(const QString& table, const QString& where, const QString& what)
{
    const CStrataJet loss{table, where, what};
    if (m_losses) {
        m_losses->append(loss);
        return;
    }
    throw CPoskodenyJet(QStringLiteral("Súbor %1 je poškodený: %2.").arg(Shown(m_path), LossText(loss)));
}

QString CJetSubor::Text(const QByteArray& bytes, bool jet3, const QString& table, const QString& where)
{
    if (!jet3)
        return Jet4Text(bytes);
    bool lossy = false;
    QString decoded = FromCodePage(bytes, m_stav->codePage, &lossy);
    if (lossy) {
        Lost(table, where,
             QStringLiteral("text má znaky, ktoré kódová stránka súboru nepozná (prevezme sa bez nich)"));
        decoded.removeIf([](QChar ch) {
            return (ch.unicode() >= 0x80 && ch.unicode() <= 0x9f) || ch == QChar::ReplacementCharacter;
        });
    }
    return decoded;
}

QByteArray CJetSubor::LongValue(const unsigned char* field, int size, const QString& table,
                                const QString& where, bool memo)
{
    // A Jet 3 memo has a byte a character; Jet 4's UCS-2 and OLE objects are counted in bytes.
    const QString unit = memo && Version() == 3 ? QStringLiteral("znakov") : QStringLiteral("bajtov");
    const auto lost = [&](qint64 read, qint64 length, const QString& why) {
        Lost(table, where,
             QStringLiteral("%1 (prečítalo sa %2 z %3 %4)")
                 .arg(why, QString::number(read), QString::number(length), unit));
    };
    if (size < 12) {
        Lost(table, where, QStringLiteral("hodnota sa nedá prečítať (jej hlavička je neúplná)"));
        return {};
    }
    const quint32 head = Le32(field);
    const qint64 length = head & 0x3fffffff;
    const QByteArray& file = m_stav->file;
    const int pageSize = m_stav->pageSize;
    const qint64 pages = file.size() / pageSize;
    // The row `rowNumber` of the long-value page `page`, or why it cannot be read.
    const auto lvalRow = [&](quint32 pointer, QByteArray& row) -> QString {
        const qint64 page = pointer >> 8;
        const int rowNumber = static_cast<int>(pointer & 0xff);
        if (page <= 0 || page >= pages)
            return QStringLiteral("odkaz na stranu %1, ktorá v súbore nie je").arg(page);
        const auto* p = reinterpret_cast<const unsigned char*>(file.constData()) + page * pageSize;
        if (p[0] != 0x01 || std::memcmp(p + 4, "LVAL", 4) != 0)
            return QStringLiteral("odkaz na stranu %1, ktorá nie je stranou dlhých hodnôt").arg(page);
        const int rows = Le16(p + m_stav->rowCountOffset);
        if (rowNumber >= rows)
            return QStringLiteral("odkaz na riadok %1 strany %2, ktorý na nej nie je")
                .arg(rowNumber)
                .arg(page);
        const int start = Le16(p + m_stav->rowCountOffset + 2 + 2 * rowNumber) & kOffsetMask;
        const int end = rowNumber == 0
                            ? pageSize
                            : (Le16(p + m_stav->rowCountOffset + 2 + 2 * (rowNumber - 1)) & kOffsetMask);
        if (start < m_stav->rowCountOffset + 2 || end > pageSize || start > end)
            return QStringLiteral("riadok %1 strany %2 je poškodený").arg(rowNumber).arg(page);
        row = QByteArray(reinterpret_cast<const char*>(p + start), end - start);
        return {};
    };
    if (head & 0x80000000u) {
        // Inline: the value follows its header in the row.
        const qint64 present = size - 12;
        if (present < length) {
            lost(present, length, QStringLiteral("hodnota je kratšia, ako uvádza jej hlavička"));
            return QByteArray(reinterpret_cast<const char*>(field + 12), static_cast<int>(present));
        }
        return QByteArray(reinterpret_cast<const char*>(field + 12), static_cast<int>(length));
    }
    const quint32 first = Le32(field + 4);
    if (head & 0x40000000u) {
        QByteArray row;
        if (const QString why = lvalRow(first, row); !why.isEmpty()) {
            lost(0, length, why);
            return {};
        }
        if (row.size() < length) {
            lost(row.size(), length, QStringLiteral("hodnota je kratšia, ako uvádza jej hlavička"));
            return row;
        }
        return row.left(static_cast<int>(length));
    }
    // A chain of long-value rows, each beginning with the pointer to the next.
    QByteArray out;
    QSet<quint32> seen;
    quint32 pointer = first;
    while (pointer != 0 && out.size() < length) {
        if (seen.contains(pointer)) {
            lost(out.size(), length, QStringLiteral("reťaz strán dlhej hodnoty sa zacyklila"));
            return out;
        }
        seen.insert(pointer);
        QByteArray row;
        if (const QString why = lvalRow(pointer, row); !why.isEmpty() || row.size() < 4) {
            lost(out.size(), length,
                 why.isEmpty() ? QStringLiteral("riadok dlhej hodnoty je poškodený") : why);
            return out;
        }
        pointer = Le32(reinterpret_cast<const unsigned char*>(row.constData()));
        out += row.mid(4);
    }
    if (out.size() < length) {
        lost(out.size(), length, QStringLiteral("reťaz strán dlhej hodnoty sa skončila skôr"));
        return out;
    }
    return out.left(static_cast<int>(length));
}

void CJetSubor::ReadRows(const CTabulkaJet& table, const std::function<bool(const QVariantList& values)>& row,
                         const std::function<void(const QString& where)>& nulInText)
{
    MdbHandle* mdb = m_stav->mdb;
    MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb, table.libraryName.constData());
    MdbTableDef* def = entry ? mdb_read_table(entry) : nullptr;
    if (!def) {
        Lost(table.name, {},
             QStringLiteral("tabuľka sa nedá prečítať; chýba všetkých %1 jej riadkov").arg(table.rows));
        return;
    }
    struct CUvolni
    {
        MdbTableDef* def;
        ~CUvolni() { mdb_free_tabledef(def); }
    } release{def};
    mdb_read_columns(def);
    mdb_rewind_table(def);
    const bool jet3 = mdb->f->jet_version == MDB_VER_JET3;
    QVector<MdbField> fields(static_cast<int>(std::max(def->num_cols, 1u)) + 8);
    QVariantList values;
    qint64 number = 0;
    qint64 skipped = 0;
    int idColumn = -1;
    for (int c = 0; c < table.columns.size(); ++c)
        if (table.columns.at(c).name == QStringLiteral("ID"))
            idColumn = c;
    QSet<qint64> ids;
    // The row named by its ID where it has one read already, else by its place in the table.
    const auto rowName = [&] {
        if (idColumn >= 0 && idColumn < values.size() && !values.at(idColumn).isNull())
            return QStringLiteral("riadok s ID %1").arg(values.at(idColumn).toLongLong());
        return QStringLiteral("%1. riadok").arg(number);
    };
    const auto columnName = [&](unsigned c) { return table.columns.value(static_cast<int>(c)).name; };
    while (mdb_fetch_row(def)) {
        ++number;
        // A page of another table or of nothing that a damaged map hands over: its rows are no rows
        // of this table.
        if (mdb->pg_buf[0] != 0x01 || Le32(mdb->pg_buf + 4) != entry->table_pg) {
            ++skipped;
            Lost(table.name, QStringLiteral("%1. riadok").arg(number),
                 QStringLiteral("stojí na strane %1, ktorá tabuľke nepatrí; vynechal sa")
                     .arg(def->cur_phys_pg));
            continue;
        }
        // The row just read, cracked again for what binding leaves out: which values are NULL, and
        // each value's bytes.
        int start = 0;
        size_t size = 0;
        const bool found = mdb_find_row(mdb, static_cast<int>(def->cur_row) - 1, &start, &size) == 0;
        const int cracked = found ? mdb_crack_row(def, start & kOffsetMask, size, fields.data()) : -1;
        if (cracked < static_cast<int>(def->num_cols)) {
            ++skipped;
            Lost(table.name, QStringLiteral("%1. riadok").arg(number),
                 QStringLiteral("riadok sa nedá prečítať; vynechal sa"));
            continue;
        }
        values.clear();
        bool rowLost = false;
        for (unsigned c = 0; c < def->num_cols && !rowLost; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
            const MdbField& f = fields[static_cast<int>(c)];
            if (col->col_type == MDB_BOOL) {
                // A Yes/No column keeps its value in the row's null mask: never NULL, Yes is -1.
                values.append(f.is_null ? 0 : -1);
                continue;
            }
            if (f.is_null) {
                values.append(QVariant());
                continue;
            }
            const QString where = QStringLiteral("%1, stĺpec %2").arg(rowName(), columnName(c));
            const bool inPage =
                f.start >= 0 && f.siz >= 0 && f.start + f.siz <= static_cast<int>(mdb->fmt->pg_size);
            if (!inPage) {
                Lost(table.name, where, QStringLiteral("hodnota leží mimo strany; riadok sa vynechal"));
                rowLost = true;
                break;
            }
            const unsigned char* p = mdb->pg_buf + f.start;
            const auto fixed = [&](int bytes) {
                if (f.siz >= bytes)
                    return true;
                Lost(table.name, where, QStringLiteral("hodnota je neúplná; riadok sa vynechal"));
                rowLost = true;
                return false;
            };
            switch (col->col_type) {
            case MDB_BYTE:
                if (fixed(1))
                    values.append(static_cast<qint64>(p[0]));
                break;
            case MDB_INT:
                if (fixed(2))
                    values.append(LittleEndian(p, 2));
                break;
            case MDB_LONGINT:
                if (fixed(4))
                    values.append(LittleEndian(p, 4));
                break;
            case MDB_FLOAT:
                if (fixed(4)) {
                    float v;
                    std::memcpy(&v, p, 4);
                    values.append(SingleValue(v));
                }
                break;
            case MDB_DOUBLE:
                if (fixed(8)) {
                    double v;
                    std::memcpy(&v, p, 8);
                    values.append(v);
                }
                break;
            case MDB_MONEY:
                if (fixed(8))
                    values.append(static_cast<double>(LittleEndian(p, 8)) / 10000.0);
                break;
            case MDB_DATETIME:
                if (fixed(8)) {
                    double v;
                    std::memcpy(&v, p, 8);
                    if (!std::isfinite(v) || std::fabs(v) > 3000000.0) {
                        Lost(table.name, where,
                             QStringLiteral("dátum nie je platný; prevzal sa ako prázdny"));
                        values.append(QVariant());
                    } else {
                        values.append(JetDateText(v));
                    }
                }
                break;
            case MDB_TEXT: {
                const QString text =
                    Text(QByteArray(reinterpret_cast<const char*>(p), f.siz), jet3, table.name, where);
                if (text.contains(QChar(0)) && nulInText)
                    nulInText(QStringLiteral("%1, %2").arg(table.name, where));
                values.append(text);
                break;
            }
            case MDB_MEMO: {
                const QByteArray bytes = LongValue(p, f.siz, table.name, where, true);
                const QString text = Text(bytes, jet3, table.name, where);
                if (text.contains(QChar(0)) && nulInText)
                    nulInText(QStringLiteral("%1, %2").arg(table.name, where));
                values.append(text);
                break;
            }
            case MDB_OLE:
                values.append(LongValue(p, f.siz, table.name, where, false));
                break;
            case MDB_BINARY:
                values.append(QByteArray(reinterpret_cast<const char*>(p), f.siz));
                break;
            default: {
                // Whatever else (a replication ID, a decimal): the library's own text of it.
                mdb_set_bind_size(mdb, 4096);
                char* text = mdb_col_to_string(mdb, mdb->pg_buf, f.start, col->col_type, f.siz);
                values.append(QString::fromUtf8(text ? text : ""));
                g_free(text);
            }
            }
        }
        if (rowLost) {
            ++skipped;
            continue;
        }
        if (idColumn >= 0 && idColumn < values.size() && !values.at(idColumn).isNull())
            ids.insert(values.at(idColumn).toLongLong());
        if (!row(values))
            return;
    }
    // What the table's definition says it holds and the pages did not give.
    const qint64 missing = table.rows - number;
    if (missing != 0) {
        QString what = missing > 0
                           ? QStringLiteral("v súbore je zapísaných %1 riadkov, na jej stranách sa našlo %2; "
                                            "%3 riadkov sa nedá prečítať")
                                 .arg(table.rows)
                                 .arg(number)
                                 .arg(missing)
                           : QStringLiteral("v súbore je zapísaných %1 riadkov, na jej stranách sa našlo %2 "
                                            "(stránky tabuľky sú poškodené)")
                                 .arg(table.rows)
                                 .arg(number);
        // IDs come from a counter: when exactly as many are missing below it as rows were lost, they
        // are the lost rows' IDs.
        if (missing > 0 && idColumn >= 0) {
            qint64 top = table.autoNumber;
            for (qint64 id : ids)
                top = std::max(top, id);
            QVector<qint64> gaps;
            for (qint64 id = 1; id <= top && gaps.size() <= missing; ++id)
                if (!ids.contains(id))
                    gaps.append(id);
            if (gaps.size() == missing)
                what += QStringLiteral(" (ID %1)").arg(IdRanges(gaps));
        }
        Lost(table.name, {}, what);
    }
}
