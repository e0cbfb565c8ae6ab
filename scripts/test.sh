#!/usr/bin/env bash
# Sets up, builds all three builds and runs every test suite:
#   native unit tests (also under ASan/UBSan), the Win32 tests under Wine,
#   and the end-to-end suites that drive the real program under Wine and Xvfb.
# Ends with one summary line "N passed, N failed, N skipped, N not possible here".
#
# Green means everything ran and passed: a suite that exits non-zero, is cut
# by its time limit or ends without its closing line is a failure; so is
# anything skipped, unless TVX_ALLOW_SKIP=1. The one exception is the 32-bit
# stage on a machine whose kernel refuses 32-bit code: a probe finds that out
# first, and the stage is then counted as not possible here.
#
# TVX_ONLY=<pattern>[,<pattern>...] runs only the stages whose names hold one
# of the patterns (for example native, kill, e2e64:config, e2e32:exchange);
# the builds they need are made, and the run says at its end that it was partial.
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
# One line per result: PASS, FAIL, SKIP or NOTPOSSIBLE, then what it is about.
record() { echo "$1 $2" >> "$RESULTS"; [ "$1" = PASS ] || echo "  $1 $2"; }

ONLY=${TVX_ONLY:-}
wanted() { # STAGE-NAME: whether this run is to run it
  [ -z "$ONLY" ] && return 0
  local pattern
  for pattern in ${ONLY//,/ }; do
    [[ "$1" == *"$pattern"* ]] && return 0
  done
  return 1
}
wanted_any() { local s; for s in "$@"; do wanted "$s" && return 0; done; return 1; }
SUITES=()
for suite in tests/e2e/*_test.sh; do SUITES+=("$(basename "$suite" .sh)"); done
KILL_MODES=("save 100" "append 100" "clipdata 40" "settings 40" "export 40")
# The stages of one Wine stage, by architecture.
wine_stage_names() { # ARCH
  local s
  echo "win$1:tests scale$1"
  [ "$1" = 64 ] && echo "kill:save kill:append kill:clipdata kill:settings kill:export bench64:discovery bench64:exchange"
  for s in "${SUITES[@]}"; do echo "e2e$1:$s"; done
}

stage_start "setup"
bash scripts/setup.sh || { echo "setup failed"; exit 1; }
bash scripts/build_deps.sh || { echo "building the Windows dependencies failed"; exit 1; }
stage_end setup

WANT64=0; WANT32=0
# shellcheck disable=SC2046
wanted_any $(wine_stage_names 64) && WANT64=1
# shellcheck disable=SC2046
wanted_any $(wine_stage_names 32) && WANT32=1

# The new-WoW64 Wine of the 32-bit stage is prepared beside the 64-bit stages,
# at the lowest priority: unpacked from the prebuilt tree in seconds where it
# is at hand, built from Debian's source otherwise, which takes longer than
# everything before the 32-bit stage together.
WOW64_LOG="$BUILD/wine-wow64.log"
WOW64_PID=""
if [ "$WANT32" = 1 ] && [ "${TVX_SKIP_WOW64:-0}" != 1 ]; then
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

# ctest's own verdict counts: a crash, an abort, a time-out, a test that did
# not run or a failed discovery is no "Passed"/"Failed" line but ends ctest
# with a non-zero code.
run_ctest() { # PRESET
  local out="$BUILD/$1-ctest.log"
  (cd "$BUILD/$1" && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2 --timeout 300) >"$out" 2>&1
  local rc=$?
  tail -n 3 "$out"
  # one result line per test case
  sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) \.*\** *\(Passed\|Failed\).*/\2 \1/p' "$out" |
    sed 's/^Passed/PASS native:'"$1"'/; s/^Failed/FAIL native:'"$1"'/' >> "$RESULTS"
  if [ $rc -ne 0 ]; then
    record FAIL "native:$1: ctest ended with code $rc ($(grep -m 1 -E 'tests passed|Errors while running|No tests were found' "$out" || echo 'no summary'))"
    grep -B2 -A20 -E 'Failed|FAILED|\*\*\*|Exception|SEGFAULT|Timeout|Not Run' "$out" | head -60
  fi
}

