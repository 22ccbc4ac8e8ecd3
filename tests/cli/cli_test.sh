#!/usr/bin/env bash
# The command line as a user runs it, on a private copy of the generated data folder.
# usage: cli_test.sh BIN_DIR pdf|nopdf   (whether this build of pluvane-cli writes PDF)
set -u
bin=$1
pdf_build=${2:-nopdf}
cli="$bin/pluvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/empty.mdb" "$bin/intensity.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config" # no InstallPath setting of the user's leaks in

passed=0
failed=0
check() { # check NAME EXPECTED_RC GREP_PATTERN -- COMMAND...
  local name=$1 want=$2 pattern=$3
  shift 4
  local out rc
  out=$("$@" 2>&1)
  rc=$?
  if [ "$rc" -eq "$want" ] && grep -qE -- "$pattern" <<<"$out"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s (exit %s, wanted %s; pattern %s)\n%s\n' "$name" "$rc" "$want" "$pattern" "$out"
  fi
}
d=(--data-folder "$work")

check "help" 0 "locations import" -- "$cli" help
check "no command" 2 "no command given" -- "$cli"
check "unknown command" 2 "unknown command frobnicate" -- "$cli" frobnicate
check "bad number" 2 '--area needs a number, not "1O"' -- "$cli" "${d[@]}" peak --area 1O --c 0.9 --tc 5
check "negative" 2 "cannot be negative" -- "$cli" "${d[@]}" peak --area 10 --c -0.9 --tc 5
check "missing option" 2 "peak needs --tc" -- "$cli" "${d[@]}" peak --area 10 --c 0.9
check "no data folder" 1 "intensity.mdb\" is missing" -- "$cli" --data-folder "$work/nowhere" locations list

