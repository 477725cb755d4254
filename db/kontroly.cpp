#include "kontroly.h"

#include "CDatabaza.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <sys/stat.h>

namespace {

QString Key(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return QStringLiteral("Kontroly/") +
           QString::fromLatin1(
               QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
}

constexpr int kHlavicka = 28;

QByteArray HeaderOfClosed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kHlavicka);
}

QByteArray HeaderOfOpen(CDatabaza& db)
{
    sqlite3_file* file = nullptr;
    if (!db.Handle() ||
        sqlite3_file_control(db.Handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return {};
    QByteArray header(kHlavicka, '\0');
    if (file->pMethods->xRead(file, header.data(), kHlavicka, 0) != SQLITE_OK)
        return {};
    return header;
}

// Device, inode, size, modification and change times to the nanosecond, and the change counter the
// store keeps at byte 24 of the file's header; empty when the file cannot be read. A copy or a restore
// can put the modification time back (cp -p, tar -xp, rsync -t) and even reuse the inode, but the change
// time is the system's own: nothing but the clock sets it.
QString Fingerprint(const QString& path, const QByteArray& header)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    if (header.size() < kHlavicka || !header.startsWith("SQLite format 3"))
        return {};
    const quint32 counter = (quint32(quint8(header.at(24))) << 24) | (quint32(quint8(header.at(25))) << 16) |
                            (quint32(quint8(header.at(26))) << 8) | quint32(quint8(header.at(27)));
    return QStringLiteral("%1:%2:%3:%4.%5:%6.%7:%8")
        .arg(quint64(st.st_dev))
        .arg(quint64(st.st_ino))
        .arg(qint64(st.st_size))
        .arg(qint64(st.st_mtim.tv_sec))
        .arg(qint64(st.st_mtim.tv_nsec))
        .arg(qint64(st.st_ctim.tv_sec))
        .arg(qint64(st.st_ctim.tv_nsec))
        .arg(counter);
}

QSettings& Store()
{
    static QSettings settings(QStringLiteral("Kestrix"), QStringLiteral("Agenda Mirak"));
    return settings;
}

} // namespace

namespace {

void Remember(const QString& path, const QString& fingerprint)
{
    // Unchanged, nothing is written: a job that only reads ends without touching the settings.
    if (fingerprint.isEmpty() || Store().value(Key(path)).toString() == fingerprint)
        return;
    Store().setValue(Key(path), fingerprint);
    Store().sync();
}

} // namespace

bool UnchangedSinceCleanCheck(CDatabaza& db)
{
    const QString now = Fingerprint(db.Path(), HeaderOfOpen(db));
    return !now.isEmpty() && Store().value(Key(db.Path())).toString() == now;
}

void RememberCleanCheck(CDatabaza& db)
{
    Remember(db.Path(), Fingerprint(db.Path(), HeaderOfOpen(db)));
}

void RememberCleanCheck(const QString& path)
{
    Remember(path, Fingerprint(path, HeaderOfClosed(path)));
}

void ForgetCleanCheck(const QString& path)
{
    Store().remove(Key(path));
    Store().sync();
}
