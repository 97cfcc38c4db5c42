#!/usr/bin/env python3
"""Writes every character the game itself can show, for the font subset of the browser's first
download: the whole of each catalog and stage file, the string and character literals of each
source file (their comments are not shown), and printable ASCII (numbers, file names, input).

    glyph_text.py OUTPUT [--sources SOURCE...] [--texts FILE...]
"""
import re
import sys

# u"..." and u'...' literals, escapes included; what they spell is all the code can show.
LITERAL = re.compile(r"""u(?:"(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*')""")


def main(argv):
    output, kind, characters = argv[1], None, set(chr(c) for c in range(0x20, 0x7F))
    for arg in argv[2:]:
        if arg in ("--sources", "--texts"):
            kind = arg
            continue
        with open(arg, encoding="utf-8-sig") as f:
            text = f.read()
        if kind == "--sources":
            text = "".join(LITERAL.findall(text))
        characters.update(c for c in text if c.isprintable())
    characters.add("\u3000")  # the ideographic space, which isprintable() leaves out
    with open(output, "w", encoding="utf-8") as f:
        f.write("".join(sorted(characters)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
