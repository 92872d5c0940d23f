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

for program in qln40-install qln40 qln40-workbench.so; do
  if [ ! -e "$build/$program" ]; then
    echo "screenshots: $build/$program is missing; build Quillon first (scripts/build.sh)" >&2
    exit 1
  fi
done

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

# The workbench on the demo project (German and French imported), listed in
# the project file list. qln40 saves its main window once it is shown
# (QLN40_SCREENSHOT) and ends.
# A fixed folder, so that the picture shows no random name.
project=/tmp/quillon-screenshot/demo
rm -rf /tmp/quillon-screenshot
mkdir -p /tmp/quillon-screenshot "$work/workbench-config"
trap 'rm -rf "$work" /tmp/quillon-screenshot' EXIT
cp -r "$root/examples/demo" "$project"
qln_demo() { (cd "$project" && env -u DISPLAY -u WAYLAND_DISPLAY "$build/qln40" "$@" >/dev/null); }
qln_demo /C demo.rc
qln_demo /A demo_rc.mdb German demo_de.rc
qln_demo /I translations/demo_de.rc German demo_rc.mdb
qln_demo /A demo_rc.mdb French demo_fr.rc
qln_demo /I translations/demo_fr.rc French demo_rc.mdb
# One picture of the workbench on the demo project under a virtual X server:
# shot FILE SCREEN [COMMAND] (COMMAND: the id of a command to run first, or
# several, id,id,...; shot_dir and shot_script name another project).
shot() {
  (cd "${shot_dir:-$project}" && HOME=/home/alice XDG_CONFIG_HOME="$work/workbench-config" XDG_DATA_HOME="$work/data" \
    XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    QLN40_SCREENSHOT="$out/$1" QLN40_SCREENSHOT_COMMAND="${3:-0}" \
    xvfb-run -a -s "-screen 0 $2" "$build/qln40" "${shot_script:-demo.rc}")
  echo "docs/screenshots/$1"
}
printf '[SETTINGS]\nMainWndXpos=0\nMainWndYpos=0\nMainWndCX=1000\nMainWndCY=700\n' >"$work/workbench-config/qln40.ini"
shot workbench.png 1024x768x24

# The text table with the translation bar: the same project with a few
# German texts left to translate, the first of them selected.
sqlite3 "$project/demo_rc.mdb" "UPDATE ResourceText SET German = NULL WHERE SourceText IN ('Kilometre', 'Mass', 'Temperature')" 2>/dev/null ||
  python3 -c "import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute(\"UPDATE ResourceText SET German = NULL WHERE SourceText IN ('Kilometre', 'Mass', 'Temperature')\"); c.commit()" "$project/demo_rc.mdb"
printf '[SETTINGS]\nMainWndXpos=0\nMainWndYpos=0\nMainWndCX=1180\nMainWndCY=760\n' >"$work/workbench-config/qln40.ini"
shot texttable.png 1280x800x24
# The resource tree in the left pane: the converter dialog opened, its
# "&Swap" button selected, so the table and the translation bar show it.
QLN40_SCREENSHOT_TREE="Menus,Dialogs/IDD_CONVERTER/IDC_SWAP" shot restree.png 1280x800x24
# A property sheet open over the workbench: the German translation's settings
# (Translation > Settings > German, command 302).
shot settings.png 1024x768x24 302
# The dialog preview (View > Dialog Resource, command 32950) of the row the
# table starts on, in German: the converter's "&Swap", left untranslated so
# that the table starts on it (the preview then shows its source text).
python3 -c "import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute(\"UPDATE ResourceText SET German = NULL WHERE SourceText = '&Swap'\"); c.commit()" "$project/demo_rc.mdb"
shot preview.png 1280x800x24 32950
# Translation > Check Translation (command 33100) on the German translation.
shot checks.png 1280x800x24 33100
# The menu view (View > Menu Resource, command 32951) of the row the table
# starts on, in German: "&Options..." left untranslated and "Always on &Top"
# marked changed in the source, so that the tree shows each state's image.
python3 -c "import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.execute(\"UPDATE ResourceText SET German = NULL WHERE SourceText = '&Options...'\"); c.execute(\"UPDATE ResourceText SET German_Modified = 1 WHERE SourceText = 'Always on &Top'\"); c.commit()" "$project/demo_rc.mdb"
shot menuview.png 1280x800x24 32951
# Edit > Find (command 32777) with a few recent search texts and whole words on.
printf '[SETTINGS]\nMainWndXpos=0\nMainWndYpos=0\nMainWndCX=1000\nMainWndCY=700\n[FIND]\nText0=Verlauf\nText1=Einheit\nText2=OK\n[FINDSTRING]\nWholeWord=1\nMatchCase=0\nFindDirectory=2\n' >"$work/workbench-config/qln40.ini"
shot find.png 1024x768x24 32777
# Edit > Bookmark (command 32969) on the row the table starts on.
shot bookmark.png 1024x768x24 32969

