#!/usr/bin/env bash
# The release packages as a user meets them, for the architecture of the
# stage (x64 under the system's Wine, x86 under the new-WoW64 Wine): the
# installer installs silently for the user, the program starts from there and
# writes its data, uninstalling removes the program and keeps the data, a
# newer package upgrades in place and keeps the data; the portable zip runs
# from a folder whose path has blanks and Chinese characters.
# Needs the packages of scripts/release.sh in $TVX_BUILD/release (this
# version) and $TVX_BUILD/release-next (a higher version).
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

# File names with GBK characters need a zh_CN.UTF-8 locale for Wine's Unix
# side; it is made once into the build tree, the system stays untouched.
LOCALES="$TVX_BUILD/locale"
if [ ! -d "$LOCALES/zh_CN.UTF-8" ]; then
  mkdir -p "$LOCALES" && localedef -i zh_CN -f UTF-8 "$LOCALES/zh_CN.UTF-8" >/dev/null 2>&1
fi
export LOCPATH="$LOCALES"
export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" release || exit 1
tvx_xvfb_start || exit 1

VERSION=$(tr -d ' \r\n' < "$TVX_ROOT/VERSION")
REL="$TVX_BUILD/release"
NEXT_DIR="$TVX_BUILD/release-next"
PKG=$([ "${TVX_ARCH:-64}" = 32 ] && echo x86 || echo x64)
MSI64=$(ls "$REL"/Tavrolinex-"$VERSION"-x64.msi 2>/dev/null)
MSI32=$(ls "$REL"/Tavrolinex-"$VERSION"-x86.msi 2>/dev/null)
ZIP64=$(ls "$REL"/Tavrolinex-"$VERSION"-x64.zip 2>/dev/null)
ZIP32=$(ls "$REL"/Tavrolinex-"$VERSION"-x86.zip 2>/dev/null)
MSI=$(ls "$REL"/Tavrolinex-"$VERSION"-$PKG.msi 2>/dev/null)
ZIP=$(ls "$REL"/Tavrolinex-"$VERSION"-$PKG.zip 2>/dev/null)
NEXT=$(ls "$NEXT_DIR"/Tavrolinex-*-$PKG.msi 2>/dev/null | head -n 1)
NEXT_VERSION=$(basename "${NEXT:-x}" | sed -n "s/^Tavrolinex-\(.*\)-$PKG\.msi\$/\1/p")
check "the release has both installers, both zips and the checksums" \
  test -f "$MSI64" -a -f "$MSI32" -a -f "$ZIP64" -a -f "$ZIP32" -a -f "$REL/SHA256SUMS"
check "the checksums are right" bash -c "cd '$REL' && sha256sum -c --quiet SHA256SUMS"
# The release scripts, pointed at a folder of the user's, leave it alone.
USER_FOLDER=$(mktemp -d)
echo "my notes" > "$USER_FOLDER/notes.txt"
check "release.sh refuses a folder holding a file of the user's" \
  bash -c "! bash '$TVX_ROOT/scripts/release.sh' '$USER_FOLDER' 2>/dev/null"
check "dist.sh refuses it too" bash -c "! bash '$TVX_ROOT/scripts/dist.sh' '$TVX_BUILD/win$TVX_ARCH' '$USER_FOLDER' 2>/dev/null"
check_eq "the user's file is still there, alone" "notes.txt:my notes" "$(cd "$USER_FOLDER" && ls -A | tr '\n' ' ' | sed 's/ $//'):$(cat "$USER_FOLDER/notes.txt")"
rm -r "$USER_FOLDER"
win_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
msi() { tvx_wine msiexec "$1" "$(win_path "$2")" /qn >/dev/null 2>&1; }

