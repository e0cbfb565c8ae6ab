#!/usr/bin/env bash
# Global hot keys pressed on the X display (xdotool), and stored clipboard
# contents: item hot keys while the launcher is hidden, Ctrl+Shift+J, and
# Ctrl+Shift+C capturing the clipboard into a data file.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" hotkeys || exit 1
tvx_xvfb_start || exit 1

LOG_UNIX="$WINEPREFIX/drive_c/helper.log"
export TVX_HELPER_LOG='C:\helper.log'
export TVX_HELPER_FOLDER_LOG='C:\helper-folder.log'  # where a started helper worked
# Under Xvfb without a window manager the X focus follows the pointer, and
# Wine sees key presses only on its own windows: before pressing, the pointer
# goes over the launcher when it is shown, else over the system tray window
# (top left). On a desktop the keys are global, wherever the focus is.
press() {
  if [ "$(drive visible "$LAUNCHER" | value_of visible)" = 1 ]; then
    local c
    c=$(drive center "$LAUNCHER")
    xdotool mousemove "$(value_of x <<<"$c")" "$(value_of y <<<"$c")"
  else
    wait_until 8 tray_shown 1
    xdotool mousemove 60 30
  fi
  xdotool key --delay 50 "$1"
  sleep 0.3
}
clipboard_is() { [ "$(drive get-clipboard | value_of text)" = "$1" ]; }
# Types a short name into box S (replacing what it held) and presses Enter.
run_short_name() {
  clear_box $IDC_FIND_SHORT
  drive type "$1"
  wait_until 4 test "$(drive text "$LAUNCHER" $IDC_FIND_SHORT)" = "$1"
  drive key enter
}

tvx_install "$TVX_DIST"
cp "$TVX_BIN/tvxhelper.exe" "$TVX_INSTALL_UNIX/"
mkdir -p "$TVX_INSTALL_UNIX/Data"
# A stored clipboard content: one CF_TEXT record holding "stored text".
{ printf '1\0\0\0\0\0\0\0'; printf '12\0\0\0\0\0\0'; printf 'stored text\0'; } > "$TVX_INSTALL_UNIX/Data/paste.stx"
"$TVX_BUILD/native/tvx_write_data" /dev/stdin "$TVX_INSTALL_UNIX" >/dev/null <<'EOF_ITEMS'
item	Hot	hot	Ctrl	F12	first with Ctrl+F12	C:\\Program Files\\Tavrolinex\\tvxhelper.exe run-Hot
item	Twin	twin	Ctrl	F12	second with Ctrl+F12	C:\\Program Files\\Tavrolinex\\tvxhelper.exe run-Twin
item	Paste	pst			a stored clipboard content	C:\\Program Files\\Tavrolinex\\Data\\paste.stx
item	Plain	pln			a program without arguments	C:\\Program Files\\Tavrolinex\\tvxhelper.exe
EOF_ITEMS
rm -f "$LOG_UNIX"

start_program
if ! wait_launcher; then fail "the launcher opens"; force_end_program; exit 0; fi

# Running a clipboard item puts its content back on the clipboard.
drive set-clipboard "before"
run_short_name pst
check "running a clipboard item restores its stored text" wait_until 5 clipboard_is "stored text"
check_eq "and starts nothing" 0 "$(started | wc -l)"

# Hide to the tray, then the item hot key from anywhere.
drive click "$LAUNCHER" $IDC_EXIT
box=$(drive wait-title Tavrolinex 10000 6 | value_of hwnd)
[ -n "$box" ] && drive click "$box" 6
check_eq "Exit and Yes hide the launcher" 0 "$(wait_visible "$LAUNCHER" 0)"
# Its place is on no monitor any more (one was unplugged while it was hidden).
drive move "$LAUNCHER" 5000 4000
press ctrl+F12
check "Ctrl+F12 starts its item while the launcher is hidden" grep -q 'run-Hot$' <<<"$(wait_started 1)"

