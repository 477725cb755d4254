// The main window: which commands a user can reach when, logging in and out, the season dialog, the
// competitions tree and the recent-file list.

#include "app/dialogy.h"
#include "cli/vystupy.h"
#include "competition/CLigaroView.h"
#include "competition/CSutazeView.h"
#include "competition/kluby.h"
#include "competition/sutaze.h"
#include "db/CZaznamy.h"
#include "db/hlavicka.h"
#include "db/subory.h"
#include "db/udajesezony.h"
#include "jet/prevod.h"
#include "officials/CRozhodciView.h"
#include "okno.h"
#include "output/CQtPlocha.h"
#include "output/web.h"
#include "results/CTabulkaView.h"
#include "ui/CMyListCtrl.h"
#include "ui/ovladace.h"
#include "ui/prikazy.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class MainWindow : public WindowTest
{
protected:
    bool Enabled(int command) { return m_frame->Action(command)->isEnabled(); }
    QTreeWidgetItem* Root(int i) { return m_frame->Tree()->Tree()->topLevelItem(i); }
    QTreeWidgetItem* Leaf(QTreeWidgetItem* parent, const QString& text)
    {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == text)
                return parent->child(i);
        return nullptr;
    }
    void LogIn(const QString& password)
    {
        WithDialog<CPrihlasenie>([this] { m_frame->RunCommand(kPrikazPrihlasenie); },
                                 [&](CPrihlasenie* d) {
                                     d->PasswordField()->setText(password);
                                     d->accept();
                                 });
    }
};

TEST_F(MainWindow, QuestionsAndFileDialogsAnswerInSlovak)
{
    const auto buttonTexts = [](QWidget* dialog) {
        QStringList texts;
        for (auto* b : dialog->findChildren<QPushButton*>())
            if (b->isVisible())
                texts << b->text();
        return texts;
    };
    COknoPouzivatel user;
    user.SetParent(m_frame.get());
    bool yes = true;
    WithDialog<QMessageBox>(
        [&] { yes = user.AskYesNo(QStringLiteral("Vymazať súťaže?")); },
        [&](QMessageBox* box) {
            EXPECT_EQ(buttonTexts(box), (QStringList{QStringLiteral("&Áno"), QStringLiteral("&Nie")}));
            ASSERT_NE(box->defaultButton(), nullptr);
            EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&Nie"));
            box->defaultButton()->click();
        });
    EXPECT_FALSE(yes);
    // The program's own dialogs take the same catalogue.
    QDialog dialog;
    QDialogButtonBox* buttons = OkCancelButtons(&dialog);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Zrušiť"));

    WithDialog<QFileDialog>(
        [&] {
            user.AskSaveFileName(QStringLiteral("Export"), QDir::tempPath() + QStringLiteral("/a.html"),
                                 QStringLiteral("HTML (*.html)"));
        },
        [&](QFileDialog* dialog) {
            const QStringList texts = buttonTexts(dialog);
            EXPECT_TRUE(texts.contains(QStringLiteral("&Uložiť"))) << texts.join(u' ').toStdString();
            EXPECT_TRUE(texts.contains(QStringLiteral("Zrušiť"))) << texts.join(u' ').toStdString();
            EXPECT_FALSE(texts.contains(QStringLiteral("Cancel")));
        });
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), QStringLiteral("Pripravený"));
}

