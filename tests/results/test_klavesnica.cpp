// A round entered by keyboard alone, as the secretary does it on Monday: every key counted.

#include "competition/generator.h"
#include "competition/sutaze.h"
#include "db/CDatabaza.h"
#include "db/slovencina.h"
#include "okno.h"
#include "players/hraci.h"
#include "results/CVysledkyView.h"
#include "results/VyberStrelcov.h"
#include "ui/CMyListCtrl.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <deque>

#include <gtest/gtest.h>

namespace {

// Presses keys into whatever has the focus, one an event-loop turn, so that the dialogs the keys open
// get them too. A name is typed letter by letter until the scorers dialog has chosen that player.
class CPisar : public QObject
{
public:
    struct CKrok
    {
        QString text;               // typed character by character
        int key = 0;                // or one key
        Qt::KeyboardModifiers mods; // with these
        int player = 0;             // or a player's surname, until he is the one chosen
        QString surname;
    };
    void Text(const QString& t) { m_steps.push_back({t, 0, {}, 0, {}}); }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        m_steps.push_back({{}, key, mods, 0, {}});
    }
    // Typed without accents, as the search takes it.
    void Scorer(int player, const QString& surname)
    {
        m_steps.push_back({{}, 0, {}, player, BezDiakritiky(surname)});
    }

    // Runs the script; returns the keys pressed. Each key is its own event (a timer does not fire again
    // while a dialog its key opened is running).
    int Run()
    {
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(0, this, [this] { Next(); });
        loop.exec();
        return m_keys;
    }
    QString m_failure;

private:
    void Press(int key, Qt::KeyboardModifiers mods, const QString& text = {})
    {
        // A dialog just opened has the keys, as the secretary waits for it.
        QWidget* target = QApplication::focusWidget();
        if (QWidget* modal = QApplication::activeModalWidget();
            modal && (!target || !modal->isAncestorOf(target)))
            target = modal->focusWidget() ? modal->focusWidget() : modal;
        // A closed dialog gives the main window back its activation, as a window manager does; the
        // offscreen platform leaves it to us.
        if (!target && !QApplication::activeModalWidget())
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->inherits("QMainWindow")) {
                    QApplication::setActiveWindow(top);
                    target = QApplication::focusWidget();
                }
        if (!target) {
            m_failure = QStringLiteral("no widget has the focus");
            m_steps.clear();
            return;
        }
        ++m_keys;
        if (!text.isEmpty())
            QTest::keyClicks(target, text);
        else
            QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }
    void Next()
    {
        if (m_steps.empty()) {
            m_loop->quit();
            return;
        }
        QTimer::singleShot(0, this, [this] { Next(); });
        Step(m_steps.front());
    }
    void Step(CKrok& step)
    {
        if (!step.text.isEmpty()) {
            const QString c = step.text.left(1);
            step.text.remove(0, 1);
            Press(0, {}, c);
            if (step.text.isEmpty())
                m_steps.pop_front();
            return;
        }
        if (step.player != 0) {
            auto* dialog = qobject_cast<VyberStrelcov*>(QApplication::activeModalWidget());
            if (!dialog) {
                m_failure = QStringLiteral("the scorers dialog is not open for %1").arg(step.surname);
                m_steps.clear();
                return;
            }
            if (dialog->Players()->SelectedId() == step.player && !dialog->SearchField()->text().isEmpty()) {
                m_steps.pop_front();
                Press(Qt::Key_Return, {});
                return;
            }
            const qsizetype typed = dialog->SearchField()->text().size();
            if (typed >= step.surname.size()) {
                m_failure = QStringLiteral("%1 is never chosen").arg(step.surname);
                m_steps.clear();
                return;
            }
            Press(0, {}, step.surname.mid(typed, 1));
            return;
        }
        const CKrok one = step;
        m_steps.pop_front();
        Press(one.key, one.mods);
    }

    std::deque<CKrok> m_steps;
    int m_keys = 0;
    QEventLoop* m_loop = nullptr;
};

class Keyboard : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        OpenNew();
        m_competition = AddCompetition(m_doc.Database(), QStringLiteral("I. trieda"));
    }
    // The window shown with the competition's results, logged in, the first match selected.
    CVysledkyView* ResultsOnFirstMatch()
    {
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        if (!QTest::qWaitForWindowActive(m_frame.get()))
            return nullptr;
        PickList(m_doc, m_competition, 3);
        auto* view = qobject_cast<CVysledkyView*>(m_frame->ActiveView());
        if (!view)
            return nullptr;
        m_doc.SetEditAccess(true);
        view->UpdateEditAccess();
        view->List()->SelectRow(0);
        return view;
    }
    int m_competition = 0;
};

