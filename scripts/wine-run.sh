#!/usr/bin/env bash
# Runs a Windows program in the project's Wine prefix with the environment
# that gives code page 1251 and no prompts or debug noise.
# Usage: [WINEPREFIX=DIR] wine-run.sh [--default-prefix DIR] PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
if [ "${1:-}" = --default-prefix ]; then
    dictionary_default_prefix "$2"
    shift 2
else
    dictionary_default_prefix
fi
if [ ! -f "$WINEPREFIX/.dictionary-prefix" ]; then
    "$here/wine-prefix.sh" >&2
fi
dictionary_wine_env

# The first program of a server session starts Wine's helper processes
# (services, explorer, ...), which inherit its standard output and error
# and keep them open while the server lives: a caller that reads the output
# (CTest, test discovery) would wait for them. Start them on /dev/null.
server_running() {
    local dir
    dir=$(cat "$WINEPREFIX/wineserver" 2>/dev/null) || dir=.wine-$(id -u)
    local id
    id=$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")
    [ -S "${TMPDIR:-/tmp}/$dir/server-$id/socket" ] || [ -S "/tmp/$dir/server-$id/socket" ]
}
if ! server_running; then
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
