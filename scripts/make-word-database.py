#!/usr/bin/env python3
"""Builds the word database folder (palabrasbd) from Debian's hunspell-es dictionary.

Debian's hunspell-es links every country but Spain to the es_ES files. For another country
(es_MX, es_AR, ...) whose files are only such links, or are missing, the country's own Hunspell
files are taken from its npm package (dictionary-es-mx, dictionary-es-ar, ...), fetched with
`npm pack` into --download-dir and checked before use.

Every entry of the chosen country variant is expanded into its forms with unmunch
(hunspell-tools); the forms are sorted into the three word lists, which velmara-mkdb turns
into record files, and our own false-positive list is written beside them.

  Verb list:        the forms made by the conjugation and attached-pronoun affixes of an entry,
                    with the infinitive itself.
  Dictionary list:  the forms of the lower-case entries made by every other affix (plurals,
                    feminines, derived nouns), the bare entries, and the infinitives.
  Proper-name list: the forms of the capitalised entries.

Usage: make-word-database.py --out DIR --mkdb PATH [--country es_ES] [--hunspell-dir DIR]
                             [--unmunch PATH] [--false-positives FILE] [--lists-only]
                             [--download-dir DIR] [--npm PATH]
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
from dataclasses import dataclass, field

MAX_WORD_LENGTH = 40
MAX_FALSE_POSITIVES = 1500
MAX_UNMUNCH_ROUNDS = 4
# A country's dictionary holds tens of thousands of entries; far fewer means a broken download.
MIN_DICTIONARY_ENTRIES = 20000


@dataclass
class Affixes:
    flag_kind: str = "char"  # char (one character), long (two), num (comma-separated numbers)
    encoding: str = "ISO8859-1"
    verb_flags: set = field(default_factory=set)
    prefix_flags: set = field(default_factory=set)


def split_flags(text, kind):
    if kind == "long":
        return [text[i:i + 2] for i in range(0, len(text), 2)]
    if kind == "num":
        return [part for part in text.split(",") if part]
    return list(text)


def join_flags(flags, kind):
    return ",".join(flags) if kind == "num" else "".join(flags)


def read_affixes(path):
    """Reads the flag format and tells the verb suffixes apart.

    A verb suffix is one whose every rule applies to an infinitive (its condition ends in "r")
    and produces a finished form (no continuation flags). Derivations from a verb
    (abdicar -> abdicación/S) carry continuation flags and make nouns, so they stay out.
    """
    affixes = Affixes()
    with open(path, "rb") as handle:
        raw_lines = handle.read().split(b"\n")
    for raw in raw_lines:
        if raw.startswith(b"SET "):
            affixes.encoding = raw[4:].strip().decode("ascii")
    rules = {}
    for raw in raw_lines:
        parts = raw.decode(affixes.encoding, "replace").split()
        if len(parts) >= 2 and parts[0] == "FLAG":
            affixes.flag_kind = {"long": "long", "num": "num"}.get(parts[1], "char")
        if len(parts) >= 4 and parts[0] == "PFX":
            affixes.prefix_flags.add(parts[1])
        if len(parts) >= 5 and parts[0] == "SFX":
            rules.setdefault(parts[1], []).append((parts[3], parts[4]))
    for flag, flag_rules in rules.items():
        if all(condition.endswith("r") and "/" not in addition for addition, condition in flag_rules):
            affixes.verb_flags.add(flag)
    return affixes


def read_entries(path, encoding):
    """The entries of a .dic file as (word, [flags])."""
    entries = []
    with open(path, encoding=encoding, errors="replace") as handle:
        lines = handle.read().splitlines()
    for line in lines[1:]:
        # Fields after a tab are morphology; a space may belong to the entry (Reino Unido).
        text = line.split("\t")[0].strip()
        word, _, flags = text.partition("/")
        if word:
            entries.append((word, flags))
    return entries


def looks_like_infinitive(word):
    return len(word) > 2 and word[-2:] in ("ar", "er", "ir", "ír")


def sort_entries(entries, affixes):
    """Splits the entries into the .dic lines of the three lists."""
    dictionary, verbs, proper_names = [], [], []
    kind = affixes.flag_kind
    for word, flag_text in entries:
        flags = split_flags(flag_text, kind)
        if word[0].isupper():
            proper_names.append((word, flags))
            continue
        verb = [f for f in flags if f in affixes.verb_flags]
        other = [f for f in flags if f not in affixes.verb_flags]
        if verb:
            # Prefixes (des-, re-, ...) go with both halves: a prefixed verb conjugates too,
            # and its infinitive belongs in the dictionary like the plain one.
            prefixes = [f for f in other if f in affixes.prefix_flags]
            verbs.append((word, verb + prefixes))
            dictionary.append((word, other))
        else:
            dictionary.append((word, flags))
            # A verb without affixes (dar, ir, ser) still has its infinitive among the verbs. A
            # noun of that shape (lugar) comes along, harmlessly: the dictionary holds it too.
            if not flags and looks_like_infinitive(word):
                verbs.append((word, []))
    return dictionary, verbs, proper_names


def unmunch(entries, aff_path, affixes, unmunch_path, work):
    """All forms of the entries. unmunch leaves the forms of two-level affixes unexpanded,
    with their flags attached (abdicación/S|); those are expanded again in further rounds."""
    forms = set()
    pending = entries
    for round_number in range(MAX_UNMUNCH_ROUNDS):
        if not pending:
            return forms
        dic_path = os.path.join(work, f"round{round_number}.dic")
        with open(dic_path, "w", encoding=affixes.encoding, errors="replace") as handle:
            handle.write(f"{len(pending)}\n")
            for word, flags in pending:
                flag_text = join_flags(flags, affixes.flag_kind)
                handle.write(f"{word}/{flag_text}\n" if flag_text else f"{word}\n")
        result = subprocess.run([unmunch_path, dic_path, aff_path], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, check=True)
        pending = []
        for line in result.stdout.decode(affixes.encoding, "replace").splitlines():
            # unmunch keeps the tab that ends an affix such as "ex" (ex<TAB>jugador); hunspell
            # reads that affix as "ex", so the form is exjugador.
            line = line.replace("\t", "").strip()
            if not line:
                continue
            if "/" in line:
                word, _, flag_text = line.partition("/")
                forms.add(word)
                pending.append((word, split_flags(flag_text.rstrip("|"), affixes.flag_kind)))
            else:
                forms.add(line.rstrip("|"))
    if pending:
        raise RuntimeError(f"unmunch still leaves {len(pending)} forms unexpanded, e.g. {pending[0][0]}")
    return forms


def storable(word):
    """Whether a record file can hold the word: Windows-1252 and at most 40 characters."""
    if not word or len(word) > MAX_WORD_LENGTH or "\0" in word:
        return False
    try:
        word.encode("cp1252")
    except UnicodeEncodeError:
        return False
    return True


@dataclass
class WordListResult:
    words: list
    left_out: int


def finish_list(forms):
    """Lower-cased, de-duplicated, sorted; words a record cannot hold are counted and left out."""
    kept, left_out = set(), set()
    for form in forms:
        word = form.lower()
        if "/" in word or "|" in word:
            raise RuntimeError(f"affix flags left in a form: {form}")
        (kept if storable(word) else left_out).add(word)
    return WordListResult(sorted(kept), len(left_out - kept))


def read_false_positives(path):
    words = []
    with open(path, encoding="utf-8") as handle:
        for line in handle:
            word = line.strip()
            if word:
                words.append(word.lower())
    return words


def write_list(path, words):
    with open(path, "w", encoding="utf-8", newline="\n") as handle:
        for word in words:
            handle.write(word + "\n")


def check_dictionary(dic_path, aff_path, source):
    """Fails with a clear message unless the pair looks like a whole Hunspell dictionary."""
    for path in (dic_path, aff_path):
        if not os.path.isfile(path) or os.path.getsize(path) == 0:
            sys.exit(f"make-word-database: {source} gave no usable {os.path.basename(path)}")
    with open(dic_path, "rb") as handle:
        lines = handle.read().split(b"\n")
    declared = lines[0].strip()
    entries = sum(1 for line in lines[1:] if line.strip())
    if not declared.isdigit() or int(declared) < MIN_DICTIONARY_ENTRIES or entries < int(declared) * 9 // 10:
        sys.exit(f"make-word-database: {source} gave a dictionary of {entries} entries "
                 f"(header {declared.decode('ascii', 'replace')!r}, at least {MIN_DICTIONARY_ENTRIES} expected)")
    with open(aff_path, "rb") as handle:
        if b"\nSFX " not in handle.read():
            sys.exit(f"make-word-database: {source} gave an affix file without suffixes")


def fetch_country_dictionary(country, download_dir, npm):
    """The country's .dic and .aff from its npm package, fetched once into download_dir."""
    package = "dictionary-" + country.lower().replace("_", "-")
    folder = os.path.join(download_dir, package)
    dic_path = os.path.join(folder, country + ".dic")
    aff_path = os.path.join(folder, country + ".aff")
    if os.path.isfile(dic_path) and os.path.isfile(aff_path):
        check_dictionary(dic_path, aff_path, f"the npm package {package}")
        return dic_path, aff_path
    if not npm or not shutil.which(npm):
        sys.exit(f"make-word-database: {country} needs the npm package {package}, and npm is not installed "
                 "(scripts/install-deps.sh country)")
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="velmara-npm-") as work:
        result = subprocess.run([npm, "pack", package, "--silent", "--pack-destination", work],
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=work)
        archives = [name for name in os.listdir(work) if name.endswith(".tgz")]
        if result.returncode != 0 or len(archives) != 1:
            message = result.stderr.decode("utf-8", "replace").strip().splitlines()
            sys.exit(f"make-word-database: npm pack {package} failed"
                     f"{': ' + message[-1] if message else ''}")
        with tarfile.open(os.path.join(work, archives[0])) as archive:
            for member, target in (("package/index.dic", dic_path), ("package/index.aff", aff_path)):
                try:
                    entry = archive.getmember(member)
                except KeyError:
                    sys.exit(f"make-word-database: the npm package {package} holds no {member}")
                if not entry.isfile():
                    sys.exit(f"make-word-database: {member} of the npm package {package} is not a file")
                with archive.extractfile(entry) as source, open(target + ".part", "wb") as out:
                    shutil.copyfileobj(source, out)
    check_dictionary(dic_path + ".part", aff_path + ".part", f"the npm package {package}")
    os.replace(dic_path + ".part", dic_path)
    os.replace(aff_path + ".part", aff_path)
    return dic_path, aff_path


