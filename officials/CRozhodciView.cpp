#include "CRozhodciView.h"

#include "competition/sutaze.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "officials/znamky.h"
#include "output/CReportGenerator.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/hladanie.h"
#include "ui/ovladace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------------------------------

CUdajeRozhodci::CUdajeRozhodci(CLigaroDoc& doc, const CRegister& reg, int id, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_reg(reg), m_meno(new QLineEdit(this)), m_priezvisko(new QLineEdit(this)),
      m_rc(new QLineEdit(this)), m_domov(new QLineEdit(this)), m_praca(new QLineEdit(this)),
      m_mobil(new QLineEdit(this)), m_znamka(new QLineEdit(this)), m_beh(new QLineEdit(this)),
      m_pozn(new QPlainTextEdit(this)), m_sutaz(new QComboBox(this))
{
    setWindowTitle(reg.withRun ? QStringLiteral("Údaje rozhodcu") : QStringLiteral("Údaje delegáta"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Meno:"), m_meno);
    form->addRow(QStringLiteral("Priezvisko:"), m_priezvisko);
    form->addRow(QStringLiteral("Rodné číslo:"), m_rc);
    form->addRow(QStringLiteral("Tel. domov:"), m_domov);
    form->addRow(QStringLiteral("Tel. práca:"), m_praca);
    form->addRow(QStringLiteral("Mobil:"), m_mobil);
    form->addRow(QStringLiteral("Známka z písomného testu:"), m_znamka);
    if (reg.withRun) {
        auto* run = new QHBoxLayout;
        run->addWidget(m_beh);
        run->addWidget(new QLabel(QStringLiteral("metrov"), this));
        form->addRow(QStringLiteral("12 min. beh:"), run);
    } else {
        m_beh->hide();
    }
    form->addRow(QStringLiteral("Do súťaže: "), m_sutaz);
    form->addRow(QStringLiteral("Poznámka:"), m_pozn);
    m_pozn->setFixedHeight(m_pozn->fontMetrics().height() * 4 + 10);
    m_pozn->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        for (const CSutaz& s : ReadCompetitions(db))
            m_sutaz->addItem(s.nazov, s.id);
        m_sutaz->setCurrentIndex(-1);
        if (id != 0)
            if (const auto values = ReadOfficial(db, reg, id))
                SetValues(*values);
    });
}

void CUdajeRozhodci::SetValues(const CUdajeFunkcionara& v)
{
    m_meno->setText(v.meno);
    m_priezvisko->setText(v.priezvisko);
    m_rc->setText(v.rc);
    m_domov->setText(v.domov);
    m_praca->setText(v.praca);
    m_mobil->setText(v.mobil);
    m_znamka->setText(v.znamka);
    m_beh->setText(v.beh);
    m_pozn->setPlainText(v.pozn);
    m_sutaz->setCurrentIndex(m_sutaz->findData(v.skupina));
}

CUdajeFunkcionara CUdajeRozhodci::Values() const
{
    CUdajeFunkcionara v;
    v.meno = m_meno->text();
    v.priezvisko = m_priezvisko->text();
    v.rc = m_rc->text();
    v.domov = m_domov->text();
    v.praca = m_praca->text();
    v.mobil = m_mobil->text();
    v.znamka = m_znamka->text();
    v.beh = m_beh->text();
    v.pozn = m_pozn->toPlainText();
    v.skupina = m_sutaz->currentIndex() >= 0 ? m_sutaz->currentData().toInt() : 0;
    return v;
}

void CUdajeRozhodci::accept()
{
    if (const auto error = ValidateOfficial(m_reg, Values())) {
        m_doc.User().ShowMessage(error->first, CPouzivatel::Ikona::Vykricnik);
        (error->second == 0 ? m_meno : m_priezvisko)->setFocus();
        return;
    }
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------------

CRozhodciView::CRozhodciView(const CRegister& reg, CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CZaznamovyPohlad(doc, frame, parent), m_reg(reg), m_title(new CMyStatic(reg.title, this)),
      m_list(new CMyListCtrl(this)), m_meno(new QLabel(this)), m_domov(new QLabel(this)),
      m_praca(new QLabel(this)), m_mobil(new QLabel(this))
{
    auto* contacts = new QGridLayout;
    const QStringList labels = {QStringLiteral("Meno:"), QStringLiteral("Tel. domov:"),
                                QStringLiteral("Tel. do práce:"), QStringLiteral("Mobil:")};
    QLabel* values[] = {m_meno, m_domov, m_praca, m_mobil};
    for (int i = 0; i < 4; ++i) {
        contacts->addWidget(new QLabel(labels.at(i), this), i, 0);
        contacts->addWidget(values[i], i, 1);
    }
    contacts->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 2);
    layout->addLayout(contacts);
    layout->addStretch(1);
    m_list->SetColumns(OfficialColumns(reg));
    SetRecordList(m_list, reg.addItem);
    connect(m_list, &CMyListCtrl::itemSelectionChanged, this, &CRozhodciView::ShowContacts);
}

bool CRozhodciView::CanEdit() const
{
    return m_doc.HasEditAccess() && m_doc.IsDatabaseOpen();
}

void CRozhodciView::OnInitialUpdate()
{
    m_list->setRowCount(0);
    if (m_doc.IsDatabaseOpen())
        FillList();
}

void CRozhodciView::FillList()
{
    m_list->Fill(OfficialsList(m_doc.Database(), m_reg));
}

QString CRozhodciView::ContactName() const
{
    return m_meno->text();
}

void CRozhodciView::ShowContacts()
{
    const int id = m_list->SelectedId();
    m_doc.Run([&] {
        const CKontakty c = id != 0 ? Contacts(m_doc.Database(), m_reg, id) : CKontakty{};
        m_meno->setText(c.meno);
        m_domov->setText(c.domov);
        m_praca->setText(c.praca);
        m_mobil->setText(c.mobil);
    });
}

void CRozhodciView::EditRecord()
{
    const int row = m_list->SelectedRow();
    if (row < 0 || !CanEdit())
        return;
    const int id = m_list->RowId(row);
    CUdajeRozhodci dialog(m_doc, m_reg, id, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int saved = 0;
    m_doc.Run([&] {
        saved = SaveOfficial(m_doc.Database(), m_reg, id, dialog.Values());
        FillList();
    });
    m_list->SelectRow(m_list->Content().FindRow(saved));
}

void CRozhodciView::RemoveRecord()
{
    const int id = m_list->SelectedId();
    if (!CanEdit() || id == 0)
        return;
    m_doc.Run([&] {
        if (RemoveOfficial(m_doc, m_reg, id))
            FillList();
    });
}

bool CRozhodciView::Prints() const
{
    return m_doc.IsDatabaseOpen();
}

std::unique_ptr<CTlacovina> CRozhodciView::Printout()
{
    return std::make_unique<CTlacSupisky>(m_doc.Database(), m_reg);
}

// ---------------------------------------------------------------------------------------------------

CVyberRozhodcu::CVyberRozhodcu(CLigaroDoc& doc, int match, int function, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_match(match), m_function(function), m_list(new CMyListCtrl(this)),
      m_search(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Nominácia %1").arg(kSkratkyFunkcii.value(function - 1)));
    auto* none = new QLabel(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Vyhľadať meno:"), m_search);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(none);
    layout->addWidget(m_list, 1);
    layout->addWidget(OkCancelButtons(this));
    m_list->SetColumns({{QStringLiteral("Meno"), Zarovnanie::Vlavo, 150}});
    ResizeWithinScreen(this, QSize(320, 460));
    m_doc.Run([&] {
        const CZoznam choices = OfficialChoices(m_doc.Database(), function);
        m_list->Fill(choices);
        m_list->SelectRow(choices.FindRow(NominatedOfficial(m_doc.Database(), match, function)));
    });
    // Typing starts in the search: a letter never jumps to whoever's name begins with it.
    m_searching = new CHladanieMena(m_search, ZoznamNaHladanie(m_list), none, this);
    connect(m_searching, &CHladanieMena::Taken, this, &CVyberRozhodcu::accept);
    connect(m_list, &CMyListCtrl::cellDoubleClicked, this, &CVyberRozhodcu::accept);
}

void CVyberRozhodcu::accept()
{
    // Only a name in sight is nominated.
    if (!m_searching->HasChoice()) {
        m_doc.User().ShowMessage(kOznacteHraca, CPouzivatel::Ikona::Vykricnik);
        return;
    }
    const int chosen = m_list->SelectedId();
    std::optional<CKolizia> clash;
    if (chosen != kZiadnyRozhodca)
        m_doc.Run([&] { clash = ClashOf(m_doc.Database(), chosen, m_match, m_function); });
    if (clash && !m_doc.User().AskYesNo(ClashQuestion(*clash, m_function)))
        return;
    m_chosen = chosen;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------------

CNominacieView::CNominacieView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(QStringLiteral("Nominácie R a DZ:"), this)),
      m_dates(new QComboBox(this)), m_list(new CMyListCtrl(this)), m_note(new QLineEdit(this)),
      m_orphans(new QPushButton(kOdstranitNominacieBezZapasu, this)),
      m_report(std::make_unique<CReportGenerator>())
{
    auto* top = new QHBoxLayout;
    top->addWidget(m_title);
    // A day is read whole ("11. 10. 2025" beside its tick), however narrow the window.
    m_dates->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_dates->setMinimumContentsLength(QStringLiteral("11. 10. 2025").size() + 2);
    m_dates->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    top->addWidget(m_dates);
    top->addStretch();
    top->addWidget(m_orphans);
    m_orphans->hide();
    connect(m_orphans, &QPushButton::clicked, this, &CNominacieView::RemoveOrphans);
    // One row a function: who is nominated, the button to choose, and the mark (the delegate's note).
    auto* below = new QGridLayout;
    below->addWidget(new QLabel(QStringLiteral("Známky:"), this), 0, 3);
    for (int f = 0; f < 4; ++f) {
        m_names[f] = new QLabel(this);
        m_buttons[f] = new QPushButton(QStringLiteral("Meno ..."), this);
        below->addWidget(new QLabel(kSkratkyFunkcii.at(f) + QLatin1Char(':'), this), f + 1, 0);
        below->addWidget(m_names[f], f + 1, 1);
        below->addWidget(m_buttons[f], f + 1, 2);
        const int function = f + 1;
        connect(m_buttons[f], &QPushButton::clicked, this, [this, function] { ChooseOfficial(function); });
    }
    for (int f = 0; f < 3; ++f) {
        m_marks[f] = new QLineEdit(this);
        m_marks[f]->setMaximumWidth(60);
        below->addWidget(m_marks[f], f + 1, 3);
        const int function = f + 1;
        connect(m_marks[f], &QLineEdit::textChanged, this, [this, function] { StoreMarkOf(function); });
    }
    below->addWidget(m_note, 4, 3);
    below->addWidget(new QLabel(QStringLiteral("* poznámka"), this), 4, 4);
    below->setColumnStretch(1, 1);
    below->setColumnStretch(3, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(below);
    m_list->SetColumns(NominationColumns());

    connect(m_dates, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling && index >= 0)
            m_doc.Run([this] { Refill(); });
    });
    connect(m_list, &CMyListCtrl::itemSelectionChanged, this, &CNominacieView::ShowSelected);
    connect(m_list, &CMyListCtrl::cellDoubleClicked, this, [this](int, int column) {
        if (column >= kStlpecR && column <= kStlpecDZ)
            ChooseOfficial(column - kStlpecR + 1);
    });
    connect(m_note, &QLineEdit::textChanged, this, &CNominacieView::StoreNote);

    // The template is read once; without it the view still works, only it cannot print.
    m_templateLoaded = m_report->LoadTemplate(FileBesideProgram(kSablonaNominacii));
    if (!m_templateLoaded)
        m_doc.User().ShowMessage(m_report->LastError(), CPouzivatel::Ikona::Vykricnik);
    m_report->SetLandscape(true);
}

CNominacieView::~CNominacieView() = default;

void CNominacieView::OnInitialUpdate()
{
    m_filling = true;
    m_dates->clear();
    m_list->setRowCount(0);
    m_rows.clear();
    if (m_doc.IsDatabaseOpen()) {
        const QVector<CPolozkaDatumu> items = DateItems(m_doc.Database());
        const QDate today = QDate::currentDate();
        // With no match at all there is nothing to choose. Past days are ticked; the list opens on
        // the next match day, the one the committee nominates for.
        if (items.size() > 1)
            for (const auto& item : items)
                AddChooserItem(m_dates, item.text, item.key, item.date.isValid() && item.date < today);
        const int current = CurrentDayIndex(items, today);
        m_dates->setCurrentIndex(m_dates->count() > 0 ? std::max(0, current) : -1);
    }
    m_filling = false;
    Refill();
    bool orphans = false;
    if (m_doc.IsDatabaseOpen())
        m_doc.Run([&] { orphans = OrphanNominationCount(m_doc.Database()) > 0; });
    m_orphans->setVisible(orphans);
    UpdateEditAccess();
}

void CNominacieView::Refill()
{
    m_rows.clear();
    const int selected = m_list->SelectedId();
    m_list->setRowCount(0);
    if (!m_doc.IsDatabaseOpen() || m_dates->currentIndex() < 0)
        return;
    m_rows = Nominations(m_doc.Database(), m_dates->currentData().toString());
    m_list->Fill(NominationList(m_rows));
    ShowConflicts();
    m_list->SelectRow(m_list->Content().FindRow(selected));
}

void CNominacieView::ShowConflicts()
{
    for (int r = 0; r < m_rows.size(); ++r)
        for (int f = 0; f < 4; ++f) {
            m_list->SetCellColor(r, kStlpecR + f, m_rows.at(r).conflictFree[f] ? Qt::black : Qt::red);
            m_list->SetCellWarning(r, kStlpecR + f, !m_rows.at(r).conflictFree[f]);
        }
}

void CNominacieView::ShowSelected()
{
    const int row = m_list->SelectedRow();
    m_filling = true;
    for (int f = 0; f < 4; ++f)
        m_names[f]->setText(row >= 0 && row < m_rows.size() ? m_rows.at(row).names[f] : QString());
    for (int f = 0; f < 3; ++f)
        m_marks[f]->setText(row >= 0 && row < m_rows.size() ? m_rows.at(row).marks[f] : QString());
    m_note->setText(row >= 0 && row < m_rows.size() ? m_rows.at(row).note : QString());
    m_filling = false;
    UpdateEditAccess();
}

void CNominacieView::RemoveOrphans()
{
    if (!m_doc.HasEditAccess())
        return;
    int removed = 0;
    if (!m_doc.Run([&] { removed = RemoveOrphanNominations(m_doc); }) || removed < 0)
        return;
    m_doc.User().ShowMessage(OrphanNominationsRemovedMessage(removed));
    OnInitialUpdate();
}

void CNominacieView::UpdateEditAccess()
{
    const bool edit = m_doc.HasEditAccess() && m_doc.IsDatabaseOpen();
    m_orphans->setEnabled(edit);
    for (int f = 0; f < 4; ++f)
        m_buttons[f]->setEnabled(edit);
    // A mark or a note only where an official is nominated.
    for (int f = 0; f < 3; ++f)
        m_marks[f]->setEnabled(edit && m_names[f]->text().size() >= 4);
    m_note->setEnabled(edit && m_names[3]->text().size() >= 4);
}

void CNominacieView::ChooseOfficial(int function)
{
    if (!m_doc.HasEditAccess()) {
        m_doc.User().ShowMessage(kMusiteBytPrihlaseny, CPouzivatel::Ikona::Vykricnik);
        return;
    }
    const int match = m_list->SelectedId();
    if (match == 0)
        return;
    CVyberRozhodcu dialog(m_doc, match, function, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int row = m_list->SelectedRow();
    m_doc.Run([&] {
        const QString name = SetNomination(m_doc.Database(), match, function, dialog.Chosen());
        if (row < 0 || row >= m_rows.size())
            return;
        m_rows[row].names[function - 1] = name;
        m_rows[row].officials[function - 1] = dialog.Chosen() == kZiadnyRozhodca ? 0 : dialog.Chosen();
        m_list->SetCellText(row, kStlpecR + function - 1, name);
        // A nomination can make or end a clash elsewhere: the colours of every row are looked at again.
        FindConflicts(m_doc.Database(), m_rows, m_dates->currentData().toString());
        ShowConflicts();
    });
    ShowSelected();
}

void CNominacieView::StoreMarkOf(int function)
{
    const int row = m_list->SelectedRow();
    const int match = m_list->SelectedId();
    if (m_filling || match == 0 || !m_doc.HasEditAccess())
        return;
    const QString text = m_marks[function - 1]->text();
    m_doc.Run([&] {
        if (StoreMark(m_doc.Database(), match, function, text) && row < m_rows.size())
            m_rows[row].marks[function - 1] = text;
    });
}

void CNominacieView::StoreNote()
{
    const int row = m_list->SelectedRow();
    const int match = m_list->SelectedId();
    if (m_filling || match == 0 || !m_doc.HasEditAccess())
        return;
    m_doc.Run([&] {
        if (StoreDelegateNote(m_doc.Database(), match, m_note->text()) && row < m_rows.size())
            m_rows[row].note = m_note->text();
    });
}

namespace {
// The report as a printout of its own, filled for the rows shown.
class CTlacNominacii : public CTlacovina
{
public:
    explicit CTlacNominacii(CReportGenerator& report) : m_report(report) {}
    int PageCount() override { return m_report.LayoutPages(); }
    void DrawPage(CPlocha& surface, int page) override { m_report.DrawPage(surface, page); }
    bool Landscape() const override { return true; }
    QString DocumentName() const override { return QStringLiteral("Nominácie rozhodcov"); }

private:
    CReportGenerator& m_report;
};
} // namespace

bool CNominacieView::Prints() const
{
    return m_templateLoaded && m_doc.IsDatabaseOpen();
}

std::unique_ptr<CTlacovina> CNominacieView::Printout()
{
    FillNominationReport(*m_report, m_doc.Database(), m_rows);
    return std::make_unique<CTlacNominacii>(*m_report);
}

bool CNominacieView::Exports() const
{
    return m_doc.IsDatabaseOpen();
}

void CNominacieView::Export()
{
    m_doc.Run([this] {
        SaveExportedPage(m_doc.User(), ExportNominations(m_doc.Database(), m_rows), kSuborNominacii);
    });
}

// ---------------------------------------------------------------------------------------------------

CZnamkyView::CZnamkyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_list(new CMyListCtrl(this)),
      m_counts(new QCheckBox(QStringLiteral("Známka z testu započítaná do priemeru"), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addWidget(new CMyStatic(QStringLiteral("Štatistiky známok rozhodcov"), this));
    layout->addWidget(m_counts);
    layout->addWidget(m_list, 1);
    m_list->SetColumns(MarkColumns());
    connect(m_counts, &QCheckBox::toggled, this, [this](bool counts) {
        if (m_filling)
            return;
        m_doc.Run([&] {
            SetTestMarkCounts(m_doc.Database(), counts);
            Compute();
        });
    });
}

void CZnamkyView::OnInitialUpdate()
{
    m_list->setRowCount(0);
    if (!m_doc.IsDatabaseOpen())
        return;
    m_filling = true;
    m_counts->setChecked(TestMarkCounts(m_doc.Database()));
    m_filling = false;
    Compute();
}

void CZnamkyView::Compute()
{
    CZaneprazdnenie busy(m_doc.User());
    m_list->Fill(MarkStatistics(m_doc.Database(), m_counts->isChecked()));
}

bool CZnamkyView::Prints() const
{
    return m_doc.IsDatabaseOpen();
}

std::unique_ptr<CTlacovina> CZnamkyView::Printout()
{
    return std::make_unique<CTlacZnamok>(m_doc.Database(), m_list->Content());
}
