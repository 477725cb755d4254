#pragma once

#include "CZapas.h"
#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"
#include "output/strankovanie.h"

#include <QDate>
#include <QHash>

#include <functional>

#include <optional>

class CDatabaza;
class CTabulka;

// The match schedule of a competition: the list, single corrections, kick-off times, notes, the
// printout and the page.

// Names of all clubs by ID (a club that is not there is "voľno").
class CMenaKlubov
{
public:
    explicit CMenaKlubov(CDatabaza& db);
    QString Name(int id) const;
    // Whether the ID names a club (else it is a free slot of the draw).
    bool IsClub(int id) const { return m_names.contains(id); }

private:
    QHash<int, QString> m_names;
};

// The items of the round selector: "%d. kolo" for every round with matches, then "Všetky kolá"
// (kVsetkyKola); nothing when the competition has no match. A window opens them on CurrentRound.
struct CPolozkaKola
{
    QString text;
    int round;
    // Every match of the round between two clubs has its full result (the selector marks it).
    bool played = false;
};
QVector<CPolozkaKola> RoundItems(CDatabaza& db, int competition);
QString RoundText(int round);

QString ScheduleTitle(CDatabaza& db, int competition);
// A list of matches by round: an empty row between rounds, "%d. kolo" on a round's first row and "#"
// from 1 in each round in the first two columns, the rest of a row from `cells`.
CZoznam MatchesByRound(CDatabaza& db, int competition, int round, const QVector<CStlpecZoznamu>& columns,
                       const std::function<QStringList(const CZapas&, const CMenaKlubov&)>& cells);
// The list: rounds separated by an empty row, "%d. kolo" on a round's first row, "#" from 1 in each.
CZoznam ScheduleList(CDatabaza& db, int competition, int round);
QVector<CStlpecZoznamu> ScheduleColumns();
// The columns of the list that hold the date, the time and the note, and the draw numbers.
enum CStlpecRozpisu {
    kStlpecKolo = 0,
    kStlpecDomaci = 2,
    kStlpecHostia = 3,
    kStlpecLosD = 4,
    kStlpecLosH = 5,
    kStlpecDatum = 6,
    kStlpecCas = 7,
    kStlpecPoznamka = 8
};

// What the edit fields show for a match.
struct CPolickaZapasu
{
    int homeDraw = 0;
    int awayDraw = 0;
    QDate date;   // invalid for the no-date value
    QString time; // "%02d:%02d", 00:00 included
    QString note; // a single blank shows as empty
};
std::optional<CPolickaZapasu> MatchFields(CDatabaza& db, int matchId);

// A pairing corrected by typing draw numbers: the match gets the clubs with those numbers in its
// competition (0 is a free slot). A text that is no number, or a number no club has, changes
// nothing: returns nothing then.
struct CDvojica
{
    int homeClub, awayClub, homeDraw, awayDraw;
    QString homeName, awayName;
};
std::optional<CDvojica> ApplyDrawNumbers(CDatabaza& db, int competition, int matchId, const QString& homeText,
                                         const QString& awayText);

// Stores the schedule note (an empty note as a single blank, as it always was) and returns it.
QString SaveScheduleNote(CDatabaza& db, int matchId, const QString& text);

// A kick-off time typed as hour, any one character, minute; nothing for another text.
std::optional<QTime> ParseKickOffTime(const QString& text);
// Sets the kick-off of one match, or of every match of its round: the matches changed and their new
// kick-off (none when the time text is not a time).
struct CNovyVykop
{
    QVector<int> matches;
    QDateTime kickOff;
};
CNovyVykop ConfirmTime(CDatabaza& db, int matchId, const QDate& date, const QString& timeText,
                       bool wholeRound);

// A printout of a competition's matches by round (one round, or all): up to four rounds a page as
// long as they fit, a round that does not fit the rest of a page on the next one, a round taller than a
// page continued with its heading again; a note wraps within its row; a match played on another day
// than its round shows its own date.
class CTlacKol : public CTlacovina
{
public:
    CTlacKol(CDatabaza& db, int competition, int round);
    // Only the matches of one club (its own and its byes), its name in the titles.
    void SetClub(int club);
    // "<key> <competition> <N>. kolo <club>", without the round when all are printed.
    QString RoundsFileTitle(const QString& key) const;
    int PageCount() override;
    void DrawPage(CPlocha& surface, int page) override;

protected:
    // The table's columns and the lines above it.
    virtual void Columns(CTabulka& t) = 0;
    virtual void Header(CTabulka& t) = 0;
    // The round's heading, `HeadingLines` rows of the grid from `row`.
    virtual int HeadingLines() const = 0;
    virtual void Heading(CTabulka& t, int row, const QString& title) = 0;
    // A match's cells; the cell of `NoteColumn` wraps.
    virtual QStringList Cells(const CZapas& z, const CZapas& first, const CMenaKlubov& names) = 0;
    virtual int NoteColumn() const = 0;
    virtual Zarovnanie Alignment(int column) const = 0;

