#include "CTabulka.h"

#include "CZoznam.h"
#include "web.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// A box given by its four edges (QRect's own bottom() is one short of the edge).
QRect Box(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Far enough for any text on an A4 page.
constexpr int kDaleko = 40000;
// Air between a cell's text and its border; a left-aligned text starts further in.
constexpr int kVnutornyOkraj = 20;
constexpr int kLavyOkrajTextu = 50;

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

// The thin line of the tables: a width of its own on the paper (about 0.2 mm), so that the preview at
// any zoom, the printer and the PDF show the same line.
const CPero kTenkaCiara{10, Qt::black, Qt::SolidLine};

} // namespace

CTabulka::CTabulka(CPlocha& surface) : m_surface(surface) {}

void CTabulka::SetCellFontHeight(int height)
{
    m_cellFontHeight = height;
    m_surface.SetFont(GridFont(400));
    const CMetriky m = m_surface.Metrics();
    m_rowHeight = m.height + m.height / 2;
}

int CTabulka::CellPadding(Zarovnanie alignment)
{
    switch (alignment) {
    case Zarovnanie::Stred:
        return 2 * kVnutornyOkraj;
    case Zarovnanie::Vpravo:
        return kLavyOkrajTextu;
    default:
        return kLavyOkrajTextu + kVnutornyOkraj;
    }
}

void CTabulka::SetColumnWidths(const QVector<int>& widths, const QVector<Zarovnanie>& alignments)
{
    m_widths = widths;
    m_alignments = alignments;
    m_samples = QVector<QString>(widths.size());
    m_headers = QVector<QString>(widths.size());
    m_rightEdges.clear();
    int edge = 0;
    for (const int w : widths)
        m_rightEdges.append(edge += w);
    m_surface.SetFont(GridFont(400));
    const CMetriky m = m_surface.Metrics();
    m_rowHeight = m.height + m.height / 2;
    m_fitted = true;
    m_wholeTexts = true;
}

int CTabulka::RightEdge() const
{
    return m_surface.PageSize().width() - (kA4Sirka - kPravyOkraj);
}

int CTabulka::FootLine() const
{
    return m_surface.PageSize().height() - (kA4Vyska - kRiadokPaty);
}

int CTabulka::FootRule() const
{
    return m_surface.PageSize().height() - (kA4Vyska - kCiaraPaty);
}

void CTabulka::Fit()
{
    m_fitted = true;
    if (m_rightEdges.isEmpty())
        return;
    const int available = RightEdge() - m_x0;
    const int natural = m_rightEdges.last();
    if (natural <= available || natural <= 0)
        return;
    const double scale = static_cast<double>(available) / natural;
    const int base = m_cellFontHeight;
    int font = std::max(std::min(base, kNajmensiePismo), static_cast<int>(std::floor(base * scale)));

    // The widths at a font: estimated from the number of characters they leave air beside most
    // texts; that air goes first, in proportion, down to what the samples really need.
    const auto widthsAt = [&](int height) {
        m_cellFontHeight = height;
        m_surface.SetFont(GridFont(700));
        QVector<double> widths, air;
        double total = 0, allAir = 0;
        for (int i = 0; i < m_widths.size(); ++i) {
            widths.append(m_widths.at(i) * static_cast<double>(height) / base);
            // In the bold of the header row: the sample with its blanks, and the header with the air a
            // cell keeps around its text (and a twip or two the whole twips of the edges round away).
            const double around = m_alignments.at(i) == Zarovnanie::Stred ? 2 * kVnutornyOkraj
                                  : m_alignments.at(i) == Zarovnanie::Vpravo
                                      ? kLavyOkrajTextu
                                      : kLavyOkrajTextu + kVnutornyOkraj;
            const double need = std::max(m_surface.TextWidth(m_samples.at(i)) + kVnutornyOkraj,
                                         m_surface.TextWidth(m_headers.at(i)) + around) +
                                2;
            air.append(std::max(0.0, widths.last() - need));
            total += widths.last();
            allAir += air.last();
        }
        if (total > available && allAir > 0) {
            const double share = std::min(1.0, (total - available) / allAir);
            for (int i = 0; i < widths.size(); ++i)
                widths[i] -= air.at(i) * share;
        }
        return widths;
    };
    QVector<double> widths = widthsAt(font);
    double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    if (total > available + 0.5)
        m_surface.TableTooWide();
    // A table that still does not fit prints smaller, never below 7 pt; what is still missing is taken
    // from its widest columns, whose texts wrap (the printouts lay their cells out in lines).
    const int smallest = std::min(base, kNajmensiePismo);
    if (total > available && font > smallest) {
        font = std::max(smallest, static_cast<int>(std::floor(font * available / total)));
        widths = widthsAt(font);
        total = std::accumulate(widths.begin(), widths.end(), 0.0);
    }
    // What is still missing is taken from the widest columns (the names), so that the narrow ones (a
    // score, a number, their headers) keep their width: the widest are cut down to one common width
    // at which the table fits.
    if (total > available + 0.5) {
        QVector<double> sorted = widths;
        std::sort(sorted.begin(), sorted.end());
        double narrower = 0; // the sum of the columns that keep their width
        double cap = 0;
        for (qsizetype i = 0; i < sorted.size(); ++i) {
            cap = (available - narrower) / static_cast<double>(sorted.size() - i);
            if (cap <= sorted.at(i))
                break;
            narrower += sorted.at(i);
        }
        for (double& w : widths)
            w = std::min(w, cap);
    }
    int edge = 0;
    for (int i = 0; i < m_widths.size(); ++i) {
        m_widths[i] = static_cast<int>(std::floor(widths.at(i)));
        edge += m_widths.at(i);
        m_rightEdges[i] = edge;
    }
    m_surface.SetFont(GridFont(400));
    const CMetriky m = m_surface.Metrics();
    m_rowHeight = m.height + m.height / 2;
}

