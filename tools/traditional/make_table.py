#!/usr/bin/env python3
"""Builds the reviewed Simplified -> Traditional table of every text the program shows.

    python3 tools/traditional/make_table.py [--review]

1. Reads every string and character literal holding a Han character from the program's sources
   (calendar, engine, record, report, cli, app), adjacent literals joined as the compiler joins
   them, except those listed in not_shown.tsv. Every Han character of those literals becomes an
   entry of its own, so that texts the program puts together at run time convert too.
2. Converts them with OpenCC (Debian package opencc, configuration s2twp: Taiwan standard with
   Taiwan phrases).
3. Applies the hand corrections of corrections.tsv: wherever a rule's Simplified text occurs in
   an entry, the rule's Traditional text is written there and OpenCC converts the rest around
   it; longer rules win over shorter ones. A rule written "=X" applies to the entry X alone (the
   form of a single character where it stands by itself or in a text put together at run time). A rule that changes nothing is an error, so the list
   stays true.
4. Checks that every Traditional form has the length of its Simplified form in UTF-16 units (the
   report aligns its columns by counting full-width characters), and writes traditional.tsv
   beside this script and record/traditional_table.inc, which the program compiles.

--review prints, for every character whose Traditional form OpenCC chooses from several, the
form taken and the entries that hold it.
"""

import re
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parent.parent
SOURCE_FOLDERS = ("calendar", "engine", "record", "report", "cli", "app")
SOURCE_SUFFIXES = (".h", ".cpp", ".inc")
# Generated tables that hold no program text.
SKIPPED_FILES = {"record/unicode_nfc_tables.cpp", "record/traditional_table.inc"}
NOT_SHOWN = HERE / "not_shown.tsv"
CORRECTIONS = HERE / "corrections.tsv"
TABLE_TSV = HERE / "traditional.tsv"
TABLE_INC = REPO / "record" / "traditional_table.inc"
OPENCC_CONFIG = "s2twp.json"
ST_CHARACTERS = Path("/usr/share/opencc/STCharacters.ocd2")


def is_han(c):
    o = ord(c)
    return 0x3400 <= o <= 0x4DBF or 0x4E00 <= o <= 0x9FFF or 0xF900 <= o <= 0xFAFF or o >= 0x20000


def has_han(text):
    return any(is_han(c) for c in text)


# --- reading the literals of the sources --------------------------------------------------------

SIMPLE_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "?": "?",
                  "a": "\a", "b": "\b", "f": "\f", "v": "\v", "0": "\0"}


def decode_escapes(body):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        e = body[i + 1]
        if e in "uU":
            width = 4 if e == "u" else 8
            out.append(chr(int(body[i + 2:i + 2 + width], 16)))
            i += 2 + width
        elif e == "x":
            m = re.match(r"[0-9a-fA-F]+", body[i + 2:])
            out.append(chr(int(m.group(0), 16)))
            i += 2 + len(m.group(0))
        elif e in SIMPLE_ESCAPES:
            out.append(SIMPLE_ESCAPES[e])
            i += 2
        else:
            raise ValueError("unknown escape \\" + e)
    return "".join(out)


def literal_prefix(text, at):
    """The encoding prefix (u8, u, U, L) of a string literal starting at `at`, else ""."""
    if at > 0 and (text[at - 1].isalnum() or text[at - 1] == "_"):
        return ""
    m = re.match(r'(u8|u|U|L)"', text[at:at + 3])
    return m.group(1) if m else ""


