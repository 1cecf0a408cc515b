# Common steps of the end-to-end scenarios: each scenario sources this file, calls e2e_start
# with the host program, then works the program as a user does, under an X server and a
# window manager of its own, with keys and clicks sent from outside the program (xdotool), and
# reads the stored rows back with the program's sql command.
#
# Every wait has a time limit; a step that fails ends the scenario with a message and status 1.

set -u

E2E_TIMEOUT=${E2E_TIMEOUT:-20}
# A program's first window: the first start after a build reads its libraries from disk.
E2E_START_TIMEOUT=${E2E_START_TIMEOUT:-60}

fail() {
    echo "FAILED: $*" >&2
    # What the program said, which tells a window that never came from one that came late.
    [ -s "${E2E_WORK:-}/program.log" ] && tail -n 20 "$E2E_WORK/program.log" >&2
    # And which window had the keys, which tells keys that went nowhere.
    [ -n "${DISPLAY:-}" ] && xdotool getwindowfocus getwindowname >&2
    [ -n "${E2E_SHOTS:-}" ] && shot "failed"
    exit 1
}

# A picture of the screen into $E2E_SHOTS, when set, to see what a scenario saw.
shot() {
    [ -n "${E2E_SHOTS:-}" ] || return 0
    mkdir -p "$E2E_SHOTS"
    import -window root "$E2E_SHOTS/$(basename "$0" .sh)-$1.png" 2>/dev/null || true
}

e2e_cleanup() {
    local pid
    for pid in ${E2E_PIDS:-}; do
        kill "$pid" 2>/dev/null
    done
    for pid in ${E2E_PIDS:-}; do
        wait "$pid" 2>/dev/null
    done
    rm -rf "$E2E_WORK"
}

not() { # command...
    ! "$@"
}

# Waits until the command succeeds, polling; fails with the message after the time limit.
wait_for() { # message, command...
    local message=$1
    shift
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$message (waited ${E2E_TIMEOUT}s)"
        sleep 0.1
    done
}

# xprop succeeds whether the property is there or not.
window_manager_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# The window manager, started again when it could not reach the new X server: without it no
# window is ever made active.
start_window_manager() {
    local deadline=$((SECONDS + E2E_TIMEOUT))
    local wm=
    until window_manager_running; do
        [ "$SECONDS" -lt "$deadline" ] || fail "the window manager did not start"
        if [ -z "$wm" ] || ! kill -0 "$wm" 2>/dev/null; then
            openbox --sm-disable >>"$E2E_WORK/openbox.log" 2>&1 &
            wm=$!
            E2E_PIDS="$wm $E2E_PIDS"
        fi
        sleep 0.1
    done
}

# The host program's folders, a fresh demo database, an X server on a free display and the
# window manager; everything ends with the scenario.
e2e_start() { # program
    E2E_PROGRAM=$1
    for tool in Xvfb openbox xdotool xprop; do
        command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/install-deps"
    done
    E2E_WORK=$(mktemp -d)
    E2E_PIDS=
    trap e2e_cleanup EXIT
    export XDG_DATA_HOME=$E2E_WORK/data XDG_CONFIG_HOME=$E2E_WORK/config
    export XDG_STATE_HOME=$E2E_WORK/state XDG_RUNTIME_DIR=$E2E_WORK/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export STOCKCHECK_LOG=off LC_ALL=C.UTF-8
    unset QT_QPA_PLATFORM
    DB=$E2E_WORK/host.db

    exec 3>"$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
    exec 3>&-
    E2E_PIDS="$!"
    wait_for "the X server did not start" test -s "$E2E_WORK/display"
    DISPLAY=:$(cat "$E2E_WORK/display")
    export DISPLAY
    start_window_manager

    # The scenarios make the counts they work on.
    "$E2E_PROGRAM" --db "$DB" init-db --no-count >/dev/null || fail "init-db"
}

# Starts the host program with the operator who may do everything; its pid in E2E_APP.
start_program() { # command...
    "$E2E_PROGRAM" --db "$DB" --operator 16 "$@" >>"$E2E_WORK/program.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS="$E2E_APP $E2E_PIDS"
}

window_of() { # title
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}

shown() { # title
    [ -n "$(window_of "$1")" ]
}

