#!/usr/bin/env bash
# The texts of the chosen language: choosing Simplified Chinese in the
# language dialog puts the Chinese texts in place of the English ones (every
# label, question and message the program reads from its settings file),
# choosing English again brings them back, and a start without the dialog
# leaves the user's own edits of the settings file alone.
set -u
. "$TVX_ROOT/scripts/winebench.sh"
. "$TVX_ROOT/tests/e2e/lib.sh"

export TVX_WINE_LOCALE=zh_CN.UTF-8
tvx_bench_init "$TVX_BUILD" language || exit 1
tvx_xvfb_start || exit 1
tvx_install "$TVX_DIST"

SETTINGS="$TVX_INSTALL_UNIX/TavrolinexConfig.ini"
cat > "$TVX_BUILD/language-items.txt" <<'EOF_ITEMS'
item	记事本	jsb			编辑文本文件	C:\\windows\\notepad.exe
item	Calculator	calc			a calculator	C:\\windows\\calc.exe
catalog	工具	0,1
EOF_ITEMS
# Names in GBK, as the program keeps them.
iconv -f UTF-8 -t GBK "$TVX_BUILD/language-items.txt" > "$TVX_BUILD/language-items-gbk.txt"
"$TVX_BUILD/native/tvx_write_data" "$TVX_BUILD/language-items-gbk.txt" "$TVX_INSTALL_UNIX" >/dev/null
# The text of a key in the GBK file, as the UTF-8 the driver prints.
# Starts the program with the language dialog and picks a row of it.
start_choosing() { # ROW
  printf '[LogConfig]\r\nLangSel=0\r\nShowLangSel=1\r\n' > "$TVX_INSTALL_UNIX/LogConfig.dat"
  start_program
  choose_language "$1"
}
# Exit's question: prints its text and answers No (the program ends).
exit_question() {
  drive click "$LAUNCHER" $IDC_EXIT
  local box
  box=$(drive wait-title Tavrolinex 10000 7 | value_of hwnd)
  [ -n "$box" ] || { echo "(no question)"; return 1; }
  local text="" i
  for i in $(seq 1 20); do  # the box may be found before its text is set
    text=$(drive text "$box" $IDC_MSG_TEXT)
    [ -n "$text" ] && break
    sleep 0.25
  done
  echo "$text"
  [ -n "${1:-}" ] && tvx_shot "$1"
  drive click "$box" 7
  wait_pid_gone "$PROGRAM_PID" 20 || force_end_program
}

# ---- Simplified Chinese --------------------------------------------------------------
start_choosing 6 || { fail "the language dialog leads to the launcher"; force_end_program; exit 0; }
check "choosing 简体中文 puts the Chinese texts in place" cmp -s "$SETTINGS" "$TVX_INSTALL_UNIX/Lang/chs.ini"
check_soon "the launcher's buttons come from the Chinese module" "运行程序" eval 'drive text "$LAUNCHER" $IDC_RUN_APPS'
drive click-at "$LAUNCHER" $IDC_FIND_SHORT
drive type j
sleep 0.5
tvx_shot language_chs_launcher
# The program's add-item dialog: its title, and its message when the root is chosen.
drive profile-write ghyjtytsadf Name "中文测试"
drive post "$LAUNCHER" 1054 0 0
dialog=$(drive wait-ctl $IDC_ADD_TREE_PROG 10000 | value_of hwnd)
check "a pre-fill request opens the add-item dialog" test -n "$dialog"
if [ -n "$dialog" ]; then
  check_eq "its title is the Chinese text" "添加 Tavrolinex 项目" \
    "$(drive texts "$dialog" | head -n 1 | cut -f4)"
  tvx_shot language_chs_add_item
  drive click "$dialog" $IDC_ADD_OK
  box=$(drive wait-title Tavrolinex 10000 1 | value_of hwnd)
  check_soon "Ok with the root chosen asks for a sub-catalog in Chinese" "请选择一个子目录。" eval 'drive text "$box" $IDC_MSG_TEXT'
  tvx_shot language_chs_add_item_message
  drive click "$box" 1
  drive gone-ctl $IDC_MSG_TEXT 5000 >/dev/null
  drive click "$dialog" $IDC_ADD_CANCEL
  drive gone-ctl $IDC_ADD_TREE_PROG 5000 >/dev/null