def literals_of(text):
    """(line, decoded text) of every string literal (adjacent ones joined) and char literal."""
    found = []
    i, n, line = 0, len(text), 1
    joined, joined_line, string_open = None, 0, False  # the string being joined

    def close():
        nonlocal joined
        if joined is not None:
            found.append((joined_line, joined))
            joined = None

    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif c in " \t\r":
            i += 1
        elif text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
        elif text.startswith("/*", i):
            end = text.index("*/", i + 2)
            line += text.count("\n", i, end)
            i = end + 2
        elif c == '"' or c == "'":
            # A quote after a letter or digit other than a literal prefix is a digit separator.
            prefix = re.search(r"(u8|u|U|L)?$", text[max(0, i - 2):i]).group(0)
            before = text[i - len(prefix) - 1] if i - len(prefix) > 0 else " "
            if c == "'" and (before.isalnum() or before == "_") and not prefix:
                i += 1
                continue
            j = i + 1
            while text[j] != c:
                j += 2 if text[j] == "\\" else 1
            value = decode_escapes(text[i + 1:j])
            if c == '"':
                if joined is None:
                    joined, joined_line = value, line
                else:
                    joined += value
            else:
                close()
                found.append((line, value))
            i = j + 1
        elif literal_prefix(text, i):
            i += len(literal_prefix(text, i))  # u"…" u"…" still join
        else:
            close()
            i += 1
    close()
    return found


def read_not_shown():
    rules = []
    for row in NOT_SHOWN.read_text(encoding="utf-8").splitlines():
        if not row or row.startswith("#"):
            continue
        path, contains, _reason = row.split("\t")
        rules.append((path, contains))
    return rules


def is_not_shown(path, literal, rules):
    return any(path.startswith(p) and (c == "*" or c in literal) for p, c in rules)


def shown_literals():
    """{literal: first source path} of every literal the program shows."""
    rules = read_not_shown()
    shown = {}
    for folder in SOURCE_FOLDERS:
        for file in sorted((REPO / folder).rglob("*")):
            rel = file.relative_to(REPO).as_posix()
            if file.suffix not in SOURCE_SUFFIXES or rel in SKIPPED_FILES:
                continue
            for _line, literal in literals_of(file.read_text(encoding="utf-8")):
                if has_han(literal) and not is_not_shown(rel, literal, rules):
                    shown.setdefault(literal, rel)
    return shown


# --- OpenCC -------------------------------------------------------------------------------------

# Line ends, tabs and other controls travel through OpenCC as private-use characters.
def protect(text):
    return "".join(chr(0xE000 + ord(c)) if ord(c) < 0x20 else c for c in text)


def unprotect(text):
    return "".join(chr(ord(c) - 0xE000) if 0xE000 <= ord(c) < 0xE020 else c for c in text)


def opencc(texts):
    stdin = "".join(protect(t) + "\n" for t in texts)
    out = subprocess.run(["opencc", "-c", OPENCC_CONFIG], input=stdin.encode("utf-8"),
                         capture_output=True, check=True).stdout.decode("utf-8")
    lines = out.split("\n")[:len(texts)]
    return [unprotect(line) for line in lines]


def opencc_version():
    out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "opencc"], capture_output=True,
                         text=True)
    return out.stdout.strip() or "unknown"


def character_candidates():
    """{character: [Traditional candidates]} of OpenCC's character dictionary."""
    out = subprocess.run(["opencc_dict", "-i", str(ST_CHARACTERS), "-o", "/dev/stdout", "-f",
                          "ocd2", "-t", "text"], capture_output=True, check=True, text=True)
    table = {}
    for row in out.stdout.splitlines():
        simplified, forms = row.split("\t")
        table[simplified] = forms.split(" ")
    return table


# --- corrections --------------------------------------------------------------------------------

def read_corrections():
    rules = []
    for number, row in enumerate(CORRECTIONS.read_text(encoding="utf-8").splitlines(), 1):
        if not row or row.startswith("#"):
            continue
        simplified, traditional, _reason = row.split("\t")
        if len(simplified.lstrip("=")) != len(traditional):
            sys.exit(f"corrections.tsv:{number}: {simplified} and {traditional} differ in length")
        rules.append((simplified, traditional))
    # Longer first, so that a longer rule wins over a shorter one where both apply.
    rules.sort(key=lambda r: -len(r[0].lstrip("=")))
    return rules


def rule_applies(rule_s, text):
    """Where a rule applies: "=X" to the entry X alone, any other rule wherever its text occurs."""
    return text == rule_s[1:] if rule_s.startswith("=") else rule_s in text


