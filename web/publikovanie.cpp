#include "publikovanie.h"

#include "db/CChybaDatabazy.h"
#include "db/kody.h"
#include "db/subory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

QString UpdatedText(const QDateTime& when)
{
    const QDateTime local = when.toLocalTime();
    return QStringLiteral("Aktualizované %1 %2")
        .arg(DenTextom(local.date()), local.time().toString(QStringLiteral("HH:mm")));
}

namespace {

QByteArray Sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex();
}

} // namespace

QHash<QString, CZaznamZoznamu> ReadSiteList(const QByteArray& bytes)
{
    QHash<QString, CZaznamZoznamu> list;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        CZaznamZoznamu entry;
        if (parts.size() >= 4) {
            entry.written = parts.at(1).toLatin1();
            entry.content = parts.at(2).toLatin1();
            entry.changed = QDateTime::fromString(parts.at(3), Qt::ISODate);
        }
        list.insert(parts.first().trimmed(), entry);
    }
    return list;
}

QByteArray SiteListLine(const QString& name, const CZaznamZoznamu& e)
{
    if (e.written.isEmpty())
        return name.toUtf8() + '\n';
    return name.toUtf8() + '\t' + e.written + '\t' + e.content + '\t' +
           e.changed.toUTC().toString(Qt::ISODate).toUtf8() + '\n';
}

CPlanWebu PlanSite(QVector<CSuborWebu>& files, const QHash<QString, CZaznamZoznamu>& ours,
                   const QSet<QString>& foreign, const std::function<bool(const QString&)>& present)
{
    // A page whose content is the last publishing's keeps that publishing's time, and so its bytes.
    CPlanWebu plan;
    QStringList names;
    for (CSuborWebu& f : files) {
        const auto old = ours.constFind(f.name);
        CZaznamZoznamu entry;
        entry.content = f.contentHash;
        entry.changed = f.made.isValid() ? f.made : QDateTime::currentDateTimeUtc();
        if (old != ours.cend() && !old->content.isEmpty() && old->content == f.contentHash &&
            old->changed.isValid()) {
            entry.changed = old->changed;
            if (!f.stampText.isEmpty())
                f.bytes.replace(f.stampText.toUtf8(), UpdatedText(old->changed).toUtf8());
        }
        entry.written = Sha256(f.bytes);
        names << f.name;
        if (foreign.contains(f.name)) {
            // Left as somebody made it; listed as it was, so that it stays his until he removes it.
            plan.list.insert(f.name, old.value());
            continue;
        }
        plan.list.insert(f.name, entry);
        if (old == ours.cend() || old->written.isEmpty() || old->written != entry.written || !present(f.name))
            plan.changed << &f;
    }
    for (const QString& name : std::as_const(names))
        plan.listBytes += SiteListLine(name, plan.list.value(name));
    // Files of the last publishing this one no longer has, and that are somebody's now, stay listed.
    for (auto it = ours.cbegin(); it != ours.cend(); ++it)
        if (!plan.list.contains(it.key()) && foreign.contains(it.key()))
            plan.listBytes += SiteListLine(it.key(), it.value());
    for (auto it = ours.cbegin(); it != ours.cend(); ++it)
        if (!plan.list.contains(it.key()) && !foreign.contains(it.key()))
            plan.gone << it.key();
    return plan;
}

void StampSite(QVector<CSuborWebu>& files, const QDateTime& stamp)
{
    const QByteArray token = kZnackaAktualizacie.toUtf8();
    const QString text = UpdatedText(stamp);
    for (CSuborWebu& f : files) {
        f.contentHash = Sha256(f.bytes);
        f.made = stamp;
        if (f.bytes.contains(token)) {
            f.bytes.replace(token, text.toUtf8());
            f.stampText = text;
        }
    }
}