if wanted_any native:generated native:includes native:unit bench:data || [ "$WANT64$WANT32" != 00 ]; then
  stage_start "native build and unit tests"
  if wanted native:generated; then
    if out=$(python3 scripts/gen_pinyin_initials.py --check 2>&1); then record PASS "native:generated: $out"
    else record FAIL "native:generated: $out"; fi
  fi
  if wanted native:includes; then
    if out=$(python3 scripts/check_includes.py 2>&1); then record PASS "native:includes: $out"
    else record FAIL "native:includes against the floors (scripts/check_includes.py)"; echo "$out"; fi
  fi
  # The native tools (writing and reading data files, the XDND drop) serve the Wine stages too.
  build_preset native && { wanted native:unit && run_ctest native; }
  stage_end "native"
fi
if wanted native-asan:unit; then
  stage_start "native build and unit tests under ASan/UBSan"
  build_preset native-asan && run_ctest native-asan
  stage_end "native-asan"
fi

FUZZ_TARGETS=(item_file catalog_file entry_name clipboard_data mailbox member_list composed archive_listing)
if wanted_any "${FUZZ_TARGETS[@]/#/fuzz:}"; then
  stage_start "fuzzing the file decoders (libFuzzer, ASan/UBSan)"
  FUZZ_SECONDS=${TVX_FUZZ_SECONDS:-12}
  if build_preset fuzz; then
    for target in "${FUZZ_TARGETS[@]}"; do
      wanted "fuzz:$target" || continue
      corpus="$BUILD/fuzz/corpus-$target"
      mkdir -p "$corpus"
      (cd "$BUILD/fuzz" && ./${target}_fuzz -max_total_time="$FUZZ_SECONDS" -print_final_stats=0 \
          "$corpus" "$ROOT/tests/fuzz/seeds/$target") >"$BUILD/fuzz-$target.log" 2>&1
      rc=$?
      runs=$(sed -n 's/.*Done \([0-9]*\) runs.*/\1/p' "$BUILD/fuzz-$target.log" | tail -n 1)
      if [ $rc -ne 0 ]; then
        record FAIL "fuzz:$target (exit code $rc)"; tail -n 30 "$BUILD/fuzz-$target.log"
      elif [ "${runs:-0}" -lt 1000 ]; then
        # A fuzzer that hardly ran proves nothing.
        record FAIL "fuzz:$target ran only ${runs:-0} executions in $FUZZ_SECONDS s (at least 1000 wanted)"
      else
        record PASS "fuzz:$target (Done $runs runs)"
      fi
    done
  fi
  stage_end "fuzz"
fi

if wanted bench:data && [ -x "$BUILD/native/tvx_data_bench" ]; then
  stage_start "data benchmark (figures only; targets are not pass/fail)"
  # The figures are not judged, but the benchmark's own checks of what it read are.
  if (cd "$BUILD" && ./native/tvx_data_bench) > "$BUILD/data-bench.txt" 2>&1; then record PASS "bench:data: its own checks"
  else record FAIL "bench:data: the benchmark's own checks failed (exit code $?)"; fi
  cat "$BUILD/data-bench.txt"
  stage_end "benchmark"
fi

# The release suite installs the packages the release stage makes.
NEED_RELEASE=0
wanted_any release e2e64:release_test e2e32:release_test && NEED_RELEASE=1
WIN32_OK=0; WIN64_OK=0
if [ "$WANT32" = 1 ] || [ "$NEED_RELEASE" = 1 ] || wanted build:win32; then
  stage_start "win32 (i686) build, warnings as errors"
  build_preset win32 && WIN32_OK=1
  stage_end "win32"
fi
if [ "$WANT64" = 1 ] || [ "$WANT32" = 1 ] || [ "$NEED_RELEASE" = 1 ] || wanted build:win64; then
  stage_start "win64 build"
  build_preset win64 && WIN64_OK=1
  stage_end "win64"
fi

