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
#include <QRandomGenerator>

#include <gtest/gtest.h>

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
    refused(odd, QStringLiteral("stĺpec pozn má znaky, ktoré kódová stránka súboru nepozná"));
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
