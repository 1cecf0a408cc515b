#!/usr/bin/env bash
# Keys that open a window from a cell's editor: F7 in the value cell of the filter's condition
# grid opens the lookup, F1 in a count cell the help. Each window closes at the first Escape,
# the program goes on, and the counts typed before them are saved.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
open_input
# The window opens on the first count cell.
typed 171
key Return
key F9
# Not saved at the filter's question: the count stays typed in the sheet.
wait_window "Hembrel提示"
key alt+n
wait_window "过滤"
filter=$WIN
# The first field of the list, a stock's code, then the first operator; the value cell opens
# its editor as it is entered.
key alt+Down Down Return Tab alt+Down Down Return Tab
key F7
wait_window "仓库"
key Escape
wait_window "过滤"
[ "$WIN" = "$filter" ] || fail "another filter window"
key Escape
wait_gone "过滤"
wait_window "录入盘点数据"

# The next line's count, still in the cell's editor.
key Down
typed 4802
key F1
wait_window "帮助"
key Escape
wait_gone "帮助"
wait_window "录入盘点数据"
key ctrl+s
expect_sql "the counts typed before the windows" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty in (171, 4802)" 2
