#pragma once

#include <QByteArray>
#include <QSettings>
#include <QStringList>
#include <QVector>

#include <memory>

// The per-user settings ("Kestrix", "Agenda Mirak"): the recent season files, how many pages the
// print preview shows side by side, the window as the user left it (size and place, the tree's
// width, the lists' column widths) and each season file's last list and competition.
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

    // Saved forms of the window's geometry, its bars and the splitter; empty before the first close.
    QByteArray WindowGeometry() const;
    QByteArray WindowState() const;
    QByteArray SplitterState() const;
    void SetWindowLayout(const QByteArray& geometry, const QByteArray& state, const QByteArray& splitter);
    // Whether the status bar is shown (it is until the user hides it).
    bool StatusBarShown() const;
    void SetStatusBarShown(bool shown);

    // The widths the user gave a list's columns, under the list's name; empty when none were given.
    QVector<int> ColumnWidths(const QString& list) const;
    void SetColumnWidths(const QString& list, const QVector<int>& widths);

    // Where the user was in a season file when he last left it: the list (its index) and the
    // competition; view -1 when nothing is remembered.
    struct CMiesto
    {
        int view = -1;
        int competition = 0;
    };
    CMiesto LastPlace(const QString& seasonPath) const;
    void SetLastPlace(const QString& seasonPath, int view, int competition);
    // Where a season's site was last published: to the host (its address and user; a password is never
    // kept) or into a folder.
    struct CCielWebu
    {
        bool server = false;
        QString folder;
        QString address;
        QString user;
    };
    CCielWebu LastSiteTarget(const QString& seasonPath) const;
    void SetLastSiteTarget(const QString& seasonPath, const CCielWebu& target);
    // How much a season's snapshots may take together, in MB (this user's, for every season).
    qint64 SnapshotLimitMB() const;
    void SetSnapshotLimitMB(qint64 mb);
    // How much memory the reading of a Jet file may take, in MB (the converter's child process).
    qint64 ConverterMemoryMB() const;
    // Whether the window has told how to log in for editing (once).
    bool LoginHintShown() const;
    void SetLoginHintShown();

    QSettings& Store() { return *m_settings; }

private:
    void WriteRecent(const QStringList& files);
    std::unique_ptr<QSettings> m_settings;
};

// The folder of the user's settings, where the program keeps what belongs to this user and computer
// rather than to a season file (the snapshots and copies of server seasons).
QString UserSettingsFolder();
