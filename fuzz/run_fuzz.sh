#!/bin/sh
# Runs the parser fuzz target over a seed corpus made from the demo project and
# the golden test inputs. Crash reproducers go to $ARTIFACTS (default /tmp/).
#
#   fuzz/run_fuzz.sh BUILD_FOLDER [SECONDS] [extra libFuzzer options...]
set -eu
build=${1:?usage: run_fuzz.sh BUILD_FOLDER [SECONDS]}
seconds=${2:-120}
[ $# -ge 2 ] && shift 2 || shift $#
src=$(cd "$(dirname "$0")/.." && pwd)
seeds="$build/fuzz-seeds"
work="$build/fuzz-corpus"
mkdir -p "$seeds" "$work"
cp "$src/examples/demo/demo.rc" "$seeds/demo.rc"
n=0
find "$src/tests/rcscript/data" -type f -iname '*.rc*' | while read -r f; do
    n=$((n + 1))
    head -c 4096 "$f" > "$seeds/golden-$n.rc"
done
exec "$build/rcparser_fuzz" -max_len=4096 -timeout=5 -max_total_time="$seconds" \
    -artifact_prefix="${ARTIFACTS:-/tmp/}" "$@" "$work" "$seeds"
