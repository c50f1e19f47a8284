#!/usr/bin/env bash
# Start-up of Dictionary.exe under Wine, warm: from starting the program to
# its window showing the description of a looked-up word. Builds the
# Windows program and the probe (build/windows, as scripts/test.sh does),
# runs them in a prefix of their own on a private Xvfb display, with a
# persistent Wine server, and prints the probe's figures.
#
# Usage: bench/startup.sh [DICTIONARY_DIR WORD]...   (default: the default
# dictionary of build/bench and the word cat). BENCH_STARTS sets the number
# of timed starts (default 10).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${BENCH_STARTS:-10}
[ $# -eq 0 ] && set -- "$root/build/bench/dictionaries/English_Bulgarian" cat

# shellcheck source=scripts/program-folder.sh
source scripts/program-folder.sh
[ -f build/windows/CMakeCache.txt ] || dictionary_configure_windows build/windows >/dev/null
cmake --build build/windows -j 2 --target Dictionary startup_probe >/dev/null

# The program folder: the program and links to the dictionaries.
folder=$root/build/bench/startup
rm -rf "$folder"
mkdir -p "$folder"
cp build/windows/Dictionary.exe "$folder/"
args=("$@")
for ((i = 0; i < ${#args[@]}; i += 2)); do
    ln -s "$(cd "${args[i]}" && pwd)" "$folder/$(basename "${args[i]}")"
done

export WINEPREFIX=$root/build/bench/wine-prefix
bash scripts/wine-prefix.sh
source scripts/wine-env.sh
dictionary_wine_env

xvfb_pid=
server=
cleanup() {
    [ -n "$server" ] && wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
dictionary_start_xvfb
xvfb_pid=$DICTIONARY_XVFB_PID

# Warm: a persistent server whose helper processes are already running.
wineserver -p
server=1
timeout 120 wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true

for ((i = 0; i < ${#args[@]}; i += 2)); do
    wine build/windows/startup_probe.exe "$folder" "$(basename "${args[i]}")" "${args[i + 1]}" "$runs" </dev/null | tr -d '\r'
done
