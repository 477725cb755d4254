#include "tlacenatabulka.h"

#include "CQtPlocha.h"
#include "CTabulka.h"

#include <QSet>

#include <algorithm>
#include <numeric>

CTlacenaTabulka CTlacenaTabulka::FromList(const CZoznam& list, int repeated)
{
    CTlacenaTabulka table;
    QVector<CStlpec> columns;
    for (int c = 0; c < list.ColumnCount(); ++c) {
        const CStlpecZoznamu& s = list.columns.at(c);
        // Left-aligned columns after the number hold names and notes, which wrap; centred and
        // right-aligned ones numbers.
        columns.append({s.header, s.alignment, s.alignment == Zarovnanie::Vlavo && c > 0, c < repeated});
    }
    table.SetColumns(columns);
    const bool grouped = list.RowCount() > 0 && list.Text(0, 0).isEmpty();
    for (int r = 0; r < list.RowCount(); ++r) {
        const bool firstEmpty = list.Text(r, 0).isEmpty();
        const bool secondEmpty = list.Text(r, 1).isEmpty();
        CRiadok row;
        if (grouped && firstEmpty && secondEmpty) {
            // The separator before the first group is no row of the print.
            if (r == 0)
                continue;
            row.druh = CDruh::Medzera;
        } else if (grouped && firstEmpty) {
            row.druh = CDruh::Nadpis;
            row.cells = {list.Text(r, 1)};
            row.weight = 700;
        } else {
            for (int c = 0; c < list.ColumnCount(); ++c)
                row.cells << list.Text(r, c);
            row.weight = list.rows.at(r).bold ? 700 : 400;
        }
        table.AddRow(row);
    }
    // Fifty of the list's rows a page at most, as lists have always been printed.
    table.SetRowsPerPage(50, false);
    return table;
}

QVector<int> CTlacenaTabulka::Widths(CTabulka& t, const QVector<int>& columns, int available,
                                     bool& fits) const
{
    CPlocha& surface = t.Surface();
    QVector<int> natural, least;
    for (const int c : columns) {
        const CStlpec& column = m_columns.at(c);
        const int pad = CTabulka::CellPadding(column.alignment) + 4;
        surface.SetFont(t.Font(700));
        int width = static_cast<int>(surface.TextWidth(column.header)) + pad;
        int longestWord = 0;
        // Only the longest texts can be the widest; each is measured once.
        qsizetype longest = 0;
        for (const CRiadok& row : m_rows)
            if (row.druh == CDruh::Udaje)
                longest = std::max(longest, row.cells.value(c).size());
        QSet<QString> measured;
        for (const CRiadok& row : m_rows) {
            if (row.druh != CDruh::Udaje)
                continue;
            const QString& text = row.cells.value(c);
            if (text.isEmpty() || (!column.wraps && text.size() + 3 < longest) || measured.contains(text))
                continue;
            measured.insert(text);
            surface.SetFont(t.Font(row.weight));
            width = std::max(width, static_cast<int>(surface.TextWidth(text)) + pad);
            if (column.wraps)
                for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    longestWord = std::max(longestWord, static_cast<int>(surface.TextWidth(word)) + pad);
        }
        natural << width;
        // A wrapping column keeps room for a name of twenty characters or its longest word, whichever
        // is more (a word longer than a line is broken, never cut): narrower, a table rather turns the
        // paper or goes on across pages.
        surface.SetFont(t.Font(400));
        const int twenty = surface.Metrics().averageWidth * 20 + pad;
        least << (column.wraps ? std::min(width, std::max(twenty, std::min(longestWord, twenty * 2)))
                               : width);
    }
    const int total = std::accumulate(natural.cbegin(), natural.cend(), 0);
    if (total <= available) {
        fits = true;
        return natural;
    }
    const int smallest = std::accumulate(least.cbegin(), least.cend(), 0);
    if (smallest > available) {
        fits = false;
        return least;
    }
    fits = true;
    // The wrapping columns give way to one common width at which the table fits, never below their least.
    int low = 0, high = *std::max_element(natural.cbegin(), natural.cend());
    const auto sumAt = [&](int cap) {
        int sum = 0;
        for (int i = 0; i < natural.size(); ++i)
            sum += m_columns.at(columns.at(i)).wraps ? std::clamp(cap, least.at(i), natural.at(i))
                                                     : natural.at(i);
        return sum;
    };
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (sumAt(mid) <= available)
            low = mid;
        else
            high = mid - 1;
    }
    QVector<int> widths;
    for (int i = 0; i < natural.size(); ++i)
        widths << (m_columns.at(columns.at(i)).wraps ? std::clamp(low, least.at(i), natural.at(i))
                                                     : natural.at(i));
    return widths;
}

