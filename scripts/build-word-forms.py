#!/usr/bin/env python3
"""Builds the word-form tables that map inflected words to the base forms
the default dictionary holds: forms/English and forms/Bulgarian of OUTDIR,
with forms/CREDITS.txt.

    scripts/build-word-forms.py TOOL DICTIONARIES

TOOL is a native dictionary-tool; DICTIONARIES is the folder that holds
English_Bulgarian (the forms go into its forms/ folder). Sources, all Debian
packages (scripts/install-deps.sh installs them):
  - hunspell-en-us, hunspell-bg: the Hunspell word lists, expanded with
    unmunch (hunspell-tools). Only the English inflectional suffixes are
    used (plural and third person -s, -ed, -ing, possessive 's, and -er/-est
    of adjectives); the Bulgarian flags are all inflection paradigms, and
    the Bulgarian words it spells out form by form without flags are
    paired by the paradigms their forms fit (клони: клон, beside клоня).
  - res/forms/bulgarian-irregular.txt of this source: the Bulgarian forms
    the list does not make (дни: ден, места: място, беше: съм).
  - wordnet-base: WordNet's exception lists, the irregular English forms
    (went -> go, better -> good, children -> child).

Beside the tables, forms/frequency.txt ranks spelling suggestions: WordNet's
counts of the English headwords, and the entry sizes of the Bulgarian ones.

Each form keeps only the bases the dictionary holds and that differ from
it. Several bases of one form are stored in one entry, separated by ';',
the most common first. For English "common" is counted in text: WordNet's
sense-tagged corpus counts (cntlist.rev) of the base; for Bulgarian, which
has no such list here, and between English bases of equal count, the base
whose entry in the dictionary is the larger comes first (a word with many
senses and translations is a word in wide use).
The tables are written by the tool's own tsv import, so they are sorted and
split into letter files exactly as a dictionary is.
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile

HUNSPELL = os.environ.get("HUNSPELL_DIR", "/usr/share/hunspell")
WORDNET = os.environ.get("WORDNET_DIR", "/usr/share/wordnet")
DICTIONARY = "English_Bulgarian"
BULGARIAN_IRREGULAR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "forms",
                                   "bulgarian-irregular.txt")

# en_US flags that inflect: S plural and third person, D past, G -ing,
# M possessive; R and T are -er and -est of adjectives only on words that
# carry T (on verbs R makes agent nouns such as "bringer").
ENGLISH_INFLECTIONS = set("SDGM")
ENGLISH_COMPARISON = set("RT")

SENTINEL = "qqqxqqqxqqq"
CONTINUATION = re.compile(r" +\{[0-9]+\}$")


def fail(message):
    sys.exit("build-word-forms: " + message)


def fold(word):
    """The dictionary's case folding of code page 1251 bytes: a-z and
    Cyrillic a-ya become upper case, everything else stays."""
    out = bytearray(word)
    for i, b in enumerate(out):
        if 0x61 <= b <= 0x7A or b >= 0xE0:
            out[i] = b - 0x20
    return bytes(out)


def cp1251(word):
    try:
        return word.encode("cp1251")
    except UnicodeEncodeError:
        return None


def unescape_tsv(text):
    return re.sub(r"\\(n|r|t|\\|x[0-9A-Fa-f]{2})", lambda m: "\n" if m.group(1) == "n" else " ", text)


def dictionary_headwords(tool, dictionaries):
    """Folded headword -> [spelling, size of its entries in bytes]."""
    run = subprocess.run([tool, "--root", dictionaries, "export", "--dict", DICTIONARY],
                         stdout=subprocess.PIPE, check=True)
    words = {}
    for line in run.stdout.decode("utf-8").splitlines():
        word, _, description = line.partition("\t")
        spelled = cp1251(CONTINUATION.sub("", word))
        if not spelled:
            continue
        entry = words.setdefault(fold(spelled), [spelled, 0])
        entry[1] += len(unescape_tsv(description))
    return words


def affix_classes(aff):
    """Flag -> (PFX or SFX, whether it combines with an affix of the other kind)."""
    classes = {}
    with open(aff, encoding="utf-8") as source:
        for line in source:
            fields = line.split()
            if len(fields) == 4 and fields[0] in ("PFX", "SFX") and fields[2] in ("Y", "N"):
                classes[fields[1]] = (fields[0], fields[2] == "Y")
    return classes


def unmunch(entries, aff):
    """(root, form) for every form that unmunch makes of each (root, flags)."""
    with tempfile.TemporaryDirectory() as work:
        dic = os.path.join(work, "words.dic")
        with open(dic, "w", encoding="utf-8") as out:
            # A sentinel after each entry tells where its forms end.
            out.write("%d\n" % (2 * len(entries)))
            for root, flags in entries:
                out.write("%s/%s\n%s\n" % (root, flags, SENTINEL))
        run = subprocess.run(["unmunch", dic, aff], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, check=True)
    index = 0
    for form in run.stdout.decode("utf-8").splitlines():
        if form == SENTINEL:
            index += 1
        elif index < len(entries) and form != entries[index][0]:
            yield entries[index][0], form


def read_dic(path):
    entries = []
    with open(path, encoding="utf-8") as source:
        next(source)  # the entry count
        for line in source:
            word, _, flags = line.split("\t")[0].strip().partition("/")
            if word and not any(c.isdigit() for c in word):
                entries.append((word, flags))
    return entries


def hunspell_pairs(language, inflects):
    """(base, form) of the inflected forms of a Hunspell dictionary. The
    word lists keep words such as display and replace as play and place
    with a prefix flag, so the prefixed words are made first and are bases
    of their own: displayed gives display, never play."""
    aff = os.path.join(HUNSPELL, language + ".aff")
    classes = affix_classes(aff)
    entries = read_dic(os.path.join(HUNSPELL, language + ".dic"))
    prefixes = [(root, "".join(f for f in flags if classes.get(f, ("",))[0] == "PFX")) for root, flags in entries]
    prefixed = collections.defaultdict(list)
    for root, word in unmunch([e for e in prefixes if e[1]], aff):
        prefixed[root].append(word)
    bases = []
    for root, flags in entries:
        suffixes = inflects(flags, classes)
        if suffixes:
            bases.append((root, suffixes))
        # A prefixed word takes only the suffixes that combine with prefixes.
        crossing = "".join(f for f in suffixes if classes[f][1])
        if crossing:
            bases += [(word, crossing) for word in prefixed.get(root, ())]
    yield from unmunch(bases, aff)


def english_inflections(flags, classes):
    return "".join(f for f in flags if f in ENGLISH_INFLECTIONS or ("T" in flags and f in ENGLISH_COMPARISON))


def bulgarian_inflections(flags, classes):
    return "".join(f for f in flags if classes.get(f, ("",))[0] == "SFX")


# WordNet's rules for taking an inflection off (its "morphy"): part of
# speech, ending, what replaces it.
DETACHMENTS = (("noun", "s", ""), ("noun", "ses", "s"), ("noun", "xes", "x"), ("noun", "zes", "z"),
               ("noun", "ches", "ch"), ("noun", "shes", "sh"), ("noun", "ies", "y"),
               ("verb", "s", ""), ("verb", "ies", "y"), ("verb", "es", "e"), ("verb", "es", ""),
               ("verb", "ed", "e"), ("verb", "ed", ""), ("verb", "ing", "e"), ("verb", "ing", ""))
PARTS = ("noun", "verb", "adj", "adv")
# The part of speech of a sense key's synset type (5: an adjective satellite).
SENSE_PARTS = {"1": "noun", "2": "verb", "3": "adj", "4": "adv", "5": "adj"}


def wordnet_lemmas():
    """Part of speech -> the words WordNet has as lemmas of their own."""
    lemmas = {}
    for part in PARTS:
        with open(os.path.join(WORDNET, "index." + part), encoding="utf-8") as source:
            lemmas[part] = {line.split(" ", 1)[0].replace("_", " ") for line in source if not line.startswith(" ")}
    return lemmas


def tagged_counts():
    """(lemma, part of speech) -> how often WordNet's tagged corpus uses it so."""
    counts = collections.Counter()
    with open(os.path.join(WORDNET, "cntlist.rev"), encoding="utf-8") as source:
        for line in source:
            fields = line.split()
            lemma, _, key = fields[0].partition("%")
            if len(fields) == 3 and fields[2].isdigit() and key[:1] in SENSE_PARTS:
                counts[(lemma.replace("_", " "), SENSE_PARTS[key[0]])] += int(fields[2])
    return counts


