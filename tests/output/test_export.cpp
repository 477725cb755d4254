// HTML pages: the frame byte for byte, tables, the export of lists, escaping and encoding, and the
// save flow with its extension rule.

#include "db/kody.h"
#include "output/CMyExport.h"
#include "output/CZoznam.h"
#include "output/kodovanie.h"
#include "pomocnik.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QByteArray Cp1250(const char* utf8)
{
    return DoWindows1250(QString::fromUtf8(utf8));
}

int Occurrences(const QString& text, const QString& what)
{
    return static_cast<int>(text.count(what));
}

TEST(HtmlPage, ATwoColumnTableIsWrittenByteForByte)
{
    CMyExport page;
    page.BeginPage(QStringLiteral("Trnavský kraj - ObFZ Senica"), QStringLiteral("Zoznam klubov - I. trieda"),
                   QStringLiteral("Sezóna - 2011/2012"));
    page.BeginTable(2, QStringLiteral("Jeseň"));
    page.HeadCell(0, QStringLiteral("Los"), Zarovnanie::Stred, 20);
    page.HeadCell(1, QStringLiteral("Názov klubu"), Zarovnanie::Vlavo, 200);
    page.Cell(0, QStringLiteral("1"), Zarovnanie::Stred);
    page.Cell(1, QStringLiteral("Slovan"), Zarovnanie::Vlavo);
    page.Cell(0, QString(), Zarovnanie::Stred);
    page.Cell(1, QStringLiteral("Inter"), Zarovnanie::Vlavo);
    page.EndTable();
    page.EndPage();

    const char* expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
        "<html>\r\n"
        "<head>\r\n"
        "<title>Zoznam klubov - I. trieda</title>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\" />\r\n"
        "<meta name=\"GENERATOR\" content=\"Program Agenda Mirak\">\r\n"
        "<style>\r\n"
        "BODY {PADDING-RIGHT: 10px; PADDING-LEFT: 10px; BACKGROUND: white; PADDING-BOTTOM: 30px; MARGIN: "
        "0px; FONT: "
        "80% Arial,\"Geneva CE\",lucida,sans-serif; COLOR: black; PADDING-TOP: 30px; TEXT-ALIGN: center}\r\n"
        "H1 { font-family : Verdana, Geneva, Arial, Helvetica, sans-serif; font-size : 12pt; color : Navy; "
        "font-weight : bold; margin-top : 20px;}\r\n"
        "H2 {color : Navy; font-family : Verdana, Geneva, Arial, Helvetica, sans-serif; font-size : 10pt; "
        "font-weight : bold;}\r\n"
        "P {color : Black; font-family : Verdana, Geneva, Arial, Helvetica, sans-serif; font-size : "
        "9pt;\tline-height "
        ": 150%;\tmargin-top : 10px;}\r\n"
        "HR {width : 100%; color : Black; height : 1px;}\r\n"
        "TABLE {border-color:silver; font-size : 10pt; border-width:1px; border-style:solid;}TD "
        "{border-color:silver; "
        "font-size : 10pt; border-width:1px; border-style:solid;}</style>\r\n"
        "</head>\r\n"
        "<body>\r\n"
        "<div>\r\n"
        "<p>Trnavský kraj - ObFZ Senica<hr/></p>\r\n"
        "<h1>Zoznam klubov - I. trieda</h1>\r\n"
        "<h2>Sezóna - 2011/2012</h2>\r\n"
        "<h2>Jeseň</h2>\r\n"
        "<table style=\"WIDTH: 584px; \" cellSpacing=\"0\" cellPadding=\"4\" width=\"584\" "
        "border=\"1px\">\r\n"
        "<tr>\r\n"
        "<td style=\"WIDTH: 20px\" vAlign=\"middle\" align=\"center\"><strong>Los</strong></td>\r\n"
        "<td style=\"WIDTH: 200px\" vAlign=\"middle\" align=\"left\"><strong>Názov klubu</strong></td>\r\n"
        "</tr>\r\n"
        "<tr>\r\n"
        "<td vAlign=\"middle\" align=\"center\" nowrap>1</td>\r\n"
        "<td vAlign=\"middle\" align=\"left\" nowrap>Slovan</td>\r\n"
        "</tr>\r\n"
        "<tr>\r\n"
        "<td vAlign=\"middle\" align=\"center\" nowrap>&nbsp;</td>\r\n"
        "<td vAlign=\"middle\" align=\"left\" nowrap>Inter</td>\r\n"
        "</tr>\r\n"
        "</table>\r\n"
        "</br></br>Spracované programom Agenda Mirak od <a href=\"http://www.kestrix.sk\" "
        "target=_blank>www.kestrix.sk</a></div></body>\r\n"
        "</html>";
    const QByteArray bytes = page.CopyText();
    EXPECT_EQ(bytes, Cp1250(expected));
    // Windows-1250 bytes: "ó" is 0xF3, "ň" 0xF2, "ý" 0xFD; nothing after "</html>".
    EXPECT_TRUE(bytes.contains("Sez\xF3na"));
    EXPECT_TRUE(bytes.contains("Jese\xF2"));
    EXPECT_TRUE(bytes.endsWith("</html>"));
}

