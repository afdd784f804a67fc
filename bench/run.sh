#!/usr/bin/env bash
# Measures d88cut: the cost of one step along a track's record chain, and
# whole runs on an ordinary image (the sample) and on two hostile ones, each
# against `cat IMAGE > /dev/null` on the same file, with the system calls
# each run makes. The hostile images (see bench/make_hostile_image.cpp):
# 64 Program Disks whose file tracks are 4,096-record chains with the wanted
# sectors at their ends (18 MB), and 64 Program Disks whose file tracks all
# lead into one 4-million-record chain whose counts never end a walk (64 MiB).
#
#   bench/run.sh
#
# Needs libbenchmark-dev, hyperfine and strace. A run of d88cut writes its
# files and cat writes nothing, so the file system counts: the whole runs are
# measured in build-bench/run and, where it exists, in tmpfs (/dev/shm).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DD88CUT_BUILD_BENCH=ON \
      -DD88CUT_TEST_WINDOWS=OFF >/dev/null
cmake --build "$build" -j2 >/dev/null
work=$build/run
mkdir -p "$work"
cd "$work"
"$build/tools/make_sample_image" ordinary.d88
"$build/bench/make_hostile_image" long-tracks hostile.d88
"$build/bench/make_hostile_image" shared-chain chain.d88

echo "== readSector at the end of a 4,096-record chain (goal: <= 15 ns per step)"
"$build/bench/read_sector_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

measure() {  # IMAGE RUNS [HYPERFINE OPTIONS...]
  local image=$1 runs=$2
  shift 2
  hyperfine -N --warmup 10 --runs "$runs" --export-json times.json "$@" \
            "cat $image" "$build/d88cut $image" >/dev/null
  python3 - <<'PY'
import json
cat, cut = json.load(open("times.json"))["results"]
print(f"  cat    {cat['mean'] * 1e3:8.3f} ms   median {cat['median'] * 1e3:8.3f} ms")
print(f"  d88cut {cut['mean'] * 1e3:8.3f} ms   median {cut['median'] * 1e3:8.3f} ms")
print(f"  d88cut / cat: {cut['mean'] / cat['mean']:.2f} (means), {cut['median'] / cat['median']:.2f} (medians)")
PY
  strace -f -c -o syscalls.txt "$build/d88cut" "$image" >/dev/null 2>&1
  echo "  system calls of d88cut: $(awk '$NF == "total" { print $(NF-2) }' syscalls.txt)"
}

dirs=("$work")
[ -d /dev/shm ] && [ -w /dev/shm ] && dirs+=("$(mktemp -d /dev/shm/d88cut-bench.XXXXXX)")
for dir in "${dirs[@]}"; do
  cp -n ordinary.d88 hostile.d88 chain.d88 "$dir/" 2>/dev/null || true
  cd "$dir"
  echo
  echo "== in $dir ($(stat -f -c %T .))"
  echo "ordinary image, $(stat -c %s ordinary.d88) bytes (goal: <= 1.0 x cat, <= 100 system calls)"
  measure ordinary.d88 300
  echo "ordinary image, the output files removed before each run"
  measure ordinary.d88 300 --prepare "rm -f DRIVER VOICE MUS100 MUS101 MUS102 MUS103 MUS104 VOICE2 MUS200"
  echo "hostile image, long tracks, $(stat -c %s hostile.d88) bytes (goal: < 1 s, <= 50,000 system calls)"
  measure hostile.d88 20
  echo "hostile image, one shared chain, $(stat -c %s chain.d88) bytes (goal: < 1 s)"
  measure chain.d88 10
done
[ ${#dirs[@]} -gt 1 ] && rm -rf "${dirs[1]}"
