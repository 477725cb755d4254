#include "VyberStrelcov.h"

#include "db/CLigaroDoc.h"
#include "db/slovencina.h"
#include "players/CHraciView.h"
#include "players/hraci.h"
#include "ui/CMyListCtrl.h"
#include "ui/ovladace.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

VyberStrelcov::VyberStrelcov(CLigaroDoc& doc, int competition, int matchId, CStrana side, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_competition(competition), m_players(new CMyListCtrl(this)),
      m_newPlayer(new QPushButton(QStringLiteral("Pridať hráča"), this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_clear(new QPushButton(QStringLiteral("Odstrániť góly a karty"), this)),
      m_withoutResult(new QLabel(this)), m_search(new QLineEdit(this)), m_timer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Výber strelcov"));
    m_doc.Run([&] { m_side = ReadSide(m_doc.Database(), matchId, side); });
    auto* info = new QFormLayout;
    info->addRow(QStringLiteral("Zápas:"), new QLabel(m_side.match, this));
    info->addRow(QStringLiteral("Klub:"), new QLabel(m_side.clubName, this));
    info->addRow(QStringLiteral("Body:"), new QLabel(QStringLiteral(" %1").arg(m_side.score), this));
    info->addRow(QStringLiteral("Vyhľadať hráča:"), m_search);

    static const QStringList titles = {QStringLiteral("Strelci gólov"), QStringLiteral("Žlté karty"),
                                       QStringLiteral("Červené karty")};
    auto* grid = new QGridLayout;
    m_players->SetColumns({{QStringLiteral("Meno"), Zarovnanie::Vlavo, 150}});
    grid->addWidget(m_players, 0, 0, 3, 1);
    for (int c = 0; c < 3; ++c) {
        m_targets[c] = new CMyListCtrl(this);
        m_targets[c]->SetColumns(
            {{QStringLiteral("#"), Zarovnanie::Vlavo, 20}, {titles.at(c), Zarovnanie::Vlavo, 150}});
        m_add[c] = new QPushButton(QStringLiteral("Pridať - >   "), this);
        m_remove[c] = new QPushButton(QStringLiteral(" < - Odobrať"), this);
        // The lists beside them never squeeze the buttons below their texts.
        for (QPushButton* b : {m_add[c], m_remove[c]})
            b->setMinimumWidth(b->sizeHint().width());
        auto* buttons = new QVBoxLayout;
        buttons->addStretch();
        buttons->addWidget(m_add[c]);
        buttons->addWidget(m_remove[c]);
        buttons->addStretch();
        grid->addLayout(buttons, c, 1);
        grid->addWidget(m_targets[c], c, 2);
        const auto category = static_cast<CKategoria>(c);
        connect(m_add[c], &QPushButton::clicked, this, [this, category] { AddSelected(category); });
        connect(m_remove[c], &QPushButton::clicked, this, [this, category] { RemoveSelected(category); });
        connect(m_targets[c], &CMyListCtrl::itemSelectionChanged, this, &VyberStrelcov::UpdateEnabling);
    }
    auto* cancel = new QPushButton(QStringLiteral("Zrušiť"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_newPlayer);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(cancel);
    // A result cleared for a replay leaves its goals and cards behind; they count nowhere, and the
    // dialog offers to remove them without asking in the middle of typing.
    m_withoutResult->setText(kBezVysledkuSaNepocitaju);
    m_clear->setMinimumWidth(m_clear->sizeHint().width());
    m_withoutResult->setStyleSheet(QStringLiteral("color: #a00000"));
    auto* withoutResult = new QHBoxLayout;
    withoutResult->addWidget(m_withoutResult, 1);
    withoutResult->addWidget(m_clear);
    connect(m_clear, &QPushButton::clicked, this, [this] {
        for (CMyListCtrl* target : m_targets)
            target->setRowCount(0);
        UpdateEnabling();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(info);
    layout->addLayout(withoutResult);
    layout->addLayout(grid, 1);
    layout->addLayout(bottom);
    ResizeWithinScreen(this, sizeHint().expandedTo(QSize(620, 560)));

    connect(m_players, &CMyListCtrl::cellDoubleClicked, this, [this] { AddSelected(kStrelci); });
    connect(m_players, &CMyListCtrl::itemSelectionChanged, this, &VyberStrelcov::UpdateEnabling);
    // The search narrows the list to the players a word of whose name begins so (the surname or the
    // first name, without regard to accents), in the list's order, the first of them chosen.
    connect(m_search, &QLineEdit::textChanged, this, &VyberStrelcov::Narrow);
    m_search->installEventFilter(this);
    const QVector<QPair<int, CKategoria>> keys = {
        {Qt::Key_G, kStrelci}, {Qt::Key_Z, kZlteKarty}, {Qt::Key_C, kCerveneKarty}};
    static const QStringList tips = {QStringLiteral("Gól hráča (Alt+G, Enter vo vyhľadávaní)"),
                                     QStringLiteral("Žltá karta (Alt+Z)"),
                                     QStringLiteral("Červená karta (Alt+C)")};
    for (const auto& [key, category] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, category] { AddSelected(category); });
        m_add[category]->setToolTip(tips.at(category));
    }
    auto* ownGoal = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_V), this);
    connect(ownGoal, &QShortcut::activated, this, &VyberStrelcov::AddOwnGoal);
    connect(m_newPlayer, &QPushButton::clicked, this, &VyberStrelcov::NewPlayer);
    connect(m_ok, &QPushButton::clicked, this, &VyberStrelcov::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Tab goes as the eye does: the search, the players, then each category's buttons and list, and
    // the buttons at the bottom. Typing starts in the search.
    QList<QWidget*> order = {m_search, m_players};
    for (int c = 0; c < 3; ++c)
        order << m_add[c] << m_remove[c] << m_targets[c];
    order << m_newPlayer << m_ok << cancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_search->setFocus();

    FillPlayers();
    m_doc.Run([&] {
        for (int c = 0; c < 3; ++c)
            m_targets[c]->Fill(
                Entries(m_doc.Database(), m_side.matchId, m_side.club, static_cast<CKategoria>(c)));
    });
    // Edit access can end while the dialog is open (another login cancelled): follow it.
    connect(m_timer, &QTimer::timeout, this, &VyberStrelcov::UpdateEnabling);
    m_timer->start(100);
    UpdateEnabling();
}

void VyberStrelcov::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Told once the dialog stands on the screen, so that the message is over the list it is about.
    if (m_toldTooMany || !TooManyScorers(m_side, m_targets[kStrelci]->rowCount()))
        return;
    m_toldTooMany = true;
    m_doc.User().ShowMessage(TooManyScorersMessage(m_side, m_targets[kStrelci]->rowCount()),
                             CPouzivatel::Ikona::Vykricnik);
}

void VyberStrelcov::FillPlayers()
{
    m_doc.Run([&] { m_players->Fill(ChoosablePlayers(m_doc.Database(), m_side.club)); });
}

bool VyberStrelcov::MayEdit(CKategoria category) const
{
    // Goals are the secretary's, cards the disciplinary committee's.
    return m_doc.HasEditAccess(category == kStrelci ? CAgenda::kSekretariat : CAgenda::kDisciplina);
}

void VyberStrelcov::UpdateEnabling()
{
    const bool player = m_players->SelectedRow() >= 0;
    bool any = false;
    for (int c = 0; c < 3; ++c) {
        const bool edit = MayEdit(static_cast<CKategoria>(c));
        any = any || edit;
        m_add[c]->setEnabled(edit && player);
        m_remove[c]->setEnabled(edit && m_targets[c]->SelectedRow() >= 0);
    }
    m_newPlayer->setEnabled(MayEdit(kStrelci));
    m_ok->setEnabled(any);
    bool entries = false;
    for (const CMyListCtrl* target : m_targets)
        entries = entries || target->rowCount() > 0;
    const bool stray = !m_side.fullResult && entries;
    m_withoutResult->setVisible(stray);
    m_clear->setVisible(stray);
    m_clear->setEnabled(MayEdit(kStrelci) && MayEdit(kZlteKarty));
}

void VyberStrelcov::AppendRow(CMyListCtrl* list, int player, const QString& name)
{
    const int row = list->rowCount();
    list->setRowCount(row + 1);
    list->SetRow(row, {{QString::number(row + 1), name}, player, false});
}

void VyberStrelcov::AddSelected(CKategoria category)
{
    const int row = m_players->SelectedRow();
    if (row < 0 || !MayEdit(category))
        return;
    const int player = m_players->RowId(row);
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        // The own goal is a goal, never a card.
        if (category != kStrelci && IsOwnGoalPlayer(db, player))
            return;
        if (category == kStrelci && !ScorerFits(m_side, m_targets[kStrelci]->rowCount())) {
            m_doc.User().ShowMessage(kPlnyZoznamStrelcov, CPouzivatel::Ikona::Vykricnik);
            return;
        }
        AppendRow(m_targets[category], player, m_players->CellText(row, 0));
    });
    // Ready for the next name.
    m_search->clear();
    m_search->setFocus();
}

