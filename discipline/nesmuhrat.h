#pragma once

#include "discipline/stopky.h"
#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"
#include "output/tlacenatabulka.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class CDatabaza;
class CDisciplinaSutaze;

// "Kto nesmie hrať": every player who may not play in his club's match of a round, and why: a
// yellow-card stop, a red card, or a ban of the player register.

struct CNesmieHrat
{
    int club = 0;
    QString clubName;
    int player = 0;
    QString meno;
    QString priezvisko;
    QString rc;
    QStringList reasons; // "ŽK (4.)", "ČK (5. kolo)", "Zákaz činnosti do 3. 8. 2025"
    int match = 0;
    QString matchText; // "Domáci – Hostia"
    QDateTime kickOff;
};

// The players of one club or (kVsetkyKluby) of every club of the competition who may not play in
// their club's match of `round`: clubs by drawn number, players by name.
QVector<CNesmieHrat> PlayersWhoMayNotPlay(CDatabaza& db, int competition, int round, int club,
                                          const QVector<int>& thresholds);
// The same from a competition's discipline read already (the site reads it once for all its lists).
QVector<CNesmieHrat> PlayersWhoMayNotPlay(CDatabaza& db, const CDisciplinaSutaze& discipline, int round,
                                          int club);

// Reasons as the list gives them (the yellow and red cards' in stopky.h).
QString BanReason(const QDate& until);

// The list as the window shows it: flat for one club; for all, each club introduced by an empty row
// and a row with its name, as the card registers do.
CZoznam MayNotPlayList(CDatabaza& db, int competition, int round, int club, const QVector<int>& thresholds);
// What the list says when nobody is banned in `round`, or that there are no fixtures yet (round 0).
QString NobodyText(int round);
// "Kto nesmie hrať - COMPETITION - N. kolo"; without the round for a competition that has none yet.
QString MayNotPlayTitle(CDatabaza& db, int competition, int round);
// The page: a table per club, birth numbers only where asked for (the public site leaves them out).
// Its spreadsheet is one row per player and match with the columns Klub, Meno, Priezvisko, Rodné
// číslo, Dôvod, Zápas, Dátum (ISO dates).
CMyExport ExportMayNotPlay(CDatabaza& db, int competition, int round, int club,
                           const QVector<int>& thresholds, bool birthNumbers);
inline const QString kSuborNesmuHrat = QStringLiteral("NesmuHrat.html");
inline const QString kNesmuHratText = QStringLiteral("Kto nesmie hrať");

class CTlacNesmuHrat : public CTlacZoznamu
{
public:
    CTlacNesmuHrat(CDatabaza& db, int competition, int round, CZoznam list);
    QString DocumentName() const override { return kNesmuHratText; }
    QString FileTitle() const override;

protected:
    CTlacenaTabulka Table() override { return CTlacenaTabulka::FromList(m_list, 2); }
    void Heading(CTabulka& t) override;
    QString FootText() override;

private:
    CDatabaza& m_db;
    int m_competition;
    int m_round;
    CZoznam m_list;
};
