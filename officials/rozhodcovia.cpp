#include "rozhodcovia.h"

#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "output/CTabulka.h"

#include <QHash>

const CRegister& CRegister::Referees()
{
    static const CRegister r{kFunkciaRozhodca,
                             true,
                             QStringLiteral("Zoznam rozhodcov"),
                             QStringLiteral("Zadajte meno rozhodcu"),
                             QStringLiteral("Zadajte priezvisko rozhodcu"),
                             QStringLiteral("Pridať rozhodcu"),
                             QStringLiteral("Nominačná listina rozhodcov pre ročník %1")};
    return r;
}

const CRegister& CRegister::Delegates()
{
    static const CRegister r{kFunkciaDelegat,
                             false,
                             QStringLiteral("Zoznam delegátov"),
                             QStringLiteral("Zadajte meno delegáta"),
                             QStringLiteral("Zadajte priezvisko delegáta"),
                             QStringLiteral("Pridať delegáta"),
                             QStringLiteral("Nominačná listina delegátov pre ročník %1")};
    return r;
}

QVector<CStlpecZoznamu> OfficialColumns(const CRegister& reg)
{
    QVector<CStlpecZoznamu> c = {{QStringLiteral("Súťaž"), Zarovnanie::Vlavo, 200},
                                 {QStringLiteral("#"), Zarovnanie::Vlavo, 20},
                                 {QStringLiteral("Meno"), Zarovnanie::Vlavo, 150},
                                 {QStringLiteral("Priezvisko"), Zarovnanie::Vlavo, 150},
                                 {QStringLiteral("r.č."), Zarovnanie::Vlavo, 80},
                                 {QStringLiteral("Známka z testu"), Zarovnanie::Vlavo, 100}};
    if (reg.withRun)
        c.append({QStringLiteral("12 min. beh [m]"), Zarovnanie::Vlavo, 100});
    c.append({QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 120});
    return c;
}

CZoznam OfficialsList(CDatabaza& db, const CRegister& reg)
{
    CZoznam list;
    list.columns = OfficialColumns(reg);
    const QHash<int, QString> competitions = CompetitionNames(db);
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from trozhodci where funkcia=? order by skupina"), {reg.funkcia});
    int previous = -1, n = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int skupina = rs.GetInt(QStringLiteral("skupina"));
        if (skupina != previous)
            n = 0;
        previous = skupina;
        QStringList cells = {
            competitions.value(skupina),        QString::number(++n),
            rs.GetText(QStringLiteral("meno")), rs.GetText(QStringLiteral("priezvisko")),
            rs.GetText(QStringLiteral("RC")),   ZnamkaTextom(rs.GetDouble(QStringLiteral("znamka")))};
        if (reg.withRun)
            cells << rs.GetText(QStringLiteral("beh"));
        cells << rs.GetText(QStringLiteral("pozn"));
        list.AddRow(cells, rs.GetInt(QStringLiteral("ID")));
    }
    list.AddRow(QStringList(list.ColumnCount(), QString()), 0);
    return list;
}

std::optional<CUdajeFunkcionara> ReadOfficial(CDatabaza& db, const CRegister& reg, int id)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from trozhodci where ID=? and funkcia=?"), {id, reg.funkcia});
    if (rs.IsEOF())
        return std::nullopt;
    CUdajeFunkcionara d;
    d.meno = rs.GetText(QStringLiteral("meno"));
    d.priezvisko = rs.GetText(QStringLiteral("priezvisko"));
    d.rc = rs.GetText(QStringLiteral("RC"));
    d.domov = rs.GetText(QStringLiteral("domov"));
    d.praca = rs.GetText(QStringLiteral("praca"));
    d.mobil = rs.GetText(QStringLiteral("mobil"));
    d.pozn = rs.GetText(QStringLiteral("pozn"));
    d.beh = rs.GetText(QStringLiteral("beh"));
    d.znamka = ZnamkaTextom(rs.GetDouble(QStringLiteral("znamka")));
    d.skupina = rs.GetInt(QStringLiteral("skupina"));
    return d;
}

std::optional<QPair<QString, int>> ValidateOfficial(const CRegister& reg, const CUdajeFunkcionara& data)
{
    if (data.meno.size() < 3)
        return qMakePair(reg.firstNameMessage, 0);
    if (data.priezvisko.size() < 3)
        return qMakePair(reg.surnameMessage, 1);
    return std::nullopt;
}

float TestMark(const QString& text)
{
    const float mark = ZnamkaZTextu(text.isEmpty() ? QStringLiteral("0") : text);
    return (mark > 10 || mark < 1) ? 0.0f : mark;
}

int SaveOfficial(CDatabaza& db, const CRegister& reg, int id, const CUdajeFunkcionara& data)
{
    CZaznamy rs(db);
    if (id != 0) {
        rs.Open(QStringLiteral("select * from trozhodci where ID=? and funkcia=?"), {id, reg.funkcia});
        if (rs.IsEOF())
            return 0;
        rs.Edit();
    } else {
        rs.Open(QStringLiteral("select * from trozhodci"));
        rs.AddNew();
    }
    rs.SetFieldValue(QStringLiteral("meno"), data.meno);
    rs.SetFieldValue(QStringLiteral("priezvisko"), data.priezvisko);
    rs.SetFieldValue(QStringLiteral("RC"), data.rc);
    rs.SetFieldValue(QStringLiteral("domov"), data.domov);
    rs.SetFieldValue(QStringLiteral("praca"), data.praca);
    rs.SetFieldValue(QStringLiteral("mobil"), data.mobil);
    rs.SetFieldValue(QStringLiteral("pozn"), data.pozn);
    if (reg.withRun)
        rs.SetFieldValue(QStringLiteral("beh"), data.beh);
    rs.SetFieldValue(QStringLiteral("funkcia"), reg.funkcia);
    rs.SetFieldValue(QStringLiteral("znamka"), TestMark(data.znamka));
    if (data.skupina != 0)
        rs.SetFieldValue(QStringLiteral("skupina"), data.skupina);
    rs.Update();
    return id != 0 ? id : static_cast<int>(rs.LastInsertId());
}

