#pragma once

#include "competition/kluby.h"
#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>

class CDatabaza;
class CLigaroDoc;

// The card registers: yellow cards with the suspension rule, red cards, the list of players who sit
// out a round, and the amnesty.

enum class CDruhKariet { Zlte, Cervene };
QString CardTable(CDruhKariet kind);

// The round columns: a column each time the round changes in the kick-off order of the competition's
// matches (a postponed match gives its round a second column), and the column each match stands in.
struct CStlpceKol
{
    QVector<int> rounds; // the round of each column
    QHash<int, int> matchColumn;
    QHash<int, int> firstColumn; // round -> its first column
    // Where a card of that match (and round) counts: its match's column, or, for a match that is not
    // the competition's, the first column of its round; -1 when there is none.
    int ColumnOfCard(int match, int round) const;
};
CStlpceKol RoundColumns(CDatabaza& db, int competition);

// The clubs of the competition by drawn number, then "Všetky kluby" (kVsetkyKluby).
QVector<CPolozkaKlubu> CardClubItems(CDatabaza& db, int competition);
inline const QString kVsetkyKlubyText = QStringLiteral("Všetky kluby");

// One player's walk over the round columns: the cards in each column and whether it is a round he
// sits out. A threshold reached exactly after a round suspends him for as many following columns as
// its position in the rule (from 1); a later threshold replaces what is still pending.
struct CStlpecHraca
{
    int cards = 0;
    bool suspended = false;
};
QVector<CStlpecHraca> WalkPlayer(const QVector<int>& cardsPerColumn, const QVector<int>& thresholds);

// The cards of one kind given in a competition (cards of its other competitions do not count), by
// player, in the columns of their matches. Players stand under the club they play for now.
struct CKartyHraca
{
    int id = 0;
    QString name; // "%s %s"
    QString rc;
    int club = 0;
    int total = 0;
    QVector<int> perColumn;
};
struct CKartySutaze
{
    CStlpceKol columns;
    // Players of the competition's clubs with a card here: most cards first, then by name.
    QVector<CKartyHraca> players;
    QVector<const CKartyHraca*> OfClub(int club) const;
};
CKartySutaze ReadCards(CDatabaza& db, int competition, CDruhKariet kind);

QString CardRegisterTitle(CDatabaza& db, int competition, CDruhKariet kind);
// The register of one club or (kVsetkyKluby) of every club: each club then introduced by an empty
// row and a row with its name in the second column. The yellow register marks the rounds a player
// sits out with "X" (followed by the cards of that round, if any).
CZoznam CardRegister(CDatabaza& db, int competition, int club, CDruhKariet kind,
                     const QVector<int>& thresholds);

// A player who sits out round N.
struct CHracStop
{
    int clubIndex;
    QString club;
    QString name;
    QString rc;
    QString total;
};
QVector<CHracStop> StopList(CDatabaza& db, int competition, int round, const QVector<int>& thresholds);
// The stop list as a page: a table for each club. Birth numbers are left out, as the page is for the
// public.
CMyExport ExportStopList(CDatabaza& db, int competition, int round, const QVector<int>& thresholds);

class CTlacStopu : public CTlacovina
{
public:
    CTlacStopu(CDatabaza& db, int round, QVector<CHracStop> entries, QString clubName);
    int PageCount() override;
    void DrawPage(CPlocha& surface, int page) override;
    QString DocumentName() const override { return QStringLiteral("Stop za ŽK"); }
    static constexpr int kRiadkovNaStranu = 30;

private:
    struct CRiadok
    {
        bool clubLine;
        QStringList cells;
    };
    CDatabaza& m_db;
    int m_round;
    QString m_clubName;
    QVector<CRiadok> m_lines;
};

class CTlacKariet : public CTlacovina
{
public:
    CTlacKariet(CDatabaza& db, int competition, int club, CDruhKariet kind, CZoznam list);
    int PageCount() override;
    void DrawPage(CPlocha& surface, int page) override;
    void TurnToLandscape() override;
    QString DocumentName() const override;

private:
    // The register's margin and font (the yellow one prints smaller).
    void Layout(class CTabulka& t) const;
    QVector<int> m_pages; // the first list row of each page
    CDatabaza& m_db;
    int m_competition;
    int m_club;
    CDruhKariet m_kind;
    CZoznam m_list;
};
// The page: one table for one club, a table per club for all.
CMyExport ExportCards(CDatabaza& db, int competition, const QString& clubText, CDruhKariet kind,
                      const CZoznam& list);
inline const QString kSuborZK = QStringLiteral("ZK.html");
inline const QString kSuborCK = QStringLiteral("CK.html");

// The amnesty.
inline const QString kOtazkaAmnestie =
    QStringLiteral("Vymazanie Žltých kariet je nevratná operácia.\nOdporúčame Vám urobiť zálohu "
                   "databázy.\n\nChcete pokračovať?");
// Deletes every yellow card of the season.
void AmnestyAll(CDatabaza& db);
// Deletes each player's `count` oldest yellow cards in every competition (by round, then as entered);
// nothing for a count below 1.
void AmnestyCount(CDatabaza& db, int count);
// The number typed for "Počet": a whole number, or nothing (the dialog then says so).
std::optional<int> AmnestyCountFromText(const QString& text);
inline const QString kZadajteCeleCislo = QStringLiteral("Zadajte celé číslo.");
inline const QString kAmnestiaVsetky = QStringLiteral("ZK karty hráčov boli vymazané");
QString AmnestyCountMessage(int count);
