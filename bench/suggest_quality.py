#!/usr/bin/env python3
"""How well spelling suggestions find the word meant, side by side with the
peers, on misspellings made from real text.

    bench/suggest_quality.py TOOL ROOT STARDICT OUT.md [--count N] [--seed S]

TOOL is dictionary-tool; ROOT its program folder, holding English_Bulgarian
and the forms folder; STARDICT a folder with a StarDict copy of the same
entries (bench/run.sh makes one with StarDict's tabfile).

The text: the English messages and their Bulgarian translations of the
Debian packages installed here (/usr/share/locale/bg/LC_MESSAGES/*.mo), less
the catalogue the repository's tests take their sample from and the ISO
code lists (names rather than text). Of each language, the distinct words
of at least MIN_LETTERS letters that are headwords of the dictionary are
shuffled, and each gets one slip of the hand: a letter dropped, a letter
doubled, two neighbouring letters swapped, or a letter replaced by a
neighbouring key (US English keyboard; Bulgarian: the typewriter or the
phonetic layout). A slip the tool's look-up finds (a headword, a plural, a
form of a headword) is no misspelling, and another is tried.

For every misspelling: is the word meant the first suggestion, and is it
among the first five?
  - dictionary-tool: `suggest --json -`;
  - sdcv: its fuzzy list for the word (`sdcv -n -j`, no -e);
  - hunspell -a with Debian's en_US and bg_BG, counting only suggestions
    that are headwords of the dictionary.
Writes the table to OUT.md and the misspellings beside it.
"""
import argparse
import gettext
import glob
import json
import os
import random
import re
import subprocess
import sys

MIN_LETTERS = 4
SKIPPED_CATALOGS = re.compile(r"^(gsettings-desktop-schemas|iso_.*)\.mo$")
KINDS = ("dropped", "doubled", "swapped", "neighbour key")
LAYOUTS = {
    "English": [["qwertyuiop", "asdfghjkl", "zxcvbnm"]],
    "Bulgarian": [[" уеишщксдзц", "ьяаожгтнвмч", "юйъэфхпрлб"],
                  ["явертъуиопшщю", "асдфгхйкл", "зьцжбнм"]],
}
WORD = {"English": re.compile(r"[A-Za-z]+"), "Bulgarian": re.compile(r"[А-Яа-я]+")}


def fold(word):
    return "".join(c.upper() if ("a" <= c <= "z" or "а" <= c <= "я") else c for c in word)


def neighbours(layout):
    near = {}
    for row, keys in enumerate(layout):
        for column, key in enumerate(keys):
            around = [(row, column - 1), (row, column + 1), (row - 1, column), (row - 1, column + 1),
                      (row + 1, column - 1), (row + 1, column)]
            for r, c in around:
                if 0 <= r < len(layout) and 0 <= c < len(layout[r]) and key != " " and layout[r][c] != " ":
                    near.setdefault(key, set()).add(layout[r][c])
    return near


def headwords(tool, root):
    """Folded headword -> its spelling, for the entries a look-up finds."""
    run = subprocess.run([tool, "--root", root, "export", "--dict", "English_Bulgarian"],
                         stdout=subprocess.PIPE, check=True)
    words = {}
    for line in run.stdout.decode("utf-8").splitlines():
        word = line.partition("\t")[0]
        if word and not word.endswith("}"):
            words.setdefault(fold(word), word)
    return words


def catalogue_texts():
    english, bulgarian = [], []
    for path in sorted(glob.glob("/usr/share/locale/bg/LC_MESSAGES/*.mo")):
        if SKIPPED_CATALOGS.match(os.path.basename(path)):
            continue
        with open(path, "rb") as source:
            try:
                catalog = gettext.GNUTranslations(source)._catalog
            except (OSError, UnicodeDecodeError):
                continue
        for msgid, msgstr in catalog.items():
            english.append(msgid[0] if isinstance(msgid, tuple) else msgid)
            bulgarian.append(msgstr)
    return {"English": "\n".join(english), "Bulgarian": "\n".join(bulgarian)}


def slip(word, kind, rng, layouts):
    """The word with one slip of the kind, or None when it has no room for one."""
    letters = list(word)
    if kind == "dropped":
        i = rng.randrange(len(letters))
        return word[:i] + word[i + 1:]
    if kind == "doubled":
        i = rng.randrange(len(letters))
        return word[:i + 1] + word[i] + word[i + 1:]
    if kind == "swapped":
        places = [i for i in range(len(letters) - 1) if letters[i].lower() != letters[i + 1].lower()]
        if not places:
            return None
        i = rng.choice(places)
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    near = rng.choice(layouts)
    places = [i for i, c in enumerate(letters) if c.lower() in near]
    if not places:
        return None
    i = rng.choice(places)
    replacement = rng.choice(sorted(near[letters[i].lower()]))
    if letters[i].isupper():
        replacement = replacement.upper()
    return word[:i] + replacement + word[i + 1:]


