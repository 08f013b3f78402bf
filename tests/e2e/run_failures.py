#!/usr/bin/env python3
"""Runs the built program where the system fails it and checks that each
failure reaches the user: exit status 1, the exact standard-error line (its
reason in Russian, or the system's own text in the C locale), what reached
standard output, and the result files. Each case runs in a fresh directory,
once as it is and once where the locale "Russian" resolves to a KOI8-R
locale built for the purpose: every byte written must stay UTF-8.

Then descriptors that are only not ready: standard input and standard
output as non-blocking pipes, fed and read slowly, must end as a plain run.

usage: run_failures.py BINARY [--no-limits] [--windows WRAPPER]
(--no-limits skips the cases that lower the process's limits, address
space and descriptors, under which sanitizer runtimes report falsely;
--windows runs a Windows build through WRAPPER, wine, on the cases that
make sense there, and accepts Windows' own reasons where they differ.)"""
import os
import pathlib
import resource
import shutil
import subprocess
import sys
import tempfile
import threading
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


def koi8_russian(scratch):
    """A locale folder in which "Russian" (by glibc's alias, ru_RU.KOI8-R)
    exists, or None where it cannot be built here."""
    if not shutil.which("localedef"):
        return None
    folder = scratch / "locales"
    folder.mkdir()
    built = subprocess.run(["localedef", "-i", "ru_RU", "-f", "KOI8-R",
                            str(folder / "ru_RU.KOI8-R")], capture_output=True)
    return folder if built.returncode == 0 else None


def text(data, what, failures):
    """`data` decoded; a failure noted when it is not valid UTF-8."""
    if data is None:
        return None
    try:
        return data.decode()
    except UnicodeDecodeError:
        failures.append(f"{what} is not valid UTF-8: {data!r}")
        return data.decode(errors="replace")


def run(command, work, case, env):
    """Runs one case; returns (status, stdout bytes or None, stderr bytes)."""
    stdin = case.get("stdin")
    if stdin is None:
        script = work / "script"
        with open(script, "wb") as f:
            chunks = case["script"]
            for chunk in chunks() if callable(chunks) else chunks:
                f.write(chunk)
        stdin = open(script, "rb")
    else:
        stdin = open(stdin, "rb") if not os.path.isdir(stdin) else os.open(stdin, os.O_RDONLY)
    stdout = open(case["stdout"], "wb") if "stdout" in case else subprocess.PIPE
    proc = subprocess.Popen(command, stdin=stdin, stdout=stdout, stderr=subprocess.PIPE,
                            cwd=work, preexec_fn=case.get("preexec"), env=env)
    out, err = proc.communicate(timeout=60)
    return proc.returncode, out, err


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
     "err": "Не удалось записать стандартный вывод: На устройстве не осталось места\n",
     "files": {"output.txt": HEADER + LINE, "output_reverce.txt": HEADER + LINE}},
    # Nothing fails before the last flush, at the end of the run.
    {"name": "0 alone with standard output on a full device", "script": [b"0\n"],
     "stdout": "/dev/full",
     "err": "Не удалось записать стандартный вывод: На устройстве не осталось места\n",
     "files": {}},
    {"name": "standard input is a directory", "stdin": "/",
     "out": MENU, "err": "Не удалось прочитать стандартный ввод: Это каталог\n", "files": {}},
    {"name": "memory runs out inside a word", "script": huge_word, "preexec": memory_limit,
     "memory": True,
     "out": MENU + ADD_PROMPTS[0] + ADD_PROMPTS[1], "err": "Недостаточно памяти\n", "files": {}},
    {"name": "a directory named output.txt", "setup": lambda w: (w / "output.txt").mkdir(),
     "script": [(ADD + SEARCH + "2\n0\n").encode()],
     "out": ADDED + SEARCH_OPENING + MENU + HEADER + LINE + MENU,
     "err": "Не удалось записать файл output.txt: Это каталог\n",
     # Windows refuses to open a directory as a file with "access denied".
     "windows": "Не удалось записать файл output.txt: Отказано в доступе\n",
     "files": {"output_reverce.txt": HEADER + LINE}},
    {"name": "both result files directories",
     "setup": lambda w: ((w / "output.txt").mkdir(), (w / "output_reverce.txt").mkdir()),
     "script": [(ADD + SEARCH + "0\n").encode()],
     "out": ADDED + SEARCH_OPENING + MENU,
     "err": "Не удалось записать файл output.txt: Это каталог\n"
            "Не удалось записать файл output_reverce.txt: Это каталог\n",
     "windows": "Не удалось записать файл output.txt: Отказано в доступе\n"
                "Не удалось записать файл output_reverce.txt: Отказано в доступе\n",
     "files": {}},
    {"name": "result files that cannot be created: no such folder, no permission",
     "setup": lambda w: (w.chmod(0o777), (w / "output.txt").symlink_to("missing/output.txt"),
                         (w / "locked").mkdir(mode=0o500),
                         (w / "output_reverce.txt").symlink_to("locked/output_reverce.txt")),
     "script": [(ADD + SEARCH + "0\n").encode()],
     "out": ADDED + SEARCH_OPENING + MENU,
     "err": "Не удалось записать файл output.txt: Нет такого файла или каталога\n"
            "Не удалось записать файл output_reverce.txt: Отказано в доступе\n",
     "files": {}, "unprivileged": True},
    # An error without a text of the program's own: the system's, in the C locale.
    {"name": "an error the program has no text for",
     "setup": lambda w: ((w / "plain").write_text(""),
                         (w / "output.txt").symlink_to("plain/output.txt")),
     "script": [(ADD + SEARCH + "0\n").encode()],
     "out": ADDED + SEARCH_OPENING + MENU,
     "err": "Не удалось записать файл output.txt: Not a directory\n",
     "files": {"output_reverce.txt": HEADER + LINE}},
]


