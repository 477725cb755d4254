#pragma once

#include <QString>

#include <functional>

// A demo season: a whole association's season made up from a seed, the same file for the same
// numbers. Slovak clubs and players, generated fixture lists, results with half-times, scorers and
// cards that agree with the scores, a postponed match and a forfeit in each competition, transfers at
// the winter break (within a competition and into another one), sanctions, referees and delegates
// nominated to every match with their marks. The last three rounds are not played yet, so that there
// is a next round to nominate, to publish and to sit out.
struct CParametreUkazky
{
    int competitions = 4;
    int clubs = 14;
    int players = 22;
    quint32 seed = 1;
};

// What the demo season's parameters may be; a message when they are out of reach.
QString CheckDemoParameters(const CParametreUkazky& p);

// Writes the season into a new file at `path` (written beside it under a temporary name and renamed
// at the end, so that an interrupted run leaves no half-made season). `progress` is told the work done
// so far of the whole (both from 0); it returns false to stop, which leaves nothing behind. Throws
// CChybaDatabazy.
bool CreateDemoSeason(const QString& path, const CParametreUkazky& p,
                      const std::function<bool(int done, int total)>& progress = {});

// Where the window keeps the demo season it makes on the first start.
QString DefaultDemoSeasonPath();
