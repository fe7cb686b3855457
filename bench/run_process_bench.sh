#!/usr/bin/env bash
# The start-up of the real program as a process: generates a station unless the folder holds
# one, makes its viewer folder with a first run, then times 5 starts to the headless "ready" line
# beside a `cat` of the local log and wsjtx.log, the bytes read in the 10 s after "ready" (with
# 100 KB appended to the journal before each start) and the close; then the same on one core;
# then to the main window's first paint of the call overview; then the peak memory of a full ADIF export from the command line.
#   bench/run_process_bench.sh [STATION_FOLDER [CONTACTS [JOURNAL_BYTES]]]
#   (default /tmp/vantrel-heavy, 300000 contacts, 2000000000 bytes: the heavy station)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
station=${1:-/tmp/vantrel-heavy}
contacts=${2:-300000}
journal=${3:-2000000000}
build=${VANTREL_BENCH_BUILD:-$root/build}
VANTREL_BUILD_TARGET=vantrel "$root/scripts/build.sh" "$build" >/dev/null
VANTREL_BUILD_TARGET=gen_station "$root/scripts/build.sh" "$build" >/dev/null

if [ ! -f "$station/WSJT-X/wsjtx.log" ]; then
  echo "Generating the station in $station ($contacts contacts, $journal journal bytes) ..."
  "$build/gen_station" --out "$station" --seed 7 --contacts "$contacts" --journal-bytes "$journal"
fi
mkdir -p "$station/viewer"
bench="$root/bench/process_startup.py"
if [ ! -f "$station/viewer/grids.txt" ]; then
  echo "First run (copies WSJT-X's files, builds grids.txt) ..."
  python3 "$bench" "$build/vantrel" "$station" --runs 1 --settle 1
  # The grids file is built in the background: a start that finds none builds it and waits.
  while [ ! -f "$station/viewer/grids.state" ]; do
    python3 "$bench" "$build/vantrel" "$station" --runs 1 --settle 30 >/dev/null
  done
fi
python3 "$bench" "$build/vantrel" "$station" --runs 5 --grow-journal 100000
python3 "$bench" "$build/vantrel" "$station" --runs 5 --grow-journal 100000 --cpu 0
# The window: exec to the first paint of the filled call overview (offscreen platform).
python3 "$bench" "$build/vantrel" "$station" --runs 5 --settle 1 --window
# The full ADIF export from the command line: its peak memory (the files it writes are removed).
(cd "$station/viewer" &&
  LOCALAPPDATA="$station/" VANTREL_SETTINGS="$station/Vantrel.ini" QT_QPA_PLATFORM=offscreen \
    /usr/bin/time -f "export: %e s, peak memory %M KB" "$build/vantrel" --export-adif >/dev/null &&
  rm -f ./*.ADI "ADIF check data.csv")