# The layout editor on a real script: windirstat's drive selection in the
# German of its translators, its first radio button widened for the German
# text (a German layout row beside the source row), opened (View > Dialog
# Resource, 32950) in edit mode (32999) with that button selected (Next
# Item, 32956). Every other text counts as translated, so that the table
# starts on the dialog's caption. Needs the corpus beside the repository.
corpus="$root/../shared/corpus/windirstat"
if [ -d "$corpus" ]; then
  wds=/tmp/quillon-screenshot/windirstat
  cp -r "$corpus" "$wds" && chmod -R u+w "$wds"
  qln_wds() { (cd "$wds/windirstat" && env -u DISPLAY -u WAYLAND_DISPLAY "$build/qln40" "$@" >/dev/null); }
  qln_wds /C windirstat.rc
  qln_wds /A windirstat_rc.mdb German windirstat_de.rc
  qln_wds /I res/wdsr0407/windirstat.rc German windirstat_rc.mdb
  python3 - "$wds/windirstat/windirstat_rc.mdb" <<'PY'
import sqlite3, sys
c = sqlite3.connect(sys.argv[1])
c.execute("UPDATE ResourceText SET German = SourceText WHERE German IS NULL OR German = ''")
c.execute("""UPDATE ResourceText SET German = NULL WHERE LineIndex IN (
             SELECT DlgCaption.LineIndex FROM DlgCaption JOIN Dialogs ON Dialogs.LineIndex = DlgCaption.DlgLine
             WHERE Dialogs.Name_ID = 'IDD_SELECTDRIVES' AND Dialogs.Lang_Id = 0)""")
c.execute("""INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Class, Type, Flags, x, y, cx, cy,
             x_prev, y_prev, cx_prev, cy_prev, Modified)
             SELECT LineIndex, DlgLine, 1031, Name_ID, Class, Type, Flags, x, y, 130, cy,
             x_prev, y_prev, cx_prev, cy_prev, 0 FROM DialogControl
             WHERE Name_ID = 'IDC_ALLLOCALDRIVES' AND Lang_Id = 0""")
c.commit()
PY
  shot_dir="$wds/windirstat" shot_script=windirstat.rc shot layout-editor.png 1280x800x24 32950,32999,32956
  # Three of windirstat's dialogs in the preview (View > Dialog Resource,
  # 32950), each in the source and in German with one control widened in a
  # German layout row: the table starts on the dialog's first text
  # (QLN40_SCREENSHOT_RESOURCE), on its source column for the source
  # (QLN40_SCREENSHOT_SOURCE).
  python3 - "$wds/windirstat/windirstat_rc.mdb" <<'PY'
import sqlite3, sys
c = sqlite3.connect(sys.argv[1])
# (dialog, control, units moved left, units widened)
for dialog, control, left, wider in (("IDD_DELETE_WARNING", "IDNO", 0, 20),
                                     ("IDD_PAGE_TREEMAP", "IDC_TREEMAPGRID", 6, 12),
                                     ("IDD_PAGE_GENERAL", "IDC_FULLROWSELECTION", 2, 10)):
    c.execute("""INSERT INTO DialogControl (LineIndex, DlgLine, Lang_Id, Name_ID, Class, Type, Flags, x, y, cx, cy,
                 x_prev, y_prev, cx_prev, cy_prev, Modified)
                 SELECT c.LineIndex, c.DlgLine, 1031, c.Name_ID, c.Class, c.Type, c.Flags, c.x - ?, c.y, c.cx + ?, c.cy,
                 c.x_prev, c.y_prev, c.cx_prev, c.cy_prev, 0 FROM DialogControl c
                 JOIN Dialogs d ON d.LineIndex = c.DlgLine AND d.Lang_Id = 0
                 WHERE d.Name_ID = ? AND c.Name_ID = ? AND c.Lang_Id = 0""", (left, wider, dialog, control))
c.commit()
PY
  for pair in deletewarning:IDD_DELETE_WARNING treemap:IDD_PAGE_TREEMAP general:IDD_PAGE_GENERAL; do
    QLN40_SCREENSHOT_RESOURCE=${pair#*:} QLN40_SCREENSHOT_SOURCE=1 shot_dir="$wds/windirstat" shot_script=windirstat.rc \
      shot "preview-${pair%%:*}-source.png" 1280x800x24 32950
    QLN40_SCREENSHOT_RESOURCE=${pair#*:} shot_dir="$wds/windirstat" shot_script=windirstat.rc \
      shot "preview-${pair%%:*}-de.png" 1280x800x24 32950
  done
else
  echo "screenshots: $corpus is absent; layout-editor.png not drawn" >&2
fi
