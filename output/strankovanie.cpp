#include "strankovanie.h"

#include <algorithm>

QVector<CStranaSkupin> PagesOfGroups(const QVector<CSkupinaRiadkov>& groups, int linesPerPage, int maxGroups)
{
    QVector<CStranaSkupin> pages(1);
    int used = 0;
    const auto newPage = [&] {
        pages.append(CStranaSkupin());
        used = 0;
    };
    for (int g = 0; g < groups.size(); ++g) {
        const CSkupinaRiadkov& group = groups.at(g);
        int total = group.headingLines;
        for (const int lines : group.rowLines)
            total += std::max(1, lines);
        // A group that fits a page whole is never split: it goes to the next page when this one has no
        // room for it or holds its share of groups already.
        const bool full = maxGroups > 0 && pages.last().size() >= maxGroups;
        if (!pages.last().isEmpty() && (full || (used + total > linesPerPage && total <= linesPerPage)))
            newPage();
        int row = 0;
        bool continued = false;
        do {
            // A heading alone at the foot of a page would be printed again over its rows on the next.
            const int firstRow = group.rowLines.isEmpty() ? 0 : std::max(1, group.rowLines.at(row));
            if (!pages.last().isEmpty() && used + group.headingLines + firstRow > linesPerPage)
                newPage();
            CUsekSkupiny part{g, row, 0, continued};
            used += group.headingLines;
            while (row < group.rowLines.size()) {
                const int lines = std::max(1, group.rowLines.at(row));
                // Each page takes at least one row, however tall, so that nothing is lost.
                if (part.count > 0 && used + lines > linesPerPage)
                    break;
                used += lines;
                ++row;
                ++part.count;
            }
            pages.last().append(part);
            continued = true;
            if (row < group.rowLines.size())
                newPage();
        } while (row < group.rowLines.size());
    }
    return pages;
}
