#pragma once

#include <QSettings>
#include <QStringList>

#include <memory>

// The per-user settings ("Kestrix", "Agenda Mirak"): the recent season files and how many pages the
// print preview shows side by side.
class CNastavenia
{
public:
    // The user's own settings store.
    CNastavenia();
    // Settings kept in an INI file (tests).
    explicit CNastavenia(const QString& iniPath);

    static constexpr int kPocetNedavnych = 4;

    QStringList RecentFiles() const;
    // Puts the file first in the recent-file list (keeping four, each once).
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    int PreviewPages() const;
    void SetPreviewPages(int pages);

    QSettings& Store() { return *m_settings; }

private:
    void WriteRecent(const QStringList& files);
    std::unique_ptr<QSettings> m_settings;
};
