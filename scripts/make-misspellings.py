#!/usr/bin/env python3
"""Writes tests/data/faltas.tsv: real Spanish words, each written with the errors people make.

The words come from Debian's Spanish manual pages (manpages-es) and must be in the word
database. Four kinds, each drawn with a fixed seed of its own:
- "tipica": one error (or two): most often a lost accent or tilde, then a letter that sounds
  alike, then a typing slip, and a few words with two;
- "tilde": every accent and tilde of the word left out (informacion, compania);
- "perdida": one letter left out (hobre for hombre);
- "juntas": two or three words run together (porfavor, sinembargo, alomejor), some with an
  accent lost too (atraves) or a capital (Porfavor); the meant text is the words with spaces.
  They are the everyday sequences and the commonest Debian pairs of resources/frecuencias.txt.
A written form the database holds is skipped: it would not be a missing word. Each line reads
"written<TAB>meant<TAB>part<TAB>kind", part "ajuste" for tuning and "control" for the figures
we report.

Usage: scripts/make-misspellings.py DATABASE_FOLDER [OUTPUT] [COUNT]
"""
import collections
import glob
import gzip
import os
import random
import re
import sys

sys.path.insert(0, os.path.dirname(__file__))
from word_database_words import database_words  # noqa: E402

WORD = re.compile(r"[a-záéíóúüñ]+")
ACCENTS = {"á": "a", "é": "e", "í": "i", "ó": "o", "ú": "u", "ü": "u", "ñ": "n"}
ADD_ACCENT = {"a": "á", "e": "é", "i": "í", "o": "ó", "u": "ú"}
ROWS = ["qwertyuiop", "asdfghjklñ", "zxcvbnm"]


def neighbours(letter):
    for r, row in enumerate(ROWS):
        c = row.find(letter)
        if c < 0:
            continue
        near = [row[c - 1]] if c > 0 else []
        near += [row[c + 1]] if c + 1 < len(row) else []
        if r > 0:
            near += [ROWS[r - 1][k] for k in (c, c + 1) if k < len(ROWS[r - 1])]
        if r < 2:
            near += [ROWS[r + 1][k] for k in (c - 1, c) if 0 <= k < len(ROWS[r + 1])]
        return near
    return []


def accent_error(word, rng):
    marked = [i for i, c in enumerate(word) if c in ACCENTS]
    if marked and rng.random() < 0.85:
        i = rng.choice(marked)
        return word[:i] + ACCENTS[word[i]] + word[i + 1:]
    vowels = [i for i, c in enumerate(word) if c in ADD_ACCENT]
    # An accent where none belongs is far rarer than a lost one.
    if not vowels or (not marked and rng.random() < 0.7):
        return None
    i = rng.choice(vowels)
    base = "".join(ACCENTS.get(c, c) if c != "ñ" else c for c in word)
    return base[:i] + ADD_ACCENT[base[i]] + base[i + 1:]


SOUNDS = [
    (r"v", "b"), (r"b", "v"), (r"c(?=[eiéí])", "s"), (r"c(?=[eiéí])", "z"), (r"z", "s"), (r"s", "z"),
    (r"z(?=[aou])", "c"), (r"s(?=[eiéí])", "c"), (r"g(?=[eiéí])", "j"), (r"j(?=[eiéí])", "g"),
    (r"ll", "y"), (r"y(?=[aeiouáéíóú])", "ll"), (r"h", ""), (r"^(?=[aeiou])", "h"), (r"x", "s"),
    (r"cc", "c"), (r"qu", "k"), (r"mb", "nb"), (r"mp", "np"), (r"rr", "r"), (r"(?<=[aeiou])r(?=[aeiou])", "rr"),
    (r"xc", "x"), (r"sc(?=[ei])", "c"),
]


def sound_error(word, rng):
    choices = [(m, rep) for pattern, rep in SOUNDS for m in re.finditer(pattern, word)]
    if not choices:
        return None
    m, rep = rng.choice(choices)
    return word[:m.start()] + rep + word[m.end():]


