#!/usr/bin/env bash
# End-to-end tests of the catalog editor and the association window under Wine:
# the catalog editor opened by the node editor's "高级", docked one pixel under
# it and following its moves; an Item entry added; the association window opened
# by "详细关联设置" in place of both editors, a node and a child chosen, three
# entries ctrl-clicked, ordered and saved, with Cfg.ini checked byte for byte; a
# name with "|" refused and a Hero entry deleted with the children's links kept
# (read from the restarted program's rows).
#
#   tests/wine/e2e_catalog.sh [TEST...]      all tests, or the named ones
#
# PALLO_CATALOG_SCREENSHOTS=DIR saves a picture of each window there (the README's).
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

# ---------------------------------------------------------------- content

NB=$'\xc2\xa0'  # a typed space as Cfg.ini keeps it: U+00A0
X0=120 Y0=110
# The editors' Win32 handles and X windows, set by open_editors.
editor="" editor_hwnd="" catalog="" catalog_hwnd=""

# Client coordinates of the controls used (their designed places).
AT_ADVANCED=(20 120)         # node editor: "高级"
AT_EDITOR_NODE_BOX=(40 10)   # node editor: its main-node box
AT_SECTION_BOX=(92 10)       # catalog editor: "选择节点"
AT_ASSOCIATE=(63 63)         # catalog editor: "详细关联设置"
AT_PICTURE=(528 32)
AT_NAME=(528 54)
AT_ADD=(577 10)
AT_DELETE=(616 10)
# Both editors share the entry strip: the same places in the node editor.
AT_EDITOR_FIRST_ROW=(200 31)  # the list's first row, below its header
AT_EDITOR_NAME=(528 54)
AT_EDITOR_SAVE=(539 10)
AT_NODE_BOX=(92 246)         # association window: "选择节点"
AT_SORT_BOX=(409 269)
AT_SAVE_ASSOCIATION=(564 269)
AT_CHILD_ROW_1=(100 24)      # the left list's first row, below its header
TARGET_X=417                 # the right list's rows: 14 pixels each from 17
target_row_y() { echo $((24 + 14 * $1)); }

catalog_cfg() {
  printf '%s\n' "[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content" \
    "[1]" "Name=Lands" "Title=大陆" "In=Hero" "Link=1" "Show=1" "Pic=m1.png" \
    "1=a.png|甲|说明|0" "2=b.png|乙|0|3,5" "" \
    "[Item]" "Name=Item" "1=i1.png|剑|锋利|0&0" "2=i2.png|盾|0|1&4,7" "" \
    "[Hero]" "Name=Hero" "1=h1.png|勇者|0|1&1" "2=h2.png|法师|0|0&0" "3=h3.png|弓手|0|0&0" \
    "4=h4.png|盗贼|0|0&0" "5=h5.png|骑士|0|0&0" "6=h6.png|牧师|0|0&0" "7=h7.png|诗人|0|0&0"
}

# rect_of HWND: the outer rectangle "left,top,width,height" of a window.
rect_of() { inspect --exe pallo.exe | awk -F'\t' -v h="$1" '$1 == "window" && $2 == h {print $4}'; }

# docked_rect EDITOR_HWND: where the catalog editor belongs under that editor.
docked_rect() {
  local l t w h
  IFS=, read -r l t w h <<<"$(rect_of "$1")"
  echo "$l,$((t + h + 1)),$w,$h"
}

# control_text HWND X_OFFSET Y_OFFSET CLASS: the text of the window's control of
# that class whose top-left corner lies at that offset from the window's.
control_text() {
  inspect --exe pallo.exe | awk -F'\t' -v want="$1" -v dx="$2" -v dy="$3" -v cls="$4" '
    $1 == "window" {mine = ($2 == want); split($4, w, ",")}
    $1 == "control" && mine && $3 == cls {split($4, r, ","); if (r[1] - w[1] == dx && r[2] - w[2] == dy) {print $5; exit}}'
}

