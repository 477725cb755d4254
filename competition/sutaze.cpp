#include "sutaze.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"

const QStringList& ViewTitles()
{
    static const QStringList titles = {QStringLiteral("Zoznam klubov"),
                                       QStringLiteral("Zoznam hráčov"),
                                       QStringLiteral("Rozpis zápasov"),
                                       QStringLiteral("Výsledky"),
                                       QStringLiteral("Tabuľka"),
                                       QStringLiteral("Najlepší strelci"),
                                       QStringLiteral("Register ŽK"),
                                       QStringLiteral("Register ČK"),
                                       QStringLiteral("Zoznam rozhodcov"),
                                       QStringLiteral("Zoznam delegátov"),
                                       QStringLiteral("Nominácie rozhodcov"),
                                       QStringLiteral("Štatistiky známok"),
                                       QStringLiteral("Kto nesmie hrať")};
    return titles;
}

const QVector<int>& CompetitionViews()
{
    static const QVector<int> views = {0, 1, 2, 3, 4, 5, 6, 7, kPohladNesmuHrat};
    return views;
}

const QVector<int>& CommitteeViews()
{
    static const QVector<int> views = {8, 9, 10, 11};
    return views;
}

QVector<CSutaz> ReadCompetitions(CDatabaza& db)
{
    QVector<CSutaz> out;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tsutaze"));
    for (; !rs.IsEOF(); rs.MoveNext())
        out.append({rs.GetInt(QStringLiteral("ID")), rs.GetText(QStringLiteral("nazov"))});
    return out;
}

QHash<int, QString> CompetitionNames(CDatabaza& db)
{
    QHash<int, QString> names;
    for (const CSutaz& s : ReadCompetitions(db))
        names.insert(s.id, s.nazov);
    return names;
}

bool CompetitionExists(CDatabaza& db, int id)
{
    return db.Value(QStringLiteral("select count(*) from tsutaze where ID=?"), {id}).toInt() > 0;
}

QString CompetitionName(CDatabaza& db, int id)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tsutaze where ID=?"), {id});
    return rs.IsEOF() ? QString() : rs.GetText(QStringLiteral("nazov"));
}

QString TreeTitle(CDatabaza& db)
{
    const CHlavicka h = CHlavicka::Read(db);
    if (h.zvaz.size() > 1)
        return QStringLiteral("Ligy - %1").arg(h.zvaz);
    return {};
}

int AddCompetition(CDatabaza& db)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tsutaze"));
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("nazov"), kNovaSutaz);
    rs.Update();
    return static_cast<int>(rs.LastInsertId());
}

bool RenameCompetition(CDatabaza& db, int id, const QString& name)
{
    if (name.isEmpty())
        return false;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tsutaze where ID=?"), {id});
    if (rs.IsEOF())
        return false;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("nazov"), name);
    rs.Update();
    return true;
}

bool RemoveCompetition(CLigaroDoc& doc, int id)
{
    CDatabaza& db = doc.Database();
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where skupina=?"), {id});
    if (!rs.IsEOF()) {
        doc.User().ShowMessage(kSutazNieJePrazdna, CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    if (!doc.User().AskYesNo(kSkutocneVymazat))
        return false;
    rs.Open(QStringLiteral("select * from tsutaze where ID=?"), {id});
    if (rs.IsEOF())
        return false;
    rs.Delete();
    return true;
}

void PickList(CLigaroDoc& doc, int competition, int viewIndex)
{
    doc.SetCurrentCompetition(competition);
    doc.SetCurrentClub(0);
    doc.SwitchView(viewIndex);
    doc.SetCurrentViewIndex(viewIndex);
}
