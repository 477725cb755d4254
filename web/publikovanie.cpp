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

#include <openssl/evp.h>

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

// A site's files are hashed three times a publishing (what a page shows, what was written, what is in
// the folder): OpenSSL's SHA-256 runs on the processor's own instructions, several times Qt's speed.
QByteArray Sha256(const QByteArray& bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.constData(), static_cast<size_t>(bytes.size()), digest, &length, EVP_sha256(),
                   nullptr) != 1)
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)).toHex();
}

QByteArray FileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return Sha256(f.readAll());
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
        if (parts.size() >= 5) {
            bool ok = false;
            entry.size = parts.at(4).trimmed().toLongLong(&ok);
            if (!ok || entry.size < 0)
                entry.size = -1;
        }
        list.insert(parts.first().trimmed(), entry);
    }
    return list;
}

QByteArray SiteListLine(const QString& name, const CZaznamZoznamu& e)
{
    if (e.written.isEmpty())
        return name.toUtf8() + '\n';
    QByteArray line = name.toUtf8() + '\t' + e.written + '\t' + e.content + '\t' +
                      e.changed.toUTC().toString(Qt::ISODate).toUtf8();
    if (e.size >= 0)
        line += '\t' + QByteArray::number(e.size);
    return line + '\n';
}

CPlanovanieWebu::CPlanovanieWebu(const QHash<QString, CZaznamZoznamu>& ours, const QSet<QString>& foreign,
                                 const std::function<bool(const QString&)>& present)
    : m_ours(ours), m_foreign(foreign), m_present(present)
{
}

bool CPlanovanieWebu::Take(CSuborWebu& f)
{
    // A page whose content is the last publishing's keeps that publishing's time, and so its bytes.
    const auto old = m_ours.constFind(f.name);
    CZaznamZoznamu entry;
    entry.content = f.contentHash;
    entry.changed = f.made.isValid() ? f.made : QDateTime::currentDateTimeUtc();
    if (old != m_ours.cend() && !old->content.isEmpty() && old->content == f.contentHash &&
        old->changed.isValid()) {
        entry.changed = old->changed;
        if (!f.stampText.isEmpty())
            f.bytes.replace(f.stampText.toUtf8(), UpdatedText(old->changed).toUtf8());
    }
    entry.written = Sha256(f.bytes);
    entry.size = f.bytes.size();
    m_names << f.name;
    if (m_foreign.contains(f.name)) {
        // Left as somebody made it; listed as it was, so that it stays his until he removes it.
        list.insert(f.name, old.value());
        return false;
    }
    list.insert(f.name, entry);
    return old == m_ours.cend() || old->written.isEmpty() || old->written != entry.written ||
           !m_present(f.name);
}

void CPlanovanieWebu::Finish()
{
    listBytes.clear();
    gone.clear();
    for (const QString& name : std::as_const(m_names))
        listBytes += SiteListLine(name, list.value(name));
    // Files of the last publishing this one no longer has, and that are somebody's now, stay listed.
    for (auto it = m_ours.cbegin(); it != m_ours.cend(); ++it)
        if (!list.contains(it.key()) && m_foreign.contains(it.key()))
            listBytes += SiteListLine(it.key(), it.value());
    for (auto it = m_ours.cbegin(); it != m_ours.cend(); ++it)
        if (!list.contains(it.key()) && !m_foreign.contains(it.key()))
            gone << it.key();
}

void StampFile(CSuborWebu& f, const QDateTime& stamp)
{
    const QByteArray token = kZnackaAktualizacie.toUtf8();
    f.contentHash = Sha256(f.bytes);
    f.made = stamp;
    if (f.bytes.contains(token)) {
        const QString text = UpdatedText(stamp);
        f.bytes.replace(token, text.toUtf8());
        f.stampText = text;
    }
}

