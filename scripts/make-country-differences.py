#!/usr/bin/env python3
"""Writes the word lists of every other Spanish-speaking country as differences from the base's.

The base country's lists are installed whole (palabrasbd, record files); every other country gets
a folder OUT/<country> with one difference file per list (the forms it removes from the base's
list and the forms it adds, front-coded; proper names are only ever added; the format is described in worddb/countries.h) and its
own "Falsos Positivos.txt". Each country's lists are made by make-word-database.py --lists-only
(Debian's hunspell-es for Spain, the country's npm package dictionary-es-xx for the others),
kept in --work so a second run only writes the differences again.

Usage: make-country-differences.py --out DIR --work DIR [--base es_ES] [--countries es_MX,es_AR]
                                   [--jobs 2] [--download-dir DIR] [--npm PATH] [--unmunch PATH]
                                   [--hunspell-dir DIR] [--false-positives FILE]
"""

import argparse
import concurrent.futures
import hashlib
import os
import shutil
import subprocess
import sys

COUNTRIES = ["es_ES", "es_AR", "es_BO", "es_CL", "es_CO", "es_CR", "es_CU", "es_DO", "es_EC", "es_GT", "es_HN",
             "es_MX", "es_NI", "es_PA", "es_PE", "es_PR", "es_PY", "es_SV", "es_US", "es_UY", "es_VE"]
LISTS = ["diccionario", "verbos", "npropios"]
# A name is written the same wherever Spanish is: each country keeps the base's proper names
# beside its own (the countries' dictionaries hold far fewer, and Madrid is no error in Mexico).
SHARED_LISTS = {"npropios"}
MAGIC = b"VELMARA-DIF 1\n"
HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "make-word-database.py")


def generator_stamp(args):
    """What the lists of a country depend on besides its dictionary: the generator and our list."""
    digest = hashlib.sha256()
    for path in (GENERATOR, args.false_positives):
        if path:
            with open(path, "rb") as handle:
                digest.update(handle.read())
    return digest.hexdigest()


def make_lists(country, args, stamp):
    """The country's plain lists (UTF-8, sorted) in WORK/<country>, made once per stamp."""
    folder = os.path.join(args.work, country)
    marker = os.path.join(folder, "stamp")
    if os.path.isfile(marker) and open(marker).read() == stamp:
        return folder
    shutil.rmtree(folder, ignore_errors=True)
    command = [sys.executable, GENERATOR, "--lists-only", "--country", country, "--out", folder,
               "--hunspell-dir", args.hunspell_dir, "--unmunch", args.unmunch, "--npm", args.npm]
    if args.download_dir:
        command += ["--download-dir", args.download_dir]
    if args.false_positives:
        command += ["--false-positives", args.false_positives]
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        sys.exit(f"make-country-differences: {country}: {result.stdout.decode('utf-8', 'replace').strip()}")
    with open(marker, "w") as handle:
        handle.write(stamp)
    return folder


def read_list(folder, name):
    with open(os.path.join(folder, name + ".txt"), encoding="utf-8") as handle:
        return [line.rstrip("\n") for line in handle if line.rstrip("\n")]


def encode_differences(removed, added):
    out = bytearray(MAGIC)
    previous = b""
    for kind, words in ((b"-", removed), (b"+", added)):
        for word in words:
            data = word.encode("cp1252")
            shared = 0
            limit = min(len(data), len(previous), 255)
            while shared < limit and data[shared] == previous[shared]:
                shared += 1
            out += kind + bytes([shared, len(data) - shared]) + data[shared:]
            previous = data
    return bytes(out)


def decode_differences(data):
    assert data.startswith(MAGIC)
    removed, added, previous, at = [], [], b"", len(MAGIC)
    while at < len(data):
        kind, shared, length = data[at:at + 1], data[at + 1], data[at + 2]
        word = previous[:shared] + data[at + 3:at + 3 + length]
        at += 3 + length
        (removed if kind == b"-" else added).append(word.decode("cp1252"))
        previous = word
    return removed, added


