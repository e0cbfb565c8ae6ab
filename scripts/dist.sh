#!/usr/bin/env bash
# Lays out a complete installation folder from a Windows build:
#   scripts/dist.sh BUILD_DIR OUT_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build=$1 out=$2
rm -rf "$out"
mkdir -p "$out/Images" "$out/Lang" "$out/Data"
cp "$build/Tavrolinex.exe" "$build/TavrolinexExt.dll" "$out/"
cp "$root/resources/TavrolinexConfig.ini" "$out/"
cp "$root"/resources/images/*.png "$out/Images/"
cp "$build"/Lang/*.dat "$out/Lang/"
# The texts of each language with a text file of its own; the language
# dialog copies the chosen one over TavrolinexConfig.ini.
cp "$root/resources/TavrolinexConfig.ini" "$out/Lang/eng.ini"
cp "$root/resources/lang/chs.ini" "$out/Lang/chs.ini"
