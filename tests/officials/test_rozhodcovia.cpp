// Referees and delegates, nominations with their clash check and marks, and the marks statistics.

#include "db/CZaznamy.h"
#include "db/kody.h"
#include "officials/nominacie.h"
#include "officials/rozhodcovia.h"
#include "officials/znamky.h"
#include "output/CReportGenerator.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

class Officials : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(Db(), QStringLiteral("I. trieda"));
        m_a = AddClub(Db(), m_competition, QStringLiteral("Slovan"), 1);
        m_b = AddClub(Db(), m_competition, QStringLiteral("Inter"), 2);
    }
    CDatabaza& Db() { return m_doc.Database(); }
    int Official(const CRegister& reg, const QString& meno, const QString& priezvisko, int skupina = 0,
                 const QString& mark = QString())
    {
        CUdajeFunkcionara d;
        d.meno = meno;
        d.priezvisko = priezvisko;
        d.skupina = skupina;
        d.znamka = mark;
        return SaveOfficial(Db(), reg, 0, d);
    }
    int Match(int round, const QDateTime& when, int home = -1, int away = -1)
    {
        const int id = AddMatch(Db(), m_competition, round, home < 0 ? m_a : home, away < 0 ? m_b : away);
        Db().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"), {when, id});
        return id;
    }
    int m_competition = 0, m_a = 0, m_b = 0;
};

TEST_F(Officials, RegistersCheckNamesAndKeepTestMarksWithinOneToTen)
{
    const CRegister& reg = CRegister::Referees();
    CUdajeFunkcionara d;
    d.meno = QStringLiteral("Al");
    d.priezvisko = QStringLiteral("Novák");
    EXPECT_EQ(ValidateOfficial(reg, d)->first, QStringLiteral("Zadajte meno rozhodcu"));
    d.meno = QStringLiteral("Alan");
    d.priezvisko = QStringLiteral("No");
    EXPECT_EQ(ValidateOfficial(CRegister::Delegates(), d)->first,
              QStringLiteral("Zadajte priezvisko delegáta"));

    EXPECT_EQ(TestMark(QStringLiteral("11")), 0.0f);
    EXPECT_EQ(TestMark(QStringLiteral("0.5")), 0.0f);
    EXPECT_EQ(TestMark(QStringLiteral("7,5")), 7.5f);
    EXPECT_EQ(TestMark(QString()), 0.0f);
    const int id =
        Official(reg, QStringLiteral("Ján"), QStringLiteral("Novák"), m_competition, QStringLiteral("7,5"));
    EXPECT_FLOAT_EQ(Db().Value(QStringLiteral("select znamka from trozhodci where ID=?"), {id}).toFloat(),
                    7.5f);
    EXPECT_EQ(ZnamkaTextom(7.5), QStringLiteral("7.5"));
    EXPECT_EQ(ZnamkaTextom(7), QStringLiteral("7"));
    EXPECT_EQ(ZnamkaTextom(0.5), QString());
    const int bad =
        Official(reg, QStringLiteral("Peter"), QStringLiteral("Malý"), m_competition, QStringLiteral("11"));
    EXPECT_EQ(OfficialsList(Db(), reg).Text(OfficialsList(Db(), reg).FindRow(bad), 5), QString());
}

