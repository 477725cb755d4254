#pragma once

#include "output/tlacenatabulka.h"

#include "competition/kluby.h"
#include "db/kody.h"
#include "output/csv.h"

#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <QDate>
#include <optional>

class CDatabaza;
class CLigaroDoc;

// The player register: the players of one club, their loans, bans and notes; transfers between clubs
// that leave a history row behind; the search across all clubs.

// The club to show: the current one when it is among them, else the first; 0 without clubs.
int ChooseClub(const QVector<CPolozkaKlubu>& clubs, int currentClub);

QString PlayerListTitle(CDatabaza& db, int competition);
QVector<CStlpecZoznamu> PlayerColumns();
// The club's current players (history rows left by transfers are not listed), then a blank row.
CZoznam PlayerList(CDatabaza& db, int club);

// What the player dialog holds; dates as typed.
struct CUdajeHraca
{
    QString meno;
    QString priezvisko;
    QString rc;
    QString od;
    QString doDatum;
    QString pozn;
};
inline constexpr int kMaxPoznamkaHraca = 255;
inline const QString kZadajteMeno = QStringLiteral("Zadajte meno hráča.");
inline const QString kZadajtePriezvisko = QStringLiteral("Zadajte priezvisko hráča.");
// The no-date value as the date fields take it.
inline const QString kBezDatumuText = QStringLiteral("1.1.1900");
// The dialog's date fields, by which a refused date is told.
inline const QString kPoleHostovanie = QStringLiteral("Hráč je v klube na hosťovaní do");
inline const QString kPoleZakaz = QStringLiteral("Hráč má trest zákazu činnosti do");
// "Nesprávne zadaný dátum v poli „…“: „31.2.2026“ nie je deň kalendára. …"
QString PlayerDateError(const QString& field, const QString& text);

// Checks the dialog's values in the dialog's order. Nothing when they can be stored; else the message
// and the field it is about (0 name, 1 surname, 3 loan date, 4 ban date).
struct CChybaUdajov
{
    QString message;
    int field;
};
// A birth number is checked only when it differs from `storedRc` (a stored one is never refused).
std::optional<CChybaUdajov> ValidatePlayer(const CUdajeHraca& data, const QString& storedRc = {});
// Why a typed birth number is none: the form RRMMDD/XXXX (XXX before 1954; the slash may be left out),
// a month of 1-12 (51-62 for women; 21-32 and 71-82 also given), a day that exists, and ten digits
// divisible by 11 (or the first nine leaving 10 and the last digit 0). Empty when it is one, or empty.
QString BirthNumberProblem(const QString& rc);
// A date field's text as a date: empty is the no-date value; nothing when it is not a date.
std::optional<QDateTime> PlayerDate(const QString& text);

// Adds the players of a spreadsheet's table to the club: the columns the player list's CSV export
// writes ("Meno", "Priezvisko", "r. č.", "Hráč hosťuje do", "Zákaz činnosti do"; "Poznámka" too), found by
// their headers. All or nothing: a row without a name or surname, a date that does not exist, or a
// player the club (or the file) already has refuses the whole file with its line.
CVysledokDovozu ImportPlayers(CDatabaza& db, int club, const QByteArray& file);
// What the window and the command line say after an import of players.
inline const QString kPridaniHraci = QStringLiteral("Pridaní hráči: %1");

// Writes the player `id`, or a new player of the club when `id` is 0. Returns the player's ID.
int SavePlayer(CDatabaza& db, int id, int club, const CUdajeHraca& data);
// Removes a player without goals or cards, after the user confirms.
bool RemovePlayer(CLigaroDoc& doc, int id);
QString PlayerNote(CDatabaza& db, int id);
void SavePlayerNote(CDatabaza& db, int id, const QString& note);

class CTlacHracov : public CTlacZoznamu
{
public:
    CTlacHracov(CDatabaza& db, int competition, int club);
    QString DocumentName() const override { return QStringLiteral("Zoznam hráčov"); }
    QString FileTitle() const override;

protected:
    CTlacenaTabulka Table() override;
    void Heading(CTabulka& t) override;
    QString FootText() override;

private:
    CDatabaza& m_db;
    int m_competition;
    int m_club;
    CZoznam m_list;
};
CMyExport ExportPlayers(CDatabaza& db, int competition, int club);
inline const QString kSuborHracov = QStringLiteral("ZoznamHracov.html");
// The columns of a club's players in a spreadsheet, as the export writes them and the import reads
// them.
inline const QStringList kStlpceHracovCsv = {QStringLiteral("#"),
                                             QStringLiteral("Meno"),
                                             QStringLiteral("Priezvisko"),
                                             QStringLiteral("r. č."),
                                             QStringLiteral("Hráč hosťuje do"),
                                             QStringLiteral("Zákaz činnosti do")};

// Transfers.
// The name of the club the player's live row is in now.
QString PresentClub(CDatabaza& db, int player);
enum class CVysledokPrestupu { Prestupil, ZiadnyKlub, UzTamHra, Nepotvrdeny };
// The live row of a register row (a history row points at it).
int LivePlayer(CDatabaza& db, int playerRow);
// Moves the player into the target club and leaves a history row in the club he left; a history
// row of the target club (he returns) is removed after the user confirms.
CVysledokPrestupu TransferPlayer(CLigaroDoc& doc, int playerRow, int targetClub);
inline const QString kVyberteKlub = QStringLiteral("Vyberte klub do ktorého hráč prestupuje");
inline const QString kUzTamHra = QStringLiteral("Hráč v tomto klube práve pôsobí.");
inline const QString kNavrat =
    QStringLiteral("V tejto sezóne hráč už v tomto klube pôsobil.\n Prestupuje naspäť?");

// The search: by the beginning of the first name and of the surname, and by the birth number.
CZoznam SearchPlayers(CDatabaza& db, const QString& meno, const QString& priezvisko, const QString& rc);
QVector<CStlpecZoznamu> SearchColumns();
inline const QString kHracNenajdeny = QStringLiteral("Databáza neobsahuje hľadaného hráča");
