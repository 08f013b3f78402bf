#!/usr/bin/env python3
"""Types at a Windows build's console under wine, driven from a
pseudo-terminal: a record with a Cyrillic surname, a listing, a search that
writes it to output.txt, then Ctrl-Z and Enter at the start of a line. The
surname must come back on the screen and, byte for byte, in the result
file, and Ctrl-Z must end the run with status 0. Then Ctrl-C at a search's
query: the run is interrupted (status not 0), no result file written.

usage: run_wine_console.py path/to/subscribers.exe [WINE]
"""
import os
import pathlib
import pty
import re
import select
import sys
import tempfile
import time
import tty

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from dialogue_texts import HEADER  # noqa: E402
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "e2e"))
from report import report  # noqa: E402

ESCAPES = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")
RECORD = ["1", "7", "Жуков", "Центр", "Мира_1", "1", "2", "3", "4 5 2006", "7 8 2009"]
LINE = "7\tЖуков\tЦентр\tМира_1\t1\t2\t3\t\t4.5.2006\t\t7.8.2009\n"


class Console:
    def __init__(self, command, cwd):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(cwd)
            # The terminal is set raw here, before wine starts: keys typed
            # ahead must reach it as typed (Enter as \r, not \n), and
            # Ctrl-Z as a key, not as the suspend character.
            tty.setraw(0)
            os.environ["WINEDEBUG"] = "-all"
            os.execvp(command[0], command)
        self.raw = b""

    def screen(self):
        return ESCAPES.sub(b"", self.raw).replace(b"\r", b"").decode("utf-8", "replace")

    def wait_for(self, pattern, timeout):
        deadline = time.monotonic() + timeout
        while not re.search(pattern, self.screen()) and time.monotonic() < deadline:
            ready, _, _ = select.select([self.fd], [], [], 0.2)
            if ready:
                try:
                    self.raw += os.read(self.fd, 65536)
                except OSError:
                    break
        return re.search(pattern, self.screen()) is not None

    def type(self, answer):
        os.write(self.fd, answer.encode() + b"\r")

    def status(self, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                return os.waitstatus_to_exitcode(status)
            time.sleep(0.2)
        os.kill(self.pid, 9)
        os.waitpid(self.pid, 0)
        return None


def main():
    exe = str(pathlib.Path(sys.argv[1]).resolve())
    wine = sys.argv[2] if len(sys.argv) > 2 else "wine"
    failures = []
    with tempfile.TemporaryDirectory() as work:
        console = Console([wine, exe], work)
        # The first start of wine may set its prefix up first.
        if not console.wait_for(r"0\.Выход\.", 120):
            failures.append("no menu: " + repr(console.screen()[-300:]))
        else:
            for answer in RECORD:
                console.type(answer)
            console.type("2")
            if not console.wait_for(r"7\s+Жуков\s+Центр\s+Мира_1", 20):
                failures.append("the listing does not show the surname: " +
                                repr(console.screen()[-400:]))
            console.type("5 1 1 Жуков")
            if not console.wait_for(r"Готово!Меню:", 20):
                failures.append("the search did not finish: " + repr(console.screen()[-300:]))
            console.type("\x1a")
            status = console.status(20)
            if status != 0:
                failures.append(f"Ctrl-Z at the start of a line: status {status}, expected 0")
        result = pathlib.Path(work) / "output.txt"
        got = result.read_bytes() if result.is_file() else None
        if got != (HEADER + LINE).encode():
            failures.append(f"output.txt: {got!r}")
    interrupted = []
    with tempfile.TemporaryDirectory() as work:
        console = Console([wine, exe], work)
        console.wait_for(r"0\.Выход\.", 120)
        console.type("5 1 1")
        console.wait_for(r"Введите запрос:", 20)
        # As a user would, once the program waits: sent the moment the
        # prompt showed, wine sometimes lost it.
        time.sleep(1)
        os.write(console.fd, b"\x03")
        status = console.status(20)
        if status in (0, None) or os.listdir(work):
            interrupted.append(f"status {status}, files {os.listdir(work)}")
    return report([("a Cyrillic surname typed at a wine console", failures),
                   ("Ctrl-C at a wine console", interrupted)])


if __name__ == "__main__":
    sys.exit(main())
