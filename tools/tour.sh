#!/usr/bin/env bash
# The first-run tour: builds talvern-tour and runs it, under Xvfb when xvfb-run is there, else
# on Qt's offscreen platform. It drives the real program on the simulated analyzer as a new
# user would and saves a numbered picture of each step, the files it wrote and tour.log.
#   tools/tour.sh [BUILD_DIR] [OUTPUT_DIR] [TYPE...]
# Exit status 1 when a step failed (tour.log says which, with "FAIL:").
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
OUT=${2:-$BUILD/tour}
shift $(($# > 2 ? 2 : $#))
cmake --build "$BUILD" -j "${TALVERN_JOBS:-2}" --target talvern-tour
TOUR=$BUILD/tools/tour/talvern-tour
if [ -z "${TALVERN_TOUR_OFFSCREEN:-}" ] && command -v xvfb-run >/dev/null; then
    # No window manager: the program places its windows itself, as on a first start.
    exec xvfb-run -a -s "-screen 0 1400x900x24" "$TOUR" "$OUT" "$@"
fi
QT_QPA_PLATFORM=offscreen exec "$TOUR" "$OUT" "$@"
