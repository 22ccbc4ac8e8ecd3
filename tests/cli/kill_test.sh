#!/usr/bin/env bash
# Solve and import killed at random moments: afterwards every file passes SQLite's integrity
# check, holds the old or the new data whole, and the next command works.
# usage: kill_test.sh BIN_DIR [KILLS]   (prints how many runs were killed and how many finished)
set -u
bin=$1
kills=${2:-20}
cli="$bin/pluvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/empty.mdb" "$bin/intensity.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config"
d=(--data-folder "$work")
failed=0
fail() { failed=$((failed + 1)); echo "FAIL $*"; }
grid() { # grid NAME VALUE
  echo "# location: $1"
  echo "duration_hours,1,2,5,10,25,50,100"
  for h in 0.083333 0.166667 0.25 0.50 1.0 2.0 3.0 6.0 12.0 24.0; do echo "$h,$2,$2,$2,$2,$2,$2,$2"; done
}
grid Five 5 >"$work/five.csv"
grid Five 6 >"$work/six.csv"
"$cli" "${d[@]}" locations import "$work/five.csv" >/dev/null
p="$work/kill.rmt"
"$cli" "${d[@]}" new "$p" >/dev/null
sqlite3 "$p" "INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES ('Outfall', 'Five', '0', '0');
  INSERT INTO TblBasinInfo (BasinTag, BasinName, Area, CVal, Deleted, Tc) VALUES ('Basin1', 'Site', '10', '0.9', 'False', '30');"
"$cli" "${d[@]}" solve "$p" >/dev/null
killed=0
finished=0
# Waits a random 0-149 ms (start-up of the program takes part of it), then kills the command if it still runs.
run_and_kill() {
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "0.$(printf "%03d" $((RANDOM % 150)))"
  if kill -9 "$pid" 2>/dev/null; then killed=$((killed + 1)); else finished=$((finished + 1)); fi
  wait "$pid" 2>/dev/null
}
integrity() { [ "$(sqlite3 "$1" 'PRAGMA integrity_check')" = ok ] || fail "integrity of $1"; }

for ((i = 0; i < kills; i++)); do
  # solve: the area alternates between 10 and 20 acres and the import below between 5 and 6
  # in/hr, so Q(1 yr) is A * I * 0.9 and Q(100 yr) A * I of one of the four pairs.
  area=$((10 + 10 * (i % 2)))
  sqlite3 "$p" "UPDATE TblBasinInfo SET Area = '$area'" 2>/dev/null || fail "project not writable after a kill"
  run_and_kill "$cli" "${d[@]}" solve "$p"
  integrity "$p"
  q=$(sqlite3 "$p" "SELECT Qpeak_1 || '|' || Qpeak_100 FROM TblResults")
  case "$q" in "45.0000|50" | "90.0000|100" | "54.0000|60" | "108.0000|120") ;; *) fail "solve $i left results \"$q\"" ;; esac
  "$cli" "${d[@]}" solve "$p" | grep -q '^Q (cfs)' || fail "solve after kill $i"

  # import: the values alternate between 5 and 6 in every cell.
  run_and_kill "$cli" "${d[@]}" locations import "$work/$([ $((i % 2)) -eq 0 ] && echo six || echo five).csv" --replace
  integrity "$work/intensity.mdb"
  values=$(sqlite3 "$work/intensity.mdb" "SELECT count(*), count(DISTINCT \"1\" || \"100\") FROM Five")
  [ "$values" = "10|1" ] || fail "import $i left the table \"$values\""
  "$cli" "${d[@]}" locations show Five | grep -q '^24 hr' || fail "show after kill $i"
done
ls "$work" | grep -E '\.(part|tmp)$|^\..*\.[A-Za-z0-9]{6}$' >/dev/null && echo "note: temporary files left by kills: $(ls -a "$work" | grep -c '^\.')"
echo "$((2 * kills)) runs: $killed killed, $finished finished first; $failed failed"
[ "$failed" -eq 0 ]