TEST(HtmlPage, ShortTextsWriteNoHeadingsAndAMissingSeasonLeavesTheRuleAlone)
{
    CMyExport page;
    page.BeginPage(QString(), QStringLiteral("Tabuľka"), QStringLiteral("S"));
    page.BeginTable(1, QStringLiteral("X"));
    page.HeadCell(0, QString(), Zarovnanie::Stred, 20);
    page.EndTable();
    page.EndPage();
    const QString text = page.Text();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n<p><hr/></p>\r\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("<h2>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<strong></strong>")));

    CMyExport two;
    two.BeginPage(QString(), QStringLiteral("T"), QStringLiteral("Se"));
    two.BeginTable(1, QStringLiteral("Ab"));
    EXPECT_TRUE(two.Text().contains(QStringLiteral("<h2>Se</h2>\r\n<h2>Ab</h2>\r\n<table")));
}

TEST(HtmlPage, RowsCloseAfterTheLastColumnOnly)
{
    CMyExport page;
    page.BeginTable(9, QString());
    for (int c = 0; c < 9; ++c)
        page.Cell(c, QString::number(c), Zarovnanie::Stred);
    page.Cell(0, QStringLiteral("dalsi"), Zarovnanie::Stred);
    const QString text = page.Text();
    EXPECT_EQ(Occurrences(text, QStringLiteral("<tr>")), 2);
    EXPECT_EQ(Occurrences(text, QStringLiteral("</tr>")), 1);
    EXPECT_TRUE(text.contains(QStringLiteral(">8</td>\r\n</tr>\r\n<tr>\r\n")));
}

TEST(HtmlPage, DataIsEscapedAndProgramMarkupIsNot)
{
    CMyExport page;
    page.BeginPage(QStringLiteral("Kraj <b>"), QStringLiteral("Kluby \"A & B\""),
                   QStringLiteral("Sezóna - <2011>"));
    page.BeginTable(2, QStringLiteral("R&D"));
    page.Cell(0, QStringLiteral("A & B <script>"), Zarovnanie::Vlavo);
    page.CellHtml(1, QStringLiteral("Ján Novák 2<br />Peter Kováč <br />"), Zarovnanie::Vlavo);
    const QString text = page.Text();
    EXPECT_TRUE(text.contains(QStringLiteral("<title>Kluby &quot;A &amp; B&quot;</title>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<p>Kraj &lt;b&gt;<hr/></p>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<h2>Sezóna - &lt;2011&gt;</h2>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<h2>R&amp;D</h2>")));
    EXPECT_TRUE(text.contains(QStringLiteral("nowrap>A &amp; B &lt;script&gt;</td>")));
    EXPECT_TRUE(text.contains(QStringLiteral("nowrap>Ján Novák 2<br />Peter Kováč <br /></td>")));
    EXPECT_FALSE(text.contains(QStringLiteral("<script>")));
}

