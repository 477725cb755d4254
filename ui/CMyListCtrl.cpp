#include "CMyListCtrl.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFont>
#include <QHash>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QSet>
#include <QStyle>
#include <QToolTip>

#include <functional>
#include <numeric>

namespace {
Qt::Alignment Align(Zarovnanie z)
{
    switch (z) {
    case Zarovnanie::Stred:
        return Qt::AlignCenter;
    case Zarovnanie::Vpravo:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

// The rows as the list control shows them: the core's list and the colours given to single cells.
class CModelZoznamu : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    CZoznam m_list;
    QHash<quint64, QColor> m_colors;
    // Cells that warn: a sign and bold type, which the selection's colours do not hide.
    QSet<quint64> m_warnings;

    static quint64 Key(int row, int column) { return (quint64(quint32(row)) << 32) | quint32(column); }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_list.RowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_list.ColumnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_list.RowCount())
            return {};
        const CRiadokZoznamu& row = m_list.rows.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return row.Cell(index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Align(m_list.columns.value(index.column()).alignment));
        case Qt::ForegroundRole: {
            const auto it = m_colors.constFind(Key(index.row(), index.column()));
            return it == m_colors.constEnd() ? QVariant() : QVariant(*it);
        }
        case Qt::DecorationRole:
            if (m_warnings.contains(Key(index.row(), index.column())))
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            return {};
        case Qt::FontRole:
            if (row.bold || m_warnings.contains(Key(index.row(), index.column()))) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        case Qt::UserRole:
            return row.id;
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= m_list.ColumnCount())
            return {};
        if (role == Qt::DisplayRole)
            return m_list.columns.at(section).header;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Align(m_list.columns.at(section).alignment));
        return {};
    }
    void Reset(const std::function<void()>& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }
    void Grow(int rows)
    {
        const int first = m_list.RowCount();
        beginInsertRows({}, first, rows - 1);
        for (int r = first; r < rows; ++r)
            m_list.rows.append({QStringList(m_list.ColumnCount(), QString()), 0, false});
        endInsertRows();
    }
    void Changed(int row, int column)
    {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i);
    }
};

CMyListCtrl::CMyListCtrl(QWidget* parent) : QTableView(parent), m_model(new CModelZoznamu(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Rows of one height: the list never measures 15,000 rows to lay them out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setAlternatingRowColors(false);
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMyListCtrl::itemSelectionChanged);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit cellDoubleClicked(index.row(), index.column()); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (m_settingWidths || columnCount() == 0)
            return;
        // The user's widths stay as he left them.
        m_userWidths = true;
        if (!m_widthStore)
            return;
        QVector<int> widths;
        for (int i = 0; i < columnCount(); ++i)
            widths << columnWidth(i);
        m_widthStore->SetColumnWidths(WidthsKey(), widths);
    });
}

QString CMyListCtrl::ToolTipAt(const QPoint& position) const
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return {};
    const QString text = index.data().toString();
    // The item view keeps a margin of the focus frame and one pixel on each side of the text.
    const int margin = (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) * 2;
    const QFont font =
        index.data(Qt::FontRole).isValid() ? index.data(Qt::FontRole).value<QFont>() : this->font();
    return QFontMetrics(font).horizontalAdvance(text) > columnWidth(index.column()) - margin ? text
                                                                                             : QString();
}

bool CMyListCtrl::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(indexAt(help->pos())));
        return true;
    }
    return QTableView::viewportEvent(event);
}

void CMyListCtrl::RememberWidths(CSirkyStlpcov* store, const QString& name)
{
    m_widthStore = store;
    m_widthName = name;
    ApplyRememberedWidths();
}

QString CMyListCtrl::WidthsKey() const
{
    return QStringLiteral("%1-%2").arg(m_widthName).arg(columnCount());
}

void CMyListCtrl::ApplyRememberedWidths()
{
    if (!m_widthStore || columnCount() == 0)
        return;
    const QVector<int> widths = m_widthStore->ColumnWidths(WidthsKey());
    if (widths.size() != columnCount())
        return;
    m_settingWidths = true;
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i, widths.at(i));
    m_settingWidths = false;
}

CMyListCtrl::~CMyListCtrl() = default;

