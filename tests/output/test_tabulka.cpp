// The printed table, checked on a recording surface: column widths, cells and their borders, header
// lines and the foot, and lists printed flat and grouped.

#include "output/CTabulka.h"
#include "output/CZaznamovaPlocha.h"
#include "output/CZoznam.h"

#include <gtest/gtest.h>

namespace {

using Druh = CZaznamovaPlocha::Druh;

// Bottom edge of a text box (its y plus height: QRect::bottom() is one short).
int BottomOf(const QRect& r)
{
    return r.y() + r.height();
}

QPoint Middle(const QRect& r)
{
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

CZaznamovaPlocha Surface30()
{
    CZaznamovaPlocha s;
    s.m_metrics = [](const CPismo& f) { return CMetriky{30, f.height}; };
    return s;
}

TEST(PrintedTable, ColumnsAreAsWideAsTheirSamples)
{
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Vlavo);
    EXPECT_EQ(t.ColumnRightEdge(0), 400);
    t.AddColumn(QStringLiteral("ab"), Zarovnanie::Stred);
    EXPECT_EQ(t.ColumnRightEdge(1), 480);
    EXPECT_EQ(t.RowHeight(), 150 + 75);
}

TEST(PrintedTable, ACellIsBorderedAndItsTextAnchoredAtItsBottom)
{
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Vlavo);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Stred);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Vpravo);
    t.GridCell(2, 0, QStringLiteral("Slovan"));
    t.GridCell(2, 1, QStringLiteral("3"));
    t.GridCell(2, 2, QStringLiteral("9"));
    const int top = 1700 + 2 * 225, bottom = 1700 + 3 * 225;
    const auto lines = s.Lines();
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines.at(0).from, QPoint(1000, top));
    EXPECT_EQ(lines.at(0).to, QPoint(1000, bottom));
    EXPECT_EQ(lines.at(2).to, QPoint(1400, top));
    const auto texts = s.Texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts.at(0).rect.x(), 1050);
    EXPECT_EQ(BottomOf(texts.at(0).rect), bottom - 20);
    EXPECT_EQ(texts.at(0).clip, QRect(1000, top, 400, 225));
    EXPECT_TRUE(texts.at(1).flags & TextFlag::HCenter);
    EXPECT_EQ(Middle(texts.at(1).rect).x(), 1600);
    EXPECT_TRUE(texts.at(2).flags & TextFlag::Right);
    EXPECT_EQ(texts.at(2).rect.x() + texts.at(2).rect.width(), 2200);
    EXPECT_EQ(texts.at(0).font.weight, 400);
}

TEST(PrintedTable, ALongTextWidensTheFirstCellAndItsBorders)
{
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.AddColumn(QStringLiteral("12345"), Zarovnanie::Vlavo); // 200 wide
    t.GridCell(1, 0, QStringLiteral("0123456789"));          // 400 wide
    const auto lines = s.Lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(1).to.x(), 1400);
    EXPECT_EQ(lines.at(2).from.x(), 1400);
    EXPECT_EQ(s.Texts().at(0).clip.width(), 400);
}

// A table of a number, two names and a score; plain metrics: the average character as wide as half
// the font's height, every character that wide.
struct WideTable
{
    CZaznamovaPlocha s;
    CTabulka t{s};
    const QString name = QStringLiteral("Futbalový klub ") + QString(43, QLatin1Char('n')); // 58 characters
    explicit WideTable(const QString& firstName)
    {
        t.AddColumn(QStringLiteral(" 1 "), Zarovnanie::Stred);
        t.AddColumn(QLatin1Char(' ') + firstName + QLatin1Char(' '), Zarovnanie::Vlavo);
        t.AddColumn(QLatin1Char(' ') + name + QLatin1Char(' '), Zarovnanie::Vlavo);
        t.AddColumn(QStringLiteral(" 2:1 "), Zarovnanie::Stred);
        const QStringList cells = {QStringLiteral("1"), firstName, name, QStringLiteral("2:1")};
        for (int c = 0; c < cells.size(); ++c)
            t.GridCell(1, c, cells.at(c));
    }
    int Width(int column) const
    {
        return t.ColumnRightEdge(column) - (column ? t.ColumnRightEdge(column - 1) : 0);
    }
};

