#!/usr/bin/env bash
# A count cell reached by a click, an arrow or Tab is selected, not opened, as in a spreadsheet:
# the number typed replaces its value however far apart the clicks before it came, and an arrow
# after it ends the entry and moves on. A menu walked by keys and left by Escape, or the menu
# bar reached and left by Alt, gives the keys back to the count still being typed. Keys typed
# while the program is busy opening the help go to the help.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
pick_new_line

counted() { # count
    echo "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=$1"
}

open_input
# Clicks on the second line's count cell, well apart, then the count.
for _ in 1 2 3; do
    click 1160 182
    sleep 0.6
done
typed 4901
key Return ctrl+s
expect_sql "the count typed after two clicks" "$(counted 4901)" 1

# A click on it, and after a while Right: the adjustment beside it takes the number.
click 1160 182
sleep 0.5
key Right
typed 3
key Return ctrl+s
expect_sql "the adjustment typed after a click and Right" \
    "select FAdjQty from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4901" 3

# Tab leaves the next line's count for the adjustment, Left comes back and the count typed
# replaces it.
key Left Down
typed 4
key Tab Left
typed 7
key Return ctrl+s
expect_sql "the count typed back over a count" "$(counted 7) and FAdjQty=0" 1
expect_sql "the count typed over" "$(counted 4)" 0

# A menu walked by keys, left by Escape twice, and Alt twice: the count goes on being typed.
key Down
typed 44
key alt+f
shot menu-left
key Escape Escape
typed 03
key Return Down
typed 55
key alt
key alt
typed 1
key Return ctrl+s
expect_sql "the counts typed around the menus" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty in (4403, 551)" 2

# F1 and Escape typed while the program is busy: the Escape closes the help, the count stays.
key Down
typed 48
kill -STOP "$E2E_APP"
xdotool key --delay 80 F1 Escape
kill -CONT "$E2E_APP"
sleep 1
not shown "ICStockCheckMain" || fail "the help is still open"
wait_window "录入盘点数据"
key Return ctrl+s
expect_sql "the count typed before the help" "$(counted 48)" 1

# The add-line window's counted quantity, clicked twice well apart, then typed.
key ctrl+a
wait_window "添加"
type_new_line
click 571 246
sleep 0.6
click 571 246
typed 4933
key alt+o
wait_gone "添加"
expect_sql "the new line's counted quantity" \
    "select FAuxCheckQty from ICInvBackup where $LINE_KEY" 4933
