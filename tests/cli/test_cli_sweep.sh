#!/usr/bin/env bash
# Runs `talvern-cli sweep` on the simulated analyzer over GPIB and USB, with an error and with bad
# options, and checks exit codes, the document written and the communication log.
# Usage: test_cli_sweep.sh PATH/TO/talvern-cli WORKDIR
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

# A log sweep over GPIB: 11 readings, the second measure command with four digits.
expect_status 0 gpib -- "$CLI" sweep --type RLC2600 --start 10 --stop 100 --simulate "noise=0" \
    --out "$WORK/gpib.tal" --comm-log "$WORK/gpib.log"
expect_text gpib "$WORK/gpib.out" "11 readings written to $WORK/gpib.tal"
expect_text gpib "$WORK/gpib.log" "Sent:'FREQ,12.59;MEAS;'"
expect_text gpib "$WORK/gpib.log" "Talvern Analyzer found."
expect_status 0 gpibinfo -- "$CLI" info "$WORK/gpib.tal"
expect_text gpibinfo "$WORK/gpibinfo.out" "Data gathered by the 3xxx/2xxx System"
expect_text gpibinfo "$WORK/gpibinfo.out" "frequency: 10 .. 100 Hz"

# A linear sweep over USB of a 5xxx model at another address, with the servo and maximum change.
expect_status 0 usb -- "$CLI" sweep --type RLC2600 --usb --model 5512 --serial 77 --start 1k --stop 3.5k \
    --linear-step 1k --servo 0.1,2,6 --max-gain 3 --max-phase 30 --simulate "dut=lowpass:fc=2k" \
    --out "$WORK/usb.tal" --comm-log "$WORK/usb.log"
expect_text usb "$WORK/usb.log" "USB connection opened."
expect_text usb "$WORK/usb.log" "Sent:'*ESE,60;MODE,SING;AMPL,0.01;"
expect_status 0 usbinfo -- "$CLI" info "$WORK/usb.tal"
expect_text usbinfo "$WORK/usbinfo.out" "Data gathered by the 5xxx System"
expect_text usbinfo "$WORK/usbinfo.out" "frequency: 1000 .. 3500 Hz"

# The other families over GPIB, each with its own start text and acquisition line.
expect_status 0 f1960 -- "$CLI" sweep --type RLC1960 --start 10 --stop 100 --simulate "noise=0" \
    --out "$WORK/f1960.tal" --comm-log "$WORK/f1960.log"
expect_text f1960 "$WORK/f1960.out" "11 readings written"
expect_text f1960 "$WORK/f1960.log" "Sent:'FREQUE,12.59;GAINPH?;'"
expect_status 0 f1960info -- "$CLI" info "$WORK/f1960.tal"
expect_text f1960info "$WORK/f1960info.out" "Data gathered by the 1960 System"
expect_status 0 f1842 -- "$CLI" sweep --type RLC1842 --start 1M --stop 20M --log-steps 2 --simulate "noise=0" \
    --out "$WORK/f1842.tal" --comm-log "$WORK/f1842.log"
expect_text f1842 "$WORK/f1842.log" "1800 Analyzer found."
expect_text f1842 "$WORK/f1842.log" "Freq limited to 1.5e+07 for current waveform"
expect_status 0 f880 -- "$CLI" sweep --type RLC880 --start 10 --stop 100 --simulate "noise=0" \
    --out "$WORK/f880.tal" --comm-log "$WORK/f880.log"
expect_text f880 "$WORK/f880.log" "Sent:'INT;SSS1;HDR1;OAM 1;ODB 0;BDS 0;BIS 1;AIM 0;OWF0;OON0;OON1;SRQ1;OFR 10;MSI;'"
expect_status 0 f880info -- "$CLI" info "$WORK/f880.tal"
expect_text f880info "$WORK/f880info.out" "Data gathered by the Talvern 880 System"
expect_status 2 f1960usb -- "$CLI" sweep --type RLC1960 --usb --start 10 --stop 100 --out "$WORK/bad.tal"

# Linear steps finer than the four digits sent: each frequency is measured once.
expect_status 0 fine -- "$CLI" sweep --type RLC1960 --start 10000 --stop 10030 --linear-step 1 --simulate "noise=0" \
    --out "$WORK/fine.tal"
expect_text fine "$WORK/fine.out" "4 readings written to $WORK/fine.tal"

# The analyzer vanishes mid-sweep: the report, exit 4, and the readings so far in the document.
expect_status 4 lost -- "$CLI" sweep --start 10 --stop 100k --simulate "fault=vanish_after:5" --out "$WORK/lost.tal"
expect_text lost "$WORK/lost.err" "talvern-cli: Error on GPIB Bus..."
expect_text lost "$WORK/lost.err" "iberr = 2 ENOL <No Listener>"
expect_text lost "$WORK/lost.out" "5 readings written to $WORK/lost.tal"
expect_status 0 lostinfo -- "$CLI" info "$WORK/lost.tal"

# Nobody answers: exit 4, an empty document.
expect_status 4 absent -- "$CLI" sweep --start 10 --stop 100 --simulate "fault=no_listener" --out "$WORK/absent.tal"
expect_text absent "$WORK/absent.err" "No Analyzer Detected"
[ -e "$WORK/absent.tal" ] || fail "absent: no document written"

# The 1-5 MHz band's 6 V ceiling goes with 1 MHz as sent: the sweep ends and nothing is breached.
expect_status 0 ceiling -- "$CLI" sweep --type RLC1852 --start 100k --stop 2M --ac 10 --simulate "noise=0" \
    --out "$WORK/ceiling.tal" --comm-log "$WORK/ceiling.log"
expect_text ceiling "$WORK/ceiling.log" "AMPLIT,6;FREQUE,1E+06;GAINPH?;"
grep -q "breach" "$WORK/ceiling.err" && fail "ceiling: a breach was listed"

# A command the analyzer refuses is a breach of its rules: listed on stderr, exit 5.
expect_status 5 refused -- "$CLI" sweep --start 10 --stop 100 --simulate "noise=0;refuse=*ESE" --out "$WORK/refused.tal"
expect_text refused "$WORK/refused.err" "the simulated analyzer recorded 1 breach of its rules:"
expect_text refused "$WORK/refused.err" "refused: the analyzer is set to refuse this command: '*ESE,60'"

# Bad options: exit 2, nothing written.
expect_status 2 nostop -- "$CLI" sweep --start 10 --out "$WORK/bad.tal" --simulate
expect_status 2 badtype -- "$CLI" sweep --type RLC1961 --start 10 --stop 100 --out "$WORK/bad.tal"
expect_status 2 badnumber -- "$CLI" sweep --start 10x --stop 100 --out "$WORK/bad.tal"
expect_status 2 bothsteps -- "$CLI" sweep --start 10 --stop 100 --log-steps 5 --linear-step 10 --out "$WORK/bad.tal"
expect_status 2 badservo -- "$CLI" sweep --start 10 --stop 100 --servo 0.1,7 --out "$WORK/bad.tal"
expect_status 2 badsim -- "$CLI" sweep --start 10 --stop 100 --simulate "bogus=1" --out "$WORK/bad.tal"
[ -e "$WORK/bad.tal" ] && fail "a refused sweep wrote its file"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all sweep checks passed"
