# Wine environment shared by wine-prefix.sh and wine-run.sh (sourced).
#
# WINEPREFIX, when set, names the prefix; otherwise the caller's default or
# one under the user's cache folder. Wine's ANSI code page follows the Unix
# locale of each process: bg_BG.UTF-8 gives code page 1251, en_US.UTF-8
# 1252, ja_JP.UTF-8 932 (double-byte), all keeping Unix file names and
# arguments in UTF-8 (bg_BG.CP1251 would mangle Cyrillic names).
# DICTIONARY_WINE_LOCALE picks one of the locales wine-prefix.sh generates;
# bg_BG.UTF-8 when unset. One Wine server serves processes of any of them.

DICTIONARY_CACHE=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/dictionary
DICTIONARY_LOCALES="bg_BG.UTF-8 en_US.UTF-8 ja_JP.UTF-8"
DICTIONARY_LOCALE=${DICTIONARY_WINE_LOCALE:-bg_BG.UTF-8}
# Used when the system locale cannot be generated (not root).
DICTIONARY_LOCPATH=$DICTIONARY_CACHE/locale
# Bump to make wine-prefix.sh redo its settings in existing prefixes.
DICTIONARY_PREFIX_SETUP=1

dictionary_default_prefix() {
    if [ -z "${WINEPREFIX:-}" ]; then
        WINEPREFIX=${1:-$DICTIONARY_CACHE/wine-prefix}
    fi
    export WINEPREFIX
}

# Usage: dictionary_system_has_locale LL_CC.UTF-8
dictionary_system_has_locale() {
    locale -a 2>/dev/null | grep -qix "${1%%.*}\\.utf-\\?8"
}

dictionary_wine_env() {
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if ! dictionary_system_has_locale "$DICTIONARY_LOCALE" && [ -d "$DICTIONARY_LOCPATH/$DICTIONARY_LOCALE" ]; then
        export LOCPATH=$DICTIONARY_LOCPATH
    fi
    export LC_ALL=$DICTIONARY_LOCALE
    unset LANGUAGE
}

# Starts Xvfb on a display of its own: -displayfd picks a free number and
# reports it once the server is ready. Sets DICTIONARY_XVFB_PID and exports
# DISPLAY; fails, with a message, when the server does not come up.
# Usage: dictionary_start_xvfb [WIDTHxHEIGHTxDEPTH]
dictionary_start_xvfb() {
    local number_file number waited=0
    number_file=$(mktemp)
    Xvfb -displayfd 3 -nolisten tcp -screen 0 "${1:-1280x1024x24}" 3>"$number_file" >/dev/null 2>&1 &
    DICTIONARY_XVFB_PID=$!
    while [ ! -s "$number_file" ] && [ "$waited" -lt 300 ] && kill -0 "$DICTIONARY_XVFB_PID" 2>/dev/null; do
        sleep 0.1
        waited=$((waited + 1))
    done
    number=$(tr -dc '0-9' <"$number_file")
    rm -f "$number_file"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$number
}

# Types WORD as keystrokes on the virtual display: a word that is not plain
# ASCII (Cyrillic) on a Bulgarian keyboard, a key for each letter as its
# user types it (a key xdotool borrows for a letter the keyboard lacks loses
# its first press). The pointer must be over a Wine window.
# Usage: dictionary_type_word WORD
dictionary_type_word() {
    if LC_ALL=C grep -q '[^ -~]' <<<"$1"; then
        setxkbmap -layout bg
        sleep 0.5
    fi
    xdotool type --delay 60 "$1"
}
