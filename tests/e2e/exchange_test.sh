#!/usr/bin/env bash
# Export and import as a person does them from the launcher's buttons: two
# catalogs (one with a sub-catalog), a stored clipboard entry and a composed
# entry go into an archive, which is then loaded into a second installation
# whose entry of the same GUID is updated in place. The user's own things
# beside the archive are never touched, and damaged or hostile archives
# are refused with nothing written.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" exchange || exit 1
tvx_xvfb_start || exit 1

tvx_install "$TVX_DIST"
DATA_WIN="$TVX_INSTALL_WIN\\Data"
CLIP1='0A0B0C0D-1111-4222-8333-444455556666'
CLIP2='1A0B0C0D-1111-4222-8333-444455556666'
stx() { # FILE TEXT: a clipboard data file holding one text
  python3 -c 'import sys; t = sys.argv[2].encode() + b"\0"; open(sys.argv[1], "wb").write(b"1".ljust(8, b"\0") + str(len(t)).encode().ljust(8, b"\0") + t)' "$1" "$2"
}
stx "$TVX_INSTALL_UNIX/Data/$CLIP1.stx" "old text"
stx "$TVX_INSTALL_UNIX/Data/$CLIP2.stx" "other"
esc() { printf '%s' "$1" | sed 's/\\/\\\\\\\\/g'; }
sed -e "s/@C1@/$(esc "$DATA_WIN\\$CLIP1.stx")/g" -e "s/@C2@/$(esc "$DATA_WIN\\$CLIP2.stx")/g" \
  > "$TVX_BUILD/exchange-a.txt" <<'EOF_ITEMS'
item	Notepad	np	Ctrl	F7	the editor	C:\\windows\\notepad.exe
item	Snippet	snip			stored text	@C1@
item	+ Both	+both			two clips	Snippet\r\nOther^^^@C1@\r\n@C2@
item	Calc	calc			calculator	C:\\windows\\system32\\calc.exe
item	Paint	pnt			paint	C:\\windows\\system32\\mspaint.exe
item	Private	prv			stays home	C:\\private.exe
catalog	Work	0,1,2
catalog	Work/Sub	3
catalog	Tools	4
catalog	Home	5
EOF_ITEMS
"$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/exchange-a.txt" "$TVX_INSTALL_UNIX" >/dev/null

