#include "subory.h"

#include "CChybaDatabazy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <filesystem>
#include <functional>
#include <sqlite3.h>
#include <system_error>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool TenIstySubor(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    if (!fa.exists() || !fb.exists())
        return false;
#ifdef Q_OS_UNIX
    struct stat sa
    {
    }, sb{};
    if (::stat(QFile::encodeName(fa.absoluteFilePath()).constData(), &sa) == 0 &&
        ::stat(QFile::encodeName(fb.absoluteFilePath()).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
    return fa.canonicalFilePath().compare(fb.canonicalFilePath(), Qt::CaseInsensitive) == 0;
}

QString WithExtension(const QString& chosen, const QString& extension)
{
    if (QFileInfo(chosen).suffix().toLower() == extension.toLower())
        return chosen;
    return chosen + QLatin1Char('.') + extension;
}

QString FileNamePart(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c < QChar(32) || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    return out.trimmed();
}

bool IsJetFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.size() >= 19 && head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB");
}

bool IsDatabaseFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() < 512)
        return false;
    // Read through the engine, never a handle of our own: closing any handle on a file drops the
    // locks this process holds on it, and the file asked about may be the season open in this window.
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (rc != SQLITE_CANTOPEN && rc != SQLITE_PERM)
        return rc != SQLITE_NOTADB;
    // What the engine cannot open, this process does not hold either: its header is read directly.
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool HeldByAnotherProgram(const QString& path)
{
    if (!IsDatabaseFile(path))
        return false;
    // A reader is turned away at once while another connection holds the file exclusively; opening
    // for reading writes nothing.
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

CCielVystupu OutputTarget(const QString& target)
{
    CCielVystupu out;
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(target));
    out.path = target;
#ifdef Q_OS_UNIX
    struct stat st = {};
    if (::lstat(QFile::encodeName(target).constData(), &st) != 0)
        return out; // nothing there yet: the file is made
    if (S_ISLNK(st.st_mode)) {
        // A link to a file is the user's way of keeping a page where it is read: that file is written,
        // the link stays as it is.
        if (::stat(QFile::encodeName(target).constData(), &st) != 0) {
            out.refusal =
                QStringLiteral("%1 je odkaz na súbor, ktorý neexistuje; výstup doň nezapíšem. Zvoľte iný "
                               "názov súboru.")
                    .arg(shown);
            return out;
        }
        out.path = QFileInfo(target).canonicalFilePath();
    }
    if (S_ISDIR(st.st_mode))
        out.refusal = QStringLiteral("%1 je priečinok, nie súbor.").arg(shown);
    else if (!S_ISREG(st.st_mode))
        out.refusal = QStringLiteral("%1 nie je obyčajný súbor (je to zariadenie, rúra alebo soket); výstup "
                                     "doň nezapíšem. Zvoľte iný názov súboru.")
                          .arg(shown);
#else
    if (QFileInfo(target).isDir())
        out.refusal = QStringLiteral("%1 je priečinok, nie súbor.").arg(shown);
#endif
    return out;
}

QString OutputRefusal(const QString& target)
{
    const CCielVystupu real = OutputTarget(target);
    if (!real.refusal.isEmpty())
        return real.refusal;
    // A season held open by another program is a database too: it is refused here as well.
    if (IsDatabaseFile(real.path))
        return QStringLiteral("Súbor %1 je sezóna alebo iná databáza; stránku ani tlač doň nezapíšem, aby sa "
                              "nestratila. Zvoľte iný názov súboru.")
            .arg(QDir::toNativeSeparators(QDir::cleanPath(target)));
    return {};
}

QString SeasonTargetRefusal(const QString& target)
{
    if (HeldByAnotherProgram(target))
        return QStringLiteral(
                   "Súbor %1 je sezóna, ktorú má otvorenú iný program alebo iné okno programu Agenda "
                   "Mirak; neprepíšem ju. Zatvorte ju tam alebo zvoľte iný názov súboru.")
            .arg(QDir::toNativeSeparators(target));
    return {};
}

QString DiskFullMessage(const QString& path)
{
    return QStringLiteral("Na disku nie je dosť miesta: súbor %1 sa nepodarilo zapísať. Uvoľnite miesto na "
                          "disku (alebo zvoľte iný disk) a skúste to znova.")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(path)));
}

bool IsDiskFull(int error)
{
#ifdef Q_OS_UNIX
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
#else
    (void)error;
    return false;
#endif
}

