// Every printout of a full season on paper: every text inside the page, every column of the tables
// whole. Measured with the printer's own fonts.

#include "cli/vystupy.h"
#include "competition/rozpis.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "discipline/karty.h"
#include "officials/nominacie.h"
#include "output/CQtPlocha.h"
#include "output/CZaznamovaPlocha.h"
#include "output/strankovanie.h"
#include "pomocnik.h"
#include "results/prepocet.h"
#include "results/tabulka.h"
#include "results/vysledky.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

// Where a text record really stands on the paper: its line laid out in its box by its flags, cut at
// its clip.
QRectF Drawn(const CZaznamovaPlocha::Zaznam& t, QRectF* uncut = nullptr)
{
    const QFontMetricsF m(PrintFont(t.font));
    const double width = m.horizontalAdvance(t.text);
    const double height = m.height();
    double x = t.rect.left();
    if (t.flags & Qt::AlignRight)
        x = t.rect.left() + t.rect.width() - width;
    else if (t.flags & Qt::AlignHCenter)
        x = t.rect.left() + (t.rect.width() - width) / 2;
    double y = t.rect.top();
    if (t.flags & Qt::AlignBottom)
        y = t.rect.top() + t.rect.height() - height;
    else if (t.flags & Qt::AlignVCenter)
        y = t.rect.top() + (t.rect.height() - height) / 2;
    const QRectF line(x, y, width, height);
    if (uncut)
        *uncut = line;
    return t.clip.isValid() ? line.intersected(QRectF(t.clip)) : line;
}

const QString kDlhy = QStringLiteral("Dlhočizný futbalový klub ") + QStringLiteral("Ďaleko ").repeated(30);

class Paper : public SeasonTest
{
protected:
    void SetUp() override
    {
        SeasonTest::SetUp();
        const QString path = NewDemoSeason(QStringLiteral("plna.mdb"), 2, 20, 30);
        ASSERT_TRUE(m_doc.OpenSeasonFile(path));
        CDatabaza& db = m_doc.Database();
        // Names as long as they come, and one far longer than any real club's.
        db.Execute(QStringLiteral("update tkluby set nazov=? where ID=1"),
                   {QStringLiteral("TJ Družstevník Popudinské Močidľany 1931")});
        db.Execute(
            QStringLiteral("update tkluby set nazov=? where ID=(select min(ID) from tkluby where skupina=2)"),
            {kDlhy});
        db.Execute(
            QStringLiteral("update thraci set meno=?, priezvisko=? where ID in (select IDhraca from tzkarty "
                           "limit 3)"),
            {QStringLiteral("Maximilián"), QStringLiteral("Šťastný-Ďurovčík-Novák")});
        db.Execute(QStringLiteral("update tsutaze set nazov=? where ID=1"),
                   {QStringLiteral("I. trieda dospelí ObFZ Trnava – skupina Juh")});
        db.Execute(QStringLiteral(
                       "update trozhodci set priezvisko=? where ID in (select ID from trozhodci limit 2)"),
                   {QStringLiteral("Šťastný-Ďurovčík")});
    }

