#!/usr/bin/env bash
# Installs what building, running and testing Agenda Mirak needs on Debian (12 or later).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n
          qt6-tools-dev qt6-l10n-tools libgl-dev
          libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation mdbtools-dev
          poppler-utils sqlite3 libpq-dev postgresql-15 libcurl4-openssl-dev libssl-dev python3-pyftpdlib
          python3-openssl openssl chromium)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
