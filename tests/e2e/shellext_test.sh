#!/usr/bin/env bash
# From Explorer to the launcher: a host program acts as Explorer does with the
# registered context-menu handler (create by CLSID, CF_HDROP of five files,
# menu, command strings, invoke), the add-item dialog is driven like a
# person would, and the running launcher files the entry.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" shellext || exit 1
tvx_xvfb_start || exit 1

HOST="$TVX_BIN/tvxshellhost.exe"
HOST_LOG="$TVX_BUILD/shellext-host.log"
CLSID='{9B55AFD3-A2C6-41B8-93BF-937E4E5FF01B}'
registered() { [ "$(reg_value "HKCR\\CLSID\\$CLSID\\InprocServer32")" = "$TVX_INSTALL_UNIX_WIN" ]; }
key_exists() { tvx_wine reg query "$1" $REG_VIEW >/dev/null 2>&1; }
size_of() { stat -c %s "$1"; }
host_value() { tr -d '\r' < "$HOST_LOG" | sed -n "s/^$1=//p" | head -n 1; }

# WIN.INI as Windows keeps it for a standard user: not writable. (Root ignores
# file modes here; a folder in its place cannot be written by anyone.) The
# hand-over goes through the installation's own mailbox file all the same.
rm -f "$WINEPREFIX/drive_c/windows/win.ini"
mkdir -p "$WINEPREFIX/drive_c/windows/win.ini"

export TVX_HELPER_LOG='C:\shellext-helper.log'  # for the program an entry starts
tvx_install "$TVX_DIST"
TVX_INSTALL_UNIX_WIN="$TVX_INSTALL_WIN\\TavrolinexExt.dll"
"$TVX_BUILD/native/tvx_write_data" /dev/stdin "$TVX_INSTALL_UNIX" >/dev/null <<'EOF_ITEMS'
item	Notepad	np			a program	C:\\windows\\system32\\notepad.exe
item	Calc	calc			another	C:\\windows\\system32\\winemine.exe
catalog	Work	0
catalog	Work/Sub	1
EOF_ITEMS
DOCS="$WINEPREFIX/drive_c/docs"
mkdir -p "$DOCS"
for f in "Quarterly.Report.doc" README one.txt two.txt three.txt; do echo text > "$DOCS/$f"; done

start_program
if ! wait_launcher; then fail "the launcher opens"; force_end_program; exit 0; fi
check "the program registered the extension" wait_until 15 registered

# Invokes the handler on the files; the dialog then waits for the test.
run_host() { # [--twice] [--fail PLACE] FILE...
  : > "$HOST_LOG"
  tvx_wine "$HOST" --invoke "$@" >"$HOST_LOG" &
  HOST_PID=$!
}
# Answers the program's or the extension's message box with OK; prints its text.
message_box_text() { # [MS]
  local box="" i
  for i in $(seq 1 $(( ${1:-10000} / 1000 ))); do
    box=$(drive wait-title Tavrolinex 500 1 | value_of hwnd)
    [ -n "$box" ] && [ "$box" != "${LAUNCHER:-}" ] || box=$(drive wait-title Tavrolinex 500 2 | value_of hwnd)
    [ -n "$box" ] && [ "$box" != "${LAUNCHER:-}" ] && break
    box=""
  done
  [ -n "$box" ] || { echo "(no box)"; return 1; }
  drive texts "$box" | cut -f4 | tr '\n' ' '
  drive click "$box" 1 >/dev/null; drive click "$box" 2 >/dev/null
  return 0
}
host_done() { grep -q '^done' <(tr -d '\r' < "$HOST_LOG"); }
# Whether exactly one live entry is named NAME, and the catalog PATH has it as a member.
filed_in() { # PATH NAME
  "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX" | awk -F'\t' -v p="$1" -v n="$2" '
    $1 == "item" && $3 == "0" && $4 == n { index_of[++count] = $2 }
    $1 == "catalog" && $2 == p { members = "," $3 "," }
    END { exit !(count == 1 && index(members, "," index_of[1] ",") > 0) }'
}

