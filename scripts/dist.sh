#!/usr/bin/env bash
# Lays out a complete installation folder from a Windows build:
#   scripts/dist.sh BUILD_DIR OUT_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build=$1 out=$2
# The folder is this script's own when it holds the mark it leaves there:
# only then is it emptied. Anything else that holds files is refused, so
# that no folder of a user's is ever deleted.
mark=".made-by-dist.sh"
if [ -e "$out" ] && [ -n "$(ls -A "$out" 2>/dev/null)" ] && [ ! -f "$out/$mark" ]; then
  echo "dist.sh: $out holds files this script did not make; give it a new or empty folder" >&2
  exit 1
fi
[ -f "$out/$mark" ] && rm -rf "$out"
mkdir -p "$out"
touch "$out/$mark"
mkdir -p "$out/Images" "$out/Lang" "$out/Data"
cp "$build/Tavrolinex.exe" "$build/TavrolinexExt.dll" "$out/"
cp "$root/resources/TavrolinexConfig.ini" "$out/"
cp "$root"/resources/images/*.png "$out/Images/"
cp "$build"/Lang/*.dat "$out/Lang/"
# The help, welcome and versions pages, in English and Chinese.
mkdir -p "$out/Help"
cp -r "$root/resources/help/eng" "$root/resources/help/chs" "$out/Help/"
# The texts of each language with a text file of its own; the language
# dialog copies the chosen one over TavrolinexConfig.ini.
cp "$root/resources/TavrolinexConfig.ini" "$out/Lang/eng.ini"
cp "$root/resources/lang/chs.ini" "$out/Lang/chs.ini"
# A ready English installation (the demo, the test bench): its LogConfig.dat
# says that the language was chosen. The packages carry neither this file
# nor TavrolinexConfig.ini: release.sh takes both out, so that an upgrade
# keeps the user's, and the program makes them at its first start.
printf '[LogConfig]\r\nLangSel=0\r\nShowLangSel=0\r\n' > "$out/LogConfig.dat"
