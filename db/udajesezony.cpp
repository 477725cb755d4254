#include "udajesezony.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"

bool IsCurrentSeasonVersion(CDatabaza& db)
{
    return db.TableExists(QStringLiteral("theslo"));
}

QString StoredPassword(CDatabaza& db)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from theslo"));
    return rs.IsEOF() ? QString() : rs.GetText(QStringLiteral("heslo"));
}

void StorePassword(CDatabaza& db, const QString& password)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from theslo"));
    if (rs.IsEOF())
        return;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("heslo"), password);
    rs.Update();
}

CUdajeSezony ReadSeasonInfo(CDatabaza& db)
{
    const CHlavicka h = CHlavicka::Read(db);
    if (!h.exists)
        return {kPredvolenyRocnik, kPredvolenyKraj, kPredvolenyZvaz};
    return {h.nazov, h.kraj, h.zvaz};
}

namespace {
// The first season record, ready to be written: edited when there is one, else a new one.
void EditOrAddSeason(CZaznamy& rs)
{
    rs.Open(QStringLiteral("select * from tsezona"));
    if (rs.IsEOF())
        rs.AddNew();
    else
        rs.Edit();
}
} // namespace

void SaveSeasonInfo(CDatabaza& db, const CUdajeSezony& info)
{
    CZaznamy rs(db);
    EditOrAddSeason(rs);
    rs.SetFieldValue(QStringLiteral("nazov"), info.nazov);
    rs.SetFieldValue(QStringLiteral("kraj"), info.kraj);
    rs.SetFieldValue(QStringLiteral("zvaz"), info.zvaz);
    rs.Update();
}

QString ReadStopRule(CDatabaza& db)
{
    const QString rule = CHlavicka::Read(db).stop;
    return rule.size() < 2 ? kPredvolenePravidloZK : rule;
}

QString StopRuleProblem(const QString& rule)
{
    QStringList pieces = rule.split(QLatin1Char(','));
    // A final comma adds nothing, as the rule has always been read.
    if (pieces.size() > 1 && pieces.last().trimmed().isEmpty())
        pieces.removeLast();
    if (pieces.size() == 1 && pieces.first().trimmed().isEmpty())
        return {};
    for (const QString& piece : pieces) {
        bool ok = false;
        const int n = piece.trimmed().toInt(&ok);
        if (!ok || n < 1)
            return kZlePravidloZK;
    }
    return {};
}

void SaveStopRule(CDatabaza& db, const QString& rule)
{
    CZaznamy rs(db);
    EditOrAddSeason(rs);
    rs.SetFieldValue(QStringLiteral("stop"), rule);
    rs.Update();
}