files=('C:\docs\Quarterly.Report.doc' 'C:\docs\README' 'C:\docs\one.txt' 'C:\docs\two.txt' 'C:\docs\three.txt')
size_before=$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")
run_host "${files[@]}"
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
check "choosing the command opens the add-item dialog" test -n "$dialog"
check_eq "the extension is created by its CLSID" 0x00000000 "$(host_value create)"
check_eq "a data object without CF_HDROP is refused" 0x80070057 "$(host_value init-without-drop)"
check_eq "Initialize takes the drop list" 0x00000000 "$(host_value init)"
check_eq "QueryContextMenu uses one command id" 0x00000001 "$(host_value querycontextmenu)"
check_eq "the menu item says Add To Tavrolinex at the given position" "Add To Tavrolinex" "$(host_value menu-text)"
check_eq "with the first command id" 100 "$(host_value menu-id)"
check_eq "GetCommandString type 0 (verb) fails" "0x80070057" "$(host_value commandstring0 | cut -d' ' -f1)"
check_eq "type 1 gives the help text" "0x00000000 Add To Tavrolinex" "$(host_value commandstring1)"
check_eq "type 4 (wide verb) fails" "0x80070057" "$(host_value commandstring4 | cut -d' ' -f1)"
check_eq "type 5 gives the wide help text" "0x00000000 Add To Tavrolinex" "$(host_value commandstring5)"
check_eq "the text verb open fails with E_INVALIDARG" 0x80070057 "$(host_value invoke-open)"
check_eq "IDispatch comes from the type library" 1 "$(host_value typeinfo-count)"
check_eq "asked for the default command only, QueryContextMenu adds nothing" "0x00000000 0x00000000 0" \
  "$(host_value querycontextmenu-defaultonly) $(host_value querycontextmenu-norange) $(host_value menu-count-without-room)"
if [ -n "$dialog" ]; then
  explorer=$(host_value explorer)
  check_eq "the dialog is owned by the window Explorer passed" "$explorer" "$(drive window-info "$dialog" | value_of owner)"
  check_eq "which stays disabled while it is shown" 0 "$(drive window-info "$explorer" | value_of enabled)"
  check_eq "the dialog is drawn unaware of the monitors' scale, for Windows to scale it whole" 0 \
    "$(drive window-info "$dialog" | value_of dpi)"
  check_soon "the dialog is preset for the first file only: Name up to the last dot" "Quarterly.Report" eval 'drive text "$dialog" $IDC_ADD_NAME'
  check_soon "Description alike" "Quarterly.Report" eval 'drive text "$dialog" $IDC_ADD_DESCRIPTION'
  check_soon "and a short name made from it" "Quarterly.Report" eval 'drive text "$dialog" $IDC_ADD_SHORT_NAME'
  tvx_shot add_item_key_list_closed
  check_soon "the extension's dialog shows no system scroll bar" 0 eval 'drive sysbars "$dialog" | value_of count'
  drive click "$dialog" $IDC_ADD_KEY_DROP
  bars_now() { echo "$(drive sysbars "$dialog" | value_of count) $(drive bar "$dialog" $IDC_ADD_KEY_LIST v | value_of visible)"; }
  check_soon "nor with its key list open, which scrolls with the skinned bar" "0 1" bars_now
  check_eq "the key drop button opens the key list over Cancel" "1 0" \
    "$(drive list "$dialog" $IDC_ADD_KEY_LIST | value_of visible) $(grep -c "^$IDC_ADD_CANCEL"$'\tButton\t1' <<<"$(drive texts "$dialog")")"
  tvx_shot add_item_key_list_open
  drive click-at "$dialog" $IDC_ADD_KEY_LIST
  key_chosen() { grep -qE '^[A-Z0-9]$|^F[0-9]+$' <<<"$(drive text "$dialog" $IDC_ADD_KEY)"; }
  if ! wait_until 5 key_chosen; then
    # Seen now and then under load, on the 64-bit bench only: the click
    # chose nothing and the list stayed open. What it looked like goes to
    # the log, and the click is made once more; a list that never takes
    # one still fails.
    echo "note: the first click in the key list chose nothing; list: $(drive list "$dialog" $IDC_ADD_KEY_LIST | tr '\n' ' ')focused: $(drive focused | tr '\n' ' ')"
    note_windows "the key list after a click that chose nothing"
    drive click-at "$dialog" $IDC_ADD_KEY_LIST
  fi
  check "a click in the list puts its key into the key box" wait_until 10 key_chosen
  check_soon "and closes the list" 0 eval 'drive list "$dialog" $IDC_ADD_KEY_LIST | value_of visible'

  # "All" is no catalog to file into.
  drive tree-select "$dialog" $IDC_ADD_TREE_EXT >/dev/null
  drive click "$dialog" $IDC_ADD_OK
  box=$(drive wait-title Tavrolinex 5000 2 | value_of hwnd)
  [ -n "$box" ] || box=$(drive wait-title Tavrolinex 2000 1 | value_of hwnd)
  check "selecting All shows the sub-catalog message" grep -q 'Please select a Sub-catalog.' <<<"$(drive texts "$box")"
  drive click "$box" 1 >/dev/null; drive click "$box" 2 >/dev/null
  check_eq "and writes nothing" "" "$(mailbox_value sdfggsadf Name)"

  # A catalog chosen: the launcher files the entry.
  drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
  drive click "$dialog" $IDC_ADD_OK
  check "Ok closes the dialog and InvokeCommand returns S_OK" wait_until 10 host_done
  check_eq "InvokeCommand result" 0x00000000 "$(host_value invoke-0)"
  check_eq "Explorer's thread has its own scale awareness back" 2 "$(host_value dpi-after)"
  check_eq "the module cannot unload while an object lives" 0x00000001 "$(host_value can-unload-while-held)"
  check_eq "and can once all are released" 0x00000000 "$(host_value can-unload)"