void CMyListCtrl::keyPressEvent(QKeyEvent* event)
{
    // Enter does on the current row what a double click does, so that the lists work without a mouse.
    const QModelIndex current = currentIndex();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && current.isValid()) {
        emit cellDoubleClicked(current.row(), current.column());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CMyListCtrl::SetColumns(const QVector<CStlpecZoznamu>& columns)
{
    m_settingWidths = true;
    m_model->Reset([&] {
        m_model->m_list.columns = columns;
        for (CRiadokZoznamu& row : m_model->m_list.rows)
            row.cells.resize(columns.size());
    });
    // The widths were chosen for a small system font; they grow with the font in use (and so with
    // the screen's scaling), and a column is never narrower than its header.
    const double scale = std::max(1.0, fontMetrics().averageCharWidth() / 5.5);
    m_settingWidths = true;
    m_userWidths = false;
    m_natural.clear();
    for (int i = 0; i < columns.size(); ++i) {
        const int header = horizontalHeader()->fontMetrics().horizontalAdvance(columns.at(i).header) + 14;
        m_natural << std::max(header, static_cast<int>(columns.at(i).width * scale));
        setColumnWidth(i, m_natural.last());
    }
    m_settingWidths = false;
    ApplyRememberedWidths();
    FitToWidth();
}

bool CMyListCtrl::HasRememberedWidths() const
{
    return m_widthStore && m_widthStore->ColumnWidths(WidthsKey()).size() == columnCount();
}

void CMyListCtrl::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    FitToWidth();
}

void CMyListCtrl::FitToWidth()
{
    if (m_userWidths || HasRememberedWidths() || m_natural.size() != columnCount() || columnCount() == 0)
        return;
    // A few pixels spare: a header exactly as wide as the list still gets a scroll bar.
    const int available = viewport()->width() - 4;
    if (available <= 0)
        return;
    QVector<int> widths = m_natural;
    int total = std::accumulate(widths.cbegin(), widths.cend(), 0);
    QVector<int> floors(widths.size());
    for (int i = 0; i < widths.size(); ++i) {
        const bool wide = m_model->m_list.columns.at(i).width > 80;
        const int header =
            horizontalHeader()->fontMetrics().horizontalAdvance(m_model->m_list.columns.at(i).header) + 14;
        floors[i] = wide ? std::min(widths.at(i), std::max(100, header)) : widths.at(i);
    }
    while (total > available) {
        int widest = -1;
        for (int i = 0; i < widths.size(); ++i)
            if (widths.at(i) > floors.at(i) && (widest < 0 || widths.at(i) > widths.at(widest)))
                widest = i;
        if (widest < 0)
            break;
        // The widest gives way down to the next widest, so that the wide columns end up alike.
        int next = floors.at(widest);
        for (int i = 0; i < widths.size(); ++i)
            if (i != widest && widths.at(i) < widths.at(widest))
                next = std::max(next, widths.at(i));
        const int cut = std::max(1, std::min(total - available, widths.at(widest) - next));
        widths[widest] -= cut;
        total -= cut;
    }
    m_settingWidths = true;
    for (int i = 0; i < widths.size(); ++i)
        if (columnWidth(i) != widths.at(i))
            setColumnWidth(i, widths.at(i));
    m_settingWidths = false;
}

void CMyListCtrl::SetRow(int row, const CRiadokZoznamu& data)
{
    if (row < 0 || row >= rowCount())
        return;
    CRiadokZoznamu& target = m_model->m_list.rows[row];
    target = data;
    target.cells.resize(columnCount());
    emit m_model->dataChanged(m_model->index(row, 0), m_model->index(row, std::max(0, columnCount() - 1)));
}

void CMyListCtrl::Fill(const CZoznam& list)
{
    const bool blocked = selectionModel()->blockSignals(true);
    // The header lays its sections out again as the rows change: that is no width the user gave.
    const bool setting = m_settingWidths;
    m_settingWidths = true;
    m_model->Reset([&] {
        m_model->m_list.rows = list.rows;
        for (CRiadokZoznamu& row : m_model->m_list.rows)
            row.cells.resize(m_model->m_list.ColumnCount());
        m_model->m_colors.clear();
        m_model->m_warnings.clear();
    });
    m_settingWidths = setting;
    selectionModel()->blockSignals(blocked);
    FitNarrowColumns();
}

