#!/usr/bin/env bash
# Candidates from the machine: registered applications and Start-menu
# shortcuts (made by the test through the registry and IShellLink), files and
# a folder chosen in the real common dialogs, and the addresses of a Firefox
# history database written with the sqlite3 tool under both profile layouts.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" discovery || exit 1
tvx_xvfb_start || exit 1

tvx_install "$TVX_DIST"
"$TVX_BUILD/native/tvx_write_data" /dev/stdin "$TVX_INSTALL_UNIX" >/dev/null <<'EOF_ITEMS'
item	Beta	be			a live item	c:\\beta.exe
item	Gamma	ga			removed in the dialog later	c:\\gamma.exe
catalog	Work	0,1
catalog	Found
EOF_ITEMS

C="$WINEPREFIX/drive_c"
mkdir -p "$C/Tools" "$C/My Files" "$C/docs"
for f in editor.exe one.exe LOUD.EXE deep.exe mine.exe same.exe twice.exe report.doc; do echo x > "$C/Tools/$f"; done
echo x > "$C/My Files/a report.doc"
for f in one.txt two.txt three.txt; do echo x > "$C/docs/$f"; done
reg_add() { tvx_wine reg add "$1" "${@:2}" /f $REG_VIEW >/dev/null 2>&1; }
reg_add 'HKCR\Applications\editor.exe\Shell' /v FriendlyCache /d "Text Editor Pro"
reg_add 'HKCR\Applications\editor.exe\Shell\Open\Command' /ve /d '"C:\Tools\editor.exe" "%1"'
reg_add 'HKCR\Applications\beta.exe\Shell' /v FriendlyCache /d "Beta"
reg_add 'HKCR\Applications\beta.exe\Shell\Open\Command' /ve /d 'C:\Tools\beta.exe'
reg_add 'HKCR\Applications\gamma.exe\Shell' /v FriendlyCache /d "Gamma"
reg_add 'HKCR\Applications\gamma.exe\Shell\Open\Command' /ve /d 'C:\Tools\gamma.exe /s'
COMMON='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
USERS='C:\users\'"$(whoami)"'\AppData\Roaming\Microsoft\Windows\Start Menu\Programs'
mkdir -p "$C/ProgramData/Microsoft/Windows/Start Menu/Programs/Sub" \
         "$C/users/$(whoami)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
link() { drive make-link "$1" "$2" >/dev/null || fail "making the shortcut $1"; }
link "$COMMON\\Tool One.lnk" 'C:\Tools\one.exe'
link "$COMMON\\Shouting.lnk" 'C:\Tools\LOUD.EXE'
link "$COMMON\\Report.lnk" 'C:\Tools\report.doc'
link "$COMMON\\Same Title.lnk" 'C:\Tools\same.exe'
link "$COMMON\\Sub\\Same Title.lnk" 'C:\Tools\twice.exe'
link "$COMMON\\Sub\\Deep Tool.lnk" 'C:\Tools\deep.exe'
link "$USERS\\Mine.lnk" 'C:\Tools\mine.exe'
link "$USERS\\Tool One.lnk" 'C:\Tools\twice.exe'
# A program and a shortcut named outside the code page (936), in such folders.
mkdir -p "$C/Tools/한국 😀" "$C/ProgramData/Microsoft/Windows/Start Menu/Programs/한국 😀"
cp "$TVX_BIN/tvxhelper.exe" "$C/Tools/한국 😀/kr한국.exe"
link "$COMMON\\한국 😀\\Kr한국.lnk" 'C:\Tools\한국 😀\kr한국.exe'
export TVX_TIMINGS='C:\discovery-timings.txt'  # the program's own counts (the configuration dialog's start)
export TVX_HELPER_LOG='C:\discovery-helper.log'  # for the program the entry starts

