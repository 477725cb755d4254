#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250 at the borders where a file format demands it. A character the code page cannot hold
// becomes an HTML numeric character reference ("&#128512;"), never "?".
QByteArray DoWindows1250(const QString& text);
QString ZWindows1250(const QByteArray& bytes);
