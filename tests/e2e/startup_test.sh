#!/usr/bin/env bash
# Start-up and shutdown of the real program under Wine: single instance, the
# progress window, the shell extension's registration, the language choice
# and the language modules.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

# The program targets systems whose ANSI code page is GB2312/GBK.
export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" startup || exit 1
tvx_xvfb_start || exit 1

CLSID='{9B55AFD3-A2C6-41B8-93BF-937E4E5FF01B}'
INPROC="HKCR\\CLSID\\$CLSID\\InprocServer32"
extension_registered() { [ "$(reg_value "$INPROC")" = "$TVX_INSTALL_WIN\\TavrolinexExt.dll" ]; }
extension_unregistered() { [ -z "$(reg_value "$INPROC")" ]; }
mailbox_dest() { mailbox_value sdfggsadf Dest; }

# --- a normal start and a second start --------------------------------------
tvx_install "$TVX_DIST"
# A program named RegSvr32.exe in the installation folder, which a bare name
# would find first: the registration must not start it.
cp "$TVX_BIN/tvxhelper.exe" "$TVX_INSTALL_UNIX/RegSvr32.exe"
export TVX_HELPER_LOG='C:\startup-helper.log'
# Pages open through their association: here the helper, which notes each.
cp "$TVX_BIN/tvxhelper.exe" "$WINEPREFIX/drive_c/pageviewer.exe"
tvx_wine reg add 'HKCR\.htm' /ve /d tvxpage /f >/dev/null 2>&1
tvx_wine reg add 'HKCR\tvxpage\shell\open\command' /ve /d 'C:\pageviewer.exe page "%1"' /f >/dev/null 2>&1
helper_lines() { tr -d '\r' < "$WINEPREFIX/drive_c/startup-helper.log" 2>/dev/null | grep -c -- "$1"; }
start_program
found=$(drive wait-text $IDC_PROGRESS_TEXT 15000)
progress=$(value_of hwnd <<<"$found")
check "the progress window shows while the program starts" test -n "$progress"
if [ -n "$progress" ]; then
  check_eq "the progress window says Loading Modules" "Loading Modules ..." "$(value_of text <<<"$found")"
  tvx_shot startup_progress
  # It goes once its work is done; how soon is the benchmark's business.
  gone=$(drive gone-ctl $IDC_PROGRESS_TEXT 15000 | value_of elapsed)
  check "the progress text goes away before the launcher is used (after ${gone:-never} ms)" test -n "$gone"
fi
if wait_launcher; then
  pass "the launcher window opens"
  tvx_shot startup_launcher
  check_eq "the launcher publishes itself as Dest" "$LAUNCHER" "$(mailbox_dest)"
  check "the extension is registered with its quoted path in Program Files" wait_until 15 extension_registered
  check_eq "by the system's RegSvr32, not one in the installation folder" 0 "$(helper_lines TavrolinexExt)"
  check_eq "a start that is not the installation's first opens no page" 0 "$(helper_lines 'support.htm')"

  tvx_wine "$PROGRAM_WIN" >/dev/null 2>&1 &
  second=$!
  box=$(drive wait-title Tips 15000 | value_of hwnd)
  check "a second start shows a notice captioned Tips" test -n "$box"
  if [ -n "$box" ]; then
    notice=$(drive texts "$box")
    check "the notice says ProgramRunning's text" grep -q 'Tavrolinex is already running.' <<<"$notice"
    tvx_shot startup_second_instance
    drive click "$box" 1
    # The notice is the system's message box: a posted click it dropped is
    # Wine's, not the program's; said in the log, and pressed once more.
    box_gone() { [ "$(drive visible "$box" | value_of visible)" = 0 ]; }
    if ! wait_until 10 box_gone; then note_windows "the notice is still shown 10 s after its Ok"; drive click "$box" 1; fi
  fi
  wait_pid_gone "$second" 15 || note_windows "the second process is still running"
  check "the second process ends after the notice" wait_pid_gone "$second" 1
  check "the first instance keeps running" kill -0 "$PROGRAM_PID"
  check_soon "the first launcher is still there" visible=1 eval 'drive visible "$LAUNCHER"'
  # A single registry read can miss under load; an unregistration would stay.
  check "the second start leaves the extension registered" wait_until 5 extension_registered

  if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
  check "the extension is unregistered at exit" wait_until 15 extension_unregistered
  check_eq "Dest is 0 once the launcher is gone" 0 "$(mailbox_dest)"
else
  fail "the launcher window opens"
  force_end_program
fi

# --- the installation's first start (no LogConfig.dat): the welcome page -----
tvx_install "$TVX_DIST"
rm -f "$TVX_INSTALL_UNIX/LogConfig.dat"
start_program
first_start() {
  local dialog box
  dialog=$(drive wait-ctl $IDC_LANGUAGE_COMBO 20000 | value_of hwnd)
  [ -n "$dialog" ] || return 1
  drive click "$dialog" 1
  if [ "${TVX_ARCH:-64}" = 32 ]; then
    # A 32-bit copy on 64-bit Windows says so at its first start.
    box=$(drive wait-title Tavrolinex 20000 1 | value_of hwnd)
    check "the 32-bit copy's first start names the x64 package" grep -q -- '-x64.msi' <<<"$(drive text "$box" $IDC_MSG_TEXT)"
    [ -n "$box" ] && drive click "$box" 1
  fi
  wait_launcher
}
if first_start; then
  check "the first start opens the welcome page that came with the installation" \
    wait_until 15 eval '[ "$(helper_lines "Help.eng.support.htm")" = 1 ]'
  exit_program || force_end_program
else
  fail "the first start leads to the launcher"; force_end_program
fi

