#!/usr/bin/env bash
# Runs the host program as a person would: makes a database, then calls the module's commands.
set -u
program=$1
work=$(mktemp -d)
# The read-only checks may run as nobody, who must reach the shelf wherever the temporary
# folder of the run lies.
shelf=$(mktemp -d /tmp/stockcheck-shelf-XXXXXX)
trap 'chmod -R u+w "$shelf"; rm -rf "$work" "$shelf"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
passed=0
failed=0

expect() { # name, expected status, pattern of the output, command...
    local name=$1 status=$2 pattern=$3
    shift 3
    local out rc
    out=$("$@" 2>&1)
    rc=$?
    if [ "$rc" -eq "$status" ] && grep -q -- "$pattern" <<<"$out"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $name (status $rc, expected $status; output: $out)"
    fi
}

expect "help lists the commands" 0 "import FILE" "$program" --help
expect "bad usage" 2 "Usage:" "$program" frobnicate
expect "an empty connection string is bad usage" 2 "Usage:" "$program" --odbc "" --operator 16 check
[ ! -e "$work/data/stockcheck/host.db" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: an empty connection string made the demo database"
}
expect "first run makes the database" 0 "created" "$program" --operator 16 check
[ -s "$work/data/stockcheck/host.db" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: no default database"
}
expect "a named database must exist" 1 "init-db" "$program" --db "$work/typo/x.db" sql </dev/null
[ ! -e "$work/typo" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: a mistyped --db made folders"
}
expect "the demo company has one count to open" 0 $'^1\t1$' "$program" sql \
    <<<"select (select count(*) from ICStockCheckProcess), (select count(distinct FInterID) from ICInvBackup)"
# The checks that need a company without a count say so.
expect "init-db makes a named database" 0 "created" "$program" init-db --no-count --db "$work/x.db"
expect "options after the command count" 0 "(1 row)" \
    "$program" sql --db "$work/x.db" <<<"select count(*) from t_user where FUserID=16"
expect "a command takes no stray argument" 2 "Usage:" "$program" sql extra
# A file with a second name (a hard link) is read through either name and written through none;
# a symbolic link only leads to the file's one name.
ln "$work/x.db" "$work/x2.db"
expect "a database with a second name is read" 0 "(1 row)" \
    "$program" sql --db "$work/x2.db" <<<"select count(*) from t_user where FUserID=16"
expect "a database with a second name is not written" 1 "hard link" \
    "$program" sql --db "$work/x.db" <<<"update t_user set FName=FName"
rm "$work/x2.db"
ln -s "$work/x.db" "$work/y.db"
expect "a database is written through a symbolic link" 0 "" \
    "$program" sql --db "$work/y.db" <<<"update t_user set FName=FName"
expect "init-db wants a number of rows" 2 "Usage:" "$program" init-db --rows abc
expect "init-db options go with init-db" 2 "Usage:" "$program" --force check
expect "a picture needs its folder" 2 "no folder" \
    "$program" --screenshot "$work/none/p.png" processes
expect "an operator must be a user" 1 "no user 999" "$program" --operator 999 processes
expect "an operator must be given" 1 "no operator: name a user of the database with --operator" \
    "$program" processes
expect "the module speaks the user's language" 1 "does not exist" \
    "$program" --operator 16 --lang en --test import "$work/count.xls"
echo "not a sheet" >"$work/notes.xls"
expect "an import reads spreadsheets only" 1 "notes.xls 不是电子表格" \
    "$program" --operator 16 --test import "$work/notes.xls"
expect "the refusal of a file speaks Taiwan's words" 1 "notes.xls 不是試算表：可以匯入的是" \
    "$program" --operator 16 --lang zh-TW --test import "$work/notes.xls"
mkfifo "$work/pipe.xls"
expect "an import reads files only, never waits on a pipe" 1 "is no regular file" \
    "$program" --operator 16 --lang en --test import "$work/pipe.xls"
# Read and closed, a file of the database would lose the locks the program holds on it.
expect "an import never reads the database" 1 "所选文件是正在使用的数据库的文件" \
    "$program" --operator 16 --test import "$work/data/stockcheck/host.db"
ln -s "$work/data/stockcheck/host.db-wal" "$work/log.xlsx"
expect "an import never reads the database's log, whatever its name" 1 "belongs to the database" \
    "$program" --operator 16 --lang en --test import "$work/log.xlsx"
printf 'PK\003\004' >"$work/count.xlsx"
expect "an import needs a count process" 2 "needs a count process" \
    "$program" --operator 16 import "$work/count.xlsx"
expect "a refused import fails" 1 "" "$program" --operator 16 --test import "$work/count.xlsx"
expect "without a display a message takes its default" 0 "仓库数据还未备份" \
    "$program" --db "$work/x.db" --operator 16 input
