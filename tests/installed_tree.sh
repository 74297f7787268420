#!/usr/bin/env bash
# Installs the built program into a scratch prefix and checks what a desktop needs of it: the
# program, a launcher that passes desktop-file-validate and names them, and the icon in every
# theme size under the launcher's icon name.
#   installed_tree.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
launchers=("$prefix"/share/applications/*.desktop)
[ ${#launchers[@]} -eq 1 ] && [ -f "${launchers[0]}" ] || fail "expected one launcher"
launcher=${launchers[0]}
desktop-file-validate "$launcher" || fail "the launcher does not validate"

entry() { sed -n "s/^$1=//p" "$launcher"; }
program=$(entry Exec) icon=$(entry Icon)
[ "$(entry Categories)" = "Science;Engineering;" ] || fail "the launcher is not under Science"
[ "$(basename "$launcher" .desktop)" = "$program" ] || fail "launcher file is not named $program"
[ -x "$prefix/bin/$program" ] || fail "Exec=$program is not installed in bin"

for size in 16 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    [ -f "$png" ] || fail "no ${size}px icon"
    # PNG signature, then width and height as the first two big-endian words of IHDR.
    read -r -a head <<<"$(od -An -tu1 -w24 -N24 "$png")"
    [ "${head[1]}${head[2]}${head[3]}" = "807871" ] || fail "${size}px icon is not a PNG"
    width=$(((head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19]))
    height=$(((head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23]))
    [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] || fail "${size}px icon is ${width}x$height"
done
svg="$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
grep -q '<svg ' "$svg" || fail "no scalable icon"
# Its speakers stand where the grid's lines cross, as in the drawn sizes.
python3 - "$svg" <<'PY' || fail "the scalable icon's speakers are off the grid"
import re, sys, xml.etree.ElementTree as ET
svg = ET.parse(sys.argv[1]).getroot()
grid = next(e.get("d") for e in svg.iter() if e.tag.endswith("path"))
columns = {float(x) for x in re.findall(r"M([\d.]+) [\d.]+V", grid)}
rows = {float(y) for y in re.findall(r"M[\d.]+ ([\d.]+)H", grid)}
dots = [(float(c.get("cx")), float(c.get("cy"))) for c in svg.iter() if c.tag.endswith("circle")]
sys.exit(not dots or any(x not in columns or y not in rows for x, y in dots))
PY

# The installed program starts and keeps running; timeout's 124 means it was still up.
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$prefix/bin/$program" || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended with status $status"
# The command line beside it runs with no display at all.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/masking-speaker-plan" --version |
    grep -q '^masking-speaker-plan ' || fail "the installed command line does not run"
[ -f "$prefix/share/doc/$program/copyright" ] || fail "no copyright file"
echo "installed tree OK: $program, masking-speaker-plan, $icon"
