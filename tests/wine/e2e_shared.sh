#!/usr/bin/env bash
# End-to-end tests of Cfg.ini as a shared file under Wine: with the node editor
# open, Cfg.ini is edited by hand (a topic's title, a child line, an added key)
# before each of 保存, 新增 and 删除; the first press shows the "提示" box and
# leaves the file byte for byte as the hand left it, the second writes onto the
# new content. And two programs on one folder: the one that read the file before
# the other's add is refused once, then adds after it.
#
#   tests/wine/e2e_shared.sh [TEST...]      all tests, or the named ones
#
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

X0=120 Y0=110


CHANGED='Cfg.ini 已被其他程序修改，未保存任何更改。已重新读取该文件，输入框中的内容保留；再按一次即保存到新的内容上。'

HEAD=("[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80")
SEA=("[2]" "Name=Lands" "Title=海洋" "In=" "Link=0" "Show=1" "Pic=m1.png" "1=a.png|鱼|水|0")

# lands TITLE CHILD_LINES...: topic 1 with that title and those lines after Pic.
lands() {
  local title="$1"
  shift
  printf '%s\n' "[1]" "Name=Lands" "Title=$title" "In=" "Link=0" "Show=1" "Pic=m1.png" "$@"
}

# cfg_text LINES...: the lines as Cfg.ini holds them (crlf_file's text).
cfg_text() { printf '%s\n' "$@"; }

ORIGINAL=("1=a.png|甲|说明|0" "2=b.png|乙|二|0" "3=c.png|丙|三|0")

# start_shared_program [--linked]: the program on topic 1 with three children
# and topic 2; with --linked, Cfg.ini is a symbolic link to shared/Cfg.ini.
start_shared_program() {
  make_run_dir "$(cfg_text "${HEAD[@]}" "$(lands 大陆 "${ORIGINAL[@]}")" "${SEA[@]}")" || return 1
  if [ "${1:-}" = --linked ]; then
    mkdir "$run_dir/shared"
    mv "$run_dir/Cfg.ini" "$run_dir/shared/Cfg.ini"
    ln -s shared/Cfg.ini "$run_dir/Cfg.ini"
  fi
  add_pictures Lands a.png b.png c.png d.png new.png
  add_pictures Menu m1.png
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 70 70"
}

# hand_edit LINES...: Cfg.ini rewritten as another program would; its bytes are
# kept in Cfg.hand for the checks that follow.
hand_edit() {
  crlf_file "$(cfg_text "$@")" "$run_dir/Cfg.hand"
  cp "$run_dir/Cfg.hand" "$run_dir/Cfg.ini"
}

# refused_once WHAT: the "提示" box says the file changed outside; once it is
# answered, Cfg.ini is still what the hand wrote and nothing is left beside it.
refused_once() {
  answer_box "$editor_hwnd" 提示 "$CHANGED" OK || return 1
  cmp -s "$run_dir/Cfg.hand" "$run_dir/Cfg.ini" || {
    fail "$1 wrote onto a Cfg.ini changed outside:"
    diff "$run_dir/Cfg.hand" "$run_dir/Cfg.ini" | cat -A | sed 's/^/      /'
    return 1
  }
  no_leftovers "$1"
}

# no_leftovers WHAT [FOLDER]: no temporary or lock file stays beside Cfg.ini
# (in FOLDER, the run folder unless given).
no_leftovers() {
  local left=("${2:-$run_dir}"/.Cfg.ini.*)
  [ ! -e "${left[0]}" ] || fail "after $1 these stay beside Cfg.ini: ${left[*]##*/}"
}

# select_child ID: a click on the first row, then Down until the ID box says ID.
select_child() {
  click "$editor" "${AT_FIRST_ROW[@]}"
  wait_equal "ID box after a click on the first row" 1 id_text || return 1
  local k
  for ((k = 1; k < $1; k++)); do xdotool key Down; done
  wait_equal "ID box after Down" "$1" id_text
}

