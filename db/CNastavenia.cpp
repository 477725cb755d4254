#include "CNastavenia.h"

#include "CSezonaNaServeri.h"

#include "db/zalohy.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kSekciaNedavnych = QStringLiteral("Recent File List");

// A season file's own group: named by its path, which may hold any character.
QString SeasonGroup(const QString& seasonPath)
{
    const QString path = QDir::cleanPath(QFileInfo(seasonPath).absoluteFilePath());
    return QStringLiteral("Sezony/") +
           QString::fromLatin1(
               QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}
} // namespace

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
    // A server season is remembered by its address, which never holds a password.
    const QString absolute = IsServerAddress(path) ? ParseServerAddress(path).shown
                                                   : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
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

QByteArray CNastavenia::WindowGeometry() const
{
    return m_settings->value(QStringLiteral("Window/Geometry")).toByteArray();
}

QByteArray CNastavenia::WindowState() const
{
    return m_settings->value(QStringLiteral("Window/State")).toByteArray();
}

QByteArray CNastavenia::SplitterState() const
{
    return m_settings->value(QStringLiteral("Window/Splitter")).toByteArray();
}

void CNastavenia::SetWindowLayout(const QByteArray& geometry, const QByteArray& state,
                                  const QByteArray& splitter)
{
    m_settings->setValue(QStringLiteral("Window/Geometry"), geometry);
    m_settings->setValue(QStringLiteral("Window/State"), state);
    m_settings->setValue(QStringLiteral("Window/Splitter"), splitter);
    m_settings->sync();
}

bool CNastavenia::StatusBarShown() const
{
    return m_settings->value(QStringLiteral("Window/StatusBar"), true).toBool();
}

void CNastavenia::SetStatusBarShown(bool shown)
{
    m_settings->setValue(QStringLiteral("Window/StatusBar"), shown);
    m_settings->sync();
}

QVector<int> CNastavenia::ColumnWidths(const QString& list) const
{
    QVector<int> widths;
    const QStringList saved = m_settings->value(QStringLiteral("Columns/") + list)
                                  .toString()
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& w : saved) {
        bool ok = false;
        const int width = w.toInt(&ok);
        // A hand-edited or damaged entry is no widths at all.
        if (!ok || width <= 0 || width > 10000)
            return {};
        widths << width;
    }
    return widths;
}

void CNastavenia::SetColumnWidths(const QString& list, const QVector<int>& widths)
{
    QStringList texts;
    for (int w : widths)
        texts << QString::number(w);
    m_settings->setValue(QStringLiteral("Columns/") + list, texts.join(QLatin1Char(',')));
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

CNastavenia::CMiesto CNastavenia::LastPlace(const QString& seasonPath) const
{
    const QString group = SeasonGroup(seasonPath);
    CMiesto place;
    place.view = m_settings->value(group + QStringLiteral("/Pohlad"), -1).toInt();
    place.competition = m_settings->value(group + QStringLiteral("/Sutaz"), 0).toInt();
    return place;
}

void CNastavenia::SetLastPlace(const QString& seasonPath, int view, int competition)
{
    const QString group = SeasonGroup(seasonPath);
    m_settings->setValue(group + QStringLiteral("/Pohlad"), view);
    m_settings->setValue(group + QStringLiteral("/Sutaz"), competition);
}

CNastavenia::CCielWebu CNastavenia::LastSiteTarget(const QString& seasonPath) const
{
    const QString group = SeasonGroup(seasonPath);
    CCielWebu target;
    target.server = m_settings->value(group + QStringLiteral("/WebNaServer"), false).toBool();
    target.folder = m_settings->value(group + QStringLiteral("/WebPriecinok")).toString();
    target.address = m_settings->value(group + QStringLiteral("/WebAdresa")).toString();
    target.user = m_settings->value(group + QStringLiteral("/WebPouzivatel")).toString();
    return target;
}

void CNastavenia::SetLastSiteTarget(const QString& seasonPath, const CCielWebu& target)
{
    const QString group = SeasonGroup(seasonPath);
    m_settings->setValue(group + QStringLiteral("/WebNaServer"), target.server);
    m_settings->setValue(group + QStringLiteral("/WebPriecinok"), target.folder);
    m_settings->setValue(group + QStringLiteral("/WebAdresa"), target.address);
    m_settings->setValue(group + QStringLiteral("/WebPouzivatel"), target.user);
}

qint64 CNastavenia::SnapshotLimitMB() const
{
    bool ok = false;
    const qint64 mb = m_settings->value(QStringLiteral("Zalohy/NajviacMB"), kNajviacZalohMB).toLongLong(&ok);
    // A value edited by hand into nonsense counts as unset.
    return ok && mb >= kNajmenejZalohMB ? mb : kNajviacZalohMB;
}

void CNastavenia::SetSnapshotLimitMB(qint64 mb)
{
    m_settings->setValue(QStringLiteral("Zalohy/NajviacMB"), std::max(kNajmenejZalohMB, mb));
    m_settings->sync();
}

qint64 CNastavenia::ConverterMemoryMB() const
{
    bool ok = false;
    const qint64 mb = m_settings->value(QStringLiteral("Prevod/PamatMB"), 1024).toLongLong(&ok);
    // Below what reading any season takes the setting would only refuse good files.
    return ok && mb >= 128 ? mb : 1024;
}

bool CNastavenia::LoginHintShown() const
{
    return m_settings->value(QStringLiteral("Prihlasenie/Ukazane"), false).toBool();
}

void CNastavenia::SetLoginHintShown()
{
    m_settings->setValue(QStringLiteral("Prihlasenie/Ukazane"), true);
    m_settings->sync();
}

QString UserSettingsFolder()
{
    return QFileInfo(QSettings(QStringLiteral("Kestrix"), QStringLiteral("Agenda Mirak")).fileName())
        .absolutePath();
}
