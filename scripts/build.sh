#!/usr/bin/env bash
# Configures and builds into the given folder (default: build). Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}; shift || true
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
