#!/usr/bin/env bash
# A line added by hand, its counted quantity still in the cell's editor when OK is pressed by
# its access key, is stored with that quantity.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
make_count
# A stock of the count without stock places, and an item it holds no line of.
stock=$(sql "select FNumber from t_Stock where FItemID=(select min(FStockID) from ICInvBackup where FInterID=$COUNT and FStockPlaceID=0)")
item=$(sql "select min(FNumber) from t_ICItem where FDeleted=0 and FBatchManager=0 and FISKFPeriod=0 and FAuxClassID=0 and FISSNManage=0 and FErpClsID not in (6,8) and FItemID not in (select FItemID from ICInvBackup where FInterID=$COUNT and FStockID=(select FItemID from t_Stock where FNumber='$stock'))")
if [ -z "$stock" ] || [ -z "$item" ]; then
    fail "no item and stock for a new line"
fi

open_input
key ctrl+a
wait_window "添加"
# The item code, the stock code and the counted quantity, each box clicked as a user does.
click 226 23
typed "$item"
click 571 23
typed "$stock"
click 571 246
typed 37
key alt+o
wait_gone "添加"
expect_sql "the new line's counted quantity" \
    "select FAuxCheckQty from ICInvBackup where FInterID=$COUNT and FItemID=(select FItemID from t_ICItem where FNumber='$item') and FStockID=(select FItemID from t_Stock where FNumber='$stock')" 37