dump() { "$TVX_BUILD/native/tvx_dump_data" "$TVX_INSTALL_UNIX"; }
count_of() { drive list "$CFG" "$1" | value_of count; }
answer() {
  local box
  box=$(drive wait-title Tavrolinex "${2:-6000}" "$1" | value_of hwnd)
  if [ -z "$box" ]; then echo "(no box)"; return 1; fi
  drive text "$box" $IDC_MSG_TEXT
  drive click "$box" "$1"
  drive gone-ctl $IDC_MSG_TEXT 4000 >/dev/null
}
found_members() { dump | awk -F'\t' '$1=="catalog" && $2=="Found" {print $3}'; }
# Every candidate into the catalog "Found", saved; prints the names it got.
take_all_into_found() {
  local before after
  before=",$(found_members),"
  drive tree-select "$CFG" $IDC_CFG_TREE 1 >/dev/null
  drive click "$CFG" $IDC_CFG_ADD_ALL
  answer 6 >/dev/null
  drive click "$CFG" $IDC_CFG_SAVE
  answer 1 >/dev/null
  after=",$(found_members),"
  dump | awk -F'\t' -v a="$after" -v b="$before" '$1=="item" && index(a, "," $2 ",") && !index(b, "," $2 ",") {print $4}' |
    sort | tr '\n' '|'
}
candidates_are() { [ "$(count_of $IDC_CFG_CANDIDATES)" = "$1" ]; }

start_program
if ! wait_launcher; then fail "the launcher opens"; force_end_program; exit 0; fi
open_config_dialog 20 || fail "the first discovery ends"

check_eq "discovery offers the programs, each title once" 7 "$(count_of $IDC_CFG_CANDIDATES)"
tvx_shot discovery_candidates
# (Kr and a white square, A1F5 in GBK, for each Hangul character.)
check_eq "registered applications and Start-menu programs of both Start menus, but not Beta (a live item) nor a document" \
  "Deep Tool|$(printf 'Kr\xa1\xf5\xa1\xf5')|Mine|Same Title|Shouting|Text Editor Pro|Tool One|" "$(take_all_into_found)"
kr_command() { dump | awk -F'\t' '$1=="item" && $4 ~ /^Kr/ {print $9}'; }
check "a shortcut to a program named outside the code page comes as its short path" \
  eval '[[ "$(kr_command)" == *"~"* && "$(kr_command)" != *"?"* ]]'
check_eq "the registered command is cleaned of its quotes and %1" 'C:\\Tools\\editor.exe ' \
  "$(dump | awk -F'\t' '$1=="item" && $4=="Text Editor Pro" {print $9}')"
check "shortcut targets come as their short paths" \
  grep -qi 'LOUD.EXE$' <<<"$(dump | awk -F'\t' '$1=="item" && $4=="Shouting" {print $9}')"

# A removed item's name is offered again by the next discovery.
drive tree-select "$CFG" $IDC_CFG_TREE 0 >/dev/null
drive click "$CFG" $IDC_CFG_REMOVE_ALL
answer 6 >/dev/null
drive click-at "$CFG" $IDC_CFG_URLS
drive click-at "$CFG" $IDC_CFG_PROGRAMS
check "Programs runs discovery again, offering Gamma once its item is removed" \
  grep -q 'Gamma|' <<<"$(take_all_into_found)"
check_eq "with the registered command cut before its switch" 'C:\\Tools\\gamma.exe ' \
  "$(dump | awk -F'\t' '$1=="item" && $4=="Gamma" && $3=="0" {print $9}')"

# --- Files ... and Foder ... through the real common dialogs --------------------------
drive tree-select "$CFG" $IDC_CFG_TREE 1 >/dev/null
before=$(count_of $IDC_CFG_ITEMS)
drive click "$CFG" $IDC_CFG_FILES
open=$(drive wait-ctl 1148 10000 | value_of hwnd)
check "Files ... opens the open-file dialog" test -n "$open"
if [ -n "$open" ]; then
  drive click-at "$open" 1148
  drive type 'C:\My Files\a report.doc'
  drive key enter
  drive gone-ctl 1148 8000 >/dev/null
fi
check_eq "one chosen file with blanks in its path becomes an item" "$((before + 1))" "$(count_of $IDC_CFG_ITEMS)"
check_soon "named by its title for the description" "a report" eval 'drive text "$CFG" $IDC_CFG_DESC'
drive click "$CFG" $IDC_CFG_FILES
open=$(drive wait-ctl 1148 10000 | value_of hwnd)
if [ -n "$open" ]; then
  type_into_box "$open" 1148 'C:\docs\'
  drive key enter
  # The chooser goes into the folder and empties its name box.
  wait_until 8 box_holds "$open" 1148 "" || fail "the file chooser goes into the typed folder"
  type_into_box "$open" 1148 '"one.txt" "two.txt" "three.txt"'
  drive key enter
  drive gone-ctl 1148 8000 >/dev/null
