#!/usr/bin/env bash
# Times dictionary-tool against two peers on the same entries and the same
# words, and writes build/bench/results.md:
#   - sdcv, on a StarDict copy made by StarDict's tabfile;
#   - dict, against a dictd of our own on a free local port, serving a copy
#     made by dictfmt and dictzip.
# Data sets: the default dictionary, and a million generated entries
# imported by the tool (bench/make_entries.py, the same for the same seed).
# Measures, whole process: one look-up (hit, miss), 1,200 look-ups from
# standard input (shuffled, sorted), the spelling suggestions for the miss
# against sdcv's fuzzy search, importing the million entries against
# dictfmt plus dictzip. Then the in-process benchmarks (storage_bench) on
# the largest letter file of the million, the suggestion queries and the
# memory of their lists (suggest_bench) on both data sets, the quality of the
# suggestions against sdcv and hunspell (bench/suggest_quality.py), and the
# start-up of Dictionary.exe under Wine (bench/startup.sh; skipped with
# --no-wine).
#
# Usage: bench/run.sh [--no-wine]
# BENCH_ROUNDS (default 8) sets how many rounds each comparison runs; every
# program runs in every round, in turn, so drift hits all alike.
# Not part of the tests: the peers are installed here, never in CI.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

with_wine=1
[ "${1:-}" = --no-wine ] && with_wine=0
rounds=${BENCH_ROUNDS:-8}
seed=${BENCH_SEED:-9}
entries=1000000

out=$root/build/bench
data=$out/data
results=$out/results
export LC_ALL=C.UTF-8   # the peers read and write UTF-8
# The tool's kept letter indexes: a folder of this run's own, empty at its
# start, so that the first look-ups build them as a user's first ones do.
export DICTIONARY_INDEX_CACHE=$out/index-cache
rm -rf "$DICTIONARY_INDEX_CACHE"

say() { printf '\n== %s\n' "$*"; }

say "packages"
bash scripts/install-deps.sh hyperfine sdcv dict dictd dictfmt dictzip stardict-tools time hunspell

say "build (Release, $out)"
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out" -j 2 --target dictionary-tool default_dictionary storage_bench word_forms_bench suggest_bench
tool=$out/dictionary-tool

# True when TARGET is missing or older than SOURCE.
stale() { [ ! -e "$1" ] || [ "$2" -nt "$1" ]; }

# The million: generated entries, imported by the tool.
say "data sets"
mkdir -p "$data/million"
if [ ! -s "$data/million/entries.tsv" ] || [ "$(cat "$data/million/seed" 2>/dev/null)" != "$entries $seed" ]; then
    python3 bench/make_entries.py "$entries" "$seed" "$data/million/entries.tsv"
    echo "$entries $seed" >"$data/million/seed"
fi
if stale "$data/million/root/Million/00.dat" "$data/million/entries.tsv"; then
    rm -rf "$data/million/root"
    mkdir -p "$data/million/root"
    "$tool" --root "$data/million/root" import tsv "$data/million/entries.tsv" --to Million
fi

# A set's export, the peers' copies of it and its word lists.
# Usage: prepare_set NAME PROGRAM_FOLDER DICTIONARY_FOLDER
prepare_set() {
    local name=$1 program=$2 folder=$3 set=$data/$1
    mkdir -p "$set"
    if stale "$set/export.tsv" "$program/$folder/00.dat"; then
        rm -rf "$set/stardict" "$set/dictd"
        "$tool" --root "$program" export --dict "$folder" --to "$set/export.tsv"
    fi
    if [ ! -e "$set/stardict/$name.ifo" ]; then
        mkdir -p "$set/stardict"
        python3 bench/peer_data.py tabfile "$set/export.tsv" "$set/stardict/$name.tab"
        /usr/lib/stardict-tools/tabfile "$set/stardict/$name.tab" >/dev/null 2>&1
        rm -f "$set/stardict/$name.tab"
    fi
    if [ ! -e "$set/dictd/$name.dict.dz" ]; then
        mkdir -p "$set/dictd"
        python3 bench/peer_data.py c5 "$set/export.tsv" "$set/dictd/$name.c5"
        (cd "$set/dictd" && dictfmt -c5 --utf8 --allchars --quiet -s "$name" -u bench "$name" <"$name.c5" &&
            dictzip -f "$name.dict" && rm -f "$name.c5")
    fi
    python3 bench/peer_data.py words "$set/export.tsv" "$seed" "$set"
    echo "$name: $(wc -l <"$set/export.tsv") entries; hit '$(cat "$set/hit.txt")', miss '$(cat "$set/miss.txt")'"
}
prepare_set default "$out/dictionaries" English_Bulgarian
prepare_set million "$data/million/root" Million

