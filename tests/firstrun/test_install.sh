#!/usr/bin/env bash
# Installs the build into a fresh prefix with `cmake --install` and checks that everything the
# desktop and the Help menu rely on is there: the programs, the simulator, the desktop entry, the
# file types and icons, the guide with its pictures, the printable manual and the m-files.
# Usage: test_install.sh BUILD_DIR WORKDIR
set -u
BUILD=$1
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK" || exit 1
PREFIX=$WORK/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || fail "cmake --install: $(tail -5 "$WORK/install.log")"
SHARE=$PREFIX/share
FOLDER="$SHARE/TalvernRLC"
for f in bin/talvern-rlc bin/talvern-cli lib/talvern-rlc/libtalvern-sim.so \
         share/applications/talvern-rlc.desktop share/mime/packages/talvern-rlc.xml \
         share/icons/hicolor/scalable/apps/talvern-rlc.svg \
         share/TalvernRLC/help/index.html share/TalvernRLC/help/images/gain-display.png \
         "share/TalvernRLC/RLC Manual.pdf" "share/TalvernRLC/Matlab m-files/talvern_read.m" \
         "share/TalvernRLC/Matlab m-files/README.txt"; do
    [ -s "$PREFIX/$f" ] || fail "not installed: $f"
done
[ -x "$PREFIX/bin/talvern-rlc" ] || fail "talvern-rlc is not executable"
grep -q '^Exec=talvern-rlc' "$SHARE/applications/talvern-rlc.desktop" || fail "the desktop entry does not start talvern-rlc"
for ext in tal cal; do
    grep -qF "pattern=\"*.$ext\"" "$SHARE/mime/packages/talvern-rlc.xml" || fail "no MIME type for .$ext"
done
# Every picture the guide shows is installed beside it.
for picture in $(grep -o 'src="[^"]*"' "$FOLDER/help/index.html" | sed 's/^src="//; s/"$//'); do
    [ -s "$FOLDER/help/$picture" ] || fail "the guide's picture $picture is not installed"
done
# The manual is a complete PDF of several pages.
python3 - "$FOLDER/RLC Manual.pdf" <<'PY' || fail "the manual is not a complete PDF of several pages"
import re, sys
data = open(sys.argv[1], "rb").read()
pages = len(re.findall(rb"/Type\s*/Page[^s]", data))
sys.exit(0 if data.startswith(b"%PDF-") and data.rstrip().endswith(b"%%EOF") and pages >= 3 else 1)
PY
[ "$failures" -eq 0 ] && echo "install: all present" && exit 0
exit 1
