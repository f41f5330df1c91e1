#!/usr/bin/env bash
# Builds Release and runs every benchmark, printing one table:
# start-up to the first frame and idle memory (under Xvfb, median of RUNS
# starts, beside a bare Qt window), then the QBENCHMARK figures.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${RUNS:-21}
if [[ ${1:-} != --on-display ]]; then
  scripts/setup.sh xvfb xauth
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVELO_BUILD_TESTS=OFF > /dev/null
  cmake --build build-bench -j"$(nproc)" > /dev/null
  # The rest runs again on a private X server.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display
fi

median() { sort -n | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'; }

startup_runs() {  # program -> lines "ms kb"
  local program=$1 i
  for ((i = 0; i < RUNS; i++)); do
    local launch
    launch=$(( ${EPOCHREALTIME/./} ))
    XDG_CONFIG_HOME=$(mktemp -d) "$program" "$launch" | sed -n 's/^startup_ms=\([0-9.]*\) rss_kb=\([0-9]*\)$/\1 \2/p'
  done
}

# Alternate the two programs so that both see the same machine load.
bare="" app=""
for ((run = 0; run < RUNS; run++)); do
  bare+=$(RUNS=1 startup_runs build-bench/benchmarks/bare_window)$'\n'
  app+=$(RUNS=1 startup_runs build-bench/benchmarks/bench_startup)$'\n'
done
bare=$(printf '%s' "$bare" | grep .)
app=$(printf '%s' "$app" | grep .)

bare_ms=$(printf '%s\n' "$bare" | awk '{print $1}' | median)
bare_kb=$(printf '%s\n' "$bare" | awk '{print $2}' | median)
app_ms=$(printf '%s\n' "$app" | awk '{print $1}' | median)
app_kb=$(printf '%s\n' "$app" | awk '{print $2}' | median)

echo
echo "Machine: $(nproc) cores, $(awk '/model name/ {sub(/.*: /, ""); print; exit}' /proc/cpuinfo), $(uname -sr)"
echo
printf '| %-52s | %12s |\n' "benchmark" "result"
printf '|%s|%s|\n' "------------------------------------------------------" "--------------"
printf '| %-52s | %9s ms |\n' "start-up to first frame, bare Qt window (median of $RUNS)" "$bare_ms"
printf '| %-52s | %9s ms |\n' "start-up to first frame, Tarvelo Calculator" "$app_ms"
printf '| %-52s | %12s |\n' "  ratio (goal <= 1.2)" "$(awk -v a="$app_ms" -v b="$bare_ms" 'BEGIN {printf "%.2f", a / b}')"
printf '| %-52s | %9s MB |\n' "resident set, bare Qt window" "$(awk -v k="$bare_kb" 'BEGIN {printf "%.1f", k / 1024}')"
printf '| %-52s | %9s MB |\n' "resident set, all four calculators visited" "$(awk -v k="$app_kb" 'BEGIN {printf "%.1f", k / 1024}')"
printf '| %-52s | %12s |\n' "  ratio (goal <= 1.3)" "$(awk -v a="$app_kb" -v b="$bare_kb" 'BEGIN {printf "%.2f", a / b}')"

# QBENCHMARK executables: median of several runs each.
for bench in build-bench/benchmarks/bench_*; do
  name=$(basename "$bench")
  [[ -f $bench && -x $bench && $name != bench_startup ]] || continue
  QT_QPA_PLATFORM=offscreen "$bench" -median 5 2>/dev/null | awk -v n="$name" '
    /^RESULT :/ { fn = $0; sub(/^RESULT : /, "", fn); sub(/:$/, "", fn) }
    /msecs per iteration/ { sub(/^[^:]*::/, "", fn); sub(/\(\)$/, "", fn); sub(/\(\):/, " ", fn)
                            printf "| %-52s | %9.4f ms |\n", n ": " fn, $1 }
    /^QINFO/ && /bytes/ { sub(/^QINFO *: */, ""); printf "| %-67s |\n", $0 }'
done
