#!/usr/bin/env bash
# 500 contacts a second for 60 seconds into Vantrel running on the heavy station (300,000
# contacts, "AutoShow" on), once without a window and once with its window on the offscreen
# platform; then counts the contacts in the local log: every one must be there, each once.
#   bench/run_burst_bench.sh [HEAVY_STATION] [RATE] [SECONDS]   (default /tmp/vantrel-heavy-ro)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
heavy=${1:-/tmp/vantrel-heavy-ro}
rate=${2:-500}
seconds=${3:-60}
VANTREL_BUILD_TARGET=vantrel "$root/scripts/build.sh" build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
program="$root/build-release/vantrel"
[ -f "$heavy/WSJT-X/wsjtx.log" ] || "$root/build-release/gen_station" --out "$heavy" --seed 7 --contacts 300000 --journal-bytes 2000000000

work=$(mktemp -d /tmp/vantrel-burst-XXXXXX)
trap 'rm -rf "$work"' EXIT
port=$((40000 + RANDOM % 20000))
mkdir -p "$work/WSJT-X"
cp "$heavy/WSJT-X/wsjtx.log" "$work/WSJT-X/"
head -c 1000000 "$heavy/WSJT-X/ALL.TXT" > "$work/WSJT-X/ALL.TXT"
printf '[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\nN1MMServerPort=%d\n' "$port" \
  > "$work/WSJT-X/WSJT-X.ini"

count_lines() { wc -l < "$1/Viewer_local_log.csv"; }

for mode in headless window; do
  viewer="$work/viewer-$mode"
  mkdir -p "$viewer"
  args=(/NVC)
  [ "$mode" = headless ] && args+=(/HEADLESS)
  export LOCALAPPDATA="$work" VANTREL_SETTINGS="$work/$mode.ini" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen VANTREL_NO_MODAL=1
  # A first run makes the local log of 300,000 contacts; the measured run is the second.
  (cd "$viewer" && exec timeout 120 "$program" "${args[@]}" >/dev/null 2>&1) &
  pid=$!
  sleep 8
  kill -TERM $pid
  wait $pid || true
  before=$(count_lines "$viewer")
  (cd "$viewer" && exec "$program" "${args[@]}" >"$work/$mode.out" 2>&1) &
  pid=$!
  sleep 6  # start-up, and two ticks so that "AutoShow" searches
  python3 "$root/bench/burst_sender.py" "$port" "$rate" "$seconds"
  want=$((before + ${rate%.*} * ${seconds%.*}))
  for _ in $(seq 1 120); do [ "$(count_lines "$viewer")" -ge "$want" ] && break; sleep 0.5; done
  if ! kill -0 $pid 2>/dev/null; then
    echo "$mode: the program ended before the burst was over:" >&2
    tail -20 "$work/$mode.out" >&2
  fi
  peak=$(grep -h VmHWM /proc/$pid/status 2>/dev/null | tr -s ' \t' ' ' || echo "VmHWM n/a")
  kill -TERM $pid 2>/dev/null; wait $pid || true
  after=$(count_lines "$viewer")
  duplicates=$(cut -d, -f5 "$viewer/Viewer_local_log.csv" | grep '^B[0-9]*XY$' | sort | uniq -d | wc -l)
  echo "$mode: $((after - before)) of $((want - before)) contacts logged, $duplicates logged twice; peak memory ($peak)"
done
