#!/usr/bin/env bash
# Installs what is missing, builds Quillon into build/ and runs its batch
# commands on a copy of the demo project (examples/demo) in build/demo: create
# the project database, add German and French, import the translators' scripts
# (translations/, the German one still lacks a few strings), write both
# translated scripts, ask whether the translations are complete and the
# database up to date, then compile the written scripts with real resource
# compilers. When a display is present (DISPLAY or WAYLAND_DISPLAY), it then
# opens the workbench on the demo project; without one it ends there.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/demo

step() { printf '\n=== %s\n' "$*"; }

step "Installing what is missing"
bash scripts/install-deps.sh

step "Building into build/"
bash scripts/build.sh

if [ ! -x build/qln40 ]; then
  echo "demo: build/qln40 was not built" >&2
  exit 1
fi
rm -rf "$out"
mkdir -p "$out"
cp -r examples/demo/. "$out/"

# Every command runs in the demo folder, as a build script would.
qln() { (cd "$out" && ../qln40 "$@"); }

step "qln40 /C demo.rc  (create the project database)"
qln /C demo.rc

step "qln40 /A ...  (add two translations)"
qln /A demo_rc.mdb German demo_de.rc
qln /A demo_rc.mdb French demo_fr.rc

step "qln40 /I ...  (import the translated scripts of translations/)"
qln /I translations/demo_de.rc German demo_rc.mdb /LOG import_de.log
cat "$out/import_de.log"
qln /I translations/demo_fr.rc French demo_rc.mdb

step "qln40 /RC ...  (write the translated scripts)"
qln /RC demo_rc.mdb German demo_de.rc
qln /RC demo_rc.mdb French demo_fr.rc /LOG write_fr.log
cat "$out/write_fr.log"
echo "--- a few lines of $out/demo_de.rc (IDS_COPIED is not translated yet):"
iconv -f CP1252 -t UTF-8 "$out/demo_de.rc" | tr -d '\r' |
  grep -E 'POPUP "&Datei"|IDS_CONFIRM_CLEAR|IDS_CAT_LENGTH|IDS_COPIED'

step "qln40 /T and /D  (exit code 0: yes, 1: no; German lacks a few texts)"
for language in German French; do
  answer=0
  qln /T demo_rc.mdb "$language" || answer=$?
  echo "exit code $answer"
done
answer=0
qln /D demo_rc.mdb || answer=$?
echo "exit code $answer"

for script in demo_de.rc demo_fr.rc; do
  for compiler in windres llvm-rc; do
    step "Compiling $out/$script with $compiler"
    status=0
    res="$out/${script%.rc}-$compiler.res"
    bash scripts/compile-rc.sh -c "$compiler" "$out/$script" "$res" || status=$?
    case $status in
      0) python3 scripts/reslist.py "$res" | tail -n 1 ;;
      77) echo "$compiler is not installed: skipped" ;;
      *) echo "demo: $compiler could not compile $out/$script" >&2
         exit 1 ;;
    esac
  done
done

step "Done: the project and the translated scripts are in $out/"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  step "Opening the workbench on $out/demo.rc (close its window to end)"
  qln demo.rc
else
  echo "No display (DISPLAY and WAYLAND_DISPLAY are not set): the workbench is not opened."
  echo "On a desktop, open it with:  (cd $out && ../qln40 demo.rc)"
fi
