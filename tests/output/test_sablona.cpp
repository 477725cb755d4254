// Report templates: reading the lines, filling fields and grids, laying out the pages and drawing
// them (on a recording surface, in twips: 1440 to the inch).

#include "output/CQtPlocha.h"
#include "output/CReportGenerator.h"
#include "output/CZaznamovaPlocha.h"
#include "output/kodovanie.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList TextsOf(const CZaznamovaPlocha& s)
{
    QStringList out;
    for (const auto& t : s.Texts())
        out << t.text;
    return out;
}

// A 7 x 2 inch grid "g" with 5 rows per inch and the given columns.
QString Grid(const QString& name, const QString& columns, double top = 1, double bottom = 3)
{
    return QStringLiteral("report_grid:0.5,%1,7.5,%2,,%3,0,1,0.01,0,0,1,0.01,0,0,0,0,0,0,5,%4")
        .arg(top)
        .arg(bottom)
        .arg(name, columns);
}

TEST(ReportTemplate, LinesAreReadWithEscapesMissingParametersAndSkippedJunk)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines(
        {QStringLiteral("report_label:1,1,3,1.5,A\\commaB\\colonC,lab,0,Arial CE,100,1,0,0,0,255,1"),
         QStringLiteral("report_field:1,2,3,2.5,Prvé\\newlineDruhé,pole"),
         QStringLiteral("; a comment: with a colon: or two"), QStringLiteral(""),
         QStringLiteral("report_circle:1,1,2,2"),
         QStringLiteral("report_box:x,1,2,2,,box,0,1,abc,0,0,1,65280"),
         QStringLiteral("report_picture:1,1,2,2,neexistuje.bmp,obrazok,0,1,0.01,0,0;;"),
         QStringLiteral("report_picture:1,1,2,2,neexistuje.bmp,obrazok2,0,1,0.01,0,0")},
        0));
    ASSERT_EQ(r.SectionCount(), 1);
    const auto& objects = r.Sections().front()->objects;
    ASSERT_EQ(objects.size(), 5u);
    const CDrawObject& label = *objects.at(0);
    EXPECT_EQ(label.kind, kLabel);
    EXPECT_EQ(label.text, QStringLiteral("A,B:C"));
    EXPECT_EQ(label.size, 100);
    EXPECT_EQ(label.bold, 1);
    EXPECT_EQ(label.colour, 255);
    EXPECT_EQ(label.format, 1);
    const CDrawObject& field = *objects.at(1);
    EXPECT_EQ(field.text, QStringLiteral("Prvé\r\nDruhé"));
    EXPECT_EQ(field.size, 0);
    EXPECT_EQ(field.fontName, QString());
    const CDrawObject& box = *objects.at(2);
    EXPECT_EQ(box.kind, kBox);
    EXPECT_EQ(box.left, 0.0);
    EXPECT_EQ(box.border.width, 0.0);
    EXPECT_EQ(box.fillColour, 65280);
    // Two trailing semicolons change nothing on a picture line.
    const CDrawObject& p1 = *objects.at(3);
    const CDrawObject& p2 = *objects.at(4);
    EXPECT_EQ(p1.kind, kPicture);
    EXPECT_EQ(p1.border.colour, p2.border.colour);
    EXPECT_EQ(p1.border.style, p2.border.style);
    EXPECT_EQ(p1.text, p2.text);
    EXPECT_TRUE(p1.image.isNull());

    CReportGenerator empty;
    EXPECT_FALSE(empty.LoadSectionFromLines({QStringLiteral("nič:tu"), QStringLiteral("report_box")}, 0));
    EXPECT_EQ(empty.SectionCount(), 0);
}