def tool_json(tool, root, command, words):
    run = subprocess.run([tool, "--root", root] + command + ["--json", "-"], input="\n".join(words).encode(),
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return json.loads(run.stdout.decode("utf-8"))


def misspellings(tool, root, language, text, heads, count, rng):
    """[(misspelling, meant, kind)] of distinct headwords of the text."""
    words = sorted({w for w in WORD[language].findall(text) if len(w) >= MIN_LETTERS and fold(w) in heads})
    rng.shuffle(words)
    layouts = [neighbours(layout) for layout in LAYOUTS[language]]
    chosen = []
    for attempt in range(4):
        tries = []
        taken = {meant for _, meant, _ in chosen}
        for word in words:
            if word in taken or len(chosen) + len(tries) >= count * 2:
                continue
            kind = rng.choice(KINDS)
            wrong = slip(word, kind, rng, layouts)
            if wrong and fold(wrong) not in heads and fold(wrong) != fold(word):
                tries.append((wrong, word, kind))
        answers = tool_json(tool, root, ["lookup"], [w for w, _, _ in tries])
        for (wrong, word, kind), answer in zip(tries, answers):
            if answer["result"] != 0 and len(chosen) < count:
                chosen.append((wrong, word, kind))
        if len(chosen) >= count:
            break
    return chosen


def sdcv_lists(stardict, words):
    lists = []
    env = dict(os.environ, LC_ALL="C.UTF-8")
    for word in words:
        run = subprocess.run(["sdcv", "-n", "-j", "-x", "-2", stardict, word], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, env=env)
        try:
            lists.append([item["word"] for item in json.loads(run.stdout.decode("utf-8") or "[]")])
        except json.JSONDecodeError:
            lists.append([])
    return lists


def hunspell_lists(dictionary, words, heads):
    run = subprocess.run(["hunspell", "-a", "-i", "utf-8", "-d", dictionary],
                         input="".join("^" + w + "\n" for w in words).encode(), stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, check=True)
    # A banner line, then one line for each word and an empty line after it.
    answers = run.stdout.decode("utf-8").partition("\n")[2]
    lines = [block.strip() for block in answers.split("\n\n")][:len(words)]
    lists = []
    for line in lines:
        suggestions = line.partition(": ")[2].split(", ") if line.startswith("&") else []
        lists.append([s for s in suggestions if fold(s) in heads])
    return lists


def rates(cases, lists):
    first = top5 = 0
    for (_, meant, _), found in zip(cases, lists):
        folded = [fold(w) for w in found]
        first += bool(folded) and folded[0] == fold(meant)
        top5 += fold(meant) in folded[:5]
    n = max(len(cases), 1)
    return 100.0 * first / n, 100.0 * top5 / n


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("root")
    parser.add_argument("stardict")
    parser.add_argument("out")
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=21)
    args = parser.parse_args()
    heads = headwords(args.tool, args.root)
    texts = catalogue_texts()
    rows = []
    folder = os.path.dirname(os.path.abspath(args.out))
    for language, hunspell in (("English", "en_US"), ("Bulgarian", "bg_BG")):
        rng = random.Random(args.seed)
        cases = misspellings(args.tool, args.root, language, texts[language], heads, args.count, rng)
        with open(os.path.join(folder, "misspellings-%s.tsv" % language.lower()), "w", encoding="utf-8") as out:
            out.writelines("%s\t%s\t%s\n" % case for case in cases)
        wrong = [w for w, _, _ in cases]
        tool = [item["suggestions"] for item in tool_json(args.tool, args.root, ["suggest"], wrong)]
        peers = {"dictionary-tool": tool, "sdcv": sdcv_lists(args.stardict, wrong),
                 "hunspell": hunspell_lists(hunspell, wrong, heads)}
        row = {"language": language, "count": len(cases)}
        for name, lists in peers.items():
            row[name] = rates(cases, lists)
        row["kinds"] = {kind: rates([c for c in cases if c[2] == kind],
                                    [l for c, l in zip(cases, tool) if c[2] == kind]) for kind in KINDS}
        rows.append(row)
        print("%s: %d misspellings" % (language, len(cases)), file=sys.stderr)
    with open(args.out, "w", encoding="utf-8") as out:
        out.write("| Language | Misspellings | dictionary-tool first / top 5 | sdcv first / top 5 |"
                  " hunspell first / top 5 |\n|---|---|---|---|---|\n")
        for row in rows:
            cells = ["%.1f %% / %.1f %%" % row[name] for name in ("dictionary-tool", "sdcv", "hunspell")]
            out.write("| %s | %d | %s |\n" % (row["language"], row["count"], " | ".join(cells)))
        out.write("\ndictionary-tool by kind of slip, first / top 5:\n\n| Language | %s |\n|---|%s\n"
                  % (" | ".join(KINDS), "---|" * len(KINDS)))
        for row in rows:
            out.write("| %s | %s |\n" % (row["language"], " | ".join("%.1f %% / %.1f %%" % row["kinds"][k]
                                                                     for k in KINDS)))
    with open(args.out, encoding="utf-8") as table:
        print(table.read())


if __name__ == "__main__":
    main()
