#!/usr/bin/env bash
# End-to-end tests of the rows under Wine: the menu row beside the overlay, the
# children of a menu node in rows two and three, the entries a Link "1" child
# opens (and where its tip then stands), hiding the detail rows, and the rows
# following a drag of the overlay.
#
#   tests/wine/e2e_rows.sh [TEST...]      all tests, or the named ones
#
# Shared helpers, the session and the runner: tests/wine/e2e_lib.sh.

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

# ---------------------------------------------------------------- content

# The grid step is W + 1 = 76 and H + 1 = 76 (the node windows stay 70 x 70):
#   first row:  left 120 + 76 p, top 110
#   second row: left 120 + 76 (i - 1), top 186
#   third row:  left 120 + 76 (i - 1), top 262
X0=120 Y0=110 STEP=76
ROW2_TOP=$((Y0 + STEP)) ROW3_TOP=$((Y0 + 2 * STEP))

# Section 1: fifteen children, Link 0. Section 2 is skipped (a one-byte Name),
# so section 3 takes the second menu place: an Item node with Link 1 whose
# children open entries. Child 3 of section 1 and entry 2 have no picture file
# (the placeholder shows).
rows_cfg() {
  printf '%s\n' '; rows test' '[Config]' "X=$X0" "Y=$Y0" 'W=75' 'H=75' 'T=0' 'S=150' \
    '[1]' 'Name=Lands' 'Pic=m1.png' 'Title=大陆' 'In=' 'Link=0' 'Show=1'
  local i
  for i in $(seq 1 15); do printf '%s\n' "$i=c$i.png|子$i|说明$i#第二行|0"; done
  printf '%s\n' '[2]' 'Name=A' 'Pic=m2.png' 'Title=跳过' \
    '[3]' 'Name=Kit' 'Pic=m3.png' 'Title=装备' 'In=Item' 'Link=1' 'Show=1' \
    '1=k1.png|甲|两件#Two|1,3' '2=k2.png|乙|一件#One|,2' \
    '[Item]' 'Name=Item' '1=i1.png|剑|A|0' '2=i2.png|盾|B|0' '3=i3.png|弓|C|0'
}

start_rows_program() {
  make_run_dir "$(rows_cfg)" || return 1
  add_pictures Menu m1.png m2.png m3.png
  add_pictures Lands c1.png c2.png c4.png c5.png c6.png c7.png c8.png c9.png c10.png c11.png c12.png \
    c13.png c14.png c15.png
  add_pictures Item i1.png i3.png
  launch_program || return 1
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return 1; }
  wait_geometry "$overlay" "$X0 $Y0 70 70"
}

# expect_captions WHAT "LEFT,TOP<TAB>CAPTION"...: exactly these node windows are
# visible, with these captions (the first row included).
expect_captions() {
  local what="$1" want got
  shift
  want="$(printf '%s\n' "$@" | sort)"
  _captions_are() { got="$(node_captions | sort)"; [ "$got" = "$want" ]; }
  ws_poll 15 _captions_are && return 0
  fail "$what: the visible node windows (place, caption) are"
  printf '%s\n' "$got" | sed 's/^/        /'
  echo "      expected"
  printf '%s\n' "$want" | sed 's/^/        /'
}

menu_captions=("$((X0 + STEP)),$Y0"$'\t'"大陆" "$((X0 + 2 * STEP)),$Y0"$'\t'"装备")

# The captions of section 1's children: 1-14 in the second row, 15 in the third.
# The 1024-pixel screen holds 11 windows right of X0: the row goes on left of
# the overlay (14 windows fit on neither side).
lands_captions() {
  local i
  for i in $(seq 1 11); do printf '%s\t%s\n' "$((X0 + STEP * (i - 1))),$ROW2_TOP" "子$i"; done
  for i in 12 13 14; do printf '%s\t%s\n' "$((X0 - STEP * (i - 11))),$ROW2_TOP" "子$i"; done
  printf '%s\t%s\n' "$X0,$ROW3_TOP" "子15"
}

# press_menu P [BUTTON]: a press (and release) on the P-th menu window.
press_menu() {
  local w
  wait_window_at w "$((X0 + STEP * $1)) $Y0 70 70" "menu window $1" || return 1
  # Away from the caption label: the press lands on the picture box.
  click "$w" 35 20 "${2:-1}"
}

# ---------------------------------------------------------------- tests

# The menu row: one window per configured section, packed (the skipped section 2
# leaves no gap), nothing else visible.
test_menu_row_packed() {
  start_rows_program || return
  expect_captions "menu row" "${menu_captions[@]}"
}

