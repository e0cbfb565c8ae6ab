#!/usr/bin/env bash
# Builds the Windows libraries Debian ships no mingw package for, from
# Debian's own source packages, into an ignored cache (build/deps):
#   minizip (zlib's contrib/minizip) and SQLite 3 for i686 and x86_64.
# zlib itself comes from libz-mingw-w64-dev. Runs only what is missing.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DEPS="$ROOT/build/deps"
ZLIB_VERSION="1:1.2.13.dfsg-1"

have_all() {
  for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
    [ -f "$DEPS/$triple/lib/libminizip.a" ] && [ -f "$DEPS/$triple/lib/libsqlite3.a" ] || return 1
  done
}
have_all && { echo "deps: minizip and sqlite3 ready"; exit 0; }

SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
src_list=/etc/apt/sources.list.d/tavrolinex-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list 2>/dev/null; then
  echo "deps: adding deb-src entries"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$src_list" >/dev/null
  $SUDO apt-get update -qq
fi

mkdir -p "$DEPS/src"
cd "$DEPS/src"
zsrc=$(ls -d zlib-1.2.13* 2>/dev/null | head -n 1 || true)
if [ -z "$zsrc" ] || [ ! -d "$zsrc/contrib/minizip" ]; then
  echo "deps: fetching Debian's zlib source ($ZLIB_VERSION)"
  apt-get source -qq "zlib=$ZLIB_VERSION" >/dev/null 2>&1 || apt-get source -qq zlib >/dev/null
  zsrc=$(ls -d zlib-1.2.13* | head -n 1)
fi
mz="$DEPS/src/$zsrc/contrib/minizip"

for triple in i686-w64-mingw32 x86_64-w64-mingw32; do
  out="$DEPS/$triple"
  [ -f "$out/lib/libminizip.a" ] && continue
  echo "deps: building minizip for $triple"
  mkdir -p "$out/obj" "$out/lib" "$out/include/minizip"
  for f in ioapi iowin32 zip unzip; do
    "$triple-gcc-posix" -O2 -w -DNOCRYPT -I"$mz" -c "$mz/$f.c" -o "$out/obj/$f.o"
  done
  "$triple-ar" rcs "$out/lib/libminizip.a" "$out"/obj/*.o
  cp "$mz"/{ioapi,iowin32,zip,unzip}.h "$out/include/minizip/"
done

# SQLite: Debian's source tree has no amalgamation; its own build makes one.
cd "$DEPS/src"
ssrc=$(ls -d sqlite3-3* 2>/dev/null | head -n 1 || true)
if [ -z "$ssrc" ]; then
  echo "deps: fetching Debian's sqlite3 source"
  apt-get source -qq sqlite3 >/dev/null
  ssrc=$(ls -d sqlite3-3* | head -n 1)
fi
amalgamation="$DEPS/src/$ssrc/bld"
if [ ! -f "$amalgamation/sqlite3.c" ]; then
  echo "deps: making the sqlite3 amalgamation"
  mkdir -p "$amalgamation"
  (cd "$amalgamation" && ../configure >/dev/null && make sqlite3.c >/dev/null)
fi
build_sqlite() { # TRIPLE
  local out="$DEPS/$1"
  [ -f "$out/lib/libsqlite3.a" ] && return 0
  mkdir -p "$out/obj" "$out/lib" "$out/include"
  "$1-gcc-posix" -O2 -w -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DQS=0 \
    -c "$amalgamation/sqlite3.c" -o "$out/obj/sqlite3.o"
  "$1-ar" rcs "$out/lib/libsqlite3.a" "$out/obj/sqlite3.o"
  cp "$amalgamation/sqlite3.h" "$out/include/"
}
echo "deps: building sqlite3 for both Windows targets"
build_sqlite i686-w64-mingw32 & p1=$!
build_sqlite x86_64-w64-mingw32 & p2=$!
wait $p1 && wait $p2
echo "deps: minizip and sqlite3 ready"
