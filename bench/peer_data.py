#!/usr/bin/env python3
"""Inputs for the peers and the word lists, from a dictionary's tsv export.

    peer_data.py tabfile EXPORT.tsv OUT.tab     StarDict's tabfile input
    peer_data.py c5 EXPORT.tsv OUT.c5           dictfmt -c5 input
    peer_data.py words EXPORT.tsv SEED OUTDIR   hit.txt, miss.txt,
                                                batch-shuffled.txt, batch-sorted.txt

The export escapes a line break as \\n, a tab as \\t, a backslash as \\\\ and
other bytes as \\xHH. The peers get the same text with real line breaks.

hit.txt is the middle entry of the letter with the most entries (the
letter file a look-up walks longest); miss.txt is that word with a letter
added, absent from the dictionary. The batch lists hold 1,200 words: 1,080
entries drawn at random and 120 absent words made from others, shuffled,
and the same words in the dictionary's own order.
"""
import random
import re
import sys

BATCH_SIZE = 1200
BATCH_MISSES = 120
# Words every program takes as a plain argument or input line: letters,
# inner blanks, hyphens (no glob or fuzzy-search characters for sdcv, no
# leading dash for dict), short enough for every comparison.
PLAIN_WORD = re.compile(r"^[A-Za-zА-Яа-я][A-Za-zА-Яа-я -]*[A-Za-zА-Яа-я]$")
LONGEST_WORD = 60


def unescape(text):
    if "\\" not in text and "\r" not in text:
        return text
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt == "n":
                out.append("\n")
            elif nxt == "t":
                out.append(" ")
            elif nxt == "\\":
                out.append("\\")
            elif nxt == "x" and i + 3 < len(text):
                i += 2  # a byte UTF-8 cannot carry: left out
            i += 2
            continue
        if c != "\r":
            out.append(c)
        i += 1
    return "".join(out)


def read_entries(path):
    with open(path, encoding="utf-8") as tsv:
        for line in tsv:
            word, _, description = line.rstrip("\n").partition("\t")
            if word and description:
                yield unescape(word), unescape(description)


def fold(word):
    """How the dictionary compares words: ASCII and Cyrillic letters without case."""
    return word.upper() if word.isascii() else "".join(
        c.upper() if ("a" <= c <= "z" or "а" <= c <= "я") else c for c in word)


def order_key(word):
    """The letter files' order: bytes of code page 1251, ASCII letters as lower case."""
    return bytes(b + 32 if 65 <= b <= 90 else b for b in word.encode("cp1251"))


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.writelines(line + "\n" for line in lines)


def write_tabfile(source, target):
    with open(target, "w", encoding="utf-8", newline="\n") as out:
        for word, description in read_entries(source):
            escaped = description.replace("\\", "\\\\").replace("\n", "\\n")
            out.write(f"{word}\t{escaped}\n")


def write_c5(source, target):
    with open(target, "w", encoding="utf-8", newline="\n") as out:
        for word, description in read_entries(source):
            out.write(f"_____\n\n{word}\n{description}\n")


def absent_word(word, stored):
    for extra in ("qzxjv" if word[-1].isascii() else "щъюжф"):
        candidate = word + extra
        if fold(candidate) not in stored:
            return candidate
    return None


def write_words(source, seed, folder):
    entries = [word for word, _ in read_entries(source)]
    stored = {fold(word) for word in entries}
    by_letter = {}
    for word in entries:
        by_letter.setdefault(fold(word)[0], []).append(word)
    plain = [word for word in entries if PLAIN_WORD.match(word) and len(word) <= LONGEST_WORD]

    largest = max(by_letter.values(), key=len)
    usable = [word for word in largest if PLAIN_WORD.match(word) and len(word) <= LONGEST_WORD]
    hit = usable[len(usable) // 2]
    miss = absent_word(hit, stored)
    write_lines(f"{folder}/hit.txt", [hit])
    write_lines(f"{folder}/miss.txt", [miss])

    rng = random.Random(seed)
    unique = sorted({fold(word): word for word in plain}.values(), key=order_key)
    drawn = rng.sample(unique, BATCH_SIZE)
    misses = [absent_word(word, stored) for word in drawn[:BATCH_MISSES]]
    batch = [word for word in misses if word] + drawn[BATCH_MISSES:]
    rng.shuffle(batch)
    write_lines(f"{folder}/batch-shuffled.txt", batch)
    write_lines(f"{folder}/batch-sorted.txt", sorted(batch, key=order_key))


def main():
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == "tabfile":
        write_tabfile(args[1], args[2])
    elif len(args) == 3 and args[0] == "c5":
        write_c5(args[1], args[2])
    elif len(args) == 4 and args[0] == "words":
        write_words(args[1], int(args[2]), args[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
