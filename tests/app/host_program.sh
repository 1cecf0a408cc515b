#!/usr/bin/env bash
# Runs the host program as a person would: makes a database, then calls the module's commands.
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export QT_QPA_PLATFORM=offscreen
passed=0
failed=0

expect() { # name, expected status, pattern of the output, command...
    local name=$1 status=$2 pattern=$3
    shift 3
    local out rc
    out=$("$@" 2>&1)
    rc=$?
    if [ "$rc" -eq "$status" ] && grep -q -- "$pattern" <<<"$out"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name (status $rc, expected $status; output: $out)"
    fi
}

expect "help lists the commands" 0 "import FILE" "$program" --help
expect "bad usage" 2 "Usage:" "$program" frobnicate
expect "first run makes the database" 0 "created" "$program" --operator 16394 check
[ -s "$work/data/stockcheck/host.db" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: no default database"
}
expect "the module speaks the user's language" 0 "The import ran into a problem" \
    "$program" --lang en import "$work/count.xls"
expect "without a display a message takes its default" 0 "仓库数据还未备份" \
    "$program" --operator 16394 input
expect "commands are logged" 0 "ZarvoStockCheck.ICCheckInterface.CheckDataCheck" \
    cat "$work/state/stockcheck/stockcheck.log"
expect "a window can be looked at" 0 "" \
    "$program" --operator 16394 --screenshot "$work/processes.png" processes
[ -s "$work/processes.png" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: no screenshot of the process list"
}
expect "a missing module is reported" 1 "Cannot load the module" \
    env STOCKCHECK_MODULE="$work/none.so" "$program" print

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
