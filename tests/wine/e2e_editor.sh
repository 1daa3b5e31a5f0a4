#!/usr/bin/env bash
# End-to-end tests of the node editor under Wine: opened from the options panel,
# a main node chosen with the keyboard, renamed, a child added with a two-line
# description, saved and another child deleted, with Cfg.ini checked byte for byte
# after every step; a child saved twice and another deleted by the number typed
# into the ID box, and Hero reached in the catalog editor with the keyboard; and
# the keyboard details of its boxes.
#
#   tests/wine/e2e_editor.sh [TEST...]      all tests, or the named ones
#
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh. List-view
# cells cannot be read from another process, so the tests read Cfg.ini and the
# edit boxes the list fills.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

# ---------------------------------------------------------------- content

X0=120 Y0=110
NB=$'\xc2\xa0'  # a typed space as Cfg.ini keeps it: U+00A0

# Where the editor's controls are, in its client coordinates (its designed places).
AT_ADVANCED=(20 120)   # "高级"
AT_SECTION_BOX=(92 10) # catalog editor: "选择节点"

# The content: node 1 with three children, node 2 with one; a comment and a blank
# line that every write must keep.
editor_cfg() {
  printf '%s\n' "[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content" \
    "[1]" "Name=Lands" "Title=大陆" "In=Item" "Link=1" "Show=1" "Pic=m1.png" \
    "1=a.png|甲|说明|0" "2=b.png|乙|二#行|3,5" "3=c.png|丙|三|0" "" \
    "[2]" "Name=Lands" "Title=海洋" "In=" "Link=0" "Show=1" "Pic=m1.png" "1=a.png|鱼|水|0" \
    "[Hero]" "Name=Hero" "1=h1.png|勇者|0|0&0"
}

start_editor_program() {
  make_run_dir "$(editor_cfg)" || return 1
  add_pictures Lands a.png b.png c.png new.png
  add_pictures Menu m1.png
  add_pictures Hero h1.png
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 70 70"
}

# ---------------------------------------------------------------- tests

# The whole round: choose, rename, add, save, delete; Cfg.ini after each step.
test_choose_rename_add_save_delete() {
  start_editor_program || return
  open_editor || return
  choose_first_node || return
  if [ -n "${PALLO_EDITOR_SCREENSHOT:-}" ]; then import -window root "$PALLO_EDITOR_SCREENSHOT"; fi

  # Rename: the box becomes editable (an edit box inside it), its text the title.
  click "$editor" "${AT_RENAME[@]}"
  _box_editable() { [ -n "$(inspect --exe pallo.exe | awk -F'\t' '$1 == "control" && $3 == "Edit" && $5 == "大陆"')" ]; }
  ws_poll 15 _box_editable || { fail "the main-node box did not become editable"; return; }
  xdotool key ctrl+a
  xdotool type --delay 20 "Land 2"
  wait_editor_has "Land 2" || return
  click "$editor" "${AT_RENAME[@]}"
  answer_box "$editor_hwnd" 提示 '改名成功，重启程序后显示新名称。' OK || return
  local node1=("[1]" "Name=Lands" "Title=Land${NB}2" "In=Item" "Link=1" "Show=1" "Pic=m1.png")
  local node2=("[2]" "Name=Lands" "Title=海洋" "In=" "Link=0" "Show=1" "Pic=m1.png" "1=a.png|鱼|水|0")
  local head=("[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content")
  local hero=("[Hero]" "Name=Hero" "1=h1.png|勇者|0|0&0")
  expect_cfg rename "${head[@]}" "${node1[@]}" "1=a.png|甲|说明|0" "2=b.png|乙|二#行|3,5" "3=c.png|丙|三|0" "" \
    "${node2[@]}" "${hero[@]}" || return

  # Add: picture, name and a description of two lines (Return in the box).
  type_into "$editor" "${AT_PICTURE[@]}" new.png
  type_into "$editor" "${AT_NAME[@]}" "Fresh one"
  type_into "$editor" "${AT_DESCRIPTION[@]}" "line one"
  xdotool key Return
  xdotool type --delay 20 "line two"
  wait_equal "the description box" 'line one\r\nline two' focused_text || return
  click "$editor" "${AT_ADD[@]}"
  # Captioned with the title the program loaded: a rename shows after a restart.
  answer_box "$editor_hwnd" 大陆 '新增节点已保存，重启程序后生效。' OK || return
  expect_cfg add "${head[@]}" "${node1[@]}" "1=a.png|甲|说明|0" "2=b.png|乙|二#行|3,5" "3=c.png|丙|三|0" \
    "4=new.png|Fresh${NB}one|line${NB}one#line${NB}two|0" "" "${node2[@]}" "${hero[@]}" || return

  # The new row is selected and shows: a save edits the new child.
  wait_equal "ID box after adding" 4 id_text || return
  type_into "$editor" "${AT_NAME[@]}" Fresher
  click "$editor" "${AT_SAVE[@]}"
  # The save takes the title from the box, which the rename refilled from the file.
  answer_box "$editor_hwnd" "Land 2" '节点设置已保存，重启程序后生效。' OK || return
  expect_cfg save "${head[@]}" "${node1[@]}" "1=a.png|甲|说明|0" "2=b.png|乙|二#行|3,5" "3=c.png|丙|三|0" \
    "4=new.png|Fresher|line${NB}one#line${NB}two|0" "" "${node2[@]}" "${hero[@]}" || return

  # Delete the second child: the later ones move up, the last key is emptied.
  click "$editor" "${AT_FIRST_ROW[@]}"
  wait_equal "ID box after a click on the first row" 1 id_text || return
  xdotool key Down
  wait_equal "ID box after Down" 2 id_text || return
  click "$editor" "${AT_DELETE[@]}"
  # wininspect writes a line break as \r\n, and awk -v reads "\\" as one backslash.
  answer_box "$editor_hwnd" 确认 'ID：2\\r\\nName：乙\\r\\nText：二\\r\\n行\\r\\n是否删除所选子节点？' '&Yes' || return
  answer_box "$editor_hwnd" 提示 '删除完成。' OK || return
  expect_cfg delete "${head[@]}" "${node1[@]}" "1=a.png|甲|说明|0" "2=c.png|丙|三|0" \
    "3=new.png|Fresher|line${NB}one#line${NB}two|0" "4=" "" "${node2[@]}" "${hero[@]}"
}

