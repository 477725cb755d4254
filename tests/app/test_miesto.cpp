// The window opens where the secretary works: the round to be played, the next match day, the list
// she left, whether she may edit; and its answers are clear: file names, confirmations, whole texts.

#include "app/CMainFrame.h"
#include "app/dialogy.h"
#include "competition/CSutazeView.h"
#include "competition/CZapasyView.h"
#include "competition/generator.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/zalohy.h"
#include "discipline/CNesmuHratView.h"
#include "discipline/CZKView.h"
#include "officials/CRozhodciView.h"
#include "okno.h"
#include "output/CPlocha.h"
#include "results/CTabulkaView.h"
#include "results/CVysledkyView.h"
#include "results/tabulka.h"
#include "ui/CMyListCtrl.h"
#include "ui/ovladace.h"
#include "ui/prikazy.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class WhereSheWorks : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    }
    template <class V> V* Show(int index, int competition = -1)
    {
        PickList(m_doc, competition < 0 ? m_competition : competition, index);
        return qobject_cast<V*>(m_frame->ActiveView());
    }
    // Four clubs, six rounds from 1 August 2026; the first `played` rounds with their results.
    void Season(int played)
    {
        for (int i = 1; i <= 4; ++i)
            AddClub(m_doc.Database(), m_competition, QStringLiteral("Klub %1").arg(i), i);
        ASSERT_TRUE(
            GenerateFixtures(m_doc, m_competition, CParametreGenerovania::Defaults(6, QDate(2026, 8, 1))));
        m_doc.Database().Execute(
            QStringLiteral(
                "update tzapasy set body1=1, body2=0 where skupina=? and kolo<=? and klub1<>0 and klub2<>0"),
            {m_competition, played});
    }
    int m_competition = 0;
};

// The item of a chooser that holds `data`, ticked as played or not.
bool Ticked(QComboBox* chooser, const QVariant& data)
{
    const int index = chooser->findData(data);
    return index >= 0 && !chooser->itemIcon(index).isNull() &&
           chooser->itemData(index, Qt::ToolTipRole).toString() == kOdohraneKolo;
}

TEST_F(WhereSheWorks, EveryRoundListOpensOnTheRoundToBePlayedWithThePlayedOnesTicked)
{
    Season(2);
    auto* results = Show<CVysledkyView>(3);
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->SelectedRound(), 3);
    EXPECT_EQ(results->RoundSelector()->currentData().toInt(), 3);
    EXPECT_TRUE(Ticked(results->RoundSelector(), 1));
    EXPECT_TRUE(Ticked(results->RoundSelector(), 2));
    EXPECT_FALSE(Ticked(results->RoundSelector(), 3));
    // Any round can still be chosen, and a refresh keeps it.
    results->SelectRound(1);
    m_frame->RefreshAllViews();
    EXPECT_EQ(results->SelectedRound(), 1);

    auto* schedule = Show<CZapasyView>(2);
    ASSERT_NE(schedule, nullptr);
    EXPECT_EQ(schedule->SelectedRound(), 3);
    auto* stops = Show<CZKView>(6);
    ASSERT_NE(stops, nullptr);
    EXPECT_EQ(stops->RoundSelector()->currentData().toInt(), 3);
    EXPECT_TRUE(Ticked(stops->RoundSelector(), 2));
    auto* banned = Show<CNesmuHratView>(kPohladNesmuHrat);
    ASSERT_NE(banned, nullptr);
    EXPECT_EQ(banned->RoundSelector()->currentData().toInt(), 3);
    EXPECT_TRUE(Ticked(banned->RoundSelector(), 1));

    // All played: the last round.
    m_doc.Database().Execute(
        QStringLiteral("update tzapasy set body1=2, body2=2 where klub1<>0 and klub2<>0"));
    EXPECT_EQ(Show<CVysledkyView>(3)->SelectedRound(), 6);
}

