#!/usr/bin/env python3
"""Runs the built program on every tests/e2e/cases/NAME.in as its whole stdin,
in a fresh directory, and compares stdout with NAME.out byte for byte. Optional
NAME.output.txt / NAME.output_reverce.txt hold the expected result files (a
result file with no expectation must not exist); NAME.err the expected stderr.
The exit status must be 0.

usage: run_cases.py BINARY CASES_DIR [--wrapper COMMAND]
  --wrapper runs the binary through COMMAND (wine, for a Windows build)."""
import difflib
import pathlib
import subprocess
import sys
import tempfile

from report import report

RESULT_FILES = ("output.txt", "output_reverce.txt")


def diff(expected, got):
    lines = difflib.unified_diff(
        expected.decode("utf-8", "backslashreplace").splitlines(keepends=True),
        got.decode("utf-8", "backslashreplace").splitlines(keepends=True),
        "expected", "got", lineterm="")
    # repr shows tabs and line ends, which is where transcripts usually differ.
    return "\n".join(repr(line)[1:-1] for line in lines)


def run_case(command, case):
    failures = []
    with tempfile.TemporaryDirectory() as work:
        proc = subprocess.run(command, stdin=case.open("rb"), capture_output=True,
                              cwd=work, timeout=60)
        expected_out = case.with_suffix(".out").read_bytes()
        if proc.stdout != expected_out:
            failures.append("stdout differs:\n" + diff(expected_out, proc.stdout))
        err_file = case.with_suffix(".err")
        expected_err = err_file.read_bytes() if err_file.exists() else b""
        if proc.stderr != expected_err:
            failures.append(f"stderr: expected {expected_err!r}, got {proc.stderr!r}")
        if proc.returncode != 0:
            failures.append(f"exit status {proc.returncode}")
        for name in RESULT_FILES:
            expected = case.parent / f"{case.stem}.{name}"
            got = pathlib.Path(work) / name
            if expected.exists() != got.exists():
                failures.append(f"{name}: expected to exist: {expected.exists()}")
            elif expected.exists() and expected.read_bytes() != got.read_bytes():
                failures.append(f"{name} differs:\n" + diff(expected.read_bytes(), got.read_bytes()))
    return failures


def main():
    binary, cases_dir = str(pathlib.Path(sys.argv[1]).resolve()), pathlib.Path(sys.argv[2])
    command = [binary]
    if "--wrapper" in sys.argv[3:]:
        command.insert(0, sys.argv[sys.argv.index("--wrapper") + 1])
    cases = sorted(cases_dir.glob("*.in"))
    if not cases:
        print("no cases found", file=sys.stderr)
        return 1
    return report([(case.stem, run_case(command, case)) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
