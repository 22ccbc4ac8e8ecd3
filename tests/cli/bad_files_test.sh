#!/usr/bin/env bash
# Damaged, hostile and locked files given to the command line: each refused with exit 1 and a
# message naming the problem, the file left byte for byte as it was.
# usage: bad_files_test.sh BIN_DIR
set -u
bin=$1
cli="$bin/pluvane-cli"
work=$(mktemp -d)
holders=()
trap 'for h in "${holders[@]}"; do kill "$h" 2>/dev/null; done; chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp "$bin/empty.mdb" "$bin/intensity.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config"
d=(--data-folder "$work")
passed=0
failed=0
digest() { if [ ! -f "$1" ]; then stat -c '%F' "$1"; else sha256sum <"$1"; fi; }

# A solvable project: the worked example, 5 in/hr everywhere.
{
  echo "# location: Five"
  echo "duration_hours,1,2,5,10,25,50,100"
  for h in 0.083333 0.166667 0.25 0.50 1.0 2.0 3.0 6.0 12.0 24.0; do echo "$h,5,5,5,5,5,5,5"; done
} >"$work/five.csv"
"$cli" "${d[@]}" locations import "$work/five.csv" >/dev/null
make_project() { # make_project PATH [LOCATION]
  "$cli" "${d[@]}" new "$1" >/dev/null
  sqlite3 "$1" "INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES ('Outfall', '${2:-Five}', '0', '0');
    INSERT INTO TblBasinInfo (BasinTag, BasinName, BasinX, BasinY, Area, SoilType, CVal, Slope, TravelLength, Deleted, BasinNType, BasinN, Tc)
    VALUES ('Basin1', 'Site', '480', '960', '10', 'Roofs', '0.9', '0.02', '100', 'False', 'Smooth', '0.011', '30');"
}
good="$work/good.rmt"
make_project "$good"

# The damaged files.
: >"$work/empty.rmt"
head -c 3000 "$good" >"$work/truncated.rmt"
head -c 8192 /dev/urandom >"$work/random.rmt"
mkdir "$work/folder.rmt"
mkfifo "$work/fifo.rmt"
sqlite3 "$work/schema.rmt" "CREATE TABLE Other (x TEXT);"
cp "$good" "$work/huge.rmt"
sqlite3 "$work/huge.rmt" "UPDATE TblBasinInfo SET Area = '1e308'; INSERT INTO TblBasinInfo (BasinTag, BasinName, Area, CVal, Deleted, Tc) VALUES ('Basin2', 'B', '1e308', '0.9', 'False', '5');"
for cell in "" abc 1e39 -5; do
  sqlite3 "$work/intensity.mdb" "CREATE TABLE IF NOT EXISTS \"Bad$cell\" AS SELECT * FROM \"Five\"; UPDATE \"Bad$cell\" SET \"100\" = '$cell';
    INSERT INTO BasinName (BasinName) SELECT 'Bad$cell' WHERE NOT EXISTS (SELECT 1 FROM BasinName WHERE BasinName = 'Bad$cell');"
  make_project "$work/cell$cell.rmt" "Bad$cell"
done
sqlite3 "$work/intensity.mdb" "UPDATE \"Bad1e39\" SET \"100\" = '1e39' WHERE ID IN (4, 5);"
sqlite3 "$work/intensity.mdb" "CREATE TABLE Blobs AS SELECT * FROM Five; UPDATE Blobs SET \"1\" = NULL, \"100\" = X'00FF';
  INSERT INTO BasinName (BasinName) VALUES ('Blobs');"
make_project "$work/blobs.rmt" Blobs
make_project "$work/reserved.rmt" BasinName
cp "$good" "$work/locked.rmt"
# The lock a Pluvane window holds (flock), kept by a process that is only a sleep.
(exec 9<"$work/locked.rmt"; flock -x 9; exec sleep 60) >/dev/null 2>&1 &
holders+=($!)
cp "$good" "$work/self.rmt"
ln -s "$work/self.rmt" "$work/alias.rmt"
head -c 100000 /dev/urandom >"$work/noise.csv"
# Other names of the data folder's databases, and a project with values no site has.
ln -s "$work/intensity.mdb" "$work/rain-link.rmt"
ln "$work/empty.mdb" "$work/template-hard.csv"
cp "$good" "$work/negative.rmt" && cp "$good" "$work/second.rmt"
sqlite3 "$work/negative.rmt" "UPDATE TblBasinInfo SET Area = '-1'"
cp "$good" "$work/bad-c.rmt"
sqlite3 "$work/bad-c.rmt" "UPDATE TblBasinInfo SET CVal = '1.5', BasinName = ''"
sleep 0.2