TEST(HtmlPage, CharactersOutsideTheCodePageBecomeCharacterReferences)
{
    EXPECT_EQ(DoWindows1250(QStringLiteral("Žilina ⚽ 😀 €")), QByteArray("\x8Eilina &#9917; &#128512; \x80"));
    EXPECT_EQ(ZWindows1250(QByteArray("\x8E\x9A\x9D\xBE")), QStringLiteral("Žšťľ"));
}

CZoznam CardList()
{
    CZoznam list;
    list.AddColumn(QStringLiteral("#"), Zarovnanie::Vlavo, 20);
    list.AddColumn(QStringLiteral("Meno"), Zarovnanie::Vlavo, 150);
    list.AddColumn(QStringLiteral("Spolu"), Zarovnanie::Stred, 50);
    return list;
}

TEST(HtmlPage, GroupedListsBecomeOneTablePerGroup)
{
    CZoznam list = CardList();
    list.AddRow({QString(), QString(), QString()});
    list.AddRow({QString(), QStringLiteral("Slovan"), QString()});
    list.AddRow({QStringLiteral("1"), QStringLiteral("Ján Novák"), QStringLiteral("3")});
    list.AddRow({QStringLiteral("2"), QStringLiteral("Peter Malý"), QStringLiteral("1")});
    list.AddRow({QString(), QString(), QString()});
    list.AddRow({QString(), QStringLiteral("Inter"), QString()});
    list.AddRow({QStringLiteral("-"), QStringLiteral("čistý register"), QString()});
    CMyExport page;
    page.ExportList(list, QStringLiteral("nepoužije sa"));
    const QString text = page.Text();
    EXPECT_EQ(Occurrences(text, QStringLiteral("<table")), 2);
    EXPECT_EQ(Occurrences(text, QStringLiteral("</table>")), 2);
    EXPECT_FALSE(text.contains(QStringLiteral("nepoužije sa")));
    const qsizetype second = text.indexOf(QStringLiteral("<h2>Inter</h2>"));
    ASSERT_GT(second, 0);
    EXPECT_TRUE(text.left(second).contains(QStringLiteral("<h2>Slovan</h2>")));
    // Two data rows and a header row in the first table; one data row and a header row in the second.
    EXPECT_EQ(Occurrences(text.left(second), QStringLiteral("<tr>")), 3);
    EXPECT_EQ(Occurrences(text.mid(second), QStringLiteral("<tr>")), 2);
    EXPECT_EQ(Occurrences(text, QStringLiteral("<strong>Spolu</strong>")), 2);
    EXPECT_TRUE(
        text.contains(QStringLiteral("style=\"WIDTH: 50px\" vAlign=\"middle\" align=\"center\"><strong>#")));

    CZoznam endsOnTitle = CardList();
    endsOnTitle.AddRow({QString(), QString(), QString()});
    endsOnTitle.AddRow({QString(), QStringLiteral("Slovan"), QString()});
    CMyExport titleOnly;
    titleOnly.ExportList(endsOnTitle, QString());
    EXPECT_EQ(Occurrences(titleOnly.Text(), QStringLiteral("<table")), 1);
    EXPECT_EQ(Occurrences(titleOnly.Text(), QStringLiteral("<tr>")), 1);
    EXPECT_EQ(Occurrences(titleOnly.Text(), QStringLiteral("</table>")), 1);

    CMyExport empty;
    empty.BeginPage(QString(), QStringLiteral("Prázdne"), QString());
    empty.ExportList(CardList(), QStringLiteral("Nič"));
    empty.EndPage();
    EXPECT_FALSE(empty.Text().contains(QStringLiteral("<table")));
    EXPECT_TRUE(empty.Text().endsWith(QStringLiteral("</html>")));
}

