#!/usr/bin/env python3
"""Writes a generated dictionary as tab-separated UTF-8 (word TAB description).

    make_entries.py COUNT SEED OUT.tsv

The same COUNT and SEED always give the same file. Words are lower case and
unique, Latin or Cyrillic, so code page 1251 holds all of them; first letters
follow English and Bulgarian headword frequencies, which puts about 9.4% of
the entries under S: with a million entries that letter file holds about
94,000 entries and 4.5 MB. English words get Bulgarian senses and the other
way round, one to four senses split by "; ".
"""
import random
import sys

LATIN = "abcdefghijklmnopqrstuvwxyz"
CYRILLIC = "абвгдежзийклмнопрстуфхцчшщъьюя"

# Share of dictionary headwords beginning with each letter, in percent.
ENGLISH_FIRST = {
    "s": 11.0, "c": 9.4, "p": 8.0, "a": 6.6, "b": 5.7, "d": 6.0, "m": 5.6, "t": 5.4, "r": 5.2,
    "e": 4.2, "f": 4.1, "i": 3.9, "h": 3.6, "g": 3.3, "l": 3.2, "o": 2.6, "u": 2.3, "w": 2.3,
    "n": 2.3, "v": 1.6, "k": 0.8, "j": 0.8, "q": 0.5, "y": 0.4, "z": 0.3, "x": 0.1,
}
BULGARIAN_FIRST = {
    "п": 12.0, "с": 9.0, "н": 8.0, "о": 7.0, "р": 6.0, "к": 6.0, "в": 6.0, "д": 5.0, "з": 5.0,
    "и": 4.0, "м": 4.0, "т": 4.0, "б": 4.0, "г": 3.0, "у": 3.0, "а": 3.0, "е": 2.0, "л": 2.0,
    "ч": 2.0, "х": 1.5, "ф": 1.5, "ш": 1.0, "ж": 1.0, "ц": 1.0, "я": 0.5, "ю": 0.3, "щ": 0.2,
    "й": 0.1,
}
ENGLISH_SHARE = 0.865
SENSE_WORDS = [1, 1, 1, 2, 2, 2, 3]
WORD_LENGTHS = [3, 4, 4, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 8, 8, 8, 9, 9, 10, 10, 11, 12, 13]


def make_word(rng, first, alphabet):
    length = rng.choice(WORD_LENGTHS)
    return first + "".join(rng.choice(alphabet) for _ in range(length - 1))


def make_description(rng, alphabet):
    senses = []
    for _ in range(rng.randint(1, 4)):
        words = [make_word(rng, rng.choice(alphabet), alphabet) for _ in range(rng.choice(SENSE_WORDS))]
        senses.append(", ".join(words))
    return "; ".join(senses)


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: make_entries.py COUNT SEED OUT.tsv")
    count, seed, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    rng = random.Random(seed)
    english = (list(ENGLISH_FIRST), list(ENGLISH_FIRST.values()))
    bulgarian = (list(BULGARIAN_FIRST), list(BULGARIAN_FIRST.values()))
    seen = set()
    with open(out, "w", encoding="utf-8", newline="\n") as tsv:
        while len(seen) < count:
            if rng.random() < ENGLISH_SHARE:
                first = rng.choices(*english)[0]
                word, description = make_word(rng, first, LATIN), make_description(rng, CYRILLIC)
            else:
                first = rng.choices(*bulgarian)[0]
                word, description = make_word(rng, first, CYRILLIC), make_description(rng, LATIN)
            if word in seen:
                continue
            seen.add(word)
            tsv.write(f"{word}\t{description}\n")


if __name__ == "__main__":
    main()