fi
bytes=$(od -An -c -j100 -N16 "$TVX_INSTALL_UNIX/Shortcut2.dat" | tr -d ' \n')
check_eq "the item file keeps its header count" 0000000000000002 "$bytes"
check "and has one more record" test "$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")" -gt "$size_before"
check "the entry is a member of Work in the rewritten catalog file" \
  grep -q "|Work|[0-9A-F-]*|0,2\\\\" "$TVX_INSTALL_UNIX/Shortcut2.clg"
check_soon "the launcher lists it" 3 eval 'drive list "$LAUNCHER" $IDC_LIST_NAME | value_of count'
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive type quar
drive key down
drive key up
check_soon "typing its short name finds it" "Quarterly.Report" eval 'drive text "$LAUNCHER" $IDC_FIND_NAME'
drive key esc


# A file without a dot keeps its whole name; Cancel files nothing.
size_before=$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")
run_host 'C:\docs\README'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
check_soon "a file name without a dot is the whole title" README eval 'drive text "$dialog" $IDC_ADD_NAME'
drive click "$dialog" $IDC_ADD_CANCEL
check "Cancel closes the dialog and still returns S_OK" wait_until 10 host_done
check_eq "and nothing is added" "$size_before" "$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")"

# Esc cancels; Enter is Ok, with its checks and messages.
run_host 'C:\docs\three.txt'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
drive click-at "$dialog" $IDC_ADD_NAME
drive key esc
check "Esc cancels the dialog" wait_until 10 host_done
check_eq "and hands nothing over" "$size_before" "$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")"
run_host 'C:\docs\three.txt'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
drive click-at "$dialog" $IDC_ADD_NAME
drive key enter
check "Enter without a catalog chosen asks for one, as Ok does" grep -q 'Please select a' <<<"$(message_box_text)"
check_soon "and the dialog stays" 1 eval 'drive visible "$dialog" | value_of visible'
drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
drive click-at "$dialog" $IDC_ADD_NAME
drive key enter
check "Enter with a catalog hands the entry over" wait_until 10 host_done
three_filed() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX" | awk -F'\t' '$1=="item" && $4=="three"' | grep -q .; }
check "and the launcher files it" wait_until 10 three_filed
size_before=$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")