    // The competition as the titles name it: with the club when the print is one club's.
    QString CompetitionTitle() const;

    CDatabaza& m_db;
    int m_competition;
    int m_round;
    int m_club = kVsetkyKluby;
    QString m_clubName;

private:
    void Layout(CPlocha& surface);
    QVector<QVector<CZapas>> m_groups;
    QVector<CStranaSkupin> m_pages;
    QVector<QVector<QVector<QStringList>>> m_notes; // each match's cells in the lines they take
};

// The match's kick-off as the round printouts show it: the time, with the day in front for a match
// played on another day than its round's first match ("22.10. 17:30").
QString KickOffCell(const CZapas& z, const CZapas& first);

// The printout of the schedule.
class CTlacRozpisu : public CTlacKol
{
public:
    CTlacRozpisu(CDatabaza& db, int competition, int round) : CTlacKol(db, competition, round) {}
    QString DocumentName() const override { return QStringLiteral("Rozpis zápasov"); }
    QString FileTitle() const override { return RoundsFileTitle(QStringLiteral("rozpis")); }

protected:
    void Columns(CTabulka& t) override;
    void Header(CTabulka& t) override;
    int HeadingLines() const override { return 1; }
    void Heading(CTabulka& t, int row, const QString& title) override;
    QStringList Cells(const CZapas& z, const CZapas& first, const CMenaKlubov& names) override;
    int NoteColumn() const override { return 3; }
    Zarovnanie Alignment(int column) const override;
};

// " %d. kolo (%s)": a round's heading with the date of its first match.
QString RoundHeading(const CZapas& first);
// A page of a competition's matches with a table per round (headed by RoundHeading): the header
// cells, then a row per match written by `row`.
// With a club (not kVsetkyKluby) only its matches, its name beside the competition's.
CMyExport ExportByRound(CDatabaza& db, int competition, int round, const QString& seasonLine,
                        const QVector<CStlpecZoznamu>& header,
                        const std::function<void(CMyExport&, const CZapas&, const CMenaKlubov&)>& row,
                        int club = kVsetkyKluby);
CMyExport ExportSchedule(CDatabaza& db, int competition, int round, int club = kVsetkyKluby);
// "V. liga – FC Rapid Krakovany" for one club's matches, the competition's name for all.
QString CompetitionWithClub(CDatabaza& db, int competition, int club);
// Matches as a spreadsheet sorts and counts them (the CSV of the schedule, the results and a club's
// matches): a header, then one row per match with its round, its day as YYYY-MM-DD, its hour, the two
// clubs, each side's goals as a number ("k" for a forfeit, empty before the match is played), the half
// time as "1–0" and its notes. No row of titles in between.
QVector<QStringList> MatchCsvRows(const QVector<CZapas>& matches, const CMenaKlubov& names);
inline const QStringList kStlpceZapasovCsv = {
    QStringLiteral("Kolo"),        QStringLiteral("Dátum"),  QStringLiteral("Čas"),
    QStringLiteral("Domáci"),      QStringLiteral("Hostia"), QStringLiteral("Góly domáci"),
    QStringLiteral("Góly hostia"), QStringLiteral("Polčas"), QStringLiteral("Poznámka")};
// One club's matches of the season as a page: round, day, hour, the two clubs, the result and its
// note; a round the club has off shows "voľno".
CMyExport ExportClubMatches(CDatabaza& db, int club);
// The first round of the competition with a match between two clubs that has no full result (both
// scores, or a forfeit); nothing when every match has its result.
std::optional<int> NextRound(CDatabaza& db, int competition);
// The round the secretary works on: the next round, or the last round when every match is played;
// 0 when the competition has no match.
int CurrentRound(CDatabaza& db, int competition);
inline const QString kSuborRozpisu = QStringLiteral("RozpisZapasov.html");
inline const QString kVsetkyKolaText = QStringLiteral("Všetky kolá");
// What a list of rounds says of a competition that has no fixtures yet.
inline const QString kRozpisEsteNie = QStringLiteral("Rozpis zápasov ešte nie je.");