say "dictd"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
dictd_pid=
stop_dictd() { [ -n "$dictd_pid" ] && kill "$dictd_pid" 2>/dev/null || true; }
trap stop_dictd EXIT
# dictd drops to its own user: the log it appends to must be writable.
: >"$data/dictd.log"
chmod 666 "$data/dictd.log"
cat >"$data/dictd.conf" <<EOF
global {
  listen_to 127.0.0.1
  port $port
}
database default { data "$data/default/dictd/default.dict.dz" index "$data/default/dictd/default.index" }
database million { data "$data/million/dictd/million.dict.dz" index "$data/million/dictd/million.index" }
EOF
# Kept as a child of this script (not detached), so it ends with it.
dictd -c "$data/dictd.conf" --locale C.UTF-8 -L "$data/dictd.log" -d nodetach </dev/null >/dev/null 2>&1 &
dictd_pid=$!
for _ in $(seq 100); do
    dict -h 127.0.0.1 -p "$port" -D >/dev/null 2>&1 && break
    sleep 0.1
done
if ! dict -h 127.0.0.1 -p "$port" -D >/dev/null 2>&1; then
    echo "bench: dictd did not start; its log:" >&2
    cat "$data/dictd.log" >&2
    exit 1
fi
echo "dictd on port $port (process $dictd_pid)"

# Each program's look-up command on a data set; the word, or the list, follows.
tool_cmd() { echo "$tool --root $1 lookup --dict $2"; }
sdcv_cmd() { echo "sdcv -e -x -2 $data/$1/stardict"; }
# Without -e: a word not found gets sdcv's fuzzy list.
sdcv_fuzzy_cmd() { echo "sdcv -n -x -2 $data/$1/stardict"; }
dict_cmd() { echo "dict -C -h 127.0.0.1 -p $port -d $1"; }
program_root() { [ "$1" = default ] && echo "$out/dictionaries English_Bulgarian" || echo "$data/million/root Million"; }

# Every program answers the hit and misses the miss before anything is timed.
say "checks"
check_set() {
    local name=$1 hit miss
    hit=$(cat "$data/$name/hit.txt")
    miss=$(cat "$data/$name/miss.txt")
    # shellcheck disable=SC2046
    $(tool_cmd $(program_root "$name")) "$hit" >/dev/null || { echo "bench: the tool misses '$hit'" >&2; exit 1; }
    if $(tool_cmd $(program_root "$name")) "$miss" >/dev/null 2>&1; then echo "bench: the tool finds '$miss'" >&2; exit 1; fi
    $(sdcv_cmd "$name") -n "$hit" | grep -qF -- "-->$hit" || { echo "bench: sdcv misses '$hit'" >&2; exit 1; }
    $(sdcv_cmd "$name") -n "$miss" | grep -q "^Nothing similar" || { echo "bench: sdcv finds '$miss'" >&2; exit 1; }
    $(dict_cmd "$name") "$hit" >/dev/null 2>&1 || { echo "bench: dict misses '$hit'" >&2; exit 1; }
    if $(dict_cmd "$name") "$miss" >/dev/null 2>&1; then echo "bench: dict finds '$miss'" >&2; exit 1; fi
    local list=$data/$name/batch-shuffled.txt tool_misses sdcv_misses dict_misses
    # shellcheck disable=SC2046
    tool_misses=$($(tool_cmd $(program_root "$name")) - <"$list" 2>&1 >/dev/null | grep -c ': not found$' || true)
    # The peers' two streams interleave within lines: count phrases, not lines.
    sdcv_misses=$($(sdcv_cmd "$name") <"$list" 2>&1 | grep -o 'Nothing similar to' | wc -l || true)
    dict_misses=$(xargs -d '\n' $(dict_cmd "$name") <"$list" 2>&1 | grep -o 'No definitions found' | wc -l || true)
    echo "$name: misses in the 1,200-word list: dictionary-tool $tool_misses, sdcv $sdcv_misses, dict $dict_misses"
    echo "| $name | $tool_misses | $sdcv_misses | $dict_misses |" >>"$results/misses.md"
}
rm -rf "$results"
mkdir -p "$results"
printf '| Data | dictionary-tool | sdcv | dict |\n|---|---|---|---|\n' >"$results/misses.md"
check_set default
check_set million

