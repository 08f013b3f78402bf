#!/usr/bin/env python3
"""One large session of dates at the limits of the integer range, checked
whole: 70,000 records whose contract dates differ only in the month, over
the whole signed 32-bit range, and whose dates of last payment are random
over it in every part; binary searches by both dates and listings of the
orders they leave. Exit status 0, nothing on stderr, and the exact stdout
and result files are required (under the sanitizers: no finding).

usage: run_extreme_dates.py path/to/subscribers [N]
"""
import pathlib
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
import dialogue_texts as texts  # noqa: E402

LOW, HIGH = -2 ** 31, 2 ** 31 - 1


def main():
    binary = str(pathlib.Path(sys.argv[1]).resolve())
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 70000
    rng = random.Random(31)
    months = {LOW, HIGH, 0, -1, 1}
    while len(months) < n:
        months.add(rng.randint(LOW, HIGH))
    months = list(months)
    rng.shuffle(months)
    payments = set()
    while len(payments) < n:
        payments.add(tuple(rng.choice((LOW, HIGH, rng.randint(LOW, HIGH))) for _ in range(3)))
    payments = list(payments)
    rng.shuffle(payments)
    records = [(i + 1, (1, months[i], 2000), payments[i]) for i in range(n)]

    def line(record):
        number, (cd, cm, cy), (pd, pm, py) = record
        return f"{number}\tS\tD\tA\t1\t2\t3\t\t{cd}.{cm}.{cy}\t\t{pd}.{pm}.{py}\n"

    def by_contract(r):
        return (r[1][2], r[1][1], r[1][0])

    def by_payment(r):
        return (r[2][2], r[2][1], r[2][0])

    def date(d):
        return f"{d[0]} {d[1]} {d[2]}\n"

    def search(criterion, query, found):
        return (f"5\n{criterion}\n2\n{query}",
                texts.CRITERIA + texts.ALGORITHMS + texts.QUERY +
                ("Готово!" if found else "Ничего не найдено!") + texts.MENU)

    def listing(order):
        return "2\n", texts.HEADER + "".join(line(r) for r in order) + texts.MENU

    typed = [f"1 {r[0]} S D A 1 2 3 {date(r[1])}{date(r[2])}" for r in records]
    shown = [texts.MENU] + ["".join(texts.ADD_PROMPTS) + texts.DONE + texts.MENU] * n
    probe = records[n // 3]
    lowest_month = next(r for r in records if r[1][1] == LOW)
    absent = (5, 5, 5)
    while absent in payments:
        absent = (absent[0] + 1, 5, 5)
    steps = [
        search(3, date(probe[1]), True),
        search(4, date(probe[2]), True),
        listing(sorted(records, key=by_payment)),
        search(3, date(lowest_month[1]), True),
        listing(sorted(records, key=by_contract)),
        search(4, date(absent), False),
        listing(sorted(records, key=by_payment)),
    ]
    for t, s in steps:
        typed.append(t)
        shown.append(s)
    typed.append("0\n")

    with tempfile.TemporaryDirectory() as work:
        proc = subprocess.run([binary], input="".join(typed).encode(), capture_output=True,
                              cwd=work)
        problems = []
        if proc.returncode != 0:
            problems.append(f"exit status {proc.returncode}")
        if proc.stderr:
            problems.append("stderr: " + proc.stderr.decode(errors="replace")[:2000])
        if proc.stdout != "".join(shown).encode():
            problems.append(f"stdout differs ({len(proc.stdout)} bytes)")
        expected_file = (texts.HEADER + line(lowest_month)).encode()
        for name in ("output.txt", "output_reverce.txt"):
            path = pathlib.Path(work) / name
            got = path.read_bytes() if path.is_file() else b"(missing)"
            if got != expected_file:
                problems.append(f"{name}: {got[:300]!r}")
    print(f"{'FAIL' if problems else 'ok  '} {n} records, dates over the whole integer range")
    for p in problems:
        print("    ", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
