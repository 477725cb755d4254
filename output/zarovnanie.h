#pragma once

#include <QString>

// How a column's texts are aligned, in lists, printed tables and pages alike.
enum class Zarovnanie { Vlavo, Stred, Vpravo };

// The value of an HTML "align" attribute.
inline QString HtmlZarovnanie(Zarovnanie z)
{
    switch (z) {
    case Zarovnanie::Stred:
        return QStringLiteral("center");
    case Zarovnanie::Vpravo:
        return QStringLiteral("right");
    default:
        return QStringLiteral("left");
    }
}
