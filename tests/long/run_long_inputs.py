#!/usr/bin/env python3
"""Feeds the built program very long inputs through a pipe and checks that
each run gives the exact output, at a rate proportional to the input, with
peak memory bounded by what is stored rather than by what was read:
  - 1 GiB of whitespace, then 0;
  - a 10 MB word as a surname, then a listing;
  - a million invalid menu choices.

usage: run_long_inputs.py path/to/subscribers [--scale S] [--rss-slack MIB] [--time PATH]
  --scale S below 1 shrinks the inputs; --rss-slack adds to every memory
  limit (sanitizer runtimes need room of their own); --time is GNU time
  (default /usr/bin/time).
"""
import hashlib
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
import dialogue_texts as texts  # noqa: E402

MENU = texts.MENU.encode()
INVALID = texts.INVALID.encode()
HEADER = texts.HEADER.encode()
ADD = ("".join(texts.ADD_PROMPTS) + texts.DONE).encode()
GNU_TIME = sys.argv[sys.argv.index("--time") + 1] if "--time" in sys.argv else "/usr/bin/time"


def run(binary, chunks, cwd):
    """Streams `chunks` into the program; returns (sha256 of output, output
    size, seconds, peak RSS in MiB, exit status)."""
    start = time.perf_counter()
    # GNU time reports the program's own peak; the rusage of a child forked
    # from this script would include the script's memory.
    rss_file = pathlib.Path(cwd) / "rss"
    proc = subprocess.Popen([GNU_TIME, "-f", "%M", "-o", str(rss_file), binary],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, cwd=cwd)
    digest = hashlib.sha256()
    size = [0]

    def reader():
        while True:
            data = proc.stdout.read1(1 << 20)
            if not data:
                return
            digest.update(data)
            size[0] += len(data)

    thread = threading.Thread(target=reader)
    thread.start()
    try:
        for chunk in chunks:
            proc.stdin.write(chunk)
        proc.stdin.close()
    except BrokenPipeError:
        pass
    thread.join()
    status = proc.wait()
    rss_kib = int(rss_file.read_text().split()[-1])
    return digest.hexdigest(), size[0], time.perf_counter() - start, rss_kib / 1024, status


def sha(parts):
    digest = hashlib.sha256()
    for part in parts:
        digest.update(part)
    return digest.hexdigest()


def main():
    binary = str(pathlib.Path(sys.argv[1]).resolve())
    def option(name, default):
        return float(sys.argv[sys.argv.index(name) + 1]) if name in sys.argv else default

    scale = option("--scale", 1.0)
    slack = option("--rss-slack", 0.0)
    mib = 1 << 20
    blank_mib = int(1024 * scale)
    word_bytes = int(10 * 1000 * 1000 * scale) // 2 * 2
    choices = int(1000 * 1000 * scale)
    word = "Ж".encode() * (word_bytes // 2)
    line = b"7\t" + word + b"\tD\tA\t1\t2\t3\t\t4.5.6\t\t7.8.9\n"
    cases = [
        # name, input chunks, expected output parts, input size, MiB allowed
        (f"{blank_mib} MiB of whitespace",
         lambda: (b" \t\n\r\v\f" * (mib // 6) + b"  \n\n" for _ in range(blank_mib)),
         lambda: [MENU], blank_mib * mib, 16),
        (f"a {word_bytes} byte surname",
         lambda: [b"1 7 ", word, b" D A 1 2 3 4 5 6 7 8 9\n2\n0\n"],
         lambda: [MENU, ADD, MENU, HEADER, line, MENU], word_bytes, 16 + 4 * word_bytes / mib),
        (f"{choices} invalid menu choices",
         lambda: (b"9\n" * (choices // 100) for _ in range(100)),
         lambda: [MENU] + [INVALID + MENU] * choices, 2 * choices, 16),
    ]
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for name, chunks, expected, input_size, rss_limit in cases:
            digest, size, seconds, rss, status = run(binary, chunks(), work)
            rate = (input_size + size) / seconds / mib
            problems = []
            if status != 0:
                problems.append(f"exit status {status}")
            if digest != sha(expected()):
                problems.append(f"output differs ({size} bytes)")
            if rss > rss_limit + slack:
                problems.append(f"peak RSS {rss:.0f} MiB over {rss_limit + slack:.0f}")
            # Far below what the program does; catches work that grows faster than the input.
            if rate < 20:
                problems.append(f"only {rate:.1f} MiB/s")
            print(f"{'FAIL' if problems else 'ok  '} {name}: {seconds:.2f} s, {rate:.0f} MiB/s, "
                  f"peak RSS {rss:.1f} MiB, {size} bytes out")
            for p in problems:
                print("    ", p)
            failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
