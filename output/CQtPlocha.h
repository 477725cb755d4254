#pragma once

#include "CPlocha.h"

#include <QFont>

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
    void Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                   const std::optional<QColor>& fill) override;
    void Ellipse(const QRect& rect, const std::optional<CPero>& pen,
                 const std::optional<QColor>& fill) override;
    void Image(const QRect& rect, const QImage& image) override;
    void Text(const QRect& box, int flags, const QString& text, const QRect& clip, bool opaque) override;

private:
    QPainter& m_painter;
    QFont m_font;
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