QString PublishSite(QVector<CSuborWebu> files, const QString& folder, const QString& seasonPath,
                    QStringList* leftAlone, int* written)
{
    if (leftAlone)
        leftAlone->clear();
    if (written)
        *written = 0;
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
    QHash<QString, CZaznamZoznamu> ours;
    QByteArray oldList;
    // The files of the last publishing that are no longer what the program wrote: somebody's now.
    QSet<QString> foreign;
    if (info.exists()) {
        const CStav listState = Stat(dir.filePath(kZoznamWebu));
        if (listState.exists && !S_ISREG(listState.info.st_mode))
            return QStringLiteral("%1 v priečinku %2 nie je súbor; web sa do priečinka nezapíše.")
                .arg(kZoznamWebu, Native(target));
        QFile manifest(dir.filePath(kZoznamWebu));
        const bool published = listState.exists && manifest.open(QIODevice::ReadOnly);
        if (published) {
            oldList = manifest.readAll();
            ours = ReadSiteList(oldList);
        }
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
        for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
            const CStav s = Stat(dir.filePath(it.key()));
            if (s.exists && !it->written.isEmpty() &&
                (!S_ISREG(s.info.st_mode) || FileHash(dir.filePath(it.key())) != it->written))
                foreign.insert(it.key());
        }
        const CStav self = Stat(target);
        if (const QString database = DatabaseInside(target, self.info.st_dev); !database.isEmpty())
            return QStringLiteral(
                       "V priečinku %1 je databáza (%2); web sa zapisuje do priečinka len pre web.")
                .arg(Native(target), Native(database));
    } else if (!QDir().mkpath(target)) {
        return QStringLiteral("Priečinok %1 sa nedá vytvoriť.").arg(Native(target));
    }

    const CPlanWebu plan =
        PlanSite(files, ours, foreign, [&](const QString& name) { return Stat(dir.filePath(name)).exists; });
    const QHash<QString, CZaznamZoznamu>& list = plan.list;
    const QVector<const CSuborWebu*>& changed = plan.changed;
    const QByteArray& newList = plan.listBytes;

    // The pages are written beside their places in the folder itself, on its disk, and renamed into
    // place once all are written: a full disk leaves the published site as it was. The folder, its
    // subfolders and whatever else it holds are left as they are, mounted disks included.
    if (!changed.isEmpty() || newList != oldList) {
        QString staging;
        try {
            staging = TemporaryFolderBeside(dir.filePath(kZoznamWebu));
        } catch (const CChybaDatabazy& e) {
            return e.UserText();
        }
        const QDir out(staging);
        try {
            const auto write = [&](const QString& name, const QByteArray& bytes) {
                // Synced all at once below.
                WriteFileBytes(out.filePath(name), bytes, dir.filePath(name), true, false);
                if (const CStav old = Stat(dir.filePath(name)); old.exists)
                    KeepModeAndOwner(out.filePath(name), old);
            };
            for (const CSuborWebu* f : std::as_const(changed))
                write(f->name, f->bytes);
            // Two lists: while the pages are renamed into place, the folder's list names the old pages
            // and the new, so that a run cut short leaves no page the next one would take for
            // somebody's.
            QByteArray both = newList;
            for (auto it = ours.cbegin(); it != ours.cend(); ++it)
                if (!list.contains(it.key()))
                    both += SiteListLine(it.key(), it.value());
            write(kZoznamWebu + QStringLiteral(".oba"), both);
            write(kZoznamWebu, newList);
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
        for (qsizetype i = 0; error.isEmpty() && i < changed.size(); ++i)
            error = move(changed.at(i)->name, changed.at(i)->name);
        if (error.isEmpty())
            error = move(kZoznamWebu, kZoznamWebu);
        if (!error.isEmpty())
            return error;
        QDir().rmdir(staging);
        if (written)
            *written = static_cast<int>(changed.size());
    }
    // Pages of the last publishing that this one no longer has (a club that left the competition).
    for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
        const QString& name = it.key();
        if (list.contains(name) || foreign.contains(name) || name.contains(QLatin1Char('/')) ||
            name == QStringLiteral("..") || name == QStringLiteral("."))
            continue;
        if (const CStav s = Stat(dir.filePath(name)); s.exists && S_ISREG(s.info.st_mode))
            QFile::remove(dir.filePath(name));
    }
    if (leftAlone) {
        *leftAlone = QStringList(foreign.begin(), foreign.end());
        leftAlone->sort();
    }
    SyncDisk(target);
    return {};
}
