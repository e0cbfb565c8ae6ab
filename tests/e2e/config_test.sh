#!/usr/bin/env bash
# The configuration dialog as a person uses it, from the launcher's
# Configuration button: catalogs made, renamed, moved and deleted; items
# turned into candidates and back; short names, hot keys and descriptions
# set; saving in every way; entries arriving from another process while the
# dialog is open; files dropped from a file manager; and the files checked
# after each step with the program's own decoder.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" config || exit 1
tvx_xvfb_start || exit 1

HELPER='C:\Program Files\Tavrolinex\tvxhelper.exe'
LOG_UNIX="$WINEPREFIX/drive_c/helper.log"
export TVX_HELPER_LOG='C:\helper.log'
export TVX_TIMINGS='C:\config-timings.txt'  # the program's own counts (failed tree deletions)
tvx_install "$TVX_DIST"
cp "$TVX_BIN/tvxhelper.exe" "$TVX_INSTALL_UNIX/"
sed "s/@HELPER@/$(printf '%s' "$HELPER" | sed 's/\\/\\\\\\\\/g')/g" > "$TVX_BUILD/config-items.txt" <<'EOF_ITEMS'
item	Alpha	ab	Ctrl	F11	first	@HELPER@ run-Alpha
item	Beta	be			second	@HELPER@ run-Beta
item	Gamma	ga			third	@HELPER@ run-Gamma
item	Delta	de	Alt	D	fourth	@HELPER@ run-Delta
catalog	Work	0,1
catalog	Games	3
EOF_ITEMS
"$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/config-items.txt" "$TVX_INSTALL_UNIX" >/dev/null
rm -f "$LOG_UNIX"

dump() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX"; }
catalog_of() { dump | awk -F'\t' -v p="$1" '$1 == "catalog" && $2 == p { print $3; found = 1 } END { if (!found) print "(none)" }'; }
item_field() { dump | awk -F'\t' -v n="$1" -v f="$2" '$1 == "item" && $4 == n { print $f; exit }'; }
count_of() { drive list "$CFG" "$1" | value_of count; }
box_text() { drive text "$CFG" "$1"; }
# Waits for the program's message box with the given button; prints its text
# and presses the button. Prints "(no box)" when none comes.
answer() {
  local box
  box=$(drive wait-title Tavrolinex "${2:-6000}" "$1" | value_of hwnd)
  if [ -z "$box" ]; then echo "(no box)"; return 1; fi
  drive text "$box" $IDC_MSG_TEXT
  drive click "$box" "$1"
  drive gone-ctl $IDC_MSG_TEXT 4000 >/dev/null
}
# Opens a catalog as a person does: a click on its row, then the Right key.
expand_node() { expand_tree_node "$CFG" $IDC_CFG_TREE "$1"; }
leaves_of() { tree_node_children "$CFG" $IDC_CFG_TREE "$1"; }
open_config() { open_config_dialog; }
type_into() { type_into_box "$CFG" "$1" "$2"; }
click_cell() { # LIST ROW COLUMN
  local x y
  eval "$(drive list-cell "$CFG" "$1" "$2" "$3" | sed -n 's/^\([xy]\)=/\1=/p')"
  drive click-screen "$x" "$y"
}

start_program
if ! wait_launcher; then fail "the launcher opens"; force_end_program; exit 0; fi
if ! open_config; then fail "Configuration opens the dialog"; force_end_program; exit 0; fi
check_eq "every button of the dialog has a name for screen readers" "" "$(nameless_buttons "$CFG")"
drive click-at "$CFG" $IDC_CFG_CATALOG_NAME
check_eq "Tab reaches every control of the dialog that takes the focus" "" "$(missed_by_tab "$CFG" 90)"
pass "Configuration opens the dialog"
check_eq "opening writes the editing mark into the item file" 1 "$(dump | head -n 1 | sed 's/.*mark=//')"
check_eq "the dialog is the mailbox destination while open" "$CFG" \
  "$(mailbox_value sdfggsadf Dest)"
