#!/usr/bin/env bash
# Screenshots of the demo content pack (examples/demo) under Wine, to look at:
#   build/screenshot-node.png      a menu node opened: rows two and three showing
#   build/screenshot-rows.png      the same, cut to the overlay and its rows
#   build/screenshot-options.png   the options panel open
#   build/screenshot-donation.png  the donation window open
#
#   tests/wine/screenshots.sh [--docs]   (needs build/windows/pallo.exe and wininspect.exe)
#
# --docs also puts the cut picture of the rows where the README and the content
# guide show it, docs/rows.png (the editors' pictures there come from
# PALLO_CATALOG_SCREENSHOTS=docs tests/wine/e2e_catalog.sh).
#
# Not part of the test suites; it fails only when the program does not get to a
# state it shows.

# Wide enough for the demo's rows: 14 windows from X = 200.
export PALLO_SCREEN="${PALLO_SCREEN:-1280x800x24}"

# shellcheck source=tests/wine/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"

current_test=screenshots
shot() {
  import -window root "$root/build/$1" && echo "screenshots: build/$1"
}

make_run_dir - || exit 1
cp "$DEMO/Cfg.ini" "$run_dir/Cfg.ini"
cp -r "$DEMO/Img" "$run_dir/Img"
launch_program || exit 1
find_window overlay "$OVERLAY_NAME" || { echo "screenshots: no overlay" >&2; exit 1; }

# The demo's overlay stands at 200,150 with W = H = 70; section 1 has 18 children.
read -r x y _ <<<"$(geometry "$overlay")"
wait_window_at menu "$((x + 71)) $y 70 70" "first menu window" || exit 1
click "$menu" 35 20
wait_window_at third "$x $((y + 142)) 70 70" "child 15 in the third row" || exit 1
wait_window_at last "$((x + 71 * 3)) $((y + 142)) 70 70" "child 18 in the third row" || exit 1
shot screenshot-node.png
# The overlay, the menu and the two rows: 14 windows of 71 pixels, three rows.
import -window root -crop "$((71 * 14 - 1))x$((71 * 3 - 1))+$x+$y" +repage "$root/build/screenshot-rows.png" &&
  echo "screenshots: build/screenshot-rows.png"
if [ "${1:-}" = --docs ]; then cp "$root/build/screenshot-rows.png" "$root/docs/rows.png" && echo "screenshots: docs/rows.png"; fi

# A right press on the menu hides the detail rows; a right click on the overlay
# opens the panel.
click "$menu" 35 20 3
_rows_hidden() { ! window_at _w "$x $((y + 71)) 70 70"; }
ws_poll 15 _rows_hidden || { echo "screenshots: the detail rows stay" >&2; exit 1; }
click "$overlay" 35 35 3
wait_geometry "$overlay" "$x $y 70 210" || exit 1
shot screenshot-options.png

click "$overlay" 35 172
_donation_open() { [ -n "$(window_holding 关闭)" ]; }
ws_poll 20 _donation_open || { echo "screenshots: no donation window" >&2; exit 1; }
shot screenshot-donation.png
stop_program
