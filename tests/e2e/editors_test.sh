#!/usr/bin/env bash
# The item editors, the composed box and batch replace, used as a person
# would from the configuration dialog, and the entries they make started from
# the launcher: custom commands of several lines, a clipboard entry captured
# anew (and cancelled, and kept when the dialog is cancelled), a composed
# entry of three members, and folder parts replaced in many commands.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" editors || exit 1
tvx_xvfb_start || exit 1

HELPER='C:\Program Files\Tavrolinex\tvxhelper.exe'
LOG_UNIX="$WINEPREFIX/drive_c/helper.log"
export TVX_HELPER_LOG='C:\helper.log'
export TVX_TIMINGS='C:\editors-timings.txt'  # the program's own counts (the configuration dialog's start)
tvx_install "$TVX_DIST"
cp "$TVX_BIN/tvxhelper.exe" "$TVX_INSTALL_UNIX/"
CLIP='0A0B0C0D-1111-4222-8333-444455556666'
DATA_WIN="$TVX_INSTALL_WIN\\Data"
# A clipboard data file holding the text "old text" (format 1, 9 bytes).
python3 -c 'import sys; open(sys.argv[1], "wb").write(b"1".ljust(8, b"\0") + b"9".ljust(8, b"\0") + b"old text\0")' \
  "$TVX_INSTALL_UNIX/Data/$CLIP.stx"
sed -e "s/@HELPER@/$(printf '%s' "$HELPER" | sed 's/\\/\\\\\\\\/g')/g" \
    -e "s/@CLIP@/$(printf '%s' "$DATA_WIN\\$CLIP.stx" | sed 's/\\/\\\\\\\\/g')/g" > "$TVX_BUILD/editors-items.txt" <<'EOF_ITEMS'
item	One	m1			first member	@HELPER@ m1
item	Two	m2			second member	@HELPER@ m2
item	Three	m3			third member	@HELPER@ m3
item	Panel	pn			a control panel	C:\\windows\\system32\\desk.cpl
item	Snippet	snip			stored text	@CLIP@
item	Old A	oa			moves	C:\\Old\\a.exe
item	Old B	ob			moves	C:\\Old\\b.exe
item	Elsewhere	ew			another catalog	C:\\Old\\c.exe
catalog	Work	0,1,2,3,4
catalog	Moving	5,6
catalog	Other	7
EOF_ITEMS
"$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/editors-items.txt" "$TVX_INSTALL_UNIX" >/dev/null
rm -f "$LOG_UNIX"

dump() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX"; }
field_of() { dump | awk -F'\t' -v n="$1" -v f="$2" '$1=="item" && $4==n && $3=="0" {print $f; exit}'; }
count_of() { drive list "$CFG" "$1" | value_of count; }
data_files() { ls "$TVX_INSTALL_UNIX/Data" | sort | tr '\n' ' '; }
clipboard_text() { drive get-clipboard | value_of text; }
answer() {
  local box
  box=$(drive wait-title Tavrolinex "${2:-15000}" "$1" | value_of hwnd)
  if [ -z "$box" ]; then echo "(no box)"; return 1; fi
  drive text "$box" $IDC_MSG_TEXT
  drive click "$box" "$1"
  drive gone-ctl $IDC_MSG_TEXT 4000 >/dev/null
}
open_config() { open_config_dialog 20; }
click_cell() { # LIST ROW COLUMN
  local x y
  eval "$(drive list-cell "$CFG" "$1" "$2" "$3" | sed -n 's/^\([xy]\)=/\1=/p')"
  drive click-screen "$x" "$y"
}
double_click_row() { # ROW
  local x y
  eval "$(drive list-cell "$CFG" $IDC_CFG_ITEMS "$1" 0 | sed -n 's/^\([xy]\)=/\1=/p')"
  drive double-click-screen "$x" "$y"
}
type_into() { type_into_box "$@"; }
run_from_launcher() { # SHORT-NAME
  type_into_box "$LAUNCHER" $IDC_FIND_SHORT "$1"
  drive key enter
}

start_program
if ! wait_launcher; then fail "the launcher opens"; force_end_program; exit 0; fi
open_config || { fail "the configuration dialog opens"; force_end_program; exit 0; }
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null

