#pragma once

#include "output/tlacenatabulka.h"

#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"
#include "output/csv.h"

#include <QString>

class CDatabaza;
class CLigaroDoc;

// The clubs of a competition, in the order of their drawn numbers.

// A club as the selectors and the site list it.
struct CPolozkaKlubu
{
    int id;
    QString nazov;
};
// The clubs of a competition by drawn number, then ID: the club selectors, the transfer's choice, the
// card registers and the site all list them so.
QVector<CPolozkaKlubu> CompetitionClubs(CDatabaza& db, int competition);

// The list as the clubs view shows it: "#", name, contacts, drawn number (empty for 0), note; then
// one blank row (ID 0) where a new club is added.
CZoznam ClubList(CDatabaza& db, int competition);
QVector<CStlpecZoznamu> ClubListColumns();
QString ClubListTitle(CDatabaza& db, int competition);

struct CUdajeKlubu
{
    QString nazov;
    QString kontakt1;
    QString kontakt2;
    QString vylosovanie; // as typed; empty keeps the stored number
    QString pozn;
};
// Whether a drawn number typed by the user can be stored (empty, or a whole number from 0).
bool IsValidDrawNumber(const QString& text);
inline const QString kZleVylosovaneCislo =
    QStringLiteral("Vylosované číslo musí byť celé číslo od 0 vyššie.");
inline constexpr int kMaxPoznamkaKlubu = 250;

// Writes the club `id`, or a new club of the competition when `id` is 0. Returns the club's ID.
int SaveClub(CDatabaza& db, int id, int competition, const CUdajeKlubu& data);
// Adds the clubs of a spreadsheet's table to the competition: the columns the club list's CSV export
// writes ("Los", "Názov klubu", "Kontakt 1", "Kontakt 2"; "Poznámka" too), found by their headers. All or
// nothing: a row without a name, a drawn number that is not a whole number from 0, or a club the
// competition (or the file) already has refuses the whole file with its line.
CVysledokDovozu ImportClubs(CDatabaza& db, int competition, const QByteArray& file);
// What the window and the command line say after an import of clubs.
inline const QString kPridaneKluby = QStringLiteral("Pridané kluby: %1");

// Removes a club that plays no match, after the user confirms. True when removed.
bool RemoveClub(CLigaroDoc& doc, int id);
inline const QString kKlubJeAktivny = QStringLiteral("Klub je aktívny. Nedá sa vymazať.\n(Klub hrá v tejto "
                                                     "sezóne)\nPred touto operáciou vymažte všetky zápasy "
                                                     "predošlej sezóny.");

QString ClubNote(CDatabaza& db, int id);
void SaveClubNote(CDatabaza& db, int id, const QString& note);
// The club's name, or "voľno" for 0 and for an ID with no club.
QString ClubName(CDatabaza& db, int id);
// The longest club name of a competition (in characters).
QString LongestClubName(CDatabaza& db, int competition);

// The printed club list (one page) and the page of the export.
class CTlacKlubov : public CTlacZoznamu
{
public:
    CTlacKlubov(CDatabaza& db, int competition) : m_db(db), m_competition(competition) {}
    QString DocumentName() const override { return QStringLiteral("Zoznam klubov"); }
    QString FileTitle() const override;

protected:
    CTlacenaTabulka Table() override;
    void Heading(CTabulka& t) override;
    QString FootText() override;
    int LeftMargin() const override { return 500; }

private:
    CDatabaza& m_db;
    int m_competition;
};
CMyExport ExportClubs(CDatabaza& db, int competition);
inline const QString kSuborKlubov = QStringLiteral("ZoznamKlubov.html");
