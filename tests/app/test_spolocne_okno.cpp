// The window on a season shared on a server: another official's result shows up by itself within a
// second, where she was and without taking what she is typing; who else has the season open is in the
// status bar; a committee's login finds the lists of the others read-only, told why.

#include "app/CMainFrame.h"
#include "app/spolocna.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/CSezonaNaServeri.h"
#include "db/kody.h"
#include "db/server.h"
#include "discipline/CZKView.h"
#include "officials/CRozhodciView.h"
#include "okno.h"
#include "results/CVysledkyView.h"
#include "results/vysledky.h"
#include "ui/prikazy.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SharedWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(SharedServer().Problem().isEmpty()) << SharedServer().Problem().toStdString();
        m_address = UploadedForTest(NewDemoSeason(QStringLiteral("demo.mdb"), 1, 8, 12));
        m_season = ParseServerAddress(m_address).season;
    }
    CVysledkyView* Results()
    {
        PickList(m_doc, 1, 3);
        return qobject_cast<CVysledkyView*>(m_frame->ActiveView());
    }
    // The row of the results list that shows match `id`.
    static int RowOf(CVysledkyView* view, int id)
    {
        for (int r = 0; r < view->List()->rowCount(); ++r)
            if (view->List()->RowId(r) == id)
                return r;
        return -1;
    }
    QString m_address;
    QString m_season;
};

} // namespace

TEST_F(SharedWindow, AnotherOfficialsResultShowsWithinASecondWhereSheWasAndHerTypingStays)
{
    ASSERT_TRUE(m_frame->OpenSeason(m_address));
    // She works in the window: it is shown and has the keyboard.
    m_frame->show();
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    CVysledkyView* view = Results();
    ASSERT_NE(view, nullptr);
    ASSERT_GE(view->List()->rowCount(), 3);
    const int first = view->List()->RowId(0);
    const int chosen = view->List()->RowId(2);
    view->List()->SelectRow(2);
    EXPECT_TRUE(m_frame->SharedSeason()->OthersLabel()->isHidden());

    CDatabaza other;
    other.Open(m_address);
    other.FollowOthers();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_frame->SharedSeason()->OthersLabel()->isHidden(); }, 1000));
    EXPECT_EQ(m_frame->SharedSeason()->OthersLabel()->text(), QStringLiteral("Otvorené aj: 1 ďalší"));
    EXPECT_EQ(m_frame->SharedSeason()->OthersLabel()->toolTip(), QStringLiteral("mirak"));

    EnterResult(other, 1, first, {QStringLiteral("4"), QStringLiteral("2"), {}, {}, {}}, kDomaci);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view->List()->CellText(RowOf(view, first), kVysledokDomaci) == QStringLiteral("4"); },
        1000))
        << "the other's result did not show within a second";
    EXPECT_EQ(view->List()->SelectedId(), chosen);

    // She is typing the chosen match's score when the other changes it: her text stays, marked.
    view->HomeScore()->setFocus();
    QTest::keyClicks(view->HomeScore(), QStringLiteral("1"));
    ASSERT_EQ(other.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {chosen}).toInt(),
              kBezVysledku);
    other.Refresh();
    EXPECT_EQ(other.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {chosen}).toInt(), 1);
    EnterResult(other, 1, chosen, {QStringLiteral("6"), QStringLiteral("0"), {}, {}, {}}, kDomaci);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view->List()->CellText(RowOf(view, chosen), kVysledokDomaci) == QStringLiteral("6"); },
        1000));
    EXPECT_EQ(view->HomeScore()->text(), QStringLiteral("1"));
    EXPECT_TRUE(view->HomeScore()->toolTip().contains(QStringLiteral("„6“")))
        << view->HomeScore()->toolTip().toStdString();
    EXPECT_EQ(view->List()->SelectedId(), chosen);

    // Typed again, it is refused with who changed the match; typed once more, deliberately, it is stored.
    m_user.messages.clear();
    QTest::keyClick(view->HomeScore(), Qt::Key_Backspace);
    EXPECT_TRUE(m_user.messages.join(QString()).contains(QStringLiteral("medzitým zmenil(a) mirak")))
        << m_user.messages.join(QLatin1Char('\n')).toStdString();
    QTest::keyClicks(view->HomeScore(), QStringLiteral("2"));
    other.Refresh();
    EXPECT_EQ(other.Value(QStringLiteral("select body1 from tzapasy where ID=?"), {chosen}).toInt(), 2);

    other.Close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_frame->SharedSeason()->OthersLabel()->isHidden(); }, 1000));
}

TEST_F(SharedWindow, ACommitteesLoginFindsTheOtherCommitteesListsReadOnlyAndToldWhy)
{
    SharedServer().Psql(QStringLiteral("create role disc login"));
    QProcess setup;
    setup.start(QStringLiteral(MIRAK_EXECUTABLE),
                {QStringLiteral("--server-setup"), SharedServer().DatabaseAddress()});
    ASSERT_TRUE(setup.waitForFinished(60000));
    ASSERT_EQ(setup.exitCode(), 0) << setup.readAllStandardError().toStdString();
    GrantServerRole(SharedServer().DatabaseAddress(), QStringLiteral("disc"), CRola::kDisciplinarna);
    ASSERT_TRUE(m_frame->OpenSeason(SharedServer().Address(m_season, QStringLiteral("disc"))));
    EXPECT_TRUE(m_frame->LoginState()->text().contains(QStringLiteral("rola disciplinárna komisia")));

    CVysledkyView* results = Results();
    ASSERT_NE(results, nullptr);
    EXPECT_FALSE(results->HomeScore()->isEnabled());
    EXPECT_EQ(
        m_frame->statusBar()->currentMessage(),
        QStringLiteral("Na zmenu výsledkov, zápasov, klubov a hráčov nemáte právo: prihlásený ako disc, rola "
                       "disciplinárna komisia."));
    EXPECT_TRUE(m_frame->IsCommandEnabled(kPrikazAmnestia));

    PickList(m_doc, 1, 6);
    ASSERT_NE(qobject_cast<CZKView*>(m_frame->ActiveView()), nullptr);
    EXPECT_FALSE(m_frame->statusBar()->currentMessage().startsWith(QStringLiteral("Na zmenu")));
    EXPECT_TRUE(m_doc.HasEditAccess());

    PickList(m_doc, 0, 8);
    ASSERT_NE(qobject_cast<CRozhodciView*>(m_frame->ActiveView()), nullptr);
    EXPECT_FALSE(m_doc.HasEditAccess());
    EXPECT_TRUE(m_frame->statusBar()->currentMessage().contains(QStringLiteral("rozhodcov")));
}

TEST_F(SharedWindow, AWindowThatLostTheServerSaysSoAndConnectsAgainWhenItIsBack)
{
    ASSERT_TRUE(m_frame->OpenSeason(m_address));
    CVysledkyView* view = Results();
    ASSERT_NE(view, nullptr);
    SharedServer().Stop();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !m_frame->SharedSeason()->ConnectionLabel()->isHidden(); }, 2000))
        << "the broken connection was not told";
    ASSERT_TRUE(SharedServer().Start());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_frame->SharedSeason()->ConnectionLabel()->isHidden(); }, 8000))
        << "the window did not connect again";
    // Connected again, it follows the others as before.
    const int first = view->List()->RowId(0);
    CDatabaza other;
    other.Open(m_address);
    EnterResult(other, 1, first, {QStringLiteral("3"), QStringLiteral("3"), {}, {}, {}}, kDomaci);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view->List()->CellText(RowOf(view, first), kVysledokDomaci) == QStringLiteral("3"); },
        1000));
}