check_eq "after its first tick the root lists every live item" 4 "$(count_of $IDC_CFG_ITEMS)"
check_eq "and the first row is shown in the item-info box" ab "$(box_text $IDC_CFG_SHORT)"

# --- sorting and finding (the root lists Alpha ab, Beta be, Gamma ga, Delta de) -------
eval "$(drive header-point "$CFG" $IDC_CFG_ITEMS 0)"
drive click-screen "$x" "$y"
sleep 0.7  # two clicks, not a double click
drive click-screen "$x" "$y"
click_cell $IDC_CFG_ITEMS 0 0
check_eq "a second click on the Name header sorts descending" ga "$(box_text $IDC_CFG_SHORT)"
type_into $IDC_CFG_ITEM_FIND de
check_eq "the item find box selects by name prefix" de "$(box_text $IDC_CFG_SHORT)"
drive click-at "$CFG" $IDC_CFG_FIND_BY_SHORT
type_into $IDC_CFG_ITEM_FIND B
check_eq "with ShortName checked it finds the short name containing the text" be "$(box_text $IDC_CFG_SHORT)"
drive click-at "$CFG" $IDC_CFG_FIND_BY_SHORT
tvx_shot config_sorted

# --- catalogs ----------------------------------------------------------------------
drive tree-select "$CFG" $IDC_CFG_TREE >/dev/null
type_into $IDC_CFG_CATALOG_NAME Tools
drive click "$CFG" $IDC_CFG_CATALOG_ADD
check_soon "Add makes a catalog under the root" 4 eval 'drive tree-count "$CFG" $IDC_CFG_TREE | value_of count'
drive tree-select "$CFG" $IDC_CFG_TREE 2 >/dev/null
type_into $IDC_CFG_CATALOG_NAME Sub
drive key enter
check_soon "Enter in the name box adds a sub-catalog" 5 eval 'drive tree-count "$CFG" $IDC_CFG_TREE | value_of count'
drive tree-select "$CFG" $IDC_CFG_TREE 2/0 >/dev/null
type_into $IDC_CFG_CATALOG_NAME "Sub|x"
drive click "$CFG" $IDC_CFG_CATALOG_UPDATE
type_into $IDC_CFG_CATALOG_NAME ""
drive click "$CFG" $IDC_CFG_CATALOG_ADD
check "an empty catalog name is refused" grep -q 'catalog name' <<<"$(answer 1)"
drive click "$CFG" $IDC_CFG_SAVE
check "Save says the changes were saved" grep -q 'saved' <<<"$(answer 1)"
check_eq "the catalog file holds the renamed sub-catalog (| replaced)" "" "$(catalog_of 'Tools/Sub_x')"
check_eq "a save clears the editing mark" 0 "$(dump | head -n 1 | sed 's/.*mark=//')"
drive tree-select "$CFG" $IDC_CFG_TREE 2 >/dev/null
drive click "$CFG" $IDC_CFG_CATALOG_DEL
check_eq "Del removes the whole branch without a question" "(no box)" "$(answer 1 1500)"
check_soon "both catalogs are gone from the tree" 3 eval 'drive tree-count "$CFG" $IDC_CFG_TREE | value_of count'

