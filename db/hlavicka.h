#pragma once

#include <QString>

class CDatabaza;

// The season record (first row of `tsezona`) as every print and page header uses it.
struct CHlavicka
{
    bool exists = false;
    QString nazov;
    QString kraj;
    QString zvaz;
    QString stop;
    int zapocitat = 0;

    static CHlavicka Read(CDatabaza& db);

    // "Sezóna - %s" with the season's name; empty when there is no season record.
    QString SeasonLine() const;
    // "%s - %s" with the region and then the association; empty when there is no season record.
    QString AssociationLine() const;
};

// What the season dialog shows when the file has no season record yet.
inline const QString kPredvolenyRocnik = QStringLiteral("2003/2004");
inline const QString kPredvolenyKraj = QStringLiteral("Názov kraja");
inline const QString kPredvolenyZvaz = QStringLiteral("Názov Mirak");
