#!/usr/bin/env python3
"""Crash consistency of record saves.

Kills `xuanshu-cli batch` and `xuanshu-cli chart` with SIGKILL at random
moments while they replace records (KILLS times, by default 100, counting
only kills of a running program), and checks after
every kill that each record is whole: byte for byte either the old or the
new record of its name. Temporaries that a killed run leaves behind are
removed by the next run once they are stale (older than a minute), which the
test brings about by dating them back.

Usage: crash_consistency.py PATH_TO_XUANSHU_CLI [KILLS]
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

NAMES = ["例%d" % i for i in range(24)]
DATES = ["1990-05-17", "1985-11-02"]  # one birth date per version of the records


def batch_input(version, names=NAMES):
    lines = []
    for i, name in enumerate(names):
        lines.append("%s\t男\t公历\t%s\t%02d:%02d\t0\t组%d" % (name, DATES[version], i % 24, i * 7 % 60, version))
    return ("\n".join(lines) + "\n").encode("utf-8")


def chart_args(cli, home, name, version):
    i = NAMES.index(name)
    return [cli, "chart", "--name", name, "--sex", "男", "--calendar", "公历", "--date", DATES[version],
            "--time", "%02d:%02d" % (i % 24, i * 7 % 60), "--group", "组%d" % version, "--home", home]


def run_batch(cli, home, version):
    subprocess.run([cli, "batch", "--home", home], input=batch_input(version), check=True,
                   stdout=subprocess.DEVNULL)


def data_files(home):
    data = os.path.join(home, "data")
    return sorted(os.listdir(data)) if os.path.isdir(data) else []


def is_temporary(name):
    return name.startswith(".") and ".tmp-" in name and not name.endswith(".bze")


def records_of(cli, version):
    home = tempfile.mkdtemp(prefix="xuanshu-crash-ref-")
    try:
        run_batch(cli, home, version)
        records = {}
        for name in NAMES:
            with open(os.path.join(home, "data", name + ".bze"), "rb") as f:
                records[name] = f.read()
        return records
    finally:
        shutil.rmtree(home, ignore_errors=True)


def age_temporaries(home):
    stale = time.time() - 120
    temporaries = [f for f in data_files(home) if is_temporary(f)]
    for f in temporaries:
        os.utime(os.path.join(home, "data", f), (stale, stale))
    return len(temporaries)


def main():
    cli = sys.argv[1]
    kills = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    rng = random.Random(int(os.environ.get("XUANSHU_CRASH_SEED", "11")))
    versions = [records_of(cli, 0), records_of(cli, 1)]
    assert all(versions[0][n] != versions[1][n] for n in NAMES)

    home = tempfile.mkdtemp(prefix="xuanshu-crash-")
    try:
        return check_kills(cli, home, kills, rng, versions)
    finally:
        shutil.rmtree(home, ignore_errors=True)


def check_kills(cli, home, kills, rng, versions):
    run_batch(cli, home, 0)
    started = time.monotonic()
    run_batch(cli, home, 1)
    batch_seconds = time.monotonic() - started
    started = time.monotonic()
    subprocess.run(chart_args(cli, home, NAMES[0], 1), check=True, stdout=subprocess.DEVNULL)
    chart_seconds = time.monotonic() - started

    failures = []
    killed_while_running = 0
    left_behind = 0
    k = 0
    while killed_while_running < kills and k < 3 * kills:
        k += 1
        version = rng.randrange(2)
        if rng.random() < 0.7:
            process = subprocess.Popen([cli, "batch", "--home", home], stdin=subprocess.PIPE,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            process.stdin.write(batch_input(version))
            process.stdin.close()
            delay = rng.uniform(0, batch_seconds * 0.9)
        else:
            process = subprocess.Popen(chart_args(cli, home, rng.choice(NAMES), version),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            delay = rng.uniform(0, chart_seconds * 0.9)
        time.sleep(delay)
        process.kill()
        if process.wait() == -9:
            killed_while_running += 1

        files = data_files(home)
        records = [f for f in files if not is_temporary(f)]
        if records != sorted(n + ".bze" for n in NAMES):
            failures.append("kill %d: records %s" % (k, records))
        for name in NAMES:
            with open(os.path.join(home, "data", name + ".bze"), "rb") as f:
                if f.read() not in (versions[0][name], versions[1][name]):
                    failures.append("kill %d: %s is neither the old nor the new record" % (k, name))
        if k % 10 == 0:
            # The next complete run removes every stale temporary.
            left_behind += age_temporaries(home)
            subprocess.run(chart_args(cli, home, NAMES[0], 0), check=True, stdout=subprocess.DEVNULL)
            remaining = [f for f in data_files(home) if is_temporary(f)]
            if remaining:
                failures.append("kill %d: temporaries survive the next run: %s" % (k, remaining))

    left_behind += age_temporaries(home)
    run_batch(cli, home, 1)
    remaining = [f for f in data_files(home) if is_temporary(f)]
    if remaining:
        failures.append("temporaries survive the last run: %s" % remaining)
    listed = subprocess.run([cli, "list", "--home", home], check=True, capture_output=True).stdout.decode()
    if sum(1 for line in listed.splitlines() if line.startswith("  ")) != len(NAMES):
        failures.append("list shows:\n" + listed)

    print("%d runs killed while replacing records (%d kills in all), %d temporaries left by"
          " killed runs and removed by the next run" % (killed_while_running, k, left_behind))
    for failure in failures[:20]:
        print("FAILED:", failure)
    return 1 if failures or killed_while_running < kills else 0


if __name__ == "__main__":
    sys.exit(main())
