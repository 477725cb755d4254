#include "hraci.h"

#include "competition/rozpis.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "db/schema.h"
#include "db/slovencina.h"
#include "output/CTabulka.h"

#include <QRegularExpression>

namespace {

// Current rows only: a transfer's history row carries the live row's ID in IDold, and files of other
// tools may hold NULL there.
const QString kLenAktualni = QStringLiteral("ifnull(IDold,0)=0");

QString DateCell(const QDateTime& value)
{
    return DatumTextom(value);
}

} // namespace

int ChooseClub(const QVector<CPolozkaKlubu>& clubs, int currentClub)
{
    for (const auto& c : clubs)
        if (c.id == currentClub)
            return c.id;
    return clubs.isEmpty() ? 0 : clubs.first().id;
}

QString PlayerListTitle(CDatabaza& db, int competition)
{
    return QStringLiteral("Zoznam hráčov - %1").arg(CompetitionName(db, competition));
}

QVector<CStlpecZoznamu> PlayerColumns()
{
    return {{QStringLiteral("#"), Zarovnanie::Vlavo, 20},
            {QStringLiteral("Meno"), Zarovnanie::Vlavo, 150},
            {QStringLiteral("Priezvisko"), Zarovnanie::Vlavo, 150},
            // Wide enough for a whole birth number ("900101/1234").
            {QStringLiteral("r.č."), Zarovnanie::Vlavo, 95},
            {QStringLiteral("Hráč hosťuje do"), Zarovnanie::Vlavo, 120},
            {QStringLiteral("Zákaz činnosti do"), Zarovnanie::Vlavo, 120},
            {QStringLiteral("Poznámka"), Zarovnanie::Vlavo, 120}};
}

CZoznam PlayerList(CDatabaza& db, int club)
{
    CZoznam list;
    list.columns = PlayerColumns();
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from thraci where IDklubu=? and IDklubu>0 and %1").arg(kLenAktualni),
            {club});
    int n = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        list.AddRow({QString::number(++n), rs.GetText(QStringLiteral("meno")),
                     rs.GetText(QStringLiteral("priezvisko")), rs.GetText(QStringLiteral("RC")),
                     DateCell(rs.GetDate(QStringLiteral("od"))), DateCell(rs.GetDate(QStringLiteral("do"))),
                     rs.GetText(QStringLiteral("pozn"))},
                    rs.GetInt(QStringLiteral("ID")));
    list.AddRow(QStringList(list.ColumnCount(), QString()), 0);
    return list;
}

std::optional<QDateTime> PlayerDate(const QString& text)
{
    if (text.trimmed().isEmpty())
        return ZiadnyDatum();
    const QDate d = DatumZTextu(text);
    if (!d.isValid())
        return std::nullopt;
    return CasSezony(d);
}

QString BirthNumberProblem(const QString& rc)
{
    const QString text = rc.trimmed();
    if (text.isEmpty())
        return {};
    static const QRegularExpression form(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2})/?(\\d{3,4})$"));
    const QRegularExpressionMatch m = form.match(text);
    const QString prefix = QStringLiteral("Rodné číslo „%1“: ").arg(text);
    if (!m.hasMatch())
        return prefix + QStringLiteral("píšte ho v tvare RRMMDD/XXXX (narodení pred rokom 1954 RRMMDD/XXX).");
    const int yy = m.captured(1).toInt();
    int month = m.captured(2).toInt();
    const int day = m.captured(3).toInt();
    const QString tail = m.captured(4);
    int year = 0;
    if (tail.size() == 3) {
        if (yy >= 54)
            return prefix +
                   QStringLiteral("deväťmiestne rodné čísla dostávali len narodení pred rokom 1954.");
        year = 1900 + yy;
    } else {
        year = yy >= 54 ? 1900 + yy : 2000 + yy;
    }
    if (month > 70)
        month -= 70;
    else if (month > 50)
        month -= 50;
    else if (month > 20)
        month -= 20;
    if (month < 1 || month > 12)
        return prefix + QStringLiteral("mesiac %1 neexistuje.").arg(m.captured(2));
    if (!QDate(year, month, day).isValid())
        return prefix + QStringLiteral("deň %1. %2. %3 neexistuje.").arg(day).arg(month).arg(year);
    if (tail.size() == 4) {
        const QString digits = m.captured(1) + m.captured(2) + m.captured(3) + tail;
        const qint64 number = digits.toLongLong();
        const qint64 firstNine = number / 10;
        const bool divisible = number % 11 == 0 || (firstNine % 11 == 10 && number % 10 == 0);
        if (!divisible)
            return prefix +
                   QStringLiteral("nesedí kontrolná číslica (desaťmiestne rodné číslo je deliteľné 11).");
    }
    return {};
}