# A press on a menu window shows its children: 1-14 at the second-row places,
# the 15th at the first third-row place.
test_press_shows_children() {
  start_rows_program || return
  press_menu 1 || return
  local lines=()
  mapfile -t lines < <(lands_captions)
  expect_captions "children of section 1" "${menu_captions[@]}" "${lines[@]}"
}

# A click on a Link "1" child shows its entries in the third row, in member
# order; a member that is no number leaves its place empty.
test_link_child_shows_entries() {
  start_rows_program || return
  press_menu 2 || return
  local child
  wait_window_at child "$X0 $ROW2_TOP 70 70" "child 1 of section 3" || return
  click "$child" 35 20
  expect_captions "entries of child 1 (members 1,3)" "${menu_captions[@]}" \
    "$X0,$ROW2_TOP"$'\t'"甲" "$((X0 + STEP)),$ROW2_TOP"$'\t'"乙" \
    "$X0,$ROW3_TOP"$'\t'"剑" "$((X0 + STEP)),$ROW3_TOP"$'\t'"弓"
  window_at child "$((X0 + STEP)) $ROW2_TOP 70 70" || { fail "child 2 of section 3 is not shown"; return; }
  click "$child" 35 20
  expect_captions "entries of child 2 (members ,2)" "${menu_captions[@]}" \
    "$X0,$ROW2_TOP"$'\t'"甲" "$((X0 + STEP)),$ROW2_TOP"$'\t'"乙" \
    "$((X0 + STEP)),$ROW3_TOP"$'\t'"盾"
}

# The tip of a Link "1" child, shown again after its click filled row three,
# stands wholly on the screen and clear of row three: centred under the child,
# where the tip control puts it, it would cover the entries just shown.
test_tip_clears_row_three() {
  start_rows_program || return
  press_menu 2 || return
  local child rect="" seen="" screen
  wait_window_at child "$X0 $ROW2_TOP 70 70" "child 1 of section 3" || return
  click "$child" 35 20
  expect_captions "entries of child 1" "${menu_captions[@]}" \
    "$X0,$ROW2_TOP"$'\t'"甲" "$((X0 + STEP)),$ROW2_TOP"$'\t'"乙" \
    "$X0,$ROW3_TOP"$'\t'"剑" "$((X0 + STEP)),$ROW3_TOP"$'\t'"弓" || return
  screen="$(xwininfo -root | awk '/Width:/ {w = $NF} /Height:/ {h = $NF} END {print w, h}')"
  # Row three holds two windows: x from X0 to X0 + STEP + 70, y from ROW3_TOP.
  _tip_clear() {
    local l t w h sw sh
    rect="$(inspect --exe pallo.exe | awk -F'\t' '$1 == "window" && $3 == "tooltips_class32" {print $4; exit}')"
    [ -n "$rect" ] || return 1
    seen="$rect"
    IFS=, read -r l t w h <<<"$rect"
    read -r sw sh <<<"$screen"
    [ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ $((l + w)) -le "$sw" ] && [ $((t + h)) -le "$sh" ] &&
      { [ $((l + w)) -le "$X0" ] || [ "$l" -ge $((X0 + STEP + 70)) ] ||
        [ $((t + h)) -le "$ROW3_TOP" ] || [ "$t" -ge $((ROW3_TOP + 70)) ]; }
  }
  # The click hid the tip; a small move over the child shows it again.
  local dx
  for dx in 1 -1 1 -1; do
    xdotool mousemove_relative -- "$dx" 0
    ws_poll 5 _tip_clear && return
  done
  if [ -z "$seen" ]; then fail "no tip shown over child 1 after its click"; return; fi
  fail "the tip of child 1 stands at $seen (left,top,width,height): off the screen or over row three"
}

# A right press on a menu window hides rows two and three; the menu stays.
test_right_press_hides_detail_rows() {
  start_rows_program || return
  press_menu 1 || return
  local lines=()
  mapfile -t lines < <(lands_captions)
  expect_captions "children of section 1" "${menu_captions[@]}" "${lines[@]}" || return
  press_menu 2 3 || return
  expect_captions "after a right press" "${menu_captions[@]}"
}

