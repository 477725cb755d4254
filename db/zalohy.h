#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

class CDatabaza;

// Snapshots of a season: consistent copies written before a command that deletes data and at the
// first opening of a day, into a folder beside the season file ("sezona.zalohy" for "sezona.mdb").
// The newest 20 are kept, and beyond them the newest of each day.

struct CZaloha
{
    QString path;
    QDateTime when;
    QString command; // what it was taken before ("Vymazať súťaže", "Otvorenie sezóny", ...)
};

inline constexpr int kPocetZaloh = 20;
inline const QString kZalohaOtvorenie = QStringLiteral("Otvorenie sezóny");

QString SnapshotFolder(const QString& seasonPath);
// Writes a snapshot of the open database and thins the folder out. Throws CChybaDatabazy.
QString TakeSnapshot(CDatabaza& db, const QString& seasonPath, const QString& command, const QDateTime& now);
// The snapshots of a season, newest first.
QVector<CZaloha> ListSnapshots(const QString& seasonPath);
// Removes what is beyond the newest 20 except the newest of each day.
void PruneSnapshots(const QString& seasonPath);
bool HasSnapshotOfDay(const QString& seasonPath, const QDate& day);
// Copies a snapshot to a new season file `target` (written whole, never over a season another program
// holds). Throws CChybaDatabazy.
void RestoreSnapshot(const QString& snapshot, const QString& target);
