#pragma once

#include "CChybaDatabazy.h"

#include <QString>

// Whether two paths name the same file on disk, whatever their spelling (letter case on systems
// that ignore it, "..", links). A path that does not exist names no open file.
bool TenIstySubor(const QString& a, const QString& b);

// The extension rule of the save dialogs: the chosen name's extension, in lower case, must be
// `extension` (without the dot); otherwise "." + extension is appended to the whole name.
QString WithExtension(const QString& chosen, const QString& extension);

// A text made fit to be part of a file name: characters that file systems refuse become "_".
QString FileNamePart(const QString& text);

// Whether the file begins as a database of the engine (its header); an empty or short file does not.
bool IsDatabaseFile(const QString& path);
// Whether the file begins as a database of the Jet format ("Standard Jet DB"), as seasons kept by
// Access 97 and 2000 are.
bool IsJetFile(const QString& path);
inline const QString kJeVoFormateJet = QStringLiteral(
    "Súbor %1 je sezóna vo formáte Jet (Access 97 alebo 2000). Program ju najprv prevedie do nového "
    "súboru: Súbor → Previesť staršiu sezónu..., alebo agenda-mirak --convert.");
// Whether another program (or another window of this one) holds the database file open.
bool HeldByAnotherProgram(const QString& path);

// What an output named `target` writes: the file itself, or the file a link there points to (the link
// stays a link). Anything else - a folder, a device, a FIFO, a socket, a link to nothing or to one of
// those - is refused, with the reason.
struct CCielVystupu
{
    QString path;
    QString refusal;
};
CCielVystupu OutputTarget(const QString& target);
// Why a page, a printout or another output must not be written to `target`: it is no file (as
// OutputTarget says), a season file or another database (a season is never replaced by a page).
// Empty when it may be written.
QString OutputRefusal(const QString& target);
// Why a copy of a season (backup, save as, compaction, a new season) must not replace `target`: it is
// held open by another program or window, which would go on working on a file that is gone. Empty
// when it may.
QString SeasonTargetRefusal(const QString& target);

// Writes the bytes to `path` (or the file a link there points to) whole or not at all (a temporary
// beside it, renamed at the end), after OutputRefusal has let it. Throws CChybaDatabazy with the reason.
void WriteWholeFile(const QString& path, const QByteArray& bytes);
// The same without asking what `path` is: for callers that have refused what they must themselves.
// Messages name `shown` (the file the user asked for) when given.
void ReplaceFileWith(const QString& path, const QByteArray& bytes, const QString& shown = {});

// A new, empty temporary file beside `target`, ".<name>.<process>.<random>.tmp", created exclusively
// (a name that exists, a link planted there included, is never opened). Temporaries that a killed
// run of the program left in that folder are removed first, with their engine journals.
// Made in the folder as it really is (links resolved); a failure names `shown` when given.
QString TemporaryBeside(const QString& target, const QString& shown = {});
// A new temporary folder beside `target` on the same terms.
QString TemporaryFolderBeside(const QString& target);

// Writes `bytes` to `path`, never through a link: a new file created exclusively (`create`) or one
// of our temporaries emptied first; with `toDisk` every byte reaches the disk before it returns. A
// failure throws CChybaDatabazy naming `shown`, the file the user asked for.
void WriteFileBytes(const QString& path, const QByteArray& bytes, const QString& shown, bool create,
                    bool toDisk);
// The sentence for a write that failed for lack of space (or over the user's quota).
QString DiskFullMessage(const QString& path);
// Whether a system error number means the disk (or the user's share of it) is full.
bool IsDiskFull(int error);
// A system error (errno) said in Slovak, as a part of a sentence.
QString SystemErrorText(int error);
// The failure to write `path`, said as the user should read it.
CChybaDatabazy WriteError(const QString& path, int error);
// Puts the finished temporary file in place of `target` in one step (a rename on the same disk);
// the temporary is removed when that fails. Throws CChybaDatabazy naming `shown` (else `target`).
void ReplaceWith(const QString& temporary, const QString& target, const QString& shown = {});
// Puts the finished temporary file at `target` only if nothing stands there (a file that appeared
// meanwhile is left alone and the temporary removed). Throws CChybaDatabazy naming `shown` (else `target`).
void ClaimWith(const QString& temporary, const QString& target, const QString& shown = {});
// Whether `path` is inside one of the program's temporary folders (TemporaryFolderBeside).
bool InTemporaryFolder(const QString& path);
// Removes the program's temporaries in `folder` whose process is gone, and the engine's journals of
// those temporaries.
void RemoveStaleTemporaries(const QString& folder);
// Writes what the system still holds of the file to the disk (before it is renamed into place).
void SyncFile(const QString& path);

// Writes everything the system holds of the files on the disk of `folder` to the disk.
void SyncDisk(const QString& folder);