def inflected_parts(form):
    """The parts of speech a regular inflection of this spelling makes."""
    if form.endswith(("ing", "ed")):
        return ("verb",)
    if form.endswith(("er", "est")):
        return ("adj",)
    return ("noun", "verb")


def english_pairs():
    """A form that is a word of its own more than it is the form of its base
    is left out: evening, news and wedding are used more often in WordNet's
    tagged corpus as words of their own than even, new and wed are as the
    verb, noun or adjective the inflection would make of them. (A form an
    exception list names counts as its own word only in other parts of
    speech: better is well's adverb, men man's plural.) Word-list entries
    that are forms themselves (does, listed for undoes) get their bases by
    WordNet's rules (do, doe)."""
    lemmas, counts = wordnet_lemmas(), tagged_counts()

    def form_of(base, form, parts, own_parts=PARTS):
        own = sum(counts[(form.lower(), part)] for part in own_parts)
        return own <= max(counts[(base.lower(), part)] for part in parts)

    for base, form in hunspell_pairs("en_US", english_inflections):
        if form_of(base, form, inflected_parts(form)):
            yield base, form
    for word, _ in read_dic(os.path.join(HUNSPELL, "en_US.dic")):
        if word != word.lower() or any(word in words for words in lemmas.values()):
            continue
        for part, ending, replacement in DETACHMENTS:
            if word.endswith(ending) and word[:-len(ending)] + replacement in lemmas[part]:
                yield word[:-len(ending)] + replacement, word
    for part in PARTS:
        with open(os.path.join(WORDNET, part + ".exc"), encoding="utf-8") as source:
            for line in source:
                words = [word.replace("_", " ") for word in line.split()]
                for base in words[1:]:
                    if form_of(base, words[0], (part,), [other for other in PARTS if other != part]):
                        yield base, words[0]


