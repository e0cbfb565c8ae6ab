#!/usr/bin/env bash
# Sets up, builds all three builds and runs every test suite:
#   native unit tests (also under ASan/UBSan), the Win32 tests under Wine,
#   and the end-to-end suites that drive the real program under Wine and Xvfb.
# Ends with one summary line "N passed, N failed".
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
export TVX_ROOT="$ROOT"
BUILD="$ROOT/build"
mkdir -p "$BUILD"
RESULTS="$BUILD/test-results.txt"
: > "$RESULTS"
export TVX_RESULTS="$RESULTS"
TIMES=()
T_START=$(date +%s)
elapsed() { echo $(( $(date +%s) - T_START )); }
# Every stage says when it began, so that a run cut short shows where the time went.
stage_start() { STAGE_T0=$(date +%s); echo "=== $1 (at $(( (STAGE_T0 - T_START) / 60 )) min)"; }
stage_end() { TIMES+=("$1: $(( $(date +%s) - STAGE_T0 )) s"); }
record() { echo "$1 $2" >> "$RESULTS"; }

stage_start "setup"
bash scripts/setup.sh || { echo "setup failed"; exit 1; }
bash scripts/build_deps.sh || { echo "building the Windows dependencies failed"; exit 1; }
stage_end setup

# The new-WoW64 Wine of the 32-bit stage is prepared beside the 64-bit stages,
# at the lowest priority: unpacked from the prebuilt tree in seconds where it
# is at hand, built from Debian's source otherwise, which takes longer than
# everything before the 32-bit stage together.
WOW64_LOG="$BUILD/wine-wow64.log"
if [ "${TVX_SKIP_WOW64:-0}" != 1 ]; then
  # In a session of its own, so that the whole build can be stopped by its id.
  setsid nice -n 19 bash scripts/build_wine_wow64.sh > "$BUILD/wine-wow64.path" 2> "$WOW64_LOG" &
  WOW64_PID=$!
fi

build_preset() { # PRESET
  { cmake --preset "$1" >"$BUILD/$1-configure.log" 2>&1 && cmake --build --preset "$1" >"$BUILD/$1-build.log" 2>&1; } \
    && { record PASS "build $1"; return 0; }
  record FAIL "build $1"; echo "build $1 failed:"; tail -n 40 "$BUILD/$1-build.log" "$BUILD/$1-configure.log" 2>/dev/null
  return 1
}

run_ctest() { # PRESET
  local out="$BUILD/$1-ctest.log"
  (cd "$BUILD/$1" && ctest --output-on-failure -j2) >"$out" 2>&1
  local rc=$?
  tail -n 3 "$out"
  # one result line per test case
  sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) \.*\** *\(Passed\|Failed\).*/\2 \1/p' "$out" |
    sed 's/^Passed/PASS native:'"$1"'/; s/^Failed/FAIL native:'"$1"'/' >> "$RESULTS"
  [ $rc -eq 0 ] || { echo "ctest $1 failed"; grep -A20 'Failed\|FAILED' "$out" | head -60; }
}

stage_start "native build and unit tests"
if out=$(python3 scripts/gen_pinyin_initials.py --check 2>&1); then record PASS "generated: $out"
else record FAIL "generated: $out"; fi
if out=$(python3 scripts/check_includes.py 2>&1); then record PASS "$out"
else record FAIL "includes against the floors (scripts/check_includes.py)"; echo "$out"; fi
build_preset native && run_ctest native
stage_end "native"
stage_start "native build and unit tests under ASan/UBSan"
build_preset native-asan && run_ctest native-asan
stage_end "native-asan"

stage_start "fuzzing the file decoders (libFuzzer, ASan/UBSan)"
FUZZ_SECONDS=${TVX_FUZZ_SECONDS:-12}
if build_preset fuzz; then
  for target in item_file catalog_file entry_name clipboard_data mailbox member_list composed archive_listing; do
    corpus="$BUILD/fuzz/corpus-$target"
    mkdir -p "$corpus"
    if (cd "$BUILD/fuzz" && ./${target}_fuzz -max_total_time="$FUZZ_SECONDS" -print_final_stats=0 \
          "$corpus" "$ROOT/tests/fuzz/seeds/$target") >"$BUILD/fuzz-$target.log" 2>&1; then
      record PASS "fuzz:$target ($(grep -o 'Done [0-9]* runs' "$BUILD/fuzz-$target.log"))"
    else
      record FAIL "fuzz:$target"; tail -n 30 "$BUILD/fuzz-$target.log"
    fi
  done
fi
stage_end "fuzz"

stage_start "data benchmark (figures only; targets are not pass/fail)"
[ -x "$BUILD/native/tvx_data_bench" ] && (cd "$BUILD" && ./native/tvx_data_bench) | tee "$BUILD/data-bench.txt"
stage_end "benchmark"

stage_start "win32 (i686) build, warnings as errors"
build_preset win32
stage_end "win32"
stage_start "win64 build"
build_preset win64 && WIN64_OK=1 || WIN64_OK=0
stage_end "win64"

