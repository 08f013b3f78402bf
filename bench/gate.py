#!/usr/bin/env python3
"""The cost gate: what a change costs, caught before it lands.

Counts the instructions of fixed sessions at N = 10^5 under valgrind's
cachegrind (the same count for the same binary and input, whatever else the
machine does) and takes the peak RSS of the same sessions at N = 10^6, then
compares every figure with the committed baseline (bench/baseline.json). It
fails when an instruction count grows more than 2 % or a peak more than 3 %,
and when one run takes over two minutes (a session gone quadratic).
A baseline taken with another compiler, C library or valgrind is not
compared: the gate says so and prints the figures.

usage: gate.py --binary build/subscribers [--update] [--baseline FILE]
"""
import argparse
import json
import os
import pathlib
import platform
import re
import shutil
import subprocess
import sys
import tempfile

import run

HERE = pathlib.Path(__file__).resolve().parent
SMALL, LARGE = 100_000, 1_000_000
LIMITS = {"instructions": 0.02, "peak RSS KiB": 0.03}
# Seconds one run may take (10 to 20 under valgrind, 1 to 3 natively): a
# change that makes a session quadratic fails here instead of hanging CI.
TIME_LIMIT = 120


def scripts(work, n):
    """Every fixed session of N records, by name."""
    run.adds_of(work, n)  # writes the bench session
    named = {"session": work / f"session-{n}.txt",
             "sort heavy": run.sort_heavy_script(work, n),
             "distinct keys": run.distinct_keys_script(work, n),
             "spaced numbers": run.spaced_numbers_script(work, n)}
    named.update({name: script for name, (script, _) in run.remove_scripts(work, n).items()})
    return named


def instructions(binary, script, scratch):
    with open(script, "rb") as stdin:
        try:
            done = subprocess.run(["valgrind", "--tool=cachegrind", "--cache-sim=no",
                                   "--cachegrind-out-file=/dev/null", binary],
                                  stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                  cwd=scratch, check=False, timeout=TIME_LIMIT)
        except subprocess.TimeoutExpired:
            raise SystemExit(f"{script.name}: over {TIME_LIMIT} s under valgrind") from None
    found = re.search(rb"I\s+refs:\s+([\d,]+)", done.stderr)
    if done.returncode != 0 or not found:
        raise SystemExit(f"{script.name}: no count from valgrind (status {done.returncode}):\n"
                         + done.stderr.decode(errors="replace"))
    return int(found.group(1).replace(b",", b""))


def peak_rss(binary, script, scratch):
    # GNU time reports the larger peak of timeout(1) and the program it ran.
    _, _, rss, status, _ = run.timed(["timeout", str(TIME_LIMIT), binary], script, scratch)
    if status == 124:
        raise SystemExit(f"{script.name}: over {TIME_LIMIT} s")
    if status != 0:
        raise SystemExit(f"{script.name}: status {status}")
    return rss


def toolchain(binary):
    """What the figures depend on besides the code: compiler, C library, valgrind."""
    comment = subprocess.run(["readelf", "-p", ".comment", binary], capture_output=True,
                             text=True, check=False).stdout
    compilers = sorted(set(re.findall(r"(GCC: .*|clang version .*)", comment)))
    valgrind = subprocess.run(["valgrind", "--version"], capture_output=True, text=True,
                              check=False).stdout.strip()
    libc = " ".join(platform.libc_ver())
    return {"compiler": "; ".join(c.strip() for c in compilers) or "unknown",
            "C library": libc, "valgrind": valgrind, "machine": platform.machine()}


def measure(binary, work):
    scratch = work / "scratch"
    scratch.mkdir(exist_ok=True)
    figures = {}
    for name, script in scripts(work, SMALL).items():
        figures[f"instructions N={SMALL} {name}"] = instructions(binary, script, scratch)
        print(f"  counted {name}", flush=True)
    for name, script in scripts(work, LARGE).items():
        figures[f"peak RSS KiB N={LARGE} {name}"] = peak_rss(binary, script, scratch)
        print(f"  measured {name}", flush=True)
    return figures


def compare(figures, baseline, same_toolchain):
    """Prints every figure beside its baseline; returns the names of those that grew too much."""
    grew = []
    print(f"{'figure':<48} {'baseline':>15} {'now':>15} {'change':>8}")
    for name, now in figures.items():
        then = baseline.get(name)
        limit = next(v for k, v in LIMITS.items() if name.startswith(k))
        change = "" if then is None else f"{(now - then) / then:+.2%}"
        over = then is not None and now > then * (1 + limit)
        if over and same_toolchain:
            grew.append(name)
        mark = "  <- over the limit" if over else ""
        print(f"{name:<48} {then if then is not None else '-':>15} {now:>15} {change:>8}{mark}")
    missing = [name for name in baseline if name not in figures]
    for name in missing:
        print(f"{name:<48} {baseline[name]:>15} {'not measured':>15}")
    return grew + missing if same_toolchain else []


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("usage:")[0].strip(),
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True, help="the program to measure")
    parser.add_argument("--baseline", default=str(HERE / "baseline.json"),
                        help="the figures to compare with (default: bench/baseline.json)")
    parser.add_argument("--update", action="store_true",
                        help="write the figures measured as the new baseline")
    args = parser.parse_args()
    binary = str(pathlib.Path(args.binary).resolve())
    if not os.access(binary, os.X_OK):
        parser.error(f"--binary {args.binary}: no such program")
    # What the comparison needs is checked before minutes of measuring.
    if shutil.which("valgrind") is None:
        parser.error("valgrind is not installed (Debian: apt-get install valgrind)")
    if not args.update:
        try:
            baseline = json.loads(pathlib.Path(args.baseline).read_text(encoding="utf-8"))
            baseline["toolchain"], baseline["figures"]
        except (OSError, ValueError, KeyError, TypeError) as error:
            parser.error(f"--baseline {args.baseline}: not a baseline this gate wrote ({error})")
    base = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    with tempfile.TemporaryDirectory(prefix="subscribers-gate-", dir=base) as tmp:
        figures = measure(binary, pathlib.Path(tmp))
    tools = toolchain(binary)
    if args.update:
        pathlib.Path(args.baseline).write_text(
            json.dumps({"toolchain": tools, "figures": figures}, indent=2,
                       ensure_ascii=False) + "\n", encoding="utf-8")
        compare(figures, {}, True)
        print(f"baseline written: {args.baseline}")
        return 0
    same = baseline["toolchain"] == tools
    if not same:
        print("the baseline was taken with another toolchain; figures are shown, not compared:")
        for key, value in tools.items():
            print(f"  {key}: baseline {baseline['toolchain'].get(key)!r}, here {value!r}")
    grew = compare(figures, baseline["figures"], same)
    if grew:
        print("cost gate: over the limit (instructions +2 %, peak RSS +3 %) or not measured:")
        for name in grew:
            print(f"  {name}")
        return 1
    print("cost gate: " + ("every figure within its limit" if same else "not compared"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