TEST_F(Keyboard, ARoundOfSevenMatchesWithHalfTimesAndFourteenScorersTakesAtMost120Keys)
{
    CDatabaza& db = m_doc.Database();
    static const QStringList surnames = {
        QStringLiteral("Novák"),  QStringLiteral("Kováč"),  QStringLiteral("Horváth"),
        QStringLiteral("Varga"),  QStringLiteral("Tóth"),   QStringLiteral("Baláž"),
        QStringLiteral("Szabó"),  QStringLiteral("Molnár"), QStringLiteral("Lukáč"),
        QStringLiteral("Oravec"), QStringLiteral("Kollár"), QStringLiteral("Šimko")};
    static const QStringList names = {QStringLiteral("Ján"),    QStringLiteral("Peter"),
                                      QStringLiteral("Martin"), QStringLiteral("Tomáš"),
                                      QStringLiteral("Marek"),  QStringLiteral("Jozef")};
    QHash<int, QVector<QPair<int, QString>>> squads; // club -> (player, surname)
    for (int c = 1; c <= 14; ++c) {
        const int club = AddClub(db, m_competition, QStringLiteral("Klub %1").arg(c), c);
        for (int p = 0; p < surnames.size(); ++p) {
            const int id =
                SavePlayer(db, 0, club, {names.at((p + c) % names.size()), surnames.at(p), {}, {}, {}, {}});
            squads[club] << QPair<int, QString>(id, surnames.at(p));
        }
    }
    ASSERT_TRUE(
        GenerateFixtures(m_doc, m_competition, CParametreGenerovania::Defaults(26, QDate(2026, 8, 1))));
    m_frame->show();
    QApplication::setActiveWindow(m_frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    PickList(m_doc, m_competition, 3);
    auto* view = qobject_cast<CVysledkyView*>(m_frame->ActiveView());
    ASSERT_NE(view, nullptr);
    m_doc.SetEditAccess(true);
    view->UpdateEditAccess();
    // The view opens on the round to be played: the first, as nothing is played yet.
    EXPECT_EQ(view->SelectedRound(), 1);
    view->List()->SelectRow(0);
    ASSERT_EQ(view->focusWidget(), view->HomeScore());

    struct CZapasKola
    {
        int home, away, homeHalf, awayHalf;
    };
    const QVector<CZapasKola> results = {{2, 1, 1, 0}, {1, 0, 0, 0}, {3, 1, 2, 1}, {0, 0, 0, 0},
                                         {2, 2, 1, 1}, {1, 0, 1, 0}, {0, 1, 0, 0}};
    QVector<int> matches;
    for (int r = 0; r < view->List()->rowCount(); ++r)
        if (view->List()->RowId(r) != 0)
            matches << view->List()->RowId(r);
    ASSERT_EQ(matches.size(), 7);
    CPisar typist;
    QHash<int, QVector<int>> expected; // match -> scorers, home's first
    for (int m = 0; m < 7; ++m) {
        const CZapasKola& z = results.at(m);
        const auto [home, away] = MatchClubs(db, matches.at(m));
        typist.Text(QStringLiteral("%1:%2").arg(z.home).arg(z.away));
        typist.Key(Qt::Key_Return);
        typist.Text(QStringLiteral("%1-%2").arg(z.homeHalf).arg(z.awayHalf));
        for (const auto& [club, goals, key] :
             {std::tuple{home, z.home, Qt::Key_D}, std::tuple{away, z.away, Qt::Key_H}}) {
            if (goals == 0)
                continue;
            typist.Key(key, Qt::AltModifier);
            for (int g = 0; g < goals; ++g) {
                // Scorers from the middle of the squad: no name is first by luck.
                const auto& [player, surname] = squads.value(club).at((3 + 5 * g + m) % surnames.size());
                typist.Scorer(player, surname);
                expected[matches.at(m)] << player;
            }
            typist.Key(Qt::Key_Return); // an empty search: OK
        }
        typist.Key(Qt::Key_Return); // the next match
    }
    const int keys = typist.Run();
    ASSERT_TRUE(typist.m_failure.isEmpty()) << typist.m_failure.toStdString();
    EXPECT_LE(keys, 120);
    RecordProperty("klavesy", keys);

    for (int m = 0; m < 7; ++m) {
        const CZapasKola& z = results.at(m);
        EXPECT_EQ(
            db.Value(
                  QStringLiteral(
                      "select body1||':'||body2||' ('||polcas1||':'||polcas2||')' from tzapasy where ID=?"),
                  {matches.at(m)})
                .toString(),
            QStringLiteral("%1:%2 (%3:%4)").arg(z.home).arg(z.away).arg(z.homeHalf).arg(z.awayHalf))
            << m;
        QVector<int> scorers;
        CPrikaz q(db,
                  QStringLiteral("select IDhraca from tgoly where IDzapasu=? order by IDklubu=(select klub2 "
                                 "from tzapasy where "
                                 "ID=?), ID"),
                  {matches.at(m), matches.at(m)});
        while (q.Step())
            scorers << static_cast<int>(q.Int64(0));
        EXPECT_EQ(scorers, expected.value(matches.at(m))) << m;
    }
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tgoly")).toInt(), 14);
}

TEST_F(Keyboard, AScoreFieldTakesBothSidesAtOnceAndRefusesHalfAPair)
{
    CDatabaza& db = m_doc.Database();
    const int home = AddClub(db, m_competition, QStringLiteral("Slovan"), 1);
    const int away = AddClub(db, m_competition, QStringLiteral("Inter"), 2);
    const int match = AddMatch(db, m_competition, 1, home, away);
    CVysledkyView* view = ResultsOnFirstMatch();
    ASSERT_NE(view, nullptr);
    const auto stored = [&] {
        return db
            .Value(QStringLiteral(
                       "select body1||':'||body2||' ('||polcas1||':'||polcas2||')' from tzapasy where ID=?"),
                   {match})
            .toString();
    };
    for (const QString& typed : {QStringLiteral("3:2"), QStringLiteral("3-2"), QStringLiteral("3 2")}) {
        view->HomeScore()->setFocus();
        view->HomeScore()->clear();
        view->AwayScore()->clear();
        QTest::keyClicks(view->HomeScore(), typed);
        EXPECT_EQ(view->HomeScore()->text(), QStringLiteral("3")) << typed.toStdString();
        EXPECT_EQ(view->AwayScore()->text(), QStringLiteral("2")) << typed.toStdString();
        EXPECT_EQ(stored(), QStringLiteral("3:2 (100:100)")) << typed.toStdString();
    }
    // Into the away field, and a forfeit.
    view->AwayScore()->setFocus();
    view->AwayScore()->selectAll();
    QTest::keyClicks(view->AwayScore(), QStringLiteral("k:3"));
    EXPECT_EQ(stored(), QStringLiteral("200:3 (100:100)"));
    // Half a pair left in the field is refused and the field shows what is stored.
    const int messages = m_user.messages.size();
    view->HomeScore()->setFocus();
    view->HomeScore()->selectAll();
    QTest::keyClicks(view->HomeScore(), QStringLiteral("4:"));
    QTest::keyClick(view->HomeScore(), Qt::Key_Return);
    ASSERT_EQ(m_user.messages.size(), messages + 1);
    EXPECT_EQ(m_user.messages.last(), kNedokoncenyVysledok.arg(QStringLiteral("4:")));
    EXPECT_EQ(view->HomeScore()->text(), QStringLiteral("k"));
    EXPECT_EQ(stored(), QStringLiteral("200:3 (100:100)"));
    // What is no score is never stored, and the field and the list show what the season holds.
    for (const QString& typed : {QStringLiteral("2w"), QStringLiteral("0h"), QStringLiteral("101")}) {
        const int before = m_user.messages.size();
        view->HomeScore()->setFocus();
        view->HomeScore()->selectAll();
        QTest::keyClicks(view->HomeScore(), typed);
        QTest::keyClick(view->HomeScore(), Qt::Key_Tab);
        ASSERT_EQ(m_user.messages.size(), before + 1) << typed.toStdString();
        EXPECT_EQ(m_user.messages.last(), kNedokoncenyVysledok.arg(typed));
        EXPECT_EQ(view->HomeScore()->text(), QStringLiteral("k")) << typed.toStdString();
        EXPECT_EQ(view->List()->CellText(0, kVysledokDomaci), QStringLiteral("k")) << typed.toStdString();
        EXPECT_EQ(stored(), QStringLiteral("200:3 (100:100)")) << typed.toStdString();
    }
    // A forfeit is no half-time score.
    view->HomeHalfTime()->setFocus();
    QTest::keyClicks(view->HomeHalfTime(), QStringLiteral("k"));
    QTest::keyClick(view->HomeHalfTime(), Qt::Key_Return);
    EXPECT_EQ(view->HomeHalfTime()->text(), QString());
    EXPECT_EQ(stored(), QStringLiteral("200:3 (100:100)"));
    // One number in one field stays possible (a half result, which counts nowhere).
    view->AwayScore()->clear();
    EXPECT_EQ(stored(), QStringLiteral("200:100 (100:100)"));
    // Enter goes from the home score to the away score, from there on to the next match.
    QTest::keyClick(view->HomeScore(), Qt::Key_Return);
    EXPECT_EQ(view->focusWidget(), view->AwayScore());
}

// A write the store refuses (here a trigger stands in for a full disk) is told, and the fields show
// what the season holds, not the score that did not get in.
TEST_F(Keyboard, AScoreTheStoreRefusesIsToldAndTheStoredOneShownAgain)
{
    CDatabaza& db = m_doc.Database();
    const int home = AddClub(db, m_competition, QStringLiteral("Slovan"), 1);
    const int away = AddClub(db, m_competition, QStringLiteral("Inter"), 2);
    const int match = AddMatch(db, m_competition, 1, home, away, 1, 0);
    CVysledkyView* view = ResultsOnFirstMatch();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->HomeScore()->text(), QStringLiteral("1"));
    db.Execute(QStringLiteral("CREATE TEMP TRIGGER plny BEFORE UPDATE ON tzapasy "
                              "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"));
    const int messages = m_user.messages.size();
    view->HomeScore()->setFocus();
    view->HomeScore()->selectAll();
    QTest::keyClicks(view->HomeScore(), QStringLiteral("3:2"));
    EXPECT_GT(m_user.messages.size(), messages);
    EXPECT_EQ(view->HomeScore()->text(), QStringLiteral("1"));
    EXPECT_EQ(view->AwayScore()->text(), QStringLiteral("0"));
    EXPECT_EQ(view->List()->CellText(0, kVysledokDomaci), QStringLiteral("1"));
    EXPECT_EQ(
        db.Value(QStringLiteral("select body1||':'||body2 from tzapasy where ID=?"), {match}).toString(),
        QStringLiteral("1:0"));
    // Once the store takes writes again, typing goes on as ever.
    db.Execute(QStringLiteral("DROP TRIGGER plny"));
    view->HomeScore()->selectAll();
    QTest::keyClicks(view->HomeScore(), QStringLiteral("3:2"));
    EXPECT_EQ(
        db.Value(QStringLiteral("select body1||':'||body2 from tzapasy where ID=?"), {match}).toString(),
        QStringLiteral("3:2"));
}

