// The speed goals on a whole association's season: the demo season at full size (50 competitions of
// 18 clubs, 15,300 matches, 61,200 nominations, about 14 MB). Every figure is printed beside its goal
// ("ciel_ms"); where the goal is a multiple of a floor, the floor is measured in the same run and the
// ratio printed ("pomer", goal "ciel_pomer").

#include "cli/vystupy.h"
#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/kontroly.h"
#include "demo/ukazka.h"
#include "discipline/karty.h"
#include "discipline/nesmuhrat.h"
#include "officials/nominacie.h"
#include "officials/rozhodcovia.h"
#include "officials/znamky.h"
#include "output/CQtPlocha.h"
#include "players/hraci.h"
#include "results/prepocet.h"
#include "results/strelci.h"
#include "results/tabulka.h"
#include "results/vysledky.h"
#include "tichy.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int kSutaze = 50;

// The season, made once for the whole run.
struct CVelkaSezona
{
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("velka.mdb"));
    CVelkaSezona()
    {
        CParametreUkazky p;
        p.competitions = kSutaze;
        p.clubs = 18;
        p.players = 30;
        CreateDemoSeason(path, p);
    }
};
CVelkaSezona& Sezona()
{
    static CVelkaSezona season;
    return season;
}

// The season open in a session, as the window holds it; benchmarks that write work on a copy.
struct COtvorena
{
    CTichy user;
    CLigaroDoc doc{user};
    QString copy;
    explicit COtvorena(bool writes)
    {
        QString path = Sezona().path;
        if (writes) {
            copy = Sezona().dir.filePath(QStringLiteral("kopia.mdb"));
            QFile::remove(copy);
            QFile::copy(path, copy);
            path = copy;
        }
        doc.OpenSeasonFile(path);
    }
    ~COtvorena()
    {
        doc.CloseSeason();
        if (!copy.isEmpty())
            QFile::remove(copy);
    }
    CDatabaza& Db() { return doc.Database(); }
    int Competition(int index = 0)
    {
        return Db()
            .Value(QStringLiteral("select ID from tsutaze order by ID limit 1 offset ?"), {index})
            .toInt();
    }
};

