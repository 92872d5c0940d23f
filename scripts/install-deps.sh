#!/usr/bin/env bash
# Installs the Debian packages Quillon needs to build, test and run its demo.
# Runs as root (or through sudo); installs only what is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libsqlite3-dev libgtest-dev
  # workbooks: writing .xlsx, reading .xlsx and .xls, and a spreadsheet program for the tests
  libxlsxwriter-dev libminizip-dev zlib1g-dev libexpat1-dev libfreexl-dev libreoffice-calc-nogui
  # real resource compilers (windres, llvm-rc, wrc) to prove written scripts compile
  binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64-win32 mingw-w64-common mingw-w64-x86-64-dev
  llvm-14 clang-14 wine64-tools libwine-dev
  python3
  # measuring dialog texts: FreeType and fontconfig, and free fonts with the
  # metrics of the fonts Windows dialogs name
  libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core fonts-wine
  # the setup program: Qt 6 Widgets, libmspack for compressed installation files, the menu
  # entry validator for its tests, and a virtual X server with ImageMagick for screenshots
  qt6-base-dev qt6-qpa-plugins libmspack-dev desktop-file-utils xvfb xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
