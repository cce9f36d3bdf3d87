#!/usr/bin/env python3
"""Writes the man page of xuanshu-cli, gzipped, from its usage text.

    make_man_page.py XUANSHU_CLI VERSION OUT.1.gz

The usage text (`xuanshu-cli --help`) is read as blocks separated by blank
lines. A block whose first line is not indented starts a section: "Usage:"
becomes SYNOPSIS, "Title (note):" becomes TITLE with the note as its first
paragraph, "Title: text" becomes TITLE with that text. An indented block
without such a line is COMMANDS, or OPTIONS when its first entry starts with
"-". In a block, a line indented by two spaces that holds a gap of two or more
spaces is an entry (term, gap, description); a deeper line continues the
entry above; any other two-space line is a paragraph of its own. NAME,
DESCRIPTION and FILES are written here, since the usage text has no room for
them. The output is the same on every run (no date, gzip without a time).
"""

import gzip
import re
import subprocess
import sys

NAME = "xuanshu\\-cli \\- cast BaZi (Four Pillars) charts and print their reports"

DESCRIPTION = [
    "xuanshu-cli is the command-line program of 玄枢八字排盘 (the desktop program is "
    "xuanshu). It computes the same charts and reports: it casts a chart from a name, sex "
    "and moment of birth (公历 or 农历), saves it as a record file, and prints the report of "
    "a saved record in one of three layouts. Output is UTF-8.",
]

FILES = [
    ("DIR/data/NAME.bze", "the record of one chart; DIR is the program folder (--home)."),
    ("DIR/Config.ini", "the settings shared with the desktop program."),
    (
        "$XDG_DATA_HOME/xuanshu, ~/.local/share/xuanshu",
        "the program folder of an installed program: used when the folder of the program file "
        "cannot be written or lies under /usr.",
    ),
]

ENTRY = re.compile(r"^  (\S.*?)  +(\S.*)$")
HEADING = re.compile(r"^(\S[^:(]*?)(?: \((.*)\))?:(?: (.*))?$")


def escape(text):
    """Roff text: backslashes and hyphens escaped, no control character at line start."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text.startswith((".", "'")) else text


def sentence(text):
    return text[:1].upper() + text[1:] + ("" if text.endswith(".") else ".")


def term(text):
    """The first word in bold, the rest (its arguments) in italics."""
    word, _, rest = text.partition(" ")
    out = "\\fB" + escape(word) + "\\fR"
    return out + (" \\fI" + escape(rest) + "\\fR" if rest else "")


def entries(lines):
    """Yields ("entry", term, description) and ("text", paragraph) items of a block."""
    current = None
    for line in lines:
        indent = len(line) - len(line.lstrip(" "))
        match = ENTRY.match(line)
        if indent > 2 and current is not None:
            current[-1] += " " + line.strip()
            continue
        if current is not None:
            yield tuple(current)
        current = ["entry", match[1], match[2]] if match else ["text", line.strip()]
    if current is not None:
        yield tuple(current)


def synopsis(lines):
    out = [".SH SYNOPSIS", ".nf"]
    out += [escape(line[2:]) if line.startswith("  ") else escape(line) for line in lines]
    return out + [".fi"]


def section(title, lines):
    out = [".SH " + escape(title.upper())]
    for item in entries(lines):
        if item[0] == "entry":
            out += [".TP", term(item[1]), escape(item[2])]
        else:
            out += [".PP", escape(item[1])]
    return out


def block_to_roff(block):
    heading = HEADING.match(block[0])
    if heading and heading[1] == "Usage":
        return synopsis(block[1:])
    if heading:
        title, note, text = heading.groups()
        first = [line for line in (note, text) if line]
        out = section(title, block[1:])
        return out[:1] + [".PP", escape(sentence(first[0]))] * bool(first) + out[1:]
    title = "Options" if block[0].lstrip().startswith("-") else "Commands"
    return section(title, block)


def blocks(text):
    current = []
    for line in text.splitlines():
        if line.strip():
            current.append(line.rstrip())
        elif current:
            yield current
            current = []
    if current:
        yield current


def man_page(usage, version):
    out = ['.TH XUANSHU\\-CLI 1 "" "xuanshu %s" "User Commands"' % version]
    out += [".SH NAME", NAME]
    sections = [block_to_roff(block) for block in blocks(usage)]
    out += sections[0]  # the synopsis
    out += [".SH DESCRIPTION"] + [line for text in DESCRIPTION for line in (".PP", escape(text))]
    for lines in sections[1:]:
        out += lines
    out += [".SH FILES"]
    for name, text in FILES:
        out += [".TP", "\\fI" + escape(name) + "\\fR", escape(text)]
    out += [".SH SEE ALSO", ".BR xuanshu (1)"]
    return "\n".join(out) + "\n"


def main():
    cli, version, target = sys.argv[1:]
    usage = subprocess.run([cli, "--help"], check=True, capture_output=True, text=True).stdout
    if not usage.startswith("Usage:"):
        sys.exit("make_man_page.py: %s --help printed no usage text" % cli)
    page = man_page(usage, version).encode("utf-8")
    with open(target, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, mtime=0) as out:
        out.write(page)


if __name__ == "__main__":
    main()
