#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the warnings-as-errors build and the
# sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in ci sanitize; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$jobs"
done

# The 32-bit Windows module: cross build, tests under wine, release archive.
scripts/windows/test.sh
