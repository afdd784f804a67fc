#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time
# on inputs of bounded size, starting from the seeds and the stored inputs
# that once failed. Any crash, sanitizer report, leak, broken invariant or
# input that takes over 10 s fails the run, and the input is kept.
#
#   fuzz/run.sh [SECONDS_PER_FUZZER]      (default 60)
#
# Needs clang and libclang-rt-14-dev. A failing input goes into
# fuzz/regressions/<harness>/, where the test suite replays it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
build=$root/build-fuzz
work=$build/work
rm -rf "$work/artifacts" "$work/seeds"
mkdir -p "$work/artifacts"
"$build/fuzz/make_fuzz_seeds" "$work/seeds"

for harness in reader command; do
  corpus=$work/corpus-$harness
  mkdir -p "$corpus"
  log=$work/$harness.log
  echo "== $harness fuzzer, ${seconds} s"
  if ! "$build/fuzz/${harness}_fuzzer" "$corpus" "$work/seeds" "$root/fuzz/regressions/$harness" \
        -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$work/artifacts/$harness-" \
        >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "the $harness fuzzer failed; its input is in $work/artifacts:" >&2
    ls -l "$work/artifacts" >&2
    echo "copy it into fuzz/regressions/$harness/ once mended" >&2
    exit 1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log"
  echo "corpus: $(ls "$corpus" | wc -l) inputs"
done
