#pragma once

#include "competition/kluby.h"
#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"
#include "output/strankovanie.h"
#include "output/tlacenatabulka.h"

#include <QDate>
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

// The cards of one kind given in a competition (cards of its other competitions do not count), by
// player, in the columns of their matches. Players stand under the club they play for now. The
// yellow register shows the matches a player misses (the walk of stopky.h) in their columns.
struct CKartyHraca
{
    int id = 0;
    QString name; // "%s %s"
    QString rc;
    int club = 0;
    int total = 0; // cards that count: an amnesty's forgiven ones do not
    QVector<int> perColumn;
    QVector<int> forgivenPerColumn;
    QVector<bool> missed; // the columns of the matches he misses
};
struct CKartySutaze
{
    CStlpceKol columns;
    // Players of the competition's clubs with a card here: most cards first, then by name.
    QVector<CKartyHraca> players;
    QVector<const CKartyHraca*> OfClub(int club) const;
};
CKartySutaze ReadCards(CDatabaza& db, int competition, CDruhKariet kind, const QVector<int>& thresholds);
class CDisciplinaSutaze;
// The same from the competition's discipline read already.
CKartySutaze ReadCards(CDatabaza& db, const CDisciplinaSutaze& discipline, int competition, CDruhKariet kind);

QString CardRegisterTitle(CDatabaza& db, int competition, CDruhKariet kind);
// The register of one club or (kVsetkyKluby) of every club: each club then introduced by an empty
// row and a row with its name in the second column. The yellow register marks the match a player
// misses with "X" (followed by the cards of that column, if any); cards an amnesty forgave stand in
// brackets.
CZoznam CardRegister(CDatabaza& db, int competition, int club, CDruhKariet kind,
                     const QVector<int>& thresholds);
CZoznam CardRegister(CDatabaza& db, const CDisciplinaSutaze& discipline, int competition, int club,
                     CDruhKariet kind);

// A player who sits out his club's match of round N for yellow cards.
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

// The printout: a group per club (its name, then its players numbered from 1), up to 30 lines a page;
// a club that goes on over a page has its name again there. `clubName` heads a printout of one club.
class CTlacStopu : public CTlacZoznamu
{
public:
    CTlacStopu(CDatabaza& db, int competition, int round, QVector<CHracStop> entries, QString clubName);
    QString DocumentName() const override { return QStringLiteral("Stop za ŽK"); }
    QString FileTitle() const override;
    static constexpr int kRiadkovNaStranu = 30;

protected:
    CTlacenaTabulka Table() override;
    void Heading(CTabulka& t) override;
    QString FootText() override;
    int LeftMargin() const override { return 500; }

private:
    CDatabaza& m_db;
    int m_competition;
    int m_round;
    QString m_clubName;
    QVector<CHracStop> m_entries;
};

class CTlacKariet : public CTlacZoznamu
{
public:
    CTlacKariet(CDatabaza& db, int competition, int club, CDruhKariet kind, CZoznam list);
    QString DocumentName() const override;
    QString FileTitle() const override;

protected:
    // "#" and the name on every page the rounds go on across.
    CTlacenaTabulka Table() override { return CTlacenaTabulka::FromList(m_list, 2); }
    void Heading(CTabulka& t) override;
    QString FootText() override;
    // The yellow one's margin is narrower: it has more rounds with marks.
    int LeftMargin() const override { return m_kind == CDruhKariet::Zlte ? 500 : 1000; }

private:
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
// Records an amnesty taking effect on `day` (cards of matches before it are forgiven) in one
// competition or (0) in all: every card, or each player's `count` oldest in each competition (nothing
// for a count below 1). The cards stay in the file, the matches already triggered stay missed.
void Amnesty(CDatabaza& db, const QDate& day, int competition, bool all, int count);
// The number typed for "Počet": a whole number, or nothing (the dialog then says so).
std::optional<int> AmnestyCountFromText(const QString& text);
inline const QString kZadajteCeleCislo = QStringLiteral("Zadajte celé číslo.");
// `competition`: the name of the one competition an amnesty was given in; empty for every competition.
QString AmnestyCountMessage(int count, const QString& competition = QString());
// What an amnesty of every card said: of one competition or of all.
QString AmnestyAllMessage(const QString& competition = QString());
