#!/usr/bin/env bash
# Runs `talvern-cli sweep` again and again on bus libraries that call back in ways of their own:
# inline inside ibnotify, from a new thread per notification, with a disarm that waits for a
# running callback; and on a library that is not pinned in memory, given as the GPIB library
# itself. Every run must finish its sweep and exit 0 (no hang, no crash at exit).
# Usage: test_cli_bus_threads.sh PATH/TO/talvern-cli WORKDIR PATH/TO/unpinned-simulator.so [RUNS]
set -u
CLI=$1
WORK=$2
UNPINNED=$3
RUNS=${4:-12}
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# NAME RUNS SIMCONFIG -- sweep arguments...: each run exits 0 and writes all 11 readings.
sweep_runs() {
    local name=$1 runs=$2 config=$3
    shift 4
    local run status
    for run in $(seq 1 "$runs"); do
        TALVERN_SIM="$config" timeout 60 "$CLI" sweep --start 10 --stop 100 --out "$WORK/$name.tal" "$@" \
            >"$WORK/$name.out" 2>"$WORK/$name.err"
        status=$?
        if [ "$status" -ne 0 ]; then
            fail "$name run $run: exit $status ($(head -c 400 "$WORK/$name.err"))"
            return
        fi
        grep -qF "11 readings written" "$WORK/$name.out" || { fail "$name run $run: $(cat "$WORK/$name.out")"; return; }
    done
}

for config in "callbacks=inline" "disarm=wait" "callbacks=thread" "callbacks=inline;disarm=wait" \
              "callbacks=thread;disarm=wait"; do
    tag=${config//[=;]/_}
    sweep_runs "gpib_$tag" 3 "$config" -- --simulate "noise=0"
    sweep_runs "usb_$tag" 3 "$config" -- --usb --simulate "noise=0"
    sweep_runs "f1960_$tag" 2 "$config" -- --type RLC1960 --simulate "noise=0"
done

# The library alone holds itself in memory: its threads run until the process ends.
sweep_runs unpinned "$RUNS" "callbacks=thread;noise=0" -- --gpib-library "$UNPINNED"
sweep_runs unpinned_usb 3 "callbacks=thread;disarm=wait;noise=0" -- --usb --visa-library "$UNPINNED"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all bus thread checks passed"