CZapisWebu::~CZapisWebu()
{
    if (!m_staging.isEmpty())
        QDir(m_staging).removeRecursively();
    // A folder made for a publishing that did not finish goes too (it is empty: removing it does no more).
    if (m_created && !m_finished)
        QDir().rmdir(m_target);
}

QString CZapisWebu::Begin(const QString& folder, const QString& seasonPath)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 nie je priečinok; web sa zapisuje do priečinka.").arg(Native(folder));
    // A folder reached through a link is written where it really is: the link stays.
    m_target = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    if (QFileInfo(m_target).isRoot() || m_target == QFileInfo(m_target).absolutePath())
        return QStringLiteral("Do koreňového priečinka sa web nezapisuje; zvoľte priečinok pre web.");
    const QString season = QFileInfo(seasonPath).canonicalFilePath();
    if (!season.isEmpty() && season.startsWith(m_target + QLatin1Char('/')))
        return QStringLiteral("V priečinku %1 je sezóna, z ktorej sa web robí; web sa zapisuje do priečinka "
                              "len pre web.")
            .arg(Native(m_target));

    const QDir dir(m_target);
    if (info.exists()) {
        const CStav listState = Stat(dir.filePath(kZoznamWebu));
        if (listState.exists && !S_ISREG(listState.info.st_mode))
            return QStringLiteral("%1 v priečinku %2 nie je súbor; web sa do priečinka nezapíše.")
                .arg(kZoznamWebu, Native(m_target));
        QFile manifest(dir.filePath(kZoznamWebu));
        const bool published = listState.exists && manifest.open(QIODevice::ReadOnly);
        if (published) {
            m_oldList = manifest.readAll();
            m_ours = ReadSiteList(m_oldList);
        }
        // A folder that holds something else and no site of this program is somebody's: a typo in
        // the folder's name must not scatter pages among the secretary's documents.
        const QStringList present =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        if (!published && !present.isEmpty())
            return QStringLiteral(
                       "Priečinok %1 nie je prázdny a nie je v ňom web z tohto programu; web sa do neho "
                       "nezapíše. Zvoľte prázdny alebo nový priečinok.")
                .arg(Native(m_target));
        // The files of the last publishing that are no longer what the program wrote: somebody's now.
        for (auto it = m_ours.cbegin(); it != m_ours.cend(); ++it) {
            const CStav s = Stat(dir.filePath(it.key()));
            if (s.exists && !it->written.isEmpty() &&
                (!S_ISREG(s.info.st_mode) || FileHash(dir.filePath(it.key())) != it->written))
                m_foreign.insert(it.key());
        }
        const CStav self = Stat(m_target);
        if (const QString database = DatabaseInside(m_target, self.info.st_dev); !database.isEmpty())
            return QStringLiteral(
                       "V priečinku %1 je databáza (%2); web sa zapisuje do priečinka len pre web.")
                .arg(Native(m_target), Native(database));
    } else if (!QDir().mkpath(m_target)) {
        return QStringLiteral("Priečinok %1 sa nedá vytvoriť.").arg(Native(m_target));
    } else {
        m_created = true;
    }
    m_plan = std::make_unique<CPlanovanieWebu>(m_ours, m_foreign, [this](const QString& name) {
        return Stat(QDir(m_target).filePath(name)).exists;
    });
    return {};
}

QString CZapisWebu::Stage(const QString& name, const QByteArray& bytes)
{
    // The pages are written beside their places in the folder itself, on its disk, and renamed into place
    // once all are written: a full disk leaves the published site as it was.
    const QDir dir(m_target);
    try {
        if (m_staging.isEmpty())
            m_staging = TemporaryFolderBeside(dir.filePath(kZoznamWebu));
        const QDir out(m_staging);
        // Synced all at once at the end.
        WriteFileBytes(out.filePath(name), bytes, dir.filePath(name), true, false);
        if (const CStav old = Stat(dir.filePath(name)); old.exists)
            KeepModeAndOwner(out.filePath(name), old);
    } catch (const CChybaDatabazy& e) {
        return e.UserText();
    }
    return {};
}

