# Shared helpers of the end-to-end suites: checks that record a result line
# each, and the ways a person starts, answers and ends the program.
# Needs: scripts/winebench.sh sourced, tvx_bench_init and tvx_xvfb_start done,
# TVX_RESULTS (file of result lines), DRIVE (unix path of tvxdrive.exe).

# Results go to the console and, with the stage's prefix, to the test command's list.
pass() { echo "PASS $1"; echo "PASS ${TVX_RESULT_PREFIX:-}$1" >> "$TVX_RESULTS"; }
fail() { echo "FAIL $1${2:+ -- $2}"; echo "FAIL ${TVX_RESULT_PREFIX:-}$1${2:+ -- $2}" >> "$TVX_RESULTS"; }

# Every suite ends with one closing line, whatever ended it (its last line, an
# exit on the way, an unset variable under set -u): the test command takes a
# suite without it as one that died, and a non-zero code as a failure.
TVX_SUITE=$(basename "$0" .sh)
TVX_SUITE_CLEANUP=tvx_bench_stop
on_exit() { TVX_SUITE_CLEANUP="$*"; }  # what the suite's end runs instead of tvx_bench_stop
tvx_suite_end() {
  local rc=$?
  eval "$TVX_SUITE_CLEANUP"
  echo "END $TVX_SUITE: exit code $rc"
  exit "$rc"
}
trap tvx_suite_end EXIT

# The control ids by the names the program's sources give them
# (resources/*_ids.h): a suite says $IDC_CFG_TREE where the template says it.
eval "$(awk '$1 == "#define" && $2 ~ /^IDC_/ && $3 ~ /^[0-9]+$/ { print $2 "=" $3 }' "$TVX_ROOT"/resources/*_ids.h)"
check() { # NAME CONDITION-COMMAND...
  local name=$1; shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
check_eq() { # NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected [$2], got [$3]"; fi
}

drive() { tvx_wine "$DRIVE" "$@" 2>/dev/null | stdbuf -oL tr -d '\r'; return "${PIPESTATUS[0]}"; }  # the tool's own exit code
value_of() { sed -n "s/^$1=//p" | head -n 1; }

PROGRAM_WIN='C:\Program Files\Tavrolinex\Tavrolinex.exe'

# Starts the installed program in the background; sets PROGRAM_PID.
start_program() {
  tvx_wine "$PROGRAM_WIN" >/dev/null 2>&1 &
  PROGRAM_PID=$!
}

# The installation's mailbox, a profile file beside the program: what the
# add-item dialog hands over and where the receiver publishes itself.
mailbox_file_win() { echo "${1:-$TVX_INSTALL_WIN}\\Mailbox.ini"; }  # [INSTALL-WIN]
mailbox_write() { drive profile-write "$1" "$2" "$3" "$(mailbox_file_win "${4:-}")"; }  # SECTION KEY VALUE [INSTALL-WIN]
mailbox_value() { # SECTION KEY [INSTALL-UNIX]
  local file="${3:-$TVX_INSTALL_UNIX}/Mailbox.ini"
  [ -f "$file" ] && tr -d '\r' < "$file" | sed -n "/^\[$1\]/,/^\[/s/^$2=//p" | head -n 1
}

# Waits for the launcher window; sets LAUNCHER. Returns non-zero on time-out.
wait_launcher() {
  LAUNCHER=$(drive wait-ctl $IDC_FIND_SHORT "${1:-20000}" | value_of hwnd)
  [ -n "$LAUNCHER" ]
}

# Answers the language dialog of a first start with ROW; waits for the launcher.
choose_language() { # ROW [TIMEOUT-MS]
  local dialog
  dialog=$(drive wait-ctl $IDC_LANGUAGE_COMBO "${2:-20000}" | value_of hwnd)
  [ -n "$dialog" ] || return 1
  drive combo-select "$dialog" $IDC_LANGUAGE_COMBO "$1"
  drive click "$dialog" 1
  wait_launcher "${2:-20000}"
}

wait_pid_gone() { # PID SECONDS
  local i
  for i in $(seq 1 $(( $2 * 10 ))); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
    sleep 0.1
  done
  return 1
}

# Exit button, then No at the question: the program ends.
exit_program() {
  drive click "$LAUNCHER" $IDC_EXIT
  local box
  box=$(drive wait-title Tavrolinex 10000 7 | value_of hwnd)
  [ -n "$box" ] || { note_windows "no exit question came"; return 1; }
  drive click "$box" 7
  wait_pid_gone "$PROGRAM_PID" 20 || { note_windows "the program did not end"; return 1; }
}
# What was on the screen when an awaited window did not come (log and screenshot).
note_windows() { # WHY
  echo "note: $1; visible windows:"
  drive windows | sed 's/^/note:   /'
  tvx_shot "${TVX_SUITE}_$(date +%s)_windows"
}

# The test helper's runs recorded in $LOG_UNIX so far, one command line a line.
started() { [ -f "$LOG_UNIX" ] && tr -d '\r' < "$LOG_UNIX" | cut -d' ' -f2- || true; }
# Waits until the helper was started N times in all; prints its last command line.
wait_started() { # N
  local i
  for i in $(seq 1 40); do
    [ "$(started | wc -l)" -ge "$1" ] && { started | tail -n 1; return 0; }
    sleep 0.25
  done
  return 1
}
# Whether the launcher's tray icon is there (1) or not (0).
tray_shown() { [ "$(drive tray "$LAUNCHER" 143 | value_of tray)" = "$1" ]; }

# Clicks into a box of the launcher and empties it with real key presses.
clear_box() { # ID
  drive click-at "$LAUNCHER" "$1"
  drive key end
  drive key back 40
}

# Ends whatever is left of a program run that failed half way.
force_end_program() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "${PROGRAM_PID:-}" ] && wait "$PROGRAM_PID" 2>/dev/null
  PROGRAM_PID=
}

