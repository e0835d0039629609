#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test headless: the normal build, the figures'
# tests again with the plain pixel loops (QUILLMERE_PORTABLE) and an arm64 compile of the figures
# and document layers, the same tests under AddressSanitizer + UndefinedBehaviorSanitizer, the
# fuzzers for a bounded time and the end-to-end checks on a virtual X server. Warnings are errors
# here (QUILLMERE_WERROR).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
export QT_QPA_PLATFORM=offscreen
# The programs run here keep their recovery copies in a folder of this run's own: a copy left by
# one test is never offered in another, nor to the user.
XDG_STATE_HOME=$(mktemp -d)
export XDG_STATE_HOME
trap 'rm -rf "$XDG_STATE_HOME"' EXIT
jobs=$(nproc)

echo "== Build and test (release) =="
# Every option is given, whatever configured these folders before (scripts/run.sh builds
# build/release without the tests).
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_TESTS=ON -DQM_BUILD_BENCH=ON \
  -DQM_SANITIZE=OFF -DQUILLMERE_PORTABLE=OFF -DQUILLMERE_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure

echo "== The plain pixel loops (QUILLMERE_PORTABLE=ON): the figures' and companion's tests, the same pictures =="
cmake -S . -B build/portable -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_TESTS=ON -DQM_BUILD_BENCH=OFF \
  -DQM_SANITIZE=OFF -DQUILLMERE_PORTABLE=ON -DQUILLMERE_WERROR=ON >/dev/null
cmake --build build/portable -j "$jobs" --target figures_tests
QM_LANE_DIGESTS_WRITE=build/portable/vector-digests.txt build/release/figures_tests --gtest_filter='PixelLanes.*'
QM_LANE_DIGESTS_COMPARE=build/portable/vector-digests.txt build/portable/figures_tests

echo "== The figures and document layers compile for arm64 =="
scripts/aarch64-check.sh build/release

echo "== Clipboard with other programs, on a real X server =="
xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
  build/release/editing_tests --gtest_filter='XClipboard*'

echo "== Build and test (AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_BUILD_TESTS=ON -DQM_BUILD_BENCH=OFF -DQM_SANITIZE=ON \
  -DQUILLMERE_PORTABLE=OFF -DQUILLMERE_WERROR=ON >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure

for extra in scripts/fuzz.sh scripts/e2e.sh; do
  if [ -x "$extra" ]; then
    echo "== $extra =="
    "$extra"
  fi
done
echo "All tests passed."