    // Checks every page of the printout; returns the pages for further looks.
    QVector<CZaznamovaPlocha> Check(CTlacovina& printout, const std::string& what)
    {
        ChooseOrientation(printout);
        const QVector<CZaznamovaPlocha> pages = RecordPages(
            printout, [](const CPismo& f) { return PrintMetrics(f); },
            [](const CPismo& f, const QString& text) {
                return QFontMetricsF(PrintFont(f)).horizontalAdvance(text);
            });
        EXPECT_FALSE(pages.isEmpty()) << what;
        for (int p = 0; p < pages.size(); ++p) {
            const QRectF paper(QPointF(0, 0), QSizeF(pages.at(p).PageSize()));
            QVector<QPair<QRectF, QString>> seen;
            for (const auto& t : pages.at(p).Texts()) {
                QRectF uncut;
                const QRectF drawn = Drawn(t, &uncut);
                EXPECT_TRUE(drawn.isEmpty() || paper.contains(drawn))
                    << what << " page " << p + 1 << ": \"" << t.text.toStdString() << "\" at " << drawn.x()
                    << "," << drawn.y() << " " << drawn.width() << "x" << drawn.height();
                // Whole, and clear of every other text: nothing cut off, nothing printed over.
                EXPECT_LT(uncut.width() - drawn.width(), 1.0)
                    << what << " page " << p + 1 << ": \"" << t.text.toStdString() << "\" cut";
                const QRectF ink = drawn.adjusted(1, 1, -1, -1);
                for (const auto& [other, text] : seen)
                    EXPECT_FALSE(!ink.isEmpty() && ink.intersects(other))
                        << what << " page " << p + 1 << ": \"" << t.text.toStdString() << "\" over \""
                        << text.toStdString() << "\"";
                if (!t.text.trimmed().isEmpty())
                    seen.append({drawn, t.text});
                // Long names of a real season are printed whole; only the name no club has is shortened
                // (a title wrapped to its second line keeps but a piece of it).
                EXPECT_FALSE(t.text.endsWith(QChar(0x2026)) && !t.text.contains(kDlhy.left(12)) &&
                             !kDlhy.contains(t.text.chopped(1)))
                    << what << " page " << p + 1 << ": \"" << t.text.toStdString() << "\" shortened";
            }
            for (const auto& l : pages.at(p).Lines())
                EXPECT_TRUE(paper.contains(QPointF(l.from)) && paper.contains(QPointF(l.to)))
                    << what << " page " << p + 1 << ": a line off the paper";
        }
        return pages;
    }
    // A header text printed whole (not cut by its cell).
    static bool Whole(const QVector<CZaznamovaPlocha>& pages, const QString& text)
    {
        for (const auto& page : pages)
            for (const auto& t : page.Texts())
                if (t.text == text) {
                    QRectF uncut;
                    const QRectF drawn = Drawn(t, &uncut);
                    return qAbs(drawn.width() - uncut.width()) < 1;
                }
        return false;
    }
};

TEST_F(Paper, EveryPrintoutOfAFullSeasonStaysOnThePaperWithAllItsColumns)
{
    CDatabaza& db = m_doc.Database();
    int checked = 0;
    // The second competition has the club with the name no paper holds.
    for (int competition = 1; competition <= 2; ++competition)
        for (auto it = Outputs().constBegin(); it != Outputs().constEnd(); ++it) {
            const std::string name = it.key().toStdString() + " " + std::to_string(competition);
            CVyber v;
            v.competition = competition;
            v.thresholds = m_doc.StopRounds();
            v.round = it.key() == QStringLiteral("zk-stop") ? 30 : kVsetkyKola;
            if (it.key() == QStringLiteral("hraci"))
                v.club = db.Value(QStringLiteral("select min(ID) from tkluby where skupina=?"), {competition})
                             .toInt();
            const auto printout = it.value().printout(db, v);
            const QVector<CZaznamovaPlocha> pages = Check(*printout, name);
            ++checked;
            if (it.key() == QStringLiteral("zk") || it.key() == QStringLiteral("ck")) {
                // The last of the 38 rounds and "Spolu" are there, whole, at 7 pt on portrait paper.
                EXPECT_TRUE(Whole(pages, QStringLiteral("38"))) << name;
                EXPECT_TRUE(Whole(pages, QStringLiteral("Spolu"))) << name;
            } else if (it.key() != QStringLiteral("nominacie")) { // the nominations sheet is drawn across
                EXPECT_FALSE(printout->Landscape()) << name;
            }
            if (it.key() == QStringLiteral("znamky")) {
                EXPECT_TRUE(Whole(pages, QStringLiteral("výsledná známka")));
            }
            // Four rounds a page as ever; the club whose name no line holds takes more lines, and pages.
            if (it.key() == QStringLiteral("vysledky") || it.key() == QStringLiteral("rozpis")) {
                if (competition == 1)
                    EXPECT_EQ(pages.size(), (38 + 3) / 4) << name;
                else
                    EXPECT_GE(pages.size(), (38 + 3) / 4) << name;
            }
        }
    EXPECT_EQ(checked, 2 * Outputs().size());
    // One club's registers too (a flat list).
    for (const CDruhKariet kind : {CDruhKariet::Zlte, CDruhKariet::Cervene}) {
        CTlacKariet one(db, 1, 1, kind, CardRegister(db, 1, 1, kind, m_doc.StopRounds()));
        Check(one, "one club");
    }
}

