#!/usr/bin/env bash
# Starts Dictionary.exe from a program folder on a private Xvfb display,
# optionally types a word and Enter, and saves a picture of the screen.
# Usage: [SCREENSHOT_SIZE=WIDTHxHEIGHT] [DICTIONARY_WINE_LOCALE=en_US.UTF-8]
#        screenshot.sh PROGRAM_FOLDER OUTPUT.png [WORD]
# Runs in WINEPREFIX when it is set; otherwise in a prefix of its own whose
# settings are removed first, so the window opens as on a first run (shown,
# centred, default options). SCREENSHOT_SIZE (own prefix only) stores that
# window size instead, with the window at (100, 100) and shown at start.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

if [ $# -lt 2 ]; then
    echo "usage: $0 PROGRAM_FOLDER OUTPUT.png [WORD]" >&2
    exit 2
fi
folder=$(cd "$1" && pwd)
output=$(realpath -m "$2")
word=${3:-}
[ -f "$folder/Dictionary.exe" ] || { echo "screenshot: no Dictionary.exe in $folder" >&2; exit 1; }

source "$root/scripts/wine-env.sh"
own_prefix=
if [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX=$DICTIONARY_CACHE/screenshot-prefix
    own_prefix=1
fi
"$root/scripts/wine-prefix.sh" >&2
dictionary_wine_env

xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null || true
}
trap cleanup EXIT

# -displayfd picks a free display number and reports it once ready.
number_file=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
done
export DISPLAY=:$(tr -dc '0-9' <"$number_file")
rm -f "$number_file"
[ "$DISPLAY" != ":" ] || { echo "screenshot: Xvfb did not start" >&2; exit 1; }

# Little-endian 32-bit integers as the hex digits reg add takes.
le32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
if [ -n "$own_prefix" ]; then
    key='HKCU\software\Tamrin\Dictionary'
    wine reg delete "$key" /f >/dev/null 2>&1 || true
    if [ -n "${SCREENSHOT_SIZE:-}" ]; then
        width=${SCREENSHOT_SIZE%x*}
        height=${SCREENSHOT_SIZE#*x}
        wine reg add "$key" /v pos /t REG_BINARY /d "$(le32 100)$(le32 100)" /f >/dev/null 2>&1
        wine reg add "$key" /v size /t REG_BINARY /d "$(le32 "$width")$(le32 "$height")" /f >/dev/null 2>&1
        wine reg add "$key" /v startmin /t REG_DWORD /d 0 /f >/dev/null 2>&1
    fi
fi

(cd "$folder" && exec wine "$folder/Dictionary.exe") </dev/null >/dev/null 2>&1 &
program_pid=$!

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Dictionary' | head -n 1) || {
    echo "screenshot: the window did not appear" >&2
    exit 1
}
sleep 1
if [ -n "$word" ]; then
    # Wine takes keys only while the pointer is over one of its windows; the
    # word edit has the focus from the start.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    sleep 0.3
    dictionary_type_word "$word"
    xdotool key Return
    sleep 1
fi
import -window root "$output"
echo "$output"
