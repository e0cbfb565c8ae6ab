#!/usr/bin/env bash
# Builds the release files from a clean clone or a built tree:
#   scripts/release.sh [OUT_DIR]        (default: build/release)
# Tavrolinex-<version>-x86.msi, -x64.msi, -x86.zip, -x64.zip and SHA256SUMS.
# The version comes from the file VERSION; TVX_PACKAGE_VERSION overrides it
# for the packages only (the tests make a "newer" package that way).
# The MSI packages are built by wixl (msitools) from resources/installer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
out=$(realpath -m "${1:-build/release}")
version=$(tr -d ' \r\n' < VERSION)
package_version=${TVX_PACKAGE_VERSION:-$version}
bash scripts/setup.sh >/dev/null
bash scripts/build_deps.sh >/dev/null
work="$root/build/release-work"
rm -rf "$work" "$out"
mkdir -p "$work" "$out"
for pair in x86:win32:no x64:win64:yes; do
  IFS=: read -r arch preset win64 <<<"$pair"
  if [ ! -f "build/$preset/Tavrolinex.exe" ] || [ -z "${TVX_RELEASE_NO_BUILD:-}" ]; then
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2 >/dev/null
  fi
  stage="$work/$arch"
  mkdir -p "$stage"
  bash scripts/dist.sh "build/$preset" "$stage/Tavrolinex"
  name="Tavrolinex-$package_version-$arch"
  # The portable zip: the installation folder, runnable wherever it is
  # unpacked; its first start asks for the language. (The installer leaves
  # LogConfig.dat to the user: it must survive upgrades and uninstalling.)
  printf '[LogConfig]\r\nLangSel=0\r\nShowLangSel=1\r\n' > "$stage/Tavrolinex/LogConfig.dat"
  (cd "$stage" && zip -r -X -q "$out/$name.zip" Tavrolinex)
  rm "$stage/Tavrolinex/LogConfig.dat"
  # The installer: every file of the installation folder, and the product around it.
  cp resources/icons/app.ico "$stage/Tavrolinex.ico"
  (cd "$stage" && find Tavrolinex -type f | LC_ALL=C sort |
     wixl-heat -p Tavrolinex/ --component-group InstallationFiles --var var.SourceDir \
               --directory-ref INSTALLDIR --win64 > files.wxs &&
     wixl -a "$arch" -D Version="$package_version" -D Win64="$win64" -D SourceDir=Tavrolinex \
          -D IconFile=Tavrolinex.ico -o "$out/$name.msi" "$root/resources/installer/Tavrolinex.wxs" files.wxs)
done
(cd "$out" && sha256sum Tavrolinex-* > SHA256SUMS)
rm -rf "$work"
echo "release $package_version:"
(cd "$out" && ls -l Tavrolinex-* SHA256SUMS | awk '{ printf "  %-36s %10d bytes\n", $NF, $5 }')
