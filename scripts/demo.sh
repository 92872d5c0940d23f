#!/usr/bin/env bash
# Installs what is missing, builds Quillon into build/ and runs it on the demo
# project (examples/demo): reads the demo script statement by statement and
# compiles it with real resource compilers, printing what each step made.
set -euo pipefail
cd "$(dirname "$0")/.."

demo=examples/demo/demo.rc
out=build/demo

step() { printf '\n=== %s\n' "$*"; }

step "Installing what is missing"
bash scripts/install-deps.sh

step "Building into build/"
bash scripts/build.sh

if [ ! -x build/rcdump ]; then
  echo "demo: build/rcdump was not built" >&2
  exit 1
fi
mkdir -p "$out"

step "Reading $demo (build/rcdump: Line, kind, result, error, Name_ID, BeforeStr, SourceText, BehindStr)"
build/rcdump "$demo" | tee "$out/demo.rcdump.txt"

for compiler in windres llvm-rc; do
  step "Compiling $demo with $compiler"
  status=0
  bash scripts/compile-rc.sh -c "$compiler" "$demo" "$out/demo-$compiler.res" || status=$?
  case $status in
    0) echo "$out/demo-$compiler.res:"
       python3 scripts/reslist.py "$out/demo-$compiler.res" ;;
    77) echo "$compiler is not installed: skipped" ;;
    *) echo "demo: $compiler could not compile $demo" >&2
       exit 1 ;;
  esac
done

step "Done: the results are in $out/"
