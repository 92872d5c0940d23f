#!/usr/bin/env bash
# The demo project must compile with a real resource compiler, and the compiled
# file must hold every resource the demo defines, with its 1252 texts decoded.
#
# usage: compile_demo.sh [windres|llvm-rc] [OUTDIR]
# exit status: 0 passed, 1 failed, 77 skipped (the compiler is not installed)
set -uo pipefail

compiler=${1:-windres}
outdir=${2:-$(mktemp -d)}
root=$(cd "$(dirname "$0")/../.." && pwd)
demo="$root/examples/demo/demo.rc"
res="$outdir/demo-$compiler.res"

rm -f "$res"
bash "$root/scripts/compile-rc.sh" -c "$compiler" "$demo" "$res"
status=$?
if [ $status -eq 77 ]; then
  echo "SKIPPED: $compiler is not installed"
  exit 77
fi
if [ $status -ne 0 ] || [ ! -s "$res" ]; then
  echo "FAILED: $compiler could not compile $demo"
  exit 1
fi

if ! command -v python3 >/dev/null 2>&1; then
  echo "compiled with $compiler; python3 is missing, so the contents were not checked"
  exit 0
fi

listing=$(python3 "$root/scripts/reslist.py" "$res") || { echo "FAILED: $res is not a valid .res file"; exit 1; }
echo "$listing"

failed=0
# A preprocessor block left open or a misplaced #ifdef drops resources silently.
for type in DIALOG MENU ACCELERATOR STRING VERSION BITMAP ICON GROUP_ICON RCDATA '"TIPS"' '"TEXTFILE"'; do
  if ! grep -q "^$type " <<<"$listing"; then
    echo "FAILED: no $type resource in the compiled demo"
    failed=1
  fi
done
dialogs=$(grep -c '^DIALOG ' <<<"$listing")
if [ "$dialogs" -ne 3 ]; then
  echo "FAILED: $dialogs dialogs compiled, the demo has 3"
  failed=1
fi

# The script is in code page 1252: its non-ASCII texts must arrive as the right
# characters (a script saved in another encoding, or a compiler that ignores the
# code page, garbles or rejects them).
python3 - "$res" <<'EOF' || failed=1
import sys
data = open(sys.argv[1], 'rb').read()
for text in ('\u00c5ngstr\u00f6m', 'Copyright \u00a9 2026', 'Degree Celsius (\u00b0C)'):
    if text.encode('utf-16-le') not in data:
        print('FAILED: the text %r is not in the compiled demo' % text)
        sys.exit(1)
EOF

[ $failed -eq 0 ] && echo "PASSED: $compiler compiled the demo"
exit $failed
