# The program folder, dist/Dictionary, in one place (sourced by run.sh,
# test.sh and make-dist.sh): what it holds, which tree and target makes each
# part, how both trees are configured and built for it, and how the
# installer packs it. A new part of the folder is one more line in
# dictionary_program_parts.

# Each part: the tree that makes it (native or windows), the build target,
# the path in that tree that is copied into the program folder, and the
# files below that path that must be there (none named: the path itself).
dictionary_program_parts=(
    "windows Dictionary Dictionary.exe"
    "windows dictionary-tool dictionary-tool.exe"
    "native default_dictionary dictionaries/English_Bulgarian 00.dat CREDITS.txt"
    "native word_forms dictionaries/forms English/00.dat Bulgarian/00.dat CREDITS.txt"
)
# Built with the parts, not copied: run.sh reads the window back with it.
dictionary_windows_helpers=(read_window)

# The targets of one tree ("native" or "windows") that the folder needs.
dictionary_program_targets() {
    local part tree target path
    for part in "${dictionary_program_parts[@]}"; do
        read -r tree target path _ <<<"$part"
        [ "$tree" = "$1" ] && echo "$target"
    done
    if [ "$1" = windows ]; then printf '%s\n' "${dictionary_windows_helpers[@]}"; fi
}

# Trees are kept from run to run; one made by another generator is dropped.
dictionary_drop_foreign_tree() {
    if [ -f "$1/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$1/CMakeCache.txt"; then
        rm -rf "$1"
    fi
}

# Configures a tree with Ninja. Usage: dictionary_configure_native DIR [CMAKE_ARGS...]
dictionary_configure_native() {
    dictionary_drop_foreign_tree "$1"
    cmake -S "$DICTIONARY_ROOT" -B "$1" -G Ninja "${@:2}"
}
# The MinGW-w64 cross tree of the Windows programs.
dictionary_configure_windows() {
    dictionary_configure_native "$1" -DCMAKE_TOOLCHAIN_FILE="$DICTIONARY_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DDICTIONARY_BENCHMARKS=OFF "${@:2}"
}

# Configures both trees and builds what the program folder needs, then
# assembles it. Usage: dictionary_build_program_folder NATIVE WINDOWS OUT
dictionary_build_program_folder() {
    local native=$1 windows=$2 out=$3
    dictionary_configure_native "$native" &&
        cmake --build "$native" -j 2 --target $(dictionary_program_targets native) &&
        dictionary_configure_windows "$windows" &&
        cmake --build "$windows" -j 2 --target $(dictionary_program_targets windows) &&
        bash "$DICTIONARY_ROOT/scripts/make-dist.sh" "$native" "$windows" "$out"
}

# Packs a program folder into the installer (res/dist/Dictionary-setup.nsi)
# for the given release; the version resource takes its four numbers.
# Usage: dictionary_make_installer FOLDER VERSION ICON OUTFILE
dictionary_make_installer() {
    local parts=() numbers=() part
    IFS=. read -ra parts <<<"$2"
    for part in "${parts[@]:0:4}"; do
        part=${part%%[!0-9]*}
        numbers+=("${part:-0}")
    done
    while [ ${#numbers[@]} -lt 4 ]; do numbers+=(0); done
    # makensis takes paths from the script's folder.
    makensis -V2 -DVERSION="$2" -DVERSION_NUMBERS="$(IFS=.; echo "${numbers[*]}")" -DPAYLOAD="$(realpath "$1")" \
        -DICON="$(realpath "$3")" -DOUTFILE="$(realpath "$4")" "$DICTIONARY_ROOT/res/dist/Dictionary-setup.nsi"
}

DICTIONARY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
