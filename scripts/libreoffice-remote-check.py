#!/usr/bin/python3
"""LibreOffice's own LanguageTool Remote checker against a running velmara-server.

Starts a headless LibreOffice with a profile of its own, points its LanguageTool settings at the
server, and asks the checker (through UNO) to proofread Spanish sentences; prints what it found.

    scripts/libreoffice-remote-check.py http://127.0.0.1:8081/v2

Needs libreoffice-writer-nogui and python3-uno; not part of the test suite.
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.lang import Locale

SENTENCES = [
    "Hola \U0001F600 perrro, ¿como estas? El arbol es grande.",
    "La configuracion del sistema se guarda en el fichero principal.",
]


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def main():
    base_url = sys.argv[1] if len(sys.argv) > 1 else "http://127.0.0.1:8081/v2"
    profile = tempfile.mkdtemp(prefix="velmara-lo-")
    pipe = "velmara_lo_%d" % os.getpid()
    office = subprocess.Popen(["soffice", "--headless", "--norestore", "--nologo",
                               "-env:UserInstallation=file://" + profile,
                               "--accept=pipe,name=%s;urp;" % pipe],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        context = None
        for _ in range(120):
            try:
                context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except Exception:
                time.sleep(0.5)
        if context is None:
            print("LibreOffice did not answer on its UNO pipe")
            return 2
        smgr = context.ServiceManager

        provider = smgr.createInstanceWithContext("com.sun.star.configuration.ConfigurationProvider", context)
        node = "/org.openoffice.Office.Linguistic/GrammarChecking/LanguageTool"
        settings = provider.createInstanceWithArguments(
            "com.sun.star.configuration.ConfigurationUpdateAccess", (prop("nodepath", node),))
        settings.setPropertyValue("BaseURL", base_url)
        settings.setPropertyValue("IsEnabled", True)
        settings.commitChanges()

        checker = smgr.createInstanceWithContext("org.openoffice.lingu.LanguageToolGrammarChecker", context)
        locales = checker.getLocales()
        print("locales offered:", ", ".join("%s-%s" % (l.Language, l.Country) for l in locales) or "(none)")
        spanish = Locale("es", "ES", "")
        print("es-ES supported:", checker.hasLocale(spanish))
        for text in SENTENCES:
            result = checker.doProofreading("1", text, spanish, 0, len(text), ())
            print("\n%s" % text)
            for error in result.aErrors:
                # LibreOffice counts in UTF-16 code units, as the server does.
                units = text.encode("utf-16-le")
                word = units[2 * error.nErrorStart:2 * (error.nErrorStart + error.nErrorLength)].decode("utf-16-le")
                print("  [%d,%d) %r  rule=%s  %s  suggestions=%s" % (
                    error.nErrorStart, error.nErrorStart + error.nErrorLength, word, error.aRuleIdentifier,
                    error.aShortComment, list(error.aSuggestions)))
        return 0
    finally:
        office.terminate()
        try:
            office.wait(20)
        except subprocess.TimeoutExpired:
            office.kill()


if __name__ == "__main__":
    sys.exit(main())
