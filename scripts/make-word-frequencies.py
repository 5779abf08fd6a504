#!/usr/bin/env python3
"""Writes resources/frecuencias.txt: the words of the word database that Spanish writers use
most, one a line, commonest first, then the sequences of two or three words they use most (one
a line, the words separated by a space).

Word use is counted in two kinds of text and the two shares are mixed, everyday speech weighing
more than manuals:
- the Spanish text of Debian's documentation packages (reference manual, maintainers' guide,
  GIMP, LibreOffice, KiCad, LilyPond, LinuxCNC, FreedomBox and Debian Edu documentation) and the Spanish message catalogues under /usr/share/locale/es/LC_MESSAGES;
- the word list of the npm package @zxcvbn-ts/language-es-es (MIT; its commonWords.json is
  ranked by use in the OpenSubtitles 2024 corpus of OPUS, ODC-BY: attribution in the README),
  which knows the words of conversation the manuals lack (hombre, dinero, bicicleta).

Sequences are the everyday ones below, written by us, then the pairs of words the Debian text
uses most. The suggester offers a sequence for a word written without its space (porfavor).

The list is made once and kept in the sources; without it the suggester still works, only less
well.

Usage: scripts/make-word-frequencies.py DATABASE_FOLDER [OUTPUT] [--common-words JSON]
  Without --common-words the npm package is fetched with `npm pack` into a temporary folder.
"""
import collections
import glob
import gzip
import html
import json
import os
import re
import struct
import subprocess
import sys
import tarfile
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from word_database_words import database_words  # noqa: E402

# Not manpages-es: the misspelling set the suggester is measured on is made of its words
# (scripts/make-misspellings.py), and a prior that knew them would flatter the figures.
PACKAGES = [
    "debian-reference-es", "maint-guide-es", "gimp-help-es", "libreoffice-help-es",
    "kicad-doc-es", "lilypond-doc-html-es", "linuxcnc-doc-es", "freedombox-doc-es", "debian-edu-doc-es",
]
CATALOGUES = "/usr/share/locale/es/LC_MESSAGES/*.mo"
NPM_PACKAGE = "@zxcvbn-ts/language-es-es@4.1.2"
TEXT_ENDINGS = (".html", ".htm", ".xhtml", ".txt", ".xhp", ".xml", ".text")
WORD = re.compile(r"[a-záéíóúüñ]+", re.IGNORECASE)
# A sentence or clause ends here: no pair of words is counted across it.
BREAK = re.compile(r"[.,;:!?¡¿()\[\]{}<>\"|/=*#\n]")
KEEP_WORDS = 40000
KEEP_PAIRS = 2500
COMMON_PAIR_WORDS = 3000
MIN_PAIR_COUNT = 12
# Share of the mixed use that comes from conversation; the rest from the Debian text.
SPEECH_SHARE = 0.7

# Everyday sequences people write as one word, commonest first (a lo mejor: alomejor).
EVERYDAY = """
por favor; sin embargo; a través; a lo mejor; tal vez; de repente; a pesar; al menos; de acuerdo;
por supuesto; en fin; a menudo; al final; por lo tanto; sin duda; de nuevo; de hecho; en cambio;
por fin; en vez; a veces; o sea; es decir; ya que; así que; sobre todo; de pronto; de verdad;
en serio; a la vez; de todas formas; de todos modos; por cierto; por ejemplo; en realidad;
de momento; a partir; a lo largo; a causa; en contra; a favor; hasta luego; de nada; más o menos;
cada vez; a bordo; a tiempo; a propósito; al revés; de golpe; a ciegas; al fin; en cuanto;
mientras tanto; a mano; a pie; poco a poco; de vez en cuando; hoy en día; a su vez; en general;
por eso; por lo menos; por lo general; a lo mejor; en medio; a punto; de prisa; a gusto; a medias;
de veras; con todo; en torno; por primera vez; por último; sin querer; a solas; a veces;
en seguida; de lejos; de cerca; al lado; a la derecha; a la izquierda; en frente; de pie;
de la; de las; de los; en el; en la; a la; por la; por el; que no; lo que; es que; no sé; a ver;
ya no; y no; me gusta; te quiero; lo siento; buenos días; buenas noches; buenas tardes;
muchas gracias; de veras; tal como; así como; sin más; a fin; a raíz; en absoluto; en resumen;
""".replace("\n", " ")