# choose_item XWIN X Y INDEX COUNT: opens a drop-down list of COUNT
# items and clicks item INDEX in it, as a user does. (Arrow keys in an open list
# choose each item they pass, and a handler that disables the box for its wait
# would swallow the next key.)
choose_item() {
  local index="$4" count="$5" rect=""
  click "$1" "$2" "$3"
  _dropped() {
    rect="$(inspect --exe pallo.exe | awk -F'\t' '$1 == "window" && $3 == "ComboLBox" {print $4; exit}')"
    [ -n "$rect" ]
  }
  ws_poll 10 _dropped || { fail "the drop-down list did not open"; return 1; }
  local l t w h
  IFS=, read -r l t w h <<<"$rect"
  local item=$(((h - 2) / count))
  xdotool mousemove $((l + w / 2)) $((t + 1 + item * index + item / 2)) click 1
}

# shot XWIN NAME: with PALLO_CATALOG_SCREENSHOTS set, a picture of the window.
shot() {
  [ -n "${PALLO_CATALOG_SCREENSHOTS:-}" ] || return 0
  local l t w h
  read -r l t w h <<<"$(geometry "$1")"
  mkdir -p "$PALLO_CATALOG_SCREENSHOTS"
  import -window root -crop "${w}x${h}+${l}+${t}" +repage "$PALLO_CATALOG_SCREENSHOTS/$2.png"
}

start_catalog_program() {
  make_run_dir "$(catalog_cfg)" || return 1
  add_pictures Lands a.png b.png
  add_pictures Menu m1.png
  add_pictures Item i1.png i2.png new.png
  add_pictures Hero h1.png
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 70 70"
}

# node_editor_filled: whether the node editor shows a main node (its picture name).
node_editor_filled() { [ -n "$(control_line "$(inspect --exe pallo.exe)" m1.png)" ]; }

# open_editors: the options panel, "编辑配置", then "高级". Sets $editor_hwnd,
# $editor (X window), $catalog_hwnd and $catalog.
open_editors() {
  click "$overlay" 35 35 3
  wait_geometry "$overlay" "$X0 $Y0 70 210" || return 1
  click "$overlay" 35 148
  local line
  window_line '<<改名' line || return 1
  editor_hwnd="$(field "$line" 2)"
  x_window_of "$editor_hwnd" editor || return 1
  if [ -n "${PALLO_CATALOG_SCREENSHOTS:-}" ]; then
    choose_item "$editor" "${AT_EDITOR_NODE_BOX[@]}" 1 2
    ws_poll 10 node_editor_filled || fail "the node editor shows no main node"
    shot "$editor" node-editor
  fi
  click "$editor" "${AT_ADVANCED[@]}"
  window_line '详细关联设置' line || return 1
  catalog_hwnd="$(field "$line" 2)"
  x_window_of "$catalog_hwnd" catalog
}

# ---------------------------------------------------------------- tests

# Docked under the node editor, also after a move; an Item entry added.
test_catalog_docks_and_adds() {
  start_catalog_program || return
  open_editors || return
  wait_equal "the catalog editor's outer rectangle" "$(docked_rect "$editor_hwnd")" rect_of "$catalog_hwnd" || return
  xdotool windowmove "$editor" 300 180
  _editor_moved() { [ "$(rect_of "$editor_hwnd" | cut -d, -f1)" != "$X0" ] && [ "$(rect_of "$editor_hwnd" | cut -d, -f1)" -ge 290 ]; }
  ws_poll 15 _editor_moved || { fail "the node editor did not move"; return; }
  wait_equal "the catalog editor's rectangle after the move" "$(docked_rect "$editor_hwnd")" \
    rect_of "$catalog_hwnd" || return

  choose_item "$catalog" "${AT_SECTION_BOX[@]}" 1 3
  wait_equal "the directory box after choosing Item" Item control_text "$catalog_hwnd" 55 44 ComboBox || return
  type_into "$catalog" "${AT_PICTURE[@]}" new.png
  type_into "$catalog" "${AT_NAME[@]}" "Long bow"
  click "$catalog" "${AT_ADD[@]}"
  answer_box "$catalog_hwnd" 提示 '保存成功。' OK || return
  shot "$catalog" catalog-editor
  local head=("[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content" \
    "[1]" "Name=Lands" "Title=大陆" "In=Hero" "Link=1" "Show=1" "Pic=m1.png" \
    "1=a.png|甲|说明|0" "2=b.png|乙|0|3,5" "")
  expect_cfg add "${head[@]}" "[Item]" "Name=Item" "1=i1.png|剑|锋利|0&0" "2=i2.png|盾|0|1&4,7" \
    "3=new.png|Long${NB}bow|0|0&0" "" \
    "[Hero]" "Name=Hero" "1=h1.png|勇者|0|1&1" "2=h2.png|法师|0|0&0" "3=h3.png|弓手|0|0&0" \
    "4=h4.png|盗贼|0|0&0" "5=h5.png|骑士|0|0&0" "6=h6.png|牧师|0|0&0" "7=h7.png|诗人|0|0&0"
}

