#pragma once

#include <QString>

// Turns query text in the Jet dialect that the program's queries are written in into SQLite text:
// - date literals "#MM-DD-YYYY#" and "#MM-DD-YYYY HH:MM:SS#" become the stored date text, so that
//   they compare with date columns as the same instant;
// - ORDER BY terms that name a text column sort in Slovak alphabetical order.
// "Like" needs no rewriting: the store replaces the engine's like() with Jet's matching.
// Throws CChybaDatabazy for a date literal that is not a date.
QString TranslateJetSql(const QString& sql);

// The collation name under which the Slovak order is registered with the engine.
inline constexpr const char* kSlovakCollation = "SLOVAK";