fi
check_eq "three chosen files become three items" "$((before + 4))" "$(count_of $IDC_CFG_ITEMS)"
drive click "$CFG" $IDC_CFG_FOLDER
browse=$(drive wait-ctl 14145 10000 | value_of hwnd)
check "Foder ... opens the folder browser" test -n "$browse"
if [ -n "$browse" ]; then
  tvx_shot discovery_folder_browser
  # The selection is made, and answered by the browser, within the call.
  check_eq "the folder browser takes the first node" 1 "$(drive tree-select "$browse" 14145 0 | value_of selected)"
  drive click "$browse" 1
  drive gone-ctl 14145 8000 >/dev/null
fi
check_eq "a drive root becomes an item" "$((before + 5))" "$(count_of $IDC_CFG_ITEMS)"
drive click "$CFG" $IDC_CFG_SAVE
answer 1 >/dev/null
check "named by its whole path" grep -q $'\tC:\\\\\\\\\t' <<<"$(dump)"
check "files are named by their full paths" grep -q $'\tC:\\\\\\\\My Files\\\\\\\\a report.doc\t' <<<"$(dump)"

# --- Urls ---------------------------------------------------------------------------------
places() { # FOLDER: a places.sqlite written with the sqlite3 tool
  mkdir -p "$1"
  rm -f "$1/places.sqlite"
  sqlite3 "$1/places.sqlite" "create table moz_places (id integer primary key, url text);
    insert into moz_places (url) values ('http://example.com/'), ('http://Example.com/path/'),
      ('http://dup.example/'), ('http://DUP.example'), (null), ('$2');"
}
NEW_PROFILES="$C/users/$(whoami)/AppData/Roaming/Mozilla/Firefox/Profiles"
places "$NEW_PROFILES/ab12cd34.default-release" 'http://new.layout/'
before_files=$(cd "$NEW_PROFILES" && find . -type f -exec md5sum {} + | sort)
drive click-at "$CFG" $IDC_CFG_URLS
wait_until 10 candidates_are 4
check_eq "Urls offers the addresses of the profile in the application-data folder, duplicates once" 4 "$(count_of $IDC_CFG_CANDIDATES)"
check_eq "the profile folder is byte for byte as it was" "$before_files" "$(cd "$NEW_PROFILES" && find . -type f -exec md5sum {} + | sort)"
tvx_shot discovery_urls
check_eq "the addresses become items, without trailing slashes" \
  "http://Example.com/path|http://dup.example|http://example.com|http://new.layout|" "$(take_all_into_found)"
OLD_PROFILES="$C/Documents and Settings/$(whoami)/Application Data/Mozilla/Firefox/Profiles"
places "$OLD_PROFILES/xyz.default" 'http://old.layout/'
drive click-at "$CFG" $IDC_CFG_PROGRAMS
drive click-at "$CFG" $IDC_CFG_URLS
wait_until 10 candidates_are 4
check_eq "the old per-user layout comes first when it exists" "http://old.layout|" "$(take_all_into_found)"

# Firefox running: one message, and only the system's history.
cp "$TVX_BIN/tvxdrive.exe" "$C/Tools/firefox.exe"
tvx_wine 'C:\Tools\firefox.exe' window "Firefox stand-in" 15000 >/dev/null 2>&1 &
ff=$!
drive wait-title "Firefox stand-in" 10000 >/dev/null
drive click-at "$CFG" $IDC_CFG_PROGRAMS
drive click-at "$CFG" $IDC_CFG_URLS
check "with Firefox running Urls says so" grep -q 'Firefox' <<<"$(answer 1)"
check_eq "once" "(no box)" "$(answer 1 1500)"
check_eq "and offers only the system's history (empty here)" 0 "$(count_of $IDC_CFG_CANDIDATES)"
wait "$ff" 2>/dev/null

drive click "$CFG" $IDC_CFG_CANCEL
drive gone-ctl $IDC_CFG_TREE 8000 >/dev/null
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive type kr
drive key enter
check "the discovered entry named outside the code page starts" \
  wait_until 10 eval '[ -s "$C/discovery-helper.log" ]'
if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