def open_to_all():
    """A folder for the scratch folders of the cases run as nobody, which
    must reach them: the temporary folder when every folder down to it lets
    others pass (TMPDIR may lie in a closed one), else /tmp or /dev/shm."""
    def passable(path):
        path = pathlib.Path(path).resolve()
        return all(p.stat().st_mode & 0o001 for p in (path, *path.parents))
    for candidate in (tempfile.gettempdir(), "/tmp", "/dev/shm"):
        if os.path.isdir(candidate) and passable(candidate):
            return candidate
    raise SystemExit("no temporary folder that user nobody can reach (set TMPDIR)")


def check(command, case, env):
    with tempfile.TemporaryDirectory(dir=case.get("dir")) as tmp:
        work = pathlib.Path(tmp)
        if "setup" in case:
            case["setup"](work)
        status, out, err = run(command, work, case, env)
        failures = []
        out = text(out, "stdout", failures)
        err = text(err, "stderr", failures)
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


def check_closed_pipe(command):
    """Standard output closed by its reader early: told with its reason (on
    Windows; on POSIX systems SIGPIPE ends the run, as it does any program's)."""
    script = "".join(f"1 {n} Иванов Центр A 1 2 3 4 5 2006 7 8 2009\n" for n in range(3000))
    with tempfile.TemporaryDirectory() as tmp:
        (pathlib.Path(tmp) / "script").write_text(script + "2\n" * 20 + "0\n", encoding="utf-8")
        with open(pathlib.Path(tmp) / "script", "rb") as stdin:
            proc = subprocess.Popen(command, stdin=stdin, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, cwd=tmp)
        proc.stdout.read(10)
        proc.stdout.close()
        err = proc.stderr.read().decode(errors="replace")
        status = proc.wait(timeout=60)
    expected = "Не удалось записать стандартный вывод: Канал закрыт читающей стороной\n"
    return [] if (status, err) == (1, expected) else [f"status {status}, stderr {err!r}"]


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


def check_slow_pipes(binary, records=5000):
    """Standard input and output non-blocking pipes, the input fed slowly and
    the output (a long listing) read slowly: the program waits for both, as
    on blocking ones, and ends as a plain run does."""
    script = ("".join(f"1 {n} Иванов Центр A 1 2 3 4 5 2006 7 8 2009\n" for n in range(records)) +
              "2\n" + SEARCH + "0\n").encode()
    with tempfile.TemporaryDirectory() as tmp:
        expected = subprocess.run([binary], input=script, capture_output=True, cwd=tmp).stdout
        in_read, in_write = os.pipe()
        out_read, out_write = os.pipe()
        os.set_blocking(in_read, False)
        os.set_blocking(out_write, False)
        proc = subprocess.Popen([binary], stdin=in_read, stdout=out_write,
                                stderr=subprocess.PIPE, cwd=tmp)
        os.close(in_read)
        os.close(out_write)

        def feed():
            try:
                for at in range(0, len(script), 4096):
                    os.write(in_write, script[at:at + 4096])
                    time.sleep(0.005)
            except BrokenPipeError:
                pass  # the program ended early; the checks below say so
            os.close(in_write)

        feeder = threading.Thread(target=feed)
        feeder.start()
        chunks = []
        while chunk := os.read(out_read, 1 << 14):
            chunks.append(chunk)
            time.sleep(0.001)
        os.close(out_read)
        feeder.join()
        err = proc.stderr.read()
        status = proc.wait(timeout=60)
    out = b"".join(chunks)
    failures = []
    if status != 0:
        failures.append(f"exit status {status}, expected 0")
    if err:
        failures.append(f"stderr {err.decode(errors='replace')!r}")
    if out != expected:
        failures.append(f"stdout: {len(out)} bytes, a plain run gives {len(expected)}")
    return failures