if [ "$NEED_RELEASE" = 1 ]; then
  stage_start "release packages"
  # The release of this version, and the same packages with a higher version
  # for the upgrade test.
  next_version=$(awk -F. '{ printf "%d.%d.%d", $1, $2, $3 + 1 }' VERSION)
  if [ "$WIN64_OK" = 1 ] && [ "$WIN32_OK" = 1 ] &&
     TVX_RELEASE_NO_BUILD=1 bash scripts/release.sh "$BUILD/release" > "$BUILD/release.log" 2>&1 &&
     TVX_RELEASE_NO_BUILD=1 TVX_PACKAGE_VERSION=$next_version bash scripts/release.sh "$BUILD/release-next" \
       >> "$BUILD/release.log" 2>&1; then
    record PASS "release packages"
    sed -n '/^release /,$p' "$BUILD/release.log" | head -n 7
  else
    record FAIL "release packages"; tail -n 20 "$BUILD/release.log" 2>/dev/null
  fi
  stage_end "release"
fi

# Wine's reports of what Windows punishes: a block freed twice or not from
# the heap, a GDI handle that is not (or no longer) one, and the program's
# own word when releasing a handle it owns failed. Prints them; false when any.
wine_reports() { # WINE-OUTPUT-FILE
  [ -f "$1" ] || return 0
  ! grep -a -E ':(warn|err):heap:|:warn:gdi:.*invalid handle|:warn:debugstr:OutputDebugStringA "Tavrolinex: ' "$1" |
    sort | uniq -c | sort -rn | head -n 10 | sed 's/^/    /' | grep .
}

# The verdict of one program run of a Wine stage, beyond its own result lines.
run_verdict() { # NAME RC LOG [WINE-OUTPUT] [CLOSING-LINE-PATTERN]
  local name=$1 rc=$2 log=$3 wine_out=${4:-} closing=${5:-}
  if [ "$rc" -eq 124 ]; then record FAIL "$name: stopped by its time limit"
  elif [ -n "$closing" ] && ! grep -q -a -E "$closing" "$log"; then
    record FAIL "$name: ended without its closing line (exit code $rc; last line: $(tail -n 1 "$log" | tr -d '\r' | cut -c1-160))"
  elif [ "$rc" -ne 0 ]; then record FAIL "$name: exited with code $rc"
  fi
  if [ -n "$wine_out" ] && ! wine_reports "$wine_out" >/dev/null; then
    record FAIL "$name: Wine reported freed, invalid or corrupt memory or handles"
    wine_reports "$wine_out"
  fi
}

# Whether this machine runs 32-bit Windows code under the new-WoW64 Wine: a
# tiny i686 console program must print its line. Where the kernel refuses
# the 32-bit code segment it ends with a segmentation fault at once, while
# the 64-bit one runs: the machine, not the program.
PROBE_LINE="tvxprobe: this process runs"
probe32() { # prints what the probe printed; true when 32-bit code runs here
  local dir="$WINEPREFIX/drive_c/probe" out out64
  mkdir -p "$dir"
  cp "$BUILD/win32/tvxprobe.exe" "$dir/probe32.exe"
  cp "$BUILD/win64/tvxprobe.exe" "$dir/probe64.exe" 2>/dev/null
  out=$(timeout 120 "$WINE64" 'C:\probe\probe32.exe' 2>&1 | tr -d '\r')
  local rc=$?
  echo "$out" | grep -q "^$PROBE_LINE (32-bit)" && { echo "$out" | tail -n 1; return 0; }
  echo "exit code $rc: $(echo "$out" | grep -v '^ *$' | head -n 3 | tr '\n' ' ')"
  out64=$(timeout 120 "$WINE64" 'C:\probe\probe64.exe' 2>&1 | tr -d '\r')
  echo "the 64-bit probe under the same Wine: $(echo "$out64" | tail -n 1)"
  echo "$out64" | grep -q "^$PROBE_LINE (64-bit)" && return 1
  return 2  # not even 64-bit code runs: Wine itself is broken
}

