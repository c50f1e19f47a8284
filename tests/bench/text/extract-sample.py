#!/usr/bin/env python3
"""Writes the real-text sample of the word-form coverage measurement:
sample-en.txt and sample-bg.txt beside this script, the English messages of
the Debian package gsettings-desktop-schemas and their Bulgarian
translations, one message a line, in the order of the English text.

    tests/bench/text/extract-sample.py [MO_FILE]

MO_FILE defaults to the package's Bulgarian catalogue,
/usr/share/locale/bg/LC_MESSAGES/gsettings-desktop-schemas.mo. The text is
under the package's licence, the LGPL 2.1 or later (README.md here).
"""
import gettext
import os
import sys

source = sys.argv[1] if len(sys.argv) > 1 else \
    "/usr/share/locale/bg/LC_MESSAGES/gsettings-desktop-schemas.mo"
with open(source, "rb") as catalogue:
    messages = gettext.GNUTranslations(catalogue)._catalog
pairs = sorted((english, bulgarian) for english, bulgarian in messages.items()
               if isinstance(english, str) and english and bulgarian)
here = os.path.dirname(os.path.abspath(__file__))
for name, index in (("sample-en.txt", 0), ("sample-bg.txt", 1)):
    with open(os.path.join(here, name), "w", encoding="utf-8") as out:
        for pair in pairs:
            out.write(" ".join(pair[index].split()) + "\n")
