#!/usr/bin/env python3
"""Types a whole session into the program under a pseudo-terminal, the way a
person does: one answer at a time, each only after the whole expected screen
(prompt included) has appeared. A prompt that stays in the program's buffer
while it waits makes the screen fall short and the test fail on a timeout.

usage: run_terminal.py path/to/subscribers
"""
import difflib
import os
import pathlib
import pty
import select
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from dialogue_texts import (ALGORITHMS, ADD_PROMPTS, CRITERIA, DONE, HEADER,  # noqa: E402
                            INVALID, MENU, NOT_INT, QUERY)

RECORDS = [
    ["30", "Сидоров", "Центральный", "Ленина_1", "5551234", "1500", "300", "1 2 2010", "3 4 2011"],
    ["10", "Иванов", "Северный", "Мира_5", "5559876", "1000", "250", "31 12 2009", "1 1 2012"],
    ["20", "Петров", "Центральный", "Садовая_9", "5550000", "-1", "0", "5 3 2010", "3 4 2011"],
    ["40", "Алексеев", "Центральный", "Гагарина_2", "5551111", "900", "200", "5 3 2010", "7 7 2012"],
]


def line(fields):
    d1, d2 = (".".join(f.split()) for f in fields[7:9])
    return "\t".join(fields[:7]) + "\t\t" + d1 + "\t\t" + d2 + "\n"


class Terminal:
    def __init__(self, binary, cwd):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(cwd)
            os.execv(binary, [binary])
        self.raw = b""
        self.expected = ""

    def screen(self):
        # The terminal echoes what is typed and shows line ends as \r\n.
        return self.raw.decode("utf-8", "replace").replace("\r\n", "\n")

    def read_for(self, seconds):
        ready, _, _ = select.select([self.fd], [], [], seconds)
        if ready:
            try:
                data = os.read(self.fd, 65536)
            except OSError:  # the program has ended and the terminal closed
                data = b""
            self.raw += data
            return bool(data)
        return True

    def expect(self, text, timeout=10.0):
        """Waits until the screen shows exactly everything expected so far."""
        self.expected += text
        deadline = time.monotonic() + timeout
        while self.screen() != self.expected:
            if time.monotonic() > deadline or not self.read_for(0.05):
                diff = difflib.unified_diff(self.expected.splitlines(True),
                                            self.screen().splitlines(True), "expected", "screen")
                raise AssertionError("the screen does not show what the program should have "
                                     "written before waiting:\n" + "".join(map(repr, diff)))

    def type(self, answer, end="\n"):
        os.write(self.fd, (answer + end).encode())
        self.expected += answer + end.replace("\x04", "")  # echoed, Ctrl-D is not

    def finish(self, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                while self.read_for(0.05) and select.select([self.fd], [], [], 0)[0]:
                    pass
                return os.waitstatus_to_exitcode(status)
            self.read_for(0.05)
        raise AssertionError("the program did not end")


def check_files(work, forward, reversed_):
    for name, want in (("output.txt", forward), ("output_reverce.txt", reversed_)):
        got = (pathlib.Path(work) / name).read_text(encoding="utf-8")
        if got != want:
            raise AssertionError(f"{name} holds {got!r}, expected {want!r}")


def session(t, work):
    t.expect(MENU)
    for fields in RECORDS:
        t.type("1")
        for prompt, answer in zip(ADD_PROMPTS, fields):
            if prompt == ADD_PROMPTS[4] and fields is RECORDS[0]:
                # A bad number first: the request for an integer must show.
                t.expect(prompt)
                t.type("abc")
                t.expect(NOT_INT)
            else:
                t.expect(prompt)
            if " " in answer:  # a date typed one part per line
                parts = answer.split()
                t.type(parts[0])
                t.type(parts[1])
                t.type(parts[2])
            else:
                t.type(answer)
        t.expect(DONE + MENU)
    # An invalid choice.
    t.type("7")
    t.expect(INVALID + MENU)
    # Sequential search by district: three records, in list order.
    t.type("5")
    t.expect(CRITERIA)
    t.type("2")
    t.expect(ALGORITHMS)
    t.type("1")
    t.expect(QUERY)
    t.type("Центральный")
    t.expect("Готово!" + MENU)
    check_files(work,
                HEADER + line(RECORDS[0]) + HEADER + line(RECORDS[2]) + HEADER + line(RECORDS[3]),
                HEADER + line(RECORDS[3]) + HEADER + line(RECORDS[2]) + HEADER + line(RECORDS[0]))
    # Binary search by surname: sorts the list, finds one.
    t.type("5")
    t.expect(CRITERIA)
    t.type("1")
    t.expect(ALGORITHMS)
    t.type("2")
    t.expect(QUERY)
    t.type("Петров")
    t.expect("Готово!" + MENU)
    check_files(work, HEADER + line(RECORDS[2]), HEADER + line(RECORDS[2]))
    t.type("2")
    by_surname = sorted(RECORDS, key=lambda f: f[1].encode())
    t.expect(HEADER + "".join(line(f) for f in by_surname) + MENU)
    # A search that finds nothing, with a date typed over three lines.
    t.type("5")
    t.expect(CRITERIA)
    t.type("3")
    t.expect(ALGORITHMS)
    t.type("1")
    t.expect(QUERY)
    t.type("1")
    t.type("1")
    t.type("1900")
    t.expect("Ничего не найдено!" + MENU)
    t.type("0")


# A word then Ctrl-D twice: the first sends the word, the second is the end
# of input, and the run ends at once, as through a pipe. Rows: the answers
# before the word, the word, and what the program writes after it.
END_OF_INPUT = [
    ("at an add prompt", [(MENU, "1"), (ADD_PROMPTS[0], "10"), (ADD_PROMPTS[1], None)],
     "Иванов", ADD_PROMPTS[2]),
    ("at a search query", [(MENU, "5"), (CRITERIA, "1"), (ALGORITHMS, "1"), (QUERY, None)],
     "Иванов", "Ничего не найдено!" + MENU),
]


def ended_at(rows):
    def run(t, work):
        for screen, answer in rows[1]:
            t.expect(screen)
            if answer is not None:
                t.type(answer)
        t.type(rows[2], "\x04\x04")
        t.expected += rows[3]
    return run


def main():
    binary = str(pathlib.Path(sys.argv[1]).resolve())
    failed = [run_one(binary, "whole session", session)]
    failed += [run_one(binary, row[0], ended_at(row)) for row in END_OF_INPUT]
    return 1 if any(failed) else 0


def run_one(binary, name, script):
    with tempfile.TemporaryDirectory() as work:
        t = Terminal(binary, work)
        try:
            script(t, work)
            status = t.finish()
        except AssertionError as error:
            os.kill(t.pid, 9)
            print(f"terminal, {name}: {error}")
            return True
        problems = []
        if status != 0:
            problems.append(f"exit status {status}")
        if t.screen() != t.expected:
            problems.append("output after 0: " + repr(t.screen()[len(t.expected):]))
        for p in problems:
            print(p)
        print(f"terminal, {name}:", "FAILED" if problems else "ok")
        return bool(problems)


if __name__ == "__main__":
    sys.exit(main())