QString SystemErrorText(int error)
{
    switch (error) {
#ifdef Q_OS_UNIX
    case ENOENT:
        return QStringLiteral("priečinok alebo súbor neexistuje");
    case ENOTDIR:
        return QStringLiteral("časť cesty nie je priečinok");
    case EACCES:
    case EPERM:
        return QStringLiteral("nemáte právo zapisovať sem");
    case EROFS:
        return QStringLiteral("disk je len na čítanie");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("na disku nie je dosť miesta");
    case EFBIG:
        return QStringLiteral("súbor by bol väčší, ako disk dovolí");
    case ELOOP:
    case EMLINK:
        return QStringLiteral("v ceste je priveľa odkazov");
    case ENAMETOOLONG:
        return QStringLiteral("názov súboru alebo cesty je príliš dlhý");
    case EISDIR:
        return QStringLiteral("je to priečinok");
    case EEXIST:
        return QStringLiteral("súbor toho mena už existuje");
    case EXDEV:
        return QStringLiteral("súbor je na inom disku");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("súbor práve používa iný program");
    case EIO:
        return QStringLiteral("disk hlási chybu čítania alebo zápisu");
    case EINVAL:
        return QStringLiteral("názov súboru nie je platný");
#endif
    default:
        return QStringLiteral("systémová chyba č. %1").arg(error);
    }
}

CChybaDatabazy WriteError(const QString& path, int error)
{
    if (IsDiskFull(error))
        return CChybaDatabazy(DiskFullMessage(path));
    const QString shown = QDir::toNativeSeparators(QDir::cleanPath(path));
    if (!error)
        return CChybaDatabazy(QStringLiteral("Súbor %1 sa nepodarilo zapísať.").arg(shown));
    return CChybaDatabazy(
        QStringLiteral("Súbor %1 sa nepodarilo zapísať: %2.").arg(shown, SystemErrorText(error)));
}

void WriteFileBytes(const QString& path, const QByteArray& bytes, const QString& shown, bool create,
                    bool toDisk)
{
#ifdef Q_OS_UNIX
    const int flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT | O_EXCL : O_TRUNC);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0)
        throw WriteError(shown, errno);
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A short write without an error is the disk that filled up as it wrote.
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            throw WriteError(shown, error);
        }
        data += n;
        left -= n;
    }
    // Space the file system promised but cannot give shows here (a full disk over the network, a
    // quota), so it is asked for before the file counts as written; many files at once are synced
    // together by the caller.
    if (toDisk && ::fsync(fd) != 0 && errno != EINVAL) {
        const int error = errno;
        ::close(fd);
        throw WriteError(shown, error);
    }
    if (::close(fd) != 0 && errno != EINTR)
        throw WriteError(shown, errno);
#else
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | (create ? QIODevice::NewOnly : QIODevice::Truncate)) ||
        file.write(bytes) != bytes.size() || !file.flush())
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 sa nepodarilo zapísať.").arg(QDir::toNativeSeparators(shown)),
            file.errorString());
#endif
}

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    const QString refusal = OutputRefusal(path);
    if (!refusal.isEmpty())
        throw CChybaDatabazy(refusal);
    ReplaceFileWith(OutputTarget(path).path, bytes, path);
}

void ReplaceFileWith(const QString& path, const QByteArray& bytes, const QString& shown)
{
    const QString named = shown.isEmpty() ? path : shown;
    const QString temporary = TemporaryBeside(path, named);
    try {
        WriteFileBytes(temporary, bytes, named, false, true);
    } catch (const CChybaDatabazy&) {
        QFile::remove(temporary);
        throw;
    }
    ReplaceWith(temporary, path, named);
}

namespace {

bool ProcessAlive(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    (void)pid;
    return true;
#endif
}

const QRegularExpression& TemporaryName()
{
    // The engine's journals of a temporary season go with it; a season's own journal never matches.
    static const QRegularExpression name(
        QStringLiteral("^\\..+\\.(\\d+)\\.[0-9a-f]{8}\\.tmp(-journal|-wal|-shm)?$"));
    return name;
}

} // namespace

