#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and
# with AddressSanitizer and UndefinedBehaviorSanitizer, proves the core builds
# without the UI, runs every test on that build, then the core's tests again
# under ThreadSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset core-only >/dev/null
cmake --build --preset core-only --target qova_core -j "$jobs"

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
# The tests run once each, under AddressSanitizer and
# UndefinedBehaviorSanitizer: a failure is a failure.
ctest --preset ci -j "$jobs"

# The core and its tests once more, under ThreadSanitizer: a race fails.
scripts/race-check.sh

if [ -x scripts/fuzz.sh ]; then
  scripts/fuzz.sh
fi