def suffix_rules(aff):
    """Suffix flag -> {strip: [add]} of a Hunspell affix file whose
    conditions are all "." (as bg_BG's are: a rule applies wherever the
    word ends in what it strips)."""
    rules = collections.defaultdict(lambda: collections.defaultdict(list))
    with open(aff, encoding="utf-8") as source:
        for line in source:
            fields = line.split()
            if len(fields) >= 5 and fields[0] == "SFX":
                if fields[4] != ".":
                    fail("%s: a suffix condition other than '.' (%s)" % (aff, line.strip()))
                strip, add = ("" if f == "0" else f for f in fields[2:4])
                rules[fields[1]][strip].append(add)
    return rules


def spelled_out_pairs(entries, rules, known):
    """(base, form) of the words the list spells out form by form instead
    of giving them a flag: "клон" stands without flags beside "клона",
    "клонът", "клонове" and "клоновете", each a word of its own, and its
    plural "клони" is not there at all, since the verb "клоня" already
    makes it. A word without flags takes the forms an inflection class
    makes of it when every one of them is a word of the list (spelled out,
    or made by any entry) and at least half of them are spelled out: so
    "клон" gets "клонове", and also "клони", which it shares with the verb.
    Words of one or two letters ("е", "до") are left alone: their endings
    match other words by chance."""
    flagless = {word for word, flags in entries if not flags}
    for word in sorted(flagless):
        if len(word) < 3:
            continue
        forms = set()
        for by_strip in rules.values():
            made = [word[:len(word) - len(strip)] + add
                    for strip, adds in by_strip.items() if word.endswith(strip) and len(strip) < len(word)
                    for add in adds]
            if len(made) < 2 or not all(form in known for form in made):
                continue
            if 2 * sum(form in flagless for form in made) >= len(made):
                forms.update(made)
        yield from ((word, form) for form in sorted(forms) if form != word)


def irregular_pairs(path):
    """(base, form) of a list whose lines are "base TAB form form ..."."""
    with open(path, encoding="utf-8") as source:
        for line in source:
            if line.strip() and not line.startswith("#"):
                base, forms = line.rstrip("\n").split("\t")
                yield from ((base, form) for form in forms.split())


def bulgarian_pairs():
    pairs = list(hunspell_pairs("bg_BG", bulgarian_inflections))
    yield from pairs
    yield from irregular_pairs(BULGARIAN_IRREGULAR)
    entries = read_dic(os.path.join(HUNSPELL, "bg_BG.dic"))
    known = {word for word, _ in entries} | {form for _, form in pairs}
    yield from spelled_out_pairs(entries, suffix_rules(os.path.join(HUNSPELL, "bg_BG.aff")), known)


