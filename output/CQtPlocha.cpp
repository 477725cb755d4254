#include "CQtPlocha.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

void InstallFontSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList families = QFontDatabase::families();
    const QString face = families.contains(QStringLiteral("Arial")) ? QStringLiteral("Arial")
                                                                    : QStringLiteral("Liberation Sans");
    QFont::insertSubstitution(QStringLiteral("Arial CE"), face);
}

CQtPlocha::CQtPlocha(QPainter& painter, double dpiX, double dpiY) : m_painter(painter)
{
    InstallFontSubstitutes();
    m_painter.save();
    m_painter.scale(dpiX / kTwipovNaPalec, dpiY / kTwipovNaPalec);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

CQtPlocha::~CQtPlocha()
{
    m_painter.restore();
}

void CQtPlocha::SetFont(const CPismo& font)
{
    QFont f(font.face);
    f.setStyleHint(QFont::SansSerif);
    f.setHintingPreference(QFont::PreferNoHinting);
    int pixels = std::max(1, font.height);
    if (font.cellHeight) {
        // The template gives the height of the whole character cell; Qt sizes the em square.
        QFont probe = f;
        probe.setPixelSize(1000);
        const QFontMetricsF m(probe);
        const double cell = m.ascent() + m.descent();
        if (cell > 0)
            pixels = std::max(1, static_cast<int>(std::lround(font.height * 1000.0 / cell)));
    }
    f.setPixelSize(pixels);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    m_font = f;
}

CMetriky CQtPlocha::Metrics()
{
    const QFontMetricsF m(m_font);
    return {static_cast<int>(std::lround(m.averageCharWidth())), static_cast<int>(std::lround(m.height()))};
}

namespace {
QPen Pen(const CPero& pen)
{
    QPen p(pen.color, pen.width, pen.style);
    p.setCosmetic(pen.width == 0);
    return p;
}
} // namespace

void CQtPlocha::Line(QPoint from, QPoint to, const CPero& pen)
{
    m_painter.setPen(Pen(pen));
    m_painter.drawLine(from, to);
}

void CQtPlocha::Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                          const std::optional<QColor>& fill)
{
    m_painter.setPen(pen ? Pen(*pen) : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    m_painter.drawRect(QRectF(rect));
    m_painter.setBrush(Qt::NoBrush);
}

void CQtPlocha::Ellipse(const QRect& rect, const std::optional<CPero>& pen, const std::optional<QColor>& fill)
{
    m_painter.setPen(pen ? Pen(*pen) : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    m_painter.drawEllipse(QRectF(rect));
    m_painter.setBrush(Qt::NoBrush);
}

void CQtPlocha::Image(const QRect& rect, const QImage& image)
{
    m_painter.drawImage(QRectF(rect), image);
}

void CQtPlocha::Text(const QRect& box, int flags, const QString& text, const QRect& clip, bool opaque)
{
    m_painter.save();
    m_painter.setFont(m_font);
    m_painter.setPen(m_textColor);
    if (clip.isValid())
        m_painter.setClipRect(clip, Qt::IntersectClip);
    if (opaque)
        m_painter.fillRect(m_painter.boundingRect(QRectF(box), flags, text), Qt::white);
    m_painter.drawText(QRectF(box), flags, text);
    m_painter.restore();
}

void SetupA4(QPagedPaintDevice& device, bool landscape)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
}

bool PrintPages(CTlacovina& printout, QPagedPaintDevice& device, int first, int last)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage())
            return false;
        CQtPlocha surface(painter, device.logicalDpiX(), device.logicalDpiY());
        printout.DrawPage(surface, page);
    }
    painter.end();
    return true;
}

QString WritePdf(CTlacovina& printout, const QString& path)
{
    const int pages = printout.PageCount();
    if (pages <= 0)
        return QStringLiteral("Zoznam nemá žiadnu stranu na tlač.");
    // Written whole or not at all: a failure leaves no half-written file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Súbor %1 sa nedá zapísať: %2").arg(path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Agenda Mirak"));
        writer.setTitle(printout.DocumentName());
        writer.setResolution(1200);
        SetupA4(writer, printout.Landscape());
        if (!PrintPages(printout, writer, 1, pages))
            return QStringLiteral("Do súboru %1 sa nedá kresliť.").arg(path);
    }
    if (!file.commit())
        return QStringLiteral("Súbor %1 sa nepodarilo zapísať: %2").arg(path, file.errorString());
    return {};
}