# editor_field_is X Y TEXT: the box at client X, Y of the editor shows TEXT.
editor_field_is() {
  local ox oy
  read -r ox oy _ <<<"$(geometry "$editor")"
  inspect --exe pallo.exe | awk -F'\t' -v want="$editor_hwnd" -v x=$((ox + $1)) -v y=$((oy + $2)) -v text="$3" '
    $1 == "window" {mine = ($2 == want)}
    $1 == "control" && mine && $5 == text { split($4, r, ","); if (x >= r[1] && x < r[1] + r[3] && y >= r[2] && y < r[2] + r[4]) found = 1 }
    END { exit !found }'
}

# ---------------------------------------------------------------- tests

# One user's session with a text editor beside it: before each of 保存, 新增 and
# 删除, Cfg.ini is changed by hand; each is refused once, then goes onto the
# file as the hand left it, keeping every hand edit.
test_hand_edits_survive_save_add_delete() {
  start_shared_program || return
  open_editor || return
  choose_first_node || return

  # 保存 on child 1, after a new title, a child line changed and a key added.
  select_child 1 || return
  type_into "$editor" "${AT_NAME[@]}" Renamed
  local sea=("${SEA[@]}")
  hand_edit "${HEAD[@]}" "$(lands 大地 "1=a.png|甲|说明|0" "2=b.png|乙改|二|0" "3=c.png|丙|三|0" "Note=hand")" "${sea[@]}"
  click "$editor" "${AT_SAVE[@]}"
  refused_once 保存 || return
  editor_field_is "${AT_NAME[@]}" Renamed || fail "the typed name is gone after the refusal"
  click "$editor" "${AT_SAVE[@]}"
  answer_box "$editor_hwnd" 大地 '节点设置已保存，重启程序后生效。' OK || return
  expect_cfg "保存 pressed again" "${HEAD[@]}" \
    "$(lands 大地 "1=a.png|Renamed|说明|0" "2=b.png|乙改|二|0" "3=c.png|丙|三|0" "Note=hand")" "${sea[@]}" || return

  # 新增 after a child was added by hand and the other topic renamed: the new
  # child takes the key after the hand's.
  sea[2]="Title=大海"
  hand_edit "${HEAD[@]}" "$(lands 大地 "1=a.png|Renamed|说明|0" "2=b.png|乙改|二|0" "3=c.png|丙|三|0" "Note=hand" \
    "4=d.png|丁|四|0")" "${sea[@]}"
  type_into "$editor" "${AT_PICTURE[@]}" new.png
  type_into "$editor" "${AT_NAME[@]}" Fresh
  click "$editor" "${AT_ADD[@]}"
  refused_once 新增 || return
  editor_field_is "${AT_PICTURE[@]}" new.png || fail "the typed picture is gone after the refusal"
  click "$editor" "${AT_ADD[@]}"
  answer_box "$editor_hwnd" 大地 '新增节点已保存，重启程序后生效。' OK || return
  # The key the hand added goes where the editor writes the new child.
  expect_cfg "新增 pressed again" "${HEAD[@]}" \
    "$(lands 大地 "1=a.png|Renamed|说明|0" "2=b.png|乙改|二|0" "3=c.png|丙|三|0" "Note=hand" "4=d.png|丁|四|0" \
      "5=new.png|Fresh|说明|0")" "${sea[@]}" || return

  # 删除 of child 2 after a key was added to [Config] and child 1 renamed by hand.
  select_child 2 || return
  hand_edit "${HEAD[@]}" "Extra=1" "$(lands 大地 "1=a.png|手|说明|0" "2=b.png|乙改|二|0" "3=c.png|丙|三|0" "Note=hand" \
    "4=d.png|丁|四|0" "5=new.png|Fresh|说明|0")" "${sea[@]}"
  local question='ID：2\\r\\nName：乙改\\r\\nText：二\\r\\n是否删除所选子节点？'
  click "$editor" "${AT_DELETE[@]}"
  answer_box "$editor_hwnd" 确认 "$question" '&Yes' || return
  refused_once 删除 || return
  wait_equal "ID box after the refused 删除" 2 id_text || return
  click "$editor" "${AT_DELETE[@]}"
  answer_box "$editor_hwnd" 确认 "$question" '&Yes' || return
  answer_box "$editor_hwnd" 提示 '删除完成。' OK || return
  expect_cfg "删除 pressed again" "${HEAD[@]}" "Extra=1" \
    "$(lands 大地 "1=a.png|手|说明|0" "2=c.png|丙|三|0" "3=d.png|丁|四|0" "Note=hand" "4=new.png|Fresh|说明|0" "5=")" \
    "${sea[@]}" || return
  no_leftovers "删除"
}

