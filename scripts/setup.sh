#!/usr/bin/env bash
# Installs every Debian package the builds and tests need. Safe to run again:
# it only calls apt when something is missing.
set -euo pipefail
PKGS=(cmake g++ make ninja-build pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev clang
      g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
      binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
      wine wine64 xvfb xdotool imagemagick x11-utils tcl dpkg-dev
      zlib1g-dev libminizip-dev libsqlite3-dev fonts-dejavu-core fonts-wqy-microhei unicode-data locales libwine-dev libx11-dev sqlite3 zip unzip wixl msitools)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# The suites run Wine in zh_CN.UTF-8: code page 936 for the program, and
# UTF-8 for the names of Linux files. Without the locale the C library falls
# back to ASCII and Wine garbles every file name beyond it.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "setup: generating the locale zh_CN.UTF-8"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
echo "setup: packages ready"
