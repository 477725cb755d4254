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
#include <unordered_map>

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

QFont PrintFont(const CPismo& font)
{
    InstallFontSubstitutes();
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
    return f;
}

CMetriky PrintMetrics(const QFontMetricsF& metrics)
{
    // How often each of a..z and the space occurs in a thousand characters of text.
    static const int kCastost[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                     56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};
    double sum = 0;
    int weights = 0;
    for (int i = 0; i < 27; ++i) {
        const QChar c = i < 26 ? QChar(u'a' + i) : QChar(u' ');
        sum += metrics.horizontalAdvance(c) * kCastost[i];
        weights += kCastost[i];
    }
    return {static_cast<int>(std::lround(sum / weights)), static_cast<int>(std::lround(metrics.height()))};
}

CMetriky PrintMetrics(const CPismo& font)
{
    return PrintMetrics(QFontMetricsF(PrintFont(font)));
}

namespace {

// Widths of texts in a printout's font (by QFont::key()), shared by the surface that measures a
// layout and the one that draws it: a register's thousands of distinct cells are shaped once for
// both. A node-based map, so that a font's table stays where it is as others are added.
QHash<QString, double>& SharedWidths(const QString& fontKey)
{
    thread_local std::unordered_map<QString, QHash<QString, double>> widths;
    QHash<QString, double>& known = widths[fontKey];
    if (known.size() > 200000)
        known.clear();
    return known;
}

} // namespace

void CMeraciaPlocha::SetFont(const CPismo& font)
{
    // A table sets its font for every cell; the same font again changes nothing.
    if (!m_fontKey.isEmpty() && font == m_font)
        return;
    const QString key = QStringLiteral("%1/%2/%3/%4/%5")
                            .arg(font.face)
                            .arg(font.height)
                            .arg(font.weight)
                            .arg(font.italic)
                            .arg(font.cellHeight);
    auto it = m_known.constFind(key);
    if (it == m_known.constEnd()) {
        const QFont printFont = PrintFont(font);
        it = m_known.insert(key, {PrintMetrics(QFontMetricsF(printFont)), printFont.key()});
    }
    m_metrics = it->metrics;
    m_widths = &SharedWidths(it->fontKey);
    if (m_fontMetrics && !(font == m_font))
        m_fontMetrics.reset();
    m_font = font;
    m_fontKey = key;
}

double CMeraciaPlocha::TextWidth(const QString& text)
{
    // A register measures the same "-" and "1" thousands of times.
    if (!m_widths)
        SetFont(m_font);
    QHash<QString, double>& known = *m_widths;
    const auto it = known.constFind(text);
    if (it != known.constEnd())
        return *it;
    if (!m_fontMetrics)
        m_fontMetrics = std::make_unique<QFontMetricsF>(PrintFont(m_font));
    return *known.insert(text, m_fontMetrics->horizontalAdvance(text));
}

void ChooseOrientation(CTlacovina& printout)
{
    if (printout.Landscape())
        return;
    if (const std::optional<bool> wide = printout.TooWideForPortrait()) {
        if (*wide)
            printout.TurnToLandscape();
        return;
    }
    CMeraciaPlocha measure(printout.PageSize());
    const int pages = printout.PageCount();
    for (int page = 1; page <= pages && !measure.TooWide(); ++page)
        printout.DrawPage(measure, page);
    if (measure.TooWide())
        printout.TurnToLandscape();
}

