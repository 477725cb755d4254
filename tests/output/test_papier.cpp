// Every printout of a full season on paper: every text inside the page, every column of the tables
// whole. Measured with the printer's own fonts.

#include "app/vystupy.h"
#include "db/kody.h"
#include "discipline/karty.h"
#include "output/CQtPlocha.h"
#include "output/CZaznamovaPlocha.h"
#include "pomocnik.h"

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
                // Long names of a real season are printed whole; only the name no club has is shortened.
                EXPECT_FALSE(t.text.endsWith(QChar(0x2026)) && !t.text.contains(kDlhy.left(12)))
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
                // The last of the 38 rounds and "Spolu" are there, whole; only a register turns the paper.
                EXPECT_TRUE(Whole(pages, QStringLiteral("38"))) << name;
                EXPECT_TRUE(Whole(pages, QStringLiteral("Spolu"))) << name;
                EXPECT_TRUE(printout->Landscape()) << name;
            } else if (it.key() != QStringLiteral("nominacie")) { // the nominations sheet is drawn across
                EXPECT_FALSE(printout->Landscape()) << name;
            }
            if (it.key() == QStringLiteral("znamky")) {
                EXPECT_TRUE(Whole(pages, QStringLiteral("výsledná známka")));
            }
            if (it.key() == QStringLiteral("vysledky") || it.key() == QStringLiteral("rozpis")) {
                EXPECT_EQ(pages.size(), (38 + 3) / 4) << name;
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

} // namespace
