#include "CZaznamovaPlocha.h"

CZaznamovaPlocha::CZaznamovaPlocha(QSize page)
    : m_metrics([](const CPismo& f) {
          return CMetriky{f.height / 2, f.height};
      }),
      m_page(page)
{
}

void CZaznamovaPlocha::Line(QPoint from, QPoint to, const CPero& pen)
{
    Zaznam z{Druh::Line, QRect(from, to), from, to, {}, 0, {}, false, m_font, pen, {}, m_textColor};
    m_records.append(z);
}

void CZaznamovaPlocha::Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                                 const std::optional<QColor>& fill)
{
    m_records.append({Druh::Rectangle, rect, {}, {}, {}, 0, {}, false, m_font, pen, fill, m_textColor});
}

void CZaznamovaPlocha::Ellipse(const QRect& rect, const std::optional<CPero>& pen,
                               const std::optional<QColor>& fill)
{
    m_records.append({Druh::Ellipse, rect, {}, {}, {}, 0, {}, false, m_font, pen, fill, m_textColor});
}

void CZaznamovaPlocha::Image(const QRect& rect, const QImage&)
{
    m_records.append({Druh::Image, rect, {}, {}, {}, 0, {}, false, m_font, {}, {}, m_textColor});
}

void CZaznamovaPlocha::Text(const QRect& box, int flags, const QString& text, const QRect& clip, bool opaque)
{
    m_records.append({Druh::Text, box, {}, {}, text, flags, clip, opaque, m_font, {}, {}, m_textColor});
}

QVector<CZaznamovaPlocha::Zaznam> CZaznamovaPlocha::Texts() const
{
    QVector<Zaznam> out;
    for (const Zaznam& z : m_records)
        if (z.kind == Druh::Text)
            out.append(z);
    return out;
}

QVector<CZaznamovaPlocha::Zaznam> CZaznamovaPlocha::Lines() const
{
    QVector<Zaznam> out;
    for (const Zaznam& z : m_records)
        if (z.kind == Druh::Line)
            out.append(z);
    return out;
}

const CZaznamovaPlocha::Zaznam* CZaznamovaPlocha::FindText(const QString& text) const
{
    for (const Zaznam& z : m_records)
        if (z.kind == Druh::Text && z.text == text)
            return &z;
    return nullptr;
}

QVector<CZaznamovaPlocha> RecordPages(CTlacovina& printout,
                                      const std::function<CMetriky(const CPismo&)>& metrics,
                                      const std::function<double(const CPismo&, const QString&)>& widths)
{
    QVector<CZaznamovaPlocha> pages;
    const int count = printout.PageCount();
    for (int p = 1; p <= count; ++p) {
        pages.append(CZaznamovaPlocha(printout.PageSize()));
        if (metrics)
            pages.last().m_metrics = metrics;
        pages.last().m_widths = widths;
        printout.DrawPage(pages.last(), p);
    }
    return pages;
}