# Runs one comparison in rounds: hyperfine times every program RUNS times,
# the programs in a turning order, and exports each round.
# Usage: compare GROUP "MEASURE" DATA RUNS SHELL(-N or "") NAME COMMAND [NAME COMMAND...]
compare() {
    local group=$results/$1 measure=$2 set=$3 runs=$4 shell=$5
    shift 5
    local names=() commands=()
    while [ $# -gt 0 ]; do names+=("$1"); commands+=("$2"); shift 2; done
    mkdir -p "$group"
    printf '%s\t%s\n' "$measure" "$set" >"$group/title.txt"
    local count=${#names[@]} r i before=()
    [ -n "$prepare" ] && before=(--prepare "$prepare")
    for r in $(seq 1 "$rounds_now"); do
        local args=()
        for i in $(seq 0 $((count - 1))); do
            local k=$(((i + r) % count))
            args+=(-n "${names[$k]}" "${commands[$k]}")
        done
        # Warm-up runs in the first round only: later rounds find the caches warm.
        local warm=$warmup
        [ "$r" -gt 1 ] && warm=0
        hyperfine $shell -i --style none --warmup "$warm" --runs "$runs" "${before[@]}" \
            --export-json "$group/round-$r.json" "${args[@]}" >/dev/null 2>>"$results/hyperfine.log"
    done
    echo "$measure, $set: $rounds_now rounds of $runs runs"
}

# Peak resident memory of one look-up, the median of three runs (KiB).
peak_rss() {
    local group=$results/$1 name=$2
    shift 2
    local kib=()
    for _ in 1 2 3; do
        /usr/bin/time -f %M -o "$group/rss.tmp" "$@" >/dev/null 2>&1 || true
        kib+=("$(tail -n 1 "$group/rss.tmp")")
    done
    rm -f "$group/rss.tmp"
    printf '%s\t%s\n' "$name" "$(printf '%s\n' "${kib[@]}" | sort -n | sed -n 2p)" >>"$group/peak-rss.tsv"
}

say "timing ($rounds rounds)"
# A letter file written in the last two seconds keeps no index: let the
# files made above settle.
sleep 3
groups=()
warmup=1
prepare=
for name in default million; do
    for kind in hit miss; do
        word=$(cat "$data/$name/$kind.txt")
        group=lookup-$kind-$name
        rounds_now=$rounds
        # shellcheck disable=SC2046
        compare "$group" "one look-up, $kind" "$name" 5 -N \
            dictionary-tool "$(tool_cmd $(program_root "$name")) '$word'" \
            sdcv "$(sdcv_cmd "$name") -n '$word'" \
            dict "$(dict_cmd "$name") '$word'"
        # shellcheck disable=SC2046
        peak_rss "$group" dictionary-tool $(tool_cmd $(program_root "$name")) "$word"
        # shellcheck disable=SC2046
        peak_rss "$group" sdcv $(sdcv_cmd "$name") -n "$word"
        # shellcheck disable=SC2046
        peak_rss "$group" dict $(dict_cmd "$name") "$word"
        groups+=("$results/$group")
        # The same without kept indexes: every process walks the letter, as
        # the first one after a change of the letter file does.
        group=lookup-$kind-$name-walked
        # shellcheck disable=SC2046
        DICTIONARY_INDEX_CACHE=off compare "$group" "one look-up, $kind, no kept index" "$name" 5 -N \
            dictionary-tool "$(tool_cmd $(program_root "$name")) '$word'" \
            sdcv "$(sdcv_cmd "$name") -n '$word'" \
            dict "$(dict_cmd "$name") '$word'"
        groups+=("$results/$group")
    done
done
# Spelling suggestions for the miss: the first run builds the lists and
# keeps them, as the first miss after a change does; the runs timed take
# them back, as every later process does.
for name in default million; do
    word=$(cat "$data/$name/miss.txt")
    group=suggest-miss-$name
    rounds_now=$rounds
    # shellcheck disable=SC2046
    $(tool_cmd $(program_root "$name") | sed 's/ lookup / suggest /') "$word" >/dev/null 2>&1 || true
    # shellcheck disable=SC2046
    compare "$group" "suggestions for the miss" "$name" 5 -N \
        dictionary-tool "$(tool_cmd $(program_root "$name") | sed 's/ lookup / suggest /') '$word'" \
        sdcv "$(sdcv_fuzzy_cmd "$name") '$word'"
    # shellcheck disable=SC2046
    peak_rss "$group" dictionary-tool $(tool_cmd $(program_root "$name") | sed 's/ lookup / suggest /') "$word"
    # shellcheck disable=SC2046
    peak_rss "$group" sdcv $(sdcv_fuzzy_cmd "$name") "$word"
    groups+=("$results/$group")
done
for name in default million; do
    for order in shuffled sorted; do
        list=$data/$name/batch-$order.txt
        group=batch-$order-$name
        rounds_now=$(((rounds + 1) / 2))
        # shellcheck disable=SC2046
        compare "$group" "1,200 look-ups, $order" "$name" 2 "" \
            dictionary-tool "$(tool_cmd $(program_root "$name")) - <$list" \
            sdcv "$(sdcv_cmd "$name") <$list" \
            dict "xargs -d '\\n' $(dict_cmd "$name") <$list"
        groups+=("$results/$group")
    done
done
import=$data/import
python3 bench/peer_data.py c5 "$data/million/entries.tsv" "$data/million/entries.c5"
rounds_now=3
warmup=0
prepare="rm -rf $import; mkdir -p $import/root $import/dictd"
compare import-million "import of the entries" million 1 "" \
    dictionary-tool "$tool --root $import/root import tsv $data/million/entries.tsv --to Million" \
    "dictfmt + dictzip" "cd $import/dictd && dictfmt -c5 --utf8 --allchars --quiet -s million -u bench million <$data/million/entries.c5 && dictzip million.dict"
groups+=("$results/import-million")
rm -rf "$import"

say "table"
python3 bench/report.py "$results/table.md" \
    "Whole process, one interleaved run on $(nproc) cores, $(date -u +%Y-%m-%d): only the ratios are comparable between runs" \
    "${groups[@]}"

say "in-process benchmarks (storage_bench)"
largest=$(ls -S "$data/million/root/Million/"[0-9a-f][0-9a-f].dat | grep -v '/00\.dat$' | head -n 1)
"$out/storage_bench" --letter="$largest" | tee "$results/storage_bench.txt"
# The word forms' look-up fallback, on the default dictionary and its forms.
"$out/word_forms_bench" | tee "$results/word_forms_bench.txt"
# Spelling suggestions in process, with the memory of their lists.
"$out/suggest_bench" | tee "$results/suggest_bench.txt"
"$out/suggest_bench" --root="$data/million/root" --dict=Million | tee -a "$results/suggest_bench.txt"

say "quality of the suggestions"
python3 bench/suggest_quality.py "$tool" "$out/dictionaries" "$data/default/stardict" "$results/suggest_quality.md"

if [ "$with_wine" = 1 ]; then
    say "start-up under Wine"
    bash bench/startup.sh "$out/dictionaries/English_Bulgarian" cat \
        "$data/million/root/Million" "$(cat "$data/million/hit.txt")" | tee "$results/startup.txt"
fi

{
    cat "$results/table.md"
    echo
    echo "Misses counted in the 1,200-word lists (120 words are absent by construction):"
    echo
    cat "$results/misses.md"
    echo
    cat <<'EOF'
The commands, on the same words:
- dictionary-tool: `dictionary-tool --root DIR lookup --dict FOLDER WORD`, and `... lookup -` with the list on standard input;
- sdcv: `sdcv -n -e -x -2 DIR WORD` (exact matches only, as the tool's look-up: no fuzzy search on a miss), and `sdcv -e -x -2 DIR` with the list on standard input; for the suggestions `sdcv -n -x -2 DIR WORD`, whose miss runs its fuzzy search, against `dictionary-tool --root DIR suggest --dict FOLDER WORD`;
- dict: `dict -C -h 127.0.0.1 -p PORT -d DB WORD` (no spelling suggestions on a miss); it reads no list from standard input, so the list's words are its arguments (one connection). Its peak memory is the client's; the server, dictd, is not counted.

Peak RSS: the median of three runs under /usr/bin/time. A ratio is the tool's median in a round over the peer's in the same round; the table gives the median over the rounds.
EOF
    echo
    echo "## In process, on $(basename "$largest") of the million ($(stat -c %s "$largest") bytes)"
    echo
    echo '```'
    cat "$results/storage_bench.txt"
    echo '```'
    echo
    echo "## In process, the word forms (default dictionary)"
    echo
    echo '```'
    cat "$results/word_forms_bench.txt"
    echo '```'
    echo
    echo "## In process, spelling suggestions (default dictionary, then the million)"
    echo
    echo '```'
    cat "$results/suggest_bench.txt"
    echo '```'
    echo
    echo "## Quality of the suggestions: the word meant first, and among the first five"
    echo
    cat "$results/suggest_quality.md"
    if [ -f "$results/startup.txt" ]; then
        echo
        echo "## Start-up of Dictionary.exe under Wine, warm"
        echo
        echo '```'
        cat "$results/startup.txt"
        echo '```'
    fi
} >"$out/results.md"
say "written: $out/results.md"
