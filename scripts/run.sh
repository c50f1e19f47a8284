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
# shellcheck source=scripts/program-folder.sh
source scripts/program-folder.sh
dictionary_build_program_folder build/native build/windows dist

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
# shellcheck source=scripts/window-lookup.sh
source scripts/window-lookup.sh
expected=$(DICTIONARY_INDEX_CACHE=off build/native/dictionary-tool --root "$root/dist/Dictionary" lookup -- "$word") || true
shown=$(dictionary_look_up_in_window "$program" "$word" build/windows/read_window.exe "$expected") || exit 1
shot=$root/dist/screenshot.png
import -window root "$shot"
echo "run: screenshot after looking up '$word': $shot"
shown_word=$(head -n 1 <<<"$shown")
shown_description=$(tail -n +2 <<<"$shown")
if [ -z "$expected" ] || [ "$shown_description" != "$expected" ]; then
    echo "run: the window does not show what dictionary-tool prints for '$word'" >&2
    echo "run: word box: '$shown_word'; description:" >&2
    printf '%s\n' "${shown_description:-(empty)}" | sed 's/^/    /' >&2
    echo "run: dictionary-tool lookup $word:" >&2
    printf '%s\n' "${expected:-(nothing)}" | sed 's/^/    /' >&2
    exit 1
fi
echo "run: the window shows '$shown_word' with the description dictionary-tool prints for it"

# The commands README.txt gives a Windows user, in the program folder.
(
    cd "$root/dist/Dictionary"
    for command in "--help" "list" "lookup $word"; do
        # shellcheck disable=SC2086
        if ! printed=$(wine dictionary-tool.exe $command </dev/null | tr -d '\r') || [ -z "$printed" ]; then
            echo "run: dictionary-tool.exe $command failed in the program folder" >&2
            exit 1
        fi
        if [ "$command" = "lookup $word" ] && [ "$printed" != "$expected" ]; then
            echo "run: dictionary-tool.exe lookup $word prints other text than the native tool" >&2
            exit 1
        fi
    done
) || exit 1
echo "run: dictionary-tool.exe --help, list and lookup $word answer in the program folder"
echo "run: to use it, run this script where a display is available, or copy dist/Dictionary to Windows"