# Runs one end-to-end suite and judges it: its own PASS/FAIL lines, its exit,
# its closing line (lib.sh prints it whatever ends the suite) and Wine's reports.
run_suite() { # ARCH NAME
  local arch=$1 name=$2 log="$BUILD/e2e$1-$2.log" wine_out="$BUILD/e2e$1-$2.wine.log" limit rc
  if [ "$(elapsed)" -gt "$BUDGET" ]; then
    # CI stops the whole run at 90 minutes; what is left is named, not lost in a cut.
    record SKIP "e2e$arch:$name: the test command ran past ${BUDGET} s"
    return
  fi
  stage_start "end to end ($arch-bit build): $name"
  # No suite may carry the run past CI's limit.
  limit=$(( HARD_END - $(elapsed) )); [ "$limit" -gt 900 ] && limit=900
  : > "$wine_out"
  # In a process group of its own, so that whatever a suite that died left
  # running (its Xvfb, its Wine programs) can be stopped after it.
  TVX_RESULT_PREFIX="e2e$arch: " TVX_WINE_LOG="$wine_out" setsid timeout "$limit" bash "tests/e2e/$name.sh" > "$log" 2>&1 &
  local group=$!
  wait "$group"
  rc=$?
  kill -- -"$group" 2>/dev/null
  local prefix
  for prefix in "$BUILD"/wine/prefix*; do [ -d "$prefix" ] && WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null; done
  grep -a -E '^(PASS|FAIL)' "$log" | sed 's/^/  /'
  run_verdict "e2e$arch:$name" "$rc" "$log" "$wine_out" "^END $name: "
  # Each suite's prefix is a copy of some 750 MB: it goes once its suite passed.
  [ "$rc" -eq 0 ] && ! grep -q '^FAIL' "$log" && tvx_forget_prefixes
  stage_end "$name ($arch)"
}

