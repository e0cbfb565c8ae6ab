#!/usr/bin/env bash
# The long runs behind the reliability targets; not part of the test command
# (they take about an hour on two cores):
#   bash scripts/long_runs.sh [EXECUTIONS] [KILLS]     (defaults 10000000 and 1000)
# 1. Every fuzzer of stored or received bytes runs to EXECUTIONS inputs under
#    ASan/UBSan with leak checking; prints its executions, time and result.
# 2. Under Wine, KILLS kills of a process saving the item and catalog files
#    and KILLS of one appending records; prints the good outcomes.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
RUNS=${1:-10000000}
KILLS=${2:-1000}
BUILD="$ROOT/build"
bash scripts/setup.sh >/dev/null && bash scripts/build_deps.sh >/dev/null || exit 1
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2 >/dev/null || { echo "fuzz build failed"; exit 1; }
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 >/dev/null || { echo "win64 build failed"; exit 1; }

echo "=== fuzzers, $RUNS executions each"
status=0
for target in item_file catalog_file entry_name clipboard_data mailbox member_list composed archive_listing; do
  corpus="$BUILD/fuzz/corpus-$target"
  mkdir -p "$corpus"
  start=$(date +%s)
  (cd "$BUILD/fuzz" && ./${target}_fuzz -runs="$RUNS" -detect_leaks=1 -print_final_stats=1 "$corpus" \
      "$ROOT/tests/fuzz/seeds/$target") > "$BUILD/long-fuzz-$target.log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$BUILD/long-fuzz-$target.log" | tail -n 1)
  # The verdict reads the reports, not only the exit status: a sanitizer that
  # printed and went on, or a run that ended short, is no pass.
  reports=$(grep -c -E 'runtime error|ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|^SUMMARY: ' \
              "$BUILD/long-fuzz-$target.log")
  if [ $rc -eq 0 ] && [ "$reports" -eq 0 ] && [ "${execs:-0}" -ge "$RUNS" ]; then verdict='no crash, no leak, no sanitizer report'
  else verdict="FAILED: exit code $rc, $reports report lines, ${execs:-no} executions (see build/long-fuzz-$target.log)"; status=1; fi
  printf '  %-16s %12s executions in %5d s: %s\n' "$target" "${execs:-?}" $(( $(date +%s) - start )) "$verdict"
done

echo "=== kills under Wine, $KILLS each"
export TVX_BUILD="$BUILD"
. scripts/winebench.sh
tvx_bench_init "$BUILD" longruns >/dev/null || exit 1
dir="$WINEPREFIX/drive_c/longruns"
mkdir -p "$dir" && cp "$BUILD/win64/tvxsavekill.exe" "$dir/"
tvx_xvfb_start || exit 1  # the clipboard writer needs a display
for mode in save append clipdata settings export; do
  out=$("$WINE64" 'C:\longruns\tvxsavekill.exe' "$mode" "$KILLS" "C:\\longruns\\$mode" 2>&1 | tr -d '\r')
  rc=$?
  echo "$out" | grep -v '^good=' | head -n 20
  echo "  $(echo "$out" | tail -n 1)"
  [ $rc -eq 0 ] && echo "$out" | tail -n 1 | grep -q "^good=$KILLS of $KILLS" || status=1
done
tvx_bench_stop
exit $status