TEST_F(MainWindow, HelpAndTheWebPageOpenInTheViewerOrSayWhereTheyAre)
{
    m_frame->RunCommand(kPrikazNapoveda);
    m_frame->RunCommand(kPrikazWww);
    ASSERT_EQ(m_user.opened.size(), 2);
    EXPECT_TRUE(m_user.opened.at(0).endsWith(QStringLiteral("docs/napoveda.html")));
    EXPECT_EQ(m_user.opened.at(1), kWebProduktu);

    // Without a viewer the user learns where the page is.
    COknoPouzivatel user;
    QList<QUrl> asked;
    user.SetOpener([&](const QUrl& url) {
        asked << url;
        return false;
    });
    const QString page = QDir::tempPath() + QStringLiteral("/napoveda.html");
    WithDialog<QMessageBox>(
        [&] { user.OpenWithSystem(page); },
        [&](QMessageBox* box) { EXPECT_TRUE(box->text().endsWith(page)) << box->text().toStdString(); });
    WithDialog<QMessageBox>([&] { user.OpenWithSystem(kWebProduktu); },
                            [&](QMessageBox* box) { EXPECT_TRUE(box->text().endsWith(kWebProduktu)); });
    EXPECT_EQ(asked, (QList<QUrl>{QUrl::fromLocalFile(page), QUrl(kWebProduktu)}));
    // With one, nothing is said.
    user.SetOpener([](const QUrl&) { return true; });
    user.OpenWithSystem(page);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindow, FileCommandsWaitForASeasonAndAmnestyForALogin)
{
    const QList<int> needFile = {kPrikazUlozAko,    kPrikazZaloha,     kPrikazZhutnit,     kPrikazZlteKarty,
                                 kPrikazOZvaze,     kPrikazZmenaHesla, kPrikazPrihlasenie, kPrikazHladajHraca,
                                 kPrikazPublikovat, kPrikazKalendar};
    // Slovak when idle, and every menu reachable by Alt and its letter.
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), QStringLiteral("Pripravený"));
    for (QAction* menu : m_frame->menuBar()->actions()) {
        EXPECT_TRUE(menu->text().startsWith(QLatin1Char('&'))) << menu->text().toStdString();
        // Every item has its own letter within its menu.
        QSet<QChar> letters;
        for (QAction* item : menu->menu()->actions()) {
            // The placeholder of the recent files is a label that is never chosen.
            if (item->isSeparator() || !item->isVisible() || item->text() == QStringLiteral("Predchádzajúce"))
                continue;
            const qsizetype amp = item->text().indexOf(QLatin1Char('&'));
            ASSERT_GE(amp, 0) << item->text().toStdString();
            const QChar letter = item->text().at(amp + 1).toLower();
            EXPECT_FALSE(letters.contains(letter)) << item->text().toStdString();
            letters.insert(letter);
        }
    }
    for (int c : needFile)
        EXPECT_FALSE(Enabled(c)) << c;
    EXPECT_FALSE(Enabled(kPrikazAmnestia));
    for (int c :
         {kPrikazOtvorit, kPrikazNovaSezona, kPrikazNastavenieTlaciarne, kPrikazOPrograme, kPrikazKoniec})
        EXPECT_TRUE(Enabled(c)) << c;
    // The lists not built yet neither print nor export, and nobody takes add/edit/delete.
    for (int c : {kPrikazTlacit, kPrikazExport, kPrikazPridat, kPrikazUpravit, kPrikazVymazat, kPrikazImport})
        EXPECT_FALSE(Enabled(c)) << c;

    ASSERT_TRUE(m_frame->OpenSeason(NewSeason()));
    for (int c : needFile)
        EXPECT_TRUE(Enabled(c)) << c;
    EXPECT_FALSE(Enabled(kPrikazAmnestia));
    LogIn(QString());
    EXPECT_TRUE(m_doc.HasEditAccess());
    EXPECT_TRUE(Enabled(kPrikazAmnestia));
    EXPECT_TRUE(m_frame->windowTitle().startsWith(QStringLiteral("sezona.mdb")));
}

TEST_F(MainWindow, LoginComparesExactlyAndCancelLogsOut)
{
    ASSERT_TRUE(m_frame->OpenSeason(NewSeason()));
    // An empty stored password takes an empty entry only.
    WithDialog<CPrihlasenie>([this] { m_frame->RunCommand(kPrikazPrihlasenie); },
                             [this](CPrihlasenie* d) {
                                 d->PasswordField()->setText(QStringLiteral("x"));
                                 d->accept();
                                 EXPECT_TRUE(d->isVisible());
                                 EXPECT_EQ(m_user.messages, (QStringList{"Zadali ste nesprávne heslo"}));
                                 d->PasswordField()->clear();
                                 d->accept();
                             });
    EXPECT_TRUE(m_doc.HasEditAccess());

    StorePassword(m_doc.Database(), QStringLiteral("Tajne"));
    LogIn(QStringLiteral("tajne"));
    EXPECT_FALSE(m_doc.HasEditAccess());
    LogIn(QStringLiteral("Tajne"));
    EXPECT_TRUE(m_doc.HasEditAccess());

    // Backup keeps the login; cancelling the login dialog logs out.
    m_user.fileNames = {Path(QStringLiteral("zaloha.mdb"))};
    m_frame->RunCommand(kPrikazZaloha);
    EXPECT_TRUE(m_doc.HasEditAccess());
    WithDialog<CPrihlasenie>([this] { m_frame->RunCommand(kPrikazPrihlasenie); },
                             [](CPrihlasenie* d) { d->reject(); });
    EXPECT_FALSE(m_doc.HasEditAccess());
    EXPECT_FALSE(Enabled(kPrikazAmnestia));

    // Opening a file logs out.
    LogIn(QStringLiteral("Tajne"));
    ASSERT_TRUE(m_frame->OpenSeason(m_doc.FilePath()));
    EXPECT_FALSE(m_doc.HasEditAccess());
}