QStringList CTlacenaTabulka::Lines(CTabulka& t, const CPas& band, int slot, const QString& text,
                                   int weight) const
{
    const CStlpec& column = m_columns.at(band.columns.at(slot));
    const int room = band.widths.at(slot) - CTabulka::CellPadding(column.alignment);
    CPlocha& surface = t.Surface();
    surface.SetFont(t.Font(weight));
    if (text.isEmpty() || surface.TextWidth(text) <= room)
        return {text};
    return t.WrapToWidth(text, std::max(1, room), weight);
}

void CTlacenaTabulka::Layout(CTabulka& t, int gridRowsUsed)
{
    if (t.CellFontHeight() < CTabulka::kNajmensiePismo)
        t.SetCellFontHeight(CTabulka::kNajmensiePismo);
    m_font = t.CellFontHeight();
    const int available = t.TextRoom();
    m_bands.clear();
    QVector<int> all(m_columns.size());
    std::iota(all.begin(), all.end(), 0);
    bool fits = false;
    QVector<int> widths = Widths(t, all, available, fits);
    // A table too wide in its font prints in the smallest one before it turns or goes across pages.
    if (!fits && m_font > CTabulka::kNajmensiePismo) {
        t.SetCellFontHeight(CTabulka::kNajmensiePismo);
        m_font = CTabulka::kNajmensiePismo;
        widths = Widths(t, all, available, fits);
    }
    if (fits) {
        m_bands.append({all, widths});
    } else {
        // Too wide even with its names wrapped: landscape paper first, then the table goes on across
        // pages, the repeated columns on each.
        t.Surface().TableTooWide();
        QVector<int> repeated, rest;
        for (int c = 0; c < m_columns.size(); ++c)
            (m_columns.at(c).repeated ? repeated : rest) << c;
        qsizetype next = 0;
        while (next < rest.size()) {
            QVector<int> columns = repeated;
            columns << rest.at(next++);
            while (next < rest.size()) {
                QVector<int> more = columns;
                more << rest.at(next);
                bool moreFits = false;
                Widths(t, more, available, moreFits);
                if (!moreFits)
                    break;
                columns = more;
                ++next;
            }
            bool bandFits = false;
            m_bands.append({columns, Widths(t, columns, available, bandFits)});
        }
        // As many pages across as it takes, each with a like share of the columns (rounds 1-34 and
        // 35-68 rather than 1-67 and 68).
        const qsizetype count = m_bands.size();
        if (count > 1) {
            QVector<CPas> even;
            const qsizetype share = (rest.size() + count - 1) / count;
            bool all = true;
            for (qsizetype from = 0; from < rest.size() && all; from += share) {
                QVector<int> columns = repeated;
                columns += rest.mid(from, share);
                bool bandFits = false;
                even.append({columns, Widths(t, columns, available, bandFits)});
                all = bandFits;
            }
            if (all)
                m_bands = even;
        }
    }

    // Every cell's lines in each band, a row as tall as its tallest cell anywhere.
    m_cellLines = QVector<QVector<QVector<QStringList>>>(m_bands.size());
    m_rowLines = QVector<int>(m_rows.size(), 1);
    m_headerLines = QVector<int>(m_bands.size(), 1);
    for (int b = 0; b < m_bands.size(); ++b) {
        const CPas& band = m_bands.at(b);
        m_cellLines[b].resize(m_rows.size());
        for (int slot = 0; slot < band.columns.size(); ++slot)
            m_headerLines[b] =
                std::max<int>(m_headerLines.at(b),
                              Lines(t, band, slot, m_columns.at(band.columns.at(slot)).header, 700).size());
        for (int r = 0; r < m_rows.size(); ++r) {
            if (m_rows.at(r).druh != CDruh::Udaje)
                continue;
            QVector<QStringList>& cells = m_cellLines[b][r];
            for (int slot = 0; slot < band.columns.size(); ++slot) {
                cells << Lines(t, band, slot, m_rows.at(r).cells.value(band.columns.at(slot)),
                               m_rows.at(r).weight);
                m_rowLines[r] = std::max<int>(m_rowLines.at(r), cells.last().size());
            }
        }
    }
    if (!m_showHeader)
        m_headerLines.fill(0);
    const int headerLines = *std::max_element(m_headerLines.cbegin(), m_headerLines.cend());
    // A group's title goes across the paper, over as many lines as it takes.
    m_titleLines = QVector<QStringList>(m_rows.size());
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows.at(r).druh == CDruh::Nadpis) {
            t.Surface().SetFont(t.Font(700));
            const int mark =
                m_continuedMark.isEmpty()
                    ? 0
                    : static_cast<int>(t.Surface().TextWidth(QLatin1Char(' ') + m_continuedMark));
            m_titleLines[r] =
                t.WrapToWidth(m_rows.at(r).cells.value(0),
                              std::max(1, available - CTabulka::CellPadding(Zarovnanie::Vlavo) - mark), 700);
            m_rowLines[r] = static_cast<int>(m_titleLines.at(r).size());
        }

    // The pages down the table; each goes across the bands.
    int room = std::max(3, t.GridRowsPerPage() - gridRowsUsed);
    if (m_linesPerPage > 0)
        room = std::min(room, m_linesPerPage);
    const bool grouped =
        std::any_of(m_rows.cbegin(), m_rows.cend(), [](const CRiadok& r) { return r.druh == CDruh::Nadpis; });
    QVector<QPair<QVector<int>, int>> down;
    QVector<int> page;
    int titleRow = -1;  // the group being printed
    int pageTitle = -1; // the group continued at the top of the page
    int used = 0;
    int counted = 0; // rows a page's limit counts
    const auto startPage = [&] {
        page.clear();
        pageTitle = -1;
        used = grouped ? 0 : headerLines;
        counted = 0;
    };
    const auto full = [&](const CRiadok& row) {
        return m_rowsPerPage > 0 && counted >= m_rowsPerPage &&
               (!m_countDataOnly || row.druh == CDruh::Udaje);
    };
    const auto count = [&](const CRiadok& row) {
        if (!m_countDataOnly || row.druh == CDruh::Udaje)
            ++counted;
    };
    startPage();
    for (int r = 0; r < m_rows.size(); ++r) {
        const CRiadok& row = m_rows.at(r);
        if (row.druh == CDruh::Medzera) {
            if (page.isEmpty())
                continue;
            if (used + 1 > room || full(row)) {
                down.append({page, pageTitle});
                startPage();
                continue;
            }
            page << r;
            used += 1;
            count(row);
            continue;
        }
        int cost = row.druh == CDruh::Nadpis ? m_rowLines.at(r) + headerLines : m_rowLines.at(r);
        // A title keeps company with its first row.
        int need = cost;
        if (row.druh == CDruh::Nadpis && r + 1 < m_rows.size() && m_rows.at(r + 1).druh == CDruh::Udaje)
            need += m_rowLines.at(r + 1);
        // A group continued from the page before brings its title and header along.
        const bool continues = grouped && page.isEmpty() && row.druh == CDruh::Udaje && titleRow >= 0;
        if (continues) {
            cost += m_rowLines.at(titleRow) + headerLines;
            need += m_rowLines.at(titleRow) + headerLines;
        }
        if (!page.isEmpty() && (used + need > room || full(row))) {
            down.append({page, pageTitle});
            startPage();
            --r;
            continue;
        }
        if (continues)
            pageTitle = titleRow;
        if (row.druh == CDruh::Nadpis)
            titleRow = r;
        page << r;
        used += cost;
        count(row);
    }
    if (!page.isEmpty() || down.isEmpty())
        down.append({page, pageTitle});
    m_pages.clear();
    for (const auto& [rows, continued] : down)
        for (int b = 0; b < m_bands.size(); ++b)
            m_pages.append({b, rows, continued});
}

