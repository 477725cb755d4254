#pragma once

#include "CPlocha.h"

#include <QVector>

#include <functional>

// A surface that draws nothing and remembers every call, so that tests can check where texts and
// lines went. Its font metrics are a plain rule (a test may set another).
class CZaznamovaPlocha : public CPlocha
{
public:
    enum class Druh { Line, Rectangle, Ellipse, Image, Text };
    struct Zaznam
    {
        Druh kind;
        QRect rect;  // the box of a text, the rectangle, or the line from top-left to bottom-right
        QPoint from; // lines
        QPoint to;   // lines
        QString text;
        int flags = 0;
        QRect clip;
        bool opaque = false;
        CPismo font;
        std::optional<CPero> pen;
        std::optional<QColor> fill;
        QColor textColor;
    };

    explicit CZaznamovaPlocha(QSize page = QSize(kA4Sirka, kA4Vyska));
    QSize PageSize() const override { return m_page; }
    void TableTooWide() override { ++m_tooWide; }
    void SetFont(const CPismo& font) override { m_font = font; }
    CMetriky Metrics() override { return m_metrics(m_font); }
    double TextWidth(const QString& text) override
    {
        return m_widths ? m_widths(m_font, text) : CPlocha::TextWidth(text);
    }
    void SetTextColor(const QColor& color) override { m_textColor = color; }
    void Line(QPoint from, QPoint to, const CPero& pen) override;
    void Rectangle(const QRect& rect, const std::optional<CPero>& pen,
                   const std::optional<QColor>& fill) override;
    void Ellipse(const QRect& rect, const std::optional<CPero>& pen,
                 const std::optional<QColor>& fill) override;
    void Image(const QRect& rect, const QImage& image) override;
    void Text(const QRect& box, int flags, const QString& text, const QRect& clip, bool opaque) override;

    // Metrics of a font: by default half the height wide and as high as the height.
    std::function<CMetriky(const CPismo&)> m_metrics;
    // Widths of texts: by default the average character width times the length.
    std::function<double(const CPismo&, const QString&)> m_widths;
    QVector<Zaznam> m_records;
    int m_tooWide = 0;

    QVector<Zaznam> Texts() const;
    QVector<Zaznam> Lines() const;
    // The first text record with exactly this text, or nullptr.
    const Zaznam* FindText(const QString& text) const;

private:
    QSize m_page;
    CPismo m_font;
    QColor m_textColor = Qt::black;
};

// A printout drawn page by page onto recording surfaces of its paper, with `metrics` and `widths`
// (the plain rule when none is given).
QVector<CZaznamovaPlocha>
RecordPages(CTlacovina& printout, const std::function<CMetriky(const CPismo&)>& metrics = {},
            const std::function<double(const CPismo&, const QString&)>& widths = {});