active() { # window id
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# Waits for a window of that title to show and be the active one; its id in WIN.
wait_window() { # title
    wait_for "no window \"$1\"" shown "$1"
    WIN=$(window_of "$1")
    wait_for "the window \"$1\" is not active" active "$WIN"
    # The window takes keys once Qt has handled its first show.
    sleep 0.3
}

wait_gone() { # title
    wait_for "the window \"$1\" is still shown" not shown "$1"
}

wait_program_end() {
    wait_for "the program did not end" not kill -0 "$E2E_APP"
}

key() { # keys...
    xdotool key --delay 80 "$@"
    sleep 0.3
}

typed() { # text
    xdotool type --delay 60 "$1"
    sleep 0.2
}

# A click at a point of the window WIN, in pixels from its inner top left corner.
click() { # x, y
    xdotool mousemove --window "$WIN" "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}

# The rows of a query, tab-separated, without the heading and the row count.
sql() { # query
    "$E2E_PROGRAM" --db "$DB" sql <<<"$1" | sed '1d;$d'
}

sql_is() { # query, expected
    [ "$(sql "$1")" = "$2" ]
}

# Waits for the query to give the expected rows: the program may still be at its work.
expect_sql() { # what, query, expected
    local deadline=$((SECONDS + E2E_TIMEOUT))
    until sql_is "$2" "$3"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "$1: got \"$(sql "$2")\", expected \"$3\""
        sleep 0.2
    done
}

# A count process over the two stocks without unaudited bills, made in the backup window as a
# user makes it: of the current stock, or of the stock at the end of the cut-off date given
# (digits only, YYYYMMDD: each part of the date box moves on to the next when full); its id in
# COUNT.
# shellcheck disable=SC2034,SC2120 # COUNT is read by the scenarios; the date is optional
make_count() { # [cut-off date]
    start_program backup
    E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "备份仓库数据"
    if [ $# -gt 0 ]; then
        # The cut-off option; the date box comes next.
        click 151 44
        key Tab
        typed "$1"
    fi
    # The third and fourth stocks of the list; a click marks a stock.
    click 45 135
    click 45 150
    key alt+o
    wait_window "Hembrel提示"
    key Return
    wait_program_end
    COUNT=$(sql "select max(FID) from ICStockCheckProcess")
}

# The day before the current period (YYYY-MM-DD) in CUT: a count at the end of it has the current
# period's bills after its snapshot.
# shellcheck disable=SC2034 # CUT is read by the scenarios
period_cut() {
    local option="select FValue from t_SystemProfile where FCategory='IC' and FKey"
    local start
    start=$(sql "select FStartDate from t_PeriodDate where FYear=($option='CurrentYear')
        and FPeriod=($option='CurrentPeriod')")
    [ -n "$start" ] || fail "no current period"
    CUT=$(date -d "$start -1 day" +%Y-%m-%d)
}

# The condition on a count line b, without stock place, batch or shelf life, that an effective
# receipt or issue of its stock moved after the cut-off date and no plan-tracking change did.
moved_after() { # date
    echo "b.FStockPlaceID=0 and b.FKFPeriod=0 and b.FBatchNo='' and b.FMtoNo=''
    and exists (select 1 from ICStockBill u join ICStockBillEntry v on v.FInterID=u.FInterID
        where v.FItemID=b.FItemID and v.FDCStockID=b.FStockID and v.FDCSPID=0
        and v.FAuxPropID=b.FAuxPropID and v.FBatchNo='' and v.FMtoNo='' and v.FKFPeriod=0
        and v.FKFDate is null and u.FTranType in (1,2,5,10,40,43,21,28,29)
        and u.FCancellation=0 and (u.FCheckerID<>0 or u.FUpStockWhenSave=1) and u.FDate>'$1')
    and not exists (select 1 from t_MTOChangeEntry c
        where c.FItemID=b.FItemID and c.FStockID=b.FStockID)"
}

# After one bill was marked in Select bills and calculated for a line of the count: that bill's
# lines of the item alone are taken by the count, and the line's actual quantity is the counted
# one less the receipts marked, plus the issues.
expect_bill_taken() { # count, item id, condition on the line b
    expect_sql "the bills marked for the count" \
        "select count(distinct FInterID) from ICStockBillEntry where FSelectedProcID=$1" 1
    expect_sql "the bill lines of other items marked" \
        "select count(*) from ICStockBillEntry where FSelectedProcID=$1 and FItemID<>$2" 0
    expect_sql "the line's actual quantity against its bills" \
        "select round(b.FQtyAct - b.FCheckQty + (select sum(case when u.FTranType in (1,2,5,10,40)
            or (u.FTranType=41 and v.FDCStockID=b.FStockID) then v.FQty else -v.FQty end)
            from ICStockBillEntry v join ICStockBill u on u.FInterID=v.FInterID
            where v.FSelectedProcID=$1), 6)
        from ICInvBackup b where b.FInterID=$1 and b.FItemID=$2 and $3" 0
}

# For a line added by hand to the count: a stock of the count without stock places, its code
# in LINE_STOCK, and an item it holds no line of that asks for nothing but its code (no second
# unit, batch, shelf life, auxiliary property or serial numbers), its code in LINE_ITEM; the
# condition on ICInvBackup that finds the line once added in LINE_KEY.
# shellcheck disable=SC2034 # read by the scenarios
pick_new_line() {
    LINE_STOCK=$(sql "select FNumber from t_Stock where FItemID=(select min(FStockID) from ICInvBackup where FInterID=$COUNT and FStockPlaceID=0)")
    LINE_ITEM=$(sql "select min(FNumber) from t_ICItem where FDeleted=0 and FSecUnitID=0 and FBatchManager=0 and FISKFPeriod=0 and FAuxClassID=0 and FISSNManage=0 and FErpClsID not in (6,8) and FItemID not in (select FItemID from ICInvBackup where FInterID=$COUNT and FStockID=(select FItemID from t_Stock where FNumber='$LINE_STOCK'))")
    if [ -z "$LINE_STOCK" ] || [ -z "$LINE_ITEM" ]; then
        fail "no item and stock for a new line"
    fi
    LINE_KEY="FInterID=$COUNT and FItemID=(select FItemID from t_ICItem where FNumber='$LINE_ITEM') and FStockID=(select FItemID from t_Stock where FNumber='$LINE_STOCK')"
}

# The count-sheet window of input mode, on the oldest open count.
open_input() {
    start_program input
    E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "录入盘点数据"
}

# The add-line window, opened by its shortcut in the input window of a new count, with a line
# to add picked (pick_new_line).
open_add_line() {
    make_count
    pick_new_line
    open_input
    key ctrl+a
    wait_window "添加"
}

# In the add-line window: the new line's item code and stock code (pick_new_line), each box
# clicked as a user does.
type_new_line() {
    click 226 23
    typed "$LINE_ITEM"
    click 571 23
    typed "$LINE_STOCK"
}

# A click on a tool of the input window's tool bar, by the tool's place in the window.
tool() { # Save or Exit
    case $1 in
    Save) click 110 39 ;;
    Exit) click 645 39 ;;
    *) fail "no tool $1" ;;
    esac
}
