#!/usr/bin/env bash
# tools/fuzz.sh [SECONDS] [CORPUS_DIR]: builds the fuzz targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), two at a time, from the
# seeds in fuzz/corpus/<target>/ and what earlier runs kept. New inputs go to
# CORPUS_DIR/<target>/ (default $KORVEL_FUZZ_CORPUS or /tmp/korvel-fuzz-corpus), outside the
# repository, and inputs that fail to CORPUS_DIR/findings/. Prints executions, coverage and
# findings per target; exits non-zero when a target found something.
# KORVEL_FUZZ_TARGETS="a b" runs only those targets; KORVEL_FUZZ_JOBS sets how many run at once.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
corpus=${2:-${KORVEL_FUZZ_CORPUS:-/tmp/korvel-fuzz-corpus}}
jobs=${KORVEL_FUZZ_JOBS:-2}
build=build-fuzz

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DKORVEL_FUZZ=ON -DKORVEL_SANITIZE=address \
  -DKORVEL_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target korvel_fuzzers

corpus=$(mkdir -p "$corpus" && cd "$corpus" && pwd)
findings=$corpus/findings
logs=$corpus/logs
mkdir -p "$findings" "$logs"

targets=${KORVEL_FUZZ_TARGETS:-$(cd "$build/bin" && ls fuzz_* | sed 's/^fuzz_//')}

# Runs one target; its log and exit status go to the logs folder.
run() {
  local name=$1 args=()
  mkdir -p "$corpus/$name"
  # A target's dictionary, or the one it shares with its kind in the other binding.
  if [ -f "fuzz/$name.dict" ]; then
    args+=("-dict=fuzz/$name.dict")
  elif [ -f "fuzz/${name#*_}.dict" ]; then
    args+=("-dict=fuzz/${name#*_}.dict")
  fi
  [ -d "fuzz/corpus/$name" ] && args+=("fuzz/corpus/$name")
  local status=0
  # One process per corpus: nothing else adds to it, so it need not be reread (-reload=0).
  "$build/bin/fuzz_$name" -max_total_time="$seconds" -reload=0 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" "$corpus/$name" "${args[@]}" >"$logs/$name.log" 2>&1 || status=$?
  echo "$status" >"$logs/$name.status"
}

running=0
for name in $targets; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  run "$name" &
  running=$((running + 1))
done
wait

# One line per target from libFuzzer's final status line and statistics.
failed=0
printf '%-20s %12s %9s %8s %8s %6s  %s\n' target executions exec/s cov ft new result
for name in $targets; do
  log=$logs/$name.log
  status=$(cat "$logs/$name.status")
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  new=$(sed -n 's/^stat::new_units_added: *//p' "$log" | tail -n 1)
  result=ok
  if [ "$status" != 0 ]; then
    result="FINDING (exit $status): $(grep -m 1 -E 'ERROR:|fuzz failure|SUMMARY' "$log" || echo "see $log")"
    failed=1
  fi
  printf '%-20s %12s %9s %8s %8s %6s  %s\n' "$name" "${runs:--}" "${rate:--}" "${cov:--}" "${ft:--}" "${new:--}" "$result"
done
echo "corpus: $corpus   logs: $logs   findings: $findings"
exit "$failed"
