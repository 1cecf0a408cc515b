#!/usr/bin/env bash
# Export's file dialog, taken to the database's folder and cancelled, leaves the window its locks
# on the database: another user who looks at the count and then saves a count on a line the
# window saved keeps that count when the window saves another line and exits.
. "$(dirname "$0")/lib.bash"
[ -x "${OTHER_CONNECTION:-}" ] || fail "OTHER_CONNECTION names no program to check the database"
e2e_start "$1"
make_count
open_input
typed 4335
tool Save
expect_sql "the window's count saved" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4335" 1
LINE_KEY="FInterID=$COUNT"
for field in FItemID FStockID FStockPlaceID FBatchNo FAuxPropID; do
    LINE_KEY="$LINE_KEY and $field='$(sql "select $field from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4335")'"
done

# File, Export: its dialog lists every file of the database's folder.
key alt+f o
wait_window "引出"
typed "$E2E_WORK"
key Return
# The first Escape may only close the list of names that completes the typed path.
key Escape
shown "引出" && key Escape
wait_window "录入盘点数据"

# Another user looks at the count while the window saves another line, then saves a count on
# the window's first line.
sql "select count(*) from ICInvBackup where FInterID=$COUNT" >/dev/null
key Down
typed 4336
tool Save
expect_sql "the window's second count saved" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4336" 1
sql "update ICInvBackup set FAuxCheckQty=7777 where $LINE_KEY"
tool Exit
wait_program_end
expect_sql "the other user's count kept" "select FAuxCheckQty from ICInvBackup where $LINE_KEY" 7777
expect_sql "the window's second count kept" \
    "select count(*) from ICInvBackup where FInterID=$COUNT and FAuxCheckQty=4336" 1
[ "$("$OTHER_CONNECTION" "$DB" "pragma integrity_check")" = "$(printf 'ok\nwritten')" ] ||
    fail "the database is damaged"
