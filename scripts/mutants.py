#!/usr/bin/env python3
"""Lists and applies the mutations of scripts/mutants.sh (standard library only).

  mutants.py pick ROOT N SEED FOLDER...   prints the number of candidate places, then N of them,
                                          one per line: file, line, column, old, new, source line
                                          (separated by \x1f, as NEW may be empty; columns count
                                          bytes from 1)
  mutants.py apply ROOT FILE LINE COLUMN OLD NEW
                                          replaces OLD by NEW at that place, nothing else

The scanner is line-based and deliberately timid: a place is taken only where the formatted
source makes its meaning plain (binary operators have a blank on each side, as clang-format
writes them, so `std::vector<int>`, `T&& x`, `int* p` and `-x` are never taken). A doubtful
place skipped costs less than a mutant that does not compile.
"""

import os
import random
import re
import sys

SOURCE_SUFFIXES = (".cpp", ".h")

# Longest first, so that `<<=` is never read as `<` followed by `<=`.
PUNCTUATORS = sorted(
    "<=> <<= >>= ->* ... -> << >> <= >= == != && || ++ -- += -= *= /= %= &= |= ^= :: .*".split()
    + list("{}[]()<>;:,.?!~=+-*/%&|^#"),
    key=len,
    reverse=True,
)

# Spaced binary operators and what each becomes.
BINARY = {
    "<": "<=", "<=": "<", ">": ">=", ">=": ">",
    "==": "!=", "!=": "==",
    "&&": "||", "||": "&&",
    "+": "-", "-": "+", "*": "/", "/": "*",
    "+=": "-=", "-=": "+=",
}
# On a line with a literal, `+` is too often text being joined, where `-` would not compile.
NOT_WITH_LITERALS = {"+", "+="}
TOKEN = re.compile(r"[A-Za-z_]\w*|\.?\d(?:[eEpP][+-]|[\w.])*")  # identifiers and numbers
INTEGER = re.compile(r"(0|[1-9][0-9]*)([uU]?[lL]{0,2}|[lL]{1,2}[uU]?)$")


def blank(s):
    return re.sub(r"[^\n]", " ", s)


def blank_comments_and_literals(text):
    """Returns the lines of text with comments and the insides of literals turned into blanks.

    Columns are kept, and a literal keeps its quotes so that a line can still tell it had one.
    """
    out = []
    i, n = 0, len(text)
    state = "code"  # or "block" (inside /* */), "raw" (inside R"d(...)d")
    raw_end = ""
    while i < n:
        c = text[i]
        if state == "block":
            if text.startswith("*/", i):
                out.append("  ")
                i += 2
                state = "code"
            else:
                out.append(c if c == "\n" else " ")
                i += 1
        elif state == "raw":
            if text.startswith(raw_end, i):
                out.append(" " * (len(raw_end) - 1) + '"')
                i += len(raw_end)
                state = "code"
            else:
                out.append(c if c == "\n" else " ")
                i += 1
        elif text.startswith("//", i):
            while i < n and text[i] != "\n":
                out.append(" ")
                i += 1
        elif text.startswith("/*", i):
            out.append("  ")
            i += 2
            state = "block"
        elif c == '"' and re.search(r"(^|[^\w])(u8|u|U|L)?R$", text[max(0, i - 4) : i]):
            close = text.find("(", i)
            raw_end = ")" + text[i + 1 : close] + '"'
            out.append('"' + blank(text[i + 1 : close + 1]))
            i = close + 1
            state = "raw"
        elif c == "'" and re.search(r"(^|[^\w.])\d[\w.']*$", "".join(out[-40:])):  # recent text
            out.append(" ")  # a digit separator, as in 1'000
            i += 1
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j, n)
            closed = j < n and text[j] == c
            out.append(c + blank(text[i + 1 : j]) + (c if closed else ""))
            i = j + 1 if closed else j
        else:
            out.append(c)
            i += 1
    return "".join(out).split("\n")


