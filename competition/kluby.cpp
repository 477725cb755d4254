#include "kluby.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/schema.h"
#include "output/CTabulka.h"
#include "sutaze.h"

namespace {

struct CKlub
{
    int id;
    QString nazov, kontakt1, kontakt2, pozn;
    int vylosovanie;
};

QVector<CKlub> Clubs(CDatabaza& db, int competition)
{
    QVector<CKlub> out;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where skupina=? order by vylosovanie, ID"), {competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        out.append({rs.GetInt(QStringLiteral("ID")), rs.GetText(QStringLiteral("nazov")),
                    rs.GetText(QStringLiteral("kontakt1")), rs.GetText(QStringLiteral("kontakt2")),
                    rs.GetText(QStringLiteral("pozn")), rs.GetInt(QStringLiteral("vylosovanie"))});
    return out;
}

QString DrawNumberText(int n)
{
    return n == 0 ? QString() : QString::number(n);
}

} // namespace

QVector<CPolozkaKlubu> CompetitionClubs(CDatabaza& db, int competition)
{
    QVector<CPolozkaKlubu> out;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select ID, nazov from tkluby where skupina=? order by vylosovanie, ID"),
            {competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        out.append({rs.GetInt(QStringLiteral("ID")), rs.GetText(QStringLiteral("nazov"))});
    return out;
}

QString ClubListTitle(CDatabaza& db, int competition)
{
    return QStringLiteral("Zoznam klubov - %1").arg(CompetitionName(db, competition));
}

QVector<CStlpecZoznamu> ClubListColumns()
{
    return {{QStringLiteral("#"), Zarovnanie::Vlavo, 20},
            {QStringLiteral("Názov klubu"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Kontakt1"), Zarovnanie::Vlavo, 160},
            {QStringLiteral("Kontakt2"), Zarovnanie::Vlavo, 160},
            {QStringLiteral("Vylosované číslo"), Zarovnanie::Vlavo, 100},
            {QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 120}};
}

CZoznam ClubList(CDatabaza& db, int competition)
{
    CZoznam list;
    list.columns = ClubListColumns();
    int n = 0;
    for (const CKlub& k : Clubs(db, competition))
        list.AddRow(
            {QString::number(++n), k.nazov, k.kontakt1, k.kontakt2, DrawNumberText(k.vylosovanie), k.pozn},
            k.id);
    list.AddRow({QString(), QString(), QString(), QString(), QString(), QString()}, 0);
    return list;
}

bool IsValidDrawNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok && n >= 0;
}

int SaveClub(CDatabaza& db, int id, int competition, const CUdajeKlubu& data)
{
    CZaznamy rs(db);
    if (id != 0) {
        rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
        if (rs.IsEOF())
            return 0;
        rs.Edit();
    } else {
        rs.Open(QStringLiteral("select * from tkluby"));
        rs.AddNew();
    }
    rs.SetFieldValue(QStringLiteral("nazov"), data.nazov);
    rs.SetFieldValue(QStringLiteral("kontakt1"), data.kontakt1);
    rs.SetFieldValue(QStringLiteral("kontakt2"), data.kontakt2);
    rs.SetFieldValue(QStringLiteral("skupina"), competition);
    rs.SetFieldValue(QStringLiteral("pozn"), data.pozn.left(kMaxPoznamkaKlubu));
    if (!data.vylosovanie.trimmed().isEmpty() && IsValidDrawNumber(data.vylosovanie))
        rs.SetFieldValue(QStringLiteral("vylosovanie"), data.vylosovanie.trimmed().toInt());
    rs.Update();
    return id != 0 ? id : static_cast<int>(rs.LastInsertId());
}

CVysledokDovozu ImportClubs(CDatabaza& db, int competition, const QByteArray& file)
{
    CVysledokDovozu result;
    const CCsvSubor csv = ReadCsv(file);
    result.error = csv.error.isEmpty() ? CsvHeaderProblem(csv) : csv.error;
    if (!result.error.isEmpty())
        return result;
    const QStringList header = csv.rows.first().cells;
    const int name =
        CsvColumn(header, {QStringLiteral("Názov klubu"), QStringLiteral("Názov"), QStringLiteral("Klub")});
    const int draw = CsvColumn(header, {QStringLiteral("Los"), QStringLiteral("Vylosované číslo")});
    const int contact1 = CsvColumn(header, {QStringLiteral("Kontakt 1")});
    const int contact2 = CsvColumn(header, {QStringLiteral("Kontakt 2")});
    const int note = CsvColumn(header, {QStringLiteral("Poznámka")});
    if (name < 0) {
        result.error = QStringLiteral("Prvý riadok súboru nemá stĺpec „Názov klubu“ (súbor má mať stĺpce ako "
                                      "export zoznamu klubov: Los; Názov klubu; Kontakt 1; Kontakt 2).");
        return result;
    }
    // The names the competition has, compared as a person would: without regard to letter case.
    QHash<QString, int> taken; // name -> line of the file (0 for the competition)
    CPrikaz names(db, QStringLiteral("select nazov from tkluby where skupina=?"), {competition});
    while (names.Step())
        taken.insert(names.Text(0).trimmed().toLower(), 0);
    // Every row is looked at before anything is stored: a bad row on line 9,000 stores nothing.
    QVector<CUdajeKlubu> clubs;
    clubs.reserve(csv.rows.size());
    for (qsizetype r = 1; r < csv.rows.size(); ++r) {
        const CRiadokCsv& row = csv.rows.at(r);
        CUdajeKlubu k{CsvCell(row, name), CsvCell(row, contact1), CsvCell(row, contact2), CsvCell(row, draw),
                      CsvCell(row, note)};
        const QString line = QStringLiteral("Riadok %1: ").arg(row.line);
        if (k.nazov.isEmpty()) {
            result.error = line + QStringLiteral("chýba názov klubu.");
            return result;
        }
        if (const QString problem = CsvCellsProblem(header, {{name, k.nazov, FieldLength(u"nazov")},
                                                             {contact1, k.kontakt1, FieldLength(u"kontakt1")},
                                                             {contact2, k.kontakt2, FieldLength(u"kontakt2")},
                                                             {note, k.pozn, kMaxPoznamkaKlubu, true}});
            !problem.isEmpty()) {
            result.error = line + problem;
            return result;
        }
        if (!IsValidDrawNumber(k.vylosovanie)) {
            result.error =
                line +
                QStringLiteral("vylosované číslo „%1“ nie je celé číslo od 0 vyššie.").arg(k.vylosovanie);
            return result;
        }
        const QString key = k.nazov.toLower();
        const auto known = taken.constFind(key);
        if (known != taken.constEnd()) {
            result.error =
                line +
                (*known == 0
                     ? QStringLiteral("klub „%1“ už v súťaži je.").arg(k.nazov)
                     : QStringLiteral("klub „%1“ je už na riadku %2.").arg(k.nazov, QString::number(*known)));
            return result;
        }
        taken.insert(key, row.line);
        clubs << k;
    }
    if (clubs.isEmpty()) {
        result.error = QStringLiteral("Súbor nemá pod hlavičkou žiadny klub.");
        return result;
    }
    // One statement for every row, in one transaction.
    CTransakcia transaction(db, CTransakcia::kHromadna);
    CPrikaz insert(
        db, QStringLiteral("insert into tkluby (nazov, kontakt1, kontakt2, skupina, pozn, vylosovanie) "
                           "values (?, ?, ?, ?, ?, ?)"));
    for (const CUdajeKlubu& k : clubs)
        insert.Execute({k.nazov, k.kontakt1, k.kontakt2, competition, k.pozn,
                        k.vylosovanie.trimmed().isEmpty() ? 0 : k.vylosovanie.trimmed().toInt()});
    transaction.Commit();
    result.count = static_cast<int>(clubs.size());
    return result;
}

bool RemoveClub(CLigaroDoc& doc, int id)
{
    CDatabaza& db = doc.Database();
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tzapasy where klub1=? or klub2=?"), {id, id});
    if (!rs.IsEOF()) {
        doc.User().ShowMessage(kKlubJeAktivny, CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    if (!doc.User().AskYesNo(kSkutocneVymazat) || id == 0)
        return false;
    if (!doc.Snapshot(QStringLiteral("Odstránenie klubu")))
        return false;
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
    if (rs.IsEOF())
        return false;
    rs.Delete();
    return true;
}

QString ClubNote(CDatabaza& db, int id)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
    return rs.IsEOF() ? QString() : rs.GetText(QStringLiteral("pozn"));
}

void SaveClubNote(CDatabaza& db, int id, const QString& note)
{
    if (id == 0)
        return;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
    if (rs.IsEOF())
        return;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("pozn"), note.left(kMaxPoznamkaKlubu));
    rs.Update();
}

QString LongestClubName(CDatabaza& db, int competition)
{
    return db
        .Value(QStringLiteral("select nazov from tkluby where skupina=? order by length(nazov) desc limit 1"),
               {competition})
        .toString();
}

QString ClubName(CDatabaza& db, int id)
{
    if (id == 0)
        return kVolno;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {id});
    return rs.IsEOF() ? kVolno : rs.GetText(QStringLiteral("nazov"));
}

CTlacenaTabulka CTlacKlubov::Table()
{
    CTlacenaTabulka table;
    table.SetColumns({{QStringLiteral("Los"), Zarovnanie::Stred, false, true},
                      {QStringLiteral("Názov klubu"), Zarovnanie::Vlavo, true, true},
                      {QStringLiteral("Kontakt 1"), Zarovnanie::Vlavo},
                      {QStringLiteral("Kontakt 2"), Zarovnanie::Vlavo}});
    for (const CKlub& k : Clubs(m_db, m_competition))
        table.AddRow({CTlacenaTabulka::CDruh::Udaje,
                      {DrawNumberText(k.vylosovanie), k.nazov, k.kontakt1, k.kontakt2}});
    return table;
}

void CTlacKlubov::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    t.TitleLine(ClubListTitle(m_db, m_competition));
    t.SeasonLine(season.SeasonLine());
    t.RuledLine(season.AssociationLine());
}

QString CTlacKlubov::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}

CMyExport ExportClubs(CDatabaza& db, int competition)
{
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), ClubListTitle(db, competition), season.SeasonLine());
    page.BeginTable(4, QString());
    page.HeadCell(0, QStringLiteral("Los"), Zarovnanie::Stred, 20);
    page.HeadCell(1, QStringLiteral("Názov klubu"), Zarovnanie::Vlavo, 200);
    page.HeadCell(2, QStringLiteral("Kontakt 1"), Zarovnanie::Vlavo, 200);
    page.HeadCell(3, QStringLiteral("Kontakt 2"), Zarovnanie::Vlavo, 200);
    for (const CKlub& k : Clubs(db, competition)) {
        page.Cell(0, DrawNumberText(k.vylosovanie), Zarovnanie::Stred);
        page.Cell(1, k.nazov, Zarovnanie::Vlavo);
        page.Cell(2, k.kontakt1, Zarovnanie::Vlavo);
        page.Cell(3, k.kontakt2, Zarovnanie::Vlavo);
    }
    page.EndTable();
    page.EndPage();
    return page;
}

QString CTlacKlubov::FileTitle() const
{
    return ListFileTitle(QStringLiteral("kluby"), CompetitionName(m_db, m_competition));
}