TEST_F(MainWindow, PasswordChangeNeedsTheOldPasswordAndTwoEqualNewOnes)
{
    ASSERT_TRUE(m_frame->OpenSeason(NewSeason()));
    WithDialog<CZmenaHesla>([this] { m_frame->RunCommand(kPrikazZmenaHesla); },
                            [this](CZmenaHesla* d) {
                                d->OldField()->setText(QStringLiteral("zle"));
                                d->accept();
                                EXPECT_EQ(m_user.messages.last(), QStringLiteral("Nesprávne staré heslo"));
                                d->OldField()->clear();
                                d->NewField()->setText(QStringLiteral("nove"));
                                d->ConfirmField()->setText(QStringLiteral("nov"));
                                d->accept();
                                EXPECT_EQ(m_user.messages.last(),
                                          QStringLiteral("Nové heslo a potvdenie hesla musia byť rovnaké"));
                                EXPECT_TRUE(d->isVisible());
                                d->ConfirmField()->setText(QStringLiteral("nove"));
                                d->accept();
                            });
    EXPECT_EQ(StoredPassword(m_doc.Database()), QStringLiteral("nove"));
    EXPECT_FALSE(m_doc.HasEditAccess());

    // A season of the older version has no password to change or log in with.
    m_doc.Database().Execute(QStringLiteral("drop table theslo"));
    m_frame->RunCommand(kPrikazPrihlasenie);
    EXPECT_EQ(m_user.messages.last(), kStarsiaVerzia);
    EXPECT_FALSE(m_doc.HasEditAccess());
}