# One Wine stage: the Win32 tests and every end-to-end suite on one build,
# their results prefixed with the stage (win64:/e2e64: or win32:/e2e32:).
# The 64-bit stage runs the x86_64 build under the system's Wine 8.0 and
# also the kill tests and the benchmarks; the 32-bit one runs the i686 build,
# the product users install on 32-bit Windows, under the new-WoW64 Wine 10.0.
wine_stage() { # ARCH
  local arch=$1 bin="$BUILD/win$1" name rc
  export TVX_ARCH=$arch TVX_BUILD="$BUILD" TVX_DIST="$BUILD/dist$arch" DRIVE="$bin/tvxdrive.exe"
  if ! bash scripts/dist.sh "$bin" "$TVX_DIST" > "$BUILD/dist$arch.log" 2>&1; then
    record FAIL "dist$arch: laying out the installation failed: $(tail -n 1 "$BUILD/dist$arch.log")"
    return
  fi
  . scripts/winebench.sh

  stage_start "Wine prefix ($arch-bit)"
  if tvx_bench_init "$BUILD" wintests; then record PASS "wine$arch: prefix"
  else record FAIL "wine$arch: prefix"; stage_end "wine prefix $arch"; return; fi
  stage_end "wine prefix $arch"

  if [ "$arch" = 32 ]; then
    stage_start "can this machine run 32-bit code? (a probe under the new-WoW64 Wine)"
    probe=$(probe32); rc=$?
    echo "$probe" | sed 's/^/  /'
    stage_end "probe 32"
    if [ $rc -eq 1 ]; then
      # The one exception to the skip rule: the machine, not the program.
      record NOTPOSSIBLE "the 32-bit stage: this machine cannot run 32-bit code, while 64-bit code runs under the same Wine (the 32-bit probe ended with $(echo "$probe" | head -n 1))"
      return
    elif [ $rc -ne 0 ]; then
      record FAIL "wine32: not even a 64-bit console program runs under the new-WoW64 Wine: $(echo "$probe" | tail -n 1)"
      return
    fi
    record PASS "wine32: the probe runs 32-bit code"
  fi

  tests_dir="$WINEPREFIX/drive_c/Program Files/Tavrolinex Tests"
  mkdir -p "$tests_dir/Lang"
  cp "$bin/tvx_win_tests.exe" "$bin/tvxhelper.exe" "$bin/TavrolinexExt.dll" "$tests_dir/"
  cp "$bin/Lang/eng.dat" "$tests_dir/Lang/"
  if ! tvx_xvfb_start; then record FAIL "win$arch: no X display (Xvfb did not start)"; tvx_bench_stop; return; fi
  if wanted "win$arch:tests"; then
    stage_start "Win32 tests under Wine ($arch-bit build)"
    local log="$BUILD/win-tests-$arch.log"
    timeout 600 "$WINE64" 'C:\Program Files\Tavrolinex Tests\tvx_win_tests.exe' >"$log" 2>&1
    rc=$?
    tr -d '\r' < "$log" |
      sed -n "s/^\[       OK \] \([^ ]*\).*/PASS win$arch:\1/p; s/^\[  FAILED  \] \([^ ,]*\) (.*/FAIL win$arch:\1/p" >> "$RESULTS"
    tr -d '\r' < "$log" | tail -n 3
    run_verdict "win$arch:tests" "$rc" "$log" "$log" '^\[  (PASSED|FAILED)  \] [0-9]+ test'
    [ $rc -ne 0 ] && tr -d '\r' < "$log" | grep -a -B5 -A15 'Failure\|FAILED' | head -80
    stage_end "win32 tests $arch"
  fi
  if [ "$arch" = 64 ]; then
    cp "$bin/tvxsavekill.exe" "$tests_dir/"
    for spec in "${KILL_MODES[@]}"; do
      set -- $spec
      wanted "kill:$1" || continue
      stage_start "writers killed at random moments: $1 (TVX_KILL_SEED replays a run)"
      out=$(timeout 900 "$WINE64" 'C:\Program Files\Tavrolinex Tests\tvxsavekill.exe' "$1" "$2" "C:\\killtest-$1" \
              ${TVX_KILL_SEED:-} 2>&1 | tr -d '\r')
      rc=$?  # the harness's own, through pipefail
      echo "$out" | grep -v '^kill ' | sed 's/^/  /'
      echo "$out" | grep '^kill ' | head -n 5 | sed 's/^/  /'
      if [ "$rc" -eq 0 ] && echo "$out" | grep -q "^good=$2 of $2"; then record PASS "kill:$1: $(echo "$out" | tail -n 1)"
      elif [ "$rc" -eq 124 ]; then record FAIL "kill:$1: stopped by its time limit"
      else record FAIL "kill:$1 (exit code $rc): $(echo "$out" | tail -n 1) $(echo "$out" | grep -m 1 '^kill \|^missing ')"; fi
      stage_end "kill $1"
    done
    if wanted bench64:discovery; then
      stage_start "discovery benchmark under Wine (figures only)"
      cp "$bin/tvx_discovery_bench.exe" "$tests_dir/"
      WINEDEBUG=-all timeout 300 "$WINE64" 'C:\Program Files\Tavrolinex Tests\tvx_discovery_bench.exe' 2>/dev/null | tr -d '\r' |
        tee "$BUILD/discovery-bench.txt"
      rc=${PIPESTATUS[0]}
      if [ "$rc" -eq 0 ]; then record PASS "bench64:discovery: its own checks"
      else record FAIL "bench64:discovery: the benchmark's own checks failed or it did not end (exit code $rc)"; fi
      stage_end "discovery benchmark"
    fi
    if wanted bench64:exchange; then
      stage_start "exchange benchmark under Wine (figures only)"
      cp "$bin/tvx_exchange_bench.exe" "$tests_dir/"
      WINEDEBUG=-all WINE64="$WINE64" TESTS_WIN='C:\Program Files\Tavrolinex Tests' bash "$ROOT/tests/bench/exchange_bench.sh" |
        tee "$BUILD/exchange-bench.txt"
      rc=${PIPESTATUS[0]}
      if [ "$rc" -eq 0 ]; then record PASS "bench64:exchange: its own checks"
      else record FAIL "bench64:exchange: the benchmark's own checks failed or it did not end (exit code $rc)"; fi
      stage_end "exchange benchmark"
    fi
  fi
  tvx_bench_stop

  for name in "${SUITES[@]}"; do
    wanted "e2e$arch:$name" && run_suite "$arch" "$name"
  done

  if wanted "scale$arch"; then
    rm -f "$BUILD/scale-bench-$arch.md"
    if [ "$(elapsed)" -gt "$BUDGET" ]; then
      record SKIP "scale$arch: the scale benchmark, the run is past ${BUDGET} s"
    else
      stage_start "scale benchmark under Wine ($arch-bit build; figures only, targets are not pass/fail)"
      timeout 900 bash tests/bench/scale_bench.sh > "$BUILD/scale-bench-$arch.log" 2>&1
      rc=$?
      if [ $rc -eq 0 ] && [ -f "$BUILD/scale-bench.md" ]; then record PASS "scale$arch: the benchmark ran and its own checks held"
      else record FAIL "scale$arch: the scale benchmark did not finish or its own checks failed (exit code $rc): $(tail -n 1 "$BUILD/scale-bench-$arch.log")"; fi
      tvx_forget_prefixes
      [ -f "$BUILD/scale-bench.md" ] && mv "$BUILD/scale-bench.md" "$BUILD/scale-bench-$arch.md"
      stage_end "scale benchmark $arch"
    fi
  fi
}

