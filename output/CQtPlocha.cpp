#include "CQtPlocha.h"

#include "db/CChybaDatabazy.h"
#include "db/subory.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

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
    if (f == m_font && m_metrics)
        return;
    m_font = f;
    m_metrics = std::make_unique<QFontMetricsF>(m_font);
    m_fontAdvances = &m_advances[m_font.key()];
    if (m_fontAdvances->size() > 20000)
        m_fontAdvances->clear();
}

double CQtPlocha::Advance(const QString& text)
{
    if (!m_fontAdvances)
        m_fontAdvances = &m_advances[m_font.key()];
    const auto it = m_fontAdvances->constFind(text);
    if (it != m_fontAdvances->constEnd())
        return *it;
    const double width = m_metrics->horizontalAdvance(text);
    m_fontAdvances->insert(text, width);
    return width;
}

QRectF CQtPlocha::LineBox(const QRect& box, int flags, const QString& text)
{
    const double width = Advance(text);
    const double height = m_metrics->height();
    double x = box.left();
    if (flags & Qt::AlignRight)
        x = box.left() + box.width() - width;
    else if (flags & Qt::AlignHCenter)
        x = box.left() + (box.width() - width) / 2;
    double y = box.top();
    if (flags & Qt::AlignBottom)
        y = box.top() + box.height() - height;
    else if (flags & Qt::AlignVCenter)
        y = box.top() + (box.height() - height) / 2;
    return QRectF(x, y, width, height);
}

void CQtPlocha::UsePen(const QPen& pen)
{
    if (m_painter.pen() != pen)
        m_painter.setPen(pen);
}

void CQtPlocha::UseFont()
{
    if (m_painter.font() != m_font)
        m_painter.setFont(m_font);
}

CMetriky CQtPlocha::Metrics()
{
    if (!m_metrics)
        m_metrics = std::make_unique<QFontMetricsF>(m_font);
    return {static_cast<int>(std::lround(m_metrics->averageCharWidth())),
            static_cast<int>(std::lround(m_metrics->height()))};
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
    UsePen(Pen(pen));
    m_painter.drawLine(from, to);
}

void CQtPlocha::Polyline(const QVector<QPoint>& points, const CPero& pen)
{
    UsePen(Pen(pen));
    m_painter.drawPolyline(points.constData(), static_cast<int>(points.size()));
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
    if (text.isEmpty())
        return;
    if (!m_metrics)
        m_metrics = std::make_unique<QFontMetricsF>(m_font);
    UseFont();
    // Text takes only the pen's colour: the lines' black pen serves black text as it is.
    if (m_painter.pen().color() != m_textColor || m_painter.pen().style() == Qt::NoPen)
        m_painter.setPen(QPen(m_textColor));
    // A long left-aligned line that runs past its cell loses what cannot show before it is laid out
    // (two characters more than reach the edge stay, for kerning and the clip to cut).
    QString shown = text;
    const bool singleLine = (flags & Qt::TextSingleLine) && !(flags & Qt::TextWordWrap);
    if (clip.isValid() && singleLine && !(flags & (Qt::AlignRight | Qt::AlignHCenter)) && shown.size() > 24) {
        const double room = clip.right() - box.left();
        double width = 0;
        qsizetype keep = 0;
        while (keep < shown.size() && width <= room)
            width += Advance(QString(shown.at(keep++)));
        if (keep + 2 < shown.size())
            shown.truncate(keep + 2);
    }
    const bool cut = shown.size() < text.size();
    // Most texts fit their cell: only one that does not is cut off at it.
    bool clipped = clip.isValid();
    if (clipped && singleLine && !cut)
        clipped = !QRectF(clip).contains(LineBox(box, flags, shown));
    if (clipped) {
        m_painter.save();
        m_painter.setClipRect(clip, Qt::IntersectClip);
    }
    if (opaque)
        m_painter.fillRect(singleLine ? LineBox(box, flags, shown)
                                      : m_metrics->boundingRect(QRectF(box), flags, shown),
                           Qt::white);
    m_painter.drawText(QRectF(box), flags, shown);
    if (clipped)
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

QString WritePdfTo(CTlacovina& printout, QIODevice& device)
{
    const int pages = printout.PageCount();
    if (pages <= 0)
        return QStringLiteral("Zoznam nemá žiadnu stranu na tlač.");
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Agenda Mirak"));
    writer.setTitle(printout.DocumentName());
    writer.setResolution(1200);
    SetupA4(writer, printout.Landscape());
    if (!PrintPages(printout, writer, 1, pages))
        return QStringLiteral("Do súboru PDF sa nedá kresliť.");
    return {};
}

QString WritePdf(CTlacovina& printout, const QString& path)
{
    const int pages = printout.PageCount();
    if (pages <= 0)
        return QStringLiteral("Zoznam nemá žiadnu stranu na tlač.");
    // Written whole or not at all: a failure leaves no half-written file behind, and a season is never
    // written over.
    const QString refusal = OutputRefusal(path);
    if (!refusal.isEmpty())
        return refusal;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    const QString error = WritePdfTo(printout, pdf);
    if (!error.isEmpty())
        return QStringLiteral("%1 (%2)").arg(error, path);
    try {
        WriteWholeFile(path, pdf.data());
    } catch (const CChybaDatabazy& e) {
        return e.UserText();
    }
    return {};
}
