#!/usr/bin/env bash
# Builds everything and runs every test. VANTREL_SANITIZE=1 builds with AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of its own; VANTREL_SCALAR_ONLY=1 builds the formats
# and their tests with the plain loops in place of every vector path (as on ARM).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
if [ "${VANTREL_SCALAR_ONLY:-0}" = 1 ]; then
  VANTREL_BUILD_TARGET=vantrel_format_tests \
    "$root/scripts/build.sh" build-scalar -DVANTREL_SCALAR_ONLY=ON -DVANTREL_GUI=OFF -DVANTREL_BENCH=OFF
  exec "$root/build-scalar/tests/vantrel_format_tests" --gtest_brief=1
fi
if [ "${VANTREL_SANITIZE:-0}" = 1 ]; then
  dir=build-sanitize
  "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_BENCH=OFF
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  "$root/scripts/build.sh" "$dir"
fi
export QT_QPA_PLATFORM=offscreen
cd "$root/$dir" && ctest --output-on-failure --timeout 300