# Enter in the open key list takes its key.
run_host 'C:\docs\one.txt'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
drive click "$dialog" $IDC_ADD_KEY_DROP
wait_until 5 eval '[ "$(drive list "$dialog" $IDC_ADD_KEY_LIST | value_of visible)" = 1 ]'
drive key down
drive key enter
check "Enter in the key list puts its key into the key box" grep -qE '^[A-Z0-9]$|^F[0-9]+$' <<<"$(drive text "$dialog" $IDC_ADD_KEY)"
check_soon "and closes the list" 0 eval 'drive list "$dialog" $IDC_ADD_KEY_LIST | value_of visible'
check_soon "the dialog stays open" 1 eval 'drive visible "$dialog" | value_of visible'
drive click "$dialog" $IDC_ADD_CANCEL
wait_until 10 host_done >/dev/null

# "Dest" 0 or a window that is no receiver: the entry waits in the mailbox,
# the user is told so, and the launcher files it at its next look.
for dest in 0 stale; do
  run_host 'C:\docs\one.txt'
  dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
  drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
  value=$dest; [ "$dest" = stale ] && value=$dialog   # a live window that never published itself
  mailbox_write sdfggsadf Dest "$value"
  drive click "$dialog" $IDC_ADD_OK
  check "with Dest $dest the user learns that the entry waits" grep -q 'did not answer in time' <<<"$(message_box_text)"
  check "and the dialog closes" wait_until 10 host_done
  check_eq "nothing is added yet (Dest $dest)" "$size_before" "$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")"
  mailbox_write sdfggsadf Dest "$LAUNCHER"
  drive send "$LAUNCHER" 1044 0 0 >/dev/null
  check "the launcher files the waiting entry at its next look (Dest $dest)" \
    test "$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")" -gt "$size_before"
  size_before=$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")
done

# A launcher that does not answer (stopped): the extension gives up after a
# few seconds, Explorer's window is free again, and the entry arrives once
# the launcher answers.
launcher_unix=$(pgrep -f 'Program Files.Tavrolinex.Tavrolinex\.exe' | head -n 1)
run_host 'C:\docs\README'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
kill -STOP "$launcher_unix"
t0=$(date +%s)
drive click "$dialog" $IDC_ADD_OK
told=$(message_box_text 20000)
waited=$(( $(date +%s) - t0 ))
check "with the launcher stopped the user learns within the limit that the entry waits (${waited} s)" \
  bash -c "grep -q 'did not answer in time' <<<'$told' && [ $waited -le 12 ]"
check "and Explorer gets its window back" wait_until 10 host_done
kill -CONT "$launcher_unix"
readme_filed() { filed_in Work README; }
wait_until 10 readme_filed || drive send "$LAUNCHER" 1044 0 0 >/dev/null
check "the entry arrives once the launcher answers" wait_until 10 readme_filed
size_before=$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")

# A mailbox that cannot be written: the dialog says so and stays open.
mv "$TVX_INSTALL_UNIX/Mailbox.ini" "$TVX_BUILD/shellext-mailbox.ini"
mkdir "$TVX_INSTALL_UNIX/Mailbox.ini"
run_host 'C:\docs\one.txt'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
drive click "$dialog" $IDC_ADD_OK
check "a mailbox that cannot be written is named in a message" grep -q 'cannot be written.*Mailbox.ini' <<<"$(message_box_text)"
check_soon "and the dialog stays open" 1 eval 'drive visible "$dialog" | value_of visible'
tvx_shot add_item_mailbox_unwritable
drive click "$dialog" $IDC_ADD_CANCEL
check "until it is cancelled" wait_until 10 host_done
check_eq "nothing is added" "$size_before" "$(size_of "$TVX_INSTALL_UNIX/Shortcut2.dat")"
rmdir "$TVX_INSTALL_UNIX/Mailbox.ini"
mv "$TVX_BUILD/shellext-mailbox.ini" "$TVX_INSTALL_UNIX/Mailbox.ini"

