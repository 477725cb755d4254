// What the schedule costs: generating a large competition's fixture list in one go, and filling the
// "Všetky kolá" list and the page of a competition with over ten thousand matches.

#include "competition/generator.h"
#include "competition/rozpis.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "db/schema.h"
#include "officials/nominacie.h"
#include "tichy.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct CSezona
{
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    CTichy user;
    CLigaroDoc doc{user};
    int competition = 0;

    explicit CSezona(int clubs)
    {
        const QString path = dir.filePath(QStringLiteral("s.mdb"));
        CreateNewSeasonFile(path);
        doc.OpenSeasonFile(path);
        CDatabaza& db = doc.Database();
        db.Execute(QStringLiteral("insert into tsutaze (nazov) values ('I. trieda')"));
        competition = static_cast<int>(db.LastInsertId());
        for (int i = 1; i <= clubs; ++i)
            db.Execute(QStringLiteral("insert into tkluby (nazov, skupina, vylosovanie) values (?, ?, ?)"),
                       {QStringLiteral("Klub %1").arg(i), competition, i});
    }
    void Generate(int mode)
    {
        CParametreGenerovania p =
            CParametreGenerovania::Defaults(DoubleRoundCount(doc.Database(), competition), QDate(2011, 6, 1));
        p.mode = mode;
        GenerateFixtures(doc, competition, p);
    }
};

void BM_GenerateTwentyClubsFourPasses(benchmark::State& state)
{
    CSezona season(20);
    for (auto _ : state)
        season.Generate(kStvorkolovo);
    state.counters["matches"] =
        season.doc.Database().Value(QStringLiteral("select count(*) from tzapasy")).toDouble();
}
BENCHMARK(BM_GenerateTwentyClubsFourPasses)->Unit(benchmark::kMillisecond);

void BM_ScheduleListAllRounds(benchmark::State& state)
{
    // 72 clubs in four passes: 4 x 71 x 36 = 10,224 matches.
    CSezona season(72);
    season.Generate(kStvorkolovo);
    for (auto _ : state)
        benchmark::DoNotOptimize(ScheduleList(season.doc.Database(), season.competition, kVsetkyKola));
}
BENCHMARK(BM_ScheduleListAllRounds)->Unit(benchmark::kMillisecond);

void BM_SchedulePageAllRounds(benchmark::State& state)
{
    CSezona season(72);
    season.Generate(kStvorkolovo);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ExportSchedule(season.doc.Database(), season.competition, kVsetkyKola).CopyText());
}
BENCHMARK(BM_SchedulePageAllRounds)->Unit(benchmark::kMillisecond);

void BM_NominationsAllMatches(benchmark::State& state)
{
    CSezona season(72);
    season.Generate(kStvorkolovo);
    for (auto _ : state)
        benchmark::DoNotOptimize(Nominations(season.doc.Database(), kVsetkyZapasy));
}
BENCHMARK(BM_NominationsAllMatches)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