TEST_F(WhereSheWorks, NominationsOpenOnTheNextMatchDayWithThePastOnesTicked)
{
    const int home = AddClub(m_doc.Database(), m_competition, QStringLiteral("Slovan"), 1);
    const int away = AddClub(m_doc.Database(), m_competition, QStringLiteral("Inter"), 2);
    const QDate today = QDate::currentDate();
    for (const int days : {-7, 3, 10}) {
        const int match = AddMatch(m_doc.Database(), m_competition, 1, home, away);
        m_doc.Database().Execute(QStringLiteral("update tzapasy set cas=? where ID=?"),
                                 {QDateTime(today.addDays(days), QTime(15, 0)), match});
    }
    auto* view = Show<CNominacieView>(10, 0);
    ASSERT_NE(view, nullptr);
    const QString key = today.addDays(3).toString(QStringLiteral("MM-dd-yyyy"));
    EXPECT_EQ(view->DateSelector()->currentData().toString(), key);
    EXPECT_TRUE(Ticked(view->DateSelector(), today.addDays(-7).toString(QStringLiteral("MM-dd-yyyy"))));
    EXPECT_FALSE(Ticked(view->DateSelector(), key));
    ASSERT_EQ(view->List()->rowCount(), 1);
    // When every day is past, the season's last.
    m_doc.Database().Execute(QStringLiteral("update tzapasy set cas='2020-05-01 15:00:00'"));
    m_doc.Database().Execute(
        QStringLiteral("update tzapasy set cas='2020-04-01 15:00:00' where ID=(select min(ID) from "
                       "tzapasy)"));
    view = Show<CNominacieView>(10, 0);
    EXPECT_EQ(view->DateSelector()->currentData().toString(), QStringLiteral("05-01-2020"));
}

TEST_F(WhereSheWorks, ASeasonReopensOnTheListAndCompetitionSheLeft)
{
    const int second = AddCompetition(m_doc.Database(), QStringLiteral("II. trieda"));
    AddClub(m_doc.Database(), m_competition, QStringLiteral("Slovan"), 1);
    const QString first = m_doc.FilePath();
    Show<CTabulkaView>(4, second);
    // Another season, opened for the first time: its first competition's clubs, not an empty list.
    const QString other = NewSeason(QStringLiteral("ina.mdb"));
    ASSERT_TRUE(m_doc.OpenSeasonFile(other));
    EXPECT_EQ(m_doc.CurrentViewIndex(), 0);
    EXPECT_EQ(m_doc.CurrentCompetition(), 0); // it has none
    // Back: the standings of the second competition, and the tree points at them.
    ASSERT_TRUE(m_doc.OpenSeasonFile(first));
    EXPECT_EQ(m_doc.CurrentViewIndex(), 4);
    EXPECT_EQ(m_doc.CurrentCompetition(), second);
    ASSERT_NE(qobject_cast<CTabulkaView*>(m_frame->ActiveView()), nullptr);
    QTreeWidgetItem* current = m_frame->Tree()->Tree()->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), QStringLiteral("Tabuľka"));
    EXPECT_EQ(current->parent()->text(0), QStringLiteral("II. trieda"));
    // A competition that is gone since: its season's first competition's clubs.
    m_doc.Database().Execute(QStringLiteral("delete from tsutaze where ID=?"), {second});
    ASSERT_TRUE(m_doc.OpenSeasonFile(other));
    ASSERT_TRUE(m_doc.OpenSeasonFile(first));
    EXPECT_EQ(m_doc.CurrentViewIndex(), 0);
    EXPECT_EQ(m_doc.CurrentCompetition(), m_competition);
}

TEST_F(WhereSheWorks, TheStatusBarSaysWhetherSheMayEditAndTheFirstStartHowToLogIn)
{
    // Opened in SetUp: an empty password, the first start.
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), kAkoSaPrihlasit);
    EXPECT_EQ(m_frame->LoginState()->text(), kNaUpravyPrihlaste);
    WithDialog<CPrihlasenie>([this] { m_frame->RunCommand(kPrikazPrihlasenie); },
                             [](CPrihlasenie* d) { d->accept(); });
    ASSERT_TRUE(m_doc.HasEditAccess());
    EXPECT_EQ(m_frame->LoginState()->text(), kPrihlasenyNaUpravy);
    // Logged in, the hint is gone at once: it no longer applies.
    EXPECT_NE(m_frame->statusBar()->currentMessage(), kAkoSaPrihlasit);
    // Told once: the next opening says nothing of it.
    ASSERT_TRUE(m_doc.OpenSeasonFile(NewSeason(QStringLiteral("druha.mdb"))));
    EXPECT_NE(m_frame->statusBar()->currentMessage(), kAkoSaPrihlasit);
    EXPECT_EQ(m_frame->LoginState()->text(), kNaUpravyPrihlaste);
}

