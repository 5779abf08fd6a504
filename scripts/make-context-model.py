#!/usr/bin/env python3
"""Builds the model behind the accent advice (checker/context.h) from Spanish prose in Debian
packages, and the held-out text that measures it.

For every word that has accent variants in the word database (esta/está, termino/terminó/término)
it counts, over the training text, each variant, its left and right neighbours (a word, a mark, or
"^"/"$" at the ends of a line), and the kind of those neighbours (verb form, dictionary word,
proper name, unknown). Counts seen fewer than --min-count times are left out. The optional accents
(sólo, and the demonstratives éste, ésta...) are read without their accent.

Sources (installed with apt-get; each document goes whole to training, tuning or held-out by a
hash of its path): manpages-es, debian-reference-es, maint-guide-es, gimp-help-es, kicad-doc-es,
freedombox-doc-es, debian-edu-doc-es, aptitude-doc-es, libreoffice-help-es and the Spanish .mo
catalogues.

Usage: scripts/make-context-model.py --db build/bin/palabrasbd --out resources/contexto.txt
           [--held-out bench/data/contexto-prueba.txt] [--tuning FILE]
"""
import argparse
import collections
import gettext
import glob
import gzip
import hashlib
import html.parser
import os
import re
import subprocess
import sys
import unicodedata
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from word_database_words import list_words  # noqa: E402

LETTERS = "a-zA-ZªµºÀ-ÖØ-öø-ÿŠšŽžŒœŸƒ"
TOKEN = re.compile("[" + LETTERS + "]+|[^\\s]")
ACCENT = {"a": "á", "e": "é", "i": "í", "o": "ó", "u": "ú"}
STRIP = str.maketrans("áéíóú", "aeiou")
# Accents the Academy leaves to the writer: never advised, read as the plain word.
OPTIONAL = {"sólo", "éste", "ésta", "éstos", "éstas", "ése", "ésa", "ésos", "ésas", "aquél", "aquélla",
            "aquéllos", "aquéllas"}


