#!/usr/bin/env bash
# Compiles every source and header of the figures and document layers for arm64 (aarch64), syntax
# only, with the flags the given build uses and the installed Qt headers: an x86-only construct
# (an unguarded intrinsic, an x86 header) fails here. jconfig.h comes from the machine's own
# multiarch folder; nothing of it differs between the two architectures for these files.
# Usage: scripts/aarch64-check.sh [configured build folder, default build/release]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cxx=aarch64-linux-gnu-g++   # Debian package g++-aarch64-linux-gnu
if ! command -v "$cxx" >/dev/null; then
  echo "$cxx is missing (scripts/install-deps.sh test installs g++-aarch64-linux-gnu)" >&2
  exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "no compile_commands.json in $build: configure it first" >&2
  exit 2
fi
jobs=$(nproc)
# One command line per file: the build's own for a source file, that of a source file of the
# same layer for a header, with the compiler, the output and the x86 options taken out. Each
# command ends in the file it checks.
python3 - "$build/compile_commands.json" "$cxx" >"$build/aarch64-commands.txt" <<'PY'
import json, os, shlex, sys, glob

entries, cxx = json.load(open(sys.argv[1])), sys.argv[2]
root = os.getcwd()
flags = {}
for e in entries:
    path = os.path.relpath(os.path.realpath(e["file"]), root)
    words = shlex.split(e["command"])[1:]
    keep, skip = [], False
    for w in words:
        if skip:
            skip = False
        elif w in ("-o", "-c"):
            skip = w == "-o"
        elif w == e["file"] or w.startswith(("-march", "-mtune", "-msse", "-mavx")):
            pass
        else:
            keep.append(w)
    flags[path] = keep
for layer in ("figures", "document"):
    files = sorted(glob.glob(f"src/{layer}/**/*.cpp", recursive=True) + glob.glob(f"src/{layer}/**/*.h", recursive=True))
    sources = [f for f in files if f in flags]
    if not sources:
        sys.exit(f"the build has no command for src/{layer}")
    for f in files:
        base = [cxx, *flags.get(f, flags[sources[0]]), "-fsyntax-only", "-idirafter", "/usr/include/x86_64-linux-gnu"]
        # A header is compiled as the only include of an empty source, as a file including it first.
        print(shlex.join(base + ([f] if f.endswith(".cpp") else ["-include", f, "-x", "c++", "/dev/null"])))
PY
count=$(wc -l <"$build/aarch64-commands.txt")
if ! xargs -P "$jobs" -I{} -d '\n' sh -c '{} || { echo "FAILED for aarch64: $(echo "{}" | grep -o "src/[^ ]*" | tail -n 1)" >&2; exit 1; }' \
     <"$build/aarch64-commands.txt"; then
  echo "aarch64: a file of src/figures or src/document does not compile" >&2
  exit 1
fi
echo "aarch64: all $count files of src/figures and src/document compile"
