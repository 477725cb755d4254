#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>
#include <vector>

// A page to draw on, measured in twips (1/1440 inch) from the top-left corner of the paper, y
// growing downwards. Printed tables and report templates draw on it; behind it is a QPainter (printer,
// preview, PDF) or, in tests, a recording of every call.
inline constexpr int kTwipovNaPalec = 1440;
// A4 in twips.
inline constexpr int kA4Sirka = 11906;
inline constexpr int kA4Vyska = 16838;

struct CPismo
{
    QString face = QStringLiteral("Arial CE");
    int height = 150; // twips
    // True: `height` is the height of the character cell (ascent and descent, as the report
    // templates give it); false: the height of the characters (as the printed tables give it).
    bool cellHeight = false;
    int weight = 400; // 400 normal, 500 medium, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool operator==(const CPismo&) const = default;
};

struct CMetriky
{
    int averageWidth = 0; // twips
    int height = 0;       // twips, of the character cell
};

struct CPero
{
    int width = 0; // twips; 0 is the thinnest line the device draws
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
};

// Text layout flags, the same as Qt's alignment and text flags.
namespace TextFlag {
inline constexpr int Left = Qt::AlignLeft;
inline constexpr int Right = Qt::AlignRight;
inline constexpr int HCenter = Qt::AlignHCenter;
inline constexpr int Top = Qt::AlignTop;
inline constexpr int Bottom = Qt::AlignBottom;
inline constexpr int VCenter = Qt::AlignVCenter;
inline constexpr int WordWrap = Qt::TextWordWrap;
inline constexpr int SingleLine = Qt::TextSingleLine;
} // namespace TextFlag

class CPlocha
{
public:
    virtual ~CPlocha() = default;
    // The paper, in twips: A4 portrait unless the printout turned to landscape.
    virtual QSize PageSize() const { return {kA4Sirka, kA4Vyska}; }
    // A table does not fit the width of this paper even at its smallest print (a measuring surface
    // takes note of it; the others draw on).
    virtual void TableTooWide() {}
    virtual void SetFont(const CPismo& font) = 0;
    virtual CMetriky Metrics() = 0;
    // How wide `text` prints in the current font, in twips (by default its average character width
    // times its length).
    virtual double TextWidth(const QString& text) { return double(Metrics().averageWidth) * text.size(); }
    // The text, or as much of its beginning as fits `room` twips in the current font followed by an
    // ellipsis.
    QString Elided(const QString& text, double room);
    // The text in lines no wider than `room` twips in the current font: broken between words, a word
    // wider than the line where it must be; a line break in the text starts a new line.
    QStringList Wrapped(const QString& text, double room);
    virtual void SetTextColor(const QColor& color) = 0;
    virtual void Line(QPoint from, QPoint to, const CPero& pen) = 0;
    // Connected lines through the points, drawn as one path where the device can.
    virtual void Polyline(const QVector<QPoint>& points, const CPero& pen)
    {
        for (qsizetype i = 1; i < points.size(); ++i)
            Line(points.at(i - 1), points.at(i), pen);
    }
    // Outline with `pen` when given, filled with `fill` when given.
    virtual void Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                           const std::optional<QColor>& fill) = 0;
    virtual void Ellipse(const QRect& rect, const std::optional<CPero>& pen,
                         const std::optional<QColor>& fill) = 0;
    virtual void Image(const QRect& rect, const QImage& image) = 0;
    // Text laid out in `box` by `flags`; cut off at `clip` when it is valid; on a white background
    // that covers what is beneath when `opaque`.
    virtual void Text(const QRect& box, int flags, const QString& text, const QRect& clip = {},
                      bool opaque = false) = 0;
};

// A printout: what a list prints, page by page (pages count from 1).
class CTlacovina
{
public:
    virtual ~CTlacovina() = default;
    virtual int PageCount() = 0;
    virtual void DrawPage(CPlocha& surface, int page) = 0;
    virtual bool Landscape() const { return m_landscape; }
    // A table of the printout does not fit a portrait page. A printout that lays its pages out by the
    // paper's height turns the paper to landscape for all of them; the others, with a set number of
    // rows a page that landscape paper cannot hold, stay portrait and narrow their tables instead.
    virtual void TurnToLandscape() {}
    // Whether a table of the printout is too wide for portrait paper, when the printout knows it from
    // its own layout; otherwise every page is measured to find out.
    virtual std::optional<bool> TooWideForPortrait() { return std::nullopt; }
    virtual QString DocumentName() const { return QStringLiteral("Agenda Mirak"); }
    // A part of a print of several: its pages are numbered within the whole (`before` pages precede it,
    // `total` in all).
    virtual void NumberPagesWithin(int before, int total)
    {
        (void)before;
        (void)total;
    }
    // What a file of the printout is named after: the list, its competition, its round or club.
    virtual QString FileTitle() const { return DocumentName(); }
    QSize PageSize() const { return Landscape() ? QSize(kA4Vyska, kA4Sirka) : QSize(kA4Sirka, kA4Vyska); }

protected:
    bool m_landscape = false;
};

// Printouts one after another, each from a new page, numbered as one print (every club's players of a
// competition).
class CTlacZaSebou : public CTlacovina
{
public:
    explicit CTlacZaSebou(std::vector<std::unique_ptr<CTlacovina>> parts, QString name)
        : m_parts(std::move(parts)), m_name(std::move(name))
    {
    }
    int PageCount() override
    {
        int pages = 0;
        for (auto& p : m_parts)
            pages += p->PageCount();
        return std::max(1, pages);
    }
    void DrawPage(CPlocha& surface, int page) override
    {
        const int total = PageCount();
        int before = 0;
        for (auto& p : m_parts) {
            const int pages = p->PageCount();
            if (page <= pages) {
                p->NumberPagesWithin(before, total);
                p->DrawPage(surface, page);
                return;
            }
            page -= pages;
            before += pages;
        }
    }
    void TurnToLandscape() override
    {
        m_landscape = true;
        for (auto& p : m_parts)
            p->TurnToLandscape();
    }
    std::optional<bool> TooWideForPortrait() override
    {
        bool wide = false;
        for (auto& p : m_parts) {
            const std::optional<bool> part = p->TooWideForPortrait();
            if (!part)
                return std::nullopt;
            wide = wide || *part;
        }
        return wide;
    }
    QString DocumentName() const override { return m_name; }

private:
    std::vector<std::unique_ptr<CTlacovina>> m_parts;
    QString m_name;
};

// The name a PDF of the printout is proposed under: its file title without accents, words joined by
// "-" ("tabulka-V-liga-po-23-kole.pdf").
QString PdfFileName(const CTlacovina& printout);
// A list's key, its competition and what narrows it ("5. kolo", a club), as a file title.
QString ListFileTitle(const QString& key, const QString& competition, const QString& detail = {});
