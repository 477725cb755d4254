#include "zalohy.h"

#include "CNastavenia.h"
#include "CSezonaNaServeri.h"

#include "CChybaDatabazy.h"
#include "CDatabaza.h"
#include "subory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>

#include <algorithm>

namespace {

// "2026-12-07 221530-042 - Vymazať súťaže.mdb": sorts by time to the millisecond, and tells the user
// what it was taken before.
const QRegularExpression& SnapshotName()
{
    static const QRegularExpression name(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}) (\\d{6})-(\\d{3})(?:-\\d+)? - (.+)\\.mdb$"));
    return name;
}

} // namespace

QString SnapshotFolder(const QString& seasonPath)
{
    if (IsServerAddress(seasonPath)) {
        // A season on a server has no folder of its own: its snapshots go beside the user's settings,
        // a folder for each server, database and season.
        const CAdresaServera address = ParseServerAddress(seasonPath);
        QString name = address.host + QLatin1Char('-') + address.database + QLatin1Char('-') + address.season;
        static const QRegularExpression unsafe(QStringLiteral("[^\\w.-]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
        name.replace(unsafe, QStringLiteral("_"));
        return QDir(UserSettingsFolder())
            .filePath(QStringLiteral("zalohy-zo-servera/") + name + QStringLiteral(".zalohy"));
    }
    const QFileInfo season(seasonPath);
    return season.absoluteDir().filePath(season.completeBaseName() + QStringLiteral(".zalohy"));
}

QString TakeSnapshot(CDatabaza& db, const QString& seasonPath, const QString& command, const QDateTime& now,
                     qint64 limitBytes)
{
    const QString folder = SnapshotFolder(seasonPath);
    if (!QDir().mkpath(folder))
        throw CChybaDatabazy(QStringLiteral("Priečinok záloh %1 sa nepodarilo vytvoriť.")
                                 .arg(QDir::toNativeSeparators(folder)));
    const QString stem = now.toString(QStringLiteral("yyyy-MM-dd HHmmss-zzz"));
    QString path = QDir(folder).filePath(QStringLiteral("%1 - %2.mdb").arg(stem, FileNamePart(command)));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(
            QStringLiteral("%1-%2 - %3.mdb").arg(stem, QString::number(n), FileNamePart(command)));
    db.CopyTo(path);
    PruneSnapshots(seasonPath, now, limitBytes);
    return path;
}

QVector<CZaloha> ListSnapshots(const QString& seasonPath)
{
    QVector<CZaloha> out;
    const QDir folder(SnapshotFolder(seasonPath));
    for (const QString& name : folder.entryList({QStringLiteral("*.mdb")}, QDir::Files)) {
        const auto m = SnapshotName().match(name);
        if (!m.hasMatch())
            continue;
        const QDate day = QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
        const QTime time = QTime::fromString(m.captured(2) + m.captured(3), QStringLiteral("HHmmsszzz"));
        if (day.isValid() && time.isValid())
            out.append({folder.filePath(name), QDateTime(day, time), m.captured(4)});
    }
    std::stable_sort(out.begin(), out.end(), [](const CZaloha& a, const CZaloha& b) {
        return a.when != b.when ? a.when > b.when : a.path > b.path;
    });
    return out;
}

void PruneSnapshots(const QString& seasonPath, const QDateTime& now, qint64 limitBytes)
{
    const QVector<CZaloha> all = ListSnapshots(seasonPath);
    // Each snapshot beyond the newest ones stands for its day, week or month, by its age: the newest of
    // each such period stays, the rest go. A period the newest ones already stand for needs no other.
    QSet<QString> periods;
    const auto period = [&now](const QDate& day) {
        const qint64 age = day.daysTo(now.date());
        if (age <= kDniPoJednej)
            return day.toString(Qt::ISODate);
        if (age <= kDniPoTyzdnoch) {
            int year = 0;
            const int week = day.weekNumber(&year);
            return QStringLiteral("%1-T%2").arg(year).arg(week);
        }
        return day.toString(QStringLiteral("yyyy-MM"));
    };
    QVector<CZaloha> kept;
    for (int i = 0; i < all.size(); ++i) {
        const QString p = period(all.at(i).when.date());
        if (i < kPocetZaloh || !periods.contains(p)) {
            periods.insert(p);
            kept.append(all.at(i));
            continue;
        }
        QFile::remove(all.at(i).path);
    }
    // Over the size limit the oldest go first.
    qint64 total = 0;
    for (const CZaloha& z : kept)
        total += QFileInfo(z.path).size();
    for (qsizetype i = kept.size() - 1; i > 0 && total > limitBytes; --i) {
        const qint64 size = QFileInfo(kept.at(i).path).size();
        if (QFile::remove(kept.at(i).path))
            total -= size;
    }
}

bool HasSnapshotOfDay(const QString& seasonPath, const QDate& day)
{
    const QVector<CZaloha> all = ListSnapshots(seasonPath);
    return std::any_of(all.begin(), all.end(), [&day](const CZaloha& z) { return z.when.date() == day; });
}

void RestoreSnapshot(const QString& snapshot, const QString& target)
{
    const QString refusal = SeasonTargetRefusal(target);
    if (!refusal.isEmpty())
        throw CChybaDatabazy(refusal);
    {
        // A snapshot damaged on the disk since it was taken is not handed back as the season.
        CDatabaza check;
        check.Open(snapshot);
        if (const QString problems = check.QuickCheck(); !problems.isEmpty())
            throw CChybaDatabazy(QStringLiteral("Záloha %1 je poškodená; obnovte inú.")
                                     .arg(QDir::toNativeSeparators(snapshot)),
                                 problems);
    }
    QFile source(snapshot);
    if (!source.open(QIODevice::ReadOnly))
        throw CChybaDatabazy(
            QStringLiteral("Zálohu %1 sa nepodarilo prečítať.").arg(QDir::toNativeSeparators(snapshot)),
            source.errorString());
    const QByteArray bytes = source.readAll();
    if (bytes.size() != source.size())
        throw CChybaDatabazy(
            QStringLiteral("Zálohu %1 sa nepodarilo prečítať.").arg(QDir::toNativeSeparators(snapshot)),
            source.errorString());
    ReplaceFileWith(target, bytes);
}
