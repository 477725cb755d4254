#!/bin/sh
# The folders as layers, the lowest first: a file may include its own folder's files and those of
# the folders before it, never one after it. docs/architecture.md says what each layer holds.
#
#   scripts/vrstvy.sh [SOURCE_FOLDER]
#
# Exit 1, naming every include that runs back up, when there is one.
set -eu

cd "${1:-$(dirname "$0")/..}"
layers="db preklady output ui competition players results discipline officials jet web demo cli app"

rank() {
    i=0
    for l in $layers; do
        [ "$l" = "$1" ] && echo "$i" && return
        i=$((i + 1))
    done
    echo -1
}

status=0
for folder in $layers; do
    own=$(rank "$folder")
    for file in "$folder"/*.cpp "$folder"/*.h; do
        [ -f "$file" ] || continue
        for target in $(sed -n 's/^#include "\([a-z]*\)\/.*/\1/p' "$file" | sort -u); do
            other=$(rank "$target")
            if [ "$other" -lt 0 ]; then
                echo "$file: zahŕňa $target/, priečinok, ktorý nie je vo vrstvách"
                status=1
            elif [ "$other" -gt "$own" ]; then
                echo "$file: zahŕňa $target/, vyššiu vrstvu"
                status=1
            fi
        done
    done
done
# Every folder of sources is a layer.
for dir in */; do
    dir=${dir%/}
    case " $layers tests bench fuzz docs rpt scripts " in *" $dir "*) continue ;; esac
    case "$dir" in build*) continue ;; esac
    if ls "$dir"/*.cpp >/dev/null 2>&1; then
        echo "$dir/: priečinok zdrojov, ktorý nie je vo vrstvách"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "Vrstvy sú v poriadku."
exit "$status"
