#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

class CDatabaza;
class CKonfliktZmien;

// How the server's log of changes reads for the user: the conflict a write met, and the history of a
// match, a player or the whole season.

// What a row is, as the user knows it ("zápas Dolná – Horná (3. kolo)"), from its values.
QString RowDescription(CDatabaza& db, const QString& table, const QJsonObject& row, const QString& key);
// The columns' values as the user reads them ("výsledok: 2:1, poznámka: odložený").
QString ValuesText(const QString& table, const QJsonObject& row, const QStringList& columns);
// What she is told when her write met another's change of the same row.
QString ConflictMessage(CDatabaza& db, const CKonfliktZmien& conflict);

struct CRiadokHistorie
{
    QString time; // "dd.MM.yyyy HH:mm:ss", local time
    QString login;
    QString what;
    QString change; // "vložený", "zmenený", "zmazaný"
    QString before;
    QString after;
};
// Which rows the history lists.
struct CVyberHistorie
{
    QDateTime since;
    QString table; // empty: the whole season
    QString key;   // empty: every row of the table
};
QVector<CRiadokHistorie> HistoryRows(CDatabaza& db, const CVyberHistorie& selection);
// The titles of the history's columns, and a row's cells in their order.
const QStringList& HistoryColumns();
QStringList HistoryCells(const CRiadokHistorie& row);
// The history as a table (a CSV file's rows): the titles, then a row per change.
QVector<QStringList> HistoryTable(const QVector<CRiadokHistorie>& rows);

// What the history can be listed for: the whole season, then the match and the player chosen in the
// window (0: none), each named as the user knows it.
struct CRozsahHistorie
{
    QString text;
    CVyberHistorie selection;
};
QVector<CRozsahHistorie> HistoryScopes(CDatabaza& db, int match, int player);
