#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz) and fuzzes one target,
# or all of them two at a time, for the given number of seconds each.
#   scripts/fuzz.sh <target|all> <seconds>
#   scripts/fuzz.sh <target>,<target>... <seconds>
#   scripts/fuzz.sh list
# Each target starts from its committed corpus, fuzz/corpus/<target>/; what
# it finds is merged back into that folder, minimised (-merge=1), ready to
# commit; files named seed-* are kept as they are. Crash inputs land in
# build-fuzz/work/<target>/crashes/; replay one
# with build-fuzz/fuzz/fuzz_<target> <file>. The normal build replays the
# committed corpus as the CTest tests fuzz_replay_<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t all < <(sed -n 's/^tarvelo_add_fuzzer(\([a-z0-9]*\).*/\1/p' fuzz/CMakeLists.txt)
if [[ ${1:-} == list ]]; then
  printf '%s\n' "${all[@]}"
  exit 0
fi
if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh <target[,target...]|all> <seconds>   (targets: ${all[*]})" >&2
  exit 2
fi
if [[ $1 == all ]]; then
  targets=("${all[@]}")
else
  IFS=, read -r -a targets <<<"$1"
  for t in "${targets[@]}"; do
    [[ " ${all[*]} " == *" $t "* ]] || { echo "unknown target '$t' (targets: ${all[*]})" >&2; exit 2; }
  done
fi
seconds=$2

scripts/setup.sh clang libclang-rt-14-dev
dir=build-fuzz
cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELO_FUZZ=ON \
  -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCHMARKS=OFF -DTARVELO_BUILD_TOOLS=OFF >/dev/null
cmake --build "$dir" -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen LC_ALL=C

# Longest input per target: enough for every field, small enough to keep
# the committed corpus small.
max_len() {
  case $1 in
    settingsstore) echo 1024 ;;
    prefixplan | prefixsummary) echo 512 ;;
    *) echo 96 ;;
  esac
}

fuzz_one() {
  local t=$1 work=$dir/work/$1 corpus=fuzz/corpus/$1 exe=$dir/fuzz/fuzz_$1
  rm -rf "$work/new" "$work/merged"
  mkdir -p "$work/new" "$work/merged" "$work/crashes" "$corpus"
  local status=0
  "$exe" -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/new" "$corpus" >"$work/fuzz.log" 2>&1 || status=$?
  "$exe" -merge=1 -max_len="$(max_len "$t")" "$work/merged" "$corpus" "$work/new" >"$work/merge.log" 2>&1
  # Hand-written seeds (seed-*) stay whatever their coverage: they pin cases
  # worth replaying on every build.
  find "$corpus" -type f ! -name 'seed-*' -delete
  cp "$work/merged"/* "$corpus"/ 2>/dev/null || true
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -1)
  printf '%-16s %s: runs %s, corpus %s files (%s bytes), %s s\n' "$t" \
    "$([[ $status -eq 0 ]] && echo ok || echo "FAILED (see $work/fuzz.log)")" "${runs:-?}" \
    "$(find "$corpus" -type f | wc -l)" "$(cat "$corpus"/* 2>/dev/null | wc -c)" "$seconds"
  return $status
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for t in "${targets[@]:i:2}"; do
    fuzz_one "$t" &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || failed=1; done
done
exit $failed
