#!/usr/bin/env bash
# Runs the exchange benchmark under Wine and packs the same staged folder
# with the system's "zip -r -6", printing the ratio (target: within 1.5x).
# Needs: scripts/winebench.sh sourced, the bench prefix and Xvfb started,
# TVX_BUILD, and the benchmark copied to TESTS_DIR (unix) / TESTS_WIN.
set -uo pipefail
work_win='C:\xbench'
work_unix="$WINEPREFIX/drive_c/xbench"
rm -rf "$work_unix"
out=$(timeout 900 "$WINE64" "$TESTS_WIN\\tvx_exchange_bench.exe" "$work_win" 2>&1 | tr -d '\r')
rc=$?  # the benchmark's, through pipefail
echo "$out" | grep -v '^PACK_MS='
pack_ms=$(echo "$out" | sed -n 's/^PACK_MS=//p')
if [ -d "$work_unix/stage/Bench" ]; then
  t0=$(date +%s%N)
  (cd "$work_unix/stage" && zip -r -6 -q "$work_unix/native.zip" Bench)
  zip_ms=$(( ($(date +%s%N) - t0) / 1000000 ))
  ratio=$(awk -v p="${pack_ms:-0}" -v z="$zip_ms" 'BEGIN { if (z > 0) printf "%.2f", p / z; else print "n/a" }')
  echo "zip -r -6 of the same staged folder, natively: $zip_ms ms; the program's pack took ${ratio}x that (target 1.5x)"
fi
rm -rf "$work_unix"
# The benchmark's own checks (the export, the load and the save worked).
exit "$rc"
