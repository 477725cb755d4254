#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>

class CDatabaza;

// The published site's files written into their folder (the pages themselves: sajt.h).

struct CSuborWebu
{
    QString name; // within the site's folder
    QByteArray bytes;
};

// `progress(done, total)` is asked as the site is made; false stops the work (nothing is returned then).
using CPriebehWebu = std::function<bool(int done, int total)>;

// Writes the site into `folder`, made when missing. All its files are written on the folder's disk
// first and then renamed into place, so that a full disk or a failure leaves the published site as it
// was. The folder keeps its mode and owner, a replaced page the mode and owner of the one before, and
// whatever else the folder holds (the site's own pictures, a mounted disk) is left untouched. Refused:
// a folder that is not empty and holds no site of this program, a file of a name the site needs that
// the program did not write, a folder holding a season or another database, the season's own folder.
// Returns what went wrong, empty on success.
QString PublishSite(const QVector<CSuborWebu>& files, const QString& folder, const QString& seasonPath);

// The list of the files a publishing wrote, kept in the site's folder.
inline const QString kZoznamWebu = QStringLiteral(".agenda-mirak-web");
