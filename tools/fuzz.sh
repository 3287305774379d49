#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time from its seed corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${KELVARA_FUZZ_SECONDS:-25}"
bash "$root/tools/setup.sh"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARA_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
for fuzzer in "$build"/fuzz/fuzz_*; do
  name="$(basename "$fuzzer")"; name="${name#fuzz_}"
  seeds="$root/fuzz/corpus/$name"
  work="$build/corpus/$name"
  mkdir -p "$work"
  echo "== fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -print_final_stats=0 "$work" "$seeds" 2>&1 | tail -n 3
done
