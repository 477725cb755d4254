#!/usr/bin/env bash
# Builds Agenda Mirak with warnings as errors and runs every test; then builds it again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests a second time.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup-debian.sh"
cmake -S "$top" -B "$top/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAK_WERROR=ON
cmake --build "$top/build-test"
(cd "$top/build-test" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

cmake -S "$top" -B "$top/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRAK_WERROR=ON \
  -DMIRAK_SANITIZE=ON -DMIRAK_BENCH=OFF
cmake --build "$top/build-asan"
cd "$top/build-asan"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions="$top/scripts/lsan.supp":print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600
