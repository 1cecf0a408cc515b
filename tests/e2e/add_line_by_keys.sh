#!/usr/bin/env bash
# A line is added by hand from the keyboard alone: Enter and Tab walk from the item code over
# the boxes the item does not use to the stock, the note and the counted quantity, and OK by
# its access key stores what was typed.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
open_add_line
# The window opens in the item code box.
typed "$LINE_ITEM"
# The plan-tracking number and the unit, then the adjustment, which Tab leaves.
key Return Return Return
typed 2
key Tab
typed "$LINE_STOCK"
# The note, past the stock place, date, shelf life and batch the line does not use.
key Return
typed "by keys"
key Return
typed 37
shot typed
key alt+o
wait_gone "添加"
expect_sql "the new line's note, adjustment and counted quantity" \
    "select FNote, FAdjQty, FAuxCheckQty from ICInvBackup where $LINE_KEY" "$(printf 'by keys\t2\t37')"