# --- "Custom": a command of two lines ------------------------------------------------------
drive click "$CFG" $IDC_CFG_CUSTOM
ED=$(drive wait-ctl $IDC_INFO_NAME 8000 | value_of hwnd)
check "Custom opens the Item Info editor" test -n "$ED"
type_into "$ED" $IDC_INFO_NAME "+ Mine"
type_into "$ED" $IDC_INFO_COMMAND 'c:\x.exe'
drive click "$ED" $IDC_INFO_OK
check "a name beginning with + is refused" grep -q 'must not begin' <<<"$(answer 1)"
type_into "$ED" $IDC_INFO_NAME "Both"
type_into "$ED" $IDC_INFO_COMMAND "$HELPER line1"
drive key enter
drive type "$HELPER line2"
tvx_shot editors_item_info
drive click "$ED" $IDC_INFO_OK
check "Ok takes the new entry" drive gone-ctl $IDC_INFO_NAME 5000
# "File..." appends one line per chosen file.
mkdir -p "$WINEPREFIX/drive_c/docs"; echo a > "$WINEPREFIX/drive_c/docs/a.txt"; echo b > "$WINEPREFIX/drive_c/docs/b.txt"
drive click "$CFG" $IDC_CFG_CUSTOM
ED=$(drive wait-ctl $IDC_INFO_NAME 8000 | value_of hwnd)
type_into "$ED" $IDC_INFO_COMMAND 'first line'
drive click "$ED" $IDC_INFO_FILE
open=$(drive wait-ctl 1148 10000 | value_of hwnd)
if [ -n "$open" ]; then
  type_into_box "$open" 1148 'C:\docs\'
  drive key enter
  # The chooser goes into the folder and empties its name box.
  wait_until 8 box_holds "$open" 1148 "" || fail "the file chooser goes into the typed folder"
  type_into_box "$open" 1148 '"a.txt" "b.txt"'
  drive key enter
  drive gone-ctl 1148 8000 >/dev/null
fi
check_eq "File... with two files appends two lines" 'first line  C:\docs\a.txt  C:\docs\b.txt' "$(drive text "$ED" $IDC_INFO_COMMAND)"
drive click "$ED" $IDC_INFO_CANCEL
drive gone-ctl $IDC_INFO_NAME 5000 >/dev/null

# --- a control-panel item keeps its command ------------------------------------------------
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null
double_click_row 3
ED=$(drive wait-ctl $IDC_INFO_NAME 8000 | value_of hwnd)
check_soon "the editor shows Command in place of a control-panel command" Command eval 'drive text "$ED" $IDC_INFO_COMMAND'
type_into "$ED" $IDC_INFO_NAME "Display Panel"
drive click "$ED" $IDC_INFO_OK
drive gone-ctl $IDC_INFO_NAME 5000 >/dev/null
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "renaming a control-panel item keeps its command" 'C:\\windows\\system32\\desk.cpl' "$(field_of 'Display Panel' 9)"
check_eq "the custom entry stores both lines" "$(printf '%s' "$HELPER" | sed 's/\\/\\\\/g') line1\\r\\n$(printf '%s' "$HELPER" | sed 's/\\/\\\\/g') line2" "$(field_of Both 9)"

