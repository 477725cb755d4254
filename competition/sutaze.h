#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class CDatabaza;
class CLigaroDoc;

// The competitions of the season and the lists under them, as the competitions tree shows them.

// The lists the right pane can show, by view index: 0..7 and 12 under each competition, 8..11 under
// the referees' and delegates' committee.
const QStringList& ViewTitles();
inline constexpr int kPocetPohladov = 13;
inline constexpr int kPrvyPohladKomisie = 8;
inline constexpr int kPohladNesmuHrat = 12;
// The lists under a competition, in the tree's order.
const QVector<int>& CompetitionViews();
// The lists under the committee.
const QVector<int>& CommitteeViews();
inline const QString kKorenSutazi = QStringLiteral("Zoznam súťaží");
inline const QString kKorenKomisie = QStringLiteral("Komisie R a DZ");
inline const QString kNovaSutaz = QStringLiteral("Nová súťaž");

struct CSutaz
{
    int id = 0;
    QString nazov;
};

// The competitions in the order the store gives them.
QVector<CSutaz> ReadCompetitions(CDatabaza& db);
// Every competition's name by its ID, for lists that name the competition of each row.
QHash<int, QString> CompetitionNames(CDatabaza& db);
bool CompetitionExists(CDatabaza& db, int id);
// The competition's name, or an empty text when there is none with that ID.
QString CompetitionName(CDatabaza& db, int id);
// "Ligy - " and the association, when its name is longer than one character; else empty (the tree
// keeps its title).
QString TreeTitle(CDatabaza& db);

// Adds a competition named "Nová súťaž"; returns its ID.
int AddCompetition(CDatabaza& db);
// Renames a competition; an empty name changes nothing. False when nothing was written.
bool RenameCompetition(CDatabaza& db, int id, const QString& name);
// Removes a competition that has no club, after the user confirms. False when nothing was removed.
bool RemoveCompetition(CLigaroDoc& doc, int id);
inline const QString kSutazNieJePrazdna = QStringLiteral("Zložka súťaže nieje prázdna. Nedá sa vymazať.");
inline const QString kSkutocneVymazat = QStringLiteral("Skutočne chcete vymazať záznam?");

// A list picked in the tree: the competition it stands under (0 for the committee's lists) becomes
// current, no club is current, and the right pane shows the list.
void PickList(CLigaroDoc& doc, int competition, int viewIndex);
