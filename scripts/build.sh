#!/usr/bin/env bash
# Configures and builds into the given folder (default: build). Extra arguments go to cmake;
# VANTREL_BUILD_TARGET names one target to build instead of all. ccache is used when present.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}; shift || true
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)" ${VANTREL_BUILD_TARGET:+--target "$VANTREL_BUILD_TARGET"}