# --- the clipboard editor ---------------------------------------------------------------------
files_before=$(data_files)
drive set-clipboard "abandoned text"
double_click_row 4
CE=$(drive wait-ctl $IDC_CLIP_NAME 8000 | value_of hwnd)
check "a clipboard entry opens the clipboard editor" test -n "$CE"
sleep 0.5; tvx_shot editors_clip_data
type_into "$CE" $IDC_CLIP_NAME "+ clip"
drive click "$CE" $IDC_CLIP_OK
check "the clipboard editor refuses a + name too" grep -q 'must not begin' <<<"$(answer 1)"
drive click "$CE" $IDC_CLIP_MODIFY
drive click "$CE" $IDC_CLIP_CANCEL
drive gone-ctl $IDC_CLIP_NAME 5000 >/dev/null
check_eq "Modify ClipData then Cancel keeps the old data and removes the new file" "$files_before" "$(data_files)"
# Ok, then the configuration dialog cancelled: the stored content must survive.
drive set-clipboard "never saved"
double_click_row 4
CE=$(drive wait-ctl $IDC_CLIP_NAME 8000 | value_of hwnd)
drive click "$CE" $IDC_CLIP_MODIFY
drive click "$CE" $IDC_CLIP_OK
drive gone-ctl $IDC_CLIP_NAME 5000 >/dev/null
check "the old data file stays until the dialog saves" test -f "$TVX_INSTALL_UNIX/Data/$CLIP.stx"
drive click "$CFG" $IDC_CFG_CANCEL
drive gone-ctl $IDC_CFG_TREE 8000 >/dev/null
check_eq "cancelling the dialog keeps the entry's data file and removes the new capture" "$files_before" "$(data_files)"
drive set-clipboard "something else"
run_from_launcher snip
check_soon "and the entry still restores its stored text" "old text" clipboard_text
# Now with a save: the new content is the entry's.
open_config || fail "the dialog opens again"
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null
drive set-clipboard "new text"
double_click_row 4
CE=$(drive wait-ctl $IDC_CLIP_NAME 8000 | value_of hwnd)
drive click "$CE" $IDC_CLIP_MODIFY
drive click "$CE" $IDC_CLIP_OK
drive gone-ctl $IDC_CLIP_NAME 5000 >/dev/null
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
new_file=$(field_of Snippet 9)
check "after the save the entry names a new data file" test "$new_file" != "$(printf '%s' "$DATA_WIN\\$CLIP.stx" | sed 's/\\/\\\\/g')"
check "and the replaced file is gone" test ! -f "$TVX_INSTALL_UNIX/Data/$CLIP.stx"

# --- a save whose catalog file cannot be written ------------------------------------------------
# Another program holds the catalog file: the item file is written, the
# message says so, and the capture the item file now names survives a Cancel.
drive set-clipboard "new text"  # the same content again, under a new name
double_click_row 4
CE=$(drive wait-ctl $IDC_CLIP_NAME 8000 | value_of hwnd)
drive click "$CE" $IDC_CLIP_MODIFY
drive click "$CE" $IDC_CLIP_OK
drive gone-ctl $IDC_CLIP_NAME 5000 >/dev/null
RELEASE_UNIX="$WINEPREFIX/drive_c/release-lock"
rm -f "$RELEASE_UNIX" "$TVX_BUILD/editors-lock.txt"
tvx_wine "$DRIVE" lock "$TVX_INSTALL_WIN\\Shortcut2.clg" 60000 'C:\release-lock' > "$TVX_BUILD/editors-lock.txt" 2>/dev/null &
LOCK_PID=$!
wait_until 20 grep -q locked "$TVX_BUILD/editors-lock.txt"
drive click "$CFG" $IDC_CFG_SAVE
check "a save whose catalog file cannot be written says the entries were saved" grep -q 'entries were saved' <<<"$(answer 1)"
kept=$(field_of Snippet 9 | sed 's/.*\\//')
drive click "$CFG" $IDC_CFG_CANCEL
drive gone-ctl $IDC_CFG_TREE 8000 >/dev/null
# The launcher reads both files again after the dialog and finds the catalog
# file still held: it keeps the catalogs it had, and an entry handed over
# for the root catalog once the file is free leaves the user's catalogs be.
check "the launcher notes the catalog file it could not read" \
  wait_until 15 eval '[ "$(timing_sum catalog_file_unread)" -gt 0 ]'
catalogs_before=$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.clg")
touch "$RELEASE_UNIX"; wait "$LOCK_PID" 2>/dev/null
check "Cancel afterwards keeps the data file the saved item file names" test -n "$kept" -a -f "$TVX_INSTALL_UNIX/Data/$kept"
mailbox_write sdfggsadf Name "Rooted"
mailbox_write sdfggsadf NodeID 885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF
drive send "$LAUNCHER" 1044 0 0 >/dev/null   # returns once the entry is filed
check "an entry handed over for the root is filed" test -n "$(dump | awk -F'\t' '$1=="item" && $4=="Rooted"')"
check_eq "and the catalog file still holds the user's catalogs" "$catalogs_before" \
  "$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.clg" 2>&1)"
open_config || fail "the dialog opens again"