void CMyListCtrl::FitNarrowColumns()
{
    // A narrow column (a round, a number, a date, a score) shows its values whole: "24. kolo", not
    // "24. k…". Wide columns of names and notes keep their widths, and so does a column whose width
    // the user chose.
    if (HasRememberedWidths())
        return;
    const QFontMetrics metrics = fontMetrics();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 12;
    m_settingWidths = true;
    for (int c = 0; c < columnCount(); ++c) {
        if (m_model->m_list.columns.at(c).width > 80)
            continue;
        // A whole season's list has tens of thousands of rows: only the longest texts can be the widest,
        // and each of them is measured once.
        qsizetype longest = 0;
        for (const CRiadokZoznamu& row : m_model->m_list.rows)
            longest = std::max(longest, row.Cell(c).size());
        QSet<QString> measured;
        int widest = 0;
        for (const CRiadokZoznamu& row : m_model->m_list.rows) {
            const QString& text = row.Cell(c);
            if (text.size() + 3 < longest || measured.contains(text))
                continue;
            measured.insert(text);
            widest = std::max(widest, metrics.horizontalAdvance(text));
        }
        if (c < m_natural.size() && widest + padding > m_natural.at(c))
            m_natural[c] = widest + padding;
    }
    m_settingWidths = false;
    FitToWidth();
}

void CMyListCtrl::SetCellText(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    m_model->m_list.rows[row].cells[column] = text;
    m_model->Changed(row, column);
}

void CMyListCtrl::SetCellColor(int row, int column, const QColor& color)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    const quint64 key = CModelZoznamu::Key(row, column);
    if (m_model->m_colors.value(key, QColor(Qt::black)) == color)
        return;
    m_model->m_colors.insert(key, color);
    m_model->Changed(row, column);
}

QString CMyListCtrl::CellText(int row, int column) const
{
    return m_model->m_list.Text(row, column);
}

void CMyListCtrl::SetCellWarning(int row, int column, bool warning)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    const quint64 key = CModelZoznamu::Key(row, column);
    if (m_model->m_warnings.contains(key) == warning)
        return;
    if (warning)
        m_model->m_warnings.insert(key);
    else
        m_model->m_warnings.remove(key);
    m_model->Changed(row, column);
}

bool CMyListCtrl::CellWarning(int row, int column) const
{
    return m_model->m_warnings.contains(CModelZoznamu::Key(row, column));
}

QColor CMyListCtrl::CellColor(int row, int column) const
{
    return m_model->m_colors.value(CModelZoznamu::Key(row, column), QColor(Qt::black));
}

QString CMyListCtrl::HeaderText(int column) const
{
    return m_model->m_list.columns.value(column).header;
}

int CMyListCtrl::rowCount() const
{
    return m_model->m_list.RowCount();
}

int CMyListCtrl::columnCount() const
{
    return m_model->m_list.ColumnCount();
}

void CMyListCtrl::setRowCount(int rows)
{
    rows = std::max(0, rows);
    if (rows == rowCount())
        return;
    if (rows > rowCount()) {
        m_model->Grow(rows);
        return;
    }
    const bool setting = m_settingWidths;
    m_settingWidths = true;
    m_model->Reset([&] {
        m_model->m_list.rows.resize(rows);
        m_model->m_colors.clear();
        m_model->m_warnings.clear();
    });
    m_settingWidths = setting;
}

void CMyListCtrl::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_model->Reset([&] {
        m_model->m_list.rows.removeAt(row);
        m_model->m_colors.clear();
        m_model->m_warnings.clear();
    });
}

int CMyListCtrl::RowId(int row) const
{
    return row >= 0 && row < rowCount() ? m_model->m_list.rows.at(row).id : 0;
}

int CMyListCtrl::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int CMyListCtrl::SelectedId() const
{
    const int row = SelectedRow();
    return row < 0 ? 0 : RowId(row);
}

void CMyListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

CZoznam CMyListCtrl::Content() const
{
    return m_model->m_list;
}
