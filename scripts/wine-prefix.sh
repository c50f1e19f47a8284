#!/usr/bin/env bash
# Creates or refreshes the private headless Wine prefix the Windows programs
# and tests run in, and the locales of its runs (wine-env.sh): bg_BG.UTF-8
# for code page 1251, en_US.UTF-8 for 1252, ja_JP.UTF-8 for 932.
# Usage: [WINEPREFIX=DIR] wine-prefix.sh [DEFAULT_PREFIX]
# Fast when the prefix is already set up.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
dictionary_default_prefix "${1:-}"

# The locales the runs use: generated for the system when we may (root,
# one locale-gen for all of them), otherwise into a private LOCPATH.
ensure_locales() {
    local name missing=()
    for name in $DICTIONARY_LOCALES; do
        dictionary_system_has_locale "$name" || missing+=("$name")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" = 0 ] && [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null; then
        for name in "${missing[@]}"; do
            local pattern=${name//./\\.}
            sed -i "s/^# *\\($pattern UTF-8\\)/\\1/" /etc/locale.gen
            grep -q "^$pattern UTF-8" /etc/locale.gen || echo "$name UTF-8" >>/etc/locale.gen
        done
        locale-gen >/dev/null
    fi
    for name in "${missing[@]}"; do
        dictionary_system_has_locale "$name" && continue
        [ -d "$DICTIONARY_LOCPATH/$name" ] && continue
        mkdir -p "$DICTIONARY_LOCPATH"
        # localedef warns (exit 1) about harmless details of the source; judge by the result.
        localedef -i "${name%%.*}" -f UTF-8 "$DICTIONARY_LOCPATH/$name" || true
        if [ ! -d "$DICTIONARY_LOCPATH/$name" ]; then
            echo "wine-prefix: cannot make the $name locale" >&2
            return 1
        fi
    done
}

ensure_locales
dictionary_wine_env

stamp=$WINEPREFIX/.dictionary-prefix
wanted="$(wine --version) setup $DICTIONARY_PREFIX_SETUP"
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ] && exit 0

# Parallel test discoveries may ask for the prefix at the same moment.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ] && exit 0

echo "wine-prefix: setting up $WINEPREFIX" >&2
wineboot -i >/dev/null 2>&1

# Wine does not find its own fonts in Debian's layout; without them dialogs
# fall back to Liberation Sans and caption buttons draw as letters.
cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"

reg_add() { wine reg add "$@" /f >/dev/null 2>&1; }
replacements='HKCU\Software\Wine\Fonts\Replacements'
reg_add "$replacements" /v "Times New Roman" /t REG_SZ /d "Liberation Serif"
reg_add "$replacements" /v "Arial" /t REG_SZ /d "Liberation Sans"
reg_add "$replacements" /v "Courier New" /t REG_SZ /d "Liberation Mono"
# Without a window manager every hide or close would otherwise wait ~2 s.
reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
# A crash ends the program with a backtrace instead of hanging on a dialog.
reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0

# Let the registry settle; bounded, since a persistent server never exits.
timeout 60 wineserver -w || true
echo "$wanted" >"$stamp"