# The 32-bit suites must end before CI's 90 minutes; past this many seconds
# the ones left are reported as not run.
BUDGET=${TVX_TIME_BUDGET:-4500}
HARD_END=$(( BUDGET + 540 ))
if [ "$WANT64" = 1 ]; then
  if [ "$WIN64_OK" = 1 ]; then wine_stage 64
  else record FAIL "no 64-bit Wine suites: the win64 build failed"; fi
fi

if [ "$WANT32" = 1 ]; then
  if [ "${TVX_SKIP_WOW64:-0}" = 1 ]; then
    record SKIP "the 32-bit stage (TVX_SKIP_WOW64=1)"
  elif [ "$WIN32_OK" = 1 ] && [ "$WIN64_OK" = 1 ]; then
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
    record FAIL "no 32-bit Wine suites: the win32 or win64 build failed (the 32-bit stage uses the win64 build's probe)"
  fi
fi
unset TVX_ARCH

for arch in 64 32; do
  wanted "scale$arch" || continue
  echo
  echo "=== scale benchmark (100,000 entries, the $arch-bit build under Wine)"
  cat "$BUILD/scale-bench-$arch.md" 2>/dev/null || echo "  not run"
done
echo
echo "=== stage times"
printf '  %s\n' "${TIMES[@]}"
echo "=== skipped"
grep '^SKIP' "$RESULTS" || echo "  none"
echo "=== not possible on this machine"
grep '^NOTPOSSIBLE' "$RESULTS" || echo "  none"
echo "=== failures"
grep '^FAIL' "$RESULTS" || echo "  none"
passed=$(grep -c '^PASS' "$RESULTS")
failed=$(grep -c '^FAIL' "$RESULTS")
skipped=$(grep -c '^SKIP' "$RESULTS")
impossible=$(grep -c '^NOTPOSSIBLE' "$RESULTS")
echo
if [ -n "$ONLY" ]; then
  echo "=== a partial run: only the stages matching TVX_ONLY=$ONLY ran; this is not the whole test command"
fi
if [ "$skipped" -gt 0 ] && [ "${TVX_ALLOW_SKIP:-0}" = 1 ]; then
  echo "=== $skipped skipped, allowed by TVX_ALLOW_SKIP=1 (CI never sets it)"
elif [ "$skipped" -gt 0 ]; then
  echo "=== $skipped skipped: a skipped stage is not a pass (TVX_ALLOW_SKIP=1 allows it while you work)"
fi
echo "$passed passed, $failed failed, $skipped skipped, $impossible not possible here"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ] && { [ "$skipped" -eq 0 ] || [ "${TVX_ALLOW_SKIP:-0}" = 1 ]; }