# --- an entry handed over from Explorer while an editor is open ----------------------------------
drive tree-select "$CFG" $IDC_CFG_TREE >/dev/null      # the root: every entry
eval "$(drive header-point "$CFG" $IDC_CFG_ITEMS 0 | sed -n 's/^\([xy]\)=/\1=/p')"
drive click-screen "$x" "$y"                  # sorted by Name: "Both" is the first row
double_click_row 0
ED=$(drive wait-ctl $IDC_INFO_NAME 8000 | value_of hwnd)
check_soon "the editor opens the first row" "Both" eval 'drive text "$ED" $IDC_INFO_NAME'
drive mail-flood "$CFG" 1 Aardvark "$(mailbox_file_win)" >/dev/null  # sorts before it while the editor is open
type_into "$ED" $IDC_INFO_NAME "Bothy"
drive click "$ED" $IDC_INFO_OK
drive gone-ctl $IDC_INFO_NAME 5000 >/dev/null
close_config() { drive click "$CFG" $IDC_CFG_OK; answer 1 >/dev/null; drive gone-ctl $IDC_CFG_TREE 8000 >/dev/null; }
close_config
check_eq "Ok edits the entry that was opened, not the row now in its place" \
  "Aardvark 0|Bothy" "$(dump | awk -F'\t' '$1=="item" && $3=="0" && ($4=="Bothy" || $4=="Aardvark 0") {print $4}' | sort | paste -sd'|')"
check_eq "and the handed-over entry keeps its command" 'C:\\flood.exe' "$(field_of 'Aardvark 0' 9)"

# --- Del while "Not Change List" pins another catalog --------------------------------------------
members_of() { dump | awk -F'\t' -v c="$1" '$1=="catalog" && $2==c {print $3}'; }
open_config || fail "the dialog opens again"
# A renamed entry's leaf shows its new name.
drive tree-select "$CFG" $IDC_CFG_TREE 1 >/dev/null   # Moving
expand_tree_node "$CFG" $IDC_CFG_TREE 1
wait_until 5 eval '[ -n "$(tree_node_children "$CFG" $IDC_CFG_TREE 1)" ]'
double_click_row 0
ED=$(drive wait-ctl $IDC_INFO_NAME 8000 | value_of hwnd)
type_into "$ED" $IDC_INFO_NAME "Renamed Leaf"
drive click "$ED" $IDC_INFO_OK
drive gone-ctl $IDC_INFO_NAME 5000 >/dev/null
leaf_shows() { [[ " $(tree_node_children "$CFG" $IDC_CFG_TREE 1)" == *" $1 "* ]]; }
check "a renamed entry's leaf shows its new name" wait_until 5 leaf_shows "Renamed Leaf"
double_click_row 0   # and back, for the batch replace below
ED=$(drive wait-ctl $IDC_INFO_NAME 8000 | value_of hwnd)
type_into "$ED" $IDC_INFO_NAME "Old A"
drive click "$ED" $IDC_INFO_OK
drive gone-ctl $IDC_INFO_NAME 5000 >/dev/null
check "and again after the next rename" wait_until 5 leaf_shows "Old A"
drive tree-select "$CFG" $IDC_CFG_TREE 1 >/dev/null   # Moving
check_soon "Moving lists its two entries" 2 count_of $IDC_CFG_ITEMS
drive click-at "$CFG" $IDC_CFG_NOT_CHANGE_LIST                    # Not Change List
drive tree-select "$CFG" $IDC_CFG_TREE 2 >/dev/null   # Other
drive click "$CFG" $IDC_CFG_CATALOG_DEL                       # Del
check_soon "after Del the pinned catalog's rows are shown again" 2 count_of $IDC_CFG_ITEMS
eval "$(drive header-point "$CFG" $IDC_CFG_ITEMS 0 | sed -n 's/^\([xy]\)=/\1=/p')"
drive click-screen "$x" "$y"
close_config
check_eq "a header click then keeps the pinned catalog's members" "5,6" "$(members_of Moving)"
open_config || fail "the dialog opens again"
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null

# --- the composed box ------------------------------------------------------------------------
drive click-at "$CFG" $IDC_CFG_COMPOSED   # Composed Item
drive click "$CFG" $IDC_CFG_CLEAR_MEMBERS      # Clear
drive click-at "$CFG" $IDC_CFG_UNCHANGE_COMPOSED   # Unchange composed info: clicking rows leaves the box alone
type_into "$CFG" $IDC_CFG_COMP_NAME "Empty"
drive click "$CFG" $IDC_CFG_CREATE_COMP
check "Create Comp with no member says so" grep -q 'at least one' <<<"$(answer 1)"
for row in 0 1 2; do
  click_cell $IDC_CFG_ITEMS "$row" 0
  drive click "$CFG" $IDC_CFG_ADD_TO_COMP
