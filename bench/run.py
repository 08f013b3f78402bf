#!/usr/bin/env python3
"""Times the built program on generated session scripts.

For each N: wall seconds, records per second, peak RSS, output bytes, the
bytes written to the result files, and the I/O floor measured in the same
run (cat of the script to /dev/null, the same amount of output pushed
through a pipe and read the same way, and the result files' bytes written
by dd to a file in the same directory), with the program's ratio to it. Each time is the best of --runs runs. With --against OTHER it instead times
OTHER and the binary in turns and prints medians side by side. With --repeat-check it also compares repeated binary
searches on one field with sequential searches on the largest N.

usage: run.py [--binary build/subscribers] [--sizes 10000,100000,1000000]
"""
import argparse
import os
import pathlib
import random
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
CHUNK = 1 << 20


def drain(stream):
    """Reads and discards everything, as a consumer of the output would."""
    fd = stream.fileno()
    buffer = [bytearray(CHUNK)]
    total = 0
    while True:
        got = os.readv(fd, buffer)
        if not got:
            return total
        total += got


def timed(argv, stdin_path=None, cwd=None, stdout_pipe=True, stdout_path=None):
    """Runs argv; returns (wall seconds, output bytes, peak RSS KiB, status,
    bytes written elsewhere than standard output). The peak comes from GNU
    time: a child's own rusage would count the pages of this script, from
    which it was forked. The bytes come from /proc/PID/io of GNU time, read
    before it is reaped: it holds what its own reaped child wrote."""
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    stdout = (open(stdout_path, "wb") if stdout_path else
              subprocess.PIPE if stdout_pipe else subprocess.DEVNULL)
    with tempfile.NamedTemporaryFile(prefix="rss-") as rss_file:
        start = time.perf_counter()
        proc = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", rss_file.name] + argv,
                                stdin=stdin, cwd=cwd, stdout=stdout)
        out_bytes = drain(proc.stdout) if proc.stdout else 0
        os.waitid(os.P_PID, proc.pid, os.WEXITED | os.WNOWAIT)
        wall = time.perf_counter() - start
        written = written_bytes(proc.pid)
        proc.wait()
        report = pathlib.Path(rss_file.name).read_bytes()
        rss = int(report.split()[-1] or 0)
    for stream in (stdin, stdout):
        if hasattr(stream, "close"):
            stream.close()
    # Less what time itself wrote: its report.
    return wall, out_bytes, rss, proc.returncode, max(0, written - out_bytes - len(report))


def written_bytes(pid):
    """Bytes the process and its reaped children wrote (0 where /proc has no io)."""
    try:
        with open(f"/proc/{pid}/io", encoding="ascii") as io:
            return next(int(line.split()[1]) for line in io if line.startswith("wchar:"))
    except (OSError, StopIteration):
        return 0


def generate(n, path):
    with open(path, "w", encoding="utf-8") as out:
        subprocess.run([sys.executable, str(HERE / "gen.py"), str(n)], stdout=out, check=True)


def best(runs, argv, stdin_path=None, cwd=None, stdout_pipe=True, stdout_path=None):
    """The fastest of `runs` runs (the least disturbed by other work)."""
    results = [timed(argv, stdin_path, cwd, stdout_pipe, stdout_path) for _ in range(runs)]
    for r in results:
        if r[3] != 0:
            raise SystemExit(f"{argv[0]} failed with status {r[3]}")
    return min(results, key=lambda r: r[0])