TEST_F(MainWindow, SeasonDialogOnlyShowsWithoutLoginAndCreatesTheRecordWhenSaved)
{
    ASSERT_TRUE(m_frame->OpenSeason(NewSeason()));
    WithDialog<CSezona>([this] { m_frame->RunCommand(kPrikazOZvaze); },
                        [](CSezona* d) {
                            EXPECT_EQ(d->Values().nazov, QStringLiteral("2003/2004"));
                            EXPECT_EQ(d->Values().kraj, QStringLiteral("Názov kraja"));
                            EXPECT_EQ(d->Values().zvaz, QStringLiteral("Názov Mirak"));
                            EXPECT_FALSE(d->Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
                            EXPECT_FALSE(d->findChildren<QLineEdit*>().first()->isEnabled());
                        });
    EXPECT_FALSE(CHlavicka::Read(m_doc.Database()).exists);

    LogIn(QString());
    WithDialog<CSezona>([this] { m_frame->RunCommand(kPrikazOZvaze); },
                        [](CSezona* d) {
                            const auto edits = d->findChildren<QLineEdit*>();
                            edits.at(0)->setText(QStringLiteral("2011/2012"));
                            edits.at(1)->setText(QStringLiteral("Trnavský kraj"));
                            edits.at(2)->setText(QStringLiteral("ObFZ Senica"));
                            d->accept();
                        });
    const CHlavicka h = CHlavicka::Read(m_doc.Database());
    EXPECT_TRUE(h.exists);
    EXPECT_EQ(h.AssociationLine(), QStringLiteral("Trnavský kraj - ObFZ Senica"));
    EXPECT_EQ(m_frame->Tree()->Title(), QStringLiteral("Ligy - ObFZ Senica"));
}

TEST_F(MainWindow, TheYellowCardRuleIsStoredAsTypedAndLoadedAgain)
{
    ASSERT_TRUE(m_frame->OpenSeason(NewSeason()));
    LogIn(QString());
    WithDialog<CNastavenieZK>([this] { m_frame->RunCommand(kPrikazZlteKarty); },
                              [this](CNastavenieZK* d) {
                                  EXPECT_EQ(d->Rule(), QStringLiteral("4,8,12,16,20,24"));
                                  // A rule that is not counts is refused, nothing is written.
                                  for (const char* bad : {"4,8,x", "4,,8", "0,4", "štyri"}) {
                                      d->RuleField()->setText(QString::fromUtf8(bad));
                                      d->accept();
                                      EXPECT_TRUE(d->isVisible()) << bad;
                                      EXPECT_EQ(m_user.messages.last(), kZlePravidloZK);
                                  }
                                  EXPECT_FALSE(CHlavicka::Read(m_doc.Database()).exists);
                                  d->RuleField()->setText(QStringLiteral("3, 6,9,"));
                                  d->accept();
                              });
    EXPECT_EQ(m_doc.StopRounds(), (QVector<int>{3, 6, 9}));
    EXPECT_EQ(CHlavicka::Read(m_doc.Database()).stop, QStringLiteral("3, 6,9,"));
}

TEST_F(MainWindow, DoubleClickingAListShowsItForThatCompetition)
{
    OpenNew();
    CDatabaza& db = m_doc.Database();
    AddCompetition(db, QStringLiteral("I. trieda"));
    const int second = AddCompetition(db, QStringLiteral("II. trieda"));
    m_frame->RefreshAllViews();
    ASSERT_EQ(m_frame->Tree()->Tree()->topLevelItemCount(), 2);
    QTreeWidgetItem* competitions = Root(0);
    ASSERT_EQ(competitions->childCount(), 2);
    EXPECT_EQ(competitions->child(0)->childCount(), 9);
    EXPECT_EQ(competitions->child(0)->child(8)->text(0), QStringLiteral("Kto nesmie hrať"));
    EXPECT_EQ(Root(1)->childCount(), 4);

    m_frame->Tree()->PickItem(Leaf(competitions->child(1), QStringLiteral("Tabuľka")));
    EXPECT_EQ(m_doc.CurrentCompetition(), second);
    EXPECT_EQ(m_doc.CurrentViewIndex(), 4);
    ASSERT_NE(qobject_cast<CTabulkaView*>(m_frame->ActiveView()), nullptr);
    EXPECT_EQ(qobject_cast<CTabulkaView*>(m_frame->ActiveView())->Title(),
              QStringLiteral("Výsledná tabuľka - II. trieda"));

    CPohlad* before = m_frame->ActiveView();
    m_frame->Tree()->PickItem(competitions->child(0));
    m_frame->Tree()->PickItem(competitions);
    EXPECT_EQ(m_doc.CurrentCompetition(), second);
    EXPECT_EQ(m_frame->ActiveView(), before);

    m_doc.SetCurrentClub(5);
    m_frame->Tree()->PickItem(Leaf(Root(1), QStringLiteral("Zoznam delegátov")));
    EXPECT_EQ(m_doc.CurrentCompetition(), 0);
    EXPECT_EQ(m_doc.CurrentClub(), 0);
    EXPECT_EQ(m_doc.CurrentViewIndex(), 9);
    auto* delegates = qobject_cast<CRozhodciView*>(m_frame->ActiveView());
    ASSERT_NE(delegates, nullptr);
    EXPECT_EQ(delegates->List()->HeaderText(6), QStringLiteral("Poznámka"));
}

TEST_F(MainWindow, TheTreeAndTheListsWorkFromTheKeyboard)
{
    OpenNew();
    CDatabaza& db = m_doc.Database();
    const int first = AddCompetition(db, QStringLiteral("I. trieda"));
    const int second = AddCompetition(db, QStringLiteral("II. trieda"));
    AddClub(db, second, QStringLiteral("Slovan"), 1);
    m_frame->RefreshAllViews();
    QTreeWidget* tree = m_frame->Tree()->Tree();

    // Enter on a list shows it, as a double click does.
    tree->setCurrentItem(Leaf(Root(0)->child(1), QStringLiteral("Zoznam klubov")));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(m_doc.CurrentCompetition(), second);
    auto* clubs = qobject_cast<CLigaroView*>(m_frame->ActiveView());
    ASSERT_NE(clubs, nullptr);

    // F2 renames a competition in place, with edit access only.
    tree->setCurrentItem(Root(0)->child(0));
    QTest::keyClick(tree, Qt::Key_F2);
    EXPECT_TRUE(tree->findChildren<QLineEdit*>().isEmpty());
    LogIn(QString());
    tree->setCurrentItem(Root(0)->child(0));
    QTest::keyClick(tree, Qt::Key_F2);
    QLineEdit* editor = tree->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    // Qt Test types only Latin-1 keys; the editor gets the rest as typed text.
    editor->insert(QStringLiteral("Majstrovstvá okresu"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The item view commits the editor's text once the key has been handled.
    QCoreApplication::processEvents();
    EXPECT_EQ(CompetitionName(db, first), QStringLiteral("Majstrovstvá okresu"));

    // Enter on a club edits it; Delete asks before removing it.
    clubs->List()->SelectRow(0);
    WithDialog<CKubUdaje>([&] { QTest::keyClick(clubs->List(), Qt::Key_Return); },
                          [](CKubUdaje* d) { EXPECT_EQ(d->Values().nazov, QStringLiteral("Slovan")); });
    m_user.answers = {false};
    // Insert and Delete are shortcuts of the list, which has the focus in an active window.
    m_frame->show();
    QApplication::setActiveWindow(m_frame.get());
    clubs->List()->setFocus();
    QTest::keyClick(clubs->List(), Qt::Key_Delete);
    EXPECT_EQ(m_user.questions.size(), 1);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tkluby")).toInt(), 1);
    WithDialog<CKubUdaje>([&] { QTest::keyClick(clubs->List(), Qt::Key_Insert); },
                          [](CKubUdaje* d) { EXPECT_EQ(d->Values().nazov, QString()); });
}

TEST_F(MainWindow, ALongCompetitionNameShowsWholeAsAToolTipWhenThePaneIsNarrow)
{
    OpenNew();
    const QString name = QStringLiteral("Majstrovstvá oblastného futbalového zväzu, skupina západ");
    AddCompetition(m_doc.Database(), name);
    AddCompetition(m_doc.Database(), QStringLiteral("I"));
    m_frame->RefreshAllViews();
    m_frame->show();
    QTreeWidget* tree = m_frame->Tree()->Tree();
    tree->resize(120, 300);
    const auto tipAt = [this, tree](QTreeWidgetItem* item) {
        return m_frame->Tree()->ToolTipAt(tree->visualItemRect(item).center());
    };
    EXPECT_EQ(tipAt(Root(0)->child(0)), name);
    EXPECT_EQ(tipAt(Root(0)->child(1)), QString());
    // The event the mouse makes shows it.
    const QPoint at = tree->visualItemRect(Root(0)->child(0)).center();
    QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), name);
    tree->resize(900, 300);
    EXPECT_EQ(tipAt(Root(0)->child(0)), QString());
}

TEST(Lists, ACellTooNarrowForItsTextShowsItWholeAsAToolTip)
{
    CMyListCtrl list;
    list.SetColumns(
        {{QStringLiteral("Domáci"), Zarovnanie::Vlavo, 60}, {QStringLiteral("#"), Zarovnanie::Vlavo, 30}});
    CZoznam rows;
    rows.columns = {{QStringLiteral("Domáci"), Zarovnanie::Vlavo, 60},
                    {QStringLiteral("#"), Zarovnanie::Vlavo, 30}};
    rows.AddRow({QStringLiteral("TJ Družstevník Dolné Orešany"), QStringLiteral("1")}, 7);
    list.Fill(rows);
    // Narrowed by hand: a narrow column is made as wide as its values when filled.
    list.setColumnWidth(0, 60);
    list.resize(400, 200);
    list.show();
    const QRect name = list.visualRect(list.model()->index(0, 0));
    const QRect number = list.visualRect(list.model()->index(0, 1));
    EXPECT_EQ(list.ToolTipAt(name.center()), QStringLiteral("TJ Družstevník Dolné Orešany"));
    EXPECT_EQ(list.ToolTipAt(number.center()), QString());
    list.setColumnWidth(0, 600);
    EXPECT_EQ(list.ToolTipAt(list.visualRect(list.model()->index(0, 0)).center()), QString());
}

TEST_F(MainWindow, TheWindowOpensAsTheUserLeftIt)
{
    OpenNew();
    const int competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    m_frame->RefreshAllViews();
    m_frame->show();
    m_frame->setGeometry(40, 50, 1000, 640);
    m_frame->Splitter()->setSizes({260, 740});
    m_frame->Tree()->PickItem(Leaf(Root(0)->child(0), QStringLiteral("Zoznam klubov")));
    auto* clubs = qobject_cast<CLigaroView*>(m_frame->ActiveView());
    ASSERT_NE(clubs, nullptr);
    const int defaultWidth = clubs->List()->columnWidth(1);
    clubs->List()->horizontalHeader()->resizeSection(1, defaultWidth + 77);
    m_frame->Action(kPrikazStavovyRiadok)->trigger();
    EXPECT_FALSE(m_frame->statusBar()->isVisible());
    m_frame->close();

    // The next start: the same settings, a new window.
    m_frame.reset();
    m_frame = std::make_unique<CMainFrame>(m_doc, m_user, *m_settings, m_printer);
    m_doc.SetViews(m_frame.get());
    m_frame->show();
    EXPECT_EQ(m_frame->size(), QSize(1000, 640));
    EXPECT_EQ(m_frame->Splitter()->sizes().value(0), 260);
    EXPECT_FALSE(m_frame->statusBar()->isVisible());
    EXPECT_FALSE(m_frame->Action(kPrikazStavovyRiadok)->isChecked());
    ASSERT_TRUE(m_frame->OpenSeason(Path(QStringLiteral("sezona.mdb"))));
    m_frame->RefreshAllViews();
    m_frame->Tree()->PickItem(Leaf(Root(0)->child(0), QStringLiteral("Zoznam klubov")));
    clubs = qobject_cast<CLigaroView*>(m_frame->ActiveView());
    ASSERT_NE(clubs, nullptr);
    EXPECT_EQ(m_doc.CurrentCompetition(), competition);
    EXPECT_EQ(clubs->List()->columnWidth(1), defaultWidth + 77);

    // A damaged entry is no widths: the list keeps its own.
    m_settings->Store().setValue(QStringLiteral("Columns/CLigaroView.0-%1").arg(clubs->List()->columnCount()),
                                 QStringLiteral("80,abc"));
    m_frame->Tree()->PickItem(Leaf(Root(1), QStringLiteral("Zoznam rozhodcov")));
    m_frame->Tree()->PickItem(Leaf(Root(0)->child(0), QStringLiteral("Zoznam klubov")));
    clubs = qobject_cast<CLigaroView*>(m_frame->ActiveView());
    ASSERT_NE(clubs, nullptr);
    EXPECT_EQ(clubs->List()->columnWidth(1), defaultWidth);
}

TEST_F(MainWindow, CompetitionsAreAddedRenamedAndRemovedOnlyWhenEmpty)
{
    OpenNew();
    m_frame->RefreshAllViews();
    EXPECT_EQ(Root(0)->childCount(), 0);
    EXPECT_EQ(Root(1)->childCount(), 4);
    // Without edit access the context menu offers nothing.
    EXPECT_TRUE(m_frame->Tree()->ContextActions(nullptr).isEmpty());

    LogIn(QString());
    CSutazeView* tree = m_frame->Tree();
    auto actions = tree->ContextActions(nullptr);
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions.at(0)->isEnabled());
    EXPECT_FALSE(actions.at(1)->isEnabled());
    EXPECT_FALSE(actions.at(2)->isEnabled());
    actions.at(0)->trigger();
    tree->AddCompetitionCommand();
    ASSERT_EQ(Root(0)->childCount(), 2);
    EXPECT_EQ(Root(0)->child(0)->text(0), QStringLiteral("Nová súťaž"));
    EXPECT_EQ(Root(0)->child(1)->text(0), QStringLiteral("Nová súťaž"));

    QTreeWidgetItem* first = Root(0)->child(0);
    EXPECT_TRUE(tree->ContextActions(first).at(1)->isEnabled());
    first->setText(0, QStringLiteral("I. trieda"));
    const int id = first->data(0, CSutazeView::kData).toInt();
    EXPECT_EQ(CompetitionName(m_doc.Database(), id), QStringLiteral("I. trieda"));
    first->setText(0, QString());
    EXPECT_EQ(CompetitionName(m_doc.Database(), id), QStringLiteral("I. trieda"));
    EXPECT_EQ(first->text(0), QStringLiteral("I. trieda"));

    AddClub(m_doc.Database(), id, QStringLiteral("Slovan"), 1);
    tree->RemoveCommand(Root(0)->child(0));
    EXPECT_EQ(m_user.messages.last(), QStringLiteral("Zložka súťaže nieje prázdna. Nedá sa vymazať."));
    EXPECT_TRUE(m_user.questions.isEmpty());
    m_user.answers = {false, true};
    tree->RemoveCommand(Root(0)->child(1));
    EXPECT_EQ(Root(0)->childCount(), 2);
    tree->RemoveCommand(Root(0)->child(1));
    EXPECT_EQ(m_user.questions,
              (QStringList{"Skutočne chcete vymazať záznam?", "Skutočne chcete vymazať záznam?"}));
    ASSERT_EQ(Root(0)->childCount(), 1);
    EXPECT_EQ(Root(0)->child(0)->text(0), QStringLiteral("I. trieda"));
    qDeleteAll(actions);
}