# Two programs on one folder. B opens its editor and fills in a child first; A,
# started after it, adds a child (key 4). B's add is then refused once and, pressed
# again, goes after A's (key 5).
two_programs_on_one_folder() {
  start_shared_program || return
  first_pid="$pid"
  open_editor || return
  choose_first_node || return
  local editor_b="$editor" editor_b_hwnd="$editor_hwnd"
  type_into "$editor" "${AT_PICTURE[@]}" b.png
  type_into "$editor" "${AT_NAME[@]}" FromB

  # A: a second pallo.exe in the same folder; its windows stand over B's.
  launch_program || return
  second_pid="$pid"
  find_window overlay "$OVERLAY_NAME" || { fail "no overlay of the second program"; return; }
  other_editor_hwnd="$editor_b_hwnd"
  open_editor || return
  other_editor_hwnd=""
  choose_first_node || return
  type_into "$editor" "${AT_PICTURE[@]}" a.png
  type_into "$editor" "${AT_NAME[@]}" FromA
  click "$editor" "${AT_ADD[@]}"
  answer_box "$editor_hwnd" 大陆 '新增节点已保存，重启程序后生效。' OK || return
  expect_cfg "A's 新增" "${HEAD[@]}" "$(lands 大陆 "${ORIGINAL[@]}" "4=a.png|FromA|0|0")" "${SEA[@]}" || return
  cp "$run_dir/Cfg.ini" "$run_dir/Cfg.hand"

  # B's editor brought up over A's (there is no window manager to do it on a click).
  pid="$first_pid" editor="$editor_b" editor_hwnd="$editor_b_hwnd"
  xdotool windowraise "$editor"
  click "$editor" "${AT_ADD[@]}"
  refused_once "B's first 新增" || return
  click "$editor" "${AT_ADD[@]}"
  answer_box "$editor_hwnd" 大陆 '新增节点已保存，重启程序后生效。' OK || return
  expect_cfg "B's second 新增" "${HEAD[@]}" \
    "$(lands 大陆 "${ORIGINAL[@]}" "4=a.png|FromA|0|0" "5=b.png|FromB|0|0")" "${SEA[@]}" || return
  ws_alive "$second_pid" || fail "the second program ended"
}

# A Cfg.ini that is a symbolic link (Wine shows it as a plain file) is written
# through: the link stays and its target takes the save.
test_linked_cfg_is_written_through() {
  start_shared_program --linked || return
  open_editor || return
  choose_first_node || return
  select_child 1 || return
  type_into "$editor" "${AT_NAME[@]}" Linked
  click "$editor" "${AT_SAVE[@]}"
  answer_box "$editor_hwnd" 大陆 '节点设置已保存，重启程序后生效。' OK || return
  expect_cfg "保存 through the link" "${HEAD[@]}" "$(lands 大陆 "1=a.png|Linked|说明|0" "${ORIGINAL[@]:1}")" "${SEA[@]}"
  [ -L "$run_dir/Cfg.ini" ] || fail "the save replaced the link Cfg.ini with a file"
  no_leftovers "保存 through the link"
  no_leftovers "保存 through the link" "$run_dir/shared"
}

# The second program is stopped here, whatever the test's outcome; the runner
# stops the first ($pid).
first_pid="" second_pid=""
test_two_programs_on_one_folder() {
  two_programs_on_one_folder
  if [ -n "$second_pid" ]; then ws_stop_pid "$second_pid" 10; fi
  pid="$first_pid" first_pid="" second_pid=""
}

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_hand_edits_survive_save_add_delete test_two_programs_on_one_folder \
  test_linked_cfg_is_written_through