int CTabulka::GridRowsPerPage()
{
    m_surface.SetFont(GridFont(400));
    const CMetriky m = m_surface.Metrics();
    const int height = std::max(1, m.height + m.height / 2);
    // A little air above the foot's rule.
    return std::max(2, (FootRule() - 100 - kHornyOkrajMriezky) / height);
}

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

QString CTabulka::Sample(const QString& sample, const QString& longestText)
{
    return longestText.size() + 2 <= sample.size() ? sample
                                                   : QLatin1Char(' ') + longestText + QLatin1Char(' ');
}

QString CTabulka::Sample(const QString& sample, const QStringList& texts)
{
    QString longest;
    for (const QString& t : texts)
        if (t.size() > longest.size())
            longest = t;
    return Sample(sample, longest);
}

QStringList CTabulka::WrapCell(int column, const QString& text, const QString& separator)
{
    if (!m_fitted)
        Fit();
    m_surface.SetFont(GridFont(400));
    const int width = m_rightEdges.value(column) - (column > 0 ? m_rightEdges.value(column - 1) : 0);
    const QString mark = QLatin1Char(' ') + separator.trimmed();
    const QStringList pieces = text.split(separator);
    QStringList lines;
    QString line;
    for (int i = 0; i < pieces.size(); ++i) {
        const QString longer = line.isEmpty() ? pieces.at(i) : line + separator + pieces.at(i);
        const QString shown = i + 1 < pieces.size() ? longer + mark : longer;
        if (!line.isEmpty() && TextWidth(shown) > width) {
            lines.append(line + mark);
            line = pieces.at(i);
        } else {
            line = longer;
        }
    }
    lines.append(line);
    return lines;
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
    // Nothing runs off the paper: a line longer than it is shortened at the right margin.
    const QRect paper = Box(std::min(left, m_x0), box.top(), RightEdge(), box.bottom());
    const bool leftAligned = !(flags & (TextFlag::Right | TextFlag::HCenter));
    m_surface.Text(box, flags | TextFlag::SingleLine,
                   leftAligned ? m_surface.Elided(text, RightEdge() - x) : text, box.intersected(paper));
}

