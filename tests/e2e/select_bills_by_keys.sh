#!/usr/bin/env bash
# A bill posted after the count's snapshot is marked in Select bills and calculated from the
# keyboard alone: the bill's line is taken by the count, and the count line's actual quantity
# moves by the bill's quantity, a receipt down and an issue up.
. "$(dirname "$0")/lib.bash"
e2e_start "$1"
# A count of the stock at the end of the period before the current one: the bills of the
# current period were posted after its snapshot.
period_cut
make_count "${CUT//-/}"

# A line without stock place, batch or shelf life that an effective receipt or issue of its
# stock moved after the snapshot and no plan-tracking change did, the first of them in the
# sheet and the only one of its name in its stock, so that its place in the sheet is known.
read -r item stock aux < <(sql "select top 1 b.FItemID, b.FStockID, b.FAuxPropID
    from ICInvBackup b join t_ICItem i on i.FItemID=b.FItemID join t_Stock s on s.FItemID=b.FStockID
    where b.FInterID=$COUNT and i.FDeleted<>1 and $(moved_after "$CUT")
    and (select count(*) from ICInvBackup o join t_ICItem oi on oi.FItemID=o.FItemID
        where o.FInterID=$COUNT and o.FStockID=b.FStockID and o.FStockPlaceID=0
        and oi.FName=i.FName and oi.FDeleted<>1)=1
    order by s.FName desc, i.FName")
[ -n "${item:-}" ] || fail "no line with a bill after the snapshot"
# The sheet runs by stock name downwards, then stock place (none first) and item name.
above=$(sql "select count(*) from ICInvBackup o join t_ICItem oi on oi.FItemID=o.FItemID
    join t_Stock os on os.FItemID=o.FStockID cross join t_ICItem ti cross join t_Stock ts
    where ti.FItemID=$item and ts.FItemID=$stock and o.FInterID=$COUNT and oi.FDeleted<>1
    and (os.FName>ts.FName or (o.FStockID=$stock and o.FStockPlaceID=0 and oi.FName<ti.FName))")

open_input
# The window opens on the first line's count cell.
if [ "$above" -gt 0 ]; then
    xdotool key --delay 40 --repeat "$above" Down
fi
key ctrl+F7
wait_window "选择单据"
# The first bill's selection cell, marked and calculated.
key ctrl+Home space
shot marked
key F4
wait_gone "选择单据"

expect_bill_taken "$COUNT" "$item" "b.FStockID=$stock and b.FAuxPropID=$aux and b.FStockPlaceID=0
    and b.FBatchNo='' and b.FMtoNo=''"
