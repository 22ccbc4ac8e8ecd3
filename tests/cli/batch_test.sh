#!/usr/bin/env bash
# Several projects in one solve, their JSON and CSV results, and the export of locations.
# usage: batch_test.sh BIN_DIR SOURCE_DIR
set -u
bin=$1
src=$2
cli="$bin/pluvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/empty.mdb" "$bin/intensity.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config"
# A comma-decimal locale, where the machine has one, must not reach the numbers.
german=$(locale -a 2>/dev/null | grep -i '^de_DE' | head -n 1)
[ -n "$german" ] && export LC_ALL=$german
d=(--data-folder "$work")
passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); printf 'FAIL %s\n' "$*"; }

python3 "$src/bench/make_projects.py" "$work" "$work/p" --count 4 --elements 12 >/dev/null || bad "making projects"
p=("$work/p/site-001.rmt" "$work/p/site-002.rmt" "$work/p/site-003.rmt" "$work/p/site-004.rmt")
cp "${p[1]}" "$work/p/broken.rmt"
sqlite3 "$work/p/broken.rmt" "UPDATE TblNodeInfo SET IntensityTable = 'Nowhere'"
echo "not a project" >"$work/p/notes.rmt"
mkdir "$work/reports"

# Good projects around two failing ones: every good one stored, the failures on stderr, exit 1.
"$cli" "${d[@]}" solve "${p[0]}" "$work/p/broken.rmt" "${p[1]}" "$work/p/notes.rmt" "${p[2]}" "${p[3]}" \
  --jobs 3 --text "$work/reports" >"$work/out.txt" 2>"$work/err.txt"
rc=$?
[ "$rc" -eq 1 ] && ok || bad "exit code $rc with failing projects"
[ "$(wc -l <"$work/out.txt")" -eq 6 ] && ok || bad "summary lines: $(cat "$work/out.txt")"
sed -n 2p "$work/out.txt" | grep -qx "$work/p/broken.rmt: not solved" && ok || bad "broken line: $(sed -n 2p "$work/out.txt")"
grep -qE "^$work/p/site-004.rmt: Atlanta, Q \(cfs\)( [0-9]+\.[0-9]{2}){7}$" "$work/out.txt" && ok || bad "good line: $(cat "$work/out.txt")"
grep -q "broken.rmt: The project could not be solved: The rainfall table \"Nowhere\" does not exist" "$work/err.txt" && ok || bad "stderr: $(cat "$work/err.txt")"
grep -q "notes.rmt: .*is not a database" "$work/err.txt" && ok || bad "stderr for a non-project: $(cat "$work/err.txt")"
for f in "${p[@]}"; do
  [ "$(sqlite3 "$f" "SELECT COUNT(*) FROM TblResults WHERE Qpeak_100 <> ''")" = 1 ] && ok || bad "$f not stored"
done
[ -z "$(sqlite3 "$work/p/broken.rmt" "SELECT * FROM TblResults")" ] && ok || bad "broken project got results"
grep -q $'^Q(cfs)\t' "$work/reports/site-003.txt" && ok || bad "report of site-003"
grep -q '^The project could not be solved' "$work/reports/broken.txt" && ok || bad "report of the broken project"

# JSON and CSV, checked against the stored rows by Python's json and csv modules.
"$cli" "${d[@]}" solve "${p[@]}" "$work/p/broken.rmt" --json --out "$work/results.json" >"$work/out.txt" 2>/dev/null
[ $? -eq 1 ] && [ "$(wc -l <"$work/out.txt")" -eq 5 ] && ok || bad "--out keeps the summary lines"
"$cli" "${d[@]}" solve "${p[@]}" "$work/p/broken.rmt" --csv >"$work/results.csv" 2>/dev/null
python3 "$src/tests/cli/batch_check.py" "$work/results.json" "$work/results.csv" && ok || bad "results against the stored rows"
"$cli" "${d[@]}" solve "${p[0]}" --json --review >"$work/review.json"
python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["projects"][0]["review"]; sys.exit(0 if isinstance(r, list) and all("code" in f for f in r) else 1)' "$work/review.json" && ok || bad "review notes in JSON"
"$cli" "${d[@]}" solve "${p[0]}" --csv --review | python3 -c 'import csv,sys; rows=list(csv.DictReader(sys.stdin)); sys.exit(0 if len(rows) == 7 and "review" in rows[0] else 1)' && ok || bad "review column in CSV"