TEST_F(Officials, ListsAreGroupedByCompetitionAndTheRosterNumbersThrough)
{
    const CRegister& reg = CRegister::Referees();
    const int second = AddCompetition(Db(), QStringLiteral("II. trieda"));
    const int third = AddCompetition(Db(), QStringLiteral("Dorast"));
    for (int s : {m_competition, second, third})
        for (int i = 0; i < 2; ++i)
            Official(reg, QStringLiteral("Rozhodca"), QStringLiteral("Číslo %1-%2").arg(s).arg(i), s);
    Official(CRegister::Delegates(), QStringLiteral("Delegát"), QStringLiteral("Jeden"), second);
    const CZoznam list = OfficialsList(Db(), reg);
    ASSERT_EQ(list.RowCount(), 7);
    EXPECT_EQ(list.Text(0, 0), QStringLiteral("I. trieda"));
    EXPECT_EQ(list.Text(1, 1), QStringLiteral("2"));
    EXPECT_EQ(list.Text(2, 1), QStringLiteral("1"));
    EXPECT_EQ(list.rows.last().id, 0);
    EXPECT_EQ(OfficialsList(Db(), CRegister::Delegates()).RowCount(), 2);

    CTlacSupisky roster(Db(), reg);
    const auto page = RecordPages(roster).first();
    EXPECT_NE(page.FindText(QStringLiteral("6")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Dorast")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("12min. beh [m]")), nullptr);
}

TEST_F(Officials, RemovingAnOfficialRemovesHisNominations)
{
    const int referee = Official(CRegister::Referees(), QStringLiteral("Ján"), QStringLiteral("Novák"));
    const int delegate = Official(CRegister::Delegates(), QStringLiteral("Peter"), QStringLiteral("Delegát"));
    const int m1 = Match(1, QDateTime(QDate(2011, 8, 6), QTime(17, 0)));
    const int m2 = Match(2, QDateTime(QDate(2011, 8, 13), QTime(17, 0)));
    SetNomination(Db(), m1, kNominaciaHR, referee);
    SetNomination(Db(), m2, kNominaciaAR2, referee);
    SetNomination(Db(), m2, kNominaciaDZ, delegate);
    EXPECT_TRUE(RemoveOfficial(m_doc, CRegister::Referees(), referee));
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tnominacie")).toInt(), 1);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from trozhodci")).toInt(), 1);
}

TEST_F(Officials, NominationsWithinAnHourClash)
{
    const int r = Official(CRegister::Referees(), QStringLiteral("Ján"), QStringLiteral("Novák"));
    const int at15 = Match(1, QDateTime(QDate(2011, 8, 6), QTime(15, 0)));
    const int at16 = Match(1, QDateTime(QDate(2011, 8, 6), QTime(16, 0)));
    const int at1530 = Match(2, QDateTime(QDate(2011, 8, 6), QTime(15, 30)));
    SetNomination(Db(), at15, kNominaciaHR, r);
    EXPECT_FALSE(Conflict(Db(), r, at16, kNominaciaHR));
    EXPECT_TRUE(Conflict(Db(), r, at1530, kNominaciaHR));
    EXPECT_TRUE(Conflict(Db(), r, at15, kNominaciaAR1));
    EXPECT_FALSE(Conflict(Db(), r, at15, kNominaciaHR));
    SetNomination(Db(), at1530, kNominaciaAR1, r);
    const QVector<CNominacia> rows = Nominations(Db(), QStringLiteral("08-06-2011"));
    ASSERT_EQ(rows.size(), 3);
    for (const CNominacia& n : rows) {
        if (n.matchId == at15) {
            EXPECT_FALSE(n.conflictFree[0]);
            EXPECT_EQ(n.names[0], QStringLiteral("J. Novák"));
        }
        if (n.matchId == at1530) {
            EXPECT_FALSE(n.conflictFree[1]);
        }
        if (n.matchId == at16) {
            EXPECT_TRUE(n.conflictFree[0]);
        }
    }
    SetNomination(Db(), at1530, kNominaciaAR1, kZiadnyRozhodca);
    SetNomination(Db(), at16, kNominaciaAR1, kZiadnyRozhodca);
    EXPECT_EQ(Db().Value(QStringLiteral("select count(*) from tnominacie")).toInt(), 1);
}