# The registry as a program of the stage's architecture sees it: a 32-bit
# program (and its shell extension) sees the 32-bit view.
REG_VIEW=$([ "${TVX_ARCH:-64}" = 32 ] && echo /reg:32 || echo /reg:64)
reg_value() { # KEY [VALUE-NAME]: prints the data of the value (default value without a name)
  local out
  if [ -n "${2:-}" ]; then out=$(tvx_wine reg query "$1" /v "$2" $REG_VIEW 2>/dev/null | tr -d '\r')
  else out=$(tvx_wine reg query "$1" /ve $REG_VIEW 2>/dev/null | tr -d '\r'); fi
  echo "$out" | LC_ALL=C sed -n 's/^ *[^ ].*REG_SZ *//p' | head -n 1
}

# Prints visible=0|1 of a window once it is in the wanted state, or its last
# state after 8 s. (Without a window manager Wine takes up to 2 s to hide one.)
wait_visible() { # HWND WANTED
  local i v
  for i in $(seq 1 40); do
    v=$(drive visible "$1" | value_of visible)
    [ "$v" = "$2" ] && break
    sleep 0.2
  done
  echo "$v"
}

wait_until() { # SECONDS COMMAND...: polls the command until it succeeds
  local secs=$1 i; shift
  for i in $(seq 1 $(( secs * 4 ))); do
    "$@" && return 0
    sleep 0.25
  done
  return 1
}

# A check on what the program does in answer to a key, a click or a message:
# the command is read again until it gives the expected value, for up to ten
# seconds, so that a busy machine only makes the check slower.
box_holds() { [ "$(drive text "$1" "$2")" = "$3" ]; }
type_into_box() { # DIALOG ID TEXT: clicks into a box, empties it and types, until the box holds TEXT
  # On a busy machine keys can reach the window before the click gave the box
  # the focus; what the box holds is read back, and the typing tried again.
  local try
  for try in 1 2 3; do
    drive click-at "$1" "$2"
    drive key end
    drive key back 40
    [ -n "$3" ] && drive type "$3"
    wait_until 3 box_holds "$1" "$2" "$3" && return 0
  done
  return 1
}

# The program's own counts (config_started, tree_leaves_deleted, ...) in the
# timings log the suite asked for with TVX_TIMINGS='C:\<file>'.
timing_sum() { tr -d '\r' < "$WINEPREFIX/drive_c/${TVX_TIMINGS#C:\\}" 2>/dev/null | awk -F= -v k="$1" '$1 == k { n += $2 } END { print n + 0 }'; }
# The configuration dialog opened from the launcher ($CFG) and used once its
# start is over: its first tick runs discovery behind a progress window, then
# selects the root and notes config_started in the timings log (a tree with
# the focus selects its first row by itself before that).
open_config_dialog() { # [SECONDS]
  local starts
  starts=$(timing_sum config_started)
  drive click "$LAUNCHER" $IDC_CONFIG
  CFG=$(drive wait-ctl $IDC_CFG_TREE 15000 | value_of hwnd)
  [ -n "$CFG" ] && wait_until "${1:-15}" eval '[ "$(timing_sum config_started)" -gt "$starts" ]' &&
    wait_until 5 eval '[ "$(drive tree-count "$CFG" $IDC_CFG_TREE | value_of selected)" = 1 ]'
}

# A catalog of a dialog's tree opened as a person does (a click on it, then
# the Right key), and the texts of its child nodes, each followed by a blank.
expand_tree_node() { # DIALOG TREE-ID PATH
  eval "$(drive tree-point "$1" "$2" "$3")"
  drive click-screen "$x" "$y" >/dev/null
  drive key right >/dev/null
}
tree_node_children() { drive tree-children "$1" "$2" "$3" | sed -n 's/^child\t//p' | tr '\n' ' '; }  # DIALOG TREE-ID PATH

# Screen readers: every visible button has a name (its text), and Tab reaches
# every control of a window that takes the focus (ids printed of those it does not).
nameless_buttons() { drive texts "$1" | awk -F'\t' '$2 == "Button" && $3 == 1 && $4 == "" { print $1 }' | tr '\n' ' '; }
missed_by_tab() { drive tab-walk "$1" "$2" | awk -F'\t' '$1 == "missed" { print $2 }' | tr '\n' ' '; }  # WINDOW PRESSES

check_soon() { # NAME EXPECTED COMMAND...
  local name=$1 want=$2 got="" i; shift 2
  for i in $(seq 1 40); do
    got=$("$@")
    [ "$got" = "$want" ] && break
    sleep 0.25
  done
  check_eq "$name" "$want" "$got"
}