def english_counts():
    """Folded lemma -> how often WordNet's tagged corpus uses it."""
    counts = {}
    with open(os.path.join(WORDNET, "cntlist.rev"), encoding="utf-8") as source:
        for line in source:
            fields = line.split()
            lemma = cp1251(fields[0].partition("%")[0].replace("_", " "))
            if lemma and len(fields) == 3 and fields[2].isdigit():
                counts[fold(lemma)] = counts.get(fold(lemma), 0) + int(fields[2])
    return counts


def lower_first(spellings):
    """"bills" rather than "Bills" when a list has both."""
    return min(spellings, key=lambda s: (s != s.lower(), s))


def form_table(pairs, headwords, counts):
    """Lines "form TAB base;base" of the forms whose bases the dictionary
    holds, the most common base first; and the number of pairs kept. A base
    is spelled as the sources pair it with the form, lower case first as the
    forms are (men: man, not the proper noun Man the dictionary lists
    first)."""
    forms = {}
    for root, form in pairs:
        root_bytes, form_bytes = cp1251(root), cp1251(form)
        if not root_bytes or not form_bytes or b";" in form_bytes or b"\t" in form_bytes:
            continue
        folded_root, folded_form = fold(root_bytes), fold(form_bytes)
        if folded_root == folded_form or folded_root not in headwords:
            continue
        spellings, bases = forms.setdefault(folded_form, (set(), {}))
        spellings.add(form_bytes)
        bases.setdefault(folded_root, set()).add(root_bytes)
    lines, kept = [], 0
    for spellings, bases in forms.values():
        form = lower_first(spellings)
        ranked = sorted(bases, key=lambda b: (-counts.get(b, 0), -headwords[b][1], headwords[b][0]))
        kept += len(ranked)
        lines.append(form + b"\t" + b";".join(lower_first(bases[b]) for b in ranked))
    lines.sort()
    return lines, kept


def write_counts(path, counts, headwords):
    """forms/frequency.txt: "word TAB count" in code page 1251, in the order
    of the folded words; spelling
    suggestions rank the more common of equally close words first. English:
    every headword that WordNet's tagged corpus counts. Bulgarian, which has
    no such list here: the size of the word's entries, as the Bulgarian
    tables rank bases."""
    english = {folded: count for folded, count in counts.items() if folded in headwords and count > 0}
    bulgarian = {folded: entry[1] for folded, entry in headwords.items() if folded[0] >= 0xC0 and entry[1] > 0}
    # In the order of the folded words: the program searches the table by halving.
    lines = [headwords[folded][0] + b"\t" + str(count).encode()
             for folded, count in sorted(list(english.items()) + list(bulgarian.items()))]
    with open(path, "wb") as out:
        out.write(b"".join(line + b"\n" for line in lines))
    print("build-word-forms: frequency: %d words" % len(lines))


def copyright_text(package):
    with open("/usr/share/doc/%s/copyright" % package, encoding="utf-8") as source:
        return source.read()


def package_version(package):
    run = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", package],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return run.stdout.decode().strip() or "unknown"


def bulgarian_copyright():
    """The hunspell-bg part of the (shared) copyright file of its source."""
    text = copyright_text("hunspell-bg")
    match = re.search(r"Files: dictionaries/bg_BG/\*\n(?:[^\n]+\n)*", text)
    return match.group(0) if match else "Files: dictionaries/bg_BG/*\nLicense: GPL-2\n"


