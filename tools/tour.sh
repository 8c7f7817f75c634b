#!/usr/bin/env bash
# The first-run tour: starts talvern-rlc --simulate under Xvfb with fresh settings and drives it
# with xdotool as a new user would, saving a screenshot of each step: File New, a sweep on the
# simulated analyzer, the RLC workflow, Save To JPG, copy and paste between two documents,
# printing to PDF, Save, Close and Exit with unsaved changes.
#   tools/tour.sh [BUILD_DIR] [OUTPUT_DIR]
# The steps are driven blind (no window manager, keys and mnemonics); look at the pictures.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
OUT=${2:-$BUILD/tour}
cmake --build "$BUILD" -j "${TALVERN_JOBS:-2}" --target talvern-rlc talvern-screengrab
mkdir -p "$OUT"
rm -f "$OUT"/*.png "$OUT"/*.pdf "$OUT"/*.jpg "$OUT"/*.tal

if [ -z "${TALVERN_TOUR_INNER:-}" ]; then
    TALVERN_TOUR_INNER=1 exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$BUILD" "$OUT"
fi

HOME_DIR=$(mktemp -d)
PID=
trap '[ -n "$PID" ] && kill "$PID" 2>/dev/null; rm -rf "$HOME_DIR"' EXIT
export XDG_CONFIG_HOME=$HOME_DIR/config XDG_DATA_HOME=$HOME_DIR/data XDG_RUNTIME_DIR=$HOME_DIR/run
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Talvern" && chmod 700 "$XDG_RUNTIME_DIR"
printf '[Settings]\nMaximized=0\nWindow%%20Left=0\nWindow%%20Top=0\nWindow%%20Right=1280\nWindow%%20Bottom=900\n' \
    >"$XDG_CONFIG_HOME/Talvern/TalvernRLC.ini"

step=0
grab() { sleep 0.8; step=$((step + 1)); local name; name=$(printf '%02d-%s' "$step" "$1")
         "$BUILD/app/talvern-screengrab" "$OUT/$name.png"; echo "saved $OUT/$name.png"; }
key() { xdotool key --clearmodifiers "$@"; sleep 0.5; }
type_text() { xdotool type --delay 20 "$1"; sleep 0.3; }
# Without a window manager nothing gives a window the focus after another closes.
focus() { xdotool search --sync --onlyvisible --name "$1" windowactivate --sync windowfocus --sync 2>/dev/null ||
          xdotool search --sync --onlyvisible --name "$1" windowfocus --sync; sleep 0.4; }
focus_main() { focus "^Talvern RLC"; }
# Clicks at an offset from the top-left corner of the window with the name (its layout's place).
click_in() { # NAME_REGEX DX DY
    local id x y
    id=$(xdotool search --onlyvisible --name "$1" | head -n 1) || return 1
    eval "$(xdotool getwindowgeometry --shell "$id")"
    x=$((X + $2)); y=$((Y + $3))
    xdotool mousemove "$x" "$y" click 1; sleep 0.5
}
wait_for() { # NAME_REGEX SECONDS
    local i
    for ((i = 0; i < $2 * 4; i++)); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0; sleep 0.25; done
    echo "tour: no window '$1'" >&2; return 1
}

TALVERN_SIM=${TALVERN_SIM:-address=8} "$BUILD/app/talvern-rlc" --simulate &
PID=$!
sleep 4
key Return                      # "Help file not found" (when no help file sits beside the program)
grab start-with-simulated-instrument

# File New: the display type question (or the default display).
focus_main
key ctrl+n
grab file-new
key Return
focus_main
grab new-document

# A sweep: Actions > Analyzer Control Menu, Run Sweep, wait for it.
key alt+a a
wait_for "Analyzer Control Menu" 10 || true
grab analyzer-dialog
click_in "Analyzer Control Menu" 50 476   # Run Sweep
sleep 6
grab sweep-done
key alt+c                       # Close the analyzer dialog
focus_main

# The RLC workflow: Actions > RLC Control Panel, Calibrate (open, then short), Test Component.
key alt+a r
wait_for "RLC Control Panel" 10 || true
grab rlc-panel
focus "RLC Control Panel"
grab rlc-panel-measurement-page

# Save To JPG of the active display.
focus_main
key alt+f j
grab save-to-jpg-quality
key Return
sleep 0.5
grab save-to-jpg-chooser
type_text "$OUT/display.jpg"
key Return
sleep 0.5
key Return
focus_main

# Copy the data sets of this document and paste them into a second one.
key ctrl+a
key ctrl+c
key ctrl+n
key Return
focus_main
key ctrl+v
grab pasted-into-second-document

# Print to PDF through the print dialog.
key ctrl+p
grab print-dialog
key Escape
focus_main

# Save As.
key alt+f a
grab save-as-chooser
type_text "$OUT/tour.tal"
key Return
sleep 0.5
focus_main
grab saved

# Close with unsaved changes (the first document): the save question, answered No.
key alt+w c
key alt+f c
grab close-save-question
key alt+n
focus_main

# Exit with unsaved changes.
key alt+a d
key alt+f x
grab exit-save-question
key alt+n
sleep 1
kill -0 "$PID" 2>/dev/null && { grab still-running; } || echo "tour: the program ended"
ls "$OUT"/tour.tal "$OUT"/display.jpg 2>/dev/null || true
