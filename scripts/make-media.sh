#!/usr/bin/env bash
# Builds the installation medium from a build folder: the demonstration
# projects get their databases (qln40 /C, /A and /I on a copy of
# examples/demo), qln40-medium compresses every installation file under its
# medium name, and the setup program qln40-install is put beside them.
#
# usage: make-media.sh [BUILD_DIR [OUTPUT_DIR]]   (defaults: build, BUILD_DIR/medium)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/medium}

for file in qln40 qln40-workbench.so qln40-install qln40-medium qlndb8.mdb; do
  if [ ! -e "$build/$file" ]; then
    echo "make-media: $build/$file is missing; build Quillon first (scripts/build.sh)" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/demo"
cp -r --preserve=timestamps "$root/examples/demo/." "$work/demo/"
rm -f "$work/demo/.gitattributes"

# Runs qln40 in a folder of the demo copy; its messages go to the log, shown on failure.
qln() {
  local folder=$1
  shift
  if ! (cd "$work/demo/$folder" && "$build/qln40" "$@") >>"$work/qln40.log" 2>&1; then
    cat "$work/qln40.log" >&2
    echo "make-media: qln40 $* failed in examples/demo/$folder" >&2
    exit 1
  fi
}

# project database, then one translation per language imported from its script
make_project() {
  local folder=$1 script=$2 database=$3
  shift 3
  qln "$folder" /C "$script"
  while [ $# -gt 0 ]; do
    qln "$folder" /A "$database" "$1" "$2"
    qln "$folder" /I "translations/$2" "$1" "$database"
    shift 2
  done
}

make_project . demo.rc demo_rc.mdb German demo_de.rc French demo_fr.rc
make_project asia asiademo.rc asiademo_rc.mdb Japanese asiademo_ja.rc Korean asiademo_ko.rc \
  "Chinese - PR China" asiademo_zh.rc

rm -rf "$out.new"
"$build/qln40-medium" --build "$build" --source "$root" --demo "$work/demo" "$out.new"
cp "$build/qln40-install" "$out.new/"
rm -rf "$out"
mv "$out.new" "$out"
echo "Installation medium: $out"