TEST(PrintedTable, ATableWiderThanThePaperIsFittedFirstByItsFontAndTheAirBesideItsTexts)
{
    // 12 800 twips estimated in the 150 font; the paper has 9 520 between its margins.
    WideTable w(QStringLiteral("Futbalový klub ") + QString(43, QLatin1Char('m')));
    EXPECT_EQ(w.s.m_tooWide, 0);
    EXPECT_EQ(w.t.CellFontHeight(), CTabulka::kNajmensiePismo);
    EXPECT_LE(w.t.ColumnRightEdge(3), CTabulka::kPravyOkraj - 1000);
    // Both names whole, each inside its column.
    for (int c : {1, 2}) {
        const auto* text =
            w.s.FindText(c == 2 ? w.name : QStringLiteral("Futbalový klub ") + QString(43, 'm'));
        ASSERT_NE(text, nullptr) << c;
        EXPECT_LE(58 * CTabulka::kNajmensiePismo / 2 + 50, w.Width(c)) << c;
    }
}

// The grid alone, drawn cell by cell without the printouts' layout: a text it cannot hold is shortened
// inside its own column rather than printed over the next (the printouts wrap their texts first).
TEST(PrintedTable, ATableTooWideEvenSoPrintsAt7PtAndShortensOnlyItsWidestText)
{
    const QString huge = QString(200, QLatin1Char('w'));
    WideTable w(huge);
    EXPECT_GT(w.s.m_tooWide, 0);
    EXPECT_EQ(w.t.CellFontHeight(), CTabulka::kNajmensiePismo);
    EXPECT_LE(w.t.ColumnRightEdge(3), CTabulka::kPravyOkraj - 1000);
    // The number, the score and the other name keep their samples' width (60 twips a character now)
    // and print whole.
    EXPECT_GE(w.Width(0), 3 * 60);
    EXPECT_GE(w.Width(3), 5 * 60);
    EXPECT_NE(w.s.FindText(QStringLiteral("1")), nullptr);
    EXPECT_NE(w.s.FindText(w.name), nullptr);
    EXPECT_NE(w.s.FindText(QStringLiteral("2:1")), nullptr);
    // The huge name is shortened inside its own column, its end marked.
    int shortened = 0;
    for (const auto& text : w.s.Texts())
        if (text.text.startsWith(QLatin1Char('w'))) {
            ++shortened;
            EXPECT_TRUE(text.text.endsWith(QChar(0x2026)));
            EXPECT_LE(text.rect.x() + 60 * text.text.size(), w.t.LeftMargin() + w.t.ColumnRightEdge(1));
            EXPECT_EQ(text.clip.x() + text.clip.width(), w.t.LeftMargin() + w.t.ColumnRightEdge(1));
        }
    EXPECT_EQ(shortened, 1);
}

TEST(PrintedTable, BordersCanBeLeftOffForOneCellOnly)
{
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Vlavo);
    t.SetBorders(false, false, false, false);
    t.GridCell(1, 0, QStringLiteral("bez"));
    EXPECT_TRUE(s.Lines().isEmpty());
    t.GridCell(2, 0, QStringLiteral("s"));
    EXPECT_EQ(s.Lines().size(), 4);
    t.SetBorders(true, false, true, false);
    t.GridCell(3, 0, QStringLiteral("bočné"));
    EXPECT_EQ(s.Lines().size(), 6);
}

TEST(PrintedTable, RowZeroIsBoldAndOtherRowsAreNot)
{
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Vlavo);
    t.GridCell(0, 0, QStringLiteral("Klub"));
    t.GridCell(1, 0, QStringLiteral("Slovan"));
    t.GridCellEx(2, 0, QStringLiteral("Nadpis"), Zarovnanie::Vlavo, 700);
    EXPECT_EQ(s.FindText(QStringLiteral("Klub"))->font.weight, 700);
    EXPECT_EQ(s.FindText(QStringLiteral("Slovan"))->font.weight, 400);
    EXPECT_EQ(s.FindText(QStringLiteral("Nadpis"))->font.weight, 700);
}

