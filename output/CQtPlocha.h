#pragma once

#include "CPlocha.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainterPath>
#include <QPen>

#include <memory>
#include <optional>

class QIODevice;
class QPainter;
class QPagedPaintDevice;

// The surface behind printer, print preview and PDF: a QPainter on the device, scaled so that one
// unit is a twip and the origin is the paper's top-left corner.
class CQtPlocha : public CPlocha
{
public:
    CQtPlocha(QPainter& painter, double dpiX, double dpiY, QSize page = QSize(kA4Sirka, kA4Vyska));
    QSize PageSize() const override { return m_page; }
    ~CQtPlocha() override;

    void SetFont(const CPismo& font) override;
    CMetriky Metrics() override;
    double TextWidth(const QString& text) override { return Advance(text); }
    void SetTextColor(const QColor& color) override { m_textColor = color; }
    void Line(QPoint from, QPoint to, const CPero& pen) override;
    void Polyline(const QVector<QPoint>& points, const CPero& pen) override;
    void Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                   const std::optional<QColor>& fill) override;
    void Ellipse(const QRect& rect, const std::optional<CPero>& pen,
                 const std::optional<QColor>& fill) override;
    void Image(const QRect& rect, const QImage& image) override;
    void Text(const QRect& box, int flags, const QString& text, const QRect& clip, bool opaque) override;

private:
    // The painter's pen and font are set only when they change: every change is a state change in
    // the printer's or the PDF file's stream, and a list of a season draws thousands of cells.
    void UsePen(const QPen& pen);
    // Lines wait in one path per pen until something is drawn that could cover them.
    void AddLines(const QPen& pen);
    void FlushLines();
    void UseFont();
    // The width of a line of text in the current font; lists repeat the same short texts ("-", "1")
    // thousands of times, so widths are kept by font.
    double Advance(const QString& text);
    // Where a single line of text stands in `box` by the alignment flags.
    QRectF LineBox(const QRect& box, int flags, const QString& text);

    QPainter& m_painter;
    QSize m_page;
    QFont m_font;
    std::unique_ptr<QFontMetricsF> m_metrics;
    QHash<QString, CMetriky> m_printMetrics;
    QHash<QString, double>* m_fontAdvances = nullptr;
    std::optional<CPismo> m_pismo;            // what m_font was made from
    std::optional<CMetriky> m_currentMetrics; // of m_font, once asked
    QColor m_textColor = Qt::black;
    QPainterPath m_lines;
    QPen m_linesPen;
};

// The font of the printouts for a font description, and its metrics. The average character width is
// that of the typeface's own tables as fonts of its kind have always stated it: the advances of the
// lowercase letters and the space, weighted by how often they occur in text (so Arial and its metric
// twin Liberation Sans both give 904/2048 of the em, whatever figure their files store).
QFont PrintFont(const CPismo& font);
CMetriky PrintMetrics(const QFontMetricsF& metrics);
CMetriky PrintMetrics(const CPismo& font);

// A surface that draws nothing: it measures with the printer's fonts and notes a table that does not
// fit its paper.
class CMeraciaPlocha : public CPlocha
{
public:
    explicit CMeraciaPlocha(QSize page) : m_page(page) {}
    QSize PageSize() const override { return m_page; }
    void TableTooWide() override { m_tooWide = true; }
    bool TooWide() const { return m_tooWide; }
    void SetFont(const CPismo& font) override;
    CMetriky Metrics() override { return m_metrics; }
    double TextWidth(const QString& text) override;
    void SetTextColor(const QColor&) override {}
    void Line(QPoint, QPoint, const CPero&) override {}
    void Rectangle(const QRect&, const std::optional<CPero>&, const std::optional<QColor>&) override {}
    void Ellipse(const QRect&, const std::optional<CPero>&, const std::optional<QColor>&) override {}
    void Image(const QRect&, const QImage&) override {}
    void Text(const QRect&, int, const QString&, const QRect&, bool) override {}

private:
    QSize m_page;
    bool m_tooWide = false;
    CMetriky m_metrics;
    struct CZnamePismo
    {
        CMetriky metrics;
        QString fontKey; // of the QFont it prints with
    };
    QHash<QString, CZnamePismo> m_known;
    CPismo m_font;
    QString m_fontKey;
    std::unique_ptr<QFontMetricsF> m_fontMetrics; // of m_font, made when a width is first asked
    QHash<QString, double>* m_widths = nullptr;   // of the current font
};

// Turns the printout to landscape when one of its tables does not fit a portrait page (measured on all
// its pages). Every way to print goes through it first, so the preview shows what the printer gets.
void ChooseOrientation(CTlacovina& printout);

// "Arial CE", the face every printout asks for, is drawn with Arial where the system has it and with
// the metric-compatible Liberation Sans otherwise.
void InstallFontSubstitutes();

// Sets the device up for A4 paper, portrait or landscape, with the drawing starting at the paper's
// corner.
void SetupA4(QPagedPaintDevice& device, bool landscape);

// Draws pages `first` to `last` of the printout onto a device already set up with SetupA4 (a printer
// or a PDF writer). False when the device cannot be painted on.
bool PrintPages(CTlacovina& printout, QPagedPaintDevice& device, int first, int last);

// The whole printout as a PDF file on A4. An empty text on success, else why it failed.
QString WritePdf(CTlacovina& printout, const QString& path);
inline const QString kFilterPdf = QStringLiteral("Dokument PDF (*.pdf)");
// The same onto an open device (a file, a buffer in memory).
QString WritePdfTo(CTlacovina& printout, QIODevice& device);