QString PlayerDateError(const QString& field, const QString& text)
{
    return QStringLiteral(
               "%1 v poli „%2“: „%3“ nie je deň kalendára. Napíšte ho napríklad ako 3.8.2026, alebo pole "
               "nechajte prázdne, ak taký dátum hráč nemá.")
        .arg(kZlyDatum, field, text.trimmed());
}

std::optional<CChybaUdajov> ValidatePlayer(const CUdajeHraca& data, const QString& storedRc)
{
    if (data.meno.trimmed().isEmpty())
        return CChybaUdajov{kZadajteMeno, 0};
    if (data.priezvisko.trimmed().isEmpty())
        return CChybaUdajov{kZadajtePriezvisko, 1};
    if (data.rc.trimmed() != storedRc.trimmed())
        if (const QString problem = BirthNumberProblem(data.rc); !problem.isEmpty())
            return CChybaUdajov{problem, 2};
    if (!PlayerDate(data.od))
        return CChybaUdajov{PlayerDateError(kPoleHostovanie, data.od), 3};
    if (!PlayerDate(data.doDatum))
        return CChybaUdajov{PlayerDateError(kPoleZakaz, data.doDatum), 4};
    return std::nullopt;
}

namespace {
QString PlayerKeyName(const QString& meno, const QString& priezvisko)
{
    return (meno.trimmed() + QLatin1Char(' ') + priezvisko.trimmed()).toLower();
}

// The players an import compares a row with, found by name and by birth number at once: a player is
// the same by his birth number where both have one, else by his name (without regard to letter case).
struct CZnamiHraci
{
    struct CHrac
    {
        QString rc;
        int line; // of the file; 0 for a player of the club
    };
    QMultiHash<QString, CHrac> byName;
    QHash<QString, int> byRc;

    void Add(const QString& name, const QString& rc, int line)
    {
        byName.insert(name, {rc, line});
        if (!rc.isEmpty())
            byRc.insert(rc, line);
    }
    // The line of the same player (0: in the club), or -1.
    int Find(const QString& name, const QString& rc) const
    {
        if (!rc.isEmpty())
            if (const auto it = byRc.constFind(rc); it != byRc.constEnd())
                return *it;
        for (auto it = byName.constFind(name); it != byName.constEnd() && it.key() == name; ++it)
            if (rc.isEmpty() || it->rc.isEmpty() || it->rc == rc)
                return it->line;
        return -1;
    }
};
} // namespace