# --- items and candidates -------------------------------------------------------------
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null
check_eq "Work lists its two items" 2 "$(count_of $IDC_CFG_ITEMS)"
expand_node 0
check_soon "and shows them as leaves under it once opened, in the list's order" "Beta Alpha " leaves_of 0
# The last leaf chosen in the tree, then ">": the leaf the tree has selected goes.
drive tree-select "$CFG" $IDC_CFG_TREE 0/1 >/dev/null
drive click "$CFG" $IDC_CFG_REMOVE_SELECTED
check_soon "> removes the selected item" 1 count_of $IDC_CFG_ITEMS
check_eq "and offers it as a candidate" 1 "$(count_of $IDC_CFG_CANDIDATES)"
check_soon "its leaf goes with it" "Beta " leaves_of 0
drive tree-select "$CFG" $IDC_CFG_TREE - >/dev/null
drive click "$CFG" $IDC_CFG_ADD_SELECTED
check "< without a catalog asks for one" grep -q 'select a catalog' <<<"$(answer 1)"
drive tree-select "$CFG" $IDC_CFG_TREE >/dev/null
drive click "$CFG" $IDC_CFG_ADD_SELECTED
check "< on the root asks for a sub-catalog" grep -q 'Sub-catalog' <<<"$(answer 1)"
drive click "$CFG" $IDC_CFG_ADD_ALL
check "<< on the root asks for a catalog" grep -q 'select a catalog' <<<"$(answer 1)"
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null
click_cell $IDC_CFG_CANDIDATES 0 0
drive click "$CFG" $IDC_CFG_ADD_SELECTED
check_soon "< turns the chosen candidate into an item of Work" "2 0" eval 'echo "$(count_of $IDC_CFG_ITEMS) $(count_of $IDC_CFG_CANDIDATES)"'
check_soon "and gets a leaf after the others" "Beta Alpha " leaves_of 0
tvx_shot config_filled_lists
drive tree-select "$CFG" $IDC_CFG_TREE 0/0 >/dev/null   # a leaf chosen, then ">>"
drive click "$CFG" $IDC_CFG_REMOVE_ALL
check "with >> a question comes first" grep -q 'Remove all' <<<"$(answer 6)"
check_eq ">> removes every listed item" "0 2" "$(count_of $IDC_CFG_ITEMS) $(count_of $IDC_CFG_CANDIDATES)"
drive click "$CFG" $IDC_CFG_ADD_ALL
check "<< asks before it adds every candidate" grep -q 'Add all' <<<"$(answer 6)"
check_eq "and adds them" "2 0" "$(count_of $IDC_CFG_ITEMS) $(count_of $IDC_CFG_CANDIDATES)"
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "removed items keep their slots as tombstones" "-1" "$(dump | awk -F'\t' '$1=="item" && $2==0 {print $3}')"
check_eq "and the new records follow them" 7 "$(dump | head -n 1 | sed 's/items=\([0-9]*\).*/\1/')"
# The leaves the tree had selected were each deleted once (the program
# counts failed deletions; on Windows a deleted tree item is freed memory).
check "leaves were deleted ($(timing_sum tree_leaves_deleted))" test "$(timing_sum tree_leaves_deleted)" -gt 0
check_eq "and none of them twice" 0 "$(timing_sum tree_leaf_deletes_failed)"

# --- the item-info box -------------------------------------------------------------------
click_cell $IDC_CFG_ITEMS 0 0
row_name=$(dump | awk -F'\t' -v s="$(box_text $IDC_CFG_SHORT)" '$1=="item" && $5==s && $3=="0" {print $4; exit}')
drive combo-select "$CFG" $IDC_CFG_HOTKEY1 0
drive click "$CFG" $IDC_CFG_HOTKEY2_DROP
key_popup_shown() { drive list "$CFG" $IDC_CFG_KEYS | value_of visible; }
check_soon "the drop button opens the key pop-up" 1 key_popup_shown
tvx_shot config_key_popup
drive key end
for i in $(seq 1 11); do drive key up; done
click_cell $IDC_CFG_KEYS 36 0
check_eq "a click in the pop-up takes the key (F1)" F1 "$(box_text $IDC_CFG_HOTKEY2)"
check_soon "and closes it" 0 eval 'drive list "$CFG" $IDC_CFG_KEYS | value_of visible'
type_into $IDC_CFG_SHORT set1
drive click "$CFG" $IDC_CFG_SET
check_eq "Set takes Ctrl+F1 beside Alpha's Ctrl+F11 (no containment match)" "(no box)" "$(answer 1 1500)"
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check_eq "the short name and the hot key are in the file" "set1 Ctrl F1" \
  "$(dump | awk -F'\t' -v n="$row_name" '$1=="item" && $4==n && $3=="0" {print $5, $6, $7; exit}')"