# name | expected message (grep -E) | file that must stay unchanged | command...
cases=(
  "zero length|is not a Pluvane project: the table TblProjectInfo is missing|$work/empty.rmt|solve $work/empty.rmt"
  "truncated|damaged|not a database|$work/truncated.rmt|solve $work/truncated.rmt"
  "random bytes|is not a database|$work/random.rmt|solve $work/random.rmt"
  "directory|is a folder, not a file|$work/folder.rmt|solve $work/folder.rmt"
  "fifo|not a regular file|$work/fifo.rmt|solve $work/fifo.rmt"
  "fifo peak|not a regular file|$work/fifo.rmt|peak --area 1 --c 1 --tc 5 --project $work/fifo.rmt"
  "wrong schema|the table TblProjectInfo is missing|$work/schema.rmt|solve $work/schema.rmt"
  "huge area|total area is too large|$work/huge.rmt|solve $work/huge.rmt"
  "null and blob cells|30 min and 1 years is missing|$work/blobs.rmt|solve $work/blobs.rmt"
  "missing cell|30 min and 100 years is missing|$work/cell.rmt|solve $work/cell.rmt"
  "text cell|\"abc\"\) is not a number|$work/cellabc.rmt|solve $work/cellabc.rmt"
  "huge cells|\"1e39\"\) is too large|$work/cell1e39.rmt|solve $work/cell1e39.rmt"
  "negative cell|\"-5\"\) is not positive|$work/cell-5.rmt|solve $work/cell-5.rmt"
  "reserved location|\"BasinName\" is not a rainfall location|$work/reserved.rmt|solve $work/reserved.rmt"
  "locked solve|open in another Pluvane window|$work/locked.rmt|solve $work/locked.rmt"
  "locked peak|open in another Pluvane window|$work/locked.rmt|peak --area 1 --c 1 --tc 5 --project $work/locked.rmt"
  "locked new|open in another Pluvane window|$work/locked.rmt|new $work/locked.rmt --force"
  "report over project|is the project|$work/self.rmt|solve $work/self.rmt --text $work/alias.rmt"
  "report over rainfall|is the rainfall intensity database|$work/intensity.mdb|solve $work/self.rmt --rtf $work/./intensity.mdb"
  "report over template|is the project template|$work/empty.mdb|solve $work/self.rmt --text $work/empty.mdb"
  "import zeros|not a regular file|/dev/zero|locations import /dev/zero"
  "import folder|is a folder|$work/folder.rmt|locations import $work/folder.rmt"
  "import noise|not a text|$work/intensity.mdb|locations import $work/noise.csv"
  "export over project|is a database|$work/good.rmt|locations export Five --out $work/good.rmt"
  "export over locked|open in another Pluvane window|$work/locked.rmt|locations export Five --out $work/locked.rmt"
  "export over rainfall|is the rainfall intensity database|$work/intensity.mdb|locations export Five --out $work/intensity.mdb"
  "export over template|is the project template|$work/empty.mdb|locations export Five --out $work/template-hard.csv"
  "new over rainfall|is the rainfall intensity database|$work/intensity.mdb|new $work/rain-link.rmt --force"
  "new over template|is the project template|$work/empty.mdb|new $work/template-hard.csv --force"
  "new over a database|not a Pluvane project|$work/schema.rmt|new $work/schema.rmt --force"
  "negative area|Sub-basin 'Site': the area -1 is below 0|$work/negative.rmt|solve $work/negative.rmt"
  "negative area batch|the area -1 is below 0|$work/negative.rmt|solve $work/negative.rmt $work/second.rmt"
  "c above 1|Sub-basin 'Basin1': the run-off coefficient 1.5 is outside 0 to 1|$work/bad-c.rmt|solve $work/bad-c.rmt"
)
# Under Wine (scripts/test-windows sets PLUVANE_UNDER_WINE) what needs POSIX is skipped, with
# its reason; the Windows lock is tried by the core tests there.
skipped=0
needs_posix() { # needs_posix CASE: the reason when the case needs POSIX under Wine, else nothing
  [ -n "${PLUVANE_UNDER_WINE:-}" ] || return 0
  case $1 in
  fifo*) echo "a FIFO" ;;
  locked* | "export over locked") echo "a lock taken by flock(1), which Windows programs do not see" ;;
  "import zeros") echo "the device /dev/zero" ;;
  "full disk") echo "a tmpfs mounted in a namespace of its own, out of the Wine server's sight" ;;
  "read-only") echo "another user, who may not run the Wine prefix" ;;
  esac
}
skip_case() { # skip_case CASE: true (and counted) when it is skipped
  local reason
  reason=$(needs_posix "$1")
  [ -n "$reason" ] || return 1
  skipped=$((skipped + 1))
  echo "SKIP $1: needs POSIX: $reason"
}
for row in "${cases[@]}"; do
  IFS='|' read -r -a f <<<"$row"
  n=${#f[@]}
  name=${f[0]} cmd=${f[n - 1]} keep=${f[n - 2]}
  skip_case "$name" && continue
  pattern=$(IFS='|'; echo "${f[*]:1:n-3}")
  before=$(digest "$keep")
  # shellcheck disable=SC2086
  out=$(timeout 10 "$cli" "${d[@]}" $cmd 2>&1)
  rc=$?
  after=$(digest "$keep")
  if [ "$rc" -eq 1 ] && grep -qE -- "$pattern" <<<"$out" && [ "$before" = "$after" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s (exit %s; pattern %s; unchanged %s)\n%s\n' "$name" "$rc" "$pattern" \
      "$([ "$before" = "$after" ] && echo yes || echo no)" "$out"
  fi
done

# A template that something else has replaced makes no project.
mkdir "$work/csvdata" && cp "$work/intensity.mdb" "$work/csvdata/" && echo "a,b" >"$work/csvdata/empty.mdb"
out=$("$cli" --data-folder "$work/csvdata" new "$work/from-csv.rmt" 2>&1)
if [ $? -eq 1 ] && grep -q 'template ".*" is not a Pluvane project' <<<"$out" && [ ! -e "$work/from-csv.rmt" ]; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); echo "FAIL new from a replaced template: $out"
fi

# The stored results of a refused solve stay as they were.
cp "$good" "$work/kept.rmt"
"$cli" "${d[@]}" solve "$work/kept.rmt" >/dev/null
sqlite3 "$work/kept.rmt" "UPDATE TblNodeInfo SET IntensityTable = 'Badabc'"
before=$(sqlite3 "$work/kept.rmt" "SELECT * FROM TblResults")
"$cli" "${d[@]}" solve "$work/kept.rmt" --text "$work/kept.txt" >/dev/null 2>&1
if [ "$before" = "$(sqlite3 "$work/kept.rmt" "SELECT * FROM TblResults")" ] && [ -n "$before" ] &&
  grep -q 'could not be solved.*not a number' "$work/kept.txt"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); echo "FAIL refused solve kept TblResults / report says why"
