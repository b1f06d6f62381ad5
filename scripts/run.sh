#!/usr/bin/env bash
# Installs what is missing, builds Tarn and opens the bundled sample
# hypertext in the editor. Without a display the editor runs under Xvfb and
# a picture of its window is saved instead (tarn-window.png, or the file
# named by TARN_SCREENSHOT).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
tarn="${TARN_BUILD_DIR:-build}/apps/tarn"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$tarn" samples/sample.aeh "$@"
fi
if ! command -v xvfb-run >/dev/null; then
  echo "No display: installing Xvfb to run the editor without one."
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y xvfb xauth
fi
shot="${TARN_SCREENSHOT:-$PWD/tarn-window.png}"
echo "No display: running Tarn under Xvfb; its window is saved as $shot"
TARN_SCREENSHOT="$shot" xvfb-run -a -s "-screen 0 1280x900x24" "$tarn" samples/sample.aeh "$@"
echo "Saved $shot"