void VyberStrelcov::Narrow(const QString& text)
{
    int first = -1;
    for (int r = 0; r < m_players->rowCount(); ++r) {
        const bool shown = MatchesWordStart(m_players->CellText(r, 0), text);
        m_players->setRowHidden(r, !shown);
        if (shown && first < 0)
            first = r;
    }
    // Nothing typed chooses nobody: a key for a card must not go to the first name of the list.
    if (first >= 0 && !text.trimmed().isEmpty())
        m_players->SelectRow(first);
    else
        m_players->clearSelection();
    UpdateEnabling();
}

void VyberStrelcov::AddOwnGoal()
{
    for (int r = 0; r < m_players->rowCount(); ++r)
        if (m_players->CellText(r, 0) == kVlastnyGol) {
            m_players->setRowHidden(r, false);
            m_players->SelectRow(r);
            AddSelected(kStrelci);
            return;
        }
}

bool VyberStrelcov::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_search || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A name typed is a scorer; Enter on an empty search ends the side.
        if (m_search->text().trimmed().isEmpty())
            accept();
        else
            AddSelected(kStrelci);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        const int step = key->key() == Qt::Key_Down ? 1 : -1;
        for (int r = m_players->SelectedRow() + step; r >= 0 && r < m_players->rowCount(); r += step)
            if (!m_players->isRowHidden(r)) {
                m_players->SelectRow(r);
                break;
            }
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void VyberStrelcov::RemoveSelected(CKategoria category)
{
    CMyListCtrl* list = m_targets[category];
    const int row = list->SelectedRow();
    if (row < 0)
        return;
    list->removeRow(row);
    for (int r = 0; r < list->rowCount(); ++r)
        list->SetCellText(r, 0, QString::number(r + 1));
    UpdateEnabling();
}

void VyberStrelcov::NewPlayer()
{
    if (!MayEdit(kStrelci) || m_side.club == 0)
        return;
    CUdajeHraci dialog(m_doc.User(), {}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_doc.Run([&] { SavePlayer(m_doc.Database(), 0, m_side.club, dialog.Values()); });
    FillPlayers();
}

void VyberStrelcov::accept()
{
    if (m_side.matchId == 0 || m_side.club == 0 || !m_ok->isEnabled())
        return;
    const int scorers = m_targets[kStrelci]->rowCount();
    if (MissingScorers(m_side, scorers) && m_doc.User().AskYesNo(kChybaStrelec))
        return;
    if (TooManyScorers(m_side, scorers) &&
        !m_doc.User().AskYesNo(KeepTooManyScorersQuestion(m_side, scorers)))
        return;
    QVector<int> lists[3];
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < m_targets[c]->rowCount(); ++r)
            lists[c].append(m_targets[c]->RowId(r));
    if (m_doc.Run([&] { SaveSide(m_doc.Database(), m_competition, m_side, lists[0], lists[1], lists[2]); }))
        QDialog::accept();
}
