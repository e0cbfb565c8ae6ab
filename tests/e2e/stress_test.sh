#!/usr/bin/env bash
# Damaged files at start and hostile input through the mailbox: the program
# never crashes or hangs, shows what it could read, tells the user once,
# keeps a dated copy of a damaged file before anything overwrites it, files
# every hand-over once or refuses it, and keeps its two files in agreement.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" stress || exit 1
tvx_xvfb_start || exit 1
tvx_install "$TVX_DIST"

ITEMS="$TVX_INSTALL_UNIX/Shortcut2.dat"
CATALOGS="$TVX_INSTALL_UNIX/Shortcut2.clg"
DAMAGED_TEXT="Some of your entries or catalogs could not be read: a file was damaged. Tavrolinex shows what it could read and kept a copy of the damaged file beside it, with the date in its name."
cat > "$TVX_BUILD/stress-items.txt" <<'EOF_ITEMS'
item	Alpha	al			first	C:\\alpha.exe
item	Beta	be			second	C:\\beta.exe
item	Gamma	ga			third	C:\\gamma.exe
item	Delta	de			fourth	C:\\delta.exe
catalog	Work	0,1,2,3
catalog	Other	2
EOF_ITEMS
write_data() { rm -f "$TVX_INSTALL_UNIX"/Shortcut2*; "$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/stress-items.txt" "$TVX_INSTALL_UNIX" >/dev/null; }
dump() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX"; }
agree() { [ "$(dump | tail -n 1)" = "agree=1" ]; }
live_names() { dump | awk -F'\t' '$1 == "item" && $3 == "0" { print $4 }' | tr '\n' ' ' | sed 's/ $//'; }
copies_of() { ls "$TVX_INSTALL_UNIX" | grep -c "^$1 (damaged [0-9-]* [0-9.]*)\.$2\$"; }
rows_shown() { drive list "$LAUNCHER" $IDC_LIST_SHORT | value_of count; }
# Starts the program; sets BOX_TEXT to the text of the message box it shows
# at start (pressing Ok), or "(none)". Runs in this shell so that LAUNCHER and
# PROGRAM_PID stay set.
start_and_read_box() {
  BOX_TEXT="(no launcher)"
  start_program
  wait_launcher 30000 || return 1
  local box
  box=$(drive wait-title Tavrolinex 4000 1 | value_of hwnd)
  if [ -z "$box" ]; then BOX_TEXT="(none)"; return 0; fi
  BOX_TEXT=$(drive text "$box" $IDC_MSG_TEXT)
  tvx_shot stress_damaged_file_message
  drive click "$box" 1
  drive gone-ctl $IDC_MSG_TEXT 4000 >/dev/null
}
send_entry() { # NAME: one hand-over, into no catalog
  mailbox_write sdfggsadf Name "$1"
  mailbox_write sdfggsadf ShortName "x"
  mailbox_write sdfggsadf Description "sent"
  mailbox_write sdfggsadf ExePath 'C:\sent.exe'
  mailbox_write sdfggsadf NodeID ""
  drive send "$LAUNCHER" 1044 0 0 >/dev/null
}