CVysledokDovozu ImportPlayers(CDatabaza& db, int club, const QByteArray& file)
{
    CVysledokDovozu result;
    const CCsvSubor csv = ReadCsv(file);
    result.error = csv.error.isEmpty() ? CsvHeaderProblem(csv) : csv.error;
    if (!result.error.isEmpty())
        return result;
    const QStringList header = csv.rows.first().cells;
    const int meno = CsvColumn(header, {QStringLiteral("Meno")});
    const int priezvisko = CsvColumn(header, {QStringLiteral("Priezvisko")});
    const int rc = CsvColumn(header, {QStringLiteral("r. č."), QStringLiteral("Rodné číslo")});
    const int loan = CsvColumn(header, {QStringLiteral("Hráč hosťuje do"), QStringLiteral("Hosťuje do")});
    const int ban = CsvColumn(header, {QStringLiteral("Zákaz činnosti do"), QStringLiteral("Zákaz do")});
    const int note = CsvColumn(header, {QStringLiteral("Poznámka")});
    if (meno < 0 || priezvisko < 0) {
        result.error =
            CsvColumn(header, {QStringLiteral("Meno hráča")}) >= 0
                ? QStringLiteral("Prvý riadok súboru má meno a priezvisko v jednom stĺpci „Meno hráča“; "
                                 "rozdeľte ho na stĺpce „Meno“ a „Priezvisko“.")
                : QStringLiteral("Prvý riadok súboru nemá stĺpce „Meno“ a „Priezvisko“ (súbor má mať "
                                 "stĺpce ako export zoznamu hráčov).");
        return result;
    }
    CZnamiHraci known;
    CPrikaz present(
        db,
        QStringLiteral("select meno, priezvisko, RC from thraci where IDklubu=? and IDklubu>0 and %1")
            .arg(kLenAktualni),
        {club});
    while (present.Step())
        known.Add(PlayerKeyName(present.Text(0), present.Text(1)), present.Text(2).trimmed(), 0);
    // Every row is looked at before anything is stored.
    QVector<CUdajeHraca> players;
    players.reserve(csv.rows.size());
    for (qsizetype r = 1; r < csv.rows.size(); ++r) {
        const CRiadokCsv& row = csv.rows.at(r);
        const CUdajeHraca p{CsvCell(row, meno), CsvCell(row, priezvisko), CsvCell(row, rc),
                            CsvCell(row, loan), CsvCell(row, ban),        CsvCell(row, note)};
        const QString line = QStringLiteral("Riadok %1: ").arg(row.line);
        if (p.meno.isEmpty()) {
            result.error = line + QStringLiteral("chýba meno hráča.");
            return result;
        }
        if (p.priezvisko.isEmpty()) {
            result.error = line + QStringLiteral("chýba priezvisko hráča.");
            return result;
        }
        QString problem = CsvCellsProblem(header, {{meno, p.meno, FieldLength(u"meno")},
                                                   {priezvisko, p.priezvisko, FieldLength(u"priezvisko")},
                                                   {note, p.pozn, kMaxPoznamkaHraca, true}});
        if (problem.isEmpty())
            problem = BirthNumberProblem(p.rc);
        if (!problem.isEmpty()) {
            result.error = line + problem;
            return result;
        }
        for (const auto& [text, column] : {std::pair{p.od, loan}, std::pair{p.doDatum, ban}})
            if (!PlayerDate(text)) {
                result.error = line + QStringLiteral("„%1“ v stĺpci „%2“ nie je dátum.")
                                          .arg(text, header.value(column).trimmed());
                return result;
            }
        const QString name = PlayerKeyName(p.meno, p.priezvisko);
        if (const int other = known.Find(name, p.rc); other >= 0) {
            const QString who = p.rc.isEmpty()
                                    ? QStringLiteral("%1 %2").arg(p.meno, p.priezvisko)
                                    : QStringLiteral("%1 %2 (r. č. %3)").arg(p.meno, p.priezvisko, p.rc);
            result.error =
                line + (other == 0
                            ? QStringLiteral("hráč %1 už v klube je.").arg(who)
                            : QStringLiteral("hráč %1 je už na riadku %2.").arg(who, QString::number(other)));
            return result;
        }
        known.Add(name, p.rc, row.line);
        players << p;
    }
    if (players.isEmpty()) {
        result.error = QStringLiteral("Súbor nemá pod hlavičkou žiadneho hráča.");
        return result;
    }
    // One statement for every row, in one transaction; the values as the player's dialog stores them.
    CTransakcia transaction(db, CTransakcia::kHromadna);
    CPrikaz insert(db, QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu, od, \"do\", pozn) "
                                      "values (?, ?, ?, ?, ?, ?, ?)"));
    for (const CUdajeHraca& p : players)
        insert.Execute({p.meno, p.priezvisko, p.rc.isEmpty() ? QStringLiteral(" ") : p.rc, club,
                        PlayerDate(p.od).value_or(ZiadnyDatum()),
                        PlayerDate(p.doDatum).value_or(ZiadnyDatum()), p.pozn});
    transaction.Commit();
    result.count = static_cast<int>(players.size());
    return result;
}