done
check_eq "three members are added one by one" 3 "$(count_of $IDC_CFG_MEMBERS)"
# Three up twice to the top, then the new first member down once: One, Three, Two.
click_cell $IDC_CFG_MEMBERS 2 0
drive click "$CFG" $IDC_CFG_MEMBER_UP
drive click "$CFG" $IDC_CFG_MEMBER_UP
click_cell $IDC_CFG_MEMBERS 0 0
drive click "$CFG" $IDC_CFG_MEMBER_DOWN
type_into "$CFG" $IDC_CFG_COMP_NAME "Trio"
drive click "$CFG" $IDC_CFG_CREATE_COMP
check "Create Comp makes the composed entry" grep -q 'created' <<<"$(answer 1)"
tvx_shot editors_composed
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "it is stored as names, ^^^ and commands, in the box's order" \
  "One\\r\\nThree\\r\\nTwo^^^$(printf '%s' "$HELPER" | sed 's/\\/\\\\/g') m1\\r\\n$(printf '%s' "$HELPER" | sed 's/\\/\\\\/g') m3\\r\\n$(printf '%s' "$HELPER" | sed 's/\\/\\\\/g') m2" \
  "$(field_of '+ Trio' 9)"
drive click-at "$CFG" $IDC_CFG_UNCHANGE_COMPOSED   # clicks load the box again
click_cell $IDC_CFG_ITEMS 0 0
last=$(( $(count_of $IDC_CFG_ITEMS) - 1 ))
click_cell $IDC_CFG_ITEMS "$last" 0
check_eq "clicking the composed entry loads it into the box" "3 Trio" "$(count_of $IDC_CFG_MEMBERS) $(drive text "$CFG" $IDC_CFG_COMP_NAME)"

# --- batch replace ------------------------------------------------------------------------------
drive tree-select "$CFG" $IDC_CFG_TREE 1 >/dev/null
click_cell $IDC_CFG_ITEMS 8 0   # below the rows: no row stays selected
drive click "$CFG" $IDC_CFG_BATCH_REPLACE
BR=$(drive wait-ctl $IDC_REPL_PATH_FIND 8000 | value_of hwnd)
check "Batch Replace opens the Replacement Settings" test -n "$BR"
sleep 0.7; tvx_shot editors_batch_replace
drive click "$BR" $IDC_REPL_OK
check "an empty File Path find text is refused" grep -q 'find' <<<"$(answer 1)"
type_into "$BR" $IDC_REPL_PATH_FIND 'C:\Old'
type_into "$BR" $IDC_REPL_PATH_WITH 'D:\New'
drive click "$BR" $IDC_REPL_OK
check "a question comes before anything is replaced" grep -q 'Replace' <<<"$(answer 6)"
drive gone-ctl $IDC_REPL_PATH_FIND 8000 >/dev/null
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "every command of the listed catalog changes" 'D:\\New\\a.exe D:\\New\\b.exe' "$(field_of 'Old A' 9) $(field_of 'Old B' 9)"
check_eq "another catalog's does not" 'C:\\Old\\c.exe' "$(field_of Elsewhere 9)"
drive click "$CFG" $IDC_CFG_BATCH_REPLACE
BR=$(drive wait-ctl $IDC_REPL_PATH_FIND 8000 | value_of hwnd)
type_into "$BR" $IDC_REPL_PATH_FIND 'C:\Old'
type_into "$BR" $IDC_REPL_PATH_WITH 'D:\New'
drive click-at "$BR" $IDC_REPL_ALL_ITEMS
drive click "$BR" $IDC_REPL_OK
answer 6 >/dev/null
drive gone-ctl $IDC_REPL_PATH_FIND 8000 >/dev/null
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "Replace all items reaches every catalog" 'D:\\New\\c.exe' "$(field_of Elsewhere 9)"
before=$(dump)
drive click "$CFG" $IDC_CFG_BATCH_REPLACE
BR=$(drive wait-ctl $IDC_REPL_PATH_FIND 8000 | value_of hwnd)
type_into "$BR" $IDC_REPL_PATH_FIND 'D:\New'
type_into "$BR" $IDC_REPL_PATH_WITH 'E:\Other'
drive click-at "$BR" $IDC_REPL_ALL_ITEMS
drive click "$BR" $IDC_REPL_OK
answer 7 >/dev/null
drive gone-ctl $IDC_REPL_PATH_FIND 8000 >/dev/null
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "No to the question changes nothing" "$before" "$(dump)"
check_eq "but the find text was written as InstallPath" 'InstallPath=D:\New' \
  "$(tr -d '\r' < "$TVX_INSTALL_UNIX/Config.ini" | grep InstallPath)"

