#!/usr/bin/env bash
# Timings of the batch solve: 200 projects of 60 elements, each variant on fresh copies so every
# solve really writes its results.
# usage: bench/batch_bench.sh [BIN_DIR] [COUNT]      (BIN_DIR defaults to build/bin)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
count=${2:-200}
cli="$bin/pluvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/empty.mdb" "$bin/intensity.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config"
python3 "$here/make_projects.py" "$work" "$work/master" --count "$count" --elements 60 >/dev/null
fresh() { rm -rf "$work/p" "$work/reports" && cp -r "$work/master" "$work/p" && mkdir "$work/reports"; }
seconds() { # seconds COMMAND...: wall time of a command, in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}
separate() { for f in "$work"/p/*.rmt; do "$cli" --data-folder "$work" solve "$f"; done; }
separateText() { for f in "$work"/p/*.rmt; do "$cli" --data-folder "$work" solve "$f" --text "$work/reports/$(basename "$f" .rmt).txt"; done; }

fresh; t_separate=$(seconds separate)
fresh; t_separate_text=$(seconds separateText)
fresh; t_batch=$(seconds "$cli" --data-folder "$work" solve "$work"/p/*.rmt --jobs 2 --json --out "$work/results.json")
fresh; t_batch_text=$(seconds "$cli" --data-folder "$work" solve "$work"/p/*.rmt --jobs 2 --json --out "$work/results.json" --text "$work/reports")
fresh; t_python=$(seconds python3 "$here/python_solve.py" "$work" "$work/reports" "$work"/p/*.rmt)
# The same two runs with fsync and fdatasync made no-ops: what is left is computing, and the
# difference is the time spent waiting for the disk to make each stored result durable.
cpu() { # cpu COMMAND...: the user and system seconds of a command
  /usr/bin/time -f "%U s user, %S s system" -o "$work/cpu" "$@" >/dev/null
  cat "$work/cpu"
}
fresh; t_batch_text_nosync=$(seconds eatmydata "$cli" --data-folder "$work" solve "$work"/p/*.rmt --jobs 2 --json --out "$work/results.json" --text "$work/reports")
fresh; cpu_batch=$(cpu eatmydata "$cli" --data-folder "$work" solve "$work"/p/*.rmt --jobs 2 --json --out "$work/results.json" --text "$work/reports")
fresh; t_python_nosync=$(seconds eatmydata python3 "$here/python_solve.py" "$work" "$work/reports" "$work"/p/*.rmt)
fresh; cpu_python=$(cpu eatmydata python3 "$here/python_solve.py" "$work" "$work/reports" "$work"/p/*.rmt)
ratio() { LC_ALL=C printf '%.1f' "$(echo "scale=6; $1 / $2" | bc)"; }
t_sync=$(echo "$t_python - $t_python_nosync" | bc)
echo "$count projects of 60 elements ($(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg))"
echo "  $count separate 'pluvane-cli solve' runs        ${t_separate} s"
echo "  $count separate runs with --text                ${t_separate_text} s"
echo "  one 'solve --jobs 2 --json' run                 ${t_batch} s  ($(ratio "$t_separate" "$t_batch")x faster than separate runs)"
echo "  one 'solve --jobs 2 --json --text DIR' run      ${t_batch_text} s"
echo "  Python with sqlite3 (solve, store, text report) ${t_python} s  ($(ratio "$t_python" "$t_batch_text")x slower than the batch with --text)"
echo "  without disk syncs: batch with --text ${t_batch_text_nosync} s, Python ${t_python_nosync} s ($(ratio "$t_python_nosync" "$t_batch_text_nosync")x)"
echo "    processor time: batch ${cpu_batch}; Python ${cpu_python}"
echo "  Python waits ${t_sync} s for its durable commits; two jobs doing nothing but the same"
echo "  commits would take half of it: at most $(ratio "$t_python" "($t_sync / 2)")x faster than Python"
