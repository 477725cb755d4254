#include "tabulka.h"

#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "output/CTabulka.h"
#include "prepocet.h"

namespace {

struct CRiadokTabulky
{
    int club;
    QString nazov;
    int zapasy, vyhry, remizy, prehry, skore1, skore2, body, plusb;
};

QVector<CRiadokTabulky> Standings(CDatabaza& db, int competition)
{
    QVector<CRiadokTabulky> out;
    CZaznamy rs(db);
    rs.Open(
        QStringLiteral(
            "select tbody.zapasy,tbody.vyhry,tbody.remizy,tbody.prehry,tbody.skore1,tbody.skore2,tbody.body,"
            "tbody.plusb,tbody.IDklubu,tbody.btrest,tkluby.ID,tkluby.nazov, (skore1-skore2) as r from "
            "tbody,tkluby "
            "where tbody.skupina=? and tbody.IDklubu=tkluby.ID group by "
            "tbody.zapasy,tbody.vyhry,tbody.remizy,"
            "tbody.prehry,tbody.skore1,tbody.skore2,tbody.body,tbody.plusb,tbody.IDklubu,tbody.btrest,tkluby."
            "ID,"
            "tkluby.nazov order by tbody.body desc, (tbody.skore1-tbody.skore2) desc, tbody.skore1 desc, "
            "tbody.vyhry desc, tbody.plusb desc, tbody.zapasy desc"),
        {competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        out.append({rs.GetInt(QStringLiteral("IDklubu")), rs.GetText(QStringLiteral("nazov")),
                    rs.GetInt(QStringLiteral("zapasy")), rs.GetInt(QStringLiteral("vyhry")),
                    rs.GetInt(QStringLiteral("remizy")), rs.GetInt(QStringLiteral("prehry")),
                    rs.GetInt(QStringLiteral("skore1")), rs.GetInt(QStringLiteral("skore2")),
                    rs.GetInt(QStringLiteral("body")), rs.GetInt(QStringLiteral("plusb"))});
    return out;
}

QStringList Cells(int position, const CRiadokTabulky& r)
{
    return {QString::number(position),
            r.nazov,
            QString::number(r.zapasy),
            QString::number(r.vyhry),
            QString::number(r.remizy),
            QString::number(r.prehry),
            QStringLiteral("%1 : %2").arg(r.skore1).arg(r.skore2),
            QString::number(r.body),
            QString::number(r.plusb)};
}

const QStringList kHlavicka = {QStringLiteral("#"),     QStringLiteral("Klub"), QStringLiteral("Z"),
                               QStringLiteral("V"),     QStringLiteral("R"),    QStringLiteral("P"),
                               QStringLiteral("Skóre"), QStringLiteral("Body"), QStringLiteral(" + , - ")};

} // namespace

std::optional<int> LastPlayedRound(CDatabaza& db, int competition)
{
    const QVariant round = db.Value(
        QStringLiteral("select max(kolo) from tzapasy where skupina=? and body1<>100 and body2<>100"),
        {competition});
    if (round.isNull())
        return std::nullopt;
    return round.toInt();
}

QString StandingsTitle(CDatabaza& db, int competition)
{
    QString title = QStringLiteral("Výsledná tabuľka - %1").arg(CompetitionName(db, competition));
    if (const auto round = LastPlayedRound(db, competition))
        title = QStringLiteral("%1 po %2. kole").arg(title).arg(*round);
    return title;
}

QVector<CStlpecZoznamu> StandingsColumns()
{
    return {{kHlavicka.at(0), Zarovnanie::Stred, 20}, {kHlavicka.at(1), Zarovnanie::Vlavo, 200},
            {kHlavicka.at(2), Zarovnanie::Stred, 40}, {kHlavicka.at(3), Zarovnanie::Stred, 40},
            {kHlavicka.at(4), Zarovnanie::Stred, 40}, {kHlavicka.at(5), Zarovnanie::Stred, 40},
            {kHlavicka.at(6), Zarovnanie::Stred, 80}, {kHlavicka.at(7), Zarovnanie::Stred, 80},
            {kHlavicka.at(8), Zarovnanie::Stred, 80}};
}

CZoznam StandingsList(CDatabaza& db, int competition)
{
    CZoznam list;
    list.columns = StandingsColumns();
    int position = 0;
    for (const CRiadokTabulky& r : Standings(db, competition))
        list.AddRow(Cells(++position, r), r.club);
    return list;
}

std::optional<CTrest> ClubSanction(CDatabaza& db, int club)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tbody where IDklubu=?"), {club});
    if (rs.IsEOF())
        return std::nullopt;
    return CTrest{rs.GetText(QStringLiteral("trest")), rs.GetInt(QStringLiteral("btrest"))};
}

void SaveSanctionText(CDatabaza& db, int club, const QString& text)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tbody where IDklubu=?"), {club});
    if (rs.IsEOF())
        return;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("trest"), text);
    rs.Update();
}

