#include "CLigaroDoc.h"

#include "CSezonaNaServeri.h"

#include "db/kontroly.h"

#include "CChybaDatabazy.h"
#include "hlavicka.h"
#include "kody.h"
#include "schema.h"
#include "subory.h"
#include "zalohy.h"

#include <QDir>
#include <QFileInfo>

CLigaroDoc::CLigaroDoc(CPouzivatel& user)
    : m_user(user), m_today([] { return QDate::currentDate(); }), m_database(std::make_unique<CDatabaza>())
{
}

CLigaroDoc::~CLigaroDoc()
{
    CloseSeason();
}

CDatabaza& CLigaroDoc::Database()
{
    if (!m_databaseOpen || !m_database->IsOpen())
        throw CChybaDatabazy(QStringLiteral("Nie je otvorená žiadna sezóna."));
    return *m_database;
}

CZaznamy& CLigaroDoc::SharedRecordset()
{
    if (!m_sharedRecordset)
        throw CChybaDatabazy(QStringLiteral("Nie je otvorená žiadna sezóna."));
    return *m_sharedRecordset;
}

bool CLigaroDoc::Run(const std::function<void()>& command)
{
    m_lastConflict = false;
    try {
        command();
        return true;
    } catch (const CChybaKonfliktu& e) {
        m_lastConflict = true;
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Vykricnik);
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Chyba);
    } catch (const std::exception& e) {
        m_user.ShowMessage(
            QStringLiteral("Príkaz sa nepodarilo vykonať.\n\n%1").arg(QString::fromLocal8Bit(e.what())),
            CPouzivatel::Ikona::Chyba);
    }
    return false;
}

bool CLigaroDoc::HasEditAccess() const
{
    return m_editAccess && MayChange(m_agenda);
}

bool CLigaroDoc::MayChange(CAgenda agenda) const
{
    return !m_database || !m_databaseOpen || m_database->MayChange(agenda);
}

QString CLigaroDoc::NoRightText(CAgenda agenda) const
{
    if (MayChange(agenda))
        return {};
    return NoRightMessage(m_database->ServerLogin(), m_database->ServerRole(), agenda);
}

void CLigaroDoc::RefreshAllViews()
{
    if (m_views)
        m_views->RefreshAllViews();
}

void CLigaroDoc::SwitchView(int index)
{
    if (m_views)
        m_views->SwitchView(index);
}

