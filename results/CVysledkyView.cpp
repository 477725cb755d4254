#include "CVysledkyView.h"

#include "competition/CZapas.h"
#include "competition/rozpis.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "results/VyberStrelcov.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/ovladace.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
QLineEdit* ScoreEdit(QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setMaximumWidth(40);
    e->setAlignment(Qt::AlignCenter);
    return e;
}
} // namespace

CVysledkyView::CVysledkyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CKolovyPohlad(QStringLiteral("Static"), ResultsColumns(), doc, frame, parent), m_home(ScoreEdit(this)),
      m_away(ScoreEdit(this)), m_homeHalf(ScoreEdit(this)), m_awayHalf(ScoreEdit(this)),
      m_note(new QLineEdit(this)), m_homeButton(new QPushButton(QStringLiteral("Upraviť údaje ->"), this)),
      m_awayButton(new QPushButton(QStringLiteral("Upraviť údaje ->"), this)),
      m_homeEntries(new CMyListCtrl(this)), m_awayEntries(new CMyListCtrl(this)), m_tabs(new QTabBar(this))
{
    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(QStringLiteral("Výsledok:"), this));
    fields->addWidget(m_home);
    fields->addWidget(new QLabel(QStringLiteral(":"), this));
    fields->addWidget(m_away);
    fields->addSpacing(12);
    fields->addWidget(new QLabel(QStringLiteral("("), this));
    fields->addWidget(m_homeHalf);
    fields->addWidget(new QLabel(QStringLiteral(":"), this));
    fields->addWidget(m_awayHalf);
    fields->addWidget(new QLabel(QStringLiteral(")"), this));
    fields->addSpacing(12);
    fields->addWidget(new QLabel(QStringLiteral("Poznámka:"), this));
    fields->addWidget(m_note, 1);

    auto* sides = new QGridLayout;
    sides->addWidget(m_homeButton, 0, 0, Qt::AlignLeft);
    sides->addWidget(new QLabel(QStringLiteral("Domáci:"), this), 0, 1, Qt::AlignLeft);
    sides->addWidget(m_awayButton, 0, 2, Qt::AlignLeft);
    sides->addWidget(new QLabel(QStringLiteral("Hostia:"), this), 0, 3, Qt::AlignLeft);
    sides->addWidget(m_homeEntries, 1, 0, 1, 2);
    sides->addWidget(m_awayEntries, 1, 2, 1, 2);
    sides->setColumnStretch(1, 1);
    sides->setColumnStretch(3, 1);
    m_tabs->addTab(QStringLiteral("Strelci"));
    m_tabs->addTab(QStringLiteral("Žlté karty"));
    m_tabs->addTab(QStringLiteral("Červené karty"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addLayout(TopRow());
    layout->addWidget(m_list, 3);
    layout->addLayout(fields);
    layout->addLayout(sides, 2);
    layout->addWidget(m_tabs);

    for (CMyListCtrl* l : {m_homeEntries, m_awayEntries})
        l->SetColumns(EntryColumns(kStrelci));

    connect(m_list, &CMyListCtrl::itemSelectionChanged, this, &CVysledkyView::ShowResult);
    const QString codes = QStringLiteral("Góly %1. Prázdne pole: zápas sa ešte nehral; k: %1 prehrali "
                                         "kontumačne (0:3, súper vyhral 3:0).");
    m_home->setToolTip(codes.arg(QStringLiteral("domácich")));
    m_away->setToolTip(codes.arg(QStringLiteral("hostí")));
    m_homeHalf->setToolTip(QStringLiteral("Góly domácich v polčase; prázdne pole: polčas nie je zadaný."));
    m_awayHalf->setToolTip(QStringLiteral("Góly hostí v polčase; prázdne pole: polčas nie je zadaný."));
    for (QLineEdit* field : {m_home, m_away, m_homeHalf, m_awayHalf}) {
        connect(field, &QLineEdit::textChanged, this, [this, field] { OnFieldEdited(field); });
        connect(field, &QLineEdit::editingFinished, this, [this, field] { RefuseUnfinished(field); });
        field->installEventFilter(this);
    }
    // Typed as the eye reads: the score, the half time, the note.
    setTabOrder(m_home, m_away);
    setTabOrder(m_away, m_homeHalf);
    setTabOrder(m_homeHalf, m_awayHalf);
    setTabOrder(m_awayHalf, m_note);
    // Each side's scorers and cards without the mouse.
    auto* homeSide = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_D), this);
    auto* awaySide = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_H), this);
    for (QShortcut* shortcut : {homeSide, awaySide})
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(homeSide, &QShortcut::activated, this, [this] { EditSide(kDomaci); });
    connect(awaySide, &QShortcut::activated, this, [this] { EditSide(kHostia); });
    m_homeButton->setToolTip(QStringLiteral("Strelci a karty domácich (Alt+D)"));
    m_awayButton->setToolTip(QStringLiteral("Strelci a karty hostí (Alt+H)"));
    connect(m_note, &QLineEdit::textChanged, this, &CVysledkyView::OnNoteEdited);
    connect(m_tabs, &QTabBar::currentChanged, this, [this] { m_doc.Run([this] { LoadEntries(); }); });
    connect(m_homeButton, &QPushButton::clicked, this, [this] { EditSide(kDomaci); });
    connect(m_awayButton, &QPushButton::clicked, this, [this] { EditSide(kHostia); });
    connect(m_homeEntries, &CMyListCtrl::cellDoubleClicked, this, [this] { EditSide(kDomaci); });
    connect(m_awayEntries, &CMyListCtrl::cellDoubleClicked, this, [this] { EditSide(kHostia); });
}

