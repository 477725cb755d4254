// libFuzzer target for the report template reader: any bytes, read, filled, laid out and drawn.

#include "output/CReportGenerator.h"
#include "output/CZaznamovaPlocha.h"
#include "output/kodovanie.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CReportGenerator r;
    if (!r.LoadSectionFromText(ZWindows1250(bytes), 0))
        return 0;
    r.ClearValues();
    r.SetFieldText(QStringLiteral("Nadpis"), QStringLiteral("[%bold%]x [%page%]"));
    QStringList rows;
    for (int i = 0; i < 40; ++i)
        rows << QStringLiteral("a|[%bold%]b|[%italic%]c") << QStringLiteral("[%separator%]");
    for (int s = 0; s < r.SectionCount(); ++s)
        for (int o = 0; o < r.ObjectCount(s); ++o)
            r.SetGridRows(r.ObjectName(s, o), rows);
    const int pages = r.LayoutPages();
    for (int p = 1; p <= std::min(pages, 4); ++p) {
        CZaznamovaPlocha surface;
        r.DrawPage(surface, p);
    }
    return 0;
}
