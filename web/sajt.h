#pragma once

#include "web/publikovanie.h"

#include <QDateTime>
#include <QVector>

class CDatabaza;

// The season as its readers use it on the web, on phones first: a first page with each competition's
// latest results and next fixtures, per competition its lists (the standings with the sanctions under
// them, fixtures and results with an anchor per round, scorers, clubs, cards and who may not play in
// the next round), per club its next match, its place and its matches, the nominations by month and
// per official, and calendars of competitions, clubs and officials. Pages are UTF-8 with one style
// sheet; file names come from the records' IDs, so that links into the site stay valid from week to
// week. Calendars' revisions are kept in the season.
QVector<CSuborWebu> SiteFiles(CDatabaza& db, const QVector<int>& thresholds, const QDateTime& stamp,
                              const CPriebehWebu& progress = {});
// The same handed to `take` file by file as each is made (with its time put in), so that the whole site is
// never in memory; `take` returns what went wrong, which stops the work. Returns that, empty when every file
// was taken; `stopped` tells whether `progress` stopped it. The calendars' revisions are written in the
// season at the end.
using CPrijemcaWebu = std::function<QString(CSuborWebu& file)>;
QString MakeSite(CDatabaza& db, const QVector<int>& thresholds, const QDateTime& stamp,
                 const CPrijemcaWebu& take, const CPriebehWebu& progress = {}, bool* stopped = nullptr);

// The season's site made (SiteFiles) and written into `folder` (PublishSite) as one command: the
// calendars' revisions stay in the season only when the site was written, so that a publishing that is
// refused or fails leaves the season as it was. Returns what went wrong, empty on success; `stopped`
// tells whether `progress` stopped it.
// `leftAlone` names the files of the last publishing somebody changed since (left as they are), `written`
// counts the files written.
// `progress(step, done, total)` says what is being done ("Zapisuje sa web...", then for a host "Nahráva sa
// web: 12 z 280 súborov") and how far it is; false stops the work.
using CPriebehZverejnenia = std::function<bool(const QString& step, int done, int total)>;
QString PublishSeason(CDatabaza& db, const QVector<int>& thresholds, const QString& folder,
                      const QString& seasonPath, const QDateTime& stamp,
                      const CPriebehZverejnenia& progress = {}, bool* stopped = nullptr,
                      QStringList* leftAlone = nullptr, int* written = nullptr);

// The largest page the site writes: a page that would be larger is split (the nominations by part of
// a month).
inline constexpr qsizetype kNajvacsiaStranaWebu = 900 * 1024;

// What the user is told of the files somebody changed in the published folder, which stayed as they were.
QString LeftAloneText(const QStringList& leftAlone);
