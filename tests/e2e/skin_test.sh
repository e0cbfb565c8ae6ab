#!/usr/bin/env bash
# The skinned scroll bars, lists and trees of the launcher and the add-item
# dialog, driven with the mouse and keys as a person would: holding an arrow,
# paging through the track, dragging the thumb, the wheel, find-as-you-type,
# and a census of system scroll bars (there must be none).
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" skin || exit 1
tvx_xvfb_start || exit 1

# 300 entries e000..e299 in 40 catalogs: long lists and a tree that scrolls.
tvx_install "$TVX_DIST"
{
  for i in $(seq 0 299); do printf 'item\tEntry %03d\te%03d\t\t\tdescription %d\tC:\\\\x%d.exe\n' "$i" "$i" "$i" "$i"; done
  for c in $(seq 0 39); do printf 'catalog\tCatalog %02d\t%d,%d,%d\n' "$c" $((c*7)) $((c*7+1)) $((c*7+2)); done
} > "$TVX_BUILD/skin-items.txt"
"$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/skin-items.txt" "$TVX_INSTALL_UNIX" >/dev/null
# One button loses its hover picture: it must keep its normal look when hovered.
rm -f "$TVX_INSTALL_UNIX/Images/Config_02.png"

bar_value() { drive bar "$LAUNCHER" "$1" "$2" | value_of "$3"; }
thumb_top() { bar_value "$1" "$2" thumb | cut -d, -f1; }
list_value() { drive list "$LAUNCHER" "$1" | value_of "$2"; }

start_program
if ! wait_launcher; then fail "the launcher opens"; force_end_program; exit 0; fi

census=$(drive sysbars "$LAUNCHER")
check_eq "the launcher shows no system scroll bar at rest" 0 "$(value_of count <<<"$census")"
check_eq "the catalog tree has a skinned vertical bar" 1 "$(bar_value $IDC_CATALOG_TREE v visible)"
thumb_drawn() { [[ "$(bar_value "$1" "$2" thumb)" =~ ^[0-9]+,[1-9][0-9]*$ ]]; }  # TOP,LENGTH with a length
check "whose thumb is drawn, since 40 catalogs do not fit ($(bar_value $IDC_CATALOG_TREE v thumb))" thumb_drawn $IDC_CATALOG_TREE v
check_eq "the tree's horizontal bar has nothing to scroll: no thumb" "0,0" "$(bar_value $IDC_CATALOG_TREE h thumb)"
tvx_shot skin_launcher_tree

# Find as you type moves the list, and the thumb with it.
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive type e05
first_top=$(thumb_top $IDC_LIST_SHORT v)
check_eq "the open result list has its skinned bar" 1 "$(bar_value $IDC_LIST_SHORT v visible)"
check_soon "no system scroll bar while the list is open" 0 eval 'drive sysbars "$LAUNCHER" | value_of count'
clear_box $IDC_FIND_SHORT
drive type e250
check_eq "typing e250 selects row 250" 250 "$(list_value $IDC_LIST_SHORT sel)"
later_top=$(thumb_top $IDC_LIST_SHORT v)
check "and the thumb follows the list down (${first_top} -> ${later_top})" test "${later_top:-0}" -gt "${first_top:-999}"

# Holding the down arrow: one step at once, then after about 250 ms a step
# every 50 ms until release, and one last step on release over the arrow.
hold=$(drive hold "$LAUNCHER" $IDC_LIST_SHORT v second 1000)
start=$(value_of start <<<"$hold")
first_t=$(sed -n 's/^t=\([0-9]*\) pos=.*/\1/p' <<<"$hold" | head -n 1)
first_pos=$(sed -n 's/^t=[0-9]* pos=\([0-9]*\)/\1/p' <<<"$hold" | head -n 1)
second_t=$(sed -n 's/^t=\([0-9]*\) pos=.*/\1/p' <<<"$hold" | sed -n 2p)
held=$(value_of held <<<"$hold")
released=$(value_of released <<<"$hold")
# The rule in order, whatever the machine's speed: the press makes the first
# step, the repeat starts no sooner than about 250 ms after it, more steps
# follow while the arrow is held, and the release adds one (a repeat may fall
# between the last look and the release). How fast it is, is not judged here.
check_eq "pressing the down arrow scrolls one row at once" "$((start + 1))" "$first_pos"
gap=$(( ${second_t:-0} - ${first_t:-0} ))
check "the next step waits for the repeat delay (${gap} ms after the first)" test -n "${second_t:-}" -a "$gap" -ge 180
check "then it repeats while held ($start -> $held)" test "${held:-0}" -gt "$((start + 1))"
check "releasing over the arrow makes one last step ($held -> $released)" \
  test "$((released - held))" -ge 1 -a "$((released - held))" -le 2
check_eq "the list stays open while its bar is used" 1 "$(list_value $IDC_LIST_SHORT visible)"
tvx_shot skin_arrow_held

# A press on the track pages by what the list shows.
page=$(list_value $IDC_LIST_SHORT page)
hold=$(drive hold "$LAUNCHER" $IDC_LIST_SHORT v after 120)
moved=$(( $(value_of released <<<"$hold") - $(value_of start <<<"$hold") ))
check "a press on the track below the thumb moves by pages of $page rows ($moved)" \
  test "$moved" -ge "$page" -a "$((moved % page))" = 0

