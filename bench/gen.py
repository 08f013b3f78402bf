#!/usr/bin/env python3
"""Writes a session script for N subscribers: N adds of distinct records, one
listing, 12 searches (every criterion, both algorithms, some sequential ones
matching a large share of the list, binary ones repeated on one field), then 0.

usage: gen.py N [SEED] > script.txt
"""
import argparse
import random
import sys

SURNAMES = [
    "Иванов", "Петрова", "Сидоров", "Смирнова", "Кузнецов", "Попова", "Васильев",
    "Соколова", "Михайлов", "Новикова", "Фёдоров", "Морозова", "Волков", "Алексеева",
    "Лебедев", "Семёнова", "Егоров", "Павлова", "Козлов", "Степанова", "Ли", "Ким", "Юн",
    "Константинопольский", "Преображенская", "Христорождественский", "Ab", "Smith",
]
DISTRICTS = [
    "Центральный", "Северный", "Южный", "Ленинский", "Кировский", "Октябрьский",
    "Железнодорожный", "Петроградский", "Адмиралтейский", "Василеостровский", "Выборгский",
]
# The first district is given to a large share of the records.
DISTRICT_WEIGHTS = [40] + [6] * (len(DISTRICTS) - 1)
STREETS = ["Ленина", "Мира", "Садовая", "Гагарина", "Набережная", "Пушкина", "Советская"]


def count(text):
    """N: a whole number, 0 or more."""
    if not text.isdigit():
        raise argparse.ArgumentTypeError(f"N must be a whole number, 0 or more: {text!r}")
    return int(text)


def main():
    parser = argparse.ArgumentParser(
        description="Writes a session script for N subscribers to standard output.")
    parser.add_argument("n", metavar="N", type=count, help="how many records to add (0 or more)")
    parser.add_argument("seed", metavar="SEED", type=int, nargs="?", default=1,
                        help="seed of the random choices (default 1): the same seed, the same script")
    args = parser.parse_args()
    n = args.n
    rng = random.Random(args.seed)
    out = []
    surnames = []
    for i in range(1, n + 1):
        surname = rng.choice(SURNAMES)
        # A suffix on most records keeps keys varied; plain names repeat often.
        if rng.random() < 0.7:
            surname += "-" + str(rng.randrange(1000))
        surnames.append(surname)
        district = rng.choices(DISTRICTS, DISTRICT_WEIGHTS)[0]
        address = f"ул.{rng.choice(STREETS)},{rng.randrange(1, 200)}"
        phone = rng.randrange(1000000, 9999999)
        pay = rng.randrange(0, 5000)
        fee = rng.randrange(100, 900)
        cy = rng.randrange(1995, 2025)
        ly = cy + rng.randrange(0, 3)
        out.append(f"1\n{i}\n{surname}\n{district}\n{address}\n{phone}\n{pay}\n{fee}\n"
                   f"{rng.randrange(1, 29)} {rng.randrange(1, 13)} {cy}\n"
                   f"{rng.randrange(1, 29)} {rng.randrange(1, 13)} {ly}\n")
    out.append("2\n")
    probe = surnames[n // 2] if n else "Иванов"
    searches = [
        "5\n1\n1\nИванов\n",           # sequential, a common plain surname
        "5\n2\n1\nЦентральный\n",      # sequential, about 40% of the list
        "5\n3\n1\n1 1 2000\n",         # sequential by contract date
        "5\n4\n1\n15 6 2010\n",        # sequential by last payment
        f"5\n1\n2\n{probe}\n",         # binary: sorts by surname
        "5\n1\n2\nКим\n",              # binary again on the same field
        "5\n1\n2\nЯков\n",             # and again, after every key
        "5\n2\n2\nСеверный\n",         # binary by district
        "5\n2\n2\nЮжный\n",            # repeated
        "5\n3\n2\n10 10 2010\n",       # binary by contract date
        "5\n4\n2\n1 1 2001\n",         # binary by last payment
        "5\n2\n1\nЦентральный\n",      # sequential again, in the sorted order
    ]
    out.extend(searches)
    out.append("0\n")
    sys.stdout.write("".join(out))


if __name__ == "__main__":
    main()
