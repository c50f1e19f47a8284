#!/usr/bin/env bash
# Installs every Debian 12 package the builds and tests need, and the
# packages named as arguments (bench/run.sh adds its peers that way). Does
# nothing, and asks apt nothing, when all of them are installed already.
set -euo pipefail

packages=(
    # native build and tests
    g++ cmake ninja-build googletest libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev zlib1g-dev python3
    # the local https server of the new-version check tests
    openssl
    # Windows build and running it headless
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 fonts-wine fonts-liberation
    xvfb xdotool imagemagick x11-utils x11-xkb-utils locales
    # the installer
    nsis
    # rendering the program's pictures from their SVG drawings
    librsvg2-bin
    # the default dictionary's source
    dict-freedict-eng-bul
    # the word forms' sources and the tool that expands them
    hunspell-en-us hunspell-bg hunspell-tools wordnet-base
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: not root and no sudo; install as root: ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
