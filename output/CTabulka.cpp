#include "CTabulka.h"

#include "CZoznam.h"
#include "web.h"

#include <algorithm>

namespace {

// A box given by its four edges (QRect's own bottom() is one short of the edge).
QRect Box(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Far enough for any text on an A4 page.
constexpr int kDaleko = 40000;

int Flags(Zarovnanie z)
{
    switch (z) {
    case Zarovnanie::Stred:
        return TextFlag::HCenter;
    case Zarovnanie::Vpravo:
        return TextFlag::Right;
    default:
        return TextFlag::Left;
    }
}

const CPero kTenkaCiara{0, Qt::black, Qt::SolidLine};

} // namespace

CTabulka::CTabulka(CPlocha& surface) : m_surface(surface) {}

int CTabulka::FlatPageCount(const CZoznam& list)
{
    return std::max(1, (list.RowCount() + kRiadkovNaStranu - 1) / kRiadkovNaStranu);
}

CPismo CTabulka::GridFont(int weight) const
{
    CPismo f;
    f.height = m_cellFontHeight;
    f.weight = weight;
    return f;
}

CPismo CTabulka::HeadingFont(int weight) const
{
    CPismo f;
    f.height = m_headingFontHeight;
    f.weight = weight;
    return f;
}

int CTabulka::TextWidth(const QString& text)
{
    const int a = m_surface.Metrics().averageWidth;
    return (a + a / 3) * static_cast<int>(text.size());
}

void CTabulka::TextAt(int x, int y, int flags, const QString& text)
{
    int left = x, right = x + kDaleko;
    if (flags & TextFlag::Right) {
        left = x - kDaleko;
        right = x;
    } else if (flags & TextFlag::HCenter) {
        left = x - kDaleko;
        right = x + kDaleko;
    }
    const QRect box =
        (flags & TextFlag::Bottom) ? Box(left, y - kDaleko, right, y) : Box(left, y, right, y + kDaleko);
    m_surface.Text(box, flags | TextFlag::SingleLine, text);
}

void CTabulka::AddColumn(const QString& sample, Zarovnanie alignment)
{
    m_surface.SetFont(GridFont(400));
    const CMetriky m = m_surface.Metrics();
    m_rowHeight = m.height + m.height / 2;
    const int width = (m.averageWidth + m.averageWidth / 3) * static_cast<int>(sample.size());
    m_widths.append(width);
    m_alignments.append(alignment);
    m_rightEdges.append((m_rightEdges.isEmpty() ? 0 : m_rightEdges.last()) + width);
}

void CTabulka::SetBorders(bool left, bool bottom, bool right, bool top)
{
    m_borders[0] = left;
    m_borders[1] = bottom;
    m_borders[2] = right;
    m_borders[3] = top;
}

void CTabulka::GridCell(int row, int column, const QString& text)
{
    GridCellEx(row, column, text, m_alignments.value(column), row == 0 ? 700 : 400);
}

void CTabulka::GridCellEx(int row, int column, const QString& text, Zarovnanie alignment, int weight,
                          bool clip)
{
    if (column < 0 || column >= m_rightEdges.size())
        return;
    const int previousEdge = column > 0 ? m_rightEdges.at(column - 1) : 0;
    const int edge = m_rightEdges.at(column);
    const int left = m_x0 + previousEdge;
    int right = m_x0 + edge;
    const int top = kHornyOkrajMriezky + row * m_rowHeight;
    const int bottom = kHornyOkrajMriezky + (row + 1) * m_rowHeight;

    m_surface.SetFont(GridFont(weight));
    // A text longer than its column's sample widens the cell, so that a long name in the first
    // column is not cut off.
    const int estimated = TextWidth(text);
    if (edge < estimated)
        right = m_x0 + estimated;

    // The borders, as one path from the top-left corner: left side, bottom, right side, top; a side
    // that is off breaks the path.
    const QPoint corners[5] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}, {left, top}};
    QVector<QPoint> run;
    for (int side = 0; side <= 4; ++side) {
        if (side < 4 && m_borders[side]) {
            if (run.isEmpty())
                run.append(corners[side]);
            run.append(corners[side + 1]);
            continue;
        }
        if (run.size() > 1)
            m_surface.Polyline(run, kTenkaCiara);
        run.clear();
    }

    const int y = bottom - 20;
    int x = left + 50;
    if (alignment == Zarovnanie::Stred)
        x = m_x0 + previousEdge + (edge - previousEdge) / 2;
    else if (alignment == Zarovnanie::Vpravo)
        x = m_x0 + edge;
    const int flags = Flags(alignment) | TextFlag::Bottom | TextFlag::SingleLine;
    QRect box;
    if (alignment == Zarovnanie::Stred)
        box = Box(x - kDaleko, top - kDaleko, x + kDaleko, y);
    else if (alignment == Zarovnanie::Vpravo)
        box = Box(x - kDaleko, top - kDaleko, x, y);
    else
        box = Box(x, top - kDaleko, x + kDaleko, y);
    m_surface.Text(box, flags, text, clip ? Box(left, top, right, bottom) : QRect());

    m_lastLine = y;
    SetBorders(true, true, true, true);
}

void CTabulka::TitleLine(const QString& text)
{
    m_surface.SetFont(HeadingFont(500));
    TextAt(m_x0, kRiadokNadpisu, TextFlag::Left | TextFlag::Top, text);
}

void CTabulka::SeasonLine(const QString& text)
{
    m_surface.SetFont(HeadingFont(500));
    TextAt(m_x0, kRiadokSezony, TextFlag::Left | TextFlag::Top, text);
}

