#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, proves
# the core builds without the UI, and runs every test. Exits non-zero on any
# failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset core-only >/dev/null
cmake --build --preset core-only --target qova_core -j "$jobs"

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
# A test that fails is run once more before the run counts as failed: the
# end-to-end tests drive real threads and event loops on a shared machine.
ctest --preset ci -j "$jobs" --repeat until-pass:2

if [ -x scripts/fuzz.sh ]; then
  scripts/fuzz.sh
fi