double Milliseconds(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// A figure measured by Google Benchmark's own loop, with its goal beside it.
void WithGoal(benchmark::State& state, double goalMs, const std::function<void()>& f)
{
    for (auto _ : state)
        f();
    state.counters["ciel_ms"] = goalMs;
}

void BM_TypedScore(benchmark::State& state)
{
    COtvorena s(true);
    const int competition = s.Competition();
    const int match =
        s.Db()
            .Value(
                QStringLiteral("select ID from tzapasy where skupina=? and klub1>0 and klub2>0 order by ID"),
                {competition})
            .toInt();
    std::vector<double> typed, floor;
    for (auto _ : state) {
        for (int i = 0; i < 300; ++i) {
            const CPolickaVysledku fields{QString::number(i % 5), QStringLiteral("1"), {}, {}, {}};
            typed.push_back(Milliseconds([&] { EnterResult(s.Db(), competition, match, fields, kDomaci); }));
            floor.push_back(Milliseconds([&] {
                CTransakcia t(s.Db());
                // A value that really changes: the engine leaves a page alone when its bytes stay.
                s.Db().Execute(QStringLiteral("update theslo set heslo=?"), {QString::number(i)});
                t.Commit();
            }));
        }
    }
    const double tm = Percentile(typed, 0.5), fm = Percentile(floor, 0.5);
    const double t99 = Percentile(typed, 0.99), f99 = Percentile(floor, 0.99);
    state.counters["skore_median_ms"] = tm;
    state.counters["commit_median_ms"] = fm;
    state.counters["pomer_median"] = tm / fm;
    state.counters["skore_p99_ms"] = t99;
    state.counters["commit_p99_ms"] = f99;
    state.counters["pomer_p99"] = t99 / f99;
    state.counters["ciel_pomer"] = 1.5;
}
BENCHMARK(BM_TypedScore)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ClubRow(benchmark::State& state)
{
    COtvorena s(true);
    const int competition = s.Competition(7);
    const QVector<CPocty> clubs = CountCompetition(s.Db(), competition);
    std::vector<double> row, query;
    for (auto _ : state) {
        // Without the commit: the figure is the row, the commit is the typed score's.
        CTransakcia t(s.Db());
        for (int i = 0; i < 400; ++i) {
            const int club = clubs.at(i % clubs.size()).club;
            row.push_back(Milliseconds([&] { RecalculateClub(s.Db(), competition, club); }));
            query.push_back(Milliseconds([&] { benchmark::DoNotOptimize(CountClub(s.Db(), club)); }));
        }
    }
    state.counters["riadok_ms"] = Percentile(row, 0.5);
    state.counters["dotaz_ms"] = Percentile(query, 0.5);
    state.counters["pomer"] = Percentile(row, 0.5) / Percentile(query, 0.5);
    state.counters["ciel_pomer"] = 1.5;
}
BENCHMARK(BM_ClubRow)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RecalculateCompetition(benchmark::State& state)
{
    COtvorena s(true);
    const int competition = s.Competition(3);
    CTransakcia t(s.Db());
    WithGoal(state, 3, [&] { RecalculateCompetition(s.Db(), competition); });
}
BENCHMARK(BM_RecalculateCompetition)->Unit(benchmark::kMillisecond);

void BM_RecalculateWholeSeason(benchmark::State& state)
{
    COtvorena s(true);
    QVector<int> competitions;
    for (int i = 0; i < kSutaze; ++i)
        competitions << s.Competition(i);
    WithGoal(state, 100, [&] {
        CTransakcia t(s.Db());
        for (int c : competitions)
            RecalculateCompetition(s.Db(), c);
        t.Commit();
    });
}
BENCHMARK(BM_RecalculateWholeSeason)->Unit(benchmark::kMillisecond);

void BM_NominationsOneDay(benchmark::State& state)
{
    COtvorena s(false);
    // The busiest Saturday.
    const QDate day =
        DatumZUlozenia(s.Db()
                           .Value(QStringLiteral("select cas from tzapasy group by substr(cas,1,10) "
                                                 "order by count(*) desc limit 1"))
                           .toString())
            .date();
    const QString key = day.toString(QStringLiteral("MM-dd-yyyy"));
    WithGoal(state, 50, [&] { benchmark::DoNotOptimize(Nominations(s.Db(), key)); });
}
BENCHMARK(BM_NominationsOneDay)->Unit(benchmark::kMillisecond);

void BM_NominationsAllMatches(benchmark::State& state)
{
    COtvorena s(false);
    WithGoal(state, 200, [&] { benchmark::DoNotOptimize(Nominations(s.Db(), kVsetkyZapasy)); });
}
BENCHMARK(BM_NominationsAllMatches)->Unit(benchmark::kMillisecond);

void BM_StopListAllClubs(benchmark::State& state)
{
    COtvorena s(false);
    const int competition = s.Competition(1);
    const int round =
        s.Db().Value(QStringLiteral("select max(kolo) from tzapasy where skupina=?"), {competition}).toInt();
    WithGoal(state, 20,
             [&] { benchmark::DoNotOptimize(StopList(s.Db(), competition, round - 1, s.doc.StopRounds())); });
}
BENCHMARK(BM_StopListAllClubs)->Unit(benchmark::kMillisecond);

void BM_WhoMayNotPlayOneRound(benchmark::State& state)
{
    COtvorena s(false);
    const int competition = s.Competition(1);
    const int round = CurrentRound(s.Db(), competition);
    WithGoal(state, 20, [&] {
        benchmark::DoNotOptimize(
            MayNotPlayList(s.Db(), competition, round, kVsetkyKluby, s.doc.StopRounds()));
    });
}
BENCHMARK(BM_WhoMayNotPlayOneRound)->Unit(benchmark::kMillisecond);

// Opening the season in a session: a file as it was when last checked here (goal 100 ms), and one
// changed since by something else, which the engine checks in full (goal 200 ms).
void BM_OpenSeason(benchmark::State& state)
{
    CTichy user;
    const bool changed = state.range(0) != 0;
    WithGoal(state, changed ? 200 : 100, [&] {
        if (changed)
            ForgetCleanCheck(Sezona().path);
        CLigaroDoc doc(user);
        doc.OpenSeasonFile(Sezona().path);
        doc.CloseSeason();
    });
}
BENCHMARK(BM_OpenSeason)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The engine's check of the whole file alone, which an unchanged season is opened without: opening it
// (BM_OpenSeason/0) should cost at most half of this.
void BM_EngineCheck(benchmark::State& state)
{
    CDatabaza db;
    db.Open(Sezona().path);
    for (auto _ : state)
        benchmark::DoNotOptimize(db.QuickCheck());
}
BENCHMARK(BM_EngineCheck)->Unit(benchmark::kMillisecond);

// A job of the command line as the user runs it, the whole process: --info on a season unchanged
// since this computer last checked it (goal 50 ms), and on one touched since (the full check again).
void BM_InfoProcess(benchmark::State& state)
{
    const bool changed = state.range(0) != 0;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Sezona().dir.filePath(QStringLiteral("konfiguracia")));
    const auto run = [&] {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(MIRAK_EXECUTABLE), {QStringLiteral("--info"), Sezona().path});
        p.waitForFinished(60000);
        if (p.exitCode() != 0)
            state.SkipWithError("--info failed");
    };
    run(); // the first opening on this computer checks in full and remembers the file
    const QByteArray file = QFile::encodeName(Sezona().path);
    for (auto _ : state) {
        if (changed) {
            state.PauseTiming();
            ::utimensat(AT_FDCWD, file.constData(), nullptr, 0);
            state.ResumeTiming();
        }
        run();
    }
    if (!changed)
        state.counters["ciel_ms"] = 50;
}
BENCHMARK(BM_InfoProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The lists as the window shows them.
void RegisterLists()
{
    const QVector<QPair<const char*, std::function<void(COtvorena&, int)>>> lists = {
        {"kluby", [](COtvorena& s, int c) { benchmark::DoNotOptimize(ClubList(s.Db(), c)); }},
        {"hraci",
         [](COtvorena& s, int c) {
             benchmark::DoNotOptimize(PlayerList(s.Db(), ChooseClub(CompetitionClubs(s.Db(), c), 0)));
         }},
        {"rozpis",
         [](COtvorena& s, int c) { benchmark::DoNotOptimize(ScheduleList(s.Db(), c, kVsetkyKola)); }},
        {"vysledky",
         [](COtvorena& s, int c) { benchmark::DoNotOptimize(ResultsList(s.Db(), c, kVsetkyKola)); }},
        {"tabulka", [](COtvorena& s, int c) { benchmark::DoNotOptimize(StandingsList(s.Db(), c)); }},
        {"strelci", [](COtvorena& s, int c) { benchmark::DoNotOptimize(TopScorersList(s.Db(), c)); }},
        {"zk",
         [](COtvorena& s, int c) {
             benchmark::DoNotOptimize(
                 CardRegister(s.Db(), c, kVsetkyKluby, CDruhKariet::Zlte, s.doc.StopRounds()));
         }},
        {"ck",
         [](COtvorena& s, int c) {
             benchmark::DoNotOptimize(CardRegister(s.Db(), c, kVsetkyKluby, CDruhKariet::Cervene, {}));
         }},
        {"rozhodcovia",
         [](COtvorena& s, int) { benchmark::DoNotOptimize(OfficialsList(s.Db(), CRegister::Referees())); }},
        {"znamky", [](COtvorena& s, int) { benchmark::DoNotOptimize(MarkStatistics(s.Db(), true)); }},
    };
    for (const auto& [name, list] : lists)
        benchmark::RegisterBenchmark((std::string("BM_Zoznam/") + name).c_str(),
                                     [list = list](benchmark::State& state) {
                                         COtvorena s(false);
                                         const int competition = s.Competition(2);
                                         WithGoal(state, 100, [&] { list(s, competition); });
                                     })
            ->Unit(benchmark::kMillisecond);
}

// Draws the printout's pages as recorded pictures onto a PDF: what Qt's PDF engine costs by itself.
void PdfFloor(CTlacovina& printout, benchmark::State& state)
{
    constexpr int kRozlisenie = 1200; // as every PDF of the program
    ChooseOrientation(printout);
    const int pages = printout.PageCount();
    std::vector<QPicture> recorded(static_cast<size_t>(pages));
    for (int page = 1; page <= pages; ++page) {
        QPicture& picture = recorded.at(static_cast<size_t>(page - 1));
        QPainter painter(&picture);
        {
            CQtPlocha surface(painter, kRozlisenie, kRozlisenie, printout.PageSize());
            printout.DrawPage(surface, page);
        }
        painter.end();
    }
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QPdfWriter writer(&pdf);
        writer.setResolution(kRozlisenie);
        SetupA4(writer, printout.Landscape());
        QPainter painter(&writer);
        for (size_t i = 0; i < recorded.size(); ++i) {
            if (i > 0)
                writer.newPage();
            painter.drawPicture(0, 0, recorded.at(i));
        }
        painter.end();
        benchmark::DoNotOptimize(pdf.data().size());
    }
    const double ms =
        static_cast<double>(timer.nsecsElapsed()) / 1e6 / static_cast<double>(state.iterations());
    state.counters["strany"] = pages;
    state.counters["strana_ms"] = ms / pages;
}