fi
# The configuration dialog: its title and the opening's progress text.
# The progress window closes as soon as the work is done, and shows only when
# the work outlasts its opening: a Start menu of 1,500 shortcuts (all to one
# program) makes discovery take long enough, and the text is read the moment
# the window shows it.
SLOW_MENU="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Slow"
mkdir -p "$SLOW_MENU"
drive make-link 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Slow\Tool 0.lnk' 'C:\windows\notepad.exe' >/dev/null
for i in $(seq 1 1500); do cp "$SLOW_MENU/Tool 0.lnk" "$SLOW_MENU/Tool $i.lnk"; done
found=$(drive wait-text $IDC_PROGRESS_TEXT 10000 "$LAUNCHER" $IDC_CONFIG)   # clicks Config itself once it looks
check_eq "opening the configuration says so in Chinese" "正在查找已安装的程序，请稍候……" "$(value_of text <<<"$found")"
CFG=$(drive wait-ctl $IDC_CFG_TREE 15000 | value_of hwnd)
check_soon "the configuration dialog's title is Chinese" "项目设置" eval 'drive texts "$CFG" | head -n 1 | cut -f4'
drive gone-ctl $IDC_PROGRESS_TEXT 10000 >/dev/null
sleep 2.5  # a hidden window leaves the screen late without a window manager
tvx_shot language_chs_config
drive click "$CFG" $IDC_CFG_OK
box=$(drive wait-title Tavrolinex 10000 1 | value_of hwnd)
check_soon "its save says so in Chinese" "您的更改已保存。" eval 'drive text "$box" $IDC_MSG_TEXT'
drive click "$box" 1
drive gone-ctl $IDC_CFG_TREE 10000 >/dev/null
# The export dialog: its tree's root names the catalogs to export.
drive click "$LAUNCHER" $IDC_EXPORT
EXW=$(drive wait-ctl $IDC_EX_LEFT_TREE 10000 | value_of hwnd)
check "Export opens in Chinese" test -n "$EXW"
if [ -n "$EXW" ]; then
  # The screenshot once the left tree holds the root and its catalog.
  wait_until 10 eval '[ "$(drive tree-count "$EXW" $IDC_EX_LEFT_TREE | value_of count)" -ge 2 ]'
  tvx_shot language_chs_export
  # Cancel, not the frame's Exit: Exit asks whether to save, and that box
  # would be left open beside the exit question below.
  drive click "$EXW" $IDC_EX_CANCEL
  drive gone-ctl $IDC_EX_LEFT_TREE 10000 >/dev/null
fi
check_eq "Exit asks in Chinese" "将 Tavrolinex 隐藏到通知区域吗？选择“否”将退出程序。" \
  "$(exit_question language_chs_exit_question)"

# ---- English again -----------------------------------------------------------------------
start_choosing 0 || { fail "the language dialog leads to the launcher again"; force_end_program; exit 0; }
check "choosing English again puts the English texts back" cmp -s "$SETTINGS" "$TVX_INSTALL_UNIX/Lang/eng.ini"
check_eq "Exit asks in English" "Hide Tavrolinex in the notification area? Choose No to exit the program." \
  "$(exit_question)"

# ---- the user's own edits survive a start without the dialog ------------------------------
sed -i 's/^HideProgram=.*\r$/HideProgram=Hide me? (my own words)\r/' "$SETTINGS"
cp "$SETTINGS" "$TVX_BUILD/language-edited.ini"
printf '[LogConfig]\r\nLangSel=6\r\nShowLangSel=0\r\n' > "$TVX_INSTALL_UNIX/LogConfig.dat"
start_program
if wait_launcher 20000; then
  check_eq "a start without the dialog shows the user's own text" "Hide me? (my own words)" "$(exit_question)"
else
  fail "the program starts without the dialog"; force_end_program
fi
check "and leaves the settings file byte for byte as it was" cmp -s "$SETTINGS" "$TVX_BUILD/language-edited.ini"
# A language without a text file of its own keeps the current texts.
start_choosing 7 || { fail "the language dialog leads to the launcher for cht"; force_end_program; exit 0; }
check "a language without its own text file keeps the current texts" cmp -s "$SETTINGS" "$TVX_BUILD/language-edited.ini"
if exit_program; then pass "Exit and No end the program"; else fail "Exit and No end the program"; force_end_program; fi