QVector<int> CTlacenaTabulka::RowsOfPage(int page) const
{
    return m_pages.value(page - 1).rows;
}

int CTlacenaTabulka::DrawPage(CTabulka& t, int page, int firstGridRow) const
{
    if (page < 1 || page > m_pages.size())
        return firstGridRow;
    const CStrana& p = m_pages.at(page - 1);
    const CPas& band = m_bands.at(p.band);
    QVector<Zarovnanie> alignments;
    for (const int c : band.columns)
        alignments << m_columns.at(c).alignment;
    t.SetCellFontHeight(m_font);
    t.SetColumnWidths(band.widths, alignments);
    const int headerLines = m_headerLines.value(p.band, 1);
    int m = firstGridRow;
    const auto header = [&] {
        if (!m_showHeader)
            return;
        for (int slot = 0; slot < band.columns.size(); ++slot) {
            const CStlpec& column = m_columns.at(band.columns.at(slot));
            t.GridCellLines(m, headerLines, slot, Lines(t, band, slot, column.header, 700), column.alignment,
                            700);
        }
        m += headerLines;
    };
    const auto titleRow = [&](int r, bool continued) {
        QStringList lines = m_titleLines.at(r);
        if (continued && !m_continuedMark.isEmpty() && !lines.isEmpty())
            lines.last() += QLatin1Char(' ') + m_continuedMark;
        for (const QString& line : lines) {
            t.SetBorders(false, false, false, false);
            t.GridCellEx(m++, 0, line, Zarovnanie::Vlavo, 700, false);
        }
        header();
    };
    const bool grouped =
        std::any_of(m_rows.cbegin(), m_rows.cend(), [](const CRiadok& r) { return r.druh == CDruh::Nadpis; });
    if (!grouped)
        header();
    else if (p.continuedTitle >= 0)
        titleRow(p.continuedTitle, true);
    for (const int r : p.rows) {
        const CRiadok& row = m_rows.at(r);
        if (row.druh == CDruh::Medzera) {
            ++m;
            continue;
        }
        if (row.druh == CDruh::Nadpis) {
            titleRow(r, false);
            continue;
        }
        const int span = m_rowLines.at(r);
        for (int slot = 0; slot < band.columns.size(); ++slot)
            t.GridCellLines(m, span, slot, m_cellLines.at(p.band).at(r).at(slot),
                            m_columns.at(band.columns.at(slot)).alignment, row.weight);
        m += span;
    }
    return m;
}

int CTlacZoznamu::PageCount()
{
    if (!m_built) {
        m_table = Table();
        m_built = true;
    }
    if (!m_laidOut) {
        CMeraciaPlocha measure(PageSize());
        CTabulka t(measure);
        t.SetLeftMargin(LeftMargin());
        m_table.Layout(t);
        m_laidOut = true;
    }
    return std::max(1, m_table.PageCount());
}

void CTlacZoznamu::TurnToLandscape()
{
    m_landscape = true;
    m_laidOut = false;
}

std::optional<bool> CTlacZoznamu::TooWideForPortrait()
{
    PageCount();
    return m_table.Bands() > 1;
}

void CTlacZoznamu::DrawPage(CPlocha& surface, int page)
{
    const int pages = PageCount();
    // A table that goes on across portrait pages asks for landscape paper first.
    if (m_table.Bands() > 1)
        surface.TableTooWide();
    CTabulka t(surface);
    t.SetLeftMargin(LeftMargin());
    Heading(t);
    m_table.DrawPage(t, page);
    t.PageFoot(FootText(), m_before + page, m_total > 0 ? m_total : pages);
}
