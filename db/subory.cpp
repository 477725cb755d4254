#include "subory.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <QFile>
#include <sys/stat.h>
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
