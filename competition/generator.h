#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class CDatabaza;
class CLigaroDoc;

// The fixture generator: the whole season's matches of a competition from the clubs' drawn numbers,
// by the Berger tables, in one to four passes, with kick-off times that follow the daylight.

// The draw number at position `side` (0 first, 1 second) of pair `pair` (from 0) of round `round`
// (from 0) of the Berger table for `slotCount` slots; 0 for a slot count below 4 or odd.
int PairSlot(int round, int pair, int side, int slotCount);

// 2n - 2 for the competition's n clubs rounded up to even.
int DoubleRoundCount(CDatabaza& db, int competition);
// The rounds the dialog offers: 34, 30, ..., 6, and first the competition's own count when it is
// larger than 34 (a competition of 19 or more clubs).
QVector<int> RoundsList(int doubleRoundCount);

enum CRezimGenerovania { kJednokolovo = 0, kDvojkolovo = 1, kTrojkolovo = 2, kStvorkolovo = 3 };
const QStringList& ModeNames();

struct CParametreGenerovania
{
    QDate start;
    QString startHour = QStringLiteral("17:00");
    QDate returnDate;
    QString returnHour = QStringLiteral("14:30");
    int rounds = 0;
    int mode = kDvojkolovo;

    // The dialog's defaults: 1 August of this year at 17:00, 13 March of the next at 14:30, the
    // competition's double-round count, "dvojkolovo".
    static CParametreGenerovania Defaults(int doubleRoundCount, const QDate& today);
};

// An hour typed as up to two digits, ":" or ",", up to two digits, within 0..23 and 0..59.
std::optional<QTime> ParseHour(const QString& text);

// A kick-off chain: the kick-off of the current round and the months in which it was last shifted
// in the first and in the second half of a month.
class CRetazVykopov
{
public:
    CRetazVykopov() = default;
    CRetazVykopov(const QDateTime& start, int shiftMinutes) : m_value(start), m_shift(shiftMinutes) {}
    const QDateTime& Value() const { return m_value; }
    void SetValue(const QDateTime& value) { m_value = value; }
    void SetMarks();
    // After an autumn round: a week on, half an hour earlier once in each half of a new month.
    void AutumnStep();
    // After a spring round: a week on, half an hour later once in each half of a new month, while
    // the kick-off is not after 16 o'clock.
    void SpringStep();

private:
    QDateTime m_value;
    int m_shift = 30;
    int m_m1 = 0;
    int m_m2 = 0;
};

// One row the generator writes.
struct CGenerovanyZapas
{
    int kolo;
    int klub1, klub2;
    int los1, los2;
    QDateTime cas;
};

// How many slots a competition of `clubCount` clubs is paired in for the rounds chosen.
int SlotCount(int clubCount, int rounds);
// The matches for a slot table (club ID at each draw number, 0 for an empty slot), the number of
// clubs and the parameters, with the hours already read. No store involved.
QVector<CGenerovanyZapas> PlanFixtures(const QVector<int>& slotTable, int clubCount,
                                       const CParametreGenerovania& p, QTime startHour, QTime returnHour);

// "Vytvoriť súťaž": checks the parameters, asks for confirmation, clears the competition and writes
// the new fixture list, all in one transaction. False (after telling the user why) when nothing was
// done.
bool GenerateFixtures(CLigaroDoc& doc, int competition, const CParametreGenerovania& p);
// Deletes the competition's matches, standings rows, goals and cards.
void ClearCompetition(CDatabaza& db, int competition);
// "Vymazať súťaže": asks, then clears. True when cleared.
bool ClearCompetitionCommand(CLigaroDoc& doc, int competition);

inline const QString kMalyPocetKlubov = QStringLiteral("Malý počet klubov v súťaži");
inline const QString kZlyDatumZaciatku =
    QStringLiteral("Nesprávne ste zadali dátum začiatku súťaže. Operácia nebude vykonaná.");
inline const QString kZlaHodinaZaciatku =
    QStringLiteral("Nesprávne ste zadali hodinu začiatku súťaže. Operácia nebude vykonaná.");
inline const QString kZlyDatumOdvety =
    QStringLiteral("Nesprávne ste zadali dátum začiatku odvetnej časti. Operácia nebude vykonaná.");
inline const QString kOdvetaPredZaciatkom =
    QStringLiteral("Odvetná časť nemôže začať skôr ako súťaž (%1 je pred %2). Operácia nebude vykonaná.");
inline const QString kZlaHodinaOdvety =
    QStringLiteral("Nesprávne ste zadali hodinu začiatku odvetnej časti. Operácia nebude vykonaná.");
inline const QString kZlyPocetKol =
    QStringLiteral("Počet hracích kôl musí byť jedna z hodnôt %1. Operácia nebude "
                   "vykonaná.");
inline const QString kPotvrdenieGenerovania = QStringLiteral(
    "Skutočne chcete vytvoriť novú štruktúru súťaže? \nOperácia vymaže všetky výsledky zápasov.");
inline const QString kPotvrdenieVymazania =
    QStringLiteral("Skutočne chcete vymazať všetky zápasy? \nOperácia vymaže všetky výsledky zápasov.");