# Refused before anything is solved.
out=$("$cli" "${d[@]}" solve "${p[0]}" "$work/p/../p/site-001.rmt" 2>&1); rc=$?
[ $rc -eq 1 ] && grep -q "is given twice" <<<"$out" && ok || bad "same project twice: $rc $out"
mkdir -p "$work/other" && cp "${p[0]}" "$work/other/"
out=$("$cli" "${d[@]}" solve "${p[0]}" "$work/other/site-001.rmt" --text "$work/reports" 2>&1); rc=$?
[ $rc -eq 1 ] && grep -q "would both write" <<<"$out" && ok || bad "two reports of one name: $rc $out"
out=$("$cli" "${d[@]}" solve "${p[0]}" "${p[1]}" --rtf "$work/reports/none" 2>&1); rc=$?
[ $rc -eq 1 ] && grep -q "is not a folder" <<<"$out" && ok || bad "missing report folder: $rc $out"
before=$(sqlite3 "${p[1]}" "SELECT Qpeak_100 FROM TblResults")
out=$("$cli" "${d[@]}" solve "${p[0]}" "${p[1]}" --json --out "$work/p/../p/site-002.rmt" 2>&1); rc=$?
[ $rc -eq 1 ] && grep -q "is the project" <<<"$out" && [ "$(sqlite3 "${p[1]}" "SELECT Qpeak_100 FROM TblResults")" = "$before" ] && ok || bad "--out over a project: $rc $out"
out=$("$cli" "${d[@]}" solve "${p[0]}" --jobs 0 2>&1); rc=$?
[ $rc -eq 2 ] && grep -q "jobs needs a whole number" <<<"$out" && ok || bad "--jobs 0: $rc"
out=$("$cli" "${d[@]}" solve "${p[0]}" --json --csv 2>&1); rc=$?
[ $rc -eq 2 ] && ok || bad "--json with --csv: $rc"

# Every shipped location exported, removed and imported again gives the same table and source.
while IFS= read -r name; do
  copy="$work/roundtrip" && rm -rf "$copy" && mkdir "$copy" && cp "$work/intensity.mdb" "$work/empty.mdb" "$copy/"
  "$cli" "${d[@]}" locations export "$name" --csv --out "$work/exported.csv" >/dev/null || { bad "export $name"; continue; }
  table=$(sqlite3 "$work/intensity.mdb" "SELECT * FROM \"$name\" ORDER BY ID")
  source=$(sqlite3 "$work/intensity.mdb" "SELECT BasinName || '|' || Provenance FROM BasinName WHERE BasinName = '$name'")
  sqlite3 "$copy/intensity.mdb" "DELETE FROM BasinName WHERE BasinName = '$name'; DROP TABLE \"$name\";"
  "$cli" --data-folder "$copy" locations import "$work/exported.csv" >/dev/null 2>&1 || { bad "import of exported $name"; continue; }
  [ "$(sqlite3 "$copy/intensity.mdb" "SELECT * FROM \"$name\" ORDER BY ID")" = "$table" ] && ok || bad "table of $name"
  [ "$(sqlite3 "$copy/intensity.mdb" "SELECT BasinName || '|' || Provenance FROM BasinName WHERE BasinName = '$name'")" = "$source" ] && ok || bad "source of $name"
  cmp -s "$work/exported.csv" <("$cli" --data-folder "$copy" locations export "$name") && ok || bad "second export of $name"
done < <("$cli" "${d[@]}" locations list)
out=$("$cli" "${d[@]}" locations export Nowhere 2>&1); rc=$?
[ $rc -eq 1 ] && grep -q 'no rainfall location named "Nowhere"' <<<"$out" && ok || bad "export unknown: $rc"
# A typed-in value the format cannot carry is refused, and no file appears.
sqlite3 "$work/intensity.mdb" "UPDATE \"Atlanta\" SET \"2\" = '1,5' WHERE ID = 3"
out=$("$cli" "${d[@]}" locations export atlanta --out "$work/comma.csv" 2>&1); rc=$?
[ $rc -eq 1 ] && grep -q 'holds a comma' <<<"$out" && [ ! -e "$work/comma.csv" ] && ok || bad "comma cell: $rc $out"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