TEST(ReportTemplate, TextsGoIntoFieldsOnlyAndLabelsShowThePageNumber)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines(
        {QStringLiteral("report_field:1,0.5,7,1,Šablóna,Nadpis,0,Arial CE,140,0,0,0,0,0,0"),
         QStringLiteral("report_label:1,10,7,10.5,Strana [%page%],Strana,0,Arial CE,100,0,0,0,0,0,2"),
         Grid(QStringLiteral("g"), QStringLiteral("7#Arial CE#90#0#0#0#0#0#0#Stĺpec"))},
        0));
    r.ClearValues();
    r.SetFieldText(QStringLiteral("Nadpis"), QStringLiteral("[%bold%]Nominácie"));
    r.SetFieldText(QStringLiteral("Strana"), QStringLiteral("prepísaný štítok"));
    r.SetFieldText(QStringLiteral("neznáme"), QStringLiteral("nič"));
    QStringList rows;
    for (int i = 0; i < 15; ++i)
        rows << QStringLiteral("riadok %1").arg(i);
    ASSERT_TRUE(r.SetGridRows(QStringLiteral("g"), rows));
    ASSERT_EQ(r.LayoutPages(), 2);
    CZaznamovaPlocha page2;
    r.DrawPage(page2, 2);
    const auto* number = page2.FindText(QStringLiteral("Strana 2"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->font.height, 200); // 10 points in twips, as the cell height
    EXPECT_TRUE(number->font.cellHeight);
    EXPECT_TRUE(number->flags & TextFlag::Right);
    const auto* title = page2.FindText(QStringLiteral("Nominácie"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font.weight, 700);
    EXPECT_EQ(title->rect, QRect(1440, 720, 6 * 1440, 720));
    EXPECT_TRUE(TextsOf(page2).contains(QStringLiteral("riadok 14")));
    EXPECT_FALSE(TextsOf(page2).contains(QStringLiteral("riadok 9")));
}

TEST(ReportTemplate, ACellTooLongForItsLineTakesTheRowsJoinedToItAndALabelCountsThePages)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines(
        {QStringLiteral(
             "report_label:1,10,7,10.5,Strana [%page%]/[%pages%],Strana,0,Arial CE,100,0,0,0,0,0,2"),
         Grid(QStringLiteral("g"), QStringLiteral("1.5#Arial CE#90#0#0#0#0#0#4|0#Arial CE#90#0#0#0#0#0#4"))},
        0));
    const QString name = QStringLiteral("Telovýchovná jednota Družstevník Horné Zálužie nad Ondavou K7q");
    const QString row = name + QStringLiteral("|Šťastný-Ďurovčík");
    const int span = r.GridRowLines(QStringLiteral("g"), row);
    EXPECT_GE(span, 2);
    EXPECT_EQ(r.GridRowLines(QStringLiteral("g"), QStringLiteral("FK Inter|Ján")), 1);
    QStringList rows = {row};
    for (int i = 1; i < span; ++i)
        rows << CReportGenerator::JoinedRow();
    for (int i = 0; i < 10; ++i)
        rows << QStringLiteral("Ďalší %1|riadok").arg(i);
    ASSERT_TRUE(r.SetGridRows(QStringLiteral("g"), rows));
    ASSERT_EQ(r.LayoutPages(), 2);

    // Measured as the printer measures.
    CZaznamovaPlocha page;
    page.m_metrics = [](const CPismo& f) { return PrintMetrics(f); };
    page.m_widths = [](const CPismo& f, const QString& text) {
        return QFontMetricsF(PrintFont(f)).horizontalAdvance(text);
    };
    r.DrawPage(page, 1);
    ASSERT_NE(page.FindText(QStringLiteral("Strana 1/2")), nullptr);
    // The name in lines within its cell and the rows it spans, read in order; the next row below it.
    const int top = 1440, rowHeight = 288;
    QStringList lines;
    int bottom = 0;
    for (const auto& t : page.Texts()) {
        if (!name.contains(t.text) || t.rect.left() > 720 + 1.5 * 1440)
            continue;
        lines << t.text;
        const QRectF ink(t.rect.left(), t.rect.top(),
                         QFontMetricsF(PrintFont(t.font)).horizontalAdvance(t.text), t.rect.height());
        EXPECT_LE(ink.right(), 720 + 1.5 * 1440) << t.text.toStdString();
        EXPECT_GE(ink.top(), top) << t.text.toStdString();
        EXPECT_LE(ink.bottom(), top + span * rowHeight) << t.text.toStdString();
        bottom = std::max(bottom, t.rect.bottom());
    }
    EXPECT_EQ(lines.join(QLatin1Char(' ')), name);
    EXPECT_GE(lines.size(), 2);
    ASSERT_NE(page.FindText(QStringLiteral("Ďalší 0")), nullptr);
    EXPECT_GE(page.FindText(QStringLiteral("Ďalší 0"))->rect.top(), top + span * rowHeight);
    // The double name breaks after a hyphen, not inside a word.
    EXPECT_NE(page.FindText(QStringLiteral("Šťastný-Ďurovčík")), nullptr);
    for (const auto& t : page.Texts())
        EXPECT_FALSE(t.text.contains(QChar(0x2026))) << t.text.toStdString();
}

