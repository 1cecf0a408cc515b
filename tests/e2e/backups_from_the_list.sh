#!/usr/bin/env bash
# Counts made from the process list by keys alone, at a cut-off date: after each backup and its
# message the list is the active window again and takes the keys, which rename the count just
# made. The window manager's close (Alt+F4) asks about the names not saved, and Yes stores them.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
period_cut
start_program processes
E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "盘点进程"
# The window manager left the keys nowhere after some of these backups: a few are made.
for round in 1 2 3; do
    key alt+e n
    wait_window "备份仓库数据"
    # The cut-off option, its date box, and past the tabs into the list of stocks.
    key Right Tab
    typed "${CUT//-/}"
    key Tab Tab
    key Down Down space Down space
    key alt+o
    wait_window "Hembrel提示"
    key Return
    wait_window "盘点进程"
    # The count just made is the current row, in its name.
    typed "count$round"
    key Return
done
key alt+F4
wait_window "Hembrel提示"
key Return
wait_program_end
expect_sql "the names typed after each backup" \
    "select p.FProcessID, p.FDate, count(distinct b.FStockID) from ICStockCheckProcess p
    join ICInvBackup b on b.FInterID=p.FID group by p.FID, p.FProcessID, p.FDate order by p.FID" \
    "$(printf 'count1\t%s\t2\ncount2\t%s\t2\ncount3\t%s\t2' "$CUT" "$CUT" "$CUT")"
