#pragma once

#include "CPlocha.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CMeraciaPlocha;
class QIODevice;
class QPagedPaintDevice;

// A file the program ships beside its executable ("rpt/nominacie.rpt", "docs/napoveda.html").
QString FileBesideProgram(const QString& relativePath);

// The report engine: a page layout read from a template (".rpt", one drawing object per line), its
// named fields and grids filled by the program, laid out into pages and drawn page by page.

// A line style. Widths are in inches.
struct CBorderLine
{
    int visible = 0;
    int style = 0; // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot, 5 none
    int colour = 0;
    double width = 0;
};

enum CDruhObjektu { kGrid = 1, kField = 2, kLabel = 3, kBox = 4, kEllipse = 5, kLine = 6, kPicture = 7 };

class CDrawObject
{
public:
    virtual ~CDrawObject() = default;
    double left = 0, top = 0, right = 0, bottom = 0; // inches from the paper's top-left corner
    QString name;
    CBorderLine border;
    CBorderLine border2; // grids: the lines between columns
    CBorderLine border3; // grids: the lines between rows
    int fill = 0;
    int fillColour = 0;
    QString fontName;
    QString text; // fields and labels; pictures: the image file
    int kind = 0;
    // Fields and labels.
    int size = 0; // tenths of a point
    int bold = 0, italic = 0, underline = 0, strikeout = 0;
    int colour = 0;
    int format = 0; // 0 left, 1 centred, 2 right, 4 centred vertically, 8 bottom, 32 single line
    QImage image;
};

struct CColumn
{
    double width = 0; // inches; 0 takes what the other columns leave
    QString fontName;
    int size = 0;
    int italic = 0, underline = 0, bold = 0, strikeout = 0;
    int colour = 0;
    int format = 0;
    QString caption;
};

class CDrawGrid : public CDrawObject
{
public:
    int rowsPerInch = 0;
    std::vector<std::unique_ptr<CColumn>> columns;
    QStringList rows;
    int firstPage = 0;
    int RowsPerPage() const;
};

// A section of a report: 0 the body, 1 a first-page section, 2 a last-page section.
struct CContainer
{
    std::vector<std::unique_ptr<CDrawObject>> objects;
    int type = 0;
    int firstPage = -1;
    int lastPage = -1;
};
using CContainerArray = std::vector<std::unique_ptr<CContainer>>;

class CReportGenerator : public CTlacovina
{
public:
    CReportGenerator();
    ~CReportGenerator() override;

    QString GetTemplateName() const { return m_templateName; }
    void SetTemplateName(const QString& name);
    bool LoadTemplate(const QString& path);
    bool SetGridRows(const QString& name, const QStringList& rows);
    // How many rows a page of the body's grid of that name holds (0 when the template has none).
    int GridRowsPerPage(const QString& name) const;
    // A grid row that only takes its place on the page: nothing is drawn for it.
    static QString BlankRow();
    // A grid row that continues the row above it: that row's cells take its room too, so that a text
    // too long for one line prints whole on two or more.
    static QString JoinedRow();
    // How many rows of the body's grid of that name the row needs for every cell's text to print whole
    // (1 when one line holds it); the row then is followed by that many less one JoinedRow()s.
    int GridRowLines(const QString& name, const QString& row) const;
    // A text that is printed as it stands in a grid row or a field: a "|" in it does not split the
    // row, and "[%bold%]", "[%separator%]" and the other tags in it are not read.
    static QString Literal(const QString& text);
    void SetFieldText(const QString& name, const QString& text);
    void Clear();
    void ClearValues();
    bool PrintAll(QPagedPaintDevice& device);
    void DrawPage(CPlocha& surface, int page) override;
    int LayoutPages();
    int SectionCount() const { return static_cast<int>(m_sections.size()); }
    int ObjectCount(int section) const;
    QString ObjectName(int section, int index) const;
    int ObjectKind(const QString& name, int section) const;
    int GridRowCount(const QString& name, int section) const;
    void AddObject(std::unique_ptr<CDrawObject> object, int section);
    bool LoadSectionFromText(const QString& text, int type);
    bool LoadSectionFromFile(QIODevice& file, int type);
    bool LoadSectionFromResource(const QString& resource, int type);
    bool LoadSectionFromLines(const QStringList& lines, int type);
    bool LoadSectionFromPath(const QString& path, int type);
    void SetLastError(const QString& text) { m_lastError = text; }
    QString LastError() const { return m_lastError; }
    const CContainerArray& Sections() const { return m_sections; }

    // As a printout.
    int PageCount() override { return LayoutPages(); }
    bool Landscape() const override { return m_landscape; }
    void SetLandscape(bool landscape) { m_landscape = landscape; }
    QString DocumentName() const override { return m_templateName; }

    // One template line as an object; nullptr for a line that is none.
    static std::unique_ptr<CDrawObject> ParseLine(const QString& line, const QString& baseFolder = {});

private:
    void DrawObject(CPlocha& surface, const CDrawObject& object, int page);
    void DrawGrid(CPlocha& surface, const CDrawGrid& grid, int page);
    CDrawGrid* FindGrid(CContainer& section, const QString& name) const;
    int LayoutSections();

    CContainerArray m_sections;
    QString m_templateName;
    QString m_lastError;
    QString m_baseFolder;
    bool m_landscape = false;
    int m_pages = 0; // of the last layout: "[%pages%]" in a label
    mutable std::unique_ptr<CMeraciaPlocha> m_measure;
};
