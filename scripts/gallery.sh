#!/usr/bin/env bash
# Draws the gallery sheets of the four palettes into docs/ with the program's own figure routines.
# Run it after changing a figure, look at every changed figure, and commit the sheets with it.
#   scripts/gallery.sh [build folder]     (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target quillmere_gallery
mkdir -p docs
for p in 0 1 2 3; do
  QT_QPA_PLATFORM=offscreen "$build/quillmere_gallery" "docs/gallery-palette-$p.png" --palette "$p"
  echo "docs/gallery-palette-$p.png"
done