TEST_F(Paper, ARegisterOfFewerRoundsFitsAPortraitPageAndKeepsItsFont)
{
    // Fourteen clubs, 26 rounds: the yellow-card register fits A4 portrait.
    const QString path = NewDemoSeason(QStringLiteral("mensia.mdb"), 1, 14, 22);
    ASSERT_TRUE(m_doc.OpenSeasonFile(path));
    CDatabaza& db = m_doc.Database();
    CTlacKariet yellow(db, 1, kVsetkyKluby, CDruhKariet::Zlte,
                       CardRegister(db, 1, kVsetkyKluby, CDruhKariet::Zlte, m_doc.StopRounds()));
    const auto pages = Check(yellow, "26 rounds");
    EXPECT_FALSE(yellow.Landscape());
    EXPECT_TRUE(Whole(pages, QStringLiteral("Spolu")));
    EXPECT_TRUE(Whole(pages, QStringLiteral("26")));
}

TEST(Pagination, GroupsFillAPageAndTheOnesThatDoNotFitGoOn)
{
    const auto sizes = [](const QVector<CStranaSkupin>& pages) {
        QStringList out;
        for (const CStranaSkupin& page : pages) {
            QStringList parts;
            for (const CUsekSkupiny& p : page)
                parts << QStringLiteral("%1%2:%3+%4")
                             .arg(p.continued ? QStringLiteral("~") : QString())
                             .arg(p.group)
                             .arg(p.from)
                             .arg(p.count);
            out << parts.join(QLatin1Char(' '));
        }
        return out.join(QStringLiteral(" | "));
    };
    const CSkupinaRiadkov round{1, QVector<int>(7, 1)}; // a round of 14 clubs
    // Four rounds a page where they fit.
    EXPECT_EQ(sizes(PagesOfGroups(QVector<CSkupinaRiadkov>(6, round), 50, 4)),
              QStringLiteral("0:0+7 1:0+7 2:0+7 3:0+7 | 4:0+7 5:0+7"));
    // Fewer where they do not: a round never split while a page can hold it whole.
    const CSkupinaRiadkov big{1, QVector<int>(15, 1)};
    EXPECT_EQ(sizes(PagesOfGroups(QVector<CSkupinaRiadkov>(4, big), 50, 4)),
              QStringLiteral("0:0+15 1:0+15 2:0+15 | 3:0+15"));
    // Taller than a page: continued, heading again; a row of several lines is never split.
    const CSkupinaRiadkov tall{1, {1, 1, 3, 1, 1, 1}};
    EXPECT_EQ(sizes(PagesOfGroups({tall}, 5, 4)), QStringLiteral("0:0+2 | ~0:2+2 | ~0:4+2"));
    // Nothing at all: one page.
    EXPECT_EQ(PagesOfGroups({}, 50, 4).size(), 1);
}

TEST_F(Paper, MatchListsOfEverySizePrintEveryMatchOnThePaper)
{
    for (const int clubs : {4, 14, 20, 25, 30, 40}) {
        const QString path = NewDemoSeason(QStringLiteral("kluby-%1.mdb").arg(clubs), 1, clubs, 11);
        CLigaroDoc doc(m_user);
        ASSERT_TRUE(doc.OpenSeasonFile(path));
        CDatabaza& db = doc.Database();
        // A note of a scheduled match long enough to wrap, and a match moved to another day.
        db.Execute(
            QStringLiteral(
                "update tzapasy set poznamka2=? where ID=(select min(ID) from tzapasy where klub2>0)"),
            {QStringLiteral(
                "Hrá sa na ihrisku s umelou trávou v susednej obci, príchod hráčov hodinu pred zápasom")});
        db.Execute(QStringLiteral(
            "update tzapasy set cas='2025-10-22 17:30:00' where ID=(select max(ID) from tzapasy where "
            "kolo=2 and klub2>0)"));
        const int matches = db.Value(QStringLiteral("select count(*) from tzapasy")).toInt();
        const int rounds = db.Value(QStringLiteral("select max(kolo) from tzapasy")).toInt();
        for (const bool results : {false, true}) {
            const std::string what = std::to_string(clubs) + (results ? " results" : " schedule");
            std::unique_ptr<CTlacovina> printout;
            if (results)
                printout = std::make_unique<CTlacVysledkov>(db, 1, kVsetkyKola);
            else
                printout = std::make_unique<CTlacRozpisu>(db, 1, kVsetkyKola);
            const QVector<CZaznamovaPlocha> pages = Check(*printout, what);
            // Every match once: its away club's cell ("- " in the schedule, the second column in the
            // results) stands on exactly one row of one page.
            int rows = 0;
            bool moved = false;
            for (int p = 0; p < pages.size(); ++p) {
                for (const auto& t : pages.at(p).Texts()) {
                    if (!results && t.text.startsWith(QStringLiteral("- ")))
                        ++rows;
                    if (results &&
                        (t.text == QStringLiteral(" : ") || t.text.contains(QStringLiteral(" : "))) &&
                        t.text.size() <= 9)
                        ++rows;
                    moved = moved || t.text.contains(QStringLiteral("22.10."));
                }
                EXPECT_NE(pages.at(p).FindText(QStringLiteral("Stránka %1/%2").arg(p + 1).arg(pages.size())),
                          nullptr)
                    << what;
            }
            // (a result row has two such cells: the score and the half-time)
            EXPECT_EQ(rows, results ? 2 * matches : matches) << what;
            EXPECT_TRUE(moved) << what;
            // Four rounds a page where they fit, never fewer pages than that.
            EXPECT_GE(pages.size(), (rounds + 3) / 4) << what;
            if (clubs <= 20) {
                EXPECT_EQ(pages.size(), (rounds + 3) / 4) << what;
            }
        }
    }
}

