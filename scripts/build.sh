#!/usr/bin/env bash
# Configures and builds Tarn into build/ (or $TARN_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TARN_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${TARN_BUILD_TYPE:-RelWithDebInfo} -DTARN_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