def write_credits(path):
    with open("/usr/share/common-licenses/GPL-2", encoding="utf-8") as source:
        gpl2 = source.read()
    parts = [
        "Word forms of Dictionary: forms/English and forms/Bulgarian\n\n"
        "These tables map inflected words to the base forms that the default\n"
        "dictionary holds (went -> go, котките -> котка). They were made by\n"
        "scripts/build-word-forms.py of Dictionary's source from the Debian\n"
        "packages named below: the Hunspell word lists were expanded with\n"
        "Hunspell's unmunch, and each form was paired with its base. Each\n"
        "table can be read back as text with\n"
        "    dictionary-tool --root forms export --dict English\n\n",
        "==== forms/English ====\n\n"
        "Regular forms: the Hunspell en_US dictionary, Debian package\n"
        "hunspell-en-us %s, made from SCOWL by Kevin Atkinson. Its\n"
        "copyright file follows in full.\n\n%s\n" % (package_version("hunspell-en-us"),
                                                       copyright_text("hunspell-en-us")),
        "Irregular forms, and the counts that rank several bases of one form\n"
        "and the spelling suggestions (forms/frequency.txt):\n"
        "the exception lists and sense counts of WordNet 3.0, Debian package\n"
        "wordnet-base %s. Its copyright file follows in full.\n\n%s\n" % (
            package_version("wordnet-base"), copyright_text("wordnet-base")),
        "==== forms/Bulgarian ====\n\n"
        "The Hunspell bg_BG dictionary, Debian package hunspell-bg %s\n"
        "(source package libreoffice-dictionaries). Its copyright entry:\n\n%s\n"
        "The forms it does not make (дни: ден, беше: съм) come from\n"
        "res/forms/bulgarian-irregular.txt of Dictionary's source, written for it.\n"
        "forms/Bulgarian is derived from them and is distributed under the same\n"
        "licence, the GNU General Public License version 2. Its complete source\n"
        "travels with it in forms/source: the bg_BG.dic and bg_BG.aff of that\n"
        "package, bulgarian-irregular.txt and build-word-forms.py, the script\n"
        "that made the table; the\n"
        "table itself is plain text in letter files and can be exported,\n"
        "edited and imported again with dictionary-tool. The licence text\n"
        "follows in full.\n\n%s" % (package_version("hunspell-bg"), bulgarian_copyright(), gpl2),
    ]
    with open(path, "wb") as out:
        out.write("".join(parts).replace("\n", "\r\n").encode("utf-8"))


def copy_sources(folder):
    """The GPL-2 table ships with its complete source: the Hunspell files it
    was expanded from and this script."""
    os.makedirs(folder)
    for name in ("bg_BG.dic", "bg_BG.aff"):
        shutil.copyfile(os.path.join(HUNSPELL, name), os.path.join(folder, name))
    shutil.copyfile(os.path.abspath(__file__), os.path.join(folder, "build-word-forms.py"))
    shutil.copyfile(BULGARIAN_IRREGULAR, os.path.join(folder, "bulgarian-irregular.txt"))


def import_table(tool, root, language, lines):
    tsv = os.path.join(root, language + ".tsv")
    with open(tsv, "wb") as out:
        out.write(b"\n".join(line.decode("cp1251").encode("utf-8") for line in lines) + b"\n")
    subprocess.run([tool, "--root", root, "import", "tsv", tsv, "--to", language,
                    "--name", language + " word forms"], stdout=subprocess.DEVNULL, check=True)
    subprocess.run([tool, "--root", root, "check", "--dict", language], stdout=subprocess.DEVNULL, check=True)
    os.remove(tsv)
    # The lock file of the tool's writes has no use in the shipped table.
    lock = os.path.join(root, language, "writer.lock")
    if os.path.exists(lock):
        os.remove(lock)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: build-word-forms.py TOOL DICTIONARIES")
    tool, dictionaries = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    for needed, package in (("en_US.dic", "hunspell-en-us"), ("bg_BG.dic", "hunspell-bg")):
        if not os.path.exists(os.path.join(HUNSPELL, needed)):
            fail("%s is missing; run scripts/install-deps.sh (package %s), then build again" % (needed, package))
    if not os.path.exists(os.path.join(WORDNET, "cntlist.rev")):
        fail("WordNet's exception lists are missing; run scripts/install-deps.sh (package wordnet-base)")
    if not shutil.which("unmunch"):
        fail("unmunch is missing; run scripts/install-deps.sh (package hunspell-tools)")

    headwords = dictionary_headwords(tool, dictionaries)
    # Built beside the old folder and swapped in only when complete.
    new = os.path.join(dictionaries, ".forms.new")
    shutil.rmtree(new, ignore_errors=True)
    os.makedirs(new)
    for language, pairs, counts in (("English", english_pairs(), english_counts()),
                                    ("Bulgarian", bulgarian_pairs(), {})):
        lines, kept = form_table(pairs, headwords, counts)
        import_table(tool, new, language, lines)
        print("build-word-forms: %s: %d forms, %d base forms" % (language, len(lines), kept))
    write_counts(os.path.join(new, "frequency.txt"), english_counts(), headwords)
    write_credits(os.path.join(new, "CREDITS.txt"))
    copy_sources(os.path.join(new, "source"))
    final = os.path.join(dictionaries, "forms")
    shutil.rmtree(final, ignore_errors=True)
    os.rename(new, final)


if __name__ == "__main__":
    main()
