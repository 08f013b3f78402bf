#!/usr/bin/env bash
# The Debian package: built from the release preset, clean under lintian,
# unpacked and run on the transcripts, its manual pages rendered.
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "package: build, lint, unpack, run the installed program, read its manuals"
cmake --workflow --preset release >/dev/null
build/release/subscribers </dev/null >/dev/null
(cd build/release && rm -f subscribers_*.deb && cpack -G DEB >/dev/null)
deb=$(ls build/release/subscribers_*.deb)
dpkg-deb --info "$deb"
# No error, no warning and no informational tag but those overridden with
# their reasons (cmake/debian/lintian-overrides).
status=0
lintian --fail-on error,warning,info --display-info "$deb" >"$CI_WORK/lintian.log" 2>&1 || status=$?
grep -v "root privileges" "$CI_WORK/lintian.log" || true
[ "$status" -eq 0 ] || { echo "lintian found errors, warnings or informational tags"; exit 1; }
pkgroot="$CI_WORK/pkgroot"
dpkg-deb -x "$deb" "$pkgroot"
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/subscribers usr/share/man/man1/subscribers.1.gz \
            usr/share/man/ru/man1/subscribers.1.gz usr/share/doc/subscribers/copyright \
            usr/share/doc/subscribers/changelog.gz; do
  grep -q "\./$file\$" <<<"$contents" || { echo "missing from the package: $file"; exit 1; }
done
python3 tests/e2e/run_cases.py "$pkgroot/usr/bin/subscribers" tests/e2e/cases
# Manual pages render without a single warning (the English one through
# plain groff, the Russian one as man does it) and fit 80 columns.
en="$CI_WORK/en.1" ru="$CI_WORK/ru.1"
gzip -dc "$pkgroot/usr/share/man/man1/subscribers.1.gz" >"$en"
gzip -dc "$pkgroot/usr/share/man/ru/man1/subscribers.1.gz" >"$ru"
lint=$( { LC_ALL=C.UTF-8 MANROFFSEQ='' groff -man -ww -z "$en"
          LC_ALL=C.UTF-8 MANROFFSEQ='' groff -k -Tutf8 -man -ww -z "$ru"
        } 2>&1)
[ -z "$lint" ] || { echo "$lint"; exit 1; }
for page in "$en" "$ru"; do
  shown=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>&1 >/dev/null)
  [ -z "$shown" ] || { echo "man -l $page: $shown"; exit 1; }
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" >"$CI_WORK/page.txt"
  grep -q "SUBSCRIBERS(1)" "$CI_WORK/page.txt" || { echo "man -l $page shows nothing"; exit 1; }
  # wc -L counts columns, not bytes, in a UTF-8 locale.
  width=$(LC_ALL=C.UTF-8 wc -L <"$CI_WORK/page.txt")
  [ "$width" -le 80 ] || { echo "man -l $page is $width columns wide"; exit 1; }
done
echo "package ok: $deb"
