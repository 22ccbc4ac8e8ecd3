#!/usr/bin/env bash
# Makes a folder that the command-line test scripts take for a build's bin folder, where
# `pluvane-cli` runs the Windows pluvane-cli.exe under Wine, beside the same data files.
# usage: wrap.sh WINDOWS_BIN_DIR OUT_DIR   (prints OUT_DIR)
set -euo pipefail
bin=$(cd "$1" && pwd)
out=$2
wine=${PLUVANE_WINE:-/usr/lib/wine/wine64}
mkdir -p "$out"
for f in empty.mdb intensity.mdb; do cp "$bin/$f" "$out/$f"; done
# Wine hands the program its own exit code; its loader's messages are turned off (WINEDEBUG).
printf '#!/bin/sh\nexec %q %q "$@"\n' "$wine" "$bin/pluvane-cli.exe" >"$out/pluvane-cli"
chmod +x "$out/pluvane-cli"
echo "$out"