fi

# A full disk (a small file system of its own, where one can be mounted): the solve says that
# nothing was stored as well as that the report was not written; new --force says the disk is
# full and leaves the old project.
full_disk() { # full_disk SCRIPT: runs it with $1 = a folder on a file system that is full
  if [ "$(id -u)" -eq 0 ]; then
    unshare -m sh -c "mount -t tmpfs -o size=512k tmpfs '$work/full' && $1" sh "$work/full"
  else
    unshare -rm sh -c "mount -t tmpfs -o size=512k tmpfs '$work/full' && $1" sh "$work/full"
  fi
}
mkdir "$work/full"
if skip_case "full disk"; then
  :
elif full_disk true 2>/dev/null; then
  out=$(full_disk "cp '$good' \$1/p.rmt && cp '$good' \$1/q.rmt && sha256sum <\$1/q.rmt >'$work/q.before';
    head -c 2M /dev/zero >\$1/fill 2>/dev/null;
    '$cli' --data-folder '$work' solve \$1/p.rmt --rtf \$1/r.rtf; echo rc=\$?;
    '$cli' --data-folder '$work' new \$1/q.rmt --force; echo rc=\$?;
    sha256sum <\$1/q.rmt | cmp -s - '$work/q.before' && echo kept" 2>&1)
  if grep -q "could not be solved: The disk is full" <<<"$out" && grep -q "r.rtf\" cannot be written: the disk is full" <<<"$out" &&
    [ "$(grep -c '^rc=1$' <<<"$out")" -eq 2 ] && grep -q "q.rmt\" cannot be written: the disk is full" <<<"$out" && grep -qx kept <<<"$out"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); printf 'FAIL full disk\n%s\n' "$out"
  fi
else
  echo "full disk not tried: no file system can be mounted here"
fi

# Read-only file and folder, tried as an unprivileged user (root writes through permissions).
if skip_case "read-only"; then
  :
elif [ "$(id -u)" -ne 0 ] || command -v setpriv >/dev/null; then
  as_user=()
  [ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  mkdir "$work/ro"
  cp "$good" "$work/ro/file.rmt" && cp "$good" "$work/ro/infolder.rmt"
  chmod 755 "$work" && chmod 644 "$work"/*.mdb && chmod 444 "$work/ro/file.rmt"
  [ "$(id -u)" -eq 0 ] && chown 65534 "$work/ro/infolder.rmt"
  chmod 555 "$work/ro"
  for row in "file.rmt|is read-only" "infolder.rmt|the folder \"$work/ro\" is read-only"; do
    IFS='|' read -r file pattern <<<"$row"
    before=$(digest "$work/ro/$file")
    out=$(HOME=/tmp "${as_user[@]}" "$cli" "${d[@]}" solve "$work/ro/$file" 2>&1)
    rc=$?
    if [ "$rc" -eq 1 ] && grep -qF -- "$pattern" <<<"$out" && [ "$before" = "$(digest "$work/ro/$file")" ]; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1)); printf 'FAIL read-only %s (exit %s)\n%s\n' "$file" "$rc" "$out"
    fi
  done
fi

if [ "$skipped" -gt 0 ]; then echo "$passed passed, $failed failed, $skipped skipped"; else echo "$passed passed, $failed failed"; fi
[ "$failed" -eq 0 ]