TEST_F(Paper, LongSanctionsPrintWholeAndGoOnToASecondPage)
{
    CDatabaza& db = m_doc.Database();
    RecalculateCompetition(db, 1);
    const QString decision =
        QStringLiteral("Disciplinárna komisia uložila klubu pokutu a odpočet bodov za "
                       "neoprávnený štart hráča v zápase %1. kola;\nrozhodnutie nadobudlo "
                       "právoplatnosť dňom doručenia (DK %1/2025)");
    db.Execute(
        QStringLiteral("update tbody set trest=?||ID where skupina=1 and ID in (select ID from tbody where "
                       "skupina=1 limit 14)"),
        {decision});
    db.Execute(QStringLiteral("update tbody set trest=replace(trest, '%1', ID) where skupina=1"));
    CTlacTabulky printout(db, 1);
    const QVector<CZaznamovaPlocha> pages = Check(printout, "sanctions");
    ASSERT_EQ(pages.size(), 2);
    QString all;
    for (const auto& page : pages)
        for (const auto& t : page.Texts())
            all += t.text + QLatin1Char(' ');
    CPrikaz q(db, QStringLiteral("select ID from tbody where skupina=1 and trest<>''"));
    int sanctions = 0;
    while (q.Step()) {
        ++sanctions;
        EXPECT_TRUE(all.contains(QStringLiteral("(DK %1/2025)").arg(q.Int64(0)))) << q.Int64(0);
    }
    EXPECT_EQ(sanctions, 14);
    // The table whole on the first page.
    EXPECT_NE(pages.first().FindText(QStringLiteral("20")), nullptr);
}

TEST(NominationSheet, ADayThatGoesOnOverAPageHasItsHeadingAgain)
{
    QVector<CNominacia> rows;
    for (int i = 0; i < 10; ++i) {
        CNominacia n;
        n.matchId = i + 1;
        n.competition = QStringLiteral("I. trieda");
        n.roundLabel = i == 0 ? QStringLiteral("1. kolo") : QString();
        n.date = QStringLiteral("2. 8. 2025");
        n.home = QStringLiteral("Domáci %1").arg(i);
        n.away = QStringLiteral("Hostia %1").arg(i);
        rows.append(n);
    }
    const QStringList grid = NominationGridRows(rows, 6);
    // Six rows a page: each page begins with the day's heading, the second one marked as going on.
    ASSERT_GE(grid.size(), 12);
    EXPECT_TRUE(grid.at(0).startsWith(QStringLiteral("[%bold%]")));
    EXPECT_FALSE(grid.at(0).contains(QStringLiteral("(pokračovanie)")));
    EXPECT_TRUE(grid.at(6).startsWith(QStringLiteral("[%bold%]")));
    EXPECT_TRUE(grid.at(6).contains(QStringLiteral("(pokračovanie)")));
    int matches = 0;
    for (const QString& row : grid)
        matches += row.contains(QStringLiteral("Domáci ")) ? 1 : 0;
    EXPECT_EQ(matches, 10);
}

} // namespace