TEST(HtmlPage, AFlatListIsOneTableUnderItsHeading)
{
    CZoznam list = CardList();
    list.AddRow({QStringLiteral("1"), QStringLiteral("Ján Novák"), QStringLiteral("3")});
    list.AddRow({QStringLiteral("2"), QStringLiteral("Peter Malý"), QStringLiteral("1")});
    CMyExport page;
    page.ExportList(list, QStringLiteral("Slovan"));
    EXPECT_EQ(Occurrences(page.Text(), QStringLiteral("<h2>Slovan</h2>")), 1);
    EXPECT_EQ(Occurrences(page.Text(), QStringLiteral("<tr>")), 3);
    EXPECT_TRUE(page.Text().contains(QStringLiteral("align=\"center\" nowrap>Ján Novák</td>")));
}

TEST(HtmlPage, TheExtensionRuleAlwaysGivesAnHtmlName)
{
    EXPECT_EQ(ExportFileName(QStringLiteral("a")), QStringLiteral("a.html"));
    EXPECT_EQ(ExportFileName(QStringLiteral("a.HTML")), QStringLiteral("a.HTML"));
    EXPECT_EQ(ExportFileName(QStringLiteral("a.htm")), QStringLiteral("a.htm.html"));
    EXPECT_EQ(ExportFileName(QStringLiteral("a.txt")), QStringLiteral("a.txt.html"));
    EXPECT_EQ(ExportFileName(QStringLiteral("/tmp/x.y/tabulka")), QStringLiteral("/tmp/x.y/tabulka.html"));
}

class SaveFlow : public SeasonTest
{
protected:
    CMyExport Page()
    {
        CMyExport page;
        page.BeginPage(QStringLiteral("Kraj - Zväz"), QStringLiteral("Tabuľka"),
                       QStringLiteral("Sezóna - 2011"));
        page.EndPage();
        return page;
    }
};

TEST_F(SaveFlow, ThePageIsWrittenWholeAndShownOnRequest)
{
    const CMyExport page = Page();
    m_user.fileNames = {Path(QStringLiteral("tabulka"))};
    m_user.answers = {true};
    const QString written = SaveExportedPage(m_user, page, QStringLiteral("tabulka.html"));
    EXPECT_EQ(written, Path(QStringLiteral("tabulka.html")));
    EXPECT_EQ(m_user.proposedPaths, (QStringList{"tabulka.html"}));
    EXPECT_EQ(m_user.filters, (QStringList{kFilterHtml + QStringLiteral(";;") + kFilterCsv}));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), page.CopyText());
    EXPECT_EQ(m_user.questions, (QStringList{"Chcete zobraziť exportovaný súbor?"}));
    EXPECT_EQ(m_user.opened, (QStringList{written}));

    m_user.fileNames = {Path(QStringLiteral("ina.html"))};
    m_user.answers = {false};
    SaveExportedPage(m_user, page, QStringLiteral("tabulka.html"));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("ina.html"))));
    EXPECT_EQ(m_user.opened.size(), 1);
}

TEST_F(SaveFlow, CancelWritesNothingAndAnUnwritableFileAsksNothing)
{
    const CMyExport page = Page();
    EXPECT_TRUE(SaveExportedPage(m_user, page, QStringLiteral("x.html")).isEmpty());
    EXPECT_TRUE(m_user.questions.isEmpty());
    EXPECT_TRUE(m_user.messages.isEmpty());

    m_user.fileNames = {Path(QStringLiteral("neexistuje/x.html"))};
    EXPECT_TRUE(SaveExportedPage(m_user, page, QStringLiteral("x.html")).isEmpty());
    ASSERT_EQ(m_user.messages.size(), 1);
    EXPECT_TRUE(m_user.messages.at(0).startsWith(QStringLiteral("Súbor ")));
    EXPECT_TRUE(m_user.questions.isEmpty());
}

} // namespace
