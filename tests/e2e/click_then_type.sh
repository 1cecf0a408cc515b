#!/usr/bin/env bash
# A number typed at once after a click on a quantity cell, a key every 80 ms from 0.15 s after
# the click, is the number stored: in the count window's current cell, saved with Ctrl+S, and
# in the add-line window's counted quantity, saved with OK.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
pick_new_line

# A click at a point of the window WIN, then the number typed at the pace of a quick user.
click_then_type() { # x, y, number
    xdotool mousemove --window "$WIN" "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.15
    xdotool type --delay 80 "$3"
    sleep 0.2
}

open_input
# The window opens on the first count cell, which the click finds current already.
click_then_type 1160 182 4901
key Return
key ctrl+s
expect_sql "lines counted 4901" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4901" 1

key ctrl+a
wait_window "添加"
type_new_line
# The cell is current once clicked; the click after it finds it so.
click 571 246
click_then_type 571 246 4931
shot typed
key alt+o
wait_gone "添加"
expect_sql "the new line's counted quantity" \
    "select FAuxCheckQty from ICInvBackup where $LINE_KEY" 4931
