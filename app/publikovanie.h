#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>

class CDatabaza;

// The season as a static web site: a first page with every competition, per competition the pages of
// its lists (the same pages as their exports, with a line of links added) and the stop list of the
// round to be played next, per club its matches and their calendar, and the committee's pages.
// File names come from the records' IDs, so that links into the site stay valid from week to week.

struct CSuborWebu
{
    QString name; // within the site's folder
    QByteArray bytes;
};

// `progress(done, total)` is asked after every page; false stops the work (nothing is returned then).
using CPriebehWebu = std::function<bool(int done, int total)>;
QVector<CSuborWebu> SiteFiles(CDatabaza& db, const QVector<int>& thresholds, const QDateTime& stamp,
                              const CPriebehWebu& progress = {});

// The line of links a published page carries, inserted after the page frame's opening "<div>"; the
// rest of the page is its export byte for byte.
QByteArray WithNavigation(const QByteArray& page, const QString& navigationHtml);

// Writes the site into `folder` whole or not at all: a new folder beside it, then swapped in. Files
// and folders in it that an earlier publishing did not write (the site's own pictures, say) are kept;
// a file of such a name that the site needs, a folder holding a season or another database, or the
// season's own folder are refused. Returns what went wrong, empty on success.
QString PublishSite(const QVector<CSuborWebu>& files, const QString& folder, const QString& seasonPath);

// The list of the files a publishing wrote, kept in the site's folder.
inline const QString kZoznamWebu = QStringLiteral(".agenda-mirak-web");
