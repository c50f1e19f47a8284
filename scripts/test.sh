#!/usr/bin/env bash
# The one test command. Installs what is missing, then builds and tests:
#   build/native    the native build: unit tests, fuzz loop, benchmark smoke
#   build/sanitize  native, with AddressSanitizer and UBSan (clang, so the
#                   libFuzzer target is built and run too)
#   build/windows   the MinGW-w64 cross build; its tests run under Wine in a
#                   private prefix, with a private Xvfb display
#   dist            the program folder, its zip and its installer; the
#                   installer's tests (tests/installer) run in fresh prefixes
# and ends with one line "N passed, M failed" summed over the four test
# runs (a tree that fails to configure or build counts as one failure).
# Exits non-zero when anything failed.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/program-folder.sh
source scripts/program-folder.sh

JOBS=2
TEST_TIMEOUT=300     # seconds, for tests that set no time-out of their own
passed=0
failed=0
status=0
xvfb_pid=
wine_server=

section() { printf '\n==== %s ====\n' "$*"; }

fail() {
    echo "test: $*" >&2
    failed=$((failed + 1))
    status=1
}

# Usage: build_tree DIR CONFIGURE_FUNCTION [CMAKE_ARGS...]
build_tree() {
    local dir=$1 configure=$2
    shift 2
    "$configure" "$dir" "$@" && cmake --build "$dir" -j "$JOBS"
}

# Runs one tree's tests and adds its counts from CTest's closing line.
run_tests() {
    local dir=$1 log=$1/ctest-output.log
    # The Windows tests share one Wine server and a busy X display; a test
    # that fails there is run once more before it counts as failed, and its
    # first failure stays in the log.
    local repeat=()
    [ "$dir" = build/windows ] && repeat=(--repeat until-pass:2)
    ctest --test-dir "$dir" --output-on-failure --timeout "$TEST_TIMEOUT" -j "$JOBS" "${repeat[@]}" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    local line
    line=$(grep -Eo '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        fail "$dir: CTest ran no tests"
        return
    fi
    local bad total
    bad=$(echo "$line" | awk '{print $1}')
    total=$(echo "$line" | awk '{print $NF}')
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    if [ "$rc" -ne 0 ] || [ "$bad" -ne 0 ]; then status=1; fi
}

tree() {
    local dir=$1
    shift
    section "$dir"
    if build_tree "$dir" "$@"; then
        run_tests "$dir"
    else
        fail "$dir: configure or build failed"
    fi
}

wine_env() {
    # shellcheck source=scripts/wine-env.sh
    source "$root/scripts/wine-env.sh"
    dictionary_wine_env
}

cleanup() {
    if [ -n "$wine_server" ]; then
        (wine_env && wineserver -k) >/dev/null 2>&1
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A private X display for the window tests.
start_xvfb() {
    # shellcheck source=scripts/wine-env.sh
    source "$root/scripts/wine-env.sh"
    dictionary_start_xvfb || return 1
    xvfb_pid=$DICTIONARY_XVFB_PID
    echo "Xvfb on $DISPLAY"
}

# A persistent server makes each Wine start fast. Its first program starts
# Wine's helper processes: give them no pipe of ours to hold open, and the
# display, which the desktop process keeps for every later window.
start_wine_server() {
    (wine_env && wineserver -p) || return 1
    wine_server=1
    (wine_env && timeout 120 wine cmd.exe /c exit) </dev/null >/dev/null 2>&1
}

section "dependencies"
if ! bash scripts/install-deps.sh; then
    echo "test: installing the dependencies failed" >&2
    echo "0 passed, 1 failed"
    exit 1
fi

tree build/native dictionary_configure_native

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
tree build/sanitize dictionary_configure_native -DDICTIONARY_SANITIZE=ON -DDICTIONARY_BENCHMARKS=OFF \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang

section "Wine and Xvfb"
dictionary_drop_foreign_tree build/windows
export WINEPREFIX=$root/build/windows/wine-prefix
if bash scripts/wine-prefix.sh && start_xvfb && start_wine_server; then
    tree build/windows dictionary_configure_windows
else
    fail "the Wine prefix, Xvfb or the Wine server could not be started"
fi

section "program folder"
# The ready folder a Windows user unzips, and its installer, as run.sh builds them.
if dictionary_build_program_folder build/native build/windows dist; then
    section "installer"
    # Install, upgrade and uninstall under Wine, each in a fresh prefix. The
    # window tests' server goes first, and with it what they left on the
    # display's clipboard, which an installed program would paste at start.
    if [ -n "$wine_server" ]; then
        (wine_env && wineserver -k) >/dev/null 2>&1
        wine_server=
    fi
    log=build/installer-test.log
    bash tests/installer/installer_test.sh build/native build/windows dist 2>&1 | tee "$log"
    line=$(grep -Eo '^installer: [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        fail "the installer tests did not finish"
    else
        passed=$((passed + $(awk '{print $2}' <<<"$line")))
        bad=$(awk '{print $4}' <<<"$line")
        failed=$((failed + bad))
        [ "$bad" -eq 0 ] || status=1
    fi
else
    fail "the program folder could not be assembled"
fi

echo
echo "$passed passed, $failed failed"
exit "$status"