# A rule's place in a text travels through OpenCC as one private-use character of plane 15.
def placeholder(index):
    return chr(0xF0000 + index)


def convert(entries, rules):
    """The entries converted by OpenCC, each occurrence of a rule's Simplified text replaced by
    the rule's Traditional text (OpenCC converts the rest around it)."""
    protected = []
    for text in entries:
        for index, (rule_s, _) in enumerate(rules):
            if rule_s.startswith("="):
                text = placeholder(index) if text == rule_s[1:] else text
            else:
                text = text.replace(rule_s, placeholder(index))
        protected.append(text)
    out = []
    for text in opencc(protected):
        for index, (_, rule_t) in enumerate(rules):
            text = text.replace(placeholder(index), rule_t)
        out.append(text)
    return out


def useless_rules(entries, rules, converted):
    """The rules without which every entry would come out the same."""
    useless = []
    final = dict(zip(entries, converted))
    for rule in rules:
        holders = [e for e in entries if rule_applies(rule[0], e)]
        others = [r for r in rules if r != rule]
        if convert(holders, others) == [final[e] for e in holders]:
            useless.append(rule[0])
    return useless


# --- output -------------------------------------------------------------------------------------

def utf16_units(text):
    return len(text.encode("utf-16-le")) // 2


def tsv_escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def cpp_literal(text):
    out = []
    for c in text:
        if c in '"\\':
            out.append("\\" + c)
        elif c == "\r":
            out.append("\\r")
        elif c == "\n":
            out.append("\\n")
        elif c == "\t":
            out.append("\\t")
        elif ord(c) < 0x20:
            out.append(f"\\u{ord(c):04x}")
        else:
            out.append(c)
    return 'u"' + "".join(out) + '"'


def main():
    review = "--review" in sys.argv[1:]
    literals = shown_literals()
    characters = sorted({c for text in literals for c in text if is_han(c)})
    entries = sorted(set(literals) | set(characters), key=lambda t: t.encode("utf-16-be"))
    rules = read_corrections()
    converted = convert(entries, rules)
    table = list(zip(entries, converted))
    problems = [f"{s!r} becomes {t!r}, of another length; add a correction that keeps it"
                for s, t in table if utf16_units(s) != utf16_units(t)]
    problems += [f"correction {s} changes nothing" for s in useless_rules(entries, rules, converted)]
    if problems:
        sys.exit("\n".join(problems))

    version = opencc_version()
    header = (f"Generated by tools/traditional/make_table.py from the program's literals with "
              f"OpenCC {version} ({OPENCC_CONFIG}) and tools/traditional/corrections.tsv. "
              "Do not edit.")
    with TABLE_TSV.open("w", encoding="utf-8") as f:
        f.write("# " + header + "\n")
        f.write("# simplified\ttraditional\tfirst source\n")
        for simplified, traditional in table:
            source = literals.get(simplified, "(character)")
            f.write(f"{tsv_escape(simplified)}\t{tsv_escape(traditional)}\t{source}\n")
    with TABLE_INC.open("w", encoding="utf-8") as f:
        f.write("// " + header + "\n")
        f.write("// Sorted by UTF-16 code units.\n// clang-format off\n")
        f.write("constexpr ScriptPair kTraditionalForms[] = {\n")
        for simplified, traditional in table:
            f.write(f"    {{{cpp_literal(simplified)}, {cpp_literal(traditional)}}},\n")
        f.write("};\n// clang-format on\n")
    changed = sum(1 for s, t in table if s != t)
    print(f"{len(table)} entries ({len(literals)} literals, {len(characters)} characters), "
          f"{changed} differ from their Simplified form; {len(rules)} corrections")

    if review:
        candidates = character_candidates()
        chosen = dict(table)
        for c in characters:
            if len(candidates.get(c, [])) > 1:
                holders = [s for s in literals if c in s]
                shown = ", ".join(f"{tsv_escape(s)}→{tsv_escape(chosen[s])}" for s in holders[:12])
                print(f"{c} → {chosen[c]}  (OpenCC offers {' '.join(candidates[c])}): {shown}")


if __name__ == "__main__":
    main()
