#!/usr/bin/env python3
"""The files an installed copy carries besides the programs, as the build made them.

- Every gzipped file (man pages, changelog) has no time stamp in its gzip
  header, so every build makes the same bytes; every man page renders without
  groff warnings.
- The man page of xuanshu-cli has an entry for every command of its usage
  text, writes every option with roff minus signs, and shows every indented
  line of the usage text (spacing aside).
- The AppStream metadata is well-formed, its id is its file name, it launches
  the desktop entry, its release is the man page's version, and
  `appstreamcli validate` passes (when installed).
- The desktop entry passes `desktop-file-validate` (when installed).

Usage: package_files_test.py XUANSHU_CLI PACKAGING_BUILD_DIR DESKTOP_FILE
"""
import glob
import gzip
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

# Line-fill messages of groff: the usage text has long unbreakable words.
HARMLESS_GROFF = re.compile(r"cannot adjust line|can't break line")


def usage_of(cli):
    return subprocess.run([cli, "--help"], check=True, capture_output=True, text=True).stdout


def render(roff):
    """Plain UTF-8 text; lines so long that nothing is broken or hyphenated."""
    result = subprocess.run(["groff", "-k", "-man", "-Tutf8", "-ww", "-rLL=2000n", "-P", "-cbou"],
                            input=roff.encode("utf-8"), capture_output=True, check=True)
    warnings = [w for w in result.stderr.decode().splitlines() if not HARMLESS_GROFF.search(w)]
    return result.stdout.decode("utf-8"), warnings


def check_gzipped(path):
    with open(path, "rb") as raw:
        header = raw.read(10)
    if header[:2] != b"\x1f\x8b" or header[4:8] != b"\0\0\0\0":
        return ["%s: not gzipped, or its gzip header carries a time stamp" % path]
    if not path.endswith(".1.gz") or not shutil.which("groff"):
        return []
    _, warnings = render(gzip.open(path, "rt", encoding="utf-8").read())
    return ["%s: groff: %s" % (path, w) for w in warnings]


def check_cli_man_page(cli, path):
    failures = []
    roff = gzip.open(path, "rt", encoding="utf-8").read()
    text = roff.replace("\\-", "-")
    usage = usage_of(cli)
    for section in ("NAME", "SYNOPSIS", "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS",
                    "FILES"):
        if "\n.SH %s\n" % section not in roff:
            failures.append("man page: no section " + section)
    for command in sorted(set(re.findall(r"^  xuanshu-cli (\w+)", usage, re.M))):
        if "\n\\fB%s\\fR\n" % command not in text:
            failures.append("man page: command %s has no entry" % command)
    for option in sorted(set(re.findall(r"--[a-z][a-z-]*", usage))):
        if option.replace("-", "\\-") not in roff:
            failures.append("man page: option %s is missing or not written with \\-" % option)
    if shutil.which("groff"):
        flat = " ".join(render(roff)[0].split())
        for line in usage.splitlines():
            if line.startswith(" ") and " ".join(line.split()) not in flat:
                failures.append("man page: usage line not shown: " + line.strip())
    return failures, re.search(r'^\.TH \S+ 1 "" "xuanshu (\S+)"', roff, re.M)


def check_metainfo(path, desktop_file, version):
    failures = []
    component = ElementTree.parse(path).getroot()
    component_id = component.findtext("id")
    if os.path.basename(path) != "%s.metainfo.xml" % component_id:
        failures.append("metainfo: id %s is not its file name" % component_id)
    if component.findtext("launchable[@type='desktop-id']") != os.path.basename(desktop_file):
        failures.append("metainfo: does not launch " + os.path.basename(desktop_file))
    release = component.find("releases/release")
    if release is None or release.get("version") != version:
        failures.append("metainfo: release is not version %s" % version)
    if shutil.which("appstreamcli"):
        result = subprocess.run(["appstreamcli", "validate", "--no-net", path],
                                capture_output=True, text=True)
        if result.returncode != 0:
            failures.append("metainfo: appstreamcli validate:\n" + result.stdout + result.stderr)
    return failures


def check_desktop_file(path):
    if not shutil.which("desktop-file-validate"):
        return []
    result = subprocess.run(["desktop-file-validate", path], capture_output=True, text=True)
    output = (result.stdout + result.stderr).strip()
    return ["desktop entry: " + output] if result.returncode != 0 or output else []


def main():
    cli, build_dir, desktop_file = sys.argv[1:]
    failures = []
    for path in sorted(glob.glob(os.path.join(build_dir, "*.gz"))):
        failures += check_gzipped(path)
    cli_failures, version = check_cli_man_page(cli, os.path.join(build_dir, "xuanshu-cli.1.gz"))
    failures += cli_failures
    if not version:
        failures.append("man page: .TH names no version")
    metainfo = glob.glob(os.path.join(build_dir, "*.metainfo.xml"))
    if len(metainfo) != 1:
        failures.append("metainfo: %d files instead of one" % len(metainfo))
    else:
        failures += check_metainfo(metainfo[0], desktop_file, version[1] if version else None)
    failures += check_desktop_file(desktop_file)
    for failure in failures:
        print("FAIL", failure)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
