#!/usr/bin/env bash
# Builds Agenda Mirak with warnings as errors and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup-debian.sh"
cmake -S "$top" -B "$top/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAK_WERROR=ON
cmake --build "$top/build-test"
cd "$top/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
