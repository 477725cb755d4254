#pragma once

#include <QString>

// Whether two paths name the same file on disk, whatever their spelling (letter case on systems
// that ignore it, "..", links). A path that does not exist names no open file.
bool TenIstySubor(const QString& a, const QString& b);

// The extension rule of the save dialogs: the chosen name's extension, in lower case, must be
// `extension` (without the dot); otherwise "." + extension is appended to the whole name.
QString WithExtension(const QString& chosen, const QString& extension);

// A text made fit to be part of a file name: characters that file systems refuse become "_".
QString FileNamePart(const QString& text);
