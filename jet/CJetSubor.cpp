#include "CJetSubor.h"

#include "db/CChybaDatabazy.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

struct CJetSubor::CStav
{
    MdbHandle* mdb = nullptr;
    QByteArray codePage; // the decoder of Jet 3 texts
    qint64 fileSize = 0;
};

CJetSubor::CJetSubor(const QString& path) : m_stav(std::make_unique<CStav>()), m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 sa nedá čítať: %2").arg(Shown(path), file.errorString()));
    const QByteArray head = file.read(2048);
    file.close();
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
    // Jet 3 texts are taken byte for byte (Latin-1 maps every byte to itself) and decoded from the
    // file's own code page here, where a byte the code page lacks can be told.
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
    const int codePage = mdb->f->code_page == 0 ? 1250 : mdb->f->code_page;
    m_stav->codePage = QByteArray("windows-") + QByteArray::number(codePage);
    if (mdb->f->jet_version == MDB_VER_JET3 && !QStringDecoder(m_stav->codePage.constData()).isValid())
        throw CChybaDatabazy(QStringLiteral("Súbor %1 má texty v kódovej stránke %2, ktorú program nepozná.")
                                 .arg(Shown(path))
                                 .arg(codePage));
    m_stav->fileSize = QFileInfo(path).size();
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 je poškodený: nedá sa prečítať zoznam jeho tabuliek.").arg(Shown(path)));
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry))
            continue;
        MdbTableDef* def = mdb_read_table(entry);
        if (!def)
            throw CChybaDatabazy(QStringLiteral("Súbor %1 je poškodený: nedá sa prečítať tabuľka %2.")
                                     .arg(Shown(path), QString::fromUtf8(entry->object_name)));
        mdb_read_columns(def);
        CTabulkaJet table;
        table.name = QString::fromUtf8(entry->object_name);
        table.rows = def->num_rows;
        for (unsigned c = 0; c < def->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
            table.columns.append(
                {QString::fromUtf8(col->name), col->col_type, col->col_size, col->is_long_auto != 0});
        }
        // The counter of the table's AutoNumber stands in its definition page.
        if (mdb_read_pg(mdb, entry->table_pg) > 0)
            table.autoNumber = mdb_pg_get_int32(mdb, mdb->f->jet_version == MDB_VER_JET3 ? 16 : 20);
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

