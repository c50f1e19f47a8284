#!/usr/bin/env bash
# Assembles the ready program folder, dist/Dictionary, and packs it as
# dist/Dictionary.zip (the Windows programs, the default dictionary, the
# word forms and the credits, as a Windows user unzips and runs them) and
# as the installer dist/Dictionary-setup.exe, for the release the built
# tool names.
# Usage: make-dist.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [OUTPUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/program-folder.sh
source "$root/scripts/program-folder.sh"
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
out=${3:-$root/dist}

# Every part, from the tree that makes it.
sources=()
for part in "${dictionary_program_parts[@]}"; do
    read -r tree target path checks <<<"$part"
    if [ "$tree" = native ]; then source_path=$native/$path; else source_path=$windows/$path; fi
    needed=("$source_path")
    for check in $checks; do needed+=("$source_path/$check"); done
    for file in "${needed[@]}"; do
        if [ ! -e "$file" ]; then
            echo "make-dist: $file is missing (target $target of the $tree tree); build both trees first" >&2
            exit 1
        fi
    done
    sources+=("$source_path")
done

# The installer's icon is the program's, drawn by the Windows build.
icon=$windows/res/book.ico
version=$("$native/dictionary-tool" --version | awk '{print $2}')
if [ ! -f "$icon" ] || [ -z "$version" ]; then
    echo "make-dist: the icon $icon or the release of $native/dictionary-tool is missing" >&2
    exit 1
fi

folder=$out/Dictionary
installer=$out/Dictionary-setup.exe
rm -rf "$folder" "$out/Dictionary.zip" "$installer"
mkdir -p "$folder"
cp -r "${sources[@]}" "$folder/"
cp "$root/res/dist/README.txt" "$folder/README.txt"
# The build trees keep the programs' debugging information for backtraces;
# users get the programs without it (a tenth of the size).
for program in "$folder"/*.exe; do
    x86_64-w64-mingw32-strip "$program"
done

python3 - "$out" <<'PY'
import os, sys, zipfile
out = sys.argv[1]
with zipfile.ZipFile(os.path.join(out, "Dictionary.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
    for base, _, files in os.walk(os.path.join(out, "Dictionary")):
        for name in sorted(files):
            path = os.path.join(base, name)
            archive.write(path, os.path.relpath(path, out))
PY
dictionary_make_installer "$folder" "$version" "$icon" "$installer"
echo "make-dist: $folder, $out/Dictionary.zip and $installer (release $version)"
