#!/usr/bin/env bash
# An older copy of the database put at its path while a window that saved a count is open (its
# log left where it was, as a restore does) is exactly what another program then reads there,
# without an error; the window's next save says its count is lost, and after Exit the file at the
# path is still the copy.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
cp "$DB" "$E2E_WORK/older.db"
open_input
typed 4341
tool Save
expect_sql "the window's count saved" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4341" 1

cp "$E2E_WORK/older.db" "$E2E_WORK/restored.db"
mv "$E2E_WORK/restored.db" "$DB"
read_back=$("$E2E_PROGRAM" --db "$DB" sql 2>&1 <<<"select count(*) from ICInvBackup
    where FInterID=$COUNT and FAuxCheckQty=4341") || fail "the restored file was not read: $read_back"
[ "$(sed '1d;$d' <<<"$read_back")" = 0 ] ||
    fail "another program did not find the copy's rows: $read_back"

# The window's next save cannot reach the file it saved into, and says so.
key Down
typed 4342
tool Save
wait_window "Hembrel提示"
key Return
wait_window "录入盘点数据"
tool Exit
# Its count was not saved: the window asks; No.
wait_window "Hembrel提示"
key alt+n
wait_program_end
cmp -s "$E2E_WORK/older.db" "$DB" || fail "the file at the path is no longer the copy"
