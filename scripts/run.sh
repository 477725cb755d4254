#!/usr/bin/env bash
# Builds Agenda Mirak and starts it on the season file given, or on an empty season of its own.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup-debian.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAK_TESTS=OFF -DMIRAK_BENCH=OFF
cmake --build "$top/build" --target agenda-mirak
season=${1:-$HOME/AgendaMirak/sezona.mdb}
if [ ! -e "$season" ]; then
  mkdir -p "$(dirname "$season")"
  "$top/build/agenda-mirak" --new-season "$season"
  echo "Nová prázdna sezóna: $season"
fi
exec "$top/build/agenda-mirak" "$season"
