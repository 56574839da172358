#!/usr/bin/env bash
# Sets up, builds and runs every test suite headless, then builds again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the suites that do not load the web engine, then runs each
# fuzzer briefly over its kept corpus.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"

"$here/scripts/setup.sh" "$here/build-test" -DCMAKE_BUILD_TYPE=Debug -DBRINDLECOT_WERROR=ON

# libproxy's KDE reader, unpacked into the build folder and never installed: the route suite
# gives Qt a desktop proxy configuration to read through it. Without it that one row is skipped.
"$here/scripts/desktop-proxy-reader.sh" "$here/build-test/desktop-proxy"
(cd "$here/build-test" && ctest --output-on-failure -j"$jobs")

"$here/scripts/setup.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DBRINDLECOT_SANITIZE=ON \
  -DBRINDLECOT_WERROR=ON
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$here/build-asan" && ctest --output-on-failure -j"$jobs" -LE "webengine|script")

"$here/fuzz/run.sh" 20 "$here/build-fuzz"
