#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# The benchmarks run the sqlite3 shell for the floor of each list; the backups
# use the SQLite library directly.
# Only missing packages are installed; the package lists are refreshed only then.
set -euo pipefail

PACKAGES=(
  cmake g++ make
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libgl-dev
  wkhtmltopdf fonts-liberation fonts-noto-color-emoji
  poppler-utils xvfb xauth imagemagick
  sqlite3 libsqlite3-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