void CVysledkyView::UpdateEditAccess()
{
    const bool edit = m_doc.HasEditAccess() && m_doc.IsDatabaseOpen();
    // A bye takes no score; its note may still be written.
    for (QWidget* w : std::initializer_list<QWidget*>{m_home, m_away, m_homeHalf, m_awayHalf})
        w->setEnabled(edit && !m_bye);
    m_note->setEnabled(edit);
}

QString CVysledkyView::ListTitle(CDatabaza& db)
{
    return ResultsTitle(db, m_competition);
}

CZoznam CVysledkyView::ListRows(CDatabaza& db)
{
    return ResultsList(db, m_competition, m_round);
}

void CVysledkyView::ShowResult()
{
    const int id = m_list->SelectedId();
    if (id == 0)
        return;
    m_doc.Run([&] {
        const auto fields = ResultFields(m_doc.Database(), id);
        if (!fields)
            return;
        m_bye = MatchIsBye(m_doc.Database(), id);
        UpdateEditAccess();
        FillScoreFields(*fields);
        m_filling = true;
        m_note->setText(fields->note);
        m_filling = false;
        m_beforeEdit.reset();
        LoadEntries();
    });
    if (m_home->isEnabled()) {
        m_home->setFocus();
        m_home->selectAll();
    }
}

void CVysledkyView::LoadEntries()
{
    const auto category = static_cast<CKategoria>(std::max(0, m_tabs->currentIndex()));
    for (CMyListCtrl* l : {m_homeEntries, m_awayEntries}) {
        l->setRowCount(0);
        l->SetColumns(EntryColumns(category));
    }
    const int id = m_list->SelectedId();
    if (m_competition == 0 || id == 0 || !m_doc.IsDatabaseOpen())
        return;
    CDatabaza& db = m_doc.Database();
    const auto [home, away] = MatchClubs(db, id);
    m_homeEntries->Fill(Entries(db, id, home, category));
    m_awayEntries->Fill(Entries(db, id, away, category));
}

void CVysledkyView::OnFieldEdited(QLineEdit* field)
{
    if (m_filling || m_list->SelectedId() == 0 || !m_doc.HasEditAccess())
        return;
    // What was stored before this field's typing began, for a refusal to go back to; typing into
    // another field begins anew there, with or without the focus moving.
    if (field != m_editedField) {
        m_beforeEdit.reset();
        m_editedField = field;
    }
    const bool halfTime = field == m_homeHalf || field == m_awayHalf;
    const CPolickoSkore typed = ReadScoreField(field->text(), halfTime);
    // "3:" waits for its second number, "2w" is no score: nothing but a score is stored.
    if (typed.Refused())
        return;
    if (!m_beforeEdit)
        m_doc.Run([&] { m_beforeEdit = ResultFields(m_doc.Database(), m_list->SelectedId()); });
    const bool score = field == m_home || field == m_away;
    if (typed.druh == CPolickoSkore::Druh::Dvojica) {
        m_filling = true;
        (score ? m_home : m_homeHalf)->setText(typed.first);
        (score ? m_away : m_awayHalf)->setText(typed.second);
        m_filling = false;
    }
    StoreScores(score ? (field == m_away ? kHostia : kDomaci) : kZiadnaStrana);
}

void CVysledkyView::RefuseUnfinished(QLineEdit* field)
{
    if (m_refusing || m_filling)
        return;
    if (!ReadScoreField(field->text(), field == m_homeHalf || field == m_awayHalf).Refused()) {
        m_beforeEdit.reset();
        return;
    }
    m_refusing = true;
    const QString text = field->text().trimmed();
    // The match is as it was before the typing began ("4" of "4:" was stored on its way); the fields
    // and the list show what the season holds.
    if (m_beforeEdit) {
        FillScoreFields(*m_beforeEdit);
        m_beforeEdit.reset();
        StoreScores(kDomaci);
    } else {
        const int row = m_list->SelectedRow();
        const int id = m_list->SelectedId();
        m_doc.Run([&] {
            if (const auto fields = ResultFields(m_doc.Database(), id))
                ShowScores(row, *fields);
        });
    }
    m_doc.User().ShowMessage(kNedokoncenyVysledok.arg(text), CPouzivatel::Ikona::Vykricnik);
    field->setFocus();
    field->selectAll();
    m_refusing = false;
}

