#pragma once

#include "jet/CJetSubor.h"

#include <QString>
#include <QStringList>

#include <functional>

// A season kept in the Jet format converted, losslessly, into a new season file: every table, row
// and value, the IDs kept (so that every reference holds) and each counter going on after the Jet
// table's own. The Jet file is only read. Tables and columns the program does not know are kept too
// and reported. Everything the file says it holds is accounted for: a damaged file is refused naming
// what it lost, unless the user asks for what can be read (the salvage), which lists every loss in a
// report beside the new season.

struct CVysledokPrevodu
{
    QString error;        // empty when the season was converted
    bool damaged = false; // the error is a damaged file: the salvage may convert what can be read
    QStringList report;   // what the user should know: extra tables and columns, standings that differ
    QStringList losses;   // what the salvage could not read, one line each
    QString reportFile;   // the salvage's report beside the new season
    bool cancelled = false;
};

struct CVolbyPrevodu
{
    bool salvage = false;   // "Previesť, čo sa dá prečítať"
    qint64 memoryMB = 1024; // the reading process's address space
};

// The conversion in this process: reads `jetPath` and writes the season into `target`, a new file.
// Used by the child process of ConvertJetSeason; libmdb is not made for damaged files, so the window
// and the command line never call it themselves. With `losses` what cannot be read is listed there
// and the rest converted; without, the first loss throws CPoskodenyJet. Throws CChybaDatabazy.
QStringList ConvertJetFileHere(const QString& jetPath, const QString& target,
                               const std::function<void(qint64 done, qint64 total)>& progress,
                               QVector<CStrataJet>* losses = nullptr);

// Converts in a child process (the program itself, with limits on its memory, processor time and
// output), so that a file the library cannot cope with never takes the caller down: the new season
// is written in a folder of its own beside `target` and put at `target` whole, or not at all, and
// never over a file that appeared there meanwhile. `progress` returns false to stop.
CVysledokPrevodu ConvertJetSeason(const QString& jetPath, const QString& target,
                                  const std::function<bool(qint64 done, qint64 total)>& progress = {},
                                  const CVolbyPrevodu& options = {});

// The child's side: the hidden job of the command line. Writes only a new file inside a temporary
// folder of the program (any other path, and any path that exists, is refused). Writes its progress
// and report to standard output; returns the exit status (0, or 2 with the reason).
int RunConversionChild(const QString& jetPath, const QString& target, bool salvage);
inline const QString kVolbaPrevodnika = QStringLiteral("jet-child");

// The program that converts (this one by default; tests name the built program).
void SetConverterProgram(const QString& path);

// The name proposed for a converted season: "<name> (prevedená).mdb" beside the Jet file, or with a
// number when that name is taken ("<name> (prevedená 2).mdb").
QString ConvertedSeasonName(const QString& jetPath);
// The salvage's button in the window.
inline const QString kPreviestCoSaDa = QStringLiteral("Previesť, čo sa dá prečítať");
// The salvage's report beside the new season.
QString SalvageReportPath(const QString& target);
// Why `path` cannot be converted before anything is read: it does not exist, or it is no file.
QString JetSourceRefusal(const QString& path);
