"""Reads the words of a generated word database (fixed 100-byte records, eight packed values a
record, three decimal digits a Windows-1252 character)."""
import os
import struct

OFFSETS = (4, 16, 28, 40, 52, 64, 76, 88)
FILES = ("diccionario.log", "verbos.log", "npropios.log")


def decode_record(record):
    chars = []
    for offset in OFFSETS:
        (value,) = struct.unpack_from("<q", record, offset)
        if value <= 0 or value >= 10**15:
            continue
        groups = []
        while value > 0:
            groups.append(value % 1000 % 256)
            value //= 1000
        chars.extend(reversed(groups))
    return bytes(chars).decode("cp1252", errors="replace").strip().lower()


def list_words(folder, name):
    """The words of one list file of the database."""
    words = set()
    with open(os.path.join(folder, name), "rb") as data:
        content = data.read()
    for start in range(0, len(content) - 99, 100):
        word = decode_record(content[start:start + 100])
        if word:
            words.add(word)
    return words


def database_words(folder):
    words = set()
    for name in FILES:
        words |= list_words(folder, name)
    return words
