#!/usr/bin/env bash
# Runs `talvern-cli rlc` on the simulated analyzer: a calibration saved to a file and an R + L
# component fitted and reported, the calibration loaded again for a capacitor, and bad options.
# Usage: test_cli_rlc.sh PATH/TO/talvern-cli WORKDIR
set -u
CLI=$1
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_status() { # CODE NAME -- command...
    local code=$1 name=$2
    shift 3
    "$@" >"$WORK/$name.out" 2>"$WORK/$name.err"
    local status=$?
    [ "$status" -eq "$code" ] || fail "$name: exit $status, expected $code ($(head -c 400 "$WORK/$name.err"))"
}

expect_text() { # NAME FILE TEXT
    grep -qF -- "$3" "$2" || fail "$1: '$3' not in $(basename "$2")"
}

well_formed() { # NAME FILE
    python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$2" 2>"$WORK/$1.xmlerr" ||
        fail "$1: $(basename "$2") is not well-formed: $(head -c 300 "$WORK/$1.xmlerr")"
}

FIXTURE="series_r=0.05;series_l=20n;parallel_c=5p;noise=0"

expect_status 0 rl -- "$CLI" rlc --type RLC2600 --simulate "dut=R+L:R=10,L=1m;$FIXTURE" --start 10 --stop 100k \
    --kind "R + L" --name "L1 & co" --out "$WORK/rl.tal" --report "$WORK/rl.xml" --cal "$WORK/fixture.cal"
expect_text rl "$WORK/rl.out" "Model R + L: R: 10 Ohm L: 0.001 H"
expect_text rl "$WORK/rl.out" "6 data sets written to $WORK/rl.tal"
expect_text rl "$WORK/rl.err" "Calibration complete"
[ -s "$WORK/fixture.cal" ] || fail "rl: no calibration file"
well_formed rl "$WORK/rl.xml"
expect_text rl "$WORK/rl.xml" "Name: L1 &amp; co(w/o parasitics)"
expect_text rl "$WORK/rl.xml" "Selected Model: R + L"
expect_status 0 rlinfo -- "$CLI" info "$WORK/rl.tal"
expect_text rlinfo "$WORK/rlinfo.out" 'name: "Model (R + L)"'
expect_text rlinfo "$WORK/rlinfo.out" "calibration role: 5"

# Every analyzer type runs the whole workflow on its simulated analyzer and fits the same values.
for type in RLC1370 RLC1960 RLC1842 RLC1852 RLC1862 RLC880; do
    expect_status 0 "rl$type" -- "$CLI" rlc --type "$type" --simulate "dut=R+L:R=10,L=1m;$FIXTURE" --start 10 \
        --stop 100k --kind "R + L" --name L1 --out "$WORK/rl$type.tal" --report "$WORK/rl$type.xml"
    expect_text "rl$type" "$WORK/rl$type.out" "Model R + L: R: 10 Ohm L: 0.001 H"
    expect_text "rl$type" "$WORK/rl$type.out" "6 data sets written"
done

# The saved calibration measures a capacitor without new calibration sweeps.
expect_status 0 c -- "$CLI" rlc --simulate "dut=C:C=10n;$FIXTURE" --start 100 --stop 1M --kind 2 --name C12 \
    --out "$WORK/c.tal" --report "$WORK/c.xml" --cal "$WORK/fixture.cal"
grep -qF "Please open the circuit" "$WORK/c.err" && fail "c: calibrated again instead of loading the file"
expect_text c "$WORK/c.out" "Model C: C: 1e-08 F"
well_formed c "$WORK/c.xml"

# Without --kind there is no model and no circuit block.
expect_status 0 nokind -- "$CLI" rlc --simulate "dut=R:R=100;$FIXTURE" --start 100 --stop 1k --name R1 \
    --out "$WORK/r.tal" --report "$WORK/r.xml"
grep -qF "Selected Model" "$WORK/r.xml" && fail "nokind: circuit block written"
expect_text nokind "$WORK/nokind.out" "5 data sets written"

# The analyzer goes during the closed-circuit sweep: exit 4, nothing written.
expect_status 4 vanish -- "$CLI" rlc --simulate "dut=R:R=100;fault=vanish_after:60" --start 10 --stop 100k \
    --name X --out "$WORK/x.tal" --report "$WORK/x.xml"
expect_text vanish "$WORK/vanish.err" "the calibration did not complete"
[ -e "$WORK/x.tal" ] && fail "vanish: document written"

# The configuration of --simulate may be left out; "rlc --help" is the usage.
expect_status 0 nocfg -- "$CLI" rlc --simulate --start 100 --stop 1k --name R1 --out "$WORK/n.tal" \
    --report "$WORK/n.xml"
expect_status 0 help -- "$CLI" rlc --help
expect_text help "$WORK/help.out" "Usage: talvern-cli"
expect_status 2 badtype -- "$CLI" rlc --type RLC9999 --simulate --start 10 --stop 100 --name X \
    --out "$WORK/y.tal" --report "$WORK/y.xml"

expect_status 2 nosim -- "$CLI" rlc --start 10 --stop 100 --name X --out "$WORK/y.tal" --report "$WORK/y.xml"
expect_status 2 badkind -- "$CLI" rlc --simulate "" --start 10 --stop 100 --kind "R+X" --name X \
    --out "$WORK/y.tal" --report "$WORK/y.xml"
expect_status 2 range -- "$CLI" rlc --simulate "" --start 1G --stop 100 --name X --out "$WORK/y.tal" \
    --report "$WORK/y.xml"
expect_text range "$WORK/range.err" "Start frequency out of range"

[ "$failures" -eq 0 ] && echo "all talvern-cli rlc checks passed"
exit $((failures > 0))
