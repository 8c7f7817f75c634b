#!/usr/bin/env bash
# Starts the program on the offscreen platform over damaged preferences and settings files
# (empty, binary, 100 MB, truncated, UTF-16, every line too long, a long second line) and checks
# that each start leaves a running program past the splash screen's time, with a file it reports
# as damaged kept as "<file>.bad". The cases run side by side, each with its own folders.
# Usage: test_damaged_startup.sh PATH/TO/talvern-rlc WORKDIR
set -u
PROGRAM=$1
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The start of a version 6 preferences file, as the program writes it.
sound_preferences() {
    printf '\r\n* The following parameters are from the Talvern Application:\r\nCTalvernApp Version=6\r\n'
    printf 'Interface Name(deprecated)=0\r\nGPIB Address(deprecated)=8\r\n965 Port Address=768\r\n'
}
sound_settings() {
    printf '[Settings2600]\nGPIB%%20Interface=4\nGPIB%%20address%%20-%%20analyzer=17\n[Settings]\nMaximized=0\n'
}
# Writes the damaged form of a sound text (read from stdin) to a file.
damage() { # kind file
    case $1 in
        empty) : >"$2" ;;
        binary) python3 -c 'import random, sys; random.seed(23); sys.stdout.buffer.write(random.randbytes(5000))' >"$2" ;;
        huge) cat >"$2" && truncate -s 100M "$2" ;;
        truncated) head -c 60 >"$2" ;;
        utf16) python3 -c 'import sys; sys.stdout.buffer.write(sys.stdin.buffer.read().decode("latin-1").encode("utf-16"))' >"$2" ;;
        longlines) python3 -c '
import sys
for line in sys.stdin.buffer.read().split(b"\n"):
    sys.stdout.buffer.write(line.rstrip() + b"7" * 20000 + b"\r\n")' >"$2" ;;
        longsecond) { head -c 90; printf '%0300d\r\n' 0; } >"$2" ;;
    esac
}

start_case() { # what kind
    local dir=$WORK/$1-$2
    mkdir -p "$dir/config/Talvern" "$dir/data/Talvern/TalvernRLC/Talvern" "$dir/run" "$dir/tmp"
    chmod 700 "$dir/run"
    if [ "$1" = preferences ]; then
        # The user's preferences file, in both places a release has read it from.
        sound_preferences | damage "$2" "$dir/data/Talvern/TalvernRLC/Talvern/TalprefRLC2600.txt"
        cp "$dir/data/Talvern/TalvernRLC/Talvern/TalprefRLC2600.txt" "$dir/data/Talvern/TalprefRLC2600.txt"
    else
        sound_settings | damage "$2" "$dir/config/Talvern/TalvernRLC.ini"
    fi
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$dir/config" \
        XDG_DATA_HOME="$dir/data" XDG_RUNTIME_DIR="$dir/run" TMPDIR="$dir/tmp" HOME="$dir" \
        "$PROGRAM" >"$dir/out" 2>&1 &
    echo $! >"$dir/pid"
}

cases=()
for kind in empty binary huge truncated utf16 longlines longsecond; do
    cases+=("preferences $kind")
done
for kind in empty binary huge truncated utf16 longlines; do
    cases+=("settings $kind")
done
for c in "${cases[@]}"; do
    # shellcheck disable=SC2086
    start_case $c
done
# Damaged files are set aside when start-up reads them. Text in no layout the reader knows
# (binary, UTF-16) reads as nothing at all, and an INI file may hold nothing the program reads:
# those must only start.
expects_copy() {
    case "$1 $2" in
        *binary | *utf16 | "settings empty" | "settings longlines") return 1 ;;
    esac
}
has_copy() { [ -n "$(find "$WORK/$1-$2/config" "$WORK/$1-$2/data" -name '*.bad')" ]; }
for _ in $(seq 240); do
    waiting=0
    for c in "${cases[@]}"; do
        # shellcheck disable=SC2086
        if expects_copy $c && ! has_copy $c; then waiting=1; fi
    done
    [ $waiting -eq 0 ] && break
    sleep 0.5
done
# The splash screen closes itself 3 s after it came up, before start-up read the files; a
# prompt it owned would go with it.
sleep 5
for c in "${cases[@]}"; do
    # shellcheck disable=SC2086
    set -- $c
    dir=$WORK/$1-$2
    pid=$(cat "$dir/pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        wait "$pid" 2>/dev/null
    else
        wait "$pid"
        fail "$1 $2: the program ended (exit $?): $(head -c 400 "$dir/out")"
    fi
    if expects_copy "$1" "$2" && ! has_copy "$1" "$2"; then
        fail "$1 $2: no .bad copy of the damaged file"
    fi
done
rm -rf "$WORK"
[ "$failures" -eq 0 ] && echo "damaged start-up files: ${#cases[@]} cases passed"
[ "$failures" -eq 0 ]
