#pragma once

#include "output/CZoznam.h"
#include "results/vysledky.h"

#include <QString>
#include <QVector>

class CDatabaza;

// The scorers and cards of one side of a match, as the dialog "Výber strelcov" keeps them.

struct CStranaZapasu
{
    int matchId = 0;
    int club = 0;            // 0 for a bye or no match
    int round = 0;           // the match's own round
    int score = 0;           // the side's score as stored (100 no result, 200 forfeit)
    bool fullResult = false; // both scores, or a forfeit: goals and cards count
    QString match;           // " %s - %s"
    QString clubName;        // " %s"
};
CStranaZapasu ReadSide(CDatabaza& db, int matchId, CStrana side);

// The players to choose from: the club's current players by surname and first name, and last the
// own-goal entry "Vlastný gól" when the club has players and the season has the own-goal player.
CZoznam ChoosablePlayers(CDatabaza& db, int club);
inline const QString kVlastnyGol = QStringLiteral("Vlastný gól");
bool IsOwnGoalPlayer(CDatabaza& db, int player);

// A scorer may be added while the list has fewer rows than the side's score.
bool ScorerFits(const CStranaZapasu& side, int scorersListed);
inline const QString kPlnyZoznamStrelcov =
    QStringLiteral("Počet strelcov v zozname sa rovná počtu gólov. Už nemôžete pridať meno strelca.");
// Whether to ask about missing scorers before saving: only for a real score with fewer scorers.
bool MissingScorers(const CStranaZapasu& side, int scorersListed);
inline const QString kChybaStrelec =
    QStringLiteral("Nedostatočný počet strelcov v zozname. Chcete doplniť chýbajúceho strelca?");

// More scorers listed than the side's goals (the score was lowered after the scorers were saved).
bool TooManyScorers(const CStranaZapasu& side, int scorersListed);
QString TooManyScorersMessage(const CStranaZapasu& side, int scorersListed);
QString KeepTooManyScorersQuestion(const CStranaZapasu& side, int scorersListed);

// Said in the dialog when the match has no result but goals or cards are kept for it. A card was given
// in a match that took place, whatever becomes of its result: cards count, goals wait for the result.
inline const QString kBezVysledkuSaNepocitaju =
    QStringLiteral("Zápas nemá výsledok: góly sa nepočítajú medzi strelcov, kým ho nezapíšete; karty sa "
                   "počítajú.");

// Replaces the side's goals and cards in that match with the lists (player IDs, one per goal or card).
void SaveSide(CDatabaza& db, int competition, const CStranaZapasu& side, const QVector<int>& scorers,
              const QVector<int>& yellow, const QVector<int>& red);
