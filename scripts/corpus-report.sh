#!/usr/bin/env bash
# Corpus report: builds, writes and compiles every script of the shared corpus
# with qln40 and a real resource compiler, and checks windirstat's translated
# scripts imported and written again against the real ones.
#
# usage: scripts/corpus-report.sh BUILD_DIR OUT_DIR [corpus_report.py options]
#   BUILD_DIR  the build folder holding qln40 (and its database template)
#   OUT_DIR    gets summary.txt, corpus.tsv, windirstat.tsv, details/ and work/
#              (these are replaced on every run; other files are left alone)
# The corpus is ../shared/corpus beside the repository (CORPUS=... to change),
# its tools ../shared/tools beside the corpus. Runs 2 compiles at a time.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)

if [ $# -lt 2 ]; then
  sed -n '2,11p' "$0"
  exit 2
fi
build=$(cd "$1" && pwd)
out=$2
shift 2
corpus=${CORPUS:-$repo/../shared/corpus}
tools=$corpus/../tools

[ -x "$build/qln40" ] || { echo "corpus-report: $build/qln40 is missing: build the qln40 target first" >&2; exit 2; }
[ -d "$corpus" ] || { echo "corpus-report: the corpus folder $corpus is missing" >&2; exit 2; }
[ -x "$tools/rc2dump.sh" ] || { echo "corpus-report: $tools/rc2dump.sh is missing" >&2; exit 2; }
command -v x86_64-w64-mingw32-windres >/dev/null ||
  { echo "corpus-report: windres is missing: run scripts/install-deps.sh" >&2; exit 2; }

revision=$(git -C "$repo" describe --always --dirty 2>/dev/null || echo unknown)
mkdir -p "$out"
exec python3 "$here/corpus_report.py" "$build/qln40" "$(cd "$corpus" && pwd)" "$(cd "$tools" && pwd)" "$out" \
  --revision "$revision" "$@"
