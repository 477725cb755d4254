#pragma once

#include "output/CMyExport.h"
#include "output/CZoznam.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <functional>

#include <optional>

class CDatabaza;
class CReportGenerator;

// Nominations of referees, assistants and delegates to the matches of all competitions.

// The match days for the filter: each date with matches (key "MM-dd-yyyy"), then "Všetky zápasy".
struct CPolozkaDatumu
{
    QString text;
    QString key;
    QDate date; // none for "Všetky zápasy"
};
inline const QString kVsetkyZapasy = QStringLiteral("Všetky zápasy");
QVector<CPolozkaDatumu> DateItems(CDatabaza& db);
// The day the nominations are worked on: the first match day from `today` on, or the season's last
// when all are past; -1 without a match day.
int CurrentDayIndex(const QVector<CPolozkaDatumu>& items, const QDate& today);

inline const QStringList kSkratkyFunkcii = {QStringLiteral("HR"), QStringLiteral("AR1"),
                                            QStringLiteral("AR2"), QStringLiteral("DZ")};

struct CNominacia
{
    QString time;
    int matchId = 0;
    QString competition;
    QString roundLabel;
    QString home;
    QString away;
    QString date;
    QString names[4]; // "%c. %s" of the official nominated for HR, AR1, AR2, DZ
    int officials[4] = {0, 0, 0, 0};
    QString marks[3]; // HR, AR1, AR2
    QString note;     // the delegate's note
    QString matchNote;
    bool conflictFree[4] = {true, true, true, true};
};
// The matches of a day (or of the whole season) without byes, with their nominations and clash flags.
QVector<CNominacia> Nominations(CDatabaza& db, const QString& filterKey);
// Sets the clash flags of the rows again (after a nomination changed): every nomination is checked
// against the other nominations of its official, all read at once.
void FindConflicts(CDatabaza& db, QVector<CNominacia>& rows, const QString& filterKey);

QVector<CStlpecZoznamu> NominationColumns();
enum CStlpecNominacii { kStlpecR = 7, kStlpecDZ = 10 };
// The list: a round's label on its first row, "#" counting within it.
CZoznam NominationList(const QVector<CNominacia>& rows);

// Whether the official has another nomination (another match, or another function in this one)
// starting less than an hour before or after this match (the window is open at both ends).
bool Conflict(CDatabaza& db, int official, int match, int function);
// The nomination of the official that clashes with nominating him to `match` as `function` (the
// earliest), with what the question about it names.
struct CKolizia
{
    QDateTime kickOff;
    QString home;
    QString away;
    QString competition;
    int function = 0;
};
std::optional<CKolizia> ClashOf(CDatabaza& db, int official, int match, int function);
// "Rozhodca je už v tomto čase nominovaný: 6. 9. 2025 15:30, Slovan – Inter (I. trieda), ako asistent.
// Chcete ho nominovať dvakrát?" – the person by the function he is nominated to now.
QString ClashQuestion(const CKolizia& clash, int function);
// "Rozhodca", "Asistent", "Delegát".
QString RoleName(int function);
inline const QString kMusiteBytPrihlaseny = QStringLiteral("Musíte byť prihlásený!");
inline const QString kOznacteHraca = QStringLiteral("Označte hráča zo zoznamu");

// The officials offered for a function (delegates for DZ, referees otherwise) by surname, then
// "Žiadny rozhodca" with ID -1.
CZoznam OfficialChoices(CDatabaza& db, int function);
inline constexpr int kZiadnyRozhodca = -1;
int NominatedOfficial(CDatabaza& db, int match, int function);
// Nominates the official (or removes the nomination for kZiadnyRozhodca); returns the short name.
QString SetNomination(CDatabaza& db, int match, int function, int official);
// The mark of a nomination as typed (decimal comma or point); false when there is no nomination.
bool StoreMark(CDatabaza& db, int match, int function, const QString& text);
bool StoreDelegateNote(CDatabaza& db, int match, const QString& text);

// The nominations print: the template's fields and the rows of its grid "nominacie".
// Nominations whose match is gone (left behind by a fixture list cleared in an older version): they
// count nowhere; the nominations view removes them on request.
int OrphanNominationCount(CDatabaza& db);
// Removes them after a snapshot; returns how many went (-1 when the snapshot failed and nothing did).
int RemoveOrphanNominations(class CLigaroDoc& doc);
inline const QString kOdstranitNominacieBezZapasu = QStringLiteral("Odstrániť nominácie bez zápasu");
QString OrphanNominationsRemovedMessage(int count);

// `rowsPerPage` of the template's grid (0: one long page): a day and competition that does not fit the
// rest of a page starts the next one, one that goes on over a page has its heading again there.
// `linesOfRow` says how many grid rows a row needs to print whole (a long club's name on two lines);
// the row is followed by as many joined rows less one. Without it every row takes one.
QStringList NominationGridRows(const QVector<CNominacia>& rows, int rowsPerPage = 0,
                               const std::function<int(const QString&)>& linesOfRow = {});
bool FillNominationReport(CReportGenerator& report, CDatabaza& db, const QVector<CNominacia>& rows);
inline const QString kSablonaNominacii = QStringLiteral("rpt/nominacie.rpt");
CMyExport ExportNominations(CDatabaza& db, const QVector<CNominacia>& rows);
inline const QString kSuborNominacii = QStringLiteral("NominacieRozhodcov.html");
