#!/usr/bin/env bash
# Imports impedance tables with talvern-cli, fits them (one kind, every kind, JSON) and writes
# reports from the document. Usage: test_cli_fit.sh PATH/TO/talvern-cli WORKDIR
set -u
CLI=$1
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_status CODE NAME -- command...: runs the command, keeps stdout/stderr in $WORK/NAME.*
expect_status() {
    local code=$1 name=$2
    shift 3
    "$@" >"$WORK/$name.out" 2>"$WORK/$name.err"
    local status=$?
    [ "$status" -eq "$code" ] || fail "$name: exit $status, expected $code ($(head -c 300 "$WORK/$name.err"))"
}

expect_text() { # NAME FILE TEXT
    grep -qF -- "$3" "$2" || fail "$1: '$3' not in $(basename "$2")"
}

# An R + (L || C) of 10 Ohm, 1 mH and 1 uF from 10 Hz to 1 MHz, 10 steps per decade, as an
# impedance table with six significant digits (the exact curve, written out by awk).
awk 'BEGIN {
    print "Frequency\tImpedance\tPhase"
    pi = 3.141592653589793
    for (i = 0; i <= 50; i++) {
        f = 10 * 10 ^ (i / 10); w = 2 * pi * f
        b = w * 1e-6 - 1 / (w * 1e-3)          # susceptance of L || C
        x = -1 / b
        printf "%.6g\t%.6g\t%.6g\n", f, sqrt(100 + x * x), atan2(x, 10) * 180 / pi
    }
}' >"$WORK/tank.txt"
# A three-column table without header: gain in dB (an R of 100 Ohm as 40 dB at 0 degrees).
printf '100\t40\t0\n1000\t40\t0\n10000\t40\t0\n' >"$WORK/r.txt"
printf 'no numbers here\n' >"$WORK/junk.txt"

expect_status 0 import -- "$CLI" import "$WORK/tank.txt" --out "$WORK/doc.tal"
[ "$(cat "$WORK/import.out")" = "1" ] || fail "import: printed '$(cat "$WORK/import.out")', not 1"
expect_status 0 into -- "$CLI" import "$WORK/r.txt" --into "$WORK/doc.tal"
[ "$(cat "$WORK/into.out")" = "2" ] || fail "into: printed '$(cat "$WORK/into.out")', not 2"
expect_status 3 junk -- "$CLI" import "$WORK/junk.txt" --into "$WORK/doc.tal"
expect_status 3 missingtable -- "$CLI" import "$WORK/none.txt" --out "$WORK/x.tal"
expect_status 2 bothtargets -- "$CLI" import "$WORK/r.txt" --out "$WORK/x.tal" --into "$WORK/doc.tal"
expect_status 2 notarget -- "$CLI" import "$WORK/r.txt"
[ -e "$WORK/x.tal" ] && fail "a refused import wrote its document"
expect_status 0 info -- "$CLI" info "$WORK/doc.tal"
expect_text info "$WORK/info.out" "data sets: 2"

# One kind: the estimate is off (two-point rules), the refinement recovers the values to the
# table's six digits.
expect_status 0 fit -- "$CLI" fit "$WORK/doc.tal" --set 1 --kind 'R + (L || C)'
expect_text fit "$WORK/fit.out" "estimate      R  1.000004e+01   L  1.110086e-03   C  7.138254e-07"
expect_text fit "$WORK/fit.out" "refined       R  1.000000e+01   L  1.000000e-03   C  1.000001e-06"
expect_text fit "$WORK/fit.out" ", converged"
expect_status 0 json -- "$CLI" fit "$WORK/doc.tal" --set 1 --kind 9 --json
expect_text json "$WORK/json.out" '"kind": "R + (L || C)"'
expect_text json "$WORK/json.out" '"converged": true'
grep -q '"ranking"' "$WORK/json.out" && fail "json: a ranking without auto"
if command -v python3 >/dev/null; then
    python3 - "$WORK/json.out" <<'PY' || fail "json: values"
import json, sys
d = json.load(open(sys.argv[1]))
assert set(d) == {"kind", "estimate", "refined", "residual", "uncertainty", "converged"}, d.keys()
for name, truth in (("R", 10), ("L", 1e-3), ("C", 1e-6)):
    assert abs(d["refined"][name] / truth - 1) < 1e-5, (name, d["refined"][name])
    assert 0 < d["uncertainty"][name] < 1e-4 * truth
assert d["residual"] < 1e-5
PY
fi

# Every kind ranked: the tank first; the resistor's set picks R, and R + (R || C) names Rp.
expect_status 0 auto -- "$CLI" fit "$WORK/doc.tal" --set 1 --kind auto --json
if command -v python3 >/dev/null; then
    python3 - "$WORK/auto.out" <<'PY' || fail "auto: ranking"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["kind"] == "R + (L || C)" and len(d["ranking"]) == 11, d["kind"]
assert [r["kind"] for r in d["ranking"]][0] == "R + (L || C)"
rp = [r for r in d["ranking"] if r["kind"] == "R + (R || C)"][0]
assert set(rp["refined"]) == {"R", "Rp", "C"}, rp
PY
fi
expect_status 0 autor -- "$CLI" fit "$WORK/doc.tal" --set 2 --kind auto
expect_text autor "$WORK/autor.out" "kind        R"$'\n'
expect_text autor "$WORK/autor.out" "refined       R  1.000000e+02"
expect_status 2 nokind -- "$CLI" fit "$WORK/doc.tal" --set 1
expect_status 2 badkind -- "$CLI" fit "$WORK/doc.tal" --set 1 --kind 'R + Q'
expect_status 2 noset -- "$CLI" fit "$WORK/doc.tal" --set 7 --kind R

# Reports: without --kind the panel's report with no model chosen; refined ones carry the
# residual; the kind's estimate alone adds nothing.
expect_status 0 report -- "$CLI" report "$WORK/doc.tal" --out "$WORK/plain.xml"
expect_text report "$WORK/plain.xml" "Selected Model: </Data>"
expect_text report "$WORK/plain.xml" 'ss:ExpandedColumnCount="3" ss:ExpandedRowCount="83"'
expect_status 0 estimate -- "$CLI" report "$WORK/doc.tal" --out "$WORK/estimate.xml" --kind 'R+(L||C)' --set 1
expect_text estimate "$WORK/estimate.xml" "Selected Model: R + (L || C)</Data>"
grep -q "Residual:" "$WORK/estimate.xml" && fail "estimate: a residual without refinement"
expect_status 0 refined -- "$CLI" report "$WORK/doc.tal" --out "$WORK/refined.xml" --kind 9 --set 1 --refine
expect_text refined "$WORK/refined.xml" "Residual:"
expect_text refined "$WORK/refined.xml" 'ss:ExpandedColumnCount="6" ss:ExpandedRowCount="84"'
expect_status 0 best -- "$CLI" report "$WORK/doc.tal" --out "$WORK/best.xml" --kind auto --set 2
expect_text best "$WORK/best.xml" "Selected Model: R</Data>"
expect_text best "$WORK/best.xml" "refined"
expect_status 2 refinealone -- "$CLI" report "$WORK/doc.tal" --out "$WORK/x.xml" --refine
expect_status 3 reportdir -- "$CLI" report "$WORK/doc.tal" --out "$WORK/no/such/dir/x.xml"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all talvern-cli fit checks passed"