void CTabulka::HeadingLine(const QString& text, int n)
{
    m_surface.SetFont(GridFont(700));
    TextAt(m_x0, kRiadokNadpisu - kKrokNadpisov * n, TextFlag::Left | TextFlag::Top, text);
}

void CTabulka::RuledLine(const QString& text)
{
    m_surface.SetFont(GridFont(700));
    TextAt(m_x0, kRiadokSCiarou, TextFlag::Left | TextFlag::Bottom, text);
    m_surface.Line({m_x0, kRiadokSCiarou}, {kPravyOkraj, kRiadokSCiarou}, kTenkaCiara);
}

void CTabulka::Note(const QString& nameLine, const QString& textLine)
{
    m_surface.SetFont(GridFont(400));
    m_lastLine += 400;
    TextAt(m_x0, m_lastLine, TextFlag::Left | TextFlag::Top, nameLine);
    m_lastLine += 300;
    TextAt(m_x0, m_lastLine, TextFlag::Left | TextFlag::Top, textLine);
}

void CTabulka::PageFoot(const QString& leftText, int page, int pageCount)
{
    m_surface.SetFont(GridFont(400));
    TextAt(m_x0, kRiadokPaty, TextFlag::Left | TextFlag::Top, leftText);
    TextAt(kPravyOkraj, kRiadokPaty, TextFlag::Right | TextFlag::Top,
           QStringLiteral("Stránka %1/%2").arg(page).arg(pageCount));
    m_surface.Line({m_x0, kCiaraPaty}, {kPravyOkraj, kCiaraPaty}, kTenkaCiara);

    CPismo small = GridFont(400);
    small.height = 100;
    m_surface.SetFont(small);
    const QString product =
        QStringLiteral("  Spracované programom Agenda Mirak od %1  ").arg(kWebVyrobcuText);
    const int width = TextWidth(product);
    const int height = m_surface.Metrics().height;
    const int left = m_x0 + (kPravyOkraj - m_x0) / 2 - width / 2;
    // Drawn over the rule on a white background, so that the text interrupts it.
    const QRect box = Box(left, kCiaraPaty - height / 2, left + width, kCiaraPaty - height / 2 + height);
    m_surface.Text(box, TextFlag::HCenter | TextFlag::VCenter | TextFlag::SingleLine, product, box, true);
}

void CTabulka::PrintList(int page, const CZoznam& list)
{
    const int columns = list.ColumnCount();
    const int rows = list.RowCount();
    const auto longest = [&](int column, int from, int to, bool dataOnly) {
        QString sample = list.columns.at(column).header;
        for (int r = from; r < to; ++r) {
            if (dataOnly && (list.Text(r, 0).isEmpty() || list.Text(r, 1).isEmpty()))
                continue;
            const QString t = list.Text(r, column);
            if (t.size() > sample.size())
                sample = t;
        }
        return sample + QStringLiteral("  ");
    };
    const auto headerRow = [&](int gridRow) {
        for (int c = 0; c < columns; ++c)
            GridCellEx(gridRow, c, list.columns.at(c).header, list.columns.at(c).alignment, 700);
    };

    if (rows > 0 && !list.Text(0, 0).isEmpty()) {
        for (int c = 0; c < columns; ++c)
            AddColumn(longest(c, 0, rows, false), list.columns.at(c).alignment);
        headerRow(0);
        const int first = (page - 1) * kRiadkovNaStranu;
        const int last = std::min(rows, page * kRiadkovNaStranu);
        for (int r = first; r < last; ++r)
            for (int c = 0; c < columns; ++c)
                GridCell(r - first + 1, c, list.Text(r, c));
        return;
    }

    // Grouped: separator rows (first two cells empty), title rows (the group's name in the second
    // cell) and data rows. A page takes the list rows after (page-1)*50 up to page*50.
    const int first = (page - 1) * kRiadkovNaStranu + 1;
    const int last = std::min(rows - 1, page * kRiadkovNaStranu);
    QString title;
    for (int r = first - 1; r >= 0; --r)
        if (list.Text(r, 0).isEmpty() && !list.Text(r, 1).isEmpty()) {
            title = list.Text(r, 1);
            break;
        }
    bool columnsDefined = false;
    int m = 0;
    const auto titleAndHeader = [&] {
        SetBorders(false, false, false, false);
        GridCellEx(m, 0, title, Zarovnanie::Vlavo, 700, false);
        ++m;
        headerRow(m);
        ++m;
    };
    for (int i = first; i <= last; ++i) {
        const bool firstEmpty = list.Text(i, 0).isEmpty();
        const bool secondEmpty = list.Text(i, 1).isEmpty();
        const bool isTitle = firstEmpty && !secondEmpty;
        if (isTitle)
            title = list.Text(i, 1);
        if (!secondEmpty && !columnsDefined) {
            int groupEnd = i + 1;
            while (groupEnd < rows && !(list.Text(groupEnd, 0).isEmpty() && list.Text(groupEnd, 1).isEmpty()))
                ++groupEnd;
            for (int c = 0; c < columns; ++c)
                AddColumn(longest(c, i, groupEnd, true), list.columns.at(c).alignment);
            columnsDefined = true;
            titleAndHeader();
            if (isTitle)
                continue;
        } else if (isTitle) {
            titleAndHeader();
            continue;
        }
        if (!(firstEmpty && secondEmpty))
            for (int c = 0; c < columns; ++c)
                GridCell(m, c, list.Text(i, c));
        ++m;
    }
}
