"""The closing report of the end-to-end scripts."""


def report(results):
    """Prints each (name, failures) and a closing count; returns the exit status."""
    failed = 0
    for name, failures in results:
        print(f"{'FAIL' if failures else 'ok  '} {name}")
        for failure in failures:
            print("   ", failure)
        failed += bool(failures)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0