void SaveSanctionPoints(CDatabaza& db, int competition, int club, const QString& text)
{
    CZaznamy rs(db);
    rs.Open(QStringLiteral("select * from tbody where IDklubu=?"), {club});
    if (rs.IsEOF())
        return;
    rs.Edit();
    rs.SetFieldValue(QStringLiteral("btrest"), CisloNaZaciatku(text).value_or(0));
    rs.Update();
    rs.Close();
    RecalculateClub(db, competition, club);
}

void CTlacTabulky::DrawPage(CPlocha& surface, int)
{
    CTabulka t(surface);
    const QStringList samples = {
        QStringLiteral(" 20 "),      QStringLiteral(" %1 ").arg(QString(32, QLatin1Char('x'))),
        QStringLiteral(" 100 "),     QStringLiteral(" 100 "),
        QStringLiteral(" 100 "),     QStringLiteral(" 100 "),
        QStringLiteral(" 100:100 "), QStringLiteral(" 100 "),
        QStringLiteral(" -100 ")};
    for (int c = 0; c < samples.size(); ++c)
        t.AddColumn(samples.at(c), c == 1 ? Zarovnanie::Vlavo : Zarovnanie::Stred);
    for (int c = 0; c < kHlavicka.size(); ++c)
        t.GridCell(0, c, kHlavicka.at(c));
    const CHlavicka season = CHlavicka::Read(m_db);
    if (m_competition != 0)
        t.TitleLine(StandingsTitle(m_db, m_competition));
    if (season.exists) {
        t.SeasonLine(season.SeasonLine());
        t.RuledLine(season.AssociationLine());
    }
    int row = 0;
    for (const CRiadokTabulky& r : Standings(m_db, m_competition)) {
        ++row;
        const QStringList cells = Cells(row, r);
        for (int c = 0; c < cells.size(); ++c)
            t.GridCell(row, c, cells.at(c));
    }
    CZaznamy rs(m_db);
    rs.Open(
        QStringLiteral("select tbody.body, tbody.trest, tbody.btrest, tbody.IDklubu, tkluby.ID, tkluby.nazov "
                       "from tbody, tkluby where tbody.skupina=? and tkluby.ID=tbody.IDklubu and "
                       "ifnull(tbody.trest,'')<>'' order by tbody.body desc"),
        {m_competition});
    for (; !rs.IsEOF(); rs.MoveNext())
        t.Note(QStringLiteral("%1:").arg(rs.GetText(QStringLiteral("nazov"))),
               rs.GetText(QStringLiteral("trest")));
    t.PageFoot(season.AssociationLine(), 1, 1);
}

std::optional<CMyExport> ExportStandings(CDatabaza& db, int competition)
{
    const QVector<CRiadokTabulky> rows = Standings(db, competition);
    if (rows.isEmpty())
        return std::nullopt;
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), StandingsTitle(db, competition), season.SeasonLine());
    page.BeginTable(9, QString());
    const auto columns = StandingsColumns();
    for (int c = 0; c < columns.size(); ++c)
        page.HeadCell(c, columns.at(c).header, columns.at(c).alignment, columns.at(c).width);
    int position = 0;
    for (const CRiadokTabulky& r : rows) {
        const QStringList cells = Cells(++position, r);
        for (int c = 0; c < cells.size(); ++c)
            page.Cell(c, cells.at(c), columns.at(c).alignment);
    }
    page.EndTable();
    page.EndPage();
    return page;
}
