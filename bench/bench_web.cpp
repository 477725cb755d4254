// Publishing the season's site: made in memory, then written into its folder, for demo seasons of 12,
// 25 and 50 competitions of 18 clubs (the last the full-size demo season). The time should grow with
// the season and no faster ("ms_na_zapas" about the same at every size); the goal for the full size is
// 2 s for the whole publishing and 40 MB for the site.

#include "db/CLigaroDoc.h"
#include "demo/ukazka.h"
#include "tichy.h"
#include "web/sajt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

struct CSezona
{
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("sezona.mdb"));
    explicit CSezona(int competitions)
    {
        CParametreUkazky p;
        p.competitions = competitions;
        p.clubs = 18;
        p.players = 30;
        CreateDemoSeason(path, p);
    }
};

CSezona& Sezona(int competitions)
{
    static std::map<int, std::unique_ptr<CSezona>> seasons;
    auto& s = seasons[competitions];
    if (!s)
        s = std::make_unique<CSezona>(competitions);
    return *s;
}

struct COtvorena
{
    CTichy user;
    CLigaroDoc doc{user};
    explicit COtvorena(int competitions) { doc.OpenSeasonFile(Sezona(competitions).path); }
    ~COtvorena() { doc.CloseSeason(); }
    int Matches() { return doc.Database().Value(QStringLiteral("select count(*) from tzapasy")).toInt(); }
};

void Sizes(benchmark::State& state, const QVector<CSuborWebu>& files, int matches)
{
    qint64 bytes = 0, calendars = 0;
    for (const CSuborWebu& f : files) {
        bytes += f.bytes.size();
        if (f.name.endsWith(QStringLiteral(".ics")))
            calendars += f.bytes.size();
    }
    state.counters["suborov"] = static_cast<double>(files.size());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["MB_kalendare"] = static_cast<double>(calendars) / 1e6;
    state.counters["zapasov"] = matches;
}

// The pages and calendars made in memory.
void BM_SiteFiles(benchmark::State& state)
{
    COtvorena s(static_cast<int>(state.range(0)));
    const int matches = s.Matches();
    QVector<CSuborWebu> files;
    QElapsedTimer timer;
    qint64 nanoseconds = 0;
    for (auto _ : state) {
        timer.start();
        files = SiteFiles(s.doc.Database(), s.doc.StopRounds(), QDateTime::currentDateTimeUtc());
        nanoseconds += timer.nsecsElapsed();
    }
    Sizes(state, files, matches);
    state.counters["ms_na_zapas"] =
        static_cast<double>(nanoseconds) / 1e6 / static_cast<double>(state.iterations()) / matches;
}
BENCHMARK(BM_SiteFiles)->Arg(12)->Arg(25)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

// The week's publishing: made and written over last week's site in the same folder.
void BM_Publish(benchmark::State& state)
{
    COtvorena s(static_cast<int>(state.range(0)));
    const QString folder = Sezona(static_cast<int>(state.range(0))).dir.filePath(QStringLiteral("web"));
    QVector<CSuborWebu> files;
    for (auto _ : state) {
        files = SiteFiles(s.doc.Database(), s.doc.StopRounds(), QDateTime::currentDateTimeUtc());
        const QString error = PublishSite(files, folder, s.doc.FilePath());
        if (!error.isEmpty())
            state.SkipWithError(error.toStdString().c_str());
    }
    Sizes(state, files, s.Matches());
    state.counters["ciel_ms"] = 2000;
}
BENCHMARK(BM_Publish)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
