#!/usr/bin/env bash
# Builds every fuzz target with clang in build/fuzz and runs each briefly
# (FUZZ_SECONDS, default 15). Exits non-zero when a target finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-15}"
jobs="$(nproc)"

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O1 \
  -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DORVALINDE_BUILD_FUZZ=ON -DORVALINDE_BUILD_UI=OFF -DORVALINDE_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz --target fuzzers -j "$jobs"

mapfile -t targets < <(find build/fuzz/fuzz -maxdepth 2 -type f -executable -name 'fuzz_*' | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "no fuzz targets" >&2
  exit 1
fi
for target in "${targets[@]}"; do
  name="$(basename "$target")"
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 5
  status="${PIPESTATUS[0]}"
  if [ "$status" -ne 0 ]; then
    echo "$name failed ($status)" >&2
    exit "$status"
  fi
done