class TextOfHtml(html.parser.HTMLParser):
    BLOCK = {"p", "div", "br", "li", "td", "th", "tr", "h1", "h2", "h3", "h4", "h5", "h6", "dt", "dd", "title",
             "table", "ul", "ol", "section", "blockquote", "caption", "figcaption"}
    SKIP = {"script", "style", "pre", "code", "kbd", "tt", "samp"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.skipping = 0

    def handle_starttag(self, tag, attrs):
        if tag in self.SKIP:
            self.skipping += 1
        elif tag in self.BLOCK:
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in self.SKIP:
            self.skipping = max(0, self.skipping - 1)
        elif tag in self.BLOCK:
            self.parts.append("\n")

    def handle_data(self, data):
        if not self.skipping:
            self.parts.append(data.replace("\n", " "))


def html_text(path):
    with open(path, "rb") as f:
        raw = f.read()
    parser = TextOfHtml()
    parser.feed(raw.decode("utf-8", errors="replace"))
    return "".join(parser.parts)


ROFF_ESCAPE = re.compile(r"\\f(\[[^\]]*\]|\(..|.)|\\\(..|\\\*\(..|\\\*.|\\\[[^\]]*\]|\\[-&e|^/,%:c]|\\s[-+]?\d")


def man_text(path):
    try:
        with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
            lines = f.read().split("\n")
    except (OSError, EOFError):
        return ""
    out, paragraph, nofill = [], [], False
    for line in lines:
        if line.startswith((".", "'")):
            macro = line[1:].split(" ", 1)[0]
            if macro in ("nf", "EX"):
                nofill = True
            elif macro in ("fi", "EE"):
                nofill = False
            if macro in ("B", "I", "BR", "IR", "RB", "BI", "IB", "RI") and " " in line:
                paragraph.append(ROFF_ESCAPE.sub("", line.split(" ", 1)[1].replace('"', "")))
                continue
            out.append(" ".join(paragraph))
            paragraph = []
            continue
        if nofill:
            continue
        paragraph.append(ROFF_ESCAPE.sub("", line))
    out.append(" ".join(paragraph))
    return "\n".join(out)


def mo_text(path):
    try:
        with open(path, "rb") as f:
            catalog = gettext.GNUTranslations(f)
    except Exception:  # a damaged catalogue is left out
        return ""
    texts = []
    for key, value in catalog._catalog.items():  # noqa: SLF001 (the only way to list them)
        if isinstance(value, str) and len(value.split()) >= 4:
            texts.append(value.replace("\n", " "))
    return "\n".join(texts)


def package_files(package):
    try:
        listing = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return []
    return [line for line in listing.split("\n") if os.path.isfile(line)]


def documents():
    """(name, text) of every document of the sources that are installed."""
    for path in sorted(glob.glob("/usr/share/man/es/man*/*.gz")):
        yield path, man_text(path)
    for package in ("debian-reference-es", "maint-guide-es", "gimp-help-es", "kicad-doc-es", "freedombox-doc-es",
                    "debian-edu-doc-es", "aptitude-doc-es", "libreoffice-help-es"):
        for path in package_files(package):
            if path.endswith((".html", ".htm", ".xhtml")):
                yield path, html_text(path)
    for path in sorted(glob.glob("/usr/share/locale/es/LC_MESSAGES/*.mo")):
        yield path, mo_text(path)


def split_of(name):
    digit = int(hashlib.sha1(name.encode()).hexdigest(), 16) % 10
    return "held-out" if digit == 0 else "tuning" if digit == 1 else "training"


def kind(word, dictionary, verbs, names):
    if word in dictionary:
        return "D"
    if word in verbs:
        return "V"
    if word in names:
        return "N"
    return "U"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--db", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--held-out")
    parser.add_argument("--held-out-words", type=int, default=60000)
    parser.add_argument("--tuning")
    parser.add_argument("--min-count", type=int, default=2)
    args = parser.parse_args()

    dictionary = list_words(args.db, "diccionario.log")
    verbs = list_words(args.db, "verbos.log")
    names = list_words(args.db, "npropios.log")
    known = dictionary | verbs

    def variants(plain):
        found = [plain]
        for i, c in enumerate(plain):
            if c in ACCENT:
                v = plain[:i] + ACCENT[c] + plain[i + 1:]
                if v in known and v not in OPTIONAL:
                    found.append(v)
        return found

    ambiguous = {}  # plain word -> its variants, the plain one first

    def variants_of(word):
        plain = word.translate(STRIP)
        if plain not in ambiguous:
            ambiguous[plain] = variants(plain) if plain in known and plain == unicodedata.normalize("NFC", plain) \
                else [plain]
        return ambiguous[plain]

    counts = collections.Counter()
    kept = {"held-out": [], "tuning": []}
    kept_words = {"held-out": 0, "tuning": 0}
    words_read = collections.Counter()
    for name, text in documents():
        part = split_of(name)
        if part != "training":
            if kept_words[part] < args.held_out_words and text.strip():
                kept[part].append(text.strip())
                kept_words[part] += len(TOKEN.findall(text))
            continue
        for line in text.split("\n"):
            tokens = TOKEN.findall(line)
            if not tokens:
                continue
            lowered = [t.lower() for t in tokens]
            lowered = [w.translate(STRIP) if w in OPTIONAL else w for w in lowered]
            words_read[part] += sum(1 for t in tokens if t[0].isalpha())
            for i, word in enumerate(lowered):
                if not word[0].isalpha():
                    continue
                if word.translate(STRIP) != word or len(variants_of(word)) > 1:
                    if len(variants_of(word)) < 2 or word not in variants_of(word):
                        continue
                    left = lowered[i - 1] if i > 0 else "^"
                    right = lowered[i + 1] if i + 1 < len(lowered) else "$"
                    counts[("U", word, "")] += 1
                    counts[("L", word, left)] += 1
                    counts[("R", word, right)] += 1
                    if left[0].isalpha():
                        counts[("LK", word, kind(left, dictionary, verbs, names))] += 1
                    if right[0].isalpha():
                        counts[("RK", word, kind(right, dictionary, verbs, names))] += 1
                    if i > 1 and left[0].isalpha() and lowered[i - 2][0].isalpha():
                        counts[("LL", word, lowered[i - 2] + " " + left)] += 1

    with open(args.out, "w", encoding="utf-8") as out:
        out.write("# Accent advice model (scripts/make-context-model.py): kind, word, neighbour, count.\n")
        out.write("# U: the word; L/R: word or mark left/right; LK/RK: kind of that word (D dictionary,\n")
        out.write("# V verb form only, N proper name, U unknown); LL: the two words to the left.\n")
        out.write("# Training text: %d words.\n" % words_read["training"])
        for (feature, word, other), count in sorted(counts.items()):
            if count >= args.min_count or feature == "U":
                out.write("%s\t%s\t%s\t%d\n" % (feature, word, other, count))
    for part, path in (("held-out", args.held_out), ("tuning", args.tuning)):
        if path:
            with open(path, "w", encoding="utf-8") as out:
                out.write("\n".join(kept[part]) + "\n")
    print("training words: %d; features: %d; held-out words: %d; tuning words: %d"
          % (words_read["training"], sum(1 for (f, w, o), c in counts.items() if c >= args.min_count),
             kept_words["held-out"], kept_words["tuning"]))


if __name__ == "__main__":
    main()
