#include "CNastavenia.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSekciaNedavnych = QStringLiteral("Recent File List");
}

CNastavenia::CNastavenia()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Kestrix"), QStringLiteral("Agenda Mirak")))
{
}

CNastavenia::CNastavenia(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QStringList CNastavenia::RecentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kPocetNedavnych; ++i) {
        const QString f = m_settings->value(kSekciaNedavnych + QStringLiteral("/File%1").arg(i)).toString();
        if (!f.isEmpty())
            files << f;
    }
    return files;
}

void CNastavenia::WriteRecent(const QStringList& files)
{
    m_settings->remove(kSekciaNedavnych);
    for (int i = 0; i < files.size() && i < kPocetNedavnych; ++i)
        m_settings->setValue(kSekciaNedavnych + QStringLiteral("/File%1").arg(i + 1), files.at(i));
    m_settings->sync();
}

void CNastavenia::AddRecentFile(const QString& path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList files = RecentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    WriteRecent(files.mid(0, kPocetNedavnych));
}

void CNastavenia::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    WriteRecent(files);
}

int CNastavenia::PreviewPages() const
{
    return qBound(1, m_settings->value(QStringLiteral("Settings/PreviewPages"), 1).toInt(), 2);
}

void CNastavenia::SetPreviewPages(int pages)
{
    m_settings->setValue(QStringLiteral("Settings/PreviewPages"), pages);
    m_settings->sync();
}
