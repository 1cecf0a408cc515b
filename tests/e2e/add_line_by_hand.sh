#!/usr/bin/env bash
# A line added by hand, its counted quantity still in the cell's editor when OK is pressed by
# its access key, is stored with that quantity.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
open_add_line
# The item code, the stock code and the counted quantity, each box clicked as a user does.
type_new_line
click 571 246
typed 37
key alt+o
wait_gone "添加"
expect_sql "the new line's counted quantity" \
    "select FAuxCheckQty from ICInvBackup where $LINE_KEY" 37
