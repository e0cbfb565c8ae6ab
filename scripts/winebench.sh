# Wine test bench, sourced by the test and run scripts.
#   tvx_bench_init BUILD_DIR NAME   a 64-bit prefix for NAME copied from a cached template
#   tvx_xvfb_start                  an X display of our own (skipped when TVX_USE_DISPLAY=1)
#   tvx_install DIST_DIR            the installation folder at "C:\Program Files\Tavrolinex"
#   tvx_wine ARGS...                runs a Windows program in the prefix
#   tvx_shot NAME                   screenshot of the whole display into $TVX_SHOTS/NAME.png
#   tvx_bench_stop                  stops the wineserver of the prefix and Xvfb, by what we started
#   tvx_forget_prefixes             removes the prefixes tvx_bench_init copied (not the templates)
#
# TVX_ARCH=32 runs the i686 build under the new-WoW64 Wine 10.0 that
# scripts/build_wine_wow64.sh keeps in its cache (32-bit Windows code in a
# 64-bit process); the default, 64, runs the x86_64 build under the
# system's Wine 8.0. TVX_BIN is the build folder of the programs under test
# and the test tools of that architecture.
if [ "${TVX_ARCH:-64}" = 32 ]; then
  TVX_WINE_TREE=${TVX_WINE_TREE:-$(bash "$(dirname "${BASH_SOURCE[0]}")/build_wine_wow64.sh")}
  WINE64="$TVX_WINE_TREE/bin/wine"
  WINESERVER="$TVX_WINE_TREE/bin/wineserver"
  # A prefix made by another Wine tree is not this one's: the template is named after the tree.
  TVX_TEMPLATE_NAME=template32-$(basename "$(dirname "$TVX_WINE_TREE")")
  TVX_BIN="${TVX_BUILD:-$(dirname "${BASH_SOURCE[0]}")/../build}/win32"
else
  WINE64=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
  TVX_TEMPLATE_NAME=template
  TVX_BIN="${TVX_BUILD:-$(dirname "${BASH_SOURCE[0]}")/../build}/win64"
fi
export TVX_BIN

tvx_bench_init() {
  local build=$1 name=$2
  TVX_BENCH_DIR="$build/wine"
  mkdir -p "$TVX_BENCH_DIR"
  local template="$TVX_BENCH_DIR/$TVX_TEMPLATE_NAME"
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    echo "bench: creating the Wine prefix template (first run only)"
    # Bounded: a wineboot that waits on something nobody answers must not eat the run.
    WINEPREFIX="$template" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      timeout 600 "$WINE64" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$template" timeout 300 "$WINESERVER" -w || WINEPREFIX="$template" "$WINESERVER" -k || true
    [ -f "$template/system.reg" ] || { echo "bench: wineboot failed" >&2; return 1; }
    if [ "${TVX_ARCH:-64}" = 32 ]; then
      # Wine 10's own DLLs link mingw's zlib; without it GDI+ cannot load PNG files.
      cp /usr/i686-w64-mingw32/lib/zlib1.dll "$template/drive_c/windows/syswow64/"
      cp /usr/x86_64-w64-mingw32/lib/zlib1.dll "$template/drive_c/windows/system32/"
      WINEPREFIX="$template" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        timeout 600 "$WINE64" wineboot -u >/dev/null 2>&1 || true
      WINEPREFIX="$template" timeout 300 "$WINESERVER" -w || WINEPREFIX="$template" "$WINESERVER" -k || true
    fi
    touch "$template/.ready"
  fi
  export WINEPREFIX="$TVX_BENCH_DIR/prefix$([ "${TVX_ARCH:-64}" = 32 ] && echo 32)-$name"
  # Wine forgives what Windows punishes; these channels make it say so: a
  # block freed twice or not from the heap, a GDI handle that is none, and
  # the program's own word (OutputDebugString) when releasing a handle it
  # owns failed. The test command fails a suite on any of them.
  export WINEARCH=win64 WINEDEBUG=${TVX_WINEDEBUG:--all,err+heap,warn+heap,warn+debugstr}
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
  rm -rf "$WINEPREFIX"
  cp -a "$template" "$WINEPREFIX"
  TVX_INSTALL_UNIX="$WINEPREFIX/drive_c/Program Files/Tavrolinex"
  TVX_INSTALL_WIN='C:\Program Files\Tavrolinex'
  export TVX_SHOTS="${TVX_SHOTS:-$build/screenshots}"
  mkdir -p "$TVX_SHOTS"
}

tvx_xvfb_start() {
  if [ "${TVX_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  TVX_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "bench: Xvfb did not start on $DISPLAY" >&2
  return 1
}

tvx_install() {
  local dist=$1
  rm -rf "$TVX_INSTALL_UNIX"
  mkdir -p "$(dirname "$TVX_INSTALL_UNIX")"
  cp -a "$dist" "$TVX_INSTALL_UNIX"
}

# TVX_WINE_LOCALE, when set, is the locale Wine takes its ANSI code page from
# (zh_CN.UTF-8 gives the GB2312/GBK code page 936 the program targets).
# TVX_WINE_LOG, when set, collects what Wine writes on standard error (its
# reports), whatever the caller does with it.
tvx_wine() {
  if [ -n "${TVX_WINE_LOG:-}" ]; then tvx_wine_run "$@" 2>>"$TVX_WINE_LOG"
  else tvx_wine_run "$@"; fi
}
tvx_wine_run() {
  if [ -n "${TVX_WINE_LOCALE:-}" ]; then LC_ALL=$TVX_WINE_LOCALE LANG=$TVX_WINE_LOCALE "$WINE64" "$@"
  else "$WINE64" "$@"; fi
}

tvx_shot() {
  import -display "$DISPLAY" -window root "$TVX_SHOTS/$1.png" 2>/dev/null || true
}

tvx_bench_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
  if [ -n "${TVX_XVFB_PID:-}" ]; then
    kill "$TVX_XVFB_PID" 2>/dev/null || true
    wait "$TVX_XVFB_PID" 2>/dev/null || true
    TVX_XVFB_PID=
  fi
}

tvx_forget_prefixes() {
  [ -n "${TVX_BENCH_DIR:-}" ] || return 0
  local p
  for p in "$TVX_BENCH_DIR"/prefix*; do [ -d "$p" ] && rm -rf "$p"; done
  return 0
}
