#!/usr/bin/env python3
"""Measures how far a writer can trust velmara-check on published Spanish prose.

The prose comes from Debian's Spanish documentation, read where the packages install it
(manpages-es, debian-reference-es, maint-guide-es, gimp-help-es, libreoffice-help-es; install
them with apt-get first). Nothing here is needed by the build or the tests.

Printed for each checker given:
  * case changes per 1,000 words: words whose corrected text differs from the written word in
    the case of its letters (the prose is published and clean, so nearly every one is wrong);
  * missing words per 1,000 words (false alarms of clean prose, technical words included);
  * unaccented words: every distinct accented word of the prose (lower case) written without its
    accent, kept where Hunspell rejects the result as a non-word (without Hunspell, where the
    plain spelling never occurs in the prose); how many are accepted silently, left as a
    doubtful verb form, corrected, or marked missing.

Usage: measure-trust.py --check build/bin/velmara-check --db build/bin/palabrasbd
                        [--baseline OTHER/velmara-check] [--words 30000]
"""

import argparse
import glob
import gzip
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile

SOURCES = [
    ("manpages-es", "/usr/share/man/es/man*/*.gz"),
    ("debian-reference-es", "/usr/share/debian-reference/*.es.html"),
    ("maint-guide-es", "/usr/share/doc/maint-guide-es/html/*.html"),
    ("gimp-help-es", "/usr/share/gimp/2.0/help/es/*.html"),
    ("libreoffice-help-es", "/usr/share/libreoffice/help/es/text/*/*.html"),
]

ACCENTED = "áéíóú"
PLAIN = "aeiou"


def html_paragraphs(text):
    text = re.sub(r"(?is)<(script|style|pre)\b.*?</\1>", " ", text)
    for paragraph in re.findall(r"(?is)<p\b[^>]*>(.*?)</p>", text):
        plain = html.unescape(re.sub(r"(?s)<[^>]+>", "", paragraph))
        yield " ".join(plain.split())


def man_paragraphs(text):
    paragraph = []
    for line in text.splitlines():
        if line.startswith((".", "'")):
            if paragraph:
                yield " ".join(paragraph)
            paragraph = []
            continue
        line = re.sub(r"\\f(\[[^]]*\]|\(..|.)", "", line)
        line = re.sub(r"\\\(..|\\\*\(..|\\\*.|\\[e&|^-]", lambda m: "-" if m.group(0) == "\\-" else "", line)
        if "\\" in line:
            continue
        paragraph.append(line.strip())
    if paragraph:
        yield " ".join(paragraph)


def prose(limit):
    """(source, text) for every source found, about `limit` words each."""
    for name, pattern in SOURCES:
        files = sorted(glob.glob(pattern))
        if not files:
            print(f"{name}: not installed ({pattern})", file=sys.stderr)
            continue
        kept, words = [], 0
        for path in files:
            raw = gzip.open(path).read() if path.endswith(".gz") else open(path, "rb").read()
            text = raw.decode("utf-8", "replace")
            paragraphs = man_paragraphs(text) if path.endswith(".gz") else html_paragraphs(text)
            for paragraph in paragraphs:
                # Prose: sentences of several words, begun and ended as sentences are (a
                # fragment of a list or a table begins in lower case or with an option).
                if len(paragraph.split()) < 8 or paragraph[-1] not in ".:!?)»":
                    continue
                if not paragraph.lstrip("¿¡«\"(—").lstrip()[:1].isupper():
                    continue
                kept.append(paragraph)
                words += len(paragraph.split())
            if words >= limit:
                break
        yield name, "\n".join(kept) + "\n"


def run_tsv(check, db, text):
    with tempfile.NamedTemporaryFile("w", suffix=".txt", encoding="utf-8", delete=False) as handle:
        handle.write(text)
        path = handle.name
    try:
        result = subprocess.run([check, "--db", db, "--format", "tsv", path], capture_output=True, text=True)
    finally:
        os.unlink(path)
    rows = []
    for line in result.stdout.splitlines():
        fields = line.split("\t")
        if len(fields) >= 4:
            rows.append(fields)
    return rows


