#!/usr/bin/env bash
# The fuzz targets of tests/fuzz, built with clang, the sanitizers and -O2 in a folder of their own
# (build-campaign, made if missing; the CI's sanitizer build is a Debug one): optimised, the
# sanitizers check the same accesses and conversions, and the whole-scene target runs 3 times faster.
#   scripts/fuzz.sh seeds [TARGET…]       regenerate the seed corpora and minimise them into
#                                         tests/fuzz/corpus/<target>/
#   scripts/fuzz.sh run [RUNS] [TARGET…]  a campaign: RUNS executions per target (default
#                                         1000000), each in its own scratch corpus grown from the
#                                         seeds; prints executions, executions per second and
#                                         any sanitizer report; a crash leaves its input in
#                                         $LUCIVANTA_FUZZ_DIR (default build-fuzz/campaign);
#                                         LUCIVANTA_FUZZ_TIME=SECONDS ends each target sooner.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${LUCIVANTA_FUZZ_BUILD:-$root/build-campaign}"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DLUCIVANTA_WERROR=ON -DLUCIVANTA_SANITIZE=ON -DLUCIVANTA_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${LUCIVANTA_JOBS:-2}" --target lucivanta_fuzzers >/dev/null
targets() { find "$build/tests/fuzz" -maxdepth 1 -name 'fuzz_*' -type f -executable -printf '%f\n' | sed 's/^fuzz_//' | sort; }

case "${1:-}" in
seeds)
  raw="$(mktemp -d)"; trap 'rm -rf "$raw"' EXIT
  python3 "$root/scripts/fuzz_seeds.py" "$raw"
  shift
  for t in ${*:-$(targets)}; do
    out="$root/tests/fuzz/corpus/$t"
    rm -rf "$out.new" && mkdir -p "$out.new"
    "$build/tests/fuzz/fuzz_$t" -merge=1 -detect_leaks=0 "$out.new" "$raw/$t" 2>/dev/null
    rm -rf "$out" && mv "$out.new" "$out"
    echo "$t: $(ls "$out" | wc -l) seeds"
  done
  ;;
run)
  runs="${2:-1000000}"; shift $(( $# > 1 ? 2 : 1 ))
  work="${LUCIVANTA_FUZZ_DIR:-$root/build-fuzz/campaign}"
  # libFuzzer's timeout is of wall-clock time: a campaign under nice on a busy machine starved a
  # whole-scene input of 0.15 s of processor time past 10 s; a real hang still shows at 60.
  printf '%-16s %12s %10s %8s %s\n' target executions exec/s seconds reports
  for t in ${*:-$(targets)}; do
    mkdir -p "$work/$t"
    log="$work/$t.log"
    start=$(date +%s)
    status=0
    (cd "$work" && "$build/tests/fuzz/fuzz_$t" -runs="$runs" -max_total_time="${LUCIVANTA_FUZZ_TIME:-0}" -detect_leaks=0 -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
      "$work/$t" "$root/tests/fuzz/corpus/$t" >"$log" 2>&1) || status=$?
    seconds=$(( $(date +%s) - start ))
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    reports=$(grep -c -E 'ERROR: (AddressSanitizer|libFuzzer)|runtime error:' "$log" || true)
    printf '%-16s %12s %10s %8s %s\n' "$t" "${executions:-?}" "${speed:-?}" "$seconds" "$reports"
    [ "$status" -eq 0 ] || echo "  $t failed (status $status): $log" >&2
  done
  ;;
*)
  sed -n '2,9p' "$0" >&2; exit 2 ;;
esac
