#include "kodovanie.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray DoWindows1250(const QString& text)
{
    QStringEncoder encoder("windows-1250");
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole;
    // Some character does not fit: go code point by code point.
    QByteArray out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString one = text.mid(i, pair ? 2 : 1);
        QStringEncoder single("windows-1250");
        const QByteArray bytes = single.encode(one);
        if (single.hasError()) {
            const char32_t code =
                pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
            out += "&#" + QByteArray::number(static_cast<quint32>(code)) + ';';
        } else {
            out += bytes;
        }
        if (pair)
            ++i;
    }
    return out;
}

QString ZWindows1250(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}