def bench(binary, n, work, runs):
    script = work / f"session-{n}.txt"
    generate(n, script)
    scratch = work / f"run-{n}"
    scratch.mkdir(exist_ok=True)
    wall, out_bytes, rss, _, file_bytes = best(runs, [binary], script, scratch)
    if out_bytes == 0:
        raise SystemExit(f"N={n}: the program wrote nothing")
    read_floor = best(runs, ["cat", str(script)], stdout_pipe=False)[0]
    pipe_floor = best(runs, ["head", "-c", str(out_bytes), "/dev/zero"])[0]
    # The result files' bytes, written to a file in the same directory.
    files_floor = best(runs, ["dd", "if=/dev/zero", "of=floor.bin", "bs=1M", f"count={file_bytes}",
                              "iflag=count_bytes", "status=none"], cwd=scratch,
                       stdout_pipe=False)[0]
    floor = read_floor + pipe_floor + files_floor
    return {"n": n, "wall": wall, "rate": n / wall, "rss": rss / 1024, "out": out_bytes,
            "files": file_bytes, "floor": floor, "ratio": wall / floor, "script": script}


def repeat_check(binary, n, work, runs, k=20):
    """Seconds per search: binary repeated on a sorted field vs sequential."""
    base = work / f"session-{n}.txt"
    text = base.read_text(encoding="utf-8")
    adds = text[: text.rindex("2\n5\n")]
    scratch = work / "repeat"
    scratch.mkdir(exist_ok=True)
    results = {}
    for name, search in (("binary", "5\n1\n2\nКим\n"), ("sequential", "5\n1\n1\nКим\n")):
        for count in (0, k):
            script = work / f"repeat-{name}-{count}.txt"
            # The first binary search sorts; the repeated ones find the list in order.
            script.write_text(adds + "5\n1\n2\nЯков\n" + search * count + "0\n", encoding="utf-8")
            results[(name, count)] = best(runs, [binary], script, scratch)[0]
    return {name: (results[(name, k)] - results[(name, 0)]) / k
            for name in ("binary", "sequential")}


def adds_of(work, n):
    """The adds of the session script for N (generated if needed)."""
    base = work / f"session-{n}.txt"
    if not base.exists():
        generate(n, base)
    text = base.read_text(encoding="utf-8")
    return text[: text.rindex("2\n5\n")]


def difference(binary, work, runs, name, before, extra, after="0\n"):
    """Seconds that `extra` adds to a script of `before` + `after`: the best
    of `runs` runs of each, taken in turns so that both see the same noise."""
    scratch = work / "diff"
    scratch.mkdir(exist_ok=True)
    scripts = []
    for part, body in (("without", before + after), ("with", before + extra + after)):
        script = work / f"{name}-{part}.txt"
        script.write_text(body, encoding="utf-8")
        scripts.append(script)
    times = [float("inf")] * len(scripts)
    for _ in range(runs):
        times = [min(t, best(1, [binary], script, scratch)[0]) for t, script in zip(times, scripts)]
    return times[1] - times[0]


# One binary search per criterion on the list in insertion order: it sorts.
SORT_SEARCHES = (("surname", "5\n1\n2\nЯков\n"), ("district", "5\n2\n2\nЯрославский\n"),
                 ("contract date", "5\n3\n2\n1 1 1990\n"),
                 ("last payment", "5\n4\n2\n1 1 1990\n"))


def sort_check(binary, n, work, runs):
    """Milliseconds of one binary search that has to sort, per criterion."""
    adds = adds_of(work, n)
    return {name: difference(binary, work, runs, f"sort-{i}", adds, search) * 1e3
            for i, (name, search) in enumerate(SORT_SEARCHES)}


def sort_heavy_script(work, n):
    """N adds, eight binary searches that each sort afresh, a listing."""
    order = (0, 3, 1, 2)  # surname, last payment, district, contract date
    searches = "".join(SORT_SEARCHES[i][1] for i in order) * 2
    script = work / f"sort-heavy-{n}.txt"
    script.write_text(adds_of(work, n) + searches + "2\n0\n", encoding="utf-8")
    return script


