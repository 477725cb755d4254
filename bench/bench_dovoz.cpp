// Imports from spreadsheets at a size nobody types by hand: 10,000 players into a club (goal 1 s) and
// 200,000 clubs into a competition (goal 10 s, stored or refused), each figure beside its goal, with
// the memory the import took beside the file's size.

#include "competition/kluby.h"
#include "db/CDatabaza.h"
#include "db/schema.h"
#include "output/csv.h"
#include "players/hraci.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// The largest the process has been, in bytes.
double PeakBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

QByteArray PlayersFile(int count)
{
    QVector<QStringList> rows = {{QStringLiteral("Meno"), QStringLiteral("Priezvisko"),
                                  QStringLiteral("r. č."), QStringLiteral("Hráč hosťuje do"),
                                  QStringLiteral("Zákaz činnosti do")}};
    for (int i = 0; i < count; ++i)
        rows << QStringList{QStringLiteral("Ján%1").arg(i), QStringLiteral("Novák%1").arg(i), QString(),
                            i % 10 == 0 ? QStringLiteral("30.6.2026") : QString(), QString()};
    return CsvBytes(rows);
}

QByteArray ClubsFile(int count, bool duplicateAtEnd)
{
    QVector<QStringList> rows = {{QStringLiteral("Los"), QStringLiteral("Názov klubu"),
                                  QStringLiteral("Kontakt 1"), QStringLiteral("Kontakt 2")}};
    for (int i = 0; i < count; ++i)
        rows << QStringList{QString::number(i + 1), QStringLiteral("TJ Družstevník %1").arg(i),
                            QStringLiteral("Ján Novák, 0905 %1").arg(i), QString()};
    if (duplicateAtEnd)
        rows << QStringList{QString::number(count + 1), QStringLiteral("TJ Družstevník 0"), QString(),
                            QString()};
    return CsvBytes(rows);
}

struct CSezona
{
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    CDatabaza db;
    CSezona()
    {
        const QString path = dir.filePath(QStringLiteral("s.mdb"));
        CreateNewSeasonFile(path);
        db.Open(path);
        db.Execute(QStringLiteral("insert into tsutaze (nazov) values ('I. trieda')"));
        db.Execute(QStringLiteral("insert into tkluby (nazov, skupina) values ('Slovan', 1)"));
    }
};

void Report(benchmark::State& state, double goalMs, qint64 fileBytes, double peakBefore)
{
    state.counters["ciel_ms"] = goalMs;
    state.counters["subor_MB"] = static_cast<double>(fileBytes) / 1e6;
    state.counters["pamat_MB"] = std::max(0.0, PeakBytes() - peakBefore) / 1e6;
}

void BM_ImportPlayers(benchmark::State& state)
{
    const QByteArray file = PlayersFile(static_cast<int>(state.range(0)));
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CSezona season;
        peak = PeakBytes();
        state.ResumeTiming();
        const CVysledokDovozu result = ImportPlayers(season.db, 1, file);
        if (result.count != state.range(0))
            state.SkipWithError(result.error.toStdString().c_str());
    }
    Report(state, 1000, file.size(), peak);
}
BENCHMARK(BM_ImportPlayers)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Refused by its last row (a club named twice), then stored: the whole file is looked at either way.
// The refused run comes first, so that its memory is what reading and checking the file takes; the
// stored run adds the store's pages of the new rows, which the store keeps in memory.
void BM_ImportClubs(benchmark::State& state)
{
    const bool refused = state.range(1) != 0;
    const QByteArray file = ClubsFile(static_cast<int>(state.range(0)), refused);
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CSezona season;
        peak = PeakBytes();
        state.ResumeTiming();
        const CVysledokDovozu result = ImportClubs(season.db, 1, file);
        if (refused != !result.error.isEmpty())
            state.SkipWithError("the import did not end as it should");
    }
    Report(state, 10000, file.size(), peak);
}
BENCHMARK(BM_ImportClubs)->Args({200000, 1})->Args({200000, 0})->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