TEST_F(MainWindow, TheRecentFileListKeepsFourNewestFirst)
{
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << NewSeason(QStringLiteral("s%1.mdb").arg(i));
    for (const QString& p : paths)
        ASSERT_TRUE(m_frame->OpenSeason(p));
    ASSERT_TRUE(m_frame->OpenSeason(paths.at(2)));
    EXPECT_EQ(m_settings->RecentFiles(), (QStringList{paths.at(2), paths.at(4), paths.at(3), paths.at(1)}));
    ASSERT_EQ(m_frame->RecentFileActions().size(), 4);
    EXPECT_TRUE(m_frame->RecentFileActions().at(0)->text().startsWith(QStringLiteral("&1 ")));
    // The list is kept for the next start.
    CNastavenia again(Path(QStringLiteral("nastavenia.ini")));
    EXPECT_EQ(again.RecentFiles().size(), 4);

    // A recent file that is gone leaves the list when chosen.
    QFile::remove(paths.at(4));
    m_frame->RecentFileActions().at(1)->trigger();
    EXPECT_EQ(m_settings->RecentFiles().size(), 3);
    EXPECT_FALSE(m_settings->RecentFiles().contains(paths.at(4)));
}

TEST_F(MainWindow, ASnapshotIsOpenedAsANewSeasonFileNeverOverTheOpenOne)
{
    OpenNew();
    const int competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    const int club = AddClub(m_doc.Database(), competition, QStringLiteral("Slovan"), 1);
    m_user.messages.clear();
    m_frame->RunCommand(kPrikazObnovitZoZalohy);
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("žiadnu zálohu")));
    ASSERT_TRUE(RemoveClub(m_doc, club));
    const QString original = m_doc.FilePath();
    m_user.fileNames = {original, Path(QStringLiteral("spat"))};
    WithDialog<CObnovaZalohy>([this] { m_frame->RunCommand(kPrikazObnovitZoZalohy); },
                              [](CObnovaZalohy* d) {
                                  ASSERT_EQ(d->List()->rowCount(), 1);
                                  EXPECT_EQ(d->List()->CellText(0, 2), QStringLiteral("Odstránenie klubu"));
                                  d->accept();
                              });
    // The first answer named the open season and was refused; the file dialog came back, and the
    // second answer made a new file and opened it.
    EXPECT_EQ(m_user.saveCaptions.size(), 2);
    EXPECT_TRUE(m_user.messages.contains(
        QStringLiteral("Zálohu nemožno obnoviť na miesto otvorenej sezóny. Zvoľte iný názov súboru.")));
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("spat.mdb"));
    EXPECT_EQ(m_doc.Database().Value(QStringLiteral("select count(*) from tkluby")).toInt(), 1);
}