# --- the language dialog on request -------------------------------------------
tvx_install "$TVX_DIST"
printf '[LogConfig]\r\nShowLangSel=1\r\n' > "$TVX_INSTALL_UNIX/LogConfig.dat"
start_program
dialog=$(drive wait-ctl $IDC_LANGUAGE_COMBO 15000 | value_of hwnd)
check "ShowLangSel 1 shows the language dialog" test -n "$dialog"
if [ -n "$dialog" ]; then
  combo=$(drive combo "$dialog" $IDC_LANGUAGE_COMBO)
  check_eq "the language list has eight rows" 8 "$(value_of count <<<"$combo")"
  check_eq "English is selected at first" 0 "$(value_of sel <<<"$combo")"
  check_eq "the last row holds the GBK bytes of the traditional Chinese name" B7B1F377D6D0CEC4 \
    "$(sed -n 's/^item7\t//p' <<<"$combo")"
  tvx_shot language_dialog
  drive combo-select "$dialog" $IDC_LANGUAGE_COMBO 7
  drive click "$dialog" 1
  if wait_launcher; then
    conf=$(tr -d '\r' < "$TVX_INSTALL_UNIX/LogConfig.dat")
    check "choosing the last row writes LangSel 7" grep -qx 'LangSel=7' <<<"$conf"
    check "and ShowLangSel 0" grep -qx 'ShowLangSel=0' <<<"$conf"
    check_soon "without a cht module the built-in texts stay" "Run Apps" eval 'drive text "$LAUNCHER" $IDC_RUN_APPS'
    exit_program || force_end_program
  else
    fail "the launcher opens after the language dialog"; force_end_program
  fi
else
  force_end_program
fi

# --- language modules --------------------------------------------------------
run_with_language() { # INDEX: prints the Run Apps button's text
  printf '[LogConfig]\r\nLangSel=%s\r\nShowLangSel=0\r\n' "$1" > "$TVX_INSTALL_UNIX/LogConfig.dat"
  start_program
  if wait_launcher; then
    # the button may get its text a moment after the window is found
    drive wait-text $IDC_RUN_APPS 10000 | value_of text
    tvx_shot "language_module_$1"
    exit_program >/dev/null || force_end_program
  else
    force_end_program
  fi
}
tvx_install "$TVX_DIST"
check_eq "LangSel 6 takes the dialogs from Lang\\chs.dat" "运行程序" "$(run_with_language 6)"
for f in "$TVX_INSTALL_UNIX"/Lang/*.dat; do [ "$(basename "$f")" = chs.dat ] || cp "$TVX_INSTALL_UNIX/Lang/chs.dat" "$f"; done
cp "$TVX_INSTALL_UNIX/Lang/chs.dat" "$TVX_INSTALL_UNIX/Lang/.dat"
check_eq "LangSel 9 loads no module and keeps the built-in texts" "Run Apps" "$(run_with_language 9)"
check_eq "LangSel 0 loads Lang\\eng.dat (here a Chinese copy)" "运行程序" "$(run_with_language 0)"

# --- an installation folder named outside the code page (936) ----------------------
# The program works through the folder's short name: it reads its entries
# there and files a new one beside them.
korean="$WINEPREFIX/drive_c/한국 😀 설치"
rm -rf "$korean" && cp -a "$TVX_DIST" "$korean"
printf '[LogConfig]\r\nLangSel=0\r\nShowLangSel=0\r\n' > "$korean/LogConfig.dat"
"$TVX_BUILD/native/tvx_write_data" /dev/stdin "$korean" >/dev/null <<'EOF_ITEMS'
item	Korean Folder Entry	kf			read through the short name	c:\\kf.exe
catalog	Work	0
EOF_ITEMS
tvx_wine 'C:\한국 😀 설치\Tavrolinex.exe' >/dev/null 2>&1 &
PROGRAM_PID=$!
if wait_launcher; then
  check_soon "from a folder named outside the code page the launcher lists its entries" 1 \
    eval 'drive list "$LAUNCHER" $IDC_LIST_NAME | value_of count'
  mailbox_write sdfggsadf Name "Mailed Here" 'C:\한국 😀 설치'
  mailbox_write sdfggsadf ShortName "mh" 'C:\한국 😀 설치'
  mailbox_write sdfggsadf ExePath 'C:\mh.exe' 'C:\한국 😀 설치'
  mailbox_write sdfggsadf NodeID "" 'C:\한국 😀 설치'
  drive send "$LAUNCHER" 1044 0 0 >/dev/null
  check "and files a received entry into its own item file" \
    wait_until 10 grep -q 'Mailed Here' "$korean/Shortcut2.dat"
  exit_program || force_end_program
else
  fail "the program starts from a folder named outside the code page"; force_end_program
fi

# --- an installation folder that cannot be written ----------------------------------------
# (A copy put under "Program Files" by an administrator, as a standard user
# meets it. Root ignores file modes here; an immutable folder it cannot write.)
tvx_install "$TVX_DIST"
if chattr +i "$TVX_INSTALL_UNIX"; then
  on_exit 'chattr -i "$TVX_INSTALL_UNIX" 2>/dev/null; tvx_bench_stop'
  start_program
  box=$(drive wait-title Tavrolinex 20000 1 | value_of hwnd)
  check "a folder that cannot be written is named at start" \
    grep -q 'cannot write in its own folder' <<<"$(drive text "$box" $IDC_MSG_TEXT)"
  tvx_shot startup_folder_not_writable
  [ -n "$box" ] && drive click "$box" 1
  if wait_launcher; then exit_program || force_end_program; else force_end_program; fi
  chattr -i "$TVX_INSTALL_UNIX"
else
  fail "the installation folder can be made immutable (chattr +i) to stand for one that cannot be written"
fi