int SavePlayer(CDatabaza& db, int id, int club, const CUdajeHraca& data)
{
    CZaznamy rs(db);
    if (id != 0) {
        rs.Open(QStringLiteral("select * from thraci where ID=?"), {id});
        if (rs.IsEOF())
            return 0;
        rs.Edit();
    } else {
        rs.Open(QStringLiteral("select * from thraci"));
        rs.AddNew();
    }
    rs.SetFieldValue(QStringLiteral("meno"), data.meno);
    rs.SetFieldValue(QStringLiteral("priezvisko"), data.priezvisko);
    // An empty birth number is stored as a single blank, as the register always has.
    rs.SetFieldValue(QStringLiteral("RC"), data.rc.isEmpty() ? QStringLiteral(" ") : data.rc);
    rs.SetFieldValue(QStringLiteral("IDklubu"), club);
    rs.SetFieldValue(QStringLiteral("od"), PlayerDate(data.od).value_or(ZiadnyDatum()));
    rs.SetFieldValue(QStringLiteral("do"), PlayerDate(data.doDatum).value_or(ZiadnyDatum()));
    rs.SetFieldValue(QStringLiteral("pozn"), data.pozn.left(kMaxPoznamkaHraca));
    rs.Update();
    return id != 0 ? id : static_cast<int>(rs.LastInsertId());
}

bool RemovePlayer(CLigaroDoc& doc, int id)
{
    CDatabaza& db = doc.Database();
    const QStringList reasons = {
        QStringLiteral("Hráč je aktívny. Nedá sa vymazať.\n(Je strelcom gólov v tejto sezóne)"),
        QStringLiteral("Hráč je aktívny. Nedá sa vymazať.\n(Má žltú kartu v tejto sezóne)"),
        QStringLiteral("Hráč je aktívny. Nedá sa vymazať.\n(Má červenú kartu v tejto sezóne)")};
    const QStringList tables = {QStringLiteral("tgoly"), QStringLiteral("tzkarty"),
                                QStringLiteral("tckarty")};
    for (int i = 0; i < tables.size(); ++i) {
        if (db.Value(QStringLiteral("select count(*) from %1 where IDhraca=?").arg(tables.at(i)), {id})
                .toInt() > 0) {
            doc.User().ShowMessage(reasons.at(i), CPouzivatel::Ikona::Vykricnik);
            return false;
        }
    }
    if (!doc.User().AskYesNo(kSkutocneVymazat) || id == 0)
        return false;
    if (!doc.Snapshot(QStringLiteral("Odstránenie hráča")))
        return false;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {id});
    if (rs.IsEOF())
        return false;
    rs.Delete();
    return true;
}

QString PlayerNote(CDatabaza& db, int id)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {id});
    return rs.IsEOF() ? QString() : rs.GetText(QStringLiteral("pozn"));
}

void SavePlayerNote(CDatabaza& db, int id, const QString& note)
{
    if (id == 0)
        return;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {id});
    if (rs.IsEOF())
        return;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("pozn"), note.left(kMaxPoznamkaHraca));
    rs.Update();
}

CTlacHracov::CTlacHracov(CDatabaza& db, int competition, int club)
    : m_db(db), m_competition(competition), m_club(club), m_list(PlayerList(db, club))
{
    m_list.rows.removeLast(); // the blank row of the window is not printed
}

CTlacenaTabulka CTlacHracov::Table()
{
    CTlacenaTabulka table;
    table.SetColumns({{QStringLiteral("#"), Zarovnanie::Vlavo, false, true},
                      {QStringLiteral("Meno hráča"), Zarovnanie::Vlavo, true, true},
                      {QStringLiteral("r. č."), Zarovnanie::Vlavo, false},
                      {QStringLiteral("Hráč hosťuje do"), Zarovnanie::Vlavo, false},
                      {QStringLiteral("Zákaz činnosti do"), Zarovnanie::Vlavo, false}});
    // Fifty players a page under the header, as the register has always been printed.
    table.SetRowsPerPage(50, true);
    for (int r = 0; r < m_list.RowCount(); ++r)
        table.AddRow({CTlacenaTabulka::CDruh::Udaje,
                      {m_list.Text(r, 0), QStringLiteral("%1 %2").arg(m_list.Text(r, 1), m_list.Text(r, 2)),
                       m_list.Text(r, 3), m_list.Text(r, 4), m_list.Text(r, 5)}});
    return table;
}

