#!/usr/bin/env bash
# Installs what building and testing Tarn needs on Debian 12, if missing.
# `scripts/deps.sh bench` also installs what the benchmarks compare with.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config python3
          libgif-dev libjpeg62-turbo-dev libpng-dev libssl-dev
          libgtest-dev libbenchmark-dev
          qt6-base-dev libgl-dev fonts-liberation2 fonts-wine
          libwmf-dev libemf2svg-dev qt6-svg-dev
          strace poppler-utils tidy chromium python3-pyftpdlib
          libreoffice-writer-nogui
          libhunspell-dev hunspell-en-us hunspell-it)
if [ "${1:-}" = bench ]; then
  packages+=(pandoc time)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y "${missing[@]}"
fi
