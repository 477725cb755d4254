#pragma once

#include "CDatabaza.h"
#include "CPouzivatel.h"
#include "CZaznamy.h"
#include "zalohy.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

// The session: the one open season file, the shared cursor, and the state every view reads (which
// competition, club and player are current, whether the user may edit). It also carries out the
// commands that act on the season file as a whole.
class CLigaroDoc
{
public:
    explicit CLigaroDoc(CPouzivatel& user);
    ~CLigaroDoc();
    CLigaroDoc(const CLigaroDoc&) = delete;
    CLigaroDoc& operator=(const CLigaroDoc&) = delete;

    void SetViews(CPohlady* views) { m_views = views; }
    // Where "today" comes from (the backup name); the system date unless a test says otherwise.
    void SetToday(std::function<QDate()> today) { m_today = std::move(today); }

    const QString& FilePath() const { return m_filePath; }
    const QString& ConnectedPath() const { return m_connectedPath; }
    const QString& SqlText() const { return m_sqlText; }
    bool IsDatabaseOpen() const { return m_databaseOpen; }
    // Whether the user may change what the current list shows: logged in to a file, and on a server
    // season a role that keeps the list's part of the season.
    bool HasEditAccess() const;
    // The same for a part of the season other than the current list's.
    bool HasEditAccess(CAgenda agenda) const { return m_editAccess && MayChange(agenda); }
    void SetEditAccess(bool access) { m_editAccess = access; }
    // The part of the season the current list changes.
    void SetCurrentAgenda(CAgenda agenda) { m_agenda = agenda; }
    CAgenda CurrentAgenda() const { return m_agenda; }
    bool MayChange(CAgenda agenda) const;
    // Why the login may not change that part ("Na zmenu ... nemáte právo: ..."); empty when it may.
    QString NoRightText(CAgenda agenda) const;
    int CurrentCompetition() const { return m_currentCompetition; }
    void SetCurrentCompetition(int id) { m_currentCompetition = id; }
    int CurrentClub() const { return m_currentClub; }
    void SetCurrentClub(int id) { m_currentClub = id; }
    int CurrentPlayer() const { return m_currentPlayer; }
    void SetCurrentPlayer(int id) { m_currentPlayer = id; }
    int SearchPending() const { return m_searchPending; }
    void SetSearchPending(int value) { m_searchPending = value; }
    int CurrentViewIndex() const { return m_currentViewIndex; }
    void SetCurrentViewIndex(int index) { m_currentViewIndex = index; }
    const QVector<int>& StopRounds() const { return m_stopRounds; }

    CPouzivatel& User() { return m_user; }
    // The open season database; throws CChybaDatabazy when none is open.
    CDatabaza& Database();
    CZaznamy& SharedRecordset();

    // File commands. A season on a server (an address "postgresql://...") opens as a file does.
    bool OpenSeasonFile(const QString& path);
    bool Connect();
    bool PrepareDatabase();
    // The tables and columns the program needs, and the pages sound; throws CChybaDatabazy naming
    // what is wrong.
    void CheckSeasonFile();
    // Whether opening runs the engine's check of pages and indexes (on by default; about 110 ms on a
    // whole association's season).
    void SetIntegrityCheck(bool check) { m_integrityCheck = check; }
    void UpgradeSchema();
    bool AddColumnIfMissing(const QString& table, const QString& column, const QString& type,
                            int defaultValue);
    bool SaveSeasonAs(const QString& newPath);
    void BackupSeason();
    void CompactSeason();
    void CloseSeason();

    // A snapshot of the season before a command that deletes data (`command` names it). False, after
    // telling the user why, when it cannot be written: the command is then not run.
    bool Snapshot(const QString& command);
    // Whether the first opening of a season on a day writes a snapshot (the window's sessions do).
    void SetDailySnapshots(bool daily) { m_dailySnapshots = daily; }
    // How much the season's snapshots may take together, in bytes.
    void SetSnapshotLimit(qint64 bytes) { m_snapshotLimit = bytes; }

    int FindCompetitionOfClub(int clubId);
    void ApplySearchResult(int playerId);

    // The yellow-card stop rule of the season (tsezona.stop, or the default).
    void LoadStopRounds();
    static QVector<int> ParseStopRule(const QString& rule);

    void RefreshAllViews();
    void SwitchView(int index);

    // Runs one user command; a store error ends it and is shown to the user. Returns false then.
    bool Run(const std::function<void()>& command);
    // Whether the last command that failed was refused for another user's change of the same row.
    bool LastRunMetConflict() const { return m_lastConflict; }

    // The name proposed for a backup: "%s_%d_%d_%d.mdb" of the association, day, month and year.
    QString ProposedBackupName();

private:
    bool OpenServerSeason(const QString& address);
    void Disconnect();
    // Closes `db`; a file whose check passed in this session is remembered as it is now.
    void CloseChecked(CDatabaza& db);

    CPouzivatel& m_user;
    CPohlady* m_views = nullptr;
    std::function<QDate()> m_today;

    QString m_filePath;
    QString m_connectedPath;
    std::unique_ptr<CDatabaza> m_database;
    std::unique_ptr<CZaznamy> m_sharedRecordset;
    QString m_sqlText;
    bool m_databaseOpen = false;
    bool m_editAccess = false;
    CAgenda m_agenda = CAgenda::kSekretariat;
    bool m_lastConflict = false;
    int m_currentCompetition = 0;
    int m_currentClub = 0;
    int m_currentPlayer = 0;
    int m_searchPending = 100;
    int m_currentViewIndex = 0;
    QVector<int> m_stopRounds;
    bool m_integrityCheck = true;
    bool m_dailySnapshots = false;
    qint64 m_snapshotLimit = kNajviacZalohMB * 1024 * 1024;
};

// The default stop rule, used while the season's own is empty or shorter than 2 characters.
inline const QString kPredvolenePravidloZK = QStringLiteral("4,8,12,16,20,24");

// The file filter of season files in the open and save dialogs.
inline const QString kFilterSezony = QStringLiteral("Databáza (*.mdb)");
