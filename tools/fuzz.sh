#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time from its seed
# corpus. A fuzzer that finds a fault (crash, sanitizer report, leak, an input
# slower than the per-input timeout) has its whole output printed and the
# reproducer kept under build-fuzz/artifacts/<name>/; the script then fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${KELVARA_FUZZ_SECONDS:-25}"
timeout="${KELVARA_FUZZ_TIMEOUT:-20}" # seconds one input may take
bash "$root/tools/setup.sh"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARA_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1
failed=()
for fuzzer in "$build"/fuzz/fuzz_*; do
  name="$(basename "$fuzzer")"; name="${name#fuzz_}"
  seeds="$root/fuzz/corpus/$name"
  work="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  log="$build/logs/$name.log"
  mkdir -p "$work" "$artifacts" "$(dirname "$log")"
  echo "== fuzzing $name for ${seconds}s"
  if "$fuzzer" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=0 -artifact_prefix="$artifacts/" "$work" "$seeds" >"$log" 2>&1; then
    tail -n 1 "$log"
  else
    echo "!! $name failed; its whole output follows"
    cat "$log"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzers that failed: ${failed[*]} (reproducers in $build/artifacts/)"
  exit 1
fi
