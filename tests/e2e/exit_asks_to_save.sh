#!/usr/bin/env bash
# A count typed into a cell is, without Enter, offered for saving when the window closes, by
# the tool bar's Exit and by the window manager's close (Alt+F4); Yes stores it.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count

open_input
typed 4321
tool Exit
wait_window "Hembrel提示"
key Return
wait_program_end
expect_sql "lines counted 4321 after Exit" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4321" 1

open_input
typed 4322
key alt+F4
wait_window "Hembrel提示"
key Return
wait_program_end
expect_sql "lines counted 4322 after Alt+F4" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4322" 1
