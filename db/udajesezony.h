#pragma once

#include <QString>

class CDatabaza;

// The season settings and the editing password, as the season and login dialogs use them.

// Whether the season file is of the current version (it has the table of the editing password).
bool IsCurrentSeasonVersion(CDatabaza& db);
inline const QString kStarsiaVerzia =
    QStringLiteral("Databáza nepodporuje túto funkciu\n\n Používate databázu staršej verzie.\n");

// The stored password (empty when `theslo` has no row).
QString StoredPassword(CDatabaza& db);
// Writes the new password into the `theslo` row; a table without a row keeps the empty password.
void StorePassword(CDatabaza& db, const QString& password);

inline const QString kNespravneHeslo = QStringLiteral("Zadali ste nesprávne heslo");
inline const QString kNespravneStareHeslo = QStringLiteral("Nesprávne staré heslo");
inline const QString kHeslaSaLisia = QStringLiteral("Nové heslo a potvdenie hesla musia byť rovnaké");

// What the season dialog shows: the season record, or the defaults when there is none.
struct CUdajeSezony
{
    QString nazov;
    QString kraj;
    QString zvaz;
};
CUdajeSezony ReadSeasonInfo(CDatabaza& db);
// Writes the three texts into the season record, adding it when the file has none.
void SaveSeasonInfo(CDatabaza& db, const CUdajeSezony& info);

// The yellow-card stop rule as the rule dialog shows it (the stored text, or the default).
QString ReadStopRule(CDatabaza& db);
// Stores the rule text as typed, adding the season record when there is none.
void SaveStopRule(CDatabaza& db, const QString& rule);
// Why a typed rule cannot be stored (a piece that is not a whole number from 1); empty when it can.
// An empty rule stands for the default.
QString StopRuleProblem(const QString& rule);
inline const QString kZlePravidloZK =
    QStringLiteral("Pravidlo píšte v tvare: 4,8,12,16 (počty kariet, celé čísla od 1, oddelené čiarkou).");
