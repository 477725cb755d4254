#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class CDatabaza;

// The published site's files written into their folder (the pages themselves: sajt.h).

struct CSuborWebu
{
    CSuborWebu() = default;
    CSuborWebu(const QString& n, const QByteArray& b) : name(n), bytes(b) {}

    QString name; // within the site's folder
    QByteArray bytes;
    // What the file shows, without the time it was published (SHA-256, hex): a page whose content is
    // the last publishing's keeps that publishing's "Aktualizované" and its bytes.
    QByteArray contentHash;
    // The "Aktualizované ..." text the page carries (empty for a file without one) and the time in it.
    QString stampText;
    QDateTime made;
};

// "Aktualizované 9. 12. 2026 14:05": when a page's content last changed.
QString UpdatedText(const QDateTime& when);
// The placeholder of that text while a page is made.
inline const QString kZnackaAktualizacie = QStringLiteral("@@MIRAK-AKTUALIZOVANE@@");
// Puts the time into a page made with the placeholder and notes the file's content hash.
void StampFile(CSuborWebu& file, const QDateTime& stamp);

// `progress(done, total)` is asked as the site is made; false stops the work (nothing is returned then).
using CPriebehWebu = std::function<bool(int done, int total)>;

// Writes the site into `folder`, made when missing. Only files whose bytes change are written: a page
// whose content is the one published last keeps its bytes, its "Aktualizované" and its modification
// time. A file of the last publishing whose bytes are no longer what the program wrote there is
// somebody's: it is neither replaced nor deleted, and `leftAlone` names it. All its files are written on the
// folder's disk first and then renamed into place, so that a full disk or a failure leaves the published site
// as it was. The folder keeps its mode and owner, a replaced page the mode and owner of the one before, and
// whatever else the folder holds (the site's own pictures, a mounted disk) is left untouched. Refused:
// a folder that is not empty and holds no site of this program, a file of a name the site needs that
// the program did not write, a folder holding a season or another database, the season's own folder.
// Returns what went wrong, empty on success.
QString PublishSite(QVector<CSuborWebu> files, const QString& folder, const QString& seasonPath,
                    QStringList* leftAlone = nullptr, int* written = nullptr);

// The list of the files a publishing wrote, kept in the site's folder: a line per file, its name, the
// SHA-256 of the bytes written, of its content without the time, when that content last changed and the
// size written (a host tells sizes where it would not hand out every file to be hashed). Lists of older
// versions, without sizes or of names alone, are read too.
inline const QString kZoznamWebu = QStringLiteral(".agenda-mirak-web");

// A line of that list.
struct CZaznamZoznamu
{
    QByteArray written; // empty: a list of an older version, which kept names alone
    QByteArray content;
    QDateTime changed;
    qint64 size = -1; // of the bytes written; -1 in a list of an older version
};
QHash<QString, CZaznamZoznamu> ReadSiteList(const QByteArray& bytes);
QByteArray SiteListLine(const QString& name, const CZaznamZoznamu& entry);

// What a publishing writes, given the last one's list, decided file by file as the site is made: Take
// says whether a file is written (a page whose content did not change takes the last publishing's time
// back, and so its bytes); Finish makes the new list and names the last publishing's files this one no
// longer has. `foreign` are files somebody changed (left alone, kept in the list); `present` says whether
// a file is where it is published.
class CPlanovanieWebu
{
public:
    CPlanovanieWebu(const QHash<QString, CZaznamZoznamu>& ours, const QSet<QString>& foreign,
                    const std::function<bool(const QString&)>& present);
    bool Take(CSuborWebu& file);
    void Finish();

    QHash<QString, CZaznamZoznamu> list;
    QByteArray listBytes;
    QStringList gone;

private:
    QHash<QString, CZaznamZoznamu> m_ours;
    QSet<QString> m_foreign;
    std::function<bool(const QString&)> m_present;
    QStringList m_names;
};

// The same file by file, as the site is made: Begin checks the folder and reads what the last
// publishing left there, Add stages a file whose bytes change beside its place, Finish renames them all
// into place and deletes the pages the site no longer has. Each returns what went wrong, empty on success;
// a writer given up before Finish leaves the folder as it was.
class CZapisWebu
{
public:
    CZapisWebu() = default;
    CZapisWebu(const CZapisWebu&) = delete;
    CZapisWebu& operator=(const CZapisWebu&) = delete;
    ~CZapisWebu();
    QString Begin(const QString& folder, const QString& seasonPath);
    QString Add(CSuborWebu& file);
    QString Finish(QStringList* leftAlone = nullptr, int* written = nullptr);

private:
    QString Stage(const QString& name, const QByteArray& bytes);

    QString m_target;
    QString m_staging;
    QByteArray m_oldList;
    QHash<QString, CZaznamZoznamu> m_ours;
    QSet<QString> m_foreign;
    std::unique_ptr<CPlanovanieWebu> m_plan;
    QStringList m_changed;
    bool m_created = false;
    bool m_finished = false;
};
