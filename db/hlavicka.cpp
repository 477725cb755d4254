#include "hlavicka.h"

#include "CDatabaza.h"
#include "CZaznamy.h"

CHlavicka CHlavicka::Read(CDatabaza& db)
{
    CHlavicka h;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tsezona"));
    if (rs.IsEOF())
        return h;
    h.exists = true;
    h.nazov = rs.GetText(QStringLiteral("nazov"));
    h.kraj = rs.GetText(QStringLiteral("kraj"));
    h.zvaz = rs.GetText(QStringLiteral("zvaz"));
    h.stop = rs.GetText(QStringLiteral("stop"));
    h.zapocitat = rs.GetInt(QStringLiteral("zapocitat"));
    return h;
}

QString CHlavicka::SeasonLine() const
{
    return exists ? QStringLiteral("Sezóna - %1").arg(nazov) : QString();
}

QString CHlavicka::AssociationLine() const
{
    return exists ? QStringLiteral("%1 - %2").arg(kraj, zvaz) : QString();
}
