#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>

// The yardstick of the benchmarks' goals: how long the engine's own tool takes to write the season
// at `path` out as SQL text (`sqlite3 FILE .dump`), in ms; -1 when it cannot (not installed, the file
// held by an open session).
inline double DumpMs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QProcess sqlite;
    sqlite.setStandardOutputFile(QProcess::nullDevice());
    sqlite.start(QStringLiteral("sqlite3"), {path, QStringLiteral(".dump")});
    if (!sqlite.waitForFinished(600000) || sqlite.exitCode() != 0)
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}
