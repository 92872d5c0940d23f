#!/usr/bin/env bash
# Compiles a resource script with a real resource compiler into a 32-bit .res.
#
# usage: compile-rc.sh [-c windres|llvm-rc] SCRIPT.rc OUT.res
# exit status: 0 compiled, 1 the compiler rejected the script, 2 usage,
#              77 the compiler is not installed (the tests' skip code)
#
# With the shared checking tools beside the repository (../shared/tools/rcc.py)
# they run the compiler; otherwise the compiler is called directly. windres runs
# on the script as it is; llvm-rc 14 ignores #pragma code_page, so it is given
# the script's code page (1252 when none is named) with /C.
set -uo pipefail

compiler=windres
while getopts "c:" o; do
  case $o in
    c) compiler=$OPTARG ;;
    *) sed -n '4,5p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -ne 2 ]; then sed -n '4,5p' "$0" >&2; exit 2; fi
script=$(realpath "$1") || exit 1
out=$(realpath -m "$2")
mkdir -p "$(dirname "$out")"

root=$(cd "$(dirname "$0")/.." && pwd)
rcc="$root/../shared/tools/rcc.py"
mingw_inc=/usr/share/mingw-w64/include
preprocessor=x86_64-w64-mingw32-gcc

have() { command -v "$1" >/dev/null 2>&1; }

case $compiler in
  windres)
    have x86_64-w64-mingw32-windres || { echo "compile-rc: windres is not installed" >&2; exit 77; }
    if [ -f "$rcc" ] && have python3; then
      exec python3 "$rcc" -c windres -m strict -o "$out" "$script"
    fi
    cd "$(dirname "$script")" || exit 1
    exec x86_64-w64-mingw32-windres -l 0x409 -I . -I "$mingw_inc" -J rc -O res -i "$script" -o "$out"
    ;;
  llvm-rc)
    llvm_rc=""
    for c in llvm-rc llvm-rc-14; do have "$c" && { llvm_rc=$c; break; }; done
    [ -n "$llvm_rc" ] || { echo "compile-rc: llvm-rc is not installed" >&2; exit 77; }
    if [ -f "$rcc" ] && have python3 && have llvm-rc && have clang; then
      exec python3 "$rcc" -c llvm-rc -m fix -o "$out" "$script"
    fi
    have "$preprocessor" || { echo "compile-rc: $preprocessor (the preprocessor) is not installed" >&2; exit 77; }
    codepage=$(sed -n 's/^[[:space:]]*#[[:space:]]*pragma[[:space:]]\+code_page[[:space:]]*([[:space:]]*\([0-9]\+\)[[:space:]]*).*/\1/p' "$script" | head -n 1)
    tmp=$(mktemp -d) || exit 1
    trap 'rm -rf "$tmp"' EXIT
    cd "$(dirname "$script")" || exit 1
    "$preprocessor" -E -xc -DRC_INVOKED -I . -o "$tmp/pp.rc" "$script" || exit 1
    "$llvm_rc" /no-preprocess /C "${codepage:-1252}" /FO "$out" "$tmp/pp.rc" || exit 1
    ;;
  *)
    echo "compile-rc: unknown compiler '$compiler' (windres or llvm-rc)" >&2
    exit 2
    ;;
esac