def text_of_page(raw, name):
    """Readable text of one documentation file: markup, entities and troff requests removed."""
    text = raw.decode("utf-8", errors="replace")
    if "/man/" in name:
        lines = []
        for line in text.splitlines():
            if line.startswith((".", "'")):
                line = line[1:].split(" ", 1)[-1] if " " in line else ""
            lines.append(re.sub(r"\\f.|\\\(..|\\.", " ", line))
        return "\n".join(lines)
    if name.endswith((".html", ".htm", ".xhtml", ".xhp", ".xml")) or "<html" in text[:2000].lower():
        text = re.sub(r"(?is)<(script|style)\b.*?</\1>", " ", text)
        text = re.sub(r"<[^>]*>", "\n", text)
        text = html.unescape(text)
    return text


def package_files(package):
    try:
        listing = subprocess.run(["dpkg", "-L", package], capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        print("make-word-frequencies: %s is not installed; left out" % package, file=sys.stderr)
        return []
    return [path for path in listing.splitlines() if os.path.isfile(path)]


def documentation_texts():
    for package in PACKAGES:
        for path in package_files(package):
            name = path[:-3] if path.endswith(".gz") else path
            if "/man/" not in path and not name.endswith(TEXT_ENDINGS):
                continue
            opener = gzip.open if path.endswith(".gz") else open
            try:
                with opener(path, "rb") as data:
                    yield text_of_page(data.read(), path)
            except OSError:
                continue


def catalogue_texts():
    """The translations (msgstr) of every Spanish .mo catalogue."""
    for path in sorted(glob.glob(CATALOGUES)):
        with open(path, "rb") as data:
            content = data.read()
        if len(content) < 28:
            continue
        magic = struct.unpack_from("<I", content)[0]
        order = "<" if magic == 0x950412DE else ">"
        count, _, translations = struct.unpack_from(order + "III", content, 8)
        pieces = []
        for i in range(count):
            length, offset = struct.unpack_from(order + "II", content, translations + 8 * i)
            pieces.append(content[offset:offset + length].replace(b"\0", b"\n").decode("utf-8", errors="replace"))
        yield "\n".join(pieces)


def common_words(path):
    if path is None:
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["npm", "pack", "--silent", NPM_PACKAGE], cwd=folder, check=True, capture_output=True)
            tarball = glob.glob(os.path.join(folder, "*.tgz"))[0]
            with tarfile.open(tarball) as archive:
                member = archive.extractfile("package/src/commonWords.json")
                return json.load(member)
    with open(path, encoding="utf-8") as data:
        return json.load(data)


def main():
    args = sys.argv[1:]
    words_json = None
    if "--common-words" in args:
        at = args.index("--common-words")
        words_json = args[at + 1]
        del args[at:at + 2]
    folder = args[0]
    output = args[1] if len(args) > 1 else "resources/frecuencias.txt"
    known = database_words(folder)

    counts = collections.Counter()
    pairs = collections.Counter()
    for text in list(documentation_texts()) + list(catalogue_texts()):
        for clause in BREAK.split(text):
            words = [w.lower() for w in WORD.findall(clause)]
            counts.update(w for w in words if w in known)
            pairs.update(zip(words, words[1:]))
    total = sum(counts.values()) or 1

    spoken = [w.lower() for w in common_words(words_json)]
    harmonic = sum(1.0 / r for r in range(1, len(spoken) + 1))
    share = collections.defaultdict(float)
    for rank, word in enumerate(spoken, 1):
        if word in known:
            share[word] += SPEECH_SHARE / (rank * harmonic)
    for word, count in counts.items():
        share[word] += (1 - SPEECH_SHARE) * count / total
    ranked = sorted(share, key=lambda w: (-share[w], w))[:KEEP_WORDS]

    def joinable(sequence):
        parts = sequence.split(" ")
        return all(p in known for p in parts) and "".join(parts) not in known

    sequences = []
    for item in EVERYDAY.split(";"):
        item = " ".join(item.split())
        if item and item not in sequences and joinable(item):
            sequences.append(item)
    # Pairs of everyday words only: the manuals' own pairs (glifos de) are not what people run
    # together.
    everyday_words = set(spoken[:COMMON_PAIR_WORDS]) - set("bcdfghjklmnñpqrstvwxz")
    for (first, second), count in pairs.most_common():
        if len(sequences) >= KEEP_PAIRS or count < MIN_PAIR_COUNT:
            break
        item = first + " " + second
        if item in sequences or first not in everyday_words or second not in everyday_words:
            continue
        if joinable(item):
            sequences.append(item)

    with open(output, "w", encoding="utf-8") as out:
        out.write("# Words of the word database by use in Debian's Spanish documentation and catalogues and in\n")
        out.write("# conversation (@zxcvbn-ts/language-es-es), commonest first; then common sequences of\n")
        out.write("# words (scripts/make-word-frequencies.py).\n")
        for word in ranked:
            out.write(word + "\n")
        for item in sequences:
            out.write(item + "\n")


if __name__ == "__main__":
    main()