bool CVysledkyView::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    // A field's typing begins when it is entered: a refusal goes back to the match as it was then.
    if (field && event->type() == QEvent::FocusIn && !m_refusing)
        m_beforeEdit.reset();
    if (!field || event->type() != QEvent::KeyPress)
        return CKolovyPohlad::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return CKolovyPohlad::eventFilter(watched, event);
    if (ReadScoreField(field->text(), field == m_homeHalf || field == m_awayHalf).Refused()) {
        RefuseUnfinished(field);
        return true;
    }
    // Enter goes on: from the home score to the away score (to the half time when both are there),
    // from the away score or a half time to the next match.
    QLineEdit* next = nullptr;
    if (field == m_home)
        next = m_away->text().isEmpty() ? m_away : m_homeHalf;
    else if (field == m_homeHalf && m_awayHalf->text().isEmpty())
        next = m_awayHalf;
    if (next) {
        next->setFocus();
        next->selectAll();
    } else {
        NextMatch();
    }
    return true;
}

void CVysledkyView::NextMatch()
{
    const int row = m_list->SelectedRow();
    for (int r = row + 1; r < m_list->rowCount(); ++r) {
        const int id = m_list->RowId(r);
        bool bye = true;
        if (id != 0)
            m_doc.Run([&] { bye = MatchIsBye(m_doc.Database(), id); });
        if (!bye) {
            m_list->SelectRow(r);
            m_home->selectAll();
            return;
        }
    }
}

void CVysledkyView::StoreScores(CStrana side)
{
    const int row = m_list->SelectedRow();
    const int id = m_list->SelectedId();
    const bool stored = m_doc.Run([&] {
        const CPolickaVysledku typed{m_home->text(), m_away->text(), m_homeHalf->text(), m_awayHalf->text(),
                                     m_note->text()};
        ShowScores(row, EnterResult(m_doc.Database(), m_competition, id, typed, side));
    });
    // Another official changed this match since she began: she was told who and what; her typing stays
    // in the fields to be entered again, the list shows what the season holds.
    if (!stored && m_doc.LastRunMetConflict()) {
        m_doc.Run([&] {
            if (const auto fields = ResultFields(m_doc.Database(), id))
                ShowListScores(row, *fields);
        });
        return;
    }
    // A write the store refused (a full disk, say) was told; the fields show what the season holds,
    // never a score that is not in it.
    if (!stored)
        m_doc.Run([&] {
            if (const auto fields = ResultFields(m_doc.Database(), id))
                ShowScores(row, *fields);
        });
}

void CVysledkyView::FillScoreFields(const CPolickaVysledku& fields)
{
    // Filling the fields is not typing: nothing is stored or recalculated. A field that already shows
    // its text keeps where the typing is in it.
    m_filling = true;
    const auto settle = [](QLineEdit* field, const QString& text) {
        if (field->text() != text)
            field->setText(text);
    };
    settle(m_home, fields.home);
    settle(m_away, fields.away);
    settle(m_homeHalf, fields.homeHalf);
    settle(m_awayHalf, fields.awayHalf);
    m_filling = false;
}

void CVysledkyView::ShowScores(int row, const CPolickaVysledku& shown)
{
    FillScoreFields(shown);
    ShowListScores(row, shown);
}

void CVysledkyView::ShowListScores(int row, const CPolickaVysledku& shown)
{
    m_list->SetCellText(row, kVysledokDomaci, shown.home);
    m_list->SetCellText(row, kVysledokHostia, shown.away);
    m_list->SetCellText(row, kPolcasDomaci, shown.homeHalf);
    m_list->SetCellText(row, kPolcasHostia, shown.awayHalf);
    m_list->SetCellText(row, kVysledokStav, MatchRemark(m_doc.Database(), m_list->RowId(row)));
}

void CVysledkyView::OnNoteEdited()
{
    const int row = m_list->SelectedRow();
    const int id = m_list->SelectedId();
    if (m_filling || id == 0 || !m_doc.HasEditAccess())
        return;
    m_doc.Run([&] {
        m_list->SetCellText(row, kVysledokPoznamka, SaveResultNote(m_doc.Database(), id, m_note->text()));
    });
}

void CVysledkyView::EditSide(CStrana side)
{
    const int id = m_list->SelectedId();
    if (id == 0 || m_competition == 0)
        return;
    // Typing goes on where it was when the dialog opened (the half time, before Enter to the next match).
    const QPointer<QWidget> typing = QApplication::focusWidget();
    VyberStrelcov dialog(m_doc, m_competition, id, side, this);
    if (dialog.exec() == QDialog::Accepted)
        m_doc.Run([this] { LoadEntries(); });
    if (typing && isAncestorOf(typing))
        typing->setFocus();
}

std::unique_ptr<CTlacovina> CVysledkyView::Printout()
{
    return std::make_unique<CTlacVysledkov>(m_doc.Database(), m_competition, m_round);
}

void CVysledkyView::Export()
{
    m_doc.Run([this] {
        SaveExportedPage(m_doc.User(), ExportResults(m_doc.Database(), m_competition, m_round),
                         kSuborVysledkov);
    });
}
