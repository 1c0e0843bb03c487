#!/usr/bin/env bash
# scripts/deb-lint.sh [BUILD_DIR]: makes the Debian package of a build
# (cpack -G DEB) and checks it with lintian, installed first when missing
# (scripts/lint-packages.txt).  Fails on any error; prints the warnings and
# the other tags, which are accepted (each is explained in the comments of
# cmake/ZbInstall.cmake).  Not part of the tests: it may install a package.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
work="$(mktemp -d /tmp/zblint.XXXXXX)"
trap 'rm -rf "$work"' EXIT

ZB_SETUP_PACKAGES="$root/scripts/lint-packages.txt" bash "$root/scripts/setup.sh" || exit 1
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb="$(ls "$build"/qorzbservices_*.deb | tail -n 1)"
lintian --fail-on error --display-info "$deb" >"$work/tags" 2>&1
status=$?
sed 's/^/  /' "$work/tags"
errors="$(grep -c '^E: ' "$work/tags")"
echo "deb-lint: $(basename "$deb"): $errors errors, $(grep -c '^W: ' "$work/tags") warnings"
[ "$status" -eq 0 ] && [ "$errors" -eq 0 ]
