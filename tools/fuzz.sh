#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time from its seed
# corpus. A fuzzer that finds a fault (crash, sanitizer report, leak, an input
# slower than a second) has its whole output printed and the reproducer kept
# under build-fuzz/artifacts/<name>/; the script then fails.
#
# Time: every fuzzer gets KELVARA_FUZZ_SECONDS (45); the ones whose inputs
# each run a whole design (a session, a plan, a paste) get
# KELVARA_FUZZ_LONG_SECONDS (180) so they get well past their seeds. With
# fifteen fuzzers that is about 18 minutes, which with the tests and the
# sanitizer run (under 20 minutes) keeps CI well inside its 90.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${KELVARA_FUZZ_SECONDS:-45}"
long_seconds="${KELVARA_FUZZ_LONG_SECONDS:-180}"
long_fuzzers=" model_session stitch_plan project_paste "
timeout="${KELVARA_FUZZ_TIMEOUT:-1}" # seconds one input may take
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
  time="$seconds"
  [[ "$long_fuzzers" == *" $name "* ]] && time="$long_seconds"
  echo "== fuzzing $name for ${time}s"
  if "$fuzzer" -max_total_time="$time" -timeout="$timeout" -rss_limit_mb=2048 -max_len=65536 \
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
