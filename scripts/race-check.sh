#!/usr/bin/env bash
# Builds the core and its tests with ThreadSanitizer (the tsan preset) and
# runs every test on that build. Exits non-zero when a test fails or when any
# process the tests ran (the tests, the simulator's control tool) reported a
# data race, a lock-order inversion or another thread error.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"

status=0
ctest --preset tsan -j "$jobs" || status=$?

# A report makes the process that saw it exit with an error, which fails the
# test that ran it; a child process's report would not, so every report in
# the tests' output counts.
log=build/tsan/Testing/Temporary/LastTest.log
reports="$(grep -c 'WARNING: ThreadSanitizer' "$log" || true)"
if [ "$reports" -ne 0 ]; then
  echo "ThreadSanitizer reported $reports times; see $log" >&2
  status=1
fi
exit "$status"
