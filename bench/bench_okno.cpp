// The window on a whole association's season (the demo season at full size): how long each list
// takes to appear, and the largest of them, so that nothing blocks the window for more than a tenth of
// a second ("ciel_ms").

#include "app/CMainFrame.h"
#include "competition/sutaze.h"
#include "db/CLigaroDoc.h"
#include "db/CNastavenia.h"
#include "demo/ukazka.h"
#include "discipline/CZKView.h"
#include "officials/CRozhodciView.h"
#include "tichy.h"

#include <QApplication>
#include <QComboBox>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct COkno
{
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/bench-XXXXXX")};
    CTichy user;
    CLigaroDoc doc{user};
    CNastavenia settings{dir.filePath(QStringLiteral("nastavenia.ini"))};
    QPrinter printer;
    std::unique_ptr<CMainFrame> frame;
    int competition = 0;
    COkno()
    {
        CParametreUkazky p;
        p.competitions = 50;
        p.clubs = 18;
        p.players = 30;
        const QString path = dir.filePath(QStringLiteral("velka.mdb"));
        CreateDemoSeason(path, p);
        frame = std::make_unique<CMainFrame>(doc, user, settings, printer);
        doc.SetViews(frame.get());
        frame->resize(1366, 768);
        frame->show();
        doc.OpenSeasonFile(path);
        competition = doc.Database().Value(QStringLiteral("select min(ID) from tsutaze")).toInt();
    }
    ~COkno()
    {
        doc.SetViews(nullptr);
        frame.reset();
        doc.CloseSeason();
    }
};
// Made on first use and taken down in main, while the application still stands: a window outliving
// it crashes at exit and leaves the season's folder behind.
std::unique_ptr<COkno> g_okno;
COkno& Okno()
{
    if (!g_okno)
        g_okno = std::make_unique<COkno>();
    return *g_okno;
}

void BM_ShowList(benchmark::State& state)
{
    COkno& w = Okno();
    const int index = static_cast<int>(state.range(0));
    for (auto _ : state) {
        PickList(w.doc, index >= kPrvyPohladKomisie ? 0 : w.competition, index);
        QApplication::processEvents();
    }
    state.SetLabel(ViewTitles().at(index).toStdString());
    state.counters["ciel_ms"] = 100;
}
BENCHMARK(BM_ShowList)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

void BM_NominationsAllMatchesInTheWindow(benchmark::State& state)
{
    COkno& w = Okno();
    PickList(w.doc, 0, 10);
    auto* view = qobject_cast<CNominacieView*>(w.frame->ActiveView());
    QComboBox* dates = view->DateSelector();
    for (auto _ : state) {
        dates->setCurrentIndex(dates->count() - 1);
        QApplication::processEvents();
        state.PauseTiming();
        dates->setCurrentIndex(0);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["ciel_ms"] = 100;
}
BENCHMARK(BM_NominationsAllMatchesInTheWindow)->Unit(benchmark::kMillisecond);

void BM_YellowCardsAllClubsInTheWindow(benchmark::State& state)
{
    COkno& w = Okno();
    PickList(w.doc, w.competition, 6);
    auto* view = qobject_cast<CZKView*>(w.frame->ActiveView());
    QComboBox* clubs = view->ClubSelector();
    for (auto _ : state) {
        clubs->setCurrentIndex(clubs->count() - 1);
        QApplication::processEvents();
        state.PauseTiming();
        clubs->setCurrentIndex(0);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["ciel_ms"] = 100;
}
BENCHMARK(BM_YellowCardsAllClubsInTheWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // What the session remembers of the files it checked stays out of the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_okno.reset();
    return 0;
}