bool CLigaroDoc::OpenSeasonFile(const QString& path)
{
    if (IsServerAddress(path))
        return OpenServerSeason(path);
    if (path.right(3).compare(QStringLiteral("mdb"), Qt::CaseInsensitive) != 0) {
        m_user.ShowMessage(QStringLiteral("Program nepodporuje daný typ súboru"),
                           CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        m_user.ShowMessage(
            QStringLiteral("Súbor %1 neexistuje alebo sa nedá čítať.").arg(QDir::toNativeSeparators(path)),
            CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    const QString previous = m_filePath;
    m_filePath = info.absoluteFilePath();
    if (!Connect()) {
        m_filePath = previous;
        return false;
    }
    m_editAccess = false;
    // What killed runs left beside the season (half-written copies and snapshots with their journals)
    // goes at the next opening; the season's own journal is no temporary and is never touched.
    RemoveStaleTemporaries(QFileInfo(m_filePath).absolutePath());
    RemoveStaleTemporaries(SnapshotFolder(m_filePath));
    LoadStopRounds();
    // The first opening of the day keeps a copy of the season as it was; a folder that cannot take it
    // is reported, the season opens all the same.
    if (m_dailySnapshots && !m_database->IsReadOnly() &&
        !HasSnapshotOfDay(m_filePath, QDateTime::currentDateTime().date())) {
        try {
            TakeSnapshot(*m_database, m_filePath, kZalohaOtvorenie, QDateTime::currentDateTime(),
                         m_snapshotLimit);
        } catch (const CChybaDatabazy& e) {
            m_user.ShowMessage(
                QStringLiteral("Dennú zálohu sezóny sa nepodarilo zapísať.\n\n%1").arg(e.UserText()),
                CPouzivatel::Ikona::Vykricnik);
        }
    }
    if (m_views) {
        m_views->SeasonFileChanged(m_filePath);
        m_views->SeasonOpened(m_filePath);
    }
    RefreshAllViews();
    return true;
}

bool CLigaroDoc::OpenServerSeason(const QString& address)
{
    // The address with its password is used once, to connect; the one kept and shown has none.
    const QString previous = m_filePath;
    m_filePath = address;
    if (!Connect()) {
        m_filePath = previous;
        return false;
    }
    m_filePath = m_database->Path();
    // The server's login decides who may write; a file's edit password does not apply.
    m_editAccess = true;
    LoadStopRounds();
    if (m_views) {
        m_views->SeasonFileChanged(m_filePath);
        m_views->SeasonOpened(m_filePath);
    }
    RefreshAllViews();
    return true;
}

void CLigaroDoc::Disconnect()
{
    m_sharedRecordset.reset();
    CloseChecked(*m_database);
    m_databaseOpen = false;
}

void CLigaroDoc::CloseChecked(CDatabaza& db)
{
    const QString path = db.IsServer() ? QString() : db.Path();
    const bool writable = db.IsOpen() && !db.IsReadOnly();
    const bool checkedClean = db.CheckedClean();
    db.Close();
    // What the program wrote while it held the file alone does not make the file unknown, but only a
    // file the engine checked in this session is vouched for: one opened on its remembered state and
    // written is checked in full at its next opening.
    if (checkedClean && writable && !path.isEmpty())
        RememberCleanCheck(path);
}

bool CLigaroDoc::Connect()
{
    CZaneprazdnenie busy(m_user);
    // The file that is open now stays open until the new one has proved to be a season file, so
    // that a failed open leaves the user where he was. The same file must be let go first: it is
    // held exclusively.
    const bool sameFile =
        m_database->IsOpen() && !m_database->IsServer() && TenIstySubor(m_database->Path(), m_filePath);
    if (sameFile)
        Disconnect();
    auto fresh = std::make_unique<CDatabaza>();
    try {
        fresh->Open(m_filePath);
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    std::swap(m_database, fresh);
    auto previousRecordset = std::move(m_sharedRecordset);
    const bool previousOpen = m_databaseOpen;
    const QString previousConnected = m_connectedPath;
    m_databaseOpen = false;
    m_connectedPath = m_database->Path();
    if (!PrepareDatabase()) {
        m_sharedRecordset.reset();
        m_database->Close();
        std::swap(m_database, fresh);
        m_sharedRecordset = std::move(previousRecordset);
        m_databaseOpen = previousOpen;
        m_connectedPath = previousConnected;
        return false;
    }
    previousRecordset.reset();
    CloseChecked(*fresh);
    return true;
}

bool CLigaroDoc::PrepareDatabase()
{
    m_sqlText = QStringLiteral("select * from tkluby");
    m_sharedRecordset = std::make_unique<CZaznamy>(*m_database);
    try {
        // Everything is checked before anything is written: a file that is refused stays as it was.
        CheckSeasonFile();
        m_database->PrepareForWriting();
        m_sharedRecordset->Open(m_sqlText);
        if (m_database->IsReadOnly())
            m_user.ShowMessage(QStringLiteral("neda sa zapisovat"), CPouzivatel::Ikona::Vykricnik);
        m_sharedRecordset->MoveLast();
        m_databaseOpen = true;
        m_sharedRecordset->Close();
        UpgradeSchema();
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Vykricnik);
        m_databaseOpen = false;
        return false;
    }
    return true;
}

void CLigaroDoc::CheckSeasonFile()
{
    const QString shown = QDir::toNativeSeparators(m_filePath);
    try {
        for (const auto& [table, columns] : RequiredColumns()) {
            // Season files of the older version have no `theslo`; they open, and the login tells the
            // user what they lack.
            if (!m_database->TableExists(table)) {
                if (table == QStringLiteral("theslo"))
                    continue;
                throw CChybaDatabazy(
                    QStringLiteral("Súbor %1 nie je sezóna programu Agenda Mirak: chýba v ňom tabuľka %2.")
                        .arg(shown, table));
            }
            const QStringList present = m_database->ColumnNames(table);
            for (const QString& column : columns)
                if (!present.contains(column, Qt::CaseInsensitive))
                    throw CChybaDatabazy(
                        QStringLiteral("Súbor %1 nie je sezóna programu Agenda Mirak: v tabuľke "
                                       "%2 chýba stĺpec %3.")
                            .arg(shown, table, column));
        }
        // The full check when the file is new here or changed since its last clean check by anything
        // but this program; the columns above are the quick check of a file that is as it was. Commands
        // that write many rows check a file opened without it first (CTransakcia::kHromadna).
        // A season from a server is a copy made of what the server committed: no file of its own to check.
        if (m_integrityCheck && !m_database->IsServer() && !UnchangedSinceCleanCheck(*m_database)) {
            const QString problems = m_database->QuickCheck();
            if (!problems.isEmpty())
                throw m_database->Damaged(problems, 11 /* SQLITE_CORRUPT */);
            RememberCleanCheck(*m_database);
        }
    } catch (const CChybaDatabazy& e) {
        // A damaged file may fail any read: the user is told it is damaged, not what the engine stumbled on.
        if (e.EngineCode() == 11 /* SQLITE_CORRUPT */ || e.EngineCode() == 26 /* SQLITE_NOTADB */)
            throw m_database->Damaged(e.EngineText(), e.EngineCode());
        throw;
    }
}

void CLigaroDoc::UpgradeSchema()
{
    if (m_database->IsReadOnly()) {
        // Nothing can be added to a file we may only read; a file that lacks columns cannot be used.
        for (const CUpgradeColumn& c : UpgradeColumns())
            if (!m_database->ColumnNames(c.table).contains(c.column, Qt::CaseInsensitive))
                throw CChybaDatabazy(
                    QStringLiteral("Sezónu staršej verzie nemožno otvoriť len na čítanie: chýba "
                                   "v nej stĺpec %1.")
                        .arg(c.column));
        return;
    }
    CTransakcia transaction(*m_database);
    for (const CUpgradeColumn& c : UpgradeColumns())
        AddColumnIfMissing(c.table, c.column, c.type, c.defaultValue);
    for (const QString& index : IndexStatements())
        m_database->Execute(index);
    for (const QString& table : OwnTableStatements())
        m_database->Execute(table);
    // On a server only the secretary may change a table's shape; the others read the season without the
    // newer columns of the program's own tables until she opens it.
    const bool mayAlter = !m_database->IsServer() || m_database->ServerRole() == CRola::kBezRol ||
                          m_database->ServerRole() == CRola::kSekretar;
    if (mayAlter)
        for (const CUpgradeColumn& c : OwnTableColumns())
            AddColumnIfMissing(c.table, c.column, c.type, c.defaultValue);
    transaction.Commit();
}

bool CLigaroDoc::AddColumnIfMissing(const QString& table, const QString& column, const QString& type,
                                    int defaultValue)
{
    // The engine compares column names without regard to case, so must we: "Polcas1" is there.
    if (m_database->ColumnNames(table).contains(column, Qt::CaseInsensitive))
        return true;
    const bool integer = type.compare(QStringLiteral("smallint"), Qt::CaseInsensitive) == 0 ||
                         type.compare(QStringLiteral("int"), Qt::CaseInsensitive) == 0;
    // Rows added later get the same value as the rows there now.
    const QString declaration = integer ? QStringLiteral("%1 NOT NULL DEFAULT %2").arg(type).arg(defaultValue)
                                        : QStringLiteral("%1 DEFAULT ''").arg(type);
    m_database->Execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3 ").arg(table, column, declaration));
    if (integer)
        m_database->Execute(QStringLiteral("UPDATE %1 SET %2=?").arg(table, column), {defaultValue});
    return false;
}

bool CLigaroDoc::SaveSeasonAs(const QString& newPath)
{
    if (!m_databaseOpen)
        return false;
    const QString target = QFileInfo(newPath).absoluteFilePath();
    // A server season saved as a file is its copy for offline work or keeping: the season on the
    // server stays open.
    if (m_database->IsServer()) {
        try {
            CZaneprazdnenie busy(m_user);
            m_database->CopyTo(target);
        } catch (const CChybaDatabazy& e) {
            m_user.ShowMessage(
                QStringLiteral("Sezónu sa nepodarilo uložiť do súboru.\n\n%1").arg(e.UserText()),
                CPouzivatel::Ikona::Vykricnik);
            return false;
        }
        m_user.ShowMessage(QStringLiteral("Sezóna zo servera je uložená do súboru %1.")
                               .arg(QDir::toNativeSeparators(target)),
                           CPouzivatel::Ikona::Informacia);
        return true;
    }
    // "Save as" onto the open file itself has nothing to copy.
    if (TenIstySubor(target, m_filePath))
        return true;
    m_sqlText.clear();
    try {
        CZaneprazdnenie busy(m_user);
        m_database->CopyTo(target);
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(
            QStringLiteral("Sezónu sa nepodarilo uložiť pod novým menom.\n\n%1").arg(e.UserText()),
            CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    const QString previous = m_filePath;
    m_filePath = target;
    if (!Connect()) {
        m_filePath = previous;
        return false;
    }
    if (m_views)
        m_views->SeasonFileChanged(m_filePath);
    RefreshAllViews();
    return true;
}

QString CLigaroDoc::ProposedBackupName()
{
    const QDate today = m_today();
    const CHlavicka season = CHlavicka::Read(Database());
    const QString name = season.exists ? season.zvaz : kPredvolenyZvaz;
    return QStringLiteral("%1_%2_%3_%4.mdb")
        .arg(FileNamePart(name), QString::number(today.day()), QString::number(today.month()),
             QString::number(today.year()));
}

void CLigaroDoc::BackupSeason()
{
    if (!m_databaseOpen)
        return;
    const QString folder = m_database->IsServer() ? QDir::homePath() : QFileInfo(m_filePath).absolutePath();
    const QString proposed = QDir(folder).filePath(ProposedBackupName());
    const QString chosen = m_user.AskSaveFileName(QStringLiteral("Vytvoriť zálohu"), proposed, kFilterSezony);
    if (chosen.isEmpty())
        return;
    const QString target = WithExtension(chosen, QStringLiteral("mdb"));
    if (TenIstySubor(target, m_filePath)) {
        m_user.ShowMessage(QStringLiteral("Záloha nemôže prepísať otvorenú sezónu. Zvoľte iný názov súboru."),
                           CPouzivatel::Ikona::Vykricnik);
        return;
    }
    try {
        CZaneprazdnenie busy(m_user);
        m_database->CopyTo(target);
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(QStringLiteral("Zálohu sa nepodarilo vytvoriť.\n\n%1").arg(e.UserText()),
                           CPouzivatel::Ikona::Vykricnik);
    }
}

void CLigaroDoc::CompactSeason()
{
    if (!m_databaseOpen)
        return;
    const QString chosen =
        m_user.AskSaveFileName(QStringLiteral("Zhutniť databázu"),
                               QFileInfo(m_filePath).absolutePath() + QLatin1Char('/'), kFilterSezony);
    if (chosen.isEmpty())
        return;
    const QString target = WithExtension(chosen, QStringLiteral("mdb"));
    if (TenIstySubor(chosen, m_filePath) || TenIstySubor(target, m_filePath)) {
        m_user.ShowMessage(
            QStringLiteral("Cieľový súbor už exituje. Pre zhutnený súbor musíte napísať nový názov "
                           "súboru. Zopakujte postup!"),
            CPouzivatel::Ikona::Vykricnik);
        return;
    }
    try {
        CZaneprazdnenie busy(m_user);
        m_database->CompactTo(target);
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(QStringLiteral("Chyba:") + e.UserText(), CPouzivatel::Ikona::Vykricnik);
    }
}

void CLigaroDoc::CloseSeason()
{
    m_sqlText.clear();
    if (m_databaseOpen || m_database->IsOpen())
        Disconnect();
}

bool CLigaroDoc::Snapshot(const QString& command)
{
    if (!m_databaseOpen)
        return true;
    // The commands a snapshot goes before change many rows: a damaged season is refused, not copied.
    try {
        m_database->CheckBeforeBulkWrite();
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Chyba);
        return false;
    }
    try {
        CZaneprazdnenie busy(m_user);
        TakeSnapshot(*m_database, m_filePath, command, QDateTime::currentDateTime(), m_snapshotLimit);
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(QStringLiteral("Pred príkazom „%1“ sa nepodarilo zapísať zálohu sezóny, preto sa "
                                          "príkaz nevykonal.\n\n%2")
                               .arg(command, e.UserText()),
                           CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    return true;
}

int CLigaroDoc::FindCompetitionOfClub(int clubId)
{
    CZaznamy& rs = SharedRecordset();
    rs.Open(QStringLiteral("select skupina from tkluby where ID>0 and ID=?"), {clubId});
    const int competition = rs.IsEOF() ? 0 : rs.GetInt(QStringLiteral("skupina"));
    rs.Close();
    return competition;
}

void CLigaroDoc::ApplySearchResult(int playerId)
{
    CZaznamy& rs = SharedRecordset();
    rs.Open(QStringLiteral("select IDklubu,ID from thraci where ID=?"), {playerId});
    if (rs.IsEOF()) {
        rs.Close();
        return;
    }
    m_currentPlayer = rs.GetInt(QStringLiteral("ID"));
    m_currentClub = rs.GetInt(QStringLiteral("IDklubu"));
    rs.Close();
    m_currentCompetition = FindCompetitionOfClub(m_currentClub);
    SwitchView(1);
    m_currentViewIndex = 1;
    m_searchPending = 1;
    RefreshAllViews();
}

void CLigaroDoc::LoadStopRounds()
{
    QString rule;
    Run([&] { rule = CHlavicka::Read(Database()).stop; });
    if (rule.size() < 2)
        rule = kPredvolenePravidloZK;
    m_stopRounds = ParseStopRule(rule);
    // A rule another tool wrote without a single count in it would suspend nobody, all season long.
    if (m_stopRounds.isEmpty())
        m_stopRounds = ParseStopRule(kPredvolenePravidloZK);
}

QVector<int> CLigaroDoc::ParseStopRule(const QString& rule)
{
    QVector<int> rounds;
    if (rule.size() < 2)
        return rounds;
    const QStringList pieces = rule.split(QLatin1Char(','));
    // The text after the last comma counts as well; a final comma adds nothing.
    for (const QString& piece : pieces) {
        // A piece that is not a number (an empty one between two commas, letters) is passed over, and
        // so is a count below 1, which no card ever reaches.
        if (const auto n = CisloNaZaciatku(piece); n && *n >= 1)
            rounds.append(*n);
    }
    return rounds;
}