def check_failing_wait(binary):
    """A non-blocking standard input whose wait then fails (poll refuses
    once the descriptor limit is below the one descriptor it watches): the
    run ends with poll's error instead of spinning."""
    with tempfile.TemporaryDirectory() as tmp:
        in_read, in_write = os.pipe()
        os.set_blocking(in_read, False)
        proc = subprocess.Popen([binary], stdin=in_read, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, cwd=tmp)
        os.close(in_read)
        shown = proc.stdout.read(len(MENU.encode()))
        time.sleep(0.2)  # into the wait for input
        resource.prlimit(proc.pid, resource.RLIMIT_NOFILE, (0, 0))
        os.write(in_write, b"2\n")
        failures = []
        try:
            out, err = proc.communicate(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            out, err = proc.communicate()
            failures.append("still running 10 s after the wait failed")
        os.close(in_write)
    expected_err = "Не удалось прочитать стандартный ввод: Invalid argument\n"
    if shown + out != (MENU + HEADER + MENU).encode():
        failures.append(f"stdout {(shown + out).decode(errors='replace')!r}")
    if err.decode(errors="replace") != expected_err or proc.returncode != 1:
        failures.append(f"status {proc.returncode}, stderr {err.decode(errors='replace')!r}")
    return failures


def main():
    binary = str(pathlib.Path(sys.argv[1]).resolve())
    skip_limits = "--no-limits" in sys.argv[2:]
    if "--windows" in sys.argv[2:]:
        return windows_main([sys.argv[sys.argv.index("--windows") + 1], binary])
    results = []
    open_dir = open_to_all() if os.geteuid() == 0 else None
    with tempfile.TemporaryDirectory() as scratch, \
            tempfile.TemporaryDirectory(dir=open_dir) as shared:
        # The cases run as nobody get a copy of the program in a folder open
        # to all: the build may sit under one that only its owner may enter.
        os.chmod(shared, 0o755)
        reachable = shutil.copy2(binary, shared)
        koi8 = koi8_russian(pathlib.Path(scratch))
        environments = [("", dict(os.environ))]
        if koi8 is None:
            print("skip the KOI8-R runs: localedef cannot build ru_RU.KOI8-R here")
        else:
            environments.append((", locale Russian in KOI8-R", dict(os.environ, LOCPATH=str(koi8))))
        for case in CASES:
            if case.get("memory") and skip_limits:
                print(f"skip {case['name']}")
                continue
            command = [binary]
            if case.get("unprivileged") and os.geteuid() == 0:
                # Root passes any permission check; run the case as nobody.
                case = dict(case, preexec=lambda: os.setuid(65534), dir=open_dir)
                command = [reachable]
            for suffix, env in environments:
                results.append((case["name"] + suffix, check(command, case, env)))
    results.append(("a FIFO named output.txt", check_fifo(binary)))
    results.append(("standard input and output slow non-blocking pipes",
                    check_slow_pipes(binary)))
    if skip_limits:
        print("skip a wait for standard input that fails")
    else:
        results.append(("a wait for standard input that fails", check_failing_wait(binary)))
    return report(results)


def windows_main(command):
    """The cases that a Windows build meets as well, with its reasons."""
    results = []
    for case in CASES:
        if "windows" in case:
            case = dict(case, err=case["windows"])
            results.append((case["name"], check(command, case, dict(os.environ))))
    results.append(("standard output closed early", check_closed_pipe(command)))
    return report(results)


if __name__ == "__main__":
    sys.exit(main())
