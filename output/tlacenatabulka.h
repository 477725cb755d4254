#pragma once

#include "CPlocha.h"
#include "CZoznam.h"
#include "zarovnanie.h"

#include <QString>
#include <QStringList>
#include <QVector>

class CTabulka;

// A printed table laid out whole before it is drawn, so that nothing of its texts is cut: every cell's
// text wraps within its column and the row grows to its tallest cell; the table keeps one font (7 pt
// at the least); a table wider than its paper asks for landscape paper (CPlocha::TableTooWide) and,
// wider still, goes on across pages, each with the columns that say whose row it is (a number, a name)
// again. Rows are grouped as the lists group them: a group's title with the column headers under it,
// repeated on a page the group continues onto.
class CTlacenaTabulka
{
public:
    struct CStlpec
    {
        QString header;
        Zarovnanie alignment = Zarovnanie::Vlavo;
        // A text longer than the column wraps; one that may not (a number, a date) widens its column.
        bool wraps = true;
        // Printed again on each page the table goes on across.
        bool repeated = false;
    };
    enum class CDruh { Udaje, Nadpis, Medzera };
    struct CRiadok
    {
        CDruh druh = CDruh::Udaje;
        QStringList cells; // a title's text is its first cell
        int weight = 400;
    };

    void SetColumns(QVector<CStlpec> columns) { m_columns = std::move(columns); }
    // Without the row of column headers (a list whose group titles say enough).
    void HideHeader() { m_showHeader = false; }
    // At most this many lines of the grid a page (as the list has always been printed), however many
    // the paper would hold.
    void SetLinesPerPage(int lines) { m_linesPerPage = lines; }
    // At most this many rows a page: of data alone, or of every kind (a list's rows).
    void SetRowsPerPage(int rows, bool dataOnly)
    {
        m_rowsPerPage = rows;
        m_countDataOnly = dataOnly;
    }
    // What a group's title repeated on a page it continues onto says after it.
    void SetContinuedMark(const QString& mark) { m_continuedMark = mark; }
    void AddRow(CRiadok row) { m_rows.append(std::move(row)); }
    // The rows of a list: flat, or grouped the way the card registers group clubs (a row whose first
    // two cells are empty separates groups, one with only its second cell names the next group). The
    // first `repeated` columns go on every page.
    static CTlacenaTabulka FromList(const CZoznam& list, int repeated);

    // Lays the table out for `t`'s paper, font and left margin, under `gridRowsUsed` rows of the grid
    // that the printout keeps above the table on every page.
    void Layout(CTabulka& t, int gridRowsUsed = 0);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Draws the table's part of page `page` (from 1) from grid row `firstGridRow` on; returns the grid
    // row after it.
    int DrawPage(CTabulka& t, int page, int firstGridRow = 0) const;
    // The rows (indexes of AddRow) a page shows.
    QVector<int> RowsOfPage(int page) const;
    // How many pages the table goes on across (1 when it fits the paper's width).
    int Bands() const { return static_cast<int>(m_bands.size()); }
    int FontHeight() const { return m_font; }

private:
    struct CPas
    {
        QVector<int> columns;
        QVector<int> widths;
    };
    struct CStrana
    {
        int band = 0;
        QVector<int> rows;
        int continuedTitle = -1; // the row of a group's title repeated at the top
    };
    QVector<int> Widths(CTabulka& t, const QVector<int>& columns, int available, bool& fits) const;
    QStringList Lines(CTabulka& t, const CPas& band, int slot, const QString& text, int weight) const;

    QVector<CStlpec> m_columns;
    QVector<CRiadok> m_rows;
    QVector<CPas> m_bands;
    QVector<int> m_rowLines;                            // grid rows each row takes, the tallest of its bands
    QVector<QStringList> m_titleLines;                  // a group title's lines, as wide as the paper
    QVector<int> m_headerLines;                         // per band
    QVector<QVector<QVector<QStringList>>> m_cellLines; // [band][row][slot]: a cell's lines
    QVector<CStrana> m_pages;
    int m_font = 0;
    bool m_showHeader = true;
    int m_linesPerPage = 0;
    int m_rowsPerPage = 0;
    bool m_countDataOnly = true;
    QString m_continuedMark;
};

// A printout that is one table under its list's title lines, on as many pages as the table takes.
class CTlacZoznamu : public CTlacovina
{
public:
    int PageCount() override;
    void DrawPage(CPlocha& surface, int page) override;
    void TurnToLandscape() override;
    std::optional<bool> TooWideForPortrait() override;
    void NumberPagesWithin(int before, int total) override
    {
        m_before = before;
        m_total = total;
    }

protected:
    // The table, built once for the printout.
    virtual CTlacenaTabulka Table() = 0;
    // The lines above the table and the text of the page foot.
    virtual void Heading(CTabulka& t) = 0;
    virtual QString FootText() = 0;
    virtual int LeftMargin() const { return 1000; }

private:
    CTlacenaTabulka m_table;
    bool m_built = false;
    bool m_laidOut = false;
    int m_before = 0;
    int m_total = 0; // 0: the printout's own pages
};