# One dialog at a time: a second window's command brings the open one forward.
run_host --twice 'C:\docs\one.txt'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
second_done() { grep -q '^invoke-second=' <(tr -d '\r' < "$HOST_LOG"); }
check "a second command while the dialog is open returns at once" wait_until 15 second_done
check_eq "with S_OK" 0x00000000 "$(host_value invoke-second)"
check_eq "the first dialog still open" 1 "$(host_value second-returned-while-first-open)"
drive click "$dialog" $IDC_ADD_CANCEL
wait_until 10 host_done >/dev/null

# No exception reaches Explorer: a failed allocation is an error code, and the host lives on.
for place in invoke add-item-dialog; do
  run_host --fail "$place" 'C:\docs\one.txt'
  check "a failed allocation in $place ends the command with E_OUTOFMEMORY" wait_until 15 host_done
  check_eq "the host got the error ($place)" 0x8007000E "$(host_value invoke-0)"
done

# The pre-fill request of another program, through the installation's mailbox
# (WIN.INI cannot be written here).
mailbox_write ghyjtytsadf Name ""
drive post "$LAUNCHER" 1054 0 0
check "the launcher handled the request" test "$(drive sync "$LAUNCHER" $IDC_FIND_SHORT)" = synced
check_eq "a pre-fill request without a Name opens nothing" timeout "$(drive wait-ctl $IDC_ADD_TREE_PROG 500)"
mailbox_write ghyjtytsadf Name "From outside"
mailbox_write ghyjtytsadf ShortName "fo"
mailbox_write ghyjtytsadf ExePath 'C:\docs\two.txt'
drive post "$LAUNCHER" 1054 0 0
own=$(drive wait-ctl $IDC_ADD_TREE_PROG 10000 | value_of hwnd)
check "a pre-fill request opens the program's add-item dialog" test -n "$own"
if [ -n "$own" ]; then
  check_soon "with the short name preset" fo eval 'drive text "$own" $IDC_ADD_SHORT_NAME'
  check_soon "and no name: the request's Name only asks for the dialog" "" eval 'drive text "$own" $IDC_ADD_NAME'
  tvx_shot add_item_program_copy
  drive click-at "$own" $IDC_ADD_NAME
  drive type "Outside"
  drive tree-select "$own" $IDC_ADD_TREE_PROG 0/0 >/dev/null
  drive click "$own" $IDC_ADD_OK
  check "its entry arrives in the chosen catalog" wait_until 10 filed_in Work/Sub Outside
fi

# A GBK file name whose first character ends in the byte of "\" (C:\docs\诊断.txt
# in its traditional form 診, D4 5C): the title is found by characters.
run_host 'hex:433A5C646F63735CD45CB6CF2E747874'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
check_soon "a GBK name whose character ends in 0x5C keeps its whole title" "診断" eval 'drive text "$dialog" $IDC_ADD_NAME'
check_soon "and its description" "診断" eval 'drive text "$dialog" $IDC_ADD_DESCRIPTION'
[ -n "$dialog" ] && drive click "$dialog" $IDC_ADD_CANCEL
wait_until 10 host_done >/dev/null

# A Description of three lines, one of them looking like a key of the section.
run_host 'C:\docs\two.txt'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
if [ -n "$dialog" ]; then
  drive click-at "$dialog" $IDC_ADD_DESCRIPTION
  drive key end
  drive key enter
  drive type "NodeID=x"
  drive key enter
  drive type "third"
  drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
  drive click "$dialog" $IDC_ADD_OK
  wait_until 10 host_done >/dev/null
fi
has_description() { python3 -c 'import sys; sys.exit(0 if b"two\r\nNodeID=x\r\nthird" in open(sys.argv[1],"rb").read() else 1)' "$1"; }
check "a three-line Description arrives whole in the item file" wait_until 5 has_description "$TVX_INSTALL_UNIX/Shortcut2.dat"
check "as one entry filed in the chosen catalog" filed_in Work two
section_keys=$(tr -d '\r' < "$TVX_INSTALL_UNIX/Mailbox.ini" | sed -n '/^\[sdfggsadf\]/,/^\[/p' | sed -n 's/^\([^=[][^=]*\)=.*/\1/p' | sort | tr '\n' ' ')
check_eq "and the section holds only the hand-over's keys, its Name taken on receipt" "Description Dest ExePath Hotkey1 Hotkey2 NodeID ShortName " "$section_keys"

