#pragma once

#include "CPlocha.h"
#include "zarovnanie.h"

#include <QString>
#include <QVector>

#include "CZoznam.h"

// The printed table of the list views: a grid of bordered cells on an A4 page (in twips), header
// lines above it, notes below it and the page foot. One object draws one page.
class CTabulka
{
public:
    explicit CTabulka(CPlocha& surface);

    void SetLeftMargin(int x0) { m_x0 = x0; }
    void SetCellFontHeight(int height);
    // Columns of these widths (twips), laid out by their caller: the table is not fitted again, and the
    // caller has wrapped every text to its column, so none is shortened.
    void SetColumnWidths(const QVector<int>& widths, const QVector<Zarovnanie>& alignments);
    CPlocha& Surface() { return m_surface; }
    // The grid's font in that weight.
    CPismo Font(int weight) const { return GridFont(weight); }
    // The room a cell keeps beside its text: what of a column's width a text cannot take.
    static int CellPadding(Zarovnanie alignment);
    int LeftMargin() const { return m_x0; }
    int RowHeight() const { return m_rowHeight; }
    int ColumnRightEdge(int column) const { return m_rightEdges.value(column); }

    // A column as wide as `sample` in the grid font; its `header`, when given, is kept whole when the
    // table has to be narrowed.
    void AddColumn(const QString& sample, Zarovnanie alignment, const QString& header = {});
    // A column's sample made as long as the longest of its texts (with a blank either side) where
    // that is longer, so that a long name of the season prints whole; the table as a whole is then
    // fitted to the paper.
    static QString Sample(const QString& sample, const QString& longestText);
    static QString Sample(const QString& sample, const QStringList& texts);
    // A cell with the column's alignment, bold in row 0.
    void GridCell(int row, int column, const QString& text);
    void GridCellEx(int row, int column, const QString& text, Zarovnanie alignment, int weight,
                    bool clip = true);
    // A cell over `span` rows of the grid, one line of text in each (a note wrapped within its row).
    void GridCellLines(int row, int span, int column, const QStringList& lines, Zarovnanie alignment,
                       int weight);
    // A text broken into lines that fit `width` twips in the grid's font (its own line breaks kept, a
    // word longer than a line broken where it must be).
    QStringList WrapToWidth(const QString& text, int width, int weight = 400);
    // The same for a column of the table.
    QStringList WrapInColumn(int column, const QString& text);
    // The paper's width for text right of the table's left margin.
    int TextRoom() const { return RightEdge() - m_x0; }
    // A cell's text broken at `separator` into lines that each fit the column (in the grid font as
    // set); a line that goes on ends with the separator's mark. A piece wider than the column keeps a
    // line of its own.
    QStringList WrapCell(int column, const QString& text, const QString& separator);
    // Border sides of the next cell only.
    void SetBorders(bool left, bool bottom, bool right, bool top);

    // The title: on two lines (the second one higher up the page's margin) when one does not hold it.
    void TitleLine(const QString& text);
    void SeasonLine(const QString& text);
    void HeadingLine(const QString& text, int n);
    void RuledLine(const QString& text);
    void Note(const QString& nameLine, const QString& textLine);
    // A line of text below the table at the left margin, `gap` twips under the line before it; the
    // bottom of where it stands. A note that does not fit above the page foot is the caller's to carry
    // over to the next page.
    int NoteLine(const QString& text, int gap, int weight = 400);
    int LastLine() const { return m_lastLine; }
    void SetLastLine(int y) { m_lastLine = y; }
    // Where the page foot's rule begins: text stays above it.
    int FootTop() const { return FootRule() - 100; }
    // How high a line of the grid's font stands.
    int TextLineHeight(int weight = 400);
    void PageFoot(const QString& leftText, int page, int pageCount);

    // Page `page` (from 1) of a list: 50 list rows a page; flat when the first cell has text, else
    // grouped by its separator and title rows (a page that begins inside a group repeats its title).
    void PrintList(int page, const CZoznam& list);
    // The same with the pages ListPages gave.
    void PrintList(int page, const CZoznam& list, const QVector<int>& pages);
    // The first list row of each page of a list: 50 rows a page as lists have always been printed,
    // fewer where the rows with the group titles and headers they bring would not fit `gridRows` rows
    // of the paper.
    static QVector<int> ListPages(const CZoznam& list, int gridRows);
    // How many rows of the grid the paper holds above the page foot, in the grid font as set.
    int GridRowsPerPage();

    static constexpr int kRiadkovNaStranu = 50;
    // Pages a grouped list needs.
    static int GroupedPageCount(const CZoznam& list) { return list.RowCount() / kRiadkovNaStranu + 1; }
    // Pages a flat list needs (at least one).
    static int FlatPageCount(const CZoznam& list);

    // A table wider than the paper is fitted: its grid font and columns are scaled down together, the
    // font not below 7 pt (nor below the table's own smaller font), and the air the estimated widths
    // leave beside the texts is taken out. A table that does not fit even so is too wide for the
    // paper.
    static constexpr int kNajmensiePismo = 140;
    int CellFontHeight() const { return m_cellFontHeight; }

    static constexpr int kPravyOkraj = 10520;
    static constexpr int kHornyOkrajMriezky = 1700;
    static constexpr int kRiadokNadpisu = 1300;
    static constexpr int kRiadokSezony = 900;
    static constexpr int kRiadokSCiarou = 700;
    static constexpr int kKrokNadpisov = 300;
    static constexpr int kRiadokPaty = 15400;
    static constexpr int kCiaraPaty = 15200;

private:
    // The right edge of the rules and the page foot's lines on the paper (the layout's A4 portrait
    // margins, kept on other paper).
    int RightEdge() const;
    int FootLine() const;
    int FootRule() const;
    void Fit();
    CPismo GridFont(int weight) const;
    CPismo HeadingFont(int weight) const;
    int TextWidth(const QString& text);
    void TextAt(int x, int y, int flags, const QString& text);

    CPlocha& m_surface;
    int m_x0 = 1000;
    int m_cellFontHeight = 150;
    int m_headingFontHeight = 180;
    int m_rowHeight = 0;
    QVector<int> m_widths;
    QVector<QString> m_samples;
    QVector<QString> m_headers;
    QVector<int> m_rightEdges;
    QVector<Zarovnanie> m_alignments;
    bool m_borders[4] = {true, true, true, true};
    int m_lastLine = 0;
    bool m_fitted = false;
    bool m_wholeTexts = false; // the caller laid the texts out to fit: none is shortened
};
