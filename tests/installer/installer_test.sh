#!/usr/bin/env bash
# The installer under Wine, each case in a fresh prefix, run silently as an
# administrator's script would:
#   install    files, shortcut and uninstall entry; the installed program
#              looks cat up; an untouched installation uninstalls to nothing
#   upgrade    a newer release (a higher version, a default dictionary that
#              differs) over a running program and the user's changes keeps
#              every change byte for byte and replaces the untouched files
#   uninstall  programs, shortcut, uninstall entry and "Start with Windows"
#              go; the changed and the created dictionaries stay
# Prints "PASS case (...)" or "FAIL case: why" for each, the size of the
# installer and the time of a silent install, and last a line
# "installer: N passed, M failed".
# Usage: installer_test.sh NATIVE_BUILD WINDOWS_BUILD DIST [CASE...]
# Needs an X display (DISPLAY) for the look-up.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
dist=$(cd "$3" && pwd)
shift 3
cases=("$@")
[ ${#cases[@]} -eq 0 ] && cases=(install upgrade uninstall)

# shellcheck source=scripts/program-folder.sh
source "$root/scripts/program-folder.sh"
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
# shellcheck source=scripts/window-lookup.sh
source "$root/scripts/window-lookup.sh"

setup=$dist/Dictionary-setup.exe
payload=$dist/Dictionary
tool=$native/dictionary-tool
# The tool keeps no letter indexes of the test's folders.
export DICTIONARY_INDEX_CACHE=off
version=$("$tool" --version | awk '{print $2}')
work=$(mktemp -d "${TMPDIR:-/tmp}/dictionary-installer-test.XXXXXX")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dictionary'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\Software\Tamrin\Dictionary'
passed=0
failed=0

cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

# ---- A fresh prefix and the installer's places in it.

# Sets WINEPREFIX to a new prefix named $1 and `folder`, `shortcut` to where
# the installer puts the program and its Start-menu entry.
fresh_prefix() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    export WINEPREFIX=$work/$1
    # Set up as the project's prefixes are: run.sh clicks the same place.
    bash "$root/scripts/wine-prefix.sh" 2>/dev/null
    dictionary_wine_env
    # No menu entries of the desktop outside the prefix.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    local user_folder
    user_folder=$WINEPREFIX/drive_c/users/$(id -un)
    folder=$user_folder/AppData/Local/Programs/Dictionary
    shortcut="$user_folder/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Dictionary.lnk"
}

# Installs silently; install_seconds is how long it took.
silent_install() {
    local start
    start=$(date +%s%N)
    wine "$1" /S </dev/null >/dev/null 2>&1 || return 1
    install_seconds=$(LC_ALL=C awk -v ns=$(($(date +%s%N) - start)) 'BEGIN {printf "%.1f", ns / 1e9}')
}

# The silent uninstaller hands over to a copy of itself and returns at
# once: the copy has finished when the prefix's last process has.
silent_uninstall() {
    wine "$folder/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || return 1
    wineserver -w
}

reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name {$1=""; $2=""; sub(/^ +/, ""); print}'; }

# ---- Checks: each failure is one line, the case fails when there is any.

problems=()
problem() { problems+=("$*"); }

# Every file under $1 has the same bytes under $2.
same_files() {
    local from=$1 to=$2 path
    while IFS= read -r -d '' path; do
        cmp -s "$from/$path" "$to/$path" || problem "$to/$path: not the bytes of $from/$path"
    done < <(cd "$from" && find . -type f -printf '%P\0')
}

# The files under $1 that differ from $2 or are not there, one a line.
changed_files() {
    (cd "$1" && find . -type f ! -name writer.lock -printf '%P\n') | while IFS= read -r path; do
        cmp -s "$1/$path" "$2/$path" || echo "$path"
    done
}

# The installed program looks cat up in its window as dictionary-tool does.
looks_up_cat() {
    local expected shown
    expected=$(DICTIONARY_INDEX_CACHE=off "$tool" --root "$payload" lookup cat)
    dictionary_look_up_in_window "$folder/Dictionary.exe" cat "$windows/read_window.exe" "$expected" >"$work/shown" ||
        { problem "the installed program shows no window"; return; }
    shown=$(tail -n +2 "$work/shown")
    [ -n "$expected" ] && [ "$shown" = "$expected" ] ||
        problem "the installed program shows '$(head -n 1 "$work/shown")' with '$shown' for cat, dictionary-tool '$expected'"
    kill "$DICTIONARY_WINDOW_PID" 2>/dev/null
}

# ---- The cases.

case_install() {
    fresh_prefix install
    silent_install "$setup" || { problem "the silent installer failed"; return; }
    echo "installer: $(stat -c %s "$setup") bytes; a silent install took ${install_seconds} s"
    same_files "$payload" "$folder"
    for file in Uninstall.exe installed-files.txt; do
        [ -f "$folder/$file" ] || problem "$file is missing"
    done
    [ -f "$shortcut" ] || problem "no Start-menu shortcut"
    [ "$(reg_value "$uninstall_key" DisplayName)" = Dictionary ] || problem "no uninstall entry"
    [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || problem "the uninstall entry lacks version $version"
    for value in Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString; do
        [ -n "$(reg_value "$uninstall_key" "$value")" ] || problem "the uninstall entry lacks $value"
    done
    [[ "$(reg_value "$uninstall_key" QuietUninstallString)" == *'Uninstall.exe" /S' ]] ||
        problem "the quiet uninstall command is not silent"
    looks_up_cat
    wineserver -w
    # Nothing the user made: nothing stays.
    silent_uninstall || problem "the silent uninstaller failed"
    [ ! -e "$folder" ] || problem "uninstalling an untouched installation left $(cd "$folder" && find . | tr '\n' ' ')"
}

# The user's work, through the same engine as the window's: an entry added,
# one replaced, one deleted, a dictionary and a word-form table made.
change_as_a_user() {
    "$tool" --root "$folder" add installertest "a word of my own" >/dev/null &&
        "$tool" --root "$folder" add --replace cat "котка (my own words)" >/dev/null &&
        "$tool" --root "$folder" delete dog >/dev/null &&
        printf 'hello\tздравей\n' >"$work/mine.tsv" &&
        "$tool" --root "$folder" import tsv "$work/mine.tsv" --to My_Words >/dev/null &&
        printf 'gingen\tgehen\n' >"$work/german.tsv" &&
        "$tool" --root "$folder/forms" import tsv "$work/german.tsv" --to German >/dev/null
}

# A fresh prefix named $1 with the release installed and changed by the
# user; `changed` is a copy of the folder as the user left it.
installed_and_changed() {
    fresh_prefix "$1"
    silent_install "$setup" || { problem "the silent installer failed"; return 1; }
    change_as_a_user || { problem "the user's changes could not be made"; return 1; }
    changed=$work/$1-changed
    cp -r "$folder" "$changed"
}

case_upgrade() {
    installed_and_changed upgrade || return
    local user_changed
    user_changed=$(changed_files "$changed/English_Bulgarian" "$payload/English_Bulgarian")

    # The newer release: a higher version and other words in the default dictionary.
    local newer=${version%.*}.$((${version##*.} + 1))
    cp -r "$payload" "$work/release"
    "$tool" --root "$work/release" add newreleaseword "a word of the new release" >/dev/null
    "$tool" --root "$work/release" add catnewrelease "another word of the new release" >/dev/null
    rm -f "$work/release/English_Bulgarian/writer.lock"
    echo "release $newer" >>"$work/release/README.txt"
    dictionary_make_installer "$work/release" "$newer" "$windows/res/book.ico" "$work/newer-setup.exe" >/dev/null ||
        { problem "the newer installer could not be made"; return; }
    local release_changed
    release_changed=$(changed_files "$work/release/English_Bulgarian" "$payload/English_Bulgarian")
    # Both kinds of file must be there, or the case proves nothing.
    [ -n "$(comm -12 <(sort <<<"$user_changed") <(sort <<<"$release_changed"))" ] ||
        problem "no file both the user and the new release changed"
    [ -n "$(comm -13 <(sort <<<"$user_changed") <(sort <<<"$release_changed"))" ] ||
        problem "no file only the new release changed"

    # Running, and closing only hides it: the installer has it quit.
    local value
    for value in traymin minonclose; do
        wine reg add "$settings_key" /v $value /t REG_DWORD /d 1 /f >/dev/null 2>&1
    done
    wine reg add "$settings_key" /v startmin /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine "$folder/Dictionary.exe" >/dev/null 2>&1 &
    local program=$! shown=
    for _ in $(seq 100); do
        xdotool search --name '^Dictionary' >/dev/null 2>&1 && shown=1 && break
        sleep 0.2
    done
    [ -n "$shown" ] || problem "the installed program shows no window"
    silent_install "$work/newer-setup.exe" || problem "the newer installer failed"
    kill -0 "$program" 2>/dev/null && problem "the running program was not asked to quit" && kill "$program"

    local path
    while IFS= read -r path; do
        cmp -s "$changed/English_Bulgarian/$path" "$folder/English_Bulgarian/$path" ||
            problem "English_Bulgarian/$path: the user's change was not kept"
    done <<<"$user_changed"
    while IFS= read -r path; do
        grep -qxF "$path" <<<"$user_changed" && continue
        cmp -s "$work/release/English_Bulgarian/$path" "$folder/English_Bulgarian/$path" ||
            problem "English_Bulgarian/$path: an untouched file was not replaced by the new release"
    done < <(cd "$work/release/English_Bulgarian" && find . -type f -printf '%P\n')
    same_files "$changed/My_Words" "$folder/My_Words"
    same_files "$changed/forms/German" "$folder/forms/German"
    cmp -s "$work/release/README.txt" "$folder/README.txt" || problem "README.txt is not the new release's"
    [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$newer" ] || problem "the uninstall entry does not say $newer"
}

case_uninstall() {
    installed_and_changed uninstall || return
    local program
    program="\"$(winepath -w "$folder/Dictionary.exe" 2>/dev/null)\""
    wine reg add "$run_key" /v Dictionary /t REG_SZ /d "$program" /f >/dev/null 2>&1
    wine reg add "$settings_key" /v ontop /t REG_DWORD /d 1 /f >/dev/null 2>&1

    silent_uninstall || { problem "the silent uninstaller failed"; return; }
    for file in Dictionary.exe dictionary-tool.exe Uninstall.exe README.txt installed-files.txt forms/English \
        forms/CREDITS.txt; do
        [ ! -e "$folder/$file" ] || problem "$file is still there"
    done
    [ ! -e "$shortcut" ] || problem "the Start-menu shortcut is still there"
    wine reg query "$uninstall_key" >/dev/null 2>&1 && problem "the uninstall entry is still there"
    [ -z "$(reg_value "$run_key" Dictionary)" ] || problem "the program still starts with Windows"
    [ -n "$(reg_value "$settings_key" ontop)" ] || problem "the settings went, though nobody asked"
    same_files "$changed/English_Bulgarian" "$folder/English_Bulgarian"
    same_files "$changed/My_Words" "$folder/My_Words"
    same_files "$changed/forms/German" "$folder/forms/German"
}

if [ ! -f "$setup" ] || [ -z "$version" ]; then
    echo "installer: $setup or $tool is missing; build the program folder first" >&2
    echo "installer: 0 passed, 1 failed"
    exit 1
fi
for name in "${cases[@]}"; do
    problems=()
    start=$(date +%s)
    "case_$name"
    if [ ${#problems[@]} -eq 0 ]; then
        echo "PASS $name ($(($(date +%s) - start)) s)"
        passed=$((passed + 1))
    else
        echo "FAIL $name:"
        printf '    %s\n' "${problems[@]}"
        failed=$((failed + 1))
    fi
done
echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