void RemoveStaleTemporaries(const QString& folder)
{
    const QDir dir(folder);
    // Folders too: a published site that a killed run left half-written.
    const QStringList candidates = dir.entryList({QStringLiteral(".*.tmp"), QStringLiteral(".*.tmp-journal"),
                                                  QStringLiteral(".*.tmp-wal"), QStringLiteral(".*.tmp-shm")},
                                                 QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System |
                                                     QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QString& name : candidates) {
        const auto m = TemporaryName().match(name);
        if (!m.hasMatch())
            continue;
        const qint64 pid = m.captured(1).toLongLong();
        if (pid == QCoreApplication::applicationPid() || ProcessAlive(pid))
            continue;
        const QString path = dir.filePath(name);
        if (QFileInfo(path).isDir())
            QDir(path).removeRecursively();
        else
            QFile::remove(path);
    }
}

void SyncDisk(const QString& folder)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
#else
    (void)folder;
#endif
}

namespace {

// Makes a fresh name beside `target` and lets `create` make it; a name already taken (a leftover, or
// a link planted at it) is passed over for another, never opened.
QString CreateBeside(const QString& target, const QString& shown,
                     const std::function<int(const QByteArray&)>& create)
{
    const QFileInfo info(target);
    // The folder as it really is: a season in a folder reached through a link takes its copies there,
    // and the engine, which refuses to follow links to the files it makes, gets a path without any.
    const QString real = QFileInfo(info.absolutePath()).canonicalFilePath();
    const QDir folder(real.isEmpty() ? info.absolutePath() : real);
    RemoveStaleTemporaries(folder.path());
    for (int attempt = 0;; ++attempt) {
        const QString name =
            folder.filePath(QStringLiteral(".%1.%2.%3.tmp")
                                .arg(info.fileName(), QString::number(QCoreApplication::applicationPid()),
                                     QString::number(QRandomGenerator::global()->generate(), 16)
                                         .rightJustified(8, QLatin1Char('0'))));
        const int error = create(QFile::encodeName(name));
        if (error == 0)
            return name;
        if (error != EEXIST || attempt >= 100)
            throw WriteError(shown.isEmpty() ? target : shown, error);
    }
}

} // namespace

QString TemporaryBeside(const QString& target, const QString& shown)
{
    return CreateBeside(target, shown, [](const QByteArray& name) {
#ifdef Q_OS_UNIX
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0)
            return errno;
        ::close(fd);
        return 0;
#else
        QFile file(QFile::decodeName(name));
        return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ? 0 : EEXIST;
#endif
    });
}

QString TemporaryFolderBeside(const QString& target)
{
    return CreateBeside(target, {}, [](const QByteArray& name) {
#ifdef Q_OS_UNIX
        return ::mkdir(name.constData(), 0777) == 0 ? 0 : errno;
#else
        return QDir().mkdir(QFile::decodeName(name)) ? 0 : EEXIST;
#endif
    });
}

void ReplaceWith(const QString& temporary, const QString& target, const QString& shown)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), ec);
    if (ec) {
        QFile::remove(temporary);
        throw WriteError(shown.isEmpty() ? target : shown, ec.value());
    }
}

void ClaimWith(const QString& temporary, const QString& target, const QString& shown)
{
    const QString named = shown.isEmpty() ? target : shown;
#ifdef Q_OS_LINUX
    const QByteArray from = QFile::encodeName(temporary), to = QFile::encodeName(target);
    int rc = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    // A file system that cannot rename without replacing still links without replacing.
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)) {
        rc = ::link(from.constData(), to.constData());
        if (rc == 0)
            ::unlink(from.constData());
    }
    if (rc != 0) {
        const int error = errno;
        QFile::remove(temporary);
        if (error == EEXIST)
            throw CChybaDatabazy(
                QStringLiteral("Súbor %1 medzitým vznikol iným programom; nový súbor doň nezapíšem a "
                               "ten, čo tam je, zostal, ako je. Zvoľte iný názov.")
                    .arg(QDir::toNativeSeparators(named)));
        throw WriteError(named, error);
    }
#else
    if (QFileInfo::exists(target)) {
        QFile::remove(temporary);
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 medzitým vznikol iným programom; nový súbor doň nezapíšem.")
                .arg(QDir::toNativeSeparators(named)));
    }
    ReplaceWith(temporary, target, shown);
#endif
}

bool InTemporaryFolder(const QString& path)
{
    const QString folder = QFileInfo(QFileInfo(path).absolutePath()).fileName();
    const auto m = TemporaryName().match(folder);
    return m.hasMatch() && m.captured(2).isEmpty() && QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

void SyncFile(const QString& path)
{
#ifdef Q_OS_UNIX
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0)
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 sa nepodarilo zapísať na disk.").arg(QDir::toNativeSeparators(path)),
            file.errorString());
#else
    (void)path;
#endif
}
