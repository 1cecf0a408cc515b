#!/usr/bin/env bash
# The keys stay with the count the user works in: after a command chosen from a menu walked by
# keys, after the wheel turned over the closed process box, after another count was chosen in
# the process box by keys, after Find ended at its last question or refused a value, and after
# the save asked for at a choice of another count refused a line.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
first=$COUNT
make_count
second=$COUNT

open_input
# Edit, Find from the keyboard; the count typed is saved at the question.
typed 4339
key alt+e f
wait_window "Hembrel提示"
key Return
wait_window "搜索"
key Escape
wait_window "录入盘点数据"
key Down
typed 77
key Return ctrl+s
expect_sql "the counts typed before and after the menu" \
    "select FAuxCheckQty from ICInvBackup where FInterID=$first and FAuxCheckQty in (4339, 77)
    order by FAuxCheckQty" "77
4339"
# The wheel over the closed process box chooses no other count.
xdotool mousemove --window "$WIN" 150 100 click 5
sleep 0.3
key Down
typed 66
key Return ctrl+s
expect_sql "the count typed after the wheel" \
    "select FInterID from ICInvBackup where FAuxCheckQty=66" "$first"

# The process box by its label's access key: Down chooses the other count, Enter leaves the box
# for that count's first count cell.
key alt+p Down Return
typed 55
key Return ctrl+s
expect_sql "the count typed in the count chosen by keys" \
    "select FInterID from ICInvBackup where FAuxCheckQty=55" "$second"

# Find's last question answered by Escape leaves the keys in the sheet. The question and Find
# close one right after the other, and the window manager, left without the window that had the
# keys, may give them to none: it is tried a few times.
for stock in ZZZ1 ZZZ2 ZZZ3; do
    key F3
    wait_window "搜索"
    # Find opens in its first search cell, the stock code.
    typed "$stock"
    key Return alt+o
    wait_window "Hembrel提示"
    key Escape
    wait_gone "搜索"
    wait_window "录入盘点数据"
done
key Down
typed 44
key Return ctrl+s
expect_sql "the count typed after the search" \
    "select FInterID from ICInvBackup where FAuxCheckQty=44" "$second"

# A text the shelf-life column cannot be searched by, in its twelfth row, is refused once, and
# the keys stay in its cell: what they type there replaces it.
key F3
wait_window "搜索"
xdotool key --delay 40 --repeat 11 Down
typed "180 OR FQty>0"
key alt+o
wait_window "Hembrel提示"
key Return
wait_window "搜索"
typed 180
key Return alt+o
wait_window "Hembrel提示"
key Escape
wait_gone "搜索"
wait_window "录入盘点数据"
key Down
typed 33
key Return ctrl+s
expect_sql "the count typed after the refused value" \
    "select FInterID from ICInvBackup where FAuxCheckQty=33" "$second"

# Below a book quantity that is negative a count is refused: the save asked for when the process
# box chooses the other count lists the line, the count shown stays, and the keys are back on
# the line, so Down moves in the sheet instead of choosing again.
sql "update ICInvBackup set FQty=-1000 where FInterID=$second" >/dev/null
key F5
key minus
typed 5000
key alt+p Up
wait_window "Hembrel提示"
key Return
wait_window "盘点错误数据提示"
key Escape
wait_window "录入盘点数据"
key Down
typed 22
key Return ctrl+s
wait_window "盘点错误数据提示"
key Escape
expect_sql "the count typed after the refused save" \
    "select FInterID from ICInvBackup where FAuxCheckQty=22" "$second"
expect_sql "the refused count" "select count(*) from ICInvBackup where FAuxCheckQty=-5000" 0