bool RemoveOfficial(CLigaroDoc& doc, const CRegister& reg, int id)
{
    if (!doc.User().AskYesNo(kSkutocneVymazat) || id == 0)
        return false;
    if (!doc.Snapshot(reg.funkcia == kFunkciaDelegat ? QStringLiteral("Odstránenie delegáta")
                                                     : QStringLiteral("Odstránenie rozhodcu")))
        return false;
    CDatabaza& db = doc.Database();
    CTransakcia transaction(db);
    db.Execute(QStringLiteral("delete from trozhodci where ID=? and funkcia=?"), {id, reg.funkcia});
    // A referee's nominations are those of the referee and assistants; a delegate's those of DZ.
    if (reg.funkcia == kFunkciaDelegat)
        db.Execute(QStringLiteral("delete from tnominacie where IDrozhodcu=? and funkcia=?"),
                   {id, kNominaciaDZ});
    else
        db.Execute(QStringLiteral("delete from tnominacie where IDrozhodcu=? and funkcia<>?"),
                   {id, kNominaciaDZ});
    transaction.Commit();
    return true;
}

CKontakty Contacts(CDatabaza& db, const CRegister& reg, int id)
{
    const auto d = ReadOfficial(db, reg, id);
    if (!d)
        return {};
    return {QStringLiteral("%1 %2").arg(d->meno, d->priezvisko), d->domov, d->praca, d->mobil};
}

CMyExport ExportOfficials(CDatabaza& db, const CRegister& reg)
{
    const CHlavicka season = CHlavicka::Read(db);
    const QHash<int, QString> competitions = CompetitionNames(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), reg.printTitle.arg(season.nazov), QString());
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from trozhodci where funkcia=? order by skupina, priezvisko, meno, ID"),
            {reg.funkcia});
    int previous = -1, n = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int group = rs.GetInt(QStringLiteral("skupina"));
        if (group != previous || n == 0) {
            if (n > 0)
                page.EndTable();
            page.BeginTable(2, competitions.value(group, QStringLiteral("Bez súťaže")));
            page.HeadCell(0, QStringLiteral("#"), Zarovnanie::Stred, 20);
            page.HeadCell(1, QStringLiteral("Meno"), Zarovnanie::Vlavo, 250);
            previous = group;
        }
        page.Cell(0, QString::number(++n), Zarovnanie::Stred);
        page.Cell(1,
                  QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                              rs.GetText(QStringLiteral("priezvisko"))),
                  Zarovnanie::Vlavo);
    }
    if (n > 0)
        page.EndTable();
    page.EndPage();
    return page;
}

CTlacSupisky::CTlacSupisky(CDatabaza& db, const CRegister& reg) : m_db(db), m_reg(reg)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from trozhodci where funkcia=? order by skupina"), {reg.funkcia});
    int n = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        QStringList cells = {QString::number(++n),
                             QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                                         rs.GetText(QStringLiteral("priezvisko"))),
                             ZnamkaTextom(rs.GetDouble(QStringLiteral("znamka")))};
        if (reg.withRun)
            cells << rs.GetText(QStringLiteral("beh"));
        cells << rs.GetText(QStringLiteral("pozn"));
        m_officials.append({rs.GetInt(QStringLiteral("skupina")), cells});
    }
}

CTlacenaTabulka CTlacSupisky::Table()
{
    CTlacenaTabulka table;
    QVector<CTlacenaTabulka::CStlpec> columns = {
        {QStringLiteral("#"), Zarovnanie::Vlavo, false, true},
        {QStringLiteral("meno"), Zarovnanie::Vlavo, true, true},
        {QStringLiteral("známka z testu"), Zarovnanie::Stred, false}};
    if (m_reg.withRun)
        columns.append({QStringLiteral("12min. beh [m]"), Zarovnanie::Stred, false});
    columns.append({QStringLiteral("poznámka"), Zarovnanie::Vlavo, true});
    table.SetColumns(columns);
    // Twenty-five officials a page at most, as the roster has always been printed.
    table.SetRowsPerPage(25, true);
    // A group per competition, its name above it.
    const QHash<int, QString> competitions = CompetitionNames(m_db);
    int previous = -1;
    for (int i = 0; i < m_officials.size(); ++i) {
        const CFunkcionar& o = m_officials.at(i);
        if (i == 0 || o.skupina != previous) {
            if (i > 0)
                table.AddRow({CTlacenaTabulka::CDruh::Medzera, {}});
            table.AddRow({CTlacenaTabulka::CDruh::Nadpis, {competitions.value(o.skupina)}, 700});
        }
        previous = o.skupina;
        table.AddRow({CTlacenaTabulka::CDruh::Udaje, o.cells});
    }
    return table;
}

void CTlacSupisky::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.TitleLine(m_reg.printTitle.arg(season.nazov));
    t.RuledLine(season.AssociationLine());
}

QString CTlacSupisky::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}
