#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz) and runs each on a copy of its seed inputs
# in fuzz/corpus/<target> for FUZZ_SECONDS seconds (default 30), FUZZ_JOBS at a time (default 2).
# Names of targets as arguments run only those. A failure leaves its input in build-fuzz/artifacts.
# VANTREL_CMAKE_ARGS adds cmake arguments (CI: -DVANTREL_WERROR=ON).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-30}
jobs=${FUZZ_JOBS:-2}
read -r -a extra <<<"${VANTREL_CMAKE_ARGS:-}"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(adif_fuzz cty_fuzz ini_fuzz wsjtx_log_fuzz wsjtx_protocol_fuzz journal_line_fuzz)
# The longest input each target is given (the readers' real files are larger; these keep a run quick).
declare -A max_len=([adif_fuzz]=65536 [cty_fuzz]=8192 [ini_fuzz]=32768 [wsjtx_log_fuzz]=32768
  [wsjtx_protocol_fuzz]=65536 [journal_line_fuzz]=8192)

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVANTREL_FUZZ=ON \
  "${launcher[@]}" "${extra[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"

mkdir -p "$dir/artifacts" "$dir/logs"
run() {
  local target=$1 work="$dir/corpus/$1"
  rm -rf "$work" && mkdir -p "$work" && cp "$root/fuzz/corpus/$target"/* "$work/"
  if "$dir/$target" -max_total_time="$seconds" -max_len="${max_len[$target]}" -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" "$work" >"$dir/logs/$target.log" 2>&1; then
    echo "$target: $(grep -E '^stat::number_of_executed_units' "$dir/logs/$target.log" | awk '{print $2}') inputs" \
      "in ${seconds} s, $(grep -oE 'cov: [0-9]+' "$dir/logs/$target.log" | tail -1), clean"
  else
    tail -n 40 "$dir/logs/$target.log"
    echo "$target: FAILED (log: $dir/logs/$target.log)"
    return 1
  fi
}
failed=0 running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then wait -n || failed=1; running=$((running - 1)); fi
  run "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do wait -n || failed=1; running=$((running - 1)); done
exit $failed