USER_DIR="$WINEPREFIX/drive_c/users/$(whoami)"
INST_UNIX="$USER_DIR/AppData/Local/Programs/Tavrolinex"
INST_WIN="C:\\users\\$(whoami)\\AppData\\Local\\Programs\\Tavrolinex"
LINK_WIN="C:\\users\\$(whoami)\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Tavrolinex.lnk"
LINK_UNIX="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tavrolinex.lnk"
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# The uninstall entries named Tavrolinex (Wine keeps them under HKLM even for
# a per-user package; Windows under HKCU), in both registry views (an x86
# package's entry may stand in the 32-bit one): "version" lines, one per entry.
uninstall_versions() {
  local root view
  for root in HKLM HKCU; do
    for view in /reg:64 /reg:32; do
      tvx_wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s $view 2>/dev/null | tr -d '\r' |
        awk '/^HKEY/ { key = $0; name = ""; ver = "" } /DisplayName +REG_SZ +Tavrolinex$/ { name = 1 }
             /DisplayVersion +REG_SZ/ { ver = $NF } name && ver { print key "\t" ver; name = ""; ver = "" }'
    done
  done | sort -u | cut -f2
}
program_files_gone() {
  [ ! -e "$INST_UNIX/Tavrolinex.exe" ] && [ ! -e "$INST_UNIX/TavrolinexExt.dll" ] && [ ! -e "$INST_UNIX/Images" ] &&
    [ ! -e "$INST_UNIX/Lang" ]
}
# The user's: the entries, a clipboard file, the chosen language and the
# texts as the user edited them.
data_kept() {
  [ -f "$INST_UNIX/Shortcut2.dat" ] && [ -f "$INST_UNIX/Shortcut2.clg" ] &&
    [ "$(cat "$INST_UNIX/Data/kept.stx" 2>/dev/null)" = "the user's clipboard" ] &&
    grep -q '^LangSel=6' "$INST_UNIX/LogConfig.dat" && cmp -s "$INST_UNIX/TavrolinexConfig.ini" "$TVX_BUILD/release-edited.ini"
}
start_from() { # WINDOWS-EXE
  tvx_wine "$1" >/dev/null 2>&1 &
  PROGRAM_PID=$!
  wait_launcher 30000
}
# A 32-bit copy on 64-bit Windows says at its first start that Explorer there
# cannot show its command, and names the x64 package.
answer_x64_note() {
  [ "$PKG" = x86 ] || return 0
  local box
  box=$(drive wait-title Tavrolinex 30000 1 | value_of hwnd)
  check "the 32-bit copy's first start on 64-bit Windows names the x64 package" \
    grep -q -- '-x64.msi' <<<"$(drive text "$box" $IDC_MSG_TEXT)"
  [ -n "$box" ] && drive click "$box" 1
}
# A first start: the language dialog, then the row given.
start_choosing() { # WINDOWS-EXE ROW
  tvx_wine "$1" >/dev/null 2>&1 &
  PROGRAM_PID=$!
  local dialog
  dialog=$(drive wait-ctl $IDC_LANGUAGE_COMBO 30000 | value_of hwnd)
  [ -n "$dialog" ] || return 1
  drive combo-select "$dialog" $IDC_LANGUAGE_COMBO "$2"
  drive click "$dialog" 1
  answer_x64_note
  wait_launcher 30000
}
# The files of the package, as its zip holds them (the MSI has the same).
PACKAGE_FILES=$(mktemp -d)
on_exit 'tvx_bench_stop; rm -rf "$PACKAGE_FILES"'
unzip -q "$ZIP" -d "$PACKAGE_FILES"
send_entry() { # NAME SHORT INSTALL-WIN
  mailbox_write sdfggsadf ShortName "$2" "$3"
  mailbox_write sdfggsadf Description "written by the installed program" "$3"
  mailbox_write sdfggsadf ExePath 'C:\windows\notepad.exe' "$3"
  mailbox_write sdfggsadf NodeID "" "$3"
  mailbox_write sdfggsadf Name "$1" "$3"
  drive send "$LAUNCHER" 1044 0 0 >/dev/null
}
entry_names() { "$TVX_BUILD/native/tvx_dump_data" "$1" | awk -F'\t' '$1 == "item" { print $4 }' | tr '\n' ' ' | sed 's/ $//'; }

# ---- the installer ----------------------------------------------------------------------------
check "the $PKG installer installs silently" msi /i "$MSI"
check "every file of the package is installed, byte for byte" diff -r "$PACKAGE_FILES/Tavrolinex" "$INST_UNIX"
check "the package brings no settings file and no language choice: they are the user's" \
  test ! -e "$INST_UNIX/TavrolinexConfig.ini" -a ! -e "$INST_UNIX/LogConfig.dat"