stage_start "release packages"
# The release of this version, and the same packages with a higher version
# for the upgrade test.
next_version=$(awk -F. '{ printf "%d.%d.%d", $1, $2, $3 + 1 }' VERSION)
if [ "$WIN64_OK" = 1 ] && [ -f "$BUILD/win32/Tavrolinex.exe" ] &&
   TVX_RELEASE_NO_BUILD=1 bash scripts/release.sh "$BUILD/release" > "$BUILD/release.log" 2>&1 &&
   TVX_RELEASE_NO_BUILD=1 TVX_PACKAGE_VERSION=$next_version bash scripts/release.sh "$BUILD/release-next" \
     >> "$BUILD/release.log" 2>&1; then
  record PASS "release packages"
  sed -n '/^release /,$p' "$BUILD/release.log" | head -n 7
else
  record FAIL "release packages"; tail -n 20 "$BUILD/release.log" 2>/dev/null
fi
stage_end "release"

# One Wine stage: the Win32 tests and every end-to-end suite on one build,
# their results prefixed with the stage (win64:/e2e64: or win32:/e2e32:).
# The 64-bit stage runs the x86_64 build under the system's Wine 8.0 and
# also the kill tests and the benchmarks; the 32-bit one runs the i686 build,
# the product users install on 32-bit Windows, under the new-WoW64 Wine 10.0.
wine_stage() { # ARCH (64 or 32)
  local arch=$1 bin="$BUILD/win$1" stage_results="$BUILD/test-results-$1.txt"
  export TVX_ARCH=$arch TVX_BUILD="$BUILD" TVX_DIST="$BUILD/dist$arch" DRIVE="$bin/tvxdrive.exe"
  bash scripts/dist.sh "$bin" "$TVX_DIST"
  . scripts/winebench.sh
  : > "$stage_results"
  export TVX_RESULTS="$stage_results"

  stage_start "Wine prefix ($arch-bit)"
  tvx_bench_init "$BUILD" wintests && record PASS "wine$arch: prefix" || record FAIL "wine$arch: prefix"
  stage_end "wine prefix $arch"

  stage_start "Win32 tests under Wine ($arch-bit build)"
  tests_dir="$WINEPREFIX/drive_c/Program Files/Tavrolinex Tests"
  mkdir -p "$tests_dir/Lang"
  cp "$bin/tvx_win_tests.exe" "$bin/tvxhelper.exe" "$bin/TavrolinexExt.dll" "$tests_dir/"
  cp "$bin/Lang/eng.dat" "$tests_dir/Lang/"
  tvx_xvfb_start
  timeout 600 "$WINE64" 'C:\Program Files\Tavrolinex Tests\tvx_win_tests.exe' >"$BUILD/win-tests-$arch.log" 2>&1
  rc=$?
  tr -d '\r' < "$BUILD/win-tests-$arch.log" |
    sed -n "s/^\[       OK \] \([^ ]*\).*/PASS win$arch:\1/p; s/^\[  FAILED  \] \([^ ,]*\) (.*/FAIL win$arch:\1/p" >> "$RESULTS"
  tr -d '\r' < "$BUILD/win-tests-$arch.log" | tail -n 3
  if [ $rc -ne 0 ]; then
    grep -q '^\[  FAILED  \]' "$BUILD/win-tests-$arch.log" || record FAIL "win$arch: the Win32 tests ended with code $rc"
    tr -d '\r' < "$BUILD/win-tests-$arch.log" | grep -B5 -A15 'Failure\|FAILED' | head -80
  fi
  if [ "$arch" = 64 ]; then
    echo "=== writers killed at random moments (TVX_KILL_SEED replays a run)"
    cp "$bin/tvxsavekill.exe" "$tests_dir/"
    for spec in "save 100" "append 100" "clipdata 40" "settings 40" "export 40"; do
      set -- $spec
      out=$(timeout 900 "$WINE64" 'C:\Program Files\Tavrolinex Tests\tvxsavekill.exe' "$1" "$2" "C:\\killtest-$1" \
              ${TVX_KILL_SEED:-} 2>&1 | tr -d '\r')
      echo "$out" | grep -v '^kill ' | sed 's/^/  /'
      echo "$out" | grep '^kill ' | head -n 5 | sed 's/^/  /'
      if echo "$out" | grep -q "^good=$2 of $2"; then record PASS "kill test ($1): $(echo "$out" | tail -n 1)"
      else record FAIL "kill test ($1): $(echo "$out" | tail -n 1) $(echo "$out" | grep -m 1 '^kill ')"; fi
    done
    echo "=== discovery benchmark under Wine (figures only)"
    cp "$bin/tvx_discovery_bench.exe" "$tests_dir/"
    timeout 300 "$WINE64" 'C:\Program Files\Tavrolinex Tests\tvx_discovery_bench.exe' 2>/dev/null | tr -d '\r' |
      tee "$BUILD/discovery-bench.txt"
    echo "=== exchange benchmark under Wine (figures only)"
    cp "$bin/tvx_exchange_bench.exe" "$tests_dir/"
    WINE64="$WINE64" TESTS_WIN='C:\Program Files\Tavrolinex Tests' bash "$ROOT/tests/bench/exchange_bench.sh" |
      tee "$BUILD/exchange-bench.txt"
  fi
  tvx_bench_stop
  stage_end "win32 tests $arch"

  for suite in tests/e2e/*_test.sh; do
    name=$(basename "$suite" .sh)
    if [ "$(elapsed)" -gt "$BUDGET" ]; then
      # CI stops the whole run at 90 minutes; what is left is named, not lost in a cut.
      echo "=== end to end ($arch-bit build): $name is skipped, the run is past ${BUDGET} s"
      record SKIP "$name ($arch-bit build): the test command ran past ${BUDGET} s"
      continue
    fi
    stage_start "end to end ($arch-bit build): $name"
    # No suite may carry the run past CI's limit.
    limit=$(( HARD_END - $(elapsed) )); [ "$limit" -gt 900 ] && limit=900
    timeout "$limit" bash "$suite" > "$BUILD/e2e$arch-$name.log" 2>&1 ||
      { grep -q . "$BUILD/e2e$arch-$name.log" || record FAIL "$name did not run"; }
    grep -E '^(PASS|FAIL)' "$BUILD/e2e$arch-$name.log" | sed 's/^/  /'
    # Each suite's prefix is a copy of some 750 MB: it goes once its suite passed.
    grep -q '^FAIL' "$BUILD/e2e$arch-$name.log" || tvx_forget_prefixes
    stage_end "$name ($arch)"
  done

  stage_start "scale benchmark under Wine ($arch-bit build; figures only, targets are not pass/fail)"
  rm -f "$BUILD/scale-bench-$arch.md"
  if [ "$(elapsed)" -gt "$BUDGET" ]; then
    echo "  skipped: the run is past ${BUDGET} s"; record SKIP "scale benchmark ($arch-bit build)"
  else
    timeout 900 bash tests/bench/scale_bench.sh > "$BUILD/scale-bench-$arch.log" 2>&1 || echo "  the scale benchmark did not finish"
    tvx_forget_prefixes
  fi
  [ -f "$BUILD/scale-bench.md" ] && mv "$BUILD/scale-bench.md" "$BUILD/scale-bench-$arch.md"
  stage_end "scale benchmark $arch"

  sed -E "s/^(PASS|FAIL) /\1 e2e$arch: /" "$stage_results" >> "$BUILD/test-results.txt"
  export TVX_RESULTS="$BUILD/test-results.txt"
}

# The 32-bit suites must end before CI's 90 minutes; past this many seconds
# the ones left are reported as not run.
BUDGET=${TVX_TIME_BUDGET:-4500}
HARD_END=$(( BUDGET + 540 ))
if [ "$WIN64_OK" = 1 ]; then
  wine_stage 64
else
  record FAIL "no 64-bit Wine suites: the win64 build failed"
fi

if [ "${TVX_SKIP_WOW64:-0}" = 1 ]; then
  echo "=== the 32-bit stage is skipped (TVX_SKIP_WOW64=1)"
  echo "SKIP the 32-bit stage (TVX_SKIP_WOW64=1)" >> "$RESULTS"
elif [ -f "$BUILD/win32/Tavrolinex.exe" ] && [ -f "$BUILD/win32/tvxdrive.exe" ]; then
  stage_start "new-WoW64 Wine 10.0 for the 32-bit build"
  while kill -0 "$WOW64_PID" 2>/dev/null && [ "$(elapsed)" -lt "$BUDGET" ]; do sleep 5; done
  TVX_WINE_TREE=""
  if kill -0 "$WOW64_PID" 2>/dev/null; then
    # Built from source on a slow machine: the 32-bit suites could not end in time.
    kill -- -"$WOW64_PID" 2>/dev/null; wait "$WOW64_PID" 2>/dev/null
    record SKIP "the 32-bit stage: the new-WoW64 Wine was still being built from source at ${BUDGET} s"
  elif wait "$WOW64_PID" && TVX_WINE_TREE=$(cat "$BUILD/wine-wow64.path") && [ -x "$TVX_WINE_TREE/bin/wine" ]; then
    export TVX_WINE_TREE
    record PASS "wine32: the new-WoW64 Wine is ready"
  else
    TVX_WINE_TREE=""
    record FAIL "wine32: the new-WoW64 Wine could not be built"
  fi
  tail -n 3 "$WOW64_LOG"
  stage_end "wine wow64"
  [ -n "${TVX_WINE_TREE:-}" ] && wine_stage 32
else
  record FAIL "no 32-bit Wine suites: the win32 build failed"
fi
unset TVX_ARCH

for arch in 64 32; do
  echo
  echo "=== scale benchmark (100,000 entries, the $arch-bit build under Wine)"
  cat "$BUILD/scale-bench-$arch.md" 2>/dev/null || echo "  not run"
done
echo
echo "=== stage times"
printf '  %s\n' "${TIMES[@]}"
echo "=== skipped"
grep '^SKIP' "$RESULTS" || echo "  none"
echo "=== failures"
grep '^FAIL' "$RESULTS" || echo "  none"
passed=$(grep -c '^PASS' "$RESULTS")
failed=$(grep -c '^FAIL' "$RESULTS")
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
