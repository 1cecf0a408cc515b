#!/usr/bin/env bash
# A whole count from the keyboard alone, in Taiwan's Chinese, as a new user makes it: two counts
# backed up, counts typed into both, a line found, the sheet filtered, a line added by hand and
# the counts saved, a line's bills selected and calculated, the gain and loss bills made, the
# count book previewed, and the sheet exported to a workbook and imported back. No click; what
# each step stores is read back from the database.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"

run() { # command
    start_program --lang zh-TW "$1"
}

# A count of the third and fourth stocks of the list, marked with Space: of the current stock,
# or at the end of the cut-off date given (YYYYMMDD). Its id in COUNT.
back_up() { # [cut-off date]
    run backup
    E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "備份倉庫資料"
    # The window opens on the current-stock option; Right chooses the cut-off date, whose box
    # comes next.
    if [ $# -gt 0 ]; then
        key Right Tab
        typed "$1"
    fi
    # Past the tabs into the list of stocks.
    key Tab Tab
    key Down Down space Down space
    key alt+o
    wait_window "Hembrel提示"
    key Return
    wait_program_end
    COUNT=$(sql "select max(FID) from ICStockCheckProcess")
}

# A choice from the list of the filter's current cell, by its place (from 1), and on to the next
# cell.
choose() { # place
    key alt+Down
    xdotool key --delay 80 --repeat "$1" Down
    key Return Tab
}

# The count of the current stock, and one at the end of the period before the current one, so
# that the bills of the current period came after its snapshot.
back_up
current=$COUNT
expect_sql "the current-stock count" \
    "select p.FBackupType, count(distinct b.FStockID) from ICStockCheckProcess p
    join ICInvBackup b on b.FInterID=p.FID where p.FID=$current group by p.FBackupType" "$(printf '1\t2')"
period_cut
back_up "${CUT//-/}"
cutoff=$COUNT
expect_sql "the cut-off count" \
    "select p.FBackupType, p.FDate, count(distinct b.FStockID) from ICStockCheckProcess p
    join ICInvBackup b on b.FInterID=p.FID where p.FID=$cutoff group by p.FBackupType, p.FDate" \
    "$(printf '2\t%s\t2' "$CUT")"

# Input opens on the first line of the oldest count: a gain there and a count on the next line.
run input
E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "輸入盤點資料"
typed 4321
key Down
typed 4399
# The process box by its label's access key: Down chooses the other count once the counts typed
# are saved at the question, and Enter leaves the box for that count's first count cell.
key alt+p Down
wait_window "Hembrel提示"
key Return
wait_window "輸入盤點資料"
expect_sql "the counts typed into the first count" \
    "select count(*) from ICInvBackup where FInterID=$current and FAuxCheckQty in (4321, 4399)" 2
key Return
typed 4375

# Find, which asks to save the count first, goes by the item code (its fifth search row) to a
# line of book stock whose item the count holds once: counted 0, a loss.
key F3
wait_window "Hembrel提示"
key Return
wait_window "搜尋"
read -r first firstStock < <(sql "select FItemID, FStockID from ICInvBackup
    where FInterID=$cutoff and FAuxCheckQty=4375")
[ -n "${firstStock:-}" ] || fail "the count typed into the other count was not saved"
firstLine="FInterID=$cutoff and FItemID=$first and FStockID=$firstStock"
read -r lost lostItem < <(sql "select top 1 i.FNumber, b.FItemID from ICInvBackup b
    join t_ICItem i on i.FItemID=b.FItemID where b.FInterID=$cutoff and i.FDeleted<>1
    and b.FQty>0 and b.FItemID<>$first
    and (select count(*) from ICInvBackup o where o.FInterID=$cutoff and o.FItemID=b.FItemID)=1
    order by i.FNumber")
[ -n "${lostItem:-}" ] || fail "no line to find"
lostLine="FInterID=$cutoff and FItemID=$lostItem"
xdotool key --delay 80 --repeat 4 Down
typed "$lost"
key Return alt+o
key Escape
wait_gone "搜尋"
wait_window "輸入盤點資料"
typed 0
key Return

# A line whose item and stock the filter picks, moved by a bill after the snapshot, for Select
# bills: without stock place, batch, shelf life or plan-tracking number, the only one of its item
# in its stock.
read -r billed billedItem stockCode stock aux < <(sql "select top 1 i.FNumber, b.FItemID,
    s.FNumber, b.FStockID, b.FAuxPropID from ICInvBackup b join t_ICItem i on i.FItemID=b.FItemID
    join t_Stock s on s.FItemID=b.FStockID
    where b.FInterID=$cutoff and i.FDeleted<>1 and b.FItemID not in ($first, $lostItem)
    and (select count(*) from ICInvBackup o where o.FInterID=$cutoff and o.FItemID=b.FItemID
        and o.FStockID=b.FStockID)=1
    and $(moved_after "$CUT")
    order by i.FNumber")
[ -n "${aux:-}" ] || fail "no line with a bill after the snapshot"
billedLine="FInterID=$cutoff and FItemID=$billedItem and FStockID=$stock"

# Filter, asked to save the count found first: the stock code (the first field) "=" (the first
# comparison) and, on the next row, the item code (the fifth field) "=".
key F9
wait_window "Hembrel提示"
key Return
wait_window "過濾"
expect_sql "the count of the line found" \
    "select FAuxCheckQty from ICInvBackup where $lostLine" 0
choose 1
choose 1
typed "$stockCode"
key Tab
choose 1
choose 5
choose 1
typed "$billed"
key alt+y
wait_gone "過濾"
wait_window "輸入盤點資料"
# The sheet shows that line alone, and the keys are in its count cell.
typed 4333
key Return

# A line added by hand, asked to save the count first, its item and stock picked in their lookups.
COUNT=$cutoff
pick_new_line
key ctrl+a
wait_window "Hembrel提示"
key Return
wait_window "新增"
expect_sql "the count of the filtered line" \
    "select FAuxCheckQty from ICInvBackup where $billedLine" 4333
key F7
wait_window "物料"
typed "$LINE_ITEM"
key Return
wait_window "新增"
# The plan-tracking number and the unit, then the adjustment, which Tab leaves for the stock.
key Return Return Return
typed 2
key Tab
key F7
wait_window "倉庫"
typed "$LINE_STOCK"
key alt+o
wait_window "新增"
# The note, past the boxes the item does not use, and the counted quantity.
key Return
typed "by keys"
key Return
typed 41
key alt+o
wait_gone "新增"
wait_window "輸入盤點資料"
expect_sql "the line added" "select FNote, FAdjQty, FAuxCheckQty from ICInvBackup where $LINE_KEY" \
    "$(printf 'by keys\t2\t41')"

# Saved by the File menu, the count still in the cell's editor.
typed 4334
key alt+f s
expect_sql "the count saved from the menu" \
    "select FAuxCheckQty from ICInvBackup where $billedLine" 4334

# The bills of the line: the first marked and calculated.
key ctrl+F7
wait_window "選擇單據"
key ctrl+Home space
key F4
wait_gone "選擇單據"
wait_window "輸入盤點資料"
expect_bill_taken "$cutoff" "$billedItem" "b.FStockID=$stock and b.FAuxPropID=$aux"
key alt+f x
wait_program_end

# Check mode, on the cut-off count: the gain bill and the loss bill, each shown in the bill list,
# then the count book's preview.
bills=$(sql "select max(FInterID) from ICStockBill")
run check
E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "物料盤點報告單"
key alt+p Down
key Return
for bill in ctrl+o ctrl+l; do
    key "$bill"
    wait_window "Hembrel提示"
    key Return
    wait_window "單據清單"
    key Escape
    wait_window "物料盤點報告單"
done
# Each bill holds the count's differences of its direction, a line each.
for direction in "40 >" "43 <"; do
    read -r type sign <<<"$direction"
    expect_sql "the entries of the bill of type $type" \
        "select count(*), round(sum(FQty), 4) from ICStockBillEntry
        where FInterID=(select FInterID from ICStockBill where FInterID>$bills and FTranType=$type)" \
        "$(sql "select count(*), round(sum(abs(FMinus)), 4) from ICInvBackup
            where FInterID=$cutoff and FMinus $sign 0")"
done
key alt+f v
wait_window "列印預覽"
key Escape
wait_window "物料盤點報告單"
key alt+f x
wait_program_end

# Input again, on the cut-off count: the sheet exported, a count changed and saved, and the
# workbook imported back, which brings the count it holds.
run input
E2E_TIMEOUT=$E2E_START_TIMEOUT wait_window "輸入盤點資料"
key alt+p Down
key Return
workbook=$E2E_WORK/walk.xlsx
key alt+f o
wait_window "匯出"
typed "$workbook"
key Return
wait_window "輸入盤點資料"
wait_for "no workbook written" test -s "$workbook"
typed 4388
key ctrl+s
expect_sql "the count changed after the export" \
    "select FAuxCheckQty from ICInvBackup where $firstLine" 4388
key alt+f i
wait_window "選擇匯入的Excel檔案"
typed "$workbook"
key Return
# The first Return may only close the list of names that completes the typed path.
shown "選擇匯入的Excel檔案" && key Return
wait_window "Hembrel提示"
key Return
wait_window "輸入盤點資料"
expect_sql "the count the workbook holds" \
    "select FAuxCheckQty from ICInvBackup where $firstLine" 4375
key alt+f x
wait_program_end
