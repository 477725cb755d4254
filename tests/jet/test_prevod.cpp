// Seasons kept in the Jet format converted into season files: every table, row and value as in the
// season each file was written from, the Jet file untouched, and damaged or foreign files refused with
// a clear message and nothing left behind, whatever the reading library does with them.

#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "db/subory.h"
#include "discipline/karty.h"
#include "jet/CJetSubor.h"
#include "jet/prevod.h"
#include "pomocnik.h"
#include "results/tabulka.h"
#include "results/vysledky.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QString Fixture(const QString& name)
{
    return QStringLiteral(MIRAK_SOURCE_DIR "/tests/jet/subory/") + name;
}

QByteArray Hash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of every table of `source` (a season as the store holds it) against `converted`: the same
// rows under the same IDs, each value of the same kind and the same value; NULL apart from empty text.
QStringList Differences(const QString& source, const QString& converted)
{
    CDatabaza a, b;
    a.Open(source);
    b.Open(converted);
    QStringList out;
    QStringList tables;
    CPrikaz list(
        a, QStringLiteral("select name from sqlite_master where type='table' and name<>'sqlite_sequence'"));
    while (list.Step())
        tables << list.Text(0);
    for (const QString& table : tables) {
        if (!b.TableExists(table)) {
            out << QStringLiteral("missing table %1").arg(table);
            continue;
        }
        const QStringList columns = a.ColumnNames(table);
        QStringList quoted;
        for (const QString& c : columns)
            quoted << QStringLiteral("\"%1\"").arg(c);
        const QString order =
            columns.contains(QStringLiteral("ID")) ? QStringLiteral("ID") : QStringLiteral("rowid");
        const QString sql = QStringLiteral("select %1 from \"%2\" order by %3")
                                .arg(quoted.join(QLatin1Char(',')), table, order);
        CPrikaz qa(a, sql), qb(b, sql);
        int row = 0;
        while (true) {
            const bool ha = qa.Step(), hb = qb.Step();
            if (ha != hb) {
                out << QStringLiteral("%1: row count differs at %2").arg(table).arg(row);
                break;
            }
            if (!ha)
                break;
            for (int c = 0; c < columns.size(); ++c) {
                const QVariant x = qa.Value(c), y = qb.Value(c);
                if (x.isNull() != y.isNull() || x.typeId() != y.typeId() || x != y)
                    out << QStringLiteral("%1 row %2 %3: %4 / %5")
                               .arg(table)
                               .arg(row)
                               .arg(columns.at(c),
                                    x.isNull() ? QStringLiteral("NULL") : x.toString().left(40),
                                    y.isNull() ? QStringLiteral("NULL") : y.toString().left(40));
            }
            ++row;
        }
    }
    return out;
}

class Conversion : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        SetConverterProgram(QStringLiteral(MIRAK_EXECUTABLE));
    }
    // A copy of a fixture in the test's folder (the project's files stay as they are).
    QString Copy(const QString& name, const QString& as = {})
    {
        const QString path = Path(as.isEmpty() ? name : as);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(Fixture(name), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    QStringList Leftovers()
    {
        QStringList out;
        for (const QString& f : QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden))
            if (f.startsWith(QLatin1Char('.')) || f.endsWith(QStringLiteral("-journal")))
                out << f;
        return out;
    }
};