# Short names of characters beyond GB2312 level 1: 昕 (level 2) in 福昕阅读器,
# the traditional 記 in 記事本.
run_host 'hex:433A5C646F63735CB8A3EABFD4C4B6C1C6F72E657865'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
check_soon "a name with a level-2 character gets its reading's initial" fxyd eval 'drive text "$dialog" $IDC_ADD_SHORT_NAME'
if [ -n "$dialog" ]; then
  drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
  drive click "$dialog" $IDC_ADD_OK
  wait_until 10 host_done >/dev/null
fi
run_host 'hex:433A5C646F63735CD39BCAC2B1BE2E747874'
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
check_soon "a traditional character gets its reading's initial" jsb eval 'drive text "$dialog" $IDC_ADD_SHORT_NAME'
[ -n "$dialog" ] && drive click "$dialog" $IDC_ADD_CANCEL
wait_until 10 host_done >/dev/null
filed_fx() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX" | grep -q "	fxyd	"; }
wait_until 10 filed_fx
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive key end
drive key back 20
drive type fx
drive key down  # into the list, on the row found
drive key down
drive key up
check_soon "typing fx in the launcher finds the filed entry" "福昕阅读器" eval 'drive text "$LAUNCHER" $IDC_FIND_NAME'
drive key esc

# A program whose folder and name the code page (936) cannot write: Add To
# files it by its short path, names it with marks, and the entry starts.
outside="$DOCS/한국 😀"
mkdir -p "$outside" && cp "$TVX_BIN/tvxhelper.exe" "$outside/kr한국.exe"
run_host "u8hex:$(printf '%s' 'C:\docs\한국 😀\kr한국.exe' | od -An -tx1 | tr -d ' \n')"
dialog=$(drive wait-ctl $IDC_ADD_TREE_EXT 20000 | value_of hwnd)
if [ -n "$dialog" ]; then
  check_soon "a name outside the code page is shown with a mark per missing character" "kr□□" eval 'drive text "$dialog" $IDC_ADD_NAME'
  drive tree-select "$dialog" $IDC_ADD_TREE_EXT 0 >/dev/null
  drive click "$dialog" $IDC_ADD_OK
  check "and is filed" wait_until 10 host_done
else
  fail "Add To opens the dialog for a name outside the code page"
fi
command_of_kr() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX" | awk -F'\t' '$1=="item" && $4 ~ /^kr/ {print $9}'; }
check "its command is the short path, without a ?" wait_until 10 eval '[[ "$(command_of_kr)" == *"~"* && "$(command_of_kr)" != *"?"* ]]'
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive key end
drive key back 20
drive type kr
drive key enter
check "the entry starts" wait_until 10 eval '[ -s "$WINEPREFIX/drive_c/shellext-helper.log" ]'

if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
unregistered() { ! key_exists "HKCR\\CLSID\\$CLSID"; }
check "at exit the class key is removed" wait_until 15 unregistered
for key in 'HKCR\ZevuvIviVov.WinShellExt.1' 'HKCR\ZevuvIviVov.WinShellExt' 'HKCR\*\ShellEx\ContextMenuHandlers\Tavrolinex' \
           'HKCR\TypeLib\{B387C6A0-E4C8-4506-87E1-62FC74D8748B}'; do
  check "$key is gone" bash -c "! WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all '$WINE64' reg query '$key' $REG_VIEW >/dev/null 2>&1"
done
for key in 'HKCR\CLSID' 'HKCR\*' 'HKCR\*\ShellEx' 'HKCR\*\ShellEx\ContextMenuHandlers'; do
  check "$key stays" key_exists "$key"
done
