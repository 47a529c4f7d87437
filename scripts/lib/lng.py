#!/usr/bin/env python3
"""The header of a language file (*.lng) as the engine reads it, for the scripts and
the build, which must not each read it their own way:

  lng.py field FILE KEY      the value of KEY (any letter case) in [version]: its
                             first entry whose value the engine can read
  lng.py main-section FILE   the program's main section: the first section with a
                             globals or forms entry

Each prints the text and exits with 0, or prints nothing and exits with 1 when the
file has none; 2 when the file cannot be read or on wrong usage.

As the engine: a file that starts with the UTF-8 byte-order mark is UTF-8, any
other is read in the system's code page (Windows-1252 here, or UTF-8 when it
decodes); blanks are spaces and tabs; a line whose first non-blank is ";" or "'"
is a comment, and so is the rest of a line after one outside quotes; section names
and keys are compared in any letter case; a value is in double quotes with each
quote inside doubled, and a value otherwise written is not read; only the first
section of a name is read, and nothing after a header without its "]".
"""
import re
import sys

BLANKS = " \t"


def text_of(path):
    data = open(path, "rb").read()
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8", errors="replace")
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace")


def value_of(part):
    """The text of an entry's value part as the program reads it, or None."""
    in_quotes = False
    for i, c in enumerate(part):
        if c == '"':
            in_quotes = not in_quotes
        elif c in ";'" and not in_quotes:
            part = part[:i]
            break
    v = part.strip(BLANKS)
    if len(v) < 2 or v[0] != '"' or v[-1] != '"' or '"' in v[1:-1].replace('""', ""):
        return None
    return v[1:-1].replace('""', '"')


def entries(path):
    """(section, key, value) of every entry whose value can be read, in file order;
    section and key lower-cased."""
    section, seen = None, set()
    for raw in re.split(r"\r\n|\n|\r", text_of(path)):
        line = raw.strip(BLANKS)
        if not line or line[0] in ";'":
            continue
        if line[0] == "[":
            end = line.find("]", 1)
            if end < 2:
                return  # a malformed header ends what the engine reads
            # Only the first section of a name is read.
            section = line[1:end] if line[1:end].lower() not in seen else None
            seen.add(line[1:end].lower())
            continue
        if section is not None and "=" in line:
            key, part = line.split("=", 1)
            value = value_of(part)
            if value is not None:
                yield section, key.strip(BLANKS).lower(), value


def version(path):
    """The [version] entries, the first of each key, keys lower-cased."""
    found = {}
    for section, key, value in entries(path):
        if section.lower() == "version":
            found.setdefault(key, value)
    return found


def main_section(path):
    """The first section with a globals or forms entry, as it is written, or None."""
    return next((section for section, key, _ in entries(path) if key in ("globals", "forms")), None)


def main(argv):
    if len(argv) == 4 and argv[1] == "field":
        answer = lambda: version(argv[2]).get(argv[3].lower())
    elif len(argv) == 3 and argv[1] == "main-section":
        answer = lambda: main_section(argv[2])
    else:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    try:
        text = answer()
    except OSError as e:
        print("lng.py: %s" % e, file=sys.stderr)
        return 2
    if text is None:
        return 1
    print(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