# Dragging the thumb to the end shows the last rows; the list stays open.
drive drag-thumb "$LAUNCHER" $IDC_LIST_SHORT v 1000 >/dev/null
count=$(list_value $IDC_LIST_SHORT count)
check_eq "dragging the thumb to the bottom shows the last row" "$((count - page))" "$(list_value $IDC_LIST_SHORT top)"
check_eq "and leaves the list open" 1 "$(list_value $IDC_LIST_SHORT visible)"
tvx_shot skin_launcher_long_list
drive drag-thumb "$LAUNCHER" $IDC_LIST_SHORT v 500 >/dev/null
mid=$(list_value $IDC_LIST_SHORT top)
check "dragging it half way shows the middle rows (top $mid)" test "$mid" -ge 130 -a "$mid" -le 170
drive drag-thumb "$LAUNCHER" $IDC_LIST_SHORT v 1000 >/dev/null
# Clicking a row then shows that entry (and closes the list, as a click on a row does).
drive click-at "$LAUNCHER" $IDC_LIST_SHORT
check_soon "clicking a row after scrolling shows that entry" "Entry 298" eval 'drive text "$LAUNCHER" $IDC_FIND_NAME'
check_soon "its description too" "description 298" eval 'drive text "$LAUNCHER" $IDC_DESCRIPTION'

# The horizontal bar of the short-name list scrolls its columns.
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive type e1
check "the short-name list's columns are wider than it: its horizontal bar has a thumb" thumb_drawn $IDC_LIST_SHORT h
drive key esc

# The wheel scrolls the tree and its bar follows.
drive click-at "$LAUNCHER" $IDC_CATALOG_TREE
drive key home
before=$(drive pos "$LAUNCHER" $IDC_CATALOG_TREE | value_of pos)
top_before=$(thumb_top $IDC_CATALOG_TREE v)
drive wheel "$LAUNCHER" $IDC_CATALOG_TREE -2
after=$(drive pos "$LAUNCHER" $IDC_CATALOG_TREE | value_of pos)
check "two wheel notches scroll the tree down ($before -> $after)" test "$after" -gt "$before"
check "and its thumb follows ($top_before -> $(thumb_top $IDC_CATALOG_TREE v))" test "$(thumb_top $IDC_CATALOG_TREE v)" -gt "$top_before"
drive wheel "$LAUNCHER" $IDC_CATALOG_TREE 1
check "a notch back scrolls it up again" test "$(drive pos "$LAUNCHER" $IDC_CATALOG_TREE | value_of pos)" -lt "$after"
hold=$(drive hold "$LAUNCHER" $IDC_CATALOG_TREE v second 100)
moved=$(( $(value_of released <<<"$hold") - $(value_of start <<<"$hold") ))
check "the tree's down arrow steps one node, and one more on release: $moved" test "$moved" -ge 2

# Hover images: a missing one leaves the normal look, a present one shows.
drive hover "$LAUNCHER" $IDC_IMPORT   # rest the pointer elsewhere first
normal=$(drive pixel "$LAUNCHER" $IDC_CONFIG 3 10 | value_of colour)
drive hover "$LAUNCHER" $IDC_CONFIG
check_eq "a button whose hover image is missing keeps its normal image while hovered" "$normal" \
  "$(drive pixel "$LAUNCHER" $IDC_CONFIG 3 10 | value_of colour)"
export_normal=$(drive pixel "$LAUNCHER" $IDC_EXPORT 3 10 | value_of colour)
drive hover "$LAUNCHER" $IDC_EXPORT
check "while a button with a hover image changes ($export_normal)" \
  test "$(drive pixel "$LAUNCHER" $IDC_EXPORT 3 10 | value_of colour)" != "$export_normal"

# The program's add-item dialog: its tree and key list.
drive profile-write ghyjtytsadf Name "Scroll test"
drive post "$LAUNCHER" 1054 0 0
dialog=$(drive wait-ctl $IDC_ADD_TREE_PROG 10000 | value_of hwnd)
check "a pre-fill request opens the add-item dialog" test -n "$dialog"
if [ -n "$dialog" ]; then
  check_soon "the add-item dialog shows no system scroll bar" 0 eval 'drive sysbars "$dialog" | value_of count'
  check_soon "its key list's bar is hidden with the list" 0 eval 'drive bar "$dialog" $IDC_ADD_KEY_LIST v | value_of visible'
  drive click "$dialog" $IDC_ADD_KEY_DROP
  key_bar_shown() { drive bar "$dialog" $IDC_ADD_KEY_LIST v | value_of visible; }
  check_soon "the open key list has its skinned bar" 1 key_bar_shown
  check_soon "and still no system scroll bar" 0 eval 'drive sysbars "$dialog" | value_of count'
  key_bar=$(drive bar "$dialog" $IDC_ADD_KEY_LIST v)
  check "the bar lies inside the dialog" test "$(value_of length <<<"$key_bar")" -gt 30
  drive hold "$dialog" $IDC_ADD_KEY_LIST v second 500 >/dev/null
  check "its down arrow scrolls the 48 keys" test "$(drive pos "$dialog" $IDC_ADD_KEY_LIST | value_of pos)" -gt 0
  check_soon "and a press on the bar leaves the key list open" 1 eval 'drive list "$dialog" $IDC_ADD_KEY_LIST | value_of visible'
  tvx_shot skin_add_item_key_list_open
  drive click "$dialog" $IDC_ADD_CANCEL 2>/dev/null
  drive click "$dialog" $IDC_ADD_EXIT_PROG
  drive gone-ctl $IDC_ADD_TREE_PROG 5000 >/dev/null
fi

if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