drive combo-select "$CFG" $IDC_CFG_HOTKEY1 1
drive click "$CFG" $IDC_CFG_HOTKEY2_DROP
wait_until 5 eval '[ "$(drive list "$CFG" $IDC_CFG_KEYS | value_of visible)" = 1 ]' || fail "the key pop-up opens"
drive key home
drive key down; drive key down; drive key down
click_cell $IDC_CFG_KEYS 3 0
check_eq "the pop-up takes D" D "$(box_text $IDC_CFG_HOTKEY2)"
drive click "$CFG" $IDC_CFG_SET
check "Alt+D of an item in another catalog is refused" grep -q 'already used' <<<"$(answer 1)"
drive click "$CFG" $IDC_CFG_RESET
check_soon "Reset empties the description" "" box_text $IDC_CFG_DESC
drive click "$CFG" $IDC_CFG_RESET_ALL
check "Reset All asks first" grep -q 'hot keys' <<<"$(answer 6)"
click_cell $IDC_CFG_ITEMS 0 0
drive click-at "$CFG" $IDC_CFG_DESC
drive type "kept"
drive click "$CFG" $IDC_CFG_SET
drive click "$CFG" $IDC_CFG_RESET_ALL
answer 6 >/dev/null
check_eq "Reset All keeps the description" kept "$(box_text $IDC_CFG_DESC)"
# In-place: a click on the ShortName cell of the selected row edits it there.
click_cell $IDC_CFG_ITEMS 0 1
drive type "zz"
drive click "$CFG" $IDC_CFG_SET
drive click "$CFG" $IDC_CFG_SAVE; answer 1 >/dev/null
check "an in-place edit of the short name is kept by Set" grep -q "zz" <<<"$(dump | awk -F'\t' -v n="$row_name" '$1=="item" && $4==n && $3=="0" {print $5}')"

# --- Ctrl+S ---------------------------------------------------------------------------------
drive tree-select "$CFG" $IDC_CFG_TREE >/dev/null
type_into $IDC_CFG_CATALOG_NAME ByCtrlS
drive click "$CFG" $IDC_CFG_CATALOG_ADD
drive click-at "$CFG" $IDC_CFG_CANDIDATES
xdotool key ctrl+s
check_eq "Ctrl+S saves without the message" "(no box)" "$(answer 1 2000)"
check_eq "and the new catalog is in the file" "" "$(catalog_of ByCtrlS)"
type_into $IDC_CFG_CATALOG_NAME NotSaved
drive click "$CFG" $IDC_CFG_CATALOG_ADD
drive window "Another program" 8000 > "$TVX_BUILD/config-other-keys.txt" &
other_pid=$!
other=$(drive wait-title "Another program" 5000 | value_of hwnd)
if [ -n "$other" ]; then
  eval "$(drive center "$other")"
  drive click-screen "$x" "$y"
  xdotool key ctrl+s
  # A later key that other program must see: by then the system has handed
  # Ctrl+S on, and once the dialog has handled what was posted since, it is done with it.
  xdotool key q
  check "the other program saw the key after Ctrl+S" wait_until 10 grep -q '^key=81' "$TVX_BUILD/config-other-keys.txt"
  check "and the dialog handled what was posted to it since" test "$(drive sync "$CFG" $IDC_CFG_CATALOG_NAME)" = synced
  check_eq "Ctrl+S while another program is active does nothing in the dialog" "(none)" "$(catalog_of NotSaved)"
else
  fail "another program's window opens beside the dialog"
fi
wait "$other_pid" 2>/dev/null

# --- files that cannot be written ---------------------------------------------------------
before=$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.dat")$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.clg")
chmod a-w "$TVX_INSTALL_UNIX/Shortcut2.dat"
drive click "$CFG" $IDC_CFG_SAVE
check "saving into a read-only item file says it failed" grep -q 'could not be saved' <<<"$(answer 1)"
check_eq "and both files are as they were" "$before" "$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.dat")$(md5sum < "$TVX_INSTALL_UNIX/Shortcut2.clg")"
check_soon "the dialog stays open with the changes" 1 eval 'drive visible "$CFG" | value_of visible'
chmod u+w "$TVX_INSTALL_UNIX/Shortcut2.dat"

