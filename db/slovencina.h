#pragma once

#include <QCollator>
#include <QString>
#include <QStringView>

// Slovak alphabetical order as ICU's Slovak collation gives it (ä, č, ch after h, ô, š, ž letters of
// their own; acute accents and the soft consonants a second-level difference; case the last); texts
// it cannot tell apart are ordered by code points, so the order is total.
QCollator SlovakCollator();
int PorovnajSlovensky(QStringView a, QStringView b);
// The text folded for a search that ignores case and accents ("Šťastný" -> "stastny").
QString BezDiakritiky(QStringView text);
// Whether `query` begins a word of `name` (or runs on from there), without regard to case or accents:
// "sok" finds "Ján Sokol" and "Sokol Ján", "jan so" finds "Ján Sokol".
bool MatchesWordStart(QStringView name, QStringView query);
// The same as a function of the store's queries.
inline constexpr const char* kSqlBezDiakritiky = "mirak_bez_diakritiky";

// Jet's Like: "*" any run of characters, "?" one character, "#" one digit, "[abc]", "[!abc]" and
// "[a-z]" character classes; every other character stands for itself; letters match without
// regard to case.
bool JetLike(QStringView pattern, QStringView value);
