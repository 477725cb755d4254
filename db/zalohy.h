#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

class CDatabaza;

// Snapshots of a season: consistent copies written before a command that deletes data and at the
// first opening of a day, into a folder beside the season file ("sezona.zalohy" for "sezona.mdb").
// The newest 20 are kept; beyond them the newest of each day for two weeks, of each week for three
// months and of each month before, and the oldest go first while the folder is over its size limit.

struct CZaloha
{
    QString path;
    QDateTime when;
    QString command; // what it was taken before ("Vymazať súťaže", "Otvorenie sezóny", ...)
};

inline constexpr int kPocetZaloh = 20;
inline constexpr int kDniPoJednej = 14;         // one a day for this many days back
inline constexpr int kDniPoTyzdnoch = 92;       // one a week for about three months back
inline constexpr qint64 kNajviacZalohMB = 1024; // the folder's size limit unless the user sets another
inline constexpr qint64 kNajmenejZalohMB = 10;  // the least a user may set
inline const QString kZalohaOtvorenie = QStringLiteral("Otvorenie sezóny");

QString SnapshotFolder(const QString& seasonPath);
// Writes a snapshot of the open database and thins the folder out to `limitBytes`. Throws
// CChybaDatabazy.
QString TakeSnapshot(CDatabaza& db, const QString& seasonPath, const QString& command, const QDateTime& now,
                     qint64 limitBytes = kNajviacZalohMB * 1024 * 1024);
// The snapshots of a season, newest first.
QVector<CZaloha> ListSnapshots(const QString& seasonPath);
// Thins the snapshots out as of `now`, and removes the oldest while they take more than `limitBytes`
// together (the newest is always kept, however large).
void PruneSnapshots(const QString& seasonPath, const QDateTime& now, qint64 limitBytes);
bool HasSnapshotOfDay(const QString& seasonPath, const QDate& day);
// Copies a snapshot to a new season file `target` (written whole, never over a season another program
// holds). Throws CChybaDatabazy.
void RestoreSnapshot(const QString& snapshot, const QString& target);