QString CZapisWebu::Add(CSuborWebu& f)
{
    const CStav s = Stat(QDir(m_target).filePath(f.name));
    if (s.exists && (!m_ours.contains(f.name) || !S_ISREG(s.info.st_mode)))
        return QStringLiteral("V priečinku %1 je %2, ktorý nezapísal tento program; web ho neprepíše. "
                              "Presuňte ho alebo zvoľte iný priečinok.")
            .arg(Native(m_target), f.name);
    if (!m_plan->Take(f))
        return {};
    m_changed << f.name;
    return Stage(f.name, f.bytes);
}

QString CZapisWebu::Finish(QStringList* leftAlone, int* written)
{
    m_plan->Finish();
    const QHash<QString, CZaznamZoznamu>& list = m_plan->list;
    const QByteArray& newList = m_plan->listBytes;
    const QDir dir(m_target);
    if (!m_changed.isEmpty() || newList != m_oldList) {
        // Two lists: while the pages are renamed into place, the folder's list names the old pages and
        // the new, so that a run cut short leaves no page the next one would take for somebody's.
        QByteArray both = newList;
        for (auto it = m_ours.cbegin(); it != m_ours.cend(); ++it)
            if (!list.contains(it.key()))
                both += SiteListLine(it.key(), it.value());
        QString error = Stage(kZoznamWebu + QStringLiteral(".oba"), both);
        if (error.isEmpty())
            error = Stage(kZoznamWebu, newList);
        if (!error.isEmpty())
            return error;
        try {
            SyncDisk(m_staging);
        } catch (const CChybaDatabazy& e) {
            return e.UserText();
        }
        const QDir out(m_staging);
        const auto move = [&](const QString& from, const QString& to) {
            if (::rename(QFile::encodeName(out.filePath(from)).constData(),
                         QFile::encodeName(dir.filePath(to)).constData()) == 0)
                return QString();
            return WriteError(dir.filePath(to), errno).UserText();
        };
        error = move(kZoznamWebu + QStringLiteral(".oba"), kZoznamWebu);
        for (qsizetype i = 0; error.isEmpty() && i < m_changed.size(); ++i)
            error = move(m_changed.at(i), m_changed.at(i));
        if (error.isEmpty())
            error = move(kZoznamWebu, kZoznamWebu);
        if (!error.isEmpty())
            return error;
        QDir().rmdir(m_staging);
        m_staging.clear();
        if (written)
            *written = static_cast<int>(m_changed.size());
    }
    // Pages of the last publishing that this one no longer has (a club that left the competition). The
    // folder, its subfolders and whatever else it holds are left as they are, mounted disks included.
    for (auto it = m_ours.cbegin(); it != m_ours.cend(); ++it) {
        const QString& name = it.key();
        if (list.contains(name) || m_foreign.contains(name) || name.contains(QLatin1Char('/')) ||
            name == QStringLiteral("..") || name == QStringLiteral("."))
            continue;
        if (const CStav s = Stat(dir.filePath(name)); s.exists && S_ISREG(s.info.st_mode))
            QFile::remove(dir.filePath(name));
    }
    if (leftAlone) {
        *leftAlone = QStringList(m_foreign.begin(), m_foreign.end());
        leftAlone->sort();
    }
    m_finished = true;
    SyncDisk(m_target);
    return {};
}

QString PublishSite(QVector<CSuborWebu> files, const QString& folder, const QString& seasonPath,
                    QStringList* leftAlone, int* written)
{
    if (leftAlone)
        leftAlone->clear();
    if (written)
        *written = 0;
    CZapisWebu writer;
    if (QString error = writer.Begin(folder, seasonPath); !error.isEmpty())
        return error;
    for (CSuborWebu& f : files)
        if (QString error = writer.Add(f); !error.isEmpty())
            return error;
    return writer.Finish(leftAlone, written);
}