TEST_F(Keyboard, TheScorersSearchFindsAnyWordWithoutAccentsAndTheFocusComesBack)
{
    CDatabaza& db = m_doc.Database();
    const int home = AddClub(db, m_competition, QStringLiteral("Slovan"), 1);
    const int away = AddClub(db, m_competition, QStringLiteral("Inter"), 2);
    AddMatch(db, m_competition, 1, home, away, 2, 0);
    const int sebastian =
        SavePlayer(db, 0, home, {QStringLiteral("Sebastián"), QStringLiteral("Súkeník"), {}, {}, {}, {}});
    const int sokol =
        SavePlayer(db, 0, home, {QStringLiteral("Ján"), QStringLiteral("Sokol"), {}, {}, {}, {}});
    const int stefan =
        SavePlayer(db, 0, home, {QStringLiteral("Štefan"), QStringLiteral("Adam"), {}, {}, {}, {}});
    PickList(m_doc, m_competition, 3);
    auto* view = qobject_cast<CVysledkyView*>(m_frame->ActiveView());
    m_doc.SetEditAccess(true);
    view->UpdateEditAccess();
    view->List()->SelectRow(0);
    WithDialog<VyberStrelcov>([view] { view->EditSide(kDomaci); },
                              [&](VyberStrelcov* d) {
                                  // "Sok" is Sokol, not the first name beginning with "S".
                                  QTest::keyClicks(d->SearchField(), QStringLiteral("Sok"));
                                  EXPECT_EQ(d->Players()->SelectedId(), sokol);
                                  EXPECT_FALSE(d->Players()->isRowHidden(d->Players()->SelectedRow()));
                                  // Added: the search is empty and has the focus again.
                                  d->AddButton(kStrelci)->click();
                                  EXPECT_EQ(d->Target(kStrelci)->rowCount(), 1);
                                  EXPECT_TRUE(d->SearchField()->text().isEmpty());
                                  EXPECT_EQ(d->focusWidget(), d->SearchField());
                                  // A first name, without its accent; another word of the same name.
                                  QTest::keyClicks(d->SearchField(), QStringLiteral("stef"));
                                  EXPECT_EQ(d->Players()->SelectedId(), stefan);
                                  d->SearchField()->clear();
                                  QTest::keyClicks(d->SearchField(), QStringLiteral("suke"));
                                  EXPECT_EQ(d->Players()->SelectedId(), sebastian);
                                  QTest::keyClick(d->SearchField(), Qt::Key_Return);
                                  EXPECT_EQ(d->Target(kStrelci)->rowCount(), 2);
                                  // Nothing typed chooses nobody.
                                  EXPECT_EQ(d->Players()->SelectedRow(), -1);
                                  QTest::keyClick(d->SearchField(), Qt::Key_Return);
                                  EXPECT_FALSE(d->isVisible());
                              });
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from tgoly")).toInt(), 2);
}

} // namespace
