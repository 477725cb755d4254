#pragma once

#include "competition/odstupenie.h"
#include "competition/rozpis.h"
#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <optional>

class CDatabaza;

// Results entry: the scores, half-time scores and notes of a competition's matches, and the
// scorers and cards of each side.

QString ResultsTitle(CDatabaza& db, int competition, int club = kVsetkyKluby);
QVector<CStlpecZoznamu> ResultsColumns();
// Rounds separated by an empty row as in the schedule; the scores by their codes; what is wrong with a
// match or why it is off in the last column (MatchRemark).
CZoznam ResultsList(CDatabaza& db, int competition, int round);
enum CStlpecVysledkov {
    kVysledokDomaci = 4,
    kVysledokHostia = 5,
    kPolcasDomaci = 6,
    kPolcasHostia = 7,
    kVysledokPoznamka = 9,
    kVysledokStav = 10
};
// The remark of one match: a withdrawn club's match that is off or annulled, half a result, or goals
// and cards kept for a match without a result; empty when all is well.
QString MatchRemark(CDatabaza& db, int matchId);
inline const QString kNeuplnyVysledok = QStringLiteral("neúplný výsledok");
inline const QString kGolyBezVysledku = QStringLiteral("góly/karty bez výsledku");
// Refused for a match against a free slot of the draw.
inline const QString kVolnoBezVysledku = QStringLiteral("Zápas s voľnom nemá výsledok.");

// What the four score fields and the note field hold.
struct CPolickaVysledku
{
    QString home;
    QString away;
    QString homeHalf;
    QString awayHalf;
    QString note;
};
std::optional<CPolickaVysledku> ResultFields(CDatabaza& db, int matchId);

// A typed score: empty is no result (100), "k" a forfeit (200), otherwise the number at the start of
// the text; anything else, or a number outside 0..100, is no result and the field is emptied.
struct CPrecitaneSkore
{
    int value;
    bool emptied;
};
CPrecitaneSkore ReadScore(const QString& text);
// A typed half-time score: the same without "k".
CPrecitaneSkore ReadHalfTime(const QString& text);

// One score field read as it is typed: one side's goals (0 to 100, "k" for a forfeit; nothing), both
// sides' at once ("3:2", "3-2", "3 2"), a pair begun and not finished ("3:", "3-", "3 "), which waits
// for its second number, or anything else ("2w", "0h", "101", "k" in a half time), which is never
// stored. The last two are refused when the field is left so, and the field shows what is stored.
struct CPolickoSkore
{
    enum class Druh { Jedno, Dvojica, Nedokoncene, Chybne };
    Druh druh = Druh::Jedno;
    QString first;
    QString second;
    // Whether the field waits or is refused rather than stored.
    bool Refused() const { return druh == Druh::Nedokoncene || druh == Druh::Chybne; }
};
CPolickoSkore ReadScoreField(const QString& text, bool halfTime = false);
inline const QString kNedokoncenyVysledok = QStringLiteral(
    "Výsledok „%1“ nie je celý: napíšte góly oboch strán, napríklad 3:2, alebo každej strany do "
    "jej poľa.");

enum CStrana { kZiadnaStrana = 0, kDomaci = 1, kHostia = 2 };
// Stores the four scores of a match as typed. When a score (not a half-time score) changed, the
// standings rows of both clubs are recalculated: a result concerns both sides, and recalculating only
// the side typed into would leave the other club's row wrong until "Prepočítať". Returns the fields
// as they must then stand (an unreadable score emptied).
CPolickaVysledku EnterResult(CDatabaza& db, int competition, int matchId, const CPolickaVysledku& typed,
                             CStrana changedSide);
// Stores the result note (an empty one as a single blank) and returns it.
QString SaveResultNote(CDatabaza& db, int matchId, const QString& text);

// The scorers (0), yellow cards (1) or red cards (2) of one side of a match: "#" and name, the row's
// ID the player's.
enum CKategoria { kStrelci = 0, kZlteKarty = 1, kCerveneKarty = 2 };
QString CategoryTable(CKategoria category);
CZoznam Entries(CDatabaza& db, int matchId, int club, CKategoria category);
QVector<CStlpecZoznamu> EntryColumns(CKategoria category);

class CTlacVysledkov : public CTlacKol
{
public:
    CTlacVysledkov(CDatabaza& db, int competition, int round);
    QString DocumentName() const override { return QStringLiteral("Výsledky zápasov"); }
    QString FileTitle() const override { return RoundsFileTitle(QStringLiteral("vysledky")); }

protected:
    void Columns(CTabulka& t) override;
    void Header(CTabulka& t) override;
    int HeadingLines() const override { return 2; }
    void Heading(CTabulka& t, int row, const QString& title) override;
    QStringList Cells(const CZapas& z, const CZapas& first, const CMenaKlubov& names) override;
    int NoteColumn() const override { return 4; }
    Zarovnanie Alignment(int column) const override;

private:
    QHash<int, COdstupenie> m_withdrawals;
};
CMyExport ExportResults(CDatabaza& db, int competition, int round, int club = kVsetkyKluby);
inline const QString kSuborVysledkov = QStringLiteral("VysledkyZapasov.html");
