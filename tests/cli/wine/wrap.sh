#!/usr/bin/env bash
# Makes a folder that the command-line test scripts take for a build's bin folder, where
# `pluvane-cli` runs the Windows pluvane-cli.exe under Wine, beside the same data files.
# usage: wrap.sh WINDOWS_BIN_DIR OUT_DIR   (prints OUT_DIR; WINEPREFIX must be set)
set -euo pipefail
bin=$(cd "$1" && pwd)
out=$2
wine=${PLUVANE_WINE:-/usr/lib/wine/wine64}
mkdir -p "$out"
for f in empty.mdb intensity.mdb; do cp "$bin/$f" "$out/$f"; done
# Wine hands the program its own exit code; its own messages are off (WINEDEBUG=-all). The
# settings folder a test sets up (XDG_CONFIG_HOME) stands in for %APPDATA%, which Wine always
# sets to the prefix's own folder: that folder's pluvane is made a link to the test's.
cat >"$out/pluvane-cli" <<WRAPPER
#!/usr/bin/env bash
roaming="\$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
if [ -n "\${XDG_CONFIG_HOME:-}" ]; then
  mkdir -p "\$XDG_CONFIG_HOME/pluvane" "\$roaming"
  ln -sfn "\$XDG_CONFIG_HOME/pluvane" "\$roaming/pluvane"
else
  rm -rf "\$roaming/pluvane"
fi
exec "$wine" "$bin/pluvane-cli.exe" "\$@"
WRAPPER
chmod +x "$out/pluvane-cli"
echo "$out"