def scattered_scripts(work, n):
    """N adds and a sort by date of last payment, which scatters the records'
    words over the heap, then either forty sequential district searches that
    find nothing but compare the words of the 40 % whose length matches
    ("walks"), or six that write 40 % of the list to the result files
    ("files"): what word prefetching is for. Compare a build with
    -DSUBSCRIBERS_PREFETCH=OFF through --against."""
    sort = "5\n4\n2\n1 1 2001\n"
    scripts = {}
    for name, searches in (("walks", "5\n2\n1\nЦентральнык\n" * 40),
                           ("files", "5\n2\n1\nЦентральный\n" * 6)):
        script = work / f"scattered-{name}-{n}.txt"
        script.write_text(adds_of(work, n) + sort + searches + "0\n", encoding="utf-8")
        scripts[f"{name} after a sort N={n}"] = script
    return scripts


def sort_heavy(binary, n, work, runs):
    """Seconds for the sort-heavy script."""
    script = sort_heavy_script(work, n)
    scratch = work / "heavy"
    scratch.mkdir(exist_ok=True)
    return best(runs, [binary], script, scratch)[0]


def distinct_keys_script(work, n):
    """N adds whose surnames and last-payment dates all differ (the sort's
    largest scratch: window keys, and radix passes over 26-bit dates), a
    listing, and ten searches over all four criteria, both algorithms."""
    rng = random.Random(11)
    order = list(range(n))
    rng.shuffle(order)
    adds = []
    for i, k in enumerate(order):
        # Day, a month spanning 2^13 values and a year spanning 2^8: 26 bits.
        adds.append(f"1\n{i + 1}\nФамилия{k:07d}\nЦентральный\nул.Мира,1\n5551234\n100\n200\n"
                    f"1 2 2010\n{k % 28 + 1} {k // 28 % 8192 + 1} {2000 + k // 229376}\n")
    searches = "".join(f"5\n{c}\n{a}\n{q}\n" for c, q in (
        (1, "Фамилия0000007"), (2, "Северный"), (3, "1 2 2010"), (4, "2 2 2000"))
        for a in (1, 2)) + "5\n1\n2\nЯков\n5\n4\n2\n1 1 1990\n"
    script = work / f"distinct-keys-{n}.txt"
    script.write_text("".join(adds) + "2\n" + searches + "0\n", encoding="utf-8")
    return script


def spaced_numbers_script(work, n):
    """The N adds with contract numbers 1024 apart, every record removed in
    random order, a listing: numbers alike in their low bits, which a hash
    that placed them by those bits would pile into a few slots."""
    lines = adds_of(work, n).split("\n")
    for add in range(0, len(lines) - 1, 10):  # "1", then the number first of nine fields
        lines[add + 1] = str(int(lines[add + 1]) * 1024)
    numbers = list(range(1, n + 1))
    random.Random(7).shuffle(numbers)
    script = work / f"spaced-numbers-{n}.txt"
    script.write_text("\n".join(lines) + "".join(f"3\n{k * 1024}\n" for k in numbers) + "2\n0\n",
                      encoding="utf-8")
    return script


