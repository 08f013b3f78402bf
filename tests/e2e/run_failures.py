#!/usr/bin/env python3
"""Runs the built program where the system fails it and checks that each
failure reaches the user: exit status 1, the exact standard-error line, what
reached standard output, and the result files. Each case runs in a fresh
directory.

usage: run_failures.py BINARY [--no-memory-limit]
(--no-memory-limit skips the address-space case, which sanitizers break.)"""
import os
import pathlib
import resource
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from dialogue_texts import ADD_PROMPTS, ALGORITHMS, CRITERIA, DONE, HEADER, MENU, QUERY  # noqa: E402
from report import report  # noqa: E402

ADD = "1 1 Иванов Центр A 1 2 3 4 5 2006 7 8 2009\n"
LINE = "1\tИванов\tЦентр\tA\t1\t2\t3\t\t4.5.2006\t\t7.8.2009\n"
ADDED = MENU + "".join(ADD_PROMPTS) + DONE + MENU
SEARCH = "5 1 1 Иванов\n"
SEARCH_OPENING = CRITERIA + ALGORITHMS + QUERY


def memory_limit():
    limit = 400 * 1024 * 1024
    resource.setrlimit(resource.RLIMIT_AS, (limit, limit))


def run(binary, work, case):
    """Runs one case; returns (status, stdout text or None, stderr text)."""
    stdin = case.get("stdin")
    if stdin is None:
        script = work / "script"
        with open(script, "wb") as f:
            for chunk in case["script"]:
                f.write(chunk)
        stdin = open(script, "rb")
    else:
        stdin = open(stdin, "rb") if not os.path.isdir(stdin) else os.open(stdin, os.O_RDONLY)
    stdout = open(case["stdout"], "wb") if "stdout" in case else subprocess.PIPE
    proc = subprocess.Popen([binary], stdin=stdin, stdout=stdout, stderr=subprocess.PIPE,
                            cwd=work, preexec_fn=case.get("preexec"))
    out, err = proc.communicate(timeout=60)
    return proc.returncode, out.decode() if out is not None else None, err.decode()


def huge_word():
    """A 300 MB surname, far more than the address space left for it."""
    yield "1 5 ".encode()
    block = b"a" * (1 << 20)
    for _ in range(300):
        yield block
    yield b" x\n0\n"


CASES = [
    {"name": "standard output on a full device; later result files still written",
     "script": [(ADD + SEARCH + "0\n").encode()], "stdout": "/dev/full",
     "err": "Не удалось записать стандартный вывод: No space left on device\n",
     "files": {"output.txt": HEADER + LINE, "output_reverce.txt": HEADER + LINE}},
    {"name": "standard input is a directory", "stdin": "/",
     "out": MENU, "err": "Не удалось прочитать стандартный ввод: Is a directory\n", "files": {}},
    {"name": "memory runs out inside a word", "script": huge_word(), "preexec": memory_limit,
     "memory": True,
     "out": MENU + ADD_PROMPTS[0] + ADD_PROMPTS[1], "err": "Недостаточно памяти\n", "files": {}},
    {"name": "a directory named output.txt", "setup": lambda w: (w / "output.txt").mkdir(),
     "script": [(ADD + SEARCH + "2\n0\n").encode()],
     "out": ADDED + SEARCH_OPENING + MENU + HEADER + LINE + MENU,
     "err": "Не удалось записать файл output.txt: Is a directory\n",
     "files": {"output_reverce.txt": HEADER + LINE}},
]


def check(binary, case):
    with tempfile.TemporaryDirectory() as tmp:
        work = pathlib.Path(tmp)
        if "setup" in case:
            case["setup"](work)
        status, out, err = run(binary, work, case)
        failures = []
        if status != 1:
            failures.append(f"exit status {status}, expected 1")
        if err != case["err"]:
            failures.append(f"stderr {err!r}, expected {case['err']!r}")
        if "out" in case and out != case["out"]:
            failures.append(f"stdout {out!r},\n      expected {case['out']!r}")
        for name in ("output.txt", "output_reverce.txt"):
            path = work / name
            expected = case["files"].get(name)
            got = path.read_text() if path.is_file() else None
            if got != expected:
                failures.append(f"{name}: {got!r}, expected {expected!r}")
        return failures


def check_fifo(binary):
    """A FIFO named output.txt that nobody reads: the open waits, and the
    whole dialogue up to that point must already be on the screen."""
    with tempfile.TemporaryDirectory() as tmp:
        work = pathlib.Path(tmp)
        os.mkfifo(work / "output.txt")
        screen = work / "screen"
        with open(screen, "wb") as out:
            proc = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=out, cwd=work)
            proc.stdin.write((ADD + SEARCH).encode())
            proc.stdin.flush()
            expected = ADDED + SEARCH_OPENING
            deadline = time.monotonic() + 10
            while screen.read_text() != expected and time.monotonic() < deadline:
                time.sleep(0.05)
            shown = screen.read_text()
            still_waiting = proc.poll() is None
            proc.kill()
            proc.wait()
        failures = []
        if shown != expected:
            failures.append(f"screen {shown!r},\n      expected {expected!r}")
        if not still_waiting:
            failures.append("the program did not wait at the FIFO")
        return failures


def main():
    binary = str(pathlib.Path(sys.argv[1]).resolve())
    skip_memory = "--no-memory-limit" in sys.argv[2:]
    results = []
    for case in CASES:
        if case.get("memory") and skip_memory:
            print(f"skip {case['name']}")
            continue
        results.append((case["name"], check(binary, case)))
    results.append(("a FIFO named output.txt", check_fifo(binary)))
    return report(results)


if __name__ == "__main__":
    sys.exit(main())