TEST_F(Officials, MarksAreStoredAsTypedAndShownShort)
{
    const int r = Official(CRegister::Referees(), QStringLiteral("Ján"), QStringLiteral("Novák"));
    const int d = Official(CRegister::Delegates(), QStringLiteral("Pavol"), QStringLiteral("Delegát"));
    const int m = Match(1, QDateTime(QDate(2011, 8, 6), QTime(17, 0)));
    EXPECT_FALSE(StoreMark(Db(), m, kNominaciaHR, QStringLiteral("7")));
    EXPECT_EQ(SetNomination(Db(), m, kNominaciaHR, r), QStringLiteral("J. Novák"));
    EXPECT_TRUE(StoreMark(Db(), m, kNominaciaHR, QStringLiteral("7,5")));
    EXPECT_EQ(Nominations(Db(), kVsetkyZapasy).first().marks[0], QStringLiteral("7.5"));
    StoreMark(Db(), m, kNominaciaHR, QStringLiteral("7"));
    EXPECT_EQ(Nominations(Db(), kVsetkyZapasy).first().marks[0], QStringLiteral("7"));
    StoreMark(Db(), m, kNominaciaHR, QString());
    EXPECT_EQ(Nominations(Db(), kVsetkyZapasy).first().marks[0], QString());
    SetNomination(Db(), m, kNominaciaDZ, d);
    EXPECT_TRUE(StoreDelegateNote(Db(), m, QStringLiteral("prišiel neskoro")));
    EXPECT_EQ(Nominations(Db(), kVsetkyZapasy).first().note, QStringLiteral("prišiel neskoro"));
    EXPECT_EQ(OfficialChoices(Db(), kNominaciaDZ).RowCount(), 2);
    EXPECT_EQ(OfficialChoices(Db(), kNominaciaAR1).rows.last().id, kZiadnyRozhodca);
    EXPECT_EQ(NominatedOfficial(Db(), m, kNominaciaDZ), d);
}

