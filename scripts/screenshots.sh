#!/usr/bin/env bash
# Draws the program's windows into docs/screenshots/ under a virtual X server
# (xvfb-run), each in a fresh home folder of a user "alice" so that the
# pictures show no paths of this machine.
#
# usage: screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out="$root/docs/screenshots"
mkdir -p "$out"

if [ ! -x "$build/qln40-install" ]; then
  echo "screenshots: $build/qln40-install is missing; build Quillon first (scripts/build.sh)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The setup program reads HOME only to propose ~/qln40; nothing is written there.
shoot() {
  local view=$1 file=$2
  HOME=/home/alice XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/qln40-install" --screenshot "$view" "$out/$file"
  echo "docs/screenshots/$file"
}

mkdir -m 700 "$work/runtime"
shoot setup setup.png
shoot medium setup-medium.png