# Dragging the overlay moves the rows along: the first window of each row stands
# at its place relative to the overlay's new position.
test_drag_moves_rows() {
  start_rows_program || return
  press_menu 1 || return
  local first second third
  wait_window_at first "$((X0 + STEP)) $Y0 70 70" "menu window 1" || return
  wait_window_at second "$X0 $ROW2_TOP 70 70" "second-row window 1" || return
  wait_window_at third "$X0 $ROW3_TOP 70 70" "third-row window 1" || return
  drag_overlay 150 130
  local x=$((X0 + 150)) y=$((Y0 + 130))
  wait_geometry "$overlay" "$x $y 70 70" || return
  wait_geometry "$first" "$((x + STEP)) $y 70 70"
  wait_geometry "$second" "$x $((y + STEP)) 70 70"
  wait_geometry "$third" "$x $((y + 2 * STEP)) 70 70"
}

# A topic of 40 entries, in pages of 28.
pages_cfg() {
  printf '%s\n' '; pages test' '[Config]' "X=$X0" "Y=$Y0" 'W=75' 'H=75' 'T=0' 'S=255' \
    '[1]' 'Name=Lands' 'Pic=m1.png' 'Title=大陆' 'In=' 'Link=0' 'Show=1'
  local i
  for i in $(seq 1 40); do printf '%s\n' "$i=c$i.png|子$i|说明$i|0"; done
}

# row_left N: where window N (1-14) of rows two and three stands on the
# 1024-pixel screen: 11 fit right of X0, the rest continue left of the overlay.
row_left() { if [ "$1" -le 11 ]; then echo $((X0 + STEP * ($1 - 1))); else echo $((X0 - STEP * ($1 - 11))); fi; }

# page_captions FIRST LAST: children FIRST to LAST at the places of one view,
# the second row first.
page_captions() {
  local j q
  for j in $(seq "$1" "$2"); do
    q=$((j - $1))
    printf '%s\t%s\n' "$(row_left $((q % 14 + 1))),$((q < 14 ? ROW2_TOP : ROW3_TOP))" "子$j"
  done
}

# expect_page WHAT FIRST LAST "LEFT,TOP<TAB>SIGN": exactly these children shown
# (besides the menu), and the page sign only at that place.
expect_page() {
  local what="$1" lines=() got
  mapfile -t lines < <(page_captions "$2" "$3")
  expect_captions "$what" "$((X0 + STEP)),$Y0"$'\t'"大陆" "${lines[@]}" || return 1
  _sign_is() { got="$(node_signs)"; [ "$got" = "$4" ]; }
  ws_poll 15 _sign_is "$@" && return 0
  fail "$what: the page signs are '$got', expected '$4'"
}

# Pressing the shown topic again turns its pages: 1-28 with "1/2" in the corner
# of the last, 29-40 at the first twelve places of the second row with "2/2",
# then 1-28 again. The page shown second is saved as build/e2e-pages.png.
test_press_turns_pages() {
  make_run_dir "$(pages_cfg)" || return
  add_pictures Menu m1.png
  local names=() i
  for i in $(seq 1 40); do names+=("c$i.png"); done
  add_pictures Lands "${names[@]}"
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "$X0 $Y0 70 70" || return
  press_menu 1 || return
  expect_page "page 1" 1 28 "$(row_left 14),$ROW3_TOP"$'\t'"1/2" || return
  press_menu 1 || return
  expect_page "page 2" 29 40 "$(row_left 12),$ROW2_TOP"$'\t'"2/2" || return
  import -window root "$root/build/e2e-pages.png" 2>/dev/null
  press_menu 1 || return
  expect_page "page 1 again" 1 28 "$(row_left 14),$ROW3_TOP"$'\t'"1/2"
}

# The wheel over the second row: away from the user the next page, towards the
# one before. The pointer rests on a row window that never has the keyboard.
test_wheel_turns_pages() {
  make_run_dir "$(pages_cfg)" || return
  add_pictures Menu m1.png
  launch_program || return
  find_window overlay "$OVERLAY_NAME" || { fail "no visible overlay window"; return; }
  wait_geometry "$overlay" "$X0 $Y0 70 70" || return
  press_menu 1 || return
  expect_page "page 1" 1 28 "$(row_left 14),$ROW3_TOP"$'\t'"1/2" || return
  local first
  wait_window_at first "$X0 $ROW2_TOP 70 70" "second-row window 1" || return
  click "$first" 35 20 5
  expect_page "wheel away" 29 40 "$(row_left 12),$ROW2_TOP"$'\t'"2/2" || return
  click "$first" 35 20 4
  expect_page "wheel towards" 1 28 "$(row_left 14),$ROW3_TOP"$'\t'"1/2"
}

# ---------------------------------------------------------------- runner

e2e_run "$@" -- test_menu_row_packed test_press_shows_children test_link_child_shows_entries \
  test_tip_clears_row_three test_right_press_hides_detail_rows test_drag_moves_rows test_press_turns_pages \
  test_wheel_turns_pages