# ---- damaged item files -----------------------------------------------------------------
damage_case() { # NAME PYTHON-EXPRESSION-ON-b (the item file's bytes) EXPECTED-NAMES EXPECTED-WORK-MEMBERS
  write_data
  python3 -c "import sys; p = sys.argv[1]; b = open(p, 'rb').read(); open(p, 'wb').write($2)" "$ITEMS"
  cp "$ITEMS" "$TVX_BUILD/stress-original.dat"
  start_and_read_box
  check_eq "$1: the program starts and says so once" "$DAMAGED_TEXT" "$BOX_TEXT"
  check_eq "$1: the launcher shows what could be read" "$3" "$(live_names)"
  check_eq "$1: the catalogs keep only members that name a record" "$4" \
    "$(dump | awk -F'\t' '$1 == "catalog" && $2 == "Work" { print $3 }')"
  check_eq "$1: a dated copy of the damaged file is kept" 1 "$(copies_of Shortcut2 dat)"
  local copy
  copy=$(ls "$TVX_INSTALL_UNIX" | grep '^Shortcut2 (damaged .*)\.dat$' | head -n 1)
  check "$1: the copy holds the damaged bytes" cmp -s "$TVX_INSTALL_UNIX/$copy" "$TVX_BUILD/stress-original.dat"
  send_entry "After $1"
  check "$1: an entry received afterwards is filed and the files agree" \
    bash -c "'$TVX_BUILD/native/tvx_dump_data' '$TVX_INSTALL_UNIX' | grep -q 'After $1' && [ \"\$('$TVX_BUILD/native/tvx_dump_data' '$TVX_INSTALL_UNIX' | tail -n 1)\" = agree=1 ]"
  check "$1: the copy is still there as it was" cmp -s "$TVX_INSTALL_UNIX/$copy" "$TVX_BUILD/stress-original.dat"
  exit_program || force_end_program
  start_and_read_box
  check_eq "$1: the next start says nothing" "(none)" "$BOX_TEXT"
  exit_program || force_end_program
  rm -f "$TVX_INSTALL_UNIX"/Shortcut2\ \(damaged*
}
damage_case "a truncated item file" "b[:len(b) - 7]" "Alpha Beta Gamma" "0,1,2"
damage_case "an item file with garbage after its records" "b + b'0012garbage that is no record'" "Alpha Beta Gamma Delta" "0,1,2,3"
damage_case "an item file whose count is larger than it holds" "b[:100] + b'%016d' % 9 + b[116:]" "Alpha Beta Gamma Delta" "0,1,2,3"
damage_case "an item file of garbage" "b'\\x00' * 30 + b'\\xff' * 500" "" ""

# ---- a damaged catalog file ----------------------------------------------------------------
write_data
printf '%s' "$(cat "$CATALOGS")\\NOT-A-KNOWN-PARENT|Lost|44444444-4444-4444-4444-444444444444" > "$CATALOGS"
cp "$CATALOGS" "$TVX_BUILD/stress-original.clg"
start_and_read_box
check_eq "a damaged catalog file: the program starts and says so once" "$DAMAGED_TEXT" "$BOX_TEXT"
check_soon "the catalogs it could read are shown" 3 eval 'drive tree-count "$LAUNCHER" $IDC_CATALOG_TREE | value_of count'
copy=$(ls "$TVX_INSTALL_UNIX" | grep '^Shortcut2 (damaged .*)\.clg$' | head -n 1)
check "a dated copy of the catalog file holds its damaged bytes" cmp -s "$TVX_INSTALL_UNIX/$copy" "$TVX_BUILD/stress-original.clg"
check "the catalog file is whole again and agrees with the item file" agree
exit_program || force_end_program

# ---- hostile values through the mailbox ------------------------------------------------------
write_data
start_program
wait_launcher 30000 || { fail "the launcher comes up for the mailbox cases"; exit 1; }
long_name=$(printf 'N%.0s' $(seq 1 3000))
long_path="C:\\$(printf 'p%.0s' $(seq 1 5000)).exe"
mailbox_write sdfggsadf Name "$long_name"
mailbox_write sdfggsadf ShortName ""
mailbox_write sdfggsadf Description "$(printf 'd%.0s' $(seq 1 20000))"
mailbox_write sdfggsadf ExePath "$long_path"
mailbox_write sdfggsadf NodeID "$(printf 'x%.0s' $(seq 1 500))"
drive send "$LAUNCHER" 1044 0 0 >/dev/null
check "over-long values are filed cut to their buffers" bash -c "'$TVX_BUILD/native/tvx_dump_data' '$TVX_INSTALL_UNIX' | awk -F'\t' '\$1==\"item\" && \$2==4 { exit !(length(\$4) < 3000 && length(\$4) > 200) }'"
mailbox_write sdfggsadf Name ""
mailbox_write sdfggsadf ExePath "C:\\empty-name.exe"
drive send "$LAUNCHER" 1044 0 0 >/dev/null
check_eq "an empty Name is refused" 5 "$(dump | awk -F'\t' '$1=="item"' | wc -l)"
# Bytes that are no GBK text: lone lead bytes, a trail byte out of range.
python3 - "$TVX_INSTALL_UNIX/Mailbox.ini" <<'EOF_PY'
import sys, re
p = sys.argv[1]
b = open(p, 'rb').read()
section = b'[sdfggsadf]\r\n'
values = b'Name=Odd \x81\r\nShortName=\xff\xfe\x80\r\nDescription=bad \x81\x20 bytes \xd4\r\nExePath=C:\\odd\x81.exe\r\nNodeID=\r\n'
i = b.find(section)
if i >= 0:
    j = b.find(b'\r\n[', i + len(section))
    b = b[:i] + section + values + (b[j + 2:] if j >= 0 else b'')
else:
    b += b'\r\n' + section + values
open(p, 'wb').write(b)
EOF_PY
drive send "$LAUNCHER" 1044 0 0 >/dev/null
fields_of() { dump | LC_ALL=C awk -F'\t' -v i="$1" '$1=="item" && $2==i { print $4 "|" $5 "|" $8 "|" $9 }'; }
check_eq "bytes that are no GBK text are filed as they came" \
  "$(printf 'Odd \x81|\xff\xfe\x80|bad \x81\x20 bytes \xd4|C:\\\\odd\x81.exe')" "$(fields_of 5)"
# A value holding a NUL: the profile ends it there.
python3 - "$TVX_INSTALL_UNIX/Mailbox.ini" <<'EOF_PY'
import sys
p = sys.argv[1]
b = open(p, 'rb').read()
i = b.find(b'[sdfggsadf]\r\n')
j = b.find(b'\r\n[', i + 13)
values = b'Name=Before\x00after\r\nShortName=nul\r\nDescription=\x00\r\nExePath=C:\\nul.exe\r\nNodeID=\r\n'
b = b[:i] + b'[sdfggsadf]\r\n' + values + (b[j + 2:] if j >= 0 else b'')
open(p, 'wb').write(b)
EOF_PY
drive send "$LAUNCHER" 1044 0 0 >/dev/null
nul_item=$(fields_of 6)
check "a value holding a NUL is filed up to the NUL or refused, never garbled ($nul_item)" \
  test "$nul_item" = 'Before|nul||C:\\nul.exe' -o -z "$nul_item"
check_eq "and nothing else was filed" "$([ -n "$nul_item" ] && echo 7 || echo 6)" "$(dump | awk -F'\t' '$1=="item"' | wc -l)"
check "after the hostile values the files agree" agree

# ---- a flood of message 1044 from another process ------------------------------------------------
before=$(dump | awk -F'\t' '$1=="item"' | wc -l)
flood=$(drive mail-flood "$LAUNCHER" 200 Flood "$(mailbox_file_win)")
echo "$flood" | sed 's/^/  /'
check_eq "200 hand-overs sent one after the other are all answered" 200 "$(echo "$flood" | value_of answered)"
check_eq "each is filed exactly once" "$((before + 200)) 200" \
  "$(dump | awk -F'\t' '$1=="item"' | wc -l) $(dump | awk -F'\t' '$1=="item" && $4 ~ /^Flood [0-9]+$/ { print $4 }' | sort -u | wc -l)"
posted=$(drive post-flood "$LAUNCHER" 200 Posted "$(mailbox_file_win)")
check "the window stays responsive under 200 posted messages and handles them all" \
  test "$(drive sync "$LAUNCHER" $IDC_FIND_SHORT)" = synced
check_eq "one hand-over announced 200 times is filed once" 1 \
  "$(dump | awk -F'\t' '$1=="item" && $4 == "Posted"' | wc -l)"
check "after the flood the files agree" agree
check_soon "the launcher still answers" 1 eval 'drive visible "$LAUNCHER" | value_of visible'
if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