def case_changed(written, corrected):
    if len(written) == len(corrected):
        return any(a.isupper() != b.isupper() for a, b in zip(written, corrected))
    return bool(written) and bool(corrected) and written[0].isupper() != corrected[0].isupper()


def unaccented_words(texts):
    words, seen = set(), set()
    for text in texts:
        for word in re.findall(r"[A-Za-zÁÉÍÓÚÜÑáéíóúüñ]+", text):
            seen.add(word.lower())
            if word.islower() and sum(word.count(c) for c in ACCENTED) == 1:
                words.add(word)
    stripped = {w: w.translate(str.maketrans(ACCENTED, PLAIN)) for w in sorted(words)}
    plain = sorted(set(stripped.values()))
    hunspell = shutil.which("hunspell")
    if hunspell and os.path.exists("/usr/share/hunspell/es_ES.dic"):
        result = subprocess.run([hunspell, "-d", "es_ES", "-l"], input="\n".join(plain), capture_output=True, text=True)
        rejected = set(result.stdout.split())
        return sorted(w for w in plain if w in rejected), "rejected by Hunspell"
    return sorted(w for w in plain if w not in seen), "never written so in the prose"


def measure(check, db, sources, label):
    print(f"== {label}: {check}")
    total_words = total_case = total_missing = 0
    for name, text in sources:
        rows = run_tsv(check, db, text)
        case = sum(1 for r in rows if case_changed(r[1], r[2]))
        missing = sum(1 for r in rows if r[3] == "Missing")
        words = len(rows)
        total_words, total_case, total_missing = total_words + words, total_case + case, total_missing + missing
        print(f"  {name:22} {words:7} words  case changes {1000 * case / max(words, 1):5.2f}/1000"
              f"  missing {1000 * missing / max(words, 1):6.2f}/1000")
    print(f"  {'all':22} {total_words:7} words  case changes {1000 * total_case / max(total_words, 1):5.2f}/1000"
          f"  missing {1000 * total_missing / max(total_words, 1):6.2f}/1000")

    plain, how = unaccented_words(text for _, text in sources)
    rows = run_tsv(check, db, "\n".join(plain) + "\n")
    verdicts = {}
    for row in rows:
        verdicts[row[3]] = verdicts.get(row[3], 0) + 1
    silent = sum(verdicts.get(v, 0) for v in ("Accepted", "VerbForm", "FalsePositive"))
    doubtful = verdicts.get("DoubtfulVerbForm", 0)
    n = max(len(rows), 1)
    print(f"  unaccented non-words ({how}): {len(rows)}; accepted silently {silent} ({100 * silent / n:.1f} %),"
          f" doubtful {doubtful} ({100 * doubtful / n:.1f} %), corrected {verdicts.get('Corrected', 0)},"
          f" missing {verdicts.get('Missing', 0)}")
    leaked = [r[1] for r in rows if r[3] in ("Accepted", "VerbForm", "FalsePositive", "DoubtfulVerbForm")]
    if leaked:
        print("  leaked, first ones: " + " ".join(leaked[:25]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", required=True)
    parser.add_argument("--db", required=True)
    parser.add_argument("--baseline", help="another velmara-check to measure beside it")
    parser.add_argument("--words", type=int, default=30000, help="words of prose per source (about)")
    args = parser.parse_args()
    sources = list(prose(args.words))
    if not sources:
        sys.exit("no Spanish documentation installed: apt-get install manpages-es debian-reference-es "
                 "maint-guide-es gimp-help-es libreoffice-help-es")
    if args.baseline:
        measure(args.baseline, args.db, sources, "baseline")
    measure(args.check, args.db, sources, "this build")


if __name__ == "__main__":
    main()
