#!/usr/bin/env bash
# Runs talvern-cli on a random document, a truncated one and a garbage file, and checks exit
# codes and key output. Usage: test_cli.sh PATH/TO/talvern-cli WORKDIR
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

# Usage errors: exit 2 with the usage text on stderr.
expect_status 2 noargs -- "$CLI"
expect_text noargs "$WORK/noargs.err" "Usage: talvern-cli"
expect_status 0 help -- "$CLI" --help
expect_text help "$WORK/help.out" "data-set number shown to the user"
expect_status 2 unknown -- "$CLI" frobnicate
expect_status 2 badopt -- "$CLI" info x.tal --bogus
expect_status 2 count0 -- "$CLI" random "$WORK/x.tal" --count 0
expect_status 2 countx -- "$CLI" random "$WORK/x.tal" --count 3x
expect_status 2 countbig -- "$CLI" random "$WORK/x.tal" --count 99999999999999999999999
expect_status 2 channels -- "$CLI" random "$WORK/x.tal" --channels 5
expect_status 2 novalue -- "$CLI" random "$WORK/x.tal" --count
expect_status 2 twofiles -- "$CLI" info a.tal b.tal
[ -e "$WORK/x.tal" ] && fail "a refused command wrote its file"

# A random document of two four-channel sets.
DOC=$WORK/random.tal
expect_status 0 random -- "$CLI" random "$DOC" --count 2 --channels 4 --seed 7
[ -s "$DOC" ] || fail "random: no file written"

expect_status 0 info -- "$CLI" info "$DOC"
for text in "version: 1004" "next number: 3" "data sets: 2" "data set 2 (index 1)" \
    'name: "random"' "points: 50" "output node: 2, input node: 1" "display state"; do
    expect_text info "$WORK/info.out" "$text"
done
[ "$(grep -c '| node ' "$WORK/info.out")" -eq 100 ] || fail "info: expected 100 point lines"

expect_status 0 json -- "$CLI" info "$DOC" --json
if command -v python3 >/dev/null; then
    python3 - "$WORK/json.out" <<'PY' || fail "json: not the expected JSON"
import json, sys
doc = json.load(open(sys.argv[1]))
assert doc["version"] == 1004 and doc["nextNumber"] == 3, doc
sets = doc["dataSets"]
assert [s["number"] for s in sets] == [1, 2]
assert all(len(s["points"]) == 50 for s in sets)
assert all(len(p["nodes"]) == 4 for s in sets for p in s["points"])
assert sets[0]["description"].startswith("Random Voltage Data\r\n")
PY
else
    echo "note: python3 not found, JSON structure not checked"
fi

expect_status 0 gain -- "$CLI" export "$DOC" --set 2 --table gain
expect_text gain "$WORK/gain.out" "*Frequency (Hz)	Gain (dB)	Phase (Deg)"
[ "$(grep -c $'^[0-9][^\t]*\t[^\t]*\t[^\t]*\r$' "$WORK/gain.out")" -eq 50 ] ||
    fail "gain: expected 50 CR LF records of three columns"
expect_status 0 imp -- "$CLI" export "$DOC" --set=1 --table imp
expect_text imp "$WORK/imp.out" "Impedance (Ohms)"
expect_status 0 volt -- "$CLI" export "$DOC" --set 1 --table volt
expect_text volt "$WORK/volt.out" "Channel or Node	Voltage (Volts)	Voltage (dB)	Phase (Deg)"
[ "$(grep -c $'^[0-9][^\t]*\t[1-4]\t' "$WORK/volt.out")" -eq 200 ] ||
    fail "volt: expected 4 x 50 node records"
expect_status 2 noset -- "$CLI" export "$DOC" --set 9 --table gain
expect_status 2 settext -- "$CLI" export "$DOC" --set one --table gain
expect_status 2 table -- "$CLI" export "$DOC" --set 1 --table phase

# Unreadable files: exit 3 with the reader's message.
printf 'not a talvern document at all' >"$WORK/garbage.tal"
expect_status 3 garbage -- "$CLI" info "$WORK/garbage.tal"
expect_text garbage "$WORK/garbage.err" "Unexpected file format."
head -c 200 "$DOC" >"$WORK/truncated.tal"
expect_status 3 truncated -- "$CLI" export "$WORK/truncated.tal" --set 1 --table gain
expect_text truncated "$WORK/truncated.err" "Unexpected file format."
expect_status 3 missing -- "$CLI" info "$WORK/does-not-exist.tal"
expect_status 3 unwritable -- "$CLI" random "$WORK/no/such/dir/x.tal"

# The demonstration writes, reads back and prints.
expect_status 0 demo -- "$CLI" demo "$WORK/demo" --seed 3
[ -s "$WORK/demo/demo.tal" ] || fail "demo: no demo.tal"
expect_text demo "$WORK/demo.out" "data sets: 3"
expect_text demo "$WORK/demo.out" "Gain (dB)"
expect_text demo "$WORK/demo.out" "$WORK/demo/demo.tal"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all talvern-cli checks passed"