def tokens(line):
    """Yields (column, token) of a blanked line; column counts from 0."""
    i, n = 0, len(line)
    while i < n:
        c = line[i]
        if c.isspace():
            i += 1
            continue
        m = TOKEN.match(line, i)
        if m:
            yield i, m.group()
            i = m.end()
            continue
        for p in PUNCTUATORS:
            if line.startswith(p, i):
                break
        else:
            p = c  # a quote or anything unusual
        yield i, p
        i += len(p)


def candidates_in_line(line):
    """Yields (column, old, new) for one blanked line of code."""
    has_literal = '"' in line or "'" in line
    toks = list(tokens(line))
    for k, (col, tok) in enumerate(toks):
        before = line[col - 1] if col > 0 else ""
        after_col = col + len(tok)
        after = line[after_col] if after_col < len(line) else ""
        prev = toks[k - 1][1] if k > 0 else ""
        nxt = toks[k + 1][1] if k + 1 < len(toks) else ""
        if prev == "operator":
            continue
        if tok in BINARY:
            spaced = before in (" ", "\t") and after in (" ", "\t", "")
            if spaced and col > 0 and not (tok in NOT_WITH_LITERALS and has_literal):
                yield col, tok, BINARY[tok]
        elif tok in ("++", "--"):
            yield col, tok, "--" if tok == "++" else "++"
        elif tok == "!" and (nxt[:1].isalpha() or nxt[:1] in "_(") and after not in (" ", "\t"):
            yield col, tok, ""
        elif INTEGER.match(tok):
            template_argument = (prev == "<" and before == "<") or (nxt == ">" and after == ">")
            pure_virtual = (
                tok == "0" and prev == "=" and k >= 2 and toks[k - 2][1] in (")", "const", "override")
            )
            if template_argument or pure_virtual:
                continue
            m = INTEGER.match(tok)
            value = int(m.group(1))
            new = 0 if value == 1 else value + 1
            yield col, tok, str(new) + m.group(2)


def source_files(root, folders):
    for folder in folders:
        for dirpath, dirnames, filenames in os.walk(os.path.join(root, folder)):
            dirnames.sort()
            for name in sorted(filenames):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(dirpath, name), root)


def read_text(path):
    # Latin-1 maps every byte to one character, so any file round-trips byte for byte.
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def pick(root, count, seed, folders):
    places = []
    for rel in source_files(root, folders):
        text = read_text(os.path.join(root, rel))
        original = text.split("\n")
        directive = False
        for number, line in enumerate(blank_comments_and_literals(text), start=1):
            # A directive goes on after a line that ends with a backslash.
            directive = directive or line.lstrip().startswith("#")
            if directive:
                directive = line.rstrip().endswith("\\")
                continue
            for col, old, new in candidates_in_line(line):
                places.append((rel, number, col + 1, old, new, original[number - 1].strip()))
    places.sort(key=lambda p: p[:3])
    chosen = random.Random(seed).sample(places, min(count, len(places)))
    chosen.sort(key=lambda p: p[:3])
    out = sys.stdout.buffer
    out.write(b"%d\n" % len(places))
    for p in chosen:
        out.write("\x1f".join(str(x).replace("\x1f", " ") for x in p).encode("latin-1") + b"\n")


def apply(root, rel, number, col, old, new):
    path = os.path.join(root, rel)
    lines = read_text(path).split("\n")
    line = lines[number - 1]
    if line[col - 1 : col - 1 + len(old)] != old:
        sys.exit(f"mutants.py: {rel}:{number}:{col} does not hold {old!r}")
    lines[number - 1] = line[: col - 1] + new + line[col - 1 + len(old) :]
    with open(path, "wb") as f:
        f.write("\n".join(lines).encode("latin-1"))


def main(argv):
    if len(argv) >= 4 and argv[0] == "pick":
        pick(argv[1], int(argv[2]), int(argv[3]), argv[4:])
    elif len(argv) == 7 and argv[0] == "apply":
        apply(argv[1], argv[2], int(argv[3]), int(argv[4]), argv[5], argv[6])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
