#!/usr/bin/env bash
# Starts talvern-rlc --simulate under Xvfb with fresh settings and saves PNG screenshots of the
# main window: start-up, each display kind with each of its menus open, and no document.
#   tools/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
OUT=${2:-$BUILD/screenshots}
cmake --build "$BUILD" -j "${TALVERN_JOBS:-2}" --target talvern-rlc talvern-screengrab
mkdir -p "$OUT"
rm -f "$OUT"/*.png

if [ -z "${TALVERN_SCREENSHOTS_INNER:-}" ]; then
    TALVERN_SCREENSHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$BUILD" "$OUT"
fi

# Fresh settings and preferences for the run.
HOME_DIR=$(mktemp -d)
trap 'kill "$PID" 2>/dev/null || true; rm -rf "$HOME_DIR"' EXIT
export XDG_CONFIG_HOME=$HOME_DIR/config XDG_DATA_HOME=$HOME_DIR/data XDG_RUNTIME_DIR=$HOME_DIR/run
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Talvern" && chmod 700 "$XDG_RUNTIME_DIR"
# Xvfb has no window manager to maximize the window: it opens at the size of the screen instead.
printf '[Settings]\nMaximized=0\nWindow%%20Left=0\nWindow%%20Top=0\nWindow%%20Right=1280\nWindow%%20Bottom=900\n' \
    >"$XDG_CONFIG_HOME/Talvern/TalvernRLC.ini"

grab() { sleep 0.6; "$BUILD/app/talvern-screengrab" "$OUT/$1.png"; echo "saved $OUT/$1.png"; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }
# Opens the menu with the mnemonic, saves it as NAME, closes it.
menu() { key "alt+$1"; grab "$2"; key Escape; key Escape; }

# The simulated analyzer answers at the program's default GPIB address.
TALVERN_SIM=${TALVERN_SIM:-address=8} "$BUILD/app/talvern-rlc" --simulate &
PID=$!
sleep 1.5
grab 00-splash-and-help-message
sleep 2.5                       # the splash closes after 3 s
key Return                      # "Help file not found"
# Without a window manager nothing gives the main window the focus back after a dialog.
focus_main() { xdotool search --sync --onlyvisible --name "^Talvern RLC" windowfocus --sync; sleep 0.3; }
focus_main
grab 01-start-imp-display

# Impedance display (File New's default) with random data, every menu open.
key alt+a d
key alt+a d
menu f imp-menu-file
menu e imp-menu-edit
menu v imp-menu-view
menu a imp-menu-actions
menu w imp-menu-window
menu h imp-menu-help

# Window menu: Cascade, Tile, Arrange Icons, then the Add Display commands of the kind.
add_display() { key alt+w; for ((i = 0; i < $1; i++)); do key Down; done; key Return; }
add_display 3                   # Add Gain Display
menu f gain-menu-file
menu e gain-menu-edit
menu v gain-menu-view
menu w gain-menu-window
add_display 5                   # Add Text Display (after Imp and Nyquist)
menu f text-menu-file
menu v text-menu-view
menu w text-menu-window
add_display 5                   # Add Nyquist Display (after Gain and Imp)
menu f nyq-menu-file
menu v nyq-menu-view
menu a nyq-menu-actions
menu w nyq-menu-window
key alt+w; key Down; key Return # Tile
grab 10-four-displays-tiled

# Right click on a display: the context menu.
xdotool mousemove 300 400 click 3; sleep 0.4
grab 11-context-menu
key Escape

# Close the document (it was changed: the save question, answered No).
key alt+f c
grab 12-save-question
key alt+n
focus_main
grab 20-no-document
menu f none-menu-file
menu v none-menu-view
menu h none-menu-help
key alt+h a
grab 21-about-box
key Escape
focus_main
key alt+v e
grab 22-settings-dialog
key Escape
focus_main

# Last, a new impedance document and the analyzer control dialog on the simulated analyzer.
key ctrl+n
key alt+a a
sleep 1
grab 30-analyzer-dialog
