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
work="$root/build/release-work"
# The output folder may be new, empty, or one this script wrote before (it
# then holds the list of what it wrote, and only those files are replaced);
# a folder holding anything else is refused, so that no file of a user's is
# ever deleted or overwritten.
made="$out/.made-by-release.sh"
if [ -e "$out" ] && [ -n "$(ls -A "$out" 2>/dev/null)" ] && [ ! -f "$made" ]; then
  echo "release.sh: $out holds files this script did not make; give it a new or empty folder" >&2
  exit 1
fi
if [ -f "$made" ]; then
  while IFS= read -r name; do
    case "$name" in Tavrolinex-*.msi|Tavrolinex-*.zip|SHA256SUMS) rm -f "$out/$name" ;; esac
  done < "$made"
fi
bash scripts/setup.sh >/dev/null
bash scripts/build_deps.sh >/dev/null
rm -rf "$work"
mkdir -p "$work" "$out"
: > "$made"
for pair in x86:win32:no x64:win64:yes; do
  IFS=: read -r arch preset win64 <<<"$pair"
  if [ ! -f "build/$preset/Tavrolinex.exe" ] || [ -z "${TVX_RELEASE_NO_BUILD:-}" ]; then
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2 >/dev/null
  fi
  stage="$work/$arch"
  mkdir -p "$stage"
  bash scripts/dist.sh "build/$preset" "$stage/Tavrolinex"
  # The packages carry the program's files only: not the mark, and not the
  # two files that are the user's once the program has started (the chosen
  # language and its texts), so that an upgrade or an unzip over an older
  # copy keeps them. The first start asks for the language and writes both.
  rm "$stage/Tavrolinex/.made-by-dist.sh" "$stage/Tavrolinex/LogConfig.dat" "$stage/Tavrolinex/TavrolinexConfig.ini"
  name="Tavrolinex-$package_version-$arch"
  # The packages carry stripped binaries (the mingw runtime brings some
  # 400 KB of debug sections into each); the unstripped ones go beside the
  # packages, for reading crash addresses.
  triple=$([ "$arch" = x86 ] && echo i686-w64-mingw32 || echo x86_64-w64-mingw32)
  (cd "$stage/Tavrolinex" && zip -X -q "$out/$name-unstripped.zip" Tavrolinex.exe TavrolinexExt.dll)
  echo "$name-unstripped.zip" >> "$made"
  # The stamp strip writes into the PE header is the commit's time, so that
  # the same sources give the same bytes (the upgrade test relies on it).
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0) \
    "$triple-strip" --strip-debug "$stage/Tavrolinex/Tavrolinex.exe" "$stage/Tavrolinex/TavrolinexExt.dll"
  # The portable zip: the installation folder, runnable wherever it is
  # unpacked.
  (cd "$stage" && zip -r -X -q "$out/$name.zip" Tavrolinex)
  echo "$name.zip" >> "$made"
  # The installer: every file of the installation folder, and the product around it.
  cp resources/icons/app.ico "$stage/Tavrolinex.ico"
  (cd "$stage" && find Tavrolinex -type f | LC_ALL=C sort |
     wixl-heat -p Tavrolinex/ --component-group InstallationFiles --var var.SourceDir \
               --directory-ref INSTALLDIR --win64 | python3 "$root/scripts/installer_ids.py" guids "$arch" > files.wxs &&
     python3 "$root/scripts/installer_ids.py" guids "$arch" < "$root/resources/installer/Tavrolinex.wxs" > product.wxs &&
     wixl -a "$arch" -D Version="$package_version" -D Win64="$win64" -D SourceDir=Tavrolinex \
          -D IconFile=Tavrolinex.ico -o "$out/$name.msi" product.wxs files.wxs)
  # wixl does not honour AllowSameVersionUpgrades: the upgrade row takes its
  # highest version inclusively (msidbUpgradeAttributesVersionMaxInclusive),
  # so that the other architecture's package of the same version is replaced.
  msiinfo export "$out/$name.msi" Upgrade |
    awk -F'\t' 'BEGIN { OFS = "\t" } { sub(/\r$/, "") } NR > 3 && $7 == "WIX_UPGRADE_DETECTED" { $5 = 513 }
                { printf "%s\r\n", $0 }' > "$stage/Upgrade.idt"
  msibuild "$out/$name.msi" -i "$stage/Upgrade.idt"
  # wixl leaves the File table's Version empty: without it Windows Installer
  # would treat the program and the extension as unversioned files.
  for binary in Tavrolinex.exe TavrolinexExt.dll; do
    file_version=$(python3 scripts/installer_ids.py version "$stage/Tavrolinex/$binary")
    msibuild "$out/$name.msi" -q "UPDATE \`File\` SET \`Version\` = '$file_version' WHERE \`FileName\` = '$binary'"
  done
  echo "$name.msi" >> "$made"
done
(cd "$out" && sha256sum $(grep -v '^SHA256SUMS$' .made-by-release.sh) > SHA256SUMS)
echo SHA256SUMS >> "$made"
rm -rf "$work"
echo "release $package_version:"
(cd "$out" && ls -l $(cat .made-by-release.sh) | awk '{ printf "  %-36s %10d bytes\n", $NF, $5 }')
