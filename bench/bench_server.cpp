// The full-size demo season (50 competitions of 18 clubs) on a PostgreSQL server of the benchmark's own,
// reached through its socket: opening it, a typed score against one row updated and committed on the
// same server, every list, the whole season's recalculation against the file's, and putting the season
// onto the server and back into a file against `sqlite3 FILE .dump`.

#include "cli/vystupy.h"
#include "competition/kluby.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CSezonaNaServeri.h"
#include "db/kody.h"
#include "demo/ukazka.h"
#include "results/prepocet.h"
#include "results/vysledky.h"
#include "tests/db/server.h"

#include "dump.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <benchmark/benchmark.h>

namespace {

class CTichy : public CPouzivatel
{
public:
    void ShowMessage(const QString& text, Ikona) override { fprintf(stderr, "%s\n", qPrintable(text)); }
    bool AskYesNo(const QString&) override { return true; }
    QString AskSaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    void OpenWithSystem(const QString&) override {}
};

struct CSezony
{
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString file = dir.filePath(QStringLiteral("velka.mdb"));
    QString address;
    CSezony()
    {
        CParametreUkazky p;
        p.competitions = 50;
        p.clubs = 18;
        p.players = 30;
        CreateDemoSeason(file, p);
        if (!SharedServer().Problem().isEmpty()) {
            fprintf(stderr, "%s\n", qPrintable(SharedServer().Problem()));
            return;
        }
        address = SharedServer().Address(QStringLiteral("velka"));
        CDatabaza db;
        db.Open(file);
        db.UploadTo(address);
    }
};
CSezony& Sezony()
{
    static CSezony s;
    return s;
}

// The machine's busy CPU time so far, every process's (the copies' and the server's), in ms.
double MachineBusyMs()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> f = stat.readLine().simplified().split(' ');
    // cpu user nice system idle iowait irq softirq steal
    double busy = 0;
    for (int i = 1; i < f.size() && i <= 8; ++i)
        if (i != 4 && i != 5)
            busy += f.at(i).toDouble();
    return busy * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void WithGoal(benchmark::State& state, double goalMs, const std::function<void()>& f)
{
    for (auto _ : state)
        f();
    state.counters["ciel_ms"] = goalMs;
}

// The first opening on a computer reads the whole season; later ones the copy kept at the last closing
// and what changed since.
void BM_OpenServerSeason(benchmark::State& state)
{
    CTichy user;
    const bool first = state.range(0) == 0;
    state.SetLabel(first ? "prve otvorenie" : "dalsie otvorenie");
    {
        CLigaroDoc doc(user);
        doc.OpenSeasonFile(Sezony().address);
        doc.CloseSeason();
    }
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            ForgetServerCopy(Sezony().address);
            state.ResumeTiming();
        }
        CLigaroDoc doc(user);
        doc.OpenSeasonFile(Sezony().address);
        state.PauseTiming();
        doc.CloseSeason();
        state.ResumeTiming();
    }
    state.counters["ciel_ms"] = 200;
}
BENCHMARK(BM_OpenServerSeason)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A score typed on the server season (the server logs the row before and after, and the write is checked
// against what others changed since she read the match), and the floor it is measured against: one row
// of the same season changed and committed on the same server by itself. With Arg(1) another session
// changes another match of the round before every score, so that the check has the others' changes to
// look through.
void BM_TypedScoreOnServer(benchmark::State& state)
{
    const bool others = state.range(0) == 1;
    state.SetLabel(others ? "s cudzou zmenou pred kazdym" : "sam");
    CDatabaza db;
    db.Open(Sezony().address);
    CDatabaza other;
    other.Open(Sezony().address);
    const int competition = db.Value(QStringLiteral("select min(ID) from tsutaze")).toInt();
    const int match =
        db.Value(QStringLiteral("select min(ID) from tzapasy where skupina=? and klub1>0 and klub2>0"),
                 {competition})
            .toInt();
    // Another official's match of the same competition, of other clubs: one of the same round, as two
    // officials share out a round's reports.
    const int otherMatch =
        db.Value(QStringLiteral(
                     "select max(z.ID) from tzapasy z, tzapasy m where m.ID=? and z.skupina=m.skupina "
                     "and z.kolo=m.kolo and z.klub1>0 and z.klub2>0 and z.klub1 not in (m.klub1, "
                     "m.klub2) and z.klub2 not in (m.klub1, m.klub2)"),
                 {match})
            .toInt();
    int n = 0;
    double busyMs = 0;
    for (auto _ : state) {
        if (others) {
            state.PauseTiming();
            other.Execute(QStringLiteral("update tzapasy set poznamka2=? where ID=?"),
                          {QString::number(n), otherMatch});
            // Her window takes it in when told, between her keystrokes.
            db.Refresh();
            state.ResumeTiming();
        }
        const double busyBefore = MachineBusyMs();
        db.MarkReading();
        const CPolickaVysledku typed{QString::number(n++ % 7), QStringLiteral("1"), QString(), QString(),
                                     QString()};
        EnterResult(db, competition, match, typed, kDomaci);
        busyMs += MachineBusyMs() - busyBefore;
    }
    // The floor: one row of the same season changed and committed by itself on the same server, its note
    // new at every run as a typed score's rows are (the server logs a change; a row written again as it
    // was is no change, and leaves no trace in the log: shown beside it).
    // What each costs the machine (the copy and the server; the floor's pgbench with its start, about
    // 0.02 ms a row): with both busy all the time, the ratio is one of work, not of waiting.
    state.counters["cpu_ms"] = busyMs / static_cast<double>(n);
    const double floorBusy = MachineBusyMs();
    state.counters["jeden_riadok_ms"] = SharedServer().Latency(
        QStringLiteral("update velka.tzapasy set poznamka2 = random()::text where \"ID\" = %1").arg(match),
        500);
    state.counters["jeden_riadok_cpu_ms"] = (MachineBusyMs() - floorBusy) / 500;
    state.counters["bez_zmeny_ms"] = SharedServer().Latency(
        QStringLiteral("update velka.tzapasy set poznamka2 = 'x' where \"ID\" = %1").arg(match), 500);
    state.counters["ciel_nasobok"] = 2.5;
}
BENCHMARK(BM_TypedScoreOnServer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// How long a score typed in one window takes to be in another's copy: from the start of the typing to
// the other having taken it in after the server's announcement.
void BM_ChangeSeenElsewhere(benchmark::State& state)
{
    CDatabaza db;
    db.Open(Sezony().address);
    CDatabaza watcher;
    watcher.Open(Sezony().address);
    watcher.FollowOthers();
    watcher.TakeOthersChanges();
    const int competition = db.Value(QStringLiteral("select max(ID) from tsutaze")).toInt();
    const int match =
        db.Value(QStringLiteral("select min(ID) from tzapasy where skupina=? and klub1>0 and klub2>0"),
                 {competition})
            .toInt();
    std::vector<double> times;
    int n = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const CPolickaVysledku typed{QString::number(n++ % 9), QStringLiteral("2"), QString(), QString(),
                                     QString()};
        EnterResult(db, competition, match, typed, kDomaci);
        pollfd watch{watcher.ServerSocket(), POLLIN, 0};
        bool seen = false;
        while (!seen && clock.elapsed() < 5000 && ::poll(&watch, 1, 1000) >= 0)
            seen = watcher.TakeOthersChanges();
        const double ms = clock.nsecsElapsed() / 1e6;
        state.SetIterationTime(ms / 1000);
        times.push_back(seen ? ms : 1e9);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["max_ms"] = times.back();
    state.counters["ciel_median_ms"] = 200;
}
BENCHMARK(BM_ChangeSeenElsewhere)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

// Ten officials typing results of different matches at once, each in a session of its own opened before
// the clock starts, against one typing the same number alone: the refusals and the throughput of the
// typing itself.
void BM_TenSessions(benchmark::State& state)
{
    const int sessions = static_cast<int>(state.range(0));
    constexpr int kPerSession = 20;
    CDatabaza db;
    db.Open(Sezony().address);
    QVector<QPair<int, int>> matches; // competition, match
    CPrikaz rows(
        db, QStringLiteral("select skupina, ID from tzapasy where klub1>0 and klub2>0 and kolo=1 order by "
                           "skupina, ID"));
    while (rows.Step())
        matches.push_back({static_cast<int>(rows.Int64(0)), static_cast<int>(rows.Int64(1))});
    // The windows are open before the clock starts and stay open; each has typed before, so that its
    // server process knows the tables and the functions.
    std::vector<std::unique_ptr<CDatabaza>> windows;
    for (int s = 0; s < sessions; ++s) {
        windows.push_back(std::make_unique<CDatabaza>());
        windows.back()->Open(Sezony().address);
        const auto [competition, match] = matches.at((s * kPerSession) % matches.size());
        EnterResult(*windows.back(), competition, match,
                    {QStringLiteral("9"), QStringLiteral("9"), {}, {}, {}}, kDomaci);
    }
    std::atomic<int> refused{0};
    int round = 0;
    double busyMs = 0, wallMs = 0;
    for (auto _ : state) {
        std::atomic<int> ready{0};
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        ++round;
        for (int s = 0; s < sessions; ++s)
            threads.emplace_back([&, s] {
                CDatabaza& mine = *windows.at(static_cast<size_t>(s));
                ++ready;
                while (!go.load())
                    std::this_thread::sleep_for(std::chrono::microseconds(100));
                // Every round types other scores than the one before: each is a change to write.
                for (int i = 0; i < kPerSession; ++i) {
                    const auto [competition, match] = matches.at((s * kPerSession + i) % matches.size());
                    try {
                        mine.MarkReading();
                        EnterResult(
                            mine, competition, match,
                            {QString::number((i + round) % 6), QString::number((s + round) % 4), {}, {}, {}},
                            kDomaci);
                    } catch (const CChybaDatabazy&) {
                        ++refused;
                    }
                }
            });
        while (ready.load() < sessions)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // The clock waits for the last official by joining, not by waking up to look: ten sessions on
        // two cores have no time to spare for a watcher.
        QElapsedTimer clock;
        const double busyBefore = MachineBusyMs();
        clock.start();
        go = true;
        for (std::thread& t : threads)
            t.join();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        busyMs += MachineBusyMs() - busyBefore;
        wallMs += clock.nsecsElapsed() / 1e6;
        // Between rounds each window takes in the others' scores, as it does when told of them.
        for (auto& window : windows)
            window->Refresh();
    }
    state.counters["zamietnute"] = refused.load();
    // What a score costs the whole machine, the copies and the server together, and how many of its
    // cores were busy: with every core busy the throughput is the cores over that cost, whatever the
    // program's waits.
    const double scores = static_cast<double>(sessions * kPerSession) * state.iterations();
    state.counters["cpu_na_vysledok_ms"] = busyMs / scores;
    state.counters["jadra_zaneprazdnene"] = busyMs / wallMs;
    state.counters["jadra"] = static_cast<double>(std::thread::hardware_concurrency());
    state.counters["vysledkov_za_s"] = benchmark::Counter(static_cast<double>(sessions * kPerSession),
                                                          benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TenSessions)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(30)->UseManualTime();

// The lists' two connections, closed before the application object goes (a server season's copy is
// kept at closing, in the user's settings folder).
struct CSpojenia
{
    CDatabaza server;
    CDatabaza file;
};
CSpojenia& Spojenia()
{
    static CSpojenia s;
    return s;
}

// Every list's page on the server season and on the file (the same engine reads both).
void BM_List(benchmark::State& state)
{
    CDatabaza& server = Spojenia().server;
    CDatabaza& file = Spojenia().file;
    if (!server.IsOpen()) {
        server.Open(Sezony().address);
        file.Open(Sezony().file);
    }
    CDatabaza& db = state.range(1) ? server : file;
    QStringList names = Outputs().keys();
    names.sort();
    const QString list = names.at(state.range(0));
    CVyber v;
    v.competition = db.Value(QStringLiteral("select min(ID) from tsutaze")).toInt();
    v.thresholds = {4, 8, 12, 16};
    if (list == QStringLiteral("zk-stop"))
        v.round = 10;
    // A page of players is one club's, the first one's as the command line takes it.
    if (list == QStringLiteral("hraci"))
        v.club = CompetitionClubs(db, v.competition).first().id;
    state.SetLabel(list.toStdString() + (state.range(1) ? " server" : " subor"));
    // A list that is only printed is measured as its printout is made (its rows are read then).
    const CVystupZoznamu& o = Outputs().value(list);
    WithGoal(state, 100, [&] {
        if (o.page)
            benchmark::DoNotOptimize(o.page(db, v));
        else
            benchmark::DoNotOptimize(o.printout(db, v));
    });
}
BENCHMARK(BM_List)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 13, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_RecalculateSeason(benchmark::State& state)
{
    const bool server = state.range(0) != 0;
    QString copy = Sezony().dir.filePath(QStringLiteral("kopia.mdb"));
    QFile::remove(copy);
    QFile::copy(Sezony().file, copy);
    CDatabaza db;
    db.Open(server ? Sezony().address : copy);
    state.SetLabel(server ? "server" : "subor");
    for (auto _ : state) {
        CTransakcia t(db, CTransakcia::kHromadna);
        CPrikaz q(db, QStringLiteral("select ID from tsutaze"));
        while (q.Step())
            RecalculateCompetition(db, static_cast<int>(q.Int64(0)));
        t.Commit();
    }
}
BENCHMARK(BM_RecalculateSeason)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// --upload and --download as the user runs them, against `sqlite3 FILE .dump`.
void BM_UploadDownload(benchmark::State& state)
{
    const auto run = [](const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral(MIRAK_EXECUTABLE), arguments);
        p.waitForFinished(600000);
        return p.exitCode();
    };
    const double dumpMs = DumpMs(Sezony().file);
    QElapsedTimer t;
    double up = 0;
    double down = 0;
    int n = 0;
    for (auto _ : state) {
        const QString season = QStringLiteral("kopia%1").arg(++n);
        t.restart();
        run({QStringLiteral("--upload"), Sezony().file, QStringLiteral("--server"),
             SharedServer().Address(season)});
        up += static_cast<double>(t.nsecsElapsed()) / 1e6;
        const QString target = Sezony().dir.filePath(season + QStringLiteral(".mdb"));
        t.restart();
        run({QStringLiteral("--download"), SharedServer().Address(season), QStringLiteral("-o"), target});
        down += static_cast<double>(t.nsecsElapsed()) / 1e6;
    }
    state.counters["dump_ms"] = dumpMs;
    state.counters["upload_nasobok_dumpu"] = up / n / dumpMs;
    state.counters["download_nasobok_dumpu"] = down / n / dumpMs;
    state.counters["ciel_nasobok"] = 15;
}
BENCHMARK(BM_UploadDownload)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    // A server as the association's is: every commit synced to disk.
    SharedServer(true);
    Sezony();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Spojenia().server.Close();
    Spojenia().file.Close();
    return 0;
}
