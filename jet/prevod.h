#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A season kept in the Jet format converted, losslessly, into a new season file: every table, row
// and value, the IDs kept (so that every reference holds) and each counter going on after the Jet
// table's own. The Jet file is only read. Tables and columns the program does not know are kept too
// and reported.

struct CVysledokPrevodu
{
    QString error;      // empty when the season was converted
    QStringList report; // what the user should know: extra tables and columns, standings that differ
    bool cancelled = false;
};

// The conversion in this process: reads `jetPath` and writes the season into `target`, a new file.
// Used by the child process of ConvertJetSeason; libmdb is not made for damaged files, so the window
// and the command line never call it themselves. Throws CChybaDatabazy.
QStringList ConvertJetFileHere(const QString& jetPath, const QString& target,
                               const std::function<void(qint64 done, qint64 total)>& progress);

// Converts in a child process (the program itself, ChildJob), so that a file the library cannot cope
// with never takes the caller down: the new season is written beside `target` and put in its place
// whole, or not at all. `progress` returns false to stop.
CVysledokPrevodu ConvertJetSeason(const QString& jetPath, const QString& target,
                                  const std::function<bool(qint64 done, qint64 total)>& progress = {});

// The child's side: the hidden job of the command line. Writes its progress and report to standard
// output; returns the exit status (0, or 2 with the reason).
int RunConversionChild(const QString& jetPath, const QString& target);
inline const QString kVolbaPrevodnika = QStringLiteral("jet-child");

// The program that converts (this one by default; tests name the built program).
void SetConverterProgram(const QString& path);

// The name proposed for a converted season: "<name> (prevedená).mdb" beside the Jet file.
QString ConvertedSeasonName(const QString& jetPath);