def write_country(country, base_folder, country_folder, out):
    """The differences of one country, checked by applying them again; returns its counts."""
    target = os.path.join(out, country)
    partial = target + ".part"
    shutil.rmtree(partial, ignore_errors=True)
    os.makedirs(partial)
    counts = {}
    for name in LISTS:
        base = read_list(base_folder, name)
        own = read_list(country_folder, name)
        if name in SHARED_LISTS:
            known = set(base)
            own = base + sorted(set(word for word in own if word not in known))
        own_set, base_set = set(own), set(base)
        removed = sorted(word for word in base_set if word not in own_set)
        added = sorted(word for word in own_set if word not in base_set)
        data = encode_differences(removed, added)
        back_removed, back_added = decode_differences(data)
        gone = set(back_removed)
        if sorted([word for word in base if word not in gone] + back_added) != sorted(own):
            sys.exit(f"make-country-differences: {country} {name}: the differences do not give the list back")
        with open(os.path.join(partial, name + ".dif"), "wb") as handle:
            handle.write(data)
        counts[name] = (len(own), len(removed), len(added))
    shutil.copyfile(os.path.join(country_folder, "Falsos Positivos.txt"), os.path.join(partial, "Falsos Positivos.txt"))
    with open(os.path.join(partial, "Falsos Positivos.txt"), "rb") as handle:
        counts["Falsos Positivos"] = (handle.read().count(b"\r\n"), 0, 0)
    shutil.rmtree(target, ignore_errors=True)
    os.replace(partial, target)
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True, help="the folder of the countries (paises)")
    parser.add_argument("--work", required=True, help="where each country's plain lists are kept")
    parser.add_argument("--base", default="es_ES", help="the country installed whole")
    parser.add_argument("--countries", help="comma-separated; every Spanish-speaking country by default")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--hunspell-dir", default="/usr/share/hunspell")
    parser.add_argument("--unmunch", default="unmunch")
    parser.add_argument("--npm", default="npm")
    parser.add_argument("--download-dir")
    parser.add_argument("--false-positives")
    args = parser.parse_args()

    countries = args.countries.split(",") if args.countries else COUNTRIES
    countries = [country for country in countries if country != args.base]
    for country in countries:
        if country not in COUNTRIES:
            sys.exit(f"make-country-differences: {country!r} is not one of {', '.join(COUNTRIES)}")
    os.makedirs(args.work, exist_ok=True)
    os.makedirs(args.out, exist_ok=True)
    stamp = generator_stamp(args)
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        folders = dict(zip([args.base] + countries,
                           pool.map(lambda country: make_lists(country, args, stamp), [args.base] + countries)))
    # A country no longer asked for is not left behind.
    for name in os.listdir(args.out):
        if name in COUNTRIES and name not in countries:
            shutil.rmtree(os.path.join(args.out, name), ignore_errors=True)
    print(f"Countries as differences from {args.base} in {args.out} "
          "(words; removed from and added to the base's list):")
    for country in countries:
        # Written after both lists were last made: nothing to do.
        target = os.path.join(args.out, country)
        made = max([os.path.getmtime(__file__)] +
                   [os.path.getmtime(os.path.join(folders[name], "stamp")) for name in (args.base, country)])
        if os.path.isdir(target) and os.path.getmtime(target) > made:
            print(f"  {country}  up to date")
            continue
        counts = write_country(country, folders[args.base], folders[country], args.out)
        size = sum(os.path.getsize(os.path.join(args.out, country, name))
                   for name in os.listdir(os.path.join(args.out, country)))
        print(f"  {country}  " + "  ".join(f"{name} {total} (-{gone} +{new})"
                                            for name, (total, gone, new) in counts.items() if name in LISTS)
              + f"  Falsos Positivos {counts['Falsos Positivos'][0]}  {size / 1e6:.1f} MB")


if __name__ == "__main__":
    main()