# "详细关联设置" replaces both editors; three entries ctrl-clicked, ordered from
# the largest, saved into the child's value.
test_association_orders_and_saves() {
  start_catalog_program || return
  open_editors || return
  local editor_at line assoc_hwnd assoc
  editor_at="$(rect_of "$editor_hwnd" | cut -d, -f1,2)"
  click "$catalog" "${AT_ASSOCIATE[@]}"
  window_line '保存关联' line || return
  assoc_hwnd="$(field "$line" 2)"
  [ "$(field "$line" 4 | cut -d, -f1,2)" = "$editor_at" ] ||
    fail "the association window is at $(field "$line" 4), not at the node editor's $editor_at"
  [ "$(field "$line" 7)" = 1 ] || fail "the association window is not on top"
  [ "$(field "$line" 8)" = 0 ] || fail "the association window has an owner: $(field "$line" 8)"
  _editors_gone() { [ -z "$(window_holding '<<改名')" ] && [ -z "$(window_holding '详细关联设置')" ]; }
  ws_poll 20 _editors_gone || fail "the node editor or the catalog editor is still open"
  x_window_of "$assoc_hwnd" assoc || return

  choose_item "$assoc" "${AT_NODE_BOX[@]}" 1 11
  wait_equal "the section box after choosing 大陆" Hero control_text "$assoc_hwnd" 372 258 ComboBox || return
  click "$assoc" "${AT_CHILD_ROW_1[@]}"
  wait_equal "the ID text of child 1" 0 control_text "$assoc_hwnd" 55 280 Edit || return

  xdotool keydown ctrl
  for row in 1 6 4; do click "$assoc" "$TARGET_X" "$(target_row_y "$row")"; done
  xdotool keyup ctrl
  wait_equal "the ID text after ctrl-clicking rows 2, 7 and 5" "2,5,7" \
    control_text "$assoc_hwnd" 55 280 Edit || return
  shot "$assoc" association-window
  choose_item "$assoc" "${AT_SORT_BOX[@]}" 2 4
  wait_equal "the ID text ordered from the largest" "7,5,2" control_text "$assoc_hwnd" 55 280 Edit || return
  click "$assoc" "${AT_SAVE_ASSOCIATION[@]}"
  answer_box "$assoc_hwnd" 提示 '关联设置保存成功。' OK || return
  # The heroes 甲 (1&1) now links get their back-references in the same write;
  # 骑士 is linked by 乙 (1&2) too. Every Hero back-reference is true after it:
  # 勇者's stale 1&1 goes, and 弓手, linked by 乙, gets 1&2.
  local rest=("[Item]" "Name=Item" "1=i1.png|剑|锋利|0&0" "2=i2.png|盾|0|1&4,7" "" \
    "[Hero]" "Name=Hero" "1=h1.png|勇者|0|0&0" "2=h2.png|法师|0|1&1" "3=h3.png|弓手|0|1&2" \
    "4=h4.png|盗贼|0|0&0" "5=h5.png|骑士|0|1&1,1&2" "6=h6.png|牧师|0|0&0" "7=h7.png|诗人|0|1&1")
  expect_cfg "the association save" "[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content" \
    "[1]" "Name=Lands" "Title=大陆" "In=Hero" "Link=1" "Show=1" "Pic=m1.png" \
    "1=a.png|甲|说明|7,5,2" "2=b.png|乙|0|3,5" "" "${rest[@]}"
}