check_eq "the Start-menu shortcut starts the program" "$INST_WIN\\Tavrolinex.exe" \
  "$(drive link-target "$LINK_WIN" | value_of target)"
check_eq "the list of installed programs shows it with its version" "$VERSION" "$(uninstall_versions | tr '\n' ' ' | sed 's/ $//')"
check_eq "it starts when the user logs on" "\"$INST_WIN\\Tavrolinex.exe\"" \
  "$(reg_value "$RUN_KEY" Tavrolinex)"
if start_choosing "$INST_WIN\\Tavrolinex.exe" 6; then
  pass "the installed program's first start asks for the language (简体中文 chosen)"
  check "and writes the Chinese texts as the settings file" cmp -s "$INST_UNIX/Lang/chs.ini" "$INST_UNIX/TavrolinexConfig.ini"
  tvx_shot release_installed_launcher
  send_entry "Installed" inst "$INST_WIN"
  check "the installed program writes its item file there" wait_until 5 test -f "$INST_UNIX/Shortcut2.dat"
  exit_program || force_end_program
else
  fail "the program starts from the installed folder"; force_end_program
fi
# What else a user's installation holds by now: a catalog, a clipboard file,
# and a text of the settings file in the user's own words.
printf '885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF|Mine|7A000001-D3E0-4000-8000-000000000001|0' > "$INST_UNIX/Shortcut2.clg"
printf "the user's clipboard" > "$INST_UNIX/Data/kept.stx"
sed -i 's/^HideProgram=.*\r$/HideProgram=my own words\r/' "$INST_UNIX/TavrolinexConfig.ini"
cp "$INST_UNIX/TavrolinexConfig.ini" "$TVX_BUILD/release-edited.ini"

check "uninstalling succeeds" msi /x "$MSI"
check "uninstalling removes the program's files" program_files_gone
check "and the Start-menu shortcut" test ! -e "$LINK_UNIX"
check_eq "and the logon start" "" "$(reg_value "$RUN_KEY" Tavrolinex)"
check_eq "and the entry in the list of installed programs" "" "$(uninstall_versions)"
check "the user's data stays: item file, catalog file, Data, the language and the edited texts" data_kept

# ---- reinstall, then upgrade to a newer package ------------------------------------------
check "installing again over the kept data" msi /i "$MSI"
check "keeps the data" data_kept
printf 'damaged' > "$INST_UNIX/Images/ComboButton.png"
if [ -n "$NEXT" ]; then
  check "a newer package installs over it" msi /i "$NEXT"
  check_eq "one entry remains, with the newer version" "$NEXT_VERSION" "$(uninstall_versions | tr '\n' ' ' | sed 's/ $//')"
  check "the upgrade replaces the program's files (a damaged one too)" \
    diff -r -x Data -x 'Shortcut2.*' -x LogConfig.dat -x TavrolinexConfig.ini -x Mailbox.ini "$PACKAGE_FILES/Tavrolinex" "$INST_UNIX"
  check "the upgrade keeps the data" data_kept
  if start_from "$INST_WIN\\Tavrolinex.exe"; then
    check_eq "the upgraded program has the entries of before" "Installed" "$(entry_names "$INST_UNIX")"
    check "and is still Chinese, the user's own words kept (no language question)" data_kept
    tvx_shot release_upgraded_launcher
    exit_program || force_end_program
  else
    fail "the upgraded program starts"; force_end_program
  fi
  check "the newer package uninstalls" msi /x "$NEXT"
else
  fail "a newer package is there to upgrade with"
  msi /x "$MSI"
fi
check "nothing of the program is left" program_files_gone
check "the data is still there" data_kept

# ---- the other architecture's package of the same version replaces it -------------------------
entries() { uninstall_versions | tr '\n' ' ' | sed 's/ $//'; }
check "the x86 package installs" msi /i "$MSI32"
check "the x64 package of the same version installs over it" msi /i "$MSI64"
check_eq "one entry in the list of installed programs" "$VERSION" "$(entries)"
check "the x64 package's program is the one installed" \
  cmp -s "$INST_UNIX/Tavrolinex.exe" <(unzip -p "$ZIP64" Tavrolinex/Tavrolinex.exe)