void CTabulka::AddColumn(const QString& sample, Zarovnanie alignment, const QString& header)
{
    m_surface.SetFont(GridFont(400));
    const CMetriky m = m_surface.Metrics();
    m_rowHeight = m.height + m.height / 2;
    const int width = (m.averageWidth + m.averageWidth / 3) * static_cast<int>(sample.size());
    m_widths.append(width);
    m_samples.append(sample);
    m_headers.append(header);
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

void CTabulka::GridCellLines(int row, int span, int column, const QStringList& lines, Zarovnanie alignment,
                             int weight)
{
    span = std::max(1, span);
    if (column < 0 || column >= m_rightEdges.size())
        return;
    if (!m_fitted)
        Fit();
    const bool borders[4] = {m_borders[0], m_borders[1], m_borders[2], m_borders[3]};
    for (int i = 0; i < span; ++i) {
        // One cell drawn as `span` stacked ones without the lines between them.
        SetBorders(borders[0], i == span - 1 && borders[1], borders[2], i == 0 && borders[3]);
        GridCellEx(row + i, column, lines.value(i), alignment, weight);
    }
}

int CTabulka::TextLineHeight(int weight)
{
    m_surface.SetFont(GridFont(weight));
    return m_surface.Metrics().height;
}

QStringList CTabulka::WrapToWidth(const QString& text, int width, int weight)
{
    m_surface.SetFont(GridFont(weight));
    return m_surface.Wrapped(text, width);
}

QStringList CTabulka::WrapInColumn(int column, const QString& text)
{
    if (!m_fitted)
        Fit();
    const int width = m_rightEdges.value(column) - (column > 0 ? m_rightEdges.value(column - 1) : 0);
    return WrapToWidth(text, std::max(1, width - kLavyOkrajTextu - kVnutornyOkraj));
}

void CTabulka::GridCellEx(int row, int column, const QString& text, Zarovnanie alignment, int weight,
                          bool clip)
{
    if (column < 0 || column >= m_rightEdges.size())
        return;
    if (!m_fitted)
        Fit();
    const int previousEdge = column > 0 ? m_rightEdges.at(column - 1) : 0;
    const int edge = m_rightEdges.at(column);
    const int left = m_x0 + previousEdge;
    int right = m_x0 + edge;
    const int top = kHornyOkrajMriezky + row * m_rowHeight;
    const int bottom = kHornyOkrajMriezky + (row + 1) * m_rowHeight;

    m_surface.SetFont(GridFont(weight));
    // A text longer than its column's sample widens the cell when nothing of the table stands to its
    // right; elsewhere it would be printed over the next column's text.
    const int estimated = TextWidth(text);
    if (edge < estimated && column == m_rightEdges.size() - 1)
        right = std::min(m_x0 + estimated, std::max(m_x0 + edge, RightEdge()));

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
    int x = left + kLavyOkrajTextu;
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
    // A cell not cut to its column (a group's title) still ends at the paper's margin. What does not
    // fit its cell is shortened with an ellipsis rather than cut in the middle of a letter.
    const int clipRight = clip ? right : std::max(right, RightEdge());
    double room = clipRight - x - kVnutornyOkraj;
    if (alignment == Zarovnanie::Stred)
        room = std::min(x - left, clipRight - x) * 2.0 - 2 * kVnutornyOkraj;
    else if (alignment == Zarovnanie::Vpravo)
        room = x - left - kLavyOkrajTextu;
    if (m_wholeTexts)
        m_surface.Text(box, flags, text, Box(left, top, std::max(clipRight, RightEdge()), bottom));
    else
        m_surface.Text(box, flags, m_surface.Elided(text, room), Box(left, top, clipRight, bottom));

    m_lastLine = y;
    SetBorders(true, true, true, true);
}

void CTabulka::TitleLine(const QString& text)
{
    m_surface.SetFont(HeadingFont(500));
    const int room = RightEdge() - m_x0;
    if (m_surface.TextWidth(text) <= room) {
        TextAt(m_x0, kRiadokNadpisu, TextFlag::Left | TextFlag::Top, text);
        return;
    }
    // Two lines in a smaller hand, the second under the first, both above the grid.
    CPismo smaller = HeadingFont(500);
    smaller.height = m_headingFontHeight * 5 / 6;
    m_surface.SetFont(smaller);
    const int height = m_surface.Metrics().height;
    QString first;
    QString rest = text;
    const QStringList words = text.split(QLatin1Char(' '));
    for (int i = 1; i < words.size(); ++i) {
        const QString candidate = words.mid(0, i).join(QLatin1Char(' '));
        if (m_surface.TextWidth(candidate) > room)
            break;
        first = candidate;
        rest = words.mid(i).join(QLatin1Char(' '));
    }
    if (first.isEmpty()) {
        TextAt(m_x0, kRiadokNadpisu, TextFlag::Left | TextFlag::Top, text);
        return;
    }
    TextAt(m_x0, kRiadokNadpisu, TextFlag::Left | TextFlag::Top, first);
    TextAt(m_x0, kRiadokNadpisu + height, TextFlag::Left | TextFlag::Top, rest);
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
    m_surface.Line({m_x0, kRiadokSCiarou}, {RightEdge(), kRiadokSCiarou}, kTenkaCiara);
}

void CTabulka::Note(const QString& nameLine, const QString& textLine)
{
    m_surface.SetFont(GridFont(400));
    m_lastLine += 400;
    TextAt(m_x0, m_lastLine, TextFlag::Left | TextFlag::Top, nameLine);
    m_lastLine += 300;
    TextAt(m_x0, m_lastLine, TextFlag::Left | TextFlag::Top, textLine);
}

int CTabulka::NoteLine(const QString& text, int gap, int weight)
{
    m_surface.SetFont(GridFont(weight));
    m_lastLine += gap;
    TextAt(m_x0, m_lastLine, TextFlag::Left | TextFlag::Top, text);
    return m_lastLine + m_surface.Metrics().height;
}

void CTabulka::PageFoot(const QString& leftText, int page, int pageCount)
{
    m_surface.SetFont(GridFont(400));
    const int right = RightEdge();
    TextAt(m_x0, FootLine(), TextFlag::Left | TextFlag::Top, leftText);
    TextAt(right, FootLine(), TextFlag::Right | TextFlag::Top,
           QStringLiteral("Stránka %1/%2").arg(page).arg(pageCount));
    m_surface.Line({m_x0, FootRule()}, {right, FootRule()}, kTenkaCiara);

    CPismo small = GridFont(400);
    small.height = 100;
    m_surface.SetFont(small);
    const QString product =
        QStringLiteral("  Spracované programom Agenda Mirak od %1  ").arg(kWebVyrobcuText);
    const int width = TextWidth(product);
    const int height = m_surface.Metrics().height;
    const int left = m_x0 + (right - m_x0) / 2 - width / 2;
    // Drawn over the rule on a white background, so that the text interrupts it.
    const QRect box = Box(left, FootRule() - height / 2, left + width, FootRule() - height / 2 + height);
    m_surface.Text(box, TextFlag::HCenter | TextFlag::VCenter | TextFlag::SingleLine, product, box, true);
}

void CTabulka::PrintList(int page, const CZoznam& list)
{
    PrintList(page, list, ListPages(list, std::numeric_limits<int>::max()));
}

QVector<int> CTabulka::ListPages(const CZoznam& list, int gridRows)
{
    const int rows = list.RowCount();
    QVector<int> starts;
    if (rows > 0 && !list.Text(0, 0).isEmpty()) {
        // Flat: the header row, then the list's rows.
        const int perPage = std::max(1, std::min(kRiadkovNaStranu, gridRows - 1));
        for (int start = 0; start < rows; start += perPage)
            starts.append(start);
        if (starts.isEmpty())
            starts.append(0);
        return starts;
    }
    // Grouped: the rows after the first separator; a title takes its row and a header row, and the
    // first row with text on a page brings its group's title and header along.
    int start = 1;
    bool overflowed = false;
    while (start <= rows - 1) {
        int used = 0;
        bool defined = false;
        int i = start;
        for (; i <= rows - 1 && i - start < kRiadkovNaStranu; ++i) {
            const bool firstEmpty = list.Text(i, 0).isEmpty();
            const bool secondEmpty = list.Text(i, 1).isEmpty();
            const bool title = firstEmpty && !secondEmpty;
            int cost = title ? 2 : 1;
            if (!secondEmpty && !defined)
                cost = title ? 2 : 3;
            // A title keeps company with its first row: a club's name and header alone at the foot
            // of a page would be printed again over its rows on the next.
            const bool rowFollows = i + 1 <= rows - 1 && !list.Text(i + 1, 0).isEmpty();
            const int need = title && rowFollows ? cost + 1 : cost;
            const bool lastOfPage = i - start == kRiadkovNaStranu - 1;
            if (i > start && (used + need > gridRows || (title && rowFollows && lastOfPage))) {
                overflowed = true;
                break;
            }
            if (!secondEmpty)
                defined = true;
            used += cost;
        }
        starts.append(start);
        start = i;
    }
    // Lists that fit keep the pages they have always had (a list ending on the fiftieth row of a page
    // gets an empty last page, as it always did).
    if (!overflowed)
        while (starts.size() < GroupedPageCount(list))
            starts.append(starts.isEmpty() ? 1 : starts.last() + kRiadkovNaStranu);
    return starts;
}

void CTabulka::PrintList(int page, const CZoznam& list, const QVector<int>& pages)
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
        const int first = pages.value(page - 1, rows);
        const int last = std::min(rows, pages.value(page, rows));
        for (int r = first; r < last; ++r)
            for (int c = 0; c < columns; ++c)
                GridCell(r - first + 1, c, list.Text(r, c));
        return;
    }

    // Grouped: separator rows (first two cells empty), title rows (the group's name in the second
    // cell) and data rows. A page takes the list rows after (page-1)*50 up to page*50.
    const int first = pages.value(page - 1, rows);
    const int last = std::min(rows - 1, pages.value(page, rows) - 1);
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
            // Measured on the data rows of every group: a later group's longer name would otherwise
            // run over its neighbour, and the table keeps its widths from page to page.
            for (int c = 0; c < columns; ++c)
                AddColumn(longest(c, 0, rows, true), list.columns.at(c).alignment);
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