press ctrl+shift+j
check_eq "Ctrl+Shift+J shows the hidden launcher at the first press" 1 "$(wait_visible "$LAUNCHER" 1)"
on_screen() { eval "$(drive center "$LAUNCHER")"; [ "$x" -ge 0 ] && [ "$x" -lt 1024 ] && [ "$y" -ge 0 ] && [ "$y" -lt 768 ]; }
check "on the screen, though its place was on no monitor ($(drive center "$LAUNCHER" | tr '\n' ' '))" on_screen
# A later start the program must answer: whatever the one Ctrl+F12 started came before it.
run_short_name hot
check "a start by the short name after it is the next one" grep -q 'run-Hot$' <<<"$(wait_started 2)"
check_eq "the second item with the same keys did not start" 2 "$(started | wc -l)"
press ctrl+shift+j
check_eq "and hides it again" 0 "$(wait_visible "$LAUNCHER" 0)"
press ctrl+shift+j
check_eq "and shows it once more" 1 "$(wait_visible "$LAUNCHER" 1)"
tvx_shot hotkeys_shown_again

# An entry handed over from Explorer with a hot key: the key works at once.
for kv in "Name=Handed" "ShortName=hd" "Hotkey1=Alt" "Hotkey2=F11" "Description=handed over" \
          'ExePath=C:\Program Files\Tavrolinex\tvxhelper.exe run-Handed' "NodeID="; do
  mailbox_write sdfggsadf "${kv%%=*}" "${kv#*=}"
done
drive send "$LAUNCHER" 1044 0 0 >/dev/null
before=$(started | wc -l)
press alt+F11
check "an entry handed over with a hot key starts by it without a restart" \
  grep -q 'run-Handed$' <<<"$(wait_started $((before + 1)))"

# Ctrl+Shift+C stores the clipboard in a new data file.
drive set-clipboard "captured by the hot key"
press ctrl+shift+c
dialog=$(drive wait-ctl $IDC_ADD_TREE_PROG 10000 | value_of hwnd)
check "Ctrl+Shift+C opens the add-item dialog" test -n "$dialog"
captured=$(ls "$TVX_INSTALL_UNIX/Data" | grep -v '^paste.stx$' | head -n 1)
check "after writing a new data file named by a GUID" \
  grep -qE '^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\.stx$' <<<"$captured"
if [ -n "$captured" ]; then
  cp "$TVX_INSTALL_UNIX/Data/$captured" "$TVX_BUILD/hotkeys-captured.stx"
  tvx_shot hotkeys_capture_dialog
  [ -n "$dialog" ] && drive click "$dialog" $IDC_ADD_CANCEL
  gone() { [ ! -e "$TVX_INSTALL_UNIX/Data/$captured" ]; }
  check "cancelling the dialog deletes the new data file" wait_until 5 gone
  # Its content restores to the same text: let the clipboard item use it.
  cp "$TVX_BUILD/hotkeys-captured.stx" "$TVX_INSTALL_UNIX/Data/paste.stx"
  drive set-clipboard "something else"
  run_short_name pst
  check "the captured file restores to the same text" wait_until 5 clipboard_is "captured by the hot key"
fi

# A program started directly sees its own quoted path as its command line
# (unquoted, "C:\Program Files\..." reaches it as two arguments) and works
# in its own folder, not in the one the launcher was started in.
before=$(started | wc -l)
run_short_name pln
check_eq "a program started directly gets its quoted path as its command line" \
  '"C:\Program Files\Tavrolinex\tvxhelper.exe"' "$(wait_started $((before + 1)))"
check_eq "and works in its own folder" 'C:\Program Files\Tavrolinex' \
  "$(tr -d '\r' < "$WINEPREFIX/drive_c/helper-folder.log" 2>/dev/null | tail -n 1)"

if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi

# A key another program holds: the next start says which, and for what.
rm -f "$WINEPREFIX/drive_c/release-hotkey"
drive hold-hotkey 2 0x7B 60000 'C:\release-hotkey' > "$TVX_BUILD/hotkeys-held.txt" &  # Ctrl+F12
holder=$!
wait_until 10 grep -q '^held' "$TVX_BUILD/hotkeys-held.txt" || fail "another program holds Ctrl+F12"
start_program
if wait_launcher; then
  box=$(drive wait-title Tavrolinex 15000 1 | value_of hwnd)
  check "a start names the keys another program holds, and what they were for" \
    grep -q 'Ctrl + F12: Hot' <<<"$(drive text "$box" $IDC_MSG_TEXT)"
  tvx_shot hotkeys_held_elsewhere
  [ -n "$box" ] && drive click "$box" 1
  exit_program || force_end_program
else
  fail "the launcher opens while another program holds a key"; force_end_program
fi
: > "$WINEPREFIX/drive_c/release-hotkey"
wait "$holder" 2>/dev/null
