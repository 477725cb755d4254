#!/usr/bin/env bash
# Builds Agenda Mirak and starts it on the season file given, or on the demo season, which it makes on
# the first start.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup-debian.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAK_TESTS=OFF -DMIRAK_BENCH=OFF
cmake --build "$top/build" --target agenda-mirak
if [ $# -eq 0 ]; then
  season="$HOME/AgendaMirak/ukazkova-sezona.mdb"
  if [ ! -e "$season" ]; then
    mkdir -p "$(dirname "$season")"
    "$top/build/agenda-mirak" --demo-season "$season"
    echo "Ukážková sezóna (heslo na úpravy je prázdne): $season"
  fi
else
  season=$1
  if [ ! -e "$season" ]; then
    mkdir -p "$(dirname "$season")"
    "$top/build/agenda-mirak" --new-season "$season"
    echo "Nová prázdna sezóna: $season"
  fi
fi
exec "$top/build/agenda-mirak" "$season"