void CJetSubor::ReadRows(const CTabulkaJet& table, const std::function<bool(const QVariantList& values)>& row)
{
    MdbHandle* mdb = m_stav->mdb;
    MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(mdb, table.name.toUtf8().constData());
    MdbTableDef* def = entry ? mdb_read_table(entry) : nullptr;
    if (!def)
        throw CChybaDatabazy(QStringLiteral("Súbor %1 je poškodený: nedá sa prečítať tabuľka %2.")
                                 .arg(Shown(m_path), table.name));
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
    int idColumn = -1;
    for (unsigned c = 0; c < def->num_cols; ++c)
        if (QString::fromUtf8(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c))->name) ==
            QStringLiteral("ID"))
            idColumn = static_cast<int>(c);
    // The row named by its ID where it has one read already, else by its place in the table.
    const auto rowName = [&] {
        if (idColumn >= 0 && idColumn < values.size() && !values.at(idColumn).isNull())
            return QStringLiteral("riadok s ID %1").arg(values.at(idColumn).toLongLong());
        return QStringLiteral("%1. riadok").arg(number);
    };
    while (mdb_fetch_row(def)) {
        ++number;
        // The row just read, cracked again for what binding leaves out: which values are NULL, and
        // each value's bytes.
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(def->cur_row) - 1, &start, &size) != 0)
            throw CChybaDatabazy(
                QStringLiteral("Súbor %1 je poškodený: tabuľka %2, riadok %3 sa nedá prečítať.")
                    .arg(Shown(m_path), table.name)
                    .arg(number));
        const int cracked = mdb_crack_row(def, start & kOffsetMask, size, fields.data());
        if (cracked < static_cast<int>(def->num_cols))
            throw CChybaDatabazy(
                QStringLiteral("Súbor %1 je poškodený: tabuľka %2, riadok %3 sa nedá prečítať.")
                    .arg(Shown(m_path), table.name)
                    .arg(number));
        values.clear();
        for (unsigned c = 0; c < def->num_cols; ++c) {
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
            const bool inPage =
                f.start >= 0 && f.siz >= 0 && f.start + f.siz <= static_cast<int>(mdb->fmt->pg_size);
            if (!inPage)
                throw CChybaDatabazy(
                    QStringLiteral("Súbor %1 je poškodený: tabuľka %2, riadok %3, stĺpec %4.")
                        .arg(Shown(m_path), table.name)
                        .arg(number)
                        .arg(QString::fromUtf8(col->name)));
            const unsigned char* p = mdb->pg_buf + f.start;
            const auto fixed = [&](int bytes) {
                if (f.siz < bytes)
                    throw CChybaDatabazy(
                        QStringLiteral("Súbor %1 je poškodený: tabuľka %2, riadok %3, stĺpec %4.")
                            .arg(Shown(m_path), table.name)
                            .arg(number)
                            .arg(QString::fromUtf8(col->name)));
            };
            switch (col->col_type) {
            case MDB_BYTE:
                fixed(1);
                values.append(static_cast<qint64>(p[0]));
                break;
            case MDB_INT:
                fixed(2);
                values.append(LittleEndian(p, 2));
                break;
            case MDB_LONGINT:
                fixed(4);
                values.append(LittleEndian(p, 4));
                break;
            case MDB_FLOAT: {
                fixed(4);
                float v;
                std::memcpy(&v, p, 4);
                values.append(SingleValue(v));
                break;
            }
            case MDB_DOUBLE: {
                fixed(8);
                double v;
                std::memcpy(&v, p, 8);
                values.append(v);
                break;
            }
            case MDB_MONEY:
                fixed(8);
                values.append(static_cast<double>(LittleEndian(p, 8)) / 10000.0);
                break;
            case MDB_DATETIME: {
                fixed(8);
                double v;
                std::memcpy(&v, p, 8);
                if (!std::isfinite(v) || std::fabs(v) > 3000000.0)
                    throw CChybaDatabazy(
                        QStringLiteral("Súbor %1: tabuľka %2, %3, stĺpec %4 nemá platný dátum.")
                            .arg(Shown(m_path), table.name, rowName(), QString::fromUtf8(col->name)));
                values.append(JetDateText(v));
                break;
            }
            default: {
                // Texts, memos and whatever else: the library's own reading (a memo's pages, Jet 4's
                // compressed texts), then the code page of Jet 3. The library makes room for as much
                // as it is told a value may take: a memo gets its own length (its header's first bytes;
                // it cannot be longer than the file), everything else a text's.
                size_t room = 4096;
                if ((col->col_type == MDB_MEMO || col->col_type == MDB_OLE) && f.siz >= 4) {
                    const qint64 length = LittleEndian(p, 4) & 0x3fffffff;
                    room = static_cast<size_t>(std::min(length, m_stav->fileSize) * 4 + 4096);
                }
                mdb_set_bind_size(mdb, room);
                char* text = mdb_col_to_string(mdb, mdb->pg_buf, f.start, col->col_type, f.siz);
                const QByteArray bytes(text ? text : "");
                g_free(text);
                QString decoded = QString::fromUtf8(bytes);
                if (jet3 && (col->col_type == MDB_TEXT || col->col_type == MDB_MEMO)) {
                    QStringDecoder decoder(m_stav->codePage.constData(), QStringDecoder::Flag::Stateless);
                    decoded = decoder.decode(decoded.toLatin1());
                    // A byte the code page has no letter for comes out as a control character of the
                    // 0x80-0x9F block (the code pages of Windows give all the others a letter there).
                    const bool undefined = std::any_of(decoded.cbegin(), decoded.cend(), [](QChar ch) {
                        return ch.unicode() >= 0x80 && ch.unicode() <= 0x9f;
                    });
                    if (decoder.hasError() || undefined)
                        throw CChybaDatabazy(
                            QStringLiteral(
                                "Súbor %1: tabuľka %2, %3, stĺpec %4 má znaky, ktoré kódová stránka "
                                "súboru nepozná; text sa nedá previesť bez straty.")
                                .arg(Shown(m_path), table.name, rowName(), QString::fromUtf8(col->name)));
                }
                values.append(decoded);
            }
            }
        }
        if (!row(values))
            return;
    }
}
