#!/usr/bin/env bash
# Configures and builds into the given folder (default: build). Extra arguments go to cmake;
# VANTREL_BUILD_TARGET names the targets to build instead of all (separated by blanks).
# ccache is used when present (told to accept the precompiled headers).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}; shift || true
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
fi
cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
read -r -a targets <<<"${VANTREL_BUILD_TARGET:-}"
cmake --build "$dir" --parallel "$(nproc)" ${targets[0]:+--target "${targets[@]}"}