check "list" 0 "^Atlanta$" -- "$cli" "${d[@]}" locations list
out=$("$cli" "${d[@]}" locations list)
if [ "$out" = $'Atlanta\nFort Myers\nLake Houston' ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL list order: $out"; fi
check "show any case" 0 "^Location: Fort Myers$" -- "$cli" "${d[@]}" locations show "fort myers"
check "show rows" 0 "^24 hr +0\.167 +0\.198 +0\.254 +0\.303 +0\.377 +0\.438 +0\.504$" -- "$cli" "${d[@]}" locations show "Fort Myers"
check "show source" 0 "NOAA Atlas 14 Volume 9 Version 2" -- "$cli" "${d[@]}" locations show Atlanta
check "show unknown" 1 'no rainfall location named "Nowhere"' -- "$cli" "${d[@]}" locations show Nowhere

# A location made for the textbook example: 5.0 in/hr in every cell.
{
  echo "# location: Uniform Five"
  echo "# source: textbook example"
  echo "duration_hours,1,2,5,10,25,50,100"
  for h in 0.083333 0.166667 0.25 0.50 1.0 2.0 3.0 6.0 12.0 24.0; do echo "$h,5.0,5.0,5.0,5.0,5.0,5.0,5.0"; done
} >"$work/uniform.csv"
check "import" 0 'Added location "Uniform Five"' -- "$cli" "${d[@]}" locations import "$work/uniform.csv"
check "import twice" 1 "exists already; add --replace" -- "$cli" "${d[@]}" locations import "$work/uniform.csv"
check "import replace" 0 'Updated location "Uniform Five"' -- "$cli" "${d[@]}" locations import "$work/uniform.csv" --replace
check "import renamed" 0 'Added location "Five Again"' -- "$cli" "${d[@]}" locations import "$work/uniform.csv" --name "Five Again"
check "import missing file" 1 "cannot be read" -- "$cli" "${d[@]}" locations import "$work/absent.csv"
head -c 4096 "$bin/intensity.mdb" >"$work/binary.csv"
check "import binary file" 1 "not a text \(CSV\) file" -- "$cli" "${d[@]}" locations import "$work/binary.csv"
printf 'date,rain\n2024-01-01,0.5\n' >"$work/other.csv"
check "import other csv" 1 "neither a NOAA Atlas 14" -- "$cli" "${d[@]}" locations import "$work/other.csv"
printf 'duration_hours,1,2,5,10,25,50,100\n0.083333,1,2,3\n' >"$work/short.csv"
check "import short row" 1 'line 2: the 10-year intensity "" is not a positive number' -- "$cli" "${d[@]}" locations import "$work/short.csv" --name Short
check "worked example" 0 "^Q \(cfs\) +45\.00 +45\.00 +45\.00 +45\.00 +49\.50 +50\.00 +50\.00$" -- \
  "$cli" "${d[@]}" peak --area 10 --c 0.9 --tc 30 --location "uniform five"
check "beyond the table" 0 "at or beyond the longest duration" -- "$cli" "${d[@]}" peak --area 1 --c 0.5 --tc 1440
check "interpolated" 0 "^I \(in/hr\) +2\.88 +3\.32 +4\.08 +4\.68 +5\.60 +6\.28 +7\.00$" -- "$cli" "${d[@]}" peak --area 1 --c 0.5 --tc 15

# A NOAA PFDS depth download (the server's shape, values made up), converted to in/hr as
# depth / duration to 3 significant figures: 0.409 * 12 = 4.908 -> 4.91, 7.35 / 24 = 0.30625 -> 0.306.
pfds() { # pfds LOCATION_LINE DEPTH_5MIN_10YR
  cat <<END
Point precipitation frequency estimates (inches)
NOAA Atlas 14 Volume 2 Version 3
Data type: Precipitation depth
Time series type: Partial duration
Project area: Ohio River Basin
$1
Station Name: -
Latitude: 40.0962 Degree
Longitude: -88.2574 Degree
Elevation (USGS): 755 ft


PRECIPITATION FREQUENCY ESTIMATES
by duration for ARI (years):, 1,2,5,10,25,50,100,200,500,1000
5-min:, 0.409,0.485,0.575,$2,0.740,0.812,0.884,0.960,1.06,1.14
10-min:, 0.599,0.710,0.842,0.947,1.08,1.19,1.29,1.40,1.55,1.66
15-min:, 0.730,0.866,1.03,1.16,1.32,1.45,1.58,1.71,1.89,2.03
30-min:, 1.00,1.19,1.43,1.62,1.87,2.07,2.27,2.47,2.75,2.96
60-min:, 1.29,1.54,1.87,2.14,2.52,2.82,3.13,3.45,3.89,4.24
2-hr:, 1.58,1.89,2.32,2.68,3.19,3.62,4.06,4.53,5.19,5.72
3-hr:, 1.73,2.07,2.56,2.97,3.56,4.05,4.57,5.12,5.90,6.54
6-hr:, 2.06,2.46,3.05,3.56,4.30,4.93,5.60,6.32,7.36,8.22
12-hr:, 2.40,2.86,3.53,4.11,4.96,5.67,6.44,7.26,8.44,9.42
24-hr:, 2.77,3.30,4.07,4.73,5.69,6.49,7.35,8.27,9.58,10.7
2-day:, 3.21,3.82,4.70,5.45,6.53,7.42,8.37,9.38,10.8,12.0

Date/time (GMT):  Mon Jun 19 14:23:29 2023
pyRunTime:  0.013230323791503906
END
}
pfds "Location name (ESRI Maps): Champaign, Illinois, USA" 0.647 >"$work/PF_Depth_English_PDS.csv"
check "import pfds" 0 'Added location "Champaign"' -- "$cli" "${d[@]}" locations import "$work/PF_Depth_English_PDS.csv"
check "pfds 5 min" 0 "^5 min +4\.91 +5\.82 +6\.90 +7\.76 +8\.88 +9\.74 +10\.6$" -- "$cli" "${d[@]}" locations show Champaign
check "pfds 24 hr" 0 "^24 hr +0\.115 +0\.138 +0\.170 +0\.197 +0\.237 +0\.270 +0\.306$" -- "$cli" "${d[@]}" locations show Champaign
check "pfds source" 0 "^  Time series type: Partial duration$" -- "$cli" "${d[@]}" locations show Champaign
check "pfds converted" 0 "^  converted from depth as depth / duration" -- "$cli" "${d[@]}" locations show Champaign
pfds "" 0.647 >"$work/unnamed.csv"
check "pfds needs a name" 1 "names no location; give one with --name" -- "$cli" "${d[@]}" locations import "$work/unnamed.csv"
check "pfds named" 0 'Added location "Urbana"' -- "$cli" "${d[@]}" locations import "$work/unnamed.csv" --name Urbana
# 10-year 5-min 0.560 in -> 6.72 in/hr, below the 5-year 6.90: stored, with a warning on stderr.
pfds "Location name (ESRI Maps): Savoy, Illinois, USA" 0.560 >"$work/kinked.csv"
warned=$("$cli" "${d[@]}" locations import "$work/kinked.csv" 2>&1 >/dev/null)
if [ "$warned" = "pluvane-cli: warning: 5 min, 10-year: 6.72 in/hr is less than the 5-year 6.90 in/hr; intensity should rise with the return period." ]; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); echo "FAIL import warning on stderr: $warned"
fi
check "kinked stored" 0 "^5 min +4\.91 +5\.82 +6\.90 +6\.72 " -- "$cli" "${d[@]}" locations show Savoy
sed -e "s|ARI (years):, 1,2,5,10,25,50,100,200,500,1000|AEP:, '1/2,'1/5,'1/10,'1/25,'1/50,'1/100,'1/200,'1/500,'1/1000|" \
  -e 's/Partial duration/Annual maximum/' "$work/PF_Depth_English_PDS.csv" >"$work/PF_Depth_English_AMS.csv"
