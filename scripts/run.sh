#!/usr/bin/env bash
# Installs what is needed, builds, and starts Quillmere. With no display it starts it under a
# virtual X server instead, says so, and saves a screenshot of the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
# Every option is given, whatever configured build/release before (scripts/test.sh turns the
# tests on in the same folder).
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF \
  -DQM_SANITIZE=OFF -DQUILLMERE_PORTABLE=OFF -DQUILLMERE_WERROR=ON >/dev/null
cmake --build build/release -j "$(nproc)" --target quillmere
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/quillmere
fi
shot="$PWD/build/quillmere-screenshot.png"
echo "No display found: starting Quillmere under a virtual X server (xvfb-run)."
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  build/release/quillmere & pid=$!
  for i in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "Quillmere"; then break; fi
    sleep 0.1
  done
  sleep 1
  import -window root "'"$shot"'"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true'
echo "Screenshot of the window: $shot"