"$program" --db "$work/x.db" --operator 16 input 2>&1 | grep -q "propagateSizeHints" && {
    failed=$((failed + 1))
    echo "FAILED: the offscreen platform's chatter is printed"
} || passed=$((passed + 1))
expect "a backup not made fails" 1 "" "$program" --operator 16 backup
expect "commands are logged" 0 "ZarvoStockCheck.ICCheckInterface.CheckDataCheck" \
    cat "$work/state/stockcheck/stockcheck.log"
expect "a window can be looked at" 0 "" \
    "$program" --operator 16 --screenshot "$work/processes.png" processes
[ -s "$work/processes.png" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: no screenshot of the process list"
}
expect "a press of a tool the window has not is refused with the names it takes" 2 \
    "has no tool \"Frobnicate\"; it takes tools .*New, Open" "$program" --operator 16 \
    --screenshot "$work/none.png" --press Frobnicate processes
[ ! -e "$work/none.png" ] && passed=$((passed + 1)) || {
    failed=$((failed + 1))
    echo "FAILED: a refused press saved a picture"
}
expect "a missing module is reported" 1 "Cannot load the module" \
    env STOCKCHECK_MODULE="$work/none.so" "$program" --operator 16 print

# A database in a folder the user may not write, the file read-only or not, is read and never
# written. No permission stops the superuser: the commands then run as nobody, with folders of
# their own.
# They run a copy of the program, its module and its data on the shelf: the build may lie in a
# folder nobody may enter, such as root's home.
chmod 755 "$shelf"
mkdir -m 777 "$shelf/home"
mkdir "$shelf/bin"
cp "$program" "$(dirname "$program")/libZarvoStockCheck.so" "$shelf/bin/"
cp -r "${STOCKCHECK_DATA_DIR:?}" "$shelf/data"
chmod -R a+rX "$shelf/bin" "$shelf/data"
reader=(env XDG_DATA_HOME="$shelf/home" XDG_CONFIG_HOME="$shelf/home" XDG_STATE_HOME="$shelf/home"
    XDG_RUNTIME_DIR="$shelf/home/runtime" STOCKCHECK_DATA_DIR="$shelf/data" STOCKCHECK_MODULE=)
if [ "$(id -u)" -eq 0 ]; then
    reader=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups "${reader[@]}")
fi
reader+=("$shelf/bin/stockcheck")
# A count of every line of book stock, for check and print to show.
"$program" init-db --no-count --db "$shelf/counted.db" >/dev/null
"$program" --db "$shelf/counted.db" sql >/dev/null <<'EOF'
insert into ICStockCheckProcess (FID, FProcessID, FDate, FOperatorID, FBackupType)
values (1, 'C1', getdate(), 16, 1);
insert into ICInvBackup (FInterID, FItemID, FAuxPropID, FUnitID, FBatchNo, FMtoNo, FStockID,
    FQty, FCheckQty, FQtyAct, FAuxQty, FAuxCheckQty, FAuxQtyAct, FMinus, FStockPlaceID, FKFDate,
    FKFPeriod, FDateBackup)
select 1, v.FItemID, v.FAuxPropID, i.FUnitID, v.FBatchNo, v.FMtoNo, v.FStockID, v.FQty, v.FQty,
    v.FQty, v.FQty, v.FQty, v.FQty, 0, v.FStockPlaceID, v.FKFDate, v.FKFPeriod, getdate()
from ICInventory v join t_ICItem i on i.FItemID = v.FItemID
EOF
for mode in 444 666; do
    folder=$shelf/$mode
    mkdir "$folder"
    cp "$shelf/counted.db" "$folder/host.db"
    chmod "$mode" "$folder/host.db"
    chmod 555 "$folder"
    expect "a database in a folder not to be written ($mode) is read" 0 "(1 row)" \
        "${reader[@]}" --db "$folder/host.db" sql <<<"select count(*) from t_user"
    for command in processes check print; do
        expect "$command on a database in a folder not to be written ($mode)" 0 "" \
            "${reader[@]}" --db "$folder/host.db" --operator 16 \
            --screenshot "$shelf/home/$command-$mode.png" "$command"
    done
    expect "a write into a database in a folder not to be written ($mode) is refused" 1 \
        "readonly database" "${reader[@]}" --db "$folder/host.db" sql \
        <<<"update t_user set FName=FName"
    [ "$(ls -A "$folder")" = host.db ] && passed=$((passed + 1)) || {
        failed=$((failed + 1))
        echo "FAILED: a file was made beside a database in a folder not to be written ($mode)"
    }
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