TEST_F(MainWindow, ANewSeasonIsCreatedAndOpenedButNeverOverTheOpenOne)
{
    OpenNew();
    AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    const QString original = m_doc.FilePath();
    m_user.fileNames = {original, Path(QStringLiteral("nova"))};
    // The open season's name is refused and the file dialog comes back for another.
    m_frame->RunCommand(kPrikazNovaSezona);
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("otvorenej sezóny")));
    EXPECT_EQ(m_user.saveCaptions.size(), 2);
    {
        CDatabaza before;
        before.Open(original);
        EXPECT_EQ(before.Value(QStringLiteral("select count(*) from tsutaze")).toInt(), 1);
    }
    EXPECT_EQ(QFileInfo(m_doc.FilePath()).fileName(), QStringLiteral("nova.mdb"));
    EXPECT_EQ(m_doc.Database().Value(QStringLiteral("select count(*) from tsutaze")).toInt(), 0);
}

TEST_F(MainWindow, OpeningASeasonKeptInTheJetFormatConvertsItIntoANewFile)
{
    SetConverterProgram(QStringLiteral(MIRAK_EXECUTABLE));
    const QString jet = Path(QStringLiteral("stara sezona.mdb"));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(MIRAK_SOURCE_DIR "/tests/jet/subory/mala-jet3-historia.mdb"), jet));
    QFile::setPermissions(jet, QFile::ReadOwner | QFile::WriteOwner);
    const QString target = Path(QStringLiteral("stara sezona (prevedená).mdb"));
    // Declined: nothing happens.
    m_user.answers = {false};
    EXPECT_FALSE(m_frame->OpenSeason(jet));
    EXPECT_FALSE(QFile::exists(target));
    // Accepted: the name proposed beside it, the new season opened, what was kept besides said.
    m_user.fileNames = {target};
    EXPECT_TRUE(m_frame->OpenSeason(jet));
    EXPECT_TRUE(m_user.questions.last().contains(QStringLiteral("vo formáte Jet")));
    EXPECT_EQ(m_user.proposedPaths.last(), target);
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("tpoznamky")));
    EXPECT_TRUE(TenIstySubor(m_doc.FilePath(), target));
    EXPECT_EQ(m_doc.Database().Value(QStringLiteral("select count(*) from tsutaze")).toInt(), 2);
    EXPECT_TRUE(IsJetFile(jet));
    // A Jet file opened by the document itself is told what it is.
    CLigaroDoc other(m_user);
    EXPECT_FALSE(other.OpenSeasonFile(jet));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("Previesť staršiu sezónu")));
    // Opened again, the name proposed is not the season converted before (which is open now).
    m_user.fileNames = {};
    EXPECT_FALSE(m_frame->OpenSeason(jet));
    EXPECT_EQ(m_user.proposedPaths.last(), Path(QStringLiteral("stara sezona (prevedená 2).mdb")));
}

