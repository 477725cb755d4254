#!/bin/sh
# Every job of the command line run by two builds of the program on the same seasons, and what they
# wrote compared: a change that should not change what a user gets (moving code between folders,
# a faster layout) must leave every output as it was.
#
#   scripts/porovnaj-vystupy.sh BUILD_BEFORE/agenda-mirak BUILD_AFTER/agenda-mirak [JET_FOLDER]
#
# Exit 0 when every output is the same. Only what differs from run to run whatever the program is
# is left out: the order in which Qt writes a PDF's fonts (its words and their places on the page are
# compared), the day and time a page or a report says it was made, a calendar's DTSTAMP, the
# program's path in its usage line and the random parts of a season's identifier and file names.
set -eu

before=$(readlink -f "$1")
after=$(readlink -f "$2")
jet=${3:-$(dirname "$0")/../../shared/jet}
jet=$(readlink -f "$jet" 2>/dev/null || true)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export QT_QPA_PLATFORM=offscreen
lists_competition="kluby hraci rozpis vysledky tabulka strelci zk ck nesmu-hrat"
lists_season="rozhodcovia delegati nominacie"

# Runs every job with the program $1 in the folder $2; each job's console goes to a file of its own.
run_all() {
    bin=$1
    out=$2
    mkdir -p "$out"
    cd "$out"
    job() {
        name=$1
        shift
        status=0
        "$bin" "$@" >"$name.out" 2>"$name.err" || status=$?
        echo "$status" >"$name.status"
    }
    job help --help
    job version --version
    job demo --demo-season d.mdb --competitions 3 --clubs 10 --players 18 --seed 11
    job info --info d.mdb
    for s in 1 2 3; do
        job info-$s --info d.mdb --sutaz "$s"
        for l in $lists_competition; do
            job export-$l-$s --export "$l" d.mdb --sutaz "$s" -o "$l-$s.html"
            job csv-$l-$s --export "$l" d.mdb --sutaz "$s" -o "$l-$s.csv"
            job print-$l-$s --print "$l" d.mdb --sutaz "$s" -o "$l-$s.pdf"
        done
        job export-rozpis-kolo-$s --export rozpis d.mdb --sutaz "$s" --kolo 3 -o "rozpis-kolo-$s.html"
        job print-vysledky-kolo-$s --print vysledky d.mdb --sutaz "$s" --kolo 5 -o "vysledky-kolo-$s.pdf"
        job print-rozpis-klub-$s --print rozpis d.mdb --sutaz "$s" --klub $((s * 10 - 5)) -o "rozpis-klub-$s.pdf"
        job export-hraci-klub-$s --export hraci d.mdb --sutaz "$s" --klub $((s * 10 - 9)) -o "hraci-klub-$s.csv"
        job export-zk-stop-kolo-$s --export zk-stop d.mdb --sutaz "$s" --kolo 12 -o "zk-stop-kolo-$s.html"
        job csv-zk-stop-kolo-$s --export zk-stop d.mdb --sutaz "$s" --kolo 12 -o "zk-stop-kolo-$s.csv"
        job print-zk-stop-kolo-$s --print zk-stop d.mdb --sutaz "$s" --kolo 12 -o "zk-stop-kolo-$s.pdf"
        job calendar-$s --calendar d.mdb --sutaz "$s" -o "kalendar-$s.ics"
    done
    for l in $lists_season; do
        job export-$l --export "$l" d.mdb -o "$l.html"
        job print-$l --print "$l" d.mdb -o "$l.pdf"
    done
    job print-znamky --print znamky d.mdb -o znamky.pdf
    job calendar --calendar d.mdb -o kalendar.ics
    job calendar-klub --calendar d.mdb --klub 3 -o kalendar-klub.ics
    job publish --publish d.mdb -o web
    # A refused job says why the same way.
    job refused-klub --print kluby d.mdb --sutaz 1 --klub 2 -o x.pdf
    job refused-sutaz --info d.mdb --sutaz 99

    # The jobs that change a season, each on a copy of its own.
    cp d.mdb z.mdb
    job recalculate --recalculate z.mdb
    job amnesty --amnesty z.mdb --sutaz 1 --pocet 2 --datum 03-01-2026
    job withdraw --withdraw z.mdb --klub 4 --datum 04-01-2026
    job generate --generate z.mdb --sutaz 2 --mode 2 --start 08-01-2026 --hour 16:30
    printf 'nazov;kontakt1;kontakt2\nFK Nový Klub;Ján Nový;0900 111 222\nTJ Druhý;;\n' >kluby.csv
    printf 'meno;priezvisko;datum_narodenia\nPeter;Prvý;1.2.2001\nJozef;Druhý;3.4.2002\n' >hraci.csv
    job import-clubs --import-clubs z.mdb --sutaz 3 kluby.csv
    job import-players --import-players z.mdb --klub 2 hraci.csv
    job new-season --new-season n.mdb --from z.mdb
    if [ -n "$jet" ] && [ -d "$jet" ]; then
        for f in "$jet"/*.mdb; do
            b=$(basename "$f" .mdb)
            job convert-$b --convert "$f" -o "jet-$b.mdb"
        done
    fi
    for f in *.mdb; do
        sqlite3 "$f" .dump >"$f.sql" 2>/dev/null || true
        rm -f "$f"
    done
    cd - >/dev/null
}

# What is left out of the comparison (see the top of this script).
normalize() {
    # Snapshots are named by the time they were taken: their names without it, their seasons dumped.
    find "$1" -type d -name '*.zalohy' | while read -r d; do
        for z in "$d"/*.mdb; do
            sqlite3 "$z" .dump >"$d/$(basename "$z" | sed -E 's/^[0-9 :.-]+ - //').sql" 2>/dev/null || true
            rm -f "$z"
        done
    done
    # The site's manifest lists its files in no particular order, each with hashes of its bytes (which
    # hold the time a page or a calendar was made) and when it changed: the files themselves are
    # compared, of the manifest their names and sizes.
    find "$1" -name .agenda-mirak-web -type f | while read -r m; do
        awk -F '\t' 'BEGIN { OFS = "\t" } { print $1, $5 }' "$m" | sort >"$m.porovnanie"
        rm -f "$m"
    done
    find "$1" -type f -name '*.pdf' | while read -r f; do
        case "$f" in
        *.pdf)
            pdftotext -layout "$f" "$f.txt" 2>/dev/null || true
            pdfinfo "$f" 2>/dev/null | grep -v -e '^CreationDate' -e '^ModDate' >"$f.info" || true
            # Every word where it stands on its page. Qt's PDF engine writes its fonts in an order
            # of its own that changes from run to run, so the file's bytes are not compared.
            pdftotext -bbox "$f" "$f.bbox" 2>/dev/null || true
            pdffonts "$f" 2>/dev/null | tail -n +3 | sed -E 's/[A-Z]{6}\+//' | sort >"$f.fonts" || true
            rm -f "$f"
            ;;
        esac
    done
    find "$1" -type f | while read -r f; do
        case "$f" in
        *.bbox | *.html | *.txt | *.err | *.out | *.ics | *.json | *.sql | *.csv | *.prevod)
            LC_ALL=C sed -i -E \
                -e 's/[0-9]{1,2}\. ?[0-9]{1,2}\. ?20[0-9]{2},? (o )?[0-9]{1,2}:[0-9]{2}(:[0-9]{2})?/DEN CAS/g' \
                -e 's/^(DTSTAMP|LAST-MODIFIED):.*/\1:X/' -e 's@^(Použitie: )[^ ]*agenda-mirak@\1agenda-mirak@' \
                -e 's/[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:.]+Z?/CAS/g' \
                -e 's/[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}/UUID/g' \
                -e 's/\.[A-Za-z0-9]{6,}\.tmp/.TMP/g' -e 's/(UID:)?[0-9a-f]{12}(-[0-9]+)/\1SEZONA\2/g' "$f"
            ;;
        esac
    done
}

run_all "$before" "$work/pred"
run_all "$after" "$work/po"
normalize "$work/pred"
normalize "$work/po"
if diff -r "$work/pred" "$work/po" >"$work/rozdiel"; then
    echo "Všetky výstupy sú rovnaké ($(find "$work/pred" -type f | wc -l) súborov)."
    # Jobs that ended otherwise than with 0 are listed: a comparison of refusals alone proves little.
    grep -L '^0$' "$work"/po/*.status | xargs -r -n1 basename | sed 's/\.status$//' | tr '\n' ' '
    echo
else
    grep -E "^(diff|Only|Binary)" "$work/rozdiel" | head -n 50; head -n 60 "$work/rozdiel"
    echo "Výstupy sa líšia."
    exit 1
fi