# Alt+F4 is the frame's close button: it asks, and Yes saves.
drive key alt+f4
check "Alt+F4 asks whether to save" grep -q 'save your changes' <<<"$(answer 6)"
answer 1 >/dev/null
check "and Yes saves and closes" drive gone-ctl $IDC_CFG_TREE 8000

# --- from the launcher ---------------------------------------------------------------------------
drive set-clipboard "something else"
run_from_launcher snip
check_soon "the clipboard entry puts its new content back" "new text" clipboard_text
rm -f "$LOG_UNIX"
run_from_launcher both
wait_until 5 bash -c "[ \$(wc -l < '$LOG_UNIX') -ge 2 ]" >/dev/null
check_eq "the custom entry starts its two lines in order" "line1 line2 " "$(tr -d '\r' < "$LOG_UNIX" | awk '{print $NF}' | tr '\n' ' ')"
rm -f "$LOG_UNIX"
run_from_launcher trio
wait_until 8 bash -c "[ \$(wc -l < '$LOG_UNIX' 2>/dev/null || echo 0) -ge 3 ]" >/dev/null
check_eq "the composed entry starts its three members in order" "m1 m3 m2 " "$(tr -d '\r' < "$LOG_UNIX" | awk '{print $NF}' | tr '\n' ' ')"
gaps=$(tr -d '\r' < "$LOG_UNIX" | awk 'NR>1 {printf "%d ", $1 - prev} {prev = $1}')
check "with a pause of about 500 ms before each next one ($gaps)" \
  bash -c "set -- $gaps; [ \$# -eq 2 ] || exit 1; for g; do [ \$g -ge 400 ] || exit 1; done"

if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi

# --- a start while another program holds the catalog file ----------------------------------------
# The launcher says which file it could not read, writes nothing into it, and
# reads it once it is free: an entry handed over for the root then leaves
# the user's catalogs in the file and brings them back to the tree.
rm -f "$RELEASE_UNIX" "$TVX_BUILD/editors-lock.txt"
tvx_wine "$DRIVE" lock "$TVX_INSTALL_WIN\\Shortcut2.clg" 60000 'C:\release-lock' > "$TVX_BUILD/editors-lock.txt" 2>/dev/null &
LOCK_PID=$!
wait_until 20 grep -q locked "$TVX_BUILD/editors-lock.txt"
catalogs_before=$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.clg")
start_program
box=$(drive wait-title Tavrolinex 30000 1 | value_of hwnd)
check "a start that cannot read the held catalog file names it" grep -q 'Shortcut2.clg' <<<"$(drive texts "$box")"
tvx_shot launcher_data_file_held
[ -n "$box" ] && drive click "$box" 1
touch "$RELEASE_UNIX"; wait "$LOCK_PID" 2>/dev/null
if wait_launcher; then
  mailbox_write sdfggsadf Name "Held start"
  mailbox_write sdfggsadf NodeID 885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF
  drive send "$LAUNCHER" 1044 0 0 >/dev/null
  check_eq "an entry handed over once the file is free leaves the catalogs in it" "$catalogs_before" \
    "$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.clg" 2>&1)"
  check "and the launcher's tree shows them again" \
    test "$(drive tree-count "$LAUNCHER" $IDC_CATALOG_TREE | value_of count)" -gt 1
  if exit_program; then pass "the second start ends"; else fail "the second start ends"; force_end_program; fi
else
  fail "the launcher opens while the catalog file is held"; force_end_program
fi
