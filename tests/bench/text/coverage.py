#!/usr/bin/env python3
"""The share of the word tokens of real text that find an entry in the
default dictionary through `dictionary-tool lookup -`, for English and
Bulgarian: without the word forms ("before": the exact word, then the
plural retry) and with them ("after": then the first base form of the word
that the dictionary holds, which the tool's JSON marks with "base_form_of").

    tests/bench/text/coverage.py TOOL ROOT [--hits FILE] [--check N]

TOOL is a native dictionary-tool, ROOT a program folder holding
English_Bulgarian and forms/ (the native build's `dictionaries` folder).
--hits writes every distinct fallback hit (token, base, count) to FILE;
--check N prints N of them, drawn with a fixed seed, to be checked by hand.
The samples are sample-en.txt and sample-bg.txt beside this script.
"""
import argparse
import collections
import json
import os
import random
import re
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
LANGUAGES = (("English", "sample-en.txt", "A-Za-z"), ("Bulgarian", "sample-bg.txt", "А-Яа-яЀ-ѝ"))
# Quoted setting names and values, placeholders, addresses: not prose.
QUOTED = re.compile(r"“[^”]*”|„[^“]*“|\"[^\"]*\"|'[^' ]*'")
TECHNICAL = re.compile(r"[0-9_/\\=@%$<>{}\[\]|.:]\w|\w[-][\w]+-")


def tokens(text, letters):
    """Runs of the language's letters, with an apostrophe inside an English
    word kept (user's, don't); quoted names and technical strings are left
    out, hyphenated words give their parts."""
    found = []
    word = re.compile(r"[%s]+(?:['’][%s]+)?" % (letters, letters))
    for line in text.splitlines():
        for chunk in QUOTED.sub(" ", line).split():
            if TECHNICAL.search(chunk):
                continue
            found += [w.replace("’", "'") for w in word.findall(chunk)]
    return found


def cp1251(word):
    try:
        return word.encode("cp1251")
    except UnicodeEncodeError:
        return None


def run_json(tool, root, args, words):
    run = subprocess.run([tool, "--root", root] + args + ["--json", "-"], input="\n".join(words) + "\n",
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, encoding="utf-8")
    return json.loads(run.stdout)


def measure(tool, root, words):
    """Per distinct word: 'exact', 'plural', ('base', the base form shown), or None."""
    # Words the code page lacks a letter of (Bulgarian ѝ) cannot be typed
    # into the program: they count as misses.
    distinct = sorted(w for w in set(words) if cp1251(w))
    outcome = {w: None for w in set(words)}
    for answer in run_json(tool, root, ["lookup"], distinct):
        if answer["result"] != 0:
            continue
        if "base_form_of" in answer:
            outcome[answer["query"]] = ("base", answer["word"])
        else:
            same = answer["word"].lower() == answer["query"].lower()
            outcome[answer["query"]] = "exact" if same else "plural"
    return outcome


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool")
    parser.add_argument("root")
    parser.add_argument("--hits")
    parser.add_argument("--check", type=int, default=0)
    args = parser.parse_args()
    hits_out = open(args.hits, "w", encoding="utf-8") if args.hits else None
    print("| language | tokens | exact | plural retry | before | word forms | after |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for language, sample, letters in LANGUAGES:
        with open(os.path.join(HERE, sample), encoding="utf-8") as source:
            words = tokens(source.read(), letters)
        outcome = measure(os.path.abspath(args.tool), os.path.abspath(args.root), words)
        kinds = collections.Counter(
            outcome[w] if outcome[w] in ("exact", "plural") else ("forms" if outcome[w] else "miss") for w in words)
        total = len(words)
        before = kinds["exact"] + kinds["plural"]
        after = before + kinds["forms"]
        print("| %s | %d | %d | %d | %.1f%% | %d | %.1f%% |" % (
            language, total, kinds["exact"], kinds["plural"], 100.0 * before / total, kinds["forms"],
            100.0 * after / total))
        counts = collections.Counter(w for w in words if outcome[w] not in (None, "exact", "plural"))
        if hits_out:
            for word, count in counts.most_common():
                hits_out.write("%s\t%s\t%s\t%d\n" % (language, word, outcome[word][1], count))
        if args.check:
            drawn = random.Random(10).sample(sorted(counts), min(args.check, len(counts)))
            print("\n%s: %d of %d distinct fallback hits, to check by hand:" % (language, len(drawn), len(counts)))
            for word in drawn:
                print("  %s -> %s" % (word, outcome[word][1]))
            print()
    if hits_out:
        hits_out.close()


if __name__ == "__main__":
    main()