TEST(ReportTemplate, ATwoInchGridAtFiveRowsPerInchPages25RowsOntoThree)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines(
        {Grid(QStringLiteral("g"), QStringLiteral("3#Arial CE#90|0#Arial CE#90"))}, 0));
    QStringList rows;
    for (int i = 0; i < 25; ++i)
        rows << QStringLiteral("a%1|b%1").arg(i);
    ASSERT_TRUE(r.SetGridRows(QStringLiteral("g"), rows));
    EXPECT_EQ(r.GridRowCount(QStringLiteral("g"), 0), 25);
    ASSERT_EQ(r.LayoutPages(), 3);
    CZaznamovaPlocha third;
    r.DrawPage(third, 3);
    EXPECT_EQ(TextsOf(third),
              (QStringList{"a20", "b20", "a21", "b21", "a22", "b22", "a23", "b23", "a24", "b24"}));
    // Row height 1440/5 = 288 twips; the first row of the page at the grid's top.
    EXPECT_EQ(third.Texts().at(0).rect.y(), 1440);
    EXPECT_EQ(third.Texts().at(2).rect.y(), 1440 + 288);
    EXPECT_TRUE(third.Texts().at(0).flags & TextFlag::VCenter);
}

TEST(ReportTemplate, AZeroWidthColumnTakesWhatTheOthersLeave)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines(
        {QStringLiteral(
            "report_grid:0,1,7,3,,g,0,0,0,0,0,0,0,0,0,0,0,0,0,5,1#Arial CE#0|0#Arial CE#0|2#Arial CE#0")},
        0));
    ASSERT_TRUE(r.SetGridRows(QStringLiteral("g"), {QStringLiteral("a|b|c")}));
    r.LayoutPages();
    CZaznamovaPlocha s;
    r.DrawPage(s, 1);
    const auto texts = s.Texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts.at(0).rect.x(), 0);
    EXPECT_EQ(texts.at(1).rect.x(), 1440);
    EXPECT_EQ(texts.at(1).rect.width(), 4 * 1440);
    EXPECT_EQ(texts.at(2).rect.x(), 5 * 1440);
}

TEST(ReportTemplate, SeparatorRowsAndCellTagsDrawAsTold)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines(
        {Grid(QStringLiteral("g"), QStringLiteral("3#Arial CE#90|0#Arial CE#90"))}, 0));
    r.SetGridRows(QStringLiteral("g"),
                  {QStringLiteral("[%bold%]Hlava|[%italic%][%bold%]Oboje"), QStringLiteral("[%separator%]|"),
                   QStringLiteral("[%double-separator%]"), QStringLiteral("[%bold-separator%]")});
    r.LayoutPages();
    CZaznamovaPlocha s;
    r.DrawPage(s, 1);
    EXPECT_EQ(s.FindText(QStringLiteral("Hlava"))->font.weight, 700);
    EXPECT_EQ(s.FindText(QStringLiteral("Oboje"))->font.weight, 400);
    EXPECT_TRUE(s.FindText(QStringLiteral("Oboje"))->font.italic);
    // Frame, one column line, and 1 + 2 + 1 separator lines.
    const auto lines = s.Lines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.at(1).from.y(), 1440 + 288 + 72);
    EXPECT_EQ(lines.at(2).from.y(), 1440 + 2 * 288 + 72);
    EXPECT_EQ(lines.at(3).from.y(), 1440 + 2 * 288 + 144);
    EXPECT_EQ(lines.at(4).pen->width, 36);
}

