#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// What a write reads and changes when it keeps to one competition: the rows of that competition (by
// their `skupina`) in `competitionTables`, and `wholeTables` read whole. Others' changes elsewhere do
// not touch it. With `clubs`, a table that `clubColumns` ties to clubs counts only its rows naming one
// of them in one of those columns (a club's matches and standings): two officials typing matches of
// different clubs in one competition then do not touch each other's writes either.
struct CRozsahZapisu
{
    int competition = 0;
    QStringList competitionTables;
    QStringList wholeTables;
    QVector<int> clubs;
    QHash<QString, QStringList> clubColumns;
};