TEST_F(MainWindow, ADamagedJetFileIsRefusedAndWhatCanBeReadIsConvertedOnlyWhenAsked)
{
    SetConverterProgram(QStringLiteral(MIRAK_EXECUTABLE));
    const QString jet = Path(QStringLiteral("poskodena.mdb"));
    QByteArray bytes;
    {
        QFile f(QStringLiteral(MIRAK_SOURCE_DIR "/tests/jet/subory/mala-jet3.mdb"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    // A data page of some table from the second third of the file zeroed.
    const int page = 2048;
    int zeroed = -1;
    for (int p = 1; p < bytes.size() / page && zeroed < 0; ++p)
        if (quint8(bytes.at(p * page)) == 0x01 && bytes.mid(p * page + 4, 4) != "LVAL" &&
            quint8(bytes.at(p * page + 4)) != 0 && p > bytes.size() / page / 3) {
            bytes.replace(p * page, page, QByteArray(page, '\0'));
            zeroed = p;
        }
    ASSERT_GT(zeroed, 0);
    {
        QFile f(jet);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QString target = Path(QStringLiteral("poskodena (prevedená).mdb"));
    // Refused, and declined: nothing is written.
    m_user.answers = {true, false};
    m_user.fileNames = {target};
    EXPECT_FALSE(m_frame->OpenSeason(jet));
    EXPECT_TRUE(m_user.questions.last().contains(QStringLiteral("je poškodený")))
        << m_user.questions.last().toStdString();
    EXPECT_TRUE(m_user.questions.last().contains(SalvageReportPath(target)));
    EXPECT_FALSE(QFile::exists(target));
    // Asked for what can be read: converted, every loss told and kept in the report beside it.
    m_user.answers = {true, true};
    m_user.fileNames = {target};
    EXPECT_TRUE(m_frame->OpenSeason(jet));
    EXPECT_TRUE(m_user.messages.last().contains(QStringLiteral("Stratilo sa")))
        << m_user.messages.last().toStdString();
    EXPECT_TRUE(m_user.messages.last().contains(SalvageReportPath(target)));
    EXPECT_TRUE(QFile::exists(SalvageReportPath(target)));
    EXPECT_TRUE(TenIstySubor(m_doc.FilePath(), target));
}

TEST_F(MainWindow, ThePreviewAndThePrinterDrawWhatThePdfHolds)
{
    const QString season = NewDemoSeason(QStringLiteral("nahlad.mdb"), 1, 16, 12);
    ASSERT_TRUE(m_frame->OpenSeason(season));
    CDatabaza& db = m_doc.Database();
    // Names and notes that wrap in their cells.
    db.Execute(
        QStringLiteral("update tkluby set nazov = 'Telovýchovná jednota Družstevník Horné Zálužie ' || ID"));
    db.Execute(QStringLiteral("update tzapasy set poznamka2 = ? where ID % 5 = 0"),
               {QStringLiteral("Odložený zápas, nový termín určí športovo-technická komisia na zasadnutí v "
                               "utorok po dohode oboch klubov.")});
    for (auto it = Outputs().constBegin(); it != Outputs().constEnd(); ++it) {
        const std::string name = it.key().toStdString();
        CVyber v;
        v.competition = 1;
        v.thresholds = m_doc.StopRounds();
        v.round = it.key() == QStringLiteral("zk-stop") || it.key() == QStringLiteral("nesmu-hrat")
                      ? 20
                      : kVsetkyKola;
        if (it.key() == QStringLiteral("hraci"))
            v.club = db.Value(QStringLiteral("select min(ID) from tkluby where skupina=1")).toInt();
        const QString pdf = Path(QStringLiteral("%1-pdf.pdf").arg(it.key()));
        const QString paper = Path(QStringLiteral("%1-tlaciaren.pdf").arg(it.key()));
        auto printout = it.value().printout(db, v);
        ASSERT_TRUE(WritePdf(*printout, pdf).isEmpty()) << name;
        // The printer as the window sets it up for the preview and the print, writing what it gets.
        auto again = it.value().printout(db, v);
        ChooseOrientation(*again);
        m_frame->SetPrinterOrientation(again->Landscape());
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(paper);
        ASSERT_TRUE(PrintPages(*again, m_printer, 1, again->PageCount())) << name;
        m_printer.setOutputFileName(QString());
        const QVector<CStranaPdf> a = PdfWords(pdf), b = PdfWords(paper);
        ASSERT_FALSE(a.isEmpty()) << name << ": pdftotext (poppler-utils) is needed";
        ASSERT_EQ(a.size(), b.size()) << name;
        for (int p = 0; p < a.size(); ++p) {
            EXPECT_EQ(a.at(p).size, b.at(p).size) << name;
            ASSERT_EQ(a.at(p).words.size(), b.at(p).words.size()) << name << " page " << p + 1;
            for (int w = 0; w < a.at(p).words.size(); ++w) {
                const CSlovoPdf& x = a.at(p).words.at(w);
                const CSlovoPdf& y = b.at(p).words.at(w);
                EXPECT_EQ(x.text, y.text) << name;
                EXPECT_LT((x.box.topLeft() - y.box.topLeft()).manhattanLength(), 1.0)
                    << name << " page " << p + 1 << ": " << x.text.toStdString();
            }
        }
    }
}

} // namespace
