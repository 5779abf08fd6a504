#!/usr/bin/env python3
"""The word lists of Mexico and Argentina, built from the countries' own dictionaries, against
Spain's: a few words that only some of them accept. With --check, the same words through
velmara-check --country, each country loaded as Spain's database (the build's) and its
differences, as the package installs them. Skipped when npm or its registry is not there.
Usage: countries_test.py --work DIR [--check BUILD/bin/velmara-check]"""

import argparse
import importlib.util
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "..", "..", "scripts", "make-word-database.py")
DIFFERENCES = os.path.join(HERE, "..", "..", "scripts", "make-country-differences.py")

# word: accepted in (es_ES, es_MX, es_AR)
EXPECTED = {
    "hablás": (True, False, True),    # voseo, in Argentina's dictionary and not in Mexico's
    "tenés": (True, False, True),
    "tenéis": (True, False, True),    # vosotros, not used in Mexico
    "fríjoles": (False, True, True),  # the American stress
    "catrinas": (False, True, False),
    "recepcionaron": (False, False, True),
    "güey": (True, True, False),
    "casa": (True, True, True),
}
COUNTRIES = ("es_ES", "es_MX", "es_AR")
# Names some countries' own lists lack: every country accepts them, as the package installs it.
NAMES = ("Madrid", "Guadalajara", "Tucumán")


def words_of(folder):
    words = set()
    for name in ("diccionario", "verbos", "npropios"):
        with open(os.path.join(folder, name + ".txt"), encoding="utf-8") as handle:
            words.update(handle.read().split("\n"))
    return words


def installed_countries(check, work):
    """The words through velmara-check --country, Mexico and Argentina as differences from Spain."""
    database = os.path.join(os.path.dirname(os.path.abspath(check)), "palabrasbd")
    with open(os.path.join(database, "pais.txt")) as handle:
        if handle.read().strip() != "es_ES":
            return [f"{database} is not Spain's database"]
    found = importlib.util.spec_from_file_location("differences", DIFFERENCES)
    differences = importlib.util.module_from_spec(found)
    found.loader.exec_module(differences)
    root = os.path.join(work, "installed")
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(os.path.join(root, "paises"))
    shutil.copytree(database, os.path.join(root, "palabrasbd"))
    failures = []
    for country in ("es_MX", "es_AR"):
        differences.write_country(country, os.path.join(work, "es_ES"), os.path.join(work, country),
                                  os.path.join(root, "paises"))
    for index, country in enumerate(COUNTRIES):
        run = subprocess.run([check, "-l", "--db", os.path.join(root, "palabrasbd"), "--country", country],
                             input=" ".join(EXPECTED), stdout=subprocess.PIPE, text=True)
        rejected = set(run.stdout.split())
        for word, expected in EXPECTED.items():
            if (word not in rejected) != expected[index]:
                failures.append(f"velmara-check --country {country} {'rejects' if expected[index] else 'accepts'} {word}")
        run = subprocess.run([check, "-l", "--db", os.path.join(root, "palabrasbd"), "--country", country],
                             input=", ".join(NAMES), stdout=subprocess.PIPE, text=True)
        failures += [f"velmara-check --country {country} rejects {name}" for name in run.stdout.split()]
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--check", help="velmara-check, with Spain's database beside it")
    args = parser.parse_args()
    npm = shutil.which("npm")
    if not npm:
        print("SKIP: npm is not installed")
        return 0
    try:
        subprocess.run([npm, "view", "dictionary-es-mx", "version"], check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except (subprocess.SubprocessError, OSError):
        print("SKIP: the npm registry does not answer")
        return 0

    failures = []
    accepted = {}
    for country in COUNTRIES:
        out = os.path.join(args.work, country)
        run = subprocess.run([sys.executable, GENERATOR, "--lists-only", "--country", country, "--out", out,
                              "--download-dir", os.path.join(args.work, "dictionaries")],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        print(run.stdout, end="")
        if run.returncode != 0:
            failures.append(f"{country}: the generator failed")
            continue
        accepted[country] = words_of(out)
    for word, expected in EXPECTED.items():
        for country, wanted in zip(COUNTRIES, expected):
            if country in accepted and (word in accepted[country]) != wanted:
                failures.append(f"{country} {'lacks' if wanted else 'accepts'} {word}")
    if "es_ES" in accepted:
        for country in ("es_MX", "es_AR"):
            if country in accepted:
                print(f"{country}: {len(accepted[country] - accepted['es_ES'])} words Spain's lists lack, "
                      f"{len(accepted['es_ES'] - accepted[country])} of Spain's it lacks")
    if args.check and len(accepted) == len(COUNTRIES):
        failures += installed_countries(args.check, args.work)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