check "the same package installed again repairs it" msi /i "$MSI64"
check_eq "and still one entry" "$VERSION" "$(entries)"
check "which uninstalls" msi /x "$MSI64"
check_eq "no entry left" "" "$(entries)"
check "nothing of the program is left then either" program_files_gone
check "the data is still there then too" data_kept

# ---- the portable zips -----------------------------------------------------------------------
zip_files() { unzip -Z1 "$1" | grep -v '/$' | sed 's|^Tavrolinex/||' | LC_ALL=C sort; }
dist_files() { (cd "$1" && find . -type f ! -name .made-by-dist.sh | sed 's|^\./||' | LC_ALL=C sort); }
without_users_files() { grep -v -x -e LogConfig.dat -e TavrolinexConfig.ini; }
check_eq "the $PKG zip holds every file of the program, and none of the user's" \
  "$(dist_files "$TVX_DIST" | without_users_files)" "$(zip_files "$ZIP")"
check_eq "both zips carry the English and the Chinese texts" "Lang/chs.ini Lang/eng.ini Lang/chs.ini Lang/eng.ini" \
  "$( { zip_files "$ZIP64"; zip_files "$ZIP32"; } | grep '^Lang/.*\.ini$' | tr '\n' ' ' | sed 's/ $//')"
debug_sections() { # ZIP MEMBER: the number of debug sections of a binary in a zip
  local tmp; tmp=$(mktemp)
  unzip -p "$1" "$2" > "$tmp" && objdump -h "$tmp" 2>/dev/null | grep -c ' \.debug_'; rm -f "$tmp"
}
check_eq "the zip's program and extension carry no debug sections" "0 0" \
  "$(debug_sections "$ZIP" Tavrolinex/Tavrolinex.exe) $(debug_sections "$ZIP" Tavrolinex/TavrolinexExt.dll)"
check "the program and the extension carry their manifest (asInvoker, Windows 7 to 11)" bash -c "
  for f in Tavrolinex.exe TavrolinexExt.dll; do
    unzip -p '$ZIP' Tavrolinex/\$f | grep -a -q 'level=\"asInvoker\"' &&
      unzip -p '$ZIP' Tavrolinex/\$f | grep -a -q '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' || exit 1
  done"
check_eq "the installer's File table has the binaries' versions" "$VERSION.0 1.0.0.1" \
  "$(msiinfo export "$MSI" File | awk -F'\t' '$3 == "Tavrolinex.exe" { a = $5 } $3 == "TavrolinexExt.dll" { b = $5 } END { print a, b }')"
check "the unstripped binaries lie beside the packages" \
  test "$(debug_sections "$REL/Tavrolinex-$VERSION-$PKG-unstripped.zip" Tavrolinex.exe)" -gt 0
PORTABLE_UNIX="$WINEPREFIX/drive_c/便携 工具"
rm -rf "$PORTABLE_UNIX" && mkdir -p "$PORTABLE_UNIX" && (cd "$PORTABLE_UNIX" && unzip -q "$ZIP")
tvx_wine "$(printf '%s' "C:\\便携 工具\\Tavrolinex\\Tavrolinex.exe")" >/dev/null 2>&1 &
PROGRAM_PID=$!
language=$(drive wait-ctl $IDC_LANGUAGE_COMBO 30000 | value_of hwnd)
check "the unpacked zip's first start asks for the language" test -n "$language"
[ -n "$language" ] && drive click "$language" 1
answer_x64_note
if wait_launcher 30000; then
  pass "the program starts from an unpacked zip in a folder with blanks and Chinese characters"
  send_entry "Portable" port "$(printf '%s' 'C:\便携 工具\Tavrolinex')"
  check "and keeps its data there" wait_until 5 test -f "$PORTABLE_UNIX/Tavrolinex/Shortcut2.dat"
  exit_program || force_end_program
else
  fail "the program starts from an unpacked zip in a folder with blanks and Chinese characters"; force_end_program
fi