void CTlacHracov::Heading(CTabulka& t)
{
    const CHlavicka season = CHlavicka::Read(m_db);
    QString club;
    CZaznamy rs(m_db);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {m_club});
    if (!rs.IsEOF())
        club = rs.GetText(QStringLiteral("nazov"));
    t.TitleLine(QStringLiteral("Zoznam hráčov - %1 (%2)").arg(club, CompetitionName(m_db, m_competition)));
    t.SeasonLine(season.SeasonLine());
    t.RuledLine(season.AssociationLine());
}

QString CTlacHracov::FootText()
{
    return CHlavicka::Read(m_db).AssociationLine();
}

CMyExport ExportPlayers(CDatabaza& db, int competition, int club)
{
    const CHlavicka season = CHlavicka::Read(db);
    QString clubName;
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tkluby where ID=?"), {club});
    if (!rs.IsEOF())
        clubName = rs.GetText(QStringLiteral("nazov"));
    CMyExport page;
    page.BeginPage(season.AssociationLine(),
                   QStringLiteral("Zoznam hráčov - %1 (%2)").arg(clubName, CompetitionName(db, competition)),
                   season.SeasonLine());
    page.BeginTable(5, QString());
    page.HeadCell(0, QStringLiteral("#"), Zarovnanie::Stred, 20);
    page.HeadCell(1, QStringLiteral("Meno hráča"), Zarovnanie::Vlavo, 200);
    page.HeadCell(2, QStringLiteral("r. č."), Zarovnanie::Stred, 80);
    page.HeadCell(3, QStringLiteral("Hráč hosťuje do"), Zarovnanie::Stred, 100);
    page.HeadCell(4, QStringLiteral("Zákaz činnosti do"), Zarovnanie::Stred, 100);
    // A spreadsheet keeps name and surname apart, as the import reads them.
    page.SetCsvRow(kStlpceHracovCsv);
    const CZoznam list = PlayerList(db, club);
    for (const CRiadokZoznamu& r : list.rows) {
        if (r.id == 0)
            continue;
        page.Cell(0, r.Cell(0), Zarovnanie::Stred);
        page.Cell(1, QStringLiteral("%1 %2").arg(r.Cell(1), r.Cell(2)), Zarovnanie::Vlavo);
        page.Cell(2, r.Cell(3), Zarovnanie::Stred);
        page.Cell(3, r.Cell(4), Zarovnanie::Stred);
        page.Cell(4, r.Cell(5), Zarovnanie::Stred);
        page.SetCsvRow({r.Cell(0), r.Cell(1), r.Cell(2), r.Cell(3), r.Cell(4), r.Cell(5)});
    }
    page.EndTable();
    page.EndPage();
    return page;
}

QString PresentClub(CDatabaza& db, int player)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "select tkluby.nazov from thraci, tkluby where thraci.ID=? and tkluby.ID=thraci.IDklubu"),
            {player});
    return rs.IsEOF() ? QString() : rs.GetText(QStringLiteral("nazov"));
}

int LivePlayer(CDatabaza& db, int playerRow)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {playerRow});
    if (rs.IsEOF())
        return 0;
    const int idOld = rs.GetInt(QStringLiteral("IDold"));
    return idOld > 0 ? idOld : playerRow;
}