TEST_F(Officials, DaysListTheirMatchesByCompetitionAndByesAreLeftOut)
{
    const int other = AddCompetition(Db(), QStringLiteral("Dorast"));
    const int c = AddClub(Db(), other, QStringLiteral("Dorast A"), 1);
    const int d = AddClub(Db(), other, QStringLiteral("Dorast B"), 2);
    Match(2, QDateTime(QDate(2011, 8, 7), QTime(10, 0)), c, d);
    Match(1, QDateTime(QDate(2011, 8, 6), QTime(17, 0)));
    Match(1, QDateTime(QDate(2011, 8, 6), QTime(15, 0)), m_b, m_a);
    Match(1, QDateTime(QDate(2011, 8, 6), QTime(15, 0)), m_a, 0);
    const auto items = DateItems(Db());
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items.at(0).key, QStringLiteral("08-06-2011"));
    EXPECT_EQ(items.last().text, kVsetkyZapasy);
    const QVector<CNominacia> day = Nominations(Db(), items.at(0).key);
    ASSERT_EQ(day.size(), 2);
    EXPECT_EQ(day.at(0).home, QStringLiteral("Slovan"));
    EXPECT_EQ(day.at(0).roundLabel, QStringLiteral("1. kolo"));
    EXPECT_EQ(day.at(1).roundLabel, QString());
    EXPECT_EQ(day.at(0).competition, QStringLiteral("I. trieda"));
    const QVector<CNominacia> all = Nominations(Db(), kVsetkyZapasy);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all.at(0).home, QStringLiteral("Inter"));
    EXPECT_EQ(all.at(2).competition, QStringLiteral("Dorast"));

    const QStringList grid = NominationGridRows(all);
    EXPECT_TRUE(grid.at(0).startsWith(QStringLiteral("[%bold%]1. kolo|[%bold%]I. trieda|")));
    EXPECT_TRUE(grid.contains(QStringLiteral("[%separator%]|||||||")));
    const QString html = ExportNominations(Db(), all).Text();
    EXPECT_EQ(html.count(QStringLiteral("<table")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("</table>\r\n<br /><table")));

    CReportGenerator report;
    ASSERT_TRUE(report.LoadTemplate(QStringLiteral(MIRAK_SOURCE_DIR "/rpt/nominacie.rpt")));
    ASSERT_TRUE(FillNominationReport(report, Db(), all));
    EXPECT_EQ(report.LayoutPages(), 1);
    CZaznamovaPlocha page;
    report.DrawPage(page, 1);
    EXPECT_NE(page.FindText(QStringLiteral("Nominácie rozhodcov v sezóne ")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Dorast A")), nullptr);
    EXPECT_NE(page.FindText(QStringLiteral("Strana 1/1")), nullptr);
}

TEST_F(Officials, AClubNameWithTagsPrintsAsTypedOnTheNominationsSheet)
{
    const QString odd = QStringLiteral("FK [%separator%] Hviezda | B");
    Db().Execute(QStringLiteral("update tkluby set nazov=? where ID=?"), {odd, m_a});
    Db().Execute(
        QStringLiteral("insert into tsezona (nazov, kraj, zvaz) values ('2025 [%italic%]', 'Kraj', 'Zväz')"));
    const int m = Match(1, QDateTime(QDate(2011, 8, 6), QTime(17, 0)));
    const QStringList names = {QStringLiteral("Adam"), QStringLiteral("Bárta"), QStringLiteral("Cíger")};
    for (int f = kNominaciaHR; f <= kNominaciaAR2; ++f)
        SetNomination(Db(), m, f, Official(CRegister::Referees(), QStringLiteral("Ján"), names.at(f - 1)));
    SetNomination(Db(), m, kNominaciaDZ,
                  Official(CRegister::Delegates(), QStringLiteral("Pavol"), QStringLiteral("Dlhý")));
    CReportGenerator report;
    ASSERT_TRUE(report.LoadTemplate(QStringLiteral(MIRAK_SOURCE_DIR "/rpt/nominacie.rpt")));
    ASSERT_TRUE(FillNominationReport(report, Db(), Nominations(Db(), kVsetkyZapasy)));
    ASSERT_EQ(report.LayoutPages(), 1);
    CZaznamovaPlocha page;
    report.DrawPage(page, 1);
    ASSERT_NE(page.FindText(odd), nullptr);
    EXPECT_FALSE(page.FindText(odd)->font.italic);
    for (const QString& official : {QStringLiteral("J. Adam"), QStringLiteral("J. Bárta"),
                                    QStringLiteral("J. Cíger"), QStringLiteral("P. Dlhý")})
        EXPECT_NE(page.FindText(official), nullptr) << official.toStdString();
    EXPECT_NE(page.FindText(QStringLiteral("Nominácie rozhodcov v sezóne 2025 [%italic%]")), nullptr);
}

TEST_F(Officials, TheStatisticsAverageEveryMarkAndCanCountTheTest)
{
    const CRegister& reg = CRegister::Referees();
    const int r = Official(reg, QStringLiteral("Ján"), QStringLiteral("Novák"), 0, QStringLiteral("7"));
    const int m1 = Match(1, QDateTime(QDate(2011, 8, 6), QTime(17, 0)));
    const int m2 = Match(2, QDateTime(QDate(2011, 8, 13), QTime(17, 0)));
    SetNomination(Db(), m1, kNominaciaHR, r);
    SetNomination(Db(), m2, kNominaciaHR, r);
    StoreMark(Db(), m1, kNominaciaHR, QStringLiteral("8"));
    StoreMark(Db(), m2, kNominaciaHR, QStringLiteral("9"));
    CZoznam off = MarkStatistics(Db(), false);
    ASSERT_EQ(off.RowCount(), 1);
    EXPECT_EQ(off.Text(0, 4), QStringLiteral("8.5"));
    EXPECT_EQ(off.Text(0, 2), QStringLiteral("7"));
    EXPECT_EQ(MarkStatistics(Db(), true).Text(0, 4), QStringLiteral("8"));

    // Two 8s in the same function: both count.
    StoreMark(Db(), m2, kNominaciaHR, QStringLiteral("8"));
    EXPECT_EQ(MarkStatistics(Db(), false).Text(0, 3), QStringLiteral("8 ; 8"));
    const int m3 = Match(3, QDateTime(QDate(2011, 8, 20), QTime(17, 0)));
    SetNomination(Db(), m3, kNominaciaAR1, r);
    StoreMark(Db(), m3, kNominaciaAR1, QStringLiteral("5"));
    EXPECT_EQ(MarkStatistics(Db(), false).Text(0, 4), QStringLiteral("7")); // (8 + 8 + 5) / 3
    // A nomination not marked yet is no mark: the last match of the week does not pull him down.
    const int m4 = Match(4, QDateTime(QDate(2011, 8, 27), QTime(17, 0)));
    SetNomination(Db(), m4, kNominaciaAR2, r);
    EXPECT_EQ(MarkStatistics(Db(), false).Text(0, 4), QStringLiteral("7"));
    EXPECT_EQ(MarkStatistics(Db(), false).Text(0, 3), QStringLiteral("5 ; 8 ; 8"));
    Db().Execute(QStringLiteral("update tnominacie set znamka=NULL where IDzapasu=?"), {m4});
    EXPECT_EQ(MarkStatistics(Db(), false).Text(0, 4), QStringLiteral("7"));

    // Lowest first, then those nominated but not marked; never nominated and delegates do not appear.
    const int better = Official(reg, QStringLiteral("Peter"), QStringLiteral("Lepší"));
    const int waiting =
        Official(reg, QStringLiteral("Nový"), QStringLiteral("Čakajúci"), 0, QStringLiteral("6"));
    Official(reg, QStringLiteral("Nikdy"), QStringLiteral("Nenominovaný"));
    const int delegate = Official(CRegister::Delegates(), QStringLiteral("Pavol"), QStringLiteral("Delegát"));
    SetNomination(Db(), m1, kNominaciaAR1, better);
    StoreMark(Db(), m1, kNominaciaAR1, QStringLiteral("7.96"));
    SetNomination(Db(), m2, kNominaciaAR2, waiting);
    SetNomination(Db(), m1, kNominaciaDZ, delegate);
    const CZoznam list = MarkStatistics(Db(), false);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Text(1, 1), QStringLiteral("Peter Lepší"));
    // 7.96 is the mark 8.0 as the lists show it, counted in tenths.
    EXPECT_EQ(list.Text(1, 4), QStringLiteral("8"));
    EXPECT_EQ(list.rows.at(1).id, 80);
    EXPECT_EQ(list.Text(0, 0), QStringLiteral("1"));
    EXPECT_EQ(list.Text(2, 1), QStringLiteral("Nový Čakajúci"));
    EXPECT_EQ(list.Text(2, 2), QStringLiteral("6"));
    EXPECT_EQ(list.Text(2, 3), QString());
    EXPECT_EQ(list.Text(2, 4), QString());
    // Counted, his test mark is a mark: he is ranked by it.
    const CZoznam withTest = MarkStatistics(Db(), true);
    EXPECT_EQ(withTest.Text(0, 1), QStringLiteral("Nový Čakajúci"));
    EXPECT_EQ(withTest.Text(0, 4), QStringLiteral("6"));

    EXPECT_TRUE(TestMarkCounts(Db()));
    SetTestMarkCounts(Db(), false);
    EXPECT_FALSE(TestMarkCounts(Db()));
}

