#!/usr/bin/env bash
# Generates a heavy station (300,000 contacts, 2 GB journal) unless one is there, runs its
# first start-up, grows WSJT-X's files by 1,000 contacts and 100 KB of journal, and measures
# the second start-up, the last-contact append and the journal refresh.
#   bench/run_startup_bench.sh [STATION_FOLDER]   (default /tmp/vantrel-heavy)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
station=${1:-/tmp/vantrel-heavy}
build="$root/build-release"
"$root/scripts/build.sh" build-release -DCMAKE_BUILD_TYPE=Release >/dev/null

if [ ! -f "$station/WSJT-X/wsjtx.log" ]; then
  echo "Generating the heavy station in $station ..."
  "$build/gen_station" --out "$station" --seed 7 --contacts 300000 --journal-bytes 2000000000
fi
if [ ! -f "$station/viewer-sizes.txt" ]; then
  "$build/bench/startup_bench" --prepare "$station"
  "$build/gen_station" --out "$station" --seed 8 --grow-contacts 1000 --grow-journal-bytes 100000
fi
ls -l "$station/WSJT-X" "$station/viewer"
"$build/bench/startup_bench" "$station" --benchmark_counters_tabular=true