# --- hiding the list --------------------------------------------------------------------------
drive click "$CFG" $IDC_CFG_HIDE_LIST
check_soon "Hide hides the item list" 0 eval 'drive list "$CFG" $IDC_CFG_ITEMS | value_of visible'
check_eq "and the button says Show" "Show items" "$(box_text $IDC_CFG_HIDE_LIST)"
tvx_shot config_list_hidden
drive click "$CFG" $IDC_CFG_HIDE_LIST
check_soon "Show brings it back" 1 eval 'drive list "$CFG" $IDC_CFG_ITEMS | value_of visible'

# The frame's close button: No discards what was not saved.
drive click "$CFG" $IDC_CFG_EXIT
check "the frame's close asks whether to save" grep -q 'save your changes' <<<"$(answer 7)"
check "and No closes the dialog" drive gone-ctl $IDC_CFG_TREE 8000
check_eq "without saving" "(none)" "$(catalog_of NotSaved)"
dest_is_launcher() { [ "$(mailbox_value sdfggsadf Dest)" = "$LAUNCHER" ]; }
check "the launcher is the mailbox destination again" wait_until 5 dest_is_launcher

# --- mailbox and dropped files while open; Ok ---------------------------------------------------
open_config || fail "the dialog opens again"
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null
expand_node 0
work_before=$(count_of $IDC_CFG_ITEMS)
work_id=$(grep -o "|Work|[0-9A-F-]*" "$TVX_INSTALL_UNIX/Shortcut2.clg" | cut -d'|' -f3)
mailbox_write sdfggsadf Name "Mailed"
mailbox_write sdfggsadf ShortName "ml"
mailbox_write sdfggsadf Description "from another process"
mailbox_write sdfggsadf ExePath "$HELPER mailed"
mailbox_write sdfggsadf NodeID "$work_id"
drive send "$CFG" 1044 0 0 >/dev/null
check_eq "an entry from the mailbox appears in its catalog at once" "$((work_before + 1))" "$(count_of $IDC_CFG_ITEMS)"
mailed=$(dump | awk -F'\t' '$1=="item" && $4=="Mailed" {print $2}')
check "both files are written and agree" test "$(dump | tail -n 1)" = agree=1 -a -n "$mailed"
check_eq "the catalog file names it under Work" "$mailed" "$(catalog_of Work | tr ',' '\n' | tail -n 1)"
eval "$(drive center "$CFG")"
helper_unix="$TVX_INSTALL_UNIX/tvxhelper.exe"
DISPLAY="$DISPLAY" "$TVX_BUILD/native/xdnd_drop" "$x" "$y" "$helper_unix"
check_eq "a file dropped from a file manager becomes an item of the catalog" "$((work_before + 2))" "$(count_of $IDC_CFG_ITEMS)"
last_leaf() { drive tree-children "$CFG" $IDC_CFG_TREE 0 | sed -n 's/^child\t//p' | tail -n 1 | sed 's/.*\\//'; }
check_soon "and the last leaf under it" "tvxhelper.exe $((work_before + 2))" \
  eval 'echo "$(last_leaf) $(drive tree-children "$CFG" $IDC_CFG_TREE 0 | value_of count)"'
