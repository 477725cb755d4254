// What the store costs where the user feels it: a keystroke that writes a note, opening (and
// upgrading) a season of a whole association, and how fast a second program is turned away.

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/schema.h"
#include "tichy.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Percentile(const std::vector<double>& values, double p)
{
    std::vector<double> v = values;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
    return v[i];
}

// A season with `matches` matches (16-club competitions of 30 rounds), as an older version wrote it
// when `old` is set (no half-time columns, no indexes).
QString Season(const QString& path, int matches, bool old)
{
    QStringList s;
    for (const QString& st : NewSeasonStatements()) {
        if (old && st.startsWith(QStringLiteral("CREATE INDEX")))
            continue;
        if (old && st.startsWith(QStringLiteral("CREATE TABLE tzapasy")))
            s << QStringLiteral(
                "CREATE TABLE tzapasy (ID INTEGER PRIMARY KEY AUTOINCREMENT, skupina INTEGER, kolo "
                "INTEGER, klub1 INTEGER, klub2 INTEGER, los1 INTEGER, los2 INTEGER, cas TEXT, "
                "body1 INTEGER, body2 INTEGER, poznamka TEXT)");
        else
            s << st;
    }
    s << QStringLiteral(
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) "
             "INSERT INTO tzapasy (skupina, kolo, klub1, klub2, los1, los2, cas, body1, body2, poznamka) "
             "SELECT i/240+1, (i/8)%30+1, i%16+1, (i+5)%16+1, i%16+1, (i+5)%16+1, "
             "'2011-08-01 17:00:00', i%5, i%3, 'pozn' FROM n")
             .arg(matches);
    CDatabaza::CreateFile(path, s);
    return path;
}

void BM_KeystrokeNoteWrite(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    CTichy user;
    CLigaroDoc doc(user);
    doc.OpenSeasonFile(Season(dir.filePath(QStringLiteral("s.mdb")), 5000, false));
    CZaznamy rs(doc.Database());
    QString note;
    for (auto _ : state) {
        note += QLatin1Char('a');
        rs.Open(QStringLiteral("select * from tzapasy where ID=?"), {2500});
        rs.Edit();
        rs.SetFieldValue(QStringLiteral("poznamka2"), note);
        rs.Update();
    }
}
// One keystroke per repetition, so that the distribution over repetitions is that of single writes.
BENCHMARK(BM_KeystrokeNoteWrite)
    ->Iterations(1)
    ->Repetitions(300)
    ->ComputeStatistics("p99", [](const std::vector<double>& v) { return Percentile(v, 0.99); })
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void OpenSeason(benchmark::State& state, bool old)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString original = Season(dir.filePath(QStringLiteral("vzor.mdb")), 5000, old);
    const QString work = dir.filePath(QStringLiteral("praca.mdb"));
    CTichy user;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(work);
        QFile::copy(original, work);
        state.ResumeTiming();
        CLigaroDoc doc(user);
        if (!doc.OpenSeasonFile(work))
            state.SkipWithError("the season did not open");
    }
}
void BM_OpenAndUpgradeOlderSeason5000Matches(benchmark::State& state)
{
    OpenSeason(state, true);
}
void BM_OpenCurrentSeason5000Matches(benchmark::State& state)
{
    OpenSeason(state, false);
}
BENCHMARK(BM_OpenAndUpgradeOlderSeason5000Matches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCurrentSeason5000Matches)->Unit(benchmark::kMillisecond);

void BM_SecondProgramRefused(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    CTichy user;
    CLigaroDoc holder(user);
    holder.OpenSeasonFile(Season(dir.filePath(QStringLiteral("s.mdb")), 100, false));
    const QString path = holder.FilePath();
    for (auto _ : state) {
        CLigaroDoc other(user);
        if (other.OpenSeasonFile(path))
            state.SkipWithError("the second program got the file");
    }
}
BENCHMARK(BM_SecondProgramRefused)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