TEST_F(Conversion, EveryRowAndValueOfEverySeasonAsItsSourceHoldsThem)
{
    const QVector<QPair<QString, QString>> cases = {{"okraje-jet3.mdb", "okraje.sqlite"},
                                                    {"okraje-jet4.mdb", "okraje.sqlite"},
                                                    {"stara-schema-jet3.mdb", "stara-schema.sqlite"},
                                                    {"mala-jet3-historia.mdb", "mala.sqlite"},
                                                    {"mala-jet4-historia.mdb", "mala.sqlite"}};
    for (const auto& [jetName, sourceName] : cases) {
        SCOPED_TRACE(jetName.toStdString());
        const QString jet = Copy(jetName);
        // The source season under a season file's name, for the window's open.
        const QString source = Copy(sourceName, QStringLiteral("zdroj-") + jetName);
        const QByteArray before = Hash(jet);
        const QString target = Path(QStringLiteral("prevedena-") + jetName);
        const CVysledokPrevodu result = ConvertJetSeason(jet, target);
        ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        EXPECT_EQ(Hash(jet), before) << "the Jet file was changed";
        EXPECT_EQ(Differences(source, target), QStringList());
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();
        {
            // Each counter goes on after the source's, so that no ID is given twice.
            CDatabaza a, b;
            a.Open(source);
            b.Open(target);
            CPrikaz seq(a, QStringLiteral("select name, seq from sqlite_sequence"));
            while (seq.Step())
                EXPECT_GE(
                    b.Value(QStringLiteral("select seq from sqlite_sequence where name=?"), {seq.Text(0)})
                        .toLongLong(),
                    seq.Int64(1))
                    << seq.Text(0).toStdString();
        }
        // The converted season opens like any (the upgrade adds what the old one lacked) and its lists
        // are its source's.
        CLigaroDoc converted(m_user), original(m_user);
        ASSERT_TRUE(converted.OpenSeasonFile(target))
            << m_user.messages.join(QLatin1Char('\n')).toStdString();
        ASSERT_TRUE(original.OpenSeasonFile(source));
        for (const CSutaz& s : ReadCompetitions(original.Database())) {
            const auto page = [](CDatabaza& db, int id) {
                const auto p = ExportStandings(db, id);
                return p ? p->Text() : QString();
            };
            EXPECT_EQ(page(converted.Database(), s.id), page(original.Database(), s.id));
            EXPECT_EQ(ExportResults(converted.Database(), s.id, kVsetkyKola).Text(),
                      ExportResults(original.Database(), s.id, kVsetkyKola).Text());
            EXPECT_EQ(
                CardRegister(converted.Database(), s.id, kVsetkyKluby, CDruhKariet::Zlte, {4, 8}).rows.size(),
                CardRegister(original.Database(), s.id, kVsetkyKluby, CDruhKariet::Zlte, {4, 8}).rows.size());
        }
    }
}

TEST_F(Conversion, TheOldSchemaGetsTheUpgradeColumnsAndExtrasAreKeptAndReported)
{
    const QString target = Path(QStringLiteral("stara.mdb"));
    ASSERT_TRUE(ConvertJetSeason(Copy(QStringLiteral("stara-schema-jet3.mdb")), target).error.isEmpty());
    CLigaroDoc doc(m_user);
    ASSERT_TRUE(doc.OpenSeasonFile(target));
    EXPECT_EQ(doc.Database()
                  .Value(QStringLiteral("select count(*) from tzapasy where polcas1<>100 or polcas2<>100"))
                  .toInt(),
              0);
    EXPECT_EQ(
        doc.Database().Value(QStringLiteral("select count(*) from tzapasy where poznamka2<>''")).toInt(), 0);
    doc.CloseSeason();

    const CVysledokPrevodu extras =
        ConvertJetSeason(Copy(QStringLiteral("mala-jet3-historia.mdb")), Path(QStringLiteral("mala.mdb")));
    ASSERT_TRUE(extras.error.isEmpty());
    EXPECT_TRUE(
        extras.report.join(QLatin1Char('\n')).contains(QStringLiteral("tkluby má navyše stĺpce: web")));
    EXPECT_TRUE(
        extras.report.join(QLatin1Char('\n')).contains(QStringLiteral("Tabuľka tpoznamky (riadkov: 2)")));
}