TEST_F(Officials, ClashFlagsOfAWholeListAreThoseOfTheOneNominationQuery)
{
    QRandomGenerator random(61);
    QVector<int> referees;
    for (int i = 0; i < 6; ++i)
        referees << Official(CRegister::Referees(), QStringLiteral("Ján"),
                             QStringLiteral("Rozhodca%1").arg(i));
    const int delegate = Official(CRegister::Delegates(), QStringLiteral("Pavol"), QStringLiteral("Delegát"));
    // Matches on three days at times 30 minutes apart, some exactly an hour apart.
    QVector<int> matches;
    for (int i = 0; i < 40; ++i) {
        const QDateTime when(QDate(2011, 8, 6 + random.bounded(3)),
                             QTime(14, 0).addSecs(1800 * random.bounded(6)));
        matches << Match(1 + i / 4, when);
    }
    for (int m : matches)
        for (int f = kNominaciaHR; f <= kNominaciaDZ; ++f)
            if (random.bounded(3) > 0)
                SetNomination(Db(), m, f, f == kNominaciaDZ ? delegate : referees.at(random.bounded(6)));
    int clashes = 0;
    for (const CPolozkaDatumu& day : DateItems(Db())) {
        const QVector<CNominacia> rows = Nominations(Db(), day.key);
        for (const CNominacia& n : rows)
            for (int f = 0; f < 4; ++f) {
                const int official = NominatedOfficial(Db(), n.matchId, f + 1);
                const bool expected = official == 0 || !Conflict(Db(), official, n.matchId, f + 1);
                EXPECT_EQ(n.conflictFree[f], expected) << day.text.toStdString() << " match " << n.matchId;
                clashes += expected ? 0 : 1;
            }
    }
    EXPECT_GT(clashes, 5); // the case is not a trivial one
}

