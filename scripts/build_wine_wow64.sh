#!/usr/bin/env bash
# A "new WoW64" Wine 10.0 for the 32-bit stage of the test command: 32-bit
# Windows programs inside a 64-bit process, with no 32-bit Unix library (this
# machine cannot run 32-bit Linux programs). Built from Debian 13's own source
# package of Wine 10.0 against Debian 12's libraries, into a cache outside the
# checkout that survives between runs; the system's Wine 8.0 is never touched.
#   bash scripts/build_wine_wow64.sh     prints the installed tree ("…/inst")
# A second run with the cache in place takes a moment. When the prebuilt tree
# of this same build is at hand (../shared/wine/wine-10.0-wow64.tar.xz beside
# the checkout, or TVX_WINE_PREBUILT) and its sha256 matches, it is unpacked
# instead of building (seconds instead of twenty minutes); TVX_WINE_PREBUILT=none
# builds from source all the same.
# Progress goes to standard error; the path is the only line on standard output.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SOURCE_VERSION="10.0~repack-6"
PREBUILT_SHA256=bd8de024870e0ca27924f9ec5dfe6aa68dbf21db59d818e22eb45612634d7286
KEY=$( { echo "$SOURCE_VERSION"; cat "$0"; } | sha256sum | cut -c1-12)
CACHE_BASE=${TVX_WINE_CACHE:-/var/cache/tavrolinex}
CACHE="$CACHE_BASE/wine-10.0-wow64-$KEY"
TREE="$CACHE/inst"
say() { echo "wine-wow64: $*" >&2; }
ready() { [ -f "$CACHE/.ready" ] && [ -x "$TREE/bin/wine" ] && [ -x "$TREE/bin/wineserver" ]; }
# Trees this script made under an earlier key (another version of it) go
# once this one is ready: each is some 700 MB.
forget_old() {
  local old
  for old in "$CACHE_BASE"/wine-10.0-wow64-*; do
    [ "$old" != "$CACHE" ] && [ -d "$old" ] && [ -f "$old/.made-by-tavrolinex" ] && rm -rf "$old"
  done
  return 0
}

ready && { echo "$TREE"; exit 0; }
mkdir -p "$CACHE"
touch "$CACHE/.made-by-tavrolinex"
exec 9>"$CACHE_BASE/.wine-wow64.lock"
flock 9  # one build at a time; the one that waited finds it ready
ready && { echo "$TREE"; exit 0; }
started=$(date +%s)

# ---- the prebuilt tree of this build, when it is at hand ------------------------------------
tarballs=("${TVX_WINE_PREBUILT:-}" "$ROOT/../shared/wine/wine-10.0-wow64.tar.xz" /work/shared/wine/wine-10.0-wow64.tar.xz)
[ "${TVX_WINE_PREBUILT:-}" = none ] && tarballs=()  # build from source whatever is at hand
for tarball in "${tarballs[@]}"; do
  [ -n "$tarball" ] && [ -f "$tarball" ] || continue
  if [ "$(sha256sum "$tarball" | cut -d' ' -f1)" != "$PREBUILT_SHA256" ]; then
    say "$tarball does not match its checksum: not used"
    continue
  fi
  say "unpacking the prebuilt tree $tarball"
  rm -rf "$TREE"
  tar -xJf "$tarball" -C "$CACHE"
  if [ -x "$TREE/bin/wine" ]; then
    touch "$CACHE/.ready"
    forget_old
    say "ready in $(( $(date +%s) - started )) s"
    echo "$TREE"
    exit 0
  fi
done

# ---- from Debian's source package ---------------------------------------------------------------
say "building Wine $SOURCE_VERSION from source into $CACHE (about half an hour on two cores)"
SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
DEPS=(autoconf flex bison gettext icoutils librsvg2-bin khronos-api unicode-data libvulkan-dev libxml-libxml-perl
      libgettextpo-dev dpkg-dev gcc make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
      libx11-dev libxext-dev libxrender-dev libxfixes-dev libxcomposite-dev libxi-dev libxrandr-dev libxcursor-dev
      libxinerama-dev libfreetype-dev libfontconfig-dev libgnutls28-dev zlib1g-dev unzip)
missing=()
for p in "${DEPS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

WORK="$CACHE/work"
rm -rf "$WORK"
mkdir -p "$WORK/apt/lists/partial" "$WORK/apt/cache/archives/partial" "$WORK/data"
# Debian 13's sources and its two data packages through a private apt
# configuration: the system's sources stay as they are.
cat > "$WORK/apt/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian trixie main
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian trixie main
EOF
APT=(-o "Dir::Etc::sourcelist=$WORK/apt/sources.list" -o Dir::Etc::sourceparts=/dev/null
     -o "Dir::State::Lists=$WORK/apt/lists" -o "Dir::Cache=$WORK/apt/cache" -o Debug::NoLocking=1
     -o APT::Sandbox::User=root -o APT::Architecture=amd64)
apt-get "${APT[@]}" update -qq >&2
(cd "$WORK" && apt-get "${APT[@]}" source --download-only "wine=$SOURCE_VERSION" >&2 &&
 dpkg-source -x --no-check wine_*.dsc src >&2)
(cd "$WORK" && apt-get "${APT[@]}" download unicode-cldr-core unicode-idna >&2)
for deb in "$WORK"/unicode-cldr-core_*.deb "$WORK"/unicode-idna_*.deb; do dpkg-deb -x "$deb" "$WORK/data"; done