// Every list, page and print of one competition (all rounds, all clubs), and those of the committee.
void RegisterOutputs()
{
    for (auto it = Outputs().constBegin(); it != Outputs().constEnd(); ++it) {
        const QString name = it.key();
        const CVystupZoznamu output = it.value();
        const auto selection = [name](COtvorena& s) {
            CVyber v;
            v.competition = s.Competition(2);
            v.thresholds = s.doc.StopRounds();
            if (name == QStringLiteral("hraci"))
                v.club = s.Db()
                             .Value(QStringLiteral("select ID from tkluby where skupina=? order by ID"),
                                    {v.competition})
                             .toInt();
            if (name == QStringLiteral("zk-stop"))
                v.round = 30;
            if (name == QStringLiteral("nominacie"))
                v.day = QDate(2025, 9, 6).toString(QStringLiteral("MM-dd-yyyy"));
            return v;
        };
        if (output.page)
            benchmark::RegisterBenchmark(("BM_Stranka/" + name).toStdString().c_str(),
                                         [output, selection](benchmark::State& state) {
                                             COtvorena s(false);
                                             const CVyber v = selection(s);
                                             WithGoal(state, 100, [&] {
                                                 benchmark::DoNotOptimize(output.page(s.Db(), v)->CopyText());
                                             });
                                         })
                ->Unit(benchmark::kMillisecond);
        // One competition's print answers within 100 ms; the long registers (yellow cards, marks, the
        // whole season's nominations) within 5 ms a page.
        const bool perPage = name == QStringLiteral("zk") || name == QStringLiteral("znamky") ||
                             name == QStringLiteral("nominacie");
        const auto print = [output, perPage](const CVyber& v, COtvorena& s, benchmark::State& state) {
            int pages = 0;
            QElapsedTimer timer;
            timer.start();
            for (auto _ : state) {
                QBuffer pdf;
                pdf.open(QIODevice::WriteOnly);
                const auto printout = output.printout(s.Db(), v);
                WritePdfTo(*printout, pdf);
                pages = printout->PageCount();
            }
            const double ms =
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / static_cast<double>(state.iterations());
            state.counters["strany"] = pages;
            if (perPage) {
                state.counters["strana_ms"] = ms / pages;
                state.counters["ciel_strana_ms"] = 5;
            } else {
                state.counters["ciel_ms"] = 100;
            }
        };
        benchmark::RegisterBenchmark(("BM_Tlac/" + name).toStdString().c_str(), [print, selection](
                                                                                    benchmark::State& state) {
            COtvorena s(false);
            print(selection(s), s, state);
        })->Unit(benchmark::kMillisecond);
        // The floor under a register's page: the same pages' text and lines, recorded once from the
        // program's drawing, drawn again by Qt's PDF engine alone (no query, no layout, no measuring).
        if (perPage)
            benchmark::RegisterBenchmark(("BM_TlacQtPdf/" + name).toStdString().c_str(),
                                         [output, selection](benchmark::State& state) {
                                             COtvorena s(false);
                                             const auto printout = output.printout(s.Db(), selection(s));
                                             PdfFloor(*printout, state);
                                         })
                ->Unit(benchmark::kMillisecond);
        // The nominations of the whole season, the longest print there is.
        if (name == QStringLiteral("nominacie"))
            benchmark::RegisterBenchmark("BM_Tlac/nominacie-sezona",
                                         [print](benchmark::State& state) {
                                             COtvorena s(false);
                                             print(CVyber{}, s, state);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // What the sessions remember of the files they checked stays out of the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    InstallFontSubstitutes();
    Sezona(); // made before anything is timed
    RegisterLists();
    RegisterOutputs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
