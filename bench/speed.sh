#!/usr/bin/env bash
# The count sheet's commands as a user meets them, each against a plain program doing the same
# work by the fastest honest means, on the company init-db makes and a count of its whole book
# stock (see speed_files): the first save of every line, a repeated save, both again at LARGE
# lines, the import of a workbook of SHEET lines, the filter and the opening of input mode in the
# process; then the whole-process openings of whole_process.sh.
#
# Each command runs as a process of its own (speed_module, speed_plain) on a fresh copy of the
# same file, the two sides alternated and the side that starts changing from round to round,
# after a warm-up round that is not counted. Each process times the command in CPU seconds of its
# own and reports its peak resident memory. After every round of a command that writes, the two
# copies must hold the same count lines in every stored column, or the script fails. It prints
# the medians of ROUNDS rounds with their lowest and highest, and the median and spread of the
# rounds' ratios (module over plain).
#
#   bench/speed.sh [BUILD_DIR]   (ROUNDS=5 LINES=100000 LARGE=1000000 SHEET=50000; LARGE=0 skips)
set -euo pipefail

build=$(realpath "${1:-build/dev}")
rounds=${ROUNDS:-5}
lines=${LINES:-100000}
large=${LARGE:-1000000}
sheet=${SHEET:-50000}

# shellcheck source-path=SCRIPTDIR source=ownfolders.bash
. "$(dirname "$0")/ownfolders.bash"

# A database file copied whole, without the log or shared memory of an earlier run.
copy() { # from, to
    rm -f "$2" "$2-wal" "$2-shm"
    cp "$1" "$2"
}

# The files of one size, and a count saved once before for the repeated saves.
prepare() { # folder, lines, sheet lines
    mkdir -p "$1"
    "$build/bench/speed_files" "$@"
    copy "$1/company.db" "$1/saved.db"
    "$build/bench/speed_plain" save "$1/saved.db" >/dev/null
}
prepare "$work/base" "$lines" "$sheet"
[ "$large" -gt 0 ] && prepare "$work/large" "$large" 0

# Runs a command on both sides and keeps "seconds MB count" of each counted round in
# $work/NAME.side.
measure() { # name, writes (yes|no), action, database, [workbook]
    local name=$1 writes=$2 action=$3 database=$4
    shift 4
    rm -f "$work/$name".*
    for round in $(seq 0 "$rounds"); do
        local sides=(module plain)
        [ $((round % 2)) -eq 1 ] && sides=(plain module)
        for side in "${sides[@]}"; do
            copy "$database" "$work/$side.db"
            local out
            if ! out=$("$build/bench/speed_$side" "$action" "$work/$side.db" "$@"); then
                echo "speed: $side $action on $database failed" >&2
                exit 1
            fi
            [ "$round" -gt 0 ] && echo "$out" >>"$work/$name.$side"
        done
        if [ "$writes" = yes ] &&
            ! "$build/bench/speed_plain" compare "$work/module.db" "$work/plain.db"; then
            echo "speed: $name stored other count lines than the plain program" >&2
            exit 1
        fi
    done
}

# "median (lowest-highest)" of a column of numbers, one a line, to the decimals given.
spread() { # decimals
    sort -g | awk -v d="$1" '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%." d "f (%." d "f-%." d "f)", m, v[1], v[NR] }'
}
median() {
    sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

report() { # name, caption, goal
    local m=$work/$1.module p=$work/$1.plain
    printf '%-32s %-22s %-22s %-17s %5s %9.0f %9.0f\n' "$2" \
        "$(cut -d' ' -f1 "$m" | spread 3)" "$(cut -d' ' -f1 "$p" | spread 3)" \
        "$(paste -d' ' "$m" "$p" | awk '{ print $1 / $4 }' | spread 2)" "$3" \
        "$(cut -d' ' -f2 "$m" | median)" "$(cut -d' ' -f2 "$p" | median)"
}

measure first yes save "$work/base/company.db"
measure again yes save "$work/base/saved.db"
if [ "$large" -gt 0 ]; then
    measure first-large yes save "$work/large/company.db"
    measure again-large yes save "$work/large/saved.db"
fi
measure import yes import "$work/base/import.db" "$work/base/sheet.xlsx"
measure filter no filter "$work/base/company.db"
measure open no open "$work/base/company.db"

printf '%-32s %-22s %-22s %-17s %5s %9s %9s\n' command module_s plain_s ratio goal \
    module_MB plain_MB
report first "first save, $lines lines" 1.3
report again "repeated save, $lines lines" 1.3
if [ "$large" -gt 0 ]; then
    report first-large "first save, $large lines" -
    report again-large "repeated save, $large lines" 1.4
fi
report import "import $sheet rows" 1.2
report filter "filter" 1.2
report open "open input mode, in process" 1.2
echo
ROUNDS=$rounds LINES=$lines "$(dirname "$0")/whole_process.sh" "$build"