# A user's story: a child chosen and saved twice (the second save still edits
# it), another deleted by the number typed into the ID box (the question names
# that one), then Hero chosen in the catalog editor with Down Down Return.
test_save_twice_delete_by_id_hero_by_keyboard() {
  start_editor_program || return
  open_editor || return
  choose_first_node || return
  local head=("[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content")
  local node1=("[1]" "Name=Lands" "Title=大陆" "In=Item" "Link=1" "Show=1" "Pic=m1.png")
  local node2=("[2]" "Name=Lands" "Title=海洋" "In=" "Link=0" "Show=1" "Pic=m1.png" "1=a.png|鱼|水|0")
  local hero=("[Hero]" "Name=Hero" "1=h1.png|勇者|0|0&0")

  click "$editor" "${AT_FIRST_ROW[@]}"
  wait_equal "ID box after a click on the first row" 1 id_text || return
  local name
  for name in 甲一 甲二; do
    type_into "$editor" "${AT_NAME[@]}" "$name"
    click "$editor" "${AT_SAVE[@]}"
    answer_box "$editor_hwnd" 大陆 '节点设置已保存，重启程序后生效。' OK || return
    expect_cfg "save $name" "${head[@]}" "${node1[@]}" "1=a.png|$name|说明|0" "2=b.png|乙|二#行|3,5" \
      "3=c.png|丙|三|0" "" "${node2[@]}" "${hero[@]}" || return
  done

  # Row 1 stays selected; the ID box names child 3, which is asked about and deleted.
  type_into "$editor" "${AT_ID[@]}" 3
  wait_equal "ID box after typing 3" 3 id_text || return
  click "$editor" "${AT_DELETE[@]}"
  answer_box "$editor_hwnd" 确认 'ID：3\\r\\nName：丙\\r\\nText：三\\r\\n是否删除所选子节点？' '&Yes' || return
  answer_box "$editor_hwnd" 提示 '删除完成。' OK || return
  expect_cfg "delete by ID" "${head[@]}" "${node1[@]}" "1=a.png|甲二|说明|0" "2=b.png|乙|二#行|3,5" "3=" "" \
    "${node2[@]}" "${hero[@]}" || return

  # The catalog editor: its section box opened with a click, Down Down Return.
  click "$editor" "${AT_ADVANCED[@]}"
  local line
  window_line '详细关联设置' line || return
  local catalog_hwnd catalog
  catalog_hwnd="$(field "$line" 2)"
  x_window_of "$catalog_hwnd" catalog || return
  click "$catalog" "${AT_SECTION_BOX[@]}"
  xdotool key --delay 100 Down Down Return
  # Hero's entries are listed: its first row shows h1.png.
  click "$catalog" "${AT_FIRST_ROW[@]}"
  wait_editor_has h1.png
}

# Down in the closed main-node box only shows the next node, and Tab out of the
# box takes it (its "不作关联" shows); the ID box takes digits only; Tab goes from
# the picture box over its "预览" to the name box; a refusal names its reason in a
# box the editor owns.
test_keyboard_details() {
  start_editor_program || return
  open_editor || return
  choose_first_node || return
  xdotool key Down
  wait_equal "the main-node box after Down" 海洋 focused_text || return
  editor_has 相互关联 || fail "Down in the closed box loaded the node it shows"
  xdotool key Tab
  wait_editor_has 不作关联 || return
  type_into "$editor" "${AT_ID[@]}" "a1b2" 12
  wait_equal "ID box after typing a1b2" 12 id_text || return
  type_into "$editor" "${AT_PICTURE[@]}" pic.png
  wait_editor_has pic.png || return
  xdotool key Tab Tab
  xdotool type --delay 20 "Tabbed"
  wait_editor_has Tabbed || return
  # The name box stands 22 pixels under the picture box.
  local listing pl pt tl tt
  listing="$(inspect --exe pallo.exe)"
  IFS=, read -r pl pt _ <<<"$(field "$(control_line "$listing" pic.png)" 4)"
  IFS=, read -r tl tt _ <<<"$(field "$(control_line "$listing" Tabbed)" 4)"
  [ "$tl,$tt" = "$pl,$((pt + 22))" ] || fail "Tab Tab from the picture box reached the control at $tl,$tt, not the name box"
  type_into "$editor" "${AT_PICTURE[@]}" " "
  click "$editor" "${AT_ADD[@]}"
  answer_box "$editor_hwnd" 错误 '图片名称为空。' OK || return
  expect_cfg "a refused add" "$(editor_cfg)"
}

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_choose_rename_add_save_delete test_save_twice_delete_by_id_hero_by_keyboard test_keyboard_details