CQtPlocha::CQtPlocha(QPainter& painter, double dpiX, double dpiY, QSize page)
    : m_painter(painter), m_page(page)
{
    InstallFontSubstitutes();
    m_painter.save();
    m_painter.scale(dpiX / kTwipovNaPalec, dpiY / kTwipovNaPalec);
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

CQtPlocha::~CQtPlocha()
{
    FlushLines();
    m_painter.restore();
}

void CQtPlocha::SetFont(const CPismo& font)
{
    // A table sets its font for every cell; the same font again changes nothing.
    if (m_pismo && *m_pismo == font && m_metrics)
        return;
    m_pismo = font;
    m_currentMetrics.reset();
    const QFont f = PrintFont(font);
    if (f == m_font && m_metrics)
        return;
    m_font = f;
    m_metrics = std::make_unique<QFontMetricsF>(m_font);
    m_fontAdvances = &SharedWidths(m_font.key());
}

double CQtPlocha::Advance(const QString& text)
{
    if (!m_fontAdvances)
        m_fontAdvances = &SharedWidths(m_font.key());
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
    if (m_currentMetrics)
        return *m_currentMetrics;
    if (!m_metrics)
        m_metrics = std::make_unique<QFontMetricsF>(m_font);
    const QString key = m_font.key();
    auto it = m_printMetrics.constFind(key);
    if (it == m_printMetrics.constEnd())
        it = m_printMetrics.insert(key, PrintMetrics(*m_metrics));
    m_currentMetrics = *it;
    return *it;
}

namespace {
QPen Pen(const CPero& pen)
{
    QPen p(pen.color, pen.width, pen.style);
    p.setCosmetic(pen.width == 0);
    return p;
}
} // namespace

// A table draws the borders of each of its cells: they are gathered into one path per pen and drawn
// together, which a page of a register (thousands of cells) needs to print in good time. Lines are
// drawn before anything that could cover them (a filled shape, an image, text on white).
void CQtPlocha::Line(QPoint from, QPoint to, const CPero& pen)
{
    AddLines(Pen(pen));
    m_lines.moveTo(from);
    m_lines.lineTo(to);
}

void CQtPlocha::Polyline(const QVector<QPoint>& points, const CPero& pen)
{
    if (points.isEmpty())
        return;
    AddLines(Pen(pen));
    m_lines.moveTo(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        m_lines.lineTo(points.at(i));
}

void CQtPlocha::AddLines(const QPen& pen)
{
    if (!m_lines.isEmpty() && pen != m_linesPen)
        FlushLines();
    m_linesPen = pen;
}

void CQtPlocha::FlushLines()
{
    if (m_lines.isEmpty())
        return;
    UsePen(m_linesPen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(m_lines);
    m_lines.clear();
}

void CQtPlocha::Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                          const std::optional<QColor>& fill)
{
    FlushLines();
    m_painter.setPen(pen ? Pen(*pen) : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    m_painter.drawRect(QRectF(rect));
    m_painter.setBrush(Qt::NoBrush);
}

void CQtPlocha::Ellipse(const QRect& rect, const std::optional<CPero>& pen, const std::optional<QColor>& fill)
{
    FlushLines();
    m_painter.setPen(pen ? Pen(*pen) : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    m_painter.drawEllipse(QRectF(rect));
    m_painter.setBrush(Qt::NoBrush);
}

void CQtPlocha::Image(const QRect& rect, const QImage& image)
{
    FlushLines();
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
        FlushLines();
    if (opaque)
        m_painter.fillRect(singleLine ? LineBox(box, flags, shown)
                                      : m_metrics->boundingRect(QRectF(box), flags, shown),
                           Qt::white);
    // A single line is put on its baseline where its box places it: laid out as a paragraph instead, each
    // of a register's thousands of cells cost as much again.
    if (singleLine && !(flags & Qt::TextShowMnemonic) && !shown.contains(QLatin1Char('\t')))
        m_painter.drawText(LineBox(box, flags, shown).topLeft() + QPointF(0, m_metrics->ascent()), shown);
    else
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
        CQtPlocha surface(painter, device.logicalDpiX(), device.logicalDpiY(), printout.PageSize());
        printout.DrawPage(surface, page);
    }
    painter.end();
    return true;
}

QString WritePdfTo(CTlacovina& printout, QIODevice& device)
{
    ChooseOrientation(printout);
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
    ChooseOrientation(printout);
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
