#!/usr/bin/env bash
# Installs what is missing, builds Tarn and shows the bundled sample hypertext.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
"${TARN_BUILD_DIR:-build}/apps/tarn-cli" info samples/sample.aeh "$@"
