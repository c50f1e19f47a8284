#!/usr/bin/env bash
# Builds everything, assembles the ready program folder dist/Dictionary and
# starts Dictionary.exe under Wine on its default dictionary.
# With a display ($DISPLAY) the window opens there and the script waits
# until the program ends. Without one, it starts a virtual display, looks a
# word up, takes a screenshot and says where it is.
# Usage: run.sh [WORD]   (the word for the screenshot; default: cat)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
word=${1:-cat}

bash scripts/install-deps.sh
cmake -S . -B build/native -G Ninja
cmake --build build/native -j 2 --target dictionary-tool default_dictionary
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DDICTIONARY_BENCHMARKS=OFF
cmake --build build/windows -j 2 --target Dictionary dictionary-tool
bash scripts/make-dist.sh build/native build/windows dist

source scripts/wine-env.sh
dictionary_default_prefix
bash scripts/wine-prefix.sh
dictionary_wine_env
program=$root/dist/Dictionary/Dictionary.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "run: starting $program on $DISPLAY"
    # Minimized to the notification area, it stays reachable from there.
    exec wine "$program"
fi

xvfb_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

dictionary_start_xvfb 1024x768x24
xvfb_pid=$DICTIONARY_XVFB_PID
echo "run: no display; started a virtual one on $DISPLAY"

# Without stored settings the program starts as on its first run: shown.
wine reg delete 'HKCU\software\Tamrin\Dictionary' /f >/dev/null 2>&1 || true
wine "$program" >/dev/null 2>&1 &
window=
for _ in $(seq 150); do
    window=$(xdotool search --name '^Dictionary' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "run: the window did not appear" >&2
    exit 1
fi
sleep 1
# Type the word into the word box and press Enter, as a user would.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 100)) $((Y + 72)) click 1
xdotool type --delay 60 "$word"
xdotool key Return
sleep 1
shot=$root/dist/screenshot.png
import -window root "$shot"
echo "run: the program started; screenshot after looking up '$word': $shot"
echo "run: to use it, run this script where a display is available, or copy dist/Dictionary to Windows"