TEST(PrintedTable, HeaderLinesNotesAndTheFootHaveTheirPlaces)
{
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.RuledLine(QStringLiteral("Kraj - Zväz"));
    t.SeasonLine(QStringLiteral("Sezóna - 2011"));
    t.TitleLine(QStringLiteral("Výsledná tabuľka"));
    t.HeadingLine(QStringLiteral("Slovan"), 1);
    t.AddColumn(QStringLiteral("0123456789"), Zarovnanie::Vlavo);
    t.GridCell(1, 0, QStringLiteral("x"));
    t.Note(QStringLiteral("Slovan:"), QStringLiteral("pokuta"));
    t.PageFoot(QStringLiteral("Kraj - Zväz"), 2, 3);

    const auto* ruled = s.FindText(QStringLiteral("Kraj - Zväz"));
    EXPECT_EQ(BottomOf(ruled->rect), 700);
    EXPECT_EQ(ruled->font.weight, 700);
    EXPECT_EQ(s.Lines().first().from, QPoint(1000, 700));
    EXPECT_EQ(s.Lines().first().to, QPoint(10520, 700));
    EXPECT_EQ(s.FindText(QStringLiteral("Sezóna - 2011"))->rect.y(), 900);
    EXPECT_EQ(s.FindText(QStringLiteral("Sezóna - 2011"))->font.height, 180);
    EXPECT_EQ(s.FindText(QStringLiteral("Výsledná tabuľka"))->rect.y(), 1300);
    EXPECT_EQ(s.FindText(QStringLiteral("Výsledná tabuľka"))->font.weight, 500);
    EXPECT_EQ(s.FindText(QStringLiteral("Slovan"))->rect.y(), 1000);
    const int lastLine = 1700 + 2 * 225 - 20;
    EXPECT_EQ(s.FindText(QStringLiteral("Slovan:"))->rect.y(), lastLine + 400);
    EXPECT_EQ(s.FindText(QStringLiteral("pokuta"))->rect.y(), lastLine + 700);

    const auto* pageNumber = s.FindText(QStringLiteral("Stránka 2/3"));
    ASSERT_NE(pageNumber, nullptr);
    EXPECT_EQ(pageNumber->rect.x() + pageNumber->rect.width(), 10520);
    EXPECT_EQ(pageNumber->rect.y(), 15400);
    const auto texts = s.Texts();
    const auto& product = texts.last();
    EXPECT_TRUE(product.text.startsWith(QStringLiteral("  Spracované programom Agenda Mirak od ")));
    EXPECT_TRUE(product.opaque);
    EXPECT_EQ(product.font.height, 100);
    EXPECT_EQ(Middle(product.rect).y(), 15200);
    EXPECT_EQ(Middle(product.rect).x(), 1000 + (10520 - 1000) / 2);
}

CZoznam Cards(int rows)
{
    CZoznam list;
    list.AddColumn(QStringLiteral("#"), Zarovnanie::Vlavo, 20);
    list.AddColumn(QStringLiteral("Meno"), Zarovnanie::Vlavo, 150);
    list.AddColumn(QStringLiteral("Spolu"), Zarovnanie::Stred, 50);
    // Groups of 20 rows: separator, title, 18 players.
    for (int r = 0; r < rows; ++r) {
        const int group = r / 20, inGroup = r % 20;
        if (inGroup == 0)
            list.AddRow({QString(), QString(), QString()});
        else if (inGroup == 1)
            list.AddRow({QString(), QStringLiteral("Klub %1").arg(group + 1), QString()});
        else
            list.AddRow({QString::number(inGroup - 1), QStringLiteral("Hráč %1").arg(r),
                         QString::number(inGroup % 4)});
    }
    return list;
}

QStringList TextsOf(const CZaznamovaPlocha& s)
{
    QStringList out;
    for (const auto& t : s.Texts())
        out << t.text;
    return out;
}

