#pragma once

#include "db/kody.h"
#include "officials/nominacie.h"
#include "output/CMyExport.h"
#include "output/CPlocha.h"
#include "output/CZoznam.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class CDatabaza;

// What every list of the program prints and exports, for one selection, by the names the command line
// gives the lists: the one table the command line, the tests and the benchmarks go through, made of
// the same functions the window's views call, so that all of them write what the window writes.

// The selection a list is printed or exported for.
struct CVyber
{
    int competition = 0;
    int club = kVsetkyKluby;
    int round = kVsetkyKola;
    QString day = kVsetkyZapasy; // the nominations' match day ("MM-dd-yyyy")
    QVector<int> thresholds;
};

struct CVystupZoznamu
{
    bool usesRound = false;
    std::function<std::unique_ptr<CTlacovina>(CDatabaza&, const CVyber&)> printout;
    // Nothing when the list has nothing to show (its export ends without a file); no function when
    // the list is only printed.
    std::function<std::optional<CMyExport>(CDatabaza&, const CVyber&)> page;
    // Lists of the committee are not lists of a competition.
    bool perCompetition = true;
    // The options the list takes beyond its competition (and its round, usesRound): one club
    // (--klub), a match day (--datum).
    bool usesClub = false;
    bool usesDay = false;
};

// By the names the command line gives them: kluby, hraci, rozpis, vysledky, tabulka, strelci, zk, ck,
// zk-stop, rozhodcovia, delegati, znamky, nominacie.
const QHash<QString, CVystupZoznamu>& Outputs();

// The club selector's text of the card registers for a club, or "Všetky kluby".
QString CardClubText(CDatabaza& db, int club);