def remove_patterns(n):
    """Removal and replacement patterns over the numbers 1..N of a script:
    for each, the operations and how many there are."""
    shuffled = list(range(1, n + 1))
    random.Random(7).shuffle(shuffled)
    new_record = "Новиков\nСеверный\nул.Мира,1\n5551234\n100\n200\n1 2 2010\n3 4 2011\n"
    # Removals and replacements in turn, with a sequential search after
    # every quarter: the list shrinks to half while it keeps changing.
    interleaved = []
    for i, k in enumerate(shuffled):
        interleaved.append(f"3\n{k}\n" if i % 2 == 0 else f"4\n{k}\n{k}\n{new_record}")
        if i % (n // 4 + 1) == n // 4:
            interleaved.append("5\n2\n1\nЦентральный\n")
    # All but one record removed, then add+remove rounds on the one-record list.
    churn = "".join(f"3\n{k}\n" for k in shuffled[1:])
    churn += f"1\n0\n{new_record}3\n0\n" * CHURN_ROUNDS
    return {
        "remove random": ("".join(f"3\n{k}\n" for k in shuffled), n),
        "replace random": ("".join(f"4\n{k}\n{k}\n{new_record}" for k in shuffled), n),
        "remove front first": ("".join(f"3\n{k}\n" for k in range(1, n + 1)), n),
        "remove back first": ("".join(f"3\n{k}\n" for k in range(n, 0, -1)), n),
        "interleaved": ("".join(interleaved), n),
        "shrink then churn": (churn, n - 1 + 2 * CHURN_ROUNDS),
    }


CHURN_ROUNDS = 20000


def remove_scripts(work, n):
    """The script of each pattern: N adds, the pattern, a listing."""
    adds = adds_of(work, n)
    scripts = {}
    for name, (ops, count) in remove_patterns(n).items():
        script = work / f"remove-{n}-{name.replace(' ', '-')}.txt"
        script.write_text(adds + ops + "2\n0\n", encoding="utf-8")
        scripts[name] = (script, count)
    return scripts


def remove_check(binary, sizes, work, runs):
    """Seconds per pattern and N, and the operations each made."""
    scratch = work / "remove"
    scratch.mkdir(exist_ok=True)
    table = {}
    for n in sizes:
        for name, (script, count) in remove_scripts(work, n).items():
            table[(name, n)] = (best(runs, [binary], script, scratch)[0], n + count)
    return table


def side_by_side(binaries, sizes, work, runs, removals):
    """Median wall seconds and peak RSS of each binary on the session script
    of each N and on the sort-heavy and scattered scripts of the largest N (with
    `removals`, on every removal pattern of each N too), the binaries taking
    turns run by run so that they see the same noise."""
    scripts = []
    for n in sizes:
        adds_of(work, n)  # generates the session script
        scripts.append((f"session N={n}", work / f"session-{n}.txt"))
    scripts.append((f"sort-heavy N={sizes[-1]}", sort_heavy_script(work, sizes[-1])))
    scripts += list(scattered_scripts(work, sizes[-1]).items())
    for n in sizes if removals else []:
        scripts += [(f"{name} N={n}", script)
                    for name, (script, _) in remove_scripts(work, n).items()]
    scratch = work / "side"
    scratch.mkdir(exist_ok=True)
    print(f"{'script':>30} " + " ".join(f"{pathlib.Path(b).parent.name + '/' + pathlib.Path(b).name:>34}"
                                        for b in binaries) + "   ratio")
    for name, script in scripts:
        walls = [[] for _ in binaries]
        rss = [0.0] * len(binaries)
        for _ in range(runs):
            for k, binary in enumerate(binaries):
                wall, _, peak, status, _ = timed([binary], script, scratch)
                if status != 0:
                    raise SystemExit(f"{binary} failed with status {status}")
                walls[k].append(wall)
                rss[k] = max(rss[k], peak / 1024)
        medians = [sorted(w)[len(w) // 2] for w in walls]
        cells = [f"{m:>10.3f} s median, {r:>7.1f} MB RSS" for m, r in zip(medians, rss)]
        print(f"{name:>30} " + " ".join(f"{c:>34}" for c in cells) +
              f"   {medians[-1] / medians[0]:.2f}")


def sizes_of(text):
    """--sizes: positive numbers separated by commas."""
    try:
        sizes = [int(s) for s in text.split(",")]
    except ValueError:
        raise argparse.ArgumentTypeError(f"not numbers separated by commas: {text!r}") from None
    if not sizes or min(sizes) < 1:
        raise argparse.ArgumentTypeError(f"sizes must be 1 or more: {text!r}")
    return sizes


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--binary", default="build/release/subscribers",
                        help="the built program to time (default: %(default)s); nothing is built")
    parser.add_argument("--sizes", default="10000,100000,1000000", type=sizes_of,
                        help="the numbers of records N, comma-separated (default: %(default)s)")
    parser.add_argument("--repeat-check", action="store_true",
                        help="compare a binary search repeated on a sorted field with a "
                             "sequential search, at the largest N")
    parser.add_argument("--sort-check", action="store_true",
                        help="time one sorting binary search per criterion at the largest N")
    parser.add_argument("--sort-heavy", action="store_true",
                        help="time N adds, eight sorting binary searches and a listing")
    parser.add_argument("--remove-check", action="store_true",
                        help="time N adds then N removals or replacements, per pattern")
    parser.add_argument("--runs", type=int, default=3, help="runs per measurement; the best counts")
    parser.add_argument("--against", metavar="BINARY",
                        help="only compare with BINARY, side by side: median wall and peak RSS "
                             "per session script and the sort-heavy script (ratio: --binary / BINARY)")
    args = parser.parse_args()
    binary = str(pathlib.Path(args.binary).resolve())
    if not os.access(binary, os.X_OK):
        parser.error(f"--binary {args.binary}: no such program (build it first, see the README)")
    if args.against and not os.access(args.against, os.X_OK):
        parser.error(f"--against {args.against}: no such program")
    if args.runs < 1:
        parser.error("--runs must be 1 or more")
    sizes = args.sizes
    # Result files run to hundreds of MB; on tmpfs the timing measures the
    # program rather than the disk's writeback.
    base = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    with tempfile.TemporaryDirectory(prefix="subscribers-bench-", dir=base) as tmp:
        print(f"scratch directory: {tmp}")
        work = pathlib.Path(tmp)
        if args.against:
            side_by_side([str(pathlib.Path(args.against).resolve()), binary], sizes, work,
                         args.runs, args.remove_check)
            return
        print(f"{'N':>9} {'wall s':>8} {'records/s':>11} {'peak RSS MB':>12} "
              f"{'output bytes':>13} {'file bytes':>11} {'floor s':>8} {'x floor':>8} "
              f"{'us/record':>10}")
        rows = []
        for n in sizes:
            row = bench(binary, n, work, args.runs)
            rows.append(row)
            print(f"{n:>9} {row['wall']:>8.3f} {row['rate']:>11.0f} {row['rss']:>12.1f} "
                  f"{row['out']:>13} {row['files']:>11} {row['floor']:>8.3f} {row['ratio']:>8.1f} "
                  f"{row['wall'] / n * 1e6:>10.3f}")
        if len(rows) > 1:
            first, last = rows[0], rows[-1]
            scale = (last["wall"] / last["n"]) / (first["wall"] / first["n"])
            print(f"time per record at N={last['n']} / at N={first['n']}: {scale:.2f}")
        if args.sort_check:
            per = sort_check(binary, sizes[-1], work, args.runs)
            print(f"one sorting binary search at N={sizes[-1]}: " +
                  ", ".join(f"{name} {ms:.0f} ms" for name, ms in per.items()))
        if args.sort_heavy:
            print(f"sort-heavy script at N={sizes[-1]}: "
                  f"{sort_heavy(binary, sizes[-1], work, args.runs):.3f} s")
        if args.remove_check:
            table = remove_check(binary, sizes, work, args.runs)
            for name in remove_patterns(1):
                cells = [f"N={n}: {table[(name, n)][0]:.3f} s" for n in sizes]
                per_op = [table[(name, n)][0] / table[(name, n)][1] for n in sizes]
                print(f"{name:>18}: " + ", ".join(cells) +
                      f"; per operation at N={sizes[-1]} / at N={sizes[0]}: "
                      f"{per_op[-1] / per_op[0]:.2f}")
        if args.repeat_check:
            per = repeat_check(binary, sizes[-1], work, args.runs)
            print(f"per search at N={sizes[-1]}: repeated binary {per['binary'] * 1e3:.1f} ms, "
                  f"sequential {per['sequential'] * 1e3:.1f} ms")


if __name__ == "__main__":
    main()
