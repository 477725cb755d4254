#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// Coded values of the season file, defined once. Every module that reads or writes them uses these
// names; the numbers themselves are part of the file format and must not change.

// tzapasy.body1 / body2 / polcas1 / polcas2: nothing entered yet.
inline constexpr int kBezVysledku = 100;
// tzapasy.body1 / body2: that side lost by forfeit, typed and shown as "k".
inline constexpr int kKontumacia = 200;
inline const QString kKontumaciaText = QStringLiteral("k");
// The goals a forfeit counts for the side that did not forfeit (3:0).
inline constexpr int kKontumacneGoly = 3;

// Item data of "Všetky kolá" in every round selector.
inline constexpr int kVsetkyKola = 100;
// Item data of "Všetky kluby" in the card registers' club selectors.
inline constexpr int kVsetkyKluby = 100000;

// trozhodci.funkcia
inline constexpr int kFunkciaRozhodca = 1;
inline constexpr int kFunkciaDelegat = 4;

// tnominacie.funkcia
inline constexpr int kNominaciaHR = 1;
inline constexpr int kNominaciaAR1 = 2;
inline constexpr int kNominaciaAR2 = 3;
inline constexpr int kNominaciaDZ = 4;

// thraci.RC of the own-goal pseudo-player.
inline const QString kRcVlastnyGol = QStringLiteral("vg");

// The free slot of a draw, shown in place of a club.
inline const QString kVolno = QStringLiteral("voľno");

// A date and time as the season keeps them: the wall-clock time at the ground, without a time zone.
// Held in Qt's UTC form, so that nothing asks the system for its zone (which costs a file lookup every
// time) and no clock change moves a kick-off.
QDateTime CasSezony(const QDate& day, const QTime& time = QTime(0, 0));

// The no-date value of date columns: 1 January 1900, shown empty.
QDateTime ZiadnyDatum();
bool JeZiadnyDatum(const QDateTime& value);

// Stored form of dates and times: "YYYY-MM-DD HH:MM:SS".
QString DatumNaUlozenie(const QDateTime& value);
// Reads the stored form (also a bare "YYYY-MM-DD"); an unreadable text gives an invalid value.
QDateTime DatumZUlozenia(const QString& text);

// Said when a typed date does not read or there is no such day.
inline const QString kZlyDatum = QStringLiteral("Nesprávne zadaný dátum");
// A two-digit year typed by the user is a year of this century.
inline constexpr int kPrvyRokDvojcifernych = 2000;
// The user's locale's short date with four-digit years, so that what is shown reads back the same.
QString FormatDatumu();
// A date as the lists and date fields show it: date only, in the user's locale, four-digit years;
// empty for the no-date value.
QString DatumTextom(const QDateTime& value);
QString DatumTextom(const QDate& day);
// A day as the public lists write it whatever the user's locale ("7. 9. 2025"); empty for no day.
QString DenTextom(const QDate& day);
// A date typed by the user: 3.8.2024, 03.08.2024, 3. 8. 2024, 3.8.24 (two-digit years are
// 2000-2099), 2024-08-03, or the locale's own form; invalid when unreadable or no such day.
QDate DatumZTextu(const QString& text);

// A kick-off time as the lists show it: "%02d:%02d", empty for 00:00 (no time).
QString CasTextom(const QDateTime& value);
// The same, with 00:00 shown as "00:00" (the edit fields show it so).
QString CasPolicko(const QDateTime& value);

// Reads an integer at the start of a text the way "%d" does (leading blanks, an optional sign,
// digits); nothing when the text does not start with a number.
std::optional<int> CisloNaZaciatku(const QString& text);

// A score as the store holds it, read the one way every list, page, print and the standings read it:
// 0..99 goals, kBezVysledku, kKontumacia. Anything else (a text, a fraction, a number out of range,
// nothing at all), as files written by other tools may hold, is no result.
int SkoreZUlozenia(const QVariant& stored);
// A half-time score: 0..99 goals; anything else is not entered (kBezVysledku).
int PolcasZUlozenia(const QVariant& stored);
// A round: a whole number from 1; anything else is no round (nothing).
std::optional<int> KoloZUlozenia(const QVariant& stored);
// A whole number as stored (an integer, or a fraction without a remainder); nothing otherwise.
std::optional<qint64> CeleCisloZUlozenia(const QVariant& stored);
// The store function that reads a score by SkoreZUlozenia, for queries that count results.
inline constexpr const char* kSqlSkore = "mirak_skore";

// The condition (over `tzapasy`) of a match that has a result: both scores entered, or a forfeit.
QString SqlMaVysledok();
// The condition (over `tzapasy`) of a match between two clubs: a side that names no club is a free
// slot of the draw ("voľno"), and such a match is a bye.
QString SqlMedziKlubmi();
// The same rule for two scores read with SkoreZUlozenia.
inline bool MaVysledok(int home, int away)
{
    return (home != kBezVysledku && away != kBezVysledku) || home == kKontumacia || away == kKontumacia;
}

// A score as the lists, fields and pages show it: empty for no result, "k" for a forfeit.
QString SkoreTextom(int score);
// A half-time score: empty when not entered.
QString PolcasTextom(int score);

// A mark as lists and pages show it: "%.1f", "%.0f" when whole, nothing below 1.
QString ZnamkaTextom(double mark);
// A mark in whole tenths, as it was typed (8.3 kept as a single is 8.30000019): 83.
int ZnamkaVDesatinach(float mark);
// The condition (over `tnominacie`) of a nomination whose match is still in the season.
QString SqlNominaciaMaZapas();
// A mark typed with a decimal comma or point: the number at the start of the text (0 when none).
float ZnamkaZTextu(const QString& text);