TEST(ReportTemplate, TextFromUsersPrintsAsTypedAndRowLinesOnlyUnderData)
{
    CReportGenerator r;
    // Row lines on: property 15 of the grid.
    ASSERT_TRUE(r.LoadSectionFromLines(
        {QStringLiteral(
             "report_grid:0.5,1,7.5,3,,g,0,0,0,0,0,0,0,0,0,1,0.01,0,0,5,3#Arial CE#90|0#Arial CE#90"),
         QStringLiteral("report_field:0.5,0.2,7.5,0.5,,Nadpis,0,Arial CE,100,0,0,0,0,0,0")},
        0));
    const QString club = QStringLiteral("FK [%separator%] Hviezda | B [%italic%] \\ [x]");
    r.SetGridRows(QStringLiteral("g"), {CReportGenerator::Literal(club) + QStringLiteral("|[%bold%]Ján"),
                                        QStringLiteral("[%separator%]|"), QStringLiteral("Ďalší|riadok")});
    r.SetFieldText(QStringLiteral("Nadpis"),
                   CReportGenerator::Literal(QStringLiteral("Sezóna [%bold%]2025")));
    r.LayoutPages();
    CZaznamovaPlocha s;
    r.DrawPage(s, 1);
    const auto* name = s.FindText(club);
    ASSERT_NE(name, nullptr) << "the row was split or taken for a separator";
    EXPECT_FALSE(name->font.italic);
    EXPECT_EQ(s.FindText(QStringLiteral("Ján"))->font.weight, 700);
    ASSERT_NE(s.FindText(QStringLiteral("Sezóna [%bold%]2025")), nullptr);
    EXPECT_EQ(s.FindText(QStringLiteral("Sezóna [%bold%]2025"))->font.weight, 400);
    // One separator line; row lines under the two rows of data only.
    const auto lines = s.Lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0).from.y(), 1440 + 288);
    EXPECT_EQ(lines.at(1).from.y(), 1440 + 288 + 72);
    EXPECT_EQ(lines.at(2).from.y(), 1440 + 3 * 288);

    // Rows per inch beyond any integer, or beyond what a page can draw, do no harm.
    for (const char* perInch : {"2147483647", "99999999999999", "-5"}) {
        CReportGenerator big;
        ASSERT_TRUE(big.LoadSectionFromLines(
            {QStringLiteral("report_grid:0,0,7,9,,g,0,0,0,0,0,0,0,0,0,0,0,0,0,%1,1#Arial CE#90")
                 .arg(QLatin1String(perInch))},
            0));
        big.SetGridRows(QStringLiteral("g"), {QStringLiteral("a"), QStringLiteral("b")});
        EXPECT_GE(big.LayoutPages(), 1) << perInch;
        CZaznamovaPlocha page;
        big.DrawPage(page, 1);
    }
}

TEST(ReportTemplate, FirstAndLastPageSectionsTakeTheirShareOfTheRows)
{
    CReportGenerator r;
    const QString col = QStringLiteral("7#Arial CE#90");
    ASSERT_TRUE(r.LoadSectionFromLines({Grid(QStringLiteral("g"), col)}, 0));
    // A first-page grid of 1 inch (5 rows), a last-page grid of 1.2 inches (6 rows).
    ASSERT_TRUE(r.LoadSectionFromLines({Grid(QStringLiteral("g"), col, 1, 2)}, 2));
    ASSERT_TRUE(r.LoadSectionFromLines({Grid(QStringLiteral("g"), col, 1, 2.2)}, 1));
    EXPECT_FALSE(r.LoadSectionFromLines({Grid(QStringLiteral("g"), col)}, 1));
    ASSERT_EQ(r.SectionCount(), 3);
    EXPECT_EQ(r.Sections().front()->type, 1);
    EXPECT_EQ(r.Sections().back()->type, 2);
    // Another body section goes before the last-page section.
    ASSERT_TRUE(r.LoadSectionFromLines({QStringLiteral("report_label:1,1,2,2,Koniec,k")}, 0));
    EXPECT_EQ(r.Sections().at(2)->type, 0);
    EXPECT_EQ(r.Sections().back()->type, 2);

    QStringList rows;
    for (int i = 0; i < 29; ++i)
        rows << QString::number(i);
    ASSERT_TRUE(r.SetGridRows(QStringLiteral("g"), rows));
    // First page: 6 rows; body: 29 - 6 = 23, 23 mod 10 = 3 go to the last page; body keeps 20.
    EXPECT_EQ(r.GridRowCount(QStringLiteral("g"), 0), 6);
    EXPECT_EQ(r.GridRowCount(QStringLiteral("g"), 1), 20);
    EXPECT_EQ(r.GridRowCount(QStringLiteral("g"), 3), 3);
    // First page, two body pages, the label section, the last page.
    EXPECT_EQ(r.LayoutPages(), 5);
    CZaznamovaPlocha last;
    r.DrawPage(last, 5);
    EXPECT_EQ(TextsOf(last), (QStringList{"26", "27", "28"}));
}

