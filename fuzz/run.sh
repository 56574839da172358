#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# each for the given number of seconds over its kept seed corpus. New inputs go to a scratch
# folder, so the kept corpus changes only by hand; a finding stops the run and leaves its input
# (crash-*, leak-*, timeout-*) in the build folder.
#   fuzz/run.sh [seconds per fuzzer, default 20] [build folder, default build-fuzz]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
build="${2:-$here/build-fuzz}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"

cmake -S "$here/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
for fuzzer in response_reader request_planner list_splitter; do
  scratch="$build/corpus-$fuzzer"
  mkdir -p "$scratch"
  log="$build/fuzz_$fuzzer.log"
  # Qt's libraries keep no frame pointers: ASan's fast unwinder, run at every malloc and free,
  # reads garbage through their frames, and each garbage stack is a new entry in ASan's stack
  # store, which never shrinks (the request planner passed 1 GB in ten minutes). Harnesses that
  # allocate inside Qt take the exact unwinder: slower, but the store stays at a few thousand
  # stacks. The splitter allocates only in our own code and keeps the fast one.
  unwind=0
  if [ "$fuzzer" = list_splitter ]; then unwind=1; fi
  if (cd "$build" && ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=$unwind" \
        "./fuzz_$fuzzer" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 "$scratch" "$here/fuzz/corpus/$fuzzer" >"$log" 2>&1); then
    echo "fuzz_$fuzzer: $(grep -E '^Done' "$log")"
  else
    tail -n 40 "$log"
    echo "fuzz_$fuzzer found a fault; its input is in $build"
    exit 1
  fi
done
