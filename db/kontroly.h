#pragma once

#include <QString>

class CDatabaza;

// The engine's full check of a season file costs most of the time of opening a whole association's
// season, and a file nobody else touched since its last clean check needs none. What the file was
// then - its identity on the disk, size, modification time and the store's own change counter - is
// remembered per user outside the file; a file that differs in any of them (copied in, restored,
// written by another program or another computer) is checked in full again.

// Whether the open season file is as it was when last remembered clean.
bool UnchangedSinceCleanCheck(CDatabaza& db);
// Remembers the file as it is now: the open one after a clean check, a closed one after the
// program's own writes to the file it held. An open file's header is read through the engine's own
// handle: closing a second handle on it would drop the locks that keep other programs out.
void RememberCleanCheck(CDatabaza& db);
void RememberCleanCheck(const QString& path);
// Forgets it: the next opening checks the file in full.
void ForgetCleanCheck(const QString& path);