# A name holding "|" is refused and changes nothing; deleting Hero entry 3 keeps
# every child linking the same heroes, as the restarted program's rows show.
test_refusal_and_delete_keep_links() {
  start_catalog_program || return
  open_editors || return
  local before
  before="$(cat "$run_dir/Cfg.ini")"
  choose_item "$editor" "${AT_EDITOR_NODE_BOX[@]}" 1 2
  ws_poll 10 node_editor_filled || { fail "the node editor shows no main node"; return; }
  click "$editor" "${AT_EDITOR_FIRST_ROW[@]}"
  wait_equal "the name box after a click on the first child" 甲 control_text "$editor_hwnd" 487 66 Edit || return
  type_into "$editor" "${AT_EDITOR_NAME[@]}" '甲|乙'
  click "$editor" "${AT_EDITOR_SAVE[@]}"
  answer_box "$editor_hwnd" 错误 '显示名称不能含有"|"。' OK || return
  [ "$(cat "$run_dir/Cfg.ini")" = "$before" ] || fail "the refused save changed Cfg.ini"

  choose_item "$catalog" "${AT_SECTION_BOX[@]}" 2 3
  click "$catalog" "${AT_EDITOR_FIRST_ROW[@]}"
  wait_equal "the name box after a click on the first hero" 勇者 control_text "$catalog_hwnd" 487 66 Edit || return
  xdotool key Down Down
  wait_equal "the name box after Down Down" 弓手 control_text "$catalog_hwnd" 487 66 Edit || return
  click "$catalog" "${AT_DELETE[@]}"
  answer_box "$catalog_hwnd" 确认 'ID：3\\r\\nName：弓手\\r\\nText：0\\r\\n是否删除所选子节点？' '&Yes' || return
  answer_box "$catalog_hwnd" 提示 '删除完成。' OK || return
  # 乙 linked 弓手 (3) and 骑士 (5): 骑士 is entry 4 now.
  expect_cfg "the delete" "[Config]" "X=$X0" "Y=$Y0" "W=80" "H=80" "; content" \
    "[1]" "Name=Lands" "Title=大陆" "In=Hero" "Link=1" "Show=1" "Pic=m1.png" \
    "1=a.png|甲|说明|0" "2=b.png|乙|0|4" "" \
    "[Item]" "Name=Item" "1=i1.png|剑|锋利|0&0" "2=i2.png|盾|0|1&4,7" "" \
    "[Hero]" "Name=Hero" "1=h1.png|勇者|0|1&1" "2=h2.png|法师|0|0&0" "3=h4.png|盗贼|0|0&0" \
    "4=h5.png|骑士|0|0&0" "5=h6.png|牧师|0|0&0" "6=h7.png|诗人|0|0&0" "7=" || return

  # Restarted, the program shows 乙's entries: 骑士 alone (a single ID shows in
  # the second place).
  stop_program
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay after the restart"; return; }
  local step=81 menu child
  wait_window_at menu "$((X0 + step)) $Y0 70 70" "the menu window of 大陆" || return
  click "$menu" 35 20
  wait_window_at child "$((X0 + step)) $((Y0 + step)) 70 70" "child 2 (乙)" || return
  click "$child" 35 20
  _shows_knight() { node_captions | grep -q "^$((X0 + step)),$((Y0 + 2 * step))"$'\t'"骑士\$"; }
  ws_poll 15 _shows_knight || { fail "the third row does not show 骑士:"; node_captions | sed 's/^/      /'; }
}

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_catalog_docks_and_adds test_association_orders_and_saves test_refusal_and_delete_keep_links