TEST_F(Officials, ASeasonOfMarksRunsOverSeveralLinesOfItsColumnAndNothingIsLost)
{
    CZoznam list;
    list.columns = MarkColumns();
    QStringList all;
    for (int r = 0; r < 30; ++r) {
        QStringList marks;
        for (int m = 0; m < 10 + r; ++m)
            marks << QString::number(5 + (r + m) % 5) + (m % 2 ? QStringLiteral(".5") : QString());
        all << marks.join(QStringLiteral(" ; "));
        list.AddRow({QString::number(r + 1), QStringLiteral("Rozhodca %1").arg(r + 1), QString(), all.last(),
                     QStringLiteral("7.2")});
    }
    CTlacZnamok printout(Db(), list);
    const QVector<CZaznamovaPlocha> pages = RecordPages(printout);
    ASSERT_GE(pages.size(), 2); // 25 officials a page at most, fewer with long rows
    int official = 0;
    for (const CZaznamovaPlocha& page : pages) {
        const auto texts = page.Texts();
        const CZaznamovaPlocha::Zaznam* header = page.FindText(QStringLiteral("známky zo zápasov"));
        ASSERT_NE(header, nullptr);
        // The officials down the page, and the marks' lines in their column.
        QVector<QPair<int, QString>> names, marks;
        for (const auto& t : texts) {
            if (t.text.startsWith(QStringLiteral("Rozhodca ")))
                names.append({t.rect.y(), t.text});
            else if (t.clip.x() == header->clip.x() && &t != header && t.text != header->text &&
                     !t.text.isEmpty())
                marks.append({t.rect.y(), t.text});
        }
        std::sort(names.begin(), names.end());
        std::sort(marks.begin(), marks.end());
        EXPECT_LE(names.size(), 25);
        for (int n = 0; n < names.size(); ++n) {
            ASSERT_EQ(names.at(n).second, QStringLiteral("Rozhodca %1").arg(official + 1));
            const int top = names.at(n).first;
            const int bottom = n + 1 < names.size() ? names.at(n + 1).first : INT_MAX;
            QStringList lines;
            for (const auto& [y, text] : marks)
                if (y >= top && y < bottom)
                    lines << text;
            EXPECT_EQ(lines.join(QLatin1Char(' ')).replace(QChar(0xa0), QLatin1Char(' ')), all.at(official))
                << official;
            // A line breaks after a mark's separator, never inside a mark.
            for (const QString& line : lines.mid(0, lines.size() - 1))
                EXPECT_TRUE(line.endsWith(QStringLiteral(";"))) << line.toStdString();
            if (official == 29) {
                EXPECT_GT(lines.size(), 1);
            }
            ++official;
        }
    }
    EXPECT_EQ(official, 30);
}

} // namespace
