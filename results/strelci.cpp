#include "strelci.h"

#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "output/CTabulka.h"
#include "tabulka.h"

QString TopScorersTitle(CDatabaza& db, int competition)
{
    return QStringLiteral("Najlepší strelci - %1").arg(CompetitionName(db, competition));
}

QVector<CStlpecZoznamu> TopScorersColumns()
{
    return {{QStringLiteral("#"), Zarovnanie::Stred, 30},
            {QStringLiteral("Hráč"), Zarovnanie::Vlavo, 150},
            {QStringLiteral("Klub"), Zarovnanie::Vlavo, 200},
            {QStringLiteral("Góly"), Zarovnanie::Stred, 40}};
}

CZoznam TopScorersList(CDatabaza& db, int competition)
{
    CZoznam list;
    list.columns = TopScorersColumns();
    CZaznamy rs(db);
    rs.Open(QStringLiteral(
                "SELECT thraci.ID, thraci.meno, thraci.priezvisko, thraci.IDklubu, tkluby.nazov, "
                "Count(tgoly.IDhraca) as pocet FROM tgoly, thraci, tkluby WHERE thraci.ID=tgoly.IDhraca and "
                "thraci.IDklubu=tkluby.ID and tkluby.skupina=? GROUP BY thraci.ID,thraci.meno,"
                "thraci.priezvisko,tgoly.IDhraca, thraci.IDklubu, tkluby.nazov ORDER BY Count(tgoly.IDhraca) "
                "DESC"),
            {competition});
    int position = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        list.AddRow({QString::number(++position),
                     QStringLiteral("%1 %2").arg(rs.GetText(QStringLiteral("meno")),
                                                 rs.GetText(QStringLiteral("priezvisko"))),
                     rs.GetText(QStringLiteral("nazov")),
                     QString::number(rs.GetInt(QStringLiteral("pocet")))},
                    rs.GetInt(QStringLiteral("ID")));
    return list;
}

CTlacStrelcov::CTlacStrelcov(CDatabaza& db, int competition)
    : m_db(db), m_competition(competition), m_list(TopScorersList(db, competition))
{
}

int CTlacStrelcov::PageCount()
{
    // Without scorers there is still the page with the header row.
    return std::max(1, (m_list.RowCount() + kRiadkovNaStranu - 1) / kRiadkovNaStranu);
}

void CTlacStrelcov::DrawPage(CPlocha& surface, int page)
{
    CTabulka t(surface);
    t.AddColumn(QStringLiteral(" 20 "), Zarovnanie::Stred);
    t.AddColumn(QStringLiteral(" %1 ").arg(QString(23, QLatin1Char('x'))), Zarovnanie::Vlavo);
    t.AddColumn(QStringLiteral(" %1 ").arg(QString(32, QLatin1Char('x'))), Zarovnanie::Vlavo);
    t.AddColumn(QStringLiteral(" 100 "), Zarovnanie::Stred);
    for (int c = 0; c < m_list.ColumnCount(); ++c)
        t.GridCell(0, c, m_list.columns.at(c).header);
    const CHlavicka season = CHlavicka::Read(m_db);
    if (m_competition != 0)
        t.TitleLine(TopScorersTitle(m_db, m_competition));
    if (season.exists) {
        t.SeasonLine(season.SeasonLine());
        t.RuledLine(season.AssociationLine());
    }
    const int first = (page - 1) * kRiadkovNaStranu;
    const int last = std::min(m_list.RowCount(), page * kRiadkovNaStranu);
    for (int r = first; r < last; ++r)
        for (int c = 0; c < m_list.ColumnCount(); ++c)
            t.GridCell(r - first + 1, c, m_list.Text(r, c));
    t.PageFoot(season.AssociationLine(), page, PageCount());
}

std::optional<CMyExport> ExportTopScorers(CDatabaza& db, int competition)
{
    const CZoznam list = TopScorersList(db, competition);
    if (list.RowCount() == 0)
        return std::nullopt;
    QString title = TopScorersTitle(db, competition);
    if (const auto round = LastPlayedRound(db, competition))
        title = QStringLiteral("%1 po %2. kole").arg(title).arg(*round);
    const CHlavicka season = CHlavicka::Read(db);
    CMyExport page;
    page.BeginPage(season.AssociationLine(), title, season.SeasonLine());
    page.BeginTable(4, QString());
    for (int c = 0; c < list.ColumnCount(); ++c)
        page.HeadCell(c, list.columns.at(c).header, list.columns.at(c).alignment, list.columns.at(c).width);
    for (const CRiadokZoznamu& row : list.rows)
        for (int c = 0; c < list.ColumnCount(); ++c)
            page.Cell(c, row.Cell(c), list.columns.at(c).alignment);
    page.EndTable();
    page.EndPage();
    return page;
}
