#!/usr/bin/env python3
"""The word database generator over a small dictionary of our own, with the real unmunch and a
stand-in for velmara-mkdb that keeps the lists it is given."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

GENERATOR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "make-word-database.py")

AFFIXES = """SET UTF-8
FLAG UTF-8
PFX d Y 1
PFX d 0 des .
PFX x Y 1
PFX x 0 ex\t .
SFX S Y 2
SFX S 0 s [aeiouó]
SFX S 0 es [^aeiouó]
SFX R Y 3
SFX R ar o ar
SFX R ar amos ar
SFX R r ndo ar
SFX À Y 2
SFX À 0 lo r
SFX À ar ándolo ar
SFX A Y 1
SFX A r dura/S ar
"""

ENTRIES = [
    "cantar/RÀAd",  # a verb with conjugation, pronoun, derivation and prefix flags
    "cantar/S",  # the same spelling as a noun
    "papel/S",
    "jugador/Sx",
    "dar",  # an irregular verb listed bare
    "Madrid",
    "Reino Unido",
    "Ωmega/S",  # not Windows-1252
    "supercalifragilisticoespialidosoyunpocomas/S",  # 42 characters
]

FAKE_MKDB = """#!/usr/bin/env python3
import shutil, sys
args = dict(zip(sys.argv[1::2], sys.argv[2::2]))
if "--compile" in args:
    open(args["--compile"] + "/compiled.given", "w").close()
    sys.exit(0)
for option, name in (("--dictionary", "diccionario"), ("--verbs", "verbos"), ("--proper-names", "npropios")):
    shutil.copy(args[option], args["--out"] + "/" + name + ".given")
"""


def read_words(path):
    with open(path, encoding="utf-8") as handle:
        return handle.read().splitlines()


@unittest.skipUnless(shutil.which("unmunch"), "unmunch (hunspell-tools) is not installed")
class GeneratorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="velmara-generator-test-")
        with open(os.path.join(cls.folder, "xx_XX.aff"), "w", encoding="utf-8") as handle:
            handle.write(AFFIXES)
        with open(os.path.join(cls.folder, "xx_XX.dic"), "w", encoding="utf-8") as handle:
            handle.write(f"{len(ENTRIES)}\n" + "\n".join(ENTRIES) + "\n")
        with open(os.path.join(cls.folder, "falsos.txt"), "w", encoding="utf-8") as handle:
            handle.write("Wifi\npapel\nPAPELES\n\nselfie\nwifi\n")
        cls.mkdb = os.path.join(cls.folder, "fake-mkdb")
        with open(cls.mkdb, "w", encoding="utf-8") as handle:
            handle.write(FAKE_MKDB)
        os.chmod(cls.mkdb, 0o755)
        cls.out = os.path.join(cls.folder, "palabrasbd")
        os.makedirs(cls.out)
        with open(os.path.join(cls.out, "Intellisense.txt"), "wb") as handle:
            handle.write(b"qe|que\r\n")
        run = subprocess.run([sys.executable, GENERATOR, "--out", cls.out, "--mkdb", cls.mkdb,
                              "--country", "xx_XX", "--hunspell-dir", cls.folder,
                              "--false-positives", os.path.join(cls.folder, "falsos.txt")],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        cls.output = run.stdout + run.stderr
        cls.returncode = run.returncode
        cls.lists = {}
        if run.returncode == 0:
            for name in ("diccionario", "verbos", "npropios"):
                cls.lists[name] = read_words(os.path.join(cls.out, name + ".given"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def setUp(self):
        self.assertEqual(self.returncode, 0, self.output)

    def test_verb_list_holds_conjugations_pronoun_forms_and_infinitives(self):
        verbs = set(self.lists["verbos"])
        for form in ("cantar", "canto", "cantamos", "cantando", "cantarlo", "cantándolo",
                     "descantar", "descanto", "dar"):
            self.assertIn(form, verbs)
        for form in ("cantadura", "papel", "madrid"):
            self.assertNotIn(form, verbs)

    def test_dictionary_holds_other_forms_derivations_and_infinitives(self):
        dictionary = set(self.lists["diccionario"])
        # cantadura/S| is what unmunch leaves of a derivation: the word and its plural both land.
        for form in ("cantar", "cantares", "descantar", "cantadura", "cantaduras", "descantaduras",
                     "papel", "papeles", "dar", "jugador", "jugadores", "exjugador", "exjugadores"):
            self.assertIn(form, dictionary)
        for form in ("canto", "cantando", "madrid"):
            self.assertNotIn(form, dictionary)

    def test_proper_names_are_lowercased(self):
        self.assertEqual(sorted(self.lists["npropios"]), ["madrid", "reino unido"])

    def test_no_affix_flags_and_nothing_unstorable_in_any_list(self):
        for name, words in self.lists.items():
            self.assertEqual(len(words), len(set(words)), name)
            for word in words:
                self.assertNotRegex(word, r"[/|\t]", name)
                self.assertLessEqual(len(word), 40, name)
                word.encode("cp1252")

    def test_counts_printed_match_the_lists_and_what_was_left_out(self):
        self.assertRegex(self.output, r"diccionario\.log\s+%d words, 2 left out" % len(self.lists["diccionario"]))
        self.assertRegex(self.output, r"verbos\.log\s+%d words, 0 left out" % len(self.lists["verbos"]))
        self.assertRegex(self.output, r"npropios\.log\s+%d words, 2 left out" % len(self.lists["npropios"]))

    def test_false_positives_drop_known_words_and_are_written_for_the_loader(self):
        with open(os.path.join(self.out, "Falsos Positivos.txt"), "rb") as handle:
            self.assertEqual(handle.read(), b"wifi\r\nselfie\r\n")
        self.assertRegex(self.output, r"Falsos Positivos\.txt\s+2 words, 2 dropped.*papel, papeles")

    def test_the_users_intellisense_list_is_left_in_place(self):
        with open(os.path.join(self.out, "Intellisense.txt"), "rb") as handle:
            self.assertEqual(handle.read(), b"qe|que\r\n")

    def test_a_missing_dictionary_is_reported(self):
        run = subprocess.run([sys.executable, GENERATOR, "--out", self.out, "--lists-only",
                              "--country", "zz_ZZ", "--hunspell-dir", self.folder],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.assertNotEqual(run.returncode, 0)
        self.assertIn("zz_ZZ.dic not found", run.stderr)


if __name__ == "__main__":
    unittest.main()
