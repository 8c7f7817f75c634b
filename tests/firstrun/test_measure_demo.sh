#!/usr/bin/env bash
# Runs `talvern-cli measure-demo` as `./dev run` does without a display and checks what it
# writes: a document the tool reads back with the corrected component and its model, a
# well-formed report, and a picture of the impedance display.
# Usage: test_measure_demo.sh PATH/TO/talvern-cli WORKDIR
set -u
CLI=$1
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

OUT=$WORK/out
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$CLI" measure-demo "$OUT" >"$WORK/demo.out" 2>"$WORK/demo.err" ||
    fail "measure-demo: exit $? ($(head -c 400 "$WORK/demo.err"))"
for f in measurement.tal measurement-report.xml impedance.jpg; do
    grep -qF "$OUT/$f" "$WORK/demo.out" || fail "the output does not say where $f is"
done
grep -qE "Fitted R \+ L: R: (9\.9|10)" "$WORK/demo.out" || fail "no fit near 10 Ohm: $(grep Fitted "$WORK/demo.out")"

"$CLI" info "$OUT/measurement.tal" >"$WORK/info.out" 2>&1 || fail "info cannot read the document"
grep -qF "Model (R + L)" "$WORK/info.out" || fail "the document holds no model data set"
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$OUT/measurement-report.xml" ||
    fail "the report is not well-formed"
# A JPEG of the picture's size: SOI, then the baseline frame header's height and width (650 x 900).
[ "$(head -c 3 "$OUT/impedance.jpg" | od -An -tx1 | tr -d ' \n')" = "ffd8ff" ] || fail "no JPEG picture"
python3 - "$OUT/impedance.jpg" <<'PY' || fail "the picture is not 900 x 650"
import sys
data = open(sys.argv[1], "rb").read()
at = data.find(b"\xff\xc0")
sys.exit(0 if at > 0 and data[at + 5:at + 9] == bytes([2, 138, 3, 132]) else 1)
PY

[ "$failures" -eq 0 ] && echo "all measure-demo checks passed"
exit "$failures"