TEST(PrintedTable, AGroupedListOf120RowsPrintsOnThreePagesRepeatingTheOpenGroup)
{
    const CZoznam list = Cards(120);
    EXPECT_EQ(CTabulka::GroupedPageCount(list), 3);
    QVector<QStringList> pages;
    QVector<CZaznamovaPlocha> surfaces;
    for (int p = 1; p <= 3; ++p) {
        surfaces.append(Surface30());
        CTabulka t(surfaces.last());
        t.PrintList(p, list);
        pages.append(TextsOf(surfaces.last()));
    }
    // Page 1: rows 1..50; row 0 (a separator) prints nothing.
    EXPECT_EQ(pages.at(0).first(), QStringLiteral("Klub 1"));
    EXPECT_TRUE(pages.at(0).contains(QStringLiteral("Hráč 50")));
    EXPECT_FALSE(pages.at(0).contains(QStringLiteral("Hráč 51")));
    // Page 2 starts at row 51, inside the group of "Klub 3": its title and header come first.
    EXPECT_EQ(pages.at(1).mid(0, 4), (QStringList{"Klub 3", "#", "Meno", "Spolu"}));
    EXPECT_EQ(pages.at(1).at(4), QStringLiteral("10"));
    EXPECT_EQ(pages.at(1).at(5), QStringLiteral("Hráč 51"));
    EXPECT_TRUE(pages.at(1).contains(QStringLiteral("Hráč 99")));
    // Page 3: rows 101..119.
    EXPECT_EQ(pages.at(2).first(), QStringLiteral("Klub 6"));
    EXPECT_TRUE(pages.at(2).contains(QStringLiteral("Hráč 119")));
    EXPECT_FALSE(pages.at(2).contains(QStringLiteral("Hráč 100")));

    // The repeated title is bold, without borders and not cut to its column.
    const auto title = surfaces[1].Texts().first();
    EXPECT_EQ(title.font.weight, 700);
    // Not cut to its column: only at the paper's right margin.
    EXPECT_EQ(title.clip.right() + 1, CTabulka::kPravyOkraj);
    EXPECT_GT(title.clip.width(), 3000);
    // A title row later on the page: an empty grid row for the separator, then title and header.
    const auto* klub4 = surfaces[1].FindText(QStringLiteral("Klub 4"));
    ASSERT_NE(klub4, nullptr);
    const int row = (BottomOf(klub4->rect) + 20 - 1700) / 225 - 1;
    const auto texts = surfaces[1].Texts();
    const auto& header = texts.at(TextsOf(surfaces[1]).indexOf(QStringLiteral("Klub 4")) + 1);
    EXPECT_EQ(header.text, QStringLiteral("#"));
    EXPECT_EQ((BottomOf(header.rect) + 20 - 1700) / 225 - 1, row + 1);
}

TEST(PrintedTable, AGroupsTitleNeverStandsAloneAtTheFootOfAPage)
{
    // 23 grid rows a page: the first group takes 21 (title, header, 18 players, the separator), so
    // the second group's title and header would fill the page with none of its players under them.
    const CZoznam list = Cards(60);
    const QVector<int> starts = CTabulka::ListPages(list, 23);
    ASSERT_GE(starts.size(), 2);
    EXPECT_EQ(starts.at(0), 1);
    EXPECT_EQ(starts.at(1), 21);
    CZaznamovaPlocha first = Surface30();
    CTabulka t(first);
    t.PrintList(1, list, starts);
    EXPECT_EQ(first.FindText(QStringLiteral("Klub 2")), nullptr);
    CZaznamovaPlocha second = Surface30();
    CTabulka t2(second);
    t2.PrintList(2, list, starts);
    const QStringList texts = TextsOf(second);
    EXPECT_EQ(texts.count(QStringLiteral("Klub 2")), 1);
    EXPECT_EQ(texts.mid(0, 5), (QStringList{"Klub 2", "#", "Meno", "Spolu", "1"}));
}

TEST(PrintedTable, AFlatListPrintsFiftyRowsAPageUnderItsHeader)
{
    CZoznam list;
    list.AddColumn(QStringLiteral("#"), Zarovnanie::Stred, 20);
    list.AddColumn(QStringLiteral("Hráč"), Zarovnanie::Vlavo, 150);
    for (int r = 0; r < 60; ++r)
        list.AddRow({QString::number(r + 1), QStringLiteral("Hráč s dlhým menom %1").arg(r + 1)});
    EXPECT_EQ(CTabulka::FlatPageCount(list), 2);
    CZaznamovaPlocha s = Surface30();
    CTabulka t(s);
    t.PrintList(2, list);
    const QStringList texts = TextsOf(s);
    EXPECT_EQ(texts.mid(0, 4), (QStringList{"#", "Hráč", "51", "Hráč s dlhým menom 51"}));
    EXPECT_EQ(texts.size(), 2 + 10 * 2);
    // The name column is as wide as the longest name (plus two blanks) across the whole list.
    EXPECT_EQ(t.ColumnRightEdge(1) - t.ColumnRightEdge(0),
              40 * QStringLiteral("Hráč s dlhým menom 60  ").size());
    EXPECT_TRUE(s.FindText(QStringLiteral("51"))->flags & TextFlag::HCenter);
}

} // namespace