TEST_F(Conversion, WhatIsNoReadableSeasonIsRefusedAndNothingIsLeftBehind)
{
    const QString target = Path(QStringLiteral("nova.mdb"));
    const auto refused = [&](const QString& jet, const QString& expected) {
        const QByteArray before = Hash(jet);
        const CVysledokPrevodu r = ConvertJetSeason(jet, target);
        EXPECT_TRUE(r.error.contains(expected)) << r.error.toStdString();
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(Hash(jet), before);
    };
    QFile empty(Path(QStringLiteral("prazdny.mdb")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    refused(empty.fileName(), QStringLiteral("je prázdny"));
    refused(Copy(QStringLiteral("nesezona-jet3.mdb")),
            QStringLiteral("nie sezóna: chýba v ňom tabuľka tsezona"));
    refused(Copy(QStringLiteral("mala.sqlite")), QStringLiteral("nezačína ako databáza Jet"));
    // Cut after its first pages: the catalogue cannot be read.
    const QString cut = Copy(QStringLiteral("mala-jet3-historia.mdb"));
    QFile::resize(cut, 3 * 2048);
    refused(cut, QStringLiteral("poškodený"));
    // A byte the code page has no letter for is named with its table, row and column.
    const QString odd = Copy(QStringLiteral("mala-jet3-historia.mdb"));
    {
        QFile f(odd);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray data = f.readAll();
        const qsizetype at = data.indexOf("Ihrisko s umelou");
        ASSERT_GT(at, 0);
        data[at + 1] = char(0x98);
        f.seek(0);
        f.write(data);
    }
    refused(odd, QStringLiteral("stĺpec pozn: text má znaky, ktoré kódová stránka súboru nepozná"));
    // A target that exists is never written over.
    QFile existing(target);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("moje");
    existing.close();
    const CVysledokPrevodu over = ConvertJetSeason(Copy(QStringLiteral("okraje-jet3.mdb")), target);
    EXPECT_TRUE(over.error.contains(QStringLiteral("už existuje")));
    EXPECT_EQ(Hash(target), QCryptographicHash::hash("moje", QCryptographicHash::Sha256));
}

// Damaged copies of the fixtures: the reading library may stop, refuse or fall over; the caller always
// gets an answer, and either a season that opens or nothing at all.
TEST_F(Conversion, DamagedFilesNeverTakeTheCallerDown)
{
    QRandomGenerator random(19);
    int converted = 0, refused = 0;
    for (const char* name : {"mala-jet3-historia.mdb", "mala-jet4-historia.mdb", "okraje-jet3.mdb"}) {
        QFile f(Fixture(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        const int page = original.at(0x14) == 0 ? 2048 : 4096;
        for (int round = 0; round < 12; ++round) {
            QByteArray damaged = original;
            const int hits = 1 + random.bounded(40);
            for (int h = 0; h < hits; ++h)
                damaged[page + random.bounded(static_cast<int>(damaged.size()) - page)] =
                    char(random.bounded(256));
            const QString jet = Path(QStringLiteral("poskodeny.mdb"));
            QFile out(jet);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(damaged);
            out.close();
            const QString target = Path(QStringLiteral("z-poskodeneho.mdb"));
            QFile::remove(target);
            const CVysledokPrevodu r = ConvertJetSeason(jet, target);
            if (r.error.isEmpty()) {
                ++converted;
                CLigaroDoc doc(m_user);
                EXPECT_TRUE(doc.OpenSeasonFile(target)) << name << " " << round;
            } else {
                ++refused;
                EXPECT_FALSE(QFile::exists(target)) << r.error.toStdString();
            }
            EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();
        }
    }
    EXPECT_EQ(converted + refused, 36);
}

// Pages of a Jet 3 copy, for damaging it the way a disk or a careless tool does.
class CJet3
{
public:
    explicit CJet3(const QString& path) : m_path(path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        m_bytes = f.readAll();
    }
    void Save()
    {
        QFile f(m_path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(m_bytes);
    }
    static constexpr int kPage = 2048;
    int Pages() const { return static_cast<int>(m_bytes.size() / kPage); }
    quint8 Byte(qint64 at) const { return quint8(m_bytes.at(at)); }
    quint32 Le32(qint64 at) const
    {
        return Byte(at) | (quint32(Byte(at + 1)) << 8) | (quint32(Byte(at + 2)) << 16) |
               (quint32(Byte(at + 3)) << 24);
    }
    quint16 Le16(qint64 at) const { return quint16(Byte(at) | (Byte(at + 1) << 8)); }
    bool IsData(int page) const { return Byte(qint64(page) * kPage) == 0x01; }
    bool IsLval(int page) const { return IsData(page) && m_bytes.mid(qint64(page) * kPage + 4, 4) == "LVAL"; }
    // The first data page holding `text` (in the file's code page).
    int DataPageWith(const QString& text) const
    {
        const QByteArray needle = QStringEncoder("windows-1250").encode(text);
        for (qint64 at = m_bytes.indexOf(needle); at >= 0; at = m_bytes.indexOf(needle, at + 1))
            if (IsData(static_cast<int>(at / kPage)) && !IsLval(static_cast<int>(at / kPage)))
                return static_cast<int>(at / kPage);
        return -1;
    }
    // The IDs (the first fixed column) of the rows on a data page.
    QVector<qint64> Ids(int page) const
    {
        QVector<qint64> ids;
        const qint64 base = qint64(page) * kPage;
        for (int r = 0; r < Le16(base + 8); ++r)
            ids << Le32(base + (Le16(base + 10 + 2 * r) & 0x1fff) + 1);
        return ids;
    }
    // The rows of long-value pages that point on to another (the links of chained memos).
    QVector<QPair<qint64, quint32>> ChainLinks() const
    {
        QVector<QPair<qint64, quint32>> links;
        for (int p = 1; p < Pages(); ++p) {
            if (!IsLval(p))
                continue;
            const qint64 base = qint64(p) * kPage;
            for (int r = 0; r < Le16(base + 8); ++r) {
                const qint64 row = base + (Le16(base + 10 + 2 * r) & 0x1fff);
                if (Le32(row) != 0)
                    links.append({row, (quint32(p) << 8) | quint32(r)});
            }
        }
        return links;
    }
    void Put32(qint64 at, quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[at + i] = char((v >> (8 * i)) & 0xff);
    }
    void ZeroPage(int page) { m_bytes.replace(qint64(page) * kPage, kPage, QByteArray(kPage, '\0')); }
    // Clears the page's bit in every page map (type 0) that has it set.
    int ClearMapBit(int page)
    {
        int cleared = 0;
        for (int p = 1; p < Pages(); ++p) {
            const qint64 base = qint64(p) * kPage;
            if (!IsData(p) || IsLval(p) || Le32(base + 4) != 0)
                continue;
            for (int r = 0; r < Le16(base + 8); ++r) {
                const qint64 row = base + (Le16(base + 10 + 2 * r) & 0x1fff);
                if (Byte(row) != 0 || Le32(row + 1) != 0)
                    continue;
                const qint64 bit = row + 5 + page / 8;
                if (Byte(bit) & (1 << (page % 8))) {
                    m_bytes[bit] = char(Byte(bit) & ~(1 << (page % 8)));
                    ++cleared;
                }
            }
        }
        return cleared;
    }
    void Cut(qint64 size) { m_bytes.truncate(size); }

private:
    QString m_path;
    QByteArray m_bytes;
};

QString Ranges(QVector<qint64> ids)
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

int Rows(const QString& season, const QString& table)
{
    CDatabaza db;
    db.Open(season);
    return db.Value(QStringLiteral("select count(*) from %1").arg(table)).toInt();
}

class DamagedJet : public Conversion
{
protected:
    // Refused with the table named, nothing written, the source untouched; then the salvage converts
    // what can be read and its report names every loss the test expects.
    CVysledokPrevodu RefusedThenSalvaged(const QString& jet, const QString& table,
                                         const QStringList& expected)
    {
        const QByteArray before = Hash(jet);
        const QString target = Path(QStringLiteral("zachranena.mdb"));
        QFile::remove(target);
        QFile::remove(SalvageReportPath(target));
        const CVysledokPrevodu refused = ConvertJetSeason(jet, target);
        EXPECT_TRUE(refused.damaged) << refused.error.toStdString();
        EXPECT_TRUE(refused.error.contains(QStringLiteral("je poškodený"))) << refused.error.toStdString();
        EXPECT_TRUE(refused.error.contains(table)) << refused.error.toStdString();
        EXPECT_TRUE(refused.error.contains(QStringLiteral("Nič sa nezapísalo")))
            << refused.error.toStdString();
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();

        CVolbyPrevodu salvage;
        salvage.salvage = true;
        const CVysledokPrevodu saved = ConvertJetSeason(jet, target, {}, salvage);
        EXPECT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
        EXPECT_TRUE(QFile::exists(target));
        EXPECT_EQ(saved.reportFile, SalvageReportPath(target));
        QFile report(saved.reportFile);
        EXPECT_TRUE(report.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(report.readAll());
        for (const QString& e : expected)
            EXPECT_TRUE(text.contains(e)) << e.toStdString() << "\n" << text.toStdString();
        EXPECT_EQ(Hash(jet), before);
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();
        CLigaroDoc doc(m_user);
        EXPECT_TRUE(doc.OpenSeasonFile(target)) << m_user.messages.join('\n').toStdString();
        return saved;
    }
    QString m_source = Fixture(QStringLiteral("mala.sqlite"));
};

TEST_F(DamagedJet, AZeroedDataPageOrAClearedMapBitLosesItsRowsAndTheReportNamesThem)
{
    for (const bool zero : {true, false}) {
        const QString jet = Copy(QStringLiteral("mala-jet3.mdb"),
                                 zero ? QStringLiteral("nulova.mdb") : QStringLiteral("mapa.mdb"));
        CJet3 file(jet);
        // A page of the players' table from the middle of it.
        QString surname;
        {
            CDatabaza db;
            db.Open(m_source);
            surname = db.Value(QStringLiteral("select priezvisko from thraci where ID=70")).toString();
        }
        const int page = file.DataPageWith(surname);
        ASSERT_GT(page, 0);
        const QVector<qint64> ids = file.Ids(page);
        ASSERT_FALSE(ids.isEmpty());
        for (qint64 id : ids)
            ASSERT_TRUE(id >= 1 && id <= 136) << id;
        if (zero)
            file.ZeroPage(page);
        else
            ASSERT_GT(file.ClearMapBit(page), 0);
        file.Save();
        const CVysledokPrevodu saved = RefusedThenSalvaged(
            jet, QStringLiteral("thraci"),
            {QStringLiteral(
                 "tabuľka thraci: v súbore je zapísaných 136 riadkov, na jej stranách sa našlo %1; %2 "
                 "riadkov sa nedá prečítať (ID %3)")
                 .arg(136 - ids.size())
                 .arg(ids.size())
                 .arg(Ranges(ids))});
        EXPECT_EQ(saved.losses.size(), 1) << saved.losses.join('\n').toStdString();
        EXPECT_EQ(Rows(Path(QStringLiteral("zachranena.mdb")), QStringLiteral("thraci")), 136 - ids.size());
    }
}

TEST_F(DamagedJet, ALongValueChainThatLoopsOrLeavesItsPagesIsALossOfItsCharacters)
{
    for (const bool loop : {true, false}) {
        const QString jet = Copy(QStringLiteral("okraje-jet3.mdb"),
                                 loop ? QStringLiteral("slucka.mdb") : QStringLiteral("odbocka.mdb"));
        CJet3 file(jet);
        const auto links = file.ChainLinks();
        ASSERT_FALSE(links.isEmpty());
        // The first link of a chain points back at its own row, or at the file's first data page.
        file.Put32(links.first().first, loop ? links.first().second : (1u << 8));
        file.Save();
        const CVysledokPrevodu saved =
            RefusedThenSalvaged(jet, QStringLiteral("stĺpec"),
                                {loop ? QStringLiteral("reťaz strán dlhej hodnoty sa zacyklila (prečítalo sa")
                                      : QStringLiteral("ktorá nie je stranou dlhých hodnôt (prečítalo sa")});
        EXPECT_EQ(saved.losses.size(), 1) << saved.losses.join('\n').toStdString();
    }
}

TEST_F(DamagedJet, ACutFileIsRefusedAndARunOfLostPagesNamesEveryTableThatLostRows)
{
    // Cut short, the file has lost its catalogue (at its end in these files): nothing can be found.
    const QString cut = Copy(QStringLiteral("mala-jet3.mdb"), QStringLiteral("odrezana.mdb"));
    {
        CJet3 file(cut);
        file.Cut(qint64(file.Pages() * 3 / 4) * CJet3::kPage);
        file.Save();
    }
    const QByteArray before = Hash(cut);
    CVolbyPrevodu salvage;
    salvage.salvage = true;
    const CVysledokPrevodu refused = ConvertJetSeason(cut, Path(QStringLiteral("x.mdb")), {}, salvage);
    EXPECT_TRUE(refused.error.contains(QStringLiteral("je poškodený"))) << refused.error.toStdString();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("x.mdb"))));
    EXPECT_EQ(Hash(cut), before);

    // A run of pages lost in the middle (a disk's bad sectors): every table that lost rows is named.
    const QString jet = Copy(QStringLiteral("mala-jet3.mdb"), QStringLiteral("diera.mdb"));
    {
        CJet3 file(jet);
        for (int p = file.Pages() / 3; p < file.Pages() * 2 / 3; ++p)
            file.ZeroPage(p);
        file.Save();
    }
    const CVysledokPrevodu notSaved = ConvertJetSeason(jet, Path(QStringLiteral("y.mdb")));
    EXPECT_TRUE(notSaved.damaged) << notSaved.error.toStdString();
    const QString target = Path(QStringLiteral("zachranena.mdb"));
    const CVysledokPrevodu saved = ConvertJetSeason(jet, target, {}, salvage);
    ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    const QString losses = saved.losses.join('\n');
    int lostTables = 0;
    for (const QString& table :
         {QStringLiteral("tsutaze"), QStringLiteral("tkluby"), QStringLiteral("thraci"),
          QStringLiteral("tzapasy"), QStringLiteral("tgoly"), QStringLiteral("tzkarty"),
          QStringLiteral("tckarty"), QStringLiteral("tbody"), QStringLiteral("trozhodci"),
          QStringLiteral("tnominacie")}) {
        const int expected = Rows(m_source, table), got = Rows(target, table);
        EXPECT_LE(got, expected) << table.toStdString();
        if (got < expected) {
            ++lostTables;
            EXPECT_TRUE(losses.contains(QStringLiteral("tabuľka %1").arg(table)))
                << table.toStdString() << "\n"
                << losses.toStdString();
        } else {
            EXPECT_FALSE(losses.contains(QStringLiteral("tabuľka %1").arg(table))) << table.toStdString();
        }
    }
    EXPECT_GT(lostTables, 1);
}

TEST_F(Conversion, OleObjectsBinaryValuesTextsWithANulAndNamesWithDiacriticsAreKeptWhole)
{
    for (const char* name : {"prilohy-jet3.mdb", "prilohy-jet4.mdb"}) {
        const QString target =
            Path(QStringLiteral("z-prilohy-%1.mdb").arg(QString::fromLatin1(name).mid(8, 4)));
        const CVysledokPrevodu r = ConvertJetSeason(Copy(QString::fromLatin1(name)), target);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(Differences(Fixture(QStringLiteral("prilohy.sqlite")), target), QStringList()) << name;
        const QString report = r.report.join('\n');
        EXPECT_TRUE(report.contains(
            QStringLiteral("V tabuľke tkluby, riadok s ID 2, stĺpec nazov: text obsahuje znak NUL")))
            << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("Tabuľka tčlenovia (riadkov: 2)")))
            << report.toStdString();
        // The program's own tables are its own, not extras.
        EXPECT_FALSE(report.contains(QStringLiteral("tamnestie"))) << report.toStdString();
        CDatabaza db;
        db.Open(target);
        const QVariant first = db.Value(QStringLiteral("select obsah from tprilohy where ID=1"));
        EXPECT_EQ(first.typeId(), QMetaType::QByteArray);
        EXPECT_EQ(first.toByteArray(), QByteArray("\0\0\1\2\xff\0", 6));
        EXPECT_EQ(db.Value(QStringLiteral("select length(obsah) from tprilohy where ID=2")).toInt(), 7000);
        EXPECT_EQ(db.Value(QStringLiteral("select nazov from tkluby where ID=2")).toString(),
                  QStringLiteral("Slovan") + QChar(0) + QStringLiteral("B"));
        EXPECT_EQ(db.Value(QStringLiteral("select hodnota from tnastavenia where kluc='poradie'")).toString(),
                  QStringLiteral("vzajomne"));
        EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tamnestie")).toInt(), 1);
    }
}

TEST_F(Conversion, AColumnOfAnotherTypeIsConvertedOnlyWhereEveryValueReadsAsTheSeasonsType)
{
    const QString target = Path(QStringLiteral("typy.mdb"));
    const CVysledokPrevodu r = ConvertJetSeason(Copy(QStringLiteral("typy-jet3.mdb")), target);
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(Differences(Fixture(QStringLiteral("mala.sqlite")), target), QStringList());

    const QString jet = Copy(QStringLiteral("zle-typy-jet3.mdb"));
    const QString refusedTarget = Path(QStringLiteral("zle.mdb"));
    const CVysledokPrevodu refused = ConvertJetSeason(jet, refusedTarget);
    EXPECT_TRUE(refused.error.contains(QStringLiteral("v tabuľke thraci má stĺpec od iný typ")))
        << refused.error.toStdString();
    EXPECT_TRUE(refused.error.contains(QStringLiteral("„45000“"))) << refused.error.toStdString();
    EXPECT_FALSE(refused.error.contains(QStringLiteral("mismatch")));
    EXPECT_FALSE(refused.damaged);
    EXPECT_FALSE(QFile::exists(refusedTarget));
}

TEST_F(Conversion, TheParentNeverFallsAndNeverReplacesWhatAppearsAtTheTarget)
{
    const QString jet = Copy(QStringLiteral("mala-jet3.mdb"));
    // A folder that is not there: a Slovak sentence, not an abort.
    CVysledokPrevodu r = ConvertJetSeason(jet, Path(QStringLiteral("niet/x.mdb")));
    EXPECT_TRUE(r.error.contains(
        QStringLiteral("niet/x.mdb sa nepodarilo zapísať: priečinok alebo súbor neexistuje")))
        << r.error.toStdString();
    // A file created at the target while the conversion runs stays as it was.
    const QString target = Path(QStringLiteral("medzitym.mdb"));
    bool planted = false;
    r = ConvertJetSeason(jet, target, [&](qint64, qint64) {
        if (!planted) {
            QFile f(target);
            planted = f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && f.write("cudzi") == 5;
        }
        return true;
    });
    ASSERT_TRUE(planted);
    EXPECT_TRUE(r.error.contains(QStringLiteral("medzitým vznikol"))) << r.error.toStdString();
    EXPECT_EQ(Hash(target), QCryptographicHash::hash("cudzi", QCryptographicHash::Sha256));
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();
    // What is no file is no season, whatever its name.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("rura.mdb"))).constData(), 0600), 0);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("priecinok.mdb")));
    for (const QString& name : {QStringLiteral("rura.mdb"), QStringLiteral("priecinok.mdb")}) {
        r = ConvertJetSeason(Path(name), Path(QStringLiteral("z-%1").arg(name)));
        EXPECT_TRUE(r.error.contains(QStringLiteral("nie je súbor sezóny"))) << r.error.toStdString();
    }
    // The child's job is no way to write over a season: it writes only a new file of the program's own.
    const QString season = NewSeason(QStringLiteral("moja.mdb"));
    const QByteArray before = Hash(season);
    QProcess child;
    child.start(QStringLiteral(MIRAK_EXECUTABLE), {QStringLiteral("--jet-child"), jet, season});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 2);
    EXPECT_EQ(Hash(season), before);
    child.start(QStringLiteral(MIRAK_EXECUTABLE),
                {QStringLiteral("--jet-child"), jet, Path(QStringLiteral("nova.mdb"))});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 2);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("nova.mdb"))));
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(Conversion, AChildOverItsMemoryLimitIsStoppedAndSaidSo)
{
    // A file far larger than the memory the reading may take.
    const QString jet = Copy(QStringLiteral("mala-jet3.mdb"), QStringLiteral("obrovska.mdb"));
    ASSERT_TRUE(QFile::resize(jet, qint64(400) * 1024 * 1024));
    CVolbyPrevodu options;
    options.memoryMB = 300;
    const CVysledokPrevodu r = ConvertJetSeason(jet, Path(QStringLiteral("obrovska-nova.mdb")), {}, options);
    EXPECT_TRUE(r.error.contains(QStringLiteral("prekročilo pamäť"))) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(QStringLiteral("300 MB"))) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("obrovska-nova.mdb"))));
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(QLatin1Char(' ')).toStdString();
}
#endif

TEST(JetDates, DaysFromTheEndOf1899BothWays)
{
    EXPECT_EQ(JetDateText(2.0), QStringLiteral("1900-01-01 00:00:00"));
    EXPECT_EQ(JetDateText(-1.25), QStringLiteral("1899-12-29 06:00:00"));
    EXPECT_EQ(JetDateText(1.9999884259), QStringLiteral("1899-12-31 23:59:59"));
    EXPECT_EQ(JetDateText(45871.7291666667), QStringLiteral("2025-08-02 17:30:00"));
    EXPECT_EQ(JetDateText(-657434.0), QStringLiteral("0100-01-01 00:00:00"));
    EXPECT_EQ(JetDateText(2958465.9999884), QStringLiteral("9999-12-31 23:59:59"));
}

} // namespace
