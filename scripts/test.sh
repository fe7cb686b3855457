#!/usr/bin/env bash
# Builds everything and runs every test. VANTREL_SANITIZE=1 builds with AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of its own; VANTREL_SCALAR_ONLY=1 builds the formats
# and their tests with the plain loops in place of every vector path (as on ARM); VANTREL_TSAN=1
# builds the engine's tests with ThreadSanitizer (build-tsan, no windows) and runs them, less the
# ones that start the real program as a process (the sanitizer's slowness times their waits out;
# the threads they would exercise are the engine's own, run in process by the other tests).
# VANTREL_CMAKE_ARGS adds cmake arguments to the build (CI: -DVANTREL_WERROR=ON and the like);
# VANTREL_TEST_JOBS runs that many tests at a time (default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
read -r -a extra <<<"${VANTREL_CMAKE_ARGS:-}"
jobs=${VANTREL_TEST_JOBS:-1}
if [ "${VANTREL_SCALAR_ONLY:-0}" = 1 ]; then
  VANTREL_BUILD_TARGET=vantrel_format_tests \
    "$root/scripts/build.sh" build-scalar -DVANTREL_SCALAR_ONLY=ON -DVANTREL_GUI=OFF -DVANTREL_BENCH=OFF "${extra[@]}"
  exec "$root/build-scalar/tests/vantrel_format_tests" --gtest_brief=1
fi
labels=()
if [ "${VANTREL_TSAN:-0}" = 1 ]; then
  # The tests that run threads: the engine's background jobs and the feed's receivers.
  dir=build-tsan
  VANTREL_BUILD_TARGET="vantrel_engine_tests" \
    "$root/scripts/build.sh" "$dir" -DVANTREL_TSAN=ON -DVANTREL_GUI=OFF -DVANTREL_BENCH=OFF "${extra[@]}"
  export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp"
  labels=(-L '^engine$' -E '^(Process|Headless|WindowQuit|DataFolder|QueryCommandsTest|AwardCommands)\.')
elif [ "${VANTREL_SANITIZE:-0}" = 1 ]; then
  dir=build-sanitize
  "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_BENCH=OFF "${extra[@]}"
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  "$root/scripts/build.sh" "$dir" "${extra[@]}"
fi
export QT_QPA_PLATFORM=offscreen
cd "$root/$dir" && ctest --output-on-failure --timeout 300 -j "$jobs" "${labels[@]}"