TEST(ReportTemplate, ASectionWhoseGridGotNoRowsIsNotPrinted)
{
    CReportGenerator r;
    ASSERT_TRUE(r.LoadSectionFromLines({Grid(QStringLiteral("g"), QStringLiteral("7#Arial CE#90")),
                                        QStringLiteral("report_label:1,1,2,2,Nadpis,n")},
                                       0));
    EXPECT_EQ(r.LayoutPages(), 0);
    EXPECT_FALSE(r.SetGridRows(QStringLiteral("iný"), {QStringLiteral("x")}));
    CReportGenerator noGrid;
    ASSERT_TRUE(noGrid.LoadSectionFromLines({QStringLiteral("report_label:1,1,2,2,Nadpis,n")}, 0));
    EXPECT_EQ(noGrid.LayoutPages(), 1);
}

TEST(ReportTemplate, AMissingTemplateSaysWhyAndTheShippedOneHasWhatTheNominationsFill)
{
    CReportGenerator r;
    EXPECT_FALSE(r.LoadTemplate(QStringLiteral("/neexistuje/nominacie.rpt")));
    EXPECT_FALSE(r.LastError().isEmpty());

    ASSERT_TRUE(r.LoadTemplate(QStringLiteral(MIRAK_SOURCE_DIR "/rpt/nominacie.rpt")))
        << r.LastError().toStdString();
    EXPECT_EQ(r.GetTemplateName(), QStringLiteral("nominacie.rpt"));
    EXPECT_EQ(r.ObjectKind(QStringLiteral("Nadpis"), 0), kField);
    EXPECT_EQ(r.ObjectKind(QStringLiteral("Kraj"), 0), kField);
    EXPECT_EQ(r.ObjectKind(QStringLiteral("nominacie"), 0), kGrid);
    for (const auto& o : r.Sections().front()->objects) {
        if (o->name == QStringLiteral("nominacie")) {
            EXPECT_EQ(static_cast<const CDrawGrid&>(*o).columns.size(), 8u);
        }
    }
    // Read as Windows-1250.
    bool found = false;
    for (const auto& o : r.Sections().front()->objects)
        found = found || o->text == QStringLiteral("Spracované programom Agenda Mirak");
    EXPECT_TRUE(found);
}

TEST(ReportTemplate, SavedFuzzInputsReadWithoutHarm)
{
    const QDir corpus(QStringLiteral(MIRAK_SOURCE_DIR "/fuzz/corpus"));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile f(corpus.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        CReportGenerator r;
        r.LoadSectionFromText(ZWindows1250(f.readAll()), 0);
        r.SetGridRows(QStringLiteral("nominacie"),
                      {QStringLiteral("a|b|c"), QStringLiteral("[%separator%]")});
        const int pages = r.LayoutPages();
        for (int p = 1; p <= std::min(pages, 3); ++p) {
            CZaznamovaPlocha s;
            r.DrawPage(s, p);
        }
        SUCCEED() << name.toStdString();
    }
}

} // namespace
