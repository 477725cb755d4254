#pragma once

#include "output/tlacenatabulka.h"

#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <optional>

class CDatabaza;

// The standings table of a competition: rows of `tbody` in the order of points, goal difference,
// goals scored, wins, plus/minus points and matches played; the commission's sanctions.

// "Výsledná tabuľka - %s", with " po %d. kole" for the highest round that has a result.
QString StandingsTitle(CDatabaza& db, int competition);
// The ORDER BY of the standings, over `tbody` joined to `tkluby`: points, goal difference, goals
// scored, wins, plus/minus points, matches played, then drawn number.
QString StandingsOrder();
// The last round with a result (both scores entered, or a forfeit); nothing when there is none.
std::optional<int> LastPlayedRound(CDatabaza& db, int competition);
// `title` with " po N. kole" for the last played round, when there is one.
QString AfterLastPlayedRound(CDatabaza& db, int competition, const QString& title);
QVector<CStlpecZoznamu> StandingsColumns();
// One row per club of the competition (with zeros until its first result), in standings order; the
// ID of a row is the club's.
// A withdrawn club stands last with "(odstúpil)"; with the mutual-matches rule, clubs level on points
// in a finished competition stand as the matches among them decide.
CZoznam StandingsList(CDatabaza& db, int competition);
// What decided each tie, said under the table ("O poradí FK A a FK B rozhodli vzájomné zápasy.");
// nothing under the overall chain.
QStringList StandingsNotes(CDatabaza& db, int competition);

struct CTrest
{
    QString text;
    int points = 0;
};
// The club's sanction in the competition (empty until one is given).
CTrest ClubSanction(CDatabaza& db, int competition, int club);
void SaveSanctionText(CDatabaza& db, int competition, int club, const QString& text);
// Stores the penalty points read from the field (the integer at its start, 0 for an empty field) and
// recalculates the club; a number that does not fit is refused (kZleTrestneBody).
void SaveSanctionPoints(CDatabaza& db, int competition, int club, const QString& text);
inline const QString kZleTrestneBody = QStringLiteral("Trestné body musia byť celé číslo do 999999.");
inline constexpr int kMaxCifierTrestnychBodov = 6;

// The table on the first page; under it what decided the ties and each sanction whole (wrapped, its
// line breaks kept), going on to the next page only when the first cannot hold them.
class CTlacTabulky : public CTlacovina
{
public:
    CTlacTabulky(CDatabaza& db, int competition) : m_db(db), m_competition(competition) {}
    int PageCount() override;
    void DrawPage(CPlocha& surface, int page) override;
    QString DocumentName() const override { return QStringLiteral("Tabuľka"); }
    QString FileTitle() const override;

private:
    // The table (laid out by Layout); the bottom of the table.
    int DrawTable(class CTabulka& t);
    struct CRiadokPoznamky
    {
        QString text;
        int gap;
        int weight;
        bool keepWithNext;
    };
    void Layout(CPlocha& surface);
    CDatabaza& m_db;
    int m_competition;
    QVector<QVector<CRiadokPoznamky>> m_notePages; // the lines under the table, page by page
    CTlacenaTabulka m_table;
    bool m_laidOut = false;
};
// The page; nothing when the competition has no standings row (the export then ends silently).
std::optional<CMyExport> ExportStandings(CDatabaza& db, int competition);
inline const QString kSuborTabulky = QStringLiteral("tabulka.html");
