// Publishing the season's site: made (in memory, to measure it) and made and written page by page into
// its folder (as the program publishes), for demo seasons of 12, 25 and 50 competitions of 18 clubs (the
// last the full-size demo season). The time should grow with the season and no faster ("ms_na_zapas" about
// the same at every size); the goal for the full size is 2 s for the whole publishing and 40 MB for the site;
// publishing, new or again over last week's site, at most 12 times `sqlite3 .dump` of the season.

#include "db/CLigaroDoc.h"
#include "demo/ukazka.h"
#include "dump.h"
#include "tichy.h"
#include "web/sajt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

// Of a copy: the open season is held by its session.
double DumpOfCopy(const QString& path)
{
    const QString copy = path + QStringLiteral(".kopia");
    QFile::remove(copy);
    QFile::copy(path, copy);
    const double ms = DumpMs(copy);
    QFile::remove(copy);
    return ms;
}

// The week's publishing, made and written: Arg(1) over last week's site in the same folder (a week
// without a change: nothing but what changed is written), Arg(0) into a new folder.
void BM_Publish(benchmark::State& state)
{
    const bool again = state.range(0) == 1;
    state.SetLabel(again ? "znova do toho isteho priecinka" : "do noveho priecinka");
    COtvorena s(50);
    const QString base = Sezona(50).dir.filePath(QStringLiteral("web"));
    int run = 0;
    int written = 0;
    if (again)
        PublishSeason(s.doc.Database(), s.doc.StopRounds(), base, s.doc.FilePath(),
                      QDateTime::currentDateTimeUtc());
    for (auto _ : state) {
        const QString folder = again ? base : base + QString::number(++run);
        QStringList left;
        const QString error = PublishSeason(s.doc.Database(), s.doc.StopRounds(), folder, s.doc.FilePath(),
                                            QDateTime::currentDateTimeUtc(), {}, nullptr, &left, &written);
        if (!error.isEmpty())
            state.SkipWithError(error.toStdString().c_str());
    }
    // The new folders go after the timing: thousands of files deleted just before would send the disk's
    // inode allocation down its slow path (ext4 passes over recently freed inodes), which a publishing does
    // not meet in use.
    if (!again)
        for (int i = 1; i <= run; ++i)
            QDir(base + QString::number(i)).removeRecursively();
    const double dump = DumpOfCopy(s.doc.FilePath());
    state.counters["zapisanych"] = written;
    state.counters["dump_ms"] = dump;
    state.counters["ciel_nasobok_dumpu"] = 12;
}
BENCHMARK(BM_Publish)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
