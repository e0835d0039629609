#!/usr/bin/env bash
# Builds the readers' fuzzers (bitmap, JPEG, PNG, and the formats Qt's plugins decode: WebP, TIFF), the companion
# chunk's and the recovery copy's with clang-14 (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for about a minute
# from its seed corpus (fuzz/corpus/<name>, one folder a fuzzer), copied to a
# temporary folder so that the repository is left as it is. Fails on any crash, leak, sanitizer
# report, or allocation over the limit.
# Usage: scripts/fuzz.sh [seconds per fuzzer, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j "$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for name in $(ls fuzz/corpus); do
  mkdir -p "$work/$name"
  cp fuzz/corpus/"$name"/* "$work/$name"/ 2>/dev/null || true
  echo "== ${name}_fuzzer: ${seconds} s =="
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
       UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
       LSAN_OPTIONS=suppressions="$PWD/tests/support/lsan.supp" \
       "$build/${name}_fuzzer" "$work/$name" -max_total_time="$seconds" -rss_limit_mb=2048 \
         -malloc_limit_mb=1024 -artifact_prefix="$work/" -print_final_stats=1 \
         >"$work/$name.log" 2>&1; then
    status=1
    echo "${name}_fuzzer FAILED:"
    tail -n 60 "$work/$name.log"
    for a in "$work"/crash-* "$work"/leak-* "$work"/oom-* "$work"/timeout-* "$work"/slow-unit-*; do
      [ -e "$a" ] && { mkdir -p "$build/artifacts"; cp "$a" "$build/artifacts/"; echo "kept $build/artifacts/$(basename "$a")"; }
    done
  else
    grep -E "^(stat::number_of_executed_units|Done)" "$work/$name.log" || tail -n 3 "$work/$name.log"
  fi
done
exit $status