def slip_error(word, rng):
    kind = rng.choice(["lost", "doubled", "swapped", "neighbour", "neighbour"])
    i = rng.randrange(len(word))
    if kind == "lost" and len(word) > 3:
        return word[:i] + word[i + 1:]
    if kind == "doubled":
        return word[:i + 1] + word[i] + word[i + 1:]
    if kind == "swapped" and i + 1 < len(word) and word[i] != word[i + 1]:
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    near = neighbours(ACCENTS.get(word[i], word[i]) if word[i] != "ñ" else "ñ")
    if kind == "neighbour" and near:
        return word[:i] + rng.choice(near) + word[i + 1:]
    return None


def misspell(word, rng):
    roll = rng.random()
    if roll < 0.45:
        return accent_error(word, rng) or rng.choice([sound_error, slip_error])(word, rng)
    if roll < 0.70:
        return sound_error(word, rng)
    if roll < 0.90:
        return slip_error(word, rng)
    first = rng.choice([accent_error, sound_error])(word, rng)
    return first and rng.choice([slip_error, sound_error])(first, rng)


def manual_words():
    counts = collections.Counter()
    for page in sorted(glob.glob("/usr/share/man/es/man*/*.gz")):
        with gzip.open(page, "rt", encoding="utf-8", errors="replace") as text:
            for line in text:
                if line.startswith((".", "'")):
                    line = line[1:].split(" ", 1)[-1]
                line = re.sub(r"\\f.|\\\(..|\\.", " ", line)
                counts.update(WORD.findall(line))
    return counts


def main():
    folder = sys.argv[1]
    output = sys.argv[2] if len(sys.argv) > 2 else "tests/data/faltas.tsv"
    wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 2400
    known = database_words(folder)
    counts = manual_words()
    words = sorted(w for w, n in counts.items() if n >= 2 and len(w) >= 4 and w in known)
    rng = random.Random(20261208)
    rng.shuffle(words)
    pairs = []
    for word in words:
        if len(pairs) >= wanted:
            break
        written = misspell(word, rng)
        if not written or written == word or written in known or not WORD.fullmatch(written):
            continue
        pairs.append((written, word, "control" if rng.random() < 0.5 else "ajuste"))
    pairs = [pair + ("tipica",) for pair in pairs]
    pairs += other_kinds(words, known)
    with open(output, "w", encoding="utf-8") as out:
        for pair in pairs:
            out.write("\t".join(pair) + "\n")


def without_accents(word):
    return "".join(ACCENTS.get(c, c) for c in word)


def everyday_sequences():
    import importlib.util
    source = importlib.util.spec_from_file_location("frequencies", os.path.join(os.path.dirname(__file__),
                                                                               "make-word-frequencies.py"))
    module = importlib.util.module_from_spec(source)
    source.loader.exec_module(module)
    return module.EVERYDAY


def sequences_of(path):
    with open(path, encoding="utf-8") as text:
        return [line.strip() for line in text if " " in line.strip() and not line.startswith("#")]


def other_kinds(words, known, per_kind=400):
    rng = random.Random(20261209)
    pool = words[:]
    rng.shuffle(pool)
    part = lambda: "control" if rng.random() < 0.5 else "ajuste"  # noqa: E731
    found = []
    accented = [w for w in pool if without_accents(w) != w]
    for word in accented:
        if sum(1 for p in found if p[3] == "tilde") >= per_kind:
            break
        written = without_accents(word)
        if written not in known:
            found.append((written, word, part(), "tilde"))
    for word in pool[len(pool) // 2:]:
        if sum(1 for p in found if p[3] == "perdida") >= per_kind:
            break
        i = rng.randrange(len(word))
        written = word[:i] + word[i + 1:]
        if len(word) > 3 and written != word and written not in known:
            found.append((written, word, part(), "perdida"))
    sequences = sequences_of(os.path.join(os.path.dirname(__file__), "..", "resources", "frecuencias.txt"))
    listed = {" ".join(item.split()) for item in everyday_sequences().split(";")}
    everyday = [item for item in sequences if item in listed]
    others = [item for item in sequences if item not in listed]
    chosen = everyday + rng.sample(others, max(0, min(len(others), per_kind - len(everyday))))
    for meant in chosen:
        written = meant.replace(" ", "")
        roll = rng.random()
        if roll < 0.2 and without_accents(written) != written:
            written = without_accents(written)
        elif roll < 0.3:
            written, meant = written.capitalize(), meant.capitalize()
        if written.lower() not in known:
            found.append((written, meant, part(), "juntas"))
    return found


if __name__ == "__main__":
    main()
