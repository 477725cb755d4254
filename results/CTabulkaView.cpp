#include "CTabulkaView.h"

#include "db/CLigaroDoc.h"
#include "db/CPouzivatel.h"
#include "db/schema.h"
#include "results/prepocet.h"
#include "results/tabulka.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QVBoxLayout>

CTabulkaView::CTabulkaView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(QStringLiteral("Výsledná tabuľka"), this)),
      m_list(new CMyListCtrl(this)), m_trest(new QPlainTextEdit(this)), m_body(new QLineEdit(this)),
      m_recalculate(new QPushButton(QStringLiteral("Prepočítať"), this)), m_notes(new QLabel(this))
{
    m_notes->setWordWrap(true);
    m_notes->hide();
    m_list->SetColumns(StandingsColumns());
    m_body->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_body));
    m_body->setMaximumWidth(60);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Trest udelený komisiou:"), this));
    row->addSpacing(20);
    row->addWidget(new QLabel(QStringLiteral("Trestné body:"), this));
    row->addWidget(m_body);
    row->addWidget(m_recalculate);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_notes);
    layout->addLayout(row);
    layout->addWidget(m_trest, 1);
    m_body->installEventFilter(this);
    connect(m_list, &CMyListCtrl::itemSelectionChanged, this, &CTabulkaView::ShowSanction);
    connect(m_trest, &QPlainTextEdit::textChanged, this, &CTabulkaView::SaveText);
    connect(m_recalculate, &QPushButton::clicked, this, &CTabulkaView::Recalculate);
}

QString CTabulkaView::Title() const
{
    return m_title->text();
}

void CTabulkaView::OnInitialUpdate()
{
    m_competition = m_doc.CurrentCompetition();
    m_list->setRowCount(0);
    if (m_doc.IsDatabaseOpen() && m_competition != 0)
        Load();
    UpdateEditAccess();
}

void CTabulkaView::Load()
{
    m_filling = true;
    CDatabaza& db = m_doc.Database();
    m_title->setText(StandingsTitle(db, m_competition));
    m_list->Fill(StandingsList(db, m_competition));
    const QStringList notes = StandingsNotes(db, m_competition);
    m_notes->setText(notes.join(QLatin1Char('\n')));
    m_notes->setVisible(!notes.isEmpty());
    m_trest->clear();
    m_body->clear();
    m_filling = false;
}

void CTabulkaView::UpdateEditAccess()
{
    const bool edit = m_doc.HasEditAccess() && m_doc.IsDatabaseOpen();
    for (QWidget* w : std::initializer_list<QWidget*>{m_trest, m_body, m_recalculate})
        w->setEnabled(edit);
}

void CTabulkaView::ShowSanction()
{
    const int club = m_list->SelectedId();
    if (club == 0)
        return;
    m_doc.Run([&] {
        const CTrest sanction = ClubSanction(m_doc.Database(), m_competition, club);
        m_filling = true;
        m_trest->setPlainText(sanction.text);
        m_body->setText(QString::number(sanction.points));
        m_filling = false;
    });
}

void CTabulkaView::SaveText()
{
    const int club = m_list->SelectedId();
    if (m_filling || club == 0 || !m_doc.HasEditAccess())
        return;
    QString text = m_trest->toPlainText();
    if (text.size() > kDlzkaTrestu) {
        // What is typed past the limit is not taken, and she is told so, rather than cut when read.
        text.truncate(kDlzkaTrestu);
        m_filling = true;
        m_trest->setPlainText(text);
        m_trest->moveCursor(QTextCursor::End);
        m_filling = false;
        m_doc.User().ShowMessage(QStringLiteral("Text trestu môže mať najviac %1 znakov.").arg(kDlzkaTrestu),
                                 CPouzivatel::Ikona::Vykricnik);
    }
    m_doc.Run([&] { SaveSanctionText(m_doc.Database(), m_competition, club, text); });
}

void CTabulkaView::SavePoints()
{
    const int club = m_list->SelectedId();
    if (m_filling || club == 0 || !m_doc.HasEditAccess())
        return;
    const int row = m_list->SelectedRow();
    m_doc.Run([&] {
        SaveSanctionPoints(m_doc.Database(), m_competition, club, m_body->text());
        Load();
    });
    // The club keeps the selection wherever its new points put it.
    const int moved = m_list->Content().FindRow(club);
    m_list->SelectRow(moved >= 0 ? moved : row);
}

bool CTabulkaView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_body && event->type() == QEvent::FocusOut)
        SavePoints();
    return CPohlad::eventFilter(watched, event);
}

void CTabulkaView::Recalculate()
{
    // The standings' counts are the secretary's; a deduction in them the disciplinary committee's.
    if (m_competition == 0 || !m_doc.HasEditAccess(CAgenda::kSekretariat))
        return;
    m_doc.Run([&] {
        CZaneprazdnenie busy(m_doc.User());
        RecalculateCompetition(m_doc.Database(), m_competition);
        Load();
    });
}

bool CTabulkaView::Prints() const
{
    return m_doc.IsDatabaseOpen() && m_competition != 0;
}

std::unique_ptr<CTlacovina> CTabulkaView::Printout()
{
    return std::make_unique<CTlacTabulky>(m_doc.Database(), m_competition);
}

void CTabulkaView::Export()
{
    m_doc.Run([this] {
        if (const auto page = ExportStandings(m_doc.Database(), m_competition))
            SaveExportedPage(m_doc.User(), *page, kSuborTabulky);
    });
}