# The user's own folder: things that share the archive's title, and checksums of them.
BACKUP_UNIX="$WINEPREFIX/drive_c/Backup"
BACKUP_WIN='C:\Backup'
mkdir -p "$BACKUP_UNIX/Tools"
echo "the user's notes" > "$BACKUP_UNIX/Tools/notes.txt"
echo "user's own clg" > "$BACKUP_UNIX/Tools.clg"
echo "user's own dat" > "$BACKUP_UNIX/Tools.dat"
users_things() { (cd "$BACKUP_UNIX" && find Tools Tools.clg Tools.dat -type f -exec md5sum {} + | sort); }
USERS_THINGS=$(users_things)
# The temporary folder the program sees (Wine 8 and Wine 10 put it in different places).
TEMP_UNIX=$(tvx_wine winepath -u "$(tvx_wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')
mkdir -p "$TEMP_UNIX"
staging_count() { ls -d "$TEMP_UNIX"/Tavrolinex-*-*-* 2>/dev/null | wc -l; }
# What a killed earlier run left behind: its staging folder (unpacked
# clipboard contents) noting a partial archive beside the user's; and a
# folder of the same prefix that another program made.
DEAD="$TEMP_UNIX/Tavrolinex-7ffffff0-1-0"
PARTIAL="Tools.trn.tmp~$((0x7ffffff0))"
mkdir -p "$DEAD" "$TEMP_UNIX/Tavrolinex-notes"
: > "$DEAD/tavrolinex.staging"
echo "a password" > "$DEAD/secret.stx"
echo "half an archive" > "$BACKUP_UNIX/$PARTIAL"
printf '%s' "$BACKUP_WIN\\$PARTIAL" > "$DEAD/partial-archive.txt"
ARCHIVE_UNIX="$BACKUP_UNIX/Tools.trn"
ARCHIVE_WIN="$BACKUP_WIN\\Tools.trn"

answer() { # BUTTON [MS]: prints the text of the program's message box and presses BUTTON
  local box
  box=$(drive wait-title Tavrolinex "${2:-8000}" "$1" | value_of hwnd)
  if [ -z "$box" ]; then echo "(no box)"; return 1; fi
  drive text "$box" $IDC_MSG_TEXT
  drive click "$box" "$1"
  drive gone-ctl $IDC_MSG_TEXT 4000 >/dev/null
}
click_node() { # TREE-ID PATH: clicks a node of the dialog's tree as a person would
  local p
  p=$(drive tree-point "$EX" "$1" "$2")
  drive click-screen "$(echo "$p" | value_of x)" "$(echo "$p" | value_of y)"
  wait_until 5 node_selected "$1" "$2"
}
node_selected() { [ "$(drive tree-selected "$EX" "$1" | value_of path)" = "$2" ]; }
click_row() { # LIST-ID ROW
  local p
  p=$(drive list-cell "$EX" "$1" "$2" 0)
  drive click-screen "$(echo "$p" | value_of x)" "$(echo "$p" | value_of y)"
  wait_until 5 row_selected "$1" "$2"
}
row_selected() { [ "$(drive list "$EX" "$1" | value_of sel)" = "$2" ]; }
row_count() { drive list "$EX" "$1" | value_of count; }
node_count() { drive tree-count "$EX" "$1" | value_of count; }
path_box_is() { [ "$(drive text "$EX" $IDC_EX_PATH)" = "$1" ]; }
# The "..." button, then the file dialog as a person uses it: the path typed
# (and read back) and OK; when the dialog only went into the folder, the name
# typed again; a question whether to replace a file answered with Enter.
chooser_moved() { # CHOOSER EXPECTED-NAME-BOX
  [ "$(drive visible "$1" | value_of visible)" != 1 ] || [ "$(drive focused | value_of top)" != "$1" ] ||
    ! box_holds "$1" 1148 "$2"
}
choose_file() { # WINDOWS-PATH
  drive click "$EX" $IDC_EX_BROWSE &
  local clicker=$! chooser="" expect=$1 i
  for i in $(seq 1 40); do
    chooser=$(drive focused | value_of top)
    [ -n "$chooser" ] && [ "$chooser" != "$EX" ] && [ "$(drive focused | value_of id)" = 1148 ] && break
    chooser=""
    sleep 0.25
  done
  PROMPTED=0
  if [ -n "$chooser" ] && type_into_box "$chooser" 1148 "$1"; then
    drive click "$chooser" 1 >/dev/null
    for i in 1 2 3; do
      wait_until 8 chooser_moved "$chooser" "$expect"
      if [ "$(drive visible "$chooser" | value_of visible)" != 1 ]; then break
      elif [ "$(drive focused | value_of top)" != "$chooser" ]; then
        # The save dialog asks before replacing an existing file: Enter is its Yes.
        PROMPTED=1
        drive key enter
        expect=""
      else
        expect=${1##*\\}
        type_into_box "$chooser" 1148 "$expect"
        drive click "$chooser" 1 >/dev/null
      fi
    done
  fi
  wait "$clicker"
  wait_until 5 path_box_is "$1"
}
open_exchange() { # LAUNCHER-BUTTON
  drive click "$LAUNCHER" "$1"
  EX=$(drive wait-ctl $IDC_EX_LEFT_TREE 10000 | value_of hwnd)
  [ -n "$EX" ]
}
type_into() { type_into_box "$EX" "$1" "$2"; }

# ---- export from the first installation -------------------------------------------------
start_program
wait_launcher || { fail "the launcher comes up"; exit 1; }
check "a killed run's staging folder is gone after the next start" test ! -e "$DEAD"
check "and so is the partial archive it noted" test ! -e "$BACKUP_UNIX/$PARTIAL"
check "a folder of the same prefix that another program made stays" test -d "$TEMP_UNIX/Tavrolinex-notes"
open_exchange $IDC_EXPORT && pass "Export opens the exchange dialog" || { fail "Export opens the exchange dialog"; exit 1; }
check_eq "export mode hides Ok, Cancel and Load" "0 0 0" \
  "$(for id in $IDC_EX_OK $IDC_EX_CANCEL $IDC_EX_LOAD; do drive visible-ctl "$EX" $id | value_of visible; done | tr '\n' ' ' | sed 's/ $//')"
check_soon "the left tree shows the program's catalogs" 5 node_count $IDC_EX_LEFT_TREE
click_node $IDC_EX_LEFT_TREE 0
wait_until 3 test "$(drive text "$EX" $IDC_EX_LEFT_NAME)" = Work
check_eq "selecting a catalog fills the name box and the list" "Work 3" "$(drive text "$EX" $IDC_EX_LEFT_NAME) $(row_count $IDC_EX_LEFT_LIST)"
click_node $IDC_EX_RIGHT_TREE ""
drive click "$EX" $IDC_EX_COPY_TO_RIGHT
check_soon "a catalog copied with its items: Work and Sub on the right" 3 node_count $IDC_EX_RIGHT_TREE
click_node $IDC_EX_LEFT_TREE 1
click_node $IDC_EX_RIGHT_TREE ""
drive click "$EX" $IDC_EX_COPY_TO_RIGHT
click_node $IDC_EX_RIGHT_TREE ""
type_into $IDC_EX_RIGHT_NAME "Picked"
drive click "$EX" $IDC_EX_RIGHT_ADD
check_soon "+ adds a catalog on the right" 5 node_count $IDC_EX_RIGHT_TREE
click_node $IDC_EX_RIGHT_TREE 2
click_node $IDC_EX_LEFT_TREE ""
check_eq "the left root lists every entry" 6 "$(row_count $IDC_EX_LEFT_LIST)"
type_into $IDC_EX_LEFT_FIND "ca"
check_soon "the find box selects the first name beginning with the text" 3 eval 'drive list "$EX" $IDC_EX_LEFT_LIST | value_of sel'
drive click "$EX" $IDC_EX_TO_RIGHT
check_soon "the moved entry is listed on the right and gone from the left" "1 5" eval 'echo "$(row_count $IDC_EX_RIGHT_LIST) $(row_count $IDC_EX_LEFT_LIST)"'
click_node $IDC_EX_RIGHT_TREE ""
check_eq "the same entry moved twice is one entry of the export" 5 "$(row_count $IDC_EX_RIGHT_LIST)"

if choose_file "$ARCHIVE_WIN"; then pass "the file chooser fills the path box"; else fail "the file chooser fills the path box" "$(drive text "$EX" $IDC_EX_PATH)"; fi
# An older archive of that name appears meanwhile; choosing it again asks first.
echo junk > "$ARCHIVE_UNIX"
choose_file "$ARCHIVE_WIN"
check_eq "choosing an existing archive asks before replacing it" 1 "$PROMPTED"
tvx_shot exchange_export_filled
drive click "$EX" $IDC_EX_SAVE
check_eq "Save reports success" "Your changes have been saved." "$(answer 1 20000)"
unzip -Z1 "$ARCHIVE_UNIX" 2>/dev/null | sort > "$TVX_BUILD/exchange-entries.txt"
check_eq "the archive lists exactly T.clg, T.dat, Data and the two data files" \
  "Tools/Data/ Tools/Data/$CLIP1.stx Tools/Data/$CLIP2.stx Tools/Tools.clg Tools/Tools.dat" \
  "$(tr '\n' ' ' < "$TVX_BUILD/exchange-entries.txt" | sed 's/ $//')"
check "unzip -t accepts the archive (it replaced the older file)" unzip -tq "$ARCHIVE_UNIX"
OUT="$TVX_BUILD/exchange-unzipped"
rm -rf "$OUT" && mkdir -p "$OUT" && (cd "$OUT" && unzip -q "$ARCHIVE_UNIX")
check "T.dat holds the exported entries byte for byte as the item file does" \
  cmp -s "$OUT/Tools/Tools.dat" <(head -c "$(stat -c %s "$OUT/Tools/Tools.dat")" "$TVX_INSTALL_UNIX/Shortcut2.dat" | python3 -c '
import sys
b = bytearray(sys.stdin.buffer.read()); b[100:116] = b"%016d" % 5; sys.stdout.buffer.write(bytes(b))')
cp "$OUT/Tools/Tools.dat" "$OUT/Shortcut2.dat" && cp "$OUT/Tools/Tools.clg" "$OUT/Shortcut2.clg"
check_eq "T.clg holds the exported catalogs with their members" \
  "Work:0,1,2 Work/Sub:3 Tools:4 Picked:3" \
  "$("$TVX_BUILD/native/tvx_dump_data" "$OUT" | awk -F'\t' '$1=="catalog" {printf "%s:%s ", $2, $3}' | sed 's/ $//')"
check "the data files travel unchanged" cmp -s "$OUT/Tools/Data/$CLIP1.stx" "$TVX_INSTALL_UNIX/Data/$CLIP1.stx"
check_eq "the user's folder and files beside the archive are untouched" "$USERS_THINGS" "$(users_things)"
check_eq "nothing else appeared beside the archive" "Tools Tools.clg Tools.dat Tools.trn" "$(ls "$BACKUP_UNIX" | tr '\n' ' ' | sed 's/ $//')"
check_eq "no staging folder is left after the save" 0 "$(staging_count)"
drive click "$EX" $IDC_EX_EXIT
check_eq "closing asks whether to save" "Do you want to save your changes?" "$(answer 7)"
check "No closes the dialog" drive gone-ctl $IDC_EX_RIGHT_TREE 5000
check_eq "no staging folder is left after closing" 0 "$(staging_count)"
cp "$ARCHIVE_UNIX" "$TVX_BUILD/exchange-good.trn"
if exit_program; then pass "the first installation ends"; else fail "the first installation ends"; force_end_program; fi

# ---- import into a second installation ----------------------------------------------------
B_UNIX="$WINEPREFIX/drive_c/Program Files/Tavrolinex B"
B_WIN='C:\Program Files\Tavrolinex B'
rm -rf "$B_UNIX" && cp -a "$TVX_DIST" "$B_UNIX"
# Its first entry has the GUID of the first installation's Notepad.
cat > "$TVX_BUILD/exchange-b.txt" <<'EOF_ITEMS'
item	Old Notepad	onp			from before	C:\\windows\\old-notepad.exe	7A000001-D3E0-4000-8000-000000000001
item	Mine	mine			its own	C:\\mine.exe	5B000000-0000-4000-8000-0000000000AA
catalog	Home	0,1
EOF_ITEMS
"$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/exchange-b.txt" "$B_UNIX" >/dev/null
stx "$B_UNIX/Data/$CLIP2.stx" "this installation's own"
dumpb() { "$TVX_BUILD/native/tvx_dump_data" "$B_UNIX"; }
tvx_wine "$B_WIN\\Tavrolinex.exe" >/dev/null 2>&1 &
PROGRAM_PID=$!
wait_launcher || { fail "the second installation comes up"; exit 1; }
open_exchange $IDC_IMPORT && pass "Import opens the exchange dialog" || { fail "Import opens the exchange dialog"; exit 1; }
check_eq "import mode hides the right-side catalog buttons" "0 0 0 1" \
  "$(for id in $IDC_EX_RIGHT_ADD $IDC_EX_RIGHT_UPDATE $IDC_EX_RIGHT_DEL $IDC_EX_LOAD; do drive visible-ctl "$EX" $id | value_of visible; done | tr '\n' ' ' | sed 's/ $//')"
choose_file "$ARCHIVE_WIN" || { tvx_shot exchange_debug_choose; fail "the open-file chooser fills the path box"; }
drive click "$EX" $IDC_EX_LOAD
check_soon "Load fills the import tree" 5 node_count $IDC_EX_RIGHT_TREE
check_eq "the loaded archive is unpacked in one staging folder of the program's" 1 "$(staging_count)"
click_node $IDC_EX_LEFT_TREE 0
click_node $IDC_EX_RIGHT_TREE 0
drive click "$EX" $IDC_EX_COPY_TO_LEFT
check_soon "a catalog copied with its items into Home" 4 node_count $IDC_EX_LEFT_TREE
click_node $IDC_EX_LEFT_TREE ""
click_node $IDC_EX_RIGHT_TREE 1
drive click "$EX" $IDC_EX_COPY_EMPTY_TO_LEFT
check_soon "a catalog copied without items" 5 node_count $IDC_EX_LEFT_TREE
click_node $IDC_EX_LEFT_TREE 1
click_node $IDC_EX_RIGHT_TREE 2
click_row $IDC_EX_RIGHT_LIST 0
drive click "$EX" $IDC_EX_TO_LEFT
moved_counts() { echo "$(row_count $IDC_EX_LEFT_LIST) $(row_count $IDC_EX_RIGHT_LIST)"; }
check_soon "an item moved into the empty copy" "1 0" moved_counts
tvx_shot exchange_import_filled
# Explorer hands over an entry meanwhile (into Home): it waits for the import.
mailbox_write sdfggsadf Name "Mailed" "$B_WIN"
mailbox_write sdfggsadf ShortName "ml" "$B_WIN"
mailbox_write sdfggsadf Description "sent during the import" "$B_WIN"
mailbox_write sdfggsadf ExePath 'C:\mailed.exe' "$B_WIN"
mailbox_write sdfggsadf NodeID "7A000001-D3E0-4000-8000-000000000001" "$B_WIN"
drive send "$LAUNCHER" 1044 0 0 >/dev/null
drive click "$EX" $IDC_EX_OK
check_eq "Ok saves and says so" "The import has finished." "$(answer 1 20000)"
check "the dialog ends after the import" drive gone-ctl $IDC_EX_RIGHT_TREE 5000
mailed_filed() { dumpb | grep -q "	Mailed	"; }
check "the entry sent during the import is filed once the import is done" wait_until 10 mailed_filed
check_eq "the entry with the known GUID is updated in place" "Notepad np" \
  "$(dumpb | awk -F'\t' '$1=="item" && $2==0 {print $4, $5}')"
check_eq "the others are appended, then the entry sent meanwhile" "Mine Snippet + Both Calc Mailed" \
  "$(dumpb | awk -F'\t' '$1=="item" && $2>0 && $3=="0" {print $4}' | tr '\n' ' ' | sed 's/ $//')"
check_eq "the catalogs: Home with the copy and the sent entry, Tools without items" \
  "Home:0,1,5 Home/Work:0,2,3 Home/Work/Sub:4 Tools:4" \
  "$(dumpb | awk -F'\t' '$1=="catalog" {printf "%s:%s ", $2, $3}' | sed 's/ $//')"
check "the files agree" test "$(dumpb | tail -n 1)" = "agree=1"
check_eq "the imported clipboard entry names this installation's data file" "$B_WIN\\Data\\$CLIP1.stx" \
  "$(dumpb | awk -F'\t' '$1=="item" && $4=="Snippet" {print $9}' | sed 's/\\\\/\\/g')"
check "its data file was copied" cmp -s "$B_UNIX/Data/$CLIP1.stx" "$TVX_INSTALL_UNIX/Data/$CLIP1.stx"
check_eq "the installation's own file of that name keeps its contents" "this installation's own" \
  "$(tail -c 24 "$B_UNIX/Data/$CLIP2.stx" | tr -d '\0')"
both=$(dumpb | awk -F'\t' '$1=="item" && $4=="+ Both" {print $9}')
second=${both##*\\r\\n}
second=${second##*\\}
check "the imported contents of that name come in under a name of their own" \
  test "$second" != "$CLIP2.stx" -a "$(tail -c 6 "$B_UNIX/Data/$second" 2>/dev/null | tr -d '\0')" = "other"
check_eq "and nothing else lands in the data folder" 3 "$(ls "$B_UNIX/Data" | wc -l)"
wait_until 5 test "$(staging_count)" = 0
check_eq "no staging folder is left after the import" 0 "$(staging_count)"
clipboard_is() { [ "$(drive get-clipboard | value_of text)" = "$1" ]; }
drive set-clipboard "something else"
type_into_box "$LAUNCHER" $IDC_FIND_SHORT snip
drive key enter
check "the launcher finds the imported clipboard entry and restores its text" wait_until 5 clipboard_is "old text"

# ---- archives that must be refused ----------------------------------------------------------
python3 - "$BACKUP_UNIX/Evil.trn" <<'EOF_PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("Evil/Evil.dat", b"\0")
    z.writestr("Evil/Evil.clg", b"")
    z.writestr("Evil/../../escaped.txt", b"outside")
EOF_PY
head -c 700 "$TVX_BUILD/exchange-good.trn" > "$BACKUP_UNIX/Cut.trn"
BEFORE_B=$(cd "$B_UNIX" && md5sum Shortcut2.dat Shortcut2.clg)
open_exchange $IDC_IMPORT || fail "Import opens again"
choose_file "$BACKUP_WIN\\Evil.trn"
drive click "$EX" $IDC_EX_LOAD
check_eq "a zip-slip archive is refused with a message" \
  "The archive holds a file name that is not safe to write (outside its own folder, or a device name), or it would unpack to far more than it holds. Nothing was taken from it." \
  "$(answer 1)"
check "nothing was written outside" test ! -e "$WINEPREFIX/drive_c/escaped.txt" -a ! -e "$TEMP_UNIX/escaped.txt"
check_eq "the refused archive leaves an empty import side and no staging folder" "1 0" "$(node_count $IDC_EX_RIGHT_TREE) $(staging_count)"
choose_file "$BACKUP_WIN\\Cut.trn"
drive click "$EX" $IDC_EX_LOAD
check_eq "a truncated archive is refused with a message" \
  "The archive cannot be read: it is damaged or incomplete. Nothing was taken from it." "$(answer 1)"
# The same layout packed by the system's zip tool loads as well.
rm -rf "$OUT/Zipped" && mkdir -p "$OUT/Zipped" && cp -r "$OUT/Tools/Data" "$OUT/Zipped/" &&
  cp "$OUT/Tools/Tools.clg" "$OUT/Zipped/Zipped.clg" && cp "$OUT/Tools/Tools.dat" "$OUT/Zipped/Zipped.dat" &&
  (cd "$OUT" && zip -r -q "$BACKUP_UNIX/Zipped.trn" Zipped)
choose_file "$BACKUP_WIN\\Zipped.trn"
drive click "$EX" $IDC_EX_LOAD
check_soon "an archive packed by zip loads after a refusal" "5 1" eval 'echo "$(node_count $IDC_EX_RIGHT_TREE) $(staging_count)"'
drive click "$EX" $IDC_EX_CANCEL
check "Cancel closes the dialog" drive gone-ctl $IDC_EX_RIGHT_TREE 5000
check_eq "Cancel after Load leaves no staging folder" 0 "$(staging_count)"
check_eq "a cancelled import leaves the installation's files as they were" "$BEFORE_B" \
  "$(cd "$B_UNIX" && md5sum Shortcut2.dat Shortcut2.clg)"
check_eq "the user's things survived export, load, cancel and import" "$USERS_THINGS" "$(users_things)"
if exit_program; then pass "the second installation ends"; else fail "the second installation ends"; force_end_program; fi
