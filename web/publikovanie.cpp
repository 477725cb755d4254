#include "publikovanie.h"

#include "db/CChybaDatabazy.h"
#include "db/subory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CStav
{
    bool exists = false;
    struct stat info = {};
};

CStav Stat(const QString& path)
{
    CStav s;
    s.exists = ::lstat(QFile::encodeName(path).constData(), &s.info) == 0;
    return s;
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A season or another database in the folder or in its subfolders on the same disk would be served to
// anyone who guesses its name. A mounted disk inside is not looked into: the site never touches it.
QString DatabaseInside(const QString& folder, dev_t device, int depth = 0)
{
    if (depth > 16)
        return {};
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        const CStav s = Stat(path);
        if (!s.exists || s.info.st_dev != device)
            continue;
        if (S_ISREG(s.info.st_mode) && (IsDatabaseFile(path) || IsJetFile(path)))
            return path;
        if (S_ISDIR(s.info.st_mode))
            if (const QString found = DatabaseInside(path, device, depth + 1); !found.isEmpty())
                return found;
    }
    return {};
}

// A file written in the staging folder takes the mode and owner of the file it replaces, so that a
// site the web server reads under its own account stays readable to it.
void KeepModeAndOwner(const QString& written, const CStav& old)
{
    const QByteArray path = QFile::encodeName(written);
    if (::chmod(path.constData(), old.info.st_mode & 07777) != 0)
        return;
    if (old.info.st_uid != ::getuid() || old.info.st_gid != ::getgid())
        (void)!::lchown(path.constData(), old.info.st_uid, old.info.st_gid);
}

} // namespace

QString PublishSite(const QVector<CSuborWebu>& files, const QString& folder, const QString& seasonPath)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 nie je priečinok; web sa zapisuje do priečinka.").arg(Native(folder));
    // A folder reached through a link is written where it really is: the link stays.
    const QString target =
        info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    if (QFileInfo(target).isRoot() || target == QFileInfo(target).absolutePath())
        return QStringLiteral("Do koreňového priečinka sa web nezapisuje; zvoľte priečinok pre web.");
    const QString season = QFileInfo(seasonPath).canonicalFilePath();
    if (!season.isEmpty() && season.startsWith(target + QLatin1Char('/')))
        return QStringLiteral("V priečinku %1 je sezóna, z ktorej sa web robí; web sa zapisuje do priečinka "
                              "len pre web.")
            .arg(Native(target));

    const QDir dir(target);
    QSet<QString> ours;
    if (info.exists()) {
        QFile manifest(dir.filePath(kZoznamWebu));
        const bool published = manifest.open(QIODevice::ReadOnly);
        if (published)
            for (const QString& name :
                 QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                ours.insert(name.trimmed());
        // A folder that holds something else and no site of this program is somebody's: a typo in
        // the folder's name must not scatter pages among the secretary's documents.
        const QStringList present =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        if (!published && !present.isEmpty())
            return QStringLiteral(
                       "Priečinok %1 nie je prázdny a nie je v ňom web z tohto programu; web sa do neho "
                       "nezapíše. Zvoľte prázdny alebo nový priečinok.")
                .arg(Native(target));
        for (const CSuborWebu& f : files) {
            const CStav s = Stat(dir.filePath(f.name));
            if (!s.exists)
                continue;
            if (!ours.contains(f.name) || !S_ISREG(s.info.st_mode))
                return QStringLiteral(
                           "V priečinku %1 je %2, ktorý nezapísal tento program; web ho neprepíše. "
                           "Presuňte ho alebo zvoľte iný priečinok.")
                    .arg(Native(target), f.name);
        }
        const CStav self = Stat(target);
        if (const QString database = DatabaseInside(target, self.info.st_dev); !database.isEmpty())
            return QStringLiteral(
                       "V priečinku %1 je databáza (%2); web sa zapisuje do priečinka len pre web.")
                .arg(Native(target), Native(database));
    } else if (!QDir().mkpath(target)) {
        return QStringLiteral("Priečinok %1 sa nedá vytvoriť.").arg(Native(target));
    }

    // The pages are written beside their places in the folder itself, on its disk, and renamed into
    // place once all are written: a full disk leaves the published site as it was. The folder, its
    // subfolders and whatever else it holds are left as they are, mounted disks included.
    QString staging;
    try {
        staging = TemporaryFolderBeside(dir.filePath(kZoznamWebu));
    } catch (const CChybaDatabazy& e) {
        return e.UserText();
    }
    const QDir out(staging);
    QStringList names;
    try {
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            // Synced all at once below.
            WriteFileBytes(out.filePath(name), bytes, dir.filePath(name), true, false);
            if (const CStav old = Stat(dir.filePath(name)); old.exists)
                KeepModeAndOwner(out.filePath(name), old);
        };
        for (const CSuborWebu& f : files) {
            write(f.name, f.bytes);
            names << f.name;
        }
        // Two lists: while the pages are renamed into place, the folder's list names the old pages and
        // the new, so that a run cut short leaves no page the next one would take for somebody's.
        QStringList both = names;
        for (const QString& name : ours)
            if (!both.contains(name))
                both << name;
        write(kZoznamWebu + QStringLiteral(".oba"),
              (both.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        write(kZoznamWebu, (names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        SyncDisk(staging);
    } catch (const CChybaDatabazy& e) {
        QDir(staging).removeRecursively();
        return e.UserText();
    }

    const auto move = [&](const QString& from, const QString& to) {
        if (::rename(QFile::encodeName(out.filePath(from)).constData(),
                     QFile::encodeName(dir.filePath(to)).constData()) == 0)
            return QString();
        const int error = errno;
        QDir(staging).removeRecursively();
        return WriteError(dir.filePath(to), error).UserText();
    };
    QString error = move(kZoznamWebu + QStringLiteral(".oba"), kZoznamWebu);
    for (qsizetype i = 0; error.isEmpty() && i < names.size(); ++i)
        error = move(names.at(i), names.at(i));
    if (error.isEmpty())
        error = move(kZoznamWebu, kZoznamWebu);
    if (!error.isEmpty())
        return error;
    QDir().rmdir(staging);
    // Pages of the last publishing that this one no longer has (a club that left the competition).
    const QSet<QString> written(names.begin(), names.end());
    for (const QString& name : ours)
        if (!written.contains(name) && !name.contains(QLatin1Char('/')) && name != QStringLiteral("..") &&
            name != QStringLiteral("."))
            if (const CStav s = Stat(dir.filePath(name)); s.exists && S_ISREG(s.info.st_mode))
                QFile::remove(dir.filePath(name));
    SyncDisk(target);
    return {};
}
