#!/bin/sh
# Builds the default dictionary, English_Bulgarian (dual: English and
# Bulgarian words both look up), in OUTDIR from the FreeDict
# English-Bulgarian data of the Debian package dict-freedict-eng-bul, with
# a CREDITS.txt beside its files.
#
#   scripts/build-default-dictionary.sh TOOL OUTDIR
#
# TOOL is a native dictionary-tool. FREEDICT_ENG_BUL may name another
# freedict-eng-bul.index (with its .dict.dz or .dict beside it).
set -eu

if [ $# -ne 2 ]; then
    echo "usage: $0 TOOL OUTDIR" >&2
    exit 2
fi
tool=$1
out=$2
index=${FREEDICT_ENG_BUL:-/usr/share/dictd/freedict-eng-bul.index}
base=${index%.index}

if [ ! -f "$index" ] || { [ ! -f "$base.dict.dz" ] && [ ! -f "$base.dict" ]; }; then
    echo "build-default-dictionary: the FreeDict English-Bulgarian data ($index and $base.dict.dz) is missing." >&2
    echo "Run scripts/install-deps.sh (it installs the Debian package dict-freedict-eng-bul), then build again." >&2
    exit 1
fi

# The tool works inside OUTDIR, so every path it is given must be absolute.
index=$(cd "$(dirname "$index")" && pwd)/$(basename "$index")
case $tool in /*) ;; *) tool=$(pwd)/$tool ;; esac
mkdir -p "$out"

# Built in a program folder of its own beside the old dictionary (hidden:
# its name begins with a dot) and swapped in only when complete and clean.
stage=$out/.English_Bulgarian.new
rm -rf "$stage"
mkdir -p "$stage"
"$tool" --root "$stage" import dictd "$index" --to English_Bulgarian --name English-Bulgarian --dual
"$tool" --root "$stage" check --dict English_Bulgarian >/dev/null || {
    "$tool" --root "$stage" check --dict English_Bulgarian >&2
    echo "build-default-dictionary: the new dictionary is not clean" >&2
    exit 1
}
new=$stage/English_Bulgarian

edition=$(dpkg-query -W -f '${Version}' dict-freedict-eng-bul 2>/dev/null || true)
{
    printf 'English_Bulgarian: the default dictionary of Dictionary\r\n\r\n'
    printf 'Made from the FreeDict English-Bulgarian dictionary (FreeDict+WikDict%s),\r\n' \
        "${edition:+, Debian package version $edition}"
    printf 'copyright 2000-2022 FreeDict contributors. Its data was created by WikDict\r\n'
    printf '(https://www.wikdict.com/) from Wiktionary (https://www.wiktionary.org/)\r\n'
    printf 'and is the work of the Wiktionary contributors.\r\n\r\n'
    printf 'Licence: Creative Commons Attribution-ShareAlike 3.0 Unported\r\n'
    printf '(https://creativecommons.org/licenses/by-sa/3.0/). This dictionary is an\r\n'
    printf 'adaptation shared under the same licence: the text was converted to code\r\n'
    printf 'page 1251 with the stress accents removed, laid out one sense a line, and\r\n'
    printf 'the Bulgarian-English reverse entries were added.\r\n\r\n'
    printf 'FreeDict: https://freedict.org/\r\n'
} > "$new/CREDITS.txt"

# The lock file of the tool's writes has no use in the shipped folder.
rm -f "$new/writer.lock"
rm -rf "$out/English_Bulgarian"
mv "$new" "$out/English_Bulgarian"
rmdir "$stage"