// The snapshots' size limit is hers to set; the session keeps to it from then on.
TEST_F(WhereSheWorks, TheSnapshotsLimitIsSetInTheWindowAndKept)
{
    EXPECT_EQ(m_settings->SnapshotLimitMB(), kNajviacZalohMB);
    WithDialog<QInputDialog>([this] { m_frame->RunCommand(kPrikazZalohy); },
                             [](QInputDialog* d) {
                                 EXPECT_TRUE(d->labelText().contains(QStringLiteral("sezona.zalohy")))
                                     << d->labelText().toStdString();
                                 d->setIntValue(1);
                                 d->accept();
                             });
    // Below the least a user may set it is the least.
    EXPECT_EQ(m_settings->SnapshotLimitMB(), kNajmenejZalohMB);
    const QString season = m_doc.FilePath();
    QDir().mkpath(SnapshotFolder(season));
    {
        QFile big(
            QDir(SnapshotFolder(season)).filePath(QStringLiteral("2025-09-01 080000-000 - Amnestia.mdb")));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(kNajmenejZalohMB * 1024 * 1024));
    }
    ASSERT_TRUE(m_doc.Snapshot(QStringLiteral("Amnestia")));
    EXPECT_EQ(ListSnapshots(season).size(), 1); // the old one over the limit went, the new one stayed
    // A value spoilt by hand counts as unset.
    m_settings->Store().setValue(QStringLiteral("Zalohy/NajviacMB"), QStringLiteral("veľa"));
    EXPECT_EQ(m_settings->SnapshotLimitMB(), kNajviacZalohMB);
}

TEST_F(WhereSheWorks, APdfIsProposedUnderTheListsNameAndWhatIsWrittenIsOfferedToOpen)
{
    Season(2);
    Show<CTabulkaView>(4);
    const CTlacTabulky standings(m_doc.Database(), m_competition);
    EXPECT_EQ(PdfFileName(standings), QStringLiteral("tabulka-I-trieda-po-2-kole.pdf"));
    const QString folder = QFileInfo(m_doc.FilePath()).absolutePath();
    const QString pdf = QDir(folder).filePath(QStringLiteral("tabulka-I-trieda-po-2-kole.pdf"));
    m_user.fileNames = {pdf};
    m_user.answers = {true};
    m_frame->RunCommand(kPrikazUlozitPdf);
    EXPECT_EQ(m_user.proposedPaths.last(), pdf);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(m_user.opened.last(), pdf);
    auto* results = Show<CVysledkyView>(3);
    results->SelectRound(3);
    m_frame->RunCommand(kPrikazUlozitPdf);
    EXPECT_EQ(m_user.proposedPaths.last(),
              QDir(folder).filePath(QStringLiteral("vysledky-I-trieda-3-kolo.pdf")));

    // The calendar says where it is and offers to open it.
    const QString ics = QDir(folder).filePath(QStringLiteral("zapasy.ics"));
    m_user.fileNames = {ics};
    m_user.answers = {true};
    m_frame->RunCommand(kPrikazKalendar);
    EXPECT_TRUE(m_user.questions.last().startsWith(QStringLiteral("Kalendár je zapísaný v súbore")));
    EXPECT_EQ(m_user.opened.last(), ics);
}

TEST_F(WhereSheWorks, NoTextIsCut)
{
    for (int i = 1; i <= 4; ++i)
        AddClub(m_doc.Database(), m_competition, QStringLiteral("Klub %1").arg(i), i);
    ASSERT_TRUE(
        GenerateFixtures(m_doc, m_competition, CParametreGenerovania::Defaults(30, QDate(2026, 8, 1))));
    auto* results = Show<CVysledkyView>(3);
    results->SelectRound(kVsetkyKola);
    const int needed = results->List()->fontMetrics().horizontalAdvance(QStringLiteral("24. kolo"));
    EXPECT_GT(results->List()->columnWidth(0), needed);
    CNastavenieZK rule(m_user, QStringLiteral("4,8,12"), true);
    rule.show();
    EXPECT_GT(rule.width(), rule.fontMetrics().horizontalAdvance(rule.windowTitle()));
}

} // namespace
