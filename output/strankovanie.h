#pragma once

#include <QVector>

// Pages of a printout whose rows come in groups (a round, a day, a club): a page takes up to
// `maxGroups` groups as long as they fit; a group that does not fit the rest of a page starts the next
// one; a group taller than a whole page goes on over the next pages, its heading repeated there.
// Sizes are in lines of the page's grid: each group has its heading lines, each row its own lines
// (a row of a long note takes more than one, and is never split).

struct CSkupinaRiadkov
{
    int headingLines = 1;
    QVector<int> rowLines; // one entry per row
};

// One group's part on a page: its rows [from, from + count), the heading drawn first; `continued`
// when the group began on an earlier page.
struct CUsekSkupiny
{
    int group = 0;
    int from = 0;
    int count = 0;
    bool continued = false;
};
using CStranaSkupin = QVector<CUsekSkupiny>;

// At least one page, also without any group.
QVector<CStranaSkupin> PagesOfGroups(const QVector<CSkupinaRiadkov>& groups, int linesPerPage, int maxGroups);

// The heading of a group continued from the page before.
inline const char* const kPokracovanie = "(pokračovanie)";