CVysledokPrestupu TransferPlayer(CLigaroDoc& doc, int playerRow, int targetClub)
{
    CDatabaza& db = doc.Database();
    if (targetClub == 0) {
        doc.User().ShowMessage(kVyberteKlub, CPouzivatel::Ikona::Vykricnik);
        return CVysledokPrestupu::ZiadnyKlub;
    }
    const int player = LivePlayer(db, playerRow);
    if (db.Value(
              QStringLiteral("select count(*) from thraci where ID=? and IDklubu=? and %1").arg(kLenAktualni),
              {player, targetClub})
            .toInt() > 0) {
        doc.User().ShowMessage(kUzTamHra, CPouzivatel::Ikona::Vykricnik);
        return CVysledokPrestupu::UzTamHra;
    }
    const bool returns = db.Value(QStringLiteral("select count(*) from thraci where IDold=? and IDklubu=?"),
                                  {player, targetClub})
                             .toInt() > 0;
    if (returns && !doc.User().AskYesNo(kNavrat))
        return CVysledokPrestupu::Nepotvrdeny;
    if (!doc.Snapshot(QStringLiteral("Prestup hráča")))
        return CVysledokPrestupu::Nepotvrdeny;

    CTransakcia transaction(db);
    db.Execute(QStringLiteral("delete from thraci where IDold=? and IDklubu=?"), {player, targetClub});
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from thraci where ID=?"), {player});
    if (rs.IsEOF())
        return CVysledokPrestupu::ZiadnyKlub;
    const int oldClub = rs.GetInt(QStringLiteral("IDklubu"));
    const QString meno = rs.GetText(QStringLiteral("meno"));
    const QString priezvisko = rs.GetText(QStringLiteral("priezvisko"));
    const QString rc = rs.GetText(QStringLiteral("RC"));
    const QString pozn = rs.GetText(QStringLiteral("pozn"));
    const QDateTime od = rs.GetDate(QStringLiteral("od"));
    const QDateTime doDatum = rs.GetDate(QStringLiteral("do"));
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("IDklubu"), targetClub);
    rs.Update();
    rs.AddNew();
    rs.SetFieldValue(QStringLiteral("IDold"), player);
    rs.SetFieldValue(QStringLiteral("meno"), meno);
    rs.SetFieldValue(QStringLiteral("priezvisko"), priezvisko);
    // The history row keeps the birth number, so that a search by it finds the clubs he left too.
    rs.SetFieldValue(QStringLiteral("RC"), rc.isEmpty() ? QStringLiteral(" ") : rc);
    rs.SetFieldValue(QStringLiteral("IDklubu"), oldClub);
    rs.SetFieldValue(QStringLiteral("od"), od);
    rs.SetFieldValue(QStringLiteral("do"), doDatum);
    rs.SetFieldValue(QStringLiteral("pozn"), pozn);
    rs.Update();
    transaction.Commit();
    return CVysledokPrestupu::Prestupil;
}

QVector<CStlpecZoznamu> SearchColumns()
{
    return {{QStringLiteral("#"), Zarovnanie::Vlavo, 20},
            {QStringLiteral("Meno"), Zarovnanie::Vlavo, 150},
            {QStringLiteral("Priezvisko"), Zarovnanie::Vlavo, 150},
            {QStringLiteral("r.č."), Zarovnanie::Vlavo, 80},
            {QStringLiteral("Klub"), Zarovnanie::Vlavo, 200}};
}

CZoznam SearchPlayers(CDatabaza& db, const QString& meno, const QString& priezvisko, const QString& rc)
{
    CZoznam list;
    list.columns = SearchColumns();
    QString filter;
    QVariantList params;
    // "stastny" finds "Šťastný": names are compared without their accents.
    const QString fold = QLatin1String(kSqlBezDiakritiky);
    if (!meno.isEmpty()) {
        filter += QStringLiteral(" and %1(meno) Like ?").arg(fold);
        params << BezDiakritiky(meno) + QLatin1Char('*');
    }
    if (!priezvisko.isEmpty()) {
        filter += QStringLiteral(" and %1(priezvisko) Like ?").arg(fold);
        params << BezDiakritiky(priezvisko) + QLatin1Char('*');
    }
    if (!rc.isEmpty()) {
        filter += QStringLiteral(" and RC Like ?");
        params << rc;
    }
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "select thraci.ID,thraci.IDklubu,thraci.meno,thraci.priezvisko,thraci.RC,tkluby.nazov from "
                "thraci,tkluby where thraci.IDklubu=tkluby.ID and IDklubu>0%1 GROUP BY thraci.ID,"
                "thraci.IDklubu,thraci.meno,thraci.priezvisko,thraci.RC,tkluby.nazov")
                .arg(filter),
            params);
    int n = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        list.AddRow({QString::number(++n), rs.GetText(QStringLiteral("meno")),
                     rs.GetText(QStringLiteral("priezvisko")), rs.GetText(QStringLiteral("RC")),
                     rs.GetText(QStringLiteral("nazov"))},
                    rs.GetInt(QStringLiteral("ID")));
    return list;
}

QString CTlacHracov::FileTitle() const
{
    return ListFileTitle(QStringLiteral("hraci"), m_club == kVsetkyKluby
                                                      ? CompetitionName(m_db, m_competition)
                                                      : CMenaKlubov(m_db).Name(m_club));
}
