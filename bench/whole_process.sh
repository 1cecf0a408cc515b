#!/usr/bin/env bash
# Opening the count sheet as a user meets it: stockcheck started afresh on a count, its first
# window shown and saved as a picture (--screenshot), against plain_open doing the same work as
# a process of its own, on the bench's own lines and on the company init-db makes, each count of
# LINES lines. Both run under /usr/bin/time without a display, alternated, a warm-up round first;
# the figures are the medians of ROUNDS rounds of CPU seconds (user and system) and of peak
# resident memory. The ratio of a mode is the worse of its two data sets.
#
#   bench/whole_process.sh [BUILD_DIR]        (ROUNDS=5 LINES=100000 by default)
set -euo pipefail

build=$(realpath "${1:-build/dev}")
rounds=${ROUNDS:-5}
lines=${LINES:-100000}
modes=(input check print)
sets=(own company)

# shellcheck source-path=SCRIPTDIR source=ownfolders.bash
. "$(dirname "$0")/ownfolders.bash"

"$build/bench/count_files" "$work" "$lines"

# Appends "user system peakKB" of one run to the side's file for the set and mode.
run() { # module|plain, set, mode, file
    local command
    if [ "$1" = module ]; then
        command=("$build/app/stockcheck" --db "$work/$2.db" --operator 16
            --screenshot "$work/shot.png" "$3")
    else
        command=("$build/bench/plain_open" "$work/$2.db" "$3" "$work/shot.png")
    fi
    if ! /usr/bin/time -f '%U %S %M' -a -o "$4" "${command[@]}" >"$work/run.log" 2>&1; then
        cat "$work/run.log" >&2
        echo "whole_process: $1 $3 on $2 failed" >&2
        exit 1
    fi
}

for round in $(seq 0 "$rounds"); do
    for mode in "${modes[@]}"; do
        for set in "${sets[@]}"; do
            # The warm-up round reads the files into the page cache and is not counted; the
            # side that runs first changes from round to round.
            sides=(module plain)
            [ $((round % 2)) -eq 1 ] && sides=(plain module)
            for side in "${sides[@]}"; do
                times=$work/$side-$set-$mode
                [ "$round" -eq 0 ] && times=$work/warm-up
                run "$side" "$set" "$mode" "$times"
            done
        done
    done
done

# The median of a column of numbers, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
seconds() { awk '{ print $1 + $2 }' "$1" | median; }
megabytes() { awk '{ print $3 / 1024 }' "$1" | median; }

printf '%-6s %-8s %9s %9s %6s %10s %10s\n' mode set module_s plain_s ratio module_MB plain_MB
for mode in "${modes[@]}"; do
    worse=0
    for set in "${sets[@]}"; do
        module=$(seconds "$work/module-$set-$mode")
        plain=$(seconds "$work/plain-$set-$mode")
        ratio=$(awk -v m="$module" -v p="$plain" 'BEGIN { printf "%.2f", m / p }')
        worse=$(awk -v a="$worse" -v b="$ratio" 'BEGIN { print (b > a ? b : a) }')
        printf '%-6s %-8s %9.3f %9.3f %6s %10.1f %10.1f\n' "$mode" "$set" "$module" "$plain" \
            "$ratio" "$(megabytes "$work/module-$set-$mode")" "$(megabytes "$work/plain-$set-$mode")"
    done
    printf '%-6s %-8s %26s\n' "$mode" worse "$worse"
done
