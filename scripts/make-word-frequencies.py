#!/usr/bin/env python3
"""Writes resources/frecuencias.txt: the words of the word database that Debian's Spanish
reference manual and the Spanish maintainers' guide use most, one a line, commonest first.

The suggester ranks a common word ahead of a rare one that is as near to what was written. The
list is made once and kept in the sources; without it the suggester still works, only less well.

Usage: scripts/make-word-frequencies.py DATABASE_FOLDER [OUTPUT]
"""
import collections
import gzip
import re
import sys

sys.path.insert(0, __import__("os").path.dirname(__file__))
from word_database_words import database_words  # noqa: E402

SOURCES = [
    "/usr/share/debian-reference/debian-reference.es.txt.gz",
    "/usr/share/doc/maint-guide-es/maint-guide.es.txt.gz",
]
WORD = re.compile(r"[a-záéíóúüñ]+", re.IGNORECASE)
KEEP = 15000


def main():
    folder = sys.argv[1]
    output = sys.argv[2] if len(sys.argv) > 2 else "resources/frecuencias.txt"
    known = database_words(folder)
    counts = collections.Counter()
    for source in SOURCES:
        with gzip.open(source, "rt", encoding="utf-8", errors="replace") as text:
            for line in text:
                for word in WORD.findall(line):
                    word = word.lower()
                    if word in known:
                        counts[word] += 1
    ranked = [word for word, count in counts.most_common() if count >= 1][:KEEP]
    with open(output, "w", encoding="utf-8") as out:
        out.write("# Words of the word database by use in debian-reference-es and maint-guide-es,\n")
        out.write("# commonest first (scripts/make-word-frequencies.py).\n")
        for word in ranked:
            out.write(word + "\n")


if __name__ == "__main__":
    main()
