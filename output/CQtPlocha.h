#pragma once

#include "CPlocha.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <memory>

class QIODevice;
class QPainter;
class QPagedPaintDevice;

// The surface behind printer, print preview and PDF: a QPainter on the device, scaled so that one
// unit is a twip and the origin is the paper's top-left corner.
class CQtPlocha : public CPlocha
{
public:
    CQtPlocha(QPainter& painter, double dpiX, double dpiY);
    ~CQtPlocha() override;

    void SetFont(const CPismo& font) override;
    CMetriky Metrics() override;
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
    void UseFont();
    // The width of a line of text in the current font; lists repeat the same short texts ("-", "1")
    // thousands of times, so widths are kept by font.
    double Advance(const QString& text);
    // Where a single line of text stands in `box` by the alignment flags.
    QRectF LineBox(const QRect& box, int flags, const QString& text);

    QPainter& m_painter;
    QFont m_font;
    std::unique_ptr<QFontMetricsF> m_metrics;
    QHash<QString, QHash<QString, double>> m_advances; // font key -> text -> width
    QHash<QString, double>* m_fontAdvances = nullptr;
    QColor m_textColor = Qt::black;
};

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
// The same onto an open device (a file, a buffer in memory).
QString WritePdfTo(CTlacovina& printout, QIODevice& device);
