#include "subory.h"

#include "CChybaDatabazy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <filesystem>
#include <sqlite3.h>
#include <system_error>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 512)
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
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

QString OutputRefusal(const QString& target)
{
    const QString shown = QDir::toNativeSeparators(target);
    // A season held open by another program is a database too: it is refused here as well.
    if (IsDatabaseFile(target))
        return QStringLiteral("Súbor %1 je sezóna alebo iná databáza; stránku ani tlač doň nezapíšem, aby sa "
                              "nestratila. Zvoľte iný názov súboru.")
            .arg(shown);
    if (QFileInfo(target).isDir())
        return QStringLiteral("%1 je priečinok, nie súbor.").arg(shown);
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

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    const QString refusal = OutputRefusal(path);
    if (!refusal.isEmpty())
        throw CChybaDatabazy(refusal);
    const QString temporary = TemporaryBeside(path);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.remove();
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 sa nepodarilo zapísať.").arg(QDir::toNativeSeparators(path)), why);
    }
    file.close();
    ReplaceWith(temporary, path);
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
    static const QRegularExpression name(QStringLiteral("^\\..+\\.(\\d+)\\.[0-9a-f]{8}\\.tmp$"));
    return name;
}

} // namespace

void RemoveStaleTemporaries(const QString& folder)
{
    const QDir dir(folder);
    // Folders too: a published site that a killed run left half-written.
    const QStringList candidates =
        dir.entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System |
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

QString TemporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    RemoveStaleTemporaries(info.absolutePath());
    for (;;) {
        const QString name = info.absoluteDir().filePath(
            QStringLiteral(".%1.%2.%3.tmp")
                .arg(info.fileName())
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!QFileInfo::exists(name))
            return name;
    }
}

void ReplaceWith(const QString& temporary, const QString& target)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), ec);
    if (ec) {
        QFile::remove(temporary);
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 sa nepodarilo zapísať.").arg(QDir::toNativeSeparators(target)),
            QString::fromLocal8Bit(ec.message().c_str()));
    }
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