long="$WINEPREFIX/drive_c/$(printf 'd%.0s' $(seq 1 120))"
long="$long/$(printf 'e%.0s' $(seq 1 120))/$(printf 'f%.0s' $(seq 1 120))/$(printf 'g%.0s' $(seq 1 120))/$(printf 'h%.0s' $(seq 1 120))"
mkdir -p "$long" && echo x > "$long/file.txt"
DISPLAY="$DISPLAY" "$TVX_BUILD/native/xdnd_drop" "$x" "$y" "$long/file.txt"
check "a dropped path too long for its buffer is refused with a message" grep -q 'too long' <<<"$(answer 1)"
check_eq "and adds nothing" "$((work_before + 2))" "$(count_of $IDC_CFG_ITEMS)"
# Names the code page (936) cannot write: Hangul and an emoji, in a folder
# named with them too. They come by their short names, shown with marks.
outside="$WINEPREFIX/drive_c/한국 😀"
mkdir -p "$outside" && cp "$TVX_BIN/tvxhelper.exe" "$outside/kr한국.exe" && cp "$TVX_BIN/tvxhelper.exe" "$outside/em😀.exe"
DISPLAY="$DISPLAY" "$TVX_BUILD/native/xdnd_drop" "$x" "$y" "$outside/kr한국.exe" "$outside/em😀.exe"
check_eq "files named outside the code page become items" "$((work_before + 4))" "$(count_of $IDC_CFG_ITEMS)"
# A catalog dragged onto another moves with its items.
drive tree-select "$CFG" $IDC_CFG_TREE >/dev/null
eval "$(drive tree-point "$CFG" $IDC_CFG_TREE 1 | sed 's/^/from_/')"
eval "$(drive tree-point "$CFG" $IDC_CFG_TREE 0 | sed 's/^/to_/')"
drive drag "$from_x" "$from_y" "$to_x" "$to_y"
# Windows ends the session (a logoff) while the dialog holds unsaved changes:
# it asks as its close button does, and Yes saves before the session ends.
drive send "$CFG" 0x11 0 0 > "$TVX_BUILD/config-endsession.txt" &   # WM_QUERYENDSESSION
ending=$!
check "a logoff with unsaved changes asks whether to save" grep -q 'save your changes' <<<"$(answer 6)"
wait "$ending"
check_eq "Yes saves and lets the session end" "result=1" "$(tr -d '\r' < "$TVX_BUILD/config-endsession.txt")"
check_eq "the dragged catalog is saved before the session ends" "3" "$(catalog_of Work/Games)"
check_eq "the end of the session is answered" "result=0" "$(drive send "$CFG" 0x16 1 0)"  # WM_ENDSESSION
drive click "$CFG" $IDC_CFG_OK
check "Ok saves" grep -q 'saved' <<<"$(answer 1)"
check "and closes" drive gone-ctl $IDC_CFG_TREE 8000
check_eq "the dragged catalog Games now lies under Work, members and all" "3" "$(catalog_of Work/Games)"
check_eq "the files agree" agree=1 "$(dump | tail -n 1)"
# Name (the full path), description (the title) with a mark for each missing
# character (the white square, A1F5 in GBK); the command the short path.
outside_items() { dump | awk -F'\t' '$1=="item" && ($8 ~ /^kr/ || $8 ~ /^em/) {print $4 "|" $8}' | sort | tr '\n' '/'; }
check_eq "named with a mark for each missing character" \
  "$(printf 'C:\\\\\xa1\xf5\xa1\xf5 \xa1\xf5\\\\em\xa1\xf5.exe|em\xa1\xf5/C:\\\\\xa1\xf5\xa1\xf5 \xa1\xf5\\\\kr\xa1\xf5\xa1\xf5.exe|kr\xa1\xf5\xa1\xf5/')" \
  "$(outside_items)"
check "their commands are short paths without a ?" \
  test "$(dump | awk -F'\t' '$1=="item" && ($8 ~ /^kr/ || $8 ~ /^em/) && $9 ~ /~/ && $9 !~ /[?]/' | wc -l)" = 2

# The launcher finds the dropped entry by its short name and starts it, once
# it has loaded the saved files again (its list then holds every named entry).
launcher_reloaded() {
  [ "$(drive list "$LAUNCHER" $IDC_LIST_NAME | value_of count)" = "$(dump | awk -F'\t' '$1=="item" && $3=="0" && $4!=""' | wc -l)" ]
}
check "the launcher lists the saved entries again" wait_until 15 launcher_reloaded
clear_box $IDC_FIND_SHORT
drive type tvxh
drive key enter
check "the launcher finds the new entry by its short name and starts it" wait_started 1
clear_box $IDC_FIND_SHORT
drive type kr
drive key enter
check "an entry named outside the code page starts by its short path" wait_started 2

if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