def country_dictionary(country, hunspell_dir, download_dir, npm):
    """The .dic and .aff of the country: Debian's own, or the npm package's where Debian has
    only a link to Spain's files (or nothing)."""
    dic_path = os.path.join(hunspell_dir, country + ".dic")
    aff_path = os.path.join(hunspell_dir, country + ".aff")
    spain = os.path.realpath(os.path.join(hunspell_dir, "es_ES.dic"))
    present = os.path.isfile(dic_path) and os.path.isfile(aff_path)
    own = present and os.path.realpath(dic_path) != spain
    if country != "es_ES" and country.startswith("es_") and not own and download_dir:
        return fetch_country_dictionary(country, download_dir, npm)
    for path in (dic_path, aff_path):
        if not os.path.isfile(path):
            sys.exit(f"make-word-database: {path} not found (install hunspell-es)")
    return dic_path, aff_path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True, help="the palabrasbd folder to fill")
    parser.add_argument("--mkdb", help="velmara-mkdb, which writes the record files")
    parser.add_argument("--country", default="es_ES", help="country variant of hunspell-es (es_ES, es_MX, ...)")
    parser.add_argument("--hunspell-dir", default="/usr/share/hunspell")
    parser.add_argument("--unmunch", default="unmunch")
    parser.add_argument("--false-positives", help="our false-positive list, UTF-8, one word a line")
    parser.add_argument("--download-dir", help="where the npm dictionaries of other countries are kept")
    parser.add_argument("--npm", default="npm")
    parser.add_argument("--lists-only", action="store_true",
                        help="write the plain word lists (UTF-8) into --out instead of record files")
    args = parser.parse_args()

    if not re.fullmatch(r"[a-z]{2,3}_[A-Z]{2}", args.country):
        sys.exit(f"make-word-database: {args.country!r} is not a country of the form es_MX")
    dic_path, aff_path = country_dictionary(args.country, args.hunspell_dir, args.download_dir, args.npm)
    if not args.lists_only and not args.mkdb:
        sys.exit("make-word-database: --mkdb is needed to write the record files")

    affixes = read_affixes(aff_path)
    dictionary, verbs, proper_names = sort_entries(read_entries(dic_path, affixes.encoding), affixes)
    os.makedirs(args.out, exist_ok=True)
    # The programs name the country of these lists from it (and offer the others beside them).
    with open(os.path.join(args.out, "pais.txt"), "w", encoding="ascii", newline="\n") as handle:
        handle.write(args.country + "\n")
    with tempfile.TemporaryDirectory(prefix="velmara-db-") as work:
        lists = {}
        for name, entries in (("diccionario", dictionary), ("verbos", verbs), ("npropios", proper_names)):
            lists[name] = finish_list(unmunch(entries, aff_path, affixes, args.unmunch, work))

        paths = {}
        target = args.out if args.lists_only else work
        for name, result in lists.items():
            paths[name] = os.path.join(target, name + ".txt")
            write_list(paths[name], result.words)
        if not args.lists_only:
            subprocess.run([args.mkdb, "--out", args.out, "--dictionary", paths["diccionario"],
                            "--verbs", paths["verbos"], "--proper-names", paths["npropios"]], check=True)

    known = set().union(*(set(result.words) for result in lists.values()))
    false_positives, dropped, seen = [], [], set()
    if args.false_positives:
        for word in read_false_positives(args.false_positives):
            if word in seen:
                continue
            seen.add(word)
            (dropped if word in known or not storable(word) else false_positives).append(word)
    if len(false_positives) > MAX_FALSE_POSITIVES:
        sys.exit(f"make-word-database: {len(false_positives)} false positives, at most {MAX_FALSE_POSITIVES} are read")
    # Windows-1252 text with CR LF line ends, as the loader reads it.
    with open(os.path.join(args.out, "Falsos Positivos.txt"), "wb") as handle:
        handle.write(b"".join(word.encode("cp1252") + b"\r\n" for word in false_positives))
    if not args.lists_only:
        # The compiled database every program maps at start, stamped with the files above.
        subprocess.run([args.mkdb, "--compile", args.out], check=True)

    print(f"Word database {args.country} in {args.out}:")
    for name, label in (("diccionario", "diccionario.log"), ("verbos", "verbos.log"), ("npropios", "npropios.log")):
        result = lists[name]
        print(f"  {label:22} {len(result.words):8} words, {result.left_out} left out"
              f" (not Windows-1252 or over {MAX_WORD_LENGTH} characters)")
    print(f"  {'Falsos Positivos.txt':22} {len(false_positives):8} words, {len(dropped)} dropped"
          f" (in the lists already, or not storable){': ' + ', '.join(dropped) if dropped else ''}")


if __name__ == "__main__":
    main()