check "ams refused" 1 "annual maximum series .*download the partial duration series" -- "$cli" "${d[@]}" locations import "$work/PF_Depth_English_AMS.csv" --name Ams
check "ams not stored" 1 'no rainfall location named "Ams"' -- "$cli" "${d[@]}" locations show Ams

check "new" 0 "Created project" -- "$cli" "${d[@]}" new "$work/site.rmt"
check "new again" 1 "exists already; add --force" -- "$cli" "${d[@]}" new "$work/site.rmt"
check "new force" 0 "Created project" -- "$cli" "${d[@]}" new "$work/site.rmt" --force
check "peak stored" 0 "Stored in" -- "$cli" "${d[@]}" peak --area 10 --c 0.9 --tc 30 --location "Uniform Five" --project "$work/site.rmt"
stored=$(sqlite3 "$work/site.rmt" "SELECT Qpeak_1, Qpeak_25, COUNT(*) FROM TblResults")
if [ "$stored" = "45.0000|49.5|1" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL stored results: $stored"; fi
echo "not a project" >"$work/notes.rmt"
check "not a project" 1 "is not a database" -- "$cli" "${d[@]}" peak --area 1 --c 1 --tc 5 --project "$work/notes.rmt"

# solve: a project made with `new`, its rows written with sqlite3 as the dialogs write them.
p="$work/solve.rmt"
check "solve usage" 2 "solve needs one project file" -- "$cli" "${d[@]}" solve
check "solve new project" 0 "Created project" -- "$cli" "${d[@]}" new "$p"
check "solve without node" 1 "has no node yet" -- "$cli" "${d[@]}" solve "$p"
sqlite3 "$p" "INSERT INTO TblProjectInfo (ProjectName, DesignEngineer, ProjectManager, DesignDate, JobNumber, IValueBasinName)
  VALUES ('Textbook Site', 'M. Okafor', 'R. Lindqvist', '2026-03-14', '24-117', 'Uniform Five');
  INSERT INTO TblNodeInfo (NodeName, IntensityTable, NodeX, NodeY) VALUES ('Outfall', 'Uniform Five', '5040', '5160');"
check "nothing to solve" 1 "^pluvane-cli: Nothing to Solve$" -- "$cli" "${d[@]}" solve "$p"
sqlite3 "$p" "INSERT INTO TblBasinInfo (BasinTag, BasinName, BasinX, BasinY, Area, SoilType, CVal, Slope, TravelLength, Deleted, BasinNType, BasinN, Tc)
  VALUES ('Basin1', 'Gone', '480', '480', '99', 'Roofs', '0.9', '0.02', '100', 'True', 'Smooth', '0.011', '3');"
check "only deleted rows" 1 "^pluvane-cli: Nothing to Solve$" -- "$cli" "${d[@]}" solve "$p"
sqlite3 "$p" "INSERT INTO TblBasinInfo (BasinTag, BasinName, BasinX, BasinY, Area, SoilType, CVal, Slope, TravelLength, Deleted, BasinNType, BasinN, Tc)
  VALUES ('Basin2', 'Site', '480', '960', '10', 'Roofs', '0.9', '0.02', '100', 'False', 'Smooth', '0.011', '30');"
check "solve worked example" 0 "^Q \(cfs\) +45\.00 +45\.00 +45\.00 +45\.00 +49\.50 +50\.00 +50\.00$" -- "$cli" "${d[@]}" solve "$p"
check "solve again, with files" 0 "Wrote \"$work/report.txt\"" -- "$cli" "${d[@]}" solve "$p" --rtf "$work/report.rtf" --text "$work/report.txt"
stored=$(sqlite3 "$p" "SELECT Qpeak_1, Qpeak_25, COUNT(*) FROM TblResults")
if [ "$stored" = "45.0000|49.5|1" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL solve stored results: $stored"; fi
if [ "$(head -c 6 "$work/report.rtf")" = '{\rtf1' ] && grep -q 'Textbook Site' "$work/report.rtf"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL rtf file"; fi
if grep -qx $'Q(cfs)\t45.00\t45.00\t45.00\t45.00\t49.50\t50.00\t50.00' "$work/report.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL text file"; cat "$work/report.txt"; fi
if ! grep -A1 -x $'Q(cfs)\t45.00\t45.00\t45.00\t45.00\t49.50\t50.00\t50.00' "$work/report.txt" | grep -q '^Rainfall:'; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL rainfall line without the option"; fi
# The design basis is in the report unless it is turned off; the minimum Tc is set, applied and
# said, and taken back with "none".
if grep -qx 'Design Basis' "$work/report.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL design basis by default"; fi
check "no design basis" 0 "Wrote" -- "$cli" "${d[@]}" solve "$p" --no-design-basis --text "$work/plain.txt"
if ! grep -q 'Design Basis' "$work/plain.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL --no-design-basis"; fi
check "set min-tc" 0 "^Minimum Tc of .*: 60 min\.$" -- "$cli" "${d[@]}" set "$p" min-tc 60
check "set min-tc bad" 2 "minimum Tc must be a number of minutes above 0" -- "$cli" "${d[@]}" set "$p" min-tc -3
check "min-tc in json" 0 '"design": \{"TcUsed": 60, "minimumTc": 60, "minimumApplied": true, "intensityMethod": "minimum Tc of 60 min applied; interpolated' -- "$cli" "${d[@]}" solve "$p" --json
check "min-tc none" 0 "^Minimum Tc of .*: none\.$" -- "$cli" "${d[@]}" set "$p" min-tc none
check "solve with rainfall source" 0 "Wrote" -- "$cli" "${d[@]}" solve "$p" --rainfall-source --text "$work/sourced.txt" --rtf "$work/sourced.rtf"
if grep -A1 -x $'Q(cfs)\t45.00\t45.00\t45.00\t45.00\t49.50\t50.00\t50.00' "$work/sourced.txt" | grep -qx 'Rainfall: Uniform Five — source: textbook example'; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); echo "FAIL rainfall line"; cat "$work/sourced.txt"
fi
if grep -qF 'Rainfall: Uniform Five \u8212' "$work/sourced.rtf"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL rainfall line in rtf"; grep Rainfall "$work/sourced.rtf"; fi
mkdir -p "$work/config/pluvane" && echo "ReportRainfallSource=1" >"$work/config/pluvane/pluvane.conf"
check "rainfall source by setting" 0 "Wrote" -- "$cli" "${d[@]}" solve "$p" --text "$work/setting.txt"
if grep -qx 'Rainfall: Uniform Five — source: textbook example' "$work/setting.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL rainfall line by setting"; fi
rm "$work/config/pluvane/pluvane.conf"
if [ "$pdf_build" = pdf ]; then
  check "pdf" 0 "Wrote \"$work/report.pdf\"" -- "$cli" "${d[@]}" solve "$p" --pdf "$work/report.pdf"
  if head -c 5 "$work/report.pdf" | grep -q '%PDF-' && pdfinfo "$work/report.pdf" | grep -qE '^Pages: +[1-9]'; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "FAIL pdf file: not a readable PDF"
  fi
  # The pages are drawn by the helper beside the program; its reason comes back as the error.
  mkdir -p "$work/handover"
  check "pdf to a missing folder" 1 "^pluvane-cli: The PDF file \"$work/missing/report.pdf\" could not be written" -- env TMPDIR="$work/handover" "$cli" "${d[@]}" solve "$p" --pdf "$work/missing/report.pdf"
  if [ -z "$(ls -A "$work/handover")" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL pdf helper left its document behind"; fi
else
  check "pdf without a writer" 1 "PDF export needs the desktop build of pluvane-cli" -- "$cli" "${d[@]}" solve "$p" --pdf "$work/report.pdf"
fi
check "solve to a missing folder" 1 "cannot be written: the folder \"$work/missing\" does not exist" -- "$cli" "${d[@]}" solve "$p" --rtf "$work/missing/report.rtf"
check "solve to a folder" 1 "is a folder; choose a file name" -- "$cli" "${d[@]}" solve "$p" --text "$work"
sqlite3 "$p" "UPDATE TblNodeInfo SET IntensityTable = 'Nowhere'"
check "solve without its rainfall" 1 'could not be solved: The rainfall table "Nowhere" does not exist' -- "$cli" "${d[@]}" solve "$p" --text "$work/failed.txt"
if grep -q '^The project could not be solved' "$work/failed.txt" && ! grep -q '^Q(cfs)' "$work/failed.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL failed report"; fi

# check: the example project as the build writes it from examples/willow-creek.sql, then one
# change at a time.
root=$(cd "$(dirname "$0")/../.." && pwd)
w="$work/willow.rmt"
"$cli" "${d[@]}" new "$w" >/dev/null && sqlite3 "$w" <"$root/examples/willow-creek.sql"
check "check example" 3 '^warning Basin2 "North lawn": sheet-flow length 150 ft exceeds 100 ft \(NRCS NEH 630 ch. 15, 2010\)$' -- "$cli" "${d[@]}" check "$w"
check "check example json" 3 '^\{"findings": \[\{"code": "SHEET_LENGTH_100", "severity": "warning", "element": "Basin2", "name": "North lawn", ".*"code": "SHEET_MCCUEN_SPIESS"' -- "$cli" "${d[@]}" check "$w" --json
check "solve review" 0 "Wrote" -- "$cli" "${d[@]}" solve "$w" --review --text "$work/reviewed.txt"
"$cli" "${d[@]}" solve "$w" --text "$work/unreviewed.txt" >/dev/null
if grep -qx 'Review Notes' "$work/reviewed.txt" && grep -q '^warning Basin2 "North lawn": sheet-flow length 150 ft' "$work/reviewed.txt" &&
  ! grep -q 'Review Notes' "$work/unreviewed.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL solve --review section"; fi
sqlite3 "$w" "UPDATE TblBasinInfo SET Deleted = 'True' WHERE BasinTag = 'Basin2'"
check "check clean" 0 '^\{"findings": \[\]\}$' -- "$cli" "${d[@]}" check "$w" --json
out=$("$cli" "${d[@]}" check "$w")
if [ -z "$out" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL check clean prints: $out"; fi
sqlite3 "$w" "UPDATE TblBasinInfo SET Tc = '5' WHERE BasinTag = 'Basin1'"
check "check typed tc" 3 '^\{"findings": \[\{"code": "TC_TYPED", "severity": "note", "element": "Basin1", "name": "Lots 1-6 roofs & drives", "message": "Tc 5 min \(its inputs give 1.1061 min with P2 = 3.84 in\) was typed, not computed"' -- "$cli" "${d[@]}" check "$w" --json
sqlite3 "$w" "UPDATE TblBasinInfo SET Tc = '1.1061', Area = '0' WHERE BasinTag IN ('Basin1', 'Basin3')"
check "check no area" 3 '"code": "AREA_ZERO", "severity": "warning", "element": null, "name": "Willow Creek Phase 2"' -- "$cli" "${d[@]}" check "$w" --json
check "check not a project" 1 "is not a database" -- "$cli" "${d[@]}" check "$work/notes.rmt"
check "check missing" 1 "does not exist|cannot be" -- "$cli" "${d[@]}" check "$work/absent.rmt"
check "check usage" 2 "check needs one project file" -- "$cli" "${d[@]}" check

sqlite3 "$w" "UPDATE TblBasinInfo SET Area = '-2' WHERE BasinTag = 'Basin1'"
check "check negative area" 3 '"code": "VALUE_REFUSED".*"message": "area -2 ac is below 0: the solve refuses it"' -- "$cli" "${d[@]}" check "$w" --json
if ! "$cli" "${d[@]}" check "$w" | grep -q "every Q is 0"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL check says every Q is 0 of a negative area"; fi

# Export and import carry a location byte for byte: a name that begins with "--" (after "--"),
# source lines that read like the name's key, with blanks, a CR and a tab.
{
  echo "# location: --Dashed"
  echo "duration_hours,1,2,5,10,25,50,100"
  for h in 0.083333 0.166667 0.25 0.50 1.0 2.0 3.0 6.0 12.0 24.0; do echo "$h,5.0,5.0,5.0,5.0,5.0,5.0,5.0"; done
} >"$work/dashed.csv"
check "import dashed" 0 'Added location "--Dashed"' -- "$cli" "${d[@]}" locations import "$work/dashed.csv"
sqlite3 "$work/intensity.mdb" "UPDATE BasinName SET Provenance = 'Location: Evil' || char(10) || ' padded  ' || char(13) || char(10) || 'tab' || char(9) || 'end \\x \"q\"' || char(10) WHERE BasinName = '--Dashed'"
source_of() { sqlite3 "$work/intensity.mdb" "SELECT hex(Provenance) FROM BasinName WHERE BasinName = '$1'"; }
before=$(source_of --Dashed)
check "export after --" 0 "Wrote" -- "$cli" "${d[@]}" locations export --out "$work/dashed-out.csv" -- --Dashed
check "reimport" 0 'Updated location "--Dashed"' -- "$cli" "${d[@]}" locations import "$work/dashed-out.csv" --replace
if [ "$(source_of --Dashed)" = "$before" ] && ! "$cli" "${d[@]}" locations list | grep -q "Evil"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL round trip: $(source_of --Dashed) vs $before"; fi
check "name with blanks" 1 'begins or ends with a blank' -- "$cli" "${d[@]}" locations import "$work/uniform.csv" --name " Spaced "
check "reserved name" 1 'is reserved by the intensity database' -- "$cli" "${d[@]}" locations import "$work/uniform.csv" --name "BASINNAME "
check "reserved spacing" 1 'is reserved by the intensity database' -- "$cli" "${d[@]}" locations import "$work/uniform.csv" --name "Basin Name"

# Two imports of one new name at once, many times: one adds it, the other is told it exists.
for i in $(seq 1 50); do
  "$cli" "${d[@]}" locations import "$work/uniform.csv" --name "Race $i" >"$work/race1" 2>&1 &
  "$cli" "${d[@]}" locations import "$work/uniform.csv" --name "Race $i" >"$work/race2" 2>&1
  rc2=$?
  wait $!
  rc1=$?
  if [ $((rc1 + rc2)) -ne 1 ] || [ "$(cat "$work/race1" "$work/race2" | grep -c '^Added location')" -ne 1 ] ||
    ! cat "$work/race1" "$work/race2" | grep -q "exists already; add --replace"; then
    failed=$((failed + 1)); echo "FAIL race $i: $rc1 $rc2 $(cat "$work/race1" "$work/race2")"; break
  fi
done
[ "$i" -eq 50 ] && passed=$((passed + 1))

# A project and its folder named beyond ASCII open, solve and get their reports (Windows would
# read such names in its code page if they were not converted).
u="$work/Bericht ü"
mkdir "$u"
check "non-ASCII new" 0 "Created project \"$u/Müller-Straße.rmt\"" -- "$cli" "${d[@]}" new "$u/Müller-Straße.rmt"
sqlite3 "$u/Müller-Straße.rmt" <"$root/examples/willow-creek.sql"
check "non-ASCII solve" 0 "Wrote" -- "$cli" "${d[@]}" solve "$u/Müller-Straße.rmt" --text "$u/Bericht ü.txt" --rtf "$u/Bericht ü.rtf"
if grep -q '^Q(cfs)' "$u/Bericht ü.txt" && grep -q '^{\\rtf1' "$u/Bericht ü.rtf" &&
  [ "$(ls "$u" | sort | tr '\n' '|')" = "Bericht ü.rtf|Bericht ü.txt|Müller-Straße.rmt|" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL non-ASCII reports: $(ls "$u")"; fi
check "non-ASCII check" 3 "Basin2" -- "$cli" "${d[@]}" check "$u/Müller-Straße.rmt"

# Wrong command lines.
check "value missing" 2 "^pluvane-cli: --area needs a value$" -- "$cli" "${d[@]}" peak --area --c 0.5 --tc 10
check "option twice" 2 "^pluvane-cli: --jobs given twice$" -- "$cli" "${d[@]}" solve "$p" "$w" --jobs 2 --jobs 3
check "c above 1" 2 "^pluvane-cli: --c cannot be above 1$" -- "$cli" "${d[@]}" peak --area 1 --c 1.5 --tc 10
ln "$w" "$work/hard.rmt"
check "hard link twice" 1 "is given twice" -- "$cli" "${d[@]}" solve "$w" "$work/hard.rmt"
# Control bytes of a name reach the terminal escaped.
esc="$work/esc$(printf '\033')[31mred.rmt"
out=$("$cli" "${d[@]}" new "$esc" 2>&1; "$cli" "${d[@]}" new "$esc" 2>&1)
if grep -qF 'esc\x1b[31mred.rmt' <<<"$out" && ! grep -q $'\033' <<<"$out" && [ "$(grep -c 'esc' <<<"$out")" -eq 2 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL escaped: $out"; fi
# The outlet pipe and channel; half the full flow of a 24 in pipe (22.6224 cfs) runs half full.
check "pipe size it" 0 '^Pipe: 18 in \(smallest standard size' -- "$cli" pipe --q 10 --slope 0.01 --n 0.013
check "pipe half full" 0 '^\{"diameterIn": 24, "sized": false, "fullFlowCfs": 22\.622.*"percentFull": (49\.99|50\.00)' -- "$cli" pipe --q 11.3112 --slope 0.01 --n 0.013 --diameter 24 --json
check "pipe over capacity" 0 '"depthFt": null, .*"overCapacity": true\}$' -- "$cli" pipe --q 30 --slope 0.01 --n 0.013 --diameter 24 --json
check "pipe none fits" 1 "No standard pipe diameter up to 72 in carries" -- "$cli" pipe --q 1e5 --slope 0.01 --n 0.013
check "channel capacity" 0 '^\{"normalDepthFt": 2\.49.*"capacityCfs": 62\.9' -- "$cli" channel --q 100 --slope 0.002 --n 0.03 --bottom 6 --side 3 --depth 2 --json
for bad in "pipe --q 10 --slope 0 --n 0.013|slope must be a number greater than 0, not 0" \
  "pipe --q 10 --slope 0.01 --n -0.013|Manning's n must be a number greater than 0, not -0.013" \
  "pipe --q 10 --slope 0.01 --n 0.013 --diameter 0|pipe diameter must be a number greater than 0, not 0" \
  "channel --q 10 --slope 0.01 --n 0.03 --bottom 0 --side 2|bottom width must be a number greater than 0, not 0" \
  "channel --q 10 --slope 0.01 --n 0.03 --bottom 4|channel needs --side" \
  "pipe --q 1O --slope 0.01 --n 0.013|--q needs a number, not \"1O\""; do
  read -ra words <<<"${bad%%|*}"
  check "bad ${bad%%|*}" 2 "${bad#*|}" -- "$cli" "${words[@]}"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