cd "$WORK/src"
# The generation steps of the package's build (debian/rules), with the CLDR
# and IDNA data of Debian 13 unpacked privately.
sed -i "s|url  => \"/usr/share/unicode/idna\"|url  => \"$WORK/data/usr/share/unicode/idna\"|; s|url  => \"/usr/share/unicode/cldr\"|url  => \"$WORK/data/usr/share/unicode/cldr\"|" tools/make_unicode
./tools/make_unicode >&2
./tools/make_requests >&2
./tools/make_specfiles >&2
(cd dlls/dsound && ./make_fir >&2)
(cd dlls/opengl32 && ./make_opengl >&2)
(cd dlls/winevulkan && ./make_vulkan -x /usr/share/vulkan/registry/vk.xml -X /usr/share/vulkan/registry/video.xml >&2)
# The links the package's build makes (config.sub, config.guess and the icons
# that resources share), taken from its debian/rules as they stand.
grep -E '^[[:space:]]+ln -sf ' debian/rules | sed 's/^[[:space:]]*//' | bash
rm -rf libs/zlib  # the PE side links mingw's zlib, as Debian's build does
autoreconf -f -i >&2
say "configuring"
./configure --enable-archs=i386,x86_64 --disable-tests --enable-maintainer-mode --disable-werror \
  --without-gstreamer --without-pulse --without-alsa --without-oss --without-sane --without-cups --without-gphoto \
  --without-netapi --without-capi --without-pcap --without-usb --without-v4l2 --without-sdl --without-krb5 \
  --without-gssapi --without-opencl --without-osmesa --without-udev --without-dbus --without-unwind --without-vulkan \
  --without-wayland --without-ffmpeg --without-pcsclite --without-inotify \
  FONTFORGE=/bin/true ZLIB_PE_LIBS=z >"$WORK/configure.log" 2>&1 || { tail -n 40 "$WORK/configure.log" >&2; exit 1; }
say "configured in $(( $(date +%s) - started )) s; building"
# Only the modules the suites load (measured: every module a run of all the
# suites and the prefix set-up opened), for both architectures; the rest of
# Wine's 1,500 modules are never built. A module missing from the list shows
# as a "could not load" in a suite's log: add it here.
MODULES=(
  advapi32 advpack actxprxy apisetschema atl100 bcrypt cabinet combase comctl32 comdlg32 coml2 compstui crypt32
  cryptdlg cryptnet cryptui dbghelp dnsapi gdi32 gdiplus hidclass.sys hidparse.sys ieframe imagehlp imm32 iphlpapi
  kernel32 kernelbase localspl mlang mountmgr.sys mpr msi msimg32 msisip mspatcha msvcrt ndis.sys newdev nsi
  nsiproxy.sys ntdll ntoskrnl.exe odbccp32 ole32 oleaut32 propsys rpcrt4 rsaenh sechost setupapi shcore shell32
  shlwapi spoolss sxs tzres ucrtbase urlmon user32 userenv uxtheme version wevtsvc win32u windowscodecs
  winebth.sys winebus.sys winehid.sys winmm wineps.drv winex11.drv wininet winprint winspool.drv wintrust wow64
  wow64cpu wow64win ws2_32
)
PROGRAMS=(cmd conhost explorer iexplore msiexec plugplay reg regsvr32 rpcss rundll32 services start svchost wineboot
          winebrowser winedevice winemenubuilder winepath)
targets=(loader/all server/all)
for m in "${MODULES[@]}"; do targets+=("dlls/$m/all"); done
for p in "${PROGRAMS[@]}"; do targets+=("programs/$p/all"); done
# -O2 without debug information and without -Werror on the Windows side
# (configure puts -Werror there whatever CFLAGS says).
nice make -j"$(nproc)" i386_CFLAGS='-O2 -g0 -Wno-error' x86_64_CFLAGS='-O2 -g0 -Wno-error' "${targets[@]}" \
  >"$WORK/make.log" 2>&1 || { tail -n 40 "$WORK/make.log" >&2; say "the build failed (see $WORK/make.log)"; exit 1; }
# Wine runs from its build tree: the objects go, the modules, NLS files and
# wine.inf stay where the loader looks for them.
find "$WORK/src" \( -name '*.o' -o -name '*.a' -o -name '*.res' \) -delete
rm -rf "$CACHE/build" "$TREE"
mv "$WORK/src" "$CACHE/build"
rm -rf "$WORK"
# Debian's build links Wine's own DLLs (user32 among them) against mingw's
# zlib1.dll: the loader finds it in the build tree beside Wine's modules.
for arch in i386:i686 x86_64:x86_64; do
  mkdir -p "$CACHE/build/dlls/zlib1/${arch%%:*}-windows"
  cp "/usr/${arch#*:}-w64-mingw32/lib/zlib1.dll" "$CACHE/build/dlls/zlib1/${arch%%:*}-windows/"
done
mkdir -p "$TREE/bin"
ln -s ../../build/loader/wine "$TREE/bin/wine"
ln -s ../../build/server/wineserver "$TREE/bin/wineserver"
touch "$CACHE/.ready"
forget_old
say "built in $(( $(date +%s) - started )) s"
echo "$TREE"
