#!/usr/bin/env bash
# A count typed into a cell and saved, without Enter, with the tool bar's Save is stored.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
open_input
# The window opens on the first count cell.
typed 4321
tool Save
expect_sql "lines counted 4321" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4321" 1
# Saved, the window closes without a question.
tool Exit
wait_program_end
