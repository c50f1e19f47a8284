#!/usr/bin/env bash
# Assembles the ready program folder, dist/Dictionary, and packs it as
# dist/Dictionary.zip: the Windows programs, the default dictionary, the
# word forms and the credits, as a Windows user unzips and runs them.
# Usage: make-dist.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [OUTPUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
out=${3:-$root/dist}

dictionary=$native/dictionaries/English_Bulgarian
forms=$native/dictionaries/forms
for needed in "$windows/Dictionary.exe" "$windows/dictionary-tool.exe" "$dictionary/00.dat" \
              "$forms/English/00.dat" "$forms/Bulgarian/00.dat"; do
    if [ ! -e "$needed" ]; then
        echo "make-dist: $needed is missing; build both trees first" >&2
        exit 1
    fi
done

folder=$out/Dictionary
rm -rf "$folder" "$out/Dictionary.zip"
mkdir -p "$folder"
cp "$windows/Dictionary.exe" "$windows/dictionary-tool.exe" "$folder/"
cp -r "$dictionary" "$forms" "$folder/"
cp "$root/res/dist/README.txt" "$folder/README.txt"

python3 - "$out" <<'PY'
import os, sys, zipfile
out = sys.argv[1]
with zipfile.ZipFile(os.path.join(out, "Dictionary.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
    for base, _, files in os.walk(os.path.join(out, "Dictionary")):
        for name in sorted(files):
            path = os.path.join(base, name)
            archive.write(path, os.path.relpath(path, out))
PY
echo "make-dist: $folder and $out/Dictionary.zip"
