#!/usr/bin/env bash
# After the find command has saved a typed count at its question and found a line, Down moves
# to the next line of the same count: the next count typed goes there, not into another count
# that the process box would have switched to.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
first=$COUNT
make_count

open_input
typed 4321
key Return
key F3
wait_window "Hembrel提示"
key Return
wait_window "搜索"
# In the first search row, the stock code: the count's last stock, whose lines are further
# down.
stock=$(sql "select FNumber from t_Stock where FItemID=(select max(FStockID) from ICInvBackup where FInterID=$first)")
click 240 72
typed "$stock"
key Return alt+o
key Escape
wait_gone "搜索"
wait_window "录入盘点数据"
key Down
shot down
typed 5555
key Return
key ctrl+s
expect_sql "the count of the line below the one found" \
    "select FInterID from ICInvBackup where FAuxCheckQty=5555" "$first"
